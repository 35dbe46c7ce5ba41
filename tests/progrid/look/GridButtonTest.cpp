// The grid's speed button, check box, popup windows, alpha mask and blur.
#include "grid/core/ProGridButton.h"

#include "framework/controls/Forms.h"
#include "framework/rtl/Exceptions.h"
#include "tests/common/TestSupport.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{
void sendMouse(QWidget *w, QEvent::Type type, QPoint p)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void click(TControl *c, QPoint p = {5, 5})
{
    sendMouse(c->Widget(), QEvent::MouseButtonPress, p);
    sendMouse(c->Widget(), QEvent::MouseButtonRelease, p);
}

struct ButtonForm : ::testing::Test
{
    TForm *form = new TForm(nullptr);
    TProGridButton *add(int group = 0)
    {
        auto *b = new TProGridButton(form);
        b->SetParent(form);
        b->SetGroupIndex(group);
        return b;
    }
    void TearDown() override { delete form; }
};

TColor pixel(TBitmap &b, int x, int y) { return b.Canvas()->Pixels(x, y); }
} // namespace

TEST_F(ButtonForm, PlainButtonNeverStaysDown)
{
    TProGridButton *b = add();
    EXPECT_EQ(b->Width(), 22);
    EXPECT_EQ(b->Height(), 23);
    b->SetDown(true);
    EXPECT_FALSE(b->Down());
    int clicks = 0;
    b->OnClick = [&](TObject *) { ++clicks; };
    click(b);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), bsUp);
    // Released outside: no click.
    sendMouse(b->Widget(), QEvent::MouseButtonPress, {5, 5});
    sendMouse(b->Widget(), QEvent::MouseButtonRelease, {50, 5});
    EXPECT_EQ(clicks, 1);

    // A check-style button flips on every click.
    b->SetStyle(tasCheck);
    click(b);
    EXPECT_TRUE(b->Down());
    click(b);
    EXPECT_FALSE(b->Down());
}

TEST_F(ButtonForm, GroupKeepsOneButtonDown)
{
    TProGridButton *a = add(1), *b = add(1), *c = add(1), *other = add(2);
    other->SetDown(true);
    a->SetDown(true);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), bsExclusive);
    click(b);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(c->Down());
    EXPECT_TRUE(other->Down()); // another group
    c->SetDown(true);
    EXPECT_FALSE(b->Down());
    // Without AllowAllUp a down button cannot be let up, by code or by a click.
    c->SetDown(false);
    EXPECT_TRUE(c->Down());
    click(c);
    EXPECT_TRUE(c->Down());
    // AllowAllUp spreads through the group.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(c->AllowAllUp());
    c->SetDown(false);
    EXPECT_FALSE(c->Down());
}

TEST_F(ButtonForm, MarginBelowMinusOneIsIgnored)
{
    TProGridButton *b = add();
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(3);
    EXPECT_EQ(b->Margin(), 3);
    b->SetMargin(-1);
    EXPECT_EQ(b->Margin(), -1);
}

TEST_F(ButtonForm, LooksSetTheirColoursAndOthersChangeNothing)
{
    TProGridButton *b = add();
    b->SetLook(2);
    const TColor before[] = {b->Color(), b->ColorTo(), b->ColorHot(), b->ColorHotTo(), b->ColorDown(),
                             b->ColorDownTo(), b->ColorChecked(), b->ColorCheckedTo(), b->BorderDownColor(),
                             b->BorderHotColor(), b->BorderColor()};
    EXPECT_EQ(b->Color(), 0xFDEADA);
    EXPECT_EQ(b->ColorTo(), 0xE4AE88);
    EXPECT_EQ(b->ColorCheckedTo(), 0x55ADFF);
    EXPECT_EQ(b->BorderHotColor(), 0x000000);
    for (int look : {7, -1, 100}) {
        b->SetLook(look);
        const TColor after[] = {b->Color(), b->ColorTo(), b->ColorHot(), b->ColorHotTo(), b->ColorDown(),
                                b->ColorDownTo(), b->ColorChecked(), b->ColorCheckedTo(), b->BorderDownColor(),
                                b->BorderHotColor(), b->BorderColor()};
        EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after))) << look;
        EXPECT_EQ(b->Look(), 2);
    }
    b->SetLook(0);
    EXPECT_TRUE(b->Rounded());
    EXPECT_EQ(b->BorderDownColor(), 0xAF987A);
    EXPECT_EQ(b->BorderHotColor(), 0xC3CECE);
    b->SetLook(4);
    EXPECT_FALSE(b->Rounded());
    EXPECT_EQ(b->Color(), 0xECE2E1);
    EXPECT_EQ(b->ColorHot(), 0xCCF4FF);
}

