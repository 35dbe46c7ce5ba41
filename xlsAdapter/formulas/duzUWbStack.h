#pragma once
// The small stacks of the formula decoder (texts) and encoder (pending whitespace).
#include "framework/rtl/Classes.h"

#include <QString>
#include <cstdint>
#include <vector>

class TStringStack : public TObject
{
public:
    virtual void Push(const QString &s);
    // Both raise "String Stack is empty" on an empty stack.
    void Peek(QString &s) const;
    void Pop(QString &s);
    int32_t Count() const { return FListCount; }
    bool AtLeast(int32_t ACount) const { return FListCount >= ACount; }

protected:
    std::vector<QString> FList;
    int32_t FListCount = 0;
};

// Whitespace read from attribute tokens waits here until the next text is pushed.
class TFormulaStack : public TStringStack
{
public:
    void Push(const QString &s) override;

    QString FmSpaces;
    QString FmPreSpaces;
    QString FmPostSpaces;
};

struct TWhiteSpace
{
    uint8_t Count = 0;
    // 0 before the next token, 2 before an opening parenthesis, 4 before a closing one.
    uint8_t Kind = 0;
};

class TWhiteSpaceStack : public TObject
{
public:
    void Push(const TWhiteSpace &ws);
    // Both raise "WhiteSpace Stack is empty" on an empty stack.
    void Peek(TWhiteSpace &ws) const;
    void Pop(TWhiteSpace &ws);
    int32_t Count() const { return FListCount; }
    bool AtLeast(int32_t ACount) const { return FListCount >= ACount; }

private:
    std::vector<TWhiteSpace> FList;
    int32_t FListCount = 0;
};
