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
    const TCellHAlign hal = g->CellHAlign();
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
        DrawRotatedCell(ACanvas, cell, R, ACol, RCol, ARow, g, HA, VA);
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
            const TColor star = i + 1 > v ? g->CellBitmapColor() : TColor(g->CellIndex());
            DrawCellShape(ACanvas, x, D.Top, star, star, csStar, 16, 16);
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

void TProStringGrid::DrawRotatedCell(TCanvas *ACanvas, const TRect &Cell, const TRect &R, int ACol, int RCol,
                                     int ARow, TCellGraphic *G, TAlignment HA, TVAlignment VA)
{
    const QString text = GetFormattedCell(RCol, ARow);
    // Measuring may set the grid's canvas to the grid's font; the cell's font is kept aside.
    TFont cellFont;
    cellFont.Assign(ACanvas->Font());
    TRect origin = Cell;
    RotatedTextRect(origin, G->CellAngle(), VA, HA, text);
    ACanvas->Font()->Assign(&cellFont);
    ACanvas->Font()->SetOrientation(G->CellAngle() * 10);
    ACanvas->Brush()->SetStyle(bsClear);
    TRect clip = R;
    InflateRect(clip, -2, -2);
    ACanvas->SaveState();
    ACanvas->IntersectClipRect(clip);
    ACanvas->TextOut(origin.Left, origin.Top, text);
    ACanvas->RestoreState();
    ACanvas->Font()->SetOrientation(0);
    if (IsSortedHeaderCell(ACol, RCol, ARow))
        DrawSortIndicator(ACanvas, ACol, R.Top + 8, R.Right - 10);
}

void TProStringGrid::DrawProgressCell(TCanvas *ACanvas, TRect R, int RCol, int ARow, TCellGraphic *G)
{
    const TControlLook *cl = FControlLook.get();
    switch (G->CellType()) {
    case ctProgress: {
        const TCellControlStyle style = cl->ControlStyle();
        const double value = CellPaintValue(RCol, ARow, false);
        if ((style == csWinXP || style == csTheme) && ThemedControls() && cl->ProgressXP()) {
            InflateRect(R, -cl->ProgressMarginX(), -cl->ProgressMarginY());
            DrawTheme(ACanvas, QStringLiteral("Progress"), PP_BAR, 1, R);
            InflateRect(R, -2, -2);
            const double pct = std::clamp(value, 0.0, 100.0);
            const TRect chunk(R.Left, R.Top, R.Left + int(std::lround(pct * R.Width() / 100)), R.Bottom);
            if (!chunk.IsEmpty())
                DrawTheme(ACanvas, QStringLiteral("Progress"), PP_CHUNK, 1, chunk);
        } else {
            InflateRect(R, -2, -2);
            const TColor fill = G->CellBitmapColor(), back = G->CellIconColor();
            const TColor fillText = G->CellBoolean() ? TColor(G->CellIndex()) : TColor(ColorToRGB(fill) ^ 0xFFFFFF);
            const TColor backText = G->CellBoolean() ? TColor(G->CellAngle()) : TColor(ColorToRGB(back) ^ 0xFFFFFF);
            DrawCellProgress(ACanvas, R, fill, fillText, back, backText, cl->ProgressBorderColor(), G->CellText(),
                             G->CellErrLen(), G->CellErrFrom(), cl->ProgressMarginY(), cl->ProgressMarginX(), value);
        }
        break;
    }
    case ctRangeIndicator:
        InflateRect(R, -cl->ProgressMarginX(), -cl->ProgressMarginY());
        DrawCenteredBar(ACanvas, R, CellPaintValue(RCol, ARow, true), G->CellIconColor(), G->CellBitmapColor(),
                        G->CellBoolean(), G->CellIndex());
        break;
    case ctXPProgress: {
        R = Rect(R.Left + cl->ProgressMarginX(), R.Top + cl->ProgressMarginY(), R.Right - cl->ProgressMarginX() - 1,
                 R.Bottom - cl->ProgressMarginY() - 1);
        const TGridProgressAppearance *pa = FProgressAppearance.get();
        TLevelProgressAppearance la;
        la.Level0Color = pa->Level0Color();
        la.Level0ColorTo = pa->Level0ColorTo();
        la.Level1Color = pa->Level1Color();
        la.Level1ColorTo = pa->Level1ColorTo();
        la.Level2Color = pa->Level2Color();
        la.Level2ColorTo = pa->Level2ColorTo();
        la.Level3Color = pa->Level3Color();
        la.Level3ColorTo = pa->Level3ColorTo();
        la.Level1Perc = pa->Level1Perc();
        la.Level2Perc = pa->Level2Perc();
        la.ShowBorder = pa->ShowBorder();
        la.BorderColor = pa->BorderColor();
        la.Stacked = pa->Stacked();
        la.ShowPercentage = pa->ShowPercentage();
        la.CompletionSmooth = pa->CompletionSmooth();
        la.ShowGradient = pa->ShowGradient();
        la.Steps = pa->Steps();
        la.CompleteFontColor = pa->CompleteFontColor();
        la.Font = Font();
        la.UnCompleteColor = pa->UnCompleteColor() != clNone ? pa->UnCompleteColor() : ACanvas->Brush()->Color();
        const int value = int(CellPaintValue(RCol, ARow, true));
        DrawLevelProgress(ACanvas, R, XPProgressPercentage(value, G->CellErrFrom(), G->CellErrLen()), la);
        break;
    }
    default:
        break;
    }
}

