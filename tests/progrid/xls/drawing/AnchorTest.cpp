// New shapes of a sheet drawing (basic tree, comment boxes, filter arrows) and anchors kept in
// cells and as a rectangle in sheet units while rows and columns move.
#include "EscherFixture.h"

using namespace esc;

namespace {

std::unique_ptr<TEscherClientAnchorRecord> Lone(const TClientAnchor &a, TSheetSizes *sheet)
{
    return std::unique_ptr<TEscherClientAnchorRecord>(TEscherClientAnchorRecord::CreateFromData(
        a, sheet, nullptr, nullptr, nullptr, TEscherRecordHeader{0, MsofbtClientAnchor, 18}));
}

} // namespace

TEST(Anchors, RectangleInSheetUnits)
{
    FakeSheet s;
    s.Cols = {{0, 64}, {2, 0}, {3, 256}};
    s.Rows = {{1, 17}, {2, 0}};
    // Dx 2 and 6 of 256 units are 0.5 and 1.5: ties go to the even neighbour.
    auto r = Lone(Anchor(2, 1, 512, 1, 128, 3, 2, 3, 51), &s);
    EXPECT_EQ(r->SaveRect.x1, 64 + 50);
    EXPECT_EQ(r->SaveRect.x2, 64 + 100 + 0 + 0);
    EXPECT_EQ(r->SaveRect.y1, 20 + 9); // 128 * 17 / 255 = 8.53
    EXPECT_EQ(r->SaveRect.y2, 20 + 17 + 0 + 4);
    r->SetAnchor(Anchor(3, 3, 6, 0, 0, 4, 1024, 0, 255), &s);
    EXPECT_EQ(r->SaveRect.x1, 64 + 100 + 2);
    EXPECT_EQ(r->SaveRect.x2, 64 + 100 + 256 + 100);
    EXPECT_EQ(r->SaveRect.y2, 20);
    // Moving and sizing with the cells needs no rectangle; a nil sheet leaves it.
    const TAbsoluteAnchorRect before = r->SaveRect;
    r->SetAnchor(Anchor(0, 9, 0, 9, 0, 10, 0, 10, 0), &s);
    r->SetAnchor(Anchor(3, 9, 0, 9, 0, 10, 0, 10, 0), nullptr);
    EXPECT_EQ(std::tie(r->SaveRect.x1, r->SaveRect.x2, r->SaveRect.y1, r->SaveRect.y2),
              std::tie(before.x1, before.x2, before.y1, before.y2));
}

TEST(Anchors, CellsFromTheRectangle)
{
    FakeSheet s;
    s.Cols = {{1, 0}, {2, 200}};
    auto r = Lone(Anchor(3, 0, 0, 0, 0, 0, 0, 0, 0), &s);
    struct Case
    {
        int X, Y;
        int Col, Dx, Row, Dy;
    } cases[] = {
        {-5, -1, 0, 0, 0, 0},      // before the sheet
        {0, 0, 0, 0, 0, 0},        // a hidden column is skipped: x 100 is column 2
        {100, 10, 2, 0, 0, 128},   // 10 / 20 * 255 = 127.5, even 128
        {150, 30, 2, 256, 1, 128}, // 50 / 200 * 1024
        {399, 61, 3, 1014, 3, 13}, // 99 / 100 * 1024 = 1013.76; 1 / 20 * 255 = 12.75
    };
    for (const Case &c : cases) {
        r->SaveRect = {c.X, c.X, c.Y, c.Y};
        r->RestoreObjectCoords(&s);
        const TClientAnchor a = r->Anchor();
        EXPECT_EQ(std::tie(a.Col1, a.Dx1, a.Row1, a.Dy1), std::make_tuple(uint16_t(c.Col), uint16_t(c.Dx),
                                                                          uint16_t(c.Row), uint16_t(c.Dy)))
            << c.X << "," << c.Y;
        EXPECT_EQ(std::tie(a.Col2, a.Dx2), std::tie(a.Col1, a.Dx1));
    }
    // Beyond the last column: column 255, the offset at most the whole width.
    r->SaveRect = {1000000, 1000000, 0, 0};
    r->RestoreObjectCoords(&s);
    EXPECT_EQ(r->Anchor().Col1, 255);
    EXPECT_EQ(r->Anchor().Dx1, 1024);
}

