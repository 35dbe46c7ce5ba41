#pragma once
// A grid shown on a form, its scroll bars and the mouse input that reaches them.
#include "framework/controls/Forms.h"
#include "framework/controls/Messages.h"
#include "framework/controls/StdCtrls.h"
#include "tests/common/InputEvents.h"
#include "tests/progrid/grid/GridFixture.h"
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

class TScrollGrid : public TTestGrid
{
public:
    explicit TScrollGrid(TComponent *AOwner) : TTestGrid(AOwner) {}
    using TProStringGrid::CellScrollBar;
    using TProStringGrid::CreateCellGraphic;
    using TProStringGrid::FScrollCol;
    using TProStringGrid::FScrollRow;
};

class ScrollTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 800, 600);
        grid = new TScrollGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 500, 300);
        form.Show();
    }

    QScrollBar *bar(bool vertical) const { return static_cast<QScrollBar *>(grid->ScrollBarWidget(vertical)); }

    // Where the style puts a part of a bar (thumb, arrows) now.
    static QRect part(QScrollBar *b, QStyle::SubControl sc)
    {
        QStyleOptionSlider opt;
        opt.initFrom(b);
        opt.subControls = QStyle::SC_All;
        opt.orientation = b->orientation();
        opt.minimum = b->minimum();
        opt.maximum = b->maximum();
        opt.sliderPosition = b->sliderPosition();
        opt.sliderValue = b->value();
        opt.singleStep = b->singleStep();
        opt.pageStep = b->pageStep();
        return b->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, b);
    }

    QWidget *client() const { return grid->ClientWidget(); }

    TForm form{nullptr};
    TScrollGrid *grid = nullptr;
};
