#include "grid/core/ProGridOptions.h"
#include "framework/rtl/SysUtils.h"
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Search footer

TSearchFooter::TSearchFooter(TComponent *AOwner, bool InitDesign) : FOwner(AOwner)
{
    if (!InitDesign)
        return;
    FFindPrevCaption = QStringLiteral("Find &previous");
    FFindNextCaption = QStringLiteral("Find &next");
    FMatchCaseCaption = QStringLiteral("Match case");
    FHighLightCaption = QStringLiteral("Highlight");
    FHintClose = QStringLiteral("Close");
    FHintFindNext = QStringLiteral("Find next occurrence");
    FHintFindPrev = QStringLiteral("Find previous occurrence");
    FHintHighlight = QStringLiteral("Highlight occurrences");
}

void TSearchFooter::SetFont(TFont *v)
{
    FFont->Assign(v);
    Changed();
}

void TSearchFooter::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TSearchFooter *>(Source);
    if (!src)
        return;
    FAlwaysHighLight = src->FAlwaysHighLight;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FFindNextCaption = src->FFindNextCaption;
    FFindPrevCaption = src->FFindPrevCaption;
    FHighLightCaption = src->FHighLightCaption;
    FMatchCaseCaption = src->FMatchCaseCaption;
    FHintClose = src->FHintClose;
    FHintFindNext = src->FHintFindNext;
    FHintFindPrev = src->FHintFindPrev;
    FHintHighlight = src->FHintHighlight;
    FShowClose = src->FShowClose;
    FShowFindNext = src->FShowFindNext;
    FShowFindPrev = src->FShowFindPrev;
    FShowHighLight = src->FShowHighLight;
    FShowMatchCase = src->FShowMatchCase;
    FSearchActiveColumnOnly = src->FSearchActiveColumnOnly;
    FSearchMatchStart = src->FSearchMatchStart;
    FSearchColumn = src->FSearchColumn;
    FSearchDirection = src->FSearchDirection;
    FSearchHiddenRows = src->FSearchHiddenRows;
    FVisible = src->FVisible;
    FFont->Assign(src->FFont.get());
}

// ---------------------------------------------------------------------------------------------
// Navigation

void TNavigation::SetAdvanceInsert(bool v)
{
    if (FAdvanceInsert == v)
        return;
    FAdvanceInsert = v;
    Changed();
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection v)
{
    if (FAdvanceDirection == v)
        return;
    FAdvanceDirection = v;
    Changed();
}

void TNavigation::SetAdvanceAuto(bool v)
{
    if (FAdvanceAuto == v)
        return;
    FAdvanceAuto = v;
    if (v)
        FAdvanceOnEnter = true;
}

void TNavigation::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TNavigation *>(Source);
    if (!s)
        return;
    FAllowInsertRow = s->FAllowInsertRow;
    FAllowDeleteRow = s->FAllowDeleteRow;
    FAdvanceOnEnter = s->FAdvanceOnEnter;
    FAdvanceInsert = s->FAdvanceInsert;
    FAutoGotoWhenSorted = s->FAutoGotoWhenSorted;
    FAutoGotoIncremental = s->FAutoGotoIncremental;
    FAutoComboDropSize = s->FAutoComboDropSize;
    FAllowClipboardShortCuts = s->FAllowClipboardShortCuts;
    FAllowRTFClipboard = s->FAllowRTFClipboard;
    FAllowSmartClipboard = s->FAllowSmartClipboard;
    FAllowClipboardAlways = s->FAllowClipboardAlways;
    FAllowClipboardColGrow = s->FAllowClipboardColGrow;
    FAllowClipboardRowGrow = s->FAllowClipboardRowGrow;
    FClipboardPasteAction = s->FClipboardPasteAction;
    FCopyHTMLTagsToClipboard = s->FCopyHTMLTagsToClipboard;
    FAdvanceDirection = s->FAdvanceDirection;
    FAdvanceAuto = s->FAdvanceAuto;
    FAdvanceAutoEdit = s->FAdvanceAutoEdit;
    FCursorWalkEditor = s->FCursorWalkEditor;
    FCursorWalkAlwaysEdit = s->FCursorWalkAlwaysEdit;
    FMoveRowOnSort = s->FMoveRowOnSort;
    FImproveMaskSel = s->FImproveMaskSel;
    FAlwaysEdit = s->FAlwaysEdit;
    FInsertPosition = s->FInsertPosition;
    FLineFeedOnEnter = s->FLineFeedOnEnter;
    FHomeEndKey = s->FHomeEndKey;
    FKeepHorizScroll = s->FKeepHorizScroll;
    FAllowFmtClipboard = s->FAllowFmtClipboard;
    FTabToNextAtEnd = s->FTabToNextAtEnd;
    FEditSelectAll = s->FEditSelectAll;
    FTabAdvanceDirection = s->FTabAdvanceDirection;
    FSkipFixedCells = s->FSkipFixedCells;
    FSkipDisabledRows = s->FSkipDisabledRows;
    FAllowCtrlEnter = s->FAllowCtrlEnter;
    FAppendOnArrowDown = s->FAppendOnArrowDown;
    FLeftRightRowSelect = s->FLeftRightRowSelect;
    FMoveScrollOnly = s->FMoveScrollOnly;
    FComboGetUpDown = s->FComboGetUpDown;
    FAdvanceOnEnterLoop = s->FAdvanceOnEnterLoop;
    FCursorAdvance = s->FCursorAdvance;
}

