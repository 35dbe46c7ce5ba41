// Records keep their bytes, write them back with their CONTINUE chain, copy through their own
// class, and never read outside their data.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

using namespace rec;

namespace {

const QString ReadError = QStringLiteral("Error reading record");

TContinueRecord *Cont(const QByteArray &data)
{
    return new TContinueRecord(xlr_CONTINUE, Buffer(data), int32_t(data.size()));
}

} // namespace

TEST(BaseRecord, EmptyRecordWritesItsHeaderOnly)
{
    auto r = Make(0x0862, QByteArray());
    EXPECT_EQ(r->Data, nullptr);
    EXPECT_EQ(r->TotalSize(), 4);
    EXPECT_EQ(r->TotalSizeNoHeaders(), 0);
    EXPECT_EQ(Saved(*r), Header(0x0862, 0));
    // More data than a header can announce would be written with a cut size.
    EXPECT_EQ(MessageOf([] { Make(0x0862, QByteArray(65536, 1)); }), QStringLiteral("Record with ID 0x862 is invalid"));
    EXPECT_EQ(Make(0x0862, QByteArray(65535, 1))->TotalSize(), 65539);
}

TEST(BaseRecord, ContinueChainIsWrittenAndCountedAfterTheRecord)
{
    auto r = Make(0x00FC, B({1, 2, 3}));
    r->AddContinue(Cont(B({4, 5})));
    r->Continue->AddContinue(Cont(B({6, 7, 8, 9})));
    EXPECT_EQ(r->TotalSize(), 3 + 2 + 4 + 12);
    EXPECT_EQ(r->TotalSizeNoHeaders(), 9);
    EXPECT_EQ(Saved(*r), Record(0x00FC, B({1, 2, 3})) + Record(0x3C, B({4, 5})) + Record(0x3C, B({6, 7, 8, 9})));

    TContinueRecord *extra = Cont(B({1}));
    EXPECT_EQ(MessageOf([&] { r->AddContinue(extra); }),
              QStringLiteral("Trying to add more than one CONTINUE record to the same record"));
    delete extra;
    EXPECT_EQ(r->TotalSize(), 21) << "the refused record is not attached";
}

TEST(BaseRecord, CopyIsIndependentAndOfTheSameClass)
{
    auto row = Make<TRowRecord>(0x0208, B({5, 0, 1, 0, 4, 0, 0xFF, 0, 9, 9, 0, 0, 0, 1, 15, 0}));
    row->AddContinue(Cont(B({1, 2})));
    std::unique_ptr<TBaseRecord> copy(row->CopyTo());
    ASSERT_NE(dynamic_cast<TRowRecord *>(copy.get()), nullptr);
    EXPECT_EQ(DataOf(*copy), DataOf(*row));
    ASSERT_NE(copy->Continue, nullptr);
    EXPECT_NE(copy->Continue, row->Continue);
    EXPECT_EQ(DataOf(*copy->Continue), B({1, 2}));
    static_cast<TRowRecord *>(copy.get())->SetHeight(300);
    EXPECT_EQ(row->Height(), 255);
    EXPECT_EQ(CopyOf<TBaseRecord>(nullptr), nullptr);
}

TEST(BaseRecord, IgnoredAndSubListRecordsWriteWhatTheyStandFor)
{
    auto ignored = Make<TIgnoreRecord>(0x00D7, B({1, 2, 3, 4}));
    EXPECT_EQ(ignored->TotalSize(), 0);
    EXPECT_EQ(Saved(*ignored), QByteArray());

    TBaseRecordList list;
    list.Add(Make(0x31, B({7, 7})).release());
    list.Add(Make(0x31, B({8})).release());
    std::unique_ptr<TSubListRecord> sub(TSubListRecord::CreateAndAssign(&list));
    EXPECT_EQ(sub->TotalSize(), 0);
    EXPECT_EQ(Saved(*sub), Record(0x31, B({7, 7})) + Record(0x31, B({8})));
}

// Rows and cells are read only as far as their data goes: a shorter record is refused.
TEST(BaseRecord, RowColumnRecordsTooShortForTheirFieldsAreRefused)
{
    const struct
    {
        int id, size;
        std::function<void(const QByteArray &)> make;
    } cases[] = {
        {0x0001, 4, [](const QByteArray &d) { Make<TBaseRowColRecord>(0x0001, d); }},
        {0x0201, 6, [](const QByteArray &d) { Make<TCellRecord>(0x0201, d); }},
        {0x0208, 16, [](const QByteArray &d) { Make<TRowRecord>(0x0208, d); }},
    };
    for (const auto &c : cases) {
        for (int n = 0; n < c.size; ++n)
            EXPECT_EQ(MessageOf([&] { c.make(QByteArray(n, 1)); }),
                      Format(QStringLiteral("Record with ID 0x%x is invalid"), {c.id}))
                << c.id << " size " << n;
        EXPECT_EQ(MessageOf([&] { c.make(QByteArray(c.size, 0)); }), QString());
    }
    EXPECT_EQ(Format(QStringLiteral("Record with ID 0x%x is invalid"), {0x208}),
              QStringLiteral("Record with ID 0x208 is invalid"));
}

