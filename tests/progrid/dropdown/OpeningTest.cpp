// Opening and closing the drop-down: clicks, keys, activation, and what refuses an opening.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "framework/controls/StdCtrls.h"

#include <cstdlib>
#include <functional>

TEST_F(DropDownForm, ActivatingAnotherWindowCancelsAndLeavesThatWindowActive)
{
    edit->SetText(QStringLiteral("kept"));
    QStringList log;
    edit->OnDropUp = [&](TObject *, bool cancelled) { log << (cancelled ? "cancelled" : "accepted") << edit->Text(); };

    clickArrow();
    ASSERT_TRUE(edit->DroppedDown());
    ASSERT_TRUE(popup()->Visible());
    EXPECT_TRUE(popup()->Active());

    edit->SetEditText(QStringLiteral("typed"));
    ticks = 123456;
    TForm other(nullptr);
    other.SetBounds(600, 100, 100, 100);
    other.Show();
    settle();
    EXPECT_FALSE(popup()->Visible());
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(log, QStringList({"cancelled", "kept"}));
    EXPECT_TRUE(other.Active());
    EXPECT_EQ(popup()->DeActivateTime(), 123456u);
}

TEST_F(DropDownForm, WindowsOfThePopupKeepItOpenAndTheDeactivationSettingDecides)
{
    edit->SetText(QStringLiteral("kept"));
    QStringList log;
    edit->OnDropUp = [&](TObject *, bool cancelled) { log << (cancelled ? "cancelled" : "accepted") << edit->Text(); };
    clickArrow();
    ASSERT_TRUE(edit->DroppedDown());

    // A dialog that belongs to the pop-up.
    TForm dialog(nullptr);
    dialog.SetBounds(500, 300, 100, 80);
    dialog.SetWndParent(popup()->Handle());
    EXPECT_EQ(GetParent(dialog.Handle()), popup()->Handle());
    dialog.Show();
    settle();
    ASSERT_TRUE(dialog.Active());
    EXPECT_TRUE(edit->DroppedDown());
    activate(popup());
    dialog.Hide();
    ASSERT_TRUE(edit->DroppedDown());

    // While blocked, activation changes pass unseen.
    TForm other(nullptr);
    other.SetBounds(600, 100, 100, 100);
    popup()->SetBlockActivate(true);
    other.Show();
    settle();
    EXPECT_TRUE(edit->DroppedDown());
    popup()->SetBlockActivate(false);
    activate(popup());

    // Losing the activation accepts when cancelling is off.
    popup()->SetCancelOnDeActivate(false);
    edit->SetEditText(QStringLiteral("typed"));
    activate(&other);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(log, QStringList({"accepted", "typed"}));
}

TEST_F(DropDownForm, TheButtonDoesNotReopenWithin250msOfTheDeactivation)
{
    // Pressing the button of an open drop-down activates the edit's window first, which closes
    // the pop-up; the click that follows must not open it again at once.
    uint32_t closed = 500000;
    for (const auto &[delay, opens] : {std::pair{100u, false}, {250u, false}, {251u, true}}) {
        SCOPED_TRACE(delay);
        closed += 10000;
        ticks = closed;
        edit->ShowDropDown();
        ASSERT_TRUE(edit->DroppedDown());
        activate(form);
        ASSERT_FALSE(edit->DroppedDown());
        EXPECT_EQ(popup()->DeActivateTime(), closed);
        ticks = closed + delay;
        clickArrow();
        EXPECT_EQ(edit->DroppedDown(), opens);
        if (opens)
            activate(form);
    }
}

TEST_F(DropDownForm, PressOnTheArrowReleasedElsewhereStillOpensButTheRightButtonDoesNot)
{
    mousePress(arrow(), QPoint(5, 5));
    mouseRelease(arrow(), QPoint(60, 40));
    settle();
    EXPECT_TRUE(edit->DroppedDown());
    activate(form);
    ticks += 1000;
    mouseClick(arrow(), QPoint(5, 5), Qt::RightButton);
    settle();
    EXPECT_FALSE(edit->DroppedDown());
}

