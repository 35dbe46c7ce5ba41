// The picture store of the drawing group and the picture references of property tables.
#include "xlsAdapter/drawing/duzUEscherRecords.h"

#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/drawing/duzUXlsMD5.h"

#include <cstring>
#include <memory>

namespace {

const char *const SNoWmf = "To insert WMF files you need to instal TPngImage";
const char *const SNilBStore = "BStore can't be nil";
const char *const SErrProcessingEscher = "Error processing Escher record";

[[noreturn]] void Fail(const char *Msg) { throw Exception(QString::fromLatin1(Msg)); }

struct TBlipKind
{
    uint8_t StoreType;
    uint16_t BlipId;
    uint16_t Instance;
};

TBlipKind KindOf(TXlsImgTypes t)
{
    switch (t) {
    case xli_Emf:
        return {2, 0xF01A, 0x3D4};
    case xli_Wmf:
        return {3, 0xF01B, 0x216};
    case xli_Jpeg:
        return {5, 0xF01D, 0x46A};
    case xli_Png:
        return {6, 0xF01E, 0x6E0};
    case xli_Bmp:
        return {7, 0xF01F, 0x7A8};
    default:
        return {1, 0xF019, 0x000};
    }
}

TXlsImgTypes KindOfStoreType(uint8_t StoreType)
{
    switch (StoreType) {
    case 2:
        return xli_Emf;
    case 3:
        return xli_Wmf;
    case 5:
        return xli_Jpeg;
    case 6:
        return xli_Png;
    case 7:
        return xli_Bmp;
    default:
        return xli_Unknown;
    }
}

// Raster pictures carry a tag byte after the identifier.
bool IsRaster(TXlsImgTypes t) { return t == xli_Jpeg || t == xli_Png || t == xli_Bmp; }

TEscherBStoreRecord *StoreOf(TEscherDwgGroupCache *aDwgGroupCache)
{
    TEscherBStoreRecord *store = aDwgGroupCache ? aDwgGroupCache->BStore : nullptr;
    Assert(store != nullptr, QString::fromLatin1(SNilBStore));
    return store;
}

// The entry of the picture in the store: the one already there, or the new one inserted.
TEscherBSERecord *FindOrInsertBlip(TEscherDwgGroupCache *aDwgGroupCache, const QByteArray &aPicture,
                                   TXlsImgTypes aDataType, int32_t &Index)
{
    TEscherBStoreRecord *store = StoreOf(aDwgGroupCache);
    std::unique_ptr<TEscherBSERecord> bse(CreateBlipRecord(aPicture, aDataType, aDwgGroupCache));
    TEscherRecordList *list = store->ContainedRecords();
    int i = 0;
    if (list->Find(bse.get(), i)) {
        Index = i;
        return static_cast<TEscherBSERecord *>(list->Items(i));
    }
    list->Insert(i, bse.get());
    Index = i;
    return bse.release();
}

constexpr uint8_t EmptyBmpBytes[54] = {
    40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x0B, 0, 0,
    0x12, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

} // namespace

void CheckBlipKind(TXlsImgTypes aDataType, TEscherDwgGroupCache *aDwgGroupCache)
{
    if (!IsRaster(aDataType))
        Fail(SNoWmf);
    StoreOf(aDwgGroupCache);
}

QByteArray EmptyBmp() { return QByteArray(reinterpret_cast<const char *>(EmptyBmpBytes), sizeof EmptyBmpBytes); }

TEscherBSERecord *CreateBlipRecord(const QByteArray &aPicture, TXlsImgTypes aDataType,
                                   TEscherDwgGroupCache *aDwgGroupCache)
{
    CheckBlipKind(aDataType, aDwgGroupCache);
    TEscherBStoreRecord *store = aDwgGroupCache->BStore;
    const TMd5Digest digest = Md5Of(aPicture.constData(), aPicture.size());
    QByteArray body(reinterpret_cast<const char *>(digest.data()), 16);
    body += char(0xFF);
    body += aPicture;
    const TBlipKind k = KindOf(aDataType);

    uint8_t head[BseHeadSize] = {};
    head[0] = k.StoreType;
    head[1] = 4;
    std::memcpy(head + 2, digest.data(), 16);
    SetWord(head, 18, 0x00FF);
    SetLongWord(head, 20, uint32_t(body.size() + 8));
    const int64_t size = int64_t(BseBlipOfs) + body.size();
    if (size > INT32_MAX)
        LogicalError();
    // The entry belongs to the group tree, so it takes the group's drawing index, not a sheet's.
    auto *bse = new TEscherBSERecord(TEscherRecordHeader{uint16_t(k.StoreType * 16 + 2), MsofbtBSE, uint32_t(size)},
                                     store, store->DwgCache, aDwgGroupCache);
    std::unique_ptr<TEscherBSERecord> guard(bse);
    bse->CopyFromData(head, TEscherRecordHeader{uint16_t(k.Instance * 16), k.BlipId, uint32_t(body.size())}, body);
    return guard.release();
}

int32_t AddPictureToBStore(TEscherDwgGroupCache *aDwgGroupCache, const QByteArray &aPicture, TXlsImgTypes aDataType)
{
    int32_t index = 0;
    FindOrInsertBlip(aDwgGroupCache, aPicture, aDataType, index)->AddRef();
    return index;
}

// ---------------------------------------------------------------------------------------------
// BSE

TEscherBSERecord::TEscherBSERecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                   TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
    : TEscherDataRecord(aHeader, aParent, aDwgCache, aDwgGroupCache)
{
    CheckBodySize(BseHeadSize);
}

void TEscherBSERecord::AddRef() { SetLongWord(Data, 24, References() + 1); }

void TEscherBSERecord::Release()
{
    const uint32_t n = References();
    if (n > 1) {
        SetLongWord(Data, 24, n - 1);
        return;
    }
    SetLongWord(Data, 24, 0);
    if (Users > 0)
        return;
    if (FParent)
        FParent->ContainedRecords()->Remove(this); // frees it
    else
        delete this;
}

void TEscherBSERecord::CopyFromData(const uint8_t *aBseHead, const TEscherRecordHeader &aBlipHeader,
                                    const QByteArray &aBlipData)
{
    if (int64_t(BseBlipOfs) + aBlipData.size() != TotalDataSize || aBlipHeader.Size != uint32_t(aBlipData.size()))
        LogicalError();
    std::memcpy(Data, aBseHead, BseHeadSize);
    SetWord(Data, BseHeadSize, aBlipHeader.Pre);
    SetWord(Data, BseHeadSize + 2, aBlipHeader.Id);
    SetLongWord(Data, BseHeadSize + 4, aBlipHeader.Size);
    if (!aBlipData.isEmpty())
        std::memcpy(Data + BseBlipOfs, aBlipData.constData(), size_t(aBlipData.size()));
    LoadedDataSize = TotalDataSize;
}

void TEscherBSERecord::SaveGraphicToStream(TStream *Data_, TXlsImgTypes &DataType) const
{
    DataType = KindOfStoreType(Data[0]);
    const int32_t from = BseBlipOfs + (IsRaster(DataType) ? 17 : 16);
    // An entry from a file whose blip is missing or cut short has no picture to give.
    if (TotalDataSize < from || int64_t(GetLongWord(Data, BseHeadSize + 4)) > TotalDataSize - BseBlipOfs)
        ErrLoadingEscher();
    if (DataType == xli_Bmp) {
        uint8_t fileHead[14] = {'B', 'M'};
        Data_->WriteBuffer(fileHead, sizeof fileHead);
    }
    Data_->WriteBuffer(Data + from, TotalDataSize - from);
}

// ---------------------------------------------------------------------------------------------
// BStore

// The entry at a 1-based position.
static TEscherBSERecord *EntryAt(TEscherRecordList *List, int32_t BlipPos)
{
    if (BlipPos < 1 || BlipPos > List->Count())
        ErrExcelInvalid();
    auto *bse = dynamic_cast<TEscherBSERecord *>(List->Items(BlipPos - 1));
    if (!bse)
        ErrExcelInvalid();
    return bse;
}

void TEscherBStoreRecord::AddRef(int32_t BlipPos) { EntryAt(FContainedRecords, BlipPos)->AddRef(); }

void TEscherBStoreRecord::Release(int32_t BlipPos) { EntryAt(FContainedRecords, BlipPos)->Release(); }

void TEscherBStoreRecord::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    for (int i = 0; i < FContainedRecords->Count(); ++i)
        if (auto *bse = dynamic_cast<TEscherBSERecord *>(FContainedRecords->Items(i)))
            bse->BStorePos = i + 1;
    TEscherContainerRecord::SaveToStream(DataStream, BreakList);
}