TEST(BaseRecord, RowColumnMovesOnlyOnTheSheetWhereRowsMove)
{
    TSheetInfo here;
    here.InsSheet = here.FormulaSheet = 1;
    TSheetInfo other = here;
    other.FormulaSheet = 2;
    auto cell = Make<TCellRecord>(0x0201, B({10, 0, 4, 0, 15, 0}));
    cell->ArrangeInsertRowsAndCols(5, 3, 0, 2, other);
    EXPECT_EQ(cell->Row(), 10);
    cell->ArrangeInsertRowsAndCols(5, 3, 5, 2, here);
    EXPECT_EQ(cell->Row(), 13);
    EXPECT_EQ(cell->Column(), 4) << "column before the insertion point";
    cell->ArrangeInsertRowsAndCols(20, 3, 0, -4, here);
    EXPECT_EQ(cell->Row(), 13);
    EXPECT_EQ(cell->Column(), 0);
    // A refused move leaves both fields as they were.
    EXPECT_EQ(MessageOf([&] { cell->ArrangeInsertRowsAndCols(0, 1, 0, -1, here); }),
              QStringLiteral("Too many entries for this kind of record (-1 out of a maximum of 255)"));
    EXPECT_EQ(cell->Row(), 13);
    cell->ArrangeCopyRowsAndCols(-3, 7);
    EXPECT_EQ(cell->Row(), 10);
    EXPECT_EQ(cell->Column(), 7);
    EXPECT_EQ(cell->XF(), 15);
}

TEST(ByteHelpers, CheckedIncrementsRefuseValuesOutsideTheirRange)
{
    const struct
    {
        int start, offset, max;
        QString message; // empty: stored
        int stored;
    } cases[] = {
        {65535, 1, 65535, QStringLiteral("Too many entries for this kind of record (65536 out of a maximum of 65535)"), 0},
        {3, -4, 65535, QStringLiteral("Too many entries for this kind of record (-1 out of a maximum of 65535)"), 0},
        {3, -3, 65535, QString(), 0},
        {200, 55, 255, QString(), 255},
        {200, 56, 255, QStringLiteral("Too many entries for this kind of record (256 out of a maximum of 255)"), 0},
    };
    for (const auto &c : cases) {
        uint8_t d[4] = {0xAA, 0, 0, 0xBB};
        SetWord(d, 1, c.start);
        EXPECT_EQ(MessageOf([&] { IncWord(d, 1, c.offset, c.max); }), c.message) << c.start << " " << c.offset;
        EXPECT_EQ(GetWord(d, 1), c.message.isEmpty() ? c.stored : c.start);
        EXPECT_EQ(d[0], 0xAA);
        EXPECT_EQ(d[3], 0xBB);
        uint16_t w = uint16_t(c.start);
        EXPECT_EQ(MessageOf([&] { IncWordChecked(w, c.offset, c.max); }), c.message);
    }
    uint8_t b[1] = {250};
    EXPECT_EQ(MessageOf([&] { IncByte(b, 0, 6, 255); }),
              QStringLiteral("Too many entries for this kind of record (256 out of a maximum of 255)"));
    IncByte(b, 0, 5, 255);
    EXPECT_EQ(b[0], 255);

    uint16_t v = 5;
    IncWordClamped(v, -10, 100, 2);
    EXPECT_EQ(v, 2);
    v = 90;
    IncWordClamped(v, 20, 100, 2);
    EXPECT_EQ(v, 100);
    v = 90;
    IncWordClamped(v, 5, 100, 2);
    EXPECT_EQ(v, 95);

    uint8_t l[4];
    SetLongWord(l, 0, 0xFFFFFFFFu);
    IncLongWord(l, 0, 2);
    EXPECT_EQ(GetLongWord(l, 0), 1u);
}

