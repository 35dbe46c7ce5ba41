// Chart sheets and sheets the engine does not interpret: kept as their records and written back,
// chart blocks nested to any real depth, and embedded charts held the same way.
#include "BookFixture.h"

using namespace book;

namespace {

QByteArray Hex(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }
QByteArray Begin() { return Record(0x1033, {}); }
QByteArray End() { return Record(0x1034, {}); }
QByteArray Continue(const QByteArray &d) { return Record(0x003C, d); }
QByteArray CodeName(const QByteArray &n) { return Record(0x01BA, glob::Str16(n)); }
QByteArray Scl(int num) { return Record(0x00A0, Le16(num) + Le16(100)); }

// A chart's body: CHART, then SERIES and AXIS blocks, an SCL in the outer block.
QByteArray ChartBody()
{
    return Record(0x1002, QByteArray(16, 1)) + Begin() + Record(0x1003, Le16(1) + QByteArray(10, 0)) + Begin()
           + Scl(3) + Record(0x1051, Le16(1) + Le16(0) + Le16(0) + Le16(0)) + End() + End();
}

template <class T> std::unique_ptr<T> LoadSheet(const QByteArray &Bytes, TSST *SST = nullptr)
{
    auto S = std::make_unique<T>(nullptr);
    glob::Load(*S, Bytes, SST);
    return S;
}

QByteArray SavedSheet(TSheet &S)
{
    return Written([&](TOle2File &f) { S.SaveToStream(&f); });
}

QByteArray Nested(int Depth) { return QByteArray(Begin()).repeated(Depth) + QByteArray(End()).repeated(Depth); }

} // namespace

TEST(ChartSheet, KeepsItsRecordsButDimensionsIgnoredAndTheEofChain)
{
    // DIMENSIONS and an ignored record are dropped, the CODENAME moves before EOF, the CONTINUE
    // chained to the EOF is kept aside and not written.
    const QByteArray in = Bof(0x0020) + sheet::Dimensions(0, 3, 0, 2) + Scl(2) + CodeName("Chart1")
                          + Record(0x013D, Le16(1)) + ChartBody() + Eof() + Continue("xyz");
    auto C = LoadSheet<TWbChart>(in);
    EXPECT_EQ(C->OriginalDimensions.LastRow, 3);
    EXPECT_EQ(C->CodeName(), "Chart1");
    ASSERT_NE(C->RemainingData, nullptr);
    EXPECT_EQ(DataOf(*C->RemainingData), "xyz");

    const QByteArray expected = Bof(0x0020) + Scl(2) + ChartBody() + CodeName("Chart1") + Eof();
    EXPECT_EQ(SavedSheet(*C), expected);
    EXPECT_EQ(C->TotalSize(), expected.size());
    EXPECT_EQ(C->FixTotalSize(true), expected.size());

    // A header's new text keeps the measured size right.
    auto titled = LoadSheet<TWbChart>(Bof(0x0020) + Record(0x0014, glob::Str16("ab")) + ChartBody() + Eof());
    titled->SetPageHeaderFooter(static_cast<TPageHeaderFooterRecord *>(titled->ChartRecords()->Items(0)), "longer");
    EXPECT_EQ(SavedSheet(*titled), Bof(0x0020) + Record(0x0014, glob::Str16("longer")) + ChartBody() + Eof());
    EXPECT_EQ(titled->TotalSize(), SavedSheet(*titled).size());

    // Only the SCL outside the blocks is the sheet's zoom: appending one goes after the blocks.
    auto plain = LoadSheet<TWbChart>(Bof(0x0020) + ChartBody() + Eof());
    plain->AddZoomRecord();
    EXPECT_EQ(SavedSheet(*plain), Bof(0x0020) + ChartBody() + Record(0x00A0, Le16(100) + Le16(100)) + Eof());
}

