#pragma once
// The spin button (two arrows that repeat their click while held down) and the spin edit: a
// single-line edit with the spin button at its right edge that holds an integer, a real, a date
// or a time, steps it with the arrows, the keyboard or the mouse, keeps it in its range and
// refuses keystrokes that cannot belong to a value of its kind.
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Mask.h"
#include "framework/rtl/SysUtils.h"
#include <cstdint>

enum TSpinDirection { spVertical, spHorizontal };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TSet<TTimeBtnStateItem>;

class TPsgSpinButton;

// One arrow of a spin button. Held down with tbAllowTimer, it clicks again 400 ms after the press
// and then every 100 ms, as long as it stays down and holds the mouse capture.
class TProTimerSpeedButton : public TSpeedButton
{
public:
    explicit TProTimerSpeedButton(TComponent *AOwner);
    ~TProTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(const TTimeBtnState &v) { FTimeBtnState = v; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection v) { FButtonDirection = v; }
    // Paint with the desktop's visual style (set through the spin button).
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    // The mouse is over the arrow.
    bool HasMouse() const { return FHasMouse; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void TimerExpired(TObject *Sender);
    void InvalidateParent();

    TTimer *FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
};

// The up and down arrows of a spin edit; usable alone.
class TPsgSpinButton : public TWinControl
{
public:
    explicit TPsgSpinButton(TComponent *AOwner);
    ~TPsgSpinButton() override;

    // A vertical button is at least 15 wide, a horizontal one at least 20; the arrows share the
    // size (the vertical ones overlapping by one pixel).
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Lays the arrows out once a stored button's properties are read.
    void Loaded();

    TSpinDirection Direction() const { return FDirection; }
    // Horizontal: 20 wide, the up arrow on the right pointing right, the down arrow on the left
    // pointing left. Vertical: 15 wide, up above down.
    void SetDirection(TSpinDirection v);

    // nullptr gives the built-in arrow back (with a glyph count of 1).
    TBitmap *UpGlyph() const;
    void SetUpGlyph(TBitmap *v);
    TBitmap *DownGlyph() const;
    void SetDownGlyph(TBitmap *v);
    int UpNumGlyphs() const;
    void SetUpNumGlyphs(int v);
    int DownNumGlyphs() const;
    void SetDownNumGlyphs(int v);

    // The control that takes the focus when an arrow is pressed; not owned.
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *v);

    // A ButtonColor other than clNone paints the arrows flat in these colours; clNone leaves them
    // to the desktop's look. The text and border colours are kept for the caller only.
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v);
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v);
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v);
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }

    // The visual-style look, passed on to both arrows.
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);

    // The arrows, and the one that Space clicks.
    TProTimerSpeedButton *UpButton() const { return FUpButton; }
    TProTimerSpeedButton *DownButton() const { return FDownButton; }
    TProTimerSpeedButton *FocusedButton() const { return FFocusedButton; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void Resize() override;
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS; }
    // Space clicks the focused arrow; Up and Down focus and click their arrow.
    void KeyDown(Word &Key, TShiftState Shift) override;
    void WMSetFocus(TMessage &Message) override;
    void WMKillFocus(TMessage &Message) override;

