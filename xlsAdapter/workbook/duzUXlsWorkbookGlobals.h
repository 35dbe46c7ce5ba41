#pragma once
// The workbook globals: the first section of the stream, holding what all sheets share (sheet
// list, shared strings, fonts, formats, palette, names, references, drawing group, options).
// Records it does not interpret are kept in file order and written back where they were.
#include "xlsAdapter/workbook/duzUSheetNameList.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/records/duzUXlsPalette.h"
#include "xlsAdapter/workbook/duzUXlsReferences.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/workbook/duzUXlsSections.h"
#include "xlsAdapter/records/duzUXlsTypes.h"
#include "xlsAdapter/records/duzUXlsXF.h"

#include <QString>
#include <cstdint>

constexpr uint16_t xlr_COUNTRY = 0x008C;

class TBoundSheetRecordList : public TBaseRecordList
{
public:
    int Add(TBoundSheetRecord *aRecord) { return TBaseRecordList::Add(aRecord); }
    void Insert(int Index, TBoundSheetRecord *aRecord) { TBaseRecordList::Insert(Index, aRecord); }
    TBoundSheetRecord *Items(int Index) const
    {
        return static_cast<TBoundSheetRecord *>(TBaseRecordList::Items(Index));
    }

    QString GetSheetName(int Index) const { return Items(Index)->SheetName(); }
    // Keeps the list's size in step with the record's.
    void SetSheetName(int Index, const QString &Value);
    TXlsSheetVisible GetSheetVisible(int Index) const;
    void SetSheetVisible(int Index, TXlsSheetVisible Value);
};

// The BOUNDSHEET records in workbook order, with the sorted index that keeps their names unique.
class TBoundSheetList : public TObject
{
public:
    // Takes the record once its name is recorded; "Sheet name already exists: %s" otherwise.
    void Add(TBoundSheetRecord *aRecord);
    void DeleteSheet(int32_t SheetIndex);
    // A new sheet at BeforeSheet with a unique name made from SheetName.
    void InsertSheet(int32_t BeforeSheet, uint16_t OptionFlags, const QString &SheetName);
    void Clear();

    void SaveToStream(TOle2File *DataStream);
    void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex);
    int64_t TotalSize();
    int64_t TotalRangeSize(int32_t SheetIndex);

    TSheetNameList &SheetNames() { return FSheetNames; }
    TBoundSheetRecordList &BoundSheets() { return FBoundSheets; }
    const TBoundSheetRecordList &BoundSheets() const { return FBoundSheets; }

private:
    // "Sheet number \"%d\" invalid. Must be between %d and %d".
    void CheckSheet(int32_t SheetIndex) const;

    TSheetNameList FSheetNames;
    TBoundSheetRecordList FBoundSheets;
};

class TWorkbookGlobals : public TBaseSection
{
public:
    TWorkbookGlobals();
    ~TWorkbookGlobals() override;

