// The chi-square test: its expected matrix, statistic and null models, and the run from the
// main grid to the results window with its refusals and files.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "framework/rtl/System.h"
#include "models/standard/ChiSquareMain.h"
#include "models/standard/ChiSquareOpts.h"
#include "models/standard/ChiSquareSims.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QTimer>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// ---- Statistic and null models, window-free -----------------------------------------------------

TEST(ChiSquareStatistic, SumsSquaredDeviationsOverExpected)
{
    Matrix m(2, 2);
    Real_Matrix e(2, 2);
    const int obs[2][2] = {{10, 30}, {20, 40}};  // [column][row]
    const double exp[2][2] = {{12, 28}, {18, 42}};
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r) {
            m[c][r] = obs[c][r];
            e[c][r] = exp[c][r];
        }
    // 4/12 + 4/18 + 4/28 + 4/42
    EXPECT_NEAR(ChiSquareStatistic(m, e, 2, 2), 0.7936507936507936, 1e-15);
}

TEST(ChiSquareNullModels, EachModelKeepsItsMarginsAndDrawsItsLaw)
{
    const std::vector<int32_t> rowTotals{30, 70}, colTotals{40, 60};
    std::vector<double> rowLine, colLine;
    ProportionLine(rowTotals, rowLine);
    ProportionLine(colTotals, colLine);
    TCumulativeLine rows, cols;
    rows.Assign(rowLine);
    cols.Assign(colLine);
    bool stop = false;
    TSimContext ctx;
    ctx.InterruptFlag = &stop;
    TEventSlice slice(ctx);
    Matrix s(2, 2);
    RandSeed = 17;
    const int tables = 2000;
    std::array<double, 4> cell{};
    for (int k = 0; k < tables; ++k) {
        RandomizeColumnTotals(s, colTotals, 2);
        ASSERT_EQ(s[0][0] + s[0][1], 40);
        ASSERT_EQ(s[1][0] + s[1][1], 60);
        RandomizeRowTotals(s, rowTotals, 2);
        ASSERT_EQ(s[0][0] + s[1][0], 30);
        ASSERT_EQ(s[0][1] + s[1][1], 70);
        RandomizeMatrixUnits(s, rows, cols, rowLine, colLine, 100, ctx, slice);
        ASSERT_EQ(s[0][0] + s[0][1] + s[1][0] + s[1][1], 100);
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r < 2; ++r) cell[2 * c + r] += s[c][r];
    }
    EXPECT_FALSE(stop);
    // A unit falls in a cell with its row's times its column's proportion.
    const double p[4] = {0.4 * 0.3, 0.4 * 0.7, 0.6 * 0.3, 0.6 * 0.7};
    const double units = 100.0 * tables;
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(cell[i] / units, p[i], 4 * std::sqrt(p[i] * (1 - p[i]) / units)) << i;
}

TEST(ChiSquareNullModels, CumulativeSearchAgreesWithTheLinearScan)
{
    RandSeed = 2;
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 1 + Random(12);
        std::vector<int32_t> totals(static_cast<size_t>(n));
        for (int32_t &t : totals) t = Random(5);
        totals[0] += 1;
        if (trial % 7 == 0) totals[static_cast<size_t>(n - 1)] = -1;  // falls back to the scan
        std::vector<double> line;
        ProportionLine(totals, line);
        TCumulativeLine cum;
        cum.Assign(line);
        for (int d = 0; d < 50; ++d) {
            const double u = d == 0 ? 1.0 : Random();
            int scan = n - 1;
            double running = 0;
            for (int i = 0; i < n; ++i) {
                running += line[static_cast<size_t>(i)];
                if (running >= u) {
                    scan = i;
                    break;
                }
            }
            ASSERT_EQ(cum.PositionOf(u), scan) << trial << " " << u;
        }
    }
}

