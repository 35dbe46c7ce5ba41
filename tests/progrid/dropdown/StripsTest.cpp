// The pop-up's header and footer strips: when they are made, where their buttons go, what they
// paint, what their buttons do to the drop-down, and the footer's size grip.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "editors/ProDropDownStrips.h"
#include "framework/rtl/Exceptions.h"

#include <QCursor>
#include <cstring>

namespace {

// A 16 x 16 image list with one red image.
struct RedImages
{
    TCustomImageList list{16, 16};
    RedImages()
    {
        TBitmap b(16, 16);
        b.Canvas()->Brush()->SetColor(clRed);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        list.Add(&b, nullptr);
    }
};

const TColor kHighlight = TColor(0xCCCCCC);  // a fifth of black in white

}  // namespace

struct Strips : DropDownForm
{
    void SetUp() override
    {
        DropDownForm::SetUp();
        edit->DropDownHeader()->SetVisible(true);
        edit->DropDownFooter()->SetVisible(true);
    }
};

TEST_F(Strips, AStripIsMadeTheFirstTimeItsSettingsAreVisible)
{
    edit->DropDownHeader()->SetVisible(false);
    edit->ShowDropDown();
    settle();
    EXPECT_EQ(popup()->Header(), nullptr);
    ASSERT_NE(popup()->Footer(), nullptr);
    EXPECT_EQ(popup()->Footer()->Align(), alBottom);

    // Made visible while open: made at the update that the change brings.
    edit->DropDownHeader()->SetVisible(true);
    ASSERT_NE(popup()->Header(), nullptr);
    TProHeader *header = popup()->Header();
    EXPECT_TRUE(header->Visible());
    EXPECT_EQ(header->Height(), 22);
    EXPECT_EQ(header->Align(), alTop);
    EXPECT_EQ(header->ProDropDown(), edit);

    // Hidden again it is kept, only hidden; its size follows its settings.
    edit->DropDownHeader()->SetHeight(30);
    edit->DropDownHeader()->SetVisible(false);
    EXPECT_EQ(popup()->Header(), header);
    EXPECT_FALSE(header->Visible());
    edit->HideDropDown(false);

    // Closed, a change waits for the next opening.
    edit->DropDownHeader()->SetVisible(true);
    EXPECT_FALSE(header->Visible());
    edit->ShowDropDown();
    EXPECT_TRUE(header->Visible());
    EXPECT_EQ(header->Height(), 30);
}

TEST_F(Strips, TheStripsAddTheirHeightsAndTheHostedControlSitsBelowTheHeader)
{
    QStringList log;
    auto *picker = NewDropDown<TEditPicker>(form, &log);
    picker->SetParent(form);
    picker->SetBounds(20, 100, 200, 21);
    picker->DropDownHeader()->SetVisible(true);
    picker->DropDownFooter()->SetVisible(true);
    picker->DropDownHeader()->SetHeight(25);
    picker->DropDownFooter()->SetHeight(30);
    picker->SetDropDownBorderWidth(2);
    picker->ShowDropDown();
    settle();
    EXPECT_EQ(picker->DropDownForm()->Height(), 2 * 2 + 25 + 30 + 120);
    EXPECT_EQ(picker->inner->Top(), 2 + 25);
    picker->HideDropDown(false);
}

TEST_F(Strips, ButtonsArePackedFromTheRightUpToTheGripOrTwoPixelsFromTheEdge)
{
    TFooterButtons *items = edit->DropDownFooter()->Buttons();
    items->Add()->SetWidth(30);
    items->Add()->SetWidth(20);
    for (const auto &[sizeable, reach] : {std::pair{true, 14}, {false, 2}}) {
        SCOPED_TRACE(sizeable);
        edit->SetDropDownSizeable(sizeable);
        edit->ShowDropDown();
        settle();
        TProFooter *footer = popup()->Footer();
        ASSERT_EQ(footer->ButtonList()->Count(), 2);
        EXPECT_EQ(footer->SizeGripShown(), sizeable);
        TProButton *first = footer->ButtonControl(0), *second = footer->ButtonControl(1);
        EXPECT_EQ(first->Left() + first->Width(), footer->Width() - reach);
        EXPECT_EQ(second->Left() + second->Width(), first->Left());
        EXPECT_EQ(first->Width(), 30);
        // The grip's corner dot (white, its shadow in the border colour) shows only with the grip.
        const int w = footer->Width(), h = footer->Height();
        EXPECT_EQ(shownPixel(footer->Widget(), w - 4, h - 4) == clWhite, sizeable);
        EXPECT_EQ(shownPixel(footer->Widget(), w - 5, h - 5) == clBlack, sizeable);
        edit->HideDropDown(false);
    }

    // Left alignment packs them from the left.
    edit->DropDownFooter()->SetButtonAlignment(baLeft);
    edit->ShowDropDown();
    TProFooter *footer = popup()->Footer();
    EXPECT_EQ(footer->ButtonControl(0)->Left(), 2);
    EXPECT_EQ(footer->ButtonControl(1)->Left(), 32);
}

