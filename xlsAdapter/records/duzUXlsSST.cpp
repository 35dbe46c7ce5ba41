#include "xlsAdapter/records/duzUXlsSST.h"

#include "framework/rtl/Exceptions.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace {

const char *const SRefsPositive = "Refs should be >0";

constexpr int32_t MemSSTBlock = 8290304;
constexpr int32_t MaxRecord = 8228; // header and 8224 data bytes

// Offsets inside the string part of an entry.
struct TStrParts
{
    uint16_t Count = 0;
    uint8_t Options = 0;
    uint16_t Runs = 0;
    uint32_t FarEast = 0;
    int32_t CharsPos = 0; // from the start of the string
};

TStrParts ReadParts(const uint8_t *Str)
{
    TStrParts p;
    p.Count = GetWord(Str, 0);
    p.Options = Str[2];
    int32_t pos = 3;
    if (p.Options & 8) {
        p.Runs = GetWord(Str, pos);
        pos += 2;
    }
    if (p.Options & 4) {
        p.FarEast = GetLongWord(Str, pos);
        pos += 4;
    }
    p.CharsPos = pos;
    return p;
}

int32_t CharBytes(const TStrParts &p) { return p.Count * (p.Options & 1 ? 2 : 1); }

QString DecodeChars(const uint8_t *Str, const TStrParts &p)
{
    const uint8_t *c = Str + p.CharsPos;
    QString s(p.Count, Qt::Uninitialized);
    for (int32_t i = 0; i < p.Count; ++i)
        s[i] = p.Options & 1 ? QChar(GetWord(c, 2 * i)) : QChar(c[i]);
    return s;
}

// One SST record and its CONTINUE records, assembled in a fixed buffer; without a stream the
// bytes are only counted.
class TSSTWriter
{
public:
    explicit TSSTWriter(TOle2File *aStream) : Stream(aStream)
    {
        SetWord(Buf, 0, xlr_SST);
    }

    void Flush()
    {
        SetWord(Buf, 2, L - 4);
        if (Stream) {
            Stream->WriteMem(Buf, L);
        }
        Written += L;
        SetWord(Buf, 0, xlr_CONTINUE);
        Buf[4] = 0;
        Buf[5] = 0;
        L = 4;
    }
    void Finish()
    {
        SetWord(Buf, 2, L - 4);
        if (Stream)
            Stream->WriteMem(Buf, L);
        Written += L;
    }
    int32_t Room() const { return MaxRecord - L; }

    void WriteString(uint8_t *Entry)
    {
        if (Room() < 32)
            Flush();
        if (Stream) {
            SetLongWord(Entry, 4, uint32_t(Stream->Position() + L));
            SetWord(Entry, 8, L);
        }
        const uint8_t *str = Entry + SSTEntryHeader;
        const TStrParts p = ReadParts(str);
        // Count, option byte, run count and far-east size always fit after the check above.
        std::memcpy(Buf + L, str, size_t(p.CharsPos));
        int32_t optPos = L + 2;
        L += p.CharsPos;

        const bool wide = p.Options & 1;
        const uint8_t *chars = str + p.CharsPos;
        auto charAt = [&](int32_t i) -> uint16_t { return wide ? GetWord(chars, 2 * i) : chars[i]; };
        int32_t cur = 0;
        while (cur < p.Count) {
            const int32_t left = p.Count - cur;
            const int32_t compressed = std::min(left, Room());
            const int32_t wideFit = std::min(left, Room() / 2);
            int32_t fit = compressed;
            if (wide) {
                fit = 0;
                while (fit < compressed && charAt(cur + fit) < 0x100)
                    ++fit;
            }
            if (fit >= wideFit) {
                for (int32_t i = 0; i < fit; ++i)
                    Buf[L + i] = uint8_t(charAt(cur + i));
                Buf[optPos] &= uint8_t(~1);
                L += fit;
                cur += fit;
            } else {
                for (int32_t i = 0; i < wideFit; ++i)
                    SetWord(Buf, L + 2 * i, charAt(cur + i));
                Buf[optPos] |= 1;
                L += 2 * wideFit;
                cur += wideFit;
            }
            if (cur < p.Count) {
                Flush();
                optPos = 4;
                L = 5;
            }
        }
        WriteBlock(chars + CharBytes(p), int64_t(p.Runs) * 4 + p.FarEast);
    }

    // Runs and far-east data, never splitting a 4-byte unit.
    void WriteBlock(const uint8_t *Src, int64_t Size)
    {
        while (Size > 0) {
            const int32_t chunk = int32_t(std::min<int64_t>(Size, (Room() / 4) * 4));
            std::memcpy(Buf + L, Src, size_t(chunk));
            L += chunk;
            Src += chunk;
            Size -= chunk;
            if (Size > 0)
                Flush();
        }
    }

