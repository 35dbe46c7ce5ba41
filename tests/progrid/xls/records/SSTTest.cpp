// The shared string table: shared entries with reference counts, saving split over CONTINUE
// records with the EXTSST look-up, loading back, and the text cells that point into it.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/records/duzUXlsSST.h"

#include "framework/rtl/SysUtils.h"

#include <algorithm>
#include <iterator>
#include <memory>

using namespace rec;

namespace {

QByteArray SavedSST(TSST &sst)
{
    return Written([&](TOle2File &f) { sst.SaveToStream(&f); });
}

// The SST record written by a table, loaded back as a new table in file order.
std::unique_ptr<TSST> LoadBack(const QByteArray &Bytes)
{
    Stream s(Bytes);
    std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
    auto *sstRecord = dynamic_cast<TSSTRecord *>(r.get());
    EXPECT_NE(sstRecord, nullptr);
    auto sst = std::make_unique<TSST>();
    if (sstRecord)
        sst->Load(sstRecord);
    return sst;
}

// The data of each record in Bytes, with its id.
std::vector<std::pair<int, QByteArray>> Records(const QByteArray &Bytes)
{
    std::vector<std::pair<int, QByteArray>> r;
    int pos = 0;
    while (pos + 4 <= Bytes.size()) {
        const auto *p = reinterpret_cast<const uint8_t *>(Bytes.constData()) + pos;
        const int id = GetWord(p, 0);
        const int len = GetWord(p, 2);
        r.push_back({id, Bytes.mid(pos + 4, len)});
        pos += 4 + len;
    }
    return r;
}

QString Cycle(int n, const QString &chars)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += chars[i % chars.size()];
    return s;
}

// Reads a saved SST data block back as its list of texts, independently of the table: each
// record piece starts with an option byte after the first.
QStringList SavedTexts(TSST &sst)
{
    QStringList texts;
    auto back = LoadBack(SavedSST(sst));
    for (int i = 0; i < back->Count(); ++i)
        texts << back->EntryText(back->Items(i));
    return texts;
}

} // namespace

TEST(SST, SharedEntryAndItsBytes)
{
    TSST sst;
    auto a = std::unique_ptr<TLabelSSTRecord>(TLabelSSTRecord::CreateFromData(0, 0, 15, &sst));
    auto b = std::unique_ptr<TLabelSSTRecord>(TLabelSSTRecord::CreateFromData(1, 0, 15, &sst));
    a->SetAsString("abc");
    b->SetValue(Variant(QStringLiteral("abc")));
    ASSERT_EQ(sst.Count(), 1);
    EXPECT_EQ(a->pSSTEntry, b->pSSTEntry);
    EXPECT_EQ(sst.Refs(a->pSSTEntry), 2u);
    EXPECT_EQ(b->Value().AsString(), "abc");

    const QByteArray expected = Record(0x00FC, Le32(2) + Le32(1) + B({3, 0, 0, 'a', 'b', 'c'})) +
                                Record(0x00FF, Le16(8) + Le32(12) + Le16(12) + Le16(0));
    EXPECT_EQ(sst.TotalSize(), expected.size());
    EXPECT_EQ(SavedSST(sst), expected);
    EXPECT_EQ(Saved(*b), Record(0x00FD, Le16(1) + Le16(0) + Le16(15) + Le32(0)));
}

TEST(SST, ChangedTextReleasesItsEntry)
{
    TSST sst;
    auto a = std::unique_ptr<TLabelSSTRecord>(TLabelSSTRecord::CreateFromData(0, 0, 0, &sst));
    a->SetAsString("old");
    const int32_t oldEntry = a->pSSTEntry;
    a->SetAsRichString(TRichString{"new", {{1, 5}}});
    EXPECT_EQ(sst.Refs(oldEntry), 0u);
    EXPECT_EQ(sst.Count(), 2);
    sst.FixRefs();
    ASSERT_EQ(sst.Count(), 1);
    EXPECT_EQ(SavedTexts(sst), QStringList{"new"});
    const TRichString r = a->AsRichString();
    EXPECT_EQ(r.Value, "new");
    EXPECT_EQ(r.RTFRuns, (TRTFRunList{{1, 5}}));

    // A copy holds its own reference; freeing the cells releases both.
    {
        std::unique_ptr<TLabelSSTRecord> copy(CopyOf(a.get()));
        EXPECT_EQ(copy->pSSTEntry, a->pSSTEntry);
        EXPECT_EQ(sst.Refs(a->pSSTEntry), 2u);
    }
    const int32_t entry = a->pSSTEntry;
    EXPECT_EQ(sst.Refs(entry), 1u);
    a.reset();
    EXPECT_EQ(sst.Refs(entry), 0u);
    sst.FixRefs();
    EXPECT_EQ(sst.Count(), 0);
}