TEST_F(Strips, AHeaderButtonTakesItsNaturalHeightCappedAtTheButtonArea)
{
    RedImages images;
    edit->SetImages(&images.list);
    THeaderButton *item = edit->DropDownHeader()->Buttons()->Add();
    item->SetImageIndex(0);
    struct Case
    {
        int stripHeight, itemHeight, expected;
    };
    // The natural height of a 16-pixel image is 20; the area is the strip less 2 above and 3 below.
    for (const Case &c : {Case{22, 0, 17}, Case{40, 0, 20}, Case{40, 10, 10}, Case{22, 30, 17}}) {
        SCOPED_TRACE(testing::Message() << c.stripHeight << " " << c.itemHeight);
        edit->DropDownHeader()->SetHeight(c.stripHeight);
        item->SetHeight(c.itemHeight);
        edit->ShowDropDown();
        TProHeader *header = popup()->Header();
        ASSERT_EQ(header->ButtonList()->Count(), 1);
        TProButton *b = header->ButtonControl(0);
        EXPECT_EQ(b->Height(), c.expected);
        EXPECT_EQ(b->Width(), 24);
        EXPECT_EQ(b->Top(), std::max(2, (c.stripHeight - 3 - c.expected) / 2));
        edit->HideDropDown(false);
    }
}

TEST_F(Strips, TheHeaderFramesItselfOnlyWhereThePopupDrawsNoFrame)
{
    edit->DropDownHeader()->SetColor(clWhite);
    edit->DropDownHeader()->SetColorTo(clNone);
    edit->SetDropDownBorderWidth(1);
    for (const TColor popupFrame : {clBlack, clNone}) {
        SCOPED_TRACE(popupFrame == clNone ? "no pop-up frame" : "pop-up frame");
        edit->SetDropDownBorderColor(popupFrame);
        edit->ShowDropDown();
        settle();
        QWidget *w = popup()->Header()->Widget();
        const int width = popup()->Header()->Width(), h = popup()->Header()->Height();
        const bool full = popupFrame == clNone;
        // The line towards the hosted control is always there.
        EXPECT_EQ(shownPixel(w, width / 2, h - 1), clBlack);
        for (const QPoint p : {QPoint(0, h / 2), QPoint(width / 2, 0), QPoint(width - 1, h / 2)})
            EXPECT_EQ(shownPixel(w, p.x(), p.y()), full ? clBlack : kHighlight) << p.x() << "," << p.y();
        // The highlight lies inside the frame.
        EXPECT_EQ(shownPixel(w, full ? 1 : 0, h / 2), kHighlight);
        EXPECT_EQ(shownPixel(w, width / 2, h - 2), kHighlight);
        EXPECT_EQ(shownPixel(w, width / 2, h / 2), clWhite);
        edit->HideDropDown(false);
    }
}

