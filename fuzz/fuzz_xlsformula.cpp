// Formula records: any bytes as a "Workbook" stream load record by record or are refused with an
// Exception; loaded FORMULA, SHRFMLA, NAME and TABLE records read their fields, decode, expand
// shared formulas and move with rows, columns, copies and sheets inside their data or are refused
// with an Exception, and write exactly the size they announce; a FORMULA and a NAME made from a
// formula text (the input's own, and each one a loaded record decodes to) load back with the same
// value and formula text.
#include "fuzz/FuzzCommon.h"
#include "fuzz/FuzzRecords.h"
#include "tests/progrid/xls/formulas/FormulaFixture.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Runs fn; a refusal must be an Exception.
template <class Fn> bool Try(Fn &&fn)
{
    try {
        fn();
        return true;
    } catch (const Exception &) {
        return false;
    }
}

QString Decoded(const uint8_t *Tokens, int32_t Length, IFormulaCellList *Cells)
{
    ByteArray b{uint8_t(Length), uint8_t(Length >> 8)};
    b.insert(b.end(), Tokens, Tokens + Length);
    return DecodeFormulaTokens(b, 2, Cells);
}

QString FormulaText(const TFormulaRecord &r, IFormulaCellList *Cells)
{
    return Decoded(r.Data + 22, GetWord(r.Data, 20), Cells);
}

QString NameText(const TNameRecord &r, IFormulaCellList *Cells)
{
    return Decoded(r.Data + r.TokenStart(), r.TokenLength(), Cells);
}

// Writes records and returns the bytes, checking each record's announced size.
QByteArray Written(const std::vector<TBaseRecord *> &Records)
{
    const ole::Layout L = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), ole::Pattern(100))});
    auto src = ole::MemStream(L.Bytes);
    TMemoryStream out;
    int64_t n = 0;
    {
        TOle2File f(src.get());
        f.PrepareForWrite(&out, QStringLiteral("Workbook"), {});
        for (TBaseRecord *r : Records) {
            const int64_t before = f.Position();
            r->SaveToStream(&f);
            FUZZ_CHECK(f.Position() - before == r->TotalSize(), QStringLiteral("id %1").arg(r->Id, 0, 16));
        }
        n = f.Position();
        f.Close();
    }
    auto back = ole::MemStream(out.Bytes());
    TOle2File g(back.get());
    g.SelectStream(QStringLiteral("Workbook"));
    QByteArray b(qsizetype(n), 0);
    g.ReadMem(b.data(), n);
    return b;
}

// The records of a stream, with each formula's STRING text given to it as the sheet does.
std::vector<std::unique_ptr<TBaseRecord>> LoadBack(const QByteArray &Bytes)
{
    const ole::Layout W = ole::Build({ole::Root(), ole::Stream(QStringLiteral("Workbook"), Bytes)});
    auto m = ole::MemStream(W.Bytes);
    TOle2File g(m.get());
    g.SelectStream(QStringLiteral("Workbook"));
    auto records = FuzzLoadRecords(g);
    for (size_t i = 1; i < records.size(); ++i)
        if (auto *s = dynamic_cast<TStringRecord *>(records[i].get()))
            if (auto *f = dynamic_cast<TFormulaRecord *>(records[i - 1].get()))
                Try([&] { f->SetFormulaValue(Variant(s->Value())); });
    return records;
}

