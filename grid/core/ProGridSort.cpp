// Sorting rows: the cell comparison in every sort style, the row and indexed comparisons, and the
// sort entry points. A sort runs its quicksort on row numbers, with each row's texts and values
// read once, and then moves every row once to its place; nothing moves before the comparisons
// are done, so an error raised by a comparison handler leaves the grid as it was.
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

enum : uint32_t {
    hText = 1u << 0,
    hFacts = 1u << 1,
    hCheckType = 1u << 2,
    hUpper = 1u << 3,
    hStripped = 1u << 4,
    hNumber = 1u << 5,
    hDate = 1u << 6,
    hDateEU = 1u << 7,
    hDateUS = 1u << 8,
    hDateTime = 1u << 9,
    hTime = 1u << 10,
    hImage = 1u << 11,
    hCheck = 1u << 12
};

// What the comparisons need of one cell, each part worked out on first use.
struct TSortCell
{
    uint32_t Have = 0;
    QString Text;
    QString Upper;
    QString Stripped;
    bool CheckType = false;
    bool IsNumber = false;
    // 0-based positions of the locale date and time separators, -1 when absent.
    int DatePos = -1;
    int TimePos = -1;
    bool DateDigits = false;
    bool TimeDigits = false;
    double Number = 0;
    bool NumberFailed = false;
    bool NumberBlank = false;
    double Date = 0, DateEU = 0, DateUS = 0, DateTime = 0, Time = 0;
    int Image = -1;
    TCheckBoxState Check = cbUnchecked;
};

bool AsciiDigit(QChar c) { return c >= QChar('0') && c <= QChar('9'); }

// A digit right before and right after position p.
bool DigitsAround(const QString &s, int p) { return p > 0 && p + 1 < s.size() && AsciiDigit(s[p - 1]) && AsciiDigit(s[p + 1]); }

int Sign(double d) { return d > 0 ? 1 : d < 0 ? -1 : 0; }

int Sign(int d) { return d > 0 ? 1 : d < 0 ? -1 : 0; }

// The standard decimal reading: false for a text that is no number, Value then its leading
// numeric part (0 when it has none).
bool DecimalValue(const QString &s, double &Value)
{
    int code = 0;
    double v = 0;
    Val(s, v, code);
    if (code == 0) {
        Value = v;
        return true;
    }
    Value = 0;
    if (code > 1) {
        double lead = 0;
        int leadCode = 0;
        Val(s.left(code - 1), lead, leadCode);
        if (leadCode == 0)
            Value = lead;
    }
    return false;
}

} // namespace

// The cells of the columns a sort compares, read once per row. Rows First .. First + Count - 1
// live in a vector; others (single comparisons) in a map.
struct TProStringGrid::TSortKeys
{
    struct TColumn
    {
        TSortStyle Style = ssAutomatic;
        QString Prefix, Suffix;
        // The primed column holds every row's cell; a column that only breaks ties makes the
        // cells it reads (a key is large, and ties are mostly few).
        std::vector<TSortCell> Cells;
        std::vector<std::unique_ptr<TSortCell>> Sparse;
        std::map<int, TSortCell> Others;
        // The primed column's numbers side by side, so that the many numeric comparisons of a
        // sort read eight bytes and a flag per row instead of a whole key.
        std::vector<double> Numbers;
        std::vector<uint8_t> NumberFlags;
        bool FinancialNumbers = false;
    };

    enum : uint8_t { nfIsNumber = 1, nfFailed = 2, nfBlank = 4, nfCheckType = 8 };

    TSortKeys(TProStringGrid *AGrid, int AFirst, int ACount) : Grid(AGrid), First(AFirst), Count(ACount) {}

    TProStringGrid *Grid;
    int First;
    int Count;
    std::vector<std::unique_ptr<TColumn>> Columns;

    TColumn &Column(int ACol)
    {
        if (size_t(ACol) >= Columns.size())
            Columns.resize(size_t(ACol) + 1);
        std::unique_ptr<TColumn> &c = Columns[size_t(ACol)];
        if (!c) {
            auto col = std::make_unique<TColumn>();
            TSortSettings *s = Grid->SortSettings();
            col->Style = s->AutoFormat() ? ssAutomatic : s->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic;
            Grid->GetFormat(ACol, col->Style, col->Prefix, col->Suffix);
            c = std::move(col);
        }
        return *c;
    }

    TSortCell &Cell(TColumn &C, int ARow)
    {
        const int k = ARow - First;
        if (k >= 0 && k < Count) {
            if (!C.Cells.empty())
                return C.Cells[size_t(k)];
            if (C.Sparse.empty())
                C.Sparse.resize(size_t(Count));
            std::unique_ptr<TSortCell> &cell = C.Sparse[size_t(k)];
            if (!cell)
                cell = std::make_unique<TSortCell>();
            return *cell;
        }
        return C.Others[ARow];
    }

