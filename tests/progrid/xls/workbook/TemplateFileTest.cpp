// The empty workbook as a compound file: header, sectors, directory, the summary property sets,
// and the writer's copy of it.
#include "TemplateFixture.h"

#include <map>

using namespace tpl;

TEST(TemplateFile, HeaderFields)
{
    const QByteArray f = File();
    ASSERT_EQ(f.size(), 13824);
    EXPECT_EQ(f.left(8), QByteArray::fromHex("D0CF11E0A1B11AE1"));
    const struct
    {
        int Pos, Size;
        uint32_t Value;
        const char *What;
    } fields[] = {
        {24, 2, 62, "minor version"},          {26, 2, 3, "major version"},
        {28, 2, 0xFFFE, "byte order"},         {30, 2, 9, "512-byte sectors"},
        {32, 2, 6, "64-byte mini sectors"},    {44, 4, 1, "FAT sectors"},
        {48, 4, 25, "first directory sector"}, {56, 4, 4096, "mini-stream cutoff"},
        {60, 4, ENDOFCHAIN, "no mini FAT"},    {64, 4, 0, "mini FAT sectors"},
        {68, 4, ENDOFCHAIN, "no DIFAT sector"}, {72, 4, 0, "DIFAT sectors"},
    };
    for (const auto &x : fields)
        EXPECT_EQ(x.Size == 2 ? Get16(f, x.Pos) : Get32(f, x.Pos), x.Value) << x.What;
    // One FAT sector, marked as such in itself; the other DIFAT slots are free.
    const uint32_t fat = Get32(f, 76);
    EXPECT_EQ(Fat(f, fat), FATSECT);
    for (int i = 1; i < 109; ++i)
        ASSERT_EQ(Get32(f, 76 + 4 * i), FREESECT) << i;
    // 26 sectors after the header: the FAT covers each of them and nothing more.
    for (uint32_t s = 26; s < 128; ++s)
        ASSERT_EQ(Fat(f, s), FREESECT) << s;
}

TEST(TemplateFile, DirectoryAndStreams)
{
    const QByteArray f = File();
    EXPECT_EQ(Chain(f, 25), std::vector<uint32_t>{25});
    auto m = ole::MemStream(f);
    TOle2File ole(m.get());
    const auto root = ole.FindRoot();
    EXPECT_EQ(root->ObjType(), STGTY_ROOT);
    EXPECT_EQ(root->SectStart(), ENDOFCHAIN); // empty mini stream
    EXPECT_EQ(root->xulSize(), 0);

    std::vector<uint32_t> used = {Get32(f, 76), 25};
    for (const QString &name : {QStringLiteral("Workbook"), SummaryName, DocSummaryName}) {
        const auto d = ole.FindDir(name);
        ASSERT_TRUE(d) << name.toStdString();
        EXPECT_EQ(d->Name(), name);
        EXPECT_EQ(d->ObjType(), STGTY_STREAM);
        EXPECT_EQ(d->xulSize(), 4096);
        const std::vector<uint32_t> c = Chain(f, d->SectStart());
        EXPECT_EQ(c.size(), 8u);
        used.insert(used.end(), c.begin(), c.end());
        EXPECT_EQ(StreamBytes(name).size(), 4096);
    }
    std::sort(used.begin(), used.end());
    std::vector<uint32_t> all(26);
    for (uint32_t i = 0; i < 26; ++i)
        all[i] = i;
    EXPECT_EQ(used, all) << "every sector belongs to exactly one chain";
}

namespace {

constexpr uint16_t VT_I2 = 2, VT_I4 = 3, VT_BOOL = 11, VT_LPSTR = 30, VT_FILETIME = 64, VT_VECTOR = 0x1000,
                   VT_VARIANT = 12;

struct PropertySet
{
    QByteArray FmtId;
    // id -> offset of the typed value inside the stream
    std::map<uint32_t, int64_t> Props;
    QByteArray S;
    uint16_t Type(uint32_t id) const { return Get16(S, Props.at(id)); }
    uint32_t U32(uint32_t id) const { return Get32(S, Props.at(id) + 4); }
    QByteArray Str(uint32_t id, int64_t at = 4) const
    {
        const int64_t p = Props.at(id) + at;
        return S.mid(p + 4, Get32(S, p));
    }
};

PropertySet ReadSet(const QString &stream)
{
    PropertySet ps;
    ps.S = StreamBytes(stream);
    const QByteArray &s = ps.S;
    EXPECT_EQ(Get16(s, 0), 0xFFFE);
    EXPECT_EQ(Get32(s, 24), 1u) << "one property set";
    ps.FmtId = s.mid(28, 16);
    const int64_t set = Get32(s, 44);
    const uint32_t size = Get32(s, set), n = Get32(s, set + 4);
    EXPECT_LE(set + size, 4096);
    EXPECT_EQ(s.mid(set + size), QByteArray(4096 - set - size, 0)) << "zero padding after the set";
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t ofs = Get32(s, set + 8 + 8 * i + 4);
        EXPECT_EQ(ofs % 4, 0u);
        EXPECT_LT(ofs, size);
        ps.Props[Get32(s, set + 8 + 8 * i)] = set + ofs;
    }
    return ps;
}

} // namespace

