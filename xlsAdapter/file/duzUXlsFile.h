#pragma once
// The spreadsheet file over one in-memory BIFF8 workbook: opening, new files from the built-in
// template, saving (keeping every other stream of the source file) and the sheet operations.
#include "framework/rtl/Types.h"
#include "xlsAdapter/file/duzUExcelFile.h"
#include "xlsAdapter/file/duzUWbRowComments.h"

#include <functional>
#include <memory>

class TCellRecordList;
class TSheet;
class TWorkbook;
class TWorkSheet;
class TXlsBaseTemplateStore;
class TXLSAdapter;

enum TExcelSaveFormatNative { snXLS, snCSVComma, snCSVSemiColon, snTabDelimited };
using TSetOfExcelSaveFormatNative = TSet<TExcelSaveFormatNative>;

class TXLSFile : public TExcelFile
{
public:
    explicit TXLSFile(TXLSAdapter *aAdapter, bool aAllowOverwritingFiles = false);
    TXLSFile(const TXLSFile &) = delete;
    TXLSFile &operator=(const TXLSFile &) = delete;
    ~TXLSFile() override;

    void Connect() override;
    void Disconnect() override;
    void CloseFile() override;
    void OpenFile(const QString &FileName) override;
    void OpenFileAndSearch(const QString &FileName) override;
    // From the adapter's template store when it has one; else from disk, a relative name searched
    // in the adapter's folder when Search is set.
    void OpenFileAndOrSearch(const QString &FileName, bool Search);
    // A compound file holding a "Workbook" stream.
    void LoadFromStream(TStream *Stream) override;
    void NewFile(const int32_t SheetCount) override;
    // A file target is written beside itself first and takes the old file's place only when
    // complete, so a failed save leaves an existing file as it was.
    void Save(bool AutoClose, const QString &FileName, const TOnGetFileNameEvent &OnGetFileName,
              const TOnGetOutStreamEvent &OnGetOutStream, TStream *DataStream = nullptr) override;

    int32_t SheetCount() override;
    bool IsWorksheet(int32_t index) override;
    int32_t ActiveSheet() override { return FActiveSheet; }
    void SetActiveSheet(int32_t Value) override { FActiveSheet = Value; }
    // The tab the saved workbook opens on; the active sheet here stays.
    void SelectSheet(const int32_t SheetNo) override;
    // CopyFrom -1: empty worksheets.
    void InsertAndCopySheets(int32_t CopyFrom, int32_t InsertBefore, int32_t SheetCount) override;
    // aSheetCount sheets from the active one on; at least one sheet stays.
    void DeleteSheet(int32_t aSheetCount) override;
    void ClearSheet() override;
    QString ActiveSheetName() override;
    void SetActiveSheetName(const QString &Value) override;
    QString ActiveSheetCodeName() override;
    void SetActiveSheetCodeName(const QString &Value) override;
    TXlsSheetVisible ActiveSheetVisible() override;
    void SetActiveSheetVisible(TXlsSheetVisible Value) override;

    TWorkbook *GetTWorkbook() const { return FWorkbook.get(); }
    // The other streams of the last loaded file, as a compound file without "Workbook".
    const ByteArray &OtherStreams() const { return FOtherStreams; }

