#pragma once
// Cell comments: a NOTE record per comment, filed by row like cells, and the drawing object
// (a text box shape) that holds the comment's box and text.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

class TDrawing;
class TEscherClientDataRecord;
class TSheetSizes;

constexpr uint16_t xlr_NOTE = 0x001C;

class TNoteRecord : public TBaseRowColRecord
{
    TARVIX_XLS_RECORD(TNoteRecord)
    // A NOTE read from a file keeps its own data; it must reach the object id.
    TNoteRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // Removes its comment box from the drawing when it owns one.
    ~TNoteRecord() override;

    // A hidden comment at the cell with a new comment box from the drawing.
    static TNoteRecord *CreateFromData(int32_t aRow, int32_t aCol, const QString &aTxt, TDrawing *Drawing,
                                       const TImageProperties &Properties, TSheetSizes *sSheet);

    uint16_t ObjId() const { return GetWord(Data, 6); }
    // The comment box's text; "" (and writes ignored) without a box or text box.
    QString Text() const;
    void SetText(const QString &aText);
    TEscherClientDataRecord *Dwg() const { return FDwg; }

    // Links the record to the drawing object of its id (nil when none).
    void FixDwgIds(TDrawing *Drawing);

    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                  const TSheetInfo &SheetInfo) override;
    // A copy gets its own copy of the comment box, moved by the offsets.
    void ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset) override;

protected:
    // The copy shares the comment box until it is given its own.
    TBaseRecord *DoCopyTo() const override;

private:
    TEscherClientDataRecord *FDwg = nullptr;
    // A copy that still shares its source's box must not take that box away when it goes.
    bool FOwnsDwg = false;
};

class TNoteRecordList : public TBaseRowColRecordList
{
public:
    TNoteRecord *Items(int Index) const { return static_cast<TNoteRecord *>(TBaseRowColRecordList::Items(Index)); }
    void FixDwgIds(TDrawing *Drawing);
};

// The notes of a sheet, one list per row. Its notes refer into the sheet's drawing, so the list is
// emptied or freed before the drawing is.
class TNoteList : public TBaseRowColList
{
public:
    TNoteRecordList *Items(int Index) const { return static_cast<TNoteRecordList *>(TBaseRowColList::Items(Index)); }

    // Files a new comment under its row; a note that cannot be filed is freed and the error passes on.
    void AddNewComment(int32_t Row, int32_t Col, const QString &Txt, TDrawing *Drawing,
                       const TImageProperties &Properties, TSheetSizes *sSheet);
    void FixDwgIds(TDrawing *Drawing);

protected:
    TBaseRowColRecordList *NewRowList() const override { return new TNoteRecordList(); }
};
