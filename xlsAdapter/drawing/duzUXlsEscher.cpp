#include "xlsAdapter/drawing/duzUXlsEscher.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <algorithm>
#include <memory>

namespace {

const char *const SUnsupportedDrawing = "The file has an usupported drawing record";
const char *const SNilDrawingGroup = "DrawingGroup can't be nil";

const uint8_t DefaultGroupOpt[18] = {0xBF, 0x00, 0x08, 0x00, 0x08, 0x00, 0x81, 0x01, 0x09,
                                     0x00, 0x00, 0x08, 0xC0, 0x01, 0x40, 0x00, 0x00, 0x08};
const uint8_t DefaultSplitMenu[16] = {0x0D, 0x00, 0x00, 0x08, 0x0C, 0x00, 0x00, 0x08,
                                      0x17, 0x00, 0x00, 0x08, 0xF7, 0x00, 0x00, 0x10};

bool Exhausted(const TBaseRecord *aRecord, int32_t aPos) { return RemainingRecordBytes(aRecord, aPos) == 0; }

// The root of a tree read from a BIFF record: a container no longer than what the stream still
// holds, so that a size from the file allocates nothing the file does not back.
TEscherContainerRecord *CreateRoot(TBaseRecord *&aRecord, int32_t &aPos, TOle2File *DataStream,
                                   TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
{
    const TEscherRecordHeader h = ReadEscherHeader(aRecord, aPos);
    if ((h.Pre & 0x000F) != 0x000F)
        ErrLoadingEscher();
    const int64_t left =
        RemainingRecordBytes(aRecord, aPos) + std::max<int64_t>(0, DataStream->Length() - DataStream->Position());
    if (int64_t(h.Size) > left)
        ErrLoadingEscher();
    return static_cast<TEscherContainerRecord *>(CreateEscherRecord(h, nullptr, aDwgCache, aDwgGroupCache));
}

} // namespace

void SaveEscherTree(TEscherContainerRecord *Root, TOle2File *DataStream, int32_t FirstId)
{
    if (!Root)
        return;
    TBreakList breaks(DataStream->Position());
    int32_t nextPos = 0, nextDwg = FirstId;
    int64_t realSize = 0;
    Root->SplitRecords(nextPos, realSize, &breaks, nextDwg);
    breaks.Add(0, nextPos);
    Root->SaveToStream(DataStream, &breaks);
}

int64_t EscherTreeSize(TEscherContainerRecord *Root, int32_t FirstId)
{
    if (!Root)
        return 0;
    int32_t nextPos = 0, nextDwg = FirstId;
    int64_t realSize = 0;
    Root->SplitRecords(nextPos, realSize, nullptr, nextDwg);
    return realSize;
}

// ---------------------------------------------------------------------------------------------
// TDrawingGroup

TDrawingGroup::~TDrawingGroup() { Clear(); }

void TDrawingGroup::Clear()
{
    delete FDggContainer;
    FDggContainer = nullptr;
}

void TDrawingGroup::EnsureDwgGroup()
{
    TEscherDwgCache *dwg = &FEmptyDwgCache;
    TEscherDwgGroupCache *grp = &FRecordCache;
    if (!FDggContainer)
        FDggContainer = new TEscherContainerRecord(TEscherRecordHeader{0x000F, MsofbtDggContainer, 0}, nullptr, dwg, grp);
    TEscherContainerRecord *root = FDggContainer;
    if (!FRecordCache.Dgg && !root->FindRec<TEscherDggRecord>())
        root->AddChild(TEscherDggRecord::CreateFromData(root, dwg, grp));
    if (!FRecordCache.BStore && !root->FindRec<TEscherBStoreRecord>())
        root->AddChild(new TEscherBStoreRecord(TEscherRecordHeader{0x002F, MsofbtBstoreContainer, 0}, root, dwg, grp));
    if (!root->FindRec<TEscherOPTRecord>())
        root->AddChild(CreateEscherFromData<TEscherOPTRecord>(0x0033, MsofbtOPT, DefaultGroupOpt,
                                                              sizeof DefaultGroupOpt, root, dwg, grp));
    if (!root->FindRec<TEscherSplitMenuRecord>())
        root->AddChild(CreateEscherFromData<TEscherSplitMenuRecord>(0x0040, MsofbtSplitMenuColors, DefaultSplitMenu,
                                                                    sizeof DefaultSplitMenu, root, dwg, grp));
}

void TDrawingGroup::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TDrawingGroupRecord *First)
{
    std::unique_ptr<TBaseRecord> first(First);
    if (FDggContainer)
        ErrExcelInvalid();
    TBaseRecord *current = First;
    int32_t pos = 0;
    FDggContainer = CreateRoot(current, pos, DataStream, &FEmptyDwgCache, &FRecordCache);
    std::unique_ptr<TBaseRecord> next;
    TClientDataClass clientType = nullptr;
    while (!FDggContainer->Loaded()) {
        // No OBJ or TXO belongs in the workbook's globals.
        if (FDggContainer->WaitingClientData(clientType))
            ErrExcelInvalid();
        if (Exhausted(current, pos)) {
            next.reset(LoadRecord(DataStream, RecordHeader));
            if (!dynamic_cast<TDrawingGroupRecord *>(next.get()))
                ErrExcelInvalid();
            current = next.get();
            pos = 0;
        }
        FDggContainer->Load(current, pos);
    }
}

