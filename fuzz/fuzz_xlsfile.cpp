// The workbook file object: the input as a whole compound file, or (first byte odd) as the
// "Workbook" stream of one that also holds a summary stream. What loads is saved to a file,
// which opens and saves to the same bytes; what is refused raises an Exception and leaves the
// object able to load the next file.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzWorkbook.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/file/duzUXlsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    if (Size > 0 && (Data[0] & 1))
        input = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), input.mid(1)),
                            ole::Stream(QChar(5) + QStringLiteral("SummaryInformation"), QByteArray(200, 'S'))})
                    .Bytes;

    TXLSFile F(nullptr, true);
    F.Connect();
    try {
        auto m = ole::MemStream(input);
        F.LoadFromStream(m.get());
    } catch (const Exception &) {
        F.NewFile(2);
        FUZZ_CHECK(F.SheetCount() == 2, QStringLiteral("after a refused file"));
        F.Disconnect();
        return 0;
    }

    const QString name = FuzzPath(QStringLiteral("fuzz_xlsfile.xls"));
    try {
        F.Save(true, name, {}, {});
    } catch (const Exception &) {
        F.Disconnect();
        return 0;
    }
    F.Disconnect();
    const QByteArray written = FuzzReadFile(QStringLiteral("fuzz_xlsfile.xls"));
    TXLSFile Again(nullptr);
    Again.Connect();
    QByteArray again;
    try {
        Again.OpenFile(name);
        again = FuzzSavedWorkbook(Again);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, e.Message());
    }
    Again.Disconnect();
    FUZZ_CHECK(again == written, QStringLiteral("%1 %2").arg(again.size()).arg(written.size()));
    return 0;
}
