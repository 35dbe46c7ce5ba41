// Hyperlinks: the HLINK layout written from and read into the link properties, the screen tip
// that follows its link, links kept on their cells when rows move, and records cut or lying.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"

#include <vector>

using namespace rec;

namespace {

// UTF-16LE characters.
QByteArray U16(const QString &s)
{
    QByteArray b;
    for (QChar c : s)
        b += Le16(c.unicode());
    return b;
}
// Count with the zero, characters, zero.
QByteArray LinkStr(const QString &s) { return Le32(uint32_t(s.size()) + 1) + U16(s) + Le16(0); }

const QByteArray StdLinkId = B({0xD0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11, 0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B,
                                0xA9, 0x0B});
const QByteArray URLId = B({0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11, 0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9,
                            0x0B});
const QByteArray FileId = B({3, 3, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46});
// 0xFFFF, 0xDEAD and 20 zero bytes after the ANSI path.
const QByteArray FileMiddle = B({0xFF, 0xFF, 0xAD, 0xDE}) + QByteArray(20, 0);

// The 32-byte head: range, class id, version 2, flags.
QByteArray Head(int r1, int r2, int c1, int c2, int flags)
{
    return Le16(r1) + Le16(r2) + Le16(c1) + Le16(c2) + StdLinkId + Le32(2) + Le32(uint32_t(flags));
}

THyperLink Link(THyperLinkType type, const QString &text, const QString &mark = QString(),
                const QString &description = QString(), const QString &frame = QString(), const QString &hint = QString())
{
    THyperLink h;
    h.LinkType = type;
    h.Text = text;
    h.TextMark = mark;
    h.Description = description;
    h.TargetFrame = frame;
    h.Hint = hint;
    return h;
}

void ExpectSame(const THyperLink &a, const THyperLink &b, const std::string &what)
{
    EXPECT_EQ(a.LinkType, b.LinkType) << what;
    EXPECT_EQ(a.Text, b.Text) << what;
    EXPECT_EQ(a.TextMark, b.TextMark) << what;
    EXPECT_EQ(a.Description, b.Description) << what;
    EXPECT_EQ(a.TargetFrame, b.TargetFrame) << what;
    EXPECT_EQ(a.Hint, b.Hint) << what;
}

TSheetInfo SameSheet()
{
    TSheetInfo s;
    s.InsSheet = s.FormulaSheet = 0;
    return s;
}

THLinkRecord *At(int r1, int c1, int r2 = -1, int c2 = -1, const QString &url = QStringLiteral("http://a"))
{
    return THLinkRecord::CreateNew({c1, r1, c2 < 0 ? c1 : c2, r2 < 0 ? r1 : r2}, Link(hl_URL, url));
}

// First row, last row, first column, last column of every link, in list order.
std::vector<std::vector<int>> Places(const THLinkList &list)
{
    std::vector<std::vector<int>> out;
    for (int i = 0; i < list.Count(); ++i) {
        const THLinkRecord *r = list.Items(i);
        out.push_back({r->FirstRow(), r->LastRow(), r->FirstCol(), r->LastCol()});
    }
    return out;
}

// Every record of a stream, through the factory.
std::vector<std::unique_ptr<TBaseRecord>> LoadAll(const QByteArray &bytes)
{
    Stream s(bytes);
    std::vector<std::unique_ptr<TBaseRecord>> out;
    while (s.Header.Id != xlr_EOF)
        out.emplace_back(LoadRecord(s.file.get(), s.Header));
    return out;
}

const QString FileInvalid = QStringLiteral("Error reading Excel records. File invalid");

} // namespace

