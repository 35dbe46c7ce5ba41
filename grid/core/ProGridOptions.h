#pragma once
// The grid's small option groups and containers: search footer, navigation and mouse settings,
// bands, focus helper, modified-row look, integer and sort-column lists, cell control list,
// file pictures, line-oriented string lists and the hidden-row items.
#include "framework/controls/Controls.h"
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Lists.h"
#include "framework/rtl/Strings.h"
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A Boolean option that is a plain field: reader, writer and the field with its default.
#define TARVIX_BOOL_OPTION(Name, Default)                                                          \
public:                                                                                            \
    bool Name() const { return F##Name; }                                                          \
    void Set##Name(bool v) { F##Name = v; }                                                        \
                                                                                                   \
private:                                                                                           \
    bool F##Name = Default;

// ---- Search footer ---------------------------------------------------------------------------

enum TSearchDirection { sdTopBottom, sdLeftRight };

class TSearchFooter : public TPersistent
{
public:
    // Only a grid being designed gets the captions and hints; a stored grid supplies its own.
    TSearchFooter(TComponent *AOwner, bool InitDesign);
    void Assign(TPersistent *Source) override;

    bool AlwaysHighLight() const { return FAlwaysHighLight; }
    void SetAlwaysHighLight(bool v) { FAlwaysHighLight = v; }
    bool AutoSearch() const { return FAutoSearch; }
    void SetAutoSearch(bool v) { FAutoSearch = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Store(FColor, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Store(FColorTo, v); }
    const QString &FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const QString &v) { Store(FFindNextCaption, v); }
    const QString &FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const QString &v) { Store(FFindPrevCaption, v); }
    const QString &HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const QString &v) { Store(FHighLightCaption, v); }
    const QString &MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const QString &v) { Store(FMatchCaseCaption, v); }
    const QString &HintClose() const { return FHintClose; }
    void SetHintClose(const QString &v) { Store(FHintClose, v); }
    const QString &HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const QString &v) { Store(FHintFindNext, v); }
    const QString &HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const QString &v) { Store(FHintFindPrev, v); }
    const QString &HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const QString &v) { Store(FHintHighlight, v); }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *v);
    bool SearchActiveColumnOnly() const { return FSearchActiveColumnOnly; }
    void SetSearchActiveColumnOnly(bool v) { FSearchActiveColumnOnly = v; }
    bool SearchMatchStart() const { return FSearchMatchStart; }
    void SetSearchMatchStart(bool v) { FSearchMatchStart = v; }
    bool SearchFixedCells() const { return FSearchFixedCells; }
    void SetSearchFixedCells(bool v) { FSearchFixedCells = v; }
    bool SearchHiddenRows() const { return FSearchHiddenRows; }
    void SetSearchHiddenRows(bool v) { FSearchHiddenRows = v; }
    int SearchColumn() const { return FSearchColumn; }
    void SetSearchColumn(int v) { FSearchColumn = v; }
    TSearchDirection SearchDirection() const { return FSearchDirection; }
    void SetSearchDirection(TSearchDirection v) { FSearchDirection = v; }
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool v) { Store(FShowClose, v); }
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool v) { StoreChanged(FShowFindNext, v); }
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool v) { StoreChanged(FShowFindPrev, v); }
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool v) { StoreChanged(FShowHighLight, v); }
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool v) { StoreChanged(FShowMatchCase, v); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { StoreChanged(FVisible, v); }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v) { Store(FAutoThemeAdapt, v); }
    // The text searched last.
    QString FLastSearch;

    TNotifyEvent OnChange;