TEST_F(ButtonForm, ThemeAdaptationTakesTheClassicLook)
{
    EXPECT_EQ(CurrentOfficeTheme(), ot2003Classic);
    EXPECT_EQ(GetXPColorScheme(), 0);
    TProGridButton *b = add();
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->Look(), 1);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->ColorHot(), 0xEED2C1);
    EXPECT_EQ(b->ColorDown(), 0xE2B598);
    EXPECT_EQ(b->BorderHotColor(), 0xC56A31);
    // A theme change message adapts it again.
    b->SetLook(6);
    b->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(b->Look(), 1);
}

TEST_F(ButtonForm, DisabledGlyphIsAGreyedCopy)
{
    TProGridButton *b = add();
    TBitmap glyph(2, 1);
    glyph.Canvas()->SetPixels(0, 0, clWhite);
    glyph.Canvas()->SetPixels(1, 0, TColor(RGB(30, 60, 90)));
    b->SetGlyph(&glyph);
    ASSERT_FALSE(b->GlyphDisabled()->Empty());
    EXPECT_EQ(pixel(*b->GlyphDisabled(), 0, 0), 0xDFDFDF);
    EXPECT_EQ(pixel(*b->GlyphDisabled(), 1, 0), 0x7E7E7E); // (180 / 3) / 2 + 96 = 126
    // The shade glyph: the silhouette in grey on the glyph's transparent colour.
    TBitmap g2(3, 3);
    g2.Canvas()->Brush()->SetColor(clFuchsia);
    g2.Canvas()->FillRect(Rect(0, 0, 3, 3));
    g2.Canvas()->SetPixels(1, 1, clBlue);
    b->SetGlyph(&g2);
    b->SetShaded(true);
    EXPECT_EQ(pixel(*b->GlyphShade(), 1, 1), 0x808080);
    EXPECT_EQ(pixel(*b->GlyphShade(), 0, 0), clFuchsia);
}

TEST_F(ButtonForm, LayoutPlacesGlyphAndCaption)
{
    TProGridButton *b = add();
    b->SetBounds(0, 0, 100, 30);
    TBitmap glyph(16, 16);
    b->SetGlyph(&glyph);
    b->SetCaption(QString());
    TPoint g;
    TRect t;
    b->CalcLayout(g, t);
    EXPECT_EQ(g.X, 42); // centred: (100 - 16 + 1) div 2
    EXPECT_EQ(g.Y, 7);
    b->SetCaption(QStringLiteral("Find"));
    b->SetMargin(5);
    b->CalcLayout(g, t);
    EXPECT_EQ(g.X, 5);
    EXPECT_EQ(t.Left, 5 + 16 + 4);
    b->SetLayout(blGlyphRight);
    b->CalcLayout(g, t);
    EXPECT_EQ(g.X, 100 - 5 - 16);
    EXPECT_EQ(t.Right, g.X - 4);
}

TEST_F(ButtonForm, FlatButtonPaintsItsColour)
{
    TProGridButton *b = add();
    b->SetBounds(0, 0, 30, 20);
    b->SetColor(0x00C000);
    form->Show();
    const QImage img = b->Widget()->grab().toImage();
    EXPECT_EQ(img.pixelColor(10, 10), QColor(0, 0xC0, 0));
    form->Hide();
}