TEST_F(DropDownForm, NothingOpensARefusedDropDown)
{
    int before = 0;
    edit->OnBeforeDropDown = [&](TObject *) { ++before; };
    struct Case
    {
        const char *name;
        std::function<void(bool)> set;
        bool asksHandler;
    };
    const Case cases[] = {
        {"read-only", [this](bool on) { edit->SetReadOnly(on); }, false},
        {"disabled", [this](bool on) { edit->SetEnabled(!on); }, false},
        {"read-only display", [this](bool on) { edit->SetReadOnly(on); edit->SetEditorEnabled(!on); }, false},
        {"refused by the handler",
         [this](bool on) {
             edit->OnDropDown = on ? TDropDown([](TObject *, bool &accept) { accept = false; }) : TDropDown();
         },
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        before = 0;
        c.set(true);
        edit->ShowDropDown();
        clickArrow();
        mouseClick(edit->Widget(), QPoint(10, 10));
        sendKey(edit->Widget(), Qt::Key_F4);
        sendKey(edit->Widget(), Qt::Key_Down, Qt::AltModifier);
        settle();
        EXPECT_FALSE(edit->DroppedDown());
        EXPECT_FALSE(popup()->Visible());
        // The handler is asked after the preparations.
        EXPECT_EQ(before > 0, c.asksHandler);
        c.set(false);
        ticks += 1000;
    }
    edit->ShowDropDown();
    EXPECT_TRUE(edit->DroppedDown());
}

TEST_F(DropDownForm, EscapeRestoresTheAssignedTextAndEnterKeepsTheTypedOne)
{
    edit->SetText(QStringLiteral("first"));
    QStringList log;
    edit->OnDropUp = [&](TObject *, bool cancelled) { log << (cancelled ? "cancelled" : "accepted") << edit->Text(); };

    // Keys typed in the pop-up reach the edit.
    sendKey(edit->Widget(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(edit->DroppedDown());
    typeText(popup()->Widget(), QStringLiteral("xy"));
    const QString typed = edit->Text();
    ASSERT_TRUE(typed.endsWith(QStringLiteral("xy"))) << typed.toStdString();
    sendKey(popup()->Widget(), Qt::Key_Escape);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(edit->Text(), QStringLiteral("first"));

    settle();
    ticks += 1000;
    sendKey(edit->Widget(), Qt::Key_F4);
    ASSERT_TRUE(edit->DroppedDown());
    typeText(popup()->Widget(), QStringLiteral("z"));
    const QString second = edit->Text();
    sendKey(popup()->Widget(), Qt::Key_Return);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(edit->Text(), second);
    EXPECT_EQ(log, QStringList({"cancelled", "first", "accepted", second}));

    // Alt+Up and F4 in the pop-up close it too; the edit has the focus back.
    settle();
    ticks += 1000;
    clickArrow();
    sendKey(popup()->Widget(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(edit->DroppedDown());
    settle();
    EXPECT_TRUE(edit->Focused());
    ticks += 1000;
    clickArrow();
    sendKey(popup()->Widget(), Qt::Key_F4);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(log.size(), 8);
}

TEST_F(DropDownForm, TheTextKeepsPrefixAndSuffixOutAndCancelRestoresItWithThem)
{
    edit->SetPrefix(QStringLiteral("$"));
    edit->SetSuffix(QStringLiteral(" %"));
    edit->SetText(QStringLiteral("12"));
    EXPECT_EQ(edit->EditText(), QStringLiteral("$12 %"));
    EXPECT_EQ(edit->Text(), QStringLiteral("12"));
    EXPECT_FALSE(edit->Modified());
    int before = 0;
    edit->OnBeforeDropUp = [&](TObject *) { ++before; };
    edit->ShowDropDown();
    edit->SetEditText(QStringLiteral("$99 %"));
    EXPECT_EQ(edit->Text(), QStringLiteral("99"));
    edit->HideDropDown(true);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(edit->EditText(), QStringLiteral("$12 %"));
    // Closing a closed drop-down does nothing.
    edit->HideDropDown(true);
    EXPECT_EQ(before, 1);

    // A rewrite the edit blocks raises no change; the next change does.
    int changes = 0;
    edit->OnChange = [&](TObject *) { ++changes; };
    edit->blockNextChange();
    edit->SetEditText(QStringLiteral("$1 %"));
    EXPECT_EQ(changes, 0);
    edit->SetEditText(QStringLiteral("$2 %"));
    EXPECT_EQ(changes, 1);
}

TEST_F(DropDownForm, ADisplayOnlyEditTakesNoTypingAndShowsItsTextHighlighted)
{
    auto *other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(20, 60, 100, 21);
    other->SetFocus();
    settle();
    edit->SetText(QStringLiteral("Wide"));
    edit->SetEditorEnabled(false);
    const int x = 6, y = edit->Height() / 2;
    ASSERT_FALSE(edit->Focused());
    EXPECT_NE(shownPixel(edit->Widget(), x, y), rgbOf(clHighlight));

    // A click on the text opens the pop-up; Enter in it closes and gives the edit the focus.
    mouseClick(edit->Widget(), QPoint(30, 10));
    settle();
    ASSERT_TRUE(edit->DroppedDown());
    sendKey(popup()->Widget(), Qt::Key_Return);
    settle();
    ASSERT_FALSE(edit->DroppedDown());
    ASSERT_TRUE(edit->Focused());

    typeText(edit->Widget(), QStringLiteral("abc"));
    sendKey(edit->Widget(), Qt::Key_Backspace);
    sendKey(edit->Widget(), Qt::Key_Delete);
    sendKey(edit->Widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), QStringLiteral("Wide"));

    // White text on the highlight colour, in a black frame.
    const QImage shown = edit->Widget()->grab().toImage();
    auto at = [&](int px, int py) {
        const QRgb p = shown.pixel(px, py);
        return TColor(RGB(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))));
    };
    EXPECT_EQ(at(2, y), clBlack);
    EXPECT_EQ(at(x - 2, y), rgbOf(clHighlight));
    // The letters are smoothed: count the pixels close to the text colour.
    const TColorRef text = ColorToRGB(clHighlightText);
    int textPixels = 0;
    for (int px = 4; px < 60; ++px)
        for (int py = 3; py < edit->Height() - 3; ++py) {
            const TColorRef c = TColorRef(at(px, py));
            textPixels += std::abs(GetRValue(c) - GetRValue(text)) < 48 && std::abs(GetGValue(c) - GetGValue(text)) < 48 &&
                          std::abs(GetBValue(c) - GetBValue(text)) < 48;
        }
    EXPECT_GT(textPixels, 10);

    // F4 opens and closes; Esc closes cancelling.
    ticks += 1000;
    sendKey(edit->Widget(), Qt::Key_F4);
    EXPECT_TRUE(edit->DroppedDown());
    sendKey(edit->Widget(), Qt::Key_F4);
    EXPECT_FALSE(edit->DroppedDown());
}

TEST_F(DropDownForm, EscapeInAClosedEditSelectsItAndReachesTheDialog)
{
    auto *cancel = new TButton(form);
    cancel->SetParent(form);
    cancel->SetBounds(20, 200, 75, 25);
    cancel->SetCancel(true);
    int cancelled = 0;
    cancel->OnClick = [&](TObject *) { ++cancelled; };
    edit->SetText(QStringLiteral("abcdef"));
    edit->SetFocus();
    settle();

    for (bool passOn : {true, false}) {
        SCOPED_TRACE(passOn);
        cancelled = 0;
        edit->SetDefaultHandling(passOn);
        edit->SetSelStart(2);
        edit->SetModified(true);
        sendKey(edit->Widget(), Qt::Key_Escape);
        settle();
        EXPECT_EQ(edit->SelLength(), 6);
        EXPECT_FALSE(edit->Modified());
        EXPECT_EQ(cancelled, passOn ? 1 : 0);
    }
}

TEST_F(DropDownForm, EnterMovesOnWhenItActsAsTab)
{
    auto *next = new TEdit(form);
    next->SetParent(form);
    next->SetBounds(20, 60, 100, 21);
    edit->SetFocus();
    settle();
    sendKey(edit->Widget(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(edit->Focused());
    edit->SetReturnIsTab(true);
    sendKey(edit->Widget(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(next->Focused());
}

TEST_F(DropDownForm, APressInsideTheSelectionIsHeldBackUntilTheRelease)
{
    edit->SetText(QStringLiteral("abcdefgh"));
    edit->SetFocus();
    settle();
    edit->SelectAll();
    const QPoint inside(20, 10);
    mousePress(edit->Widget(), inside);
    EXPECT_EQ(edit->SelLength(), 8);
    mouseRelease(edit->Widget(), inside);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->SelStart(), int(edit->Perform(EM_CHARFROMPOS, 0, MakeLParam(inside.x(), inside.y()))));
    EXPECT_GT(edit->SelStart(), 0);
}

TEST_F(DropDownForm, WheelTurnsReachThePickerFromTheEditAndThePopup)
{
    mouseWheel(edit->Widget(), QPoint(10, 10), -1);
    mouseWheel(edit->Widget(), QPoint(10, 10), 2);
    EXPECT_EQ(edit->wheelDown, 1);
    EXPECT_EQ(edit->wheelUp, 2);
    clickArrow();
    mouseWheel(popup()->ClientWidget(), QPoint(5, 5), -1);
    EXPECT_EQ(edit->wheelDown, 2);
}

TEST(DropDownPicker, CreationRunsThePickersStepsInOrderAndItsControlTakesTheKeys)
{
    QStringList log;
    TForm form(nullptr);
    form.SetBounds(100, 100, 400, 300);
    auto *picker = NewDropDown<TEditPicker>(&form, &log);
    picker->SetParent(&form);
    picker->SetBounds(20, 20, 200, 21);
    EXPECT_EQ(log, QStringList({"form", "button 17", "selection style 1", "component style 4", "own defaults"}));
    EXPECT_EQ(picker->DropDownColor(), clYellow);
    EXPECT_EQ(picker->inner->Color(), TColor(0xF3E5DA));
    EXPECT_EQ(picker->Control(), picker->inner);
    // The creation steps run once.
    picker->AfterConstruction();
    EXPECT_EQ(log.count(QStringLiteral("form")), 1);

    form.Show();
    QCoreApplication::processEvents();
    picker->SetText(QStringLiteral("start"));
    picker->ShowDropDown();
    QCoreApplication::processEvents();
    ASSERT_TRUE(picker->DroppedDown());
    EXPECT_TRUE(picker->inner->Focused());
    // The first opening takes the control's size and the border around it.
    EXPECT_EQ(picker->DropDownForm()->Width(), 150);
    EXPECT_EQ(picker->DropDownForm()->Height(), 122);
    EXPECT_EQ(picker->inner->BoundsRect(), Rect(1, 1, 149, 121));
    // Keys typed in the hosted control come back to the edit: Enter closes accepting.
    bool cancelled = true;
    picker->OnDropUp = [&](TObject *, bool c) { cancelled = c; };
    sendKey(picker->inner->Widget(), Qt::Key_Return);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_FALSE(cancelled);

    // A freed control is forgotten; the pop-up opens without it.
    delete picker->inner;
    EXPECT_EQ(picker->Control(), nullptr);
    picker->SetDropDownWidth(-1);
    picker->ShowDropDown();
    EXPECT_TRUE(picker->DroppedDown());
    EXPECT_EQ(picker->DropDownForm()->Width(), 200);
}

TEST_F(DropDownForm, FreeingTheFormWithThePopupOpenIsSafe)
{
    int closed = 0;
    edit->OnDropUp = [&](TObject *, bool) { ++closed; };
    clickArrow();
    ASSERT_TRUE(edit->DroppedDown());
    delete form;
    form = nullptr;
    settle();
    EXPECT_EQ(closed, 0);
}
