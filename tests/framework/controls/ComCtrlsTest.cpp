// Masked edits, page controls, progress and track bars, tab sets and the file lists.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/FileCtrl.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Tabs.h"
#include "tests/common/TestSupport.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MaskEdit, DelphiMasksBecomeQtInputMasks)
{
    const struct
    {
        const char *delphi;
        const char *qt;
        bool save;
    } cases[] = {
        {"!90:00:00;1; ", "09:99:99; ", true},
        {"00/00/0000;0;_", "99/99/9999;_", false},
        {">LL<ll;1;*", ">AA<aa;*", true},
        {"\\A\\9Cc;1;_", "\\A\\9Xx;_", true},
        {"(999)_000-0000", "(000) 999-9999;_", true},
        {"Aa#<>9", "Nn#!0;_", true},
    };
    for (const auto &c : cases) {
        const TEditMaskInfo info = TranslateEditMask(c.delphi);
        EXPECT_EQ(info.QtMask, QString::fromLatin1(c.qt)) << c.delphi;
        EXPECT_EQ(info.SaveLiterals, c.save) << c.delphi;
    }

    TForm form(nullptr);
    auto *edit = new TMaskEdit(&form);
    edit->SetParent(&form);
    edit->SetEditMask("00/00/0000;0;_");
    edit->SetEditText("12/03/2024");
    EXPECT_EQ(edit->EditText(), QStringLiteral("12/03/2024"));
    EXPECT_EQ(edit->Text(), QStringLiteral("12032024"));  // literals not saved
    EXPECT_NO_THROW(edit->ValidateEdit());
    edit->SetEditText("12/0");
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);

    // Saved literals: the text keeps its blank places, so "5000 " in six digit places stays
    // "5000" followed by blanks rather than losing them.
    edit->SetEditMask("999999;1; ");
    edit->SetText("5000 ");
    EXPECT_EQ(edit->Text(), QStringLiteral("5000  "));
}

TEST(PageControl, SheetsAreTabsAndOnlyTheUserFiresOnChange)
{
    TForm form(nullptr);
    auto *pc = new TPageControl(&form);
    pc->SetParent(&form);
    int changes = 0;
    pc->OnChange = [&](TObject *) { ++changes; };
    TTabSheet *sheets[3];
    const char *captions[] = {"General", "Preferences", "Output"};
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new TTabSheet(&form);
        sheets[i]->SetPageControl(pc);
        sheets[i]->SetCaption(captions[i]);
    }
    ASSERT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->Tabs()->tabText(1), QStringLiteral("Preferences"));
    pc->SetActivePage(sheets[2]);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 0);
    pc->Tabs()->tabBar()->setCurrentIndex(0);  // as a click on the tab
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(changes, 1);

    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    EXPECT_EQ(pc->FindNextPage(sheets[0], true, true), sheets[2]);
    sheets[2]->SetPageIndex(0);
    EXPECT_EQ(pc->Pages(0), sheets[2]);
    EXPECT_EQ(pc->Tabs()->tabText(0), QStringLiteral("Output"));

    // A sheet freed on its own leaves the page control consistent.
    delete sheets[2];
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->Tabs()->count(), 2);
    EXPECT_EQ(pc->Pages(0), sheets[0]);
}

