// TCustomGrid: painting, keyboard, mouse, wheel and the in-place editor's life cycle.
#include "framework/grids/Grids.h"
#include <QWidget>
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Painting

void TCustomGrid::Paint()
{
    TCanvas *C = Canvas();
    const int cw = ClientWidth(), ch = ClientHeight();
    struct Span { int Index, Pos; };
    std::vector<Span> cols, rows;
    int x = 0;
    for (int c = 0; c < fixedCols_ && x < cw; ++c) {
        cols.push_back({c, x});
        x += colWidths_[size_t(c)] + colLine(c);
    }
    for (int c = topLeft_.X; c < colCount_ && x < cw; ++c) {
        cols.push_back({c, x});
        x += colWidths_[size_t(c)] + colLine(c);
    }
    int y = 0;
    for (int r = 0; r < fixedRows_ && y < ch; ++r) {
        rows.push_back({r, y});
        y += rowHeights_[size_t(r)] + rowLine(r);
    }
    for (int r = topLeft_.Y; r < rowCount_ && y < ch; ++r) {
        rows.push_back({r, y});
        y += rowHeights_[size_t(r)] + rowLine(r);
    }
    const TRect clip = C->ClipRect();
    const TGridRect sel = Selection();
    const bool focused = Focused();
    const TColor textColor = Font()->Color();
    for (const Span &rs : rows) {
        const int r = rs.Index, h = rowHeights_[size_t(r)], rl = rowLine(r);
        if (rs.Pos + h + rl <= clip.Top || rs.Pos >= clip.Bottom)
            continue;
        for (const Span &cs : cols) {
            const int c = cs.Index, w = colWidths_[size_t(c)], cl = colLine(c);
            if (cs.Pos + w + cl <= clip.Left || cs.Pos >= clip.Right)
                continue;
            const TRect R(cs.Pos, rs.Pos, cs.Pos + w, rs.Pos + h);
            const bool fixed = c < fixedCols_ || r < fixedRows_;
            TGridDrawState state;
            if (fixed) {
                state += gdFixed;
            } else {
                const bool isCurrent = c == current_.X && r == current_.Y;
                if (isCurrent && focused)
                    state += gdFocused;
                if (c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom &&
                    (!isCurrent || options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect)))
                    state += gdSelected;
            }
            if (!R.IsEmpty()) {
                if (defaultDrawing_) {
                    C->Brush()->SetColor(fixed ? fixedColor_ : state.Contains(gdSelected) ? clHighlight : Color());
                    C->Font()->SetColor(state.Contains(gdSelected) ? clHighlightText : textColor);
                    C->FillRect(R);
                }
                DrawCell(c, r, R, state);
                if (defaultDrawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect))
                    C->DrawFocusRect(R);
            }
        }
    }
    // Grid lines as whole strips: the fixed part in the darker colour.
    const int fw = std::min(fixedWidth(), x), fh = std::min(fixedHeight(), y);
    for (const Span &cs : cols) {
        const int c = cs.Index, cl = colLine(c);
        if (cl == 0)
            continue;
        const int lx = cs.Pos + colWidths_[size_t(c)];
        C->Brush()->SetColor(clGray);
        C->FillRect(TRect(lx, 0, lx + cl, c < fixedCols_ ? y : fh));
        if (c >= fixedCols_) {
            C->Brush()->SetColor(clSilver);
            C->FillRect(TRect(lx, fh, lx + cl, y));
        }
    }
    for (const Span &rs : rows) {
        const int r = rs.Index, rl = rowLine(r);
        if (rl == 0)
            continue;
        const int ly = rs.Pos + rowHeights_[size_t(r)];
        C->Brush()->SetColor(clGray);
        C->FillRect(TRect(0, ly, r < fixedRows_ ? x : fw, ly + rl));
        if (r >= fixedRows_) {
            C->Brush()->SetColor(clSilver);
            C->FillRect(TRect(fw, ly, x, ly + rl));
        }
    }
    // The area beyond the last column and row.
    C->Brush()->SetColor(Color());
    if (x < cw)
        C->FillRect(TRect(x, 0, cw, ch));
    if (y < ch)
        C->FillRect(TRect(0, y, std::min(x, cw), ch));

    // What the original drew straight onto the screen while sizing or moving.
    C->Brush()->SetColor(clBlack);
    if (FGridState == gsColSizing)
        C->FillRect(TRect(sizingPos_, 0, sizingPos_ + 1, ch));
    else if (FGridState == gsRowSizing)
        C->FillRect(TRect(0, sizingPos_, cw, sizingPos_ + 1));
    else if (FGridState == gsColMoving && movePos_ != moveIndex_) {
        const TRect R = CellRect(movePos_, 0);
        const int px = movePos_ > moveIndex_ ? R.Right : R.Left;
        if (!R.IsEmpty())
            C->FillRect(TRect(px - 1, 0, px + 1, ch));
    } else if (FGridState == gsRowMoving && movePos_ != moveIndex_) {
        const TRect R = CellRect(0, movePos_);
        const int py = movePos_ > moveIndex_ ? R.Bottom : R.Top;
        if (!R.IsEmpty())
            C->FillRect(TRect(0, py - 1, cw, py + 1));
    }
}

