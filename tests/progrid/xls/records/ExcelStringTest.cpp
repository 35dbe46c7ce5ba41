// BIFF8 strings built from texts, written, and parsed from records and their CONTINUE records.
#include "RecordFixture.h"
#include "framework/rtl/Streams.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

using namespace rec;

namespace {

QByteArray Bytes(const TExcelString &s, bool IncludeLen = true)
{
    TMemoryStream m;
    s.SaveToStream(&m, IncludeLen);
    return m.Bytes();
}

} // namespace

TEST(ExcelString, BuiltFromTextChoosesTheCharacterSize)
{
    const struct
    {
        int lenLength;
        QString text;
        bool force;
        QByteArray bytes;
    } cases[] = {
        {2, QStringLiteral("abc"), false, B({3, 0, 0, 'a', 'b', 'c'})},
        {1, QStringLiteral("abc"), false, B({3, 0, 'a', 'b', 'c'})},
        {1, QStringLiteral("ab"), true, B({2, 1, 'a', 0, 'b', 0})},
        {2, QString(QChar(0xFF)), false, B({1, 0, 0, 0xFF})},
        {2, QString(QChar(0x100)), false, B({1, 0, 1, 0, 1})},
        {2, QString(), false, B({0, 0, 0})},
        {1, QString(), true, B({0, 1})},
    };
    for (const auto &c : cases) {
        TExcelString s(c.lenLength, c.text, c.force);
        EXPECT_EQ(Bytes(s), c.bytes) << c.text.toStdString();
        EXPECT_EQ(s.TotalSize(), c.bytes.size());
        EXPECT_EQ(s.Value(), c.text);
        EXPECT_EQ(Bytes(s, false), c.bytes.mid(c.lenLength));
        QByteArray at(int(c.bytes.size()) + 3, char(0x55));
        s.CopyToPtr(reinterpret_cast<uint8_t *>(at.data()), 2);
        EXPECT_EQ(at.mid(2, c.bytes.size()), c.bytes);
        EXPECT_EQ(at.right(1), B({0x55}));
    }
    TExcelString abc(2, QStringLiteral("abc"), false);
    EXPECT_EQ(abc.StrLen, 3);
    EXPECT_EQ(abc.OptionFlags, 0);
    EXPECT_EQ(abc.TotalSize(), 6);
}

TEST(ExcelString, TextTooLongForItsCountIsRefused)
{
    const QString invalid = QStringLiteral("Invalid String record");
    EXPECT_EQ(MessageOf([] { TExcelString(1, QString(256, QChar('x')), false); }), invalid);
    EXPECT_EQ(MessageOf([] { TExcelString(1, QString(255, QChar('x')), false); }), QString());
    EXPECT_EQ(MessageOf([] { TExcelString(2, QString(65536, QChar('x')), false); }), invalid);
    EXPECT_EQ(MessageOf([] { TExcelString(2, QString(65535, QChar('x')), false); }), QString());
    TExcelString s(3, QStringLiteral("a"), false);
    EXPECT_EQ(MessageOf([&] { Bytes(s); }), QStringLiteral("StrLenLength should be 1 or 2"));
}

TEST(ExcelString, ParsedAcrossAContinueRecordBecomesWide)
{
    auto r = Make(0x0207, B({9, 5, 0, 0, 'a', 'b', 'c'}));
    r->AddContinue(new TContinueRecord(xlr_CONTINUE, Buffer(B({1, 0x3A, 0x26, 'e', 0, 0x77})), 6));
    TBaseRecord *at = r.get();
    int32_t pos = 1;
    TExcelString s(2, at, pos);
    EXPECT_EQ(s.Value(), QStringLiteral("abc") + QChar(0x263A) + QStringLiteral("e"));
    EXPECT_EQ(s.OptionFlags & 1, 1);
    EXPECT_EQ(s.GetCharSize(), 2);
    EXPECT_EQ(at, r->Continue);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(s.TotalSize(), 2 + 1 + 10);
}

