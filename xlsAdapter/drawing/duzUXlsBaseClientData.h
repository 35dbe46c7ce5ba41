#pragma once
// The BIFF records that a drawing object keeps next to its Escher records (an OBJ after a
// ClientData, a TXO after a ClientTextbox), held by the Escher record they belong to.
#include "xlsAdapter/records/duzUXlsBaseRecords.h"

#include <cstdint>

class TOle2File;
class TSST;

// A class reference to a BIFF record class: true for records of the class or a descendant.
using TBaseRecordClass = bool (*)(const TBaseRecord *);
template <class T> bool IsRecordOf(const TBaseRecord *R) { return dynamic_cast<const T *>(R) != nullptr; }

class TBaseClientData : public TObject
{
public:
    ~TBaseClientData() override;

    virtual uint16_t Id() const { return 0; }
    virtual void SetId(uint16_t) {}
    // MaxId := MaxId + 1, which becomes the object's id.
    virtual void ArrangeId(uint16_t &) {}
    virtual void Clear() = 0;
    virtual TBaseClientData *CopyTo() const = 0;
    // Takes First (the record the object begins with) in every case, also when it fails.
    virtual void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TSST *SST, TBaseRecord *First) = 0;
    virtual void SaveToStream(TOle2File *DataStream) = 0;
    virtual int64_t TotalSize() = 0;
    virtual void ArrangeCopyRowsAndCols(int32_t, int32_t) {}
    virtual void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                          const TSheetInfo &SheetInfo) = 0;
    virtual void ArrangeCopySheet(const TSheetInfo &SheetInfo) = 0;
    // The class of the BIFF record that must follow the Escher record.
    virtual TBaseRecordClass ObjRecord() const { return nullptr; }

    // CONTINUE records that followed the object's records and carry Escher data of the drawing.
    TBaseRecord *RemainingData = nullptr;

protected:
    void FreeRemainingData();
};

// A class reference to a client data class: makes an empty object of it.
using TClientDataClass = TBaseClientData *(*)();
