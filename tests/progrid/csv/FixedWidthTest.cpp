// Fixed-width text: widths on saving, start positions on loading.
#include "CsvFixture.h"

TEST_F(CsvTest, FixedWidthCutsPadsAndMeasuresMissingWidths)
{
    Fill({{"abcdef", "x", "two\r\nlines"}, {"ab", "longer", ""}});
    std::vector<int32_t> widths = {3};
    g.SaveToFixed(Path(), widths);
    // column 1 is 6 wide plus one; column 2 holds its line break as the mark of delimited text,
    // so the whole cell fits and reads back
    EXPECT_EQ(widths, std::vector<int32_t>({3, 7, 10}));
    EXPECT_EQ(ReadBytes(), QByteArray("abcx      two\x0Blines \r\nab longer ") + QByteArray(10, ' ') + "\r\n");
    EXPECT_EQ(g.Exports.front().first, esExportStart);
    EXPECT_EQ(g.Exports.back().first, esExportDone);
    std::vector<int32_t> starts = {1, 4, 11, 21};
    TCsvGrid back;
    back.SetFixedCols(0);
    back.LoadFromFixed(Path(), starts, true, -1);
    EXPECT_EQ(back.Cells(2, 0), "two\r\nlines");

    widths = {3, 7, 5};
    g.SaveToFixed(Path(), widths);
    EXPECT_EQ(ReadBytes(), QByteArray("abcx      two\x0Bl\r\nab longer ") + QByteArray(5, ' ') + "\r\n");
}

TEST_F(CsvTest, FixedWidthReadsColumnsBetweenSortedPositions)
{
    WriteBytes(QByteArray("ab  cd  ef\r\n12345678\r\nx\r\nlast line"));
    std::vector<int32_t> positions = {9, 1, 5};
    g.LoadFromFixed(Path(), positions, true, -1);
    EXPECT_EQ(positions, std::vector<int32_t>({1, 5, 9}));
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(Row(0), QStringList({"ab", "cd", ""}));
    EXPECT_EQ(Row(1), QStringList({"1234", "5678", ""}));
    EXPECT_EQ(Row(2), QStringList({"x", "", ""}));
    EXPECT_EQ(g.Cells(0, 3), "last");
    EXPECT_EQ(g.RowCount(), 10) << "rows are never removed";

    g.LoadFromFixed(Path(), positions, false, -1);
    EXPECT_EQ(g.Cells(0, 0), "ab  ");
}

TEST_F(CsvTest, FixedWidthRowLimitAndGrowth)
{
    WriteBytes(QByteArray("a\r\nb\r\nc\r\nd"));
    struct Case
    {
        int maxRows;
        int rowsRead;
    };
    for (const Case &k : {Case{0, 1}, Case{1, 1}, Case{2, 2}, Case{-1, 4}}) {
        TCsvGrid x;
        x.SetRowCount(2);
        std::vector<int32_t> positions = {1, 2};
        x.LoadFromFixed(Path(), positions, false, k.maxRows);
        EXPECT_EQ(x.RowCount(), std::max(2, k.rowsRead)) << k.maxRows;
        EXPECT_EQ(x.Cells(0, k.rowsRead - 1), QString(QChar('a' + k.rowsRead - 1)));
        if (k.rowsRead < 4) {
            EXPECT_EQ(x.Cells(0, k.rowsRead), "");
        }
    }
}

TEST_F(CsvTest, FixedWidthFileErrors)
{
    std::vector<int32_t> positions = {1, 2};
    try {
        g.LoadFromFixed(Path("none.txt"), positions, false, -1);
        ADD_FAILURE();
    } catch (const EProGridError &e) {
        EXPECT_EQ(e.Message(), "File " + Path("none.txt") + " not found");
    }
    try {
        g.SaveToFixed(Path("no/dir.txt"), positions);
        ADD_FAILURE();
    } catch (const EProGridError &e) {
        EXPECT_EQ(e.Message(), "Cannot Create file " + Path("no/dir.txt"));
    }
}
