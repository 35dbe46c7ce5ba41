#pragma once
// The grid's small settings companions (background, grouping, drag scrolling, progress-bar and
// cell-control looks, sorting, filtering, balloons, floating footer, drag and drop) and the
// panels, lists and windows the grid creates with itself.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Classes.h"
#include "framework/rtl/Lists.h"
#include "grid/core/BaseGrid.h"
#include "grid/core/ProGridField.h"
#include "grid/core/ProGridSortFilter.h"
#include "grid/core/PsgHTMLE.h"
#include <memory>
#include <vector>

class TProStringGrid;
class TFooterPanel;


// ---- Background ----------------------------------------------------------------------------------

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

class TBackGround : public TPersistent
{
public:
    explicit TBackGround(TControl *AGrid) : FGrid(AGrid) {}
    void Assign(TPersistent *Source) override;

    int Top() const { return FTop; }
    void SetTop(int v) { Store(FTop, v); }
    int Left() const { return FLeft; }
    void SetLeft(int v) { Store(FLeft, v); }
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v) { Store(FDisplay, v); }
    TBitmap *Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap *v);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v) { Store(FCells, v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Store(FColor, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Store(FColorTo, v); }

private:
    template <typename T>
    void Store(T &field, T v)
    {
        field = v;
        FGrid->Invalidate();
    }

    TControl *FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();
    TBackGroundCells FCells = bcNormal;
    TColor FColor = clWindow;
    TColor FColorTo = clBtnFace;
};

// ---- Grouping ------------------------------------------------------------------------------------

class TGrouping : public TPersistent
{
public:
    // The line colours and widths and Summary are not copied.
    void Assign(TPersistent *Source) override;

    TARVIX_PLAIN_FIELD(bool, AutoSelectGroup, false)
    TARVIX_PLAIN_FIELD(bool, AutoCheckGroup, false)
    TARVIX_PLAIN_FIELD(QString, GroupCountFormat, QString())
    TARVIX_PLAIN_FIELD(TColor, HeaderColor, clNone)
    TARVIX_PLAIN_FIELD(TColor, HeaderColorTo, clNone)
    TARVIX_PLAIN_FIELD(TColor, HeaderTextColor, clNone)
    TARVIX_PLAIN_FIELD(bool, HeaderUnderline, false)
    TARVIX_PLAIN_FIELD(TColor, HeaderLineColor, clBlue)
    TARVIX_PLAIN_FIELD(int, HeaderLineWidth, 2)
    TARVIX_PLAIN_FIELD(bool, MergeHeader, false)
    TARVIX_PLAIN_FIELD(bool, MergeSummary, false)
    TARVIX_PLAIN_FIELD(bool, ShowGroupCount, false)
    TARVIX_PLAIN_FIELD(bool, Summary, false)
    TARVIX_PLAIN_FIELD(TColor, SummaryColor, clNone)
    TARVIX_PLAIN_FIELD(TColor, SummaryColorTo, clNone)
    TARVIX_PLAIN_FIELD(TColor, SummaryTextColor, clNone)
    TARVIX_PLAIN_FIELD(bool, SummaryLine, false)
    TARVIX_PLAIN_FIELD(TColor, SummaryLineColor, clBlue)
    TARVIX_PLAIN_FIELD(int, SummaryLineWidth, 2)
};

// ---- Drag scrolling ------------------------------------------------------------------------------

class TDragScrollDelays : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;
    TARVIX_PLAIN_FIELD(int, InitialDelay, 1000)
    TARVIX_PLAIN_FIELD(int, RepeatDelay, 250)
};

class TDragScrollMargins : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;
    TARVIX_PLAIN_FIELD(int, TopMargin, 50)
    TARVIX_PLAIN_FIELD(int, BottomMargin, 50)
    TARVIX_PLAIN_FIELD(int, LeftMargin, 50)
    TARVIX_PLAIN_FIELD(int, RightMargin, 50)
};

class TDragScrollOptions : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;
    TARVIX_PLAIN_FIELD(bool, Active, false)
public:
    TDragScrollDelays *Delays() const { return FDelays.get(); }
    void SetDelays(TDragScrollDelays *v) { FDelays->Assign(v); }
    TDragScrollMargins *Margins() const { return FMargins.get(); }
    void SetMargins(TDragScrollMargins *v) { FMargins->Assign(v); }

