// Cell values and typed text entry of the file object: the offset and plain forms, run
// positions, formulas, and what typed texts become, kept through a save and a reopen.
#include "FileFixture.h"
#include "xlsAdapter/file/duzUXlsTypedEntry.h"

using namespace xfile;

namespace {

// Decimal point, thousands comma, "$" before the number, negatives in parentheses, two decimals.
TFormatSettings UsSettings()
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char('.');
    s.ThousandSeparator = QLatin1Char(',');
    s.CurrencyString = QStringLiteral("$");
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 0;
    s.CurrencyDecimals = 2;
    s.DateSeparator = QLatin1Char('/');
    s.TimeSeparator = QLatin1Char(':');
    s.ShortDateFormat = QStringLiteral("M/d/yyyy");
    s.ShortTimeFormat = QStringLiteral("h:mm AMPM");
    return s;
}

struct NewBook : Connected
{
    NewBook() { F.NewFile(1); }
};

QString NumberFormatOf(TXLSFile &F, int Row, int Col) { return F.GetFormatList(F.GetCellFormat(Row, Col)).Format; }

constexpr double Day = 86400;

struct Typed
{
    const char *Text;
    Variant Value;
    // nullptr: the cell's own number format stays.
    const char *Format;
};

} // namespace

TEST(FileValues, TypedTextBecomesNumbersBooleansDatesOrTextAndSurvivesSaveAndReopen)
{
    const TFormatSettings us = UsSettings();
    TFormatSettingsScope scope(us);
    const QString keptFormat = QStringLiteral("0.000");
    const std::vector<Typed> cases = {
        {"1,234.5", 1234.5, nullptr},
        {"12,34", QStringLiteral("12,34"), nullptr},
        {"1,234,567", 1234567.0, nullptr},
        {"-1,234", -1234.0, nullptr},
        {"12.5%", 0.125, "0.00%"},
        {"%12", 0.12, "0%"},
        // The exact hundredth, not 0.7 rounded and then divided (0.006999999999999999).
        {"0.7%", 0.007, "0.00%"},
        {"1.5e3", 1500.0, "0.00E+00"},
        {"1.5E3", 1500.0, "0.00E+00"},
        {"e5", QStringLiteral("e5"), nullptr},
        {"$1,000.50", 1000.5, "$###,###.00_);[Red]\\($###,###.00\\)"},
        {"$1000", 1000.0, "$###,###_);[Red]\\($###,###\\)"},
        {"1000$", 1000.0, "$###,###_);[Red]\\($###,###\\)"},
        {" true ", true, nullptr},
        {"FALSE", false, nullptr},
        {"  not a number ", QStringLiteral("  not a number "), nullptr},
        {"12:30", (12 * 3600 + 30 * 60) / Day, "h:mm AM/PM"},
        {"7:30", (7 * 3600 + 30 * 60) / Day, "h:mm AM/PM"},
        {"7:30:15 PM", (19 * 3600 + 30 * 60 + 15) / Day, "h:mm AM/PM"},
        // 2011-03-04 is day 40606 after 1899-12-30.
        {"3/4/2011 10:00", 40606 + 10 * 3600 / Day, "M/d/yyyy h:mm AM/PM"},
        {"3/4/2011", 40606.0, "M/d/yyyy"},
        {"0.30", 0.3, nullptr},
        {"3/4", QStringLiteral("3/4"), nullptr},
        {"25:00", QStringLiteral("25:00"), nullptr},
        {"2/30/2011", QStringLiteral("2/30/2011"), nullptr},
    };

    NewBook b;
    TWbFormat f = b.F.GetFormatList(15);
    f.Format = keptFormat;
    const int32_t xf = b.F.AddFormat(f);
    for (size_t i = 0; i < cases.size(); ++i) {
        const int row = int(i) + 1;
        b.F.SetCellFormat(row, 2, xf);
        b.F.SetCellString(row, 2, QString::fromUtf8(cases[i].Text), QString(), QString());
    }
    NewBook reopened;
    LoadBytes(reopened.F, SavedToMemory(b.F));
    for (TXLSFile *F : {&b.F, &reopened.F})
        for (size_t i = 0; i < cases.size(); ++i) {
            const Typed &c = cases[i];
            const int row = int(i) + 1;
            SCOPED_TRACE(c.Text);
            const Variant v = F->GetCellValue(row, 2);
            if (VarType(c.Value) == varUString) {
                EXPECT_EQ(VarType(v), varUString);
                EXPECT_EQ(v.AsString(), c.Value.AsString());
            } else if (VarType(c.Value) == varBoolean) {
                EXPECT_EQ(VarType(v), varBoolean);
                EXPECT_EQ(v.AsBoolean(), c.Value.AsBoolean());
            } else {
                EXPECT_EQ(v.AsDouble(), c.Value.AsDouble());
            }
            EXPECT_EQ(NumberFormatOf(*F, row, 2), c.Format ? QString::fromUtf8(c.Format) : keptFormat);
        }
}

