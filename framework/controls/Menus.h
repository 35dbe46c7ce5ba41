#pragma once
// Main and pop-up menus over QMenuBar, QMenu and QAction.
#include "framework/controls/Messages.h"
#include "framework/rtl/Classes.h"
#include <QPointer>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TMenu;

TARVIX_DECLARE_EXCEPTION(EMenuError, Exception)

using TShortCut = Word;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word &Key, TShiftState &Shift);
// "Ctrl+Shift+F5", "Del", "Alt+X"...; 0 when the text names no shortcut.
TShortCut TextToShortCut(const QString &Text);
QString ShortCutToText(TShortCut ShortCut);

class TMenuItem : public TComponent
{
public:
    explicit TMenuItem(TComponent *AOwner);
    // Frees the sub-items too.
    ~TMenuItem() override;

    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &v);
    bool IsLine() const { return caption_ == QLatin1String("-"); }
    bool Checked() const { return checked_; }
    // A checked radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool v);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v);
    Byte GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Byte v) { groupIndex_ = v; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool v) { autoCheck_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    const QString &Hint() const { return hint_; }
    void SetHint(const QString &v);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut v);

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem *Items(int Index) const;
    TMenuItem *Parent() const { return parent_; }
    int MenuIndex() const;
    void SetMenuIndex(int v);
    int IndexOf(TMenuItem *Item) const;
    void Add(TMenuItem *Item);
    void Insert(int Index, TMenuItem *Item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem *Item);
    // Frees the item at Index.
    void Delete(int Index);
    void Clear();
    // The sub-item with this caption (the accelerator mark ignored), or nullptr.
    TMenuItem *Find(const QString &ACaption) const;
    // This item or a sub-item whose shortcut matches, or nullptr.
    TMenuItem *FindShortCut(TShortCut sc) const;
    // The menu this item belongs to, through its parents.
    TMenu *GetParentMenu() const;

    virtual void Click();
    TNotifyEvent OnClick;

    QAction *Action() const { return action_; }
    // The Qt widget that lists the sub-items (made when the first one arrives).
    QWidget *Container();

private:
    friend class TMenu;
    void updateText();
    void updateCheck();
    void attachChild(TMenuItem *item, int index);

    QString caption_;
    bool checked_ = false;
    bool radioItem_ = false;
    Byte groupIndex_ = 0;
    bool autoCheck_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    QString hint_;
    TShortCut shortCut_ = 0;
    TMenuItem *parent_ = nullptr;
    TMenu *menu_ = nullptr;
    std::vector<TMenuItem *> items_;
    QAction *action_ = nullptr;
    std::unique_ptr<QMenu> submenu_;
    QPointer<QWidget> container_;
};

class TMenu : public TComponent
{
public:
    explicit TMenu(TComponent *AOwner);
    ~TMenu() override;
    // The root item; its sub-items are the menu's entries.
    TMenuItem *Items() const { return items_; }
    // Fires the item of this shortcut when it and every parent item are enabled and visible.
    bool IsShortCut(Word Key, TShiftState Shift);
    TMenuItem *FindItem(TShortCut sc) const { return items_->FindShortCut(sc); }

protected:
    void setContainer(QWidget *w);

private:
    TMenuItem *items_;
};

class TMainMenu : public TMenu
{
public:
    explicit TMainMenu(TComponent *AOwner);
    ~TMainMenu() override;
    QMenuBar *MenuBar() const;

private:
    QPointer<QMenuBar> bar_;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu
{
public:
    explicit TPopupMenu(TComponent *AOwner);
    ~TPopupMenu() override;
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    TComponent *PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent *v) { popupComponent_ = v; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment v) { alignment_ = v; }
    // Shows the menu at the screen point; a chosen item's OnClick runs from the event loop.
    virtual void Popup(int X, int Y);
    QMenu *QtMenu() const { return menu_.get(); }

    TNotifyEvent OnPopup;

private:
    std::unique_ptr<QMenu> menu_;
    bool autoPopup_ = true;
    TComponent *popupComponent_ = nullptr;
    TPopupAlignment alignment_ = paLeft;
};
