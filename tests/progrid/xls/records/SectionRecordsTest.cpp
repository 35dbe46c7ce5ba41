// Section, workbook-level, sheet view and page-setup records: their fields at fixed offsets.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"

#include <bit>

using namespace rec;

namespace {

QString Invalid(int id) { return Format(QStringLiteral("Record with ID 0x%x is invalid"), {id}); }

QByteArray Doubles(double v)
{
    const uint64_t b = std::bit_cast<uint64_t>(v);
    return Le32(uint32_t(b)) + Le32(uint32_t(b >> 32));
}

QByteArray SetupData(int grbit)
{
    return Le16(9) + Le16(80) + Le16(1) + Le16(2) + Le16(3) + Le16(grbit) + Le16(300) + Le16(301) + Doubles(0.5)
           + Doubles(0.25) + Le16(4);
}

} // namespace

TEST(SectionRecords, BofVersionAndType)
{
    auto bof = Make<TBOFRecord>(xlr_BOF, Le16(0x0600) + Le16(0x10) + QByteArray(12, 0));
    EXPECT_EQ(bof->BOFType(), 0x10);
    const QString version = QStringLiteral("Template file is saved with an invalid Excel version");
    EXPECT_EQ(MessageOf([] { Make<TBOFRecord>(xlr_BOF, Le16(0x0500) + Le16(0x5) + QByteArray(12, 0)); }), version);
    bof->Data[1] = 5; // as if another version had been read: a copy fails the same way
    EXPECT_EQ(MessageOf([&] { delete bof->CopyTo(); }), version);
}

TEST(SectionRecords, TemplateObjTxoAndSst)
{
    EXPECT_EQ(TTemplateRecord::GetSize(true), 4);
    EXPECT_EQ(TTemplateRecord::GetSize(false), 0);
    EXPECT_EQ(Written([](TOle2File &f) { TTemplateRecord::SaveNewRecord(&f); }), B({0x60, 0, 0, 0}));

    auto cmo = Make<TObjRecord>(0x5D, Le16(0x15) + Le16(0x12) + Le16(8) + Le16(3) + QByteArray(14, 0));
    EXPECT_EQ(cmo->ObjId, 0x15);
    EXPECT_EQ(cmo->CmoId, 8);
    std::unique_ptr<TObjRecord> copy(static_cast<TObjRecord *>(cmo->CopyTo()));
    EXPECT_EQ(copy->CmoId, 8);
    auto other = Make<TObjRecord>(0x5D, Le16(0x07) + Le16(2) + Le16(8));
    EXPECT_EQ(other->CmoId, 0);

    std::unique_ptr<TTXORecord> txo(TTXORecord::CreateFromData());
    EXPECT_EQ(DataOf(*txo), Le16(0x0212) + QByteArray(16, 0));

    auto sst = Make<TSSTRecord>(0xFC, Le32(10) + Le32(7));
    EXPECT_EQ(sst->Count, 7u);
}

TEST(SectionRecords, BoundSheetAndCodeNames)
{
    std::unique_ptr<TBoundSheetRecord> b(TBoundSheetRecord::CreateNew(0, QStringLiteral("Sheet1")));
    EXPECT_EQ(b->DataSize, 14);
    EXPECT_EQ(DataOf(*b), Le32(0) + Le16(0) + B({6, 0}) + QByteArray("Sheet1"));
    EXPECT_EQ(b->SheetName(), QStringLiteral("Sheet1"));
    b->SetOffset(0x01020304);
    b->SetOptionFlags(0x0201);
    const QString wide = QStringLiteral("Sp") + QChar(0x0101);
    b->SetSheetName(wide);
    EXPECT_EQ(b->DataSize, 6 + 2 + 6);
    EXPECT_EQ(DataOf(*b), Le32(0x01020304) + Le16(0x0201) + B({3, 1, 'S', 0, 'p', 0, 1, 1}));
    EXPECT_EQ(b->SheetName(), wide);
    EXPECT_EQ(MessageOf([&] { b->SetSheetName(QString(256, QChar('x'))); }), QStringLiteral("Invalid String record"));
    EXPECT_EQ(b->SheetName(), wide);

    std::unique_ptr<TCodeNameRecord> c(TCodeNameRecord::CreateNew(QStringLiteral("ThisWorkbook")));
    EXPECT_EQ(DataOf(*c), B({12, 0, 0}) + QByteArray("ThisWorkbook"));
    c->SetSheetName(QStringLiteral("Sheet2"));
    EXPECT_EQ(c->DataSize, 9);
    EXPECT_EQ(c->SheetName(), QStringLiteral("Sheet2"));
    // 40000 16-bit characters would need more data than one record announces.
    EXPECT_EQ(MessageOf([&] { c->SetSheetName(QString(40000, QChar(0x263A))); }), QStringLiteral("Invalid String record"));
    EXPECT_EQ(c->SheetName(), QStringLiteral("Sheet2"));
    c->SetSheetName(QString(40000, QChar('a')));
    EXPECT_EQ(c->DataSize, 40003);
}

