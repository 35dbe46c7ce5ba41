// The co-occurrence and range overlap options dialog.
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/CoOccurrenceSims.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "workspace/TarvixMain.h"

TCoOccurrenceOpts *CoOccurrenceOpts = nullptr;

namespace {

enum { ptInclude = 0, ptExclude = 1 };

TRadioGroup *NewRadioGroup(TWinControl *Parent, TComponent *Owner, const char *Name, const QString &Caption,
                           std::initializer_list<const char *> Items, int Index, int Left, int Top, int Height,
                           int Width = 200)
{
    auto *g = new TRadioGroup(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, Top, Width, Height);
    for (const char *item : Items) g->Items()->Add(QString::fromUtf8(item));
    g->SetItemIndex(Index);
    return g;
}

TComboBox *NewIndexList(TGroupBox *Group, TComponent *Owner, const char *Name, std::initializer_list<const char *> Items)
{
    auto *l = new TComboBox(Owner);
    l->SetName(QLatin1String(Name));
    l->SetParent(Group);
    l->SetStyle(csDropDownList);
    l->SetBounds(10, 22, 220, 24);
    for (const char *item : Items) l->Items()->Add(QString::fromUtf8(item));
    l->SetItemIndex(0);
    return l;
}

} // namespace

TCoOccurrenceOpts::TCoOccurrenceOpts(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("CoOccurrenceOpts"));
    SetCaption(QStringLiteral("Tarvix Professional: Co-occurrence Options"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 520, 470);

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
    IndexGroup->SetCaption(QStringLiteral("Co-occurrence &Index"));
    IndexGroup->SetBounds(8, 8, 240, 56);
    IndexList = NewIndexList(IndexGroup, this, "IndexList",
                             {"C-score", "Number of checkerboards ", "Number of species combinations", "V-ratio"});
    RangeGroup = new TGroupBox(this);
    RangeGroup->SetName(QStringLiteral("RangeGroup"));
    RangeGroup->SetParent(PreferencesSheet);
    RangeGroup->SetCaption(QStringLiteral("Range &Overlap Index"));
    RangeGroup->SetBounds(8, 8, 240, 56);
    RangeList = NewIndexList(RangeGroup, this, "RangeList", {"Relative Overlap", "Union", "Overlap"});
    RangeGroup->SetVisible(false);

    RowGroup = NewRadioGroup(PreferencesSheet, this, "RowGroup", QStringLiteral("Ro&w Constraints"),
                             {"Equiprobable", "Fixed Sum", "Proportional", "User-Defined"}, cnFixedSum, 8, 72, 110);
    ColumnGroup = NewRadioGroup(PreferencesSheet, this, "ColumnGroup", QStringLiteral("Co&Lumn Constraints"),
                                {"Equiprobable", "Fixed Sum", "Proportional", "User-Defined"}, cnFixedSum, 8, 190, 110);
    DegenerateGroup = NewRadioGroup(PreferencesSheet, this, "DegenerateGroup", QStringLiteral("Degenerate &Matrices"),
                                    {"Retain", "Discard", "Split", "Fix"}, dgRetain, 264, 8, 110, 240);
    PatternGroup = NewRadioGroup(PreferencesSheet, this, "PatternGroup", QStringLiteral("&Empty Sites"),
                                 {"Include", "Exclude"}, ptExclude, 264, 126, 64, 240);
    PatternGroup->SetVisible(false);
    FixedFixedGroup = NewRadioGroup(PreferencesSheet, this, "FixedFixedGroup",
                                    QStringLiteral("Fixed-Fixed Randomization Algorithm"),
                                    {"Sequential Swap", "Independent Swap", "Random Knight's Tour"}, ffSequentialSwap,
                                    264, 198, 90, 240);
    auto editButton = [this](const char *Name, int Top) {
        auto *b = new TButton(this);
        b->SetName(QLatin1String(Name));
        b->SetParent(PreferencesSheet);
        b->SetCaption(QStringLiteral("Edit"));
        b->SetBounds(212, Top, 40, 24);
        b->SetVisible(false);
        return b;
    };
    DefineButtonRows = editButton("DefineButtonRows", 150);
    DefineButtonCols = editButton("DefineButtonCols", 268);

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
    IterationsEdit->SetEditMask(QStringLiteral("999999;1; "));
    IterationsEdit->SetText(QStringLiteral("5000"));
    IterationsEdit->SetHint(QStringLiteral("Iterations must be >0 and < = 1,000,000"));
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
    auto add = [&](const char *Name, const QString &Caption, void (TCoOccurrenceOpts::*Handler)(TObject *)) {
        return AddMenuCommand(this, root, Name, Caption, Handler);
    };
    Run1 = add("Run1", QStringLiteral("&Run"), &TCoOccurrenceOpts::Run1Click);
    Cancel1 = add("Cancel1", QStringLiteral("&Cancel"), &TCoOccurrenceOpts::Cancel1Click);
    Help1 = add("Help1", QStringLiteral("&Help"), &TCoOccurrenceOpts::Help1Click);
    ResetDefaults1 = add("ResetDefaults1", QStringLiteral("Reset &Defaults"), &TCoOccurrenceOpts::ResetDefaults1Click);
    SetMenu(MainMenu1);

    // Wired last: the defaults above are not user choices.
    RowGroup->OnClick = [this](TObject *Sender) { RowGroupClick(Sender); };
    ColumnGroup->OnClick = [this](TObject *Sender) { ColumnGroupClick(Sender); };
    DegenerateGroup->OnClick = [this](TObject *Sender) { DegenerateGroupClick(Sender); };
    FixedFixedGroup->OnClick = [this](TObject *Sender) { FixedFixedGroupClick(Sender); };
    IndexList->OnChange = [this](TObject *Sender) { IndexListChange(Sender); };
    DefineButtonRows->OnClick = [this](TObject *Sender) { DefineButtonRowsClick(Sender); };
    DefineButtonCols->OnClick = [this](TObject *Sender) { DefineButtonColsClick(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
}

bool TCoOccurrenceOpts::RangeMode() const { return Tarvix && Tarvix->RangeCoOccurrence == 1; }

TComboBox *TCoOccurrenceOpts::CurrentList() const { return RangeMode() ? RangeList : IndexList; }

void TCoOccurrenceOpts::FormShow(TObject *)
{
    FileEdit->SetText(Tarvix->FileName);
    if (RangeMode()) {
        RangeList->SetItemIndex(RangeIndex);
        RangeGroup->SetVisible(true);
        IndexGroup->SetVisible(false);
        const int d = DegenerateGroup->ItemIndex();
        PatternGroup->SetVisible(d == dgRetain || d == dgSplit);
    } else {
        IndexList->SetItemIndex(CoOccurrenceIndex);
        IndexGroup->SetVisible(true);
        RangeGroup->SetVisible(false);
        PatternGroup->SetVisible(IndexList->ItemIndex() >= 2);
    }
}

void TCoOccurrenceOpts::FormClose(TObject *, TCloseAction &)
{
    CurrentIndex = CurrentList()->ItemIndex();
    if (RangeMode()) RangeIndex = CurrentIndex;
    else CoOccurrenceIndex = CurrentIndex;
}

void TCoOccurrenceOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TCoOccurrenceOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TCoOccurrenceOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TCoOccurrenceOpts::ResetDefaults1Click(TObject *)
{
    FileEdit->SetText(Tarvix->FileName);
    RandomSeedEdit->SetText(QStringLiteral("0"));
    // The list first, so that the click rules below see the index they leave behind.
    CurrentList()->SetItemIndex(0);
    RowGroup->SetItemIndex(cnFixedSum);
    ColumnGroup->SetItemIndex(cnFixedSum);
    PatternGroup->SetVisible(false);
    PatternGroup->SetItemIndex(ptInclude);
    DegenerateGroup->SetItemIndex(dgRetain);
    FixedFixedGroup->SetItemIndex(ffSequentialSwap);
    SaveMatrixCheckBox->SetChecked(false);
    IterationsEdit->SetText(QStringLiteral("5000 "));
}

void TCoOccurrenceOpts::ShowWeights(int32_t Which)
{
    DefineWeights = Which;
    if (CoOccurrenceUserDefined) CoOccurrenceUserDefined->ShowModal();
}

void TCoOccurrenceOpts::UpdateFixedFixed()
{
    FixedFixedGroup->SetVisible(RowGroup->ItemIndex() == cnFixedSum && ColumnGroup->ItemIndex() == cnFixedSum);
}

void TCoOccurrenceOpts::RowGroupClick(TObject *)
{
    const bool user = RowGroup->ItemIndex() == cnUserDefined;
    DefineButtonRows->SetVisible(user);
    UpdateFixedFixed();
    if (user) ShowWeights(0);
}

void TCoOccurrenceOpts::ColumnGroupClick(TObject *Sender)
{
    if (ColumnGroup->ItemIndex() == cnUserDefined) {
        PatternGroup->SetItemIndex(ptInclude);
        PatternGroup->SetVisible(false);
        DefineButtonCols->SetVisible(true);
        UpdateFixedFixed();
        ShowWeights(1);
        return;
    }
    DefineButtonCols->SetVisible(false);
    DegenerateGroupClick(Sender);
    UpdateFixedFixed();
}

void TCoOccurrenceOpts::DegenerateGroupClick(TObject *)
{
    const auto hideInclude = [this] {
        PatternGroup->SetVisible(false);
        PatternGroup->SetItemIndex(ptInclude);
    };
    if (!RangeMode() && IndexList->ItemIndex() <= 1) return hideInclude();
    const int d = DegenerateGroup->ItemIndex();
    if (d == dgRetain || d == dgSplit) {
        if (ColumnGroup->ItemIndex() != cnUserDefined) PatternGroup->SetVisible(true);
    } else {
        hideInclude();
    }
}

void TCoOccurrenceOpts::IndexListChange(TObject *)
{
    if (RangeMode()) return;
    if (IndexList->ItemIndex() <= 1) {
        PatternGroup->SetItemIndex(ptInclude);
        PatternGroup->SetVisible(false);
    } else if (ColumnGroup->ItemIndex() != cnUserDefined) {
        PatternGroup->SetVisible(true);
        DegenerateGroup->SetItemIndex(dgRetain);
    }
}

void TCoOccurrenceOpts::FixedFixedGroupClick(TObject *)
{
    if (FixedFixedGroup->ItemIndex() == ffKnightsTour) PatternGroup->SetItemIndex(ptExclude);
}

void TCoOccurrenceOpts::DefineButtonRowsClick(TObject *) { ShowWeights(0); }

void TCoOccurrenceOpts::DefineButtonColsClick(TObject *) { ShowWeights(1); }
