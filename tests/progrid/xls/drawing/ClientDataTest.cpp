// OBJ and TXO records behind ClientData and ClientTextbox records: the object templates, the
// subrecord scan, what follows an OBJ, and comment texts.
#include "EscherFixture.h"

using namespace esc;

namespace {

// Loads a client object of class T from the first record of the stream.
template <class T> std::unique_ptr<T> LoadClient(Stream &s)
{
    auto c = std::make_unique<T>();
    c->LoadFromStream(s.file.get(), s.Header, nullptr, LoadRecord(s.file.get(), s.Header));
    return c;
}

QByteArray SavedClient(TBaseClientData &c)
{
    return Written([&](TOle2File &f) { c.SaveToStream(&f); });
}

QByteArray Chain(const TBaseRecord *r)
{
    QByteArray out;
    for (; r; r = r->Continue)
        out += Record(r->Id, DataOf(*r));
    return out;
}

// A TXO record with its text length and runs size, followed by CONTINUE records.
QByteArray Txo(int length, int runsSize, const QList<QByteArray> &continues)
{
    QByteArray txo(18, 0);
    txo[0] = 0x12;
    txo[1] = 0x02;
    txo[10] = char(length & 0xFF);
    txo[11] = char(length >> 8);
    txo[12] = char(runsSize);
    QByteArray out = Record(0x01B6, txo);
    for (const QByteArray &c : continues)
        out += Record(0x3C, c);
    return out;
}

} // namespace

TEST(ObjRecord, TemplatesTakeTheNextObjectId)
{
    struct Case
    {
        DUzObj *(*Make)(uint16_t &);
        const char *Hex;
        bool AutoFilter;
    };
    const Case cases[] = {
        {DUzObj::CreateEmptyImg,
         "15 00 12 00 08 00 05 00 11 60 00 00 00 00 00 00 00 00 00 00 00 00 07 00 02 00 FF FF 08 00 02 00 01 00 00 00 00 00",
         false},
        {DUzObj::CreateEmptyNote,
         "15 00 12 00 19 00 05 00 11 40 00 00 00 00 00 00 00 00 00 00 00 00 0D 00 16 00 00 12 23 8C 6C 50 8B 4D A8 C5 7B "
         "64 FF A8 C5 A3 00 00 10 00 00 00 00 00 00 00",
         false},
        {DUzObj::CreateEmptyAutoFilter,
         "15 00 12 00 14 00 05 00 01 21 00 00 00 00 00 00 00 00 00 00 00 00 0C 00 14 00 00 00 00 00 00 00 00 00 64 00 01 "
         "00 0A 00 00 00 10 00 01 00 13 00 EE 1F 00 00 00 00 04 00 01 03 00 00 02 00 08 00 6C 00 00 00 00 00",
         true},
    };
    for (const Case &k : cases) {
        uint16_t maxId = 4;
        std::unique_ptr<DUzObj> o(k.Make(maxId));
        EXPECT_EQ(maxId, 5);
        EXPECT_EQ(o->Id(), 5);
        EXPECT_EQ(SavedClient(*o), Record(0x5D, Hex(k.Hex)));
        EXPECT_EQ(o->TotalSize(), 4 + Hex(k.Hex).size());
        EXPECT_EQ(o->IsAutoFilter(), k.AutoFilter);
    }
}

TEST(ObjRecord, SubrecordScanStopsWhereTheDataEnds)
{
    // The drop-down's list box claims more bytes than the record holds: loads as it is.
    uint16_t id = 0;
    std::unique_ptr<DUzObj> made(DUzObj::CreateEmptyAutoFilter(id));
    const QByteArray filter = DataOf(*made->FObjRecord);
    Stream s(Record(0x5D, filter) + Record(0x3C, B({7, 7})));
    auto o = LoadClient<DUzObj>(s);
    EXPECT_TRUE(o->IsAutoFilter());
    EXPECT_EQ(o->Id(), 1);
    EXPECT_FALSE(o->HasPictFmla);
    EXPECT_EQ(Chain(o->RemainingData), Record(0x3C, B({7, 7}))) << "what follows the OBJ is Escher data";
    EXPECT_EQ(SavedClient(*o), Record(0x5D, filter));

    // A chain without its end, an OBJ too short for an id, a picture formula.
    struct Case
    {
        QByteArray Obj;
        uint16_t Id;
        bool PictFmla;
    };
    const Case cases[] = {
        {Hex("15 00 12 00 08 00 03 00") + QByteArray(14, 0) + Hex("09 00 02 00 00 00"), 3, true},
        {Hex("15 00 02 00 08 00"), 0, false},
        {Hex("07 00 02 00 FF FF 00 00 00 00"), 0, false},
        {Hex("15 00 12 00 08 00 03 00") + QByteArray(14, 0) + Hex("08 00"), 3, false},
    };
    for (const Case &k : cases) {
        Stream cs(Record(0x5D, k.Obj));
        auto c = LoadClient<DUzObj>(cs);
        EXPECT_EQ(c->Id(), k.Id);
        EXPECT_EQ(c->HasPictFmla, k.PictFmla);
        EXPECT_EQ(c->RemainingData, nullptr);
        EXPECT_EQ(SavedClient(*c), Record(0x5D, k.Obj));
    }
}