TEST_F(ButtonForm, ActionLinkFollowsCaptionCheckedAndGroup)
{
    TProGridButton *b = add(3);
    b->SetAllowAllUp(true);
    auto *act = new TAction(form);
    act->SetCaption(QStringLiteral("Find"));
    act->SetGroupIndex(3);
    b->SetAction(act);
    EXPECT_EQ(b->Caption(), QStringLiteral("Find"));
    act->SetCaption(QStringLiteral("Next"));
    EXPECT_EQ(b->Caption(), QStringLiteral("Next"));
    act->SetChecked(true);
    EXPECT_TRUE(b->Down());
    act->SetGroupIndex(4);
    EXPECT_EQ(b->GroupIndex(), 4);
    // A caption changed on the button unlinks it.
    b->SetCaption(QStringLiteral("Own"));
    act->SetCaption(QStringLiteral("Later"));
    EXPECT_EQ(b->Caption(), QStringLiteral("Own"));
    int executed = 0;
    act->OnExecute = [&](TObject *) { ++executed; };
    b->Click();
    EXPECT_EQ(executed, 1);
    delete act;
    EXPECT_EQ(b->Action(), nullptr);
}

TEST_F(ButtonForm, DropDownPartFiresOnDropDownOnly)
{
    TProGridButton *b = add();
    b->SetBounds(0, 0, 40, 20);
    b->SetDropDownButton(true);
    int drops = 0, clicks = 0;
    b->OnDropDown = [&](TObject *) { ++drops; };
    b->OnClick = [&](TObject *) { ++clicks; };
    click(b, {35, 5});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 0);
    click(b, {10, 5});
    EXPECT_EQ(clicks, 1);
    auto *menu = new TPopupMenu(form);
    b->SetDropDownMenu(menu);
    delete menu;
    EXPECT_EQ(b->DropDownMenu(), nullptr);
}

TEST(ProCheckBox, ReadOnlyKeepsItsStateButStillClicks)
{
    TForm form(nullptr);
    auto *cb = new TProCheckBox(&form);
    cb->SetParent(&form);
    EXPECT_EQ(cb->Width(), 98);
    EXPECT_EQ(cb->Height(), 20);
    EXPECT_EQ(cb->Caption(), QStringLiteral("TProCheckBox"));
    EXPECT_EQ(cb->State(), cbUnchecked);
    int clicks = 0;
    cb->OnClick = [&](TObject *) { ++clicks; };
    form.Show();
    click(cb);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 1);
    cb->SetReadOnly(true);
    click(cb);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 2);
    cb->Toggle();
    EXPECT_TRUE(cb->Checked());
    // Space works like a click.
    cb->SetReadOnly(false);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(cb->Widget(), &press);
    EXPECT_TRUE(cb->Down());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(cb->Widget(), &release);
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 3);
    // Released outside: nothing.
    sendMouse(cb->Widget(), QEvent::MouseButtonPress, {5, 5});
    sendMouse(cb->Widget(), QEvent::MouseButtonRelease, {500, 5});
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 3);
    form.Hide();
}

