#pragma once
// The spreadsheet file over one in-memory BIFF8 workbook: opening, new files from the built-in
// template, saving (keeping every other stream of the source file) and the sheet operations.
#include "framework/rtl/Types.h"
#include "xlsAdapter/duzUExcelFile.h"
#include "xlsAdapter/duzUWbRowComments.h"

#include <memory>

class TWorkbook;
class TXlsBaseTemplateStore;
class TXLSAdapter;

enum TExcelSaveFormatNative { snXLS, snCSVComma, snCSVSemiColon, snTabDelimited };
using TSetOfExcelSaveFormatNative = TSet<TExcelSaveFormatNative>;

class TXLSFile : public TExcelFile
{
public:
    explicit TXLSFile(TXLSAdapter *aAdapter, bool aAllowOverwritingFiles = false);
    TXLSFile(const TXLSFile &) = delete;
    TXLSFile &operator=(const TXLSFile &) = delete;
    ~TXLSFile() override;

    void Connect() override;
    void Disconnect() override;
    void CloseFile() override;
    void OpenFile(const QString &FileName) override;
    void OpenFileAndSearch(const QString &FileName) override;
    // From the adapter's template store when it has one; else from disk, a relative name searched
    // in the adapter's folder when Search is set.
    void OpenFileAndOrSearch(const QString &FileName, bool Search);
    // A compound file holding a "Workbook" stream.
    void LoadFromStream(TStream *Stream) override;
    void NewFile(const int32_t SheetCount) override;
    // A file target is written beside itself first and takes the old file's place only when
    // complete, so a failed save leaves an existing file as it was.
    void Save(bool AutoClose, const QString &FileName, const TOnGetFileNameEvent &OnGetFileName,
              const TOnGetOutStreamEvent &OnGetOutStream, TStream *DataStream = nullptr) override;

    int32_t SheetCount() override;
    bool IsWorksheet(int32_t index) override;
    int32_t ActiveSheet() override { return FActiveSheet; }
    void SetActiveSheet(int32_t Value) override { FActiveSheet = Value; }
    // The tab the saved workbook opens on; the active sheet here stays.
    void SelectSheet(const int32_t SheetNo) override;
    // CopyFrom -1: empty worksheets.
    void InsertAndCopySheets(int32_t CopyFrom, int32_t InsertBefore, int32_t SheetCount) override;
    // aSheetCount sheets from the active one on; at least one sheet stays.
    void DeleteSheet(int32_t aSheetCount) override;
    void ClearSheet() override;
    QString ActiveSheetName() override;
    void SetActiveSheetName(const QString &Value) override;
    QString ActiveSheetCodeName() override;
    void SetActiveSheetCodeName(const QString &Value) override;
    TXlsSheetVisible ActiveSheetVisible() override;
    void SetActiveSheetVisible(TXlsSheetVisible Value) override;

    TWorkbook *GetTWorkbook() const { return FWorkbook.get(); }
    // The other streams of the last loaded file, as a compound file without "Workbook".
    const ByteArray &OtherStreams() const { return FOtherStreams; }

    // 0-based column range of the column-offset cell operations.
    int32_t FirstColumn = 0;
    int32_t LastColumn = 0;
    bool AllowOverwritingFiles = false;
    // Set by every write; cleared by a load.
    bool IsFileModified = false;
    // By-row index of the active sheet's pictures; made by the first BeginSheet.
    std::unique_ptr<TRowComments> RowPictures;

private:
    void LoadFromOle(TStream *Stream);
    void SaveXls(TStream *OutStream);
    void SaveXlsToFile(const QString &FileName);

    TXLSAdapter *FAdapter;
    int32_t FActiveSheet = 0;
    std::unique_ptr<TWorkbook> FWorkbook;
    ByteArray FOtherStreams;
};

// Hands out TXLSFile objects with its template store, save formats and overwrite permission.
class TXLSAdapter : public TExcelAdapter
{
public:
    explicit TXLSAdapter(TComponent *AOwner = nullptr) : TExcelAdapter(AOwner) {}

    TExcelFile *GetWorkbook() override;

    TXlsBaseTemplateStore *TemplateStore() const { return FTemplateStore; }
    void SetTemplateStore(TXlsBaseTemplateStore *Value);
    const TSetOfExcelSaveFormatNative &SaveFormat() const { return FSaveFormat; }
    void SetSaveFormat(const TSetOfExcelSaveFormatNative &Value) { FSaveFormat = Value; }
    bool AllowOverwritingFiles() const { return FAllowOverwritingFiles; }
    void SetAllowOverwritingFiles(bool Value) { FAllowOverwritingFiles = Value; }

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TXlsBaseTemplateStore *FTemplateStore = nullptr;
    TSetOfExcelSaveFormatNative FSaveFormat{snXLS};
    bool FAllowOverwritingFiles = false;
};
