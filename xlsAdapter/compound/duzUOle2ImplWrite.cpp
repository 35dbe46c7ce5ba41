// Writing a copy of a compound file in which one stream of the root is replaced.
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <algorithm>
#include <cstring>

namespace {

const char *const SInvalidOleStream = "Invalid OLE Stream operation on stream: \"%s\"";
constexpr int32_t DirEntrySize = 128;
constexpr int64_t HeaderDifatCount = 109;
// Sectors copied with one read and one write when a source chain runs contiguously.
constexpr int64_t CopyRun = 128;

[[noreturn]] void InvalidOle(const QString &Name)
{
    throw Exception(Format(QString::fromLatin1(SInvalidOleStream), {Name}));
}

void Put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

} // namespace

TOle2File::~TOle2File()
{
    if (PreparedForWrite && !closed_) {
        try {
            FinishWrite();
        } catch (...) {
        }
        closed_ = true;
    }
}

void TOle2File::Close()
{
    if (PreparedForWrite && !closed_) {
        try {
            FinishWrite();
        } catch (...) {
            closed_ = true;
            throw;
        }
        closed_ = true;
    }
}

void TOle2File::PrepareForWrite(TStream *OutStream, const QString &OStreamName, const QStringList &DeleteStorages)
{
    if (PreparedForWrite || NotXls97)
        InvalidOle(OStreamName);
    DIRStartPos = -1;
    int64_t DirOfs = -1;
    auto NewFat = std::make_unique<TOle2FAT>(Header.get(), nullptr);
    int64_t PrevDir = -1;
    const int64_t OutStart = OutStream->Position();
    DIR.reset();
    const ByteArray savedHeader = Header->Data;
    const int64_t S = Header->SectorSize;
    const int64_t perSector = S / DirEntrySize;

    try {
        bool AnyBlack = false;
        const bool deleting = !DeleteStorages.isEmpty();
        const std::vector<TOneDirEntry> nodes = LoadDirEntries(DeleteStorages, AnyBlack);
        const std::vector<uint8_t> rootKid = RootChildren(nodes);

        OutStream->Seek(OutStart + 512, soFromBeginning);
        ByteArray run(static_cast<size_t>(S * CopyRun));
        int64_t runFirst = -1, runLen = 0;
        // Copies the pending run of contiguous source sectors to the output.
        const auto flush = [&] {
            if (runLen == 0)
                return;
            FStream->Seek(Header->SectToStPos(runFirst), soFromBeginning);
            ReadStreamBlock(FStream, run.data(), runLen * S);
            OutStream->WriteBuffer(run.data(), runLen * S);
            if (OutStream->Position() != OutStart + 512 + NewFat->Count() * S)
                throw Exception(QStringLiteral("New Stream IO Error"));
            runLen = 0;
        };
        // Sectors of one chain must lie in the file and appear once.
        const auto newWalk = [&] {
            if (stamp_.size() < static_cast<size_t>(Header->FileSectors))
                stamp_.resize(static_cast<size_t>(Header->FileSectors), 0);
            if (++stampGen_ == 0) {
                std::fill(stamp_.begin(), stamp_.end(), 0);
                stampGen_ = 1;
            }
        };
        const auto visit = [&](int64_t s) {
            if (s < 0 || s >= Header->FileSectors || s >= FAT->Count() || stamp_[static_cast<size_t>(s)] == stampGen_)
                ErrExcelInvalid();
            stamp_[static_cast<size_t>(s)] = stampGen_;
        };

        ByteArray sec(static_cast<size_t>(S));
        int64_t EntryNo = 0;
        for (uint32_t DirSect : dirChain_) {
            FStream->Seek(Header->SectToStPos(DirSect), soFromBeginning);
            ReadStreamBlock(FStream, sec.data(), S);
            for (int64_t e = 0; e < perSector; ++e, ++EntryNo) {
                const int32_t o = static_cast<int32_t>(e * DirEntrySize);
                const TOneDirEntry &node = nodes[static_cast<size_t>(EntryNo)];
                if (AnyBlack)
                    TOle2Directory::SetColor(sec, o, DECOLOR_BLACK);
                if (deleting && node.Deleted) {
                    TOle2Directory::Clear(sec, o);
                    continue;
                }
                if (deleting) {
                    TOle2Directory::SetLeftSid(sec, o, node.LeftSid);
                    TOle2Directory::SetRightSid(sec, o, node.RightSid);
                    TOle2Directory::SetChildSid(sec, o, node.ChildSid);
                }
                const STGTY type = TOle2Directory::GetType(sec, o);
                const int64_t size = TOle2Directory::GetSize(sec, o);
                const bool target = !DIR && type == STGTY_STREAM && rootKid[static_cast<size_t>(EntryNo)]
                                    && SameAsciiText(TOle2Directory::GetName(sec, o), OStreamName);
                if (target) {
                    TOle2Directory::SetSectStart(sec, o, ENDOFCHAIN);
                    TOle2Directory::SetSize(sec, o, 0);
                    DIR = std::make_unique<TOle2Directory>(ByteArray(sec.begin() + o, sec.begin() + o + DirEntrySize));
                    DirOfs = o;
                    continue;
                }
                const bool copied = (type == STGTY_STREAM && size >= Header->ulMiniSectorCutoff) || type == STGTY_ROOT;
                if (!copied)
                    continue;
                int64_t Start = TOle2Directory::GetSectStart(sec, o);
                int64_t Copied = 0;
                // An entry with nothing to copy gets no start sector of the copy.
                TOle2Directory::SetSectStart(
                    sec, o, Start != ENDOFCHAIN && size > 0 ? uint32_t(NewFat->Count()) : ENDOFCHAIN);
                newWalk();
                while (Start != ENDOFCHAIN && Copied < size) {
                    visit(Start);
                    if (runLen > 0 && (Start != runFirst + runLen || runLen == CopyRun))
                        flush();
                    if (runLen == 0)
                        runFirst = Start;
                    ++runLen;
                    Start = FAT->GetNextSector(Start);
                    Copied += S;
                    NewFat->Add(Start == ENDOFCHAIN || Copied >= size ? ENDOFCHAIN : uint32_t(NewFat->Count() + 1));
                }
                flush();
            }
            if (DirOfs >= 0) {
                DIRStartPos = OutStream->Position() + DirOfs;
                DirOfs = -1;
            }
            OutStream->WriteBuffer(sec.data(), S);
            NewFat->Add(ENDOFCHAIN);
            if (PrevDir < 0)
                Header->SetsectDirStart(uint32_t(NewFat->Count() - 1));
            else
                NewFat->SetItems(PrevDir, uint32_t(NewFat->Count() - 1));
            PrevDir = NewFat->Count() - 1;
        }
        if (!DIR)
            InvalidOle(OStreamName);

        // The mini FAT, linked the same way as the directory sectors.
        PrevDir = -1;
        int64_t mf = Header->sectMiniFatStart();
        newWalk();
        while (mf != ENDOFCHAIN && mf != FREESECT) {
            visit(mf);
            FStream->Seek(Header->SectToStPos(mf), soFromBeginning);
            ReadStreamBlock(FStream, sec.data(), S);
            OutStream->WriteBuffer(sec.data(), S);
            NewFat->Add(ENDOFCHAIN);
            if (PrevDir < 0)
                Header->SetsectMiniFatStart(uint32_t(NewFat->Count() - 1));
            else
                NewFat->SetItems(PrevDir, uint32_t(NewFat->Count() - 1));
            PrevDir = NewFat->Count() - 1;
            mf = FAT->GetNextSector(mf);
        }
    } catch (...) {
        // The source stays readable: its header and FAT are untouched.
        Header->Data = savedHeader;
        DIR.reset();
        throw;
    }

    FAT = std::move(NewFat);
    FStream = OutStream;
    Header->StartOfs = OutStart;
    SectorBuffer = std::make_unique<TSectorBuffer>(Header.get(), OutStream);
    ROOT.reset();
    PreparedForWrite = true;
    DIR->SetSectStart(uint32_t(FAT->Count()));
    DIR->ulSize = 0;
}

