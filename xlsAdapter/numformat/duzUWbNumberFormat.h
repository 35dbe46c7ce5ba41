#pragma once
// Cell values rendered through their number formats, as a spreadsheet user sees them: the
// section chosen by sign or condition, its colour, and numbers, dates, times, elapsed times and
// text with the section's placeholders and literals.
#include "framework/rtl/Variants.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct TResultCondition
{
    bool SupressNeg = false;     // the condition holds: show the value without its minus sign
    bool SupressNegComp = false; // the same for the complementary case
    bool Complement = false;     // the condition was false for the value
    bool Assigned = false;       // the section has a condition
};
using TResultConditionArray = std::vector<TResultCondition>;

// A format string parsed once, rendered for any number of values.
class TXlsNumberFormat
{
public:
    explicit TXlsNumberFormat(const QString &Format);
    ~TXlsNumberFormat();
    TXlsNumberFormat(const TXlsNumberFormat &) = delete;
    TXlsNumberFormat &operator=(const TXlsNumberFormat &) = delete;

    // Color (a TColor, 0x00BBGGRR) changes only when the chosen section names a colour; HasDate and
    // HasTime are set when a date or a time part was used, never cleared.
    void Render(const Variant &Value, bool Dates1904, int32_t &Color, bool &HasDate, bool &HasTime,
                QString &Result) const;

    struct TParsed;

private:
    std::unique_ptr<TParsed> p_;
};

// The parsed form of Format, kept for this thread's later calls.
std::shared_ptr<const TXlsNumberFormat> ParsedXlsFormat(const QString &Format);

QString XlsFormatValue(const Variant &Value, const QString &Format, bool Dates1904, int32_t &Color);
// HasDate and HasTime start false.
void XlsFormatValueExt(const Variant &Value, const QString &Format, bool Dates1904, int32_t &Color,
                       bool &HasDate, bool &HasTime, QString &Result);
// Whether Format shows a date or a time part (the integer 10 rendered with it).
bool HasXlsDateTime(const QString &Format, bool &HasDate, bool &HasTime);
