// Cells copied by a spreadsheet onto the clipboard as a whole workbook ("Biff8") pasted into the
// active sheet: values, formats and run fonts mapped into this workbook, and clipboard data that
// does not load leaving the target as it was.
#include "FileFixture.h"

#include "framework/os/Clipbrd.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"

#include <random>

using namespace xfile;

namespace {

TCellList *CellsOf(TXLSFile &F) { return F.GetTWorkbook()->WorkSheets(F.ActiveSheet() - 1)->Cells()->CellList(); }

TWbFont BoldCourier()
{
    TWbFont f;
    f.Name = QStringLiteral("Courier New");
    f.Size20 = 240;
    f.ColorIndex = 0x7FFF;
    f.Style.Include(flsBold);
    return f;
}

TWbFont ItalicTimes()
{
    TWbFont f = BoldCourier();
    f.Name = QStringLiteral("Times New Roman");
    f.Style = SetOfTWbFontStyle().Include(flsItalic);
    return f;
}

bool SameFont(const TWbFont &a, const TWbFont &b)
{
    return a.Name == b.Name && a.Size20 == b.Size20 && a.Style == b.Style;
}

int CountFonts(TXLSFile &F, const TWbFont &Font)
{
    int n = 0;
    for (int32_t i = 0; i < F.FontListCount(); ++i)
        if (i != 4 && SameFont(F.GetFontList(i), Font))
            ++n;
    return n;
}

// A workbook as a spreadsheet puts B2:C3 on the clipboard: 1.5 and a rich text in a bold
// Courier format, a text, and 42 whose text has an italic run.
QByteArray CopiedB2C3()
{
    Connected s;
    s.F.NewFile(1);
    TWbFormat bold = s.F.GetFormatList(15);
    bold.Font = BoldCourier();
    const int32_t boldXF = s.F.AddFormat(bold);
    const uint16_t italic = uint16_t(s.F.AddFont(ItalicTimes()));
    TCellList *cells = CellsOf(s.F);
    const TRTFRunList runs{{2, italic}};
    cells->SetValueX2(1, 1, TXlsCellValue{Variant(1.5), boldXF, false}, nullptr, false);
    cells->SetValueX2(1, 2, TXlsCellValue{Variant("plain"), -1, false}, nullptr, false);
    cells->SetValueX2(2, 1, TXlsCellValue{Variant("rich text"), boldXF, false}, &runs, false);
    cells->SetValueX2(2, 2, TXlsCellValue{Variant(42.0), -1, false}, nullptr, false);

    // Written as a copy of the range is: the globals, then the sheet restricted to B2:C3.
    TMemoryStream others;
    others.WriteBuffer(s.F.OtherStreams().data(), int64_t(s.F.OtherStreams().size()));
    others.SetPosition(0);
    TOle2File ole(&others);
    TMemoryStream out;
    ole.PrepareForWrite(&out, QStringLiteral("Workbook"), {});
    s.F.GetTWorkbook()->SaveRangeToStream(&ole, 0, TXlsCellRange{1, 1, 2, 2}, false);
    ole.Close();
    return out.Bytes();
}

TXlsCellValue ValueAt(TXLSFile &F, int32_t Row, int32_t Col, TRTFRunList *Runs = nullptr)
{
    TXlsCellValue v;
    CellsOf(F)->GetValueX2(Row, Col, v, Runs);
    return v;
}

void PasteBytes(TXLSFile &F, int32_t Row, int32_t Col, const QByteArray &Bytes)
{
    auto m = ole::MemStream(Bytes);
    F.PasteFromXlsClipboardFormat(Row, Col, m.get());
}

// The pasted block at model cells E5:F6, checked field by field.
void ExpectBlockAtE5(TXLSFile &F)
{
    EXPECT_EQ(ValueAt(F, 4, 4).Value, Variant(1.5));
    EXPECT_EQ(ValueAt(F, 4, 5).Value, Variant("plain"));
    TRTFRunList runs;
    EXPECT_EQ(ValueAt(F, 5, 4, &runs).Value, Variant("rich text"));
    EXPECT_EQ(ValueAt(F, 5, 5).Value, Variant(42.0));
    EXPECT_TRUE(SameFont(F.GetFormatList(ValueAt(F, 4, 4).XF).Font, BoldCourier()));
    EXPECT_TRUE(SameFont(F.GetFormatList(ValueAt(F, 5, 4).XF).Font, BoldCourier()));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].FirstChar, 2);
    EXPECT_TRUE(SameFont(F.GetFontList(runs[0].FontIndex), ItalicTimes()));
    // Nothing around the block.
    for (auto [r, c] : {std::pair{3, 4}, {4, 3}, {6, 5}, {5, 6}, {1, 1}, {2, 2}})
        EXPECT_EQ(ValueAt(F, r, c).XF, -1) << r << "," << c;
}

} // namespace

TEST(FilePaste, BlockLandsAtTheTargetCellWithItsFonts)
{
    const QByteArray block = CopiedB2C3();
    {
        // The copied sheet declares exactly B2:C3.
        Connected s;
        LoadBytes(s.F, block);
        const TDimensionsRec d = s.F.GetTWorkbook()->WorkSheets(0)->OriginalDimensions;
        ASSERT_EQ((std::vector<uint32_t>{d.FirstRow, d.LastRow, d.FirstCol, d.LastCol}),
                  (std::vector<uint32_t>{1, 3, 1, 3}));
    }
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    ASSERT_EQ(CountFonts(F, BoldCourier()), 0);
    PasteBytes(F, 5, 5, block);
    EXPECT_TRUE(F.IsFileModified);
    ExpectBlockAtE5(F);
    EXPECT_EQ(CountFonts(F, BoldCourier()), 1);
    EXPECT_EQ(CountFonts(F, ItalicTimes()), 1);

    // Pasted again, the fonts and formats found are used: nothing is added twice.
    const int32_t fonts = F.FontListCount();
    const int32_t formats = F.FormatListCount();
    PasteBytes(F, 5, 5, block);
    ExpectBlockAtE5(F);
    EXPECT_EQ(F.FontListCount(), fonts);
    EXPECT_EQ(F.FormatListCount(), formats);

    // The pasted cells are saved like any others.
    Connected d;
    LoadBytes(d.F, SavedToMemory(F));
    ExpectBlockAtE5(d.F);
}