    // Cell values of the active worksheet (duzUXlsFileValues.cpp). The offset forms count columns
    // from FirstColumn; the plain forms are the offset forms of column aCol - FirstColumn - 1.
    Variant GetCellValue(int32_t aRow, int32_t aCol) override;
    void SetCellValue(int32_t aRow, int32_t aCol, const Variant &Value) override;
    TXlsCellValue GetCellValueX(int32_t aRow, int32_t aCol) override;
    void SetCellValueX(int32_t aRow, int32_t aCol, const TXlsCellValue &Value) override;
    void GetCellValueX2(int32_t aRow, int32_t aCol, TXlsCellValue &v, TRTFRunList &RTFRuns) override;
    void AssignCellValueX2(int32_t aRow, int32_t aCol, const TXlsCellValue &Value, TRTFRunList &RTFRuns) override;
    int32_t CellCount(int32_t aRow) override;
    Variant GetCellData(int32_t aRow, int32_t aColOffset) override;
    TXlsCellValue GetCellDataX(int32_t aRow, int32_t aColOffset) override;
    void GetCellDataX2(int32_t aRow, int32_t aColOffset, TXlsCellValue &v, TRTFRunList &RTFRuns) override;
    void AssignCellData(int32_t aRow, int32_t aColOffset, const Variant &Value) override;
    void AssignCellDataX(int32_t aRow, int32_t aColOffset, const TXlsCellValue &Value) override;
    void AssignCellDataX2(int32_t aRow, int32_t aColOffset, const TXlsCellValue &Value,
                          const TRTFRunList &RTFRuns) override;
    void SetBounds(int32_t aRangePos) override;
    int32_t GetFirstColumn() override { return FirstColumn + 1; }
    void PrepareBlockData(int32_t, int32_t, int32_t, int32_t) override {}
    void AssignBlockData(int32_t Row, int32_t Col, const Variant &v) override { AssignCellData(Row, Col, v); }
    void PasteBlockData() override {}
    QString GetCellFormula(int32_t aRow, int32_t aCol) override;
    void SetCellFormula(int32_t aRow, int32_t aCol, const QString &Value) override;
    void SetCellFormulaX(int32_t aRow, int32_t aCol, const QString &Formula, const Variant &Value) override;
    // Typed text entry: a number (with a percent, scientific or currency format when the text
    // shows one), a boolean, a date or time, or else the text as given.
    void SetCellString(int32_t aRow, int32_t aCol, const QString &Text, const QString &DateFormat,
                       const QString &TimeFormat) override;
    void SetCellString(int32_t aRow, int32_t aCol, const QString &Text, const TWbFormat &Fm,
                       const QString &DateFormat, const QString &TimeFormat) override;

    // 0-based column range of the column-offset cell operations.
    int32_t FirstColumn = 0;
    int32_t LastColumn = 0;
    bool AllowOverwritingFiles = false;
    // Set by every write; cleared by a load.
    bool IsFileModified = false;
    // By-row index of the active sheet's pictures; made by the first BeginSheet.
    std::unique_ptr<TRowComments> RowPictures;

private:
    // FileName names a stream that is no file stream in messages.
    void LoadFromOle(TStream *Stream, const QString &FileName = QString());
    void SaveXls(TStream *OutStream);
    void SaveXlsToFile(const QString &FileName);

    TXLSAdapter *FAdapter;
    int32_t FActiveSheet = 0;
    std::unique_ptr<TWorkbook> FWorkbook;
    ByteArray FOtherStreams;

    // Direct mappings onto the workbook model (duzUXlsFileMappings.cpp): 1-based rows, columns
    // and palette entries; a sheet that is no worksheet reads fixed defaults and ignores writes.
public:
    int32_t GetExcelNameCount() override;
    QString GetRangeName(int32_t index) override;
    int32_t GetRangeR1(int32_t index) override;
    int32_t GetRangeR2(int32_t index) override;
    int32_t GetRangeC1(int32_t index) override;
    int32_t GetRangeC2(int32_t index) override;
    void SetRangeR1(int32_t index, int32_t value) override;
    void SetRangeR2(int32_t index, int32_t value) override;
    void SetRangeC1(int32_t index, int32_t value) override;
    void SetRangeC2(int32_t index, int32_t value) override;
    int32_t GetRangeSheet(int32_t index) override;
    void AddRange(TXlsNamedRange &NamedRange) override;

    int32_t GetColumnWidth(int32_t aCol) override;
    int32_t GetColumnWidthHiddenIsZero(int32_t aCol) override;
    int32_t GetRowHeight(int32_t aRow) override;
    int32_t GetRowHeightHiddenIsZero(int32_t aRow) override;
    void SetColumnWidth(int32_t aCol, int32_t Value) override;
    void SetRowHeight(int32_t aRow, int32_t Value) override;
    bool GetRowHidden(int32_t aRow) override;
    bool GetColumnHidden(int32_t aCol) override;
    void SetRowHidden(int32_t aRow, bool Value) override;
    void SetColumnHidden(int32_t aCol, bool Value) override;
    int32_t DefaultColWidth() override;
    int32_t DefaultRowHeight() override;
    bool GetAutoRowHeight(int32_t Row) override;
    void SetAutoRowHeight(int32_t Row, bool Value) override;

