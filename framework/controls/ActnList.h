#pragma once
// Actions: a command with a caption, checked state and group that the controls linked to it
// follow. A control reaches its action through an action link it owns.
#include "framework/rtl/Classes.h"
#include <QString>
#include <vector>

class TActionLink;

class TBasicAction : public TComponent
{
public:
    explicit TBasicAction(TComponent *AOwner);
    ~TBasicAction() override;
    // Fires OnExecute; false when there is none.
    virtual bool Execute();
    TNotifyEvent OnExecute;

protected:
    friend class TActionLink;
    void registerLink(TActionLink *Link);
    void unregisterLink(TActionLink *Link);
    std::vector<TActionLink *> links_;
};

class TAction : public TBasicAction
{
public:
    explicit TAction(TComponent *AOwner) : TBasicAction(AOwner) {}
    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &v);
    bool Checked() const { return checked_; }
    // Checking an action of a group unchecks the other actions of its owner in that group.
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    const QString &Hint() const { return hint_; }
    void SetHint(const QString &v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);

private:
    QString caption_, hint_;
    bool checked_ = false, enabled_ = true, visible_ = true;
    int groupIndex_ = 0;
};

// What ties one control to its action; the control overrides the Set* it follows. An action
// calls a link's Set* while it still holds the old value, so that the Is*Linked tests can compare.
class TActionLink : public TObject
{
public:
    explicit TActionLink(TObject *AClient) : client_(AClient) {}
    ~TActionLink() override;
    TBasicAction *Action() const { return action_; }
    void SetAction(TBasicAction *Value);
    bool Execute();

    virtual bool IsCaptionLinked() const { return dynamic_cast<TAction *>(action_) != nullptr; }
    virtual bool IsCheckedLinked() const { return dynamic_cast<TAction *>(action_) != nullptr; }
    virtual bool IsEnabledLinked() const { return dynamic_cast<TAction *>(action_) != nullptr; }
    virtual bool IsGroupIndexLinked() const { return dynamic_cast<TAction *>(action_) != nullptr; }
    virtual bool IsHintLinked() const { return dynamic_cast<TAction *>(action_) != nullptr; }
    virtual bool IsVisibleLinked() const { return dynamic_cast<TAction *>(action_) != nullptr; }

    virtual void SetCaption(const QString &) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetHint(const QString &) {}
    virtual void SetVisible(bool) {}

protected:
    TObject *Client() const { return client_; }

private:
    friend class TBasicAction;
    TObject *client_;
    TBasicAction *action_ = nullptr;
};
