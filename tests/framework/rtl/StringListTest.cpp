#include "framework/rtl/Classes.h"
#include "framework/rtl/SysUtils.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {
QStringList items(const TStrings &l) { return l.ToStringList(); }

// Counts its own destructions, to see who frees what.
struct Tracked : TObject
{
    int *deaths;
    explicit Tracked(int *d) : deaths(d) {}
    ~Tracked() override { ++*deaths; }
};
} // namespace

TEST(StringList, CommaAndDelimitedText)
{
    TStringList l;
    l.SetCommaText(QStringLiteral("a \"b c\",d"));
    EXPECT_EQ(items(l), (QStringList{"a", "b c", "d"}));
    struct { const char *in; QStringList out; } cases[] = {
        {"a,,b", {"a", "", "b"}}, {"a,", {"a", ""}}, {" x , y ", {"x", "y"}},
        {"\"say \"\"hi\"\"\",z", {"say \"hi\"", "z"}}, {"", {}}, {"\"\"", {""}},
    };
    for (const auto &c : cases) {
        l.SetCommaText(QString::fromLatin1(c.in));
        EXPECT_EQ(items(l), c.out) << c.in;
    }
    l.Clear();
    l.Add(QStringLiteral("plain"));
    l.Add(QStringLiteral("with space"));
    l.Add(QStringLiteral("q\"uote"));
    l.Add(QString());
    EXPECT_EQ(l.CommaText(), QStringLiteral("plain,\"with space\",\"q\"\"uote\","));
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_TRUE(back.Equals(&l));

    l.SetDelimiter(QLatin1Char(';'));
    l.SetStrictDelimiter(true);
    l.SetDelimitedText(QStringLiteral(" a b ;c"));
    EXPECT_EQ(items(l), (QStringList{" a b ", "c"}));
    EXPECT_EQ(l.DelimitedText(), QStringLiteral(" a b ;c"));
    // CommaText keeps to the comma whatever the delimiter.
    EXPECT_EQ(l.CommaText(), QStringLiteral("\" a b \",c"));
}

TEST(StringList, TextNamesAndValues)
{
    TStringList l;
    l.SetText(QStringLiteral("a\r\nb\nc\rd\r\n"));
    EXPECT_EQ(items(l), (QStringList{"a", "b", "c", "d"}));
    l.SetText(QStringLiteral("x\r\n\r\n"));
    EXPECT_EQ(items(l), (QStringList{"x", ""}));
    EXPECT_EQ(l.Text(), QStringLiteral("x\r\n\r\n"));

    l.SetText(QStringLiteral("Width=10\nname=Tarvix\nnovalue"));
    EXPECT_EQ(l.Values(QStringLiteral("NAME")), QStringLiteral("Tarvix"));
    EXPECT_EQ(l.IndexOfName(QStringLiteral("width")), 0);
    EXPECT_EQ(l.Names(2), QString());
    EXPECT_EQ(l.ValueFromIndex(1), QStringLiteral("Tarvix"));
    l.SetValues(QStringLiteral("Width"), QStringLiteral("12"));
    l.SetValues(QStringLiteral("Height"), QStringLiteral("5"));
    l.SetValues(QStringLiteral("name"), QString());
    EXPECT_EQ(items(l), (QStringList{"Width=12", "novalue", "Height=5"}));
    l.SetValueFromIndex(0, QStringLiteral("14"));
    l.SetValueFromIndex(1, QStringLiteral("v"));
    l.SetValueFromIndex(2, QString());
    EXPECT_EQ(items(l), (QStringList{"Width=14", "=v"}));
    EXPECT_THROW(l.Strings(3), EListError);
    EXPECT_THROW(l.Delete(-1), EListError);
    try {
        l.Strings(7);
    } catch (const EListError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (7)"));
    }
}

