// The floating footer's row: its calculations and how it stays the grid's last row.
#include "../grid/GridFixture.h"
#include "framework/rtl/Streams.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// One fixed row, data rows 1 .. n in column 2, the footer row after them, shown.
void FooterGrid(TTestGrid &g, const QStringList &data)
{
    g.SetRowCount(data.size() + 2);
    for (int i = 0; i < data.size(); ++i)
        g.SetCells(2, i + 1, data[i]);
    g.FloatingFooter()->SetVisible(true);
}
} // namespace

TEST(FloatingFooter, ShowingItInTheLastRowStyleMakesOneFooterRow)
{
    TTestGrid g;
    g.FloatingFooter()->SetVisible(true);
    EXPECT_EQ(g.FixedFooters(), 1);
    EXPECT_TRUE(g.FHideLastRow);
    g.FloatingFooter()->SetVisible(false);
    EXPECT_EQ(g.FixedFooters(), 0);
    EXPECT_FALSE(g.FHideLastRow);
    g.FloatingFooter()->SetFooterStyle(fsColumnPreview);
    g.FloatingFooter()->SetVisible(true);
    EXPECT_EQ(g.FixedFooters(), 0);
}

TEST(FloatingFooter, CalculationsOfEveryType)
{
    TTestGrid g;
    FooterGrid(g, {"2", "4", "4", "4", "5", "5", "7", "9"});
    const int footer = g.RowCount() - 1;
    // Sum 40, mean 5, population deviation 2, five distinct texts, eight rows.
    const std::pair<TColumnCalcType, QString> cases[] = {
        {acSUM, "40.00"}, {acAVG, "5.00"},      {acCOUNT, "8"},       {acMIN, "2.00"},
        {acMAX, "9.00"},  {acDISTINCT, "5.00"}, {acSTDDEV, "2.00"},   {acCUSTOM, ""}};
    for (const auto &[type, text] : cases) {
        g.SetCells(2, footer, "old");
        g.FloatingFooter()->SetColumnCalc(2, type);
        EXPECT_EQ(g.FloatingFooter()->GetColumnCalc(2), type);
        EXPECT_EQ(g.Cells(2, footer), text) << int(type);
    }
    g.SetCells(2, footer, "kept");
    g.FloatingFooter()->SetColumnCalc(2, acSPREAD);
    EXPECT_EQ(g.Cells(2, footer), "kept");
    EXPECT_EQ(g.FloatingFooter()->GetColumnCalc(3), acNONE);

    // Custom values: the grid's event first, else the footer's own.
    g.FloatingFooter()->OnCalcFooter = [](TObject *, int c, int r, QString &v) { v = QString("f%1,%2").arg(c).arg(r); };
    g.FloatingFooter()->SetColumnCalc(2, acCUSTOM);
    EXPECT_EQ(g.Cells(2, footer), "f2,9");
    g.OnFooterCalc = [](TObject *, int, int, QString &v) { v = "grid"; };
    g.CalcFooter(-1);
    EXPECT_EQ(g.Cells(2, footer), "grid");
}

TEST(FloatingFooter, SumFollowsChangedCellsAndNeedsAShownFooter)
{
    TTestGrid g;
    FooterGrid(g, {"1", "2", "3"});
    g.FloatingFooter()->SetColumnCalc(2, acSUM);
    EXPECT_EQ(g.Cells(2, 4), "6.00");
    g.SetCells(2, 1, "10");
    EXPECT_EQ(g.Cells(2, 4), "6.00") << "a plain write reports nothing";
    g.CellsChanged(TRect(2, 1, 2, 1));
    EXPECT_EQ(g.Cells(2, 4), "15.00");
    g.SetFloatFormat("%.1f");
    g.FloatingFooter()->SetEnableCalculation(false);
    g.CalcFooter(-1);
    EXPECT_EQ(g.Cells(2, 4), "15.00");
    g.FloatingFooter()->SetEnableCalculation(true);
    g.FloatingFooter()->SetVisible(false);
    g.SetCells(2, 4, "");
    g.FloatingFooter()->SetColumnCalc(2, acSUM);
    EXPECT_EQ(g.Cells(2, 4), "") << "a hidden footer only stores the type";

    TTestGrid count;
    FooterGrid(count, {"a", "b", "c", "d", "e"});
    count.FloatingFooter()->SetColumnCalc(1, acCOUNT);
    EXPECT_EQ(count.Cells(1, 6), "5");
}

