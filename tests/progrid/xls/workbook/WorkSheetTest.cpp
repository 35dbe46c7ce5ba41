// The worksheet section: records sorted into the sheet's parts while loading, written back in the
// parts' order with the size announced beforehand, the view records it adds or drops, and the
// records a section must refuse.
#include "SheetFixture.h"

#include "xlsAdapter/records/duzUXlsBaseRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

using namespace sheet;

namespace {

// The cached view records, which the sheet's own accessors reach.
struct Probe : TWorkSheet
{
    using TWorkSheet::TWorkSheet;
    using TWorkSheet::FPageFooter;
    using TWorkSheet::FPageHeader;
    using TWorkSheet::FPane;
    using TWorkSheet::FWindow2;
    using TWorkSheet::FZoom;
};

std::unique_ptr<Probe> LoadProbe(Book &b, const QByteArray &bytes)
{
    auto s = std::make_unique<Probe>(&b.Globals);
    b.Load(*s, bytes);
    return s;
}

const QByteArray Unknown1 = Record(0x0999, "one");
const QByteArray Unknown2 = Record(0x0998, "two");
const QByteArray Selection = Record(0x001D, B({3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));

} // namespace

TEST(WorkSheetLoad, DefaultColumnWidthComesFromDefColWidthOrStandardWidth)
{
    const struct
    {
        const char *what;
        QByteArray records;
        int width;
    } cases[] = {
        {"no record", {}, 2930},
        {"DEFCOLWIDTH 8, STANDARDWIDTH 2340", DefColWidth(8) + StandardWidth(2340), 2340},
        {"DEFCOLWIDTH 10, STANDARDWIDTH 2340", DefColWidth(10) + StandardWidth(2340), 2930},
        {"DEFCOLWIDTH 12 alone", DefColWidth(12), 3516},
        {"STANDARDWIDTH alone", StandardWidth(3000), 3000},
        {"STANDARDWIDTH, then DEFCOLWIDTH 8", StandardWidth(3000) + DefColWidth(8), 3000},
        {"STANDARDWIDTH, then DEFCOLWIDTH 9", StandardWidth(3000) + DefColWidth(9), 2637},
    };
    // One sheet loaded again and again: nothing of the previous sheet stays.
    Book b;
    auto s = b.New();
    for (const auto &c : cases) {
        b.Load(*s, SheetBof() + c.records + DefRowHeight(300) + Window2() + Eof());
        EXPECT_EQ(s->DefColWidth(), c.width) << c.what;
        EXPECT_EQ(s->DefRowHeight(), 300) << c.what;
        b.Load(*s, SheetBof() + Window2() + Eof());
        EXPECT_EQ(s->DefColWidth(), 2930) << c.what;
        EXPECT_EQ(s->DefRowHeight(), 255) << c.what;
    }
}

TEST(WorkSheetLoad, RecordsAreWrittenInThePartsOrder)
{
    // Unknown records before and after WINDOW2, a code name early, a STRING after a formula.
    const QByteArray in = SheetBof() + Record(0x01BA, Le16(2) + B({0}) + "cn") + DefColWidth(8) + ColInfo(1, 1, 3000)
                          + Dimensions(0, 3, 0, 3) + Row(0, 0, 2) + Number(0, 0, 1.5) + Unknown1 + TextFormula(2, 1)
                          + StringResult("ab") + HBreak(4) + VBreak(2) + Window2() + Unknown2 + Merged(0, 1, 0, 1)
                          + Eof();
    Book b;
    auto s = b.Loaded(in);
    const QByteArray out = Saved(*s);
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x0055, 0x0999, 0x001B, 0x001A, 0x007D, 0x0200, 0x0208, 0x0208,
                                          0x0203, 0x0006, 0x0207, 0x023E, 0x0998, 0x00E5, 0x01BA, 0x000A}));
    EXPECT_EQ(out.size(), s->TotalSize());
    EXPECT_EQ(s->CodeName(), "cn");

    TXlsCellValue v = s->Cells()->CellList()->GetValue(2, 1);
    EXPECT_EQ(v.Value.AsString(), "ab");
    EXPECT_TRUE(v.IsFormula);
    // The formula writes its own STRING, with the text it was given.
    EXPECT_TRUE(out.contains(StringResult("ab")));

    // Read DIMENSIONS is kept aside; the written one follows the cells.
    EXPECT_EQ(s->OriginalDimensions.LastRow, 3u);
    EXPECT_EQ(s->OriginalDimensions.LastCol, 3);

    auto again = b.Loaded(out);
    EXPECT_EQ(Saved(*again), out);
}

