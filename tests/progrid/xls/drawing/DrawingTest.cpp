// Sheet drawings and the drawing group in and out of BIFF records: the cut into MSODRAWING and
// CONTINUE records, client data between them, ids from the Dgg clusters, and refused input.
#include "EscherFixture.h"

using namespace esc;

namespace {

// A drawing of one unknown atom whose body makes the Escher data n bytes long.
QByteArray DrawingOfSize(int n) { return Box(0xF002, Atom(0, 0xF0AA, QByteArray(n - 16, 'x'))); }

} // namespace

TEST(Drawing, CommentShapeIsWrittenAroundItsObjAndTxoAndLoadsBackTheSameTree)
{
    TDrawingGroup g;
    CommentDrawing c;
    const QByteArray bytes = c.Bytes();
    Stream s(bytes + Record(0x000A, QByteArray()));
    TDrawing d(&g);
    LoadDrawing(d, s);
    EXPECT_EQ(s.Header.Id, 0x000A) << "the drawing takes exactly its records";

    TEscherDwgCache *idx = d.RecordCache();
    EXPECT_EQ(idx->MaxObjId, 2);
    ASSERT_NE(idx->Dg, nullptr);
    EXPECT_EQ(idx->Dg->DgId(), 1u);
    ASSERT_NE(idx->Patriarch, nullptr);
    EXPECT_EQ(idx->Patriarch->ContainedRecords()->Count(), 3);
    EXPECT_EQ(idx->Shape->Count(), 3);
    EXPECT_EQ(idx->Anchor->Count(), 2);
    ASSERT_EQ(idx->Obj->Count(), 3);
    auto *box = dynamic_cast<TEscherClientTextBoxRecord *>(idx->Obj->Items(1));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Value(), "Hi");
    auto *shape = dynamic_cast<TEscherSpContainerRecord *>(idx->Patriarch->ContainedRecords()->Items(1));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->SP->ShapeId(), 1025u);
    EXPECT_EQ(shape->Row(), 3);
    EXPECT_EQ(shape->Col(), 2);
    // The property table finds the anchor of its shape; the group shape has none.
    EXPECT_EQ(shape->Opt->Row(), 3);
    EXPECT_EQ(shape->Opt->Col(), 2);
    EXPECT_EQ(shape->Opt->GetAnchor().Row2, 7);
    EXPECT_EQ(shape->Opt->GetAnchor().Flag, 3);

    EXPECT_EQ(SavedDrawing(d), bytes);
    EXPECT_EQ(d.TotalSize(), bytes.size());
}

TEST(Drawing, EscherDataIsCutAtTheRecordLimit)
{
    // Read from one oversized record, written in 8224-byte pieces; a header may be cut in two.
    const QByteArray straddle = Box(0xF002, Atom(0, 0xF0AA, QByteArray(8224 - 16 - 3, 'a')) + Atom(0, 0xF0AB, B({1, 2})));
    struct Case
    {
        QByteArray Escher;
        int Records;
    };
    for (const Case &k : {Case{DrawingOfSize(8224), 1}, Case{DrawingOfSize(8225), 2}, Case{straddle, 2},
                          Case{DrawingOfSize(3 * 8224 + 5), 4}}) {
        TDrawingGroup g;
        TDrawing d(&g);
        Stream s(Record(0xEC, k.Escher));
        LoadDrawing(d, s);
        const QByteArray written = SavedDrawing(d);
        const QByteArray expected = Split(k.Escher);
        EXPECT_EQ(written, expected) << k.Escher.size();
        EXPECT_EQ(d.TotalSize(), expected.size());
        int records = 0;
        for (qsizetype at = 0; at < written.size(); at += 4 + GetWord(reinterpret_cast<const uint8_t *>(written.data()), int(at + 2)))
            ++records;
        EXPECT_EQ(records, k.Records);
    }
    // 8225 bytes: the CONTINUE record holds the last byte; the straddling header is split 3 + 5.
    const QByteArray w = Split(DrawingOfSize(8225));
    EXPECT_EQ(w.mid(4 + 8224, 4), Header(0x3C, 1));
    const QByteArray sw = Split(straddle);
    EXPECT_EQ(sw.mid(4 + 8224, 4), Header(0x3C, 5 + 2));
    EXPECT_EQ(sw.mid(4 + 8221, 3), B({0x00, 0x00, 0xAB}));
}

