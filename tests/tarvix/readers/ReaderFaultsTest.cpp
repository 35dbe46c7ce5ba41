// Faults of the readers and writers of files and text found by fuzzing, one row each: what a
// writer writes reads back the same, bad input is refused clearly, and no input makes a reader
// take memory or time out of proportion to its size.
#include "framework/controls/UiSeam.h"
#include "framework/graphics/Jpeg.h"
#include "framework/graphics/RichText.h"
#include "framework/os/IniFiles.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProGrid.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <functional>

namespace {

using Cells = std::vector<QStringList>;

QByteArray ReadFile(const QString &Name)
{
    QFile f(Name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Fill(TStringGrid &G, const Cells &Rows)
{
    G.SetFixedRows(0);
    G.SetFixedCols(0);
    G.SetRowCount(int(Rows.size()));
    G.SetColCount(int(Rows[0].size()));
    for (size_t r = 0; r < Rows.size(); ++r)
        for (int c = 0; c < Rows[r].size(); ++c)
            G.SetCells(c, int(r), Rows[r][c]);
}

Cells Contents(TStringGrid &G)
{
    Cells rows;
    for (int r = 0; r < G.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < G.ColCount(); ++c)
            row << G.Cells(c, r);
        rows.push_back(row);
    }
    return rows;
}

// What the delimited-text writer writes, read back by the reader into an emptied grid.
Cells CsvRoundTrip(const Cells &Rows, QChar Delimiter = QChar(0), bool Java = false)
{
    TProStringGrid out(nullptr);
    Fill(out, Rows);
    out.SetDelimiter(Delimiter);
    out.SetJavaCSV(Java);
    out.SaveToCSV(QStringLiteral("rt.csv"), false);
    TProStringGrid in(nullptr);
    in.SetDelimiter(Delimiter);
    in.SetJavaCSV(Java);
    in.SetColCount(1);
    in.SetRowCount(1);
    in.LoadFromCSV(QStringLiteral("rt.csv"), -1);
    return Contents(in);
}

Cells FixedRoundTrip(const Cells &Rows)
{
    TProStringGrid out(nullptr);
    Fill(out, Rows);
    std::vector<int32_t> widths;
    out.SaveToFixed(QStringLiteral("rt.txt"), widths);
    std::vector<int32_t> starts{1};
    for (int32_t w : widths)
        starts.push_back(starts.back() + w);
    TProStringGrid in(nullptr);
    in.SetFixedCols(0);
    in.SetFixedRows(0);
    in.SetRowCount(1);
    in.LoadFromFixed(QStringLiteral("rt.txt"), starts, true, -1);
    return Contents(in);
}

// A JPEG header (quantisation table, frame, first scan) for a picture of the given size and
// number of components whose entropy-coded data is missing.
QByteArray JpegHeader(uint16_t Width, uint16_t Height, bool Progressive, int Components = 1)
{
    QByteArray j("\xFF\xD8\xFF\xDB\x00\x43\x00", 7);
    j += QByteArray(64, '\x10');
    j += Progressive ? QByteArray("\xFF\xC2", 2) : QByteArray("\xFF\xC0", 2);
    j += char(0);
    j += char(8 + 3 * Components);
    j += char(8);
    j += char(Height >> 8);
    j += char(Height & 0xFF);
    j += char(Width >> 8);
    j += char(Width & 0xFF);
    j += char(Components);
    for (int c = 1; c <= Components; ++c)
        j += QByteArray(1, char(c)) + QByteArray("\x11\x00", 2);
    j += QByteArray("\xFF\xDA\x00", 3);
    j += char(6 + 2 * Components);
    j += char(Components);
    for (int c = 1; c <= Components; ++c)
        j += QByteArray(1, char(c)) + QByteArray(1, '\x00');
    j += Progressive ? QByteArray("\x00\x00\x00", 3) : QByteArray("\x00\x3F\x00", 3);
    j += QByteArray("\x00\x00\xFF\xD9", 4);
    return j;
}

struct FaultRow
{
    const char *Name;
    std::function<void()> Check;
};

class ReaderFaults : public MainWindowFixture, public ::testing::WithParamInterface<FaultRow>
{
};

const FaultRow kRows[] = {
    {"JpegHeaderBeyondTheBoundIsRefusedBeforeAnyPixel", [] {
         // 65496 x 65288 pixels would take 4.3 GB of pixel memory.
         TJPEGImage jpeg;
         try {
             jpeg.LoadFromData(JpegHeader(65288, 65496, false));
             ADD_FAILURE() << "a picture of 4 billion pixels was accepted";
         } catch (const EJPEG &e) {
             EXPECT_TRUE(e.Message().contains(QStringLiteral("65288 x 65496"))) << e.Message().toStdString();
         }
         EXPECT_TRUE(jpeg.Empty());
     }},
    {"ProgressiveJpegBeyondTheMemoryCapIsRefused", [] {
         // Within the pixel bound, but four components of progressive coefficients need more
         // than libjpeg may use: refused when the store is set up, before any data is read.
         TJPEGImage jpeg;
         try {
             jpeg.LoadFromData(JpegHeader(8000, 8000, true, 4));
             ADD_FAILURE() << "accepted";
         } catch (const EJPEG &e) {
             EXPECT_TRUE(e.Message().contains(QStringLiteral("Backing store"))) << e.Message().toStdString();
         }
         // A small progressive header is read up to its missing data, which fails as damage.
         EXPECT_THROW(jpeg.LoadFromData(JpegHeader(300, 200, true, 3)), EJPEG);
     }},
    {"LeadingRealOfALongWeightIsLinear", [] {
         // The prefix search once tried every prefix: 200,000 characters took over 10 s.
         EXPECT_EQ(LeadingReal(QStringLiteral("1") + QString(200000, QChar('x'))), 1.0);
         double v = 0;
         int code = 0;
         Val(QStringLiteral("2.5") + QString(200000, QChar('9')) + QStringLiteral("x"), v, code);
         EXPECT_EQ(code, 200004);
     }},
    {"IniSectionOf30000KeysReadsAndWritesInLinearTime", [] {
         QString text = QStringLiteral("[s]\r\n");
         for (int i = 0; i < 30000; ++i)
             text += QStringLiteral("k%1=%1\r\n").arg(i);
         TMemIniFile ini(QStringLiteral("many.ini"));
         ini.SetText(text);
         EXPECT_EQ(ini.ReadString("s", "K29999", QString()), QStringLiteral("29999"));
         for (int i = 0; i < 30000; ++i)
             ini.WriteString("t", QStringLiteral("k%1").arg(i), QStringLiteral("v"));
         TStringList names;
         ini.ReadSection("t", &names);
         EXPECT_EQ(names.Count(), 30000);
     }},
    {"OutOfRangeExponentFailsInsteadOfWrapping", [] {
         double v = 7;
         EXPECT_FALSE(TryStrToFloat(QStringLiteral("1e3080830808"), v));
         EXPECT_FALSE(TryStrToFloat(QStringLiteral("-2e3333333333"), v));
         EXPECT_EQ(v, 7);
         EXPECT_TRUE(TryStrToFloat(QStringLiteral("1e-3080830808"), v));
         EXPECT_EQ(v, 0);
         // The largest double, written with 15 digits, reads back as itself.
         EXPECT_TRUE(TryStrToFloat(FloatToStr(-1.7976931348623157e308), v));
         EXPECT_EQ(v, -1.7976931348623157e308);
     }},
    {"CsvCellHoldingNulKeepsTheRowsAfterIt", [] {
         const Cells rows{{QStringLiteral("a") + QChar(0) + QStringLiteral("b"), "c"}, {"d", "e"}};
         EXPECT_EQ(CsvRoundTrip(rows), rows);
     }},
    {"FixedWidthCellsWithLineBreaksAndNulReadBack", [] {
         const Cells rows{{"g\r\nh", QStringLiteral("x") + QChar(0) + QStringLiteral("y")}, {"two\rlines\nend", "z"}};
         EXPECT_EQ(FixedRoundTrip(rows), rows);
     }},
    {"CsvCellsHoldingTheLineBreakMarksReadBack", [] {
         const Cells rows{{QString(QChar(11)), QStringLiteral("a") + QChar(12) + QChar(14), QString(QChar(16))},
                          {"~", "^", "l1\r\nl2\rl3\nl4"}};
         EXPECT_EQ(CsvRoundTrip(rows, QChar(',')), rows);
         EXPECT_EQ(CsvRoundTrip(rows, QChar(','), true), rows);
     }},
    {"EightBitTextStartingWithByteOrderMarkBytesReadsBack", [] {
         for (const QString &start : {QStringLiteral("\u00fe\u00ff"), QStringLiteral("\u00ff\u00fe"), QStringLiteral("\u00ef\u00bb\u00bf")}) {
             const Cells rows{{start + "x", "y"}};
             EXPECT_EQ(CsvRoundTrip(rows, QChar(',')), rows);
             EXPECT_EQ(FixedRoundTrip(rows), rows);
         }
     }},
    {"TextStartingWithZeroWidthNoBreakSpaceKeepsIt", [] {
         const Cells rows{{QStringLiteral("\ufeffname"), "1"}};
         EXPECT_EQ(CsvRoundTrip(rows, QChar(',')), rows);
         TStringList list;
         list.Add(QStringLiteral("\ufeffline"));
         TMemoryStream stream;
         list.SaveToStream(&stream, TEncoding::UTF8());
         stream.SetPosition(0);
         TStringList back;
         back.LoadFromStream(&stream);
         EXPECT_EQ(back.Strings(0), QStringLiteral("\ufeffline"));
     }},
    {"DetectedDelimiterOfAGridWrittenWithCommasIsTheComma", [] {
         const Cells rows{{"a;b;c", "d"}, {"e;f;g", "h"}};
         EXPECT_EQ(CsvRoundTrip(rows), rows);
         const Cells one{{"x;y"}, {"-1"}};
         EXPECT_EQ(CsvRoundTrip(one), one);
     }},
    {"MatrixFilesQuoteNamesWithBlanksForEveryReader", [] {
         const Cells rows{{"species", "Isla Santa Cruz", "b"}, {"Quercus robur", "1", ""}, {"say \"x\", y", "0", "1"}};
         for (bool comma : {false, true}) {
             TStringGrid g(nullptr);
             Fill(g, rows);
             const QString name = comma ? QStringLiteral("m.csv") : QStringLiteral("m.txt");
             comma ? Tarvix->SaveGridToFileComma(&g, name) : Tarvix->SaveGridToFile(&g, name);
             TUiScript script;
             script.FileNameNext(QDir::current().absoluteFilePath(name));
             comma ? Tarvix->Commadelimitedtxt1Click(nullptr) : Tarvix->Spacedelimitedtext1Click(nullptr);
             EXPECT_EQ(Contents(*Tarvix->MainGrid), rows) << (comma ? "comma" : "space");
             Tarvix->FileName = QDir::current().absoluteFilePath(name);
             Tarvix->OpenBatchFile();
             EXPECT_EQ(Contents(*Tarvix->MainGrid), rows) << "batch";
             EXPECT_TRUE(script.Messages().isEmpty()) << script.Messages().join('|').toStdString();
         }
     }},
    {"WeightsFileKeepsNamesWithBlanks", [] {
         const Cells rows{{"Species", "Weights"}, {"Quercus robur", "2.5"}, {"", "1.0"}};
         TStringGrid g(nullptr);
         Fill(g, rows);
         Tarvix->SaveGridToFile(&g, QStringLiteral("weights.txt"));
         TStringGrid back(nullptr);
         ReadWeightsTable(ReadFile(QStringLiteral("weights.txt")), &back);
         EXPECT_EQ(Contents(back), rows);
     }},
    {"IniRefusesNamesItCannotReadBackAndWritesNothing", [] {
         const std::pair<QString, QString> bad[] = {
             {"s", "#x"}, {"s", ";x"}, {"s", "[x"}, {"s", QStringLiteral("a") + QChar(0)}, {"s", " x"}, {" s", "x"}, {"s", "x="}};
         for (const auto &[section, ident] : bad) {
             TMemIniFile ini(QStringLiteral("bad.ini"));
             EXPECT_THROW(ini.WriteString(section, ident, QStringLiteral("v")), EIniFileException) << ident.toStdString();
             EXPECT_TRUE(ini.Text().isEmpty());
         }
         TMemIniFile ini(QStringLiteral("bad.ini"));
         EXPECT_THROW(ini.WriteString("s", "x", QStringLiteral(" padded")), EIniFileException);
         EXPECT_THROW(ini.WriteString("s", "x", QStringLiteral("a") + QChar(0)), EIniFileException);
         // What is accepted reads back from the file, characters outside Windows-1252 included.
         TIniFile file(QStringLiteral("good.ini"));
         file.WriteString(QStringLiteral("Espa\u00f1a"), QStringLiteral("k;x"), QStringLiteral("a=b \u0142 ;c"));
         TMemIniFile back(QStringLiteral("good.ini"));
         EXPECT_EQ(back.ReadString(QStringLiteral("espa\u00d1a"), QStringLiteral("K;X"), QString()), QStringLiteral("a=b \u0142 ;c"));
     }},
    {"RtfStarOnlySkipsRealDestinations", [] {
         EXPECT_EQ(RichTextPlain(RTFToRichText("{\\rtf1 {\\*}abc {\\b def}}")), QStringLiteral("abc def"));
         EXPECT_EQ(RichTextPlain(RTFToRichText("{\\rtf1 a\\*\\b b {\\*\\i c} d}")), QStringLiteral("ab c d"));
         EXPECT_EQ(RichTextPlain(RTFToRichText("{\\rtf1 a{\\*\\unknowndest skipped}b}")), QStringLiteral("ab"));
     }},
    {"RtfFontSizeBeyondIntIsClamped", [] {
         const TRichText runs = RTFToRichText("{\\rtf\\fs99999999999 a}");
         ASSERT_EQ(runs.size(), 1u);
         EXPECT_GT(runs[0].FontSize, 0);
         EXPECT_EQ(RTFToRichText(RichTextToRTF(runs)), runs);
     }},
    {"RtfFontNamesWithSemicolonsAndWideCharactersReadBack", [] {
         TRichText runs(2);
         runs[0].Text = "a";
         runs[0].FontName = QStringLiteral("Odd;Name");
         runs[1].Text = "b";
         runs[1].FontName = QStringLiteral("\u5b8b\u4f53 \u0141ight");
         EXPECT_EQ(RTFToRichText(RichTextToRTF(runs)), runs);
     }},
};

} // namespace

TEST_P(ReaderFaults, Fault) { GetParam().Check(); }

INSTANTIATE_TEST_SUITE_P(Table, ReaderFaults, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FaultRow> &info) { return std::string(info.param.Name); });
