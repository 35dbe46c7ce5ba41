// Writing a copy of a compound file with the "Workbook" stream replaced.
#include "OleFixture.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace ole;

namespace {

QString BadOp(const char *Stream) { return QStringLiteral("Invalid OLE Stream operation on stream: \"%1\"").arg(Stream); }

QByteArray Copy(const QByteArray &source, const std::function<void(TOle2File &)> &write = {},
                const QStringList &deleteStorages = {})
{
    auto src = MemStream(source);
    TMemoryStream out;
    TOle2File f(src.get());
    f.PrepareForWrite(&out, "Workbook", deleteStorages);
    if (write)
        write(f);
    f.Close();
    return out.Bytes();
}

// What a strict reader checks, walked independently of the engine: every FAT and DIFAT sector
// is listed and marked, every big stream's chain has exactly the sectors its size needs, and no
// sector belongs to two chains.
struct Strict
{
    explicit Strict(const QByteArray &b) : B(b)
    {
        const uint32_t F = Get32(B, 44), c = Get32(B, 72);
        for (uint32_t i = 0; i < std::min<uint32_t>(F, 109); ++i)
            fatSects.push_back(Get32(B, 76 + 4 * i));
        uint32_t d = Get32(B, 68);
        for (uint32_t l = 0; l < c; ++l) {
            difSects.push_back(d);
            for (int j = 0; j < 127 && fatSects.size() < F; ++j)
                fatSects.push_back(Get32(B, Pos(d) + 4 * j));
            d = Get32(B, Pos(d) + 508);
        }
        EXPECT_EQ(c > 0 ? d : ENDOFCHAIN, ENDOFCHAIN) << "last DIFAT next pointer";
        EXPECT_EQ(fatSects.size(), F);
        for (uint32_t s : fatSects)
            EXPECT_EQ(Fat(s), FATSECT);
        for (uint32_t s : difSects)
            EXPECT_EQ(Fat(s), DIFSECT);
        // Sectors are whole, and the FAT covers each of them.
        EXPECT_EQ((B.size() - 512) % 512, 0);
        EXPECT_GE(int64_t(F) * 128, (B.size() - 512) / 512);
        for (uint32_t s = Get32(B, 48); s != ENDOFCHAIN; s = Fat(s))
            dir.push_back(s);
        for (size_t i = 0; i < dir.size() * 4; ++i) {
            const int64_t o = Pos(dir[i / 4]) + (i % 4) * 128;
            const uint8_t type = uint8_t(B.constData()[o + 66]);
            const uint32_t size = Get32(B, o + 120);
            if ((type == STGTY_STREAM && size >= 4096) || type == STGTY_ROOT) {
                EXPECT_EQ(Chain(Get32(B, o + 116)).size(), (size + 511) / 512) << "entry " << i;
            }
        }
    }
    int64_t Pos(uint32_t s) const { return 512 + int64_t(s) * 512; }
    uint32_t Fat(uint32_t s) const { return Get32(B, Pos(fatSects.at(s / 128)) + 4 * (s % 128)); }
    std::vector<uint32_t> Walk(uint32_t s) const
    {
        std::vector<uint32_t> c;
        for (; s != ENDOFCHAIN && c.size() < 100000; s = Fat(s))
            c.push_back(s);
        return c;
    }
    std::vector<uint32_t> Chain(uint32_t s)
    {
        const std::vector<uint32_t> c = Walk(s);
        for (uint32_t k : c)
            EXPECT_TRUE(used.insert(k).second) << "sector " << k << " in two chains";
        return c;
    }
    // The directory entry named Name (first match), as its byte offset.
    int64_t EntryPos(const QString &Name) const
    {
        for (size_t i = 0; i < dir.size() * 4; ++i) {
            const int64_t o = Pos(dir[i / 4]) + (i % 4) * 128;
            ByteArray raw(B.begin() + o, B.begin() + o + 128);
            if (TOle2Directory::GetName(raw, 0) == Name)
                return o;
        }
        return -1;
    }
    QByteArray B;
    std::vector<uint32_t> fatSects, difSects, dir;
    std::set<uint32_t> used;
};

QByteArray ReadBack(const QByteArray &file, const QString &name)
{
    auto m = MemStream(file);
    TOle2File f(m.get());
    f.SelectStream(name);
    return ReadAll(f);
}

const QString Sum1 = QChar(5) + QStringLiteral("SummaryInformation");
const QString Sum2 = QChar(5) + QStringLiteral("DocumentSummaryInformation");

} // namespace

