#pragma once
// Popup and layered windows: small top-level windows of their own, shaped by a polygon, with a
// uniform opacity and colour key, or shown from a 32-bit picture with per-pixel alpha.
#include "framework/controls/Controls.h"

constexpr uint32_t LWA_COLORKEY = 0x1;
constexpr uint32_t LWA_ALPHA = 0x2;

// Uniform opacity (LWA_ALPHA) and a colour shown as a hole (LWA_COLORKEY, from the window's
// current look). False when the handle names no control.
bool SetLayeredWindowAttributes(HWND Wnd, TColorRef Key, uint8_t Alpha, uint32_t Flags);
// Shows Source (premultiplied alpha when 32-bit) as the window's face at Pos (screen, none: where
// it is), sized to the picture, with Alpha as overall opacity. False when the handle names no
// control or the picture is empty.
bool UpdateLayeredWindow(HWND Wnd, const TPoint *Pos, TBitmap *Source, uint8_t Alpha);

constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;

// Makes the control a frameless top-level popup that never takes the focus; WS_DISABLED also lets
// the mouse pass through, WS_EX_TOPMOST keeps it above other windows.
void MakePopupWindow(TWinControl *Control, uint32_t Style, uint32_t ExStyle);
// Shapes the window to a polygon (winding or alternate fill); an empty polygon removes the shape.
// False when the handle names no control.
bool SetWindowRgn(HWND Wnd, const std::vector<TPoint> &Polygon, bool Winding);
