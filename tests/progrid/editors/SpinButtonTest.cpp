// The spin button: its layout, glyphs, auto-repeating arrows, focus and keys, and the looks of
// its arrows.
#include "editors/psgspin.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/UiSeam.h"
#include "framework/graphics/Themes.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"
#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct SpinButtonTest : ::testing::Test
{
    TForm form{nullptr};
    TPsgSpinButton *spin = nullptr;
    int ups = 0, downs = 0;

    void SetUp() override
    {
        form.SetBounds(0, 0, 200, 120);
        spin = new TPsgSpinButton(&form);
        spin->SetParent(&form);
        spin->SetBounds(10, 10, 15, 25);
        spin->OnUpClick = [this](TObject *) { ++ups; };
        spin->OnDownClick = [this](TObject *) { ++downs; };
    }

    QWidget *up() const { return spin->UpButton()->Widget(); }
    QWidget *down() const { return spin->DownButton()->Widget(); }

    static TTimer *repeatTimer(TProTimerSpeedButton *b)
    {
        for (int i = 0; i < b->ComponentCount(); ++i)
            if (auto *t = dynamic_cast<TTimer *>(b->Components(i)))
                return t;
        return nullptr;
    }

    static void tick(TTimer *t)
    {
        TMessage m;
        m.Msg = WM_TIMER;
        t->WndProc(m);
    }

    static QColor pixel(TControl *c, int x, int y) { return c->Widget()->grab().toImage().pixelColor(x, y); }
};

TEST_F(SpinButtonTest, WidthHasALowerBoundByDirectionAndTheArrowsShareTheSize)
{
    struct Case
    {
        TSpinDirection dir;
        int width, height;
        int wantWidth;
    };
    const Case cases[] = {
        {spVertical, 10, 25, 15}, {spHorizontal, 12, 25, 20}, {spVertical, 30, 7, 30}, {spHorizontal, 41, 9, 41}};
    for (const Case &c : cases) {
        spin->SetDirection(c.dir);
        spin->SetBounds(10, 10, c.width, c.height);
        EXPECT_EQ(spin->Width(), c.wantWidth) << c.dir << " " << c.width;
        EXPECT_EQ(spin->Height(), c.height) << "the height is not constrained";
    }

    spin->SetDirection(spVertical);
    spin->SetBounds(0, 0, 15, 25);
    // Up on top with half the height, down from one pixel above the middle to the bottom.
    EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect(0, 0, 15, 12));
    EXPECT_EQ(spin->DownButton()->BoundsRect(), Rect(0, 11, 15, 25));

    spin->SetDirection(spHorizontal);
    EXPECT_EQ(spin->Width(), 20);
    EXPECT_EQ(spin->DownButton()->BoundsRect(), Rect(0, 0, 10, 25));
    EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect(11, 0, 21, 25));
    EXPECT_EQ(spin->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(spin->DownButton()->ButtonDirection(), bdLeft);

    spin->SetDirection(spVertical);
    EXPECT_EQ(spin->Width(), 15);
    EXPECT_EQ(spin->UpButton()->ButtonDirection(), bdUp);
    EXPECT_EQ(spin->DownButton()->ButtonDirection(), bdDown);
}

