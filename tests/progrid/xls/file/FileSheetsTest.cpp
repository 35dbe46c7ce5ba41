// Sheet operations of the file object: new sheets and their names, deleting from the active
// sheet on, selecting the saved tab, names, code names and visibility.
#include "FileFixture.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

using namespace xfile;

namespace {
QStringList Names(TXLSFile &F)
{
    QStringList n;
    const int keep = F.ActiveSheet();
    for (int i = 1; i <= F.SheetCount(); ++i) {
        F.SetActiveSheet(i);
        n << F.ActiveSheetName();
    }
    F.SetActiveSheet(keep);
    return n;
}
} // namespace

TEST(FileSheets, NewFileNamesAndActiveSheet)
{
    Connected c;
    c.F.NewFile(3);
    EXPECT_EQ(Names(c.F), (QStringList{"Sheet1", "Sheet2", "Sheet"}));
    EXPECT_EQ(c.F.ActiveSheet(), 1);
    EXPECT_TRUE(c.F.IsWorksheet(2) && c.F.IsWorksheet(3));
    EXPECT_FALSE(c.F.IsFileModified);
    // Only the first tab is selected, or the saved file would open with the sheets grouped.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(c.F.GetTWorkbook()->Sheets()->Items(i)->Selected(), i == 0) << i;

    // A sheet inserted before the selected one: the selection stays on the same sheet, alone.
    c.F.SelectSheet(2);
    c.F.InsertAndCopySheets(-1, 1, 1);
    EXPECT_TRUE(c.F.IsFileModified);
    EXPECT_EQ(c.F.SheetCount(), 4);
    EXPECT_EQ(Names(c.F)[1], "Sheet1") << "the new sheet went before the first";
    EXPECT_EQ(c.F.GetTWorkbook()->ActiveSheet(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.F.GetTWorkbook()->Sheets()->Items(i)->Selected(), i == 2) << i;
}

TEST(FileSheets, DeleteFromTheActiveSheet)
{
    const struct
    {
        int Sheets, Active, Count;
        QStringList Left;
        int NowActive;
    } cases[] = {
        {3, 3, 1, {"Sheet1", "Sheet2"}, 2},
        {2, 1, 1, {"Sheet"}, 1},
        {3, 1, 2, {"Sheet"}, 1},
        {3, 2, 2, {"Sheet1"}, 1},
    };
    for (const auto &x : cases) {
        Connected c;
        c.F.NewFile(x.Sheets);
        c.F.SetActiveSheet(x.Active);
        c.F.DeleteSheet(x.Count);
        EXPECT_EQ(Names(c.F), x.Left) << x.Sheets << " " << x.Active << " " << x.Count;
        EXPECT_EQ(c.F.ActiveSheet(), x.NowActive) << x.Sheets << " " << x.Active << " " << x.Count;
        EXPECT_TRUE(c.F.IsFileModified);
    }
    Connected c;
    c.F.NewFile(3);
    for (int n : {3, 4})
        EXPECT_EQ(ole::MessageOf([&] { c.F.DeleteSheet(n); }), "There are not visible sheets on the file");
    EXPECT_EQ(c.F.SheetCount(), 3);
    EXPECT_FALSE(c.F.IsFileModified);
}

TEST(FileSheets, SelectSheetMarksTheSavedTabOnly)
{
    Connected c;
    c.F.NewFile(3);
    c.F.SelectSheet(3);
    EXPECT_EQ(c.F.ActiveSheet(), 1);
    Connected d;
    LoadBytes(d.F, SavedToMemory(c.F));
    EXPECT_EQ(d.F.ActiveSheet(), 3);
}

TEST(FileSheets, NamesCodeNamesAndVisibility)
{
    Connected c;
    c.F.NewFile(2);
    c.F.SetActiveSheet(2);
    c.F.SetActiveSheetName("Data");
    EXPECT_EQ(Names(c.F), (QStringList{"Sheet1", "Data"}));
    c.F.SetActiveSheet(1);
    EXPECT_EQ(ole::MessageOf([&] { c.F.SetActiveSheetName("Data"); }), "Sheet name already exists: Data");

    c.F.SetActiveSheetCodeName("First");
    EXPECT_EQ(c.F.ActiveSheetCodeName(), "First");
    c.F.SetActiveSheet(2);
    EXPECT_EQ(ole::MessageOf([&] { c.F.SetActiveSheetCodeName("First"); }), "Sheet name already exists: First");
    EXPECT_EQ(c.F.ActiveSheetCodeName(), "");

    EXPECT_EQ(c.F.ActiveSheetVisible(), sv_Visible);
    c.F.SetActiveSheetVisible(sv_VeryHidden);
    Connected d;
    LoadBytes(d.F, SavedToMemory(c.F));
    d.F.SetActiveSheet(2);
    EXPECT_EQ(d.F.ActiveSheetVisible(), sv_VeryHidden);
    EXPECT_EQ(d.F.ActiveSheetName(), "Data");
    d.F.SetActiveSheet(1);
    EXPECT_EQ(d.F.ActiveSheetCodeName(), "First");
}

TEST(FileSheets, ClearSheetRemovesValues)
{
    // NUMBER 2.5 in B3.
    double v = 2.5;
    const QByteArray number = rec::Record(0x0203, rec::Le16(2) + rec::Le16(1) + rec::Le16(15)
                                                      + QByteArray(reinterpret_cast<const char *>(&v), 8));
    Connected c;
    LoadBytes(c.F, Compound({ole::Stream("Workbook", TemplateSheetWith(number))}));
    TCellList *cells = c.F.GetTWorkbook()->WorkSheets(0)->Cells()->CellList();
    ASSERT_EQ(cells->GetValue(2, 1).Value.AsDouble(), 2.5);
    c.F.ClearSheet();
    EXPECT_TRUE(VarIsEmpty(c.F.GetTWorkbook()->WorkSheets(0)->Cells()->CellList()->GetValue(2, 1).Value));
    EXPECT_TRUE(c.F.IsFileModified);
    EXPECT_EQ(c.F.SheetCount(), 1);
    EXPECT_EQ(c.F.ActiveSheetName(), "Sheet1");
}