// ---------------------------------------------------------------------------------------------
// Mouse actions

TMouseActions::TMouseActions() = default;

void TMouseActions::SetDisjunctRowSelect(bool v)
{
    FDisjunctRowSelect = v;
    if (v && IsDesigning())
        FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool v)
{
    FDisjunctColSelect = v;
    if (v && IsDesigning())
        FDisjunctRowSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool v)
{
    FDisjunctCellSelect = v;
    if (v && IsDesigning())
        FDisjunctRowSelect = FDisjunctColSelect = false;
}

void TMouseActions::SetHotmailRowSelect(bool v)
{
    FHotmailRowSelect = v;
    if (v) {
        FDisjunctRowSelect = true;
        FCheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool v)
{
    FEditOnDblClickOnly = v;
    if (v && OnDisableEdit)
        OnDisableEdit(this);
}

void TMouseActions::SetWheelAction(TWheelAction v)
{
    if (FWheelAction == v)
        return;
    FWheelAction = v;
    if (OnChange)
        OnChange(this);
}

void TMouseActions::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TMouseActions *>(Source);
    if (!s)
        return;
    FColSelect = s->FColSelect;
    FRowSelect = s->FRowSelect;
    FAllSelect = s->FAllSelect;
    FDirectEdit = s->FDirectEdit;
    FDirectComboDrop = s->FDirectComboDrop;
    FDirectComboClose = s->FDirectComboClose;
    FDirectDateClose = s->FDirectDateClose;
    FDirectDateDrop = s->FDirectDateDrop;
    FDisjunctRowSelect = s->FDisjunctRowSelect;
    FDisjunctColSelect = s->FDisjunctColSelect;
    FAllColumnSize = s->FAllColumnSize;
    FAllRowSize = s->FAllRowSize;
    FCaretPositioning = s->FCaretPositioning;
    FSizeFixedCol = s->FSizeFixedCol;
    FDisjunctCellSelect = s->FDisjunctCellSelect;
    FFixedRowsEdit = s->FFixedRowsEdit;
    FFixedColsEdit = s->FFixedColsEdit;
    FFixedRowsEditor = s->FFixedRowsEditor;
    FFixedColsEditor = s->FFixedColsEditor;
    FRangeSelectAndEdit = s->FRangeSelectAndEdit;
    FNoAutoRangeScroll = s->FNoAutoRangeScroll;
    FPreciseCheckBoxCheck = s->FPreciseCheckBoxCheck;
    FPreciseNodeClick = s->FPreciseNodeClick;
    FCheckAllCheck = s->FCheckAllCheck;
    FNodeAllExpandContract = s->FNodeAllExpandContract;
    FMoveRowOnNodeClick = s->FMoveRowOnNodeClick;
    FRowSelectPersistent = s->FRowSelectPersistent;
    FSelectOnRightClick = s->FSelectOnRightClick;
    FNoScrollOnPartialRow = s->FNoScrollOnPartialRow;
    FWheelIncrement = s->FWheelIncrement;
    FWheelAction = s->FWheelAction;
    FAutoSizeColOnDblClick = s->FAutoSizeColOnDblClick;
    FDisjunctRowSelectNoCtrl = s->FDisjunctRowSelectNoCtrl;
}

// ---------------------------------------------------------------------------------------------
// Bands, focus helper, modified rows

