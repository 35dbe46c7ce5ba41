#pragma once
// The interface through which the grid and other clients read and write one workbook. Rows,
// columns, sheets and palette indices are 1-based; format (XF) indices are 0-based, -1 for a cell
// that does not exist. Every operation here raises EAbstractError: TXLSFile supplies them.
#include "framework/rtl/Classes.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <QString>
#include <cstdint>

class TStream;

TARVIX_DECLARE_EXCEPTION(EAbstractError, Exception)

// A method that a derived class was meant to supply was called.
[[noreturn]] inline void AbstractError() { throw EAbstractError(QStringLiteral("Abstract Error")); }

class TExcelFile : public TObject
{
public:
    TExcelFile() = default;
    ~TExcelFile() override = default;

    // Cells, comments, pictures and named ranges.
    virtual Variant GetCellValue(int32_t aRow, int32_t aCol) { AbstractError(); }
    virtual void SetCellValue(int32_t aRow, int32_t aCol, const Variant &Value) { AbstractError(); }
    virtual TXlsCellValue GetCellValueX(int32_t aRow, int32_t aCol) { AbstractError(); }
    virtual void SetCellValueX(int32_t aRow, int32_t aCol, const TXlsCellValue &Value) { AbstractError(); }
    virtual QString GetCellFormula(int32_t aRow, int32_t aCol) { AbstractError(); }
    virtual void SetCellFormula(int32_t aRow, int32_t aCol, const QString &Value) { AbstractError(); }
    virtual int32_t GetCommentsCount(int32_t Row) { AbstractError(); }
    virtual QString GetCommentText(int32_t Row, int32_t aPos) { AbstractError(); }
    virtual int32_t GetCommentColumn(int32_t Row, int32_t aPos) { AbstractError(); }
    virtual QString GetPictureName(int32_t Row, int32_t aPos) { AbstractError(); }
    virtual int32_t GetPicturesCount(int32_t Row) { AbstractError(); }
    virtual int32_t GetExcelNameCount() { AbstractError(); }
    virtual QString GetRangeName(int32_t index) { AbstractError(); }
    virtual int32_t GetRangeR1(int32_t index) { AbstractError(); }
    virtual int32_t GetRangeR2(int32_t index) { AbstractError(); }
    virtual int32_t GetRangeC1(int32_t index) { AbstractError(); }
    virtual int32_t GetRangeC2(int32_t index) { AbstractError(); }
    virtual void SetRangeR1(int32_t index, int32_t value) { AbstractError(); }
    virtual void SetRangeR2(int32_t index, int32_t value) { AbstractError(); }
    virtual void SetRangeC1(int32_t index, int32_t value) { AbstractError(); }
    virtual void SetRangeC2(int32_t index, int32_t value) { AbstractError(); }
    virtual int32_t GetRangeSheet(int32_t index) { AbstractError(); }

    // Active sheet and sizes.
    virtual int32_t ActiveSheet() { AbstractError(); }
    virtual void SetActiveSheet(int32_t Value) { AbstractError(); }
    virtual QString ActiveSheetName() { AbstractError(); }
    virtual void SetActiveSheetName(const QString &Value) { AbstractError(); }
    virtual QString ActiveSheetCodeName() { AbstractError(); }
    virtual void SetActiveSheetCodeName(const QString &Value) { AbstractError(); }
    virtual TXlsSheetVisible ActiveSheetVisible() { AbstractError(); }
    virtual void SetActiveSheetVisible(TXlsSheetVisible Value) { AbstractError(); }
    virtual int32_t GetColumnWidth(int32_t aCol) { AbstractError(); }
    virtual int32_t GetColumnWidthHiddenIsZero(int32_t aCol) { AbstractError(); }
    virtual int32_t GetRowHeight(int32_t aRow) { AbstractError(); }
    virtual int32_t GetRowHeightHiddenIsZero(int32_t aRow) { AbstractError(); }
    virtual void SetColumnWidth(int32_t aCol, int32_t Value) { AbstractError(); }
    virtual void SetRowHeight(int32_t aRow, int32_t Value) { AbstractError(); }
    virtual bool GetRowHidden(int32_t aRow) { AbstractError(); }
    virtual bool GetColumnHidden(int32_t aCol) { AbstractError(); }
    virtual void SetRowHidden(int32_t aRow, bool Value) { AbstractError(); }
    virtual void SetColumnHidden(int32_t aCol, bool Value) { AbstractError(); }
    virtual int32_t DefaultColWidth() { AbstractError(); }
    virtual int32_t DefaultRowHeight() { AbstractError(); }
    virtual bool GetAutoRowHeight(int32_t Row) { AbstractError(); }
    virtual void SetAutoRowHeight(int32_t Row, bool Value) { AbstractError(); }

