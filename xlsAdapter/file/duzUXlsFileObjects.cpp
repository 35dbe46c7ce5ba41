// The objects of the active worksheet behind the file object: pictures with their anchors, cell
// comments, hyperlinks, and cells pasted from another spreadsheet's "Biff8" clipboard data.
// Rows, columns and hyperlink numbers are 1-based here and 0-based in the model.
#include "xlsAdapter/file/duzUXlsFile.h"

#include "framework/os/Clipbrd.h"
#include "framework/rtl/Streams.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/records/duzUXlsHyperLink.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"
#include "xlsAdapter/records/duzUXlsXF.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

constexpr int32_t MaxColumns = 256;
constexpr int32_t MaxRows = 65536;

uint16_t AnchorFlag(TWbAnchorType Anchor)
{
    switch (Anchor) {
    case at_MoveAndDontResize:
        return 2;
    case at_DontMoveAndDontResize:
        return 3;
    default:
        return 0;
    }
}

TImageProperties ZeroBased(const TImageProperties &P)
{
    TImageProperties R = P;
    R.Col1 -= 1;
    R.Row1 -= 1;
    R.Col2 -= 1;
    R.Row2 -= 1;
    return R;
}

TXlsCellRange Shifted(const TXlsCellRange &R, int32_t d) { return {R.Left + d, R.Top + d, R.Right + d, R.Bottom + d}; }

// The notes of a 0-based row; nil beyond the rows that have any.
TNoteRecordList *NotesOfRow(TWorkSheet *ws, int32_t Row)
{
    if (!ws || Row < 0 || Row >= ws->Notes()->Count())
        return nullptr;
    return ws->Notes()->Items(Row);
}

bool SameRecord(const TBaseRecord *a, const TBaseRecord *b)
{
    return a->DataSize == b->DataSize && std::memcmp(a->Data, b->Data, size_t(a->DataSize)) == 0;
}

// The drawing position of the aPos-th picture of a row (Row > 0), or aPos itself. Without a
// BeginSheet there is no index yet, and the row has no pictures to address.
int32_t PictureIndex(const TRowComments *RowPictures, int32_t Row, int32_t aPos)
{
    if (Row <= 0)
        return aPos;
    static const TCommentRowPos None;
    return (RowPictures ? RowPictures->GetItems(Row) : None).Items(aPos);
}

void CheckImageIndex(TWorkSheet *ws, int32_t Index)
{
    if (Index < 0 || Index >= ws->DrawingCount())
        XlsIndexError(Index, QStringLiteral("ImageIndex"), 0, ws->DrawingCount());
}

QByteArray BytesOf(const ByteArray &Data)
{
    return QByteArray(reinterpret_cast<const char *>(Data.data()), qsizetype(Data.size()));
}

// Hyperlink number i of the sheet, after the range check.
THLinkRecord *LinkAt(TWorkSheet *ws, int32_t i)
{
    THLinkList *Links = ws->HLinks();
    if (i < 1 || i > Links->Count())
        XlsIndexError(i, QStringLiteral("HyperLinkIndex"), 1, Links->Count());
    return Links->Items(i - 1);
}

// Disconnects the temporary file on every way out.
struct TDisconnectOnExit
{
    TXLSFile &F;
    ~TDisconnectOnExit() { F.Disconnect(); }
};

} // namespace

// Pictures.

void TXLSFile::BeginSheet()
{
    RowPictures = std::make_unique<TRowComments>();
    if (TWorkSheet *ws = ActiveWorkSheet())
        for (int32_t i = 0; i < ws->DrawingCount(); ++i)
            RowPictures->Add(ws->GetDrawingRow(i) + 1, i);
}

int32_t TXLSFile::GetPicturesCount(int32_t Row)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return 0;
    if (Row <= 0)
        return ws->DrawingCount();
    return RowPictures ? RowPictures->GetItems(Row).Count() : 0;
}

QString TXLSFile::GetPictureName(int32_t Row, int32_t aPos)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetDrawingName(PictureIndex(RowPictures.get(), Row, aPos)) : QString();
}

