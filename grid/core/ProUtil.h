#pragma once
// Small text routines shared by the grid's readers, writers, clipboard and painting: quoting and
// line-break marks for the file formats, text and number classification, and a few numeric helpers.
// Positions are 1-based, 0 meaning "not found", as in the rest of the grid's string code.
#include <QString>
#include <QStringView>
#include <cstdint>

#include "framework/graphics/Graphics.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Types.h"

#include <memory>

class TStrings;
struct TGridRect;

// ---- Quoting and line-break marks ----------------------------------------------------------------

// Marks that carry line breaks inside one field of a delimited text line.
inline constexpr QChar CSVMarkCRLF = QChar(11);  // CR LF
inline constexpr QChar CSVMarkLF = QChar(12);    // a lone LF
inline constexpr QChar CSVMarkCR = QChar(14);    // a lone CR
// Put before a mark, before itself and (tilde form) before "~" or a lone "^" that the cell
// holds as text, so that the character reads back as itself.
inline constexpr QChar CSVMarkEscape = QChar(16);

// True when the text holds a CR or an LF.
bool HasLineBreak(const QString &s);
// Every double quote doubled.
QString DoubleQuotes(const QString &s);
// Every pair of ch collapsed to one ("" -> ", """ -> "").
QString UndoubleChar(QChar ch, const QString &s);
// True when the text must go through LineBreaksToVT (tilde form: LineBreaksToTilde) to be read
// back: it holds a line break, a mark or the escape (tilde form also "~", or is "^").
bool NeedsLineMarks(const QString &s, bool tilde = false);
// Line breaks replaced by the field marks above, so that the text stays on one physical line;
// marks held as text are escaped.
void LineBreaksToVT(QString &s);
// LineBreaksToVT, then the text wrapped in double quotes.
void QuoteCSVMultiLine(QString &s);
// The field marks turned back into the line breaks they stand for; escaped characters are text.
void VTToLineBreaks(QString &s);
// Every CR of a CR LF pair removed.
void LineBreaksToLF(QString &s);
// One cell of a line of space- or comma-separated text (the matrix and weights files). A cell
// holding a space, a comma, a double quote, a line break or a mark is written in double quotes,
// its quotes doubled and its line breaks as marks; an empty last cell is written as two double
// quotes so that the line keeps its width. Plain cells are written as they are.
QString EncodeTextCell(const QString &cell, bool last);
// The cells of one such line: any of separators ends a cell (two in a row enclose an empty one,
// one at the end adds an empty last cell); a cell that starts with a double quote runs to its
// closing quote, and text after that up to the next separator is dropped; marks become line
// breaks.
QStringList SplitTextCells(QStringView line, QStringView separators);

// Every CR LF becomes "~"; a lone CR or LF becomes its mark; "~", marks and the escape held as
// text, and a text that is exactly "^", are escaped.
void LineBreaksToTilde(QString &s);
// "~" becomes CR LF and the marks their line breaks; a field of exactly "^" (an empty cell)
// becomes empty; escaped characters are text.
void TildeToLineBreaks(QString &s);

// Position of the quote q that closes a quoted field whose opening quote was already dropped:
// the first odd run of q followed by another character, or a q at the very end. 0 when none.
int32_t FindClosingQuote(QChar q, QStringView s);
int32_t FindClosingQuote(QChar q, const QString &s, int32_t &pos);
// How many closing positions FindClosingQuote finds one after the other.
int32_t CountClosingQuotes(QChar q, QStringView s);
int32_t CountChar(QChar ch, QStringView s);
// First position of ch; also stored in pos.
int32_t CharPos(QChar ch, const QString &s, int32_t &pos);
// token := text before the first delimiter, and text keeps what follows it. Without a delimiter
// the token is empty and the text unchanged.
void SplitToken(QString &text, QChar delimiter, QString &token);

// Conversion to and from the OEM code page (437). The OEM bytes are held as the characters the
// ANSI code page gives them, so that the ANSI writer puts exactly those bytes into the file.
void TextToOEM(QString &s);
void OEMToText(QString &s);

