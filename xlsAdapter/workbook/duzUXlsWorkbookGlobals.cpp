#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <algorithm>
#include <memory>

namespace {

const char *const SInvalidSheetNumber = "Sheet number \"%d\" invalid. Must be between %d and %d";
const char *const SNoDeleteWithMacros = "Can't delete a sheet on a file containing macros";
const char *const SInvalidName = "Invalid named range: \"%s\"";

constexpr int32_t MaxNameLength = 254;

bool IsAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool ForbiddenInName(char16_t c)
{
    return c <= 0x2F || (c >= 0x3A && c <= 0x3E) || c == u'@' || c == u'[' || c == u']' || c == u'{' || c == u'}'
           || c == u'~' || (c >= 0x7F && c <= 0xBF && c != 0xB5);
}

// Some character from From on is not a digit.
bool HasNonDigitFrom(const QString &s, qsizetype From)
{
    for (qsizetype i = From; i < s.size(); ++i)
        if (!IsDigit(s[i]))
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TBoundSheetRecordList

void TBoundSheetRecordList::SetSheetName(int Index, const QString &Value)
{
    TBoundSheetRecord *r = Items(Index);
    const int32_t Before = r->TotalSize();
    r->SetSheetName(Value);
    AdaptSize(r->TotalSize() - Before);
}

TXlsSheetVisible TBoundSheetRecordList::GetSheetVisible(int Index) const
{
    switch (Items(Index)->OptionFlags() & 3) {
    case 1:
        return sv_Hidden;
    case 2:
        return sv_VeryHidden;
    default:
        return sv_Visible;
    }
}

void TBoundSheetRecordList::SetSheetVisible(int Index, TXlsSheetVisible Value)
{
    TBoundSheetRecord *r = Items(Index);
    const int32_t Bits = Value == sv_Hidden ? 1 : Value == sv_VeryHidden ? 2 : 0;
    r->SetOptionFlags((r->OptionFlags() & ~3) | Bits);
}

// ---------------------------------------------------------------------------------------------
// TBoundSheetList

void TBoundSheetList::Add(TBoundSheetRecord *aRecord)
{
    FSheetNames.Add(aRecord->SheetName());
    FBoundSheets.Add(aRecord);
}

void TBoundSheetList::DeleteSheet(int32_t SheetIndex)
{
    FSheetNames.DeleteSheet(FBoundSheets.GetSheetName(SheetIndex));
    FBoundSheets.Delete(SheetIndex);
}

void TBoundSheetList::InsertSheet(int32_t BeforeSheet, uint16_t OptionFlags, const QString &SheetName)
{
    const QString Name = FSheetNames.AddUniqueName(SheetName);
    try {
        std::unique_ptr<TBoundSheetRecord> r(TBoundSheetRecord::CreateNew(OptionFlags, Name));
        FBoundSheets.Insert(BeforeSheet, r.get());
        r.release();
    } catch (...) {
        // The name list must not keep a sheet that was not made.
        FSheetNames.DeleteSheet(Name);
        throw;
    }
}

void TBoundSheetList::Clear()
{
    FSheetNames.Clear();
    FBoundSheets.Clear();
}

void TBoundSheetList::CheckSheet(int32_t SheetIndex) const
{
    if (SheetIndex < 0 || SheetIndex >= FBoundSheets.Count())
        throw Exception(
            Format(QString::fromLatin1(SInvalidSheetNumber), {SheetIndex, 0, FBoundSheets.Count() - 1}));
}

void TBoundSheetList::SaveToStream(TOle2File *DataStream) { FBoundSheets.SaveToStream(DataStream); }

void TBoundSheetList::SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex)
{
    CheckSheet(SheetIndex);
    FBoundSheets.Items(SheetIndex)->SaveToStream(DataStream);
}

int64_t TBoundSheetList::TotalSize() { return FBoundSheets.GetTotalSize(); }

int64_t TBoundSheetList::TotalRangeSize(int32_t SheetIndex)
{
    CheckSheet(SheetIndex);
    return FBoundSheets.Items(SheetIndex)->TotalSize();
}

// ---------------------------------------------------------------------------------------------
// TWorkbookGlobals

TWorkbookGlobals::TWorkbookGlobals() = default;

TWorkbookGlobals::~TWorkbookGlobals() { TWorkbookGlobals::Clear(); }

void TWorkbookGlobals::Clear()
{
    TBaseSection::Clear();
    // The placeholders go before the lists they stand for.
    FMiscRecords.Clear();
    FSST.Clear();
    FReferences.Clear();
    FBoundSheets.Clear();
    FNames.Clear();
    FDrawingGroup.Clear();
    FXF.Clear();
    FFonts.Clear();
    FFormats.Clear();
    FPaletteCache = nullptr;
    FPaletteIndex = 0;
    FWindow1 = nullptr;
    F1904 = nullptr;
    FBookBool = nullptr;
    FPrecision = nullptr;
    FHasMacro = false;
    FIsXltTemplate = false;
    FCodeName.clear();
}

void TWorkbookGlobals::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First,
                                      TSST *)
{
    std::unique_ptr<TBOFRecord> Bof(First);
    Clear();
    bool HasXF = false, HasFont = false, HasFormat = false;
    uint16_t LastId = 0;
    do {
        std::unique_ptr<TBaseRecord> R(LoadSectionRecord(DataStream, RecordHeader));
        LastId = R->Id;
        TBaseRecord *r = R.get();

        if (dynamic_cast<TBOFRecord *>(r))
            ErrExcelInvalid();
        if (dynamic_cast<TXFRecord *>(r)) {
            if (!HasXF)
                FMiscRecords.Add(TSubListRecord::CreateAndAssign(&FXF));
            HasXF = true;
            FPaletteIndex = FMiscRecords.Count();
        } else if (dynamic_cast<TFontRecord *>(r)) {
            if (!HasFont)
                FMiscRecords.Add(TSubListRecord::CreateAndAssign(&FFonts));
            HasFont = true;
        } else if (dynamic_cast<TFormatRecord *>(r)) {
            if (!HasFormat)
                FMiscRecords.Add(TSubListRecord::CreateAndAssign(&FFormats));
            HasFormat = true;
        } else if (dynamic_cast<TStyleRecord *>(r)) {
            FPaletteIndex = FMiscRecords.Count();
        } else if (dynamic_cast<TObProjRecord *>(r)) {
            FHasMacro = true;
        } else if (auto *cn = dynamic_cast<TCodeNameRecord *>(r)) {
            FCodeName = cn->SheetName();
        }

        if (dynamic_cast<TIgnoreRecord *>(r)) {
            // dropped
        } else if (auto *bs = dynamic_cast<TBoundSheetRecord *>(r)) {
            FBoundSheets.Add(bs);
            R.release();
        } else if (auto *name = dynamic_cast<TNameRecord *>(r)) {
            FNames.Add(name);
            R.release();
        } else if (auto *xf = dynamic_cast<TXFRecord *>(r)) {
            FXF.Add(xf);
            R.release();
        } else if (auto *font = dynamic_cast<TFontRecord *>(r)) {
            FFonts.Add(font);
            R.release();
        } else if (auto *fmt = dynamic_cast<TFormatRecord *>(r)) {
            FFormats.Add(fmt);
            R.release();
        } else if (auto *eof = dynamic_cast<TEOFRecord *>(r)) {
            FEOF = eof;
            R.release();
        } else if (auto *sst = dynamic_cast<TSSTRecord *>(r)) {
            FSST.Load(sst);
        } else if (auto *sb = dynamic_cast<TSupBookRecord *>(r)) {
            FReferences.AddSupBook(sb);
            R.release();
        } else if (auto *en = dynamic_cast<TExternNameRecord *>(r)) {
            FReferences.AddExternName(en);
            R.release();
        } else if (dynamic_cast<TExternSheetRecord *>(r)) {
            FReferences.AddExternRef(r);
        } else if (auto *dg = dynamic_cast<TDrawingGroupRecord *>(r)) {
            R.release();
            FDrawingGroup.LoadFromStream(DataStream, RecordHeader, dg);
        } else if (dynamic_cast<TTemplateRecord *>(r)) {
            FIsXltTemplate = true;
        } else {
            FMiscRecords.Add(R.release());
            if (auto *w = dynamic_cast<TWindow1Record *>(r))
                FWindow1 = w;
            else if (auto *d = dynamic_cast<T1904Record *>(r))
                F1904 = d;
            else if (auto *b = dynamic_cast<TBookBoolRecord *>(r))
                FBookBool = b;
            else if (auto *p = dynamic_cast<TPrecisionRecord *>(r))
                FPrecision = p;
            else if (auto *pal = dynamic_cast<TPaletteRecord *>(r))
                FPaletteCache = pal;
        }
    } while (LastId != xlr_EOF);
    FBOF = Bof.release();
}

