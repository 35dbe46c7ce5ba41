// Opening, new files and saving: the streams around "Workbook" survive, saving is repeatable,
// and a failed or refused save leaves the target alone.
#include "FileFixture.h"
#include "xlsAdapter/workbook/duzXlsBaseTemplateStore.h"

using namespace xfile;

TEST(FileOpenSave, NewFileSavesAndReopensAsTheTemplate)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("new.xls");
    Connected a;
    a.F.NewFile(1);
    EXPECT_FALSE(a.F.IsFileModified);
    a.F.Save(true, name, {}, {});
    const QByteArray first = ReadFile(name);

    Connected b;
    b.F.OpenFile(name);
    EXPECT_EQ(b.F.SheetCount(), 1);
    EXPECT_EQ(b.F.ActiveSheet(), 1);
    EXPECT_EQ(b.F.ActiveSheetName(), "Sheet1");
    EXPECT_TRUE(b.F.IsWorksheet(1));
    for (const QString &s : {SummaryName, DocSummaryName})
        EXPECT_EQ(StreamOf(first, s), StreamBytes(s)) << s.toStdString();

    // Saved again, by a file object that did not make it, the stream is the same.
    b.F.SetActiveSheet(1);
    EXPECT_EQ(StreamOf(SavedToMemory(b.F), "Workbook"), StreamOf(first, "Workbook"));
    EXPECT_EQ(StreamOf(SavedToMemory(a.F), "Workbook"), StreamOf(first, "Workbook"));
}

TEST(FileOpenSave, OtherStreamsAndStoragesKeptByteForByte)
{
    // Root: Workbook, the summary, a storage holding one stream of its own.
    const QByteArray summary = ole::Pattern(5000, 7), inner = ole::Pattern(4700, 9), mini = ole::Pattern(70, 3);
    std::vector<ole::Entry> e = {ole::Root(), ole::Stream("Workbook", StreamBytes("Workbook")),
                                 ole::Stream(SummaryName, summary), ole::Storage("_VBA_PROJECT_CUR"),
                                 ole::Stream("dir", inner), ole::Stream("small", mini)};
    e[0].Child = 1;
    e[1].Right = 2;
    e[2].Right = 3;
    e[3].Child = 4;
    e[3].Right = 5;
    const QByteArray src = ole::Build(e, false).Bytes;

    Connected c;
    LoadBytes(c.F, src);
    const QByteArray out = SavedToMemory(c.F);
    EXPECT_EQ(StreamOf(out, SummaryName), summary);
    EXPECT_EQ(StreamOf(out, "small"), mini);
    EXPECT_EQ(StorageChild(out, "_VBA_PROJECT_CUR"), std::make_pair(QString("dir"), inner));
    // Writing what was read gives the same file again.
    Connected again;
    LoadBytes(again.F, out);
    EXPECT_EQ(SavedToMemory(again.F), out);
}

TEST(FileOpenSave, RefusedOverwriteAndFailedSaveLeaveTheTarget)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("old.xls");
    const QByteArray old = "not touched";
    WriteFile(name, old);
    Connected c;
    c.F.NewFile(1);
    EXPECT_EQ(ole::MessageOf([&] { c.F.Save(true, name, {}, {}); }),
              "Can't write to file \"" + name + "\". Check it is not in use by another user");
    EXPECT_EQ(ReadFile(name), old);

    // Allowed to overwrite, but the workbook cannot be written: no visible sheet.
    c.F.AllowOverwritingFiles = true;
    c.F.SetActiveSheetVisible(sv_Hidden);
    EXPECT_THROW(c.F.Save(true, name, {}, {}), Exception);
    EXPECT_EQ(ReadFile(name), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.xls"}) << "no temporary file left";

    // Still usable: the next save replaces the file in one piece.
    c.F.SetActiveSheetVisible(sv_Visible);
    c.F.Save(true, name, {}, {});
    EXPECT_EQ(ReadFile(name), SavedToMemory(c.F));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.xls"});
}