TEST(TemplateFile, SummaryProperties)
{
    const PropertySet ps = ReadSet(SummaryName);
    EXPECT_EQ(ps.FmtId, QByteArray::fromHex("E0859FF2F94F6810AB9108002B27B3D9"));
    const std::map<uint32_t, uint16_t> types = {{1, VT_I2},  {4, VT_LPSTR},  {8, VT_LPSTR},   {0x12, VT_LPSTR},
                                                {0x0C, VT_FILETIME}, {0x0D, VT_FILETIME}, {0x13, VT_I4}};
    ASSERT_EQ(ps.Props.size(), types.size());
    for (const auto &[id, type] : types)
        EXPECT_EQ(ps.Type(id), type) << "property " << id;
    EXPECT_EQ(Get16(ps.S, ps.Props.at(1) + 4), 1252);
    EXPECT_EQ(ps.U32(0x13), 0u) << "security";
    for (uint32_t id : {4u, 8u, 0x12u}) {
        const QByteArray text = ps.Str(id);
        ASSERT_FALSE(text.isEmpty());
        EXPECT_EQ(text.back(), '\0');
    }
    // Creation and last-save times are fixed (2000-01-01 00:00 UTC), not the build's clock, so
    // the bytes do not change from run to run.
    for (uint32_t id : {0x0Cu, 0x0Du})
        EXPECT_EQ(ps.S.mid(ps.Props.at(id) + 4, 8), Le32(0x256D4000) + Le32(0x01BF53EB)) << "time " << id;
}

TEST(TemplateFile, DocumentSummaryProperties)
{
    const PropertySet ps = ReadSet(DocSummaryName);
    EXPECT_EQ(ps.FmtId, QByteArray::fromHex("02D5CDD59C2E1B10939708002B2CF9AE"));
    const std::map<uint32_t, uint16_t> types = {{1, VT_I2},    {0x0F, VT_LPSTR}, {0x17, VT_I4},
                                                {0x0B, VT_BOOL}, {0x10, VT_BOOL}, {0x13, VT_BOOL}, {0x16, VT_BOOL},
                                                {0x0C, VT_VECTOR | VT_VARIANT}, {0x0D, VT_VECTOR | VT_LPSTR}};
    ASSERT_EQ(ps.Props.size(), types.size());
    for (const auto &[id, type] : types)
        EXPECT_EQ(ps.Type(id), type) << "property " << id;
    EXPECT_EQ(Get16(ps.S, ps.Props.at(1) + 4), 1252);
    for (uint32_t id : {0x0Bu, 0x10u, 0x13u, 0x16u})
        EXPECT_EQ(Get16(ps.S, ps.Props.at(id) + 4), 0) << "flag " << id;
    // Sheet titles: one part, "Sheet1"; one heading over it.
    EXPECT_EQ(ps.U32(0x0D), 1u);
    EXPECT_EQ(ps.Str(0x0D, 8), QByteArray("Sheet1", 7));
    EXPECT_EQ(ps.U32(0x0C), 2u);
    EXPECT_EQ(Get16(ps.S, ps.Props.at(0x0C) + 8), VT_LPSTR);
    const int64_t count = ps.Props.at(0x0C) + 12 + 4 + ((Get32(ps.S, ps.Props.at(0x0C) + 12) + 3) / 4) * 4;
    EXPECT_EQ(Get16(ps.S, count), VT_I4);
    EXPECT_EQ(Get32(ps.S, count + 4), 1u);
}

TEST(TemplateFile, WriterCopiesTheSummariesFirst)
{
    // Copying the template for a save: the two summary streams (8 sectors each) and the
    // directory sector come first, so the new "Workbook" stream starts at sector 17.
    auto src = ole::MemStream(File());
    TMemoryStream out;
    {
        TOle2File f(src.get());
        f.PrepareForWrite(&out, "Workbook", {});
        f.WriteRaw(ByteArray(5000, 0x5A), 5000);
        f.Close();
    }
    const QByteArray o = out.Bytes();
    EXPECT_EQ(Get32(o, 48), 16u) << "directory sector";
    const int64_t dir = SectorPos(16);
    EXPECT_EQ(Get32(o, dir + 128 + 116), 17u) << "Workbook start sector";
    EXPECT_EQ(Get32(o, dir + 128 + 120), 5000u);
    auto m = ole::MemStream(o);
    TOle2File g(m.get());
    for (const QString &name : {SummaryName, DocSummaryName}) {
        g.SelectStream(name);
        EXPECT_EQ(ole::ReadAll(g), StreamBytes(name)) << name.toStdString();
    }
    g.SelectStream("Workbook");
    EXPECT_EQ(ole::ReadAll(g), QByteArray(5000, 0x5A));
}
