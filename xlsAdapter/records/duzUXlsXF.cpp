#include "xlsAdapter/records/duzUXlsXF.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t FirstCustomFormat = 164;
constexpr int32_t BuiltInCount = 50;

const char *BuiltInText(int32_t Id)
{
    switch (Id) {
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 12: return "?/?";
    case 13: return "# ?\?/??";
    case 14: return "mm/dd/YYYY";
    case 15: return "DD-MMM-YY";
    case 16: return "DD-MMM";
    case 17: return "MMM-YY";
    case 18: return "h:mm AM/PM";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "hh:mm";
    case 21: return "hh:mm:ss";
    case 22: return "mm/dd/YYYY hh:mm";
    case 37: return "#,##0 _$;-#,##0 _$";
    case 38: return "#,##0 _$;[Red]-#,##0 _$";
    case 39: return "#,##0.00 _$;-#,##0.00 _$";
    case 40: return "#,##0.00 _$;[Red]-#,##0.00 _$";
    case 45: return "mm:ss";
    case 46: return "[h]:mm:ss";
    case 47: return "mm:ss,0";
    case 48: return "##0.0E+0";
    case 49: return "@";
    default: return "";
    }
}

// The locale's date order with its separator; empty when the short date format names no part.
QString LocaleDate()
{
    const TFormatSettings &fs = FormatSettings;
    const QString sep(fs.DateSeparator);
    for (QChar c : fs.ShortDateFormat) {
        switch (c.toLower().unicode()) {
        case 'y': return "YYYY" + sep + "mm" + sep + "dd";
        case 'm': return "mm" + sep + "dd" + sep + "YYYY";
        case 'd': return "dd" + sep + "mm" + sep + "YYYY";
        default: break;
        }
    }
    return QString();
}

// A colour of a TWbFormat (palette entry + 1) as the file's index: 8 .. 64.
int32_t BorderColor(int32_t ColorIndex)
{
    int32_t c = (ColorIndex + 7) & 127;
    if (c < 8)
        c = 8;
    if (c > 64)
        c = 64;
    return c;
}

int32_t ColorRule(uint32_t v) { return v > 7 ? int32_t(v) - 7 : 1; }

void Mark(BooleanArray &UsedColors, int32_t Index)
{
    if (Index >= 0 && Index < int32_t(UsedColors.size()))
        UsedColors[size_t(Index)] = true;
}

} // namespace

QString BuiltInFormat(int32_t FormatId)
{
    if (FormatId == 14 || FormatId == 22) {
        const QString date = LocaleDate();
        if (!date.isEmpty())
            return FormatId == 14 ? date : date + " hh" + FormatSettings.TimeSeparator + "mm";
    }
    return QString::fromLatin1(BuiltInText(FormatId));
}

// ---------------------------------------------------------------------------------------------
// FONT

TFontRecord::TFontRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(16);
    try {
        StrDataSize(false, Data, 14, DataSize);
    } catch (const Exception &) {
        Invalid();
    }
}

TFontRecord *TFontRecord::CreateFromWbFont(const TWbFont &aFont)
{
    const TExcelString name(1, aFont.Name, true);
    const int32_t size = 14 + int32_t(name.TotalSize());
    auto *r = new TFontRecord(xlr_FONT, new uint8_t[size_t(size)](), size);
    uint8_t *d = r->Data;
    SetWord(d, 0, aFont.Size20);
    SetWord(d, 2, (aFont.Style.Contains(flsItalic) ? 2 : 0) + (aFont.Style.Contains(flsStrikeOut) ? 8 : 0));
    SetWord(d, 4, aFont.ColorIndex + 7);
    SetWord(d, 6, aFont.Style.Contains(flsBold) ? 700 : 400);
    SetWord(d, 8, aFont.Style.Contains(flsSubscript) ? 2 : aFont.Style.Contains(flsSuperscript) ? 1 : 0);
    static const uint8_t underline[] = {0, 1, 2, 0x21, 0x22};
    d[10] = underline[aFont.Underline <= fu_DoubleAccounting ? aFont.Underline : 0];
    d[11] = aFont.Family;
    d[12] = aFont.CharSet;
    d[13] = 0;
    name.CopyToPtr(d, 14);
    return r;
}

