#pragma once
// Plain value types that the workbook engine, the file interface and the grid exchange, and the
// small helpers that go with them (column letters, template search, format-text helpers).
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Types.h"
#include "framework/rtl/Variants.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TObject;
class TStream;

enum TXlsSheetVisible : uint8_t { sv_Visible, sv_Hidden, sv_VeryHidden };
enum THyperLinkType : uint8_t { hl_URL, hl_LocalFile, hl_UNC, hl_CurrentWorkbook };
enum TXlsImgTypes : uint8_t { xli_Emf, xli_Wmf, xli_Jpeg, xli_Png, xli_Bmp, xli_Unknown };
enum TWbAnchorType : uint8_t { at_MoveAndResize, at_MoveAndDontResize, at_DontMoveAndDontResize };
enum THWbAlignment : uint8_t {
    fha_general,
    fha_left,
    fha_center,
    fha_right,
    fha_fill,
    fha_justify,
    fha_center_across_selection
};
enum TVWbAlignment : uint8_t { fva_top, fva_center, fva_bottom, fva_justify, fva_distributed };
enum TWbBorderStyle : uint8_t {
    fbs_None,
    fbs_Thin,
    fbs_Medium,
    fbs_Dashed,
    fbs_Dotted,
    fbs_Thick,
    fbs_Double,
    fbs_Hair,
    fbs_Medium_dashed,
    fbs_Dash_dot,
    fbs_Medium_dash_dot,
    fbs_Dash_dot_dot,
    fbs_Medium_dash_dot_dot,
    fbs_Slanted_dash_dot
};
enum TWbDiagonalBorder : uint8_t { fdb_None, fdb_DiagDown, fdb_DiagUp, fdb_Both };
enum TWbFontStyle : uint8_t { flsBold, flsItalic, flsStrikeOut, flsSuperscript, flsSubscript };
using SetOfTWbFontStyle = TSet<TWbFontStyle>;
enum TWbUnderline : uint8_t { fu_None, fu_Single, fu_Double, fu_SingleAccounting, fu_DoubleAccounting };

// 1 = no fill, 2 = solid, higher values the file's patterns (up to 19).
using TWbPatternStyle = uint8_t;
// A palette entry + 1 (1 .. 56).
using TColorPaletteRange = uint8_t;

struct TXlsNamedRange
{
    QString Name;
    QString RangeFormula;
    int32_t OptionFlags = 0;
    int32_t NameSheetIndex = 0;
};

// In inches.
struct TXlsMargins
{
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double Header = 0;
    double Footer = 0;
};

struct TRTFRun
{
    uint16_t FirstChar = 0;
    uint16_t FontIndex = 0;
    bool operator==(const TRTFRun &) const = default;
};
using TRTFRunList = std::vector<TRTFRun>;

struct TRichString
{
    QString Value;
    TRTFRunList RTFRuns;
};

struct THyperLink
{
    THyperLinkType LinkType = hl_URL;
    QString Description;
    QString TargetFrame;
    QString TextMark;
    QString Text;
    QString Hint;
};

struct TXlsCellValue
{
    Variant Value;
    int32_t XF = -1; // -1: no cell, or keep the cell's format
    bool IsFormula = false;
};

// Column offsets in 1/1024 of the column's width, row offsets in 1/255 of the row's height.
struct TImageProperties
{
    int32_t Col1 = 0;
    int32_t dx1 = 0;
    int32_t Row1 = 0;
    int32_t dy1 = 0;
    int32_t Col2 = 0;
    int32_t dx2 = 0;
    int32_t Row2 = 0;
    int32_t dy2 = 0;
    QString FileName;
};

// The 18-byte client anchor of a drawing object.
struct TClientAnchor
{
    uint16_t Flag = 0;
    uint16_t Col1 = 0;
    uint16_t Dx1 = 0;
    uint16_t Row1 = 0;
    uint16_t Dy1 = 0;
    uint16_t Col2 = 0;
    uint16_t Dx2 = 0;
    uint16_t Row2 = 0;
    uint16_t Dy2 = 0;
};

struct TWbFont
{
    QString Name;
    uint16_t Size20 = 0; // twentieths of a point
    int32_t ColorIndex = 0; // palette entry + 1
    SetOfTWbFontStyle Style;
    TWbUnderline Underline = fu_None;
    uint8_t Family = 0;
    uint8_t CharSet = 0;
};

struct TWbOneBorder
{
    TWbBorderStyle Style = fbs_None;
    int32_t ColorIndex = 0;
};

struct TWbBorders
{
    TWbOneBorder Left;
    TWbOneBorder Right;
    TWbOneBorder Top;
    TWbOneBorder Bottom;
    TWbOneBorder Diagonal;
    TWbDiagonalBorder DiagonalStyle = fdb_None;
};

struct TWbFillPattern
{
    TWbPatternStyle Pattern = 1;
    int32_t FgColorIndex = 0;
    int32_t BgColorIndex = 0;
};

struct TWbFormat
{
    TWbFont Font;
    TWbBorders Borders;
    QString Format; // number-format text
    TWbFillPattern FillPattern;
    THWbAlignment HAlignment = fha_general;
    TVWbAlignment VAlignment = fva_top;
    bool Locked = false;
    bool Hidden = false;
    int32_t Parent = 0; // parent style XF
    bool WrapText = false;
    bool ShrinkToFit = false;
    uint8_t Rotation = 0; // 0..90 upward, 91..180 downward by value - 90, 255 vertical text
    uint8_t Indent = 0;
};

using BooleanArray = std::vector<bool>;
using WidestringArray = std::vector<QString>;
using WideCharArray = std::vector<QChar>;

using TOnGetFileNameEvent = std::function<void(TObject *Sender, const int32_t FileFormat, QString &Filename)>;
using TOnGetOutStreamEvent = std::function<void(TObject *Sender, const int32_t FileFormat, TStream *&OutStream)>;

// "A" .. "Z", "AA" .. for the 1-based column n.
QString ColumnLetters(int32_t n);
// A drive part, or a leading "\" (or "/").
bool IsAbsolutePath(const QString &FileName);
// The full name of an existing template file; "Can't find the file \"%s\"" when there is none.
QString SearchTemplateFile(const QString &BasePath, const QString &FileName);
// Empty AM and PM strings become "AM" and "PM".
void EnsureAmPm(TFormatSettings &Settings);
// The locale's settings, taken on first use and kept.
const TFormatSettings &CachedFormatSettings();
// The plain conversion with a point as decimal separator; true when the whole text converted.
bool TextToFloatPoint(const QString &s, double &value);
// Upper case of each character; the length stays.
QString WideUpper(const QString &s);
// Replaces Pattern (any case) by Replacement except inside double-quoted parts.
QString ReplaceOutsideQuotes(const QString &Text, const QString &Pattern, const QString &Replacement);
// Value formatted as a date and time (1462 days later for the 1904 date system); "##" when it
// cannot be.
QString FormatDateTimeWb(const QString &Format, bool Is1904, const TFormatSettings &Settings, double Value);
QString FormatDateTimeWb(const QString &Format, bool Is1904, double Value);
TXlsCellRange OffsetRange(const TXlsCellRange &Range, int32_t dRow, int32_t dCol);
void InitNamedRange(TXlsNamedRange &R);
QString VariantToText(const Variant &V);