    // Formats, palette and fonts.
    virtual int32_t GetColumnFormat(int32_t aColumn) { AbstractError(); }
    virtual int32_t GetRowFormat(int32_t aRow) { AbstractError(); }
    virtual void SetColumnFormat(int32_t aColumn, int32_t Value) { AbstractError(); }
    virtual void SetRowFormat(int32_t aRow, int32_t Value) { AbstractError(); }
    virtual int32_t GetCellFormat(int32_t aRow, int32_t aCol) { AbstractError(); }
    virtual void SetCellFormat(int32_t aRow, int32_t aCol, int32_t Value) { AbstractError(); }
    virtual uint32_t GetColorPalette(TColorPaletteRange Index) { AbstractError(); }
    virtual void SetColorPalette(TColorPaletteRange Index, uint32_t Value) { AbstractError(); }
    virtual TWbFont GetFontList(int32_t index) { AbstractError(); }
    virtual void SetFontList(int32_t index, const TWbFont &Value) { AbstractError(); }
    virtual TWbFormat GetFormatList(int32_t index) { AbstractError(); }
    virtual void SetFormatList(int32_t index, const TWbFormat &Value) { AbstractError(); }

    // Page, view and print settings of the active sheet.
    virtual QString PageFooter() { AbstractError(); }
    virtual QString PageHeader() { AbstractError(); }
    virtual void SetPageFooter(const QString &Value) { AbstractError(); }
    virtual void SetPageHeader(const QString &Value) { AbstractError(); }
    virtual bool ShowGridLines() { AbstractError(); }
    virtual void SetShowGridLines(bool Value) { AbstractError(); }
    virtual bool ShowGridHeaders() { AbstractError(); }
    virtual void SetShowGridHeaders(bool Value) { AbstractError(); }
    virtual bool PrintGridLines() { AbstractError(); }
    virtual void SetPrintGridLines(bool Value) { AbstractError(); }
    virtual int32_t SheetZoom() { AbstractError(); }
    virtual void SetSheetZoom(int32_t Value) { AbstractError(); }
    virtual TXlsMargins Margins() { AbstractError(); }
    virtual void SetMargins(const TXlsMargins &Value) { AbstractError(); }
    virtual uint16_t PrintNumberOfHorizontalPages() { AbstractError(); }
    virtual uint16_t PrintNumberOfVerticalPages() { AbstractError(); }
    virtual int32_t PrintScale() { AbstractError(); }
    virtual uint8_t PrintOptions() { AbstractError(); }
    virtual bool PrintToFit() { AbstractError(); }
    virtual void SetPrintNumberOfHorizontalPages(uint16_t Value) { AbstractError(); }
    virtual void SetPrintNumberOfVerticalPages(uint16_t Value) { AbstractError(); }
    virtual void SetPrintScale(int32_t Value) { AbstractError(); }
    virtual void SetPrintOptions(uint8_t Value) { AbstractError(); }
    virtual void SetPrintToFit(bool Value) { AbstractError(); }
    virtual bool PrintHCentered() { AbstractError(); }
    virtual bool PrintVCentered() { AbstractError(); }
    virtual void SetPrintHCentered(bool Value) { AbstractError(); }
    virtual void SetPrintVCentered(bool Value) { AbstractError(); }
    virtual int32_t PrintCopies() { AbstractError(); }
    virtual TPrinterDriverSettings PrinterDriverSettings() { AbstractError(); }
    virtual int32_t PrintPaperSize() { AbstractError(); }
    virtual int32_t PrintXResolution() { AbstractError(); }
    virtual int32_t PrintYResolution() { AbstractError(); }
    virtual void SetPrintCopies(int32_t Value) { AbstractError(); }
    virtual void SetPrinterDriverSettings(const TPrinterDriverSettings &Value) { AbstractError(); }
    virtual void SetPrintPaperSize(int32_t Value) { AbstractError(); }
    virtual void SetPrintXResolution(int32_t Value) { AbstractError(); }
    virtual void SetPrintYResolution(int32_t Value) { AbstractError(); }
    virtual bool InvalidateFormulas() { AbstractError(); }
    virtual void SetInvalidateFormulas(bool Value) { AbstractError(); }
    virtual bool IsXltTemplate() { AbstractError(); }
    virtual void SetIsXltTemplate(bool Value) { AbstractError(); }

