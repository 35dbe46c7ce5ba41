// Simulated matrices and data sets written one file per iteration.
#include "tests/tarvix/batch/BatchFixture.h"

#include <gtest/gtest.h>

namespace {

class SimFiles : public BatchFixture
{
protected:
    // 3 species x 4 sites with titles of our own.
    void SetUp() override
    {
        BatchFixture::SetUp();
        TProStringGrid *g = Tarvix->MainGrid;
        g->SetColCount(5);
        g->SetRowCount(4);
        g->Rows(0)->SetCommaText("species,s1,s2,s3,s4");
        for (int r = 1; r <= 3; ++r)
            g->SetCells(0, r, "sp" + QString::number(r));
    }

    // Blocks a file name by putting a folder there.
    void Block(const QString &Name) { ASSERT_TRUE(QDir(dir.path()).mkdir(Name)); }
};

}  // namespace

TEST_F(SimFiles, MatrixFilesCarryTheGridTitlesAndTheSimulatedValues)
{
    Matrix m(5, 4);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r)
            m[c][r] = 10 * c + r;
    Tarvix->SaveSimulation_2(12, 0, m);
    EXPECT_EQ(Read("Sim12.txt"), "species s1 s2 s3 s4\r\n"
                                 "sp1 11 21 31 41\r\n"
                                 "sp2 12 22 32 42\r\n"
                                 "sp3 13 23 33 43\r\n");
    // Indexed from 0, without margins.
    Tarvix->SaveSimulation_4(12, 3, m);
    EXPECT_EQ(Read("Sim12_3.txt"), "species s1 s2 s3 s4\r\n"
                                   "sp1 0 10 20 30\r\n"
                                   "sp2 1 11 21 31\r\n"
                                   "sp3 2 12 22 32\r\n");
    Real_Matrix x(5, 4);
    x[1][1] = 0.5;
    x[4][3] = 1e-6;
    x[2][2] = -3;
    Tarvix->SaveSimulation_3(1, 0, x);
    EXPECT_EQ(Read("Sim1.txt"), "species s1 s2 s3 s4\r\n"
                                "sp1 0.5 0 0 0\r\n"
                                "sp2 0 -3 0 0\r\n"
                                "sp3 0 0 0 1E-6\r\n");
}

TEST_F(SimFiles, MatrixLinesLoseTrailingBlanks)
{
    Tarvix->MainGrid->SetColCount(2);
    Tarvix->MainGrid->SetCells(1, 0, "");
    Tarvix->SaveSimulation_2(2, 0, Matrix(2, 4));
    EXPECT_EQ(Read("Sim2.txt"), "species\r\nsp1 0\r\nsp2 0\r\nsp3 0\r\n");
}

TEST_F(SimFiles, MatrixFileFailuresReachTheAnalysis)
{
    EXPECT_THROW(Tarvix->SaveSimulation_2(1, 0, Matrix(4, 4)), ERangeError);
    EXPECT_THROW(Tarvix->SaveSimulation_4(1, 0, Matrix(4, 2)), ERangeError);
    EXPECT_THROW(Tarvix->SaveSimulation_3(1, 0, Real_Matrix(5, 3)), ERangeError);
    EXPECT_EQ(Read("Sim1.txt"), "<missing>");
    Block("Sim7.txt");
    EXPECT_THROW(Tarvix->SaveSimulation_2(7, 0, Matrix(5, 4)), Exception);
}

TEST_F(SimFiles, ColumnFilesNumberTheirEntries)
{
    const std::vector<double> first{0.5, 1234.56789, -2};
    const std::vector<double> second{2, 0, 0.125};
    const std::vector<int32_t> runs{3, -4, 0};
    TStringList labels;
    labels.SetCommaText("g1,g2,g3");

    EXPECT_TRUE(Tarvix->SaveNumberLineToFile(1, 0, first));
    EXPECT_EQ(Read("Sim1.txt"), "species size\r\n");
    EXPECT_TRUE(Tarvix->SaveNumberLineToFile(2, 2, first));
    EXPECT_EQ(Read("Sim2.txt"), "species size\r\nspecies1 0.50000\r\nspecies2 1234.56800\r\n");
    EXPECT_TRUE(Tarvix->SaveTwoColumnsToFile(3, 1, first, second, "x", "y"));
    EXPECT_EQ(Read("Sim3.txt"), "species x y\r\nspecies1 0.50000 2.00000\r\n");
    EXPECT_TRUE(Tarvix->SaveTwoColumnsToFile_Real_Integer(4, 3, first, runs, "value", "run"));
    EXPECT_EQ(Read("Sim4.txt"), "species value run\r\n"
                                "species1 0.50000 3\r\n"
                                "species2 1234.56800 -4\r\n"
                                "species3 -2.00000 0\r\n");
    EXPECT_TRUE(Tarvix->SaveTwoColumnsToFile_Labels(5, 2, second, labels, "group", "value"));
    EXPECT_EQ(Read("Sim5.txt"), "species group value\r\nspecies1 g1 2.00000\r\nspecies2 g2 0.00000\r\n");

    // More entries than values is a caller's fault, not a file to write.
    EXPECT_THROW(Tarvix->SaveNumberLineToFile(6, 4, first), ERangeError);
    EXPECT_THROW(Tarvix->SaveTwoColumnsToFile(6, 3, first, std::vector<double>{1}, "x", "y"), ERangeError);
    labels.Delete(2);
    EXPECT_THROW(Tarvix->SaveTwoColumnsToFile_Labels(6, 3, second, labels, "g", "v"), ERangeError);
    EXPECT_EQ(Read("Sim6.txt"), "<missing>");
}

TEST_F(SimFiles, GridSimulationIsTheSpaceDelimitedGrid)
{
    TStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.Rows(0)->SetCommaText("species,s1");
    grid.Rows(1)->SetCommaText("a,1");
    EXPECT_TRUE(Tarvix->SaveSimulation(9, 2, &grid));
    EXPECT_EQ(Read("Sim9_2.txt"), "species s1\r\na 1\r\n");
}

TEST_F(SimFiles, AFailedSaveIsReportedOnceAndStopsTheRun)
{
    TStringGrid grid(nullptr);
    const std::vector<double> v{1};
    struct Case
    {
        const char *Name;
        std::function<bool(int)> Save;
        const char *Message;
    };
    const Case cases[] = {
        {"grid", [&](int sim) { return Tarvix->SaveSimulation(sim, 0, &grid); }, "Error writing file."},
        {"columns", [&](int sim) { return Tarvix->SaveTwoColumnsToFile(sim, 1, v, v, "x", "y"); }, "Error writing file."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        TestResults->OnRun = [&] {
            TUiScript script;
            Block("Sim1.txt");
            EXPECT_FALSE(c.Save(1));
            EXPECT_TRUE(Tarvix->InterruptFlag);
            EXPECT_FALSE(c.Save(2));
            EXPECT_EQ(script.Messages(), QStringList{c.Message});
            EXPECT_EQ(Read("Sim2.txt"), "<missing>");
            ASSERT_TRUE(QDir(dir.path()).rmdir("Sim1.txt"));
        };
        Tarvix->N7GuildStructure1->Click();
        // The next Analyze command starts with saving allowed again.
        TestResults->OnRun = [&] { EXPECT_TRUE(c.Save(3)); };
        Tarvix->N7GuildStructure1->Click();
        EXPECT_NE(Read("Sim3.txt"), "<missing>");
        QFile::remove(Path("Sim3.txt"));
    }
}
