#pragma once
// The plain grids: TCustomGrid (geometry, selection, scrolling, sizing and moving, painting
// through DrawCell, in-place editing), TDrawGrid (events), TStringGrid (texts and objects).
// The grid's widget is a QAbstractScrollArea; its viewport is the client area.
#include "framework/controls/Controls.h"
#include "framework/grids/CellStore.h"
#include "framework/rtl/Strings.h"
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class TCustomGrid;

TARVIX_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord
{
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord &o) const = default;
};

// Columns Left..Right and rows Top..Bottom, both inclusive.
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    bool operator==(const TGridRect &o) const = default;
};

inline TGridRect GridRect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }

using TSelectCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &CanSelect)>;
using TDrawCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, QString &Value)>;
using TSetEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, const QString &Value)>;
using TMovedEvent = std::function<void(TObject *Sender, int FromIndex, int ToIndex)>;

// A grid scroll bar as the platform describes it: range Min .. Max with a page of Page, so that the
// thumb goes from Min to Max - Page + 1; TrackPos is where a dragged thumb is now.
struct TGridScrollInfo
{
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
};

// The text editor the grid lays over the current cell. Single-line by default; in multi-line
// mode the text keeps its line breaks (CR LF, counted as two characters in positions and in
// the length limit, as the grid's cells hold them), Enter still ends the edit and Ctrl+Enter
// breaks the line. An edit mask or the password mode always edit a single line.
class TInplaceEdit : public TWinControl
{
public:
    explicit TInplaceEdit(TComponent *AOwner);
    ~TInplaceEdit() override;

    TCustomGrid *Grid() const { return grid_; }

    QString Text() const;
    void SetText(const QString &v);
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    QString SelText() const;
    // Replaces the selection as typing would: read-only and the length limit apply.
    void SetSelText(const QString &v);
    void SelectAll();
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // A Delphi edit mask ("!999;1;_" and the like); empty means none.
    const QString &EditMask() const { return editMask_; }
    void SetEditMask(const QString &v);
    bool PasswordMode() const { return passwordMode_; }
    void SetPasswordMode(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v);
    // Long lines wrap at the editor's width, without horizontal scrolling (multi-line only).
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // Whether the editor shows several lines now: multi-line, and neither a mask nor a password.
    bool IsMultiLine() const;

    // Lines as shown, wrapped lines counted: the number, the line of a character position,
    // and the character position nearest a client point (-1 outside the text area).
    int LineCount() const;
    int LineFromChar(int CharIndex) const;
    int CharFromPos(TPoint P) const;

    // These go through WM_CUT, WM_COPY, WM_PASTE and WM_UNDO, as the editing keys do, so that
    // a derived editor sees every clipboard action in one place.
    void CutToClipboard() { Perform(WM_CUT); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void PasteFromClipboard() { Perform(WM_PASTE); }
    void Undo() { Perform(WM_UNDO); }

    // Moves the editor over its grid's current cell, or hides it while that cell is out of view.
    virtual void UpdateLoc(const TRect &Loc);
    // Reloads the text from the grid.
    virtual void UpdateContents();

    void WndProc(TMessage &Message) override;
    void DefaultHandler(TMessage &Message) override;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(QChar &Key) override;
    LRESULT GetDlgCode() const override;
    int ColorRole() const override;
    void ApplyText(const QString &v) override { SetText(v); }
    QString GetText() const override { return Text(); }
    // After every change of the text, by typing or by code.
    virtual void Change() {}

private:
    friend class TCustomGrid;
    QWidget *makeWidget();
    void configure();
    void rebuildIfNeeded();
    void applyAlignment();
    void textChanged();
    // Inserts s (line breaks as '\n') in place of the selection, cut to the room left.
    void insertTyped(QString s);
    int roomLeft() const;
    int toTextPos(int docPos) const;
    int toDocPos(int textPos) const;

    TCustomGrid *grid_ = nullptr;
    QLineEdit *line_ = nullptr;
    QPlainTextEdit *memo_ = nullptr;
    bool modified_ = false;
    bool loading_ = false;
    int maxLength_ = 0;
    bool readOnly_ = false;
    QString editMask_;
    bool passwordMode_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool multiLine_ = false;
    bool wordWrap_ = false;
};

// The Qt input mask of a Delphi edit mask ("mask;save literals;blank").
QString EditMaskToInputMask(const QString &DelphiMask);

class TCustomGrid : public TCustomControl
{
public:
    explicit TCustomGrid(TComponent *AOwner);
    ~TCustomGrid() override;

