// The species diversity options dialog.
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

TSpeciesDiversityOpts *SpeciesDiversityOpts = nullptr;

namespace {

TRadioGroup *NewRadioGroup(TWinControl *Parent, TComponent *Owner, const char *Name, const QString &Caption,
                           std::initializer_list<const char *> Items, int Index, int Left, int Top, int Height)
{
    auto *g = new TRadioGroup(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, Top, 200, Height);
    for (const char *item : Items) g->Items()->Add(QString::fromUtf8(item));
    g->SetItemIndex(Index);
    return g;
}

TButton *NewEditButton(TWinControl *Parent, TComponent *Owner, const char *Name, int Left, int Top)
{
    auto *b = new TButton(Owner);
    b->SetName(QLatin1String(Name));
    b->SetParent(Parent);
    b->SetCaption(QStringLiteral("&Edit"));
    b->SetBounds(Left, Top, 56, 26);
    b->SetVisible(false);
    return b;
}

TComboBox *NewList(TGroupBox *Group, TComponent *Owner, const char *Name)
{
    auto *l = new TComboBox(Owner);
    l->SetName(QLatin1String(Name));
    l->SetParent(Group);
    l->SetStyle(csDropDownList);
    l->SetBounds(10, 22, 200, 24);
    return l;
}

} // namespace

