// The built-in function table, numbers as invariant text and the formula stacks.
#include "FormulaFixture.h"
#include "tests/common/TestSupport.h"
#include "xlsAdapter/formulas/duzUWbStack.h"
#include "xlsAdapter/duzXlsFormulaMessages.h"

#include <gtest/gtest.h>

#include <set>

using namespace fml;

namespace {

// Numbers without a worksheet function in BIFF8.
std::set<int> Placeholders()
{
    const std::pair<int, int> ranges[] = {{53, 55},   {79, 81},   {84, 85},   {87, 96},   {103, 104}, {106, 108},
                                          {110, 110}, {122, 123}, {132, 139}, {145, 147}, {149, 161}, {166, 166},
                                          {170, 182}, {185, 188}, {191, 192}, {200, 203}, {217, 218}, {223, 226},
                                          {236, 243}, {245, 246}, {248, 251}, {253, 260}, {262, 268}, {333, 335},
                                          {338, 341}, {348, 349}, {355, 357}};
    std::set<int> r;
    for (const auto &[a, b] : ranges)
        for (int i = a; i <= b; ++i)
            r.insert(i);
    return r;
}

} // namespace

TEST(FunctionTable, PlaceholdersAndFunctions)
{
    const auto &t = FuncNameArray();
    const std::set<int> ph = Placeholders();
    ASSERT_EQ(ph.size(), 121u);
    for (int i = 0; i < FunctionCount; ++i) {
        const TCellFunctionData &f = t[size_t(i)];
        EXPECT_EQ(f.Index, i);
        if (ph.count(i)) {
            EXPECT_EQ(f.Name, QStringLiteral("NotAFunction%1").arg(i));
            EXPECT_EQ(f.MinArgCount, 0);
            EXPECT_EQ(f.MaxArgCount, 0);
            EXPECT_TRUE(f.ParamType.isEmpty());
            EXPECT_EQ(f.ReturnType, fmValue);
            EXPECT_FALSE(f.Volatile);
        } else {
            EXPECT_EQ(f.Name, f.Name.toUpper()) << i;
            EXPECT_LE(f.MinArgCount, f.MaxArgCount) << i;
            EXPECT_LE(f.MaxArgCount, 30) << i;
            EXPECT_FALSE(f.ParamType.isEmpty()) << i;
        }
    }
}

TEST(FunctionTable, Entries)
{
    const struct
    {
        int index;
        const char *name;
        int min, max;
        const char *params;
        TFmReturnType ret;
    } cases[] = {{0, "COUNT", 0, 30, "R", fmValue},      {1, "IF", 2, 3, "VRR", fmRef},
                 {4, "SUM", 0, 30, "R", fmValue},        {19, "PI", 0, 0, "-", fmValue},
                 {29, "INDEX", 2, 4, "RVVV", fmRef},     {49, "LINEST", 1, 4, "RRVV", fmArray},
                 {100, "CHOOSE", 2, 30, "VR", fmRef},    {165, "MMULT", 2, 2, "AA", fmArray},
                 {222, "VDB", 5, 7, "VVVVVVV", fmValue}, {252, "FREQUENCY", 2, 2, "RR", fmArray},
                 {261, "ERROR.TYPE", 1, 1, "V", fmValue}, {344, "SUBTOTAL", 2, 30, "VR", fmValue},
                 {358, "GETPIVOTDATA", 2, 30, "V", fmValue}, {367, "VARA", 1, 30, "R", fmValue}};
    for (const auto &c : cases) {
        const TCellFunctionData &f = FuncNameArray()[size_t(c.index)];
        EXPECT_EQ(f.Name, QLatin1String(c.name));
        EXPECT_EQ(f.MinArgCount, c.min) << c.name;
        EXPECT_EQ(f.MaxArgCount, c.max) << c.name;
        EXPECT_EQ(f.ParamType, QLatin1String(c.params)) << c.name;
        EXPECT_EQ(f.ReturnType, c.ret) << c.name;
        EXPECT_EQ(FindFunction(QLatin1String(c.name)), c.index);
    }

    // Exactly these are volatile; these return arrays or references.
    std::set<int> vol, arrays, refs;
    for (const TCellFunctionData &f : FuncNameArray()) {
        if (f.Volatile)
            vol.insert(f.Index);
        if (f.ReturnType == fmArray)
            arrays.insert(f.Index);
        if (f.ReturnType == fmRef)
            refs.insert(f.Index);
    }
    EXPECT_EQ(vol, (std::set<int>{63, 74, 78, 125, 148, 221}));
    EXPECT_EQ(arrays, (std::set<int>{49, 50, 51, 52, 83, 164, 165, 252}));
    EXPECT_EQ(refs, (std::set<int>{1, 29, 78, 100, 148}));
}

