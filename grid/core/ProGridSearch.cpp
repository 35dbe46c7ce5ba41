// Finding cells by text or filter expression, replacing text, the sorted-column prefix search and
// the search footer's answers to its panel.
#include "grid/core/ProGrid.h"
#include "framework/controls/SysMetrics.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"

// ---------------------------------------------------------------------------------------------
// The cell test

bool TProStringGrid::CellMatches(int ACol, int ARow, bool Wide)
{
    const TFindParams &p = FFindParams;
    const int col = p.Contains(fnIncludeHiddenColumns) ? ACol : RealColIndex(ACol);
    const bool matchCase = p.Contains(fnMatchCase);
    QString text = p.Contains(fnIncludeHiddenRows) ? GetCellsEx(col, ARow) : GetCellEx(col, ARow);
    if (!Wide && p.Contains(fnIgnoreHTMLTags))
        text = StripHTMLText(text);
    const QString &search = Wide ? SearchCacheWide : SearchCache;
    if (search == QLatin1String("\"\""))
        return text.isEmpty();
    if (p.Contains(fnMatchRegular))
        return MatchFilterExpression(SearchCache, text, matchCase);
    if (!matchCase)
        text = Wide ? text.toUpper() : AnsiUpperCase(text);
    const int pos = Wide ? WidePos(search, text) : int(text.indexOf(search)) + 1;
    const bool found = p.Contains(fnMatchStart) ? pos == 1 : pos > 0;
    const bool full = !p.Contains(fnMatchFull) || text == search;
    return found && full;
}

// ---------------------------------------------------------------------------------------------
// Finding

TPoint TProStringGrid::DoFind(TPoint StartCell, const QString &s, TFindParams P, bool Wide)
{
    if (Wide)
        SearchCacheWide = P.Contains(fnMatchCase) ? s : s.toUpper();
    else
        SearchCache = P.Contains(fnMatchCase) ? s : AnsiUpperCase(s);
    FFindParams = P;
    SetFindBusy(true);
    TPoint result(-1, -1);
    ExportNotification(esExportStart, -1);
    auto none = [&] {
        SetFindBusy(false);
        ExportNotification(esExportDone, -1);
        return result;
    };
    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() + NumHiddenRows() == FixedRows() || RowCount() == 0)
        return none();

    int c1, c2, r1, r2;
    if (P.Contains(fnIncludeFixed)) {
        c1 = 0, c2 = ColCount() - 1, r1 = 0, r2 = RowCount() - 1;
    } else {
        c1 = FixedCols(), c2 = ColCount() - FixedRightCols() - 1;
        r1 = FixedRows(), r2 = RowCount() - FixedFooters() - 1;
    }
    if (P.Contains(fnSelectedCells)) {
        const TGridRect sel = Selection();
        c1 = std::min(sel.Left, sel.Right), c2 = std::max(sel.Left, sel.Right);
        r1 = std::min(sel.Top, sel.Bottom), r2 = std::max(sel.Top, sel.Bottom);
    }
    if (P.Contains(fnIncludeHiddenColumns))
        c2 += NumHiddenColumns();
    if (P.Contains(fnIncludeHiddenRows))
        r2 += NumHiddenRows();
    // A single row or column narrows the area before the start is placed, so that a step past
    // its end leaves the area instead of starting it over.
    if (P.Contains(fnFindInCurrentRow))
        r1 = r2 = Row();
    else if (P.Contains(fnFindInPresetRow))
        r1 = r2 = FFindRow;
    if (P.Contains(fnFindInCurrentCol))
        c1 = c2 = Col();
    else if (P.Contains(fnFindInPresetCol))
        c1 = c2 = FFindCol;

    const bool back = P.Contains(fnBackward), byRow = P.Contains(fnDirectionLeftRight);
    const int dir = back ? -1 : 1;
    const int firstC = back ? c2 : c1, firstR = back ? r2 : r1;
    int c = firstC, r = firstR;
    if (StartCell.X != -1 || StartCell.Y != -1) {
        c = StartCell.X, r = StartCell.Y;
        if (byRow) {
            if (r < r1 || r > r2)
                r = firstR, c = firstC;
            else if ((c += dir) < c1 || c > c2)
                r += dir, c = firstC;
        } else {
            if (c < c1 || c > c2)
                c = firstC, r = firstR;
            else if ((r += dir) < r1 || r > r2)
                c += dir, r = firstR;
        }
    }

    auto hit = [&](int hc, int hr) {
        FSearchCell = TPoint(hc, hr);
        result = FSearchCell;
        ExportNotification(esExportFail, -1);
        if (!P.Contains(fnAutoGoto))
            return;
        if (P.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0 && IsHiddenRow(hr)) {
            for (int nr = FixedRows(); nr < hr; ++nr) {
                TCellGraphic *g = NodeGraphicAt(nr);
                if (!g)
                    continue;
                const int end = NodeEndRow(nr);
                if (hr < end && g->CellBoolean() && !IsHiddenRow(nr)) {
                    ExpandNode(nr);
                    break;
                }
            }
        }
        const int target = P.Contains(fnIncludeHiddenRows) ? DisplRowIndex(hr) : hr;
        const int targetCol = P.Contains(fnIncludeHiddenColumns) ? DisplColIndex(hc) : hc;
        if (FMouseActions->DisjunctRowSelect()) {
            ClearRowSelect();
            SetRowSelect(target, true);
            SetRow(target);
        } else {
            SetRow(target);
            SetCol(targetCol);
        }
    };

    if (byRow) {
        for (; r >= r1 && r <= r2; r += dir, c = firstC) {
            for (; c >= c1 && c <= c2; c += dir) {
                ExportNotification(esExportNewRow, r);
                if (IsIgnoredColumn(c))
                    continue;
                if (CellMatches(c, r, Wide)) {
                    hit(c, r);
                    return result;
                }
            }
        }
    } else {
        for (; c >= c1 && c <= c2; c += dir, r = firstR) {
            for (; r >= r1 && r <= r2; r += dir) {
                ExportNotification(esExportNewRow, r);
                if (CellMatches(c, r, Wide)) {
                    hit(c, r);
                    return result;
                }
            }
        }
    }
    return none();
}

