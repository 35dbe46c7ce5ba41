#pragma once
// Cell formats (XF), fonts, number formats and styles of the workbook globals, with the
// conversion between an XF record and the engine's format value, and the built-in formats.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

constexpr uint16_t xlr_XF = 0x00E0;
constexpr uint16_t xlr_FONT = 0x0031;
constexpr uint16_t xlr_FORMAT = 0x041E;
constexpr uint16_t xlr_STYLE = 0x0293;

class TFontRecordList;
class TFormatRecordList;

// The text of built-in number format FormatId (0 .. 49); 14 and 22 follow the locale's short
// date format. Other ids give the empty string.
QString BuiltInFormat(int32_t FormatId);

class TFontRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TFontRecord)
    TFontRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // "Invalid String record" for a name of 256 or more characters.
    static TFontRecord *CreateFromWbFont(const TWbFont &aFont);

    uint16_t Height() const { return GetWord(Data, 0); }
    // The palette entry (the file's colour index - 8).
    int32_t ColorIndex() const { return int32_t(GetWord(Data, 4)) - 8; }
    SetOfTWbFontStyle Style() const;
    TWbUnderline Underline() const;
    uint8_t Family() const { return Data[11]; }
    uint8_t Charset() const { return Data[12]; }
    QString Name() const;
    TWbFont WbFont() const;
};

class TFormatRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TFormatRecord)
    TFormatRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TFormatRecord *CreateFromData(const QString &Fmt, uint16_t NewID);

    uint16_t FormatId() const { return GetWord(Data, 0); }
    QString Value() const;
};

// Kept and written back as read.
class TStyleRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TStyleRecord)
    using TBaseRecord::TBaseRecord;
};

class TXFRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TXFRecord)
    TXFRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // A new XF for Fmt; its font and number format are added to the lists when new.
    static TXFRecord *CreateFromFormat(const TWbFormat &Fmt, TFontRecordList *FontList, TFormatRecordList *FormatList);

    uint16_t FontIndex() const { return GetWord(Data, 0); }
    uint16_t FormatIndex() const { return GetWord(Data, 2); }
    THWbAlignment HAlign() const { return THWbAlignment(Data[6] & 7); }
    TVWbAlignment VAlign() const { return TVWbAlignment((Data[6] >> 4) & 7); }
    uint8_t Rotation() const { return Data[7]; }
    bool WrapText() const { return Data[6] & 8; }
    // The file's fill pattern, 0 = none, 1 = solid.
    int32_t CellPattern() const { return int32_t(GetLongWord(Data, 14) >> 26) & 63; }
    // Pattern colours as palette entry + 1, without a lower limit.
    int32_t CellFgColorIndex() const { return (GetWord(Data, 18) & 127) - 7; }
    int32_t CellBgColorIndex() const { return ((GetWord(Data, 18) >> 7) & 127) - 7; }
    TWbBorderStyle GetBorderStyle(int32_t aPos, int32_t FirstBit) const;
    TWbBorderStyle GetBorderStyleExt(int32_t aPos, int32_t FirstBit) const;
    // Palette entry + 1; 1 for the file's indexes 0 .. 7.
    int32_t GetBorderColorIndex(int32_t aPos, int32_t FirstBit) const;
    int32_t GetBorderColorIndexExt(int32_t aPos, int32_t FirstBit) const;
    TWbDiagonalBorder DiagonalStyle() const { return TWbDiagonalBorder((GetWord(Data, 12) >> 14) & 3); }
    // Parent is the parent XF index times 16.
    void FillMisc(bool &Locked, bool &Hidden, int32_t &Parent, bool &WrapText, bool &ShrinkToFit, uint8_t &Rotation,
                  uint8_t &Indent) const;
    // The list position of the font (font index 4 does not exist); 0 when outside the list.
    int32_t GetActualFontIndex(const TFontRecordList *FontList) const;
    TWbFormat WbFormat(const TFontRecordList *FontList, TFormatRecordList *FormatList) const;
    // Marks the colours the XF uses (palette entry + 1); marks outside the array are ignored.
    void FillUsedColors(BooleanArray &UsedColors, const TFontRecordList *FontList) const;
};

class TXFRecordList : public TBaseRecordList
{
public:
    int Add(TXFRecord *aRecord) { return TBaseRecordList::Add(aRecord); }
    void Insert(int Index, TXFRecord *aRecord) { TBaseRecordList::Insert(Index, aRecord); }
    TXFRecord *Items(int Index) const { return static_cast<TXFRecord *>(TBaseRecordList::Items(Index)); }

    // The first XF with the same data bytes; Index -1 when none.
    bool FindFormat(const TXFRecord *XF, int32_t &Index) const;
    BooleanArray GetUsedColors(int32_t ColorCount, const TFontRecordList *FontList) const;
};

class TFontRecordList : public TBaseRecordList
{
public:
    int Add(TFontRecord *aRecord) { return TBaseRecordList::Add(aRecord); }
    void Insert(int Index, TFontRecord *aRecord) { TBaseRecordList::Insert(Index, aRecord); }
    TFontRecord *Items(int Index) const { return static_cast<TFontRecord *>(TBaseRecordList::Items(Index)); }

    // The font index of aFont, added when no font has the same bytes.
    int32_t AddFont(const TWbFont &aFont);
};

class TFormatRecordList : public TBaseRecordList
{
public:
    int Add(TFormatRecord *aRecord)
    {
        Sorted = false;
        return TBaseRecordList::Add(aRecord);
    }
    void Insert(int Index, TFormatRecord *aRecord) { TBaseRecordList::Insert(Index, aRecord); }
    TFormatRecord *Items(int Index) const { return static_cast<TFormatRecord *>(TBaseRecordList::Items(Index)); }

    // By format id.
    void Sort();
    // The record of format id aItem (true), or where it would go (false); sorts first.
    bool Find(int32_t aItem, int32_t &Index);
    // The id of Fmt: a FORMAT record's, a built-in one's, or a new record's.
    int32_t AddFormat(const QString &Fmt);
    QString GetFormat(int32_t FormatId);

    bool Sorted = false;
};
