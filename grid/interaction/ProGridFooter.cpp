// The floating footer: its settings and the strip that paints it under the grid's cells, shows a
// hint per footer cell and reports clicks.
#include "framework/controls/Forms.h"
#include "grid/core/ProGrid.h"
#include "grid/core/PsgHTMLE.h"
#include <algorithm>

// ---- Settings ------------------------------------------------------------------------------------

TFooterPanel *TFloatingFooter::Panel() const { return FGrid ? FGrid->FooterPanel() : nullptr; }

void TFloatingFooter::Invalidate()
{
    if (TFooterPanel *p = Panel())
        p->Invalidate();
}

void TFloatingFooter::UpdateHideLastRow() { FGrid->SetHideLastRowState(FVisible && FFooterStyle == fsFixedLastRow); }

void TFloatingFooter::SetVisible(bool v)
{
    FVisible = v;
    if (!FGrid)
        return;
    if (TFooterPanel *p = Panel()) {
        p->SetHeight(v ? std::max(FHeight - 1, 0) : 0);
        p->SetVisible(v);
    }
    FGrid->SetFixedFooters(v && FFooterStyle == fsFixedLastRow ? 1 : 0);
    UpdateHideLastRow();
    FGrid->Invalidate();
}

// The footer row count stays: only showing or hiding the footer changes it.
void TFloatingFooter::SetFooterStyle(TFooterStyle v)
{
    FFooterStyle = v;
    if (!FGrid)
        return;
    UpdateHideLastRow();
    FGrid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetColor(TColor v)
{
    FColor = v;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor v)
{
    if (FBorderColor == v)
        return;
    FBorderColor = v;
    Invalidate();
}

void TFloatingFooter::SetColumn(int v)
{
    FColumn = v;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const QString &v)
{
    FCustomTemplate = v;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool v)
{
    FShowHint = v;
    if (TFooterPanel *p = Panel())
        p->SetShowHint(v);
}

void TFloatingFooter::SetHeight(int v)
{
    FHeight = v;
    if (TFooterPanel *p = Panel(); p && v > 0)
        p->SetHeight(v - 1);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int ACol) const
{
    const int footer = FGrid->RowCount() - 1;
    if (!FGrid->HasCellProperties(ACol, footer))
        return acNONE;
    return FGrid->GetCellProperties(ACol, footer)->CalcType();
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType CalcType)
{
    FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->SetCalcType(CalcType);
    FGrid->UpdateColumnFooter(ACol);
}

void TFloatingFooter::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TFloatingFooter *>(Source);
    if (!src)
        return;
    FCalculateHiddenRows = src->FCalculateHiddenRows;
    FColor = src->FColor;
    FColumn = src->FColumn;
    FCustomTemplate = src->FCustomTemplate;
    FFooterStyle = src->FFooterStyle;
    SetVisible(src->FVisible);
    // The strip's own hint switch keeps its state.
    FShowHint = src->FShowHint;
}

// ---- The strip -----------------------------------------------------------------------------------

namespace {

// Restores a value of the grid when painting ends, however it ends.
template <typename T>
class TKeep
{
public:
    TKeep(T &Field, T Temporary) : FField(Field), FSaved(Field) { Field = Temporary; }
    ~TKeep() { FField = FSaved; }
    TKeep(const TKeep &) = delete;
    TKeep &operator=(const TKeep &) = delete;

private:
    T &FField;
    T FSaved;
};

// A column number of a template tag: decimal digits only.
bool TagColumn(const QString &Text, int &Column)
{
    if (Text.isEmpty() || Text.size() > 9)
        return false;
    for (QChar ch : Text)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    Column = Text.toInt();
    return true;
}

} // namespace

TFooterPanel::TFooterPanel(TComponent *AOwner) : TCustomPanel(AOwner)
{
    FGrid = dynamic_cast<TProStringGrid *>(AOwner);
}

void TFooterPanel::SetParent(TWinControl *AParent)
{
    TCustomPanel::SetParent(AParent);
    if (AParent && !FWndCreated && !IsDestroying())
        CreateWnd();
}

void TFooterPanel::CreateWnd()
{
    HandleNeeded();
    FWndCreated = true;
    if (!FGrid)
        return;
    const TFloatingFooter *ff = FGrid->FloatingFooter();
    SetHeight(ff && ff->Visible() ? ff->Height() : 0);
    if (FGrid->OnCreatedFloatingFooter)
        FGrid->OnCreatedFloatingFooter(FGrid);
}

std::vector<TFooterPanel::TStripColumn> TFooterPanel::Layout() const
{
    std::vector<TStripColumn> cols;
    if (!FGrid)
        return cols;
    int x = 0;
    auto add = [&](int c) {
        const int w = FGrid->ColWidths(c);
        cols.push_back({c, x, x + w});
        x += w;
    };
    const int fixed = std::min(FGrid->FixedCols(), FGrid->ColCount());
    for (int c = 0; c < fixed; ++c)
        add(c);
    for (int c = std::max(FGrid->LeftCol(), fixed); c < FGrid->ColCount(); ++c)
        add(c);
    return cols;
}

