// Matrix text files through the main window: the writers, the batch reader and the File menu.
#include "framework/controls/UiSeam.h"
#include "framework/rtl/CodePage.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

class MatrixFiles : public MainWindowFixture
{
protected:
    // The grid's cells, rows joined by "/" and cells by "|".
    static QString Shape(TStringGrid *g)
    {
        QStringList rows;
        for (int r = 0; r < g->RowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->ColCount(); ++c)
                cells << g->Cells(c, r);
            rows << cells.join('|');
        }
        return rows.join('/');
    }

    void SetMatrix(const std::vector<QStringList> &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        g->SetRowCount(static_cast<int>(Rows.size()));
        g->SetColCount(static_cast<int>(Rows[0].size()));
        for (size_t r = 0; r < Rows.size(); ++r)
            for (int c = 0; c < Rows[r].size(); ++c)
                g->SetCells(c, static_cast<int>(r), Rows[r][c]);
    }
};

}  // namespace

TEST_F(MatrixFiles, WritersPutOneSeparatorBetweenCellsAndEndEveryLine)
{
    TStringGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.Rows(0)->SetCommaText("species,s1,s2");
    grid.SetCells(0, 1, "a");
    grid.SetCells(1, 1, "1");
    TUiScript script;
    Tarvix->SaveGridToFile(&grid, "space.txt");
    Tarvix->SaveGridToFileComma(&grid, Path("comma.txt"));
    // An empty last cell is written as "" so that the line keeps its width for every reader.
    EXPECT_EQ(Read("space.txt"), "species s1 s2\r\na 1 \"\"\r\n");
    EXPECT_EQ(Read("comma.txt"), "species,s1,s2\r\na,1,\"\"\r\n");

    TStringGrid one(nullptr);
    one.SetColCount(1);
    one.SetRowCount(1);
    one.SetCells(0, 0, QString::fromUtf8("caf\u00e9"));
    Tarvix->SaveGridToFile(&one, "one.txt");
    EXPECT_EQ(Read("one.txt"), "caf\xe9\r\n");
    EXPECT_TRUE(script.Messages().isEmpty());
}

// A file that is valid UTF-8 is read as UTF-8, any other as Windows-1252, by File > Open, the
// batch reader and the weights reader; the writers keep every name.
TEST_F(MatrixFiles, Utf8AndWindows1252NamesReadAndWriteBack)
{
    const QString espanola = QString::fromUtf8("Espa\u00f1ola"), cristobal = QString::fromUtf8("San_Crist\u00f3bal");
    const QString lodz = QString::fromUtf8("\u0141\u00f3d\u017a");
    const QByteArray utf8 = QString("species " + espanola + " " + cristobal + "\r\nx 1 0\r\n").toUtf8();
    const QByteArray ansi = StringToAnsi("species " + espanola + " " + cristobal + "\r\nx 1 0\r\n");
    const QStringList titles{"species", espanola, cristobal};
    for (const QByteArray &bytes : {utf8, ansi}) {
        Write("in.txt", bytes);
        TUiScript script;
        script.FileNameNext(Path("in.txt"));
        Tarvix->Spacedelimitedtext1Click(nullptr);
        EXPECT_EQ(Shape(Tarvix->MainGrid), titles.join('|') + "/x|1|0");
        Tarvix->FileName = Path("in.txt");
        Tarvix->OpenBatchFile();
        EXPECT_EQ(Shape(Tarvix->MainGrid), titles.join('|') + "/x|1|0");
        TStringGrid weights(nullptr);
        ReadWeightsTable(bytes, &weights);
        EXPECT_EQ(weights.Cells(1, 0), espanola);
    }
    // Names that fit Windows-1252 are written in it; one that does not makes the file UTF-8.
    TStringGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.Rows(0)->SetCommaText("species," + espanola);
    g.SetCells(0, 1, "x");
    g.SetCells(1, 1, "1");
    Tarvix->SaveGridToFile(&g, "ansi.txt");
    EXPECT_EQ(Read("ansi.txt"), "species Espa\xf1ola\r\nx 1\r\n");
    g.SetCells(0, 1, lodz);
    Tarvix->SaveGridToFile(&g, "utf8.txt");
    EXPECT_EQ(Read("utf8.txt"), QByteArray("\xEF\xBB\xBF") + QString("species " + espanola + "\r\n" + lodz + " 1\r\n").toUtf8());
    Tarvix->FileName = Path("utf8.txt");
    Tarvix->OpenBatchFile();
    EXPECT_EQ(Shape(Tarvix->MainGrid), "species|" + espanola + "/" + lodz + "|1");
}

