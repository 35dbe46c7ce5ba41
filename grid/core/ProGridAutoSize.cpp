// Text measuring and sizing columns and rows to their contents.
#include "grid/core/ProGrid.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/RichText.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"
#include <cmath>

namespace {

// Nearest integer, halves to the even neighbour.
int RoundEven(double v) { return int(std::nearbyint(v)); }

// The boxes sit beside their text: the row needs the default height, not text and box stacked.
// AddCheckBox makes three-state boxes, so they count as well.
bool IsCheckGraphic(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRadioButton ||
           t == ctTriStateCheckBox;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Measuring

TSize TProStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB)
{
    const int D = DisplColIndex(ACol);
    QString s = GetFormattedCell(ACol, ARow);
    const int kind = CellTextKind(s, EnableHTML());
    TCanvas *C = Canvas();
    TGridDrawState st;
    GetFontProperties(D, ACol, ARow, st, C->Font(), C->Brush(), false);
    if (ZoomFactor() != 0)
        C->Font()->SetSize(C->Font()->Size() + ZoomFactor());
    if (kind == ctkFormula)
        GetFormulaText(ACol, ARow, s);

    // The cell's rectangle wherever it is scrolled: merged blocks span their columns and rows.
    int w = ColWidths(D), h = RowHeights(ARow);
    if (IsBaseCell(D, ARow)) {
        const TPoint span = CellSpan(D, ARow);
        for (int c = D + 1; c <= D + span.X && c < ColCount(); ++c)
            w += ColWidths(c);
        for (int r = ARow + 1; r <= ARow + span.Y && r < RowCount(); ++r)
            h += RowHeights(r);
    }
    TRect R(0, 0, w, h);
    if (XYOffsetTopLeftOnly()) {
        R.Left += FXYOffset.X;
        R.Top += FXYOffset.Y;
    } else {
        InflateRect(R, -FXYOffset.X, -FXYOffset.Y);
    }
    if (SB)
        R.Right -= 17;

    if (kind == ctkHTML) {
        R.Bottom = 0xFFFF;
        if (!VS)
            R.Right = 0xFFFF;
        QString anchor, strip, focusAnchor, title, controlID, controlValue, controlType;
        int xs = 0, ys = 0, links = 0, mouseLink = -1;
        TRect hoverRect, controlRect;
        DrawHTMLText(C, s, R, FGridImages, 0, 0, -1, -1, 1, false, true, false, false, false, false, !EnhTextSize(),
                     false, 1.0, FURLColor, clNone, clNone, 0x808080, anchor, strip, focusAnchor, title, xs, ys, links,
                     mouseLink, hoverRect, controlRect, controlID, controlValue, controlType, FImageCache.get(),
                     PictureContainer(), 0, BiDiMode());
        return TSize{xs + 2, ys + 2};
    }

    const bool designing = ComponentState().Contains(csDesigning);
    TRichText runs;
    bool rich = false;
    if (kind == ctkRichText && !designing) {
        try {
            runs = RTFToRichText(s.toLatin1());
            rich = true;
            if (!runs.empty()) {
                const TRichRun &f = runs.front();
                if (!f.FontName.isEmpty())
                    C->Font()->SetName(f.FontName);
                if (f.FontSize > 0)
                    C->Font()->SetSize(f.FontSize);
                C->Font()->SetStyle(f.Style);
            }
            s = RichTextPlain(runs);
        } catch (const ERichTextError &) {
            rich = false;
        }
    }

    int angle = 0;
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    const bool rotated = g && g->CellType() == ctRotated;
    if (rotated)
        angle = g->CellAngle();

    TSize sz;
    if (VS) {
        InflateRect(R, -2, -2);
        QString t = s;
        if (EditorMode() && Col() == D && Row() == ARow && t.endsWith(QChar('\n')))
            t += QChar('w');
        TRect M = R;
        const uint32_t flags = rotated ? (DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL)
                                       : (DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
        C->DrawText(t, M, flags);
        sz.cy = M.Bottom - M.Top;
        sz.cx = R.Right - R.Left;
    } else {
        // The line height of the font comes with any text's extent ("gh" included).
        const bool strip = kind == ctkPlain && URLShow() && !URLFull();
        int widest = 0, lineH = 0, count = 0;
        auto measure = [&](QString l) {
            if (strip)
                StripURLScheme(l);
            const TSize e = C->TextExtent(l);
            widest = std::max(widest, int(e.cx));
            lineH = e.cy;
            ++count;
        };
        const qsizetype cr = s.indexOf(QChar('\r'));
        if (cr < 0) {
            measure(s);
        } else if (!MultilineCells()) {
            measure(s.left(cr));
        } else {
            qsizetype start = 0;
            for (qsizetype i = 0; i < s.size(); ++i) {
                if (s[i] == QChar('\r')) {
                    measure(s.mid(start, i - start));
                    if (i + 1 < s.size() && s[i + 1] == QChar('\n'))
                        ++i;
                    start = i + 1;
                }
            }
            measure(s.mid(start));
        }
        sz.cx = widest;
        sz.cy = count * lineH;
    }

    if (rotated) {
        // Both projections of the text add up; their difference would clip a slanted text.
        const double a = angle * M_PI / 180.0;
        const int w0 = sz.cx, h0 = sz.cy;
        sz.cx = std::abs(int(std::lround(h0 * std::sin(a)))) + std::abs(int(std::lround(w0 * std::cos(a)))) + 12;
        sz.cy = std::abs(int(std::lround(h0 * std::cos(a)))) + std::abs(int(std::lround(w0 * std::sin(a)))) + 12;
    }

    if (rich)
        sz = RichTextExtent(C, runs, WordWrap() ? R.Right - R.Left : 0);
    return sz;
}

// ---------------------------------------------------------------------------------------------
// Columns

void TProStringGrid::SizeColumnToContents(int ACol, bool GrowOnly)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    int first = 0, last = RowCount() - 1;
    switch (FColumnSize->Rows()) {
    case arNormal:
        first = FixedRows();
        last = RowCount() - FFixedFooters - 1;
        break;
    case arFixed:
        last = FixedRows() - 1;
        break;
    default:
        break;
    }
    const int rc = RealColIndex(ACol);
    const int glw = GridLineWidth();
    const bool dropDowns = FControlLook->DropDownAlwaysVisible();
    const bool sortMark = FSortSettings->Show() && ACol == FSortSettings->Column();
    int widest = 0;
    for (int r = first; r <= last; ++r) {
        if (IsXMergedCell(ACol, r))
            continue;
        const TPoint gs = GetCellGraphicSize(rc, r);
        int w;
        const TCellGraphic *g = GetCellGraphic(rc, r);
        if (g && g->CellHAlign() == haFull) {
            w = gs.X - (2 * glw + 2 + FXYOffset.X);
        } else {
            w = gs.X + GetCellTextSize(rc, r, false, false).cx;
            if (dropDowns && HasComboBox(ACol, r))
                w += 16;
            if (FFilterDropDownAuto && r == FilterDropDownRow() && GetColumnFilter(ACol))
                w += 12;
            if (sortMark && r == FSortSettings->Row())
                w += 10;
        }
        widest = std::max(widest, w);
    }
    int width = widest + HorzOffsetTotal() + 2 * (glw + 1);
    if (!GrowOnly || ColWidths(ACol) < width) {
        UpdateColumnSize(ACol, width);
        SetColWidths(ACol, ClampSize(width, MinColWidth(), MaxColWidth()));
    }
}

void TProStringGrid::AutoSizeCol(int ACol, int Padding)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    SizeColumnToContents(ACol, SizeGrowOnly());
    if (Padding != 0)
        SetColWidths(ACol, ClampSize(ColWidths(ACol) + Padding, MinColWidth(), MaxColWidth()));
}

void TProStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const int first = DoFixedCols ? 0 : FixedCols();
    const int last = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (int c = first; c <= last; ++c)
        AutoSizeCol(c, Padding);
}

void TProStringGrid::SetAutoSize(bool v)
{
    FAutoSize = v;
    if (v && !IsLoading())
        AutoSizeColumns(false, 10);
}

// ---------------------------------------------------------------------------------------------
// Rows

void TProStringGrid::SetMeasureFont(int ACol, int ARow)
{
    TCanvas *C = Canvas();
    const bool fixed = ARow < FixedRows() || ACol < FixedCols();
    AssignFontIfDifferent(C->Font(), fixed ? FFixedFont.get() : Font());
    TGridDrawState st;
    GetCellColor(ACol, ARow, st, C->Brush(), C->Font());
    if (ZoomFactor() != 0)
        C->Font()->SetSize(C->Font()->Size() + ZoomFactor());
}

void TProStringGrid::SizeRowToContents(int ARow, bool GrowOnly)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    const bool rowsFitBefore = VisibleRowCount() + FixedRows() >= RowCount();
    int highest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        if (IsYMergedCell(c, ARow) || IsIgnoredColumn(c))
            continue;
        SetMeasureFont(c, ARow);
        const int r = RealColIndex(c);
        int th = GetCellTextSize(r, ARow, WordWrap(), false).cy;
        int gh = GetCellGraphicSize(r, ARow).Y;
        const TCellGraphic *g = GetCellGraphic(r, ARow);
        if (g && g->CellVAlign() == vaFull)
            gh = GetCellEx(r, ARow).isEmpty() ? DefaultRowHeight() : 0;
        if (g && (g->CellType() == ctDataCheckBox || g->CellType() == ctVirtCheckBox) && gh > 0)
            th = 0;
        int h = th + gh;
        if (IsMergedNonBaseCell(c, ARow))
            h = 0;
        if (g && IsCheckGraphic(g->CellType()))
            h = DefaultRowHeight();
        highest = std::max(highest, h);
    }
    int height = highest + VertOffsetTotal() + 2 * GridLineWidth();
    if (XYOffsetTopLeftOnly())
        height += 2;
    if (!GrowOnly || RowHeights(ARow) < height)
        SetRowHeights(ARow, ClampSize(height, MinRowHeight(), MaxRowHeight()));
    if (EditorMode() && FSizeWhileTyping->Height() && rowsFitBefore && VisibleRowCount() + FixedRows() < RowCount()) {
        ShowInplaceEdit();
        if (TInplaceEdit *e = InplaceEditor()) {
            e->SetSelStart(e->Text().size());
            e->SetSelLength(0);
        }
    }
}

