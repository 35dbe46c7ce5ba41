// The standard controls: edits, memo lines, check boxes, radio groups, lists and buttons.
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/NativeControls.h"
#include "framework/controls/StdCtrls.h"
#include "tests/common/LayoutCheck.h"
#include "tests/common/TestSupport.h"
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

void type(QWidget *w, int key, const QString &text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(w, &release);
}

void click(QWidget *w, QPoint p)
{
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
}

struct OnForm : ::testing::Test
{
    TForm form{nullptr};
    template <typename T>
    T *add()
    {
        auto *c = new T(&form);
        c->SetParent(&form);
        return c;
    }
};

}  // namespace

TEST_F(OnForm, EditTypingGoesThroughKeyPressFilters)
{
    auto *edit = add<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject *) { ++changes; };
    edit->OnKeyPress = [](TObject *, QChar &Key) {
        if (Key == QLatin1Char('x'))
            Key = QChar(0);  // refused
        else if (Key == QLatin1Char('b'))
            Key = QLatin1Char('B');
    };
    type(edit->Widget(), Qt::Key_A, "a");
    type(edit->Widget(), Qt::Key_X, "x");
    type(edit->Widget(), Qt::Key_B, "b");
    EXPECT_EQ(edit->Text(), QStringLiteral("aB"));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(edit->Modified());

    // A key cleared in KeyDown never reaches the edit; a character sent by code does.
    edit->OnKeyDown = [](TObject *, Word &Key, TShiftState) {
        if (Key == VK_BACK)
            Key = 0;
    };
    type(edit->Widget(), Qt::Key_Backspace, "\b");
    EXPECT_EQ(edit->Text(), QStringLiteral("aB"));
    edit->Perform(WM_CHAR, 'z');
    EXPECT_EQ(edit->Text(), QStringLiteral("aBz"));

    edit->SetText("hello");
    EXPECT_FALSE(edit->Modified());
    edit->SetSelStart(1);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelText(), QStringLiteral("ell"));
    edit->SetSelText("EL");
    EXPECT_EQ(edit->Text(), QStringLiteral("hELo"));
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(edit->Text(), QStringLiteral("HELO"));
    edit->SetMaxLength(2);
    edit->SetText("abcdef");
    EXPECT_EQ(edit->Text(), QStringLiteral("AB"));
}

TEST_F(OnForm, MemoLinesFollowTheEditControlsLineRules)
{
    auto *memo = add<TMemo>();
    TStrings *lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("x");
    lines->Add("y");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(memo->Text(), QStringLiteral("x\r\ny\r\n"));
    lines->Insert(0, "first");
    lines->SetStrings(1, "X");
    lines->Delete(2);
    EXPECT_EQ(lines->ToStringList(), QStringList({"first", "X"}));
    EXPECT_THROW(lines->Get(2), EStringListError);

    // Text without a final break: the next line is added after a new break.
    memo->SetText("a\r\nb");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add("c");
    EXPECT_EQ(memo->Text(), QStringLiteral("a\r\nb\r\nc"));
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), QStringLiteral("a\r\nb"));
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_TRUE(memo->Text().isEmpty());
}

TEST_F(OnForm, AMemoSetWhileHiddenShowsAndReadsItsWholeText)
{
    auto *memo = add<TMemo>();
    auto *raw = static_cast<QPlainTextEdit *>(memo->Widget());
    memo->Lines()->SetText("a\r\nb\r\n");
    // Whatever asks first, the memo itself or its first showing, sees the text.
    EXPECT_EQ(memo->Lines()->Count(), 2);
    memo->Lines()->SetText("c\r\nd\r\n");
    memo->Lines()->Add("e");
    EXPECT_EQ(memo->Lines()->ToStringList(), QStringList({"c", "d", "e"}));
    memo->Lines()->SetText("f\r\ng\r\n");
    form.Show();
    EXPECT_EQ(raw->toPlainText(), QStringLiteral("f\ng\n"));
    form.Hide();
    memo->Lines()->SetText("late");
    memo->Clear();
    form.Show();
    EXPECT_TRUE(raw->toPlainText().isEmpty());
    form.Hide();

    // A listener to OnChange hears of the new text at once.
    int changes = 0;
    memo->OnChange = [&](TObject *) { ++changes; };
    memo->Lines()->SetText("h");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(raw->toPlainText(), QStringLiteral("h"));
}

TEST_F(OnForm, CheckBoxClicksOnEveryChangeOfState)
{
    auto *box = add<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject *) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    static_cast<QCheckBox *>(box->Widget())->click();
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(clicks, 3);
}

