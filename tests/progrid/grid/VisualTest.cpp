// How a cell looks: graphic queries and sizes, display text, colours, fonts, alignment and the
// selection colour mix.
#include "GridFixture.h"
#include "framework/graphics/ImgList.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

class TLookGrid : public TTestGrid
{
public:
    using TProStringGrid::CreateCellGraphic;
    using TProStringGrid::GetCellColor;
    using TProStringGrid::GetCellGraphicExportSize;
    using TProStringGrid::RemoveCellGraphic;
    using TProStringGrid::RemoveCellGraphicOfType;
    using TProStringGrid::FMouseDown;

    QString Formula;

    // What the grid paints for a cell, as the cell painting routine asks for it.
    struct Look
    {
        TColor brush, colorTo;
        std::unique_ptr<TFont> font = std::make_unique<TFont>();
        TGridDrawState state;
        TAlignment ha = taLeftJustify;
        TCellGradientDirection gd = GradientHorizontal;
    };
    Look Visual(int c, int r, TGridDrawState state = {}, bool Print = false)
    {
        Look l;
        l.state = state;
        TBrush brush;
        TColor mirror = clNone, mirrorTo = clNone;
        TVAlignment va = vtaTop;
        bool ww = false;
        GetVisualProperties(c, r, l.state, Print, true, true, &brush, l.colorTo, mirror, mirrorTo, l.font.get(), l.ha, va,
                            ww, l.gd);
        l.brush = brush.Color();
        return l;
    }

protected:
    void GetFormulaText(int ACol, int ARow, QString &Value) override
    {
        Value = Formula.isEmpty() ? GetCellEx(ACol, ARow) : Formula;
    }
};

} // namespace

TEST(VisualTest, ActiveCellHeadersTakeTheActiveLook)
{
    TLookGrid g;
    g.SetRowCount(8);
    g.SetFixedRows(2);
    g.SetActiveCellShow(true);
    g.ActiveCellFont()->SetStyle(TFontStyles{fsBold});
    g.ActiveCellFont()->SetSize(13);
    g.SetActiveCellColor(0x123456);
    g.SetCol(3);
    g.SetRow(5);
    for (auto [c, r] : {std::pair{0, 5}, std::pair{3, 1}}) {
        const auto l = g.Visual(c, r);
        EXPECT_EQ(l.brush, TColor(0x123456)) << c << "," << r;
        EXPECT_TRUE(l.font->Style().Contains(fsBold));
        EXPECT_EQ(l.font->Size(), 13);
    }
    // The upper header row keeps the fixed look of the newer looks.
    const auto top = g.Visual(3, 0);
    EXPECT_EQ(top.brush, g.DUZGradientFrom());
    EXPECT_EQ(top.colorTo, g.DUZGradientTo());
    EXPECT_EQ(top.font->Size(), g.FixedFont()->Size());
    EXPECT_NE(top.font->Size(), 13);
    EXPECT_TRUE(top.state.Contains(gdFixed));
    EXPECT_NE(g.Visual(0, 4).brush, TColor(0x123456));
}

TEST(VisualTest, CellBrushColoursByGraphicAndFixedArea)
{
    TLookGrid g;
    g.SetLook(glStandard);
    g.AddCheckBox(1, 2, cbChecked);
    g.SetColors(1, 2, 0x00FF00);
    g.SetColors(2, 2, 0x00FF00);
    TBrush brush;
    TFont font;
    brush.SetColor(clYellow);
    g.GetCellColor(1, 2, TGridDrawState{}, &brush, &font);
    EXPECT_EQ(brush.Color(), clYellow) << "a check box cell keeps the brush it came with";
    g.GetCellColor(2, 2, TGridDrawState{}, &brush, &font);
    EXPECT_EQ(brush.Color(), TColor(0x00FF00));

    g.SetColors(2, 0, 0x0000FF);
    EXPECT_EQ(g.Visual(2, 0).brush, TColor(0x0000FF)) << "a plain fixed cell keeps its own colour";
    g.AddCheckBox(3, 0, cbChecked);
    g.SetColors(3, 0, 0x0000FF);
    EXPECT_EQ(g.Visual(3, 0).brush, g.FixedColor()) << "a fixed check box cell paints fixed";
    g.SetLook(glOffice2007);
    EXPECT_EQ(g.Visual(3, 0).brush, g.DUZGradientFrom());
    EXPECT_EQ(g.Visual(2, 0).brush, TColor(0x0000FF));
}

