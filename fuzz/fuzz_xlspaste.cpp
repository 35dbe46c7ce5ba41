// Clipboard data in the "Biff8" format pasted into a new one-sheet workbook: the input after its
// first byte as a whole compound file, or (first byte odd) as the "Workbook" stream of one. The
// other bits of the first byte choose the cell the paste goes to. Data that does not paste raises an Exception and leaves the
// workbook byte for byte as it was and not marked modified; what pastes saves, and the saved
// file opens and saves to the same bytes.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzWorkbook.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/file/duzUXlsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size == 0)
        return 0;
    QByteArray input(reinterpret_cast<const char *>(Data) + 1, qsizetype(Size - 1));
    if (Data[0] & 1)
        input = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), input)}).Bytes;
    // Mostly near the top left, sometimes at the sheet's far edges.
    const int at = Data[0] >> 1;
    const int32_t row = at & 0x40 ? 65531 + (at & 3) : 1 + (at & 7);
    const int32_t col = at & 0x20 ? 252 + ((at >> 2) & 3) : 1 + ((at >> 3) & 3);

    TXLSFile F(nullptr);
    F.Connect();
    F.NewFile(1);
    const QByteArray before = FuzzSavedWorkbook(F);
    try {
        auto m = ole::MemStream(input);
        F.PasteFromXlsClipboardFormat(row, col, m.get());
    } catch (const Exception &) {
        FUZZ_CHECK(!F.IsFileModified, QStringLiteral("marked modified by a refused paste"));
        FUZZ_CHECK(FuzzSavedWorkbook(F) == before, QStringLiteral("changed by a refused paste"));
        F.Disconnect();
        return 0;
    }

    QByteArray saved;
    try {
        saved = FuzzSavedWorkbook(F);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, QStringLiteral("pasted cells do not save: ") + e.Message());
    }
    F.Disconnect();
    TXLSFile Again(nullptr);
    Again.Connect();
    QByteArray again;
    try {
        auto m = ole::MemStream(saved);
        Again.LoadFromStream(m.get());
        Again.IsFileModified = true; // saved as the pasted workbook was
        again = FuzzSavedWorkbook(Again);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, e.Message());
    }
    Again.Disconnect();
    FUZZ_CHECK(again == saved, QStringLiteral("%1 %2").arg(again.size()).arg(saved.size()));
    return 0;
}