TEST(ObjRecord, PictureDataAndEmbeddedChartsTravelWithTheObj)
{
    // IMDATA after a picture OBJ.
    const QByteArray imdata = Record(0x7F, B({1, 2, 3})) + Record(0x3C, B({4}));
    Stream s(Record(0x5D, PictureObj(3)) + imdata + Record(0x0862, B({0})));
    auto o = LoadClient<DUzObj>(s);
    EXPECT_EQ(s.Header.Id, 0x0862);
    EXPECT_EQ(SavedClient(*o), Record(0x5D, PictureObj(3)) + imdata);
    EXPECT_EQ(o->TotalSize(), 4 + 38 + imdata.size());
    std::unique_ptr<TBaseClientData> copy(o->CopyTo());
    EXPECT_EQ(SavedClient(*copy), Record(0x5D, PictureObj(3)) + imdata);

    // A chart OBJ: the substream BOF .. EOF is kept; CONTINUE records after its EOF carry Escher data.
    const QByteArray chartObj = Hex("15 00 12 00 05 00 04 00 11 60") + QByteArray(12, 0) + Hex("00 00 00 00");
    const QByteArray bof = Record(0x0809, Hex("00 06 20 00 00 00 00 00 00 00 00 00 06 00 00 00"));
    const QByteArray body = Record(0x1033, {}) + Record(0x1034, {});
    Stream cs(Record(0x5D, chartObj) + bof + body + Record(0x0A, {}) + Record(0x3C, B({5, 6})));
    auto chart = LoadClient<DUzObj>(cs);
    ASSERT_NE(chart->FChart, nullptr);
    EXPECT_EQ(Chain(chart->RemainingData), Record(0x3C, B({5, 6})));
    const QByteArray expected = Record(0x5D, chartObj) + bof + body + Record(0x0A, {});
    EXPECT_EQ(SavedClient(*chart), expected);
    EXPECT_EQ(chart->TotalSize(), expected.size());

    Stream bad(Record(0x5D, chartObj) + Record(0x0862, B({0})));
    EXPECT_EQ(MessageOf([&] { LoadClient<DUzObj>(bad); }), "Error reading Excel records. File invalid");
    DUzObj empty;
    EXPECT_EQ(MessageOf([&] { SavedClient(empty); }), "Error reading Excel records. File invalid");
    EXPECT_EQ(MessageOf([&] { empty.TotalSize(); }), "Error reading Excel records. File invalid");
}

TEST(TxoText, ReadsTextAndPassesTrailingRecordsOn)
{
    // Length 0: no text, every CONTINUE record is Escher data.
    Stream s0(Txo(0, 16, {B({1, 2}), B({3})}));
    auto t0 = LoadClient<TTXO>(s0);
    EXPECT_EQ(t0->Value(), "");
    EXPECT_EQ(t0->FTXO->Continue, nullptr);
    EXPECT_EQ(Chain(t0->RemainingData), Record(0x3C, B({1, 2})) + Record(0x3C, B({3})));

    // A text that turns 16-bit in its second record, two runs, then Escher data.
    const QByteArray runs(16, 0);
    Stream s1(Txo(5, 16, {B({0, 'a', 'b', 'c'}), B({1, 0x41, 0x01, 'd', 0}), runs, B({9, 9})}));
    auto t1 = LoadClient<TTXO>(s1);
    EXPECT_EQ(t1->Value(), QString("abc") + QChar(0x0141) + "d");
    EXPECT_EQ(Chain(t1->RemainingData), Record(0x3C, B({9, 9})));
    EXPECT_EQ(SavedClient(*t1), Txo(5, 16, {B({0, 'a', 'b', 'c'}), B({1, 0x41, 0x01, 'd', 0}), runs}));

    // No CONTINUE record: no text; a TXO too short for its fields is refused.
    Stream s2(Txo(3, 16, {}));
    EXPECT_EQ(LoadClient<TTXO>(s2)->Value(), "");
    Stream s3(Record(0x01B6, QByteArray(12, 0)));
    EXPECT_EQ(MessageOf([&] { LoadClient<TTXO>(s3); }), "Error reading record");
    Stream s4(Txo(10, 16, {B({0, 'a'})}));
    EXPECT_EQ(MessageOf([&] { LoadClient<TTXO>(s4); }), "Error reading record");
}

