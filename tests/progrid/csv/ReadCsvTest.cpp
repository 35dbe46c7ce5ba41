// Reading delimited text into the grid.
#include "CsvFixture.h"
#include "framework/rtl/Streams.h"

TEST_F(CsvTest, DetectsTheDelimiterPerLoadAndForgetsIt)
{
    struct Case
    {
        const char *text;
        std::vector<QStringList> rows;
    };
    const Case cases[] = {
        {"1,2,3\r\n4,5,6", {{"1", "2", "3"}, {"4", "5", "6"}}},
        {"a;b;c", {{"a", "b", "c"}}},
        // one comma and one semicolon: the earlier candidate wins
        {"a,b;c", {{"a", "b;c"}}},
        {"x|y\r\np|q", {{"x", "y"}, {"p", "q"}}},
        {"a\tb\tc\r\nd\te\tf", {{"a", "b", "c"}, {"d", "e", "f"}}},
        // no candidate at all: each line lands whole in the start column, outer quotes dropped
        {"ab cd\r\n\"ef gh\"", {{"ab cd"}, {"ef gh"}}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.text);
        TCsvGrid fresh;
        fresh.SetColCount(1);
        const QString f = WriteBytes(k.text);
        fresh.LoadFromCSV(f, -1);
        EXPECT_EQ(fresh.Delimiter(), QChar(0));
        ASSERT_EQ(fresh.RowCount(), int(k.rows.size()));
        ASSERT_EQ(fresh.ColCount(), k.rows[0].size());
        for (int r = 0; r < int(k.rows.size()); ++r)
            for (int c = 0; c < k.rows[r].size(); ++c)
                EXPECT_EQ(fresh.Cells(c, r), k.rows[r][c]) << c << "," << r;
    }
}

TEST_F(CsvTest, FieldsSplitAtEveryDelimiterAndQuotesProtectText)
{
    struct Case
    {
        QChar delim;
        const char *line;
        QStringList cells;
    };
    const Case cases[] = {
        {' ', "a  b", {"a", "", "b"}},
        {' ', " a b", {"", "a", "b"}},
        {' ', "a b ", {"a", "b"}},
        {',', "\"a,b\",c", {"a,b", "c"}},
        {',', "\"x\"\"y\",z", {"x\"y", "z"}},
        {',', "\"\",c", {"", "c"}},
        {',', "a,\"b,c\"", {"a", "b,c"}},
        {',', "a,\"q\"\"\"", {"a", "q\""}},
        // unclosed quote: empty field up to the next delimiter, or the rest as the last field
        {',', "\"ab,c", {"", "c"}},
        {',', "a,\"bc", {"a", "bc"}},
        {',', "a,^", {"a", "^"}},
        {';', "1;2,5;3", {"1", "2,5", "3"}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.line);
        g.SetColCount(1);
        g.SetDelimiter(k.delim);
        Load(k.line);
        EXPECT_EQ(g.Delimiter(), k.delim);
        EXPECT_EQ(Row(0), k.cells);
    }
}

TEST_F(CsvTest, MarksInFieldsBecomeLineBreaks)
{
    g.SetColCount(1);
    g.SetDelimiter(',');
    Load(QString("\"a") + QChar(11) + "b\",\"c" + QChar(12) + "d" + QChar(14) + "e\"");
    EXPECT_EQ(Row(0), QStringList({"a\r\nb", "c\nd\re"}));

    g.SetJavaCSV(true);
    Load("a~b,^,x");
    EXPECT_EQ(Row(0), QStringList({"a\r\nb", "", "x"}));
}

TEST_F(CsvTest, EveryKindOfLineEndSplitsRows)
{
    const char *texts[] = {"a,b\r\nc,d\r\n\r\ne,f\r\n", "a,b\nc,d\n\ne,f\n", "a,b\rc,d\r\re,f", "a,b\r\nc,d\n\re,f"};
    for (const char *t : texts) {
        SCOPED_TRACE(QString(t).replace('\r', "<CR>").replace('\n', "<LF>").toStdString());
        g.SetColCount(1);
        Load(t);
        ASSERT_EQ(g.RowCount(), 4);
        EXPECT_EQ(Row(0), QStringList({"a", "b"}));
        EXPECT_EQ(Row(1), QStringList({"c", "d"}));
        EXPECT_EQ(Row(2), QStringList({"", ""}));
        EXPECT_EQ(Row(3), QStringList({"e", "f"}));
    }
}

