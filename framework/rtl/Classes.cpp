#include "framework/rtl/Classes.h"
#include <algorithm>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

void ListIndexError(int Index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

QString TObject::ClassName() const
{
    const char *mangled = typeid(*this).name();
    int status = 0;
    char *dem = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    QString name = QString::fromLatin1(status == 0 && dem ? dem : mangled);
    std::free(dem);
    const int colon = name.lastIndexOf(QLatin1String("::"));
    return colon >= 0 ? name.mid(colon + 2) : name;
}

void TPersistent::Assign(TPersistent *Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent *Dest)
{
    if (Dest)
        Dest->AssignError(this);
    throw EConvertError(QStringLiteral("Cannot assign to nil"));
}

void TPersistent::AssignError(TPersistent *Source)
{
    const QString src = Source ? Source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(src, ClassName()));
}

TComponent::TComponent(TComponent *AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked; they drop their references to us.
    while (!freeNotifies_.empty()) {
        TComponent *other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->removeNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::SetName(const QString &NewName) { name_ = NewName; }

TComponent *TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        ListIndexError(Index);
    return components_[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto &v = owner_->components_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent *TComponent::FindComponent(const QString &AName) const
{
    if (AName.isEmpty())
        return nullptr;
    for (TComponent *c : components_)
        if (c->name_.compare(AName, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent *AComponent)
{
    if (!AComponent || AComponent->owner_ == this)
        return;
    if (AComponent->owner_)
        AComponent->owner_->RemoveComponent(AComponent);
    insertOwned(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent *AComponent)
{
    if (!AComponent || AComponent->owner_ != this)
        return;
    Notification(AComponent, opRemove);
    removeOwned(AComponent);
}

void TComponent::insertOwned(TComponent *c)
{
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::removeOwned(TComponent *c)
{
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end())
        components_.erase(it);
    c->owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent *c = components_.back();
        removeOwned(c);
        delete c;
    }
}

void TComponent::Destroying()
{
    if (state_.Contains(csDestroying))
        return;
    state_.Include(csDestroying);
    for (TComponent *c : components_)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent *AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
        freeNotifies_.push_back(AComponent);
    if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
        AComponent->freeNotifies_.end())
        AComponent->freeNotifies_.push_back(this);
    state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent *AComponent)
{
    if (!AComponent)
        return;
    removeNotification(AComponent);
    AComponent->removeNotification(this);
}

void TComponent::removeNotification(TComponent *c)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
}

void TComponent::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        removeNotification(AComponent);
    // Owned components hear of it too.
    for (size_t i = components_.size(); i-- > 0;)
        if (i < components_.size())
            components_[i]->Notification(AComponent, Operation);
}