TEST(ChiSquareNullModels, ZeroFirstRowCannotBePlaced)
{
    const std::vector<int32_t> rowTotals{0, 5}, colTotals{2, 3};
    std::vector<double> rowLine, colLine;
    ProportionLine(rowTotals, rowLine);
    ProportionLine(colTotals, colLine);
    TCumulativeLine rows, cols;
    rows.Assign(rowLine);
    cols.Assign(colLine);
    bool stop = false;
    QStringList shown;
    TSimContext ctx;
    ctx.InterruptFlag = &stop;
    ctx.ShowMessage = [&](const QString &m) { shown << m; };
    TEventSlice slice(ctx);
    Matrix s(2, 2);
    RandomizeMatrixUnits(s, rows, cols, rowLine, colLine, 5, ctx, slice);
    EXPECT_TRUE(stop);
    EXPECT_EQ(shown, QStringList("Unable to satisfy restraints. Aborting simulation."));

    // A later zero row just never receives a unit.
    stop = false;
    shown.clear();
    const std::vector<int32_t> laterZero{5, 0};
    ProportionLine(laterZero, rowLine);
    rows.Assign(rowLine);
    for (int k = 0; k < 100; ++k) {
        RandomizeMatrixUnits(s, rows, cols, rowLine, colLine, 5, ctx, slice);
        ASSERT_EQ(s[0][1] + s[1][1], 0);
    }
    EXPECT_TRUE(shown.isEmpty());
}

// ---- The dialog and the run ------------------------------------------------------------------------

class ChiSquare : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ChiSquareShell = create<TChiSquareShell>();
        ChiSquareOpts = create<TChiSquareOpts>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(ChiSquareOpts);
        destroy(ChiSquareShell);
        MainWindowFixture::TearDown();
    }

    static void SetTable(const std::vector<std::vector<const char *>> &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        const int cols = static_cast<int>(Rows[0].size());
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetColCount(cols + 1);
        g->SetCells(0, 0, QStringLiteral("species"));
        for (int c = 1; c <= cols; ++c) g->SetCells(c, 0, QStringLiteral("s%1").arg(c));
        for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
            g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
            for (int c = 1; c <= cols; ++c) g->SetCells(c, r, QString::fromLatin1(Rows[r - 1][c - 1]));
        }
    }

    // The Chi-square command with the dialog set up by Step; Shown tells whether results showed.
    static void Start(const char *Iterations, const std::function<void()> &Step = {}, bool *Shown = nullptr)
    {
        WhileShown(
            ChiSquareShell,
            [&] {
                WhileShown(ChiSquareOpts, [] { Tarvix->ChiSquare1->Click(); }, [&] {
                    ChiSquareOpts->IterationsEdit->SetText(QString::fromLatin1(Iterations));
                    ChiSquareOpts->RandomSeedEdit->SetText(QStringLiteral("5"));
                    if (Step) Step();
                    ChiSquareOpts->Run1->Click();
                });
            },
            [&] {
                if (Shown) *Shown = true;
            });
    }

    static QStringList Summary() { return ChiSquareShell->Memo1->Lines()->ToStringList(); }
};

TEST_F(ChiSquare, ExpectedMatrixFromTheTotals)
{
    SetTable({{"10", "20"}, {"30", "40"}});
    ASSERT_TRUE(ChiSquareOpts->CalculateExpectedMatrix());
    EXPECT_EQ(ChiSquareOpts->RowTotal, (std::vector<double>{30, 70}));
    EXPECT_EQ(ChiSquareOpts->ColTotal, (std::vector<double>{40, 60}));
    EXPECT_EQ(ChiSquareOpts->IntegerRowTotal, (std::vector<int32_t>{30, 70}));
    EXPECT_EQ(ChiSquareOpts->IntegerColTotal, (std::vector<int32_t>{40, 60}));
    EXPECT_EQ(ChiSquareOpts->MatrixTotal, 100);
    EXPECT_EQ(ChiSquareOpts->IntegerMatrixTotal, 100);
    TStringGrid *e = ChiSquareOpts->ExpectedGrid;
    EXPECT_EQ(e->Cells(1, 1), "12.0000000");
    EXPECT_EQ(e->Cells(2, 1), "18.0000000");
    EXPECT_EQ(e->Cells(1, 2), "28.0000000");
    EXPECT_EQ(e->Cells(2, 2), "42.0000000");
    EXPECT_EQ(e->Cells(0, 2), "sp2");
    EXPECT_EQ(e->Cells(2, 0), "s2");
}

