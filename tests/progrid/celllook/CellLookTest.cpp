// The look of single cells and rows, controls placed in cells, zoom, the user's permission to
// size columns and rows, and the grid properties whose setters act at once.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "tests/common/InputEvents.h"
#include "tests/progrid/grid/GridFixture.h"
#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

class TLookGrid : public TTestGrid
{
public:
    explicit TLookGrid(TComponent *AOwner) : TTestGrid(AOwner) {}
    using TProStringGrid::FOldCursor;
    using TProStringGrid::FSizeFixed;
    using TProStringGrid::CalcSizingState;
};

// Collects what the grid's client area is asked to paint.
class PaintSpy : public QObject
{
public:
    int paints = 0;
    QRegion region;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            ++paints;
            region += static_cast<QPaintEvent *>(e)->region();
        }
        return false;
    }
};

class CellLookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 700, 500);
        grid = new TLookGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 600, 400);
        grid->SetColCount(6);
        grid->SetRowCount(8);
        form.Show();
        QCoreApplication::processEvents();
    }

    QWidget *client() const { return grid->ClientWidget(); }
    bool hasProps(int c, int r) const { return grid->GetGridObject(c, r) != nullptr; }
    void allowSizing()
    {
        TGridOptions o = grid->Options();
        o.Include(goColSizing);
        o.Include(goRowSizing);
        grid->SetOptions(o);
    }

    TForm form{nullptr};
    TLookGrid *grid = nullptr;
};

QRect ToQRect(const TRect &r)
{
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

} // namespace

TEST_F(CellLookTest, ReadingABareCellShowsTheDefaultsAndCreatesNothingButReadOnlyAndWordWrapDo)
{
    EXPECT_EQ(grid->GetColors(2, 2), clNone);
    EXPECT_EQ(grid->GetColorsTo(2, 2), clNone);
    EXPECT_EQ(grid->GetFontColors(2, 2), clNone);
    EXPECT_TRUE(grid->GetFontStyles(2, 2).Empty());
    EXPECT_EQ(grid->GetFontNames(2, 2), QString());
    EXPECT_EQ(grid->GetFontSizes(2, 2), 0);
    EXPECT_EQ(grid->GetAlignments(2, 2), taLeftJustify);
    EXPECT_EQ(grid->GetGradientDir(2, 2), GradientVertical);
    EXPECT_EQ(grid->GetCellControls(2, 2), nullptr);
    EXPECT_FALSE(hasProps(2, 2));

    EXPECT_FALSE(grid->GetReadOnly(2, 2));
    EXPECT_TRUE(hasProps(2, 2));
    grid->SetWordWrap(false);
    EXPECT_FALSE(grid->GetWordWraps(3, 3)) << "a new cell takes the grid's word wrap";
    EXPECT_TRUE(hasProps(3, 3));
}

TEST_F(CellLookTest, SettersStoreWhatTheGettersRead)
{
    grid->SetColorsTo(1, 1, clYellow);
    grid->SetFontColors(1, 1, clRed);
    grid->SetFontStyles(1, 1, TFontStyles{fsBold, fsItalic});
    grid->SetFontNames(1, 1, QStringLiteral("Courier New"));
    grid->SetFontSizes(1, 1, 14);
    grid->SetAlignments(1, 1, taRightJustify);
    grid->SetGradientDir(1, 1, GradientHorizontal);
    grid->SetReadOnly(1, 1, true);
    grid->SetWordWraps(1, 1, false);
    EXPECT_EQ(grid->GetColorsTo(1, 1), clYellow);
    EXPECT_EQ(grid->GetFontColors(1, 1), clRed);
    EXPECT_EQ(grid->GetFontStyles(1, 1), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(grid->GetFontNames(1, 1), QStringLiteral("Courier New"));
    EXPECT_EQ(grid->GetFontSizes(1, 1), 14);
    EXPECT_EQ(grid->GetAlignments(1, 1), taRightJustify);
    EXPECT_EQ(grid->GetGradientDir(1, 1), GradientHorizontal);
    EXPECT_TRUE(grid->GetReadOnly(1, 1));
    EXPECT_FALSE(grid->GetWordWraps(1, 1));

    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(11);
    f.SetStyle(TFontStyles{fsUnderline});
    f.SetColor(clBlue);
    grid->SetCellFont(4, 2, &f);
    EXPECT_EQ(grid->GetFontNames(4, 2), QStringLiteral("Arial"));
    EXPECT_EQ(grid->GetFontSizes(4, 2), 11);
    EXPECT_EQ(grid->GetFontStyles(4, 2), TFontStyles{fsUnderline});
    EXPECT_EQ(grid->GetFontColors(4, 2), clBlue);
}

TEST_F(CellLookTest, SetColorsRepaintsTheShownCellButNothingUnderTheUpdateLock)
{
    PaintSpy spy;
    client()->installEventFilter(&spy);
    grid->BeginUpdate();
    grid->SetColors(2, 2, clRed);
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.paints, 0);
    grid->EndUpdate();
    QCoreApplication::processEvents();
    EXPECT_GT(spy.paints, 0);

    // With column 1 hidden, real column 3 is shown as column 2: that is the cell repainted.
    grid->HideColumn(1);
    QCoreApplication::processEvents();
    spy.paints = 0;
    spy.region = QRegion();
    grid->SetColors(3, 4, clGreen);
    QCoreApplication::processEvents();
    const QRect shown = ToQRect(grid->CellRect(2, 4));
    EXPECT_TRUE(spy.region.contains(shown.adjusted(1, 1, -1, -1))) << "the displayed cell is repainted";
    EXPECT_EQ(grid->GetColors(3, 4), clGreen);
}

