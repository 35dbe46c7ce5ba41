// Defined names: their fields and area, names built from a formula text, names following sheet
// insertions, deletions and copies; and the shared-formula list.
#include "FormulaRecordFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

using namespace frm;

namespace {

std::unique_ptr<TNameRecord> Name(const QString &name, const QByteArray &tokens, int sheet = -1)
{
    return Make<TNameRecord>(0x18, NameData(name, tokens, sheet));
}

QString Decoded(const TNameRecord &n, IFormulaCellList *cells)
{
    return fml::Decode(Bytes(DataOf(n).mid(n.TokenStart(), n.TokenLength())), cells);
}

} // namespace

TEST(NameRecord, FieldsAndAreaOfTheFirstToken)
{
    auto area = Name(QStringLiteral("Rates"), Area3D(1, 2, 9, 1, 3), 2);
    EXPECT_EQ(area->Name(), QStringLiteral("Rates"));
    EXPECT_EQ(area->RangeSheet(), 2);
    EXPECT_EQ((std::vector<int>{area->GetR1(), area->GetR2(), area->GetC1(), area->GetC2()}),
              (std::vector<int>{2, 9, 1, 3}));
    EXPECT_EQ(area->RefersToSheet([](int32_t ext) { return ext * 10; }), 10);
    EXPECT_EQ(area->RefersToSheet(nullptr), -1);

    auto cell = Name(QStringLiteral("One"), Ref3D(0, 4, 6, 0xC000));
    EXPECT_EQ(cell->RangeSheet(), -1);
    EXPECT_EQ((std::vector<int>{cell->GetR1(), cell->GetR2(), cell->GetC1(), cell->GetC2()}),
              (std::vector<int>{4, 4, 6, 6}));
    for (const QByteArray &t : {QByteArray(), Ref(1, 1), B({0x3B}) + Le16(0) + Le16(1)}) {
        auto n = Name(QStringLiteral("X"), t);
        EXPECT_EQ(n->GetR1(), -1);
        EXPECT_EQ(n->GetC2(), -1);
        EXPECT_EQ(n->RefersToSheet([](int32_t) { return 0; }), -1);
        n->SetR2(5);
        EXPECT_EQ(DataOf(*n), NameData(QStringLiteral("X"), t)) << "nothing to set";
    }

    // 16-bit characters.
    QByteArray wide = NameData(QStringLiteral("ab"), QByteArray());
    wide[14] = 1;
    wide += QByteArray(2, 0);
    wide[15] = char(0xA9);
    wide[16] = 0x03;
    wide[17] = 'z';
    wide[18] = 0;
    EXPECT_EQ(Make<TNameRecord>(0x18, wide)->Name(), QString::fromUtf16(u"\u03A9z"));
}

TEST(NameRecord, SettingACornerOfASingleCellMakesAnArea)
{
    fml::FakeCellList cells;
    cells.ExternSheets = {{0, 0}};
    auto n = Name(QStringLiteral("Start"), Ref3D(0, 2, 1) + B({0x15}), 0);
    n->SetR2(9);
    EXPECT_EQ(Decoded(*n, &cells), QStringLiteral("=('Sheet1'!$B$3:$B$10)"));
    EXPECT_EQ(n->DataSize, NameData(QStringLiteral("Start"), Ref3D(0, 2, 1) + B({0x15})).size() + 4);
    EXPECT_EQ(n->TokenLength(), 12);
    EXPECT_EQ(DataOf(*n).mid(n->TokenStart()), Area3D(0, 2, 9, 1, 1) + B({0x15}));
    EXPECT_EQ((std::vector<int>{n->GetR1(), n->GetR2(), n->GetC1(), n->GetC2()}), (std::vector<int>{2, 9, 1, 1}));
    n->SetC2(0xC004);
    n->SetR1(0);
    n->SetC1(0);
    EXPECT_EQ(DataOf(*n).mid(n->TokenStart()),
              B({0x3B}) + Le16(0) + Le16(0) + Le16(9) + Le16(0) + Le16(0xC004) + B({0x15}));
}

