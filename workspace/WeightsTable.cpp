// Weights tables shared by the user-defined dialogs.
#include "workspace/WeightsTable.h"
#include "framework/controls/Dialogs.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"

#include <QStringList>

double LeadingReal(const QString &S)
{
    double v = 0;
    int code = 0;
    Val(S, v, code);
    if (code == 0) return v;
    double part = 0;
    Val(S.left(code - 1), part, code);
    return code == 0 ? part : 0.0;
}

void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid)
{
    TStringList lines;
    lines.SetText(AnsiToString(Bytes));

    Grid->SetFixedRows(0);
    Grid->SetFixedCols(0);
    Grid->SetRowCount(1);
    Grid->SetColCount(1);
    Grid->SetCells(0, 0, QString());
    if (lines.Count() == 0) return;
    Grid->SetColCount(static_cast<int>(lines.Strings(0).split(QLatin1Char(' ')).size()));
    Grid->SetRowCount(lines.Count());
    for (int r = 0; r < lines.Count(); ++r) {
        const QStringList cells = lines.Strings(r).split(QLatin1Char(' '));
        for (int c = 0; c < cells.size(); ++c) Grid->SetCells(c, r, cells[c]);
    }
}

bool CheckWeightsTable(TStringGrid *Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r)
        if (!(LeadingReal(Grid->Cells(1, r)) > 0)) {
            ShowMessage(QStringLiteral("Weights must be > 0 \r\nerror row: ") + IntToStr(r));
            return false;
        }
    return true;
}