bool TFooterPanel::RightToLeft() const { return FGrid && FGrid->BiDiMode() == bdRightToLeft; }

// A right-to-left grid paints its columns from the right edge, so a point is mirrored too.
int TFooterPanel::ColumnAt(int X) const
{
    if (RightToLeft())
        X = ClientWidth() - X;
    for (const TStripColumn &c : Layout())
        if (c.Right >= X)
            return c.Col;
    return -1;
}

TRect TFooterPanel::Place(const TRect &R) const
{
    if (!FMirror)
        return R;
    const int w = ClientWidth();
    return TRect(w - R.Right, R.Top, w - R.Left, R.Bottom);
}

void TFooterPanel::FillStrip(const TRect &R, TColor AColor)
{
    if (R.Right <= R.Left || R.Bottom <= R.Top)
        return;
    TCanvas *c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(AColor);
    c->FillRect(Place(R));
}

QString TFooterPanel::ExpandTemplate(const QString &Template) const
{
    QString out;
    int pos = 0;
    for (;;) {
        const int tag = Template.indexOf(QLatin1String("<#"), pos);
        if (tag < 0)
            break;
        const int close = Template.indexOf(QLatin1Char('>'), tag + 2);
        if (close < 0)
            break;
        out += Template.mid(pos, tag - pos);
        int col = 0;
        if (FGrid && TagColumn(Template.mid(tag + 2, close - tag - 2), col) && col < FGrid->TotalColCount())
            out += FGrid->GetCellEx(col, FGrid->Row());
        pos = close + 1;
    }
    out += Template.mid(pos);
    return out;
}

void TFooterPanel::Paint()
{
    if (!FGrid || !FGrid->FloatingFooter())
        return;
    const TFloatingFooter *ff = FGrid->FloatingFooter();
    SetBiDiMode(FGrid->BiDiMode());
    // Fixed for the whole pass: the grid's own flag is switched off while its painter runs.
    FMirror = RightToLeft();
    const std::vector<TStripColumn> cols = Layout();
    int w = cols.empty() ? 0 : cols.back().Right;
    switch (ff->FooterStyle()) {
    case fsFixedLastRow:
        PaintLastRow(cols, w);
        break;
    case fsColumnPreview:
        PaintColumnPreview(w);
        break;
    case fsCustomPreview:
        PaintCustomPreview(w);
        break;
    case fsCustomPaint:
        w = ClientWidth();
        if (FGrid->OnPaintFooter)
            FGrid->OnPaintFooter(this, ff->Column(), Canvas(), ClientRect());
        break;
    }
    if (ff->BorderColor() != clNone)
        FillStrip(TRect(0, 0, w, 1), ff->BorderColor());
}

void TFooterPanel::PaintLastRow(const std::vector<TStripColumn> &Cols, int W)
{
    TProStringGrid *g = FGrid;
    TCanvas *canvas = Canvas();
    const int h = ClientHeight();
    const TGridOptions opts = g->Options();
    const TGridLook look = g->Look();
    const bool raised = !g->Flat() && (look == glSoft || look == glDUZ || look == glXP || look == glVista);
    const bool vert = opts.Contains(goFixedVertLine), horz = opts.Contains(goFixedHorzLine);
    const int fixedCols = g->FixedCols();

    FillStrip(TRect(0, 0, W, h), g->FloatingFooter()->Color());
    FillStrip(TRect(W, 0, ClientWidth(), h), g->Color());
    for (const TStripColumn &sc : Cols) {
        if (vert && raised)
            FillStrip(TRect(sc.Left, 0, sc.Left + 1, h), clWhite);
        if (horz)
            FillStrip(TRect(sc.Left, 0, sc.Right, 1), g->GridLineColor());
        if (vert)
            FillStrip(TRect(sc.Right - 1, 0, sc.Right, h),
                      sc.Col >= fixedCols && look != glVista ? TColor(0x808080) : g->GridLineColor());
    }

    // The cells keep clear of the separators. The painter must not mirror them a second time.
    const int row = g->RowCount() - 1;
    TKeep<TBiDiMode> ltr(g->FBiDiMode, bdLeftToRight);
    auto cellRect = [&](size_t i, int SpanX) {
        const size_t last = std::min(i + size_t(std::max(SpanX, 0)), Cols.size() - 1);
        return TRect(Cols[i].Left + (raised ? 1 : 0), horz ? 1 : 0, Cols[last].Right - (vert ? 1 : 0), h);
    };
    for (size_t i = 0; i < Cols.size(); ++i) {
        const int col = Cols[i].Col, rc = g->RealColIndex(col);
        const bool base = g->IsBaseCell(rc, row);
        if (col < fixedCols) {
            if (base)
                g->DrawCellText(canvas, col, row, Place(cellRect(i, g->CellSpan(rc, row).X)), TGridDrawState{gdFixed});
            continue;
        }
        const TRect own = cellRect(i, 0);
        if (g->OnGetCellColor) {
            canvas->Brush()->SetColor(clNone);
            g->OnGetCellColor(g, row, rc, TGridDrawState{gdFixed}, canvas->Brush(), canvas->Font());
            if (canvas->Brush()->Color() != clNone)
                FillStrip(own, canvas->Brush()->Color());
        }
        if (const TColor cellColor = g->GetColors(rc, row); cellColor != clNone)
            FillStrip(own, cellColor);
        if (!base)
            continue;
        const TRect r = Place(cellRect(i, g->CellSpan(rc, row).X));
        if (g->OnPaintFooter)
            g->OnPaintFooter(this, col, canvas, r);
        else
            g->DrawCellText(canvas, col, row, r, TGridDrawState{gdFixed});
    }
}

