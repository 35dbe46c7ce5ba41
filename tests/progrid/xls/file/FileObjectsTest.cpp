// Pictures, comments and hyperlinks of the active sheet through the file object: 1-based rows,
// columns and link numbers outside, 0-based ones in the model, and the index checks.
#include "FileFixture.h"
#include "tests/progrid/xls/workbook/BookFixture.h"

#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"

#include <map>

using namespace xfile;

namespace {

const QByteArray JpegA("\xFF\xD8 first picture \xFF\xD9", 19);
const QByteArray JpegB("\xFF\xD8 the second one \xFF\xD9", 20);

ByteArray Bytes(const QByteArray &b) { return ByteArray(b.begin(), b.end()); }

TImageProperties Box(int32_t Col1, int32_t Row1, int32_t Col2, int32_t Row2)
{
    TImageProperties p;
    p.Col1 = Col1;
    p.dx1 = 10;
    p.Row1 = Row1;
    p.dy1 = 20;
    p.Col2 = Col2;
    p.dx2 = 30;
    p.Row2 = Row2;
    p.dy2 = 40;
    return p;
}

TWorkSheet *Sheet(TXLSFile &F) { return F.GetTWorkbook()->WorkSheets(F.ActiveSheet() - 1); }

} // namespace

TEST(FileObjects, PicturesByRowAndByPosition)
{
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    // Before the first BeginSheet no row has pictures to address.
    EXPECT_EQ(F.GetPicturesCount(5), 0);
    EXPECT_THROW(F.GetPictureName(5, 0), EListError);

    F.AddImage(Bytes(JpegA), xli_Jpeg, Box(2, 5, 4, 7), at_MoveAndDontResize);
    F.AddImage(Bytes(JpegB), xli_Jpeg, Box(1, 2, 2, 3), at_MoveAndResize);
    // The model holds the 0-based anchor.
    const TClientAnchor m = Sheet(F)->GetAnchor(0);
    EXPECT_EQ((std::vector<int>{m.Flag, m.Col1, m.Dx1, m.Row1, m.Dy1, m.Col2, m.Dx2, m.Row2, m.Dy2}),
              (std::vector<int>{2, 1, 10, 4, 20, 3, 30, 6, 40}));

    F.BeginSheet();
    EXPECT_EQ(F.GetPicturesCount(5), 1); // anchored in model row 4
    EXPECT_EQ(F.GetPicturesCount(2), 1);
    EXPECT_EQ(F.GetPicturesCount(4), 0);
    EXPECT_EQ(F.GetPicturesCount(0), 2);
    EXPECT_THROW(F.GetPictureName(5, 1), EListError);

    TMemoryStream pic;
    TXlsImgTypes type = xli_Unknown;
    TClientAnchor a;
    F.GetPicture(5, 0, &pic, type, a);
    EXPECT_EQ(pic.Bytes(), JpegA);
    EXPECT_EQ(type, xli_Jpeg);
    EXPECT_EQ((std::vector<int>{a.Flag, a.Col1, a.Dx1, a.Row1, a.Dy1, a.Col2, a.Dx2, a.Row2, a.Dy2}),
              (std::vector<int>{2, 2, 10, 5, 20, 4, 30, 7, 40}));

    // Each anchor type has its flag; the properties go in 1-based and come back so.
    const struct
    {
        TWbAnchorType Type;
        int Flag;
    } flags[] = {{at_MoveAndResize, 0}, {at_MoveAndDontResize, 2}, {at_DontMoveAndDontResize, 3}};
    for (const auto &x : flags) {
        F.AssignPictureProperties(2, 0, Box(3, 9, 6, 12), x.Type);
        const TClientAnchor s = Sheet(F)->GetAnchor(1);
        EXPECT_EQ((std::vector<int>{s.Flag, s.Col1, s.Row1, s.Col2, s.Row2}),
                  (std::vector<int>{x.Flag, 2, 8, 5, 11}));
        TClientAnchor back;
        F.GetPicture(0, 1, nullptr, type, back);
        EXPECT_EQ((std::vector<int>{back.Col1, back.Dx1, back.Row1, back.Dy1, back.Col2, back.Dx2, back.Row2, back.Dy2}),
                  (std::vector<int>{3, 10, 9, 20, 6, 30, 12, 40}));
    }

    // New data, addressed by row (the index still holds the old rows until the next BeginSheet).
    F.AssignPicture(2, 0, Bytes(JpegA), xli_Jpeg);
    TMemoryStream again;
    F.GetPicture(0, 1, &again, type, a);
    EXPECT_EQ(again.Bytes(), JpegA);
    F.AssignPicture(0, 1, Bytes(JpegB), xli_Jpeg, Box(1, 1, 2, 2), at_MoveAndResize);
    TMemoryStream third;
    F.GetPicture(0, 1, &third, type, a);
    EXPECT_EQ(third.Bytes(), JpegB);
    EXPECT_EQ(a.Row1, 1);

    // Saved and read back, the row index is rebuilt from the file.
    Connected d;
    LoadBytes(d.F, SavedToMemory(F));
    d.F.BeginSheet();
    EXPECT_EQ(d.F.GetPicturesCount(5), 1);
    EXPECT_EQ(d.F.GetPicturesCount(1), 1);

    // Drawing positions are checked before the drawing is touched.
    const struct
    {
        bool Delete;
        int32_t Index;
        const char *Message;
    } bad[] = {
        {true, 5, "The index \"5\" of the property \"ImageIndex\" is not in the range 0-2"},
        {true, 2, "The index \"2\" of the property \"ImageIndex\" is not in the range 0-2"},
        {false, -1, "The index \"-1\" of the property \"ImageIndex\" is not in the range 0-2"},
    };
    for (const auto &x : bad) {
        EXPECT_EQ(ole::MessageOf([&] { x.Delete ? F.DeleteImage(x.Index) : F.ClearImage(x.Index); }),
                  QString::fromLatin1(x.Message));
        EXPECT_EQ(F.GetPicturesCount(0), 2);
    }
    F.ClearImage(0);
    TMemoryStream cleared;
    F.GetPicture(0, 0, &cleared, type, a);
    EXPECT_EQ(type, xli_Bmp);
    EXPECT_NE(cleared.Bytes(), JpegA);
    F.DeleteImage(0);
    EXPECT_EQ(F.GetPicturesCount(0), 1);
    F.BeginSheet();
    EXPECT_EQ(F.GetPicturesCount(5), 0);
    EXPECT_EQ(F.GetPicturesCount(1), 1);
}

