// Cell text painting: plain text placed by the grid's and the cell's alignment.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"

namespace {

uint32_t HorizontalFlag(TAlignment HA)
{
    switch (HA) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

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

void TProStringGrid::DrawCellText(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    const int rcol = RealColIndex(ACol);
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    GetCellAlignment(rcol, ARow, ha, va);
    const bool ww = HasCellProperties(rcol, ARow) ? GetCellProperties(rcol, ARow)->WordWrap() : WordWrap();

    TRect t = ARect;
    if (AState.Contains(gdFixed)) {
        t.Left += GridLineWidth();
        t.Top += GridLineWidth();
    }
    t.Left += FXYOffset.X;
    t.Top += FXYOffset.Y;
    t.Right -= FXYOffset.X;

    QString text = GetCellEx(ACol, ARow);
    uint32_t flags = DT_EDITCONTROL;
    if (CountTextLines(text, FMultilinecells) == 1 && !ww) {
        QString line;
        FirstLine(text, false, line);
        text = line;
        flags = DT_SINGLELINE;
    }
    flags |= DT_EXPANDTABS | DT_NOPREFIX | HorizontalFlag(ha) | VerticalFlag(va);
    if (ww)
        flags |= DT_WORDBREAK;
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->DrawText(text, t, flags);
}