TEST(FileValues, TypedTextKeepsTheCellFormatOrTakesTheGivenOne)
{
    const TFormatSettings us = UsSettings();
    TFormatSettingsScope scope(us);
    NewBook b;
    // A plain number leaves an existing cell's XF as it is; a missing cell gets the default.
    b.F.SetCellFormat(1, 1, 21);
    b.F.SetCellString(1, 1, QStringLiteral("5"), QString(), QString());
    EXPECT_EQ(b.F.GetCellFormat(1, 1), 21);
    b.F.SetCellString(2, 1, QStringLiteral("5"), QString(), QString());
    EXPECT_EQ(b.F.GetCellFormat(2, 1), 15);

    // A given format: its number format unless the text asks for another, the rest of it always.
    TWbFormat fm = b.F.GetFormatList(15);
    fm.Font.Style = SetOfTWbFontStyle{flsBold};
    fm.Format = QStringLiteral("0.0");
    const std::vector<std::pair<const char *, const char *>> withFormat = {
        {"7", "0.0"}, {"7%", "0%"}, {"abc", "0.0"}, {"TRUE", "0.0"}, {"7:30", "hh:mm"}};
    int row = 3;
    for (const auto &[text, format] : withFormat) {
        SCOPED_TRACE(text);
        b.F.SetCellString(row, 1, QString::fromUtf8(text), fm, QString(), QStringLiteral("hh:mm"));
        const TWbFormat got = b.F.GetFormatList(b.F.GetCellFormat(row, 1));
        EXPECT_EQ(got.Format, QString::fromUtf8(format));
        EXPECT_TRUE(got.Font.Style.Contains(flsBold));
        ++row;
    }
    // The same format twice is one XF.
    EXPECT_EQ(b.F.GetCellFormat(3, 1), b.F.GetCellFormat(5, 1));

    // Given date and time formats; "ampm" outside quotes becomes "AM/PM".
    b.F.SetCellString(10, 1, QStringLiteral("3/4/2011 10:00"), QStringLiteral("yyyy-mm-dd"),
                      QStringLiteral("h:mm ampm \"ampm\""));
    EXPECT_EQ(NumberFormatOf(b.F, 10, 1), QStringLiteral("yyyy-mm-dd h:mm AM/PM \"ampm\""));
}

