// Copying, cutting and pasting cells through the system clipboard, and the smart paste.
#include "grid/core/ProGrid.h"
#include "grid/core/ProGridBin.h"
#include "grid/core/ProGridUndo.h"
#include "framework/graphics/RichText.h"
#include "framework/os/Clipbrd.h"
#include "framework/rtl/ComponentStream.h"
#include "framework/rtl/Streams.h"
#include <cmath>
#include <vector>

namespace {

const QChar kTab(9), kCR(13), kLF(10), kVT(11), kQuote('"');

TClipboardFormat RichTextFormat()
{
    static const TClipboardFormat f = RegisterClipboardFormat(QStringLiteral("Rich Text Format"));
    return f;
}

TClipboardFormat GridCellsFormat()
{
    InitializeGridUnit();
    return CF_GRIDCELLS;
}


// A quoted field's content: its line breaks CR LF again; without any, a VT marks a line break as
// the spreadsheet form writes it.
QString UnquotedContent(QString s)
{
    if (HasLineBreak(s)) {
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        s.replace(kCR, kLF);
        s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    } else if (s.contains(kVT)) {
        VTToLineBreaks(s);
    }
    return s;
}

// Clipboard text as lines of fields. Lines end at CR, CR LF or a lone LF (as programs of other
// systems write them); a text ending in a line break has no further, empty line. A field that
// begins with a double quote and closes it right before a TAB, a line end or the end of the text
// is one quoted field: its doubled quotes are single again, and the TABs and breaks inside belong
// to the cell.
std::vector<QStringList> SplitClipboardText(const QString &Text)
{
    std::vector<QStringList> lines;
    const qsizetype n = Text.size();
    qsizetype i = 0;
    if (n == 0)
        return lines;
    while (true) {
        QStringList fields;
        while (true) {
            bool quoted = false;
            if (i < n && Text[i] == kQuote) {
                QString buf;
                qsizetype j = i + 1, end = -1;
                while (j < n) {
                    const QChar ch = Text[j];
                    if (ch == kQuote) {
                        if (j + 1 < n && Text[j + 1] == kQuote) {
                            buf += kQuote;
                            j += 2;
                            continue;
                        }
                        const qsizetype k = j + 1;
                        if (k == n || Text[k] == kTab || Text[k] == kCR || Text[k] == kLF)
                            end = k;
                        break;
                    }
                    buf += ch;
                    ++j;
                }
                if (end >= 0) {
                    fields << UnquotedContent(buf);
                    i = end;
                    quoted = true;
                }
            }
            if (!quoted) {
                qsizetype k = i;
                while (k < n) {
                    const QChar ch = Text[k];
                    if (ch == kTab || ch == kCR || ch == kLF)
                        break;
                    ++k;
                }
                fields << Text.mid(i, k - i);
                i = k;
            }
            if (i < n && Text[i] == kTab) {
                ++i;
                continue;
            }
            break;
        }
        lines.push_back(std::move(fields));
        if (i >= n)
            break;
        if (Text[i] == kCR) {
            ++i;
            if (i < n && Text[i] == kLF)
                ++i;
        } else {
            ++i;
        }
        if (i >= n)
            break;
    }
    return lines;
}

// A cell's text as one clipboard field: quoted when it holds what would split it, or begins
// with the quote itself.
QString ClipboardField(QString v)
{
    if (HasLineBreak(v) || v.contains(kTab) || v.startsWith(kQuote)) {
        v = CRToLF(v);
        v.replace(kQuote, QStringLiteral("\"\""));
        v = kQuote + v + kQuote;
    }
    return v;
}

} // namespace

// ---- Copying -----------------------------------------------------------------------------------------

bool TProStringGrid::SelectionDisjunctRows() { return FMouseActions->DisjunctRowSelect() && RowSelectCount() > 0; }

bool TProStringGrid::SelectionDisjunctCols() { return FMouseActions->DisjunctColSelect() && ColSelectCount() > 0; }

