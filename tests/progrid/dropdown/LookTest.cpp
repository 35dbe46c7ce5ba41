// What the pop-up and the drop-down button show, the button's place in the edit, and the settings
// that Assign, the colour tones and the selection styles carry.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include <QEvent>

namespace
{
// Opens the pop-up at 200 x 60 and returns what it shows.
QImage openAndGrab(TTestDropDown *edit)
{
    edit->SetDropDownHeight(60);
    edit->ShowDropDown();
    QCoreApplication::processEvents();
    return edit->DropDownForm()->Widget()->grab().toImage();
}

TColor pixelOf(const QImage &img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return TColor(RGB(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))));
}
} // namespace

TEST_F(DropDownForm, ThePopupPaintsItsBackgroundAndFrame)
{
    // The default style: a gradient from left to right inside the border width, no frame.
    QImage img = openAndGrab(edit);
    EXPECT_EQ(edit->DropDownColor(), TColor(0xF3E5DA));
    EXPECT_EQ(edit->DropDownColorTo(), TColor(0xF0DED0));
    EXPECT_EQ(edit->DropDownBorderColor(), clNone);
    EXPECT_EQ(pixelOf(img, 1, 30), TColor(0xF3E5DA));
    EXPECT_EQ(pixelOf(img, 0, 0), rgbOf(popup()->Color()));
    EXPECT_NE(pixelOf(img, 197, 30), TColor(0xF3E5DA));
    EXPECT_EQ(pixelOf(img, 197, 1), pixelOf(img, 197, 58));
    edit->HideDropDown(false);

    // Top to bottom.
    edit->SetDropDownGradient(gdVertical);
    edit->SetDropDownColor(clBlack);
    edit->SetDropDownColorTo(clBlue);
    edit->SetDropDownBorderColor(clRed);
    img = openAndGrab(edit);
    EXPECT_EQ(pixelOf(img, 100, 1), clBlack);
    EXPECT_NE(pixelOf(img, 100, 57), clBlack);
    EXPECT_EQ(pixelOf(img, 2, 57), pixelOf(img, 197, 57));
    // A frame one pixel wide along the edges.
    EXPECT_EQ(pixelOf(img, 0, 0), clRed);
    EXPECT_EQ(pixelOf(img, 199, 59), clRed);
    EXPECT_EQ(pixelOf(img, 100, 59), clRed);
    edit->HideDropDown(false);

    // One colour: a plain fill; no colour: the window's own background.
    edit->SetDropDownColorTo(clNone);
    edit->SetDropDownColor(clLime);
    img = openAndGrab(edit);
    EXPECT_EQ(pixelOf(img, 100, 30), clLime);
    edit->HideDropDown(false);
    edit->SetDropDownColor(clNone);
    edit->SetDropDownColorTo(clBlue);
    img = openAndGrab(edit);
    EXPECT_EQ(pixelOf(img, 100, 30), rgbOf(popup()->Color()));
    edit->HideDropDown(false);

    // Without a border width no frame is drawn.
    edit->SetDropDownColor(clLime);
    edit->SetDropDownColorTo(clNone);
    edit->SetDropDownBorderWidth(0);
    img = openAndGrab(edit);
    EXPECT_EQ(pixelOf(img, 0, 0), clLime);
    EXPECT_EQ(pixelOf(img, 199, 59), clLime);
}

TEST(DropDownPicker, TheBorderWidthInsetsTheHostedControl)
{
    QStringList log;
    TForm form(nullptr);
    auto *picker = NewDropDown<TEditPicker>(&form, &log);
    picker->SetParent(&form);
    form.Show();
    for (int border : {0, 1, 4}) {
        SCOPED_TRACE(border);
        picker->SetDropDownBorderWidth(border);
        picker->SetDropDownWidth(-border - 1);  // automatic, and forgets the last size
        picker->SetDropDownHeight(-border - 1);
        // The control's own size, and the border on both sides.
        picker->inner->SetAlign(alNone);
        picker->inner->SetBounds(0, 0, 150, 120);
        picker->ShowDropDown();
        TDropDownForm *popup = picker->DropDownForm();
        EXPECT_EQ(popup->Width(), 150);
        EXPECT_EQ(popup->Height(), 120 + 2 * border);
        EXPECT_EQ(picker->inner->Parent(), popup);
        EXPECT_EQ(picker->inner->Align(), alClient);
        EXPECT_EQ(picker->inner->BoundsRect(), Rect(border, border, 150 - border, 120 + border));
        picker->HideDropDown(false);
    }
}

