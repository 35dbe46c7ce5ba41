// Forms, modal loops, menus, the exception barrier, dialogs and the shell seam.
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/UiSeam.h"
#include "tests/common/TestSupport.h"
#include "tests/common/InputEvents.h"
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QScreen>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void userClick(TButton *b) { static_cast<QPushButton *>(b->Widget())->click(); }

struct Dialog
{
    TForm form{nullptr};
    TEdit *edit = new TEdit(&form);
    TButton *ok = new TButton(&form);
    TButton *cancel = new TButton(&form);
    Dialog()
    {
        for (TWinControl *c : std::initializer_list<TWinControl *>{edit, ok, cancel})
            c->SetParent(&form);
        ok->SetModalResult(mrOk);
        ok->SetDefault(true);
        cancel->SetModalResult(mrCancel);
        cancel->SetCancel(true);
    }
};

}  // namespace

TEST(ShowModal, EndsWithTheModalResultOfTheClickedButton)
{
    Dialog d;
    int queries = 0;
    d.form.OnCloseQuery = [&](TObject *, bool &CanClose) { CanClose = ++queries > 1; };
    // The first OK is refused by OnCloseQuery; the loop goes on until the second.
    QTimer::singleShot(0, [&] { userClick(d.ok); });
    QTimer::singleShot(10, [&] {
        EXPECT_TRUE(d.form.Visible());
        userClick(d.ok);
    });
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    EXPECT_EQ(queries, 2);
    EXPECT_FALSE(d.form.Visible());
    EXPECT_FALSE(d.form.Widget()->isVisible());
}

TEST(ShowModal, EnterAndEscapeReachTheDefaultAndCancelButtons)
{
    Dialog d;
    d.form.SetActiveControl(d.edit);
    QTimer::singleShot(0, [&] { sendKey(d.edit->Widget(), Qt::Key_Escape, Qt::NoModifier); });
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    QTimer::singleShot(0, [&] { sendKey(d.edit->Widget(), Qt::Key_Return, Qt::NoModifier); });
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    // Close on a modal form cancels it.
    QTimer::singleShot(0, [&] { d.form.Close(); });
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    d.form.Show();
    EXPECT_THROW(d.form.ShowModal(), EInvalidOperation);
}

TEST(Form, CloseRunsCloseQueryThenOnCloseWithItsAction)
{
    TForm form(nullptr);
    QStringList log;
    bool allow = false;
    TCloseAction action = caNone;
    form.OnCloseQuery = [&](TObject *, bool &CanClose) { log << "query"; CanClose = allow; };
    form.OnClose = [&](TObject *, TCloseAction &Action) { log << QStringLiteral("close %1").arg(Action); Action = action; };
    form.Show();
    form.Close();
    allow = true;
    form.Close();
    EXPECT_TRUE(form.Visible());
    action = caHide;
    form.Perform(WM_CLOSE);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(log, QStringList({"query", "query", "close 1", "query", "close 1"}));
}

