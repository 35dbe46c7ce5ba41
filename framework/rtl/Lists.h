#pragma once
// Pointer lists, object lists and collections.
#include "framework/rtl/Classes.h"
#include <functional>
#include <vector>

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<int(void *Item1, void *Item2)>;

// A list of untyped pointers. Index errors raise EListError "List index out of bounds (%d)".
class TList : public TObject
{
public:
    ~TList() override;

    int Add(void *Item);
    void Insert(int Index, void *Item);
    void Delete(int Index);
    // Deletes the first occurrence; returns its former index or -1.
    int Remove(void *Item);
    // Takes the item out without the lnDeleted notification.
    void *Extract(void *Item);
    int IndexOf(void *Item) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // Stable: items that compare equal keep their order.
    void Sort(const TListSortCompare &Compare);
    virtual void Clear();
    // Drops the nil entries.
    void Pack();
    void *First() const { return Get(0); }
    void *Last() const { return Get(Count() - 1); }
    TList *Expand() { return this; }

    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int NewCount);
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int NewCapacity);
    void *Items(int Index) const { return Get(Index); }
    void SetItems(int Index, void *Item);

    [[noreturn]] static void Error(const QString &Msg, intptr_t Data);

protected:
    void *Get(int Index) const;
    // Told of every item that enters or leaves the list.
    virtual void Notify(void *Ptr, TListNotification Action) {}
    // The items themselves, for a subclass whose items own nothing and that fills many at once.
    std::vector<void *> &Storage() { return items_; }

private:
    void checkIndex(int Index) const;
    std::vector<void *> items_;
};

// A list of objects that, with OwnsObjects (the default), frees what it deletes or clears.
class TObjectList : public TList
{
public:
    explicit TObjectList(bool AOwnsObjects = true) : ownsObjects_(AOwnsObjects) {}
    ~TObjectList() override { Clear(); }

    int Add(TObject *AObject) { return TList::Add(AObject); }
    void Insert(int Index, TObject *AObject) { TList::Insert(Index, AObject); }
    int Remove(TObject *AObject) { return TList::Remove(AObject); }
    TObject *Extract(TObject *Item) { return static_cast<TObject *>(TList::Extract(Item)); }
    int IndexOf(TObject *AObject) const { return TList::IndexOf(AObject); }
    TObject *Items(int Index) const { return static_cast<TObject *>(Get(Index)); }
    void SetItems(int Index, TObject *AObject) { TList::SetItems(Index, AObject); }
    TObject *First() const { return static_cast<TObject *>(TList::First()); }
    TObject *Last() const { return static_cast<TObject *>(TList::Last()); }
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool v) { ownsObjects_ = v; }

protected:
    void Notify(void *Ptr, TListNotification Action) override;

private:
    bool ownsObjects_;
};

class TCollection;
class TCollectionItem;

// Makes an item of the collection's item class; the new item adds itself to the collection.
using TCollectionItemClass = std::function<TCollectionItem *(TCollection *)>;

template <typename T>
TCollectionItemClass CollectionItemClass()
{
    return [](TCollection *c) -> TCollectionItem * { return new T(c); };
}

class TCollectionItem : public TPersistent
{
public:
    explicit TCollectionItem(TCollection *Collection);
    ~TCollectionItem() override;

    TCollection *Collection() const { return collection_; }
    void SetCollection(TCollection *Value);
    int Index() const;
    virtual void SetIndex(int Value);
    int ID() const { return id_; }
    virtual QString DisplayName() const;
    TPersistent *GetOwner() const override;

protected:
    // Reports a change of this item (or of all items) to the collection.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection *collection_ = nullptr;
    int id_ = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An owning, ordered list of items of one class.
class TCollection : public TPersistent
{
public:
    explicit TCollection(TCollectionItemClass ItemClass);
    ~TCollection() override;

    TCollectionItem *Add();
    TCollectionItem *Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem *Items(int Index) const;
    // Copies Value into the item at Index.
    void SetItems(int Index, TCollectionItem *Value);
    TCollectionItem *FindItemID(int ID) const;
    const TCollectionItemClass &ItemClass() const { return itemClass_; }

    // Item by item: clears, then adds one item per source item and assigns it.
    void Assign(TPersistent *Source) override;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    TPersistent *Owner() const { return GetOwner(); }

protected:
    // Called after changes while not updating; Item is nil when every item may have changed.
    virtual void Update(TCollectionItem *Item) {}
    virtual void Notify(TCollectionItem *Item, TCollectionNotification Action) {}
    void Changed();

private:
    friend class TCollectionItem;
    void insertItem(TCollectionItem *Item);
    void removeItem(TCollectionItem *Item);

    TCollectionItemClass itemClass_;
    std::vector<TCollectionItem *> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// A collection with an owner (for example the control that shows it).
class TOwnedCollection : public TCollection
{
public:
    TOwnedCollection(TPersistent *AOwner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), owner_(AOwner) {}
    TPersistent *GetOwner() const override { return owner_; }

private:
    TPersistent *owner_;
};
