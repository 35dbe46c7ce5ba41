#pragma once
// The string grid's cell model: per-cell properties created on first use, merged cells and
// cell text read and written through display-text hooks.
#include "framework/grids/Grids.h"
#include <functional>

TARVIX_DECLARE_EXCEPTION(EProGridError, Exception)

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TColumnCalcType {
    acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV
};
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
    edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat,
    edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit,
    edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone,
    edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown,
    edTimePickerDropDown, edDetailDropDown, edGridDropDown, edColorPickerDropDown,
    edImagePickerDropDown, edProGridDropDown, edPositiveFloat, edNumericUnitEditBtn,
    edFloatUnitEditBtn
};

using TGetDisplTextEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value)>;

class TBaseGrid;
class TProGridUndoRedo;

// Look and merge state of one cell. Owned by its grid and kept in the cell's object slot.
class TCellProperties : public TPersistent
{
public:
    TCellProperties(TBaseGrid *AOwnerGrid, int ACol, int ARow);
    void Assign(TPersistent *Source) override;

    // The base cell of (c, r) as seen from this cell's spans.
    TPoint GetBaseCell(int c, int r) const;

    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int v) { FOwnerCol = v; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int v) { FOwnerRow = v; }
    TObject *CellObject() const { return FObject; }
    void SetCellObject(TObject *v) { FObject = v; }
    TObject *GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject *v) { FGraphicObject = v; }
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle v) { FBrushStyle = v; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor v);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor v);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int v) { FFontSize = v; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor v) { FFontColor = v; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(const TFontStyles &v) { FFontStyle = v; }
    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int v) { FCellSpanX = v; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int v) { FCellSpanY = v; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { FBorderWidth = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool v) { FIsBaseCell = v; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType v) { FCalcType = v; }
    TObject *CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject *v) { FCalcObject = v; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int v) { FNodeLevel = v; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType v) { FEditor = v; }
    const QString &FontName() const { return FFontName; }
    void SetFontName(const QString &v) { FFontName = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection v) { FGradientDirection = v; }
    TControl *Control() const { return FControl; }
    void SetControl(TControl *v) { FControl = v; }

private:
    friend class TBaseGrid;
    void RepaintOwner();

    TBaseGrid *FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    TObject *FObject = nullptr;
    TObject *FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    int FPaintID = 0;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject *FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    QString FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl *FControl = nullptr;
};

// Declares nothing of its own; the cell model sits on top of it.
class TObjStringGrid : public TStringGrid
{
public:
    explicit TObjStringGrid(TComponent *AOwner) : TStringGrid(AOwner) {}
};

class TBaseGrid : public TObjStringGrid
{
public:
    explicit TBaseGrid(TComponent *AOwner);
    ~TBaseGrid() override;

    // Cell text with merging and the display hooks applied; the component's Cells.
    QString GetCellEx(int c, int r);
    void SetCellEx(int c, int r, const QString &Value);
    // Raw store access: no merging, no hooks, no repaint.
    QString GetGridCell(int c, int r) const;
    void SetGridCell(int c, int r, const QString &Value);
    TObject *GetGridObject(int c, int r) const;
    void SetGridObject(int c, int r, TObject *Value);

    TCellProperties *GetCellProperties(int c, int r);
    // Frees the cell's current properties and stores Value, which the grid then owns.
    void SetCellProperties(int c, int r, TCellProperties *Value);
    TObject *GetObjectEx(int c, int r);
    void SetObjectEx(int c, int r, TObject *Value);
    TObject *GetGraphicObjectEx(int c, int r);
    void SetGraphicObjectEx(int c, int r, TObject *Value);

    virtual void MergeCells(int c, int r, int spanx, int spany);
    virtual void SplitCells(int c, int r);
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    TPoint BaseCell(int ACol, int ARow) const;
    TPoint CellSpan(int ACol, int ARow) const;
    TPoint CellExt(int ACol, int ARow) const;
    TRect FullCell(int c, int r) const;
    // The whole block for a merged cell; the plain grid's own rectangle stays reachable
    // through TCustomGrid::CellRect.
    TRect CellRect(int c, int r);
    TPoint CellSize(int c, int r);
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;

    void RepaintCell(int c, int r);
    void PaintCell(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState);
    void PaintCellExt(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState);

