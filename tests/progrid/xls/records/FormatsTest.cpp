// Cell formats, fonts, number formats and the palette: the XF record and the format value in
// both directions, deduplication of fonts and formats, built-in formats and default colours.
#include "RecordFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsPalette.h"
#include "xlsAdapter/records/duzUXlsXF.h"

using namespace rec;

namespace {

TWbFont Font(const QString &Name, int Color = 1)
{
    TWbFont f;
    f.Name = Name;
    f.Size20 = 200;
    f.ColorIndex = Color;
    return f;
}

QByteArray XFBytes(int Font, int Format)
{
    return Le16(Font) + Le16(Format) + QByteArray(16, 0);
}

// Restores the global settings a test changes.
struct SettingsGuard
{
    TFormatSettings Saved = FormatSettings;
    ~SettingsGuard() { FormatSettings = Saved; }
};

} // namespace

TEST(Formats, FontRecordBytesAndBack)
{
    TWbFont f = Font("Arial");
    f.Style = {flsBold, flsItalic, flsSubscript};
    f.Underline = fu_DoubleAccounting;
    f.Family = 2;
    f.CharSet = 1;
    std::unique_ptr<TFontRecord> r(TFontRecord::CreateFromWbFont(f));
    // Height, options, colour 1 + 7, weight 700, escapement 2, underline 0x22, family, charset,
    // reserved, then the name with a 1-byte count in 16-bit characters.
    EXPECT_EQ(DataOf(*r), Le16(200) + Le16(2) + Le16(8) + Le16(700) + Le16(2) + B({0x22, 2, 1, 0}) +
                              B({5, 1, 'A', 0, 'r', 0, 'i', 0, 'a', 0, 'l', 0}));
    const TWbFont back = r->WbFont();
    EXPECT_EQ(back.Name, "Arial");
    EXPECT_EQ(back.Size20, 200);
    EXPECT_EQ(back.ColorIndex, 1);
    EXPECT_TRUE(back.Style == f.Style);
    EXPECT_EQ(back.Underline, fu_DoubleAccounting);
    EXPECT_EQ(back.Family, 2);
    EXPECT_EQ(back.CharSet, 1);

    // Weight 800 is not bold; escapement 1 is superscript; an unknown underline is none.
    auto heavy = Make<TFontRecord>(0x0031, Le16(200) + Le16(8) + Le16(8) + Le16(800) + Le16(1) + B({3, 0, 0, 0}) +
                                               B({1, 0, 'x'}));
    EXPECT_TRUE(heavy->Style() == (SetOfTWbFontStyle{flsStrikeOut, flsSuperscript}));
    EXPECT_EQ(heavy->Underline(), fu_None);

    EXPECT_EQ(MessageOf([] { delete TFontRecord::CreateFromWbFont(Font(QString(256, QLatin1Char('n')))); }),
              "Invalid String record");
}

TEST(Formats, AddFontSkipsIndexFour)
{
    TFontRecordList fonts;
    const int expected[] = {0, 1, 2, 3, 5, 6};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(fonts.AddFont(Font("F" + QString::number(i))), expected[i]);
    // The same font byte for byte gives the existing index.
    EXPECT_EQ(fonts.AddFont(Font("F4")), 5);
    EXPECT_EQ(fonts.AddFont(Font("F1")), 1);
    EXPECT_EQ(fonts.Count(), 6);
    // A different colour is a different font.
    EXPECT_EQ(fonts.AddFont(Font("F1", 3)), 7);

    const struct
    {
        int fontIndex;
        int position;
    } cases[] = {{0, 0}, {3, 3}, {4, 3}, {5, 4}, {7, 6}, {8, 0}, {1000, 0}};
    for (const auto &c : cases) {
        auto xf = Make<TXFRecord>(0x00E0, XFBytes(c.fontIndex, 0));
        EXPECT_EQ(xf->GetActualFontIndex(&fonts), c.position) << c.fontIndex;
    }
}

