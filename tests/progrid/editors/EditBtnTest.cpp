// The edit with an embedded button: its layout, the button and F4, the guard on typing,
// pasting and cutting, and the looks of the button.
#include "editors/PSGEdit.h"
#include "framework/controls/Forms.h"
#include "framework/graphics/Themes.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TColor pixel(const QImage &img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

TRect formatRect(TCustomEdit *e)
{
    TRect r;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

struct EditForm : ::testing::Test
{
    TForm *form = new TForm(nullptr);
    TPsgEditBtn *edit = new TPsgEditBtn(form);
    TEdit *other = new TEdit(form);
    std::vector<TObject *> clicks;

    void SetUp() override
    {
        form->SetBounds(0, 0, 300, 200);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 120, 22);
        other->SetParent(form);
        other->SetBounds(10, 60, 120, 22);
        edit->OnClickBtn = [this](TObject *Sender) { clicks.push_back(Sender); };
        form->Show();
        QApplication::processEvents();
    }
    void TearDown() override { delete form; }

    QWidget *buttonWidget() const { return edit->Button()->Button()->Widget(); }
    QPoint buttonCentre() const
    {
        return QPoint(edit->Button()->Width() / 2, edit->Button()->Height() / 2);
    }
};

}  // namespace

TEST_F(EditForm, StartsWithZeroAnEighteenPixelButtonAndNoButtonWidth)
{
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(edit->Button()->Width(), 18);
    EXPECT_EQ(edit->ButtonWidth(), 0) << "nothing written yet";
    EXPECT_TRUE(edit->EditorEnabled());
    EXPECT_FALSE(edit->RightAlign());

    edit->SetButtonWidth(24);
    EXPECT_EQ(edit->ButtonWidth(), 24);
    EXPECT_EQ(edit->Button()->Width(), 24);
    // Still at the right edge: single border with the sunken look, 2 + 120 - 24 - 5.
    EXPECT_EQ(edit->Button()->Left(), 93);
}

// Button bounds and formatting rectangle for a 120 x 22 edit with the 18-pixel button.
struct LayoutCase
{
    const char *name;
    TBorderStyle border;
    bool ctl3D;
    TRect button;
    TRect text;
};

TEST_F(EditForm, ButtonAndTextRectangleFollowTheBorder)
{
    const LayoutCase cases[] = {
        // No border: inset 1; text from (3, 3), ending 18 + 5 left of the client's right edge.
        {"no border", bsNone, true, Rect(101, 0, 119, 21), Rect(3, 3, 97, 23)},
        // Single sunken border: client area (2, 2)-(118, 20), inset 5 of the whole width.
        {"single border", bsSingle, true, Rect(99, 2, 117, 19), Rect(3, 3, 95, 21)},
        // Without the sunken look: flush right, one pixel down, three shorter.
        {"flat, no border", bsNone, false, Rect(102, 1, 120, 20), Rect(3, 3, 97, 23)},
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(c.name);
        edit->SetBorderStyle(c.border);
        edit->SetCtl3D(c.ctl3D);
        edit->SetBounds(10, 10, 120, 22);
        EXPECT_EQ(edit->Button()->BoundsRect(), c.button);
        EXPECT_EQ(formatRect(edit), c.text);
    }
}

TEST_F(EditForm, ALowEditGrowsToItsMinimumHeightAndThenPlacesTheButton)
{
    edit->SetBorderStyle(bsNone);
    edit->Font()->SetSize(20);
    // Text heights measured here: the control's font and the framework's standard font.
    const int hf = QFontMetrics(edit->Font()->ToQFont()).height();
    const int hs = QFontMetrics(TFont().ToQFont()).height();
    ASSERT_LT(hs, hf);
    const int minHeight = hf + hs / 4;
    EXPECT_EQ(edit->GetMinHeight(), minHeight);

    edit->SetHeight(10);
    EXPECT_EQ(edit->Height(), minHeight);
    EXPECT_EQ(edit->Button()->Height(), minHeight - 1);

    edit->SetHeight(minHeight + 10);
    EXPECT_EQ(edit->Height(), minHeight + 10) << "taller is kept";
    EXPECT_EQ(edit->Button()->Height(), minHeight + 9);
}

TEST_F(EditForm, TheButtonClicksOnReleaseAndFocusesTheEdit)
{
    other->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(other->Focused());

    mousePress(buttonWidget(), buttonCentre());
    EXPECT_TRUE(clicks.empty()) << "a press alone does not click";
    mouseRelease(buttonWidget(), buttonCentre());
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], edit->Button()) << "the embedded button is the sender";
    EXPECT_TRUE(edit->Focused());

    mouseClick(buttonWidget(), buttonCentre(), Qt::RightButton);
    EXPECT_EQ(clicks.size(), 1u) << "the right button does not click";
}

TEST_F(EditForm, F4ClicksUnlessCtrlOrAltIsHeld)
{
    edit->SetFocus();
    QApplication::processEvents();
    const struct
    {
        Qt::KeyboardModifiers mods;
        size_t clicks;
    } cases[] = {
        {Qt::NoModifier, 1}, {Qt::ShiftModifier, 1}, {Qt::ControlModifier, 0}, {Qt::AltModifier, 0},
    };
    for (const auto &c : cases) {
        clicks.clear();
        sendKey(edit->Widget(), Qt::Key_F4, c.mods);
        ASSERT_EQ(clicks.size(), c.clicks) << "modifiers " << int(c.mods);
        if (c.clicks) {
            EXPECT_EQ(clicks[0], edit) << "the edit is the sender";
        }
    }
}

