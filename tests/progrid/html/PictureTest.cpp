// Pictures of mini-HTML text: GIF frames and timing, other formats, the cache and the container.
#include "grid/core/PictureContainer.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
void le16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

// A 4 x 4 GIF with three one-pixel frames at (0,0), (2,1) and (3,3), delays 10, 20 and 30.
QByteArray threeFrameGIF()
{
    QByteArray b("GIF89a");
    le16(b, 4);
    le16(b, 4);
    b.append(char(0x80)).append(char(0)).append(char(0));
    b.append(QByteArray::fromHex("000000FFFFFF"));
    const int pos[3][2] = {{0, 0}, {2, 1}, {3, 3}};
    for (int i = 0; i < 3; ++i) {
        b.append(QByteArray::fromHex("21F90400"));
        le16(b, 10 * (i + 1));
        b.append(char(0)).append(char(0));
        b.append(char(0x2C));
        le16(b, pos[i][0]);
        le16(b, pos[i][1]);
        le16(b, 1);
        le16(b, 1);
        b.append(char(0));
        b.append(QByteArray::fromHex("0202440100"));
    }
    b.append(char(0x3B));
    return b;
}

QByteArray png(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return data;
}

QString writeFile(QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return f.fileName();
}
} // namespace

TEST(HTMLPicture, GifFramesAreCountedAndChosen)
{
    THTMLPicture p;
    p.LoadFromData(threeFrameGIF());
    EXPECT_TRUE(p.IsGIF());
    EXPECT_FALSE(p.Empty());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.MaxWidth(), 4);
    EXPECT_EQ(p.MaxHeight(), 4);
    EXPECT_EQ(p.GetFrameTime(1), 10);
    EXPECT_EQ(p.GetFrameTime(3), 30);
    EXPECT_EQ(p.GetFrameTime(4), -1);
    int changes = 0;
    p.OnFrameChange = [&](TObject *) { ++changes; };
    p.SetFrame(2);
    EXPECT_EQ(p.FrameXPos(), 2);
    EXPECT_EQ(p.FrameYPos(), 1);
    EXPECT_EQ(p.Width(), 1);
    EXPECT_EQ(changes, 1);
    p.SetFrame(3);
    EXPECT_EQ(p.FrameXPos(), 3);
    EXPECT_EQ(p.FrameYPos(), 3);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
}

TEST(HTMLPicture, StepAdvancesByTheFrameDelays)
{
    THTMLPicture p;
    p.LoadFromData(threeFrameGIF());
    // Ticks of 10 hundredths: frame 1 lasts 10, frame 2 lasts 20.
    const bool expected[6] = {false, false, true, false, true, false};
    const int frames[6] = {1, 1, 2, 2, 3, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p.Step(), expected[i]) << i;
        EXPECT_EQ(p.Frame(), frames[i]) << i;
    }
    THTMLPicture still;
    still.LoadFromData(png(3, 2));
    EXPECT_FALSE(still.Step());
}

TEST(HTMLPicture, OtherFormats)
{
    THTMLPicture p;
    p.LoadFromData(png(7, 5));
    EXPECT_FALSE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), -1);
    EXPECT_EQ(p.Width(), 7);
    EXPECT_EQ(p.Height(), 5);
    EXPECT_EQ(p.MaxWidth(), 7);
    EXPECT_EQ(p.MaxHeight(), 5);
    TMemoryStream s;
    p.SaveToStream(&s);
    EXPECT_EQ(s.Bytes(), png(7, 5));
    THTMLPicture copy;
    copy.Assign(&p);
    EXPECT_EQ(copy.Width(), 7);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.SaveToData().size(), 0);
}

