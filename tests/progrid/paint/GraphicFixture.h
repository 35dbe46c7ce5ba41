#pragma once
// A grid whose cells take graphics directly, and a white sheet to paint cells on.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
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

struct TGraphicSheet
{
    TBitmap bmp;
    TColor bg;
    TGraphicSheet(int w, int h, TColor Background = clWhite) : bmp(w, h), bg(Background)
    {
        bmp.Canvas()->Brush()->SetColor(bg);
        bmp.Canvas()->FillRect(Rect(0, 0, w, h));
    }
    TCanvas *c() { return bmp.Canvas(); }
    TColor at(int x, int y) { return bmp.Canvas()->Pixels(x, y); }
    int count(TColor color, const TRect &r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += at(x, y) == color;
        return n;
    }
    // The bounding box of every pixel not in the background colour; empty when there is none.
    TRect ink(const TRect &r)
    {
        TRect b(r.Right, r.Bottom, r.Left, r.Top);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (at(x, y) != bg) {
                    b.Left = std::min(b.Left, x);
                    b.Top = std::min(b.Top, y);
                    b.Right = std::max(b.Right, x + 1);
                    b.Bottom = std::max(b.Bottom, y + 1);
                }
        return b.Left < b.Right ? b : TRect();
    }
};