private:
    std::unique_ptr<TDragScrollDelays> FDelays = std::make_unique<TDragScrollDelays>();
    std::unique_ptr<TDragScrollMargins> FMargins = std::make_unique<TDragScrollMargins>();
};

// ---- Progress bars in cells ----------------------------------------------------------------------

enum TProgressStyle { psXP, psClassic };

// A field whose writer reports only real changes.
#define TARVIX_CHANGE_FIELD(Type, Name, Default)                                                   \
public:                                                                                            \
    Type Name() const { return F##Name; }                                                          \
    void Set##Name(Type v)                                                                         \
    {                                                                                              \
        if (F##Name != v) {                                                                        \
            F##Name = v;                                                                           \
            Changed();                                                                             \
        }                                                                                          \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    Type F##Name = Default;

class TGridProgressAppearance : public TPersistent
{
public:
    // Copies everything and reports one change.
    void Assign(TPersistent *Source) override;

    TNotifyEvent OnChange;

    TARVIX_CHANGE_FIELD(TColor, CompleteColor, clRed)
    TARVIX_CHANGE_FIELD(TColor, CompleteFontColor, clBlue)
    TARVIX_CHANGE_FIELD(TColor, UnCompleteColor, clNone)
    TARVIX_CHANGE_FIELD(TColor, UnCompleteFontColor, clWindowText)
    TARVIX_CHANGE_FIELD(TColor, Level0Color, 0x00FF00)
    TARVIX_CHANGE_FIELD(TColor, Level0ColorTo, 0xE1FFE1)
    TARVIX_CHANGE_FIELD(TColor, Level1Color, 0x00FFFF)
    TARVIX_CHANGE_FIELD(TColor, Level1ColorTo, 0xCAFFFF)
    TARVIX_CHANGE_FIELD(TColor, Level2Color, 0x53A9FF)
    TARVIX_CHANGE_FIELD(TColor, Level2ColorTo, 0xA8D3FF)
    TARVIX_CHANGE_FIELD(TColor, Level3Color, 0x0000FF)
    TARVIX_CHANGE_FIELD(TColor, Level3ColorTo, 0xCACAFF)
    TARVIX_CHANGE_FIELD(int, Level1Perc, 70)
    TARVIX_CHANGE_FIELD(int, Level2Perc, 90)
    TARVIX_CHANGE_FIELD(TColor, BorderColor, 0)
    TARVIX_CHANGE_FIELD(bool, ShowBorder, false)
    TARVIX_CHANGE_FIELD(bool, Stacked, false)
    TARVIX_CHANGE_FIELD(bool, ShowPercentage, true)
    TARVIX_CHANGE_FIELD(bool, CompletionSmooth, true)
    TARVIX_CHANGE_FIELD(bool, ShowGradient, true)
    TARVIX_CHANGE_FIELD(int, Steps, 11)
    TARVIX_CHANGE_FIELD(TProgressStyle, Style, psXP)

private:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
};

// ---- Look of cell controls -----------------------------------------------------------------------

// How check boxes, radio buttons and buttons in cells are drawn. (The framework's TControlStyle
// names the control's style flags.)
enum TCellControlStyle { csClassic, csFlat, csWinXP, csBorland, csDUZ, csGlyph, csTheme };

class TControlLook : public TPersistent
{
public:
    explicit TControlLook(TProStringGrid *AGrid);
    // Resets the colours; only the hover and pressed mirror colours reach the grid.
    void Init();
    // Copies sizes, style, glyphs, margins, colours, the always-active and always-visible flags,
    // the drop-down count and the gradient colours as they read; nothing reaches the grid.
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Store(FColor, v); }
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor v) { Store(FCommentColor, v); }
    TBitmap *CheckedGlyph() const { return FCheckedGlyph.get(); }
    void SetCheckedGlyph(TBitmap *v) { StoreGlyph(FCheckedGlyph.get(), v); }
    TBitmap *UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
    void SetUnCheckedGlyph(TBitmap *v) { StoreGlyph(FUnCheckedGlyph.get(), v); }
    TBitmap *RadioOnGlyph() const { return FRadioOnGlyph.get(); }
    void SetRadioOnGlyph(TBitmap *v) { StoreGlyph(FRadioOnGlyph.get(), v); }
    TBitmap *RadioOffGlyph() const { return FRadioOffGlyph.get(); }
    void SetRadioOffGlyph(TBitmap *v) { StoreGlyph(FRadioOffGlyph.get(), v); }

    // Fixed-cell gradients. A colour other than clNone (the mirror colours: any colour) is also
    // given to the grid's matching DUZGradient colour.
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor v);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor v);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor v);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor v);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor v);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor v);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor v);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor v);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor v);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor v);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor v);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor v);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor v);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor v);

    bool FixedDropDownButton() const { return FFixedDropDownButton; }
    void SetFixedDropDownButton(bool v) { Store(FFixedDropDownButton, v); }
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int v) { Store(FCheckSize, v); }
    bool CheckAlwaysActive() const { return FCheckAlwaysActive; }
    void SetCheckAlwaysActive(bool v) { Store(FCheckAlwaysActive, v); }
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int v) { Store(FRadioSize, v); }
    bool RadioAlwaysActive() const { return FRadioAlwaysActive; }
    void SetRadioAlwaysActive(bool v) { Store(FRadioAlwaysActive, v); }
    TCellControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TCellControlStyle v) { Store(FControlStyle, v); }
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool v) { Store(FDropDownAlwaysVisible, v); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v) { Store(FDropDownCount, v); }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool v) { Store(FSpinButtonsAlwaysVisible, v); }
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v) { Store(FFlatButton, v); }
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool v) { Store(FNoDisabledCheckRadioLook, v); }
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool v) { Store(FNoDisabledButtonLook, v); }
    TColor ProgressBorderColor() const { return FProgressBorderColor; }
    void SetProgressBorderColor(TColor v) { Store(FProgressBorderColor, v); }
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int v) { Store(FProgressMarginX, v); }
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int v) { Store(FProgressMarginY, v); }
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool v) { Store(FProgressXP, v); }