TEST(Anchors, FollowInsertedAndDeletedRows)
{
    FakeSheet before;
    TSheetInfo info;
    struct Case
    {
        const char *What;
        TClientAnchor From;
        int RowPos, RowCount;
        TClientAnchor To;
    } cases[] = {
        {"moves and sizes, below the deletion", Anchor(0, 1, 0, 12, 30, 2, 0, 14, 40), 5, -5,
         Anchor(0, 1, 0, 7, 30, 2, 0, 9, 40)},
        {"moves and sizes, cut by the deletion", Anchor(0, 1, 0, 3, 30, 2, 0, 7, 40), 5, -5,
         Anchor(0, 1, 0, 3, 30, 2, 0, 5, 0)},
        {"moves and sizes, above an insertion", Anchor(0, 1, 0, 1, 0, 2, 0, 2, 0), 5, 3,
         Anchor(0, 1, 0, 1, 0, 2, 0, 2, 0)},
        {"moves and sizes, at the sheet's end", Anchor(0, 1, 0, 65530, 0, 2, 0, 65534, 0), 10, 10,
         Anchor(0, 1, 0, 65535, 0, 2, 0, 65535, 0)},
        // Dy 10 of 20 units is 0.78, kept as 1 unit, which reads back as 12.75 of 255.
        {"keeps its size, moved down", Anchor(2, 1, 0, 5, 0, 2, 0, 8, 10), 2, 2, Anchor(2, 1, 0, 7, 0, 2, 0, 10, 13)},
    };
    for (const Case &c : cases) {
        auto r = Lone(c.From, &before);
        r->ArrangeInsertRowsAndCols(c.RowPos, c.RowCount, &before, false, info, 0, 0);
        EXPECT_EQ(Tie(r->Anchor()), Tie(c.To)) << c.What;
    }
    // Records of another sheet stay.
    auto r = Lone(Anchor(0, 1, 0, 12, 0, 2, 0, 14, 0), &before);
    TSheetInfo other;
    other.InsSheet = 0;
    other.FormulaSheet = 1;
    r->ArrangeInsertRowsAndCols(0, 5, &before, false, other, 0, 0);
    EXPECT_EQ(r->Anchor().Row1, 12);
    // Columns too, clamped at the insertion point.
    r->ArrangeInsertRowsAndCols(0, 0, &before, false, info, -5, 0);
    EXPECT_EQ(Tie(r->Anchor()), Tie(Anchor(0, 0, 0, 12, 0, 0, 0, 14, 0)));
}

TEST(Anchors, ShapesThatDoNotSizeKeepTheirSizeInSheetUnits)
{
    FakeSheet before; // rows of 20
    TSheetInfo info;
    // A shape that keeps its size, rows 5-8: 60 high. Two rows are inserted at row 2 and the rows
    // that now hold it have grown to 40: its top moves with its cell, its bottom keeps the height.
    auto kept = Lone(Anchor(2, 1, 0, 5, 0, 2, 0, 8, 0), &before);
    auto sized = Lone(Anchor(0, 1, 0, 5, 0, 2, 0, 8, 0), &before);
    FakeSheet after;
    after.Rows = {{7, 40}, {8, 40}};
    kept->ArrangeInsertRowsAndCols(2, 2, &after, false, info, 0, 0);
    sized->ArrangeInsertRowsAndCols(2, 2, &after, false, info, 0, 0);
    // Top at 7 * 20 = 140; bottom at 200, 20 into row 8 (40 high): 127.5, even 128.
    EXPECT_EQ(Tie(kept->Anchor()), Tie(Anchor(2, 1, 0, 7, 0, 2, 0, 8, 128)));
    EXPECT_EQ(Tie(sized->Anchor()), Tie(Anchor(0, 1, 0, 7, 0, 2, 0, 10, 0)));

    // A comment box neither moves nor sizes: inserted rows of 10 above it leave it where it was.
    auto box = Lone(Anchor(3, 1, 0, 3, 0, 2, 0, 7, 0), &before); // 60 to 140
    after.Rows = {{1, 10}, {2, 10}};
    box->ArrangeInsertRowsAndCols(1, 2, &after, false, info, 0, 0);
    EXPECT_EQ(Tie(box->Anchor()), Tie(Anchor(3, 1, 0, 4, 0, 2, 0, 8, 0)));
    EXPECT_EQ(box->SaveRect.y1, 60);
    EXPECT_EQ(box->SaveRect.y2, 140);
    // Forced moves handle any anchor as one that keeps its size.
    auto forced = Lone(Anchor(0, 1, 0, 5, 0, 2, 0, 8, 0), &before);
    forced->ArrangeInsertRowsAndCols(2, 2, &before, true, info, 0, 0);
    EXPECT_EQ(Tie(forced->Anchor()), Tie(Anchor(0, 1, 0, 7, 0, 2, 0, 10, 0)));
}