TEST(SST, EmptyTable)
{
    TSST sst;
    const QByteArray expected = Record(0x00FC, QByteArray(8, 0)) + Record(0x00FF, Le16(8));
    EXPECT_EQ(SavedSST(sst), expected);
    EXPECT_EQ(sst.TotalSize(), expected.size());
}

TEST(SST, LongCompressedStringContinues)
{
    TSST sst;
    const QString text = Cycle(10000, "abcdefghij");
    sst.AddString(text);
    const QByteArray bytes = SavedSST(sst);
    const auto recs = Records(bytes);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].first, 0x00FC);
    EXPECT_EQ(recs[0].second.size(), 8224);
    EXPECT_EQ(recs[0].second.mid(8, 3), Le16(10000) + B({0}));
    EXPECT_EQ(recs[0].second.mid(11), text.left(8213).toLatin1());
    EXPECT_EQ(recs[1].first, 0x003C);
    EXPECT_EQ(recs[1].second, B({0}) + text.mid(8213).toLatin1());
    EXPECT_EQ(recs[2].first, 0x00FF);
    EXPECT_EQ(sst.TotalSize(), bytes.size());

    auto back = LoadBack(bytes);
    ASSERT_EQ(back->Count(), 1);
    EXPECT_EQ(back->EntryText(back->Items(0)), text);
}

// A 16-bit string split at a record boundary: each piece is compressed when its leading 8-bit
// characters are at least as many as the piece holds as UTF-16.
TEST(SST, SixteenBitStringPiecesChooseTheirWidth)
{
    const QChar wideChar(0x0100);
    // 8180 filler characters leave 30 bytes for the second string's first characters; the
    // second string is the larger entry, so it is saved after the filler.
    const QString filler(8180, QLatin1Char('f'));
    const struct
    {
        QString text;
        uint8_t firstOption;
        int firstChars;
        uint8_t secondOption;
    } cases[] = {
        // 30 8-bit characters fit compressed, against 15 as UTF-16; the rest starts with only
        // 5 8-bit characters and goes as UTF-16.
        {QString(35, QLatin1Char('a')) + wideChar + QString(4064, QLatin1Char('b')), 0, 30, 1},
        // Only 10 8-bit characters lead, fewer than 15; the rest is all 8-bit.
        {QString(10, QLatin1Char('a')) + wideChar + QString(4089, QLatin1Char('b')), 1, 15, 0},
    };
    for (const auto &c : cases) {
        TSST sst;
        sst.AddString(filler);
        sst.AddString(c.text);
        ASSERT_EQ(sst.Count(), 2);
        const QByteArray bytes = SavedSST(sst);
        const auto recs = Records(bytes);
        ASSERT_EQ(recs.size(), 3u);
        const QByteArray first = recs[0].second;
        ASSERT_EQ(first.size(), 8224);
        // The filler is the smaller entry and comes first; then count and option of the second.
        EXPECT_EQ(first.mid(8 + 3 + 8180, 3), Le16(int(c.text.size())) + B({c.firstOption}));
        const int rest = int(c.text.size()) - c.firstChars;
        const QByteArray cont = recs[1].second;
        EXPECT_EQ(uint8_t(cont[0]), c.secondOption);
        EXPECT_EQ(cont.size(), 1 + rest * (c.secondOption ? 2 : 1));
        EXPECT_EQ(sst.TotalSize(), bytes.size());

        auto back = LoadBack(bytes);
        ASSERT_EQ(back->Count(), 2);
        EXPECT_EQ(back->EntryText(back->Items(1)), c.text);
    }
}

