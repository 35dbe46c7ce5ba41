// The sheet's view, print, row, column, merge and filter properties: what a sheet without the
// records reads, where the records that get made land, and what the save writes.
#include "SheetFixture.h"
#include "TemplateFixture.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

#include <array>
#include <cstring>
#include <functional>

using namespace sheet;

namespace {

QByteArray F64(double v)
{
    QByteArray d(8, 0);
    std::memcpy(d.data(), &v, 8);
    return d;
}
double ReadF64(const QByteArray &d, int at)
{
    double v;
    std::memcpy(&v, d.constData() + at, 8);
    return v;
}
int Word16At(const QByteArray &d, int at) { return uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8); }

QByteArray Word16(int id, int v) { return Record(id, Le16(v)); }
QByteArray SetupRecord(int grbit, int paper, int scale, int fitW, int fitH, int xRes, int yRes, double hdr, double ftr,
                 int copies)
{
    return Record(0x00A1, Le16(paper) + Le16(scale) + Le16(1) + Le16(fitW) + Le16(fitH) + Le16(grbit) + Le16(xRes)
                              + Le16(yRes) + F64(hdr) + F64(ftr) + Le16(copies));
}

// Top-left pane, A1: what follows WINDOW2 in a real sheet.
QByteArray Selection() { return Record(0x001D, B({3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0})); }

// A sheet with no view or print records at all.
QByteArray BareSheet() { return SheetBof() + Dimensions(0, 0, 0, 0) + Eof(); }

// Print records in their file order, without GUTS, margins, SCL or PANE.
QByteArray PrintSheet()
{
    return SheetBof() + Word16(0x000F, 1) + Word16(0x002B, 0) + DefRowHeight(255) + Word16(0x0081, 0x04C1)
           + Word16(0x0083, 0) + Word16(0x0084, 0) + SetupRecord(0, 9, 80, 2, 3, 300, 600, 0.3, 0.4, 2) + DefColWidth(8)
           + Dimensions(0, 0, 0, 0) + Window2() + Selection() + Eof();
}

struct Rec
{
    int Id;
    QByteArray Data;
};

// The records of a written sheet; the save's size must be the one announced.
std::vector<Rec> SavedRecords(TWorkSheet &S)
{
    const QByteArray b = Saved(S);
    EXPECT_EQ(b.size(), S.TotalSize());
    std::vector<Rec> out;
    for (int at = 0; at + 4 <= b.size();) {
        const int n = Word16At(b, at + 2);
        out.push_back({Word16At(b, at), b.mid(at + 4, n)});
        at += 4 + n;
    }
    return out;
}

std::vector<int> IdsOf(const std::vector<Rec> &r)
{
    std::vector<int> ids;
    for (const Rec &x : r)
        ids.push_back(x.Id);
    return ids;
}

int IndexOf(const std::vector<Rec> &r, int id)
{
    for (size_t i = 0; i < r.size(); ++i)
        if (r[i].Id == id)
            return int(i);
    return -1;
}

int CountOf(const std::vector<Rec> &r, int id)
{
    return int(std::count_if(r.begin(), r.end(), [id](const Rec &x) { return x.Id == id; }));
}

const Rec &Find(const std::vector<Rec> &r, int id)
{
    static const Rec None{-1, {}};
    const int i = IndexOf(r, id);
    return i < 0 ? None : r[size_t(i)];
}

