// The workbook as a whole: sections read by their BOF type, the stream written with every
// BOUNDSHEET pointing at its sheet, the visible-sheet rules, code names, and sheets inserted
// and deleted.
#include "BookFixture.h"

#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/workbook/duzUXlsEmptyWorkbook.h"
#include "xlsAdapter/records/duzUXlsRangeRecords.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

using namespace book;

namespace {

const QString Invalid = "Error reading Excel records. File invalid";

std::unique_ptr<TWorkbook> FromTemplate()
{
    const ByteArray &t = EmptyWorkbookTemplate();
    TMemoryStream m;
    m.WriteBuffer(t.data(), int64_t(t.size()));
    m.SetPosition(0);
    TOle2File f(&m);
    f.SelectStream("Workbook");
    auto W = std::make_unique<TWorkbook>();
    W->LoadFromStream(&f);
    return W;
}

QByteArray CodeName(const QByteArray &n) { return Record(0x01BA, glob::Str16(n)); }

uint16_t FirstVisibleTab(const QByteArray &Saved)
{
    for (const Rec &r : Records(Saved))
        if (r.Id == 0x003D)
            return GetWord(reinterpret_cast<const uint8_t *>(r.Data.constData()), 10);
    return 0xFFFF;
}

} // namespace

TEST(Workbook, TemplateWithValuesRoundTrips)
{
    auto W = FromTemplate();
    ASSERT_EQ(W->Sheets()->Count(), 1);
    W->InsertSheets(-1, 1, 1);
    ASSERT_EQ(W->Sheets()->Count(), 2);

    TWorkSheet *S = W->WorkSheets(0);
    TCellList *L = S->Cells()->CellList();
    L->SetValueX2(0, 0, TXlsCellValue{Variant(QStringLiteral("text")), 15, false}, nullptr, false);
    L->SetValueX2(1, 0, TXlsCellValue{Variant(1.5), 15, false}, nullptr, false);
    L->SetValueX2(2, 0, TXlsCellValue{Variant(true), 15, false}, nullptr, false);
    L->SetFormula(3, 0, QStringLiteral("=A2*2"));
    auto *M = new TMergedCells();
    S->Ranges()->Add(M);
    M->MergeCells(4, 0, 5, 1);
    S->Columns()->Add(new TColInfo(1, 3000, 15, 0));
    S->Cells()->RowList()->SetRowHeight(1, 500);
    W->WorkSheets(1)->Cells()->CellList()->SetValueX2(2, 3, TXlsCellValue{Variant(-7.25), 15, false}, nullptr, false);

    const QByteArray first = Saved(*W, true);
    const std::vector<int> offsets = BoundSheetOffsets(first);
    ASSERT_EQ(offsets.size(), 2u);
    for (int o : offsets)
        EXPECT_EQ(first.mid(o, 6), Record(0x0809, {}).left(2) + Le16(16) + Le16(0x0600)) << o;

    auto B = Loaded(first);
    EXPECT_EQ(Saved(*B), first);
    EXPECT_EQ(Saved(*B), first); // saving twice changes nothing

    TWorkSheet *R = B->WorkSheets(0);
    TCellList *RL = R->Cells()->CellList();
    EXPECT_EQ(RL->GetValue(0, 0).Value, Variant(QStringLiteral("text")));
    EXPECT_EQ(RL->GetValue(1, 0).Value, Variant(1.5));
    EXPECT_EQ(RL->GetValue(2, 0).Value, Variant(true));
    EXPECT_EQ(RL->GetFormula(3, 0), "=A2*2");
    ASSERT_EQ(R->Ranges()->Count(), 1);
    auto *RM = dynamic_cast<TMergedCells *>(R->Ranges()->Items(0));
    ASSERT_NE(RM, nullptr);
    ASSERT_EQ(RM->MergedCount(), 1);
    const TXlsCellRange m = RM->MergedCell(0);
    EXPECT_EQ(std::vector<int>({m.Left, m.Top, m.Right, m.Bottom}), std::vector<int>({0, 4, 1, 5}));
    EXPECT_EQ(R->GetColWidth(1, false), 3000);
    EXPECT_EQ(R->GetRowHeight(1, false), 500);
    EXPECT_EQ(B->WorkSheets(1)->Cells()->CellList()->GetValue(2, 3).Value, Variant(-7.25));
    EXPECT_EQ(B->Globals()->GetSheetName(1), "Sheet");
}