TEST_F(CsvTest, EmptyFileRaisesAndLeavesTheGridAlone)
{
    g.SetCells(1, 1, "kept");
    for (const QByteArray &bytes : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        const QString f = WriteBytes(bytes);
        try {
            g.LoadFromCSV(f, -1);
            ADD_FAILURE() << "no exception";
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), "File is empty");
        }
        EXPECT_EQ(g.RowCount(), 10);
        EXPECT_EQ(g.Cells(1, 1), "kept");
    }
    g.LoadFromCSV(WriteBytes("\r\n"), -1);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Cells(1, 0), "");
}

TEST_F(CsvTest, GridEndsAfterTheLastLineAndColumnsOnlyGrow)
{
    g.SetCells(4, 8, "old");
    Load("1,2,3\r\n4,5\r\n6");
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.FMaxRowCount, 3);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(Row(1), QStringList({"4", "5", "", "", ""}));

    // cells beyond the file keep their text: the reader only writes
    g.SetCells(2, 1, "left");
    g.LoadFromCSV(WriteBytes("a,b,c,d,e,f,g\r\nx"), -1);
    EXPECT_EQ(g.ColCount(), 7);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(6, 0), "g");
    EXPECT_EQ(g.Cells(2, 1), "left");

    g.SetFixedFooters(1);
    g.LoadFromCSV(WriteBytes("1\r\n2\r\n3\r\n"), -1);
    EXPECT_EQ(g.RowCount(), 4);
}

TEST_F(CsvTest, FirstRowSkipAndRowLimit)
{
    struct Case
    {
        bool firstRow;
        int maxRows;
        QStringList col0;
    };
    const Case cases[] = {
        {true, -1, {"1", "2", "3", "4"}}, {true, 0, {"1", "2", "3", "4"}}, {true, 2, {"1", "2"}},
        {false, -1, {"2", "3", "4"}},     {false, 1, {"2"}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.maxRows);
        g.SetLoadFirstRow(k.firstRow);
        Load("1,a\r\n2,b\r\n3,c\r\n4,d", k.maxRows);
        QStringList col0;
        for (int r = 0; r < g.RowCount(); ++r)
            col0 << g.Cells(0, r);
        EXPECT_EQ(col0, k.col0);
    }
}

TEST_F(CsvTest, StartCellFollowsTheSaveRange)
{
    g.SetSaveFixedCells(false);
    g.SetCells(0, 0, "corner");
    Load("a,b\r\nc,d");
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(Row(0), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(g.Cells(1, 1), "a");
    EXPECT_EQ(g.Cells(2, 2), "d");
}

TEST_F(CsvTest, InsertAppendsBelowTheExistingRows)
{
    g.SetRowCount(5);
    g.SetCells(0, 4, "last");
    g.InsertFromCSV(WriteBytes("x,y\r\nz"), -1);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.Cells(0, 4), "last");
    EXPECT_EQ(g.Cells(1, 5), "y");
    EXPECT_EQ(g.Cells(0, 6), "z");
}

TEST_F(CsvTest, EncodingsAndTheEndOfText)
{
    struct Case
    {
        QByteArray bytes;
        QStringList cells;
    };
    const QString text = QString::fromUtf8("é,€,Ω");
    QByteArray le("\xFF\xFE"), be("\xFE\xFF");
    for (QChar ch : text) {
        le.append(char(ch.unicode() & 0xFF)).append(char(ch.unicode() >> 8));
        be.append(char(ch.unicode() >> 8)).append(char(ch.unicode() & 0xFF));
    }
    const Case cases[] = {
        {QByteArray("\xE9,\x80,x"), {QString::fromUtf8("é"), QString::fromUtf8("€"), "x"}},
        {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), text.split(',')},
        {le, text.split(',')},
        {be, text.split(',')},
        {text.toUtf8(), text.split(',')}, // valid UTF-8 without a mark is UTF-8
        {QByteArray("a,b,c\r\nc,d\0e,f\r\ng,h", 19), {"a", "b", "c"}},
    };
    for (const Case &k : cases) {
        g.SetColCount(1);
        g.Clear();
        g.LoadFromCSV(WriteBytes(k.bytes), -1);
        EXPECT_EQ(Row(0), k.cells);
    }
    EXPECT_EQ(g.RowCount(), 3) << "a NUL is a character of its cell";
    EXPECT_EQ(Row(1), QStringList({"c", QStringLiteral("d") + QChar(0) + QStringLiteral("e"), "f"}));
}