using Box = std::array<int, 4>;
Box LTRB(const TXlsCellRange &r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

QString ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST(SheetProps, WithoutRecordsReadsDefaultsAndDropsWrites)
{
    Book b;
    auto s = b.Loaded(BareSheet());
    const QByteArray before = Saved(*s);

    EXPECT_FALSE(s->Selected());
    EXPECT_TRUE(s->ShowGridLines());
    EXPECT_TRUE(s->ShowGridHeaders());
    EXPECT_TRUE(s->PrintGridLines());
    EXPECT_FALSE(s->IsR1C1());
    EXPECT_EQ(s->PageHeader(), QString());
    EXPECT_EQ(s->PageFooter(), QString());
    EXPECT_EQ(s->SheetZoom(), 100);
    EXPECT_EQ(s->PrintNumberOfHorizontalPages(), 1);
    EXPECT_EQ(s->PrintNumberOfVerticalPages(), 1);
    EXPECT_EQ(s->PrintScale(), 100);
    EXPECT_EQ(s->PrintOptions(), 0);
    EXPECT_EQ(s->PrintPaperSize(), 1);
    EXPECT_EQ(s->PrintCopies(), 1);
    EXPECT_EQ(s->PrintXResolution(), 600);
    EXPECT_EQ(s->PrintYResolution(), 600);
    EXPECT_FALSE(s->PrintToFit());
    EXPECT_TRUE(s->OutlineSummaryRowsBelowDetail());
    EXPECT_TRUE(s->OutlineSummaryColsRightOfDetail());
    EXPECT_FALSE(s->OutlineAutomaticStyles());
    EXPECT_FALSE(s->PrintHCentered());
    EXPECT_FALSE(s->PrintVCentered());
    EXPECT_EQ(s->PrinterDriverSettings().OperatingEnviroment, 0);
    EXPECT_TRUE(s->PrinterDriverSettings().Data.empty());
    const TXlsMargins m = s->Margins();
    EXPECT_DOUBLE_EQ(m.Left, 19 / 25.4);
    EXPECT_DOUBLE_EQ(m.Top, 25 / 25.4);
    EXPECT_DOUBLE_EQ(m.Right, 19 / 25.4);
    EXPECT_DOUBLE_EQ(m.Bottom, 25 / 25.4);
    EXPECT_EQ(m.Header, 0);
    EXPECT_EQ(m.Footer, 0);
    int32_t r = -1, c = -1;
    s->GetFrozenPanes(r, c);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(s->GetColWidth(3), s->DefColWidth());
    EXPECT_EQ(s->GetRowHeight(3), s->DefRowHeight());
    EXPECT_EQ(s->GetColFormat(3), -1);
    EXPECT_EQ(s->GetRowFormat(3), -1);
    EXPECT_EQ(s->GetColOutlineLevel(3), 0);
    EXPECT_EQ(s->GetRowOutlineLevel(3), 0);

    // Writes to missing records change nothing; zoom finds no WINDOW2 to put its SCL after.
    s->SetSelected(true);
    s->SetShowGridLines(false);
    s->SetPrintGridLines(false);
    s->SetIsR1C1(true);
    s->SetPageHeader(QStringLiteral("top"));
    s->SetSheetZoom(50);
    s->SetPrintScale(50);
    s->SetPrintCopies(3);
    s->SetPrintOptions(1);
    s->SetPrintToFit(true);
    s->SetPrintHCentered(true);
    s->SetPrintNumberOfHorizontalPages(4);
    s->SetColHidden(5, false);
    s->FreezePanes(0, 0);
    s->SplitWindow(0, 0);
    EXPECT_FALSE(s->Selected());
    EXPECT_EQ(s->PageHeader(), QString());
    EXPECT_EQ(s->SheetZoom(), 100);
    EXPECT_EQ(s->PrintCopies(), 1);
    EXPECT_FALSE(s->PrintToFit());
    EXPECT_EQ(Saved(*s), before);
}

// Each write lands in its record, reads back, and survives the save and a new load.
TEST(SheetProps, PresentRecordsAreReadAndWritten)
{
    Book b;
    auto s = b.Loaded(PrintSheet());
    EXPECT_EQ(s->PrintPaperSize(), 9);
    EXPECT_EQ(s->PrintScale(), 80);
    EXPECT_EQ(s->PrintNumberOfHorizontalPages(), 2);
    EXPECT_EQ(s->PrintNumberOfVerticalPages(), 3);
    EXPECT_EQ(s->PrintXResolution(), 300);
    EXPECT_EQ(s->PrintYResolution(), 600);
    EXPECT_EQ(s->PrintCopies(), 2);
    EXPECT_TRUE(s->Selected());
    EXPECT_TRUE(s->OutlineSummaryRowsBelowDetail());
    EXPECT_FALSE(s->PrintGridLines());
    EXPECT_DOUBLE_EQ(s->Margins().Header, 0.3);
    EXPECT_DOUBLE_EQ(s->Margins().Footer, 0.4);

    struct Case
    {
        const char *Name;
        std::function<void(TWorkSheet &)> Write;
        std::function<bool(TWorkSheet &)> Check;
    };
    const Case cases[] = {
        {"Selected", [](TWorkSheet &w) { w.SetSelected(false); }, [](TWorkSheet &w) { return !w.Selected(); }},
        {"ShowGridLines", [](TWorkSheet &w) { w.SetShowGridLines(false); },
         [](TWorkSheet &w) { return !w.ShowGridLines() && w.ShowGridHeaders(); }},
        {"PrintGridLines", [](TWorkSheet &w) { w.SetPrintGridLines(true); },
         [](TWorkSheet &w) { return w.PrintGridLines(); }},
        {"IsR1C1", [](TWorkSheet &w) { w.SetIsR1C1(true); }, [](TWorkSheet &w) { return w.IsR1C1(); }},
        {"PrintPaperSize", [](TWorkSheet &w) { w.SetPrintPaperSize(65535); },
         [](TWorkSheet &w) { return w.PrintPaperSize() == 65535; }},
        {"PrintScale", [](TWorkSheet &w) { w.SetPrintScale(0); }, [](TWorkSheet &w) { return w.PrintScale() == 0; }},
        {"PrintCopies", [](TWorkSheet &w) { w.SetPrintCopies(7); }, [](TWorkSheet &w) { return w.PrintCopies() == 7; }},
        {"PrintYResolution", [](TWorkSheet &w) { w.SetPrintYResolution(1200); },
         [](TWorkSheet &w) { return w.PrintYResolution() == 1200 && w.PrintXResolution() == 300; }},
        {"FitPages", [](TWorkSheet &w) { w.SetPrintNumberOfHorizontalPages(5), w.SetPrintNumberOfVerticalPages(6); },
         [](TWorkSheet &w) { return w.PrintNumberOfHorizontalPages() == 5 && w.PrintNumberOfVerticalPages() == 6; }},
        {"PrintToFit", [](TWorkSheet &w) { w.SetPrintToFit(true); }, [](TWorkSheet &w) { return w.PrintToFit(); }},
        {"SummaryRows", [](TWorkSheet &w) { w.SetOutlineSummaryRowsBelowDetail(false); },
         [](TWorkSheet &w) { return !w.OutlineSummaryRowsBelowDetail() && w.OutlineSummaryColsRightOfDetail(); }},
        {"AutomaticStyles", [](TWorkSheet &w) { w.SetOutlineAutomaticStyles(true); },
         [](TWorkSheet &w) { return w.OutlineAutomaticStyles(); }},
        {"Centered", [](TWorkSheet &w) { w.SetPrintHCentered(true); },
         [](TWorkSheet &w) { return w.PrintHCentered() && !w.PrintVCentered(); }},
        {"PageHeader", [](TWorkSheet &w) { w.SetPageHeader(QStringLiteral("never")); },
         [](TWorkSheet &w) { return w.PageHeader().isEmpty(); }},
    };
    for (const Case &c : cases) {
        auto w = b.Loaded(PrintSheet());
        c.Write(*w);
        EXPECT_TRUE(c.Check(*w)) << c.Name;
        const QByteArray out = Saved(*w);
        EXPECT_EQ(out.size(), w->TotalSize()) << c.Name;
        auto back = b.Loaded(out);
        EXPECT_TRUE(c.Check(*back)) << c.Name << " after a save";
    }
}

TEST(SheetProps, HeaderTextResizesTheSheet)
{
    Book b;
    auto s = b.Loaded(SheetBof() + Record(0x0014, {}) + Record(0x0015, {}) + Window2() + Eof());
    s->SetPageHeader(QStringLiteral("Plot &P"));
    s->SetPageFooter(QStringLiteral("f"));
    auto back = b.Loaded(Saved(*s));
    EXPECT_EQ(back->PageHeader(), QStringLiteral("Plot &P"));
    EXPECT_EQ(back->PageFooter(), QStringLiteral("f"));
    EXPECT_EQ(Saved(*back).size(), back->TotalSize());
}

TEST(SheetProps, MissingMarginsAreMadeAfterVCenterInSideOrder)
{
    Book b;
    auto s = b.Loaded(PrintSheet());
    TXlsMargins m{0.5, 1.25, 0.75, 2, 0.1, 0.2}; // left, top, right, bottom, header, footer
    s->SetMargins(m);
    const auto r = SavedRecords(*s);
    const int v = IndexOf(r, 0x0084);
    ASSERT_GE(v, 0);
    ASSERT_LT(v + 5, int(r.size()));
    const int ids[] = {0x0026, 0x0027, 0x0028, 0x0029, 0x00A1};
    const double values[] = {0.5, 0.75, 1.25, 2};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(r[size_t(v + 1 + i)].Id, ids[i]) << i;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(r[size_t(v + 1 + i)].Data.size(), 8);
        EXPECT_EQ(ReadF64(r[size_t(v + 1 + i)].Data, 0), values[i]);
    }
    EXPECT_EQ(ReadF64(Find(r, 0x00A1).Data, 16), 0.1);
    EXPECT_EQ(ReadF64(Find(r, 0x00A1).Data, 24), 0.2);

    // Written again, the same records take the values: nothing more is added.
    m.Left = 0.25;
    s->SetMargins(m);
    const auto again = SavedRecords(*s);
    EXPECT_EQ(again.size(), r.size());
    EXPECT_EQ(s->Margins().Left, 0.25);
    EXPECT_EQ(s->Margins().Bottom, 2);
}

