#pragma once
// The weights check of the analyses' user-defined dialogs; the weights file reader and the real
// parse of cell and weight texts are in TarvixHelpers.
#include "workspace/TarvixHelpers.h"

class TStringGrid;

// True when the weight in column 1 of every row 1.. is > 0; otherwise shows
// "Weights must be > 0 \r\nerror row: " with the first bad row and fails.
bool CheckWeightsTable(TStringGrid *Grid);
