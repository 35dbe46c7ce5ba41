// TCustomGrid: dimensions, geometry, current cell, selection, scrolling and structure.
#include "framework/grids/Grids.h"
#include <QAbstractScrollArea>
#include <QScrollBar>
#include "framework/controls/Messages.h"
#include <algorithm>

namespace {

const QString kIndexOutOfRange = QStringLiteral("Grid index out of range");

QAbstractScrollArea *scrollArea(const TCustomGrid *g)
{
    return static_cast<QAbstractScrollArea *>(g->Widget());
}

// The scroll area of a grid: its own scrolling is replaced by the grid's top-left cell.
class TGridScrollArea : public QAbstractScrollArea
{
protected:
    void scrollContentsBy(int, int) override {}
};

} // namespace

TCustomGrid::TCustomGrid(TComponent *AOwner) : TCustomControl(AOwner, new TGridScrollArea)
{
    init();
}

TCustomGrid::~TCustomGrid()
{
    DetachBridge();
    // The editor clears FInplaceEdit as it goes, so it must go while the grid is whole.
    delete FInplaceEdit;
}

void TCustomGrid::init()
{
    colWidths_.assign(colCount_, defaultColWidth_);
    rowHeights_.assign(rowCount_, defaultRowHeight_);
    auto *sa = scrollArea(this);
    sa->setFrameShape(QFrame::NoFrame);
    sa->setFocusPolicy(Qt::StrongFocus);
    sa->viewport()->setFocusProxy(sa);
    SetControlStyle(ControlStyle() + csOpaque);
    SetColor(clWindow);
    SetTabStop(true);
    // What a user does with a bar arrives as scroll messages; a value set from outside (a test,
    // an accessibility tool) still moves the grid directly.
    for (const bool vert : {true, false}) {
        QScrollBar *bar = vert ? sa->verticalScrollBar() : sa->horizontalScrollBar();
        QObject::connect(bar, &QScrollBar::actionTriggered, sa, [this, vert](int action) {
            if (!syncingBars_)
                SafeCall(this, [this, vert, action] { barAction(vert, action); });
        });
        // A dragged thumb reports where it is whether or not the grid follows it.
        QObject::connect(bar, &QScrollBar::sliderMoved, sa, [this, vert](int v) {
            if (syncingBars_)
                return;
            SafeCall(this, [this, vert, v] {
                inBarAction_ = true;
                Perform(vert ? WM_VSCROLL : WM_HSCROLL, MakeWParam(SB_THUMBTRACK, v), 0);
                inBarAction_ = false;
            });
        });
        QObject::connect(bar, &QScrollBar::sliderReleased, sa, [this, vert, bar] {
            if (syncingBars_)
                return;
            SafeCall(this, [this, vert, bar] {
                const UINT msg = vert ? WM_VSCROLL : WM_HSCROLL;
                inBarAction_ = true;
                Perform(msg, MakeWParam(SB_THUMBPOSITION, bar->sliderPosition()), 0);
                Perform(msg, MakeWParam(SB_ENDSCROLL, 0), 0);
                inBarAction_ = false;
            });
        });
        QObject::connect(bar, &QScrollBar::valueChanged, sa, [this, vert, bar](int v) {
            if (syncingBars_ || inBarAction_ || bar->isSliderDown())
                return;
            SafeCall(this, [this, vert, v] {
                const int i = ScrollPosToIndex(vert, v);
                vert ? moveTopLeft(topLeft_.X, i) : moveTopLeft(i, topLeft_.Y);
            });
        });
    }
    SetOptions(options_);
    SetScrollBars(scrollBars_);
    SetBounds(0, 0, 320, 120);
}