bool TOle2File::CheckWritable()
{
    if (!DIR)
        return false;
    if (!PreparedForWrite || closed_)
        InvalidOle(StreamName());
    return true;
}

void TOle2File::WriteRawMem(const void *Buffer, int64_t Count)
{
    if (!CheckWritable() || Count <= 0)
        return;
    FStream->WriteBuffer(Buffer, Count);
    DIR->ulSize += Count;
}

void TOle2File::WriteRaw(const ByteArray &Buffer, int64_t StartPos, int64_t Count)
{
    if (!CheckWritable() || Count <= 0)
        return;
    if (StartPos < 0 || StartPos + Count > static_cast<int64_t>(Buffer.size()))
        ListIndexError(static_cast<int>(StartPos + Count));
    WriteRawMem(Buffer.data() + StartPos, Count);
}

void TOle2File::Write(const ByteArray &Buffer, int64_t StartPos, int64_t Count)
{
    if (!CheckWritable() || Count <= 0)
        return;
    if (StartPos < 0 || StartPos + Count > static_cast<int64_t>(Buffer.size()))
        ListIndexError(static_cast<int>(StartPos + Count));
    if (TEncryptionEngine *engine = FEncryption->Engine) {
        const ByteArray coded = engine->Encode(Buffer, Position(), static_cast<int32_t>(StartPos),
                                               static_cast<int32_t>(Count), FEncryption->ActualRecordLen);
        WriteRaw(coded, static_cast<int64_t>(coded.size()));
    } else {
        WriteRawMem(Buffer.data() + StartPos, Count);
    }
}