// The grid's own text file and stream: when the text holds a CR, CR -> #9, LF -> #8, #0 -> #1.
QString EncodeCellLineBreaks(const QString &s);
// Undoes EncodeCellLineBreaks when the text holds #8; without multiLine only the first line is kept.
void DecodeCellLineBreaks(const QString &s, bool multiLine, QString &result);
// line := the text up to the first CR. The text loses that line, its CR and one LF after it, or is
// cleared unless keepRest.
void FirstLine(QString &text, bool keepRest, QString &line);
// 1 + the number of CRs with multiLine, else 1.
int32_t CountTextLines(const QString &s, bool multiLine);
// Settings files: a line break becomes backslash n, and backslash n becomes a CR.
QString LineBreaksToEscapes(const QString &s);
QString EscapesToLineBreaks(const QString &s);
// HTML: every CR becomes "<br>".
QString LineBreaksToBR(const QString &s);
// Clipboard text: every line break becomes a single LF.
QString CRToLF(const QString &s);
QString RemoveCR(const QString &s);
// All lines joined with nothing between them.
QString StringsToText(const TStrings &strings);
// Wraps an HTML fragment in the clipboard's HTML format header.
void AddHTMLClipboardHeader(QString &html);

// ---- Classification ------------------------------------------------------------------------------

// The locale values the routines below read.
QChar LocaleDecimalSeparator();
QChar LocaleThousandSeparator();
QChar LocaleDateSeparator();
QChar LocaleTimeSeparator();
QString LocaleShortDateFormat();

inline int32_t IntMax(int32_t a, int32_t b) { return a > b ? a : b; }
inline int32_t IntMin(int32_t a, int32_t b) { return a < b ? a : b; }
// Holds a value within limits; a limit of 0 or less is no limit, and equal limits mean no clamping.
int32_t ClampSize(int32_t value, int32_t minimum, int32_t maximum);
// True when the cell lies inside the range, edges included.
bool PointInCellRange(const TGridRect &range, int32_t col, int32_t row);
// Position of substr in the upper-cased text.
int32_t UpperCasePos(const QString &substr, const QString &s);

enum : int32_t
{
    ctkPlain = 0,
    ctkHTML = 1,
    ctkRichText = 2,
    ctkFormula = 3,
    ctkWide = 5
};
// 0 plain, 1 mini-HTML (only with detectHTML), 2 rich text, 3 formula, 5 wide-encoded text.
int32_t CellTextKind(const QString &s, bool detectHTML);

enum : int32_t
{
    ntkInteger = 0,
    ntkDecimal = 1,
    ntkNotNumber = 2,
    ntkExponent = 5
};
// 0 integer, 1 decimal number, 2 not a number, 5 number with an exponent.
int32_t NumericTextKind(const QString &s);

bool IsNumberChar(QChar c);
bool IsSignedNumberChar(QChar c);
bool IsFloatChar(QChar c);
bool IsFloatTextChar(QChar c);
bool IsSignedFloatChar(QChar c);

// Plain decimal text ("-1234.50") for a formatted number ("(1,234.50)", "$ 12.5").
QString NumberTextToDecimal(const QString &s);
// Red, green and blue as six upper-case hexadecimal digits.
QString ColorToHex(TColor color);
void FillWithChar(QString &s, QChar ch);
// Capitalises each word, with the "Mc" and final roman numeral rules for names.
QString MixedCaseText(const QString &s);

// "|\" followed by the high and the low byte of every UTF-16 unit, one character each.
QString EncodeWideCellText(const QString &wide);
QString DecodeWideCellText(const QString &s);
int32_t WidePos(const QString &substr, const QString &s);

bool IsURL(const QString &s);
void StripURLScheme(QString &s);
// Turns the link starting at prefix (looked up case-insensitively) into an anchor. 1 when a link
// was made (result set), else 0 (result untouched).
int32_t MakeURLLink(const QString &s, const QString &upperPrefix, QString &result);
// "R<row>C<column>" in any case; point.X is the column, point.Y the row. (0, 0) and false when malformed.
bool ParseRCReference(const QString &s, TPoint &point);

// ---- Filter conditions and date text ------------------------------------------------------------
// A condition compares with ">", ">=", "<" or "<=" (numbers, locale dates or text), or matches a
// wildcard pattern ("*" any run, "?" one character, "!" negates, double quotes group a text with
// blanks); "&" joins with AND, "|", ";" and "^" with OR, strictly from left to right, and
// parentheses group. Blanks outside double quotes are dropped.