QWidget *TCustomGrid::ClientWidget() const
{
    return widget_ ? scrollArea(this)->viewport() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Dimensions

void TCustomGrid::changeSize(int NewColCount, int NewRowCount)
{
    const int oldCols = colCount_, oldRows = rowCount_;
    colCount_ = NewColCount;
    rowCount_ = NewRowCount;
    colWidths_.resize(colCount_, defaultColWidth_);
    rowHeights_.resize(rowCount_, defaultRowHeight_);
    auto clampCoord = [this](TGridCoord &p) {
        p.X = std::min(p.X, colCount_ - 1);
        p.Y = std::min(p.Y, rowCount_ - 1);
    };
    clampCoord(current_);
    clampCoord(FAnchor);
    topLeft_.X = std::clamp(topLeft_.X, fixedCols_, std::max(fixedCols_, colCount_ - 1));
    topLeft_.Y = std::clamp(topLeft_.Y, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    SizeChanged(oldCols, oldRows);
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::SetColCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == colCount_)
        return;
    if (Value <= fixedCols_)
        fixedCols_ = Value - 1;
    changeSize(Value, rowCount_);
}

void TCustomGrid::SetRowCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == rowCount_)
        return;
    if (Value <= fixedRows_)
        fixedRows_ = Value - 1;
    changeSize(colCount_, Value);
}

void TCustomGrid::SetFixedCols(int Value)
{
    if (Value < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (Value >= colCount_)
        throw EInvalidGridOperation(QStringLiteral("Fixed column count must be less than column count"));
    fixedCols_ = Value;
    current_.X = std::max(current_.X, Value);
    FAnchor.X = std::max(FAnchor.X, Value);
    topLeft_.X = Value;
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int Value)
{
    if (Value < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (Value >= rowCount_)
        throw EInvalidGridOperation(QStringLiteral("Fixed row count must be less than row count"));
    fixedRows_ = Value;
    current_.Y = std::max(current_.Y, Value);
    FAnchor.Y = std::max(FAnchor.Y, Value);
    topLeft_.Y = Value;
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
    defaultColWidth_ = std::max(Value, 0);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
    defaultRowHeight_ = std::max(Value, 0);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int Index) const
{
    return Index >= 0 && Index < colCount_ ? colWidths_[size_t(Index)] : defaultColWidth_;
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= colCount_)
        throw EInvalidGridOperation(kIndexOutOfRange);
    Value = std::max(Value, 0);
    if (colWidths_[size_t(Index)] == Value)
        return;
    colWidths_[size_t(Index)] = Value;
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int Index) const
{
    return Index >= 0 && Index < rowCount_ ? rowHeights_[size_t(Index)] : defaultRowHeight_;
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= rowCount_)
        throw EInvalidGridOperation(kIndexOutOfRange);
    Value = std::max(Value, 0);
    if (rowHeights_[size_t(Index)] == Value)
        return;
    rowHeights_[size_t(Index)] = Value;
    RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == gridLineWidth_)
        return;
    gridLineWidth_ = Value;
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
    fixedColor_ = Value;
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool Value)
{
    defaultDrawing_ = Value;
    Invalidate();
}

void TCustomGrid::SetOptions(const TGridOptions &Value)
{
    const bool linesChanged = (options_ * TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine}) !=
                              (Value * TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
    options_ = Value;
    if (!options_.Contains(goEditing))
        HideEditor();
    else if (options_.Contains(goAlwaysShowEditor))
        ShowEditor();
    if (!options_.Contains(goRangeSelect))
        FAnchor = current_;
    auto *sa = scrollArea(this);
    sa->verticalScrollBar()->setTracking(options_.Contains(goThumbTracking));
    sa->horizontalScrollBar()->setTracking(options_.Contains(goThumbTracking));
    if (linesChanged) {
        UpdateScrollRange();
        UpdateEdit();
    }
    Invalidate();
}

int TCustomGrid::colLine(int c) const
{
    return options_.Contains(c < fixedCols_ ? goFixedVertLine : goVertLine) ? gridLineWidth_ : 0;
}

int TCustomGrid::rowLine(int r) const
{
    return options_.Contains(r < fixedRows_ ? goFixedHorzLine : goHorzLine) ? gridLineWidth_ : 0;
}

int TCustomGrid::fixedWidth() const
{
    int w = 0;
    for (int c = 0; c < fixedCols_; ++c)
        w += colWidths_[size_t(c)] + colLine(c);
    return w;
}