void TWorkbookGlobals::SaveMiscRecords(TOle2File *DataStream)
{
    TBaseRecordList *const Lists[3] = {&FFonts, &FFormats, &FXF};
    bool Placed[3] = {false, false, false}, Written[3] = {false, false, false};
    for (int i = 0; i < FMiscRecords.Count(); ++i)
        if (auto *s = dynamic_cast<TSubListRecord *>(FMiscRecords.Items(i)))
            for (int k = 0; k < 3; ++k)
                Placed[k] = Placed[k] || s->FSubList == Lists[k];
    const bool AnyPlaced = Placed[0] || Placed[1] || Placed[2];
    // The lists without a placeholder in FromK .. ToK - 1 that are not written yet.
    const auto WriteMissing = [&](int FromK, int ToK) {
        for (int k = FromK; k < ToK; ++k)
            if (!Placed[k] && !Written[k]) {
                Lists[k]->SaveToStream(DataStream);
                Written[k] = true;
            }
    };
    for (int i = 0; i < FMiscRecords.Count(); ++i) {
        TBaseRecord *r = FMiscRecords.Items(i);
        auto *s = dynamic_cast<TSubListRecord *>(r);
        int k = 3;
        while (s && k > 0 && s->FSubList != Lists[k - 1])
            --k;
        if (s && k > 0) {
            --k;
            WriteMissing(0, k);
            r->SaveToStream(DataStream);
            Written[k] = true;
            if (!std::any_of(Placed + k + 1, Placed + 3, [](bool b) { return b; }))
                WriteMissing(k + 1, 3);
            continue;
        }
        if (!AnyPlaced && dynamic_cast<TStyleRecord *>(r))
            WriteMissing(0, 3);
        if (r)
            r->SaveToStream(DataStream);
    }
    WriteMissing(0, 3);
}

