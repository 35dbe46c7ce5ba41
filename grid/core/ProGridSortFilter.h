#pragma once
// What the grid's sorting and filtering work from: the sort settings with their text form, the
// column filter conditions, the look of the column filter drop-down and the two lists the grid
// shows as that drop-down.
#include "framework/controls/Controls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Classes.h"
#include "framework/rtl/Lists.h"
#include "grid/core/ProGridField.h"
#include <QString>
#include <functional>
#include <memory>

class TProStringGrid;

// ---- Sorting -------------------------------------------------------------------------------------

enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };
enum TIndexSortKey { ikShift, ikCtrl };

class TSortSettings : public TPersistent
{
public:
    explicit TSortSettings(TProStringGrid *AGrid) : FGrid(AGrid) {}
    // Every setting but IgnoreCase and SortOnVirtualCells; the header colours without a repaint.
    void Assign(TPersistent *Source) override;

    // "u" or "d" and the column ("u3"), or "i;" and the index list ("i;u1;d4").
    QString SaveToString() const;
    // Restores what SaveToString wrote and sorts by it; an empty text does nothing.
    void LoadFromString(const QString &Value);
    // No sort column and no sort index any more.
    void Remove();
    void ToggleDirection() { FDirection = FDirection == sdAscending ? sdDescending : sdAscending; }

    TARVIX_PLAIN_FIELD(bool, AutoSortForGrouping, true)
    TARVIX_PLAIN_FIELD(bool, AutoColumnMerge, false)
    TARVIX_PLAIN_FIELD(int, Column, -1)
    TARVIX_PLAIN_FIELD(bool, IndexShow, false)
    TARVIX_PLAIN_FIELD(TColor, IndexColor, clYellow)
    TARVIX_PLAIN_FIELD(TIndexSortKey, IndexSortKey, ikShift)
    TARVIX_PLAIN_FIELD(bool, Full, true)
    TARVIX_PLAIN_FIELD(bool, SingleColumn, false)
    TARVIX_PLAIN_FIELD(bool, IgnoreBlanks, false)
    TARVIX_PLAIN_FIELD(TSortBlankPosition, BlankPos, blFirst)
    TARVIX_PLAIN_FIELD(bool, AutoFormat, true)
    TARVIX_PLAIN_FIELD(TSortDirection, Direction, sdAscending)
    TARVIX_PLAIN_FIELD(bool, IgnoreCase, false)
    TARVIX_PLAIN_FIELD(TSortDirection, InitSortDirection, sdAscending)
    TARVIX_PLAIN_FIELD(bool, FixedCols, false)
    TARVIX_PLAIN_FIELD(bool, NormalCellsOnly, false)
    TARVIX_PLAIN_FIELD(bool, UndoSort, false)
    TARVIX_PLAIN_FIELD(bool, SortOnVirtualCells, true)
public:
    bool Show() const { return FShow; }
    void SetShow(bool v);
    // The header row that shows the glyph and takes sort clicks; it must be a fixed row.
    int Row() const { return FRow; }
    void SetRow(int v);
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor v) { SetHeaderLook(FHeaderColor, v); }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor v) { SetHeaderLook(FHeaderColorTo, v); }
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor v) { SetHeaderLook(FHeaderMirrorColor, v); }
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor v) { SetHeaderLook(FHeaderMirrorColorTo, v); }

    TBitmap *UpGlyph() const { return FUpGlyph.get(); }
    void SetUpGlyph(TBitmap *v) { FUpGlyph->Assign(v); }
    TBitmap *DownGlyph() const { return FDownGlyph.get(); }
    void SetDownGlyph(TBitmap *v) { FDownGlyph->Assign(v); }
    TBitmap *IndexUpGlyph() const { return FIndexUpGlyph.get(); }
    void SetIndexUpGlyph(TBitmap *v) { FIndexUpGlyph->Assign(v); }
    TBitmap *IndexDownGlyph() const { return FIndexDownGlyph.get(); }
    void SetIndexDownGlyph(TBitmap *v) { FIndexDownGlyph->Assign(v); }