TEST(WorkSheetLoad, WithoutWindow2EveryKeptRecordStaysFirst)
{
    const QByteArray in = SheetBof() + Row(0, 0, 1) + Unknown1 + Number(0, 0, 2) + Selection + Unknown2 + Eof();
    Book b;
    auto s = LoadProbe(b, in);
    const QByteArray out = Saved(*s);
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x0999, 0x001D, 0x0998, 0x0200, 0x0208, 0x0203, 0x000A}));

    s->AddZoomRecord();
    s->EnsurePane(true);
    EXPECT_EQ(s->FZoom, nullptr);
    EXPECT_EQ(s->FPane, nullptr);
    EXPECT_EQ(Saved(*s), out);
}

TEST(WorkSheetView, ZoomAndPaneGoRightAfterWindow2)
{
    Book b;
    auto s = LoadProbe(b, SheetBof() + Window2() + Selection + Eof());
    s->AddZoomRecord();
    s->EnsurePane(true);
    s->EnsurePane(true); // a second call adds no second pane
    QByteArray out = Saved(*s);
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x0200, 0x023E, 0x0041, 0x00A0, 0x001D, 0x000A}));
    EXPECT_EQ(out.size(), s->TotalSize());
    EXPECT_TRUE(out.contains(Record(0x0041, QByteArray(10, 0))));
    ASSERT_NE(s->FZoom, nullptr);
    EXPECT_EQ(s->FZoom->Zoom(), 100);

    s->EnsurePane(false);
    EXPECT_EQ(s->FPane, nullptr);
    out = Saved(*s);
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x0200, 0x023E, 0x00A0, 0x001D, 0x000A}));
    EXPECT_EQ(out.size(), s->TotalSize());

    // WINDOW2 alone: nowhere "after" it to go.
    auto lone = LoadProbe(b, SheetBof() + Window2() + Eof());
    lone->AddZoomRecord();
    lone->EnsurePane(true);
    EXPECT_EQ(Ids(Saved(*lone)), (std::vector<int>{0x0809, 0x0200, 0x023E, 0x000A}));
}

TEST(WorkSheetView, PaneReadBeforeWindow2IsRemovedToo)
{
    Book b;
    auto s = LoadProbe(b, SheetBof() + Record(0x0041, Le16(1) + QByteArray(8, 0)) + Window2() + Selection + Eof());
    ASSERT_NE(s->FPane, nullptr);
    s->EnsurePane(false);
    const QByteArray out = Saved(*s);
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x0200, 0x023E, 0x001D, 0x000A}));
    EXPECT_EQ(out.size(), s->TotalSize());
}

TEST(WorkSheetView, HeaderAndFooterTextsKeepTheSizeRight)
{
    // The footer sits after WINDOW2, in the second kept list.
    const QByteArray in = SheetBof() + Record(0x0014, Le16(1) + B({0}) + "h") + Window2()
                          + Record(0x0015, Le16(1) + B({0}) + "f") + Eof();
    Book b;
    auto s = LoadProbe(b, in);
    s->SetPageHeaderFooter(s->FPageHeader, QStringLiteral("a longer header"));
    s->SetPageHeaderFooter(s->FPageFooter, QStringLiteral("a longer footer, and more"));
    s->SetPageHeaderFooter(nullptr, QStringLiteral("nothing"));
    const QByteArray out = Saved(*s);
    EXPECT_EQ(out.size(), s->TotalSize());
    auto back = LoadProbe(b, out);
    EXPECT_EQ(back->FPageHeader->Text(), "a longer header");
    EXPECT_EQ(back->FPageFooter->Text(), "a longer footer, and more");
}

