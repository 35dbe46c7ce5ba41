// The plain grids: store, dimensions, geometry, navigation, painting and in-place editing.
#include "framework/grids/Grids.h"
#include "framework/controls/Forms.h"
#include "tests/common/TestSupport.h"
#include "tests/common/InputEvents.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <set>

namespace {

// Exposes the hooks and records what the grid asks of them.
class TProbeGrid : public TStringGrid
{
public:
    using TStringGrid::TStringGrid;
    using TCustomGrid::MaxTopLeft;
    std::set<std::pair<int, int>> refused;
    std::vector<std::tuple<int, int, TGridDrawState>> drawn;
    std::vector<std::tuple<int, int, QString>> edits;

protected:
    bool SelectCell(int ACol, int ARow) override
    {
        return !refused.count({ACol, ARow}) && TStringGrid::SelectCell(ACol, ARow);
    }
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override
    {
        drawn.emplace_back(ACol, ARow, AState);
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    void SetEditText(int ACol, int ARow, const QString &Value) override
    {
        edits.emplace_back(ACol, ARow, Value);
        TStringGrid::SetEditText(ACol, ARow, Value);
    }
};

void sendMouse(QWidget *w, QEvent::Type t, QPoint p, Qt::MouseButtons held = Qt::LeftButton)
{
    QMouseEvent e(t, QPointF(p), QPointF(w->mapToGlobal(p)), t == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

struct GridFixture : ::testing::Test
{
    TForm *form = new TForm(nullptr);
    TProbeGrid *grid = new TProbeGrid(form);
    void SetUp() override
    {
        form->SetBounds(0, 0, 600, 500);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 400, 250);
    }
    void TearDown() override { delete form; }
    QWidget *viewport() const { return grid->ClientWidget(); }
    // A grid of `rows` rows of 22 pixels whose client area is 250 pixels high.
    void tallGrid(int rows)
    {
        grid->SetDefaultRowHeight(22);
        grid->SetRowCount(rows);
        form->Show();
        QApplication::processEvents();
        grid->SetClientHeight(250);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(GridFixture, CountsKeepFixedCountsBelowThem)
{
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->FixedCols(), 1);

    grid->SetRowCount(1);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);
    grid->SetRowCount(0);
    EXPECT_EQ(grid->RowCount(), 1);
    grid->SetColCount(-3);
    EXPECT_EQ(grid->ColCount(), 1);
    EXPECT_EQ(grid->FixedCols(), 0);

    grid->SetRowCount(4);
    grid->SetColCount(4);
    try {
        grid->SetFixedRows(4);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperation &e) {
        EXPECT_EQ(e.Message(), "Fixed row count must be less than row count");
    }
    try {
        grid->SetFixedCols(4);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperation &e) {
        EXPECT_EQ(e.Message(), "Fixed column count must be less than column count");
    }
    EXPECT_THROW(grid->SetFixedRows(-1), EInvalidGridOperation);
    grid->SetFixedRows(3);
    EXPECT_EQ(grid->FixedRows(), 3);
    EXPECT_EQ(grid->Row(), 3);  // the current cell leaves the fixed rows
}

TEST_F(GridFixture, SizesFollowTheDefaults)
{
    EXPECT_EQ(grid->DefaultColWidth(), 64);
    EXPECT_EQ(grid->DefaultRowHeight(), 24);
    grid->SetRowHeights(2, 40);
    grid->SetColWidths(1, 10);
    grid->SetRowCount(8);
    EXPECT_EQ(grid->RowHeights(7), 24);  // new rows take the default
    EXPECT_EQ(grid->RowHeights(2), 40);
    grid->SetDefaultRowHeight(30);  // resets every row
    EXPECT_EQ(grid->RowHeights(2), 30);
    EXPECT_EQ(grid->RowHeights(7), 30);
    EXPECT_EQ(grid->ColWidths(1), 10);
    EXPECT_THROW(grid->SetColWidths(5, 10), EInvalidGridOperation);
}

TEST_F(GridFixture, CellsBeyondTheCountsAreKept)
{
    grid->SetColCount(5);
    grid->SetRowCount(10);
    TObject marker;
    grid->SetCells(3, 8, "x");
    grid->SetObjects(3, 8, &marker);
    grid->SetRowCount(3);
    grid->SetColCount(2);
    grid->SetRowCount(10);
    grid->SetColCount(5);
    EXPECT_EQ(grid->Cells(3, 8), "x");
    EXPECT_EQ(grid->Objects(3, 8), &marker);
    EXPECT_THROW(grid->SetCells(-1, 0, "y"), EInvalidGridOperation);
}

TEST_F(GridFixture, StoreGrowsWithWrittenCellsOnly)
{
    grid->SetColCount(100000);
    grid->SetRowCount(100000);
    grid->SetRowCount(5);
    grid->SetCells(99999, 99999, "far");
    grid->SetCells(1, 1, "near");
    grid->SetCells(2, 1, "gone");
    grid->SetCells(2, 1, "");
    EXPECT_EQ(grid->StoredCellCount(), 2u);
    EXPECT_EQ(grid->Cells(99999, 99999), "far");
}

TEST_F(GridFixture, DeleteRowMovesTheRowBeyondTheCount)
{
    TObject objs[5];
    const QStringList texts{"a", "b", "c", "d", "e"};
    for (int r = 0; r < 5; ++r) {
        grid->SetCells(1, r, texts[r]);
        grid->SetObjects(1, r, &objs[r]);
    }
    grid->SetRowHeights(1, 50);
    grid->DeleteRow(1);
    ASSERT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cols(1)->Text(), "a\r\nc\r\nd\r\ne\r\n");
    EXPECT_EQ(grid->Objects(1, 1), &objs[2]);
    EXPECT_EQ(grid->Cells(1, 4), "b");
    EXPECT_EQ(grid->Objects(1, 4), &objs[1]);
    EXPECT_EQ(grid->RowHeights(1), 24);  // the height went with its row
}

TEST_F(GridFixture, MovingColumnsAndRowsCarriesCellsSizesAndCurrentCell)
{
    for (int c = 0; c < 5; ++c)
        grid->SetCells(c, 2, QString::number(c));
    grid->SetColWidths(1, 11);
    grid->SetCol(1);
    std::vector<std::pair<int, int>> moved;
    grid->OnColumnMoved = [&](TObject *, int f, int t) { moved.emplace_back(f, t); };
    grid->MoveColumn(1, 3);
    EXPECT_EQ(grid->Rows(2)->CommaText(), "0,2,3,1,4");
    EXPECT_EQ(grid->ColWidths(3), 11);
    EXPECT_EQ(grid->Col(), 3);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0], std::make_pair(1, 3));

