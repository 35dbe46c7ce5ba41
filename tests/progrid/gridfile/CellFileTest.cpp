// The grid's own cell file in file and stream form, the ASCII table and cells read as numbers.
#include "tests/progrid/csv/CsvFixture.h"
#include "tests/progrid/grid/GridFixture.h"
#include "framework/rtl/Streams.h"

namespace
{
QByteArray Utf16(const QString &s)
{
    QByteArray b;
    for (QChar c : s) {
        b += char(c.unicode() & 0xFF);
        b += char(c.unicode() >> 8);
    }
    return b;
}
} // namespace

TEST_F(CsvTest, CellFileRoundTripsTwoLineCells)
{
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetColWidths(0, 40);
    g.SetColWidths(2, 77);
    g.SetCells(1, 1, "first\r\nsecond");
    g.SetCells(2, 0, "x");
    g.SaveToFile(Path("c.txt"), false);
    EXPECT_EQ(ReadBytes("c.txt"), QByteArray("3,2\r\ncw 0,40\r\ncw 1,64\r\ncw 2,77\r\n2,0,x\r\n1,1,first\x09\x08"
                                                 "second\r\n"));
    ASSERT_EQ(g.Exports.front(), std::make_pair(esExportStart, 0));
    EXPECT_EQ(g.Exports.back(), std::make_pair(esExportDone, -1));

    struct Case
    {
        bool multi;
        QString cell;
    };
    for (const Case &k : {Case{false, "first"}, Case{true, "first\r\nsecond"}}) {
        TCsvGrid back;
        back.SetMultilinecells(k.multi);
        back.LoadFromFile(Path("c.txt"));
        EXPECT_EQ(back.ColCount(), 3);
        EXPECT_EQ(back.RowCount(), 2);
        EXPECT_EQ(back.ColWidths(2), 77);
        EXPECT_EQ(back.Cells(1, 1), k.cell);
        EXPECT_EQ(back.Cells(2, 0), "x");
    }

    // UTF-16 with a byte-order mark reads back the same
    g.SetCells(0, 1, QString::fromUtf8("\xce\xb1\xce\xb2"));
    g.SaveToFile(Path("u.txt"), true);
    EXPECT_TRUE(ReadBytes("u.txt").startsWith("\xff\xfe"));
    TCsvGrid back;
    back.LoadFromFile(Path("u.txt"));
    EXPECT_EQ(back.Cells(0, 1), QString::fromUtf8("\xce\xb1\xce\xb2"));
}

TEST_F(CsvTest, CellFileFixedCellsOffsetsAndSkipsOutsideCells)
{
    // without saved fixed cells the header counts normal cells only; indexes stay absolute
    g.SetSaveFixedCells(false);
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetCells(2, 2, "z");
    g.SaveToFile(Path("c.txt"), false);
    EXPECT_TRUE(ReadBytes("c.txt").startsWith("2,2\r\ncw 1,"));
    EXPECT_TRUE(ReadBytes("c.txt").endsWith("\r\n2,2,z\r\n"));
    TCsvGrid back;
    back.SetSaveFixedCells(false);
    back.LoadFromFile(Path("c.txt"));
    EXPECT_EQ(back.ColCount(), 3);
    EXPECT_EQ(back.RowCount(), 3);
    EXPECT_EQ(back.Cells(2, 2), "z");

    WriteBytes("2,2\r\ncw 0,30\r\ncw 9,50\r\n0,0,a\r\n5,0,out\r\n1,7,out\r\nbad line\r\n1,1,b", "o.txt");
    int progressCalls = 0;
    TCsvGrid o;
    o.OnFileProgress = [&](TObject *, int16_t) { ++progressCalls; };
    o.LoadFromFile(Path("o.txt"));
    EXPECT_EQ(o.Cells(0, 0), "a");
    EXPECT_EQ(o.Cells(1, 1), "b");
    EXPECT_EQ(o.ColWidths(0), 30);
    EXPECT_GT(progressCalls, 0);

    // a one-row grid reports its progress without dividing by zero
    WriteBytes("1,1\r\ncw 0,30\r\n0,0,only", "one.txt");
    std::vector<int> percents;
    TCsvGrid one;
    one.OnFileProgress = [&](TObject *, int16_t p) { percents.push_back(p); };
    one.LoadFromFile(Path("one.txt"));
    EXPECT_EQ(one.Cells(0, 0), "only");
    EXPECT_EQ(percents, std::vector<int>({100}));
}

TEST_F(CsvTest, CellFileBadInput)
{
    const QByteArray bad[] = {"", "0,5\r\n", "3,0\r\ncw 0,1\r\ncw 1,1\r\ncw 2,1", "abc\r\n1,1,x", "-2,3\r\n",
                              // states far more columns than it has width lines
                              "2000000000,2000000000\r\ncw 0,5\r\n",
                              // and far more rows than a file of two lines describes
                              "1,2000000000\r\ncw 0,5\r\n"};
    for (const QByteArray &b : bad) {
        SCOPED_TRACE(b.toStdString());
        const QString f = WriteBytes(b, "bad.txt");
        TCsvGrid fresh;
        fresh.SetSaveFixedCells(true);
        EXPECT_EQ(GridErrorOf([&] { fresh.LoadFromFile(f); }), "File contains no data or corrupt file " + f);
    }
    EXPECT_THROW(g.LoadFromFile(Path("missing.txt")), Exception);
}

