// Typed text entry: the input's texts (cells split at 0x1F; the first byte picks the locale and
// whether the next two cells are the date and time formats) typed into a new workbook. Reading
// never raises; a text the file cannot hold may be refused and leaves its cell as it was. What
// was stored, saved and reopened, reads back with the same value and number format.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzWorkbook.h"
#include "framework/rtl/SysUtils.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/file/duzUXlsFile.h"
#include "xlsAdapter/file/duzUXlsTypedEntry.h"

#include <cstring>

namespace {

TFormatSettings Locale(uint8_t Pick)
{
    TFormatSettings s;
    switch (Pick % 4) {
    case 1: // day first, comma decimals, euro after the number
        s.DecimalSeparator = QLatin1Char(',');
        s.ThousandSeparator = QLatin1Char('.');
        s.DateSeparator = QLatin1Char('.');
        s.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
        s.ShortTimeFormat = QStringLiteral("hh:mm");
        s.CurrencyString = QStringLiteral("€");
        s.CurrencyFormat = 3;
        s.NegCurrFormat = 8;
        break;
    case 2: // points for dates and times, blanks for thousands
        s.DecimalSeparator = QLatin1Char(',');
        s.ThousandSeparator = QLatin1Char(' ');
        s.DateSeparator = QLatin1Char('.');
        s.TimeSeparator = QLatin1Char('.');
        s.ShortDateFormat = QStringLiteral("d/M/yyyy");
        s.ShortTimeFormat = QStringLiteral("H.mm");
        s.CurrencyString = QStringLiteral("kr");
        s.CurrencyFormat = 1;
        s.NegCurrFormat = 5;
        break;
    case 3: // year first, month names
        s.ShortDateFormat = QStringLiteral("yyyy-MMM-dd");
        s.DateSeparator = QLatin1Char('-');
        s.CurrencyString = QString();
        break;
    default:
        break;
    }
    return s;
}

bool SameValue(const Variant &a, const Variant &b)
{
    if (VarType(a) == varUString || VarType(b) == varUString)
        return VarType(a) == VarType(b) && a.AsString() == b.AsString();
    if (VarType(a) == varBoolean || VarType(b) == varBoolean)
        return VarType(a) == VarType(b) && a.AsBoolean() == b.AsBoolean();
    if (VarType(a) == varEmpty || VarType(b) == varEmpty)
        return VarType(a) == VarType(b);
    const double x = a.AsDouble(), y = b.AsDouble();
    return std::memcmp(&x, &y, sizeof x) == 0 || (x == 0 && y == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size == 0)
        return 0;
    const TFormatSettings settings = Locale(Data[0]);
    TFormatSettingsScope scope(settings);
    const std::vector<QStringList> cells = FuzzCells(Data + 1, Size - 1, 1, 10);
    QStringList texts = cells.front();
    QString dateFormat, timeFormat;
    if ((Data[0] & 4) && texts.size() >= 2) {
        dateFormat = texts.takeFirst().left(40);
        timeFormat = texts.takeFirst().left(40);
    }

    TXLSFile F(nullptr);
    F.Connect();
    F.NewFile(1);
    for (int i = 0; i < texts.size(); ++i) {
        TTypedEntry e;
        try {
            e = ReadTypedEntry(texts[i], dateFormat, timeFormat, settings);
        } catch (const Exception &x) {
            FuzzFail("reading raised", x.Message());
        }
        try {
            F.SetCellString(i + 1, 1, texts[i], dateFormat, timeFormat);
        } catch (const Exception &) {
            // Only a text too long for a cell is refused, and its cell stays empty.
            FUZZ_CHECK(e.Kind == TTypedEntry::teText, texts[i]);
            FUZZ_CHECK(VarType(F.GetCellValue(i + 1, 1)) == varEmpty, texts[i]);
        }
    }

    const QByteArray saved = FuzzSavedWorkbook(F);
    TXLSFile Again(nullptr);
    Again.Connect();
    try {
        auto m = ole::MemStream(saved);
        Again.LoadFromStream(m.get());
    } catch (const Exception &x) {
        FuzzFail("saved file did not open", x.Message());
    }
    for (int i = 1; i <= texts.size(); ++i) {
        const QString &t = texts[i - 1];
        FUZZ_CHECK(SameValue(F.GetCellValue(i, 1), Again.GetCellValue(i, 1)), t);
        FUZZ_CHECK(F.GetFormatList(F.GetCellFormat(i, 1)).Format == Again.GetFormatList(Again.GetCellFormat(i, 1)).Format,
                   t + QStringLiteral(" -> ") + F.GetFormatList(F.GetCellFormat(i, 1)).Format);
    }
    Again.Disconnect();
    F.Disconnect();
    return 0;
}
