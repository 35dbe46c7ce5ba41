// Copying, cutting and pasting cells: the text form, the grid's own form between grids, the smart
// paste, and clipboard data the grid cannot read.
#include "../grid/GridFixture.h"
#include "framework/os/Clipbrd.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProGridUndo.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class TClipGrid : public TTestGrid
{
public:
    TPoint PastedFrom{-2, -2};
    TRect PastedTo;
    void CellsPasted(const TPoint &FromCell, const TRect &ToRect, TClipOperation Operation) override
    {
        PastedFrom = FromCell;
        PastedTo = ToRect;
        TTestGrid::CellsPasted(FromCell, ToRect, Operation);
    }
};

// An editable grid without fixed cells.
void Plain(TProStringGrid &g, int cols, int rows)
{
    g.SetOptions(g.Options() + goEditing);
    g.SetFixedRows(0);
    g.SetFixedCols(0);
    g.SetColCount(cols);
    g.SetRowCount(rows);
}

void SetClipText(const QString &t) { Clipboard()->SetAsText(t); }

} // namespace

TEST(ClipboardCopy, RowsEndInCrLfOnlyWhenSeveralAreCopied)
{
    TClipGrid g;
    Plain(g, 2, 2);
    g.SetCells(0, 0, "a");
    g.SetCells(1, 0, "b");
    g.SetCells(0, 1, "c");
    g.SetCells(1, 1, "d");
    g.CopyToClipBoard();
    EXPECT_EQ(Clipboard()->AsText(), QString("a\tb\r\nc\td\r\n"));
    g.SetSelection(GridRect(0, 0, 1, 0));
    g.CopySelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), QString("a\tb"));
    EXPECT_EQ(g.ClipTopLeft(), TPoint(0, 0));
}

TEST(ClipboardCopy, MultiLineCellsTravelQuotedAndPasteBackWhole)
{
    TClipGrid g;
    Plain(g, 2, 1);
    g.SetCells(0, 0, "say \"hi\"\r\nsecond");
    g.SetCells(1, 0, "tab\there");
    g.CopyToClipBoard();
    EXPECT_EQ(Clipboard()->AsText(), QString("\"say \"\"hi\"\"\nsecond\"\t\"tab\there\""));
    TClipGrid h;
    Plain(h, 1, 1);
    int cols = 0, rows = 0;
    EXPECT_EQ(h.PasteAt(0, 0, cols, rows), 2);
    EXPECT_EQ(h.Cells(0, 0), QString("say \"hi\"\r\nsecond"));
    EXPECT_EQ(h.Cells(1, 0), QString("tab\there"));
    EXPECT_EQ(h.RowCount(), 1);
}

TEST(ClipboardPaste, TextGrowsTheGridAndFillsFromTheCell)
{
    struct Case
    {
        const char *text;
    } cases[] = {{"a\tb\r\nc\td"}, {"a\tb\nc\td\n"}, {"a\tb\rc\td\r\n"}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.text);
        TClipGrid g;
        g.SetOptions(g.Options() + goEditing);
        g.SetColCount(2);
        g.SetRowCount(2);
        SetClipText(k.text);
        int cols = 0, rows = 0;
        EXPECT_EQ(g.PasteAt(1, 1, cols, rows), 4);
        EXPECT_EQ(g.ColCount(), 3);
        EXPECT_EQ(g.RowCount(), 3);
        EXPECT_EQ(QStringList({g.Cells(1, 1), g.Cells(2, 1), g.Cells(1, 2), g.Cells(2, 2)}),
                  QStringList({"a", "b", "c", "d"}));
        EXPECT_EQ(cols, 2);
        EXPECT_EQ(rows, 2);
        EXPECT_EQ(g.PastedFrom, TPoint(-1, -1));
        EXPECT_EQ(g.PastedTo, TRect(1, 1, 2, 2));
    }
}

TEST(ClipboardPaste, CountsCellsAndRefusesGridsThatCannotBeEdited)
{
    TPoint size;
    TProStringGrid::CountClipboardCells("a\tb\r\nc", size);
    EXPECT_EQ(size, TPoint(2, 1));
    TProStringGrid::CountClipboardCells("a\tb\tc\nd\n\n", size);
    EXPECT_EQ(size, TPoint(3, 1));

    TClipGrid g;
    Plain(g, 2, 2);
    g.SetOptions(g.Options() - goEditing);
    int lines = 0, fields = 0;
    EXPECT_EQ(g.PasteTextAt(0, 0, lines, fields, "x"), 0);
    EXPECT_EQ(g.Cells(0, 0), QString());
    g.Navigation()->SetAllowClipboardAlways(true);
    EXPECT_EQ(g.PasteTextAt(0, 0, lines, fields, "x"), 1);
    EXPECT_EQ(g.Cells(0, 0), QString("x"));
    // Without growth the block is cut at the grid's edge.
    g.Navigation()->SetAllowClipboardRowGrow(false);
    g.Navigation()->SetAllowClipboardColGrow(false);
    EXPECT_EQ(g.PasteTextAt(1, 1, lines, fields, "1\t2\n3\t4"), 4);
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), QString("1"));
}

