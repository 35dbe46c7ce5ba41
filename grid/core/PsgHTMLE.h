#pragma once
// The mini-HTML text of cells, hints and captions: its renderer and its string routines.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImgList.h"
#include "grid/core/PictureContainer.h"

#include <QString>

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// ---- Text utilities --------------------------------------------------------------------------

// Replaces the first occurrence of Find (ASCII case ignored) in Text; true when one was found.
bool ReplaceFirstIgnoreCase(const QString &Find, const QString &Replacement, QString &Text);
QString DecodeHTMLEntities(const QString &Text);
QString EncodeHTMLEntities(const QString &Text);
QString EncodeHTMLSpaces(const QString &Text);
// "<#...>" shows as text: its "<" and the ">" that closes it are dropped.
QString NeutraliseHashTags(const QString &Text);
// CR becomes "<BR>" when AddBreaks; CR and LF are dropped.
QString LineBreaksToHTML(const QString &Text, bool AddBreaks);
QString PasswordMask(const QString &Text);
// Plain text; "<BR>" and "<HR>" become CR LF.
QString StripHTMLText(const QString &Text);
QString StripHTMLTags(const QString &Text);
// 1-based index in the markup of the position that follows the (N-1)-th visible character;
// 0 when the text has fewer visible characters.
int32_t HTMLVisibleIndex(const QString &Text, int32_t N);
// Encloses every occurrence of SearchText in the visible text in <Tag> and </Tag>.
void HighlightHTMLText(const QString &Text, const QString &SearchText, const QString &Tag, QString &Result,
                       bool CaseSensitive);
QString UnHighlightHTMLText(const QString &Text, const QString &Tag);

void ParseHTMLControlTag(const QString &TagText, QString &CType, QString &CID, QString &CValue, QString &CWidth,
                         QString &CHeight, QString &CProp, QString &CMaxLen);
bool HasHTMLControl(const QString &Text);
QString GetNextHTMLControlID(const QString &Text, const QString &ID);
bool GetHTMLControlValue(const QString &Text, const QString &ID, QString &Value);
QString GetHTMLControlProp(const QString &Text, const QString &ID);
int32_t GetHTMLControlMaxLen(const QString &Text, const QString &ID);
bool SetHTMLControlValue(QString &Text, const QString &ID, const QString &Value);
QString ClearHTMLRadioGroup(const QString &Text);

// ---- Renderer --------------------------------------------------------------------------------

// The colours of <HI> text.
void SetHTMLHighlightColors(TColor HighlightColor, TColor HighlightTextColor);
TColor HTMLHighlightColor();
TColor HTMLHighlightTextColor();

// Lays out, draws, measures and hit-tests mini-HTML text in DrawRect. True when (XPos, YPos)
// lies on a link's text (only found by a measuring second pass, HitTestOnly), on an image link
// or on a control.
bool DrawHTMLText(TCanvas *Canvas, const QString &Text, const TRect &DrawRect, TCustomImageList *Images, int32_t XPos,
                  int32_t YPos, int32_t FocusLink, int32_t HoverLink, int32_t ShadowOffset, bool HitTestOnly,
                  bool MeasureOnly, bool Printing, bool Selected, bool BlinkOn, bool HoverOnly, bool WordWrap,
                  bool ButtonDown, double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, QString &AnchorVal, QString &StripVal, QString &FocusAnchor,
                  QString &AnchorTitle, int32_t &XSize, int32_t &YSize, int32_t &LinkCount, int32_t &MouseLink,
                  TRect &HoverRect, TRect &ControlRect, QString &ControlID, QString &ControlValue,
                  QString &ControlType, THTMLPictureCache *PictureCache, TPictureContainer *PictureContainer,
                  uintptr_t ThemeWindow, TBiDiMode BiDiMode);