    const QString &Text(TSortCell &K, int ACol, int ARow)
    {
        if (!(K.Have & hText)) {
            K.Text = Grid->SortSettings()->SortOnVirtualCells() ? Grid->GetCellEx(ACol, ARow) : Grid->GetGridCell(ACol, ARow);
            K.Have |= hText;
        }
        return K.Text;
    }

    void Facts(TSortCell &K, int ACol, int ARow)
    {
        if (K.Have & hFacts)
            return;
        const QString &t = Text(K, ACol, ARow);
        const int kind = NumericTextKind(t);
        K.IsNumber = kind == ntkInteger || kind == ntkDecimal || kind == ntkExponent;
        K.DatePos = int(t.indexOf(LocaleDateSeparator()));
        K.TimePos = int(t.indexOf(LocaleTimeSeparator()));
        K.DateDigits = DigitsAround(t, K.DatePos);
        K.TimeDigits = DigitsAround(t, K.TimePos);
        K.Have |= hFacts;
    }

    bool CheckType(TSortCell &K, int ACol, int ARow)
    {
        if (!(K.Have & hCheckType)) {
            const TCellType ct = Grid->GetCellType(ACol, ARow);
            K.CheckType = ct == ctCheckBox || ct == ctDataCheckBox || ct == ctVirtCheckBox || ct == ctRowCheckBox;
            K.Have |= hCheckType;
        }
        return K.CheckType;
    }

    const QString &Upper(TSortCell &K, int ACol, int ARow)
    {
        if (!(K.Have & hUpper)) {
            K.Upper = UpperCase(Text(K, ACol, ARow));
            K.Have |= hUpper;
        }
        return K.Upper;
    }

    const QString &Stripped(TSortCell &K, int ACol, int ARow)
    {
        if (!(K.Have & hStripped)) {
            K.Stripped = Grid->GetStrippedCell(ACol, ARow);
            K.Have |= hStripped;
        }
        return K.Stripped;
    }

    // The text without the column's suffix and prefix (and for ssFinancial its thousand
    // separators), read as a decimal number.
    TSortCell &Number(TColumn &C, TSortCell &K, int ACol, int ARow, bool Financial)
    {
        if (K.Have & hNumber)
            return K;
        QString s = Text(K, ACol, ARow);
        if (!C.Suffix.isEmpty())
            if (const qsizetype at = s.indexOf(C.Suffix); at >= 0)
                s.remove(at, C.Suffix.size());
        if (!C.Prefix.isEmpty())
            if (const qsizetype at = s.indexOf(C.Prefix); at >= 0)
                s.remove(at, C.Prefix.size());
        if (Financial)
            s.remove(LocaleThousandSeparator());
        if (const QChar dec = LocaleDecimalSeparator(); dec != QChar('.'))
            if (const qsizetype at = s.indexOf(dec); at >= 0)
                s[at] = QChar('.');
        K.NumberBlank = s.isEmpty();
        K.NumberFailed = !DecimalValue(s, K.Number);
        if (K.NumberFailed && Grid->GetCellEx(ACol, ARow).isEmpty()) {
            K.Number = 0;
            K.NumberFailed = false;
        }
        K.Have |= hNumber;
        return K;
    }

    double DateValue(TSortCell &K, int ACol, int ARow, TSortStyle Style)
    {
        const QString &t = Text(K, ACol, ARow);
        auto once = [&](uint32_t bit, double &slot, auto read) {
            if (!(K.Have & bit)) {
                slot = read();
                K.Have |= bit;
            }
            return slot;
        };
        auto dateTime = [&t] {
            TDateTime v = 0;
            return !t.isEmpty() && TryStrToDateTime(t, v) ? v : 0.0;
        };
        switch (Style) {
        case ssShortDateEU:
            return once(hDateEU, K.DateEU, [&t] { return ParseShortDateEU(t); });
        case ssShortDateUS:
            return once(hDateUS, K.DateUS, [&t] { return ParseShortDateUS(t); });
        case ssDateTime:
            return once(hDateTime, K.DateTime, dateTime);
        case ssTime:
            return once(hTime, K.Time, [&t] {
                TDateTime v = 0;
                return TryStrToTime(t, v) ? v : 0.0;
            });
        default:
            return once(hDate, K.Date, dateTime);
        }
    }

    int Image(TSortCell &K, int ACol, int ARow)
    {
        if (!(K.Have & hImage)) {
            K.Image = Grid->CellImageSortKey(ACol, ARow);
            K.Have |= hImage;
        }
        return K.Image;
    }

    TCheckBoxState Check(TSortCell &K, int ACol, int ARow)
    {
        if (!(K.Have & hCheck)) {
            TCheckBoxState state = cbUnchecked;
            Grid->GetCheckBoxState(ACol, ARow, state);
            K.Check = state;
            K.Have |= hCheck;
        }
        return K.Check;
    }
};

