#pragma once
// The Niche Overlap options dialog. The run reads its controls while it works, so the item order
// of every group is part of its interface (see the enums of NicheOverlapSims.h).
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"

#include <cstdint>

class TNicheOverlapOpts : public TForm
{
public:
    explicit TNicheOverlapOpts(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet;
    TTabSheet *GeneralSheet;
    TRadioGroup *NicheBreadthGroup;
    TRadioGroup *ZeroStatesGroup;
    TRadioGroup *IndexGroup;
    TRadioGroup *ResourceStatesGroup;
    TButton *DefineButtonCols;
    TLabel *FileLabel, *IterationsLabel, *RandomSeedLabel;
    TEdit *FileEdit;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
    TMainMenu *MainMenu1;
    TMenuItem *Run1, *Cancel1, *Help1, *ResetDefaults1;

    // 1: the weights dialog edits the resource states (its only table).
    int32_t DefineWeights = 0;

    void FormShow(TObject *Sender);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void ResetDefaults1Click(TObject *Sender);
    void ResourceStatesGroupClick(TObject *Sender);
    void DefineButtonColsClick(TObject *Sender);

private:
    void ShowWeights();
};

extern TNicheOverlapOpts *NicheOverlapOpts;
