// Scrolling, scroll bars and geometry: the scroll messages with their hints, proportional thumbs,
// the column stretch, scaling all columns or rows after the user sizes one, the search-footer
// checks, drag auto-scrolling, the in-cell scroll bar and the slim scroll controls.
#include "grid/core/ProGrid.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Messages.h"
#include "framework/controls/StdCtrls.h"
#include <cmath>

namespace {

// The platform's MulDiv: a * b / c rounded to the nearest, halves away from zero.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long n = (long long)a * b;
    const long long h = std::llabs((long long)c) / 2;
    const long long q = ((n < 0) != (c < 0)) ? -((std::llabs(n) + h) / std::llabs((long long)c))
                                              : (std::llabs(n) + h) / std::llabs((long long)c);
    return int(q);
}

constexpr int SB_HORZ = 0, SB_VERT = 1;

bool HasVert(TScrollStyle s) { return s == ssVertical || s == ssBoth; }
bool HasHorz(TScrollStyle s) { return s == ssHorizontal || s == ssBoth; }

} // namespace

// ---------------------------------------------------------------------------------------------
// Geometry

void TProStringGrid::ScreenToCell(const TPoint &pt, int &ACol, int &ARow)
{
    const TPoint p = ScreenToClient(pt);
    MouseToCell(p.X, p.Y, ACol, ARow);
}

bool TProStringGrid::IsOnSizingBorder(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0)
        return false;
    const TRect R = CellRect(c, r);
    bool result = false;
    if (r <= FixedRows() && Options().Contains(goColSizing))
        result = std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4;
    if (c <= FixedCols() && Options().Contains(goRowSizing))
        result = std::abs(Y - R.Top) < 4 || std::abs(Y - R.Bottom) < 4;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Scroll bar settings. The flat scroll bars of the platform's common controls do not exist
// here: FIsFlat stays false, so every flat call is skipped and the normal bars keep working.

void TProStringGrid::SetScrollType(TScrollType Value)
{
    if (Value != FScrollType) {
        FScrollType = Value;
        if (Value == ssFlat || Value == ssEncarta) {
            FIsFlat = false;
            UpdateFlatScrollBars();
        } else {
            FIsFlat = false;
        }
        if (Value == ssMetro && FWndCreated) {
            CreateMetroScrollControls();
            SetScrollBars(ssNone);
        }
    }
    ApplyFlatStyle();
}

void TProStringGrid::ApplyFlatStyle()
{
    // Style, colours and widths go to the flat bars only while they are initialised.
    if (!FIsFlat)
        return;
}

void TProStringGrid::SetScrollColor(TColor Value)
{
    FScrollColor = Value;
    ApplyFlatStyle();
}

void TProStringGrid::SetScrollWidth(int Value)
{
    FScrollWidth = Value;
    ApplyFlatStyle();
}

void TProStringGrid::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    TBaseGrid::SetScrollBars(Value);
}

void TProStringGrid::SetScrollBarAlways(TScrollBarAlways Value)
{
    FScrollBarAlways = Value;
    UpdateScrollBarAlways(true);
}

void TProStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateVScrollProportional();
        UpdateHScrollProportional();
    } else {
        if (FIsFlat && FScrollType == ssNormal)
            FIsFlat = false;
        // Page size 0: the bars map rows and columns one to one again.
        SetCustomScrollRange(true, false);
        SetCustomScrollRange(false, false);
    }
}

void TProStringGrid::UpdateFlatScrollBars()
{
    ApplyFlatStyle();
    const bool rowsOver = VisibleRowCount() + FixedRows() < RowCount();
    const bool colsOver = VisibleColCount() + FixedCols() < ColCount();
    FlatShowScrollBar(SB_VERT, rowsOver);
    if (rowsOver)
        SyncFlatVScrollBar();
    FlatShowScrollBar(SB_HORZ, colsOver);
    if (colsOver)
        SyncFlatHScrollBar();
}

void TProStringGrid::FlatShowScrollBar(int Bar, bool Show)
{
    if (!FIsFlat)
        return;
    if (Bar == SB_HORZ && !HasHorz(FScrollBars))
        return;
    if (Bar == SB_VERT && !HasVert(FScrollBars))
        return;
}

