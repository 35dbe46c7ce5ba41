#include "xlsAdapter/records/duzUXlsHyperLink.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {


constexpr int32_t HeadSize = 32;
constexpr int32_t MaxDataSize = 65535;
constexpr int32_t MaxRow = 65535;
constexpr int32_t MaxCol = 255;

// Option flags.
constexpr uint16_t hlHasMoniker = 0x0001;
constexpr uint16_t hlAbsolute = 0x0002;
constexpr uint16_t hlDescription = 0x0014;
constexpr uint16_t hlTextMark = 0x0008;
constexpr uint16_t hlIdentifier = 0x0020;
constexpr uint16_t hlCreationTime = 0x0040;
constexpr uint16_t hlTargetFrame = 0x0080;
constexpr uint16_t hlMonikerAsString = 0x0100;

// {79EAC9D0-BAF9-11CE-8C82-00AA004BA90B}, {79EAC9E0-...}, {00000303-0000-0000-C000-000000000046}
constexpr uint8_t StdLinkClsid[16] = {0xD0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                      0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr uint8_t URLMonikerClsid[16] = {0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                         0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr uint8_t FileMonikerClsid[16] = {0x03, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

const QString ParentStep = QStringLiteral("..\\");


QString CutAtZero(const QString &s)
{
    const qsizetype z = s.indexOf(QChar(0));
    return z < 0 ? s : s.left(z);
}

// Reads a link's parts from its data and stops at the record's end: what a count announces
// beyond it reads as cut, and nothing is allocated for bytes that are not there.
class TLinkReader
{
public:
    TLinkReader(const uint8_t *aData, int32_t aPos, int32_t aEnd) : d(aData), pos(aPos), end(aEnd) {}

    int32_t Pos() const { return pos; }
    void SkipTo(int64_t p) { pos = int32_t(std::clamp<int64_t>(p, pos, end)); }
    void Skip(int64_t n) { SkipTo(pos + n); }
    uint16_t Word()
    {
        if (end - pos < 2) {
            pos = end;
            return 0;
        }
        pos += 2;
        return GetWord(d, pos - 2);
    }
    uint32_t Long()
    {
        if (end - pos < 4) {
            pos = end;
            return 0;
        }
        pos += 4;
        return GetLongWord(d, pos - 4);
    }
    bool NextIs(const uint8_t (&Clsid)[16]) const { return end - pos >= 16 && std::memcmp(d + pos, Clsid, 16) == 0; }
    // n UTF-16 characters, as many of them as the record holds.
    QString Chars(int64_t n)
    {
        const int64_t m = std::clamp<int64_t>(n, 0, (end - pos) / 2);
        QString s{qsizetype(m), QChar()};
        for (int64_t i = 0; i < m; ++i)
            s[qsizetype(i)] = QChar(char16_t(GetWord(d, pos + int32_t(2 * i))));
        Skip(2 * std::max<int64_t>(n, 0));
        return s;
    }
    // n bytes, each the character of its code.
    QString Bytes(int64_t n)
    {
        const int64_t m = std::clamp<int64_t>(n, 0, end - pos);
        const QString s = CompressedToWide(QByteArray(reinterpret_cast<const char *>(d + pos), qsizetype(m)));
        Skip(std::max<int64_t>(n, 0));
        return s;
    }
    // A character count with its zero, the characters and the zero.
    QString LinkString()
    {
        const uint32_t n = Long();
        const QString s = Chars(n > 0 ? int64_t(n) - 1 : 0);
        Skip(n > 0 ? 2 : 0);
        return CutAtZero(s);
    }

private:
    const uint8_t *d;
    int32_t pos;
    int32_t end;
};

class TLinkWriter
{
public:
    void Word(uint32_t v) { Long(v, 2); }
    void Long(uint32_t v, int n = 4)
    {
        for (int i = 0; i < n; ++i)
            b.push_back(uint8_t(v >> (8 * i)));
    }
    void Raw(const uint8_t *p, size_t n) { b.insert(b.end(), p, p + n); }
    void Chars(const QString &s)
    {
        for (QChar c : s)
            Word(c.unicode());
    }
    void LinkString(const QString &s)
    {
        Long(uint32_t(s.size()) + 1);
        Chars(s);
        Word(0);
    }
    std::vector<uint8_t> b;
};

struct TLinkPlace
{
    int32_t FirstRow, LastRow, FirstCol, LastCol;
};

TLinkPlace PlaceOf(const THLinkRecord *r) { return {r->FirstRow(), r->LastRow(), r->FirstCol(), r->LastCol()}; }

void Store(THLinkRecord *r, const TLinkPlace &p)
{
    r->SetFirstRow(p.FirstRow);
    r->SetLastRow(p.LastRow);
    r->SetFirstCol(p.FirstCol);
    r->SetLastCol(p.LastCol);
}

int32_t Checked(int64_t v, int32_t Max)
{
    uint16_t w = 0;
    IncWordChecked(w, int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)), Max);
    return w;
}

// First and Last moved for n places inserted at Top (deleted from Top on, for a negative n).
// A bound inside deleted places moves to the first place after them (First) or the last before
// them (Last), so a link that crosses the deleted block keeps the cells it still covers.
void Shift(int32_t &First, int32_t &Last, int32_t Top, int64_t n, int32_t Max)
{
    const auto moved = [&](int32_t v, int64_t inside) -> int32_t {
        if (v < Top)
            return v;
        if (n < 0 && v < Top - n)
            return Checked(inside, Max);
        return Checked(v + n, Max);
    };
    const int32_t first = moved(First, Top), last = moved(Last, int64_t(Top) - 1);
    First = first;
    Last = last;
}

// The place of the link after ArrangeInsertRange; nothing is stored, so a refusal changes nothing.
TLinkPlace Arranged(const THLinkRecord *r, const TXlsCellRange &R, int32_t aRowCount, const TSheetInfo &SheetInfo,
                    int32_t aColCount)
{
    TLinkPlace p = PlaceOf(r);
    if (SheetInfo.InsSheet < 0 || SheetInfo.InsSheet != SheetInfo.FormulaSheet)
        return p;
    if (aRowCount != 0 && p.FirstCol >= R.Left && p.LastCol <= R.Right)
        Shift(p.FirstRow, p.LastRow, R.Top, int64_t(aRowCount) * (int64_t(R.Bottom) - R.Top + 1), MaxRow);
    if (aColCount != 0 && p.FirstRow >= R.Top && p.LastRow <= R.Bottom)
        Shift(p.FirstCol, p.LastCol, R.Left, int64_t(aColCount) * (int64_t(R.Right) - R.Left + 1), MaxCol);
    return p;
}

TLinkPlace Offsetted(const TLinkPlace &p, int32_t DeltaRow, int32_t DeltaCol)
{
    return {Checked(int64_t(p.FirstRow) + DeltaRow, MaxRow), Checked(int64_t(p.LastRow) + DeltaRow, MaxRow),
            Checked(int64_t(p.FirstCol) + DeltaCol, MaxCol), Checked(int64_t(p.LastCol) + DeltaCol, MaxCol)};
}

bool Inside(const TLinkPlace &p, const TXlsCellRange &R)
{
    return p.FirstRow >= R.Top && p.LastRow <= R.Bottom && p.FirstCol >= R.Left && p.LastCol <= R.Right;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TScreenTipRecord

TScreenTipRecord::TScreenTipRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(10);
}

TScreenTipRecord *TScreenTipRecord::CreateNew(const QString &aDescription)
{
    std::unique_ptr<TScreenTipRecord> r(new TScreenTipRecord(xlr_HLINKTOOLTIP, new uint8_t[10](), 10));
    r->SetText(aDescription);
    return r.release();
}

QString TScreenTipRecord::Text() const
{
    TLinkReader rd(Data, 10, DataSize);
    return rd.Chars(DataSize / 2 - 6);
}

void TScreenTipRecord::SetText(const QString &Value)
{
    const int64_t size = 12 + 2 * int64_t(Value.size());
    if (size > MaxDataSize)
        ErrInvalidString();
    auto *d = new uint8_t[size_t(size)]();
    SetWord(d, 0, xlr_HLINKTOOLTIP);
    for (qsizetype i = 0; i < Value.size(); ++i)
        SetWord(d, 10 + 2 * int32_t(i), Value[i].unicode());
    ReplaceData(d, int32_t(size));
    delete Continue;
    Continue = nullptr;
}

// ---------------------------------------------------------------------------------------------
// THLinkRecord

THLinkRecord::THLinkRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(HeadSize);
}