TEST(Formats, AddFormatAndGetFormat)
{
    TFormatRecordList formats;
    EXPECT_EQ(formats.AddFormat("0.00"), 2);
    EXPECT_EQ(formats.AddFormat(""), 0);
    EXPECT_EQ(formats.AddFormat("@"), 49);
    EXPECT_EQ(formats.Count(), 0);
    EXPECT_EQ(formats.AddFormat("0.000"), 164);
    EXPECT_EQ(formats.AddFormat("0.000"), 164);
    EXPECT_EQ(formats.AddFormat("0.0000"), 165);
    EXPECT_EQ(formats.Count(), 2);

    TFormatRecordList fromFile;
    fromFile.Add(TFormatRecord::CreateFromData("#,##0.0", 170));
    fromFile.Add(TFormatRecord::CreateFromData("0.0", 166));
    EXPECT_EQ(fromFile.AddFormat("0.000"), 171);
    // A FORMAT record with the text of a built-in one wins over the built-in id.
    fromFile.Add(TFormatRecord::CreateFromData("0", 180));
    EXPECT_EQ(fromFile.AddFormat("0"), 180);
    EXPECT_EQ(fromFile.GetFormat(166), "0.0");
    EXPECT_EQ(fromFile.GetFormat(171), "0.000");
    EXPECT_EQ(fromFile.GetFormat(10), "0.00%");
    EXPECT_EQ(fromFile.GetFormat(5), "");
    EXPECT_EQ(fromFile.GetFormat(200), "");

    // The record's bytes: id, then the string with a 2-byte count.
    std::unique_ptr<TFormatRecord> r(TFormatRecord::CreateFromData("0%", 170));
    EXPECT_EQ(DataOf(*r), Le16(170) + B({2, 0, 0, '0', '%'}));

    // 16-bit text that one record cannot hold is refused and nothing is added.
    const QString huge(40000, QChar(0x263A));
    EXPECT_EQ(MessageOf([&] { formats.AddFormat(huge); }), "Invalid String record");
    EXPECT_EQ(formats.Count(), 2);
    EXPECT_EQ(formats.AddFormat(QString(40000, QLatin1Char('0'))), 166);
}

TEST(Formats, BuiltInDateFormatsFollowTheLocale)
{
    SettingsGuard guard;
    const struct
    {
        const char *shortDate;
        char dateSep;
        char timeSep;
        const char *f14;
        const char *f22;
    } cases[] = {
        {"dd.MM.yyyy", '.', ':', "dd.mm.YYYY", "dd.mm.YYYY hh:mm"},
        {"yyyy-MM-dd", '-', '.', "YYYY-mm-dd", "YYYY-mm-dd hh.mm"},
        {"M/d/yy", '/', ':', "mm/dd/YYYY", "mm/dd/YYYY hh:mm"},
        {"ggg", '/', ':', "mm/dd/YYYY", "mm/dd/YYYY hh:mm"},
    };
    for (const auto &c : cases) {
        FormatSettings.ShortDateFormat = QString::fromLatin1(c.shortDate);
        FormatSettings.DateSeparator = QLatin1Char(c.dateSep);
        FormatSettings.TimeSeparator = QLatin1Char(c.timeSep);
        EXPECT_EQ(BuiltInFormat(14), c.f14) << c.shortDate;
        EXPECT_EQ(BuiltInFormat(22), c.f22) << c.shortDate;
    }
    FormatSettings.ShortDateFormat = "dd.MM.yyyy";
    FormatSettings.DateSeparator = QLatin1Char('.');
    TFormatRecordList formats;
    EXPECT_EQ(formats.AddFormat("dd.mm.YYYY"), 14);
    EXPECT_EQ(BuiltInFormat(15), "DD-MMM-YY");
    EXPECT_EQ(BuiltInFormat(40), "#,##0.00 _$;[Red]-#,##0.00 _$");
}

