// Pictures of a sheet drawing and the workbook's picture store: entries shared by digest and
// counted, pictures read back, written and loaded again, and broken picture data refused.
#include "EscherFixture.h"

#include "xlsAdapter/drawing/duzUXlsMD5.h"

using namespace esc;

namespace {

const QByteArray Jpeg1("\xFF\xD8" "first picture" "\xFF\xD9", 17);
const QByteArray Jpeg2("\xFF\xD8" "other picture" "\xFF\xD9", 17); // same size, other bytes
const QByteArray Png1("\x89PNG\r\n\x1A\n-png-", 14);

TImageProperties At(int row1, int col1, int row2, int col2, const QString &name = QString())
{
    TImageProperties p;
    p.Row1 = row1;
    p.Col1 = col1;
    p.Row2 = row2;
    p.Col2 = col2;
    p.dx1 = 100;
    p.dy2 = 50;
    p.FileName = name;
    return p;
}

struct Book
{
    TDrawingGroup g;
    TDrawing d{&g};
    Book() { g.EnsureDwgGroup(); }
    TEscherRecordList *Store() { return g.RecordCache()->BStore->ContainedRecords(); }
    TEscherBSERecord *Entry(int i) { return static_cast<TEscherBSERecord *>(Store()->Items(i)); }
    void Add(const QByteArray &pic, TXlsImgTypes kind = xli_Jpeg, const QString &name = QString(), int row = 1)
    {
        d.AddImage(pic, kind, nullptr, at_MoveAndResize, At(row, 1, row + 2, 3, name));
    }
    QByteArray Picture(int i, TXlsImgTypes &kind)
    {
        TMemoryStream m;
        d.GetDrawingFromStream(i, &m, kind);
        return m.Bytes();
    }
};

QByteArray BodyOf(const TEscherDataRecord *r)
{
    return QByteArray(reinterpret_cast<const char *>(r->Data), r->TotalDataSize);
}

} // namespace

TEST(Pictures, FirstPictureBuildsTheDrawingAndItsStoreEntry)
{
    Book b;
    b.Add(Jpeg1, xli_Jpeg, "pic.jpg");
    TEscherDwgCache *idx = b.d.RecordCache();
    ASSERT_NE(idx->Dg, nullptr);
    EXPECT_EQ(idx->Dg->DgId(), 1u);
    EXPECT_EQ(b.g.RecordCache()->Dgg->FDgg().MaxShapeId(), 1026u);
    // Drawing container: Dg, then the patriarch with the group shape and the picture.
    TEscherRecordList *top = b.d.DgContainer()->ContainedRecords();
    ASSERT_EQ(top->Count(), 2);
    EXPECT_EQ(top->Items(0), idx->Dg);
    EXPECT_EQ(top->Items(1), idx->Patriarch);
    ASSERT_EQ(idx->Patriarch->ContainedRecords()->Count(), 2);
    auto *group = static_cast<TEscherSpContainerRecord *>(idx->Patriarch->ContainedRecords()->Items(0));
    auto *pic = static_cast<TEscherSpContainerRecord *>(idx->Patriarch->ContainedRecords()->Items(1));
    EXPECT_EQ(group->SP->ShapeId(), 1024u);
    EXPECT_EQ(group->SP->Pre, 0x0002);
    EXPECT_EQ(BodyOf(group->SP), Le32(1024) + Le32(5));
    EXPECT_EQ(pic->SP->Pre, 0x04B2);
    EXPECT_EQ(BodyOf(pic->SP), Le32(1025) + Le32(0xA00));
    EXPECT_EQ(BodyOf(pic->ClientAnchor), Le16(0) + Le16(1) + Le16(100) + Le16(1) + Le16(0) + Le16(3) + Le16(0)
                                             + Le16(3) + Le16(50));
    // Image properties: picture 1, name length 2 * 7 + 2, the two fixed properties, the name.
    EXPECT_EQ(pic->Opt->Pre, 0x0043);
    EXPECT_EQ(BodyOf(pic->Opt), Hex("04 41 01 00 00 00 05 C1 10 00 00 00 BF 01 00 00 01 00 BF 03 00 00 08 00")
                                    + QByteArray("p\0i\0c\0.\0j\0p\0g\0\0\0", 16));
    EXPECT_EQ(b.d.GetDrawingName(0), "pic.jpg");
    EXPECT_EQ(b.d.GetDrawingRow(0), 1);
    auto *obj = dynamic_cast<DUzObj *>(b.d.RecordCache()->Obj->Items(0)->ClientData());
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->Id(), 1);
    EXPECT_EQ(obj->FObjRecord->DataSize, 38);

    // The entry: head, blip header, digest, tag, bytes.
    ASSERT_EQ(b.Store()->Count(), 1);
    TEscherBSERecord *e = b.Entry(0);
    EXPECT_EQ(e->Pre, 5 * 16 + 2);
    const QByteArray digest = Hex("88f29fdba251b267d6a97fb2e5d6e44d");
    EXPECT_EQ(BodyOf(e), Hex("05 04") + digest + Hex("FF 00") + Le32(8 + 17 + 17) + Le32(1) + Le32(0) + Le32(0)
                             + Le16(0x46A0) + Le16(0xF01D) + Le32(17 + 17) + digest + Hex("FF") + Jpeg1);
    TXlsImgTypes kind = xli_Unknown;
    EXPECT_EQ(b.Picture(0, kind), Jpeg1);
    EXPECT_EQ(kind, xli_Jpeg);
}

