#pragma once
// The header and footer strips of a drop-down's pop-up: their settings (owned by the edit), their
// button collections, and the strip controls the pop-up builds from them. A strip paints a
// gradient, a border with an inner highlight, an image and a mini-HTML caption, and holds one
// button per collection item; the footer also carries the size grip that resizes the pop-up.
#include "editors/ProButton.h"
#include "editors/ProDropDown.h"

#include "framework/controls/Controls.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImgList.h"
#include "framework/rtl/Lists.h"

#include <QString>
#include <memory>

enum TButtonAlignment { baLeft, baRight };

// A list whose checked reads and writes raise a plain Exception past the end.
class TDbgList : public TList
{
public:
    // Empties the list and appends every item of ListA.
    void AssignList(TList *ListA);
    void *ItemsEx(int Index) const;
    void SetItemsEx(int Index, void *Item);
};

// ---- Buttons of the strips -------------------------------------------------------------------

class THeaderButton : public TCollectionItem
{
public:
    explicit THeaderButton(TCollection *Collection);
    void Assign(TPersistent *Source) override;

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &v);
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t v) { FImageIndex = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // 0: the button's own height.
    int32_t Height() const { return FHeight; }
    void SetHeight(int32_t v) { FHeight = v; }
    // 0: the button's own width.
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t v);

private:
    QString FCaption;
    int32_t FImageIndex = -1;
    bool FEnabled = true;
    int32_t FHeight = 0;
    int32_t FWidth = 0;
};

class TFooterButton : public TCollectionItem
{
public:
    explicit TFooterButton(TCollection *Collection);
    void Assign(TPersistent *Source) override;

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &v);
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t v) { FImageIndex = v; }
    // A closing result (mrOk, mrCancel, ...) closes the drop-down.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    int32_t Height() const { return FHeight; }
    void SetHeight(int32_t v) { FHeight = v; }
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t v);

private:
    QString FCaption;
    int32_t FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    bool FEnabled = true;
    int32_t FHeight = 0;
    int32_t FWidth = 0;
};

class THeaderButtons : public TOwnedCollection
{
public:
    explicit THeaderButtons(TPersistent *AOwner);
    THeaderButton *Add() { return static_cast<THeaderButton *>(TCollection::Add()); }
    THeaderButton *Insert(int Index) { return static_cast<THeaderButton *>(TCollection::Insert(Index)); }
    THeaderButton *Items(int Index) const { return static_cast<THeaderButton *>(TCollection::Items(Index)); }
    void SetItems(int Index, THeaderButton *Value) { TCollection::SetItems(Index, Value); }

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem *Item) override;

private:
    TPersistent *FMyOwner;
};

class TFooterButtons : public TCollection
{
public:
    explicit TFooterButtons(TPersistent *AOwner);
    TPersistent *GetOwner() const override { return FMyOwner; }
    TFooterButton *Add() { return static_cast<TFooterButton *>(TCollection::Add()); }
    TFooterButton *Insert(int Index) { return static_cast<TFooterButton *>(TCollection::Insert(Index)); }
    TFooterButton *Items(int Index) const { return static_cast<TFooterButton *>(TCollection::Items(Index)); }
    void SetItems(int Index, TFooterButton *Value) { TCollection::SetItems(Index, Value); }

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem *Item) override;

private:
    TPersistent *FMyOwner;
};

// ---- Settings of the strips ------------------------------------------------------------------

// What the header and footer settings share; only Visible tells of a change.
class TStripAppearance : public TPersistent
{
public:
    ~TStripAppearance() override;
    TPersistent *GetOwner() const override { return FOwner; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int32_t Height() const { return FHeight; }
    void SetHeight(int32_t v) { FHeight = v; }
    int32_t BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int32_t v) { FBorderWidth = v; }
    // An image of the edit's image list; -1 for none.
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t v) { FImageIndex = v; }
    // Mini-HTML text.
    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &v) { FCaption = v; }
    // clNone: no gradient.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { FColorTo = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *v) { FFont->Assign(v); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v) { FGradientDirection = v; }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment v) { FButtonAlignment = v; }
    // The button collection, whichever its class.
    virtual TCollection *ButtonCollection() const = 0;

    // Copies Color, ColorTo, BorderColor, the font and GradientDirection.
    void AssignColors(TStripAppearance *Source);

    TNotifyEvent OnChange;
    // Fired when the button collection changes.
    TNotifyEvent OnButtonsChanged;