TEST(FunctionTable, ParameterLetters)
{
    const TCellFunctionData &subtotal = FuncNameArray()[344];
    EXPECT_EQ(FunctionParamLetter(subtotal, 0), QLatin1Char('V'));
    EXPECT_EQ(FunctionParamLetter(subtotal, 1), QLatin1Char('R'));
    EXPECT_EQ(FunctionParamLetter(subtotal, 5), QLatin1Char('R'));
    EXPECT_EQ(FunctionParamLetter(FuncNameArray()[1], 2), QLatin1Char('R'));
    EXPECT_EQ(FunctionParamLetter(FuncNameArray()[53], 0), QChar());

    // Placeholder names are never found: formula names are upper-cased.
    EXPECT_EQ(FindFunction(QStringLiteral("NOTAFUNCTION53")), -1);
    EXPECT_EQ(FindFunction(QStringLiteral("sum")), -1);
    FakeCellList cells;
    EXPECT_EQ(MessageOf([&] { Encode(QStringLiteral("=NotAFunction53()"), &cells); }),
              "Function not found: \"NOTAFUNCTION53\" on formula \"=NotAFunction53()\"");
}

TEST(InvariantText, IgnoresTheLocaleSeparators)
{
    TFormatSettings fs;
    fs.DecimalSeparator = QLatin1Char(',');
    fs.ThousandSeparator = QLatin1Char('.');
    TFormatSettingsScope scope(fs);
    EXPECT_EQ(FloatToInvariantText(1234.5), "1234.5");
    EXPECT_EQ(InvariantTextToFloat(QStringLiteral("1234.5")), 1234.5);
    EXPECT_EQ(FloatToInvariantText(-0.001), "-0.001");
    EXPECT_EQ(InvariantTextToFloat(QStringLiteral("2.5E-3")), 0.0025);
    EXPECT_THROW(InvariantTextToFloat(QStringLiteral("1.2.3")), EConvertError);
}

TEST(InvariantText, DefaultSettings)
{
    EXPECT_EQ(FloatToInvariantText(0.5), "0.5");
    EXPECT_EQ(FloatToInvariantText(65536), "65536");
    EXPECT_EQ(FloatToInvariantText(1e-6), "1E-6");
    EXPECT_EQ(InvariantTextToFloat(QStringLiteral("1E-6")), 1e-6);
}

TEST(FormulaStacks, PushPopAndEmpty)
{
    TStringStack s;
    QString v;
    EXPECT_EQ(MessageOf([&] { s.Pop(v); }), "String Stack is empty");
    EXPECT_EQ(MessageOf([&] { s.Peek(v); }), "String Stack is empty");
    for (int i = 0; i < 25; ++i)
        s.Push(QString::number(i));
    EXPECT_EQ(s.Count(), 25);
    EXPECT_TRUE(s.AtLeast(25));
    EXPECT_FALSE(s.AtLeast(26));
    s.Peek(v);
    EXPECT_EQ(v, "24");
    for (int i = 24; i >= 0; --i) {
        s.Pop(v);
        EXPECT_EQ(v, QString::number(i));
    }
    EXPECT_EQ(s.Count(), 0);

    TFormulaStack f;
    f.FmSpaces = QStringLiteral(" ");
    f.FmPreSpaces = QStringLiteral("  ");
    f.FmPostSpaces = QStringLiteral("   ");
    f.Push(QStringLiteral("x"));
    EXPECT_TRUE(f.FmSpaces.isEmpty() && f.FmPreSpaces.isEmpty() && f.FmPostSpaces.isEmpty());

    TWhiteSpaceStack w;
    TWhiteSpace ws;
    EXPECT_EQ(MessageOf([&] { w.Pop(ws); }), "WhiteSpace Stack is empty");
    EXPECT_EQ(MessageOf([&] { w.Peek(ws); }), "WhiteSpace Stack is empty");
    for (int i = 0; i < 12; ++i)
        w.Push({uint8_t(i), 4});
    w.Pop(ws);
    EXPECT_EQ(ws.Count, 11);
    EXPECT_EQ(ws.Kind, 4);
    EXPECT_EQ(w.Count(), 11);
}