TEST_F(OnForm, RadioGroupClampsItemIndexAndClicksOnSelection)
{
    auto *group = add<TRadioGroup>();
    group->SetBounds(0, 0, 200, 100);
    int clicks = 0;
    group->OnClick = [&](TObject *) { ++clicks; };
    group->Items()->Add("Data defined");
    group->Items()->Add("User defined");
    EXPECT_EQ(group->ItemIndex(), -1);

    group->SetItemIndex(2);  // past the end: the last item, and a click
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons(1)->isChecked());
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(1);
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(-5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(group->Buttons(0)->isChecked() || group->Buttons(1)->isChecked());
    EXPECT_EQ(clicks, 1);

    group->Buttons(0)->click();  // the user's click
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, 2);

    group->Items()->Delete(1);
    group->Items()->Delete(0);
    EXPECT_EQ(group->ItemIndex(), -1);

    // Two columns: the second half of the items starts further right.
    group->SetColumns(2);
    for (const char *s : {"a", "b", "c", "d"})
        group->Items()->Add(s);
    EXPECT_GT(group->Buttons(2)->x(), group->Buttons(1)->x());
    EXPECT_EQ(group->Buttons(2)->y(), group->Buttons(0)->y());
}

// The buttons share the room inside the frame and below the caption: none sits on the frame,
// and each is tall and wide enough for its text, one column or two.
TEST_F(OnForm, RadioGroupButtonsStayInsideTheFrame)
{
    auto *group = add<TRadioGroup>();
    group->SetCaption("Ro&w Constraints");
    group->SetBounds(8, 8, 230, 110);
    for (const char *s : {"Equiprobable", "Fixed Sum", "Proportional", "User-Defined"})
        group->Items()->Add(s);
    EXPECT_EQ(LayoutFaults(group->Widget()), QStringList());
    group->SetColumns(2);
    group->SetBounds(8, 8, 260, 70);
    EXPECT_EQ(LayoutFaults(group->Widget()), QStringList());
}

TEST_F(OnForm, ComboAndListBoxesKeepItemsWithObjects)
{
    TObject tag;
    auto *combo = add<TComboBox>();
    combo->SetStyle(csDropDownList);
    int events = 0;
    combo->OnChange = [&](TObject *) { ++events; };
    combo->Items()->AddObject("Species Richness", &tag);
    combo->Items()->Add("Dominance");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), QStringLiteral("Dominance"));
    EXPECT_EQ(combo->Items()->Objects(0), &tag);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(events, 0);  // only the user's choices are events
    combo->SetText("Species Richness");
    EXPECT_EQ(combo->ItemIndex(), 0);

    auto *editable = add<TComboBox>();
    editable->Items()->Add("1000");
    editable->SetText("250");
    EXPECT_EQ(editable->Text(), QStringLiteral("250"));
    EXPECT_EQ(editable->ItemIndex(), -1);

    auto *list = add<TListBox>();
    list->SetSorted(true);
    for (const char *s : {"pear", "Apple", "fig"})
        list->Items()->Add(s);
    EXPECT_EQ(list->Items()->ToStringList(), QStringList({"Apple", "fig", "pear"}));
    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_FALSE(list->Selected(1));
}

TEST_F(OnForm, SpeedButtonsOfAGroupStayDownOneAtATime)
{
    auto *a = add<TSpeedButton>();
    auto *b = add<TSpeedButton>();
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    b->SetLeft(30);
    int clicks = 0;
    a->OnClick = [&](TObject *) { ++clicks; };
    click(a->Widget(), {5, 5});
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1);
    click(a->Widget(), {5, 5});  // without AllowAllUp it stays down
    EXPECT_TRUE(a->Down());
    click(b->Widget(), {5, 5});
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    b->SetAllowAllUp(true);
    click(b->Widget(), {5, 5});
    EXPECT_FALSE(b->Down());
}

TEST_F(OnForm, BitBtnKindsAndTimers)
{
    auto *ok = add<TBitBtn>();
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    auto *no = add<TBitBtn>();
    no->SetKind(bkNo);
    EXPECT_TRUE(no->Cancel());

    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject *) {
        if (++ticks == 2)
            timer.SetEnabled(false);
    };
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(ticks, 2);
}

