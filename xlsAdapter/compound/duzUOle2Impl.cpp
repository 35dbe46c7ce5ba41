#include "xlsAdapter/compound/duzUOle2Impl.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <algorithm>
#include <cstring>

namespace {

const char *const SFileInvalid = "The file \"%s\" is invalid";
const char *const SEndOfStream = "End of stream reached with %d bytes left to read";
const char *const SInvalidOleStream = "Invalid OLE Stream operation on stream: \"%s\"";
const char *const SSeekBackwards = "Tarvix can't read the properties of this file.";
const char *const STooManyEntries = "Too many entries for this kind of record (%d out of a maximum of %d)";

const uint8_t Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr int32_t HeaderDataSize = 76;
constexpr int32_t HeaderDifatCount = 109;
constexpr int32_t DirEntrySize = 128;

const char *const SNoFileName = "(data in memory)";

QString FileNameOf(TStream *aStream, const QString &Given)
{
    if (const auto *f = dynamic_cast<const TFileStream *>(aStream))
        return f->FileName();
    return Given.isEmpty() ? QString::fromLatin1(SNoFileName) : Given;
}

[[noreturn]] void FileInvalid(const QString &FileName)
{
    throw Exception(Format(QString::fromLatin1(SFileInvalid), {FileName}));
}
[[noreturn]] void InvalidOle(const QString &Name)
{
    throw Exception(Format(QString::fromLatin1(SInvalidOleStream), {Name}));
}

uint32_t Get32(const uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
void Put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

// A sector number that may start or continue a chain in a file of FileSectors sectors.
bool IsFileSector(int64_t s, int64_t FileSectors) { return s >= 0 && s < FileSectors; }

} // namespace

void ReadStreamBlock(TStream *aStream, uint8_t *Buffer, int64_t Count)
{
    int64_t got = 0;
    while (got < Count) {
        const int64_t n = aStream->Read(Buffer + got, Count - got);
        if (n <= 0)
            break;
        got += n;
    }
    if (got < Count)
        std::memset(Buffer + got, 0, static_cast<size_t>(Count - got));
}

bool SameAsciiText(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 'a' && x <= 'z')
            x = char16_t(x - 32);
        if (y >= 'a' && y <= 'z')
            y = char16_t(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Header

TOle2Header::TOle2Header(TStream *aStream, bool AvoidExceptions, const QString &FileName)
    : FileSignature(Signature, Signature + 8), Data(HeaderDataSize, 0)
{
    StartOfs = aStream->Position();
    const int64_t remain = aStream->Size() - StartOfs;
    if (remain < HeaderDataSize) {
        if (AvoidExceptions) {
            NotXls97 = true;
            return;
        }
        FileInvalid(FileName);
    }
    ReadStreamBlock(aStream, Data.data(), HeaderDataSize);
    if (!std::equal(FileSignature.begin(), FileSignature.end(), Data.begin())) {
        if (AvoidExceptions) {
            NotXls97 = true;
            return;
        }
        FileInvalid(FileName);
    }
    uSectorShift = static_cast<int32_t>(Get16(30));
    ulMiniSectorCutoff = FulMiniSectorCutoff();
    // Every position assumes 512-byte sectors behind a 512-byte header; anything else, or
    // counts and starts the byte stream cannot hold, is refused before anything is allocated.
    if (uSectorShift != 9 || uMiniSectorShift() != 6 || ulMiniSectorCutoff > 4096)
        FileInvalid(FileName);
    SectorSize = 1u << uSectorShift;
    FileSectors = remain > 512 ? (remain - 512 + SectorSize - 1) / SectorSize : 0;
    const auto startOk = [&](uint32_t s) { return s == ENDOFCHAIN || s == FREESECT || s < FileSectors; };
    if (csectFat() > FileSectors || csectDif() > FileSectors || csectMiniFat() > FileSectors
        || !IsFileSector(sectDirStart(), FileSectors) || !startOk(sectMiniFatStart()) || !startOk(sectDifStart()))
        FileInvalid(FileName);
}

void TOle2Header::Save(TStream *aStream) const
{
    aStream->WriteBuffer(Data.data(), HeaderDataSize);
}

// ---------------------------------------------------------------------------------------------
// FAT and mini FAT

uint32_t TOle2SectorList::Items(int64_t i) const
{
    if (i < 0 || i >= Count())
        ListIndexError(static_cast<int>(i));
    return items_[static_cast<size_t>(i)];
}

void TOle2SectorList::SetItems(int64_t i, uint32_t v)
{
    if (i < 0 || i >= Count())
        ListIndexError(static_cast<int>(i));
    items_[static_cast<size_t>(i)] = v;
}

TOle2FAT::TOle2FAT(TOle2Header *aHeader, TStream *aStream) : Header(aHeader)
{
    if (!aStream)
        return;
    const int64_t perSector = int64_t(1) << uFATEntryShift();
    Capacity((int64_t(Header->csectFat()) << uFATEntryShift()) + HeaderDifatCount + 16);
    // Unused DIFAT slots keep later entries in place; past what the file can address they
    // would only cost memory.
    padLimit_ = ((Header->FileSectors + perSector - 1) / perSector + HeaderDifatCount) * perSector;

    ByteArray difat(436), buf(Header->SectorSize);
    aStream->Seek(Header->StartOfs + HeaderDataSize, soFromBeginning);
    ReadStreamBlock(aStream, difat.data(), 436);
    bool ended = false;
    LoadFatSectors(aStream, difat.data(), HeaderDifatCount, ended, buf);

    std::vector<bool> seen(static_cast<size_t>(Header->FileSectors));
    ByteArray dif(Header->SectorSize);
    int64_t sect = Header->sectDifStart();
    for (uint32_t i = 0; i < Header->csectDif(); ++i) {
        if (sect == ENDOFCHAIN || !IsFileSector(sect, Header->FileSectors) || seen[static_cast<size_t>(sect)])
            ErrExcelInvalid();
        seen[static_cast<size_t>(sect)] = true;
        aStream->Seek(Header->SectToStPos(sect), soFromBeginning);
        ReadStreamBlock(aStream, dif.data(), Header->SectorSize);
        ended = false;
        LoadFatSectors(aStream, dif.data(), static_cast<int32_t>(perSector - 1), ended, buf);
        sect = Get32(dif.data() + Header->SectorSize - 4);
    }
}

void TOle2FAT::LoadFatSectors(TStream *aStream, const uint8_t *Sects, int32_t n, bool &Ended, ByteArray &Buf)
{
    const int64_t perSector = int64_t(1) << uFATEntryShift();
    for (int32_t i = 0; i < n && !Ended; ++i) {
        const uint32_t s = Get32(Sects + 4 * i);
        if (s == ENDOFCHAIN) {
            Ended = true;
        } else if (s == FREESECT) {
            if (Count() + perSector <= padLimit_)
                items_.insert(items_.end(), static_cast<size_t>(perSector), FREESECT);
        } else {
            // More FAT sectors than the file holds can only repeat some of them.
            if (!IsFileSector(s, Header->FileSectors) || Count() >= padLimit_ + Header->FileSectors * perSector)
                ErrExcelInvalid();
            aStream->Seek(Header->SectToStPos(s), soFromBeginning);
            ReadStreamBlock(aStream, Buf.data(), Header->SectorSize);
            for (int64_t k = 0; k < perSector; ++k)
                items_.push_back(Get32(Buf.data() + 4 * k));
        }
    }
}

int64_t TOle2FAT::GetNextSector(int64_t Sect) const
{
    if (Sect < 0 || Sect >= Count())
        ErrExcelInvalid();
    return items_[static_cast<size_t>(Sect)];
}

int64_t TOle2FAT::FindSector(int64_t StartSect, int64_t SectOfs)
{
    int64_t sect = StartSect, steps = SectOfs;
    if (StartSect == LastFindSectorStart && SectOfs >= LastFindSectorOfs) {
        sect = LastFindSectorRes;
        steps = SectOfs - LastFindSectorOfs;
    }
    if (steps > Count())
        ErrExcelInvalid();
    for (int64_t i = 0; i < steps; ++i)
        sect = GetNextSector(sect);
    LastFindSectorStart = StartSect;
    LastFindSectorOfs = SectOfs;
    LastFindSectorRes = sect;
    return sect;
}

TOle2MiniFAT::TOle2MiniFAT(TOle2Header *aHeader, TStream *aStream, TOle2FAT *aFAT) : Header(aHeader)
{
    if (!aStream)
        return;
    const int64_t perSector = int64_t(1) << (Header->uSectorShift - 2);
    Capacity((int64_t(Header->csectMiniFat()) << (Header->uSectorShift - 2)) + 16);
    std::vector<bool> seen(static_cast<size_t>(Header->FileSectors));
    ByteArray buf(Header->SectorSize);
    int64_t sect = Header->sectMiniFatStart();
    for (uint32_t i = 0; i < Header->csectMiniFat(); ++i) {
        if (sect == ENDOFCHAIN || !IsFileSector(sect, Header->FileSectors) || seen[static_cast<size_t>(sect)])
            ErrExcelInvalid();
        seen[static_cast<size_t>(sect)] = true;
        aStream->Seek(Header->SectToStPos(sect), soFromBeginning);
        ReadStreamBlock(aStream, buf.data(), Header->SectorSize);
        for (int64_t k = 0; k < perSector; ++k)
            items_.push_back(Get32(buf.data() + 4 * k));
        sect = aFAT->GetNextSector(sect);
    }
}

int64_t TOle2MiniFAT::GetNextSector(int64_t Sect) const
{
    if (Sect < 0 || Sect >= Count())
        ErrExcelInvalid();
    return items_[static_cast<size_t>(Sect)];
}

int64_t TOle2MiniFAT::FindSector(int64_t StartSect, int64_t SectOfs) const
{
    if (SectOfs > Count())
        ErrExcelInvalid();
    int64_t sect = StartSect;
    for (int64_t i = 0; i < SectOfs; ++i)
        sect = GetNextSector(sect);
    return sect;
}

// ---------------------------------------------------------------------------------------------
// Directory entries

TOle2Directory::TOle2Directory(const ByteArray &aData) : Data(aData)
{
    Data.resize(DirEntrySize, 0);
    ulSize = GetSize(Data, 0);
}

int32_t TOle2Directory::GetNameSize(const ByteArray &Buf, int32_t Ofs)
{
    const int32_t n = Buf[Ofs + 64];
    return n < 2 || n > 64 ? 0 : n - 2;
}

QString TOle2Directory::GetName(const ByteArray &Buf, int32_t Ofs)
{
    const int32_t chars = GetNameSize(Buf, Ofs) / 2;
    QString s(chars, QChar());
    for (int32_t i = 0; i < chars; ++i)
        s[i] = QChar(char16_t(Buf[Ofs + 2 * i] | (Buf[Ofs + 2 * i + 1] << 8)));
    return s;
}

STGTY TOle2Directory::GetType(const ByteArray &Buf, int32_t Ofs) { return static_cast<STGTY>(Buf[Ofs + 66]); }
uint32_t TOle2Directory::GetSectStart(const ByteArray &Buf, int32_t Ofs) { return Get32(&Buf[Ofs + 116]); }
void TOle2Directory::SetSectStart(ByteArray &Buf, int32_t Ofs, uint32_t v) { Put32(&Buf[Ofs + 116], v); }
int64_t TOle2Directory::GetSize(const ByteArray &Buf, int32_t Ofs) { return Get32(&Buf[Ofs + 120]); }
void TOle2Directory::SetSize(ByteArray &Buf, int32_t Ofs, int64_t v) { Put32(&Buf[Ofs + 120], uint32_t(v)); }
int32_t TOle2Directory::GetLeftSid(const ByteArray &Buf, int32_t Ofs) { return int32_t(Get32(&Buf[Ofs + 68])); }
void TOle2Directory::SetLeftSid(ByteArray &Buf, int32_t Ofs, int32_t v) { Put32(&Buf[Ofs + 68], uint32_t(v)); }
int32_t TOle2Directory::GetRightSid(const ByteArray &Buf, int32_t Ofs) { return int32_t(Get32(&Buf[Ofs + 72])); }
void TOle2Directory::SetRightSid(ByteArray &Buf, int32_t Ofs, int32_t v) { Put32(&Buf[Ofs + 72], uint32_t(v)); }
int32_t TOle2Directory::GetChildSid(const ByteArray &Buf, int32_t Ofs) { return int32_t(Get32(&Buf[Ofs + 76])); }
void TOle2Directory::SetChildSid(ByteArray &Buf, int32_t Ofs, int32_t v) { Put32(&Buf[Ofs + 76], uint32_t(v)); }
DECOLOR TOle2Directory::GetColor(const ByteArray &Buf, int32_t Ofs) { return static_cast<DECOLOR>(Buf[Ofs + 67]); }
void TOle2Directory::SetColor(ByteArray &Buf, int32_t Ofs, DECOLOR v) { Buf[Ofs + 67] = v; }

void TOle2Directory::Clear(ByteArray &Buf, int32_t Ofs)
{
    std::memset(&Buf[Ofs], 0, DirEntrySize);
    SetLeftSid(Buf, Ofs, -1);
    SetRightSid(Buf, Ofs, -1);
    SetChildSid(Buf, Ofs, -1);
}

void TOle2Directory::SetNameSize(int32_t v)
{
    if (v < 0 || v > 62)
        throw Exception(Format(QString::fromLatin1(STooManyEntries), {v, 62}));
    Data[64] = uint8_t(v + 2);
}

void TOle2Directory::SetName(const QString &v)
{
    const int32_t n = static_cast<int32_t>(std::min<qsizetype>(v.size(), 32));
    for (int32_t i = 0; i < n; ++i) {
        Data[2 * i] = uint8_t(v[i].unicode());
        Data[2 * i + 1] = uint8_t(v[i].unicode() >> 8);
    }
    SetNameSize(2 * n);
}

void TOle2Directory::Save(TStream *aStream)
{
    SetSize(Data, 0, ulSize);
    aStream->WriteBuffer(Data.data(), DirEntrySize);
}

// ---------------------------------------------------------------------------------------------
// Sector cache

TSectorBuffer::TSectorBuffer(TOle2Header *aHeader, TStream *aDataStream)
    : Data(aHeader->SectorSize), Header(aHeader), DataStream(aDataStream)
{
}

TSectorBuffer::~TSectorBuffer()
{
    try {
        Save();
    } catch (...) {
    }
}

void TSectorBuffer::Save()
{
    if (!Changed || FSectorId < 0)
        return;
    DataStream->Seek(Header->SectToStPos(FSectorId), soFromBeginning);
    DataStream->WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
    Changed = false;
}

void TSectorBuffer::Load(int64_t SectNo)
{
    Save();
    if (SectNo == FSectorId)
        return;
    DataStream->Seek(Header->SectToStPos(SectNo), soFromBeginning);
    FSectorId = -1;
    ReadStreamBlock(DataStream, Data.data(), static_cast<int64_t>(Data.size()));
    FSectorId = SectNo;
}

void TSectorBuffer::ReadMem(void *aBuffer, int64_t &nRead, int64_t StartPos, int64_t Count, int64_t SectorSize)
{
    nRead = std::max<int64_t>(0, std::min(SectorSize - StartPos, Count));
    std::memcpy(aBuffer, Data.data() + StartPos, static_cast<size_t>(nRead));
}

void TSectorBuffer::Read(ByteArray &aBuffer, int64_t BufferPos, int64_t &nRead, int64_t StartPos, int64_t Count,
                         int64_t SectorSize)
{
    ReadMem(aBuffer.data() + BufferPos, nRead, StartPos, std::min<int64_t>(Count, aBuffer.size() - BufferPos),
            SectorSize);
}

// ---------------------------------------------------------------------------------------------
// The compound file

TOle2File::TOle2File(TStream *aStream, bool AvoidExceptions, const QString &aFileName)
    : FStream(aStream), FFileName(FileNameOf(aStream, aFileName))
{
    const int64_t start = aStream->Position();
    Header = std::make_unique<TOle2Header>(aStream, AvoidExceptions, FFileName);
    if (Header->NotXls97) {
        NotXls97 = true;
        aStream->Seek(start, soFromBeginning);
        return;
    }
    FAT = std::make_unique<TOle2FAT>(Header.get(), aStream);
    MiniFAT = std::make_unique<TOle2MiniFAT>(Header.get(), aStream, FAT.get());

    // The directory chain is walked once here, so that no later walk can loop or stray.
    int64_t sect = Header->sectDirStart();
    stampGen_++;
    stamp_.assign(static_cast<size_t>(Header->FileSectors), 0);
    while (sect != ENDOFCHAIN) {
        if (!IsFileSector(sect, Header->FileSectors) || stamp_[static_cast<size_t>(sect)] == stampGen_)
            ErrExcelInvalid();
        stamp_[static_cast<size_t>(sect)] = stampGen_;
        dirChain_.push_back(static_cast<uint32_t>(sect));
        sect = FAT->GetNextSector(sect);
    }
    ROOT = FindRoot();
    // The mini stream: the root's chain, as far as its size reaches.
    const int64_t rootSectors = (ROOT->ulSize + Header->SectorSize - 1) / Header->SectorSize;
    sect = ROOT->SectStart();
    stampGen_++;
    for (int64_t i = 0; i < rootSectors && sect != ENDOFCHAIN; ++i) {
        if (!IsFileSector(sect, Header->FileSectors) || stamp_[static_cast<size_t>(sect)] == stampGen_)
            ErrExcelInvalid();
        stamp_[static_cast<size_t>(sect)] = stampGen_;
        rootChain_.push_back(static_cast<uint32_t>(sect));
        sect = FAT->GetNextSector(sect);
    }
    SectorBuffer = std::make_unique<TSectorBuffer>(Header.get(), aStream);
    FEncryption = std::make_unique<TEncryptionData>(QString(), nullptr, nullptr);
}

void TOle2File::ReadSectorInto(int64_t Sect, uint8_t *Dest)
{
    FStream->Seek(Header->SectToStPos(Sect), soFromBeginning);
    ReadStreamBlock(FStream, Dest, Header->SectorSize);
}

std::unique_ptr<TOle2Directory> TOle2File::FindRoot()
{
    ByteArray sec(Header->SectorSize);
    ReadSectorInto(dirChain_.front(), sec.data());
    return std::make_unique<TOle2Directory>(ByteArray(sec.begin(), sec.begin() + DirEntrySize));
}

std::vector<TOneDirEntry> TOle2File::LoadDirEntries(const QStringList &DeleteStorages, bool &AnyBlack)
{
    AnyBlack = false;
    const int32_t perSector = static_cast<int32_t>(Header->SectorSize / DirEntrySize);
    std::vector<TOneDirEntry> nodes;
    nodes.reserve(dirChain_.size() * perSector);
    ByteArray sec(Header->SectorSize);
    for (uint32_t s : dirChain_) {
        ReadSectorInto(s, sec.data());
        for (int32_t e = 0; e < perSector; ++e) {
            const int32_t o = e * DirEntrySize;
            nodes.emplace_back(TOle2Directory::GetName(sec, o), TOle2Directory::GetLeftSid(sec, o),
                               TOle2Directory::GetRightSid(sec, o), TOle2Directory::GetChildSid(sec, o),
                               TOle2Directory::GetColor(sec, o), TOle2Directory::GetType(sec, o));
        }
    }
    if (DeleteStorages.isEmpty())
        return nodes;

    const int32_t n = static_cast<int32_t>(nodes.size());
    const auto valid = [&](int32_t i) {
        if (i >= n)
            ErrExcelInvalid();
        return i >= 0;
    };
    // The named storage and everything below it goes; its own siblings stay.
    for (int32_t i = 1; i < n; ++i) {
        if (!FindString(nodes[i].Name, DeleteStorages))
            continue;
        if (!nodes[i].Deleted && nodes[i].Color == DECOLOR_BLACK)
            AnyBlack = true;
        std::vector<std::pair<int32_t, int32_t>> stack{{i, 0}};
        while (!stack.empty()) {
            const auto [k, depth] = stack.back();
            stack.pop_back();
            if (nodes[k].Deleted)
                continue;
            nodes[k].Deleted = true;
            if (valid(nodes[k].ChildSid))
                stack.push_back({nodes[k].ChildSid, depth + 1});
            if (depth > 0) {
                if (valid(nodes[k].LeftSid))
                    stack.push_back({nodes[k].LeftSid, depth + 1});
                if (valid(nodes[k].RightSid))
                    stack.push_back({nodes[k].RightSid, depth + 1});
            }
        }
    }

    // Take the deleted nodes out of every tree, visiting each remaining node once.
    const auto unlink = [&](int32_t &link) {
        TOneDirEntry &d = nodes[link];
        valid(d.LeftSid);
        valid(d.RightSid);
        if (d.LeftSid < 0 && d.RightSid < 0) {
            link = -1;
        } else if (d.LeftSid < 0) {
            link = d.RightSid;
        } else if (d.RightSid < 0) {
            link = d.LeftSid;
        } else {
            int32_t s = d.RightSid, p = -1;
            for (int32_t steps = 0; valid(nodes[s].LeftSid); ++steps) {
                if (steps > n)
                    ErrExcelInvalid();
                p = s;
                s = nodes[s].LeftSid;
            }
            nodes[s].LeftSid = d.LeftSid;
            if (p >= 0) {
                nodes[p].LeftSid = nodes[s].RightSid;
                nodes[s].RightSid = d.RightSid;
            }
            link = s;
        }
    };
    std::vector<bool> seen(n);
    int32_t rootLink = 0;
    std::vector<int32_t *> work{&rootLink};
    while (!work.empty()) {
        int32_t *link = work.back();
        work.pop_back();
        for (int32_t steps = 0; *link > 0 && valid(*link) && nodes[*link].Deleted; ++steps) {
            if (steps > n)
                ErrExcelInvalid();
            unlink(*link);
        }
        if (!valid(*link))
            continue;
        if (seen[*link])
            ErrExcelInvalid();
        seen[*link] = true;
        TOneDirEntry &d = nodes[*link];
        work.push_back(&d.ChildSid);
        work.push_back(&d.RightSid);
        work.push_back(&d.LeftSid);
    }
    if (rootLink != 0)
        throw Exception(QStringLiteral("Can't delete root"));
    return nodes;
}

std::vector<uint8_t> TOle2File::RootChildren(const std::vector<TOneDirEntry> &Nodes) const
{
    // Only the root's own children count: a stream of the same name inside a storage belongs
    // to an embedded object. A broken tree just hides what it does not reach.
    const int32_t n = static_cast<int32_t>(Nodes.size());
    std::vector<uint8_t> kid(n, 0), seen(n, 0);
    std::vector<int32_t> work;
    if (n > 0)
        work.push_back(Nodes[0].ChildSid);
    while (!work.empty()) {
        const int32_t i = work.back();
        work.pop_back();
        if (i <= 0 || i >= n || seen[i])
            continue;
        seen[i] = kid[i] = 1;
        work.push_back(Nodes[i].LeftSid);
        work.push_back(Nodes[i].RightSid);
    }
    return kid;
}

std::unique_ptr<TOle2Directory> TOle2File::FindDir(const QString &DirName)
{
    bool anyBlack;
    const std::vector<TOneDirEntry> nodes = LoadDirEntries(QStringList(), anyBlack);
    const std::vector<uint8_t> kid = RootChildren(nodes);
    const int32_t perSector = static_cast<int32_t>(Header->SectorSize / DirEntrySize);
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!kid[i] || !SameAsciiText(nodes[i].Name, DirName))
            continue;
        ByteArray sec(Header->SectorSize);
        ReadSectorInto(dirChain_[i / perSector], sec.data());
        const auto o = static_cast<ptrdiff_t>((i % perSector) * DirEntrySize);
        return std::make_unique<TOle2Directory>(ByteArray(sec.begin() + o, sec.begin() + o + DirEntrySize));
    }
    return nullptr;
}

