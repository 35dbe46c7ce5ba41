// The run from the main grid to the results window: its checks, its results, its tables and files.
#include "tests/tarvix/niche/Fixture.h"

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <QRegularExpression>

class Run : public NicheFixture
{
protected:
    static TNicheOverlap *w() { return NicheOverlap; }
    static QStringList Row(TStringGrid *G, int r)
    {
        QStringList out;
        for (int c = 0; c < G->ColCount(); ++c) out << G->Cells(c, r);
        return out;
    }
};

TEST_F(Run, BadInputStopsBeforeTheSimulation)
{
    struct Case
    {
        const char *name;
        std::vector<std::vector<QString>> rows;
        int iterations;
        QStringList messages;
    };
    const Case cases[] = {
        {"one species", {{"1", "2"}}, 10, {"Must have at least 2 rows of data for niche overlap."}},
        {"row without use", {{"1", "2"}, {"0", "x"}, {"1", "1"}}, 10, {"Non Zero Row = 2 ; aborting simulation."}},
        {"no iterations", {{"1", "2"}, {"2", "1"}}, 0, {"Iterations must be between 1 and 1,000,000."}},
        {"too many iterations", {{"1", "2"}, {"2", "1"}}, 1000001, {"Iterations must be between 1 and 1,000,000."}},
    };
    for (const Case &c : cases) {
        SetMatrix(c.rows);
        SetOptions(c.iterations, "1");
        Tarvix->InterruptFlag = false;
        TUiScript ui;
        RunAnalysis();
        EXPECT_EQ(ui.Messages(), c.messages + QStringList("Initialization failed.")) << c.name;
        EXPECT_TRUE(Tarvix->InterruptFlag) << c.name;
        EXPECT_FALSE(Progress->Visible()) << c.name;
        EXPECT_TRUE(Lines(w()->Memo1).isEmpty()) << c.name;
    }
    TUiScript ui;
    SetOptions(1000000, "1");
    EXPECT_TRUE(w()->Init());
}

TEST_F(Run, EqualSimulatedMeansCountAsEqual)
{
    // Algorithm 4 can only move the 1s among used states: every simulated matrix is the observed.
    SetMatrix({{"1", "1", "1"}, {"1", "1", "0"}});
    SetOptions(100, "3", nbRetained, zsRetained, niPianka);
    RunAnalysis();
    const QStringList s = Summary();
    EXPECT_EQ(Value(s, "Observed mean = "), "0.81650");
    EXPECT_EQ(Value(s, "Number of times Observed index < simulated indices = "), "0");
    EXPECT_EQ(Value(s, "Number of times Observed index = simulated indices = "), "100");
    EXPECT_EQ(Value(s, "Number of times Observed index > simulated indices = "), "0");
    EXPECT_EQ(Value(s, "p(observed <= expected) = "), "1.00000");
    EXPECT_EQ(Value(s, "p(observed >= expected) = "), "1.00000");
    EXPECT_EQ(Value(s, "Standardized Effect Size = "), "0.00000");
    EXPECT_EQ(Value(s, "Number of times Observed variance = simulated variances = "), "100");
    // Two species: one pair in each table.
    EXPECT_EQ(Row(w()->ResponseGrid, 0), QStringList({"species", "sp1", "sp2"}));
    EXPECT_EQ(Row(w()->ResponseGrid, 1), QStringList({"sp1", "", "0.8164966"}));
    EXPECT_EQ(w()->ResponseGrid->RowCount(), 2);
    EXPECT_EQ(w()->ProStringGrid1->RowCount(), 1);
    EXPECT_EQ(Row(w()->ProStringGrid1, 0), QStringList({"sp1", "sp2", "0.8164966"}));

    NicheOverlapOpts->IndexGroup->SetItemIndex(niCzekanowski);
    RunAnalysis();
    EXPECT_EQ(w()->ResponseGrid->Cells(2, 1), "0.6666667");
    EXPECT_EQ(Value(Summary(), "Number of times Observed index = simulated indices = "), "100");
}