QString TProStringGrid::ClipboardText(const TRect &Rect, bool Disjunct)
{
    const bool rowsOnly = Disjunct && SelectionDisjunctRows();
    const bool colsOnly = Disjunct && SelectionDisjunctCols();
    const bool withTags = FNavigation->CopyHTMLTagsToClipboard();
    const bool excel = ExcelClipboardFormat() && Multilinecells();
    const bool manyRows = Rect.Bottom > Rect.Top;
    QString text;
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        if (rowsOnly && !RowSelect(r))
            continue;
        ExportNotification(esExportNewRow, r);
        bool firstCol = true;
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            if (colsOnly && !ColSelect(c))
                continue;
            if (!firstCol)
                text += kTab;
            firstCol = false;
            const int rc = RealColIndex(c);
            QString v;
            SaveCell(rc, r, v);
            if (v.startsWith(QStringLiteral("|\\")))
                v = DecodeWideCellText(v);
            if (!withTags && v.contains(QStringLiteral("</"))) {
                v = GetStrippedCell(rc, r);
            } else if (v.contains(QStringLiteral("{\\"))) {
                try {
                    v = RichTextPlain(RTFToRichText(v.toLatin1()));
                } catch (const Exception &) {
                    // Text that only looks like rich text goes as it stands.
                }
            }
            if (excel && HasLineBreak(v))
                QuoteCSVMultiLine(v);
            else
                v = ClipboardField(v);
            text += v;
        }
        if (manyRows)
            text += QStringLiteral("\r\n");
    }
    return text;
}

void TProStringGrid::CopyRectToClipboard(const TRect &Rect, bool Disjunct)
{
    FClipTopLeft = TPoint(Rect.Left, Rect.Top);
    ExportNotification(esExportStart, -1);
    const QString text = ClipboardText(Rect, Disjunct);
    TClipboard *cb = Clipboard();
    cb->Open();
    try {
        cb->Clear();
        cb->SetAsText(text);
        if (FNavigation->AllowRTFClipboard() && Rect.Left >= 0 && Rect.Top >= 0) {
            const TPoint b = BaseCell(Rect.Left, Rect.Top);
            const QString rtf = GetCellEx(RealColIndex(b.X), b.Y);
            if (rtf.contains(QStringLiteral("{\\"))) {
                QByteArray bytes = rtf.toLatin1();
                bytes.append('\0');
                cb->SetAsHandle(RichTextFormat(), bytes);
            }
        }
        if (FNavigation->AllowFmtClipboard()) {
            // The block names this grid, so that a paste here knows where it came from.
            Handle();
            TMemoryStream ms;
            SaveRectToBinStream(Rect, &ms);
            cb->SetAsHandle(GridCellsFormat(), ms.Bytes());
        }
    } catch (...) {
        cb->Close();
        throw;
    }
    cb->Close();
    ExportNotification(esExportDone, -1);
}

void TProStringGrid::CopyToClipBoard()
{
    CopyRectToClipboard(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), false);
    FClipLastOp = coCopy;
}

void TProStringGrid::CopySelectionToClipboard()
{
    ExpandSelectionToMergedCells();
    const bool fmt = FNavigation->AllowFmtClipboard();
    if (SelectionDisjunctRows() && !fmt)
        CopyRectToClipboard(TRect(FixedCols(), SaveStartRow(), ColCount() - FixedRightCols() - 1, SaveEndRow()), true);
    else if (SelectionDisjunctCols() && !fmt)
        CopyRectToClipboard(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), true);
    else {
        const TGridRect s = Selection();
        CopyRectToClipboard(TRect(s.Left, s.Top, s.Right, s.Bottom), false);
    }
    FClipLastOp = coCopy;
}

void TProStringGrid::EmptyCutCell(int ACol, int ARow, bool WithProps)
{
    const int rc = RealColIndex(ACol);
    if (TProGridUndoRedo *u = UndoRedo())
        u->RegisterChange(rc, ARow, GetCellEx(rc, ARow), QString());
    SetCellEx(rc, ARow, QString());
    if (WithProps && HasCellProperties(rc, ARow) && !IsMergedCell(rc, ARow))
        FreeCellProperties(rc, ARow);
}

