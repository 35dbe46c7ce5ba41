#include "grid/core/ProGrid.h"
#include "editors/psgcheck.h"
#include "framework/graphics/ImgList.h"
#include <algorithm>

QString TProStringGrid::CurrentCell()
{
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    return GetGridCell(b.X, b.Y);
}

void TProStringGrid::SetCurrentCell(const QString &Value)
{
    SetCellEx(RealColIndex(Col()), Row(), Value);
}

QString TProStringGrid::CurrentCellDisplayText()
{
    return GetCellEx(RealColIndex(Col()), Row());
}

TColor TProStringGrid::GetColors(int ACol, int ARow)
{
    if (!HasCellProperties(ACol, ARow))
        return clNone;
    return GetCellProperties(ACol, ARow)->BrushColor();
}

void TProStringGrid::SetColors(int ACol, int ARow, TColor Value)
{
    GetCellProperties(ACol, ARow)->SetBrushColor(Value);
    if (FUpdateCount == 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

void TProStringGrid::CellsChanged(const TRect &R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    for (TGridChangeNotifier *n : FNotifierList)
        n->CellsChanged(R);
    CalcFooter(-1);
}

void TProStringGrid::RegisterNotifier(TGridChangeNotifier *ANotifier)
{
    if (!ANotifier || std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) != FNotifierList.end())
        return;
    FNotifierList.push_back(ANotifier);
    ANotifier->FreeNotification(this);
}

void TProStringGrid::UnRegisterNotifier(TGridChangeNotifier *ANotifier)
{
    auto it = std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier);
    if (it == FNotifierList.end())
        return;
    FNotifierList.erase(it);
    ANotifier->RemoveFreeNotification(this);
}

void TProStringGrid::Notification(TComponent *AComponent, TOperation Operation)
{
    TBaseGrid::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    FNotifierList.erase(std::remove(FNotifierList.begin(), FNotifierList.end(), AComponent),
                        FNotifierList.end());
    if (AComponent == FCellChecker)
        FCellChecker = nullptr;
    if (FSyncGrid && AComponent == FSyncGrid->FGrid)
        FSyncGrid->FGrid = nullptr;
    if (AComponent == FGridImages)
        FGridImages = nullptr;
}

QString TProStringGrid::GetEditText(int ACol, int ARow)
{
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    return TBaseGrid::GetEditText(b.X, b.Y);
}

void TProStringGrid::SetEditText(int ACol, int ARow, const QString &Value)
{
    const TPoint b = BaseCell(ACol, ARow);
    TBaseGrid::SetEditText(RealColIndex(b.X), b.Y, Value);
}
