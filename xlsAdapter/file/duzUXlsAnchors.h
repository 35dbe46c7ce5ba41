#pragma once
// Picture and comment box placement between screen pixels and cell anchors, measured with the
// sizes of the active sheet of a spreadsheet file: column offsets in 1/1024 of the column's width,
// row offsets in 1/255 of the row's height.
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <cstdint>

class TExcelFile;

// The pixel size of an anchored box, and where its top-left corner lies inside its first cell.
struct TAnchorPixels
{
    int32_t Width = 0;
    int32_t Height = 0;
    double OffsetX = 0;
    double OffsetY = 0;
};

// A Width x Height pixel box whose top-left corner lies DX, DY pixels right of and below the
// top-left corner of cell (Row, Col), all 1-based. A box reaching past the last row or column is
// pushed back inside the sheet. "There is no open file" without File.
TImageProperties PlaceBox(TExcelFile *File, int32_t Row, int32_t Col, double Width, double Height, int32_t DX,
                          int32_t DY);

// The box of an anchor with 1-based rows and columns. "There is no open file" without File.
TAnchorPixels AnchorToPixels(TExcelFile *File, const TClientAnchor &Anchor);