    TOle2File *Stream;
    uint8_t Buf[MaxRecord] = {};
    int32_t L = 12;
    int64_t Written = 0;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TSST

TSST::TSST() : FIndex(0, THash{this}, TEqual{this}) { FMemSST.Buffer.resize(MemSSTBlock); }

size_t TSST::THash::operator()(int32_t h) const
{
    const int32_t size = Owner->EntrySize(h) - SSTEntryHeader;
    return std::hash<std::string_view>()(
        std::string_view(reinterpret_cast<const char *>(Owner->GetEntry(h) + SSTEntryHeader), size_t(size)));
}

bool TSST::TEqual::operator()(int32_t a, int32_t b) const
{
    const int32_t sa = Owner->EntrySize(a);
    return sa == Owner->EntrySize(b) &&
           std::memcmp(Owner->GetEntry(a) + SSTEntryHeader, Owner->GetEntry(b) + SSTEntryHeader,
                       size_t(sa - SSTEntryHeader)) == 0;
}

int32_t TSST::EntrySize(int32_t aEntry) const
{
    const uint8_t *str = GetEntry(aEntry) + SSTEntryHeader;
    const TStrParts p = ReadParts(str);
    return SSTEntryHeader + p.CharsPos + CharBytes(p) + p.Runs * 4 + int32_t(p.FarEast);
}

bool TSST::Less(int32_t a, int32_t b) const
{
    const int32_t sa = EntrySize(a);
    const int32_t sb = EntrySize(b);
    if (sa != sb)
        return sa < sb;
    return std::memcmp(GetEntry(a) + SSTEntryHeader, GetEntry(b) + SSTEntryHeader, size_t(sa - SSTEntryHeader)) < 0;
}

void TSST::Reserve(int32_t Size)
{
    const int64_t end = int64_t(FMemSST.UsedSize) + Size;
    if (end > INT32_MAX)
        ErrInvalidString();
    size_t len = FMemSST.Buffer.size();
    while (int64_t(len) <= end)
        len += MemSSTBlock;
    if (len != FMemSST.Buffer.size())
        FMemSST.Buffer.resize(len);
}

void TSST::Load(TSSTRecord *aSSTRecord)
{
    TBaseRecord *r = aSSTRecord;
    int32_t ofs = 8;
    for (uint32_t i = 0; i < aSSTRecord->Count; ++i) {
        TExcelString es(2, r, ofs);
        const int32_t size = SSTEntryHeader + int32_t(es.TotalSize());
        Reserve(size);
        const int32_t h = FMemSST.UsedSize;
        std::memset(GetEntry(h), 0, SSTEntryHeader);
        es.CopyToPtr(FMemSST.Buffer.data(), h + SSTEntryHeader);
        FMemSST.UsedSize += size;
        FList.push_back(h);
        FIndex.insert(h);
    }
    FKeepSorted = false;
}

void TSST::Clear()
{
    FIndex.clear();
    FList.clear();
    // The buffer keeps its size: entries are built from UsedSize on.
    FMemSST.UsedSize = 0;
    FKeepSorted = true;
    FSortedLen = 0;
}

void TSST::Sort()
{
    std::sort(FList.begin(), FList.end(), [this](int32_t a, int32_t b) { return Less(a, b); });
    FKeepSorted = true;
    FSortedLen = FList.size();
}

void TSST::EnsureSorted()
{
    if (!FKeepSorted || FSortedLen == FList.size())
        return;
    const auto less = [this](int32_t a, int32_t b) { return Less(a, b); };
    const auto mid = FList.begin() + std::ptrdiff_t(FSortedLen);
    std::sort(mid, FList.end(), less);
    std::inplace_merge(FList.begin(), mid, FList.end(), less);
    FSortedLen = FList.size();
}

int32_t TSST::BuildCandidate(const QString &s, const TRTFRunList &RTFRuns)
{
    if (s.size() > 0xFFFF || RTFRuns.size() > 0xFFFF)
        ErrInvalidString();
    const bool wide = IsWide(s);
    const bool rich = !RTFRuns.empty();
    const int32_t size = SSTEntryHeader + 3 + (rich ? 2 : 0) + int32_t(s.size()) * (wide ? 2 : 1) +
                         int32_t(RTFRuns.size()) * 4;
    Reserve(size);
    const int32_t h = FMemSST.UsedSize;
    uint8_t *e = GetEntry(h);
    std::memset(e, 0, SSTEntryHeader);
    int32_t pos = SSTEntryHeader;
    SetWord(e, pos, int32_t(s.size()));
    e[pos + 2] = uint8_t((wide ? 1 : 0) + (rich ? 8 : 0));
    pos += 3;
    if (rich) {
        SetWord(e, pos, int32_t(RTFRuns.size()));
        pos += 2;
    }
    for (QChar c : s) {
        if (wide) {
            SetWord(e, pos, c.unicode());
            pos += 2;
        } else {
            e[pos++] = uint8_t(c.unicode());
        }
    }
    for (const TRTFRun &run : RTFRuns) {
        SetWord(e, pos, run.FirstChar);
        SetWord(e, pos + 2, run.FontIndex);
        pos += 4;
    }
    return h;
}

int32_t TSST::AddString(const QString &s, const TRTFRunList &RTFRuns)
{
    const int32_t h = BuildCandidate(s, RTFRuns);
    const auto found = FIndex.find(h);
    if (found != FIndex.end()) {
        AddRef(*found);
        return *found;
    }
    FMemSST.UsedSize += EntrySize(h);
    SetLongWord(GetEntry(h), 0, 1);
    FList.push_back(h);
    FIndex.insert(h);
    return h;
}

bool TSST::Find(const QString &s, const TRTFRunList &RTFRuns, int32_t &Index)
{
    EnsureSorted();
    const int32_t h = BuildCandidate(s, RTFRuns);
    const auto it = std::lower_bound(FList.begin(), FList.end(), h, [this](int32_t a, int32_t b) { return Less(a, b); });
    Index = int32_t(it - FList.begin());
    return it != FList.end() && !Less(h, *it);
}

void TSST::AddRef(int32_t aEntry) { SetLongWord(GetEntry(aEntry), 0, Refs(aEntry) + 1); }

void TSST::Release(int32_t aEntry)
{
    if (Refs(aEntry) > 0)
        SetLongWord(GetEntry(aEntry), 0, Refs(aEntry) - 1);
}

void TSST::FixRefs()
{
    EnsureSorted();
    size_t kept = 0;
    for (size_t i = 0; i < FList.size(); ++i) {
        const int32_t h = FList[i];
        if (Refs(h) == 0) {
            const auto it = FIndex.find(h);
            if (it != FIndex.end() && *it == h)
                FIndex.erase(it);
        } else {
            FList[kept++] = h;
        }
    }
    FList.resize(kept);
    FSortedLen = FKeepSorted ? kept : 0;
}

QString TSST::EntryText(int32_t aEntry) const
{
    const uint8_t *str = GetEntry(aEntry) + SSTEntryHeader;
    return DecodeChars(str, ReadParts(str));
}

TRTFRunList TSST::EntryRuns(int32_t aEntry) const
{
    const uint8_t *str = GetEntry(aEntry) + SSTEntryHeader;
    const TStrParts p = ReadParts(str);
    TRTFRunList runs(p.Runs);
    const uint8_t *r = str + p.CharsPos + CharBytes(p);
    for (int32_t i = 0; i < p.Runs; ++i)
        runs[size_t(i)] = TRTFRun{GetWord(r, 4 * i), GetWord(r, 4 * i + 2)};
    return runs;
}

int64_t TSST::WriteStrings(TOle2File *DataStream)
{
    TSSTWriter w(DataStream);
    uint32_t total = 0;
    for (size_t i = 0; i < FList.size(); ++i) {
        uint8_t *e = GetEntry(FList[i]);
        if (DataStream) {
            Assert(GetLongWord(e, 0) > 0, QString::fromLatin1(SRefsPositive));
            SetLongWord(e, 12, uint32_t(i));
        }
        total += GetLongWord(e, 0);
    }
    SetLongWord(w.Buf, 4, total);
    SetLongWord(w.Buf, 8, uint32_t(FList.size()));
    for (int32_t h : FList)
        w.WriteString(GetEntry(h));
    w.Finish();
    return w.Written;
}

void TSST::SaveToStream(TOle2File *DataStream)
{
    EnsureSorted();
    WriteStrings(DataStream);
    WriteExtSST(DataStream);
}

int32_t TSST::PerBucket() const { return std::max<int32_t>(Count() / 128 + 1, 8); }

int32_t TSST::Buckets() const { return Count() == 0 ? 0 : (Count() - 1) / PerBucket() + 1; }

void TSST::WriteExtSST(TOle2File *DataStream)
{
    const int32_t per = PerBucket();
    const int32_t buckets = Buckets();
    std::vector<uint8_t> b(size_t(6 + 8 * buckets), 0);
    SetWord(b.data(), 0, xlr_EXTSST);
    SetWord(b.data(), 2, 8 * buckets + 2);
    SetWord(b.data(), 4, per);
    for (int32_t k = 0; k < buckets; ++k) {
        const uint8_t *e = GetEntry(FList[size_t(k * per)]);
        SetLongWord(b.data(), 6 + 8 * k, GetLongWord(e, 4));
        SetWord(b.data(), 10 + 8 * k, GetWord(e, 8));
    }
    DataStream->WriteMem(b.data(), int64_t(b.size()));
}

int64_t TSST::TotalSize()
{
    EnsureSorted();
    return WriteStrings(nullptr) + 8 * Buckets() + 6;
}

// ---------------------------------------------------------------------------------------------
// Text cells

TLabelSSTRecord::TLabelSSTRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(10);
}

