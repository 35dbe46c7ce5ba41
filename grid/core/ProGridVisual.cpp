// How a cell looks: its graphic's type and size, its display text, its colours, fonts and
// alignment, and the grid's look setters.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include "framework/graphics/ImgList.h"
#include "framework/rtl/System.h"

// ---------------------------------------------------------------------------------------------
// Cell graphics

TCellType TProStringGrid::GetCellType(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        return ctRowCheckBox;
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    return g ? g->CellType() : ctEmpty;
}

TIntList *TProStringGrid::GetCellImages(int ACol, int ARow)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    return g && g->CellType() == ctImages ? g->CellIntList() : nullptr;
}

namespace {

bool BesideText(const TCellGraphic *g) { return g->CellHAlign() == haBeforeText || g->CellHAlign() == haAfterText; }

bool AboveOrUnderText(const TCellGraphic *g) { return g->CellVAlign() == vaUnderText || g->CellVAlign() == vaAboveText; }

int LowWord(int v) { return v & 0xFFFF; }

int HighWord(int v) { return (v >> 16) & 0xFFFF; }

bool IsCheckBoxType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

} // namespace

TCanvas *TProStringGrid::MeasureCanvas()
{
    TCanvas *c = Canvas();
    AssignFontIfDifferent(c->Font(), Font());
    return c;
}

TPoint TProStringGrid::RadioGroupSize(const TCellGraphic *G)
{
    const TStringList *options = G->CellStrings();
    const int n = options ? options->Count() : 0;
    TCanvas *c = MeasureCanvas();
    const int th = c->TextHeight(QStringLiteral("gh"));
    if (G->CellBoolean()) {
        int w = 0;
        for (int i = 0; i < n; ++i)
            w += c->TextWidth(options->Strings(i)) + 12;
        return {w, th};
    }
    int w = 12;
    for (int i = 0; i < n; ++i)
        w = std::max(w, c->TextWidth(options->Strings(i)) + 12);
    return {w, std::max(16, th) * n};
}

TPoint TProStringGrid::ImagesSize(const TCellGraphic *G)
{
    const TCustomImageList *il = GetCellImageList();
    const int iw = il ? il->Width() : 0, ih = il ? il->Height() : 0;
    const TIntList *list = G->CellIntList();
    const int n = list ? list->Count() : 0;
    return G->CellBoolean() ? TPoint(n * iw, ih) : TPoint(iw, n * ih);
}

