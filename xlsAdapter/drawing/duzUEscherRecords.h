#pragma once
// The Escher (Office Drawing) record tree of a drawing group or a sheet drawing. Bodies stay the
// bytes they were read as; the fields the engine uses are read and written in place, so records of
// kinds it does not know are written back unchanged.
#include "xlsAdapter/drawing/duzUXlsBaseClientData.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsSheetSizes.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class TOle2File;
class TStream;
class TEscherRecord;
class TEscherContainerRecord;
class TEscherSpgrContainerRecord;
class TEscherSolverContainerRecord;
class TEscherBStoreRecord;
class TEscherDgRecord;
class TEscherDggRecord;
class TEscherSPRecord;
class TEscherOPTRecord;
class TEscherClientAnchorRecord;
class TEscherClientDataRecord;
class TEscherBSERecord;

constexpr uint16_t MsofbtDggContainer = 0xF000;
constexpr uint16_t MsofbtBstoreContainer = 0xF001;
constexpr uint16_t MsofbtDgContainer = 0xF002;
constexpr uint16_t MsofbtSpgrContainer = 0xF003;
constexpr uint16_t MsofbtSpContainer = 0xF004;
constexpr uint16_t MsofbtSolverContainer = 0xF005;
constexpr uint16_t MsofbtDgg = 0xF006;
constexpr uint16_t MsofbtBSE = 0xF007;
constexpr uint16_t MsofbtDg = 0xF008;
constexpr uint16_t MsofbtSpgr = 0xF009;
constexpr uint16_t MsofbtSp = 0xF00A;
constexpr uint16_t MsofbtOPT = 0xF00B;
constexpr uint16_t MsofbtClientTextbox = 0xF00D;
constexpr uint16_t MsofbtClientAnchor = 0xF010;
constexpr uint16_t MsofbtClientData = 0xF011;
constexpr uint16_t MsofbtConnectorRule = 0xF012;
constexpr uint16_t MsofbtAlignRule = 0xF013;
constexpr uint16_t MsofbtArcRule = 0xF014;
constexpr uint16_t MsofbtCalloutRule = 0xF017;
constexpr uint16_t MsofbtSplitMenuColors = 0xF11E;

constexpr uint16_t xlr_MSODRAWINGGROUP = 0x00EB;
constexpr uint16_t xlr_MSODRAWING = 0x00EC;

// Data bytes of one BIFF record of a drawing.
constexpr int32_t MaxDrawingRecordSize = 8224;
// Containers nested deeper than this come from a broken file, not from a drawing.
constexpr int32_t MaxEscherDepth = 128;

QString ErrLoadingEscherText();
[[noreturn]] void ErrLoadingEscher();
[[noreturn]] void LogicalError();

struct TEscherRecordHeader
{
    uint16_t Pre = 0;
    uint16_t Id = 0;
    uint32_t Size = 0;
};

// Where the BIFF records of a drawing begin, found by the sizing pass and followed by the writer.
class TBreakList : public TObject
{
public:
    explicit TBreakList(int64_t aZeroPos) : ZeroPos(aZeroPos) {}

    void Add(int32_t aId, int32_t aSize);
    void AddToZeroPos(int64_t Delta) { ZeroPos += Delta; }
    // Stream position of the current break.
    int64_t AcumSize() const;
    int32_t CurrentId() const;
    // Data size of the BIFF record that starts at the current break.
    int32_t CurrentSize() const;
    void IncCurrent() { ++CurrentPos; }
    int32_t Count() const { return int32_t(FEntries.size()); }

    // Before output at the stream's position: writes the BIFF header of a break that falls there.
    void CheckBreak(TOle2File *DataStream);
    // Writes n bytes, with the BIFF headers of the breaks that fall among them.
    void WriteSplit(TOle2File *DataStream, const uint8_t *p, int64_t n);

    int32_t CurrentPos = 0;
    int64_t ZeroPos;

private:
    struct TBreakEntry
    {
        int32_t Id;
        int32_t Size;
        int64_t Acum;
    };
    const TBreakEntry &Entry(int32_t Index) const;
    std::vector<TBreakEntry> FEntries;
};

// A class reference to an Escher record class: true for records of the class or a descendant.
using TEscherRecordClass = bool (*)(const TEscherRecord *);
template <class T> bool IsEscherOf(const TEscherRecord *R) { return dynamic_cast<const T *>(R) != nullptr; }

