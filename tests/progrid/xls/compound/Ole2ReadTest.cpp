// Reading compound files: sector arithmetic, stream lookup, big and mini streams, and bad input.
#include "OleFixture.h"
#include "tests/common/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

using namespace ole;

namespace {

// Data that comes from no file is named as such.
const QString Invalid = QStringLiteral("The file \"(data in memory)\" is invalid");
const QString ChainBad = QStringLiteral("Error reading Excel records. File invalid");

Layout TwoStreams(int64_t big = 4096, int64_t small = 4095)
{
    return Build({Root(), Stream("Workbook", Pattern(big, 7)), Stream("Small", Pattern(small, 9))});
}

} // namespace

TEST(Ole2Read, EmbeddedAtAnOffsetReadsBigAndMiniStreamsByteForByte)
{
    const Layout L = TwoStreams();
    for (int64_t k : {int64_t(0), int64_t(300)}) {
        SCOPED_TRACE(k);
        auto m = MemStream(Pattern(k, 3) + L.Bytes, k);
        TOle2File f(m.get());
        EXPECT_EQ(f.Header->StartOfs, k);
        EXPECT_EQ(f.Header->SectToStPos(2), k + 512 + 1024);

        f.SelectStream("workbook"); // ASCII case ignored
        ASSERT_EQ(f.Length(), 4096);
        EXPECT_LE(4096u, f.Header->ulMiniSectorCutoff); // the cutoff itself is a big stream
        EXPECT_EQ(ReadAll(f), Pattern(4096, 7));
        EXPECT_TRUE(f.Eof());

        // 4095 bytes live in the mini stream; read as the record reader does, in pieces that
        // cross mini-sector and sector boundaries.
        f.SelectStream("Small");
        QByteArray got;
        while (!f.Eof()) {
            QByteArray piece(std::min<int64_t>(f.Length() - f.Position(), 37), 0);
            f.ReadMem(piece.data(), piece.size());
            got += piece;
        }
        EXPECT_EQ(got, Pattern(4095, 9));
    }
}

TEST(Ole2Read, NamesFollowTheNameSizeByteAndIgnoreOnlyAsciiCase)
{
    struct Case { int sizeByte; QString name; };
    const Case cases[] = {{0, ""}, {1, ""}, {2, ""}, {6, "Wo"}, {18, "Workbook"}, {64, QString()}, {65, ""}, {200, ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sizeByte);
        Layout L = TwoStreams();
        const int64_t entry1 = L.SectPos(L.DirStart) + 128;
        L.Bytes.data()[entry1 + 64] = char(c.sizeByte);
        ByteArray raw(L.Bytes.begin() + entry1, L.Bytes.begin() + entry1 + 128);
        const QString name = TOle2Directory::GetName(raw, 0);
        if (c.sizeByte == 64)
            EXPECT_EQ(name.size(), 31); // 62 bytes of name, reaching into the zero padding
        else
            EXPECT_EQ(name, c.name);
        auto m = MemStream(L.Bytes);
        TOle2File f(m.get());
        if (name != "Workbook") {
            EXPECT_EQ(MessageOf([&] { f.SelectStream("Workbook"); }), Invalid);
        }
    }

    Layout L = Build({Root(), Stream(QString::fromUtf8("Übung"), Pattern(100))});
    auto m = MemStream(L.Bytes);
    TOle2File f(m.get());
    EXPECT_EQ(MessageOf([&] { f.SelectStream(QString::fromUtf8("übung")); }), Invalid);
    EXPECT_EQ(MessageOf([&] { f.SelectStream(QString::fromUtf8("ÜBUNG")); }), "");
}

TEST(Ole2Read, DirectoryEntrySettersWriteTheNameInPlace)
{
    TOle2Directory d(ByteArray(128, 0xAA));
    d.SetName("Book");
    EXPECT_EQ(d.Data[64], 10);
    EXPECT_EQ(d.Name(), "Book");
    EXPECT_EQ(d.Data[8], 0xAA); // bytes after the name keep their content
    d.SetName(QString(31, 'x'));
    EXPECT_EQ(d.NameSize(), 62);
    EXPECT_EQ(MessageOf([&] { d.SetName(QString(40, 'y')); }),
              "Too many entries for this kind of record (64 out of a maximum of 62)");
    EXPECT_EQ(MessageOf([&] { d.SetNameSize(-1); }),
              "Too many entries for this kind of record (-1 out of a maximum of 62)");
}

