// The workspace reaching an analysis: the layer check must name it.
#include "models/standard/AnovaMain.h"