TEST(SectionRecords, DimensionsStringAndFlags)
{
    auto dim = Make<TDimensionsRecord>(0x0200, Le32(1) + Le32(70000) + Le16(2) + Le16(9) + Le16(0));
    const TDimensionsRec d = dim->Dim();
    EXPECT_EQ(d.FirstRow, 1u);
    EXPECT_EQ(d.LastRow, 70000u);
    EXPECT_EQ(d.FirstCol, 2);
    EXPECT_EQ(d.LastCol, 9);

    auto str = Make<TStringRecord>(0x0207, B({4, 0, 0, 't', 'e'}));
    str->AddContinue(new TContinueRecord(xlr_CONTINUE, Buffer(B({0, 'x', 't'})), 3));
    EXPECT_EQ(str->Value(), QStringLiteral("text"));
    EXPECT_EQ(str->TotalSize(), 0);
    EXPECT_EQ(Saved(*str), QByteArray());

    auto y1904 = Make<T1904Record>(0x22, Le16(1));
    EXPECT_TRUE(y1904->Is1904());
    y1904->SetIs1904(false);
    EXPECT_EQ(DataOf(*y1904), Le16(0));
    auto precision = Make<TPrecisionRecord>(0x0E, Le16(1));
    EXPECT_FALSE(precision->PrecisionAsDisplayed());
    precision->SetPrecisionAsDisplayed(true);
    EXPECT_EQ(DataOf(*precision), Le16(0));
    auto bookBool = Make<TBookBoolRecord>(0xDA, Le16(0));
    EXPECT_TRUE(bookBool->SaveExternalLinkValues());
    bookBool->SetSaveExternalLinkValues(false);
    EXPECT_EQ(DataOf(*bookBool), Le16(1));
}

TEST(SectionRecords, Window1ActiveSheetAndEmptyWindow)
{
    auto w = Make<TWindow1Record>(0x3D, Le16(10) + Le16(20) + Le16(0) + Le16(0) + Le16(0x38) + Le16(1) + Le16(3)
                                            + Le16(2) + Le16(600));
    w->SetActiveSheet(2);
    EXPECT_EQ(w->ActiveSheet(), 2);
    EXPECT_EQ(w->FirstSheetVisible(), 0);
    EXPECT_EQ(GetWord(w->Data, 14), 1);
    EXPECT_EQ(Saved(*w), Record(0x3D, Le16(10) + Le16(20) + Le16(1) + Le16(1) + Le16(0x38) + Le16(2) + Le16(0)
                                          + Le16(1) + Le16(600)));
}

TEST(SheetSettings, ZoomsArePercentagesClampedTo10Through400)
{
    const struct
    {
        int num, den, zoom;
    } scl[] = {{3, 4, 75}, {1, 3, 33}, {5, 0, 100}, {1, 8, 12}, {3, 8, 38}, {5, 8, 62}};
    for (const auto &c : scl)
        EXPECT_EQ(Make<TSCLRecord>(0xA0, Le16(c.num) + Le16(c.den))->Zoom(), c.zoom) << c.num << "/" << c.den;

    const struct
    {
        int written, read;
    } zooms[] = {{5, 10}, {1000, 400}, {150, 150}};
    std::unique_ptr<TSCLRecord> s(TSCLRecord::CreateFromData(85));
    EXPECT_EQ(DataOf(*s), Le16(85) + Le16(100));
    auto w2 = Make<TWindow2Record>(0x23E, Le16(0x06B6) + QByteArray(10, 0) + Le16(100) + QByteArray(4, 0));
    for (const auto &z : zooms) {
        s->SetZoom(z.written);
        EXPECT_EQ(s->Zoom(), z.read);
        w2->SetSheetZoom(z.written);
        EXPECT_EQ(w2->SheetZoom(), z.read);
    }
    // A WINDOW2 without the zoom words (as in chart sheets) reads 100 and keeps its size.
    auto shortW2 = Make<TWindow2Record>(0x23E, Le16(0x06B6) + QByteArray(8, 0));
    EXPECT_EQ(shortW2->SheetZoom(), 100);
    shortW2->SetSheetZoom(50);
    EXPECT_EQ(DataOf(*shortW2), Le16(0x06B6) + QByteArray(8, 0));
}

