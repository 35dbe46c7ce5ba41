// FORMULA cells: the cached result as read, made and written (with its STRING record), copies,
// shared formulas, moves, the records that must follow a formula, and cut records.
#include "FormulaRecordFixture.h"
#include "xlsAdapter/records/duzUXlsSST.h"

#include <cmath>

using namespace frm;

namespace {

std::unique_ptr<TFormulaRecord> Formula(const QByteArray &data) { return Make<TFormulaRecord>(0x06, data); }

QByteArray Tokens(const TFormulaRecord &r) { return DataOf(r).mid(22, GetWord(r.Data, 20)); }

// The records a stream holds, each as id and data.
std::vector<std::pair<int, QByteArray>> Split(const QByteArray &bytes)
{
    std::vector<std::pair<int, QByteArray>> out;
    for (int p = 0; p + 4 <= bytes.size();) {
        const int id = GetWord(reinterpret_cast<const uint8_t *>(bytes.constData()), p);
        const int size = GetWord(reinterpret_cast<const uint8_t *>(bytes.constData()), p + 2);
        out.emplace_back(id, bytes.mid(p + 4, size));
        p += 4 + size;
    }
    return out;
}

} // namespace

TEST(FormulaRecord, LoadedResultsReadAsTheirValues)
{
    const QByteArray one = B({0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    auto r = Formula(FormulaData(1, 2, one, Ref(0, 0)));
    EXPECT_EQ(VarType(r->Value()), varDouble);
    EXPECT_EQ(r->Value().AsDouble(), 1.0);
    EXPECT_EQ(GetWord(r->Data, 14), 2) << "recalculated when the file is opened";
    // Written back as it now is, without a STRING record.
    EXPECT_EQ(Saved(*r), Record(0x06, FormulaData(1, 2, one, Ref(0, 0), 2)));
    EXPECT_EQ(r->TotalSize(), 4 + 27);

    const struct
    {
        int type, value;
        Variant want;
    } cases[] = {
        {2, 0x07, Variant(QStringLiteral("#DIV/0!"))}, {2, 0x00, Variant(QStringLiteral("#NULL!"))},
        {2, 0x2A, Variant(QStringLiteral("#N/A"))},    {2, 0x99, Variant()},
        {1, 1, Variant(true)},                         {1, 0, Variant(false)},
        {1, 2, Variant(false)},                        {3, 0, Variant()},
        {0, 0, Variant(QString(QLatin1String("")))},   {7, 0, Variant()},
    };
    for (const auto &c : cases) {
        auto f = Formula(FormulaData(0, 0, SpecialResult(c.type, c.value), QByteArray()));
        EXPECT_EQ(VarType(f->Value()), VarType(c.want)) << c.type << " " << c.value;
        EXPECT_TRUE(f->Value() == c.want || VarIsEmpty(c.want)) << c.type << " " << c.value;
    }
}

TEST(FormulaRecord, MadeValuesAreStoredAsResults)
{
    const auto made = [](const Variant &v, bool is1904 = false) {
        std::unique_ptr<TFormulaRecord> r(TFormulaRecord::CreateFromData(0x06, 27, 4, 5, 17, v, is1904));
        return r;
    };
    auto n = made(Variant(2.5));
    EXPECT_EQ(DataOf(*n),
              FormulaData(4, 5, NumberResult(2.5), QByteArray(), 2).replace(4, 2, Le16(17)) + QByteArray(5, 0));
    EXPECT_EQ(n->Value().AsDouble(), 2.5);
    auto d = made(Variant::FromDate(40000), true);
    EXPECT_EQ(DataOf(*d).mid(6, 8), NumberResult(38538));
    EXPECT_EQ(d->Value().AsDouble(), 38538.0);
    EXPECT_EQ(DataOf(*made(Variant::FromDate(40000))).mid(6, 8), NumberResult(40000));
    auto b = made(Variant(true));
    EXPECT_EQ(DataOf(*b).mid(6, 8), B({1, 0, 1, 0, 0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(b->Value(), Variant(true));
    EXPECT_EQ(DataOf(*made(Variant(false))).mid(6, 8), B({1, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    for (const Variant &v : {Variant(), Variant::Null()}) {
        auto e = made(v);
        EXPECT_EQ(DataOf(*e).mid(6, 8), QByteArray(8, 0));
        EXPECT_TRUE(VarIsEmpty(e->Value()));
    }
    auto s = made(Variant::FromAnsiString(QStringLiteral("ab")));
    EXPECT_EQ(DataOf(*s).mid(6, 8), B({0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(s->Value().AsString(), QStringLiteral("ab"));
}

TEST(FormulaRecord, TextResultsWriteAStringRecordSplitIntoContinues)
{
    std::unique_ptr<TFormulaRecord> r(
        TFormulaRecord::CreateFromData(0x06, 22, 0, 0, 15, Variant(QStringLiteral("hello")), false));
    const auto parts = Split(Saved(*r));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].first, 0x06);
    EXPECT_EQ(parts[1], std::make_pair(0x0207, B({5, 0, 0, 'h', 'e', 'l', 'l', 'o'})));
    EXPECT_EQ(r->TotalSize(), 26 + 12);
    EXPECT_EQ(r->TotalSizeNoHeaders(), 22 + 8);

    // 10000 characters: 3 + 10000 bytes, 8219 in the STRING and 1 + 1784 in one CONTINUE.
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QChar(u'a' + i % 26);
    r->SetFormulaValue(Variant(text));
    const QByteArray saved = Saved(*r);
    const auto big = Split(saved);
    ASSERT_EQ(big.size(), 3u);
    EXPECT_EQ(big[1].first, 0x0207);
    EXPECT_EQ(big[1].second.size(), 8219);
    EXPECT_EQ(big[2].first, 0x003C);
    EXPECT_EQ(big[2].second.size(), 1785);
    EXPECT_EQ(big[2].second[0], 0) << "the option byte leads the CONTINUE";
    EXPECT_EQ(r->TotalSize(), saved.size());
    EXPECT_EQ(r->TotalSizeNoHeaders(), 22 + 8219 + 1785);
    // The STRING reads back as the text.
    Stream st(saved.mid(26) + Record(0x0A, QByteArray()));
    std::unique_ptr<TBaseRecord> str(LoadRecord(st.file.get(), st.Header));
    EXPECT_EQ(static_cast<TStringRecord *>(str.get())->Value(), text);

    // 16-bit text splits on whole characters.
    r->SetFormulaValue(Variant(QString(5000, QChar(0x3A9))));
    const auto wide = Split(Saved(*r));
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[2].second.size(), 1 + 10003 - 8219);
    EXPECT_EQ(wide[2].second[0], 1);

    // Recalculation drops the cached text.
    EXPECT_EQ(r->FixTotalSize(true), 26);
    EXPECT_TRUE(VarIsEmpty(r->Value()));
    EXPECT_EQ(Split(Saved(*r)).size(), 1u);
}

TEST(FormulaRecord, CopiesReadEmptyAndOwnTheirArrayAndTable)
{
    auto r = Formula(FormulaData(3, 1, NumberResult(7), Ref(0, 0)));
    r->SetArrayRecord(Make<TArrayRecord>(0x221, Le16(3) + Le16(3) + B({1, 1}) + QByteArray(8, 0) + Le16(0)).release());
    r->SetTableRecord(Make<TTableRecord>(0x236, QByteArray(16, 0)).release());
    std::unique_ptr<TFormulaRecord> c(static_cast<TFormulaRecord *>(r->CopyTo()));
    EXPECT_TRUE(VarIsEmpty(c->Value()));
    EXPECT_EQ(DataOf(*c).mid(6, 8), B({2, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(r->Value().AsDouble(), 7.0);
    ASSERT_NE(c->ArrayRecord(), nullptr);
    EXPECT_NE(c->ArrayRecord(), r->ArrayRecord());
    EXPECT_EQ(DataOf(*c->ArrayRecord()), DataOf(*r->ArrayRecord()));
    EXPECT_NE(c->TableRecord(), r->TableRecord());
    // Formula, then ARRAY, then TABLE.
    const auto parts = Split(Saved(*c));
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].first, 0x221);
    EXPECT_EQ(parts[2].first, 0x236);
    EXPECT_EQ(c->TotalSize(), 31 + 20 + 20);
}

TEST(FormulaRecord, ExpTokensPointToSharedFormulasThatExpandForTheCell)
{
    auto exp = Formula(FormulaData(10, 3, NumberResult(0), B({0x01}) + Le16(5) + Le16(2)));
    uint32_t key = 0;
    ASSERT_TRUE(exp->IsExp(key));
    EXPECT_EQ(key, 0x00020005u);
    EXPECT_FALSE(Formula(FormulaData(10, 3, NumberResult(0), Ref(5, 2)))->IsExp(key));
    EXPECT_FALSE(Formula(FormulaData(10, 3, NumberResult(0), B({0x01}) + Le16(5) + Le16(2) + B({0x15})))->IsExp(key));

    // Shared tokens: row - 1, column + 2, and an absolute reference.
    const QByteArray shared = Le16(5) + Le16(12) + B({2, 4, 0, 3}) + Le16(11) + B({0x2C}) + Le16(0xFFFF) + Le16(2 | Rel)
                              + Ref(0, 0, 0) + B({0x03});
    exp->MixShared(reinterpret_cast<const uint8_t *>(shared.constData()), int32_t(shared.size()));
    EXPECT_EQ(exp->DataSize, shared.size() + 12);
    EXPECT_EQ(Tokens(*exp), Ref(9, 5) + Ref(0, 0, 0) + B({0x03}));
    EXPECT_EQ(DecodeFormula(*exp), QStringLiteral("=F10+$A$1"));

    // Shared tokens that run past their data are refused for the cell.
    for (const QByteArray &bad : {shared.left(9), Le16(5) + Le16(12) + B({2, 4, 0, 3}) + Le16(6) + B({0x2C, 1, 0}),
                                  Le16(5) + Le16(12) + B({2, 4, 0, 3}) + Le16(3) + B({0x2C, 1, 0})}) {
        auto f = Formula(FormulaData(10, 3, NumberResult(0), B({0x01}) + Le16(5) + Le16(2)));
        const auto *d = reinterpret_cast<const uint8_t *>(bad.constData());
        const QString m = MessageOf([&] { f->MixShared(d, int32_t(bad.size())); });
        const QString token = bad.size() < 10 ? QStringLiteral(" 0") : QStringLiteral("2C");
        EXPECT_EQ(m, QStringLiteral("Formula at Row 11, column 4 is not supported. Token Id: 0x") + token);
    }
}

TEST(FormulaRecord, MovesWithRowsColumnsAndCopies)
{
    auto r = Formula(FormulaData(6, 2, NumberResult(0), Ref(7, 1) + Ref(2, 1, 0) + B({0x03})));
    r->SetTableRecord(Make<TTableRecord>(0x236, Le16(6) + Le16(8) + B({2, 3}) + Le16(0) + Le16(7) + Le16(1)
                                                      + Le16(0xFFFF) + Le16(0xFFFF)).release());
    r->ArrangeInsertRowsAndCols(5, 2, 0, 0, OnSheet(0));
    EXPECT_EQ(r->Row(), 8);
    EXPECT_EQ(Tokens(*r), Ref(9, 1) + Ref(2, 1, 0) + B({0x03}));
    EXPECT_EQ(DataOf(*r->TableRecord()).left(10), Le16(8) + Le16(10) + B({2, 3}) + Le16(3) + Le16(9));

    // On another sheet only the cell's own sheet moves the table.
    TSheetInfo other;
    other.InsSheet = 1;
    other.FormulaSheet = 0;
    r->ArrangeInsertRowsAndCols(0, 1, 0, 0, other);
    EXPECT_EQ(r->Row(), 8);
    EXPECT_EQ(GetWord(r->TableRecord()->Data, 0), 8);

    r->ArrangeCopyRowsAndCols(3, 1);
    EXPECT_EQ(r->Row(), 11);
    EXPECT_EQ(r->Column(), 3);
    EXPECT_EQ(Tokens(*r), Ref(12, 2) + Ref(2, 1, 0) + B({0x03}));
    EXPECT_EQ(DataOf(*r->TableRecord()).left(6), Le16(11) + Le16(13) + B({3, 4}));

    auto bad = Formula(FormulaData(2, 1, NumberResult(0), B({0x26}) + QByteArray(6, 0)));
    EXPECT_EQ(MessageOf([&] { bad->ArrangeInsertRowsAndCols(0, 1, 0, 0, OnSheet(0)); }),
              QStringLiteral("Formula at Row 4, column 2 is not supported. Token Id: 0x26"));
    EXPECT_EQ(MessageOf([&] { bad->ArrangeCopyRowsAndCols(1, 0); }),
              QStringLiteral("Formula at Row 4, column 2 is not supported. Token Id: 0x26"));
}

TEST(TableRecord, RangeAndInputCellsFollowRowsAndColumns)
{
    const QByteArray table = Le16(4) + Le16(9) + B({2, 254}) + Le16(0) + Le16(3) + Le16(1) + Le16(20) + Le16(0x00FF);
    auto t = Make<TTableRecord>(0x236, table);
    EXPECT_EQ(GetWord(t->Data, 6), 3) << "always calculated, and on open";
    t->ArrangeInsertRowsAndCols(5, 2, 3, 1);
    EXPECT_EQ(DataOf(*t), Le16(4) + Le16(11) + B({2, 255}) + Le16(3) + Le16(3) + Le16(1) + Le16(22) + Le16(0x00FF));
    // A copy up past the first row pushes the first input cell to "none".
    t->ArrangeCopyRowsAndCols(-4, 0);
    EXPECT_EQ(DataOf(*t).left(4), Le16(0) + Le16(7));
    EXPECT_EQ(DataOf(*t).mid(8), Le16(0xFFFF) + Le16(0xFFFF) + Le16(18) + Le16(0x00FF));
    const QByteArray before = DataOf(*t);
    EXPECT_EQ(MessageOf([&] { t->ArrangeCopyRowsAndCols(-2, 0); }),
              QStringLiteral("Too many entries for this kind of record (-2 out of a maximum of 65535)"));
    EXPECT_EQ(DataOf(*t), before) << "a refused move changes nothing";
    EXPECT_EQ(MessageOf([&] { t->ArrangeCopyRowsAndCols(0, 254); }),
              QStringLiteral("Too many entries for this kind of record (256 out of a maximum of 255)"));
}

TEST(FormulaRecord, SubRecordsFollowOnlyTheirFormula)
{
    const QByteArray formula = Record(0x06, FormulaData(0, 0, SpecialResult(0, 0), Ref(0, 0)));
    const QByteArray array = Record(0x221, Le16(0) + Le16(1) + B({0, 0}) + QByteArray(6, 0) + Le16(5) + Ref(0, 0));
    const QByteArray table = Record(0x236, QByteArray(16, 0));
    const QByteArray string = Record(0x207, B({2, 0, 0, 'o', 'k'}));
    const QByteArray eof = Record(0x0A, QByteArray());
    {
        Stream s(formula + array + string + eof);
        std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
        auto *f = dynamic_cast<TFormulaRecord *>(r.get());
        ASSERT_NE(f, nullptr);
        ASSERT_NE(f->ArrayRecord(), nullptr);
        EXPECT_EQ(f->TableRecord(), nullptr);
        EXPECT_EQ(s.Header.Id, 0x207) << "the STRING comes next";
        std::unique_ptr<TBaseRecord> str(LoadRecord(s.file.get(), s.Header));
        EXPECT_EQ(static_cast<TStringRecord *>(str.get())->Value(), QStringLiteral("ok"));
    }
    {
        Stream s(formula + table + string + eof);
        std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
        EXPECT_NE(static_cast<TFormulaRecord *>(r.get())->TableRecord(), nullptr);
    }
    const QByteArray shrfmla = Record(0x4BC, QByteArray(10, 0));
    const QByteArray number = Record(0x203, QByteArray(14, 0));
    const QByteArray labelsst = Record(0xFD, QByteArray(10, 0));
    for (const QByteArray &ok : {shrfmla + string, formula + string, formula + table + string})
        EXPECT_EQ(MessageOf([&] {
                      Stream s(ok + eof);
                      std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
                  }),
                  QString());
    for (const QByteArray &bad : {labelsst + array, number + table, number + string, formula + array + table,
                                  formula + table + array, formula + array + array, shrfmla + table, array + array,
                                  Record(0x0A, QByteArray()) + string})
        EXPECT_EQ(MessageOf([&] {
                      Stream s(bad + eof);
                      std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
                  }),
                  QStringLiteral("Error reading Excel records. File invalid"))
            << bad.toHex().toStdString();
}

TEST(FormulaRecord, CutRecordsAndTokenLengthsBeyondTheDataAreRefused)
{
    const struct
    {
        int id;
        QByteArray data;
        int min;
    } cases[] = {
        {0x06, FormulaData(1, 1, NumberResult(1), Ref(0, 0)), 27},
        {0x04BC, Le16(0) + Le16(1) + B({0, 0, 0, 2}) + Le16(5) + B({0x2C}) + Le32(0), 10},
        {0x18, NameData(QStringLiteral("Abc"), Ref3D(0, 1, 1)), 25},
        {0x236, QByteArray(16, 0), 16},
    };
    for (const auto &c : cases) {
        for (int n = 0; n <= c.data.size(); ++n) {
            const QString m = MessageOf([&] {
                Stream s(Record(c.id, c.data.left(n)) + Record(0x0A, QByteArray()));
                std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
            });
            if (n < c.min)
                EXPECT_EQ(m, Format(QStringLiteral("Record with ID 0x%x is invalid"), {c.id})) << c.id << " at " << n;
            else
                EXPECT_EQ(m, QString()) << c.id << " cut at " << n;
        }
    }
    // Token lengths one past the data.
    QByteArray f = FormulaData(1, 1, NumberResult(1), Ref(0, 0));
    f[20] = 6;
    EXPECT_EQ(MessageOf([&] { Formula(f); }), QStringLiteral("Record with ID 0x6 is invalid"));
    QByteArray n = NameData(QStringLiteral("Abc"), Ref3D(0, 1, 1));
    n[4] = 8;
    EXPECT_EQ(MessageOf([&] { Make<TNameRecord>(0x18, n); }), QStringLiteral("Record with ID 0x18 is invalid"));
}
