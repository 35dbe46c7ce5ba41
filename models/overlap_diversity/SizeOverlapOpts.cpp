// The Size Overlap options dialog.
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "framework/controls/Dialogs.h"
#include "models/overlap_diversity/SizeOverlapHistogram.h"
#include "models/overlap_diversity/SizeOverlapUserDefined.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

TSizeOverlapOpts *SizeOverlapOpts = nullptr;

namespace {

const QString MsgNoPositiveSizes = QStringLiteral("Non-Zero Rows Must be > 0");

TRadioGroup *NewRadioGroup(TWinControl *Parent, TComponent *Owner, const char *Name, const QString &Caption,
                           std::initializer_list<const char *> Items, int Index, int Left, int Top, int Width,
                           int Height)
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

// Shows a modal dialog that may not exist in a test that did not create it.
void ShowDialog(TForm *Dialog)
{
    if (Dialog) Dialog->ShowModal();
}

} // namespace

TSizeOverlapOpts::TSizeOverlapOpts(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("SizeOverlapOpts"));
    SetCaption(QStringLiteral("Tarvix Professional: Size Overlap Options"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 520, 450);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    PreferencesSheet = new TTabSheet(this);
    PreferencesSheet->SetPageControl(PageControl1);
    PreferencesSheet->SetCaption(QStringLiteral("Preferences"));
    GeneralSheet = new TTabSheet(this);
    GeneralSheet->SetPageControl(PageControl1);
    GeneralSheet->SetCaption(QStringLiteral("General"));

    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetName(QStringLiteral("GroupBox2"));
    GroupBox2->SetParent(PreferencesSheet);
    GroupBox2->SetCaption(QStringLiteral("Co&Lumn to analyze"));
    GroupBox2->SetBounds(8, 8, 230, 56);
    ColumnList = new TComboBox(this);
    ColumnList->SetName(QStringLiteral("ColumnList"));
    ColumnList->SetParent(GroupBox2);
    ColumnList->SetStyle(csDropDownList);
    ColumnList->SetBounds(10, 22, 210, 24);

    MetricGroup = NewRadioGroup(PreferencesSheet, this, "MetricGroup", QStringLiteral("&Metric"),
                                {"Minimum segment length", "Variance in segment length"}, smSegmentVariance, 8, 72,
                                230, 70);
    TransformationGroup = NewRadioGroup(PreferencesSheet, this, "TransformationGroup", QStringLiteral("&Transformation"),
                                        {"None (size differences)", "Log (size ratios)"}, stSizeRatios, 8, 150, 230, 70);
    RoundingGroup = NewRadioGroup(PreferencesSheet, this, "RoundingGroup", QStringLiteral("Roundin&G"),
                                  {"None", "Integer"}, srNone, 8, 228, 230, 70);
    BodySizeDistributionGroup = NewRadioGroup(PreferencesSheet, this, "BodySizeDistributionGroup",
                                              QStringLiteral("&Body size distribution"),
                                              {"Parametric distributions", "Histogram"}, ssParametric, 250, 8, 250, 70);
    BodySizeDistributionGroupMain = NewRadioGroup(PreferencesSheet, this, "BodySizeDistributionGroupMain", QString(),
                                                  {"Uniform", "Normal", "Log uniform", "Log normal"}, sdUniform, 250,
                                                  82, 250, 110);
    BodySizeDistributionGroupC = NewRadioGroup(PreferencesSheet, this, "BodySizeDistributionGroupC", QString(),
                                               {"Data defined", "User defined"}, spDataDefined, 250, 196, 250, 44);
    BodySizeDistributionGroupC->SetColumns(2);
    UserHistogramGroup = NewRadioGroup(PreferencesSheet, this, "UserHistogramGroup", QString(),
                                       {"User defined histogram"}, 0, 250, 244, 250, 44);
    EditUserDefinedButton = new TButton(this);
    EditUserDefinedButton->SetName(QStringLiteral("EditUserDefinedButton"));
    EditUserDefinedButton->SetParent(PreferencesSheet);
    EditUserDefinedButton->SetCaption(QStringLiteral("&Edit"));
    EditUserDefinedButton->SetBounds(250, 296, 75, 25);
    EditButton = new TButton(this);
    EditButton->SetName(QStringLiteral("EditButton"));
    EditButton->SetParent(PreferencesSheet);
    EditButton->SetCaption(QStringLiteral("&Edit"));
    EditButton->SetBounds(340, 296, 75, 25);
    EditButton->SetVisible(false);

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
    SaveMatrixCheckBox->SetBounds(16, 122, 250, 22);
    IterationsLabel = label(QStringLiteral("Number of iterations:"), 50);
    IterationsEdit = new TMaskEdit(this);
    IterationsEdit->SetName(QStringLiteral("IterationsEdit"));
    IterationsEdit->SetParent(GeneralSheet);
    IterationsEdit->SetBounds(170, 50, 90, 24);
    IterationsEdit->SetEditMask(QStringLiteral("!99999;1; "));
    IterationsEdit->SetText(QStringLiteral("1000 "));
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
    FileLabel = label(QStringLiteral("Data file:"), 16);
    FileEdit = new TEdit(this);
    FileEdit->SetName(QStringLiteral("FileEdit"));
    FileEdit->SetParent(GeneralSheet);
    FileEdit->SetBounds(170, 16, 310, 24);
    FileEdit->SetReadOnly(true);
    FileEdit->SetText(QStringLiteral("Untitled.txt"));
    IterationsLabel->SetFocusControl(IterationsEdit);
    RandomSeedLabel->SetFocusControl(RandomSeedEdit);

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    auto add = [&](const char *Name, const QString &Caption, void (TSizeOverlapOpts::*Handler)(TObject *)) {
        return AddMenuCommand(this, root, Name, Caption, Handler);
    };
    Run1 = add("Run1", QStringLiteral("&Run"), &TSizeOverlapOpts::Run1Click);
    Cancel1 = add("Cancel1", QStringLiteral("&Cancel"), &TSizeOverlapOpts::Cancel1Click);
    Help1 = add("Help1", QStringLiteral("&Help"), &TSizeOverlapOpts::Help1Click);
    ResetDefaults1 = add("ResetDefaults1", QStringLiteral("Reset &Defaults"), &TSizeOverlapOpts::ResetDefaults1Click);
    SetMenu(MainMenu1);

    // Wired last: the defaults above are not user choices.
    BodySizeDistributionGroup->OnClick = [this](TObject *Sender) { BodySizeDistributionGroupClick(Sender); };
    BodySizeDistributionGroupMain->OnClick = [this](TObject *Sender) { BodySizeDistributionGroupMainClick(Sender); };
    BodySizeDistributionGroupC->OnClick = [this](TObject *Sender) { BodySizeDistributionGroupCClick(Sender); };
    EditUserDefinedButton->OnClick = [this](TObject *Sender) { EditUserDefinedButtonClick(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
    // The creation handler.
    EditUserDefinedButton->SetEnabled(false);
    UserHistogramGroup->SetEnabled(false);
}

int32_t TSizeOverlapOpts::AnalysedColumn() const { return ColumnList->ItemIndex() + 1; }

TSizeOverlapOptions TSizeOverlapOpts::Choices() const
{
    TSizeOverlapOptions o;
    o.MetricGroup = MetricGroup->ItemIndex();
    o.TransformationGroup = TransformationGroup->ItemIndex();
    o.RoundingGroup = RoundingGroup->ItemIndex();
    o.BodySizeDistributionGroup = BodySizeDistributionGroup->ItemIndex();
    o.BodySizeDistributionGroupMain = BodySizeDistributionGroupMain->ItemIndex();
    o.BodySizeDistributionGroupC = BodySizeDistributionGroupC->ItemIndex();
    return o;
}

void TSizeOverlapOpts::ColumnTitlesToList()
{
    TStrings *items = ColumnList->Items();
    items->BeginUpdate();
    items->Clear();
    TProStringGrid *main = Tarvix->MainGrid;
    for (int c = 1; c < main->ColCount(); ++c) items->Add(main->Cells(c, 0));
    items->EndUpdate();
    ColumnList->SetItemIndex(items->Count() > 0 ? 0 : -1);
}

void TSizeOverlapOpts::FormShow(TObject *)
{
    ColumnTitlesToList();
    // A column beyond the data of a newly loaded file falls back to the first.
    if (CurrentColumn >= 0 && CurrentColumn < ColumnList->Items()->Count()) ColumnList->SetItemIndex(CurrentColumn);
    FileEdit->SetText(Tarvix->FileName);
    Tarvix->RunSim = false;
}

void TSizeOverlapOpts::FormClose(TObject *, TCloseAction &) { CurrentColumn = ColumnList->ItemIndex(); }

void TSizeOverlapOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TSizeOverlapOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TSizeOverlapOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TSizeOverlapOpts::ResetDefaults1Click(TObject *) { ResetDefaults(); }

void TSizeOverlapOpts::ResetDefaults()
{
    FileEdit->SetText(Tarvix->FileName);
    RandomSeedEdit->SetText(QStringLiteral("0"));
    MetricGroup->SetItemIndex(smSegmentVariance);
    RoundingGroup->SetItemIndex(srNone);
    TransformationGroup->SetItemIndex(stSizeRatios);
    // A group clicks whenever its index changes: the distribution groups are put back without
    // their click rules, which would open a parameter dialog or refuse a column without sizes, and
    // the state the rules give the defaults is set here.
    TRadioGroup *groups[] = {BodySizeDistributionGroup, BodySizeDistributionGroupMain, BodySizeDistributionGroupC};
    std::vector<TNotifyEvent> clicks;
    for (TRadioGroup *g : groups) {
        clicks.push_back(g->OnClick);
        g->OnClick = nullptr;
    }
    BodySizeDistributionGroupC->SetItemIndex(spDataDefined);
    BodySizeDistributionGroup->SetItemIndex(ssParametric);
    BodySizeDistributionGroupMain->SetItemIndex(sdUniform);
    for (size_t i = 0; i < clicks.size(); ++i) groups[i]->OnClick = clicks[i];
    BodySizeDistributionGroupMain->SetEnabled(true);
    BodySizeDistributionGroupC->SetEnabled(true);
    EditUserDefinedButton->SetEnabled(false);
    UserHistogramGroup->SetEnabled(false);
    RoundingGroup->SetVisible(true);
    SaveMatrixCheckBox->SetChecked(false);
    IterationsEdit->SetText(QStringLiteral("1000 "));
    ColumnTitlesToList();
}

void TSizeOverlapOpts::BodySizeDistributionGroupClick(TObject *)
{
    if (BodySizeDistributionGroup->ItemIndex() == ssHistogram) {
        BodySizeDistributionGroupMain->SetEnabled(false);
        BodySizeDistributionGroupC->SetEnabled(false);
        EditUserDefinedButton->SetEnabled(true);
        UserHistogramGroup->SetEnabled(true);
        ShowDialog(SizeOverLapUD3);
        return;
    }
    BodySizeDistributionGroupMain->SetEnabled(true);
    BodySizeDistributionGroupC->SetEnabled(true);
    EditUserDefinedButton->SetEnabled(BodySizeDistributionGroupC->ItemIndex() == spUserDefined);
    UserHistogramGroup->SetEnabled(false);
}

bool TSizeOverlapOpts::BodyDistributionClicks()
{
    if (CountPositiveSizes(AnalysedColumn()) <= 0) {
        ShowMessage(MsgNoPositiveSizes);
        return false;
    }
    const bool user = BodySizeDistributionGroupC->ItemIndex() == spUserDefined;
    EditUserDefinedButton->SetEnabled(user);
    const int d = BodySizeDistributionGroupMain->ItemIndex();
    // Log sources never round.
    RoundingGroup->SetVisible(d == sdUniform || d == sdNormal);
    if (user) {
        switch (d) {
        case sdUniform: ShowDialog(SizeOverLapUD1); break;
        case sdNormal: ShowDialog(SizeOverLapUD2); break;
        case sdLogUniform: ShowDialog(SizeOverLapUD5); break;
        case sdLogNormal: ShowDialog(SizeOverLapUD6); break;
        default: break;
        }
    }
    return true;
}

void TSizeOverlapOpts::BodySizeDistributionGroupMainClick(TObject *) { BodyDistributionClicks(); }

void TSizeOverlapOpts::BodySizeDistributionGroupCClick(TObject *) { BodyDistributionClicks(); }

void TSizeOverlapOpts::EditUserDefinedButtonClick(TObject *)
{
    if (BodySizeDistributionGroup->ItemIndex() == ssHistogram) ShowDialog(SizeOverLapUD3);
    else BodyDistributionClicks();
}

void TSizeOverlapOpts::RunButtonClick(TObject *Sender) { Run1Click(Sender); }

void TSizeOverlapOpts::CancelButtonClick(TObject *Sender) { Cancel1Click(Sender); }

void TSizeOverlapOpts::HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

void TSizeOverlapOpts::Button1Click(TObject *) { ResetDefaults(); }

void TSizeOverlapOpts::BodySizeDistributionGroupAClick(TObject *) { BodyDistributionClicks(); }

void TSizeOverlapOpts::BodySizeDistributionGroupBClick(TObject *) { BodyDistributionClicks(); }

void TSizeOverlapOpts::TransformationGroupClick(TObject *) {}

void TSizeOverlapOpts::EditButtonClick(TObject *) {}