void TXLSFile::GetPicture(int32_t Row, int32_t aPos, TStream *Pic, TXlsImgTypes &PicType, TClientAnchor &Anchor)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws) {
        Anchor = TClientAnchor();
        return;
    }
    const int32_t i = PictureIndex(RowPictures.get(), Row, aPos);
    if (Pic)
        ws->GetDrawingFromStream(i, Pic, PicType);
    Anchor = ws->GetAnchor(i);
    Anchor.Col1 += 1;
    Anchor.Col2 += 1;
    Anchor.Row1 += 1;
    Anchor.Row2 += 1;
}

void TXLSFile::AssignPicture(int32_t Row, int32_t aPos, const ByteArray &Pic, TXlsImgTypes PicType)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->AssignDrawing(PictureIndex(RowPictures.get(), Row, aPos), BytesOf(Pic), PicType);
}

void TXLSFile::AssignPicture(int32_t Row, int32_t aPos, const ByteArray &Pic, TXlsImgTypes PicType,
                             const TImageProperties &Props, TWbAnchorType Anchor)
{
    AssignPicture(Row, aPos, Pic, PicType);
    AssignPictureProperties(Row, aPos, Props, Anchor);
}

void TXLSFile::AssignPictureProperties(int32_t Row, int32_t aPos, const TImageProperties &Props,
                                       TWbAnchorType Anchor)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    TClientAnchor a;
    a.Flag = AnchorFlag(Anchor);
    a.Col1 = uint16_t(Props.Col1 - 1);
    a.Dx1 = uint16_t(Props.dx1);
    a.Row1 = uint16_t(Props.Row1 - 1);
    a.Dy1 = uint16_t(Props.dy1);
    a.Col2 = uint16_t(Props.Col2 - 1);
    a.Dx2 = uint16_t(Props.dx2);
    a.Row2 = uint16_t(Props.Row2 - 1);
    a.Dy2 = uint16_t(Props.dy2);
    ws->SetAnchor(PictureIndex(RowPictures.get(), Row, aPos), a);
}

void TXLSFile::AddImage(const ByteArray &Data, TXlsImgTypes DataType, const TImageProperties &Properties,
                        TWbAnchorType Anchor)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    Book()->Globals()->DrawingGroup().EnsureDwgGroup();
    ws->AddImage(BytesOf(Data), DataType, ZeroBased(Properties), Anchor);
}

void TXLSFile::ClearImage(int32_t Index)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    CheckImageIndex(ws, Index);
    ws->ClearImage(Index);
}

void TXLSFile::DeleteImage(int32_t Index)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    CheckImageIndex(ws, Index);
    ws->DeleteImage(Index);
}

// Comments.

int32_t TXLSFile::GetCommentsCount(int32_t Row)
{
    TNoteRecordList *Notes = NotesOfRow(ActiveWorkSheet(), Row - 1);
    return Notes ? Notes->Count() : 0;
}

QString TXLSFile::GetCommentText(int32_t Row, int32_t aPos)
{
    TNoteRecordList *Notes = NotesOfRow(ActiveWorkSheet(), Row - 1);
    return Notes ? Notes->Items(aPos)->Text() : QString();
}

int32_t TXLSFile::GetCommentColumn(int32_t Row, int32_t aPos)
{
    TNoteRecordList *Notes = NotesOfRow(ActiveWorkSheet(), Row - 1);
    return Notes ? Notes->Items(aPos)->Column() + 1 : 1;
}

QString TXLSFile::GetCellComment(int32_t Row, int32_t Col)
{
    TNoteRecordList *Notes = NotesOfRow(ActiveWorkSheet(), Row - 1);
    int32_t Index = 0;
    return Notes && Notes->Find(Col - 1, Index) ? Notes->Items(Index)->Text() : QString();
}

void TXLSFile::AssignComment(int32_t Row, int32_t aPos, const QString &Comment)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    TNoteRecordList *Notes = ws->Notes()->Items(Row - 1);
    TNoteRecord *Note = Notes->Items(aPos);
    if (Comment.isEmpty())
        Notes->Delete(aPos);
    else
        Note->SetText(Comment);
}