int TCustomGrid::fixedHeight() const
{
    int h = 0;
    for (int r = 0; r < fixedRows_; ++r)
        h += rowHeights_[size_t(r)] + rowLine(r);
    return h;
}

int TCustomGrid::GridWidth() const
{
    int w = 0;
    for (int c = 0; c < colCount_; ++c)
        w += colWidths_[size_t(c)] + colLine(c);
    return w;
}

int TCustomGrid::GridHeight() const
{
    int h = 0;
    for (int r = 0; r < rowCount_; ++r)
        h += rowHeights_[size_t(r)] + rowLine(r);
    return h;
}

// ---------------------------------------------------------------------------------------------
// Geometry

namespace {

// Position of cell `index` along one axis, or -1 when it lies outside [0, extent).
template <typename Size, typename Line>
int axisStart(int index, int fixed, int first, int extent, Size size, Line line)
{
    int p = 0;
    if (index < fixed) {
        for (int i = 0; i < index; ++i)
            p += size(i) + line(i);
    } else {
        if (index < first)
            return -1;
        for (int i = 0; i < fixed; ++i)
            p += size(i) + line(i);
        for (int i = first; i < index && p < extent; ++i)
            p += size(i) + line(i);
    }
    return p < extent ? p : -1;
}

// The cell whose area (line included) holds coordinate v, or -1.
template <typename Size, typename Line>
int axisCell(int v, int count, int fixed, int first, int extent, Size size, Line line)
{
    if (v < 0 || v >= extent)
        return -1;
    int p = 0;
    for (int i = 0; i < fixed && i < count; ++i) {
        p += size(i) + line(i);
        if (v < p)
            return i;
    }
    for (int i = first; i < count && p < extent; ++i) {
        p += size(i) + line(i);
        if (v < p)
            return i;
    }
    return -1;
}

// Number of cells from `first` that fit whole in `avail`.
template <typename Size, typename Line>
int axisFullCount(int first, int count, int avail, Size size, Line line)
{
    int n = 0, p = 0;
    for (int i = first; i < count; ++i) {
        if (p + size(i) > avail)
            break;
        p += size(i) + line(i);
        ++n;
    }
    return n;
}

// Smallest first cell from which the last cell still fits whole in `avail`.
template <typename Size, typename Line>
int axisMaxFirst(int fixed, int count, int avail, Size size, Line line)
{
    int first = count - 1;
    int p = size(first);
    while (first - 1 >= fixed) {
        const int next = p + size(first - 1) + line(first - 1);
        if (next > avail)
            break;
        p = next;
        --first;
    }
    return std::max(first, fixed);
}

} // namespace

#define GRID_COL_AXIS [this](int i) { return colWidths_[size_t(i)]; }, [this](int i) { return colLine(i); }
#define GRID_ROW_AXIS [this](int i) { return rowHeights_[size_t(i)]; }, [this](int i) { return rowLine(i); }

int TCustomGrid::colLeft(int c) const
{
    return axisStart(c, fixedCols_, topLeft_.X, ClientWidth(), GRID_COL_AXIS);
}

int TCustomGrid::rowTop(int r) const
{
    return axisStart(r, fixedRows_, topLeft_.Y, ClientHeight(), GRID_ROW_AXIS);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= colCount_ || ARow >= rowCount_)
        return TRect();
    const int x = colLeft(ACol), y = rowTop(ARow);
    if (x < 0 || y < 0)
        return TRect();
    TRect r(x, y, std::min(x + colWidths_[size_t(ACol)], ClientWidth()),
            std::min(y + rowHeights_[size_t(ARow)], ClientHeight()));
    return r.IsEmpty() ? TRect() : r;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    TGridCoord g;
    g.X = axisCell(X, colCount_, fixedCols_, topLeft_.X, ClientWidth(), GRID_COL_AXIS);
    g.Y = axisCell(Y, rowCount_, fixedRows_, topLeft_.Y, ClientHeight(), GRID_ROW_AXIS);
    return g;
}

void TCustomGrid::MouseToCell(int X, int Y, int &ACol, int &ARow) const
{
    const TGridCoord g = MouseCoord(X, Y);
    ACol = g.X;
    ARow = g.Y;
}

