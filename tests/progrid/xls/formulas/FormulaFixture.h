#pragma once
// A cell list with a few sheets, two defined names, its EXTERNSHEET entries and some array and
// table formulas, and the byte helpers of the formula tests.
#include "tests/progrid/xls/compound/OleFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/formulas/duzUXlsFormulaParser.h"

#include <QStringList>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace fml {

class FakeCellList : public IFormulaCellList
{
public:
    QStringList Sheets{QStringLiteral("Sheet1"), QStringLiteral("Sheet2"), QStringLiteral("Data 2010")};
    QStringList Names{QStringLiteral("MyName"), QStringLiteral("Total")};
    std::vector<std::pair<int32_t, int32_t>> ExternSheets;
    std::map<std::pair<int32_t, int32_t>, ByteArray> Arrays;
    std::map<std::pair<int32_t, int32_t>, ByteArray> Tables;

    QString GetName(int32_t ExternSheet, int32_t NameId) override
    {
        (void)ExternSheet;
        if (NameId < 0 || NameId >= Names.size())
            throw Exception(QStringLiteral("no name %1").arg(NameId));
        return Names[NameId];
    }
    QString GetSheetName(int32_t SheetNumber) override
    {
        if (SheetNumber < 0 || SheetNumber >= int32_t(ExternSheets.size()))
            throw Exception(QStringLiteral("no entry %1").arg(SheetNumber));
        const auto [first, last] = ExternSheets[size_t(SheetNumber)];
        QString s = Sheets.value(first);
        if (last != first)
            s += QLatin1Char(':') + Sheets.value(last);
        return QLatin1Char('\'') + s + QStringLiteral("'!");
    }
    bool FindSheet(const QString &SheetName, int32_t &SheetIndex) override
    {
        for (int32_t i = 0; i < Sheets.size(); ++i)
            if (Sheets[i].toUpper() == SheetName.toUpper()) {
                SheetIndex = i;
                return true;
            }
        return false;
    }
    int32_t AddExternSheet(int32_t FirstSheet, int32_t LastSheet) override
    {
        for (size_t i = 0; i < ExternSheets.size(); ++i)
            if (ExternSheets[i] == std::make_pair(FirstSheet, LastSheet))
                return int32_t(i);
        ExternSheets.emplace_back(FirstSheet, LastSheet);
        return int32_t(ExternSheets.size() - 1);
    }
    ByteArray ArrayFormula(int32_t Row, int32_t Col) override { return Find(Arrays, Row, Col); }
    ByteArray TableFormula(int32_t Row, int32_t Col) override { return Find(Tables, Row, Col); }

private:
    static ByteArray Find(const std::map<std::pair<int32_t, int32_t>, ByteArray> &m, int32_t Row, int32_t Col)
    {
        const auto it = m.find({Row, Col});
        if (it == m.end())
            throw Exception(QStringLiteral("Can't find Shared Formula"));
        return it->second;
    }
};

// "1E 01 00" as bytes.
inline ByteArray Hex(const char *Text)
{
    ByteArray r;
    for (const QString &b : QString::fromLatin1(Text).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        r.push_back(uint8_t(b.toUInt(nullptr, 16)));
    return r;
}

inline QString HexOf(const ByteArray &b)
{
    QStringList r;
    for (uint8_t x : b)
        r << QStringLiteral("%1").arg(x, 2, 16, QLatin1Char('0')).toUpper();
    return r.join(QLatin1Char(' '));
}

// The tokens of a formula text, without their length word.
inline ByteArray Encode(const QString &Formula, IFormulaCellList *CellList, TFmReturnType ReturnType = fmValue)
{
    TParseString p(Formula, CellList, ReturnType);
    p.Parse();
    ByteArray b(size_t(p.TotalSize()));
    p.CopyToPtr(b.data(), 0);
    return ByteArray(b.begin() + 2, b.end());
}

// Tokens (and array data after them) behind a length word that counts TokenBytes of them
// (all when -1).
inline ByteArray WithLength(const ByteArray &Tokens, int32_t TokenBytes = -1)
{
    const int32_t n = TokenBytes < 0 ? int32_t(Tokens.size()) : TokenBytes;
    ByteArray b(Tokens.size() + 2);
    b[0] = uint8_t(n);
    b[1] = uint8_t(n >> 8);
    std::copy(Tokens.begin(), Tokens.end(), b.begin() + 2);
    return b;
}

inline QString Decode(const ByteArray &Tokens, IFormulaCellList *CellList, int32_t TokenBytes = -1)
{
    return DecodeFormulaTokens(WithLength(Tokens, TokenBytes), 2, CellList);
}

using ole::MessageOf;

} // namespace fml