TEST(SheetProps, MarginsWithoutAnchorGoLast)
{
    Book b;
    auto s = b.Loaded(SheetBof() + Word16(0x0081, 0x04C1) + Window2() + Eof());
    s->SetMargins(TXlsMargins{1, 2, 3, 4, 5, 6});
    const auto ids = IdsOf(SavedRecords(*s));
    const std::vector<int> want{0x0809, 0x0081, 0x0026, 0x0027, 0x0028, 0x0029};
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 6), want);
    EXPECT_EQ(s->Margins().Header, 0); // no SETUP to hold it
}

TEST(SheetProps, ZoomMakesItsRecordAfterWindow2)
{
    Book b;
    auto s = b.Loaded(PrintSheet());
    s->SetSheetZoom(5);
    EXPECT_EQ(s->SheetZoom(), 10);
    const auto r = SavedRecords(*s);
    const int w = IndexOf(r, 0x023E);
    ASSERT_GE(w, 0);
    EXPECT_EQ(r[size_t(w + 1)].Id, 0x00A0);
    EXPECT_EQ(r[size_t(w + 1)].Data, Le16(10) + Le16(100));
    s->SetSheetZoom(250);
    EXPECT_EQ(b.Loaded(Saved(*s))->SheetZoom(), 250);
}