TEST(Drawing, ClientDataSplitsTheStreamAndCountsInTheSize)
{
    // The comment's records cross the limit: the ClientData header straddles it.
    TDrawingGroup g;
    CommentDrawing c;
    const int pad = 8220 - int(c.CutNote()); // the ClientData header gets 4 bytes on each side
    c.CommentHead.prepend(Atom(0, 0xF0AA, QByteArray(pad, 'p')));
    c.Escher = Box(0xF002, Atom(0x10, 0xF008, Le32(3) + Le32(1026))
                               + Box(0xF003, c.GroupShape + Box(0xF004, c.CommentHead + c.TextBox) + Box(0xF004, c.PictureHead)));
    const qsizetype a = c.CutNote();
    ASSERT_GT(a, 8224);
    ASSERT_LT(a - 8, 8224);
    const QByteArray expected = Split(c.Escher.left(a)) + Record(0x5D, NoteObj(1)) + Record(0xEC, c.Escher.mid(a, 8))
                                + TxoRecords("Hi") + Record(0xEC, c.Escher.mid(a + 8)) + Record(0x5D, PictureObj(2));
    Stream s(Record(0xEC, c.Escher.left(a)) + Record(0x5D, NoteObj(1)) + Record(0xEC, c.Escher.mid(a, 8)) + TxoRecords("Hi")
             + Record(0xEC, c.Escher.mid(a + 8)) + Record(0x5D, PictureObj(2)));
    TDrawing d(&g);
    LoadDrawing(d, s);
    EXPECT_EQ(SavedDrawing(d), expected);
    EXPECT_EQ(d.TotalSize(), expected.size());
}

TEST(Drawing, EscherDataGoesOnInContinueRecordsAfterAnObj)
{
    // The picture shape's Escher bytes follow the comment's TXO in CONTINUE records, and a body
    // runs on from one MSODRAWING record into the next.
    TDrawingGroup g;
    CommentDrawing c;
    const qsizetype a = c.CutNote(), b = a + 8;
    const QByteArray picture = c.Escher.mid(b);
    const QByteArray input = Record(0xEC, c.Escher.left(a - 20)) + Record(0xEC, c.Escher.mid(a - 20, 20))
                             + Record(0x5D, NoteObj(1)) + Record(0xEC, c.Escher.mid(a, 8)) + TxoRecords("Hi")
                             + Record(0x3C, picture.left(10)) + Record(0x3C, picture.mid(10))
                             + Record(0x5D, PictureObj(2));
    Stream s(input);
    TDrawing d(&g);
    LoadDrawing(d, s);
    EXPECT_EQ(SavedDrawing(d), c.Bytes());
}

TEST(Drawing, LoadedAndWrittenAgainByteForByte)
{
    // What the engine wrote loads back into a tree that writes the same bytes.
    TDrawingGroup g;
    TDrawing d(&g);
    Stream s(CommentDrawing().Bytes());
    LoadDrawing(d, s);
    const QByteArray once = SavedDrawing(d);
    TDrawingGroup g2;
    TDrawing d2(&g2);
    Stream s2(once);
    LoadDrawing(d2, s2);
    EXPECT_EQ(SavedDrawing(d2), once);
}