TEST(Workbook, ChartAndMacroSheetsComeBackAndTrailingBytesAreIgnored)
{
    const QByteArray chart = Bof(0x0020) + Record(0x1002, QByteArray(16, 0)) + Record(0x1033, {})
                             + Record(0x1003, QByteArray(12, 0)) + Record(0x1034, {});
    const QByteArray macro = Bof(0x0040) + Record(0x0055, Le16(8)) + Record(0x1234, "abc") + Window2(false);
    const QByteArray in = Globals(glob::BoundSheet("Chart1", 0x0200) + glob::BoundSheet("Macro1", 0x0100))
                          + chart + sheet::Dimensions(0, 1, 0, 1) + CodeName("Chart1") + Eof()
                          + Record(0x003C, "chained") + macro + Eof() + Bof(0x0010) + Record(0x0203, "junk");
    auto W = Loaded(in);
    ASSERT_EQ(W->Sheets()->Count(), 2);
    EXPECT_FALSE(W->IsWorksheet(0));
    EXPECT_FALSE(W->IsWorksheet(1));
    EXPECT_NE(dynamic_cast<TWbChart *>(W->Sheets()->Items(0)), nullptr);
    EXPECT_NE(dynamic_cast<TWbUnsupportedSheet *>(W->Sheets()->Items(1)), nullptr);
    EXPECT_THROW(W->WorkSheets(0), EInvalidCast);

    const QByteArray out = Saved(*W);
    const std::vector<int> o = BoundSheetOffsets(out);
    ASSERT_EQ(o.size(), 2u);
    EXPECT_EQ(out.mid(o[0], o[1] - o[0]), chart + CodeName("Chart1") + Eof());
    EXPECT_EQ(out.mid(o[1]), macro + Eof());
}

TEST(Workbook, VisibleSheetRules)
{
    const QByteArray four = glob::BoundSheet("A") + glob::BoundSheet("B", 1) + glob::BoundSheet("C", 1)
                            + glob::BoundSheet("D");
    auto W = Loaded(Globals(four) + WorkSheet(true) + WorkSheet() + WorkSheet() + WorkSheet());
    EXPECT_EQ(FirstVisibleTab(Saved(*W)), 0);
    W->Globals()->SetSheetVisible(0, sv_Hidden);
    EXPECT_EQ(MessageOf([&] { Saved(*W); }), "To save this file, you must select a visible sheet");
    // Selecting sheet 3 makes it the only selected tab; the first visible one is then 3.
    W->SetActiveSheet(3);
    EXPECT_EQ(W->ActiveSheet(), 3);
    EXPECT_FALSE(W->Sheets()->Items(0)->Selected());
    EXPECT_EQ(FirstVisibleTab(Saved(*W)), 3);
    W->Globals()->SetSheetVisible(3, sv_VeryHidden);
    W->SetActiveSheet(1);
    EXPECT_EQ(MessageOf([&] { Saved(*W); }), "To save this file, you must select a visible sheet");
    W->SetActiveSheet(0);
    W->Sheets()->Items(0)->SetSelected(false);
    EXPECT_EQ(MessageOf([&] { Saved(*W); }), "There are not visible sheets on the file");
}