int TCustomGrid::VisibleColCount() const
{
    return axisFullCount(topLeft_.X, colCount_, ClientWidth() - fixedWidth(), GRID_COL_AXIS);
}

int TCustomGrid::VisibleRowCount() const
{
    return axisFullCount(topLeft_.Y, rowCount_, ClientHeight() - fixedHeight(), GRID_ROW_AXIS);
}

TGridCoord TCustomGrid::MaxTopLeft() const
{
    TGridCoord m;
    m.X = axisMaxFirst(fixedCols_, colCount_, ClientWidth() - fixedWidth(), GRID_COL_AXIS);
    m.Y = axisMaxFirst(fixedRows_, rowCount_, ClientHeight() - fixedHeight(), GRID_ROW_AXIS);
    return m;
}

// ---------------------------------------------------------------------------------------------
// Scrolling

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
    scrollBars_ = Value;
    UpdateScrollRange();
}

void TCustomGrid::updateBarPolicies()
{
    // Qt shows "as needed" bars only later, from its event queue; until then the viewport
    // keeps its old size and a cell scrolled into view ends up cut by the bars. The bars are
    // decided here instead, from the scroll area's size, so the viewport is right at once.
    auto *sa = scrollArea(this);
    const bool allowV = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool allowH = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const QSize area = sa->contentsRect().size();
    const int barW = sa->verticalScrollBar()->sizeHint().width();
    const int barH = sa->horizontalScrollBar()->sizeHint().height();
    auto needV = [&](bool h) {
        return allowV && axisMaxFirst(fixedRows_, rowCount_, area.height() - (h ? barH : 0) - fixedHeight(),
                                      GRID_ROW_AXIS) > fixedRows_;
    };
    auto needH = [&](bool v) {
        return allowH && axisMaxFirst(fixedCols_, colCount_, area.width() - (v ? barW : 0) - fixedWidth(),
                                      GRID_COL_AXIS) > fixedCols_;
    };
    bool v = needV(false);
    const bool h = needH(v);
    if (h && !v)
        v = needV(true);
    bool hFinal = h || (v && needH(true));
    if (forcedBar_[1] >= 0)
        v = forcedBar_[1] == 1;
    if (forcedBar_[0] >= 0)
        hFinal = forcedBar_[0] == 1;
    const Qt::ScrollBarPolicy vp = v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    const Qt::ScrollBarPolicy hp = hFinal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (sa->verticalScrollBarPolicy() != vp)
        sa->setVerticalScrollBarPolicy(vp);
    if (sa->horizontalScrollBarPolicy() != hp)
        sa->setHorizontalScrollBarPolicy(hp);
}

void TCustomGrid::ForceScrollBar(bool Vertical, bool Show, bool Enabled)
{
    forcedBar_[Vertical ? 1 : 0] = Show ? 1 : 0;
    auto *sa = scrollArea(this);
    (Vertical ? sa->verticalScrollBar() : sa->horizontalScrollBar())->setEnabled(Enabled);
    updateBarPolicies();
}

void TCustomGrid::ReleaseScrollBar(bool Vertical)
{
    forcedBar_[Vertical ? 1 : 0] = -1;
    auto *sa = scrollArea(this);
    (Vertical ? sa->verticalScrollBar() : sa->horizontalScrollBar())->setEnabled(true);
    updateBarPolicies();
}

bool TCustomGrid::ScrollBarShown(bool Vertical) const
{
    auto *sa = scrollArea(this);
    return (Vertical ? sa->verticalScrollBarPolicy() : sa->horizontalScrollBarPolicy()) == Qt::ScrollBarAlwaysOn;
}

void TCustomGrid::syncScrollBars()
{
    auto *sa = scrollArea(this);
    updateBarPolicies();
    const TGridCoord m = MaxTopLeft();
    syncingBars_ = true;
    if (!customRange_[1]) {
        QScrollBar *vb = sa->verticalScrollBar();
        vb->setRange(fixedRows_, std::max(m.Y, fixedRows_));
        vb->setPageStep(std::max(1, VisibleRowCount()));
        vb->setValue(topLeft_.Y);
    }
    if (!customRange_[0]) {
        QScrollBar *hb = sa->horizontalScrollBar();
        hb->setRange(fixedCols_, std::max(m.X, fixedCols_));
        hb->setPageStep(std::max(1, VisibleColCount()));
        hb->setValue(topLeft_.X);
    }
    syncingBars_ = false;
}

