#pragma once
// The Escher trees of the workbook's drawing group and of a sheet's drawing, carried in and out of
// MSODRAWINGGROUP and MSODRAWING records (and the OBJ and TXO records between them).
#include "xlsAdapter/duzUEscherRecords.h"

#include <cstdint>

class TOle2File;
class TSST;

class TXlsEscherRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TXlsEscherRecord)
    using TBaseRecord::TBaseRecord;
};

class TDrawingGroupRecord : public TXlsEscherRecord
{
    TARVIX_XLS_RECORD(TDrawingGroupRecord)
    using TXlsEscherRecord::TXlsEscherRecord;
};

class TDrawingRecord : public TXlsEscherRecord
{
    TARVIX_XLS_RECORD(TDrawingRecord)
    using TXlsEscherRecord::TXlsEscherRecord;
};

class TDrawingGroup : public TObject
{
public:
    TDrawingGroup() = default;
    TDrawingGroup(const TDrawingGroup &) = delete;
    TDrawingGroup &operator=(const TDrawingGroup &) = delete;
    ~TDrawingGroup() override;

    void Clear();
    // The group tree with its Dgg, BStore, default properties and split menu colours.
    void EnsureDwgGroup();
    // Takes First in every case; the MSODRAWINGGROUP records that follow it are read too.
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TDrawingGroupRecord *First);
    void SaveToStream(TOle2File *DataStream);
    int64_t TotalSize();

    TEscherDwgGroupCache *RecordCache() { return &FRecordCache; }
    TEscherContainerRecord *DggContainer() const { return FDggContainer; }

private:
    TEscherContainerRecord *FDggContainer = nullptr;
    TEscherDwgGroupCache FRecordCache;
    // The records of the group register nowhere; this index is the group's own, so nothing it
    // holds reaches another workbook.
    TEscherDwgCache FEmptyDwgCache;
};

class TDrawing : public TObject
{
public:
    explicit TDrawing(TDrawingGroup *aDrawingGroup) : FDrawingGroup(aDrawingGroup) {}
    TDrawing(const TDrawing &) = delete;
    TDrawing &operator=(const TDrawing &) = delete;
    ~TDrawing() override;

    void Clear();
    // Takes First in every case; the MSODRAWING records that follow it and the client data
    // records between them are read too.
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST, TDrawingRecord *First);
    void SaveToStream(TOle2File *DataStream);
    int64_t TotalSize();

    TEscherDwgCache *RecordCache() { return &FRecordCache; }
    TEscherContainerRecord *DgContainer() const { return FDgContainer; }
    TDrawingGroup *DrawingGroup() const { return FDrawingGroup; }

private:
    void CreateCaches();
    void FreeCaches();

    TEscherContainerRecord *FDgContainer = nullptr;
    TEscherDwgCache FRecordCache;
    TDrawingGroup *FDrawingGroup;
};

// Writes a tree as BIFF records that start with a record of FirstId, split at the record limit
// and around client data.
void SaveEscherTree(TEscherContainerRecord *Root, TOle2File *DataStream, int32_t FirstId);
int64_t EscherTreeSize(TEscherContainerRecord *Root, int32_t FirstId);
