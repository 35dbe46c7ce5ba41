#include "framework/rtl/CodePage.h"
#include <array>

namespace {
// 0x80..0x9F; zero marks the bytes that Windows-1252 leaves unassigned.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline QChar decodeByte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return QChar(kHigh[b - 0x80]);
    return QChar(static_cast<char16_t>(b));
}
} // namespace

QString AnsiToString(const char *data, qsizetype len)
{
    QString out(len, Qt::Uninitialized);
    QChar *p = out.data();
    for (qsizetype i = 0; i < len; ++i)
        p[i] = decodeByte(static_cast<unsigned char>(data[i]));
    return out;
}

QString AnsiToString(const QByteArray &bytes) { return AnsiToString(bytes.constData(), bytes.size()); }

char CharToAnsi(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return static_cast<char>(0x80 + i);
    return '?';
}

QByteArray StringToAnsi(const QString &s)
{
    QByteArray out(s.size(), Qt::Uninitialized);
    char *p = out.data();
    const QChar *src = s.constData();
    for (qsizetype i = 0; i < s.size(); ++i)
        p[i] = CharToAnsi(src[i]);
    return out;
}

bool IsAnsiRepresentable(const QString &s)
{
    for (QChar c : s)
        if (CharToAnsi(c) == '?' && c != QLatin1Char('?'))
            return false;
    return true;
}