TEST_F(MatrixFiles, FailedWriteShowsOneMessageAndKeepsTheOldFile)
{
    TUiScript script;
    Tarvix->SaveGridToFile(Tarvix->MainGrid, Path("no/such/folder/x.txt"));
    EXPECT_EQ(script.Messages(), QStringList{"Error writing file."});

    // A file size limit makes the write fail part way.
    Write("old.txt", "old\r\n");
    TStringGrid big(nullptr);
    big.SetColCount(50);
    big.SetRowCount(50);
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 50; ++c)
            big.SetCells(c, r, "12345");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Tarvix->SaveGridToFileComma(&big, "old.txt");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(script.Messages(), QStringList({"Error writing file.", "Error writing file."}));
    EXPECT_EQ(Read("old.txt"), "old\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.txt"});
}

TEST_F(MatrixFiles, BatchReaderBuildsTheGridFromTheFile)
{
    struct Case
    {
        QByteArray text;
        QString shape;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {"a b c\r\nd,e f\r\n", "a|b|c/d|e|f", {}},
        {"a b\nc d\n", "a|b/c|d", {}},          // LF line ends
        {"a b\rc d\r", "a|b/c|d", {}},          // CR line ends
        {"a b\r\nc d", "a|b/c|d", {}},          // the last line without a line end
        // A trailing separator is an empty cell, which makes the next row short.
        {"a b \r\nc d\r\n", "a|b|/c|d|", {"Row c has 1 of 2 values."}},
        {"a b\r\nc d e f\r\n", "a|b||/c|d|e|f", {}},
        {"x\ty \xe9\r\n1 2\r\n", QString::fromUtf8("x\ty|\u00e9/1|2"), {}},
    };
    for (const auto &c : cases) {
        Tarvix->FileName = Write("batch.txt", c.text);
        Tarvix->Flag = false;
        TUiScript script;
        Tarvix->OpenBatchFile();
        EXPECT_EQ(Shape(Tarvix->MainGrid), c.shape) << c.text.toStdString();
        EXPECT_TRUE(Tarvix->Flag);
        EXPECT_EQ(script.Messages(), c.messages) << c.text.toStdString();
        EXPECT_EQ(Tarvix->MainGrid->FixedRows(), 1);
        EXPECT_EQ(Tarvix->MainGrid->FixedCols(), 1);
        EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional " + Tarvix->FileName);
    }
}

// A row shorter than the title row still loads (its missing cells empty), but the open names it:
// the first such row with its count of values, and how many rows are short when there are more.
TEST_F(MatrixFiles, ShortRowsAreNamedOnOpen)
{
    struct Case
    {
        bool comma;
        QByteArray text;
        QString shape;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {false, "species s1 s2 s3\r\nA 1 0 1\r\nB 1 1\r\n", "species|s1|s2|s3/A|1|0|1/B|1|1|",
         {"Row B has 2 of 3 values."}},
        {false, "species s1 s2 s3\r\nA 1 0 1\r\nB 1 0 1\r\n", "species|s1|s2|s3/A|1|0|1/B|1|0|1", {}},
        {true, "species,s1,s2\r\nA,1\r\nB\r\nC,1,0\r\n", "species|s1|s2/A|1|/B||/C|1|0",
         {"Row A has 1 of 2 values. 2 rows have fewer values than the title row."}},
        // A longer row is not short; an empty line is a row of no values.
        {true, "species,s1\r\nA,1,0\r\n\r\nB,1\r\n", "species|s1|/A|1|0/||/B|1|", {"Row  has 0 of 1 values."}},
    };
    for (const auto &c : cases) {
        const QString file = Write("short.txt", c.text);
        {
            TUiScript script;
            script.FileNameNext(file);
            if (c.comma)
                Tarvix->Commadelimitedtxt1Click(nullptr);
            else
                Tarvix->Spacedelimitedtext1Click(nullptr);
            EXPECT_EQ(Shape(Tarvix->MainGrid), c.shape) << c.text.toStdString();
            EXPECT_EQ(script.Messages(), c.messages) << c.text.toStdString();
            EXPECT_EQ(Tarvix->FileName, file);
        }
        // The batch reader takes spaces and commas alike.
        Tarvix->FileName = file;
        TUiScript script;
        Tarvix->OpenBatchFile();
        EXPECT_EQ(Shape(Tarvix->MainGrid), c.shape) << c.text.toStdString();
        EXPECT_EQ(script.Messages(), c.messages) << c.text.toStdString();
    }
    // The space open counts cells as the grid's reader cuts them: a quoted name is one cell.
    TUiScript script;
    script.FileNameNext(Write("quoted.txt", "species s1 s2\r\n\"Quercus robur\" 1 0\r\nB 1\r\n"));
    Tarvix->Spacedelimitedtext1Click(nullptr);
    EXPECT_EQ(Shape(Tarvix->MainGrid), "species|s1|s2/Quercus robur|1|0/B|1|");
    EXPECT_EQ(script.Messages(), QStringList{"Row B has 1 of 2 values."});
}

