// Reading a stream record by record: the class of each id, CONTINUE chains, the end of the
// stream, and refused input.
#include "tests/progrid/xls/records/RecordFixture.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"

#include <typeinfo>

using namespace rec;

namespace {

// Every record of the stream until its EOF (the synthetic one included).
std::vector<std::unique_ptr<TBaseRecord>> LoadAll(const QByteArray &bytes)
{
    Stream s(bytes);
    std::vector<std::unique_ptr<TBaseRecord>> out;
    do {
        out.emplace_back(LoadRecord(s.file.get(), s.Header));
    } while (out.back()->Id != xlr_EOF && out.size() < 1000);
    return out;
}

QByteArray SaveAll(const std::vector<std::unique_ptr<TBaseRecord>> &records)
{
    return Written([&](TOle2File &f) {
        for (const auto &r : records)
            r->SaveToStream(&f);
    });
}

} // namespace

TEST(LoadRecord, StreamEndReadsAsAnEofWithoutData)
{
    const QByteArray one = Record(0x0862, B({1, 2, 3}));
    for (int stray = 0; stray <= 3; ++stray) {
        Stream s(one + QByteArray(stray, char(0x77)));
        std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
        EXPECT_EQ(s.Header.Id, xlr_EOF) << stray;
        EXPECT_EQ(s.Header.Size, 0);
        std::unique_ptr<TBaseRecord> eof(LoadRecord(s.file.get(), s.Header));
        EXPECT_NE(dynamic_cast<TEOFRecord *>(eof.get()), nullptr);
        EXPECT_EQ(eof->DataSize, 0);
        EXPECT_EQ(eof->Data, nullptr);
    }
    // Four stray bytes are a header, whose data is missing.
    Stream s(one + Header(0x0862, 2));
    std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
    EXPECT_EQ(s.Header.Size, 2);
    EXPECT_EQ(MessageOf([&] { LoadRecord(s.file.get(), s.Header); }),
              QStringLiteral("End of stream reached with 2 bytes left to read"));
}

TEST(LoadRecord, UnknownIdsAreKeptAndWrittenByteForByte)
{
    const QByteArray bytes = Record(0x0862, B({0x62, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9}));
    auto all = LoadAll(bytes);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(typeid(*all[0]), typeid(TBaseRecord));
    EXPECT_EQ(Saved(*all[0]), bytes);
}

TEST(LoadRecord, ContinueRecordsFormAChainInStreamOrder)
{
    const QByteArray bytes = Record(0x00EC, B({1, 2})) + Record(0x3C, B({3})) + Record(0x3C, QByteArray())
                             + Record(0x3C, B({4, 5})) + Record(0x0236, QByteArray(16, 0));
    Stream s(bytes);
    std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
    int links = 0;
    for (TBaseRecord *c = r->Continue; c; c = c->Continue) {
        EXPECT_NE(dynamic_cast<TContinueRecord *>(c), nullptr);
        ++links;
    }
    EXPECT_EQ(links, 3);
    EXPECT_EQ(r->TotalSizeNoHeaders(), 5);
    EXPECT_EQ(s.Header.Id, 0x0236) << "what follows the chain arrives as the next record";
    EXPECT_EQ(Saved(*r), bytes.left(bytes.size() - 20));

    // ReadContinues on its own returns the id after the chain.
    Stream t(Record(0x3C, B({7})) + Record(0x3C, B({8})) + Record(0x0A, QByteArray()));
    auto base = Make(0x00EB, B({6}));
    EXPECT_EQ(ReadContinues(t.file.get(), base.get(), t.Header), xlr_EOF);
    EXPECT_EQ(base->TotalSizeNoHeaders(), 3);
}

TEST(LoadRecord, PasswordProtectedStreamIsRefused)
{
    Stream s(Record(0x002F, Le16(1) + QByteArray(52, 0)) + Record(0x0A, QByteArray()));
    EXPECT_EQ(MessageOf([&] { LoadRecord(s.file.get(), s.Header); }), QStringLiteral("File is password protected"));
}

