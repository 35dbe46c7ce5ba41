#pragma once
// The drop-down edit behind every picker: a single-line edit with a button at its right edge that
// opens a frameless pop-up window holding the picker's control; the pop-up window, the edit's
// button, and the drawing helpers the drop-down classes share.
#include "editors/LabelPosition.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/Controls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImgList.h"
#include "framework/rtl/Lists.h"
#include "framework/rtl/Types.h"
#include "grid/core/ProStyleIF.h"
#include "grid/core/ProUtil.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class TProCustomDropDown;
class TProDropDownSpeedButton;
// The pop-up's header and footer strips and their settings, and the look of their buttons.
class TProHeader;
class TProFooter;
class TProDropDownStrip;
class THeaderAppearance;
class TFooterAppearance;
class TProButtonAppearance;
class TScrollBox;

enum TGradientDirection { gdHorizontal, gdVertical };

// ---- Drawing helpers -------------------------------------------------------------------------

// Steps solid bands from FromColor towards ToColor (the last band stops one step short of it);
// Direction True: bands side by side from left to right, else from top to bottom. 0 or fewer
// steps count as 1.
void DrawGradientSteps(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t Steps, TRect R, bool Direction);
// Percent of Color1 mixed with the rest of Color2, channel by channel; 100 or more gives Color1,
// 0 or less Color2.
TColor BlendColor(TColor Color1, TColor Color2, int32_t Percent);
// Each channel scaled to (100 + its percentage) percent, at most 100 %; a channel that is 0
// becomes the percentage itself when that is positive.
TColor AdjustColorPercent(TColor Color, int32_t RPercent, int32_t GPercent, int32_t BPercent);
// A gradient of 80 bands (top to bottom for gdVertical) when ToColor is set, else a plain fill in
// FromColor when that is set; then a frame of PenWidth in BorderColor when both are set.
void DrawGradientBox(TCanvas *Canvas, TRect R, TColor FromColor, TColor ToColor, TColor BorderColor,
                     int32_t PenWidth, TGradientDirection Direction);
// An image of the list 4 pixels from the left, vertically centred, and the text after it in one
// line with an ellipsis when too long; without an image the text is centred.
void DrawImageAndText(TCanvas *Canvas, TRect R, const QString &Text, TCustomImageList *Images, int32_t ImageIndex);
// Draws Glyph into R with every pixel of its top-left pixel's colour replaced by BackColor.
void DrawTransparentGlyph(TCanvas *Canvas, TBitmap *Glyph, TColor BackColor, TRect R);
// The size of Text in one line; (0, 0) for an empty text.
void GetTextExtent(TCanvas *Canvas, const QString &Text, TSize &Size);
// Text when it is not wider than MaxWidth; otherwise the longest shortening from the end (with
// "..." after it when Ellipsis) that is narrower, or Text when none is.
QString TruncateText(TCanvas *Canvas, const QString &Text, int32_t MaxWidth, bool Ellipsis);
// Draws mini-HTML text into R, or only measures it when Draw is False; Size gets its width and
// height ((0, 0) for an empty text).
void DrawHTMLCaption(TCanvas *Canvas, const QString &HTML, TRect R, TCustomImageList *Images, bool Draw,
                     uintptr_t WindowHandle, TPoint &Size);

// Reaches a windowed control's painting of its children, for a control that paints its parent's
// other children under itself.
class TWinCtrl : public TWinControl
{
public:
    explicit TWinCtrl(TComponent *AOwner) : TWinControl(AOwner, nullptr) {}
    void PaintCtrls(TCanvas *DC, TControl *First) { PaintControls(DC, First); }
    static void PaintCtrls(TWinControl *Control, TCanvas *DC, TControl *First)
    {
        if (Control)
            (Control->*(&TWinCtrl::PaintControls))(DC, First);
    }
};

// ---- Types -----------------------------------------------------------------------------------

enum TDropPosition { dpAuto, dpDown, dpUp };
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};
enum TButtonStyle { bsButton, bsDropDown };

using TDropDown = std::function<void(TObject *Sender, bool &acceptdrop)>;
using TDropUp = std::function<void(TObject *Sender, bool Cancelled)>;
using TClipboardEvent = std::function<void(TObject *Sender, const QString &value, bool &allow)>;
using TDropDownButtonItemClick = std::function<void(TObject *Sender, int32_t ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject *Sender, TCanvas *ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject *Sender, QString &Text)>;