    // Merged cells and workbook options.
    virtual TXlsCellRange GetCellMergedBounds(int32_t aRow, int32_t aCol) { AbstractError(); }
    virtual TXlsCellRange GetCellMergedList(int32_t index) { AbstractError(); }
    virtual bool Options1904Dates() { AbstractError(); }
    virtual bool OptionsR1C1() { AbstractError(); }
    virtual bool OptionsSaveExternalLinkValues() { AbstractError(); }
    virtual void SetOptions1904Dates(bool Value) { AbstractError(); }
    virtual void SetOptionsR1C1(bool Value) { AbstractError(); }
    virtual void SetOptionsSaveExternalLinkValues(bool Value) { AbstractError(); }
    virtual bool OptionsPrecisionAsDisplayed() { AbstractError(); }
    virtual void SetOptionsPrecisionAsDisplayed(bool Value) { AbstractError(); }
    virtual bool OutlineSummaryColsRightOfDetail() { AbstractError(); }
    virtual bool OutlineSummaryRowsBelowDetail() { AbstractError(); }
    virtual bool OutlineAutomaticStyles() { AbstractError(); }
    virtual void SetOutlineSummaryColsRightOfDetail(bool Value) { AbstractError(); }
    virtual void SetOutlineSummaryRowsBelowDetail(bool Value) { AbstractError(); }
    virtual void SetOutlineAutomaticStyles(bool Value) { AbstractError(); }

