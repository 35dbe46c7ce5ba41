#pragma once
// What the formula encoder and decoder share: the BIFF8 built-in function table, the error
// literals, and numbers written and read with "." as decimal separator whatever the locale.
#include <QString>
#include <array>
#include <cstdint>

enum TFmReturnType : uint8_t { fmValue, fmRef, fmArray };

struct TCellFunctionData
{
    int32_t Index = 0;
    QString Name;
    int32_t MinArgCount = 0;
    int32_t MaxArgCount = 0;
    bool Volatile = false;
    TFmReturnType ReturnType = fmValue;
    // One letter per argument ("V", "R", "A"; "-" without arguments); the last one repeats.
    QString ParamType;
};

constexpr int32_t FunctionCount = 368;

// Entry i is built-in function number i; numbers without a worksheet function hold
// "NotAFunction<n>", whose mixed case no upper-cased formula name ever matches.
const std::array<TCellFunctionData, FunctionCount> &FuncNameArray();
// The entry whose Name equals UpperName exactly, or -1.
int32_t FindFunction(const QString &UpperName);
// The letter of argument k (0-based): the last letter serves every further argument; a
// function without letters gives 0.
QChar FunctionParamLetter(const TCellFunctionData &Func, int32_t k);

// Error codes and their literals as formulas write them.
struct TFormulaErrorText
{
    uint8_t Code;
    const char *Text;
};
extern const std::array<TFormulaErrorText, 7> FormulaErrorTexts;
// The literal of a code; "#TARVIX_UNKNOWN" for any other code.
QString FormulaErrorText(uint8_t Code);

QString FloatToInvariantText(double Value);
// Raises the run-time's EConvertError for a text that is no number.
double InvariantTextToFloat(const QString &Text);
