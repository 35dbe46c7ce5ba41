#pragma once
// The grid component: dimensions, structure edits, the update lock and typed cell access.
#include "grid/core/BaseGrid.h"
#include "grid/core/CellGraphic.h"
#include "grid/core/ProGridOptions.h"
#include "grid/core/ProGridSettings.h"
#include "grid/core/ProGridCompanions.h"
#include "grid/core/ProGridButton.h"
#include "grid/core/ProGridSearchPanel.h"
#include "grid/core/PictureContainer.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

using TCellsChangedEvent = std::function<void(TObject *Sender, const TRect &R)>;
using TRowChangedEvent = std::function<void(TObject *Sender, int OldRow, int NewRow)>;
using TRowDisjunctSelectEvent = std::function<void(TObject *Sender, int ARow, bool AState, bool &Allow)>;
using TAutoInsertRowEvent = std::function<void(TObject *Sender, int ARow)>;

class TProStringGrid;
class TProStringGridCheck;
class TScrollControl;
using TGroupCalcEvent = std::function<void(TObject *Sender, int ACol, int FromRow, int ToRow, double &Res)>;
using TFloatFormatEvent =
    std::function<void(TObject *Sender, int ACol, int ARow, bool &IsFloat, QString &FloatFormat)>;
using TUpdateColumnSizeEvent = std::function<void(TObject *Sender, int ACol, int &AWidth)>;
using TColumnSizeEvent = std::function<void(TObject *Sender, int ACol, bool &Allow)>;
using TRowSizeEvent = std::function<void(TObject *Sender, int ARow, bool &Allow)>;

// Listens to the selection of the grid it is registered with.
class ITProStringGridSelect
{
public:
    virtual ~ITProStringGridSelect() = default;
};

// Hears of every changed cell rectangle of the grids it is registered with.
class TGridChangeNotifier : public TComponent
{
public:
    explicit TGridChangeNotifier(TComponent *AOwner = nullptr) : TComponent(AOwner) {}
    virtual void CellsChanged(const TRect &R) {}
};

// A second grid kept in step with the owner grid's current row and column.
class TSyncGrid : public TPersistent
{
public:
    explicit TSyncGrid(TComponent *AOwner) : FOwner(AOwner) {}
    ~TSyncGrid() override { SetGrid(nullptr); }
    void Assign(TPersistent *Source) override;

    TStringGrid *Grid() const { return FGrid; }
    // The owner grid itself is ignored.
    void SetGrid(TStringGrid *Value);
    bool ScrollHorizontal() const { return FScrollHorizontal; }
    void SetScrollHorizontal(bool v) { FScrollHorizontal = v; }
    bool ScrollVertical() const { return FScrollVertical; }
    void SetScrollVertical(bool v) { FScrollVertical = v; }
    bool SelectionRow() const { return FSelectionRow; }
    void SetSelectionRow(bool v) { FSelectionRow = v; }
    bool SelectionColumn() const { return FSelectionColumn; }
    void SetSelectionColumn(bool v) { FSelectionColumn = v; }
    bool MoveRow() const { return FMoveRow; }
    void SetMoveRow(bool v) { FMoveRow = v; }
    bool MoveColumn() const { return FMoveColumn; }
    void SetMoveColumn(bool v) { FMoveColumn = v; }

private:
    friend class TProStringGrid;
    TComponent *FOwner;
    TStringGrid *FGrid = nullptr;
    bool FScrollHorizontal = false;
    bool FScrollVertical = false;
    bool FSelectionRow = false;
    bool FSelectionColumn = false;
    bool FMoveRow = false;
    bool FMoveColumn = false;
};

// ---- Delimited and fixed-width text ---------------------------------------------------------------
class TStream;
class TCustomImageList;

enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };
enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };
using TGridProgressEvent = std::function<void(TObject *Sender, int16_t progress)>;
using TCellSaveLoadEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value)>;
// ----------------------------------------------------------------------------------------------------

enum TClipOperation { coCut, coCopy };
using TClipboardBeforePasteEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value, bool &Allow)>;
using TClipboardAfterPasteEvent = std::function<void(TObject *Sender, int ACol, int ARow, const QString &Value)>;

// ---- Construction and lifecycle ---------------------------------------------------------------
enum TGridLook { glStandard, glSoft, glClassic, glDUZ, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TScrollHints { shNone, shHorizontal, shVertical, shBoth };
enum TDragScrollDirectionItem { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TSet<TDragScrollDirectionItem>;
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TScrollHintEvent = std::function<void(TObject *Sender, int Index, QString &Text)>;
using TDragScrollEvent = std::function<void(TObject *Sender, int TopRow, int LeftCol, TDragScrollDirection &Direction,
                                            bool &CanScroll)>;
using TEndColumnSizeEvent = std::function<void(TObject *Sender, int ACol)>;
using TEndRowSizeEvent = std::function<void(TObject *Sender, int ARow)>;
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TDrawingStyle { gdsClassic, gdsThemed, gdsGradient };
class TEditLink;
class TCustomForm;
using TDateTimeChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, TDateTime ADateTime)>;
using TEditChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, const QString &Value)>;
// The row comes first in this event.
using TDatePickerEvent = std::function<void(TObject *Sender, int ARow, int ACol)>;

// The grid unit's shared state: the registered clipboard format and messages, and the grid whose
// focus window follows its current cell while windows move.
extern uint16_t CF_GRIDCELLS;
extern uint16_t WM_GRIDEDITDONE;
extern uint16_t WM_DTPSHIFTFOCUS;
extern bool ComCtrlOk;
class TProStringGrid;
extern TProStringGrid *FocusWindowGrid;
// Runs once however often it is called; FinalizeGridUnit undoes it.
void InitializeGridUnit();
void FinalizeGridUnit();
QChar GridTimeSeparator();
QChar GridDateSeparator();
QChar GridThousandSeparator();
QChar GridDecimalSeparator();
QString GridShortDateFormat();
QString GridShortTimeFormat();
QString GridLongTimeFormat();
void SetWindowExTransparent(HWND Wnd);
// major shl 16 + minor of a module's version; -1 for a file without version information.
int GetDllVersion(const QString &FileName);

// ---- Event hooks, cell graphic queries and visual properties -----------------------------------
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;
enum TSearchAction { saFindFirst, saFindPrevious, saFindNext };
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
    ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages,
    ssCheckBox, ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};
// Several of these pass the row before the column.
using TCanEditCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &CanEdit)>;
using TSearchFooterActionEvent = std::function<void(TObject *Sender, const QString &Value, int ACol, int ARow, TSearchAction SearchAction)>;
using TButtonClickEvent = std::function<void(TObject *Sender, int ACol, int ARow)>;
using TExpandClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool Expanded)>;
using TClickCellEvent = std::function<void(TObject *Sender, int ARow, int ACol)>;
// Sender is the footer strip; the cell is AColumn of the grid's last row.
using TFooterPaintEvent = std::function<void(TObject *Sender, int AColumn, TCanvas *Canvas, TRect ARect)>;
using TCellCursorEvent = std::function<void(TObject *Sender, int ACol, int ARow, int X, int Y, TCursor &ACursor)>;
using TGridHintEvent = std::function<void(TObject *Sender, int ARow, int ACol, QString &hintstr)>;
using TGridWideHintEvent = std::function<void(TObject *Sender, int ARow, int ACol, QString &hintstr)>;
using TGridColorEvent = std::function<void(TObject *Sender, int ARow, int ACol, TGridDrawState AState, TBrush *ABrush, TFont *AFont)>;
using TGridBorderEvent = std::function<void(TObject *Sender, int ARow, int ACol, TPen *APen, TCellBorders &Borders)>;
using TGridAlignEvent = std::function<void(TObject *Sender, int ARow, int ACol, TAlignment &HAlign, TVAlignment &VAlign)>;
using TGridFormatEvent = std::function<void(TObject *Sender, int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix)>;
using TGetEditorTypeEvent = std::function<void(TObject *Sender, int ACol, int ARow, TEditorType &AEditor)>;
using TIsFixedCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &IsFixed)>;
using TIsPasswordCellEvent = std::function<void(TObject *Sender, int ARow, int ACol, bool &IsPassword)>;
using TWordWrapEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &WordWrap)>;
using THasComboEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &HasComboBox)>;
using THasSpinEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &HasSpinEdit)>;
using TGetCheckEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value)>;
using TGetColumnFilterEvent = std::function<void(TObject *Sender, int Column, TStrings *Filter)>;
using TCanAddRowEvent = std::function<void(TObject *Sender, bool &CanAdd)>;
using TCanInsertRowEvent = std::function<void(TObject *Sender, int ARow, bool &CanInsert)>;
using TCheckBoxClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool State)>;
using TRatingChangeEvent = std::function<void(TObject *Sender, int ACol, int ARow, double &NewRate, bool &Allow)>;
using TColorSelectEvent = std::function<void(TObject *Sender, int ACol, int ARow, TColor Color, const QString &Value)>;
using TImageSelectEvent = std::function<void(TObject *Sender, int ACol, int ARow, int Index)>;
using TGridComboEvent = std::function<void(TObject *Sender, int ARow, int ACol)>;
using TCanShowFixedDropDownEvent = std::function<void(TObject *Sender, int ACol, bool &CanShow)>;
using TScrollCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)>;
using TCustomCellDrawEvent = std::function<void(TObject *Sender, TCanvas *Canvas, int ACol, int ARow,
                                                TGridDrawState AState, TRect ARect, bool Printing)>;
using TGridBorderPropEvent = std::function<void(TObject *Sender, int ARow, int ACol, TPen *LeftPen, TPen *TopPen,
                                                TPen *RightPen, TPen *BottomPen)>;
using TGridGradientEvent = std::function<void(TObject *Sender, int ARow, int ACol, TColor &Color, TColor &ColorTo,
                                              TColor &ColorMirror, TColor &ColorMirrorTo, TCellGradientDirection &GD)>;
// ---- Sorting and filtering ---------------------------------------------------------------------
// Res: 1 when str1 sorts after str2, -1 before, 0 equal.
using TCustomCompareEvent = std::function<void(TObject *Sender, const QString &str1, const QString &str2, int &Res)>;
// The handler reads the two rows' cells itself.
using TRawCompareEvent = std::function<void(TObject *Sender, int ACol, int Row1, int Row2, int &Res)>;
using TFilterEvent = std::function<void(TObject *Sender, int ARow, bool &AcceptRow)>;
using TFilterSelectEvent = std::function<void(TObject *Sender, int Column, int ItemIndex, const QString &FriendlyName,
                                              QString &FilterCondition)>;
// ----------------------------------------------------------------------------------------------------

// ---- Search and replace, selection text, grouping and moves ------------------------------------
enum TFindParameters {
    fnMatchCase, fnMatchFull, fnMatchRegular, fnDirectionLeftRight, fnMatchStart, fnFindInCurrentRow,
    fnFindInCurrentCol, fnIncludeFixed, fnAutoGoto, fnIgnoreHTMLTags, fnBackward, fnIncludeHiddenColumns,
    fnFindInPresetCol, fnFindInPresetRow, fnSelectedCells, fnIncludeHiddenRows
};
using TFindParams = TSet<TFindParameters>;
using TSearchEditChangeEvent = std::function<void(TObject *Sender, const QString &Value, bool &DefaultSearch)>;
using TAutoDeleteRowEvent = std::function<void(TObject *Sender, int ARow)>;
using TFixedEditEvent =
    std::function<void(TObject *Sender, int ACol, int ARow, TGridFixedCellEditor &AEditor, TStrings *Values)>;
using TSelectionChangedEvent = std::function<void(TObject *Sender, int ALeft, int ATop, int ARight, int ABottom)>;
// ----------------------------------------------------------------------------------------------------

class TProStringGrid : public TBaseGrid
{
    friend class TFloatingFooter;
    friend class TFooterPanel;

public:
    explicit TProStringGrid(TComponent *AOwner);
    ~TProStringGrid() override;

    // Cell text as users see it: merged cells read and write their base cell.
    QString Cells(int c, int r) { return GetCellEx(c, r); }
    void SetCells(int c, int r, const QString &Value) override { SetCellEx(c, r, Value); }

