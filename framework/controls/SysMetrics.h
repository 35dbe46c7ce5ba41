#pragma once
// System metrics of the desktop's widget style, and extended window styles.
#include "framework/controls/Controls.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr uint32_t WS_EX_TRANSPARENT = 0x00000020;

// The size asked for in pixels; 0 for a metric that is not known.
int GetSystemMetrics(int Index);
// Adds extended styles to a window; WS_EX_TRANSPARENT lets the mouse through to what lies below.
// False when the handle names no control.
bool AddWindowExStyle(HWND Wnd, uint32_t ExStyle);