protected:
    explicit TStripAppearance(TPersistent *AOwner);
    // Every property from another appearance of the same kind.
    void assignFrom(TStripAppearance *Source);
    void buttonsChanged();

    TPersistent *FOwner;
    bool FVisible = true;
    int32_t FHeight = 22;
    int32_t FBorderWidth = 1;
    QString FCaption;
    TColor FColorTo = clWhite;
    TColor FColor = clSilver;
    TColor FBorderColor = clBlack;
    std::unique_ptr<TFont> FFont;
    int32_t FImageIndex = -1;
    TGradientDirection FGradientDirection = gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};

class THeaderAppearance : public TStripAppearance
{
public:
    explicit THeaderAppearance(TPersistent *AOwner);
    ~THeaderAppearance() override;
    // From another header appearance only; other sources are ignored.
    void Assign(TPersistent *Source) override;
    THeaderButtons *Buttons() const { return FButtons.get(); }
    void SetButtons(THeaderButtons *v) { FButtons->Assign(v); }
    TCollection *ButtonCollection() const override { return FButtons.get(); }

private:
    std::unique_ptr<THeaderButtons> FButtons;
};

class TFooterAppearance : public TStripAppearance
{
public:
    explicit TFooterAppearance(TPersistent *AOwner);
    ~TFooterAppearance() override;
    // From another footer appearance only; other sources are ignored.
    void Assign(TPersistent *Source) override;
    // The grip shows when the edit's pop-up is sizeable too.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v) { FSizeGrip = v; }
    TFooterButtons *Buttons() const { return FButtons.get(); }
    void SetButtons(TFooterButtons *v) { FButtons->Assign(v); }
    TCollection *ButtonCollection() const override { return FButtons.get(); }

private:
    bool FSizeGrip = true;
    std::unique_ptr<TFooterButtons> FButtons;
};

// ---- The strip controls ----------------------------------------------------------------------

// What the header and the footer control share; the footer mirrors top and bottom.
class TProDropDownStrip : public TCustomControl
{
public:
    ~TProDropDownStrip() override;

    // Takes the edit's images and the edit's settings for this strip; without an edit the images go.
    void SetProDropDown(TProCustomDropDown *Edit);
    TProCustomDropDown *ProDropDown() const { return FProDropDown; }
    // Rebuilds the buttons when an edit is set.
    void RefreshButtons();

    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *v);
    // The strip's own copy of the settings.
    TStripAppearance *StripAppearance() const { return FAppearance.get(); }
    // The created buttons, in collection order.
    TDbgList *ButtonList() const { return FButtonList.get(); }
    TProButton *ButtonControl(int Index) const { return static_cast<TProButton *>(FButtonList->ItemsEx(Index)); }
    // The rectangle the buttons are placed in.
    TRect ButtonArea() const;

    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void UpdateButtons();

    void Dispatch(TMessage &Message) override;

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

protected:
    TProDropDownStrip(TComponent *AOwner, std::unique_ptr<TStripAppearance> Appearance, bool IsFooter);
    void Paint() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    // The edit's settings for this strip.
    TStripAppearance *editAppearance() const;
    // The footer's size grip shows.
    bool gripShown() const;
    virtual void appearanceChanged();

    std::unique_ptr<TStripAppearance> FAppearance;
    TCustomImageList *FImages = nullptr;
    TProCustomDropDown *FProDropDown = nullptr;
    std::unique_ptr<TDbgList> FButtonList;
    bool FIsFooter;

private:
    void buttonClick(TObject *Sender);
};

class TProHeader : public TProDropDownStrip
{
public:
    explicit TProHeader(TComponent *AOwner);
    THeaderAppearance *Appearance() const { return static_cast<THeaderAppearance *>(FAppearance.get()); }
    void SetAppearance(THeaderAppearance *v) { FAppearance->Assign(v); }
    // The edit's header buttons; nil without an edit.
    THeaderButtons *Buttons() const;
};

class TProFooter : public TProDropDownStrip
{
public:
    explicit TProFooter(TComponent *AOwner);
    TFooterAppearance *Appearance() const { return static_cast<TFooterAppearance *>(FAppearance.get()); }
    void SetAppearance(TFooterAppearance *v) { FAppearance->Assign(v); }
    // The edit's footer buttons; nil without an edit.
    TFooterButtons *Buttons() const;
    // The grip shows: the settings want it and the edit's pop-up is sizeable.
    bool SizeGripShown() const { return gripShown(); }

    void Dispatch(TMessage &Message) override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool inGrip(int X, int Y) const;
    void restoreCursor();

    TCursor FOldCursor = 0;
};
