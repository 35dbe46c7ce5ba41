#pragma once
// OLE2 compound files: reading one stream of a compound file held in any seekable byte stream,
// and writing a copy of the file in which that stream is replaced.
#include "framework/rtl/Classes.h"
#include "framework/rtl/Streams.h"
#include "xlsAdapter/compound/duzUXlsProtect.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

using ByteArray = std::vector<uint8_t>;

constexpr uint32_t ENDOFCHAIN = 0xFFFFFFFEu;
constexpr uint32_t FREESECT = 0xFFFFFFFFu;
constexpr uint32_t FATSECT = 0xFFFFFFFDu;
constexpr uint32_t DIFSECT = 0xFFFFFFFCu;

enum STGTY : uint8_t {
    STGTY_INVALID = 0, STGTY_STORAGE = 1, STGTY_STREAM = 2, STGTY_LOCKBYTES = 3, STGTY_PROPERTY = 4, STGTY_ROOT = 5
};
enum DECOLOR : uint8_t { DECOLOR_RED = 0, DECOLOR_BLACK = 1 };

// Reads Count bytes at the stream's position; whatever the stream does not deliver is zero.
void ReadStreamBlock(TStream *aStream, uint8_t *Buffer, int64_t Count);
// Equal texts when ASCII letter case is ignored (other letters must match exactly).
bool SameAsciiText(const QString &a, const QString &b);

class TOle2Header : public TObject
{
public:
    // Reads and checks the header at the stream's position. With AvoidExceptions a stream that
    // is not a compound file only sets NotXls97; otherwise it is refused naming FileName.
    TOle2Header(TStream *aStream, bool AvoidExceptions, const QString &FileName = QString());

    void Save(TStream *aStream) const;
    int32_t uDIFEntryShift() const { return uSectorShift - 2; }
    int64_t SectToStPos(int64_t Sect) const { return SectToStPos(Sect, StartOfs); }
    int64_t SectToStPos(int64_t Sect, int64_t Ofs) const { return Ofs + 512 + (Sect << uSectorShift); }

    int32_t uMiniSectorShift() const { return Get16(32); }
    uint32_t MiniSectorSize() const { return 1u << uMiniSectorShift(); }
    uint32_t csectFat() const { return Get32(44); }
    void SetcsectFat(uint32_t v) { Set32(44, v); }
    uint32_t sectDirStart() const { return Get32(48); }
    void SetsectDirStart(uint32_t v) { Set32(48, v); }
    uint32_t FulMiniSectorCutoff() const { return Get32(56); }
    uint32_t sectMiniFatStart() const { return Get32(60); }
    void SetsectMiniFatStart(uint32_t v) { Set32(60, v); }
    uint32_t csectMiniFat() const { return Get32(64); }
    void SetcsectMiniFat(uint32_t v) { Set32(64, v); }
    uint32_t sectDifStart() const { return Get32(68); }
    void SetsectDifStart(uint32_t v) { Set32(68, v); }
    uint32_t csectDif() const { return Get32(72); }
    void SetcsectDif(uint32_t v) { Set32(72, v); }

    ByteArray FileSignature;
    bool NotXls97 = false;
    ByteArray Data; // the 76 header bytes before the DIFAT
    int64_t StartOfs = 0;
    uint32_t SectorSize = 0;
    int32_t uSectorShift = 0;
    uint32_t ulMiniSectorCutoff = 0;
    // Whole or partial sectors the byte stream holds after the header (not part of the file).
    int64_t FileSectors = 0;

private:
    uint32_t Get16(int o) const { return Data[o] | (Data[o + 1] << 8); }
    uint32_t Get32(int o) const
    {
        return Data[o] | (Data[o + 1] << 8) | (Data[o + 2] << 16) | (uint32_t(Data[o + 3]) << 24);
    }
    void Set32(int o, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            Data[o + i] = uint8_t(v >> (8 * i));
    }
};

// A growable list of 32-bit sector numbers.
class TOle2SectorList : public TObject
{
public:
    int64_t Count() const { return static_cast<int64_t>(items_.size()); }
    uint32_t Items(int64_t i) const;
    void SetItems(int64_t i, uint32_t v);
    void Add(uint32_t v) { items_.push_back(v); }
    void Capacity(int64_t n) { items_.reserve(static_cast<size_t>(n)); }
    const std::vector<uint32_t> &List() const { return items_; }

protected:
    std::vector<uint32_t> items_;
};