TEST_F(CellLookTest, ACellControlSitsOnTheCellWidenedLeftAndTopAndLeavesUntouchedWhenTakenAway)
{
    auto *edit = new TEdit(&form);
    const int before = grid->NumCellControls();
    grid->SetCellControls(2, 3, edit);
    EXPECT_EQ(grid->NumCellControls(), before + 1);
    EXPECT_EQ(grid->GetCellControls(2, 3), edit);
    EXPECT_EQ(edit->Parent(), grid);
    const TRect r = grid->CellRect(2, 3);
    EXPECT_EQ(edit->Left(), r.Left - 1);
    EXPECT_EQ(edit->Top(), r.Top - 1);
    EXPECT_EQ(edit->Width(), r.Right - r.Left + 1);
    EXPECT_EQ(edit->Height(), r.Bottom - r.Top + 1);

    // Placing it again, or another control, in the same cell keeps one entry for the cell.
    grid->SetCellControls(2, 3, edit);
    EXPECT_EQ(grid->NumCellControls(), before + 1);
    EXPECT_EQ(grid->ControlList()->Count(), 1);

    edit->SetVisible(true);
    grid->SetCellControls(2, 3, nullptr);
    EXPECT_EQ(grid->NumCellControls(), before);
    EXPECT_EQ(grid->ControlList()->Count(), 0);
    EXPECT_EQ(grid->GetCellControls(2, 3), nullptr);
    EXPECT_TRUE(edit->Visible()) << "the control is neither hidden";
    EXPECT_EQ(edit->Parent(), grid) << "nor freed";

    // Taking a control from a cell that has none changes nothing and creates nothing.
    grid->SetCellControls(4, 4, nullptr);
    EXPECT_EQ(grid->NumCellControls(), before);
    EXPECT_FALSE(hasProps(4, 4));
}

TEST_F(CellLookTest, ACellControlIsListedUnderItsRealRowAndFollowsScrolling)
{
    grid->SetRowCount(40);
    grid->HideRow(1);
    auto *edit = new TEdit(&form);
    grid->SetCellControls(2, 3, edit); // display row 3 is real row 4
    ASSERT_EQ(grid->ControlList()->Count(), 1);
    EXPECT_EQ(grid->ControlList()->GetControl(0)->FX, 2);
    EXPECT_EQ(grid->ControlList()->GetControl(0)->FY, 4);

    // After scrolling the control is placed anew on its cell.
    grid->SetTopRow(2);
    grid->CellControlsUpdate(false);
    const TRect r = grid->CellRect(2, 3);
    EXPECT_EQ(edit->Top(), r.Top - 1);

    grid->SetCellControls(2, 3, nullptr);
    EXPECT_EQ(grid->ControlList()->Count(), 0);
    EXPECT_EQ(grid->NumCellControls(), 0);
}

