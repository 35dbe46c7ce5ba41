// Measuring cell text and sizing columns and rows to it.
#include "framework/controls/Forms.h"
#include "tests/progrid/grid/GridFixture.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {

class TSizeGrid : public TTestGrid
{
public:
    explicit TSizeGrid(TComponent *AOwner) : TTestGrid(AOwner) {}
    using TProStringGrid::CreateCellGraphic;
    void SetLoading(bool v) { SetComponentStateItem(csLoading, v); }
};

class AutoSizeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 800, 600);
        grid = new TSizeGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 500, 300);
    }

    // The width and line height of a text in a font, measured on the grid's canvas.
    int width(const QString &s, TFont *f = nullptr)
    {
        grid->Canvas()->Font()->Assign(f ? f : grid->Font());
        return grid->Canvas()->TextWidth(s);
    }
    int lineHeight()
    {
        grid->Canvas()->Font()->Assign(grid->Font());
        return grid->Canvas()->TextHeight(QStringLiteral("gh"));
    }
    // Column width for a text: two margins and the grid lines on both sides.
    int columnFor(const QString &s) { return width(s) + 2 * grid->XYOffset().X + 2 * (grid->GridLineWidth() + 1); }

    TForm form{nullptr};
    TSizeGrid *grid = nullptr;
};

} // namespace

TEST_F(AutoSizeTest, AColumnTakesTheWidthOfItsDisplayedText)
{
    grid->SetCells(1, 1, QStringLiteral("2"));
    grid->SetCells(1, 2, QStringLiteral("1"));
    grid->OnGetFloatFormat = [](TObject *, int, int, bool &IsFloat, QString &Fmt) {
        IsFloat = true;
        Fmt = QStringLiteral("%.4f");
    };
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), columnFor(QStringLiteral("2.0000")));
    EXPECT_NE(grid->ColWidths(1), columnFor(QStringLiteral("2")));

    // Padding is added and the limits hold.
    grid->AutoSizeCol(1, 6);
    EXPECT_EQ(grid->ColWidths(1), columnFor(QStringLiteral("2.0000")) + 6);
    grid->SetMaxColWidth(30);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 30);
    grid->SetMaxColWidth(0);

    // Grow only keeps a wider column.
    grid->SetColWidths(1, 200);
    grid->SetSizeGrowOnly(true);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 200);
}

TEST_F(AutoSizeTest, SwitchingAutoSizeOnWidensNarrowColumnsAtOnce)
{
    const QString text = QStringLiteral("a rather long piece of text");
    grid->SetCells(2, 3, text);
    grid->SetColWidths(2, 20);
    grid->SetAutoSize(true);
    EXPECT_TRUE(grid->AutoSize());
    EXPECT_EQ(grid->ColWidths(2), columnFor(text) + 10);
    // The fixed column is left alone.
    EXPECT_EQ(grid->ColWidths(0), grid->DefaultColWidth());
}

TEST_F(AutoSizeTest, ALoadedGridWithAutoSizeSizesItsColumns)
{
    const QString text = QStringLiteral("loaded text that is wide");
    grid->SetLoading(true);
    grid->SetAutoSize(true);
    grid->SetCells(1, 1, text);
    EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
    grid->Loaded();
    EXPECT_EQ(grid->ColWidths(1), columnFor(text) + 4);
}

TEST_F(AutoSizeTest, TheRowsColumnSizeNamesAreTheOnesMeasured)
{
    grid->SetRowCount(5);
    grid->SetFixedFooters(1);
    const QString header = QStringLiteral("hd");
    const QString body = QStringLiteral("a normal cell, wider");
    const QString footer = QStringLiteral("the footer row is the widest of all");
    grid->SetCells(1, 0, header);
    grid->SetCells(1, 2, body);
    grid->SetCells(1, 4, footer);

    const struct
    {
        TAutoSizeRows Rows;
        QString Widest;
        TFont *Font;
    } cases[] = {
        {arFixed, header, grid->FixedFont()},
        {arNormal, body, grid->Font()},
        // Footer rows count as fixed cells.
        {arAll, footer, grid->FixedFont()},
    };
    for (const auto &k : cases) {
        grid->ColumnSize()->SetRows(k.Rows);
        grid->AutoSizeCol(1, 0);
        EXPECT_EQ(grid->ColWidths(1), width(k.Widest, k.Font) + 8) << int(k.Rows);
    }
}