    // Dimensions
    void SetRowCount(int Value) override;
    void SetColCount(int Value) override;
    int FixedRows() const override;
    void SetFixedRows(int Value) override;
    int FixedCols() const override;
    void SetFixedCols(int Value) override;
    void SetRow(int Value) override;
    void SetCol(int Value) override;
    void SetTopRow(int Value) override;
    void SetDefaultRowHeight(int Value) override;
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool v) { FFixedRowAlways = v; }
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool v) { FFixedColAlways = v; }
    virtual void AppendRow() { SetRowCount(RowCount() + 1); }
    TSyncGrid *SyncGrid() const { return FSyncGrid.get(); }
    // The settings are copied, never taken over.
    void SetSyncGrid(TSyncGrid *Value) { FSyncGrid->Assign(Value); }

    // The rectangle the file writers save.
    bool SaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool v) { FSaveFixedCells = v; }
    bool SaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool v) { FSaveFixedRows = v; }
    bool SaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool v) { FSaveFixedCols = v; }
    bool SaveHiddenCells() const { return FSaveHiddenCells; }
    void SetSaveHiddenCells(bool v) { FSaveHiddenCells = v; }
    int SaveStartCol() const;
    int SaveEndCol() const;
    int SaveColCount() const;
    int SaveStartRow() const;
    int SaveEndRow() const;
    int SaveRowCount() const;
    // The smallest rectangle holding every non-empty cell; (0, 0, 0, 0) when there is none.
    virtual TRect UsedCells();

    // Display and real indices (ProGridHidden.cpp). A hidden column keeps its cells in place;
    // a hidden row leaves the grid into a hidden-row item.
    int RealColIndex(int ACol) const;
    int DisplColIndex(int ACol) const override;
    int RealRowIndex(int ARow) const;
    int DisplRowIndex(int ARow) const;
    int RealCol() const { return RealColIndex(Col()); }
    int RealRow() const { return RealRowIndex(Row()); }
    bool IsHiddenColumn(int ACol) const;
    bool IsHiddenRow(int ARow) const;
    int NumHiddenColumns() const { return FNumHidden; }
    int NumHiddenRows() const { return FGridItems->Count(); }
    int TotalColCount() const override { return ColCount() + FNumHidden; }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int AllColCount() const { return ColCount() + FNumHidden; }
    int AllRowCount() const { return RowCount() + NumHiddenRows(); }

    // Hiding and showing; indices are real ones.
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll() { UnHideColumns(0, ColCount() + NumHiddenColumns()); }
    void HideRow(int ARow) { HideRows(ARow, ARow); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    // One filter level: RowList holds display rows in ascending order.
    void HideRowList(TIntList *RowList);
    void UnHideRow(int ARow);
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    // Restores the rows of the last filter level; the caller lowers FilterLevel afterwards.
    void UnHideRowList();
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int v) { FFilterLevel = v; }
    TGridItems *GridItems() const { return FGridItems.get(); }
    int GetAllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int Value);

    // Selection and row state (ProGridSelection.cpp)
    bool RowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    bool ColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    int RowSelectCount() const;
    int ColSelectCount() const;
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void ClearRowSelect();
    void ClearColSelect();
    void SelectionToRowSelect(bool AllRows);
    void SelectionToColSelect(bool AllCols);
    // The rows of the disjunct row selection in the order they were selected.
    TIntList *SelectedRows() const { return FSelectedRows.get(); }
    bool RowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    bool RowEnabled(int ARow) const;
    void SetRowEnabled(int ARow, bool Value);

    // Selected-cell queries (ProGridSelectedCells.cpp), in the disjunct selections when
    // MouseActions asks for them, else in Selection. SelectedCellsCount lists the rectangle's
    // cells column by column for GetSelectedCell, which unpacks entry Index (EListError beyond).
    int SelectedCellsCount();
    TGridCoord GetSelectedCell(int Index) const;
    bool SelectedCells(int ACol, int ARow) const;
    // Adds or removes the cell in the disjunct cell selection.
    void SetSelectedCells(int ACol, int ARow, bool Value);
    // A merged block at the selection's left (top) edge counts whole.
    int SelectedRowCount() const;
    int SelectedColCount() const;
    // The Index-th selected row; -1 beyond the selection.
    int GetSelectedRow(int Index) const;
    // Back to the first normal cell, the disjunct cell selection emptied.
    void ClearSelectedCells();
    void ClearModifiedRows();
    void SetSelection(const TGridRect &Value) override;
    void HideSelection();
    void UnHideSelection();
    bool SelHidden() const { return FSelHidden; }
    using TCustomGrid::FocusCell;
    void FocusCell(int ACol, int ARow) { SetSelection(GridRect(ACol, ARow, ACol, ARow)); }
    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    void SwapCells(const TGridCoord &FromCell, const TGridCoord &ToCell);
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool v);
    TBitmap *RowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(TBitmap *v);
    // The in-place editor; the plain grid's own until the editing life cycle takes over.
    virtual void ShowInplaceEdit() { ShowEditor(); }
    virtual void HideInplaceEdit() { HideEditor(); }
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void RepaintRect(const TRect &r);

    // Option groups and companions
    TSearchFooter *SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter *v) { FSearchFooter->Assign(v); }
    TNavigation *Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation *v) { FNavigation->Assign(v); }
    TMouseActions *MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions *v) { FMouseActions->Assign(v); }
    TBands *Bands() const { return FBands.get(); }
    void SetBands(TBands *v) { FBands->Assign(v); }
    TFocusHelper *FocusHelper() const { return FFocusHelper.get(); }
    void SetFocusHelper(TFocusHelper *v) { FFocusHelper->Assign(v); }
    TShowModified *ShowModified() const { return FShowModified.get(); }
    void SetShowModified(TShowModified *v) { FShowModified->Assign(v); }
    TControlList *ControlList() const { return FControlList.get(); }
    // Places the controls of cells on their cells; RebuildList first collects them anew.
    void CellControlsUpdate(bool RebuildList);

    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TAutoInsertRowEvent OnRowDisjunctSelected;

    // Clearing
    bool ClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool v) { FClearTextOnly = v; }
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void Clear();
    void ClearAll();
    void ClearNormalCells();
    void ClearRows(int RowIndex, int RCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearSelection();

    // Inserting and removing
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls);
    void AddRow();
    virtual void InsertCols(int ColIndex, int CCount);
    void AddColumn() { InsertCols(ColCount(), 1); }
    virtual void RemoveRows(int RowIndex, int RCount);
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    virtual void RemoveCols(int ColIndex, int CCount);
    void RemoveDuplicates(int ACol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    void HideSelectedRows() { HideRowsBySelection(true); }
    void HideUnSelectedRows() { HideRowsBySelection(false); }

    // Trimming, colouring, merging
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
    void TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
    void TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    void MergeCols(int ColIndex1, int ColIndex2, const QString &Separator);
    bool IsCell(const QString &SubStr, int &ACol, int &ARow) const;
    bool IsWideCell(int ACol, int ARow);

    // Update lock: nothing repaints until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate() { FUpdateCount = 0; }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool v);

    // Cell access by real column and real row
    QString GetCellsEx(int ACol, int ARow);
    void SetCellsEx(int ACol, int ARow, const QString &Value);
    QString GetGridCellsEx(int ACol, int ARow) const;
    void SetGridCellsEx(int ACol, int ARow, const QString &Value);
    TObject *GetObjectsEx(int ACol, int ARow);
    void SetObjectsEx(int ACol, int ARow, TObject *Value);
    TObject *GetGridObjectsEx(int ACol, int ARow) const;
    virtual QString CurrentCell();
    virtual void SetCurrentCell(const QString &Value);
    virtual QString CurrentCellDisplayText();

    // Per-cell background colours
    TColor GetColors(int ACol, int ARow);
    void SetColors(int ACol, int ARow, TColor Value);

    // ---- Per-cell look, cell controls and grid property setters (ProGridCellLook.cpp) ------------
    // A real column and a display row. The getters answer what a cell without properties shows
    // and create nothing, except GetReadOnly and GetWordWraps.
    TColor GetColorsTo(int ACol, int ARow);
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TColor GetFontColors(int ACol, int ARow);
    void SetFontColors(int ACol, int ARow, TColor Value);
    TFontStyles GetFontStyles(int ACol, int ARow);
    void SetFontStyles(int ACol, int ARow, const TFontStyles &Value);
    QString GetFontNames(int ACol, int ARow);
    void SetFontNames(int ACol, int ARow, const QString &Value);
    int GetFontSizes(int ACol, int ARow);
    void SetFontSizes(int ACol, int ARow, int Value);
    TAlignment GetAlignments(int ACol, int ARow);
    void SetAlignments(int ACol, int ARow, TAlignment Value);
    TCellGradientDirection GetGradientDir(int ACol, int ARow);
    void SetGradientDir(int ACol, int ARow, TCellGradientDirection Value);
    bool GetReadOnly(int ACol, int ARow);
    void SetReadOnly(int ACol, int ARow, bool Value);
    bool GetWordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    // Name, size, style and colour of AFont.
    void SetCellFont(int ACol, int ARow, const TFont *AFont);
    // The control shown on the cell, nil when none. Taking a control away (nil) neither hides nor
    // frees it.
    TControl *GetCellControls(int ACol, int ARow);
    void SetCellControls(int ACol, int ARow, TControl *Value);
    int NumCellControls() const { return FNumCellControls; }

    // The look of a display row over every real column from FixedCols on, hidden columns too.
    // clNone takes that one colour away; a cell's properties go only when nothing else is left.
    void SetRowColor(int ARow, TColor Value);
    void SetRowColorTo(int ARow, TColor Value);
    void SetRowFontColor(int ARow, TColor Value);

    // The cursor the grid returns to after its temporary ones.
    void SetCursor(TCursor Value);
    // Steps of one pixel added to every column width and row height; -10 .. 10 steps in all.
    void Zoom(int Delta);

    TColumnSizeEvent OnColumnSize;
    TRowSizeEvent OnRowSize;

protected:
    // The framework's border test, then OnColumnSize and OnRowSize may refuse the sizing.
    void CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs) override;
    // The pointer is on the right border of a fixed column that may be sized.
    bool FSizeFixed = false;

private:
    // Whether the cell's properties hold nothing that a new properties object would not.
    bool CellPropsAreDefault(int ACol, int ARow);
    void FreeCellPropsIfDefault(int ACol, int ARow);
    // ----------------------------------------------------------------------------------------------

