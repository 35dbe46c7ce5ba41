#include "xlsAdapter/file/duzUXlsAnchors.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/System.h"
#include "xlsAdapter/file/duzUExcelFile.h"

#include <algorithm>

namespace {

const char *const SNoOpenFile = "There is no open file";

constexpr int32_t MaxColumns = 256;
constexpr int32_t MaxRows = 65536;

TExcelFile *Checked(TExcelFile *File)
{
    if (!File)
        throw Exception(QString::fromLatin1(SNoOpenFile));
    return File;
}

// Pixels of a 1-based column (0 when hidden): 256/7 width units per pixel, computed as w * 7 / 256,
// which is exact.
double W(TExcelFile *File, int32_t c) { return File->GetColumnWidthHiddenIsZero(c) * 7.0 / 256.0; }

// Pixels of a 1-based row: 15 twips per pixel; a row without a record has the default height.
double H(TExcelFile *File, int32_t r)
{
    return (File->IsEmptyRow(r) ? File->DefaultRowHeight() : File->GetRowHeight(r)) / 15.0;
}

// Part of Size as a fraction of Units; a cell of size 0 puts everything at its start.
int32_t Offset(double Part, double Size, int32_t Units)
{
    if (Size <= 0)
        return 0;
    return int32_t(std::clamp<int64_t>(Round(Part * Units / Size), 0, Units));
}

} // namespace

TImageProperties PlaceBox(TExcelFile *File, int32_t Row, int32_t Col, double Width, double Height, int32_t DX,
                          int32_t DY)
{
    Checked(File);
    TImageProperties R;

    // A box that starts beyond its cell moves into the next cells; the walks stop at the sheet's
    // last row and column, so that cells of size 0 cannot keep them going.
    double x = DX;
    int32_t c = Col;
    for (double w; (w = W(File, c)) < x && c < MaxColumns; ++c)
        x -= w;
    double y = DY;
    int32_t r = Row;
    for (double h; (h = H(File, r)) < y && r < MaxRows; ++r)
        y -= h;
    if (r < 1) {
        r = 1;
        y = 0;
    }
    if (c < 1) {
        c = 1;
        x = 0;
    }
    R.Row1 = r;
    R.Col1 = c;
    R.dx1 = Offset(x, W(File, c), 1024);
    R.dy1 = Offset(y, H(File, r), 255);

    // A box spans at most the sheet's rows (columns), so that pushing it back inside below keeps
    // its first row (column) on the sheet.
    double m = H(File, r) - y;
    int32_t r2 = r;
    while (Height > Round(m) && r2 - r < MaxRows - 1)
        m += H(File, ++r2);
    const double h2 = H(File, r2);
    R.Row2 = r2;
    R.dy2 = Offset(h2 - (m - Height), h2, 255);

    m = W(File, c) - x;
    int32_t c2 = c;
    while (Width > Round(m) && c2 - c < MaxColumns - 1)
        m += W(File, ++c2);
    const double w2 = W(File, c2);
    R.Col2 = c2;
    R.dx2 = Offset(w2 - (m - Width), w2, 1024);

    if (R.Row2 > MaxRows) {
        R.Row1 += MaxRows - R.Row2;
        R.Row2 = MaxRows;
    }
    if (R.Col2 > MaxColumns) {
        R.Col1 += MaxColumns - R.Col2;
        R.Col2 = MaxColumns;
    }
    R.Col1 = std::max(R.Col1, 1);
    R.Row1 = std::max(R.Row1, 1);
    return R;
}

TAnchorPixels AnchorToPixels(TExcelFile *File, const TClientAnchor &Anchor)
{
    Checked(File);
    double Width = 0;
    for (int32_t c = Anchor.Col1; c < Anchor.Col2; ++c)
        Width += W(File, c);
    double Height = 0;
    for (int32_t r = Anchor.Row1; r < Anchor.Row2; ++r)
        Height += H(File, r);
    TAnchorPixels P;
    P.OffsetX = W(File, Anchor.Col1) * Anchor.Dx1 / 1024;
    P.OffsetY = H(File, Anchor.Row1) * Anchor.Dy1 / 255;
    Width += W(File, Anchor.Col2) * Anchor.Dx2 / 1024 - P.OffsetX;
    Height += H(File, Anchor.Row2) * Anchor.Dy2 / 255 - P.OffsetY;
    P.Width = int32_t(Round(Width));
    P.Height = int32_t(Round(Height));
    return P;
}