QWidget *TCustomGrid::ScrollBarWidget(bool Vertical) const
{
    auto *sa = scrollArea(this);
    return Vertical ? static_cast<QWidget *>(sa->verticalScrollBar()) : sa->horizontalScrollBar();
}

TGridScrollInfo TCustomGrid::GetScrollInfo(bool Vertical) const
{
    const auto *bar = static_cast<QScrollBar *>(ScrollBarWidget(Vertical));
    TGridScrollInfo I;
    I.Min = bar->minimum();
    I.Page = bar->pageStep();
    I.Max = bar->maximum() + std::max(I.Page - 1, 0);
    I.Pos = bar->value();
    I.TrackPos = bar->sliderPosition();
    return I;
}

void TCustomGrid::SetScrollInfo(bool Vertical, const TGridScrollInfo &Info)
{
    auto *bar = static_cast<QScrollBar *>(ScrollBarWidget(Vertical));
    customRange_[Vertical ? 1 : 0] = true;
    const int page = std::max(Info.Page, 0);
    syncingBars_ = true;
    bar->setRange(Info.Min, std::max(Info.Min, Info.Max - std::max(page - 1, 0)));
    bar->setPageStep(std::max(page, 1));
    bar->setValue(Info.Pos);
    syncingBars_ = false;
}

void TCustomGrid::SetCustomScrollRange(bool Vertical, bool Value)
{
    if (customRange_[Vertical ? 1 : 0] == Value)
        return;
    customRange_[Vertical ? 1 : 0] = Value;
    if (widget_)
        syncScrollBars();
}

int TCustomGrid::ScrollPosToIndex(bool Vertical, int Pos) const
{
    if (!customRange_[Vertical ? 1 : 0])
        return Pos;
    const int count = Vertical ? rowCount_ : colCount_;
    const int fixed = Vertical ? fixedRows_ : fixedCols_;
    const int visible = Vertical ? VisibleRowCount() : VisibleColCount();
    // The platform's MulDiv: rounded to the nearest.
    const long long num = (long long)Pos * (count - visible - fixed);
    const long long q = num >= 0 ? (num + 63) / 127 : -((-num + 63) / 127);
    return int(q) + fixed;
}

void TCustomGrid::barAction(bool Vertical, int Action)
{
    auto *bar = static_cast<QScrollBar *>(ScrollBarWidget(Vertical));
    int code = -1;
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    default: return; // a moved thumb arrives through sliderMoved
    }
    const UINT msg = Vertical ? WM_VSCROLL : WM_HSCROLL;
    inBarAction_ = true;
    // The bar does not move itself on a click: the message handler decides where the grid goes.
    bar->setSliderPosition(bar->value());
    Perform(msg, MakeWParam(code, 0), 0);
    Perform(msg, MakeWParam(SB_ENDSCROLL, 0), 0);
    inBarAction_ = false;
}

void TCustomGrid::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL)
        WMScroll(Message, Message.Msg == WM_VSCROLL);
    else
        TCustomControl::WndProc(Message);
}