// ---------------------------------------------------------------------------------------------
// OPT picture references

TEscherOPTRecord *TEscherOPTRecord::CreateFromDataImg(const QByteArray &aPicture, TEscherContainerRecord *aParent,
                                                      TEscherDwgCache *aDwgCache,
                                                      TEscherDwgGroupCache *aDwgGroupCache, const QString &aName,
                                                      TXlsImgTypes aDataType)
{
    const int64_t size = 26 + 2 * int64_t(aName.size());
    if (size > 0xFFFF)
        LogicalError();
    // The entry is made before the record, so a refused picture leaves nothing behind.
    const int32_t pos = AddPictureToBStore(aDwgGroupCache, aPicture, aDataType);
    QByteArray body(int(size), 0);
    auto *d = reinterpret_cast<uint8_t *>(body.data());
    SetWord(d, 0, 0x4104);
    SetLongWord(d, 2, uint32_t(pos + 1));
    SetWord(d, 6, 0xC105);
    SetLongWord(d, 8, uint32_t(2 * aName.size() + 2));
    SetWord(d, 12, 0x01BF);
    SetLongWord(d, 14, 0x10000);
    SetWord(d, 18, 0x03BF);
    SetLongWord(d, 20, 0x80000);
    for (qsizetype i = 0; i < aName.size(); ++i)
        SetWord(d, int32_t(24 + 2 * i), aName.at(i).unicode());
    try {
        return CreateEscherFromData<TEscherOPTRecord>(0x0043, MsofbtOPT, d, int32_t(size), aParent, aDwgCache,
                                                      aDwgGroupCache);
    } catch (...) {
        StoreOf(aDwgGroupCache)->Release(pos + 1);
        throw;
    }
}

