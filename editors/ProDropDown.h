#pragma once
// Drawing helpers shared by the drop-down controls and the grid.
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Types.h"

// Steps solid bands from FromColor towards ToColor (the last band stops one step short of it);
// Direction True: bands side by side from left to right, else from top to bottom. 0 or fewer
// steps count as 1.
void DrawGradientSteps(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t Steps, TRect R, bool Direction);
