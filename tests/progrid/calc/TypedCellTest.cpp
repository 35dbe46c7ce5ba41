// Typed cell views, headers, highlighting and fills.
#include "../grid/GridFixture.h"
#include "framework/rtl/System.h"
#include <gtest/gtest.h>

TEST(TypedCells, IntsReadTrimmedIntegersAndRefuseTheRest)
{
    TTestGrid g;
    const std::pair<QString, int> good[] = {{"", 0}, {" - ", 0}, {" 42 ", 42}, {"-7", -7}, {"2147483647", 2147483647}};
    for (const auto &[text, v] : good) {
        g.SetCells(1, 1, text);
        EXPECT_EQ(g.Ints(1, 1), v) << text.toStdString();
    }
    for (const QString bad : {"1 2", "1.5", "x", "2147483648"}) {
        g.SetCells(1, 1, bad);
        EXPECT_EQ(GridErrorOf([&] { g.Ints(1, 1); }), "Cell does not contain integer value") << bad.toStdString();
        EXPECT_EQ(g.Cells(1, 1), bad);
    }
    g.SetInts(2, 3, -15);
    EXPECT_EQ(g.Cells(2, 3), "-15");
}

TEST(TypedCells, FloatsCleanNumberFormattingAndRefuseNonNumbers)
{
    TTestGrid g;
    const std::pair<QString, double> good[] = {
        {"(1,234.50)", -1234.5}, {"", 0}, {"-", 0}, {"$ 12.5", 12.5}, {" 3e2 ", 300}, {"-0.25", -0.25}};
    for (const auto &[text, v] : good) {
        g.SetCells(1, 1, text);
        EXPECT_DOUBLE_EQ(g.Floats(1, 1), v) << text.toStdString();
    }
    // A text without any digit is no number either.
    for (const QString bad : {"1.2.3", "x", "abc"}) {
        g.SetCells(1, 1, bad);
        EXPECT_EQ(GridErrorOf([&] { g.Floats(1, 1); }), "Cell does not contain a float value") << bad.toStdString();
    }
    g.SetFloats(1, 2, 3.14159);
    EXPECT_EQ(g.Cells(1, 2), "3.14");
    g.SetFloatFormat("%.4f");
    g.SetFloats(1, 2, -2.5);
    EXPECT_EQ(g.Cells(1, 2), "-2.5000");
}

TEST(TypedCells, AllFormsReachHiddenRows)
{
    TTestGrid g;
    g.SetCells(1, 3, "7");
    g.SetCells(1, 4, "2.5");
    g.HideRow(3);
    EXPECT_EQ(g.AllInts(1, 3), 7);
    EXPECT_DOUBLE_EQ(g.AllFloats(1, 4), 2.5);
    EXPECT_DOUBLE_EQ(g.Floats(1, 3), 2.5);
    g.SetAllInts(1, 3, 9);
    g.SetAllFloats(1, 4, 1.0);
    g.UnHideRow(3);
    EXPECT_EQ(g.Cells(1, 3), "9");
    EXPECT_EQ(g.Cells(1, 4), "1.00");
}

TEST(TypedCells, DatesAndTimes)
{
    TTestGrid g;
    g.SetDates(1, 1, 0);
    EXPECT_EQ(g.Cells(1, 1), "12/30/1899");
    g.SetShowNullDates(false);
    g.SetDates(1, 1, 0);
    EXPECT_EQ(g.Cells(1, 1), "");
    // 2024-03-05 is day 45356; the time of day is dropped.
    g.SetDates(1, 2, 45356.75);
    EXPECT_EQ(g.Cells(1, 2), "3/5/2024");
    EXPECT_DOUBLE_EQ(g.Dates(1, 2), 45356.0);
    g.SetTimes(1, 3, 0.75);
    EXPECT_EQ(g.Cells(1, 3), "6:00:00 PM");
    EXPECT_DOUBLE_EQ(g.Times(1, 3), 0.75);
    g.SetCells(1, 4, "no date");
    EXPECT_THROW(g.Dates(1, 4), EConvertError);
}

TEST(TypedCells, ControlValuesVersionAndPrintLayout)
{
    TTestGrid g;
    g.SetCells(1, 1, "a<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"old\">");
    EXPECT_EQ(g.ControlValues(1, 1, "e"), "old");
    EXPECT_EQ(g.ControlValues(1, 1, "none"), "");
    g.SetControlValues(1, 1, "e", "new");
    EXPECT_EQ(g.ControlValues(1, 1, "e"), "new");
    const QString before = g.Cells(1, 1);
    g.SetControlValues(1, 1, "none", "x");
    EXPECT_EQ(g.Cells(1, 1), before);

    EXPECT_EQ(g.Version(), "1.0.0.0");
    g.SetVersion("9.9");
    EXPECT_EQ(g.Version(), "1.0.0.0");

    EXPECT_EQ(g.PrintColWidth(0), 0);
    EXPECT_EQ(g.PrintColOffset(511), 0);
    for (int c : {-1, 512})
        for (auto f : {&TProStringGrid::PrintColWidth, &TProStringGrid::PrintColOffset})
            EXPECT_EQ(GridErrorOf([&] { (g.*f)(c); }), "Columns is not in valid range") << c;
}