private:
    template <typename T>
    void Store(T &field, const T &v)
    {
        field = v;
        Changed();
    }
    template <typename T>
    void StoreChanged(T &field, const T &v)
    {
        if (field != v)
            Store(field, v);
    }
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }

    TComponent *FOwner;
    bool FAlwaysHighLight = false;
    bool FAutoSearch = true;
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = clBtnFace;
    QString FFindNextCaption, FFindPrevCaption, FHighLightCaption, FMatchCaseCaption;
    QString FHintClose, FHintFindNext, FHintFindPrev, FHintHighlight;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    bool FSearchActiveColumnOnly = false;
    bool FSearchMatchStart = false;
    bool FSearchFixedCells = false;
    bool FSearchHiddenRows = false;
    int FSearchColumn = -1;
    TSearchDirection FSearchDirection = sdTopBottom;
    bool FShowClose = true;
    bool FShowFindNext = true;
    bool FShowFindPrev = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
};

// ---- Navigation --------------------------------------------------------------------------------

enum TPasteAction { paReplace, paInsert };
enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TCursorAdvance { caDefault, caSnake, caLoop };

class TNavigation : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;

    TARVIX_BOOL_OPTION(AllowInsertRow, false)
    TARVIX_BOOL_OPTION(AllowDeleteRow, false)
    TARVIX_BOOL_OPTION(AdvanceOnEnter, false)
    TARVIX_BOOL_OPTION(AutoGotoIncremental, false)
    TARVIX_BOOL_OPTION(AutoComboDropSize, false)
    TARVIX_BOOL_OPTION(AllowClipboardShortCuts, false)
    TARVIX_BOOL_OPTION(AllowRTFClipboard, false)
    TARVIX_BOOL_OPTION(AllowSmartClipboard, false)
    TARVIX_BOOL_OPTION(AllowClipboardAlways, false)
    TARVIX_BOOL_OPTION(AllowClipboardColGrow, true)
    TARVIX_BOOL_OPTION(AllowClipboardRowGrow, true)
    TARVIX_BOOL_OPTION(CopyHTMLTagsToClipboard, true)
    TARVIX_BOOL_OPTION(AdvanceAutoEdit, true)
    TARVIX_BOOL_OPTION(CursorWalkEditor, false)
    TARVIX_BOOL_OPTION(CursorWalkAlwaysEdit, true)
    TARVIX_BOOL_OPTION(MoveRowOnSort, false)
    TARVIX_BOOL_OPTION(KeepScrollOnSort, false)
    TARVIX_BOOL_OPTION(ImproveMaskSel, false)
    TARVIX_BOOL_OPTION(AlwaysEdit, false)
    TARVIX_BOOL_OPTION(LineFeedOnEnter, false)
    TARVIX_BOOL_OPTION(KeepHorizScroll, false)
    TARVIX_BOOL_OPTION(AllowFmtClipboard, false)
    TARVIX_BOOL_OPTION(TabToNextAtEnd, false)
    TARVIX_BOOL_OPTION(EditSelectAll, true)
    TARVIX_BOOL_OPTION(SkipFixedCells, true)
    TARVIX_BOOL_OPTION(SkipDisabledRows, true)
    TARVIX_BOOL_OPTION(AllowCtrlEnter, true)
    TARVIX_BOOL_OPTION(AppendOnArrowDown, false)
    TARVIX_BOOL_OPTION(LeftRightRowSelect, true)
    TARVIX_BOOL_OPTION(MoveScrollOnly, false)
    TARVIX_BOOL_OPTION(ComboGetUpDown, true)
    TARVIX_BOOL_OPTION(AdvanceOnEnterLoop, true)

