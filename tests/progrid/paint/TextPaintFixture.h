#pragma once
// A grid painted cell by cell onto an offscreen bitmap, with helpers to read the painted pixels.
#include "grid/core/ProGrid.h"
#include "tests/common/TestSupport.h"
#include "framework/graphics/Graphics.h"
#include <QImage>

class TPaintGrid : public TProStringGrid
{
public:
    explicit TPaintGrid(TComponent *AOwner = nullptr) : TProStringGrid(AOwner)
    {
        SetBounds(0, 0, 400, 200);
        SetColCount(4);
        SetRowCount(4);
        SetDefaultColWidth(80);
        SetDefaultRowHeight(22);
        Font()->SetColor(clBlack);
        SetColor(clWhite);
        SetFixedColor(0xC0C0C0);
    }
    using TProStringGrid::FHoverFixedX;
    using TProStringGrid::FHoverFixedY;
    using TProStringGrid::CreateCellGraphic;

    // The cell painted alone onto a white sheet the size of the grid.
    QImage Paint(int ACol, int ARow, TGridDrawState AState = TGridDrawState())
    {
        TBitmap bmp(Width(), Height());
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(TRect(0, 0, Width(), Height()));
        PaintCell(bmp.Canvas(), ACol, ARow, CellRect(ACol, ARow), AState);
        return bmp.Image().copy();
    }
    // Only the pixels of the cell itself.
    QImage PaintCellOnly(int ACol, int ARow, TGridDrawState AState = TGridDrawState())
    {
        const TRect r = CellRect(ACol, ARow);
        return Paint(ACol, ARow, AState).copy(r.Left, r.Top, r.Width(), r.Height());
    }
};

inline TColor PixelColor(const QImage &img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

// How many pixels of the rectangle (whole image when empty) have the colour.
inline int CountColor(const QImage &img, TColor color, TRect r = TRect())
{
    if (r.IsEmpty())
        r = TRect(0, 0, img.width(), img.height());
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += PixelColor(img, x, y) == color;
    return n;
}

// The smallest rectangle holding every pixel of the rectangle (whole image when empty) that Ink
// accepts; empty when there is none.
template <typename F>
TRect InkWhere(const QImage &img, TRect r, F &&Ink)
{
    if (r.IsEmpty())
        r = TRect(0, 0, img.width(), img.height());
    TRect ink(r.Right, r.Bottom, -1, -1);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (Ink(PixelColor(img, x, y))) {
                ink.Left = std::min(ink.Left, x);
                ink.Top = std::min(ink.Top, y);
                ink.Right = std::max(ink.Right, x + 1);
                ink.Bottom = std::max(ink.Bottom, y + 1);
            }
    return ink.Right < 0 ? TRect() : ink;
}

inline TRect InkOf(const QImage &img, TColor color, TRect r = TRect())
{
    return InkWhere(img, r, [color](TColor c) { return c == color; });
}

// Every pixel that is not white.
inline TRect InkOfNonWhite(const QImage &img, TRect r = TRect())
{
    return InkWhere(img, r, [](TColor c) { return c != clWhite; });
}
