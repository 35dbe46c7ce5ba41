#pragma once
// A component that can hand out stored workbook files by name instead of the disk.
#include "framework/rtl/Classes.h"
#include <QString>
#include <cstdint>
#include <vector>

class TXlsBaseTemplateStore : public TComponent
{
public:
    explicit TXlsBaseTemplateStore(TComponent *AOwner = nullptr) : TComponent(AOwner) {}

    // The bytes of the stored file Name.
    virtual std::vector<uint8_t> GetStoredFile(const QString &Name) = 0;
    // For a store that caches its files.
    virtual bool IsUpToDate() = 0;
    virtual void Refresh() = 0;
};