private:
    void SetHeaderLook(TColor &Field, TColor v);
    void RepaintHeader();

    TProStringGrid *FGrid;
    bool FShow = false;
    int FRow = 0;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    std::unique_ptr<TBitmap> FUpGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FDownGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FIndexUpGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FIndexDownGlyph = std::make_unique<TBitmap>();
};

// ---- Filtering -----------------------------------------------------------------------------------

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
// flNone: the condition is an expression; flWhole: the text must equal it; flPart: the text
// must hold it. A literal condition has no wildcards, comparisons or operators.
enum TFilterLiteral { flNone, flWhole, flPart };

class TFilterData : public TCollectionItem
{
public:
    explicit TFilterData(TCollection *Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent *Source) override;

    TARVIX_PLAIN_FIELD(int16_t, Column, 0)
    TARVIX_PLAIN_FIELD(QString, Condition, QString())
    TARVIX_PLAIN_FIELD(bool, CaseSensitive, true)
    TARVIX_PLAIN_FIELD(QString, Suffix, QString())
    TARVIX_PLAIN_FIELD(QString, Prefix, QString())
    TARVIX_PLAIN_FIELD(TFilterOperation, Operation, foSHORT)
    TARVIX_PLAIN_FIELD(TFilterCells, Data, fcVirtual)
    TARVIX_PLAIN_FIELD(TFilterLiteral, Literal, flNone)
};

class TFilter : public TOwnedCollection
{
public:
    explicit TFilter(TProStringGrid *AGrid);
    TFilterData *Items(int Index) const { return static_cast<TFilterData *>(TCollection::Items(Index)); }
    // Copies Value into the condition at Index.
    void SetItems(int Index, TFilterData *Value) { TCollection::SetItems(Index, Value); }
    // The only condition joins with foNONE, later ones with foAND.
    TFilterData *Add();
    // At Index (the end when it lies beyond), joined like a condition that Add makes.
    TFilterData *Insert(int Index);
    // The column's first condition; one is added when the column has none.
    TFilterData *GetColFilter(int ACol);
    TFilterData *ColumnFilter(int ACol) { return GetColFilter(ACol); }
    bool HasFilter(int ACol) const;
    // Every condition of the column.
    void RemoveColumnFilter(int ACol);
    TProStringGrid *Owner() const { return FGrid; }

private:
    TProStringGrid *FGrid;
};

class TFilterDropDown : public TPersistent
{
public:
    TFilterDropDown() = default;
    // AutoSize is not copied.
    void Assign(TPersistent *Source) override;

    TARVIX_PLAIN_FIELD(bool, AutoSize, false)
    TARVIX_PLAIN_FIELD(TColor, Color, clWindow)
    TARVIX_PLAIN_FIELD(bool, ColumnWidth, false)
    TARVIX_PLAIN_FIELD(int, Height, 150)
    TARVIX_PLAIN_FIELD(int, Width, 150)
public:
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *v) { FFont->Assign(v); }
    TBitmap *Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap *v);
    TBitmap *GlyphActive() const { return FGlyphActive.get(); }
    void SetGlyphActive(TBitmap *v);

    // Either glyph changed.
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FGlyphActive = std::make_unique<TBitmap>();
};

using TDropSelectEvent = std::function<void(TObject *Sender, int ItemIndex)>;

// The single-choice list of the column filter drop-down: Enter or a click chooses and closes it.
// Its owner is the grid.
class TDropList : public TListBox
{
public:
    explicit TDropList(TComponent *AOwner) : TListBox(AOwner) {}
    TDropSelectEvent OnSelect;

    void Dispatch(TMessage &Message) override;

protected:
    void KeyPress(QChar &Key) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void Choose();
};

// The several-choice list of the column filter drop-down: it stays open while items are ticked,
// each tick reporting OnSelect with -1. Its owner is the grid.
class TDropCheckList : public TCheckListBox
{
public:
    explicit TDropCheckList(TComponent *AOwner) : TCheckListBox(AOwner) {}
    TDropSelectEvent OnSelect;

    void Dispatch(TMessage &Message) override;

protected:
    void ClickCheck() override;
};
