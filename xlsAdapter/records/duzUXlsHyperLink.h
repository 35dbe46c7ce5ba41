#pragma once
// The hyperlinks of a worksheet: one HLINK record per link (a cell range and the link object:
// display text, target frame, a URL, file or UNC moniker, a place in the workbook), each with
// an optional SCREENTIP record holding its tooltip.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <cstdint>

class TOle2File;

constexpr uint16_t xlr_HLINK = 0x01B8;
constexpr uint16_t xlr_HLINKTOOLTIP = 0x0800;

// The tooltip of the HLINK right before it: a range (filled on save) and the text.
class TScreenTipRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TScreenTipRecord)
    // Refused ("Record with ID 0x%x is invalid") when too short to hold the range.
    TScreenTipRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    static TScreenTipRecord *CreateNew(const QString &aDescription);

    QString Text() const;
    void SetText(const QString &Value);

    uint16_t FirstRow() const { return GetWord(Data, 2); }
    void SetFirstRow(int32_t v) { SetWord(Data, 2, v); }
    uint16_t LastRow() const { return GetWord(Data, 4); }
    void SetLastRow(int32_t v) { SetWord(Data, 4, v); }
    uint16_t FirstCol() const { return GetWord(Data, 6); }
    void SetFirstCol(int32_t v) { SetWord(Data, 6, v); }
    uint16_t LastCol() const { return GetWord(Data, 8); }
    void SetLastCol(int32_t v) { SetWord(Data, 8, v); }
};

class THLinkRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(THLinkRecord)
    // Refused ("Record with ID 0x%x is invalid") without the 32-byte head.
    THLinkRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    ~THLinkRecord() override;
    static THLinkRecord *CreateNew(const TXlsCellRange &CellRange, const THyperLink &HLink);

    // Reads the parts up to the record's end, never past it; a moniker of a kind not known
    // reads as a link into the workbook with no text.
    THyperLink GetProperties() const;
    // Rebuilds the parts after the head from HLink. Texts that do not fit one record are refused.
    void SetProperties(const THyperLink &HLink);

    TXlsCellRange GetCellRange() const;
    void SetCellRange(const TXlsCellRange &CellRange);
    uint16_t FirstRow() const { return GetWord(Data, 0); }
    void SetFirstRow(int32_t v) { SetWord(Data, 0, v); }
    uint16_t LastRow() const { return GetWord(Data, 2); }
    void SetLastRow(int32_t v) { SetWord(Data, 2, v); }
    uint16_t FirstCol() const { return GetWord(Data, 4); }
    void SetFirstCol(int32_t v) { SetWord(Data, 4, v); }
    uint16_t LastCol() const { return GetWord(Data, 6); }
    void SetLastCol(int32_t v) { SetWord(Data, 6, v); }
    uint16_t OptionFlags() const { return GetWord(Data, 28); }
    void SetOptionFlags(int32_t v) { SetWord(Data, 28, v); }

    // Takes aHint (nil removes the tooltip).
    void AddHint(TScreenTipRecord *aHint);
    TScreenTipRecord *Hint() const { return FHint; }

    // The HLINK, then its tooltip with the link's range.
    void SaveToStream(TOle2File *Workbook) override;
    void SaveRangeToStream(TOle2File *Workbook, const TXlsCellRange &CellRange);
    int32_t TotalSize() const override;
    int32_t TotalSizeNoHeaders() const override;
    int32_t TotalRangeSize(const TXlsCellRange &CellRange) const;
    bool Intersects(const TXlsCellRange &CellRange) const;

    // Moves the link for aRowCount (aColCount) blocks of CellRange's size inserted at its top
    // (left), on the sheet where cells move; negative counts delete blocks.
    void ArrangeInsertRange(const TXlsCellRange &CellRange, int32_t aRowCount, const TSheetInfo &SheetInfo,
                            int32_t aColCount);
    void Offset(int32_t DeltaRow, int32_t DeltaCol);

protected:
    // The copy has its own copy of the tooltip.
    TBaseRecord *DoCopyTo() const override;

private:
    TScreenTipRecord *FHint = nullptr;
};

// The links of a sheet, written in (FirstRow, FirstCol) order.
class THLinkList : public TBaseList
{
public:
    THLinkRecord *Items(int Index) const { return static_cast<THLinkRecord *>(TBaseList::Items(Index)); }
    int Add(THLinkRecord *aRecord);
    void Sort();
    // Appends copies of every link of aHLinkList (nothing for nil).
    void CopyFrom(const THLinkList *aHLinkList);
    void SaveToStream(TOle2File *DataStream);
    // The links that intersect the range, at their sheet places.
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    int64_t TotalSize() const;
    int64_t TotalRangeSize(const TXlsCellRange &CellRange) const;
    // Inserts aRowCount copies of SourceRange's rows at DestRow (aColCount of its columns at
    // DestCol); the links inside the source are copied along.
    void InsertAndCopyRange(const TXlsCellRange &SourceRange, int32_t DestRow, int32_t DestCol, int32_t aRowCount,
                            int32_t aColCount, const TSheetInfo &SheetInfo);
    // Deletes aRowCount blocks of CellRange's rows (aColCount of its columns).
    void DeleteRange(const TXlsCellRange &CellRange, int32_t aRowCount, int32_t aColCount,
                     const TSheetInfo &SheetInfo);

    bool Sorted = true;
};
