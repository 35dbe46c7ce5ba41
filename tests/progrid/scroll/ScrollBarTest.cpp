// The grid's scroll bars used with the mouse: proportional thumbs, scroll hints, the in-cell bar.
#include "ScrollFixture.h"

TEST_F(ScrollTest, AProportionalThumbCoversTheVisiblePartAndKeeps128Positions)
{
    grid->SetScrollBars(ssVertical);
    grid->SetColCount(3);
    grid->SetDefaultRowHeight(20);
    grid->SetRowCount(21);
    // One fixed row and twenty normal ones; the client shows about ten of them.
    const int lw = grid->GridLineWidth();
    const int F = lw + (lw + 20), T = lw + 20 * (lw + 20);
    grid->SetHeight(F + T / 2 + (grid->Height() - grid->ClientHeight()));
    ASSERT_NEAR(grid->ClientHeight(), F + T / 2, 1);
    grid->SetScrollProportional(true);

    QScrollBar *b = bar(true);
    EXPECT_EQ(b->minimum(), 0);
    EXPECT_EQ(b->maximum(), 127);
    const double e = double(grid->ClientHeight() - F) / T;
    const double covered = double(b->pageStep()) / (b->maximum() - b->minimum() + b->pageStep());
    EXPECT_NEAR(covered, e, 0.01);
    EXPECT_NEAR(covered, 0.5, 0.02);
    // The thumb the user sees is about half of the track.
    const QRect thumb = part(b, QStyle::SC_ScrollBarSlider);
    const QRect track = part(b, QStyle::SC_ScrollBarGroove);
    EXPECT_NEAR(double(thumb.height()) / track.height(), 0.5, 0.05);

    // Dragging the thumb to the bottom of the track shows the last rows.
    const QPoint from = thumb.center();
    mousePress(b, from);
    mouseMove(b, QPoint(from.x(), track.bottom() + 20), Qt::LeftButton);
    mouseRelease(b, QPoint(from.x(), track.bottom() + 20));
    EXPECT_EQ(grid->TopRow(), grid->RowCount() - grid->VisibleRowCount());
    EXPECT_EQ(b->value(), 127);

    // Switched off, the bar maps rows one to one again.
    grid->SetScrollProportional(false);
    EXPECT_EQ(b->minimum(), grid->FixedRows());
    EXPECT_EQ(b->value(), grid->TopRow());
}

