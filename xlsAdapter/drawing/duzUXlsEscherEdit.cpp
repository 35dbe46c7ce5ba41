// New shapes of a sheet drawing (its basic tree, comment boxes, filter arrows) and anchors kept
// both in cells and as a rectangle in sheet units.
#include "xlsAdapter/drawing/duzUXlsEscher.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const char *const SNilDrawingGroup = "DrawingGroup can't be nil";
const char *const SIndexOutOfRange = "Index out of range";

const uint8_t CommentOpt[54] = {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xBF, 0x00, 0x08, 0x00, 0x08, 0x00, 0x58, 0x01,
                                0x00, 0x00, 0x00, 0x00, 0x81, 0x01, 0x50, 0x00, 0x00, 0x08, 0x83, 0x01, 0x50, 0x00,
                                0x00, 0x08, 0xBF, 0x01, 0x10, 0x00, 0x11, 0x00, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00,
                                0x3F, 0x02, 0x03, 0x00, 0x03, 0x00, 0xBF, 0x03, 0x02, 0x00, 0x0A, 0x00};
const uint8_t FilterOpt[24] = {0x7F, 0x00, 0x04, 0x01, 0x04, 0x01, 0xBF, 0x00, 0x08, 0x00, 0x08, 0x00,
                               0xFF, 0x01, 0x00, 0x00, 0x08, 0x00, 0xBF, 0x03, 0x00, 0x00, 0x02, 0x00};

// One axis of a sheet: columns (1/1024 of a width) or rows (1/255 of a height).
struct TAxis
{
    TSheetSizes *Sheet;
    bool Rows;

    int32_t Last() const { return Rows ? MaxAnchorRow : MaxAnchorCol; }
    double Scale() const { return Rows ? 255.0 : 1024.0; }
    int64_t Size(int32_t i) const
    {
        return Rows ? Sheet->GetRowHeight(i, true) : Sheet->GetColWidth(i, true);
    }

    // The edge of a cell corner: the cells before it plus the offset's share of its own size.
    int32_t Pos(int32_t Cell, int32_t Ofs) const
    {
        int64_t p = 0;
        for (int32_t i = 0; i < Cell; ++i)
            p += Size(i);
        // nearbyint rounds ties to even.
        p += int64_t(std::nearbyint(double(Ofs) * double(Size(Cell)) / Scale()));
        return int32_t(std::clamp<int64_t>(p, INT32_MIN, INT32_MAX));
    }

    // The cell corner at an edge.
    void Cell(int64_t x, uint16_t &Cell, uint16_t &Ofs) const
    {
        Cell = 0;
        Ofs = 0;
        if (x < 0)
            return;
        int64_t left = 0;
        int32_t c = 0;
        while (c < Last()) {
            const int64_t next = left + Size(c);
            if (x < next)
                break;
            left = next;
            ++c;
        }
        Cell = uint16_t(c);
        const int64_t size = Size(c);
        if (size <= 0)
            return;
        const double d = std::nearbyint(double(x - left) / double(size) * Scale());
        Ofs = uint16_t(std::min(d, Scale()));
    }
};

TClientAnchor AnchorOf(const TImageProperties &p, uint16_t Flag)
{
    TClientAnchor a;
    a.Flag = Flag;
    a.Col1 = uint16_t(p.Col1);
    a.Dx1 = uint16_t(p.dx1);
    a.Row1 = uint16_t(p.Row1);
    a.Dy1 = uint16_t(p.dy1);
    a.Col2 = uint16_t(p.Col2);
    a.Dx2 = uint16_t(p.dx2);
    a.Row2 = uint16_t(p.Row2);
    a.Dy2 = uint16_t(p.dy2);
    return a;
}

int32_t ClampTo(int32_t v, int32_t lo, int32_t hi) { return std::max(lo, std::min(v, hi)); }

} // namespace

// ---------------------------------------------------------------------------------------------
// TEscherClientAnchorRecord