void TBands::SetActive(bool v)
{
    if (FActive == v)
        return;
    FActive = v;
    if (OnChange)
        OnChange(this);
}

void TBands::SetPrimaryColor(TColor v)
{
    if (FPrimaryColor == v)
        return;
    FPrimaryColor = v;
    ChangedWhileActive();
}

void TBands::SetSecondaryColor(TColor v)
{
    if (FSecondaryColor == v)
        return;
    FSecondaryColor = v;
    ChangedWhileActive();
}

void TBands::SetPrimaryLength(int v)
{
    if (FPrimaryLength == v)
        return;
    FPrimaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhileActive();
}

void TBands::SetSecondaryLength(int v)
{
    if (FSecondaryLength == v)
        return;
    FSecondaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhileActive();
}

void TBands::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TBands *>(Source);
    if (!s)
        return;
    FActive = s->FActive;
    FPrimaryColor = s->FPrimaryColor;
    FSecondaryColor = s->FSecondaryColor;
    FPrimaryLength = s->FPrimaryLength;
    FSecondaryLength = s->FSecondaryLength;
    FPrint = s->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

void TFocusHelper::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TFocusHelper *>(Source))
        FEnabled = s->FEnabled;
}

void TShowModified::SetColor(TColor v)
{
    FColor = v;
    if (OnChange)
        OnChange(this);
}

void TShowModified::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TShowModified *>(Source);
    if (!s)
        return;
    FColor = s->FColor;
    FEnabled = s->FEnabled;
}

// ---------------------------------------------------------------------------------------------
// Integer lists

void TIntList::SetInteger(int Index, int Value)
{
    SetItems(Index, reinterpret_cast<void *>(intptr_t(Value)));
    Changed();
}

int TIntList::Add(int Value)
{
    const int i = TList::Add(reinterpret_cast<void *>(intptr_t(Value)));
    Changed();
    return i;
}

void TIntList::Insert(int Index, int Value)
{
    TList::Insert(Index, reinterpret_cast<void *>(intptr_t(Value)));
}

void TIntList::Delete(int Index)
{
    TList::Delete(Index);
    Changed();
}

int TIntList::IndexOf(int Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetInteger(i) == Value)
            return i;
    return -1;
}

void TIntList::DeleteValue(int Value)
{
    const int i = IndexOf(Value);
    if (i >= 0)
        Delete(i);
}

QString TIntList::StrValue() const
{
    QStringList parts;
    for (int i = 0; i < Count(); ++i)
        parts << QString::number(GetInteger(i));
    return parts.join(QLatin1Char(','));
}

void TIntList::SetStrValue(const QString &Value)
{
    TStringList sl;
    sl.SetCommaText(Value);
    Clear();
    for (int i = 0; i < sl.Count(); ++i)
        Add(StrToInt(sl.Strings(i)));
}

namespace {
constexpr uint32_t kDescending = 0x80000000u;
constexpr uint32_t kColumnBits = 0x7FFFFFFFu;
} // namespace

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    uint32_t v = uint32_t(ColumnIndex);
    if (!Ascending)
        v |= kDescending;
    Add(int(v));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    for (int i = 0; i < Count(); ++i)
        if ((uint32_t(GetInteger(i)) & kColumnBits) == uint32_t(ColumnIndex))
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    const int i = FindIndex(ColumnIndex);
    if (i >= 0)
        SetInteger(i, int(uint32_t(GetInteger(i)) ^ kDescending));
}

int TSortIndexList::GetSortColumns(int i) const
{
    return int(uint32_t(GetInteger(i)) & kColumnBits);
}

void TSortIndexList::SetSortColumns(int i, int Value)
{
    const uint32_t old = uint32_t(GetInteger(i));
    SetInteger(i, int((old & kDescending) | (uint32_t(Value) & kColumnBits)));
}

bool TSortIndexList::GetSortDirections(int i) const
{
    return (uint32_t(GetInteger(i)) & kDescending) == 0;
}

void TSortIndexList::SetSortDirections(int i, bool Value)
{
    const uint32_t old = uint32_t(GetInteger(i));
    SetInteger(i, int(Value ? (old & kColumnBits) : (old | kDescending)));
}

// The whole column is written: cutting it to 16 bits would load a different column back.
QString TSortIndexList::SaveToString() const
{
    QStringList parts;
    for (int i = 0; i < Count(); ++i)
        parts << (GetSortDirections(i) ? QStringLiteral("u") : QStringLiteral("d")) +
                     QString::number(GetSortColumns(i));
    return parts.join(QLatin1Char(';'));
}

