// The strip button on its own: its size, its background, its colours by state, hover, groups.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "editors/ProButton.h"
#include "editors/ProDropDownStrips.h"

#include <QCursor>
#include <QImage>
#include <QRegion>
#include <QWidget>

namespace {

// A form with a red-to-blue header strip (no edit) holding the buttons.
struct StripButtons : ::testing::Test
{
    TForm *form = nullptr;
    TProHeader *strip = nullptr;
    TProButtonAppearance look;

    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 120);
        strip = new TProHeader(form);
        strip->SetParent(form);
        strip->SetBounds(0, 0, 300, 40);
        strip->Appearance()->SetColor(clRed);
        strip->Appearance()->SetColorTo(clBlue);
        form->Show();
        settle();
    }
    void TearDown() override { delete form; }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    TProButton *button(int left, TProButtonAppearance *appearance)
    {
        auto *b = new TProButton(strip);
        b->SetParent(strip);
        b->SetBounds(left, 8, 40, 24);
        b->SetAppearance(appearance);
        return b;
    }
};

}  // namespace

TEST_F(StripButtons, SizeToContentHoldsTheCaptionAndTheImageWithAMargin)
{
    TCustomImageList images(16, 16);
    TBitmap bmp(16, 16);
    images.Add(&bmp, nullptr);
    TProButton *b = button(0, &look);
    b->SetImages(&images);
    TBitmap probe(10, 10);
    probe.Canvas()->Font()->Assign(look.Font());
    struct Case
    {
        const char *caption;
        int imageIndex;
    };
    for (const Case &c : {Case{"", 0}, Case{"Apply", 0}, Case{"A longer caption", 0}, Case{"Apply", -1}}) {
        SCOPED_TRACE(c.caption);
        b->SetCaption(QString::fromLatin1(c.caption));
        b->SetImageIndex(c.imageIndex);
        b->SizeToContent();
        TSize text{0, 0};
        GetTextExtent(probe.Canvas(), b->Caption(), text);
        const int image = c.imageIndex >= 0 ? 16 : 0;
        EXPECT_EQ(b->Width(), std::max<int>(text.cx, image) + 8);
        EXPECT_EQ(b->Height(), std::max<int>(text.cy, image) + 4);
    }
    // The caption's size: a 13-pixel-high caption next to a 16-pixel image gives 20.
    b->SetCaption(QStringLiteral("Apply"));
    b->SetImageIndex(0);
    b->SizeToContent();
    TSize text{0, 0};
    GetTextExtent(probe.Canvas(), b->Caption(), text);
    ASSERT_LE(text.cy, 16);
    EXPECT_EQ(b->Height(), 20);
}