// Bucket k of EXTSST points at the string of entry k x PerBucket: its stream position holds the
// string's count, its offset counts from the start of its record's header.
TEST(SST, ExtSSTBuckets)
{
    const struct
    {
        int entries;
        int perBucket;
        int buckets;
    } cases[] = {{1000, 8, 125}, {2000, 16, 125}, {1, 8, 1}, {9, 8, 2}};
    for (const auto &c : cases) {
        TSST sst;
        for (int i = 0; i < c.entries; ++i)
            sst.AddString(QString::number(100000 + i) + QString(i % 7 * 300, QLatin1Char('x')));
        const QByteArray bytes = SavedSST(sst);
        EXPECT_EQ(sst.TotalSize(), bytes.size());
        const auto recs = Records(bytes);
        const QByteArray ext = recs.back().second;
        ASSERT_EQ(recs.back().first, 0x00FF);
        ASSERT_EQ(ext.size(), 8 * c.buckets + 2) << c.entries;
        const auto *e = reinterpret_cast<const uint8_t *>(ext.constData());
        EXPECT_EQ(GetWord(e, 0), c.perBucket);

        std::vector<int> recordStart;
        for (int pos = 0; pos < bytes.size();) {
            recordStart.push_back(pos);
            pos += 4 + GetWord(reinterpret_cast<const uint8_t *>(bytes.constData()), pos + 2);
        }
        const auto *all = reinterpret_cast<const uint8_t *>(bytes.constData());
        for (int k = 0; k < c.buckets; ++k) {
            const uint32_t pos = GetLongWord(e, 2 + 8 * k);
            const int ofs = GetWord(e, 6 + 8 * k);
            EXPECT_EQ(GetWord(e, 8 + 8 * k), 0);
            const int32_t h = sst.Items(k * c.perBucket);
            EXPECT_EQ(GetWord(all, int(pos)), sst.EntryText(h).size());
            const int start = *std::prev(std::upper_bound(recordStart.begin(), recordStart.end(), int(pos)));
            EXPECT_EQ(int(pos) - start, ofs);
        }
    }
}

