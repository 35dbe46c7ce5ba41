// The binary cell stream: holder images, whole grids, partial rectangles and cell graphics.
#include "tests/progrid/csv/CsvFixture.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Streams.h"
#include "grid/core/ProGridBin.h"

namespace
{
class TBinGrid : public TCsvGrid
{
public:
    using TProStringGrid::CreateCellGraphic;
};

int Count(const QByteArray &bytes, const QByteArray &what)
{
    int n = 0;
    for (qsizetype at = bytes.indexOf(what); at >= 0; at = bytes.indexOf(what, at + 1))
        ++n;
    return n;
}

QByteArray Saved(TProStringGrid &g, const TRect &r)
{
    TMemoryStream ms;
    g.SaveRectToBinStream(r, &ms);
    return ms.Bytes();
}

void LoadInto(TProStringGrid &g, const QByteArray &bytes, const TPoint &at)
{
    TMemoryStream ms;
    ms.WriteBuffer(bytes.constData(), bytes.size());
    ms.SetPosition(0);
    g.LoadAtPointFromBinStream(at, &ms);
}
} // namespace

TEST_F(CsvTest, BinPlainRectangleImages)
{
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "b");
    g.SetCells(1, 2, "c");
    const QByteArray bytes = Saved(g, TRect(1, 1, 2, 2));
    EXPECT_EQ(Count(bytes, "TPF0"), 5);
    EXPECT_EQ(Count(bytes, "\x0bTGridPropIO"), 1);
    EXPECT_EQ(Count(bytes, "\x0bTGridCellIO"), 4);
    EXPECT_EQ(Count(bytes, QByteArray("\x04" "Cell", 5)), 3) << "the empty cell has no Cell";
    EXPECT_EQ(Count(bytes, "TGridCellPropIO"), 0);
    EXPECT_TRUE(bytes.contains(QByteArray("\x08" "ColCount\x02\x02", 11)));
    EXPECT_TRUE(bytes.contains(QByteArray("\x09" "ColWidths\x06\x05" "64,64", 17)));
    EXPECT_TRUE(bytes.contains(QByteArray("\x08" "FullGrid\x08", 10)));

    // loaded at (5, 7) the first cell lands there
    TBinGrid t;
    t.SetColCount(10);
    t.SetRowCount(12);
    t.SetCells(7, 8, "kept");
    LoadInto(t, bytes, TPoint(5, 7));
    EXPECT_EQ(t.Cells(5, 7), "a");
    EXPECT_EQ(t.Cells(6, 7), "b");
    EXPECT_EQ(t.Cells(5, 8), "c");
    EXPECT_EQ(t.Cells(6, 8), "");
    EXPECT_EQ(t.Cells(7, 8), "kept");
    EXPECT_EQ(t.ColCount(), 10);
}

TEST_F(CsvTest, BinWholeGridRecreatesTheDimensions)
{
    g.SetColCount(4);
    g.SetRowCount(3);
    g.SetColWidths(2, 91);
    g.SetRowHeights(1, 33);
    g.SetCells(3, 2, "last");
    g.SetCells(0, 0, "corner");
    TMemoryStream ms;
    g.SaveToBinStream(&ms);
    EXPECT_TRUE(ms.Bytes().contains(QByteArray("\x08" "FullGrid\x09", 10)));
    ms.SetPosition(0);
    TBinGrid t;
    t.SetColCount(9);
    t.SetRowCount(20);
    t.SetCells(8, 19, "gone");
    t.LoadFromBinStream(&ms);
    EXPECT_EQ(t.ColCount(), 4);
    EXPECT_EQ(t.RowCount(), 3);
    EXPECT_EQ(t.ColWidths(2), 91);
    EXPECT_EQ(t.RowHeights(1), 33);
    EXPECT_EQ(t.Cells(3, 2), "last");
    EXPECT_EQ(t.Cells(0, 0), "corner");

    // without fixed cells the counts hold the normal cells only, yet no cell is lost
    g.SetSaveFixedCells(false);
    TMemoryStream normal;
    g.SaveToBinStream(&normal);
    normal.SetPosition(0);
    TBinGrid n;
    n.SetSaveFixedCells(false);
    n.LoadFromBinStream(&normal);
    EXPECT_EQ(n.Cells(3, 2), "last");
}

