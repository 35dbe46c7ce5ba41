#pragma once
// The built-in empty workbook ("DUZWBEMPTYSHEET"): a compound file whose "Workbook" stream holds
// the globals and one empty worksheet "Sheet1", next to the two summary property-set streams.
// New files and new empty sheets start from it.
#include <QString>
#include <cstdint>
#include <vector>

using ByteArray = std::vector<uint8_t>;

// The name the template is known by.
QString EmptyWorkbookResourceName();

// The template's bytes, built on first use and the same on every call.
const ByteArray &EmptyWorkbookTemplate();