TEST(ExcelString, WideStringWithCompressedContinuationAndExtras)
{
    // 16-bit first piece; the continuation is compressed and carries the runs and far-east bytes.
    const QByteArray head = B({4, 0x0D, 1, 0, 2, 0, 0, 0, 0x3A, 0x26, 'b', 0});
    auto r = Make(0x0207, head);
    r->AddContinue(new TContinueRecord(xlr_CONTINUE, Buffer(B({0, 'c', 'd', 2, 0, 5, 0, 0xEE, 0xFF})), 9));
    TBaseRecord *at = r.get();
    int32_t pos = 0;
    TExcelString s(1, at, pos);
    EXPECT_EQ(s.Value(), QString(QChar(0x263A)) + QStringLiteral("bcd"));
    EXPECT_TRUE(s.HasRichText());
    EXPECT_TRUE(s.HasFarInfo());
    EXPECT_EQ(s.RichTextFormats, (ByteArray{2, 0, 5, 0}));
    EXPECT_EQ(s.FarEastData, (ByteArray{0xEE, 0xFF}));
    EXPECT_EQ(s.TotalSize(), 1 + 1 + 2 + 4 + 8 + 4 + 2);
    EXPECT_EQ(Bytes(s), B({4, 0x0D, 1, 0, 2, 0, 0, 0, 0x3A, 0x26, 'b', 0, 'c', 0, 'd', 0, 2, 0, 5, 0, 0xEE, 0xFF}));
}

TEST(ExcelString, ComparesByLengthKindThenOptionsThenCharacters)
{
    const TExcelString a1(1, QStringLiteral("b"), false), a2(2, QStringLiteral("a"), false);
    EXPECT_LT(a1.Compare(a2), 0);
    const TExcelString w(2, QStringLiteral("a"), true);
    EXPECT_LT(a2.Compare(w), 0);
    const TExcelString ab(2, QStringLiteral("ab"), false), b(2, QStringLiteral("b"), false);
    EXPECT_GT(ab.Compare(b), 0) << "compressed texts order by byte count first";
    EXPECT_LT(TExcelString(2, QStringLiteral("a\xE9"), false).Compare(TExcelString(2, QStringLiteral("a\xEA"), false)), 0);
    EXPECT_EQ(ab.Compare(TExcelString(2, QStringLiteral("ab"), false)), 0);
}

// Cut at every byte, a string's record chain gives "Error reading record", never a read past it.
TEST(ExcelString, TruncatedRecordsAreRefused)
{
    const QByteArray cases[] = {
        B({5, 0, 0, 'a', 'b', 'c', 'd', 'e'}),
        B({2, 0, 1, 0x3A, 0x26, 'x', 0}),
        B({1, 0, 0x0C, 1, 0, 2, 0, 0, 0, 'z', 0, 0, 1, 0, 1, 2}),
    };
    for (const QByteArray &full : cases) {
        for (int n = 0; n < full.size(); ++n) {
            auto r = Make(0x0207, full.left(n));
            TBaseRecord *at = r.get();
            int32_t pos = 0;
            EXPECT_EQ(MessageOf([&] { TExcelString s(2, at, pos); }), QStringLiteral("Error reading record")) << n;
        }
        // Split at every byte over a CONTINUE whose option byte repeats the string's kind.
        for (int n = 3; n < full.size(); ++n) {
            auto r = Make(0x0207, full.left(n));
            const QByteArray rest = B({full[2] & 1}) + full.mid(n, 2);
            r->AddContinue(new TContinueRecord(xlr_CONTINUE, Buffer(rest), int32_t(rest.size())));
            TBaseRecord *at = r.get();
            int32_t pos = 0;
            const QString m = MessageOf([&] { TExcelString s(2, at, pos); });
            EXPECT_TRUE(m.isEmpty() || m == QStringLiteral("Error reading record")) << n;
        }
    }
    // A far-east size far beyond the data is refused before anything is allocated for it.
    auto huge = Make(0x0207, B({1, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}));
    TBaseRecord *at = huge.get();
    int32_t pos = 0;
    EXPECT_EQ(MessageOf([&] { TExcelString s(2, at, pos); }), QStringLiteral("Error reading record"));
}