void TWorkbookGlobals::SaveSection(TOle2File *DataStream, int32_t SheetIndex, bool WithDrawing)
{
    CheckLoaded();
    FBOF->SaveToStream(DataStream);
    if (FIsXltTemplate)
        TTemplateRecord::SaveNewRecord(DataStream);
    SaveMiscRecords(DataStream);
    if (SheetIndex < 0)
        FBoundSheets.SaveToStream(DataStream);
    else
        FBoundSheets.SaveRangeToStream(DataStream, SheetIndex);
    FReferences.SaveToStream(DataStream);
    FNames.SaveToStream(DataStream);
    if (WithDrawing)
        FDrawingGroup.SaveToStream(DataStream);
    FSST.SaveToStream(DataStream);
    FEOF->SaveToStream(DataStream);
}

int64_t TWorkbookGlobals::SectionSize(int32_t SheetIndex, bool WithDrawing)
{
    return TTemplateRecord::GetSize(FIsXltTemplate) + TBaseSection::TotalSize() + FSST.TotalSize()
           + FReferences.TotalSize()
           + (SheetIndex < 0 ? FBoundSheets.TotalSize() : FBoundSheets.TotalRangeSize(SheetIndex))
           + FMiscRecords.GetTotalSize() + FNames.GetTotalSize() + (WithDrawing ? FDrawingGroup.TotalSize() : 0) + FXF.GetTotalSize()
           + FFonts.GetTotalSize() + FFormats.GetTotalSize();
}