    QWidget *ClientWidget() const override;

    // Dimensions
    virtual int ColCount() const { return colCount_; }
    virtual void SetColCount(int Value);
    virtual int RowCount() const { return rowCount_; }
    virtual void SetRowCount(int Value);
    virtual int FixedCols() const { return fixedCols_; }
    virtual void SetFixedCols(int Value);
    virtual int FixedRows() const { return fixedRows_; }
    virtual void SetFixedRows(int Value);
    virtual int DefaultColWidth() const { return defaultColWidth_; }
    virtual void SetDefaultColWidth(int Value);
    virtual int DefaultRowHeight() const { return defaultRowHeight_; }
    virtual void SetDefaultRowHeight(int Value);
    virtual int ColWidths(int Index) const;
    virtual void SetColWidths(int Index, int Value);
    virtual int RowHeights(int Index) const;
    virtual void SetRowHeights(int Index, int Value);
    virtual int GridLineWidth() const { return gridLineWidth_; }
    virtual void SetGridLineWidth(int Value);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor Value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    virtual void SetDefaultDrawing(bool Value);
    // Total width and height of all columns and rows with their lines.
    int GridWidth() const;
    int GridHeight() const;

    // Current cell and selection
    virtual int Col() const { return current_.X; }
    virtual void SetCol(int Value);
    virtual int Row() const { return current_.Y; }
    virtual void SetRow(int Value);
    virtual TGridRect Selection() const;
    virtual void SetSelection(const TGridRect &Value);
    TGridOptions Options() const { return options_; }
    virtual void SetOptions(const TGridOptions &Value);
    // Moves the current cell (through SelectCell); MoveAnchor collapses the selection onto it,
    // Show scrolls it into view.
    virtual void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    // The cell becomes current and the only selected one.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);

    // Scrolling and geometry
    virtual int TopRow() const { return topLeft_.Y; }
    virtual void SetTopRow(int Value);
    virtual int LeftCol() const { return topLeft_.X; }
    virtual void SetLeftCol(int Value);
    virtual int VisibleRowCount() const;
    virtual int VisibleColCount() const;
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    // Shows or hides one scroll bar whatever the content needs, and enables or disables it;
    // ReleaseScrollBar gives it back to the automatic choice.
    void ForceScrollBar(bool Vertical, bool Show, bool Enabled);
    void ReleaseScrollBar(bool Vertical);
    bool ScrollBarShown(bool Vertical) const;
    // The bar's state. Without a custom range a bar runs over the scrollable rows (columns) and its
    // positions are the top row (left column); SetScrollInfo gives the bar a range of its own
    // (kept until the grid takes it back with SetCustomScrollRange(false)), whose positions
    // 0 .. 127 map onto the scrollable rows as the scroll messages read them.
    TGridScrollInfo GetScrollInfo(bool Vertical) const;
    void SetScrollInfo(bool Vertical, const TGridScrollInfo &Info);
    bool CustomScrollRange(bool Vertical) const { return customRange_[Vertical ? 1 : 0]; }
    void SetCustomScrollRange(bool Vertical, bool Value);
    // The top row (left column) a thumb position of the bar stands for.
    int ScrollPosToIndex(bool Vertical, int Pos) const;
    // The bar widget, for tests and for placing hints beside it.
    QWidget *ScrollBarWidget(bool Vertical) const;
    // WM_HSCROLL and WM_VSCROLL move the top-left cell; the bars send them as they are used.
    void WndProc(TMessage &Message) override;
    // The client rectangle of a cell, cut at the client area; empty when the cell is out of view.
    virtual TRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int &ACol, int &ARow) const;
    TGridState GridState() const { return FGridState; }