TEST(ChartSheet, NestingIsFollowedToAFixedDepth)
{
    auto deep = LoadSheet<TWbChart>(Bof(0x0020) + Nested(MaxChartNesting) + Eof());
    EXPECT_EQ(SavedSheet(*deep), Bof(0x0020) + Nested(MaxChartNesting) + Eof());

    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbChart>(Bof(0x0020) + Nested(MaxChartNesting + 1) + Eof()); }),
              "Error reading Excel records. File invalid");
    // Far deeper, as a hostile file would nest: refused, not followed.
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbChart>(Bof(0x0020) + QByteArray(Begin()).repeated(20000)); }),
              "Error reading Excel records. File invalid");
}

TEST(ChartSheet, BadSections)
{
    const QString invalid = "Error reading Excel records. File invalid";
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbChart>(Bof(0x0020) + Begin() + Bof(0x0020) + Eof()); }), invalid);
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbUnsupportedSheet>(Bof(0x0040) + Bof(0x0040) + Eof()); }), invalid);
    // A text cell needs the workbook's string table.
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbChart>(Bof(0x0020) + Record(0x00FD, QByteArray(10, 0)) + Eof()); }),
              invalid);

    // An END outside every block ends the chart without EOF: such a section cannot be saved.
    auto cut = LoadSheet<TWbChart>(Bof(0x0020) + ChartBody() + End() + Eof());
    EXPECT_EQ(MessageOf([&] { SavedSheet(*cut); }), "A section of the workbook is not loaded");

    // A stream cut inside the blocks, or before the chart's EOF, is refused (and does not hang).
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbChart>(Bof(0x0020) + Begin() + Begin() + Record(0x1002, QByteArray(4, 0))); }),
              invalid);
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbChart>(Bof(0x0020) + ChartBody()); }), invalid);
    EXPECT_EQ(MessageOf([&] { LoadSheet<TWbUnsupportedSheet>(Bof(0x0040) + Record(0x1234, "abc")); }), invalid);
}

TEST(UnsupportedSheet, MacroSheetComesBackRecordForRecord)
{
    const QByteArray records = sheet::DefColWidth(8) + Record(0x1234, "abc") + Begin() + Window2(true)
                               + Record(0x0014, glob::Str16("Head"));
    auto M = LoadSheet<TWbUnsupportedSheet>(Bof(0x0040) + records + sheet::Dimensions(0, 1, 0, 1) + CodeName("M")
                                            + Eof());
    EXPECT_EQ(SavedSheet(*M), Bof(0x0040) + records + CodeName("M") + Eof());
    EXPECT_EQ(M->TotalSize(), SavedSheet(*M).size());
    // No place for a zoom or a pane on such a sheet.
    M->AddZoomRecord();
    M->EnsurePane(true);
    EXPECT_EQ(SavedSheet(*M), Bof(0x0040) + records + CodeName("M") + Eof());
}

TEST(EmbeddedChart, AnObjChartIsHeldAsAChartSheet)
{
    const QByteArray chartObj = Hex("15 00 12 00 05 00 04 00 11 60") + QByteArray(12, 0) + Hex("00 00 00 00");
    const QByteArray chart = Bof(0x0020) + ChartBody();
    Stream cs(Record(0x5D, chartObj) + chart + sheet::Dimensions(0, 1, 0, 1) + Eof() + Continue("ab"));
    std::unique_ptr<TBaseRecord> first(LoadRecord(cs.file.get(), cs.Header));
    DUzObj obj;
    obj.LoadFromStream(cs.file.get(), cs.Header, nullptr, first.release());
    auto *held = dynamic_cast<TWbEmbeddedChart *>(obj.FChart);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->Chart()->ChartRecords()->Count(), 8);
    ASSERT_NE(obj.RemainingData, nullptr);
    EXPECT_EQ(DataOf(*obj.RemainingData), "ab");

    const QByteArray expected = Record(0x5D, chartObj) + chart + Eof();
    EXPECT_EQ(Written([&](TOle2File &f) { obj.SaveToStream(&f); }), expected);
    std::unique_ptr<TBaseClientData> copy(obj.CopyTo());
    EXPECT_EQ(Written([&](TOle2File &f) { copy->SaveToStream(&f); }), expected);
    EXPECT_EQ(copy->TotalSize(), expected.size());
}
