// Whole workbooks: any bytes as a "Workbook" stream load into a workbook or are refused with an
// Exception; sheets inserted, deleted or activated as the input's last bytes ask; what the
// workbook writes loads back and writes the same bytes again.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"

#include <memory>

namespace {

// Loads W from a "Workbook" stream of bytes; false when they are refused.
bool LoadBook(TWorkbook &W, const QByteArray &Bytes)
{
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), Bytes)});
    auto src = ole::MemStream(L.Bytes);
    TOle2File f(src.get());
    f.SelectStream(QStringLiteral("Workbook"));
    try {
        W.LoadFromStream(&f);
        return true;
    } catch (const Exception &) {
        return false;
    }
}

QByteArray SaveBook(TWorkbook &W)
{
    return FuzzWriteStream([&](TOle2File &f) { W.SaveToStream(&f, false); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    TWorkbook W;
    if (!LoadBook(W, input))
        return 0;

    uint8_t p[4] = {};
    for (size_t i = 0; i < 4 && i < Size; ++i)
        p[i] = Data[Size - 1 - i];
    const int32_t at = p[0] % 4, count = p[1] % 3;
    try {
        switch (p[2] % 4) {
        case 0:
            W.InsertSheets(-1, at, count);
            break;
        case 1:
            W.DeleteSheets(at, count);
            break;
        case 2:
            if (at < W.Sheets()->Count())
                W.SetActiveSheet(at);
            break;
        default:
            break;
        }
    } catch (const Exception &) {
    }

    QByteArray out;
    try {
        out = SaveBook(W);
    } catch (const Exception &) {
        return 0;
    }

    TWorkbook Again;
    FUZZ_CHECK(LoadBook(Again, out), QString());
    QByteArray again;
    try {
        again = SaveBook(Again);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, e.Message());
    }
    FUZZ_CHECK(again == out, QStringLiteral("%1 %2").arg(again.size()).arg(out.size()));
    return 0;
}