bool TOle2File::FindString(const QString &s, const QStringList &list)
{
    return list.contains(s, Qt::CaseSensitive);
}

void TOle2File::CheckChain(int64_t Start, int64_t Steps, const TOle2SectorList &List, int64_t Limit)
{
    if (stamp_.size() < static_cast<size_t>(Limit))
        stamp_.resize(static_cast<size_t>(Limit), 0);
    if (++stampGen_ == 0) {
        std::fill(stamp_.begin(), stamp_.end(), 0);
        stampGen_ = 1;
    }
    int64_t s = Start;
    for (int64_t i = 0; i < Steps; ++i) {
        if (s < 0 || s >= Limit || s >= List.Count() || stamp_[static_cast<size_t>(s)] == stampGen_)
            ErrExcelInvalid();
        stamp_[static_cast<size_t>(s)] = stampGen_;
        s = List.Items(s);
    }
}

QString TOle2File::FileName() const { return FFileName; }

QString TOle2File::StreamName() const { return DIR ? DIR->Name() : QString(); }

void TOle2File::SelectStream(const QString &StreamName)
{
    if (PreparedForWrite)
        InvalidOle(StreamName);
    DIR.reset();
    auto dir = FindDir(StreamName);
    if (!dir)
        throw Exception(Format(QString::fromLatin1(SFileInvalid), {FileName()}));
    // A chain that leaves the file or loops before the stream's size is reached is refused here,
    // so that the reads need no further checks of their own.
    const int64_t size = dir->ulSize;
    if (size > 0) {
        if (size < Header->ulMiniSectorCutoff) {
            const int64_t mini = Header->MiniSectorSize();
            CheckChain(dir->SectStart(), (size + mini - 1) / mini, *MiniFAT, MiniFAT->Count());
        } else {
            CheckChain(dir->SectStart(), (size + Header->SectorSize - 1) / Header->SectorSize, *FAT,
                       Header->FileSectors);
        }
    }
    DIR = std::move(dir);
    StreamPos = 0;
}