void TOle2File::Write16(uint16_t Data)
{
    if (!CheckWritable())
        return;
    if (TEncryptionEngine *engine = FEncryption->Engine)
        Data = engine->Encode(Data, Position(), FEncryption->ActualRecordLen);
    const uint8_t b[2] = {uint8_t(Data), uint8_t(Data >> 8)};
    WriteRawMem(b, 2);
}

void TOle2File::Write32(uint32_t Data)
{
    if (!CheckWritable())
        return;
    if (TEncryptionEngine *engine = FEncryption->Engine)
        Data = engine->Encode(Data, Position(), FEncryption->ActualRecordLen);
    uint8_t b[4];
    Put32(b, Data);
    WriteRawMem(b, 4);
}

void TOle2File::WriteHeader(uint16_t Id, uint16_t Len)
{
    if (!CheckWritable())
        return;
    const uint8_t b[4] = {uint8_t(Id), uint8_t(Id >> 8), uint8_t(Len), uint8_t(Len >> 8)};
    WriteRawMem(b, 4);
    FEncryption->ActualRecordLen = Len;
}

void TOle2File::FinishWrite()
{
    const int64_t S = Header->SectorSize;
    const int64_t E = S / 4;
    if (DIR->ulSize < Header->ulMiniSectorCutoff) {
        const ByteArray zeros(static_cast<size_t>(Header->ulMiniSectorCutoff - DIR->ulSize), 0);
        WriteRawMem(zeros.data(), static_cast<int64_t>(zeros.size()));
    }
    const int64_t r = DIR->ulSize % S;
    if (r > 0) {
        const ByteArray zeros(static_cast<size_t>(S - r), 0);
        FStream->WriteBuffer(zeros.data(), S - r);
    }
    const int64_t size = DIR->ulSize;
    const int64_t N = FAT->Count();
    const int64_t T = size > 0 ? ((size - 1) >> Header->uSectorShift) + 1 : 0;

    // The chain holds exactly T sectors; DIFAT and FAT sectors follow it. F FAT sectors must
    // cover every sector including themselves, c DIFAT sectors the FAT sectors past 109.
    int64_t c = 0, F = 0;
    for (;;) {
        const int64_t Base = N + T + c;
        F = CeilDiv(Base, E);
        for (int64_t prev = -1; prev != F;) {
            prev = F;
            F = CeilDiv(Base + F, E);
        }
        const int64_t c2 = F > HeaderDifatCount ? CeilDiv(F - HeaderDifatCount, E - 1) : c;
        if (c2 == c)
            break;
        c = c2;
    }
    Header->SetcsectFat(uint32_t(F));
    Header->SetcsectDif(uint32_t(c));
    Header->SetsectDifStart(c > 0 ? uint32_t(N + T) : ENDOFCHAIN);
    const int64_t FatStart = N + T + c;

    DIR->SetSectStart(T > 0 ? uint32_t(N) : ENDOFCHAIN);
    FStream->Seek(DIRStartPos, soFromBeginning);
    DIR->Save(FStream);

    FStream->Seek(Header->StartOfs, soFromBeginning);
    Header->Save(FStream);
    ByteArray difat(436, 0xFF);
    for (int64_t i = 0; i < std::min(F, HeaderDifatCount); ++i)
        Put32(&difat[static_cast<size_t>(4 * i)], uint32_t(FatStart + i));
    FStream->WriteBuffer(difat.data(), 436);

    FStream->Seek(Header->SectToStPos(N + T), soFromBeginning);
    ByteArray sec(static_cast<size_t>(S));
    for (int64_t l = 0; l < c; ++l) {
        std::fill(sec.begin(), sec.end(), 0xFF);
        const int64_t listed = l + 1 < c ? E - 1 : ((F - HeaderDifatCount - 1) % (E - 1)) + 1;
        for (int64_t j = 0; j < listed; ++j)
            Put32(&sec[static_cast<size_t>(4 * j)], uint32_t(FatStart + HeaderDifatCount + l * (E - 1) + j));
        Put32(&sec[static_cast<size_t>(S - 4)], l + 1 < c ? uint32_t(N + T + 1 + l) : ENDOFCHAIN);
        FStream->WriteBuffer(sec.data(), S);
    }

    // The FAT, one sector at a time.
    int64_t fill = 0;
    const auto put = [&](uint32_t v) {
        Put32(&sec[static_cast<size_t>(4 * fill)], v);
        if (++fill == E) {
            FStream->WriteBuffer(sec.data(), S);
            fill = 0;
        }
    };
    const std::vector<uint32_t> &copied = FAT->List();
    for (uint32_t v : copied)
        put(v);
    for (int64_t i = 1; i <= T; ++i)
        put(i < T ? uint32_t(N + i) : ENDOFCHAIN);
    for (int64_t i = 0; i < c; ++i)
        put(DIFSECT);
    for (int64_t i = 0; i < F; ++i)
        put(FATSECT);
    if (fill > 0) {
        std::fill(sec.begin() + 4 * fill, sec.end(), 0xFF);
        FStream->WriteBuffer(sec.data(), S);
    }
}
