#pragma once
// The file-object harnesses save what they made into memory to compare or reopen it.
#include "framework/rtl/Streams.h"
#include "xlsAdapter/file/duzUXlsFile.h"

#include <QByteArray>

inline QByteArray FuzzSavedWorkbook(TXLSFile &F)
{
    TMemoryStream out;
    F.Save(true, QString(), {}, {}, &out);
    return out.Bytes();
}