TEST(SheetProps, FreezeAndSplitPanes)
{
    Book b;
    auto s = b.Loaded(PrintSheet());
    s->FreezePanes(3, 0);
    auto r = SavedRecords(*s);
    const int w = IndexOf(r, 0x023E);
    ASSERT_EQ(r[size_t(w + 1)].Id, 0x0041);
    // ColSplit 0, RowSplit 3, first row 3, first column 1, active pane 2 (bottom left).
    EXPECT_EQ(r[size_t(w + 1)].Data, Le16(0) + Le16(3) + Le16(3) + Le16(1) + Le16(2));
    EXPECT_EQ(Word16At(r[size_t(w)].Data, 0) & 0x0108, 0x0108);
    int32_t row = 0, col = 0;
    s->GetFrozenPanes(row, col);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(col, 0);
    s->GetSplitWindow(row, col);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 0);

    s->FreezePanes(0, 0);
    r = SavedRecords(*s);
    EXPECT_EQ(IndexOf(r, 0x0041), -1);
    EXPECT_EQ(Word16At(Find(r, 0x023E).Data, 0) & 0x0108, 0);

    s->SplitWindow(1200, 0);
    int32_t x = -1, y = -1;
    s->GetFrozenPanes(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    s->GetSplitWindow(x, y);
    EXPECT_EQ(x, 1200);
    EXPECT_EQ(y, 0);
    r = SavedRecords(*s);
    // Right pane only: the active pane moves to the top right one.
    EXPECT_EQ(Find(r, 0x0041).Data, Le16(1200) + Le16(0) + Le16(1) + Le16(1) + Le16(1));
}

