// The grid's hooks: each applies the grid's own rule and then lets its event have the last word.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"

void TProStringGrid::AssignFontIfDifferent(TFont *Dst, const TFont *Src)
{
    // Painting asks twice per cell; an equal font is left alone so that nothing is rebuilt.
    if (Dst->Name() == Src->Name() && Dst->Size() == Src->Size() && Dst->Style() == Src->Style() &&
        Dst->Color() == Src->Color() && Dst->Charset() == Src->Charset() && Dst->Pitch() == Src->Pitch() &&
        Dst->Orientation() == Src->Orientation())
        return;
    Dst->Assign(const_cast<TFont *>(Src));
}

void TProStringGrid::ApplyCellFont(const TCellProperties *Props, TFont *AFont)
{
    if (Props->FontColor() != clNone)
        AFont->SetColor(Props->FontColor());
    if (!Props->FontStyle().Empty())
        AFont->SetStyle(Props->FontStyle());
    if (Props->FontSize() != 0)
        AFont->SetSize(Props->FontSize());
    if (!Props->FontName().isEmpty())
        AFont->SetName(Props->FontName());
}

void TProStringGrid::CanEditCell(int ACol, int ARow, bool &CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TProStringGrid::SearchFooterAction(const QString &Value, int ACol, int ARow, TSearchAction SearchAction)
{
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TProStringGrid::ButtonClick(int ACol, int ARow)
{
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TProStringGrid::ExpandClick(int ACol, int ARow, bool Expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
    SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TProStringGrid::ComboCloseUp(int ARow, int ACol)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TProStringGrid::ComboDropDown(int ARow, int ACol)
{
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

void TProStringGrid::GetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    TCursor cursor = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
    // Shown at once; the grid's own Cursor stays as it is.
    ShowCursorNow(cursor);
}

void TProStringGrid::GridHint(int ACol, int ARow, QString &HintStr, QString &WideHintStr)
{
    if (OnGridHint)
        OnGridHint(this, ARow, ACol, HintStr);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHintStr);
        if (!WideHintStr.isEmpty())
            HintStr = EncodeWideCellText(WideHintStr);
    }
}

void TProStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont)
{
    if (FActiveCellShow) {
        const int d = DisplColIndex(ACol);
        const int fc = FixedCols(), fr = FixedRows();
        // The header cells of the current row and column.
        if ((ARow == Row() && fc == d + 1 && fc > 0) || (d == Col() && fr == ARow + 1 && fr > 0)) {
            AssignFontIfDifferent(AFont, FActiveCellFont.get());
            ABrush->SetColor(ActiveCellColor());
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        const TCellProperties *props = GetCellProperties(ACol, ARow);
        if (props->BrushColor() != clNone) {
            switch (GetCellType(ACol, ARow)) {
            case ctIcon:
            case ctNone:
            case ctImageList:
            case ctEmpty:
            case ctImages:
            case ctComment:
                ABrush->SetColor(props->BrushColor());
                break;
            default:
                break;
            }
        }
        ApplyCellFont(props, AFont);
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TProStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TProStringGrid::GetCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (FGrouping->HeaderUnderline() && ACol > 0 && IsNode(ARow)) {
        Borders = TCellBorders{cbBottom};
        APen->SetColor(FGrouping->HeaderLineColor());
        APen->SetWidth(FGrouping->HeaderLineWidth());
    }
    if (FGrouping->SummaryLine() && ACol > 0 && IsSummary(ARow)) {
        Borders = TCellBorders{cbTop};
        APen->SetColor(FGrouping->SummaryLineColor());
        APen->SetWidth(FGrouping->SummaryLineWidth());
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TProStringGrid::GetCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TProStringGrid::QueryAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign)
{
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        HAlign = taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TProStringGrid::GetFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TProStringGrid::GetEditorType(int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TProStringGrid::GetCellEditor(int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TProStringGrid::HasNoEditor(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType editor = edNormal;
    OnGetEditorType(this, ACol, ARow, editor);
    return editor == edNone;
}

void TProStringGrid::IsFixedCell(int ACol, int ARow, bool &IsFixed)
{
    if (IsFixed)
        return;
    IsFixed = (FFixedRowAlways && ARow < FFixedRowsMin && RowCount() == FFixedRowsMin) ||
              (FFixedColAlways && ACol < FFixedColsMin && ColCount() == FFixedColsMin) || ACol < FixedCols() ||
              ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

bool TProStringGrid::IsFixed(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    const int d = DisplColIndex(b.X);
    if (b.Y >= RowCount() - FFixedFooters || (d >= ColCount() - FFixedRightCols && d < ColCount()))
        return true;
    bool fixed = false;
    IsFixedCell(d, b.Y, fixed);
    return fixed;
}

void TProStringGrid::GetCellCanEdit(int ACol, int ARow, bool &CanEdit)
{
    const TPoint b = BaseCell(ACol, ARow);
    if (CanEdit && HasCellProperties(b.X, b.Y)) {
        CanEdit = !GetCellProperties(b.X, b.Y)->ReadOnly();
        if (!Options().Contains(goEditing) && !FEditDisable && !FMouseActions->RangeSelectAndEdit())
            CanEdit = false;
    }
    if (b.X < ColCount() + NumHiddenColumns())
        CanEditCell(b.X, b.Y, CanEdit);
    else
        CanEdit = true;
}

void TProStringGrid::IsPasswordCell(int ACol, int ARow, bool &IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TProStringGrid::QueryWordWrap(int ACol, int ARow, bool &WordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TProStringGrid::HasComboBox(int ACol, int ARow)
{
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->DropDownAlwaysVisible())
        return false;
    TEditorType editor = DefaultEditor();
    GetCellEditor(ACol, ARow, editor);
    return editor == edComboEdit || editor == edComboList;
}

bool TProStringGrid::HasSpinEdit(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->SpinButtonsAlwaysVisible())
        return false;
    TEditorType editor = DefaultEditor();
    GetEditorType(ACol, ARow, editor);
    return editor == edSpinEdit || editor == edFloatSpinEdit || editor == edTimeSpinEdit || editor == edDateSpinEdit;
}

void TProStringGrid::GetCheckTrue(int ACol, int ARow, QString &Value)
{
    Value = FCheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TProStringGrid::GetCheckFalse(int ACol, int ARow, QString &Value)
{
    Value = FCheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

namespace {

// A value holding a blank becomes a name/value pair whose value is the quoted condition.
QString FilterEntry(const QString &V)
{
    if (!V.contains(QChar(' ')))
        return V;
    return V + QStringLiteral("=\"") + V + QChar('"');
}

} // namespace

bool TProStringGrid::GetColumnFilter(int Column)
{
    TStringList *list = FFilterList.get();
    list->Clear();
    if (FFilterDropDownAuto && Column >= FixedCols()) {
        // The sorted list drops duplicates, comparing without case.
        list->SetDuplicates(dupIgnore);
        list->SetCaseSensitive(false);
        list->SetSorted(true);
        // The column's own values are marked, so that choosing one filters on it exactly.
        for (int r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r)
            list->AddObject(FilterEntry(Trim(Cells(Column, r))), FilterValueMark());
        if (!FilterIncremental()) {
            for (int i = 0; i < FGridItems->Count(); ++i) {
                const TStringList *items = FGridItems->Items(i)->Items();
                if (items && Column < items->Count())
                    list->AddObject(FilterEntry(items->Strings(Column)), FilterValueMark());
            }
        }
        list->SetSorted(false);
        if (!FilterDropDownClear().isEmpty())
            list->Insert(0, FilterDropDownClear());
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, Column, list);
    return list->Count() > 0;
}

void TProStringGrid::SetFilterDropDownAuto(bool v) { ChangeAndInvalidate(FFilterDropDownAuto, v); }

void TProStringGrid::CanAddRow(bool &CanAdd)
{
    if (OnCanAddRow)
        OnCanAddRow(this, CanAdd);
}

void TProStringGrid::CanInsertRow(int ARow, bool &CanInsert)
{
    if (OnCanInsertRow)
        OnCanInsertRow(this, ARow, CanInsert);
}

void TProStringGrid::CheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

bool TProStringGrid::RatingChange(int ACol, int ARow, double &NewRate)
{
    bool allow = true;
    if (OnRatingChange)
        OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}

void TProStringGrid::GetDefaultProps(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                     TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA, TVAlignment &VA,
                                     bool &WW, TCellGradientDirection &GD)
{
    TGridDrawState state;
    GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont,
                        HA, VA, WW, GD);
    // A new cell never freezes a fixed, banded, gradient or selection colour into its own brush.
    const TBackGroundDisplay bg = FBackGround->Display();
    if (IsFixed(ACol, ARow) || FBands->Active() || bg == bdGradientHorz || bg == bdGradientVert ||
        state.Contains(gdSelected)) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

TFont *TProStringGrid::GetCellFont(int i, int j)
{
    if (!HasCellProperties(i, j))
        return Font();
    const TCellProperties *props = GetCellProperties(i, j);
    cf->SetName(props->FontName());
    cf->SetSize(props->FontSize());
    cf->SetStyle(props->FontStyle());
    cf->SetColor(props->FontColor());
    return cf.get();
}