TEST_F(CellLookTest, ClearingARowColourTakesOnlyThatColourAway)
{
    grid->SetFixedCols(1);
    grid->HideColumn(4); // hidden columns belong to the row too
    grid->SetRowFontColor(2, clRed);
    for (int c = 1; c < 6; ++c)
        EXPECT_EQ(grid->GetFontColors(c, 2), clRed) << c;
    EXPECT_FALSE(hasProps(0, 2)) << "fixed columns are left alone";

    grid->SetRowColor(2, clYellow);
    grid->SetRowColor(2, clNone);
    for (int c = 1; c < 6; ++c) {
        EXPECT_EQ(grid->GetFontColors(c, 2), clRed) << c;
        EXPECT_EQ(grid->GetColors(c, 2), clNone) << c;
    }

    // Cells whose only own look was the colour lose their properties; the others keep the rest.
    grid->SetReadOnly(1, 2, true);
    grid->SetAlignments(2, 2, taCenter);
    grid->MergeCells(3, 2, 1, 2);
    grid->SetRowFontColor(2, clNone);
    EXPECT_TRUE(grid->GetGridObject(1, 2) && grid->GetReadOnly(1, 2));
    EXPECT_EQ(grid->GetAlignments(2, 2), taCenter);
    EXPECT_TRUE(grid->IsMergedCell(3, 2));
    EXPECT_FALSE(hasProps(5, 2));
    EXPECT_FALSE(hasProps(4, 2));
    EXPECT_EQ(grid->GetFontColors(2, 2), clNone);

    grid->SetRowColorTo(2, clBlue);
    EXPECT_EQ(grid->GetColorsTo(5, 2), clBlue);
    grid->SetFontSizes(5, 2, 20);
    grid->SetRowColorTo(2, clNone);
    EXPECT_EQ(grid->GetColorsTo(5, 2), clNone);
    EXPECT_EQ(grid->GetFontSizes(5, 2), 20) << "the font stays";
    EXPECT_EQ(grid->GetAlignments(2, 2), taCenter) << "the alignment stays";
    EXPECT_FALSE(hasProps(4, 2));
}

TEST_F(CellLookTest, ZoomAddsToEveryShownSizeWithinTenStepsEachWay)
{
    grid->SetColWidths(1, 2);
    grid->SetColWidths(2, 64);
    grid->SetColWidths(3, 0);
    grid->SetRowHeights(1, 1);
    grid->SetRowHeights(2, 24);
    grid->Zoom(-2);
    EXPECT_EQ(grid->ZoomFactor(), -2);
    EXPECT_EQ(grid->ColWidths(1), 2) << "a column never vanishes";
    EXPECT_EQ(grid->ColWidths(2), 62);
    EXPECT_EQ(grid->ColWidths(3), 0) << "a column hidden by size stays hidden";
    EXPECT_EQ(grid->RowHeights(1), 1);
    EXPECT_EQ(grid->RowHeights(2), 22);

    grid->Zoom(5);
    EXPECT_EQ(grid->ZoomFactor(), 3);
    EXPECT_EQ(grid->ColWidths(1), 7);
    EXPECT_EQ(grid->ColWidths(3), 0);

    grid->SetZoomFactor(9);
    grid->Zoom(3);
    EXPECT_EQ(grid->ZoomFactor(), 9);
    EXPECT_EQ(grid->ColWidths(2), 67) << "a step past ten does nothing";
    grid->SetZoomFactor(-9);
    grid->Zoom(-2);
    EXPECT_EQ(grid->ZoomFactor(), -9);
    grid->Zoom(-1);
    EXPECT_EQ(grid->ZoomFactor(), -10);
    EXPECT_EQ(grid->ColWidths(2), 66);
}

TEST_F(CellLookTest, ZoomWithProportionalBarsLeavesThemMatchingTheNewSizes)
{
    grid->SetRowCount(60);
    grid->SetScrollProportional(true);
    grid->Zoom(10);
    QScrollBar *bar = static_cast<QScrollBar *>(grid->ScrollBarWidget(true));
    const int rangeAfterZoom = bar->maximum();
    // Recomputing from the sizes as they are now gives the same bar.
    grid->UpdateVScrollProportional();
    EXPECT_EQ(bar->maximum(), rangeAfterZoom);
}

