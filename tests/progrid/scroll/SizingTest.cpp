// Stretching a column, scaling all columns or rows after the user sizes one, and scrolling while
// something is dragged near the edges.
#include "ScrollFixture.h"

namespace {

QString ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}

void Tick(TTimer *t)
{
    TMessage m;
    m.Msg = WM_TIMER;
    t->WndProc(m);
}

} // namespace

TEST_F(ScrollTest, StretchingGivesAColumnTheWidthTheOthersLeave)
{
    grid->SetScrollBars(ssNone);
    grid->SetColCount(5);
    grid->SetWidth(500 + (grid->Width() - grid->ClientWidth()));
    ASSERT_EQ(grid->ClientWidth(), 500);
    for (int c = 0; c < 4; ++c)
        grid->SetColWidths(c, 75);
    grid->ColumnSize()->SetStretch(true);
    grid->StretchColumnWidth(-1);
    EXPECT_EQ(grid->ColWidths(4), 199);
    EXPECT_EQ(ErrorOf([&] { grid->StretchColumnWidth(5); }), QStringLiteral("Stretch column index out of range"));

    // Columns that already fill the client leave the stretched one at the default width.
    for (int c = 0; c < 4; ++c)
        grid->SetColWidths(c, 150);
    grid->StretchColumnWidth(4);
    EXPECT_EQ(grid->ColWidths(4), grid->DefaultColWidth());

    // A column sized later re-stretches the chosen column at once.
    for (int c = 0; c < 4; ++c)
        grid->SetColWidths(c, 50);
    EXPECT_EQ(grid->ColWidths(4), 500 - 200 - 1);
    grid->StretchRightColumn();
    EXPECT_EQ(grid->ColWidths(4), 299);

    // Without Stretch nothing changes; the range check still holds.
    grid->ColumnSize()->SetStretch(false);
    grid->SetColWidths(0, 10);
    EXPECT_EQ(grid->ColWidths(4), 299);
    EXPECT_EQ(ErrorOf([&] { grid->StretchColumnWidth(7); }), QStringLiteral("Stretch column index out of range"));
}

TEST_F(ScrollTest, SizingOneColumnWithAllColumnSizeScalesTheOtherNormalColumns)
{
    grid->SetScrollBars(ssNone);
    grid->SetColCount(5);
    TGridOptions o = grid->Options();
    o.Include(goColSizing);
    grid->SetOptions(o);
    grid->MouseActions()->SetAllColumnSize(true);
    std::vector<int> ended;
    grid->OnEndColumnSize = [&](TObject *, int ACol) { ended.push_back(ACol); };

    const TRect h = grid->CellRect(2, 0);
    const int y = (h.Top + h.Bottom) / 2;
    const int x = h.Right - 1;
    ASSERT_TRUE(grid->IsOnSizingBorder(x, y));
    mousePress(client(), QPoint(x, y));
    mouseMove(client(), QPoint(x + 32, y), Qt::LeftButton);
    mouseRelease(client(), QPoint(x + 32, y));

    EXPECT_EQ(grid->ColWidths(2), 96);
    EXPECT_EQ(grid->ColWidths(1), 96);
    EXPECT_EQ(grid->ColWidths(3), 96);
    EXPECT_EQ(grid->ColWidths(4), 96);
    EXPECT_EQ(grid->ColWidths(0), 64);
    EXPECT_EQ(ended, std::vector<int>{2});

    // A program's width change scales nothing.
    grid->SetColWidths(2, 48);
    EXPECT_EQ(grid->ColWidths(1), 96);
    EXPECT_EQ(ended.size(), 1u);
}