int TProStringGrid::CompareSortCells(TSortKeys &Keys, int ACol, int Row1, int Row2, bool Descending)
{
    ++FCompares;
    CheckCellIndex(ACol, std::min(Row1, Row2));
    TSortKeys::TColumn &C = Keys.Column(ACol);
    TSortStyle style = C.Style;
    if (!C.Numbers.empty()) {
        const int k1 = Row1 - Keys.First, k2 = Row2 - Keys.First;
        if (k1 >= 0 && k1 < Keys.Count && k2 >= 0 && k2 < Keys.Count) {
            const uint8_t f1 = C.NumberFlags[size_t(k1)], f2 = C.NumberFlags[size_t(k2)];
            const bool numeric = style == ssAutomatic ? (f1 & (TSortKeys::nfIsNumber | TSortKeys::nfCheckType)) == TSortKeys::nfIsNumber
                                                      : (style == ssFinancial) == C.FinancialNumbers && (style == ssNumeric || style == ssFinancial);
            if (numeric) {
                int res = (f1 & f2 & TSortKeys::nfFailed) ? 0 : Sign(C.Numbers[size_t(k1)] - C.Numbers[size_t(k2)]);
                const bool blank1 = f1 & TSortKeys::nfBlank, blank2 = f2 & TSortKeys::nfBlank;
                if (FSortSettings->IgnoreBlanks() && blank1 != blank2) {
                    const bool first = FSortSettings->BlankPos() == blFirst;
                    res = blank1 ? (first ? -1 : 1) : (first ? 1 : -1);
                    if (Descending)
                        res = -res;
                }
                return res;
            }
        }
    }
    TSortCell &a = Keys.Cell(C, Row1);
    TSortCell &b = Keys.Cell(C, Row2);
    const bool noCase = FSortSettings->IgnoreCase();

    if (style == ssAutomatic) {
        Keys.Facts(a, ACol, Row1);
        if (Keys.CheckType(a, ACol, Row1)) {
            style = ssCheckBox;
        } else if (a.IsNumber) {
            style = ssNumeric;
        } else {
            style = noCase ? ssAlphaNoCase : ssAlphabetic;
            Keys.Facts(b, ACol, Row2);
            const int len = int(a.Text.size());
            const int p = a.DatePos;
            // A separator in second or third place with digits around it, and one in the other text.
            if (p >= 1 && p <= 2 && p < len - 1) {
                if (a.DateDigits && b.DatePos >= 0)
                    style = a.TimePos >= 0 ? ssDateTime : ssDate;
            } else {
                const int q = a.TimePos;
                if (q >= 1 && q <= 2 && q < len - 1 && a.TimeDigits && b.TimePos >= 0)
                    style = ssTime;
            }
        }
    }
    if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
        Keys.Facts(a, ACol, Row1);
        Keys.Facts(b, ACol, Row2);
        if (a.IsNumber && b.IsNumber)
            style = ssNumeric;
        else
            style = style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
    }

    int res = 1;
    // Whether the texts as the style prepares them are empty, for the blank placement.
    bool blank1 = false, blank2 = false;
    auto plainBlanks = [&] {
        blank1 = Keys.Text(a, ACol, Row1).isEmpty();
        blank2 = Keys.Text(b, ACol, Row2).isEmpty();
    };
    switch (style) {
    case ssNumeric:
    case ssFinancial: {
        const bool financial = style == ssFinancial;
        Keys.Number(C, a, ACol, Row1, financial);
        Keys.Number(C, b, ACol, Row2, financial);
        res = a.NumberFailed && b.NumberFailed ? 0 : Sign(a.Number - b.Number);
        blank1 = a.NumberBlank;
        blank2 = b.NumberBlank;
        break;
    }
    case ssAlphaNoCase:
        res = Sign(Keys.Upper(a, ACol, Row1).compare(Keys.Upper(b, ACol, Row2)));
        plainBlanks();
        break;
    case ssAnsiAlphaCase:
        res = Sign(AnsiCompareStr(Keys.Text(a, ACol, Row1), Keys.Text(b, ACol, Row2)));
        plainBlanks();
        break;
    case ssAnsiAlphaNoCase:
        res = Sign(AnsiCompareText(Keys.Text(a, ACol, Row1), Keys.Text(b, ACol, Row2)));
        plainBlanks();
        break;
    case ssHTML: {
        const QString &s1 = Keys.Stripped(a, ACol, Row1);
        const QString &s2 = Keys.Stripped(b, ACol, Row2);
        res = Sign(s1.compare(s2));
        blank1 = s1.isEmpty();
        blank2 = s2.isEmpty();
        break;
    }
    case ssDate:
    case ssShortDateEU:
    case ssShortDateUS:
    case ssDateTime:
    case ssTime:
        res = Sign(Keys.DateValue(a, ACol, Row1, style) - Keys.DateValue(b, ACol, Row2, style));
        plainBlanks();
        break;
    // A handler's answer counts by its sign.
    case ssCustom:
        if (OnCustomCompare)
            OnCustomCompare(this, Keys.Text(a, ACol, Row1), Keys.Text(b, ACol, Row2), res);
        else
            res = 0;
        res = Sign(res);
        plainBlanks();
        break;
    case ssRaw:
        if (OnRawCompare)
            OnRawCompare(this, ACol, Row1, Row2, res);
        else
            res = 0;
        res = Sign(res);
        plainBlanks();
        break;
    case ssImages:
        res = Sign(Keys.Image(a, ACol, Row1) - Keys.Image(b, ACol, Row2));
        plainBlanks();
        break;
    case ssCheckBox: {
        const TCheckBoxState s1 = Keys.Check(a, ACol, Row1), s2 = Keys.Check(b, ACol, Row2);
        res = s1 == s2 ? 0 : (s1 == cbChecked ? 1 : -1);
        plainBlanks();
        break;
    }
    default:
        res = Sign(Keys.Text(a, ACol, Row1).compare(Keys.Text(b, ACol, Row2)));
        plainBlanks();
        break;
    }

    // Empty cells go to the chosen end whatever the direction.
    if (FSortSettings->IgnoreBlanks() && blank1 != blank2) {
        const bool first = FSortSettings->BlankPos() == blFirst;
        res = blank1 ? (first ? -1 : 1) : (first ? 1 : -1);
        if (Descending)
            res = -res;
    }
    return res;
}