void TProStringGrid::CutToClipboard()
{
    CopyRectToClipboard(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), false);
    const bool always = FNavigation->AllowClipboardAlways();
    TGridUpdateLock lock(this);
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        bool cut = false;
        for (int c = SaveStartCol(); c <= SaveEndCol(); ++c) {
            if (always || IsEditable(c, r)) {
                SetCellEx(RealColIndex(c), r, QString());
                cut = true;
            }
        }
        if (cut && FShowModified->Enabled())
            SetRowModified(r, true);
    }
    FClipLastOp = coCut;
}

void TProStringGrid::CutSelectionToClipboard()
{
    const TGridRect before = Selection();
    CopySelectionToClipboard();
    const bool always = FNavigation->AllowClipboardAlways();
    {
        TGridUpdateLock lock(this);
        if (SelectionDisjunctRows()) {
            for (int r = FixedRows(); r < RowCount(); ++r)
                if (RowSelect(r)) {
                    ClearRows(r, 1);
                    if (FShowModified->Enabled())
                        SetRowModified(r, true);
                }
        } else if (SelectionDisjunctCols()) {
            for (int c = FixedCols(); c < ColCount(); ++c)
                if (ColSelect(c))
                    ClearCols(c, 1);
        } else {
            const TGridRect s = Selection();
            TProGridUndoRedo *u = UndoRedo();
            if (u)
                u->StartSequence();
            const bool fmt = FNavigation->AllowFmtClipboard();
            for (int r = s.Top; r <= s.Bottom; ++r) {
                bool cut = false;
                for (int c = s.Left; c <= s.Right; ++c)
                    if (always || IsEditable(c, r)) {
                        EmptyCutCell(c, r, fmt);
                        cut = true;
                    }
                if (cut)
                    SetRowModified(r, true);
            }
            if (u)
                u->StopSequence();
        }
    }
    FClipLastOp = coCut;
    CellsChanged(TRect(RealColIndex(before.Left), before.Top, RealColIndex(before.Right), before.Bottom));
    if (NumHiddenColumns() > 0)
        Invalidate();
}

// ---- Pasting -----------------------------------------------------------------------------------------

void TProStringGrid::CountClipboardCells(const QString &Text, TPoint &Size)
{
    Size = TPoint(0, 0);
    const std::vector<QStringList> lines = SplitClipboardText(Text);
    int nonEmpty = 0;
    for (const QStringList &l : lines) {
        Size.X = std::max<int>(Size.X, int(l.size()));
        if (l.size() > 1 || !l[0].isEmpty())
            ++nonEmpty;
    }
    Size.Y = std::max(0, nonEmpty - 1);
}

void TProStringGrid::ExpandSelectionToMergedCells()
{
    const TGridRect s = Selection();
    TGridRect n = s;
    if (IsMergedCell(s.Left, s.Top)) {
        const TPoint b = BaseCell(s.Left, s.Top);
        n.Left = std::min(n.Left, b.X);
        n.Top = std::min(n.Top, b.Y);
    }
    if (IsMergedCell(s.Right, s.Bottom)) {
        const TPoint b = BaseCell(s.Right, s.Bottom);
        const TPoint span = CellSpan(b.X, b.Y);
        n.Right = std::max(n.Right, b.X + span.X);
        n.Bottom = std::max(n.Bottom, b.Y + span.Y);
    }
    if (n.Left != s.Left || n.Top != s.Top || n.Right != s.Right || n.Bottom != s.Bottom)
        SetSelection(n);
}

void TProStringGrid::PasteCell(int ACol, int ARow, const QString &Value)
{
    const int rc = RealColIndex(ACol);
    if (TProGridUndoRedo *u = UndoRedo())
        u->RegisterChange(rc, ARow, GetCellEx(rc, ARow), Value);
    if (HasCheckBox(rc, ARow))
        UpdateCheckBoxState(rc, ARow, Value == FCheckTrue);
    else
        SetCellEx(rc, ARow, Value);
    if (rc != ACol)
        RepaintCell(ACol, ARow);
}