// Saved order: by entry size, then by the string bytes, whatever order texts came in; loaded
// tables keep file order until sorted.
TEST(SST, SortedOrderAndIndexes)
{
    TSST first;
    for (const char *t : {"b", "ab", "a"})
        first.AddString(QString::fromLatin1(t));
    first.AddString(QString(QChar(0x0100)));
    auto loaded = LoadBack(SavedSST(first));
    // Entry sizes: "a", "b" 1 byte of characters; U+0100 and "ab" 2 bytes, U+0100 with the
    // smaller count first.
    const QStringList sorted{"a", "b", QString(QChar(0x0100)), "ab"};
    QStringList fileOrder;
    for (int i = 0; i < loaded->Count(); ++i)
        fileOrder << loaded->EntryText(loaded->Items(i));
    EXPECT_EQ(fileOrder, sorted);

    // A file in another order is kept until sorted.
    const QByteArray unsorted = Record(0x00FC, Le32(0) + Le32(3) + B({2, 0, 0, 'a', 'b', 1, 0, 0, 'z', 1, 0, 0, 'c'}));
    auto table = LoadBack(unsorted);
    std::vector<std::unique_ptr<TLabelSSTRecord>> cells;
    for (int i = 0; i < 3; ++i) {
        cells.push_back(Make<TLabelSSTRecord>(0x00FD, Le16(i) + Le16(0) + Le16(0) + Le32(uint32_t(i))));
        cells.back()->AttachToSST(table.get());
    }
    EXPECT_EQ(table->EntryText(table->Items(0)), "ab");
    table->Sort();
    cells.push_back(std::unique_ptr<TLabelSSTRecord>(TLabelSSTRecord::CreateFromData(5, 0, 0, table.get())));
    cells.back()->SetAsString("aa");
    cells.push_back(std::unique_ptr<TLabelSSTRecord>(TLabelSSTRecord::CreateFromData(6, 0, 0, table.get())));
    cells.back()->SetAsString("d");
    int32_t index = -1;
    EXPECT_TRUE(table->Find("z", {}, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(table->Find("b", {}, index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(table->Find("e", {}, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(table->Find("ac", {}, index));
    EXPECT_EQ(index, 5);
    EXPECT_EQ(SavedTexts(*table), (QStringList{"c", "d", "z", "aa", "ab"}));
    // Each cell writes the index of its text in the saved table.
    const uint32_t expectedIndex[] = {4, 2, 0, 3, 1};
    for (size_t i = 0; i < cells.size(); ++i) {
        const QByteArray rec = Saved(*cells[i]);
        EXPECT_EQ(rec.mid(10, 4), Le32(expectedIndex[i])) << i;
    }
}

TEST(SST, Failures)
{
    TSST sst;
    sst.AddString("one");
    auto cell = Make<TLabelSSTRecord>(0x00FD, Le16(0) + Le16(0) + Le16(0) + Le32(1));
    EXPECT_EQ(MessageOf([&] { cell->AttachToSST(&sst); }), "Error reading Excel records. File invalid");
    auto huge = Make<TLabelSSTRecord>(0x00FD, Le16(0) + Le16(0) + Le16(0) + Le32(0xFFFFFFFFu));
    EXPECT_EQ(MessageOf([&] { huge->AttachToSST(&sst); }), "Error reading Excel records. File invalid");

    // Longer than a 2-byte count holds: refused rather than written with a wrapped count.
    EXPECT_EQ(MessageOf([&] { sst.AddString(QString(65536, QLatin1Char('x'))); }), "Invalid String record");
    EXPECT_EQ(sst.Count(), 1);
    sst.AddString(QString(65535, QLatin1Char('x')));
    EXPECT_EQ(sst.Count(), 2);
}

// A text in more cells than a 16-bit count holds is still in use and saved.
TEST(SST, ManyReferencesSurvive)
{
    TSST sst;
    int32_t h = -1;
    for (int i = 0; i < 70000; ++i)
        h = sst.AddString("shared");
    EXPECT_EQ(sst.Refs(h), 70000u);
    sst.FixRefs();
    ASSERT_EQ(sst.Count(), 1);
    const auto recs = Records(SavedSST(sst));
    EXPECT_EQ(recs[0].second.left(8), Le32(70000) + Le32(1));
}

TEST(SST, LabelAndRStringRecords)
{
    auto label = Make<TLabelRecord>(0x0204, Le16(1) + Le16(2) + Le16(3) + B({2, 0, 1}) + Le16(0x41) + Le16(0x100));
    EXPECT_EQ(label->Value().AsString(), QString("A") + QChar(0x100));

    auto rstring = Make<TRStringRecord>(0x00D6, Le16(1) + Le16(2) + Le16(3) + B({3, 0, 0, 'x', 'y', 'z'}) + Le16(2) +
                                                    Le16(0) + Le16(1) + Le16(2) + Le16(6));
    EXPECT_EQ(rstring->Value().AsString(), "xyz");
    EXPECT_EQ(rstring->AsRichString().RTFRuns, (TRTFRunList{{0, 1}, {2, 6}}));

    // Runs past the end of the record.
    EXPECT_EQ(MessageOf([] { Make<TRStringRecord>(0x00D6, Le16(1) + Le16(2) + Le16(3) + B({1, 0, 0, 'x'}) + Le16(2)); }),
              Format(QStringLiteral("Record with ID 0x%x is invalid"), {0xD6}));
}

TEST(SST, ReadAsTextCells)
{
    const QByteArray bytes = Record(0x00FD, Le16(0) + Le16(1) + Le16(0) + Le32(0)) +
                             Record(0x0204, Le16(0) + Le16(2) + Le16(0) + B({1, 0, 0, 'q'})) +
                             Record(0x00D6, Le16(0) + Le16(3) + Le16(0) + B({1, 0, 0, 'r'}) + Le16(0));
    Stream s(bytes);
    std::unique_ptr<TBaseRecord> a(LoadRecord(s.file.get(), s.Header));
    std::unique_ptr<TBaseRecord> b(LoadRecord(s.file.get(), s.Header));
    std::unique_ptr<TBaseRecord> c(LoadRecord(s.file.get(), s.Header));
    EXPECT_NE(dynamic_cast<TLabelSSTRecord *>(a.get()), nullptr);
    ASSERT_NE(dynamic_cast<TLabelRecord *>(b.get()), nullptr);
    EXPECT_EQ(static_cast<TLabelRecord *>(b.get())->Value().AsString(), "q");
    ASSERT_NE(dynamic_cast<TRStringRecord *>(c.get()), nullptr);
    EXPECT_EQ(static_cast<TRStringRecord *>(c.get())->Value().AsString(), "r");
}
