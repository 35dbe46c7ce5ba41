#pragma once
// Conversions, formatting, string helpers, dates and file-system routines.
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Types.h"
#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <type_traits>

// ---------------------------------------------------------------------------------------------
// Locale settings used by every conversion; tests may change them.

struct TFormatSettings
{
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QChar ListSeparator = QLatin1Char(',');
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, MMMM d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
    QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QString CurrencyString = QStringLiteral("$");
    uint8_t CurrencyFormat = 0;   // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    uint8_t NegCurrFormat = 0;    // 0 "($1)" ... 15 "(1 $)"
    uint8_t CurrencyDecimals = 2;
    int TwoDigitYearCenturyWindow = 50;
    // Index 1..12 and 1..7 (Sunday first); index 0 is unused.
    std::array<QString, 13> ShortMonthNames{{QString(), "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                             "Aug", "Sep", "Oct", "Nov", "Dec"}};
    std::array<QString, 13> LongMonthNames{{QString(), "January", "February", "March", "April", "May",
                                            "June", "July", "August", "September", "October",
                                            "November", "December"}};
    std::array<QString, 8> ShortDayNames{{QString(), "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}};
    std::array<QString, 8> LongDayNames{{QString(), "Sunday", "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"}};
};

extern TFormatSettings FormatSettings;

// The settings the conversions use: FormatSettings, or those given to a call that takes them.
const TFormatSettings &ActiveFormatSettings();

// Makes the conversions of this thread use Settings while it lives.
class TFormatSettingsScope
{
public:
    explicit TFormatSettingsScope(const TFormatSettings &Settings);
    ~TFormatSettingsScope();
    TFormatSettingsScope(const TFormatSettingsScope &) = delete;
    TFormatSettingsScope &operator=(const TFormatSettingsScope &) = delete;

private:
    const TFormatSettings *saved_;
};

// ---------------------------------------------------------------------------------------------
// Integers

QString IntToStr(int32_t Value);
QString IntToStr(int64_t Value);
QString UIntToStr(uint64_t Value);
// Other integer types (sizes, counts, unsigned values) without ambiguity.
template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, int32_t> &&
             !std::is_same_v<T, int64_t>)
QString IntToStr(T Value)
{
    if constexpr (std::is_signed_v<T>)
        return IntToStr(static_cast<int64_t>(Value));
    else
        return UIntToStr(static_cast<uint64_t>(Value));
}
// Upper-case hex, zero-padded to at least Digits.
QString IntToHex(int64_t Value, int Digits);
// Decimal with optional sign and leading blanks, or hex after '$' or "0x". Raises EConvertError.
int32_t StrToInt(const QString &S);
int64_t StrToInt64(const QString &S);
int32_t StrToIntDef(const QString &S, int32_t Default);
int64_t StrToInt64Def(const QString &S, int64_t Default);
bool TryStrToInt(const QString &S, int32_t &Value);
bool TryStrToInt64(const QString &S, int64_t &Value);

// ---------------------------------------------------------------------------------------------
// Floating point

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// A decimal image of a value: Digits (no trailing zeros) times 10^Exponent as 0.ddd; empty
// Digits mean zero.
struct TFloatRec
{
    int Exponent = 0;
    bool Negative = false;
    QByteArray Digits;
    bool Nan = false;
    bool Inf = false;
};

// Rounds once, half away from zero, at Precision significant digits or Decimals decimals,
// whichever comes first, working from the value's 18 leading decimal digits.
void FloatToDecimal(TFloatRec &Result, double Value, int Precision, int Decimals);

QString FloatToStr(double Value);
QString FloatToStr(double Value, const TFormatSettings &Settings);
QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings &Settings);
// Delphi-style picture formats: "0.00", "#,##0.###", "0.00E+00", sections "pos;neg;zero".
QString FormatFloat(const QString &Format, double Value);
QString FormatFloat(const QString &Format, double Value, const TFormatSettings &Settings);
QString CurrToStr(double Value);

// Optional sign, digits with the decimal separator, optional exponent; blanks around allowed.
double StrToFloat(const QString &S);
double StrToFloat(const QString &S, const TFormatSettings &Settings);
double StrToFloatDef(const QString &S, double Default);
bool TryStrToFloat(const QString &S, double &Value);
bool TryStrToFloat(const QString &S, double &Value, const TFormatSettings &Settings);
// The plain conversion with a point as decimal separator, whatever the settings: Code is 0
// when all of S converted, otherwise the 1-based position of the first character that did not.
void Val(const QString &S, double &Value, int &Code);

// ---------------------------------------------------------------------------------------------
// Format

// One argument of Format, like an element of an "array of const".
struct TVarRec
{
    enum Kind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer, vtBoolean };
    Kind VType;
    int64_t I = 0;
    double E = 0;
    QString S;
    const void *P = nullptr;

    TVarRec(int v) : VType(vtInteger), I(v) {}
    TVarRec(unsigned v) : VType(vtInt64), I(v) {}
    TVarRec(long v) : VType(vtInt64), I(v) {}
    TVarRec(unsigned long v) : VType(vtInt64), I(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : VType(vtInt64), I(v) {}
    TVarRec(unsigned long long v) : VType(vtInt64), I(static_cast<int64_t>(v)) {}
    TVarRec(double v) : VType(vtExtended), E(v) {}
    TVarRec(float v) : VType(vtExtended), E(v) {}
    TVarRec(const QString &v) : VType(vtString), S(v) {}
    TVarRec(const char *v) : VType(vtString), S(QString::fromUtf8(v)) {}
    TVarRec(QLatin1String v) : VType(vtString), S(v) {}
    TVarRec(QStringView v) : VType(vtString), S(v.toString()) {}
    TVarRec(QChar v) : VType(vtChar), S(v) {}
    TVarRec(bool v) : VType(vtBoolean), I(v) {}
    TVarRec(const void *v) : VType(vtPointer), P(v) {}
};

// %[index:][-][width][.precision]type with types d u e f g n m p s x (case-insensitive);
// width and precision may be '*'. Raises EConvertError on a bad format or argument.
QString Format(const QString &Fmt, std::initializer_list<TVarRec> Args);

// ---------------------------------------------------------------------------------------------
// Strings (positions are 1-based)

QString Trim(const QString &S);
QString TrimLeft(const QString &S);
QString TrimRight(const QString &S);
QString UpperCase(const QString &S);
QString LowerCase(const QString &S);
QString AnsiUpperCase(const QString &S);
QString AnsiLowerCase(const QString &S);
int CompareStr(const QString &S1, const QString &S2);
int CompareText(const QString &S1, const QString &S2);
bool SameText(const QString &S1, const QString &S2);
bool SameStr(const QString &S1, const QString &S2);
int AnsiCompareStr(const QString &S1, const QString &S2);
int AnsiCompareText(const QString &S1, const QString &S2);
bool AnsiSameText(const QString &S1, const QString &S2);
QString QuotedStr(const QString &S);
QString AnsiQuotedStr(const QString &S, QChar Quote);
// Removes the quotes and undoubles inner ones; returns S unchanged when it does not start with Quote.
QString AnsiDequotedStr(const QString &S, QChar Quote);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
QString StringReplace(const QString &S, const QString &OldPattern, const QString &NewPattern,
                      TReplaceFlags Flags);

int Pos(const QString &SubStr, const QString &S, int Offset = 1);
inline int AnsiPos(const QString &SubStr, const QString &S) { return Pos(SubStr, S); }
QString Copy(const QString &S, int Index, int Count);
void Delete(QString &S, int Index, int Count);
void Insert(const QString &Source, QString &S, int Index);
QString StringOfChar(QChar Ch, int Count);
// CR LF and lone CR become LF, the one line break Qt's text widgets use.
QString LfLineBreaks(const QString &S);

QString BoolToStr(bool B, bool UseBoolStrs = false);
// Accepts "True"/"False" (any case) and numbers (non-zero is true). Raises EConvertError.
bool StrToBool(const QString &S);
bool TryStrToBool(const QString &S, bool &Value);

// ---------------------------------------------------------------------------------------------
// Dates and times: days since 1899-12-30, the fraction is the time of day.

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;

bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime &Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime &Time);
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
void DecodeDate(TDateTime Date, Word &Year, Word &Month, Word &Day);
void DecodeTime(TDateTime Time, Word &Hour, Word &Min, Word &Sec, Word &MSec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime Date);
TDateTime Now();
TDateTime Date();
TDateTime Time();
// Milliseconds since the system started, wrapping at 2^32.
uint32_t GetTickCount();
// The source GetTickCount reads; an empty function brings back the real clock. For tests.
void SetTickCountSource(std::function<uint32_t()> Source);

// Adds months; the day is cut to the length of the month it lands in.
TDateTime IncMonth(TDateTime Date, int NumberOfMonths = 1);

QString FormatDateTime(const QString &Format, TDateTime DateTime);
QString FormatDateTime(const QString &Format, TDateTime DateTime, const TFormatSettings &Settings);
QString DateToStr(TDateTime Date);
QString TimeToStr(TDateTime Time);
QString DateTimeToStr(TDateTime DateTime);
TDateTime StrToDate(const QString &S);
TDateTime StrToDate(const QString &S, const TFormatSettings &Settings);
TDateTime StrToTime(const QString &S);
TDateTime StrToTime(const QString &S, const TFormatSettings &Settings);
TDateTime StrToDateTime(const QString &S);
bool TryStrToDate(const QString &S, TDateTime &Value);
bool TryStrToTime(const QString &S, TDateTime &Value);
bool TryStrToDateTime(const QString &S, TDateTime &Value);

// ---------------------------------------------------------------------------------------------
// Files and folders ('/' separates path components)

constexpr QChar PathDelim = QLatin1Char('/');

bool FileExists(const QString &FileName);
bool DirectoryExists(const QString &Directory);
bool CreateDir(const QString &Dir);
bool ForceDirectories(const QString &Dir);
bool RemoveDir(const QString &Dir);
bool DeleteFile(const QString &FileName);
bool RenameFile(const QString &OldName, const QString &NewName);
QString ExpandFileName(const QString &FileName);
QString ExtractFileName(const QString &FileName);
QString ExtractFilePath(const QString &FileName);
QString ExtractFileDir(const QString &FileName);
QString ExtractFileExt(const QString &FileName);
QString ChangeFileExt(const QString &FileName, const QString &Extension);
QString IncludeTrailingPathDelimiter(const QString &S);
QString ExcludeTrailingPathDelimiter(const QString &S);
QString GetCurrentDir();
// Raises EInOutError when the folder cannot be entered.
void SetCurrentDir(const QString &Dir);
// Seconds since the epoch of the file's last change, -1 when it does not exist.
int64_t FileAge(const QString &FileName);
// The file's last change as a local date and time; false when it does not exist.
bool FileAge(const QString &FileName, TDateTime &FileDateTime);
int64_t FileGetSize(const QString &FileName);

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

struct TSearchRec
{
    QString Name;
    int64_t Size = 0;
    int Attr = 0;
    TDateTime TimeStamp = 0;
    // Search state.
    QStringList Pending;
    QString Folder;
    int Include = 0;
};

// 0 on success, non-zero when nothing (more) matches. Masks are case-insensitive wildcards.
int FindFirst(const QString &Path, int Attr, TSearchRec &F);
int FindNext(TSearchRec &F);
void FindClose(TSearchRec &F);
