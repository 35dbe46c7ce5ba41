// Cell graphics, the grid's tri-state check boxes and its settings groups.
#include "GridFixture.h"
#include "framework/rtl/Exceptions.h"
#include <gtest/gtest.h>

namespace {
// Counts its own destruction.
class TCountedBitmap : public TBitmap
{
public:
    explicit TCountedBitmap(int &freed) : freed_(freed) {}
    ~TCountedBitmap() override { ++freed_; }

private:
    int &freed_;
};
} // namespace

TEST(CellGraphicTest, AngleButtonIndexAndSettersLeaveOtherFields)
{
    TCellGraphic g;
    EXPECT_EQ(g.CellType(), ctNone);
    const std::pair<int, int> angles[] = {{-90, 270}, {720, 360}, {360, 360}, {0, 0}, {-720, 0}, {725, 5}};
    for (auto [in, out] : angles) {
        g.SetAngle(int16_t(in));
        EXPECT_EQ(g.CellAngle(), out) << in;
        EXPECT_EQ(g.CellType(), ctRotated);
    }
    g.SetCellValue(2.5);
    g.SetButton(80, 20, "Go", haRight, vaBottom);
    EXPECT_EQ(g.CellIndex(), 0x00140050);
    EXPECT_EQ(g.CellType(), ctButton);
    EXPECT_EQ(g.CellText(), "Go");
    EXPECT_EQ(g.CellHAlign(), haRight);
    EXPECT_EQ(g.CellVAlign(), vaBottom);
    EXPECT_EQ(g.CellValue(), 2.5) << "setters leave the other fields";
    EXPECT_EQ(g.CellAngle(), 5);

    g.SetCheckBox(true, true, true, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctDataCheckBox);
    EXPECT_EQ(g.CellAngle(), 0);
    EXPECT_TRUE(g.CellBoolean());
    EXPECT_TRUE(g.CellTransparent());
    g.SetCheckBox(cbGrayed, false, haCenter, vaCenter);
    EXPECT_EQ(g.CellType(), ctTriStateCheckBox);
    EXPECT_EQ(g.CellCheckBoxState(), cbGrayed);
    EXPECT_FALSE(g.CellBoolean());
    EXPECT_FALSE(g.CellTransparent());
}

TEST(CellGraphicTest, PictureSizeByStretchMode)
{
    TPicture pic;
    TBitmap bitmap(100, 50);
    pic.SetBitmap(&bitmap);
    struct Case
    {
        TStretchMode mode;
        TPoint size;
    };
    const Case cases[] = {{Stretch, {56, 56}},
                          {StretchWithAspectRatio, {56, 28}},
                          {Shrink, {56, 56}},
                          {ShrinkWithAspectRatio, {56, 28}},
                          {noStretch, {100, 50}}};
    TCellGraphic g;
    for (const Case &k : cases) {
        g.SetPicture(&pic, false, k.mode, 4, haLeft, vaTop);
        EXPECT_EQ(g.GetPictureSize(60, 60, false), k.size) << int(k.mode);
        EXPECT_EQ(g.GetPictureSize(60, 60, true), k.size) << int(k.mode);
    }
    // a tall cell: the width limits, the height follows the ratio
    g.SetPicture(&pic, false, StretchWithAspectRatio, 0, haLeft, vaTop);
    EXPECT_EQ(g.GetPictureSize(200, 300, false), TPoint(200, 100));
    // a picture that fits is not shrunk
    g.SetPicture(&pic, false, ShrinkWithAspectRatio, 0, haLeft, vaTop);
    EXPECT_EQ(g.GetPictureSize(200, 300, false), TPoint(100, 50));
    g.SetImageIdx(3, haLeft, vaTop);
    EXPECT_EQ(g.GetPictureSize(60, 60, false), TPoint(0, 0));
}

