#pragma once
// A single-line edit with a push button embedded at its right edge, and a variant whose value
// carries a unit of measure chosen from a pop-up menu. The grid builds its ellipsis-button and
// value-plus-unit cell editors on them.
#include "framework/controls/Buttons.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/Strings.h"
#include <functional>
#include <memory>

class TPsgEditButton;

using TUnitChangeEvent = std::function<void(TObject *Sender, const QString &NewUnit)>;

// The speed button inside TPsgEditButton. It paints itself in one of four looks, the first that
// applies: its owner's button colours, the visual style, a flat edge, the classic push button.
class TProSpeedButton : public TSpeedButton
{
public:
    explicit TProSpeedButton(TComponent *AOwner);

    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    // This button's own flat look (the inherited flag is not used for painting).
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // The mouse is over the button.
    bool Hot() const { return FHot; }

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
};

// A small window holding one TProSpeedButton that fills it. A release of the left mouse button
// on it fires OnClick and then moves the focus to FocusControl (or to itself with TabStop).
class TPsgEditButton : public TWinControl
{
public:
    explicit TPsgEditButton(TComponent *AOwner);

    TProSpeedButton *Button() const { return FButton; }
    TBitmap *Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap *v) { FButton->SetGlyph(v); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int v) { FButton->SetNumGlyphs(v); }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString &v) { FButton->SetCaption(v); }

    // clNone: the look of the speed button decides. The text and border colours are kept for
    // those who set them; the painting does not use them.
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { setColor(FButtonColor, v); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { setColor(FButtonColorHot, v); }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { setColor(FButtonColorDown, v); }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }

    // Not owned; forgotten when it is freed.
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    void setColor(TColor &field, TColor v);
    void BtnMouseUp(TMouseButton Button);

    TProSpeedButton *FButton = nullptr;
    TWinControl *FFocusControl = nullptr;
    bool FFlat = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

// The edit with its embedded button. The button (and F4 without Ctrl or Alt) calls ButtonClick,
// which fires OnClickBtn. With EditorEnabled off nothing can be typed, pasted or cut, while the
// button and F4 still work.
class TPsgEditBtn : public TCustomEdit
{
public:
    explicit TPsgEditBtn(TComponent *AOwner);

    TPsgEditButton *Button() const { return FButton; }
    // The last value written (0 until then); writing sets the embedded button's width.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    TBitmap *Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap *v) { FButton->SetGlyph(v); }
    QString ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const QString &v) { FButton->SetButtonCaption(v); }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool v);
    // The sunken three-dimensional border (on by default); it decides the button's inset.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);

    // The height below which a resize raises the edit: the font's text height plus a quarter
    // of the smaller of it and the system font's.
    int GetMinHeight() const;

    TNotifyEvent OnClickBtn;

    // Fires OnClickBtn with the given Sender.
    virtual void ButtonClick(TObject *Sender);

protected:
    void Dispatch(TMessage &Message) override;
    void WMSize(TMessage &Message) override;
    void WMChar(TMessage &Message) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void DoEnter() override;

    // The area inside the border, in widget coordinates: the client area of the original
    // layout rules, which leave the border out.
    TRect InnerRect() const;
    // Places the embedded button and then sets the formatting rectangle.
    void PlaceButton();
    // Keeps the text clear of the button and of the unit space.
    void SetEditRect();

    // Pixels kept free left of the button for a unit text.
    int FUnitSize = 0;

private:
    bool FRightAlign = false;
    TPsgEditButton *FButton = nullptr;
    bool FEditorEnabled = true;
    int FButtonWidth = 0;
    bool FIsWinXP = false;
    bool FCtl3D = true;
};

// The edit with a unit: Text holds the value, UnitID the unit shown beside the button, and the
// button opens a menu of Units below the edit's right end.
class TPsgUnitEditBtn : public TPsgEditBtn
{
public:
    explicit TPsgUnitEditBtn(TComponent *AOwner);
    ~TPsgUnitEditBtn() override;

    TStrings *Units() const { return FUnits.get(); }
    // Copies the list; nullptr is ignored.
    void SetUnits(TStrings *v);
    const QString &UnitID() const { return FUnitID; }
    void SetUnitID(const QString &v);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int v);
    // Text followed by UnitID. Writing splits off the first unit of Units (in list order) that
    // ends the string and occurs nowhere earlier in it; without such a unit nothing changes.
    QString TextAndUnit() const { return Text() + FUnitID; }
    void SetTextAndUnit(const QString &v);

    TUnitChangeEvent OnUnitChanged;

    // OnClickBtn, then the unit menu.
    void ButtonClick(TObject *Sender) override;

protected:
    void Dispatch(TMessage &Message) override;
    void WMPaint(TMessage &Message) override;

private:
    QString FUnitID;
    std::unique_ptr<TStringList> FUnits;
    TPopupMenu *FUnitMenu = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
};