// ---------------------------------------------------------------------------------------------
// Keyboard

LRESULT TCustomGrid::GetDlgCode() const
{
    LRESULT code = DLGC_WANTARROWS;
    if (options_.Contains(goTabs))
        code |= DLGC_WANTTAB;
    if (options_.Contains(goEditing))
        code |= DLGC_WANTCHARS;
    return code;
}

void TCustomGrid::KeyDown(Word &Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool rowSelect = options_.Contains(goRowSelect);
    TGridCoord t = current_;
    TGridCoord top = topLeft_;
    const int pageRows = std::max(1, VisibleRowCount());
    bool extend = Shift.Contains(ssShift) && options_.Contains(goRangeSelect);
    switch (Key) {
    case VK_UP: --t.Y; break;
    case VK_DOWN: ++t.Y; break;
    case VK_LEFT:
        if (rowSelect)
            top.X = std::max(fixedCols_, top.X - 1);
        else
            --t.X;
        break;
    case VK_RIGHT:
        if (rowSelect)
            top.X = std::min(MaxTopLeft().X, top.X + 1);
        else
            ++t.X;
        break;
    case VK_PRIOR:
        t.Y -= pageRows;
        top.Y = std::max(fixedRows_, top.Y - pageRows);
        break;
    case VK_NEXT:
        t.Y += pageRows;
        top.Y = std::min(MaxTopLeft().Y, top.Y + pageRows);
        break;
    case VK_HOME:
        if (ctrl)
            t = {fixedCols_, fixedRows_};
        else if (!rowSelect)
            t.X = fixedCols_;
        break;
    case VK_END:
        if (ctrl)
            t = {colCount_ - 1, rowCount_ - 1};
        else if (!rowSelect)
            t.X = colCount_ - 1;
        break;
    case VK_TAB:
        if (!options_.Contains(goTabs) || ctrl)
            return;
        extend = false;
        if (Shift.Contains(ssShift)) {
            if (--t.X < fixedCols_) {
                t.X = colCount_ - 1;
                if (--t.Y < fixedRows_)
                    t.Y = rowCount_ - 1;
            }
        } else if (++t.X >= colCount_) {
            t.X = fixedCols_;
            if (++t.Y >= rowCount_)
                t.Y = fixedRows_;
        }
        break;
    case VK_F2:
        if (options_.Contains(goEditing))
            SetEditorMode(true);
        return;
    default:
        return;
    }
    t.X = std::clamp(t.X, fixedCols_, colCount_ - 1);
    t.Y = std::clamp(t.Y, fixedRows_, rowCount_ - 1);
    if (t.X < fixedCols_ || t.Y < fixedRows_)
        return;  // nothing but fixed cells
    if (!(top == topLeft_))
        moveTopLeft(top.X, top.Y);
    if (!(t == current_)) {
        moveCurrent(t.X, t.Y, !extend, true);
        UpdateEdit();
        Click();
    }
}

void TCustomGrid::KeyPress(QChar &Key)
{
    TCustomControl::KeyPress(Key);
    if (Key.isNull() || !options_.Contains(goEditing))
        return;
    if (Key == QChar('\r')) {
        if (!options_.Contains(goAlwaysShowEditor)) {
            if (editorMode_)
                HideEditor();
            else
                ShowEditor();
        }
        Key = QChar();
    } else if (!editorMode_ && Key.unicode() >= 32 && CanEditAcceptKey(Key)) {
        showEditorChar(Key);
        Key = QChar();
    }
}