// ---- The pop-up window -----------------------------------------------------------------------

// The frameless, top-most window of a drop-down. It closes itself when another window takes the
// activation, unless that window belongs to it (a dialog opened from inside it).
class TDropDownForm : public TForm
{
public:
    explicit TDropDownForm(TComponent *AOwner, int32_t Dummy = 0);

    // Brings the header and footer strips up to date with the edit's settings.
    void InitializeAndUpdate();
    void UpdateSize() {}

    // Tick count of the last deactivation.
    uint32_t DeActivateTime() const { return FDeActivate; }
    bool Shadow() const { return FShadow; }
    void SetShadow(bool v) { FShadow = v; }
    TProFooter *Footer() const { return FFooter; }
    TProHeader *Header() const { return FHeader; }
    TProCustomDropDown *ProDropDown() const { return FProDropDown; }
    void SetProDropDown(TProCustomDropDown *v) { FProDropDown = v; }
    TScrollBox *ScrollBox() const { return FScrollBox; }
    // The bottom-right corner sizes the window.
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool v) { FSizeable = v; }
    // Losing the activation cancels (True) or accepts (False).
    bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
    void SetCancelOnDeActivate(bool v) { FCancelOnDeActivate = v; }
    // Activation changes are ignored while set.
    bool BlockActivate() const { return FBlockActivate; }
    void SetBlockActivate(bool v) { FBlockActivate = v; }

    // The client area inside the frame, where the header, control and footer align.
    void AdjustClientRect(TRect &Rect) const override;
    void Dispatch(TMessage &Message) override;

    // Fired while the user sizes the window.
    TNotifyEvent OnSizing;

protected:
    void WMPaint(TMessage &Message) override;
    void WMActivate(TMessage &Message) override;
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }
    void SetVisible(bool v) override;

private:
    int32_t borderWidth() const;

    uint32_t FDeActivate = 0;
    bool FShadow = true;
    TProFooter *FFooter = nullptr;
    TProHeader *FHeader = nullptr;
    TProCustomDropDown *FProDropDown = nullptr;
    TScrollBox *FScrollBox = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
};

// ---- The edit's button -----------------------------------------------------------------------

// The button that draws the drop-down arrow: themed combo-box button, coloured flat button or
// classic button.
class TProDropDownSpeedButton : public TSpeedButton
{
public:
    explicit TProDropDownSpeedButton(TComponent *AOwner);

    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool Focused() const { return FFocused; }
    void SetFocused(bool v);
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle v);
    // Draws the button as not pressed whatever its state.
    void SetUp() { FUp = true; }
    bool Hot() const { return FHot; }

    void Dispatch(TMessage &Message) override;

protected:
    void Paint() override;

private:
    void paintDropDown();
    void paintButton();
    // The visual-style state: 4 disabled, 3 pressed, 2 hot, 1 normal.
    int themeState(bool Enabled) const;
    TProCustomDropDown *edit() const;

    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP = false;
    TButtonStyle FButtonStyle = bsButton;
};

// The windowed container at the right edge of the edit that holds the speed button; a left-button
// release on the speed button is its click, wherever the release lands.
class TDropDownEditButton : public TWinControl
{
public:
    explicit TDropDownEditButton(TComponent *AOwner);

    TBitmap *Glyph() const;
    void SetGlyph(TBitmap *v);
    QString ButtonCaption() const;
    void SetButtonCaption(const QString &v);
    int NumGlyphs() const;
    void SetNumGlyphs(int v);
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *v);
    // The width the container keeps, whatever bounds it is given.
    int ButtonWidth() const { return FBWidth; }
    void SetButtonWidth(int v);

    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; invalidateButton(); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; invalidateButton(); }
    // The colour of the arrow.
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; invalidateButton(); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; invalidateButton(); }
    // clNone selects the system's look.
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; invalidateButton(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; invalidateButton(); }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; invalidateButton(); }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage &Message) override;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    friend class TProDropDownSpeedButton;
    friend class TProCustomDropDown;
    void adjustWinSize(int &W, int &H);
    void invalidateButton();

    TProDropDownSpeedButton *FButton = nullptr;
    TWinControl *FFocusControl = nullptr;
    int FBWidth = 16;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

// ---- The drop-down edit ----------------------------------------------------------------------

