#pragma once
// Typed text entry: what a text typed into a cell stands for (a number with the format its
// percent, exponent or currency sign asks for, a boolean, a date or time, or the text itself),
// read with the locale's separators, currency and date and time formats.
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Variants.h"

#include <QString>

struct TTypedEntry
{
    enum TKind { teNumber, teBoolean, teDateTime, teText };
    TKind Kind = teText;
    // A double, a boolean, a date (varDate) or the text as typed, blanks kept.
    Variant Value;
    // The number format the cell takes; empty: the cell keeps its own.
    QString NumberFormat;
};

// Never raises: a text it cannot read is text.
TTypedEntry ReadTypedEntry(const QString &Text, const QString &DateFormat, const QString &TimeFormat,
                           const TFormatSettings &Settings);

// "$###,###.00_);[Red]\($###,###.00\)" and its kin, by the locale's currency placement.
QString CurrencyNumberFormat(bool WithDecimals, const TFormatSettings &Settings);

// A date in the order and separators of the short date format, a time h:mm or h:mm:ss with an
// optional AM/PM marker, or a date, blanks and a time; then only texts that cannot be plain
// numbers count. Format: DateFormat (or the short date format) for a date part, a blank, and
// TimeFormat (or the short time format, "AMPM" written "AM/PM") for a time part.
bool TryTypedDateTime(const QString &S, const QString &DateFormat, const QString &TimeFormat,
                      const TFormatSettings &Settings, double &Value, QString &Format);
