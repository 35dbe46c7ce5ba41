#pragma once
// The grid's own small controls and windows: an owner-drawn speed button, an owner-drawn check
// box, the arrow windows that mark a drop position, the frame window around the edited cell, a
// bitmap with per-pixel alpha, and the mask and blur routines that give that frame its glow.
#include <memory>

#include "framework/controls/ActnList.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "grid/core/ProButtonStyle.h"
#include "grid/core/ProStyleIF.h"

class TProGridButton;

class TProGridButtonActionLink : public TActionLink
{
public:
    explicit TProGridButtonActionLink(TProGridButton *AClient);
    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsGroupIndexLinked() const override;
    void SetCaption(const QString &Value) override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(int Value) override;

private:
    TProGridButton *FClient;
};

class TProGridButton : public TGraphicControl
{
public:
    explicit TProGridButton(TComponent *AOwner);
    ~TProGridButton() override;

    TBasicAction *Action() const;
    void SetAction(TBasicAction *Value);
    TProGridButtonActionLink *ActionLink() const { return FActionLink.get(); }

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; Invalidate(); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; Invalidate(); }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; Invalidate(); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor Value) { FColorDown = Value; Invalidate(); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor Value) { FColorDownTo = Value; Invalidate(); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor Value) { FColorHot = Value; Invalidate(); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor Value) { FColorHotTo = Value; Invalidate(); }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor Value);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor Value);
    int32_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool Value);
    TPopupMenu *DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu *Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap *Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap *Value);
    TBitmap *GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap *Value);
    TBitmap *GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap *Value);
    TBitmap *GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap *Value);
    // The silhouette drawn under the glyph of a hot, shaded button.
    TBitmap *GlyphShade() const { return FGlyphShade.get(); }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int32_t Margin() const { return FMargin; }
    void SetMargin(int32_t Value);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool Value);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    int32_t Spacing() const { return FSpacing; }
    void SetSpacing(int32_t Value);
    TProGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TProGridButtonStyle Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; Invalidate(); }
    bool BiDiRightToLeft() const { return FRightToLeft; }
    void SetBiDiRightToLeft(bool Value) { FRightToLeft = Value; Invalidate(); }
    int32_t Look() const { return FLook; }
    // 0 to 6 apply that preset; other values do nothing.
    void SetLook(int32_t Value);
    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    // After the properties are read: the theme look and the shade glyph.
    void Loaded();
    void Click() override;

    TNotifyEvent OnDropDown;

    // Where the glyph and the caption go in the client area (for painting and tests).
    void CalcLayout(TPoint &GlyphPos, TRect &TextBounds);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void WMDblClk(TMessage &Message, TMouseButton Button) override;
    void WndProc(TMessage &Message) override;
    void ApplyText(const QString &v) override;

private:
    friend class TProGridButtonActionLink;
    void UpdateExclusive();
    void ButtonPressed(TProGridButton *Sender);
    void ThemeAdapt();
    void MakeDisabledGlyph();
    void MakeShadeGlyph();
    void SyncHot();
    bool Inside(int X, int Y) const;
    void PaintFlat(TRect &R);
    void PaintFill(const TRect &R, TColor From, TColor To, TColor Border);

    bool FIsComCtl6;
    int32_t FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int32_t FSpacing = 4;
    bool FTransparent = true;
    int32_t FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone, FColorHot = 0xCAC7C7, FColorHotTo = clNone, FColorDown = 0xD8D3D2, FColorDownTo = clNone;
    TColor FBorderColor = clNone, FBorderDownColor = clNone, FBorderHotColor = clNone;
    std::unique_ptr<TBitmap> FGlyphDisabled, FGlyphHot, FGlyphDown, FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = 0x808080, FColorCheckedTo = clNone;
    TProGridButtonStyle FStyle = tasButton;
    int32_t FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    TPopupMenu *FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
    bool FRightToLeft = false;
    bool FLoading = false;
    std::unique_ptr<TProGridButtonActionLink> FActionLink;
};

class TProCheckBox : public TCustomControl
{
public:
    explicit TProCheckBox(TComponent *AOwner);
    ~TProCheckBox() override;

    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight Value);
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool Value) { FTransparentCaching = Value; }
    bool Hot() const { return FHot; }
    // Flips Checked unless ReadOnly.
    void Toggle();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void KeyPress(QChar &Key) override;
    void DoExit() override;
    void WndProc(TMessage &Message) override;
    LRESULT GetDlgCode() const override;
    void ApplyText(const QString &v) override;

private:
    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FBtnVAlign = tlTop;
    TLeftRight FAlignment = taRight;
    bool FEllipsis = false;
    QString FCaption;
    bool FIsWinXP;
    bool FHot = false;
    bool FClicksDisabled = false;
    bool FReadOnly = false;
    bool FMouseDown = false;
    std::unique_ptr<TBitmap> FBkgBmp;
    bool FBkgCache = false;
    bool FTransparentCaching = false;
    bool FTransparent = false;
};

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A small green arrow-shaped popup that marks where a dragged column or row will go.
class TArrowWindow : public TPanel
{
public:
    explicit TArrowWindow(TComponent *AOwner) : TPanel(AOwner) {}
    void Init(TWinControl *AOwner, TArrowDirection Direction);
    TArrowDirection Dir() const { return FDir; }
    // The seven points of the arrow's outline.
    const std::vector<TPoint> &Arrow() const { return FArrow; }

protected:
    void Paint() override;

private:
    TArrowDirection FDir = arrUp;
    std::vector<TPoint> FArrow;
};

// The frame window drawn around the edited cell.
class TGridFocusWindow : public TCustomControl
{
public:
    explicit TGridFocusWindow(TComponent *AOwner);
};

// A 32-bit bitmap with per-pixel alpha and an overall opacity.
class TGridAlphaMask : public TBitmap
{
public:
    TGridAlphaMask();
    void Assign(TPersistent *Source) override;
    uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(uint8_t Value) { FOpacity = Value; }
    // For a 24-bit Bitmap: takes its size, alpha from the red channel of the 24-bit Mask, and
    // the Bitmap's colours premultiplied by it. Color is not used.
    void MergeMask(TBitmap *Mask, TBitmap *Bitmap, TColor Color);

private:
    uint8_t FOpacity = 255;
};

bool IsXPThemed();
// 0 without themes, else 1 "NormalColor", 2 "HomeStead", 3 "Metallic", 0 any other scheme.
int32_t GetXPColorScheme();
void DrawButtonGradient(TCanvas *Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect &R,
                        int32_t Steps, TColor BorderColor);
// A white rounded rectangle (outline PenWidth wide, or filled when PenWidth < 1) on black, blurred
// by Radius when above 0.
void DrawRoundRectMask(TBitmap *Bitmap, int32_t Width, int32_t Height, int32_t PenWidth, int32_t Corner, double Radius);
// Gaussian blur of a 24-bit bitmap; raises EInvalidGraphicOperation for any other format.
void BlurBitmap(TBitmap *Bitmap, double Radius);
