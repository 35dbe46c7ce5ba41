#pragma once
// A record unit that reaches up to the file object: the layer check must name it.
#include "xlsAdapter/file/duzUXlsFile.h"
