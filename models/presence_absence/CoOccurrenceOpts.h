#pragma once
// The options dialog shared by the Co-occurrence and Range Overlap analyses. The run reads its
// controls while it works, so the item order of every list is part of its interface.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"

#include <cstdint>

class TCoOccurrenceOpts : public TForm
{
public:
    explicit TCoOccurrenceOpts(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet;
    TTabSheet *GeneralSheet;
    TGroupBox *IndexGroup;
    TComboBox *IndexList;
    TGroupBox *RangeGroup;
    TComboBox *RangeList;
    TRadioGroup *RowGroup;
    TRadioGroup *ColumnGroup;
    TRadioGroup *DegenerateGroup;
    TRadioGroup *PatternGroup;
    TRadioGroup *FixedFixedGroup;
    TButton *DefineButtonRows;
    TButton *DefineButtonCols;
    TLabel *FileLabel, *IterationsLabel, *RandomSeedLabel;
    TEdit *FileEdit;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
    TMainMenu *MainMenu1;
    TMenuItem *Run1, *Cancel1, *Help1, *ResetDefaults1;

    // The list index last used in each mode, and in either.
    int32_t CoOccurrenceIndex = 0;
    int32_t RangeIndex = 0;
    int32_t CurrentIndex = 0;
    // 0: the weights editor edits species, 1: sites.
    int32_t DefineWeights = 0;

    void FormShow(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void ResetDefaults1Click(TObject *Sender);
    void RowGroupClick(TObject *Sender);
    void ColumnGroupClick(TObject *Sender);
    void DegenerateGroupClick(TObject *Sender);
    void IndexListChange(TObject *Sender);
    void FixedFixedGroupClick(TObject *Sender);
    void DefineButtonRowsClick(TObject *Sender);
    void DefineButtonColsClick(TObject *Sender);

    // True while the dialog serves Range Overlap.
    bool RangeMode() const;
    // The index list of the current mode.
    TComboBox *CurrentList() const;

private:
    void ShowWeights(int32_t Which);
    void UpdateFixedFixed();
};

extern TCoOccurrenceOpts *CoOccurrenceOpts;