TEST(Headers, ColumnHeadersTurnBackslashNIntoLineBreaks)
{
    TTestGrid g;
    TStringList h;
    h.Add("Site");
    h.Add("first\\nsecond");
    g.SetCells(3, 0, "stale");
    g.SetColumnHeaders(&h);
    EXPECT_EQ(g.Cells(0, 0), "Site");
    EXPECT_EQ(g.Cells(1, 0), "first\rsecond");
    EXPECT_EQ(g.Cells(3, 0), "");
    // A change of the list shows it again.
    g.ColumnHeaders()->Add("third");
    EXPECT_EQ(g.Cells(2, 0), "third");

    TStringList rows;
    rows.Add("");
    rows.Add("sp1");
    g.SetRowHeaders(&rows);
    EXPECT_EQ(g.Cells(0, 1), "sp1");
    // Without fixed rows no header is written.
    TTestGrid plain;
    plain.SetFixedRows(0);
    plain.SetColumnHeaders(&h);
    EXPECT_EQ(plain.Cells(0, 0), "");
}

TEST(Highlight, ColumnRangesCaseAndMergedCells)
{
    TTestGrid g;
    g.SetCells(2, 0, "ab header");
    g.SetCells(2, 1, "xaby");
    g.SetCells(2, 2, "AB");
    g.HilightInCol(false, true, 2, "ab");
    EXPECT_EQ(g.Cells(2, 1), "x<hi>ab</hi>y");
    EXPECT_EQ(g.Cells(2, 2), "AB");
    EXPECT_EQ(g.Cells(2, 0), "ab header");
    g.HilightInCol(true, false, 2, "ab");
    EXPECT_EQ(g.Cells(2, 0), "<hi>ab</hi> header");
    EXPECT_EQ(g.Cells(2, 2), "<hi>AB</hi>");
    g.UnHilightInCol(false, 2);
    EXPECT_EQ(g.Cells(2, 1), "xaby");
    EXPECT_EQ(g.Cells(2, 0), "<hi>ab</hi> header");
    g.UnHilightInGrid(true);
    EXPECT_EQ(g.Cells(2, 0), "ab header");
    EXPECT_EQ(g.Cells(2, 2), "AB");

    g.MarkInRow(false, false, 1, "Y");
    EXPECT_EQ(g.Cells(2, 1), "xab<e>y</e>");
    EXPECT_EQ(g.UnMarkText(g.Cells(2, 1)), "xaby");
    g.UnMarkInCell(2, 1);
    EXPECT_EQ(g.Cells(2, 1), "xaby");

    // Only the base cell of a merged block is touched.
    g.SetCells(3, 3, "ab");
    g.MergeCells(3, 3, 2, 1);
    g.SetGridCell(4, 3, "ab");
    g.HilightInRow(false, true, 3, "ab");
    EXPECT_EQ(g.GetGridCell(3, 3), "<hi>ab</hi>");
    EXPECT_EQ(g.GetGridCell(4, 3), "ab");
}

TEST(Highlight, GridRangeAndDisplayHook)
{
    TTestGrid g;
    g.SetColCount(4);
    g.SetFixedRightCols(1);
    for (int c = 0; c < 4; ++c)
        g.SetCells(c, 1, "k");
    g.HideColumn(2);
    // Hidden columns belong to the normal area of HilightInGrid but not of MarkInGrid.
    g.HilightInGrid(false, true, "k");
    EXPECT_EQ(g.GetGridCell(0, 1), "k");
    EXPECT_EQ(g.GetGridCell(1, 1), "<hi>k</hi>");
    EXPECT_EQ(g.GetGridCell(2, 1), "<hi>k</hi>");
    EXPECT_EQ(g.GetGridCell(3, 1), "k") << "the right fixed column";
    g.UnHilightInGrid(false);
    g.MarkInGrid(false, true, "k");
    EXPECT_EQ(g.GetGridCell(1, 1), "<e>k</e>");
    EXPECT_EQ(g.GetGridCell(2, 1), "k");

    TTestGrid h;
    h.SetCells(1, 1, "raw");
    h.OnGetDisplText = [](TObject *, int, int, QString &v) { v = "shown " + v; };
    h.HilightInCell(true, 1, 1, "shown");
    EXPECT_EQ(h.GetGridCell(1, 1), "<hi>shown</hi> raw");
}

TEST(Fills, NormalAreaAndWholeGrid)
{
    TTestGrid g;
    g.SetColCount(4);
    g.SetRowCount(4);
    g.LinearFill(false);
    EXPECT_EQ(g.Cells(1, 1), "1:1");
    EXPECT_EQ(g.Cells(3, 2), "3:2");
    EXPECT_EQ(g.Cells(0, 1), "");
    EXPECT_EQ(g.Cells(1, 0), "");
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    g.TextFill(false, "t");
    EXPECT_EQ(g.Cells(2, 2), "t");
    EXPECT_EQ(g.Cells(2, 3), "2:3") << "the footer row";
    EXPECT_EQ(g.Cells(3, 1), "3:1");
    g.FormatFill(true, "%d-%d");
    EXPECT_EQ(g.Cells(0, 0), "0-0");
    EXPECT_EQ(g.Cells(3, 2), "3-2");

    RandSeed = 1;
    g.RandomFill(true, 10);
    // The generator of the run-time: state * 134775813 + 1, the draw the high word of 10 * state.
    uint32_t state = 1;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            state = state * 134775813u + 1u;
            EXPECT_EQ(g.Ints(c, r), int((uint64_t(10) * state) >> 32)) << c << "," << r;
        }
}
