// A worksheet with every kind of part: the size announced is the size written, what it wrote
// loads and writes back byte for byte, cleared it is the built-in workbook's empty sheet, and the
// same sheet cut short or with its records in another order is loaded or refused without harm.
#include "SheetFixture.h"

#include "xlsAdapter/workbook/duzUXlsEmptyWorkbook.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"

#include <algorithm>
#include <random>

using namespace sheet;

namespace {

// The records of a written section, each with its header.
std::vector<QByteArray> Records(const QByteArray &b)
{
    std::vector<QByteArray> out;
    const auto *p = reinterpret_cast<const uint8_t *>(b.constData());
    for (int at = 0; at + 4 <= b.size();) {
        const int n = 4 + GetWord(p, at + 2);
        out.push_back(b.mid(at, n));
        at += n;
    }
    return out;
}

const QByteArray Jpeg("\xFF\xD8" "a picture" "\xFF\xD9", 13);

QByteArray LinkRecord(int row, int col)
{
    THyperLink h;
    h.LinkType = hl_URL;
    h.Text = QStringLiteral("http://example.org");
    std::unique_ptr<THLinkRecord> r(THLinkRecord::CreateNew({col, row, col, row}, h));
    return Saved(*r);
}

// Cells, a formula with a text result, merged ranges, columns, page breaks and a hyperlink; the
// picture and the note are added once loaded.
QByteArray RichSheet()
{
    return SheetBof() + DefColWidth(8) + ColInfo(1, 2, 3000) + Dimensions(0, 4, 0, 3) + Row(0, 0, 3) + Row(3, 0, 3)
           + Number(0, 0, 1.5) + Number(0, 2, -4) + TextFormula(3, 1) + StringResult("ab") + HBreak(2) + VBreak(1)
           + Window2() + Record(0x001D, B({3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0})) + Merged(0, 1, 0, 1)
           + Merged(3, 3, 2, 3) + LinkRecord(3, 0) + Eof();
}

struct Rich
{
    Book b;
    std::unique_ptr<TWorkSheet> s;
    Rich()
    {
        b.Globals.DrawingGroup().EnsureDwgGroup();
        s = b.Loaded(RichSheet());
        TImageProperties p;
        p.Row1 = 1;
        p.Col1 = 1;
        p.Row2 = 4;
        p.Col2 = 3;
        p.dx1 = 100;
        s->Drawing()->AddImage(Jpeg, xli_Jpeg, s.get(), at_MoveAndResize, p);
        p.Row1 = 0;
        p.Col1 = 3;
        p.Row2 = 2;
        p.Col2 = 5;
        s->Notes()->AddNewComment(0, 2, QStringLiteral("a note"), s->Drawing(), p, s.get());
        // As a workbook does, the group is written before the sheets: the sheets' pictures
        // refer to its entries by their place.
        Group = Written([&](TOle2File &f) { b.Globals.DrawingGroup().SaveToStream(&f); });
    }
    QByteArray Group;
};

// A workbook whose drawing group is read from Bytes.
void LoadGroup(Book &b, const QByteArray &Bytes)
{
    Stream s(Bytes);
    std::unique_ptr<TBaseRecord> first(LoadRecord(s.file.get(), s.Header));
    auto *g = dynamic_cast<TDrawingGroupRecord *>(first.get());
    ASSERT_NE(g, nullptr);
    first.release();
    b.Globals.DrawingGroup().LoadFromStream(s.file.get(), s.Header, g);
}

// The sheet of the built-in empty workbook, record by record as stored there but for its INDEX,
// which a loaded sheet drops, and its DIMENSIONS, which an empty cell store writes with one
// column.
QByteArray TemplateSheet()
{
    const ByteArray &t = EmptyWorkbookTemplate();
    auto mem = ole::MemStream(QByteArray(reinterpret_cast<const char *>(t.data()), qsizetype(t.size())));
    TOle2File f(mem.get());
    f.SelectStream(QStringLiteral("Workbook"));
    int eofs = 0;
    QByteArray sheet;
    for (const QByteArray &r : Records(ole::ReadAll(f))) {
        const int id = GetWord(reinterpret_cast<const uint8_t *>(r.constData()), 0);
        if (eofs == 1 && id == 0x0200)
            sheet += Dimensions(0, 0, 0, 1);
        else if (eofs == 1 && id != 0x020B)
            sheet += r;
        if (id == 0x000A && ++eofs == 2)
            break;
    }
    return sheet;
}

// The sheet written after its workbook's drawing group, as a workbook writes them.
QByteArray SavedAfterGroup(Book &b, TWorkSheet &S)
{
    Written([&](TOle2File &f) { b.Globals.DrawingGroup().SaveToStream(&f); });
    return Saved(S);
}

// Loads the bytes or has them refused (false); what loads writes the size it announces and loads
// back to the same bytes.
bool LoadsOrIsRefused(Book &b, const QByteArray &in, const std::string &what)
{
    auto s = b.New();
    try {
        b.Load(*s, in);
    } catch (const Exception &) {
        return false;
    }
    const QByteArray out = SavedAfterGroup(b, *s);
    EXPECT_EQ(out.size(), s->TotalSize()) << what;
    auto back = b.New();
    b.Load(*back, out);
    EXPECT_EQ(SavedAfterGroup(b, *back), out) << what;
    return true;
}

} // namespace