void TXLSFile::SetCellComment(int32_t Row, int32_t Col, const QString &Value, const TImageProperties &Properties)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    int32_t Index = 0;
    if (TNoteRecordList *Notes = NotesOfRow(ws, Row - 1); Notes && Notes->Find(Col - 1, Index)) {
        if (Value.isEmpty())
            Notes->Delete(Index);
        else
            Notes->Items(Index)->SetText(Value);
        return;
    }
    if (!Value.isEmpty())
        ws->AddNewComment(Row - 1, Col - 1, Value, ZeroBased(Properties));
}

// Hyperlinks.

int32_t TXLSFile::HyperLinkCount()
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->HLinks()->Count() : 0;
}

THyperLink TXLSFile::GetHyperLink(int32_t HyperLinkIndex)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? LinkAt(ws, HyperLinkIndex)->GetProperties() : THyperLink();
}

void TXLSFile::SetHyperLink(int32_t HyperLinkIndex, const THyperLink &Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        LinkAt(ws, HyperLinkIndex)->SetProperties(Value);
}

TXlsCellRange TXLSFile::GetHyperLinkCellRange(int32_t HyperLinkIndex)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? Shifted(LinkAt(ws, HyperLinkIndex)->GetCellRange(), 1) : TXlsCellRange();
}

void TXLSFile::SetHyperLinkCellRange(int32_t HyperLinkIndex, const TXlsCellRange &CellRange)
{
    if (TWorkSheet *ws = ActiveWorkSheet()) {
        LinkAt(ws, HyperLinkIndex)->SetCellRange(Shifted(CellRange, -1));
        ws->HLinks()->Sorted = false;
    }
}

void TXLSFile::AddHyperLink(const TXlsCellRange &CellRange, const THyperLink &Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->HLinks()->Add(THLinkRecord::CreateNew(Shifted(CellRange, -1), Value));
}

void TXLSFile::DeleteHyperLink(int32_t HyperLinkIndex)
{
    if (TWorkSheet *ws = ActiveWorkSheet()) {
        LinkAt(ws, HyperLinkIndex);
        ws->HLinks()->Delete(HyperLinkIndex - 1);
    }
}

// Clipboard.

void TXLSFile::CopyToClipboard() { CopyToClipboard(TXlsCellRange{1, 1, MaxCol(), MaxRow()}); }

void TXLSFile::CopyToClipboard(const TXlsCellRange &Range) { CopyToClipboardFormat(Range); }

QString TXLSFile::CopyToClipboardFormat(const TXlsCellRange &)
{
    Book();
    return QString();
}

void TXLSFile::PasteFromClipboard(int32_t Row, int32_t Col)
{
    Book();
    TClipboard *Clip = Clipboard();
    const TClipboardFormat Biff8 = RegisterClipboardFormat(QStringLiteral("Biff8"));
    if (Clip->HasFormat(Biff8)) {
        TMemoryStream Mem;
        const QByteArray Bytes = Clip->GetAsHandle(Biff8);
        Mem.WriteBuffer(Bytes.constData(), Bytes.size());
        Mem.SetPosition(0);
        PasteFromXlsClipboardFormat(Row, Col, &Mem);
    } else if (Clip->HasFormat(CF_TEXT)) {
        PasteFromTextClipboardFormat(Row, Col, Clip->AsText());
    }
}

