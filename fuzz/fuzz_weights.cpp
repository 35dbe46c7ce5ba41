// Weights files: any file reads into a table; the table written by the weights writer reads
// back as the same cells, and its weights read as the same numbers.
#include "fuzz/FuzzCommon.h"
#include "framework/controls/UiSeam.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "workspace/TarvixMain.h"

namespace {

std::vector<QStringList> Contents(TStringGrid &g)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < g.ColCount(); ++c)
            row << g.Cells(c, r);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TTarvix *T = FuzzMainWindow();
    TStringGrid first(nullptr);
    ReadWeightsTable(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)), &first);
    for (int r = 0; r < first.RowCount(); ++r)
        LeadingReal(first.Cells(first.ColCount() > 1 ? 1 : 0, r));
    {
        TUiScript quiet;
        FUZZ_CHECK(T->SaveGridToFile(&first, FuzzPath(QStringLiteral("weights.txt"))), QString());
    }
    TStringGrid second(nullptr);
    ReadWeightsTable(FuzzReadFile(QStringLiteral("weights.txt")), &second);
    const auto a = Contents(first), b = Contents(second);
    FUZZ_CHECK(a == b, QStringLiteral("written:\n%1read:\n%2").arg(FuzzShow(a), FuzzShow(b)));
    return 0;
}