TEST(Ole2Read, DifatSlotsPadOrEndTheFatList)
{
    // One FAT sector listed; FREESECT slots keep later positions, ENDOFCHAIN ends the list.
    Layout L = TwoStreams();
    {
        auto m = MemStream(L.Bytes);
        TOle2File f(m.get());
        ASSERT_EQ(f.FAT->Count(), 109 * 128);
        EXPECT_EQ(f.FAT->Items(L.FatStart), FATSECT);
        EXPECT_EQ(f.FAT->Items(128), FREESECT);
        EXPECT_EQ(f.FAT->Items(109 * 128 - 1), FREESECT);
    }
    Put32(L.Bytes, 80, ENDOFCHAIN);
    auto m = MemStream(L.Bytes);
    TOle2File f(m.get());
    EXPECT_EQ(f.FAT->Count(), 128);
    f.SelectStream("Workbook");
    EXPECT_EQ(ReadAll(f), Pattern(4096, 7));
}

TEST(Ole2Read, FindSectorCachesTheLastStepForSequentialWalks)
{
    const Layout L = Build({Root(), Stream("Workbook", Pattern(512 * 20))});
    auto m = MemStream(L.Bytes);
    TOle2File f(m.get());
    EXPECT_EQ(f.FAT->FindSector(0, 5), 5);
    EXPECT_EQ(f.FAT->LastFindSectorRes, 5);
    EXPECT_EQ(f.FAT->FindSector(0, 19), 19);
    EXPECT_EQ(f.FAT->FindSector(0, 3), 3); // backwards restarts from the chain's start
    EXPECT_EQ(f.FAT->FindSector(0, 20), ENDOFCHAIN);
    EXPECT_EQ(MessageOf([&] { f.FAT->FindSector(0, 21); }), ChainBad);
}

TEST(Ole2Read, StreamEndsAndUnselectedStateAreReported)
{
    const Layout L = TwoStreams();
    auto m = MemStream(L.Bytes);
    TOle2File f(m.get());
    EXPECT_EQ(f.Length(), 0);
    EXPECT_TRUE(f.Eof());
    char c = 'z';
    f.ReadMem(&c, 1);
    EXPECT_EQ(c, 'z');
    EXPECT_EQ(f.FileName(), "(data in memory)");
    EXPECT_EQ(f.StreamName(), "");
    EXPECT_EQ(f.Encryption()->Engine, nullptr);

    for (const char *name : {"Workbook", "Small"}) {
        SCOPED_TRACE(name);
        f.SelectStream(name);
        QByteArray buf(f.Length(), 0);
        f.ReadMem(buf.data(), 10);
        EXPECT_EQ(MessageOf([&] { f.ReadMem(buf.data(), f.Length() - 10 + 3); }),
                  "End of stream reached with 3 bytes left to read");
        EXPECT_EQ(f.Position(), 10);
        EXPECT_FALSE(f.NextEof(f.Length() - 11));
        EXPECT_TRUE(f.NextEof(f.Length() - 10));
        f.SeekForward(100);
        f.ReadMem(buf.data(), 4);
        EXPECT_EQ(buf.left(4), Pattern(f.Length(), name[0] == 'W' ? 7 : 9).mid(100, 4));
        EXPECT_EQ(MessageOf([&] { f.SeekForward(50); }), "Tarvix can't read the properties of this file.");
        EXPECT_EQ(MessageOf([&] { f.SeekForward(f.Length() + 3); }),
                  "End of stream reached with 3 bytes left to read");
        EXPECT_EQ(f.Position(), 104);
    }
    EXPECT_EQ(MessageOf([&] { f.SelectStream("Missing"); }), Invalid);
    EXPECT_EQ(f.Length(), 0);
}

