#pragma once
// Resources of the program's module: named or numbered blocks of bytes by type. The program
// registers its own at start-up; Qt resources under ":/<type>/<NAME>" are found as well.
#include "framework/rtl/Exceptions.h"
#include <QByteArray>
#include <QString>
#include <cstdint>

using HINSTANCE = uintptr_t;
// The program's own module.
inline constexpr HINSTANCE HInstance = 1;

inline constexpr int32_t RT_BITMAP = 2;
inline constexpr int32_t RT_RCDATA = 10;

TARVIX_DECLARE_EXCEPTION(EResNotFound, Exception)

// Names are kept upper case, as resource names are; "#n" names resource number n.
void RegisterResource(int32_t ResType, const QString &Name, const QByteArray &Data);
void UnregisterResource(int32_t ResType, const QString &Name);
// False when the module has no such resource.
bool FindResourceData(HINSTANCE Instance, const QString &Name, int32_t ResType, QByteArray &Data);
bool FindResourceData(HINSTANCE Instance, int32_t ResID, int32_t ResType, QByteArray &Data);