    // Structure
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    // In-place editing
    TInplaceEdit *InplaceEditor() const { return FInplaceEdit; }
    bool EditorMode() const { return editorMode_; }
    virtual void SetEditorMode(bool Value);
    virtual void ShowEditor();
    virtual void HideEditor();
    virtual void InvalidateEditor();

    // Repaint requests
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid() { Invalidate(); }
    void InvalidateRect(const TGridRect &ARect);

    // Shows a cursor over the grid at once, as the platform's SetCursor does; Cursor keeps its
    // value and the next mouse move shows it again.
    void ShowCursorNow(TCursor v);
    TCursor ShownCursor() const { return shownCursor_; }

protected:
    // Hooks a derived grid overrides.
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    virtual bool SelectCell(int ACol, int ARow) { return true; }
    virtual void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) = 0;
    virtual void ColumnMoved(int FromIndex, int ToIndex) {}
    virtual void RowMoved(int FromIndex, int ToIndex) {}
    virtual void CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs);
    virtual QString GetEditText(int ACol, int ARow) { return QString(); }
    virtual void SetEditText(int ACol, int ARow, const QString &Value) {}
    virtual QString GetEditMask(int ACol, int ARow) { return QString(); }
    virtual int GetEditLimit() { return 0; }
    virtual bool CanEditShow();
    virtual bool CanEditModify() { return true; }
    virtual bool CanEditAcceptKey(QChar Key) { return true; }
    virtual TInplaceEdit *CreateEditor();
    // Fired after the current cell or the selection changed.
    virtual void SelectionMoved(const TGridRect &OldSel);

    void Paint() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(QChar &Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Resize() override;
    LRESULT GetDlgCode() const override;
    virtual void WMScroll(TMessage &Message, bool Vertical);

    // Top-left cell of the scrollable part when the last row and column are shown whole.
    TGridCoord MaxTopLeft() const;
    // Scrolls the least needed so that the cell shows.
    void ClampInView(int ACol, int ARow);
    void UpdateScrollRange();
    void UpdateEdit();

    TGridState FGridState = gsNormal;
    TInplaceEdit *FInplaceEdit = nullptr;
    TGridCoord FAnchor;

private:
    friend class TInplaceEdit;
    void init();
    void changeSize(int NewColCount, int NewRowCount);
    int colLine(int c) const;
    int rowLine(int r) const;
    // Left edge of column c in client coordinates when it is on screen, or -1.
    int colLeft(int c) const;
    int rowTop(int r) const;
    int fixedWidth() const;
    int fixedHeight() const;
    void moveTopLeft(int ALeft, int ATop);
    void updateBarPolicies();
    void syncScrollBars();
    void moveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void showEditorChar(QChar Ch);
    // Writes the editor's text into the cell it was opened on.
    void commitEdit();
    // Closes the editor; Write says whether its text goes into the cell.
    void closeEditor(bool Write);

    int colCount_ = 5, rowCount_ = 5;
    int fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    std::vector<int> colWidths_, rowHeights_;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    TCursor shownCursor_ = crDefault;
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle scrollBars_ = ssBoth;
    // -1: as the content needs; 0 hidden; 1 shown.
    int forcedBar_[2] = {-1, -1};
    TGridCoord current_{1, 1};
    TGridCoord topLeft_{1, 1};
    bool editorMode_ = false;
    TGridCoord editCell_{-1, -1};
    bool clickedCurrent_ = false;
    bool syncingBars_ = false;
    bool customRange_[2] = {false, false};
    bool inBarAction_ = false;
    void barAction(bool Vertical, int Action);
    // Sizing and moving in progress.
    int sizingIndex_ = -1, sizingPos_ = 0, sizingOfs_ = 0;
    int moveIndex_ = -1, movePos_ = -1;
};