TEST(Ole2Read, RefusalsNameTheFile)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.xls"), bad = dir.filePath("bad.xls");
    for (const auto &[name, bytes] : {std::pair{good, TwoStreams().Bytes}, std::pair{bad, QByteArray(600, 'x')}}) {
        QFile out(name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    {
        TFileStream s(bad, fmOpenRead);
        EXPECT_EQ(MessageOf([&] { TOle2File f(&s); }), QStringLiteral("The file \"%1\" is invalid").arg(bad));
    }
    {
        TFileStream s(good, fmOpenRead);
        TOle2File f(&s);
        EXPECT_EQ(f.FileName(), good);
        EXPECT_EQ(MessageOf([&] { f.SelectStream("Missing"); }), QStringLiteral("The file \"%1\" is invalid").arg(good));
        f.SelectStream("Small");
        EXPECT_EQ(f.StreamName(), "Small");
    }
    // A stream in memory takes the name its caller gives.
    auto m = MemStream(QByteArray(600, 'x'));
    EXPECT_EQ(MessageOf([&] { TOle2File f(m.get(), false, "stored.xls"); }), "The file \"stored.xls\" is invalid");
}

TEST(Ole2Read, OnlyTheRootsOwnChildrenAreFound)
{
    // Root -> [ObjectPool (storage) -> Workbook] : an embedded workbook is not the workbook.
    Entry pool = Storage("ObjectPool");
    pool.Child = 2;
    Entry inner = Stream("Workbook", Pattern(300, 5));
    Entry root = Root();
    root.Child = 1;
    {
        const Layout L = Build({root, pool, inner}, false);
        auto m = MemStream(L.Bytes);
        TOle2File f(m.get());
        EXPECT_EQ(MessageOf([&] { f.SelectStream("Workbook"); }), Invalid);
    }
    // With a Workbook of the root as well (a later entry), that one is read.
    pool.Right = 3;
    const Layout L = Build({root, pool, inner, Stream("Workbook", Pattern(200, 6))}, false);
    auto m = MemStream(L.Bytes);
    TOle2File f(m.get());
    f.SelectStream("Workbook");
    EXPECT_EQ(ReadAll(f), Pattern(200, 6));
}

TEST(Ole2Read, NotACompoundFileWithAvoidExceptionsRestoresThePosition)
{
    for (const QByteArray &bytes : {QByteArray("short"), QByteArray(600, 'x')}) {
        auto m = MemStream(QByteArray(10, 0) + bytes, 10);
        TOle2File f(m.get(), true);
        EXPECT_TRUE(f.NotXls97);
        EXPECT_EQ(m->Position(), 10);
        m->SetPosition(10);
        EXPECT_EQ(MessageOf([&] { TOle2File g(m.get()); }), Invalid);
    }
}

TEST(Ole2Read, BadHeadersAndChainsAreRefusedWithTheirMessage)
{
    struct Case { const char *what; std::function<void(Layout &)> spoil; QString message; bool onSelect; };
    const Case cases[] = {
        {"truncated header", [](Layout &L) { L.Bytes.truncate(60); }, Invalid, false},
        {"signature", [](Layout &L) { L.Bytes.data()[3] = 0; }, Invalid, false},
        {"4096-byte sectors", [](Layout &L) { Put16(L.Bytes, 30, 12); }, Invalid, false},
        {"mini sector shift", [](Layout &L) { Put16(L.Bytes, 32, 7); }, Invalid, false},
        {"huge cutoff", [](Layout &L) { Put32(L.Bytes, 56, 0x7FFFFFFF); }, Invalid, false},
        {"huge FAT count", [](Layout &L) { Put32(L.Bytes, 44, 0x7FFFFFFF); }, Invalid, false},
        {"huge mini FAT count", [](Layout &L) { Put32(L.Bytes, 64, 0x10000000); }, Invalid, false},
        {"huge DIFAT count", [](Layout &L) { Put32(L.Bytes, 72, 0xFFFFFFF0); }, Invalid, false},
        {"directory start outside", [](Layout &L) { Put32(L.Bytes, 48, L.Sectors + 5); }, Invalid, false},
        {"mini FAT start outside", [](Layout &L) { Put32(L.Bytes, 60, 9999); }, Invalid, false},
        {"file cut after the header", [](Layout &L) { L.Bytes.truncate(512); }, Invalid, false},
        {"DIFAT chain ends early", [](Layout &L) { Put32(L.Bytes, 72, 1); }, ChainBad, false},
        {"DIFAT sector loops",
         [](Layout &L) {
             Put32(L.Bytes, 72, 2);
             Put32(L.Bytes, 68, 0);
             Put32(L.Bytes, L.SectPos(0) + 508, 0);
         },
         ChainBad, false},
        {"FAT sector outside", [](Layout &L) { Put32(L.Bytes, 80, 100000); }, ChainBad, false},
        {"mini FAT chain ends early", [](Layout &L) { Put32(L.Bytes, 64, 2); }, ChainBad, false},
        {"directory chain loops", [](Layout &L) { Put32(L.Bytes, L.FatPos(L.DirStart), L.DirStart); }, ChainBad, false},
        {"directory chain leaves the file",
         [](Layout &L) { Put32(L.Bytes, L.FatPos(L.DirStart), 70000); }, ChainBad, false},
        {"stream chain loops", [](Layout &L) { Put32(L.Bytes, L.FatPos(3), 1); }, ChainBad, true},
        {"stream chain leaves the file", [](Layout &L) { Put32(L.Bytes, L.FatPos(3), 5000); }, ChainBad, true},
        {"stream chain ends early", [](Layout &L) { Put32(L.Bytes, L.FatPos(3), ENDOFCHAIN); }, ChainBad, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Layout L = TwoStreams();
        c.spoil(L);
        auto m = MemStream(L.Bytes);
        QString msg = MessageOf([&] {
            TOle2File f(m.get());
            f.SelectStream("Workbook");
            ReadAll(f);
        });
        EXPECT_EQ(msg, c.message);
        if (c.onSelect) { // the file itself opens; only the stream is refused
            m->SetPosition(0);
            EXPECT_EQ(MessageOf([&] { TOle2File f(m.get()); f.SelectStream("Small"); ReadAll(f); }), "");
        }
    }

    // A mini stream chain that loops, and one that points past the mini FAT.
    for (uint32_t next : {uint32_t(0), uint32_t(200)}) {
        Layout L = TwoStreams();
        Put32(L.Bytes, L.SectPos(L.MiniFatStart) + 4 * 10, next);
        auto m = MemStream(L.Bytes);
        TOle2File f(m.get());
        EXPECT_EQ(MessageOf([&] { f.SelectStream("Small"); ReadAll(f); }), ChainBad);
    }
}

TEST(Ole2Read, RandomByteFlipsNeverCrashOrEscapeAsOtherErrors)
{
    const Layout base = TwoStreams(5000, 3000);
    uint32_t s = 12345;
    const auto next = [&](uint32_t n) {
        s = s * 134775813u + 1;
        return uint32_t((uint64_t(s) * n) >> 32);
    };
    for (int round = 0; round < 600; ++round) {
        QByteArray b = base.Bytes;
        const int flips = 1 + int(next(8));
        for (int k = 0; k < flips; ++k) {
            // Most flips go to the header, FAT and directory, where they matter.
            const uint32_t region = next(3);
            const int64_t pos = region == 0 ? next(512)
                              : region == 1 ? base.FatPos(0) + next(512)
                                            : base.SectPos(base.DirStart) + next(512);
            b.data()[pos] = char(next(256));
        }
        auto m = MemStream(b);
        try {
            TOle2File f(m.get());
            for (const char *name : {"Workbook", "Small", "Root Entry"}) {
                try {
                    f.SelectStream(name);
                    if (f.Length() < (1 << 20))
                        ReadAll(f);
                } catch (const Exception &) {
                }
            }
        } catch (const Exception &) {
        }
    }
}
