// The undo and redo history of a grid's cell texts.
#include "grid/core/ProGridUndo.h"
#include "grid/core/BaseGrid.h"
#include "grid/core/ProGrid.h"

void TUndoRedoItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TUndoRedoItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FRow = s->FRow;
    FCol = s->FCol;
    FValue = s->FValue;
    FOrigValue = s->FOrigValue;
    FSequenceStart = s->FSequenceStart;
    FSequenceStop = s->FSequenceStop;
}

TProGridUndoRedo::TProGridUndoRedo(TComponent *AOwner) : TComponent(AOwner) {}

TProGridUndoRedo::~TProGridUndoRedo()
{
    // The grid forgets this history before it goes.
    if (FGrid && FGrid->UndoRedo() == this)
        FGrid->SetUndoRedo(nullptr);
    SetGrid(nullptr);
}

void TProGridUndoRedo::SetGrid(TBaseGrid *Value)
{
    if (FGrid == Value)
        return;
    if (FGrid)
        FGrid->RemoveFreeNotification(this);
    FGrid = Value;
    if (FGrid)
        FGrid->FreeNotification(this);
}

void TProGridUndoRedo::Notification(TComponent *AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid)
        FGrid = nullptr;
}

TUndoRedoItem *TProGridUndoRedo::Append()
{
    // Steps undone before a new record cannot follow it.
    while (FItems->Count() > FLevel)
        FItems->Delete(FItems->Count() - 1);
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel && FItems->Count() > 0)
        FItems->Delete(0);
    TUndoRedoItem *I = FItems->Add();
    FLevel = FItems->Count();
    return I;
}

void TProGridUndoRedo::RegisterChange(int ACol, int ARow, const QString &OldValue, const QString &NewValue)
{
    TUndoRedoItem *I = Append();
    I->SetCol(ACol);
    I->SetRow(ARow);
    I->SetValue(NewValue);
    I->SetOrigValue(OldValue);
}

void TProGridUndoRedo::StartSequence()
{
    TUndoRedoItem *I = Append();
    I->SetCol(-1);
    I->SetRow(-1);
    I->SetSequenceStart(true);
}

void TProGridUndoRedo::StopSequence()
{
    TUndoRedoItem *I = Append();
    I->SetCol(-1);
    I->SetRow(-1);
    I->SetSequenceStop(true);
}

void TProGridUndoRedo::Reset()
{
    FItems->Clear();
    FLevel = 0;
}

namespace {

// A box whose state lives in the cell's graphic gets that state back; writing its state's text
// into the cell would overwrite the caption beside the box and leave the box as it was.
void RestoreCell(TBaseGrid *Grid, int ACol, int ARow, const QString &Value)
{
    if (auto *pro = dynamic_cast<TProStringGrid *>(Grid)) {
        if (TCellGraphic *g = pro->GetCellGraphic(ACol, ARow)) {
            const bool checked = Value == pro->GetCheckTrue(ACol, ARow);
            if (g->CellType() == ctCheckBox) {
                pro->SetCheckBoxState(ACol, ARow, checked);
                return;
            }
            if (g->CellType() == ctTriStateCheckBox) {
                pro->SetCheckBoxState(ACol, ARow, checked ? cbChecked : cbUnchecked);
                return;
            }
        }
    }
    Grid->SetCellEx(ACol, ARow, Value);
}

} // namespace

void TProGridUndoRedo::UndoItem(TUndoRedoItem *I)
{
    if (I->IsMarker() || I->Col() < 0 || I->Row() < 0)
        return;
    if (OnUndo)
        OnUndo(this, FGrid, I->Col(), I->Row(), FGrid->GetCellEx(I->Col(), I->Row()), I->OrigValue());
    RestoreCell(FGrid, I->Col(), I->Row(), I->OrigValue());
    const int dc = FGrid->DisplColIndex(I->Col());
    if (dc < FGrid->ColCount() && I->Row() < FGrid->RowCount()) {
        FGrid->SetCol(dc);
        FGrid->SetRow(I->Row());
    }
}

void TProGridUndoRedo::RedoItem(TUndoRedoItem *I)
{
    if (I->IsMarker() || I->Col() < 0 || I->Row() < 0)
        return;
    if (OnRedo)
        OnRedo(this, FGrid, I->Col(), I->Row(), FGrid->GetCellEx(I->Col(), I->Row()), I->Value());
    RestoreCell(FGrid, I->Col(), I->Row(), I->Value());
    const int dc = FGrid->DisplColIndex(I->Col());
    if (dc < FGrid->ColCount() && I->Row() < FGrid->RowCount()) {
        FGrid->SetCol(dc);
        FGrid->SetRow(I->Row());
    }
}

void TProGridUndoRedo::Undo()
{
    if (!FGrid)
        return;
    // A marker left alone (a sequence broken off, or one whose start the limit trimmed away)
    // changes nothing: the step goes on to the change before it.
    while (FLevel > 0 && FLevel <= FItems->Count()) {
        TUndoRedoItem *I = FItems->Items(FLevel - 1);
        if (I->SequenceStop()) {
            --FLevel;
            while (FLevel > 0 && !FItems->Items(FLevel - 1)->SequenceStart()) {
                UndoItem(FItems->Items(FLevel - 1));
                --FLevel;
            }
            if (FLevel > 0)
                --FLevel;
            FGrid->Invalidate();
            return;
        }
        --FLevel;
        if (I->SequenceStart())
            continue;
        UndoItem(I);
        FGrid->RepaintCell(FGrid->Col(), I->Row());
        return;
    }
}

void TProGridUndoRedo::Redo()
{
    if (!FGrid)
        return;
    while (FLevel < FItems->Count()) {
        TUndoRedoItem *I = FItems->Items(FLevel);
        ++FLevel;
        if (I->SequenceStart()) {
            // Every change up to the stop marker, or to the end of a sequence that has none.
            while (FLevel < FItems->Count()) {
                TUndoRedoItem *J = FItems->Items(FLevel);
                ++FLevel;
                if (J->SequenceStop())
                    break;
                RedoItem(J);
            }
            FGrid->Invalidate();
            return;
        }
        if (I->SequenceStop())
            continue;
        RedoItem(I);
        FGrid->RepaintCell(FGrid->Col(), I->Row());
        return;
    }
}
