#pragma once
// Formulas in BIFF8 parsed-token form (reverse Polish, as FORMULA, ARRAY and NAME records store
// them): DecodeFormulaTokens writes them as formula text, TParseString encodes a formula text.
#include "xlsAdapter/formulas/duzUWbStack.h"
#include "xlsAdapter/duzXlsFormulaMessages.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>

// What formulas need of the sheet's cell storage, which implements it.
class IFormulaCellList
{
public:
    virtual ~IFormulaCellList() = default;
    // Name NameId (0-based) of the workbook when ExternSheet < 0, else of the book of that
    // EXTERNSHEET entry.
    virtual QString GetName(int32_t ExternSheet, int32_t NameId) = 0;
    // The sheet prefix of an EXTERNSHEET entry as formulas show it, quoted and with its "!".
    virtual QString GetSheetName(int32_t SheetNumber) = 0;
    // The sheet of that name, compared upper-cased.
    virtual bool FindSheet(const QString &SheetName, int32_t &SheetIndex) = 0;
    // The EXTERNSHEET entry for a range of this workbook's sheets, added when missing.
    virtual int32_t AddExternSheet(int32_t FirstSheet, int32_t LastSheet) = 0;
    // The data of the ARRAY or TABLE record attached to the formula cell at (Row, Col).
    virtual ByteArray ArrayFormula(int32_t Row, int32_t Col) = 0;
    virtual ByteArray TableFormula(int32_t Row, int32_t Col) = 0;
};

// The text ("=...") of the tokens at Start of Data; their 2-byte length lies at Start - 2 and
// array-constant data follows them up to DataSize. Raises an Exception for tokens it cannot show
// and for a token, string, table or constant that runs past its data; reads nothing outside Data.
// CellList may be nil for formulas without names, 3-D references, array and table formulas.
QString DecodeFormulaTokens(const uint8_t *Data, int32_t DataSize, int32_t Start, IFormulaCellList *CellList);
QString DecodeFormulaTokens(const ByteArray &Data, int32_t Start, IFormulaCellList *CellList);

// Encodes one formula text: Create, Parse, then TotalSize and CopyToPtr (or CopyToPtrNoLen).
class TParseString : public TObject
{
public:
    // ReturnType is the class the formula's result must have.
    TParseString(const QString &aw, IFormulaCellList *aCellList, TFmReturnType ReturnType);
    // With aForce3D, plain references go out as absolute 3-D references to aDefault3DExternSheet.
    static std::unique_ptr<TParseString> CreateExt(const QString &aw, IFormulaCellList *aCellList, bool aForce3D,
                                                   const QString &aDefault3DExternSheet,
                                                   TFmReturnType ReturnType);

    // Raises an Exception naming what is wrong with the text; the tokens are then unusable.
    void Parse();
    // The length word, the tokens and the array data.
    int32_t TotalSize() const;
    void CopyToPtr(uint8_t *Ptr, int32_t aPos) const;
    void CopyToPtrNoLen(uint8_t *Ptr, int32_t destIndex) const;

    int32_t ParsePos = 1;
    QString Fw;
    ByteArray FParsedData;
    ByteArray FParsedArrayData;
    int32_t MaxErrorLen = 0;
    QString DirectlyInFormula;
    int32_t LastRefOp = -1;
    IFormulaCellList *FCellList = nullptr;
    TWhiteSpaceStack StackWs;
    QString Default3DExternSheet;
    bool Force3d = false;
    TFmReturnType InitialRefMode = fmValue;

private:
    struct TCellAddress
    {
        int32_t Col = 0; // 1-based
        int32_t Row = 0; // 1-based
        bool ColAbs = false;
        bool RowAbs = false;
        bool HasLetters = false;
        bool HasDigits = false;
        bool InRange() const { return Row >= 1 && Row <= 65536 && Col >= 1 && Col <= 256; }
    };

    bool AtEnd() const { return ParsePos > Fw.size(); }
    QChar CharAt(int32_t p) const { return Fw[p - 1]; }
    bool PeekChar(QChar &c) const;
    bool PeekCharWs(QChar &c) const;
    void NextChar();
    void SkipWhiteSpaces();
    void RestorePos(int32_t SavePos, int32_t SaveWs);
    void AddParsed(std::initializer_list<uint8_t> Bytes, bool PopWhiteSpace = true);
    void AddParsed(const ByteArray &Bytes, bool PopWhiteSpace = true);
    void AddParsedSpace(const TWhiteSpace &ws);
    void ConvertLastRefValueType(TFmReturnType RefMode);

    void Expression();
    void ConcatExpression();
    void AddExpression();
    void MultExpression();
    void PowerExpression();
    void PercentExpression();
    void UnaryExpression();
    void RefExpression();
    // The last operand is a reference (a range or union may follow it).
    bool LastIsRef() const;
    void Factor();
    template <class Next>
    void BinaryLevel(Next next, std::initializer_list<std::pair<char, uint8_t>> Ops);

    void GetNumber();
    // The text up to the closing quote at ParsePos, a doubled quote standing for one.
    QString ReadQuoted(QChar Quote);
    void GetString();
    void GetError();
    void GetIdentifier();
    void GetQuotedSheet();
    void GetFunction(const QString &Name);
    void GetSheetRef(const QString &SheetText);
    bool GetRef();
    void ReadCellAddress(TCellAddress &a);
    bool ReadArea(TCellAddress &First, TCellAddress &Second);
    QString ReadName();
    int32_t ExternSheetOf(const QString &SheetText);
    void AddCellRef(const TCellAddress &a, int32_t ExternSheet);
    void AddAreaRef(const TCellAddress &a, const TCellAddress &b, int32_t ExternSheet);

    [[noreturn]] void UnexpectedChar(QChar c) const;
    [[noreturn]] void UnexpectedEof() const;
    [[noreturn]] void UnexpectedIdentifier(const QString &Id) const;
};