void TEscherOPTRecord::AfterCreate()
{
    if (!DwgCache || !DwgCache->Blip)
        return;
    const int64_t count = Instance();
    if (count * 6 > TotalDataSize)
        ErrLoadingEscher();
    TEscherBStoreRecord *store = DwgGroupCache ? DwgGroupCache->BStore : nullptr;
    std::vector<TEscherBSERecord *> ptrs;
    std::vector<uint32_t> poss;
    // The shape name, or else the picture's own name, which is all a picture the engine added has.
    QString name, pictureName;
    int64_t complexOfs = 0;
    const auto textAt = [&](int64_t from, uint32_t len) {
        const int64_t chars = int64_t(len / 2) - 1;
        QString t;
        if (chars <= 0)
            return t;
        if (from + 2 * chars > TotalDataSize)
            ErrLoadingEscher();
        t.resize(qsizetype(chars));
        for (int64_t c = 0; c < chars; ++c)
            t[qsizetype(c)] = QChar(GetWord(Data, int32_t(from + 2 * c)));
        return t;
    };
    for (int64_t i = 0; i < count; ++i) {
        const int32_t at = int32_t(i * 6);
        const uint16_t prop = GetWord(Data, at);
        const uint32_t value = GetLongWord(Data, at + 2);
        if ((prop & 0x4000) && !(prop & 0x8000)) {
            // A reference that names no entry of the store is a broken file, not a picture.
            if (!store || value < 1 || int64_t(value) > store->ContainedRecords()->Count())
                ErrLoadingEscher();
            auto *bse = dynamic_cast<TEscherBSERecord *>(store->ContainedRecords()->Items(int(value - 1)));
            if (!bse)
                ErrLoadingEscher();
            ptrs.push_back(bse);
            poss.push_back(uint32_t(at + 2));
        }
        if ((prop & 0x3FFF) == 0x0380)
            name = textAt(count * 6 + complexOfs, value);
        else if ((prop & 0xBFFF) == 0x8105)
            pictureName = textAt(count * 6 + complexOfs, value);
        if (prop & 0x8000)
            complexOfs += value;
    }
    if (name.isEmpty())
        name = pictureName;
    FShapeName = name;
    const bool wasRegistered = !BlipPtr.empty();
    for (TEscherBSERecord *bse : BlipPtr)
        --bse->Users;
    for (TEscherBSERecord *bse : ptrs)
        ++bse->Users;
    BlipPtr = std::move(ptrs);
    BlipPos = std::move(poss);
    if (!BlipPtr.empty() && !wasRegistered)
        DwgCache->Blip->Add(this);
}

void TEscherOPTRecord::SaveToStream(TOle2File *DataStream, TBreakList *BreakList)
{
    if (BlipPtr.size() != BlipPos.size())
        LogicalError();
    for (size_t i = 0; i < BlipPtr.size(); ++i) {
        if (int64_t(BlipPos[i]) + 4 > TotalDataSize)
            LogicalError();
        SetLongWord(Data, int32_t(BlipPos[i]), uint32_t(BlipPtr[i]->BStorePos));
    }
    TEscherDataRecord::SaveToStream(DataStream, BreakList);
}

void TEscherOPTRecord::CheckOnePicture() const
{
    if (BlipPtr.size() != 1)
        Fail(SErrProcessingEscher);
}

void TEscherOPTRecord::ReplaceImg(const QByteArray &aPicture, TXlsImgTypes aDataType)
{
    // Checked first, so a refused replacement leaves no unreferenced entry in the store.
    CheckOnePicture();
    int32_t index = 0;
    ChangeRef(FindOrInsertBlip(DwgGroupCache, aPicture, aDataType, index));
}

void TEscherOPTRecord::ChangeRef(TEscherBSERecord *aBSE)
{
    CheckOnePicture();
    if (aBSE == BlipPtr[0])
        return;
    aBSE->AddRef();
    ++aBSE->Users;
    TEscherBSERecord *old = BlipPtr[0];
    BlipPtr[0] = aBSE;
    --old->Users;
    old->Release();
}

void TEscherOPTRecord::GetImageFromStream(TStream *Data_, TXlsImgTypes &DataType) const
{
    CheckOnePicture();
    BlipPtr[0]->SaveGraphicToStream(Data_, DataType);
}