void TDrawingGroup::SaveToStream(TOle2File *DataStream)
{
    SaveEscherTree(FDggContainer, DataStream, xlr_MSODRAWINGGROUP);
}

int64_t TDrawingGroup::TotalSize() { return EscherTreeSize(FDggContainer, xlr_MSODRAWINGGROUP); }

// ---------------------------------------------------------------------------------------------
// TDrawing

TDrawing::~TDrawing()
{
    FRecordCache.Destroying = true;
    Clear();
}

void TDrawing::CreateCaches()
{
    FRecordCache.Anchor = new TEscherAnchorCache;
    FRecordCache.Obj = new TEscherObjCache;
    FRecordCache.Shape = new TEscherShapeCache;
    FRecordCache.Blip = new TEscherOPTCache;
}

void TDrawing::FreeCaches()
{
    delete FRecordCache.Anchor;
    FRecordCache.Anchor = nullptr;
    delete FRecordCache.Obj;
    FRecordCache.Obj = nullptr;
    delete FRecordCache.Shape;
    FRecordCache.Shape = nullptr;
    delete FRecordCache.Blip;
    FRecordCache.Blip = nullptr;
}

void TDrawing::Clear()
{
    delete FDgContainer;
    FDgContainer = nullptr;
    FreeCaches();
}

void TDrawing::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST, TDrawingRecord *First)
{
    std::unique_ptr<TBaseRecord> first(First);
    Assert(FDrawingGroup != nullptr, QString::fromLatin1(SNilDrawingGroup));
    if (FDgContainer)
        ErrExcelInvalid();
    ResetIndex();

    TBaseRecord *current = First;
    int32_t pos = 0;
    FDgContainer = CreateRoot(current, pos, DataStream, &FRecordCache, FDrawingGroup->RecordCache());
    std::unique_ptr<TBaseRecord> next;
    TClientDataClass clientType = nullptr;
    while (true) {
        const bool waiting = FDgContainer->WaitingClientData(clientType);
        if (!waiting && FDgContainer->Loaded())
            break;
        if (!waiting) {
            if (Exhausted(current, pos)) {
                next.reset(LoadRecord(DataStream, RecordHeader));
                if (!dynamic_cast<TDrawingRecord *>(next.get()))
                    ErrExcelInvalid();
                current = next.get();
                pos = 0;
            }
            FDgContainer->Load(current, pos);
            continue;
        }
        // The Escher stream stops right at the end of its record, before the OBJ or TXO.
        if (current->Continue || pos != current->DataSize)
            ErrExcelInvalid();
        std::unique_ptr<TBaseRecord> r(LoadRecord(DataStream, RecordHeader));
        std::unique_ptr<TBaseClientData> client(clientType());
        if (!client->ObjRecord()(r.get()))
            throw Exception(QString::fromLatin1(SUnsupportedDrawing));
        client->LoadFromStream(DataStream, RecordHeader, SST, r.release());
        TBaseClientData *c = client.get();
        FDgContainer->AssignClientData(c);
        client.release();
        // The Escher stream may go on inside CONTINUE records after the OBJ or TXO.
        if (c->RemainingData) {
            current = c->RemainingData;
            pos = 0;
            FDgContainer->Load(current, pos);
        }
    }
    FRecordCache.Shape->Sort();
}

void TDrawing::SaveToStream(TOle2File *DataStream) { SaveEscherTree(FDgContainer, DataStream, xlr_MSODRAWING); }

int64_t TDrawing::TotalSize() { return EscherTreeSize(FDgContainer, xlr_MSODRAWING); }