TEST_F(Run, SeededSummaryRepeatsAndIsLaidOutLineByLine)
{
    SetMatrix({{"1", "2", "0", "3"}, {"0", "1", "1", "0"}, {"2", "0", "2", "1"}, {"1", "1", "1", "1"}});
    SetOptions(200, "5", nbRetained, zsRetained, niPianka);
    RunAnalysis();
    const QStringList first = Summary();
    RunAnalysis();
    const QStringList s = Summary();
    ASSERT_EQ(first, s);

    const QString rule(46, '_');
    EXPECT_EQ(s.mid(0, 13),
              QStringList({"Input file = " + Tarvix->FileName, "Rows = 4; Columns = 4", "Iterations = 200",
                           "Random seed = 5", "Resource State = Equiprobable", "Randomization Algorithm 4",
                           "Niche Breadth = Retained", "Zero States = Retained", "Pianka Index", rule, "",
                           "Observed mean = 0.60617", "Mean of simulated indices = " + FloatToStr75(w()->mmeans)}));
    EXPECT_EQ(s[13], "Variance of simulated indices = " + FloatToStr75(w()->vmeans));
    const int less = Value(s, "Number of times Observed index < simulated indices = ").toInt();
    const int equal = Value(s, "Number of times Observed index = simulated indices = ").toInt();
    const int greater = Value(s, "Number of times Observed index > simulated indices = ").toInt();
    EXPECT_EQ(less + equal + greater, 200);
    EXPECT_GT(less, 0);
    EXPECT_GT(greater, 0);
    EXPECT_EQ(Value(s, "p(observed <= expected) = "), FloatToStr75((greater + equal) / 200.0));
    EXPECT_EQ(Value(s, "p(observed >= expected) = "), FloatToStr75((less + equal) / 200.0));
    EXPECT_EQ(Value(s, "Standardized Effect Size = "),
              FloatToStr75((w()->Mean - w()->mmeans) / std::sqrt(w()->vmeans)));

    const QRegularExpression bin("^-?\\d+\\.\\d{5} -?\\d+\\.\\d{5}  \\d+$");
    const auto histogram = [&](const QString &Header) {
        const int h = static_cast<int>(s.indexOf(Header));
        EXPECT_GT(h, 0) << Header.toStdString();
        if (h <= 0) return;
        EXPECT_EQ(s[h + 1], "Histogram          # Simulations");
        EXPECT_EQ(s[h + 2], "  ");
        int binned = 0;
        for (int k = h + 3; k <= h + 14; ++k) {
            EXPECT_TRUE(bin.match(s[k]).hasMatch()) << s[k].toStdString();
            binned += s[k].section(' ', -1).toInt();
        }
        EXPECT_EQ(binned, 200);
        EXPECT_EQ(s[h + 15], rule);
    };
    histogram("Simulation frequencies");
    histogram("Simulation frequencies:");
    const int variance = static_cast<int>(s.indexOf("Observed variance = 0.03923"));
    ASSERT_GT(variance, 0);
    EXPECT_EQ(s[variance - 2], rule);
    EXPECT_EQ(s.mid(variance + 1, 3), QStringList({"", "Mean of simulated variances = " + FloatToStr75(w()->mvariances),
                                                   "Variance of simulated variances = " +
                                                       FloatToStr75(w()->vvariances)}));
    const int input = static_cast<int>(s.indexOf("INPUT MATRIX:"));
    ASSERT_GT(input, variance);
    EXPECT_EQ(s.mid(input + 1), QStringList({"", "species s1 s2 s3 s4 ", "sp1 1 2 0 3 ", "sp2 0 1 1 0 ",
                                             "sp3 2 0 2 1 ", "sp4 1 1 1 1 "}));

    EXPECT_EQ(Lines(w()->MeanMemo), QStringList({"Observed index = 0.60617", "", s[12], s[13], "",
                                                 "p(observed <= expected) = " + FloatToStr75(w()->meanP1),
                                                 "p(observed >= expected) = " + FloatToStr75(w()->meanP2)}));
    EXPECT_EQ(Lines(w()->VarianceMemo)[0], "Observed variance = 0.03923");
    EXPECT_TRUE(w()->ObservedMeanMemo->Text().endsWith("0.60617............>"));
    EXPECT_TRUE(w()->ObservedVarianceMemo->Text().endsWith("0.03923............>"));
    EXPECT_TRUE(Lines(w()->TimeMemo)[0].startsWith("Stop time = "));
    EXPECT_TRUE(Lines(w()->TimeMemo)[1].startsWith("Start time = "));
    EXPECT_EQ(w()->PageControl1->ActivePage(), w()->InputSheet);
}

