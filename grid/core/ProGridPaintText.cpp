// The cell drawing routine: everything inside one cell in its order (fixed-cell looks, markers,
// in-cell buttons, text, borders, tree lines, graphic, focus), and the cell text painter.
#include "editors/ProDropDown.h"
#include "grid/core/ProGrid.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/RichText.h"
#include "framework/graphics/Themes.h"

namespace {

uint32_t HorizontalTextFlag(TAlignment HA)
{
    switch (HA) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

uint32_t VerticalTextFlag(TVAlignment VA)
{
    switch (VA) {
    case vtaCenter: return DT_VCENTER;
    case vtaBottom: return DT_BOTTOM;
    default: return DT_TOP;
    }
}

// A gradient box: From to To top to bottom, or two halves when a mirror colour is set; the border
// as a frame or only as the side lines. The brush colour is kept for the text that follows.
void GradientBox(TCanvas *C, const TRect &R, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border,
                 bool SidesOnly)
{
    const TColor brush = C->Brush()->Color();
    FillCellBackground(C, R, From, true, SidesOnly, Border, true, MirrorTo, MirrorFrom, To);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(brush);
}

void PenLine(TCanvas *C, int X1, int Y1, int X2, int Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

void ColorLine(TCanvas *C, int X1, int Y1, int X2, int Y2, TColor Color)
{
    C->Pen()->SetColor(Color);
    PenLine(C, X1, Y1, X2, Y2);
}

// A copy of the glyph drawn with its automatic transparent colour left out.
void DrawGlyphTransparent(TCanvas *C, TBitmap *Glyph, int X, int Y)
{
    TBitmap tmp;
    tmp.Assign(Glyph);
    tmp.SetTransparentMode(tmAuto);
    tmp.SetTransparent(true);
    C->Draw(X, Y, &tmp);
}

bool IsCheckGraphic(const TCellGraphic *G)
{
    switch (G->CellType()) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox: return true;
    default: return false;
    }
}

// Cells whose own colour still lets the grid's background gradient show.
bool GradientShowsUnderOwnColor(const TCellGraphic *G)
{
    if (!G)
        return false;
    switch (G->CellType()) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadio:
    case ctButton:
    case ctRadioButton: return true;
    default: return false;
    }
}

// The in-cell scroll bar, painted at the right edge of R; returns its width.
int DrawCellScrollBar(TCanvas *C, const TRect &R, int Position, int PageSize, int Range)
{
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    const TRect bar(R.Right - w, R.Top, R.Right, R.Bottom);
    FillRectColor(C, bar, clBtnFace);
    const int arrow = std::min(w, bar.Height() / 2);
    DrawFrameControl(C, TRect(bar.Left, bar.Top, bar.Right, bar.Top + arrow), DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(C, TRect(bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom), DFC_SCROLL, DFCS_SCROLLDOWN);
    const int track = bar.Height() - 2 * arrow;
    if (track > 0 && Range > 0) {
        const int thumb = std::max(std::min(8, track), track * PageSize / Range);
        const int room = track - thumb;
        const int span = Range - PageSize;
        const int top = bar.Top + arrow + (span > 0 ? room * std::clamp(Position, 0, span) / span : 0);
        DrawFrameControl(C, TRect(bar.Left, top, bar.Right, top + thumb), DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    return w;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Settings

void TProStringGrid::SetFilterDropDownRow(int v)
{
    if (v >= FixedRows())
        return;
    FFilterRow = v;
    Invalidate();
}

bool TProStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    const THoverFixedCells h = HoverFixedCells();
    return (ACol < FixedCols() && (h == hfAll || h == hfFixedColumns)) ||
           (ARow < FixedRows() && (h == hfAll || h == hfFixedRows));
}

bool TProStringGrid::InterfaceDrawsUnderText(TCellGraphic *Graphic)
{
    auto *ic = dynamic_cast<IGridCell *>(Graphic->CellBitmapObject());
    return ic && ic->IsBackground();
}

bool TProStringGrid::IsSortedHeaderCell(int ACol, int RCol, int ARow) const
{
    const TSortSettings *ss = FSortSettings.get();
    return ss->Show() && ARow == ss->Row() && RowCount() > 2 && FixedRows() > 0 &&
           (RCol == ss->Column() || FSortIndexes->FindIndex(RCol) >= 0) && (ACol >= FixedCols() || ss->FixedCols());
}

// ---------------------------------------------------------------------------------------------
// The cell drawing routine

void TProStringGrid::DrawCellText(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    TCellPaint P;
    P.Canvas = ACanvas;
    P.R = ARect;
    P.ACol = ACol;
    P.ARow = ARow;
    P.AState = AState;
    TRect &R = P.R;
    const TGridOptions opts = Options();
    const int glw = GridLineWidth();

    SetCtl3D(!FFlat);

    P.RCol = RealColIndex(ACol);
    const TMouseActions *ma = FMouseActions.get();
    P.RRow = ma->DisjunctRowSelect() && ma->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
    P.FilterButton = ARow == FFilterRow && GetColumnFilter(P.RCol);

    // The layout's graphic is the cell's graphic, so the scroll bar needs no look-up of its own.
    P.Graphic = GetCellGraphicLayout(P.RCol, ARow, P.GraphicVAlign, P.GraphicHAlign, P.WithText, P.GH, P.GW);
    if (TCellGraphic *sb = P.Graphic; sb && sb->CellType() == ctScrollbar && sb->CellAngle() < sb->CellErrFrom()) {
        R.Right -= DrawCellScrollBar(ACanvas, R, sb->CellIndex(), sb->CellAngle(), sb->CellErrFrom());
        P.ScrollOffset = sb->CellIndex();
    }

    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TCellGradientDirection gd = GradientVertical;
    P.WW = WordWrap();
    GetVisualProperties(ACol, ARow, P.AState, false, false, true, ACanvas->Brush(), colorTo, mirror, mirrorTo,
                        ACanvas->Font(), P.HA, P.VA, P.WW, gd);
    P.PlainBrush = ACanvas->Brush()->Color();
    P.PlainFont = ACanvas->Font()->Color();

    if (P.RCol == 0 && IsNode(ARow) && HasCellProperties(0, ARow))
        P.GW = GetCellProperties(0, ARow)->NodeLevel() * 12 + 4;

    if (P.AState.Contains(gdSelected) && !P.AState.Contains(gdFocused) && FSelectionColor == clNone)
        ACanvas->Brush()->SetColor(clHighlight);
    if (ZoomFactor() != 0)
        ACanvas->Font()->SetSize(ACanvas->Font()->Size() + ZoomFactor());
    const TColor keptBrush = ACanvas->Brush()->Color(), keptFont = ACanvas->Font()->Color();

    P.Fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    const bool designing = ComponentState().Contains(csDesigning);
    if (P.Fixed && (FLook == glDUZ || FLook == glXP || FLook == glVista || FLook == glWin7 || FLook == glOffice2007)) {
        const bool moving = GridState() == gsColMoving;
        const bool hot = IsHoverFixedCell(ACol, ARow) && !designing &&
                         ((!moving && ACol == FHoverFixedX && ARow == FHoverFixedY) || (moving && ACol == FMovecell));
        const TSortSettings *ss = FSortSettings.get();
        if (hot) {
            R.Bottom += 1;
            const bool pressed = FMouseDownMove || (moving && FMovecell >= 0);
            const bool dropButton = FControlLook->FixedDropDownButton() && CanShowFixedDropDown(P.RCol);
            auto hoverBox = [&](const TRect &B) {
                GradientBox(ACanvas, B, FDUZGradientHoverFrom, FDUZGradientHoverTo, FDUZGradientHoverMirrorFrom,
                            FDUZGradientHoverMirrorTo, FDUZGradientHoverBorder, false);
            };
            auto downBox = [&](const TRect &B) {
                GradientBox(ACanvas, B, FDUZGradientDownFrom, FDUZGradientDownTo, FDUZGradientDownMirrorFrom,
                            FDUZGradientDownMirrorTo, FDUZGradientDownBorder, false);
            };
            if (!pressed) {
                hoverBox(R);
            } else if (dropButton) {
                const TRect body(R.Left, R.Top, R.Right - 16, R.Bottom), button(R.Right - 16, R.Top, R.Right, R.Bottom);
                if (FDropDownDown) {
                    downBox(button);
                    hoverBox(body);
                } else {
                    hoverBox(button);
                    downBox(body);
                }
            } else {
                downBox(R);
            }
            if (dropButton) {
                ACanvas->Pen()->SetWidth(1);
                ColorLine(ACanvas, R.Right - 16, R.Top, R.Right - 16, R.Bottom,
                          pressed ? FDUZGradientDownBorder : FDUZGradientHoverBorder);
                DrawDownTriangle(ACanvas, R.Right - 8, R.Top + 8, clBlack);
                ACanvas->Brush()->SetColor(keptBrush);
                R.Right -= 16;
            }
        } else if (FActiveCellShow && ((FixedCols() > 0 && ACol == FixedCols() - 1 && ARow == Row()) ||
                                       (FixedRows() > 0 && ARow == FixedRows() - 1 && ACol == Col()))) {
            GradientBox(ACanvas, R, FActiveCellColor, FActiveCellColorTo, clNone, clNone, clNone, false);
        } else if (ss->Column() == P.RCol && ss->HeaderColor() != clNone && ARow == FixedRows() - 1 &&
                   (ACol >= FixedCols() || ss->FixedCols())) {
            GradientBox(ACanvas, R, ss->HeaderColor(), ss->HeaderColorTo(), ss->HeaderMirrorColor(),
                        ss->HeaderMirrorColorTo(), clNone, true);
        } else if (!FFlat) {
            GradientBox(ACanvas, R, keptBrush, colorTo, mirror, mirrorTo, FLook == glVista ? clWhite : clNone, true);
        }
    }

    int indicatorWidth = 0;
    if (P.RCol == 0 && ARow == Row() && FixedCols() > 0 && !FRowIndicator->Empty()) {
        const int h = FRowIndicator->Height();
        int y = R.Top;
        if (FVAlignment == vtaCenter)
            y = R.Top + (R.Height() - h) / 2;
        else if (FVAlignment == vtaBottom)
            y = R.Bottom - h;
        DrawGlyphTransparent(ACanvas, FRowIndicator.get(), R.Left + 2, y);
        indicatorWidth = FRowIndicator->Width() + 2;
        R.Left += indicatorWidth;
    }

    if (P.Fixed && FLook == glListView && !FFlat) {
        if (FIsWinXP) {
            R.Bottom += 1;
            const TPoint m = ScreenToClient(GetCursorPos());
            const bool inside = m.X >= R.Left && m.X < R.Right && m.Y >= R.Top && m.Y < R.Bottom;
            const HTHEME th = OpenThemeData(0, QStringLiteral("header"));
            // Header parts: 1 item, 3 the item at the right end; item states 1 normal, 2 hot, 3 pressed.
            const int part = inside ? 1 : 3, state = inside ? (FMouseDownMove ? 3 : 2) : 1;
            if (!DrawThemeBackground(th, ACanvas, part, state, R))
                DrawThemeBackground(th, ACanvas, 1, state, R);
            CloseThemeData(th);
            ACanvas->Pen()->SetWidth(1);
            ColorLine(ACanvas, R.Left, R.Top, R.Right, R.Top, clWhite);
        } else {
            FillRectColor(ACanvas, R, clBtnFace);
            ACanvas->Pen()->SetColor(clWhite);
            ACanvas->Brush()->SetStyle(bsClear);
            ACanvas->Rectangle(R);
            ACanvas->Brush()->SetStyle(bsSolid);
        }
        ACanvas->Brush()->SetColor(keptBrush);
    }

    if (ACol == 0 && FShowModified->Enabled() && RowModified(ARow)) {
        FillRectColor(ACanvas, TRect(R.Right - 4, R.Top, R.Right, R.Bottom), FShowModified->Color());
        ACanvas->Brush()->SetColor(keptBrush);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, ACanvas, P.RCol, ARow, P.AState, R, false);

    const int rightBeforeButtons = R.Right;
    const TControlLook *cl = FControlLook.get();
    if (!IsFixed(ACol, ARow) && (cl->DropDownAlwaysVisible() || cl->SpinButtonsAlwaysVisible())) {
        int look = cl->FlatButton() ? blkFlat : (FIsWinXP ? blkThemed : blkClassic);
        if (FFlat && FTones.Background.BrushColor != clNone)
            look = blkTones;
        bool canEdit = true;
        GetCellCanEdit(P.RCol, ARow, canEdit);
        const int state = canEdit ? bstNormal : bstDisabled;
        if (cl->DropDownAlwaysVisible() && HasComboBox(P.RCol, ARow)) {
            DrawDropDownButton(ACanvas, 0, TRect(R.Left - 2, R.Top - 1, R.Right + 1, R.Bottom), FTones, state, look);
            R.Right -= 16;
        }
        if (cl->SpinButtonsAlwaysVisible() && HasSpinEdit(P.RCol, ARow)) {
            DrawSpinButtons(ACanvas, 0, R, FTones, state, look);
            R.Right -= 16;
        }
        ACanvas->Brush()->SetColor(keptBrush);
    }

    int textWidth = 0;
    const bool interfaceUnder = P.Graphic && P.Graphic->CellType() == ctInterface && InterfaceDrawsUnderText(P.Graphic);
    if (interfaceUnder) {
        TRect under = R;
        InflateRect(under, 1, 1);
        DrawCellGraphic(ACanvas, under, ACol, P.RCol, ARow, P.AState, P.Graphic, P.HA, P.VA, 0);
    }
    const bool ownerDrawn = (OnDrawCell || OnCustomCellDraw) && NoDefaultDraw();
    if (!ownerDrawn && !(P.Graphic && FNoImageAndText))
        textWidth = DrawCellContentText(P);

    R.Right = rightBeforeButtons;
    ACanvas->Brush()->SetColor(keptBrush);
    ACanvas->Font()->SetColor(keptFont);

    InflateRect(R, 1, 1);
    DrawCellBorders(ACanvas, P.RCol, ARow, R);
    if (ACol == 0 && ARow == Row())
        R.Left -= indicatorWidth;

    if (P.Fixed && !FFlat) {
        ACanvas->Pen()->SetWidth(1);
        const TColor shadow = DarkenHalf(FixedColor());
        switch (FLook) {
        case glClassic: {
            R.Top += 1;
            R.Bottom += 1;
            R.Left += 1;
            TRect e = R;
            ACanvas->DrawEdge(e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
            e = R;
            ACanvas->DrawEdge(e, EDGE_RAISED, BF_RIGHT | BF_BOTTOM);
            ACanvas->Pen()->SetColor(clBlack);
            ACanvas->MoveTo(R.Right - 1, R.Top);
            ACanvas->LineTo(R.Right - 1, R.Bottom - 1);
            ACanvas->LineTo(R.Left - 1, R.Bottom - 1);
            break;
        }
        case glDUZ:
        case glXP:
            R.Bottom += 1;
            if (opts.Contains(goFixedHorzLine)) {
                ColorLine(ACanvas, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1, shadow);
                ACanvas->Pen()->SetColor(clWhite);
                ACanvas->MoveTo(R.Right - 2, R.Top + 1);
                ACanvas->LineTo(R.Left + 1, R.Top + 1);
                ACanvas->LineTo(R.Left + 1, R.Bottom - 1);
            }
            break;
        case glSoft:
            R.Right += 1;
            R.Bottom += 1;
            if (opts.Contains(goFixedHorzLine)) {
                ColorLine(ACanvas, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1, shadow);
                ACanvas->Pen()->SetColor(clWhite);
                ACanvas->MoveTo(R.Right, R.Top + 1);
                ACanvas->LineTo(R.Left + 1, R.Top + 1);
                ACanvas->LineTo(R.Left + 1, R.Bottom - 1);
            }
            if (opts.Contains(goFixedVertLine)) {
                ColorLine(ACanvas, R.Right - 2, R.Top, R.Right - 2, R.Bottom - 1, shadow);
                ColorLine(ACanvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1, clWhite);
            }
            break;
        default: break;
        }
    }

    if (FLook != glClassic && FFlat && FFixedRightCols > 0 && P.RCol >= AllColCount() - FFixedRightCols) {
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Pen()->SetColor(0x808080);
        if (opts.Contains(goFixedHorzLine)) {
            PenLine(ACanvas, R.Left - 1, R.Top - 1, R.Right + 1, R.Top - 1);
            PenLine(ACanvas, R.Left - 1, R.Bottom, R.Right + 1, R.Bottom);
        }
        if (opts.Contains(goFixedVertLine)) {
            PenLine(ACanvas, R.Left - 1, R.Top - 1, R.Left - 1, R.Bottom + 1);
            PenLine(ACanvas, R.Right, R.Top - 1, R.Right, R.Bottom + 1);
        }
    }

    if (P.RCol == 0 && ARow >= FixedRows() && HasNodes() && FCellNode->ShowTree())
        DrawTreeLines(ACanvas, ARow, R);

    if (P.Graphic && !interfaceUnder) {
        if (P.Fixed)
            R.Top += 1;
        DrawCellGraphic(ACanvas, R, ACol, P.RCol, ARow, P.AState, P.Graphic, P.HA, P.VA, textWidth);
    }

    if (OnDrawCell)
        OnDrawCell(this, P.RCol, ARow, TRect(R.Left + 1, R.Top + 1, R.Right - glw, R.Bottom - glw), P.AState);
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, ACanvas, P.RCol, ARow, P.AState, R, false);

    if (!HideFocusRect()) {
        const TPoint base = BaseCell(ACol, ARow);
        if (base.X == Col() && base.Y == Row() && Focused() && !opts.Contains(goRowSelect) && Row() >= FixedRows() &&
            Col() >= FixedCols()) {
            InflateRect(R, glw - 1, glw - 1);
            R.Right -= 1;
            R.Bottom -= 1;
            ACanvas->DrawFocusRect(R);
        }
    }
}

void TProStringGrid::DrawTreeLines(TCanvas *ACanvas, int ARow, TRect &R)
{
    const TCellNode *cn = FCellNode.get();
    auto levelOf = [this](int r) { return HasCellProperties(0, r) ? GetCellProperties(0, r)->NodeLevel() : 0; };
    ACanvas->Pen()->SetColor(cn->TreeColor());
    ACanvas->Pen()->SetWidth(1);
    const int ni = cn->NodeIndent();
    const int indent = GetNodeIndent(ARow);
    const int level = levelOf(ARow);
    R.Left = indent;
    const int x = indent + ni / 2 - ni + 2;
    const int m = R.Top + (R.Bottom - R.Top) / 2;
    if (level > 0)
        PenLine(ACanvas, x, m, cn->ShowTreeFull() ? R.Right : indent + 4, m);
    const int span = GetNodeSpanType(ARow);
    if (span == 1)
        PenLine(ACanvas, x, R.Top, x, m);
    else if (span == 2)
        PenLine(ACanvas, x, R.Top, x, R.Bottom + 4);
    if (!HasCellProperties(0, ARow))
        return;
    const bool closes = ARow == RowCount() - 1 || levelOf(ARow + 1) == 0;
    for (int i = 1; i <= level; ++i) {
        const int xi = x - ni * i;
        ACanvas->MoveTo(xi, R.Top);
        ACanvas->LineTo(xi, m);
        if (closes) {
            if (i < level)
                ACanvas->LineTo(x - ni * (i - 1), m);
        } else {
            ACanvas->LineTo(xi, R.Bottom + 4);
        }
    }
}

void TProStringGrid::DrawCellBorders(TCanvas *ACanvas, int RCol, int ARow, TRect B)
{
    TCellBorders borders;
    TPen saved;
    saved.Assign(ACanvas->Pen());
    GetCellBorder(RCol, ARow, ACanvas->Pen(), borders);
    if (borders.Empty()) {
        ACanvas->Pen()->Assign(&saved);
        return;
    }
    TPen left, top, right, bottom;
    for (TPen *p : {&left, &top, &right, &bottom})
        p->Assign(ACanvas->Pen());
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, RCol, &left, &top, &right, &bottom);
    const TGridOptions opts = Options();
    const int half = (ACanvas->Pen()->Width() + 1) / 2;
    const int h = opts.Contains(goHorzLine) ? half : 0;
    const int v = opts.Contains(goVertLine) ? half : 0;
    const int glw = GridLineWidth();
    B.Bottom -= h;
    if (borders.Contains(cbLeft)) {
        ACanvas->Pen()->Assign(&left);
        PenLine(ACanvas, std::max(0, B.Left), B.Top, std::max(0, B.Left), B.Bottom);
    }
    B.Right -= v;
    if (borders.Contains(cbRight)) {
        ACanvas->Pen()->Assign(&right);
        PenLine(ACanvas, B.Right - 1, B.Top, B.Right - 1, B.Bottom);
    }
    B.Left += v;
    if (borders.Contains(cbTop)) {
        ACanvas->Pen()->Assign(&top);
        B.Top += h;
        const int y = glw > 0 ? std::max(0, B.Top - glw) : B.Top + 1;
        PenLine(ACanvas, B.Left, y, B.Right, y);
    }
    if (borders.Contains(cbBottom)) {
        ACanvas->Pen()->Assign(&bottom);
        PenLine(ACanvas, B.Left - glw - 1, B.Bottom - 1, B.Right, B.Bottom - 1);
    }
    ACanvas->Pen()->Assign(&saved);
}

// ---------------------------------------------------------------------------------------------
// The cell text painter

int TProStringGrid::DrawCellContentText(TCellPaint &P)
{
    TCanvas *C = P.Canvas;
    const TRect &R = P.R;
    const TMouseActions *ma = FMouseActions.get();
    const TGridOptions opts = Options();
    const int glw = GridLineWidth();
    const int fc = FixedCols();

    const bool inDisjunctRows = ma->DisjunctRowSelect() && opts.Contains(goRowSelect) && RowSelect(P.ARow) &&
                                P.ACol >= fc && P.ACol < ColCount() - FFixedRightCols;
    const bool selected = P.AState.Contains(gdSelected) || inDisjunctRows;
    TColor urlColor = FURLColor;
    if (selected && !P.Fixed) {
        if (FShowSelection) {
            if (FSelectionColor != clNone)
                C->Brush()->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone) {
                C->Font()->SetColor(FSelectionTextColor);
                urlColor = FSelectionTextColor;
            }
        }
        if ((!Focused() || (P.Graphic && IsCheckGraphic(P.Graphic))) && !FShowSelection) {
            C->Brush()->SetColor(P.PlainBrush);
            C->Font()->SetColor(P.PlainFont);
            urlColor = FURLColor;
        }
    }

    QString text = GetFormattedCell(P.RCol, P.ARow);
    int kind = CellTextKind(text, EnableHTML());
    if (kind == ctkFormula) {
        GetFormulaText(P.RCol, P.ARow, text);
        kind = CellTextKind(text, EnableHTML());
    }
    // Markers belong to graphics.
    int errPos = 0, errLen = 0;
    if (P.Graphic)
        GetMarker(P.RCol, P.ARow, errPos, errLen);
    if (IsPassword(P.RCol, P.ARow))
        FillWithChar(text, PasswordChar());

    TRect T = R;
    if (P.Fixed) {
        T.Left += glw;
        T.Top += glw;
    }
    const bool clipped = P.ScrollOffset > 0;
    if (clipped) {
        C->SaveState();
        C->IntersectClipRect(R);
        T.Top -= P.ScrollOffset;
    }

    if (P.FilterButton) {
        TBitmap *glyph = FFilter->HasFilter(P.RCol) ? FFilterDropDown->GlyphActive() : FFilterDropDown->Glyph();
        if (glyph->Empty()) {
            DrawTransparentResource(C, QStringLiteral("PSGFILT"), FixedColor(), TRect(R.Right - 16, T.Top, R.Right, T.Top + 16));
        } else {
            DrawGlyphTransparent(C, glyph, R.Right - 16, T.Top);
        }
    }

    if (!P.Fixed && !FMouseDown &&
        ((ma->DisjunctRowSelect() && !RowSelect(P.ARow)) || (ma->DisjunctColSelect() && !ColSelect(P.ACol)))) {
        C->Brush()->SetColor(Color());
        C->Font()->SetColor(Font()->Color());
        // A colour hook that sets its own font size gets the zoom on top of it.
        const int size = C->Font()->Size();
        GetCellColor(P.RCol, P.ARow, P.AState, C->Brush(), C->Font());
        if (C->Font()->Size() != size)
            C->Font()->SetSize(C->Font()->Size() + ZoomFactor());
    }

    const TBackGround *bg = FBackGround.get();
    const TBackGroundDisplay display = bg->Display();
    const bool backGround = !bg->Bitmap()->Empty() || display == bdGradientHorz || display == bdGradientVert;
    const bool ownColor = backGround && HasCellProperties(P.RCol, P.ARow) &&
                          GetCellProperties(P.RCol, P.ARow)->BrushColor() != clNone;
    const bool qualifies =
        ((bg->Cells() == bcNormal && !P.Fixed) || (bg->Cells() == bcFixed && P.Fixed) || bg->Cells() == bcAll) &&
        (!P.AState.Contains(gdSelected) || !FShowSelection);
    if (!bg->Bitmap()->Empty() && !ownColor && qualifies)
        DrawBackGroundPicture(C, P, TRect(T.Left - glw + 1, T.Top - glw + 1, T.Right, T.Bottom));

    if ((display == bdGradientHorz || display == bdGradientVert) && (!ownColor || GradientShowsUnderOwnColor(P.Graphic)) &&
        qualifies &&
        (!FShowSelection || (!P.AState.Contains(gdSelected) && !P.AState.Contains(gdFocused)) ||
         (P.AState.Contains(gdFocused) && !opts.Contains(goDrawFocusSelected)))) {
        const TRect G(T.Left - 1, T.Top - glw, T.Right, T.Bottom + glw - 1);
        const bool horz = display == bdGradientHorz;
        const int extent = horz ? Width() : Height();
        const TColor from = BlendColor(bg->Color(), bg->ColorTo(), 0, horz ? G.Left : G.Top, extent);
        const TColor to = BlendColor(bg->Color(), bg->ColorTo(), 0, horz ? G.Right : G.Bottom, extent);
        const TColor brush = C->Brush()->Color();
        DrawGradientSteps(C, from, to, 128, G, horz);
        C->Brush()->SetColor(brush);
    }

    if (FSelectionRectangle && !P.Fixed)
        DrawSelectionRectangle(C, P, T);

    int textWidth = 0;
    if (P.WithText) {
        T.Left += FXYOffset.X;
        T.Top += FXYOffset.Y;
        if (!XYOffsetTopLeftOnly())
            T.Right -= FXYOffset.X;
        int indent = 0;
        if (P.Graphic || P.GW > 0) {
            switch (P.GraphicHAlign) {
            case haBeforeText:
                T.Left += P.GW;
                indent = P.GW;
                break;
            case haAfterText: T.Right -= P.GW; break;
            case haLeft: indent = P.GW; break;
            default: break;
            }
            if (P.GraphicVAlign == vaAboveText)
                T.Top += P.GH;
            else if (P.GraphicVAlign == vaUnderText)
                T.Bottom -= P.GH;
        }
        if (P.RCol == 0 && HasNodes() && !IsNode(P.ARow))
            T.Left += GetNodeIndent(P.ARow);

        const bool sorted = IsSortedHeaderCell(P.ACol, P.RCol, P.ARow);
        bool indicator = false;
        if (sorted) {
            const int k = FSortIndexes->FindIndex(P.RCol);
            indicator = k <= 0 || FSortSettings->IndexShow();
        }
        int indicatorX = 0;
        bool indicatorText = false;

        if (kind == ctkHTML) {
            if (P.FilterButton)
                T.Right -= 18;
            T.Left -= 1;
            if (sorted)
                T.Right -= 10;
            const int hoverLink = P.ACol == FHoverHTMLCol && P.ARow == FHoverHTMLRow ? FHoverHTMLLink : -1;
            QString anchor, strip, focusAnchor, title, controlID, controlValue, controlType;
            int xs = 0, ys = 0, links = 0, mouseLink = 0;
            TRect hoverRect, controlRect;
            DrawHTMLText(C, text, T, FGridImages, T.Left, T.Top, -1, hoverLink, 1, false, false, false,
                         selected && FShowSelection, FGridBlink, URLUnderlineOnHover(), !EnhTextSize(), FCtrlDown, 1.0,
                         urlColor, clNone, clNone, 0x808080, anchor, strip, focusAnchor, title, xs, ys, links,
                         mouseLink, hoverRect, controlRect, controlID, controlValue, controlType, FImageCache.get(),
                         FPictureContainer, 0, BiDiMode());
            textWidth = xs + 2;
            indicatorX = T.Right + 2;
            indicatorText = true;
        } else if (kind == ctkRichText) {
            C->Pen()->SetColor(C->Brush()->Color());
            if (!(P.AState.Contains(gdSelected) && !P.AState.Contains(gdFocused) && FSelectionColor == clNone))
                C->FillRect(T);
            C->Brush()->SetStyle(bsClear);
            DrawRichCellText(P.ACol, P.ARow, T, C);
            C->Brush()->SetStyle(bsSolid);
            C->Font()->SetColor(clBlack);
        } else {
            if (sorted && P.HA == taCenter)
                T.Left += 10;
            bool url = false;
            if (FURLShow && IsURL(GetGridCell(P.RCol, P.ARow))) {
                if (!FURLFull)
                    StripURLScheme(text);
                C->Font()->SetStyle(C->Font()->Style() + fsUnderline);
                C->Font()->SetColor(urlColor);
                url = true;
            }
            uint32_t flags = DT_EDITCONTROL;
            if (!P.WW && CountTextLines(text, FMultilinecells) == 1) {
                QString line;
                FirstLine(text, false, line);
                text = line;
                flags = DT_SINGLELINE;
                if (EnhTextSize())
                    flags |= DT_END_ELLIPSIS;
            } else if (P.WW && !FMultilinecells && EnhTextSize()) {
                flags |= DT_END_ELLIPSIS;
            }
            FVAlign = VerticalTextFlag(P.VA);
            flags |= DT_EXPANDTABS | DT_NOPREFIX | HorizontalTextFlag(P.HA) | FVAlign;
            if (P.WW)
                flags |= DT_WORDBREAK | DT_EDITCONTROL;
            else if (!FMultilinecells)
                flags |= DT_SINGLELINE;
            if (BiDiMode() != bdLeftToRight)
                flags |= DT_RTLREADING;
            C->Brush()->SetStyle(bsClear);
            if (P.FilterButton)
                T.Right -= 16;
            if (P.Graphic && !text.isEmpty()) {
                TRect m = T;
                C->DrawText(text, m, flags | DT_CALCRECT);
                textWidth = m.Width() + 2;
            }
            C->DrawText(text, T, flags);
            if (errLen > 0 && P.Graphic && (P.Graphic->CellType() == ctEmpty || P.Graphic->CellType() == ctValue))
                DrawErrorUnderline(this, C, text, errLen, errPos, C->TextHeight(QStringLiteral("hg")), T);
            if (url)
                C->Font()->SetStyle(C->Font()->Style() - fsUnderline);

            if (indicator) {
                const int w = C->TextWidth(text);
                const int p = std::max(0, std::min(T.Right - T.Left - 16, w));
                switch (P.HA) {
                case taRightJustify: indicatorX = T.Right - p - 10; break;
                case taCenter: indicatorX = T.Left + 8; break;
                default: indicatorX = T.Left + p + indent + 10; break;
                }
                indicatorText = true;
            }
        }

        if (indicator && indicatorText) {
            int y = T.Top + 8;
            if (P.VA == vtaCenter)
                y = T.Top + (T.Bottom - T.Top) / 2;
            else if (P.VA == vtaBottom)
                y = T.Bottom - 8;
            DrawSortIndicator(C, P.ACol, y, indicatorX);
        }
    }

    if (clipped)
        C->RestoreState();
    return textWidth;
}

void TProStringGrid::DrawBackGroundPicture(TCanvas *C, const TCellPaint &P, const TRect &D)
{
    TBitmap *bmp = FBackGround->Bitmap();
    const int bw = bmp->Width(), bh = bmp->Height();
    C->SaveState();
    if (FBackGround->Display() == bdTile) {
        // Offsets from the widths and heights before the cell, so the tiles run on across cells.
        const bool fromZero = FBackGround->Cells() != bcNormal;
        int sx = 0, sy = 0;
        for (int c = fromZero ? 0 : FixedCols(); c < P.ACol; ++c)
            sx += ColWidths(c);
        for (int r = fromZero ? 0 : FixedRows(); r < P.ARow; ++r)
            sy += RowHeights(r);
        const int x0 = D.Left - 1, y0 = D.Top - 1;
        C->IntersectClipRect(TRect(x0, y0, D.Right, D.Bottom));
        for (int y = y0 - sy % bh; y < D.Bottom; y += bh)
            for (int x = x0 - sx % bw; x < D.Right; x += bw)
                C->Draw(x, y, bmp);
    } else {
        C->IntersectClipRect(D);
        C->Draw(FBackGround->Left(), FBackGround->Top(), bmp);
    }
    C->RestoreState();
}

void TProStringGrid::DrawSelectionRectangle(TCanvas *C, const TCellPaint &P, const TRect &T)
{
    TGridRect sel = Selection();
    const TPoint b1 = BaseCell(sel.Left, sel.Top), b2 = BaseCell(sel.Right, sel.Bottom);
    if (b1 == b2 && (sel.Left != sel.Right || sel.Top != sel.Bottom))
        sel = GridRect(b1.X, b1.Y, b1.X, b1.Y);
    if (P.ACol < sel.Left || P.ACol > sel.Right || P.ARow < sel.Top || P.ARow > sel.Bottom)
        return;
    const int glw = GridLineWidth();
    const TColor color = SelectionRectangleColor();
    C->Pen()->SetColor(color);
    C->Pen()->SetWidth(2);
    const bool left = sel.Left == P.ACol, right = sel.Right == P.ACol;
    if (left)
        PenLine(C, T.Left - glw + 1, T.Bottom, T.Left - glw + 1, T.Top - glw);
    if (right)
        PenLine(C, T.Right - 1, T.Bottom, T.Right - 1, T.Top - glw);
    const int x1 = T.Left - glw, x2 = right ? T.Right - 1 : T.Right;
    if (sel.Top == P.ARow)
        PenLine(C, x1, T.Top - glw + 1, x2, T.Top - glw + 1);
    if (sel.Bottom == P.ARow)
        PenLine(C, x1, T.Bottom, x2, T.Bottom);
    if (SelectionResizer() && P.ACol == sel.Right && P.ARow == sel.Bottom) {
        const TColor brush = C->Brush()->Color();
        FillRectColor(C, TRect(T.Right - 4, T.Bottom - 4, P.R.Right, P.R.Bottom), color);
        C->Brush()->SetColor(brush);
    }
    C->Pen()->SetWidth(1);
}

void TProStringGrid::DrawSortIndicator(TCanvas *ACanvas, int ACol, int Y, int X)
{
    const TSortSettings *ss = FSortSettings.get();
    const bool glyphs = !ss->UpGlyph()->Empty() && !ss->DownGlyph()->Empty();
    if (BiDiMode() != bdLeftToRight)
        X = ClientWidth() - X - 4 - (glyphs ? ss->UpGlyph()->Width() + 7 : 7);
    const int k = ss->IndexShow() ? FSortIndexes->FindIndex(RealColIndex(ACol)) : -1;
    if (k >= 0) {
        TFont font;
        font.Assign(ACanvas->Font());
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(ss->IndexColor());
        ACanvas->Pen()->SetColor(clBlack);
        ACanvas->Font()->SetColor(clBlack);
        ACanvas->Font()->SetSize(6);
        const bool ascending = FSortIndexes->GetSortDirections(k);
        const bool indexGlyphs = !ss->IndexUpGlyph()->Empty() && !ss->IndexDownGlyph()->Empty();
        if (indexGlyphs)
            DrawGlyphTransparent(ACanvas, ascending ? ss->IndexUpGlyph() : ss->IndexDownGlyph(), X - 7, Y - 7);
        else if (ascending)
            ACanvas->Polygon({TPoint(X - 6, Y + 8), TPoint(X + 6, Y + 8), TPoint(X, Y - 4)});
        else
            ACanvas->Polygon({TPoint(X - 7, Y - 5), TPoint(X + 7, Y - 5), TPoint(X, Y + 8)});
        ACanvas->Brush()->SetStyle(bsClear);
        ACanvas->TextOut(X - 2, ascending ? Y - 2 : Y - 4, QString::number(k + 1));
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Font()->Assign(&font);
        return;
    }
    const bool descending = ss->Direction() == sdDescending;
    if (glyphs) {
        DrawGlyphTransparent(ACanvas, descending ? ss->DownGlyph() : ss->UpGlyph(), X - 4, Y - 4);
        ACanvas->Brush()->SetColor(FixedColor());
        return;
    }
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(clWhite);
    if (descending) {
        ACanvas->MoveTo(X + 4, Y - 4);
        ACanvas->LineTo(X, Y + 4);
        ACanvas->Pen()->SetColor(0x808080);
        ACanvas->LineTo(X - 4, Y - 4);
        ACanvas->LineTo(X + 4, Y - 4);
    } else {
        ACanvas->MoveTo(X - 4, Y + 4);
        ACanvas->LineTo(X + 4, Y + 4);
        ACanvas->LineTo(X, Y - 4);
        ACanvas->Pen()->SetColor(0x808080);
        ACanvas->LineTo(X - 4, Y + 4);
    }
    ACanvas->Pen()->SetColor(clBlack);
}

void TProStringGrid::DrawRichCellText(int ACol, int ARow, const TRect &ARect, TCanvas *ACanvas)
{
    if (ComponentState().Contains(csDesigning))
        return;
    TRichText runs;
    try {
        runs = RTFToRichText(GetGridCell(RealColIndex(ACol), ARow).toLatin1());
    } catch (const ERichTextError &) {
        return;
    }

    const TMouseActions *ma = FMouseActions.get();
    const bool focusedPlain = ACol == Col() && ARow == Row() && !Options().Contains(goDrawFocusSelected);
    const bool shown = (!ma->DisjunctRowSelect() && IsSelected(ACol, ARow) && !focusedPlain) ||
                       (ma->DisjunctRowSelect() && RowSelect(ARow)) || (ma->DisjunctColSelect() && ColSelect(ACol));
    if (shown && !SelectionRTFKeep() && FSelectionTextColor != clNone)
        for (TRichRun &run : runs)
            run.Color = FSelectionTextColor;

    // The margin follows the canvas's resolution, so a printer gets the screen's margin in inches.
    const int dpiX = std::max(1, ACanvas->PixelsPerInchX());
    const int e = (FXYOffset.X * dpiX + 48) / 96;
    const TRect target(ARect.Left + e, ARect.Top + e, ARect.Right - e, ARect.Bottom - e);
    DrawRichText(ACanvas, runs, target);
}