    int32_t GetColumnFormat(int32_t aColumn) override;
    int32_t GetRowFormat(int32_t aRow) override;
    void SetColumnFormat(int32_t aColumn, int32_t Value) override;
    void SetRowFormat(int32_t aRow, int32_t Value) override;
    int32_t GetCellFormat(int32_t aRow, int32_t aCol) override;
    void SetCellFormat(int32_t aRow, int32_t aCol, int32_t Value) override;
    uint32_t GetColorPalette(TColorPaletteRange Index) override;
    void SetColorPalette(TColorPaletteRange Index, uint32_t Value) override;
    TWbFont GetFontList(int32_t index) override;
    void SetFontList(int32_t index, const TWbFont &Value) override;
    TWbFormat GetFormatList(int32_t index) override;
    void SetFormatList(int32_t index, const TWbFormat &Value) override;
    BooleanArray GetUsedPaletteColors() override;
    int32_t FontListCount() override;
    int32_t FormatListCount() override;
    int32_t AddFormat(const TWbFormat &Fmt) override;
    int32_t AddFont(const TWbFont &Fmt) override;

    QString PageFooter() override;
    QString PageHeader() override;
    void SetPageFooter(const QString &Value) override;
    void SetPageHeader(const QString &Value) override;
    bool ShowGridLines() override;
    void SetShowGridLines(bool Value) override;
    bool ShowGridHeaders() override;
    void SetShowGridHeaders(bool Value) override;
    bool PrintGridLines() override;
    void SetPrintGridLines(bool Value) override;
    int32_t SheetZoom() override;
    void SetSheetZoom(int32_t Value) override;
    TXlsMargins Margins() override;
    void SetMargins(const TXlsMargins &Value) override;
    uint16_t PrintNumberOfHorizontalPages() override;
    uint16_t PrintNumberOfVerticalPages() override;
    int32_t PrintScale() override;
    uint8_t PrintOptions() override;
    bool PrintToFit() override;
    void SetPrintNumberOfHorizontalPages(uint16_t Value) override;
    void SetPrintNumberOfVerticalPages(uint16_t Value) override;
    void SetPrintScale(int32_t Value) override;
    void SetPrintOptions(uint8_t Value) override;
    void SetPrintToFit(bool Value) override;
    bool PrintHCentered() override;
    bool PrintVCentered() override;
    void SetPrintHCentered(bool Value) override;
    void SetPrintVCentered(bool Value) override;
    int32_t PrintCopies() override;
    TPrinterDriverSettings PrinterDriverSettings() override;
    int32_t PrintPaperSize() override;
    int32_t PrintXResolution() override;
    int32_t PrintYResolution() override;
    void SetPrintCopies(int32_t Value) override;
    void SetPrinterDriverSettings(const TPrinterDriverSettings &Value) override;
    void SetPrintPaperSize(int32_t Value) override;
    void SetPrintXResolution(int32_t Value) override;
    void SetPrintYResolution(int32_t Value) override;
    bool InvalidateFormulas() override { return IsFileModified; }
    void SetInvalidateFormulas(bool Value) override { IsFileModified = Value; }
    bool IsXltTemplate() override;
    void SetIsXltTemplate(bool Value) override;
    void InsertHPageBreak(int32_t aRow) override;
    void InsertVPageBreak(int32_t aCol) override;
    void DeleteHPageBreak(int32_t aRow) override;
    void DeleteVPageBreak(int32_t aCol) override;
    bool HasHPageBreak(int32_t aRow) override;
    bool HasVPageBreak(int32_t aCol) override;