int XPProgressPercentage(int Value, int From, int To)
{
    // An empty range would divide by zero: it is empty below its value and full from it on.
    if (To == From)
        return Value >= To ? 100 : 0;
    return int(std::lround(std::abs(double(Value) - From) / (double(To) - From) * 100));
}

void TProStringGrid::DrawCellButton(TCanvas *ACanvas, const TRect &Cell, TRect D, int ACol, int RCol, int ARow,
                                    TCellGraphic *G)
{
    const TCellType ct = G->CellType();
    if (ct == ctExpand)
        D = Rect(Cell.Right - 13, Cell.Top, Cell.Right, Cell.Top + 13);
    // Hit tests find the button by its offset in the cell.
    G->SetCellValue(double(((D.Top - Cell.Top) << 16) | ((D.Left - Cell.Left) & 0xFFFF)));

    int look = FControlLook->FlatButton() ? blkFlat : ThemedControls() ? blkThemed : blkClassic;
    if (FFlat && FTones.Background.BrushColor != clNone)
        look = blkTones;
    int state = bstNormal;
    if (G->CellBoolean())
        state = bstDown;
    else if (FHotButtonCell.X == ACol && FHotButtonCell.Y == ARow)
        state = bstHot;
    if (ct != ctExpand && !FControlLook->NoDisabledButtonLook()) {
        bool enabled = true;
        GetCellCanEdit(RCol, ARow, enabled);
        if (!enabled)
            state = bstDisabled;
    }
    DrawPushButton(ACanvas, 0, D, FTones, state, look);
    if (state == bstDown)
        OffsetRect(D, 1, 1);

    if (ct == ctExpand) {
        ACanvas->Pen()->SetColor(clBlack);
        ACanvas->Pen()->SetWidth(1);
        bool varFalse = false;
        try {
            varFalse = !G->CellVar().AsBoolean();
        } catch (const Exception &) {
        }
        if (varFalse)
            ACanvas->Polyline({TPoint(D.Right - 10, D.Top + 5), TPoint(D.Right - 7, D.Top + 8),
                               TPoint(D.Right - 3, D.Top + 4)});
        else
            ACanvas->Polyline({TPoint(D.Right - 10, D.Top + 8), TPoint(D.Right - 7, D.Top + 5),
                               TPoint(D.Right - 3, D.Top + 9)});
        return;
    }
    if (ct == ctBitButton) {
        if (TBitmap *glyph = G->CellBitmap(); glyph && !glyph->Empty()) {
            DrawGlyphBitmap(ACanvas, glyph, D.Left + 1, D.Top + 1);
            D.Left += glyph->Width() + 2;
        }
    }
    const TColor savedColor = ACanvas->Font()->Color();
    if (look == blkTones) {
        const TColorTone &tone = state == bstDown ? FTones.Selected
                                 : state == bstHot ? FTones.Hover
                                 : state == bstDisabled ? FTones.Disabled
                                                        : FTones.Background;
        ACanvas->Font()->SetColor(tone.TextColor);
    }
    ACanvas->Brush()->SetStyle(bsClear);
    TRect tr(D.Left + 1, D.Top, D.Right, D.Bottom);
    const QString &caption = G->CellText();
    uint32_t flags = DT_CENTER | DT_VCENTER | DT_NOPREFIX;
    flags |= caption.contains(QChar('\r')) ? DT_WORDBREAK : DT_SINGLELINE;
    ACanvas->DrawText(caption, tr, flags);
    ACanvas->Font()->SetColor(savedColor);
}

