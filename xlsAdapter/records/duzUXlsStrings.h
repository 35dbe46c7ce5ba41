#pragma once
// A BIFF8 unicode string outside the shared string table: parsed from a record (across its
// CONTINUE records), built from a text, measured and written back.
#include "framework/rtl/Classes.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TBaseRecord;
class TStream;

using TStrLenLength = int32_t; // 1 or 2 bytes of character count
using TCharSize = int32_t;     // 1 or 2 bytes per character

class TExcelString : public TObject
{
public:
    // Parses the string at Ofs of aRecord's data; aRecord and Ofs end after it.
    TExcelString(TStrLenLength aStrLenLength, TBaseRecord *&aRecord, int32_t &Ofs);
    // A string of the text s: 16-bit when ForceWide or when a character is above 255.
    TExcelString(TStrLenLength aStrLenLength, const QString &s, bool ForceWide);

    TCharSize GetCharSize() const { return OptionFlags & 1 ? 2 : 1; }
    bool HasFarInfo() const { return OptionFlags & 4; }
    bool HasRichText() const { return OptionFlags & 8; }
    int64_t TotalSize() const;

    void SaveToStream(TStream *DataStream, bool IncludeLen = true) const;
    // The written bytes copied to Ptr + aPos.
    void CopyToPtr(uint8_t *Ptr, int32_t aPos, bool IncludeLen = true) const;
    QString GetValue() const;
    QString Value() const { return GetValue(); }
    int32_t Compare(const TExcelString &Str2) const;

    TStrLenLength StrLenLength;
    uint16_t StrLen = 0;
    uint8_t OptionFlags = 0;
    QString WideData;
    QByteArray ShortData;
    uint16_t NumberRichTextFormats = 0;
    ByteArray RichTextFormats;
    uint32_t FarEastDataSize = 0;
    ByteArray FarEastData;

private:
    QByteArray Bytes(bool IncludeLen) const;
};
