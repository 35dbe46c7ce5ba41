#pragma once
// A combo box with a flat look, border, focus and button colours, a drop button it draws itself
// (custom-coloured, visual-style or classic), a drop-down list width, and an optional label
// attached around it. The grid builds its combo cell editor on it.
#include "editors/LabelPosition.h"
#include "framework/controls/StdCtrls.h"
#include <memory>


class TPsgCustomCombo : public TComboBox
{
public:
    explicit TPsgCustomCombo(TComponent *AOwner);
    ~TPsgCustomCombo() override;

    // Selects the item with this text (without regard to case); nothing changes when there is
    // none.
    void SelectItem(const QString &AString);
    // Records the current colour as the one to return to when the focus leaves. The constructor
    // and Loaded call it.
    void Init();
    // The end of loading the design-time properties: applies DropWidth, puts the loaded colour
    // back, places the label and records the normal colour. The streaming code of the owner
    // calls it after setting the properties (they are set while csLoading is on).
    virtual void Loaded();

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool v) { FAutoFocus = v; }
    bool Flat() const { return FFlat; }
    // A flat combo with FlatParentColor takes its parent's colour; otherwise the colour goes
    // back to the one set while loading (clWindow by default).
    void SetFlat(bool v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    // Follows Flat: off while flat.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v) { FCtl3D = v; }
    // Width of the drop button area; only 14 to 32 are taken.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool v);
    // Width of the drop-down list; 0 keeps it as wide as the combo.
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v) { FIsWinXP = v; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool v) { FIsVista = v; }
    // Visual styles can be used (decided once, when created).
    bool IsThemed() const { return FIsThemed; }

    TLabel *ComboLabel() const { return FLabel; }
    // The label is made on the first write; empty without a label.
    QString LabelCaption() const;
    void SetLabelCaption(const QString &v);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool v);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int v);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition v);
    TFont *LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont *v) { FLabelFont->Assign(v); }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool v) { FFocusLabel = v; }

    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor v);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool v);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { FFocusColor = v; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool v);

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { setColor(FButtonColor, v); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { setColor(FButtonColorHot, v); }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { setColor(FButtonColorDown, v); }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { setColor(FButtonTextColor, v); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { setColor(FButtonTextColorHot, v); }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { setColor(FButtonTextColorDown, v); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { setColor(FButtonBorderColor, v); }

    // The label follows the combo's Enabled, Visible and position.
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl *AParent) override;

    // The list has closed.
    TNotifyEvent OnDropUp;

protected:
    void Dispatch(TMessage &Message) override;
    void WMPaint(TMessage &Message) override;
    void WMSetFocus(TMessage &Message) override;
    void WMKillFocus(TMessage &Message) override;
    void CNCommand(TMessage &Message) override;
    void DoEnter() override;
    void DoExit() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    bool designing() const { return ComponentState().Contains(csDesigning); }
    bool loading() const { return ComponentState().Contains(csLoading); }
    // Visual styles available and switched on.
    bool styleActive() const;
    // Disabled with visual styles and without DisabledBorder: the frame in the disabled colour.
    bool disabledStyleFrame() const;
    // The mouse is over the combo or it is the screen's active control.
    bool active() const;
    void setColor(TColor &field, TColor v);
    void setLabelBold(bool v);
    void placeLabel();
    void drawButton(TCanvas *c);
    void drawBorders(TCanvas *c);

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    bool FCtl3D = true;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    int FButtonWidth;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    TLabel *FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    bool FIsVista = false;
    std::unique_ptr<TCanvas> FCanvas;
};

class TPsgComboBox : public TPsgCustomCombo
{
public:
    explicit TPsgComboBox(TComponent *AOwner) : TPsgCustomCombo(AOwner) {}
};
