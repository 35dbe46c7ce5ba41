#include "xlsAdapter/workbook/duzUXlsWorkbook.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/drawing/duzUEscherRecords.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/workbook/duzUXlsChartSheet.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <QSet>
#include <memory>

namespace {

const char *const SInvalidSheetNumber = "Sheet number \"%d\" invalid. Must be between %d and %d";
const char *const SNoVisibleSheetSelected = "To save this file, you must select a visible sheet";

constexpr uint16_t BOFGlobals = 0x0005;
constexpr uint16_t BOFWorksheet = 0x0010;
constexpr uint16_t BOFChart = 0x0020;


[[noreturn]] void InvalidSheetNumber(int32_t Sheet, int32_t Min, int32_t Max)
{
    throw Exception(Format(QString::fromLatin1(SInvalidSheetNumber), {Sheet, Min, Max}));
}

TSheet *NewSheet(uint16_t BOFType, TWorkbookGlobals *Globals)
{
    switch (BOFType) {
    case BOFWorksheet:
        return new TWorkSheet(Globals);
    case BOFChart:
        return new TWbChart(Globals);
    default:
        return new TWbUnsupportedSheet(Globals);
    }
}

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A decimal number of any length, plus one, without leading zeros.
QString Incremented(const QString &Number)
{
    QString n = Number;
    while (n.size() > 1 && n[0] == u'0')
        n.remove(0, 1);
    int i = int(n.size()) - 1;
    for (; i >= 0; --i) {
        if (n[i] != u'9') {
            n[i] = QChar(n[i].unicode() + 1);
            return n;
        }
        n[i] = u'0';
    }
    return QStringLiteral("1") + n;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSheetList

void TSheetList::DeleteSheets(int32_t SheetPos, int32_t SheetCount)
{
    for (int32_t k = 0; k < SheetCount && SheetPos < Count(); ++k) {
        if (auto *w = dynamic_cast<TWorkSheet *>(Items(SheetPos)))
            w->Clear();
        Delete(SheetPos);
    }
}

void TSheetList::SaveToStream(TOle2File *DataStream)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->SaveToStream(DataStream);
}

// ---------------------------------------------------------------------------------------------
// TWorkbook

TWorkbook::TWorkbook() : FGlobals(new TWorkbookGlobals()), FSheets(new TSheetList()) {}

TWorkbook::~TWorkbook()
{
    // The sheets refer to the globals' strings and pictures.
    delete FSheets;
    delete FGlobals;
}

void TWorkbook::LoadFromStream(TOle2File *DataStream)
{
    try {
        LoadSections(DataStream);
    } catch (...) {
        // A refused file leaves an empty workbook, not the part of it that was read.
        FSheets->Clear();
        FGlobals->Clear();
        throw;
    }
}

void TWorkbook::LoadSections(TOle2File *DataStream)
{
    FSheets->Clear();
    FGlobals->Clear();

    bool GlobalsRead = false;
    TRecordHeader RecordHeader;
    RecordHeader.Id = 0;
    RecordHeader.Size = 0;
    if (!DataStream->NextEof(3)) {
        uint8_t h[4];
        DataStream->ReadMem(h, 4);
        RecordHeader.Id = GetWord(h, 0);
        RecordHeader.Size = GetWord(h, 2);
    }

    while (!DataStream->NextEof(3) && RecordHeader.Id != 0) {
        const uint16_t Id = RecordHeader.Id;
        std::unique_ptr<TBaseRecord> R(LoadRecord(DataStream, RecordHeader));
        if (Id == xlr_BOF) {
            auto *Bof = static_cast<TBOFRecord *>(R.get());
            if (Bof->BOFType() == BOFGlobals) {
                // Sheets already read point into the globals' strings and pictures, which a
                // second load of the globals would free under them.
                if (FSheets->Count() > 0)
                    ErrExcelInvalid();
                R.release();
                FGlobals->LoadFromStream(DataStream, RecordHeader, Bof, &FGlobals->SST());
                GlobalsRead = true;
            } else {
                TSheet *Sheet = NewSheet(Bof->BOFType(), FGlobals);
                FSheets->Add(Sheet);
                R.release();
                Sheet->LoadFromStream(DataStream, RecordHeader, Bof, &FGlobals->SST());
            }
        } else if (Id != xlr_EOF) {
            ErrExcelInvalid();
        }
        // Whatever follows the last sheet is not part of the workbook.
        if (FGlobals->SheetCount() > 0 && FSheets->Count() >= FGlobals->SheetCount())
            break;
    }
    // Without its globals, or with a sheet of the globals' list missing, the workbook would
    // open as less than the file holds.
    if (!GlobalsRead || FGlobals->SheetCount() == 0)
        ErrExcelInvalid();
    CheckSheetCount();

    FGlobals->SST().Sort();
    if (TEscherBStoreRecord *BStore = FGlobals->DrawingGroup().RecordCache()->BStore)
        BStore->ContainedRecords()->Sort();
}

void TWorkbook::SaveToStream(TOle2File *DataStream, bool NeedsRecalc)
{
    FixCodeNames();
    FixSheetRows();
    FixBoundSheetOffsets(NeedsRecalc);
    FGlobals->SetFirstSheetVisible(FirstVisibleSheet());
    FGlobals->SaveToStream(DataStream);
    FSheets->SaveToStream(DataStream);
}

void TWorkbook::SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange,
                                  bool NeedsRecalc)
{
    FixCodeNames();
    FixSheetRows();
    FixRangeBoundSheetOffset(SheetIndex, CellRange, NeedsRecalc);
    FGlobals->SaveRangeToStream(DataStream, SheetIndex, CellRange);
    FSheets->Items(SheetIndex)->SaveRangeToStream(DataStream, SheetIndex, CellRange);
}

