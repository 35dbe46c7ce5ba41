// Writing delimited text, and reading back what was written.
#include "CsvFixture.h"

TEST_F(CsvTest, WriterQuotesOnlyWhatNeedsIt)
{
    struct Case
    {
        const char *name;
        std::function<void(TCsvGrid &)> set;
        QByteArray file;
    };
    const Case cases[] = {
        {"defaults", [](TCsvGrid &) {}, "a,\"\",\"b,c\",\"say \"\"hi\"\"\"\r\n"},
        {"java", [](TCsvGrid &x) { x.SetJavaCSV(true); }, "a,^,\"b,c\",\"say \"\"hi\"\"\"\r\n"},
        {"no empty quotes", [](TCsvGrid &x) { x.SetQuoteEmptyCells(false); }, "a,,\"b,c\",\"say \"\"hi\"\"\"\r\n"},
        {"always", [](TCsvGrid &x) { x.SetAlwaysQuotes(true); },
         "\"a\",\"\",\"b,c\",\"say \"\"hi\"\"\"\r\n"},
        {"semicolon", [](TCsvGrid &x) { x.SetDelimiter(';'); }, "a;\"\";b,c;\"say \"\"hi\"\"\"\r\n"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        TCsvGrid x;
        x.SetRowCount(1);
        x.SetColCount(4);
        x.SetCells(0, 0, "a");
        x.SetCells(2, 0, "b,c");
        x.SetCells(3, 0, "say \"hi\"");
        k.set(x);
        x.SaveToCSV(Path(), false);
        EXPECT_EQ(ReadBytes(), k.file);
    }
}

TEST_F(CsvTest, LineBreaksInCellsStayOnOneLine)
{
    // whatever Multilinecells says, a raw line break would split the row in the file
    for (bool multi : {false, true}) {
        TCsvGrid x;
        x.SetMultilinecells(multi);
        x.SetRowCount(2);
        x.SetColCount(3);
        x.SetCells(0, 0, "one\r\ntwo");
        x.SetCells(1, 0, "lf\nonly");
        x.SetCells(2, 0, "q\"\rcr");
        x.SaveToCSV(Path(), false);
        EXPECT_EQ(ReadBytes(), QByteArray("\"one\x0Btwo\",\"lf\x0Conly\",\"q\"\"\x0E" "cr\"\r\n\"\",\"\",\"\"\r\n"));
    }
}

TEST_F(CsvTest, WrittenCellsReadBackUnchanged)
{
    const QStringList awkward = {
        "plain", "", "a,b", "say \"hi\"", "\"", "\"\"", "\"quoted\"", "a,\"b", "end\"", "  leading",
        "trailing  ", " ", "a b", QString::fromUtf8("café"), QString::fromUtf8("Ærø €5 “x”"), "two\r\nlines",
        "lf\nonly", "cr\ronly", "mix\r\n\n\r", "\r\n", "semi;colon", "tab\tbed", "'single'", ",", "^x",
        // the marks, their escape and the tilde form's own signs held as text
        "^", "~", "a~b", QString(QChar(11)), QStringLiteral("x\u000c\u000e\u0010y"), QStringLiteral("nul") + QChar(0) + "x",
    };
    struct Config
    {
        const char *name;
        QChar delim;
        bool always, multi, java;
        QStringList skip; // texts the configuration cannot carry
    };
    const Config configs[] = {
        {"comma", QChar(0), false, false, false, {}},
        {"space", ' ', false, false, false, {}},
        {"semicolon", ';', false, true, false, {}},
        {"always quotes", ',', true, false, false, {}},
        {"java", ',', false, false, true, {}},
    };
    for (const Config &k : configs) {
        SCOPED_TRACE(k.name);
        QStringList texts;
        for (const QString &t : awkward)
            if (!k.skip.contains(t))
                texts << t;
        TCsvGrid out;
        out.SetDelimiter(k.delim);
        out.SetAlwaysQuotes(k.always);
        out.SetMultilinecells(k.multi);
        out.SetJavaCSV(k.java);
        // each text in the middle of a row and at its end, in a row of its own
        out.SetColCount(3);
        out.SetRowCount(texts.size());
        for (int r = 0; r < texts.size(); ++r) {
            out.SetCells(0, r, "x");
            out.SetCells(1, r, texts[r]);
            out.SetCells(2, r, texts[r]);
        }
        out.SaveToCSV(Path(), false);

        TCsvGrid in;
        in.SetColCount(1);
        in.SetDelimiter(k.delim);
        in.SetJavaCSV(k.java);
        in.LoadFromCSV(Path(), -1);
        ASSERT_EQ(in.RowCount(), texts.size());
        EXPECT_EQ(in.ColCount(), 3);
        for (int r = 0; r < texts.size(); ++r) {
            EXPECT_EQ(in.Cells(1, r), texts[r]) << r;
            EXPECT_EQ(in.Cells(2, r), texts[r]) << r;
        }
    }
}

TEST_F(CsvTest, WriterEncodings)
{
    g.SetRowCount(1);
    g.SetColCount(2);
    g.SetCells(0, 0, QString::fromUtf8("é€"));
    g.SetCells(1, 0, QString::fromUtf8("Ω"));
    g.SaveToCSV(Path(), false);
    // Windows-1252 cannot hold the omega: the file is UTF-8, so nothing is lost.
    EXPECT_EQ(ReadBytes(), QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("é€,Ω\r\n").toUtf8());
    g.SetCells(1, 0, QString::fromUtf8("ø"));
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("\xE9\x80,\xF8\r\n"));
    g.SetCells(1, 0, QString::fromUtf8("Ω"));
    g.SaveToCSV(Path(), true);
    EXPECT_EQ(ReadBytes(), QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("é€,Ω\r\n").toUtf8());
}

