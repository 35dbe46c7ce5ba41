// Delimited text: any bytes load or are refused as empty; what the writer writes, with any of
// its options, loads back as the same cells.
#include "fuzz/FuzzCommon.h"
#include "framework/rtl/Exceptions.h"
#include "grid/core/ProGrid.h"

namespace {

using Cells = std::vector<QStringList>;

const QChar kDelimiters[] = {QChar(0), QChar(','), QChar(';'), QChar(9), QChar(' '), QChar('|'), QChar('-'), QChar('#')};

struct Options
{
    QChar delimiter;
    bool java, quoteEmpty, alwaysQuotes, fromCells;
    explicit Options(uint8_t b)
        : delimiter(kDelimiters[b & 7]), java(b & 8), quoteEmpty(b & 16), alwaysQuotes(b & 32), fromCells(b & 64)
    {
    }
    void Apply(TProStringGrid &g) const
    {
        g.SetDelimiter(delimiter);
        g.SetJavaCSV(java);
        g.SetQuoteEmptyCells(quoteEmpty);
        g.SetAlwaysQuotes(alwaysQuotes);
    }
};

void Empty(TProStringGrid &g)
{
    g.SetColCount(1);
    g.SetRowCount(1);
    g.SetFixedCols(0);
    g.SetFixedRows(0);
}

Cells Contents(TProStringGrid &g, int cols)
{
    Cells rows;
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < cols; ++c)
            row << (c < g.ColCount() ? g.Cells(c, r) : QString());
        rows.push_back(row);
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 1)
        return 0;
    const Options o(Data[0]);
    TProStringGrid first(nullptr);
    Empty(first);
    o.Apply(first);
    if (o.fromCells) {
        const Cells cells = FuzzCells(Data + 1, Size - 1, 40, 12);
        first.SetRowCount(int(cells.size()));
        first.SetColCount(int(cells[0].size()));
        for (size_t r = 0; r < cells.size(); ++r)
            for (int c = 0; c < cells[r].size(); ++c)
                first.SetCells(c, int(r), cells[r][c]);
    } else {
        FuzzWriteFile(QStringLiteral("in.csv"), Data + 1, Size - 1);
        try {
            first.LoadFromCSV(FuzzPath(QStringLiteral("in.csv")), -1);
        } catch (const Exception &e) {
            FUZZ_CHECK(e.Message() == QStringLiteral("File is empty"), e.Message());
            return 0;
        }
        FUZZ_CHECK(first.Delimiter() == o.delimiter, QString());
    }

    const Cells written = Contents(first, first.ColCount());
    first.SaveToCSV(FuzzPath(QStringLiteral("out.csv")), false);
    TProStringGrid second(nullptr);
    Empty(second);
    o.Apply(second);
    second.LoadFromCSV(FuzzPath(QStringLiteral("out.csv")), -1);
    const Cells read = Contents(second, first.ColCount());
    FUZZ_CHECK(second.ColCount() <= first.ColCount(), QString());
    FUZZ_CHECK(read == written, QStringLiteral("written:\n%1read:\n%2file:\n%3")
                                    .arg(FuzzShow(written), FuzzShow(read), QString::fromLatin1(FuzzReadFile(QStringLiteral("out.csv")).toHex(' '))));
    return 0;
}