TEST(SheetSettings, Window2Flags)
{
    auto w = Make<TWindow2Record>(0x23E, Le16(0x06B6) + QByteArray(16, 0));
    EXPECT_TRUE(w->Selected());
    EXPECT_TRUE(w->ShowGridLines());
    EXPECT_TRUE(w->ShowGridHeaders());
    EXPECT_FALSE(w->IsFrozen());
    std::unique_ptr<TWindow2Record> copy(static_cast<TWindow2Record *>(w->CopyTo()));
    EXPECT_FALSE(copy->Selected());
    EXPECT_EQ(GetWord(copy->Data, 0), 0x00B6);
    EXPECT_TRUE(w->Selected()) << "the original stays selected";
    w->SetShowGridLines(false);
    w->SetIsFrozen(true);
    w->SetIsFrozenButNoSplit(true);
    EXPECT_EQ(GetWord(w->Data, 0), 0x07BC);
    w->SetSelected(false);
    EXPECT_EQ(GetWord(w->Data, 0), 0x01BC);
}

TEST(SheetSettings, SetupFieldsAndTheNotValidBit)
{
    auto invalid = Make<TSetupRecord>(0xA1, SetupData(0x0044));
    EXPECT_EQ(invalid->Scale(), 100);
    EXPECT_EQ(invalid->PrintPaperSize(), 0);
    EXPECT_EQ(invalid->PrintCopies(), 1);
    EXPECT_EQ(invalid->PrintXResolution(), 100);
    EXPECT_EQ(invalid->PrintYResolution(), 100);
    EXPECT_EQ(invalid->FitWidth(), 2);
    EXPECT_EQ(invalid->FooterMargin(), 0.25);

    auto valid = Make<TSetupRecord>(0xA1, SetupData(0x0040));
    EXPECT_EQ(valid->Scale(), 80);
    EXPECT_EQ(valid->PrintPaperSize(), 9);
    EXPECT_EQ(valid->PrintCopies(), 4);
    EXPECT_EQ(valid->PrintXResolution(), 300);
    EXPECT_EQ(valid->PrintYResolution(), 301);

    auto paper = Make<TSetupRecord>(0xA1, SetupData(0x0644));
    paper->SetPrintPaperSize(5);
    EXPECT_EQ(paper->PrintOptions(), 0x0040);
    EXPECT_EQ(paper->PrintPaperSize(), 5);
    auto scale = Make<TSetupRecord>(0xA1, SetupData(0x0644));
    scale->SetScale(80);
    EXPECT_EQ(scale->Scale(), 80);
    EXPECT_EQ(scale->PrintOptions(), 0x0640) << "scale clears only the not-valid bit";

    TSetupRec v = valid->Value();
    EXPECT_EQ(v.HeaderMargin, 0.5);
    EXPECT_EQ(v.Copies, 4);
    v.Copies = 9;
    valid->SetValue(v);
    EXPECT_EQ(valid->PrintCopies(), 9);
    auto longer = Make<TSetupRecord>(0xA1, SetupData(0) + B({0}));
    EXPECT_EQ(MessageOf([&] { longer->SetValue(v); }), QStringLiteral("Error in Setup Record"));
}