void TCustomGrid::WMScroll(TMessage &Message, bool Vertical)
{
    const int code = Message.WParamLo();
    const int first = Vertical ? topLeft_.Y : topLeft_.X;
    const int fixed = Vertical ? fixedRows_ : fixedCols_;
    const int page = std::max(1, Vertical ? VisibleRowCount() : VisibleColCount());
    const TGridCoord m = MaxTopLeft();
    const int last = std::max(fixed, Vertical ? m.Y : m.X);
    int to = first;
    switch (code) {
    case SB_LINEUP: to = first - 1; break;
    case SB_LINEDOWN: to = first + 1; break;
    case SB_PAGEUP: to = first - page; break;
    case SB_PAGEDOWN: to = first + page; break;
    case SB_TOP: to = fixed; break;
    case SB_BOTTOM: to = last; break;
    case SB_THUMBTRACK:
        // The grid follows a dragged thumb only with thumb tracking; it always goes where the
        // thumb is let go.
        if (!options_.Contains(goThumbTracking))
            return;
        [[fallthrough]];
    case SB_THUMBPOSITION: {
        // The high word holds 16 bits only; the bar's own tracking position holds them all.
        const auto *bar = static_cast<QScrollBar *>(ScrollBarWidget(Vertical));
        const int pos = inBarAction_ ? bar->sliderPosition() : Message.WParamHi();
        to = ScrollPosToIndex(Vertical, pos);
        break;
    }
    default: return;
    }
    to = std::clamp(to, fixed, last);
    if (to == first)
        return;
    Vertical ? moveTopLeft(topLeft_.X, to) : moveTopLeft(to, topLeft_.Y);
}

void TCustomGrid::UpdateScrollRange()
{
    if (!widget_)
        return;
    updateBarPolicies();
    const TGridCoord m = MaxTopLeft();
    if (topLeft_.X > m.X || topLeft_.Y > m.Y) {
        const TGridCoord old = topLeft_;
        topLeft_.X = std::min(topLeft_.X, std::max(m.X, fixedCols_));
        topLeft_.Y = std::min(topLeft_.Y, std::max(m.Y, fixedRows_));
        if (!(old == topLeft_)) {
            syncScrollBars();
            Invalidate();
            TopLeftChanged();
            return;
        }
    }
    syncScrollBars();
}

