#pragma once
// The small owner-drawn push or toggle button of the drop-down's header and footer strips: a
// transparent background taken from its parent, a gradient or plain face and a one-pixel border
// by state, an optional image and a caption. Its colours come from an appearance the drop-down
// edit shares with all its strip buttons; a footer button may close the drop-down with its modal
// result.
#include "editors/ProDropDown.h"

#include "framework/controls/Controls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImgList.h"
#include "grid/core/ProButtonStyle.h"

#include <QString>
#include <memory>

// The colours of a strip button in each state, its gradient direction and its font.
class TProButtonAppearance : public TPersistent
{
public:
    TProButtonAppearance();
    ~TProButtonAppearance() override;

    // Copies every colour and the gradient direction (not the font) from another appearance.
    void Assign(TPersistent *Source) override;

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { set(FBorderColor, v); }
    TColor BorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor v) { set(FBorderColorHot, v); }
    TColor BorderColorDown() const { return FBorderColorDown; }
    void SetBorderColorDown(TColor v) { set(FBorderColorDown, v); }
    TColor BorderColorDisabled() const { return FBorderColorDisabled; }
    void SetBorderColorDisabled(TColor v) { set(FBorderColorDisabled, v); }
    TColor BorderColorChecked() const { return FBorderColorChecked; }
    void SetBorderColorChecked(TColor v) { set(FBorderColorChecked, v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { set(FColor, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { set(FColorTo, v); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor v) { set(FColorDown, v); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor v) { set(FColorDownTo, v); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor v) { set(FColorHot, v); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor v) { set(FColorHotTo, v); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v) { set(FColorCheckedTo, v); }
    TColor ColorDisabled() const { return FColorDisabled; }
    void SetColorDisabled(TColor v) { set(FColorDisabled, v); }
    TColor ColorDisabledTo() const { return FColorDisabledTo; }
    void SetColorDisabledTo(TColor v) { set(FColorDisabledTo, v); }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v) { set(FColorChecked, v); }
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection v);
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *v) { FFont->Assign(v); }

    TNotifyEvent OnChange;

private:
    void set(TColor &Field, TColor v);
    void changed();

    TColor FBorderColor = clNone;
    TColor FBorderColorHot = TColor(0x808080);
    TColor FBorderColorDown = TColor(0x800000);
    TColor FBorderColorDisabled = TColor(0x808080);
    TColor FBorderColorChecked = TColor(0xFF0000);
    TColor FColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorDown = TColor(0xF5D8CA);
    TColor FColorDownTo = TColor(0xF9BDA0);
    TColor FColorHot = TColor(0xF5F0E1);
    TColor FColorHotTo = TColor(0xF9D2B2);
    TColor FColorCheckedTo;
    TColor FColorDisabled = TColor(0xF2F2F2);
    TColor FColorDisabledTo = clNone;
    TColor FColorChecked;
    TGradientDirection FGradient = gdVertical;
    std::unique_ptr<TFont> FFont;
};

enum TProButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

class TProButton : public TCustomControl
{
public:
    explicit TProButton(TComponent *AOwner);
    ~TProButton() override;

    void SetImages(TCustomImageList *Images);
    TCustomImageList *Images() const { return FImages; }
    // The edit whose drop-down a modal result closes.
    void SetProDropDown(TProCustomDropDown *Edit);
    TProCustomDropDown *ProDropDown() const { return FProDropDown; }
    // Width and height that hold the caption and the image, with a margin.
    void SizeToContent();
    bool Down() const { return FDown; }
    void SetDown(bool Value);

    // The appearance is shared, not owned; without one the button paints only its parent.
    TProButtonAppearance *Appearance() const { return FAppearance; }
    void SetAppearance(TProButtonAppearance *v);
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t v);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    int32_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t v) { FGroupIndex = v; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    TProButtonStyle Style() const { return FStyle; }
    void SetStyle(TProButtonStyle v);
    TProButtonState State() const { return FState; }
    // The mouse is over the button.
    bool Hot() const { return FHot; }
    bool MouseInControl() const { return FMouseInControl; }
    // The timer that notices the cursor leaving quickly.
    TTimer *UnHotTimer() const { return FUnHotTimer; }

    // Hands the modal result to the form and may close the drop-down, then OnClick.
    void Click() override;
    // Applies the down state remembered while loading.
    virtual void Loaded();
    void Dispatch(TMessage &Message) override;

protected:
    void Paint() override;
    virtual void DrawButton(TCanvas *ACanvas);
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word &Key, TShiftState Shift) override;

private:
    bool designing() const { return ComponentState().Contains(csDesigning); }
    bool loading() const { return ComponentState().Contains(csLoading); }
    void paintParentBackground(TCanvas *ACanvas);
    // Sends the button CM_MOUSEENTER or CM_MOUSELEAVE by whether P (client) is over it.
    void checkHover(TPoint P);
    void unHotTimerTick();
    void doClick(bool Internal);

    int32_t FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    int32_t FOffSet = 4;
    bool FMouseInControl = false;
    bool FHot = false;
    TProButtonStyle FStyle = tasButton;
    TProButtonState FState = absUp;
    bool FMouseDownInControl = false;
    bool FGrouped = true;
    bool FDragging = false;
    bool FPropHot = false;
    TTimer *FUnHotTimer = nullptr;
    bool FInitialDown = false;
    bool FInternalClick = false;
    TProButtonAppearance *FAppearance = nullptr;
    TCustomImageList *FImages = nullptr;
    int32_t FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    TProCustomDropDown *FProDropDown = nullptr;
};