TEST(NameRecord, NamesFollowInsertedDeletedAndCopiedSheets)
{
    // EXTERNSHEET entry i is sheet i.
    TNameRecordList names;
    names.Add(Name(QStringLiteral("Global"), Ref3D(1, 0, 0)).release());
    names.Add(Name(QStringLiteral("Local2"), Ref3D(2, 0, 0), 2).release());
    names.Add(Name(QStringLiteral("Local1"), Ref3D(1, 0, 0), 1).release());
    names.Add(Name(QStringLiteral("Local0"), Ref3D(0, 0, 0), 0).release());
    const int64_t size = names.GetTotalSize();

    TSheetInfo none;
    names.InsertSheets(-1, 2, 1, none);
    EXPECT_EQ(GetWord(names.Items(1)->Data, 8), 4) << "local to sheet 2, now sheet 3";
    EXPECT_EQ(names.Items(0)->RangeSheet(), -1);
    EXPECT_EQ(names.Items(2)->RangeSheet(), 1);
    EXPECT_EQ(names.Items(3)->RangeSheet(), 0);
    EXPECT_EQ(names.Count(), 4);

    // Two copies of sheet 1 inserted before sheet 2: its local names and the global names that
    // refer to it get one copy per new sheet, local to that sheet.
    TSheetInfo copy;
    copy.FormulaSheet = 1;
    copy.GetSheet = [](int32_t ext) { return ext; };
    copy.SetSheet = [](int32_t sheet) { return sheet + 10; };
    names.InsertSheets(1, 2, 2, copy);
    ASSERT_EQ(names.Count(), 8);
    const struct
    {
        const char *name;
        int sheet;
        int ext;
    } want[] = {{"Global", -1, 1}, {"Local2", 5, 2}, {"Local1", 1, 1}, {"Local0", 0, 0},
                {"Global", 2, 12}, {"Global", 3, 13}, {"Local1", 2, 12}, {"Local1", 3, 13}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(names.Items(i)->Name(), QLatin1String(want[i].name)) << i;
        EXPECT_EQ(names.Items(i)->RangeSheet(), want[i].sheet) << i;
        EXPECT_EQ(GetWord(names.Items(i)->Data, names.Items(i)->TokenStart() + 1), want[i].ext) << i;
    }
    EXPECT_GT(names.GetTotalSize(), size);

    // Deleting sheets 2 and 3 drops the names local to them; later sheets move back.
    names.DeleteSheets(2, 2);
    ASSERT_EQ(names.Count(), 4);
    EXPECT_EQ(names.Items(1)->RangeSheet(), 3);
    EXPECT_EQ(names.GetTotalSize(), size);

    auto far = Name(QStringLiteral("Far"), QByteArray(), 64999);
    far->ArrangeInsertSheets(0, 1);
    EXPECT_EQ(GetWord(far->Data, 8), 65001);
    EXPECT_EQ(MessageOf([&] { far->ArrangeInsertSheets(64000, 1); }),
              QStringLiteral("Too many entries for this kind of record (65002 out of a maximum of 65001)"));
}

TEST(NameRecord, NamesFollowRowsAndRefuseTokensTheyCannotMove)
{
    TNameRecordList names;
    names.Add(Name(QStringLiteral("Block"), Area3D(0, 2, 10, 0, 3)).release());
    TSheetInfo s;
    s.InsSheet = 0;
    s.GetSheet = [](int32_t ext) { return ext; };
    names.ArrangeInsertRowsAndCols(5, -3, 0, 0, s);
    EXPECT_EQ(names.Items(0)->GetR2(), 7);
    names.ArrangeInsertRowsAndCols(0, 0, 1, 2, s);
    EXPECT_EQ(names.Items(0)->GetC2(), 5);

    auto bad = Name(QStringLiteral("Odd"), B({0x2E}) + QByteArray(8, 0));
    EXPECT_EQ(MessageOf([&] { bad->ArrangeInsertRowsAndCols(0, 1, 0, 0, s); }),
              QStringLiteral("Error in Worksheet name: \"Odd\". Token Id: 0x2E"));
    EXPECT_EQ(MessageOf([&] { bad->ArrangeCopySheet(s); }),
              QStringLiteral("Error in Worksheet name: \"Odd\". Token Id: 0x2E"));
    auto cut = Name(QStringLiteral("Cut"), Area3D(0, 2, 10, 0, 3).left(9));
    EXPECT_EQ(MessageOf([&] { cut->ArrangeInsertRowsAndCols(0, 1, 0, 0, s); }),
              QStringLiteral("Error in Worksheet name: \"Cut\". Token Id: 0x3B"));
}