void TProStringGrid::SyncFlatVScrollBar()
{
    if (!HasVert(FScrollBars) || !FIsFlat)
        return;
}

void TProStringGrid::SyncFlatHScrollBar()
{
    if (!HasHorz(FScrollBars) || !FIsFlat)
        return;
}

// ---------------------------------------------------------------------------------------------
// Proportional thumbs: the bar keeps 127 positions (the grid's own thumb mapping) while its page
// grows so that the thumb covers the visible part of the track.

bool TProStringGrid::ProportionalAllowed() const
{
    const TComponentState st = ComponentState();
    return !st.Contains(csLoading) && !st.Contains(csDesigning) && FScrollProportional && !FScrollLock &&
           ClientWidget() != nullptr;
}

namespace {

// A proportional bar over positions 0 .. 127: F the fixed extent, T the scrolling extent, A the
// extent scrolled past and View the client's. The page grows with the share in view; the position
// is set while part of the scrolling extent is out of view. False when there is nothing to set.
bool proportionalThumb(long long F, long long T, long long A, int View, TGridScrollInfo &si)
{
    if (T == 0)
        return false;
    const float e = float(View - F) / float(T);
    if (double(e) >= 0.9999)
        return false;
    const int nMax = int(std::trunc((double(e) + 127.0) / (1.0 - double(e))));
    si.Min = 0;
    si.Max = nMax;
    si.Page = nMax - 126;
    if (View < T)
        si.Pos = int(std::trunc(double(A) / double(T - View) * 128.0));
    return true;
}

}  // namespace

void TProStringGrid::UpdateVScrollProportional()
{
    if (!ProportionalAllowed())
        return;
    // Everything in view: the bar maps rows one to one again.
    if (VisibleRowCount() + FixedRows() >= RowCount()) {
        SetCustomScrollRange(true, false);
        return;
    }
    TGridScrollInfo si = GetScrollInfo(true);
    const int lw = GridLineWidth();
    long long F = lw, T = lw, A = lw;
    for (int r = 0; r < FixedRows(); ++r)
        F += lw + RowHeights(r);
    for (int r = FixedRows(); r < RowCount(); ++r) {
        T += lw + RowHeights(r);
        if (r < TopRow())
            A += lw + RowHeights(r);
    }
    const int h = ClientHeight();
    if (!proportionalThumb(F, T, A, h, si))
        return;
    if (h >= T)
        si.Pos = 127;
    SetScrollInfo(true, si);
    SyncFlatVScrollBar();
}

void TProStringGrid::UpdateHScrollProportional()
{
    if (!ProportionalAllowed())
        return;
    TGridScrollInfo si = GetScrollInfo(false);
    const int lw = GridLineWidth();
    long long F = lw, T = lw, A = lw, all = 0;
    for (int c = 0; c < FixedCols(); ++c)
        F += lw + ColWidths(c);
    for (int c = 0; c < ColCount(); ++c)
        all += ColWidths(c);
    for (int c = FixedCols(); c < ColCount(); ++c) {
        T += lw + ColWidths(c);
        if (c < LeftCol())
            A += lw + ColWidths(c);
    }
    const int w = ClientWidth();
    if (!proportionalThumb(F, T, A, w, si))
        return;
    SetScrollInfo(false, si);
    if (FScrollBarAlways != saHorz && FScrollBarAlways != saBoth) {
        if (all < w || !HasHorz(FScrollBars))
            ForceScrollBar(false, false, true);
        else
            ReleaseScrollBar(false);
    }
    SyncFlatHScrollBar();
}

// ---------------------------------------------------------------------------------------------
// Scroll messages

void TProStringGrid::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
        if (Message.Msg == WM_VSCROLL && FScrollBar && Message.LParam == LPARAM(FScrollBar)) {
            CellScrollMessage(Message);
            return;
        }
        ScrollMessage(Message, Message.Msg == WM_VSCROLL);
        return;
    }
    if (Message.Msg == CM_DIALOGCHAR) {
        // The search panel's accelerators act only while the footer shows.
        CMDialogChar(Message);
        if (Message.Result != 0 || !FSearchFooter->Visible())
            return;
    }
    TBaseGrid::WndProc(Message);
}