// Non-owning lists of the records of one drawing.
class TEscherRecordCache : public TBaseList
{
public:
    TEscherRecordCache() { SetOwnsObjects(false); }
    int Add(TEscherRecord *aRecord);
    TEscherRecord *Items(int Index) const;
    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet, bool Forced,
                                  const TSheetInfo &SheetInfo, int32_t aColCount, int32_t aColPos);
};

class TEscherAnchorCache : public TEscherRecordCache
{
public:
    TEscherClientAnchorRecord *Items(int Index) const;
};

class TEscherObjCache : public TEscherRecordCache
{
public:
    TEscherClientDataRecord *Items(int Index) const;
    void ArrangeCopySheet(const TSheetInfo &SheetInfo);
};

class TEscherShapeCache : public TEscherRecordCache
{
public:
    int Add(TEscherSPRecord *aRecord);
    TEscherSPRecord *Items(int Index) const;
    // By shape id, unsigned, ascending.
    void Sort();
    // A shape of that id (true), or where one would go (false); sorts first when needed.
    bool Find(uint32_t aShapeId, int &Index);
    // Takes the record out, also when another shape has the same id.
    void RemoveShape(TEscherSPRecord *aRecord);

    bool Sorted = false;
};

class TEscherOPTCache : public TEscherRecordCache
{
public:
    TEscherOPTRecord *Items(int Index) const;
};

// The index of one sheet drawing; every record of the drawing points to it.
struct TEscherDwgCache
{
    bool Destroying = false;
    uint16_t MaxObjId = 0;
    TEscherDgRecord *Dg = nullptr;
    TEscherSolverContainerRecord *Solver = nullptr;
    TEscherSpgrContainerRecord *Patriarch = nullptr;
    TEscherAnchorCache *Anchor = nullptr;
    TEscherShapeCache *Shape = nullptr;
    TEscherObjCache *Obj = nullptr;
    TEscherOPTCache *Blip = nullptr;
};

// The workbook's index into its drawing group.
struct TEscherDwgGroupCache
{
    TEscherBStoreRecord *BStore = nullptr;
    TEscherDggRecord *Dgg = nullptr;
};

// Children of a container, owned.
class TEscherRecordList : public TBaseList
{
public:
    ~TEscherRecordList() override { Clear(); }
    int Add(TEscherRecord *aRecord);
    void Insert(int Index, TEscherRecord *aRecord);
    TEscherRecord *Items(int Index) const;

    // By CompareRec.
    void Sort();
    // An equal record (true), or where one would go (false); sorts first when needed.
    bool Find(const TEscherRecord *aRecord, int &Index);
    void SaveToStream(TOle2File *DataStream, TBreakList *BreakList);
    int64_t TotalSizeNoSplit() const;
    // Appends a copy of every item.
    void CopyFrom(const TEscherRecordList *aList, TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                  int32_t ColOfs);

    bool Sorted = false;
};

// Declares the class's own construction, through which a record is copied as its own class.
#define TARVIX_ESCHER_RECORD(T)                                                                          \
protected:                                                                                               \
    TEscherRecord *NewOfClass(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,       \
                              TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache) const override \
    {                                                                                                    \
        return new T(aHeader, aParent, aDwgCache, aDwgGroupCache);                                       \
    }                                                                                                    \
                                                                                                         \
public:

class TEscherRecord : public TObject
{
public:
    TEscherRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                  TEscherDwgGroupCache *aDwgGroupCache);

    uint16_t Instance() const { return Pre >> 4; }
    bool IsContainer() const { return (Pre & 0x000F) == 0x000F; }

    // A copy of this record (and its subtree) registered in NewDwgCache.
    TEscherRecord *CopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet, int32_t ColOfs);
    // Copies the whole shape that holds this record into the same drawing, after the other shapes;
    // returns this record's copy. The caller clears the copy marks before each pass.
    TEscherRecord *CopyDwg(int32_t RowOfs, int32_t ColOfs, TSheetSizes *dSheet);
    // The top-level shape or group (child of the patriarch) this record belongs to.
    TEscherRecord *FindRoot();
    TEscherSpgrContainerRecord *Patriarch() const { return DwgCache ? DwgCache->Patriarch : nullptr; }
    TEscherContainerRecord *Parent() const { return FParent; }

    virtual void AfterCreate() {}
    // Consumes body bytes from aPos of a BIFF record (following its CONTINUE records).
    virtual void Load(TBaseRecord *&aRecord, int32_t &aPos) = 0;
    virtual void SaveToStream(TOle2File *DataStream, TBreakList *BreakList);
    virtual int64_t TotalSizeNoSplit() const { return 8; }
    virtual bool Loaded() const;
    // A complete ClientData record that has no client data yet, and the class of that client data.
    virtual bool WaitingClientData(TClientDataClass &ClientType);
    // Takes aClientData when the record can hold it.
    virtual void AssignClientData(TBaseClientData *aClientData);
    // The sizing pass of the BIFF records the tree is written as.
    virtual void SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg);
    virtual void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet, bool Forced,
                                          const TSheetInfo &SheetInfo, int32_t aColCount, int32_t aColPos);
    virtual void ClearCopiedTo() { CopiedTo = nullptr; }
    virtual TEscherRecord *FindRec(TEscherRecordClass RecClass);
    template <class T> T *FindRec() { return static_cast<T *>(FindRec(&IsEscherOf<T>)); }
    virtual int CompareRec(const TEscherRecord *aRecord) const;

    TEscherContainerRecord *FParent;
    TEscherDwgCache *DwgCache;
    TEscherDwgGroupCache *DwgGroupCache;
    uint16_t Pre;
    uint16_t Id;
    int32_t TotalDataSize;
    int32_t LoadedDataSize = 0;
    TEscherRecord *CopiedTo = nullptr;

protected:
    virtual TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                                    int32_t ColOfs);
    virtual TEscherRecord *NewOfClass(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                      TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache) const = 0;
    // Writes the 8-byte header (in two pieces when a break falls inside it).
    void SaveHeaderToStream(TOle2File *DataStream, TBreakList *BreakList);
    // Adds n bytes to the sizing pass.
    static void AddSize(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int64_t n);
    // The first four steps of every record's sizing: a new BIFF record when one is due, and the header.
    static void SplitHeader(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg);
};

// Makes the record a header names (containers by their version, then by id); "Error loading Escher
// record" for a child that would not fit in aParent or would nest too deep.
TEscherRecord *CreateEscherRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                  TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
// Reads an 8-byte header at aPos of a BIFF record and its CONTINUE records.
TEscherRecordHeader ReadEscherHeader(TBaseRecord *&aRecord, int32_t &aPos);

class TEscherDataRecord : public TEscherRecord
{
    TARVIX_ESCHER_RECORD(TEscherDataRecord)
    TEscherDataRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                      TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherDataRecord() override;

    // Fills the whole body from bytes and marks it complete.
    void SetBody(const uint8_t *aData, int32_t aSize);
    void ClearData();
    void Load(TBaseRecord *&aRecord, int32_t &aPos) override;
    void SaveToStream(TOle2File *DataStream, TBreakList *BreakList) override;
    int64_t TotalSizeNoSplit() const override { return 8 + int64_t(TotalDataSize); }
    void SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg) override;
    int CompareRec(const TEscherRecord *aRecord) const override;
    // Grows the body by n zero bytes at its end.
    void GrowData(int32_t n);

    uint8_t *Data = nullptr;

protected:
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;
    // "Error loading Escher record" when the body is shorter than the fields its class reads.
    void CheckBodySize(int32_t MinSize) const;
};

// Makes a complete data record of class T from bytes.
template <class T>
T *CreateEscherFromData(uint16_t aPre, uint16_t aId, const uint8_t *aData, int32_t aSize, TEscherContainerRecord *aParent,
                        TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache)
{
    T *r = new T(TEscherRecordHeader{aPre, aId, uint32_t(aSize)}, aParent, aDwgCache, aDwgGroupCache);
    r->SetBody(aData, aSize);
    return r;
}

class TEscherContainerRecord : public TEscherRecord
{
    TARVIX_ESCHER_RECORD(TEscherContainerRecord)
    TEscherContainerRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                           TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherContainerRecord() override;

    TEscherRecordList *ContainedRecords() const { return FContainedRecords; }
    // "Error loading Escher record" when there is none.
    TEscherRecord *LastRecord() const;
    // Appends a child made for this container.
    void AddChild(TEscherRecord *aRecord) { FContainedRecords->Add(aRecord); }

    void Load(TBaseRecord *&aRecord, int32_t &aPos) override;
    void SaveToStream(TOle2File *DataStream, TBreakList *BreakList) override;
    int64_t TotalSizeNoSplit() const override;
    bool WaitingClientData(TClientDataClass &ClientType) override;
    void AssignClientData(TBaseClientData *aClientData) override;
    void SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg) override;
    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet, bool Forced,
                                  const TSheetInfo &SheetInfo, int32_t aColCount, int32_t aColPos) override;
    void ClearCopiedTo() override;
    TEscherRecord *FindRec(TEscherRecordClass RecClass) override;
    using TEscherRecord::FindRec;
    // Containers above this one.
    int32_t Depth() const;

