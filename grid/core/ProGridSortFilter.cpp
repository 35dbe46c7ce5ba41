#include "grid/core/ProGridSortFilter.h"
#include "framework/controls/Messages.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProGrid.h"
#include "grid/core/ProGridOptions.h"
#include <QStringList>
#include <algorithm>

// ---- Sorting -------------------------------------------------------------------------------------

void TSortSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TSortSettings *>(Source);
    if (!src)
        return;
    FAutoSortForGrouping = src->FAutoSortForGrouping;
    FAutoColumnMerge = src->FAutoColumnMerge;
    FColumn = src->FColumn;
    FShow = src->FShow;
    FIndexShow = src->FIndexShow;
    FIndexColor = src->FIndexColor;
    FIndexSortKey = src->FIndexSortKey;
    FFull = src->FFull;
    FSingleColumn = src->FSingleColumn;
    FIgnoreBlanks = src->FIgnoreBlanks;
    FBlankPos = src->FBlankPos;
    FAutoFormat = src->FAutoFormat;
    FDirection = src->FDirection;
    FInitSortDirection = src->FInitSortDirection;
    FFixedCols = src->FFixedCols;
    FNormalCellsOnly = src->FNormalCellsOnly;
    FRow = src->FRow;
    FUndoSort = src->FUndoSort;
    FHeaderColor = src->FHeaderColor;
    FHeaderColorTo = src->FHeaderColorTo;
    FHeaderMirrorColor = src->FHeaderMirrorColor;
    FHeaderMirrorColorTo = src->FHeaderMirrorColorTo;
    FUpGlyph->Assign(src->FUpGlyph.get());
    FDownGlyph->Assign(src->FDownGlyph.get());
    FIndexUpGlyph->Assign(src->FIndexUpGlyph.get());
    FIndexDownGlyph->Assign(src->FIndexDownGlyph.get());
}

void TSortSettings::SetShow(bool v)
{
    if (v == FShow)
        return;
    FShow = v;
    if (FGrid)
        FGrid->Invalidate();
}

void TSortSettings::SetRow(int v)
{
    if (FGrid && v >= FGrid->FixedRows())
        throw Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    FRow = v;
}

void TSortSettings::SetHeaderLook(TColor &Field, TColor v)
{
    if (v == Field)
        return;
    Field = v;
    RepaintHeader();
}

void TSortSettings::RepaintHeader()
{
    if (FGrid && FGrid->FixedRows() > 0)
        FGrid->RepaintRow(FGrid->FixedRows() - 1);
}

QString TSortSettings::SaveToString() const
{
    if (FIndexShow)
        return QStringLiteral("i;") + (FGrid ? FGrid->SortIndexes()->SaveToString() : QString());
    return (FDirection == sdDescending ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(FColumn);
}

void TSortSettings::LoadFromString(const QString &Value)
{
    if (Value.isEmpty())
        return;
    SetShow(true);
    if (Value.size() < 2)
        throw Exception(QStringLiteral("Invalid sort settings specifier"));
    if (!Value.contains(QStringLiteral("i;"))) {
        FIndexShow = false;
        FDirection = Value.contains(QLatin1Char('u')) ? sdAscending : sdDescending;
        int32_t col = 0;
        if (!TryStrToInt(Value.mid(1), col))
            return;
        FColumn = col;
        if (FGrid)
            FGrid->QSort();
        return;
    }
    FIndexShow = true;
    const QString rest = Value.mid(2);
    if (rest.isEmpty() || !FGrid)
        return;
    FGrid->SortIndexes()->LoadFromString(rest);
    // A list of nothing but empty entries leaves nothing to sort by.
    if (FGrid->SortIndexes()->Count() > 0)
        FGrid->QSortIndexed();
}

void TSortSettings::Remove()
{
    FColumn = -1;
    if (!FGrid)
        return;
    FGrid->SortIndexes()->Clear();
    RepaintHeader();
}

// ---- Filtering -----------------------------------------------------------------------------------

void TFilterData::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TFilterData *>(Source);
    if (!src)
        return;
    FColumn = src->FColumn;
    FCondition = src->FCondition;
    FCaseSensitive = src->FCaseSensitive;
    FSuffix = src->FSuffix;
    FPrefix = src->FPrefix;
    FOperation = src->FOperation;
    FData = src->FData;
    FLiteral = src->FLiteral;
}