public:
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool v);
    bool AutoGotoWhenSorted() const { return FAutoGotoWhenSorted; }
    void SetAutoGotoWhenSorted(bool v) { FAutoGotoWhenSorted = v; }
    // Switching it on also switches AdvanceOnEnter on.
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool v);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection v);
    TAdvanceDirection TabAdvanceDirection() const { return FTabAdvanceDirection; }
    void SetTabAdvanceDirection(TAdvanceDirection v) { FTabAdvanceDirection = v; }
    TPasteAction ClipboardPasteAction() const { return FClipboardPasteAction; }
    void SetClipboardPasteAction(TPasteAction v) { FClipboardPasteAction = v; }
    TInsertPosition InsertPosition() const { return FInsertPosition; }
    void SetInsertPosition(TInsertPosition v) { FInsertPosition = v; }
    THomeEndAction HomeEndKey() const { return FHomeEndKey; }
    void SetHomeEndKey(THomeEndAction v) { FHomeEndKey = v; }
    TCursorAdvance CursorAdvance() const { return FCursorAdvance; }
    void SetCursorAdvance(TCursorAdvance v) { FCursorAdvance = v; }

    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    bool FAdvanceInsert = false;
    bool FAutoGotoWhenSorted = false;
    bool FAdvanceAuto = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    TAdvanceDirection FTabAdvanceDirection = adLeftRight;
    TPasteAction FClipboardPasteAction = paReplace;
    TInsertPosition FInsertPosition = pInsertBefore;
    THomeEndAction FHomeEndKey = heFirstLastColumn;
    TCursorAdvance FCursorAdvance = caDefault;
};

// ---- Mouse actions -----------------------------------------------------------------------------

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

using TIsDesigningEvent = std::function<bool(TObject *Sender)>;

class TMouseActions : public TPersistent
{
public:
    TMouseActions();
    void Assign(TPersistent *Source) override;

    TARVIX_BOOL_OPTION(ColSelect, false)
    TARVIX_BOOL_OPTION(RowSelect, false)
    TARVIX_BOOL_OPTION(AllSelect, false)
    TARVIX_BOOL_OPTION(DirectEdit, false)
    TARVIX_BOOL_OPTION(DirectComboDrop, false)
    TARVIX_BOOL_OPTION(DirectComboClose, false)
    TARVIX_BOOL_OPTION(DirectDateClose, false)
    TARVIX_BOOL_OPTION(DirectDateDrop, false)
    TARVIX_BOOL_OPTION(AllColumnSize, false)
    TARVIX_BOOL_OPTION(AllRowSize, false)
    TARVIX_BOOL_OPTION(CaretPositioning, false)
    TARVIX_BOOL_OPTION(SizeFixedCol, false)
    TARVIX_BOOL_OPTION(SizeFixedRow, false)
    TARVIX_BOOL_OPTION(RangeSelectAndEdit, false)
    TARVIX_BOOL_OPTION(NoAutoRangeScroll, false)
    TARVIX_BOOL_OPTION(PreciseCheckBoxCheck, false)
    TARVIX_BOOL_OPTION(PreciseNodeClick, true)
    TARVIX_BOOL_OPTION(CheckAllCheck, false)
    TARVIX_BOOL_OPTION(NodeAllExpandContract, false)
    TARVIX_BOOL_OPTION(MoveRowOnNodeClick, false)
    TARVIX_BOOL_OPTION(RowSelectPersistent, false)
    TARVIX_BOOL_OPTION(SelectOnRightClick, false)
    TARVIX_BOOL_OPTION(NoScrollOnPartialRow, false)
    TARVIX_BOOL_OPTION(AutoSizeColOnDblClick, true)
    TARVIX_BOOL_OPTION(DisjunctRowSelectNoCtrl, false)

public:
    // At design time one of the three clears the other two; at run time they combine.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool v);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool v);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool v);
    // On also switches DisjunctRowSelect and CheckAllCheck on.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool v);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool v);
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction v);
    int WheelIncrement() const { return FWheelIncrement; }
    void SetWheelIncrement(int v) { FWheelIncrement = v; }
    TGridFixedCellEdit FixedRowsEdit() const { return FFixedRowsEdit; }
    void SetFixedRowsEdit(TGridFixedCellEdit v) { FFixedRowsEdit = v; }
    TGridFixedCellEdit FixedColsEdit() const { return FFixedColsEdit; }
    void SetFixedColsEdit(TGridFixedCellEdit v) { FFixedColsEdit = v; }
    TGridFixedCellEditor FixedRowsEditor() const { return FFixedRowsEditor; }
    void SetFixedRowsEditor(TGridFixedCellEditor v) { FFixedRowsEditor = v; }
    TGridFixedCellEditor FixedColsEditor() const { return FFixedColsEditor; }
    void SetFixedColsEditor(TGridFixedCellEditor v) { FFixedColsEditor = v; }
    TStringList *FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(TStrings *v) { FFixedComboValues->Assign(v); }

    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TIsDesigningEvent OnIsDesigning;
    TNotifyEvent OnDisableEdit;