TEST(Formats, XFToFormatAndBack)
{
    TFontRecordList fonts;
    fonts.AddFont(Font("Arial", 20));
    TFormatRecordList formats;

    const uint32_t area14 = 20 + 64 * 128 + (12u << 14) + (7u << 21) + (1u << 26);
    const QByteArray bytes = Le16(0) + Le16(2) + Le16(0x0021) + B({0x1A, 45}) + Le16(0xFC13) + Le16(0x6521) +
                             Le16(10 + 5 * 128 + 3 * 16384) + Le32(area14) + Le16(10 + (65 << 7));
    auto xf = Make<TXFRecord>(0x00E0, bytes);
    const TWbFormat f = xf->WbFormat(&fonts, &formats);
    EXPECT_EQ(f.Font.Name, "Arial");
    EXPECT_EQ(f.Font.ColorIndex, 20);
    EXPECT_EQ(f.Borders.Left.Style, fbs_Thin);
    EXPECT_EQ(f.Borders.Left.ColorIndex, 3);
    EXPECT_EQ(f.Borders.Right.Style, fbs_Medium);
    EXPECT_EQ(f.Borders.Right.ColorIndex, 1); // file index 5 is below 8
    EXPECT_EQ(f.Borders.Top.Style, fbs_Thick);
    EXPECT_EQ(f.Borders.Top.ColorIndex, 13);
    EXPECT_EQ(f.Borders.Bottom.Style, fbs_Double);
    EXPECT_EQ(f.Borders.Bottom.ColorIndex, 57);
    EXPECT_EQ(f.Borders.Diagonal.Style, fbs_Hair);
    EXPECT_EQ(f.Borders.Diagonal.ColorIndex, 5);
    EXPECT_EQ(f.Borders.DiagonalStyle, fdb_Both);
    EXPECT_EQ(f.Format, "0.00");
    EXPECT_EQ(f.FillPattern.Pattern, 2);
    EXPECT_EQ(f.FillPattern.FgColorIndex, 3);
    EXPECT_EQ(f.FillPattern.BgColorIndex, 58);
    EXPECT_EQ(f.HAlignment, fha_center);
    EXPECT_EQ(f.VAlignment, fva_center);
    EXPECT_TRUE(f.Locked);
    EXPECT_FALSE(f.Hidden);
    EXPECT_EQ(f.Parent, 32);
    EXPECT_TRUE(f.WrapText);
    EXPECT_TRUE(f.ShrinkToFit);
    EXPECT_EQ(f.Rotation, 45);
    EXPECT_EQ(f.Indent, 3);

    // Back: the parent is not kept, the right colour 1 becomes the file's 8; the font and the
    // number format are found, not added.
    std::unique_ptr<TXFRecord> made(TXFRecord::CreateFromFormat(f, &fonts, &formats));
    const QByteArray expected = Le16(0) + Le16(2) + Le16(0x0001) + B({0x1A, 45}) + Le16(0xFC13) + Le16(0x6521) +
                                Le16(10 + 8 * 128 + 3 * 16384) + Le32(area14) + Le16(10 + (65 << 7));
    EXPECT_EQ(DataOf(*made), expected);
    EXPECT_EQ(fonts.Count(), 1);
    EXPECT_EQ(formats.Count(), 0);

    TXFRecordList xfs;
    xfs.Add(CopyOf(xf.get()));
    xfs.Add(CopyOf(made.get()));
    int32_t index = 7;
    EXPECT_TRUE(xfs.FindFormat(made.get(), index));
    EXPECT_EQ(index, 1);
    auto other = Make<TXFRecord>(0x00E0, XFBytes(0, 3));
    EXPECT_FALSE(xfs.FindFormat(other.get(), index));
    EXPECT_EQ(index, -1);
}

TEST(Formats, BorderColoursAreClamped)
{
    TFontRecordList fonts;
    TFormatRecordList formats;
    TWbFormat f;
    f.Borders.Left.ColorIndex = 0;
    f.Borders.Right.ColorIndex = 70;
    f.Borders.Top.ColorIndex = 57;
    f.Borders.Bottom.ColorIndex = 56;
    f.FillPattern.Pattern = 0; // taken as no fill
    std::unique_ptr<TXFRecord> r(TXFRecord::CreateFromFormat(f, &fonts, &formats));
    EXPECT_EQ(GetWord(r->Data, 12), 8 + 64 * 128);
    EXPECT_EQ(GetLongWord(r->Data, 14) & 0x3FFF, 64u + 63 * 128);
    EXPECT_EQ(r->CellPattern(), 0);
    f.FillPattern.Pattern = 1;
    std::unique_ptr<TXFRecord> none(TXFRecord::CreateFromFormat(f, &fonts, &formats));
    EXPECT_EQ(DataOf(*none), DataOf(*r));
}