TEST(FileOpenSave, SaveTargetsAndFormats)
{
    QTemporaryDir dir;
    Connected c;
    c.F.NewFile(1);
    const QByteArray expected = SavedToMemory(c.F);

    // The file name event renames the target; the stream event supplies one instead of a file.
    std::vector<int> formats;
    c.F.Save(true, dir.filePath("a.xls"),
             [&](TObject *Sender, const int32_t F, QString &N) {
                 EXPECT_EQ(Sender, &c.F);
                 formats.push_back(F);
                 N = dir.filePath("b.xls");
             },
             {});
    EXPECT_EQ(formats, std::vector<int>{snXLS});
    EXPECT_FALSE(QFile::exists(dir.filePath("a.xls")));
    EXPECT_EQ(ReadFile(dir.filePath("b.xls")), expected);
    TMemoryStream given;
    c.F.Save(true, dir.filePath("c.xls"), {}, [&](TObject *, const int32_t, TStream *&S) { S = &given; });
    EXPECT_EQ(given.Bytes(), expected);
    EXPECT_FALSE(QFile::exists(dir.filePath("c.xls")));

    // With an adapter only its save formats are written; the text formats write nothing.
    TXLSAdapter adapter;
    adapter.SetSaveFormat({snCSVComma, snTabDelimited});
    std::unique_ptr<TExcelFile> g(adapter.GetWorkbook());
    auto &x = static_cast<TXLSFile &>(*g);
    x.Connect();
    x.NewFile(1);
    formats.clear();
    x.Save(true, dir.filePath("d.xls"), [&](TObject *, const int32_t F, QString &) { formats.push_back(F); }, {});
    EXPECT_EQ(formats, (std::vector<int>{snCSVComma, snTabDelimited}));
    EXPECT_FALSE(QFile::exists(dir.filePath("d.xls")));
    x.Disconnect();
}

namespace {
class FakeStore : public TXlsBaseTemplateStore
{
public:
    std::vector<uint8_t> GetStoredFile(const QString &Name) override
    {
        Asked.push_back(Name);
        return EmptyWorkbookTemplate();
    }
    bool IsUpToDate() override { return true; }
    void Refresh() override {}
    QStringList Asked;
};
} // namespace

TEST(FileOpenSave, AdapterStoreAndSearchFolder)
{
    QTemporaryDir dir;
    Connected src;
    src.F.NewFile(2);
    src.F.SelectSheet(2);
    src.F.Save(true, dir.filePath("two.xls"), {}, {});

    TXLSAdapter adapter;
    adapter.SetAllowOverwritingFiles(true);
    adapter.SetBasePathToOpen(dir.path());
    std::unique_ptr<TXLSFile> f(static_cast<TXLSFile *>(adapter.GetWorkbook()));
    EXPECT_TRUE(f->AllowOverwritingFiles);
    f->Connect();
    f->OpenFileAndSearch("two.xls");
    EXPECT_EQ(f->SheetCount(), 2);
    EXPECT_EQ(f->ActiveSheet(), 2) << "the saved file opens on the selected tab";
    EXPECT_EQ(ole::MessageOf([&] { f->OpenFileAndSearch("none.xls"); }),
              "Can't find the file \"" + dir.path() + "/none.xls\"");

    // A template store hands out the bytes instead of the disk; freeing it unplugs it.
    auto *store = new FakeStore;
    adapter.SetTemplateStore(store);
    f->OpenFile("two.xls");
    EXPECT_EQ(store->Asked, QStringList{"two.xls"});
    EXPECT_EQ(f->SheetCount(), 1);
    delete store;
    EXPECT_EQ(adapter.TemplateStore(), nullptr);
    f->OpenFile(dir.filePath("two.xls"));
    EXPECT_EQ(f->SheetCount(), 2);
    f->Disconnect();
}