TEST(FileObjects, CellCommentsAddReplaceAndRemove)
{
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    const QByteArray empty = SavedToMemory(F);

    // An empty text where there is no note changes nothing.
    F.SetCellComment(3, 2, QString(), Box(3, 2, 5, 6));
    EXPECT_EQ(SavedToMemory(F), empty);
    EXPECT_EQ(F.GetCommentsCount(3), 0);

    F.SetCellComment(3, 4, QStringLiteral("later column"), Box(5, 2, 7, 6));
    F.SetCellComment(3, 2, QStringLiteral("first"), Box(3, 2, 5, 6));
    EXPECT_EQ(F.GetCommentsCount(3), 2);
    EXPECT_EQ(F.GetCellComment(3, 2), QStringLiteral("first"));
    EXPECT_EQ(F.GetCellComment(3, 3), QString());
    EXPECT_EQ(F.GetCellComment(2, 2), QString());
    // The note sits at model row 2, column 1.
    TNoteRecordList *row = Sheet(F)->Notes()->Items(2);
    int32_t at = -1;
    ASSERT_TRUE(row->Find(1, at));
    EXPECT_EQ(row->Items(at)->Text(), QStringLiteral("first"));

    // A non-empty text replaces the note's text, never adds a second note.
    F.SetCellComment(3, 2, QStringLiteral("second"), Box(3, 2, 5, 6));
    EXPECT_EQ(F.GetCommentsCount(3), 2);
    EXPECT_EQ(F.GetCellComment(3, 2), QStringLiteral("second"));

    // By position within the row: text and 1-based column.
    std::map<int32_t, QString> byColumn;
    for (int32_t i = 0; i < F.GetCommentsCount(3); ++i)
        byColumn[F.GetCommentColumn(3, i)] = F.GetCommentText(3, i);
    EXPECT_EQ(byColumn, (std::map<int32_t, QString>{{2, "second"}, {4, "later column"}}));
    const int32_t pos4 = F.GetCommentColumn(3, 0) == 4 ? 0 : 1;
    F.AssignComment(3, pos4, QStringLiteral("changed"));
    EXPECT_EQ(F.GetCellComment(3, 4), QStringLiteral("changed"));

    // Rows without notes read the defaults; a position beyond a row's notes raises.
    EXPECT_EQ(F.GetCommentsCount(50), 0);
    EXPECT_EQ(F.GetCommentsCount(0), 0);
    EXPECT_EQ(F.GetCommentText(50, 0), QString());
    EXPECT_EQ(F.GetCommentColumn(50, 0), 1);
    EXPECT_THROW(F.GetCommentText(3, 2), EListError);
    EXPECT_THROW(F.AssignComment(3, 2, QStringLiteral("x")), EListError);

    // The comments travel through a saved file.
    Connected d;
    LoadBytes(d.F, SavedToMemory(F));
    EXPECT_EQ(d.F.GetCellComment(3, 2), QStringLiteral("second"));
    EXPECT_EQ(d.F.GetCellComment(3, 4), QStringLiteral("changed"));

    // An empty text removes the note and its box.
    F.AssignComment(3, pos4, QString());
    EXPECT_EQ(F.GetCommentsCount(3), 1);
    EXPECT_EQ(F.GetCellComment(3, 4), QString());
    F.SetCellComment(3, 2, QString(), Box(3, 2, 5, 6));
    EXPECT_EQ(F.GetCommentsCount(3), 0);
    Connected e;
    LoadBytes(e.F, SavedToMemory(F));
    EXPECT_EQ(e.F.GetCommentsCount(3), 0);
    e.F.BeginSheet();
    EXPECT_EQ(e.F.GetPicturesCount(0), 0);
}

