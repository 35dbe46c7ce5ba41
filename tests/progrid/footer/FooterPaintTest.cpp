// What the footer strip paints in its four styles.
#include "FooterFixture.h"

namespace {

struct TPainted
{
    int Col;
    TRect R;
    TObject *Sender;
};

} // namespace

TEST_F(FooterTest, BorderLineRunsOnlyAlongThePaintedColumns)
{
    columns(4, 50);
    const int w = 200, h = panel()->Height();
    ASSERT_GT(panel()->ClientWidth(), w + 50);
    EXPECT_EQ(countInRow(grab(), 0, 0, panel()->ClientWidth(), clRed), 0);
    footer()->SetBorderColor(clRed);
    const QImage img = grab();
    EXPECT_EQ(countInRow(img, 0, 0, w, clRed), w);
    EXPECT_EQ(countInRow(img, 0, w, panel()->ClientWidth(), clRed), 0);
    EXPECT_EQ(countInRow(img, h / 2, 0, panel()->ClientWidth(), clRed), 0) << "only the top edge";

    // Every style draws it; the custom paint style across the whole strip.
    footer()->SetFooterStyle(fsColumnPreview);
    EXPECT_EQ(countInRow(grab(), 0, 0, panel()->ClientWidth(), clRed), w);
    footer()->SetFooterStyle(fsCustomPaint);
    EXPECT_EQ(countInRow(grab(), 0, 0, panel()->ClientWidth(), clRed), panel()->ClientWidth());
}

TEST_F(FooterTest, LastRowStyleColoursTheStripAndItsCells)
{
    columns(5, 50);
    grid->SetLook(glStandard);
    grid->SetOptions(grid->Options() - goFixedVertLine - goFixedHorzLine);
    grid->SetColor(clWhite);
    footer()->SetColor(clLime);
    const int last = grid->RowCount() - 1;
    grid->SetColors(2, last, clYellow);
    grid->OnGetCellColor = [&](TObject *, int ARow, int ACol, TGridDrawState AState, TBrush *ABrush, TFont *) {
        if (ARow == last && ACol == 3 && AState.Contains(gdFixed) && ABrush->Color() == clNone)
            ABrush->SetColor(clAqua);
    };
    // Keep the painter's text out of the probed pixels.
    grid->OnPaintFooter = [](TObject *, int, TCanvas *, TRect) {};
    const QImage img = grab();
    const int y = panel()->Height() / 2;
    EXPECT_EQ(pixel(img, 60, y), clLime) << "strip colour under a plain cell";
    EXPECT_EQ(pixel(img, 125, y), clYellow) << "the cell's own colour";
    EXPECT_EQ(pixel(img, 175, y), clAqua) << "the colour event";
    EXPECT_EQ(pixel(img, 260, y), clWhite) << "right of the columns: the grid's colour";
}

TEST_F(FooterTest, LastRowStyleDrawsSeparatorsByOption)
{
    columns(4, 50);
    grid->SetLook(glXP);
    grid->SetGridLineColor(clBlue);
    grid->OnPaintFooter = [](TObject *, int, TCanvas *, TRect) {};
    grid->SetOptions(grid->Options() + goFixedVertLine + goFixedHorzLine);
    const int y = panel()->Height() / 2;
    QImage img = grab();
    // The top line in the grid's line colour, crossed by the right edges of columns 1 to 3.
    EXPECT_EQ(countInRow(img, 0, 0, 200, clBlue), 197);
    EXPECT_EQ(pixel(img, 99, 0), TColor(0x808080));
    EXPECT_EQ(pixel(img, 50, y), clWhite) << "raised left edge of column 1";
    EXPECT_EQ(pixel(img, 49, y), clBlue) << "right edge of the fixed column";
    EXPECT_EQ(pixel(img, 99, y), TColor(0x808080)) << "right edge of a scrollable column";
    grid->SetLook(glVista);
    img = grab();
    EXPECT_EQ(pixel(img, 99, y), clBlue);

    grid->SetLook(glStandard);
    grid->SetOptions(grid->Options() - goFixedVertLine - goFixedHorzLine);
    img = grab();
    const TColor face = ColorToRGB(footer()->Color());
    EXPECT_EQ(countInRow(img, 0, 0, 200, face), 200);
    EXPECT_EQ(pixel(img, 50, y), face);
    EXPECT_EQ(pixel(img, 99, y), face);
}

TEST_F(FooterTest, LastRowStyleHandsEachScrollableCellToThePaintEvent)
{
    columns(16, 50);
    grid->SetLeftCol(3);
    ASSERT_EQ(grid->LeftCol(), 3);
    grid->SetLook(glXP);
    grid->SetOptions(grid->Options() + goFixedVertLine + goFixedHorzLine);
    const int last = grid->RowCount() - 1;
    grid->MergeCells(5, last, 2, 1);
    std::vector<TPainted> painted;
    grid->OnPaintFooter = [&](TObject *Sender, int ACol, TCanvas *, TRect R) { painted.push_back({ACol, R, Sender}); };
    grab();
    const int h = panel()->Height();
    // Fixed column 0..50 goes to the grid's painter, then columns 3, 4, 5+6 merged, 7 .. 15 to
    // the event; each cell clear of the separators.
    const std::vector<std::pair<int, TRect>> expected = {
        {3, TRect(51, 1, 99, h)}, {4, TRect(101, 1, 149, h)}, {5, TRect(151, 1, 249, h)}, {7, TRect(251, 1, 299, h)}};
    ASSERT_EQ(painted.size(), 12u);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(painted[i].Sender, panel());
        EXPECT_EQ(painted[i].Col, expected[i].first);
        EXPECT_EQ(painted[i].R, expected[i].second) << painted[i].Col;
    }

    // A right-to-left grid mirrors the rectangles within the strip.
    grid->SetBiDiMode(bdRightToLeft);
    painted.clear();
    grab();
    const int w = panel()->ClientWidth();
    ASSERT_EQ(painted.size(), 12u);
    EXPECT_EQ(painted[0].R, TRect(w - 99, 1, w - 51, h));
    EXPECT_EQ(grid->BiDiMode(), bdRightToLeft) << "given back after painting";
    EXPECT_EQ(panel()->BiDiMode(), bdRightToLeft);
}