TPoint TProStringGrid::Find(TPoint StartCell, const QString &s, TFindParams FindParams)
{
    const TPoint res = DoFind(StartCell, s, FindParams, false);
    if (res.X >= 0 && FindParams.Contains(fnAutoGoto)) {
        const int k = FFloatingFooter->Visible() ? 2 : 0;
        const int vis = VisibleRowCount();
        if (Row() > TopRow() + vis - 2 - k && vis + FixedRows() + k < RowCount())
            SetTopRow(std::min(TopRow() + k + 1, RowCount() - 1));
    }
    return res;
}

TPoint TProStringGrid::FindWide(TPoint StartCell, const QString &s, TFindParams FindParams)
{
    return DoFind(StartCell, s, FindParams, true);
}

TPoint TProStringGrid::FindFirst(const QString &s, TFindParams FindParams)
{
    FSearchCell = Find(TPoint(-1, -1), s, FindParams);
    return FSearchCell;
}

TPoint TProStringGrid::FindNext()
{
    // The cached text is already upper-cased when case does not matter; upper-casing it again
    // changes nothing.
    FSearchCell = Find(FSearchCell, SearchCache, FFindParams);
    return FSearchCell;
}

int TProStringGrid::Replace(const QString &OrigStr, const QString &NewStr, TFindParams FindParams)
{
    if (OrigStr.isEmpty())
        return 0;
    const Qt::CaseSensitivity cs = FindParams.Contains(fnMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    int count = 0;
    TPoint at(-1, -1);
    for (;;) {
        at = Find(at, OrigStr, FindParams);
        if (at.X < 0)
            break;
        // The stored text is rewritten: what a display hook adds must not end up in the cell.
        const int col = FindParams.Contains(fnIncludeHiddenColumns) ? at.X : RealColIndex(at.X);
        const bool hiddenRows = FindParams.Contains(fnIncludeHiddenRows);
        const TPoint base = hiddenRows ? TPoint(col, at.Y) : BaseCell(col, at.Y);
        QString text = hiddenRows ? GetGridCellsEx(base.X, base.Y) : GetGridCell(base.X, base.Y);
        const QString old = text;
        text.replace(OrigStr, NewStr, cs);
        // A hit found only in the displayed or tag-free text leaves the cell as it is.
        if (text == old)
            continue;
        if (hiddenRows)
            SetCellsEx(base.X, base.Y, text);
        else
            SetCellEx(base.X, base.Y, text);
        if (FShowModified->Enabled())
            SetRowModified(hiddenRows ? DisplRowIndex(at.Y) : at.Y, true);
        ++count;
    }
    return count;
}

int TProStringGrid::Search(const QString &s)
{
    if (RowCount() < 2)
        return -1;
    int col = FixedCols();
    const TSortSettings *ss = FSortSettings.get();
    if (ss->Show()) {
        if (ss->IndexShow())
            col = FSortIndexes->Count() > 0 ? FSortIndexes->GetSortColumns(0) : FixedCols();
        else
            col = ss->Column();
    }
    if (col < 0)
        return -1;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (AnsiUpperCase(GetStrippedCell(col, r).left(s.size())) == s)
            return r;
    return -1;
}

void TProStringGrid::FixedEditChanged(const QString &Text)
{
    if (OnEditChange)
        OnEditChange(this, FFixedColEdit, FFixedRowEdit, Text);
}

// ---------------------------------------------------------------------------------------------
// The search footer

TFindParams TProStringGrid::FooterParams(bool Backward)
{
    TFindParams p{fnAutoGoto};
    const TSearchFooter *sf = FSearchFooter.get();
    if (Backward)
        p.Include(fnBackward);
    if (FSearchPanel->HiliteButton()->Down())
        p.Include(fnIgnoreHTMLTags);
    if (FSearchPanel->MatchCase()->Checked())
        p.Include(fnMatchCase);
    if (sf->SearchActiveColumnOnly())
        p.Include(fnFindInCurrentCol);
    if (sf->SearchMatchStart())
        p.Include(fnMatchStart);
    if (sf->SearchColumn() >= 0 && sf->SearchColumn() < ColCount()) {
        p.Include(fnFindInPresetCol);
        FFindCol = sf->SearchColumn();
    }
    return p;
}

void TProStringGrid::RemoveFooterHighlight()
{
    const int sc = FSearchFooter->SearchColumn();
    if (sc != -1)
        UnHilightInCol(false, sc);
    else
        UnHilightInGrid(false);
}

void TProStringGrid::ApplyFooterHighlight(const QString &Text, bool MatchCase)
{
    const int sc = FSearchFooter->SearchColumn();
    if (sc != -1)
        HilightInCol(false, MatchCase, sc, Text);
    else
        HilightInGrid(false, MatchCase, Text);
}

void TProStringGrid::NudgeSearchEdit()
{
    TRetEdit *e = FSearchPanel->EditControl();
    e->SetWidth(e->Width() + 1);
    e->SetWidth(e->Width() - 1);
}

void TProStringGrid::SearchEditChanged(TObject *)
{
    if (!FSearchPanel)
        return;
    TRetEdit *edit = FSearchPanel->EditControl();
    const QString text = edit->Text();
    bool defaultSearch = true;
    if (OnSearchEditChange)
        OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->AutoSearch())
        return;
    const TSearchFooter *sf = FSearchFooter.get();
    TFindParams p = FooterParams(false);
    if (sf->SearchFixedCells())
        p.Include(fnIncludeFixed);
    if (sf->SearchHiddenRows())
        p.Include(fnIncludeHiddenRows);
    if (sf->SearchDirection() == sdLeftRight)
        p.Include(fnDirectionLeftRight);
    const bool hilite = FSearchPanel->HiliteButton()->Down();
    if (!text.isEmpty()) {
        if (hilite)
            RemoveFooterHighlight();
        FSearchCell = Find(TPoint(-1, -1), text, p);
        SearchFooterAction(text, FSearchCell.X, FSearchCell.Y, saFindFirst);
        if (FSearchCell.X < 0) {
            edit->SetColor(clRed);
        } else {
            edit->SetColor(clWindow);
            ScrollInView(FSearchCell.X, FSearchCell.Y);
            if (hilite || sf->AlwaysHighLight())
                ApplyFooterHighlight(text, FSearchPanel->MatchCase()->Checked());
        }
    } else {
        edit->SetColor(clWindow);
        if (hilite)
            RemoveFooterHighlight();
    }
    NudgeSearchEdit();
}