TEST(CellGraphicTest, FreesOnlyWhatItOwnsAndAssignCopiesTheDescription)
{
    int freed = 0;
    auto *shared = new TCountedBitmap(freed);
    {
        TCellGraphic g;
        g.SetBitmap(shared, false, haLeft, vaTop);
    }
    EXPECT_EQ(freed, 0) << "a bitmap it did not create stays";
    {
        TCellGraphic g;
        g.SetBitmap(shared, false, haLeft, vaTop);
        g.SetCellCreated(true);
    }
    EXPECT_EQ(freed, 1);
    {
        TCellGraphic g;
        g.SetCheckBox(false, false, false, haLeft, vaTop);
        g.SetCellAngle(1);
        g.SetCellBitmapObject(new TCountedBitmap(freed));
    }
    EXPECT_EQ(freed, 2) << "a check box with its own glyph frees it";

    TCellGraphic src;
    TBitmap bmp;
    src.SetBitButton(10, 5, "B", &bmp, haAfterText, vaFull);
    src.SetCellValue(1.5);
    src.SetCellErrFrom(2);
    src.SetCellErrLen(3);
    src.SetCellCheckBoxState(cbChecked);
    TCellGraphic dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.CellType(), ctBitButton);
    EXPECT_EQ(dst.CellIndex(), (5 << 16) + 10);
    EXPECT_EQ(dst.CellText(), "B");
    EXPECT_EQ(dst.CellValue(), 1.5);
    EXPECT_EQ(dst.CellErrFrom(), 2);
    EXPECT_EQ(dst.CellErrLen(), 3);
    EXPECT_EQ(dst.CellHAlign(), haAfterText);
    EXPECT_EQ(dst.CellVAlign(), vaFull);
    EXPECT_EQ(dst.CellBitmapObject(), nullptr) << "the bitmap is not shared";
    EXPECT_EQ(dst.CellCheckBoxState(), cbUnchecked);

    TCellGraphic multi;
    int changedCol = -1;
    multi.SetMultiImage(2, 3, 0, haLeft, vaTop, [&](TObject *, int c, int) { changedCol = c; });
    ASSERT_NE(multi.CellIntList(), nullptr);
    EXPECT_TRUE(multi.CellBoolean());
    EXPECT_TRUE(multi.CellCreated());
    multi.CellIntList()->Add(4);
    EXPECT_EQ(changedCol, 2);
}

TEST(CellGraphicTest, TriStateCheckBoxesOfTheGrid)
{
    TTestGrid g;
    EXPECT_EQ(GridErrorOf([&] { g.AddCheckBox(1, g.RowCount(), cbChecked); }), "Invalid cell");
    EXPECT_EQ(GridErrorOf([&] { g.AddCheckBox(g.ColCount(), 1, cbChecked); }), "Invalid cell");
    g.HideRow(9);
    g.AddCheckBox(1, 9, cbGrayed);
    TCheckBoxState st = cbUnchecked;
    EXPECT_TRUE(g.GetCheckBoxState(1, 9, st)) << "a box in a hidden row";
    EXPECT_EQ(st, cbGrayed);
    g.UnHideRowsAll();

    g.SetVAlignment(vtaCenter);
    g.AddCheckBox(1, 2, cbChecked);
    TCellGraphic *box = g.GetCellGraphic(1, 2);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->CellType(), ctTriStateCheckBox);
    EXPECT_EQ(box->CellVAlign(), vaCenter);
    EXPECT_EQ(box->CellHAlign(), haBeforeText);
    EXPECT_TRUE(box->CellTransparent());
    EXPECT_EQ(g.Cells(1, 2), "") << "the cell text stays empty";
    EXPECT_TRUE(g.GetCheckBoxState(1, 2, st));
    EXPECT_EQ(st, cbChecked);
    EXPECT_FALSE(g.GetCheckBoxState(2, 2, st));

    g.AddTriStateCheckBoxColumn(3, cbUnchecked);
    EXPECT_EQ(g.GetCellGraphic(3, 0), nullptr) << "fixed rows get no box";
    for (int r = 1; r < g.RowCount(); ++r)
        ASSERT_NE(g.GetCellGraphic(3, r), nullptr) << r;
    g.MouseActions()->SetCheckAllCheck(true);
    g.AddTriStateCheckBoxColumn(3, cbChecked);
    ASSERT_NE(g.GetCellGraphic(3, 0), nullptr);

    // data check boxes compare the text with the check-true text
    g.GetCellGraphic(1, 2)->SetCheckBox(false, true, false, haLeft, vaTop);
    g.SetCells(1, 2, "Y");
    EXPECT_TRUE(g.GetCheckBoxState(1, 2, st));
    EXPECT_EQ(st, cbChecked);
    g.SetCells(1, 2, "N");
    EXPECT_TRUE(g.GetCheckBoxState(1, 2, st));
    EXPECT_EQ(st, cbUnchecked);
    EXPECT_EQ(TProStringGrid::BoolToCheckBoxState(true), cbChecked);
}