TEST_F(SpinButtonTest, BuiltInArrowsAreBlackTrianglesOnOliveAndComeBackWhenTheGlyphIsCleared)
{
    TBitmap *g = spin->UpGlyph();
    ASSERT_EQ(g->Width(), 9);
    ASSERT_EQ(g->Height(), 6);
    EXPECT_EQ(g->TransparentColor(), clOlive);
    // Up: one pixel at the top, seven at the bottom, on rows 1 to 4.
    EXPECT_EQ(g->Canvas()->Pixels(4, 1), clBlack);
    EXPECT_EQ(g->Canvas()->Pixels(3, 1), clOlive);
    EXPECT_EQ(g->Canvas()->Pixels(1, 4), clBlack);
    EXPECT_EQ(g->Canvas()->Pixels(7, 4), clBlack);
    EXPECT_EQ(g->Canvas()->Pixels(0, 4), clOlive);
    EXPECT_EQ(g->Canvas()->Pixels(4, 0), clOlive);
    EXPECT_EQ(g->Canvas()->Pixels(4, 5), clOlive);
    TBitmap *d = spin->DownGlyph();
    EXPECT_EQ(d->Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(d->Canvas()->Pixels(4, 4), clBlack);
    EXPECT_EQ(d->Canvas()->Pixels(3, 4), clOlive);

    TBitmap two(18, 6);
    two.Canvas()->Brush()->SetColor(clRed);
    two.Canvas()->FillRect(Rect(0, 0, 18, 6));
    spin->SetDownGlyph(&two);
    spin->SetDownNumGlyphs(2);
    EXPECT_EQ(spin->DownGlyph()->Width(), 18);
    spin->SetDownGlyph(nullptr);
    EXPECT_EQ(spin->DownGlyph()->Width(), 9);
    EXPECT_EQ(spin->DownNumGlyphs(), 1);
    EXPECT_EQ(spin->DownGlyph()->Canvas()->Pixels(4, 4), clBlack);

    TBitmap none;
    EXPECT_FALSE(LoadSpinGlyph(QStringLiteral("PsgSpinSideways"), &none));
}

TEST_F(SpinButtonTest, HeldArrowRepeatsAfter400AndThenEvery100MillisecondsWhileDownAndCaptured)
{
    form.Show();
    mousePress(up(), QPoint(5, 5));
    TTimer *t = repeatTimer(spin->UpButton());
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 400u);
    EXPECT_EQ(ups, 0) << "a press alone clicks nothing";

    tick(t);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(t->Interval(), 100u);
    tick(t);
    EXPECT_EQ(ups, 2);

    // Dragged off the arrow, the arrow is up: ticks click nothing until it comes back.
    mouseMove(up(), QPoint(60, 60), Qt::LeftButton);
    tick(t);
    EXPECT_EQ(ups, 2);
    mouseMove(up(), QPoint(5, 5), Qt::LeftButton);
    tick(t);
    EXPECT_EQ(ups, 3);

    // The release clicks once more, as a speed button does, and stops the repeats.
    mouseRelease(up(), QPoint(5, 5));
    EXPECT_EQ(ups, 4);
    EXPECT_FALSE(t->Enabled());
    tick(t);
    EXPECT_EQ(ups, 4);
    EXPECT_EQ(downs, 0);

    // Without the mouse capture the arrow no longer counts as held.
    mousePress(down(), QPoint(5, 5));
    TTimer *dt = repeatTimer(spin->DownButton());
    ASSERT_NE(dt, nullptr);
    tick(dt);
    EXPECT_EQ(downs, 1);
    spin->DownButton()->SetMouseCapture(false);
    tick(dt);
    EXPECT_EQ(downs, 1);
    mouseRelease(down(), QPoint(5, 5));
}

TEST_F(SpinButtonTest, RepeatedClickThatRaisesStopsTheTimerAndPassesTheErrorOn)
{
    form.Show();
    spin->OnUpClick = [](TObject *) { throw EConvertError(QStringLiteral("step failed")); };
    mousePress(up(), QPoint(5, 5));
    TTimer *t = repeatTimer(spin->UpButton());
    ASSERT_NE(t, nullptr);
    EXPECT_THROW(tick(t), EConvertError);
    EXPECT_FALSE(t->Enabled());
    EXPECT_FALSE(spin->UpButton()->MouseCapture());
    TUiScript ui;
    mouseRelease(up(), QPoint(5, 5));  // the release's own click fails too, reported in a box
    EXPECT_EQ(ui.Messages(), QStringList{QStringLiteral("step failed.")});
}

