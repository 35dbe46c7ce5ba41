// Hyperlinks and manual page breaks: any bytes as a "Workbook" stream load record by record or are
// refused with an Exception; a link's properties read inside its data and a link rebuilt from them
// reads the same; links and breaks, moved by rows taken from the input (a refused move changes
// nothing), write exactly the size they announce and load back with the same properties and places.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/records/duzUXlsPageBreaks.h"

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using TLinkState = std::tuple<int, int, int, int, QString, QString, QString, QString, QString, int>;

TLinkState StateOf(const THLinkRecord *r)
{
    const THyperLink h = r->GetProperties();
    return {r->FirstRow(), r->LastRow(), r->FirstCol(), r->LastCol(), h.Description, h.TargetFrame,
            h.TextMark,    h.Text,      h.Hint,       int(h.LinkType)};
}

std::vector<TLinkState> StateOf(const THLinkList &list)
{
    std::vector<TLinkState> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(StateOf(list.Items(i)));
    return out;
}

std::tuple<int, int, int> Words(const THBreakData &b) { return {b.Row, b.Col1, b.Col2}; }
std::tuple<int, int, int> Words(const TVBreakData &b) { return {b.Col, b.Row1, b.Row2}; }

template <class L> std::vector<std::tuple<int, int, int>> BreaksOf(const L &list)
{
    std::vector<std::tuple<int, int, int>> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(Words(list.Items(i)->BreakData));
    return out;
}

bool SameLink(const THyperLink &a, const THyperLink &b)
{
    return a.LinkType == b.LinkType && a.Text == b.Text && a.TextMark == b.TextMark
           && a.Description == b.Description && a.TargetFrame == b.TargetFrame && a.Hint == b.Hint;
}

// A move of rows or columns; a refusal must leave the lists as they were.
template <class Fn, class TState> void Move(Fn &&fn, TState &&state)
{
    const auto before = state();
    try {
        fn();
    } catch (const Exception &e) {
        FUZZ_CHECK(state() == before, e.Message());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), input)});
    auto src = ole::MemStream(L.Bytes);
    TOle2File f(src.get());
    f.SelectStream(QStringLiteral("Workbook"));
    const auto records = FuzzLoadRecords(f);

    THLinkList links;
    THPageBreakList hBreaks;
    TVPageBreakList vBreaks;
    for (const auto &r : records) {
        try {
            if (auto *link = dynamic_cast<THLinkRecord *>(r.get())) {
                const THyperLink h = link->GetProperties();
                links.Add(CopyOf(link));
                std::unique_ptr<THLinkRecord> rebuilt;
                try {
                    rebuilt.reset(THLinkRecord::CreateNew(link->GetCellRange(), h));
                } catch (const Exception &e) {
                    FUZZ_CHECK(e.Message() == QStringLiteral("Invalid String record"), e.Message());
                    continue;
                }
                FUZZ_CHECK(SameLink(rebuilt->GetProperties(), h), h.Text);
                links.Add(rebuilt.release());
            } else if (auto *hb = dynamic_cast<THPageBreakRecord *>(r.get())) {
                hBreaks.AddRecord(CopyOf(hb));
            } else if (auto *vb = dynamic_cast<TVPageBreakRecord *>(r.get())) {
                vBreaks.AddRecord(CopyOf(vb));
            }
        } catch (const Exception &) {
        }
    }

    // Moves from the input's last bytes, with few copies so that a run stays small.
    uint8_t p[8] = {};
    for (size_t i = 0; i < 8 && i < Size; ++i)
        p[i] = Data[Size - 1 - i];
    const int32_t at = GetWord(p, 0), count = p[2] % 4, span = p[3] % 8;
    TSheetInfo sheet;
    sheet.InsSheet = sheet.FormulaSheet = 0;
    const bool cols = p[4] & 1;
    const TXlsCellRange block = cols ? TXlsCellRange{at & 0xFF, 0, std::min(255, (at & 0xFF) + span), 65535}
                                     : TXlsCellRange{0, at, 255, std::min(65535, at + span)};
    const int32_t dest = GetWord(p, 5);
    const auto linkState = [&] { return StateOf(links); };
    switch (p[7] % 3) {
    case 0:
        Move([&] { links.InsertAndCopyRange(block, cols ? 0 : dest, cols ? dest & 0xFF : 0, cols ? 0 : count,
                                            cols ? count : 0, sheet); },
             linkState);
        Move([&] { hBreaks.InsertRows(at, count * (span + 1)); }, [&] { return BreaksOf(hBreaks); });
        Move([&] { vBreaks.InsertCols(at & 0xFF, count * (span + 1)); }, [&] { return BreaksOf(vBreaks); });
        break;
    case 1:
        Move([&] { links.DeleteRange(block, cols ? 0 : count, cols ? count : 0, sheet); }, linkState);
        hBreaks.DeleteRows(at, count * (span + 1));
        vBreaks.DeleteCols(at & 0xFF, count * (span + 1));
        break;
    default:
        break;
    }

    TMemoryStream out;
    int64_t written = 0;
    {
        src->SetPosition(0);
        TOle2File w(src.get());
        w.PrepareForWrite(&out, QStringLiteral("Workbook"), {});
        const int64_t start = w.Position();
        links.SaveToStream(&w);
        FUZZ_CHECK(w.Position() - start == links.TotalSize(), QString());
        hBreaks.SaveToStream(&w);
        vBreaks.SaveToStream(&w);
        written = w.Position() - start;
        FUZZ_CHECK(written == links.TotalSize() + hBreaks.TotalSize() + vBreaks.TotalSize(), QString());
        w.Close();
    }
    if (written == 0)
        return 0;

    // What was written loads back as it was: links in their sorted order, then the breaks. The
    // written stream may be longer than what went into it, so only that part is read.
    QByteArray bytes(qsizetype(written), 0);
    {
        auto copy = ole::MemStream(out.Bytes());
        TOle2File g(copy.get());
        g.SelectStream(QStringLiteral("Workbook"));
        g.ReadMem(bytes.data(), written);
    }
    const ole::Layout W = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), bytes)});
    auto back = ole::MemStream(W.Bytes);
    TOle2File g(back.get());
    g.SelectStream(QStringLiteral("Workbook"));
    const auto again = FuzzLoadRecords(g);
    THLinkList linksAgain;
    THPageBreakList hAgain;
    TVPageBreakList vAgain;
    for (const auto &r : again) {
        if (auto *link = dynamic_cast<THLinkRecord *>(r.get()))
            linksAgain.Add(CopyOf(link));
        else if (auto *hb = dynamic_cast<THPageBreakRecord *>(r.get()))
            hAgain.AddRecord(CopyOf(hb));
        else if (auto *vb = dynamic_cast<TVPageBreakRecord *>(r.get()))
            vAgain.AddRecord(CopyOf(vb));
        else
            FUZZ_CHECK(r->Id == xlr_EOF, QStringLiteral("id %1").arg(r->Id, 0, 16));
    }
    FUZZ_CHECK(StateOf(linksAgain) == StateOf(links), QString());
    FUZZ_CHECK(BreaksOf(hAgain) == BreaksOf(hBreaks), QString());
    FUZZ_CHECK(BreaksOf(vAgain) == BreaksOf(vBreaks), QString());
    return 0;
}