void TProStringGrid::CellsPasted(const TPoint &FromCell, const TRect &ToRect, TClipOperation Operation)
{
    if (!FShowModified->Enabled())
        return;
    for (int r = ToRect.Top; r <= ToRect.Bottom; ++r)
        if (r >= 0 && r < RowCount())
            SetRowModified(r, true);
}

int TProStringGrid::PasteTextAt(int ACol, int ARow, int &Lines, int &Fields, const QString &Text)
{
    Lines = 0;
    Fields = 0;
    if (ACol < 0 || ARow < 0)
        return 0;
    const bool always = FNavigation->AllowClipboardAlways();
    if (!Options().Contains(goEditing) && !always && !FMouseActions->RangeSelectAndEdit())
        return 0;
    const std::vector<QStringList> lines = SplitClipboardText(Text);
    if (lines.empty())
        return 0;

    TGridUpdateLock lock(this);
    const bool insert = FNavigation->ClipboardPasteAction() == paInsert;
    const bool rowGrow = FNavigation->AllowClipboardRowGrow();
    const bool colGrow = FNavigation->AllowClipboardColGrow();
    // The floating footer shows the last row, which stays below the pasted rows.
    const int footer = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow ? 1 : 0;
    int widest = 0;
    for (const QStringList &l : lines)
        widest = std::max<int>(widest, int(l.size()));
    if (colGrow && ACol + widest > ColCount())
        SetColCount(ACol + widest);
    if (!insert && rowGrow && ARow < RowCount() - footer && ARow + int(lines.size()) + footer > RowCount())
        SetRowCount(ARow + int(lines.size()) + footer);

    TProGridUndoRedo *undo = UndoRedo();
    if (undo)
        undo->StartSequence();
    int result = 0, maxCol = -1, maxRow = -1;
    const bool insideAtStart = ARow < RowCount() - footer;
    int r = ARow;
    for (size_t k = 0; k < lines.size(); ++k) {
        const QStringList &fields = lines[k];
        if (k > 0) {
            ++r;
            if (insert && rowGrow && insideAtStart && r >= RowCount() - footer)
                SetRowCount(RowCount() + 1);
        }
        ++Lines;
        ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, r);
        if (insert && (fields.size() > 1 || !fields[0].isEmpty()) && r <= RowCount())
            InsertRows(r, 1, false);
        Fields = std::max<int>(Fields, int(fields.size()));
        for (int j = 0; j < fields.size(); ++j) {
            const int c = ACol + j;
            ++result;
            if (c >= ColCount() || r >= RowCount() || !(always || IsEditable(c, r)))
                continue;
            QString v = fields[j];
            bool allow = true;
            const bool wide = v.startsWith(QStringLiteral("|\\"));
            if (wide) {
                v = DecodeWideCellText(v);
                if (OnClipboardBeforePasteWideCell)
                    OnClipboardBeforePasteWideCell(this, c, r, v, allow);
            } else if (OnClipboardBeforePasteCell) {
                OnClipboardBeforePasteCell(this, c, r, v, allow);
            }
            if (!allow)
                continue;
            PasteCell(c, r, wide ? EncodeWideCellText(v) : v);
            if (wide) {
                if (OnClipboardAfterPasteWideCell)
                    OnClipboardAfterPasteWideCell(this, c, r, v);
            } else if (OnClipboardAfterPasteCell) {
                OnClipboardAfterPasteCell(this, c, r, v);
            }
            maxCol = std::max(maxCol, c);
            maxRow = std::max(maxRow, r);
        }
    }
    if (undo)
        undo->StopSequence();
    lock.Release();
    if (maxCol >= 0) {
        CellsPasted(FClipTopLeft, TRect(ACol, ARow, maxCol, maxRow), FClipLastOp);
        CellsChanged(TRect(RealColIndex(ACol), ARow, RealColIndex(maxCol), maxRow));
    }
    return result;
}