TEST(FileObjects, HyperLinksByNumber)
{
    Connected c;
    TXLSFile &F = c.F;
    F.NewFile(1);
    const auto message = [&](auto &&fn) { return ole::MessageOf(fn); };
    EXPECT_EQ(F.HyperLinkCount(), 0);
    EXPECT_EQ(message([&] { F.GetHyperLink(0); }),
              QStringLiteral("The index \"0\" of the property \"HyperLinkIndex\" is not in the range 1-0"));

    THyperLink link;
    link.LinkType = hl_URL;
    link.Text = QStringLiteral("http://example.org/a");
    link.Description = QStringLiteral("first link");
    F.AddHyperLink(TXlsCellRange{2, 3, 4, 5}, link);
    THyperLink other;
    other.LinkType = hl_URL;
    other.Text = QStringLiteral("http://example.org/b");
    other.Description = QStringLiteral("second link");
    F.AddHyperLink(TXlsCellRange{1, 1, 1, 1}, other);
    ASSERT_EQ(F.HyperLinkCount(), 2);

    const TXlsCellRange model = Sheet(F)->HLinks()->Items(0)->GetCellRange();
    EXPECT_EQ((std::vector<int>{model.Left, model.Top, model.Right, model.Bottom}), (std::vector<int>{1, 2, 3, 4}));
    TXlsCellRange r = F.GetHyperLinkCellRange(1);
    EXPECT_EQ((std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(F.GetHyperLink(1).Text, link.Text);
    EXPECT_EQ(F.GetHyperLink(2).Description, QStringLiteral("second link"));

    link.Text = QStringLiteral("http://example.org/changed");
    F.SetHyperLink(1, link);
    EXPECT_EQ(F.GetHyperLink(1).Text, link.Text);
    EXPECT_EQ(F.GetHyperLink(1).Description, QStringLiteral("first link"));
    F.SetHyperLinkCellRange(1, TXlsCellRange{7, 8, 9, 10});
    r = Sheet(F)->HLinks()->Items(0)->GetCellRange();
    EXPECT_EQ((std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}), (std::vector<int>{6, 7, 8, 9}));

    // Every numbered operation checks the number against 1 .. count.
    const QString outOf3 = QStringLiteral("The index \"3\" of the property \"HyperLinkIndex\" is not in the range 1-2");
    const QString outOf0 = QStringLiteral("The index \"0\" of the property \"HyperLinkIndex\" is not in the range 1-2");
    EXPECT_EQ(message([&] { F.GetHyperLink(3); }), outOf3);
    EXPECT_EQ(message([&] { F.SetHyperLink(0, link); }), outOf0);
    EXPECT_EQ(message([&] { F.GetHyperLinkCellRange(3); }), outOf3);
    EXPECT_EQ(message([&] { F.SetHyperLinkCellRange(0, r); }), outOf0);
    EXPECT_EQ(message([&] { F.DeleteHyperLink(3); }), outOf3);
    EXPECT_EQ(F.HyperLinkCount(), 2);

    F.DeleteHyperLink(1);
    ASSERT_EQ(F.HyperLinkCount(), 1);
    EXPECT_EQ(F.GetHyperLink(1).Text, other.Text);
    Connected d;
    LoadBytes(d.F, SavedToMemory(F));
    ASSERT_EQ(d.F.HyperLinkCount(), 1);
    EXPECT_EQ(d.F.GetHyperLink(1).Text, other.Text);
    r = d.F.GetHyperLinkCellRange(1);
    EXPECT_EQ((std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}), (std::vector<int>{1, 1, 1, 1}));
}

