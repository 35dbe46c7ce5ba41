#pragma once
// Byte helpers that every record class uses on its raw data (little-endian words and dwords,
// checked increments, BIFF8 string headers), and the small value types the records share.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

using ByteArray = std::vector<uint8_t>;
// A record's data buffer: allocated with new[], owned by the record that holds it.
using PArrayOfByte = uint8_t *;

// Columns and rows, inclusive.
struct TXlsCellRange
{
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct TPrinterDriverSettings
{
    uint16_t OperatingEnviroment = 0;
    ByteArray Data;
};

// The message of a read past the data of a record and its CONTINUE records.
QString ErrorReadingRecordText();
[[noreturn]] void ErrorReadingRecord();
// "Error reading Excel records. File invalid": a file whose records do not make a workbook.
[[noreturn]] void ErrExcelInvalid();
// "Invalid String record": a text that does not fit its record.
[[noreturn]] void ErrInvalidString();
// "There are not visible sheets on the file".
[[noreturn]] void ErrNoVisibleSheets();
// A file object used before Connect or after Disconnect.
[[noreturn]] void ErrNoWorkbook();
// "The index ... of the property ... is not in the range Min-Max".
[[noreturn]] void XlsIndexError(int32_t Index, const QString &Property, int32_t Min, int32_t Max);

// Little-endian fields of record data; inline, as every cell access reads them.
inline uint16_t GetWord(const uint8_t *Data, int32_t Pos) { return uint16_t(Data[Pos] | (Data[Pos + 1] << 8)); }
inline void SetWord(uint8_t *Data, int32_t Pos, int32_t Value)
{
    Data[Pos] = uint8_t(Value);
    Data[Pos + 1] = uint8_t(Value >> 8);
}
inline uint32_t GetLongWord(const uint8_t *Data, int32_t Pos)
{
    return uint32_t(Data[Pos]) | (uint32_t(Data[Pos + 1]) << 8) | (uint32_t(Data[Pos + 2]) << 16)
           | (uint32_t(Data[Pos + 3]) << 24);
}
inline void SetLongWord(uint8_t *Data, int32_t Pos, uint32_t Value)
{
    SetWord(Data, Pos, int32_t(Value & 0xFFFF));
    SetWord(Data, Pos + 2, int32_t(Value >> 16));
}

// Value at Pos + Offset, refused below 0 or above Max with "Too many entries ...".
void IncWord(uint8_t *Data, int32_t Pos, int32_t Offset, int32_t Max);
void IncByte(uint8_t *Data, int32_t Pos, int32_t Offset, int32_t Max);
void IncWordChecked(uint16_t &Value, int32_t Offset, int32_t Max);
// No check: the dword wraps.
void IncLongWord(uint8_t *Data, int32_t Pos, int32_t Offset);
void IncWordClamped(uint16_t &Value, int32_t Offset, int32_t Max, int32_t Min);

// Byte size of the BIFF8 unicode string at Pos of a buffer of DataSize bytes. The count has 2
// bytes (Len16) or 1, or is KnownLen and not stored (LenKnown). A string that would end past
// the buffer raises "Error reading record".
int64_t StrDataSize(bool Len16, const uint8_t *Data, int32_t Pos, int32_t DataSize, int32_t KnownLen = 0,
                    bool LenKnown = false);
// Reads that string: its byte size and its characters (rich-text runs and far-east data skipped).
void ReadStrData(bool Len16, const uint8_t *Data, int32_t Pos, int32_t DataSize, int64_t &Size, QString &Text,
                 int32_t KnownLen = 0, bool LenKnown = false);

// True when a character code is above 255.
bool IsWide(const QString &Text);
// The low byte of every character.
QByteArray WideToCompressed(const QString &Text);
// One byte per character from Pos; a character above 255 becomes '?'.
void WriteCompressed(const QString &Text, uint8_t *Data, int32_t Pos);
// Every byte as the character of the same code.
QString CompressedToWide(const QByteArray &Text);
