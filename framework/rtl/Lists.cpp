#include "framework/rtl/Lists.h"
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TList

TList::~TList()
{
    // Derived lists clear themselves first; what is left needs no notification.
    items_.clear();
}

void TList::Error(const QString &Msg, intptr_t Data)
{
    throw EListError(QString(Msg).replace(QLatin1String("%d"), QString::number(Data)));
}

void TList::checkIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

void *TList::Get(int Index) const
{
    checkIndex(Index);
    return items_[static_cast<size_t>(Index)];
}

int TList::Add(void *Item)
{
    items_.push_back(Item);
    if (Item)
        Notify(Item, lnAdded);
    return Count() - 1;
}

void TList::Insert(int Index, void *Item)
{
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    items_.insert(items_.begin() + Index, Item);
    if (Item)
        Notify(Item, lnAdded);
}

void TList::Delete(int Index)
{
    checkIndex(Index);
    void *p = items_[static_cast<size_t>(Index)];
    items_.erase(items_.begin() + Index);
    if (p)
        Notify(p, lnDeleted);
}

int TList::Remove(void *Item)
{
    const int i = IndexOf(Item);
    if (i >= 0)
        Delete(i);
    return i;
}

void *TList::Extract(void *Item)
{
    const int i = IndexOf(Item);
    if (i < 0)
        return nullptr;
    items_.erase(items_.begin() + i);
    // Like every other change, only a real item is told about (a list may hold nil slots).
    if (Item)
        Notify(Item, lnExtracted);
    return Item;
}

int TList::IndexOf(void *Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int Index1, int Index2)
{
    checkIndex(Index1);
    checkIndex(Index2);
    std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    checkIndex(CurIndex);
    checkIndex(NewIndex);
    void *p = items_[static_cast<size_t>(CurIndex)];
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, p);
}

void TList::Sort(const TListSortCompare &Compare)
{
    std::stable_sort(items_.begin(), items_.end(), [&](void *a, void *b) { return Compare(a, b) < 0; });
}

void TList::Clear()
{
    // One at a time from the end, so a notification sees a consistent list.
    while (!items_.empty()) {
        void *p = items_.back();
        items_.pop_back();
        if (p)
            Notify(p, lnDeleted);
    }
    items_.shrink_to_fit();
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::SetCount(int NewCount)
{
    if (NewCount < 0)
        Error(QStringLiteral("List count out of bounds (%d)"), NewCount);
    while (Count() > NewCount)
        Delete(Count() - 1);
    items_.resize(static_cast<size_t>(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < Count())
        Error(QStringLiteral("List capacity out of bounds (%d)"), NewCapacity);
    items_.reserve(static_cast<size_t>(NewCapacity));
}

void TList::SetItems(int Index, void *Item)
{
    checkIndex(Index);
    void *old = items_[static_cast<size_t>(Index)];
    if (old == Item)
        return;
    items_[static_cast<size_t>(Index)] = Item;
    if (old)
        Notify(old, lnDeleted);
    if (Item)
        Notify(Item, lnAdded);
}

void TObjectList::Notify(void *Ptr, TListNotification Action)
{
    if (ownsObjects_ && Action == lnDeleted)
        delete static_cast<TObject *>(Ptr);
}

// ---------------------------------------------------------------------------------------------
// Collections

TCollectionItem::TCollectionItem(TCollection *Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection *Value)
{
    if (Value == collection_)
        return;
    if (collection_)
        collection_->removeItem(this);
    if (Value)
        Value->insertItem(this);
}

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    auto &v = collection_->items_;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    const int cur = Index();
    if (cur < 0 || Value == cur)
        return;
    auto &v = collection_->items_;
    Value = std::clamp(Value, 0, static_cast<int>(v.size()) - 1);
    v.erase(v.begin() + cur);
    v.insert(v.begin() + Value, this);
    Changed(true);
}

QString TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent *TCollectionItem::GetOwner() const { return collection_; }

void TCollectionItem::Changed(bool AllItems)
{
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TCollectionItemClass ItemClass) : itemClass_(std::move(ItemClass)) {}

TCollection::~TCollection()
{
    ++updateCount_; // no updates while going away
    while (!items_.empty())
        delete items_.back();
}

void TCollection::insertItem(TCollectionItem *Item)
{
    items_.push_back(Item);
    Item->collection_ = this;
    Item->id_ = nextId_++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::removeItem(TCollectionItem *Item)
{
    Notify(Item, cnExtracting);
    // Searched from the end: clearing and most deletions take the last items first.
    auto it = std::find(items_.rbegin(), items_.rend(), Item);
    if (it != items_.rend())
        items_.erase(std::next(it).base());
    Item->collection_ = nullptr;
    Changed();
}

TCollectionItem *TCollection::Add()
{
    if (!itemClass_)
        throw EInvalidOperation(QStringLiteral("Collection has no item class"));
    TCollectionItem *item = itemClass_(this);
    if (item && item->collection_ != this)
        item->SetCollection(this);
    return item;
}

TCollectionItem *TCollection::Insert(int Index)
{
    TCollectionItem *item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem *item = Items(Index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    WithUpdate(*this, [&] {
        while (!items_.empty())
            delete items_.back();
    });
}

TCollectionItem *TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return items_[static_cast<size_t>(Index)];
}

void TCollection::SetItems(int Index, TCollectionItem *Value) { Items(Index)->Assign(Value); }

TCollectionItem *TCollection::FindItemID(int ID) const
{
    for (TCollectionItem *i : items_)
        if (i->id_ == ID)
            return i;
    return nullptr;
}

void TCollection::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TCollection *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    WithUpdate(*this, [&] {
        Clear();
        for (TCollectionItem *i : src->items_)
            Add()->Assign(i);
    });
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}