    grid->MoveColumn(4, 0);
    EXPECT_EQ(grid->Rows(2)->CommaText(), "4,0,2,3,1");
    EXPECT_EQ(grid->Col(), 4);

    grid->SetRow(1);
    grid->MoveRow(2, 1);
    EXPECT_EQ(grid->Cells(0, 1), "4");
    EXPECT_EQ(grid->Row(), 2);
    grid->DeleteColumn(0);
    EXPECT_EQ(grid->Rows(1)->CommaText(), "0,2,3,1");
    EXPECT_EQ(grid->Cells(4, 1), "4");
    EXPECT_THROW(grid->MoveRow(0, 5), EInvalidGridOperation);
}

TEST_F(GridFixture, RowsAndColsReadAndAssignCells)
{
    TObject o0, o1;
    grid->SetCells(0, 0, "h0");
    grid->SetCells(1, 0, "h1");
    grid->SetObjects(1, 0, &o1);
    grid->SetCells(4, 2, "old");
    grid->SetObjects(0, 2, &o0);
    grid->SetRows(2, grid->Rows(0));
    EXPECT_EQ(grid->Rows(2)->CommaText(), "h0,h1,,,");
    EXPECT_EQ(grid->Objects(1, 2), &o1);
    EXPECT_EQ(grid->Objects(0, 2), nullptr);

    // A shorter list leaves the rest of the row empty.
    TStringList short_;
    short_.SetCommaText("p,q");
    grid->Rows(2)->Assign(&short_);
    EXPECT_EQ(grid->Rows(2)->CommaText(), "p,q,,,");

    // A row and a column of the same grid overlap in one cell.
    grid->Cols(0)->Assign(grid->Rows(0));
    EXPECT_EQ(grid->Cols(0)->CommaText(), "h0,h1,,,");

    EXPECT_EQ(grid->Rows(3)->Add("first"), 0);
    EXPECT_EQ(grid->Cells(0, 3), "first");
    EXPECT_THROW(grid->Rows(3)->Insert(0, "x"), EInvalidGridOperation);
    EXPECT_THROW(grid->Rows(3)->Strings(5), EListError);
}

