#pragma once
// Component styles, the style interfaces the grid implements, detection of the desktop's and the
// office applications' theme, and the notifier that tells windows of an office theme change.
#include "framework/controls/Controls.h"
#include "grid/core/ProUtil.h"

#include <vector>

enum TDUZStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista, tsWindows7,
    tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

enum TOfficeTheme {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black, ot2010Blue,
    ot2010Silver, ot2010Black, otUnknown
};

inline constexpr const char *IID_IDUZStyle = "{11AC2DDC-C087-4298-AB6E-EA1B5017511B}";
inline constexpr const char *IID_IDUZTones = "{1F492643-6699-4F25-8B34-3233FA735036}";

// Controls that take one of the component styles.
class IDUZStyle
{
public:
    virtual ~IDUZStyle() = default;
    virtual void SetComponentStyle(TDUZStyle AStyle) = 0;
};

// Controls that take the grid's colour tones.
class IDUZTones
{
public:
    virtual ~IDUZTones() = default;
    virtual void SetColorTones(const TColorTones &ATones) = 0;
};

// The window message that announces an office theme change.
inline constexpr UINT WM_OFFICETHEMECHANGED = 2993;

class THandleList
{
public:
    int32_t Add(HWND Value);
    void Insert(int32_t Index, HWND Value);
    void Delete(int32_t Index);
    // Removes the first entry equal to Value, if any.
    void DeleteValue(HWND Value);
    bool HasValue(HWND Value) const;
    int32_t Count() const { return int32_t(items_.size()); }
    HWND Items(int32_t Index) const;
    void SetItems(int32_t Index, HWND Value);

private:
    void check(int32_t Index, int32_t Limit) const;
    std::vector<HWND> items_;
};

// The hidden window that receives the theme-change message.
class TThemeNotifierWindow : public TWinControl
{
public:
    explicit TThemeNotifierWindow(TComponent *AOwner);
    TNotifyEvent OnOfficeThemeChange;
    void WndProc(TMessage &Message) override;
};

class TThemeNotifier : public TComponent
{
public:
    explicit TThemeNotifier(TComponent *AOwner);
    ~TThemeNotifier() override;

    // Windows that want the theme-change message; kept only while an office theme is watched.
    void RegisterWindow(HWND Window);
    void UnRegisterWindow(HWND Window);
    // Whether an office theme is being watched (an office application of version 12 or 14).
    bool Watching() const { return watching_; }
    const THandleList &WinList() const { return winList_; }
    TThemeNotifierWindow *Notifier() const { return FNotifier; }

    TNotifyEvent OnOfficeThemeChange;

private:
    TThemeNotifierWindow *FNotifier = nullptr;
    THandleList winList_;
    bool watching_ = false;
};

// The one notifier, created on first use and owned by the main form when it has a window,
// else by AOwner.
TThemeNotifier *GetThemeNotifier(TComponent *AOwner);

bool IsComCtl6();
bool IsVistaOrLater();
bool IsWinXPOrLater();
// 0 office 2003 or none, 1 office 2007, 2 office 2010.
int32_t OfficeVersion();
// 0 none or another scheme, 1 blue, 2 olive, 3 silver.
int32_t XPThemeScheme();
// The current theme's colour scheme: 1 "NormalColor", 2 "HomeStead", 3 "Metallic", 0 any other.
int32_t CurrentColorSchemeNumber();
TOfficeTheme CurrentOfficeTheme();
// The theme for the "Theme" settings of office 2010 and 2007 (-1: none) and the XP scheme.
TOfficeTheme OfficeThemeOf(int32_t Theme2010, int32_t Theme2007, int32_t XPScheme);