class TOle2FAT : public TOle2SectorList
{
public:
    // With no stream the list stays empty (the new FAT of a written copy).
    TOle2FAT(TOle2Header *aHeader, TStream *aStream);

    int32_t uFATEntryShift() const { return Header->uSectorShift - 2; }
    int64_t GetNextSector(int64_t Sect) const;
    // The sector SectOfs steps along the chain from StartSect.
    int64_t FindSector(int64_t StartSect, int64_t SectOfs);

    TOle2Header *Header;
    int64_t LastFindSectorOfs = -1;
    int64_t LastFindSectorStart = -1;
    int64_t LastFindSectorRes = 0;

private:
    void LoadFatSectors(TStream *aStream, const uint8_t *Sects, int32_t n, bool &Ended, ByteArray &Buf);
    int64_t padLimit_ = 0;
};

class TOle2MiniFAT : public TOle2SectorList
{
public:
    TOle2MiniFAT(TOle2Header *aHeader, TStream *aStream, TOle2FAT *aFAT);
    int64_t GetNextSector(int64_t Sect) const;
    int64_t FindSector(int64_t StartSect, int64_t SectOfs) const;

    TOle2Header *Header;
};

class TOle2Directory : public TObject
{
public:
    explicit TOle2Directory(const ByteArray &aData);

    // Accessors of any entry inside a sector buffer, at byte offset Ofs.
    static int32_t GetNameSize(const ByteArray &Buf, int32_t Ofs);
    static QString GetName(const ByteArray &Buf, int32_t Ofs);
    static STGTY GetType(const ByteArray &Buf, int32_t Ofs);
    static uint32_t GetSectStart(const ByteArray &Buf, int32_t Ofs);
    static void SetSectStart(ByteArray &Buf, int32_t Ofs, uint32_t v);
    static int64_t GetSize(const ByteArray &Buf, int32_t Ofs);
    static void SetSize(ByteArray &Buf, int32_t Ofs, int64_t v);
    static void Clear(ByteArray &Buf, int32_t Ofs);
    static int32_t GetLeftSid(const ByteArray &Buf, int32_t Ofs);
    static void SetLeftSid(ByteArray &Buf, int32_t Ofs, int32_t v);
    static int32_t GetRightSid(const ByteArray &Buf, int32_t Ofs);
    static void SetRightSid(ByteArray &Buf, int32_t Ofs, int32_t v);
    static int32_t GetChildSid(const ByteArray &Buf, int32_t Ofs);
    static void SetChildSid(ByteArray &Buf, int32_t Ofs, int32_t v);
    static DECOLOR GetColor(const ByteArray &Buf, int32_t Ofs);
    static void SetColor(ByteArray &Buf, int32_t Ofs, DECOLOR v);

    int32_t NameSize() const { return GetNameSize(Data, 0); }
    void SetNameSize(int32_t v);
    QString Name() const { return GetName(Data, 0); }
    void SetName(const QString &v);
    STGTY ObjType() const { return GetType(Data, 0); }
    uint32_t SectStart() const { return GetSectStart(Data, 0); }
    void SetSectStart(uint32_t v) { SetSectStart(Data, 0, v); }
    int64_t xulSize() const { return GetSize(Data, 0); }
    void SetxulSize(int64_t v) { SetSize(Data, 0, v); }
    // Writes ulSize back into the entry, then the 128 bytes.
    void Save(TStream *aStream);

    ByteArray Data;
    int64_t ulSize = 0;
};

class TSectorBuffer : public TObject
{
public:
    TSectorBuffer(TOle2Header *aHeader, TStream *aDataStream);
    ~TSectorBuffer() override;

    void Load(int64_t SectNo);
    void Save();
    void Read(ByteArray &aBuffer, int64_t BufferPos, int64_t &nRead, int64_t StartPos, int64_t Count,
              int64_t SectorSize);
    void ReadMem(void *aBuffer, int64_t &nRead, int64_t StartPos, int64_t Count, int64_t SectorSize);
    int64_t SectorId() const { return FSectorId; }

    ByteArray Data;
    bool Changed = false;
    TOle2Header *Header;
    TStream *DataStream;

private:
    int64_t FSectorId = -1;
};

