#include "xlsAdapter/drawing/duzUXlsClientData.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/drawing/duzUEscherRecords.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const char *const SCantCopyPictFmla = "Can't copy OLE objects embedded on a sheet";
constexpr uint16_t xlr_IMDATA = 0x007F;
constexpr uint16_t ftCmo = 0x0015;
constexpr uint16_t ftPictFmla = 0x0009;
constexpr uint16_t ftEnd = 0x0000;

const uint8_t ImgTemplate[] = {0x15, 0x00, 0x12, 0x00, 0x08, 0x00, 0x01, 0x00, 0x11, 0x60, 0x00, 0x00, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x02, 0x00,
                               0xFF, 0xFF, 0x08, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};

const uint8_t NoteTemplate[] = {0x15, 0x00, 0x12, 0x00, 0x19, 0x00, 0x01, 0x00, 0x11, 0x40, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0D, 0x00, 0x16, 0x00,
                                0x00, 0x12, 0x23, 0x8C, 0x6C, 0x50, 0x8B, 0x4D, 0xA8, 0xC5, 0x7B, 0x64, 0xFF,
                                0xA8, 0xC5, 0xA3, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

const uint8_t AutoFilterTemplate[] = {
    0x15, 0x00, 0x12, 0x00, 0x14, 0x00, 0x01, 0x00, 0x01, 0x21, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64, 0x00,
    0x01, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x10, 0x00, 0x01, 0x00, 0x13, 0x00, 0xEE, 0x1F, 0x00, 0x00, 0x00, 0x00,
    0x04, 0x00, 0x01, 0x03, 0x00, 0x00, 0x02, 0x00, 0x08, 0x00, 0x6C, 0x00, 0x00, 0x00, 0x00, 0x00};

// Characters of one CONTINUE record of a TXO text, after its option byte.
constexpr int32_t MaxTxoChars8 = MaxDrawingRecordSize - 1;
constexpr int32_t MaxTxoChars16 = (MaxDrawingRecordSize - 1) / 2;

} // namespace

// ---------------------------------------------------------------------------------------------
// DUzObj

DUzObj::~DUzObj() { Clear(); }

DUzObj *DUzObj::CreateFromTemplate(const uint8_t *Body, int32_t Size, uint16_t &MaxId)
{
    auto *d = new uint8_t[size_t(Size)];
    std::memcpy(d, Body, size_t(Size));
    auto *o = new DUzObj;
    o->FObjRecord = new TObjRecord(0x005D, d, Size);
    o->ArrangeId(MaxId);
    return o;
}

DUzObj *DUzObj::CreateEmptyImg(uint16_t &MaxId) { return CreateFromTemplate(ImgTemplate, sizeof ImgTemplate, MaxId); }

DUzObj *DUzObj::CreateEmptyNote(uint16_t &MaxId)
{
    return CreateFromTemplate(NoteTemplate, sizeof NoteTemplate, MaxId);
}

DUzObj *DUzObj::CreateEmptyAutoFilter(uint16_t &MaxId)
{
    return CreateFromTemplate(AutoFilterTemplate, sizeof AutoFilterTemplate, MaxId);
}

uint16_t DUzObj::Id() const { return FObjRecord && FObjRecord->DataSize >= 8 ? GetWord(FObjRecord->Data, 6) : 0; }

void DUzObj::SetId(uint16_t Value)
{
    if (FObjRecord && FObjRecord->DataSize >= 8)
        SetWord(FObjRecord->Data, 6, Value);
}

void DUzObj::ArrangeId(uint16_t &MaxId)
{
    ++MaxId;
    SetId(MaxId);
}

void DUzObj::Clear()
{
    delete FObjRecord;
    FObjRecord = nullptr;
    delete FChart;
    FChart = nullptr;
    delete FImData;
    FImData = nullptr;
    FreeRemainingData();
    HasPictFmla = false;
}