TEST_F(Run, PairTablesFollowThePairOrder)
{
    SetMatrix({{"1", "2", "0", "3"}, {"0", "1", "1", "0"}, {"2", "0", "2", "1"}, {"1", "1", "1", "1"}});
    SetOptions(5, "3", nbRelaxed, zsReshuffled, niCzekanowski);
    RunAnalysis();
    TStringGrid *g = w()->ResponseGrid;
    ASSERT_EQ(g->ColCount(), 5);
    ASSERT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Row(g, 0), QStringList({"species", "sp1", "sp2", "sp3", "sp4"}));
    EXPECT_EQ(Row(g, 1), QStringList({"sp1", "", "0.3333333", "0.3666667", "0.6666667"}));
    EXPECT_EQ(Row(g, 2), QStringList({"sp2", "", "", "0.4", "0.5"}));
    EXPECT_EQ(Row(g, 3), QStringList({"sp3", "", "", "", "0.7"}));
    const QStringList pairs[] = {{"sp1", "sp2", "0.3333333"}, {"sp1", "sp3", "0.3666667"}, {"sp1", "sp4", "0.6666667"},
                                 {"sp2", "sp3", "0.4"},       {"sp2", "sp4", "0.5"},       {"sp3", "sp4", "0.7"}};
    ASSERT_EQ(w()->ProStringGrid1->RowCount(), 6);
    EXPECT_EQ(w()->ProStringGrid1->FixedRows(), 0);
    EXPECT_EQ(w()->ProStringGrid1->FixedCols(), 0);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(Row(w()->ProStringGrid1, k), pairs[k]) << k;
    EXPECT_EQ(Value(Summary(), "Randomization Algorithm "), "1");
    EXPECT_EQ(Value(Summary(), "Czekanowski Index"), "");
}

TEST_F(Run, SeedStartsTheDrawsOfTheFirstMatrix)
{
    // Algorithm 1: one draw per usable cell, species by species, none for "x".
    SetMatrix({{"1", "x", "2"}, {"3", "1", "x"}});
    SetOptions(1, "5", nbRelaxed, zsReshuffled);
    RunAnalysis();
    RandSeed = 5;
    const double d1 = ::Random(), d2 = ::Random(), d3 = ::Random(), d4 = ::Random();
    TStringGrid *g = w()->SimulationGrid;
    EXPECT_EQ(Row(g, 0), QStringList({"species", "s1", "s2", "s3"}));
    EXPECT_EQ(Row(g, 1), QStringList({"sp1", FloatToStr(d1), "0", FloatToStr(d2)}));
    EXPECT_EQ(Row(g, 2), QStringList({"sp2", FloatToStr(d3), FloatToStr(d4), "0"}));
    EXPECT_EQ(Row(w()->InputGrid, 1), QStringList({"sp1", "1", "x", "2"}));
}

TEST_F(Run, UserWeightsReachTheRun)
{
    SetMatrix({{"0", "0", "1"}, {"1", "1", "1"}, {"1", "0", "0"}});
    WhileShown(NicheOverlapUserDefined, [] { NicheOverlapOpts->ResourceStatesGroup->SetItemIndex(rsUserDefined); },
               [] { NicheOverlapUserDefined->SitesWeightsGrid->SetCells(1, 3, "0"); });
    SetOptions(10, "2");
    TUiScript ui;
    RunAnalysis();
    EXPECT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
    // sp1 used only state 3, which weight 0 removes.
    EXPECT_EQ(Row(w()->ResponseGrid, 1), QStringList({"sp1", "", "0", "0"}));
    EXPECT_EQ(w()->ResponseGrid->Cells(3, 2), "0.7071068");
    EXPECT_EQ(Value(Summary(), "Resource State = "), "User-defined");
}

