#pragma once
// Chart sheets and sheets of a kind the engine does not interpret (macro sheets, modules): both
// are kept as their records and written back as read.
#include "xlsAdapter/records/duzUXlsChart.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"

// Chart blocks nest far less deeply than this in real files; deeper nesting is refused as an
// invalid file rather than followed.
constexpr int32_t MaxChartNesting = 100;

class TWbChart : public TSheet
{
public:
    explicit TWbChart(TWorkbookGlobals *aWorkbookGlobals);
    ~TWbChart() override;

    void Clear() override;
    // Takes First in every case.
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First, TSST *SST) override;
    void SaveToStream(TOle2File *DataStream) override;
    // A chart has no cells: the whole sheet.
    void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange) override;
    int64_t TotalSize() override;
    int64_t TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange) override;

    void FixCachePointers() override;
    void SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text) override;
    // An SCL of 100 at the end of the chart's records.
    void AddZoomRecord() override;

    TChartRecordList *ChartRecords() const { return FChartRecords; }
    // Hands over the CONTINUE chain that followed the chart's EOF.
    TBaseRecord *ExtractRemainingData();
    // A copy with copies of every record, no code name and nothing after its EOF.
    TWbChart *CopyChart() const;

    // The CONTINUE chain that followed the EOF; not written.
    TBaseRecord *RemainingData = nullptr;

private:
    void LoadChartRecords(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST);

    TChartRecordList *FChartRecords;
};

class TWbUnsupportedSheet : public TSheet
{
public:
    explicit TWbUnsupportedSheet(TWorkbookGlobals *aWorkbookGlobals);
    ~TWbUnsupportedSheet() override;

    void Clear() override;
    // Takes First in every case.
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First, TSST *SST) override;
    void SaveToStream(TOle2File *DataStream) override;
    void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange) override;
    int64_t TotalSize() override;
    int64_t TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange) override;

    void FixCachePointers() override;
    void SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text) override;
    // The engine does not know where such a sheet keeps its zoom.
    void AddZoomRecord() override {}

    TSheetRecordList *SheetRecords() const { return FSheetRecords; }

private:
    TSheetRecordList *FSheetRecords;
};

// The chart that follows the OBJ of a chart placed on a worksheet.
class TWbEmbeddedChart : public TEmbeddedChart
{
public:
    explicit TWbEmbeddedChart(TWbChart *aChart = nullptr);
    ~TWbEmbeddedChart() override;

    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBaseRecord *First, TSST *SST) override;
    void SaveToStream(TOle2File *DataStream) override;
    int64_t TotalSize() override;
    TEmbeddedChart *CopyTo() const override;
    TBaseRecord *ExtractRemainingData() override;

    TWbChart *Chart() const { return FChart; }

private:
    TWbChart *FChart;
};
