// The flat combo box: button width, list width, the flat colours, the focus colour, the frames it
// draws, its drop button, and the attached label.
#include "editors/PsgCombo.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/Themes.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TColor pixel(const QImage &img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

TColor rgb(TColor c) { return TColor(ColorToRGB(c)); }

// A combo whose properties are set as if read from a form file.
class TLoadingCombo : public TPsgComboBox
{
public:
    explicit TLoadingCombo(TComponent *AOwner) : TPsgComboBox(AOwner) { SetComponentStateItem(csLoading, true); }
};

struct ComboForm : ::testing::Test
{
    TForm *form = new TForm(nullptr);
    TPanel *panel = new TPanel(form);
    TPsgComboBox *combo = new TPsgComboBox(form);
    TEdit *other = new TEdit(form);

    void SetUp() override
    {
        form->SetBounds(0, 0, 400, 300);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 400, 200);
        panel->SetColor(clAqua);
        combo->SetParent(panel);
        combo->SetBounds(120, 40, 140, 24);
        combo->Items()->Add(QStringLiteral("Alpha"));
        combo->Items()->Add(QStringLiteral("Beta"));
        other->SetParent(form);
        other->SetBounds(10, 250, 100, 22);
        form->Show();
        other->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        SetThemeActive(true);
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        delete form;
    }

    QImage grab() { return combo->Widget()->grab().toImage(); }
    void enter()
    {
        combo->SetFocus();
        QApplication::processEvents();
    }
    void leave()
    {
        other->SetFocus();
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(ComboForm, ButtonWidthTakesOnlyFourteenToThirtyTwo)
{
    const int initial = GetSystemMetrics(SM_CXVSCROLL) + 2;
    EXPECT_EQ(combo->ButtonWidth(), initial);
    const struct
    {
        int value;
        int result;
    } cases[] = {{13, initial}, {14, 14}, {33, 14}, {32, 32}, {-1, 32}};
    for (const auto &c : cases) {
        combo->SetButtonWidth(c.value);
        EXPECT_EQ(combo->ButtonWidth(), c.result) << c.value;
    }
}

TEST_F(ComboForm, TheListIsAsWideAsTheComboUnlessDropWidthAsksForMore)
{
    int dropUps = 0;
    combo->OnDropUp = [&](TObject *Sender) {
        EXPECT_EQ(Sender, combo);
        ++dropUps;
    };
    QWidget *w = combo->Widget();
    const QPoint onButton(combo->Width() - 5, combo->Height() / 2);
    auto openWidth = [&] {
        mousePress(w, onButton);
        mouseRelease(w, onButton);
        QApplication::processEvents();
        EXPECT_TRUE(combo->DroppedDown());
        return combo->Combo()->view()->window()->width();
    };
    auto close = [&] {
        QWidget *popup = combo->Combo()->view();
        sendKey(popup, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_FALSE(combo->DroppedDown());
    };

    EXPECT_EQ(openWidth(), 140);
    close();
    EXPECT_EQ(dropUps, 1) << "closing the list fires OnDropUp";

    combo->SetDropWidth(260);
    EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 260);
    EXPECT_EQ(openWidth(), 260);
    close();
    EXPECT_EQ(dropUps, 2);
}

TEST_F(ComboForm, FlatTakesThePanelsColourAndGoesBackToTheDesignColour)
{
    ASSERT_EQ(combo->Color(), clWindow);
    EXPECT_TRUE(combo->FlatParentColor());
    combo->SetFlat(true);
    EXPECT_EQ(combo->Color(), clAqua);
    EXPECT_FALSE(combo->Ctl3D());
    combo->SetFlat(false);
    EXPECT_EQ(combo->Color(), clWindow);
    EXPECT_TRUE(combo->Ctl3D());

    // Without FlatParentColor a flat combo keeps the design colour too.
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    EXPECT_EQ(combo->Color(), clWindow);
}

TEST_F(ComboForm, TheDesignColourIsTheOneSetWhileLoading)
{
    auto *loaded = new TLoadingCombo(form);
    loaded->SetParent(panel);
    loaded->SetColor(clYellow);
    loaded->Loaded();
    EXPECT_EQ(loaded->Color(), clYellow);
    loaded->SetColor(clLime);  // a run-time change is not the design colour
    loaded->SetFlat(true);
    EXPECT_EQ(loaded->Color(), clAqua);
    loaded->SetFlat(false);
    EXPECT_EQ(loaded->Color(), clYellow);
}

TEST_F(ComboForm, FocusColourWhileFocusedThenTheRecordedColour)
{
    combo->SetFocusColor(clYellow);
    enter();
    ASSERT_TRUE(combo->Focused());
    EXPECT_EQ(combo->Color(), clYellow);
    leave();
    // Made at run time and never given Init: it still returns to its own colour, not black.
    EXPECT_EQ(combo->Color(), clWindow);

    combo->SetColor(clLime);
    combo->Init();
    enter();
    EXPECT_EQ(combo->Color(), clYellow);
    leave();
    EXPECT_EQ(combo->Color(), clLime);
}

TEST_F(ComboForm, TheFocusedComboPaintsItsFocusColour)
{
    combo->SetFocusColor(clYellow);
    enter();
    const QImage img = grab();
    // The middle of the text field.
    EXPECT_EQ(pixel(img, 20, combo->Height() / 2), clYellow);
}

// A one-pixel frame in BorderColor, or in the disabled colour under visual styles without
// DisabledBorder.
TEST_F(ComboForm, BorderColourFramesEveryStateButDisabledUnderStylesWithoutDisabledBorder)
{
    const TColor disabledFrame = TColor(0xB99D7F);
    struct Case
    {
        const char *name;
        std::function<void()> set;
        TColor frame;
    } cases[] = {
        {"normal", [] {}, clRed},
        {"hot", [this] { mouseEnter(combo->Widget()); }, clRed},
        {"focused", [this] { enter(); }, clRed},
        {"flat", [this] { combo->SetFlat(true); }, clRed},
        {"disabled", [this] { combo->SetEnabled(false); }, clRed},
        {"disabled without DisabledBorder",
         [this] {
             combo->SetDisabledBorder(false);
             combo->SetEnabled(false);
         },
         disabledFrame},
        {"disabled without DisabledBorder, classic look",
         [this] {
             SetThemeActive(false);
             combo->SetDisabledBorder(false);
             combo->SetEnabled(false);
         },
         clRed},
        {"flat, disabled without DisabledBorder",
         [this] {
             combo->SetFlat(true);
             combo->SetDisabledBorder(false);
             combo->SetEnabled(false);
         },
         disabledFrame},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        combo->SetBorderColor(clRed);
        c.set();
        const QImage img = grab();
        const int w = img.width(), h = img.height();
        const QPoint edge[] = {{0, 0}, {w / 2, 0}, {w - 1, 0}, {w - 1, h / 2}, {w - 1, h - 1}, {w / 2, h - 1}, {0, h - 1}, {0, h / 2}};
        for (const QPoint &p : edge)
            EXPECT_EQ(pixel(img, p.x(), p.y()), c.frame) << p.x() << "," << p.y();
        EXPECT_NE(pixel(img, 1, h / 2), c.frame) << "one pixel wide";
        // Back to the plain state.
        mouseLeave(combo->Widget());
        leave();
        SetThemeActive(true);
        combo->SetEnabled(true);
        combo->SetDisabledBorder(true);
        combo->SetFlat(false);
    }
}

TEST_F(ComboForm, FocusBorderColourReplacesTheBorderWhileFocused)
{
    combo->SetBorderColor(clRed);
    combo->SetFocusBorderColor(clBlue);
    EXPECT_EQ(pixel(grab(), 0, 0), clRed);
    enter();
    EXPECT_EQ(pixel(grab(), 0, 0), clBlue);
    leave();
    combo->SetBorderColor(clNone);
    EXPECT_NE(pixel(grab(), 0, 0), clBlue) << "no frame without the focus";
}

TEST_F(ComboForm, FlatLookBlendsIntoTheParentAndDrawsItsUnderline)
{
    combo->SetFlat(true);
    combo->SetFlatLineColor(clRed);
    const int bw = combo->ButtonWidth();
    const QImage img = grab();
    const int w = img.width(), h = img.height();
    EXPECT_EQ(pixel(img, 0, 0), clAqua) << "the parent's colour around it";
    EXPECT_EQ(pixel(img, w - 1, h / 2), clAqua);
    EXPECT_EQ(pixel(img, 1, h / 2), clAqua);
    // The line runs from the left edge to just short of the button's area.
    EXPECT_EQ(pixel(img, 0, h - 1), clRed);
    EXPECT_EQ(pixel(img, w - 2 - bw - 2, h - 1), clRed);
    EXPECT_EQ(pixel(img, w - 2 - bw - 1, h - 1), clAqua);
}

TEST_F(ComboForm, FocusBorderShowsASunkenEdgeWhileTheMouseIsOver)
{
    combo->SetFlat(true);
    combo->SetFocusBorder(true);
    EXPECT_EQ(pixel(grab(), 0, 0), clAqua);
    mouseEnter(combo->Widget());
    EXPECT_EQ(pixel(grab(), 0, 0), rgb(clBtnShadow));
    EXPECT_EQ(pixel(grab(), 1, combo->Height() / 2), rgb(clBtnFace));
    mouseLeave(combo->Widget());
    EXPECT_EQ(pixel(grab(), 0, 0), clAqua);
}

TEST_F(ComboForm, CustomButtonColoursFollowTheMouse)
{
    combo->SetButtonColor(clLime);
    combo->SetButtonColorHot(clFuchsia);
    combo->SetButtonTextColor(clBlue);
    const int w = combo->Width(), h = combo->Height(), bw = combo->ButtonWidth();
    const QPoint face(w - 4, 3);
    // The arrow: left + 4 to left + 10 at top + 7, down to left + 7, top + 10.
    const QPoint arrow(w - bw + 2 + 7, 2 + 8);
    EXPECT_EQ(pixel(grab(), face.x(), face.y()), clLime);
    EXPECT_EQ(pixel(grab(), arrow.x(), arrow.y()), clBlue);
    mouseMove(combo->Widget(), QPoint(w - 5, h / 2));
    EXPECT_EQ(pixel(grab(), face.x(), face.y()), clFuchsia);
    mouseMove(combo->Widget(), QPoint(10, h / 2));
    EXPECT_EQ(pixel(grab(), face.x(), face.y()), clLime);
}

TEST_F(ComboForm, ClassicDropButtonIsAButtonFaceWithAnArrow)
{
    SetThemeActive(false);
    combo->SetFlat(true);
    const QImage img = grab();
    const int w = img.width(), h = img.height(), bw = combo->ButtonWidth();
    // The face left of the arrow, inside the flat frame control.
    EXPECT_EQ(pixel(img, w - bw + 1, h / 2), rgb(clBtnFace));
    int dark = 0;
    for (int x = w - bw; x < w - 2; ++x)
        dark += pixel(img, x, h / 2 + 1) == rgb(clBtnText);
    EXPECT_GT(dark, 0) << "the arrow";
}

TEST_F(ComboForm, SelectItemFindsTheTextWithoutRegardToCase)
{
    combo->SelectItem(QStringLiteral("beta"));
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SelectItem(QStringLiteral("Gamma"));
    EXPECT_EQ(combo->ItemIndex(), 1) << "not in the list: the selection stays";
}

TEST_F(ComboForm, AutoFocusTakesTheFocusWhenTheMouseEnters)
{
    mouseEnter(combo->Widget());
    EXPECT_FALSE(combo->Focused());
    mouseLeave(combo->Widget());
    combo->SetAutoFocus(true);
    ASSERT_TRUE(form->Active());
    mouseEnter(combo->Widget());
    QApplication::processEvents();
    EXPECT_TRUE(combo->Focused());
}

// ---------------------------------------------------------------------------------------------
// The label

TEST_F(ComboForm, LabelLeftTopEndsTheMarginLeftOfTheCombo)
{
    EXPECT_EQ(combo->LabelCaption(), "");
    EXPECT_EQ(combo->ComboLabel(), nullptr);
    combo->SetLabelCaption(QStringLiteral("Species:"));
    TLabel *label = combo->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), panel);
    const int textWidth = QFontMetrics(label->Font()->ToQFont()).horizontalAdvance(QStringLiteral("Species:"));
    EXPECT_EQ(combo->LabelMargin(), 4);
    EXPECT_EQ(label->Left(), 120 - textWidth - 4);
    EXPECT_EQ(label->Top(), 40);

    combo->SetLabelMargin(10);
    EXPECT_EQ(label->Left(), 120 - textWidth - 10);
}