bool TProStringGrid::PasteGridFormat(const QByteArray &Block, int ACol, int ARow, int &Cols, int &Rows, int &Result)
{
    RegisterGridHolderClasses();
    TGridPropIO prop(nullptr);
    TMemoryStream body;
    try {
        TMemoryStream in;
        in.Write(Block.constData(), Block.size());
        in.SetPosition(0);
        ReadComponentImage(&in, &prop);
        const QByteArray rest = Block.mid(in.Position());
        if (prop.ColCount <= 0 || prop.RowCount <= 0 || int64_t(prop.ColCount) * prop.RowCount > rest.size())
            return false;
        // A block is pasted where it is put, never as a whole grid that would clear this one.
        prop.FullGrid = false;
        WriteComponentImage(&body, &prop);
        body.Write(rest.constData(), rest.size());
        // Read once aside, so that a block this grid cannot read leaves it as it was.
        TProStringGrid scratch(nullptr);
        scratch.SetFixedRows(0);
        scratch.SetFixedCols(0);
        scratch.SetColCount(prop.ColCount);
        scratch.SetRowCount(prop.RowCount);
        body.SetPosition(0);
        scratch.LoadAtPointFromBinStream(TPoint(0, 0), &body);
    } catch (...) {
        return false;
    }

    BeforePaste();
    {
        TGridUpdateLock lock(this);
        const bool insert = FNavigation->ClipboardPasteAction() == paInsert;
        if (FNavigation->AllowClipboardColGrow() && ACol + prop.ColCount >= ColCount())
            SetColCount(ACol + prop.ColCount);
        if (FNavigation->AllowClipboardRowGrow() && ARow + prop.RowCount >= RowCount())
            SetRowCount(ARow + prop.RowCount);
        if (insert)
            InsertRows(ARow, prop.RowCount, true);
        Cols = prop.ColCount;
        Rows = prop.RowCount;

        // The texts before and after, so that the paste undoes as one step.
        TProGridUndoRedo *undo = UndoRedo();
        const int lastCol = std::min(ColCount() + NumHiddenColumns(), ACol + prop.ColCount) - 1;
        const int lastRow = std::min(RowCount(), ARow + prop.RowCount) - 1;
        std::vector<QString> old;
        if (undo)
            for (int r = ARow; r <= lastRow; ++r)
                for (int c = ACol; c <= lastCol; ++c)
                    old.push_back(GetCellEx(c, r));
        body.SetPosition(0);
        LoadAtPointFromBinStream(TPoint(ACol, ARow), &body);
        if (undo) {
            undo->StartSequence();
            size_t i = 0;
            for (int r = ARow; r <= lastRow; ++r)
                for (int c = ACol; c <= lastCol; ++c, ++i) {
                    const QString now = GetCellEx(c, r);
                    if (now != old[i])
                        undo->RegisterChange(c, r, old[i], now);
                }
            undo->StopSequence();
        }
    }
    const bool here = prop.ID != 0 && prop.ID == int32_t(Handle());
    const TRect to(ACol, ARow, ACol + prop.ColCount - 1, ARow + prop.RowCount - 1);
    CellsPasted(here ? FClipTopLeft : TPoint(-1, -1), to, FClipLastOp);
    Result = prop.ColCount * prop.RowCount;
    AfterPaste();
    CellsChanged(to);
    return true;
}