void TProStringGrid::DrawNodeGlyph(TCanvas *ACanvas, TRect R, int ACol, int ARow, TGridDrawState AState,
                                   TCellGraphic *G)
{
    const TCellNode *cn = FCellNode.get();
    const int indentStep = cn->NodeIndent();
    const int cellLeft = CellRect(ACol, ARow).Left;
    const int cellRight = R.Right;
    const int indent = GetNodeIndent(ARow);
    R.Left = cellLeft + indent - indentStep;

    if (cn->ShowTree() && ARow >= FixedRows() && ARow < RowCount() - FixedFooters()) {
        ACanvas->Pen()->SetColor(cn->TreeColor());
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Pen()->SetStyle(psSolid);
        const int x = R.Left + indentStep / 2 + 2;
        if (ARow + 1 < RowCount()) {
            const int next = GetNodeIndent(ARow + 1);
            if (next > 0 && !(G->CellBoolean() && next < indent)) {
                ACanvas->MoveTo(x, R.Top + (R.Bottom - R.Top) / 2);
                ACanvas->LineTo(x, R.Bottom);
            }
        }
        if (ARow > 0 && GetNodeIndent(ARow - 1) >= indent) {
            ACanvas->MoveTo(x, R.Top);
            ACanvas->LineTo(x, R.Top + 6);
        }
    }

    R.Left = cellLeft + indent - indentStep / 2 - 4;
    TColor bk = ACanvas->Brush()->Color();
    if (bk == clNone)
        bk = FixedCols() > 0 ? FixedColor() : Color();
    if (ShownSelected(ACol, ARow, AState))
        bk = FSelectionColor;

    const bool closed = G->CellBoolean();
    if (cn->NodeType() == cn3D) {
        FillRectColor(ACanvas, Rect(R.Left, R.Top, cellRight, R.Bottom), cn->Color());
        PenLine(ACanvas, clWhite, R.Left, R.Bottom - 1, R.Left, R.Top);
        ACanvas->LineTo(cellRight - 1, R.Top);
        PenLine(ACanvas, 0x808080, cellRight - 1, R.Top, cellRight - 1, R.Bottom - 1);
        ACanvas->LineTo(R.Left, R.Bottom - 1);
    }
    const int height = R.Bottom - R.Top;
    switch (cn->NodeType()) {
    case cnLeaf:
        R.Top += (height - 12) / 2;
        DrawTransparentResource(ACanvas, closed ? QStringLiteral("PSGLEAFCLOSE") : QStringLiteral("PSGLEAFOPEN"), bk, R);
        return;
    case cnXP:
        R.Left += 4;
        R.Top += (height - 10) / 2;
        DrawTransparentResource(ACanvas, closed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"), bk, R);
        return;
    case cnGlyph:
        if (!cn->ExpandGlyph()->Empty() && !cn->ContractGlyph()->Empty()) {
            TBitmap *glyph = closed ? cn->ContractGlyph() : cn->ExpandGlyph();
            R.Top += (height - glyph->Height()) / 2;
            DrawTransparentBitmap(ACanvas, glyph, bk, R);
            return;
        }
        break;
    default:
        break;
    }

    const int l = R.Left + 4, t = R.Top + std::max(0, height - 8) / 2;
    FillRectColor(ACanvas, Rect(l, t, l + 8, t + 8), cn->Color());
    if (cn->NodeType() == cnFlat) {
        ACanvas->Pen()->SetColor(cn->NodeColor());
        ACanvas->Brush()->SetStyle(bsClear);
        ACanvas->Rectangle(l, t, l + 9, t + 9);
        ACanvas->Brush()->SetStyle(bsSolid);
        PenLine(ACanvas, cn->NodeColor(), l + 2, t + 4, l + 7, t + 4);
        if (closed)
            PenLine(ACanvas, cn->NodeColor(), l + 4, t + 2, l + 4, t + 7);
    } else {
        TRect box(l, t, l + 9, t + 9);
        ACanvas->DrawEdge(box, closed ? BDR_RAISEDINNER : BDR_SUNKENINNER, BF_RECT);
    }
}

void TProStringGrid::DrawCheckBox(TRect R, bool Checked, TCheckBoxState State, bool TriState, TCellControlStyle Style,
                                  bool Grayed, bool Enabled)
{
    TCanvas *c = GlyphCanvas();
    const TControlLook *cl = FControlLook.get();
    if (cl->NoDisabledCheckRadioLook() || cl->CheckAlwaysActive())
        Enabled = true;
    if (Style == csTheme && !ThemedControls())
        Style = csClassic;
    if (TriState) {
        Checked = State == cbChecked;
        Grayed = State == cbGrayed;
    }
    const int size = cl->CheckSize();
    switch (Style) {
    case csWinXP:
    case csDUZ: {
        // Checked enabled, unchecked enabled, checked disabled, unchecked disabled.
        const int n = (Style == csDUZ ? 1 : 5) + (Checked ? 0 : 1) + (Enabled ? 0 : 2);
        DrawGlyphResource(c, QStringLiteral("PSGCHK%1").arg(n, 2, 10, QChar('0')), R.Left, R.Top);
        break;
    }
    case csGlyph:
        DrawGlyphBitmap(c, Checked ? cl->CheckedGlyph() : cl->UnCheckedGlyph(), R.Left, R.Top);
        break;
    case csTheme: {
        const int st = Grayed    ? (Enabled ? CBS_MIXEDNORMAL : CBS_MIXEDDISABLED)
                       : Checked ? (Enabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED)
                                 : (Enabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED);
        DrawTheme(c, QStringLiteral("button"), BP_CHECKBOX, st, Rect(R.Left, R.Top, R.Left + size, R.Top + size));
        break;
    }
    case csBorland: {
        c->Pen()->SetWidth(1);
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetColor(clBtnFace);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
        c->Rectangle(R);
        PenLine(c, clBtnHighlight, R.Left, R.Bottom - 1, R.Left, R.Top);
        c->LineTo(R.Right - 1, R.Top);
        PenLine(c, clBtnShadow, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
        c->LineTo(R.Left, R.Bottom - 1);
        if (Checked) {
            const TColor tick = Enabled ? cl->Color() : TColor(0x808080);
            const int mid = R.Top + (R.Bottom - R.Top) / 2;
            PenLine(c, tick, R.Left + 2, mid, R.Left + 2, R.Bottom - 2);
            PenLine(c, tick, R.Left + 3, mid, R.Left + 3, R.Bottom - 2);
            PenLine(c, tick, R.Left + 2, R.Bottom - 2, R.Right - 2, R.Top + 2);
            PenLine(c, tick, R.Left + 3, R.Bottom - 2, R.Right - 1, R.Top + 2);
        }
        break;
    }
    default: {
        uint32_t flags = Grayed ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK;
        if (Checked || Grayed)
            flags |= DFCS_CHECKED;
        if (Style == csFlat)
            flags |= DFCS_FLAT;
        if (!Enabled)
            flags |= DFCS_INACTIVE;
        const int l = R.Left + (R.Width() - size) / 2, t = R.Top + (R.Height() - size) / 2;
        DrawFrameControl(c, Rect(l, t, l + size, t + size), DFC_BUTTON, flags);
        break;
    }
    }
}

void TProStringGrid::DrawRadioGroup(TCanvas *ACanvas, TRect R, bool UpwardRows, double Zoom, TCellControlStyle Style,
                                    int ARow, int ACol, bool SelectedCell, TStrings *Items, bool Disabled,
                                    bool Horizontal, int ItemIndex, int Count)
{
    const TControlLook *cl = FControlLook.get();
    if (cl->NoDisabledCheckRadioLook() || cl->RadioAlwaysActive())
        Disabled = false;
    if (Style == csTheme && !ThemedControls())
        Style = csClassic;
    ACanvas->Brush()->SetStyle(bsClear);
    const QString cellText = GetCellEx(RealColIndex(ACol), ARow);
    if (SelectedCell && FShowSelection)
        ACanvas->Font()->SetColor(FSelectionTextColor);

    const bool frame = Style == csClassic || Style == csFlat;
    const bool bitmapStyle = Style == csWinXP || Style == csDUZ || Style == csGlyph;
    const int th = ACanvas->TextHeight(QStringLiteral("gh"));
    const int rowHeight = frame ? th : std::max(16, th);
    const int radio = cl->RadioSize();
    const int glyph = frame ? int((Style == csFlat ? radio + 2 : radio) * Zoom) : 16;
    int textWidths = 0;

    for (int i = 1; i <= Count; ++i) {
        const bool hasItem = Items && i - 1 < Items->Count();
        const QString text = hasItem ? Items->Strings(i - 1) : QString();
        // Without options there is no caption to match the cell's text against.
        const bool selected = i == ItemIndex + 1 || (ItemIndex == -1 && hasItem && text == cellText);
        int x, y, tx;
        if (Horizontal) {
            y = R.Top + (R.Height() - glyph) / 2;
            if (frame) {
                x = R.Left + 2 + (i - 1) * radio + textWidths;
                tx = x + int(radio * Zoom);
            } else {
                x = R.Left + i * 16 - 14 + textWidths;
                tx = x + 16;
            }
            textWidths += ACanvas->TextWidth(text);
        } else {
            const int offset = rowHeight * (i - 1) + 2;
            y = UpwardRows ? R.Top - offset : R.Top + offset;
            if (text.isEmpty())
                x = R.Left + (R.Width() - glyph) / 2;
            else
                x = R.Left + 2;
            tx = frame ? x + int((radio + 4) * Zoom) : R.Left + (bitmapStyle ? 18 : 20);
        }
        const int ty = bitmapStyle ? y + 1 : y - 2;

        switch (Style) {
        case csBorland: {
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(clBtnFace);
            ACanvas->Pen()->SetColor(clBtnFace);
            ACanvas->Polygon({TPoint(x + 2, y + 8), TPoint(x + 8, y + 2), TPoint(x + 14, y + 8), TPoint(x + 8, y + 14)});
            const TColor lowerLeft = selected ? TColor(0x808080) : clWhite;
            const TColor upperRight = selected ? clWhite : TColor(0x808080);
            PenLine(ACanvas, lowerLeft, x + 2, y + 8, x + 8, y + 14);
            PenLine(ACanvas, lowerLeft, x + 2, y + 8, x + 8, y + 2);
            PenLine(ACanvas, upperRight, x + 8, y + 2, x + 14, y + 8);
            PenLine(ACanvas, upperRight, x + 14, y + 8, x + 8, y + 14);
            if (selected) {
                ACanvas->Brush()->SetColor(cl->Color());
                ACanvas->Pen()->SetColor(cl->Color());
                ACanvas->Polygon(
                    {TPoint(x + 6, y + 8), TPoint(x + 8, y + 6), TPoint(x + 10, y + 8), TPoint(x + 8, y + 10)});
            }
            ACanvas->Brush()->SetStyle(bsClear);
            break;
        }
        case csTheme: {
            const int st = selected ? (Disabled ? RBS_CHECKEDDISABLED : RBS_CHECKEDNORMAL)
                                    : (Disabled ? RBS_UNCHECKEDDISABLED : RBS_UNCHECKEDNORMAL);
            DrawTheme(ACanvas, QStringLiteral("button"), BP_RADIOBUTTON, st, Rect(x, y, x + 16, y + 16));
            break;
        }
        case csWinXP:
        case csDUZ: {
            // Selected enabled, not selected enabled, selected disabled, not selected disabled.
            const int n = (Style == csDUZ ? 1 : 5) + (selected ? 0 : 1) + (Disabled ? 2 : 0);
            DrawGlyphResource(ACanvas, QStringLiteral("PSGRAD%1").arg(n, 2, 10, QChar('0')), x, y);
            break;
        }
        case csGlyph:
            DrawGlyphBitmap(ACanvas, selected ? cl->RadioOnGlyph() : cl->RadioOffGlyph(), x, y);
            break;
        default: {
            uint32_t flags = DFCS_BUTTONRADIO;
            if (Style == csFlat)
                flags |= DFCS_FLAT;
            if (Disabled)
                flags |= DFCS_INACTIVE;
            if (selected)
                flags |= DFCS_CHECKED;
            DrawFrameControl(ACanvas, Rect(x, y, x + glyph, y + glyph), DFC_BUTTON, flags);
            break;
        }
        }
        if (!text.isEmpty()) {
            ACanvas->Brush()->SetStyle(bsClear);
            ACanvas->TextOut(tx, ty, text);
        }
    }
}