private:
    template <typename T>
    void Store(T &field, T v)
    {
        field = v;
        InvalidateGrid();
    }
    void StoreGlyph(TBitmap *field, TBitmap *v)
    {
        field->Assign(v);
        InvalidateGrid();
    }
    void InvalidateGrid();

    TProStringGrid *FGrid;
    TColor FColor = 0;
    TColor FCommentColor = clRed;
    std::unique_ptr<TBitmap> FCheckedGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FUnCheckedGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FRadioOnGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FRadioOffGlyph = std::make_unique<TBitmap>();
    TColor FFixedGradientFrom = clNone, FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone, FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = clGray, FFixedGradientHoverTo = clWhite;
    TColor FFixedGradientHoverMirrorFrom = clNone, FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverBorder = clSilver;
    TColor FFixedGradientDownFrom = clGray, FFixedGradientDownTo = clSilver;
    TColor FFixedGradientDownMirrorFrom = clNone, FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = clGray;
    bool FFixedDropDownButton = false;
    int FCheckSize = 15;
    bool FCheckAlwaysActive = false;
    int FRadioSize = 10;
    bool FRadioAlwaysActive = false;
    TCellControlStyle FControlStyle = csTheme;
    bool FDropDownAlwaysVisible = false;
    int FDropDownCount = 8;
    bool FSpinButtonsAlwaysVisible = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    TColor FProgressBorderColor = clGray;
    int FProgressMarginX = 2;
    int FProgressMarginY = 2;
    bool FProgressXP = false;
};

// ---- Balloons, footer, drag and drop -------------------------------------------------------------

class TBalloonSettings : public TPersistent
{
public:
    // Transparency is not copied and no change is reported.
    void Assign(TPersistent *Source) override;

    bool Enable() const { return FEnable; }
    void SetEnable(bool v);
    TARVIX_PLAIN_FIELD(TColor, TextColor, clNone)
    TARVIX_PLAIN_FIELD(TColor, BackgroundColor, clNone)
    TARVIX_PLAIN_FIELD(int, InitialDelay, -1)
    TARVIX_PLAIN_FIELD(int, AutoHideDelay, -1)
    TARVIX_PLAIN_FIELD(int, ReshowDelay, -1)
    TARVIX_PLAIN_FIELD(uint8_t, Transparency, 0)
public:
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };
using TCalcFooterEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value)>;

// The settings of the strip docked under the grid's cells (the grid's FloatingFooter); the strip
// itself is the grid's TFooterPanel.
class TFloatingFooter : public TPersistent
{
public:
    explicit TFloatingFooter(TProStringGrid *AGrid) : FGrid(AGrid) {}
    // From another footer: everything but Height, BorderColor, EnableCalculation and
    // OnCalcFooter; Visible goes through its setter, ShowHint is only stored.
    void Assign(TPersistent *Source) override;