TEST(SheetSettings, WsBoolGutsPaneAndWidths)
{
    auto ws = Make<TWsBoolRecord>(0x81, Le16(0x04C1));
    ws->SetFitToPage(false);
    EXPECT_EQ(ws->Value(), 0x04C1);
    ws->SetFitToPage(true);
    EXPECT_EQ(ws->Value(), 0x05C1);
    EXPECT_TRUE(ws->FitToPage());
    ws->SetFitToPage(false);
    EXPECT_EQ(ws->Value(), 0x04C1);
    EXPECT_TRUE(ws->OutlineSummaryRowsBelowDetail());
    EXPECT_TRUE(ws->OutlineSummaryColsRightOfDetail());
    EXPECT_FALSE(ws->OutlineAutomaticStyles());

    const struct
    {
        int level, width, stored;
    } guts[] = {{3, 65, 4}, {9, 113, 8}, {0, 0, 0}, {-2, 0, 0}, {1, 41, 2}, {7, 113, 8}};
    auto g = Make<TGutsRecord>(0x80, QByteArray(8, 0));
    for (const auto &c : guts) {
        g->SetRowLevel(c.level);
        g->SetColLevel(c.level);
        EXPECT_EQ(DataOf(*g), Le16(c.width) + Le16(c.width) + Le16(c.stored) + Le16(c.stored)) << c.level;
        EXPECT_EQ(g->RowLevel(), c.stored);
    }
    g->RecalcNeeded = true;
    std::unique_ptr<TGutsRecord> gc(static_cast<TGutsRecord *>(g->CopyTo()));
    EXPECT_TRUE(gc->RecalcNeeded);

    const struct
    {
        int cols, rows, active, expected;
    } panes[] = {{0, 5, 0, 2}, {3, 5, 0, 0}, {3, 0, 0, 1}, {0, 0, 0, 3}, {0, 4, 1, 3},
                 {2, 0, 1, 1}, {2, 0, 2, 3}, {0, 2, 2, 2}, {0, 0, 3, 3}};
    for (const auto &c : panes) {
        auto p = Make<TPaneRecord>(0x41, Le16(c.cols) + Le16(c.rows) + Le16(0) + Le16(0) + Le16(c.active));
        p->EnsureSelectedVisible();
        EXPECT_EQ(p->ActivePane(), c.expected) << c.cols << " " << c.rows << " " << c.active;
    }

    auto def = Make<TDefColWidthRecord>(0x55, Le16(300));
    EXPECT_EQ(Saved(*def), Record(0x55, Le16(255)));
    auto def8 = Make<TDefColWidthRecord>(0x55, Le16(8));
    EXPECT_EQ(Saved(*def8), Record(0x55, Le16(8)));
    EXPECT_EQ(Make<TStandardWidthRecord>(0x99, Le16(2304))->Width(), 2304);
    EXPECT_EQ(Make<TDefRowHeightRecord>(0x225, Le16(0) + Le16(255))->Height(), 255);
}

TEST(SheetSettings, HeaderFooterMarginsPlsAndFlags)
{
    auto empty = Make<TPageHeaderRecord>(0x14, QByteArray());
    EXPECT_EQ(empty->Text(), QString());
    empty->SetText(QStringLiteral("&P"));
    EXPECT_EQ(DataOf(*empty), B({2, 0, 0, '&', 'P'}));
    EXPECT_EQ(empty->Text(), QStringLiteral("&P"));

    auto margin = Make<TMarginRecord>(0x26, Doubles(0.75));
    EXPECT_EQ(margin->Value(), 0.75);
    margin->SetValue(1.5);
    EXPECT_EQ(DataOf(*margin), Doubles(1.5));
    auto longMargin = Make<TMarginRecord>(0x27, Doubles(0.75) + B({0}));
    EXPECT_EQ(MessageOf([&] { longMargin->SetValue(1); }), QStringLiteral("Error in Margin Record"));

    TPrinterDriverSettings s;
    s.OperatingEnviroment = 1;
    s.Data = {1, 2, 3};
    std::unique_ptr<TPlsRecord> pls(TPlsRecord::CreateFromData(s));
    EXPECT_EQ(DataOf(*pls), Le16(1) + B({1, 2, 3}));
    s.Data = {9};
    pls->SetPrinterData(s);
    EXPECT_EQ(DataOf(*pls), Le16(1) + B({9}));
    EXPECT_EQ(pls->PrinterData().Data, ByteArray{9});

    auto grid = Make<TPrintGridLinesRecord>(0x2B, Le16(1));
    EXPECT_TRUE(grid->Value());
    grid->SetValue(false);
    EXPECT_EQ(DataOf(*grid), Le16(0));
    auto centered = Make<TPrintCenteredRecord>(0x83, Le16(0));
    centered->SetCentered(true);
    EXPECT_EQ(DataOf(*centered), Le16(1));
    auto refMode = Make<TRefModeRecord>(0x0F, Le16(1));
    EXPECT_FALSE(refMode->IsR1C1());
    refMode->SetIsR1C1(true);
    EXPECT_EQ(DataOf(*refMode), Le16(0));
    EXPECT_EQ(Make<TAutoFilterInfoRecord>(0x9D, Le16(3))->DropDownCount(), 3);
}