TEST_F(ComboForm, LabelTopCenterIsCentredAboveTheCombo)
{
    combo->SetLabelPosition(lpTopCenter);
    combo->SetLabelCaption(QStringLiteral("Site"));
    TLabel *label = combo->ComboLabel();
    EXPECT_EQ(label->Top(), 40 - label->Height() - 4);
    EXPECT_EQ(label->Left(), 120 + (140 - label->Width()) / 2);
    // A label wider than the combo sticks out by half the difference on each side.
    combo->SetLabelCaption(QStringLiteral("A caption much wider than the combo box below it"));
    ASSERT_GT(label->Width(), 140);
    EXPECT_EQ(label->Left(), 120 - (label->Width() - 140) / 2);
}

TEST_F(ComboForm, LabelRightAndBottomPositions)
{
    combo->SetLabelCaption(QStringLiteral("kg"));
    TLabel *label = combo->ComboLabel();
    combo->SetLabelPosition(lpRighBottom);
    EXPECT_EQ(label->Left(), 120 + 140 + 4);
    EXPECT_EQ(label->Top(), 40 + 24 - label->Height());
    combo->SetLabelPosition(lpBottomLeft);
    EXPECT_EQ(label->Left(), 120);
    EXPECT_EQ(label->Top(), 40 + 24 + 4);
    combo->SetLabelPosition(lpLeftCenterLeft);
    EXPECT_EQ(label->Left(), 120 - 4);
    EXPECT_EQ(label->Top(), 40 + (24 - label->Height()) / 2);
}