TEST(SheetProps, HiddenWidthAndFormatOfColumns)
{
    Book b;
    auto s = b.Loaded(SheetBof() + ColInfo(2, 2, 0, 1) + Dimensions(0, 3, 0, 3) + Row(0, 0, 3) + Row(1, 0, 3)
                      + Number(0, 2, 1) + Number(1, 1, 2) + Number(1, 2, 3) + Window2() + Eof());
    const int def = s->DefColWidth();

    s->SetColHidden(5, false);
    EXPECT_EQ(s->Columns()->Count(), 1);
    s->SetColHidden(5, true);
    ASSERT_EQ(s->Columns()->Count(), 2);
    const TColInfo *c5 = s->Columns()->Items(1);
    EXPECT_EQ(c5->Column, 5);
    EXPECT_EQ(c5->Width, def);
    EXPECT_EQ(c5->Options, 1);
    EXPECT_TRUE(s->GetColHidden(5));
    EXPECT_EQ(s->GetColWidth(5, true), 0);
    EXPECT_EQ(s->GetColWidth(5), def);

    // Shown again, a column hidden with width 0 gets the default width.
    EXPECT_EQ(s->GetColWidth(2), 0);
    s->SetColHidden(2, false);
    EXPECT_FALSE(s->GetColHidden(2));
    EXPECT_EQ(s->GetColWidth(2), def);

    s->SetColWidth(0, 4000);
    EXPECT_EQ(s->Columns()->Items(0)->Column, 0); // kept in column order
    EXPECT_EQ(s->GetColWidth(0), 4000);
    EXPECT_EQ(s->GetColFormat(0), 15);

    s->SetColFormat(2, 20);
    EXPECT_EQ(s->GetColFormat(2), 20);
    TCellList *cells = s->Cells()->CellList();
    EXPECT_EQ(cells->Items(0)->Items(0)->XF(), 20);
    EXPECT_EQ(cells->Items(1)->Items(1)->XF(), 20);
    EXPECT_EQ(cells->Items(1)->Items(0)->XF(), 15); // column 1
    EXPECT_EQ(cells->Items(0)->Count(), 1);         // no cells made
    s->SetColFormat(7, 21);
    EXPECT_EQ(s->GetColFormat(7), 21);
    EXPECT_EQ(s->GetColWidth(7), def);

    auto back = b.Loaded(Saved(*s));
    EXPECT_TRUE(back->GetColHidden(5));
    EXPECT_EQ(back->GetColWidth(0), 4000);
    EXPECT_EQ(back->GetColFormat(2), 20);
}

TEST(SheetProps, HeightHiddenAndFormatOfRows)
{
    Book b;
    auto s = b.Loaded(SheetBof() + Dimensions(0, 2, 0, 2) + Row(1, 0, 2) + Number(1, 0, 1) + Number(1, 1, 2)
                      + Window2() + Eof());
    s->SetRowHeight(4, 600);
    EXPECT_EQ(s->GetRowHeight(4), 600);
    EXPECT_FALSE(s->Cells()->RowList()->IsAutoRowHeight(4));
    s->SetRowHidden(4, true);
    EXPECT_TRUE(s->GetRowHidden(4));
    EXPECT_EQ(s->GetRowHeight(4, true), 0);
    EXPECT_EQ(s->GetRowHeight(4, false), 600);
    EXPECT_FALSE(s->GetRowHidden(2));

    EXPECT_EQ(s->GetRowFormat(1), -1); // a record, but not formatted
    s->SetRowFormat(1, 22);
    EXPECT_EQ(s->GetRowFormat(1), 22);
    EXPECT_EQ(s->Cells()->CellList()->Items(1)->Items(0)->XF(), 22);
    EXPECT_EQ(s->Cells()->CellList()->Items(1)->Items(1)->XF(), 22);
    s->SetRowFormat(9, 23); // beyond the cells: only the ROW record
    EXPECT_EQ(s->GetRowFormat(9), 23);

    auto back = b.Loaded(Saved(*s));
    EXPECT_EQ(back->GetRowHeight(4), 600);
    EXPECT_TRUE(back->GetRowHidden(4));
    EXPECT_EQ(back->GetRowFormat(1), 22);
}