TEST_F(CellLookTest, RefusedColumnOrRowBordersCannotBeDragged)
{
    allowSizing();
    std::vector<int> askedCols, askedRows;
    grid->OnColumnSize = [&](TObject *, int ACol, bool &Allow) {
        askedCols.push_back(ACol);
        Allow = ACol != 3;
    };
    grid->OnRowSize = [&](TObject *, int ARow, bool &Allow) {
        askedRows.push_back(ARow);
        Allow = ARow != 2;
    };
    auto dragColBorder = [&](int c) {
        const TRect h = grid->CellRect(c, 0);
        const int y = (h.Top + h.Bottom) / 2, x = h.Right - 1;
        mouseMove(client(), QPoint(x, y));
        mousePress(client(), QPoint(x, y));
        mouseMove(client(), QPoint(x + 20, y), Qt::LeftButton);
        mouseRelease(client(), QPoint(x + 20, y));
    };
    auto dragRowBorder = [&](int r) {
        const TRect h = grid->CellRect(0, r);
        const int x = (h.Left + h.Right) / 2, y = h.Bottom - 1;
        mousePress(client(), QPoint(x, y));
        mouseMove(client(), QPoint(x, y + 15), Qt::LeftButton);
        mouseRelease(client(), QPoint(x, y + 15));
    };

    const int w3 = grid->ColWidths(3), w2 = grid->ColWidths(2);
    dragColBorder(3);
    EXPECT_EQ(grid->ColWidths(3), w3);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_NE(std::find(askedCols.begin(), askedCols.end(), 3), askedCols.end());
    dragColBorder(2);
    EXPECT_EQ(grid->ColWidths(2), w2 + 20);

    const int h2 = grid->RowHeights(2), h1 = grid->RowHeights(1);
    dragRowBorder(2);
    EXPECT_EQ(grid->RowHeights(2), h2);
    dragRowBorder(1);
    EXPECT_EQ(grid->RowHeights(1), h1 + 15);
    EXPECT_NE(std::find(askedRows.begin(), askedRows.end(), 2), askedRows.end());
}

TEST_F(CellLookTest, ARefusedColumnClearsThePendingFixedSizingOnly)
{
    allowSizing();
    grid->OnColumnSize = [](TObject *, int, bool &Allow) { Allow = false; };
    const TRect h = grid->CellRect(2, 0);
    TGridState st = gsNormal;
    int idx = -1, pos = 0, ofs = 0;
    grid->FSizeFixed = true;
    grid->CalcSizingState(h.Right - 1, (h.Top + h.Bottom) / 2, st, idx, pos, ofs);
    EXPECT_EQ(st, gsNormal);
    EXPECT_FALSE(grid->FSizeFixed);

    // A column refusal does not stop the border below the corner cell from being sized.
    const TRect f = grid->CellRect(0, 0);
    grid->CalcSizingState((f.Left + f.Right) / 2, f.Bottom - 1, st, idx, pos, ofs);
    EXPECT_EQ(st, gsRowSizing);
    EXPECT_EQ(idx, 0);
}

TEST_F(CellLookTest, PropertySettersActAtOnce)
{
    // Cursor: the control's own, remembered as the one to return to.
    grid->SetCursor(crHandPoint);
    EXPECT_EQ(grid->Cursor(), crHandPoint);
    EXPECT_EQ(grid->FOldCursor, crHandPoint);

    // IntegralHeight: the height snaps to whole rows as soon as it is switched on.
    grid->SetScrollBars(ssNone);
    grid->SetDefaultRowHeight(20);
    grid->SetBounds(0, 0, 600, 107);
    ASSERT_EQ(grid->Height(), 107);
    grid->SetIntegralHeight(true);
    EXPECT_EQ(grid->Height(), 104);
    EXPECT_TRUE(grid->IntegralHeight());

    // FocusHelper: copied into the grid's own settings.
    TFocusHelper fh;
    fh.SetEnabled(true);
    TFocusHelper *own = grid->FocusHelper();
    grid->SetFocusHelper(&fh);
    EXPECT_EQ(grid->FocusHelper(), own);
    EXPECT_TRUE(own->Enabled());
}

TEST(CellLookLifetime, TheGridsCursorDoesNotBecomeTheScreenCursorWhenTheGridGoes)
{
    ASSERT_TRUE(Screen);
    Screen->SetCursor(crDefault);
    {
        TForm form(nullptr);
        auto *grid = new TProStringGrid(&form);
        grid->SetParent(&form);
        grid->Loaded();
        grid->SetCursor(crHandPoint);
    }
    EXPECT_EQ(Screen->Cursor(), crDefault);
}