TEST(PopupWindows, ArrowsAndFocusFrame)
{
    TForm form(nullptr);
    auto *arrow = new TArrowWindow(&form);
    arrow->Init(&form, arrRight);
    EXPECT_EQ(arrow->Dir(), arrRight);
    EXPECT_EQ(arrow->Color(), 0x00FF00);
    EXPECT_FALSE(arrow->Visible());
    const std::vector<TPoint> right = {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    EXPECT_EQ(arrow->Arrow(), right);
    EXPECT_TRUE(arrow->Widget()->isWindow());
    EXPECT_FALSE(arrow->Widget()->mask().isEmpty());

    auto *frame = new TGridFocusWindow(&form);
    EXPECT_EQ(frame->Color(), 0x0000FF);
    EXPECT_EQ(frame->Width(), 0);
    EXPECT_TRUE(frame->Widget()->isWindow());
    EXPECT_TRUE(frame->Widget()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(AlphaMask, MergePremultipliesTheBitmapByTheMasksRed)
{
    TGridAlphaMask m;
    EXPECT_EQ(m.PixelFormat(), pf32bit);
    EXPECT_EQ(m.Opacity(), 255);
    TBitmap mask(2, 1), bmp(2, 1);
    mask.Canvas()->SetPixels(0, 0, TColor(RGB(128, 0, 0)));
    mask.Canvas()->SetPixels(1, 0, TColor(RGB(255, 9, 9)));
    bmp.Canvas()->SetPixels(0, 0, TColor(RGB(200, 100, 50)));
    bmp.Canvas()->SetPixels(1, 0, TColor(RGB(1, 2, 3)));
    m.MergeMask(&mask, &bmp, clNone);
    ASSERT_EQ(m.Width(), 2);
    const uint8_t *p = m.ScanLine(0);
    EXPECT_EQ(p[2], 100); // 200 x 128 / 255 = 100.4
    EXPECT_EQ(p[1], 50);
    EXPECT_EQ(p[0], 25);
    EXPECT_EQ(p[3], 128);
    EXPECT_EQ(p[4 + 2], 1);
    EXPECT_EQ(p[4 + 3], 255);

    // A 32-bit bitmap is not merged.
    TBitmap wide(5, 5);
    wide.SetPixelFormat(pf32bit);
    const QImage before = m.Image();
    m.MergeMask(&mask, &wide, clNone);
    EXPECT_EQ(m.Image(), before);

    TGridAlphaMask copy;
    m.SetOpacity(230);
    copy.Assign(&m);
    EXPECT_EQ(copy.Opacity(), 230);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_EQ(copy.Width(), 2);
    copy.Assign(&bmp);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
}

TEST(Blur, OnlyFor24BitBitmaps)
{
    TBitmap b(10, 10);
    b.SetPixelFormat(pf32bit);
    try {
        BlurBitmap(&b, 3.0);
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Blur only works for 24-bit bitmaps"));
    }
}

TEST(Blur, FlatAreasKeepTheirValueAndEdgesSoften)
{
    for (const TColor c : {clWhite, TColor(0x646464)}) {
        TBitmap b(50, 50);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 50, 50));
        BlurBitmap(&b, 3.0);
        int off = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                off += pixel(b, x, y) != c;
        EXPECT_EQ(off, 0) << c;
    }
    // A white half next to a black half becomes a ramp across the border.
    TBitmap e(12, 12);
    e.Canvas()->Brush()->SetColor(clBlack);
    e.Canvas()->FillRect(Rect(0, 0, 12, 12));
    e.Canvas()->Brush()->SetColor(clWhite);
    e.Canvas()->FillRect(Rect(6, 0, 12, 12));
    BlurBitmap(&e, 1.0);
    const int left = GetRValue(pixel(e, 4, 6)), mid = GetRValue(pixel(e, 5, 6)), right = GetRValue(pixel(e, 6, 6));
    EXPECT_GT(left, 0);
    EXPECT_LT(left, mid);
    EXPECT_LT(mid, right);
    EXPECT_LT(right, 255);
    EXPECT_EQ(GetRValue(pixel(e, 0, 6)), 0);
}

TEST(Blur, RoundRectMaskDrawsAWhiteRingOnBlack)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    DrawRoundRectMask(&b, 40, 30, 4, 5, 0);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(pixel(b, 0, 0), clBlack);
    EXPECT_EQ(pixel(b, 4, 15), clWhite);
    EXPECT_EQ(pixel(b, 20, 15), clBlack);
    TBitmap f;
    DrawRoundRectMask(&f, 40, 30, 0, 5, 0);
    EXPECT_EQ(pixel(f, 20, 15), clWhite);
    TBitmap soft;
    DrawRoundRectMask(&soft, 40, 30, 4, 5, 3.0);
    const int edge = GetRValue(pixel(soft, 1, 15));
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
}

TEST(ButtonGradient, BandsAndBorder)
{
    TBitmap b(10, 16);
    DrawButtonGradient(b.Canvas(), clBlack, 0x0000F0, false, Rect(0, 0, 10, 16), 4, clNone);
    EXPECT_EQ(pixel(b, 5, 0), clBlack);
    EXPECT_EQ(pixel(b, 5, 5), 0x00003C); // band 1: 240 / 4
    EXPECT_EQ(pixel(b, 5, 15), 0x0000B4); // band 3
    DrawButtonGradient(b.Canvas(), clBlack, 0x0000F0, true, Rect(0, 0, 10, 16), 0, clRed);
    EXPECT_EQ(pixel(b, 0, 5), clRed);
    EXPECT_EQ(pixel(b, 5, 5), clBlack); // no steps count as one
}
