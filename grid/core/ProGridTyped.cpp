#include "grid/core/ProGrid.h"
#include "editors/psgcheck.h"
#include "grid/core/ProStyleIF.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"
#include "framework/rtl/System.h"
#include <algorithm>

namespace {
const QString HiliteTag = QStringLiteral("hi");
const QString ErrorTag = QStringLiteral("e");

int IntOfText(const QString &Text)
{
    QString s = Trim(Text);
    if (s.isEmpty() || s == QStringLiteral("-"))
        return 0;
    int32_t v = 0;
    if (!TryStrToInt(s, v))
        throw EProGridError(QStringLiteral("Cell does not contain integer value"));
    return v;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Typed cell access

double TProStringGrid::ParseFloatText(const QString &Text) const
{
    const QString s = NumberTextToDecimal(Text);
    if (s.isEmpty() || s == QStringLiteral("-")) {
        // Text without any digit is no number either, not a zero.
        const QString t = Trim(Text);
        if (t.isEmpty() || t == QStringLiteral("-"))
            return 0;
        throw EProGridError(QStringLiteral("Cell does not contain a float value"));
    }
    // The cleaned text has no blanks, so the plain conversion with a point decides alone;
    // one settings record serves every call.
    static const TFormatSettings point = [] {
        TFormatSettings f;
        f.DecimalSeparator = QLatin1Char('.');
        return f;
    }();
    double v = 0;
    if (!TryStrToFloat(s, v, point))
        throw EProGridError(QStringLiteral("Cell does not contain a float value"));
    return v;
}

int TProStringGrid::Ints(int ACol, int ARow) { return IntOfText(GetCellEx(ACol, ARow)); }

void TProStringGrid::SetInts(int ACol, int ARow, int Value)
{
    SetCellEx(ACol, ARow, IntToStr(Value));
    if (NumHiddenColumns() > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

int TProStringGrid::AllInts(int ACol, int ARow) { return IntOfText(GetCellsEx(ACol, ARow)); }

void TProStringGrid::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, IntToStr(Value)); }

double TProStringGrid::Floats(int ACol, int ARow) { return ParseFloatText(GetCellEx(ACol, ARow)); }

void TProStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    SetCellEx(ACol, ARow, Format(FloatFormat(), {Value}));
}

double TProStringGrid::AllFloats(int ACol, int ARow) { return ParseFloatText(GetCellsEx(ACol, ARow)); }

void TProStringGrid::SetAllFloats(int ACol, int ARow, double Value)
{
    SetCellsEx(ACol, ARow, Format(FloatFormat(), {Value}));
}

TDateTime TProStringGrid::Dates(int ACol, int ARow) { return StrToDate(GetCellEx(ACol, ARow)); }

void TProStringGrid::SetDates(int ACol, int ARow, TDateTime Value)
{
    if (Value > 0.0 || ShowNullDates())
        SetCellEx(ACol, ARow, DateToStr(Value));
    else
        SetCellEx(ACol, ARow, QString());
}

TDateTime TProStringGrid::Times(int ACol, int ARow) { return StrToTime(GetCellEx(ACol, ARow)); }

void TProStringGrid::SetTimes(int ACol, int ARow, TDateTime Value) { SetCellEx(ACol, ARow, TimeToStr(Value)); }

QString TProStringGrid::ControlValues(int ACol, int ARow, const QString &ControlID)
{
    QString v;
    if (!GetHTMLControlValue(GetCellEx(ACol, ARow), ControlID, v))
        return QString();
    return v;
}

void TProStringGrid::SetControlValues(int ACol, int ARow, const QString &ControlID, const QString &Value)
{
    QString s = GetCellEx(ACol, ARow);
    if (SetHTMLControlValue(s, ControlID, Value))
        SetCellEx(ACol, ARow, s);
}

int TProStringGrid::PrintColWidth(int ACol) const
{
    if (ACol < 0 || ACol > 511)
        throw EProGridError(QStringLiteral("Columns is not in valid range"));
    return MaxWidths[size_t(ACol)];
}

int TProStringGrid::PrintColOffset(int ACol) const
{
    if (ACol < 0 || ACol > 511)
        throw EProGridError(QStringLiteral("Columns is not in valid range"));
    return Indents[size_t(ACol)];
}

QString TProStringGrid::Version() const
{
    const uint32_t v = uint32_t(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

// ---------------------------------------------------------------------------------------------
// Headers

void TProStringGrid::ShowColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    const int n = std::min(FColumnHeaders->Count(), TotalColCount());
    for (int i = 0; i < n; ++i)
        SetCellEx(i, 0, EscapesToLineBreaks(FColumnHeaders->Strings(i)));
}

void TProStringGrid::ClearColumnHeaders()
{
    for (int c = 0; c < ColCount(); ++c)
        SetCellEx(c, 0, QString());
}

void TProStringGrid::ShowRowHeaders()
{
    if (FixedCols() <= 0)
        return;
    const int n = std::min(FRowHeaders->Count(), RowCount());
    for (int i = 0; i < n; ++i)
        SetCellEx(0, i, EscapesToLineBreaks(FRowHeaders->Strings(i)));
}

void TProStringGrid::ClearRowHeaders()
{
    for (int r = 0; r < RowCount(); ++r)
        SetCellEx(0, r, QString());
}

void TProStringGrid::SetColumnHeaders(TStrings *v)
{
    FColumnHeaders->Assign(v);
    if (FixedRows() > 0)
        ClearColumnHeaders();
    ShowColumnHeaders();
}

void TProStringGrid::SetRowHeaders(TStrings *v)
{
    FRowHeaders->Assign(v);
    if (ComponentState().Contains(csDesigning) && FixedCols() > 0)
        ClearRowHeaders();
    ShowRowHeaders();
}

// ---------------------------------------------------------------------------------------------
// Highlighting and marking

namespace {
QString TagText(bool DoCase, const QString &S, const QString &Text, const QString &Tag)
{
    QString r;
    HighlightHTMLText(S, Text, Tag, r, DoCase);
    return r;
}
} // namespace

QString TProStringGrid::HilightText(bool DoCase, const QString &S, const QString &Text)
{
    return TagText(DoCase, S, Text, HiliteTag);
}

QString TProStringGrid::UnHilightText(const QString &S) { return UnHighlightHTMLText(S, HiliteTag); }

QString TProStringGrid::MarkText(bool DoCase, const QString &S, const QString &Text)
{
    return TagText(DoCase, S, Text, ErrorTag);
}

QString TProStringGrid::UnMarkText(const QString &S) { return UnHighlightHTMLText(S, ErrorTag); }

void TProStringGrid::TransformCells(int Col1, int Row1, int Col2, int Row2,
                                    const std::function<QString(const QString &)> &Fn)
{
    for (int r = Row1; r <= Row2; ++r)
        for (int c = Col1; c <= Col2; ++c) {
            if (!IsBaseCell(c, r))
                continue;
            QString s = GetGridCell(c, r);
            if (OnGetDisplText)
                GetDisplText(c, r, s);
            SetCellEx(c, r, Fn(s));
        }
}

void TProStringGrid::NormalRange(bool DoFixed, int &Col1, int &Row1, int &Col2, int &Row2) const
{
    if (DoFixed) {
        Col1 = 0;
        Row1 = 0;
        Col2 = ColCount() - 1;
        Row2 = RowCount() - 1;
    } else {
        Col1 = FixedCols();
        Row1 = FixedRows();
        Col2 = ColCount() - FFixedRightCols - 1;
        Row2 = RowCount() - FFixedFooters - 1;
    }
}

#define TARVIX_TAG_FAMILY(Hi, Tag)                                                                      \
    void TProStringGrid::Hi##InCell(bool DoCase, int Col, int Row, const QString &HiText)              \
    {                                                                                                   \
        TransformCells(Col, Row, Col, Row, [&](const QString &s) { return TagText(DoCase, s, HiText, Tag); }); \
    }                                                                                                   \
    void TProStringGrid::Hi##InCol(bool DoFixed, bool DoCase, int Col, const QString &HiText)          \
    {                                                                                                   \
        int c1, r1, c2, r2;                                                                             \
        NormalRange(DoFixed, c1, r1, c2, r2);                                                           \
        TransformCells(Col, r1, Col, r2, [&](const QString &s) { return TagText(DoCase, s, HiText, Tag); }); \
    }                                                                                                   \
    void TProStringGrid::Hi##InRow(bool DoFixed, bool DoCase, int Row, const QString &HiText)          \
    {                                                                                                   \
        int c1, r1, c2, r2;                                                                             \
        NormalRange(DoFixed, c1, r1, c2, r2);                                                           \
        TransformCells(c1, Row, c2, Row, [&](const QString &s) { return TagText(DoCase, s, HiText, Tag); }); \
    }                                                                                                   \
    void TProStringGrid::Un##Hi##InCell(int Col, int Row)                                                 \
    {                                                                                                   \
        TransformCells(Col, Row, Col, Row, [](const QString &s) { return UnHighlightHTMLText(s, Tag); }); \
    }                                                                                                   \
    void TProStringGrid::Un##Hi##InCol(bool DoFixed, int Col)                                             \
    {                                                                                                   \
        int c1, r1, c2, r2;                                                                             \
        NormalRange(DoFixed, c1, r1, c2, r2);                                                           \
        TransformCells(Col, r1, Col, r2, [](const QString &s) { return UnHighlightHTMLText(s, Tag); }); \
    }                                                                                                   \
    void TProStringGrid::Un##Hi##InRow(bool DoFixed, int Row)                                             \
    {                                                                                                   \
        int c1, r1, c2, r2;                                                                             \
        NormalRange(DoFixed, c1, r1, c2, r2);                                                           \
        TransformCells(c1, Row, c2 + FNumHidden, Row, [](const QString &s) { return UnHighlightHTMLText(s, Tag); }); \
    }                                                                                                   \
    void TProStringGrid::Un##Hi##InGrid(bool DoFixed)                                                     \
    {                                                                                                   \
        int c1, r1, c2, r2;                                                                             \
        NormalRange(DoFixed, c1, r1, c2, r2);                                                           \
        TransformCells(c1, r1, c2 + FNumHidden, r2, [](const QString &s) { return UnHighlightHTMLText(s, Tag); }); \
    }

TARVIX_TAG_FAMILY(Hilight, HiliteTag)
TARVIX_TAG_FAMILY(Mark, ErrorTag)
#undef TARVIX_TAG_FAMILY

void TProStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const QString &HiText)
{
    int c1, r1, c2, r2;
    NormalRange(DoFixed, c1, r1, c2, r2);
    // The normal area reaches into the hidden columns too.
    if (!DoFixed)
        c2 += FNumHidden;
    TransformCells(c1, r1, c2, r2, [&](const QString &s) { return TagText(DoCase, s, HiText, HiliteTag); });
}

void TProStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const QString &HiText)
{
    int c1, r1, c2, r2;
    NormalRange(DoFixed, c1, r1, c2, r2);
    TransformCells(c1, r1, c2, r2, [&](const QString &s) { return TagText(DoCase, s, HiText, ErrorTag); });
}