TEST(Formats, UsedColors)
{
    TFontRecordList fonts;
    fonts.AddFont(Font("Arial", 20));
    TFormatRecordList formats;
    TXFRecordList xfs;

    TWbFormat f;
    f.Font = Font("Arial", 20);
    f.Borders.Left = {fbs_Thin, 3};
    f.Borders.Right = {fbs_None, 4}; // no style: colour not used
    f.Borders.Diagonal = {fbs_Dotted, 6};
    f.FillPattern = {2, 9, 10}; // solid: background not used
    xfs.Add(TXFRecord::CreateFromFormat(f, &fonts, &formats));
    TWbFormat g;
    g.Font = Font("Arial", 20);
    g.FillPattern = {4, 11, 12};
    g.Borders.Bottom = {fbs_Thick, 56};
    xfs.Add(TXFRecord::CreateFromFormat(g, &fonts, &formats));

    const BooleanArray used = xfs.GetUsedColors(56, &fonts);
    ASSERT_EQ(used.size(), 56u);
    std::vector<int> marked;
    for (int i = 0; i < 56; ++i)
        if (used[size_t(i)])
            marked.push_back(i);
    EXPECT_EQ(marked, (std::vector<int>{3, 6, 9, 11, 12, 20}));
    EXPECT_TRUE(xfs.GetUsedColors(57, &fonts)[56]);
}

TEST(Formats, Palette)
{
    std::unique_ptr<TPaletteRecord> p(TPaletteRecord::CreateStandard());
    EXPECT_EQ(p->DataSize, 226);
    EXPECT_EQ(p->Count(), 56);
    EXPECT_EQ(DataOf(*p).left(14), Le16(56) + B({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0, 0, 0}));
    const struct
    {
        int index;
        uint32_t color;
    } cases[] = {{0, 0x000000}, {2, 0x0000FF}, {4, 0xFF0000}, {16, 0xFF9999}, {17, 0x663399},
                 {22, 0xCC6600}, {45, 0x0066FF}, {55, 0x333333}};
    for (const auto &c : cases) {
        EXPECT_EQ(p->GetColor(c.index), c.color) << c.index;
        EXPECT_EQ(StandardPaletteColor(c.index), c.color) << c.index;
    }
    p->SetColor(3, 0x123456);
    EXPECT_EQ(p->GetColor(3), 0x123456u);
    EXPECT_EQ(DataOf(*p).mid(14, 4), B({0x56, 0x34, 0x12, 0}));

    EXPECT_EQ(MessageOf([&] { p->GetColor(56); }),
              "The index \"56\" of the property \"Palette Color Index\" is not in the range 0-55");
    EXPECT_EQ(MessageOf([&] { p->SetColor(-1, 0); }), "Too many entries for this kind of record (-1 out of a maximum of 55)");
    EXPECT_EQ(MessageOf([] { StandardPaletteColor(56); }),
              "The index \"56\" of the property \"Palette index\" is not in the range 0-55");
    // A record too short for its count is refused.
    EXPECT_EQ(MessageOf([] { Make<TPaletteRecord>(0x0092, Le16(2) + Le32(0)); }),
              Format(QStringLiteral("Record with ID 0x%x is invalid"), {0x92}));
}

TEST(Formats, ReadAsFormatRecords)
{
    std::unique_ptr<TPaletteRecord> palette(TPaletteRecord::CreateStandard());
    const QByteArray bytes = Record(0x00E0, XFBytes(0, 0)) +
                             Record(0x0031, Le16(200) + QByteArray(12, 0) + B({1, 0, 'x'})) +
                             Record(0x041E, Le16(164) + B({1, 0, 0, '0'})) + Record(0x0293, Le32(0x00FF8000)) +
                             Record(0x0092, DataOf(*palette));
    Stream s(bytes);
    std::vector<std::unique_ptr<TBaseRecord>> r;
    for (int i = 0; i < 5; ++i)
        r.emplace_back(LoadRecord(s.file.get(), s.Header));
    EXPECT_NE(dynamic_cast<TXFRecord *>(r[0].get()), nullptr);
    ASSERT_NE(dynamic_cast<TFontRecord *>(r[1].get()), nullptr);
    EXPECT_EQ(static_cast<TFontRecord *>(r[1].get())->Name(), "x");
    ASSERT_NE(dynamic_cast<TFormatRecord *>(r[2].get()), nullptr);
    EXPECT_EQ(static_cast<TFormatRecord *>(r[2].get())->Value(), "0");
    EXPECT_NE(dynamic_cast<TStyleRecord *>(r[3].get()), nullptr);
    ASSERT_NE(dynamic_cast<TPaletteRecord *>(r[4].get()), nullptr);
    EXPECT_EQ(static_cast<TPaletteRecord *>(r[4].get())->GetColor(1), 0xFFFFFFu);
}
