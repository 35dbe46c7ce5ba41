// The Escher record tree: loading bodies out of BIFF records, the drawing's indexes, ordering,
// queries and copies.
#include "EscherFixture.h"

using namespace esc;

namespace {

// A root container of a drawing index, loaded from BIFF records of the given data.
struct Tree
{
    TEscherDwgCache Index;
    TEscherDwgGroupCache Group;
    TEscherAnchorCache Anchors;
    TEscherObjCache Objs;
    TEscherShapeCache Shapes;
    TEscherOPTCache Blips;
    std::unique_ptr<TEscherContainerRecord> Root;
    std::vector<std::unique_ptr<TBaseRecord>> Records;

    Tree()
    {
        Index.Anchor = &Anchors;
        Index.Obj = &Objs;
        Index.Shape = &Shapes;
        Index.Blip = &Blips;
    }
    ~Tree()
    {
        Index.Destroying = true;
        Root.reset();
    }
    void Start(int id, uint32_t size)
    {
        Root.reset(static_cast<TEscherContainerRecord *>(
            CreateEscherRecord(TEscherRecordHeader{0xF, uint16_t(id), size}, nullptr, &Index, &Group)));
    }
    // Loads the root from one more BIFF record holding the bytes.
    void Feed(const QByteArray &bytes)
    {
        Records.push_back(Make<TDrawingRecord>(0xEC, bytes));
        TBaseRecord *r = Records.back().get();
        int32_t pos = 0;
        Root->Load(r, pos);
    }
};

} // namespace