TEST(StringList, SortedAndDuplicates)
{
    TStringList l;
    l.SetSorted(true);
    for (const char *s : {"pear", "Apple", "fig", "apple", "Fig"})
        l.Add(QString::fromLatin1(s));
    EXPECT_EQ(items(l), (QStringList{"Apple", "fig", "pear"})); // duplicates ignored, any case
    EXPECT_EQ(l.IndexOf(QStringLiteral("PEAR")), 2);
    EXPECT_EQ(l.Add(QStringLiteral("FIG")), 1);
    EXPECT_THROW(l.Insert(0, QStringLiteral("x")), EStringListError);
    EXPECT_THROW(l.Move(0, 2), EStringListError);
    EXPECT_EQ(l.Count(), 3);

    l.SetDuplicates(dupError);
    try {
        l.Add(QStringLiteral("pear"));
        ADD_FAILURE();
    } catch (const EListError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("String list does not allow duplicates"));
    }
    l.SetDuplicates(dupAccept);
    l.Add(QStringLiteral("pear"));
    EXPECT_EQ(l.Count(), 4);

    TStringList c;
    c.SetCaseSensitive(true);
    c.SetDuplicates(dupIgnore);
    c.SetSorted(true);
    c.Add(QStringLiteral("b"));
    c.Add(QStringLiteral("B"));
    c.Add(QStringLiteral("b"));
    EXPECT_EQ(c.Count(), 2);
    int at = -1;
    EXPECT_FALSE(c.Find(QStringLiteral("a"), at));
    EXPECT_EQ(at, 0);

    // Unsorted lists sort stably on demand and by a custom order.
    TStringList u;
    u.SetCommaText(QStringLiteral("10,9,100,b,A"));
    u.Sort();
    EXPECT_EQ(items(u), (QStringList{"10", "100", "9", "A", "b"}));
    u.CustomSort([](TStringList *list, int a, int b) {
        return int(list->Strings(a).size()) - int(list->Strings(b).size());
    });
    EXPECT_EQ(items(u), (QStringList{"9", "A", "b", "10", "100"}));
}

TEST(StringList, ObjectsOwnershipAndEvents)
{
    int deaths = 0;
    {
        TStringList l(true);
        l.AddObject(QStringLiteral("a"), new Tracked(&deaths));
        l.AddObject(QStringLiteral("b"), new Tracked(&deaths));
        l.AddObject(QStringLiteral("c"), new Tracked(&deaths));
        TObject *b = l.Objects(1);
        EXPECT_EQ(l.IndexOfObject(b), 1);
        l.Move(1, 2); // moving keeps the object alive
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(l.Objects(2), b);
        l.Exchange(0, 2);
        EXPECT_EQ(l.Objects(0), b);
        l.Delete(0);
        EXPECT_EQ(deaths, 1);
        l.SetObjects(0, new Tracked(&deaths)); // replacing frees the old one
        EXPECT_EQ(deaths, 2);
    }
    EXPECT_EQ(deaths, 4);

    TStringList l;
    int changes = 0, changing = 0;
    l.OnChange = [&](TObject *) { ++changes; };
    l.OnChanging = [&](TObject *) { ++changing; };
    l.Add(QStringLiteral("x"));
    EXPECT_EQ(changes, 1);
    l.BeginUpdate();
    l.Add(QStringLiteral("y"));
    l.Add(QStringLiteral("z"));
    EXPECT_EQ(changes, 1);
    l.EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(changing, 2);

    TStringList copy;
    copy.Assign(&l);
    EXPECT_TRUE(copy.Equals(&l));
    copy.AddStrings(&l);
    EXPECT_EQ(copy.Count(), 6);
}

