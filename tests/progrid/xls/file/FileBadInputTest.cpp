// Files the file object must refuse: each raises, and the object opens a good file afterwards.
#include "FileFixture.h"

#include <random>

using namespace xfile;

namespace {
void ExpectStillUsable(TXLSFile &F)
{
    F.NewFile(2);
    EXPECT_EQ(F.SheetCount(), 2);
    EXPECT_EQ(F.ActiveSheet(), 1);
    LoadBytes(F, SavedToMemory(F));
    EXPECT_EQ(F.SheetCount(), 2);
}
} // namespace

TEST(FileBadInput, RefusedFilesRaise)
{
    QTemporaryDir dir;
    Connected c;
    EXPECT_THROW(c.F.OpenFile(dir.filePath("missing.xls")), EFOpenError);
    ExpectStillUsable(c.F);

    const QByteArray wb = StreamBytes("Workbook");
    const QByteArray biff5 = rec::Record(0x0809, rec::Le16(0x0500) + rec::Le16(0x0005) + QByteArray(4, 0))
                             + wb.mid(20);
    const struct
    {
        const char *What;
        QByteArray File;
        QString Message; // empty: any exception of the run-time's kind
    } cases[] = {
        {"not a compound file", QByteArray("just some text, long enough to hold a header?").repeated(20), {}},
        {"no Workbook stream", Compound({ole::Stream("Book", wb)}), {}},
        {"BIFF5", Compound({ole::Stream("Workbook", biff5)}), {}},
        {"password", Compound({ole::Stream("Workbook", TemplateBookWith(rec::Record(0x002F, QByteArray(54, 1))))}),
         "File is password protected"},
        {"empty", QByteArray(), {}},
    };
    for (const auto &x : cases) {
        const QString msg = ole::MessageOf([&] { LoadBytes(c.F, x.File); });
        EXPECT_FALSE(msg.isEmpty()) << x.What;
        if (!x.Message.isEmpty()) {
            EXPECT_EQ(msg, x.Message) << x.What;
        }
        ExpectStillUsable(c.F);
    }
}

TEST(FileBadInput, CutAndFlippedFiles)
{
    // Whatever loads of a damaged file saves and loads again; the rest raises.
    Connected src;
    src.F.NewFile(2);
    const QByteArray good = SavedToMemory(src.F);
    std::mt19937 rng(54);
    Connected c;
    for (int k = 0; k < 300; ++k) {
        QByteArray b = good;
        if (k % 3 == 0)
            b.truncate(int(rng() % good.size()));
        else
            for (int n = 1 + k % 4; n > 0; --n)
                b[int(rng() % b.size())] = char(rng());
        try {
            LoadBytes(c.F, b);
        } catch (const Exception &) {
            continue;
        }
        const QByteArray once = SavedToMemory(c.F);
        Connected d;
        LoadBytes(d.F, once);
        d.F.SetActiveSheet(c.F.ActiveSheet());
        EXPECT_EQ(SavedToMemory(d.F), once) << k;
    }
    ExpectStillUsable(c.F);
}

TEST(FileBadInput, RefusalsNameTheFile)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("text.xls"), noBook = dir.filePath("nobook.xls");
    WriteFile(text, QByteArray("just some text, long enough to hold a header?").repeated(20));
    WriteFile(noBook, Compound({ole::Stream("Book", StreamBytes("Workbook"))}));
    Connected c;
    for (const QString &name : {text, noBook})
        EXPECT_EQ(ole::MessageOf([&] { c.F.OpenFile(name); }), QStringLiteral("The file \"%1\" is invalid").arg(name));
}