TEST(SheetProps, OutlineLevelsMakeGutsBeforeDefaultRowHeight)
{
    Book b;
    auto s = b.Loaded(PrintSheet());
    s->SetRowOulineLevel(3, 2);
    EXPECT_EQ(s->GetRowOutlineLevel(3), 2);
    auto r = SavedRecords(*s);
    const int g = IndexOf(r, 0x0080);
    ASSERT_GE(g, 0);
    EXPECT_EQ(r[size_t(g + 1)].Id, 0x0225);
    // Row outline area 12 * 2 + 29 wide, levels + 1 stored; no column levels.
    EXPECT_EQ(r[size_t(g)].Data, Le16(53) + Le16(0) + Le16(3) + Le16(0));

    s->SetColOulineLevel(4, 1);
    EXPECT_EQ(s->GetColOutlineLevel(4), 1);
    EXPECT_EQ(s->GetColWidth(4), s->DefColWidth());
    r = SavedRecords(*s);
    EXPECT_EQ(CountOf(r, 0x0080), 1);
    EXPECT_EQ(Find(r, 0x0080).Data, Le16(53) + Le16(41) + Le16(3) + Le16(2));
    auto back = b.Loaded(Saved(*s));
    EXPECT_EQ(back->GetRowOutlineLevel(3), 2);
    EXPECT_EQ(back->GetColOutlineLevel(4), 1);
}

TEST(SheetProps, MergingSwallowsWhatItTouches)
{
    Book b;
    // A1:B2 and A3:C4, each in its own record.
    auto s = b.Loaded(SheetBof() + Dimensions(0, 0, 0, 0) + Window2() + Merged(0, 1, 0, 1) + Merged(2, 3, 0, 2) + Eof());
    EXPECT_EQ(s->CellMergedListCount(), 2);
    const TXlsCellRange second = s->CellMergedList(1);
    EXPECT_EQ(LTRB(second), (Box{0, 2, 2, 3}));
    for (int bad : {-1, 2})
        EXPECT_EQ(LTRB(s->CellMergedList(bad)), (Box{0, 0, 0, 0})) << bad;
    const TXlsCellRange alone = s->CellMergedBounds(5, 4);
    EXPECT_EQ(LTRB(alone), (Box{4, 5, 4, 5}));
    EXPECT_EQ(s->CellMergedBounds(3, 1).Top, 2);

    // C2:D3, given by reversed corners, touches only A3:C4; swallowing it reaches A1:B2, which
    // sits in the list before it, so one pass is not enough.
    s->MergeCells(2, 3, 1, 2);
    EXPECT_EQ(s->CellMergedListCount(), 1);
    const TXlsCellRange all = s->CellMergedBounds(0, 0);
    EXPECT_EQ(LTRB(all), (Box{0, 0, 3, 3}));
    EXPECT_EQ(s->CellMergedBounds(3, 3).Left, 0);

    s->UnMergeCells(3, 3, 0, 0);
    EXPECT_EQ(s->CellMergedListCount(), 0);

    auto fresh = b.Loaded(BareSheet());
    fresh->MergeCells(0, 0, 0, 3);
    EXPECT_EQ(fresh->CellMergedListCount(), 1);
    EXPECT_EQ(b.Loaded(Saved(*fresh))->CellMergedBounds(0, 2).Right, 3);
}

namespace {

// The globals and the one sheet of the built-in empty workbook, so that names have a sheet.
struct TemplateBook : Book
{
    std::unique_ptr<TWorkSheet> Sheet;
    TemplateBook()
    {
        Stream st(tpl::StreamBytes(QStringLiteral("Workbook")));
        auto *first = static_cast<TBOFRecord *>(LoadRecord(st.file.get(), st.Header));
        Globals.LoadFromStream(st.file.get(), st.Header, first, nullptr);
        std::unique_ptr<TBaseRecord> bof(LoadRecord(st.file.get(), st.Header));
        Sheet = New();
        Sheet->LoadFromStream(st.file.get(), st.Header, static_cast<TBOFRecord *>(bof.release()), &Globals.SST());
    }
};

} // namespace