THLinkRecord::~THLinkRecord() { delete FHint; }

THLinkRecord *THLinkRecord::CreateNew(const TXlsCellRange &CellRange, const THyperLink &HLink)
{
    auto *d = new uint8_t[HeadSize]();
    std::memcpy(d + 8, StdLinkClsid, 16);
    SetLongWord(d, 24, 2);
    std::unique_ptr<THLinkRecord> r(new THLinkRecord(xlr_HLINK, d, HeadSize));
    r->SetCellRange(CellRange);
    r->SetProperties(HLink);
    return r.release();
}

TBaseRecord *THLinkRecord::DoCopyTo() const
{
    std::unique_ptr<THLinkRecord> r(static_cast<THLinkRecord *>(TBaseRecord::DoCopyTo()));
    r->FHint = CopyOf(FHint);
    return r.release();
}

THyperLink THLinkRecord::GetProperties() const
{
    THyperLink h;
    const uint16_t flags = OptionFlags();
    TLinkReader rd(Data, HeadSize, DataSize);
    if ((flags & hlDescription) == hlDescription)
        h.Description = rd.LinkString();
    if (flags & hlTargetFrame)
        h.TargetFrame = rd.LinkString();

    const bool plain = !(flags & (hlIdentifier | hlCreationTime));
    bool monikerRead = !(flags & hlHasMoniker);
    h.LinkType = hl_CurrentWorkbook;
    if ((flags & hlHasMoniker) && plain && !(flags & hlMonikerAsString)) {
        if ((flags & hlAbsolute) && rd.NextIs(URLMonikerClsid)) {
            rd.Skip(16);
            const uint32_t n = rd.Long();
            const int32_t start = rd.Pos();
            h.LinkType = hl_URL;
            h.Text = CutAtZero(rd.Chars(n >= 2 ? (int64_t(n) - 2) / 2 : 0));
            rd.SkipTo(int64_t(start) + n);
            monikerRead = true;
        } else if (rd.NextIs(FileMonikerClsid)) {
            rd.Skip(16);
            const int32_t steps = rd.Word();
            const uint32_t ansiLength = rd.Long();
            const int32_t ansiStart = rd.Pos();
            const QString ansi = rd.Bytes(ansiLength > 0 ? int64_t(ansiLength) - 1 : 0);
            rd.SkipTo(int64_t(ansiStart) + ansiLength);
            rd.Skip(24); // 0xFFFF, 0xDEAD and 20 zero bytes
            const uint32_t unicodeSize = rd.Long();
            QString path = ansi;
            if (unicodeSize != 0) {
                const int32_t unicodeStart = rd.Pos();
                const uint32_t bytes = rd.Long();
                rd.Skip(2); // key 3
                path = rd.Chars(bytes / 2);
                rd.SkipTo(int64_t(unicodeStart) + unicodeSize);
            }
            h.LinkType = hl_LocalFile;
            h.Text = ParentStep.repeated(steps) + path;
            monikerRead = true;
        }
    } else if ((flags & hlHasMoniker) && plain && (flags & hlAbsolute) && (flags & hlMonikerAsString)) {
        h.LinkType = hl_UNC;
        h.Text = rd.LinkString();
        monikerRead = true;
    }
    if ((flags & hlTextMark) && monikerRead)
        h.TextMark = rd.LinkString();
    if (FHint)
        h.Hint = FHint->Text();
    return h;
}