TBaseClientData *DUzObj::CopyTo() const
{
    if (HasPictFmla)
        throw Exception(QString::fromLatin1(SCantCopyPictFmla));
    auto c = std::make_unique<DUzObj>();
    c->FObjRecord = CopyOf(FObjRecord);
    c->FImData = CopyOf(FImData);
    if (FChart)
        c->FChart = FChart->CopyTo();
    return c.release();
}

void DUzObj::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST, TBaseRecord *First)
{
    std::unique_ptr<TBaseRecord> first(First);
    Clear();
    auto *obj = dynamic_cast<TObjRecord *>(First);
    if (!obj)
        ErrExcelInvalid();
    const bool cmo = obj->ObjId == ftCmo;
    if (cmo && obj->CmoId == 5) {
        std::unique_ptr<TBaseRecord> bof(LoadRecord(DataStream, RecordHeader));
        if (!dynamic_cast<TBOFRecord *>(bof.get()))
            ErrExcelInvalid();
        std::unique_ptr<TEmbeddedChart> chart(EmbeddedChartClass());
        chart->LoadFromStream(DataStream, RecordHeader, bof.release(), SST);
        FChart = chart.release();
    } else if (cmo && obj->CmoId == 8 && RecordHeader.Id == xlr_IMDATA) {
        FImData = LoadRecord(DataStream, RecordHeader);
    }

    // The subrecords end with ft 0; a chain that runs past the record's data just stops there.
    TBaseRecord *r = First;
    int32_t pos = 0;
    while (RemainingRecordBytes(r, pos) >= 4) {
        uint8_t h[4];
        ReadRecordMem(r, pos, 4, h);
        const uint16_t ft = GetWord(h, 0), cb = GetWord(h, 2);
        if (ft == ftPictFmla)
            HasPictFmla = true;
        if (int64_t(pos) + cb > r->DataSize)
            break;
        pos += cb;
        if (ft == ftEnd)
            break;
    }
    RemainingData = r->Continue;
    r->Continue = nullptr;
    if (FChart && !RemainingData)
        RemainingData = FChart->ExtractRemainingData();
    FObjRecord = static_cast<TObjRecord *>(first.release());
}

void DUzObj::SaveToStream(TOle2File *DataStream)
{
    if (!FObjRecord)
        ErrExcelInvalid();
    FObjRecord->SaveToStream(DataStream);
    if (FImData)
        FImData->SaveToStream(DataStream);
    if (FChart)
        FChart->SaveToStream(DataStream);
}

int64_t DUzObj::TotalSize()
{
    if (!FObjRecord)
        ErrExcelInvalid();
    int64_t n = FObjRecord->TotalSize();
    if (FChart)
        n += FChart->TotalSize();
    if (FImData)
        n += FImData->TotalSize();
    return n;
}

void DUzObj::ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset)
{
    if (FChart)
        FChart->ArrangeCopyRowsAndCols(RowOffset, ColOffset);
}

void DUzObj::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                      const TSheetInfo &SheetInfo)
{
    if (FChart)
        FChart->ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount, SheetInfo);
}

void DUzObj::ArrangeCopySheet(const TSheetInfo &SheetInfo)
{
    if (FChart)
        FChart->ArrangeCopySheet(SheetInfo);
}

bool DUzObj::IsAutoFilter() const
{
    if (!FObjRecord || FObjRecord->DataSize != 70)
        return false;
    const uint8_t *d = FObjRecord->Data;
    return d[0] == 0x15 && d[22] == 0x0C && d[46] == 0x13 && d[56] == 1 && d[57] == 3;
}

// ---------------------------------------------------------------------------------------------
// TTXO

TTXO::~TTXO() { Clear(); }

TTXO *TTXO::CreateFromData()
{
    auto *t = new TTXO;
    t->FTXO = TTXORecord::CreateFromData();
    return t;
}

void TTXO::Clear()
{
    delete FTXO;
    FTXO = nullptr;
    FreeRemainingData();
}

TBaseClientData *TTXO::CopyTo() const
{
    auto *t = new TTXO;
    t->FTXO = CopyOf(FTXO);
    return t;
}