// A results window shows and hides pages while it is hidden, then shows itself: its tab bar must
// look exactly like that of a page control built in the final state, whatever order the sheets
// were set in (a sheet set to the visibility it already had included).
TEST(PageControl, TabsChangedWhileTheWindowIsHiddenShowWhenItShows)
{
    struct Window
    {
        TForm form{nullptr};
        TPageControl *pages = new TPageControl(&form);
        std::vector<TTabSheet *> sheets;
        Window()
        {
            form.SetBounds(0, 0, 720, 200);
            pages->SetParent(&form);
            pages->SetAlign(alClient);
            for (const char *caption : {"Input Matrix", "Pairwise", "Index", "Degenerate Index", "Summary", "Time"}) {
                sheets.push_back(new TTabSheet(&form));
                sheets.back()->SetPageControl(pages);
                sheets.back()->SetCaption(caption);
            }
        }
        QImage Tabs() { return pages->Tabs()->tabBar()->grab().toImage(); }
    };
    for (const bool degenerate : {true, false}) {
        Window used;
        used.sheets[3]->SetTabVisible(!degenerate);
        used.form.Show();
        used.form.Hide();
        used.sheets[3]->SetTabVisible(degenerate);
        used.sheets[1]->SetTabVisible(true);
        used.form.Show();
        Window fresh;
        fresh.sheets[3]->SetTabVisible(degenerate);
        fresh.form.Show();
        EXPECT_EQ(used.Tabs(), fresh.Tabs()) << "degenerate page shown: " << degenerate;
        EXPECT_EQ(used.sheets[4]->TabIndex(), degenerate ? 4 : 3);
    }
}

TEST(ProgressBar, PositionClampsAndStepItStartsOver)
{
    TProgressBar bar(nullptr);
    bar.SetMax(25);
    bar.SetPosition(40);
    EXPECT_EQ(bar.Position(), 25);
    bar.SetPosition(0);
    bar.StepIt();
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 20);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 5);
    bar.StepBy(100);
    EXPECT_EQ(bar.Position(), 25);
    bar.StepBy(-100);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(TabSet, OnChangeMayRefuseAndTheBarFollows)
{
    TTabSet tabs(nullptr);
    tabs.Tabs()->Add("Sheet1");
    tabs.Tabs()->Add("Sheet2");
    int clicks = 0;
    bool allow = true;
    tabs.OnClick = [&](TObject *) { ++clicks; };
    tabs.OnChange = [&](TObject *, int, bool &AllowChange) { AllowChange = allow; };
    tabs.SetTabIndex(1);
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(clicks, 1);
    allow = false;
    tabs.Bar()->setCurrentIndex(0);  // the user tries another tab
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(tabs.Bar()->currentIndex(), 1);
    EXPECT_THROW(tabs.SetTabIndex(5), EListError);
    tabs.Tabs()->Delete(1);
    EXPECT_EQ(tabs.TabIndex(), 0);
}

TEST(FileLists, MasksMatchWithoutCaseAndFoldersOpen)
{
    QTemporaryDir tmp;
    QDir dir(tmp.path());
    for (const char *name : {"b.txt", "A.TXT", "c.dat", "noext"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(dir.mkdir("sub"));
    TForm form(nullptr);
    auto *files = new TFileListBox(&form);
    auto *dirs = new TDirectoryListBox(&form);
    auto *drives = new TDriveComboBox(&form);
    for (TWinControl *c : std::initializer_list<TWinControl *>{files, dirs, drives})
        c->SetParent(&form);
    drives->SetDirList(dirs);
    dirs->SetFileList(files);
    files->SetMask("*.txt");
    dirs->SetDirectory(tmp.path());
    EXPECT_EQ(files->Directory(), QDir::cleanPath(tmp.path()));
    EXPECT_EQ(files->Items()->ToStringList(), QStringList({"A.TXT", "b.txt"}));
    files->SetMask("*.*");
    EXPECT_EQ(files->Items()->Count(), 4);

    // The folder is listed after its ancestors; its sub-folders follow.
    const int current = dirs->ItemIndex();
    EXPECT_EQ(dirs->GetItemPath(current), QDir::cleanPath(tmp.path()));
    ASSERT_EQ(dirs->Items()->Count(), current + 2);
    EXPECT_EQ(dirs->Items()->Get(current + 1), QStringLiteral("sub"));
    dirs->SetItemIndex(current + 1);
    dirs->OpenCurrent();
    EXPECT_EQ(files->Directory(), QDir::cleanPath(dir.filePath("sub")));
    EXPECT_EQ(files->Items()->Count(), 0);
    EXPECT_THROW(dirs->SetDirectory(dir.filePath("missing")), EInOutError);
    EXPECT_EQ(drives->Items()->ToStringList(), QStringList({"/"}));
}
