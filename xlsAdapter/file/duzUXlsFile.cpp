#include "xlsAdapter/file/duzUXlsFile.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/duzXlsMessages.h"
#include "xlsAdapter/workbook/duzUXlsEmptyWorkbook.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"
#include "xlsAdapter/workbook/duzXlsBaseTemplateStore.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char *const SCantWriteToFile = "Can't write to file \"%s\". Check it is not in use by another user";
const char *const SDuplicatedSheetName = "Sheet name already exists: %s";
const QString WorkbookStream = QStringLiteral("Workbook");

TMemoryStream *MemoryStreamOf(const ByteArray &Bytes, TMemoryStream &Mem)
{
    Mem.WriteBuffer(Bytes.data(), int64_t(Bytes.size()));
    Mem.SetPosition(0);
    return &Mem;
}

} // namespace

TXLSFile::TXLSFile(TXLSAdapter *aAdapter, bool aAllowOverwritingFiles)
    : AllowOverwritingFiles(aAllowOverwritingFiles), FAdapter(aAdapter)
{
}

TXLSFile::~TXLSFile() = default;

void TXLSFile::Connect() { FWorkbook = std::make_unique<TWorkbook>(); }

void TXLSFile::Disconnect() { FWorkbook.reset(); }

TWorkbook *TXLSFile::Book() const
{
    if (!FWorkbook)
        ErrNoWorkbook();
    return FWorkbook.get();
}

void TXLSFile::CloseFile() {}

void TXLSFile::OpenFile(const QString &FileName) { OpenFileAndOrSearch(FileName, false); }

void TXLSFile::OpenFileAndSearch(const QString &FileName) { OpenFileAndOrSearch(FileName, true); }

void TXLSFile::OpenFileAndOrSearch(const QString &FileName, bool Search)
{
    Book();
    if (FAdapter && FAdapter->TemplateStore()) {
        TMemoryStream Mem;
        LoadFromOle(MemoryStreamOf(FAdapter->TemplateStore()->GetStoredFile(FileName), Mem), FileName);
        return;
    }
    const QString Path = Search && FAdapter ? SearchTemplateFile(FAdapter->BasePathToOpen(), FileName) : FileName;
    TFileStream Stream(Path, fmOpenRead | fmShareDenyNone);
    LoadFromOle(&Stream);
}

void TXLSFile::LoadFromStream(TStream *Stream) { LoadFromOle(Stream); }

void TXLSFile::LoadFromOle(TStream *Stream, const QString &FileName)
{
    TWorkbook *W = Book();
    TOle2File DataStream(Stream, false, FileName);
    DataStream.SelectStream(WorkbookStream);
    W->LoadFromStream(&DataStream);

    // What the next save writes beside the new "Workbook" stream.
    TMemoryStream Others;
    DataStream.PrepareForWrite(&Others, WorkbookStream, {});
    DataStream.Close();
    const QByteArray &b = Others.Bytes();
    FOtherStreams.assign(b.begin(), b.end());

    FActiveSheet = Book()->ActiveSheet() + 1;
    IsFileModified = false;
}

void TXLSFile::NewFile(const int32_t SheetCount)
{
    TMemoryStream Mem;
    LoadFromOle(MemoryStreamOf(EmptyWorkbookTemplate(), Mem));
    InsertAndCopySheets(-1, 2, SheetCount - 1);
    FActiveSheet = 1;
    IsFileModified = false;
}

void TXLSFile::Save(bool /*AutoClose*/, const QString &FileName, const TOnGetFileNameEvent &OnGetFileName,
                    const TOnGetOutStreamEvent &OnGetOutStream, TStream *DataStream)
{
    Book();
    for (TExcelSaveFormatNative F : {snXLS, snCSVComma, snCSVSemiColon, snTabDelimited}) {
        if (FAdapter ? !FAdapter->SaveFormat().Contains(F) : F != snXLS)
            continue;
        QString N = FileName;
        TStream *Out = DataStream;
        if (!Out && OnGetOutStream)
            OnGetOutStream(this, int32_t(F), Out);
        if (!Out) {
            if (OnGetFileName)
                OnGetFileName(this, int32_t(F), N);
            if (!AllowOverwritingFiles && FileExists(N))
                throw Exception(Format(QString::fromLatin1(SCantWriteToFile), {N}));
        }
        // The comma, semicolon and tab text formats write nothing.
        if (F != snXLS)
            continue;
        if (Out)
            SaveXls(Out);
        else
            SaveXlsToFile(N);
    }
}