TEST(SheetSettings, RowOutlineLevelsGoToTheGuts)
{
    TRowRecordList rows;
    auto g = Make<TGutsRecord>(0x80, QByteArray(8, 0));
    rows.CalcGuts(g.get());
    EXPECT_EQ(g->RowLevel(), 0);
    rows.AddRow(3);
    rows.Items(3)->SetRowOutlineLevel(2);
    rows.AddRow(5);
    rows.Items(5)->SetRowOutlineLevel(1);
    rows.CalcGuts(g.get());
    EXPECT_EQ(g->RowLevel(), 3);
}

// Records too short for the fields their class reads are refused when made.
TEST(SectionRecords, ShortRecordsAreRefused)
{
    const struct
    {
        int id, size;
        std::function<void(const QByteArray &)> make;
    } cases[] = {
        {xlr_BOF, 4, [](const QByteArray &d) { Make<TBOFRecord>(xlr_BOF, d); }},
        {0x3D, 18, [](const QByteArray &d) { Make<TWindow1Record>(0x3D, d); }},
        {0xA1, 34, [](const QByteArray &d) { Make<TSetupRecord>(0xA1, d); }},
        {0x26, 8, [](const QByteArray &d) { Make<TMarginRecord>(0x26, d); }},
        {0x29, 8, [](const QByteArray &d) { Make<TMarginRecord>(0x29, d); }},
        {0x23E, 2, [](const QByteArray &d) { Make<TWindow2Record>(0x23E, d); }},
        {0xA0, 4, [](const QByteArray &d) { Make<TSCLRecord>(0xA0, d); }},
        {0x41, 10, [](const QByteArray &d) { Make<TPaneRecord>(0x41, d); }},
        {0x80, 8, [](const QByteArray &d) { Make<TGutsRecord>(0x80, d); }},
        {0x200, 14, [](const QByteArray &d) { Make<TDimensionsRecord>(0x200, d); }},
        {0xFC, 8, [](const QByteArray &d) { Make<TSSTRecord>(0xFC, d); }},
        {0x225, 4, [](const QByteArray &d) { Make<TDefRowHeightRecord>(0x225, d); }},
        {0x55, 2, [](const QByteArray &d) { Make<TDefColWidthRecord>(0x55, d); }},
        {0x81, 2, [](const QByteArray &d) { Make<TWsBoolRecord>(0x81, d); }},
        {0x4D, 2, [](const QByteArray &d) { Make<TPlsRecord>(0x4D, d); }},
        {0x22, 2, [](const QByteArray &d) { Make<T1904Record>(0x22, d); }},
        {0x207, 3, [](const QByteArray &d) { Make<TStringRecord>(0x207, d); }},
    };
    for (const auto &c : cases) {
        QByteArray full(c.size, 0);
        if (c.id == xlr_BOF)
            full = Le16(0x0600) + Le16(5);
        for (int n = 0; n < c.size; ++n)
            EXPECT_EQ(MessageOf([&] { c.make(full.left(n)); }), Invalid(c.id)) << c.id << " " << n;
        EXPECT_EQ(MessageOf([&] { c.make(full); }), QString()) << c.id;
    }
    // Strings that do not fit their record.
    const QByteArray sheet = Le32(0) + Le16(0) + B({6, 0}) + QByteArray("Sheet1");
    for (int n = 0; n < sheet.size(); ++n)
        EXPECT_EQ(MessageOf([&] { Make<TBoundSheetRecord>(0x85, sheet.left(n)); }), Invalid(0x85)) << n;
    const QByteArray header = B({3, 0, 1, 'a', 0, 'b', 0, 'c', 0});
    for (int n = 1; n < header.size(); ++n) {
        EXPECT_EQ(MessageOf([&] { Make<TPageHeaderRecord>(0x14, header.left(n)); }), Invalid(0x14)) << n;
        EXPECT_EQ(MessageOf([&] { Make<TCodeNameRecord>(0x1BA, header.left(n)); }), Invalid(0x1BA)) << n;
    }
    EXPECT_EQ(MessageOf([] { Make<TObjRecord>(0x5D, Le16(0x15) + Le16(0x12)); }), Invalid(0x5D));
    EXPECT_EQ(MessageOf([] { Make<TObjRecord>(0x5D, B({0x15})); }), Invalid(0x5D));
}