TEST_F(EditForm, WithEditorDisabledNothingIsTypedPastedOrCutButTheButtonWorks)
{
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    edit->SetText(QStringLiteral("12"));
    edit->SetEditorEnabled(false);
    edit->SetFocus();
    QApplication::processEvents();
    edit->SelectAll();

    typeText(edit->Widget(), QStringLiteral("abc"));
    sendKey(edit->Widget(), Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    sendKey(edit->Widget(), Qt::Key_V, Qt::ControlModifier, QStringLiteral("v"));
    sendKey(edit->Widget(), Qt::Key_Insert, Qt::ShiftModifier);
    sendKey(edit->Widget(), Qt::Key_X, Qt::ControlModifier, QStringLiteral("x"));
    edit->Perform(WM_PASTE);
    edit->Perform(WM_CUT);
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_EQ(QApplication::clipboard()->text(), "pasted") << "nothing was cut";

    sendKey(edit->Widget(), Qt::Key_F4);
    mouseClick(buttonWidget(), buttonCentre());
    EXPECT_EQ(clicks.size(), 2u);

    // Switched on again, the same keys work.
    edit->SetEditorEnabled(true);
    edit->SelectAll();
    sendKey(edit->Widget(), Qt::Key_X, Qt::ControlModifier, QStringLiteral("x"));
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "12");
    sendKey(edit->Widget(), Qt::Key_Insert, Qt::ShiftModifier);
    typeText(edit->Widget(), QStringLiteral("kg"));
    EXPECT_EQ(edit->Text(), "12kg");
}

TEST_F(EditForm, ReadOnlyRefusesPasteAndCutMessages)
{
    QApplication::clipboard()->setText(QStringLiteral("x"));
    edit->SetText(QStringLiteral("7"));
    edit->SetReadOnly(true);
    edit->SelectAll();
    edit->Perform(WM_CUT);
    edit->SetReadOnly(false);
    EXPECT_EQ(edit->Text(), "7");
    EXPECT_EQ(QApplication::clipboard()->text(), "x");
}

TEST_F(EditForm, EnteringSelectsTheWholeTextWithAutoSelect)
{
    edit->SetText(QStringLiteral("123"));
    for (bool autoSelect : {true, false}) {
        other->SetFocus();
        QApplication::processEvents();
        edit->SetSelStart(1);
        edit->SetAutoSelect(autoSelect);
        edit->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(edit->Focused());
        EXPECT_EQ(edit->SelLength(), autoSelect ? 3 : 0) << "AutoSelect " << autoSelect;
    }
}

TEST_F(EditForm, RightAlignPutsTheTextAgainstTheButton)
{
    edit->SetRightAlign(true);
    auto *line = static_cast<QLineEdit *>(edit->Widget());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
    edit->SetRightAlign(false);
    EXPECT_TRUE(line->alignment() & Qt::AlignLeft);
}

// The button's face in its states for the custom-colour and flat looks.
TEST_F(EditForm, ButtonColoursFollowHotAndPressedStates)
{
    TPsgEditButton *b = edit->Button();
    b->SetButtonColor(clLime);
    b->SetButtonColorHot(clAqua);
    b->SetButtonColorDown(clRed);
    QWidget *w = buttonWidget();
    auto face = [&] { return pixel(edit->Widget()->grab().toImage(), b->Left() + 2, b->Top() + 2); };

    EXPECT_EQ(face(), clLime);
    EXPECT_TRUE(b->Button()->Flat()) << "a coloured button is flat";
    mouseEnter(w);
    EXPECT_TRUE(b->Button()->Hot());
    EXPECT_EQ(face(), clAqua);
    mousePress(w, buttonCentre());
    EXPECT_EQ(face(), clRed);
    mouseRelease(w, buttonCentre());
    mouseLeave(w);
    EXPECT_FALSE(b->Button()->Hot());
    EXPECT_EQ(face(), clLime);
}

TEST_F(EditForm, FlatButtonShowsARaisedEdgeAndASunkenOneWhilePressed)
{
    TPsgEditButton *b = edit->Button();
    b->SetFlat(true);
    ASSERT_TRUE(b->Button()->Flat());
    auto corner = [&] { return pixel(edit->Widget()->grab().toImage(), b->Left(), b->Top()); };
    EXPECT_EQ(corner(), TColor(ColorToRGB(clBtnHighlight)));
    mousePress(buttonWidget(), buttonCentre());
    EXPECT_EQ(corner(), TColor(ColorToRGB(clBtnShadow)));
    mouseRelease(buttonWidget(), buttonCentre());
}

TEST_F(EditForm, StyledAndClassicButtonsPaintTheirFace)
{
    // The classic frame and the visual style both cover the whole button with a face unlike
    // the edit's white.
    for (bool xp : {false, true}) {
        edit->SetIsWinXP(xp);
        ASSERT_EQ(edit->Button()->Button()->IsWinXP(), xp);
        const QImage img = edit->Widget()->grab().toImage();
        TPsgEditButton *b = edit->Button();
        EXPECT_NE(pixel(img, b->Left() + b->Width() / 2, b->Top() + 3), TColor(ColorToRGB(clWindow))) << "xp " << xp;
    }
}