// Creation runs in two steps: the constructor sets the fields, then AfterConstruction creates the
// pop-up and the button and applies the colour styles through the overrides of the class that is
// being created. NewDropDown does both. A picker's constructor sets only what its overrides need;
// the defaults that follow the creation steps go into its AfterConstruction, after the inherited one.
class TProCustomDropDown : public TCustomMaskEdit, public IDUZStyle, public IDUZTones
{
public:
    explicit TProCustomDropDown(TComponent *AOwner);
    ~TProCustomDropDown() override;

    // The creation steps that call overrides; runs once.
    virtual void AfterConstruction();

    // From another drop-down edit the settings; any other source is ignored.
    void Assign(TPersistent *Source) override;

    TDropDownEditButton *Button() const { return FButton; }
    bool DroppedDown() const { return FDroppedDown; }
    TDUZStyle GetComponentStyle() const { return FDUZStyle; }
    void Dispatch(TMessage &Message) override;
    void WndProc(TMessage &Message) override;
    // The end of loading the stored properties: the text rectangle, the button and the label.
    virtual void Loaded();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The label moves to the new parent with the edit.
    void SetParent(TWinControl *AParent) override;
    // Mouse over the edit, or the screen's active control.
    bool IsHot() const;

    // The operations a picker overrides, in this order.
protected:
    virtual void DoLabelClick();
    virtual void DoLabelDblClick();
    virtual int32_t GetVersionNr();
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void SizeDropDownButton();
    virtual void BeforeDropDown();
    virtual void FocusDropDownControl();
public:
    virtual void ShowDropDown();
protected:
    virtual void PlaceDropDownControl();
    virtual void SizeDropDownForm();
public:
    virtual void HideDropDown(bool CancelChanges);
protected:
    virtual void DropDownClosed();
    virtual void DropDownFormDestroyed();
    virtual void FormMouseWheelDown(TShiftState Shift, TPoint MousePos, bool &Handled);
    virtual void FormMouseWheelUp(TShiftState Shift, TPoint MousePos, bool &Handled);
    virtual void FormKeyPress(QChar &Key);
    virtual void FormKeyDown(Word &Key, TShiftState Shift);
    virtual void FormKeyUp(Word &Key, TShiftState Shift);
    virtual void ControlKeyDown(Word &Key, TShiftState Shift);
    virtual void ControlKeyUp(Word &Key, TShiftState Shift);
    virtual void ControlKeyPress(QChar &Key);
    virtual void DropDownFormResize();
    virtual void WheelDownAction();
    virtual void WheelUpAction();
    virtual void DrawDisplayText();
    virtual void SetEditRect();
    virtual void UpdateButtonBounds();
public:
    // The window text becomes Prefix + Value + Suffix; Value is what a cancelled drop-down
    // restores.
    virtual void SetText(const QString &Value);
protected:
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    virtual void DrawSelectionBackground(TCanvas *Canvas, TRect Rect, TColor Background, int32_t Ends);
    virtual void DrawBackground(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t Steps, TRect Rect,
                                bool Vertical);
public:
    void SetComponentStyle(TDUZStyle AStyle) override;
    void SetColorTones(const TColorTones &ATones) override;

protected:
    // ---- Properties; a picker publishes the ones it needs.
    int32_t DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int32_t v);
    int32_t DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int32_t v);
    // False makes the edit a display that only opens the pop-up.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v);
    TDropPosition DropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition v) { FDropPosition = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { FFlat = v; }
    bool Etched() const { return FEtched; }
    void SetEtched(bool v) { FEtched = v; }
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *v);
    bool DropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool v) { FDropDownShadow = v; }
    int32_t DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int32_t v) { FDropDownBorderWidth = v; }
    const QString &DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const QString &v);
    TColor DropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor v) { FDropDownColor = v; }
    TColor DropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor v) { FDropDownColorTo = v; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor v) { FDropDownBorderColor = v; }
    TGradientDirection DropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(TGradientDirection v) { FDropDownGradient = v; }
    int32_t DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int32_t v);
    TBitmap *DropDownButtonGlyph() const { return FButton ? FButton->Glyph() : nullptr; }
    void SetDropDownButtonGlyph(TBitmap *v);
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool v) { FDropDownSizeable = v; }
    bool DropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool v) { FDropDownEnabled = v; }
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *v);
    // The pop-up's hosted control.
    TControl *Control() const { return FControl; }
    void SetControl(TControl *v);
    THeaderAppearance *DropDownHeader() const { return FDropDownHeader; }
    void SetDropDownHeader(THeaderAppearance *v);
    TFooterAppearance *DropDownFooter() const { return FDropDownFooter; }
    void SetDropDownFooter(TFooterAppearance *v);
    TProButtonAppearance *ButtonAppearance() const { return FButtonAppearance; }
    void SetButtonAppearance(TProButtonAppearance *v);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor v) { FSelectionColor = v; }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor v) { FSelectionColorTo = v; }
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v) { FFocusBorderColor = v; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v);
    // The caption label beside the edit, made on the first caption.
    QString LabelCaption() const;
    void SetLabelCaption(const QString &v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    int32_t LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int32_t v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    // The label stays enabled when the edit is disabled at load time.
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v) { FLabelAlwaysEnabled = v; }
    TFont *LabelFont() const { return FLabelFont; }
    void SetLabelFont(TFont *v);
    // Paint the focused display when the editor is off.
    bool FocusDraw() const { return FFocusDraw; }
    void SetFocusDraw(bool v) { FFocusDraw = v; }
    bool ForceShadow() const { return FForceShadow; }
    void SetForceShadow(bool v) { FForceShadow = v; }
    // Four dot-separated numbers of GetVersionNr; writing changes nothing.
    QString Version();
    void SetVersion(const QString &) {}

    TDropDownEditType EditType() const { return FEditType; }
    void SetEditType(TDropDownEditType v);
    int16_t Precision() const { return FPrecision; }
    void SetPrecision(int16_t v);
    int16_t LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int16_t v) { FLengthLimit = v; }
    const QString &Prefix() const { return FPrefix; }
    void SetPrefix(const QString &v) { FPrefix = v; }
    const QString &Suffix() const { return FSuffix; }
    void SetSuffix(const QString &v) { FSuffix = v; }
    bool Signed() const { return FSigned; }
    void SetSigned(bool v) { FSigned = v; }
    // Enter acts as Tab.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool v) { FAllowNumericNullValue = v; }
    // Enter and Esc go on to the parent.
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool v) { FDefaultHandling = v; }
    // Esc selects the text and clears the modified flag.
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool v) { FCanUndo = v; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    const QString &ValidChars() const { return FValidChars; }
    void SetValidChars(const QString &v) { FValidChars = v; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool v) { FAutoThousandSeparator = v; }

    // ---- Typed input. The window holds Prefix + value + Suffix; Text is the value.
public:
    double GetFloatValue();
    void SetFloatValue(double Value);
    void SetIntValue(int64_t Value);
    // The value selected (never the prefix or suffix).
    void SelectAll();
    // The caret just after / just before the value's first decimal separator, else at its start.
    void SelectAfterDecimal();
    void SelectBeforeDecimal();
    // The window text as it stands, without prefix, suffix or formatting.
    void SetEditText(const QString &Value);
    // 0 integer, 1 float, 5 hexadecimal, 2 none (see numericKind values below).
    static int NumericKind(const QString &S);
    static QString StripThousandSeparators(const QString &S);
    // The value of S with thousand separators removed; 0 when it is no number.
    static double StrToFloatEx(const QString &S);
    static int HexDigitValue(QChar C);
    static int64_t HexToInt(const QString &S);
    static bool IsRangeSeparator(QChar C);
    // S unchanged when MatchCase, else upper-cased.
    static QString MatchCaseText(const QString &S, bool MatchCase);
    bool GetModifiedFlag() const { return FIsModified; }
    void SetModifiedFlag(bool Value);

protected:
    // Money values: the integer part gets thousand separators again; the caret keeps its
    // distance from the end.
    void ApplyThousandSeparators();
    // The 1-based position where the integer part of S ends.
    int IntegerPartEnd(const QString &S) const;
    // The window position (1-based) of the value's first decimal separator, or past the end.
    int DecimalSeparatorPos();
    bool IsSignKey(QChar C) const;
    // A thousand separator at Caret would not stand exactly 3 digits from the others.
    bool ThousandGroupMisplaced(const QString &S, int Caret) const;
    bool DecimalsFull(const QString &S, int Caret) const;

public:
    // The text rectangle last given to the edit.
    TRect GetEditRect() const { return FEditRect; }
    TDropDownForm *DropDownForm() const { return FDropDownForm; }
    // Opens the pop-up unless it is open or lost the activation less than 250 ms ago (a click on
    // the button of an open drop-down closes it by taking the activation).
    void DropDownButtonClick(TObject *Sender);
    // True while DrawDisplayText runs inside the edit's painting, where it can draw.
    bool PaintingDisplay() const { return FPaintingDisplay; }

    // ---- Events; a picker publishes the ones it needs.
    TDropDown OnDropDown;
    TDropUp OnDropUp;
    TNotifyEvent OnBeforeDropDown;
    TNotifyEvent OnBeforeDropUp;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardPaste;
    TClipboardEvent OnClipboardCut;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetFooterText;
    TGetTextEvent OnGetHeaderText;

    // ---- Framework overrides.
    QString GetText() const override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(QChar &Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void DoEnter() override;
    void Change() override;
    void WMPaint(TMessage &Message) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void DefaultHandler(TMessage &Message) override;

    // ---- Fields, in this order.
    TLabel *FLabel = nullptr;
    bool FParentFnt = false;
    int32_t FDropDownWidth = 0;
    int32_t FDropDownHeight = 0;
    int32_t FUserDropDownWidth = -1;
    int32_t FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList *FImages = nullptr;
    bool FDropDownShadow = true;
    int32_t FDropDownBorderWidth = 1;
    QString FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    TColor FDropDownBorderColor = clBlack;
    int32_t FButtonWidth = 17;
    bool FMouseInControl = false;
    bool FEtched = false;
    TWinControl *FFocusControl = nullptr;
    THeaderAppearance *FDropDownHeader = nullptr;
    TProButtonAppearance *FButtonAppearance = nullptr;
    TFooterAppearance *FDropDownFooter = nullptr;
    TControl *FControl = nullptr;
    TGradientDirection FDropDownGradient = gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = clNone;
    TColor FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scOffice2007;
    TDropDownEditType FEditType = etString;
    int16_t FLengthLimit = 0;
    int16_t FPrecision = 0;
    QString FPrefix;
    QString FSuffix;
    QString FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FBlockChange = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    QString FValidChars;
    bool FBlockCopy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TDUZStyle FDUZStyle = tsOffice2007Luna;
    int32_t FLabelMargin = 0;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    TFont *FLabelFont = nullptr;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    TDropDownForm *FDropDownForm = nullptr;
    TDropDownEditButton *FButton = nullptr;
    QString FOldText;

private:
    friend class TDropDownForm;
    friend class TProDropDownSpeedButton;
    friend class TProDropDownStrip;
    friend class TProHeader;
    friend class TProFooter;
    bool isDesigning() const { return ComponentState().Contains(csDesigning); }
    bool isLoading() const { return ComponentState().Contains(csLoading); }
    // Places the label by LabelPosition and takes the label settings.
    void updateLabel();
    // The coloured, focus, disabled or flat frame over the edit's own.
    void drawBorders();
    bool bordersPainted() const;
    // The mouse or the focus came or went.
    void hotChanged();
    void appearanceChanged();
    void toggleDropDown();
    void wmKeyDown(TMessage &Message);
    void wmMouseDown(TMessage &Message);
    void wmMouseUp(TMessage &Message);
    void cmWantSpecialKey(TMessage &Message);
    // The typed-input parts of the messages; true when the message was dealt with.
    void wmChar(TMessage &Message);
    bool typedKeyDown(TMessage &Message);
    void typedKeyDownAfter(Word Key);
    void typedMouseUp();
    void wmKillFocusTyped();
    void wmCopy(TMessage &Message);
    void wmCut(TMessage &Message);
    void wmPaste(TMessage &Message);
    // Keeps a selection off the prefix and suffix.
    void clampSelection();
    // Prefix + value + Suffix as the window text, without formatting, keeping the change event.
    void setValueText(const QString &Value);
    // '-' in front of the value or taken away; true when it was put in front.
    bool toggleSign();
    int valueStart() const { return int(FPrefix.size()); }
    int valueEnd() const { return int(FPrefix.size() + Text().size()); }
    // The lowest height that shows the font.
    int minHeight();

    bool FConstructed = false;
    bool FPaintingDisplay = false;
    bool FAlignHeld = false;
};

// Creates a drop-down edit of class T: its constructor, then AfterConstruction, so that the creation
// steps reach the overrides of T.
template <class T, class... Args>
T *NewDropDown(Args &&...args)
{
    std::unique_ptr<T> p(new T(std::forward<Args>(args)...));
    p->AfterConstruction();
    return p.release();
}

// ---- The item selector -----------------------------------------------------------------------

class TProCustomItemSelector;
class TCustomItemSelector;

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };
using TDrawItemEvent = std::function<void(TObject *Sender, TCanvas *Canvas, TRect R, int32_t Index)>;
using TItemSizeEvent = std::function<void(TObject *Sender, TSize &ASize)>;

