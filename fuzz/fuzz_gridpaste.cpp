// Clipboard paste: any text, and any "TProStringGrid Cells" block, pastes or is refused without
// harm; a foreign block leaves the grid as it was; cells copied as text paste back unchanged.
#include "fuzz/FuzzCommon.h"
#include "framework/os/Clipbrd.h"
#include "grid/core/ProGrid.h"

namespace {

using Cells = std::vector<QStringList>;

QStringList Contents(TProStringGrid &g)
{
    QStringList all;
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            all << g.Cells(c, r);
    return all;
}

QString LineBreaksCRLF(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar(13), QChar(10));
    return s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

void Editable(TProStringGrid &g, int cols, int rows)
{
    g.SetOptions(g.Options() + goEditing);
    g.SetColCount(cols);
    g.SetRowCount(rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    InitializeGridUnit();
    if (Size < 1)
        return 0;
    const uint8_t mode = Data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(Data + 1), qsizetype(Size - 1));
    if ((mode & 3) == 0) {
        // A grid-format block: it pastes, or the grid stays exactly as it was.
        TProStringGrid g(nullptr);
        Editable(g, 4, 4);
        g.Navigation()->SetAllowFmtClipboard(true);
        g.SetCells(1, 1, QStringLiteral("keep"));
        const QStringList before = Contents(g);
        const int cols = g.ColCount(), rows = g.RowCount();
        Clipboard()->SetAsHandle(CF_GRIDCELLS, bytes);
        int c = 0, r = 0;
        const int n = g.PasteAt(1, 1, c, r);
        if (n == 0)
            FUZZ_CHECK(Contents(g) == before && g.ColCount() == cols && g.RowCount() == rows, QString::fromLatin1(bytes.toHex()));
        return 0;
    }
    if ((mode & 3) == 1) {
        // Any text: the count covers every field of every line, and nothing lands outside the grid.
        TProStringGrid g(nullptr);
        Editable(g, 3, 3);
        g.Navigation()->SetAllowClipboardRowGrow(mode & 4);
        g.Navigation()->SetAllowClipboardColGrow(mode & 8);
        const QString text = QString::fromUtf8(bytes);
        TPoint size;
        TProStringGrid::CountClipboardCells(text, size);
        int lines = 0, fields = 0;
        const int n = g.PasteTextAt(mode >> 4 & 3, mode >> 6, lines, fields, text);
        FUZZ_CHECK(n >= 0 && fields <= size.X && (lines == 0 || n >= lines), text);
        return 0;
    }
    // Cells copied as text paste back as they were (line breaks as CR LF).
    const Cells cells = FuzzCells(Data + 1, Size - 1, 12, 6);
    TProStringGrid src(nullptr);
    src.SetFixedRows(0);
    src.SetFixedCols(0);
    src.SetColCount(int(cells[0].size()));
    src.SetRowCount(int(cells.size()));
    for (size_t r = 0; r < cells.size(); ++r)
        for (int c = 0; c < cells[r].size(); ++c) {
            QString v = cells[r][c];
            // The wide-text marker, rich text and VT have meanings of their own on the clipboard,
            // and clipboard text ends at a NUL.
            v.replace(QStringLiteral("|\\"), QStringLiteral("|/"));
            v.replace(QStringLiteral("{\\"), QStringLiteral("{/"));
            v.replace(QChar(11), QChar(' '));
            v.replace(QChar(0), QChar(' '));
            src.SetCells(c, int(r), v);
        }
    src.CopyToClipBoard();
    TProStringGrid dst(nullptr);
    dst.SetFixedRows(0);
    dst.SetFixedCols(0);
    Editable(dst, 1, 1);
    int c = 0, r = 0;
    dst.PasteAt(0, 0, c, r);
    for (int row = 0; row < src.RowCount(); ++row)
        for (int col = 0; col < src.ColCount(); ++col) {
            const QString want = LineBreaksCRLF(src.Cells(col, row));
            const QString got = col < dst.ColCount() && row < dst.RowCount() ? dst.Cells(col, row) : QString();
            FUZZ_CHECK(got == want, QStringLiteral("cell %1,%2: %3 / %4; clipboard %5")
                                        .arg(col).arg(row).arg(want, got, Clipboard()->AsText().toUtf8().toHex()));
        }
    return 0;
}
