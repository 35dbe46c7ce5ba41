#pragma once
// The options dialog of the Species Diversity analysis. The run reads its controls while it
// works, so the item order of every list is part of its interface.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"

#include <cstdint>

// Items of "Sample &Unit" and of both level groups.
enum TSampleUnit : int32_t { suIndividuals = 0, suSamples = 1 };
enum TLevelChoice : int32_t { lcDefault = 0, lcUserDefined = 1 };

class TSpeciesDiversityOpts : public TForm
{
public:
    explicit TSpeciesDiversityOpts(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet;
    TTabSheet *GeneralSheet;
    TRadioGroup *SpeciesGroup;
    TGroupBox *ColumnToAnalyzeBox;
    TComboBox *ColumnList;
    TRadioGroup *SampleLevelsGroup;
    TButton *DefineButton2;
    TRadioGroup *AbundanceLevelsGroup;
    TButton *DefineButton;
    TGroupBox *GroupBox1;
    TComboBox *IndexList;
    TRadioGroup *RandomizationGroup;
    TCheckBox *SaveMatrixCheckBox;
    TLabel *IterationsLabel, *RandomSeedLabel, *FileLabel;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TEdit *FileEdit;
    TMainMenu *MainMenu1;
    TMenuItem *Run1, *Cancel1, *Help1, *resetDefaults1;

    // Item indexes of ColumnList and IndexList remembered between showings.
    int32_t CurrentColumn = 0;
    int32_t CurrentIndex = 0;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void resetDefaults1Click(TObject *Sender);
    void SpeciesGroupClick(TObject *Sender);
    void AbundanceLevelsGroupClick(TObject *Sender);
    void SampleLevelsGroupClick(TObject *Sender);
    void DefineButtonClick(TObject *Sender);
    void DefineButton2Click(TObject *Sender);
    // The same as "&Run", "&Cancel", "&Help" and "reset &Defaults"; no control is bound to them.
    void RunButtonClick(TObject *Sender);
    void CancelButtonClick(TObject *Sender);
    void HelpButtonClick(TObject *Sender);
    void Button1Click(TObject *Sender);

    // The main grid's column titles as the column list, item 0 selected.
    void ColumnTitlesToList();
    // Everything but the sample unit and the sample levels back to its default.
    void Resetdefaults();

private:
    void ShowLevelsDialog();
};

extern TSpeciesDiversityOpts *SpeciesDiversityOpts;