TEST_F(Strips, ACaptionCanComeFromTheEventAndDrawingTheBackgroundLeavesTheRestUnpainted)
{
    RedImages images;
    edit->SetImages(&images.list);
    TFooterAppearance *a = edit->DropDownFooter();
    a->SetImageIndex(0);
    a->SetColor(clWhite);
    a->SetColorTo(clNone);
    a->SetHeight(30);
    a->Buttons()->Add()->SetCaption(QStringLiteral("OK"));
    edit->OnGetFooterText = [](TObject *, QString &Text) { Text = QStringLiteral("<b>WWWWWW</b>"); };
    edit->ShowDropDown();
    settle();
    TProFooter *footer = popup()->Footer();
    const QImage plain = footer->Widget()->grab().toImage();
    const int w = footer->Width(), h = footer->Height();
    // The image 4 pixels into the content, the caption after it, the grip in the corner.
    EXPECT_EQ(shownPixel(footer->Widget(), 1 + 4 + 8, h / 2), clRed);
    int dark = 0;
    for (int x = 1 + 4 + 16 + 4; x < footer->ButtonControl(0)->Left(); ++x)
        for (int y = 1; y < h - 1; ++y)
            dark += qGray(plain.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
    EXPECT_EQ(shownPixel(footer->Widget(), w - 4, h - 4), clWhite);
    edit->HideDropDown(false);

    int drawn = 0;
    edit->OnDrawFooter = [&](TObject *Sender, TCanvas *ACanvas, TRect ARect) {
        EXPECT_EQ(Sender, popup()->Footer());
        EXPECT_EQ(ARect, Rect(0, 0, w, h));
        ++drawn;
        ACanvas->Brush()->SetColor(clLime);
        ACanvas->FillRect(ARect);
    };
    edit->ShowDropDown();
    settle();
    const QImage custom = footer->Widget()->grab().toImage();
    EXPECT_GT(drawn, 0);
    TProButton *b = footer->ButtonControl(0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (b->BoundsRect().Contains(Point(x, y)))
                continue;
            ASSERT_EQ(custom.pixel(x, y) & 0xFFFFFF, 0x00FF00u) << x << "," << y;
        }
}

TEST_F(Strips, AFooterButtonClosesTheDropDownByItsModalResult)
{
    edit->SetText(QStringLiteral("kept"));
    TFooterButton *item = edit->DropDownFooter()->Buttons()->Add();
    item->SetCaption(QStringLiteral("Go"));
    QStringList log;
    edit->OnDropUp = [&](TObject *, bool cancelled) { log << (cancelled ? "cancelled" : "accepted") << edit->Text(); };
    int clicked = -1;
    edit->OnDropDownFooterButtonClick = [&](TObject *Sender, int32_t Index) {
        EXPECT_EQ(Sender, edit);
        clicked = Index;
    };
    struct Case
    {
        TModalResult result;
        const char *closes;
    };
    const Case cases[] = {{mrOk, "accepted"}, {mrYes, "accepted"},   {mrCancel, "cancelled"}, {mrNo, "cancelled"},
                          {mrAbort, "cancelled"}, {mrRetry, nullptr}, {mrClose, nullptr}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.result);
        log.clear();
        clicked = -1;
        item->SetModalResult(c.result);
        ticks += 1000;
        edit->ShowDropDown();
        settle();
        edit->SetEditText(QStringLiteral("typed"));
        mouseClick(popup()->Footer()->ButtonControl(0)->Widget(), QPoint(3, 3));
        settle();
        EXPECT_EQ(clicked, 0);
        EXPECT_EQ(popup()->ModalResult(), c.result);
        if (c.closes) {
            EXPECT_FALSE(edit->DroppedDown());
            EXPECT_EQ(log, QStringList({c.closes, QString::fromLatin1(std::strcmp(c.closes, "accepted") ? "kept" : "typed")}));
        } else {
            EXPECT_TRUE(edit->DroppedDown());
            EXPECT_TRUE(log.isEmpty());
            edit->HideDropDown(true);
        }
        edit->SetText(QStringLiteral("kept"));
    }
}