void THLinkRecord::SetProperties(const THyperLink &HLink)
{
    TLinkWriter w;
    w.Raw(Data, HeadSize);
    uint16_t flags = 0;
    if (!HLink.Description.isEmpty()) {
        flags |= hlDescription;
        w.LinkString(HLink.Description);
    }
    if (!HLink.TargetFrame.isEmpty()) {
        flags |= hlTargetFrame;
        w.LinkString(HLink.TargetFrame);
    }
    switch (HLink.LinkType) {
    case hl_URL:
        flags = (flags & ~0x0163) | 0x0003;
        w.Raw(URLMonikerClsid, 16);
        w.Long(2 * uint32_t(HLink.Text.size()) + 2);
        w.Chars(HLink.Text);
        w.Word(0);
        break;
    case hl_LocalFile: {
        flags = (flags & ~0x0161) | 0x0001;
        int64_t steps = 0;
        while (HLink.Text.mid(qsizetype(3 * steps), 3) == ParentStep)
            ++steps;
        if (steps > 0xFFFF)
            ErrInvalidString();
        const QString path = HLink.Text.mid(qsizetype(3 * steps));
        w.Raw(FileMonikerClsid, 16);
        w.Word(uint32_t(steps));
        w.Long(uint32_t(path.size()) + 1);
        const size_t ansi = w.b.size();
        w.b.resize(ansi + size_t(path.size()) + 1, 0);
        WriteCompressed(path, w.b.data(), int32_t(ansi));
        w.Word(0xFFFF);
        w.Word(0xDEAD);
        w.b.resize(w.b.size() + 20, 0);
        if (IsWide(path)) {
            w.Long(2 * uint32_t(path.size()) + 6);
            w.Long(2 * uint32_t(path.size()));
            w.Word(3);
            w.Chars(path);
        } else {
            w.Long(0);
        }
        break;
    }
    case hl_UNC:
        flags = (flags & ~0x0163) | 0x0103;
        w.LinkString(HLink.Text);
        break;
    case hl_CurrentWorkbook:
        flags &= ~0x0163;
        break;
    }
    if (!HLink.TextMark.isEmpty()) {
        flags |= hlTextMark;
        w.LinkString(HLink.TextMark);
    }
    // All is checked before anything changes.
    if (w.b.size() > size_t(MaxDataSize) || 12 + 2 * int64_t(HLink.Hint.size()) > MaxDataSize)
        ErrInvalidString();
    SetWord(w.b.data(), 28, flags);

    auto *d = new uint8_t[w.b.size()];
    std::memcpy(d, w.b.data(), w.b.size());
    ReplaceData(d, int32_t(w.b.size()));
    // The rebuilt record is whole: what continued the old one no longer belongs to it.
    delete Continue;
    Continue = nullptr;

    if (HLink.Hint.isEmpty())
        AddHint(nullptr);
    else if (FHint)
        FHint->SetText(HLink.Hint);
    else
        FHint = TScreenTipRecord::CreateNew(HLink.Hint);
}