TEST(TxoText, WritesEightOrSixteenBitTextAndTwoRuns)
{
    const auto runsFor = [](int n) { return QByteArray(8, 0) + Le16(n) + QByteArray(6, 0); };
    struct Case
    {
        QString Text;
        QByteArray Expected;
    };
    const Case cases[] = {
        {"Hi", Txo(2, 16, {B({0, 'H', 'i'}), runsFor(2)})},
        {QString("a") + QChar(0xFF), Txo(2, 16, {B({0, 'a', 0xFF}), runsFor(2)})},
        {QString("a") + QChar(0x100), Txo(2, 16, {B({1, 'a', 0, 0x00, 0x01}), runsFor(2)})},
        {"", Txo(0, 0, {})},
    };
    for (const Case &k : cases) {
        std::unique_ptr<TTXO> t(TTXO::CreateFromData());
        t->SetValue("old text");
        t->SetValue(k.Text);
        EXPECT_EQ(SavedClient(*t), k.Expected) << k.Text.toStdString();
        EXPECT_EQ(t->TotalSize(), k.Expected.size());
        EXPECT_EQ(t->Value(), k.Text);
    }
}

TEST(TxoText, LongTextsAreSplitOverContinueRecords)
{
    struct Case
    {
        QString Text;
        QList<int> Sizes; // data sizes of the CONTINUE records
    };
    const QString wide = QString(5000, QChar(0x3B1));
    const Case cases[] = {
        {QString(10000, 'x'), {1 + 8223, 1 + 1777, 16}},
        {QString(8223, 'x'), {1 + 8223, 16}},
        {QString(8224, 'x'), {1 + 8223, 1 + 1, 16}},
        {wide, {1 + 8222, 1 + 1778, 16}},
    };
    for (const Case &k : cases) {
        std::unique_ptr<TTXO> t(TTXO::CreateFromData());
        t->SetValue(k.Text);
        QList<int> sizes;
        for (const TBaseRecord *r = t->FTXO->Continue; r; r = r->Continue) {
            sizes << r->DataSize;
            if (r->Continue) {
                EXPECT_EQ(r->Data[0], k.Text == wide ? 1 : 0) << "each text record has its option byte";
            }
        }
        EXPECT_EQ(sizes, k.Sizes);
        // Written and read back whole.
        Stream s(SavedClient(*t));
        auto back = LoadClient<TTXO>(s);
        EXPECT_EQ(back->Value(), k.Text);
        EXPECT_EQ(back->RemainingData, nullptr);
    }
    std::unique_ptr<TTXO> t(TTXO::CreateFromData());
    t->SetValue("kept");
    EXPECT_EQ(MessageOf([&] { t->SetValue(QString(65536, 'x')); }),
              "Too many entries for this kind of record (65536 out of a maximum of 65535)");
    EXPECT_EQ(t->Value(), "kept");
}

TEST(TxoText, TextBoxRecordReadsAndWritesItsTxo)
{
    TDrawingGroup g;
    TDrawing d(&g);
    Stream s(CommentDrawing().Bytes());
    LoadDrawing(d, s);
    auto *box = static_cast<TEscherClientTextBoxRecord *>(d.RecordCache()->Obj->Items(1));
    box->SetValue("New text");
    EXPECT_EQ(box->Value(), "New text");
    const QByteArray w = SavedDrawing(d);
    EXPECT_TRUE(w.contains(TxoRecords("New text")));
    EXPECT_EQ(w.size(), CommentDrawing().Bytes().size() + 6);
    // A ClientData that holds an OBJ is no text box.
    TEscherClientDataRecord *data = d.RecordCache()->Obj->Items(0);
    EXPECT_EQ(dynamic_cast<TEscherClientTextBoxRecord *>(data), nullptr);
}
