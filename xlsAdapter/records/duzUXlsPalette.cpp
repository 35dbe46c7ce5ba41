#include "xlsAdapter/records/duzUXlsPalette.h"

#include "framework/rtl/SysUtils.h"

namespace {

const char *const STooManyEntries = "Too many entries for this kind of record (%d out of a maximum of %d)";

constexpr int32_t PaletteSize = 56;

// Red-green-blue.
constexpr uint32_t StandardRGB[PaletteSize] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, //
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, //
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, //
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF, //
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99, //
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, //
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333, //
};

[[noreturn]] void BadIndex(int32_t Index, const char *Property, int32_t Max)
{
    XlsIndexError(Index, QString::fromLatin1(Property), 0, Max);
}

} // namespace

uint32_t StandardPaletteColor(int32_t Index)
{
    if (Index < 0 || Index >= PaletteSize)
        BadIndex(Index, "Palette index", PaletteSize - 1);
    const uint32_t rgb = StandardRGB[Index];
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

TPaletteRecord::TPaletteRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(2);
    if (2 + 4 * Count() > DataSize)
        Invalid();
}

TPaletteRecord *TPaletteRecord::CreateStandard()
{
    const int32_t size = 2 + 4 * PaletteSize;
    auto *r = new TPaletteRecord(xlr_PALETTE, new uint8_t[size](), size);
    SetWord(r->Data, 0, PaletteSize);
    for (int32_t i = 0; i < PaletteSize; ++i)
        r->SetColor(i, StandardPaletteColor(i));
    return r;
}

uint32_t TPaletteRecord::GetColor(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        BadIndex(Index, "Palette Color Index", Count() - 1);
    return GetLongWord(Data, 2 + 4 * Index);
}

void TPaletteRecord::SetColor(int32_t Index, uint32_t Value)
{
    if (Index < 0 || Index >= Count())
        throw Exception(Format(QString::fromLatin1(STooManyEntries), {Index, Count() - 1}));
    SetLongWord(Data, 2 + 4 * Index, Value);
}