TEST_F(CsvTest, OemTextIsConvertedOnBothSides)
{
    g.SetOemConvert(true);
    // 0x82 is e acute in the OEM code page
    g.LoadFromCSV(WriteBytes("caf\x82,x"), -1);
    EXPECT_EQ(g.Cells(0, 0), QString::fromUtf8("café"));
    g.SaveToCSV(Path("o.csv"), false);
    EXPECT_TRUE(ReadBytes("o.csv").startsWith("caf\x82,x"));
}

TEST_F(CsvTest, StreamIsReadFromItsPosition)
{
    TMemoryStream s;
    const QByteArray bytes("skip|a,b\r\nc,d");
    s.WriteBuffer(bytes.constData(), bytes.size());
    s.SetPosition(5);
    g.LoadFromCSVStream(&s, -1);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(0, 0), "a");
    EXPECT_EQ(g.Cells(1, 1), "d");
}

TEST_F(CsvTest, LoadCellHookChangesValuesAndOneChangeReportCoversTheGrid)
{
    g.OnLoadCell = [](TObject *, int c, int r, QString &v) { v = v + QString("@%1%2").arg(c).arg(r); };
    std::vector<TRect> changes;
    g.OnCellsChanged = [&](TObject *, const TRect &R) { changes.push_back(R); };
    Load("a,b\r\nc");
    EXPECT_EQ(g.Cells(1, 0), "b@10");
    EXPECT_EQ(g.Cells(0, 1), "c@01");
    ASSERT_EQ(changes.size(), 2u) << "Clear, then the load";
    EXPECT_EQ(changes.back(), TRect(0, 0, g.ColCount(), g.RowCount()));
}

TEST_F(CsvTest, ReadProgressCountsLinesAndSizesTheGridOnce)
{
    std::vector<int> seen;
    std::vector<int> rowCounts;
    g.OnFileProgress = [&](TObject *, int16_t p) {
        seen.push_back(p);
        rowCounts.push_back(g.RowCount());
    };
    Load("1\r\n2\r\n3\r\n4");
    EXPECT_EQ(seen, std::vector<int>({25, 50, 75, 100}));
    EXPECT_EQ(rowCounts, std::vector<int>({4, 4, 4, 4}));

    // one line and the first skipped: nothing to count, nothing fired
    seen.clear();
    g.SetLoadFirstRow(false);
    Load("only");
    EXPECT_TRUE(seen.empty());
}

TEST_F(CsvTest, MissingFileRaisesTheOpenError)
{
    EXPECT_THROW(g.LoadFromCSV(Path("none.csv"), -1), EFOpenError);
}

// A line far wider than the grid: every field lands in its column, the columns grow to the
// widest line, and narrower lines after it leave the rest of their row empty.
TEST_F(CsvTest, VeryWideLineLoadsWhole)
{
    constexpr int kFields = 100000;
    QString wide;
    for (int i = 0; i < kFields; ++i) {
        if (i > 0)
            wide += ',';
        wide += i == 5000 ? QStringLiteral("\"x,y\"") : QString::number(i);
    }
    g.SetCells(kFields + 3, 1, "beyond");
    Load("a,b\r\n" + wide + "\r\nc");
    EXPECT_EQ(g.ColCount(), kFields);
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cells(0, 1), "0");
    EXPECT_EQ(g.Cells(4999, 1), "4999");
    EXPECT_EQ(g.Cells(5000, 1), "x,y");
    EXPECT_EQ(g.Cells(kFields - 1, 1), QString::number(kFields - 1));
    EXPECT_EQ(g.Cells(kFields + 3, 1), "beyond");
    EXPECT_EQ(g.Cells(2, 0), "");
    EXPECT_EQ(g.Cells(1, 2), "");
    EXPECT_EQ(g.StoredCellCount(), size_t(2 + kFields + 1 + 1));
}

// With hidden columns written and counted, the fields go to real columns and the shown column
// count grows only to the line's width less the hidden columns.
TEST_F(CsvTest, HiddenColumnsCountTowardsTheLoadedWidth)
{
    g.SetColCount(4);
    g.HideColumn(1);
    ASSERT_EQ(g.ColCount(), 3);
    g.SetSaveHiddenCells(true);
    g.LoadFromCSV(WriteBytes("a,b,c,d,e,f\r\n1,2"), -1);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.NumHiddenColumns(), 1);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(g.GetGridCell(c, 0), QString(QChar('a' + c))) << c;
    EXPECT_EQ(g.GetGridCell(1, 1), "2");
}
