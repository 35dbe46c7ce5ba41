// The two lists of the column filter drop-down, used with the keyboard and the mouse: the plain
// list chooses and closes, the check list stays open while values are ticked, and a press
// anywhere else closes either.
#include "../grid/GridFixture.h"
#include "framework/controls/Forms.h"
#include "tests/common/InputEvents.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace {

class TListGrid : public TTestGrid
{
public:
    explicit TListGrid(TComponent *AOwner) : TTestGrid(AOwner) {}
    using TProStringGrid::FFilterCol;
    using TProStringGrid::FilterCheckList;
    using TProStringGrid::FilterDropList;
    using TProStringGrid::GetColumnFilter;
};

class DropLists : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 420, 320);
        grid = new TListGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 420, 320);
        grid->SetColCount(3);
        const QStringList values = {"pine", "oak", "fir", "oak", "ash"};
        grid->SetRowCount(values.size() + 1);
        for (int i = 0; i < values.size(); ++i)
            grid->SetCells(1, i + 1, values[i]);
        grid->SetFilterDropDownAuto(true);
        form.Show();
        QApplication::processEvents();
    }

    // Shows the list for column 1 below its header, focused, as a click on the filter button does.
    void Open(TListBox *list)
    {
        ASSERT_TRUE(grid->GetColumnFilter(1));
        list->Items()->Assign(grid->FilterList());
        list->SetBounds(150, 20, 150, 150);
        list->SetVisible(true);
        list->SetFocus();
        grid->FFilterCol = 1;
        open = list;
        QApplication::processEvents();
    }

    // The value's place in the open list (the grid's own list of values follows its painting).
    int Entry(const QString &value) const { return open->Items()->IndexOf(value); }

    QStringList Shown() const
    {
        QStringList out;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            out << grid->Cells(1, r);
        return out;
    }

    static QPoint ItemCentre(TListBox *list, int index) { return list->List()->visualItemRect(list->List()->item(index)).center(); }

    // Where the item's check box is drawn.
    static QPoint CheckBoxOf(TListBox *list, int index)
    {
        QListWidget *w = list->List();
        QStyleOptionViewItem opt;
        opt.initFrom(w->viewport());
        opt.rect = w->visualItemRect(w->item(index));
        opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        opt.text = w->item(index)->text();
        return w->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, w).center();
    }

    // A press and release on the grid, well away from the list.
    void ClickGridOutside() { mouseClick(grid->ClientWidget(), QPoint(20, 250)); }

    TForm form{nullptr};
    TListGrid *grid = nullptr;
    TListBox *open = nullptr;
};

} // namespace

TEST_F(DropLists, EnterChoosesTheSelectedValueAndCloses)
{
    TDropList *list = grid->FilterDropList();
    Open(list);
    list->SetItemIndex(Entry("ash"));
    std::vector<int> chosen;
    TDropSelectEvent toGrid = list->OnSelect;
    list->OnSelect = [&](TObject *Sender, int ItemIndex) {
        chosen.push_back(ItemIndex);
        toGrid(Sender, ItemIndex);
    };
    // The arrow keys move in the list first; the list stays open.
    sendKey(list->Widget(), Qt::Key_Down);
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(list->ItemIndex(), Entry("fir"));
    EXPECT_TRUE(chosen.empty());

    sendKey(list->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(chosen, std::vector<int>({Entry("fir")}));
    EXPECT_EQ(grid->FFilterCol, -1);
    EXPECT_EQ(Shown(), QStringList({"fir"}));
}

TEST_F(DropLists, AClickChoosesTheClickedValueAndCloses)
{
    TDropList *list = grid->FilterDropList();
    Open(list);
    mouseClick(list->List()->viewport(), ItemCentre(list, Entry("oak")));
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(grid->FFilterCol, -1);
    EXPECT_EQ(Shown(), QStringList({"oak", "oak"}));
}

TEST_F(DropLists, APressOutsideClosesWithoutChoosing)
{
    TDropList *list = grid->FilterDropList();
    Open(list);
    int selects = 0;
    list->OnSelect = [&](TObject *, int) { ++selects; };
    ClickGridOutside();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(grid->FFilterCol, -1);
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(Shown().size(), 5);
}

TEST_F(DropLists, TheCheckListStaysOpenWhileValuesAreTicked)
{
    TDropCheckList *list = grid->FilterCheckList();
    Open(list);
    std::vector<int> selects;
    TDropSelectEvent toGrid = list->OnSelect;
    list->OnSelect = [&](TObject *Sender, int ItemIndex) {
        selects.push_back(ItemIndex);
        toGrid(Sender, ItemIndex);
    };

    mouseClick(list->List()->viewport(), CheckBoxOf(list, Entry("pine")));
    EXPECT_TRUE(list->Checked(Entry("pine")));
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(grid->FFilterCol, 1);
    EXPECT_EQ(Shown(), QStringList({"pine"}));

    // The space bar ticks the current value.
    list->SetItemIndex(Entry("ash"));
    sendKey(list->Widget(), Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_TRUE(list->Checked(Entry("ash")));
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(Shown(), QStringList({"pine", "ash"}));

    // Enter and a click on a value's text neither close the list nor tick.
    sendKey(list->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    mouseClick(list->List()->viewport(), ItemCentre(list, Entry("oak")) + QPoint(30, 0));
    EXPECT_TRUE(list->Visible());
    EXPECT_FALSE(list->Checked(Entry("oak")));
    EXPECT_EQ(selects, std::vector<int>({-1, -1}));

    // Ticking from the program is no tick of the user's.
    list->SetChecked(Entry("fir"), true);
    EXPECT_EQ(selects.size(), 2u);

    ClickGridOutside();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(grid->FFilterCol, -1);
    EXPECT_EQ(Shown(), QStringList({"pine", "ash"}));
}