TEST(HyperLink, PropertiesWriteThePublishedLayoutAndReadBack)
{
    const QString wide = QStringLiteral("C:\\Dat\u03A9\\b.xls");
    const QString unc = QStringLiteral("\\\\srv\\share\\f.xls");
    const struct
    {
        const char *what;
        THyperLink link;
        int flags;
        QByteArray parts; // everything after the head
    } cases[] = {
        {"url of 8 characters", Link(hl_URL, "http://x"), 0x0003, URLId + Le32(18) + U16("http://x") + Le16(0)},
        {"empty url", Link(hl_URL, ""), 0x0003, URLId + Le32(2) + Le16(0)},
        {"file two folders up", Link(hl_LocalFile, "..\\..\\data\\a.txt"), 0x0001,
         FileId + Le16(2) + Le32(11) + QByteArray("data\\a.txt", 11) + FileMiddle + Le32(0)},
        {"file with a wide character", Link(hl_LocalFile, wide), 0x0001,
         FileId + Le16(0) + Le32(14) + QByteArray("C:\\Dat?\\b.xls", 14) + FileMiddle + Le32(2 * 13 + 6)
             + Le32(2 * 13) + Le16(3) + U16(wide)},
        {"file with a location", Link(hl_LocalFile, QStringLiteral("b\u00E9.xls"), "Sheet1!A1"), 0x0009,
         FileId + Le16(0) + Le32(7) + QByteArray("b\xE9.xls", 7) + FileMiddle + Le32(0) + LinkStr("Sheet1!A1")},
        {"unc", Link(hl_UNC, unc), 0x0103, LinkStr(unc)},
        {"place in the workbook", Link(hl_CurrentWorkbook, "", "Sheet2!B3"), 0x0008, LinkStr("Sheet2!B3")},
        {"every part", Link(hl_URL, "http://y", "top", "Click", "_blank"), 0x009F,
         LinkStr("Click") + LinkStr("_blank") + URLId + Le32(18) + U16("http://y") + Le16(0) + LinkStr("top")},
    };
    for (const auto &c : cases) {
        std::unique_ptr<THLinkRecord> r(THLinkRecord::CreateNew({2, 4, 3, 6}, c.link));
        EXPECT_EQ(DataOf(*r), Head(4, 6, 2, 3, c.flags) + c.parts) << c.what;
        EXPECT_EQ(r->OptionFlags(), c.flags) << c.what;
        ExpectSame(r->GetProperties(), c.link, c.what);

        // Written and loaded through the factory.
        auto back = LoadAll(Saved(*r));
        ASSERT_EQ(back.size(), 1u) << c.what;
        auto *loaded = dynamic_cast<THLinkRecord *>(back[0].get());
        ASSERT_NE(loaded, nullptr) << c.what;
        ExpectSame(loaded->GetProperties(), c.link, c.what);
        EXPECT_EQ(loaded->GetCellRange().Top, 4);
        EXPECT_EQ(loaded->GetCellRange().Right, 3);
    }

    // Setting new properties replaces every part.
    std::unique_ptr<THLinkRecord> r(THLinkRecord::CreateNew({0, 0, 0, 0}, cases[7].link));
    r->SetProperties(cases[0].link);
    EXPECT_EQ(DataOf(*r), Head(0, 0, 0, 0, 0x0003) + cases[0].parts);
}

TEST(HyperLink, ScreenTipFollowsItsLinkWithTheLinksRange)
{
    std::unique_ptr<THLinkRecord> r(THLinkRecord::CreateNew({1, 2, 1, 2}, Link(hl_URL, "http://x", "", "", "", "tip")));
    r->SetCellRange({5, 7, 6, 9});
    const QByteArray linkMoved = Record(0x01B8, DataOf(*r));
    const QByteArray tip = Record(0x0800, Le16(0x0800) + Le16(7) + Le16(9) + Le16(5) + Le16(6) + U16("tip") + Le16(0));
    const QByteArray saved = Saved(*r);
    EXPECT_EQ(saved, linkMoved + tip);
    EXPECT_EQ(r->TotalSize(), saved.size());
    EXPECT_EQ(r->TotalSizeNoHeaders(), saved.size() - 8);

    // Loaded, the tip is attached to the link; a copy has its own.
    auto back = LoadAll(saved + Record(0x0862, B({1})));
    ASSERT_EQ(back.size(), 2u);
    auto *loaded = static_cast<THLinkRecord *>(back[0].get());
    EXPECT_EQ(loaded->GetProperties().Hint, "tip");
    std::unique_ptr<THLinkRecord> copy(CopyOf(loaded));
    back.clear();
    EXPECT_EQ(Saved(*copy), saved);

    THyperLink h = copy->GetProperties();
    h.Hint = "longer tip";
    copy->SetProperties(h);
    EXPECT_EQ(copy->Hint()->Text(), "longer tip");
    h.Hint.clear();
    copy->SetProperties(h);
    EXPECT_EQ(copy->Hint(), nullptr);
    EXPECT_EQ(Saved(*copy), linkMoved);
}

TEST(HyperLink, AScreenTipAfterAnythingButALinkIsRefused)
{
    const QByteArray tip = Record(0x0800, Le16(0x0800) + QByteArray(8, 0) + U16("t") + Le16(0));
    const QByteArray link = Record(0x01B8, Head(0, 0, 0, 0, 0));
    for (const QByteArray &before : {Record(0x0862, B({1})), Record(0x00FD, QByteArray(10, 0)), link + tip}) {
        Stream s(before + tip);
        EXPECT_EQ(MessageOf([&] {
                      while (s.Header.Id != xlr_EOF)
                          std::unique_ptr<TBaseRecord>(LoadRecord(s.file.get(), s.Header));
                  }),
                  FileInvalid)
            << before.toHex().toStdString();
    }
    // A tip too short for its range is refused as the record it is.
    Stream s(link + Record(0x0800, QByteArray(9, 0)));
    EXPECT_EQ(MessageOf([&] { LoadRecord(s.file.get(), s.Header); }), QStringLiteral("Record with ID 0x800 is invalid"));
}