void TCustomGrid::showEditorChar(QChar Ch)
{
    ShowEditor();
    if (editorMode_ && FInplaceEdit) {
        FInplaceEdit->SetText(QString(Ch));
        FInplaceEdit->SetSelStart(1);
        FInplaceEdit->SetModified(true);
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TCustomGrid::CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs)
{
    State = gsNormal;
    Index = -1;
    // A border counts from two pixels before the line to two after it.
    auto near = [](int v, int edge, int line) { return v >= edge - 2 && v <= edge + line + 1; };
    if (options_.Contains(goColSizing) && Y >= 0 && Y < fixedHeight()) {
        int x = 0;
        auto test = [&](int c) {
            const int e = x + colWidths_[size_t(c)];
            if (State == gsNormal && near(X, e, colLine(c))) {
                State = gsColSizing;
                Index = c;
                SizingPos = e;
                SizingOfs = e - X;
            }
            x = e + colLine(c);
        };
        for (int c = 0; c < fixedCols_; ++c)
            test(c);
        for (int c = topLeft_.X; c < colCount_ && x < ClientWidth(); ++c)
            test(c);
    }
    if (State == gsNormal && options_.Contains(goRowSizing) && X >= 0 && X < fixedWidth()) {
        int y = 0;
        auto test = [&](int r) {
            const int e = y + rowHeights_[size_t(r)];
            if (State == gsNormal && near(Y, e, rowLine(r))) {
                State = gsRowSizing;
                Index = r;
                SizingPos = e;
                SizingOfs = e - Y;
            }
            y = e + rowLine(r);
        };
        for (int r = 0; r < fixedRows_; ++r)
            test(r);
        for (int r = topLeft_.Y; r < rowCount_ && y < ClientHeight(); ++r)
            test(r);
    }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus() && !Focused() && !(FInplaceEdit && FInplaceEdit->Focused()))
            SetFocus();
        TGridState st;
        int idx = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, st, idx, pos, ofs);
        clickedCurrent_ = false;
        if (st != gsNormal) {
            FGridState = st;
            sizingIndex_ = idx;
            sizingPos_ = pos;
            sizingOfs_ = ofs;
            SetMouseCapture(true);
            Invalidate();
        } else {
            const TGridCoord g = MouseCoord(X, Y);
            if (g.X >= 0 && g.Y >= 0) {
                if (g.Y < fixedRows_ && g.X >= fixedCols_ && options_.Contains(goColMoving)) {
                    FGridState = gsColMoving;
                    moveIndex_ = movePos_ = g.X;
                    SetMouseCapture(true);
                } else if (g.X < fixedCols_ && g.Y >= fixedRows_ && options_.Contains(goRowMoving)) {
                    FGridState = gsRowMoving;
                    moveIndex_ = movePos_ = g.Y;
                    SetMouseCapture(true);
                } else if (g.X >= fixedCols_ && g.Y >= fixedRows_) {
                    clickedCurrent_ = g == current_ && !editorMode_;
                    const bool extend = Shift.Contains(ssShift) && options_.Contains(goRangeSelect);
                    moveCurrent(g.X, g.Y, !extend, true);
                    UpdateEdit();
                    FGridState = gsSelecting;
                    SetMouseCapture(true);
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    switch (FGridState) {
    case gsSelecting: {
        const TGridCoord g = MouseCoord(X, Y);
        if (g.X >= fixedCols_ && g.Y >= fixedRows_ && !(g == current_) && options_.Contains(goRangeSelect)) {
            moveCurrent(g.X, g.Y, false, true);
            clickedCurrent_ = false;
        }
        break;
    }
    case gsColSizing:
        sizingPos_ = X + sizingOfs_;
        Invalidate();
        break;
    case gsRowSizing:
        sizingPos_ = Y + sizingOfs_;
        Invalidate();
        break;
    case gsColMoving: {
        const int c = MouseCoord(X, 0).X;
        if (c >= fixedCols_ && c != movePos_) {
            movePos_ = c;
            Invalidate();
        }
        break;
    }
    case gsRowMoving: {
        const int r = MouseCoord(0, Y).Y;
        if (r >= fixedRows_ && r != movePos_) {
            movePos_ = r;
            Invalidate();
        }
        break;
    }
    case gsNormal: {
        TGridState st;
        int idx = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, st, idx, pos, ofs);
        const TCursor cur = st == gsColSizing ? crHSplit : st == gsRowSizing ? crVSplit : Cursor();
        ClientWidget()->setCursor(CursorToQCursor(cur));
        break;
    }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::ShowCursorNow(TCursor v)
{
    shownCursor_ = v;
    ClientWidget()->setCursor(CursorToQCursor(v));
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState st = FGridState;
    if (Button == mbLeft && st != gsNormal) {
        FGridState = gsNormal;
        SetMouseCapture(false);
        ClientWidget()->setCursor(CursorToQCursor(Cursor()));
        switch (st) {
        case gsColSizing: {
            const int left = CellRect(sizingIndex_, 0).Left;
            SetColWidths(sizingIndex_, std::max(0, sizingPos_ - left));
            break;
        }
        case gsRowSizing: {
            const int top = CellRect(0, sizingIndex_).Top;
            SetRowHeights(sizingIndex_, std::max(0, sizingPos_ - top));
            break;
        }
        case gsColMoving:
            if (movePos_ != moveIndex_)
                MoveColumn(moveIndex_, movePos_);
            break;
        case gsRowMoving:
            if (movePos_ != moveIndex_)
                MoveRow(moveIndex_, movePos_);
            break;
        case gsSelecting:
            if (clickedCurrent_ && options_.Contains(goEditing) && MouseCoord(X, Y) == current_)
                ShowEditor();
            break;
        default:
            break;
        }
        clickedCurrent_ = false;
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos))
        return true;
    if (Row() < RowCount() - 1)
        SetRow(Row() + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos))
        return true;
    if (Row() > FixedRows())
        SetRow(Row() - 1);
    return true;
}

// ---------------------------------------------------------------------------------------------
// In-place editing

bool TCustomGrid::CanEditShow()
{
    return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && current_.X >= fixedCols_ &&
           current_.Y >= fixedRows_ && current_.X < colCount_ && current_.Y < rowCount_;
}

TInplaceEdit *TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    editorMode_ = true;
    UpdateEdit();
}