TEST(VisualTest, BandsColourNormalRowsOnly)
{
    TLookGrid g;
    g.SetLook(glStandard);
    g.SetColCount(6);
    g.Bands()->SetPrimaryColor(0x111111);
    g.Bands()->SetSecondaryColor(0x222222);
    g.Bands()->SetActive(true);
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    EXPECT_EQ(g.Visual(2, 1).brush, TColor(0x111111));
    EXPECT_EQ(g.Visual(2, 2).brush, TColor(0x222222));
    EXPECT_EQ(g.Visual(2, 3).brush, TColor(0x111111));
    g.SetColors(2, 3, 0x333333);
    EXPECT_EQ(g.Visual(2, 3).brush, TColor(0x333333)) << "own colour, no band";
    const auto footer = g.Visual(2, g.RowCount() - 1);
    EXPECT_EQ(footer.brush, g.FixedColor());
    EXPECT_TRUE(footer.state.Contains(gdFixed));
    EXPECT_EQ(g.Visual(5, 2).brush, g.FixedColor()) << "right fixed column";
    EXPECT_EQ(g.Visual(2, 1, {}, true).brush, g.Color()) << "bands print only with Bands.Print";
    g.Bands()->SetPrint(true);
    EXPECT_EQ(g.Visual(2, 1, {}, true).brush, TColor(0x111111));
}

TEST(VisualTest, SelectionColourMix)
{
    TLookGrid g;
    g.SetSelectionColor(0xFF0000);
    g.SetSelectionColorMixer(true);
    g.SetSelectionTextColor(0x00AA00);
    g.SetColors(1, 1, 0x0000FF);
    g.SetSelection(GridRect(1, 1, 2, 1));
    const auto mixed = g.Visual(1, 1);
    EXPECT_EQ(mixed.brush, TColor(0x800080));
    EXPECT_TRUE(mixed.state.Contains(gdSelected));
    EXPECT_EQ(mixed.font->Color(), TColor(0x00AA00));
    EXPECT_EQ(g.Visual(2, 1).brush, TColor(0xFF0000)) << "on the grid's colour the selection colour is unmixed";
    EXPECT_EQ(g.Visual(3, 1).brush, g.Color());
    g.SetSelectionColorMixer(false);
    EXPECT_EQ(g.Visual(1, 1).brush, TColor(0xFF0000));
    g.SetSelectionTextColor(clNone);
    EXPECT_EQ(g.Visual(1, 1).font->Color(), g.Font()->Color()) << "no selection text colour leaves the font";
    EXPECT_EQ(g.Visual(3, 1).gd, GradientHorizontal) << "the caller's direction passes";
    EXPECT_EQ(g.Visual(3, 1, TGridDrawState{gdSelected}).gd, GradientVertical);

    g.SetSelectionColorMixerFactor(150);
    EXPECT_EQ(g.SelectionColorMixerFactor(), 100);
    g.SetSelectionColorMixerFactor(-5);
    EXPECT_EQ(g.SelectionColorMixerFactor(), 0);

    struct Case
    {
        TColor color, base;
        int percent;
        TColor mix;
    };
    // Channels worked by hand: 25% of 0xFF and 75% of 0x00 is 63.75, so 64 (0x40).
    const Case cases[] = {{0xFF0000, 0x0000FF, 50, 0x800080}, {0xFF0000, 0x000000, 25, 0x400000},
                          {0x102030, 0x405060, 100, 0x102030}, {0x102030, 0x405060, 0, 0x405060},
                          {clNone, 0x405060, 50, 0x405060}, {0x102030, clNone, 50, 0x102030},
                          {0x0A0A0A, 0x0B0B0B, 50, 0x0A0A0A}};
    for (const Case &c : cases)
        EXPECT_EQ(g.MixColors(c.color, c.base, c.percent), c.mix) << c.percent;
}

TEST(VisualTest, DisjunctRowsAndCellsShowTheirSelection)
{
    TLookGrid g;
    g.SetSelectionColor(0xFF0000);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetRowSelect(3, true);
    EXPECT_EQ(g.Visual(2, 3).brush, TColor(0xFF0000));
    EXPECT_EQ(g.Visual(2, 3).state, TGridDrawState{gdSelected});
    EXPECT_FALSE(g.Visual(2, 4, TGridDrawState{gdSelected}).state.Contains(gdSelected));
    g.FMouseDown = true;
    g.SetRow(3);
    EXPECT_EQ(g.Visual(2, 3).brush, g.Color()) << "the held row shows the state it toggles to";
    g.FMouseDown = false;
}

