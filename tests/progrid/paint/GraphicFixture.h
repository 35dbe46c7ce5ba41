#pragma once
// A grid whose cells take graphics directly, and a white sheet to paint cells on.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include "tests/common/PixelSheet.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

class TGraphicGrid : public TProStringGrid
{
public:
    TGraphicGrid() : TProStringGrid(nullptr)
    {
        SetColCount(6);
        SetRowCount(6);
    }
    using TBaseGrid::FHoverRowIdx;
    using TProStringGrid::CreateCellGraphic;

    // Node rows come with the tree issue; here a row's level alone gives its indent.
    int GetNodeIndent(int ARow) override
    {
        return HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() * CellNode()->NodeIndent() : 0;
    }

    TCellGraphic *Graphic(int c, int r, TCellType t)
    {
        TCellGraphic *g = CreateCellGraphic(c, r);
        g->SetCellType(t);
        return g;
    }
};

using TGraphicSheet = TPixelSheet;