TEST_F(ScrollTest, ClicksBesideTheThumbAndOnTheArrowsScrollThroughScrollMessages)
{
    grid->SetRowCount(100);
    grid->SetScrollBars(ssVertical);
    QScrollBar *b = bar(true);
    const int page = grid->VisibleRowCount();
    mouseClick(b, part(b, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(grid->TopRow(), 2);
    mouseClick(b, part(b, QStyle::SC_ScrollBarAddPage).center());
    EXPECT_EQ(grid->TopRow(), 2 + page);
    mouseClick(b, part(b, QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(grid->TopRow(), 1 + page);
    EXPECT_EQ(b->value(), grid->TopRow());
}

TEST_F(ScrollTest, DraggingTheHorizontalThumbHintsTheTargetColumnUntilReleased)
{
    grid->SetColCount(40);
    grid->SetScrollBars(ssHorizontal);
    grid->SetScrollHints(shHorizontal);
    std::vector<int> hinted;
    grid->OnScrollHint = [&](TObject *Sender, int Index, QString &Text) {
        EXPECT_EQ(Sender, grid);
        hinted.push_back(Index);
    };
    QScrollBar *b = bar(false);
    const QPoint from = part(b, QStyle::SC_ScrollBarSlider).center();
    mousePress(b, from);
    EXPECT_FALSE(grid->ScrollHintShown());
    mouseMove(b, from + QPoint(80, 0), Qt::LeftButton);
    ASSERT_TRUE(grid->ScrollHintShown());
    ASSERT_FALSE(hinted.empty());
    const int target = hinted.back();
    EXPECT_GT(target, 1);
    EXPECT_EQ(grid->ScrollHintWindow()->Caption(), QStringLiteral("Col : %1").arg(target));
    EXPECT_TRUE(grid->ScrollHintWindow()->Visible());
    mouseRelease(b, from + QPoint(80, 0));
    EXPECT_FALSE(grid->ScrollHintShown());
    EXPECT_FALSE(grid->ScrollHintWindow()->Visible());
    EXPECT_EQ(grid->LeftCol(), target);

    // The handler may rewrite the text; a vertical drag hints nothing with shHorizontal.
    grid->OnScrollHint = [](TObject *, int Index, QString &Text) { Text = QStringLiteral("column %1").arg(Index); };
    const QPoint again = part(b, QStyle::SC_ScrollBarSlider).center();
    mousePress(b, again);
    mouseMove(b, again - QPoint(40, 0), Qt::LeftButton);
    EXPECT_TRUE(grid->ScrollHintWindow()->Caption().startsWith(QStringLiteral("column ")));
    mouseRelease(b, again - QPoint(40, 0));
}

TEST_F(ScrollTest, VerticalHintsNameTheRow)
{
    grid->SetRowCount(60);
    grid->SetScrollBars(ssVertical);
    grid->SetScrollHints(shBoth);
    QScrollBar *b = bar(true);
    const QPoint from = part(b, QStyle::SC_ScrollBarSlider).center();
    mousePress(b, from);
    mouseMove(b, from + QPoint(0, 60), Qt::LeftButton);
    EXPECT_TRUE(grid->ScrollHintWindow()->Caption().startsWith(QStringLiteral("Row : ")));
    mouseRelease(b, from + QPoint(0, 60));
    EXPECT_FALSE(grid->ScrollHintShown());
}

TEST_F(ScrollTest, TheInCellScrollBarStepsByTenAndReportsItsCell)
{
    grid->SetColCount(5);
    grid->SetRowCount(6);
    TCellGraphic *g = grid->CreateCellGraphic(2, 3);
    g->SetCellType(ctScrollbar);
    g->SetCellErrFrom(100);
    TScrollBar *sb = grid->CellScrollBar();
    ASSERT_NE(sb, nullptr);
    grid->FScrollCol = 2;
    grid->FScrollRow = 3;
    sb->SetParams(0, 0, 100);
    sb->SetBounds(0, 0, 17, 120);
    sb->SetVisible(true);

    struct TReport
    {
        int Col, Row, Pos, Min, Max;
    };
    std::vector<TReport> reports;
    grid->OnScrollCell = [&](TObject *, int ACol, int ARow, int Pos, int Min, int Max) {
        reports.push_back({ACol, ARow, Pos, Min, Max});
    };
    auto *qb = static_cast<QScrollBar *>(sb->Widget());
    mouseClick(qb, part(qb, QStyle::SC_ScrollBarAddLine).center());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].Col, 2);
    EXPECT_EQ(reports[0].Row, 3);
    EXPECT_EQ(reports[0].Pos, 10);
    EXPECT_EQ(reports[0].Min, 0);
    EXPECT_EQ(reports[0].Max, 100);
    EXPECT_EQ(g->CellIndex(), 10);
    EXPECT_EQ(sb->Position(), 10);

    mouseClick(qb, part(qb, QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(g->CellIndex(), 0);
    ASSERT_EQ(reports.size(), 2u);

    // At its maximum a line down changes nothing and reports nothing.
    sb->SetPosition(100);
    g->SetCellIndex(100);
    mouseClick(qb, part(qb, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(g->CellIndex(), 100);
    EXPECT_EQ(sb->Position(), 100);
}

TEST_F(ScrollTest, TheDialogCodeWantsCharactersWithoutEditing)
{
    // The plain grid wants characters only for editing; this grid wants them for its search
    // keys as well.
    TGridOptions o = grid->Options();
    o.Exclude(goEditing);
    grid->SetOptions(o);
    EXPECT_TRUE(grid->Perform(WM_GETDLGCODE) & DLGC_WANTCHARS);
}

TEST_F(ScrollTest, ScreenPointsMapToCellsAndSizingBordersAreFound)
{
    grid->SetColCount(5);
    grid->SetRowCount(5);
    TGridOptions o = grid->Options();
    o.Include(goColSizing);
    o.Include(goRowSizing);
    grid->SetOptions(o);
    const TRect c = grid->CellRect(2, 1);
    int col = -9, row = -9;
    grid->ScreenToCell(grid->ClientToScreen(TPoint(c.Left + 5, c.Top + 5)), col, row);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 1);
    grid->ScreenToCell(grid->ClientToScreen(TPoint(grid->ClientWidth() - 2, grid->ClientHeight() - 2)), col, row);
    EXPECT_EQ(col, -1);

    const TRect h = grid->CellRect(2, 0);
    const TRect f = grid->CellRect(0, 2);
    const struct
    {
        int X, Y;
        bool On;
    } cases[] = {
        {h.Right - 2, h.Top + 5, true},          // header, right edge
        {h.Left + 2, h.Top + 5, true},           // header, left edge
        {(h.Left + h.Right) / 2, h.Top + 5, false}, // header, middle
        {f.Left + 5, f.Bottom - 2, true},        // fixed column, bottom edge
        {f.Left + 5, (f.Top + f.Bottom) / 2, false},
        {c.Right - 1, (c.Top + c.Bottom) / 2, true}, // row 1 is still at most FixedRows
    };
    for (const auto &k : cases)
        EXPECT_EQ(grid->IsOnSizingBorder(k.X, k.Y), k.On) << k.X << "," << k.Y;
    const TRect n = grid->CellRect(3, 3);
    EXPECT_FALSE(grid->IsOnSizingBorder(n.Right - 1, n.Bottom - 1));
}

TEST_F(ScrollTest, TheSlimControlsReplaceTheScrollBarsInTheMetroLook)
{
    grid->SetScrollType(ssMetro);
    ASSERT_NE(grid->VScrollControl(), nullptr);
    ASSERT_NE(grid->HScrollControl(), nullptr);
    EXPECT_EQ(grid->ScrollBars(), ssNone);
    EXPECT_EQ(grid->VScrollControl()->Width(), 6);
    EXPECT_EQ(grid->VScrollControl()->Align(), alRight);
    EXPECT_EQ(grid->HScrollControl()->Height(), 6);
    EXPECT_EQ(grid->HScrollControl()->Align(), alBottom);
    EXPECT_EQ(grid->VScrollControl()->Direction(), sdVertical);
    TScrollControl *v = grid->VScrollControl();
    grid->SetScrollType(ssNormal);
    grid->SetScrollType(ssMetro);
    EXPECT_EQ(grid->VScrollControl(), v);
    // No flat bars on this platform: the flag stays off.
    grid->SetScrollType(ssFlat);
    EXPECT_FALSE(grid->IsFlat());
}

TEST_F(ScrollTest, TheSlimVerticalControlPagesAndDragsTheRows)
{
    grid->SetScrollBars(ssNone);
    grid->SetRowCount(100);
    grid->SetFixedRows(1);
    grid->SetDefaultRowHeight(20);
    grid->SetRowHeights(0, 20);
    // Ten visible rows below the fixed one.
    grid->SetHeight(20 + 10 * 20 + 10 * grid->GridLineWidth() + 5 + (grid->Height() - grid->ClientHeight()));
    ASSERT_EQ(grid->VisibleRowCount(), 10);
    grid->SetScrollType(ssMetro);
    TScrollControl *v = grid->VScrollControl();
    v->SetAlign(alNone);
    v->SetBounds(0, 0, 6, 220);
    grid->SetTopRow(1);

    int start = 0, len = 0;
    v->ThumbGeometry(start, len);
    EXPECT_EQ(start, 20);
    EXPECT_EQ(len, 20);

    // Below the thumb: a page down; never past the last page.
    mouseClick(v->Widget(), QPoint(3, 200));
    EXPECT_EQ(grid->TopRow(), 11);
    grid->SetTopRow(85);
    v->ThumbGeometry(start, len);
    mouseClick(v->Widget(), QPoint(3, std::min(start + len + 5, 219)));
    EXPECT_EQ(grid->TopRow(), 90);
    // Above it: a page up, not above the first normal row.
    grid->SetTopRow(5);
    v->ThumbGeometry(start, len);
    mouseClick(v->Widget(), QPoint(3, start - 2));
    EXPECT_EQ(grid->TopRow(), 1);

    // Dragging the thumb moves rows in proportion to the track.
    v->ThumbGeometry(start, len);
    mousePress(v->Widget(), QPoint(3, start + 5));
    mouseMove(v->Widget(), QPoint(3, start + 5 + 40), Qt::LeftButton);
    mouseRelease(v->Widget(), QPoint(3, start + 5 + 40));
    EXPECT_EQ(grid->TopRow(), 1 + int(std::nearbyint(40.0 / 200.0 * 100)));
}
