// The string routines of mini-HTML text: entities, stripping, search marks and form controls.
#include "grid/core/PsgHTMLE.h"

#include <gtest/gtest.h>

TEST(HTMLEntities, EncodeUsesTheTableAndTheFourMarkupSigns)
{
    EXPECT_EQ(EncodeHTMLEntities(QString::fromUtf8("a & \xC3\xA9")), QStringLiteral("a &amp; &eacute;"));
    EXPECT_EQ(EncodeHTMLEntities(QStringLiteral("*amp;")), QStringLiteral("&amp;"));
    EXPECT_EQ(EncodeHTMLEntities(QStringLiteral("<\"x\">")), QStringLiteral("&lt;&quot;x&quot;&gt;"));
    EXPECT_EQ(EncodeHTMLEntities(QString(QChar(0x20AC))), QStringLiteral("&euro;"));
    // Entries 52 to 55 are not used.
    EXPECT_EQ(EncodeHTMLEntities(QString(QChar(0x00E3))), QString(QChar(0x00E3)));
}

TEST(HTMLEntities, DecodeUsesTheFirst51EntriesOnly)
{
    EXPECT_EQ(DecodeHTMLEntities(QStringLiteral("&lt;b&gt; &amp; &quot;")), QStringLiteral("<b> & \""));
    EXPECT_EQ(DecodeHTMLEntities(QStringLiteral("&eacute;&raquo;&euro;")),
              QString(QChar(0x00E9)) + QChar(0x00BB) + QChar(0x20AC));
    for (const char *kept : {"&atilde;", "&Atilde;", "&otilde;", "&Otilde"})
        EXPECT_EQ(DecodeHTMLEntities(QLatin1String(kept)), QLatin1String(kept));
    // Upper and lower case letters stay apart.
    EXPECT_EQ(DecodeHTMLEntities(QStringLiteral("&Eacute;&eacute;")), QString(QChar(0x00C9)) + QChar(0x00E9));
}

TEST(HTMLEntities, SmallConversions)
{
    QString t = QStringLiteral("xAbCyabc");
    EXPECT_TRUE(ReplaceFirstIgnoreCase(QStringLiteral("abc"), QStringLiteral("-"), t));
    EXPECT_EQ(t, QStringLiteral("x-yabc"));
    EXPECT_FALSE(ReplaceFirstIgnoreCase(QStringLiteral("zz"), QStringLiteral("-"), t));
    EXPECT_EQ(EncodeHTMLSpaces(QStringLiteral("a b")), QStringLiteral("a&nbsp;b"));
    EXPECT_EQ(PasswordMask(QStringLiteral("abc")), QStringLiteral("***"));
    EXPECT_EQ(LineBreaksToHTML(QStringLiteral("a\r\nb\rc\nd"), true), QStringLiteral("a<BR>b<BR>cd"));
    EXPECT_EQ(LineBreaksToHTML(QStringLiteral("a\r\nb"), false), QStringLiteral("ab"));
    EXPECT_EQ(NeutraliseHashTags(QStringLiteral("x<#1>y<b>")), QStringLiteral("x#1y<b>"));
    EXPECT_EQ(NeutraliseHashTags(QStringLiteral("<#a<#b>c>d")), QStringLiteral("#a#bcd"));
}

TEST(HTMLStrip, TagsGoAndBreaksBecomeLines)
{
    EXPECT_EQ(StripHTMLText(QStringLiteral("a<b>b</b><br>c<HR>d")), QStringLiteral("ab\r\nc\r\nd"));
    // A "<" without ">" keeps the rest once.
    EXPECT_EQ(StripHTMLText(QStringLiteral("a<b>c<d")), QStringLiteral("ac<d"));
    EXPECT_EQ(StripHTMLTags(QStringLiteral("a<b>c<br>d")), QStringLiteral("acd"));
    // A ">" before the first "<" stops the stripping.
    EXPECT_EQ(StripHTMLTags(QStringLiteral("a>b<c>d")), QStringLiteral("a>b<c>d"));
}

