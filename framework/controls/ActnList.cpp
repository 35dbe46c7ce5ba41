#include "framework/controls/ActnList.h"
#include <algorithm>

TBasicAction::TBasicAction(TComponent *AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    // Links outlive their action: they just lose it.
    for (TActionLink *l : std::vector<TActionLink *>(links_))
        l->action_ = nullptr;
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TBasicAction::registerLink(TActionLink *Link)
{
    if (std::find(links_.begin(), links_.end(), Link) == links_.end())
        links_.push_back(Link);
}

void TBasicAction::unregisterLink(TActionLink *Link)
{
    links_.erase(std::remove(links_.begin(), links_.end(), Link), links_.end());
}

namespace {
// Tells the links that follow Field of a change to Value (while Field still holds the old value:
// the links compare with it to know whether they follow), then stores it. False when unchanged.
template <typename T, typename Set>
bool changeLinked(const std::vector<TActionLink *> &links, T &Field, const T &Value,
                  bool (TActionLink::*Linked)() const, Set Setter)
{
    if (Field == Value)
        return false;
    for (TActionLink *l : std::vector<TActionLink *>(links))
        if ((l->*Linked)())
            (l->*Setter)(Value);
    Field = Value;
    return true;
}
} // namespace

void TAction::SetCaption(const QString &v)
{
    changeLinked(links_, caption_, v, &TActionLink::IsCaptionLinked, &TActionLink::SetCaption);
}

void TAction::SetChecked(bool v)
{
    if (!changeLinked(links_, checked_, v, &TActionLink::IsCheckedLinked, &TActionLink::SetChecked))
        return;
    if (v && groupIndex_ > 0 && Owner()) {
        for (int i = 0; i < Owner()->ComponentCount(); ++i) {
            auto *other = dynamic_cast<TAction *>(Owner()->Components(i));
            if (other && other != this && other->groupIndex_ == groupIndex_)
                other->SetChecked(false);
        }
    }
}

void TAction::SetEnabled(bool v)
{
    changeLinked(links_, enabled_, v, &TActionLink::IsEnabledLinked, &TActionLink::SetEnabled);
}

void TAction::SetGroupIndex(int v)
{
    changeLinked(links_, groupIndex_, v, &TActionLink::IsGroupIndexLinked, &TActionLink::SetGroupIndex);
}

void TAction::SetHint(const QString &v)
{
    changeLinked(links_, hint_, v, &TActionLink::IsHintLinked, &TActionLink::SetHint);
}

void TAction::SetVisible(bool v)
{
    changeLinked(links_, visible_, v, &TActionLink::IsVisibleLinked, &TActionLink::SetVisible);
}

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TBasicAction *Value)
{
    if (Value == action_)
        return;
    if (action_)
        action_->unregisterLink(this);
    action_ = Value;
    if (action_)
        action_->registerLink(this);
}

bool TActionLink::Execute() { return action_ && action_->Execute(); }