// ---------------------------------------------------------------------------------------------
// Fills

void TProStringGrid::FillCells(bool DoFixed, const std::function<void(int, int)> &Fn)
{
    int c1, r1, c2, r2;
    NormalRange(DoFixed, c1, r1, c2, r2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            Fn(c, r);
    RecalcFooter();
}

void TProStringGrid::TextFill(bool DoFixed, const QString &Txt)
{
    FillCells(DoFixed, [&](int c, int r) { SetCellEx(c, r, Txt); });
}

void TProStringGrid::FormatFill(bool DoFixed, const QString &Fmt)
{
    FillCells(DoFixed, [&](int c, int r) { SetCellEx(c, r, Format(Fmt, {c, r})); });
}

void TProStringGrid::RandomFill(bool DoFixed, int Rnd)
{
    FillCells(DoFixed, [&](int c, int r) { SetInts(c, r, Random(Rnd)); });
}

void TProStringGrid::LinearFill(bool DoFixed)
{
    FillCells(DoFixed, [&](int c, int r) { SetCellEx(c, r, IntToStr(c) + QChar(':') + IntToStr(r)); });
}

// ---------------------------------------------------------------------------------------------
// Cell checks

void TProStringGrid::SetCellChecker(TProStringGridCheck *Value)
{
    if (FCellChecker == Value)
        return;
    if (FCellChecker)
        FCellChecker->RemoveFreeNotification(this);
    FCellChecker = Value;
    if (FCellChecker)
        FCellChecker->FreeNotification(this);
}

bool TProStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (!FCellChecker)
        return true;
    FCellChecker->StartCheck();
    const int oldRow = Row(), oldCol = Col();
    bool result = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c)
            if (!CheckCell(c, r))
                result = false;
    FCellChecker->StopCheck();
    if (FCellChecker->GotoCell()) {
        SetRow(oldRow);
        SetCol(oldCol);
    }
    return result;
}

