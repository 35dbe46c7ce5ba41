#include "xlsAdapter/records/duzUXlsTypes.h"

#include "framework/rtl/Exceptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cmath>
#include <dlfcn.h>

namespace {

const char *const SCantFindFile = "Can't find the file \"%s\"";

// The first and one past the last day the date formatting accepts (years 1 .. 9999).
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTimeEnd = 2958466.0;

// The folder of the module (program or library) that holds this code.
QString ModuleFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&ModuleFolder), &info) == 0 || !info.dli_fname)
        return QString();
    return IncludeTrailingPathDelimiter(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath());
}

QString ProgramFolder()
{
    if (!QCoreApplication::instance())
        return QString();
    return IncludeTrailingPathDelimiter(QCoreApplication::applicationDirPath());
}

[[noreturn]] void CantFind(const QString &Name) { throw Exception(Format(QString::fromLatin1(SCantFindFile), {Name})); }

} // namespace

QString ColumnLetters(int32_t n)
{
    if (n <= 26)
        return QString(QChar(64 + n));
    return ColumnLetters((n - 1) / 26) + QChar(65 + (n - 1) % 26);
}

bool IsAbsolutePath(const QString &FileName)
{
    if (FileName.size() >= 2 && FileName[1] == QLatin1Char(':'))
        return true;
    return FileName.startsWith(QLatin1Char('\\')) || FileName.startsWith(PathDelim);
}

QString SearchTemplateFile(const QString &BasePath, const QString &FileName)
{
    if (IsAbsolutePath(FileName)) {
        if (FileExists(FileName))
            return FileName;
        CantFind(FileName);
    }
    const QString base = Trim(BasePath);
    if (!base.isEmpty()) {
        const QString full = IncludeTrailingPathDelimiter(base) + FileName;
        if (!FileExists(full))
            CantFind(full);
        return full;
    }
    for (const QString &folder : {ProgramFolder(), ModuleFolder()})
        if (!folder.isEmpty() && FileExists(folder + FileName))
            return folder + FileName;
    CantFind(FileName);
}

void EnsureAmPm(TFormatSettings &Settings)
{
    if (Settings.TimeAMString.isEmpty())
        Settings.TimeAMString = QStringLiteral("AM");
    if (Settings.TimePMString.isEmpty())
        Settings.TimePMString = QStringLiteral("PM");
}

const TFormatSettings &CachedFormatSettings()
{
    static thread_local TFormatSettings Cached = [] {
        TFormatSettings s = FormatSettings;
        return s;
    }();
    return Cached;
}

bool TextToFloatPoint(const QString &s, double &value)
{
    int code = 0;
    Val(s, value, code);
    return code == 0;
}

QString WideUpper(const QString &s)
{
    // Character by character, so that the result keeps the positions of the text ("ß" stays).
    QString r(s);
    for (QChar &c : r)
        c = c.toUpper();
    return r;
}

QString ReplaceOutsideQuotes(const QString &Text, const QString &Pattern, const QString &Replacement)
{
    const QString upText = WideUpper(Text);
    const QString upPattern = WideUpper(Pattern);
    QString result;
    result.reserve(Text.size() + 100);
    bool inQuote = false;
    qsizetype i = 0;
    while (i < Text.size()) {
        if (Text[i] == QLatin1Char('"'))
            inQuote = !inQuote;
        if (!inQuote && !upPattern.isEmpty() && QStringView(upText).mid(i).startsWith(upPattern)) {
            result += Replacement;
            i += upPattern.size();
            continue;
        }
        result += Text[i];
        ++i;
    }
    return result;
}

QString FormatDateTimeWb(const QString &Format, bool Is1904, const TFormatSettings &Settings, double Value)
{
    try {
        const double v = Is1904 ? Value + 1462 : Value;
        if (!std::isfinite(v) || v < MinDateTime || v >= MaxDateTimeEnd)
            throw EConvertError(QStringLiteral("Invalid date"));
        return FormatDateTime(Format, v, Settings);
    } catch (...) {
        return QStringLiteral("##");
    }
}

QString FormatDateTimeWb(const QString &Format, bool Is1904, double Value)
{
    return FormatDateTimeWb(Format, Is1904, FormatSettings, Value);
}

TXlsCellRange OffsetRange(const TXlsCellRange &Range, int32_t dRow, int32_t dCol)
{
    TXlsCellRange r = Range;
    r.Top += dRow;
    r.Bottom += dRow;
    r.Left += dCol;
    r.Right += dCol;
    return r;
}

void InitNamedRange(TXlsNamedRange &R)
{
    R.Name.clear();
    R.RangeFormula.clear();
    R.OptionFlags = 0;
    R.NameSheetIndex = 0;
}

QString VariantToText(const Variant &V) { return VarToStr(V); }
