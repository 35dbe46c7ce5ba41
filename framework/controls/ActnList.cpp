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
template <typename Test, typename Apply>
void toLinks(const std::vector<TActionLink *> &links, Test test, Apply apply)
{
    for (TActionLink *l : std::vector<TActionLink *>(links))
        if ((l->*test)())
            apply(l);
}
} // namespace

void TAction::SetCaption(const QString &v)
{
    if (v == caption_)
        return;
    // Links compare with the old value to know whether they follow it.
    toLinks(links_, &TActionLink::IsCaptionLinked, [&](TActionLink *l) { l->SetCaption(v); });
    caption_ = v;
}

void TAction::SetChecked(bool v)
{
    if (v == checked_)
        return;
    // Links compare with the old value to know whether they follow it.
    toLinks(links_, &TActionLink::IsCheckedLinked, [&](TActionLink *l) { l->SetChecked(v); });
    checked_ = v;
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
    if (v == enabled_)
        return;
    // Links compare with the old value to know whether they follow it.
    toLinks(links_, &TActionLink::IsEnabledLinked, [&](TActionLink *l) { l->SetEnabled(v); });
    enabled_ = v;
}

void TAction::SetGroupIndex(int v)
{
    if (v == groupIndex_)
        return;
    // Links compare with the old value to know whether they follow it.
    toLinks(links_, &TActionLink::IsGroupIndexLinked, [&](TActionLink *l) { l->SetGroupIndex(v); });
    groupIndex_ = v;
}

void TAction::SetHint(const QString &v)
{
    if (v == hint_)
        return;
    // Links compare with the old value to know whether they follow it.
    toLinks(links_, &TActionLink::IsHintLinked, [&](TActionLink *l) { l->SetHint(v); });
    hint_ = v;
}

void TAction::SetVisible(bool v)
{
    if (v == visible_)
        return;
    // Links compare with the old value to know whether they follow it.
    toLinks(links_, &TActionLink::IsVisibleLinked, [&](TActionLink *l) { l->SetVisible(v); });
    visible_ = v;
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