bool TProStringGrid::CheckCell(int Col, int Row)
{
    if (!FCellChecker)
        return true;
    const QString t = GetCellEx(Col, Row);
    if (FCellChecker->GotoCell())
        MoveColRow(Col, Row, true, true);
    QString v = t;
    // Both operations see the text as it was: with both on, the marking wins.
    if (FCellChecker->UseCorrect())
        v = FCellChecker->Correct(Col, Row, t);
    if (FCellChecker->UseMarkError())
        v = FCellChecker->MarkError(Col, Row, t);
    SetCellEx(Col, Row, v);
    return v == t;
}

bool TProStringGrid::CheckCol(bool DoFixed, int Col)
{
    int c1, r1, c2, r2;
    NormalRange(DoFixed, c1, r1, c2, r2);
    return CheckCells(Col, r1, Col, r2);
}

bool TProStringGrid::CheckRow(bool DoFixed, int Row)
{
    int c1, r1, c2, r2;
    NormalRange(DoFixed, c1, r1, c2, r2);
    return CheckCells(c1, Row, c2, Row);
}

bool TProStringGrid::CheckGrid(bool DoFixed)
{
    int c1, r1, c2, r2;
    NormalRange(DoFixed, c1, r1, c2, r2);
    return CheckCells(c1, r1, c2, r2);
}

