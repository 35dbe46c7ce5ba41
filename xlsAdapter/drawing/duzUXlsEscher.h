#pragma once
// The Escher trees of the workbook's drawing group and of a sheet's drawing, carried in and out of
// MSODRAWINGGROUP and MSODRAWING records (and the OBJ and TXO records between them).
#include "xlsAdapter/drawing/duzUEscherRecords.h"

#include <cstdint>

class TOle2File;
class DUzObj;
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

    // Pictures, by their position in the picture cache (the order they were loaded or added).
    // The caller has made sure the workbook has its drawing group.
    void AddImage(const QByteArray &Data, TXlsImgTypes DataType, TSheetSizes *sSheet, TWbAnchorType AnchorType,
                  const TImageProperties &Properties);
    int32_t DrawingCount() const;
    void GetDrawingFromStream(int32_t Index, TStream *Data, TXlsImgTypes &DataType);
    QString GetDrawingName(int32_t Index);
    int32_t GetDrawingRow(int32_t Index);
    // Empty data clears the picture.
    void AssignDrawing(int32_t Index, const QByteArray &Data, TXlsImgTypes DataType);
    void ClearImage(int32_t Index);
    void DeleteImage(int32_t Index);
    TClientAnchor GetAnchor(int32_t Index);
    void SetAnchor(int32_t Index, const TClientAnchor &aAnchor, TSheetSizes *sSheet);

    // A comment box at the cells of Properties; returns its ClientData record, which holds the
    // object id the NOTE record refers to.
    TEscherClientDataRecord *AddNewComment(const TImageProperties &Properties, TSheetSizes *sSheet);
    // One drop-down arrow for every column Col1..Col2 of the filter row.
    void AddAutoFilter(int32_t Row, int32_t Col1, TSheetSizes *sSheet, int32_t Col2);
    // Removes the arrows AddAutoFilter made.
    void RemoveAutoFilter();
    // Every anchor saves its rectangle, or takes its cells from it.
    void SaveObjectCoords(TSheetSizes *sSheet);
    void RestoreObjectCoords(TSheetSizes *dSheet);
    // The first client data record of that object id; nil when none.
    TEscherClientDataRecord *FindObjId(uint16_t ObjId);

private:
    void CreateCaches();
    void FreeCaches();
    void ResetIndex();
    // The drawing container, Dg, patriarch and group shape of a drawing that has none.
    void CreateBasicDrawing();
    void EnsureBasicDrawing();
    // A new shape container with its Sp record (a new shape id), not yet in the patriarch.
    TEscherSpContainerRecord *NewShape(uint16_t SpPre);
    // The OPT record of the Index-th picture; "Index out of range" otherwise.
    TEscherOPTRecord *Picture(int32_t Index);
    // Appends the anchor and the ClientData record holding Obj (taken in every case) to Shape.
    TEscherClientDataRecord *AddAnchorAndObj(TEscherSpContainerRecord *Shape, const TClientAnchor &aAnchor,
                                             TSheetSizes *sSheet, DUzObj *Obj);
    // Takes the top-level shape that holds aRecord out of the patriarch and frees it.
    void DeleteRoot(TEscherRecord *aRecord);

    TEscherContainerRecord *FDgContainer = nullptr;
    TEscherDwgCache FRecordCache;
    TDrawingGroup *FDrawingGroup;
};

// Writes a tree as BIFF records that start with a record of FirstId, split at the record limit
// and around client data.
void SaveEscherTree(TEscherContainerRecord *Root, TOle2File *DataStream, int32_t FirstId);
int64_t EscherTreeSize(TEscherContainerRecord *Root, int32_t FirstId);
