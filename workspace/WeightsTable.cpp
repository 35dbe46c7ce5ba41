// The weights check shared by the user-defined dialogs.
#include "workspace/WeightsTable.h"
#include "framework/controls/Dialogs.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/SysUtils.h"

bool CheckWeightsTable(TStringGrid *Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r)
        if (!(LeadingReal(Grid->Cells(1, r)) > 0)) {
            ShowMessage(QStringLiteral("Weights must be > 0 \r\nerror row: ") + IntToStr(r));
            return false;
        }
    return true;
}
