#pragma once
// Undo and redo of cell texts: a history of changes that one grid reports while it edits, cuts
// and pastes, with start and stop markers around changes that undo as one step.
#include "framework/rtl/Classes.h"
#include "framework/rtl/Lists.h"
#include <QString>
#include <functional>
#include <memory>

class TBaseGrid;

// One recorded change; Col and Row are -1 in a sequence marker.
class TUndoRedoItem : public TCollectionItem
{
public:
    explicit TUndoRedoItem(TCollection *Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent *Source) override;

    int Row() const { return FRow; }
    void SetRow(int v) { FRow = v; }
    // The real column: hidden columns do not shift it.
    int Col() const { return FCol; }
    void SetCol(int v) { FCol = v; }
    const QString &Value() const { return FValue; }
    void SetValue(const QString &v) { FValue = v; }
    const QString &OrigValue() const { return FOrigValue; }
    void SetOrigValue(const QString &v) { FOrigValue = v; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool v) { FSequenceStart = v; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool v) { FSequenceStop = v; }
    bool IsMarker() const { return FSequenceStart || FSequenceStop; }

private:
    int FRow = 0;
    int FCol = 0;
    QString FValue;
    QString FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

class TUndoRedoCollection : public TCollection
{
public:
    TUndoRedoCollection() : TCollection(CollectionItemClass<TUndoRedoItem>()) {}
    TUndoRedoItem *Items(int Index) const { return static_cast<TUndoRedoItem *>(TCollection::Items(Index)); }
    TUndoRedoItem *Add() { return static_cast<TUndoRedoItem *>(TCollection::Add()); }
};

using TProGridUndoRedoEvent = std::function<void(TObject *Sender, TBaseGrid *Grid, int Col, int Row,
                                                 const QString &OrigValue, const QString &NewValue)>;

class TProGridUndoRedo : public TComponent
{
public:
    explicit TProGridUndoRedo(TComponent *AOwner = nullptr);
    ~TProGridUndoRedo() override;

    TUndoRedoCollection *Items() const { return FItems.get(); }
    TBaseGrid *Grid() const { return FGrid; }
    // The grid's UndoRedo property sets this; the grid is not owned.
    void SetGrid(TBaseGrid *Value);
    // Items 0 .. Level - 1 are applied, the items from Level on are undone.
    int Level() const { return FLevel; }
    // 0 or less: no limit.
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int v) { FMaxLevel = v; }

    // A new record drops the steps undone before it: they can never be redone in order.
    virtual void RegisterChange(int ACol, int ARow, const QString &OldValue, const QString &NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }
    void Reset();

    TProGridUndoRedoEvent OnUndo;
    TProGridUndoRedoEvent OnRedo;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TUndoRedoItem *Append();
    void UndoItem(TUndoRedoItem *I);
    void RedoItem(TUndoRedoItem *I);

    std::unique_ptr<TUndoRedoCollection> FItems = std::make_unique<TUndoRedoCollection>();
    TBaseGrid *FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};
