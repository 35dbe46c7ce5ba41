// The niche overlap options dialog.
#include "models/overlap_diversity/NicheOverlapOpts.h"
#include "models/overlap_diversity/NicheOverlapSims.h"
#include "models/overlap_diversity/NicheOverlapUserDefined.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

TNicheOverlapOpts *NicheOverlapOpts = nullptr;

namespace {

TRadioGroup *NewRadioGroup(TWinControl *Parent, TComponent *Owner, const char *Name, const QString &Caption,
                           std::initializer_list<const char *> Items, int Left, int Top)
{
    auto *g = new TRadioGroup(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, Top, 200, 72);
    for (const char *item : Items) g->Items()->Add(QString::fromUtf8(item));
    g->SetItemIndex(0);
    return g;
}

} // namespace

TNicheOverlapOpts::TNicheOverlapOpts(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("NicheOverlapOpts"));
    SetCaption(QStringLiteral("Tarvix Professional: Niche Overlap Options"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 480, 300);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    PreferencesSheet = new TTabSheet(this);
    PreferencesSheet->SetPageControl(PageControl1);
    PreferencesSheet->SetCaption(QStringLiteral("Preferences"));
    GeneralSheet = new TTabSheet(this);
    GeneralSheet->SetPageControl(PageControl1);
    GeneralSheet->SetCaption(QStringLiteral("General"));
    PageControl1->SetActivePage(GeneralSheet);

    NicheBreadthGroup = NewRadioGroup(PreferencesSheet, this, "NicheBreadthGroup", QStringLiteral("&Niche Breadth"),
                                      {"Retained", "Relaxed"}, 8, 8);
    ZeroStatesGroup = NewRadioGroup(PreferencesSheet, this, "ZeroStatesGroup", QStringLiteral("&Zero States"),
                                    {"Reshuffled", "Retained"}, 8, 90);
    IndexGroup = NewRadioGroup(PreferencesSheet, this, "IndexGroup", QStringLiteral("Niche overlap &Index"),
                               {"Pianka", "Czekanowski"}, 230, 8);
    ResourceStatesGroup = NewRadioGroup(PreferencesSheet, this, "ResourceStatesGroup",
                                        QStringLiteral("&Resource States"), {"Equiprobable", "User-defined"}, 230, 90);
    DefineButtonCols = new TButton(this);
    DefineButtonCols->SetName(QStringLiteral("DefineButtonCols"));
    DefineButtonCols->SetParent(PreferencesSheet);
    DefineButtonCols->SetCaption(QStringLiteral("&Edit"));
    DefineButtonCols->SetBounds(380, 170, 50, 24);
    DefineButtonCols->SetVisible(false);

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
    FileEdit->SetBounds(170, 16, 280, 24);
    FileEdit->SetReadOnly(true);
    FileEdit->SetText(QStringLiteral("Untitled.txt"));
    IterationsLabel = label(QStringLiteral("Number of Iterations:"), 50);
    IterationsEdit = new TMaskEdit(this);
    IterationsEdit->SetName(QStringLiteral("IterationsEdit"));
    IterationsEdit->SetParent(GeneralSheet);
    IterationsEdit->SetBounds(170, 50, 90, 24);
    IterationsEdit->SetEditMask(QStringLiteral("99999;1; "));
    IterationsEdit->SetText(QStringLiteral("1000"));
    IterationsEdit->SetHint(QStringLiteral("Iterations must be >0 and < 1,000,000"));
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
    auto add = [&](const char *Name, const QString &Caption, void (TNicheOverlapOpts::*Handler)(TObject *)) {
        return AddMenuCommand(this, root, Name, Caption, Handler);
    };
    Run1 = add("Run1", QStringLiteral("&Run"), &TNicheOverlapOpts::Run1Click);
    Cancel1 = add("Cancel1", QStringLiteral("&Cancel"), &TNicheOverlapOpts::Cancel1Click);
    Help1 = add("Help1", QStringLiteral("&Help"), &TNicheOverlapOpts::Help1Click);
    ResetDefaults1 = add("ResetDefaults1", QStringLiteral("Reset &Defaults"), &TNicheOverlapOpts::ResetDefaults1Click);
    SetMenu(MainMenu1);

    // Wired last: the defaults above are not user choices.
    ResourceStatesGroup->OnClick = [this](TObject *Sender) { ResourceStatesGroupClick(Sender); };
    DefineButtonCols->OnClick = [this](TObject *Sender) { DefineButtonColsClick(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TNicheOverlapOpts::FormShow(TObject *) { FileEdit->SetText(Tarvix->FileName); }

void TNicheOverlapOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TNicheOverlapOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TNicheOverlapOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TNicheOverlapOpts::ResetDefaults1Click(TObject *)
{
    RandomSeedEdit->SetText(QStringLiteral("0"));
    NicheBreadthGroup->SetItemIndex(0);
    ZeroStatesGroup->SetItemIndex(0);
    IndexGroup->SetItemIndex(0);
    ResourceStatesGroup->SetItemIndex(rsEquiprobable);
    SaveMatrixCheckBox->SetChecked(false);
    IterationsEdit->SetText(QStringLiteral("1000 "));
}

void TNicheOverlapOpts::ShowWeights()
{
    DefineWeights = 1;
    if (NicheOverlapUserDefined) NicheOverlapUserDefined->ShowModal();
}

void TNicheOverlapOpts::ResourceStatesGroupClick(TObject *)
{
    const bool user = ResourceStatesGroup->ItemIndex() == rsUserDefined;
    DefineButtonCols->SetVisible(user);
    if (user) ShowWeights();
}

void TNicheOverlapOpts::DefineButtonColsClick(TObject *) { ShowWeights(); }