TEST_F(GridFixture, ScrollingToTheEndShowsTheLastRowWhole)
{
    tallGrid(100);
    ASSERT_EQ(grid->ClientHeight(), 250);
    sendKey(grid->Widget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 99);
    EXPECT_EQ(grid->TopRow(), grid->RowCount() - grid->VisibleRowCount());
    const TRect last = grid->CellRect(1, 99);
    EXPECT_FALSE(last.IsEmpty());
    EXPECT_LE(last.Bottom, 250);
    EXPECT_EQ(last.Height(), 22);
    auto *bar = static_cast<QAbstractScrollArea *>(grid->Widget())->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), grid->TopRow());
    EXPECT_EQ(bar->value(), grid->TopRow());

    EXPECT_TRUE(grid->CellRect(1, 5).IsEmpty());   // scrolled out above
    EXPECT_FALSE(grid->CellRect(1, 0).IsEmpty());  // fixed rows stay

    // The scroll bar drives the top row.
    bar->setValue(10);
    EXPECT_EQ(grid->TopRow(), 10);
    EXPECT_TRUE(grid->CellRect(1, 99).IsEmpty());
    grid->SetTopRow(500);  // beyond the rows: the last row at the top
    EXPECT_EQ(grid->TopRow(), 99);
}

TEST_F(GridFixture, BigGridGoesToItsLastCellAndPaintsOnlyWhatShows)
{
    // Scrolled before the scroll bars first show: they must not cut the last cell afterwards.
    form->Show();
    QApplication::processEvents();
    grid->SetColCount(1000);
    grid->SetRowCount(1000);
    int topLeftChanges = 0;
    grid->OnTopLeftChanged = [&](TObject *) { ++topLeftChanges; };
    sendKey(grid->Widget(), Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(grid->Col(), 999);
    EXPECT_EQ(grid->Row(), 999);
    EXPECT_GE(topLeftChanges, 1);
    EXPECT_EQ(grid->TopRow(), grid->RowCount() - grid->VisibleRowCount());
    EXPECT_EQ(grid->LeftCol(), grid->ColCount() - grid->VisibleColCount());
    const TRect last = grid->CellRect(999, 999);
    EXPECT_EQ(last.Height(), grid->DefaultRowHeight());
    EXPECT_EQ(last.Width(), grid->DefaultColWidth());
    auto *sa = static_cast<QAbstractScrollArea *>(grid->Widget());
    EXPECT_EQ(sa->verticalScrollBar()->maximum(), grid->TopRow());
    EXPECT_EQ(sa->horizontalScrollBar()->maximum(), grid->LeftCol());

    grid->SetFocus();
    grid->drawn.clear();
    viewport()->grab();
    size_t lastSeen = 0;
    for (auto &[c, r, s] : grid->drawn)
        if (c == 999 && r == 999) {
            ++lastSeen;
            EXPECT_TRUE(s.Contains(gdFocused));
        }
    EXPECT_EQ(lastSeen, 1u);
    EXPECT_LE(grid->drawn.size(), size_t((grid->VisibleColCount() + 2) * (grid->VisibleRowCount() + 2)));
}

TEST_F(GridFixture, MouseToCellFindsTheCellUnderAPoint)
{
    tallGrid(100);
    grid->SetTopRow(40);
    const TRect r = grid->CellRect(2, 42);
    ASSERT_FALSE(r.IsEmpty());
    int c = 0, row = 0;
    grid->MouseToCell(r.Left + 3, r.Top + 3, c, row);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(row, 42);
    grid->MouseToCell(5, 5, c, row);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(row, 0);
    // Right of the last column and outside the client area.
    grid->MouseToCell(5 * 65 + 10, 30, c, row);
    EXPECT_EQ(c, -1);
    grid->MouseToCell(-1, -1, c, row);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(row, -1);
    const TGridCoord g = grid->MouseCoord(10, 1000);
    EXPECT_EQ(g.Y, -1);
}

TEST_F(GridFixture, ArrowsMoveTheCurrentCellThroughSelectCell)
{
    tallGrid(30);
    QWidget *w = grid->Widget();
    sendKey(w, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    grid->refused.insert({1, 3});
    sendKey(w, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_THROW(grid->SetRow(50), EInvalidGridOperation);

    grid->refused.clear();
    sendKey(w, Qt::Key_Down, Qt::ShiftModifier);
    sendKey(w, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), GridRect(1, 2, 2, 3));
    sendKey(w, Qt::Key_Up);  // no Shift: the selection collapses
    EXPECT_EQ(grid->Selection(), GridRect(2, 2, 2, 2));

    grid->SetOptions(grid->Options() - goRangeSelect);
    sendKey(w, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), GridRect(2, 3, 2, 3));

    sendKey(w, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    sendKey(w, Qt::Key_Up);  // fixed rows are never current
    EXPECT_EQ(grid->Row(), 1);
    sendKey(w, Qt::Key_PageDown);
    EXPECT_EQ(grid->Row(), 1 + grid->VisibleRowCount());
}

TEST_F(GridFixture, WheelMovesTheCurrentRow)
{
    tallGrid(4);
    auto wheel = [&](int dy) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport(), &e);
    };
    wheel(-120);
    EXPECT_EQ(grid->Row(), 2);
    wheel(-240);
    EXPECT_EQ(grid->Row(), 3);  // the last row stops it
    wheel(120);
    EXPECT_EQ(grid->Row(), 2);
    bool asked = false;
    grid->OnMouseWheelUp = [&](TObject *, TShiftState, TPoint, bool &Handled) { asked = Handled = true; };
    wheel(120);
    EXPECT_TRUE(asked);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridFixture, PaintDrawsEveryVisibleCellWithItsState)
{
    tallGrid(100);
    grid->SetCol(2);
    grid->SetRow(3);
    grid->SetSelection(GridRect(1, 2, 2, 3));
    grid->drawn.clear();
    viewport()->grab();
    std::map<std::pair<int, int>, TGridDrawState> seen;
    for (auto &[c, r, s] : grid->drawn)
        seen[{c, r}] = s;
    auto state = [&](int c, int r) { return seen[{c, r}]; };
    const int rows = 1 + grid->VisibleRowCount() + 1;  // fixed, whole, one partly shown
    EXPECT_EQ(seen.size(), size_t(5 * rows));
    EXPECT_TRUE(state(0, 5).Contains(gdFixed));
    EXPECT_TRUE(state(3, 0).Contains(gdFixed));
    EXPECT_TRUE(state(1, 2).Contains(gdSelected));
    EXPECT_FALSE(state(3, 2).Contains(gdSelected));
    EXPECT_FALSE(state(2, 3).Contains(gdSelected));  // the current cell draws as focused instead
    // Default drawing: selection colour, and the lines in their own strips after each cell.
    const QImage img = viewport()->grab().toImage();
    auto pixel = [&](int x, int y) { return img.pixelColor(x, y).rgb(); };
    const TRect sel = grid->CellRect(1, 2), plain = grid->CellRect(3, 5), fixed = grid->CellRect(0, 5);
    EXPECT_EQ(pixel(sel.Left + 1, sel.Bottom - 2), ColorToQColor(clHighlight).rgb());
    EXPECT_EQ(pixel(plain.Right, plain.Top + 3), ColorToQColor(clSilver).rgb());
    EXPECT_EQ(pixel(plain.Left + 3, plain.Bottom), ColorToQColor(clSilver).rgb());
    EXPECT_EQ(pixel(fixed.Right, fixed.Top + 3), ColorToQColor(clGray).rgb());
    EXPECT_EQ(pixel(fixed.Left + 1, fixed.Top + 1), ColorToQColor(clBtnFace).rgb());

    grid->SetOptions(grid->Options() + goDrawFocusSelected);
    grid->drawn.clear();
    viewport()->grab();
    for (auto &[c, r, s] : grid->drawn)
        if (c == 2 && r == 3) {
            EXPECT_TRUE(s.Contains(gdSelected));
        }
}