void TWorkbookGlobals::SaveToStream(TOle2File *DataStream) { SaveSection(DataStream, -1, true); }

void TWorkbookGlobals::SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &)
{
    // A negative index would mean every sheet.
    FBoundSheets.TotalRangeSize(SheetIndex);
    SaveSection(DataStream, SheetIndex, false);
}

int64_t TWorkbookGlobals::TotalSize() { return SectionSize(-1, true); }

int64_t TWorkbookGlobals::TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &)
{
    FBoundSheets.TotalRangeSize(SheetIndex);
    return SectionSize(SheetIndex, false);
}

// ---------------------------------------------------------------------------------------------
// Options

void TWorkbookGlobals::SetActiveSheet(int32_t Value)
{
    if (FWindow1)
        FWindow1->SetActiveSheet(Value);
}

void TWorkbookGlobals::SetFirstSheetVisible(int32_t Index)
{
    if (FWindow1)
        FWindow1->SetFirstSheetVisible(Index);
}

void TWorkbookGlobals::SetIs1904(bool Value)
{
    if (F1904)
        F1904->SetIs1904(Value);
}

void TWorkbookGlobals::SetPrecisionAsDisplayed(bool Value)
{
    if (FPrecision)
        FPrecision->SetPrecisionAsDisplayed(Value);
}

void TWorkbookGlobals::SetSaveExternalLinkValues(bool Value)
{
    if (FBookBool)
        FBookBool->SetSaveExternalLinkValues(Value);
}

// ---------------------------------------------------------------------------------------------
// Sheets

void TWorkbookGlobals::SetSheetName(int32_t Index, const QString &Value)
{
    const QString Name = TSheetNameList::MakeValidSheetName(Value);
    TBoundSheetRecordList &Sheets = FBoundSheets.BoundSheets();
    const QString Old = Sheets.GetSheetName(Index);
    FBoundSheets.SheetNames().Rename(Old, Name);
    Sheets.SetSheetName(Index, Name);
}

void TWorkbookGlobals::InsertSheets(int32_t CopyFrom, int32_t BeforeSheet, uint16_t OptionFlags,
                                    const QString &Name, int32_t SheetCount)
{
    for (int32_t i = 0; i < SheetCount; ++i)
        FBoundSheets.InsertSheet(BeforeSheet, OptionFlags, Name);
    FReferences.InsertSheets(BeforeSheet, SheetCount);
    TSheetInfo SheetInfo;
    SheetInfo.InsSheet = -1;
    SheetInfo.FormulaSheet = CopyFrom < BeforeSheet ? CopyFrom : CopyFrom + SheetCount;
    SheetInfo.GetSheet = [this](int32_t SheetRef) { return FReferences.GetSheet(SheetRef); };
    SheetInfo.SetSheet = [this](int32_t Sheet) { return FReferences.SetSheet(Sheet); };
    SheetInfo.Names = &FNames;
    FNames.InsertSheets(CopyFrom, BeforeSheet, SheetCount, SheetInfo);
}

void TWorkbookGlobals::DeleteSheets(int32_t SheetIndex, int32_t SheetCount)
{
    if (FHasMacro)
        throw Exception(QString::fromLatin1(SNoDeleteWithMacros));
    if (SheetCount <= 0)
        return;
    // Nothing is deleted unless all of them exist.
    if (SheetIndex < 0 || SheetIndex + SheetCount > FBoundSheets.BoundSheets().Count())
        ListIndexError(SheetIndex < 0 ? SheetIndex : SheetIndex + SheetCount - 1);
    for (int32_t i = 0; i < SheetCount; ++i)
        FBoundSheets.DeleteSheet(SheetIndex);
    FReferences.InsertSheets(SheetIndex, -SheetCount);
    FNames.DeleteSheets(SheetIndex, SheetCount);
}

// ---------------------------------------------------------------------------------------------
// Rows and columns

void TWorkbookGlobals::DeleteRowsAndCols(uint16_t aRow, uint16_t aRowCount, uint16_t aCol, uint16_t aColCount,
                                         const TSheetInfo &SheetInfo)
{
    FNames.ArrangeInsertRowsAndCols(aRow, -int32_t(aRowCount), aCol, -int32_t(aColCount), SheetInfo);
}

