#pragma once
// The hook through which a workbook stream would be decrypted and encrypted. No engine exists
// in this system: with none attached every read and write passes the bytes unchanged.
#include "framework/rtl/Classes.h"
#include <QString>
#include <cstdint>
#include <vector>

using ByteArray = std::vector<uint8_t>;

class TEncryptionEngine : public TObject
{
public:
    virtual bool CheckHash(const QString &Password) = 0;
    virtual ByteArray Decode(const ByteArray &Data, int64_t StreamPosition, int32_t StartPos, int32_t Count,
                             int32_t RecordLen) = 0;
    virtual ByteArray Encode(const ByteArray &Data, int64_t StreamPosition, int32_t StartPos, int32_t Count,
                             int32_t RecordLen) = 0;
    virtual uint16_t Encode(uint16_t Data, int64_t StreamPosition, int32_t RecordLen) = 0;
    virtual uint32_t Encode(uint32_t Data, int64_t StreamPosition, int32_t RecordLen) = 0;
    virtual ByteArray GetFilePassRecord() = 0;
    virtual int32_t GetFilePassRecordLen() = 0;
};

class TEncryptionData : public TObject
{
public:
    // The callback and workbook arguments are accepted for the engines' sake and not kept.
    TEncryptionData(const QString &aReadPassword, TObject *aOnPassword, TObject *aXls);

    // Extra bytes a FILEPASS record adds to the globals: 0 without an engine.
    int32_t TotalSize() const;

    QString ReadPassword;
    TEncryptionEngine *Engine = nullptr; // not owned
    int32_t ActualRecordLen = 0;
};