TEST(HTMLPicture, DataThatIsNoImage)
{
    QTemporaryDir dir;
    const QString text = writeFile(dir, QStringLiteral("x.png"), QByteArray("not an image at all"));
    THTMLPicture p;
    p.LoadFromData(png(2, 2));
    p.LoadFromFile(text);
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.Width(), 0);
    p.LoadFromFile(dir.filePath(QStringLiteral("missing.png")));
    EXPECT_TRUE(p.Empty());
    TMemoryStream s;
    s.Write("GIF89a broken", 13);
    s.SetPosition(0);
    try {
        p.LoadFromStream(&s);
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not load image. Invalid format"));
    }
    EXPECT_TRUE(p.Empty());
    p.LoadFromStream(nullptr);
    EXPECT_TRUE(p.Empty());
}

TEST(HTMLPicture, SourcesByAddress)
{
    QTemporaryDir dir;
    const QString file = writeFile(dir, QStringLiteral("Pic.png"), png(6, 4));
    THTMLPicture f;
    f.LoadFromURL(QStringLiteral("file://") + file);
    EXPECT_FALSE(f.Empty());
    EXPECT_EQ(f.Width(), 6);
    EXPECT_EQ(f.ID(), QStringLiteral("file://") + file);

    RegisterResource(RT_RCDATA, QStringLiteral("HtmlTestPic"), png(5, 3));
    THTMLPicture r;
    r.LoadFromURL(QStringLiteral("RES://htmltestpic"));
    EXPECT_EQ(r.Width(), 5);
    THTMLPicture missing;
    missing.LoadFromResourceName(HInstance, QStringLiteral("NoSuchPicture"));
    EXPECT_TRUE(missing.Empty());
    EXPECT_THROW(missing.LoadFromResourceID(HInstance, 4711), EResNotFound);
    UnregisterResource(RT_RCDATA, QStringLiteral("HtmlTestPic"));

    // Network addresses load nothing; asynchronous pictures only become busy.
    THTMLPicture web;
    web.LoadFromURL(QStringLiteral("http://example.org/a.png"));
    EXPECT_TRUE(web.Empty());
    EXPECT_TRUE(web.Busy());
    EXPECT_EQ(web.URL(), QStringLiteral("http://example.org/a.png"));
    EXPECT_EQ(web.ID(), QString());
    THTMLPicture sync;
    sync.SetAsynch(false);
    sync.LoadFromURL(QStringLiteral("http://example.org/a.png"));
    EXPECT_TRUE(sync.Empty());
    EXPECT_FALSE(sync.Busy());
    EXPECT_EQ(sync.ID(), QStringLiteral("http://example.org/a.png"));
}

TEST(HTMLPicture, CacheAndContainer)
{
    THTMLPictureCache cache;
    THTMLPicture *a = cache.AddPicture();
    a->SetID(QStringLiteral("file://a"));
    a->LoadFromData(threeFrameGIF());
    cache.AddPicture()->SetID(QStringLiteral("file://b"));
    EXPECT_EQ(cache.FindPicture(QStringLiteral("file://a")), a);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("FILE://A")), nullptr);
    EXPECT_FALSE(cache.Animate());
    EXPECT_FALSE(cache.Animate());
    EXPECT_TRUE(cache.Animate());
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);

    TPictureContainer c;
    EXPECT_EQ(c.Version(), QStringLiteral("1.0.0.0"));
    c.SetVersion(QStringLiteral("9"));
    EXPECT_EQ(c.Version(), QStringLiteral("1.0.0.0"));
    TPictureItem *item = c.Items()->Add();
    item->SetName(QStringLiteral("Logo"));
    item->SetTag(3);
    item->Picture()->LoadFromData(png(2, 2));
    EXPECT_EQ(c.FindPicture(QStringLiteral("lOGO")), item->Picture());
    EXPECT_EQ(c.FindPicture(QStringLiteral("other")), nullptr);
    TPictureItem *copy = c.Items()->Add();
    copy->Assign(item);
    EXPECT_EQ(copy->Name(), QStringLiteral("Logo"));
    EXPECT_EQ(copy->Tag(), 3);
    EXPECT_EQ(copy->Picture()->Width(), 2);
}