// A UTF-32 file opens as its text, not as cells full of NULs.
TEST_F(MatrixFiles, Utf32FileOpensAsItsText)
{
    const QString file = QStringLiteral(TARVIX_TEST_DATA "/matrix/utf32le-bom.txt");
    const QString shape = "sp|site1|site2|site3/A|1|0|1/B|0|1|1/C|1|1|0";
    {
        TUiScript script;
        script.FileNameNext(file);
        Tarvix->Spacedelimitedtext1Click(nullptr);
        EXPECT_EQ(Shape(Tarvix->MainGrid), shape);
        EXPECT_TRUE(script.Messages().isEmpty());
    }
    Tarvix->FileName = file;
    TUiScript script;
    Tarvix->OpenBatchFile();
    EXPECT_EQ(Shape(Tarvix->MainGrid), shape);
    EXPECT_TRUE(script.Messages().isEmpty());
}

TEST_F(MatrixFiles, BatchReaderLeavesNothingOfThePreviousMatrix)
{
    // Lowered counts keep the cells beyond them; none of them may come back.
    SetMatrix({{"species", "s1", "s2", "s3"}, {"a", "1", "2", "3"}, {"b", "4", "5", "6"}});
    Tarvix->MainGrid->SetColCount(2);
    Tarvix->MainGrid->SetRowCount(2);
    Tarvix->FileName = Write("small.txt", "p q\r\nr s\r\n");
    Tarvix->OpenBatchFile();
    EXPECT_EQ(Shape(Tarvix->MainGrid), "p|q/r|s");
    EXPECT_EQ(Tarvix->MainGrid->StoredCellCount(), 4u);
    Tarvix->MainGrid->SetColCount(4);
    Tarvix->MainGrid->SetRowCount(3);
    EXPECT_EQ(Shape(Tarvix->MainGrid), "p|q||/r|s||/|||");
}

TEST_F(MatrixFiles, BatchReaderFailures)
{
    const QString before = Shape(Tarvix->MainGrid);
    Tarvix->FileName = Path("missing.txt");
    Tarvix->Flag = true;
    {
        TUiScript script;
        Tarvix->OpenBatchFile();
        EXPECT_EQ(script.Messages(), QStringList{Path("missing.txt") + ": Error opening file."});
        EXPECT_FALSE(Tarvix->Flag);
        EXPECT_EQ(Shape(Tarvix->MainGrid), before);
    }
    // One line still counts as read: the analysis' own checks reject it.
    Tarvix->FileName = Write("one.txt", "a b c\r\n");
    {
        TUiScript script;
        Tarvix->OpenBatchFile();
        EXPECT_EQ(script.Messages(), QStringList{"Row and Column counts incorrect."});
        EXPECT_TRUE(Tarvix->Flag);
        EXPECT_EQ(Shape(Tarvix->MainGrid), "a|b|c");
    }
    Tarvix->FileName = Write("empty.txt", "");
    TUiScript script;
    Tarvix->OpenBatchFile();
    EXPECT_EQ(script.Messages(), QStringList{"Row and Column counts incorrect."});
    EXPECT_FALSE(Tarvix->Flag);
}