TEST_F(CsvTest, CellStreamRelativeIndexesAndStopsBeforeOtherData)
{
    g.SetSaveFixedCells(false);
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetCells(1, 1, "a\r\nb");
    g.SetCells(2, 2, "c");
    g.SetCells(0, 0, "fixed");
    TMemoryStream ms;
    ms.WriteBuffer("XY", 2);
    g.SaveToStream(&ms);
    const QByteArray trailer = Utf16("tail text\r\n");
    ms.WriteBuffer(trailer.constData(), trailer.size());
    const QByteArray expected = Utf16(QStringLiteral("2,2\r\ncw 0,64\r\ncw 1,64\r\ncw 2,64\r\n0,0,a\x09\x08"
                                                         "b\r\n1,1,c\r\n"));
    EXPECT_EQ(ms.Bytes().mid(2, expected.size()), expected);

    TCsvGrid back;
    back.SetSaveFixedCells(false);
    back.SetMultilinecells(true);
    ms.SetPosition(2);
    back.LoadFromStream(&ms);
    EXPECT_EQ(back.ColCount(), 3);
    EXPECT_EQ(back.RowCount(), 3);
    EXPECT_EQ(back.Cells(1, 1), "a\r\nb");
    EXPECT_EQ(back.Cells(2, 2), "c");
    EXPECT_EQ(back.Cells(0, 0), "");
    EXPECT_EQ(ms.Position(), 2 + expected.size()) << "left at the start of the other text";

    // cells outside the stated rectangle are skipped
    TMemoryStream out;
    const QByteArray text = Utf16("1,1\r\n0,0,in\r\n4,0,out\r\n0,9,out\r\n");
    out.WriteBuffer(text.constData(), text.size());
    out.SetPosition(0);
    TCsvGrid small;
    small.SetSaveFixedCells(true);
    small.LoadFromStream(&out);
    EXPECT_EQ(small.Cells(0, 0), "in");
    EXPECT_EQ(small.ColCount(), 1);
    EXPECT_EQ(out.Position(), out.Size());
}

TEST_F(CsvTest, AsciiTableAlignsAndContinuesMultilineCells)
{
    g.SetColCount(2);
    g.SetRowCount(4);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.SetSaveFixedCells(false);
    g.SetCells(1, 1, "1");
    g.SetCells(1, 2, "22");
    g.SetCells(1, 3, "333");
    g.SetDefaultAlignment(taRightJustify);
    g.SaveToASCII(Path("a.txt"), false);
    EXPECT_EQ(ReadBytes("a.txt"), QByteArray("  1 \r\n 22 \r\n333 \r\n"));

    g.SetDefaultAlignment(taCenter);
    g.SaveToASCII(Path("a.txt"), false);
    EXPECT_EQ(ReadBytes("a.txt"), QByteArray(" 1  \r\n 22 \r\n333 \r\n"));

    // a multi-line cell continues under its own column
    g.SetDefaultAlignment(taLeftJustify);
    g.SetSaveFixedCells(true);
    g.SetMultilinecells(true);
    g.SetCells(0, 2, "ab");
    g.SetCells(1, 2, "x\r\nlonger");
    g.AppendToASCII(Path("a.txt"), false);
    EXPECT_EQ(ReadBytes("a.txt"), QByteArray(" 1  \r\n 22 \r\n333 \r\n"
                                             "          \r\n"
                                             "   1      \r\n"
                                             "ab x      \r\n"
                                             "   longer \r\n"
                                             "   333    \r\n"));
    // a column wider than 255 characters keeps its width
    g.SetMultilinecells(false);
    g.SetCells(1, 0, QString(300, QChar('w')));
    g.SaveToASCII(Path("w.txt"), false);
    EXPECT_TRUE(ReadBytes("w.txt").contains("\r\n   1" + QByteArray(300, ' ') + "\r\n"));
}

TEST_F(CsvTest, CellToRealReadsTheLeadingNumber)
{
    struct Case
    {
        const char *cell;
        double value;
    };
    const Case cases[] = {{"", 0}, {"12x3", 12}, {"(1,234.5)", -1234.5}, {"$ 7.25", 7.25}, {"-3e2", -300}, {"+4", 4}};
    for (const Case &k : cases) {
        g.SetCells(1, 1, k.cell);
        EXPECT_EQ(g.CellToReal(1, 1), k.value) << k.cell;
    }
    g.SetCells(2, 3, "1-2");
    EXPECT_EQ(GridErrorOf([&] { g.CellToReal(2, 3); }), "Error at position: 2 in Cell [2, 3].");
}
