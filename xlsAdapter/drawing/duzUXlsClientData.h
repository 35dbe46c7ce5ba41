#pragma once
// The OBJ of a drawing object and the TXO of a text box, with the OBJ templates of new pictures,
// comments and auto-filter arrows.
#include "xlsAdapter/drawing/duzUXlsBaseClientData.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"

#include <QString>
#include <functional>

// The chart substream (BOF .. EOF) that follows the OBJ of a chart placed on a sheet.
class TEmbeddedChart : public TObject
{
public:
    // Takes First, the BOF record, in every case.
    virtual void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBaseRecord *First,
                                TSST *SST) = 0;
    virtual void SaveToStream(TOle2File *DataStream) = 0;
    virtual int64_t TotalSize() = 0;
    virtual TEmbeddedChart *CopyTo() const = 0;
    virtual void ArrangeInsertRowsAndCols(int32_t, int32_t, int32_t, int32_t, const TSheetInfo &) {}
    virtual void ArrangeCopySheet(const TSheetInfo &) {}
    virtual void ArrangeCopyRowsAndCols(int32_t, int32_t) {}
    // The CONTINUE records chained to the chart's EOF, handed over.
    virtual TBaseRecord *ExtractRemainingData() = 0;
};

// Makes the object that holds an embedded chart.
extern std::function<TEmbeddedChart *()> EmbeddedChartClass;

class DUzObj : public TBaseClientData
{
public:
    ~DUzObj() override;
    // A new object from a template, with the next object id.
    static DUzObj *CreateEmptyImg(uint16_t &MaxId);
    static DUzObj *CreateEmptyNote(uint16_t &MaxId);
    static DUzObj *CreateEmptyAutoFilter(uint16_t &MaxId);

    // The object id; 0 without an OBJ record or one too short to hold it.
    uint16_t Id() const override;
    void SetId(uint16_t Value) override;
    void ArrangeId(uint16_t &MaxId) override;
    void Clear() override;
    TBaseClientData *CopyTo() const override;
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST, TBaseRecord *First) override;
    void SaveToStream(TOle2File *DataStream) override;
    int64_t TotalSize() override;
    void ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset) override;
    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                  const TSheetInfo &SheetInfo) override;
    void ArrangeCopySheet(const TSheetInfo &SheetInfo) override;
    TBaseRecordClass ObjRecord() const override { return &IsRecordOf<TObjRecord>; }
    // The drop-down object the engine makes for an auto filter.
    bool IsAutoFilter() const;

    TObjRecord *FObjRecord = nullptr;
    TEmbeddedChart *FChart = nullptr;
    TBaseRecord *FImData = nullptr;
    bool HasPictFmla = false;

private:
    static DUzObj *CreateFromTemplate(const uint8_t *Body, int32_t Size, uint16_t &MaxId);
};

class TTXO : public TBaseClientData
{
public:
    ~TTXO() override;
    // A TXO without text.
    static TTXO *CreateFromData();

    void Clear() override;
    TBaseClientData *CopyTo() const override;
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST, TBaseRecord *First) override;
    void SaveToStream(TOle2File *DataStream) override;
    int64_t TotalSize() override;
    void ArrangeInsertRowsAndCols(int32_t, int32_t, int32_t, int32_t, const TSheetInfo &) override {}
    void ArrangeCopySheet(const TSheetInfo &) override {}
    TBaseRecordClass ObjRecord() const override { return &IsRecordOf<TTXORecord>; }

    QString Value() const;
    // "Too many entries ..." for a text longer than the record's 16-bit length holds.
    void SetValue(const QString &aValue);

    TTXORecord *FTXO = nullptr;

private:
    // Reads the text and its runs; Trailing is the link that holds the CONTINUE records after them.
    QString ReadValue(TContinueRecord **&Trailing) const;
};