// One directory entry as a node of the directory tree, for dropping storages from a copy.
struct TOneDirEntry
{
    TOneDirEntry(const QString &aName, int32_t aLeftSid, int32_t aRightSid, int32_t aChildSid, DECOLOR aColor,
                 STGTY aType = STGTY_INVALID)
        : Name(aName), LeftSid(aLeftSid), RightSid(aRightSid), ChildSid(aChildSid), Color(aColor), Type(aType)
    {
    }
    QString Name;
    int32_t LeftSid, RightSid, ChildSid; // -1 = none
    bool Deleted = false;
    DECOLOR Color;
    STGTY Type;
};

class TOle2File : public TObject
{
public:
    explicit TOle2File(TStream *aStream) : TOle2File(aStream, false) {}
    // aFileName names the file in messages when the stream is no file stream of its own.
    TOle2File(TStream *aStream, bool AvoidExceptions, const QString &aFileName = QString());
    // Finishes a written copy when prepared for writing; failures there are swallowed, so call
    // Close to see them.
    ~TOle2File() override;
    // Finishes a written copy (when prepared for writing) and lets go of the byte streams.
    void Close();

    void SelectStream(const QString &StreamName);
    void ReadMem(void *aBuffer, int64_t Count);
    void Read(ByteArray &Buffer, int64_t Count);
    bool NextEof(int64_t Count);
    bool Eof();
    void SeekForward(int64_t Offset);
    // A copy of the first of the root's direct children named DirName (ASCII case ignored).
    std::unique_ptr<TOle2Directory> FindDir(const QString &DirName);
    std::unique_ptr<TOle2Directory> FindRoot();
    static bool FindString(const QString &s, const QStringList &list);

    int64_t Length() const { return DIR ? DIR->ulSize : 0; }
    int64_t Position() const { return PreparedForWrite ? (DIR ? DIR->ulSize : 0) : StreamPos; }
    // The file the compound file came from, or a stand-in for data that has no file.
    QString FileName() const;
    // The selected (or written) stream; empty before one is selected.
    QString StreamName() const;
    TEncryptionData *Encryption() const { return FEncryption.get(); }
    bool IsNotXls97() const { return NotXls97; }

    // Writing (copy-and-replace).
    void PrepareForWrite(TStream *OutStream, const QString &OStreamName, const QStringList &DeleteStorages);
    void WriteRawMem(const void *Buffer, int64_t Count);
    void WriteMem(const void *Buffer, int64_t Count) { WriteRawMem(Buffer, Count); }
    void WriteRaw(const ByteArray &Buffer, int64_t Count) { WriteRaw(Buffer, 0, Count); }
    void WriteRaw(const ByteArray &Buffer, int64_t StartPos, int64_t Count);
    void Write(const ByteArray &Buffer, int64_t Count) { Write(Buffer, 0, Count); }
    void Write(const ByteArray &Buffer, int64_t StartPos, int64_t Count);
    void Write16(uint16_t Data);
    void Write32(uint32_t Data);
    void WriteHeader(uint16_t Id, uint16_t Len);

    TStream *FStream;
    std::unique_ptr<TOle2Header> Header;
    std::unique_ptr<TOle2FAT> FAT;
    std::unique_ptr<TOle2MiniFAT> MiniFAT;
    std::unique_ptr<TSectorBuffer> SectorBuffer;
    std::unique_ptr<TOle2Directory> ROOT;
    std::unique_ptr<TEncryptionData> FEncryption;
    std::unique_ptr<TOle2Directory> DIR;
    int64_t StreamPos = 0;
    bool PreparedForWrite = false;
    int64_t DIRStartPos = -1;
    bool NotXls97 = false;

private:
    QString FFileName;
    void FinishWrite();
    bool CheckWritable();
    void ReadSectorInto(int64_t Sect, uint8_t *Dest);
    std::vector<TOneDirEntry> LoadDirEntries(const QStringList &DeleteStorages, bool &AnyBlack);
    std::vector<uint8_t> RootChildren(const std::vector<TOneDirEntry> &Nodes) const;
    void CheckChain(int64_t Start, int64_t Steps, const TOle2SectorList &List, int64_t Limit);

    std::vector<uint32_t> dirChain_;  // directory sectors, in chain order
    std::vector<uint32_t> rootChain_; // the mini stream's sectors
    std::vector<uint32_t> stamp_;     // revisit marks of chain walks
    uint32_t stampGen_ = 0;
    bool closed_ = false;
};