private:
    bool IsDesigning() { return OnIsDesigning && OnIsDesigning(this); }
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    bool FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = waMoveSelection;
    int FWheelIncrement = 0;
    TGridFixedCellEdit FFixedRowsEdit = fceNone;
    TGridFixedCellEdit FFixedColsEdit = fceNone;
    TGridFixedCellEditor FFixedRowsEditor = fceEdit;
    TGridFixedCellEditor FFixedColsEditor = fceEdit;
    std::unique_ptr<TStringList> FFixedComboValues = std::make_unique<TStringList>();
};

#undef TARVIX_BOOL_OPTION

// ---- Bands and focus helper --------------------------------------------------------------------

class TBands : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;

    bool Print() const { return FPrint; }
    void SetPrint(bool v) { FPrint = v; }
    bool Active() const { return FActive; }
    void SetActive(bool v);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor v);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor v);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int v);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int v);
    int TotalLength() const { return FTotalLength; }

    TNotifyEvent OnChange;

private:
    // The look only changes the painting while banding is on.
    void ChangedWhileActive()
    {
        if (FActive && OnChange)
            OnChange(this);
    }
    bool FPrint = false;
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    TColor FSecondaryColor = clWindow;
    int FPrimaryLength = 1;
    int FSecondaryLength = 1;
    int FTotalLength = 2;
};

class TFocusHelper : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }

private:
    bool FEnabled = false;
};

// Marks modified rows in their own colour.
class TShowModified : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);

    TNotifyEvent OnChange;

private:
    bool FEnabled = false;
    TColor FColor = clYellow;
};

// ---- Integer lists -----------------------------------------------------------------------------

using TImageChangeEvent = std::function<void(TObject *Sender, int Acol, int Arow)>;

// Integers of one cell; every change but Insert is reported with the cell.
class TIntList : public TList
{
public:
    TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

    int GetInteger(int Index) const { return int(reinterpret_cast<intptr_t>(Get(Index))); }
    void SetInteger(int Index, int Value);
    int operator[](int Index) const { return GetInteger(Index); }
    int Add(int Value);
    void Insert(int Index, int Value);
    void Delete(int Index);
    void DeleteValue(int Value);
    bool HasValue(int Value) const { return IndexOf(Value) >= 0; }
    // Replaces the integers by the Count values that Fill hands to its writer, in one pass over the
    // list's own storage: one change is reported, none per integer.
    template <class F> void Refill(int Count, F &&Fill)
    {
        std::vector<void *> &items = Storage();
        items.resize(static_cast<size_t>(Count));
        void **at = items.data();
        Fill([&at](int Value) { *at++ = reinterpret_cast<void *>(intptr_t(Value)); });
        Changed();
    }
    int IndexOf(int Value) const;
    // The integers joined by "," without blanks; written as comma text.
    QString StrValue() const;
    void SetStrValue(const QString &Value);

    TImageChangeEvent OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange(this, FCol, FRow);
    }

private:
    int FCol;
    int FRow;
};

// The columns of a multi-column sort in priority order; bit 31 marks a descending column.
class TSortIndexList : public TIntList
{
public:
    TSortIndexList() : TIntList(0, 0) {}
    void AddIndex(int ColumnIndex, bool Ascending);
    int FindIndex(int ColumnIndex) const;
    void ToggleIndex(int ColumnIndex);
    int GetSortColumns(int i) const;
    void SetSortColumns(int i, int Value);
    bool GetSortDirections(int i) const;
    void SetSortDirections(int i, bool Value);
    // "u" or "d" and the column of each entry, joined by ";".
    QString SaveToString() const;
    void LoadFromString(const QString &s);
};