TEST_F(GridFixture, TypedTextIsWrittenThroughSetEditText)
{
    tallGrid(30);
    grid->SetOptions(grid->Options() + goEditing);
    grid->SetCells(1, 1, "old");
    typeText(grid->Widget(), "4");
    ASSERT_TRUE(grid->EditorMode());
    QWidget *ed = grid->InplaceEditor()->Widget();
    typeText(ed, "2");
    EXPECT_EQ(grid->Cells(1, 1), "old");  // nothing written while typing
    sendKey(ed, Qt::Key_Return);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), "42");
    ASSERT_EQ(grid->edits.size(), 1u);
    EXPECT_EQ(grid->edits[0], std::make_tuple(1, 1, QString("42")));

    // Esc drops the typing.
    sendKey(grid->Widget(), Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "42");
    typeText(ed, "7");
    sendKey(ed, Qt::Key_Escape);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), "42");
    EXPECT_EQ(grid->edits.size(), 1u);

    // Moving away writes the text of the cell that was edited.
    sendKey(grid->Widget(), Qt::Key_F2);
    typeText(ed, "9");
    sendKey(ed, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(1, 1), "9");
}

TEST_F(GridFixture, EditorFollowsItsCellWhenTheGridScrolls)
{
    tallGrid(100);
    grid->SetOptions(grid->Options() + goEditing);
    grid->SetRow(5);
    grid->ShowEditor();
    TInplaceEdit *ed = grid->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->Top(), grid->CellRect(1, 5).Top);
    grid->SetTopRow(3);
    EXPECT_EQ(ed->Top(), grid->CellRect(1, 5).Top);
    EXPECT_TRUE(ed->Visible());
    grid->SetTopRow(20);  // its cell is out of view
    EXPECT_FALSE(ed->Visible());
    EXPECT_TRUE(grid->EditorMode());
    ed->SetText("kept");
    grid->SetTopRow(1);
    EXPECT_TRUE(ed->Visible());
    EXPECT_EQ(ed->Top(), grid->CellRect(1, 5).Top);
    grid->HideEditor();
    EXPECT_EQ(grid->Cells(1, 5), "kept");
}