public:

    // Changed-cell reports
    virtual void CellsChanged(const TRect &R);
    void RegisterNotifier(TGridChangeNotifier *ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier *ANotifier);

    TCellsChangedEvent OnCellsChanged;
    TRowChangedEvent OnRowUpdate;

    // ---- Typed cell access, headers, highlighting, fills and cell checks (ProGridTyped.cpp) ----
    // Ints and Floats read and write by real column and display row, the All forms by real
    // column and real row (hidden rows included).
    int Ints(int ACol, int ARow);
    void SetInts(int ACol, int ARow, int Value);
    int AllInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    double Floats(int ACol, int ARow);
    void SetFloats(int ACol, int ARow, double Value);
    double AllFloats(int ACol, int ARow);
    void SetAllFloats(int ACol, int ARow, double Value);
    TDateTime Dates(int ACol, int ARow);
    void SetDates(int ACol, int ARow, TDateTime Value);
    TDateTime Times(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, TDateTime Value);
    // The value of the form control ControlID in the cell's mini-HTML; empty when there is none.
    QString ControlValues(int ACol, int ARow, const QString &ControlID);
    void SetControlValues(int ACol, int ARow, const QString &ControlID, const QString &Value);
    // Width and left offset of a column in the last print layout; 0 for a column not laid out.
    int PrintColWidth(int ACol) const;
    int PrintColOffset(int ACol) const;
    virtual int GetVersionNr() const { return 0x01000000; }
    QString Version() const;
    void SetVersion(const QString &) {}

    void ShowColumnHeaders();
    void ClearColumnHeaders();
    void ShowRowHeaders();
    void ClearRowHeaders();

    QString HilightText(bool DoCase, const QString &S, const QString &Text);
    QString UnHilightText(const QString &S);
    QString MarkText(bool DoCase, const QString &S, const QString &Text);
    QString UnMarkText(const QString &S);
    void HilightInCell(bool DoCase, int Col, int Row, const QString &HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int Col, const QString &HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int Row, const QString &HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const QString &HiText);
    void UnHilightInCell(int Col, int Row);
    void UnHilightInCol(bool DoFixed, int Col);
    void UnHilightInRow(bool DoFixed, int Row);
    void UnHilightInGrid(bool DoFixed);
    void MarkInCell(bool DoCase, int Col, int Row, const QString &HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int Col, const QString &HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int Row, const QString &HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const QString &HiText);
    void UnMarkInCell(int Col, int Row);
    void UnMarkInCol(bool DoFixed, int Col);
    void UnMarkInRow(bool DoFixed, int Row);
    void UnMarkInGrid(bool DoFixed);

    void TextFill(bool DoFixed, const QString &Txt);
    // Fmt takes two integers: the column, then the row.
    void FormatFill(bool DoFixed, const QString &Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);

    // The checker is not owned; it is forgotten when it is freed.
    TProStringGridCheck *CellChecker() const { return FCellChecker; }
    void SetCellChecker(TProStringGridCheck *Value);
    // True when every cell came through the checker unchanged (or no checker is set).
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCell(int Col, int Row);
    bool CheckCol(bool DoFixed, int Col);
    bool CheckRow(bool DoFixed, int Row);
    bool CheckGrid(bool DoFixed);

    // ---- Column and row calculations, footer calculation (ProGridCalc.cpp) ----------------------
    // FromRow or ToRow -1: the rows between the fixed rows and the footer rows.
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    double GroupCustomCalc(int ACol, int FromRow, int ToRow);
    double RowSum(int ARow, int FromCol, int ToCol);
    double RowAvg(int ARow, int FromCol, int ToCol);
    double RowMin(int ARow, int FromCol, int ToCol);
    double RowMax(int ARow, int FromCol, int ToCol);
    // -1: every column.
    virtual void CalcFooter(int ACol) { CalcFooterColumns(ACol); }
    virtual void UpdateColumnFooter(int ACol) { CalcFooter(ACol); }
    virtual void RecalcFooter() { CalcFooter(-1); }
    // The floating footer holds the grid's last row.
    bool FooterRowShown() const;

    // The displayed text: a number may take the format OnGetFloatFormat gives it.
    virtual QString GetFormattedCell(int ACol, int ARow);

    TGroupCalcEvent OnColumnCalc;
    TGroupCalcEvent OnGroupCalc;
    TCalcFooterEvent OnFooterCalc;
    TFloatFormatEvent OnGetFloatFormat;

    // ---- Settings, notifiers and the selection listener (ProGridTyped.cpp) ----------------------
    void RegisterSelListener(ITProStringGridSelect *AListener) { FISelect = AListener; }
    void UnRegisterSelListener(ITProStringGridSelect *) { FISelect = nullptr; }
    ITProStringGridSelect *SelListener() const { return FISelect; }
    bool IsIgnoredColumn(int ACol) const;
    // Editing must be on (or forced) and the cell editable and not fixed.
    bool IsEditable(int ACol, int ARow);
    bool IsCellEditable(int ACol, int ARow);
    bool IsPassword(int ACol, int ARow);
    // Passes the text to the plain grid's edit handling, then stores it in the cell.
    virtual void WriteEditorValue(int ACol, int ARow, const QString &Value);
    virtual void AfterF2Key() {}
    virtual void BeforeSelectAll(TGridRect &Rect) {}
    virtual void UpdateColumnSize(int ACol, int &AWidth);
    virtual void UpdateAutoColumnSize(int ACol, int &AWidth);
    TUpdateColumnSizeEvent OnUpdateColumnSize;

protected:
    virtual void ColumnHeadersChanged() {}
    virtual void CalcFooterColumns(int ACol);
    void LastRowWritten() override;
    // The print layout: width and left edge of columns 0 .. 512, in 0.1 mm.
    std::array<int, 513> MaxWidths{};
    std::array<int, 513> Indents{};

private:
    // Rewrites the base cells of a rectangle through Fn, reading each through the display hook
    // when one is set.
    void TransformCells(int Col1, int Row1, int Col2, int Row2, const std::function<QString(const QString &)> &Fn);
    void FillCells(bool DoFixed, const std::function<void(int, int)> &Fn);
    void NormalRange(bool DoFixed, int &Col1, int &Row1, int &Col2, int &Row2) const;
    double ParseFloatText(const QString &Text) const;
    // Resolves -1 bounds; true when the rows count as real rows (hidden ones included).
    bool CalcRows(int &FromRow, int &ToRow) const;
    // The value of a row in the walk; false when it does not take part or holds no number.
    bool CalcRowValue(int ACol, int r, bool RealRows, bool RowTest, double &Value);
    double ColumnExtreme(int ACol, int FromRow, int ToRow, bool Max);
    double RowExtreme(int ARow, int FromCol, int ToCol, bool Max);

    TProStringGridCheck *FCellChecker = nullptr;
    ITProStringGridSelect *FISelect = nullptr;
    bool FCalcRealRows = false;
    bool FRowsShifted = false;
    bool FWordWrapEx = true;
    // ----------------------------------------------------------------------------------------------

protected:
    void InsertRowBlock(int RowIndex, int RCount, bool UpdateCellControls);
    void DeleteRowBlock(int RowIndex, int RCount, bool UpdateCellControls);
    virtual void FreeAndDeleteRows(int RowIndex, int RCount);
    void Notification(TComponent *AComponent, TOperation Operation) override;
    // The in-place editor edits the base cell of a merged block.
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString &Value) override;

    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    int FNumHidden = 0;
    bool FNilObjects = false;
    bool FBlockCellChange = false;

    bool FSelHidden = false;
    int FNumCellControls = 0;

private:
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    void HideRowsBySelection(bool Selected);
    // The row-selection flag of display row r: read at its real row with persistent selection.
    int RowSelectFlagIndex(int r) const;
    // The strings of a hidden row, or nil.
    TStringList *GetHiddenRowStrings(int ARow) const;
    // A copy of display row ARow (texts with their objects) covering the hidden columns too.
    TStringList *CopyRowStrings(int ARow) const;
    // Writes a hidden row's strings into display row ARow; entries beyond the list empty the cell.
    void RestoreRowStrings(int ARow, const TStringList *Strings);
    // Frees the properties of a hidden row's cells.
    void FreeItemProps(TGridItem *Item);
    bool ColVisible(int c) const { return c < 0 || size_t(c) >= FVisibleCol.size() || FVisibleCol[size_t(c)]; }
    void SetColVisible(int c, bool v);
    int AllColWidthEntry(int c) const;
    void SetAllColWidthEntry(int c, int w);
    void InsertRowSelectFlags(int RowIndex, int RCount);
    void DeleteRowState(int RowIndex, int RCount, bool RowFlags);
    void RebuildSelectedRows();
    // Hidden rows whose real index lies above Above move up by RCount.
    void ShiftHiddenRowsUp(int Above, int RCount);
    // Row operations carry the cells of hidden columns with their row.
    void WidenColCount();
    void NarrowColCount();
    // Copies text and object slot of every column of row Src into row Dst.
    void CopyGridRow(int Dst, int Src);
    void CopyGridCol(int Dst, int Src);
    // Frees the properties of a row kept in the store beyond the counts and empties it.
    void DiscardStoreRow(int ARow);
    void RestoreCurrentRow(int OldRow, int OldTopRow);
    // Clamps a block of rows to the grid; false when nothing is left to remove.
    bool ClampRowBlock(int RowIndex, int &RCount) const;
    void ShiftRowsUp(int RowIndex, int RCount, bool Heights);
    void MoveFooterRow(int From, int To);
    void SetRowCountShifted(int Value);

    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int FFixedRowsMin = 1;
    int FFixedColsMin = 1;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    int FFixedRowHeight = 22;
    int FOldRowSel = -1;
    bool FSaveFixedCells = true;
    bool FSaveFixedRows = false;
    bool FSaveFixedCols = false;
    bool FSaveHiddenCells = false;
    bool FClearTextOnly = false;
    int FUpdateCount = 0;
    // Column flags and the widths of hidden columns grow with the grid; columns beyond them are
    // shown.
    std::vector<bool> FVisibleCol;
    std::vector<int16_t> FAllColWidths;
    std::unique_ptr<TGridItems> FGridItems;
    int FFilterLevel = 0;
    int FNumNodes = 0;
    std::vector<uint8_t> FRowSelect;
    std::vector<uint8_t> FColSelect;
    std::unique_ptr<TIntList> FSelectedRows;
    std::unique_ptr<TIntList> FModifiedRows;
    std::unique_ptr<TIntList> FEnabledRows;
    bool FUseEnabledRows = false;
    TGridRect FOldSelection;
    bool FActiveCellShow = false;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TControlList> FControlList;
    std::vector<TGridChangeNotifier *> FNotifierList;
    std::unique_ptr<TSyncGrid> FSyncGrid;

    // ---- Cell text painting (ProGridPaint.cpp) ---------------------------------------------------
public:
    // Alignment of cells that do not ask for their own.
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment v);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    // Margins of the cell text: X left and right, Y at the top.
    TPoint XYOffset() const { return FXYOffset; }
    void SetXYOffset(const TPoint &v);
    // The grid's alignments, the horizontal one replaced by the cell's own when it has properties.
    void GetCellAlignment(int ACol, int ARow, TAlignment &HA, TVAlignment &VA);