void TFooterPanel::PaintPreviewFrame(int W)
{
    const int h = ClientHeight();
    FillStrip(TRect(0, 0, W, h), FGrid->FloatingFooter()->Color());
    FillStrip(TRect(W, 0, ClientWidth(), h), FGrid->Color());
    FillStrip(TRect(0, 0, W, 1), clWhite);
    FillStrip(TRect(0, 0, 1, h), clWhite);
    FillStrip(TRect(0, h - 1, W, h), TColor(0x808080));
    FillStrip(TRect(W - 1, 0, W, h), TColor(0x808080));
}

void TFooterPanel::PaintColumnPreview(int W)
{
    PaintPreviewFrame(W);
    TProStringGrid *g = FGrid;
    const int col = g->FloatingFooter()->Column();
    const TRect r = Place(TRect(1, 1, W - 1, ClientHeight() - 1));
    // The current row is drawn as a plain cell; its selection colours must not show.
    TKeep<TColor> black(g->FSelectionTextColor, clBlack);
    if (g->OnPaintFooter)
        g->OnPaintFooter(this, col, Canvas(), r);
    else if (col >= 0 && col < g->ColCount() && g->Row() >= 0 && g->Row() < g->RowCount())
        g->DrawCellText(Canvas(), col, g->Row(), r, TGridDrawState());
}

void TFooterPanel::PaintCustomPreview(int W)
{
    PaintPreviewFrame(W);
    TProStringGrid *g = FGrid;
    TCanvas *canvas = Canvas();
    const QString &tmpl = g->FloatingFooter()->CustomTemplate();
    const TRect r = Place(TRect(2, 2, W - 2, ClientHeight()));
    canvas->Font()->Assign(g->Font());
    canvas->Brush()->SetStyle(bsClear);
    if (g->ComponentState().Contains(csDesigning)) {
        TRect t = r;
        canvas->DrawText(tmpl, t, DT_SINGLELINE | DT_NOPREFIX | (FMirror ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    } else {
        QString anchor, strip, focusAnchor, title, controlID, controlValue, controlType;
        int xs = 0, ys = 0, links = 0, mouseLink = 0;
        TRect hoverRect, controlRect;
        DrawHTMLText(canvas, ExpandTemplate(tmpl), r, g->GridImages(), 0, 0, -1, -1, 1, false, false, false, false,
                     false, false, true, false, 1.0, g->URLColor(), clNone, clNone, clGray, anchor, strip, focusAnchor,
                     title, xs, ys, links, mouseLink, hoverRect, controlRect, controlID, controlValue, controlType,
                     g->ImageCache(), g->PictureContainer(), 0, BiDiMode());
    }
    canvas->Brush()->SetStyle(bsSolid);
}

// ---- Hints and clicks ----------------------------------------------------------------------------

void TFooterPanel::Dispatch(TMessage &Message)
{
    if (Message.Msg == CM_HINTSHOW) {
        CMHintShow(Message);
        return;
    }
    TCustomPanel::Dispatch(Message);
}

void TFooterPanel::CMHintShow(TMessage &Message)
{
    auto *info = reinterpret_cast<THintInfo *>(Message.LParam);
    FLastHintX = -1;
    if (ShowHint() && FGrid && info) {
        const int col = ColumnAt(info->CursorPos.X);
        if (col >= 0) {
            if (FGrid->OnGridHint)
                FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, col, info->HintStr);
            FLastHintX = col;
        }
    }
    Message.Result = ShowHint() ? 0 : 1;
}

// Each footer cell has its own hint: leaving a cell takes the shown one away.
void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    if (!ShowHint() || FLastHintX == -1)
        return;
    const int col = ColumnAt(X);
    if (col != FLastHintX) {
        if (Application)
            Application->HideHint();
        FLastHintX = col;
    }
}

void TFooterPanel::MouseLeave()
{
    TCustomPanel::MouseLeave();
    FLastHintX = -1;
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (!FGrid)
        return;
    if (FGrid->OnClick)
        FGrid->OnClick(FGrid);
    const int col = ColumnAt(X);
    if (col >= 0 && FGrid->OnClickCell)
        FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, col);
}
