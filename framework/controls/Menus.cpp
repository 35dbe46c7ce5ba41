#include "framework/controls/Menus.h"
#include "framework/controls/Controls.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace {

struct TKeyName
{
    Word vk;
    const char *name;
};
const TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
    {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},
    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

QString keyName(Word vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return QString(QChar(vk));
    if (vk >= VK_F1 && vk < VK_F1 + 24)
        return QStringLiteral("F%1").arg(vk - VK_F1 + 1);
    for (const TKeyName &k : kKeyNames)
        if (k.vk == vk)
            return QLatin1String(k.name);
    return QString();
}

QString stripAccel(const QString &s)
{
    QString r;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size())
            ++i;
        r += s[i];
    }
    return r;
}

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift)
{
    if (Key & 0xFF00)
        return 0;
    TShortCut sc = Key;
    if (Shift.Contains(ssShift)) sc |= scShift;
    if (Shift.Contains(ssCtrl)) sc |= scCtrl;
    if (Shift.Contains(ssAlt)) sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut ShortCut, Word &Key, TShiftState &Shift)
{
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift) Shift.Include(ssShift);
    if (ShortCut & scCtrl) Shift.Include(ssCtrl);
    if (ShortCut & scAlt) Shift.Include(ssAlt);
}

QString ShortCutToText(TShortCut ShortCut)
{
    const QString name = keyName(ShortCut & 0xFF);
    if (name.isEmpty())
        return QString();
    QString s;
    if (ShortCut & scShift) s += QStringLiteral("Shift+");
    if (ShortCut & scCtrl) s += QStringLiteral("Ctrl+");
    if (ShortCut & scAlt) s += QStringLiteral("Alt+");
    return s + name;
}

TShortCut TextToShortCut(const QString &Text)
{
    QString t = Text.trimmed();
    TShortCut mods = 0;
    for (;;) {
        if (t.startsWith(QLatin1String("Shift+"), Qt::CaseInsensitive)) { mods |= scShift; t = t.mid(6); }
        else if (t.startsWith(QLatin1String("Ctrl+"), Qt::CaseInsensitive)) { mods |= scCtrl; t = t.mid(5); }
        else if (t.startsWith(QLatin1String("Alt+"), Qt::CaseInsensitive)) { mods |= scAlt; t = t.mid(4); }
        else break;
    }
    if (t.isEmpty())
        return 0;
    for (int vk = 1; vk < 256; ++vk) {
        const QString n = keyName(Word(vk));
        if (!n.isEmpty() && n.compare(t, Qt::CaseInsensitive) == 0)
            return TShortCut(vk | mods);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent *AOwner) : TComponent(AOwner), action_(new QAction)
{
    QObject::connect(action_, &QAction::triggered, [this](bool) {
        // Qt toggles checkable actions by itself; the item decides (AutoCheck) instead.
        updateCheck();
        SafeCall(this, [this] { Click(); });
    });
}

TMenuItem::~TMenuItem()
{
    while (!items_.empty())
        delete items_.back();
    if (parent_)
        parent_->Remove(this);
    delete action_;
}

void TMenuItem::updateText()
{
    if (IsLine()) {
        action_->setSeparator(true);
        return;
    }
    action_->setSeparator(false);
    QString t = caption_;
    if (shortCut_)
        t += QLatin1Char('\t') + ShortCutToText(shortCut_);
    action_->setText(t);
}

void TMenuItem::updateCheck()
{
    action_->setCheckable(checked_ || radioItem_);
    action_->setChecked(checked_);
}

void TMenuItem::SetCaption(const QString &v)
{
    caption_ = v;
    updateText();
}

void TMenuItem::SetChecked(bool v)
{
    checked_ = v;
    if (v && radioItem_ && parent_) {
        for (TMenuItem *s : parent_->items_)
            if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_ && s->checked_) {
                s->checked_ = false;
                s->updateCheck();
            }
    }
    updateCheck();
}

void TMenuItem::SetRadioItem(bool v)
{
    radioItem_ = v;
    updateCheck();
}

void TMenuItem::SetEnabled(bool v)
{
    enabled_ = v;
    action_->setEnabled(v);
}

void TMenuItem::SetVisible(bool v)
{
    visible_ = v;
    action_->setVisible(v);
}

void TMenuItem::SetDefault(bool v)
{
    default_ = v;
    QFont f = action_->font();
    f.setBold(v);
    action_->setFont(f);
}

void TMenuItem::SetHint(const QString &v)
{
    hint_ = v;
    action_->setStatusTip(v);
}

void TMenuItem::SetShortCut(TShortCut v)
{
    shortCut_ = v;
    updateText();
}

TMenuItem *TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EMenuError(QStringLiteral("Menu index out of range"));
    return items_[static_cast<size_t>(Index)];
}