TEST(FilePaste, FormatOfTheSameBytesButAnotherFontIsNotTaken)
{
    // The target has, at the source's font position, another font and an XF whose bytes equal
    // those of the source's bold XF: the pasted cell must stay bold Courier.
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    TWbFormat look = F.GetFormatList(15);
    look.Font = ItalicTimes();
    look.Font.Name = QStringLiteral("Wingdings");
    F.AddFormat(look);
    PasteBytes(F, 5, 5, CopiedB2C3());
    EXPECT_TRUE(SameFont(F.GetFormatList(ValueAt(F, 4, 4).XF).Font, BoldCourier()));
}

TEST(FilePaste, TargetCellsUnderTheBlockAreReplaced)
{
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    // E5 and F5 are in the block (F5 over a copied text), G5 is beside it.
    for (int32_t col : {4, 5, 6})
        CellsOf(F)->SetValueX2(4, col, TXlsCellValue{Variant(7.0), -1, false}, nullptr, false);
    PasteBytes(F, 5, 5, CopiedB2C3());
    EXPECT_EQ(ValueAt(F, 4, 4).Value, Variant(1.5));
    EXPECT_EQ(ValueAt(F, 4, 5).Value, Variant("plain"));
    EXPECT_EQ(ValueAt(F, 4, 6).Value, Variant(7.0));
}

TEST(FilePaste, ThroughTheSystemClipboard)
{
    const QByteArray block = CopiedB2C3();
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);

    // Plain text is not pasted.
    Clipboard()->SetAsText(QStringLiteral("1\t2\r\n3\t4\r\n"));
    const QByteArray before = SavedToMemory(F);
    F.PasteFromClipboard(5, 5);
    EXPECT_EQ(SavedToMemory(F), before);
    EXPECT_FALSE(F.IsFileModified);

    Clipboard()->SetAsHandle(RegisterClipboardFormat(QStringLiteral("Biff8")), block);
    F.PasteFromClipboard(5, 5);
    ExpectBlockAtE5(F);
}

TEST(FilePaste, BlockBeyondTheSheetIsRefusedWhole)
{
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    const QByteArray before = SavedToMemory(F);
    const struct
    {
        int32_t Row, Col;
        const char *Message;
    } cases[] = {
        {65536, 1, "Invalid Row (65536)"},
        {1, 256, "Invalid Column (256)"},
        {0, 1, "Invalid Row (-1)"},
    };
    const QByteArray block = CopiedB2C3();
    for (const auto &x : cases) {
        EXPECT_EQ(ole::MessageOf([&] { PasteBytes(F, x.Row, x.Col, block); }), QString::fromLatin1(x.Message));
        EXPECT_EQ(SavedToMemory(F), before);
        EXPECT_FALSE(F.IsFileModified);
    }
    // The last cell that fits takes the block's last cell.
    PasteBytes(F, 65535, 255, block);
    EXPECT_EQ(ValueAt(F, 65535, 255).Value, Variant(42.0));
}

TEST(FilePaste, ClipboardDataThatDoesNotLoadChangesNothing)
{
    const QByteArray good = CopiedB2C3();
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    CellsOf(F)->SetValueX2(4, 4, TXlsCellValue{Variant(7.0), -1, false}, nullptr, false);
    F.IsFileModified = false;
    const QByteArray before = SavedToMemory(F);
    const auto unchanged = [&](const char *What) {
        EXPECT_EQ(SavedToMemory(F), before) << What;
        EXPECT_FALSE(F.IsFileModified) << What;
    };

    // The workbook stream's first BOF claims BIFF5.
    QByteArray biff5 = good;
    const qsizetype bof = biff5.indexOf(QByteArray("\x09\x08\x10\x00\x00\x06", 6));
    ASSERT_GE(bof, 0);
    biff5[bof + 5] = 0x05;
    QByteArray noSignature = good;
    noSignature[0] = 0;
    const struct
    {
        const char *What;
        QByteArray Bytes;
    } cases[] = {
        {"text", QByteArray("1\t2\r\n").repeated(200)},
        {"empty", QByteArray()},
        {"header only", good.left(512)},
        {"half", good.left(good.size() / 2)},
        {"last sector cut", good.left(good.size() - 600)},
        {"no signature", noSignature},
        {"BIFF5", biff5},
    };
    for (const auto &x : cases) {
        EXPECT_FALSE(ole::MessageOf([&] { PasteBytes(F, 5, 5, x.Bytes); }).isEmpty()) << x.What;
        unchanged(x.What);
    }

    // Randomly damaged data either pastes or raises; when it raises, nothing has changed.
    std::mt19937 rng(107);
    for (int k = 0; k < 150; ++k) {
        QByteArray b = good;
        for (int n = 1 + k % 5; n > 0; --n)
            b[int(rng() % b.size())] = char(rng());
        Connected t;
        t.F.NewFile(1);
        const QByteArray fresh = SavedToMemory(t.F);
        try {
            PasteBytes(t.F, 5, 5, b);
        } catch (const Exception &) {
            EXPECT_EQ(SavedToMemory(t.F), fresh) << k;
            EXPECT_FALSE(t.F.IsFileModified) << k;
        }
    }
}
