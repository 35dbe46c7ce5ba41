// Cell text alignment: the grid's settings and the cell's own.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"

namespace {

uint32_t VerticalFlag(TVAlignment VA)
{
    switch (VA) {
    case vtaCenter: return DT_VCENTER;
    case vtaBottom: return DT_BOTTOM;
    default: return DT_TOP;
    }
}

}  // namespace

void TProStringGrid::SetDefaultAlignment(TAlignment v)
{
    if (FDefaultAlignment == v)
        return;
    FDefaultAlignment = v;
    Invalidate();
}

void TProStringGrid::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    FVAlign = VerticalFlag(v);
    if (!LockUpdate())
        Invalidate();
}

void TProStringGrid::SetXYOffset(const TPoint &v)
{
    FXYOffset = v;
    Invalidate();
}

void TProStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment &HA, TVAlignment &VA)
{
    HA = FDefaultAlignment;
    VA = FVAlignment;
    // A formula aligns by its calculated text, whatever the cell's own alignment says.
    bool formula = false;
    if (AutoNumAlign()) {
        QString s = GetCellEx(ACol, ARow);
        if (s.startsWith(QChar('='))) {
            formula = true;
            GetFormulaText(ACol, ARow, s);
        } else if (s.size() > 3 && s.startsWith(QStringLiteral("|\\")) && s[3] == QChar('=')) {
            GetFormulaText(ACol, ARow, s);
        }
        const int32_t kind = NumericTextKind(Trim(s));
        if (kind == ntkInteger || kind == ntkDecimal || kind == ntkExponent)
            HA = taRightJustify;
    }
    if (!formula && HasCellProperties(ACol, ARow))
        HA = GetCellProperties(ACol, ARow)->Alignment();
    QueryAlignment(ACol, ARow, HA, VA);
}