void TProStringGrid::SearchFooterFindPrev(TObject *)
{
    if (!FSearchPanel)
        return;
    const QString text = FSearchPanel->EditControl()->Text();
    if (!FSearchFooter->AutoSearch() && text != FSearchFooter->FLastSearch) {
        FSearchCell = TPoint(-1, -1);
        FSearchFooter->FLastSearch = text;
    }
    FSearchCell = Find(FSearchCell, text, FooterParams(true));
    const int k = FFloatingFooter->Visible() ? 1 : 0;
    const int vis = VisibleRowCount();
    if (Row() > TopRow() + vis - 2 - k && vis + FixedRows() + k < RowCount())
        SetTopRow(std::min(TopRow() + 2, RowCount() - 1));
    if (FSearchCell.X >= 0)
        ScrollInView(FSearchCell.X, FSearchCell.Y);
    SearchFooterAction(text, FSearchCell.X, FSearchCell.Y, saFindPrevious);
    FSearchPanel->Invalidate();
}

void TProStringGrid::SearchFooterFindNext(TObject *)
{
    if (!FSearchPanel)
        return;
    const QString text = FSearchPanel->EditControl()->Text();
    if (!FSearchFooter->AutoSearch() && text != FSearchFooter->FLastSearch) {
        FSearchCell = TPoint(-1, -1);
        FSearchFooter->FLastSearch = text;
    }
    TFindParams p = FooterParams(false);
    if (FSearchFooter->SearchDirection() == sdLeftRight)
        p.Include(fnDirectionLeftRight);
    FSearchCell = Find(FSearchCell, text, p);
    if (FSearchCell.X >= 0)
        ScrollInView(FSearchCell.X, FSearchCell.Y);
    const int k = FFloatingFooter->Visible() ? 1 : 0;
    const int vis = VisibleRowCount();
    if (Row() > TopRow() + vis - 2 - k && vis + FixedRows() + k < RowCount())
        SetTopRow(std::min(TopRow() + 2, RowCount() - 1));
    SearchFooterAction(text, FSearchCell.X, FSearchCell.Y, saFindNext);
    FSearchPanel->Invalidate();
}