TEST_F(SpinButtonTest, PressingAnArrowFocusesTheFocusControlWhichIsForgottenWhenFreed)
{
    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(40, 10, 80, 21);
    auto *other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(40, 40, 80, 21);
    spin->SetFocusControl(edit);
    form.Show();
    QCoreApplication::processEvents();
    other->SetFocus();
    ASSERT_TRUE(other->Focused());

    mouseClick(down(), QPoint(5, 5));
    EXPECT_TRUE(edit->Focused());
    EXPECT_FALSE(spin->Focused()) << "without TabStop the spin button never takes the focus";
    EXPECT_EQ(downs, 1);

    delete edit;
    EXPECT_EQ(spin->FocusControl(), nullptr);
    mouseClick(up(), QPoint(5, 5));
    EXPECT_EQ(ups, 1);
}

TEST_F(SpinButtonTest, KeysClickTheFocusedArrowWhichCarriesTheFocusMark)
{
    spin->SetTabStop(true);
    form.Show();
    QCoreApplication::processEvents();
    spin->SetFocus();
    ASSERT_TRUE(spin->Focused());
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
    EXPECT_TRUE(spin->UpButton()->TimeBtnState().Contains(tbFocusRect));

    sendKey(spin->Widget(), Qt::Key_Down);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
    EXPECT_TRUE(spin->DownButton()->TimeBtnState().Contains(tbFocusRect));
    EXPECT_FALSE(spin->UpButton()->TimeBtnState().Contains(tbFocusRect));

    sendKey(spin->Widget(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(downs, 2);
    sendKey(spin->Widget(), Qt::Key_Up);
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(spin->Focused()) << "the arrow keys stay with the spin button";

    // A press makes the pressed arrow the focused one.
    mouseClick(down(), QPoint(5, 5));
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());

    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetFocus();
    EXPECT_FALSE(spin->DownButton()->TimeBtnState().Contains(tbFocusRect));
    EXPECT_TRUE(spin->DownButton()->TimeBtnState().Contains(tbAllowTimer));
}

TEST_F(SpinButtonTest, ArrowsPaintInTheButtonColoursOrInHighContrast)
{
    form.Show();
    QCoreApplication::processEvents();
    TProTimerSpeedButton *a = spin->UpButton();  // 15 x 12, pointing up

    // Built-in glyph: centred, its olive left out.
    EXPECT_EQ(pixel(a, 7, 4), QColor(Qt::black));
    EXPECT_NE(pixel(a, 3, 3), QColor(0x80, 0x80, 0x00));
    EXPECT_EQ(pixel(a, 3, 3), pixel(a, 1, 6)) << "the button face";

    spin->SetButtonColor(clRed);
    spin->SetButtonColorHot(clLime);
    spin->SetButtonColorDown(clBlue);
    EXPECT_EQ(pixel(a, 1, 1), QColor(Qt::red));
    EXPECT_EQ(pixel(a, 6, 3), QColor(Qt::black)) << "the arrow's tip";
    EXPECT_EQ(pixel(a, 11, 9), QColor(Qt::red));
    mouseEnter(a->Widget());
    EXPECT_TRUE(a->HasMouse());
    EXPECT_EQ(pixel(a, 1, 1), QColor(Qt::green));
    mousePress(a->Widget(), QPoint(5, 5));
    EXPECT_EQ(pixel(a, 1, 1), QColor(Qt::blue));
    mouseRelease(a->Widget(), QPoint(5, 5));
    mouseLeave(a->Widget());
    EXPECT_FALSE(a->HasMouse());
    EXPECT_EQ(pixel(a, 1, 1), QColor(Qt::red));

    SetHighContrastActive(true);
    const QColor bg = pixel(a, 1, 1), tip = pixel(a, 15 - 7, 4);
    SetHighContrastActive(false);
    EXPECT_EQ(bg, QColor(Qt::black));
    EXPECT_EQ(tip, QColor(Qt::white));
}

}  // namespace