TEST_F(AutoSizeTest, RowsFitTheirTallestCellAndCheckBoxesKeepTheDefaultHeight)
{
    grid->SetMultilineCells(true);
    grid->SetWordWrap(false);
    grid->SetCells(1, 1, QStringLiteral("one\r\ntwo\r\nthree"));
    grid->AutoSizeRow(1, 0);
    const int offsets = 2 * grid->XYOffset().Y + 2 * grid->GridLineWidth();
    EXPECT_EQ(grid->RowHeights(1), 3 * lineHeight() + offsets);

    grid->AddCheckBox(2, 2, cbChecked);
    grid->SetRowHeights(2, 5);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight() + offsets);

    // AutoSizeRows sizes by line count without word wrap.
    grid->AutoSizeRows(false, 3);
    const int h = lineHeight();
    EXPECT_EQ(grid->RowHeights(1), 3 * (h + h / 8) + 3);
    EXPECT_EQ(grid->RowHeights(3), h + h / 8 + 3);
    EXPECT_EQ(grid->RowHeights(0), grid->DefaultRowHeight());
}

TEST_F(AutoSizeTest, AutoSizeCellsWidensToTheWidestCellAndNeverLowersARow)
{
    grid->SetRowCount(4);
    grid->SetColCount(3);
    grid->SetCells(1, 1, QStringLiteral("short"));
    grid->SetCells(1, 2, QStringLiteral("somewhat longer text"));
    grid->SetCells(2, 1, QStringLiteral("x"));
    grid->SetRowHeights(1, 60);
    grid->SetRowHeights(2, 5);
    grid->AutoSizeCells(false, 4, 2);
    EXPECT_EQ(grid->ColWidths(1), width(QStringLiteral("somewhat longer text")) + 4 + grid->XYOffset().X);
    EXPECT_EQ(grid->ColWidths(2), width(QStringLiteral("x")) + 4 + grid->XYOffset().X);
    EXPECT_EQ(grid->RowHeights(1), 60);
    EXPECT_EQ(grid->RowHeights(2), lineHeight() + 2 + grid->XYOffset().Y);
    EXPECT_EQ(grid->ColWidths(0), grid->DefaultColWidth());
}

TEST_F(AutoSizeTest, AutoFitColumnsSharesTheWidthInProportion)
{
    grid->SetScrollBars(ssNone);
    grid->SetBorderStyle(bsNone);
    grid->SetFixedCols(0);
    grid->SetColCount(3);
    const struct
    {
        int Width;
        bool VertLines;
        std::vector<int> Widths;
    } cases[] = {
        {400, false, {100, 100, 200}},
        // Three line pixels off the target; 398 / 200 rounds 99.5 up to the even 100; the
        // one pixel left goes to the widest column.
        {401, true, {100, 100, 201}},
        // Nothing to do when the columns already fill the target.
        {200, false, {50, 50, 100}},
    };
    for (const auto &k : cases) {
        TGridOptions o = grid->Options();
        o.Exclude(goFixedVertLine);
        k.VertLines ? o.Include(goVertLine) : o.Exclude(goVertLine);
        grid->SetOptions(o);
        grid->SetWidth(k.Width);
        grid->SetColWidths(0, 50);
        grid->SetColWidths(1, 50);
        grid->SetColWidths(2, 100);
        grid->AutoFitColumns(false);
        EXPECT_EQ((std::vector<int>{grid->ColWidths(0), grid->ColWidths(1), grid->ColWidths(2)}), k.Widths) << k.Width;
    }
    // A grid border counts against the target.
    grid->SetBorderStyle(bsSingle);
    grid->SetCtl3D(true);
    grid->SetWidth(404);
    TGridOptions o = grid->Options();
    o.Exclude(goVertLine);
    grid->SetOptions(o);
    grid->AutoFitColumns(false);
    EXPECT_EQ(grid->ColWidths(0) + grid->ColWidths(1) + grid->ColWidths(2), 400);

    grid->SetColCount(1);
    grid->AutoFitColumns(true);
    EXPECT_EQ(grid->ColWidths(0), 404 - 5);
}