TEST_F(FooterTest, LastRowStyleShowsTheFooterTexts)
{
    columns(4, 60);
    grid->SetLook(glStandard);
    grid->SetOptions(grid->Options() - goFixedVertLine - goFixedHorzLine);
    footer()->SetColor(clWhite);
    auto ink = [&](int x1, int x2) {
        const QImage img = grab();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            n += countInRow(img, y, x1, x2, clWhite);
        return (x2 - x1) * img.height() - n;
    };
    const int last = grid->RowCount() - 1;
    EXPECT_EQ(ink(62, 118), 0);
    grid->SetCells(1, last, "12345");
    EXPECT_GT(ink(62, 118), 0) << "the grid's painter draws the footer cell";
}

TEST_F(FooterTest, ColumnPreviewFramesTheCurrentRowsCell)
{
    columns(4, 50);
    grid->SetColor(clWhite);
    footer()->SetColor(clLime);
    footer()->SetFooterStyle(fsColumnPreview);
    footer()->SetColumn(2);
    std::vector<TPainted> painted;
    grid->OnPaintFooter = [&](TObject *Sender, int ACol, TCanvas *, TRect R) { painted.push_back({ACol, R, Sender}); };
    const QImage img = grab();
    const int h = panel()->Height();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].Col, 2);
    EXPECT_EQ(painted[0].R, TRect(1, 1, 199, h - 1));
    EXPECT_EQ(pixel(img, 100, 0), clWhite);
    EXPECT_EQ(pixel(img, 0, h / 2), clWhite);
    EXPECT_EQ(pixel(img, 100, h - 1), TColor(0x808080));
    EXPECT_EQ(pixel(img, 199, h / 2), TColor(0x808080));
    EXPECT_EQ(pixel(img, 100, h / 2), clLime);
    EXPECT_EQ(pixel(img, 250, h / 2), clWhite);

    // Without the event the grid paints the current row's cell, never in selection colours.
    grid->OnPaintFooter = nullptr;
    grid->SetSelectionTextColor(clRed);
    grid->SetRow(3);
    grid->SetCol(2);
    grid->SetCells(2, 3, "previewed");
    const QImage shown = grab();
    int inkPixels = 0, red = 0;
    for (int y = 1; y < h - 1; ++y) {
        inkPixels += 198 - countInRow(shown, y, 1, 199, clLime);
        red += countInRow(shown, y, 1, 199, clRed);
    }
    EXPECT_GT(inkPixels, 0);
    EXPECT_EQ(red, 0);
    EXPECT_EQ(grid->SelectionTextColor(), clRed) << "given back after painting";
}

TEST_F(FooterTest, CustomPreviewFillsTheTemplateFromTheCurrentRow)
{
    grid->SetColCount(4);
    grid->SetRow(2);
    grid->SetCells(2, 2, "15");
    grid->SetCells(1, 2, "v");
    grid->SetCells(1, 3, "other row");
    const std::pair<QString, QString> cases[] = {
        {"Total: <#2>", "Total: 15"},
        {"a<#x>b", "ab"},
        {"<#>c", "c"},
        {"<#1>,<#1>", "v,v"},
        {"<b><#1></b>", "<b>v</b>"},
        {"<#99>!", "!"},
        {"open <#2", "open <#2"},
        {"", ""},
    };
    for (const auto &[tmpl, text] : cases)
        EXPECT_EQ(panel()->ExpandTemplate(tmpl), text) << tmpl.toStdString();
}

TEST_F(FooterTest, CustomPreviewDrawsTheExpandedTemplate)
{
    columns(4, 50);
    footer()->SetColor(clWhite);
    footer()->SetFooterStyle(fsCustomPreview);
    footer()->SetCustomTemplate("<#2>");
    grid->SetRow(1);
    auto ink = [&] {
        const QImage img = grab();
        int n = 0;
        for (int y = 2; y < img.height() - 1; ++y)
            n += 196 - countInRow(img, y, 2, 198, clWhite);
        return n;
    };
    EXPECT_EQ(ink(), 0) << "an empty cell leaves the strip empty";
    grid->SetCells(2, 1, "<b>15</b>");
    EXPECT_GT(ink(), 0);
}

TEST_F(FooterTest, CustomPaintLeavesTheStripToTheApplication)
{
    columns(4, 50);
    footer()->SetFooterStyle(fsCustomPaint);
    footer()->SetColumn(3);
    std::vector<TPainted> painted;
    grid->OnPaintFooter = [&](TObject *Sender, int ACol, TCanvas *Canvas, TRect R) {
        painted.push_back({ACol, R, Sender});
        Canvas->Brush()->SetColor(clFuchsia);
        Canvas->FillRect(R);
    };
    const QImage img = grab();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].Col, 3);
    EXPECT_EQ(painted[0].R, panel()->ClientRect());
    EXPECT_EQ(pixel(img, panel()->ClientWidth() - 2, 3), clFuchsia);
}
