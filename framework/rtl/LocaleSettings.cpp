#include "framework/rtl/LocaleSettings.h"
#include <QLocale>

namespace {

struct TLocaleName
{
    uint16_t Id;
    const char *Name;
};

const TLocaleName LocaleNames[] = {
    {0x0401, "ar_SA"}, {0x0402, "bg_BG"}, {0x0403, "ca_ES"}, {0x0404, "zh_TW"}, {0x0405, "cs_CZ"},
    {0x0406, "da_DK"}, {0x0407, "de_DE"}, {0x0408, "el_GR"}, {0x0409, "en_US"}, {0x040A, "es_ES"},
    {0x040B, "fi_FI"}, {0x040C, "fr_FR"}, {0x040D, "he_IL"}, {0x040E, "hu_HU"}, {0x040F, "is_IS"},
    {0x0410, "it_IT"}, {0x0411, "ja_JP"}, {0x0412, "ko_KR"}, {0x0413, "nl_NL"}, {0x0414, "nb_NO"},
    {0x0415, "pl_PL"}, {0x0416, "pt_BR"}, {0x0418, "ro_RO"}, {0x0419, "ru_RU"}, {0x041A, "hr_HR"},
    {0x041B, "sk_SK"}, {0x041D, "sv_SE"}, {0x041E, "th_TH"}, {0x041F, "tr_TR"}, {0x0421, "id_ID"},
    {0x0422, "uk_UA"}, {0x0424, "sl_SI"}, {0x0425, "et_EE"}, {0x0426, "lv_LV"}, {0x0427, "lt_LT"},
    {0x0804, "zh_CN"}, {0x0807, "de_CH"}, {0x0809, "en_GB"}, {0x080A, "es_MX"}, {0x080C, "fr_BE"},
    {0x0810, "it_CH"}, {0x0813, "nl_BE"}, {0x0816, "pt_PT"}, {0x0C07, "de_AT"}, {0x0C09, "en_AU"},
    {0x0C0A, "es_ES"}, {0x0C0C, "fr_CA"}, {0x1009, "en_CA"}, {0x100C, "fr_CH"}, {0x1409, "en_NZ"},
    {0x1809, "en_IE"}, {0x1C09, "en_ZA"}, {0x4009, "en_IN"},
};

// Qt's date and time patterns in the run-time's letters: M is the month, m the minute (n),
// H the 24-hour clock, AP the marker; the time zone (t) has no counterpart.
QString RunTimePattern(const QString &Qt)
{
    QString out;
    for (qsizetype i = 0; i < Qt.size(); ++i) {
        const QChar c = Qt[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype close = Qt.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? Qt.size() : close;
            out += QLatin1Char('"') + Qt.mid(i + 1, end - i - 1) + QLatin1Char('"');
            i = end;
        } else if (c == QLatin1Char('M')) {
            out += QLatin1Char('m');
        } else if (c == QLatin1Char('m')) {
            out += QLatin1Char('n');
        } else if (c == QLatin1Char('H')) {
            out += QLatin1Char('h');
        } else if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
            if (i + 1 < Qt.size() && (Qt[i + 1] == QLatin1Char('P') || Qt[i + 1] == QLatin1Char('p')))
                ++i;
            out += QStringLiteral("AMPM");
        } else if (c == QLatin1Char('t')) {
            while (i + 1 < Qt.size() && Qt[i + 1] == QLatin1Char('t'))
                ++i;
        } else {
            out += c;
        }
    }
    return out.trimmed();
}

// The first character of a numeric pattern that is neither a letter, a blank nor a quote.
QChar SeparatorOf(const QString &Pattern, QChar Default)
{
    for (QChar c : Pattern)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\'') && c != QLatin1Char('"'))
            return c;
    return Default;
}

} // namespace

bool GetLocaleFormatSettings(uint32_t LocaleId, TFormatSettings &Settings)
{
    const uint16_t id = static_cast<uint16_t>(LocaleId & 0xFFFF);
    const char *name = nullptr;
    for (const TLocaleName &l : LocaleNames)
        if (l.Id == id)
            name = l.Name;
    if (!name)
        return false;
    const QLocale loc(QString::fromLatin1(name));
    TFormatSettings s = Settings;
    s.DecimalSeparator = loc.decimalPoint().at(0);
    const QString group = loc.groupSeparator();
    s.ThousandSeparator = group.isEmpty() ? QChar(QLatin1Char(' ')) : group.at(0);
    s.ShortDateFormat = RunTimePattern(loc.dateFormat(QLocale::ShortFormat));
    s.LongDateFormat = RunTimePattern(loc.dateFormat(QLocale::LongFormat));
    s.ShortTimeFormat = RunTimePattern(loc.timeFormat(QLocale::ShortFormat));
    s.LongTimeFormat = RunTimePattern(loc.timeFormat(QLocale::LongFormat));
    s.DateSeparator = SeparatorOf(loc.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
    s.TimeSeparator = SeparatorOf(loc.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    s.TimeAMString = loc.amText();
    s.TimePMString = loc.pmText();
    s.CurrencyString = loc.currencySymbol();
    for (int m = 1; m <= 12; ++m) {
        s.ShortMonthNames[m] = loc.monthName(m, QLocale::ShortFormat);
        s.LongMonthNames[m] = loc.monthName(m, QLocale::LongFormat);
    }
    // Sunday first here, Monday first in Qt.
    for (int d = 1; d <= 7; ++d) {
        const int qtDay = d == 1 ? 7 : d - 1;
        s.ShortDayNames[d] = loc.dayName(qtDay, QLocale::ShortFormat);
        s.LongDayNames[d] = loc.dayName(qtDay, QLocale::LongFormat);
    }
    Settings = s;
    return true;
}
