// The options dialog shared by guild structure and species overlap.
#include "models/presence_absence/GroupOpts.h"
#include "models/presence_absence/GroupSims.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

namespace {

TRadioGroup *NewRadioGroup(TWinControl *Parent, TComponent *Owner, const char *Name, const QString &Caption,
                           const QStringList &Items, int Index, int Left, int Top, int Height)
{
    auto *g = new TRadioGroup(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, Top, 220, Height);
    for (const QString &item : Items) g->Items()->Add(item);
    g->SetItemIndex(Index);
    return g;
}

const QString kDefaultIterations = QStringLiteral("1000 ");

} // namespace

TGroupOpts::TGroupOpts(TComponent *AOwner, const TLayout &Layout) : TForm(AOwner)
{
    SetName(QLatin1String(Layout.Name));
    SetCaption(Layout.Caption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 500, 400);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    PreferencesSheet = new TTabSheet(this);
    PreferencesSheet->SetPageControl(PageControl1);
    PreferencesSheet->SetCaption(QStringLiteral("Preferences"));
    GeneralSheet = new TTabSheet(this);
    GeneralSheet->SetPageControl(PageControl1);
    GeneralSheet->SetCaption(QStringLiteral("General"));

    IndexGroup = new TGroupBox(this);
    IndexGroup->SetName(QStringLiteral("IndexGroup"));
    IndexGroup->SetParent(PreferencesSheet);
    IndexGroup->SetCaption(Layout.IndexCaption);
    IndexGroup->SetBounds(8, 8, 240, 56);
    IndexList = new TComboBox(this);
    IndexList->SetName(QStringLiteral("IndexList"));
    IndexList->SetParent(IndexGroup);
    // A pick from the list only: a typed name would leave no index to compute.
    IndexList->SetStyle(csDropDownList);
    IndexList->SetBounds(10, 22, 220, 24);
    for (const QString &item : Layout.Indices) IndexList->Items()->Add(item);
    IndexList->SetItemIndex(0);

    Grouping = NewRadioGroup(PreferencesSheet, this, "Grouping", QStringLiteral("Grouping"),
                             {QStringLiteral("By guild (= rows)"), QStringLiteral("By region (= columns)")}, grRows,
                             8, 72, 70);
    FavoredStatesCheckBox = new TCheckBox(this);
    FavoredStatesCheckBox->SetName(QStringLiteral("FavoredStatesCheckBox"));
    FavoredStatesCheckBox->SetParent(PreferencesSheet);
    FavoredStatesCheckBox->SetCaption(QStringLiteral("Favored States Analysis"));
    FavoredStatesCheckBox->SetBounds(8, 150, 220, 22);
    if (Layout.SpeciesOverlap) {
        Grouping->SetVisible(false);
        FavoredStatesCheckBox->SetVisible(false);
        RandomizationGroup = NewRadioGroup(PreferencesSheet, this, "RandomizationGroup",
                                           QStringLiteral("&Randomization Constraints"),
                                           {QStringLiteral("Equiprobable"), QStringLiteral("Fixed Species"),
                                            QStringLiteral("Fixed Sites"), QStringLiteral("Fixed Species and Sites")},
                                           rzFixedSpecies, 8, 72, 120);
    }
    PatternGroup = NewRadioGroup(PreferencesSheet, this, "PatternGroup", QStringLiteral("&Empty Sites"),
                                 {QStringLiteral("Include"), QStringLiteral("Exclude")}, 1, 260, 8, 64);
    PatternGroup->SetVisible(false);
    DegenerateGroup = NewRadioGroup(PreferencesSheet, this, "DegenerateGroup", QStringLiteral("Degenerate &Matrices"),
                                    {QStringLiteral("Retain"), QStringLiteral("Discard"), QStringLiteral("Split"),
                                     QStringLiteral("Fix")},
                                    0, 260, 80, 110);
    DegenerateGroup->SetVisible(false);

    auto label = [this](const QString &Caption, int Top) {
        auto *l = new TLabel(this);
        l->SetParent(GeneralSheet);
        l->SetCaption(Caption);
        l->SetBounds(16, Top + 3, 150, 17);
        return l;
    };
    FileLabel = label(QStringLiteral("Data file:"), 16);
    FileEdit = new TEdit(this);
    FileEdit->SetName(QStringLiteral("FileEdit"));
    FileEdit->SetParent(GeneralSheet);
    FileEdit->SetBounds(170, 16, 290, 24);
    FileEdit->SetReadOnly(true);
    FileEdit->SetText(QStringLiteral("Untitled.txt"));
    IterationsLabel = label(QStringLiteral("Number of iterations:"), 50);
    IterationsEdit = new TMaskEdit(this);
    IterationsEdit->SetName(QStringLiteral("IterationsEdit"));
    IterationsEdit->SetParent(GeneralSheet);
    IterationsEdit->SetBounds(170, 50, 90, 24);
    IterationsEdit->SetEditMask(Layout.IterationsMask);
    IterationsEdit->SetMaxLength(5);
    IterationsEdit->SetText(kDefaultIterations);
    IterationsEdit->SetHint(Layout.IterationsHint);
    IterationsEdit->SetShowHint(true);
    RandomSeedLabel = label(QStringLiteral("Random number seed:"), 84);
    RandomSeedEdit = new TEdit(this);
    RandomSeedEdit->SetName(QStringLiteral("RandomSeedEdit"));
    RandomSeedEdit->SetParent(GeneralSheet);
    RandomSeedEdit->SetBounds(170, 84, 90, 24);
    RandomSeedEdit->SetText(QStringLiteral("0"));
    RandomSeedEdit->SetHint(QStringLiteral("0 = system clock. Enter a positive integer to set a random seed. "));
    RandomSeedEdit->SetShowHint(true);
    IterationsLabel->SetFocusControl(IterationsEdit);
    RandomSeedLabel->SetFocusControl(RandomSeedEdit);
    SaveMatrixCheckBox = new TCheckBox(this);
    SaveMatrixCheckBox->SetName(QStringLiteral("SaveMatrixCheckBox"));
    SaveMatrixCheckBox->SetParent(GeneralSheet);
    SaveMatrixCheckBox->SetCaption(QStringLiteral("&Save simulated matrices"));
    SaveMatrixCheckBox->SetBounds(16, 122, 250, 22);

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Run1 = AddMenuCommand(this, root, "Run1", QStringLiteral("&Run"), &TGroupOpts::Run1Click);
    Cancel1 = AddMenuCommand(this, root, "Cancel1", QStringLiteral("&Cancel"), &TGroupOpts::Cancel1Click);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TGroupOpts::Help1Click);
    ResetDefaults1 =
        AddMenuCommand(this, root, "ResetDefaults1", QStringLiteral("Reset &Defaults"), &TGroupOpts::ResetDefaults1Click);
    SetMenu(MainMenu1);

    Grouping->OnClick = [this](TObject *Sender) { GroupingClick(Sender); };
    OnCreate = [this](TObject *Sender) { FormCreate(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
}

void TGroupOpts::FormCreate(TObject *) { CurrentIndex = 0; }

void TGroupOpts::FormShow(TObject *)
{
    IndexList->SetItemIndex(CurrentIndex);
    FileEdit->SetText(Tarvix->FileName);
}

void TGroupOpts::FormClose(TObject *, TCloseAction &) { CurrentIndex = IndexList->ItemIndex(); }

void TGroupOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TGroupOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TGroupOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TGroupOpts::ResetDefaults1Click(TObject *) { ResetDefaults(); }

void TGroupOpts::RunButtonClick(TObject *Sender) { Run1Click(Sender); }

void TGroupOpts::CancelButtonClick(TObject *Sender) { Cancel1Click(Sender); }

void TGroupOpts::HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

void TGroupOpts::ResetDefaultsButtonClick(TObject *Sender) { ResetDefaults1Click(Sender); }

void TGroupOpts::ResetDefaults()
{
    RandomSeedEdit->SetText(QStringLiteral("0"));
    SaveMatrixCheckBox->SetChecked(false);
    IterationsEdit->SetText(kDefaultIterations);
    IndexList->SetItemIndex(0);
    Grouping->SetItemIndex(grRows);
    FavoredStatesCheckBox->SetChecked(false);
    if (RandomizationGroup) RandomizationGroup->SetItemIndex(rzFixedSpecies);
}

// Favored states exist only for grouping by rows.
void TGroupOpts::GroupingClick(TObject *) { FavoredStatesCheckBox->SetEnabled(Grouping->ItemIndex() == grRows); }