void TXLSFile::PasteFromXlsClipboardFormat(int32_t Row, int32_t Col, TStream *Stream)
{
    TWorkSheet *Target = ActiveWorkSheet();
    if (!Target)
        return;

    // The clipboard data is read completely before anything here changes.
    TXLSFile Source(nullptr);
    Source.Connect();
    TDisconnectOnExit Guard{Source};
    Source.LoadFromStream(Stream);
    if (Source.SheetCount() < 1 || !Source.IsWorksheet(1))
        return;

    TWorkbookGlobals *sg = Source.Book()->Globals();
    TWorkbookGlobals *tg = Book()->Globals();
    TCellList *From = Source.Book()->WorkSheets(0)->Cells()->CellList();
    TCellList *To = Target->Cells()->CellList();
    const TDimensionsRec &Dim = Source.Book()->WorkSheets(0)->OriginalDimensions;
    // The block as the source declares it, cut to what a sheet can hold.
    const int32_t FR = int32_t(std::min<uint32_t>(Dim.FirstRow, MaxRows));
    const int32_t LR = int32_t(std::min<uint32_t>(Dim.LastRow, MaxRows));
    const int32_t FC = std::min<int32_t>(Dim.FirstCol, MaxColumns);
    const int32_t LC = std::min<int32_t>(Dim.LastCol, MaxColumns);
    const int32_t dRow = Row - 1 - FR;
    const int32_t dCol = Col - 1 - FC;

    // The columns of row r to write: the source's cells and the target's cells under the block.
    // Other places of the block are empty on both sides and stay so.
    const auto ColumnsOf = [&](int32_t r, bool WithTarget) {
        std::vector<int32_t> Cols;
        if (r < From->Count())
            for (int i = 0; i < From->Items(r)->Count(); ++i)
                if (const TCellRecord *c = From->Items(r)->Items(i); c && c->Column() >= FC && c->Column() < LC)
                    Cols.push_back(c->Column());
        const int32_t tr = r + dRow;
        if (WithTarget && tr >= 0 && tr < To->Count())
            for (int i = 0; i < To->Items(tr)->Count(); ++i)
                if (const TCellRecord *c = To->Items(tr)->Items(i)) {
                    const int32_t sc = c->Column() - dCol;
                    if (sc >= FC && sc < LC)
                        Cols.push_back(sc);
                }
        std::sort(Cols.begin(), Cols.end());
        Cols.erase(std::unique(Cols.begin(), Cols.end()), Cols.end());
        return Cols;
    };

    // A block that does not fit from (Row, Col) on is refused before anything changes, with the
    // message of the cell that falls outside.
    TXlsCellValue Probe;
    for (int32_t r = FR; r < std::min(LR, From->Count()); ++r)
        for (int32_t c : ColumnsOf(r, false))
            To->GetValueX2(r + dRow, c + dCol, Probe, nullptr);

    IsFileModified = true;
    const bool Is1904 = tg->Is1904();
    std::map<int32_t, int32_t> XFMap;
    const auto MapXF = [&](int32_t SourceXF) -> int32_t {
        if (sg->XF().Count() == 0)
            return -1;
        if (SourceXF < 0 || SourceXF >= sg->XF().Count())
            SourceXF = 0;
        if (auto it = XFMap.find(SourceXF); it != XFMap.end())
            return it->second;
        const TXFRecord *XF = sg->XF().Items(SourceXF);
        int32_t Index = -1;
        // An XF of the same bytes means the same only when its font and number format do too.
        bool Same = tg->XF().FindFormat(XF, Index);
        if (Same) {
            const int32_t f = XF->GetActualFontIndex(&sg->Fonts());
            Same = (sg->Fonts().Count() == 0 && tg->Fonts().Count() == 0)
                   || (f < sg->Fonts().Count() && f < tg->Fonts().Count()
                       && SameRecord(sg->Fonts().Items(f), tg->Fonts().Items(f)));
            Same = Same && sg->Formats().GetFormat(XF->FormatIndex()) == tg->Formats().GetFormat(XF->FormatIndex());
        }
        if (!Same)
            Index = AddFormat(XF->WbFormat(&sg->Fonts(), &sg->Formats()));
        XFMap.emplace(SourceXF, Index);
        return Index;
    };
    const auto MapFont = [&](int32_t FontIndex) -> uint16_t {
        int32_t f = FontIndex == 4 ? 0 : FontIndex > 4 ? FontIndex - 1 : FontIndex;
        if (f < 0 || f >= sg->Fonts().Count())
            f = 0;
        if (sg->Fonts().Count() == 0)
            return 0;
        return uint16_t(tg->Fonts().AddFont(sg->Fonts().Items(f)->WbFont()));
    };

    TXlsCellValue V;
    TRTFRunList Runs;
    for (int32_t r = FR; r < LR; ++r) {
        if (r >= From->Count() && r + dRow >= To->Count())
            break;
        for (int32_t c : ColumnsOf(r, true)) {
            From->GetValueX2(r, c, V, &Runs);
            V.XF = MapXF(V.XF);
            for (TRTFRun &Run : Runs)
                Run.FontIndex = MapFont(Run.FontIndex);
            To->SetValueX2(r + dRow, c + dCol, V, &Runs, Is1904);
        }
    }
}