void TWorkbook::FixCodeNames()
{
    if (!FGlobals->HasMacro())
        return;
    QSet<QString> Used;
    Used.insert(FGlobals->CodeName().toUpper());
    for (int i = 0; i < FSheets->Count(); ++i)
        if (!FSheets->Items(i)->CodeName().isEmpty())
            Used.insert(FSheets->Items(i)->CodeName().toUpper());

    for (int i = 0; i < FSheets->Count(); ++i) {
        TSheet *Sheet = FSheets->Items(i);
        if (!Sheet->CodeName().isEmpty())
            continue;
        const QString Name = FGlobals->GetSheetName(i);
        int k = int(Name.size());
        while (k > 0 && IsAsciiDigit(Name[k - 1]))
            --k;
        const QString Base = Name.left(k);
        QString Digits = Name.mid(k);
        QString Num = Digits.isEmpty() ? QStringLiteral("0") : Digits;
        while (Used.contains(Base.toUpper() + Digits)) {
            Num = Incremented(Num);
            Digits = Num;
        }
        Sheet->SetCodeName(Base + Digits);
        Used.insert(Base.toUpper() + Digits);
    }
}

void TWorkbook::FixSheetRows()
{
    for (int32_t i = 0; i < FGlobals->SheetCount(); ++i)
        FSheets->Items(i)->FixRows();
}

void TWorkbook::CheckSheetCount() const
{
    if (FGlobals->SheetCount() != FSheets->Count())
        ErrExcelInvalid();
}

void TWorkbook::FixBoundSheetOffsets(bool NeedsRecalc)
{
    FGlobals->SST().FixRefs();
    int64_t Offset = FGlobals->TotalSize();
    CheckSheetCount();
    for (int i = 0; i < FSheets->Count(); ++i) {
        FGlobals->SheetSetOffset(i, uint32_t(Offset));
        Offset += FSheets->Items(i)->FixTotalSize(NeedsRecalc);
    }
}

void TWorkbook::FixRangeBoundSheetOffset(int32_t SheetIndex, const TXlsCellRange &CellRange, bool NeedsRecalc)
{
    FGlobals->SST().FixRefs();
    const int64_t Offset = FGlobals->TotalRangeSize(SheetIndex, CellRange);
    CheckSheetCount();
    FSheets->Items(SheetIndex)->FixTotalSize(NeedsRecalc);
    FGlobals->SheetSetOffset(SheetIndex, uint32_t(Offset));
}

int32_t TWorkbook::FirstVisibleSheet() const
{
    int32_t First = -1;
    for (int i = FSheets->Count() - 1; i >= 0; --i) {
        if (FGlobals->GetSheetVisible(i) == sv_Visible)
            First = i;
        else if (FSheets->Items(i)->Selected())
            throw Exception(QString::fromLatin1(SNoVisibleSheetSelected));
    }
    if (First < 0)
        ErrNoVisibleSheets();
    return First;
}

void TWorkbook::InsertSheets(int32_t CopyFrom, int32_t InsertBefore, int32_t SheetCount)
{
    if (CopyFrom >= FSheets->Count())
        InvalidSheetNumber(CopyFrom, -1, FSheets->Count() - 1);
    // A negative position would reach the globals' sheet list unchecked.
    if (InsertBefore < 0 || InsertBefore > FSheets->Count())
        InvalidSheetNumber(InsertBefore, 0, FSheets->Count());
    Assert(CopyFrom < 0, QStringLiteral("Sheets can only be inserted empty"));

    FGlobals->InsertSheets(CopyFrom, InsertBefore, 0, QStringLiteral("Sheet"), SheetCount);
    for (int32_t k = 0; k < SheetCount; ++k)
        FSheets->Insert(InsertBefore, TWorkSheet::CreateFromData(FGlobals, &FGlobals->SST()));
}

void TWorkbook::DeleteSheets(int32_t SheetPos, int32_t SheetCount)
{
    if (SheetPos < 0 || SheetPos > FSheets->Count())
        InvalidSheetNumber(SheetPos, 0, FSheets->Count());
    FGlobals->DeleteSheets(SheetPos, SheetCount);
    FSheets->DeleteSheets(SheetPos, SheetCount);
}

void TWorkbook::InsertHPageBreak(int32_t SheetNo, uint16_t aRow) { FSheets->Items(SheetNo)->InsertHPageBreak(aRow); }

void TWorkbook::InsertVPageBreak(int32_t SheetNo, uint16_t aCol) { FSheets->Items(SheetNo)->InsertVPageBreak(aCol); }

bool TWorkbook::IsWorksheet(int32_t Index) const { return dynamic_cast<TWorkSheet *>(FSheets->Items(Index)) != nullptr; }

void TWorkbook::RestoreObjectCoords(int32_t dSheet) { FSheets->Items(dSheet)->RestoreObjectCoords(); }

void TWorkbook::SetActiveSheet(int32_t Value)
{
    TSheet *Active = FSheets->Items(Value);
    for (int i = 0; i < FSheets->Count(); ++i)
        FSheets->Items(i)->SetSelected(false);
    FGlobals->SetActiveSheet(Value);
    Active->SetSelected(true);
}

TWorkSheet *TWorkbook::WorkSheets(int32_t Index) const
{
    auto *w = dynamic_cast<TWorkSheet *>(FSheets->Items(Index));
    if (!w)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    return w;
}
