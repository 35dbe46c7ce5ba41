#pragma once
// Helpers for controls built on a native widget: painting over what the widget paints, and
// windows that a click does not focus.
#include "framework/controls/Controls.h"
#include <functional>

// Inside the WM_PAINT handler of Control (a paint event of its client widget): lets the widget
// paint itself first, then runs Over with Canvas drawing on top of the whole client area, with
// the control's font and a brush of its colour. The message counts as handled. Outside such a
// paint event nothing happens and the answer is false.
bool PaintOverNative(TControl *Control, TMessage &Message, TCanvas *Canvas, const std::function<void()> &Over);

// Off: a click on the window (or on a child that takes no focus) does not focus it, as with the
// platform's plain windows; the click focuses the nearest parent that takes the focus, and
// SetFocus and the Tab key (with TabStop) still work. A later SetTabStop puts clicks back on.
void SetFocusOnClick(TWinControl *Control, bool Value);

// Paints what lies under Control on its parent into Canvas (in Control's client coordinates):
// the parent's own painting and the parent's children that are not windows. Canvas must be
// painting (inside Control's Paint). Nothing happens without a parent.
void PaintParentBackground(TControl *Control, TCanvas *Canvas);

// Runs Handle (a default handling of Message) with Message set apart from the Qt event it came
// from, so that a key or character message reaches the widget at once, as the key it stands for,
// rather than after the handlers return; a control that rewrites its text after the widget's own
// typing needs the typing done first. Outside a Qt event Handle simply runs.
void RunDefaultNow(TMessage &Message, const std::function<void()> &Handle);