TEST(LoadRecord, EachIdGetsItsClassAndCopiesKeepIt)
{
    const struct
    {
        int id;
        QByteArray data;
        const std::type_info &cls;
    } cases[] = {
        {0x000A, QByteArray(), typeid(TEOFRecord)},
        {0x000E, Le16(1), typeid(TPrecisionRecord)},
        {0x000F, Le16(1), typeid(TRefModeRecord)},
        {0x0014, QByteArray(), typeid(TPageHeaderRecord)},
        {0x0015, B({1, 0, 0, 'x'}), typeid(TPageFooterRecord)},
        {0x0022, Le16(0), typeid(T1904Record)},
        {0x0026, QByteArray(8, 0), typeid(TMarginRecord)},
        {0x0029, QByteArray(8, 0), typeid(TMarginRecord)},
        {0x002B, Le16(0), typeid(TPrintGridLinesRecord)},
        {0x003C, B({1}), typeid(TContinueRecord)},
        {0x003D, QByteArray(18, 0), typeid(TWindow1Record)},
        {0x0041, QByteArray(10, 0), typeid(TPaneRecord)},
        {0x004D, Le16(0), typeid(TPlsRecord)},
        {0x0055, Le16(8), typeid(TDefColWidthRecord)},
        {0x0059, B({1, 2}), typeid(TIgnoreRecord)},
        {0x005A, B({1, 2}), typeid(TIgnoreRecord)},
        {0x005D, Le16(0x15) + Le16(0x12) + Le16(1) + QByteArray(16, 0), typeid(TObjRecord)},
        {0x0060, QByteArray(), typeid(TTemplateRecord)},
        {0x007D, QByteArray(12, 0), typeid(TColInfoRecord)},
        {0x0080, QByteArray(8, 0), typeid(TGutsRecord)},
        {0x0081, Le16(0x4C1), typeid(TWsBoolRecord)},
        {0x0083, Le16(0), typeid(TPrintCenteredRecord)},
        {0x0084, Le16(1), typeid(TPrintCenteredRecord)},
        {0x0085, Le32(0) + Le16(0) + B({1, 0, 'S'}), typeid(TBoundSheetRecord)},
        {0x0099, Le16(8), typeid(TStandardWidthRecord)},
        {0x009D, Le16(1), typeid(TAutoFilterInfoRecord)},
        {0x00A0, Le16(1) + Le16(1), typeid(TSCLRecord)},
        {0x00A1, QByteArray(34, 0), typeid(TSetupRecord)},
        {0x00BD, QByteArray(12, 0), typeid(TMulRKRecord)},
        {0x00BE, QByteArray(8, 0), typeid(TMulBlankRecord)},
        {0x00D3, QByteArray(), typeid(TObProjRecord)},
        {0x00D7, B({1}), typeid(TIgnoreRecord)},
        {0x00DA, Le16(0), typeid(TBookBoolRecord)},
        {0x00E5, Le16(0), typeid(TCellMergingRecord)},
        {0x00ED, B({1}), typeid(TIgnoreRecord)},
        {0x00FC, QByteArray(8, 0), typeid(TSSTRecord)},
        {0x00FF, B({1}), typeid(TIgnoreRecord)},
        {0x013D, B({1}), typeid(TIgnoreRecord)},
        {0x01B2, QByteArray(18, 0), typeid(TDValRecord)},
        {0x01B6, QByteArray(18, 0), typeid(TTXORecord)},
        {0x01BA, B({1, 0, 0, 'x'}), typeid(TCodeNameRecord)},
        {0x01C1, B({1}), typeid(TIgnoreRecord)},
        {0x0200, QByteArray(14, 0), typeid(TDimensionsRecord)},
        {0x0201, QByteArray(6, 0), typeid(TBlankRecord)},
        {0x0203, QByteArray(14, 0), typeid(TNumberRecord)},
        {0x0205, QByteArray(8, 0), typeid(TBoolErrRecord)},
        {0x0207, B({0, 0, 0}), typeid(TStringRecord)},
        {0x0208, QByteArray(16, 0), typeid(TRowRecord)},
        {0x020B, B({1}), typeid(TIgnoreRecord)},
        {0x0225, QByteArray(4, 0), typeid(TDefRowHeightRecord)},
        {0x023E, QByteArray(18, 0), typeid(TWindow2Record)},
        {0x027E, QByteArray(10, 0), typeid(TRKRecord)},
        {0x0809, Le16(0x600) + Le16(0x10) + QByteArray(12, 0), typeid(TBOFRecord)},
        {0x1060, B({1}), typeid(TIgnoreRecord)},
        {0x0000, B({1}), typeid(TBaseRecord)},
        {0x0006, QByteArray(6, 0) + B({2, 0, 0, 0, 0, 0, 0xFF, 0xFF}) + Le16(2) + QByteArray(6, 0),
         typeid(TFormulaRecord)},
        {0x0018, Le16(0) + B({0, 1}) + QByteArray(10, 0) + B({0, 'N'}), typeid(TNameRecord)},
        {0x0221, B({1}), typeid(TArrayRecord)},
        {0x0236, QByteArray(6, 0) + Le16(3) + QByteArray(8, 0), typeid(TTableRecord)},
        {0x04BC, QByteArray(10, 0), typeid(TShrFmlaRecord)},
    };
    for (const auto &c : cases) {
        Stream s(Record(c.id, c.data));
        std::unique_ptr<TBaseRecord> r(LoadRecord(s.file.get(), s.Header));
        EXPECT_EQ(typeid(*r), c.cls) << std::hex << c.id;
        EXPECT_EQ(DataOf(*r), c.data) << std::hex << c.id;
        std::unique_ptr<TBaseRecord> copy(r->CopyTo());
        EXPECT_EQ(typeid(*copy), c.cls) << std::hex << c.id;
        EXPECT_EQ(DataOf(*copy), DataOf(*r)) << std::hex << c.id;
    }
}