void TProStringGrid::CloseSearchFooter(TObject *)
{
    if (OnSearchFooterClose)
        OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TProStringGrid::SearchFooterHighlight(TObject *)
{
    if (!FSearchPanel)
        return;
    if (FSearchPanel->HiliteButton()->Down())
        ApplyFooterHighlight(FSearchPanel->EditControl()->Text(), FSearchPanel->MatchCase()->Checked());
    else
        RemoveFooterHighlight();
}

void TProStringGrid::SyncSearchPanel()
{
    if (IsLoading() || !FSearchPanel)
        return;
    TSearchPanel *sp = FSearchPanel;
    const TSearchFooter *sf = FSearchFooter.get();
    if ((sp->HiliteButton()->Down() && sp->Visible() && !sf->Visible()) || sf->AlwaysHighLight())
        UnHilightInGrid(false);
    sp->SetColor(sf->Color());
    sp->SetColorTo(sf->ColorTo());
    sp->Font()->Assign(sf->Font());
    sp->FindNextCaption = sf->FindNextCaption();
    sp->FindPrevCaption = sf->FindPrevCaption();
    sp->MatchCaseCaption = sf->MatchCaseCaption();
    sp->HighLightCaption = sf->HighLightCaption();
    sp->HintFindNext = sf->HintFindNext();
    sp->HintFindPrev = sf->HintFindPrev();
    sp->HintClose = sf->HintClose();
    sp->HintHighlight = sf->HintHighlight();
    sp->ForwardButton()->SetCaption(sf->FindNextCaption());
    sp->BackwardButton()->SetCaption(sf->FindPrevCaption());
    sp->HiliteButton()->SetCaption(sf->HighLightCaption());
    sp->MatchCase()->SetCaption(sf->MatchCaseCaption());
    const std::pair<TProGridButton *, QString> hints[] = {{sp->ForwardButton(), sf->HintFindNext()},
                                                          {sp->BackwardButton(), sf->HintFindPrev()},
                                                          {sp->ExitButton(), sf->HintClose()},
                                                          {sp->HiliteButton(), sf->HintHighlight()}};
    for (const auto &[b, h] : hints) {
        b->SetHint(h);
        b->SetShowHint(!h.isEmpty());
    }
    TProGridButton *three[] = {sp->ForwardButton(), sp->BackwardButton(), sp->HiliteButton()};
    for (TProGridButton *b : three) {
        switch (FControlLook->ControlStyle()) {
        case csFlat:
            b->SetFlat(true);
            break;
        case csWinXP:
        case csTheme:
            if (!sf->AutoThemeAdapt()) {
                b->SetAutoXPStyle(true);
                b->SetFlat(false);
            }
            break;
        default:
            break;
        }
        if (sf->AutoThemeAdapt()) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        }
    }
    sp->HiliteButton()->SetVisible(sf->ShowHighLight());
    sp->ExitButton()->SetVisible(sf->ShowClose());
    sp->MatchCase()->SetVisible(sf->ShowMatchCase());
    sp->MatchCase()->SetTransparent(true);
    sp->BackwardButton()->SetVisible(sf->ShowFindPrev());
    sp->ForwardButton()->SetVisible(sf->ShowFindNext());
    for (TProGridButton *b : three)
        b->SetHeight(b->Visible() ? 23 : 0);
    sp->MatchCase()->SetHeight(sf->ShowMatchCase() ? 18 : 0);
    sp->SetVisible(sf->Visible());
    sp->SetHeight(sf->Visible() ? 32 : 0);
    sp->Arrange();
    if (sf->Visible())
        ScrollLastRowAboveSearchFooter();
}