    virtual int TotalColCount() const { return ColCount(); }
    virtual int DisplColIndex(int ACol) const { return ACol; }
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print,
                                     bool Select, bool Remap, TBrush *ABrush, TColor &AColorTo,
                                     TColor &AMirrorColor, TColor &AMirrorColorTo, TFont *AFont,
                                     TAlignment &HA, TVAlignment &VA, bool &WW,
                                     TCellGradientDirection &GD) {}

    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool v) { ChangeAndInvalidate(FActiveRowShow, v); }
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor v) { ChangeAndInvalidate(FActiveRowColor, v); }
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor v) { ChangeAndInvalidate(FActiveRowColorTo, v); }
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor v) { ChangeAndInvalidate(FActiveRowMirrorColor, v); }
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor v) { ChangeAndInvalidate(FActiveRowMirrorColorTo, v); }
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle v) { ChangeAndInvalidate(FSelectionStyle, v); }
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v) override;
    // The grid draws its own lines; the plain grid's line width stays 0.
    int GridLineWidth() const override { return FGridLineWidth; }
    void SetGridLineWidth(int v) override;
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor v);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor v);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool v) { FHoverRow = v; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor v) { FHoverRowColor = v; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor v) { FHoverRowColorTo = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // The undo history the grid reports its changes to; not owned. Setting it makes the
    // component's Grid this grid.
    TProGridUndoRedo *UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TProGridUndoRedo *Value);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    virtual bool IsFixed(int ACol, int ARow) { return false; }
    virtual int GetNodeIndent(int ARow) { return 0; }
    virtual bool HasNodes() { return false; }
    virtual void DrawCellText(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect,
                              TGridDrawState AState);
    virtual void LastRowWritten() {}
    virtual void GetDisplText(int ACol, int ARow, QString &Value);
    virtual void GetDisplWideText(int ACol, int ARow, QString &Value);
    virtual void GetDefaultProps(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                 TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA,
                                 TVAlignment &VA, bool &WW, TCellGradientDirection &GD);
    virtual void CellChanged(int ACol, int ARow) {}
    virtual bool HasCellBorders() { return false; }

    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    void Paint() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    // Repaints the old and the new current cell so that merged blocks repaint whole.
    bool SelectCell(int ACol, int ARow) override;
    // Arrow keys and the wheel step over merged blocks and end on a base cell.
    void KeyDown(Word &Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // Merged cells of the fixed rows and columns repaint whole after scrolling.
    void TopLeftChanged() override;

    TRect CalcCellRect(int c, int r);
    bool HasCellProperties(int c, int r) const;
    void FocusBaseCell();
    // These drop the object references without freeing: the objects already live elsewhere.
    void ClearGridCol(int ACol);
    void ClearGridRow(int ARow);
    void ClearGridCell(int c, int r);
    void FreeCellPropsRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void FreeCellProperties(int c, int r);
    // Frees a properties object held outside the cells, with its cell graphic.
    static void DisposeCellProperties(TCellProperties *AProps);
    TObject *GetPropsGraphic(TCellProperties *AProps) const { return AProps ? AProps->FGraphicObject : nullptr; }
    // Raises EProGridError for a negative index.
    void CheckCellIndex(int c, int r) const;
    // The storage extent that may hold properties: every count the grid ever had and every
    // slot ever written, so that cells kept beyond the counts are reached too.
    int StoreColExtent() const;
    int StoreRowExtent() const;
    bool IsDestroying() const { return FDestroying || TObjStringGrid::IsDestroying(); }
    int PaintID() const { return FPaintID; }

    int FHoverRowIdx = -1;
    bool FHoverRow = false;
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;

    // Look setters repaint only when the value changed.
    template <typename T>
    void ChangeAndInvalidate(T &field, T v)
    {
        if (field != v) {
            field = v;
            Invalidate();
        }
    }

private:
    friend class TCellProperties;
    void DoPaintCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState,
                     bool Content);
    // The cell's background from the canvas brush colour: the selection box of the selection
    // style, a gradient, or a gradient with a mirrored lower half.
    void PaintCellBackground(TCanvas *ACanvas, int ACol, const TRect &ARect, TGridDrawState AState, TColor ColorTo,
                             TColor MirrorColor, TColor MirrorColorTo, TCellGradientDirection GD);
    void NoteStoreExtent(int c, int r);

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = clSilver;
    TColor FGridFixedLineColor = clGray;
    int FPaintID = 1;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    bool FDestroying = false;
    TProGridUndoRedo *FUndoRedo = nullptr;
    int FStoreCols = 0;
    int FStoreRows = 0;
};