TEST(Workbook, BadStreams)
{
    const QByteArray one = Globals(glob::BoundSheet("Sheet1"));
    // A record between sections; a second globals section after a sheet.
    EXPECT_EQ(MessageOf([&] { Loaded(Globals({}) + Record(0x0203, QByteArray(14, 0)) + WorkSheet()); }), Invalid);
    EXPECT_EQ(MessageOf([&] { Loaded(Globals({}) + WorkSheet() + one + WorkSheet()); }), Invalid);
    // A failure in a later section, after a sheet with strings and merged cells: nothing stays
    // behind once the workbook goes.
    const QByteArray text = Record(0x00FC, Le32(1) + Le32(1) + glob::Str16("a")) + Record(0x00FF, Le16(8));
    const QByteArray withText = Bof(0x0005) + Window1() + glob::BoundSheet("A") + glob::BoundSheet("B") + text + Eof();
    const QByteArray sheetA = sheet::SheetBof() + sheet::Row(0, 0, 1) + Record(0x00FD, Le16(0) + Le16(0) + Le16(15) + Le32(0))
                              + Window2(true) + sheet::Merged(0, 1, 0, 1) + Eof();
    EXPECT_EQ(MessageOf([&] { Loaded(withText + sheetA + Bof(0x0020) + Record(0x1033, {}) + Bof(0x0020)); }), Invalid);
    auto full = Loaded(withText + sheetA + Bof(0x0020) + Eof());
    EXPECT_EQ(full->WorkSheets(0)->Cells()->CellList()->GetValue(0, 0).Value, Variant(QStringLiteral("a")));
    // The sheets read must be the globals' sheet list: none listed, no globals at all, a listed
    // sheet that never comes, or the globals cut before their EOF are refused on load.
    EXPECT_EQ(MessageOf([&] { Loaded(Globals({}) + WorkSheet(true) + WorkSheet()); }), Invalid);
    EXPECT_EQ(MessageOf([&] { Loaded(Globals({})); }), Invalid);
    EXPECT_EQ(MessageOf([&] { Loaded({}); }), Invalid);
    EXPECT_EQ(MessageOf([&] { Loaded(WorkSheet()); }), Invalid);
    EXPECT_EQ(MessageOf([&] { Loaded(one); }), Invalid);
    EXPECT_EQ(MessageOf([&] { Loaded(one.chopped(4)); }), Invalid);
    // Sheets past the listed ones are not part of the workbook.
    auto listed = Loaded(one + WorkSheet() + WorkSheet());
    EXPECT_EQ(listed->Sheets()->Count(), 1);
    // A refused load leaves the workbook empty.
    TWorkbook W;
    Load(W, one + WorkSheet());
    EXPECT_THROW(Load(W, one), Exception);
    EXPECT_EQ(W.Sheets()->Count(), 0);
    EXPECT_EQ(W.Globals()->SheetCount(), 0);

    // Every cut of a valid stream loads or is refused, and never harms.
    const QByteArray whole = one + sheet::SheetBof() + sheet::Row(0, 0, 1) + sheet::Number(0, 0, 2) + Window2(true)
                             + sheet::Merged(0, 1, 0, 1) + Eof();
    for (int n = 0; n < whole.size(); ++n) {
        TWorkbook W;
        try {
            Load(W, whole.left(n));
        } catch (const Exception &) {
        }
    }
}

TEST(Workbook, CodeNamesForAMacroProject)
{
    const struct
    {
        std::vector<QByteArray> Names;
        std::vector<QByteArray> CodeNames; // "" for none
        std::vector<QString> Expected;
    } cases[] = {
        {{"Sheet1", "Sheet2", "Sheet3"}, {"", "", ""}, {"Sheet1", "Sheet2", "Sheet3"}},
        {{"Data", "Other"}, {"", "DATA"}, {"Data1", "DATA"}},
        {{"2010", "x"}, {"", "2010"}, {"2011", "2010"}},
        {{"S009", "S10"}, {"", "s9"}, {"S009", "s9"}},
        {{"S9", "T"}, {"", "s9"}, {"S10", "s9"}},
        {{"A99999999999999999999", "B"}, {"", "a99999999999999999999"}, {"A100000000000000000000", "a99999999999999999999"}},
    };
    for (const auto &c : cases) {
        QByteArray bound, sheets;
        for (size_t i = 0; i < c.Names.size(); ++i) {
            bound += glob::BoundSheet(c.Names[i]);
            sheets += Bof(0x0010) + Window2(i == 0) + (c.CodeNames[i].isEmpty() ? QByteArray() : CodeName(c.CodeNames[i]))
                      + Eof();
        }
        auto W = Loaded(Globals(bound, Record(0x00D3, {})) + sheets);
        Saved(*W);
        for (size_t i = 0; i < c.Names.size(); ++i)
            EXPECT_EQ(W->Sheets()->Items(int(i))->CodeName(), c.Expected[i]) << c.Names[i].constData();
    }
    // Without a macro project no code name is made.
    auto plain = Loaded(Globals(glob::BoundSheet("Sheet1")) + WorkSheet(true));
    Saved(*plain);
    EXPECT_EQ(plain->Sheets()->Items(0)->CodeName(), "");
}