TEST(SheetProps, AutoFilterArrowsRecordAndHiddenName)
{
    TemplateBook b;
    TWorkSheet &s = *b.Sheet;
    EXPECT_FALSE(s.HasAutoFilter());
    EXPECT_EQ(LTRB(s.GetAutoFilterRange(0)), (Box{-1, -1, -1, -1}));

    s.SetAutoFilter(0, 4, 1, 3);
    EXPECT_TRUE(s.HasAutoFilter());
    auto r = SavedRecords(s);
    const int info = IndexOf(r, 0x009D);
    ASSERT_GE(info, 0);
    EXPECT_EQ(r[size_t(info)].Data, Le16(3));
    EXPECT_EQ(r[size_t(info + 1)].Id, 0x0055); // before DEFCOLWIDTH
    EXPECT_EQ(CountOf(r, 0x005D), 3); // one arrow per column

    TNameRecord *n = b.Globals.GetName(0, QString(QChar(0x0D)));
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(GetWord(n->Data, 0), 0x21);
    // An absolute 3-D area of the sheet: rows 4..4, columns 1..3.
    const QByteArray tokens(reinterpret_cast<const char *>(n->Data) + n->TokenStart(), n->TokenLength());
    ASSERT_EQ(tokens.size(), 11);
    EXPECT_EQ(uint8_t(tokens[0]), 0x3B);
    EXPECT_EQ(tokens.mid(3), Le16(4) + Le16(4) + Le16(1) + Le16(3));
    const TXlsCellRange fr = s.GetAutoFilterRange(0);
    EXPECT_EQ(LTRB(fr), (Box{1, 4, 3, 4}));
    EXPECT_TRUE(s.HasAutoFilter(0, 4, 3));
    EXPECT_FALSE(s.HasAutoFilter(0, 4, 4));
    EXPECT_FALSE(s.HasAutoFilter(0, 5, 2));

    // Set again on other columns: the arrows and the name are replaced, not added to.
    s.SetAutoFilter(0, 0, 0, 1);
    r = SavedRecords(s);
    EXPECT_EQ(CountOf(r, 0x005D), 2);
    EXPECT_EQ(CountOf(r, 0x009D), 1);
    EXPECT_EQ(s.GetAutoFilterRange(0).Right, 1);

    // Col2 < Col1 removes it; the name stays.
    s.SetAutoFilter(0, 0, 2, 0);
    EXPECT_FALSE(s.HasAutoFilter());
    EXPECT_FALSE(s.HasAutoFilter(0, 0, 0));
    r = SavedRecords(s);
    EXPECT_EQ(IndexOf(r, 0x009D), -1);
    EXPECT_EQ(IndexOf(r, 0x005D), -1);
    EXPECT_NE(b.Globals.GetName(0, QString(QChar(0x0D))), nullptr);
}

TEST(SheetProps, RemoveAutoFilterDropsItsRecords)
{
    Book b;
    auto s = b.Loaded(SheetBof() + Word16(0x009B, 0) + Word16(0x009D, 2) + Record(0x009E, Le16(0) + Le16(0) + QByteArray(16, 0))
                      + DefColWidth(8) + Dimensions(0, 0, 0, 0) + Window2() + Eof());
    EXPECT_TRUE(s->HasAutoFilter());
    s->RemoveAutoFilter();
    EXPECT_FALSE(s->HasAutoFilter());
    const auto ids = IdsOf(SavedRecords(*s));
    for (int id : {0x009B, 0x009D, 0x009E})
        EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 0) << id;
}

