// Layout, drawing and hit tests of the mini-HTML renderer.
#include "HTMLFixture.h"

#include "framework/graphics/Themes.h"

#include <QBuffer>

TEST_F(HTMLSheet, PlainTextIsOneLineFromTheLeftPlusOne)
{
    const HTMLOut o = Draw(QStringLiteral("Hello"));
    EXPECT_EQ(o.StripVal, QStringLiteral("Hello"));
    EXPECT_EQ(o.XSize, W(QStringLiteral("Hello")));
    EXPECT_EQ(o.YSize, GH());
    EXPECT_FALSE(o.Result);
    EXPECT_EQ(o.LinkCount, 0);
    EXPECT_EQ(o.MouseLink, -1);
    int left = 0;
    EXPECT_GT(NonWhite(&left), 0);
    EXPECT_GE(left, rect.Left + 1);
    // The canvas comes back as it was.
    EXPECT_EQ(C()->Font()->Color(), clBlack);
    EXPECT_EQ(C()->Brush()->Color(), clWhite);
}

TEST_F(HTMLSheet, TooWideTextEndsInAnEllipsis)
{
    const QString text = QStringLiteral("A rather long sentence that cannot fit");
    rect = TRect(10, 5, 10 + W(text) / 2, 115);
    Draw(text);
    const QImage drawn = Pixels();
    // The same line through the canvas's own ellipsis drawing.
    Clear();
    TRect r(rect.Left + 1, rect.Top, rect.Right, rect.Top + GH());
    C()->Brush()->SetStyle(bsClear);
    C()->DrawText(text, r, DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS);
    C()->Brush()->SetColor(clWhite);
    EXPECT_TRUE(Pixels() == drawn);
}

TEST_F(HTMLSheet, EmptyTextIsOneLineHighAndNoneWide)
{
    const HTMLOut o = Draw(QString());
    EXPECT_EQ(o.XSize, 0);
    EXPECT_EQ(o.YSize, GH());
    EXPECT_EQ(NonWhite(), 0);
}

TEST_F(HTMLSheet, AWordSplitByTagsWrapsAsOneWord)
{
    WordWrap = true;
    rect = TRect(10, 5, 10 + W(QStringLiteral("x a")) + 2, 115);
    HTMLOut o = Draw(QStringLiteral("x a<B>b</B>c"));
    EXPECT_EQ(o.StripVal, QStringLiteral("x abc"));
    EXPECT_LT(o.YSize, 2 * GH());
    o = Draw(QStringLiteral("x a b c"));
    EXPECT_GE(o.YSize, 2 * GH());
}

TEST_F(HTMLSheet, EntitiesAndBreaks)
{
    HTMLOut o = Draw(QStringLiteral("a&amp;b"));
    EXPECT_EQ(o.XSize, W(QStringLiteral("a&b")));
    o = Draw(QStringLiteral("x&permil;&euro;&COPY;"));
    EXPECT_EQ(o.StripVal, QStringLiteral("x") + QChar(0x2030) + QChar(0x20AC) + QChar(0x00A9));
    o = Draw(QStringLiteral("a<BR>b"));
    EXPECT_EQ(o.StripVal, QStringLiteral("a\rb"));
    EXPECT_EQ(o.YSize, 2 * GH());
    o = Draw(QStringLiteral("a\r\nb"));
    EXPECT_EQ(o.StripVal, QStringLiteral("a\rb"));
    // Hidden text is in the plain text but takes no room.
    o = Draw(QStringLiteral("a<Z>hidden</Z>b"));
    EXPECT_EQ(o.StripVal, QStringLiteral("ahiddenb"));
    EXPECT_EQ(o.XSize, W(QStringLiteral("ab")));
    // A "<" without ">" drops the rest.
    o = Draw(QStringLiteral("ab<cd"));
    EXPECT_EQ(o.StripVal, QStringLiteral("ab"));
    o = Draw(QStringLiteral("ab<"));
    EXPECT_EQ(o.StripVal, QStringLiteral("ab"));
}

TEST_F(HTMLSheet, FontColoursByNameAndHash)
{
    C()->Font()->SetSize(20);
    const QString block = QString(QChar(0x2588));
    for (const char *value : {"clred", "CLRED", "#ff0000", "#FF0000"}) {
        Clear();
        Draw(QStringLiteral("<FONT COLOR=\"%1\">%2</FONT>").arg(QLatin1String(value), block));
        EXPECT_GT(Count(clRed), 20) << value;
    }
    // </FONT> goes back to the entry colour, not to an enclosing font's.
    Clear();
    Draw(QStringLiteral("<FONT COLOR=\"clred\"><FONT COLOR=\"clblue\">x</FONT>%1</FONT>").arg(block));
    EXPECT_EQ(Count(clRed), 0);
    EXPECT_GT(Count(clBlack), 20);
    // System colour names.
    Clear();
    Draw(QStringLiteral("<FONT COLOR=\"cl3ddkshadow\">%1</FONT>").arg(block));
    EXPECT_GT(Count(TColor(ColorToRGB(cl3DDkShadow))), 20);
    // Background colours fill behind the text.
    Clear();
    Draw(QStringLiteral("<FONT BGCOLOR=\"#00ff00\">ab</FONT>"));
    EXPECT_GT(Count(clLime), 20);
}