void TProStringGrid::SizeRowToLines(int ARow, int Lines, int Extra)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    TCanvas *C = Canvas();
    AssignFontIfDifferent(C->Font(), Font());
    TGridDrawState st;
    GetCellColor(FixedCols(), ARow, st, C->Brush(), C->Font());
    const int h = C->TextHeight(QStringLiteral("gh"));
    SetRowHeights(ARow, ClampSize(Extra + Lines * (h + h / 8), MinRowHeight(), MaxRowHeight()));
}

int TProStringGrid::MaxRowLines(int ARow)
{
    if (!MultilineCells())
        return 1;
    int most = 1;
    for (int c = 0; c < ColCount(); ++c)
        most = std::max<int>(most, CountTextLines(GetCellEx(RealColIndex(c), ARow), true));
    return most;
}

void TProStringGrid::AutoSizeRow(int ARow, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    SizeRowToContents(ARow, SizeGrowOnly());
    if (Padding != 0)
        SetRowHeights(ARow, ClampSize(RowHeights(ARow) + Padding, MinRowHeight(), MaxRowHeight()));
}

void TProStringGrid::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (RowCount() == 0)
        return;
    const int first = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, first);
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (WordWrap())
            AutoSizeRow(r, Padding);
        else
            SizeRowToLines(r, MaxRowLines(r), Padding);
    }
    UpdateScrollBarAlways(true);
    ExportNotification(esExportDone, -1);
}

// ---------------------------------------------------------------------------------------------
// Cells, fitting and the grid's size

void TProStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    TGridUpdateLock lock(this);
    const int c0 = DoFixedCells ? 0 : FixedCols();
    const int r0 = DoFixedCells ? 0 : FixedRows();
    for (int c = c0; c < ColCount(); ++c) {
        int cw = SizeGrowOnly() ? ColWidths(c) : 0;
        const int rc = RealColIndex(c);
        for (int r = r0; r < RowCount(); ++r) {
            SetMeasureFont(c, r);
            const TPoint gs = GetCellGraphicSize(rc, r);
            const TSize ts = GetCellTextSize(rc, r, false, false);
            int width = ts.cx + gs.X + PaddingX + FXYOffset.X;
            const int height = ts.cy + gs.Y + PaddingY + FXYOffset.Y;
            if (!IsXMergedCell(c, r) && width > cw) {
                width = ClampSize(width, MinColWidth(), MaxColWidth());
                if (width > cw) {
                    SetColWidths(c, width);
                    cw = width;
                }
            }
            if (!IsYMergedCell(c, r) && height > RowHeights(r)) {
                const int hh = ClampSize(height, MinRowHeight(), MaxRowHeight());
                if (hh > RowHeights(r))
                    SetRowHeights(r, hh);
            }
        }
    }
}

void TProStringGrid::AutoFitColumns(bool DoFixedCells)
{
    const bool rowsOver = VisibleRowCount() + FixedRows() < RowCount();
    const int V = (FScrollBarAlways == saVert || (FScrollBars != ssNone && rowsOver)) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int B = BorderStyle() == bsSingle ? (Ctl3D() ? 4 : 2) : 0;
    int first = 0, last = ColCount() - 1;
    int W = Width();
    if (!DoFixedCells) {
        first = FixedCols();
        last = ColCount() - FFixedRightCols - 1;
        for (int c = 0; c < FixedCols(); ++c)
            W -= ColWidths(c);
        for (int c = ColCount() - FFixedRightCols; c < ColCount(); ++c)
            W -= ColWidths(c);
    }
    int L = Options().Contains(goVertLine) ? GridLineWidth() * (ColCount() - FixedCols() - FFixedRightCols) : 0;
    if (Options().Contains(goFixedVertLine) && DoFixedCells)
        L += FixedCols() + FFixedRightCols;

    if (ColCount() < 2) {
        if (ColCount() == 1)
            SetColWidths(0, W - V - 5);
        return;
    }
    if (last < first)
        return;
    long long S = 0;
    for (int c = first; c <= last; ++c)
        S += ColWidths(c);
    const int target = W - V - B;
    if (S == target || S == 0)
        return;
    const double e = double(target - L) / double(S);
    long long T = 0;
    for (int c = first; c <= last; ++c)
        T += RoundEven(e * ColWidths(c));
    std::vector<int> widths;
    for (int c = first; c <= last; ++c)
        widths.push_back(RoundEven(double(ColWidths(c)) * double(T) / double(S)));
    TGridUpdateLock lock(this);
    long long sum = 0;
    for (int c = first; c <= last; ++c) {
        SetColWidths(c, std::max(0, widths[size_t(c - first)]));
        sum += ColWidths(c);
    }
    long long X = target - sum;
    const int n = last - first + 1;
    if (X > n && n > 1) {
        const long long each = X / n;
        for (int c = first; c <= last; ++c)
            SetColWidths(c, ColWidths(c) + int(each));
        X %= n;
    }
    int widest = first;
    for (int c = first; c <= last; ++c)
        if (ColWidths(c) > ColWidths(widest))
            widest = c;
    SetColWidths(widest, std::max(0, ColWidths(widest) + int(X)));
}

void TProStringGrid::SizeToCols()
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths(c);
    SetClientWidth(w);
}

void TProStringGrid::SizeToRows()
{
    int h = 0;
    for (int r = 0; r < RowCount(); ++r)
        h += RowHeights(r);
    SetClientHeight(h);
}

void TProStringGrid::SizeToCells()
{
    const TScrollStyle old = FScrollBars;
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(old);
}