TEST(HyperLink, CutRecordsReadUpToTheirEndAndNeverPast)
{
    // A link with every part and a file link with a location, cut at every length.
    const QList<THyperLink> links = {Link(hl_URL, "http://y", "top", "Click", "_blank"),
                                     Link(hl_LocalFile, QStringLiteral("..\\b\u00E9.xls"), "Sheet1!A1"),
                                     Link(hl_UNC, "\\\\s\\x", "A1")};
    for (const THyperLink &full : links) {
        std::unique_ptr<THLinkRecord> r(THLinkRecord::CreateNew({0, 0, 0, 0}, full));
        const QByteArray data = DataOf(*r);
        for (int n = 0; n < data.size(); ++n) {
            const std::string what = full.Text.toStdString() + " cut at " + std::to_string(n);
            if (n < 32) {
                EXPECT_EQ(MessageOf([&] { Make<THLinkRecord>(0x01B8, data.left(n)); }),
                          QStringLiteral("Record with ID 0x1B8 is invalid"))
                    << what;
                continue;
            }
            const THyperLink h = Make<THLinkRecord>(0x01B8, data.left(n))->GetProperties();
            EXPECT_TRUE(full.Description.startsWith(h.Description)) << what;
            EXPECT_TRUE(full.TargetFrame.startsWith(h.TargetFrame)) << what;
            EXPECT_TRUE(full.Text.startsWith(h.Text)) << what;
            EXPECT_TRUE(full.TextMark.startsWith(h.TextMark)) << what;
            if (h.LinkType != full.LinkType) {
                EXPECT_EQ(h.LinkType, hl_CurrentWorkbook) << what;
            }
        }
    }
}

TEST(HyperLink, CountsBeyondTheDataAndUnknownMonikersReadAsFarAsTheDataGoes)
{
    const struct
    {
        const char *what;
        QByteArray data;
        THyperLink expected;
    } cases[] = {
        {"description count beyond the data", Head(0, 0, 0, 0, 0x0014) + Le32(0x7FFFFFFF) + U16("abcd"),
         Link(hl_CurrentWorkbook, "", "", "abcd")},
        {"zero count", Head(0, 0, 0, 0, 0x0094) + Le32(0) + LinkStr("f"), Link(hl_CurrentWorkbook, "", "", "", "f")},
        {"text cut at its zero", Head(0, 0, 0, 0, 0x0008) + LinkStr(QStringLiteral("ab") + QChar(0) + "cd"),
         Link(hl_CurrentWorkbook, "", "ab")},
        {"url length beyond the data", Head(0, 0, 0, 0, 0x000B) + URLId + Le32(0xFFFFFFF0) + U16("http"),
         Link(hl_URL, "http")},
        {"url of byte length 1", Head(0, 0, 0, 0, 0x000B) + URLId + Le32(1) + B({0}) + LinkStr("m"),
         Link(hl_URL, "", "m")},
        {"url with trailing data in its length", Head(0, 0, 0, 0, 0x000B) + URLId + Le32(14) + U16("ab") + Le16(0)
                                                     + QByteArray(8, 7) + LinkStr("m"),
         Link(hl_URL, "ab", "m")},
        {"url moniker without the absolute flag", Head(0, 0, 0, 0, 0x0009) + URLId + Le32(4) + U16("a") + LinkStr("m"),
         Link(hl_CurrentWorkbook, "")},
        {"unknown moniker", Head(0, 0, 0, 0, 0x000B) + QByteArray(16, 0x11) + LinkStr("m"), Link(hl_CurrentWorkbook, "")},
        {"moniker with a creation time", Head(0, 0, 0, 0, 0x004B) + URLId + Le32(4) + U16("a") + LinkStr("m"),
         Link(hl_CurrentWorkbook, "")},
        {"ansi length beyond the data", Head(0, 0, 0, 0, 0x0001) + FileId + Le16(1) + Le32(0x80000000) + "abc",
         Link(hl_LocalFile, "..\\abc")},
        {"unicode size beyond the data", Head(0, 0, 0, 0, 0x0009) + FileId + Le16(0) + Le32(2) + B({'a', 0}) + FileMiddle
                                             + Le32(0xFFFFFFFF) + Le32(0xFFFFFFF0) + Le16(3) + U16("\u03A9z"),
         Link(hl_LocalFile, "\u03A9z")},
        {"unc count beyond the data", Head(0, 0, 0, 0, 0x0103) + Le32(1000) + U16("\\\\a"), Link(hl_UNC, "\\\\a")},
    };
    for (const auto &c : cases) {
        const THyperLink h = Make<THLinkRecord>(0x01B8, c.data)->GetProperties();
        ExpectSame(h, c.expected, c.what);
    }
}