void TCustomGrid::UpdateEdit()
{
    if (!editorMode_)
        return;
    if (!CanEditShow()) {
        closeEditor(true);
        return;
    }
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->grid_ = this;
        FInplaceEdit->SetParent(this);
    }
    const bool fresh = !(editCell_ == current_);
    if (fresh) {
        if (editCell_.X >= 0)
            commitEdit();
        editCell_ = current_;
        FInplaceEdit->UpdateContents();
    }
    FInplaceEdit->UpdateLoc(CellRect(editCell_.X, editCell_.Y));
    if (fresh && Focused() && FInplaceEdit->Widget()->isVisible())
        FInplaceEdit->SetFocus();
}

void TCustomGrid::InvalidateEditor()
{
    if (editorMode_ && FInplaceEdit && editCell_.X >= 0) {
        FInplaceEdit->UpdateContents();
        FInplaceEdit->UpdateLoc(CellRect(editCell_.X, editCell_.Y));
    }
}

void TCustomGrid::commitEdit()
{
    if (FInplaceEdit && editCell_.X >= 0 && CanEditModify())
        SetEditText(editCell_.X, editCell_.Y, FInplaceEdit->Text());
}

void TCustomGrid::closeEditor(bool Write)
{
    if (!editorMode_)
        return;
    editorMode_ = false;
    if (!FInplaceEdit || editCell_.X < 0)
        return;
    const bool hadFocus = FInplaceEdit->Focused();
    // Hide first: a write may raise, and the editor must not stay open over a stale cell.
    FInplaceEdit->SetVisible(false);
    const TGridCoord cell = editCell_;
    editCell_ = {-1, -1};
    if (hadFocus && CanFocus())
        SetFocus();
    InvalidateCell(cell.X, cell.Y);
    if (Write && CanEditModify())
        SetEditText(cell.X, cell.Y, FInplaceEdit->Text());
}

void TCustomGrid::HideEditor()
{
    closeEditor(true);
}