TEST_F(AutoSizeTest, SizeToCellsFitsTheClientAndKeepsTheScrollBars)
{
    grid->SetScrollBars(ssNone);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SizeToCells();
    EXPECT_EQ(grid->ClientWidth(), 3 * grid->DefaultColWidth());
    EXPECT_EQ(grid->ClientHeight(), 4 * grid->DefaultRowHeight());
    for (const TScrollStyle s : {ssVertical, ssBoth, ssHorizontal}) {
        grid->SetScrollBars(s);
        grid->SizeToCells();
        EXPECT_EQ(grid->ScrollBars(), s);
    }
}

TEST_F(AutoSizeTest, RotatedTextTakesTheSumOfItsProjections)
{
    const QString text = QStringLiteral("Rotated");
    grid->SetCells(1, 1, text);
    TCellGraphic *g = grid->CreateCellGraphic(1, 1);
    g->SetCellType(ctRotated);
    const int w = width(text), h = lineHeight();
    for (const int a : {0, 90, 45, 180, 300}) {
        g->SetCellAngle(a);
        const double r = a * M_PI / 180.0;
        const int ew = std::abs(int(std::lround(h * std::sin(r)))) + std::abs(int(std::lround(w * std::cos(r)))) + 12;
        const int eh = std::abs(int(std::lround(h * std::cos(r)))) + std::abs(int(std::lround(w * std::sin(r)))) + 12;
        const TSize s = grid->GetCellTextSize(1, 1, false, false);
        EXPECT_EQ(s.cx, ew) << a;
        EXPECT_EQ(s.cy, eh) << a;
    }
    g->SetCellAngle(90);
    const TSize up = grid->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(up.cx, h + 12);
    EXPECT_EQ(up.cy, w + 12);
}

TEST_F(AutoSizeTest, TextIsMeasuredAsItIsPainted)
{
    // Only the first line counts without multi-line cells; links lose their scheme when shown.
    grid->SetCells(1, 1, QStringLiteral("first\r\na much longer second line"));
    grid->SetMultilineCells(false);
    EXPECT_EQ(grid->GetCellTextSize(1, 1, false, false), (TSize{width(QStringLiteral("first")), lineHeight()}));
    grid->SetMultilineCells(true);
    EXPECT_EQ(grid->GetCellTextSize(1, 1, false, false),
              (TSize{width(QStringLiteral("a much longer second line")), 2 * lineHeight()}));

    grid->SetCells(2, 1, QStringLiteral("http://example.org"));
    grid->SetURLShow(true);
    EXPECT_EQ(grid->GetCellTextSize(2, 1, false, false).cx, width(QStringLiteral("example.org")));
    grid->SetURLFull(true);
    EXPECT_EQ(grid->GetCellTextSize(2, 1, false, false).cx, width(QStringLiteral("http://example.org")));

    // Word-wrapped text takes the cell's width and more lines.
    grid->SetColWidths(3, 60);
    grid->SetCells(3, 1, QStringLiteral("words that will never fit on one line of sixty pixels"));
    const TSize wrapped = grid->GetCellTextSize(3, 1, true, false);
    EXPECT_EQ(wrapped.cx, 60 - 2 * grid->XYOffset().X - 4);
    EXPECT_GE(wrapped.cy, 3 * lineHeight());

    // Mini-HTML goes through the renderer: bold text is wider than plain.
    grid->SetCells(4, 1, QStringLiteral("<b>bold words</b>"));
    const TSize html = grid->GetCellTextSize(4, 1, false, false);
    EXPECT_GE(html.cx, width(QStringLiteral("bold words")) + 2);
    EXPECT_EQ(html.cy >= lineHeight(), true);

    // A zoom factor enlarges the measuring font.
    const int plain = grid->GetCellTextSize(1, 1, false, false).cx;
    grid->SetZoomFactor(6);
    EXPECT_GT(grid->GetCellTextSize(1, 1, false, false).cx, plain);
}