void TProStringGrid::ShowScrollHint(bool Vertical, int Target)
{
    QString text = (Vertical ? QStringLiteral("Row : ") : QStringLiteral("Col : ")) + QString::number(Target);
    if (OnScrollHint)
        OnScrollHint(this, Target, text);
    if (!FScrollHintWnd)
        FScrollHintWnd = new THTMLHintWindow(this);
    FScrollHintWnd->SetColor(HintColor());
    TRect R = FScrollHintWnd->CalcHintRect(100, text, nullptr);
    const TPoint pt = GetCursorPos();
    OffsetRect(R, pt.X + 10, pt.Y);
    FScrollHintWnd->ActivateHint(R, text);
    FScrollHintShow = true;
}

void TProStringGrid::HideScrollHint()
{
    if (FScrollHintWnd && FScrollHintShow)
        FScrollHintWnd->ReleaseHandle();
    FScrollHintShow = false;
}

TGridRect TProStringGrid::FixedBackgroundCells()
{
    TBitmap *bmp = FBackGround->Bitmap();
    if (!bmp || bmp->Empty())
        return GridRect(-1, -1, -1, -1);
    const TGridCoord a = MouseCoord(FBackGround->Left(), FBackGround->Top());
    const TGridCoord b = MouseCoord(FBackGround->Left() + bmp->Width(), FBackGround->Top() + bmp->Height());
    return GridRect(a.X, a.Y, b.X < 0 ? ColCount() - 1 : b.X, b.Y < 0 ? RowCount() - 1 : b.Y);
}

void TProStringGrid::ScrollMessage(TMessage &Message, bool Vertical)
{
    const int code = Message.WParamLo();
    if (Vertical && ComponentState().Contains(csDesigning)) {
        TBaseGrid::WndProc(Message);
        return;
    }
    const bool hints = Vertical ? (ScrollHints() == shVertical || ScrollHints() == shBoth)
                                : (ScrollHints() == shHorizontal || ScrollHints() == shBoth);
    const int count = Vertical ? RowCount() : ColCount();
    const int visible = Vertical ? VisibleRowCount() : VisibleColCount();
    const int fixed = Vertical ? FixedRows() : FixedCols();
    // The thumb positions of the grid's own mapping (0 .. 127) or, without it, the index itself.
    const int pos = code == SB_THUMBTRACK || code == SB_THUMBPOSITION
                        ? (CustomScrollRange(Vertical) ? int(Message.WParamHi()) : GetScrollInfo(Vertical).TrackPos)
                        : 0;
    const int target = CustomScrollRange(Vertical) ? MulDiv(pos, count - visible - fixed, 127) + fixed
                                                   : ScrollPosToIndex(Vertical, pos);
    if (hints) {
        if (code == SB_ENDSCROLL)
            HideScrollHint();
        else if (code == SB_THUMBTRACK)
            ShowScrollHint(Vertical, target);
    }
    if (code == SB_THUMBTRACK && ScrollSynch()) {
        if (Vertical)
            SetTopRow(target);
        else
            SetLeftCol(target);
    }
    const bool fixedBack = FBackGround->Display() == bdFixed;
    const TGridRect before = fixedBack ? FixedBackgroundCells() : TGridRect{};

    if (!Vertical && fixed == 0 && target >= Col() && (code == SB_THUMBTRACK || code == SB_THUMBPOSITION))
        HideInplaceEdit();

    const bool footer = FSearchFooter->Visible();
    if (Vertical && footer && (code == SB_ENDSCROLL || code == SB_LINEDOWN) && LastRowAboveSearchFooter()) {
        Message.Result = 1;
        return;
    }

    TBaseGrid::WndProc(Message);

    if (fixedBack && code != SB_THUMBTRACK) {
        const TGridRect after = FixedBackgroundCells();
        if (!(after == before)) {
            if (before.Left >= 0)
                InvalidateRect(before);
            if (after.Left >= 0)
                InvalidateRect(after);
        }
    }
    if (Vertical) {
        if (footer) {
            if (code == SB_LINEUP && RowCount() - VisibleRowCount() == TopRow())
                SetTopRow(TopRow() - 1);
            else if ((code == SB_ENDSCROLL || code == SB_LINEDOWN) && RowCount() - VisibleRowCount() == TopRow())
                ScrollLastRowAboveSearchFooter();
        }
        SyncFlatVScrollBar();
        SyncFlatHScrollBar();
    } else {
        if (code == SB_ENDSCROLL) {
            if ((BiDiMode() != bdLeftToRight && FMergeCount > 0) || ColCount() == 1)
                Invalidate();
        }
        SyncFlatHScrollBar();
        SyncFlatVScrollBar();
        if (FFooterPanel)
            FFooterPanel->Invalidate();
    }
    if (GetCellType(RealCol(), Row()) == ctCheckBox)
        HideEditor();
}

