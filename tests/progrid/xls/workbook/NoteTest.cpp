// Cell comments: the NOTE record, its comment box in the sheet drawing, and both kept in step
// while rows and columns move, are copied or deleted.
#include "tests/progrid/xls/drawing/EscherFixture.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"

using namespace esc;

namespace {

TSheetInfo SameSheet()
{
    TSheetInfo i;
    i.InsSheet = 0;
    i.FormulaSheet = 0;
    return i;
}

TNoteRecord *NoteAt(TNoteList &notes, int row, int index = 0)
{
    if (row >= notes.Count() || index >= notes.Items(row)->Count())
        return nullptr;
    return notes.Items(row)->Items(index);
}

int Shapes(TDrawing &d) { return d.RecordCache()->Patriarch->ContainedRecords()->Count(); }

std::string Message(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.Message().toStdString();
    }
    return "no error";
}

} // namespace

TEST(Notes, NewCommentWritesItsNoteAndReadsBackItsText)
{
    TDrawingGroup g;
    TDrawing d(&g);
    FakeSheet s;
    TNoteList notes;
    notes.AddNewComment(3, 2, QStringLiteral("first"), &d, Cells(3, 3, 7, 5), &s);
    notes.AddNewComment(3, 0, QStringLiteral("second"), &d, Cells(3, 1, 7, 3), &s);
    TNoteRecord *n = NoteAt(notes, 3);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(Saved(*n).toHex(' '), QByteArray("1c 00 0c 00 03 00 02 00 00 00 01 00 00 00 00 00"));
    EXPECT_EQ(NoteAt(notes, 3, 1)->ObjId(), 2);
    ASSERT_EQ(d.FindObjId(1), n->Dwg());
    EXPECT_EQ(n->Text(), QStringLiteral("first"));
    EXPECT_EQ(NoteAt(notes, 3, 1)->Text(), QStringLiteral("second"));
    n->SetText(QStringLiteral("changed"));
    EXPECT_EQ(n->Text(), QStringLiteral("changed"));
    EXPECT_EQ(notes.TotalSize(), 2 * 16);
}

TEST(Notes, PositionsOutsideTheSheetAreRefusedAndAddNothing)
{
    TDrawingGroup g;
    TDrawing d(&g);
    TNoteList notes;
    struct Case
    {
        int row, col;
        const char *message;
    };
    for (const Case &c : {Case{-1, 0, "The index \"-1\" of the property \"Row\" is not in the range 0-65535"},
                          Case{65536, 0, "The index \"65536\" of the property \"Row\" is not in the range 0-65535"},
                          Case{0, 256, "The index \"256\" of the property \"Column\" is not in the range 0-255"}}) {
        EXPECT_EQ(Message([&] { notes.AddNewComment(c.row, c.col, "x", &d, Cells(0, 0, 1, 1), nullptr); }),
                  c.message);
    }
    EXPECT_EQ(notes.Count(), 0);
    EXPECT_EQ(d.RecordCache()->Patriarch, nullptr) << "no drawing was started";
}

TEST(Notes, LoadedNotesFindTheirObjectsOrReadNothing)
{
    // The drawing of the fixture holds a comment box of object 1 ("Hi") and a picture of object 2.
    TDrawingGroup g;
    GroupWithDrawing1(g, 2);
    TDrawing d(&g);
    Stream st(CommentDrawing().Bytes() + Record(0x001C, Hex("05 00 01 00 00 00 01 00 00 00 00 00"))
              + Record(0x001C, Hex("06 00 01 00 00 00 09 00 00 00 00 00")) + Record(0x000A, QByteArray()));
    LoadDrawing(d, st);
    TNoteList notes;
    for (int k = 0; k < 2; ++k) {
        TBaseRecord *r = LoadRecord(st.file.get(), st.Header);
        auto *n = dynamic_cast<TNoteRecord *>(r);
        ASSERT_NE(n, nullptr) << "NOTE is read as a note";
        notes.AddRecord(n, n->Row());
    }
    EXPECT_EQ(NoteAt(notes, 5)->Text(), QString()) << "not linked before FixDwgIds";
    notes.FixDwgIds(&d);
    EXPECT_EQ(NoteAt(notes, 5)->Text(), QStringLiteral("Hi"));
    TNoteRecord *lost = NoteAt(notes, 6);
    EXPECT_EQ(lost->Dwg(), nullptr);
    lost->SetText(QStringLiteral("ignored"));
    EXPECT_EQ(lost->Text(), QString());
    // Notes read from a file are written back as they were.
    EXPECT_EQ(Written([&](TOle2File &f) { notes.SaveToStream(&f); }),
              Record(0x001C, Hex("05 00 01 00 00 00 01 00 00 00 00 00"))
                  + Record(0x001C, Hex("06 00 01 00 00 00 09 00 00 00 00 00")));
    const int before = Shapes(d);
    notes.DeleteRows(6, 1, SameSheet());
    EXPECT_EQ(Shapes(d), before) << "a note without a box takes no shape away";
}

