#pragma once
// Themed drawing of buttons, headers, check boxes, progress bars, combo-box and spin buttons, and
// the theme and platform probes.
#include "framework/graphics/Graphics.h"

enum TThemedState { tsNormal, tsHot, tsPressed, tsDisabled, tsFocused };

// Visual styles are on (unless switched off) and the common controls are of version 6.
bool ThemeServicesAvailable();
bool IsThemeActive();
// Switches the desktop's visual styles off (the classic look) or on again.
void SetThemeActive(bool Active);
uint32_t CommonControlsVersion(); // major << 16 | minor
// True when the desktop's window colour is dark.
bool IsDarkColorScheme();

void DrawThemedButton(TCanvas *Canvas, const TRect &R, TThemedState State, const QString &Caption = QString());
void DrawThemedHeader(TCanvas *Canvas, const TRect &R, TThemedState State, const QString &Caption = QString());
void DrawThemedCheckBox(TCanvas *Canvas, const TRect &R, TCheckBoxState Check, TThemedState State, bool Radio = false);
// Position within Min..Max; values outside are clamped.
void DrawThemedProgress(TCanvas *Canvas, const TRect &R, int Position, int Min = 0, int Max = 100);

// The drop button of a combo box.
void DrawThemedComboButton(TCanvas *Canvas, const TRect &R, TThemedState State);
// One arrow button of a spin control.
void DrawThemedSpinButton(TCanvas *Canvas, const TRect &R, bool Up, TThemedState State);

// Whether the desktop runs a high-contrast colour scheme. Qt tells no such thing, so it is off
// unless the program (or a test) switches it on.
bool HighContrastActive();
void SetHighContrastActive(bool v);

// Platform version (the original desktop's numbering: 5.1 is the first with visual styles).
int Win32MajorVersion();
int Win32MinorVersion();
// The current visual style's file, colour scheme and size names.
void GetCurrentThemeName(QString &FileName, QString &ColorScheme, QString &SizeName);

// Theme data by class name and numbered part and state, as the visual-styles library offers it.
// Known classes: "button" (parts 1 push button, 2 radio button, 3 check box), "header" (part 1),
// "progress" (parts 1 bar, 3 chunk), "combobox" (part 1 drop button) and "spin" (parts 1 up, 2 down,
// 3 up of a horizontal spin, pointing right, and 4 down of a horizontal spin, pointing left).
// Push, combo and spin states: 1 normal, 2 hot, 3 pressed, 4 disabled; check box and radio
// states 1-4 unchecked, 5-8 checked, 9-12 mixed, each normal, hot, pressed, disabled.
using HTHEME = intptr_t;
// 0 when the class is unknown.
HTHEME OpenThemeData(uintptr_t Window, const QString &ClassList);
void CloseThemeData(HTHEME Theme);
// False when the theme or part is unknown; nothing is drawn then.
bool DrawThemeBackground(HTHEME Theme, TCanvas *Canvas, int PartId, int StateId, const TRect &R);

// Classic frame controls (buttons, check boxes, scroll and combo arrows) in the system colours.
constexpr uint32_t DFC_SCROLL = 3;
constexpr uint32_t DFC_BUTTON = 4;
constexpr uint32_t DFCS_SCROLLUP = 0x0000;
constexpr uint32_t DFCS_SCROLLDOWN = 0x0001;
constexpr uint32_t DFCS_SCROLLLEFT = 0x0002;
constexpr uint32_t DFCS_SCROLLRIGHT = 0x0003;
constexpr uint32_t DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr uint32_t DFCS_BUTTONCHECK = 0x0000;
constexpr uint32_t DFCS_BUTTONRADIO = 0x0004;
constexpr uint32_t DFCS_BUTTON3STATE = 0x0008;
constexpr uint32_t DFCS_BUTTONPUSH = 0x0010;
constexpr uint32_t DFCS_INACTIVE = 0x0100;
constexpr uint32_t DFCS_PUSHED = 0x0200;
constexpr uint32_t DFCS_CHECKED = 0x0400;
constexpr uint32_t DFCS_HOT = 0x1000;
constexpr uint32_t DFCS_FLAT = 0x4000;
// False for an unknown type; the canvas's pen and brush are left as they were.
bool DrawFrameControl(TCanvas *Canvas, const TRect &R, uint32_t Type, uint32_t State);

// Office applications whose colour theme a program may follow: the major version of the newest
// one installed (11, 12, 14), 0 when none is; and the "Theme" setting of that version's common
// settings, -1 when it has none. No office software exists here.
int InstalledOfficeVersion();
int OfficeThemeSetting(int MajorVersion);