// ---------------------------------------------------------------------------------------------
// One sort run: the quicksort on row numbers

struct TProStringGrid::TSortRun
{
    // A row as a comparison sees it: the moving cells of the row that came from Orig, the
    // others of row Phys (the same row unless only the sort column moves).
    struct TRef
    {
        int Orig;
        int Phys;
    };

    TSortRun(TProStringGrid *AGrid, bool AIndexed, int AFirst, int ALast)
        : Grid(AGrid), Keys(AGrid, AFirst, std::max(ALast - AFirst + 1, 0)), Indexed(AIndexed), First(AFirst)
    {
        const int n = std::max(ALast - AFirst + 1, 0);
        Pos.resize(size_t(n));
        for (int k = 0; k < n; ++k)
            Pos[size_t(k)] = AFirst + k;
        TSortSettings *s = AGrid->SortSettings();
        // With SingleColumn only the sort column's cells move, and none without a sort column.
        MovingCol = !s->SingleColumn() ? AllMove : s->Column() >= 0 ? s->Column() : NoneMove;
        Descending = s->Direction() == sdDescending;
        Full = s->Full();
        SortRow = AGrid->SortRow;
    }

    // The cross-reference is followed on a copy, committed when the run is done.
    void LoadXRef()
    {
        XRef.clear();
        for (int i = 0; i < Grid->FSortRowXRef->Count(); ++i)
            XRef.push_back(Grid->FSortRowXRef->GetInteger(i));
    }

    static constexpr int AllMove = -1;
    static constexpr int NoneMove = -2;

    TProStringGrid *Grid;
    TSortKeys Keys;
    bool Indexed;
    int First;
    int Col = 0;
    int Dir = 1;
    int MovingCol;
    bool Descending;
    bool Full;
    std::vector<int> Pos;
    std::vector<int> XRef;
    // The values of an undo run, sorted along with the rows.
    std::vector<int> Values;
    int SortRow;
    int Swaps = 0;

    TRef Ref(int p) const { return {Pos[size_t(p - First)], p}; }
    int RowFor(int ACol, const TRef &r) const { return MovingCol == AllMove || ACol == MovingCol ? r.Orig : r.Phys; }

    int CompareColumn(int ACol, const TRef &a, const TRef &b, bool Desc)
    {
        if (Grid->IsIgnoredColumn(ACol))
            return 0;
        return Grid->CompareSortCells(Keys, ACol, RowFor(ACol, a), RowFor(ACol, b), Desc);
    }

    // Ties go on to the columns on the right (plain) or to the next index (indexed).
    int Compare(const TRef &a, const TRef &b, int From)
    {
        // The partition meets its pivot's own row: equal, without walking every column for the tie.
        // Once the pivot's row has moved its position differs, but the cells compared are the same.
        if (MovingCol == AllMove ? a.Orig == b.Orig : MovingCol == NoneMove ? a.Phys == b.Phys : a.Orig == b.Orig && a.Phys == b.Phys)
            return 0;
        if (!Indexed) {
            const int last = Grid->AllColCount() - 2;
            for (int c = From;; ++c) {
                const int r = CompareColumn(c, a, b, Descending);
                if (r != 0 || !Full || c > last)
                    return r;
            }
        }
        TSortIndexList *idx = Grid->FSortIndexes.get();
        for (int i = From; i < idx->Count(); ++i) {
            const bool desc = !idx->GetSortDirections(i);
            const int r = CompareColumn(idx->GetSortColumns(i), a, b, desc);
            if (r != 0)
                return desc ? -r : r;
            if (!Full)
                return 0;
        }
        return 0;
    }

