#pragma once
// Objects, persistent objects and components.
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Types.h"
#include <QString>
#include <functional>
#include <vector>

class TObject;
class TPersistent;
class TComponent;

using TNotifyEvent = std::function<void(TObject *Sender)>;

// Raises EListError "List index out of bounds (Index)", the error of every indexed list.
[[noreturn]] void ListIndexError(int Index);

class TObject
{
public:
    TObject() = default;
    TObject(const TObject &) = delete;
    TObject &operator=(const TObject &) = delete;
    virtual ~TObject() = default;
    // The class name without namespaces, e.g. "TStringList".
    virtual QString ClassName() const;
};

class TPersistent : public TObject
{
public:
    // Copies Source into this object. The default asks Source to AssignTo this and raises
    // EConvertError ("Cannot assign a X to a Y") when neither side knows the other.
    virtual void Assign(TPersistent *Source);
    // The object that owns this one for naming and notification purposes, if any.
    virtual TPersistent *GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent *Dest);
    [[noreturn]] void AssignError(TPersistent *Source);
};

enum class TOperation { opInsert, opRemove };
using enum TOperation;

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
    csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

// A component is owned by another and freed with it; components that asked for free
// notification hear of each other's destruction through Notification(opRemove).
class TComponent : public TPersistent
{
public:
    explicit TComponent(TComponent *AOwner = nullptr);
    ~TComponent() override;

    TComponent *Owner() const { return owner_; }
    TPersistent *GetOwner() const override { return owner_; }
    const QString &Name() const { return name_; }
    virtual void SetName(const QString &NewName);
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t t) { tag_ = t; }
    const TComponentState &ComponentState() const { return state_; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent *Components(int Index) const;
    int ComponentIndex() const;
    // Case-insensitive search among the owned components.
    TComponent *FindComponent(const QString &AName) const;

    void InsertComponent(TComponent *AComponent);
    void RemoveComponent(TComponent *AComponent);
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks the component as being destroyed and tells the owned components.
    void Destroying();

    // AComponent will be told (Notification opRemove) when this component is freed, and vice versa.
    void FreeNotification(TComponent *AComponent);
    void RemoveFreeNotification(TComponent *AComponent);

protected:
    virtual void Notification(TComponent *AComponent, TOperation Operation);
    void SetComponentStateItem(TComponentStateItem item, bool on)
    {
        if (on) state_.Include(item); else state_.Exclude(item);
    }

private:
    void insertOwned(TComponent *c);
    void removeOwned(TComponent *c);
    void removeNotification(TComponent *c);

    TComponent *owner_ = nullptr;
    QString name_;
    intptr_t tag_ = 0;
    TComponentState state_;
    std::vector<TComponent *> components_;
    std::vector<TComponent *> freeNotifies_;
};

// Runs Body between Target.BeginUpdate() and Target.EndUpdate(); the update ends even when
// Body raises.
template <typename T, typename F>
void WithUpdate(T &Target, F &&Body)
{
    Target.BeginUpdate();
    try {
        Body();
    } catch (...) {
        Target.EndUpdate();
        throw;
    }
    Target.EndUpdate();
}

// Frees an object and clears the pointer.
template <typename T>
inline void FreeAndNil(T *&p)
{
    T *tmp = p;
    p = nullptr;
    delete tmp;
}

// The rest of the unit: streams, lists and string lists.
#include "framework/rtl/Streams.h"
#include "framework/rtl/Lists.h"
#include "framework/rtl/Strings.h"