// An expression prepared once and matched against many texts.
class TFilterExpression
{
public:
    TFilterExpression(const QString &Expression, bool CaseSensitive);
    ~TFilterExpression();
    TFilterExpression(const TFilterExpression &) = delete;
    TFilterExpression &operator=(const TFilterExpression &) = delete;

    bool Matches(const QString &Value) const;
    const QString &Expression() const { return FExpression; }
    bool CaseSensitive() const { return FCaseSensitive; }

    struct TSequence;

private:
    QString FExpression;
    bool FCaseSensitive;
    std::unique_ptr<TSequence> FRoot;
};

bool MatchFilterExpression(const QString &Expression, const QString &Value, bool CaseSensitive);
bool MatchFilterTerm(const QString &Term, const QString &Value, bool CaseSensitive);
// Condition and value already in the wanted case.
bool MatchFilterCondition(const QString &Condition, const QString &Value);

// A date in the order of the locale's short date format, with an optional time after a blank.
// False for anything else; a time without the time separator is false with Value the date.
bool ParseLocaleDateTime(const QString &Text, TDateTime &Value);
// Month, day, year (US) or day, month, year (EU) separated by "/", "." or "-"; a year below 100
// is read as 2000 + year up to 25, else 1900 + year. 0 when the text is no such date.
TDateTime ParseShortDateUS(const QString &Text);
TDateTime ParseShortDateEU(const QString &Text);
// The next date of a series: by days, years or months when only that one is given, otherwise
// by Step. A day beyond the end of the month it lands in becomes that month's last day.
TDateTime StepDate(int Years, int Months, int Days, double Step, TDateTime Date);
// The date separator at position 2 or later, twice.
bool LooksLikeDate(const QString &Text);
// Thousand separators left out, the decimal separator written as ".".
QString NormaliseNumberText(const QString &Text);

// ---- Drawing routines ----------------------------------------------------------------------------
// Small things the grid and its drop-downs paint in fixed ways. To fill a rectangle is to give pen
// and brush the same colour and draw it; clNone means "no colour".

class TCanvas;
class TBitmap;
class TFont;
class TWinControl;