TEST_F(HTMLSheet, LinkUnderThePointWithoutHitTestOnly)
{
    const QString text = QStringLiteral("xx <A HREF=\"Go\" TITLE=\"Tip\">link</A> yy");
    const int x0 = rect.Left + 1 + W(QStringLiteral("xx "));
    XPos = x0 + 3;
    YPos = rect.Top + GH() / 2;
    HTMLOut o = Draw(text);
    EXPECT_FALSE(o.Result);
    EXPECT_EQ(o.AnchorVal, QStringLiteral("Go"));
    EXPECT_EQ(o.AnchorTitle, QStringLiteral("Tip"));
    EXPECT_EQ(o.MouseLink, 1);
    EXPECT_EQ(o.LinkCount, 1);
    EXPECT_EQ(o.HoverRect, TRect(x0, rect.Top, x0 + W(QStringLiteral("link")), rect.Top + GH()));
    // Measuring again under HitTestOnly finds the link text.
    HitTestOnly = true;
    o = Draw(text);
    EXPECT_TRUE(o.Result);
    EXPECT_EQ(o.AnchorVal, QStringLiteral("Go"));
    // Beside the link nothing is found.
    HitTestOnly = false;
    XPos = rect.Left + 2;
    o = Draw(text);
    EXPECT_EQ(o.AnchorVal, QStringLiteral("none"));
    EXPECT_EQ(o.MouseLink, -1);
    EXPECT_EQ(o.HoverRect, TRect(-5, -5, -5, -5));
}

TEST_F(HTMLSheet, LinkOnTheLineAboveThePointIsNotFound)
{
    XPos = rect.Left + 3;
    YPos = rect.Top + GH() + GH() / 2;
    const HTMLOut o = Draw(QStringLiteral("<A HREF=\"up\">link</A><BR>plain"));
    EXPECT_EQ(o.AnchorVal, QStringLiteral("none"));
    EXPECT_EQ(o.MouseLink, -1);
    // On the second part of a link that spans two lines the hover rectangle starts at the line's left.
    const HTMLOut two = Draw(QStringLiteral("<A HREF=\"both\">one<BR>two</A>"));
    EXPECT_EQ(two.AnchorVal, QStringLiteral("both"));
    EXPECT_EQ(two.HoverRect.Left, rect.Left + 1);
    EXPECT_EQ(two.HoverRect.Top, rect.Top + GH());
}

TEST_F(HTMLSheet, ControlsByIdUnderHitTestOnly)
{
    const QString text = QStringLiteral("ab <CONTROL TYPE=\"edit\" ID=\"e\" VALUE=\"v&amp;w\" WIDTH=\"40\"> c");
    HitTestOnly = true;
    HTMLOut in;
    in.ControlID = QStringLiteral("e");
    const HTMLOut o = Draw(text, in);
    EXPECT_TRUE(o.Result);
    EXPECT_EQ(o.AnchorVal, QStringLiteral("ctrl"));
    const int x = rect.Left + 1 + W(QStringLiteral("ab "));
    EXPECT_EQ(o.ControlRect, TRect(x, rect.Top, x + 40, rect.Top + GH() + 10));
    EXPECT_EQ(o.ControlValue, QStringLiteral("v&w"));
    EXPECT_EQ(o.ControlType, QStringLiteral("EDIT"));
    EXPECT_EQ(o.ControlID, QStringLiteral("e"));
    EXPECT_EQ(NonWhite(), 0);
    // An unknown ID finds nothing.
    in.ControlID = QStringLiteral("E");
    const HTMLOut none = Draw(text, in);
    EXPECT_FALSE(none.Result);
    EXPECT_EQ(none.ControlRect, TRect(0, 0, 0, 0));
    EXPECT_EQ(none.ControlType, QString());
}

TEST_F(HTMLSheet, ControlWithoutWidthTakesNoRoom)
{
    const HTMLOut o = Draw(QStringLiteral("a<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"long value\">b"));
    EXPECT_EQ(o.XSize, W(QStringLiteral("ab")));
    const HTMLOut wide = Draw(QStringLiteral("a<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"50\">b"));
    EXPECT_EQ(wide.XSize, W(QStringLiteral("ab")) + 50);
}

TEST_F(HTMLSheet, CheckControlDrawsCheckedForTrueInAnyCase)
{
    auto image = [&](const char *value) {
        Clear();
        Draw(QStringLiteral("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"%1\" WIDTH=\"20\">").arg(QLatin1String(value)));
        return Pixels();
    };
    const QImage on = image("true"), upper = image("TRUE"), off = image("yes");
    EXPECT_TRUE(on == upper);
    EXPECT_FALSE(on == off);
    // The box is the theme's checked check box.
    Clear();
    const int bottom = rect.Top + 16;
    DrawThemedCheckBox(C(), TRect(rect.Left + 1 + 2, bottom - 15, rect.Left + 1 + 15, bottom), cbChecked, tsNormal);
    EXPECT_TRUE(Pixels() == on);
}

