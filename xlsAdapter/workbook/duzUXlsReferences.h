#pragma once
// The workbook's table of sheet references: SUPBOOK records (one per referenced book, one of
// them standing for this book), their EXTERNNAME records, and the EXTERNSHEET entries through
// which formulas name sheets.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

#include <QString>
#include <cstdint>

class TOle2File;
class TWorkbookGlobals;

constexpr uint16_t xlr_EXTERNNAME = 0x0023;
constexpr uint16_t xlr_EXTERNSHEET = 0x0017;
constexpr uint16_t xlr_SUPBOOK = 0x01AE;

// "The index \"%d\" of the property \"%s\" is not in the range %d-%d" with 0 and Count - 1.
[[noreturn]] void XlsRangeError(int32_t Index, const QString &Property, int32_t Count);

class TExternNameRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TExternNameRecord)
    // "Record with ID 0x%x is invalid" when the name does not fit the data.
    TExternNameRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    int32_t NameLength() const { return Data[6]; }
    QString Name() const;
};

class TExternNameRecordList : public TBaseRecordList
{
public:
    int Add(TExternNameRecord *aRecord) { return TBaseRecordList::Add(aRecord); }
    TExternNameRecord *Items(int Index) const
    {
        return static_cast<TExternNameRecord *>(TBaseRecordList::Items(Index));
    }
};

// Read as it is and handed over to the references, which keep its entries.
class TExternSheetRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TExternSheetRecord)
    using TBaseRecord::TBaseRecord;
};

class TSupBookRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TSupBookRecord)
    TSupBookRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    ~TSupBookRecord() override;
    // A SUPBOOK standing for this workbook, with SheetCount sheets.
    static TSupBookRecord *CreateEmpty(int32_t SheetCount);

    int32_t SheetCount() const { return GetWord(Data, 0); }
    bool IsLocal() const { return DataSize == 4 && GetWord(Data, 2) == 0x0401; }
    bool IsAddIn() const { return DataSize == 4 && GetWord(Data, 2) == 0x3A01; }
    // The referenced book's path; empty for this workbook and for add-ins.
    QString BookName() const;
    // Empty outside 0 .. SheetCount - 1.
    QString SheetName(int32_t SheetIndex, TWorkbookGlobals *Globals) const;
    void AddExternName(TExternNameRecord *aRecord) { FExternNameList.Add(aRecord); }
    const TExternNameRecordList &ExternNames() const { return FExternNameList; }
    // Only this workbook's SUPBOOK counts sheets that can be inserted.
    void InsertSheets(int32_t SheetCount);

    void SaveToStream(TOle2File *Workbook) override;
    int32_t TotalSize() const override;
    int32_t TotalSizeNoHeaders() const override;

protected:
    TBaseRecord *DoCopyTo() const override;

private:
    TExternNameRecordList FExternNameList;
};

// Decodes the path of an encoded book name (the text after its first character).
QString DecodeBookPath(const QString &Encoded);

class TSupBookRecordList : public TBaseRecordList
{
public:
    int Add(TSupBookRecord *aRecord) { return TBaseRecordList::Add(aRecord); }
    void Insert(int Index, TSupBookRecord *aRecord) { TBaseRecordList::Insert(Index, aRecord); }
    TSupBookRecord *Items(int Index) const { return static_cast<TSupBookRecord *>(TBaseRecordList::Items(Index)); }
    int64_t TotalSize();
};

class TExternRef : public TObject
{
public:
    TExternRef(uint16_t aSupBookRecord, uint16_t aFirstSheet, uint16_t aLastSheet)
        : SupBookRecord(aSupBookRecord), FirstSheet(aFirstSheet), LastSheet(aLastSheet)
    {
    }
    void SaveToStream(TOle2File *DataStream) const;

    uint16_t SupBookRecord;
    uint16_t FirstSheet;
    uint16_t LastSheet;
};

class TExternRefList : public TBaseList
{
public:
    int Add(TExternRef *aRef) { return TObjectList::Add(aRef); }
    void Insert(int Index, TExternRef *aRef) { TObjectList::Insert(Index, aRef); }
    TExternRef *Items(int Index) const { return static_cast<TExternRef *>(TObjectList::Items(Index)); }
};

class TReferences : public TObject
{
public:
    TReferences() = default;
    TReferences(const TReferences &) = delete;
    TReferences &operator=(const TReferences &) = delete;

    // Loading: each takes its record.
    void AddSupBook(TSupBookRecord *aRecord);
    // "Error reading Excel records. File invalid" before any SUPBOOK.
    void AddExternName(TExternNameRecord *aRecord);
    // Appends the entries of an EXTERNSHEET record and its CONTINUE records; the record stays the
    // caller's.
    void AddExternRef(TBaseRecord *aRecord);
    void Clear();

    // The sheet of entry SheetRef when it names one sheet of this workbook, else -1.
    int32_t GetSheet(int32_t SheetRef) const;
    // The entry naming this workbook's Sheet, added when missing.
    int32_t SetSheet(int32_t Sheet);
    // The entry for FirstSheet .. LastSheet of this workbook, adding this workbook's SUPBOOK
    // (with SheetCount sheets) and the entry when missing.
    int32_t AddSheet(int32_t SheetCount, int32_t FirstSheet, int32_t LastSheet);
    // The sheet prefix formulas show for entry SheetRef: 'Book]Sheet'! (empty for no sheet).
    QString GetSheetName(int32_t SheetRef, TWorkbookGlobals *Globals) const;
    // Name NameIndex of this workbook (SheetRef < 0 or an entry of this workbook) or the external
    // name of the entry's book.
    QString GetName(int32_t SheetRef, int32_t NameIndex, TWorkbookGlobals *Globals) const;
    // Negative SheetCount deletes sheets; references to deleted sheets become 0xFFFF.
    void InsertSheets(int32_t BeforeSheet, int32_t SheetCount);

    void SaveToStream(TOle2File *DataStream);
    int64_t TotalSize();

    int32_t ExternRefCount() const { return FExternRefs.Count(); }
    const TExternRef *ExternRef(int32_t Index) const { return FExternRefs.Items(Index); }
    int32_t SupBookCount() const { return FSupBooks.Count(); }
    TSupBookRecord *SupBook(int32_t Index) const { return FSupBooks.Items(Index); }

    int32_t LocalSupBook = -1;

private:
    // "The index ... is not in the range" with "Sheet Reference" for an entry that does not exist.
    const TExternRef *CheckedRef(int32_t SheetRef) const;
    // The same with "idx" for a SUPBOOK that does not exist.
    TSupBookRecord *CheckedSupBook(int32_t Index) const;
    bool IsLocalRef(const TExternRef *Ref) const { return LocalSupBook >= 0 && Ref->SupBookRecord == LocalSupBook; }

    TSupBookRecordList FSupBooks;
    TExternRefList FExternRefs;
};