    TXlsCellRange GetCellMergedBounds(int32_t aRow, int32_t aCol) override;
    TXlsCellRange GetCellMergedList(int32_t index) override;
    int32_t CellMergedListCount() override;
    void MergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol) override;
    void UnMergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol) override;
    bool Options1904Dates() override;
    bool OptionsR1C1() override;
    bool OptionsSaveExternalLinkValues() override;
    void SetOptions1904Dates(bool Value) override;
    void SetOptionsR1C1(bool Value) override;
    void SetOptionsSaveExternalLinkValues(bool Value) override;
    bool OptionsPrecisionAsDisplayed() override;
    void SetOptionsPrecisionAsDisplayed(bool Value) override;

    bool OutlineSummaryColsRightOfDetail() override;
    bool OutlineSummaryRowsBelowDetail() override;
    bool OutlineAutomaticStyles() override;
    void SetOutlineSummaryColsRightOfDetail(bool Value) override;
    void SetOutlineSummaryRowsBelowDetail(bool Value) override;
    void SetOutlineAutomaticStyles(bool Value) override;
    int32_t GetRowOutlineLevel(int32_t aRow) override;
    void SetRowOutlineLevel(int32_t FirstRow, int32_t LastRow, int32_t Level) override;
    int32_t GetColOutlineLevel(int32_t aCol) override;
    void SetColOutlineLevel(int32_t FirstCol, int32_t LastCol, int32_t Level) override;
    void FreezePanes(int32_t Row, int32_t Col) override;
    void GetFrozenPanes(int32_t &Row, int32_t &Col) override;
    void SplitWindow(int32_t xOffset, int32_t yOffset) override;
    void GetSplitWindow(int32_t &xOffset, int32_t &yOffset) override;

    // Row heights and column widths from the contents, then the drawing objects laid out again.
    void AutofitRow(int32_t row1, int32_t row2, bool AutofitNotAutofittingRows, bool keepHeightAutomatic,
                    double adjustment) override;
    void AutofitCol(int32_t Col1, int32_t Col2, bool IgnoreStrings, double Adjustment) override;
    void AutofitRowsOnWorkbook(bool AutofitNotAutofittingRows, bool KeepSizesAutomatic, double Adjustment) override;

    // The stored rows and cells of the active worksheet.
    int32_t MaxRow() override;
    int32_t MaxCol() override;
    bool IsEmptyRow(int32_t aRow) override;
    int32_t ColByIndex(int32_t Row, int32_t ColIndex) override;
    int32_t ColIndexCount(int32_t Row) override;
    int32_t ColIndex(int32_t Row, int32_t Col) override;

    void SetAutoFilter(int32_t row, int32_t col1, int32_t col2) override;
    void RemoveAutoFilter() override;
    bool HasAutoFilter() override;
    bool HasAutoFilter(int32_t row, int32_t col) override;
    TXlsCellRange GetAutoFilterRange() override;

    // Pictures, comments, hyperlinks and the clipboard (duzUXlsFileObjects.cpp). A Row above 0
    // with aPos addresses the aPos-th picture anchored in that row (after BeginSheet); otherwise
    // aPos is the picture's place in the drawing.
    void BeginSheet() override;
    int32_t GetPicturesCount(int32_t Row) override;
    QString GetPictureName(int32_t Row, int32_t aPos) override;
    void GetPicture(int32_t Row, int32_t aPos, TStream *Pic, TXlsImgTypes &PicType, TClientAnchor &Anchor) override;
    void AssignPicture(int32_t Row, int32_t aPos, const ByteArray &Pic, TXlsImgTypes PicType) override;
    void AssignPicture(int32_t Row, int32_t aPos, const ByteArray &Pic, TXlsImgTypes PicType,
                       const TImageProperties &Props, TWbAnchorType Anchor) override;
    void AssignPictureProperties(int32_t Row, int32_t aPos, const TImageProperties &Props,
                                 TWbAnchorType Anchor) override;
    void AddImage(const ByteArray &Data, TXlsImgTypes DataType, const TImageProperties &Properties,
                  TWbAnchorType Anchor) override;
    void ClearImage(int32_t Index) override;
    void DeleteImage(int32_t Index) override;
    int32_t GetCommentsCount(int32_t Row) override;
    QString GetCommentText(int32_t Row, int32_t aPos) override;
    int32_t GetCommentColumn(int32_t Row, int32_t aPos) override;
    QString GetCellComment(int32_t Row, int32_t Col) override;
    void AssignComment(int32_t Row, int32_t aPos, const QString &Comment) override;
    void SetCellComment(int32_t Row, int32_t Col, const QString &Value, const TImageProperties &Properties) override;
    int32_t HyperLinkCount() override;
    THyperLink GetHyperLink(int32_t HyperLinkIndex) override;
    void SetHyperLink(int32_t HyperLinkIndex, const THyperLink &Value) override;
    TXlsCellRange GetHyperLinkCellRange(int32_t HyperLinkIndex) override;
    void SetHyperLinkCellRange(int32_t HyperLinkIndex, const TXlsCellRange &CellRange) override;
    void AddHyperLink(const TXlsCellRange &CellRange, const THyperLink &Value) override;
    void DeleteHyperLink(int32_t HyperLinkIndex) override;
    // Nothing goes to the clipboard from here.
    void CopyToClipboard() override;
    void CopyToClipboard(const TXlsCellRange &Range) override;
    QString CopyToClipboardFormat(const TXlsCellRange &Range);
    // The clipboard's "Biff8" block at (Row, Col); its plain text is not pasted.
    void PasteFromClipboard(int32_t Row, int32_t Col) override;
    // The cells of sheet 1 of the compound file in Stream, with their formats and fonts, from
    // (Row, Col) on. A stream that does not load leaves this file unchanged.
    void PasteFromXlsClipboardFormat(int32_t Row, int32_t Col, TStream *Stream);
    void PasteFromTextClipboardFormat(int32_t, int32_t, const QString &) {}

    // Hooks a client calls at fixed points; nothing to do here.
    void RefreshPivotTables() override {}
    void RefreshChartRanges(const QString &) override {}
    void EndSheet(int32_t) override {}
    void ParseComments() override {}
    bool CanOptimizeRead() override { return true; }