TEST(ClipboardPaste, BeforeEventChangesOrRefusesCellsAndInsertModeAddsRows)
{
    TClipGrid g;
    Plain(g, 2, 2);
    g.SetCells(0, 0, "old");
    g.OnClipboardBeforePasteCell = [](TObject *, int c, int r, QString &v, bool &allow) {
        if (c == 1)
            allow = false;
        v = v.toUpper();
    };
    std::vector<QString> after;
    g.OnClipboardAfterPasteCell = [&](TObject *, int, int, const QString &v) { after.push_back(v); };
    g.Navigation()->SetClipboardPasteAction(paInsert);
    int lines = 0, fields = 0;
    g.PasteTextAt(0, 0, lines, fields, "x\ty\r\nz\tw\r\n");
    EXPECT_EQ(ReadColumn(g, 0), QStringList({"X", "Z", "old", ""}));
    EXPECT_EQ(ReadColumn(g, 1), QStringList({"", "", "", ""}));
    EXPECT_EQ(after, (std::vector<QString>{"X", "Z"}));
}

TEST(ClipboardSmartPaste, RepeatsAndSeries)
{
    const QString nov = DateToStr(EncodeDate(2025, 11, 15)), dec = DateToStr(EncodeDate(2025, 12, 15));
    struct Case
    {
        TGridRect sel;
        QString text;
        QStringList want;
    } cases[] = {
        {GridRect(0, 0, 4, 0), "7", {"7", "7", "7", "7", "7"}},
        {GridRect(0, 0, 0, 4), "1\r\n3", {"1", "3", "5", "7", "9"}},
        {GridRect(0, 0, 0, 4), "1.5\r\n2", {"1.50", "2.00", "2.50", "3.00", "3.50"}},
        {GridRect(0, 0, 0, 3), "x\ny", {"x", "y", "x", "y"}},
        {GridRect(0, 0, 0, 4), nov + "\r\n" + dec,
         {nov, dec, DateToStr(EncodeDate(2026, 1, 15)), DateToStr(EncodeDate(2026, 2, 15)),
          DateToStr(EncodeDate(2026, 3, 15))}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.text.toStdString());
        TClipGrid g;
        Plain(g, 5, 5);
        g.Navigation()->SetAllowSmartClipboard(true);
        g.SetSelection(k.sel);
        SetClipText(k.text);
        g.PasteSelectionFromClipboard();
        QStringList got;
        for (int i = 0; i < k.want.size(); ++i)
            got << (k.sel.Left == k.sel.Right ? g.Cells(0, i) : g.Cells(i, 0));
        EXPECT_EQ(got, k.want);
    }
}

TEST(ClipboardSmartPaste, WithoutTheOptionOnlyTheTextIsPasted)
{
    TClipGrid g;
    Plain(g, 1, 5);
    g.SetSelection(GridRect(0, 0, 0, 4));
    SetClipText("1\r\n3");
    g.PasteSelectionFromClipboard();
    EXPECT_EQ(ReadColumn(g, 0), QStringList({"1", "3", "", "", ""}));
}

TEST(ClipboardGridFormat, TheBlockNamesItsGridAndCarriesMergesColoursAndBoxes)
{
    TClipGrid src;
    Plain(src, 4, 4);
    src.Navigation()->SetAllowFmtClipboard(true);
    src.SetCells(1, 1, "m");
    src.MergeCells(1, 1, 2, 1);
    src.SetColors(1, 2, 0x00FF00);
    src.AddCheckBox(2, 2, true, false);
    src.SetSelection(GridRect(1, 1, 2, 2));
    src.CopySelectionToClipboard();
    EXPECT_TRUE(Clipboard()->HasFormat(CF_GRIDCELLS));

    TClipGrid dst;
    Plain(dst, 2, 2);
    dst.Navigation()->SetAllowFmtClipboard(true);
    dst.SetCells(0, 0, "stays");
    int cols = 0, rows = 0;
    EXPECT_EQ(dst.PasteAt(1, 0, cols, rows), 4);
    EXPECT_EQ(dst.PastedFrom, TPoint(-1, -1));
    EXPECT_EQ(dst.Cells(0, 0), QString("stays"));
    EXPECT_EQ(dst.Cells(1, 0), QString("m"));
    EXPECT_EQ(dst.CellSpan(1, 0), TPoint(1, 0));
    EXPECT_EQ(dst.GetColors(1, 1), TColor(0x00FF00));
    EXPECT_TRUE(dst.IsChecked(2, 1));

    src.PasteAt(0, 0, cols, rows);
    EXPECT_EQ(src.PastedFrom, TPoint(1, 1));
}

