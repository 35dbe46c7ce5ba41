#include "xlsAdapter/formulas/duzUWbStack.h"

#include "framework/rtl/Exceptions.h"

namespace {

const char *const SStringStackEmpty = "String Stack is empty";
const char *const SWhiteSpaceStackEmpty = "WhiteSpace Stack is empty";

[[noreturn]] void Empty(const char *Msg) { throw Exception(QString::fromLatin1(Msg)); }

} // namespace

void TStringStack::Push(const QString &s)
{
    if (FListCount >= int32_t(FList.size()))
        FList.resize(FList.size() + 10);
    FList[size_t(FListCount++)] = s;
}

void TStringStack::Peek(QString &s) const
{
    if (FListCount <= 0)
        Empty(SStringStackEmpty);
    s = FList[size_t(FListCount - 1)];
}

void TStringStack::Pop(QString &s)
{
    if (FListCount <= 0)
        Empty(SStringStackEmpty);
    s = std::move(FList[size_t(--FListCount)]);
    FList[size_t(FListCount)] = QString();
}

void TFormulaStack::Push(const QString &s)
{
    TStringStack::Push(s);
    FmSpaces.clear();
    FmPreSpaces.clear();
    FmPostSpaces.clear();
}

void TWhiteSpaceStack::Push(const TWhiteSpace &ws)
{
    if (FListCount >= int32_t(FList.size()))
        FList.resize(FList.size() + 10);
    FList[size_t(FListCount++)] = ws;
}

void TWhiteSpaceStack::Peek(TWhiteSpace &ws) const
{
    if (FListCount <= 0)
        Empty(SWhiteSpaceStackEmpty);
    ws = FList[size_t(FListCount - 1)];
}

void TWhiteSpaceStack::Pop(TWhiteSpace &ws)
{
    if (FListCount <= 0)
        Empty(SWhiteSpaceStackEmpty);
    ws = FList[size_t(--FListCount)];
}