TEST_F(Strips, KeysAndAcceleratorsPressFooterButtons)
{
    TFooterButtons *items = edit->DropDownFooter()->Buttons();
    items->Add()->SetCaption(QStringLiteral("&Apply"));
    items->Add()->SetCaption(QStringLiteral("&Close"));
    items->Items(1)->SetModalResult(mrOk);
    QList<int> clicked;
    edit->OnDropDownFooterButtonClick = [&](TObject *, int32_t Index) { clicked << Index; };

    edit->ShowDropDown();
    settle();
    TProFooter *footer = popup()->Footer();
    // Alt and the marked letter clicks the enabled button only.
    sendKey(footer->Widget(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(clicked, QList<int>({0}));
    footer->ButtonControl(0)->SetEnabled(false);
    sendKey(footer->Widget(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(clicked, QList<int>({0}));
    sendKey(footer->Widget(), Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(clicked, QList<int>({0}));

    // Space on the focused button closes by its result without the click event.
    TProButton *close = footer->ButtonControl(1);
    sendKey(close->Widget(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    settle();
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(clicked, QList<int>({0}));
    EXPECT_EQ(close->State(), absDown);

    ticks += 1000;
    edit->ShowDropDown();
    settle();
    sendKey(popup()->Footer()->Widget(), Qt::Key_C, Qt::AltModifier);
    settle();
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(clicked, QList<int>({0, 1}));
}

TEST_F(Strips, DraggingTheGripSizesThePopupAndShowsTheSizingCursor)
{
    edit->ShowDropDown();
    settle();
    TProFooter *footer = popup()->Footer();
    const int w0 = popup()->Width(), h0 = popup()->Height();
    const int fw = footer->Width(), fh = footer->Height();
    Screen->SetCursor(crDefault);

    mouseEnter(footer->Widget(), QPoint(5, 5));
    mouseMove(footer->Widget(), QPoint(fw - 5, fh - 5));
    EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
    mouseMove(footer->Widget(), QPoint(fw - 20, fh - 5));
    EXPECT_EQ(Screen->Cursor(), crDefault);
    mouseMove(footer->Widget(), QPoint(fw - 5, fh - 5));
    mouseLeave(footer->Widget());
    EXPECT_EQ(Screen->Cursor(), crDefault);

    // A press outside the corner does nothing; in it, the pop-up follows the mouse.
    QWidget *client = popup()->ClientWidget();
    mousePress(footer->Widget(), QPoint(fw - 20, fh - 5));
    mouseMove(client, QPoint(w0 + 40, h0 + 30), Qt::LeftButton);
    mouseRelease(client, QPoint(w0 + 40, h0 + 30));
    mouseRelease(footer->Widget(), QPoint(fw - 20, fh - 5));
    EXPECT_EQ(popup()->Width(), w0);

    const QPoint grip(fw - 5, fh - 5);
    const QPoint start = footer->Widget()->mapTo(popup()->ClientWidget(), grip);
    mousePress(footer->Widget(), grip);
    mouseMove(client, start + QPoint(40, 30), Qt::LeftButton);
    mouseRelease(client, start + QPoint(40, 30));
    EXPECT_EQ(popup()->Width(), w0 + 40);
    EXPECT_EQ(popup()->Height(), h0 + 30);
    EXPECT_EQ(edit->resized, 1);
    // The footer stays at the bottom with its grip.
    EXPECT_EQ(footer->Top() + footer->Height(), popup()->ClientHeight() - edit->DropDownBorderWidth());
}

TEST_F(Strips, SettingsCopyAllOrOnlyTheColoursAndOnlyFromTheirOwnKind)
{
    THeaderAppearance a(nullptr), b(nullptr);
    a.SetCaption(QStringLiteral("<b>x</b>"));
    a.SetColor(clRed);
    a.SetHeight(40);
    a.SetButtonAlignment(baLeft);
    a.Font()->SetSize(14);
    a.Buttons()->Add()->SetCaption(QStringLiteral("one"));
    a.SetVisible(false);
    int changes = 0;
    b.OnChange = [&](TObject *) { ++changes; };

    b.AssignColors(&a);
    EXPECT_EQ(b.Color(), clRed);
    EXPECT_EQ(b.Font()->Size(), 14);
    EXPECT_EQ(b.Height(), 22);
    EXPECT_TRUE(b.Caption().isEmpty());
    EXPECT_EQ(changes, 0);

    b.Assign(&a);
    EXPECT_EQ(b.Caption(), QStringLiteral("<b>x</b>"));
    EXPECT_EQ(b.Height(), 40);
    EXPECT_EQ(b.ButtonAlignment(), baLeft);
    ASSERT_EQ(b.Buttons()->Count(), 1);
    EXPECT_EQ(b.Buttons()->Items(0)->Caption(), QStringLiteral("one"));
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(changes, 1);

    TFooterAppearance f(nullptr);
    f.Assign(&a);
    EXPECT_EQ(f.Height(), 22);
    EXPECT_TRUE(f.Visible());

    // Caption, enabled state and width of a button tell the collection; its height does not.
    int buttonChanges = 0;
    f.OnButtonsChanged = [&](TObject *) { ++buttonChanges; };
    TFooterButton *item = f.Buttons()->Add();
    const int added = buttonChanges;
    item->SetHeight(9);
    item->SetModalResult(mrOk);
    EXPECT_EQ(buttonChanges, added);
    item->SetCaption(QStringLiteral("c"));
    item->SetEnabled(false);
    item->SetWidth(9);
    EXPECT_EQ(buttonChanges, added + 3);
}

TEST(DbgList, ReadsAndWritesPastTheEndRaise)
{
    int a = 1, b = 2;
    TList source;
    source.Add(&a);
    source.Add(&b);
    TDbgList list;
    list.Add(&b);
    list.AssignList(&source);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemsEx(1), &b);
    list.SetItemsEx(1, &a);
    EXPECT_EQ(list.ItemsEx(1), &a);
    for (int index : {2, 5}) {
        try {
            list.ItemsEx(index);
            ADD_FAILURE() << "no exception at " << index;
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Index out of bounds in list read access"));
        }
        try {
            list.SetItemsEx(index, &a);
            ADD_FAILURE() << "no exception at " << index;
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Index out of bounds in list write access"));
        }
    }
}