// One item: a mini-HTML caption with a picture, an image of the list or a colour box.
class TSelectorItem : public TCollectionItem
{
public:
    explicit TSelectorItem(TCollection *Collection);
    ~TSelectorItem() override;
    void Assign(TPersistent *Source) override;

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t v);
    TPicture *Image() const { return FImage; }
    void SetImage(TPicture *v) { FImage->Assign(v); }
    const QString &Hint() const { return FHint; }
    void SetHint(const QString &v) { FHint = v; }
    // A disabled item never becomes hot or selected.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    // The item's rectangle in the panel, set by the layout.
    TRect ItemRect() const { return FRect; }

private:
    friend class TCustomItemSelector;
    QString FCaption;
    int32_t FImageIndex = -1;
    bool FEnabled = true;
    TColor FColor = clNone;
    TPicture *FImage;
    TRect FRect = Rect(-1, -1, -1, -1);
    QString FHint;
};

class TSelectorItems : public TCollection
{
public:
    explicit TSelectorItems(TPersistent *AOwner);
    TPersistent *GetOwner() const override { return FMyOwner; }
    TSelectorItem *Add() { return static_cast<TSelectorItem *>(TCollection::Add()); }
    TSelectorItem *Insert(int Index) { return static_cast<TSelectorItem *>(TCollection::Insert(Index)); }
    TSelectorItem *Items(int Index) const { return static_cast<TSelectorItem *>(TCollection::Items(Index)); }

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem *Item) override;

