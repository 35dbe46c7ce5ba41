// Drawing records: any bytes as a "Workbook" stream, read record by record, load drawing groups
// (MSODRAWINGGROUP) and sheet drawings (MSODRAWING with their OBJ and TXO records) or are refused
// with an Exception. Every loaded tree writes exactly TotalSize bytes, and what it wrote loads back
// and writes the same bytes again; a copy of each shape writes as many bytes as the shape.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "xlsAdapter/drawing/duzUXlsClientData.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"

#include <memory>
#include <vector>

namespace {

using Reader = FuzzStreamReader;

// The bytes a tree writes, checked against its size.
QByteArray Written(const std::function<void(TOle2File &)> &Save, int64_t Size)
{
    QByteArray w;
    try {
        w = FuzzWriteStream(Save);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, QStringLiteral("writing a loaded tree failed: ") + e.Message());
    }
    FUZZ_CHECK(w.size() == Size, QStringLiteral("size %1 written %2").arg(Size).arg(w.size()));
    return w;
}

void CheckDrawing(TDrawingGroup &group, TDrawing &d)
{
    const QByteArray once = Written([&](TOle2File &f) { d.SaveToStream(&f); }, d.TotalSize());
    Reader r(once);
    TDrawing again(&group);
    try {
        auto *first = dynamic_cast<TDrawingRecord *>(LoadRecord(&r.f, r.h));
        FUZZ_CHECK(first != nullptr, QStringLiteral("written drawing does not start with MSODRAWING"));
        again.LoadFromStream(&r.f, r.h, nullptr, first);
    } catch (const Exception &e) {
        FUZZ_CHECK(false, QStringLiteral("written drawing does not load: ") + e.Message());
    }
    FUZZ_CHECK(Written([&](TOle2File &f) { again.SaveToStream(&f); }, again.TotalSize()) == once,
               QStringLiteral("drawing round trip differs"));

    // Copies of the shapes into the same drawing (objects with OLE formulas refuse).
    TEscherSpgrContainerRecord *patriarch = d.RecordCache()->Patriarch;
    if (!patriarch || !d.DgContainer() || !group.RecordCache()->Dgg)
        return;
    const int n = patriarch->ContainedRecords()->Count();
    for (int i = 0; i < n && i < 8; ++i) {
        TEscherRecord *shape = patriarch->ContainedRecords()->Items(i);
        if (!shape)
            continue;
        d.DgContainer()->ClearCopiedTo();
        try {
            TEscherRecord *copy = shape->CopyDwg(1, 1, nullptr);
            FUZZ_CHECK(copy && copy->TotalSizeNoSplit() == shape->TotalSizeNoSplit(), QStringLiteral("copy size"));
        } catch (const Exception &) {
        }
    }
    Written([&](TOle2File &f) { d.SaveToStream(&f); }, d.TotalSize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    Reader in(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)));
    TDrawingGroup group;
    std::vector<std::unique_ptr<TDrawing>> drawings;
    FuzzLoadDrawings(in, group, drawings);

    if (group.DggContainer()) {
        const QByteArray once = Written([&](TOle2File &f) { group.SaveToStream(&f); }, group.TotalSize());
        Reader r(once);
        TDrawingGroup again;
        try {
            auto *first = dynamic_cast<TDrawingGroupRecord *>(LoadRecord(&r.f, r.h));
            FUZZ_CHECK(first != nullptr, QStringLiteral("written group does not start with MSODRAWINGGROUP"));
            again.LoadFromStream(&r.f, r.h, first);
        } catch (const Exception &e) {
            FUZZ_CHECK(false, QStringLiteral("written group does not load: ") + e.Message());
        }
        FUZZ_CHECK(Written([&](TOle2File &f) { again.SaveToStream(&f); }, again.TotalSize()) == once,
                   QStringLiteral("group round trip differs"));
    }
    for (auto &d : drawings)
        CheckDrawing(group, *d);
    // Sheet drawings go before the group whose clusters they give back.
    drawings.clear();
    return 0;
}