TEST(Pictures, StoreEntriesAreSharedByDigestAndCounted)
{
    Book b;
    b.Add(Jpeg1);
    b.Add(Jpeg1);
    ASSERT_EQ(b.Store()->Count(), 1);
    EXPECT_EQ(b.Entry(0)->References(), 2u);
    b.Add(Jpeg2); // the same size: told apart by the digest
    ASSERT_EQ(b.Store()->Count(), 2);
    EXPECT_EQ(b.d.DrawingCount(), 3);

    // Identical bytes keep entry and count; other bytes move the reference.
    b.d.AssignDrawing(2, Jpeg2, xli_Jpeg);
    EXPECT_EQ(b.Store()->Count(), 2);
    b.d.AssignDrawing(2, Png1, xli_Png);
    ASSERT_EQ(b.Store()->Count(), 2) << "the entry of Jpeg2 lost its only reference";
    TXlsImgTypes kind = xli_Unknown;
    EXPECT_EQ(b.Picture(2, kind), Png1);
    EXPECT_EQ(kind, xli_Png);

    b.d.DeleteImage(0);
    EXPECT_EQ(b.d.DrawingCount(), 2);
    TXlsImgTypes k1 = xli_Unknown;
    ASSERT_EQ(b.Picture(0, k1), Jpeg1);
    const int jpegAt = b.Entry(0)->TotalDataSize == 44 + 17 + 17 ? 0 : 1;
    EXPECT_EQ(b.Entry(jpegAt)->References(), 1u);
    b.d.DeleteImage(0);
    ASSERT_EQ(b.Store()->Count(), 1);
    EXPECT_EQ(b.Picture(0, kind), Png1);
    EXPECT_EQ(b.Entry(0)->References(), 1u);
    // Deleting gives back the shape count of the drawing.
    EXPECT_EQ(b.d.RecordCache()->Dg->Dg().ShapeCount(), 2u);
}