TEST(NameRecord, BuiltFromAFormulaText)
{
    fml::FakeCellList cells;
    const TGetSheetName sheetName = [&](int32_t i) { return cells.Sheets[i]; };
    TXlsNamedRange range;
    range.Name = QStringLiteral("Plot");
    range.RangeFormula = QStringLiteral("  =B2:C4  ");
    range.OptionFlags = 0x20;
    range.NameSheetIndex = 1;
    std::unique_ptr<TNameRecord> n(TNameRecord::CreateFromData(range, sheetName, &cells));
    ASSERT_EQ(cells.ExternSheets.size(), 1u);
    EXPECT_EQ(cells.ExternSheets[0], std::make_pair(1, 1)) << "plain references go to the name's sheet";
    EXPECT_EQ(DataOf(*n), Le16(0x20) + B({0, 4}) + Le16(11) + Le16(2) + Le16(2) + B({0, 0, 0, 0}) + B({0}) + "Plot"
                              + Area3D(0, 1, 3, 1, 2));
    EXPECT_EQ(n->RangeSheet(), 1);
    EXPECT_EQ(Decoded(*n, &cells), QStringLiteral("='Sheet2'!$B$2:$C$4"));

    // A global name: plain references go to the first sheet; words 6 and 8 stay 0.
    range.NameSheetIndex = -1;
    range.RangeFormula = QStringLiteral("='Data 2010'!A1+D5");
    range.Name = QString::fromUtf16(u"\u03A9");
    n.reset(TNameRecord::CreateFromData(range, sheetName, &cells));
    EXPECT_EQ(n->RangeSheet(), -1);
    EXPECT_EQ(GetWord(n->Data, 6), 0);
    EXPECT_EQ(n->Name(), range.Name);
    EXPECT_EQ(Decoded(*n, &cells), QStringLiteral("='Data 2010'!A1+'Sheet1'!$D$5"));

    // Without a formula the name stays, with no tokens.
    range.RangeFormula = QStringLiteral("   ");
    n.reset(TNameRecord::CreateFromData(range, sheetName, &cells));
    EXPECT_EQ(n->TokenLength(), 0);
    EXPECT_EQ(n->Name(), range.Name);

    range.Name = QString(256, QLatin1Char('n'));
    range.RangeFormula = QStringLiteral("=A1");
    EXPECT_EQ(MessageOf([&] { TNameRecord::CreateFromData(range, sheetName, &cells); }),
              QStringLiteral("Invalid String record"));
    range.Name = QString(255, QLatin1Char('n'));
    n.reset(TNameRecord::CreateFromData(range, sheetName, &cells));
    EXPECT_EQ(n->Name(), range.Name);
    range.RangeFormula = QStringLiteral("=Nowhere!A1");
    EXPECT_EQ(MessageOf([&] { TNameRecord::CreateFromData(range, sheetName, &cells); }),
              fml::MessageOf([&] { fml::Encode(QStringLiteral("=Nowhere!A1"), &cells); }));
}

TEST(ShrFmlaRecordList, FindsSharedFormulasByKey)
{
    TShrFmlaRecordList list;
    for (const uint32_t key : {0x00030001u, 0x00010009u, 0x00020005u}) {
        auto r = Make<TShrFmlaRecord>(0x4BC, Le16(1) + Le16(4) + B({2, 3, 0, 4}) + Le16(0));
        r->Key = key;
        list.Add(r.release());
    }
    int32_t i = -1;
    EXPECT_TRUE(list.Find(0x00020005u, i));
    EXPECT_EQ(i, 1);
    EXPECT_TRUE(list.Sorted);
    EXPECT_FALSE(list.Find(0x00020006u, i));
    EXPECT_EQ(i, 2);
    EXPECT_EQ(list.Items(0)->FirstRow(), 1);
    EXPECT_EQ(list.Items(0)->LastRow(), 4);
    EXPECT_EQ(list.Items(0)->FirstCol(), 2);
    EXPECT_EQ(list.Items(0)->LastCol(), 3);
    std::unique_ptr<TShrFmlaRecord> copy(CopyOf(list.Items(2)));
    EXPECT_EQ(copy->Key, 0x00030001u);
    list.Add(copy.release());
    EXPECT_FALSE(list.Sorted);
    EXPECT_TRUE(list.Find(0x00030001u, i));
    EXPECT_EQ(i, 2);
}