TXlsCellRange THLinkRecord::GetCellRange() const
{
    TXlsCellRange r;
    r.Left = FirstCol();
    r.Top = FirstRow();
    r.Right = LastCol();
    r.Bottom = LastRow();
    return r;
}

void THLinkRecord::SetCellRange(const TXlsCellRange &CellRange)
{
    SetFirstRow(CellRange.Top);
    SetFirstCol(CellRange.Left);
    SetLastRow(CellRange.Bottom);
    SetLastCol(CellRange.Right);
}

void THLinkRecord::AddHint(TScreenTipRecord *aHint)
{
    delete FHint;
    FHint = aHint;
}

void THLinkRecord::SaveToStream(TOle2File *Workbook)
{
    TBaseRecord::SaveToStream(Workbook);
    if (FHint) {
        FHint->SetFirstRow(FirstRow());
        FHint->SetLastRow(LastRow());
        FHint->SetFirstCol(FirstCol());
        FHint->SetLastCol(LastCol());
        FHint->SaveToStream(Workbook);
    }
}

bool THLinkRecord::Intersects(const TXlsCellRange &CellRange) const
{
    return FirstRow() <= CellRange.Bottom && LastRow() >= CellRange.Top && FirstCol() <= CellRange.Right
           && LastCol() >= CellRange.Left;
}

void THLinkRecord::SaveRangeToStream(TOle2File *Workbook, const TXlsCellRange &CellRange)
{
    if (Intersects(CellRange))
        SaveToStream(Workbook);
}

int32_t THLinkRecord::TotalSize() const { return TBaseRecord::TotalSize() + (FHint ? FHint->TotalSize() : 0); }

int32_t THLinkRecord::TotalSizeNoHeaders() const
{
    return TBaseRecord::TotalSizeNoHeaders() + (FHint ? FHint->TotalSizeNoHeaders() : 0);
}

int32_t THLinkRecord::TotalRangeSize(const TXlsCellRange &CellRange) const
{
    return Intersects(CellRange) ? TotalSize() : 0;
}

void THLinkRecord::ArrangeInsertRange(const TXlsCellRange &CellRange, int32_t aRowCount, const TSheetInfo &SheetInfo,
                                      int32_t aColCount)
{
    Store(this, Arranged(this, CellRange, aRowCount, SheetInfo, aColCount));
}

void THLinkRecord::Offset(int32_t DeltaRow, int32_t DeltaCol) { Store(this, Offsetted(PlaceOf(this), DeltaRow, DeltaCol)); }

// ---------------------------------------------------------------------------------------------
// THLinkList

int THLinkList::Add(THLinkRecord *aRecord)
{
    Sorted = false;
    return TBaseList::Add(aRecord);
}

void THLinkList::Sort()
{
    TList::Sort([](void *a, void *b) {
        const auto *x = static_cast<THLinkRecord *>(static_cast<TObject *>(a));
        const auto *y = static_cast<THLinkRecord *>(static_cast<TObject *>(b));
        if (x->FirstRow() != y->FirstRow())
            return int(x->FirstRow()) - int(y->FirstRow());
        return int(x->FirstCol()) - int(y->FirstCol());
    });
    Sorted = true;
}

