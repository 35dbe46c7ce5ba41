// Fixed-width text: any bytes load with any start positions; what the writer writes with the
// widths it chooses loads back as each cell padded to its width (trimmed: the trimmed cell).
#include "fuzz/FuzzCommon.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"

namespace {

void Empty(TProStringGrid &g)
{
    g.SetColCount(1);
    g.SetRowCount(1);
    g.SetFixedCols(0);
    g.SetFixedRows(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 1)
        return 0;
    const uint8_t options = Data[0];
    TProStringGrid first(nullptr);
    Empty(first);
    if (!(options & 1)) {
        // Reading: start positions from the next bytes, then the file.
        const size_t n = std::min<size_t>(Size - 1, 2 + (options >> 1) % 5);
        std::vector<int32_t> starts;
        for (size_t i = 0; i < n; ++i)
            starts.push_back(int32_t(Data[1 + i]) - 8);
        FuzzWriteFile(QStringLiteral("in.txt"), Data + 1 + n, Size - 1 - n);
        first.LoadFromFixed(FuzzPath(QStringLiteral("in.txt")), starts, options & 0x80, int(options >> 5) % 3 - 1);
    } else {
        const std::vector<QStringList> cells = FuzzCells(Data + 1, Size - 1, 30, 10);
        first.SetRowCount(int(cells.size()));
        first.SetColCount(int(cells[0].size()));
        for (size_t r = 0; r < cells.size(); ++r)
            for (int c = 0; c < cells[r].size(); ++c)
                first.SetCells(c, int(r), cells[r][c]);
    }

    std::vector<int32_t> widths;
    first.SaveToFixed(FuzzPath(QStringLiteral("out.txt")), widths);
    FUZZ_CHECK(int(widths.size()) == first.ColCount(), QString());
    std::vector<int32_t> starts{1};
    for (int32_t w : widths)
        starts.push_back(starts.back() + w);
    const bool trim = options & 2;
    TProStringGrid second(nullptr);
    Empty(second);
    second.LoadFromFixed(FuzzPath(QStringLiteral("out.txt")), starts, trim, -1);
    FUZZ_CHECK(second.RowCount() == first.RowCount(), QString());
    FUZZ_CHECK(second.ColCount() == first.ColCount(), QString());
    for (int r = 0; r < first.RowCount(); ++r)
        for (int c = 0; c < first.ColCount(); ++c) {
            const QString cell = first.Cells(c, r);
            QString written = cell;
            LineBreaksToVT(written);
            const QString expected = trim ? Trim(cell) : cell + QString(widths[size_t(c)] - written.size(), QChar(' '));
            FUZZ_CHECK(second.Cells(c, r) == expected,
                       QStringLiteral("row %1 col %2:\n%3%4").arg(r).arg(c).arg(FuzzShow({{cell}}), FuzzShow({{second.Cells(c, r)}})));
        }
    return 0;
}