SetOfTWbFontStyle TFontRecord::Style() const
{
    SetOfTWbFontStyle s;
    if (GetWord(Data, 6) == 700)
        s.Include(flsBold);
    if (GetWord(Data, 2) & 2)
        s.Include(flsItalic);
    if (GetWord(Data, 2) & 8)
        s.Include(flsStrikeOut);
    if (GetWord(Data, 8) == 1)
        s.Include(flsSuperscript);
    if (GetWord(Data, 8) == 2)
        s.Include(flsSubscript);
    return s;
}

TWbUnderline TFontRecord::Underline() const
{
    switch (Data[10]) {
    case 1: return fu_Single;
    case 2: return fu_Double;
    case 0x21: return fu_SingleAccounting;
    case 0x22: return fu_DoubleAccounting;
    default: return fu_None;
    }
}

QString TFontRecord::Name() const
{
    int64_t size = 0;
    QString text;
    ReadStrData(false, Data, 14, DataSize, size, text);
    return text;
}

TWbFont TFontRecord::WbFont() const
{
    TWbFont f;
    f.Name = Name();
    f.Size20 = Height();
    f.ColorIndex = ColorIndex() + 1;
    f.Style = Style();
    f.Underline = Underline();
    f.Family = Family();
    f.CharSet = Charset();
    return f;
}

// ---------------------------------------------------------------------------------------------
// FORMAT

TFormatRecord::TFormatRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(5);
    try {
        StrDataSize(true, Data, 2, DataSize);
    } catch (const Exception &) {
        Invalid();
    }
}

TFormatRecord *TFormatRecord::CreateFromData(const QString &Fmt, uint16_t NewID)
{
    const TExcelString s(2, Fmt, false);
    if (2 + s.TotalSize() > 0xFFFF)
        throw Exception(QStringLiteral("Invalid String record"));
    const int32_t size = 2 + int32_t(s.TotalSize());
    auto *r = new TFormatRecord(xlr_FORMAT, new uint8_t[size_t(size)](), size);
    SetWord(r->Data, 0, NewID);
    s.CopyToPtr(r->Data, 2);
    return r;
}

QString TFormatRecord::Value() const
{
    int64_t size = 0;
    QString text;
    ReadStrData(true, Data, 2, DataSize, size, text);
    return text;
}

// ---------------------------------------------------------------------------------------------
// XF

TXFRecord::TXFRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(20);
}

TWbBorderStyle TXFRecord::GetBorderStyle(int32_t aPos, int32_t FirstBit) const
{
    return TWbBorderStyle((Data[aPos] >> FirstBit) & 15);
}

TWbBorderStyle TXFRecord::GetBorderStyleExt(int32_t aPos, int32_t FirstBit) const
{
    return TWbBorderStyle((GetLongWord(Data, aPos) >> FirstBit) & 15);
}

int32_t TXFRecord::GetBorderColorIndex(int32_t aPos, int32_t FirstBit) const
{
    return ColorRule((GetWord(Data, aPos) >> FirstBit) & 127);
}

int32_t TXFRecord::GetBorderColorIndexExt(int32_t aPos, int32_t FirstBit) const
{
    return ColorRule((GetLongWord(Data, aPos) >> FirstBit) & 127);
}

void TXFRecord::FillMisc(bool &Locked, bool &Hidden, int32_t &Parent, bool &WrapText, bool &ShrinkToFit,
                         uint8_t &Rotation, uint8_t &Indent) const
{
    const uint16_t prot = GetWord(Data, 4);
    Locked = prot & 1;
    Hidden = prot & 2;
    Parent = prot & 0xFFF0;
    WrapText = Data[6] & 8;
    ShrinkToFit = Data[8] & 16;
    Rotation = Data[7];
    Indent = Data[8] & 15;
}