void TTXO::LoadFromStream(TOle2File *, TRecordHeader &, TSST *, TBaseRecord *First)
{
    std::unique_ptr<TBaseRecord> first(First);
    Clear();
    auto *txo = dynamic_cast<TTXORecord *>(First);
    if (!txo)
        ErrExcelInvalid();
    // The text length and the runs size are read and written in place.
    if (txo->DataSize < 14)
        ErrorReadingRecord();
    FTXO = static_cast<TTXORecord *>(first.release());
    TContinueRecord **trailing = nullptr;
    ReadValue(trailing);
    if (trailing && *trailing) {
        RemainingData = *trailing;
        *trailing = nullptr;
    }
}

QString TTXO::ReadValue(TContinueRecord **&Trailing) const
{
    Trailing = nullptr;
    if (!FTXO || !FTXO->Continue)
        return QString();
    const int32_t len = GetWord(FTXO->Data, 10);
    if (len == 0) {
        Trailing = &FTXO->Continue;
        return QString();
    }
    TBaseRecord *r = FTXO;
    int32_t pos = FTXO->DataSize;
    QByteArray narrow;
    QString wide;
    uint8_t options = 0, actual = 0;
    int32_t read = 0;
    ReadRecordStr(r, pos, narrow, wide, options, actual, read, len);
    const QString text = actual & 1 ? wide.left(len) : CompressedToWide(narrow.left(len));

    const int32_t runs = GetWord(FTXO->Data, 12) / 8;
    if (runs == 0) {
        Trailing = &r->Continue;
        return text;
    }
    TBaseRecord *runRecord = r->Continue;
    if (!runRecord)
        ErrorReadingRecord();
    int32_t runPos = 0;
    for (int32_t i = 0; i < runs; ++i)
        ReadRecordMem(runRecord, runPos, 8, nullptr);
    Trailing = &runRecord->Continue;
    return text;
}

QString TTXO::Value() const
{
    TContinueRecord **trailing = nullptr;
    return ReadValue(trailing);
}

void TTXO::SetValue(const QString &aValue)
{
    uint16_t len = 0;
    IncWordChecked(len, int32_t(std::min<qsizetype>(aValue.size(), INT32_MAX)), 65535);
    if (!FTXO)
        FTXO = TTXORecord::CreateFromData();
    Assert(FTXO->DataSize >= 14, ErrorReadingRecordText());
    SetWord(FTXO->Data, 10, len);
    SetWord(FTXO->Data, 12, len > 0 ? 16 : 0);
    TContinueRecord *old = FTXO->Continue;
    FTXO->Continue = nullptr;
    delete old;
    if (len == 0)
        return;

    // A text longer than one record holds goes on in further records, each with its option byte.
    const bool wideText = IsWide(aValue);
    const int32_t perRecord = wideText ? MaxTxoChars16 : MaxTxoChars8;
    TBaseRecord *last = FTXO;
    for (int32_t start = 0; start < len; start += perRecord) {
        const int32_t n = std::min(perRecord, len - start);
        const int32_t size = 1 + n * (wideText ? 2 : 1);
        auto *d = new uint8_t[size_t(size)];
        d[0] = wideText ? 1 : 0;
        for (int32_t i = 0; i < n; ++i) {
            const char16_t c = aValue[start + i].unicode();
            if (wideText)
                SetWord(d, 1 + 2 * i, c);
            else
                d[1 + i] = uint8_t(c);
        }
        auto *c = new TContinueRecord(xlr_CONTINUE, d, size);
        last->AddContinue(c);
        last = c;
    }
    auto *runs = new uint8_t[16]();
    SetWord(runs, 8, len);
    last->AddContinue(new TContinueRecord(xlr_CONTINUE, runs, 16));
}

void TTXO::SaveToStream(TOle2File *DataStream)
{
    if (FTXO)
        FTXO->SaveToStream(DataStream);
}

int64_t TTXO::TotalSize() { return FTXO ? FTXO->TotalSize() : 0; }
