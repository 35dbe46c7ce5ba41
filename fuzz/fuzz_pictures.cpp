// Pictures and comments. Part one: any bytes as a "Workbook" stream load drawing groups and sheet
// drawings or are refused with an Exception; every picture of a loaded drawing reads back or is
// refused, and replacing, clearing and deleting pictures neither fail otherwise nor touch freed
// entries. Part two: the input, read as a script, adds, replaces, clears and deletes pictures and
// adds comments (NOTE records with their boxes) and filter arrows through the engine; every store entry counts exactly the
// pictures that show it, and what the engine writes loads back with the same picture bytes, kinds,
// names, comment texts and anchors, the notes find their boxes again, and it writes the same
// bytes again.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"

#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// Reads the input front to back; past its end every read gives zeros.
struct Script
{
    const uint8_t *p;
    size_t n;
    bool More() const { return n > 0; }
    uint8_t Byte()
    {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    uint16_t Word() { return uint16_t(Byte() | Byte() << 8); }
    QByteArray Bytes(size_t k)
    {
        QByteArray b;
        for (size_t i = 0; i < k && n; ++i)
            b += char(Byte());
        return b;
    }
    QString Text(int maxLen)
    {
        QString t;
        const int len = Byte() % (maxLen + 1);
        for (int i = 0; i < len; ++i)
            t += QChar(Word());
        return t;
    }
};

struct Sizes : TSheetSizes
{
    uint8_t Col[8] = {}, Row[8] = {};
    int32_t GetColWidth(int32_t c, bool) const override { return Col[c & 7]; }
    int32_t GetRowHeight(int32_t r, bool) const override { return Row[r & 7]; }
};

auto Tie(const TClientAnchor &a) { return std::make_tuple(a.Flag, a.Col1, a.Dx1, a.Row1, a.Dy1, a.Col2, a.Dx2, a.Row2, a.Dy2); }

struct Picture
{
    QByteArray Bytes;
    TXlsImgTypes Kind;
    QString Name;
};

// The kind follows from the bytes, since the store shares an entry by its digest alone.
TXlsImgTypes KindOf(const QByteArray &b)
{
    static const TXlsImgTypes kinds[] = {xli_Jpeg, xli_Png, xli_Bmp};
    return b.isEmpty() ? xli_Bmp : kinds[uint8_t(b[0]) % 3];
}

QByteArray ReadPicture(TDrawing &d, int i, TXlsImgTypes &kind)
{
    TMemoryStream m;
    d.GetDrawingFromStream(i, &m, kind);
    QByteArray b = m.Bytes();
    if (kind == xli_Bmp) {
        FUZZ_CHECK(b.left(14) == QByteArray("BM") + QByteArray(12, 0), QStringLiteral("bitmap file header"));
        b = b.mid(14);
    }
    return b;
}

void LoadedPart(const QByteArray &input)
{
    FuzzStreamReader in(input);
    TDrawingGroup group;
    std::vector<std::unique_ptr<TDrawing>> drawings;
    FuzzLoadDrawings(in, group, drawings);
    const QByteArray other("\xFF\xD8other", 7);
    for (auto &d : drawings) {
        for (int i = 0; i < d->DrawingCount() && i < 16; ++i) {
            TXlsImgTypes kind;
            TMemoryStream m;
            try {
                d->GetDrawingFromStream(i, &m, kind);
            } catch (const Exception &) {
            }
            d->GetDrawingName(i);
            d->GetDrawingRow(i);
            d->GetAnchor(i);
        }
        // Without a store nothing can be replaced; the loaded references need one anyway.
        if (!group.RecordCache()->BStore)
            continue;
        for (int step = 0; d->DrawingCount() > 0 && step < 4; ++step) {
            try {
                if (step == 0)
                    d->AssignDrawing(0, other, xli_Jpeg);
                else if (step == 1)
                    d->ClearImage(d->DrawingCount() - 1);
                else
                    d->DeleteImage(0);
            } catch (const Exception &) {
            }
        }
    }
    drawings.clear();
}

void EnginePart(Script s)
{
    TDrawingGroup g;
    g.EnsureDwgGroup();
    TDrawing d(&g);
    Sizes sizes;
    for (int i = 0; i < 8; ++i) {
        sizes.Col[i] = s.Byte();
        sizes.Row[i] = s.Byte();
    }
    std::vector<Picture> pictures;
    std::map<uint16_t, QString> comments; // object id, text
    TNoteList notes;                      // freed before the drawing its notes refer into
    for (int op = 0; op < 24 && s.More(); ++op) {
        const uint8_t what = s.Byte() % 6;
        const int count = int(pictures.size());
        switch (what) {
        case 0: {
            const QByteArray bytes = s.Bytes(s.Byte() % 40);
            TImageProperties p;
            p.Col1 = s.Byte();
            p.dx1 = s.Word() % 1025;
            p.Row1 = s.Word() % 2048; // anchors walk the rows above them: keep runs quick
            p.dy1 = s.Byte();
            p.Col2 = s.Byte();
            p.dx2 = s.Word() % 1025;
            p.Row2 = s.Word() % 2048;
            p.dy2 = s.Byte();
            p.FileName = s.Text(12);
            const TWbAnchorType type = TWbAnchorType(s.Byte() % 3);
            // Empty bytes are the empty bitmap whatever the kind.
            const bool wmf = s.Byte() == 0xEE && !bytes.isEmpty();
            if (wmf) {
                bool refused = false;
                try {
                    d.AddImage(bytes, xli_Wmf, &sizes, type, p);
                } catch (const Exception &) {
                    refused = true;
                }
                FUZZ_CHECK(refused, QStringLiteral("a WMF was added"));
                break;
            }
            d.AddImage(bytes, KindOf(bytes), &sizes, type, p);
            pictures.push_back({bytes.isEmpty() ? EmptyBmp() : bytes, KindOf(bytes), p.FileName});
            break;
        }
        case 1: {
            TImageProperties p;
            p.Col1 = s.Byte();
            p.Row1 = s.Word() % 2048;
            p.Col2 = s.Byte();
            p.Row2 = s.Word() % 2048;
            const QString text = s.Text(40);
            const int row = p.Row1, col = p.Col1;
            notes.AddNewComment(row, col, text, &d, p, &sizes);
            TNoteRecordList *inRow = notes.Items(row);
            const TNoteRecord *n = inRow->Items(inRow->Count() - 1);
            FUZZ_CHECK(n->Text() == text, QStringLiteral("comment text"));
            comments[n->ObjId()] = text;
            break;
        }
        case 2: {
            const int row = s.Word() % 2048, col = s.Byte();
            d.AddAutoFilter(row, col, &sizes, col + s.Byte() % 4);
            break;
        }
        case 3:
            if (count) {
                const int i = s.Byte() % count;
                d.DeleteImage(i);
                pictures.erase(pictures.begin() + i);
            }
            break;
        case 4:
            if (count) {
                const int i = s.Byte() % count;
                const QByteArray bytes = s.Bytes(s.Byte() % 40);
                d.AssignDrawing(i, bytes, KindOf(bytes));
                pictures[size_t(i)].Bytes = bytes.isEmpty() ? EmptyBmp() : bytes;
                pictures[size_t(i)].Kind = KindOf(bytes);
            }
            break;
        default:
            d.RemoveAutoFilter();
            d.SaveObjectCoords(&sizes);
            d.RestoreObjectCoords(&sizes);
            break;
        }
        FUZZ_CHECK(d.DrawingCount() == int(pictures.size()), QStringLiteral("picture count"));
    }

    // Every entry counts the pictures that show its bytes.
    std::map<QByteArray, uint32_t> shown;
    for (const Picture &p : pictures)
        ++shown[p.Bytes];
    TEscherRecordList *store = g.RecordCache()->BStore->ContainedRecords();
    FUZZ_CHECK(store->Count() == int(shown.size()), QStringLiteral("store entries %1 for %2 pictures")
                                                          .arg(store->Count())
                                                          .arg(shown.size()));
    for (int i = 0; i < store->Count(); ++i) {
        auto *bse = static_cast<TEscherBSERecord *>(store->Items(i));
        const QByteArray bytes(reinterpret_cast<const char *>(bse->Data) + BseBlipOfs + 17,
                               bse->TotalDataSize - BseBlipOfs - 17);
        FUZZ_CHECK(bse->References() == shown[bytes], QStringLiteral("entry %1 counts %2").arg(i).arg(bse->References()));
    }

    const auto save = [&](TDrawingGroup &gg, TDrawing &dd, TNoteList &nn) {
        return FuzzWriteStream([&](TOle2File &f) {
            gg.SaveToStream(&f);
            dd.SaveToStream(&f);
            nn.SaveToStream(&f);
        });
    };
    TDrawingGroup g2;
    TDrawing d2(&g2);
    TNoteList notes2;
    const QByteArray once = save(g, d, notes);
    FUZZ_CHECK(once.size() == g.TotalSize() + d.TotalSize() + notes.TotalSize(), QStringLiteral("written size"));
    FuzzStreamReader r(once);
    try {
        auto *gr = dynamic_cast<TDrawingGroupRecord *>(LoadRecord(&r.f, r.h));
        FUZZ_CHECK(gr != nullptr, QStringLiteral("no group written"));
        g2.LoadFromStream(&r.f, r.h, gr);
        if (d.DgContainer()) {
            auto *dr = dynamic_cast<TDrawingRecord *>(LoadRecord(&r.f, r.h));
            FUZZ_CHECK(dr != nullptr, QStringLiteral("no drawing written"));
            d2.LoadFromStream(&r.f, r.h, nullptr, dr);
        }
        while (r.h.Id == xlr_NOTE) {
            auto *n = dynamic_cast<TNoteRecord *>(LoadRecord(&r.f, r.h));
            FUZZ_CHECK(n != nullptr, QStringLiteral("NOTE not read as a note"));
            notes2.AddRecord(n, n->Row());
        }
        notes2.FixDwgIds(&d2);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, QStringLiteral("what the engine wrote does not load: ") + e.Message());
    }
    FUZZ_CHECK(d2.DrawingCount() == int(pictures.size()), QStringLiteral("pictures read back"));
    for (int i = 0; i < d2.DrawingCount(); ++i) {
        TXlsImgTypes kind = xli_Unknown;
        FUZZ_CHECK(ReadPicture(d2, i, kind) == pictures[size_t(i)].Bytes, QStringLiteral("picture %1 bytes").arg(i));
        FUZZ_CHECK(kind == pictures[size_t(i)].Kind, QStringLiteral("picture %1 kind").arg(i));
        FUZZ_CHECK(d2.GetDrawingName(i) == pictures[size_t(i)].Name, QStringLiteral("picture %1 name").arg(i));
        FUZZ_CHECK(Tie(d2.GetAnchor(i)) == Tie(d.GetAnchor(i)), QStringLiteral("picture %1 anchor").arg(i));
    }
    for (const auto &[id, text] : comments) {
        TEscherClientDataRecord *a = d.FindObjId(id), *b = d2.FindObjId(id);
        FUZZ_CHECK(a && b, QStringLiteral("comment %1 lost").arg(id));
        auto *pa = static_cast<TEscherSpContainerRecord *>(a->Parent());
        auto *pb = static_cast<TEscherSpContainerRecord *>(b->Parent());
        auto *tb = pb->FindRec<TEscherClientTextBoxRecord>();
        FUZZ_CHECK(tb && tb->Value() == text, QStringLiteral("comment %1 text").arg(id));
        FUZZ_CHECK(pa->ClientAnchor && pb->ClientAnchor
                       && Tie(pa->ClientAnchor->Anchor()) == Tie(pb->ClientAnchor->Anchor()),
                   QStringLiteral("comment %1 anchor").arg(id));
    }
    for (int row = 0; row < notes2.Count(); ++row)
        for (int i = 0; i < notes2.Items(row)->Count(); ++i) {
            const TNoteRecord *n = notes2.Items(row)->Items(i);
            FUZZ_CHECK(n->Dwg() && n->Text() == comments[n->ObjId()], QStringLiteral("note %1 text").arg(n->ObjId()));
        }
    FUZZ_CHECK(save(g2, d2, notes2) == once, QStringLiteral("round trip differs"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    LoadedPart(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)));
    EnginePart(Script{Data, Size});
    return 0;
}