void TWorkbookGlobals::InsertAndCopyRowsAndCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow,
                                                int32_t aRowCount, int32_t FirstCol, int32_t LastCol,
                                                int32_t DestCol, int32_t aColCount, const TSheetInfo &SheetInfo)
{
    FNames.ArrangeInsertRowsAndCols(DestRow, (LastRow - FirstRow + 1) * aRowCount, DestCol,
                                    (LastCol - FirstCol + 1) * aColCount, SheetInfo);
}

// ---------------------------------------------------------------------------------------------
// Palette

uint32_t TWorkbookGlobals::GetColorPalette(int32_t Index) const
{
    return FPaletteCache ? FPaletteCache->GetColor(Index) : StandardPaletteColor(Index);
}

void TWorkbookGlobals::SetColorPalette(int32_t Index, uint32_t Value)
{
    if (!FPaletteCache) {
        std::unique_ptr<TPaletteRecord> p(TPaletteRecord::CreateStandard());
        FMiscRecords.Insert(std::clamp(FPaletteIndex, 0, FMiscRecords.Count()), p.get());
        FPaletteCache = p.release();
    }
    FPaletteCache->SetColor(Index, Value);
}

// ---------------------------------------------------------------------------------------------
// Names

bool TWorkbookGlobals::IsValidRangeName(const QString &Name, int32_t &OptionFlags)
{
    if (Name.isEmpty() || Name.size() > MaxNameLength || Name == QLatin1String("R") || Name == QLatin1String("r"))
        return false;
    if (Name.size() == 1 && Name[0].unicode() < 14) {
        OptionFlags |= 0x20;
        return true;
    }
    for (QChar c : Name)
        if (ForbiddenInName(c.unicode()))
            return false;
    const QChar First = Name[0];
    if (First < u'A')
        return false;
    if (!IsAsciiLetter(First) || Name.size() == 1)
        return true;
    // Letters and digits that read as a cell address are not names.
    if (IsAsciiLetter(Name[1]))
        return Name.size() == 2 || HasNonDigitFrom(Name, 2);
    return HasNonDigitFrom(Name, 1);
}

void TWorkbookGlobals::AddName(TXlsNamedRange Range, IFormulaCellList *CellList)
{
    const bool Valid = IsValidRangeName(Range.Name, Range.OptionFlags);
    const TGetSheetName SheetName = [this](int32_t Sheet) { return GetSheetName(Sheet); };
    const QString Upper = AnsiUpperCase(Range.Name);
    for (int i = 0; i < FNames.Count(); ++i) {
        const TNameRecord *n = FNames.Items(i);
        if (n->RangeSheet() == Range.NameSheetIndex && AnsiUpperCase(n->Name()) == Upper) {
            FNames.SetItems(i, TNameRecord::CreateFromData(Range, SheetName, CellList));
            return;
        }
    }
    if (!Valid)
        throw Exception(Format(QString::fromLatin1(SInvalidName), {Range.Name}));
    FNames.Add(TNameRecord::CreateFromData(Range, SheetName, CellList));
    CheckInternalNames(Range.OptionFlags);
}

TNameRecord *TWorkbookGlobals::GetName(int32_t Sheet, const QString &aName) const
{
    const QString Upper = AnsiUpperCase(aName);
    for (int i = FNames.Count() - 1; i >= 0; --i) {
        TNameRecord *n = FNames.Items(i);
        if (n->RangeSheet() == Sheet && AnsiUpperCase(n->Name()) == Upper)
            return n;
    }
    return nullptr;
}

void TWorkbookGlobals::CheckInternalNames(int32_t OptionFlags)
{
    if (OptionFlags & 0x20)
        DeleteCountry();
}

void TWorkbookGlobals::DeleteCountry()
{
    for (int i = FMiscRecords.Count() - 1; i >= 0; --i)
        if (FMiscRecords.Items(i) && FMiscRecords.Items(i)->Id == xlr_COUNTRY) {
            FMiscRecords.Delete(i);
            return;
        }
}