TEST(FileObjects, SheetsThatAreNoWorksheetHaveNoCellsOrObjects)
{
    using namespace book;
    const QByteArray chart = Bof(0x0020) + Record(0x1002, QByteArray(16, 0)) + Record(0x1033, {})
                             + Record(0x1003, QByteArray(12, 0)) + Record(0x1034, {}) + Eof();
    const QByteArray macro = Bof(0x0040) + Record(0x0055, Le16(8)) + Window2(false) + Eof();
    const QByteArray mixed = Globals(glob::BoundSheet("Sheet1") + glob::BoundSheet("Chart1", 0x0200)
                                     + glob::BoundSheet("Macro1", 0x0100))
                             + WorkSheet(true) + chart + macro;
    Connected src;
    src.F.NewFile(1);
    const QByteArray clip = SavedToMemory(src.F);

    for (int sheet : {2, 3}) {
        SCOPED_TRACE(sheet);
        Connected c;
        TXLSFile &F = c.F;
        LoadBytes(F, Compound({ole::Stream("Workbook", mixed)}));
        F.SetActiveSheet(sheet);
        F.BeginSheet();
        EXPECT_EQ(F.GetPicturesCount(0), 0);
        EXPECT_EQ(F.GetPicturesCount(1), 0);
        EXPECT_EQ(F.GetPictureName(0, 0), QString());
        TClientAnchor a{1, 2, 3, 4, 5, 6, 7, 8, 9};
        TXlsImgTypes type = xli_Png;
        F.GetPicture(0, 0, nullptr, type, a);
        EXPECT_EQ((std::vector<int>{a.Flag, a.Col1, a.Dx1, a.Row1, a.Dy1, a.Col2, a.Dx2, a.Row2, a.Dy2}),
                  std::vector<int>(9, 0));
        EXPECT_EQ(F.GetCommentsCount(1), 0);
        EXPECT_EQ(F.GetCommentText(1, 0), QString());
        EXPECT_EQ(F.GetCommentColumn(1, 0), 1);
        EXPECT_EQ(F.GetCellComment(1, 1), QString());
        EXPECT_EQ(F.HyperLinkCount(), 0);
        EXPECT_EQ(F.GetHyperLink(1).Text, QString());
        EXPECT_EQ(VarType(F.GetCellValue(1, 1)), varEmpty);
        EXPECT_EQ(F.GetCellValueX(1, 1).XF, -1);
        TXlsCellValue v{Variant(1.0), 3, true};
        TRTFRunList runs{{1, 1}};
        F.GetCellValueX2(1, 1, v, runs);
        EXPECT_EQ(v.XF, -1);
        EXPECT_TRUE(runs.empty());
        EXPECT_EQ(F.GetCellFormula(1, 1), QString());
        EXPECT_EQ(F.CellCount(1), 0);

        const QByteArray before = SavedToMemory(F);
        F.AddImage(Bytes(JpegA), xli_Jpeg, Box(1, 1, 2, 2), at_MoveAndResize);
        F.AssignPicture(0, 0, Bytes(JpegA), xli_Jpeg, Box(1, 1, 2, 2), at_MoveAndResize);
        F.ClearImage(5);
        F.DeleteImage(5);
        F.SetCellComment(1, 1, QStringLiteral("note"), Box(1, 1, 2, 2));
        F.AssignComment(1, 0, QString());
        F.AddHyperLink(TXlsCellRange{1, 1, 1, 1}, THyperLink());
        F.SetHyperLink(1, THyperLink());
        F.SetHyperLinkCellRange(1, TXlsCellRange{1, 1, 1, 1});
        F.DeleteHyperLink(1);
        F.SetCellValue(1, 1, 1.0);
        F.SetCellValueX(1, 1, TXlsCellValue{Variant(1.0), 15, false});
        TRTFRunList someRuns{{2, 0}};
        F.AssignCellValueX2(1, 1, TXlsCellValue{Variant("ab"), -1, false}, someRuns);
        F.SetCellString(1, 1, QStringLiteral("12%"), QString(), QString());
        F.SetCellFormula(1, 1, QStringLiteral("=1+1"));
        F.SetCellFormulaX(1, 1, QStringLiteral("=1+1"), 2.0);
        auto m = ole::MemStream(clip);
        F.PasteFromXlsClipboardFormat(1, 1, m.get());
        EXPECT_EQ(SavedToMemory(F), before);
        EXPECT_FALSE(F.IsFileModified);
    }
}
