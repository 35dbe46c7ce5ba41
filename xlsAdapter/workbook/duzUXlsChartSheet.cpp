#include "xlsAdapter/workbook/duzUXlsChartSheet.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsSST.h"

#include <functional>
#include <memory>

namespace {



void AttachLabel(TBaseRecord *R, TSST *SST)
{
    if (auto *l = dynamic_cast<TLabelSSTRecord *>(R)) {
        if (!SST)
            ErrExcelInvalid();
        l->AttachToSST(SST);
    }
}

// The records every sheet kind sorts out the same way. True when R was taken or dropped.
bool TakeSectionRecord(std::unique_ptr<TBaseRecord> &R, TDimensionsRec &Dimensions, TEOFRecord *&Eof,
                       TCodeNameRecord *&CodeName)
{
    if (dynamic_cast<TIgnoreRecord *>(R.get())) {
        R.reset();
    } else if (auto *dim = dynamic_cast<TDimensionsRecord *>(R.get())) {
        Dimensions = dim->Dim();
        R.reset();
    } else if (auto *eof = dynamic_cast<TEOFRecord *>(R.get())) {
        R.release();
        delete Eof;
        Eof = eof;
    } else if (auto *cn = dynamic_cast<TCodeNameRecord *>(R.get())) {
        R.release();
        delete CodeName;
        CodeName = cn;
    } else {
        return false;
    }
    return true;
}

// A sheet kept as one record list: BOF, the list, the code name, EOF.
void SaveListSection(TOle2File *DataStream, TBOFRecord *Bof, TBaseRecordList *List, TCodeNameRecord *CodeName,
                     TEOFRecord *Eof)
{
    Bof->SaveToStream(DataStream);
    List->SaveToStream(DataStream);
    if (CodeName)
        CodeName->SaveToStream(DataStream);
    Eof->SaveToStream(DataStream);
}

// Sets the text of Record (nothing for nil), which lives in List.
void SetListHeaderFooter(TBaseRecordList *List, TPageHeaderFooterRecord *Record, const QString &Text)
{
    if (!Record)
        return;
    const int32_t Before = Record->DataSize;
    Record->SetText(Text);
    List->AdaptSize(int64_t(Record->DataSize) - Before);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TWbChart

TWbChart::TWbChart(TWorkbookGlobals *aWorkbookGlobals) : TSheet(aWorkbookGlobals), FChartRecords(new TChartRecordList())
{
    FPrintRecords = FChartRecords;
}

TWbChart::~TWbChart()
{
    TWbChart::Clear();
    delete FChartRecords;
}

void TWbChart::Clear()
{
    TSheet::Clear();
    FChartRecords->Clear();
    delete RemainingData;
    RemainingData = nullptr;
}

void TWbChart::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First, TSST *SST)
{
    std::unique_ptr<TBOFRecord> Bof(First);
    Clear();
    LoadChartRecords(DataStream, RecordHeader, SST);
    FBOF = Bof.release();
}

// Reads up to the EOF, or an END outside every block. Each BEGIN opens a block that its END (or
// an EOF) closes; the blocks are counted instead of followed by recursion, so no file can
// exhaust the stack.
void TWbChart::LoadChartRecords(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST)
{
    int32_t Depth = 0;
    while (true) {
        std::unique_ptr<TBaseRecord> R(LoadSectionRecord(DataStream, RecordHeader));
        const uint16_t Id = R->Id;
        // Records inside blocks belong to the chart's parts, not to the sheet's page setup.
        if (Depth == 0)
            CacheRecord(R.get());
        if (dynamic_cast<TBOFRecord *>(R.get()))
            ErrExcelInvalid();
        AttachLabel(R.get(), SST);

        if (Id == xlr_EOF) {
            // What is chained to the EOF does not belong to the chart.
            delete RemainingData;
            RemainingData = R->Continue;
            R->Continue = nullptr;
        }
        if (Id == xlr_ChartBegin) {
            if (Depth >= MaxChartNesting)
                ErrExcelInvalid();
            FChartRecords->Add(R.release());
            ++Depth;
            continue;
        }
        if (!TakeSectionRecord(R, OriginalDimensions, FEOF, FCodeName))
            FChartRecords->Add(R.release());
        if (Id == xlr_EOF || Id == xlr_ChartEnd) {
            if (Depth == 0)
                return;
            --Depth;
        }
    }
}

void TWbChart::SaveToStream(TOle2File *DataStream)
{
    CheckLoaded();
    SaveListSection(DataStream, FBOF, FChartRecords, FCodeName, FEOF);
}

void TWbChart::SaveRangeToStream(TOle2File *DataStream, int32_t, const TXlsCellRange &) { SaveToStream(DataStream); }

int64_t TWbChart::TotalSize() { return FChartRecords->GetTotalSize() + TSheet::TotalSize(); }

int64_t TWbChart::TotalRangeSize(int32_t, const TXlsCellRange &) { return TotalSize(); }

void TWbChart::FixCachePointers()
{
    ClearCache();
    CacheRecords(FChartRecords);
}

void TWbChart::SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text)
{
    SetListHeaderFooter(FChartRecords, Record, Text);
}

