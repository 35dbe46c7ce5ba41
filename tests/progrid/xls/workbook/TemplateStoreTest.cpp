// The encryption hook with and without an engine.
#include "tests/progrid/xls/compound/OleFixture.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include "xlsAdapter/workbook/duzXlsBaseTemplateStore.h"

#include <type_traits>

namespace {

class FakeEngine : public TEncryptionEngine
{
public:
    bool CheckHash(const QString &Password) override { return Password == "pw"; }
    ByteArray Decode(const ByteArray &Data, int64_t, int32_t, int32_t, int32_t) override { return Data; }
    ByteArray Encode(const ByteArray &Data, int64_t StreamPosition, int32_t StartPos, int32_t Count,
                     int32_t RecordLen) override
    {
        Calls.push_back({StreamPosition, RecordLen});
        ByteArray out(Data.begin() + StartPos, Data.begin() + StartPos + Count);
        for (uint8_t &b : out)
            b ^= 0xFF;
        return out;
    }
    uint16_t Encode(uint16_t Data, int64_t StreamPosition, int32_t RecordLen) override
    {
        Calls.push_back({StreamPosition, RecordLen});
        return uint16_t(~Data);
    }
    uint32_t Encode(uint32_t Data, int64_t StreamPosition, int32_t RecordLen) override
    {
        Calls.push_back({StreamPosition, RecordLen});
        return ~Data;
    }
    ByteArray GetFilePassRecord() override { return ByteArray(54, 1); }
    int32_t GetFilePassRecordLen() override { return 58; }
    std::vector<std::pair<int64_t, int32_t>> Calls;
};

} // namespace

// The store is an interface only: a component that a concrete store would derive from.
static_assert(std::is_abstract_v<TXlsBaseTemplateStore> && std::is_base_of_v<TComponent, TXlsBaseTemplateStore>);

TEST(EncryptionHook, TotalSizeComesFromTheEngineOnly)
{
    TEncryptionData d("secret", nullptr, nullptr);
    EXPECT_EQ(d.ReadPassword, "secret");
    EXPECT_EQ(d.TotalSize(), 0);
    FakeEngine e;
    d.Engine = &e;
    EXPECT_EQ(d.TotalSize(), 58);
}