void TProStringGrid::CMDialogChar(TMessage &Message)
{
    Message.Result = 0;
    if (!FSearchFooter->Visible() || !FSearchPanel)
        return;
    const WPARAM key = Message.WParam;
    auto takes = [&](TProGridButton *b) {
        return b->Visible() && b->Enabled() && SearchCaptionAccel(key, b->Caption());
    };
    if (takes(FSearchPanel->ForwardButton()))
        SearchFooterFindNext(FSearchPanel);
    else if (takes(FSearchPanel->BackwardButton()))
        SearchFooterFindPrev(FSearchPanel);
    else if (takes(FSearchPanel->HiliteButton()))
        SearchFooterHighlight(FSearchPanel);
    else
        return;
    Message.Result = 1;
}

void TProStringGrid::WireSearchPanel()
{
    TSearchPanel *sp = FSearchPanel;
    sp->OnEditChange = [this](TObject *Sender) { SearchEditChanged(Sender); };
    sp->OnForwardClick = [this](TObject *Sender) { SearchFooterFindNext(Sender); };
    sp->OnBackwardClick = [this](TObject *Sender) { SearchFooterFindPrev(Sender); };
    sp->OnExitClick = [this](TObject *Sender) { CloseSearchFooter(Sender); };
    sp->OnHighlightClick = [this](TObject *Sender) { SearchFooterHighlight(Sender); };
    FSearchFooter->OnChange = [this](TObject *) {
        if (FWndCreated)
            SyncSearchPanel();
    };
}