struct TColorTone
{
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

// The grid's colour set for buttons, one tone per button state.
struct TColorTones
{
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// Button states and looks of the button drawing routines.
enum : int32_t { bstNormal = 0, bstHot = 1, bstDown = 2, bstDisabled = 3 };
enum : int32_t { blkThemed = 0, blkClassic = 1, blkFlat = 2, blkTones = 3 };

enum TCellShape {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
    csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp,
    csArrowDown, csArrowLeft, csArrowRight, csHalfStar
};

// What a three-level progress bar looks like.
struct TLevelProgressAppearance
{
    TColor Level0Color = clLime, Level0ColorTo = clNone;
    TColor Level1Color = clYellow, Level1ColorTo = clNone;
    TColor Level2Color = 0x00A5FF, Level2ColorTo = clNone;
    TColor Level3Color = clRed, Level3ColorTo = clNone;
    int32_t Level1Perc = 70;
    int32_t Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = true;
    TFont *Font = nullptr; // none: the canvas keeps its font
    TColor CompleteFontColor = clBlue;
    bool CompletionSmooth = true;
    bool ShowGradient = true;
    int32_t Steps = 11;
    TColor UnCompleteColor = clWhite;
    bool Vertical = false;
};

// Bands from one colour to the other, left to right when Horizontal, else top to bottom; the
// number of bands is at most StepLimit and at most the extent.
void GradientFill(TCanvas *Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int32_t StepLimit);
// A cell's background: plain, gradient or gradient with a mirrored second half, then its border
// (only the left and right sides with SidesOnly). Direction set: top to bottom.
void FillCellBackground(TCanvas *Canvas, const TRect &R, TColor Color, bool Fill, bool SidesOnly, TColor BorderColor,
                        bool Direction, TColor MirrorColorTo, TColor MirrorColor, TColor ColorTo);
// The colour at Position of a range from RangeStart to RangeEnd running from FromColor to ToColor.
TColor BlendColor(TColor FromColor, TColor ToColor, int32_t RangeStart, int32_t Position, int32_t RangeEnd);
TColor DarkenHalf(TColor Color);
// Each channel changed by Percentage percent (negative darkens), kept within 0..255.
TColor ShadeColor(TColor Color, int32_t Percentage);
// The rounded selection frame; CornerType 0 rounds both sides, 1 the left, 2 the right, 3 none.
void DrawRoundedSelectionShape(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t CornerType, const TRect &R,
                               TColor OuterCornerColor, TColor InnerCornerColor, TColor TopColor, TColor BottomColor,
                               TColor EdgeColor, TColor MirrorColorTo, TColor MirrorColor);
// Buttons in four looks (themed, classic, flat, tones) and four states (normal, hot, down, disabled).
void DrawDropDownButton(TCanvas *Canvas, uintptr_t ThemeWindow, const TRect &R, const TColorTones &Tones, int32_t State,
                        int32_t Look);
void DrawPushButton(TCanvas *Canvas, uintptr_t ThemeWindow, const TRect &R, const TColorTones &Tones, int32_t State,
                    int32_t Look);
void DrawSpinButtons(TCanvas *Canvas, uintptr_t ThemeWindow, const TRect &R, const TColorTones &Tones, int32_t State,
                     int32_t Look);
// A progress-bar cell: Color/TextColor paint the filled part, BKColor/BKTextColor the rest.
void DrawCellProgress(TCanvas *Canvas, TRect R, TColor Color, TColor TextColor, TColor BKColor, TColor BKTextColor,
                      TColor BorderColor, const QString &Fmt, int32_t Max, int32_t Min, int32_t MarginY,
                      int32_t MarginX, double Position);
void DrawLevelProgress(TCanvas *Canvas, TRect R, int32_t Percentage, const TLevelProgressAppearance &Appearance);
// The percentage an XP progress cell shows for Value in the range From .. To; an empty range
// shows 0 below its value and 100 from it on.
int XPProgressPercentage(int Value, int From, int To);
// A bar from the middle of R to the left (negative) or right (positive), Value within -Range..Range.
void DrawCenteredBar(TCanvas *Canvas, TRect R, double Value, TColor PosColor, TColor NegColor, bool ShowValue,
                     double Range);
// A pie filled clockwise from the top for Percentage of the disc.
void DrawPie(TCanvas *Canvas, const TRect &R, TColor FillColor, bool Flag, int32_t Percentage);
void DrawCellShape(TCanvas *Canvas, int32_t X, int32_t Y, TColor PenColor, TColor BrushColor, TCellShape Shape,
                   int32_t Height, int32_t Width);
// The glyph at R's top-left with its top-left pixel's colour shown as BkColor.
void DrawTransparentBitmap(TCanvas *Canvas, TBitmap *Bitmap, TColor BkColor, const TRect &R);
// The same for one of the grid's own glyphs ("PSGCHK01".."PSGCHK08", "PSGRAD01".."PSGRAD08",
// "PSGLEAFCLOSE", "PSGLEAFOPEN", "XPNODEC", "XPNODEO"); false for an unknown name.
bool DrawTransparentResource(TCanvas *Canvas, const QString &ResName, TColor BkColor, const TRect &R);
// The grid's own glyphs by name; false (and Bitmap untouched) for an unknown name.
bool LoadGridResourceBitmap(const QString &ResName, TBitmap &Bitmap);
void DrawDownTriangle(TCanvas *Canvas, int32_t X, int32_t Y, TColor Color);
void FillRectColor(TCanvas *Canvas, const TRect &R, TColor Color);
// A red zig-zag under characters Start .. Start + Len - 1 (1-based) of Text written from R's left
// edge in Owner's font, LineOffset pixels below R's top.
void DrawErrorUnderline(TWinControl *Owner, TCanvas *Canvas, const QString &Text, int32_t Len, int32_t Start,
                        int32_t LineOffset, const TRect &R);

// Layered (translucent) windows; true when the platform has no such call.
bool DynUpdateLayeredWindow(uintptr_t Wnd, const TPoint *Pos, TBitmap *Source, uint8_t Alpha);
bool DynSetLayeredWindowAttributes(uintptr_t Wnd, TColor Key, uint8_t Alpha, uint32_t Flags);
