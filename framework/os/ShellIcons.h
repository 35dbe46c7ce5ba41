#pragma once
// The desktop's file icons: the system image lists and the icon index of a file or folder.
#include "framework/graphics/ImgList.h"

constexpr uint32_t SHGFI_LARGEICON = 0x0;
constexpr uint32_t SHGFI_SMALLICON = 0x1;
constexpr uint32_t SHGFI_USEFILEATTRIBUTES = 0x10;
constexpr uint32_t SHGFI_SYSICONINDEX = 0x4000;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;

struct TSHFileInfo
{
    int32_t iIcon = 0;
};

// With SHGFI_SYSICONINDEX: the system image list (16 x 16 icons with SHGFI_SMALLICON, else
// 32 x 32) and, in Info.iIcon, the index of Path's icon in it. With SHGFI_USEFILEATTRIBUTES the
// path need not exist: its name and FileAttributes choose the icon. An empty path gives the list
// only. Without SHGFI_SYSICONINDEX: nil. Both lists hold the same icons at the same indexes.
TCustomImageList *SHGetFileInfo(const QString &Path, uint32_t FileAttributes, TSHFileInfo &Info, uint32_t Flags);