TEST(Drawing, RefusedInput)
{
    CommentDrawing c;
    const qsizetype a = c.CutNote();
    const QByteArray invalid = "Error reading Excel records. File invalid";
    const QByteArray escherErr = "Error loading Escher record";
    // Keeps the stream longer than the drawing claims, where the drawing is not cut short.
    const QByteArray pad = Record(0x0862, QByteArray(600, 0));
    QByteArray deep;
    for (int i = 0; i < 200; ++i)
        deep = Box(0xF0F0, deep);
    struct Case
    {
        const char *What;
        QByteArray Input;
        QString Message;
    };
    const Case cases[] = {
        {"second Dg", Record(0xEC, Box(0xF002, Atom(0x10, 0xF008, QByteArray(8, 0)) + Atom(0x20, 0xF008, QByteArray(8, 0)))),
         "Error loading Escher record. Duplicated Dg"},
        {"second solver", Record(0xEC, Box(0xF002, Box(0xF005, {}) + Box(0xF005, {}))),
         "Error loading Escher record. Duplicated Solver container"},
        {"align rule", Record(0xEC, Box(0xF002, Box(0xF005, Atom(0, 0xF013, QByteArray(12, 0))))),
         "This file has a not implemented kind of record: Align Rule"},
        {"no OBJ after ClientData", Record(0xEC, c.Escher.left(a)) + Record(0x0862, B({1, 2})) + pad,
         "The file has an usupported drawing record"},
        {"TXO where the OBJ belongs", Record(0xEC, c.Escher.left(a)) + TxoRecords("x") + pad,
         "The file has an usupported drawing record"},
        {"Escher bytes after a ClientData", Record(0xEC, c.Escher.left(a + 8)) + Record(0x5D, NoteObj(1)) + pad, invalid},
        {"other record inside the stream", Record(0xEC, c.Escher.left(40)) + Record(0x0862, B({1})) + pad, invalid},
        {"stream ends inside", Record(0xEC, c.Escher.left(40)) + pad, invalid},
        {"stream shorter than the drawing", Record(0xEC, c.Escher.left(40)), escherErr},
        {"child longer than its container", Record(0xEC, Box(0xF002, Hdr(0, 0xF0AA, 100) + QByteArray(4, 0))), escherErr},
        {"huge child", Record(0xEC, Box(0xF002, Hdr(0, 0xF0AA, 0xFFFFFFF0u))), escherErr},
        {"root longer than the stream", Record(0xEC, Hdr(0xF, 0xF002, 0x7FFFFFFF) + Atom(0, 0xF0AA, {})), escherErr},
        {"root is no container", Record(0xEC, Atom(0x10, 0xF008, QByteArray(8, 0))), escherErr},
        {"deep nesting", Record(0xEC, Box(0xF002, deep)), escherErr},
        {"Dg too short for its fields", Record(0xEC, Box(0xF002, Atom(0x10, 0xF008, QByteArray(4, 0)))), escherErr},
        {"anchor too short", Record(0xEC, Box(0xF002, Atom(0, 0xF010, QByteArray(8, 0)))), escherErr},
    };
    for (const Case &k : cases) {
        TDrawingGroup g;
        TDrawing d(&g);
        Stream s(k.Input);
        EXPECT_EQ(MessageOf([&] { LoadDrawing(d, s); }), k.Message) << k.What;
    }

    // A second tree into the same drawing, and a drawing without its group.
    TDrawingGroup g;
    TDrawing d(&g);
    Stream s(CommentDrawing().Bytes() + CommentDrawing().Bytes());
    LoadDrawing(d, s);
    EXPECT_EQ(MessageOf([&] { LoadDrawing(d, s); }), invalid);
    TDrawing orphan(nullptr);
    Stream s2(CommentDrawing().Bytes());
    EXPECT_EQ(MessageOf([&] { LoadDrawing(orphan, s2); }), "DrawingGroup can't be nil");
}

TEST(Drawing, CutAtEveryByteFailsWithTheReadersMessages)
{
    const QByteArray bytes = CommentDrawing().Bytes();
    const QStringList allowed = {"Error reading Excel records. File invalid", "Error reading record",
                                 "Error loading Escher record", "The file has an usupported drawing record",
                                 "End of stream reached with %1 bytes left to read"};
    for (qsizetype n = 4; n < bytes.size(); ++n) {
        TDrawingGroup g;
        TDrawing d(&g);
        Stream s(bytes.left(n));
        const QString m = MessageOf([&] { LoadDrawing(d, s); });
        bool ok = false;
        for (const QString &a : allowed)
            ok = ok || m == a || (a.contains("%1") && m.startsWith("End of stream reached"));
        EXPECT_TRUE(ok) << n << " " << m.toStdString();
    }
}

TEST(Drawing, WritingAnIncompleteTreeFails)
{
    TDrawingGroup g;
    TEscherDwgCache idx;
    std::unique_ptr<TEscherContainerRecord> root(static_cast<TEscherContainerRecord *>(
        CreateEscherRecord(TEscherRecordHeader{0xF, 0xF002, 16}, nullptr, &idx, g.RecordCache())));
    EXPECT_EQ(MessageOf([&] { Written([&](TOle2File &f) { SaveEscherTree(root.get(), &f, 0xEC); }); }),
              "Escher record is not fully loaded");
}