    int Compare(const TRef &a, const TRef &b) { return Compare(a, b, Indexed ? 0 : Col); }

    // Reads the first sort column's texts in row order before the sort jumps about.
    void Prime()
    {
        const int col = Indexed ? Grid->FSortIndexes->GetSortColumns(0) : Col;
        if (col < 0 || Grid->IsIgnoredColumn(col))
            return;
        TSortKeys::TColumn &c = Keys.Column(col);
        const bool automatic = c.Style == ssAutomatic;
        if (c.Cells.empty() && c.Sparse.empty())
            c.Cells.resize(size_t(std::max(Keys.Count, 0)));
        else
            return;
        bool anyNumber = false;
        for (int k = 0; k < Keys.Count; ++k) {
            TSortCell &cell = c.Cells[size_t(k)];
            Keys.Text(cell, col, First + k);
            if (automatic) {
                Keys.Facts(cell, col, First + k);
                Keys.CheckType(cell, col, First + k);
                anyNumber = anyNumber || (cell.IsNumber && !cell.CheckType);
            }
        }
        // Numbers are read ahead only where comparisons will ask for them: a numeric column, or
        // an automatic one where some cell reads as a number.
        const bool financial = c.Style == ssFinancial;
        if (!(anyNumber || c.Style == ssNumeric || financial))
            return;
        c.FinancialNumbers = financial;
        c.Numbers.resize(size_t(Keys.Count));
        c.NumberFlags.resize(size_t(Keys.Count));
        for (int k = 0; k < Keys.Count; ++k) {
            TSortCell &cell = Keys.Number(c, c.Cells[size_t(k)], col, First + k, financial);
            c.Numbers[size_t(k)] = cell.Number;
            c.NumberFlags[size_t(k)] = uint8_t((cell.IsNumber ? TSortKeys::nfIsNumber : 0) | (cell.NumberFailed ? TSortKeys::nfFailed : 0)
                                               | (cell.NumberBlank ? TSortKeys::nfBlank : 0) | (cell.CheckType ? TSortKeys::nfCheckType : 0));
        }
    }

    void Swap(int i, int j)
    {
        ++Swaps;
        std::swap(Pos[size_t(i - First)], Pos[size_t(j - First)]);
        if (!Values.empty())
            std::swap(Values[size_t(i - First)], Values[size_t(j - First)]);
        if (i >= 0 && j >= 0 && size_t(i) < XRef.size() && size_t(j) < XRef.size())
            std::swap(XRef[size_t(i)], XRef[size_t(j)]);
        if (MovingCol == AllMove) {
            if (SortRow == i)
                SortRow = j;
            else if (SortRow == j)
                SortRow = i;
        }
    }

    // Hoare's partition round the middle row; the smaller part recurses, the larger loops, so
    // the depth stays logarithmic.
    void QuickSort(int Left, int Right)
    {
        while (Left <= Right) {
            const TRef pivot = Ref(Left + (Right - Left) / 2);
            int i = Left, j = Right;
            do {
                while (Compare(pivot, Ref(i)) == Dir && i < Right)
                    ++i;
                while (Compare(Ref(j), pivot) == Dir && j > Left)
                    --j;
                if (i <= j) {
                    if (i != j && (Indexed || Compare(Ref(i), Ref(j)) != 0))
                        Swap(i, j);
                    ++i;
                    --j;
                }
            } while (i <= j);
            const bool left = Left < j, right = i < Right;
            if (left && right) {
                if (j - Left < Right - i) {
                    QuickSort(Left, j);
                    Left = i;
                } else {
                    QuickSort(i, Right);
                    Right = j;
                }
            } else if (left) {
                Right = j;
            } else if (right) {
                Left = i;
            } else {
                return;
            }
        }
    }

    // The undo sort: by the cross-reference values, swapping only rows whose values differ.
    void UnSort(int Left, int Right)
    {
        while (Left <= Right) {
            const int pivot = Values[size_t((Left + Right) / 2 - First)];
            int i = Left, j = Right;
            do {
                while (Values[size_t(i - First)] < pivot && i < Right)
                    ++i;
                while (pivot < Values[size_t(j - First)] && Left < j)
                    --j;
                if (i <= j) {
                    if (i != j && Values[size_t(i - First)] != Values[size_t(j - First)])
                        Swap(i, j);
                    ++i;
                    --j;
                }
            } while (i <= j);
            const bool left = Left < j, right = i < Right;
            if (left && right) {
                if (j - Left < Right - i) {
                    UnSort(Left, j);
                    Left = i;
                } else {
                    UnSort(i, Right);
                    Right = j;
                }
            } else if (left) {
                Right = j;
            } else if (right) {
                Left = i;
            } else {
                return;
            }
        }
    }
};