void TWbChart::AddZoomRecord()
{
    TSCLRecord *r = TSCLRecord::CreateFromData(100);
    FChartRecords->Add(r);
    FZoom = r;
}

TBaseRecord *TWbChart::ExtractRemainingData()
{
    TBaseRecord *r = RemainingData;
    RemainingData = nullptr;
    return r;
}

TWbChart *TWbChart::CopyChart() const
{
    std::unique_ptr<TWbChart> c(new TWbChart(FWorkbookGlobals));
    c->FBOF = CopyOf(FBOF);
    c->FEOF = CopyOf(FEOF);
    c->FChartRecords->CopyFrom(FChartRecords);
    c->OriginalDimensions = OriginalDimensions;
    c->FixCachePointers();
    return c.release();
}

// ---------------------------------------------------------------------------------------------
// TWbUnsupportedSheet

TWbUnsupportedSheet::TWbUnsupportedSheet(TWorkbookGlobals *aWorkbookGlobals)
    : TSheet(aWorkbookGlobals), FSheetRecords(new TSheetRecordList())
{
    FPrintRecords = FSheetRecords;
}

TWbUnsupportedSheet::~TWbUnsupportedSheet()
{
    TWbUnsupportedSheet::Clear();
    delete FSheetRecords;
}

void TWbUnsupportedSheet::Clear()
{
    TSheet::Clear();
    FSheetRecords->Clear();
}

void TWbUnsupportedSheet::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First,
                                         TSST *SST)
{
    std::unique_ptr<TBOFRecord> Bof(First);
    Clear();
    uint16_t Id = 0;
    do {
        std::unique_ptr<TBaseRecord> R(LoadSectionRecord(DataStream, RecordHeader));
        Id = R->Id;
        CacheRecord(R.get());
        AttachLabel(R.get(), SST);
        if (dynamic_cast<TBOFRecord *>(R.get()))
            ErrExcelInvalid();
        if (!TakeSectionRecord(R, OriginalDimensions, FEOF, FCodeName))
            FSheetRecords->Add(R.release());
    } while (Id != xlr_EOF);
    FBOF = Bof.release();
}

void TWbUnsupportedSheet::SaveToStream(TOle2File *DataStream)
{
    CheckLoaded();
    SaveListSection(DataStream, FBOF, FSheetRecords, FCodeName, FEOF);
}

void TWbUnsupportedSheet::SaveRangeToStream(TOle2File *DataStream, int32_t, const TXlsCellRange &)
{
    SaveToStream(DataStream);
}

int64_t TWbUnsupportedSheet::TotalSize() { return FSheetRecords->GetTotalSize() + TSheet::TotalSize(); }

int64_t TWbUnsupportedSheet::TotalRangeSize(int32_t, const TXlsCellRange &) { return TotalSize(); }

void TWbUnsupportedSheet::FixCachePointers()
{
    ClearCache();
    CacheRecords(FSheetRecords);
}

void TWbUnsupportedSheet::SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text)
{
    SetListHeaderFooter(FSheetRecords, Record, Text);
}

// ---------------------------------------------------------------------------------------------
// TWbEmbeddedChart

// Charts on a sheet are held as chart sheets are.
std::function<TEmbeddedChart *()> EmbeddedChartClass = [] { return static_cast<TEmbeddedChart *>(new TWbEmbeddedChart); };

TWbEmbeddedChart::TWbEmbeddedChart(TWbChart *aChart) : FChart(aChart ? aChart : new TWbChart(nullptr)) {}

TWbEmbeddedChart::~TWbEmbeddedChart() { delete FChart; }

void TWbEmbeddedChart::LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBaseRecord *First,
                                      TSST *SST)
{
    std::unique_ptr<TBaseRecord> first(First);
    auto *bof = dynamic_cast<TBOFRecord *>(First);
    if (!bof)
        ErrExcelInvalid();
    first.release();
    FChart->LoadFromStream(DataStream, RecordHeader, bof, SST);
}

void TWbEmbeddedChart::SaveToStream(TOle2File *DataStream) { FChart->SaveToStream(DataStream); }

int64_t TWbEmbeddedChart::TotalSize() { return FChart->TotalSize(); }

TEmbeddedChart *TWbEmbeddedChart::CopyTo() const { return new TWbEmbeddedChart(FChart->CopyChart()); }

TBaseRecord *TWbEmbeddedChart::ExtractRemainingData() { return FChart->ExtractRemainingData(); }
