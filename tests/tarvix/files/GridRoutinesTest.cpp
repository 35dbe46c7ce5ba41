// Checks and copies over grids, and the statistics routines that read the main window's state.
#include "framework/controls/UiSeam.h"
#include "framework/rtl/Exceptions.h"
#include "grid/core/ProGrid.h"
#include "workspace/TarvixHelpers.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Rows of cells, row 0 and column 0 being the titles.
template <typename Grid>
void Fill(Grid &g, const std::vector<std::vector<QString>> &rows)
{
    g.SetRowCount(static_cast<int>(rows.size()));
    g.SetColCount(static_cast<int>(rows[0].size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            g.SetCells(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
}

struct CheckCase
{
    QString bad;         // put at column 2, row 3 of an otherwise positive 3 x 3 matrix
    bool passes;
    QString message;     // empty: no message
};

}  // namespace

TEST(GridChecks, PositiveIntegersReportTheFirstBadCell)
{
    const std::vector<CheckCase> cases = {
        {"4", true, ""},
        {"0", false, "Non-positive integer @ Row 3 Col 2"},
        {"-2", false, "Non-positive integer @ Row 3 Col 2"},
        {"1.5", false, ""},
        {"x", false, ""},
    };
    for (const auto &c : cases) {
        TProStringGrid g(nullptr);
        Fill(g, {{"species", "s1", "s2", "s3"}, {"a", "1", "2", "3"}, {"b", "1", "2", "3"}, {"c", "1", c.bad, "0"}});
        g.SetCells(3, 3, "5");
        TUiScript script;
        EXPECT_EQ(CheckPositiveIntegers(&g), c.passes) << c.bad.toStdString();
        EXPECT_EQ(script.Messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.bad.toStdString();
    }
}

TEST(GridChecks, PositiveRealsReportOrRaise)
{
    TStringGrid g(nullptr);
    Fill(g, {{"species", "s1", "s2"}, {"a", "0.5", "2e-3"}, {"b", "3", "0.0"}});
    TUiScript script;
    EXPECT_FALSE(CheckPositiveReals(&g));
    EXPECT_EQ(script.Messages(), QStringList{"Non-positive real @ Row 2 Col 2"});
    g.SetCells(2, 2, "7.25");
    EXPECT_TRUE(CheckPositiveReals(&g));
    g.SetCells(1, 1, "n/a");
    EXPECT_THROW(CheckPositiveReals(&g), EConvertError);
}

TEST(GridChecks, DiversityLimitsCountDataRowsAndColumns)
{
    struct Case
    {
        int rows, cols;
        QString message;
    };
    const std::vector<Case> cases = {
        {3401, 101, ""},
        {3402, 101, "Species Diversity Row Count Maximum = 3400"},
        {3401, 102, "Species Diversity Column Count Maximum = 100"},
        {3402, 102, "Species Diversity Row Count Maximum = 3400"},
    };
    for (const auto &c : cases) {
        TStringGrid g(nullptr);
        g.SetRowCount(c.rows);
        g.SetColCount(c.cols);
        TUiScript script;
        EXPECT_EQ(CheckDiversityLimits(&g), c.message.isEmpty()) << c.rows << " x " << c.cols;
        EXPECT_EQ(script.Messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

TEST(GridChecks, NonZeroRowsStopAtTheFirstEmptyRow)
{
    Real_Matrix m(3, 5);
    for (int r : {1, 2, 4})
        m[0][r] = 0.5 * r;
    int32_t nonZero = 99, rowError = 99;
    {
        TUiScript script;
        CheckNonZeroRows(m, 4, nonZero, rowError);
        EXPECT_EQ(nonZero, -1);
        EXPECT_EQ(rowError, 3);
        EXPECT_EQ(script.Messages(), QStringList{"Non Zero Row = 3 ; aborting simulation."});
    }
    TUiScript script;
    CheckNonZeroRows(m, 2, nonZero, rowError);
    EXPECT_EQ(nonZero, 2);
    EXPECT_EQ(rowError, 0);
    // More grid rows than the matrix has: the walk ends with the matrix.
    m[0][3] = 1;
    CheckNonZeroRows(m, 50, nonZero, rowError);
    EXPECT_EQ(nonZero, 4);
    EXPECT_TRUE(script.Messages().isEmpty());
}

TEST(GridCopies, ColumnsTitlesAndIntegers)
{
    TStringGrid src(nullptr), a(nullptr), b(nullptr);
    Fill(src, {{"species", "s1", "s2", "s3"}, {"x", "1", "2", "3"}, {"y", "4", "5", "6"}});
    a.SetRowCount(9);
    CopyColumnsToGrids(&src, &a, &b, 3, 1);
    for (TStringGrid *g : {&a, &b}) {
        EXPECT_EQ(g->RowCount(), 3);
        EXPECT_EQ(g->Rows(0)->CommaText(), "species,s3,s1,,");
        EXPECT_EQ(g->Rows(2)->CommaText(), "y,6,4,,");
    }

    TStringGrid titles(nullptr);
    titles.SetRowCount(2);
    CopyRowTitles(&src, &titles);
    EXPECT_EQ(titles.RowCount(), 2);
    EXPECT_EQ(titles.Cells(0, 1), "x");
    EXPECT_EQ(titles.Cells(0, 2), "y");  // kept in the store beyond the count

    const std::vector<int32_t> ints = {7, -3, 0};
    IntsToGridColumn(ints, &titles);
    EXPECT_EQ(titles.Cells(1, 0), "");
    EXPECT_EQ(titles.Cells(1, 1), "7");
    EXPECT_EQ(titles.Cells(1, 2), "-3");
    EXPECT_EQ(titles.Cells(1, 3), "0");
}

TEST_F(MainWindowFixture, RoutinesReadTheMainWindowsRunState)
{
    // Tail probabilities over the main window's iteration count.
    Tarvix->Iterations = 4;
    const std::vector<double> sims = {1, 3, 3, 2, 99};
    double p1 = -1, p2 = -1;
    int32_t greater, equal, less;
    TailProbabilities(sims, 2.0, p1, p2, greater, equal, less);
    EXPECT_EQ(greater, 1);
    EXPECT_EQ(equal, 1);
    EXPECT_EQ(less, 2);
    EXPECT_DOUBLE_EQ(p1, 0.5);
    EXPECT_DOUBLE_EQ(p2, 0.75);

    // Site 2 of 3 is empty: site 3 moves into column 2.
    Tarvix->info_Mat = {4, 3, 3, 2};
    Matrix m(4, 3);
    m[1][1] = 1, m[3][1] = 1, m[3][2] = 1;
    MarginalTotals(m);
    EXPECT_EQ(m[3][0], 2);
    DropEmptyColumns(m);
    EXPECT_EQ(Tarvix->info_Mat[2], 2);
    EXPECT_EQ(m[2][1], 1);
    EXPECT_EQ(m[2][2], 1);
    EXPECT_EQ(m[3][1], 0);

    // Species rows counted over the main grid's data rows (5 by default).
    Matrix rows(6, 6);
    for (int r : {1, 3, 5})
        rows[0][r] = r;
    CountNonZeroRows(rows);
    EXPECT_EQ(Tarvix->NonZeroRows, 3);
    Real_Matrix real(6, 6);
    for (int r = 1; r < 6; ++r)
        real[0][r] = 1;
    real[0][4] = 0;
    TUiScript script;
    CheckNonZeroRows(real);
    EXPECT_EQ(Tarvix->RowError, 4);
    EXPECT_EQ(Tarvix->NonZeroRows, -1);
}