void TProStringGrid::RunSort(TSortRun &Run, const std::vector<std::pair<int, int>> &Ranges)
{
    if (!Ranges.empty())
        Run.Prime();
    for (const auto &[left, right] : Ranges)
        Run.QuickSort(left, right);
    for (size_t i = 0; i < Run.XRef.size() && int(i) < FSortRowXRef->Count(); ++i)
        if (FSortRowXRef->GetInteger(int(i)) != Run.XRef[i])
            FSortRowXRef->SetInteger(int(i), Run.XRef[i]);
    SortRow = Run.SortRow;
    FSwaps += Run.Swaps;
    ApplyRowOrder(Run.First, Run.Pos);
}

// ---------------------------------------------------------------------------------------------
// Moving rows

void TProStringGrid::ApplyRowOrder(int First, const std::vector<int> &Sources)
{
    bool moved = false;
    for (size_t k = 0; k < Sources.size() && !moved; ++k)
        moved = Sources[k] != First + int(k);
    if (!moved)
        return;
    const int n = int(Sources.size());
    if (FSortSettings->SingleColumn()) {
        if (FSortSettings->Column() >= 0)
            PermuteRowCells(First, Sources, FSortSettings->Column());
        return;
    }
    PermuteRowCells(First, Sources, -1);

    std::vector<int> heights(Sources.size());
    for (int k = 0; k < n; ++k)
        heights[size_t(k)] = RowHeights(Sources[size_t(k)]);
    for (int k = 0; k < n; ++k)
        if (RowHeights(First + k) != heights[size_t(k)])
            SetRowHeights(First + k, heights[size_t(k)]);

    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
        const bool hidden = NumHiddenRows() > 0;
        auto flagIndex = [&](int r) { return hidden ? RealRowIndex(r) : r; };
        auto flag = [&](int i) { return i >= 0 && size_t(i) < FRowSelect.size() ? FRowSelect[size_t(i)] : uint8_t(0); };
        std::vector<uint8_t> flags(Sources.size());
        std::unordered_map<int, int> movedTo;
        for (int k = 0; k < n; ++k) {
            const int from = flagIndex(Sources[size_t(k)]);
            flags[size_t(k)] = flag(from);
            if (flags[size_t(k)])
                movedTo[from] = flagIndex(First + k);
        }
        for (int k = 0; k < n; ++k) {
            const int to = flagIndex(First + k);
            if (flag(to) == flags[size_t(k)])
                continue;
            if (size_t(to) >= FRowSelect.size())
                FRowSelect.resize(size_t(to) + 1, 0);
            FRowSelect[size_t(to)] = flags[size_t(k)];
        }
        // The list of selected rows keeps its order and names the rows where they went.
        for (int i = 0; i < FSelectedRows->Count(); ++i)
            if (auto it = movedTo.find(FSelectedRows->GetInteger(i)); it != movedTo.end())
                FSelectedRows->SetInteger(i, it->second);
    }

    if (FShowModified->Enabled() && FModifiedRows->Count() > 0) {
        std::vector<int> flags(Sources.size());
        for (int k = 0; k < n; ++k)
            flags[size_t(k)] = RowModified(Sources[size_t(k)]) ? 1 : 0;
        for (int k = 0; k < n; ++k) {
            const int r = First + k;
            if ((RowModified(r) ? 1 : 0) == flags[size_t(k)])
                continue;
            while (FModifiedRows->Count() <= r)
                FModifiedRows->TList::Add(nullptr);
            FModifiedRows->SetInteger(r, flags[size_t(k)]);
        }
    }
}

void TProStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    ++FSwaps;
    const int count = FSortRowXRef->Count();
    if (ARow1 >= 0 && ARow2 >= 0 && ARow1 < count && ARow2 < count) {
        const int v = FSortRowXRef->GetInteger(ARow1);
        FSortRowXRef->SetInteger(ARow1, FSortRowXRef->GetInteger(ARow2));
        FSortRowXRef->SetInteger(ARow2, v);
    }
    if (ARow1 == ARow2)
        return;
    if (FSortSettings->SingleColumn()) {
        // The stored texts move: display texts would write what the display hooks add.
        if (FSortSettings->Column() >= 0)
            SwapRowCells(ARow1, ARow2, FSortSettings->Column());
        return;
    }
    SwapRowCells(ARow1, ARow2, -1);
    const int h1 = RowHeights(ARow1), h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
        const bool hidden = NumHiddenRows() > 0;
        const int f1 = hidden ? RealRowIndex(ARow1) : ARow1;
        const int f2 = hidden ? RealRowIndex(ARow2) : ARow2;
        if (size_t(std::max(f1, f2)) >= FRowSelect.size())
            FRowSelect.resize(size_t(std::max(f1, f2)) + 1, 0);
        std::swap(FRowSelect[size_t(f1)], FRowSelect[size_t(f2)]);
        for (int i = 0; i < FSelectedRows->Count(); ++i) {
            const int v = FSelectedRows->GetInteger(i);
            if (v == f1 || v == f2)
                FSelectedRows->SetInteger(i, v == f1 ? f2 : f1);
        }
    }
    if (FShowModified->Enabled()) {
        const bool m1 = RowModified(ARow1), m2 = RowModified(ARow2);
        if (m1 != m2) {
            while (FModifiedRows->Count() <= std::max(ARow1, ARow2))
                FModifiedRows->TList::Add(nullptr);
            FModifiedRows->SetInteger(ARow1, m2 ? 1 : 0);
            FModifiedRows->SetInteger(ARow2, m1 ? 1 : 0);
        }
    }
    if (SortRow == ARow1)
        SortRow = ARow2;
    else if (SortRow == ARow2)
        SortRow = ARow1;
}