TEST(VisualTest, CellTypeAndRowCheckBoxes)
{
    TLookGrid g;
    EXPECT_EQ(g.GetCellType(-1, 0), ctEmpty);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
    g.AddCheckBox(0, 3, cbChecked);
    EXPECT_EQ(g.GetCellType(0, 3), ctTriStateCheckBox);
    g.SetRowCount(11);
    g.MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(g.GetCellType(0, 3), ctRowCheckBox);
    EXPECT_EQ(g.GetCellType(0, 5), ctRowCheckBox);

    auto header = [&] {
        const TCellGraphic *h = g.GetCellGraphic(0, 0);
        return std::pair{h->CellAngle(), h->CellBoolean()};
    };
    EXPECT_EQ(header(), (std::pair{0, false}));
    for (int r : {2, 5, 9})
        g.SetRowSelect(r, true);
    EXPECT_EQ(header(), (std::pair{1, false}));
    EXPECT_TRUE(g.GetCellGraphic(0, 5)->CellBoolean());
    EXPECT_FALSE(g.GetCellGraphic(0, 6)->CellBoolean());
    for (int r = 1; r <= 10; ++r)
        g.SetRowSelect(r, true);
    EXPECT_EQ(header(), (std::pair{0, true}));
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    g.GetCellAlignment(0, 4, ha, va);
    EXPECT_EQ(ha, taCenter);
}

TEST(VisualTest, GraphicSizes)
{
    TLookGrid g;
    TCanvas *c = g.Canvas();
    c->Font()->Assign(g.Font());

    TCellGraphic *radio = g.CreateCellGraphic(1, 1);
    radio->SetCellType(ctRadio);
    auto *options = new TStringList();
    options->Add("A");
    options->Add("BB");
    radio->SetCellBitmapObject(options);
    radio->SetCellCreated(true);
    radio->SetCellBoolean(true);
    EXPECT_EQ(g.GetCellGraphicSize(1, 1).X, c->TextWidth("A") + c->TextWidth("BB") + 24);
    EXPECT_EQ(g.GetCellGraphicSize(1, 1).Y, c->TextHeight("gh"));
    radio->SetCellBoolean(false);
    const TPoint vertical = g.GetCellGraphicSize(1, 1);
    EXPECT_EQ(vertical.X, std::max(c->TextWidth("A"), c->TextWidth("BB")) + 12);
    EXPECT_EQ(vertical.Y, 2 * std::max(16, c->TextHeight("gh")));

    TCellGraphic *rating = g.CreateCellGraphic(2, 1);
    rating->SetCellType(ctRating);
    rating->SetCellAngle(5);
    EXPECT_EQ(g.GetCellGraphicSize(2, 1), TPoint(90, 16));
    rating->SetCellHAlign(haFull);
    EXPECT_EQ(g.GetCellGraphicSize(2, 1), TPoint(90, 16)) << "a rating keeps its width under haFull";
    rating->SetCellVAlign(vaFull);
    EXPECT_EQ(g.GetCellGraphicSize(2, 1), TPoint(g.ColWidths(2), g.RowHeights(1)));

    TCellGraphic *bmp = g.CreateCellGraphic(3, 1);
    bmp->SetBitmap(new TBitmap(30, 20), false, haLeft, vaTop);
    bmp->SetCellCreated(true);
    EXPECT_EQ(g.GetCellGraphicSize(3, 1), TPoint(30, 20));
    g.SetCells(3, 1, "text");
    EXPECT_EQ(g.GetCellGraphicSize(3, 1), TPoint(0, 0)) << "the text decides";
    bmp->SetCellHAlign(haBeforeText);
    EXPECT_EQ(g.GetCellGraphicSize(3, 1), TPoint(30, 0));
    EXPECT_EQ(g.GetCellGraphicExportSize(3, 1, 100, 100, 1), TPoint(30, 20));

    g.AddCheckBox(4, 1, cbChecked);
    EXPECT_EQ(g.GetCellGraphicSize(4, 1), TPoint(15, 15));
    EXPECT_EQ(g.GetCellGraphicSize(4, 2), TPoint(0, 0));

    TCellGraphic *button = g.CreateCellGraphic(1, 2);
    button->SetButton(40, 18, "Go", haLeft, vaTop);
    EXPECT_EQ(g.GetCellGraphicSize(1, 2), TPoint(40, 18));
    EXPECT_EQ(g.GetCellGraphicExportSize(1, 2, 0, 0, 1), TPoint(40, 18));
    g.SetCells(1, 2, "x");
    EXPECT_EQ(g.GetCellGraphicSize(1, 2), TPoint(40, 0));

    TCustomImageList images(16, 12);
    g.SetGridImages(&images);
    TCellGraphic *multi = g.CreateCellGraphic(2, 2);
    multi->SetMultiImage(2, 2, 0, haLeft, vaTop, nullptr);
    for (int i = 0; i < 3; ++i)
        multi->CellIntList()->Add(i);
    multi->SetCellBoolean(true);
    EXPECT_EQ(g.GetCellGraphicSize(2, 2), TPoint(48, 12));
    EXPECT_EQ(g.GetCellImages(2, 2), multi->CellIntList());
    EXPECT_EQ(g.GetCellImages(1, 2), nullptr);
    g.SetGridImages(nullptr);
}