TEST(DrawingGroup, NewGroupHasItsDefaultRecords)
{
    TDrawingGroup g;
    EXPECT_EQ(g.TotalSize(), 0);
    g.EnsureDwgGroup();
    g.EnsureDwgGroup(); // nothing twice
    const QByteArray children = Atom(0, 0xF006, Le32(2) + Le32(1) + Le32(0) + Le32(0)) + Hdr(0x2F, 0xF001, 0)
                                + Atom(0x33, 0xF00B, Hex("BF 00 08 00 08 00 81 01 09 00 00 08 C0 01 40 00 00 08"))
                                + Atom(0x40, 0xF11E, Hex("0D 00 00 08 0C 00 00 08 17 00 00 08 F7 00 00 10"));
    const QByteArray expected = Record(0xEB, Hdr(0xF, 0xF000, 82) + children);
    EXPECT_EQ(Written([&](TOle2File &f) { g.SaveToStream(&f); }), expected);
    EXPECT_EQ(g.TotalSize(), expected.size());
    ASSERT_NE(g.RecordCache()->Dgg, nullptr);
    ASSERT_NE(g.RecordCache()->BStore, nullptr);
}

TEST(DrawingGroup, LoadsAcrossContinueRecordsAndRefusesDuplicates)
{
    const QByteArray escher =
        Box(0xF000, Atom(0, 0xF006, Le32(2) + Le32(1) + Le32(0) + Le32(0)) + Box(0xF001, Atom(0x52, 0xF007, QByteArray(9000, 'z'))),
            0);
    const QByteArray bytes = Split(escher, 0xEB);
    TDrawingGroup g;
    Stream s(bytes);
    LoadGroup(g, s);
    EXPECT_NE(g.RecordCache()->Dgg, nullptr);
    EXPECT_EQ(Written([&](TOle2File &f) { g.SaveToStream(&f); }), bytes);
    EXPECT_EQ(g.TotalSize(), bytes.size());
    // The same group from records of the drawing group id only.
    Stream again(Record(0xEB, escher.left(50)) + Record(0xEB, escher.mid(50)));
    TDrawingGroup g2;
    LoadGroup(g2, again);
    EXPECT_EQ(Written([&](TOle2File &f) { g2.SaveToStream(&f); }), bytes);

    const QByteArray dgg = Atom(0, 0xF006, QByteArray(16, 0));
    struct Case
    {
        QByteArray Input;
        QString Message;
    };
    const Case cases[] = {
        {Record(0xEB, Box(0xF000, dgg + dgg)), "Error loading Escher record. Duplicated Dgg"},
        {Record(0xEB, Box(0xF000, Box(0xF001, {}) + Box(0xF001, {}))), "Error loading Escher record. Duplicated BStore"},
        {Record(0xEB, Box(0xF000, Atom(0, 0xF011, {}) + dgg)), "Error reading Excel records. File invalid"},
        {Record(0xEB, escher.left(50)) + Record(0xEC, escher.mid(50)), "Error reading Excel records. File invalid"},
    };
    for (const Case &k : cases) {
        TDrawingGroup bad;
        Stream sb(k.Input);
        EXPECT_EQ(MessageOf([&] { LoadGroup(bad, sb); }), k.Message);
    }
    Stream twice(bytes);
    EXPECT_EQ(MessageOf([&] { LoadGroup(g, twice); }), "Error reading Excel records. File invalid");
}

TEST(DrawingIds, FirstDrawingAndShapesOfANewGroup)
{
    TDrawingGroup g;
    g.EnsureDwgGroup();
    TEscherDggRecord *dgg = g.RecordCache()->Dgg;
    uint32_t dgId = 0, first = 0;
    dgg->GetNewDgIdAndCluster(dgId, first);
    EXPECT_EQ(dgId, 1u);
    EXPECT_EQ(first, 1024u);
    TEscherDwgCache idx;
    std::unique_ptr<TEscherDgRecord> dg(TEscherDgRecord::CreateFromData(0, nullptr, &idx, g.RecordCache(), first, dgId));
    EXPECT_EQ(dg->Pre, 0x10);
    EXPECT_EQ(dg->IncMaxShapeId(), 1024);
    EXPECT_EQ(dg->IncMaxShapeId(), 1025);
    EXPECT_EQ(dg->Dg().ShapeCount(), 2u);
    EXPECT_EQ(dg->Dg().MaxSpId(), 1025u);
    // Dgg: MaxShapeId 1026, one cluster + 1, two shapes, one drawing; cluster (1, 2).
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(dgg->Data), dgg->TotalDataSize),
              Le32(1026) + Le32(2) + Le32(2) + Le32(1) + Le32(1) + Le32(2));

    // The 1025th shape opens a new cluster after the drawing's own.
    for (int i = 2; i < 1024; ++i)
        dg->IncMaxShapeId();
    EXPECT_EQ(dg->IncMaxShapeId(), 2048);
    EXPECT_EQ(dgg->ClusterCount(), 2);
    EXPECT_EQ(dgg->ClusterDgId(1), 1u);
    EXPECT_EQ(dgg->ClusterUsed(1), 1u);
    EXPECT_EQ(dgg->FDgg().FIDclCount(), 3u);
    EXPECT_EQ(dgg->FDgg().MaxShapeId(), 2049u);
}