void THLinkList::CopyFrom(const THLinkList *aHLinkList)
{
    if (!aHLinkList)
        return;
    for (int i = 0; i < aHLinkList->Count(); ++i) {
        std::unique_ptr<THLinkRecord> r(CopyOf(aHLinkList->Items(i)));
        Add(r.get());
        r.release();
    }
}

void THLinkList::SaveToStream(TOle2File *DataStream)
{
    Sort();
    for (int i = 0; i < Count(); ++i)
        Items(i)->SaveToStream(DataStream);
}

void THLinkList::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    Sort();
    for (int i = 0; i < Count(); ++i)
        Items(i)->SaveRangeToStream(DataStream, CellRange);
}

int64_t THLinkList::TotalSize() const
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->TotalSize();
    return n;
}

int64_t THLinkList::TotalRangeSize(const TXlsCellRange &CellRange) const
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->TotalRangeSize(CellRange);
    return n;
}

void THLinkList::InsertAndCopyRange(const TXlsCellRange &SourceRange, int32_t DestRow, int32_t DestCol,
                                    int32_t aRowCount, int32_t aColCount, const TSheetInfo &SheetInfo)
{
    const int32_t height = SourceRange.Bottom - SourceRange.Top + 1;
    const int32_t width = SourceRange.Right - SourceRange.Left + 1;
    const TXlsCellRange block{DestCol, DestRow, DestCol + width - 1, DestRow + height - 1};
    // Every new place and every copy is made before the list changes, so a refusal leaves it whole.
    const int n = Count();
    std::vector<TLinkPlace> places;
    places.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        places.push_back(Arranged(Items(i), block, aRowCount, SheetInfo, aColCount));

    TXlsCellRange source = SourceRange;
    if (source.Top >= DestRow)
        source = OffsetRange(source, aRowCount * height, 0);
    if (source.Left >= DestCol)
        source = OffsetRange(source, 0, aColCount * width);

    std::vector<std::unique_ptr<THLinkRecord>> copies;
    if (aRowCount >= 1 || aColCount >= 1) {
        const auto addCopy = [&](int i, int64_t dRow, int64_t dCol) {
            const TLinkPlace p = Offsetted(places[size_t(i)], int32_t(std::clamp<int64_t>(dRow, INT32_MIN, INT32_MAX)),
                                           int32_t(std::clamp<int64_t>(dCol, INT32_MIN, INT32_MAX)));
            std::unique_ptr<THLinkRecord> c(CopyOf(Items(i)));
            Store(c.get(), p);
            copies.push_back(std::move(c));
        };
        for (int i = 0; i < n; ++i) {
            if (!Inside(places[size_t(i)], source))
                continue;
            for (int32_t k = 0; k < aRowCount; ++k)
                addCopy(i, int64_t(DestRow) + int64_t(k) * height - source.Top, int64_t(DestCol) - source.Left);
            for (int32_t k = 0; k < aColCount; ++k)
                addCopy(i, int64_t(DestRow) - source.Top, int64_t(DestCol) + int64_t(k) * width - source.Left);
        }
    }

    for (int i = 0; i < n; ++i)
        Store(Items(i), places[size_t(i)]);
    Sorted = false;
    for (auto &c : copies) {
        Add(c.get());
        c.release();
    }
}

void THLinkList::DeleteRange(const TXlsCellRange &CellRange, int32_t aRowCount, int32_t aColCount,
                             const TSheetInfo &SheetInfo)
{
    const int32_t height = CellRange.Bottom - CellRange.Top + 1;
    const int32_t width = CellRange.Right - CellRange.Left + 1;
    TXlsCellRange deleted = CellRange;
    deleted.Bottom += height * std::max(aRowCount - 1, 0);
    deleted.Right += width * std::max(aColCount - 1, 0);
    // Decided for every link before any changes, so a refusal leaves the list as it was.
    std::vector<TLinkPlace> places(static_cast<size_t>(Count()));
    std::vector<bool> gone(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        if (Inside(PlaceOf(Items(i)), deleted)) {
            gone[size_t(i)] = true;
            continue;
        }
        const TLinkPlace p = Arranged(Items(i), CellRange, -aRowCount, SheetInfo, -aColCount);
        gone[size_t(i)] = p.LastRow < p.FirstRow || p.LastCol < p.FirstCol;
        places[size_t(i)] = p;
    }
    for (int i = Count() - 1; i >= 0; --i) {
        if (gone[size_t(i)])
            Delete(i);
        else
            Store(Items(i), places[size_t(i)]);
    }
    Sorted = false;
}