TEST(EscherTree, BodyRunsOnIntoTheNextRecord)
{
    Tree t;
    t.Start(0xF002, 8 + 10 + 8);
    t.Feed(Hdr(0, 0xF0AA, 10) + B({1, 2, 3, 4}));
    TEscherRecord *atom = t.Root->LastRecord();
    EXPECT_FALSE(atom->Loaded());
    EXPECT_EQ(atom->LoadedDataSize, 4);
    EXPECT_EQ(t.Root->LoadedDataSize, 0) << "a container grows only when a child completes";
    t.Feed(B({5, 6, 7, 8, 9, 10}) + Hdr(0, 0xF011, 0));
    EXPECT_TRUE(atom->Loaded());
    EXPECT_EQ(t.Root->LoadedDataSize, 26);
    EXPECT_TRUE(t.Root->Loaded());
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(static_cast<TEscherDataRecord *>(atom)->Data), 10),
              B({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(EscherTree, ClientRecordsAreCompleteAfterTheirHeaderAndWaitForTheirObject)
{
    struct Case
    {
        int Id;
        bool Text;
    };
    for (const Case &k : {Case{0xF011, false}, Case{0xF00D, true}}) {
        Tree t;
        t.Start(0xF004, 16 + 8);
        t.Feed(Hdr(0, k.Id, 0) + Hdr(0, 0xF0AA, 0));
        ASSERT_EQ(t.Root->ContainedRecords()->Count(), 1) << "the stream stops at the client record";
        TEscherRecord *client = t.Root->LastRecord();
        EXPECT_TRUE(client->Loaded());
        TClientDataClass type = nullptr;
        ASSERT_TRUE(t.Root->WaitingClientData(type));
        std::unique_ptr<TBaseClientData> made(type());
        EXPECT_EQ(dynamic_cast<TTXO *>(made.get()) != nullptr, k.Text);
        EXPECT_EQ(dynamic_cast<DUzObj *>(made.get()) != nullptr, !k.Text);
        EXPECT_EQ(t.Objs.Count(), 1);
    }
}

TEST(EscherTree, FirstGroupContainerIsThePatriarch)
{
    Tree t;
    const QByteArray inner = Box(0xF003, Box(0xF004, Atom(2, 0xF00A, Le32(1025) + Le32(0))));
    const QByteArray outer = Box(0xF003, Box(0xF004, Atom(2, 0xF00A, Le32(1024) + Le32(5))) + inner);
    t.Start(0xF002, uint32_t(outer.size()));
    t.Feed(outer);
    auto *patriarch = dynamic_cast<TEscherSpgrContainerRecord *>(t.Root->LastRecord());
    ASSERT_NE(patriarch, nullptr);
    EXPECT_EQ(t.Index.Patriarch, patriarch);
    EXPECT_NE(t.Index.Patriarch, patriarch->LastRecord());
    // Queries: the root shape of a nested record is the patriarch's child it lies in.
    auto *nested = static_cast<TEscherContainerRecord *>(patriarch->LastRecord());
    TEscherRecord *sp = static_cast<TEscherContainerRecord *>(nested->LastRecord())->LastRecord();
    EXPECT_EQ(sp->FindRoot(), nested);
    EXPECT_EQ(t.Root->FindRec<TEscherSpgrContainerRecord>(), patriarch);
    EXPECT_EQ(t.Root->FindRec<TEscherDgRecord>(), nullptr);
    EXPECT_EQ(sp->FindRec<TEscherRecord>(), nullptr);
    // Shapes are found by id once sorted.
    int at = -1;
    EXPECT_TRUE(t.Shapes.Find(1025, at));
    EXPECT_EQ(t.Shapes.Items(at), sp);
    EXPECT_FALSE(t.Shapes.Find(1030, at));
    EXPECT_EQ(at, 2);
    // Freeing the nested group clears nothing of the patriarch and drops its shape.
    t.Index.Destroying = false;
    patriarch->ContainedRecords()->Delete(1);
    EXPECT_EQ(t.Index.Patriarch, patriarch);
    EXPECT_EQ(t.Shapes.Count(), 1);
}

TEST(EscherTree, ShapeCacheLetsGoOfTheRightRecordWhenIdsRepeat)
{
    Tree t;
    const QByteArray shapes = Box(0xF004, Atom(2, 0xF00A, Le32(7) + Le32(0))) + Box(0xF004, Atom(2, 0xF00A, Le32(7) + Le32(0)));
    t.Start(0xF003, uint32_t(shapes.size()));
    t.Feed(shapes);
    t.Index.Destroying = false;
    auto *second = static_cast<TEscherContainerRecord *>(t.Root->LastRecord())->LastRecord();
    t.Root->ContainedRecords()->Delete(0);
    ASSERT_EQ(t.Shapes.Count(), 1);
    EXPECT_EQ(t.Shapes.Items(0), second);
}

TEST(EscherTree, RecordsCompareByIdPreSizeThenBytes)
{
    TEscherDwgCache idx;
    const auto atom = [&](int pre, int id, const QByteArray &body) {
        return std::unique_ptr<TEscherDataRecord>(CreateEscherFromData<TEscherDataRecord>(
            uint16_t(pre), uint16_t(id), reinterpret_cast<const uint8_t *>(body.constData()), int32_t(body.size()),
            nullptr, &idx, nullptr));
    };
    struct Case
    {
        int PreA, IdA;
        QByteArray DataA;
        int PreB, IdB;
        QByteArray DataB;
        int Expected;
    };
    const Case cases[] = {
        {0, 0xF0A1, B({9}), 0, 0xF0A2, B({1}), -1},       // id first
        {0x20, 0xF0A1, B({1}), 0x10, 0xF0A1, B({9}), 1},  // then Pre
        {0, 0xF0A1, B({9}), 0, 0xF0A1, B({1, 1}), -1},    // then size
        {0, 0xF0A1, B({1, 0x80}), 0, 0xF0A1, B({1, 0x7F}), 1}, // bytes, unsigned
        {0, 0xF0A1, B({1, 2}), 0, 0xF0A1, B({1, 2}), 0},
    };
    for (const Case &k : cases) {
        auto a = atom(k.PreA, k.IdA, k.DataA), b = atom(k.PreB, k.IdB, k.DataB);
        EXPECT_EQ(a->CompareRec(b.get()), k.Expected);
        EXPECT_EQ(b->CompareRec(a.get()), -k.Expected);
    }
    // Store entries: size, then the 16-byte identifier at body offset 2 (bytes 0-1 do not count).
    const auto bse = [&](int first, int idByte) {
        QByteArray body(36, 0);
        body[0] = char(first);
        body[17] = char(idByte);
        return std::unique_ptr<TEscherBSERecord>(CreateEscherFromData<TEscherBSERecord>(
            0x52, 0xF007, reinterpret_cast<const uint8_t *>(body.constData()), 36, nullptr, &idx, nullptr));
    };
    EXPECT_EQ(bse(7, 1)->CompareRec(bse(5, 1).get()), 0);
    EXPECT_EQ(bse(5, 2)->CompareRec(bse(7, 1).get()), 1);

    // The sorted search of a child list.
    TEscherRecordList list;
    for (int v : {5, 1, 3})
        list.Add(atom(0, 0xF0A1, B({v})).release());
    int at = -1;
    auto probe = atom(0, 0xF0A1, B({3}));
    EXPECT_TRUE(list.Find(probe.get(), at));
    EXPECT_EQ(at, 1);
    auto missing = atom(0, 0xF0A1, B({4}));
    EXPECT_FALSE(list.Find(missing.get(), at));
    EXPECT_EQ(at, 2);
}

TEST(EscherTree, FailuresOfSingleRecords)
{
    Tree t;
    t.Start(0xF004, 8);
    EXPECT_EQ(MessageOf([&] { t.Root->LastRecord(); }), "Error loading Escher record");
    t.Feed(Hdr(0, 0xF0AA, 0));
    EXPECT_EQ(MessageOf([&] { t.Root->AssignClientData(nullptr); }), "Error loading Escher record");
    t.Root->LoadedDataSize = 9;
    EXPECT_EQ(MessageOf([&] { t.Root->Loaded(); }), "Tarvix: Logical Error");
    t.Root->LoadedDataSize = 8;
    // A container asked to read beyond its BIFF record.
    Tree u;
    u.Start(0xF004, 8);
    auto r = Make<TDrawingRecord>(0xEC, B({1, 2}));
    TBaseRecord *at = r.get();
    int32_t pos = 3;
    EXPECT_EQ(MessageOf([&] { u.Root->Load(at, pos); }), "Error reading Excel records. File invalid");
    // A body with nothing left to read.
    auto atom = std::make_unique<TEscherDataRecord>(TEscherRecordHeader{0, 0xF0AA, 4}, nullptr, &u.Index, nullptr);
    pos = 2;
    EXPECT_EQ(MessageOf([&] { atom->Load(at, pos); }), "Error loading Escher record");
}

TEST(EscherTree, CopiesLandUnderTheirParentsCopy)
{
    TDrawingGroup g;
    GroupWithDrawing1(g, 3);
    TDrawing d(&g);
    Stream s(CommentDrawing().Bytes());
    LoadDrawing(d, s);
    TEscherDwgCache *idx = d.RecordCache();
    TEscherSpgrContainerRecord *patriarch = idx->Patriarch;
    auto *comment = static_cast<TEscherSpContainerRecord *>(patriarch->ContainedRecords()->Items(1));
    TEscherClientDataRecord *data = idx->Obj->Items(0);

    // A partial copy: the shape container's copy stays under the patriarch, its children go to it.
    d.DgContainer()->ClearCopiedTo();
    std::unique_ptr<TEscherRecord> part(comment->CopyTo(idx, 0, nullptr, 0));
    auto *copy = static_cast<TEscherSpContainerRecord *>(part.get());
    EXPECT_EQ(copy->Parent(), patriarch);
    EXPECT_EQ(patriarch->ContainedRecords()->IndexOf(copy), -1) << "nobody added it";
    ASSERT_NE(copy->SP, nullptr);
    EXPECT_EQ(copy->SP->Parent(), copy);
    EXPECT_EQ(copy->ClientAnchor->Parent(), copy);
    EXPECT_EQ(copy->SP->ShapeId(), 1027u) << "the next id of the drawing's cluster";
    EXPECT_EQ(static_cast<TEscherClientTextBoxRecord *>(copy->LastRecord())->Value(), "Hi");
    part.reset();

    // CopyDwg: the whole shape goes after the others, rows moved, object id new.
    d.DgContainer()->ClearCopiedTo();
    const uint16_t before = idx->MaxObjId;
    TEscherRecord *dataCopy = data->CopyDwg(4, 1, nullptr);
    ASSERT_EQ(patriarch->ContainedRecords()->Count(), 4);
    auto *shapeCopy = static_cast<TEscherSpContainerRecord *>(patriarch->LastRecord());
    EXPECT_EQ(dataCopy->Parent(), shapeCopy);
    EXPECT_EQ(static_cast<TEscherClientDataRecord *>(dataCopy)->ClientData()->Id(), before + 1);
    EXPECT_EQ(idx->MaxObjId, before + 1);
    EXPECT_EQ(data->ClientData()->Id(), 1) << "the source keeps its id";
    const TClientAnchor a = shapeCopy->ClientAnchor->Anchor();
    EXPECT_EQ(a.Row1, 7);
    EXPECT_EQ(a.Row2, 11);
    EXPECT_EQ(a.Col1, 3);
    EXPECT_EQ(a.Col2, 5);
    EXPECT_EQ(idx->Obj->Count(), 5);
    EXPECT_EQ(idx->Shape->Count(), 4);

    // Into another drawing a client object keeps its id.
    TEscherDwgCache other;
    d.DgContainer()->ClearCopiedTo();
    std::unique_ptr<TEscherRecord> away(data->CopyTo(&other, 0, nullptr, 0));
    EXPECT_EQ(static_cast<TEscherClientDataRecord *>(away.get())->ClientData()->Id(), 1);

    // The drawing with its copy writes and loads back.
    const QByteArray w = SavedDrawing(d);
    EXPECT_EQ(w.size(), d.TotalSize());
    TDrawingGroup g2;
    TDrawing d2(&g2);
    Stream s2(w);
    LoadDrawing(d2, s2);
    EXPECT_EQ(SavedDrawing(d2), w);

    // Without a patriarch there is nothing to copy into.
    TEscherDwgCache bare;
    std::unique_ptr<TEscherRecord> lone(
        CreateEscherFromData<TEscherDataRecord>(0, 0xF0AA, nullptr, 0, nullptr, &bare, nullptr));
    EXPECT_EQ(MessageOf([&] { lone->CopyDwg(0, 0, nullptr); }), "Error loading Escher record");
}

TEST(EscherTree, ObjectsWithOleFormulasAreNotCopied)
{
    TDrawingGroup g;
    GroupWithDrawing1(g, 3);
    CommentDrawing c;
    // The picture's OBJ carries a picture formula subrecord (ft 9).
    QByteArray obj = PictureObj(2);
    obj.insert(obj.size() - 4, Le16(9) + Le16(2) + B({0, 0}));
    QByteArray bytes = c.Bytes();
    bytes.replace(bytes.size() - PictureObj(2).size() - 4, PictureObj(2).size() + 4, Record(0x5D, obj));
    TDrawing d(&g);
    Stream s(bytes);
    LoadDrawing(d, s);
    TEscherClientDataRecord *picture = d.RecordCache()->Obj->Items(2);
    EXPECT_TRUE(static_cast<DUzObj *>(picture->ClientData())->HasPictFmla);
    const int shapes = d.RecordCache()->Shape->Count();
    d.DgContainer()->ClearCopiedTo();
    EXPECT_EQ(MessageOf([&] { picture->CopyDwg(1, 0, nullptr); }), "Can't copy OLE objects embedded on a sheet");
    EXPECT_EQ(d.RecordCache()->Shape->Count(), shapes) << "the half-made copy is gone again";
    EXPECT_EQ(picture->CopiedTo, nullptr);
}