TEST(Anchors, WhatCopiesAndDeletionsTakeAlong)
{
    struct Case
    {
        int Flag;
        bool Delete, Copy;
    } cases[] = {{0, true, true}, {1, false, false}, {2, false, true}, {3, false, false}};
    for (const Case &c : cases) {
        auto r = Lone(Anchor(c.Flag, 2, 0, 5, 0, 4, 0, 9, 0), nullptr);
        EXPECT_EQ(r->AllowDelete(5, 9, 2, 4), c.Delete) << c.Flag;
        EXPECT_EQ(r->AllowCopy(5, 9, 0, 256), c.Copy) << c.Flag;
        // Not inside the rows or columns given.
        EXPECT_FALSE(r->AllowDelete(6, 9, 0, 256));
        EXPECT_FALSE(r->AllowCopy(5, 8, 0, 256));
        EXPECT_FALSE(r->AllowCopy(0, 65536, 3, 256));
    }
}

TEST(Anchors, CopiesAreShiftedAndFittedToTheirSheet)
{
    TDrawingGroup g;
    g.EnsureDwgGroup();
    TDrawing d(&g);
    FakeSheet src, dst;
    d.AddImage(QByteArray("\xFF\xD8x", 3), xli_Jpeg, &src, at_MoveAndDontResize, Cells(2, 1, 4, 2));
    TEscherClientAnchorRecord *a = d.RecordCache()->Anchor->Items(0);
    dst.Rows = {{7, 10}, {8, 10}, {9, 10}, {10, 10}};
    d.DgContainer()->ClearCopiedTo();
    auto *copy = static_cast<TEscherClientAnchorRecord *>(a->CopyDwg(5, 0, &dst));
    // The copy starts 5 rows further down and keeps the 40 units of height in the other sheet.
    EXPECT_EQ(Tie(copy->Anchor()), Tie(Anchor(2, 1, 0, 7, 0, 2, 0, 11, 0)));
    EXPECT_EQ(Tie(a->Anchor()), Tie(Anchor(2, 1, 0, 2, 0, 2, 0, 4, 0))) << "the source stays";
    // Shifts stop at the sheet's edge.
    d.DgContainer()->ClearCopiedTo();
    auto *far = static_cast<TEscherClientAnchorRecord *>(a->CopyDwg(70000, 300, nullptr));
    EXPECT_EQ(far->Anchor().Row1, 65535);
    EXPECT_EQ(far->Anchor().Col2, 255);
}

TEST(Shapes, FirstCommentBuildsTheDrawingAndReadsBackItsText)
{
    TDrawingGroup g;
    TDrawing d(&g);
    FakeSheet s;
    TEscherClientDataRecord *data = d.AddNewComment(Cells(3, 2, 7, 4), &s);
    TEscherDwgCache *idx = d.RecordCache();
    ASSERT_NE(idx->Patriarch, nullptr);
    ASSERT_NE(g.RecordCache()->BStore, nullptr) << "the group was made";
    EXPECT_EQ(idx->Dg->DgId(), 1u);
    TEscherRecordList *shapes = idx->Patriarch->ContainedRecords();
    ASSERT_EQ(shapes->Count(), 2);
    auto *box = static_cast<TEscherSpContainerRecord *>(shapes->Items(1));
    EXPECT_EQ(data->Parent(), box);
    EXPECT_EQ(box->SP->ShapeId(), 1025u);
    EXPECT_EQ(box->SP->Pre, 0x0CA2);
    EXPECT_EQ(box->Opt->Pre, 0x0093);
    EXPECT_EQ(box->Opt->TotalDataSize, 54);
    EXPECT_EQ(Tie(box->ClientAnchor->Anchor()), Tie(Anchor(3, 2, 0, 3, 0, 4, 0, 7, 0)));
    EXPECT_EQ(box->ClientAnchor->SaveRect.y1, 60);
    EXPECT_EQ(box->ContainedRecords()->Count(), 5);
    ASSERT_NE(data->ClientData(), nullptr);
    EXPECT_EQ(data->ClientData()->Id(), 1);
    EXPECT_EQ(d.FindObjId(1), data);
    EXPECT_EQ(d.FindObjId(2), nullptr);
    auto *text = dynamic_cast<TEscherClientTextBoxRecord *>(box->ContainedRecords()->Items(4));
    ASSERT_NE(text, nullptr);
    text->SetValue(QString::fromUtf8("Note \xE2\x82\xAC"));
    EXPECT_EQ(d.AddNewComment(Cells(8, 0, 9, 1), &s)->ClientData()->Id(), 2);

    const QByteArray bytes = Written([&](TOle2File &f) {
        g.SaveToStream(&f);
        d.SaveToStream(&f);
    });
    TDrawingGroup g2;
    TDrawing d2(&g2);
    Stream st(bytes + Record(0x000A, QByteArray()));
    LoadGroup(g2, st);
    LoadDrawing(d2, st);
    TEscherClientDataRecord *back = d2.FindObjId(1);
    ASSERT_NE(back, nullptr);
    auto *backBox = static_cast<TEscherSpContainerRecord *>(back->Parent());
    EXPECT_EQ(static_cast<TEscherClientTextBoxRecord *>(backBox->ContainedRecords()->Items(4))->Value(),
              QString::fromUtf8("Note \xE2\x82\xAC"));
    EXPECT_EQ(Tie(backBox->ClientAnchor->Anchor()), Tie(Anchor(3, 2, 0, 3, 0, 4, 0, 7, 0)));
    EXPECT_EQ(d2.RecordCache()->MaxObjId, 2);
    EXPECT_EQ(Written([&](TOle2File &f) { d2.SaveToStream(&f); }), bytes.mid(int(g.TotalSize())));
}