TEST(WorkSheetSizes, ColumnsAndRowsMeasureForTheDrawing)
{
    const QByteArray in = SheetBof() + DefColWidth(10) + DefRowHeight(300) + ColInfo(1, 1, 3000) + ColInfo(2, 2, 4000, 1)
                          + Row(1, 0, 0, 400) + Row(2, 0, 0, 500, 0x120) + Window2() + Eof();
    Book b;
    auto s = b.Loaded(in);
    const TSheetSizes &z = *s;
    const struct
    {
        int index, width, widthHiddenZero, height, heightHiddenZero;
    } cases[] = {
        {0, 2930, 2930, 300, 300},
        {1, 3000, 3000, 400, 400},
        {2, 4000, 0, 500, 0},
        {3, 2930, 2930, 300, 300},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(z.GetColWidth(c.index, false), c.width) << c.index;
        EXPECT_EQ(z.GetColWidth(c.index, true), c.widthHiddenZero) << c.index;
        EXPECT_EQ(z.GetRowHeight(c.index, false), c.height) << c.index;
        EXPECT_EQ(z.GetRowHeight(c.index, true), c.heightHiddenZero) << c.index;
    }
}

TEST(WorkSheetSave, PageBreaksAndCodeNameAreSet)
{
    Book b;
    auto s = b.Loaded(SheetBof() + Window2() + Eof());
    s->InsertHPageBreak(5);
    s->InsertHPageBreak(2);
    s->InsertVPageBreak(3);
    EXPECT_TRUE(s->HasHPageBreak(5));
    EXPECT_FALSE(s->HasHPageBreak(3));
    EXPECT_TRUE(s->HasVPageBreak(3));
    s->DeleteHPageBreak(5);
    s->DeleteVPageBreak(3);
    EXPECT_FALSE(s->HasHPageBreak(5));
    EXPECT_FALSE(s->HasVPageBreak(3));

    s->SetCodeName(QStringLiteral("Sheet1"));
    s->SetCodeName(QStringLiteral("Data"));
    const QByteArray out = Saved(*s);
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x001B, 0x0200, 0x023E, 0x01BA, 0x000A}));
    EXPECT_EQ(out.size(), s->TotalSize());
    EXPECT_EQ(b.Loaded(out)->CodeName(), "Data");
}

TEST(WorkSheetSave, ARangeWritesOnlyWhatLiesInIt)
{
    const QByteArray in = SheetBof() + Row(0, 0, 1) + Row(5, 0, 1) + Number(0, 0, 1) + Number(5, 0, 2) + HBreak(2)
                          + HBreak(8) + Window2() + Merged(0, 0, 0, 1) + Merged(5, 6, 0, 0) + Eof();
    Book b;
    auto s = b.Loaded(in);
    TXlsCellRange r;
    r.Top = 0;
    r.Bottom = 3;
    r.Left = 0;
    r.Right = 3;
    const QByteArray out = Written([&](TOle2File &f) { s->SaveRangeToStream(&f, 0, r); });
    EXPECT_EQ(Ids(out), (std::vector<int>{0x0809, 0x001B, 0x0200, 0x0208, 0x0203, 0x023E, 0x00E5, 0x000A}));
    EXPECT_TRUE(out.contains(HBreak(2)));
    EXPECT_TRUE(out.contains(Number(0, 0, 1)));
    EXPECT_EQ(out.size(), s->TotalRangeSize(0, r));
}

TEST(WorkSheetBadInput, MisplacedRecordsAreRefused)
{
    const QString Invalid = QStringLiteral("Error reading Excel records. File invalid");
    // An ARRAY after CONTINUE records is not attached by the record reader.
    const QByteArray arrayData = Le16(0) + Le16(0) + B({0, 0}) + Le16(0) + Le32(0) + Le16(0);
    const struct
    {
        const char *what;
        QByteArray records;
    } cases[] = {
        {"BOF inside", Number(0, 0, 1) + SheetBof()},
        {"SHRFMLA first", Record(0x04BC, QByteArray(10, 0))},
        {"STRING after a TABLE", Record(0x0236, QByteArray(16, 0)) + StringResult("x")},
        {"ARRAY after CONTINUE", Unknown1 + Record(0x003C, "c") + Record(0x0221, arrayData)},
    };
    for (const auto &c : cases) {
        Book b;
        auto s = b.New();
        EXPECT_EQ(MessageOf([&] { b.Load(*s, SheetBof() + Row(0, 0, 1) + c.records + Window2() + Eof()); }), Invalid)
            << c.what;
    }

    Book b;
    auto s = b.New();
    const QString NotLoaded = QStringLiteral("A section of the workbook is not loaded");
    EXPECT_EQ(MessageOf([&] { Saved(*s); }), NotLoaded);
    EXPECT_EQ(MessageOf([&] { Written([&](TOle2File &f) { s->SaveRangeToStream(&f, 0, {}); }); }), NotLoaded);
}