TPoint TProStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return {0, 0};
    const bool withText = !GetCellEx(ACol, ARow).isEmpty();
    const bool beside = BesideText(g) || !withText;
    const bool aboveUnder = AboveOrUnderText(g) || !withText;
    int w = 0, h = 0;
    bool notStretched = false;
    switch (g->CellType()) {
    case ctIcon:
        if (const TIcon *icon = g->CellIcon()) {
            w = beside ? icon->Width() : 0;
            h = icon->Height();
        }
        break;
    case ctBitmap:
        if (const TBitmap *bmp = g->CellBitmap()) {
            w = beside ? bmp->Width() : 0;
            h = aboveUnder ? bmp->Height() : 0;
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (const TCustomImageList *il = GetCellImageList()) {
            w = beside ? il->Width() : 0;
            h = aboveUnder ? il->Height() : 0;
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        const TPoint cs = CellSize(ACol, ARow);
        const TPoint p = g->GetPictureSize(cs.X, cs.Y, withText);
        w = p.X;
        h = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        if (withText) {
            if (AboveOrUnderText(g) || g->CellHAlign() == haCenter)
                w = 0;
            else if (g->CellHAlign() == haFull)
                w = MeasureCanvas()->TextWidth(g->CellText()) + 4;
            else
                w = LowWord(g->CellIndex());
            h = AboveOrUnderText(g) ? HighWord(g->CellIndex()) : 0;
        } else {
            if (g->CellHAlign() == haFull) {
                w = MeasureCanvas()->TextWidth(g->CellText()) + 4;
                notStretched = !g->CellText().isEmpty();
            } else {
                w = LowWord(g->CellIndex());
            }
            h = HighWord(g->CellIndex());
        }
        break;
    case ctInterface: {
        // No cell object here draws itself, so the cell's own size is taken.
        const TPoint cs = CellSize(ACol, ARow);
        w = cs.X;
        h = cs.Y;
        break;
    }
    case ctProgressPie:
        w = h = 20;
        break;
    case ctRadioButton:
        w = h = FControlLook->RadioSize();
        break;
    case ctRadio: {
        const TPoint p = RadioGroupSize(g);
        w = p.X;
        h = p.Y;
        break;
    }
    case ctRating:
        w = g->CellAngle() * 18;
        h = 16;
        notStretched = true;
        break;
    case ctImages: {
        const TPoint p = ImagesSize(g);
        w = p.X;
        h = p.Y;
        break;
    }
    default:
        if (IsCheckBoxType(g->CellType()))
            w = h = FControlLook->CheckSize();
        break;
    }
    const bool vFull = g->CellVAlign() == vaFull, hFull = g->CellHAlign() == haFull;
    if (vFull || (hFull && !notStretched)) {
        const TPoint cs = CellSize(ACol, ARow);
        if (vFull)
            h = cs.Y;
        if (hFull)
            w = cs.X;
    }
    return {w, h};
}

TPoint TProStringGrid::GetCellGraphicExportSize(int ACol, int ARow, int AWidth, int AHeight, double Scale)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return {0, 0};
    const bool withText = !GetCellEx(ACol, ARow).isEmpty();
    const TCustomImageList *il = GetCellImageList();
    switch (g->CellType()) {
    case ctBitmap:
        if (const TBitmap *bmp = g->CellBitmap())
            return {bmp->Width(), bmp->Height()};
        return {0, 0};
    case ctIcon:
        if (const TIcon *icon = g->CellIcon())
            return {icon->Width(), icon->Height()};
        return {0, 0};
    case ctImageList:
        if (!il)
            return {0, 0};
        return {BesideText(g) || !withText ? il->Width() : 0, il->Height()};
    case ctDataImage:
        return il ? TPoint(il->Width(), il->Height()) : TPoint(0, 0);
    case ctNode:
    case ctProgressPie:
        return {20, 20};
    case ctRadio:
        return RadioGroupSize(g);
    case ctImages:
        return ImagesSize(g);
    case ctPicture:
    case ctFilePicture: {
        const TPoint p = g->GetPictureSize(AWidth, AHeight, withText);
        if (Scale == 0)
            return p;
        return {int(Round(p.X / Scale)), int(Round(p.Y / Scale))};
    }
    case ctProgress:
    case ctXPProgress:
        return {ColWidths(DisplColIndex(ACol)), RowHeights(ARow)};
    case ctButton:
    case ctBitButton:
        return {LowWord(g->CellIndex()), HighWord(g->CellIndex())};
    case ctInterface: {
        const TPoint cs = CellSize(ACol, ARow);
        return cs;
    }
    case ctRadioButton:
        return {FControlLook->RadioSize(), FControlLook->RadioSize()};
    case ctShape: {
        const int side = RowHeights(ARow) - 2 * FXYOffset.Y;
        return {side, side};
    }
    default:
        if (IsCheckBoxType(g->CellType()))
            return {FControlLook->CheckSize(), FControlLook->CheckSize()};
        return {0, 0};
    }
}

bool TProStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    auto *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
    if (!g)
        return false;
    SetGraphicObjectEx(ACol, ARow, nullptr);
    // Virtual and row check boxes are shared by the grid, not owned by the cell.
    if (g->CellType() != ctVirtCheckBox && g->CellType() != ctRowCheckBox)
        delete g;
    return true;
}

bool TProStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType)
{
    const auto *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
    if (!g || g->CellType() != CellType)
        return false;
    return RemoveCellGraphic(ACol, ARow);
}

