#include "xlsAdapter/file/duzUXlsAutofit.h"

#include "framework/rtl/System.h"
#include "xlsAdapter/file/duzUExcelFile.h"
#include "xlsAdapter/numformat/duzUWbNumberFormat.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <algorithm>

namespace {

constexpr int32_t StandardRowHeight = 255;
constexpr int32_t MaxAutofitSize = 32767;

// The cell's value as it shows, with its runs for a rich text.
TRichString CellText(const TXlsCellValue &v, const TRTFRunList &Runs, TWorkbookGlobals *Globals,
                     TExcelFile *Workbook)
{
    TRichString Result;
    int32_t Color = 0;
    Result.Value = XlsFormatValue(v.Value, Workbook->GetFormatList(v.XF).Format, Globals->Is1904(), Color);
    Result.RTFRuns = Runs;
    return Result;
}

} // namespace

int32_t TRowHeightCalc::CalcCellHeight(int32_t, int32_t, const TRichString &, int32_t, TExcelFile *, double,
                                       double) const
{
    return StandardRowHeight;
}

int32_t TColWidthCalc::CalcCellWidth(int32_t, int32_t, const TRichString &, int32_t, TExcelFile *, double,
                                     double) const
{
    return 0;
}

int32_t AdjustedAutofitSize(int32_t Size, double Adjustment)
{
    int64_t Result = Size;
    if (Adjustment != 1 && Adjustment >= 0)
        Result = Round(Adjustment * Size);
    return int32_t(std::min<int64_t>(Result, MaxAutofitSize));
}

void TCellList::RecalcRowHeights(TExcelFile *Workbook, int32_t Row1, int32_t Row2, bool Forced, bool KeepAutofit,
                                 double Adjustment)
{
    TRowHeightCalc Calc(FGlobals);
    for (int32_t r = std::max(Row1, 0); r <= Row2 && r < FRowRecordList->Count(); ++r) {
        if (!FRowRecordList->HasRow(r))
            continue;
        TRowRecord *RowRecord = FRowRecordList->Items(r);
        if (!Forced && !RowRecord->IsAutoHeight())
            continue;
        int32_t Height = Calc.CalcCellHeight(r, 0, TRichString(), 15, Workbook, 1, 1);
        if (r < Count()) {
            TCellRecordList *Row = Items(r);
            for (int i = 0; i < Row->Count(); ++i) {
                const int32_t Col = Row->Items(i)->Column();
                TXlsCellValue v;
                TRTFRunList Runs;
                GetValueX2(r, Col, v, &Runs);
                Height = std::max(Height, Calc.CalcCellHeight(r, Col, CellText(v, Runs, FGlobals, Workbook), v.XF,
                                                              Workbook, 1, 1));
            }
        }
        RowRecord->SetHeight(AdjustedAutofitSize(Height, Adjustment));
        if (!KeepAutofit)
            RowRecord->ManualHeight();
    }
}

void TCellList::RecalcColWidths(TExcelFile *Workbook, int32_t Col1, int32_t Col2, bool IgnoreStrings,
                                double Adjustment)
{
    TColWidthCalc Calc(FGlobals);
    for (int32_t c = std::max(Col1, 0); c <= std::min(Col2, 255); ++c) {
        int32_t Width = 0;
        for (int32_t r = Count() - 1; r >= 0; --r) {
            int32_t Index;
            if (!Items(r)->Find(c, Index))
                continue;
            TXlsCellValue v;
            TRTFRunList Runs;
            GetValueX2(r, c, v, &Runs);
            if (IgnoreStrings && VarIsStr(v.Value))
                continue;
            Width = std::max(Width, Calc.CalcCellWidth(r, c, CellText(v, Runs, FGlobals, Workbook), v.XF, Workbook,
                                                       1, 1));
        }
        Width = AdjustedAutofitSize(Width, Adjustment);
        if (Width > 0)
            Workbook->SetColumnWidth(c + 1, Width);
    }
}