TEST(FloatingFooter, HiddenRowsCountWhenAsked)
{
    TTestGrid g;
    FooterGrid(g, {"1", "2", "3"});
    g.FloatingFooter()->SetColumnCalc(2, acSUM);
    g.FloatingFooter()->SetColumnCalc(1, acCOUNT);
    g.HideRow(2);
    g.CalcFooter(-1);
    ASSERT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(2, 3), "6.00") << "the hidden row counts, the footer itself does not";
    EXPECT_EQ(g.Cells(1, 3), "3");
    g.FloatingFooter()->SetCalculateHiddenRows(false);
    g.CalcFooter(-1);
    EXPECT_EQ(g.Cells(2, 3), "4.00");
    EXPECT_EQ(g.Cells(1, 3), "2");
}

TEST(FloatingFooter, RowCountAddRowAndInsertKeepTheFooterLast)
{
    TTestGrid g;
    FooterGrid(g, {"1", "2"});
    g.FloatingFooter()->SetColumnCalc(2, acSUM);
    g.SetCells(0, 3, "Total");
    g.SetRowCount(6);
    EXPECT_EQ(g.Cells(0, 5), "Total");
    EXPECT_EQ(g.Cells(2, 5), "3.00");
    EXPECT_EQ(g.Cells(0, 3), "");
    EXPECT_EQ(g.Cells(2, 3), "");
    EXPECT_EQ(g.FloatingFooter()->GetColumnCalc(2), acSUM);

    g.SetCells(2, 4, "10");
    g.AddRow();
    ASSERT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.Cells(0, 6), "Total");
    EXPECT_EQ(g.Cells(2, 6), "13.00");
    EXPECT_EQ(g.Cells(2, 5), "");
    EXPECT_EQ(g.Cells(2, 4), "10");

    g.InsertRows(1, 2, true);
    ASSERT_EQ(g.RowCount(), 9);
    EXPECT_EQ(g.Cells(0, 8), "Total");
    EXPECT_EQ(g.Cells(2, 3), "1");
    EXPECT_EQ(g.Cells(2, 6), "10");
    EXPECT_EQ(g.Cells(2, 8), "13.00");

    // Shrinking brings the footer up; the row it lands on gives way.
    g.SetRowCount(4);
    EXPECT_EQ(g.Cells(0, 3), "Total");
    EXPECT_EQ(g.Cells(2, 3), "0.00") << "rows 1 and 2 are the new empty rows, row 3 the footer";
}

TEST(FloatingFooter, RemovedRowsTakeTheFooterUpWithThem)
{
    TTestGrid g;
    FooterGrid(g, {"1", "2", "3"});
    g.FloatingFooter()->SetColumnCalc(2, acSUM);
    g.SetCells(0, 4, "Total");
    g.RemoveRows(1, 1);
    ASSERT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(0, 3), "Total");
    EXPECT_EQ(g.Cells(2, 3), "5.00");
    EXPECT_EQ(g.Cells(2, 2), "3");
}

TEST(FloatingFooter, InsertFromCSVPutsTheFooterBelowTheReadLines)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("two.csv");
    {
        TFileStream f(file, fmCreate);
        const QByteArray text = "a,5\r\nb,6\r\n";
        f.WriteBuffer(text.constData(), text.size());
    }
    TTestGrid g;
    g.SetColCount(3);
    FooterGrid(g, {"1", "2"});
    g.FloatingFooter()->SetColumnCalc(2, acSUM);
    g.SetCells(0, 3, "Total");
    g.SetDelimiter(',');
    g.InsertFromCSV(file, 0);
    ASSERT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cells(0, 3), "a");
    EXPECT_EQ(g.Cells(1, 4), "6");
    EXPECT_EQ(g.Cells(0, 5), "Total");
    EXPECT_EQ(g.Cells(2, 5), "3.00");
    EXPECT_EQ(g.FloatingFooter()->GetColumnCalc(2), acSUM);
}

TEST(FloatingFooter, OtherStylesLeaveTheLastRowAlone)
{
    TTestGrid g;
    g.FloatingFooter()->SetFooterStyle(fsColumnPreview);
    FooterGrid(g, {"1", "2", "3"});
    g.SetRowCount(7);
    EXPECT_EQ(g.Cells(2, 3), "3");
    EXPECT_EQ(g.Cells(2, 6), "");
}
