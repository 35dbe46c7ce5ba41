// The main window: components, menus, start-up, close query and help.
#include "workspace/TarvixMain.h"
#include "framework/rtl/SysUtils.h"
#include "workspace/AboutTarvix.h"
#include "workspace/ProgressSims.h"
#include <utility>

TTarvix *Tarvix = nullptr;

namespace {

const QString kProgramCaption = QStringLiteral("Tarvix Professional ");

TShortCut Ctrl(char Key) { return ShortCut(Word(Key), TShiftState{ssCtrl}); }

}  // namespace

TTarvix::TTarvix(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("Tarvix"));
    SetBounds(0, 0, 800, 600);
    SetPosition(poScreenCenter);

    BatchGroupBox = new TGroupBox(this);
    BatchGroupBox->SetName(QStringLiteral("BatchGroupBox"));
    BatchGroupBox->SetParent(this);
    BatchGroupBox->SetCaption(QStringLiteral("Files to analyze..."));
    BatchGroupBox->SetAlign(alLeft);
    BatchGroupBox->SetWidth(265);
    BatchGroupBox->SetVisible(false);

    Memo1 = new TMemo(this);
    Memo1->SetName(QStringLiteral("Memo1"));
    Memo1->SetParent(BatchGroupBox);
    Memo1->SetAlign(alClient);
    Memo1->SetScrollBars(ssVertical);

    BatchSummaryBox = new TGroupBox(this);
    BatchSummaryBox->SetName(QStringLiteral("BatchSummaryBox"));
    BatchSummaryBox->SetParent(this);
    BatchSummaryBox->SetCaption(QStringLiteral("Batch Summary..."));
    BatchSummaryBox->SetAlign(alClient);
    BatchSummaryBox->SetVisible(false);

    BatchGrid = new TStringGrid(this);
    BatchGrid->SetName(QStringLiteral("BatchGrid"));
    BatchGrid->SetParent(BatchSummaryBox);
    BatchGrid->SetAlign(alClient);
    BatchGrid->SetFixedRows(0);
    BatchGrid->SetFixedCols(0);
    BatchGrid->SetColCount(4);
    BatchGrid->SetRowCount(1);
    BatchGrid->SetDefaultColWidth(102);
    BatchGrid->SetVisible(false);

    MainGrid = new TProStringGrid(this);
    MainGrid->SetName(QStringLiteral("MainGrid"));
    MainGrid->SetParent(this);
    MainGrid->SetAlign(alClient);
    MainGrid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing});
    MainGrid->SetDefaultRowHeight(22);
    MainGrid->SetFixedRowHeight(22);

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName(QStringLiteral("OpenDialog1"));
    OpenDialog1->SetFilter(QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*|Excel files(*.xls)|*.xls"));
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName(QStringLiteral("SaveDialog1"));
    SaveDialog1->SetFilter(QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*"));

    buildMenus();

    OnCreate = [this](TObject *Sender) { FormCreate(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnCloseQuery = [this](TObject *Sender, bool &CanClose) { FormCloseQuery(Sender, CanClose); };
}

void TTarvix::buildMenus()
{
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName(QStringLiteral("MainMenu1"));
    auto add = [this](TMenuItem *Parent, const char *Name, const QString &Caption, TShortCut Key = scNone,
                      void (TTarvix::*Handler)(TObject *) = nullptr) {
        auto *item = new TMenuItem(this);
        if (Name)
            item->SetName(QLatin1String(Name));
        item->SetCaption(Caption);
        item->SetShortCut(Key);
        if (Handler)
            item->OnClick = [this, Handler](TObject *Sender) { (this->*Handler)(Sender); };
        Parent->Add(item);
        return item;
    };
    auto line = [&](TMenuItem *Parent) { add(Parent, nullptr, QStringLiteral("-")); };
    TMenuItem *root = MainMenu1->Items();

    File1 = add(root, "File1", QStringLiteral("&File"));
    New1 = add(File1, "New1", QStringLiteral("&New"), Ctrl('N'), &TTarvix::New1Click);
    Open1 = add(File1, "Open1", QStringLiteral("&Open"), Ctrl('O'));
    Spacedelimitedtext1 = add(Open1, "Spacedelimitedtext1", QStringLiteral("Space delimited (.txt)"), scNone,
                              &TTarvix::Spacedelimitedtext1Click);
    Commadelimitedtxt1 = add(Open1, "Commadelimitedtxt1", QStringLiteral("Comma delimited (.txt)"), scNone,
                             &TTarvix::Commadelimitedtxt1Click);
    eXcelxls1 = add(Open1, "eXcelxls1", QStringLiteral("Excel (.xls)"));
    Save1 = add(File1, "Save1", QStringLiteral("&Save"), Ctrl('S'));
    Spacedelimitedtxt1 = add(Save1, "Spacedelimitedtxt1", QStringLiteral("Space delimited (txt)"), scNone,
                             &TTarvix::Spacedelimitedtxt1Click);
    Commadelimitedtxt2 = add(Save1, "Commadelimitedtxt2", QStringLiteral("Comma delimited (.txt)"), scNone,
                             &TTarvix::Commadelimitedtxt2Click);
    Excelxls2 = add(Save1, "Excelxls2", QStringLiteral("Excel (.xls)"));
    S1 = add(File1, "S1", QStringLiteral("Save &As"));
    Space1 = add(S1, "Space1", QStringLiteral("Space delimited (.txt)"), scNone, &TTarvix::Space1Click);
    Commadelimitedtxt3 = add(S1, "Commadelimitedtxt3", QStringLiteral("Comma delimited (.txt)"), scNone,
                             &TTarvix::Commadelimitedtxt3Click);
    Excelxls3 = add(S1, "Excelxls3", QStringLiteral("Excel (.xls)"));
    Close1 = add(File1, "Close1", QStringLiteral("&Close"), scNone, &TTarvix::Close1Click);
    line(File1);
    E1 = add(File1, "E1", QStringLiteral("Excel open on sa&ve (.xls) ... on/off"), Ctrl('V'));
    About2 = add(File1, "About2", QStringLiteral("Abou&t file"), scNone, &TTarvix::About2Click);
    line(File1);
    Batch1 = add(File1, "Batch1", QStringLiteral("&Batch ... on/off"), Ctrl('B'));
    Changedirectory1 = add(File1, "Changedirectory1", QStringLiteral("Change &Directory"), Ctrl('D'));
    Changedirectory1->SetVisible(false);
    line(File1);
    Exit1 = add(File1, "Exit1", QStringLiteral("E&xit TVX"), Ctrl('X'), &TTarvix::Exit1Click);

    Edit1 = add(root, "Edit1", QStringLiteral("&Edit"));
    LockRowTitles = add(Edit1, "LockRowTitles", QStringLiteral("lock &Row titles"), Ctrl('R'), &TTarvix::LockRowTitlesClick);
    LockRowTitles->SetHint(QStringLiteral("Fixed titles do not scroll when the grid scrolls."));
    LockColumnTitles = add(Edit1, "LockColumnTitles", QStringLiteral("lock &Column titles"), Ctrl('C'),
                           &TTarvix::LockColumnTitlesClick);
    LockColumnTitles->SetChecked(true);
    line(Edit1);
    RestructMatrix = add(Edit1, "RestructMatrix", QStringLiteral("Resize &matrix"), Ctrl('M'), &TTarvix::RestructMatrixClick);
    Transformmatrix1 = add(Edit1, "Transformmatrix1", QStringLiteral("&Transpose matrix"), Ctrl('T'),
                           &TTarvix::Transformmatrix1Click);
    Randomizematrix1 = add(Edit1, "Randomizematrix1", QStringLiteral("Ran&domize matrix"), Ctrl('D'));
    N011 = add(Randomizematrix1, "N011", QStringLiteral("1, 0"), scNone, &TTarvix::N011Click);
    N01 = add(Randomizematrix1, "N01", QStringLiteral("0 <= X < 1"), scNone, &TTarvix::N01Click);
    N1X1001 = add(Randomizematrix1, "N1X1001", QStringLiteral("0 <= X < 10"), scNone, &TTarvix::N1X1001Click);

    // The analyses hang their commands on these items as they arrive.
    Analyze1 = add(root, "Analyze1", QStringLiteral("&Analyze"));
    CoOccurrence1 = add(Analyze1, "CoOccurrence1", QStringLiteral("&1 Co-occurrence"));
    N7GuildStructure1 = add(Analyze1, "N7GuildStructure1", QStringLiteral("&2 Guild Structure"));
    Macroecology1 = add(Analyze1, "Macroecology1", QStringLiteral("&3 Macroecology"));
    NicheOverlap1 = add(Analyze1, "NicheOverlap1", QStringLiteral("&4 Niche Overlap"));
    N5RangeOverlap1 = add(Analyze1, "N5RangeOverlap1", QStringLiteral("&5 Range Overlap"));
    SizeOverlap1 = add(Analyze1, "SizeOverlap1", QStringLiteral("&6 Size Overlap"));
    SpeciesOverlap1 = add(Analyze1, "SpeciesOverlap1", QStringLiteral("&7 Species Overlap"));
    SpeciesDiversity1 = add(Analyze1, "SpeciesDiversity1", QStringLiteral("&8 Species Diversity"));
    N6Standardtests1 = add(Analyze1, "N6Standardtests1", QStringLiteral("&9 Standard tests"));
    Anova1 = add(N6Standardtests1, "Anova1", QStringLiteral("&Anova"));
    ChiSquare1 = add(N6Standardtests1, "ChiSquare1", QStringLiteral("&Chi-square"));
    regression1 = add(N6Standardtests1, "regression1", QStringLiteral("&Regression"));
    RunsTest1 = add(N6Standardtests1, "RunsTest1", QStringLiteral("Runs &Test"));

    Help1 = add(root, "Help1", QStringLiteral("&Help"));
    Helptopics1 = add(Help1, "Helptopics1", QStringLiteral("&Help Topics"), ShortCut(VK_F1, TShiftState{}),
                      &TTarvix::Helptopics1Click);
    About1 = add(Help1, "About1", QStringLiteral("&About"), scNone, &TTarvix::About1Click);

    SetMenu(MainMenu1);
}

void TTarvix::showFileCaption() { SetCaption(kProgramCaption + FileName); }

void TTarvix::FormCreate(TObject *)
{
    RowError = 0;
    Iterations = 1000;
    RandomSeed = 0;
    FileName = QStringLiteral("Untitled.txt");
    showFileCaption();
    New1Click(this);
    HomeDir = GetCurrentDir();
    BatchFileCount = 0;
    SavedBatchFileCount = 0;
    BatchSwitch = false;
    BuildBatchSummaryFirstRow();
    LinkCommands();
}

void TTarvix::FormShow(TObject *)
{
    if (RowError > 0 && RowError < MainGrid->RowCount())
        MainGrid->SetRow(RowError);
    if (Progress && Progress->Visible())
        Progress->Close();
    Open1->SetEnabled(true);
    RestructMatrix->SetEnabled(true);
    Batch1->SetEnabled(true);
}

void TTarvix::FormCloseQuery(TObject *, bool &CanClose)
{
    // A close confirmed during a run comes back once the run has stopped.
    CanClose = std::exchange(closeAfterRun_, false) ||
               MessageDlg(QStringLiteral("Close Tarvix Professional?"), mtConfirmation, mbOKCancel) != mrCancel;
    DeferCloseUntilRunEnds(CanClose);
}

void TTarvix::Exit1Click(TObject *) { Close(); }

void TTarvix::Helptopics1Click(TObject *) { RunHelp(); }

void TTarvix::About1Click(TObject *) { TarvixAbout->ShowModal(); }

void TTarvix::RunHelp()
{
    CurrentDir = GetCurrentDir();
    try {
        SetCurrentDir(HomeDir);
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Unable to load Help. Directory error."));
        return;
    }
    try {
        const QString help = QStringLiteral("tvxhelp.chm");
        if (ShellExecute(Handle(), QStringLiteral("Open"), help, QString(), QString(), SW_SHOWNORMAL) < 32)
            MessageDlg(QStringLiteral("Could not execute ") + help, mtError, TMsgDlgButtons{mbOK});
    } catch (...) {
        // A failing shell must not leave the program in the help directory.
    }
    try {
        SetCurrentDir(CurrentDir);
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Unable to reset Home directory. Directory error."));
    }
}

int32_t LeadingInt(const QString &S)
{
    int i = 0;
    while (i < S.size() && S[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-')))
        negative = S[i++] == QLatin1Char('-');
    int64_t value = 0;
    for (; i < S.size() && S[i] >= QLatin1Char('0') && S[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (S[i].unicode() - '0');
        if (value > int64_t(INT32_MAX) + 1)
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    }
    value = negative ? -value : value;
    if (value > INT32_MAX)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return int32_t(value);
}

void TTarvix::BuildBatchSummaryFirstRow()
{
    BatchGrid->SetCells(0, 0, QStringLiteral("FileName"));
    BatchGrid->SetCells(1, 0, QStringLiteral("Standard-Effect"));
    BatchGrid->SetCells(2, 0, QStringLiteral("LowerTailP"));
    BatchGrid->SetCells(3, 0, QStringLiteral("UpperTailP"));
}
