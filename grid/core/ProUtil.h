#pragma once
// Small text routines shared by the grid's readers, writers, clipboard and painting: quoting and
// line-break marks for the file formats, text and number classification, and a few numeric helpers.
// Positions are 1-based, 0 meaning "not found", as in the rest of the grid's string code.
#include <QString>
#include <QStringView>
#include <cstdint>

#include "framework/graphics/Graphics.h"
#include "framework/rtl/Types.h"

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