private:
    // The workbook; raises while the object is not connected.
    TWorkbook *Book() const;
    TSheet *ActiveSheetObject() const;
    // Nil for a chart or unsupported sheet.
    TWorkSheet *ActiveWorkSheet() const;
    // Change on the active worksheet (none: nothing), then its drawing objects laid out again.
    void ChangeLayout(const std::function<void(TWorkSheet *)> &Change);
    int32_t FontModelIndex(int32_t index) const;
    int32_t XFModelIndex(int32_t index) const;
    // The cells of a 1-based row of the active worksheet; nil beyond the stored rows.
    TCellRecordList *StoredRow(int32_t Row) const;
    // Typed text entry with a given format (Fm) or the cell's own.
    void StoreTypedText(int32_t aRow, int32_t aCol, const QString &Text, const TWbFormat *Fm,
                        const QString &DateFormat, const QString &TimeFormat);
};

// Hands out TXLSFile objects with its template store, save formats and overwrite permission.
class TXLSAdapter : public TExcelAdapter
{
public:
    explicit TXLSAdapter(TComponent *AOwner = nullptr) : TExcelAdapter(AOwner) {}

    TExcelFile *GetWorkbook() override;

    TXlsBaseTemplateStore *TemplateStore() const { return FTemplateStore; }
    void SetTemplateStore(TXlsBaseTemplateStore *Value);
    const TSetOfExcelSaveFormatNative &SaveFormat() const { return FSaveFormat; }
    void SetSaveFormat(const TSetOfExcelSaveFormatNative &Value) { FSaveFormat = Value; }
    bool AllowOverwritingFiles() const { return FAllowOverwritingFiles; }
    void SetAllowOverwritingFiles(bool Value) { FAllowOverwritingFiles = Value; }

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TXlsBaseTemplateStore *FTemplateStore = nullptr;
    TSetOfExcelSaveFormatNative FSaveFormat{snXLS};
    bool FAllowOverwritingFiles = false;
};
