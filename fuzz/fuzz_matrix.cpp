// Matrix text files: any file opens through File > Open (space or comma) or is refused with a
// message; the matrix then saved by the matching writer opens again as the same cells, through
// File > Open and through the batch reader alike. Cells taken straight from the input go the
// same way.
#include "fuzz/FuzzCommon.h"
#include "framework/controls/UiSeam.h"
#include "workspace/TarvixMain.h"

namespace {

using Cells = std::vector<QStringList>;

Cells Contents(TStringGrid *g)
{
    Cells rows;
    for (int r = 0; r < g->RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < g->ColCount(); ++c)
            row << g->Cells(c, r);
        rows.push_back(row);
    }
    return rows;
}

// File > Open of the named file; false when the file was refused. Messages gets what was shown
// (a file that opens may still name its short rows).
bool Open(TTarvix *T, bool Comma, const QString &Name, QStringList *Messages = nullptr)
{
    TUiScript script;
    script.FileNameNext(FuzzPath(Name));
    T->FileName.clear();
    Comma ? T->Commadelimitedtxt1Click(nullptr) : T->Spacedelimitedtext1Click(nullptr);
    if (Messages)
        *Messages = script.Messages();
    return T->FileName == FuzzPath(Name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TTarvix *T = FuzzMainWindow();
    if (Size < 1)
        return 0;
    const bool comma = Data[0] & 1;
    const QString in = QStringLiteral("in.txt"), out = QStringLiteral("out.txt");
    Cells first;
    if (Data[0] & 2) {
        first = FuzzCells(Data + 1, Size - 1, 30, 10, 2, 2);
        TStringGrid g(nullptr);
        g.SetRowCount(int(first.size()));
        g.SetColCount(int(first[0].size()));
        for (size_t r = 0; r < first.size(); ++r)
            for (int c = 0; c < first[r].size(); ++c)
                g.SetCells(c, int(r), first[r][c]);
        TUiScript quiet;
        comma ? T->SaveGridToFileComma(&g, FuzzPath(out)) : T->SaveGridToFile(&g, FuzzPath(out));
    } else {
        FuzzWriteFile(in, Data + 1, Size - 1);
        if (Data[0] & 4) {
            // The batch reader takes any file too.
            TUiScript quiet;
            T->FileName = FuzzPath(in);
            T->OpenBatchFile();
            return 0;
        }
        if (!Open(T, comma, in))
            return 0;
        first = Contents(T->MainGrid);
        TUiScript quiet;
        comma ? T->SaveGridToFileComma(T->MainGrid, FuzzPath(out)) : T->SaveGridToFile(T->MainGrid, FuzzPath(out));
    }
    const QString file = QString::fromLatin1(FuzzReadFile(out).toHex(' '));
    // Every line the writers make has the title row's width: nothing to report.
    QStringList messages;
    FUZZ_CHECK(Open(T, comma, out, &messages) && messages.isEmpty(), file + messages.join(QChar('\n')));
    const Cells opened = Contents(T->MainGrid);
    FUZZ_CHECK(opened == first, QStringLiteral("saved:\n%1opened:\n%2file:\n%3").arg(FuzzShow(first), FuzzShow(opened), file));
    TUiScript quiet;
    T->FileName = FuzzPath(out);
    T->OpenBatchFile();
    const Cells batch = Contents(T->MainGrid);
    FUZZ_CHECK(batch == first, QStringLiteral("saved:\n%1batch:\n%2file:\n%3").arg(FuzzShow(first), FuzzShow(batch), file));
    return 0;
}