TEST(Menu, ShortcutFiresOnlyWhenItemAndParentsAreEnabledAndComesBeforeTheControl)
{
    TForm form(nullptr);
    auto *menu = new TMainMenu(&form);
    auto *file = new TMenuItem(&form);
    file->SetCaption("&File");
    auto *save = new TMenuItem(&form);
    save->SetCaption("&Save");
    save->SetShortCut(TextToShortCut("Ctrl+S"));
    file->Add(save);
    auto *edit = new TMenuItem(&form);
    edit->SetCaption("&Edit");
    auto *copy = new TMenuItem(&form);
    copy->SetCaption("&Copy");
    copy->SetShortCut(ShortCut('K', {ssCtrl}));
    edit->Add(copy);
    menu->Items()->Add(file);
    menu->Items()->Add(edit);
    form.SetMenu(menu);

    auto *box = new TEdit(&form);
    box->SetParent(&form);
    int saves = 0, copies = 0;
    QStringList keys;
    save->OnClick = [&](TObject *) { ++saves; };
    copy->OnClick = [&](TObject *) { ++copies; };
    box->OnKeyDown = [&](TObject *, Word &Key, TShiftState) { keys << QString::number(Key); };

    file->SetEnabled(false);
    sendKey(box->Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(keys, QStringList({"83"}));  // not a shortcut now: the edit gets it

    sendKey(box->Widget(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(keys.size(), 1);  // the shortcut took the key before the edit saw it

    file->SetEnabled(true);
    save->SetVisible(false);
    sendKey(box->Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 0);
    save->SetVisible(true);
    sendKey(box->Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);

    // The menu is laid out above the client area.
    EXPECT_GT(form.Height() - form.ClientHeight(), 0);
}

// Disabled menus and controls are drawn greyed, whatever font colour the form gives them: the
// same item paints other pixels when disabled, and its old ones again when enabled.
TEST(Menu, DisabledMenusAndControlsLookDisabled)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 120);
    form.Font()->SetColor(clBlack);
    auto *menu = new TMainMenu(&form);
    auto *file = new TMenuItem(&form);
    file->SetCaption("&File");
    auto *open = new TMenuItem(&form);
    open->SetCaption("&Open");
    file->Add(open);
    menu->Items()->Add(file);
    form.SetMenu(menu);
    auto *button = new TButton(&form);
    button->SetParent(&form);
    button->SetCaption("&Run");
    auto *label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("Iterations");
    label->SetTop(40);

    QMenuBar *bar = menu->MenuBar();
    const auto fileImage = [&] { return bar->grab(bar->actionGeometry(file->Action())).toImage(); };
    const auto controlImage = [](TControl *c) { return c->Widget()->grab().toImage(); };
    const QImage fileOn = fileImage(), buttonOn = controlImage(button), labelOn = controlImage(label);
    file->SetEnabled(false);
    button->SetEnabled(false);
    label->SetEnabled(false);
    EXPECT_NE(fileImage(), fileOn);
    EXPECT_NE(controlImage(button), buttonOn);
    EXPECT_NE(controlImage(label), labelOn);
    file->SetEnabled(true);
    button->SetEnabled(true);
    label->SetEnabled(true);
    EXPECT_EQ(fileImage(), fileOn);
    EXPECT_EQ(controlImage(button), buttonOn);
}

TEST(Menu, ShortcutTextAndItemsRoundTrip)
{
    const struct
    {
        const char *text;
        TShortCut sc;
    } cases[] = {{"Ctrl+C", TShortCut(scCtrl | 'C')}, {"Shift+Ctrl+F5", TShortCut(scShift | scCtrl | VK_F5)},
                 {"Del", VK_DELETE}, {"Alt+X", TShortCut(scAlt | 'X')}, {"Bogus", 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
        if (c.sc) {
            EXPECT_EQ(ShortCutToText(c.sc), QString::fromLatin1(c.text));
        }
    }
    TPopupMenu popup(nullptr);
    auto *a = new TMenuItem(nullptr);
    auto *b = new TMenuItem(nullptr);
    auto *line = new TMenuItem(nullptr);
    a->SetCaption("&Alpha");
    b->SetCaption("Beta");
    line->SetCaption("-");
    popup.Items()->Add(a);
    popup.Items()->Add(b);
    popup.Items()->Insert(1, line);
    EXPECT_TRUE(line->IsLine());
    EXPECT_EQ(popup.Items()->Find("Alpha"), a);
    EXPECT_EQ(b->MenuIndex(), 2);
    popup.Items()->Delete(1);
    EXPECT_EQ(popup.Items()->Count(), 2);
    EXPECT_EQ(popup.QtMenu()->actions().size(), 2);
    // Radio items of one group exclude each other.
    a->SetRadioItem(true);
    b->SetRadioItem(true);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
}

TEST(ExceptionBarrier, ThrowingOnClickShowsOneBoxAndTheProgramGoesOn)
{
    TUiScript script;
    TForm form(nullptr);
    auto *button = new TButton(&form);
    button->SetParent(&form);
    int clicks = 0;
    button->OnClick = [&](TObject *) {
        if (++clicks == 1)
            throw Exception("Non-Zero Rows Must be > 0");
    };
    userClick(button);
    EXPECT_EQ(script.Messages(), QStringList({"Non-Zero Rows Must be > 0."}));
    userClick(button);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(script.Messages().size(), 1);

    // OnException takes over when set.
    QString seen;
    Application->OnException = [&](TObject *, const Exception &E) { seen = E.Message(); };
    button->OnClick = [](TObject *) { throw std::runtime_error("plain"); };
    userClick(button);
    Application->OnException = nullptr;
    EXPECT_EQ(seen, QStringLiteral("plain"));
    EXPECT_EQ(script.Messages().size(), 1);
}

TEST(Dialogs, FileDialogsTakeScriptedNamesAndMoveTheWorkingDirectory)
{
    const QString before = QDir::currentPath();
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir("sub"));
    const QString sub = QDir(tmp.path()).filePath("sub");
    {
        TUiScript script;
        script.CancelNext().FileNameNext(sub + "/data.txt").FileNameNext(sub + "/out");
        TOpenDialog open(nullptr);
        open.SetFilter("Text files(*.txt)|*.txt|All files(*.*)|*.*");
        open.SetTitle("Open data");
        EXPECT_FALSE(open.Execute());
        EXPECT_EQ(QDir::currentPath(), before);
        ASSERT_TRUE(open.Execute());
        EXPECT_EQ(open.FileName(), sub + "/data.txt");
        EXPECT_EQ(QDir(QDir::currentPath()).canonicalPath(), QDir(sub).canonicalPath());

        TSaveDialog save(nullptr);
        save.SetDefaultExt("txt");
        ASSERT_TRUE(save.Execute());
        EXPECT_EQ(save.FileName(), sub + "/out.txt");
        ASSERT_EQ(script.RecordsOf(TUiKind::OpenFile).size(), 2u);
        EXPECT_EQ(script.RecordsOf(TUiKind::OpenFile)[0].Text, QStringLiteral("Open data"));
    }
    QDir::setCurrent(before);
}

TEST(Dialogs, BoxesRecordTheirTextAndTakeAnswersOrTheirDefault)
{
    TUiScript script;
    script.AnswerNext(mrNo).AnswerNext(IDCANCEL);
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrNo);
    EXPECT_EQ(Application->MessageBox("Retry?", "Tarvix", MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
    // Out of answers: the default button answers, nothing waits.
    EXPECT_EQ(MessageDlg("Overwrite?", mtWarning, mbYesNo), mrYes);
    EXPECT_EQ(MessageDlg("Done", mtInformation, {mbOK}), mrOk);
    EXPECT_EQ(Application->MessageBox("Sure?", "T", MB_YESNO | MB_DEFBUTTON2), IDNO);
    ShowMessage("Batch processing error.");
    MessageBeep(0);
    EXPECT_EQ(script.Messages(), QStringList({"Save changes?", "Retry?", "Overwrite?", "Done", "Sure?", "Batch processing error."}));
    EXPECT_EQ(script.Records()[0].Caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(script.RecordsOf(TUiKind::Beep).size(), 1u);

    script.InputNext("42").InputCancelNext();
    EXPECT_EQ(InputBox("Seed", "Random number seed:", "0"), QStringLiteral("42"));
    EXPECT_EQ(InputBox("Seed", "Random number seed:", "0"), QStringLiteral("0"));
}

TEST(Dialogs, UnscriptedBoxesOnTheOffscreenPlatformDoNotBlock)
{
    const size_t before = UnscriptedUiRecords().size();
    EXPECT_EQ(MessageDlg("Nobody answers", mtError, {mbOK}), mrOk);
    ASSERT_EQ(UnscriptedUiRecords().size(), before + 1);
    EXPECT_EQ(UnscriptedUiRecords().back().Text, QStringLiteral("Nobody answers"));
}

TEST(Shell, OpensFilesAndOnlyWebAndMailAddresses)
{
    TUiScript script;
    QTemporaryDir tmp;
    const QString help = QDir(tmp.path()).filePath("help.html");
    QFile f(help);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_GT(ShellExecute(0, "open", help), 32);
    EXPECT_GT(ShellExecute(0, "open", "https://example.org/tarvix"), 32);
    EXPECT_GT(ShellExecute(0, "open", "mailto:someone@example.org"), 32);
    EXPECT_EQ(ShellExecute(0, "open", "javascript:alert(1)"), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecute(0, "open", "file:///etc/passwd"), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecute(0, "open", "smb://host/share"), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecute(0, "open", QDir(tmp.path()).filePath("missing.chm")), SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(0, "print", help), SE_ERR_NOASSOC);
    const auto calls = script.RecordsOf(TUiKind::Shell);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Text, QFileInfo(help).absoluteFilePath());
    EXPECT_EQ(calls[1].Text, QStringLiteral("https://example.org/tarvix"));
}

TEST(Application, ClosingTheMainFormEndsRun)
{
    // Run and Terminate change the application for good: checked in a child process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TForm *main = nullptr;
            Application->CreateForm(main);
            QTimer::singleShot(0, [&] { main->Close(); });
            Application->Run();
            const bool ok = Application->MainForm() == main && Application->Terminated() && main->Widget()->isVisible();
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

namespace {
struct TSelfAware : TForm
{
    static TSelfAware *Global;
    bool sawItself;
    explicit TSelfAware(TComponent *AOwner) : TForm(AOwner), sawItself(Global == this) {}
};
TSelfAware *TSelfAware::Global = nullptr;
}  // namespace

// A window's title is its caption as it stands. Once Qt has a display name of the application it
// appends it to every title (" \u2014 Tarvix"), so the application title must not become one; Qt
// then reports the plain application name as the display name.
TEST(Application, TitleIsNotAppendedToWindowCaptions)
{
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    Application->SetTitle(QStringLiteral("Tarvix"));
    EXPECT_EQ(Application->Title(), "Tarvix");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    QCoreApplication::setApplicationName(name);
}

TEST(Application, CreateFormSetsTheVariableBeforeTheConstructorRuns)
{
    Application->CreateForm(TSelfAware::Global);
    ASSERT_NE(TSelfAware::Global, nullptr);
    EXPECT_TRUE(TSelfAware::Global->sawItself);
    EXPECT_EQ(TSelfAware::Global->Owner(), Application);
    delete TSelfAware::Global;
}

TEST(Form, TabMovesTheFocusInTabOrderAndPositionCentres)
{
    TForm form(nullptr);
    form.SetPosition(poScreenCenter);
    form.SetBounds(0, 0, 300, 200);
    TEdit *edits[3];
    for (int i = 0; i < 3; ++i) {
        edits[i] = new TEdit(&form);
        edits[i]->SetParent(&form);
        edits[i]->SetTop(30 * i);
    }
    edits[2]->SetTabOrder(0);  // the last one created comes first
    QStringList entered;
    for (TEdit *e : edits)
        e->OnEnter = [&entered, e](TObject *) { entered << QString::number(e->Top()); };
    form.Show();
    QCoreApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form.Left(), screen.x() + (screen.width() - 300) / 2);
    EXPECT_EQ(form.Top(), screen.y() + (screen.height() - 200) / 2);

    ASSERT_EQ(form.ActiveControl(), edits[2]);
    ASSERT_TRUE(edits[2]->Focused());
    sendKey(edits[2]->Widget(), Qt::Key_Tab, Qt::NoModifier);
    EXPECT_TRUE(edits[0]->Focused());
    sendKey(edits[0]->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(edits[2]->Focused());
    EXPECT_EQ(form.ActiveControl(), edits[2]);
    EXPECT_EQ(entered, QStringList({"60", "0", "60"}));
    // The edit never typed the tab.
    EXPECT_TRUE(edits[0]->Text().isEmpty());
}

TEST(Form, FreeingTheActiveControlLeavesNoDanglingActiveControl)
{
    TForm form(nullptr);
    auto *panel = new TGroupBox(&form);
    panel->SetParent(&form);
    auto *edit = new TEdit(&form);
    edit->SetParent(panel);
    auto *other = new TEdit(&form);
    other->SetParent(&form);
    form.SetActiveControl(edit);
    delete edit;
    EXPECT_EQ(form.ActiveControl(), nullptr);
    form.SetActiveControl(other);
    delete other;
    EXPECT_EQ(form.ActiveControl(), nullptr);
}