protected:
    void DrawCellText(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;

private:
    TAlignment FDefaultAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    // The text-drawing flag of FVAlignment.
    uint32_t FVAlign = 0;
    TPoint FXYOffset{2, 2};

    // ---- Cell drawing and text painting (ProGridPaintText.cpp) ------------------------------------
public:
    TARVIX_PLAIN_FIELD(bool, NoImageAndText, false)
    TARVIX_PLAIN_FIELD(bool, EnhTextSize, false)
    TARVIX_PLAIN_FIELD(bool, XYOffsetTopLeftOnly, false)
    TARVIX_PLAIN_FIELD(bool, URLUnderlineOnHover, false)
    TARVIX_PLAIN_FIELD(bool, SelectionRTFKeep, false)
    // True: rich-text cells go into files as their RTF without line breaks.
    TARVIX_PLAIN_FIELD(bool, SaveWithRTF, false)
    TARVIX_PLAIN_FIELD(bool, Ctl3D, true)
    TARVIX_PLAIN_FIELD(TBiDiMode, BiDiMode, bdLeftToRight)
    // Pictures that mini-HTML cells name; not owned.
    TARVIX_PLAIN_FIELD(TPictureContainer *, PictureContainer, nullptr)
public:
    bool MultilineCells() const { return FMultilinecells; }
    void SetMultilineCells(bool v) { ChangeAndInvalidate(FMultilinecells, v); }
    // The fixed row that shows the filter buttons; only rows above the normal ones are taken.
    int FilterDropDownRow() const { return FFilterRow; }
    void SetFilterDropDownRow(int v);
    // Whether the fixed cell reacts to the mouse with its hover look.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    // The sort arrow (or sort index mark) of a header cell centred at (X, Y).
    void DrawSortIndicator(TCanvas *ACanvas, int ACol, int Y, int X);
    // Renders a rich-text cell into a rectangle of any canvas.
    void DrawRichCellText(int ACol, int ARow, const TRect &ARect, TCanvas *ACanvas);

    TCustomCellDrawEvent OnCustomCellDraw;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TGridBorderPropEvent OnGetCellBorderProp;

protected:
    // What one DrawCellText call works with, shared with the text painter.
    struct TCellPaint
    {
        TCanvas *Canvas = nullptr;
        TRect R;
        int ACol = 0, RCol = 0, ARow = 0, RRow = 0;
        TGridDrawState AState;
        TAlignment HA = taLeftJustify;
        TVAlignment VA = vtaTop;
        bool WW = false;
        bool Fixed = false;
        bool FilterButton = false;
        int ScrollOffset = 0;
        TCellGraphic *Graphic = nullptr;
        TCellHAlign GraphicHAlign = haLeft;
        TCellVAlign GraphicVAlign = vaTop;
        bool WithText = true;
        int GW = 0, GH = 0;
        // The brush and font colours the cell has when it is not selected.
        TColor PlainBrush = clNone, PlainFont = clNone;
    };
    // Paints the cell's text and what sits on or behind it; returns the text width + 2 for the
    // graphic painter (0 when none was measured).
    int DrawCellContentText(TCellPaint &P);
    // The cell's border lines from the border hooks, on B.
    void DrawCellBorders(TCanvas *ACanvas, int RCol, int ARow, TRect B);
    bool IsSortedHeaderCell(int ACol, int RCol, int ARow) const;
    // R.Left becomes the row's node indent.
    void DrawTreeLines(TCanvas *ACanvas, int ARow, TRect &R);
    void DrawBackGroundPicture(TCanvas *C, const TCellPaint &P, const TRect &D);
    void DrawSelectionRectangle(TCanvas *C, const TCellPaint &P, const TRect &T);
    // An interfaced cell that asks to be drawn before its text.
    bool InterfaceDrawsUnderText(TCellGraphic *Graphic);

    // Mouse state the fixed-cell looks follow.
    int FHoverFixedX = -1, FHoverFixedY = -1;
    bool FMouseDownMove = false;
    int FMovecell = -1;
    bool FDropDownDown = false;
    // The cell under the mouse and the number of its hovered link.
    int FHoverHTMLCol = -1, FHoverHTMLRow = -1, FHoverHTMLLink = -1;
    bool FGridBlink = false;
    bool FCtrlDown = false;

private:
    int FFilterRow = 0;

    // ---- Delimited and fixed-width text (ProGridCSV.cpp) -----------------------------------------
public:
    // #0: a delimiter is detected on each load and "," is written.
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar v) { FDelimiter = v; }
    bool JavaCSV() const { return FJavaCSV; }
    void SetJavaCSV(bool v) { FJavaCSV = v; }
    bool AlwaysQuotes() const { return FAlwaysQuotes; }
    void SetAlwaysQuotes(bool v) { FAlwaysQuotes = v; }
    bool QuoteEmptyCells() const { return FQuoteEmptyCells; }
    void SetQuoteEmptyCells(bool v) { FQuoteEmptyCells = v; }
    bool LoadFirstRow() const { return FLoadFirstRow; }
    void SetLoadFirstRow(bool v) { FLoadFirstRow = v; }
    bool SaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool v) { FSaveVirtCells = v; }
    // False: mini-HTML cells go into files as plain text.
    bool SaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool v) { FSaveWithHTML = v; }
    bool OemConvert() const { return FOemConvert; }
    void SetOemConvert(bool v) { FOemConvert = v; }
    bool Multilinecells() const { return FMultilinecells; }
    void SetMultilinecells(bool v) { FMultilinecells = v; }

    // MaxRows <= 0 reads every line.
    void LoadFromCSV(const QString &FileName, int MaxRows);
    void InsertFromCSV(const QString &FileName, int MaxRows);
    void LoadFromCSVStream(TStream *AStream, int MaxRows);
    void SaveToCSV(const QString &FileName, bool Unicode);
    void AppendToCSV(const QString &FileName, bool Unicode);
    // positions: the width of each saved column; widths of columns beyond the list are appended.
    void SaveToFixed(const QString &FileName, std::vector<int32_t> &positions);
    // positions: 1-based start characters (sorted here); n positions give n - 1 columns.
    void LoadFromFixed(const QString &FileName, std::vector<int32_t> &positions, bool DoTrim, int MaxRows);

    // The grid's own cell file: a header with the counts, column widths, one line per non-empty
    // cell (ProGridFile.cpp). The file form uses absolute indexes, the stream form indexes
    // relative to the save range and UTF-16 without a byte-order mark.
    void SaveToFile(const QString &FileName, bool Unicode);
    void LoadFromFile(const QString &FileName);
    void SaveToStream(TStream *Stream);
    // Reads from the current position and stops before the first line that is not grid data.
    void LoadFromStream(TStream *Stream);
    // A table of padded columns for people to read.
    void SaveToASCII(const QString &FileName, bool Unicode);
    void AppendToASCII(const QString &FileName, bool Unicode);
    // The cell read as a number; an empty cell gives 0.
    double CellToReal(int ACol, int ARow);

    // The binary cell stream (ProGridBin.cpp): texts, cell properties and graphics of a
    // rectangle (left, top, right, bottom cell indexes, inclusive).
    void SaveRectToBinStream(const TRect &Rect, TStream *Stream);
    void SaveToBinStream(TStream *Stream);
    // The stream's first cell lands at Point (column, row).
    void LoadAtPointFromBinStream(const TPoint &Point, TStream *Stream);
    // Counts the node rows again afterwards.
    void LoadFromBinStream(TStream *Stream);
    // Normal rows whose column 0 holds a node.
    int NumNodes() const { return FNumNodes; }
    void SaveToBinFile(const QString &FileName);
    void LoadFromBinFile(const QString &FileName);

    // A cell's text (real column) on its way into a file, and a file's text on its way into a cell.
    virtual void SaveCell(int ACol, int ARow, QString &Value);
    virtual void LoadCell(int ACol, int ARow, const QString &Value);

    TGridProgressEvent OnFileProgress;
    TCellSaveLoadEvent OnSaveCell;
    TCellSaveLoadEvent OnLoadCell;

protected:
    virtual void ExportNotification(TGridExportState AState, int ARow) {}
    virtual void ImportNotification(TGridImportState AState, int ARow) {}
    void ReadCSV(TStream *Stream, bool Insert, int MaxRows);
    void ReadCSVFile(const QString &FileName, bool Insert, int MaxRows);
    void WriteCSV(const QString &FileName, bool Append, bool Unicode);
    void WriteASCII(const QString &FileName, bool Append, bool Unicode);

private:
    QChar FDelimiter = QChar(0);
    bool FJavaCSV = false;
    bool FAlwaysQuotes = false;
    bool FQuoteEmptyCells = true;
    bool FLoadFirstRow = true;
    bool FSaveVirtCells = true;
    bool FSaveWithHTML = true;
    bool FOemConvert = false;
    bool FMultilinecells = false;

    // ---- Clipboard (ProGridClipboard.cpp) ---------------------------------------------------------
public:
    // Rows of tab-separated cells; a cell holding line breaks goes as one quoted field.
    void CopyToClipBoard();
    void CopySelectionToClipboard();
    void CutToClipboard();
    void CutSelectionToClipboard();
    // Pastes at the save range's top-left.
    void PasteFromClipboard();
    // Pastes at the selection; a smart paste fills a larger selection with repeats or series.
    void PasteSelectionFromClipboard();
    // Cols and Rows: the pasted extent; the result counts the pasted fields.
    int PasteAt(int ACol, int ARow, int &Cols, int &Rows);
    int PasteTextAt(int ACol, int ARow, int &Lines, int &Fields, const QString &Text);
    // Size.X: the most fields of a line; Size.Y: the non-empty lines less one.
    static void CountClipboardCells(const QString &Text, TPoint &Size);
    void ExpandSelectionToMergedCells();
    virtual void PasteCell(int ACol, int ARow, const QString &Value);
    virtual void CellsPasted(const TPoint &FromCell, const TRect &ToRect, TClipOperation Operation);
    virtual void BeforePaste() {}
    virtual void AfterPaste() {}
    virtual bool AllowGridClipboardFormat() { return FNavigation->AllowFmtClipboard(); }
    virtual void EditFormulaChanged(bool IsFormula) {}
    TPoint ClipTopLeft() const { return FClipTopLeft; }
    TClipOperation ClipLastOp() const { return FClipLastOp; }

    TClipboardBeforePasteEvent OnClipboardBeforePasteCell;
    TClipboardAfterPasteEvent OnClipboardAfterPasteCell;
    TClipboardBeforePasteEvent OnClipboardBeforePasteWideCell;
    TClipboardAfterPasteEvent OnClipboardAfterPasteWideCell;

protected:
    void CopyRectToClipboard(const TRect &Rect, bool Disjunct);
    // The text of a rectangle as the clipboard gets it.
    QString ClipboardText(const TRect &Rect, bool Disjunct);

private:
    // The grid's own format: false, with the grid unchanged, for a block it cannot read.
    bool PasteGridFormat(const QByteArray &Block, int ACol, int ARow, int &Cols, int &Rows, int &Result);
    bool SelectionDisjunctRows();
    bool SelectionDisjunctCols();
    void SmartSeries(const TGridRect &Sel, int P);
    void EmptyCutCell(int ACol, int ARow, bool WithProps);

    TPoint FClipTopLeft{-1, -1};
    TClipOperation FClipLastOp = coCopy;
    bool FPasteAll = false;

    // ---- Cell graphics, check boxes and settings groups (ProGridGraphic.cpp) -----------------------
public:
    // The cell's graphic when it is a TCellGraphic, else nil.
    virtual TCellGraphic *GetCellGraphic(int ACol, int ARow);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState &State);

    // ---- Check boxes and radio buttons (ProGridCheckBox.cpp) ----
    // Adding takes a real column and row. A data check box keeps its state in the cell text.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    // Node rows get tri-state boxes and summary rows none.
    void AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox);
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    void AddRadioButton(int ACol, int ARow, bool State);
    void RemoveRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);
    // The option list stays the caller's and must outlive the cell's group.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings *sl);
    // The returned list belongs to the cell; the caller fills it.
    TStrings *CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    void RemoveRadio(int ACol, int ARow);
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    // Cells whose control takes the click, so that no in-place editor opens on them.
    bool HasCellControl(int ACol, int ARow);
    // The cell text is data for the graphic rather than a caption.
    bool HasDataBoundGraphic(int ACol, int ARow);
    bool IsRadioButtonChecked(int ACol, int ARow);
    int GetRadioButtonColumnIndex(int ACol);
    bool GetRadioIdx(int ACol, int ARow, int &IdxRadio);
    TStrings *GetRadioStrings(int ACol, int ARow);
    // X and Y in client coordinates.
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
    // The Boolean form reports a tri-state box as checked only when it is cbChecked.
    bool GetCheckBoxState(int ACol, int ARow, bool &State);
    bool IsChecked(int ACol, int ARow);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    bool ToggleCheckBox(int ACol, int ARow) { return DoToggleCheckBox(ACol, ARow, false); }
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    void RadioSelectNext(int ACol, int ARow, bool CheckEditable);
    // Removes, bottom up, every normal row whose box is (RemoveChecked) or is not checked.
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);

    virtual bool DoToggleCheckBox(int ACol, int ARow, bool CheckEditable);
    virtual bool DoClickRadioButton(int ACol, int ARow, bool CheckEditable);

protected:
    // ARow is a display row; fires CheckBoxChange when the state changes.
    bool UpdateCheckBoxState(int ACol, int ARow, bool State);

private:
    // The graphic of a real row's cell, hidden rows included; the displayed cell at that index
    // when the real one has no properties. Text gets the cell text read the same way.
    TCellGraphic *RealRowGraphic(int ACol, int ARow, QString *Text, bool &Real);
    // A new graphic for a control cell: its properties are made when it has none.
    TCellGraphic *NewControlGraphic(int ACol, int ARow);
    TCellVAlign ControlVAlign() const;
    bool ControlEditable(int ACol, int ARow);
    int CheckColumnFirstRow() const { return FMouseActions->CheckAllCheck() ? 0 : FixedRows(); }
public:
    const QString &CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const QString &v) { FCheckTrue = v; }
    const QString &CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const QString &v) { FCheckFalse = v; }
    // The text that marks a data check box cell as checked (the GetCheckTrue hook's answer).
    QString GetCheckTrue(int ACol, int ARow)
    {
        QString v;
        GetCheckTrue(ACol, ARow, v);
        return v;
    }

    TCellNode *CellNode() const { return FCellNode.get(); }
    void SetCellNode(TCellNode *v) { FCellNode->Assign(v); }
    TSizeWhileTyping *SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    // Pictures loaded for the mini-HTML text of cells.
    THTMLPictureCache *ImageCache() const { return FImageCache.get(); }
    TColumnSize *ColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(TColumnSize *v) { FColumnSize->Assign(v); }
    THTMLSettings *HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(THTMLSettings *v) { FHTMLSettings->Assign(v); }
    TPrintSettings *PrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(TPrintSettings *v) { FPrintSettings->Assign(v); }