TEST(SheetProps, PrintValuesOutsideAWordAreRefused)
{
    Book b;
    auto s = b.Loaded(PrintSheet());
    const struct
    {
        const char *Name;
        std::function<void(int)> Write;
    } props[] = {{"PrintScale", [&](int v) { s->SetPrintScale(v); }},
                 {"PrintPaperSize", [&](int v) { s->SetPrintPaperSize(v); }},
                 {"PrintCopies", [&](int v) { s->SetPrintCopies(v); }},
                 {"PrintXResolution", [&](int v) { s->SetPrintXResolution(v); }},
                 {"PrintYResolution", [&](int v) { s->SetPrintYResolution(v); }}};
    for (const auto &p : props) {
        for (int v : {70000, -1})
            EXPECT_EQ(ErrorOf([&] { p.Write(v); }),
                      QStringLiteral("The index \"%1\" of the property \"%2\" is not in the range 0-65535")
                          .arg(v)
                          .arg(QLatin1String(p.Name)))
                << p.Name;
        EXPECT_EQ(ErrorOf([&] { p.Write(65535); }), QString()) << p.Name;
    }
    EXPECT_EQ(s->PrintCopies(), 65535);
    // Refused also where there is no SETUP to write to.
    auto bare = b.Loaded(BareSheet());
    EXPECT_FALSE(ErrorOf([&] { bare->SetPrintCopies(70000); }).isEmpty());
}

TEST(SheetProps, PrinterDriverSettingsGoBeforeSetup)
{
    Book b;
    // SETUP marked "no printer settings": its fields do not count.
    auto s = b.Loaded(SheetBof() + Word16(0x0084, 0) + SetupRecord(0x44, 9, 80, 1, 1, 300, 600, 0.5, 0.5, 2) + Window2()
                      + Eof());
    EXPECT_EQ(s->PrintPaperSize(), 0);
    EXPECT_EQ(s->PrintYResolution(), 100);
    s->SetPrinterDriverSettings(TPrinterDriverSettings{3, {1, 2, 3}});
    EXPECT_EQ(s->PrintOptions(), 0x40);
    EXPECT_EQ(s->PrintPaperSize(), 9);
    EXPECT_EQ(s->PrintYResolution(), 600);
    auto r = SavedRecords(*s);
    const int pls = IndexOf(r, 0x004D);
    ASSERT_GE(pls, 0);
    EXPECT_EQ(r[size_t(pls)].Data, Le16(3) + B({1, 2, 3}));
    EXPECT_EQ(r[size_t(pls + 1)].Id, 0x00A1);

    // Replaced, never doubled.
    s->SetPrinterDriverSettings(TPrinterDriverSettings{4, {9}});
    r = SavedRecords(*s);
    EXPECT_EQ(CountOf(r, 0x004D), 1);
    EXPECT_EQ(Find(r, 0x004D).Data, Le16(4) + B({9}));
    const TPrinterDriverSettings back = b.Loaded(Saved(*s))->PrinterDriverSettings();
    EXPECT_EQ(back.OperatingEnviroment, 4);
    EXPECT_EQ(back.Data, ByteArray{9});

    s->SetPrinterDriverSettings(TPrinterDriverSettings{4, {}});
    EXPECT_EQ(IndexOf(SavedRecords(*s), 0x004D), -1);
    EXPECT_TRUE(s->PrinterDriverSettings().Data.empty());
}

// The sheet hands itself to the drawing as the sheet the anchors are measured on.
TEST(SheetProps, PicturesAndCommentsReachTheDrawing)
{
    Book b;
    b.Globals.DrawingGroup().EnsureDwgGroup();
    auto s = b.Loaded(PrintSheet());
    TImageProperties p;
    p.Row1 = 2;
    p.Col1 = 1;
    p.Row2 = 4;
    p.Col2 = 3;
    s->AddImage(QByteArray("\xFF\xD8 a picture \xFF\xD9", 15), xli_Jpeg, p, at_MoveAndResize);
    ASSERT_EQ(s->DrawingCount(), 1);
    EXPECT_EQ(s->GetDrawingRow(0), 2);
    const TClientAnchor a = s->GetAnchor(0);
    EXPECT_EQ(a.Row1, 2);
    EXPECT_EQ(a.Col1, 1);

    s->AddNewComment(0, 2, QStringLiteral("a note"), p);
    const auto r = SavedRecords(*s);
    EXPECT_EQ(CountOf(r, 0x001C), 1); // NOTE
    EXPECT_EQ(CountOf(r, 0x005D), 2); // the picture's and the comment's OBJ

    s->DeleteImage(0);
    EXPECT_EQ(s->DrawingCount(), 0);
}