void TXLSFile::SaveXls(TStream *OutStream)
{
    TMemoryStream Mem;
    TOle2File DataStream(MemoryStreamOf(FOtherStreams, Mem));
    DataStream.PrepareForWrite(OutStream, WorkbookStream, {});
    Book()->SaveToStream(&DataStream, IsFileModified);
    DataStream.Close();
}

void TXLSFile::SaveXlsToFile(const QString &FileName)
{
    // Written beside the target, so that the rename at the end stays on one file system and
    // replaces the old file in one step.
    const QFileInfo Target(FileName);
    QTemporaryFile Tmp(Target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!Tmp.open())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, Tmp.errorString()));
    const QString TmpName = Tmp.fileName();
    {
        TFileStream Out(TmpName, fmOpenReadWrite);
        SaveXls(&Out);
    }
    Tmp.close();
    // The temporary file is made private; the saved one gets the old file's or the usual access.
    QFile::setPermissions(TmpName, Target.exists() ? QFile::permissions(FileName)
                                                   : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                         | QFile::ReadOther);
    if (std::rename(QFile::encodeName(TmpName).constData(), QFile::encodeName(FileName).constData()) != 0)
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(FileName, QString::fromLocal8Bit(std::strerror(errno))));
    Tmp.setAutoRemove(false);
}

int32_t TXLSFile::SheetCount() { return Book()->Globals()->SheetCount(); }

bool TXLSFile::IsWorksheet(int32_t index) { return Book()->IsWorksheet(index - 1); }

void TXLSFile::SelectSheet(const int32_t SheetNo) { Book()->SetActiveSheet(SheetNo - 1); }

void TXLSFile::InsertAndCopySheets(int32_t CopyFrom, int32_t InsertBefore, int32_t SheetCount)
{
    const int32_t Before = Book()->Sheets()->Count();
    int32_t Selected = Book()->ActiveSheet();
    Book()->InsertSheets(CopyFrom - 1, InsertBefore - 1, SheetCount);
    // New sheets come selected, as the template's sheet is; the tab that was selected stays the
    // only one, or the saved file would open on another sheet with its tabs grouped.
    if (SheetCount > 0) {
        if (Selected < Before && InsertBefore - 1 <= Selected)
            Selected += SheetCount;
        Book()->SetActiveSheet(std::min(Selected, Book()->Sheets()->Count() - 1));
    }
    IsFileModified = true;
}

void TXLSFile::DeleteSheet(int32_t aSheetCount)
{
    if (aSheetCount >= SheetCount())
        ErrNoVisibleSheets();
    Book()->DeleteSheets(FActiveSheet - 1, aSheetCount);
    if (FActiveSheet > SheetCount())
        FActiveSheet = SheetCount();
    IsFileModified = true;
}

void TXLSFile::ClearSheet()
{
    if (!IsWorksheet(FActiveSheet))
        return;
    Book()->WorkSheets(FActiveSheet - 1)->ClearValues();
    SelectSheet(FActiveSheet);
    IsFileModified = true;
}

QString TXLSFile::ActiveSheetName() { return Book()->Globals()->GetSheetName(FActiveSheet - 1); }

void TXLSFile::SetActiveSheetName(const QString &Value)
{
    Book()->Globals()->SetSheetName(FActiveSheet - 1, Value);
}

QString TXLSFile::ActiveSheetCodeName() { return Book()->Sheets()->Items(FActiveSheet - 1)->CodeName(); }

void TXLSFile::SetActiveSheetCodeName(const QString &Value)
{
    const TSheetList *Sheets = Book()->Sheets();
    for (int i = 0; i < Sheets->Count(); ++i)
        if (Sheets->Items(i)->CodeName() == Value)
            throw Exception(Format(QString::fromLatin1(SDuplicatedSheetName), {Value}));
    Sheets->Items(FActiveSheet - 1)->SetCodeName(Value);
}

TXlsSheetVisible TXLSFile::ActiveSheetVisible() { return Book()->Globals()->GetSheetVisible(FActiveSheet - 1); }

void TXLSFile::SetActiveSheetVisible(TXlsSheetVisible Value)
{
    Book()->Globals()->SetSheetVisible(FActiveSheet - 1, Value);
}

TExcelFile *TXLSAdapter::GetWorkbook() { return new TXLSFile(this, FAllowOverwritingFiles); }

void TXLSAdapter::SetTemplateStore(TXlsBaseTemplateStore *Value)
{
    if (FTemplateStore == Value)
        return;
    if (FTemplateStore)
        FTemplateStore->RemoveFreeNotification(this);
    FTemplateStore = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TXLSAdapter::Notification(TComponent *AComponent, TOperation Operation)
{
    TExcelAdapter::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTemplateStore)
        FTemplateStore = nullptr;
}