void TProStringGrid::CellScrollMessage(TMessage &Message)
{
    const int code = Message.WParamLo();
    const int oldPos = FScrollBar->Position();
    const int mn = FScrollBar->Min(), mx = FScrollBar->Max();
    int p = oldPos;
    switch (code) {
    case SB_LINEUP: p = std::max(oldPos - 10, mn); break;
    case SB_LINEDOWN: p = std::min(oldPos + 10, mx); break;
    case SB_PAGEUP: p = std::max(oldPos - 100, mn); break;
    case SB_PAGEDOWN: p = std::min(oldPos + 100, mx); break;
    case SB_THUMBTRACK: p = Message.WParamHi(); break;
    default: break;
    }
    if (p == oldPos)
        return;
    FScrollBar->SetPosition(p);
    Message.Result = 1;
    SetScrollPosition(FScrollCol, FScrollRow, p);
    ScrollCell(FScrollCol, FScrollRow, p, mn, mx);
}

void TProStringGrid::CellScrollBarScroll(TScrollCode Code, int &Pos)
{
    static const int codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION,
                                SB_THUMBTRACK, SB_TOP, SB_BOTTOM, SB_ENDSCROLL};
    Perform(WM_VSCROLL, MakeWParam(codes[int(Code)], Pos), LPARAM(FScrollBar));
    Pos = FScrollBar->Position();
}

void TProStringGrid::SetScrollPosition(int ACol, int ARow, int Pos)
{
    if (TCellGraphic *g = GetCellGraphic(ACol, ARow); g && g->CellType() == ctScrollbar) {
        g->SetCellIndex(Pos);
        RepaintCell(ACol, ARow);
    }
}

void TProStringGrid::ScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)
{
    if (OnScrollCell)
        OnScrollCell(this, ACol, ARow, ScrollPosition, ScrollMin, ScrollMax);
}

LRESULT TProStringGrid::GetDlgCode() const
{
    LRESULT r = TBaseGrid::GetDlgCode();
    if (FNavigation->AutoGotoWhenSorted() || !Options().Contains(goEditing))
        r |= DLGC_WANTCHARS;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Column stretching and sizing notifications

void TProStringGrid::StretchColumnWidth(int Index)
{
    if (IsLoading() || IsDestroying() || (Application && Application->Terminated()))
        return;
    if (Index == -1)
        Index = ColCount() - 1;
    if (Index >= ColCount())
        throw Exception(QStringLiteral("Stretch column index out of range"));
    if (ColCount() == 0 || !FColumnSize->Stretch() || FIsColChanging || Index < 0)
        return;
    FIsColChanging = true;
    ColchgFlg = false;
    const int cw = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(Index, cw);
    } else {
        int S = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != Index)
                S += ColWidths(c);
        if (S < cw)
            SetColWidths(Index, cw - S - 1);
        else if (LeftCol() == FixedCols())
            SetColWidths(Index, DefaultColWidth());
    }
    ColchgFlg = true;
    FIsColChanging = false;
    if (FFooterPanel && FFloatingFooter->Visible())
        FFooterPanel->SetAlign(alBottom);
}