TEST_F(StripButtons, WithoutAnAppearanceOnlyTheParentShows)
{
    TProButton *bare = button(10, nullptr);
    TProButtonAppearance lime;
    lime.SetColor(clLime);
    lime.SetBorderColor(clNone);
    TProButton *coloured = button(100, &lime);
    settle();
    // The strip alone: a grab with its children would hold the buttons' own painting.
    QImage parent(strip->Width(), strip->Height(), QImage::Format_ARGB32);
    parent.fill(Qt::black);
    strip->Widget()->render(&parent, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QImage own = bare->Widget()->grab().toImage();
    ASSERT_NE(parent.pixel(10, 8), parent.pixel(10, 31)) << "the strip's gradient runs from top to bottom";
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(own.pixel(x, y) & 0xFFFFFF, parent.pixel(10 + x, 8 + y) & 0xFFFFFF) << x << "," << y;
    EXPECT_EQ(shownPixel(coloured->Widget(), 20, 12), clLime);
}

TEST_F(StripButtons, ColoursFollowTheState)
{
    look.SetColor(clWhite);
    look.SetBorderColor(clBlack);
    TProButton *b = button(10, &look);
    settle();
    QWidget *w = b->Widget();
    EXPECT_EQ(shownPixel(w, 20, 12), clWhite);
    EXPECT_EQ(shownPixel(w, 0, 12), clBlack);

    // Hover, kept by the timer while the cursor stays, dropped once it has gone.
    mouseEnter(w, QPoint(5, 5));
    EXPECT_TRUE(b->Hot());
    EXPECT_TRUE(b->UnHotTimer()->Enabled());
    EXPECT_EQ(shownPixel(w, 20, 12), rgbOf(look.ColorHot()));
    EXPECT_EQ(shownPixel(w, 0, 12), rgbOf(look.BorderColorHot()));
    TMessage tick;
    tick.Msg = WM_TIMER;
    QCursor::setPos(w->mapToGlobal(QPoint(5, 5)));
    b->UnHotTimer()->WndProc(tick);
    EXPECT_TRUE(b->Hot());
    QCursor::setPos(w->mapToGlobal(QPoint(80, 5)));
    b->UnHotTimer()->WndProc(tick);
    EXPECT_FALSE(b->Hot());
    EXPECT_FALSE(b->UnHotTimer()->Enabled());
    EXPECT_EQ(shownPixel(w, 20, 12), clWhite);

    // Pressed while over it.
    mouseEnter(w, QPoint(5, 5));
    mousePress(w, QPoint(5, 5));
    EXPECT_EQ(shownPixel(w, 20, 12), rgbOf(look.ColorDown()));
    EXPECT_EQ(shownPixel(w, 0, 12), rgbOf(look.BorderColorDown()));
    mouseRelease(w, QPoint(5, 5));
    mouseLeave(w);

    // Down in a group shows the checked colours; disabled the disabled ones.
    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(shownPixel(w, 20, 12), rgbOf(look.ColorChecked()));
    EXPECT_EQ(shownPixel(w, 0, 12), rgbOf(look.BorderColorChecked()));
    b->SetEnabled(false);
    EXPECT_EQ(shownPixel(w, 20, 12), rgbOf(look.ColorDisabled()));
    EXPECT_EQ(b->State(), absDisabled);
    b->SetEnabled(true);
    b->Repaint();
    EXPECT_EQ(b->State(), absExclusive);
}

TEST_F(StripButtons, PressingTheSecondOfAGroupReleasesTheFirst)
{
    TProButton *first = button(10, &look), *second = button(60, &look), *other = button(110, &look);
    for (TProButton *b : {first, second})
        b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    mouseClick(first->Widget(), QPoint(5, 5));
    EXPECT_TRUE(first->Down());
    mouseClick(second->Widget(), QPoint(5, 5));
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->State(), absUp);
    EXPECT_TRUE(other->Down());
    // Without AllowAllUp a down button stays down.
    mouseClick(second->Widget(), QPoint(5, 5));
    EXPECT_TRUE(second->Down());
    second->SetAllowAllUp(true);
    mouseClick(second->Widget(), QPoint(5, 5));
    EXPECT_FALSE(second->Down());

    // A plain push button never stays down; a check button toggles.
    TProButton *push = button(160, &look), *check = button(210, &look);
    check->SetStyle(tasCheck);
    push->SetDown(true);
    EXPECT_FALSE(push->Down());
    mouseClick(check->Widget(), QPoint(5, 5));
    EXPECT_TRUE(check->Down());
    mouseClick(check->Widget(), QPoint(5, 5));
    EXPECT_FALSE(check->Down());
}

TEST_F(StripButtons, AReleaseOutsideIsNoClick)
{
    TProButton *b = button(10, &look);
    int clicks = 0;
    b->OnClick = [&](TObject *) { ++clicks; };
    mousePress(b->Widget(), QPoint(5, 5));
    mouseMove(b->Widget(), QPoint(80, 5), Qt::LeftButton);
    EXPECT_EQ(b->State(), absUp);
    mouseRelease(b->Widget(), QPoint(80, 5));
    EXPECT_EQ(clicks, 0);
    mouseClick(b->Widget(), QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(ButtonAppearance, DefaultsAssignAndChangeNotices)
{
    TProButtonAppearance a;
    EXPECT_EQ(a.ColorChecked(), TColor(0xF5D8CA));
    EXPECT_EQ(a.ColorCheckedTo(), TColor(0xF9BDA0));
    EXPECT_EQ(a.Font()->Name(), QStringLiteral("Tahoma"));
    int changes = 0;
    a.OnChange = [&](TObject *) { ++changes; };
    a.SetColorHot(clRed);
    a.SetColorHot(clRed);
    a.SetGradient(gdHorizontal);
    EXPECT_EQ(changes, 2);

    TProButtonAppearance b;
    b.Font()->SetSize(20);
    b.Assign(&a);
    EXPECT_EQ(b.ColorHot(), clRed);
    EXPECT_EQ(b.Gradient(), gdHorizontal);
    EXPECT_NE(b.Font()->Size(), a.Font()->Size()) << "the font is not copied";
}