protected:
    // Frees the cell's graphic, if any, and gives it a new, empty one.
    TCellGraphic *CreateCellGraphic(int ACol, int ARow);

private:
    // The check box answer of one graphic; false when it holds no box.
    bool GraphicCheckState(TCellGraphic *G, int ACol, int ARow, const QString &Text, bool RowBoxFromFlag,
                           TCheckBoxState &State);

    QString FCheckTrue = QStringLiteral("Y");
    QString FCheckFalse = QStringLiteral("N");
    std::unique_ptr<TCellNode> FCellNode = std::make_unique<TCellNode>(this);
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    std::unique_ptr<THTMLPictureCache> FImageCache = std::make_unique<THTMLPictureCache>();
    std::unique_ptr<TColumnSize> FColumnSize = std::make_unique<TColumnSize>(this);
    std::unique_ptr<THTMLSettings> FHTMLSettings = std::make_unique<THTMLSettings>();
    std::unique_ptr<TPrintSettings> FPrintSettings = std::make_unique<TPrintSettings>(this);
    // ----------------------------------------------------------------------------------------------

    // ---- Cell graphic painting and glyphs (ProGridPaintGraphic.cpp) -------------------------------
public:
    // ACol real. No graphic: nil, sizes 0, alignments 0 and WithText true.
    TCellGraphic *GetCellGraphicLayout(int ACol, int ARow, TCellVAlign &VAlign, TCellHAlign &HAlign,
                                       bool &WithText, int &Height, int &Width);
    // Paints the graphic inside the cell drawing routine: R the cell rectangle as that routine has
    // it, ACol display, RCol real, HA and VA the text's alignment, TW the drawn text width (0: none).
    void DrawCellGraphic(TCanvas *ACanvas, TRect R, int ACol, int RCol, int ARow, TGridDrawState AState,
                         TCellGraphic *Graphic, TAlignment HA, TVAlignment VA, int TW);
    // Start and length of the cell's error marker; 0 and 0 without a graphic.
    void GetMarker(int ACol, int ARow, int &ErrPos, int &ErrLen);
    // 0 for a node row, 1 where the tree line ends, 2 where it runs on into the next row.
    int GetNodeSpanType(int ARow);
    // Draws on the grid's canvas; State decides a tri-state box.
    void DrawCheckBox(TRect R, bool Checked, TCheckBoxState State, bool TriState, TCellControlStyle Style,
                      bool Grayed, bool Enabled);
    // Zoom is 1 on screen; UpwardRows when the device's vertical axis points up.
    void DrawRadioGroup(TCanvas *ACanvas, TRect R, bool UpwardRows, double Zoom, TCellControlStyle Style, int ARow,
                        int ACol, bool SelectedCell, TStrings *Items, bool Disabled, bool Horizontal, int ItemIndex,
                        int Count);
    // Moves R's top-left corner to the origin of Text drawn at Angle degrees (measured in the
    // grid's font) inside R shrunk by 2.
    void RotatedTextRect(TRect &R, int Angle, TVAlignment VA, TAlignment HA, const QString &Text);
    // A, B, C, D: |H cos a|, |W sin a|, |H sin a|, |W cos a| of the text's width W and height H.
    static void PlaceRotatedText(TRect &R, TAlignment HA, TVAlignment VA, int A, int B, int C, int D, int Angle);
    // Colours of buttons drawn in the tones look.
    const TColorTones &Tones() const { return FTones; }
    void SetTones(const TColorTones &v)
    {
        FTones = v;
        Invalidate();
    }
    // The cell whose in-cell button the mouse is over; (-1, -1) for none.
    TPoint HotButtonCell() const { return FHotButtonCell; }
    void SetHotButtonCell(const TPoint &v) { FHotButtonCell = v; }

private:
    void GraphicLayout(TCellGraphic *G, int ACol, int ARow, bool &WithText, int &Height, int &Width);
    // The canvas glyphs go to: the one being painted, else the grid's own.
    TCanvas *GlyphCanvas();
    // The cell's number (Integer: whole number); 0 for a text that holds none.
    double CellPaintValue(int RCol, int ARow, bool Integer);
    // csTheme may draw through the theme service.
    bool ThemedControls() const;
    // Shown as selected: the selection colour fills behind transparent graphics.
    bool ShownSelected(int ACol, int ARow, TGridDrawState AState);
    void DrawNodeGlyph(TCanvas *ACanvas, TRect R, int ACol, int ARow, TGridDrawState AState, TCellGraphic *G);
    void DrawCellButton(TCanvas *ACanvas, const TRect &Cell, TRect D, int ACol, int RCol, int ARow, TCellGraphic *G);
    // Cell: the cell rectangle; R: as shrunk by the cell offsets.
    void DrawRotatedCell(TCanvas *ACanvas, const TRect &Cell, const TRect &R, int ACol, int RCol, int ARow,
                         TCellGraphic *G, TAlignment HA, TVAlignment VA);
    void DrawProgressCell(TCanvas *ACanvas, TRect R, int RCol, int ARow, TCellGraphic *G);

    TColorTones FTones;
    TPoint FHotButtonCell{-1, -1};
    TCanvas *FGlyphCanvas = nullptr;
    // ----------------------------------------------------------------------------------------------

    // ---- Event hooks (ProGridHooks.cpp) -------------------------------------------------------------
public:
    // The cell's font; cell properties fill a font shared by every call, so copy what you keep.
    TFont *GetCellFont(int i, int j);
    // The selection colour mixed into ABase by APercent.
    TColor MixColors(TColor AColor, TColor ABase, int APercent);

    TCanEditCellEvent OnCanEditCell;
    TSearchFooterActionEvent OnSearchFooterAction;
    TButtonClickEvent OnButtonClick;
    TExpandClickEvent OnExpandClick;
    TGridComboEvent OnComboCloseUp;
    TGridComboEvent OnComboDropDown;
    TCellCursorEvent OnGetCellCursor;
    TGridHintEvent OnGridHint;
    TGridWideHintEvent OnGridWideHint;
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TWordWrapEvent OnGetWordWrap;
    THasComboEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TGetColumnFilterEvent OnGetColumnFilter;
    TCanAddRowEvent OnCanAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TCheckBoxClickEvent OnCheckBoxChange;
    TRatingChangeEvent OnRatingChange;

    bool FilterDropDownAuto() const { return FFilterDropDownAuto; }
    void SetFilterDropDownAuto(bool v);

protected:
    virtual void CanEditCell(int ACol, int ARow, bool &CanEdit);
    virtual void SearchFooterAction(const QString &Value, int ACol, int ARow, TSearchAction SearchAction);
    virtual void ButtonClick(int ACol, int ARow);
    virtual void ExpandClick(int ACol, int ARow, bool Expanded);
    virtual void ComboCloseUp(int ARow, int ACol);
    virtual void ComboDropDown(int ARow, int ACol);
    virtual void GetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void GridHint(int ACol, int ARow, QString &HintStr, QString &WideHintStr);
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont);
    virtual void GetCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders);
    virtual void QueryAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign);
    virtual void GetFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix);
    virtual void GetEditorType(int ACol, int ARow, TEditorType &AEditor);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType &AEditor);
    virtual bool HasNoEditor(int ACol, int ARow);
    virtual void IsFixedCell(int ACol, int ARow, bool &IsFixed);
    // The caller sets CanEdit to True first.
    virtual void GetCellCanEdit(int ACol, int ARow, bool &CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool &IsPassword);
    virtual void QueryWordWrap(int ACol, int ARow, bool &WordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual void GetCheckTrue(int ACol, int ARow, QString &Value);
    virtual void GetCheckFalse(int ACol, int ARow, QString &Value);
    // Fills FilterList with the values offered for the column; true when it holds any.
    virtual bool GetColumnFilter(int Column);
    virtual void CanAddRow(bool &CanAdd);
    virtual void CanInsertRow(int ARow, bool &CanInsert);
    virtual void CheckBoxChange(int ACol, int ARow, bool State);
    virtual bool RatingChange(int ACol, int ARow, double &NewRate);
    void GetDefaultProps(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor,
                         TColor &AMirrorColorTo, TAlignment &HA, TVAlignment &VA, bool &WW,
                         TCellGradientDirection &GD) override;
    // The base cell of a merged block decides; footer rows and right fixed columns are fixed.
    bool IsFixed(int ACol, int ARow) override;

    // Copies Src into Dst unless they already agree, so that an equal font is not rebuilt.
    static void AssignFontIfDifferent(TFont *Dst, const TFont *Src);
    // The cell's font values that are set (not empty) go into AFont.
    static void ApplyCellFont(const TCellProperties *Props, TFont *AFont);

    // Set while the grid refuses in-place edits.
    bool FEditDisable = false;
    // A mouse button is held down in the grid.
    bool FMouseDown = false;

private:
    bool FFilterDropDownAuto = false;

    // ---- Tree rows (ProGridNodes.cpp) ----------------------------------------------------------------
public:
    // A node row owns Span rows counting itself (0 or less: up to the next node row); every row of
    // the span goes one level deeper. AddNode, RemoveNode, ExpandNode, ContractNode,
    // InsertNormalRow, InsertChildRow, RemoveChildRow and MarkSummaryRow take a real row; the
    // queries and the span and state setters take a display row.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow);
    void RemoveAllNodes();
    // True for a contracted node.
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    // -1 for a row that is no node.
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    // The group header rows inserted below the node; 0 for a row that is no node.
    int GetSubNodeCount(int ARow);
    void UpdateSubNodeCount(int ARow, int Delta);
    // With CellNode.ExpandOne every other expanded node is contracted first.
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    void ContractAll();
    // The node a display row belongs to: a top-level node row answers itself, a row outside every
    // node -1.
    int GetParentRow(int ARow);
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    // A row InsertAt rows below ARow inside ARow's node; InsertAt 0 on a node row moves the node
    // row's contents into the new row and leaves the node row as an empty header.
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    void MarkSummaryRow(int ARow);
    // Whether X (client coordinates) falls on the node glyph of display row ARow; always true
    // without MouseActions.PreciseNodeClick.
    bool IsInNodeGlyph(int ARow, int X);

protected:
    // Set while a node contracts.
    bool FForceSel = false;

private:
    // The node graphic of a real row, shown or hidden; nil when the row is no node.
    TCellGraphic *NodeGraphicAt(int ARealRow);
    // Column 0's properties of a real row, shown or hidden; created on demand when Create.
    TCellProperties *NodeRowProps(int ARealRow, bool Create);
    // One past the last real row of the node on real row ARealRow.
    int NodeEndRow(int ARealRow);
    // Adds Delta to the level of each real row of the block.
    void ShiftNodeLevels(int ARealRow, int Count, int Delta);
    // Shows the rows from FromRow to ToRow (real) that contracting hid; rows a filter hid stay.
    void ShowNodeRows(int FromRow, int ToRow);
    // Expands one node without the ExpandOne rule.
    void ExpandOneNode(int ARow, bool Footers);
    void RemoveNodeAt(int ARealRow);

    // ---- Cell graphic queries, display text and visual properties (ProGridVisual.cpp) -------------
public:
    virtual TCellType GetCellType(int ACol, int ARow);
    // The image indices of a ctImages cell; nil for any other cell.
    TIntList *GetCellImages(int ACol, int ARow);
    // The room a cell's graphic needs, for sizing columns and rows.
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    // Expanded: the expanded height of the cell's expand button, else its collapsed height.
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    void GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select, bool Remap,
                             TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor, TColor &AMirrorColorTo,
                             TFont *AFont, TAlignment &HA, TVAlignment &VA, bool &WW,
                             TCellGradientDirection &GD) override;
    // The font (and colour hook) of a cell for text measuring: ACol the display, RCol the real column.
    void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState &AState, TFont *AFont, TBrush *ABrush,
                           bool Remap);
    bool IsSelected(int ACol, int ARow);

    TCustomImageList *GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList *v);

    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor v) { ChangeAndInvalidate(FSelectionColor, v); }
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor v) { ChangeAndInvalidate(FSelectionColorTo, v); }
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor v) { ChangeAndInvalidate(FSelectionMirrorColor, v); }
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor v) { ChangeAndInvalidate(FSelectionMirrorColorTo, v); }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor v) { ChangeAndInvalidate(FSelectionTextColor, v); }
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool v) { ChangeAndInvalidate(FSelectionColorMixer, v); }
    // Percent, held within 0 .. 100.
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    void SetSelectionColorMixerFactor(int v) { ChangeAndInvalidate(FSelectionColorMixerFactor, std::clamp(v, 0, 100)); }
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool v) { ChangeAndInvalidate(FSelectionRectangle, v); }
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool v) { ChangeAndInvalidate(FSelectionResizer, v); }
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int v);
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool v);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool v) { ChangeAndInvalidate(FURLShow, v); }
    bool URLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool v) { ChangeAndInvalidate(FURLShowInText, v); }
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool v);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v);

    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;
    TNotifyEvent FOnStartBlockFocus;
    TNotifyEvent FOnEndBlockFocus;
    TGridGradientEvent OnGetCellGradient;

