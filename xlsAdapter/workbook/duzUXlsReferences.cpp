#include "xlsAdapter/workbook/duzUXlsReferences.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {


// Entries per EXTERNSHEET or CONTINUE record: 1370 × 6 = 8220 data bytes.
constexpr int32_t RefsPerRecord = 1370;
constexpr int32_t MaxSheetNumber = 65000;


} // namespace

[[noreturn]] void XlsRangeError(int32_t Index, const QString &Property, int32_t Count)
{
    XlsIndexError(Index, Property, 0, Count - 1);
}

// ---------------------------------------------------------------------------------------------
// EXTERNNAME

TExternNameRecord::TExternNameRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(8);
    if (8 + (NameLength() << (Data[7] & 1)) > DataSize)
        Invalid();
}

QString TExternNameRecord::Name() const
{
    const int32_t n = NameLength();
    QString Result(n, QChar());
    for (int32_t i = 0; i < n; ++i)
        Result[i] = QChar(char16_t(Data[7] & 1 ? GetWord(Data, 8 + 2 * i) : Data[8 + i]));
    return Result;
}

// ---------------------------------------------------------------------------------------------
// SUPBOOK

TSupBookRecord::TSupBookRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
}

TSupBookRecord::~TSupBookRecord() = default;

TSupBookRecord *TSupBookRecord::CreateEmpty(int32_t SheetCount)
{
    auto *d = new uint8_t[4];
    SetWord(d, 0, SheetCount);
    d[2] = 0x01;
    d[3] = 0x04;
    return new TSupBookRecord(xlr_SUPBOOK, d, 4);
}

QString DecodeBookPath(const QString &Encoded)
{
    QString Result;
    for (qsizetype i = 0; i < Encoded.size(); ++i) {
        const QChar c = Encoded[i];
        switch (c.unicode()) {
        case 1:
            // A drive letter, or "@" for a UNC path; a 1 that ends the text stands for nothing.
            if (i + 1 < Encoded.size()) {
                const QChar d = Encoded[++i];
                Result += d == u'@' ? QStringLiteral("\\\\") : QString(d) + QStringLiteral(":\\");
            }
            break;
        case 2:
        case 3:
            Result += u'\\';
            break;
        case 4:
            Result += QStringLiteral("..\\");
            break;
        default:
            Result += c;
            break;
        }
    }
    return Result;
}

QString TSupBookRecord::BookName() const
{
    if (IsLocal() || IsAddIn())
        return QString();
    int64_t Size = 0;
    QString s;
    ReadStrData(true, Data, 2, DataSize, Size, s);
    if (s.isEmpty())
        return s;
    switch (s[0].unicode()) {
    case 0:
    case 2:
        return QString();
    case 1:
        return DecodeBookPath(s.mid(1));
    default:
        return s;
    }
}

QString TSupBookRecord::SheetName(int32_t SheetIndex, TWorkbookGlobals *Globals) const
{
    if (SheetIndex < 0 || SheetIndex >= SheetCount())
        return QString();
    // A count that promises more sheets than the workbook has names nothing beyond them.
    if (IsLocal())
        return Globals && SheetIndex < Globals->SheetCount() ? Globals->GetSheetName(SheetIndex) : QString();
    int64_t Pos = 2, Size = 0;
    QString s;
    for (int32_t i = 0; i <= SheetIndex + 1; ++i) {
        ReadStrData(true, Data, int32_t(Pos), DataSize, Size, s);
        Pos += Size;
    }
    return s;
}

void TSupBookRecord::InsertSheets(int32_t SheetCount)
{
    if (!IsLocal())
        ErrExcelInvalid();
    IncWord(Data, 0, SheetCount, MaxSheetNumber);
}

void TSupBookRecord::SaveToStream(TOle2File *Workbook)
{
    TBaseRecord::SaveToStream(Workbook);
    FExternNameList.SaveToStream(Workbook);
}

int32_t TSupBookRecord::TotalSize() const
{
    int32_t n = TBaseRecord::TotalSize();
    for (int i = 0; i < FExternNameList.Count(); ++i)
        n += FExternNameList.Items(i)->TotalSize();
    return n;
}

int32_t TSupBookRecord::TotalSizeNoHeaders() const
{
    int32_t n = TBaseRecord::TotalSizeNoHeaders();
    for (int i = 0; i < FExternNameList.Count(); ++i)
        n += FExternNameList.Items(i)->TotalSizeNoHeaders();
    return n;
}