protected:
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;

    TEscherRecordList *FContainedRecords;
};

class TEscherSpContainerRecord : public TEscherContainerRecord
{
    TARVIX_ESCHER_RECORD(TEscherSpContainerRecord)
    using TEscherContainerRecord::TEscherContainerRecord;
    ~TEscherSpContainerRecord() override;

    int32_t Row() const;
    int32_t Col() const;

    TEscherSPRecord *SP = nullptr;
    TEscherOPTRecord *Opt = nullptr;
    TEscherClientAnchorRecord *ClientAnchor = nullptr;
};

class TEscherSpgrContainerRecord : public TEscherContainerRecord
{
    TARVIX_ESCHER_RECORD(TEscherSpgrContainerRecord)
    TEscherSpgrContainerRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                               TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherSpgrContainerRecord() override;
};

class TEscherBStoreRecord : public TEscherContainerRecord
{
    TARVIX_ESCHER_RECORD(TEscherBStoreRecord)
    TEscherBStoreRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                        TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherBStoreRecord() override;

    // By 1-based position; "Error reading Excel records. File invalid" outside 1..count.
    void AddRef(int32_t BlipPos);
    void Release(int32_t BlipPos);
    // Numbers the entries 1, 2, ... for the property tables written after it.
    void SaveToStream(TOle2File *DataStream, TBreakList *BreakList) override;
};

class TEscherSolverContainerRecord : public TEscherContainerRecord
{
    TARVIX_ESCHER_RECORD(TEscherSolverContainerRecord)
    TEscherSolverContainerRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                                 TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherSolverContainerRecord() override;

    uint32_t MaxRuleId = 0;
};

// Dgg body: the head, then 8-byte clusters (drawing id, shape ids used) to the end of the body.
struct TDgg
{
    uint8_t *Body;
    uint32_t MaxShapeId() const { return GetLongWord(Body, 0); }
    void SetMaxShapeId(uint32_t v) { SetLongWord(Body, 0, v); }
    uint32_t FIDclCount() const { return GetLongWord(Body, 4); }
    void SetFIDclCount(uint32_t v) { SetLongWord(Body, 4, v); }
    uint32_t ShapesSaved() const { return GetLongWord(Body, 8); }
    void SetShapesSaved(uint32_t v) { SetLongWord(Body, 8, v); }
    uint32_t DwgSaved() const { return GetLongWord(Body, 12); }
    void SetDwgSaved(uint32_t v) { SetLongWord(Body, 12, v); }
};
constexpr int32_t DggHeadSize = 16;

class TEscherDggRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherDggRecord)
    TEscherDggRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                     TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherDggRecord() override;
    // The group's Dgg of a new workbook: no drawings, no clusters.
    static TEscherDggRecord *CreateFromData(TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                                            TEscherDwgGroupCache *aDwgGroupCache);

    TDgg FDgg() const { return TDgg{Data}; }
    int32_t ClusterCount() const { return (TotalDataSize - DggHeadSize) / 8; }
    uint32_t ClusterDgId(int32_t i) const { return GetLongWord(Data, DggHeadSize + 8 * i); }
    uint32_t ClusterUsed(int32_t i) const { return GetLongWord(Data, DggHeadSize + 8 * i + 4); }

    void GetNewDgIdAndCluster(uint32_t &DgId, uint32_t &FirstShapeId);
    void AddNewCluster(uint32_t DgId, uint32_t &FirstShapeId, uint32_t ShapeCount);
    void DestroyClusters(uint32_t DgId);
    // One new shape id of the drawing, after LastImageId.
    int64_t AddImage(uint32_t DgId, uint32_t LastImageId);
    void RemoveImage();
    bool IsEmpty() const { return FDgg().DwgSaved() == 0; }

private:
    void FindOrAddCluster(uint32_t &DgId, bool IsNew, uint32_t ShapeCount, uint32_t &FirstShapeId);
};

struct TDg
{
    uint8_t *Body;
    uint32_t ShapeCount() const { return GetLongWord(Body, 0); }
    void SetShapeCount(uint32_t v) { SetLongWord(Body, 0, v); }
    uint32_t MaxSpId() const { return GetLongWord(Body, 4); }
    void SetMaxSpId(uint32_t v) { SetLongWord(Body, 4, v); }
};

class TEscherDgRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherDgRecord)
    TEscherDgRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                    TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherDgRecord() override;
    static TEscherDgRecord *CreateFromData(uint32_t ShapeCount, TEscherContainerRecord *aParent,
                                           TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache,
                                           uint32_t FirstShapeId, uint32_t DgId);

    TDg Dg() const { return TDg{Data}; }
    uint32_t DgId() const { return Instance(); }
    // The drawing's next shape id, counted in the drawing and in the group.
    int32_t IncMaxShapeId();
    void DecShapeCount();

protected:
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;
};

class TEscherSPRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherSPRecord)
    TEscherSPRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                    TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherSPRecord() override;
    static TEscherSPRecord *CreateFromData(uint16_t aPre, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                                           TEscherDwgGroupCache *aDwgGroupCache, uint32_t Flags, uint32_t aShapeId);

    uint32_t ShapeId() const { return GetLongWord(Data, 0); }
    void SetShapeId(uint32_t v) { SetLongWord(Data, 0, v); }

protected:
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;
};

class TEscherOPTRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherOPTRecord)
    TEscherOPTRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                     TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherOPTRecord() override;

    QString ShapeName() const { return FShapeName; }
    // The image property table of a new picture, its entry added to the store (or shared).
    static TEscherOPTRecord *CreateFromDataImg(const QByteArray &aPicture, TEscherContainerRecord *aParent,
                                               TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache,
                                               const QString &aName, TXlsImgTypes aDataType);

    // Resolves the picture references and the shape name of the body.
    void AfterCreate() override;
    void SaveToStream(TOle2File *DataStream, TBreakList *BreakList) override;
    // The record's one picture becomes aPicture; identical bytes keep the entry.
    void ReplaceImg(const QByteArray &aPicture, TXlsImgTypes aDataType);
    // Refers to aBSE in place of its one picture.
    void ChangeRef(TEscherBSERecord *aBSE);
    // Writes the record's one picture.
    void GetImageFromStream(TStream *Data, TXlsImgTypes &DataType) const;

    // The anchor of the top-level shape this record belongs to; 0 and 18 zero bytes without one.
    int32_t Row() const;
    int32_t Col() const;
    TClientAnchor GetAnchor() const;
    // Sets that anchor; nothing without one.
    void SetAnchor(const TClientAnchor &aAnchor, TSheetSizes *sSheet);

    std::vector<TEscherBSERecord *> BlipPtr;
    std::vector<uint32_t> BlipPos;
    QString FShapeName;

protected:
    TEscherClientAnchorRecord *RootAnchor() const;
    // "Error processing Escher record" unless the record refers to exactly one picture.
    void CheckOnePicture() const;
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;
};

constexpr int32_t MaxAnchorRow = 65535;
constexpr int32_t MaxAnchorCol = 255;

// The object's rectangle in sheet units.
struct TAbsoluteAnchorRect
{
    int32_t x1 = 0;
    int32_t x2 = 0;
    int32_t y1 = 0;
    int32_t y2 = 0;
};

class TEscherClientAnchorRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherClientAnchorRecord)
    TEscherClientAnchorRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                              TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherClientAnchorRecord() override;

    // A complete anchor with its rectangle saved against sSheet.
    static TEscherClientAnchorRecord *CreateFromData(const TClientAnchor &aAnchor, TSheetSizes *sSheet,
                                                     TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                                                     TEscherDwgGroupCache *aDwgGroupCache,
                                                     const TEscherRecordHeader &aHeader);

    // The 18 body bytes.
    TClientAnchor Anchor() const;
    TClientAnchor GetAnchor() const { return Anchor(); }
    void SetAnchor(const TClientAnchor &aAnchor);
    // Sets the bytes and saves the rectangle against sSheet.
    void SetAnchor(const TClientAnchor &aAnchor, TSheetSizes *sSheet);
    int32_t Row() const { return GetWord(Data, 6); }
    int32_t Col() const { return GetWord(Data, 2); }
    uint16_t Behaviour() const { return GetWord(Data, 0) & 3; }

    // The rectangle from the cells, and the cells from the rectangle; nothing without a sheet or
    // for an anchor that moves and sizes with its cells.
    void SaveObjectCoords(TSheetSizes *sSheet);
    void RestoreObjectCoords(TSheetSizes *dSheet);
    // Whether a copy or a deletion of the rows and columns given takes the shape along.
    bool AllowCopy(int32_t FirstRow, int32_t LastRow, int32_t FirstCol, int32_t LastCol) const;
    bool AllowDelete(int32_t FirstRow, int32_t LastRow, int32_t FirstCol, int32_t LastCol) const;
    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet, bool Forced,
                                  const TSheetInfo &SheetInfo, int32_t aColCount, int32_t aColPos) override;

    TAbsoluteAnchorRect SaveRect;