TEST_F(MatrixFiles, OpenCommandsLoadTheFileAsItIs)
{
    const QString spaced = Write("narrow.txt", "species s1\r\na 1\r\nb 0\r\n");
    const QString commas = Write("commas.txt", "species,s1,s2\r\na,1,0\r\n");
    {
        TUiScript script;
        script.FileNameNext(spaced);
        Tarvix->Spacedelimitedtext1->Click();
        ASSERT_EQ(script.RecordsOf(TUiKind::OpenFile).size(), 1u);
        EXPECT_EQ(script.RecordsOf(TUiKind::OpenFile)[0].Text, "Select an ASCII file to open.");
        EXPECT_TRUE(script.Messages().isEmpty());
    }
    // The default matrix was wider: none of its columns stay behind.
    EXPECT_EQ(Shape(Tarvix->MainGrid), "species|s1/a|1/b|0");
    EXPECT_EQ(Tarvix->FileName, spaced);
    EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional: " + spaced);
    EXPECT_EQ(Tarvix->MainGrid->FixedRows(), 1);
    EXPECT_EQ(Tarvix->MainGrid->FixedCols(), 1);

    {
        TUiScript script;
        script.FileNameNext(commas);
        Tarvix->Commadelimitedtxt1->Click();
    }
    EXPECT_EQ(Shape(Tarvix->MainGrid), "species|s1|s2/a|1|0");

    // Cancel changes nothing.
    {
        TUiScript script;
        script.CancelNext();
        Tarvix->Spacedelimitedtext1->Click();
    }
    EXPECT_EQ(Shape(Tarvix->MainGrid), "species|s1|s2/a|1|0");
    EXPECT_EQ(Tarvix->FileName, commas);

    // A file refused for its counts or by the reader leaves the matrix that was there: cells
    // (an unsaved edit and a cell kept beyond the counts included), counts, locks, file name and
    // caption.
    const struct
    {
        const char *Name;
        QByteArray Text;
        const char *Message;
    } refused[] = {
        {"single.txt", "a\r\nb\r\nc\r\n", "Row and Column counts incorrect."},
        {"oneline.txt", "a b c\r\n", "Row and Column counts incorrect."},
        {"empty.txt", "", "File is empty"},
    };
    for (const auto &k : refused) {
        {
            TUiScript script;
            script.FileNameNext(commas);
            Tarvix->Commadelimitedtxt1->Click();
        }
        TProStringGrid *g = Tarvix->MainGrid;
        g->SetColCount(4);
        g->SetCells(3, 1, "kept");
        g->SetColCount(3);
        g->SetCells(2, 1, "edited");
        g->SetFixedCols(0);
        g->SetColWidths(1, 99);
        const QString caption = Tarvix->Caption();
        TUiScript script;
        script.FileNameNext(Write(k.Name, k.Text));
        Tarvix->Spacedelimitedtext1->Click();
        EXPECT_EQ(script.Messages(), QStringList{k.Message}) << k.Name;
        EXPECT_EQ(Shape(g), "species|s1|s2/a|1|edited") << k.Name;
        EXPECT_EQ(g->FixedCols(), 0) << k.Name;
        EXPECT_EQ(g->FixedRows(), 1) << k.Name;
        EXPECT_EQ(g->ColWidths(1), 99) << k.Name;
        EXPECT_EQ(Tarvix->FileName, commas) << k.Name;
        EXPECT_EQ(Tarvix->Caption(), caption) << k.Name;
        g->SetColCount(4);
        EXPECT_EQ(g->Cells(3, 1), "kept") << k.Name;
    }
}

TEST_F(MatrixFiles, SaveCommandsAskForANameOnlyWhenNeeded)
{
    SetMatrix({{"species", "s1"}, {"a", "1"}});
    // A new matrix: the direct save asks, proposing "data".
    {
        TUiScript script;
        script.CancelNext();
        Tarvix->Spacedelimitedtxt1->Click();
        ASSERT_EQ(script.RecordsOf(TUiKind::SaveFile).size(), 1u);
        EXPECT_EQ(script.RecordsOf(TUiKind::SaveFile)[0].Text, "Select a file name.");
        EXPECT_EQ(Tarvix->SaveDialog1->FileName(), "data");
        EXPECT_EQ(Tarvix->SaveDialog1->DefaultExt(), "txt");
        EXPECT_EQ(Tarvix->SaveDialog1->Filter(), "Text files(*.txt)|*.txt|All files(*.*)|*.*");
        EXPECT_EQ(Tarvix->FileName, Path("Untitled.txt"));
        EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional " + Path("Untitled.txt"));
    }
    {
        TUiScript script;
        script.FileNameNext(Path("mine"));
        Tarvix->Space1->Click();
    }
    EXPECT_EQ(Tarvix->FileName, Path("mine.txt"));
    EXPECT_EQ(Read("mine.txt"), "species s1\r\na 1\r\n");
    EXPECT_EQ(Tarvix->Caption(), "Tarvix Professional " + Path("mine.txt"));

    // Named now: saved again without a dialog.
    Tarvix->MainGrid->SetCells(1, 1, "0");
    {
        TUiScript script;
        Tarvix->Spacedelimitedtxt1->Click();
        EXPECT_TRUE(script.RecordsOf(TUiKind::SaveFile).empty());
    }
    EXPECT_EQ(Read("mine.txt"), "species s1\r\na 0\r\n");

    // The comma save always asks.
    TUiScript script;
    script.FileNameNext(Path("c.txt"));
    Tarvix->Commadelimitedtxt3->Click();
    EXPECT_EQ(script.RecordsOf(TUiKind::SaveFile).size(), 1u);
    EXPECT_EQ(Read("c.txt"), "species,s1\r\na,0\r\n");
    EXPECT_EQ(Tarvix->FileName, Path("c.txt"));
}
