#include "framework/os/Clipbrd.h"
#include "framework/os/Printers.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

TEST(Clipboard, TextAndRawFormatsRoundTrip)
{
    TClipboard *c = Clipboard();
    c->SetAsText(QString::fromUtf8("a\tb\r\nc ü"));
    EXPECT_EQ(c->AsText(), QString::fromUtf8("a\tb\r\nc ü"));
    EXPECT_TRUE(c->HasFormat(CF_TEXT));

    const TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
    const TClipboardFormat own = RegisterClipboardFormat("Tarvix Grid Cells");
    EXPECT_EQ(RegisterClipboardFormat("rich text format"), rtf);
    EXPECT_GE(own, 0xC000u);
    EXPECT_EQ(ClipboardFormatMimeType(rtf), "text/rtf");
    for (TClipboardFormat f : {rtf, own})
        EXPECT_EQ(ClipboardFormatOfMimeType(ClipboardFormatMimeType(f)), f);
    EXPECT_EQ(ClipboardFormatOfMimeType("image/png"), 0u);

    // One Open/Close bracket puts several formats on the clipboard together.
    c->Open();
    c->Clear();
    c->SetAsText("plain");
    c->SetAsHandle(rtf, "{\\rtf1 plain}");
    c->SetAsHandle(own, QByteArray("\x01\x00\x02", 3));
    c->Close();
    EXPECT_EQ(c->AsText(), "plain");
    EXPECT_EQ(c->GetAsHandle(rtf), QByteArray("{\\rtf1 plain}"));
    EXPECT_EQ(c->GetAsHandle(own), QByteArray("\x01\x00\x02", 3));
    EXPECT_TRUE(c->HasFormat(own));
    EXPECT_FALSE(c->HasFormat(CF_BITMAP));
    EXPECT_THROW(c->GetAsHandle(0xBEEF), EClipboardException);

    // A text with a NUL ends there.
    c->SetAsText(QString("ab") + QChar(0) + "cd");
    EXPECT_EQ(c->AsText(), "ab");
}

TEST(Clipboard, PicturesRoundTripAndDamagedOnesRaise)
{
    TClipboard *c = Clipboard();
    TBitmap b(4, 4);
    b.Canvas()->SetPixels(1, 1, clRed);
    c->Assign(&b);
    EXPECT_TRUE(c->HasFormat(CF_BITMAP));
    TPicture pic;
    c->GetPicture(&pic);
    ASSERT_EQ(pic.Width(), 4);
    EXPECT_EQ(pic.Bitmap()->Canvas()->Pixels(1, 1), clRed);

    auto *bad = new QMimeData;
    bad->setData("image/png", QByteArray("\x89PNG\r\n\x1a\n broken", 16));
    QGuiApplication::clipboard()->setMimeData(bad);
    try {
        c->GetPicture(&pic);
        ADD_FAILURE() << "damaged picture accepted";
    } catch (const EClipboardException &e) {
        EXPECT_TRUE(e.Message().contains("damaged")) << e.Message().toStdString();
    }
    c->SetAsText("no picture");
    EXPECT_THROW(c->GetPicture(&pic), EClipboardException);
    EXPECT_EQ(pic.Width(), 4);
}

TEST(Printer, PrintsPagesToPdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    TPrinter p;
    p.SetOutputFileName(pdf);
    p.SetOrientation(poLandscape);
    p.SetPaperSize(DMPAPER_A4);
    EXPECT_GT(p.PageWidth(), p.PageHeight());
    EXPECT_THROW(p.EndDoc(), EPrinter);
    p.SetTitle("Matrix");
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    EXPECT_THROW(p.SetOrientation(poPortrait), EPrinter);
    p.Canvas()->Font()->SetSize(10);
    // A 10-point font is 10/72 inch high on paper, whatever the printer's resolution.
    EXPECT_NEAR(p.Canvas()->Font()->Height(), -10.0 * p.YDPI() / 72, 1);
    p.Canvas()->TextOut(100, 100, "Page one");
    p.Canvas()->Rectangle(50, 50, p.PageWidth() / 2, p.PageHeight() / 2);
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    p.Canvas()->TextOut(100, 100, "Page two");
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    EXPECT_FALSE(p.Aborted());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray data = f.readAll();
    EXPECT_TRUE(data.startsWith("%PDF"));
    EXPECT_EQ(data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page "), 2) << data.count("/Type /Page");

    p.BeginDoc();
    p.Abort();
    EXPECT_TRUE(p.Aborted());
    EXPECT_FALSE(p.Printing());
    EXPECT_THROW(p.Canvas()->TextOut(0, 0, "x"), EInvalidOperation);
    EXPECT_THROW(p.SetPaperSize(12345), EPrinter);
}