TEST(Pictures, ClearedPicturesShareTheEmptyBitmapWhichReadsBackAsABitmapFile)
{
    Book b;
    b.Add(Jpeg1);
    b.Add(Png1);
    b.d.ClearImage(0);
    b.d.AssignDrawing(1, QByteArray(), xli_Png);
    ASSERT_EQ(b.Store()->Count(), 1);
    EXPECT_EQ(b.Entry(0)->References(), 2u);
    EXPECT_EQ(b.Entry(0)->Pre, 7 * 16 + 2);
    const QByteArray bmp = Hex("28 00 00 00 01 00 00 00 01 00 00 00 01 00 01 00 00 00 00 00 00 00 00 00 12 0B 00 00 "
                               "12 0B 00 00 00 00 00 00 00 00 00 00 FF FF FF 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(EmptyBmp(), bmp);
    TXlsImgTypes kind = xli_Unknown;
    EXPECT_EQ(b.Picture(1, kind), QByteArray("BM") + QByteArray(12, 0) + bmp);
    EXPECT_EQ(kind, xli_Bmp);
    // A picture added without data is the empty bitmap too.
    b.Add(QByteArray(), xli_Jpeg);
    EXPECT_EQ(b.Entry(0)->References(), 3u);
}

TEST(Pictures, KindsTheStoreDoesNotKeepAddNothing)
{
    for (TXlsImgTypes kind : {xli_Wmf, xli_Emf, xli_Unknown}) {
        Book b;
        EXPECT_EQ(MessageOf([&] { b.Add(Jpeg1, kind); }), "To insert WMF files you need to instal TPngImage");
        EXPECT_EQ(b.Store()->Count(), 0);
        EXPECT_EQ(b.d.DgContainer(), nullptr);
        EXPECT_EQ(b.g.RecordCache()->Dgg->FDgg().DwgSaved(), 0u);
        b.Add(Png1);
        EXPECT_EQ(MessageOf([&] { b.d.AssignDrawing(0, Jpeg1, kind); }),
                  "To insert WMF files you need to instal TPngImage");
        EXPECT_EQ(b.Store()->Count(), 1);
        EXPECT_EQ(b.Entry(0)->References(), 1u);
    }
    // Without a drawing group there is no store.
    TDrawingGroup g;
    TDrawing d(&g);
    EXPECT_EQ(MessageOf([&] { d.AddImage(Jpeg1, xli_Jpeg, nullptr, at_MoveAndResize, At(0, 0, 1, 1)); }),
              "BStore can't be nil");
}

TEST(Pictures, IndexesOutOfRangeAndShapesWithoutOnePictureAreRefused)
{
    Book b;
    EXPECT_EQ(b.d.DrawingCount(), 0);
    b.d.DeleteImage(0); // no picture cache yet: nothing
    b.Add(Jpeg1);
    TXlsImgTypes kind;
    TMemoryStream m;
    for (int i : {-1, 1}) {
        EXPECT_EQ(MessageOf([&] { b.d.GetDrawingName(i); }), "Index out of range");
        EXPECT_EQ(MessageOf([&] { b.d.GetDrawingFromStream(i, &m, kind); }), "Index out of range");
        EXPECT_EQ(MessageOf([&] { b.d.GetAnchor(i); }), "Index out of range");
        EXPECT_EQ(MessageOf([&] { b.d.DeleteImage(i); }), "Index out of range");
    }
    TEscherDwgCache *idx = b.d.RecordCache();
    auto *opt = CreateEscherFromData<TEscherOPTRecord>(0x0013, MsofbtOPT, reinterpret_cast<const uint8_t *>("\x80\0\0\0\0\0"),
                                                       6, nullptr, idx, b.g.RecordCache());
    std::unique_ptr<TEscherOPTRecord> guard(opt);
    EXPECT_EQ(MessageOf([&] { opt->ReplaceImg(Jpeg2, xli_Jpeg); }), "Error processing Escher record");
    EXPECT_EQ(MessageOf([&] { opt->GetImageFromStream(&m, kind); }), "Error processing Escher record");
    EXPECT_EQ(b.Store()->Count(), 1) << "a refused replacement leaves no entry behind";

    TEscherBStoreRecord *store = b.g.RecordCache()->BStore;
    for (int pos : {0, 2})
        EXPECT_EQ(MessageOf([&] { store->AddRef(pos); }), "Error reading Excel records. File invalid");
    store->AddRef(1);
    EXPECT_EQ(b.Entry(0)->References(), 2u);
    store->Release(1);
    EXPECT_EQ(b.Entry(0)->References(), 1u);
    uint8_t head[BseHeadSize] = {};
    EXPECT_EQ(MessageOf([&] { b.Entry(0)->CopyFromData(head, TEscherRecordHeader{0, 0xF01D, 3}, "abc"); }),
              "Tarvix: Logical Error");
}

TEST(Pictures, CopiedShapesShareTheirEntry)
{
    Book b;
    b.Add(Jpeg1);
    TEscherOPTRecord *opt = b.d.RecordCache()->Blip->Items(0);
    b.d.DgContainer()->ClearCopiedTo();
    auto *copy = static_cast<TEscherOPTRecord *>(opt->CopyDwg(5, 0, nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(b.d.DrawingCount(), 2);
    EXPECT_EQ(b.Entry(0)->References(), 2u);
    EXPECT_EQ(b.d.GetDrawingRow(1), 6);
    b.d.DeleteImage(0);
    EXPECT_EQ(b.Entry(0)->References(), 1u);
    TXlsImgTypes kind;
    EXPECT_EQ(b.Picture(0, kind), Jpeg1);
}

TEST(Pictures, WrittenPicturesLoadBackWithTheirBytesKindsNamesAndAnchors)
{
    Book b;
    b.Add(Png1, xli_Png, QString::fromUtf8("Bild \xC3\xA4"), 9);
    b.Add(Jpeg1, xli_Jpeg, "first", 2);
    b.Add(Png1, xli_Png, "again", 4);
    TClientAnchor moved = b.d.GetAnchor(1);
    moved.Row1 = 20;
    moved.Row2 = 22;
    b.d.SetAnchor(1, moved, nullptr);
    const QByteArray bytes = Written([&](TOle2File &f) {
        b.g.SaveToStream(&f);
        b.d.SaveToStream(&f);
    });

    TDrawingGroup g2;
    TDrawing d2(&g2);
    Stream s(bytes + Record(0x000A, QByteArray()));
    LoadGroup(g2, s);
    LoadDrawing(d2, s);
    ASSERT_EQ(d2.DrawingCount(), 3);
    // The order of the pictures is the order they were added in, not their rows.
    const struct
    {
        QByteArray Bytes;
        TXlsImgTypes Kind;
        QString Name;
        int Row;
    } expect[] = {{Png1, xli_Png, QString::fromUtf8("Bild \xC3\xA4"), 9}, {Jpeg1, xli_Jpeg, "first", 20},
                  {Png1, xli_Png, "again", 4}};
    for (int i = 0; i < 3; ++i) {
        TMemoryStream m;
        TXlsImgTypes kind = xli_Unknown;
        d2.GetDrawingFromStream(i, &m, kind);
        EXPECT_EQ(m.Bytes(), expect[i].Bytes) << i;
        EXPECT_EQ(kind, expect[i].Kind) << i;
        EXPECT_EQ(d2.GetDrawingName(i), expect[i].Name) << i;
        EXPECT_EQ(d2.GetDrawingRow(i), expect[i].Row) << i;
        const TClientAnchor a = d2.GetAnchor(i), w = b.d.GetAnchor(i);
        EXPECT_EQ(std::tie(a.Flag, a.Col1, a.Dx1, a.Row1, a.Dy1, a.Col2, a.Dx2, a.Row2, a.Dy2),
                  std::tie(w.Flag, w.Col1, w.Dx1, w.Row1, w.Dy1, w.Col2, w.Dx2, w.Row2, w.Dy2));
    }
    ASSERT_EQ(g2.RecordCache()->BStore->ContainedRecords()->Count(), 2);
    // Loaded counts go on counting: deleting a shared picture keeps the entry.
    d2.DeleteImage(0);
    EXPECT_EQ(g2.RecordCache()->BStore->ContainedRecords()->Count(), 2);
    d2.DeleteImage(1);
    EXPECT_EQ(g2.RecordCache()->BStore->ContainedRecords()->Count(), 1);
    // Written again, the unchanged original gives the same bytes.
    EXPECT_EQ(Written([&](TOle2File &f) {
                  b.g.SaveToStream(&f);
                  b.d.SaveToStream(&f);
              }),
              bytes);
}

TEST(Pictures, BrokenPictureDataFromAFileIsRefused)
{
    // A group whose store holds one JPEG entry, and a drawing whose picture shape has the property
    // table given.
    Book src;
    src.Add(Jpeg1);
    const QByteArray group = Written([&](TOle2File &f) { src.g.SaveToStream(&f); });
    const auto drawingWith = [](const QByteArray &opt, int instance) {
        const QByteArray shape =
            Box(0xF004, Atom(0x4B2, 0xF00A, Le32(1025) + Le32(0xA00)) + Atom((instance << 4) | 3, 0xF00B, opt));
        return Record(0xEC, Box(0xF002, Atom(0x10, 0xF008, Le32(2) + Le32(1025))
                                            + Box(0xF003, Box(0xF004, Atom(0x2, 0xF00A, Le32(1024) + Le32(5))) + shape)));
    };
    const QByteArray name = Le16(0xC380) + Le32(6) + QByteArray("a\0b\0\0\0", 6);
    struct Case
    {
        const char *What;
        QByteArray Opt;
        int Instance;
        const char *Message;
    } cases[] = {
        {"picture 1 of 1", Le16(0x4104) + Le32(1), 1, nullptr},
        {"picture 2 of 1", Le16(0x4104) + Le32(2), 1, "Error loading Escher record"},
        {"picture 0", Le16(0x4104) + Le32(0), 1, "Error loading Escher record"},
        {"two properties in 6 bytes", Le16(0x4104) + Le32(1), 2, "Error loading Escher record"},
        {"name inside", name, 1, nullptr},
        {"name past the record", name.left(9), 1, "Error loading Escher record"},
        {"name after a complex property", Le16(0x8181) + Le32(0x7FFFFFF0) + name.left(6), 2,
         "Error loading Escher record"},
    };
    for (const Case &c : cases) {
        TDrawingGroup g;
        TDrawing d(&g);
        Stream s(group + drawingWith(c.Opt, c.Instance));
        LoadGroup(g, s);
        if (!c.Message) {
            LoadDrawing(d, s);
            continue;
        }
        EXPECT_EQ(MessageOf([&] { LoadDrawing(d, s); }), QString::fromLatin1(c.Message)) << c.What;
    }
    {
        TDrawingGroup g;
        TDrawing d(&g);
        Stream s(group + drawingWith(name, 1));
        LoadGroup(g, s);
        LoadDrawing(d, s);
        EXPECT_EQ(d.DrawingCount(), 0);
    }

    // Store entries: shorter than their head, or with a blip cut short, give no picture.
    const QByteArray entry = BodyOf(src.Entry(0));
    const auto groupWith = [](const QByteArray &bse) {
        return Record(0xEB, Box(0xF000, Atom(0, 0xF006, Le32(2) + Le32(1) + Le32(0) + Le32(0))
                                            + Box(0xF001, Atom(0x52, 0xF007, bse), 1)));
    };
    {
        TDrawingGroup g;
        Stream s(groupWith(entry.left(30)));
        EXPECT_EQ(MessageOf([&] { LoadGroup(g, s); }), "Error loading Escher record");
    }
    for (const QByteArray &bse : {entry.left(50), entry.left(60)}) {
        TDrawingGroup g;
        TDrawing d(&g);
        Stream s(groupWith(bse) + drawingWith(Le16(0x4104) + Le32(1), 1));
        LoadGroup(g, s);
        LoadDrawing(d, s);
        ASSERT_EQ(d.DrawingCount(), 1);
        TMemoryStream m;
        TXlsImgTypes kind;
        EXPECT_EQ(MessageOf([&] { d.GetDrawingFromStream(0, &m, kind); }), "Error loading Escher record");
        EXPECT_EQ(m.Size(), 0);
    }
}

TEST(Pictures, AnEntryCountedTooLowStaysWhileShapesReferToIt)
{
    // The file counts one reference; two shapes refer to the entry.
    Book src;
    src.Add(Jpeg1);
    const QByteArray group = Written([&](TOle2File &f) { src.g.SaveToStream(&f); });
    const auto shape = [](int id) {
        return Box(0xF004, Atom(0x4B2, 0xF00A, Le32(id) + Le32(0xA00)) + Atom(0x13, 0xF00B, Le16(0x4104) + Le32(1)));
    };
    const QByteArray drawing = Record(
        0xEC, Box(0xF002, Atom(0x10, 0xF008, Le32(3) + Le32(1026))
                              + Box(0xF003, Box(0xF004, Atom(0x2, 0xF00A, Le32(1024) + Le32(5))) + shape(1025) + shape(1026))));
    TDrawingGroup g;
    TDrawing d(&g);
    Stream s(group + drawing);
    LoadGroup(g, s);
    LoadDrawing(d, s);
    ASSERT_EQ(d.DrawingCount(), 2);
    TEscherRecordList *store = g.RecordCache()->BStore->ContainedRecords();
    d.DeleteImage(0);
    ASSERT_EQ(store->Count(), 1);
    TMemoryStream m;
    TXlsImgTypes kind;
    d.GetDrawingFromStream(0, &m, kind);
    EXPECT_EQ(m.Bytes(), Jpeg1);
    d.DeleteImage(0);
    EXPECT_EQ(store->Count(), 0);
}

TEST(Pictures, AStoreOrDggInsideASheetDrawingIsNotTheWorkbooks)
{
    // Written twice, such a drawing loads twice; the group keeps its own store and Dgg.
    Book b;
    b.Add(Jpeg1);
    TEscherBStoreRecord *store = b.g.RecordCache()->BStore;
    TEscherDggRecord *dgg = b.g.RecordCache()->Dgg;
    const QByteArray drawing =
        Record(0xEC, Box(0xF002, Atom(0x20, 0xF008, Le32(0) + Le32(2048)) + Atom(0, 0xF006, QByteArray(16, 0))
                                     + Box(0xF001, QByteArray(), 0)));
    for (int i = 0; i < 2; ++i) {
        TDrawing d(&b.g);
        Stream s(drawing);
        LoadDrawing(d, s);
        EXPECT_EQ(SavedDrawing(d), drawing);
        EXPECT_EQ(b.g.RecordCache()->BStore, store);
        EXPECT_EQ(b.g.RecordCache()->Dgg, dgg);
    }
    EXPECT_EQ(b.Store()->Count(), 1);
}