TEST_F(ScrollTest, SizingOneRowWithAllRowSizeScalesTheOtherNormalRows)
{
    grid->SetScrollBars(ssNone);
    grid->SetRowCount(5);
    grid->SetDefaultRowHeight(20);
    TGridOptions o = grid->Options();
    o.Include(goRowSizing);
    grid->SetOptions(o);
    grid->MouseActions()->SetAllRowSize(true);
    std::vector<int> ended;
    grid->OnEndRowSize = [&](TObject *, int ARow) { ended.push_back(ARow); };

    const TRect f = grid->CellRect(0, 2);
    const int x = (f.Left + f.Right) / 2;
    mousePress(client(), QPoint(x, f.Bottom - 1));
    mouseMove(client(), QPoint(x, f.Bottom - 1 + 10), Qt::LeftButton);
    mouseRelease(client(), QPoint(x, f.Bottom - 1 + 10));
    EXPECT_EQ(grid->RowHeights(2), 30);
    EXPECT_EQ(grid->RowHeights(1), 30);
    EXPECT_EQ(grid->RowHeights(4), 30);
    EXPECT_EQ(grid->RowHeights(0), 20);
    EXPECT_EQ(ended, std::vector<int>{2});
}

TEST_F(ScrollTest, AnUpdateColumnSizeHandlerHasTheLastWordOnAUserSizedWidth)
{
    grid->SetScrollBars(ssNone);
    TGridOptions o = grid->Options();
    o.Include(goColSizing);
    grid->SetOptions(o);
    grid->OnUpdateColumnSize = [](TObject *, int, int &AWidth) { AWidth = 100; };
    const TRect h = grid->CellRect(1, 0);
    const int y = (h.Top + h.Bottom) / 2;
    mousePress(client(), QPoint(h.Right - 1, y));
    mouseMove(client(), QPoint(h.Right + 10, y), Qt::LeftButton);
    mouseRelease(client(), QPoint(h.Right + 10, y));
    EXPECT_EQ(grid->ColWidths(1), 100);
}

TEST_F(ScrollTest, ADragNearTheTopEdgeScrollsUpOneRowPerRepeatDelay)
{
    grid->SetRowCount(60);
    grid->SetTopRow(5);
    TDragScrollOptions *d = grid->DragScrollOptions();
    d->SetActive(true);
    d->Delays()->SetInitialDelay(300);
    d->Delays()->SetRepeatDelay(40);
    d->Margins()->SetTopMargin(30);
    bool accept = false;

    grid->DragOver(nullptr, 200, 100, dsDragMove, accept);
    EXPECT_EQ(grid->DragScrollTimer(), nullptr);
    grid->DragOver(nullptr, 200, 10, dsDragEnter, accept);
    TTimer *t = grid->DragScrollTimer();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 300u);
    EXPECT_TRUE(grid->DragScrollDirection().Contains(dsdUp));

    std::vector<int> tops;
    for (int i = 0; i < 6; ++i) {
        Tick(t);
        tops.push_back(grid->TopRow());
    }
    EXPECT_EQ(tops, (std::vector<int>{4, 3, 2, 1, 1, 1}));
    EXPECT_EQ(t->Interval(), 40u);

    // The handler may stop a step or change its direction.
    grid->SetTopRow(10);
    grid->OnDragScroll = [](TObject *, int TopRow, int, TDragScrollDirection &D, bool &CanScroll) {
        CanScroll = TopRow != 9;
        D = TDragScrollDirection{dsdDown};
    };
    Tick(t);
    EXPECT_EQ(grid->TopRow(), 11);
    grid->OnDragScroll = nullptr;

    // Leaving the grid stops the timer.
    grid->DragOver(nullptr, 200, 10, dsDragLeave, accept);
    EXPECT_EQ(grid->DragScrollTimer(), nullptr);

    // Near the bottom and the right edges the grid scrolls down and right.
    grid->SetColCount(30);
    grid->SetTopRow(3);
    grid->SetLeftCol(2);
    grid->DragOver(nullptr, grid->ClientWidth() - 5, grid->ClientHeight() - 5, dsDragMove, accept);
    ASSERT_NE(grid->DragScrollTimer(), nullptr);
    Tick(grid->DragScrollTimer());
    EXPECT_EQ(grid->TopRow(), 4);
    EXPECT_EQ(grid->LeftCol(), 3);

    // Switching the option off stops the timer at its next tick.
    d->SetActive(false);
    Tick(grid->DragScrollTimer());
    EXPECT_EQ(grid->TopRow(), 4);
    grid->DragOver(nullptr, 5, 5, dsDragMove, accept);
    EXPECT_EQ(grid->DragScrollTimer(), nullptr);
}