int TProStringGrid::CellImageSortKey(int ACol, int ARow)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return -1;
    // Pictures sort by the object they show, so equal pictures group together.
    auto identity = [](const void *p) { return int(reinterpret_cast<quintptr>(p) & 0x7FFFFFFF); };
    switch (g->CellType()) {
    case ctImageList:
        return g->CellIndex();
    case ctBitmap:
        return identity(g->CellBitmapObject());
    case ctIcon:
        return identity(g->CellIcon());
    default:
        return -1;
    }
}

void TProStringGrid::SetGridImages(TCustomImageList *v)
{
    if (FGridImages == v)
        return;
    if (FGridImages)
        FGridImages->RemoveFreeNotification(this);
    FGridImages = v;
    if (v)
        v->FreeNotification(this);
    Invalidate();
}

bool TProStringGrid::RowGraphicIs(int ARow, TCellType CellType)
{
    if (ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow))
        return false;
    const auto *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(0, ARow));
    return g && g->CellType() == CellType;
}

bool TProStringGrid::IsNode(int ARow) { return RowGraphicIs(ARow, ctNode); }

bool TProStringGrid::IsSummary(int ARow) { return RowGraphicIs(ARow, ctSummary); }

int TProStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    // Another kind of graphic holds no heights: reading them would collapse the row.
    if (!g || g->CellType() != ctExpand)
        return DefaultRowHeight();
    return Expanded ? g->CellAngle() : g->CellIndex();
}

int TProStringGrid::GetNodeIndent(int ARow)
{
    if (FNumNodes <= 0 || !HasCellProperties(0, ARow))
        return 0;
    return GetCellProperties(0, ARow)->NodeLevel() * FCellNode->NodeIndent();
}

bool TProStringGrid::CanShowFixedDropDown(int ACol)
{
    bool canShow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, ACol, canShow);
    return canShow;
}

void TProStringGrid::StartBlockFocus()
{
    if (FOnStartBlockFocus)
        FOnStartBlockFocus(this);
}

void TProStringGrid::EndBlockFocus()
{
    if (FOnEndBlockFocus)
        FOnEndBlockFocus(this);
}

// ---------------------------------------------------------------------------------------------
// Display text

void TProStringGrid::GetDisplText(int ACol, int ARow, QString &Value)
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (FURLShowInText) {
        static const char *const prefixes[] = {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"};
        for (const char *prefix : prefixes) {
            QString linked;
            if (MakeURLLink(Value, QLatin1String(prefix), linked)) {
                Value = linked;
                break;
            }
        }
    }
    if (FGrouping->ShowGroupCount() && ACol == 1 && IsNode(ARow)) {
        const auto *node = static_cast<TCellGraphic *>(GetGraphicObjectEx(0, ARow));
        // The rows of the group that are not themselves group headers.
        const int n = node->CellIndex() - node->CellErrFrom() - 1;
        if (!FGrouping->GroupCountFormat().isEmpty())
            Value += Format(FGrouping->GroupCountFormat(), {n});
        else
            Value += QStringLiteral(" (") + QString::number(n) + QChar(')');
    }
}

// ---------------------------------------------------------------------------------------------
// Visual properties

TColor TProStringGrid::MixColors(TColor AColor, TColor ABase, int APercent)
{
    if (APercent >= 100)
        return AColor;
    if (APercent < 1 || AColor == clNone)
        return ABase;
    if (ABase == clNone)
        return AColor;
    const TColorRef a = ColorToRGB(AColor), b = ColorToRGB(ABase);
    const double x = APercent / 100.0;
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
        const int64_t c = std::min<int64_t>(255, Round(x * ca + (1 - x) * cb));
        result |= TColor(c) << shift;
    }
    return result;
}

void TProStringGrid::SelectionLook(TColor &AColorTo, TColor &AMirrorColor, TColor &AMirrorColorTo, TFont *AFont)
{
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    if (FSelectionTextColor != clNone)
        AFont->SetColor(FSelectionTextColor);
}

bool TProStringGrid::InSelectedCells(int ACol, int ARow) const
{
    return FSelectedCells->HasValue(int((uint32_t(ARow) << 16) | (uint32_t(ACol) & 0xFFFF)));
}