TEST(DrawingIds, FreedClustersKeepTheirCountsAndAreReused)
{
    TDrawingGroup g;
    g.EnsureDwgGroup();
    TEscherDggRecord *dgg = g.RecordCache()->Dgg;
    uint32_t id1 = 0, id2 = 0, id3 = 0, f1 = 0, f2 = 0, f3 = 0;
    dgg->GetNewDgIdAndCluster(id1, f1);
    dgg->GetNewDgIdAndCluster(id2, f2);
    EXPECT_EQ(id2, 2u);
    EXPECT_EQ(f2, 2048u);
    dgg->AddImage(id2, f2 + 1);
    dgg->AddImage(id2, f2 + 1);
    {
        // Freeing drawing 2 (its Dg goes) frees its cluster but keeps the count.
        TEscherDwgCache idx;
        std::unique_ptr<TEscherDgRecord> dg(TEscherDgRecord::CreateFromData(0, nullptr, &idx, g.RecordCache(), f2, id2));
    }
    EXPECT_EQ(dgg->ClusterDgId(1), 0u);
    EXPECT_EQ(dgg->ClusterUsed(1), 2u);
    EXPECT_EQ(dgg->FDgg().DwgSaved(), 1u);
    // A new drawing takes the free cluster with its count reset, and an id above those in use.
    dgg->GetNewDgIdAndCluster(id3, f3);
    EXPECT_EQ(id3, 2u);
    EXPECT_EQ(f3, 2048u);
    EXPECT_EQ(dgg->ClusterUsed(1), 0u);
    EXPECT_EQ(dgg->ClusterCount(), 2);

    // Drawing 1 grows into the free cluster that lies after its own.
    dgg->DestroyClusters(id3);
    for (int i = 0; i < 1024; ++i)
        dgg->AddImage(id1, f1 + 1);
    EXPECT_EQ(dgg->AddImage(id1, f1 + 1023), 2048);
    EXPECT_EQ(dgg->ClusterDgId(1), 1u);
    EXPECT_EQ(dgg->ClusterUsed(1), 1u);
}

TEST(DrawingIds, CopiedDgGetsANewDrawingAndItsShapesNewIds)
{
    TDrawingGroup g;
    GroupWithDrawing1(g, 3);
    TDrawing d(&g);
    Stream s(CommentDrawing().Bytes());
    LoadDrawing(d, s);

    TEscherDwgCache other;
    TEscherContainerRecord *root = d.DgContainer();
    root->ClearCopiedTo();
    std::unique_ptr<TEscherRecord> copy(root->CopyTo(&other, 0, nullptr, 0));
    ASSERT_NE(other.Dg, nullptr);
    EXPECT_EQ(other.Dg->DgId(), 2u);
    // Each Sp copy takes the next id of the new drawing's cluster, and is counted there.
    EXPECT_EQ(other.Dg->Dg().ShapeCount(), 3u);
    EXPECT_EQ(other.Dg->Dg().MaxSpId(), 2050u);
    EXPECT_EQ(d.RecordCache()->Dg->DgId(), 1u) << "the source is left as it was";
    EXPECT_EQ(d.RecordCache()->Dg->Dg().MaxSpId(), 1026u);
    ASSERT_NE(other.Patriarch, nullptr);
    EXPECT_EQ(other.MaxObjId, 2) << "copies keep their ids and the next object goes above them";
}