private:
    TProTimerSpeedButton *CreateButton();
    void BtnClick(TObject *Sender);
    void BtnMouseDown(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SetFocusBtn(TProTimerSpeedButton *Btn);
    void AdjustSize(int &W, int &H);
    void InvalidateButtons();

    TProTimerSpeedButton *FUpButton = nullptr;
    TProTimerSpeedButton *FDownButton = nullptr;
    TProTimerSpeedButton *FFocusedButton = nullptr;
    TWinControl *FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clBlack;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

// The built-in arrow bitmap "PsgSpinUp" or "PsgSpinDown" (9 x 6 pixels, a black triangle on olive,
// which the arrows leave out as transparent); false for any other name.
bool LoadSpinGlyph(const QString &Name, TBitmap *Bitmap);

enum TPsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TEditAlign { eaLeft, eaRight, eaCenter };

class TPsgSpinEdit : public TCustomMaskEdit
{
public:
    explicit TPsgSpinEdit(TComponent *AOwner);
    ~TPsgSpinEdit() override;

    // The embedded spin button.
    TPsgSpinButton *Button() const { return FButton; }

    // The value read from the text each time: an empty text is 0, a text that is no integer
    // MinValue. Writing keeps it in range and selects the text while the editor is off.
    int32_t Value() const;
    void SetValue(int32_t v);
    // A text that is no number gives MinValue. Written with Precision decimals (0: shortest form).
    double FloatValue() const;
    void SetFloatValue(double v);
    // The text as a short date; an empty text or "0" is now, a text that is no date MinDateValue.
    // Writing keeps the caret where it is; while loading it only stores the value.
    TDateTime DateValue() const;
    void SetDateValue(TDateTime v);
    // The text as a time; a text that is no time is 0. Written with seconds when ShowSeconds is on,
    // else as "h:nn"; a time past midnight shows its time of day.
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime v);

    // Equal bounds mean no range. MinDateValue and MaxDateValue also bound times.
    int32_t MinValue() const { return FMinValue; }
    void SetMinValue(int32_t v) { FMinValue = v; }
    int32_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(int32_t v) { FMaxValue = v; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double v) { FMinFloatValue = v; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double v) { FMaxFloatValue = v; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime v) { FMinDateValue = v; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime v) { FMaxDateValue = v; }

    int32_t Increment() const { return FIncrement; }
    void SetIncrement(int32_t v) { FIncrement = v; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double v) { FIncrementFloat = v; }
    // The step of Page Up and Page Down in a real value.
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double v) { FIncrementFloatPage = v; }
    int32_t IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int32_t v) { FIncrementHours = v; }
    int32_t IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int32_t v) { FIncrementMinutes = v; }
    int32_t IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int32_t v) { FIncrementSeconds = v; }

    // Off: typing, Backspace, Delete, pasting and cutting do nothing; the arrows still step.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool v) { FShowSeconds = v; }
    TPsgSpinType SpinType() const { return FSpinType; }
    // Re-formats the text as a value of the new kind.
    void SetSpinType(TPsgSpinType v);
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign v);
    // Decimals of a real value; 0 writes the shortest form and lets any number of decimals be typed.
    int32_t Precision() const { return FPrecision; }
    void SetPrecision(int32_t v);
    // Enter moves on as Tab does.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    // The keypad's decimal key types the locale's decimal separator.
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool v) { FAllowEmptyValue = v; }
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool v);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool v);
    // The three-dimensional look: the spin button sits inside the frame.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);
    void SetBorderStyle(TBorderStyle v) override;
    bool IsWinXP() const { return FIsWinXP; }
    // The visual-style look of the spin button and its arrows.
    void SetIsWinXP(bool Value);

    // One step up or down of the value's kind: the field under the caret of a date or a time;
    // Page steps a real value by IncrementFloatPage. A read-only edit only beeps.
    virtual void UpClick(bool Page);
    virtual void DownClick(bool Page);
    // Whether a typed character may enter the text.
    virtual bool IsValidChar(QChar Key);
    virtual void UpButtonClick(TObject *Sender);
    virtual void DownButtonClick(TObject *Sender);

    // Marks the edit as being loaded: date and time values are then only stored, until Loaded
    // shows them and re-formats the text.
    void Loading();
    virtual void Loaded();

    // The least height that shows the font.
    int MinHeight() const;

    // WM_PASTE and WM_CUT do nothing while the editor is off or the edit is read-only.
    void Dispatch(TMessage &Message) override;

protected:
    void Resize() override;
    // Page Up, Page Down, Up and Down step the value and go no further.
    void WMKeyDown(TMessage &Message) override;
    // The keypad's decimal key becomes the decimal separator (ExcelStyleDecimalSeparator).
    void WMChar(TMessage &Message) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    // Refused characters are dropped with a beep.
    void KeyPress(QChar &Key) override;
    void DoEnter() override;
    // A value outside its range is written back, which clamps and re-formats it.
    void CMExit(TMessage &Message) override;

    int32_t FIncrement = 1;
    double FIncrementFloat = 0.1;
    TPsgSpinType FSpinType = sptNormal;
    bool FAllowEmptyValue = false;

private:
    void Step(int d, bool Page);
    void StepDate(int d);
    void StepTime(int d);
    int32_t CheckValue(int32_t v) const;
    double CheckFloatValue(double v) const;
    TDateTime CheckDateValue(TDateTime v) const;
    QString TimeText(TDateTime v) const;
    void ReformatText();
    void PlaceButton();
    void SetEditRect();
    void NudgeWidth();

    int32_t FMinValue = 0;
    int32_t FMaxValue = 100;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    TPsgSpinButton *FButton = nullptr;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = spVertical;
    int32_t FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FShowSeconds = true;
    int32_t FIncrementSeconds = 1;
    int32_t FIncrementMinutes = 1;
    int32_t FIncrementHours = 1;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    double FIncrementFloatPage = 1.0;
    bool FCtl3D = true;
};