TBaseRecord *TSupBookRecord::DoCopyTo() const
{
    std::unique_ptr<TSupBookRecord> r(static_cast<TSupBookRecord *>(TBaseRecord::DoCopyTo()));
    for (int i = 0; i < FExternNameList.Count(); ++i)
        r->FExternNameList.Add(CopyOf(FExternNameList.Items(i)));
    return r.release();
}

int64_t TSupBookRecordList::TotalSize()
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->TotalSize();
    return n;
}

// ---------------------------------------------------------------------------------------------
// EXTERNSHEET entries

void TExternRef::SaveToStream(TOle2File *DataStream) const
{
    DataStream->Write16(SupBookRecord);
    DataStream->Write16(FirstSheet);
    DataStream->Write16(LastSheet);
}

void TReferences::AddSupBook(TSupBookRecord *aRecord)
{
    const int Index = FSupBooks.Add(aRecord);
    if (aRecord->IsLocal())
        LocalSupBook = Index;
}

void TReferences::AddExternName(TExternNameRecord *aRecord)
{
    if (FSupBooks.Count() == 0)
        ErrExcelInvalid();
    FSupBooks.Items(FSupBooks.Count() - 1)->AddExternName(aRecord);
}

void TReferences::AddExternRef(TBaseRecord *aRecord)
{
    TBaseRecord *r = aRecord;
    int32_t Pos = 0;
    uint8_t w[6];
    ReadRecordMem(r, Pos, 2, w);
    const int32_t n = GetWord(w, 0);
    // The count must fit the data before anything is made from it.
    if (RemainingRecordBytes(r, Pos) < int64_t(n) * 6)
        ErrorReadingRecord();
    for (int32_t i = 0; i < n; ++i) {
        ReadRecordMem(r, Pos, 6, w);
        FExternRefs.Add(new TExternRef(GetWord(w, 0), GetWord(w, 2), GetWord(w, 4)));
    }
}

void TReferences::Clear()
{
    FSupBooks.Clear();
    FExternRefs.Clear();
    LocalSupBook = -1;
}

const TExternRef *TReferences::CheckedRef(int32_t SheetRef) const
{
    const int32_t Ref = uint16_t(SheetRef);
    if (Ref >= FExternRefs.Count())
        XlsRangeError(Ref, QStringLiteral("Sheet Reference"), FExternRefs.Count());
    return FExternRefs.Items(Ref);
}

int32_t TReferences::GetSheet(int32_t SheetRef) const
{
    const TExternRef *Ref = CheckedRef(SheetRef);
    if (IsLocalRef(Ref) && Ref->FirstSheet == Ref->LastSheet)
        return Ref->FirstSheet;
    return -1;
}

int32_t TReferences::SetSheet(int32_t Sheet)
{
    // An entry needs this workbook's SUPBOOK to point to.
    if (LocalSupBook < 0)
        ErrExcelInvalid();
    for (int i = 0; i < FExternRefs.Count(); ++i) {
        const TExternRef *Ref = FExternRefs.Items(i);
        if (IsLocalRef(Ref) && Ref->FirstSheet == Sheet && Ref->LastSheet == Sheet)
            return i;
    }
    return FExternRefs.Add(new TExternRef(uint16_t(LocalSupBook), uint16_t(Sheet), uint16_t(Sheet)));
}

int32_t TReferences::AddSheet(int32_t SheetCount, int32_t FirstSheet, int32_t LastSheet)
{
    if (LocalSupBook < 0) {
        FSupBooks.Add(TSupBookRecord::CreateEmpty(SheetCount));
        LocalSupBook = FSupBooks.Count() - 1;
    }
    for (int i = 0; i < FExternRefs.Count(); ++i) {
        const TExternRef *Ref = FExternRefs.Items(i);
        if (IsLocalRef(Ref) && Ref->FirstSheet == FirstSheet && Ref->LastSheet == LastSheet)
            return i;
    }
    return FExternRefs.Add(new TExternRef(uint16_t(LocalSupBook), uint16_t(FirstSheet), uint16_t(LastSheet)));
}

TSupBookRecord *TReferences::CheckedSupBook(int32_t Index) const
{
    if (Index < 0 || Index >= FSupBooks.Count())
        XlsRangeError(Index, QStringLiteral("idx"), FSupBooks.Count());
    return FSupBooks.Items(Index);
}