private:
    TPersistent *FMyOwner;
    int FCreating = 0;
};

// The colours of hot and selected items, after one of three presets or custom.
class TItemAppearance : public TPersistent
{
public:
    explicit TItemAppearance(TPersistent *AOwner);
    ~TItemAppearance() override;
    void Assign(TPersistent *Source) override;
    TPersistent *GetOwner() const override { return FOwner; }

    // Office 2007, Vista and Windows 7 set their colours; custom leaves them.
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    void SetColorStyle(TSelectionColorStyle Value);

#define TARVIX_ITEM_COLOUR(Name) \
    TColor Name() const { return F##Name; } \
    void Set##Name(TColor v) { F##Name = v; changed(); }
    TARVIX_ITEM_COLOUR(BorderColor)
    TARVIX_ITEM_COLOUR(BorderColorTop)
    TARVIX_ITEM_COLOUR(BorderColorBottom)
    TARVIX_ITEM_COLOUR(BorderColorHot)
    TARVIX_ITEM_COLOUR(BorderColorSelected)
    TARVIX_ITEM_COLOUR(ColorHot)
    TARVIX_ITEM_COLOUR(ColorHotTo)
    TARVIX_ITEM_COLOUR(ColorHotText)
    TARVIX_ITEM_COLOUR(ColorMirrorHot)
    TARVIX_ITEM_COLOUR(ColorMirrorHotTo)
    TARVIX_ITEM_COLOUR(ColorSelected)
    TARVIX_ITEM_COLOUR(ColorSelectedTo)
    TARVIX_ITEM_COLOUR(ColorMirrorSelected)
    TARVIX_ITEM_COLOUR(ColorMirrorSelectedTo)
    TARVIX_ITEM_COLOUR(ColorSelectedText)
    TARVIX_ITEM_COLOUR(EdgeColor)
#undef TARVIX_ITEM_COLOUR
    TFont *Font() const { return FFont; }
    void SetFont(TFont *v) { FFont->Assign(v); }

    TNotifyEvent OnChange;

private:
    void changed()
    {
        if (OnChange)
            OnChange(this);
    }

    TPersistent *FOwner;
    TColor FColorMirrorHotTo = clNone;
    TColor FBorderColor = clNone;
    TColor FColorMirrorHot = clNone;
    TColor FColorSelectedTo = clNone;
    TColor FColorSelected = clNone;
    TColor FEdgeColor = clNone;
    TColor FColorHotTo = clNone;
    TColor FBorderColorBottom = clNone;
    TColor FColorHot = clNone;
    TColor FBorderColorTop = clNone;
    TColor FColorMirrorSelectedTo = clNone;
    TColor FColorMirrorSelected = clNone;
    TColor FColorSelectedText = clNone;
    TColor FColorHotText = clNone;
    TSelectionColorStyle FColorStyle = scCustom;
    TFont *FFont;
    TColor FBorderColorHot = clNone;
    TColor FBorderColorSelected = clNone;
};

// The panel inside the selector: lays the items out in rows of Columns, paints them and finds
// the item under the mouse.
class TCustomItemSelector : public TCustomControl
{
public:
    // Raises "Invalid parent" unless AOwner is an item selector.
    explicit TCustomItemSelector(TComponent *AOwner);