TEST(Ole2Write, NothingWrittenGivesTheCutoffOfZerosInAChainOfExactlyT)
{
    const Layout src = Build({Root(), Stream("Workbook", Pattern(9000, 7)), Stream("Small", Pattern(4095, 9))});
    const QByteArray out = Copy(src.Bytes);
    Strict st(out);
    // Copied: the mini stream (8 sectors), the directory and the mini FAT.
    const uint32_t N = 10, T = 8;
    const int64_t e = st.EntryPos("Workbook");
    ASSERT_GE(e, 0);
    EXPECT_EQ(Get32(out, e + 116), N);
    EXPECT_EQ(Get32(out, e + 120), 4096u);
    EXPECT_EQ(st.Walk(N).size(), T);
    EXPECT_EQ(st.fatSects, std::vector<uint32_t>{N + T});
    EXPECT_EQ(Get32(out, 68), ENDOFCHAIN);
    EXPECT_EQ(out.size(), 512 + (N + T + 1) * 512);
    EXPECT_EQ(ReadBack(out, "Workbook"), QByteArray(4096, 0));
    EXPECT_EQ(ReadBack(out, "Small"), Pattern(4095, 9));
    // Header bytes other than the counts and starts are the source's.
    EXPECT_EQ(out.left(44), src.Bytes.left(44));
    EXPECT_EQ(out.mid(52, 8), src.Bytes.mid(52, 8));
}

TEST(Ole2Write, RecordsAreCountedAndPaddedWithoutGrowingTheStream)
{
    const Layout src = Build({Root(), Stream("Workbook", Pattern(4096, 7))});
    const QByteArray body = Pattern(4996, 11);
    std::vector<int64_t> positions;
    const QByteArray out = Copy(src.Bytes, [&](TOle2File &f) {
        f.WriteHeader(0x0809, 16);
        positions.push_back(f.Position());
        f.Write(ByteArray(body.begin(), body.begin() + 16), 16);
        f.Write16(0x1234);
        f.Write32(0x89ABCDEF);
        f.WriteRaw(ByteArray(body.begin(), body.end()), 22, 4952);
        positions.push_back(f.Position());
        f.WriteMem(body.constData(), 22);
        EXPECT_EQ(f.Encryption()->ActualRecordLen, 16);
    });
    EXPECT_EQ(positions, (std::vector<int64_t>{4, 4978}));
    Strict st(out);
    const int64_t e = st.EntryPos("Workbook");
    EXPECT_EQ(Get32(out, e + 120), 5000u);
    const uint32_t N = 1, T = 10; // the directory sector, then the stream
    EXPECT_EQ(st.Walk(N).size(), T);
    EXPECT_EQ(st.Fat(N + T - 1), ENDOFCHAIN);
    EXPECT_EQ(out.mid(512 + N * 512 + 5000, 120), QByteArray(120, 0));
    QByteArray expect("\x09\x08\x10\x00", 4);
    expect += body.left(16) + QByteArray("\x34\x12\xEF\xCD\xAB\x89", 6) + body.mid(22, 4952) + body.left(22);
    EXPECT_EQ(ReadBack(out, "Workbook"), expect);
}