TEST_F(HTMLSheet, ImagesTakeTheirSizeOrNoRoom)
{
    HTMLOut o = Draw(QStringLiteral("a<IMG SRC=\"nope\">b<IMG SRC=\"file:///no/such.png\">"));
    EXPECT_EQ(o.XSize, W(QStringLiteral("ab")));
    // A named picture: 60 x 30, with only WIDTH it keeps its aspect ratio.
    QImage img(60, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    TPictureItem *item = container.Items()->Add();
    item->SetName(QStringLiteral("Pic"));
    item->Picture()->LoadFromData(png);
    o = Draw(QStringLiteral("<IMG SRC=\"pic\" WIDTH=\"80\">"));
    EXPECT_EQ(o.XSize, 80);
    EXPECT_EQ(o.YSize, 40);
    EXPECT_EQ(Count(clRed), 80 * 40);
    Clear();
    o = Draw(QStringLiteral("<IMG SRC=\"PIC\">"));
    EXPECT_EQ(o.XSize, 60);
    EXPECT_EQ(o.YSize, 30);
    EXPECT_EQ(Count(clRed), 60 * 30);
    EXPECT_EQ(At(rect.Left + 1, rect.Top), clRed);
}

TEST_F(HTMLSheet, ImageListAndDesktopIcons)
{
    TImageList list(12, 10);
    TBitmap red(12, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect(0, 0, 12, 10));
    list.Add(&red, nullptr);
    Images = &list;
    HTMLOut o = Draw(QStringLiteral("<IMG SRC=\"idx:0\">"));
    EXPECT_EQ(o.XSize, 12);
    EXPECT_EQ(Count(clRed), 120);
    EXPECT_EQ(At(rect.Left + 1, rect.Top), clRed);
    o = Draw(QStringLiteral("a<IMG SRC=\"IDX:1\">"));
    EXPECT_EQ(o.XSize, W(QStringLiteral("a")));
    o = Draw(QStringLiteral("<IMG SRC=\"SSYS:/no/such/file.txt\">"));
    EXPECT_EQ(o.XSize, 16);
    o = Draw(QStringLiteral("<IMG SRC=\"LSYS:0\">"));
    EXPECT_EQ(o.XSize, 32);
    EXPECT_EQ(o.YSize, 32);
}

TEST_F(HTMLSheet, FocusLinkAndAlignment)
{
    FocusLink = 1;
    HTMLOut o = Draw(QStringLiteral("<A HREF=\"one\">1</A> <A HREF=\"two\">2</A>"));
    EXPECT_EQ(o.FocusAnchor, QStringLiteral("two"));
    EXPECT_EQ(o.LinkCount, 2);
    FocusLink = -1;
    Clear();
    Draw(QStringLiteral("<P ALIGN=\"right\">ab</P>"));
    int left = 0;
    NonWhite(&left);
    EXPECT_GE(left, rect.Right - W(QStringLiteral("ab")) - 1);
}

TEST_F(HTMLSheet, MeasureOnlyDrawsNothingAndMeasuresEveryLine)
{
    QString text;
    for (int i = 0; i < 20; ++i)
        text += QStringLiteral("line<BR>");
    MeasureOnly = true;
    HTMLOut o = Draw(text);
    EXPECT_EQ(NonWhite(), 0);
    EXPECT_EQ(o.YSize, 20 * GH());
    // Drawn, the lines stop at the rectangle's bottom.
    MeasureOnly = false;
    o = Draw(text);
    EXPECT_GT(NonWhite(), 0);
    EXPECT_LE(o.YSize, rect.Height());
    EXPECT_GT(o.YSize + GH(), rect.Height() - GH());
}

TEST_F(HTMLSheet, LinkedImageUnderThePointShowsItsAltPicture)
{
    auto add = [&](const char *name, Qt::GlobalColor color) {
        QImage img(10, 10, QImage::Format_RGB32);
        img.fill(color);
        QByteArray data;
        QBuffer buf(&data);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        TPictureItem *item = container.Items()->Add();
        item->SetName(QLatin1String(name));
        item->Picture()->LoadFromData(data);
    };
    add("a", Qt::red);
    add("b", Qt::blue);
    const QString text = QStringLiteral("<A HREF=\"x\"><IMG SRC=\"a\" ALT=\"b\"></A>");
    HTMLOut o = Draw(text);
    EXPECT_FALSE(o.Result);
    EXPECT_EQ(Count(clRed), 100);
    Clear();
    XPos = rect.Left + 1 + 5;
    YPos = rect.Top + 5;
    o = Draw(text);
    EXPECT_TRUE(o.Result);
    EXPECT_EQ(o.AnchorVal, QStringLiteral("x"));
    EXPECT_EQ(Count(clBlue), 100);
    EXPECT_EQ(Count(clRed), 0);
}
