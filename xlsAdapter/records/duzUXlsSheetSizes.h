#pragma once
// What a sheet's drawing reads of its worksheet: the sizes of columns and rows, in the units
// anchors keep their absolute rectangles in. The worksheet implements it.
#include <cstdint>

class TSheetSizes
{
public:
    virtual ~TSheetSizes() = default;
    // HiddenIsZero: a hidden column or row counts as zero wide or high.
    virtual int32_t GetColWidth(int32_t aCol, bool HiddenIsZero) const = 0;
    virtual int32_t GetRowHeight(int32_t aRow, bool HiddenIsZero) const = 0;
};
