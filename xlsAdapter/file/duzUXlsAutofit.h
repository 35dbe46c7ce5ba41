#pragma once
// Measures of cell texts for fitting row heights and column widths to their contents.
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <cstdint>

class TExcelFile;
class TWorkbookGlobals;

// Heights in twentieths of a point. No font metrics are taken: every text measures one standard
// row.
class TRowHeightCalc
{
public:
    explicit TRowHeightCalc(TWorkbookGlobals *aGlobals) : FGlobals(aGlobals) {}
    int32_t CalcCellHeight(int32_t Row, int32_t Col, const TRichString &val, int32_t XF, TExcelFile *Workbook,
                           double RowMultDisplay, double ColMultDisplay) const;

private:
    TWorkbookGlobals *FGlobals;
};

// Widths in 1/256 of a character. No font metrics are taken: a width of 0 leaves the column as
// it is.
class TColWidthCalc
{
public:
    explicit TColWidthCalc(TWorkbookGlobals *aGlobals) : FGlobals(aGlobals) {}
    int32_t CalcCellWidth(int32_t Row, int32_t Col, const TRichString &val, int32_t XF, TExcelFile *Workbook,
                          double RowMultDisplay, double ColMultDisplay) const;

private:
    TWorkbookGlobals *FGlobals;
};

// Size scaled by Adjustment (halves to even) unless Adjustment is 1 or negative, at most 32767.
int32_t AdjustedAutofitSize(int32_t Size, double Adjustment);