TLabelSSTRecord::~TLabelSSTRecord()
{
    if (pSSTEntry >= 0 && SST)
        SST->Release(pSSTEntry);
}

TLabelSSTRecord *TLabelSSTRecord::CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF, TSST *aSST)
{
    TLabelSSTRecord *r = TCellRecord::CreateFromData<TLabelSSTRecord>(xlr_LABELSST, 10, aRow, aCol, aXF);
    r->SST = aSST;
    return r;
}

void TLabelSSTRecord::AttachToSST(TSST *aSST)
{
    const uint32_t index = GetLongWord(Data, 6);
    if (index >= uint32_t(aSST->Count()))
        ErrExcelInvalid();
    if (pSSTEntry >= 0 && SST)
        SST->Release(pSSTEntry);
    SST = aSST;
    pSSTEntry = aSST->Items(int32_t(index));
    SST->AddRef(pSSTEntry);
}

QString TLabelSSTRecord::AsString() const { return pSSTEntry >= 0 && SST ? SST->EntryText(pSSTEntry) : QString(); }

TRichString TLabelSSTRecord::AsRichString() const
{
    if (pSSTEntry < 0 || !SST)
        return TRichString();
    return TRichString{SST->EntryText(pSSTEntry), SST->EntryRuns(pSSTEntry)};
}

