#pragma once
// Standard controls: buttons, labels, edits, memos, check boxes, radio buttons, group boxes,
// combo boxes, list boxes and scroll bars.
#include "framework/controls/Controls.h"
#include "framework/rtl/Strings.h"
#include <memory>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TLeftRight { taLeft, taRight };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject *Sender, TScrollCode ScrollCode, int &ScrollPos)>;

// Removes the accelerator marks of a caption ("&File" -> "File", "&&" -> "&").
QString StripHotkey(const QString &Caption);

// ---------------------------------------------------------------------------------------------

class TButtonControl : public TWinControl
{
protected:
    TButtonControl(TComponent *AOwner, QAbstractButton *AButton);
    QAbstractButton *Button() const;
    QString GetText() const override;
    void ApplyText(const QString &v) override;
};

class TButton : public TButtonControl
{
public:
    explicit TButton(TComponent *AOwner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    // Hands the button's ModalResult to its form, then OnClick.
    void Click() override;

    void Dispatch(TMessage &Message) override;

protected:
    TButton(TComponent *AOwner, QPushButton *AButton);
    LRESULT GetDlgCode() const override;

private:
    void init();
    bool isActive() const;
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCheckBox : public TButtonControl
{
public:
    explicit TCheckBox(TComponent *AOwner);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change of state clicks the box (OnClick), whether the user or the code made it.
    void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v);
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight v);

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = taRight;
    bool syncing_ = false;
};

class TRadioButton : public TButtonControl
{
public:
    explicit TRadioButton(TComponent *AOwner);
    bool Checked() const { return checked_; }
    // Checking a button unchecks its siblings and clicks it.
    void SetChecked(bool v);
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight v);

private:
    bool checked_ = false;
    TLeftRight alignment_ = taRight;
    bool syncing_ = false;
};

// ---------------------------------------------------------------------------------------------

class TLabel : public TGraphicControl
{
public:
    explicit TLabel(TComponent *AOwner);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TWinControl *FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl *v);

protected:
    void ApplyText(const QString &v) override;
    void ApplyFont() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    QLabel *label() const;
    void refresh();
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl *focusControl_ = nullptr;
};

// ---------------------------------------------------------------------------------------------

class TCustomEdit : public TWinControl
{
public:
    int MaxLength() const;
    void SetMaxLength(int v);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    QChar PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(QChar v);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase v);
    bool Modified() const;
    void SetModified(bool v);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    // bsNone or bsSingle (the default); a change sends CM_BORDERCHANGED.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    virtual void SetBorderStyle(TBorderStyle v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    // The 3-D look of the frame; the flat one of this desktop is the same.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v) { ctl3D_ = v; }

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    QString SelText() const;
    void SetSelText(const QString &v);
    void SelectAll();
    void ClearSelection();
    void Clear();
    bool CanUndo() const;
    void Undo();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

    // The clipboard messages; EM_SETRECT gives the text a formatting rectangle (it then
    // starts at the rectangle's top), and a resize or EM_SETRECT with no rectangle puts the
    // default back; EM_GETRECT.
    void DefaultHandler(TMessage &Message) override;

protected:
    explicit TCustomEdit(TComponent *AOwner, QLineEdit *AEdit = nullptr);
    QLineEdit *edit() const;
    QString GetText() const override;
    void ApplyText(const QString &v) override;
    int ColorRole() const override;
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; }
    void DoEnter() override;
    virtual void Change();
    // The edit's own context menu sends cut, copy and paste as messages to the control.
    bool QtEvent(QEvent *e) override;

private:
    void applyFormatRect();
    QChar passwordChar_;
    TEditCharCase charCase_ = ecNormal;
    bool autoSelect_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    bool ctl3D_ = true;
    bool converting_ = false;
    TAlignment alignment_ = taLeftJustify;
    // Set by EM_SETRECT; a resize puts the default back, as on the platform.
    bool hasFormatRect_ = false;
    TRect formatRect_;
};

class TEdit : public TCustomEdit
{
public:
    explicit TEdit(TComponent *AOwner) : TCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------------------------------------

class TMemo : public TWinControl
{
public:
    explicit TMemo(TComponent *AOwner);
    ~TMemo() override;

    // The lines of the text; a final line break starts no line of its own.
    TStrings *Lines() const { return lines_.get(); }
    void SetLines(TStrings *v) { lines_->Assign(v); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    // EM_SETRECT gives the text a formatting rectangle (it then starts at the rectangle's
    // top); a resize or EM_SETRECT with no rectangle puts the default back.
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v) { wantTabs_ = v; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = v; }
    bool Modified() const;
    void SetModified(bool v);

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    QString SelText() const;
    void SetSelText(const QString &v);
    void SelectAll();
    void Clear();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // The editor, holding the whole text (one set while hidden is taken in first).
    QPlainTextEdit *Editor() const;
    // Sets the text (LF line breaks); while the memo is hidden and nobody listens to OnChange
    // it is kept aside until the memo is shown or read.
    void SetLinesText(const QString &v);

