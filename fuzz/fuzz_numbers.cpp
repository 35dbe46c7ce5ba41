// Number reading: TryStrToFloat agrees with the C library on every text of its grammar (an
// exponent out of range fails, as an overflow does); Val and LeadingReal stop at the first
// character that is not part of the number; numbers written by FloatToStr and IntToStr read
// back. Every call is linear in the text, which the run's time limit guards.
#include "fuzz/FuzzCommon.h"
#include "framework/rtl/SysUtils.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// True when the trimmed text has the grammar TryStrToFloat reads: sign, digits with at most one
// point (a digit at least), then "e", a sign and digits.
bool FloatGrammar(const QByteArray &t)
{
    qsizetype i = 0, n = t.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && t[i] >= '0' && t[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < n && (t[i] == '+' || t[i] == '-'))
        ++i;
    qsizetype d = digits();
    if (i < n && t[i] == '.') {
        ++i;
        d += digits();
    }
    if (d == 0)
        return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

void CheckFloatText(const QString &S)
{
    double v = 0;
    const bool ok = TryStrToFloat(S, v);
    const QByteArray t = Trim(S).toLatin1();
    const bool grammar = Trim(S).size() == t.size() && FloatGrammar(t) && !Trim(S).contains(QChar(0));
    FUZZ_CHECK(!ok || grammar, S);
    if (grammar) {
        errno = 0;
        const double c = std::strtod(t.constData(), nullptr);
        const bool overflow = errno == ERANGE && std::isinf(c);
        // The C library reads past DBL_MAX as infinity; 15 digits of DBL_MAX read as DBL_MAX.
        const long double wide = std::strtold(t.constData(), nullptr);
        const bool nearMax = std::fabs(wide) <= 1.79769313486232e308L;
        if (overflow && !nearMax)
            FUZZ_CHECK(!ok, S + QStringLiteral(" read as ") + QString::number(v, 'g', 17));
        else if (overflow)
            FUZZ_CHECK(ok && std::fabs(v) == DBL_MAX, S);
        else
            FUZZ_CHECK(ok && (v == c || (errno == ERANGE && std::fabs(c) < DBL_MIN && v == 0)),
                       S + QStringLiteral(": ") + QString::number(v, 'g', 17) + QStringLiteral(" vs ") + QString::number(c, 'g', 17));
    }
    if (ok) {
        const QString written = FloatToStr(v);
        double back = 0;
        FUZZ_CHECK(TryStrToFloat(written, back), written);
        FUZZ_CHECK(back == v || std::fabs(back - v) <= 1e-14 * std::fabs(v), written);
    }
}

void CheckVal(const QString &S)
{
    double v = 0;
    int code = -1;
    Val(S, v, code);
    FUZZ_CHECK(code >= 0 && code <= S.size() + 1, S);
    double part = 0;
    if (code == 0)
        FUZZ_CHECK(TryStrToFloat(S, part) && part == v, S);
    else if (code > 1)
        FUZZ_CHECK(TryStrToFloat(S.left(code - 1), part), S);
    LeadingReal(S);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size >= 8) {
        double d;
        std::memcpy(&d, Data, sizeof d);
        if (std::isfinite(d))
            CheckFloatText(FloatToStr(d));
        int32_t i;
        std::memcpy(&i, Data, sizeof i);
        FUZZ_CHECK(StrToInt(IntToStr(i)) == i, IntToStr(i));
    }
    const QString s = QString::fromLatin1(reinterpret_cast<const char *>(Data), qsizetype(Size));
    CheckFloatText(s);
    CheckVal(s);
    int32_t n = 0;
    if (TryStrToInt(s, n))
        FUZZ_CHECK(IntToStr(n) == s.trimmed() || StrToInt(IntToStr(n)) == n, s);
    return 0;
}