protected:
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;
};

class TEscherClientDataRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherClientDataRecord)
    TEscherClientDataRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                            TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
    ~TEscherClientDataRecord() override;

    TBaseClientData *ClientData() const { return FClientData; }

    void SaveToStream(TOle2File *DataStream, TBreakList *BreakList) override;
    bool WaitingClientData(TClientDataClass &ClientType) override;
    void AssignClientData(TBaseClientData *aClientData) override;
    void SplitRecords(int32_t &NextPos, int64_t &RealSize, TBreakList *BreakList, int32_t &NextDwg) override;
    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet, bool Forced,
                                  const TSheetInfo &SheetInfo, int32_t aColCount, int32_t aColPos) override;

protected:
    virtual TClientDataClass ClientClass() const;
    TEscherRecord *DoCopyTo(TEscherDwgCache *NewDwgCache, int32_t RowOfs, TSheetSizes *dSheet,
                            int32_t ColOfs) override;

    TBaseClientData *FClientData = nullptr;
};

class TEscherClientTextBoxRecord : public TEscherClientDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherClientTextBoxRecord)
    using TEscherClientDataRecord::TEscherClientDataRecord;

    // The text of its TXO; "" and writes ignored without one.
    QString Value() const;
    void SetValue(const QString &aValue);

protected:
    TClientDataClass ClientClass() const override;
};

// BSE body: the 36-byte head, then the blip record (8-byte header and body).
constexpr int32_t BseHeadSize = 36;
constexpr int32_t BseBlipOfs = BseHeadSize + 8;

class TEscherBSERecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherBSERecord)
    TEscherBSERecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent, TEscherDwgCache *aDwgCache,
                     TEscherDwgGroupCache *aDwgGroupCache);
    // Body size, then the picture's 16-byte identifier.
    int CompareRec(const TEscherRecord *aRecord) const override;

    void AddRef();
    // At no reference left the entry leaves the store and is freed, unless a property table
    // still points to it (a file may count fewer references than it has).
    void Release();
    uint32_t References() const { return GetLongWord(Data, 24); }
    // Fills the body from the head, the blip header and the blip body, which must make it up exactly.
    void CopyFromData(const uint8_t *aBseHead, const TEscherRecordHeader &aBlipHeader, const QByteArray &aBlipData);
    // The picture bytes as a file of their kind.
    void SaveGraphicToStream(TStream *Data, TXlsImgTypes &DataType) const;

    int32_t BStorePos = 0;
    // The property tables that point to the entry.
    int32_t Users = 0;
};

class TEscherSplitMenuRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherSplitMenuRecord)
    using TEscherDataRecord::TEscherDataRecord;
};

// Not supported: a drawing that holds one cannot be loaded.
class TEscherAlignRuleRecord : public TEscherDataRecord
{
    TARVIX_ESCHER_RECORD(TEscherAlignRuleRecord)
    TEscherAlignRuleRecord(const TEscherRecordHeader &aHeader, TEscherContainerRecord *aParent,
                           TEscherDwgCache *aDwgCache, TEscherDwgGroupCache *aDwgGroupCache);
};

// A store entry for picture bytes, not yet in the store; "To insert WMF files you need to instal
// TPngImage" for a kind the store does not keep.
TEscherBSERecord *CreateBlipRecord(const QByteArray &aPicture, TXlsImgTypes aDataType,
                                   TEscherDwgGroupCache *aDwgGroupCache);
// "To insert WMF files ..." for a kind the store does not keep; "BStore can't be nil" without a store.
void CheckBlipKind(TXlsImgTypes aDataType, TEscherDwgGroupCache *aDwgGroupCache);
// The position (from 0) of the store entry of the picture, added or shared, its count raised.
int32_t AddPictureToBStore(TEscherDwgGroupCache *aDwgGroupCache, const QByteArray &aPicture, TXlsImgTypes aDataType);
// A 1 x 1 monochrome bitmap without file header: the picture of a cleared or empty image.
QByteArray EmptyBmp();
