// Compound files: any bytes open and give their "Workbook" stream, or are refused with an
// Exception; the stream reads to its announced length in pieces of any size, and its records
// load one by one or are refused the same way.
#include "fuzz/FuzzCommon.h"
#include "framework/rtl/Streams.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 1)
        return 0;
    // The first byte chooses the piece size of the plain reads.
    const int64_t piece = 1 + Data[0] * 37;
    TMemoryStream mem;
    mem.Write(Data + 1, int64_t(Size - 1));
    mem.SetPosition(0);
    try {
        TOle2File f(&mem);
        f.SelectStream(QStringLiteral("Workbook"));
        const int64_t length = f.Length();
        QByteArray buf(piece, 0);
        int64_t done = 0;
        while (!f.Eof()) {
            const int64_t n = std::min(piece, length - done);
            f.ReadMem(buf.data(), n);
            done += n;
        }
        FUZZ_CHECK(done == length, QString());

        mem.SetPosition(0);
        TOle2File g(&mem);
        g.SelectStream(QStringLiteral("Workbook"));
        TRecordHeader h;
        if (!g.NextEof(3)) {
            uint8_t b[4];
            g.ReadMem(b, 4);
            h.Id = GetWord(b, 0);
            h.Size = GetWord(b, 2);
        }
        for (int i = 0; i < 4096; ++i) {
            std::unique_ptr<TBaseRecord> r(LoadRecord(&g, h));
            if (r->Id == xlr_EOF)
                break;
        }
    } catch (const Exception &) {
    }
    return 0;
}