TEST(Ole2Write, TemplateShapedSourceKeepsTheSummaryStreamsByteForByte)
{
    const Layout src = Build({Root(), Stream("Workbook", Pattern(4096, 1)), Stream(Sum1, Pattern(4096, 2)),
                              Stream(Sum2, Pattern(4096, 3))});
    const QByteArray out = Copy(src.Bytes, [](TOle2File &f) { f.WriteMem(Pattern(100, 4).constData(), 100); });
    Strict st(out);
    const uint32_t N = 17;
    EXPECT_EQ(Get32(out, st.EntryPos("Workbook") + 116), N);
    EXPECT_EQ(Get32(out, 48), 16u); // the directory follows the two summary streams
    EXPECT_EQ(Get32(out, st.EntryPos(Sum1) + 116), 0u);
    EXPECT_EQ(Get32(out, st.EntryPos(Sum2) + 116), 8u);
    EXPECT_EQ(ReadBack(out, Sum1), Pattern(4096, 2));
    EXPECT_EQ(ReadBack(out, Sum2), Pattern(4096, 3));
    EXPECT_EQ(ReadBack(out, "Workbook"), Pattern(100, 4) + QByteArray(3996, 0));
}

TEST(Ole2Write, MiniStreamWorkbookIsEmptiedAndItsMiniSectorsStay)
{
    const Layout src = Build({Root(), Stream("Workbook", Pattern(300, 1)), Stream("Other", Pattern(500, 2))});
    const QByteArray out = Copy(src.Bytes);
    Strict st(out);
    EXPECT_EQ(ReadBack(out, "Other"), Pattern(500, 2));
    EXPECT_EQ(ReadBack(out, "Workbook"), QByteArray(4096, 0));
    auto m = MemStream(out);
    TOle2File f(m.get());
    // Workbook had mini sectors 0-4; they still chain in the copied mini FAT.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.MiniFAT->Items(i), uint32_t(i + 1));
    EXPECT_EQ(f.MiniFAT->Items(4), ENDOFCHAIN);
}

TEST(Ole2Write, MoreThan109FatSectorsGetADifatSectorThatReadsBack)
{
    const Layout src = Build({Root(), Stream("Workbook", Pattern(4096, 1)), Stream("Small", Pattern(700, 2))});
    const int64_t size = 14000 * 512 + 77;
    const QByteArray data = Pattern(size, 5);
    const QByteArray out = Copy(src.Bytes, [&](TOle2File &f) {
        for (int64_t p = 0; p < size; p += 8192)
            f.WriteMem(data.constData() + p, std::min<int64_t>(8192, size - p));
    });
    Strict st(out);
    const uint32_t N = 4, T = 14001; // mini stream (2), directory, mini FAT
    ASSERT_EQ(Get32(out, 72), 1u);
    EXPECT_EQ(Get32(out, 68), N + T);
    EXPECT_GE(Get32(out, 44), 110u);
    EXPECT_EQ(st.difSects, std::vector<uint32_t>{N + T});
    EXPECT_EQ(st.fatSects.front(), N + T + 1);
    EXPECT_EQ(ReadBack(out, "Workbook"), data);
    EXPECT_EQ(ReadBack(out, "Small"), Pattern(700, 2));
}

TEST(Ole2Write, MisuseIsRefusedAndAFailedPrepareLeavesTheSourceReadable)
{
    const Layout src = Build({Root(), Stream("Workbook", Pattern(4096, 1)), Stream("Small", Pattern(100, 2))});
    auto m = MemStream(src.Bytes);
    TMemoryStream out, failed;
    {
        TOle2File f(m.get());
        f.SelectStream("Workbook");
        EXPECT_EQ(MessageOf([&] { f.WriteMem("x", 1); }), BadOp("Workbook"));
        EXPECT_EQ(MessageOf([&] { f.PrepareForWrite(&failed, "Missing", {}); }), BadOp("Missing"));
        f.SelectStream("Workbook"); // the source header and FAT are untouched
        EXPECT_EQ(ReadAll(f), Pattern(4096, 1));

        f.PrepareForWrite(&out, "Workbook", {});
        char c;
        EXPECT_EQ(MessageOf([&] { f.PrepareForWrite(&out, "Workbook", {}); }), BadOp("Workbook"));
        EXPECT_EQ(MessageOf([&] { f.ReadMem(&c, 1); }), BadOp("Workbook"));
        EXPECT_EQ(MessageOf([&] { f.Eof(); }), BadOp("Workbook"));
        EXPECT_EQ(MessageOf([&] { f.NextEof(1); }), BadOp("Workbook"));
        EXPECT_EQ(MessageOf([&] { f.SelectStream("Small"); }), BadOp("Small"));
    } // destruction finishes the file
    Strict st(out.Bytes());
    EXPECT_EQ(ReadBack(out.Bytes(), "Small"), Pattern(100, 2));

    // A copied stream whose chain loops is refused instead of copied forever.
    Layout bad = Build({Root(), Stream("Other", Pattern(5000, 3)), Stream("Workbook", Pattern(4096, 1))});
    Put32(bad.Bytes, bad.FatPos(5), 2);
    auto m3 = MemStream(bad.Bytes);
    TOle2File h(m3.get());
    EXPECT_EQ(MessageOf([&] { h.PrepareForWrite(&failed, "Workbook", {}); }),
              "Error reading Excel records. File invalid");
    EXPECT_FALSE(h.PreparedForWrite);

    // Without a selected stream, writes before preparing do nothing.
    auto m2 = MemStream(src.Bytes);
    TOle2File g(m2.get());
    EXPECT_EQ(MessageOf([&] { g.WriteMem("x", 1); g.Write16(1); g.WriteHeader(1, 2); }), "");
}