protected:
    virtual TPoint GetCellGraphicExportSize(int ACol, int ARow, int AWidth, int AHeight, double Scale);
    // Detaches and frees the cell's graphic; row check boxes belong to the grid and are only detached.
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType);
    int CellImageSortKey(int ACol, int ARow);
    virtual TCustomImageList *GetCellImageList() { return FGridImages; }
    // The calculated text of a formula cell; this grid shows the cell's text.
    virtual void GetFormulaText(int ACol, int ARow, QString &Value) { Value = GetCellEx(ACol, ARow); }
    void GetDisplText(int ACol, int ARow, QString &Value) override;
    int GetNodeIndent(int ARow) override;
    bool HasNodes() override { return FNumNodes > 0; }
    virtual bool CanShowFixedDropDown(int ACol);
    virtual void StartBlockFocus();
    virtual void EndBlockFocus();

private:
    // Whether column 0 of the row holds a graphic of the type.
    bool RowGraphicIs(int ARow, TCellType CellType);
    // The gradient and text colour of a cell the selection covers.
    void SelectionLook(TColor &AColorTo, TColor &AMirrorColor, TColor &AMirrorColorTo, TFont *AFont);
    bool InSelectedCells(int ACol, int ARow) const;
    // The grid's canvas set to the grid's font, for measuring texts of cell graphics.
    TCanvas *MeasureCanvas();
    TPoint RadioGroupSize(const TCellGraphic *G);
    TPoint ImagesSize(const TCellGraphic *G);

    TCustomImageList *FGridImages = nullptr;
    TColor FSelectionColor = 0xEACAB6;
    TColor FSelectionColorTo = clNone;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    TColor FSelectionTextColor = 0;
    bool FSelectionColorMixer = false;
    int FSelectionColorMixerFactor = 50;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FShowSelection = true;
    bool FFlat = false;
    int FMaxEditLength = 0;
    bool FSpreadSheet = false;
    bool FURLShow = false;
    bool FURLShowInText = false;
    bool FURLFull = false;
    TColor FURLColor = 0xFF0000;
    // ----------------------------------------------------------------------------------------------

    // ---- Sorting (ProGridSort.cpp) -------------------------------------------------------------------
public:
    // The normal rows (FixedRows up to the footer rows) by SortSettings.Column, nothing when it is
    // negative; QSortIndexed by SortIndexes, which must not be empty.
    virtual void QSort();
    virtual void QSortIndexed();
    // The rows below every expanded node of the deepest node level, group by group.
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    // Back to the row order before the first sort since rows were last added or removed.
    virtual void QUnSort();
    void Sort(int Column, TSortDirection Direction);
    void SortByColumn(int Col);
    // Rows Left .. Right only; the current row and the footers are left alone.
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // Swaps the two rows when they are out of order by Col; ties go on with the columns to its right.
    bool SortLine(int Col, int ARow1, int ARow2);
    void InitSortXRef();
    virtual void SortSwapRows(int ARow1, int ARow2);
    // Cell comparisons and row swaps counted since the grid was made.
    int Compares() const { return FCompares; }
    void SetCompares(int v) { FCompares = v; }
    int Swaps() const { return FSwaps; }
    void SetSwaps(int v) { FSwaps = v; }
    TStringList *SortList() const { return Sortlist.get(); }
    // The display text without mini-HTML tags.
    QString GetStrippedCell(int ACol, int ARow);

    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;

protected:
    // 1 when row 1 sorts after row 2, -1 before, 0 equal.
    int CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    int CompareRows(int ACol, int ARow1, int ARow2);
    int CompareRowsIndexed(int Index, int ARow1, int ARow2);
    void QuickSortRows(int Col, int Left, int Right);
    void QuickSortRowsIndexed(int Left, int Right);
    void UnSortRows(int Left, int Right);
    void SortGroups(bool Indexed);

    // The comparison result that means two rows are out of order: 1 ascending, -1 descending.
    int SortDir = 1;
    // While sorting: where the row that was current before the sort now is.
    int SortRow = -1;

private:
    struct TSortKeys;
    struct TSortRun;
    // Sorts the row ranges of Run and then moves every row once to its place.
    void RunSort(TSortRun &Run, const std::vector<std::pair<int, int>> &Ranges);
    int CompareSortCells(TSortKeys &Keys, int ACol, int Row1, int Row2, bool Descending);
    // The sort range of QSort: FixedRows .. the last row above the footer rows.
    int LastSortRow() const { return RowCount() - FFixedFooters - 1; }
    void SortEntry(bool Indexed);
    // Row First + k receives what row Sources[k] held (a rearrangement of the same rows): cells,
    // heights, selection and modified flags; with SingleColumn only the sort column's cells.
    void ApplyRowOrder(int First, const std::vector<int> &Sources);
    // Row First + k receives the stored cells of row Sources[k]; OnlyCol >= 0 moves that column's
    // cells alone. The one place that rearranges stored rows (ProGridRowOrder.cpp).
    void PermuteRowCells(int First, const std::vector<int> &Sources, int OnlyCol);
    void SwapRowCells(int ARow1, int ARow2, int OnlyCol);

    int FCompares = 0;
    int FSwaps = 0;

    // ---- Filtering (ProGridFilter.cpp) -----------------------------------------------------------
public:
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool Value);
    // Hides the rows that fail the filter as one new filter level.
    void ApplyFilter();
    void FilterRow(int ARow);
    // True only while two or more levels remain after the last one was taken off.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // Narrows the shown rows to those holding ACondition as typed (case ignored) in AColumn, or
    // anywhere in the row for -1; one character more or less than the last call adds or takes off
    // one level.
    void NarrowDown(const QString &ACondition, int AColumn);

    TFilterEvent OnCustomFilter;
    TGridProgressEvent OnFilterProgress;
    TFilterSelectEvent OnFilterSelect;
    TNotifyEvent OnFilterDone;

protected:
    virtual bool RowMatchesFilter(int ARow);
    virtual void FilterDone();
    // A value chosen in the column filter drop-down, and the checked values of its check list.
    virtual void FilterDropDownSelect(int ItemIndex);
    virtual void FilterCheckListApply();
    TDropList *FilterDropList() const { return FDropList; }
    TDropCheckList *FilterCheckList() const { return FDropCheckList; }

    // The column whose filter drop-down is open, -1 when none; the lists close it.
    int FFilterCol = -1;
    friend class TDropList;
    friend class TDropCheckList;

private:
    // The text of a row an item is matched against.
    QString FilterText(const TFilterData *Item, int ARow);
    bool ItemMatches(const TFilterData *Item, int Index, const QString &Text);
    // The condition of a drop-down entry; Literal when the entry is one of the column's own values.
    void SplitFilterEntry(int Index, QString &FriendlyName, QString &Condition, bool &Literal) const;
    // Marks the drop-down entries that are values of the column (their object).
    static TObject *FilterValueMark();

    bool FFilterActive = false;
    int FFilterFixedRows = -1;
    QString FLastFilter;
    // Prepared conditions of the filter items, by item position.
    std::vector<std::unique_ptr<TFilterExpression>> FFilterExpressions;

    // ---- Construction and lifecycle (ProGridLifecycle.cpp) ---------------------------------------