int32_t TXFRecord::GetActualFontIndex(const TFontRecordList *FontList) const
{
    const int32_t i = FontIndex();
    const int32_t p = i <= 3 ? i : i - 1;
    return p < 0 || p >= FontList->Count() ? 0 : p;
}

TWbFormat TXFRecord::WbFormat(const TFontRecordList *FontList, TFormatRecordList *FormatList) const
{
    TWbFormat f;
    if (FontList->Count() > 0)
        f.Font = FontList->Items(GetActualFontIndex(FontList))->WbFont();
    f.Borders.Left.Style = GetBorderStyle(10, 0);
    f.Borders.Right.Style = GetBorderStyle(10, 4);
    f.Borders.Top.Style = GetBorderStyle(11, 0);
    f.Borders.Bottom.Style = GetBorderStyle(11, 4);
    f.Borders.Left.ColorIndex = GetBorderColorIndex(12, 0);
    f.Borders.Right.ColorIndex = GetBorderColorIndex(12, 7);
    f.Borders.Top.ColorIndex = GetBorderColorIndexExt(14, 0);
    f.Borders.Bottom.ColorIndex = GetBorderColorIndexExt(14, 7);
    f.Borders.Diagonal.Style = GetBorderStyleExt(14, 21);
    f.Borders.Diagonal.ColorIndex = GetBorderColorIndexExt(14, 14);
    f.Borders.DiagonalStyle = DiagonalStyle();
    f.Format = FormatList->GetFormat(FormatIndex());
    f.FillPattern.Pattern = TWbPatternStyle(CellPattern() + 1);
    f.FillPattern.FgColorIndex = CellFgColorIndex();
    f.FillPattern.BgColorIndex = CellBgColorIndex();
    f.HAlignment = HAlign();
    f.VAlignment = VAlign();
    FillMisc(f.Locked, f.Hidden, f.Parent, f.WrapText, f.ShrinkToFit, f.Rotation, f.Indent);
    return f;
}

TXFRecord *TXFRecord::CreateFromFormat(const TWbFormat &Fmt, TFontRecordList *FontList, TFormatRecordList *FormatList)
{
    const int32_t font = FontList->AddFont(Fmt.Font);
    const int32_t format = FormatList->AddFormat(Fmt.Format);
    auto *r = new TXFRecord(xlr_XF, new uint8_t[20](), 20);
    uint8_t *d = r->Data;
    const TWbBorders &b = Fmt.Borders;
    SetWord(d, 0, font);
    SetWord(d, 2, format);
    SetWord(d, 4, (Fmt.Locked ? 1 : 0) + (Fmt.Hidden ? 2 : 0));
    SetWord(d, 6, Fmt.HAlignment + (Fmt.WrapText ? 8 : 0) + Fmt.VAlignment * 16 + Fmt.Rotation * 256);
    SetWord(d, 8, (Fmt.Indent & 15) + (Fmt.ShrinkToFit ? 16 : 0) + 0xFC00);
    SetWord(d, 10, b.Left.Style + b.Right.Style * 16 + b.Top.Style * 256 + b.Bottom.Style * 4096);
    SetWord(d, 12, BorderColor(b.Left.ColorIndex) + BorderColor(b.Right.ColorIndex) * 128 + b.DiagonalStyle * 16384);
    // Pattern 0 is taken as no fill rather than wrapping to pattern 63.
    const uint32_t fill = uint32_t(std::max(Fmt.FillPattern.Pattern & 63, 1) - 1) << 26;
    SetLongWord(d, 14,
                uint32_t(BorderColor(b.Top.ColorIndex)) + uint32_t(BorderColor(b.Bottom.ColorIndex)) * 128 +
                    (uint32_t((b.Diagonal.ColorIndex + 7) & 127) << 14) + (uint32_t(b.Diagonal.Style) << 21) + fill);
    SetWord(d, 18,
            ((Fmt.FillPattern.FgColorIndex + 7) & 127) + (((Fmt.FillPattern.BgColorIndex + 7) << 7) & 0x3F80));
    return r;
}

