// Workbook globals: any bytes as a "Workbook" stream that starts with a BOF load as a globals
// section or are refused with an Exception. Every sheet prefix of the reference table reads
// inside its records or is refused; sheets inserted, renamed and deleted as the input's last bytes
// ask (a refused change leaves the sheets as they were); what loaded writes exactly TotalSize
// bytes, and what it wrote loads back and writes the same bytes again.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <functional>
#include <memory>

namespace {

// Loads G from a "Workbook" stream of bytes; false when they are refused.
bool LoadGlobals(TWorkbookGlobals &G, const QByteArray &Bytes)
{
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), Bytes)});
    auto src = ole::MemStream(L.Bytes);
    TOle2File f(src.get());
    f.SelectStream(QStringLiteral("Workbook"));
    try {
        TRecordHeader h;
        if (!FuzzReadFirstHeader(f, h))
            return false;
        std::unique_ptr<TBaseRecord> first(LoadRecord(&f, h));
        auto *bof = dynamic_cast<TBOFRecord *>(first.get());
        if (!bof)
            return false;
        first.release();
        G.LoadFromStream(&f, h, bof, nullptr);
        return true;
    } catch (const Exception &) {
        return false;
    }
}

QStringList SheetsOf(const TWorkbookGlobals &G)
{
    QStringList r;
    for (int i = 0; i < G.SheetCount(); ++i)
        r << G.GetSheetName(i);
    return r;
}

// A change of the sheets; a refusal must leave them as they were.
void Change(TWorkbookGlobals &G, const std::function<void()> &fn)
{
    const QStringList before = SheetsOf(G);
    try {
        fn();
    } catch (const Exception &e) {
        FUZZ_CHECK(SheetsOf(G) == before, e.Message());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    TWorkbookGlobals G;
    if (!LoadGlobals(G, input))
        return 0;

    TReferences &R = G.References();
    for (int i = 0; i < R.ExternRefCount(); ++i) {
        try {
            R.GetSheetName(i, &G);
            R.GetSheet(i);
        } catch (const Exception &) {
        }
    }

    uint8_t p[4] = {};
    for (size_t i = 0; i < 4 && i < Size; ++i)
        p[i] = Data[Size - 1 - i];
    const int32_t at = p[0] % 4, count = p[1] % 3;
    switch (p[2] % 4) {
    case 0:
        Change(G, [&] { G.InsertSheets(-1, at, 0, QStringLiteral("Sheet"), count); });
        break;
    case 1:
        Change(G, [&] { G.DeleteSheets(at, count); });
        break;
    case 2:
        Change(G, [&] {
            if (at < G.SheetCount())
                G.SetSheetName(at, QString::fromLatin1(input.right(40)));
        });
        break;
    default:
        try {
            G.SetColorPalette(p[3] % 56, 0x00ABCDEF);
        } catch (const Exception &) {
        }
        break;
    }

    QByteArray out;
    try {
        out = FuzzWriteStream([&](TOle2File &f) { G.SaveToStream(&f); });
    } catch (const Exception &) {
        return 0;
    }
    FUZZ_CHECK(out.size() == G.TotalSize(), QStringLiteral("%1 %2").arg(out.size()).arg(G.TotalSize()));

    TWorkbookGlobals Again;
    FUZZ_CHECK(LoadGlobals(Again, out), QString());
    const QByteArray again = FuzzWriteStream([&](TOle2File &f) { Again.SaveToStream(&f); });
    FUZZ_CHECK(again == out, QStringLiteral("%1 %2").arg(again.size()).arg(out.size()));
    return 0;
}
