#pragma once
// Themed drawing of buttons, headers, check boxes and progress bars, and the theme probes.
#include "framework/graphics/Graphics.h"

enum TThemedState { tsNormal, tsHot, tsPressed, tsDisabled, tsFocused };

// Visual styles are always on and the common controls are of version 6.
bool ThemeServicesAvailable();
bool IsThemeActive();
uint32_t CommonControlsVersion(); // major << 16 | minor
// True when the desktop's window colour is dark.
bool IsDarkColorScheme();

void DrawThemedButton(TCanvas *Canvas, const TRect &R, TThemedState State, const QString &Caption = QString());
void DrawThemedHeader(TCanvas *Canvas, const TRect &R, TThemedState State, const QString &Caption = QString());
void DrawThemedCheckBox(TCanvas *Canvas, const TRect &R, TCheckBoxState Check, TThemedState State, bool Radio = false);
// Position within Min..Max; values outside are clamped.
void DrawThemedProgress(TCanvas *Canvas, const TRect &R, int Position, int Min = 0, int Max = 100);