TEST(Workbook, InsertAndDeleteSheets)
{
    auto W = FromTemplate();
    TSheet *original = W->Sheets()->Items(0);
    W->InsertSheets(-1, 0, 2);
    ASSERT_EQ(W->Sheets()->Count(), 3);
    EXPECT_EQ(W->Sheets()->Items(2), original);
    EXPECT_TRUE(W->IsWorksheet(0) && W->IsWorksheet(1));
    EXPECT_EQ(W->Globals()->GetSheetName(2), "Sheet1");
    EXPECT_EQ(W->Globals()->SheetCount(), 3);

    EXPECT_EQ(MessageOf([&] { W->InsertSheets(3, 0, 1); }), "Sheet number \"3\" invalid. Must be between -1 and 2");
    EXPECT_EQ(MessageOf([&] { W->InsertSheets(-1, 4, 1); }), "Sheet number \"4\" invalid. Must be between 0 and 3");
    EXPECT_EQ(MessageOf([&] { W->DeleteSheets(4, 1); }), "Sheet number \"4\" invalid. Must be between 0 and 3");

    W->InsertHPageBreak(2, 10);
    EXPECT_TRUE(W->WorkSheets(2)->HasHPageBreak(10));
    W->InsertVPageBreak(2, 3);
    EXPECT_TRUE(W->WorkSheets(2)->HasVPageBreak(3));

    W->DeleteSheets(0, 2);
    ASSERT_EQ(W->Sheets()->Count(), 1);
    EXPECT_EQ(W->Sheets()->Items(0), original);
    const QByteArray out = Saved(*W);
    EXPECT_EQ(BoundSheetOffsets(out).size(), 1u);
    auto B = Loaded(out);
    EXPECT_TRUE(B->WorkSheets(0)->HasHPageBreak(10));
}

TEST(Workbook, SaveRangeWritesOneSheetInItsRange)
{
    const QByteArray two = glob::BoundSheet("A") + glob::BoundSheet("B", 1);
    const QByteArray cells = sheet::Row(0, 0, 1) + sheet::Row(5, 5, 6) + sheet::Number(0, 0, 1) + sheet::Number(5, 5, 2);
    auto W = Loaded(Globals(two) + WorkSheet() + sheet::SheetBof() + cells + Window2(true) + Eof());
    W->SetIsXltTemplate(true);
    // A hidden selected sheet is no obstacle here.
    const QByteArray out = Written([&](TOle2File &f) { W->SaveRangeToStream(&f, 1, TXlsCellRange{0, 0, 2, 2}, false); });
    const std::vector<int> o = BoundSheetOffsets(out);
    ASSERT_EQ(o.size(), 1u);
    EXPECT_EQ(out.mid(o[0], 6), Record(0x0809, {}).left(2) + Le16(16) + Le16(0x0600));
    int numbers = 0, templates = 0;
    for (const Rec &r : Records(out)) {
        numbers += r.Id == 0x0203;
        templates += r.Id == 0x0060;
    }
    EXPECT_EQ(numbers, 1);
    EXPECT_EQ(templates, 1);
    EXPECT_NE(out.indexOf(sheet::Number(0, 0, 1)), -1);

    auto B = Loaded(out);
    ASSERT_EQ(B->Sheets()->Count(), 1);
    EXPECT_TRUE(B->IsXltTemplate());
    EXPECT_EQ(B->WorkSheets(0)->Cells()->CellList()->GetValue(0, 0).Value, Variant(1.0));
}
