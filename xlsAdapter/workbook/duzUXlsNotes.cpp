#include "xlsAdapter/workbook/duzUXlsNotes.h"

#include "xlsAdapter/drawing/duzUEscherRecords.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"

#include <cstring>
#include <memory>

namespace {

constexpr int32_t NoteDataSize = 12;

TEscherClientTextBoxRecord *TextBoxOf(TEscherClientDataRecord *Dwg)
{
    if (!Dwg)
        return nullptr;
    TEscherRecord *root = Dwg->FindRoot();
    return root ? root->FindRec<TEscherClientTextBoxRecord>() : nullptr;
}

} // namespace

TNoteRecord::TNoteRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRowColRecord(aId, aData, aDataSize)
{
    CheckSize(8);
}

TNoteRecord::~TNoteRecord()
{
    if (!FDwg || !FOwnsDwg)
        return;
    // A box outside any patriarch is not in a shape tree this note could take it from.
    TEscherSpgrContainerRecord *patriarch = FDwg->Patriarch();
    TEscherRecord *root = FDwg->FindRoot();
    if (patriarch && root && root->Parent() == patriarch)
        patriarch->ContainedRecords()->Remove(root); // frees it
}

TNoteRecord *TNoteRecord::CreateFromData(int32_t aRow, int32_t aCol, const QString &aTxt, TDrawing *Drawing,
                                         const TImageProperties &Properties, TSheetSizes *sSheet)
{
    if (aRow < 0 || aRow > 65535)
        XlsIndexError(aRow, QStringLiteral("Row"), 0, 65535);
    if (aCol < 0 || aCol > 255)
        XlsIndexError(aCol, QStringLiteral("Column"), 0, 255);
    auto *data = new uint8_t[NoteDataSize];
    std::memset(data, 0, NoteDataSize);
    std::unique_ptr<TNoteRecord> note(new TNoteRecord(xlr_NOTE, data, NoteDataSize));
    note->SetRow(aRow);
    note->SetColumn(aCol);
    note->FDwg = Drawing->AddNewComment(Properties, sSheet);
    note->FOwnsDwg = true;
    SetWord(note->Data, 6, note->FDwg->ClientData() ? note->FDwg->ClientData()->Id() : 0);
    note->SetText(aTxt);
    return note.release();
}

QString TNoteRecord::Text() const
{
    const TEscherClientTextBoxRecord *box = TextBoxOf(FDwg);
    return box ? box->Value() : QString();
}

void TNoteRecord::SetText(const QString &aText)
{
    if (TEscherClientTextBoxRecord *box = TextBoxOf(FDwg))
        box->SetValue(aText);
}

void TNoteRecord::FixDwgIds(TDrawing *Drawing)
{
    FDwg = Drawing ? Drawing->FindObjId(ObjId()) : nullptr;
    FOwnsDwg = FDwg != nullptr;
}

void TNoteRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                           const TSheetInfo &SheetInfo)
{
    TBaseRowColRecord::ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount, SheetInfo);
    if (!FDwg)
        return;
    if (TEscherRecord *root = FDwg->FindRoot())
        root->ArrangeInsertRowsAndCols(aRowPos, aRowCount, nullptr, false, SheetInfo, aColCount, aColPos);
}

void TNoteRecord::ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset)
{
    if (FDwg) {
        // Stale marks of an earlier copy would give the new shape a wrong parent.
        if (TEscherSpgrContainerRecord *patriarch = FDwg->Patriarch())
            patriarch->ClearCopiedTo();
        auto *copy = static_cast<TEscherClientDataRecord *>(FDwg->CopyDwg(RowOffset, ColOffset, nullptr));
        FDwg = copy;
        FOwnsDwg = copy != nullptr;
        SetWord(Data, 6, copy && copy->ClientData() ? copy->ClientData()->Id() : 0);
    }
    TBaseRowColRecord::ArrangeCopyRowsAndCols(RowOffset, ColOffset);
}

TBaseRecord *TNoteRecord::DoCopyTo() const
{
    auto *copy = static_cast<TNoteRecord *>(TBaseRowColRecord::DoCopyTo());
    copy->FDwg = FDwg;
    copy->FOwnsDwg = false;
    return copy;
}

void TNoteRecordList::FixDwgIds(TDrawing *Drawing)
{
    for (int i = 0; i < Count(); ++i)
        if (TNoteRecord *r = Items(i))
            r->FixDwgIds(Drawing);
}

void TNoteList::AddNewComment(int32_t Row, int32_t Col, const QString &Txt, TDrawing *Drawing,
                              const TImageProperties &Properties, TSheetSizes *sSheet)
{
    // AddRecord owns the note from the call on, also when it fails.
    AddRecord(TNoteRecord::CreateFromData(Row, Col, Txt, Drawing, Properties, sSheet), Row);
}

void TNoteList::FixDwgIds(TDrawing *Drawing)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->FixDwgIds(Drawing);
}