TEST_F(CsvTest, AppendKeepsTheFileAndItsEncoding)
{
    g.SetRowCount(1);
    g.SetColCount(2);
    g.SetCells(0, 0, QString::fromUtf8("é"));
    g.SetCells(1, 0, "b");
    WriteBytes("old\nline");
    g.AppendToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("old\r\nline\r\n\xE9,b\r\n"));

    WriteBytes(QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("Ω\r\n").toUtf8());
    g.AppendToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("Ω\r\né,b\r\n").toUtf8());

    EXPECT_THROW(g.AppendToCSV(Path("none.csv"), false), EFOpenError);
}

TEST_F(CsvTest, SaveRangeHooksAndNotifications)
{
    g.SetRowCount(4);
    g.SetColCount(3);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.SetFixedFooters(1);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            g.SetCells(c, r, QString("%1%2").arg(c).arg(r));
    g.SetSaveFixedCells(false);
    g.OnSaveCell = [](TObject *, int c, int r, QString &v) {
        if (c == 2 && r == 2)
            v = "hooked";
    };
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("11,21\r\n12,hooked\r\n"));
    using P = std::pair<TGridExportState, int>;
    EXPECT_EQ(g.Exports, (std::vector<P>{{esExportStart, 1}, {esExportNextRow, 1}, {esExportNextRow, 2}, {esExportDone, -1}}));

    g.SetSaveFixedRows(true);
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("10,20\r\n11,21\r\n12,hooked\r\n13,23\r\n"));
}

TEST_F(CsvTest, SavedTextIsDisplayedOrStoredText)
{
    g.SetRowCount(1);
    g.SetColCount(1);
    g.SetCells(0, 0, "stored");
    g.OnGetDisplText = [](TObject *, int, int, QString &v) { v = "shown"; };
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("shown\r\n"));
    g.SetSaveVirtCells(false);
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("stored\r\n"));
}

TEST_F(CsvTest, WriteProgressSurvivesAOneRowGrid)
{
    std::vector<int> seen;
    g.OnFileProgress = [&](TObject *, int16_t p) { seen.push_back(p); };
    g.SetRowCount(1);
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(seen, std::vector<int>({100}));

    seen.clear();
    g.SetRowCount(5);
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(seen, std::vector<int>({25, 50, 75, 100}));
}

TEST_F(CsvTest, CreateErrorPropagates)
{
    EXPECT_THROW(g.SaveToCSV(Path("no/such/dir.csv"), false), EFCreateError);
}

TEST_F(CsvTest, EmptyCheckBoxCellsAreSavedAsTheirCheckTexts)
{
    g.SetRowCount(1);
    g.SetColCount(4);
    g.AddCheckBox(0, 0, cbChecked);
    // A plain two-state box beside the tri-state ones.
    g.GetCellGraphic(0, 0)->SetCheckBox(true, false, false, haLeft, vaTop);
    g.AddCheckBox(1, 0, cbUnchecked);
    g.AddCheckBox(2, 0, cbChecked);
    g.SetCells(2, 0, "kept");
    g.AddCheckBox(3, 0, cbGrayed);
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("Y,N,kept,N\r\n"));

    std::vector<std::pair<int, int>> asked;
    g.OnGetCheckTrue = [&](TObject *, int c, int r, QString &v) {
        asked.push_back({c, r});
        v = "X";
    };
    g.SaveToCSV(Path(), false);
    EXPECT_EQ(ReadBytes(), QByteArray("X,N,kept,N\r\n"));
    // Only the checked box asks for its text.
    ASSERT_FALSE(asked.empty());
    for (auto cell : asked)
        EXPECT_EQ(cell, (std::pair<int, int>{0, 0}));
}