// Cut anywhere, a stream gives a short-stream message or a record's own; what loads is written
// back as it was read.
TEST(LoadRecord, TruncatedStreamsFailCleanly)
{
    const QByteArray full = Record(0x0809, Le16(0x600) + Le16(0x10) + QByteArray(12, 0))
                            + Record(0x0208, Le16(1) + Le16(0) + Le16(3) + Le16(255) + QByteArray(4, 0) + Le16(0x100) + Le16(15))
                            + Record(0x00BD, Le16(1) + Le16(0) + Le16(15) + Le32(0x40080000u) + Le16(15) + Le32(6) + Le16(1))
                            + Record(0x0014, B({2, 0, 0, 'h', 'i'})) + Record(0x00EC, B({1, 2})) + Record(0x3C, B({3}))
                            + Record(0x023E, Le16(0x6B6) + QByteArray(16, 0)) + Record(0x0A, QByteArray());
    const auto whole = LoadAll(full);
    EXPECT_EQ(SaveAll(whole), full);
    ASSERT_EQ(whole.size(), 7u);
    EXPECT_EQ(static_cast<TPageHeaderRecord *>(whole[3].get())->Text(), QStringLiteral("hi"));
    EXPECT_NE(whole[4]->Continue, nullptr);
    for (int n = 0; n < full.size(); ++n) {
        const QString m = MessageOf([&] { LoadAll(full.left(n)); });
        EXPECT_TRUE(m.isEmpty() || m.startsWith(QStringLiteral("End of stream reached with"))
                    || m.startsWith(QStringLiteral("Record with ID 0x")))
            << n << " " << m.toStdString();
    }
}