void TProStringGrid::ColWidthsChanged()
{
    if (ColchgFlg && FColumnSize)
        StretchColumnWidth(FColumnSize->StretchColumn());
    if (ComponentState().Contains(csDesigning))
        HideScrollHint();
    TBaseGrid::ColWidthsChanged();
    ColSizeFlg = true;
    if (ColSized && FMouseActions->AllColumnSize() && Colclickedsize > 0 && Colclicked >= 0 && Colclicked < ColCount()) {
        const double f = double(ColWidths(Colclicked)) / double(Colclickedsize);
        ColSized = false;
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (c != Colclicked)
                SetColWidths(c, int(std::lround(ColWidths(c) * f)));
        ColSized = true;
    }
    if (ColSized) {
        if (OnEndColumnSize)
            OnEndColumnSize(this, Colclicked);
        if (Colclicked >= 0 && Colclicked < ColCount()) {
            int w = ColWidths(Colclicked);
            const int old = w;
            UpdateColumnSize(Colclicked, w);
            if (w != old) {
                ColSized = false;
                SetColWidths(Colclicked, w);
            }
        }
        Colclicked = -1;
        Rowclicked = -1;
    }
    ColSized = false;
    if (GetCellType(RealCol(), Row()) == ctCheckBox)
        HideEditor();
    if (FFooterPanel)
        FFooterPanel->Invalidate();
    if (FControlList)
        CellControlsUpdate(false);
    if (FColumnSize && FColumnSize->Stretch() && FScrollProportional)
        UpdateVScrollProportional();
    UpdateHScrollProportional();
}

void TProStringGrid::RowHeightsChanged()
{
    if (ComponentState().Contains(csDesigning))
        HideScrollHint();
    TBaseGrid::RowHeightsChanged();
    if (Rowsized && FMouseActions->AllRowSize() && Rowclickedsize > 0 && Rowclicked >= 0 && Rowclicked < RowCount()) {
        const double f = double(RowHeights(Rowclicked)) / double(Rowclickedsize);
        Rowsized = false;
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != Rowclicked)
                SetRowHeights(r, int(std::lround(RowHeights(r) * f)));
        Rowsized = true;
    }
    if (Rowsized) {
        if (OnEndRowSize)
            OnEndRowSize(this, Rowclicked);
        Colclicked = -1;
        Rowclicked = -1;
    }
    Rowsized = false;
    if (GetCellType(RealCol(), Row()) == ctCheckBox)
        HideEditor();
    if (FControlList)
        CellControlsUpdate(false);
    UpdateVScrollProportional();
}

void TProStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    const bool skip = !Parent() || IsLoading() || ComponentState().Contains(csReading) ||
                      (Application && Application->Terminated());
    if (!skip && FColumnSize && FColumnSize->Stretch())
        StretchColumnWidth(FColumnSize->StretchColumn());
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    if (skip)
        return;
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    SyncFlatVScrollBar();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    SyncFlatHScrollBar();
    UpdateVScrollProportional();
    UpdateHScrollProportional();
}

void TProStringGrid::TopLeftChanged()
{
    TBaseGrid::TopLeftChanged();
    UpdateVScrollProportional();
    UpdateHScrollProportional();
    if (FVScrollControl)
        FVScrollControl->Invalidate();
    if (FHScrollControl)
        FHScrollControl->Invalidate();
}

// The mouse handling remembers which column or row the user sizes, so that the width and
// height notifications can tell a user's sizing from a program's.
void TProStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        TGridState st = gsNormal;
        int idx = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, st, idx, pos, ofs);
        if (st == gsColSizing && idx >= 0) {
            Colclicked = idx;
            Colclickedsize = ColWidths(idx);
        } else if (st == gsRowSizing && idx >= 0) {
            Rowclicked = idx;
            Rowclickedsize = RowHeights(idx);
        }
    }
    TBaseGrid::MouseDown(Button, Shift, X, Y);
}

void TProStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState st = GridState();
    if (Button == mbLeft && st == gsColSizing)
        ColSized = true;
    else if (Button == mbLeft && st == gsRowSizing)
        Rowsized = true;
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    // A sizing that changed nothing sends no notification.
    ColSized = false;
    Rowsized = false;
}