// ---- Cell controls -----------------------------------------------------------------------------

class TControlItem : public TObject
{
public:
    TControlItem(int X, int Y, TControl *AObject) : FX(X), FY(Y), FObject(AObject) {}
    int FX;
    int FY;
    TControl *FObject;
};

// The controls placed in cells; the list owns its items, not the controls.
class TControlList : public TList
{
public:
    ~TControlList() override;
    void AddControl(int X, int Y, TControl *AObject);
    int ControlIndex(int X, int Y) const;
    TControlItem *GetControl(int i) const { return static_cast<TControlItem *>(Get(i)); }
    void RemoveControl(int i);
    bool HasHandle(HWND Handle) const;
};

// ---- Pictures and text files -------------------------------------------------------------------

// A picture kept in a file and loaded each time it is drawn.
class TFilePicture : public TPersistent
{
public:
    void Assign(TPersistent *Source) override;
    const QString &Filename() const { return FFilename; }
    // Loads the picture once to learn its size; a missing or unreadable file raises.
    void SetFilename(const QString &Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A file that has gone or cannot be read any more draws nothing: painting must not raise.
    void DrawPicture(TCanvas *Canvas, const TRect &r) const;

private:
    QString FFilename;
    int FWidth = 0;
    int FHeight = 0;
};

// A string list read and written line by line like a text file.
class TFileStringList : public TStringList
{
public:
    void Reset()
    {
        fp = 0;
        cache.clear();
    }
    bool Eof() const { return fp >= Count(); }
    void ReadLn(QString &s) { s = Strings(fp++); }
    void Write(const QString &s) { cache += s; }
    void WriteLn(const QString &s)
    {
        Add(cache + s);
        cache.clear();
    }

    int fp = 0;
    QString cache;
};

// ---- Hidden rows -------------------------------------------------------------------------------

class TGridItems;

// One hidden row: its cells by real column (each text with its cell's properties) and its height.
class TGridItem : public TCollectionItem
{
public:
    explicit TGridItem(TCollection *Collection);
    ~TGridItem() override;

    int Idx() const { return FIdx; }
    void SetIdx(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    TStringList *Items() const { return FItems; }
    // The list becomes the row's own.
    void SetItems(TStringList *Value);
    int Level = 0;
    // Hidden by a filter level (HideRowList) rather than row by row: only these come back with
    // UnHideRowList, and Level 0 of a filter is not the Level 0 of a plain hidden row.
    bool Filtered = false;

private:
    int FIdx = 0;
    int FHeight = 0;
    TStringList *FItems;
};

// The hidden rows. Row mappings look rows up in a sorted index of the items' Idx values,
// rebuilt after the items change.
class TGridItems : public TOwnedCollection
{
public:
    explicit TGridItems(TPersistent *AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TGridItem>()) {}

    TGridItem *Items(int Index) const { return static_cast<TGridItem *>(TCollection::Items(Index)); }
    TGridItem *Add() { return static_cast<TGridItem *>(TCollection::Add()); }
    TGridItem *Insert(int Index) { return static_cast<TGridItem *>(TCollection::Insert(Index)); }
    // The first item in collection order whose Idx is ARow, or nil.
    TGridItem *Find(int ARow) const;
    // Items whose Idx lies below ARow.
    int CountBelow(int ARow) const;
    // The ARow-th real row, counting from 0, that no item's Idx names.
    int NthShownRow(int ARow) const;
    void IndexChanged() { FDirty = true; }

protected:
    void Notify(TCollectionItem *Item, TCollectionNotification Action) override { FDirty = true; }

private:
    void Rebuild() const;
    // (Idx, position in the collection), sorted.
    mutable std::vector<std::pair<int, int>> FSorted;
    // The distinct non-negative Idx values d[k] and d[k] - k, both ascending.
    mutable std::vector<int> FDistinct;
    mutable std::vector<int> FGaps;
    mutable bool FDirty = true;
};