TEST(HyperLink, TextsLongerThanARecordHoldsAreRefusedAndTheLinkStays)
{
    std::unique_ptr<THLinkRecord> r(THLinkRecord::CreateNew({0, 0, 0, 0}, Link(hl_URL, "http://x")));
    const QByteArray before = DataOf(*r);
    for (const THyperLink &h : {Link(hl_URL, QString(32760, 'a')), Link(hl_URL, "a", "", "", "", QString(32762, 't')),
                                Link(hl_LocalFile, QStringLiteral("..\\").repeated(65536))}) {
        EXPECT_EQ(MessageOf([&] { r->SetProperties(h); }), QStringLiteral("Invalid String record"));
        EXPECT_EQ(DataOf(*r), before);
        EXPECT_EQ(r->Hint(), nullptr);
    }
    r->SetProperties(Link(hl_URL, QString(32000, 'a'), "", "", "", QString(32000, 't')));
    EXPECT_EQ(r->GetProperties().Text.size(), 32000);
    EXPECT_EQ(r->Hint()->Text().size(), 32000);
}

TEST(HyperLinkList, WrittenInRowThenColumnOrder)
{
    THLinkList list;
    for (auto [row, col] : {std::pair{5, 3}, {2, 7}, {5, 1}, {2, 0}})
        list.Add(At(row, col));
    list.Add(THLinkRecord::CreateNew({4, 9, 4, 9}, Link(hl_URL, "http://t", "", "", "", "tip")));
    const QByteArray saved = Written([&](TOle2File &f) { list.SaveToStream(&f); });
    EXPECT_EQ(list.TotalSize(), saved.size());

    std::vector<std::vector<int>> order;
    for (const auto &r : LoadAll(saved)) {
        auto *link = dynamic_cast<THLinkRecord *>(r.get());
        ASSERT_NE(link, nullptr);
        order.push_back({link->FirstRow(), link->FirstCol()});
    }
    EXPECT_EQ(order, (std::vector<std::vector<int>>{{2, 0}, {2, 7}, {5, 1}, {5, 3}, {9, 4}}));

    // A range save writes the links that meet the range, at their sheet places.
    const TXlsCellRange range{2, 3, 6, 9};
    const QByteArray part = Written([&](TOle2File &f) { list.SaveRangeToStream(&f, range); });
    EXPECT_EQ(list.TotalRangeSize(range), part.size());
    order.clear();
    for (const auto &r : LoadAll(part))
        order.push_back({static_cast<THLinkRecord *>(r.get())->FirstRow(), static_cast<THLinkRecord *>(r.get())->FirstCol()});
    EXPECT_EQ(order, (std::vector<std::vector<int>>{{5, 3}, {9, 4}}));

    THLinkList copy;
    copy.CopyFrom(&list);
    copy.CopyFrom(nullptr);
    EXPECT_EQ(Written([&](TOle2File &f) { copy.SaveToStream(&f); }), saved);
}