TEscherClientAnchorRecord *TEscherClientAnchorRecord::CreateFromData(const TClientAnchor &aAnchor,
                                                                     TSheetSizes *sSheet,
                                                                     TEscherContainerRecord *aParent,
                                                                     TEscherDwgCache *aDwgCache,
                                                                     TEscherDwgGroupCache *aDwgGroupCache,
                                                                     const TEscherRecordHeader &aHeader)
{
    TEscherRecordHeader h = aHeader;
    h.Size = 18;
    auto *r = new TEscherClientAnchorRecord(h, aParent, aDwgCache, aDwgGroupCache);
    r->SetAnchor(aAnchor, sSheet);
    r->LoadedDataSize = 18;
    return r;
}

void TEscherClientAnchorRecord::SetAnchor(const TClientAnchor &aAnchor, TSheetSizes *sSheet)
{
    SetAnchor(aAnchor);
    SaveObjectCoords(sSheet);
}

void TEscherClientAnchorRecord::SaveObjectCoords(TSheetSizes *sSheet)
{
    if (!sSheet || Behaviour() == 0)
        return;
    const TClientAnchor a = Anchor();
    const TAxis cols{sSheet, false}, rows{sSheet, true};
    SaveRect.x1 = cols.Pos(a.Col1, a.Dx1);
    SaveRect.x2 = cols.Pos(a.Col2, a.Dx2);
    SaveRect.y1 = rows.Pos(a.Row1, a.Dy1);
    SaveRect.y2 = rows.Pos(a.Row2, a.Dy2);
}

void TEscherClientAnchorRecord::RestoreObjectCoords(TSheetSizes *dSheet)
{
    if (!dSheet || Behaviour() == 0)
        return;
    TClientAnchor a = Anchor();
    const TAxis cols{dSheet, false}, rows{dSheet, true};
    if (Behaviour() == 3) {
        cols.Cell(SaveRect.x1, a.Col1, a.Dx1);
        rows.Cell(SaveRect.y1, a.Row1, a.Dy1);
        cols.Cell(SaveRect.x2, a.Col2, a.Dx2);
        rows.Cell(SaveRect.y2, a.Row2, a.Dy2);
    } else {
        cols.Cell(int64_t(cols.Pos(a.Col1, a.Dx1)) + SaveRect.x2 - SaveRect.x1, a.Col2, a.Dx2);
        rows.Cell(int64_t(rows.Pos(a.Row1, a.Dy1)) + SaveRect.y2 - SaveRect.y1, a.Row2, a.Dy2);
    }
    SetAnchor(a);
}

bool TEscherClientAnchorRecord::AllowDelete(int32_t FirstRow, int32_t LastRow, int32_t FirstCol,
                                            int32_t LastCol) const
{
    const TClientAnchor a = Anchor();
    return Behaviour() == 0 && a.Row1 >= FirstRow && a.Row2 <= LastRow && a.Col1 >= FirstCol && a.Col2 <= LastCol;
}

bool TEscherClientAnchorRecord::AllowCopy(int32_t FirstRow, int32_t LastRow, int32_t FirstCol, int32_t LastCol) const
{
    const TClientAnchor a = Anchor();
    return (Behaviour() == 0 || Behaviour() == 2) && a.Row1 >= FirstRow && a.Row2 <= LastRow && a.Col1 >= FirstCol
           && a.Col2 <= LastCol;
}

void TEscherClientAnchorRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, TSheetSizes *dSheet,
                                                         bool Forced, const TSheetInfo &SheetInfo,
                                                         int32_t aColCount, int32_t aColPos)
{
    if (SheetInfo.InsSheet != SheetInfo.FormulaSheet)
        return;
    const int behaviour = Forced ? 2 : Behaviour();
    TClientAnchor a = Anchor();
    if (behaviour == 0) {
        const auto move = [](uint16_t &Cell, uint16_t &Ofs, int32_t Pos, int32_t Count, int32_t Max) {
            if (Cell < Pos)
                return;
            if (Cell + Count < Pos)
                Ofs = 0; // its cell was deleted
            Cell = uint16_t(ClampTo(Cell + Count, Pos, Max));
        };
        move(a.Row1, a.Dy1, aRowPos, aRowCount, MaxAnchorRow);
        move(a.Row2, a.Dy2, aRowPos, aRowCount, MaxAnchorRow);
        move(a.Col1, a.Dx1, aColPos, aColCount, MaxAnchorCol);
        move(a.Col2, a.Dx2, aColPos, aColCount, MaxAnchorCol);
        SetAnchor(a);
        return;
    }
    if (behaviour != 3) {
        const auto move = [](uint16_t &First, uint16_t &Second, int32_t Pos, int32_t Count, int32_t Max) {
            if (First < Pos)
                return;
            const int32_t moved = ClampTo(First + Count, Pos, Max);
            Second = uint16_t(ClampTo(Second + moved - First, moved, Max));
            First = uint16_t(moved);
        };
        move(a.Row1, a.Row2, aRowPos, aRowCount, MaxAnchorRow);
        move(a.Col1, a.Col2, aColPos, aColCount, MaxAnchorCol);
        SetAnchor(a);
    }
    RestoreObjectCoords(dSheet);
}

