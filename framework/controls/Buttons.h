#pragma once
// Bitmap buttons and speed buttons.
#include "framework/controls/StdCtrls.h"
#include <memory>

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TBitBtn : public TButton
{
public:
    explicit TBitBtn(TComponent *AOwner);
    ~TBitBtn() override;
    TBitBtnKind Kind() const { return kind_; }
    // A standard kind brings its caption, modal result, Default or Cancel.
    void SetKind(TBitBtnKind v);
    TBitmap *Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap *v) { glyph_->Assign(v); }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    // bkClose closes the form.
    void Click() override;

private:
    void glyphChanged();
    TBitBtnKind kind_ = bkCustom;
    std::unique_ptr<TBitmap> glyph_;
    TButtonLayout layout_ = blGlyphLeft;
};

// A button without focus that paints itself; in a group (GroupIndex > 0) it stays down
// until another of the group goes down. Its glyph is drawn with the colour of the glyph's
// bottom-left pixel left out.
class TSpeedButton : public TGraphicControl
{
public:
    explicit TSpeedButton(TComponent *AOwner);
    ~TSpeedButton() override;
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    bool Down() const { return down_; }
    // Going down in a group lets the other buttons of the group up.
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; Invalidate(); }
    // A flat button that is up paints no face: its parent shows through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; Invalidate(); }
    TBitmap *Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap *v) { glyph_->Assign(v); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v) { numGlyphs_ = std::clamp(v, 1, 4); Invalidate(); }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v) { layout_ = v; Invalidate(); }
    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    void Click() override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Paint() override;
    void ApplyText(const QString &v) override;
    TButtonState state_ = bsUp;

private:
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool transparent_ = false;
    bool dragging_ = false;
    bool mouseInControl_ = false;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    std::unique_ptr<TBitmap> glyph_;
};
