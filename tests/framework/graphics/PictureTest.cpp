#include "framework/graphics/Graphics.h"
#include "framework/graphics/Jpeg.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {

// Smooth gradients with some texture, like a photograph rather than flat synthetic colour.
TBitmap *photoLike(TBitmap &b)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(64, 64);
    for (int y = 0; y < 64; ++y) {
        uint8_t *row = b.ScanLine(y);
        for (int x = 0; x < 64; ++x) {
            row[3 * x + 0] = uint8_t(128 + 100 * std::sin(x / 9.0));              // blue
            row[3 * x + 1] = uint8_t(4 * y);                                     // green
            row[3 * x + 2] = uint8_t(128 + 90 * std::cos((x + y) / 13.0));       // red
        }
    }
    return &b;
}

double meanAbsError(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
        }
    return sum / (3.0 * a.width() * a.height());
}

void expectInvalid(const std::function<void()> &f, const char *needle)
{
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic &e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String(needle), Qt::CaseInsensitive)) << e.Message().toStdString();
    }
}

} // namespace

TEST(Bitmap, ScanLineIsBgrAndSizeChangesKeepPixels)
{
    TBitmap b(4, 3);
    b.Canvas()->SetPixels(1, 2, RGB(10, 20, 30));
    const uint8_t *row = b.ScanLine(2);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    b.SetSize(6, 6);
    EXPECT_EQ(b.Canvas()->Pixels(1, 2), TColor(RGB(10, 20, 30)));
    EXPECT_EQ(b.Canvas()->Pixels(5, 5), clWhite);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.ScanLine(2)[4 * 1 + 2], 10);
    EXPECT_THROW(b.ScanLine(6), EInvalidGraphicOperation);
}

TEST(Bitmap, StreamRoundTripAndTransparentDraw)
{
    TBitmap b(5, 5);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(1, 1, 4, 4));
    TBitmap c;
    c.LoadFromData(b.SaveToData());
    ASSERT_EQ(c.Width(), 5);
    EXPECT_EQ(c.Image(), b.Image().convertToFormat(c.Image().format()));

    // White (the bottom-left pixel) is the transparent colour: only the red square lands.
    c.SetTransparent(true);
    TBitmap target(5, 5);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 5, 5));
    target.Canvas()->Draw(0, 0, &c);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(2, 2), clRed);
    // Stretching doubles the square.
    TBitmap big(10, 10);
    big.Canvas()->StretchDraw(Rect(0, 0, 10, 10), &b);
    EXPECT_EQ(big.Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(big.Canvas()->Pixels(1, 1), clWhite);
}

TEST(Jpeg, PhotoRoundTripStaysClose)
{
    TBitmap src;
    photoLike(src);
    TJPEGImage jpg;
    jpg.Assign(&src);
    QByteArray data = jpg.SaveToData();
    ASSERT_TRUE(data.startsWith("\xFF\xD8\xFF"));
    TJPEGImage back;
    back.LoadFromData(data);
    ASSERT_EQ(back.Width(), 64);
    ASSERT_EQ(back.Height(), 64);
    EXPECT_LT(meanAbsError(src.ToImage(), back.ToImage()), 4.0);

    back.SetScale(jsHalf);
    EXPECT_EQ(back.Width(), 32);
    back.SetGrayscale(true);
    QColor px = back.ToImage().pixelColor(5, 5);
    EXPECT_TRUE(px.red() == px.green() && px.green() == px.blue());
}

TEST(Jpeg, DamagedDataRaisesAndKeepsPicture)
{
    TBitmap src;
    photoLike(src);
    TJPEGImage jpg;
    jpg.Assign(&src);
    const QByteArray good = jpg.SaveToData();
    QByteArray header = good;
    for (int i = 2; i < 40; ++i)
        header[i] = char(0x5A);
    QByteArray scan = good;
    for (qsizetype i = scan.size() / 2; i < scan.size() / 2 + 64; ++i)
        scan[i] = char(0xFF);
    const QByteArray inputs[] = {QByteArray(), good.left(2), good.left(good.size() / 2), header, scan,
                                 QByteArray("\xFF\xD8\xFF\xE0 not really", 15)};
    TJPEGImage target;
    target.LoadFromData(good);
    for (const QByteArray &in : inputs) {
        try {
            target.LoadFromData(in);
            ADD_FAILURE() << "accepted " << in.size() << " bytes";
        } catch (const EJPEG &e) {
            EXPECT_TRUE(e.Message().startsWith("JPEG image is not valid")) << e.Message().toStdString();
        }
        EXPECT_EQ(target.Width(), 64);
    }
}

TEST(Picture, LoadsByExtensionAndContentAndRejectsBadFiles)
{
    QTemporaryDir dir;
    TBitmap bmp(3, 2);
    const QString bmpPath = dir.filePath("a.bmp");
    bmp.SaveToFile(bmpPath);
    TJPEGImage jpg;
    jpg.Assign(&bmp);
    const QString jpgAsDat = dir.filePath("photo.dat");
    jpg.SaveToFile(jpgAsDat);

    TPicture pic;
    pic.LoadFromFile(bmpPath);
    EXPECT_NE(dynamic_cast<TBitmap *>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 3);
    pic.LoadFromFile(jpgAsDat);
    EXPECT_NE(dynamic_cast<TJPEGImage *>(pic.Graphic()), nullptr);

    TPicture copy;
    copy.Assign(&pic);
    EXPECT_NE(copy.Graphic(), pic.Graphic());
    EXPECT_EQ(copy.Height(), 2);

    auto write = [&](const QString &name, const QByteArray &data) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(data);
        return f.fileName();
    };
    const QString wmf = write("m.wmf", QByteArray("\xD7\xCD\xC6\x9A\0\0", 6));
    const QString emfAsPic = write("m.pic", QByteArray("\x01\0\0\0", 4) + QByteArray(36, '\0') + " EMF" + QByteArray(8, '\0'));
    const QString badBmp = write("bad.bmp", QByteArray("BM\x10\0\0\0garbage", 13));
    const QString jpgInBmp = write("x.bmp", jpg.SaveToData());
    const QString noise = write("n.xyz", QByteArray("just some words"));
    const QString emptyJpg = write("e.jpg", QByteArray());
    expectInvalid([&] { pic.LoadFromFile(wmf); }, "Metafiles are not supported");
    expectInvalid([&] { pic.LoadFromFile(emfAsPic); }, "Metafiles are not supported");
    expectInvalid([&] { pic.LoadFromFile(badBmp); }, "Bitmap image is not valid");
    expectInvalid([&] { pic.LoadFromFile(jpgInBmp); }, "Bitmap image is not valid");
    expectInvalid([&] { pic.LoadFromFile(noise); }, "unknown picture format");
    expectInvalid([&] { pic.LoadFromFile(emptyJpg); }, "empty");
    expectInvalid([&] { TIcon().LoadFromData("BM"); }, "Icon image is not valid");
    EXPECT_THROW(pic.LoadFromFile(dir.filePath("missing.bmp")), EFOpenError);
    // The picture loaded last is still there.
    EXPECT_NE(dynamic_cast<TJPEGImage *>(pic.Graphic()), nullptr);
}