TEST_F(DropDownForm, TheButtonSitsAtTheRightEdgeOfTheText)
{
    EXPECT_EQ(edit->Button()->BoundsRect(), Bounds(200 - 17 - 4, 0, 17, 21 - 4));
    EXPECT_EQ(edit->GetEditRect(), Rect(1, 1, 200 - 17 - 3, 22));
    edit->SetFlat(true);
    edit->SetWidth(180);
    EXPECT_EQ(edit->Button()->BoundsRect(), Bounds(180 - 17 - 3, 2, 17, 21 - 3));
    edit->SetFlat(false);
    edit->SetBorderStyle(bsNone);
    edit->SetDropDownButtonWidth(25);
    EXPECT_EQ(edit->Button()->BoundsRect(), Bounds(180 - 25, 1, 25, 21 - 2));
    EXPECT_EQ(edit->GetEditRect(), Rect(2, 3, 180 - 25 - 3, 22));
    // The speed button fills the container.
    EXPECT_EQ(edit->Button()->Controls(0)->BoundsRect(), Rect(0, 0, 25, 19));
    // An edit too low for its font grows to fit it.
    edit->SetHeight(3);
    EXPECT_GT(edit->Height(), 3);
    EXPECT_EQ(edit->Button()->Height(), edit->Height() - 2);
}

TEST_F(DropDownForm, AGlyphOrAButtonColourReplacesTheArrow)
{
    QWidget *w = arrow();
    // A glyph: a grey frame on the button face and the glyph, its bottom-left colour transparent.
    TBitmap glyph(6, 6);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
    glyph.Canvas()->SetPixels(0, 5, clLime);
    edit->SetDropDownButtonGlyph(&glyph);
    QImage img = w->grab().toImage();
    EXPECT_EQ(pixelOf(img, 0, 8), TColor(0x808080));
    EXPECT_EQ(pixelOf(img, 2, 2), clRed);
    EXPECT_EQ(pixelOf(img, 0, 5), TColor(0x808080));
    EXPECT_EQ(pixelOf(img, 1, 5), clRed);
    EXPECT_EQ(pixelOf(img, 8, 8), rgbOf(clBtnFace));
    edit->SetDropDownButtonGlyph(nullptr);

    // Colours: fill, the edit's border colour down the left edge, the arrow in the text colour;
    // the hot and down colours while the mouse is over it or the button is held.
    TDropDownEditButton *b = edit->Button();
    b->SetButtonColor(clYellow);
    b->SetButtonTextColor(clNavy);
    b->SetButtonColorHot(clAqua);
    b->SetButtonTextColorHot(clMaroon);
    b->SetButtonColorDown(clFuchsia);
    b->SetButtonTextColorDown(clGreen);
    edit->SetBorderColor(clRed);
    img = w->grab().toImage();
    EXPECT_EQ(pixelOf(img, 12, 3), clYellow);
    EXPECT_EQ(pixelOf(img, 8, 8), clNavy);
    EXPECT_EQ(pixelOf(img, 0, 5), clRed);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(w, &enter);
    img = w->grab().toImage();
    EXPECT_EQ(pixelOf(img, 12, 3), clAqua);
    EXPECT_EQ(pixelOf(img, 8, 8), clMaroon);
    mousePress(w, QPoint(5, 5));
    img = w->grab().toImage();
    EXPECT_EQ(pixelOf(img, 12, 3), clFuchsia);
    EXPECT_EQ(pixelOf(img, 8, 8), clGreen);
    // Drawn as not pressed once set up.
    static_cast<TProDropDownSpeedButton *>(edit->Button()->Controls(0))->SetUp();
    img = w->grab().toImage();
    EXPECT_EQ(pixelOf(img, 12, 3), clAqua);
}

TEST_F(DropDownForm, ColourTonesColourTheButtonAndTheBorderOnly)
{
    TColorTones tones;
    tones.Background = {clYellow, clRed, clBlack};
    tones.Hover = {clAqua, clBlue, clBlack};
    tones.Selected = {clFuchsia, clGreen, clBlack};
    TDropDownEditButton *b = edit->Button();
    b->SetButtonTextColor(clNavy);
    const TColor popupColor = edit->DropDownColor();
    edit->SetColorTones(tones);
    EXPECT_EQ(b->ButtonColor(), clYellow);
    EXPECT_EQ(b->ButtonColorHot(), clAqua);
    EXPECT_EQ(b->ButtonColorDown(), clFuchsia);
    EXPECT_EQ(b->ButtonBorderColor(), clRed);
    EXPECT_EQ(edit->BorderColor(), clRed);
    EXPECT_EQ(b->ButtonTextColor(), clNavy);
    EXPECT_EQ(edit->DropDownColor(), popupColor);
}