void TXFRecord::FillUsedColors(BooleanArray &UsedColors, const TFontRecordList *FontList) const
{
    if (GetBorderStyle(10, 0) != fbs_None)
        Mark(UsedColors, GetBorderColorIndex(12, 0));
    if (GetBorderStyle(10, 4) != fbs_None)
        Mark(UsedColors, GetBorderColorIndex(12, 7));
    if (GetBorderStyle(11, 0) != fbs_None)
        Mark(UsedColors, GetBorderColorIndexExt(14, 0));
    if (GetBorderStyle(11, 4) != fbs_None)
        Mark(UsedColors, GetBorderColorIndexExt(14, 7));
    if (GetBorderStyleExt(14, 21) != fbs_None)
        Mark(UsedColors, GetBorderColorIndexExt(14, 14));
    if (CellPattern() != 0) {
        Mark(UsedColors, CellFgColorIndex());
        if (CellPattern() != 1)
            Mark(UsedColors, CellBgColorIndex());
    }
    if (FontList->Count() > 0)
        Mark(UsedColors, FontList->Items(GetActualFontIndex(FontList))->ColorIndex() + 1);
}

// ---------------------------------------------------------------------------------------------
// Lists

bool TXFRecordList::FindFormat(const TXFRecord *XF, int32_t &Index) const
{
    for (int i = 0; i < Count(); ++i) {
        const TXFRecord *r = Items(i);
        if (r->DataSize == XF->DataSize && std::memcmp(r->Data, XF->Data, XF->DataSize) == 0) {
            Index = i;
            return true;
        }
    }
    Index = -1;
    return false;
}

BooleanArray TXFRecordList::GetUsedColors(int32_t ColorCount, const TFontRecordList *FontList) const
{
    BooleanArray used(size_t(std::max(ColorCount, 0)), false);
    for (int i = 0; i < Count(); ++i)
        Items(i)->FillUsedColors(used, FontList);
    return used;
}

int32_t TFontRecordList::AddFont(const TWbFont &aFont)
{
    TFontRecord *f = TFontRecord::CreateFromWbFont(aFont);
    int32_t pos = -1;
    for (int i = 0; i < Count(); ++i) {
        const TFontRecord *r = Items(i);
        if (r->DataSize == f->DataSize && std::memcmp(r->Data, f->Data, f->DataSize) == 0) {
            pos = i;
            break;
        }
    }
    if (pos >= 0)
        delete f;
    else
        pos = Add(f);
    return pos < 4 ? pos : pos + 1;
}

void TFormatRecordList::Sort()
{
    TList::Sort([](void *a, void *b) {
        return int(static_cast<TFormatRecord *>(static_cast<TObject *>(a))->FormatId()) -
               int(static_cast<TFormatRecord *>(static_cast<TObject *>(b))->FormatId());
    });
    Sorted = true;
}

bool TFormatRecordList::Find(int32_t aItem, int32_t &Index)
{
    if (!Sorted)
        Sort();
    int lo = 0;
    int hi = Count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int32_t id = Items(mid)->FormatId();
        if (id == aItem) {
            Index = mid;
            return true;
        }
        if (id < aItem)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    Index = lo;
    return false;
}

int32_t TFormatRecordList::AddFormat(const QString &Fmt)
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Value() == Fmt)
            return Items(i)->FormatId();
    for (int32_t id = 0; id < BuiltInCount; ++id)
        if (BuiltInFormat(id) == Fmt)
            return id;
    if (!Sorted)
        Sort();
    const int32_t id = Count() == 0 ? FirstCustomFormat : std::max(Items(Count() - 1)->FormatId() + 1, FirstCustomFormat);
    Add(TFormatRecord::CreateFromData(Fmt, uint16_t(id)));
    return id;
}

QString TFormatRecordList::GetFormat(int32_t FormatId)
{
    int32_t index = 0;
    if (Find(FormatId, index))
        return Items(index)->Value();
    return FormatId >= 0 && FormatId < BuiltInCount ? BuiltInFormat(FormatId) : QString();
}