bool TProStringGrid::IsSelected(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (FMouseActions->DisjunctCellSelect())
        return InSelectedCells(ACol, ARow);
    if (FMouseActions->DisjunctRowSelect()) {
        const size_t r = size_t(RowSelectFlagIndex(ARow));
        return r < FRowSelect.size() && FRowSelect[r];
    }
    if (FMouseActions->DisjunctColSelect())
        return size_t(ACol) < FColSelect.size() && FColSelect[size_t(ACol)];
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) && ARow >= std::min(s.Top, s.Bottom) &&
           ARow <= std::max(s.Top, s.Bottom);
}

void TProStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select,
                                         bool Remap, TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor,
                                         TColor &AMirrorColorTo, TFont *AFont, TAlignment &HA, TVAlignment &VA,
                                         bool &WW, TCellGradientDirection &GD)
{
    const int fc = FixedCols(), fr = FixedRows();
    const bool printFonts = Print && !FPrintSettings->UseDisplayFont;
    const bool normal = ACol >= fc && ARow >= fr;
    if (normal)
        AssignFontIfDifferent(AFont, printFonts ? FPrintSettings->Font() : Font());
    else
        AssignFontIfDifferent(AFont, printFonts ? FPrintSettings->FixedFont() : FFixedFont.get());

    const TMouseActions *ma = FMouseActions.get();
    const int rcol = Remap ? RealColIndex(ACol) : ACol;
    const int rrow = ((ma->DisjunctRowSelect() && ma->RowSelectPersistent()) || FUseEnabledRows) ? RealRowIndex(ARow) : ARow;

    ABrush->SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    bool explicitColor = false;
    if (HasCellProperties(rcol, ARow)) {
        const TCellProperties *props = GetCellProperties(rcol, ARow);
        ABrush->SetColor(props->BrushColor());
        if (props->BrushColor() != clNone) {
            const TCellType t = GetCellType(rcol, ARow);
            explicitColor = t == ctNone || t == ctRotated || t == ctEmpty;
        }
        ApplyCellFont(props, AFont);
        WW = props->WordWrap();
        AColorTo = props->BrushColorTo();
        GD = props->GradientDirection();
    }
    if (AState.Contains(gdSelected))
        GD = GradientVertical;

    if (ABrush->Color() == clNone) {
        TColor background = Color();
        if (FBands->Active() && (!Print || FBands->Print()) && ACol >= fc &&
            ACol < ColCount() + FNumHidden - FFixedRightCols && ARow >= fr && ARow < RowCount() - FFixedFooters &&
            FBands->TotalLength() > 0)
            background = (ARow - fr) % FBands->TotalLength() < FBands->PrimaryLength() ? FBands->PrimaryColor()
                                                                                     : FBands->SecondaryColor();
        if (ACol < fc || ARow < fr || DisplColIndex(ACol) >= ColCount() - FFixedRightCols ||
            ARow >= RowCount() - FFixedFooters)
            background = FixedColor();
        ABrush->SetColor(background);
    }

    const bool fixed = IsFixed(ACol, ARow) || ACol < fc || ARow < fr;
    if (fixed && !explicitColor) {
        if (!Print) {
            ABrush->SetColor(FixedColor());
            AssignFontIfDifferent(AFont, FFixedFont.get());
            AState += gdFixed;
        }
        if (FLook >= glDUZ) {
            ABrush->SetColor(FDUZGradientFrom);
            AColorTo = FDUZGradientTo;
            AMirrorColor = FDUZGradientMirrorFrom;
            AMirrorColorTo = FDUZGradientMirrorTo;
        }
    }

    if (Print)
        GetCellPrintColor(rcol, ARow, AState, ABrush, AFont);
    else
        GetCellColor(rcol, ARow, AState, ABrush, AFont);

    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, rcol, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(c);
    }

    // The unselected look, given back to a current cell outside the disjunct cell selection.
    const TColor plainBrush = ABrush->Color(), plainFont = AFont->Color();

    const bool normalNotFixed = normal && !fixed;
    // While the button is down the current row or column shows the state it is about to take.
    auto disjunctLook = [&](bool flagged, bool current) {
        if ((flagged && !(FMouseDown && current)) || (FMouseDown && !flagged && AState.Contains(gdSelected))) {
            AState = TGridDrawState{gdSelected};
            ABrush->SetColor(FSelectionColor);
            SelectionLook(AColorTo, AMirrorColor, AMirrorColorTo, AFont);
        } else {
            AState -= gdSelected;
        }
    };
    if (ma->DisjunctRowSelect() && !Print && Select && FShowSelection && normalNotFixed)
        disjunctLook(size_t(rrow) < FRowSelect.size() && FRowSelect[size_t(rrow)], ARow == Row());
    if (ma->DisjunctColSelect() && !Print && Select && FShowSelection && normalNotFixed)
        disjunctLook(size_t(ACol) < FColSelect.size() && FColSelect[size_t(ACol)], ACol == Col());

    const bool disjunctRowsOrCols = ma->DisjunctRowSelect() || ma->DisjunctColSelect();
    if ((Select && !Print && FShowSelection && !fixed && !disjunctRowsOrCols && IsSelected(ACol, ARow)) ||
        (AState.Contains(gdSelected) && FMouseDown && FShowSelection)) {
        if (ABrush->Color() == Color() || !FSelectionColorMixer)
            ABrush->SetColor(FSelectionColor);
        else
            ABrush->SetColor(MixColors(FSelectionColor, ABrush->Color(), FSelectionColorMixerFactor));
        SelectionLook(AColorTo, AMirrorColor, AMirrorColorTo, AFont);
        AState += gdSelected;
    }

    if (ma->DisjunctCellSelect() && FShowSelection) {
        if (InSelectedCells(ACol, ARow)) {
            ABrush->SetColor(FSelectionColor);
            SelectionLook(AColorTo, AMirrorColor, AMirrorColorTo, AFont);
            AState += gdSelected;
        } else if (ACol == Col() && ARow == Row()) {
            AState -= gdSelected;
            ABrush->SetColor(plainBrush);
            AFont->SetColor(plainFont);
        }
    }

    if (UseDisabledFont() && ((FUseEnabledRows && !RowEnabled(rrow)) || !Enabled()))
        AFont->SetColor(DisabledFontColor());

    QueryWordWrap(rcol, ARow, WW);
    GetCellAlignment(rcol, ARow, HA, VA);
}

void TProStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState &AState, TFont *AFont,
                                       TBrush *ABrush, bool Remap)
{
    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    AssignFontIfDifferent(AFont, fixed ? FFixedFont.get() : Font());
    if (HasCellProperties(RCol, ARow))
        ApplyCellFont(GetCellProperties(RCol, ARow), AFont);
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

// ---------------------------------------------------------------------------------------------
// Look setters

void TProStringGrid::SetShowSelection(bool v)
{
    FShowSel = v;
    ChangeAndInvalidate(FShowSelection, v);
}

void TProStringGrid::SetFlat(bool v)
{
    FFlat = v;
    if (!IsLoading())
        Invalidate();
}

void TProStringGrid::SetMaxEditLength(int v)
{
    FMaxEditLength = v;
    if (InplaceEditor())
        InplaceEditor()->SetMaxLength(v);
}

void TProStringGrid::SetSpreadSheet(bool v)
{
    FSpreadSheet = v;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->SetAllowSmartClipboard(true);
    SetOptions(Options() + TGridOptions{goRangeSelect, goEditing});
    FMouseActions->SetRangeSelectAndEdit(true);
}

void TProStringGrid::SetURLFull(bool v)
{
    FURLFull = v;
    if (FURLShow)
        Invalidate();
}

void TProStringGrid::SetURLColor(TColor v)
{
    if (FURLColor == v)
        return;
    FURLColor = v;
    if (FURLShow)
        Invalidate();
}
