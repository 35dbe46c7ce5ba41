#include "xlsAdapter/duzXlsMessages.h"

#include "framework/rtl/SysUtils.h"

namespace {

const char *const SErrorReadingRecord = "Error reading record";
const char *const STooManyEntries = "Too many entries for this kind of record (%d out of a maximum of %d)";

[[noreturn]] void TooManyEntries(int64_t Value, int32_t Max)
{
    throw Exception(Format(QString::fromLatin1(STooManyEntries), {static_cast<long long>(Value), Max}));
}

struct TStrHeader
{
    int64_t Len = 0;
    uint8_t Options = 0;
    int64_t HeaderSize = 0; // count, option byte, run count and far-east size
    int64_t Runs = 0;
    int64_t FarEast = 0;
    int64_t Size() const { return HeaderSize + (Len << (Options & 1)) + 4 * Runs + FarEast; }
};

TStrHeader ReadStrHeader(bool Len16, const uint8_t *Data, int32_t Pos, int32_t DataSize, int32_t KnownLen,
                         bool LenKnown)
{
    TStrHeader h;
    int64_t p = Pos;
    const auto need = [&](int64_t n) {
        if (Pos < 0 || p + n > DataSize)
            ErrorReadingRecord();
    };
    if (LenKnown) {
        h.Len = KnownLen;
    } else if (Len16) {
        need(2);
        h.Len = GetWord(Data, int32_t(p));
        p += 2;
    } else {
        need(1);
        h.Len = Data[p];
        p += 1;
    }
    need(1);
    h.Options = Data[p++];
    if (h.Options & 8) {
        need(2);
        h.Runs = GetWord(Data, int32_t(p));
        p += 2;
    }
    if (h.Options & 4) {
        need(4);
        h.FarEast = GetLongWord(Data, int32_t(p));
        p += 4;
    }
    h.HeaderSize = p - Pos;
    need(h.Size() - h.HeaderSize);
    return h;
}

} // namespace

QString ErrorReadingRecordText() { return QString::fromLatin1(SErrorReadingRecord); }

void ErrorReadingRecord() { throw Exception(ErrorReadingRecordText()); }

void ErrExcelInvalid() { throw Exception(QStringLiteral("Error reading Excel records. File invalid")); }

void ErrInvalidString() { throw Exception(QStringLiteral("Invalid String record")); }

void ErrNoVisibleSheets() { throw Exception(QStringLiteral("There are not visible sheets on the file")); }

void ErrNoWorkbook()
{
    throw Exception(QStringLiteral("The file object has no workbook. Call Connect before using it"));
}

void XlsIndexError(int32_t Index, const QString &Property, int32_t Min, int32_t Max)
{
    throw Exception(Format(QStringLiteral("The index \"%d\" of the property \"%s\" is not in the range %d-%d"),
                           {Index, Property, Min, Max}));
}

void IncWord(uint8_t *Data, int32_t Pos, int32_t Offset, int32_t Max)
{
    const int64_t v = int64_t(GetWord(Data, Pos)) + Offset;
    if (v < 0 || v > Max)
        TooManyEntries(v, Max);
    SetWord(Data, Pos, int32_t(v));
}

void IncByte(uint8_t *Data, int32_t Pos, int32_t Offset, int32_t Max)
{
    const int64_t v = int64_t(Data[Pos]) + Offset;
    if (v < 0 || v > Max)
        TooManyEntries(v, Max);
    Data[Pos] = uint8_t(v);
}

void IncWordChecked(uint16_t &Value, int32_t Offset, int32_t Max)
{
    const int64_t v = int64_t(Value) + Offset;
    if (v > Max || v < 0)
        TooManyEntries(v, Max);
    Value = uint16_t(v);
}

void IncLongWord(uint8_t *Data, int32_t Pos, int32_t Offset)
{
    SetLongWord(Data, Pos, GetLongWord(Data, Pos) + uint32_t(Offset));
}

void IncWordClamped(uint16_t &Value, int32_t Offset, int32_t Max, int32_t Min)
{
    const int64_t v = int64_t(Value) + Offset;
    Value = uint16_t(v > Max ? Max : v < Min ? Min : v);
}

int64_t StrDataSize(bool Len16, const uint8_t *Data, int32_t Pos, int32_t DataSize, int32_t KnownLen, bool LenKnown)
{
    return ReadStrHeader(Len16, Data, Pos, DataSize, KnownLen, LenKnown).Size();
}

void ReadStrData(bool Len16, const uint8_t *Data, int32_t Pos, int32_t DataSize, int64_t &Size, QString &Text,
                 int32_t KnownLen, bool LenKnown)
{
    const TStrHeader h = ReadStrHeader(Len16, Data, Pos, DataSize, KnownLen, LenKnown);
    const uint8_t *chars = Data + Pos + h.HeaderSize;
    Text.resize(qsizetype(h.Len));
    for (int64_t i = 0; i < h.Len; ++i)
        Text[qsizetype(i)] = QChar(char16_t(h.Options & 1 ? GetWord(chars, int32_t(2 * i)) : chars[i]));
    Size = h.Size();
}

bool IsWide(const QString &Text)
{
    for (QChar c : Text)
        if (c.unicode() > 255)
            return true;
    return false;
}

QByteArray WideToCompressed(const QString &Text)
{
    QByteArray r(Text.size(), '\0');
    for (qsizetype i = 0; i < Text.size(); ++i)
        r[i] = char(uint8_t(Text[i].unicode()));
    return r;
}

void WriteCompressed(const QString &Text, uint8_t *Data, int32_t Pos)
{
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const char16_t c = Text[i].unicode();
        Data[Pos + i] = c > 255 ? uint8_t('?') : uint8_t(c);
    }
}

QString CompressedToWide(const QByteArray &Text)
{
    QString r(Text.size(), QChar());
    for (qsizetype i = 0; i < Text.size(); ++i)
        r[i] = QChar(char16_t(uint8_t(Text[i])));
    return r;
}