    void Clear() override;
    // Takes First in every case; SST is not used (the globals load their own).
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First,
                        TSST *SST) override;
    void SaveToStream(TOle2File *DataStream) override;
    // Only the BOUNDSHEET of SheetIndex, and no drawing group.
    void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange) override;
    int64_t TotalSize() override;
    int64_t TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange) override;

    // Options: read false (0) and ignore writes when their record is missing.
    int32_t ActiveSheet() const { return FWindow1 ? FWindow1->ActiveSheet() : 0; }
    void SetActiveSheet(int32_t Value);
    void SetFirstSheetVisible(int32_t Index);
    bool Is1904() const { return F1904 && F1904->Is1904(); }
    void SetIs1904(bool Value);
    bool PrecisionAsDisplayed() const { return FPrecision && FPrecision->PrecisionAsDisplayed(); }
    void SetPrecisionAsDisplayed(bool Value);
    bool SaveExternalLinkValues() const { return FBookBool && FBookBool->SaveExternalLinkValues(); }
    void SetSaveExternalLinkValues(bool Value);

    // Sheets.
    int32_t SheetCount() const { return FBoundSheets.BoundSheets().Count(); }
    QString GetSheetName(int32_t Index) const { return FBoundSheets.BoundSheets().GetSheetName(Index); }
    // The name is made legal first; "Sheet name already exists: %s" when another sheet has it.
    void SetSheetName(int32_t Index, const QString &Value);
    TXlsSheetVisible GetSheetVisible(int32_t Index) const { return FBoundSheets.BoundSheets().GetSheetVisible(Index); }
    void SetSheetVisible(int32_t Index, TXlsSheetVisible Value) { FBoundSheets.BoundSheets().SetSheetVisible(Index, Value); }
    uint16_t GetSheetOptionFlags(int32_t Index) const { return FBoundSheets.BoundSheets().Items(Index)->OptionFlags(); }
    // The stream position of the sheet's BOF, set while saving.
    void SheetSetOffset(int32_t Index, uint32_t Offset) { FBoundSheets.BoundSheets().Items(Index)->SetOffset(Offset); }
    void InsertSheets(int32_t CopyFrom, int32_t BeforeSheet, uint16_t OptionFlags, const QString &Name,
                      int32_t SheetCount);
    // "Can't delete a sheet on a file containing macros" for a workbook with a macro project.
    void DeleteSheets(int32_t SheetIndex, int32_t SheetCount);

    // Palette: the PALETTE record's colours, else the default ones (0x00BBGGRR).
    uint32_t GetColorPalette(int32_t Index) const;
    // Adds a standard PALETTE record after the cell styles when there is none.
    void SetColorPalette(int32_t Index, uint32_t Value);

    // Rows and columns inserted, copied or deleted on a sheet: only the names follow them here.
    void DeleteRowsAndCols(uint16_t aRow, uint16_t aRowCount, uint16_t aCol, uint16_t aColCount,
                           const TSheetInfo &SheetInfo);
    void InsertAndCopyRowsAndCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aRowCount,
                                  int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aColCount,
                                  const TSheetInfo &SheetInfo);

    // A name equal but for letter case to one on the same sheet replaces it; otherwise a new name,
    // refused with "Invalid named range: \"%s\"" when it is not a valid name.
    void AddName(TXlsNamedRange Range, IFormulaCellList *CellList);
    // The last name of that sheet (-1: global) equal but for letter case, or nil.
    TNameRecord *GetName(int32_t Sheet, const QString &aName) const;
    // May add the built-in flag 0x20 to OptionFlags.
    static bool IsValidRangeName(const QString &Name, int32_t &OptionFlags);
    // A built-in name drops the COUNTRY record.
    void CheckInternalNames(int32_t OptionFlags);
    // Removes the last COUNTRY record.
    void DeleteCountry();

    TSST &SST() { return FSST; }
    TReferences &References() { return FReferences; }
    TBoundSheetList &BoundSheets() { return FBoundSheets; }
    TBaseRecordList &MiscRecords() { return FMiscRecords; }
    TNameRecordList &Names() { return FNames; }
    TDrawingGroup &DrawingGroup() { return FDrawingGroup; }
    TXFRecordList &XF() { return FXF; }
    TFontRecordList &Fonts() { return FFonts; }
    TFormatRecordList &Formats() { return FFormats; }
    TPaletteRecord *PaletteCache() const { return FPaletteCache; }
    bool HasMacro() const { return FHasMacro; }
    bool IsXltTemplate() const { return FIsXltTemplate; }
    // Makes the section write a TEMPLATE record.
    void SetIsXltTemplate(bool Value) { FIsXltTemplate = Value; }
    QString CodeName() const { return FCodeName; }

private:
    // FMiscRecords with the XF, FONT and FORMAT lists at their placeholders; a list without one
    // goes to its BIFF8 place: FONT before FORMAT before XF, before the cell styles.
    void SaveMiscRecords(TOle2File *DataStream);
    // The whole section, with one sheet's BOUNDSHEET only (SheetIndex >= 0) and the drawing
    // group only when asked.
    void SaveSection(TOle2File *DataStream, int32_t SheetIndex, bool WithDrawing);
    int64_t SectionSize(int32_t SheetIndex, bool WithDrawing);

    TSST FSST;
    TReferences FReferences;
    TBoundSheetList FBoundSheets;
    TBaseRecordList FMiscRecords;
    TNameRecordList FNames;
    TDrawingGroup FDrawingGroup;
    TWindow1Record *FWindow1 = nullptr;
    T1904Record *F1904 = nullptr;
    TBookBoolRecord *FBookBool = nullptr;
    TPrecisionRecord *FPrecision = nullptr;
    TXFRecordList FXF;
    TFontRecordList FFonts;
    TFormatRecordList FFormats;
    TPaletteRecord *FPaletteCache = nullptr;
    int32_t FPaletteIndex = 0;
    bool FHasMacro = false;
    bool FIsXltTemplate = false;
    QString FCodeName;
};
