#include "xlsAdapter/workbook/duzUXlsSections.h"

#include "framework/rtl/SysUtils.h"

namespace {

const char *const SSectionNotLoaded = "A section of the workbook is not loaded";

} // namespace

TBaseSection::~TBaseSection() { TBaseSection::Clear(); }

void TBaseSection::Clear()
{
    delete FBOF;
    FBOF = nullptr;
    delete FEOF;
    FEOF = nullptr;
}

int64_t TBaseSection::TotalSize()
{
    return (FEOF ? FEOF->TotalSize() : 0) + (FBOF ? FBOF->TotalSize() : 0);
}

int64_t TBaseSection::TotalRangeSize(int32_t, const TXlsCellRange &) { return TBaseSection::TotalSize(); }

void TBaseSection::CheckLoaded() const
{
    if (!FBOF || !FEOF)
        throw Exception(QString::fromLatin1(SSectionNotLoaded));
}