class TDrawGrid : public TCustomGrid
{
public:
    explicit TDrawGrid(TComponent *AOwner);

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TGetEditEvent OnGetEditMask;
    TSetEditEvent OnSetEditText;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TNotifyEvent OnTopLeftChanged;

protected:
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    QString GetEditText(int ACol, int ARow) override;
    QString GetEditMask(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString &Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void TopLeftChanged() override;
};

class TStringGrid;

// A row or a column of a string grid seen as a string list; writes go to the grid's cells.
class TStringGridStrings : public TStrings
{
public:
    TStringGridStrings(TStringGrid *AGrid, bool AIsRow, int AIndex) : grid_(AGrid), isRow_(AIsRow), index_(AIndex) {}
    QString Get(int Index) const override;
    int GetCount() const override;
    TObject *GetObject(int Index) const override;
    void Put(int Index, const QString &S) override;
    void PutObject(int Index, TObject *AObject) override;
    void Insert(int Index, const QString &S) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const QString &S) override;
    int AddObject(const QString &S, TObject *AObject) override;
    void Assign(TPersistent *Source) override;

private:
    TGridCoord cell(int Index) const;
    TStringGrid *grid_;
    bool isRow_;
    int index_;
};

class TStringGrid : public TDrawGrid
{
public:
    explicit TStringGrid(TComponent *AOwner);
    ~TStringGrid() override;

    virtual QString Cells(int ACol, int ARow) const;
    virtual void SetCells(int ACol, int ARow, const QString &Value);
    // The grid never frees the objects.
    virtual TObject *Objects(int ACol, int ARow) const;
    virtual void SetObjects(int ACol, int ARow, TObject *Value);
    TStrings *Rows(int Index);
    void SetRows(int Index, TStrings *Value) { Rows(Index)->Assign(Value); }
    TStrings *Cols(int Index);
    void SetCols(int Index, TStrings *Value) { Cols(Index)->Assign(Value); }

    // Moves every stored cell of row FromRow (texts and objects, beyond the counts too) into
    // row ToRow, whose cells it replaces, and leaves FromRow empty. Nothing is freed.
    void MoveCellRow(int FromRow, int ToRow);
    // Rows ARow1 and ARow2 trade all their stored cells (texts and objects, beyond the counts
    // too). One pointer per row moves, whatever the rows hold; nothing is freed.
    void SwapCellRows(int ARow1, int ARow2);
    // Rows First .. First + Order.size() - 1 take the stored cells the rows First + Order[i]
    // held before, as sorting rearranges a block of rows: one pointer per row moves. Order must
    // be a permutation of 0 .. Order.size() - 1 (EInvalidGridOperation otherwise, with nothing
    // moved). Nothing is freed.
    void PermuteCellRows(int First, const std::vector<int> &Order);
    // Cells with a text or an object, inside the counts or not.
    size_t StoredCellCount() const;
    // Column and row counts that reach every stored cell, inside the counts or not.
    TGridCoord StoredCellExtent() const;
    // Calls Visit for each stored object in columns ACol1..ACol2 and rows ARow1..ARow2,
    // row by row; Visit must not write to the grid.
    void VisitStoredObjects(int ACol1, int ARow1, int ACol2, int ARow2,
                            const std::function<void(int ACol, int ARow, TObject *Object)> &Visit) const;

protected:
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString &Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;

private:
    int editUpdate_ = 0;
    TGridCellStore store_;
    std::map<int, std::unique_ptr<TStringGridStrings>> rows_, cols_;
};
