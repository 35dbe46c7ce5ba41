#include "workspace/TwoColumnOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

TTwoColumnOpts::TTwoColumnOpts(TComponent *AOwner, const char *Name, const QString &Caption, const char *FirstName,
                               const QString &FirstCaption, const char *SecondName, const QString &SecondCaption,
                               int32_t &FirstItem, int32_t &SecondItem)
    : TForm(AOwner), firstItem_(FirstItem), secondItem_(SecondItem)
{
    SetName(QLatin1String(Name));
    SetCaption(Caption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 540, 320);

    const TOptionsPages pages = AddOptionsPages(this);
    PageControl1 = pages.PageControl;
    PreferencesSheet = pages.Preferences;
    GeneralSheet = pages.General;
    first_ = AddColumnList(this, PreferencesSheet, FirstName, FirstCaption, 12, firstLabel_);
    second_ = AddColumnList(this, PreferencesSheet, SecondName, SecondCaption, 68, secondLabel_);
    const TGeneralPage general = AddGeneralPage(this, GeneralSheet, QStringLiteral("!99999;1; "), QStringLiteral("1000 "),
                                                QStringLiteral("Iterations must be >0 and < 1,000,000"));
    FileLabel = general.FileLabel;
    IterationsLabel = general.IterationsLabel;
    RandomSeedLabel = general.RandomSeedLabel;
    FileEdit = general.FileEdit;
    IterationsEdit = general.IterationsEdit;
    IterationsEdit->SetMaxLength(5);
    RandomSeedEdit = general.RandomSeedEdit;
    SaveMatrixCheckBox = general.SaveMatrixCheckBox;

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Run1 = AddMenuCommand<TTwoColumnOpts>(this, root, "Run1", QStringLiteral("&Run"), &TTwoColumnOpts::Run1Click);
    Cancel1 = AddMenuCommand<TTwoColumnOpts>(this, root, "Cancel1", QStringLiteral("&Cancel"),
                                             &TTwoColumnOpts::Cancel1Click);
    Help1 = AddMenuCommand<TTwoColumnOpts>(this, root, "Help1", QStringLiteral("&Help"), &TTwoColumnOpts::Help1Click);
    ResetDefaults1 = AddMenuCommand<TTwoColumnOpts>(this, root, "ResetDefaults1", QStringLiteral("Reset &Defaults"),
                                                    &TTwoColumnOpts::ResetDefaults1Click);
    SetMenu(MainMenu1);

    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
}

bool TTwoColumnOpts::ColumnTitlesToList() { return ColumnTitlesToLists(first_, second_); }

void TTwoColumnOpts::FormShow(TObject *)
{
    if (!ColumnTitlesToList()) {
        Tarvix->RunSim = false;
        Close();
        return;
    }
    SelectColumnItems(first_, second_, firstItem_, secondItem_);
    ShowMore();
    FileEdit->SetText(Tarvix->FileName);
}

void TTwoColumnOpts::FormClose(TObject *, TCloseAction &)
{
    firstItem_ = first_->ItemIndex();
    secondItem_ = second_->ItemIndex();
    CloseMore();
}

void TTwoColumnOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TTwoColumnOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TTwoColumnOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TTwoColumnOpts::ResetDefaults()
{
    RandomSeedEdit->SetText(QStringLiteral("0"));
    SaveMatrixCheckBox->SetChecked(false);
    IterationsEdit->SetText(QStringLiteral("1000 "));
    if (first_->Items()->Count() > 1) {
        first_->SetItemIndex(0);
        second_->SetItemIndex(1);
    }
    ResetMore();
}