TSpeciesDiversityOpts::TSpeciesDiversityOpts(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("SpeciesDiversityOpts"));
    SetCaption(QStringLiteral("Tarvix Professional: Species Diversity Options"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 500, 380);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    PreferencesSheet = new TTabSheet(this);
    PreferencesSheet->SetPageControl(PageControl1);
    PreferencesSheet->SetCaption(QStringLiteral("Preferences"));
    GeneralSheet = new TTabSheet(this);
    GeneralSheet->SetPageControl(PageControl1);
    GeneralSheet->SetCaption(QStringLiteral("General"));

    SpeciesGroup = NewRadioGroup(PreferencesSheet, this, "SpeciesGroup", QStringLiteral("Sample &Unit"),
                                 {"Individuals", "Samples"}, suIndividuals, 8, 8, 70);
    // The sample levels take the place of the column box.
    ColumnToAnalyzeBox = new TGroupBox(this);
    ColumnToAnalyzeBox->SetName(QStringLiteral("ColumnToAnalyzeBox"));
    ColumnToAnalyzeBox->SetParent(PreferencesSheet);
    ColumnToAnalyzeBox->SetCaption(QStringLiteral("Co&Lumn to analyze"));
    ColumnToAnalyzeBox->SetBounds(8, 86, 220, 70);
    ColumnList = NewList(ColumnToAnalyzeBox, this, "ColumnList");
    SampleLevelsGroup = NewRadioGroup(PreferencesSheet, this, "SampleLevelsGroup", QStringLiteral("Sa&mple Levels"),
                                      {"Default", "User-defined"}, lcDefault, 8, 86, 70);
    DefineButton2 = NewEditButton(PreferencesSheet, this, "DefineButton2", 214, 130);
    AbundanceLevelsGroup = NewRadioGroup(PreferencesSheet, this, "AbundanceLevelsGroup",
                                         QStringLiteral("&Abundance Levels"), {"Default", "User-defined"}, lcDefault,
                                         8, 164, 70);
    DefineButton = NewEditButton(PreferencesSheet, this, "DefineButton", 214, 208);

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName(QStringLiteral("GroupBox1"));
    GroupBox1->SetParent(PreferencesSheet);
    GroupBox1->SetCaption(QStringLiteral("Species diversity &Index"));
    GroupBox1->SetBounds(276, 8, 200, 70);
    IndexList = NewList(GroupBox1, this, "IndexList");
    IndexList->SetBounds(10, 22, 180, 24);
    for (const char *item : {"Species Richness", "Hurlbert's PIE", "Dominance", "Shannon Diversity Index"})
        IndexList->Items()->Add(QString::fromUtf8(item));
    IndexList->SetItemIndex(0);
    RandomizationGroup = NewRadioGroup(PreferencesSheet, this, "RandomizationGroup",
                                       QStringLiteral("Randomi&zation Algorithm"),
                                       {"Accumulation curve", "Rarefaction curve"}, 1, 276, 86, 70);

    auto label = [this](const QString &Caption, int Top) {
        auto *l = new TLabel(this);
        l->SetParent(GeneralSheet);
        l->SetCaption(Caption);
        l->SetBounds(16, Top + 3, 150, 17);
        return l;
    };
    SaveMatrixCheckBox = new TCheckBox(this);
    SaveMatrixCheckBox->SetName(QStringLiteral("SaveMatrixCheckBox"));
    SaveMatrixCheckBox->SetParent(GeneralSheet);
    SaveMatrixCheckBox->SetCaption(QStringLiteral("&Save simulated matrices"));
    SaveMatrixCheckBox->SetBounds(16, 16, 250, 22);
    IterationsLabel = label(QStringLiteral("Number of iterations:"), 50);
    IterationsEdit = new TMaskEdit(this);
    IterationsEdit->SetName(QStringLiteral("IterationsEdit"));
    IterationsEdit->SetParent(GeneralSheet);
    IterationsEdit->SetBounds(170, 50, 90, 24);
    IterationsEdit->SetEditMask(QStringLiteral("999999;1; "));
    IterationsEdit->SetText(QStringLiteral("1000  "));
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
    FileLabel = label(QStringLiteral("Data file:"), 118);
    FileEdit = new TEdit(this);
    FileEdit->SetName(QStringLiteral("FileEdit"));
    FileEdit->SetParent(GeneralSheet);
    FileEdit->SetBounds(170, 118, 290, 24);
    FileEdit->SetReadOnly(true);
    FileEdit->SetText(QStringLiteral("Untitled.txt"));
    IterationsLabel->SetFocusControl(IterationsEdit);
    RandomSeedLabel->SetFocusControl(RandomSeedEdit);

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    auto add = [&](const char *Name, const QString &Caption, void (TSpeciesDiversityOpts::*Handler)(TObject *)) {
        return AddMenuCommand(this, root, Name, Caption, Handler);
    };
    Run1 = add("Run1", QStringLiteral("&Run"), &TSpeciesDiversityOpts::Run1Click);
    Cancel1 = add("Cancel1", QStringLiteral("&Cancel"), &TSpeciesDiversityOpts::Cancel1Click);
    Help1 = add("Help1", QStringLiteral("&Help"), &TSpeciesDiversityOpts::Help1Click);
    resetDefaults1 = add("resetDefaults1", QStringLiteral("reset &Defaults"), &TSpeciesDiversityOpts::resetDefaults1Click);
    SetMenu(MainMenu1);

    // Wired last: the defaults above are not user choices.
    SpeciesGroup->OnClick = [this](TObject *Sender) { SpeciesGroupClick(Sender); };
    AbundanceLevelsGroup->OnClick = [this](TObject *Sender) { AbundanceLevelsGroupClick(Sender); };
    SampleLevelsGroup->OnClick = [this](TObject *Sender) { SampleLevelsGroupClick(Sender); };
    DefineButton->OnClick = [this](TObject *Sender) { DefineButtonClick(Sender); };
    DefineButton2->OnClick = [this](TObject *Sender) { DefineButton2Click(Sender); };
    OnCreate = [this](TObject *Sender) { FormCreate(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
}

void TSpeciesDiversityOpts::FormCreate(TObject *)
{
    CurrentColumn = 0;
    CurrentIndex = 0;
    SampleLevelsGroup->SetVisible(false);
    DefineButton2->SetVisible(false);
}

void TSpeciesDiversityOpts::ColumnTitlesToList()
{
    TStrings *items = ColumnList->Items();
    items->BeginUpdate();
    items->Clear();
    if (Tarvix) {
        TProStringGrid *main = Tarvix->MainGrid;
        for (int c = 1; c < main->ColCount(); ++c) items->Add(main->Cells(c, 0));
    }
    items->EndUpdate();
    ColumnList->SetItemIndex(0);
}

void TSpeciesDiversityOpts::FormShow(TObject *)
{
    ColumnTitlesToList();
    // A choice past the end of a narrower file's titles falls back to the first column.
    ColumnList->SetItemIndex(CurrentColumn < ColumnList->Items()->Count() ? CurrentColumn : 0);
    IndexList->SetItemIndex(CurrentIndex);
    if (Tarvix) FileEdit->SetText(Tarvix->FileName);
}

void TSpeciesDiversityOpts::FormClose(TObject *, TCloseAction &)
{
    CurrentColumn = ColumnList->ItemIndex();
    CurrentIndex = IndexList->ItemIndex();
}

void TSpeciesDiversityOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TSpeciesDiversityOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TSpeciesDiversityOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TSpeciesDiversityOpts::resetDefaults1Click(TObject *) { Resetdefaults(); }

void TSpeciesDiversityOpts::RunButtonClick(TObject *Sender) { Run1Click(Sender); }

void TSpeciesDiversityOpts::CancelButtonClick(TObject *Sender) { Cancel1Click(Sender); }

void TSpeciesDiversityOpts::HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

void TSpeciesDiversityOpts::Button1Click(TObject *Sender) { resetDefaults1Click(Sender); }

void TSpeciesDiversityOpts::Resetdefaults()
{
    RandomSeedEdit->SetText(QStringLiteral("0"));
    RandomizationGroup->SetItemIndex(1);
    IndexList->SetItemIndex(0);
    ColumnList->SetItemIndex(0);
    SaveMatrixCheckBox->SetChecked(false);
    AbundanceLevelsGroup->SetItemIndex(lcDefault);
    ColumnTitlesToList();
    IterationsEdit->SetText(QStringLiteral("1000"));
}

void TSpeciesDiversityOpts::SpeciesGroupClick(TObject *)
{
    const bool individuals = SpeciesGroup->ItemIndex() == suIndividuals;
    ColumnToAnalyzeBox->SetVisible(individuals);
    AbundanceLevelsGroup->SetVisible(individuals);
    DefineButton->SetVisible(individuals && AbundanceLevelsGroup->ItemIndex() == lcUserDefined);
    SampleLevelsGroup->SetVisible(!individuals);
    DefineButton2->SetVisible(!individuals && SampleLevelsGroup->ItemIndex() == lcUserDefined);
}

void TSpeciesDiversityOpts::ShowLevelsDialog()
{
    if (AbundanceLevelsOpts) AbundanceLevelsOpts->ShowModal();
}

void TSpeciesDiversityOpts::AbundanceLevelsGroupClick(TObject *)
{
    if (AbundanceLevelsGroup->ItemIndex() == lcUserDefined) {
        ShowLevelsDialog();
        DefineButton->SetVisible(true);
    } else {
        DefineButton->SetVisible(false);
    }
}

void TSpeciesDiversityOpts::SampleLevelsGroupClick(TObject *)
{
    if (SampleLevelsGroup->ItemIndex() == lcUserDefined) {
        ShowLevelsDialog();
        DefineButton2->SetVisible(true);
    } else {
        DefineButton2->SetVisible(false);
    }
}

void TSpeciesDiversityOpts::DefineButtonClick(TObject *) { ShowLevelsDialog(); }

void TSpeciesDiversityOpts::DefineButton2Click(TObject *) { ShowLevelsDialog(); }