TEST_F(CsvTest, BinPositionsAboveSixteenBitsAndNoUserObjects)
{
    g.SetColCount(2);
    g.SetRowCount(65545);
    for (int r = 65530; r <= 65540; ++r)
        g.SetCells(1, r, QString::number(r));
    TObject userObject;
    g.SetObjectEx(1, 65531, &userObject);
    const QByteArray bytes = Saved(g, TRect(1, 65530, 1, 65540));
    TBinGrid t;
    t.SetColCount(3);
    t.SetRowCount(20);
    LoadInto(t, bytes, TPoint(0, 0));
    for (int r = 0; r <= 10; ++r)
        EXPECT_EQ(t.Cells(0, r), QString::number(65530 + r)) << r;
    EXPECT_EQ(t.GetObjectEx(0, 1), nullptr) << "an address never travels";
}

TEST_F(CsvTest, BinGraphicsColoursFontsAndMergesSurviveAFile)
{
    TBinGrid s;
    s.SetColCount(5);
    s.SetRowCount(5);
    s.AddCheckBox(1, 1, cbGrayed);
    s.SetCells(2, 1, "merged");
    s.MergeCells(2, 1, 2, 2);
    s.SetColors(1, 2, clRed);
    TCellProperties *p = s.GetCellProperties(4, 4);
    p->SetFontName("Courier");
    p->SetFontSize(14);
    p->SetFontStyle(TFontStyles{fsBold, fsItalic});
    p->SetFontColor(TColor(0x123456));
    p->SetBrushColorTo(clBlue);
    TCellGraphic *bg = s.CreateCellGraphic(0, 3);
    auto *bmp = new TBitmap(7, 5);
    bmp->Canvas()->SetPixels(2, 3, clLime);
    bg->SetBitmap(bmp, true, haRight, vaBottom);
    bg->SetCellCreated(true);
    // two graphic cells in a row, the second with value 0
    s.CreateCellGraphic(3, 0)->SetCellValue(2.5);
    s.GetCellGraphic(3, 0)->SetCellType(ctProgress);
    s.CreateCellGraphic(4, 0)->SetCellType(ctProgress);
    TCellGraphic *images = s.CreateCellGraphic(2, 4);
    images->SetMultiImage(2, 4, 1, haLeft, vaTop, nullptr);
    images->CellIntList()->Add(3);
    images->CellIntList()->Add(7);

    s.SaveToBinFile(Path("g.bin"));
    TBinGrid t;
    t.LoadFromBinFile(Path("g.bin"));
    EXPECT_EQ(t.ColCount(), 5);
    TCheckBoxState st = cbUnchecked;
    EXPECT_TRUE(t.GetCheckBoxState(1, 1, st));
    EXPECT_EQ(st, cbGrayed);
    ASSERT_TRUE(s.IsMergedCell(3, 2));
    EXPECT_EQ(t.CellSpan(2, 1), s.CellSpan(2, 1));
    EXPECT_TRUE(t.IsMergedCell(3, 2));
    EXPECT_EQ(t.Cells(3, 2), "merged");
    EXPECT_EQ(t.GetColors(1, 2), clRed);
    TCellProperties *q = t.GetCellProperties(4, 4);
    EXPECT_EQ(q->FontName(), "Courier");
    EXPECT_EQ(q->FontSize(), 14);
    EXPECT_EQ(q->FontStyle(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(q->FontColor(), TColor(0x123456));
    EXPECT_EQ(q->BrushColorTo(), clBlue);
    TCellGraphic *tb = t.GetCellGraphic(0, 3);
    ASSERT_NE(tb, nullptr);
    EXPECT_EQ(tb->CellType(), ctBitmap);
    EXPECT_EQ(tb->CellHAlign(), haRight);
    EXPECT_EQ(tb->CellVAlign(), vaBottom);
    ASSERT_NE(tb->CellBitmap(), nullptr);
    EXPECT_NE(tb->CellBitmap(), bmp);
    EXPECT_EQ(tb->CellBitmap()->Width(), 7);
    EXPECT_EQ(tb->CellBitmap()->Canvas()->Pixels(2, 3), clLime);
    EXPECT_EQ(t.GetCellGraphic(3, 0)->CellValue(), 2.5);
    EXPECT_EQ(t.GetCellGraphic(4, 0)->CellValue(), 0.0);
    ASSERT_NE(t.GetCellGraphic(2, 4)->CellIntList(), nullptr);
    EXPECT_EQ(t.GetCellGraphic(2, 4)->CellIntList()->StrValue(), "3,7");
}

TEST_F(CsvTest, BinBadStreamsRaiseStreamErrors)
{
    g.SetCells(1, 1, "x");
    TMemoryStream ms;
    g.SaveToBinStream(&ms);
    const QByteArray good = ms.Bytes();
    for (int cut : {2, 30, int(good.size()) - 3}) {
        TBinGrid t;
        EXPECT_THROW(LoadInto(t, good.left(cut), TPoint(0, 0)), EStreamError) << cut;
    }
    TBinGrid t;
    EXPECT_THROW(LoadInto(t, QByteArray("PK\x03\x04 not a grid at all", 22), TPoint(0, 0)), EStreamError);

    // a header stating millions of cells in a few bytes is refused before the grid grows
    TGridPropIO huge(nullptr);
    huge.ColCount = 100000;
    huge.RowCount = 100000;
    huge.FullGrid = true;
    TMemoryStream hs;
    WriteComponentImage(&hs, &huge);
    TBinGrid h;
    EXPECT_THROW(LoadInto(h, hs.Bytes(), TPoint(0, 0)), EStreamError);
    EXPECT_EQ(h.RowCount(), 10);
}

TEST(GridHolderTest, PropertiesHolderStartsFromDefaults)
{
    TProStringGrid grid(nullptr);
    TGridCellPropIO io(&grid);
    EXPECT_EQ(io.CellProperties()->CellSpanX(), -1);
    EXPECT_EQ(io.CellProperties()->CellSpanY(), -1);
    EXPECT_EQ(io.CellProperties()->BrushColor(), clNone);
    TGridGraphicIO gio(nullptr);
    EXPECT_EQ(gio.CellGraphic()->CellType(), ctNone);
}

TEST_F(CsvTest, BinCellsOutsideTheStatedRectangleAreSkipped)
{
    TGridPropIO prop(nullptr);
    prop.ColCount = 1;
    prop.RowCount = 1;
    TMemoryStream ms;
    WriteComponentImage(&ms, &prop);
    const struct
    {
        int col, row;
        const char *text;
    } cells[] = {{3, 3, "a"}, {5, 3, "b"}, {3, 4, "c"}};
    for (const auto &k : cells) {
        TGridCellIO io(nullptr);
        io.Col = k.col;
        io.Row = k.row;
        io.Cell = k.text;
        WriteComponentImage(&ms, &io);
    }
    TBinGrid t;
    LoadInto(t, ms.Bytes(), TPoint(1, 1));
    EXPECT_EQ(t.Cells(1, 1), "a");
    EXPECT_EQ(t.Cells(3, 1), "");
    EXPECT_EQ(t.Cells(1, 2), "");
}

TEST_F(CsvTest, BinIconRadioPictureAndFilePictureCellsGetTheirOwnObjects)
{
    QImage red(3, 2, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const QString file = Path("p.bmp");
    ASSERT_TRUE(red.save(file, "BMP"));

    TBinGrid s;
    TCellGraphic *ig = s.CreateCellGraphic(1, 1);
    auto *icon = new TIcon();
    icon->SetImage(red);
    ig->SetIcon(icon, haCenter, vaCenter);
    ig->SetCellCreated(true);
    TCellGraphic *rg = s.CreateCellGraphic(2, 1);
    rg->SetCellType(ctRadio);
    auto *captions = new TStringList();
    captions->Add("one");
    captions->Add("two");
    rg->SetCellBitmapObject(captions);
    rg->SetCellCreated(true);
    TBitmap tall(4, 6);
    auto *ownPic = new TPicture();
    ownPic->SetBitmap(&tall);
    TCellGraphic *pg = s.CreateCellGraphic(3, 1);
    pg->SetPicture(ownPic, false, StretchWithAspectRatio, 2, haLeft, vaTop);
    pg->SetCellCreated(true);
    auto *ownFile = new TFilePicture();
    ownFile->SetFilename(file);
    TCellGraphic *fg = s.CreateCellGraphic(4, 1);
    fg->SetFilePicture(ownFile, false, Stretch, 0, haLeft, vaTop);
    fg->SetCellCreated(true);

    TMemoryStream ms;
    s.SaveToBinStream(&ms);
    EXPECT_EQ(Count(ms.Bytes(), "\x0bTGridIconIO"), 1);
    EXPECT_EQ(Count(ms.Bytes(), "\x09TGridSLIO"), 1);
    EXPECT_EQ(Count(ms.Bytes(), "\x0aTGridPicIO"), 1);
    EXPECT_EQ(Count(ms.Bytes(), "\x0eTGridFilePicIO"), 1);
    ms.SetPosition(0);
    TBinGrid t;
    t.LoadFromBinStream(&ms);

    TCellGraphic *ti = t.GetCellGraphic(1, 1);
    ASSERT_NE(ti, nullptr);
    EXPECT_EQ(ti->CellType(), ctIcon);
    ASSERT_NE(ti->CellIcon(), nullptr);
    EXPECT_NE(ti->CellIcon(), icon);
    EXPECT_EQ(ti->CellIcon()->Width(), 3);
    EXPECT_EQ(QColor(ti->CellIcon()->ToImage().pixel(1, 1)), QColor(Qt::red));
    TCellGraphic *tr = t.GetCellGraphic(2, 1);
    ASSERT_NE(tr->CellStrings(), nullptr);
    EXPECT_NE(tr->CellStrings(), captions);
    EXPECT_EQ(tr->CellStrings()->Count(), 2);
    EXPECT_EQ(tr->CellStrings()->Strings(1), "two");
    TCellGraphic *tp = t.GetCellGraphic(3, 1);
    ASSERT_NE(tp->CellPicture(), nullptr);
    EXPECT_NE(tp->CellPicture(), ownPic);
    EXPECT_EQ(tp->CellPicture()->Width(), 4);
    EXPECT_EQ(tp->CellPicture()->Height(), 6);
    EXPECT_EQ(tp->CellIndex(), 2);
    EXPECT_EQ(tp->CellAngle(), int(StretchWithAspectRatio));
    TCellGraphic *tf = t.GetCellGraphic(4, 1);
    ASSERT_NE(tf->CellFilePicture(), nullptr);
    EXPECT_NE(tf->CellFilePicture(), ownFile);
    EXPECT_EQ(tf->CellFilePicture()->Filename(), file);
    EXPECT_EQ(tf->CellFilePicture()->Width(), 3);
}

TEST_F(CsvTest, BinLoadCountsTheNodeRows)
{
    TBinGrid s;
    for (int r : {0, 2, 5})
        s.CreateCellGraphic(0, r)->SetCellType(ctNode);
    s.CreateCellGraphic(1, 3)->SetCellType(ctNode); // not in the node column
    TMemoryStream ms;
    s.SaveToBinStream(&ms);
    ms.SetPosition(0);
    TBinGrid t;
    t.LoadFromBinStream(&ms);
    EXPECT_EQ(t.NumNodes(), 2) << "rows 2 and 5; the fixed row does not count";
}