TEST(Ole2Write, AWorkbookInsideAStorageIsCopiedNotEmptied)
{
    Entry root = Root();
    root.Child = 2;
    Entry pool = Storage("ObjectPool");
    pool.Child = 3;
    Entry top = Stream("Workbook", Pattern(5000, 1));
    top.Left = 1;
    Entry inner = Stream("Workbook", Pattern(4100, 2));
    const Layout src = Build({root, pool, top, inner}, false);
    const QByteArray out = Copy(src.Bytes);
    Strict st(out);
    const int64_t innerPos = 512 + int64_t(st.dir[0]) * 512 + 3 * 128;
    EXPECT_EQ(Get32(out, innerPos + 120), 4100u);
    QByteArray innerData;
    for (uint32_t s : st.Walk(Get32(out, innerPos + 116)))
        innerData += out.mid(st.Pos(s), 512);
    EXPECT_EQ(innerData.left(4100), Pattern(4100, 2));
    EXPECT_EQ(ReadBack(out, "Workbook"), QByteArray(4096, 0));
}

TEST(Ole2Write, DeletingAStorageDropsItsSubtreeAndKeepsTheRestReachableOnce)
{
    // root -> Pool (left A, right B; children X -> Y), all black.
    Entry root = Root();
    root.Child = 2;
    Entry a = Stream("A", Pattern(200, 1));
    Entry pool = Storage("Pool");
    pool.Left = 1;
    pool.Right = 5;
    pool.Child = 3;
    Entry x = Stream("X", Pattern(5000, 3));
    x.Right = 4;
    Entry y = Stream("Y", Pattern(300, 4));
    Entry b = Stream("B", Pattern(4500, 5));
    b.Right = 6;
    Entry wb = Stream("Workbook", Pattern(4096, 6));
    const Layout src = Build({root, a, pool, x, y, b, wb}, false);
    const QByteArray out = Copy(src.Bytes, {}, {QStringLiteral("Pool")});
    Strict st(out);

    std::vector<int32_t> count(8, 0);
    ByteArray dir;
    for (uint32_t s : st.dir)
        dir.insert(dir.end(), out.begin() + st.Pos(s), out.begin() + st.Pos(s) + 512);
    std::vector<int32_t> work{TOle2Directory::GetChildSid(dir, 0)};
    while (!work.empty()) {
        const int32_t i = work.back();
        work.pop_back();
        if (i < 0)
            continue;
        ASSERT_LT(i, 8);
        ++count[i];
        work.push_back(TOle2Directory::GetLeftSid(dir, i * 128));
        work.push_back(TOle2Directory::GetRightSid(dir, i * 128));
        work.push_back(TOle2Directory::GetChildSid(dir, i * 128));
    }
    EXPECT_EQ(count, (std::vector<int32_t>{0, 1, 0, 0, 0, 1, 1, 0}));
    for (int i : {2, 3, 4})
        EXPECT_EQ(TOle2Directory::GetType(dir, i * 128), STGTY_INVALID) << i;
    EXPECT_EQ(ReadBack(out, "A"), Pattern(200, 1));
    EXPECT_EQ(ReadBack(out, "B"), Pattern(4500, 5));
    // X's sectors are no longer copied: mini stream (2), directory, B (9), directory, mini FAT.
    EXPECT_EQ(Get32(out, st.EntryPos("Workbook") + 116), 14u);

    // Links that leave the directory are refused, not followed.
    for (int64_t field : {68, 76}) {
        Layout bad = Build({root, a, pool, x, y, b, wb}, false);
        Put32(bad.Bytes, bad.SectPos(bad.DirStart) + 2 * 128 + field, 1000);
        EXPECT_EQ(MessageOf([&] { Copy(bad.Bytes, {}, {QStringLiteral("Pool")}); }),
                  "Error reading Excel records. File invalid");
    }
}

