// Filtering rows: which text of a row each condition matches, how conditions join, and how the
// rows that fail are hidden as one filter level and brought back; the column filter drop-down.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"

#include <cmath>

TObject *TProStringGrid::FilterValueMark()
{
    static TObject mark;
    return &mark;
}

// ---------------------------------------------------------------------------------------------
// Matching a row

QString TProStringGrid::FilterText(const TFilterData *Item, int ARow)
{
    const int col = Item->Column();
    QString text;
    switch (Item->Data()) {
    case fcNormal:
        text = GetGridCell(col, ARow);
        break;
    case fcStripHTML:
        text = GetStrippedCell(col, ARow);
        break;
    case fcCalculated:
        GetFormulaText(col, ARow, text);
        break;
    case fcRow: {
        // The stored texts of the shown columns, one per line.
        QStringList cells;
        for (int d = 0; d < ColCount(); ++d)
            cells << GetGridCell(RealColIndex(d), ARow);
        text = cells.join(QStringLiteral("\r\n"));
        break;
    }
    default:
        text = GetCellEx(col, ARow);
        break;
    }
    text = Trim(text);
    if (text.startsWith(QStringLiteral("|\\")))
        text = DecodeWideCellText(text);
    return text;
}

bool TProStringGrid::ItemMatches(const TFilterData *Item, int Index, const QString &Text)
{
    if (Item->Data() == fcRow)
        return AnsiUpperCase(Text).contains(AnsiUpperCase(Item->Condition()));
    QString t = Text;
    const QString &prefix = Item->Prefix();
    if (!prefix.isEmpty() && t.startsWith(prefix))
        t.remove(0, prefix.size());
    const QString &suffix = Item->Suffix();
    if (!suffix.isEmpty()) {
        const qsizetype at = t.indexOf(suffix);
        if (at >= 0 && at + suffix.size() == t.size())
            t.truncate(at);
    }
    const QString &cond = Item->Condition();
    const Qt::CaseSensitivity cs = Item->CaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (Item->Literal()) {
    case flWhole:
        return Item->CaseSensitive() ? t == cond : AnsiUpperCase(t) == AnsiUpperCase(cond);
    case flPart:
        return t.contains(cond, cs);
    default:
        break;
    }
    if (cond.isEmpty())
        return true;
    // Conditions are prepared once and kept while they stay the same.
    if (size_t(Index) >= FFilterExpressions.size())
        FFilterExpressions.resize(size_t(Index) + 1);
    std::unique_ptr<TFilterExpression> &e = FFilterExpressions[size_t(Index)];
    if (!e || e->Expression() != cond || e->CaseSensitive() != Item->CaseSensitive())
        e = std::make_unique<TFilterExpression>(cond, Item->CaseSensitive());
    return e->Matches(t);
}

bool TProStringGrid::RowMatchesFilter(int ARow)
{
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData *item = FFilter->Items(i);
        bool m = false;
        try {
            m = ItemMatches(item, i, FilterText(item, ARow));
        } catch (const Exception &) {
            m = false;
        }
        switch (item->Operation()) {
        case foSHORT:
            result = m;
            break;
        case foNONE:
            result = m;
            break;
        case foAND:
            result = result && m;
            break;
        case foXOR:
            result = result != m;
            break;
        case foOR:
            result = result || m;
            break;
        }
        if (item->Operation() == foSHORT && !m)
            break;
    }
    if (OnCustomFilter)
        OnCustomFilter(this, ARow, result);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Applying and removing levels

void TProStringGrid::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int first = FixedRows(), last = RowCount() - FFixedFooters - 1;
    const int n = last - first + 1;
    auto progress = [&](int count) {
        if (OnFilterProgress && n > 0)
            OnFilterProgress(this, int16_t(std::lround(double(count) / n * 100)));
    };
    TIntList list(0, 0);
    int count = 0;
    for (int r = first; r <= last; ++r) {
        if (FilterNormalCellsOnly() && (IsNode(r) || IsSummary(r)))
            continue;
        if (!RowMatchesFilter(r))
            list.Add(r);
        progress(++count);
    }
    HideRowList(&list);
    progress(count);
}

void TProStringGrid::FilterRow(int ARow)
{
    if (!RowMatchesFilter(ARow))
        HideRow(RealRowIndex(ARow));
}

void TProStringGrid::SetFilterActive(bool Value)
{
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount())
                FocusCell(FixedCols(), FixedRows());
            TGridUpdateLock lock(this);
            ApplyFilter();
            lock.Release();
            FSelHidden = false;
        } else {
            UnHideRowList();
            // The level is gone like any other level taken off.
            if (FFilterLevel > 0)
                --FFilterLevel;
            if (FFilterFixedRows >= 0)
                SetFixedRows(FFilterFixedRows);
            if (FSelHidden)
                UnHideSelection();
        }
        SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

bool TProStringGrid::RemoveLastFilter()
{
    if (FFilterLevel <= 0)
        return false;
    UnHideRowList();
    if (FFilterFixedRows >= 0)
        SetFixedRows(FFilterFixedRows);
    if (FSelHidden)
        UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    return FFilterLevel > 1;
}