// ---------------------------------------------------------------------------------------------
// Comparisons of grid rows

int TProStringGrid::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    TSortKeys keys(this, 0, 0);
    return CompareSortCells(keys, ACol, ARow1, ARow2, Direction == sdDescending);
}

int TProStringGrid::CompareRows(int ACol, int ARow1, int ARow2)
{
    TSortRun run(this, false, 0, -1);
    return run.Compare({ARow1, ARow1}, {ARow2, ARow2}, ACol);
}

int TProStringGrid::CompareRowsIndexed(int Index, int ARow1, int ARow2)
{
    TSortRun run(this, true, 0, -1);
    return run.Compare({ARow1, ARow1}, {ARow2, ARow2}, Index);
}

QString TProStringGrid::GetStrippedCell(int ACol, int ARow) { return StripHTMLText(GetCellEx(ACol, ARow)); }

// ---------------------------------------------------------------------------------------------
// Sorts

void TProStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (int r = 0; r < RowCount(); ++r)
        FSortRowXRef->Add(r);
}

void TProStringGrid::QuickSortRows(int Col, int Left, int Right)
{
    SortDir = FSortSettings->Direction() == sdAscending ? 1 : -1;
    if (Col < 0)
        return;
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Left > Right)
        return;
    TSortRun run(this, false, Left, Right);
    run.LoadXRef();
    run.Col = Col;
    run.Dir = SortDir;
    RunSort(run, {{Left, Right}});
}

void TProStringGrid::QuickSortRowsIndexed(int Left, int Right)
{
    if (FSortIndexes->Count() == 0)
        throw EProGridError(QStringLiteral("No indexes specified for indexed sort"));
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Left > Right)
        return;
    TSortRun run(this, true, Left, Right);
    run.LoadXRef();
    RunSort(run, {{Left, Right}});
}

void TProStringGrid::QuickSort(int Col, int Left, int Right)
{
    TGridUpdateLock lock(this);
    QuickSortRows(Col, Left, Right);
}

void TProStringGrid::QuickSortIndexed(int Left, int Right)
{
    TGridUpdateLock lock(this);
    QuickSortRowsIndexed(Left, Right);
}

namespace {

// Keeps column 0 of the rows in place while they are sorted.
class TColumnZeroKeeper
{
public:
    TColumnZeroKeeper(TProStringGrid *G, bool Active) : FGrid(G)
    {
        if (!Active)
            return;
        for (int r = 0; r < G->RowCount(); ++r)
            FCells.emplace_back(G->GetGridCell(0, r), G->GetGridObject(0, r));
    }
    void Restore()
    {
        for (size_t r = 0; r < FCells.size() && int(r) < FGrid->RowCount(); ++r) {
            FGrid->SetGridCell(0, int(r), FCells[r].first);
            FGrid->SetGridObject(0, int(r), FCells[r].second);
        }
        FCells.clear();
    }

private:
    TProStringGrid *FGrid;
    std::vector<std::pair<QString, TObject *>> FCells;
};

} // namespace