    TNotifyEvent OnChange;

protected:
    // The text uses CR LF line breaks, as the platform's edit control.
    QString GetText() const override;
    void ApplyText(const QString &v) override;
    int ColorRole() const override;
    LRESULT GetDlgCode() const override;

private:
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
    int maxLength_ = 0;
    mutable QString pendingText_;
    mutable bool hasPendingText_ = false;

    void TakeInPendingText() const;
};

// ---------------------------------------------------------------------------------------------

class TCustomGroupBox : public TWinControl
{
public:
    void AdjustClientRect(TRect &Rect) const override;

protected:
    TCustomGroupBox(TComponent *AOwner);
    QGroupBox *box() const;
    QString GetText() const override;
    void ApplyText(const QString &v) override;
};

class TGroupBox : public TCustomGroupBox
{
public:
    explicit TGroupBox(TComponent *AOwner) : TCustomGroupBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------------

class TComboBox : public TWinControl
{
public:
    explicit TComboBox(TComponent *AOwner);
    ~TComboBox() override;

    TStrings *Items() const { return items_.get(); }
    void SetItems(TStrings *v) { items_->Assign(v); }
    int ItemIndex() const;
    void SetItemIndex(int v);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v);
    int DropDownCount() const;
    void SetDropDownCount(int v);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    void Clear();

    QComboBox *Combo() const;
    // Where the desktop's style draws the drop button, in client coordinates.
    TRect StyleButtonRect() const;

    // User edits of the text.
    TNotifyEvent OnChange;
    // The user picked an item (OnChange instead when unset).
    TNotifyEvent OnSelect;
    // The list opens and closes, whether the user or the code did it.
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void Dispatch(TMessage &Message) override;
    // CB_SETDROPPEDWIDTH and CB_GETDROPPEDWIDTH: the list is at least that wide, and never
    // narrower than the combo.
    void DefaultHandler(TMessage &Message) override;

protected:
    QString GetText() const override;
    void ApplyText(const QString &v) override;
    int ColorRole() const override;
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    // CBN_DROPDOWN and CBN_CLOSEUP arrive here (CN_COMMAND) when the list opens and closes.
    virtual void CNCommand(TMessage &Message);

private:
    friend class TComboBoxStrings;
    std::unique_ptr<TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    bool sorted_ = false;
    int maxLength_ = 0;
};

class TListBox : public TWinControl
{
public:
    explicit TListBox(TComponent *AOwner);
    ~TListBox() override;

    TStrings *Items() const { return items_.get(); }
    void SetItems(TStrings *v) { items_->Assign(v); }
    int ItemIndex() const;
    void SetItemIndex(int v);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool v);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool v);
    int SelCount() const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    int TopIndex() const;
    void SetTopIndex(int v);
    int ItemHeight() const;
    void SetItemHeight(int v);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle v) { style_ = v; }
    int ItemAtPos(const TPoint &Pos, bool Existing) const;
    TRect ItemRect(int Index) const;
    void Clear();
    void ClearSelection();
    void SelectAll();

    QListWidget *List() const;

protected:
    int ColorRole() const override;
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

private:
    friend class TListBoxStrings;
    void applySelectionMode();
    std::unique_ptr<TStrings> items_;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    bool changing_ = false;
};

// A list box whose items carry check boxes.
class TCheckListBox : public TListBox
{
public:
    explicit TCheckListBox(TComponent *AOwner);
    bool Checked(int Index) const;
    void SetChecked(int Index, bool v);

    // The user ticked or unticked an item (not when the program sets Checked).
    TNotifyEvent OnClickCheck;

protected:
    virtual void ClickCheck();

private:
    bool settingCheck_ = false;
};

// ---------------------------------------------------------------------------------------------

class TScrollBar : public TWinControl
{
public:
    explicit TScrollBar(TComponent *AOwner);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind v);
    int Min() const;
    void SetMin(int v);
    int Max() const;
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    int SmallChange() const;
    void SetSmallChange(int v);
    int LargeChange() const;
    void SetLargeChange(int v);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v);
    // Sets Position, Min and Max at once (OnChange once).
    void SetParams(int APosition, int AMin, int AMax);

    QScrollBar *Bar() const;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int &ScrollPos);
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS; }

private:
    TScrollBarKind kind_ = sbHorizontal;
    int pageSize_ = 0;
    bool setting_ = false;
};
