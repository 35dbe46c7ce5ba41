// The item selector: its layout, hot and selected items by mouse and keys, lookup, painting of
// captions below pictures, scrolling an item into view, and the item look's colour presets.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "framework/graphics/ImgList.h"
#include "tests/common/PixelSheet.h"

namespace {

struct Selector : ::testing::Test
{
    TForm *form = nullptr;
    TProCustomItemSelector *sel = nullptr;

    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 300);
        sel = new TProCustomItemSelector(form);
        sel->SetParent(form);
        sel->SetBounds(10, 10, 200, 200);
        form->Show();
        DropDownForm::settle();
    }
    void TearDown() override { delete form; }
    TCustomItemSelector *panel() const { return sel->ItemSelectorPanel(); }
    QWidget *panelWidget() const { return panel()->Widget(); }
    // Colour boxes of 14 x 14 without captions: items of 22 x 22.
    void colourItems(int Count)
    {
        sel->SetSelectorType(stColor);
        for (int i = 0; i < Count; ++i)
            sel->Items()->Add()->SetColor(TColor(0x101010 * (i + 1)));
    }
    QPoint centre(int Index) const
    {
        const TRect r = sel->Items()->Items(Index)->ItemRect();
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

}  // namespace

TEST_F(Selector, EmptyAndGridLayouts)
{
    TSize size{0, 0};
    sel->GetPanelSize(size);
    EXPECT_EQ(size, (TSize{100, 50}));
    EXPECT_EQ(sel->ItemIndex(), -1);
    EXPECT_EQ(sel->GetVisibleItemCount(), 0);

    colourItems(5);
    sel->SetColumns(2);
    sel->SetColumns(0);  // refused
    EXPECT_EQ(sel->Columns(), 2);
    // 5 items in 2 columns: 3 rows; 2 item widths plus both margins of 2.
    sel->GetPanelSize(size);
    EXPECT_EQ(size, (TSize{2 + 22 + 22 + 2, 2 + 3 * 22 + 2}));
    EXPECT_EQ(sel->Items()->Items(3)->ItemRect(), Rect(24, 24, 46, 46));
    EXPECT_EQ(sel->Items()->Items(4)->ItemRect(), Rect(2, 46, 24, 68));
    // 200 / 22 whole rows, 2 per row.
    EXPECT_EQ(sel->GetVisibleItemCount(), 9 * 2);
    // Deleting an item lays the rest out again.
    sel->Items()->Delete(4);
    sel->GetPanelSize(size);
    EXPECT_EQ(size.cy, 2 + 2 * 22 + 2);

    // A caption to the right of the box: gap 4, caption 4 wider than measured.
    TPixelSheet sheet(10, 10);
    sheet.c()->Font()->Assign(sel->ItemAppearance()->Font());
    TPoint text;
    DrawHTMLCaption(sheet.c(), QStringLiteral("Blue"), Rect(0, 0, 1000, 500), nullptr, false, 0, text);
    sel->Items()->Items(0)->SetCaption(QStringLiteral("Blue"));
    sel->GetPanelSize(size);
    EXPECT_EQ(size.cx, 2 + 2 * (4 + 14 + 4 + text.X + 4 + 4) + 2);
}

TEST_F(Selector, MouseAndKeysSkipDisabledItems)
{
    colourItems(3);
    sel->Items()->Items(1)->SetEnabled(false);
    int selected = 0;
    sel->OnItemSelect = [&](TObject *sender) {
        EXPECT_EQ(sender, sel);
        ++selected;
    };
    mouseMove(panelWidget(), centre(1));
    EXPECT_EQ(sel->ItemHot(), -1);
    mouseClick(panelWidget(), centre(1));
    EXPECT_EQ(sel->ItemIndex(), -1);
    EXPECT_EQ(selected, 0);

    mouseMove(panelWidget(), centre(0));
    EXPECT_EQ(sel->ItemHot(), 0);
    mouseMove(panelWidget(), centre(1));
    EXPECT_EQ(sel->ItemHot(), -1) << "a disabled item un-hots";
    mouseClick(panelWidget(), centre(0));
    EXPECT_EQ(sel->ItemIndex(), 0);
    EXPECT_EQ(selected, 1);
    mouseLeave(panelWidget());
    EXPECT_EQ(sel->ItemHot(), -1);

    sel->SelectNext();
    EXPECT_EQ(sel->ItemIndex(), 0) << "the next item is disabled";
    sel->SelectLast();
    EXPECT_EQ(sel->ItemIndex(), 2);
    sel->SelectNext();
    EXPECT_EQ(sel->ItemIndex(), 2);
    sel->HotNext();
    sel->HotNext();
    EXPECT_EQ(sel->ItemHot(), 0);
    sel->SetItemIndex(1);
    EXPECT_EQ(sel->ItemIndex(), 2);

    // The same index again fires; -1 does not.
    selected = 0;
    sel->SetItemIndex(2);
    EXPECT_EQ(selected, 1);
    sel->SetItemIndex(-1);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(sel->ItemIndex(), -1);
}