TEST_F(GridFixture, HeaderDragsSizeAndMoveColumns)
{
    tallGrid(10);
    QWidget *vp = viewport();
    // Border of column 1 in the fixed row: without goColSizing the press selects nothing.
    const int border = grid->CellRect(1, 0).Right;
    sendMouse(vp, QEvent::MouseButtonPress, {border, 5});
    sendMouse(vp, QEvent::MouseButtonRelease, {border + 20, 5}, Qt::NoButton);
    EXPECT_EQ(grid->ColWidths(1), 64);

    grid->SetOptions(grid->Options() + goColSizing);
    sendMouse(vp, QEvent::MouseButtonPress, {border, 5});
    EXPECT_EQ(grid->GridState(), gsColSizing);
    sendMouse(vp, QEvent::MouseMove, {border + 20, 5});
    sendMouse(vp, QEvent::MouseButtonRelease, {border + 20, 5}, Qt::NoButton);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(grid->ColWidths(1), 84);

    grid->SetOptions(grid->Options() + goColMoving);
    grid->SetCells(1, 0, "A");
    const TRect third = grid->CellRect(3, 0);
    sendMouse(vp, QEvent::MouseButtonPress, {grid->CellRect(1, 0).Left + 10, 5});
    EXPECT_EQ(grid->GridState(), gsColMoving);
    sendMouse(vp, QEvent::MouseMove, {third.Left + 10, 5});
    sendMouse(vp, QEvent::MouseButtonRelease, {third.Left + 10, 5}, Qt::NoButton);
    EXPECT_EQ(grid->Cells(3, 0), "A");
    EXPECT_EQ(grid->ColWidths(3), 84);
}

TEST_F(GridFixture, SideDragsSizeAndMoveRows)
{
    tallGrid(10);
    QWidget *vp = viewport();
    grid->SetOptions(grid->Options() + goRowSizing + goRowMoving);
    const int border = grid->CellRect(0, 1).Bottom;
    sendMouse(vp, QEvent::MouseButtonPress, {5, border});
    EXPECT_EQ(grid->GridState(), gsRowSizing);
    sendMouse(vp, QEvent::MouseMove, {5, border + 10});
    sendMouse(vp, QEvent::MouseButtonRelease, {5, border + 10}, Qt::NoButton);
    EXPECT_EQ(grid->RowHeights(1), 32);

    grid->SetCells(0, 1, "A");
    const TRect third = grid->CellRect(0, 3);
    sendMouse(vp, QEvent::MouseButtonPress, {5, grid->CellRect(0, 1).Top + 5});
    EXPECT_EQ(grid->GridState(), gsRowMoving);
    sendMouse(vp, QEvent::MouseMove, {5, third.Top + 5});
    sendMouse(vp, QEvent::MouseButtonRelease, {5, third.Top + 5}, Qt::NoButton);
    EXPECT_EQ(grid->Cells(0, 3), "A");
    EXPECT_EQ(grid->RowHeights(3), 32);
}