void TEscherOPTRecord::SetAnchor(const TClientAnchor &aAnchor, TSheetSizes *sSheet)
{
    if (TEscherClientAnchorRecord *a = RootAnchor())
        a->SetAnchor(aAnchor, sSheet);
}

// ---------------------------------------------------------------------------------------------
// TDrawing: new shapes

void TDrawing::ResetIndex()
{
    FRecordCache.MaxObjId = 0;
    FRecordCache.Dg = nullptr;
    FRecordCache.Patriarch = nullptr;
    FRecordCache.Solver = nullptr;
    FreeCaches();
    CreateCaches();
}

void TDrawing::CreateBasicDrawing()
{
    Assert(FDrawingGroup != nullptr && FDrawingGroup->RecordCache()->Dgg != nullptr,
           QString::fromLatin1(SNilDrawingGroup));
    Clear();
    ResetIndex();
    TEscherDwgCache *dwg = &FRecordCache;
    TEscherDwgGroupCache *grp = FDrawingGroup->RecordCache();
    FDgContainer = new TEscherContainerRecord(TEscherRecordHeader{0x000F, MsofbtDgContainer, 0}, nullptr, dwg, grp);
    uint32_t dgId = 0, firstId = 0;
    grp->Dgg->GetNewDgIdAndCluster(dgId, firstId);
    FDgContainer->AddChild(TEscherDgRecord::CreateFromData(0, FDgContainer, dwg, grp, firstId, dgId));
    auto *patriarch =
        new TEscherSpgrContainerRecord(TEscherRecordHeader{0x000F, MsofbtSpgrContainer, 0}, FDgContainer, dwg, grp);
    FDgContainer->AddChild(patriarch);
    auto *group = new TEscherSpContainerRecord(TEscherRecordHeader{0x000F, MsofbtSpContainer, 0}, patriarch, dwg, grp);
    patriarch->AddChild(group);
    const uint8_t rect[16] = {};
    group->AddChild(CreateEscherFromData<TEscherDataRecord>(0x0001, MsofbtSpgr, rect, 16, group, dwg, grp));
    group->AddChild(TEscherSPRecord::CreateFromData(0x0002, group, dwg, grp, 0x5, uint32_t(FRecordCache.Dg->IncMaxShapeId())));
}

void TDrawing::EnsureBasicDrawing()
{
    if (!FDgContainer || !FRecordCache.Anchor)
        CreateBasicDrawing();
    if (!FRecordCache.Patriarch)
        ErrLoadingEscher();
}

TEscherSpContainerRecord *TDrawing::NewShape(uint16_t SpPre)
{
    TEscherDwgCache *dwg = &FRecordCache;
    TEscherDwgGroupCache *grp = FDrawingGroup->RecordCache();
    if (!FRecordCache.Dg)
        ErrLoadingEscher();
    auto shape = std::make_unique<TEscherSpContainerRecord>(TEscherRecordHeader{0x000F, MsofbtSpContainer, 0},
                                                            FRecordCache.Patriarch, dwg, grp);
    const uint32_t id = uint32_t(FRecordCache.Dg->IncMaxShapeId());
    shape->AddChild(TEscherSPRecord::CreateFromData(SpPre, shape.get(), dwg, grp, 0xA00, id));
    return shape.release();
}