// ---------------------------------------------------------------------------------------------
// Settings

void TProStringGrid::SetHighlightColor(TColor v)
{
    if (FHighlightColor == v)
        return;
    FHighlightColor = v;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TProStringGrid::SetHighlightTextColor(TColor v)
{
    if (FHighlightTextColor == v)
        return;
    FHighlightTextColor = v;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TProStringGrid::SetShowDesignHelper(bool v) { ChangeAndInvalidate(FShowDesignHelper, v); }

void TProStringGrid::SetActiveCellColor(TColor v) { ChangeAndInvalidate(FActiveCellColor, v); }

void TProStringGrid::SetActiveCellColorTo(TColor v) { ChangeAndInvalidate(FActiveCellColorTo, v); }

void TProStringGrid::SetAutoThemeAdapt(bool v)
{
    if (FAutoThemeAdapt == v)
        return;
    FAutoThemeAdapt = v;
    FSearchFooter->SetAutoThemeAdapt(v);
    if (v)
        Invalidate();
    const TComponentState st = ComponentState();
    if (st.Contains(csDesigning) || st.Contains(csLoading) || !FWndCreated)
        return;
    if (v)
        GetThemeNotifier(this)->RegisterWindow(Handle());
    else
        GetThemeNotifier(this)->UnRegisterWindow(Handle());
}

TColor TProStringGrid::ArrowColor() const { return ArwU ? ArwU->Color() : TColor(clNone); }

void TProStringGrid::SetArrowColor(TColor v)
{
    for (TArrowWindow *a : {ArwU, ArwD, ArwL, ArwR})
        if (a)
            a->SetColor(v);
}

void TProStringGrid::SetWordWrap(bool v)
{
    TBaseGrid::SetWordWrap(v);
    FWordWrapEx = v;
    if (InplaceEditor())
        InplaceEditor()->SetWordWrap(v);
    if (!LockUpdate())
        Invalidate();
}

bool TProStringGrid::IsIgnoredColumn(int ACol) const { return FIgnoreColumns->IndexOf(ACol) >= 0; }

bool TProStringGrid::IsEditable(int ACol, int ARow)
{
    if (!Options().Contains(goEditing) && !FMouseActions->RangeSelectAndEdit() && !FEditDisable)
        return false;
    return IsCellEditable(ACol, ARow);
}

bool TProStringGrid::IsCellEditable(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    bool canEdit = true, fixed = false;
    GetCellCanEdit(b.X, b.Y, canEdit);
    IsFixedCell(RealColIndex(b.X), b.Y, fixed);
    return canEdit && !fixed;
}

bool TProStringGrid::IsPassword(int ACol, int ARow)
{
    bool password = false;
    IsPasswordCell(ACol, ARow, password);
    return password;
}

void TProStringGrid::WriteEditorValue(int ACol, int ARow, const QString &Value)
{
    // With hidden columns the plain grid would store the text under the display index, which
    // names another real column.
    if (DisplColIndex(ACol) == ACol)
        TStringGrid::SetEditText(ACol, ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TProStringGrid::UpdateColumnSize(int ACol, int &AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TProStringGrid::UpdateAutoColumnSize(int ACol, int &AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TProStringGrid::LastRowWritten()
{
    TBaseGrid::LastRowWritten();
    if (FFooterPanel)
        FFooterPanel->Invalidate();
}