TEST_F(Run, TablesAndSummaryAreSaved)
{
    SetMatrix({{"1", "1", "1"}, {"1", "1", "0"}});
    SetOptions(4, "2");
    RunAnalysis();
    w()->Memo1->Lines()->SetStrings(0, "annotated");
    TUiScript ui;
    for (const char *name : {"summary.txt", "space.txt", "comma.txt", "column.txt", "columncomma.txt"})
        ui.FileNameNext(Path(name));
    w()->Summary1->Click();
    w()->PairwiseSpace1->Click();
    w()->PairwiseComma1->Click();
    w()->PairwiseColumnSpace1->Click();
    w()->PairwiseColumnComma1->Click();
    EXPECT_TRUE(Read("summary.txt").startsWith("annotated\r\nRows = 2; Columns = 3\r\n"));
    EXPECT_TRUE(Read("summary.txt").endsWith("sp2 1 1 0 \r\n"));
    EXPECT_EQ(Read("space.txt"), "species sp1 sp2\r\nsp1  0.8164966\r\n");
    EXPECT_EQ(Read("comma.txt"), "species,sp1,sp2\r\nsp1,,0.8164966\r\n");
    EXPECT_EQ(Read("column.txt"), "sp1 sp2 0.8164966\r\n");
    EXPECT_EQ(Read("columncomma.txt"), "sp1,sp2,0.8164966\r\n");
    const auto saves = ui.RecordsOf(TUiKind::SaveFile);
    ASSERT_EQ(saves.size(), 5u);
    for (const auto &r : saves) EXPECT_EQ(r.Text, "Select a file name.");
    EXPECT_TRUE(ui.Messages().isEmpty()) << ui.Messages().join("|").toStdString();
}

TEST_F(Run, SavedMatricesHoldTheRawSimulatedValues)
{
    SetMatrix({{"3", "0"}, {"0.5", "2"}});
    NicheOverlapOpts->SaveMatrixCheckBox->SetChecked(true);
    SetOptions(3, "2", nbRetained, zsRetained);
    RunAnalysis();
    // Raw values, not proportions; sp2's two used states may trade places.
    for (int i = 1; i <= 3; ++i) {
        const QByteArray bytes = Read(QStringLiteral("Sim%1.txt").arg(i));
        EXPECT_TRUE(bytes == "species s1 s2\r\nsp1 3 0\r\nsp2 0.5 2\r\n" ||
                    bytes == "species s1 s2\r\nsp1 3 0\r\nsp2 2 0.5\r\n")
            << i << bytes.toStdString();
    }
    EXPECT_FALSE(QFile::exists("Sim4.txt"));
}

TEST_F(Run, BatchModeAddsTheRowAndTheSummaryFile)
{
    SetMatrix({{"1", "0", "2"}, {"0", "1", "1"}, {"1", "1", "0"}});
    Tarvix->FileName = Path("a.txt");
    Tarvix->BatchSwitch = true;
    Tarvix->Flag = true;
    SetOptions(10, "2");
    NicheOverlap->Run();
    EXPECT_FALSE(NicheOverlap->Visible());
    EXPECT_FALSE(Progress->Visible());
    TStringGrid *b = Tarvix->BatchGrid;
    EXPECT_EQ(b->Cells(0, 0), "FileName");
    EXPECT_EQ(Row(b, 1), QStringList({"a.txt", Value(Summary(), "Standardized Effect Size = "),
                                      Value(Summary(), "p(observed <= expected) = "),
                                      Value(Summary(), "p(observed >= expected) = ")}));
    EXPECT_TRUE(Read("Summarya.txt").startsWith("Input file = "));
    EXPECT_TRUE(Read("BatchSummary.txt").startsWith("FileName Standard-Effect LowerTailP UpperTailP\r\na.txt "));
}

TEST_F(Run, AbortStopsTheRunWithoutResults)
{
    SetMatrix({{"1", "0", "2"}, {"0", "1", "1"}, {"1", "1", "0"}});
    Tarvix->BatchSwitch = true;
    Tarvix->Flag = true;
    SetOptions(1000000, "2");
    QTimer::singleShot(20, [] { Progress->InterruptButton->Click(); });
    NicheOverlap->Run();
    EXPECT_TRUE(Tarvix->InterruptFlag);
    EXPECT_FALSE(Progress->Visible());
    EXPECT_EQ(Tarvix->BatchGrid->Cells(0, 1), "");
    EXPECT_TRUE(Lines(w()->Memo1).isEmpty());
    EXPECT_EQ(w()->ResponseGrid->Cells(2, 1), "");
}