void TProStringGrid::SortEntry(bool Indexed)
{
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (!Indexed)
        FSortIndexes->Clear();
    else if (FSortIndexes->Count() == 0)
        throw EProGridError(QStringLiteral("No indexes specified for indexed sort"));
    const int oldTop = TopRow();
    const int oldRow = Row();
    TGridUpdateLock lock(this);
    TColumnZeroKeeper zero(this, FSortSettings->NormalCellsOnly() && FixedCols() > 0);
    SortRow = oldRow;
    if (Indexed)
        QuickSortRowsIndexed(FixedRows(), LastSortRow());
    else
        QuickSortRows(FSortSettings->Column(), FixedRows(), LastSortRow());
    zero.Restore();

    const bool follow = FNavigation->MoveRowOnSort();
    if (Indexed || !FMouseActions->DisjunctRowSelect()) {
        if (follow) {
            SetRow(SortRow);
            FOldRowSel = -1;
        } else {
            SetRow(oldRow);
        }
    }
    if (!Indexed && OnRowUpdate && !follow)
        OnRowUpdate(this, oldRow, Row());
    if (FNavigation->KeepScrollOnSort())
        SetTopRow(oldTop);
    lock.Release();
    if (FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->Invalidate();
    if (!Indexed && FSearchFooter->Visible() && FSearchPanel)
        FSearchPanel->Invalidate();
}

void TProStringGrid::QSort()
{
    if (FSortSettings->Column() < 0)
        return;
    SortEntry(false);
}

void TProStringGrid::QSortIndexed() { SortEntry(true); }

void TProStringGrid::Sort(int Column, TSortDirection Direction)
{
    FSortSettings->SetColumn(Column);
    FSortSettings->SetDirection(Direction);
    QSort();
}

void TProStringGrid::SortByColumn(int Col)
{
    if (RowCount() <= 1)
        return;
    FSortSettings->SetColumn(Col);
    QSort();
}

bool TProStringGrid::SortLine(int Col, int ARow1, int ARow2)
{
    for (int c = Col;; ++c) {
        const int r = CompareCells(c, ARow1, ARow2, FSortSettings->Direction());
        if (r == SortDir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || c >= AllColCount() - 1)
            return false;
    }
}

void TProStringGrid::SortGroups(bool Indexed)
{
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (Indexed && FSortIndexes->Count() == 0)
        throw EProGridError(QStringLiteral("No indexes specified for indexed sort"));
    const int first = FixedRows(), last = LastSortRow();
    auto level = [this](int r) { return HasCellProperties(0, r) ? GetCellProperties(0, r)->NodeLevel() : 0; };
    int deepest = 0;
    for (int r = first; r <= last; ++r)
        if (IsNode(r))
            deepest = std::max(deepest, level(r));
    // The rows below each expanded node of the deepest level; a group of one row stays.
    std::vector<std::pair<int, int>> ranges;
    for (int d = first; d <= last; ++d) {
        if (!IsNode(d) || level(d) != deepest)
            continue;
        const TCellGraphic *node = GetCellGraphic(0, d);
        const int span = node->CellIndex();
        if (node->CellBoolean() || span - 1 <= 1)
            continue;
        const int to = std::min(d + span - 1, last);
        if (to > d + 1)
            ranges.emplace_back(d + 1, to);
    }
    const int oldTop = TopRow();
    const int oldRow = Row();
    TGridUpdateLock lock(this);
    TColumnZeroKeeper zero(this, FSortSettings->NormalCellsOnly() && FixedCols() > 0);
    SortRow = oldRow;
    if (!ranges.empty()) {
        SortDir = FSortSettings->Direction() == sdAscending ? 1 : -1;
        TSortRun run(this, Indexed, first, last);
        run.LoadXRef();
        run.Col = FSortSettings->Column();
        run.Dir = Indexed ? 1 : SortDir;
        RunSort(run, ranges);
    }
    zero.Restore();
    if (FNavigation->MoveRowOnSort()) {
        SetRow(SortRow);
        FOldRowSel = -1;
    } else {
        SetRow(oldRow);
    }
    if (FNavigation->KeepScrollOnSort())
        SetTopRow(oldTop);
}

void TProStringGrid::QSortGroup() { SortGroups(false); }

void TProStringGrid::QSortGroupIndexed() { SortGroups(true); }

void TProStringGrid::UnSortRows(int Left, int Right)
{
    Left = std::max(Left, 0);
    Right = std::min({Right, RowCount() - 1, FUnSortRowXRef->Count() - 1});
    if (Left > Right)
        return;
    TSortRun run(this, false, Left, Right);
    run.LoadXRef();
    for (int r = Left; r <= Right; ++r)
        run.Values.push_back(FUnSortRowXRef->GetInteger(r));
    run.UnSort(Left, Right);
    for (int r = Left; r <= Right; ++r)
        FUnSortRowXRef->SetInteger(r, run.Values[size_t(r - Left)]);
    for (size_t i = 0; i < run.XRef.size() && int(i) < FSortRowXRef->Count(); ++i)
        FSortRowXRef->SetInteger(int(i), run.XRef[i]);
    FSwaps += run.Swaps;
    ApplyRowOrder(run.First, run.Pos);
}

void TProStringGrid::QUnSort()
{
    // Rows added or removed since the sort: there is no order to go back to.
    if (FSortRowXRef->Count() != RowCount()) {
        InitSortXRef();
        return;
    }
    FUnSortRowXRef->Clear();
    for (int i = 0; i < FSortRowXRef->Count(); ++i)
        FUnSortRowXRef->Add(FSortRowXRef->GetInteger(i));
    TGridUpdateLock lock(this);
    TColumnZeroKeeper zero(this, FSortSettings->NormalCellsOnly() && FixedCols() > 0);
    UnSortRows(0, RowCount() - 1);
    zero.Restore();
}