TEST(FileValues, CurrencyFormatsFollowTheLocalePlacement)
{
    struct Case
    {
        uint8_t Positive, Negative;
        bool Decimals;
        const char *Format;
    };
    const std::vector<Case> cases = {
        {0, 0, true, "$###,###.00_);[Red]\\($###,###.00\\)"},
        {1, 1, false, "###,###$;[Red]-$###,###"},
        {2, 2, false, "$\\ ###,###;[Red]$-###,###"},
        {3, 3, false, "###,###\\ $;[Red]$###,###-"},
        {0, 4, false, "$###,###_);[Red]\\(###,###$\\)"},
        {0, 5, false, "$###,###;[Red]-###,###$"},
        {0, 6, false, "$###,###;[Red]###,###-$"},
        {0, 7, false, "$###,###;[Red]###,###$-"},
        {0, 8, false, "$###,###;[Red]-###,###\\ $"},
        {0, 9, false, "$###,###;[Red]-$\\ ###,###"},
        {0, 10, false, "$###,###;[Red]###,###\\ $-"},
        {0, 11, false, "$###,###;[Red]$\\ ###,###-"},
        {0, 12, false, "$###,###;[Red]$\\ -###,###"},
        {0, 13, false, "$###,###;[Red]###,###-\\ $"},
        {0, 14, false, "$###,###_);[Red]\\($\\ ###,###\\)"},
        {0, 15, true, "$###,###.00_);[Red]\\(###,###.00\\ $\\)"},
        {0, 16, false, "$###,###_);[Red]\\($###,###\\)"},
    };
    for (const Case &c : cases) {
        TFormatSettings s = UsSettings();
        s.CurrencyFormat = c.Positive;
        s.NegCurrFormat = c.Negative;
        SCOPED_TRACE(c.Format);
        EXPECT_EQ(CurrencyNumberFormat(c.Decimals, s), QString::fromUtf8(c.Format));
    }
    // Three currency decimals, and a currency string of several characters after the number.
    TFormatSettings s = UsSettings();
    s.CurrencyString = QStringLiteral("EUR");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    s.CurrencyDecimals = 3;
    TFormatSettingsScope scope(s);
    const TTypedEntry e = ReadTypedEntry(QStringLiteral("1.5EUR"), QString(), QString(), s);
    EXPECT_EQ(e.Value.AsDouble(), 1.5);
    EXPECT_EQ(e.NumberFormat, QStringLiteral("###,###.000\\ EUR;[Red]-###,###.000\\ EUR"));
}