void TProStringGrid::RemoveAllFilters()
{
    if (FFilterLevel == 0) {
        FFilter->Clear();
        return;
    }
    while (FFilterLevel >= 1)
        RemoveLastFilter();
}

void TProStringGrid::NarrowDown(const QString &ACondition, int AColumn)
{
    FFixedRowAlways = true;
    const QString last = FLastFilter;
    // The typed text is matched as it stands, anywhere in the cell and whatever its case.
    auto setFilter = [&] {
        FFilter->Clear();
        TFilterData *item = FFilter->Add();
        item->SetCondition(ACondition);
        item->SetCaseSensitive(false);
        item->SetColumn(int16_t(AColumn));
        if (AColumn == -1) {
            item->SetData(fcRow);
        } else {
            item->SetData(fcNormal);
            item->SetLiteral(flPart);
        }
    };
    if (!last.isEmpty() && ACondition.size() == last.size() + 1 && ACondition.startsWith(last)) {
        setFilter();
        ApplyFilter();
    } else if (last.size() == ACondition.size() + 1 && !ACondition.isEmpty() && last.startsWith(ACondition)) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!ACondition.isEmpty()) {
            setFilter();
            ApplyFilter();
        }
    }
    FLastFilter = ACondition;
}

void TProStringGrid::FilterDone()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

// ---------------------------------------------------------------------------------------------
// The column filter drop-down

void TProStringGrid::SplitFilterEntry(int Index, QString &FriendlyName, QString &Condition, bool &Literal) const
{
    const QString e = FFilterList->Strings(Index);
    Literal = false;
    // A value of the column itself (marked when the list was filled) is matched exactly: its
    // "*", "?", "=" or comparison marks are text. A value holding a blank is listed as
    // "value=\"value\"".
    if (FFilterList->Objects(Index) == FilterValueMark()) {
        QString value = e;
        if (e.contains(QChar(' '))) {
            value = e.left((e.size() - 3) / 2);
            Literal = e == value + QStringLiteral("=\"") + value + QChar('"');
        } else {
            Literal = true;
        }
        if (Literal) {
            FriendlyName = value;
            Condition = Trim(value);
            return;
        }
    }
    const qsizetype eq = e.indexOf(QChar('='));
    FriendlyName = eq >= 0 ? e.left(eq) : e;
    Condition = eq >= 0 ? e.mid(eq + 1) : e;
}

void TProStringGrid::FilterDropDownSelect(int ItemIndex)
{
    if (CanFocus())
        SetFocus();
    if (FFilterCol >= 0 && FFilterCol < AllColCount() && ItemIndex >= 0 && ItemIndex < FDropList->Items()->Count()) {
        GetColumnFilter(FFilterCol);
        if (ItemIndex < FFilterList->Count()) {
            QString name, cond;
            bool literal = false;
            SplitFilterEntry(ItemIndex, name, cond, literal);
            if (FAutoFilterUpdate)
                SetFilterActive(false);
            if (!literal && cond == FilterDropDownClear())
                cond.clear();
            const QString chosen = cond;
            if (OnFilterSelect)
                OnFilterSelect(this, FFilterCol, ItemIndex, name, cond);
            // A condition the handler rewrote is an expression of its own.
            literal = literal && cond == chosen;
            if (!cond.isEmpty() || literal) {
                TFilterData *item = FFilter->ColumnFilter(FFilterCol);
                item->SetCondition(cond);
                item->SetLiteral(literal ? flWhole : flNone);
            } else {
                FFilter->RemoveColumnFilter(FFilterCol);
            }
            if (FAutoFilterUpdate) {
                FFixedRowAlways = true;
                SetFilterActive(true);
                if (RowCount() != FixedRows() && (RowCount() != 1 || !FFixedRowAlways))
                    SetRow(FixedRows());
                FilterDone();
            }
        }
    }
    FFilterCol = -1;
}

void TProStringGrid::FilterCheckListApply()
{
    if (FFilterCol < 0 || FFilterCol >= AllColCount())
        return;
    GetColumnFilter(FFilterCol);
    if (FAutoFilterUpdate)
        SetFilterActive(false);
    FFilter->Clear();
    bool first = true;
    const int n = std::min(FDropCheckList->Items()->Count(), FFilterList->Count());
    for (int i = 0; i < n; ++i) {
        if (!FDropCheckList->Checked(i))
            continue;
        QString name, cond;
        bool literal = false;
        SplitFilterEntry(i, name, cond, literal);
        if (!literal && cond == FilterDropDownClear())
            cond.clear();
        TFilterData *item = FFilter->Add();
        item->SetCondition(cond);
        item->SetColumn(int16_t(FFilterCol));
        item->SetOperation(first ? foNONE : foOR);
        item->SetLiteral(literal ? flWhole : flNone);
        first = false;
    }
    SetFilterActive(true);
    FDropCheckList->Invalidate();
}