void TCustomGrid::moveTopLeft(int ALeft, int ATop)
{
    ALeft = std::clamp(ALeft, fixedCols_, std::max(fixedCols_, colCount_ - 1));
    ATop = std::clamp(ATop, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    if (ALeft == topLeft_.X && ATop == topLeft_.Y)
        return;
    topLeft_ = {ALeft, ATop};
    syncScrollBars();
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::SetTopRow(int Value)
{
    moveTopLeft(topLeft_.X, Value);
}

void TCustomGrid::SetLeftCol(int Value)
{
    moveTopLeft(Value, topLeft_.Y);
}

void TCustomGrid::TopLeftChanged()
{
    UpdateEdit();
}

void TCustomGrid::ClampInView(int ACol, int ARow)
{
    TGridCoord t = topLeft_;
    if (ACol >= fixedCols_ && ACol < colCount_) {
        if (ACol < t.X)
            t.X = ACol;
        else if (ACol >= t.X + VisibleColCount())
            t.X = std::max(t.X, axisMaxFirst(fixedCols_, ACol + 1, ClientWidth() - fixedWidth(), GRID_COL_AXIS));
    }
    if (ARow >= fixedRows_ && ARow < rowCount_) {
        if (ARow < t.Y)
            t.Y = ARow;
        else if (ARow >= t.Y + VisibleRowCount())
            t.Y = std::max(t.Y, axisMaxFirst(fixedRows_, ARow + 1, ClientHeight() - fixedHeight(), GRID_ROW_AXIS));
    }
    moveTopLeft(t.X, t.Y);
}

void TCustomGrid::Resize()
{
    UpdateScrollRange();
    UpdateEdit();
    TCustomControl::Resize();
}

// ---------------------------------------------------------------------------------------------
// Current cell and selection

TGridRect TCustomGrid::Selection() const
{
    TGridRect r{std::min(current_.X, FAnchor.X), std::min(current_.Y, FAnchor.Y), std::max(current_.X, FAnchor.X),
                std::max(current_.Y, FAnchor.Y)};
    if (options_.Contains(goRowSelect)) {
        r.Left = fixedCols_;
        r.Right = colCount_ - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect &Value)
{
    const TGridRect old = Selection();
    FAnchor = Value.TopLeft();
    current_ = Value.BottomRight();
    SelectionMoved(old);
}

void TCustomGrid::SelectionMoved(const TGridRect &OldSel)
{
    InvalidateRect(OldSel);
    InvalidateRect(Selection());
}

void TCustomGrid::moveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= colCount_ || ARow >= rowCount_)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return;
    const TGridRect old = Selection();
    const TGridCoord oldCur = current_;
    if (editorMode_ && !(oldCur == TGridCoord{ACol, ARow}) && !options_.Contains(goAlwaysShowEditor))
        HideEditor();
    current_ = {ACol, ARow};
    if (MoveAnchor || !options_.Contains(goRangeSelect))
        FAnchor = current_;
    if (Show)
        ClampInView(ACol, ARow);
    SelectionMoved(old);
    InvalidateCell(oldCur.X, oldCur.Y);
    InvalidateCell(ACol, ARow);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    moveCurrent(ACol, ARow, MoveAnchor, Show);
    UpdateEdit();
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    moveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::SetCol(int Value)
{
    if (Value != current_.X)
        FocusCell(Value, current_.Y, true);
}

void TCustomGrid::SetRow(int Value)
{
    if (Value != current_.Y)
        FocusCell(current_.X, Value, true);
}

// ---------------------------------------------------------------------------------------------
// Repainting

void TCustomGrid::InvalidateRect(const TGridRect &ARect)
{
    QWidget *vp = ClientWidget();
    // A hidden grid is painted whole when shown, a locked one when its redraw is switched on.
    if (!vp || !vp->isVisible() || !vp->updatesEnabled())
        return;
    // Only the visible part matters; walk it instead of the whole rectangle.
    const int cw = ClientWidth(), ch = ClientHeight();
    int left = cw, top = ch, right = 0, bottom = 0;
    for (int c = std::max(ARect.Left, 0); c <= ARect.Right && c < colCount_; ++c) {
        if (c >= fixedCols_ && c < topLeft_.X)
            c = topLeft_.X;
        const int x = colLeft(c);
        if (x < 0) {
            if (c >= topLeft_.X)
                break;
            continue;
        }
        left = std::min(left, x);
        right = std::max(right, x + colWidths_[size_t(c)] + colLine(c));
    }
    for (int r = std::max(ARect.Top, 0); r <= ARect.Bottom && r < rowCount_; ++r) {
        if (r >= fixedRows_ && r < topLeft_.Y)
            r = topLeft_.Y;
        const int y = rowTop(r);
        if (y < 0) {
            if (r >= topLeft_.Y)
                break;
            continue;
        }
        top = std::min(top, y);
        bottom = std::max(bottom, y + rowHeights_[size_t(r)] + rowLine(r));
    }
    if (right > left && bottom > top)
        vp->update(left, top, right - left, bottom - top);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    InvalidateRect({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int ACol)
{
    InvalidateRect({ACol, 0, ACol, rowCount_ - 1});
}

void TCustomGrid::InvalidateRow(int ARow)
{
    InvalidateRect({0, ARow, colCount_ - 1, ARow});
}

// ---------------------------------------------------------------------------------------------
// Structure

namespace {

// Moves element `from` to position `to`, shifting the ones between.
template <typename T>
void moveItem(std::vector<T> &v, int from, int to)
{
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else if (from > to)
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

// Where index i ends up when the item at `from` moves to `to`.
int movedIndex(int i, int from, int to)
{
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (from > to && i >= to && i < from)
        return i + 1;
    return i;
}

} // namespace

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= colCount_ || ToIndex >= colCount_)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    HideEditor();
    moveItem(colWidths_, FromIndex, ToIndex);
    current_.X = movedIndex(current_.X, FromIndex, ToIndex);
    FAnchor.X = movedIndex(FAnchor.X, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    ColWidthsChanged();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= rowCount_ || ToIndex >= rowCount_)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    HideEditor();
    moveItem(rowHeights_, FromIndex, ToIndex);
    current_.Y = movedIndex(current_.Y, FromIndex, ToIndex);
    FAnchor.Y = movedIndex(FAnchor.Y, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    RowHeightsChanged();
}

void TCustomGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, colCount_ - 1);
    SetColCount(colCount_ - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, rowCount_ - 1);
    SetRowCount(rowCount_ - 1);
}
