// What the cell text painter shows: URLs, line handling, ellipsis, passwords, the filter button,
// background tiles, sort indicators and rich text.
#include "TextPaintFixture.h"
#include "framework/graphics/RichText.h"
#include <gtest/gtest.h>

namespace {

// The cell (2, 2) of a fresh grid (not the current cell) with the text, painted; Setup may
// change the grid first.
template <typename F>
QImage CellWith(const QString &Text, F &&Setup)
{
    TPaintGrid g;
    g.SetCells(2, 2, Text);
    Setup(g);
    return g.PaintCellOnly(2, 2);
}

QImage CellWith(const QString &Text)
{
    return CellWith(Text, [](TPaintGrid &) {});
}

const TColor kBlue = 0xFF0000, kGreen = 0x00A000;

}  // namespace

TEST(TextPaint, URLCellShowsThePartAfterTheSchemeUnderlinedInTheURLColour)
{
    auto url = [](TPaintGrid &g) {
        g.SetURLShow(true);
        g.SetURLColor(kBlue);
    };
    const QImage shown = CellWith(QStringLiteral("http://ab.example/x"), url);
    // The same text typed without the scheme, in a blue underlined cell font.
    const QImage expected = CellWith(QStringLiteral("ab.example/x"), [](TPaintGrid &g) {
        TCellProperties *p = g.GetCellProperties(2, 2);
        p->SetFontColor(kBlue);
        p->SetFontStyle(TFontStyles{fsUnderline});
    });
    EXPECT_EQ(shown, expected);
    EXPECT_GT(CountColor(shown, kBlue), 10);

    const QImage full = CellWith(QStringLiteral("http://ab.example/x"), [&](TPaintGrid &g) {
        url(g);
        g.SetURLFull(true);
    });
    EXPECT_NE(full, shown);

    // Selected: the selection text colour replaces the URL colour.
    TPaintGrid g;
    url(g);
    g.SetSelectionTextColor(kGreen);
    g.SetCells(1, 1, QStringLiteral("mailto:someone"));
    const QImage sel = g.PaintCellOnly(1, 1, TGridDrawState{gdSelected});
    EXPECT_EQ(CountColor(sel, kBlue), 0);
    EXPECT_GT(CountColor(sel, kGreen), 10);
}

TEST(TextPaint, TwoLineCellShowsItsFirstLineUnlessMultilineCells)
{
    const QString two = QStringLiteral("ab\r\ncd");
    auto noWrap = [](TPaintGrid &g) { g.SetWordWrap(false); };
    EXPECT_EQ(CellWith(two, noWrap), CellWith(QStringLiteral("ab"), noWrap));

    auto multi = [](TPaintGrid &g) {
        g.SetWordWrap(false);
        g.SetMultilineCells(true);
        g.SetDefaultRowHeight(40);
    };
    const QImage both = CellWith(two, multi);
    // Inside the grid lines at the right and bottom edges.
    const TRect inside(0, 0, both.width() - 1, both.height() - 1);
    const TRect ink = InkOfNonWhite(both, inside);
    const TRect oneInk = InkOfNonWhite(CellWith(QStringLiteral("ab"), multi), inside);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GT(ink.Bottom, oneInk.Bottom + 5);
}

TEST(TextPaint, EnhTextSizeEndsATooLongLineInAnEllipsis)
{
    const QString longText = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW");
    auto enh = [](TPaintGrid &g) {
        g.SetWordWrap(false);
        g.SetEnhTextSize(true);
    };
    const QImage cut = CellWith(longText, enh);
    EXPECT_NE(cut, CellWith(longText, [](TPaintGrid &g) { g.SetWordWrap(false); }));
    // The ellipsis is drawn as the platform draws it for the text rectangle: grid line 1, margins 2.
    TBitmap ref(80, 22);
    ref.Canvas()->Brush()->SetColor(clWhite);
    ref.Canvas()->FillRect(TRect(0, 0, 80, 22));
    TPaintGrid g;
    ref.Canvas()->Font()->Assign(g.Font());
    ref.Canvas()->Brush()->SetStyle(bsClear);
    TRect t(1 + 2, 1 + 2, 79 - 2, 21);
    ref.Canvas()->DrawText(longText, t, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL);
    const QImage refImg = ref.Image();
    EXPECT_EQ(InkOf(cut, clBlack), InkOf(refImg, clBlack));
}

TEST(TextPaint, PasswordCellShowsOnePasswordCharPerCharacter)
{
    const QImage masked = CellWith(QStringLiteral("hello"), [](TPaintGrid &g) {
        g.SetPasswordChar(QChar('#'));
        g.OnIsPasswordCell = [](TObject *, int ARow, int ACol, bool &IsPassword) { IsPassword = ACol == 2 && ARow == 2; };
    });
    EXPECT_EQ(masked, CellWith(QStringLiteral("#####")));
    EXPECT_NE(masked, CellWith(QStringLiteral("####")));
}

TEST(TextPaint, FilterRowCellsLoseRoomForTheFilterButton)
{
    struct
    {
        const char *Case;
        QString Text;
        int Lost;
    } cases[] = {
        {"plain", QStringLiteral("WWWWWWWWWWWWWWW"), 16},
        {"mini-HTML", QStringLiteral("<u>WWWWWWWWWWWWWWW</u>"), 18},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.Case);
        auto paint = [&](bool filter, bool glyph) {
            TPaintGrid g;
            g.SetFixedColor(clWhite);
            g.SetLook(glStandard);
            g.SetWordWrap(false);
            g.SetCells(1, 0, k.Text);
            // Underlined, the text's ink reaches the edge of the text rectangle.
            g.FixedFont()->SetStyle(TFontStyles{fsUnderline});
            if (filter)
                g.OnGetColumnFilter = [](TObject *, int, TStrings *Filter) { Filter->Add(QStringLiteral("x")); };
            if (glyph) {
                TBitmap b(8, 8);
                b.Canvas()->Brush()->SetColor(kGreen);
                b.Canvas()->FillRect(TRect(0, 0, 8, 8));
                b.Canvas()->SetPixels(0, 7, clFuchsia);
                g.FilterDropDown()->SetGlyph(&b);
            }
            return g.PaintCellOnly(1, 0);
        };
        const QImage plain = paint(false, false), filtered = paint(true, false);
        // The glyph sits in the last 16 pixels.
        const TRect textArea(0, 0, 79 - 16, 21);
        const TRect inkPlain = InkOfNonWhite(plain, TRect(0, 0, 79, 21));
        const TRect inkFiltered = InkOfNonWhite(filtered, textArea);
        EXPECT_EQ(inkPlain.Right - inkFiltered.Right, k.Lost) << inkPlain.Right;
        // The built-in glyph: black in the button area, no magenta.
        EXPECT_GT(CountColor(filtered, clBlack, TRect(80 - 16, 0, 80, 22)), 10);
        EXPECT_EQ(CountColor(filtered, clFuchsia), 0);
        // A glyph of the filter drop-down replaces it.
        const QImage own = paint(true, true);
        // At the top-left of the button area, inside the fixed cell's edge.
        EXPECT_EQ(InkOf(own, kGreen), TRect(79 - 16, 1, 79 - 8, 9));
        EXPECT_EQ(CountColor(own, kGreen), 63);
    }
}