TEST(ClipboardGridFormat, AWholeGridCopyPastedElsewhereLeavesTheRestOfTheGrid)
{
    TClipGrid src;
    Plain(src, 2, 1);
    src.Navigation()->SetAllowFmtClipboard(true);
    src.SetCells(0, 0, "p");
    src.SetCells(1, 0, "q");
    src.CopyToClipBoard();
    TClipGrid dst;
    Plain(dst, 3, 3);
    dst.Navigation()->SetAllowFmtClipboard(true);
    dst.SetCells(0, 0, "keep");
    int cols = 0, rows = 0;
    dst.PasteAt(1, 2, cols, rows);
    EXPECT_EQ(dst.Cells(0, 0), QString("keep"));
    EXPECT_EQ(dst.Cells(1, 2), QString("p"));
    EXPECT_EQ(dst.Cells(2, 2), QString("q"));
}

TEST(ClipboardGridFormat, UnreadableBlocksLeaveTheGridAlone)
{
    TClipGrid src;
    Plain(src, 3, 3);
    src.Navigation()->SetAllowFmtClipboard(true);
    for (int c = 0; c < 3; ++c)
        src.SetCells(c, 0, QString("v%1").arg(c));
    src.CopyToClipBoard();
    const QByteArray good = Clipboard()->GetAsHandle(CF_GRIDCELLS);
    const QByteArray blocks[] = {QByteArray("not a grid"), good.left(good.size() / 2), QByteArray(),
                                 good.left(40) + QByteArray(200, '\xFF')};
    for (const QByteArray &b : blocks) {
        TClipGrid g;
        Plain(g, 2, 2);
        g.Navigation()->SetAllowFmtClipboard(true);
        g.SetCells(0, 0, "mine");
        Clipboard()->SetAsHandle(CF_GRIDCELLS, b);
        int cols = 0, rows = 0;
        EXPECT_EQ(g.PasteAt(0, 0, cols, rows), 0);
        EXPECT_EQ(g.Cells(0, 0), QString("mine"));
        EXPECT_EQ(g.ColCount(), 2);
        EXPECT_EQ(g.RowCount(), 2);
    }
}

TEST(ClipboardCut, CutSelectionEmptiesEditableCellsAndUndoesInOneStep)
{
    TClipGrid g;
    Plain(g, 3, 2);
    TProGridUndoRedo undo;
    g.SetUndoRedo(&undo);
    for (int c = 0; c < 3; ++c)
        g.SetCells(c, 0, QString("c%1").arg(c));
    g.SetSelection(GridRect(0, 0, 1, 0));
    g.CutSelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), QString("c0\tc1"));
    EXPECT_EQ(g.Cells(0, 0), QString());
    EXPECT_EQ(g.Cells(1, 0), QString());
    EXPECT_EQ(g.Cells(2, 0), QString("c2"));
    EXPECT_EQ(g.ClipLastOp(), coCut);
    undo.Undo();
    EXPECT_EQ(g.Cells(0, 0), QString("c0"));
    EXPECT_EQ(g.Cells(1, 0), QString("c1"));
    EXPECT_EQ(undo.Level(), 0);
}

TEST(ClipboardPaste, ATextPasteUndoesAndRedoesAsOneStep)
{
    TClipGrid g;
    Plain(g, 2, 2);
    TProGridUndoRedo undo;
    g.SetUndoRedo(&undo);
    g.SetCells(0, 0, "a0");
    int lines = 0, fields = 0;
    g.PasteTextAt(0, 0, lines, fields, "x\ty\r\nz");
    undo.Undo();
    EXPECT_EQ(QStringList({g.Cells(0, 0), g.Cells(1, 0), g.Cells(0, 1)}), QStringList({"a0", "", ""}));
    undo.Redo();
    EXPECT_EQ(QStringList({g.Cells(0, 0), g.Cells(1, 0), g.Cells(0, 1)}), QStringList({"x", "y", "z"}));
    EXPECT_EQ(undo.Level(), undo.Items()->Count());
}