bool SameValue(const Variant &Made, const Variant &Back)
{
    // A made formula without a value carries the result 0.
    if (VarIsEmpty(Made) || VarIsNull(Made))
        return VarType(Back) == varDouble && Back.AsDouble() == 0;
    if (VarType(Made) == varDouble) {
        if (VarType(Back) != varDouble)
            return false;
        const double a = Made.AsDouble(), b = Back.AsDouble();
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
    return VarType(Back) == VarType(Made) && Back == Made;
}

// A FORMULA and a NAME made from Text load back with the same value, name and formula text.
void RoundTrip(const QString &Text, const Variant &Value, const QString &Name, int32_t Sheet, fml::FakeCellList &Cells)
{
    std::unique_ptr<TParseString> p;
    if (!Try([&] {
            p = std::make_unique<TParseString>(Text, &Cells, fmValue);
            p->Parse();
        }))
        return;
    if (20 + p->TotalSize() > 0xFFFF)
        return;
    std::unique_ptr<TFormulaRecord> f(
        TFormulaRecord::CreateFromData(xlr_FORMULA, 20 + p->TotalSize(), 3, 4, 15, Value, false));
    p->CopyToPtr(f->Data, 20);
    QString text;
    if (!Try([&] { text = FormulaText(*f, &Cells); }))
        FUZZ_CHECK(false, Text);

    TXlsNamedRange range;
    range.Name = Name;
    range.RangeFormula = Text;
    range.NameSheetIndex = Sheet;
    std::unique_ptr<TNameRecord> n;
    QString nameText;
    const TGetSheetName sheetName = [&](int32_t i) { return Cells.Sheets.value(i); };
    if (Try([&] { n.reset(TNameRecord::CreateFromData(range, sheetName, &Cells)); }))
        FUZZ_CHECK(Try([&] { nameText = NameText(*n, &Cells); }), Text);

    std::vector<TBaseRecord *> out{f.get()};
    if (n)
        out.push_back(n.get());
    const auto back = LoadBack(Written(out));
    const auto *f2 = back.empty() ? nullptr : dynamic_cast<TFormulaRecord *>(back[0].get());
    FUZZ_CHECK(f2, Text);
    FUZZ_CHECK(SameValue(f->Value(), f2->Value()), Text + QStringLiteral(": ") + VariantToText(f->Value()));
    FUZZ_CHECK(FormulaText(*f2, &Cells) == text, Text + QStringLiteral(" -> ") + text);
    if (!n)
        return;
    const TNameRecord *n2 = nullptr;
    for (const auto &r : back)
        if (!n2)
            n2 = dynamic_cast<TNameRecord *>(r.get());
    FUZZ_CHECK(n2 && n2->Name() == Name && n2->RangeSheet() == n->RangeSheet(), Name);
    FUZZ_CHECK(NameText(*n2, &Cells) == nameText, Text + QStringLiteral(" -> ") + nameText);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    const auto records = LoadBack(input);

    fml::FakeCellList cells;
    cells.ExternSheets = {{0, 0}, {1, 2}, {2, 0}};

    // Moves from the input's last bytes.
    uint8_t m[8] = {};
    for (size_t i = 0; i < 8 && i < Size; ++i)
        m[i] = Data[Size - 1 - i];
    const int32_t at = GetWord(m, 0), count = int8_t(m[2]), offset = int8_t(m[3]);
    TSheetInfo sheet;
    sheet.FormulaSheet = m[4] % 3;
    sheet.InsSheet = m[5] % 3;
    sheet.GetSheet = [](int32_t ext) { return ext % 3; };
    sheet.SetSheet = [](int32_t s) { return s; };
    TNameRecordList names;
    TShrFmlaRecordList shared;
    for (const auto &r : records)
        if (auto *n = dynamic_cast<TNameRecord *>(r.get()))
            names.Add(CopyOf(n));
        else if (auto *s = dynamic_cast<TShrFmlaRecord *>(r.get()))
            shared.Add(CopyOf(s));
    sheet.Names = &names;

    std::vector<std::unique_ptr<TBaseRecord>> moved;
    int roundTrips = 0;
    for (const auto &r : records) {
        if (auto *fr = dynamic_cast<TFormulaRecord *>(r.get())) {
            QString text;
            if (roundTrips < 4 && Try([&] { text = FormulaText(*fr, &cells); }) && ++roundTrips)
                RoundTrip(text, fr->Value(), QStringLiteral("F"), 0, cells);
            uint32_t key = 0;
            std::unique_ptr<TFormulaRecord> c(CopyOf(fr));
            FUZZ_CHECK(VarIsEmpty(c->Value()), QString());
            if (c->IsExp(key) && shared.Count() > 0)
                Try([&] { c->MixShared(shared.Items(0)->Data, shared.Items(0)->DataSize); });
            Try([&] { c->ArrangeInsertRowsAndCols(at, count, at & 0xFF, count, sheet); });
            Try([&] { c->ArrangeCopyRowsAndCols(offset, offset / 4); });
            Try([&] { (void)FormulaText(*c, &cells); });
            moved.push_back(std::move(c));
        } else if (auto *nr = dynamic_cast<TNameRecord *>(r.get())) {
            QString text;
            if (roundTrips < 4 && Try([&] { text = NameText(*nr, &cells); }) && ++roundTrips)
                RoundTrip(text, Variant(), nr->Name(), nr->RangeSheet(), cells);
            std::unique_ptr<TNameRecord> c(CopyOf(nr));
            (void)c->GetR1(), (void)c->GetR2(), (void)c->GetC1(), (void)c->GetC2();
            (void)c->RefersToSheet(sheet.GetSheet);
            Try([&] { c->SetR2(at); });
            Try([&] { c->ArrangeInsertRowsAndCols(at, count, at & 0xFF, count, sheet); });
            Try([&] { c->ArrangeInsertSheets(m[6] % 4, int8_t(m[7]) % 4); });
            Try([&] { c->ArrangeCopySheet(sheet); });
            Try([&] { (void)NameText(*c, &cells); });
            moved.push_back(std::move(c));
        } else if (auto *t = dynamic_cast<TTableRecord *>(r.get())) {
            std::unique_ptr<TTableRecord> c(CopyOf(t));
            Try([&] { c->ArrangeInsertRowsAndCols(at, count, at & 0xFF, count); });
            Try([&] { c->ArrangeCopyRowsAndCols(offset, offset); });
            moved.push_back(std::move(c));
        }
    }
    Try([&] { names.InsertSheets(sheet.FormulaSheet, m[6] % 4, 1 + m[7] % 2, sheet); });
    Try([&] { names.DeleteSheets(m[6] % 4, 1); });
    int32_t index = 0;
    shared.Find(GetWord(m, 2), index);
    std::vector<TBaseRecord *> out;
    for (const auto &r : moved)
        out.push_back(r.get());
    (void)Written(out);

    // The input as a formula text.
    RoundTrip(QLatin1Char('=') + QString::fromUtf8(input.left(256)), Variant(QString::fromLatin1(input.left(40))),
              QStringLiteral("In"), int32_t(m[0] % 4) - 1, cells);
    return 0;
}