TEST_F(DropDownForm, SelectionStylesSetTheSelectionColours)
{
    struct Case
    {
        TSelectionColorStyle style;
        TColor from, to;
    };
    edit->SetSelectionColorStyle(scWindows7);
    const Case cases[] = {{scOffice2007, TColor(0xD7FFFD), TColor(0x58D4FC)},
                          {scWindowsVista, TColor(0xFDF8F1), TColor(0xFCEFD5)},
                          {scCustom, TColor(0xFDF8F1), TColor(0xFCEFD5)},
                          {scWindows7, TColor(0xFCEBDC), TColor(0xFCDBC1)}};
    for (const Case &c : cases) {
        edit->SetSelectionColorStyle(c.style);
        EXPECT_EQ(edit->SelectionColorStyle(), c.style);
        EXPECT_EQ(edit->SelectionColor(), c.from);
        EXPECT_EQ(edit->SelectionColorTo(), c.to);
    }
    // The custom style fills plainly; the others draw the rounded shape with its own frame.
    TBitmap bmp(40, 20);
    edit->SetSelectionColorStyle(scCustom);
    edit->DrawSelectionBackground(bmp.Canvas(), Rect(0, 0, 40, 20), clWhite, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), TColor(0xFCEBDC));
    EXPECT_EQ(bmp.Canvas()->Pixels(39, 19), TColor(0xFCEBDC));
    edit->SetSelectionColorStyle(scWindows7);
    edit->DrawSelectionBackground(bmp.Canvas(), Rect(0, 0, 40, 20), clLime, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(bmp.Canvas()->Pixels(20, 0), TColor(0xCEA27D));
}

TEST(DropDownAssign, AssignCopiesTheSettingsOfAnotherDropDownOnly)
{
    TForm form(nullptr);
    auto *from = NewDropDown<TTestDropDown>(&form);
    auto *to = NewDropDown<TTestDropDown>(&form);
    TBitmap glyph(4, 4);
    from->SetDropDownButtonGlyph(&glyph);
    from->Button()->SetButtonCaption(QStringLiteral("..."));
    from->SetDropDownColor(clRed);
    from->SetDropDownColorTo(clBlue);
    from->SetDropDownBorderWidth(3);
    from->SetDropDownWidth(120);
    from->SetDropDownButtonWidth(22);
    from->SetDropDownButtonHint(QStringLiteral("Open"));
    from->SetEditorEnabled(false);
    from->SetFlat(true);
    from->SetEtched(true);
    from->SetCanUndo(false);
    from->SetSelectionColorStyle(scWindowsVista);
    to->Assign(from);
    EXPECT_EQ(to->DropDownColor(), clRed);
    EXPECT_EQ(to->DropDownColorTo(), clBlue);
    EXPECT_EQ(to->DropDownBorderWidth(), 3);
    EXPECT_EQ(to->DropDownWidth(), 120);
    EXPECT_EQ(to->DropDownButtonWidth(), 22);
    EXPECT_EQ(to->Button()->Width(), 22);
    EXPECT_EQ(to->DropDownButtonHint(), QStringLiteral("Open"));
    EXPECT_TRUE(to->Button()->ShowHint());
    EXPECT_FALSE(to->EditorEnabled());
    EXPECT_TRUE(to->Flat());
    EXPECT_TRUE(to->Etched());
    EXPECT_FALSE(to->CanUndo());
    EXPECT_EQ(to->SelectionColorStyle(), scWindowsVista);
    EXPECT_EQ(to->SelectionColor(), TColor(0xFDF8F1));
    EXPECT_EQ(to->DropDownButtonGlyph()->Width(), 4);
    EXPECT_EQ(to->Button()->ButtonCaption(), QStringLiteral("..."));

    // Anything else leaves the edit as it was.
    TFont font;
    to->Assign(&font);
    EXPECT_EQ(to->DropDownColor(), clRed);
    EXPECT_EQ(to->Version(), QStringLiteral("1.2.1.0"));
}
