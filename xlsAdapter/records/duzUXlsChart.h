#pragma once
// The records of a chart substream, kept as read; BEGIN and END bracket the nested blocks.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

constexpr uint16_t xlr_ChartBegin = 0x1033;
constexpr uint16_t xlr_ChartEnd = 0x1034;

class TChartRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TChartRecord)
    using TBaseRecord::TBaseRecord;
};

class TBeginRecord : public TChartRecord
{
    TARVIX_XLS_RECORD(TBeginRecord)
    using TChartRecord::TChartRecord;
};

class TEndRecord : public TChartRecord
{
    TARVIX_XLS_RECORD(TEndRecord)
    using TChartRecord::TChartRecord;
};

// All records of one chart substream, nested blocks included, in file order.
class TChartRecordList : public TBaseRecordList
{
};
