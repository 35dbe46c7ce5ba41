#pragma once
// Format settings of a locale named by its numeric Windows locale id (as number formats of
// workbooks name them), taken from Qt's locale data.
#include "framework/rtl/SysUtils.h"
#include <cstdint>

// Fills Settings for the locale LocaleId (the language and sub-language bits; sort bits are
// ignored) and returns true; false, with Settings untouched, for an id it does not know.
bool GetLocaleFormatSettings(uint32_t LocaleId, TFormatSettings &Settings);