int TMenuItem::MenuIndex() const
{
    return parent_ ? parent_->IndexOf(const_cast<TMenuItem *>(this)) : -1;
}

void TMenuItem::SetMenuIndex(int v)
{
    if (!parent_)
        return;
    TMenuItem *p = parent_;
    p->Remove(this);
    p->Insert(std::clamp(v, 0, p->Count()), this);
}

int TMenuItem::IndexOf(TMenuItem *Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem *Item)
{
    Insert(Count(), Item);
}

QWidget *TMenuItem::Container()
{
    if (!container_) {
        submenu_ = std::make_unique<QMenu>();
        container_ = submenu_.get();
        action_->setMenu(submenu_.get());
    }
    return container_;
}

void TMenuItem::attachChild(TMenuItem *item, int index)
{
    QWidget *c = Container();
    QAction *before = index + 1 < Count() ? items_[static_cast<size_t>(index + 1)]->action_ : nullptr;
    c->insertAction(before, item->action_);
}

void TMenuItem::Insert(int Index, TMenuItem *Item)
{
    if (!Item)
        return;
    if (Item->parent_)
        throw EMenuError(QStringLiteral("Menu inserted twice"));
    if (Index < 0 || Index > Count())
        throw EMenuError(QStringLiteral("Menu index out of range"));
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    attachChild(Item, Index);
}

void TMenuItem::Remove(TMenuItem *Item)
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    if (it == items_.end())
        throw EMenuError(QStringLiteral("Sub-menu is not in menu"));
    items_.erase(it);
    if (container_)
        container_->removeAction(Item->action_);
    Item->parent_ = nullptr;
}

void TMenuItem::Delete(int Index)
{
    delete Items(Index);
}

void TMenuItem::Clear()
{
    while (!items_.empty())
        delete items_.back();
}

TMenuItem *TMenuItem::Find(const QString &ACaption) const
{
    const QString want = stripAccel(ACaption);
    for (TMenuItem *i : items_)
        if (stripAccel(i->caption_).compare(want, Qt::CaseInsensitive) == 0)
            return i;
    return nullptr;
}

TMenuItem *TMenuItem::FindShortCut(TShortCut sc) const
{
    if (sc == 0)
        return nullptr;
    if (shortCut_ == sc)
        return const_cast<TMenuItem *>(this);
    for (TMenuItem *i : items_)
        if (TMenuItem *f = i->FindShortCut(sc))
            return f;
    return nullptr;
}

TMenu *TMenuItem::GetParentMenu() const
{
    const TMenuItem *i = this;
    while (i->parent_)
        i = i->parent_;
    return i->menu_;
}

void TMenuItem::Click()
{
    if (!enabled_)
        return;
    if (autoCheck_)
        SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
}

// ---------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent *AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    delete items_;
}

void TMenu::setContainer(QWidget *w)
{
    items_->container_ = w;
}

bool TMenu::IsShortCut(Word Key, TShiftState Shift)
{
    const TShortCut sc = ::ShortCut(Key, Shift * TShiftState{ssShift, ssCtrl, ssAlt});
    TMenuItem *item = FindItem(sc);
    if (!item || item == items_)
        return false;
    // The item and every parent must be reachable; parents hear the click first, as when
    // the user opens them, so that they can update their sub-items.
    std::vector<TMenuItem *> chain;
    for (TMenuItem *i = item; i && i != items_; i = i->Parent())
        chain.insert(chain.begin(), i);
    for (TMenuItem *i : chain)
        if (!i->Enabled() || !i->Visible())
            return false;
    for (size_t k = 0; k + 1 < chain.size(); ++k) {
        chain[k]->Click();
        if (!chain[k + 1]->Enabled() || !chain[k + 1]->Visible())
            return false;
    }
    item->Click();
    return true;
}

TMainMenu::TMainMenu(TComponent *AOwner) : TMenu(AOwner), bar_(new QMenuBar)
{
    bar_->setNativeMenuBar(false);
    setContainer(bar_);
}

QMenuBar *TMainMenu::MenuBar() const { return bar_.data(); }

TMainMenu::~TMainMenu()
{
    // The items' actions go first; then the bar, unless its form already took it down.
    Items()->Clear();
    delete bar_.data();
}

TPopupMenu::TPopupMenu(TComponent *AOwner) : TMenu(AOwner), menu_(std::make_unique<QMenu>())
{
    setContainer(menu_.get());
}

TPopupMenu::~TPopupMenu()
{
    Items()->Clear();
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    QPoint p(X, Y);
    const int w = menu_->sizeHint().width();
    if (alignment_ == paRight)
        p.rx() -= w;
    else if (alignment_ == paCenter)
        p.rx() -= w / 2;
    menu_->popup(p);
}