TEST_F(OnForm, EditClipboardKeysGoThroughMessagesThatAReadOnlyEditRefuses)
{
    auto *edit = add<TEdit>();
    QStringList seen;
    struct Spy : TEdit
    {
        using TEdit::TEdit;
        QStringList *seen = nullptr;
        void Dispatch(TMessage &m) override
        {
            if (m.Msg == WM_PASTE || m.Msg == WM_CUT || m.Msg == WM_COPY)
                *seen << QString::number(m.Msg, 16);
            TEdit::Dispatch(m);
        }
    };
    auto *spy = new Spy(&form);
    spy->SetParent(&form);
    spy->seen = &seen;
    QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
    spy->SetText(QStringLiteral("ab"));
    spy->SetSelStart(2);
    type(spy->Widget(), Qt::Key_V, QString(), Qt::ControlModifier);
    type(spy->Widget(), Qt::Key_Insert, QString(), Qt::ShiftModifier);
    EXPECT_EQ(spy->Text(), QStringLiteral("abxyxy"));
    spy->SelectAll();
    type(spy->Widget(), Qt::Key_X, QString(), Qt::ControlModifier);
    EXPECT_EQ(spy->Text(), QString());
    EXPECT_EQ(seen, QStringList({"302", "302", "300"}));

    edit->SetText(QStringLiteral("keep"));
    edit->SetReadOnly(true);
    edit->SelectAll();
    type(edit->Widget(), Qt::Key_X, QString(), Qt::ControlModifier);  // copies only
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("keep"));
    edit->SetSelStart(4);
    type(edit->Widget(), Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), QStringLiteral("keep"));

    // The formatting rectangle keeps the text off the parts of the client area outside it.
    TRect r;
    edit->SetBounds(0, 0, 100, 24);
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    // By default the text has the client area less the frame.
    EXPECT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= 100 && r.Bottom <= 24 && r.Right - r.Left > 80);
    const TRect narrow(3, 0, 80, 25);
    edit->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&narrow));
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, narrow);
    // The part right of the rectangle becomes a margin the text does not enter.
    const QMargins m = static_cast<QLineEdit *>(edit->Widget())->textMargins();
    EXPECT_GE(m.right(), 100 - 80 - 4);
}

TEST(Timer, TicksFireOnlyWhileTheTimerRuns)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject *) { ++ticks; };
    TMessage tick;
    tick.Msg = WM_TIMER;
    timer.WndProc(tick);
    timer.SetEnabled(false);
    timer.WndProc(tick);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    timer.WndProc(tick);
    EXPECT_EQ(ticks, 1);
}

TEST_F(OnForm, LabelShowsItsCaptionWithoutAcceleratorMarks)
{
    auto *label = add<TLabel>();
    label->SetCaption("&X variable:");
    EXPECT_EQ(static_cast<QLabel *>(label->Widget())->text(), QStringLiteral("X variable:"));
    EXPECT_GT(label->Width(), 0);
    auto *edit = add<TEdit>();
    label->SetFocusControl(edit);
    delete edit;  // the label lets go of a freed control
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(OnForm, ImagePlacementAndPanelBevelsShapeTheirContents)
{
    auto *image = add<TImage>();
    image->SetBounds(0, 0, 100, 50);
    TBitmap bmp(40, 20);
    image->Picture()->SetGraphic(&bmp);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 40, 20));
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), Rect(30, 15, 70, 35));
    image->SetStretch(true);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 50));
    image->SetProportional(true);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 50));
    image->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(image->DestRect(), Rect(0, 25, 100, 75));

    auto *panel = add<TPanel>();
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(3);
    auto *inside = new TPanel(&form);
    inside->SetParent(panel);
    inside->SetAlign(alClient);
    EXPECT_EQ(inside->BoundsRect(), Rect(5, 5, 195, 95));  // two bevels of 1 and a border of 3
}

namespace {

// An edit that lists the clipboard messages it receives and carries out only those allowed.
class TGuardedEdit : public TEdit
{
public:
    explicit TGuardedEdit(TComponent *AOwner) : TEdit(AOwner) {}
    std::vector<UINT> seen;
    bool allow = false;
    int bordersChanged = 0;

protected:
    void Dispatch(TMessage &Message) override
    {
        if (Message.Msg == CM_BORDERCHANGED)
            ++bordersChanged;
        if (Message.Msg == WM_PASTE || Message.Msg == WM_CUT || Message.Msg == WM_COPY) {
            seen.push_back(Message.Msg);
            if (!allow)
                return;
        }
        TEdit::Dispatch(Message);
    }
};

// Paints a red square over the edit's own painting.
class TMarkedEdit : public TEdit
{
public:
    explicit TMarkedEdit(TComponent *AOwner) : TEdit(AOwner) {}
    TCanvas canvas;

protected:
    void WMPaint(TMessage &Message) override
    {
        const bool over = PaintOverNative(this, Message, &canvas, [this] {
            canvas.Brush()->SetColor(clRed);
            canvas.FillRect(Rect(0, 0, 6, 6));
        });
        if (!over)
            TEdit::WMPaint(Message);
    }
};

}  // namespace