    int32_t ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int32_t Value);
    int32_t ItemHot() const { return FItemHot; }
    TProCustomItemSelector *ProItemSelector() const { return FProItemSelector; }

    int32_t Columns() const;
    TSelectorItems *Items() const;
    TSelectorType SelectorType() const;
    TItemLayout ItemLayout() const;
    TCustomImageList *Images() const;
    int32_t ColorBoxHeight() const;
    int32_t ColorBoxWidth() const;
    TSelectionColorStyle ItemColorStyle() const;
    TColor ItemColorHot() const;
    TColor ItemColorHotTo() const;
    TColor ItemColorSelected() const;
    TColor ItemColorSelectedTo() const;

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // Selects the first item whose plain, trimmed, upper-cased caption starts with s.
    bool LookupItem(const QString &s);
    // The first item, in collection order, whose rectangle holds the point; -1 for none.
    int32_t ItemAtPos(int X, int Y) const;

    TNotifyEvent OnItemSelect;

    // In this order.
    virtual void DrawItem(int32_t Index, TCanvas *ACanvas);
    virtual void GetInnerRect(TRect &R);
    virtual void GetItemSize(TSize &ASize);
    virtual void InvalidateItem(int32_t Index);
    virtual void UpdateLayout();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    // A wheel the panel does not use scrolls the selector.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void SetItemHot(int32_t Value);
    bool validIndex(int32_t Index) const;