TEST(GridSettingsTest, DefaultsAndCopies)
{
    TTestGrid g;
    EXPECT_EQ(g.ColumnSize()->StretchColumn(), -1);
    EXPECT_EQ(g.ColumnSize()->Location(), clRegistry);
    EXPECT_EQ(g.ColumnSize()->Rows(), arAll);
    EXPECT_EQ(g.CellNode()->NodeType(), cnXP);
    EXPECT_EQ(g.CellNode()->NodeIndent(), 12);
    EXPECT_EQ(g.CellNode()->TreeColor(), TColor(0x808080));
    EXPECT_FALSE(g.SizeWhileTyping()->Height());
    EXPECT_EQ(g.HTMLSettings()->Width, 100);
    EXPECT_EQ(g.PrintSettings()->DateFormat, "dd/mm/yyyy");
    EXPECT_EQ(g.PrintSettings()->Borders, TPrintBorders::pbSingle);

    const int before = g.Invalidates;
    g.CellNode()->SetNodeIndent(12);
    EXPECT_EQ(g.Invalidates, before) << "an unchanged value does not repaint";
    g.CellNode()->SetNodeIndent(20);
    EXPECT_GT(g.Invalidates, before);

    TPrintSettings src(nullptr);
    src.TitleLines()->Add("Title");
    src.Font()->SetSize(17);
    src.HeaderFont()->SetName("Courier");
    src.FooterFont()->SetColor(clRed);
    src.FixedFont()->SetSize(5);
    src.SetFixedCellsAlways(true);
    src.PageNumSep = "-";
    src.BorderColor = clBlue;
    g.PrintSettings()->Assign(&src);
    TPrintSettings *ps = g.PrintSettings();
    EXPECT_EQ(ps->TitleLines()->Text().trimmed(), "Title");
    EXPECT_EQ(ps->Font()->Size(), 17);
    EXPECT_EQ(ps->HeaderFont()->Name(), "Courier");
    EXPECT_EQ(ps->FooterFont()->Color(), clRed);
    EXPECT_EQ(ps->FixedFont()->Size(), 5);
    EXPECT_EQ(ps->PageNumSep, "-");
    EXPECT_EQ(ps->BorderColor, clBlue);
    EXPECT_FALSE(ps->FixedCellsAlways()) << "not copied";
    EXPECT_EQ(ps->Owner(), &g);
    EXPECT_THROW(ps->Assign(g.HTMLSettings()), EInvalidCast);

    THTMLSettings h;
    h.Summary = "s";
    h.ExportImages = false;
    h.ColWidths()->Add(30);
    g.HTMLSettings()->Assign(&h);
    EXPECT_EQ(g.HTMLSettings()->Summary, "s");
    EXPECT_TRUE(g.HTMLSettings()->ExportImages);
    EXPECT_EQ(g.HTMLSettings()->ColWidths()->Count(), 0);

    TColumnSize cs(nullptr);
    cs.SetKey("k");
    cs.SetStretchColumn(2);
    cs.SetLocation(clIniFile);
    g.ColumnSize()->Assign(&cs);
    EXPECT_EQ(g.ColumnSize()->Key(), "k");
    EXPECT_EQ(g.ColumnSize()->StretchColumn(), 2);
    EXPECT_EQ(g.ColumnSize()->Location(), clIniFile);
    EXPECT_EQ(g.ColumnSize()->Owner(), &g);
}
