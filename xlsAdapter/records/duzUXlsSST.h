#pragma once
// The shared string table of a workbook and the text cells that point into it. Strings live in
// one growing byte buffer as reference-counted, deduplicated entries; an entry's offset in the
// buffer never changes and is the handle that cell records keep.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

class TSSTRecord;

constexpr uint16_t xlr_SST = 0x00FC;
constexpr uint16_t xlr_EXTSST = 0x00FF;
constexpr uint16_t xlr_LABELSST = 0x00FD;
constexpr uint16_t xlr_LABEL = 0x0204;
constexpr uint16_t xlr_RSTRING = 0x00D6;

struct TMemSST
{
    int32_t UsedSize = 0;
    std::vector<uint8_t> Buffer;
};

// Entry layout: reference count (4), stream position of the last save (4), offset in its
// record of the last save (2), 0 (2), index of the last save (4), then the string with a 2-byte
// character count.
constexpr int32_t SSTEntryHeader = 16;

class TSST
{
public:
    TSST();
    TSST(const TSST &) = delete;
    TSST &operator=(const TSST &) = delete;

    // No entries; the cells that held some must be gone.
    void Clear();
    // Appends the entries of an SST record and its CONTINUE records, in file order.
    void Load(TSSTRecord *aSSTRecord);
    // From now on the list is kept in entry order.
    void Sort();
    // The handle of the entry for s with those runs, made or found, with one more reference.
    // "Invalid String record" for a text longer than a 2-byte count holds.
    int32_t AddString(const QString &s, const TRTFRunList &RTFRuns = {});
    // The position of the equal entry (true), or where it would go (false).
    bool Find(const QString &s, const TRTFRunList &RTFRuns, int32_t &Index);
    // Drops the entries no cell refers to.
    void FixRefs();
    // SST, CONTINUE and EXTSST records; each entry learns the index its cells write.
    void SaveToStream(TOle2File *DataStream);
    void WriteExtSST(TOle2File *DataStream);
    // Bytes SaveToStream writes.
    int64_t TotalSize();

    int32_t Count() const { return int32_t(FList.size()); }
    // The handle at a position of the list.
    int32_t Items(int32_t Index) const { return FList[size_t(Index)]; }
    uint8_t *GetEntry(int32_t aEntry) { return FMemSST.Buffer.data() + aEntry; }
    const uint8_t *GetEntry(int32_t aEntry) const { return FMemSST.Buffer.data() + aEntry; }
    uint32_t Refs(int32_t aEntry) const { return GetLongWord(GetEntry(aEntry), 0); }
    void AddRef(int32_t aEntry);
    void Release(int32_t aEntry);
    // The index the entry had in the last save.
    uint32_t SavedIndex(int32_t aEntry) const { return GetLongWord(GetEntry(aEntry), 12); }
    QString EntryText(int32_t aEntry) const;
    TRTFRunList EntryRuns(int32_t aEntry) const;
    int32_t EntrySize(int32_t aEntry) const;
    const TMemSST &MemSST() const { return FMemSST; }

private:
    struct THash
    {
        const TSST *Owner;
        size_t operator()(int32_t h) const;
    };
    struct TEqual
    {
        const TSST *Owner;
        bool operator()(int32_t a, int32_t b) const;
    };

    bool Less(int32_t a, int32_t b) const;
    // Room for an entry of Size bytes at UsedSize.
    void Reserve(int32_t Size);
    // A candidate entry at UsedSize; UsedSize is not moved.
    int32_t BuildCandidate(const QString &s, const TRTFRunList &RTFRuns);
    // Sorts what AddString appended since the last sort into place.
    void EnsureSorted();
    int64_t WriteStrings(TOle2File *DataStream);
    int32_t PerBucket() const;
    int32_t Buckets() const;

    TMemSST FMemSST;
    std::vector<int32_t> FList;
    std::unordered_set<int32_t, THash, TEqual> FIndex;
    bool FKeepSorted = true;
    size_t FSortedLen = 0;
};

// A text cell whose text is an entry of the shared string table.
class TLabelSSTRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TLabelSSTRecord)
    TLabelSSTRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    ~TLabelSSTRecord() override;
    // A new cell with no text yet, attached to aSST.
    static TLabelSSTRecord *CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF, TSST *aSST);

    // Takes the entry whose index the record holds; "Error reading Excel records. File invalid"
    // when there is no such entry.
    void AttachToSST(TSST *aSST);
    QString AsString() const;
    void SetAsString(const QString &Value);
    TRichString AsRichString() const;
    void SetAsRichString(const TRichString &Value);
    // Rich text as RTF is not kept by the table: reads empty, writes nothing.
    QString AsRTF() const { return QString(); }
    void SetAsRTF(const QString &) {}
    Variant Value() const override { return Variant(AsString()); }
    void SetValue(const Variant &V) override { SetAsString(VarToStr(V)); }
    // Writes the index the entry got in the table's last save.
    void SaveToStream(TOle2File *Workbook) override;

    int32_t pSSTEntry = -1;
    TSST *SST = nullptr;

protected:
    TBaseRecord *DoCopyTo() const override;
};

// A text cell that carries its own text.
class TLabelRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TLabelRecord)
    TLabelRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    Variant Value() const override;
};

// A text cell with its own text and rich-text runs.
class TRStringRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TRStringRecord)
    TRStringRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    Variant Value() const override;
    TRichString AsRichString() const;
};