int TProStringGrid::PasteAt(int ACol, int ARow, int &Cols, int &Rows)
{
    Cols = 0;
    Rows = 0;
    TClipboard *cb = Clipboard();
    if (AllowGridClipboardFormat() && cb->HasFormat(GridCellsFormat())) {
        int result = 0;
        // A block this grid cannot read pastes nothing; its text is not taken in its place.
        if (!PasteGridFormat(cb->GetAsHandle(GridCellsFormat()), ACol, ARow, Cols, Rows, result))
            return 0;
        return result;
    }
    if (FNavigation->AllowRTFClipboard() && cb->HasFormat(RichTextFormat())) {
        QByteArray bytes = cb->GetAsHandle(RichTextFormat());
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            bytes.truncate(nul);
        if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() &&
            (FNavigation->AllowClipboardAlways() || IsEditable(ACol, ARow)))
            PasteCell(ACol, ARow, QString::fromLatin1(bytes));
        Cols = Rows = 1;
        return 0;
    }
    if (cb->HasFormat(CF_UNICODETEXT) || cb->HasFormat(CF_TEXT))
        return PasteTextAt(ACol, ARow, Rows, Cols, cb->AsText());
    return 0;
}

void TProStringGrid::PasteFromClipboard()
{
    ImportNotification(isImportStart, -1);
    FPasteAll = true;
    int cols = 0, rows = 0;
    try {
        PasteAt(SaveStartCol(), SaveStartRow(), cols, rows);
    } catch (...) {
        FPasteAll = false;
        throw;
    }
    FPasteAll = false;
    ImportNotification(isImportDone, -1);
    RecalcFooter();
}

void TProStringGrid::SmartSeries(const TGridRect &Sel, int P)
{
    const bool oneCol = Sel.Left == Sel.Right;
    const bool always = FNavigation->AllowClipboardAlways();
    std::vector<TPoint> cells;
    for (int c = Sel.Left; c <= Sel.Right; ++c)
        for (int r = Sel.Top; r <= Sel.Bottom; ++r)
            cells.emplace_back(c, r);
    auto text = [this](const TPoint &p) { return GetCellEx(RealColIndex(p.X), p.Y); };
    const QString first = text(cells[0]);
    const QString second = text(cells[1]);
    // Writes one value of a series: the events for all but the top-left, editable cells only.
    auto put = [&](size_t i, QString v) {
        const TPoint p = cells[i];
        if (!(always || IsEditable(p.X, p.Y)))
            return;
        bool allow = true;
        if (i > 0 && OnClipboardBeforePasteCell)
            OnClipboardBeforePasteCell(this, p.X, p.Y, v, allow);
        if (!allow)
            return;
        PasteCell(p.X, p.Y, v);
        if (i > 0 && OnClipboardAfterPasteCell)
            OnClipboardAfterPasteCell(this, p.X, p.Y, v);
    };

    const QChar timeSep = GridTimeSeparator(), dateSep = GridDateSeparator(), decSep = GridDecimalSeparator();
    int32_t i1 = 0, i2 = 0;
    if (LooksLikeDate(first) || LooksLikeDate(second) || first.contains(timeSep) || second.contains(timeSep)) {
        TDateTime d1 = 0, d2 = 0;
        if (!TryStrToDateTime(first, d1) || !TryStrToDateTime(second, d2))
            return;
        Word y1 = 0, m1 = 0, dd1 = 0, y2 = 0, m2 = 0, dd2 = 0;
        DecodeDate(d1, y1, m1, dd1);
        DecodeDate(d2, y2, m2, dd2);
        int years = int(y2) - int(y1), months = int(m2) - int(m1);
        const int days = int(dd2) - int(dd1);
        // Two months either side of the year end differ by months only.
        if (years == 1 && months < 0) {
            years = 0;
            months += 12;
        } else if (years == -1 && months > 0) {
            years = 0;
            months -= 12;
        }
        const bool asDate = first.contains(dateSep);
        TDateTime d = d1;
        for (size_t i = 0; i < cells.size(); ++i) {
            put(i, asDate ? DateToStr(d) : TimeToStr(d));
            const TDateTime next = StepDate(years, months, days, d2 - d1, d);
            if (!std::isfinite(next) || next < -693593 || next > 2958465)
                return;
            d = next;
        }
        return;
    }
    if (first.contains(decSep) || second.contains(decSep)) {
        double v1 = 0, v2 = 0;
        if (!TryStrToFloat(first, v1) || !TryStrToFloat(second, v2))
            return;
        double v = v1;
        for (size_t i = 0; i < cells.size(); ++i, v += v2 - v1)
            put(i, Format(FloatFormat(), {v}));
        return;
    }
    if (TryStrToInt(first, i1) && TryStrToInt(second, i2)) {
        int64_t v = i1;
        for (size_t i = 0; i < cells.size(); ++i, v += int64_t(i2) - i1)
            put(i, QString::number(v));
        return;
    }
    // Repeat the pasted block down the column (along the row).
    const int period = std::max(1, P);
    const int n = int(cells.size());
    for (int i = period; i < n; ++i)
        put(size_t(i), text(cells[size_t(i - period)]));
    if (n > period) {
        const TPoint a = cells[size_t(period)];
        CellsPasted(FClipTopLeft, oneCol ? TRect(a.X, a.Y, a.X, Sel.Bottom) : TRect(a.X, a.Y, Sel.Right, a.Y), FClipLastOp);
    }
}