void TOle2File::ReadMem(void *aBuffer, int64_t Count)
{
    if (!DIR)
        return;
    if (PreparedForWrite)
        InvalidOle(StreamName());
    if (Count <= 0)
        return;
    if (StreamPos + Count > DIR->ulSize)
        throw Exception(Format(QString::fromLatin1(SEndOfStream), {StreamPos + Count - DIR->ulSize}));
    auto *out = static_cast<uint8_t *>(aBuffer);
    const int32_t shift = Header->uSectorShift;
    const int64_t S = Header->SectorSize;
    int64_t done = 0, nRead = 0;
    if (DIR->ulSize < Header->ulMiniSectorCutoff) {
        const int32_t mshift = Header->uMiniSectorShift();
        const int64_t M = Header->MiniSectorSize();
        const int64_t ratio = int64_t(1) << (shift - mshift);
        int64_t mini = MiniFAT->FindSector(DIR->SectStart(), StreamPos >> mshift);
        while (done < Count) {
            const int64_t rootIndex = mini >> (shift - mshift);
            if (mini < 0 || rootIndex >= static_cast<int64_t>(rootChain_.size()))
                ErrExcelInvalid();
            SectorBuffer->Load(rootChain_[static_cast<size_t>(rootIndex)]);
            const int64_t base = (mini % ratio) << mshift;
            SectorBuffer->ReadMem(out + done, nRead, base + StreamPos % M, Count - done, base + M);
            StreamPos += nRead;
            done += nRead;
            if (done < Count)
                mini = MiniFAT->GetNextSector(mini);
        }
    } else {
        int64_t sect = FAT->FindSector(DIR->SectStart(), StreamPos >> shift);
        while (done < Count) {
            if (!IsFileSector(sect, Header->FileSectors))
                ErrExcelInvalid();
            SectorBuffer->Load(sect);
            SectorBuffer->ReadMem(out + done, nRead, StreamPos & (S - 1), Count - done, S);
            StreamPos += nRead;
            done += nRead;
            if (done < Count)
                sect = FAT->GetNextSector(sect);
        }
    }
}

void TOle2File::Read(ByteArray &Buffer, int64_t Count)
{
    if (Buffer.empty())
        return;
    ReadMem(Buffer.data(), std::min<int64_t>(Count, static_cast<int64_t>(Buffer.size())));
}

bool TOle2File::NextEof(int64_t Count)
{
    if (PreparedForWrite)
        InvalidOle(StreamName());
    return StreamPos + Count >= Length();
}

bool TOle2File::Eof()
{
    if (PreparedForWrite)
        InvalidOle(StreamName());
    return StreamPos >= Length();
}

void TOle2File::SeekForward(int64_t Offset)
{
    if (Offset < Position())
        throw Exception(QString::fromLatin1(SSeekBackwards));
    if (!DIR || Offset == Position())
        return;
    if (PreparedForWrite)
        InvalidOle(StreamName());
    if (Offset > DIR->ulSize)
        throw Exception(Format(QString::fromLatin1(SEndOfStream), {Offset - DIR->ulSize}));
    ByteArray scratch(static_cast<size_t>(std::min<int64_t>(Offset - StreamPos, 65536)));
    while (StreamPos < Offset)
        ReadMem(scratch.data(), std::min<int64_t>(Offset - StreamPos, static_cast<int64_t>(scratch.size())));
}