TEST_F(ComboForm, LabelFollowsTheComboAndItsFocus)
{
    combo->SetLabelCaption(QStringLiteral("Site"));
    TLabel *label = combo->ComboLabel();
    combo->SetLabelPosition(lpTopLeft);
    combo->SetBounds(150, 80, 140, 24);
    EXPECT_EQ(label->Left(), 150);
    EXPECT_EQ(label->Top(), 80 - label->Height() - 4);

    combo->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    combo->SetVisible(true);
    EXPECT_TRUE(label->Visible());

    combo->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    combo->SetEnabled(true);
    combo->SetLabelAlwaysEnabled(true);
    combo->SetEnabled(false);
    EXPECT_TRUE(label->Enabled());
    combo->SetEnabled(true);

    combo->SetFocusLabel(true);
    enter();
    EXPECT_TRUE(label->Font()->Style().Contains(fsBold));
    leave();
    EXPECT_FALSE(label->Font()->Style().Contains(fsBold));
}

TEST_F(ComboForm, LabelGoesWithTheComboOrStaysBehindSafely)
{
    combo->SetLabelCaption(QStringLiteral("Site"));
    TLabel *label = combo->ComboLabel();
    combo->SetParent(form);
    EXPECT_EQ(label->Parent(), form) << "the label moves with the combo";
    delete combo;
    // Freed with its combo; the form frees nothing twice.
    EXPECT_EQ(panel->ControlCount(), 0);
    EXPECT_EQ(form->ControlCount(), 2);
}