void TProStringGrid::PasteSelectionFromClipboard()
{
    ImportNotification(isImportStart, -1);
    FPasteAll = false;
    ExpandSelectionToMergedCells();
    const TGridRect sel = Selection();
    const int left = Options().Contains(goRowSelect) ? FixedCols() : sel.Left;
    int cols = 0, rows = 0;
    const int P = PasteAt(left, sel.Top, cols, rows);
    const int G = (sel.Right - sel.Left + 1) * (sel.Bottom - sel.Top + 1);
    if (FNavigation->AllowSmartClipboard() && P != G + 1 && P >= 1 && G > 1) {
        TProGridUndoRedo *undo = UndoRedo();
        BeforePaste();
        if (undo)
            undo->StartSequence();
        const bool oneLine = sel.Left == sel.Right || sel.Top == sel.Bottom;
        if (P == 1) {
            const bool always = FNavigation->AllowClipboardAlways();
            const int rc = RealColIndex(sel.Left);
            QString v0 = GetCellEx(rc, sel.Top);
            if (HasCheckBox(rc, sel.Top))
                v0 = IsChecked(rc, sel.Top) ? FCheckTrue : FCheckFalse;
            TGridUpdateLock lock(this);
            for (int c = sel.Left; c <= sel.Right; ++c)
                for (int r = sel.Top; r <= sel.Bottom; ++r) {
                    if ((c == sel.Left && r == sel.Top) || !(always || IsEditable(c, r)))
                        continue;
                    QString v = v0;
                    bool allow = true;
                    if (OnClipboardBeforePasteCell)
                        OnClipboardBeforePasteCell(this, c, r, v, allow);
                    if (!allow)
                        continue;
                    PasteCell(c, r, v);
                    if (OnClipboardAfterPasteCell)
                        OnClipboardAfterPasteCell(this, c, r, v);
                }
            lock.Release();
            CellsPasted(FClipTopLeft, TRect(sel.Left, sel.Top, sel.Right, sel.Bottom), FClipLastOp);
        } else if (oneLine) {
            TGridUpdateLock lock(this);
            // The repeat takes the pasted block whole: its lines down a column, its fields along a row.
            SmartSeries(sel, sel.Left == sel.Right ? std::max(1, rows) : std::max(1, cols));
        } else if (rows == 1) {
            for (int r = sel.Top + 1; r <= sel.Bottom; ++r) {
                SetRow(r);
                int c2 = 0, r2 = 0;
                PasteAt(left, r, c2, r2);
            }
            SetSelection(sel);
        } else if (cols == 1) {
            for (int c = sel.Left + 1; c <= sel.Right; ++c) {
                SetCol(c);
                int c2 = 0, r2 = 0;
                PasteAt(c, sel.Top, c2, r2);
            }
            SetSelection(sel);
        }
        if (undo)
            undo->StopSequence();
        AfterPaste();
    }
    ImportNotification(isImportDone, -1);
    CellsChanged(TRect(RealColIndex(sel.Left), sel.Top, RealColIndex(sel.Right), sel.Bottom));
    RecalcFooter();
}