TEST_F(Selector, LookupMatchesThePlainCaptionStart)
{
    for (const char *c : {"Green", "  <b>Red</b>", "Reed"})
        sel->Items()->Add()->SetCaption(QString::fromLatin1(c));
    EXPECT_TRUE(sel->LookupItem(QStringLiteral("RE")));
    EXPECT_EQ(sel->ItemIndex(), 1);
    EXPECT_FALSE(sel->LookupItem(QStringLiteral("BLUE")));
    EXPECT_EQ(sel->ItemIndex(), 1);
}

TEST_F(Selector, CaptionBelowAPictureStartsPictureHeightPlusGapLower)
{
    // The caption is an image of the list, so its top shows exactly where the caption starts.
    TImageList images(nullptr);
    images.SetSize(6, 6);
    TBitmap red;
    red.SetSize(6, 6);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 6, 6));
    images.Add(&red, nullptr);
    sel->SetImages(&images);
    sel->SetItemLayout(ilCaptionBottom);
    TBitmap blue;
    blue.SetSize(16, 32);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(Rect(0, 0, 16, 32));
    TSelectorItem *item = sel->Items()->Add();
    item->Image()->SetGraphic(&blue);
    item->SetCaption(QStringLiteral("<img src=\"idx:0\">"));
    sel->UpdateSelectorPanel();
    DropDownForm::settle();

    const QImage shot = panelWidget()->grab().toImage();
    auto firstRow = [&](QRgb want) {
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if ((shot.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF))
                    return y;
        return -1;
    };
    const int pictureTop = firstRow(qRgb(0, 0, 255));
    ASSERT_EQ(pictureTop, 2 + 4);
    EXPECT_EQ(firstRow(qRgb(255, 0, 0)), pictureTop + 36);
    sel->SetImages(nullptr);
}

TEST_F(Selector, ScrollsTheSelectedItemIntoView)
{
    colourItems(20);
    sel->SetHeight(100);
    DropDownForm::settle();
    ASSERT_TRUE(sel->VertScrollBar()->IsScrollBarVisible());
    sel->SetItemIndex(10);
    // Item 10 spans 222 .. 244 in the panel; its bottom meets the client's bottom.
    EXPECT_EQ(sel->VertScrollBar()->Position(), 244 - sel->ClientHeight());
    EXPECT_EQ(panel()->Top(), -sel->VertScrollBar()->Position());
    sel->SelectFirst();
    EXPECT_EQ(sel->VertScrollBar()->Position(), 2);
    // A dragged thumb moves the view at once.
    sel->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 100), 0);
    EXPECT_EQ(panel()->Top(), -100);
    // The wheel over the items scrolls them: three lines of 8 a notch.
    mouseWheel(panelWidget(), QPoint(5, 5), -1);
    EXPECT_EQ(panel()->Top(), -124);
}

TEST(SelectorPanel, OnlyAnItemSelectorOwnsAPanel)
{
    TForm owner(nullptr);
    try {
        TCustomItemSelector panel(&owner);
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid parent"));
    }
}

TEST(ItemLook, PresetsAndAssignment)
{
    TItemAppearance a(nullptr);
    EXPECT_EQ(a.ColorStyle(), scOffice2007);
    EXPECT_EQ(a.ColorHot(), TColor(0xD7FFFD));
    EXPECT_EQ(a.ColorMirrorSelectedTo(), TColor(0x68E3F9));
    EXPECT_EQ(a.ColorHotText(), clBlack);
    EXPECT_EQ(a.BorderColorHot(), clNone);
    a.SetColorStyle(scWindows7);
    EXPECT_EQ(a.BorderColor(), TColor(0xCEA27D));
    EXPECT_EQ(a.ColorMirrorHot(), clNone);
    a.SetColorStyle(scCustom);
    EXPECT_EQ(a.BorderColor(), TColor(0xCEA27D)) << "custom keeps the colours";

    // A source of another style ends with that style's presets, not its own colours.
    TItemAppearance source(nullptr);
    source.SetColorStyle(scWindowsVista);
    source.SetColorHot(clRed);
    source.SetColorSelectedText(clGreen);
    source.SetColorHotText(clYellow);
    TItemAppearance target(nullptr);
    target.Assign(&source);
    EXPECT_EQ(target.ColorStyle(), scWindowsVista);
    EXPECT_EQ(target.ColorHot(), TColor(0xFDF8F1));
    EXPECT_EQ(target.ColorSelectedText(), clGreen);
    EXPECT_EQ(target.ColorHotText(), clBlack) << "not copied";
    // The same style keeps the source's own colours.
    TItemAppearance same(nullptr);
    same.SetColorStyle(scWindowsVista);
    same.Assign(&source);
    EXPECT_EQ(same.ColorHot(), clRed);
}