public:
    // Copies settings, structure and cell texts of another TProStringGrid; others are ignored.
    void Assign(TPersistent *Source) override;
    // Cell texts only, through the cell file's stream form.
    virtual void AssignCells(TPersistent *Source);
    // Once a stored grid's properties are read.
    virtual void Loaded();
    // The first Invalidate after an editor change repaints nothing.
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl *AParent) override;
    void UpdateScrollBarAlways(bool HideUnneeded);
    QString CellEditMask(int ACol, int ARow);
    static TCustomForm *FindParentForm(TControl *AControl);
    // The handler the grid puts on its owner form's OnResize.
    void FormResize(TObject *Sender);
    // Relays of the date and time pickers; they report the current cell.
    void DateTimeChangeRelay(TDateTime ADateTime);
    void DatePickerChangeRelay(bool TimeMode, TDateTime AValue);
    void DatePickerCloseUpRelay();
    void DatePickerDropDownRelay();

    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook v) { FLook = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v) { FBorderStyle = v; }
    bool IntegralHeight() const { return FIntegralHeight; }
    // Re-applies the bounds, so that the height snaps to whole rows at once.
    void SetIntegralHeight(bool v);
    bool SizeWithForm() const { return FSizeWithForm; }
    void SetSizeWithForm(bool v) { FSizeWithForm = v; }
    bool AutoSize() const { return FAutoSize; }
    // Switching it on sizes every normal column to its contents at once.
    void SetAutoSize(bool v);
    bool IsThemed() const { return FIsComCtl6; }
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways v);
    const QString &EditMask() const { return FEditMask; }
    void SetEditMask(const QString &v) { FEditMask = v; }
    // Set by an editor change so that the next Invalidate is swallowed.
    void SetEditChange(bool v) { FEditChange = v; }

    TColor DUZGradientFrom() const { return FDUZGradientFrom; }
    void SetDUZGradientFrom(TColor v);
    TColor DUZGradientTo() const { return FDUZGradientTo; }
    void SetDUZGradientTo(TColor v);
    TColor DUZGradientMirrorFrom() const { return FDUZGradientMirrorFrom; }
    void SetDUZGradientMirrorFrom(TColor v);
    TColor DUZGradientMirrorTo() const { return FDUZGradientMirrorTo; }
    void SetDUZGradientMirrorTo(TColor v);
    // The hot and pressed fixed-cell colours repaint nothing.
    TColor DUZGradientHoverFrom() const { return FDUZGradientHoverFrom; }
    void SetDUZGradientHoverFrom(TColor v) { FDUZGradientHoverFrom = v; }
    TColor DUZGradientHoverTo() const { return FDUZGradientHoverTo; }
    void SetDUZGradientHoverTo(TColor v) { FDUZGradientHoverTo = v; }
    TColor DUZGradientHoverMirrorFrom() const { return FDUZGradientHoverMirrorFrom; }
    void SetDUZGradientHoverMirrorFrom(TColor v) { FDUZGradientHoverMirrorFrom = v; }
    TColor DUZGradientHoverMirrorTo() const { return FDUZGradientHoverMirrorTo; }
    void SetDUZGradientHoverMirrorTo(TColor v) { FDUZGradientHoverMirrorTo = v; }
    TColor DUZGradientHoverBorder() const { return FDUZGradientHoverBorder; }
    void SetDUZGradientHoverBorder(TColor v) { FDUZGradientHoverBorder = v; }
    TColor DUZGradientDownFrom() const { return FDUZGradientDownFrom; }
    void SetDUZGradientDownFrom(TColor v) { FDUZGradientDownFrom = v; }
    TColor DUZGradientDownTo() const { return FDUZGradientDownTo; }
    void SetDUZGradientDownTo(TColor v) { FDUZGradientDownTo = v; }
    TColor DUZGradientDownMirrorFrom() const { return FDUZGradientDownMirrorFrom; }
    void SetDUZGradientDownMirrorFrom(TColor v) { FDUZGradientDownMirrorFrom = v; }
    TColor DUZGradientDownMirrorTo() const { return FDUZGradientDownMirrorTo; }
    void SetDUZGradientDownMirrorTo(TColor v) { FDUZGradientDownMirrorTo = v; }
    TColor DUZGradientDownBorder() const { return FDUZGradientDownBorder; }
    void SetDUZGradientDownBorder(TColor v) { FDUZGradientDownBorder = v; }

    TControlLook *ControlLook() const { return FControlLook.get(); }
    void SetControlLook(TControlLook *v) { FControlLook->Assign(v); }
    TGrouping *Grouping() const { return FGrouping.get(); }
    void SetGrouping(TGrouping *v) { FGrouping->Assign(v); }
    TBackGround *BackGround() const { return FBackGround.get(); }
    void SetBackGround(TBackGround *v)
    {
        FBackGround->Assign(v);
        Invalidate();
    }
    TDragScrollOptions *DragScrollOptions() const { return FDragScrollOptions.get(); }
    void SetDragScrollOptions(TDragScrollOptions *v) { FDragScrollOptions->Assign(v); }
    TGridProgressAppearance *ProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(TGridProgressAppearance *v) { FProgressAppearance->Assign(v); }
    TSortSettings *SortSettings() const { return FSortSettings.get(); }
    void SetSortSettings(TSortSettings *v) { FSortSettings->Assign(v); }
    TFilter *Filter() const { return FFilter.get(); }
    TFilterDropDown *FilterDropDown() const { return FFilterDropDown.get(); }
    void SetFilterDropDown(TFilterDropDown *v) { FFilterDropDown->Assign(v); }
    TBalloonSettings *Balloon() const { return FBalloonSettings.get(); }
    void SetBalloon(TBalloonSettings *v) { FBalloonSettings->Assign(v); }
    TFloatingFooter *FloatingFooter() const { return FFloatingFooter.get(); }
    void SetFloatingFooter(TFloatingFooter *v) { FFloatingFooter->Assign(v); }
    TDragDropSettings *DragDropSettings() const { return FDragDropSettings.get(); }
    void SetDragDropSettings(TDragDropSettings *v) { FDragDropSettings->Assign(v); }
    TFooterPanel *FooterPanel() const { return FFooterPanel; }
    // The floating footer's strip paints a footer cell, and its window exists.
    TFooterPaintEvent OnPaintFooter;
    TNotifyEvent OnCreatedFloatingFooter;
    // A cell is clicked; the footer strip reports its cells with the grid's last row.
    TClickCellEvent OnClickCell;
    TSearchPanel *SearchPanel() const { return FSearchPanel; }
    TFont *FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont *v) { FFixedFont->Assign(v); }
    TFont *ActiveCellFont() const { return FActiveCellFont.get(); }
    void SetActiveCellFont(TFont *v) { FActiveCellFont->Assign(v); }
    TStringList *ColumnHeaders() const { return FColumnHeaders.get(); }
    void SetColumnHeaders(TStrings *v);
    TStringList *RowHeaders() const { return FRowHeaders.get(); }
    void SetRowHeaders(TStrings *v);
    TStringList *LookupItems() const { return FLookupItems.get(); }
    void SetLookupItems(TStrings *v)
    {
        if (v)
            FLookupItems->Assign(v);
    }
    // Settings whose writes repaint or pass the value on (ProGridTyped.cpp).
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor v);
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor v);
    bool ShowDesignHelper() const { return FShowDesignHelper; }
    void SetShowDesignHelper(bool v);
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor v);
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    bool Hovering() const { return FHovering; }
    void SetHovering(bool v) { FHovering = v; }
    // The colour of the column-move arrows (read from the up arrow).
    TColor ArrowColor() const;
    void SetArrowColor(TColor v);
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool v);
    TStringList *FilterList() const { return FFilterList.get(); }
    TIntList *MergedColumns() const { return FMergedColumns.get(); }
    TIntList *IgnoreColumns() const { return FIgnoreColumns.get(); }
    TSortIndexList *SortIndexes() const { return FSortIndexes.get(); }
    TGridFocusWindow *FocusWindow() const { return FFocusWindow; }
    void SetHideLastRowState(bool v) { FHideLastRow = v; }

    // Plain settings whose behaviour lives with the code that reads them.
    TARVIX_PLAIN_FIELD(TColor, HintColor, clInfoBk)
    TARVIX_PLAIN_FIELD(TColor, SelectionRectangleColor, 0)
    TARVIX_PLAIN_FIELD(TColor, DisabledFontColor, 0xC0C0C0)
    TARVIX_PLAIN_FIELD(bool, UseDisabledFont, true)
    TARVIX_PLAIN_FIELD(TEditorType, DefaultEditor, edNormal)
    TARVIX_PLAIN_FIELD(bool, ScrollSynch, false)
    TARVIX_PLAIN_FIELD(TScrollHints, ScrollHints, shNone)
    TARVIX_PLAIN_FIELD(bool, EnableHTML, true)
    TARVIX_PLAIN_FIELD(bool, EnableWheel, true)
    TARVIX_PLAIN_FIELD(bool, EnhRowColMove, true)
    TARVIX_PLAIN_FIELD(bool, IntelliZoom, true)
    TARVIX_PLAIN_FIELD(bool, HideFocusRect, false)
    TARVIX_PLAIN_FIELD(bool, FixedAsButtons, false)
    TARVIX_PLAIN_FIELD(THoverFixedCells, HoverFixedCells, hfNone)
    TARVIX_PLAIN_FIELD(bool, UseInternalHintClass, true)
    TARVIX_PLAIN_FIELD(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)
    TARVIX_PLAIN_FIELD(QString, InvalidEntryTitle, QString())
    TARVIX_PLAIN_FIELD(QString, InvalidEntryText, QString())
    TARVIX_PLAIN_FIELD(bool, AutoFilterUpdate, true)
    TARVIX_PLAIN_FIELD(bool, FilterNormalCellsOnly, true)
    TARVIX_PLAIN_FIELD(bool, FilterIncremental, false)
    TARVIX_PLAIN_FIELD(QString, FilterDropDownClear, QStringLiteral("(All)"))
    TARVIX_PLAIN_FIELD(QString, FloatFormat, QStringLiteral("%.2f"))
    TARVIX_PLAIN_FIELD(QChar, PasswordChar, QChar('*'))
    TARVIX_PLAIN_FIELD(QString, XMLEncoding, QStringLiteral("ISO-8859-1"))
    TARVIX_PLAIN_FIELD(bool, ShowNullDates, true)
    TARVIX_PLAIN_FIELD(bool, NoDefaultDraw, false)
    TARVIX_PLAIN_FIELD(int, ZoomFactor, 0)
    TARVIX_PLAIN_FIELD(int, MinRowHeight, 0)
    TARVIX_PLAIN_FIELD(int, MaxRowHeight, 0)
    TARVIX_PLAIN_FIELD(int, MinColWidth, 0)
    TARVIX_PLAIN_FIELD(int, MaxColWidth, 0)
    TARVIX_PLAIN_FIELD(bool, SizeGrowOnly, false)
    TARVIX_PLAIN_FIELD(bool, FitCellsInGrid, true)
    TARVIX_PLAIN_FIELD(int, PreviewPage, 1)
    TARVIX_PLAIN_FIELD(int, PrintNrOfPages, 0)
    TARVIX_PLAIN_FIELD(bool, PrinterDriverFix, false)
    TARVIX_PLAIN_FIELD(bool, ExcelClipboardFormat, false)
    TARVIX_PLAIN_FIELD(bool, FindBusy, false)
    TARVIX_PLAIN_FIELD(TEditLink *, EditLink, nullptr)
    TARVIX_PLAIN_FIELD(bool, AnchorHint, false)
    TARVIX_PLAIN_FIELD(bool, AutoNumAlign, false)
    TARVIX_PLAIN_FIELD(TDrawingStyle, DrawingStyle, gdsClassic)

public:
    TNotifyEvent OnGridResize;
    TGetEditEvent OnGetEditMask;
    TDateTimeChangeEvent OnDateTimeChange;
    TEditChangeEvent OnEditChange;
    TDatePickerEvent OnDatePickerCloseUp;
    TDatePickerEvent OnDatePickerDropDown;

protected:
    // Window creation: runs once, when the grid first gets a parent.
    virtual void CreateWnd();
    void Resize() override;
    TInplaceEdit *CreateEditor() override;
    QString GetEditMask(int ACol, int ARow) override { return CellEditMask(ACol, ARow); }
    // The grid's own cursor, set through Cursor; temporary cursors return to it.
    TCursor FOldCursor = crDefault;
    // The screen cursor remembered by Loaded and given back by the destructor.
    TCursor FLoadedScreenCursor = crDefault;

private:
    void CreateOwnedObjects();
    void DestroyOwnedObjects();
    void InstallFormResize();
    void RemoveFormResize();

    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsWinVista = false;
    bool FIsComCtl6 = false;
    bool FWndCreated = false;
    bool FGridLoaded = false;
    bool FEditChange = false;
    TGridLook FLook = glXP;
    TColor FBorderColor = 0x808080;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FIntegralHeight = false;
    bool FSizeWithForm = false;
    bool FAutoSize = false;
    TScrollBarAlways FScrollBarAlways = saNone;
    QString FEditMask;
    TColor FDUZGradientFrom = 0xFFFFFF;
    TColor FDUZGradientTo = clNone;
    TColor FDUZGradientMirrorFrom = clNone, FDUZGradientMirrorTo = clNone;
    TColor FDUZGradientHoverFrom = clNone, FDUZGradientHoverTo = clNone;
    TColor FDUZGradientHoverMirrorFrom = clNone, FDUZGradientHoverMirrorTo = clNone;
    TColor FDUZGradientHoverBorder = clNone;
    TColor FDUZGradientDownFrom = clNone, FDUZGradientDownTo = clNone;
    TColor FDUZGradientDownMirrorFrom = clNone, FDUZGradientDownMirrorTo = clNone;
    TColor FDUZGradientDownBorder = clNone;
    int FMinFixedRows = 0, FMinFixedCols = 0, FMinRowHeightLoaded = 0, FMinColWidthLoaded = 0;
    // The owner form's earlier OnResize and its size as last followed.
    TNotifyEvent FOnResize;
    bool ResizeAssigned = false;
    TCustomForm *FResizeForm = nullptr;
    int PrevSizeX = 0, PrevSizeY = 0;

    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    bool FShowDesignHelper = true;
    TColor FActiveCellColor = 0x808080;
    TColor FActiveCellColorTo = clNone;
    bool FAutoThemeAdapt = false;
    bool FHovering = false;
    TFooterPanel *FFooterPanel = nullptr;
    TSearchPanel *FSearchPanel = nullptr;
    std::unique_ptr<TFont> cf;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<TIntList> FOrigColSizes;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FActiveCellFont;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> Sortlist;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortRowXRef, FUnSortRowXRef, FMergedColumns, FSelectedCells;
    std::unique_ptr<TBackGround> FBackGround;
    THTMLHintWindow *FScrollHintWnd = nullptr;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TBalloonSettings> FBalloonSettings;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TCellGraphic> FCellGraphic;
    std::unique_ptr<TIntList> FIgnoreColumns;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    TDropList *FDropList = nullptr;
    TDropCheckList *FDropCheckList = nullptr;
    std::unique_ptr<TStringList> FFilterList;
    TGridFocusWindow *FFocusWindow = nullptr;
    TArrowWindow *ArwU = nullptr, *ArwD = nullptr, *ArwL = nullptr, *ArwR = nullptr;
    TScrollBar *FScrollBar = nullptr, *FPaintScrollBar = nullptr;

    // ---- Search and replace (ProGridSearch.cpp) ------------------------------------------------------
