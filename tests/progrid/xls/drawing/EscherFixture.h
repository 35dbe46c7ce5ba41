#pragma once
// Escher records and drawings built from bytes, read from and written to a "Workbook" stream.
#include "tests/progrid/xls/records/RecordFixture.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"

#include <QStringList>
#include <map>

namespace esc {

using namespace rec;

inline QByteArray Hdr(int pre, int id, uint32_t size) { return Le16(pre) + Le16(id) + Le32(size); }
inline QByteArray Atom(int pre, int id, const QByteArray &body) { return Hdr(pre, id, uint32_t(body.size())) + body; }
// A container of version 0xF holding the children's bytes.
inline QByteArray Box(int id, const QByteArray &children, int instance = 0)
{
    return Hdr((instance << 4) | 0xF, id, uint32_t(children.size())) + children;
}

// Hex text such as "15 00 12 00" as bytes.
inline QByteArray Hex(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

// Escher bytes cut into BIFF records the way the engine writes them: 8224 data bytes each, the
// first of FirstId and the rest CONTINUE records.
inline QByteArray Split(const QByteArray &escher, int FirstId = 0x00EC)
{
    QByteArray out;
    for (qsizetype at = 0; at < escher.size(); at += 8224) {
        const QByteArray piece = escher.mid(at, 8224);
        out += Record(at == 0 ? FirstId : 0x3C, piece);
    }
    return out;
}

// Loads the drawing that starts the stream; the stream is left at the record after it.
inline void LoadDrawing(TDrawing &d, Stream &s)
{
    TBaseRecord *first = LoadRecord(s.file.get(), s.Header);
    auto *dr = dynamic_cast<TDrawingRecord *>(first);
    if (!dr) {
        delete first;
        throw Exception(QStringLiteral("not a drawing record"));
    }
    d.LoadFromStream(s.file.get(), s.Header, nullptr, dr);
}

inline void LoadGroup(TDrawingGroup &g, Stream &s)
{
    TBaseRecord *first = LoadRecord(s.file.get(), s.Header);
    auto *gr = dynamic_cast<TDrawingGroupRecord *>(first);
    if (!gr) {
        delete first;
        throw Exception(QStringLiteral("not a drawing group record"));
    }
    g.LoadFromStream(s.file.get(), s.Header, gr);
}

inline QByteArray SavedDrawing(TDrawing &d)
{
    return Written([&](TOle2File &f) { d.SaveToStream(&f); });
}

// The OBJ of a comment (object type 0x19) with an object id.
inline QByteArray NoteObj(int id)
{
    QByteArray b = Hex("15 00 12 00 19 00 01 00 11 40 00 00 00 00 00 00 00 00 00 00 00 00 0D 00 16 00 00 12 23 8C 6C "
                       "50 8B 4D A8 C5 7B 64 FF A8 C5 A3 00 00 10 00 00 00 00 00 00 00");
    b[6] = char(id & 0xFF);
    b[7] = char(id >> 8);
    return b;
}

inline QByteArray PictureObj(int id)
{
    QByteArray b =
        Hex("15 00 12 00 08 00 01 00 11 60 00 00 00 00 00 00 00 00 00 00 00 00 07 00 02 00 FF FF 08 00 02 00 01 00 "
            "00 00 00 00");
    b[6] = char(id & 0xFF);
    b[7] = char(id >> 8);
    return b;
}

inline QByteArray AnchorBody(int row1, int col1, int row2, int col2, int flag = 0)
{
    return Le16(flag) + Le16(col1) + Le16(0) + Le16(row1) + Le16(0) + Le16(col2) + Le16(0) + Le16(row2) + Le16(0);
}

// A TXO record of 8-bit text with its two CONTINUE records (text, two runs).
inline QByteArray TxoRecords(const QByteArray &text)
{
    QByteArray txo(18, 0);
    txo[0] = 0x12;
    txo[1] = 0x02;
    txo[10] = char(text.size() & 0xFF);
    txo[11] = char(text.size() >> 8);
    txo[12] = 16;
    QByteArray runs(16, 0);
    runs[8] = char(text.size() & 0xFF);
    runs[9] = char(text.size() >> 8);
    return Record(0x01B6, txo) + Record(0x3C, QByteArray(1, 0) + text) + Record(0x3C, runs);
}

// A sheet drawing as the engine writes it: the group shape, a comment box ("Hi", object 1) with an
// unknown atom and an unknown container, and a picture (object 2).
struct CommentDrawing
{
    QByteArray GroupShape = Box(0xF004, Atom(0x1, 0xF009, QByteArray(16, 0)) + Atom(0x2, 0xF00A, Le32(1024) + Le32(5)));
    QByteArray CommentHead = Atom(0xCA2, 0xF00A, Le32(1025) + Le32(0xA00)) + Atom(0x13, 0xF00B, Hex("80 00 00 00 00 00"))
                             + Atom(0x0, 0xF122, Hex("01 02 03")) + Box(0xF0FF, Atom(0x0, 0xF0FE, Hex("AA BB")))
                             + Atom(0, 0xF010, AnchorBody(3, 2, 7, 4, 3)) + Atom(0, 0xF011, QByteArray());
    QByteArray TextBox = Atom(0, 0xF00D, QByteArray());
    QByteArray PictureHead = Atom(0x4B2, 0xF00A, Le32(1026) + Le32(0xA00)) + Atom(0, 0xF010, AnchorBody(10, 1, 12, 3))
                             + Atom(0, 0xF011, QByteArray());
    QByteArray Escher = Box(0xF002, Atom(0x10, 0xF008, Le32(3) + Le32(1026))
                                        + Box(0xF003, GroupShape + Box(0xF004, CommentHead + TextBox)
                                                          + Box(0xF004, PictureHead)));
    // Escher bytes up to the end of the comment's ClientData header, then the text box, then the
    // picture shape.
    qsizetype CutNote() const { return Escher.size() - PictureHead.size() - 8 - TextBox.size(); }
    QByteArray Bytes() const
    {
        const qsizetype a = CutNote();
        const qsizetype b = a + TextBox.size();
        return Record(0xEC, Escher.left(a)) + Record(0x5D, NoteObj(1)) + Record(0xEC, Escher.mid(b - 8, 8))
               + TxoRecords("Hi") + Record(0xEC, Escher.mid(b)) + Record(0x5D, PictureObj(2));
    }
};

// A group with a Dgg whose cluster 0 belongs to drawing 1 and has given out Used shape ids.
inline void GroupWithDrawing1(TDrawingGroup &g, int Used)
{
    g.EnsureDwgGroup();
    uint32_t dg = 0, first = 0;
    g.RecordCache()->Dgg->GetNewDgIdAndCluster(dg, first);
    for (int i = 0; i < Used; ++i)
        g.RecordCache()->Dgg->AddImage(dg, 1025);
}

// Column widths and row heights of a sheet; sizes not set are the defaults.
struct FakeSheet : TSheetSizes
{
    int32_t ColDefault = 100;
    int32_t RowDefault = 20;
    std::map<int32_t, int32_t> Cols, Rows;
    int32_t GetColWidth(int32_t c, bool) const override
    {
        auto it = Cols.find(c);
        return it == Cols.end() ? ColDefault : it->second;
    }
    int32_t GetRowHeight(int32_t r, bool) const override
    {
        auto it = Rows.find(r);
        return it == Rows.end() ? RowDefault : it->second;
    }
};

inline TClientAnchor Anchor(int flag, int col1, int dx1, int row1, int dy1, int col2, int dx2, int row2, int dy2)
{
    TClientAnchor a;
    a.Flag = uint16_t(flag);
    a.Col1 = uint16_t(col1);
    a.Dx1 = uint16_t(dx1);
    a.Row1 = uint16_t(row1);
    a.Dy1 = uint16_t(dy1);
    a.Col2 = uint16_t(col2);
    a.Dx2 = uint16_t(dx2);
    a.Row2 = uint16_t(row2);
    a.Dy2 = uint16_t(dy2);
    return a;
}

inline auto Tie(const TClientAnchor &a)
{
    return std::make_tuple(a.Flag, a.Col1, a.Dx1, a.Row1, a.Dy1, a.Col2, a.Dx2, a.Row2, a.Dy2);
}

inline TImageProperties Cells(int row1, int col1, int row2, int col2)
{
    TImageProperties p;
    p.Row1 = row1;
    p.Col1 = col1;
    p.Row2 = row2;
    p.Col2 = col2;
    return p;
}

} // namespace esc