TFilter::TFilter(TProStringGrid *AGrid) : TOwnedCollection(AGrid, CollectionItemClass<TFilterData>()), FGrid(AGrid)
{
}

TFilterData *TFilter::Add()
{
    auto *d = static_cast<TFilterData *>(TCollection::Add());
    d->SetOperation(Count() == 1 ? foNONE : foAND);
    return d;
}

TFilterData *TFilter::Insert(int Index)
{
    auto *d = static_cast<TFilterData *>(TCollection::Insert(std::clamp(Index, 0, Count())));
    d->SetOperation(Count() == 1 ? foNONE : foAND);
    return d;
}

TFilterData *TFilter::GetColFilter(int ACol)
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Column() == ACol)
            return Items(i);
    TFilterData *d = Add();
    d->SetColumn(int16_t(ACol));
    return d;
}

bool TFilter::HasFilter(int ACol) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Column() == ACol)
            return true;
    return false;
}

void TFilter::RemoveColumnFilter(int ACol)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i)->Column() == ACol)
            Delete(i);
    if (FGrid)
        FGrid->RepaintCell(ACol, 0);
}

void TFilterDropDown::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TFilterDropDown *>(Source);
    if (!src)
        return;
    FColor = src->FColor;
    FColumnWidth = src->FColumnWidth;
    FFont->Assign(src->FFont.get());
    FHeight = src->FHeight;
    FWidth = src->FWidth;
    SetGlyph(src->FGlyph.get());
    SetGlyphActive(src->FGlyphActive.get());
}

void TFilterDropDown::SetGlyph(TBitmap *v)
{
    FGlyph->Assign(v);
    if (OnChange)
        OnChange(this);
}

void TFilterDropDown::SetGlyphActive(TBitmap *v)
{
    FGlyphActive->Assign(v);
    if (OnChange)
        OnChange(this);
}

// ---- The drop-down lists -------------------------------------------------------------------------

namespace {

// Another control took the mouse: a press outside the list closes it, and the grid that owns it
// no longer has a filter column open.
void CancelDropDown(TListBox *List, int *FilterCol)
{
    if (List->ClientRect().Contains(List->ScreenToClient(GetCursorPos())))
        return;
    if (FilterCol)
        *FilterCol = -1;
    List->SetVisible(false);
}

} // namespace

void TDropList::Dispatch(TMessage &Message)
{
    if (Message.Msg == CM_CANCELMODE) {
        auto *grid = dynamic_cast<TProStringGrid *>(Owner());
        CancelDropDown(this, grid ? &grid->FFilterCol : nullptr);
    }
    TListBox::Dispatch(Message);
}

void TDropList::Choose()
{
    SetVisible(false);
    if (OnSelect)
        OnSelect(this, ItemIndex());
}

void TDropList::KeyPress(QChar &Key)
{
    TListBox::KeyPress(Key);
    if (Key == QChar(VK_RETURN))
        Choose();
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    Choose();
}

void TDropCheckList::Dispatch(TMessage &Message)
{
    if (Message.Msg == CM_CANCELMODE) {
        auto *grid = dynamic_cast<TProStringGrid *>(Owner());
        CancelDropDown(this, grid ? &grid->FFilterCol : nullptr);
    }
    TCheckListBox::Dispatch(Message);
}

void TDropCheckList::ClickCheck()
{
    if (OnSelect)
        OnSelect(this, -1);
}