    // The last-row style makes the grid's last row a fixed footer row that the strip paints.
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    // The line along the top edge; clNone draws none.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    // The column of the preview style, handed to the paint event by the custom paint style.
    int Column() const { return FColumn; }
    void SetColumn(int v);
    // Mini-HTML; each <#n> shows column n of the current row.
    const QString &CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString &v);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    // The strip is one pixel lower than this.
    int Height() const { return FHeight; }
    void SetHeight(int v);
    TARVIX_PLAIN_FIELD(bool, CalculateHiddenRows, true)
    TARVIX_PLAIN_FIELD(bool, EnableCalculation, true)
public:
    // The calculation of a column's footer cell (the grid's last row).
    TColumnCalcType GetColumnCalc(int ACol) const;
    // Stores the type in the footer cell and recalculates that column's footer.
    void SetColumnCalc(int ACol, TColumnCalcType CalcType);
    // Repaints the strip.
    void Invalidate();

    TCalcFooterEvent OnCalcFooter;

private:
    TFooterPanel *Panel() const;
    // The grid hides its last row while the strip shows it.
    void UpdateHideLastRow();

    TProStringGrid *FGrid;
    bool FVisible = false;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    TColor FColor = clBtnFace;
    TColor FBorderColor = clNone;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FShowHint = false;
    int FHeight = 0;
};

class TDragDropSettings : public TPersistent
{
public:
    explicit TDragDropSettings(TProStringGrid *AGrid) : FGrid(AGrid) {}
    void Assign(TPersistent *Source) override;
    TARVIX_PLAIN_FIELD(bool, OleAcceptText, true)
    TARVIX_PLAIN_FIELD(bool, OleAcceptFiles, true)
    TARVIX_PLAIN_FIELD(bool, OleAcceptURLs, true)
    // With row selection whole rows are taken, fixed columns included.
    TARVIX_PLAIN_FIELD(bool, OleEntireRows, false)

private:
    TProStringGrid *FGrid;
};

// ---- Panels and windows --------------------------------------------------------------------------

// The strip of the floating footer along the grid's bottom edge: it paints the footer in its
// style, shows a hint per footer cell and reports clicks. Its columns are the grid's fixed
// columns from x = 0, then the columns from LeftCol on, each as wide as in the grid; a
// right-to-left grid mirrors them.
class TFooterPanel : public TCustomPanel
{
public:
    explicit TFooterPanel(TComponent *AOwner);
    // Creates the strip's window the first time it gets a parent.
    void SetParent(TWinControl *AParent) override;
    // Answers the hint message itself: one hint per footer cell.
    void Dispatch(TMessage &Message) override;
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode v) { FBiDiMode = v; }

    // The grid column (display index) under client X; -1 beside the painted columns.
    int ColumnAt(int X) const;
    // The template with every <#n> replaced by column n of the grid's current row; a tag
    // without a valid column is dropped, an unclosed one stays as text.
    QString ExpandTemplate(const QString &Template) const;

    TProStringGrid *FGrid = nullptr;
    // The footer column whose hint shows; -1 none.
    int FLastHintX = -1;

protected:
    virtual void CreateWnd();
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    struct TStripColumn
    {
        int Col, Left, Right;
    };
    std::vector<TStripColumn> Layout() const;
    bool RightToLeft() const;
    // A strip rectangle as painted: mirrored within the client width in a right-to-left grid.
    TRect Place(const TRect &R) const;
    void FillStrip(const TRect &R, TColor AColor);
    void PaintLastRow(const std::vector<TStripColumn> &Cols, int W);
    void PaintPreviewFrame(int W);
    void PaintColumnPreview(int W);
    void PaintCustomPreview(int W);
    void CMHintShow(TMessage &Message);

    TBiDiMode FBiDiMode = bdLeftToRight;
    // The strip is painted mirrored.
    bool FMirror = false;
    bool FWndCreated = false;
};

// The hint window of scroll and sizing hints and of HTML cell hints.
class THTMLHintWindow : public THintWindow
{
public:
    explicit THTMLHintWindow(TComponent *AOwner) : THintWindow(AOwner) {}
};

// The grid's default text editor.
class TProInplaceEdit : public TInplaceEdit
{
public:
    explicit TProInplaceEdit(TComponent *AOwner) : TInplaceEdit(AOwner) {}
};