    int32_t FItemIndex = -1;
    int32_t FItemHot = -1;
    int32_t FOffSetX = 2;
    int32_t FOffSetY = 2;
    int32_t FItemOffSetX = 4;
    int32_t FItemOffSetY = 4;
    int32_t FCaptionGap = 4;
    TProCustomItemSelector *FProItemSelector = nullptr;
};

// The scrolling selector of items that the detail, colour and image pickers show in their
// pop-up; it owns the items, their look and the settings, and its panel shows them.
class TProCustomItemSelector : public TScrollingWinControl
{
public:
    explicit TProCustomItemSelector(TComponent *AOwner);
    ~TProCustomItemSelector() override;

    int32_t Columns() const { return FColumns; }
    void SetColumns(int32_t v);
    TSelectorItems *Items() const { return FItems; }
    void SetItems(TSelectorItems *v) { FItems->Assign(v); }
    int32_t ItemIndex() const;
    void SetItemIndex(int32_t v);
    int32_t ItemHot() const;
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType v);
    // Takes effect at the next layout.
    TItemLayout ItemLayout() const { return FItemLayout; }
    void SetItemLayout(TItemLayout v) { FItemLayout = v; }
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *v);
    TItemAppearance *ItemAppearance() const { return FItemAppearance; }
    void SetItemAppearance(TItemAppearance *v) { FItemAppearance->Assign(v); }
    int32_t ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int32_t v);
    int32_t ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int32_t v);
    TCustomItemSelector *ItemSelectorPanel() const { return FItemSelectorPanel; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString &s);
    void UpdateSelectorPanel();
    // Scrolls vertically so that the item shows whole (its top when it is taller than the view).
    void ScrollItemInView(int32_t Index);
    // Whole rows that fit, times the columns.
    int32_t GetVisibleItemCount();
    // The panel's size; 100 x 50 without a panel.
    void GetPanelSize(TSize &Size);

    TNotifyEvent OnItemSelect;
    TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

    void Dispatch(TMessage &Message) override;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void WMVScroll(TMessage &Message) override;
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

private:
    friend class TCustomItemSelector;
    TSelectorItems *FItems = nullptr;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    int32_t FColumns = 1;
    int32_t FColorBoxWidth = 14;
    int32_t FColorBoxHeight = 14;
    TCustomImageList *FImages = nullptr;
    TCustomItemSelector *FItemSelectorPanel = nullptr;
    TItemAppearance *FItemAppearance = nullptr;
};