void TSortIndexList::LoadFromString(const QString &s)
{
    Clear();
    QString rest = s;
    while (!rest.isEmpty()) {
        const qsizetype p = rest.indexOf(QLatin1Char(';'));
        const QString piece = p < 0 ? rest : rest.left(p);
        rest = p < 0 ? QString() : rest.mid(p + 1);
        if (piece.size() < 2)
            continue;
        AddIndex(StrToInt(piece.mid(1)), piece[0] == QLatin1Char('u'));
    }
}

// ---------------------------------------------------------------------------------------------
// Cell controls

TControlList::~TControlList()
{
    while (Count() > 0)
        RemoveControl(Count() - 1);
}

void TControlList::AddControl(int X, int Y, TControl *AObject)
{
    TList::Add(new TControlItem(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetControl(i)->FX == X && GetControl(i)->FY == Y)
            return i;
    return -1;
}

void TControlList::RemoveControl(int i)
{
    delete GetControl(i);
    TList::Delete(i);
}

bool TControlList::HasHandle(HWND Handle) const
{
    for (int i = 0; i < Count(); ++i)
        if (auto *w = dynamic_cast<TWinControl *>(GetControl(i)->FObject); w && w->Handle() == Handle)
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// File pictures

void TFilePicture::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TFilePicture *>(Source);
    if (!s)
        return;
    FFilename = s->FFilename;
    FWidth = s->FWidth;
    FHeight = s->FHeight;
}

void TFilePicture::SetFilename(const QString &Value)
{
    FFilename = Value;
    TPicture pic;
    pic.LoadFromFile(Value);
    FWidth = pic.Width();
    FHeight = pic.Height();
}

void TFilePicture::DrawPicture(TCanvas *Canvas, const TRect &r) const
{
    if (FFilename.isEmpty())
        return;
    TPicture pic;
    try {
        pic.LoadFromFile(FFilename);
    } catch (const Exception &) {
        return;
    }
    Canvas->StretchDraw(r, pic.Graphic());
}

// ---------------------------------------------------------------------------------------------
// Hidden-row items

TGridItem::TGridItem(TCollection *Collection) : TCollectionItem(Collection), FItems(new TStringList) {}

// The objects attached to the strings go back to the grid on restoring; the grid frees the
// ones still here when it goes.
TGridItem::~TGridItem()
{
    delete FItems;
}

void TGridItem::SetIdx(int Value)
{
    FIdx = Value;
    if (auto *items = dynamic_cast<TGridItems *>(Collection()))
        items->IndexChanged();
}

void TGridItem::SetItems(TStringList *Value)
{
    if (Value == FItems)
        return;
    delete FItems;
    FItems = Value;
}

void TGridItems::Rebuild() const
{
    if (!FDirty)
        return;
    FSorted.clear();
    FSorted.reserve(size_t(Count()));
    for (int i = 0; i < Count(); ++i)
        FSorted.emplace_back(Items(i)->Idx(), i);
    // Items are mostly kept in ascending order already.
    if (!std::is_sorted(FSorted.begin(), FSorted.end()))
        std::sort(FSorted.begin(), FSorted.end());
    FDistinct.clear();
    FGaps.clear();
    for (const auto &[idx, pos] : FSorted) {
        if (idx < 0 || (!FDistinct.empty() && FDistinct.back() == idx))
            continue;
        FGaps.push_back(idx - int(FDistinct.size()));
        FDistinct.push_back(idx);
    }
    FDirty = false;
}

TGridItem *TGridItems::Find(int ARow) const
{
    Rebuild();
    auto it = std::lower_bound(FSorted.begin(), FSorted.end(), std::make_pair(ARow, -1));
    if (it == FSorted.end() || it->first != ARow)
        return nullptr;
    return Items(it->second);
}

int TGridItems::CountBelow(int ARow) const
{
    Rebuild();
    return int(std::lower_bound(FSorted.begin(), FSorted.end(), std::make_pair(ARow, -1)) - FSorted.begin());
}

// With d the hidden rows in ascending order, the k hidden rows before the answer are those
// with d[k] - k <= ARow, and the answer is ARow + k.
int TGridItems::NthShownRow(int ARow) const
{
    Rebuild();
    const auto k = std::upper_bound(FGaps.begin(), FGaps.end(), ARow) - FGaps.begin();
    return ARow + int(k);
}