TEST(FileValues, DatesFollowTheShortDateFormatAndNumberLikeTextsAreNoTimes)
{
    // Day first with points, a time separator that is a point too, month names.
    TFormatSettings s = UsSettings();
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QLatin1Char(' ');
    s.DateSeparator = QLatin1Char('.');
    s.TimeSeparator = QLatin1Char('.');
    s.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    s.ShortTimeFormat = QStringLiteral("hh.mm");
    struct Case
    {
        const char *Text;
        bool IsDate;
        double Value;
        const char *Format;
    };
    const std::vector<Case> cases = {
        {"4.3.2011", true, 40606, "dd/MM/yyyy"},
        {"04.03.11", true, 40606, "dd/MM/yyyy"},
        // Two-digit years from 30 on are the last century's.
        {"4.3.30", true, 11021, "dd/MM/yyyy"},
        {"4.3.2011 10.00", true, 40606 + 10 * 3600 / Day, "dd/MM/yyyy hh.mm"},
        {"10.00", false, 0, nullptr},  // two whole-number pieces: a number, not a time
        {"0.30", false, 0, nullptr},
        {"1.2.3", true, 37653, "dd/MM/yyyy"},  // a whole day: the pieces do not matter
        {"0:30", true, 30 * 60 / Day, "hh.mm"},
        {"10.00 PM", true, 22 * 3600 / Day, "hh.mm"},
        {"4.3.2011x", false, 0, nullptr},
        {"4..2011", false, 0, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        double v = -1;
        QString format;
        const bool got = TryTypedDateTime(QString::fromUtf8(c.Text), QString(), QString(), s, v, format);
        EXPECT_EQ(got, c.IsDate);
        if (got && c.IsDate) {
            EXPECT_EQ(v, c.Value);
            EXPECT_EQ(format, QString::fromUtf8(c.Format));
        }
    }
    // A date before 1899-12-30 has no day part above 0: with no time it is no date.
    double v = 0;
    QString format;
    EXPECT_FALSE(TryTypedDateTime(QStringLiteral("1.1.1800"), QString(), QString(), s, v, format));

    // Month names where the format spells the month.
    s.ShortDateFormat = QStringLiteral("d-MMM-yy");
    EXPECT_TRUE(TryTypedDateTime(QStringLiteral("4-mar-11"), QString(), QString(), s, v, format));
    EXPECT_EQ(v, 40606);
    EXPECT_TRUE(TryTypedDateTime(QStringLiteral("4-March-11"), QString(), QString(), s, v, format));
    EXPECT_EQ(v, 40606);
}

TEST(FileValues, UnreadableAndHugeTextsAreReadAsText)
{
    const TFormatSettings us = UsSettings();
    TFormatSettingsScope scope(us);
    NewBook b;
    const std::vector<QString> texts = {
        QString(),
        QStringLiteral("%"),
        QStringLiteral("$"),
        QStringLiteral("-"),
        QStringLiteral(","),
        QStringLiteral("1e99999"),
        QStringLiteral("%1e-99999"),
        QStringLiteral("99999999999999999999:00"),
        QStringLiteral("1/1/99999"),
        QString(30000, QLatin1Char('9')) + QLatin1Char('x'),
        QString(30000, QLatin1Char(',')),
    };
    int row = 1;
    for (const QString &t : texts) {
        SCOPED_TRACE(t.left(20).toStdString());
        EXPECT_NO_THROW(b.F.SetCellString(row, 1, t, QString(), QString()));
        ++row;
    }
    EXPECT_EQ(VarType(b.F.GetCellValue(1, 1)), varEmpty);
    EXPECT_EQ(b.F.GetCellValue(6, 1).AsString(), QStringLiteral("1e99999"));
    EXPECT_EQ(b.F.GetCellValue(7, 1).AsDouble(), 0.0);

    // 100,000 characters of almost-number read in linear time.
    const QString huge = QString(50000, QLatin1Char('1')) + QString(50000, QLatin1Char(':'));
    const TTypedEntry e = ReadTypedEntry(huge, QString(), QString(), UsSettings());
    EXPECT_EQ(e.Kind, TTypedEntry::teText);
    EXPECT_EQ(e.Value.AsString(), huge);
    // More than a cell can hold: the store refuses it and the cell keeps what it had.
    b.F.SetCellValue(20, 1, 5.0);
    EXPECT_EQ(ole::MessageOf([&] { b.F.SetCellString(20, 1, huge, QString(), QString()); }),
              QStringLiteral("Invalid String record"));
    EXPECT_EQ(b.F.GetCellValue(20, 1).AsDouble(), 5.0);
}

TEST(FileValues, OffsetFormsCountFromTheColumnRangeOfADefinedName)
{
    NewBook b;
    TXlsNamedRange r;
    r.Name = QStringLiteral("Data");
    r.RangeFormula = QStringLiteral("=Sheet1!$C$2:$E$9");
    b.F.AddRange(r);
    b.F.SetBounds(1);
    EXPECT_EQ(b.F.FirstColumn, 2);
    EXPECT_EQ(b.F.LastColumn, 4);
    EXPECT_EQ(b.F.GetFirstColumn(), 3);

    b.F.AssignCellData(2, 0, 1.5);  // column C
    b.F.AssignCellDataX(2, 2, TXlsCellValue{QStringLiteral("e"), 21, false});  // column E
    EXPECT_EQ(b.F.GetCellValue(2, 3).AsDouble(), 1.5);
    EXPECT_EQ(b.F.GetCellDataX(2, 2).XF, 21);
    EXPECT_EQ(b.F.GetCellValueX(2, 5).Value.AsString(), QStringLiteral("e"));
    b.F.AssignBlockData(3, 1, 7.0);
    EXPECT_EQ(b.F.GetCellData(3, 1).AsDouble(), 7.0);
    EXPECT_EQ(b.F.GetCellValue(3, 4).AsDouble(), 7.0);

    EXPECT_EQ(b.F.CellCount(2), 3);
    EXPECT_EQ(b.F.CellCount(3), 3);
    EXPECT_EQ(b.F.CellCount(4), 0);  // beyond the stored rows
    EXPECT_EQ(b.F.CellCount(0), 0);
}

TEST(FileValues, RunPositionsAreOneBasedAtTheInterfaceAndTheCallersRunsShift)
{
    NewBook b;
    const int32_t bold = [&] {
        TWbFont f = b.F.GetFontList(0);
        f.Style = SetOfTWbFontStyle{flsBold};
        return b.F.AddFont(f);
    }();
    TRTFRunList runs = {{3, uint16_t(bold)}, {5, 0}};
    b.F.AssignCellValueX2(1, 1, TXlsCellValue{QStringLiteral("abcdef"), -1, false}, runs);
    EXPECT_EQ(runs, (TRTFRunList{{2, uint16_t(bold)}, {4, 0}}));

    TXlsCellValue v;
    TRTFRunList got;
    b.F.GetCellDataX2(1, 0, v, got);  // the store's own 0-based positions
    EXPECT_EQ(got, (TRTFRunList{{2, uint16_t(bold)}, {4, 0}}));
    b.F.GetCellValueX2(1, 1, v, got);
    EXPECT_EQ(v.Value.AsString(), QStringLiteral("abcdef"));
    EXPECT_EQ(got, (TRTFRunList{{3, uint16_t(bold)}, {5, 0}}));

    NewBook reopened;
    LoadBytes(reopened.F, SavedToMemory(b.F));
    reopened.F.GetCellValueX2(1, 1, v, got);
    EXPECT_EQ(got, (TRTFRunList{{3, uint16_t(bold)}, {5, 0}}));
}

TEST(FileValues, FormulasAndTheModifiedMark)
{
    NewBook b;
    EXPECT_FALSE(b.F.IsFileModified);
    b.F.SetCellFormulaX(1, 1, QStringLiteral("=1+2"), 3.0);
    EXPECT_FALSE(b.F.IsFileModified);
    EXPECT_EQ(b.F.GetCellFormula(1, 1), QStringLiteral("=1+2"));
    EXPECT_EQ(b.F.GetCellValue(1, 1).AsDouble(), 3.0);
    EXPECT_TRUE(b.F.GetCellValueX(1, 1).IsFormula);

    b.F.SetCellFormula(2, 1, QStringLiteral("=A1*2"));
    EXPECT_TRUE(b.F.IsFileModified);
    EXPECT_EQ(b.F.GetCellFormula(2, 1), QStringLiteral("=A1*2"));
    EXPECT_EQ(b.F.GetCellFormula(3, 1), QString());

    b.F.IsFileModified = false;
    b.F.SetCellValue(3, 1, 1.0);
    EXPECT_TRUE(b.F.IsFileModified);
    b.F.IsFileModified = false;
    const TFormatSettings us = UsSettings();
    TFormatSettingsScope scope(us);
    b.F.SetCellString(3, 1, QStringLiteral("x"), QString(), QString());
    EXPECT_TRUE(b.F.IsFileModified);
}

TEST(FileValues, DatesFollowTheWorkbooksDateSystem)
{
    const TFormatSettings us = UsSettings();
    TFormatSettingsScope scope(us);
    NewBook b;
    b.F.SetOptions1904Dates(true);
    b.F.SetCellString(1, 1, QStringLiteral("3/4/2011"), QString(), QString());
    // The 1904 system counts 1462 days fewer.
    EXPECT_EQ(b.F.GetCellValue(1, 1).AsDouble(), 40606 - 1462);
}
