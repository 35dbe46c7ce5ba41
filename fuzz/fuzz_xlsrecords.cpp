// BIFF8 records: any bytes as a "Workbook" stream load record by record or are refused with an
// Exception; every loaded record's accessors stay inside its data, it writes exactly TotalSize
// bytes, its copy writes the same bytes, and a row of its cells measures what it writes.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

#include <bit>
#include <map>
#include <memory>
#include <vector>

namespace {

// Reads every accessor of the record's class; failures must be Exceptions.
void Touch(TBaseRecord *r)
{
    try {
        if (auto *c = dynamic_cast<TCellRecord *>(r)) {
            const Variant v = c->Value();
            if (auto *rk = dynamic_cast<TRKRecord *>(r)) {
                int32_t code = 0;
                if (TryRKEncode(code, v.AsDouble()))
                    FUZZ_CHECK(IsRKValue(v.AsDouble()), QString());
                (void)rk;
            }
        } else if (auto *row = dynamic_cast<TRowRecord *>(r)) {
            (void)row->XF();
            (void)row->Height();
        } else if (auto *b = dynamic_cast<TBoundSheetRecord *>(r)) {
            (void)b->SheetName();
        } else if (auto *cn = dynamic_cast<TCodeNameRecord *>(r)) {
            (void)cn->SheetName();
        } else if (auto *hf = dynamic_cast<TPageHeaderFooterRecord *>(r)) {
            (void)hf->Text();
        } else if (auto *s = dynamic_cast<TStringRecord *>(r)) {
            (void)s->Value();
        } else if (auto *w2 = dynamic_cast<TWindow2Record *>(r)) {
            (void)w2->SheetZoom();
            w2->SetSheetZoom(w2->SheetZoom());
        } else if (auto *scl = dynamic_cast<TSCLRecord *>(r)) {
            (void)scl->Zoom();
        } else if (auto *setup = dynamic_cast<TSetupRecord *>(r)) {
            (void)setup->Value();
            (void)setup->Scale();
        } else if (auto *pls = dynamic_cast<TPlsRecord *>(r)) {
            pls->SetPrinterData(pls->PrinterData());
        } else if (auto *dim = dynamic_cast<TDimensionsRecord *>(r)) {
            (void)dim->Dim();
        } else if (auto *pane = dynamic_cast<TPaneRecord *>(r)) {
            pane->EnsureSelectedVisible();
        }
        // Any record's data read as a string, from the start, across its CONTINUE records.
        for (int len = 1; len <= 2; ++len) {
            TBaseRecord *at = r;
            int32_t pos = 0;
            try {
                TExcelString s(len, at, pos);
                FUZZ_CHECK(s.Value().size() == s.StrLen, QString());
            } catch (const Exception &) {
            }
        }
    } catch (const Exception &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), input)});
    auto src = ole::MemStream(L.Bytes);
    TOle2File f(src.get());
    f.SelectStream(QStringLiteral("Workbook"));

    const auto records = FuzzLoadRecords(f);

    std::map<int, std::unique_ptr<TCellRecordList>> rows;
    TRowRecordList rowRecords;
    for (auto &r : records) {
        Touch(r.get());
        if (auto *mul = dynamic_cast<TMultipleValueRecord *>(r.get())) {
            while (!mul->Eof()) {
                TCellRecord *c = mul->ExtractOneRecord();
                auto &row = rows[c->Row()];
                if (!row)
                    row = std::make_unique<TCellRecordList>();
                row->Add(c);
            }
        } else if (auto *c = dynamic_cast<TCellRecord *>(r.get())) {
            auto &row = rows[c->Row()];
            if (!row)
                row = std::make_unique<TCellRecordList>();
            row->Add(static_cast<TCellRecord *>(c->CopyTo()));
        } else if (auto *row = dynamic_cast<TRowRecord *>(r.get())) {
            try {
                rowRecords.AddRecord(static_cast<TRowRecord *>(row->CopyTo()));
            } catch (const Exception &) {
            }
        }
    }

    TMemoryStream out;
    src->SetPosition(0);
    TOle2File w(src.get());
    w.PrepareForWrite(&out, QStringLiteral("Workbook"), {});
    for (auto &r : records) {
        int64_t before = w.Position();
        r->SaveToStream(&w);
        const int64_t written = w.Position() - before;
        FUZZ_CHECK(written == r->TotalSize(), QStringLiteral("id %1").arg(r->Id, 0, 16));
        std::unique_ptr<TBaseRecord> copy;
        try {
            copy.reset(r->CopyTo());
        } catch (const Exception &) {
            continue; // a class that refuses its own data refuses the copy too
        }
        before = w.Position();
        copy->SaveToStream(&w);
        FUZZ_CHECK(w.Position() - before == written, QStringLiteral("copy of id %1").arg(r->Id, 0, 16));
    }
    for (auto &[row, cells] : rows) {
        cells->Sort();
        const int64_t size = cells->GetTotalSize();
        const int64_t before = w.Position();
        cells->SaveToStream(&w);
        FUZZ_CHECK(w.Position() - before == size, QStringLiteral("row %1").arg(row));
    }
    const int64_t before = w.Position();
    rowRecords.SaveToStream(&w);
    FUZZ_CHECK(w.Position() - before == rowRecords.GetTotalSize(), QString());
    w.Close();
    return 0;
}