TEST_F(OnForm, EditClipboardKeysAndMenuGoThroughTheMessages)
{
    auto *edit = add<TGuardedEdit>();
    form.Show();
    edit->SetFocus();
    QApplication::processEvents();
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    edit->SetText(QStringLiteral("text"));
    edit->SelectAll();

    type(edit->Widget(), Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier);
    type(edit->Widget(), Qt::Key_Insert, QString(), Qt::ShiftModifier);
    type(edit->Widget(), Qt::Key_X, QStringLiteral("x"), Qt::ControlModifier);
    type(edit->Widget(), Qt::Key_Delete, QString(), Qt::ShiftModifier);
    type(edit->Widget(), Qt::Key_C, QStringLiteral("c"), Qt::ControlModifier);
    type(edit->Widget(), Qt::Key_Insert, QString(), Qt::ControlModifier);
    EXPECT_EQ(edit->seen, (std::vector<UINT>{WM_PASTE, WM_PASTE, WM_CUT, WM_CUT, WM_COPY, WM_COPY}));
    EXPECT_EQ(edit->Text(), "text") << "every one refused";
    EXPECT_EQ(QApplication::clipboard()->text(), "clip");

    // The edit's own menu sends them too.
    edit->seen.clear();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), edit->Widget()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(edit->Widget(), &menuEvent);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction *a : menu->actions()) {
        captions << a->text();
        if (a->text() == QLatin1String("&Paste") || a->text() == QLatin1String("Cu&t"))
            a->trigger();
    }
    menu->close();
    EXPECT_EQ(captions, (QStringList{"&Undo", "", "Cu&t", "&Copy", "&Paste", "&Delete", "", "Select &All"}));
    EXPECT_EQ(edit->seen, (std::vector<UINT>{WM_CUT, WM_PASTE}));
    EXPECT_EQ(edit->Text(), "text");

    // Allowed, the keys do what they always did.
    edit->allow = true;
    edit->SelectAll();
    type(edit->Widget(), Qt::Key_Insert, QString(), Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "clip");
    EXPECT_FALSE(edit->Widget()->acceptDrops()) << "no way round the messages by dropping text";
}

TEST_F(OnForm, EditFormattingRectangleBorderAndAlignment)
{
    auto *edit = add<TGuardedEdit>();
    edit->SetBounds(0, 0, 120, 22);
    auto *line = static_cast<QLineEdit *>(edit->Widget());
    TRect r = Rect(0, 0, 0, 0);
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(r.Right, 100) << "by default the text may run nearly to the right edge";

    const TRect wanted = Rect(r.Left, r.Top, 80, r.Bottom);
    edit->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&wanted));
    TRect got;
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got, wanted);
    EXPECT_EQ(line->textMargins().right(), r.Right - 80);
    edit->SetWidth(150);
    EXPECT_EQ(line->textMargins().right(), 0) << "a resize puts the default back";

    EXPECT_EQ(edit->BorderStyle(), bsSingle);
    edit->SetBorderStyle(bsNone);
    EXPECT_FALSE(line->hasFrame());
    EXPECT_EQ(edit->bordersChanged, 1);
    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(edit->bordersChanged, 1);

    edit->SetAlignment(taRightJustify);
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
}

TEST_F(OnForm, PaintOverNativeDrawsOnTopOfTheWidgetsOwnPainting)
{
    auto *edit = add<TMarkedEdit>();
    edit->SetBounds(0, 0, 120, 22);
    edit->SetText(QStringLiteral("WWWW"));
    const QImage img = edit->Widget()->grab().toImage();
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
    int dark = 0;
    for (int x = 8; x < 60; ++x)
        dark += qGray(img.pixel(x, 11)) < 100;
    EXPECT_GT(dark, 0) << "the edit's text is still there";
    TMessage m;
    m.Msg = WM_PAINT;
    EXPECT_FALSE(PaintOverNative(edit, m, &edit->canvas, [] {})) << "outside a paint event";
}

TEST_F(OnForm, ComboTellsWhenItsListOpensAndClosesAndHowWideItIs)
{
    auto *combo = add<TComboBox>();
    combo->SetBounds(10, 10, 120, 22);
    combo->Items()->Add(QStringLiteral("one"));
    QStringList events;
    combo->OnDropDown = [&](TObject *) { events << QStringLiteral("down"); };
    combo->OnCloseUp = [&](TObject *) { events << QStringLiteral("up"); };
    form.Show();
    QApplication::processEvents();

    click(combo->Widget(), QPoint(115, 11));
    QApplication::processEvents();
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(events, QStringList{QStringLiteral("down")});
    type(combo->Combo()->view(), Qt::Key_Escape, QString());
    QApplication::processEvents();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(events, (QStringList{"down", "up"}));

    combo->SetDroppedDown(true);
    combo->SetDroppedDown(false);
    EXPECT_EQ(events, (QStringList{"down", "up", "down", "up"}));

    EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 120) << "never narrower than the combo";
    combo->Perform(CB_SETDROPPEDWIDTH, 200);
    EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 200);
    combo->SetDroppedDown(true);
    EXPECT_EQ(combo->Combo()->view()->window()->width(), 200);
    combo->SetDroppedDown(false);
}