TEST(StringList, FilesAndEncodings)
{
    QTemporaryDir tmp;
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(tmp.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString euroE = QStringLiteral("\u20ac\u00e9");
    struct { const char *name; QByteArray bytes; } cases[] = {
        {"utf8.txt", QByteArray("\xEF\xBB\xBF\xE2\x82\xAC\xC3\xA9\r\nx")},
        {"utf16le.txt", QByteArray("\xFF\xFE\xAC\x20\xE9\x00\r\x00\n\x00x\x00", 12)},
        {"utf16be.txt", QByteArray("\xFE\xFF\x20\xAC\x00\xE9\x00\r\x00\n\x00x", 12)},
        {"utf32le.txt", QByteArray("\xFF\xFE\0\0\xAC\x20\0\0\xE9\0\0\0\r\0\0\0\n\0\0\0x\0\0\0", 24)},
        {"utf32be.txt", QByteArray("\0\0\xFE\xFF\0\0\x20\xAC\0\0\0\xE9\0\0\0\r\0\0\0\n\0\0\0x", 24)},
        {"ansi.txt", QByteArray("\x80\xE9\r\nx")},
    };
    TStringList l;
    for (const auto &c : cases) {
        l.LoadFromFile(write(c.name, c.bytes));
        EXPECT_EQ(items(l), (QStringList{euroE, "x"})) << c.name;
    }
    // Without a mark, valid UTF-8 is read as UTF-8 and other bytes as Windows-1252.
    l.LoadFromFile(write("nobom.txt", QByteArray("\xC3\xA9")));
    EXPECT_EQ(l.Strings(0), QStringLiteral("\u00e9"));
    EXPECT_EQ(l.Encoding(), TEncoding::UTF8());
    l.LoadFromFile(write("ansi.txt", QByteArray("\xC3\xA9\xE9")));
    EXPECT_EQ(l.Strings(0), QStringLiteral("\u00c3\u00a9\u00e9"));
    EXPECT_EQ(l.Encoding(), TEncoding::ANSI());

    l.Clear();
    l.Add(euroE);
    l.Add(QStringLiteral("\u4e2d"));
    const QString path = tmp.filePath(QStringLiteral("out.txt"));
    // Saved without an encoding: Windows-1252 while it holds every character, else UTF-8 with
    // its mark, so that nothing is lost.
    l.SaveToFile(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("\u20ac\u00e9\r\n\u4e2d\r\n").toUtf8());
    f.close();
    l.Delete(1);
    l.SaveToFile(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\x80\xE9\r\n"));
    f.close();
    l.Add(QStringLiteral("\u4e2d"));
    l.Add(QStringLiteral("\U0001F600"));
    for (TEncoding *e : {TEncoding::UTF8(), TEncoding::Unicode(), TEncoding::BigEndianUnicode(), TEncoding::UTF32(),
                         TEncoding::BigEndianUTF32()}) {
        l.SaveToFile(path, e);
        TStringList back;
        back.LoadFromFile(path);
        EXPECT_TRUE(back.Equals(&l));
        EXPECT_EQ(back.Encoding(), e);
    }
    EXPECT_THROW(l.LoadFromFile(tmp.filePath(QStringLiteral("missing.txt"))), EFOpenError);
}

// The UTF-32 marks start like UTF-16's (FF FE 00 00 begins with FF FE): each is told apart, and
// what is no character in UTF-32 is replaced rather than passed on.
TEST(StringList, Utf32IsToldFromUtf16)
{
    struct
    {
        QByteArray bytes;
        QString text;
        TEncoding *found;
    } cases[] = {
        {QByteArray("\xFF\xFE\0\0A\0\0\0", 8), QStringLiteral("A"), TEncoding::UTF32()},
        {QByteArray("\0\0\xFE\xFF\0\0\0A", 8), QStringLiteral("A"), TEncoding::BigEndianUTF32()},
        {QByteArray("\xFF\xFE" "A\0B\0", 6), QStringLiteral("AB"), TEncoding::Unicode()},
        {QByteArray("\xFF\xFE\0\0\x00\xF6\x01\0", 8), QStringLiteral("\U0001F600"), TEncoding::UTF32()},
        // Beyond U+10FFFF, a surrogate, and three bytes left over at the end.
        {QByteArray("\xFF\xFE\0\0\0\0\x11\0\0\xD8\0\0A\0\0\0B\0\0", 19), QStringLiteral("\uFFFD\uFFFDA"),
         TEncoding::UTF32()},
    };
    for (const auto &c : cases) {
        TEncoding *found = nullptr;
        EXPECT_EQ(TEncoding::DecodeFileText(c.bytes, &found), c.text) << c.bytes.toHex().toStdString();
        EXPECT_EQ(found, c.found) << c.bytes.toHex().toStdString();
    }
}