public:
    // Cells holding s (or matching it as a filter expression) in scan order from StartCell, which
    // is itself skipped; (-1, -1) starts at the first cell and gives (-1, -1) when nothing is found.
    TPoint Find(TPoint StartCell, const QString &s, TFindParams FindParams);
    TPoint FindWide(TPoint StartCell, const QString &s, TFindParams FindParams);
    TPoint FindFirst(const QString &s, TFindParams FindParams);
    TPoint FindNext();
    // Rewrites every found cell's stored text; the number of cells changed.
    int Replace(const QString &OrigStr, const QString &NewStr, TFindParams FindParams);
    // The first normal row whose sort column's display text starts with s (compared with its
    // upper-cased text as it stands); -1 for none.
    int Search(const QString &s);
    TPoint SearchCell() const { return FSearchCell; }
    void SetSearchCell(const TPoint &v) { FSearchCell = v; }
    TFindParams FindParams() const { return FFindParams; }
    int FindCol() const { return FFindCol; }
    void SetFindCol(int v) { FFindCol = v; }
    int FindRow() const { return FFindRow; }
    void SetFindRow(int v) { FFindRow = v; }
    // The key-typing search text and its pause counter.
    TARVIX_PLAIN_FIELD(QString, SearchInc, QString())
    TARVIX_PLAIN_FIELD(int, SearchTics, 0)

public:
    // Copies the search footer's settings into its panel and lays the panel out.
    void SyncSearchPanel();

    TSearchEditChangeEvent OnSearchEditChange;
    TNotifyEvent OnSearchFooterClose;
    TNotifyEvent OnCreatedSearchFooter;

protected:
    bool CellMatches(int ACol, int ARow, bool Wide);
    // The search panel's notifications.
    void SearchEditChanged(TObject *Sender);
    void SearchFooterFindPrev(TObject *Sender);
    void SearchFooterFindNext(TObject *Sender);
    void CloseSearchFooter(TObject *Sender);
    void SearchFooterHighlight(TObject *Sender);
    // Alt and an accelerator of the search panel's buttons; 1 in Result when taken.
    void CMDialogChar(TMessage &Message);
    // The text of the fixed-cell editor changed.
    void FixedEditChanged(const QString &Text);
    QString SearchCache;
    QString SearchCacheWide;
    TFindParams FFindParams;
    // The fixed cell being edited; -1 while none is.
    int FFixedColEdit = -1;
    int FFixedRowEdit = -1;

private:
    friend class TSearchPanel;
    // The panel's notifications and the footer's changes reach the handlers here.
    void WireSearchPanel();
    TPoint DoFind(TPoint StartCell, const QString &s, TFindParams FindParams, bool Wide);
    // The search footer's options common to its searches.
    TFindParams FooterParams(bool Backward);
    void RemoveFooterHighlight();
    void ApplyFooterHighlight(const QString &Text, bool MatchCase);
    // Widens the search box by a pixel and back, which repaints it.
    void NudgeSearchEdit();
    TPoint FSearchCell{-1, -1};
    int FFindCol = 0;
    int FFindRow = 0;

    // ---- Selection text, numbering, swaps and hooks (ProGridSelText.cpp) ---------------------------
public:
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // The selected cells, a tab between cells and CR LF between rows.
    QString SelectedText();
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    void SwapColumns(int ACol1, int ACol2);
    void SwapRows(int ARow1, int ARow2);
    virtual void AutoInsertRow(int ARow);
    virtual void AutoDeleteRow(int ARow);
    virtual void FixedEdit(int ACol, int ARow, TGridFixedCellEditor &AEditor, TStrings *Values);
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    // The in-place editor reports its caret after each key and ASelStart -1 when it loses focus.
    virtual void InplaceEditNotify(const QString &AText, const TPoint &APos, int ASelStart) {}
    TARVIX_PLAIN_FIELD(int, AutoNumberStart, 0)
    TARVIX_PLAIN_FIELD(int, AutoNumberOffset, 0)
    TARVIX_PLAIN_FIELD(TSortDirection, AutoNumberDirection, sdAscending)

public:
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TFixedEditEvent OnFixedEdit;
    TSelectionChangedEvent OnSelectionChanged;

private:
    // Moves the cell controls of the two lines across (Column: columns, else rows).
    void SwapCellControls(int A, int B, bool Column);

    // ---- Row grouping, moves and column order (ProGridGroup.cpp) -----------------------------------
public:
    virtual void SubGroup(int ColIndex);
    virtual void SubUnGroup(int ColIndex);
    virtual void Group(int ColIndex);
    virtual void UnGroup();
    int GroupColumn() const { return FGroupColumn; }
    // -1 ungroups, a column above 0 groups by it; other values do nothing.
    void SetGroupColumn(int Value);
    void GroupSum(int ColIndex);
    void GroupAvg(int ColIndex);
    void GroupMin(int ColIndex);
    void GroupMax(int ColIndex);
    void GroupCount(int ColIndex);
    void GroupCustomCalc(int ColIndex);
    void GroupDistinct(int ColIndex);
    void GroupStdDev(int ColIndex);
    // Columns and rows move with their cell controls.
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    void ScrollInView(int ColIndex, int RowIndex);
    // The present arrangement becomes the one ResetColumnOrder returns to.
    void SetColumnOrder();
    void ResetColumnOrder();
    // Entry k: the column of origin of the column now at position k.
    TIntList *ColumnOrder() const { return FColumnOrder.get(); }

protected:
    void ColumnMoved(int FromIndex, int ToIndex) override;
    int FGroupColumn = -1;
    QString FGroupCaption;
    QString FGroupFooter;
    int FGroupWidth = 0;

private:
    using TGroupValue = std::function<double(int ACol, int FromRow, int ToRow, int Span)>;
    void GroupCalc(int ColIndex, const TGroupValue &Value, bool AsInteger, TColumnCalcType FooterCalc);
    // Colours a group header or summary row, or its merged cell from column C on.
    void ColorGroupRow(int ARow, bool Header);
    void ColorGroupCell(int ACol, int ARow, bool Header);
    void ResetGroupRowColor(int ARow, bool Header);
    // Closes the open group at h before row a: a summary row before it when asked, then the node.
    void CloseGroup(int &h, int &a);
    // Brings the column-order list up to the grid's column count.
    void GrowColumnOrder();

    // ---- Scrolling, scroll bars and geometry (ProGridScroll.cpp) -----------------------------------
public:
    // The cell under a screen point; -1 where there is none.
    void ScreenToCell(const TPoint &pt, int &ACol, int &ARow);
    // Whether a client point lies on a border the user may drag to size a column or row.
    bool IsOnSizingBorder(int X, int Y);
    // The column gets the client width the other columns leave (-1: the last column).
    void StretchColumnWidth(int Index);
    void StretchRightColumn() { StretchColumnWidth(ColCount() - 1); }
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value);
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value);
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // The thumbs cover the visible part of the rows (columns).
    void UpdateVScrollProportional();
    void UpdateHScrollProportional();
    void UpdateFlatScrollBars();
    void SyncFlatVScrollBar();
    void SyncFlatHScrollBar();
    void FlatShowScrollBar(int Bar, bool Show);
    // With a visible search footer: the last row ends above the footer.
    bool LastRowAboveSearchFooter();
    void ScrollLastRowAboveSearchFooter();
    // The in-cell scroll bar's position of a cell; repaints the cell.
    void SetScrollPosition(int ACol, int ARow, int Pos);
    // The slim scroll controls of the metro look, made once.
    void CreateMetroScrollControls();
    TScrollControl *VScrollControl() const { return FVScrollControl; }
    TScrollControl *HScrollControl() const { return FHScrollControl; }
    THTMLHintWindow *ScrollHintWindow() const { return FScrollHintWnd; }
    bool ScrollHintShown() const { return FScrollHintShow; }
    bool IsFlat() const { return FIsFlat; }
    // The drag-and-drop notification while something is dragged over the grid.
    virtual void DragOver(TObject *Source, int X, int Y, TDragState State, bool &Accept);
    TTimer *DragScrollTimer() const { return FDragTmr; }
    TDragScrollDirection DragScrollDirection() const { return FDragScrollDirection; }
    void WndProc(TMessage &Message) override;

    TScrollHintEvent OnScrollHint;
    TDragScrollEvent OnDragScroll;
    TScrollCellEvent OnScrollCell;
    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;

protected:
    virtual void ScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax);
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void TopLeftChanged() override;
    LRESULT GetDlgCode() const override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The in-cell scroll bar and the cell it stands on (-1: none).
    TScrollBar *CellScrollBar() const { return FScrollBar; }
    int FScrollCol = -1, FScrollRow = -1;
    // Sizing state shared with the mouse handling.
    bool ColSized = false, Rowsized = false;
    int Colclicked = -1, Rowclicked = -1, Colclickedsize = 0, Rowclickedsize = 0;
    bool ColSizeFlg = false, ColchgFlg = true, FIsColChanging = false;
    bool FScrollLock = false;

private:
    void ScrollMessage(TMessage &Message, bool Vertical);
    void CellScrollMessage(TMessage &Message);
    // The in-cell bar reports its use to the grid as a scroll message.
    void CellScrollBarScroll(TScrollCode Code, int &Pos);
    void ShowScrollHint(bool Vertical, int Target);
    void HideScrollHint();
    // The cells the fixed background picture lies on.
    TGridRect FixedBackgroundCells();
    void ApplyFlatStyle();
    void DragScrollTimerTick(TObject *Sender);
    void StopDragTimer();
    bool ProportionalAllowed() const;

    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 0;
    bool FScrollProportional = false;
    TScrollStyle FScrollBars = ssBoth;
    bool FIsFlat = false;
    bool FScrollHintShow = false;
    TDragScrollDirection FDragScrollDirection;
    TTimer *FDragTmr = nullptr;
    bool FInDragTick = false;
    TScrollControl *FVScrollControl = nullptr;
    TScrollControl *FHScrollControl = nullptr;

    // ---- Text measuring and auto-sizing (ProGridAutoSize.cpp) ----------------------------------------
public:
    // The room the cell's displayed text needs as it is painted. VS: word-wrapped within the
    // cell's width; SB: 17 pixels at the right kept for a scroll button.
    TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    void AutoSizeColumns(bool DoFixedCols, int Padding);
    void AutoSizeCol(int ACol, int Padding);
    void AutoSizeRows(bool DoFixedRows, int Padding);
    void AutoSizeRow(int ARow, int Padding);
    void AutoFitColumns(bool DoFixedCells);
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    void SizeColumnToContents(int ACol, bool GrowOnly);
    void SizeRowToContents(int ARow, bool GrowOnly);
    void SizeRowToLines(int ARow, int Lines, int Extra);

private:
    int HorzOffsetTotal() const { return XYOffsetTopLeftOnly() ? FXYOffset.X : 2 * FXYOffset.X; }
    int VertOffsetTotal() const { return XYOffsetTopLeftOnly() ? FXYOffset.Y : 2 * FXYOffset.Y; }
    // The measuring font of a cell as the row sizing sets it.
    void SetMeasureFont(int ACol, int ARow);
    // The largest line count of the row's visible cells.
    int MaxRowLines(int ARow);
    // ----------------------------------------------------------------------------------------------
};

// Holds the grid's update lock for a scope and releases it on every path, so that an error
// in the middle of a bulk edit never leaves the grid without repaints.
class TGridUpdateLock
{
public:
    explicit TGridUpdateLock(TProStringGrid *AGrid) : FGrid(AGrid) { FGrid->BeginUpdate(); }
    ~TGridUpdateLock() { Release(); }
    TGridUpdateLock(const TGridUpdateLock &) = delete;
    TGridUpdateLock &operator=(const TGridUpdateLock &) = delete;
    void Release()
    {
        if (FGrid)
            FGrid->EndUpdate();
        FGrid = nullptr;
    }

private:
    TProStringGrid *FGrid;
};

// The slim scroll bar of the metro look, drawn over the grid's right (or bottom) edge: a thumb
// on the grid's contents, clicks beside it page, dragging it scrolls.
enum TScrollDirection { sdVertical, sdHorizontal };

class TScrollControl : public TCustomControl
{
public:
    explicit TScrollControl(TComponent *AOwner);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value) { FScrollWidth = Value; }
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection Value) { FDirection = Value; }
    // Start and length of the thumb along the control.
    void ThumbGeometry(int &Start, int &Length) const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TProStringGrid *Grid() const;
    TColor FColor = clSilver;
    int FScrollWidth = 4;
    TScrollDirection FDirection = sdVertical;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
};