    // Lifecycle, files and sheets.
    virtual void Connect() { AbstractError(); }
    virtual void Disconnect() { AbstractError(); }
    virtual void OpenFile(const QString &FileName) { AbstractError(); }
    virtual void OpenFileAndSearch(const QString &FileName) { AbstractError(); }
    virtual void NewFile(const int32_t SheetCount) { AbstractError(); }
    virtual void LoadFromStream(TStream *Stream) { AbstractError(); }
    virtual void CloseFile() { AbstractError(); }
    virtual void InsertAndCopySheets(int32_t CopyFrom, int32_t InsertBefore, int32_t SheetCount) { AbstractError(); }
    virtual void ClearSheet() { AbstractError(); }
    virtual void DeleteSheet(int32_t aSheetCount) { AbstractError(); }
    virtual int32_t SheetCount() { AbstractError(); }
    virtual void SelectSheet(const int32_t SheetNo) { AbstractError(); }
    virtual void DeleteMarkedRows(const QString &Mark) { AbstractError(); }
    virtual void MakePageBreaks(const QString &Mark) { AbstractError(); }
    virtual void InsertHPageBreak(int32_t aRow) { AbstractError(); }
    virtual void InsertVPageBreak(int32_t aCol) { AbstractError(); }
    virtual void DeleteHPageBreak(int32_t aRow) { AbstractError(); }
    virtual void DeleteVPageBreak(int32_t aCol) { AbstractError(); }
    virtual bool HasHPageBreak(int32_t aRow) { AbstractError(); }
    virtual bool HasVPageBreak(int32_t aCol) { AbstractError(); }
    virtual void RefreshPivotTables() { AbstractError(); }
    virtual void RefreshChartRanges(const QString &VarStr) { AbstractError(); }
    // DataStream given: the workbook goes there instead of to a file.
    virtual void Save(bool AutoClose, const QString &FileName, const TOnGetFileNameEvent &OnGetFileName,
                      const TOnGetOutStreamEvent &OnGetOutStream, TStream *DataStream = nullptr)
    {
        AbstractError();
    }
    virtual void InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                   bool OnlyFormulas)
    {
        AbstractError();
    }
    virtual void InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                                   bool OnlyFormulas)
    {
        AbstractError();
    }
    virtual void DeleteRows(int32_t aRow, int32_t aCount) { AbstractError(); }
    virtual void DeleteCols(int32_t aCol, int32_t aCount) { AbstractError(); }
    virtual void BeginSheet() { AbstractError(); }
    virtual void EndSheet(int32_t RowOffset) { AbstractError(); }
    virtual bool CanOptimizeRead() { AbstractError(); }
    virtual void AddRange(TXlsNamedRange &NamedRange) { AbstractError(); }

    // Pictures, comments and cell data.
    virtual void AssignPicture(int32_t Row, int32_t aPos, const ByteArray &Pic, TXlsImgTypes PicType)
    {
        AbstractError();
    }
    virtual void AssignPicture(int32_t Row, int32_t aPos, const ByteArray &Pic, TXlsImgTypes PicType,
                               const TImageProperties &Props, TWbAnchorType Anchor)
    {
        AbstractError();
    }
    virtual void AssignPictureProperties(int32_t Row, int32_t aPos, const TImageProperties &Props,
                                         TWbAnchorType Anchor)
    {
        AbstractError();
    }
    virtual void GetPicture(int32_t Row, int32_t aPos, TStream *Pic, TXlsImgTypes &PicType, TClientAnchor &Anchor)
    {
        AbstractError();
    }
    virtual void DeleteImage(int32_t Index) { AbstractError(); }
    virtual void ClearImage(int32_t Index) { AbstractError(); }
    virtual void AddImage(const ByteArray &Data, TXlsImgTypes DataType, const TImageProperties &Properties,
                          TWbAnchorType Anchor)
    {
        AbstractError();
    }
    virtual void AssignComment(int32_t Row, int32_t aPos, const QString &Comment) { AbstractError(); }
    virtual void SetCellComment(int32_t Row, int32_t Col, const QString &Value, const TImageProperties &Properties)
    {
        AbstractError();
    }
    virtual QString GetCellComment(int32_t Row, int32_t Col) { AbstractError(); }
    virtual int32_t CellCount(int32_t aRow) { AbstractError(); }
    virtual Variant GetCellData(int32_t aRow, int32_t aColOffset) { AbstractError(); }
    virtual TXlsCellValue GetCellDataX(int32_t aRow, int32_t aColOffset) { AbstractError(); }
    virtual void GetCellDataX2(int32_t aRow, int32_t aColOffset, TXlsCellValue &v, TRTFRunList &RTFRuns)
    {
        AbstractError();
    }
    virtual void AssignCellData(int32_t aRow, int32_t aColOffset, const Variant &Value) { AbstractError(); }
    virtual void AssignCellDataX(int32_t aRow, int32_t aColOffset, const TXlsCellValue &Value) { AbstractError(); }
    virtual void AssignCellDataX2(int32_t aRow, int32_t aColOffset, const TXlsCellValue &Value,
                                  const TRTFRunList &RTFRuns)
    {
        AbstractError();
    }
    virtual void GetCellValueX2(int32_t aRow, int32_t aCol, TXlsCellValue &v, TRTFRunList &RTFRuns)
    {
        AbstractError();
    }
    // The runs' positions are shifted in place.
    virtual void AssignCellValueX2(int32_t aRow, int32_t aCol, const TXlsCellValue &Value, TRTFRunList &RTFRuns)
    {
        AbstractError();
    }
    virtual void SetCellString(int32_t aRow, int32_t aCol, const QString &Text, const QString &DateFormat,
                               const QString &TimeFormat)
    {
        AbstractError();
    }
    virtual void SetCellString(int32_t aRow, int32_t aCol, const QString &Text, const TWbFormat &Fm,
                               const QString &DateFormat, const QString &TimeFormat)
    {
        AbstractError();
    }

    // Sheet structure, formats, merging, clipboard, hyperlinks, outline, panes, autofit, autofilter.
    virtual int32_t MaxRow() { AbstractError(); }
    virtual int32_t MaxCol() { AbstractError(); }
    virtual bool IsEmptyRow(int32_t aRow) { AbstractError(); }
    virtual void SetCellFormulaX(int32_t aRow, int32_t aCol, const QString &Formula, const Variant &Value)
    {
        AbstractError();
    }
    virtual int32_t ColByIndex(int32_t Row, int32_t ColIndex) { AbstractError(); }
    virtual int32_t ColIndexCount(int32_t Row) { AbstractError(); }
    virtual int32_t ColIndex(int32_t Row, int32_t Col) { AbstractError(); }
    virtual void SetBounds(int32_t aRangePos) { AbstractError(); }
    virtual int32_t GetFirstColumn() { AbstractError(); }
    virtual void PrepareBlockData(int32_t R1, int32_t C1, int32_t R2, int32_t C2) { AbstractError(); }
    virtual void AssignBlockData(int32_t Row, int32_t Col, const Variant &v) { AbstractError(); }
    virtual void PasteBlockData() { AbstractError(); }
    virtual bool IsWorksheet(int32_t index) { AbstractError(); }
    virtual BooleanArray GetUsedPaletteColors() { AbstractError(); }
    virtual int32_t FontListCount() { AbstractError(); }
    virtual int32_t FormatListCount() { AbstractError(); }
    virtual int32_t AddFormat(const TWbFormat &Fmt) { AbstractError(); }
    virtual int32_t AddFont(const TWbFont &Fmt) { AbstractError(); }
    virtual void MergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol) { AbstractError(); }
    virtual void UnMergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol)
    {
        AbstractError();
    }
    virtual int32_t CellMergedListCount() { AbstractError(); }
    virtual void CopyToClipboard() { AbstractError(); }
    virtual void CopyToClipboard(const TXlsCellRange &Range) { AbstractError(); }
    virtual void PasteFromClipboard(int32_t Row, int32_t Col) { AbstractError(); }
    virtual void ParseComments() { AbstractError(); }
    virtual int32_t HyperLinkCount() { AbstractError(); }
    virtual THyperLink GetHyperLink(int32_t HyperLinkIndex) { AbstractError(); }
    virtual void SetHyperLink(int32_t HyperLinkIndex, const THyperLink &Value) { AbstractError(); }
    virtual TXlsCellRange GetHyperLinkCellRange(int32_t HyperLinkIndex) { AbstractError(); }
    virtual void SetHyperLinkCellRange(int32_t HyperLinkIndex, const TXlsCellRange &CellRange) { AbstractError(); }
    virtual void AddHyperLink(const TXlsCellRange &CellRange, const THyperLink &Value) { AbstractError(); }
    virtual void DeleteHyperLink(int32_t HyperLinkIndex) { AbstractError(); }
    virtual int32_t GetRowOutlineLevel(int32_t aRow) { AbstractError(); }
    virtual void SetRowOutlineLevel(int32_t FirstRow, int32_t LastRow, int32_t Level) { AbstractError(); }
    virtual int32_t GetColOutlineLevel(int32_t aCol) { AbstractError(); }
    virtual void SetColOutlineLevel(int32_t FirstCol, int32_t LastCol, int32_t Level) { AbstractError(); }
    virtual void FreezePanes(int32_t Row, int32_t Col) { AbstractError(); }
    virtual void GetFrozenPanes(int32_t &Row, int32_t &Col) { AbstractError(); }
    virtual void SplitWindow(int32_t xOffset, int32_t yOffset) { AbstractError(); }
    virtual void GetSplitWindow(int32_t &xOffset, int32_t &yOffset) { AbstractError(); }
    virtual void AutofitRow(int32_t row1, int32_t row2, bool AutofitNotAutofittingRows, bool keepHeightAutomatic,
                            double adjustment)
    {
        AbstractError();
    }
    virtual void AutofitCol(int32_t Col1, int32_t Col2, bool IgnoreStrings, double Adjustment) { AbstractError(); }
    virtual void AutofitRowsOnWorkbook(bool AutofitNotAutofittingRows, bool KeepSizesAutomatic, double Adjustment)
    {
        AbstractError();
    }
    virtual void SetAutoFilter(int32_t row, int32_t col1, int32_t col2) { AbstractError(); }
    virtual void RemoveAutoFilter() { AbstractError(); }
    virtual bool HasAutoFilter() { AbstractError(); }
    virtual bool HasAutoFilter(int32_t row, int32_t col) { AbstractError(); }
    virtual TXlsCellRange GetAutoFilterRange() { AbstractError(); }

    // The property over GetExcelNameCount.
    int32_t RangeCount() { return GetExcelNameCount(); }
};

// Hands out file objects; BasePathToOpen is the folder OpenFileAndSearch looks in.
class TExcelAdapter : public TComponent
{
public:
    explicit TExcelAdapter(TComponent *AOwner = nullptr) : TComponent(AOwner) {}

    // A new, unconnected file object that the caller owns.
    virtual TExcelFile *GetWorkbook() { AbstractError(); }

    const QString &BasePathToOpen() const { return FBasePathToOpen; }
    void SetBasePathToOpen(const QString &Value) { FBasePathToOpen = Value; }

protected:
    QString FBasePathToOpen;
};