// ---------------------------------------------------------------------------------------------
// Search footer

bool TProStringGrid::LastRowAboveSearchFooter()
{
    if (!FSearchFooter->Visible() || !FSearchPanel)
        return false;
    if (TopRow() + VisibleRowCount() < RowCount() - 1)
        return false;
    const TRect R = CellRect(0, RowCount() - 1);
    return !R.IsEmpty() && R.Bottom < ClientHeight() - FSearchPanel->Height() + 2;
}

void TProStringGrid::ScrollLastRowAboveSearchFooter()
{
    if (!FSearchFooter->Visible() || !FSearchPanel)
        return;
    const int sp = FSearchPanel->Height();
    if (DefaultRowHeight() + sp >= ClientHeight())
        return;
    // A last row out of view (empty rectangle) lies below the footer as well.
    auto below = [&] {
        const TRect R = CellRect(0, RowCount() - 1);
        return R.IsEmpty() || R.Bottom > ClientHeight() - sp + 2;
    };
    while (below() && Row() <= RowCount() - 1 && TopRow() < RowCount() - 1) {
        const int before = TopRow();
        SetTopRow(TopRow() + 1);
        if (TopRow() == before)
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Drag auto-scrolling

void TProStringGrid::StopDragTimer()
{
    if (!FDragTmr)
        return;
    FDragTmr->SetEnabled(false);
    // A timer stopped from its own tick is freed when the tick returns.
    if (FInDragTick)
        return;
    delete FDragTmr;
    FDragTmr = nullptr;
}

void TProStringGrid::DragOver(TObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    TDragScrollOptions *o = FDragScrollOptions.get();
    if (!o->Active()) {
        StopDragTimer();
        return;
    }
    const bool wasEmpty = FDragScrollDirection.Empty();
    FDragScrollDirection = TDragScrollDirection();
    if (State == dsDragLeave) {
        StopDragTimer();
        return;
    }
    const TDragScrollMargins *m = o->Margins();
    if (Y < m->TopMargin())
        FDragScrollDirection.Include(dsdUp);
    else if (Y > ClientHeight() - m->BottomMargin())
        FDragScrollDirection.Include(dsdDown);
    if (X < m->LeftMargin())
        FDragScrollDirection.Include(dsdLeft);
    else if (X > ClientWidth() - m->RightMargin())
        FDragScrollDirection.Include(dsdRight);
    if (FDragScrollDirection.Empty()) {
        StopDragTimer();
        return;
    }
    if (!FDragTmr) {
        FDragTmr = new TTimer(Parent() ? static_cast<TComponent *>(Parent()) : this);
        FDragTmr->SetInterval(o->Delays()->InitialDelay());
        FDragTmr->OnTimer = [this](TObject *Sender) {
            FInDragTick = true;
            DragScrollTimerTick(Sender);
            FInDragTick = false;
        };
        FDragTmr->SetEnabled(true);
    } else if (!wasEmpty || !FDragTmr->Enabled()) {
        // A timer stopped from its own tick is still there, switched off.
        FDragTmr->SetInterval(o->Delays()->InitialDelay());
        FDragTmr->SetEnabled(true);
    }
}

void TProStringGrid::DragScrollTimerTick(TObject *)
{
    TDragScrollOptions *o = FDragScrollOptions.get();
    if (!o->Active()) {
        StopDragTimer();
        return;
    }
    FDragTmr->SetInterval(o->Delays()->RepeatDelay());
    TDragScrollDirection D = FDragScrollDirection;
    if (OnDragScroll) {
        bool can = true;
        OnDragScroll(this, TopRow(), LeftCol(), D, can);
        if (!can)
            return;
    }
    if (D.Contains(dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if (D.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if (D.Contains(dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if (D.Contains(dsdRight) && VisibleColCount() + LeftCol() < ColCount())
        SetLeftCol(LeftCol() + 1);
}

// ---------------------------------------------------------------------------------------------
// Slim scroll controls

void TProStringGrid::CreateMetroScrollControls()
{
    if (!FVScrollControl) {
        FVScrollControl = new TScrollControl(this);
        FVScrollControl->SetDirection(sdVertical);
        FVScrollControl->SetParent(this);
        FVScrollControl->SetWidth(6);
        FVScrollControl->SetAlign(alRight);
        FVScrollControl->SetVisible(true);
    }
    if (!FHScrollControl) {
        FHScrollControl = new TScrollControl(this);
        FHScrollControl->SetDirection(sdHorizontal);
        FHScrollControl->SetParent(this);
        FHScrollControl->SetHeight(6);
        FHScrollControl->SetAlign(alBottom);
        FHScrollControl->SetVisible(true);
    }
}

TScrollControl::TScrollControl(TComponent *AOwner) : TCustomControl(AOwner) {}

void TScrollControl::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Invalidate();
}

TProStringGrid *TScrollControl::Grid() const { return dynamic_cast<TProStringGrid *>(Parent()); }

namespace {
// Nearest integer, halves to the even neighbour.
int RoundEven(double v) { return int(std::nearbyint(v)); }
} // namespace

void TScrollControl::ThumbGeometry(int &Start, int &Length) const
{
    Start = 0;
    Length = 0;
    TProStringGrid *g = Grid();
    if (!g)
        return;
    const bool vert = FDirection == sdVertical;
    const int size = vert ? Height() : Width();
    const int count = vert ? g->RowCount() : g->ColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int first = vert ? g->TopRow() : g->LeftCol();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    int fixedSize = 0, footSize = 0;
    for (int i = 0; i < fixed; ++i)
        fixedSize += vert ? g->RowHeights(i) : g->ColWidths(i);
    if (vert)
        for (int i = std::max(0, count - g->FixedFooters()); i < count; ++i)
            footSize += g->RowHeights(i);
    const int L = size - fixedSize - footSize;
    if (count - fixed <= 0 || count <= 0)
        return;
    Start = fixedSize + RoundEven(double(L) * (first - fixed) / double(count - fixed));
    Length = std::max(20, RoundEven(double(L) * visible / double(count)));
    if (Start + Length > size)
        Start = size - Length;
}

void TScrollControl::Paint()
{
    TProStringGrid *g = Grid();
    if (!g)
        return;
    const bool vert = FDirection == sdVertical;
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int normal = vert ? g->RowCount() - g->FixedRows() : g->ColCount() - g->FixedCols();
    if (visible >= normal)
        return;
    int start = 0, len = 0;
    ThumbGeometry(start, len);
    TCanvas *C = Canvas();
    C->Brush()->SetColor(FColor);
    C->Pen()->SetColor(FColor);
    if (vert)
        C->Rectangle(0, start, FScrollWidth, start + len);
    else
        C->Rectangle(start, 0, start + len, FScrollWidth);
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TProStringGrid *g = Grid();
    if (!g)
        return;
    const bool vert = FDirection == sdVertical;
    const int p = vert ? Y : X;
    int start = 0, len = 0;
    ThumbGeometry(start, len);
    const int first = vert ? g->TopRow() : g->LeftCol();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int count = vert ? g->RowCount() : g->ColCount();
    int to = first;
    if (p < start)
        to = std::max(fixed, first - visible);
    else if (p > start + len)
        to = std::min(first + visible, count - visible);
    else {
        FDownOnScroller = true;
        FDownPos = p;
        FDownRow = first;
        return;
    }
    vert ? g->SetTopRow(to) : g->SetLeftCol(to);
    Invalidate();
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    TProStringGrid *g = Grid();
    if (!g || !FDownOnScroller)
        return;
    const bool vert = FDirection == sdVertical;
    const int p = vert ? Y : X;
    const int size = (vert ? Height() : Width()) - (vert ? g->RowHeights(0) : g->ColWidths(0));
    if (size <= 0)
        return;
    const int count = vert ? g->RowCount() : g->ColCount();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    int to = RoundEven(double(p - FDownPos) / double(size) * count) + FDownRow;
    to = std::max(std::min(to, count - visible), fixed);
    vert ? g->SetTopRow(to) : g->SetLeftCol(to);
    Invalidate();
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FDownOnScroller = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}