TEST(VisualTest, RemovingGraphics)
{
    TLookGrid g;
    g.AddCheckBox(1, 1, cbChecked);
    EXPECT_FALSE(g.RemoveCellGraphicOfType(1, 1, ctCheckBox));
    EXPECT_TRUE(g.RemoveCellGraphicOfType(1, 1, ctTriStateCheckBox));
    EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr);
    EXPECT_FALSE(g.RemoveCellGraphic(1, 1));
    TCellGraphic shared;
    shared.SetCellType(ctVirtCheckBox);
    g.SetGraphicObjectEx(2, 1, &shared);
    EXPECT_TRUE(g.RemoveCellGraphic(2, 1)) << "a shared box is detached, not freed";
    EXPECT_EQ(g.GetGraphicObjectEx(2, 1), nullptr);
}

TEST(VisualTest, DisplayTextWithLinksAndGroupCounts)
{
    TLookGrid g;
    g.SetCells(1, 1, "see wWw.Example.com now");
    g.SetCells(1, 3, "http://a.com and www.b.com");
    EXPECT_EQ(g.Cells(1, 1), "see wWw.Example.com now");
    g.SetURLShowInText(true);
    EXPECT_EQ(g.Cells(1, 1), "see <a href=\"wWw.Example.com\">wWw.Example.com</a> now");
    EXPECT_EQ(g.GetGridCell(1, 1), "see wWw.Example.com now");
    EXPECT_EQ(g.Cells(1, 3), "<a href=\"http://a.com\">http://a.com</a> and www.b.com") << "only the first prefix";
    g.SetURLShowInText(false);

    TCellGraphic *node = g.CreateCellGraphic(0, 2);
    node->SetCellType(ctNode);
    node->SetCellIndex(5);
    g.SetCells(1, 2, "Group");
    g.SetCells(2, 2, "other");
    EXPECT_EQ(g.Cells(1, 2), "Group");
    g.Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(g.Cells(1, 2), "Group (4)");
    EXPECT_EQ(g.Cells(2, 2), "other");
    node->SetCellErrFrom(1);
    g.Grouping()->SetGroupCountFormat(" [%d]");
    EXPECT_EQ(g.Cells(1, 2), "Group [3]");
}

TEST(VisualTest, AlignmentByNumbersPropertiesAndFormulas)
{
    TLookGrid g;
    g.SetAutoNumAlign(true);
    const std::pair<const char *, TAlignment> texts[] = {
        {"12.5", taRightJustify}, {" 7 ", taRightJustify}, {"1E5", taRightJustify}, {"abc", taLeftJustify}, {"", taLeftJustify}};
    for (auto [text, ha] : texts) {
        g.SetCells(1, 1, text);
        EXPECT_EQ(g.Visual(1, 1).ha, ha) << text;
    }
    g.SetCells(2, 1, "12.5");
    g.GetCellProperties(2, 1)->SetAlignment(taCenter);
    EXPECT_EQ(g.Visual(2, 1).ha, taCenter) << "a cell with properties follows its own";
    g.SetCells(2, 1, "=1+2");
    g.Formula = "3";
    EXPECT_EQ(g.Visual(2, 1).ha, taRightJustify) << "a formula aligns by its calculated text";
    g.Formula = "x";
    EXPECT_EQ(g.Visual(2, 1).ha, taLeftJustify);
    g.SetAutoNumAlign(false);
    g.SetCells(1, 1, "12.5");
    EXPECT_EQ(g.Visual(1, 1).ha, taLeftJustify);
    g.OnGetAlignment = [](TObject *, int r, int c, TAlignment &h, TVAlignment &) {
        if (r == 1 && c == 1)
            h = taCenter;
    };
    EXPECT_EQ(g.Visual(1, 1).ha, taCenter);
}

TEST(VisualTest, LookSettersRepaintOnlyOnChange)
{
    TLookGrid g;
    g.Invalidates = 0;
    g.SetSelectionColor(g.SelectionColor());
    g.SetURLShowInText(false);
    EXPECT_EQ(g.Invalidates, 0);
    g.SetSelectionColor(0x010203);
    g.SetURLShowInText(true);
    EXPECT_EQ(g.Invalidates, 2);
    g.SetURLColor(0x00FF00);
    EXPECT_EQ(g.Invalidates, 2) << "link colour repaints only while links show";
    g.SetShowSelection(false);
    EXPECT_FALSE(g.ShowSelection());
    g.SetSpreadSheet(false);
    EXPECT_TRUE(g.SelectionRectangle());
    EXPECT_TRUE(g.SelectionResizer());
    EXPECT_TRUE(g.Options().Contains(goEditing));
    EXPECT_TRUE(g.MouseActions()->RangeSelectAndEdit());
    EXPECT_TRUE(g.Navigation()->AllowSmartClipboard());
}
