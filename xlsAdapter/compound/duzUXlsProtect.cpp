#include "xlsAdapter/compound/duzUXlsProtect.h"

TEncryptionData::TEncryptionData(const QString &aReadPassword, TObject *, TObject *)
    : ReadPassword(aReadPassword)
{
}

int32_t TEncryptionData::TotalSize() const
{
    return Engine ? Engine->GetFilePassRecordLen() : 0;
}
