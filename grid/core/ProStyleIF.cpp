#include "grid/core/ProStyleIF.h"

#include <algorithm>

#include "framework/controls/Forms.h"
#include "framework/graphics/Themes.h"
#include "framework/rtl/Exceptions.h"

namespace
{
TThemeNotifier *theNotifier = nullptr;
}

void THandleList::check(int32_t Index, int32_t Limit) const
{
    if (Index < 0 || Index >= Limit)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

int32_t THandleList::Add(HWND Value)
{
    items_.push_back(Value);
    return Count() - 1;
}

void THandleList::Insert(int32_t Index, HWND Value)
{
    check(Index, Count() + 1);
    items_.insert(items_.begin() + Index, Value);
}

void THandleList::Delete(int32_t Index)
{
    check(Index, Count());
    items_.erase(items_.begin() + Index);
}

void THandleList::DeleteValue(HWND Value)
{
    const auto it = std::find(items_.begin(), items_.end(), Value);
    if (it != items_.end())
        items_.erase(it);
}

bool THandleList::HasValue(HWND Value) const { return std::find(items_.begin(), items_.end(), Value) != items_.end(); }

HWND THandleList::Items(int32_t Index) const
{
    check(Index, Count());
    return items_[size_t(Index)];
}

void THandleList::SetItems(int32_t Index, HWND Value)
{
    check(Index, Count());
    items_[size_t(Index)] = Value;
}

TThemeNotifierWindow::TThemeNotifierWindow(TComponent *AOwner) : TWinControl(AOwner, nullptr)
{
    SetVisible(false);
}

void TThemeNotifierWindow::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_OFFICETHEMECHANGED && OnOfficeThemeChange)
        OnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

TThemeNotifier::TThemeNotifier(TComponent *AOwner) : TComponent(AOwner)
{
    const int32_t version = OfficeVersion();
    if (version != 1 && version != 2)
        return;
    // An office theme to follow: a hidden window receives the change message. Watching the
    // office settings for changes needs the platform's registry notifications; without them
    // the window only answers messages sent to it.
    FNotifier = new TThemeNotifierWindow(this);
    if (auto *parent = dynamic_cast<TWinControl *>(AOwner))
        FNotifier->SetParent(parent);
    FNotifier->SetVisible(false);
    FNotifier->OnOfficeThemeChange = [this](TObject *) {
        if (OnOfficeThemeChange)
            OnOfficeThemeChange(this);
    };
    watching_ = true;
}

TThemeNotifier::~TThemeNotifier()
{
    if (theNotifier == this)
        theNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Window)
{
    if (watching_ && !winList_.HasValue(Window))
        winList_.Add(Window);
}

void TThemeNotifier::UnRegisterWindow(HWND Window)
{
    if (watching_)
        winList_.DeleteValue(Window);
}

TThemeNotifier *GetThemeNotifier(TComponent *AOwner)
{
    if (!theNotifier) {
        TComponent *owner = AOwner;
        if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
            owner = Application->MainForm();
        theNotifier = new TThemeNotifier(owner);
    }
    return theNotifier;
}

bool IsComCtl6() { return (CommonControlsVersion() >> 16) > 5; }

bool IsVistaOrLater() { return Win32MajorVersion() >= 6; }

bool IsWinXPOrLater()
{
    return Win32MajorVersion() > 5 || (Win32MajorVersion() == 5 && Win32MinorVersion() >= 1);
}

int32_t OfficeVersion()
{
    switch (InstalledOfficeVersion()) {
    case 12: return 1;
    case 14: return 2;
    default: return 0;
    }
}

int32_t XPThemeScheme()
{
    if (!IsWinXPOrLater() || !ThemeServicesAvailable() || !IsThemeActive() || !IsComCtl6())
        return 0;
    return CurrentColorSchemeNumber();
}

int32_t CurrentColorSchemeNumber()
{
    QString file, scheme, size;
    GetCurrentThemeName(file, scheme, size);
    if (scheme == QLatin1String("NormalColor"))
        return 1;
    if (scheme == QLatin1String("HomeStead"))
        return 2;
    if (scheme == QLatin1String("Metallic"))
        return 3;
    return 0;
}

TOfficeTheme OfficeThemeOf(int32_t Theme2010, int32_t Theme2007, int32_t XPScheme)
{
    if (Theme2010 != -1) {
        switch (Theme2010) {
        case 1: return ot2010Blue;
        case 2: return ot2010Silver;
        case 3: return ot2010Black;
        default: return ot2003Blue;
        }
    }
    if (Theme2007 != -1) {
        switch (Theme2007) {
        case 1: return ot2007Blue;
        case 2: return ot2007Silver;
        case 3: return ot2007Black;
        default: return ot2003Blue;
        }
    }
    switch (XPScheme) {
    case 0: return ot2003Classic;
    case 2: return ot2003Olive;
    case 3: return ot2003Silver;
    default: return ot2003Blue;
    }
}

TOfficeTheme CurrentOfficeTheme()
{
    const int32_t t2010 = OfficeThemeSetting(14);
    const int32_t t2007 = t2010 == -1 ? OfficeThemeSetting(12) : -1;
    return OfficeThemeOf(t2010, t2007, t2010 == -1 && t2007 == -1 ? XPThemeScheme() : 0);
}