TEST_F(ChiSquare, RunReportsTheIndexBlockAndBothMatrices)
{
    SetTable({{"10", "20"}, {"30", "40"}});
    Start("50", [] { ChiSquareOpts->SaveMatrixCheckBox->SetChecked(true); });
    const QStringList s = Summary();
    ASSERT_GT(s.size(), 30);
    EXPECT_EQ(s[1], "Rows = 2; Columns = 2");
    EXPECT_EQ(s[2], "Iterations = 50");
    EXPECT_EQ(s[3], "Random seed = 5");
    EXPECT_EQ(s[6], "INDEX");
    EXPECT_EQ(s[7], "Observed index = 0.79365");
    const int h = static_cast<int>(s.indexOf("Histogram          # Simulations"));
    ASSERT_GT(h, 0);
    EXPECT_EQ(s[h + 1], "  ");
    EXPECT_EQ(s[h + 14], "  ");
    EXPECT_EQ(s[h + 15], QString(46, QLatin1Char('_')));
    const int in = static_cast<int>(s.indexOf("INPUT MATRIX:"));
    EXPECT_EQ(s.mid(in + 2, 3), QStringList({"species s1 s2 ", "sp1 10 20 ", "sp2 30 40 "}));
    const int ex = static_cast<int>(s.indexOf("EXPECTED MATRIX:"));
    EXPECT_EQ(s[ex + 3], "sp1 12.0000000 18.0000000 ");
    QString ses;
    for (const QString &l : s)
        if (l.startsWith("Standardized Effect Size = ")) ses = l.mid(27);
    EXPECT_EQ(Tarvix->BatchGrid->Cells(1, 1), ses);
    EXPECT_EQ(ChiSquareShell->ChiSquareMemo->Lines()->Strings(0), "Observed index = 0.79365");
    EXPECT_FALSE(Progress->Visible());
    // The last simulated table went to Sim50.txt with the titles; randomize matrix keeps 100.
    const QList<QByteArray> lines = Read("Sim50.txt").split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("species s1 s2"));
    int total = 0;
    for (int r = 1; r <= 2; ++r)
        for (const QByteArray &v : lines[r].trimmed().split(' ').mid(1)) total += v.toInt();
    EXPECT_EQ(total, 100);
}

TEST_F(ChiSquare, RefusalsBeforeAnySimulation)
{
    struct Case
    {
        std::vector<std::vector<const char *>> table;
        std::function<void()> step;
        const char *iterations;
        QStringList messages;
    };
    const Case cases[] = {
        {{{"2.5", "1"}, {"3", "4"}}, {}, "10", {"Cell value is not a valid integer.", "Expected Grid 0 error: "}},
        {{{"", "1"}, {"3", "4"}}, {}, "10", {"Cell value is not a valid integer.", "Expected Grid 0 error: "}},
        // A table with no counts gives zeros, which are no expected values.
        {{{"0", "0"}, {"0", "0"}}, {}, "10", {"Non-positive real @ Row 1 Col 1", "Expected Grid 0 error: "}},
        {{{"10", "20"}, {"30", "40"}}, [] { ChiSquareOpts->ExpectedGrid->SetCells(2, 1, "0"); }, "10",
         {"Non-positive real @ Row 1 Col 2", "Expected Grid 0 error: "}},
        {{{"10", "20"}, {"30", "40"}}, [] { ChiSquareOpts->ExpectedGrid->SetCells(2, 1, "abc"); }, "10",
         {"Expected Grid 0 error: "}},
        {{{"10", "20"}, {"30", "40"}}, {}, "0", {"Iterations must be > 0.", "Initialization failed."}},
    };
    for (const Case &c : cases) {
        SetTable(c.table);
        ChiSquareShell->Memo1->Lines()->Clear();
        TUiScript ui;
        bool shown = false;
        Start(c.iterations, c.step, &shown);
        EXPECT_EQ(ui.Messages(), c.messages) << c.messages.join('|').toStdString();
        EXPECT_FALSE(shown);
        EXPECT_FALSE(Progress->Visible());
        EXPECT_TRUE(Summary().isEmpty());
    }
}