TEST(ByteHelpers, CompressedTextConversions)
{
    EXPECT_FALSE(IsWide(QString()));
    EXPECT_FALSE(IsWide(QString(QChar(0xFF))));
    EXPECT_TRUE(IsWide(QStringLiteral("a") + QChar(0x100)));
    const QString t = QStringLiteral("a") + QChar(0xE9) + QChar(0x263A);
    EXPECT_EQ(WideToCompressed(t), B({'a', 0xE9, 0x3A}));
    uint8_t d[5] = {0, 0, 0, 0, 0};
    WriteCompressed(t, d, 1);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(d), 5), B({0, 'a', 0xE9, '?', 0}));
    EXPECT_EQ(CompressedToWide(B({'a', 0xE9, 0x80})), QStringLiteral("a") + QChar(0xE9) + QChar(0x80));
}

TEST(ByteHelpers, StringSizeAndTextFromAHeader)
{
    const struct
    {
        QByteArray data;
        bool len16;
        int64_t size;
        QString text;
    } cases[] = {
        {B({3, 0, 0, 'a', 'b', 'c'}), true, 6, QStringLiteral("abc")},
        {B({2, 1, 0x41, 0, 0x3A, 0x26}), false, 6, QStringLiteral("A") + QChar(0x263A)},
        // two runs and 3 far-east bytes follow the characters
        {B({1, 0, 0x0C, 2, 0, 3, 0, 0, 0, 'z', 0, 0, 1, 0, 1, 0, 2, 0, 7, 7, 7}), true, 21, QStringLiteral("z")},
        {B({0, 0}), false, 2, QString()},
    };
    for (const auto &c : cases) {
        const auto *d = reinterpret_cast<const uint8_t *>(c.data.constData());
        EXPECT_EQ(StrDataSize(c.len16, d, 0, int32_t(c.data.size())), c.size);
        int64_t size = 0;
        QString text;
        ReadStrData(c.len16, d, 0, int32_t(c.data.size()), size, text);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(text, c.text);
        // Cut anywhere, the string is refused before a byte past the buffer is read.
        for (int n = 0; n < c.data.size(); ++n) {
            const QByteArray cut = c.data.left(n);
            std::unique_ptr<uint8_t[]> exact(new uint8_t[size_t(std::max(n, 1))]);
            std::memcpy(exact.get(), cut.constData(), size_t(n));
            EXPECT_EQ(MessageOf([&] { StrDataSize(c.len16, exact.get(), 0, n); }), ReadError) << n;
            EXPECT_EQ(MessageOf([&] { ReadStrData(c.len16, exact.get(), 0, n, size, text); }), ReadError) << n;
        }
    }
    // A count given by the record.
    const QByteArray known = B({0, 'h', 'i'});
    EXPECT_EQ(StrDataSize(false, reinterpret_cast<const uint8_t *>(known.constData()), 0, 3, 2, true), 3);
}

TEST(ContinuedReads, ReadRecordMemFollowsTheChain)
{
    auto r = Make(0x00EC, B({0, 0, 0, 0, 1, 2, 3, 4}));
    QByteArray more;
    for (int i = 0; i < 20; ++i)
        more.append(char(10 + i));
    r->AddContinue(Cont(more));
    TBaseRecord *at = r.get();
    int32_t pos = 4;
    uint8_t out[10];
    ReadRecordMem(at, pos, 10, out);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(out), 10), B({1, 2, 3, 4, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(at, r->Continue);
    EXPECT_EQ(pos, 6);
    ReadRecordMem(at, pos, 4, nullptr);
    EXPECT_EQ(pos, 10);
    EXPECT_EQ(MessageOf([&] { ReadRecordMem(at, pos, 11, out); }), ReadError);
    TBaseRecord *start = r.get();
    int32_t past = 9;
    EXPECT_EQ(MessageOf([&] { ReadRecordMem(start, past, 0, nullptr); }), ReadError);
    EXPECT_EQ(RemainingRecordBytes(r.get(), 3), 25);
}

TEST(ContinuedReads, StringWhoseCharactersTurnWideInAContinueRecord)
{
    // 3 compressed characters in the record, 2 16-bit ones after the CONTINUE's option byte 1.
    auto r = Make(0x0207, B({5, 0, 0, 'a', 'b', 'c'}));
    r->AddContinue(Cont(B({1, 0x3A, 0x26, 'e', 0})));
    const QString expected = QStringLiteral("abc") + QChar(0x263A) + QStringLiteral("e");

    TBaseRecord *at = r.get();
    int32_t pos = 3, dest = 0;
    QByteArray shortData(5, 0);
    QString wide(5, QChar());
    uint8_t flags = 0, actual = 0;
    ReadRecordStr(at, pos, shortData, wide, flags, actual, dest, 5);
    EXPECT_EQ(actual & 1, 1);
    EXPECT_EQ(wide, expected);
    EXPECT_EQ(dest, 5);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(at, r->Continue);
}