TEscherClientDataRecord *TDrawing::AddAnchorAndObj(TEscherSpContainerRecord *Shape, const TClientAnchor &aAnchor,
                                                   TSheetSizes *sSheet, DUzObj *Obj)
{
    std::unique_ptr<DUzObj> obj(Obj);
    TEscherDwgCache *dwg = &FRecordCache;
    TEscherDwgGroupCache *grp = FDrawingGroup->RecordCache();
    Shape->AddChild(TEscherClientAnchorRecord::CreateFromData(aAnchor, sSheet, Shape, dwg, grp,
                                                              TEscherRecordHeader{0, MsofbtClientAnchor, 18}));
    auto *data = new TEscherClientDataRecord(TEscherRecordHeader{0, MsofbtClientData, 0}, Shape, dwg, grp);
    Shape->AddChild(data);
    data->AssignClientData(obj.release());
    return data;
}

void TDrawing::DeleteRoot(TEscherRecord *aRecord)
{
    TEscherSpgrContainerRecord *patriarch = FRecordCache.Patriarch;
    TEscherRecord *root = aRecord ? aRecord->FindRoot() : nullptr;
    if (!patriarch || !root || root->Parent() != patriarch)
        ErrLoadingEscher();
    patriarch->ContainedRecords()->Remove(root); // frees it
}

TEscherClientDataRecord *TDrawing::AddNewComment(const TImageProperties &Properties, TSheetSizes *sSheet)
{
    Assert(FDrawingGroup != nullptr, QString::fromLatin1(SNilDrawingGroup));
    FDrawingGroup->EnsureDwgGroup();
    EnsureBasicDrawing();
    TEscherDwgCache *dwg = &FRecordCache;
    TEscherDwgGroupCache *grp = FDrawingGroup->RecordCache();
    std::unique_ptr<TEscherSpContainerRecord> shape(NewShape(0xCA2));
    shape->AddChild(CreateEscherFromData<TEscherOPTRecord>(0x0093, MsofbtOPT, CommentOpt, sizeof CommentOpt,
                                                           shape.get(), dwg, grp));
    TEscherClientDataRecord *data =
        AddAnchorAndObj(shape.get(), AnchorOf(Properties, 3), sSheet, DUzObj::CreateEmptyNote(FRecordCache.MaxObjId));
    auto *box = new TEscherClientTextBoxRecord(TEscherRecordHeader{0, MsofbtClientTextbox, 0}, shape.get(), dwg, grp);
    shape->AddChild(box);
    box->AssignClientData(TTXO::CreateFromData());
    FRecordCache.Patriarch->AddChild(shape.release());
    return data;
}

void TDrawing::AddAutoFilter(int32_t Row, int32_t Col1, TSheetSizes *sSheet, int32_t Col2)
{
    for (int32_t col = Col1; col <= Col2; ++col) {
        Assert(FDrawingGroup != nullptr, QString::fromLatin1(SNilDrawingGroup));
        FDrawingGroup->EnsureDwgGroup();
        EnsureBasicDrawing();
        TEscherDwgCache *dwg = &FRecordCache;
        TEscherDwgGroupCache *grp = FDrawingGroup->RecordCache();
        std::unique_ptr<TEscherSpContainerRecord> shape(NewShape(0xC92));
        shape->AddChild(CreateEscherFromData<TEscherOPTRecord>(0x0043, MsofbtOPT, FilterOpt, sizeof FilterOpt,
                                                               shape.get(), dwg, grp));
        TImageProperties cell;
        cell.Col1 = col;
        cell.Row1 = Row;
        cell.Col2 = col + 1;
        cell.Row2 = std::min(Row + 1, MaxAnchorRow); // a filter in the last row must not wrap to row 0
        AddAnchorAndObj(shape.get(), AnchorOf(cell, 1), sSheet, DUzObj::CreateEmptyAutoFilter(FRecordCache.MaxObjId));
        FRecordCache.Patriarch->AddChild(shape.release());
    }
}

void TDrawing::RemoveAutoFilter()
{
    if (!FRecordCache.Obj)
        return;
    if (!FRecordCache.Patriarch)
        ErrLoadingEscher();
    for (int i = FRecordCache.Obj->Count() - 1; i >= 0; --i) {
        if (i >= FRecordCache.Obj->Count())
            continue;
        auto *obj = dynamic_cast<DUzObj *>(FRecordCache.Obj->Items(i)->ClientData());
        if (obj && obj->IsAutoFilter())
            DeleteRoot(FRecordCache.Obj->Items(i));
    }
}

