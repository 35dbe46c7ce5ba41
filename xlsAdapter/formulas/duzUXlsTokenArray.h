#pragma once
// Moves the references inside stored parsed-token arrays in place, without decoding them: when
// rows or columns are inserted or deleted, when a formula is copied, when a shared formula is
// expanded into one cell, and when a sheet is copied. A reference that leaves the sheet or whose
// cells are deleted becomes the matching reference error token.
#include "framework/rtl/Exceptions.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <cstdint>

class EExcelException : public Exception
{
public:
    using Exception::Exception;
};

// A token the walkers cannot step over, or cannot turn into an error.
class ETokenException : public EExcelException
{
public:
    explicit ETokenException(int32_t aToken);
    int32_t Token;
};

// The reference-class form of an operand token of any class (0x44 and 0x64 read as 0x24).
uint8_t BaseToken(uint8_t Token);

// Rows and columns inserted (positive counts) or deleted (negative counts) at the positions on
// SheetInfo.InsSheet, and references moved by the offsets (with RelativeOnly, only their relative
// parts). Walks the tokens Start .. End - 1 of Data, never past End.
void ArrangeInsertTokens(uint8_t *Data, int32_t Start, int32_t End, int32_t aRowPos, int32_t aRowCount,
                         int32_t RowOffset, int32_t aColPos, int32_t aColCount, int32_t ColOffset,
                         const TSheetInfo &SheetInfo, bool RelativeOnly);
// After a copy of sheet SheetInfo.FormulaSheet to SheetInfo.InsSheet: 3-D references to the
// copied sheet and names local to it point to the copy.
void ArrangeSheetTokens(uint8_t *Data, int32_t Start, int32_t End, const TSheetInfo &SheetInfo);
// The cell-relative tokens of a shared formula as ordinary references for the cell (Row, Col).
void ExpandSharedTokens(uint8_t *Data, int32_t Start, int32_t End, int32_t Row, int32_t Col);