TEST_F(GridFixture, TabsWrapAndRowSelectSelectsWholeRows)
{
    tallGrid(10);
    QWidget *w = grid->Widget();
    grid->SetOptions(grid->Options() + goTabs);
    grid->SetCol(4);
    sendKey(w, Qt::Key_Tab);  // past the last column: first column of the next row
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);
    sendKey(w, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->Col(), 4);
    EXPECT_EQ(grid->Row(), 1);

    grid->SetOptions(grid->Options() + goRowSelect);
    sendKey(w, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), GridRect(1, 1, 4, 2));
    grid->SetOptions(grid->Options() + goEditing);
    sendKey(w, Qt::Key_F2);
    EXPECT_FALSE(grid->EditorMode());  // whole rows are never edited
}

TEST_F(GridFixture, MouseDragSelectsARange)
{
    tallGrid(10);
    QWidget *vp = viewport();
    const TRect a = grid->CellRect(2, 2), b = grid->CellRect(3, 4);
    sendMouse(vp, QEvent::MouseButtonPress, {a.Left + 5, a.Top + 5});
    sendMouse(vp, QEvent::MouseMove, {b.Left + 5, b.Top + 5});
    sendMouse(vp, QEvent::MouseButtonRelease, {b.Left + 5, b.Top + 5}, Qt::NoButton);
    EXPECT_EQ(grid->Selection(), GridRect(2, 2, 3, 4));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(GridFixture, ClickOnTheCurrentCellOpensTheEditor)
{
    tallGrid(10);
    grid->SetOptions(grid->Options() + goEditing);
    grid->SetCells(2, 2, "text");
    const TRect r = grid->CellRect(2, 2);
    auto click = [&] {
        sendMouse(viewport(), QEvent::MouseButtonPress, {r.Left + 5, r.Top + 5});
        sendMouse(viewport(), QEvent::MouseButtonRelease, {r.Left + 5, r.Top + 5}, Qt::NoButton);
    };
    click();
    EXPECT_FALSE(grid->EditorMode());
    click();
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "text");
    EXPECT_EQ(grid->InplaceEditor()->SelLength(), 4);  // opened with its text selected
}

TEST(EditMaskTest, DelphiMasksBecomeQtInputMasks)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", ""},
        {"000;1;_", "999;_"},
        {"!99/99/0000;1;_", "00/00/9999;_"},
        {">LL-aa;0;*", ">AA-nn;*"},
        {"\\A0", "\\A9;_"},
        {"<>c", "!x;_"},
        {"(999)", "(000);_"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(EditMaskToInputMask(in), QString(out)) << in;
}

TEST(StringGridStore, MoveCellRowReplacesTheTargetAndEmptiesTheSource)
{
    TStringGrid g(nullptr);
    g.SetColCount(3);
    TObject a, b;
    g.SetCells(0, 1, "a0");
    g.SetCells(7, 1, "far");
    g.SetObjects(2, 1, &a);
    g.SetCells(1, 3, "old");
    g.SetObjects(0, 3, &b);
    g.MoveCellRow(1, 3);
    EXPECT_EQ(g.Cells(0, 3), "a0");
    EXPECT_EQ(g.Cells(7, 3), "far");
    EXPECT_EQ(g.Objects(2, 3), &a);
    EXPECT_EQ(g.Cells(1, 3), "");
    EXPECT_EQ(g.Objects(0, 3), nullptr);
    EXPECT_EQ(g.Cells(0, 1), "");
    EXPECT_EQ(g.Objects(2, 1), nullptr);
    // An empty source empties the target.
    g.MoveCellRow(2, 3);
    EXPECT_EQ(g.StoredCellCount(), 0u);
    EXPECT_THROW(g.MoveCellRow(-1, 0), EInvalidGridOperation);
}

// Reads keep the last row looked up: every kind of row change must be seen by the next read.
TEST(StringGridStore, ReadsSeeEveryRowChange)
{
    TStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(6);
    g.SetCells(0, 1, "one");
    EXPECT_EQ(g.Cells(0, 2), "");
    g.SetCells(0, 2, "two"); // a row that was looked up empty gets cells
    EXPECT_EQ(g.Cells(0, 2), "two");
    g.MoveCellRow(2, 4);
    EXPECT_EQ(g.Cells(0, 2), "");
    EXPECT_EQ(g.Cells(0, 4), "two");
    g.SetCells(0, 4, ""); // the row's last cell goes, and the row with it
    EXPECT_EQ(g.Cells(0, 4), "");
    EXPECT_EQ(g.Cells(0, 1), "one");
    g.MoveRow(1, 3);
    EXPECT_EQ(g.Cells(0, 1), "");
    EXPECT_EQ(g.Cells(0, 3), "one");
    g.MoveColumn(0, 2);
    EXPECT_EQ(g.Cells(2, 3), "one");
}