void TDrawing::SaveObjectCoords(TSheetSizes *sSheet)
{
    if (!FRecordCache.Patriarch || !FRecordCache.Anchor)
        return;
    for (int i = 0; i < FRecordCache.Anchor->Count(); ++i)
        FRecordCache.Anchor->Items(i)->SaveObjectCoords(sSheet);
}

void TDrawing::RestoreObjectCoords(TSheetSizes *dSheet)
{
    if (!FRecordCache.Patriarch || !FRecordCache.Anchor)
        return;
    for (int i = 0; i < FRecordCache.Anchor->Count(); ++i)
        FRecordCache.Anchor->Items(i)->RestoreObjectCoords(dSheet);
}

TEscherClientDataRecord *TDrawing::FindObjId(uint16_t ObjId)
{
    if (!FRecordCache.Obj)
        return nullptr;
    for (int i = 0; i < FRecordCache.Obj->Count(); ++i) {
        TEscherClientDataRecord *r = FRecordCache.Obj->Items(i);
        if (r->ClientData() && r->ClientData()->Id() == ObjId)
            return r;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// TDrawing: pictures by index

int32_t TDrawing::DrawingCount() const { return FRecordCache.Blip ? FRecordCache.Blip->Count() : 0; }

TEscherOPTRecord *TDrawing::Picture(int32_t Index)
{
    Assert(Index >= 0 && Index < DrawingCount(), QString::fromLatin1(SIndexOutOfRange));
    return FRecordCache.Blip->Items(Index);
}

void TDrawing::GetDrawingFromStream(int32_t Index, TStream *Data, TXlsImgTypes &DataType)
{
    Picture(Index)->GetImageFromStream(Data, DataType);
}

QString TDrawing::GetDrawingName(int32_t Index) { return Picture(Index)->ShapeName(); }

int32_t TDrawing::GetDrawingRow(int32_t Index) { return Picture(Index)->Row(); }

TClientAnchor TDrawing::GetAnchor(int32_t Index) { return Picture(Index)->GetAnchor(); }

void TDrawing::SetAnchor(int32_t Index, const TClientAnchor &aAnchor, TSheetSizes *sSheet)
{
    Picture(Index)->SetAnchor(aAnchor, sSheet);
}

void TDrawing::AssignDrawing(int32_t Index, const QByteArray &Data, TXlsImgTypes DataType)
{
    if (Data.isEmpty())
        ClearImage(Index);
    else
        Picture(Index)->ReplaceImg(Data, DataType);
}

void TDrawing::ClearImage(int32_t Index) { Picture(Index)->ReplaceImg(EmptyBmp(), xli_Bmp); }

void TDrawing::DeleteImage(int32_t Index)
{
    if (!FRecordCache.Blip)
        return;
    if (!FRecordCache.Patriarch)
        ErrLoadingEscher();
    DeleteRoot(Picture(Index));
}

void TDrawing::AddImage(const QByteArray &Data, TXlsImgTypes DataType, TSheetSizes *sSheet, TWbAnchorType AnchorType,
                        const TImageProperties &Properties)
{
    QByteArray picture = Data;
    if (picture.isEmpty()) {
        picture = EmptyBmp();
        DataType = xli_Bmp;
    }
    Assert(FDrawingGroup != nullptr, QString::fromLatin1(SNilDrawingGroup));
    TEscherDwgGroupCache *grp = FDrawingGroup->RecordCache();
    // A picture the store refuses must leave the sheet as it was, without even a new tree.
    CheckBlipKind(DataType, grp);
    EnsureBasicDrawing();
    TEscherDwgCache *dwg = &FRecordCache;
    std::unique_ptr<TEscherSpContainerRecord> shape(NewShape(0x4B2));
    shape->AddChild(
        TEscherOPTRecord::CreateFromDataImg(picture, shape.get(), dwg, grp, Properties.FileName, DataType));
    const uint16_t flag = AnchorType == at_MoveAndDontResize ? 2 : AnchorType == at_DontMoveAndDontResize ? 3 : 0;
    AddAnchorAndObj(shape.get(), AnchorOf(Properties, flag), sSheet, DUzObj::CreateEmptyImg(FRecordCache.MaxObjId));
    FRecordCache.Patriarch->AddChild(shape.release());
}