TEST(Shapes, FilterArrowsAreAddedAndRemovedAlone)
{
    TDrawingGroup g;
    g.EnsureDwgGroup();
    TDrawing d(&g);
    FakeSheet s;
    d.RemoveAutoFilter(); // nothing there yet
    d.AddImage(QByteArray("\xFF\xD8x", 3), xli_Jpeg, &s, at_MoveAndResize, Cells(0, 0, 1, 1));
    d.AddAutoFilter(4, 2, &s, 1); // an empty range
    EXPECT_EQ(d.RecordCache()->Obj->Count(), 1);
    d.AddAutoFilter(4, 2, &s, 4);
    d.AddNewComment(Cells(1, 1, 2, 2), &s);
    TEscherRecordList *shapes = d.RecordCache()->Patriarch->ContainedRecords();
    ASSERT_EQ(shapes->Count(), 6);
    for (int col = 2; col <= 4; ++col) {
        auto *arrow = static_cast<TEscherSpContainerRecord *>(shapes->Items(col));
        EXPECT_EQ(arrow->SP->Pre, 0x0C92);
        EXPECT_EQ(arrow->Opt->TotalDataSize, 24);
        EXPECT_EQ(Tie(arrow->ClientAnchor->Anchor()), Tie(Anchor(1, col, 0, 4, 0, col + 1, 0, 5, 0)));
        auto *data = arrow->FindRec<TEscherClientDataRecord>();
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(static_cast<DUzObj *>(data->ClientData())->IsAutoFilter());
        EXPECT_EQ(data->ClientData()->Id(), col); // after the picture's 1
    }
    const uint32_t shapesBefore = d.RecordCache()->Dg->Dg().ShapeCount();
    d.RemoveAutoFilter();
    ASSERT_EQ(shapes->Count(), 3);
    EXPECT_EQ(static_cast<TEscherSpContainerRecord *>(shapes->Items(1))->SP->Pre, 0x04B2);
    EXPECT_EQ(static_cast<TEscherSpContainerRecord *>(shapes->Items(2))->SP->Pre, 0x0CA2);
    EXPECT_EQ(d.RecordCache()->Dg->Dg().ShapeCount(), shapesBefore - 3);
    EXPECT_EQ(d.RecordCache()->Anchor->Count(), 2);
    EXPECT_EQ(d.DrawingCount(), 1);
}

TEST(Shapes, SheetWideCoordinatesAndMissingGroups)
{
    TDrawingGroup g;
    TDrawing d(&g);
    FakeSheet s;
    d.SaveObjectCoords(&s); // no drawing: nothing
    d.AddNewComment(Cells(3, 2, 7, 4), &s);
    TEscherClientAnchorRecord *a = d.RecordCache()->Anchor->Items(0);
    s.RowDefault = 10;
    d.RestoreObjectCoords(&s);
    EXPECT_EQ(Tie(a->Anchor()), Tie(Anchor(3, 2, 0, 6, 0, 4, 0, 14, 0)));
    d.SaveObjectCoords(&s);
    EXPECT_EQ(a->SaveRect.y2, 140);

    TDrawing orphan(nullptr);
    EXPECT_EQ(MessageOf([&] { orphan.AddNewComment(Cells(0, 0, 1, 1), &s); }), "DrawingGroup can't be nil");
    EXPECT_EQ(MessageOf([&] { orphan.AddAutoFilter(0, 0, &s, 0); }), "DrawingGroup can't be nil");
}