TEST(Notes, NoteTooShortForItsObjectIdIsInvalid)
{
    EXPECT_EQ(Message([] { Make<TNoteRecord>(0x001C, Hex("01 00 02 00 00 00 01")); }),
              "Record with ID 0x1C is invalid");
}

TEST(Notes, DeletingTheRowRemovesTheCommentBox)
{
    TDrawingGroup g;
    TDrawing d(&g);
    FakeSheet s;
    TNoteList notes;
    notes.AddNewComment(2, 1, QStringLiteral("gone"), &d, Cells(2, 2, 5, 4), &s);
    notes.AddNewComment(6, 1, QStringLiteral("stays"), &d, Cells(6, 2, 9, 4), &s);
    ASSERT_EQ(Shapes(d), 3); // the group shape and two boxes
    notes.DeleteRows(2, 1, SameSheet());
    EXPECT_EQ(Shapes(d), 2);
    EXPECT_EQ(d.FindObjId(1), nullptr);
    TNoteRecord *n = NoteAt(notes, 5);
    ASSERT_NE(n, nullptr) << "the note below moved up a row";
    EXPECT_EQ(n->Row(), 5);
    EXPECT_EQ(n->Text(), QStringLiteral("stays"));
    notes.DeleteCols(1, 1, SameSheet());
    EXPECT_EQ(Shapes(d), 1);
}

TEST(Notes, CopyingARowGivesTheCopyItsOwnBox)
{
    TDrawingGroup g;
    TDrawing d(&g);
    FakeSheet s;
    TNoteList notes;
    notes.AddNewComment(1, 0, QStringLiteral("copied"), &d, Cells(1, 1, 3, 2), &s);
    notes.InsertAndCopyRows(1, 1, 4, 1, SameSheet(), false);
    TNoteRecord *source = NoteAt(notes, 1), *copy = NoteAt(notes, 4);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Row(), 4);
    EXPECT_EQ(copy->ObjId(), 2) << "a new object id";
    ASSERT_NE(copy->Dwg(), nullptr);
    EXPECT_NE(copy->Dwg(), source->Dwg());
    EXPECT_EQ(d.FindObjId(2), copy->Dwg());
    EXPECT_EQ(copy->Text(), QStringLiteral("copied"));
    EXPECT_EQ(Shapes(d), 3);
    auto *box = static_cast<TEscherSpContainerRecord *>(copy->Dwg()->FindRoot());
    EXPECT_EQ(box->ClientAnchor->Anchor().Row1, 4) << "the box moved with the row";
    copy->SetText(QStringLiteral("own"));
    EXPECT_EQ(source->Text(), QStringLiteral("copied"));
}

TEST(Notes, ACopySharingItsSourceBoxLeavesItWhenFreed)
{
    TDrawingGroup g;
    TDrawing d(&g);
    FakeSheet s;
    TNoteList notes;
    notes.AddNewComment(0, 0, QStringLiteral("kept"), &d, Cells(0, 1, 2, 2), &s);
    {
        TNoteList copy;
        copy.CopyFrom(&notes);
        EXPECT_EQ(NoteAt(copy, 0)->Text(), QStringLiteral("kept")) << "shared until relinked";
    }
    EXPECT_EQ(Shapes(d), 2);
    EXPECT_EQ(NoteAt(notes, 0)->Text(), QStringLiteral("kept"));
}
