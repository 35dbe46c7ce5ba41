// Worksheet sections: any bytes as a "Workbook" stream, either a worksheet section or a globals
// section followed by one, load as the workbook loads them or are refused with an Exception. The
// view, page-break and code-name changes the input's last bytes ask for keep the size in step;
// what the sheet writes is exactly its announced size, and loads back to write the same bytes.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <memory>

namespace {

// The BOF that starts the next section, or nil (the record read is freed).
TBOFRecord *NextBof(FuzzStreamReader &in)
{
    std::unique_ptr<TBaseRecord> r(LoadRecord(&in.f, in.h));
    auto *bof = dynamic_cast<TBOFRecord *>(r.get());
    if (bof)
        r.release();
    return bof;
}

// Loads S from the bytes: a globals section first goes into G. False when they are refused.
bool LoadSheet(TWorkbookGlobals &G, TWorkSheet &S, const QByteArray &Bytes)
{
    if (Bytes.size() < 4)
        return false;
    FuzzStreamReader in(Bytes);
    try {
        TBOFRecord *bof = NextBof(in);
        if (!bof)
            return false;
        if (bof->BOFType() == 0x0005) {
            G.LoadFromStream(&in.f, in.h, bof, nullptr);
            bof = NextBof(in);
            if (!bof)
                return false;
        }
        S.LoadFromStream(&in.f, in.h, bof, &G.SST());
        return true;
    } catch (const Exception &) {
        return false;
    }
}

// The sheet's bytes, written after the workbook's drawing group as a workbook writes them (the
// sheet's pictures refer to the group's entries by their place).
QByteArray SaveSheet(TWorkbookGlobals &G, TWorkSheet &S)
{
    FuzzWriteStream([&](TOle2File &f) { G.DrawingGroup().SaveToStream(&f); });
    return FuzzWriteStream([&](TOle2File &f) { S.SaveToStream(&f); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    TWorkbookGlobals G;
    G.DrawingGroup().EnsureDwgGroup();
    auto S = std::make_unique<TWorkSheet>(&G);
    if (!LoadSheet(G, *S, input))
        return 0;

    uint8_t p[3] = {};
    for (size_t i = 0; i < 3 && i < Size; ++i)
        p[i] = Data[Size - 1 - i];
    const uint16_t at = uint16_t(p[1] | (p[2] << 8));
    try {
        switch (p[0] % 8) {
        case 0:
            S->AddZoomRecord();
            break;
        case 1:
            S->EnsurePane(true);
            break;
        case 2:
            S->EnsurePane(false);
            break;
        case 3:
            S->InsertHPageBreak(at);
            S->InsertVPageBreak(at & 0xFF);
            break;
        case 4:
            S->DeleteHPageBreak(at);
            S->DeleteVPageBreak(at & 0xFF);
            break;
        case 5:
            S->SetCodeName(QString::fromLatin1(input.right(p[1] % 40)));
            break;
        case 6:
            S->ClearValues();
            break;
        default:
            break;
        }
    } catch (const Exception &) {
    }

    QByteArray out;
    try {
        out = SaveSheet(G, *S);
    } catch (const Exception &) {
        return 0;
    }
    FUZZ_CHECK(out.size() == S->TotalSize(), QStringLiteral("%1 %2").arg(out.size()).arg(S->TotalSize()));

    auto Again = std::make_unique<TWorkSheet>(&G);
    FuzzStreamReader back(out);
    std::unique_ptr<TBOFRecord> bof(NextBof(back));
    FUZZ_CHECK(bof != nullptr, QString());
    try {
        Again->LoadFromStream(&back.f, back.h, bof.release(), &G.SST());
    } catch (const Exception &e) {
        FuzzFail("written sheet refused", e.Message());
    }
    const QByteArray again = SaveSheet(G, *Again);
    FUZZ_CHECK(again == out, QStringLiteral("%1 %2").arg(again.size()).arg(out.size()));
    return 0;
}
