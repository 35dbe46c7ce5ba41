#pragma once
// The search footer's strip: a search box, find-next and find-previous buttons, a highlight
// toggle, a match-case box and a close button. It only lays its controls out and reports what the
// user does; the grid answers with its searches.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "grid/core/ProGridButton.h"

class TProStringGrid;

// The search box: Enter and Ctrl+Enter are reported, never inserted.
class TRetEdit : public TEdit
{
public:
    explicit TRetEdit(TComponent *AOwner) : TEdit(AOwner) {}
    TNotifyEvent OnReturn;
    TNotifyEvent OnCtrlReturn;

protected:
    // Enter must reach the box rather than a dialog's default button.
    LRESULT GetDlgCode() const override { return TEdit::GetDlgCode() | DLGC_WANTALLKEYS; }
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(QChar &Key) override;
};

class TSearchPanel : public TCustomPanel
{
public:
    explicit TSearchPanel(TComponent *AOwner);
    // Lays the controls out the first time the panel gets a parent.
    void SetParent(TWinControl *AParent) override;

    TRetEdit *EditControl() const { return FEdit; }
    TProGridButton *ExitButton() const { return FExitButton; }
    TProGridButton *ForwardButton() const { return FForwardButton; }
    TProGridButton *BackwardButton() const { return FBackwardButton; }
    TProGridButton *HiliteButton() const { return FHiliteButton; }
    TProCheckBox *MatchCase() const { return FMatchCase; }
    TProStringGrid *Grid() const { return FGrid; }

    // End colour of a top-to-bottom gradient; clNone paints one flat colour.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

    // Read when the window is made; the grid fills them from its search footer.
    QString FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
    QString HintFindPrev, HintClose, HintFindNext, HintHighlight;

    TNotifyEvent OnForwardClick;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnEditChange;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighlightClick;

    // Places every control at its left, mirrored within the panel in a right-to-left grid.
    void Arrange();
    // The left of the match-case box: after the highlight button when that shows.
    int MatchCaseLeft() const;

protected:
    virtual void CreateWnd();
    void Paint() override;
    void Resize() override;

private:
    bool RightToLeft() const;
    void Place(TControl *C, int Left, int Top);
    void EditChanged(TObject *Sender);

    TProStringGrid *FGrid = nullptr;
    TRetEdit *FEdit = nullptr;
    TProGridButton *FExitButton = nullptr;
    TProGridButton *FForwardButton = nullptr;
    TProGridButton *FBackwardButton = nullptr;
    TProGridButton *FHiliteButton = nullptr;
    TProCheckBox *FMatchCase = nullptr;
    TColor FColorTo = clNone;
    bool FWndCreated = false;
};

// The search panel's glyphs by name ("PSGARDOWN", "PSGARUP", "PSGCLOSE", "PSGHI" and their
// disabled, hot and down forms); false for an unknown name.
bool LoadSearchPanelGlyph(const QString &ResName, TBitmap &Bitmap);
// Whether Key is the accelerator (the character after a single "&") of Caption.
bool SearchCaptionAccel(WPARAM Key, const QString &Caption);