void TLabelSSTRecord::SetAsString(const QString &Value) { SetAsRichString(TRichString{Value, {}}); }

void TLabelSSTRecord::SetAsRichString(const TRichString &Value)
{
    Assert(SST != nullptr, QStringLiteral("Text cell without a string table"));
    const int32_t old = pSSTEntry;
    pSSTEntry = SST->AddString(Value.Value, Value.RTFRuns);
    if (old >= 0)
        SST->Release(old);
}

void TLabelSSTRecord::SaveToStream(TOle2File *Workbook)
{
    if (pSSTEntry >= 0 && SST)
        SetLongWord(Data, 6, SST->SavedIndex(pSSTEntry));
    TCellRecord::SaveToStream(Workbook);
}

TBaseRecord *TLabelSSTRecord::DoCopyTo() const
{
    auto *r = static_cast<TLabelSSTRecord *>(TCellRecord::DoCopyTo());
    r->SST = SST;
    r->pSSTEntry = pSSTEntry;
    if (pSSTEntry >= 0 && SST)
        SST->AddRef(pSSTEntry);
    return r;
}

TLabelRecord::TLabelRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(9);
    try {
        StrDataSize(true, Data, 6, DataSize);
    } catch (const Exception &) {
        Invalid();
    }
}

Variant TLabelRecord::Value() const
{
    int64_t size = 0;
    QString text;
    ReadStrData(true, Data, 6, DataSize, size, text);
    return Variant(text);
}

TRStringRecord::TRStringRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(9);
    try {
        AsRichString();
    } catch (const Exception &) {
        Invalid();
    }
}

Variant TRStringRecord::Value() const { return Variant(AsRichString().Value); }

TRichString TRStringRecord::AsRichString() const
{
    TRichString r;
    int64_t size = 0;
    ReadStrData(true, Data, 6, DataSize, size, r.Value);
    int64_t pos = 6 + size;
    if (pos + 2 > DataSize)
        ErrorReadingRecord();
    const uint16_t n = GetWord(Data, int32_t(pos));
    pos += 2;
    if (pos + 4 * int64_t(n) > DataSize)
        ErrorReadingRecord();
    r.RTFRuns.resize(n);
    for (int32_t i = 0; i < n; ++i)
        r.RTFRuns[size_t(i)] = TRTFRun{GetWord(Data, int32_t(pos) + 4 * i), GetWord(Data, int32_t(pos) + 4 * i + 2)};
    return r;
}