TEST(HyperLinkList, InsertedCopiesOfRowsCarryTheirLinks)
{
    THLinkList list;
    list.Add(At(12, 1));
    list.Add(THLinkRecord::CreateNew({2, 5, 2, 5}, Link(hl_URL, "http://five", "", "", "", "tip")));
    list.Add(At(3, 0, 4, 0));
    list.InsertAndCopyRange({0, 5, 255, 5}, 10, 0, 3, 0, SameSheet());
    EXPECT_EQ(Places(list), (std::vector<std::vector<int>>{
                                {15, 15, 1, 1}, {5, 5, 2, 2}, {3, 4, 0, 0}, {10, 10, 2, 2}, {11, 11, 2, 2}, {12, 12, 2, 2}}));
    for (int i = 3; i < 6; ++i) {
        EXPECT_EQ(list.Items(i)->GetProperties().Text, "http://five");
        EXPECT_EQ(list.Items(i)->GetProperties().Hint, "tip");
    }

    // Copies of a source below the insertion come from its moved place; a link that crosses the
    // insertion point grows.
    THLinkList below;
    below.Add(At(20, 0));
    below.Add(At(1, 0, 8, 0));
    below.InsertAndCopyRange({0, 20, 255, 20}, 4, 0, 2, 0, SameSheet());
    EXPECT_EQ(Places(below), (std::vector<std::vector<int>>{{22, 22, 0, 0}, {1, 10, 0, 0}, {4, 4, 0, 0}, {5, 5, 0, 0}}));

    // Columns likewise.
    THLinkList cols;
    cols.Add(At(0, 3, 9, 3));
    cols.InsertAndCopyRange({3, 0, 3, 65535}, 0, 5, 0, 2, SameSheet());
    EXPECT_EQ(Places(cols), (std::vector<std::vector<int>>{{0, 9, 3, 3}, {0, 9, 5, 5}, {0, 9, 6, 6}}));

    // On another sheet nothing moves.
    TSheetInfo other = SameSheet();
    other.FormulaSheet = 1;
    THLinkList elsewhere;
    elsewhere.Add(At(12, 1));
    elsewhere.InsertAndCopyRange({0, 5, 255, 5}, 10, 0, 3, 0, other);
    EXPECT_EQ(Places(elsewhere), (std::vector<std::vector<int>>{{12, 12, 1, 1}}));
}

TEST(HyperLinkList, DeletedRowsTakeTheirLinksAndCrossingLinksKeepTheirOtherCells)
{
    THLinkList list;
    list.Add(At(3, 0, 4, 0)); // wholly in the deleted rows
    list.Add(At(3, 5));       // likewise
    list.Add(At(6, 1));       // below: moves up
    list.Add(At(2, 2));       // above: stays
    list.Add(At(4, 3, 8, 3)); // starts inside, ends below: keeps rows 5..8, now 3..6
    list.Add(At(1, 4, 3, 4)); // starts above, ends inside: keeps rows 1..2
    list.Add(At(2, 6, 9, 6)); // crosses: shrinks by the two rows
    list.DeleteRange({0, 3, 255, 4}, 1, 0, SameSheet());
    EXPECT_EQ(Places(list), (std::vector<std::vector<int>>{
                                {4, 4, 1, 1}, {2, 2, 2, 2}, {3, 6, 3, 3}, {1, 2, 4, 4}, {2, 7, 6, 6}}));

    // A link that starts in deleted rows at the top of the sheet is kept, not refused.
    THLinkList top;
    top.Add(At(1, 0, 10, 0));
    top.DeleteRange({0, 0, 255, 4}, 1, 0, SameSheet());
    EXPECT_EQ(Places(top), (std::vector<std::vector<int>>{{0, 5, 0, 0}}));

    // Two blocks of columns 2..3.
    THLinkList cols;
    cols.Add(At(0, 5));
    cols.Add(At(0, 9));
    cols.Add(At(0, 1, 0, 7));
    cols.DeleteRange({2, 0, 3, 65535}, 0, 2, SameSheet());
    EXPECT_EQ(Places(cols), (std::vector<std::vector<int>>{{0, 0, 5, 5}, {0, 0, 1, 3}}));
}

TEST(HyperLinkList, LinksPushedPastTheSheetAreRefusedAndNothingMoves)
{
    THLinkList list;
    list.Add(At(100, 0));
    list.Add(At(65534, 0, 65535, 0));
    list.Add(At(70, 0));
    EXPECT_EQ(MessageOf([&] { list.InsertAndCopyRange({0, 70, 255, 70}, 50, 0, 1, 0, SameSheet()); }),
              QStringLiteral("Too many entries for this kind of record (65536 out of a maximum of 65535)"));
    EXPECT_EQ(Places(list), (std::vector<std::vector<int>>{{100, 100, 0, 0}, {65534, 65535, 0, 0}, {70, 70, 0, 0}}));

    std::unique_ptr<THLinkRecord> r(At(3, 250));
    EXPECT_EQ(MessageOf([&] { r->Offset(0, 6); }),
              QStringLiteral("Too many entries for this kind of record (256 out of a maximum of 255)"));
    EXPECT_EQ(MessageOf([&] { r->Offset(-4, 0); }),
              QStringLiteral("Too many entries for this kind of record (-1 out of a maximum of 65535)"));
    EXPECT_EQ(r->FirstRow(), 3);
    EXPECT_EQ(r->FirstCol(), 250);
    r->Offset(-3, 5);
    EXPECT_EQ(r->FirstRow(), 0);
    EXPECT_EQ(r->LastCol(), 255);
}