TEST(WorkSheetRoundTrip, EveryPartIsSizedAndWrittenBackByteForByte)
{
    Rich r;
    const int64_t size = r.s->FixTotalSize(false);
    const QByteArray out = Saved(*r.s);
    EXPECT_EQ(out.size(), size);
    const std::vector<int> ids = Ids(out);
    for (int id : {0x001B, 0x001A, 0x007D, 0x0006, 0x0207, 0x00EC, 0x005D, 0x01B6, 0x001C, 0x023E, 0x00E5, 0x01B8})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << std::hex << id;

    Book b2;
    LoadGroup(b2, r.Group);
    auto back = b2.Loaded(out);
    EXPECT_EQ(back->TotalSize(), size);
    EXPECT_EQ(SavedAfterGroup(b2, *back), out);
    EXPECT_EQ(back->Drawing()->DrawingCount(), 1);
    const TNoteRecordList *notes = back->Notes()->Items(0);
    ASSERT_EQ(notes->Count(), 1);
    EXPECT_EQ(static_cast<const TNoteRecord *>(notes->Items(0))->Text(), "a note");

    // Measured for a recalculation, the formula drops its text result and what is written
    // afterwards has that size.
    const int64_t recalc = back->FixTotalSize(true);
    const QByteArray written = SavedAfterGroup(b2, *back);
    EXPECT_EQ(written.size(), recalc);
    EXPECT_FALSE(Ids(written) == ids);
}

TEST(WorkSheetTemplate, ClearValuesLeavesTheEmptySheetOfTheBuiltInWorkbook)
{
    const QByteArray empty = TemplateSheet();
    EXPECT_EQ(Ids(empty), (std::vector<int>{0x0809, 0x000D, 0x000C, 0x000F, 0x0011, 0x0010, 0x005F, 0x002A, 0x002B,
                                            0x0082, 0x0080, 0x0225, 0x0081, 0x0014, 0x0015, 0x0083, 0x0084, 0x00A1,
                                            0x0055, 0x0200, 0x023E, 0x001D, 0x00EF, 0x000A}));

    Rich r;
    r.s->ClearValues();
    const QByteArray cleared = SavedAfterGroup(r.b, *r.s);
    EXPECT_EQ(cleared, empty);
    EXPECT_EQ(cleared.size(), r.s->TotalSize());
    EXPECT_EQ(r.s->Drawing()->DrawingCount(), 0);
    EXPECT_EQ(r.s->Notes()->Count(), 0);
    EXPECT_EQ(r.s->DefColWidth(), 8 * 293);
    EXPECT_EQ(r.s->DefRowHeight(), 255);

    std::unique_ptr<TWorkSheet> fresh(TWorkSheet::CreateFromData(&r.b.Globals, &r.b.Globals.SST()));
    EXPECT_EQ(Saved(*fresh), empty);
}

TEST(WorkSheetBadInput, CutAtEveryByteOrShuffledLoadsOrIsRefused)
{
    Rich r;
    const QByteArray full = Saved(*r.s);
    for (int n = 0; n < full.size(); ++n)
        LoadsOrIsRefused(r.b, full.left(n), "cut at " + std::to_string(n));
    // A sheet whose stream ends before its EOF is cut: refused.
    EXPECT_FALSE(LoadsOrIsRefused(r.b, full.left(full.size() - 4), "no EOF"));

    // The BOF stays first; the other records change places.
    std::vector<QByteArray> recs = Records(full);
    std::mt19937 rng(52);
    bool someLoaded = false;
    for (int round = 0; round < 300; ++round) {
        std::shuffle(recs.begin() + 1, recs.end(), rng);
        QByteArray in;
        for (const QByteArray &x : recs)
            in += x;
        someLoaded |= LoadsOrIsRefused(r.b, in, "shuffle " + std::to_string(round));
    }
    EXPECT_TRUE(someLoaded);
}
