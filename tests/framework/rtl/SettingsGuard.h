#pragma once
#include "framework/rtl/SysUtils.h"

// Restores the global format settings after a test changed them.
struct SettingsGuard
{
    TFormatSettings saved = FormatSettings;
    ~SettingsGuard() { FormatSettings = saved; }
};
