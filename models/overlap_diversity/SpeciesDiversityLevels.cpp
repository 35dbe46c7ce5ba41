#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "framework/controls/Dialogs.h"
#include "framework/rtl/SysUtils.h"
#include "models/overlap_diversity/SpeciesDiversitySims.h"

TAbundanceLevelsOpts *AbundanceLevelsOpts = nullptr;

TAbundanceLevelsOpts::TAbundanceLevelsOpts(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("AbundanceLevelsOpts"));
    SetCaption(QStringLiteral("Tarvix Professional: Abundance Levels"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 260, 320);

    Memo1 = new TMemo(this);
    Memo1->SetName(QStringLiteral("Memo1"));
    Memo1->SetParent(this);
    Memo1->SetBounds(12, 12, 140, 260);
    Memo1->SetScrollBars(ssVertical);
    Memo1->SetWordWrap(false);
    Memo1->Lines()->Add(QStringLiteral("10"));
    Memo1->Lines()->Add(QStringLiteral("20"));

    OKButton = new TButton(this);
    OKButton->SetName(QStringLiteral("OKButton"));
    OKButton->SetParent(this);
    OKButton->SetCaption(QStringLiteral("&OK"));
    OKButton->SetBounds(164, 12, 80, 28);
    OKButton->OnClick = [this](TObject *Sender) { OKButtonClick(Sender); };
    CancelButton = new TButton(this);
    CancelButton->SetName(QStringLiteral("CancelButton"));
    CancelButton->SetParent(this);
    CancelButton->SetCaption(QStringLiteral("&Cancel"));
    CancelButton->SetBounds(164, 48, 80, 28);
    CancelButton->OnClick = [this](TObject *Sender) { CancelButtonClick(Sender); };

    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TAbundanceLevelsOpts::FormShow(TObject *) { SavedText = Memo1->Text(); }

bool TAbundanceLevelsOpts::TestUserDefined()
{
    TStrings *lines = Memo1->Lines();
    for (int j = 0; j < lines->Count(); ++j)
        if (DiversityInt(lines->Get(j)) <= 0) {
            ShowMessage(QStringLiteral("Abundance levels must be > 0 \r\nerror line: ") + IntToStr(j + 1));
            return false;
        }
    return true;
}

void TAbundanceLevelsOpts::OKButtonClick(TObject *)
{
    TestUserDefined();
    Close();
}

void TAbundanceLevelsOpts::CancelButtonClick(TObject *)
{
    Memo1->SetText(SavedText);
    Close();
}