TEST(HTMLStrip, VisibleIndexCountsCharactersOutsideTags)
{
    const QString t = QStringLiteral("a<b>bc</b>d");
    struct
    {
        int n, index;
    } cases[] = {{1, 1}, {2, 2}, {3, 6}, {4, 7}, {5, 12}, {6, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(HTMLVisibleIndex(t, c.n), c.index) << c.n;
}

TEST(HTMLHighlight, MarksEveryOccurrence)
{
    QString r;
    HighlightHTMLText(QStringLiteral("aaaa"), QStringLiteral("aa"), QStringLiteral("hi"), r, true);
    EXPECT_EQ(r, QStringLiteral("<hi>aa</hi><hi>aa</hi>"));
    // Across a tag: opened before the first matched character, closed after the last.
    HighlightHTMLText(QStringLiteral("x<b>ab</b>c"), QStringLiteral("BC"), QStringLiteral("e"), r, false);
    EXPECT_EQ(r, QStringLiteral("x<b>a<e>b</b>c</e>"));
    HighlightHTMLText(QStringLiteral("Abc"), QStringLiteral("a"), QStringLiteral("hi"), r, true);
    EXPECT_EQ(r, QStringLiteral("Abc"));
    HighlightHTMLText(QStringLiteral("Abc"), QString(), QStringLiteral("hi"), r, true);
    EXPECT_EQ(r, QStringLiteral("Abc"));
}

TEST(HTMLHighlight, PlainTextWithSignsIsEscapedAndComesBack)
{
    QString r;
    HighlightHTMLText(QStringLiteral("x > 5"), QStringLiteral("x"), QStringLiteral("hi"), r, true);
    EXPECT_EQ(r, QStringLiteral("<hi>x</hi> &gt; 5"));
    EXPECT_EQ(UnHighlightHTMLText(r, QStringLiteral("HI")), QStringLiteral("x > 5"));
}

TEST(HTMLControls, ParseReadsQuotedValues)
{
    QString type, id, value, width, height, prop, maxlen;
    ParseHTMLControlTag(QStringLiteral("CONTROL type=\"edit\" id=\"Ab\" value=\"x &amp; y\" width=\"50\" maxlen=\"4\">"),
                        type, id, value, width, height, prop, maxlen);
    EXPECT_EQ(type, QStringLiteral("EDIT"));
    EXPECT_EQ(id, QStringLiteral("Ab"));
    EXPECT_EQ(value, QStringLiteral("x & y"));
    EXPECT_EQ(width, QStringLiteral("50"));
    EXPECT_EQ(height, QString());
    EXPECT_EQ(prop, QString());
    EXPECT_EQ(maxlen, QStringLiteral("4"));
}

TEST(HTMLControls, WalkFindsControlsById)
{
    const QString t = QStringLiteral(
        "<CONTROL TYPE=\"BUTTON\" ID=\"b\" WIDTH=\"9\"> <control type=\"check\" id=\"c\" value=\"TRUE\"> "
        "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"v1\" PROP=\"p\" MAXLEN=\"12\"><CONTROL TYPE=\"RADIO\" ID=\"r\" "
        "VALUE=\"TRUE\"><CONTROL TYPE=\"COMBO\" ID=\"e2\" VALUE=\"v2\">");
    EXPECT_TRUE(HasHTMLControl(t));
    EXPECT_FALSE(HasHTMLControl(QStringLiteral("<b>x</b>")));
    EXPECT_EQ(GetNextHTMLControlID(t, QString()), QStringLiteral("e1"));
    EXPECT_EQ(GetNextHTMLControlID(t, QStringLiteral("e1")), QStringLiteral("e2"));
    EXPECT_EQ(GetNextHTMLControlID(t, QStringLiteral("e2")), QString());
    QString v = QStringLiteral("keep");
    EXPECT_TRUE(GetHTMLControlValue(t, QStringLiteral("e2"), v));
    EXPECT_EQ(v, QStringLiteral("v2"));
    EXPECT_FALSE(GetHTMLControlValue(t, QStringLiteral("E2"), v));
    EXPECT_EQ(v, QStringLiteral("v2"));
    EXPECT_EQ(GetHTMLControlProp(t, QStringLiteral("e1")), QStringLiteral("p"));
    EXPECT_EQ(GetHTMLControlMaxLen(t, QStringLiteral("e1")), 12);
    EXPECT_EQ(GetHTMLControlMaxLen(t, QStringLiteral("zz")), 0);
    const QString cleared = ClearHTMLRadioGroup(t);
    EXPECT_TRUE(GetHTMLControlValue(cleared, QStringLiteral("r"), v));
    EXPECT_EQ(v, QStringLiteral("FALSE"));
}

TEST(HTMLControls, SetValueRebuildsTheTag)
{
    QString t = QStringLiteral("a<control id=\"x\" type=\"edit\" width=\"40\" height=\"30\" prop=\"&lt;p\" maxlen=\"5\" "
                               "extra=\"1\">b");
    EXPECT_TRUE(SetHTMLControlValue(t, QStringLiteral("x"), QStringLiteral("1 < 2")));
    EXPECT_EQ(t, QStringLiteral("a<CONTROL ID=\"x\" VALUE=\"1 &lt; 2\" WIDTH=\"40\" TYPE=\"EDIT\" HEIGHT=\"30\" "
                                "PROP=\"&lt;p\" MAXLEN=\"5\">b"));
    const QString before = t;
    EXPECT_FALSE(SetHTMLControlValue(t, QStringLiteral("y"), QStringLiteral("z")));
    EXPECT_EQ(t, before);
}