TEST_F(ChiSquare, RunChecksTheExpectedGridItself)
{
    SetTable({{"10", "20"}, {"30", "40"}});
    ASSERT_TRUE(ChiSquareOpts->CalculateExpectedMatrix());
    Tarvix->Iterations = 10;
    {
        ChiSquareOpts->ExpectedGrid->SetCells(2, 1, "0");
        TUiScript ui;
        ChiSquareShell->Run();
        EXPECT_EQ(ui.Messages(), QStringList({"Non-positive real @ Row 1 Col 2", "Expected Grid 0 error: ",
                                              "Initialization failed."}));
        EXPECT_TRUE(Tarvix->InterruptFlag);
    }
    {
        // A first row without counts cannot take units; expected cells set by hand let it run.
        SetTable({{"0", "0"}, {"30", "40"}});
        ASSERT_TRUE(ChiSquareOpts->CalculateExpectedMatrix());
        for (int c = 1; c <= 2; ++c) ChiSquareOpts->ExpectedGrid->SetCells(c, 1, "1");
        ChiSquareShell->Memo1->Lines()->Clear();
        TUiScript ui;
        ChiSquareShell->Run();
        EXPECT_EQ(ui.Messages(), QStringList("Unable to satisfy restraints. Aborting simulation."));
        EXPECT_FALSE(Progress->Visible());
        EXPECT_TRUE(Summary().isEmpty());
        SetTable({{"10", "20"}, {"30", "40"}});
    }
    {
        ASSERT_TRUE(ChiSquareOpts->CalculateExpectedMatrix());
        ChiSquareOpts->ExpectedGrid->SetRowCount(2);
        TUiScript ui;
        ChiSquareShell->Run();
        EXPECT_EQ(ui.Messages(),
                  QStringList({"Expected Row/Col counts <> Input Row/Col counts.", "Initialization failed."}));
    }
}

TEST_F(ChiSquare, ExpectedMatrixFileRoundTripAndReading)
{
    SetTable({{"10", "20"}, {"30", "40"}});
    ASSERT_TRUE(ChiSquareOpts->CalculateExpectedMatrix());
    TStringGrid *e = ChiSquareOpts->ExpectedGrid;
    e->SetCells(1, 1, "3.5");
    {
        TUiScript ui;
        ui.FileNameNext(Path("expected.txt"));
        ChiSquareOpts->SaveAs1->Click();
        EXPECT_TRUE(ui.Messages().isEmpty() || ui.Messages() == QStringList("Select a file name."));
    }
    EXPECT_EQ(Read("expected.txt"),
              "species s1 s2\r\nsp1 3.5 18.0000000\r\nsp2 28.0000000 42.0000000\r\n");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) e->SetCells(c, r, QString());
    {
        TUiScript ui;
        ui.FileNameNext(Path("expected.txt"));
        ChiSquareOpts->Open1->Click();
    }
    EXPECT_EQ(e->RowCount(), 3);
    EXPECT_EQ(e->Cells(1, 1), "3.5");
    EXPECT_EQ(e->Cells(2, 2), "42.0000000");

    // Commas separate too; LF and CR end rows; a last cell without a line end is kept; cells
    // beyond the grid are not shown.
    ChiSquareOpts->ReadExpectedMatrix("sp1,5,7\r\nsp2 8\n9 1 2 3\rlast");
    EXPECT_EQ(e->Cells(0, 0), "sp1");
    EXPECT_EQ(e->Cells(1, 0), "5");
    EXPECT_EQ(e->Cells(2, 0), "7");
    EXPECT_EQ(e->Cells(1, 1), "8");
    EXPECT_EQ(e->Cells(0, 2), "9");
    EXPECT_EQ(e->Cells(2, 2), "2");
    EXPECT_EQ(e->ColCount(), 3);
    EXPECT_EQ(e->RowCount(), 3);

    TUiScript ui;
    ui.FileNameNext(Path("missing.txt"));
    ChiSquareOpts->Open1->Click();
    EXPECT_TRUE(ui.Messages().contains("Error opening file."));
}

TEST_F(ChiSquare, ResetRecomputesTheExpectedMatrix)
{
    SetTable({{"10", "20"}, {"30", "40"}});
    ASSERT_TRUE(ChiSquareOpts->CalculateExpectedMatrix());
    ChiSquareOpts->ExpectedGrid->SetCells(1, 1, "99");
    ChiSquareOpts->RandomizationGroup->SetItemIndex(2);
    ChiSquareOpts->RandomSeedEdit->SetText("4");
    ChiSquareOpts->resetDefaults1->Click();
    EXPECT_EQ(ChiSquareOpts->ExpectedGrid->Cells(1, 1), "12.0000000");
    EXPECT_EQ(ChiSquareOpts->RandomizationGroup->ItemIndex(), 0);
    EXPECT_EQ(ChiSquareOpts->RandomSeedEdit->Text(), "0");
    EXPECT_EQ(ChiSquareOpts->IterationsEdit->Text(), "1000 ");
}

}  // namespace