TEST(Ole2Write, EngineWritesEncodeWhileRawWritesDoNot)
{
    struct XorEngine : TEncryptionEngine
    {
        bool CheckHash(const QString &) override { return false; }
        ByteArray Decode(const ByteArray &D, int64_t, int32_t, int32_t, int32_t) override { return D; }
        ByteArray Encode(const ByteArray &D, int64_t Pos, int32_t Start, int32_t Count, int32_t Len) override
        {
            Seen.push_back({Pos, Len});
            ByteArray o(D.begin() + Start, D.begin() + Start + Count);
            for (uint8_t &v : o)
                v ^= 0xFF;
            return o;
        }
        uint16_t Encode(uint16_t D, int64_t Pos, int32_t Len) override { Seen.push_back({Pos, Len}); return uint16_t(~D); }
        uint32_t Encode(uint32_t D, int64_t Pos, int32_t Len) override { Seen.push_back({Pos, Len}); return ~D; }
        ByteArray GetFilePassRecord() override { return {}; }
        int32_t GetFilePassRecordLen() override { return 0; }
        std::vector<std::pair<int64_t, int32_t>> Seen;
    } engine;
    const Layout src = Build({Root(), Stream("Workbook", Pattern(4096, 1))});
    const QByteArray out = Copy(src.Bytes, [&](TOle2File &f) {
        f.Encryption()->Engine = &engine;
        f.WriteHeader(0x0A, 7);
        f.Write(ByteArray{1, 2, 3, 4}, 1, 2);
        f.Write16(0x0102);
        f.Write32(0x01020304);
        f.WriteRaw(ByteArray{9}, 1);
    });
    EXPECT_EQ(ReadBack(out, "Workbook").left(14),
              QByteArray("\x0A\x00\x07\x00\xFD\xFC\xFD\xFE\xFB\xFC\xFD\xFE\x09\x00", 14));
    EXPECT_EQ(engine.Seen, (std::vector<std::pair<int64_t, int32_t>>{{4, 7}, {6, 7}, {8, 7}}));
}

TEST(Ole2Write, RandomByteFlipsInTheSourceNeverCrashTheCopy)
{
    Entry root = Root();
    root.Child = 2;
    Entry pool = Storage("Pool");
    pool.Left = 1;
    pool.Right = 4;
    pool.Child = 3;
    const Layout base = Build({root, Stream("A", Pattern(200, 1)), pool, Stream("X", Pattern(5000, 3)),
                               Stream("Workbook", Pattern(300, 4))},
                              false);
    uint32_t s = 777;
    const auto next = [&](uint32_t n) {
        s = s * 134775813u + 1;
        return uint32_t((uint64_t(s) * n) >> 32);
    };
    for (int round = 0; round < 400; ++round) {
        QByteArray b = base.Bytes;
        for (int k = 1 + int(next(6)); k > 0; --k) {
            const uint32_t region = next(3);
            const int64_t pos = region == 0 ? next(512)
                              : region == 1 ? base.FatPos(0) + next(512)
                                            : base.SectPos(base.DirStart) + next(1024);
            b.data()[pos] = char(next(256));
        }
        const QStringList drop = round % 2 ? QStringList{QStringLiteral("Pool")} : QStringList{};
        try {
            Copy(b, [](TOle2File &f) { f.WriteMem("abc", 3); }, drop);
        } catch (const Exception &) {
        }
    }
}
