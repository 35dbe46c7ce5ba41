#include "xlsAdapter/records/duzUXlsStrings.h"

#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <cstring>

namespace {

const char *const SStrLenLength = "StrLenLength should be 1 or 2";

// A block announced in a header is read only when the record chain holds it.
void ReadBlock(TBaseRecord *&aRecord, int32_t &Ofs, int64_t Size, ByteArray &Block)
{
    if (Size > RemainingRecordBytes(aRecord, Ofs))
        ErrorReadingRecord();
    Block.resize(size_t(Size));
    ReadRecordMem(aRecord, Ofs, int32_t(Size), Block.data());
}

} // namespace

TExcelString::TExcelString(TStrLenLength aStrLenLength, TBaseRecord *&aRecord, int32_t &Ofs)
    : StrLenLength(aStrLenLength)
{
    uint8_t b[4] = {0, 0, 0, 0};
    ReadRecordMem(aRecord, Ofs, StrLenLength == 1 ? 1 : 2, b);
    StrLen = StrLenLength == 1 ? b[0] : GetWord(b, 0);
    ReadRecordMem(aRecord, Ofs, 1, &OptionFlags);
    if (HasRichText()) {
        ReadRecordMem(aRecord, Ofs, 2, b);
        NumberRichTextFormats = GetWord(b, 0);
    }
    if (HasFarInfo()) {
        ReadRecordMem(aRecord, Ofs, 4, b);
        FarEastDataSize = GetLongWord(b, 0);
    }
    QByteArray shortData(StrLen, '\0');
    QString wideData(StrLen, QChar());
    uint8_t pieceFlags = OptionFlags;
    int32_t destPos = 0;
    ReadRecordStr(aRecord, Ofs, shortData, wideData, pieceFlags, OptionFlags, destPos, StrLen);
    if (OptionFlags & 1)
        WideData = wideData;
    else
        ShortData = shortData;
    ReadBlock(aRecord, Ofs, 4 * int64_t(NumberRichTextFormats), RichTextFormats);
    ReadBlock(aRecord, Ofs, FarEastDataSize, FarEastData);
}

TExcelString::TExcelString(TStrLenLength aStrLenLength, const QString &s, bool ForceWide)
    : StrLenLength(aStrLenLength)
{
    // A longer text would not fit its count and would be cut off unseen.
    if ((StrLenLength == 1 && s.size() > 255) || s.size() > 65535)
        ErrInvalidString();
    StrLen = uint16_t(s.size());
    OptionFlags = ForceWide || IsWide(s) ? 1 : 0;
    if (OptionFlags & 1)
        WideData = s;
    else
        ShortData = WideToCompressed(s);
}

int64_t TExcelString::TotalSize() const
{
    int64_t n = StrLenLength + 1 + int64_t(StrLen) * GetCharSize();
    if (HasRichText())
        n += 2 + 4 * int64_t(NumberRichTextFormats);
    if (HasFarInfo())
        n += 4 + int64_t(FarEastDataSize);
    return n;
}

QByteArray TExcelString::Bytes(bool IncludeLen) const
{
    QByteArray out;
    const auto put16 = [&](uint16_t v) {
        out.append(char(uint8_t(v)));
        out.append(char(uint8_t(v >> 8)));
    };
    if (IncludeLen) {
        if (StrLenLength == 1)
            out.append(char(uint8_t(StrLen)));
        else if (StrLenLength == 2)
            put16(StrLen);
        else
            throw Exception(QString::fromLatin1(SStrLenLength));
    }
    out.append(char(OptionFlags));
    if (HasRichText())
        put16(NumberRichTextFormats);
    if (HasFarInfo()) {
        put16(uint16_t(FarEastDataSize));
        put16(uint16_t(FarEastDataSize >> 16));
    }
    if (StrLen > 0) {
        if (OptionFlags & 1) {
            for (qsizetype i = 0; i < StrLen; ++i)
                put16(i < WideData.size() ? WideData[i].unicode() : 0);
        } else {
            QByteArray chars = ShortData.left(StrLen);
            chars.resize(StrLen, '\0');
            out.append(chars);
        }
    }
    if (HasRichText())
        out.append(reinterpret_cast<const char *>(RichTextFormats.data()), qsizetype(RichTextFormats.size()));
    if (HasFarInfo())
        out.append(reinterpret_cast<const char *>(FarEastData.data()), qsizetype(FarEastData.size()));
    return out;
}

void TExcelString::SaveToStream(TStream *DataStream, bool IncludeLen) const
{
    const QByteArray b = Bytes(IncludeLen);
    DataStream->WriteBuffer(b.constData(), b.size());
}

void TExcelString::CopyToPtr(uint8_t *Ptr, int32_t aPos, bool IncludeLen) const
{
    TMemoryStream m;
    SaveToStream(&m, IncludeLen);
    if (m.Size() > 0)
        std::memcpy(Ptr + aPos, m.Bytes().constData(), size_t(m.Size()));
}

QString TExcelString::GetValue() const { return OptionFlags & 1 ? WideData : CompressedToWide(ShortData); }

int32_t TExcelString::Compare(const TExcelString &Str2) const
{
    const auto sign = [](int64_t d) { return d < 0 ? -1 : d > 0 ? 1 : 0; };
    if (StrLenLength != Str2.StrLenLength)
        return sign(StrLenLength - Str2.StrLenLength);
    if (OptionFlags != Str2.OptionFlags)
        return sign(int(OptionFlags) - int(Str2.OptionFlags));
    if (OptionFlags & 1)
        return sign(WideData.compare(Str2.WideData));
    if (ShortData.size() != Str2.ShortData.size())
        return sign(ShortData.size() - Str2.ShortData.size());
    for (qsizetype i = 0; i < ShortData.size(); ++i)
        if (ShortData[i] != Str2.ShortData[i])
            return sign(int(uint8_t(ShortData[i])) - int(uint8_t(Str2.ShortData[i])));
    return 0;
}