QString TReferences::GetSheetName(int32_t SheetRef, TWorkbookGlobals *Globals) const
{
    const TExternRef *Ref = CheckedRef(SheetRef);
    const TSupBookRecord *SupBook = CheckedSupBook(Ref->SupBookRecord);
    QString Name = SupBook->SheetName(Ref->FirstSheet, Globals);
    if (Ref->LastSheet != Ref->FirstSheet)
        Name += QStringLiteral(":") + SupBook->SheetName(Ref->LastSheet, Globals);
    QString Book = IsLocalRef(Ref) ? QString() : SupBook->BookName();
    if (!Name.isEmpty() && !Book.isEmpty()) {
        const qsizetype p = std::max(Book.lastIndexOf(u'\\'), Book.lastIndexOf(u':'));
        Book.insert(p + 1, u'[');
        Book += u']';
    }
    const QString Result = Book + Name;
    return Result.isEmpty() ? Result : QStringLiteral("'") + Result + QStringLiteral("'!");
}

QString TReferences::GetName(int32_t SheetRef, int32_t NameIndex, TWorkbookGlobals *Globals) const
{
    const int32_t Book = SheetRef < 0 ? LocalSupBook : CheckedRef(SheetRef)->SupBookRecord;
    if (SheetRef < 0 || (LocalSupBook >= 0 && Book == LocalSupBook)) {
        const TNameRecordList &Names = Globals->Names();
        if (NameIndex < 0 || NameIndex >= Names.Count())
            XlsRangeError(NameIndex, QStringLiteral("Name Index"), Names.Count());
        return Names.Items(NameIndex)->Name();
    }
    const TExternNameRecordList &Names = CheckedSupBook(Book)->ExternNames();
    if (NameIndex < 0 || NameIndex >= Names.Count())
        XlsRangeError(NameIndex, QStringLiteral("Name Index"), Names.Count());
    return Names.Items(NameIndex)->Name();
}

void TReferences::InsertSheets(int32_t BeforeSheet, int32_t SheetCount)
{
    if (LocalSupBook < 0)
        return;
    // Everything is computed first, so a refused shift changes nothing.
    const auto Moved = [&](uint16_t v) {
        if (SheetCount < 0 && v >= BeforeSheet && v <= BeforeSheet - SheetCount - 1)
            v = 0xFFFF;
        if (v < 0xFFFE && v >= BeforeSheet)
            IncWordChecked(v, SheetCount, MaxSheetNumber);
        return v;
    };
    std::vector<std::pair<uint16_t, uint16_t>> Sheets(size_t(FExternRefs.Count()));
    for (int i = 0; i < FExternRefs.Count(); ++i) {
        const TExternRef *Ref = FExternRefs.Items(i);
        Sheets[size_t(i)] = IsLocalRef(Ref) ? std::make_pair(Moved(Ref->FirstSheet), Moved(Ref->LastSheet))
                                            : std::make_pair(Ref->FirstSheet, Ref->LastSheet);
    }
    FSupBooks.Items(LocalSupBook)->InsertSheets(SheetCount);
    for (int i = 0; i < FExternRefs.Count(); ++i) {
        FExternRefs.Items(i)->FirstSheet = Sheets[size_t(i)].first;
        FExternRefs.Items(i)->LastSheet = Sheets[size_t(i)].second;
    }
}

void TReferences::SaveToStream(TOle2File *DataStream)
{
    for (int i = 0; i < FSupBooks.Count(); ++i)
        FSupBooks.Items(i)->SaveToStream(DataStream);
    const int32_t n = FExternRefs.Count();
    for (int32_t First = 0; First < n; First += RefsPerRecord) {
        const int32_t k = std::min(RefsPerRecord, n - First);
        if (First == 0) {
            DataStream->WriteHeader(xlr_EXTERNSHEET, uint16_t(2 + 6 * k));
            DataStream->Write16(uint16_t(n));
        } else {
            DataStream->WriteHeader(xlr_CONTINUE, uint16_t(6 * k));
        }
        for (int32_t i = First; i < First + k; ++i)
            FExternRefs.Items(i)->SaveToStream(DataStream);
    }
}

int64_t TReferences::TotalSize()
{
    const int64_t n = FExternRefs.Count();
    return FSupBooks.TotalSize() + (n == 0 ? 0 : n * 6 + 6 + 4 * ((n * 6 - 1) / (RefsPerRecord * 6)));
}
