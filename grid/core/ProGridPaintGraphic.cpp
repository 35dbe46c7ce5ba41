// Cell graphics: where a graphic sits in its cell and how each kind is painted, the node glyph,
// check boxes and radio groups in every control style, and the placement of rotated text.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include "framework/graphics/ImgList.h"
#include "framework/graphics/Themes.h"
#include <cmath>

namespace {

int LowWord(int v) { return v & 0xFFFF; }

int HighWord(int v) { return (v >> 16) & 0xFFFF; }

bool IsDataBox(TCellType t) { return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox; }

bool IsBox(TCellType t)
{
    return t == ctCheckBox || t == ctTriStateCheckBox || t == ctRadioButton || IsDataBox(t);
}

// Theme parts and states of the visual-styles library.
constexpr int BP_RADIOBUTTON = 2, BP_CHECKBOX = 3;
constexpr int PP_BAR = 1, PP_CHUNK = 3;
constexpr int CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDDISABLED = 4, CBS_CHECKEDNORMAL = 5, CBS_CHECKEDDISABLED = 8,
              CBS_MIXEDNORMAL = 9, CBS_MIXEDDISABLED = 12;
constexpr int RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDDISABLED = 4, RBS_CHECKEDNORMAL = 5, RBS_CHECKEDDISABLED = 8;

bool DrawTheme(TCanvas *Canvas, const QString &ClassName, int Part, int State, const TRect &R)
{
    const HTHEME th = OpenThemeData(0, ClassName);
    if (!th)
        return false;
    const bool done = DrawThemeBackground(th, Canvas, Part, State, R);
    CloseThemeData(th);
    return done;
}

// One of the grid's own glyphs at (X, Y), its bottom-left pixel's colour left out.
void DrawGlyphResource(TCanvas *Canvas, const QString &Name, int X, int Y)
{
    TBitmap bmp;
    if (!LoadGridResourceBitmap(Name, bmp))
        return;
    bmp.SetTransparentMode(tmAuto);
    bmp.SetTransparent(true);
    Canvas->Draw(X, Y, &bmp);
}

void DrawGlyphBitmap(TCanvas *Canvas, TBitmap *Glyph, int X, int Y)
{
    if (!Glyph || Glyph->Empty())
        return;
    TBitmap bmp;
    bmp.Assign(Glyph);
    bmp.SetTransparentMode(tmAuto);
    bmp.SetTransparent(true);
    Canvas->Draw(X, Y, &bmp);
}

void PenLine(TCanvas *Canvas, TColor Color, int X1, int Y1, int X2, int Y2)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Layout

void TProStringGrid::GraphicLayout(TCellGraphic *G, int ACol, int ARow, bool &WithText, int &Height, int &Width)
{
    WithText = true;
    Height = 0;
    Width = 0;
    const TCustomImageList *il = GetCellImageList();
    switch (G->CellType()) {
    case ctBitmap:
        if (const TBitmap *b = G->CellBitmap()) {
            Width = b->Width();
            Height = b->Height();
        }
        break;
    case ctIcon:
        if (const TIcon *i = G->CellIcon()) {
            Width = i->Width();
            Height = i->Height();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (il) {
            Width = il->Width();
            Height = il->Height();
        }
        WithText = G->CellType() == ctImageList;
        break;
    case ctCheckBox:
    case ctTriStateCheckBox:
        Width = Height = FControlLook->CheckSize();
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        Width = Height = FControlLook->CheckSize();
        WithText = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        WithText = false;
        break;
    case ctImages: {
        const TPoint p = ImagesSize(G);
        Width = p.X;
        Height = p.Y;
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        const int dc = DisplColIndex(ACol);
        const TPoint cs = CellSize(dc, ARow);
        const TPoint p = G->GetPictureSize(cs.X, cs.Y, !GetCellEx(ACol, ARow).isEmpty());
        Width = p.X;
        Height = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        Width = LowWord(G->CellIndex());
        Height = HighWord(G->CellIndex());
        break;
    case ctProgressPie:
        Width = Height = 20;
        break;
    case ctInterface:
        if (auto *ic = dynamic_cast<IGridCell *>(G->CellBitmapObject())) {
            Width = ic->GetWidth();
            Height = ic->GetHeight();
        }
        break;
    case ctRadioButton:
        Width = Height = FControlLook->RadioSize() + 4;
        break;
    case ctShape:
        Width = Height = RowHeights(ARow) - 2 * FXYOffset.Y;
        break;
    case ctRating:
        Width = G->CellAngle() * 18;
        Height = 16;
        WithText = false;
        break;
    default:
        break;
    }
}

TCellGraphic *TProStringGrid::GetCellGraphicLayout(int ACol, int ARow, TCellVAlign &VAlign, TCellHAlign &HAlign,
                                                   bool &WithText, int &Height, int &Width)
{
    VAlign = vaTop;
    HAlign = haLeft;
    WithText = true;
    Height = 0;
    Width = 0;
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    VAlign = g->CellVAlign();
    HAlign = g->CellHAlign();
    GraphicLayout(g, ACol, ARow, WithText, Height, Width);
    return g;
}

void TProStringGrid::GetMarker(int ACol, int ARow, int &ErrPos, int &ErrLen)
{
    ErrPos = 0;
    ErrLen = 0;
    if (const TCellGraphic *g = GetCellGraphic(ACol, ARow)) {
        ErrPos = g->CellErrFrom();
        ErrLen = g->CellErrLen();
    }
}

int TProStringGrid::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow))
        return 0;
    if (ARow >= RowCount() - FixedFooters() - 1)
        return 1;
    const int level = HasCellProperties(0, ARow) ? GetCellProperties(0, ARow)->NodeLevel() : 0;
    if (HasCellProperties(0, ARow + 1) && GetCellProperties(0, ARow + 1)->NodeLevel() >= level)
        return 2;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Rotated text

void TProStringGrid::RotatedTextRect(TRect &R, int Angle, TVAlignment VA, TAlignment HA, const QString &Text)
{
    TCanvas *c = MeasureCanvas();
    const int w = c->TextWidth(Text), h = c->TextHeight(Text);
    InflateRect(R, -2, -2);
    const double a = Angle * M_PI / 180.0;
    const int A = int(std::lround(std::fabs(h * std::cos(a))));
    const int B = int(std::lround(std::fabs(w * std::sin(a))));
    const int C = int(std::lround(std::fabs(h * std::sin(a))));
    const int D = int(std::lround(std::fabs(w * std::cos(a))));
    PlaceRotatedText(R, HA, VA, A, B, C, D, Angle);
}

void TProStringGrid::PlaceRotatedText(TRect &R, TAlignment HA, TVAlignment VA, int A, int B, int C, int D, int Angle)
{
    const int quadrant = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle > 270 ? 4 : 3;
    const int width = R.Right - R.Left;
    const int h = R.Bottom - R.Top;
    const int spill = (A + B - h) / 2;
    switch (quadrant) {
    case 1:
        if (HA == taRightJustify)
            R.Left = R.Right - D - C;
        else if (HA == taCenter)
            R.Left += (width - C - D) / 2;
        if (VA == vtaTop)
            R.Top += B;
        else if (VA == vtaCenter)
            R.Top += B - spill;
        else
            R.Top = R.Bottom - A;
        break;
    case 2:
        if (HA == taLeftJustify)
            R.Left += D;
        else if (HA == taRightJustify)
            R.Left = R.Right - C;
        else
            R.Left = R.Right - (C + width - D) / 2;
        if (VA == vtaTop)
            R.Top += A + B;
        else if (VA == vtaCenter)
            R.Top += A + B - spill;
        else
            R.Top = R.Bottom;
        break;
    case 3:
        if (HA == taLeftJustify)
            R.Left += C + D;
        else if (HA == taRightJustify)
            R.Left = R.Right;
        else
            R.Left = R.Right - (width - C - D) / 2;
        if (VA == vtaTop)
            R.Top += A;
        else if (VA == vtaCenter)
            R.Top += A - spill;
        else
            R.Top = R.Bottom - B;
        break;
    default:
        if (HA == taLeftJustify)
            R.Left += C;
        else if (HA == taRightJustify)
            R.Left = R.Right - D;
        else
            R.Left += (C + width - D) / 2;
        if (VA == vtaCenter)
            R.Top -= spill;
        else if (VA == vtaBottom)
            R.Top = R.Bottom - A - B;
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Painting

bool TProStringGrid::ThemedControls() const { return FIsComCtl6 && IsThemeActive(); }

bool TProStringGrid::ShownSelected(int ACol, int ARow, TGridDrawState AState)
{
    if (!FShowSelection)
        return false;
    const bool disjunctRows = FMouseActions->DisjunctRowSelect();
    if (AState.Contains(gdSelected) && !disjunctRows)
        return true;
    return disjunctRows && Options().Contains(goRowSelect) && ACol >= FixedCols() && RowSelect(ARow);
}

TCanvas *TProStringGrid::GlyphCanvas() { return FGlyphCanvas ? FGlyphCanvas : Canvas(); }

void TProStringGrid::DrawCellGraphic(TCanvas *ACanvas, TRect R, int ACol, int RCol, int ARow, TGridDrawState AState,
                                     TCellGraphic *Graphic, TAlignment HA, TVAlignment VA, int TW)
{
    if (!Graphic || !ACanvas)
        return;
    TCellGraphic *g = Graphic;
    const TCellType ct = g->CellType();
    if (ct == ctNode) {
        DrawNodeGlyph(ACanvas, R, ACol, ARow, AState, g);
        return;
    }
    const TRect cell = R;
    if (ct != ctProgress && ct != ctRangeIndicator && ct != ctXPProgress)
        InflateRect(R, -(FXYOffset.X - 1), -(FXYOffset.Y - 1));
    if (TW > 0)
        TW += 2;

    bool withText = true;
    int h = 0, w = 0;
    GraphicLayout(g, RCol, ARow, withText, h, w);
    TCellHAlign hal = g->CellHAlign();
    TCellVAlign val = g->CellVAlign();
    const int rw = R.Right - R.Left, rh = R.Bottom - R.Top;

    // Horizontal placement.
    TRect D;
    switch (hal) {
    case haLeft: D.Left = R.Left + 1; break;
    case haRight: D.Left = R.Right - w - 1; break;
    case haCenter: D.Left = w < rw ? R.Left + (rw - w) / 2 : R.Left + 1; break;
    case haFull: D.Left = R.Left; break;
    case haBeforeText:
        D.Left = HA == taRightJustify ? R.Right - TW - w : HA == taCenter ? R.Left + (rw - TW - w) / 2 : R.Left + 1;
        break;
    case haAfterText:
        D.Left = HA == taRightJustify ? R.Right - w - 1 : HA == taCenter ? R.Left + TW + (rw - TW - w) / 2 : R.Left + TW;
        break;
    }
    if (D.Left < R.Left)
        D.Left = R.Left + 1;
    D.Right = hal == haFull ? R.Right : D.Left + w;

    // Vertical placement; boxes follow the cell's own vertical alignment.
    if (IsBox(ct) && VA != FVAlignment)
        val = VA == vtaCenter ? vaCenter : VA == vtaBottom ? vaBottom : vaTop;
    switch (val) {
    case vaBottom: D.Top = R.Bottom - h - 1; break;
    case vaCenter: D.Top = h < rh ? R.Top + (rh - h) / 2 : R.Top + 1; break;
    case vaUnderText: D.Top = R.Bottom - h; break;
    case vaFull: D.Top = R.Top; break;
    default: D.Top = R.Top + 1; break;
    }
    D.Bottom = val == vaFull || val == vaUnderText ? R.Bottom : D.Top + h;

    // Check boxes and radio buttons are placed by the text's alignment.
    if (IsBox(ct)) {
        if (HA == taRightJustify)
            D.Left = (IsDataBox(ct) ? R.Right : R.Right - TW) - w - 1;
        else if (HA == taCenter)
            D.Left = IsDataBox(ct) || TW < 1 ? R.Left + std::max(0, rw - w) / 2 : R.Left + std::max(0, rw - TW) / 2 - w;
        else
            D.Left = R.Left + 1;
        if (D.Left < R.Left)
            D.Left = R.Left + 1;
        D.Right = D.Left + w;
    }

    TCanvas *savedGlyphCanvas = FGlyphCanvas;
    FGlyphCanvas = ACanvas;
    const TCellControlStyle style = FControlLook->ControlStyle();
    auto cellEnabled = [&] {
        bool enabled = true;
        GetCellCanEdit(RCol, ARow, enabled);
        return enabled;
    };
    TCustomImageList *il = GetCellImageList();

    switch (ct) {
    case ctBitmap:
        if (TBitmap *b = g->CellBitmap()) {
            if (g->CellTransparent())
                DrawTransparentBitmap(ACanvas, b,
                                      ShownSelected(ACol, ARow, AState) ? FSelectionColor : ACanvas->Brush()->Color(), D);
            else
                ACanvas->Draw(D.Left, D.Top, b);
        }
        break;
    case ctIcon:
        if (TIcon *i = g->CellIcon())
            ACanvas->Draw(D.Left, D.Top, i);
        break;
    case ctImageList:
        if (il && g->CellIndex() >= 0 && g->CellIndex() < il->Count())
            il->Draw(ACanvas, D.Left, D.Top, g->CellIndex());
        break;
    case ctDataImage:
        if (il) {
            const int idx = int(CellPaintValue(RCol, ARow, true)) + g->CellIndex();
            if (idx >= 0 && idx < il->Count())
                il->Draw(ACanvas, D.Left, D.Top, idx);
        }
        break;
    case ctCheckBox:
    case ctRowCheckBox:
        DrawCheckBox(D, g->CellBoolean(), cbUnchecked, false, style, g->CellAngle() > 0, cellEnabled());
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        DrawCheckBox(D, GetCellEx(RCol, ARow) == GetCheckTrue(RCol, ARow), cbUnchecked, false, style, false,
                     cellEnabled());
        break;
    case ctTriStateCheckBox:
        DrawCheckBox(D, false, g->CellCheckBoxState(), true, style, g->CellAngle() > 0, cellEnabled());
        break;
    case ctRadioButton: {
        D.Left += FXYOffset.X;
        const int rs = FControlLook->RadioSize();
        D = Rect(D.Left, D.Top, D.Left + rs, D.Top + rs);
        DrawRadioGroup(ACanvas, D, false, 1, style, ARow, ACol, false, nullptr, !cellEnabled(), false,
                       g->CellBoolean() ? 0 : -1, 1);
        break;
    }
    case ctRotated:
        DrawRotatedCell(ACanvas, R, RCol, ARow, g, HA, VA);
        break;
    case ctRadio: {
        TStringList *items = g->CellStrings();
        DrawRadioGroup(ACanvas, R, false, 1, style, ARow, ACol, AState.Contains(gdSelected), items, !cellEnabled(),
                       g->CellBoolean(), g->CellIndex(), items ? items->Count() : 0);
        break;
    }
    case ctImages:
        if (il) {
            if (const TIntList *list = g->CellIntList()) {
                int x = D.Left, y = D.Top;
                for (int k = 0; k < list->Count(); ++k) {
                    const int idx = list->GetInteger(k);
                    if (idx >= 0 && idx < il->Count())
                        il->Draw(ACanvas, x, y, idx);
                    if (g->CellBoolean())
                        x += il->Width();
                    else
                        y += il->Height();
                }
            }
        }
        break;
    case ctPicture:
        if (TPicture *p = g->CellPicture(); p && p->Graphic()) {
            if (g->CellAngle() != 0)
                ACanvas->StretchDraw(D, p->Graphic());
            else
                ACanvas->Draw(D.Left, D.Top, p->Graphic());
        }
        break;
    case ctFilePicture:
        if (TFilePicture *fp = g->CellFilePicture())
            fp->DrawPicture(ACanvas, D);
        break;
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        DrawProgressCell(ACanvas, R, RCol, ARow, g);
        break;
    case ctComment:
        if (FControlLook->CommentColor() != clNone) {
            const TColor c = TColor(g->CellAngle()) != clNone ? TColor(g->CellIndex()) : FControlLook->CommentColor();
            ACanvas->Pen()->SetColor(c);
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(c);
            ACanvas->Polygon({TPoint(cell.Right - 7, cell.Top), TPoint(cell.Right - 2, cell.Top),
                              TPoint(cell.Right - 2, cell.Top + 5)});
            ACanvas->Brush()->SetColor(Color());
        }
        break;
    case ctButton:
    case ctBitButton:
    case ctExpand:
        DrawCellButton(ACanvas, cell, D, ACol, RCol, ARow, g);
        break;
    case ctProgressPie:
        DrawPie(ACanvas, Rect(D.Left, D.Top, D.Left + 20, D.Top + 20), g->CellBitmapColor(), false, g->CellAngle());
        break;
    case ctInterface:
        if (auto *ic = dynamic_cast<IGridCell *>(g->CellBitmapObject()))
            ic->Draw(ACanvas, Rect(R.Left - 1, R.Top - 1, R.Right, R.Bottom), ACol, ARow, AState.Contains(gdSelected),
                     this);
        break;
    case ctShape:
        DrawCellShape(ACanvas, D.Left, D.Top, g->CellBitmapColor(), TColor(g->CellIndex()), TCellShape(g->CellAngle()),
                      D.Height() - 1, D.Width() - 1);
        break;
    case ctRating: {
        // Rounded to halves: 2.3 shows as 2.5.
        const double v = std::round(CellPaintValue(RCol, ARow, false) * 2) / 2;
        int x = D.Left;
        for (int i = 0; i < g->CellAngle(); ++i, x += 18) {
            DrawCellShape(ACanvas, x, D.Top, g->CellBitmapColor(),
                          i + 1 > v ? g->CellBitmapColor() : TColor(g->CellIndex()), csStar, 16, 16);
            if (i < v && v < i + 1)
                DrawCellShape(ACanvas, x, D.Top, TColor(g->CellIndex()), TColor(g->CellIndex()), csHalfStar, 16, 16);
        }
        break;
    }
    default:
        break;
    }
    FGlyphCanvas = savedGlyphCanvas;
}

double TProStringGrid::CellPaintValue(int RCol, int ARow, bool Integer)
{
    // A cell whose text is no number paints as 0: painting must not raise.
    try {
        return Integer ? Ints(RCol, ARow) : Floats(RCol, ARow);
    } catch (const Exception &) {
        return 0;
    }
}

void TProStringGrid::DrawRotatedCell(TCanvas *ACanvas, const TRect &R, int RCol, int ARow, TCellGraphic *G,
                                     TAlignment HA, TVAlignment VA)
{
}

void TProStringGrid::DrawProgressCell(TCanvas *ACanvas, TRect R, int RCol, int ARow, TCellGraphic *G) {}

void TProStringGrid::DrawCellButton(TCanvas *ACanvas, const TRect &Cell, TRect D, int ACol, int RCol, int ARow,
                                    TCellGraphic *G)
{
}

void TProStringGrid::DrawNodeGlyph(TCanvas *ACanvas, TRect R, int ACol, int ARow, TGridDrawState AState,
                                   TCellGraphic *G)
{
}

void TProStringGrid::DrawCheckBox(TRect R, bool Checked, TCheckBoxState State, bool TriState, TCellControlStyle Style,
                                  bool Grayed, bool Enabled)
{
}

void TProStringGrid::DrawRadioGroup(TCanvas *ACanvas, TRect R, bool UpwardRows, double Zoom, TCellControlStyle Style,
                                    int ARow, int ACol, bool SelectedCell, TStrings *Items, bool Disabled,
                                    bool Horizontal, int ItemIndex, int Count)
{
}
