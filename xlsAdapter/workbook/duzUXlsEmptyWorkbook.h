#pragma once
// The built-in empty workbook, the "DUZWBEMPTYSHEET" resource: a compound file whose "Workbook"
// stream holds the globals and one empty worksheet "Sheet1", next to the two summary
// property-set streams. New files and new empty sheets start from it.
#include "xlsAdapter/duzXlsMessages.h"

// The template's bytes, built on first use and the same on every call.
const ByteArray &EmptyWorkbookTemplate();
