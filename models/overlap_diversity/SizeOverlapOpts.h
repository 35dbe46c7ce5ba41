#pragma once
// The Size Overlap options dialog: the analysed column, the metric, the scale, the size source and
// its parameters. The run reads its controls once at its start, so the item order of every group
// is part of its interface (see SizeOverlapSims.h).
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "models/overlap_diversity/SizeOverlapSims.h"

#include <cstdint>

class TSizeOverlapOpts : public TForm
{
public:
    explicit TSizeOverlapOpts(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet;
    TTabSheet *GeneralSheet;
    TGroupBox *GroupBox2;
    TComboBox *ColumnList;
    TRadioGroup *MetricGroup;
    TRadioGroup *TransformationGroup;
    TRadioGroup *RoundingGroup;
    TRadioGroup *BodySizeDistributionGroup;
    TRadioGroup *BodySizeDistributionGroupMain;
    TRadioGroup *BodySizeDistributionGroupC;
    TRadioGroup *UserHistogramGroup;
    TButton *EditUserDefinedButton;
    TButton *EditButton;
    TCheckBox *SaveMatrixCheckBox;
    TLabel *IterationsLabel, *RandomSeedLabel, *FileLabel;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TEdit *FileEdit;
    TMainMenu *MainMenu1;
    TMenuItem *Run1, *Cancel1, *Help1, *ResetDefaults1;

    // The column item chosen when the dialog last closed.
    int32_t CurrentColumn = 0;

    void FormShow(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void ResetDefaults1Click(TObject *Sender);
    void BodySizeDistributionGroupClick(TObject *Sender);
    void BodySizeDistributionGroupMainClick(TObject *Sender);
    void BodySizeDistributionGroupCClick(TObject *Sender);
    void EditUserDefinedButtonClick(TObject *Sender);
    // Not bound to a control: they do what the menu and the groups do.
    void RunButtonClick(TObject *Sender);
    void CancelButtonClick(TObject *Sender);
    void HelpButtonClick(TObject *Sender);
    void Button1Click(TObject *Sender);
    void BodySizeDistributionGroupAClick(TObject *Sender);
    void BodySizeDistributionGroupBClick(TObject *Sender);
    void TransformationGroupClick(TObject *Sender);
    void EditButtonClick(TObject *Sender);

    // The main grid's column titles as the column items; the first is selected.
    void ColumnTitlesToList();
    // Enables "&Edit" and shows the rounding choice for the distribution chosen, and opens the
    // parameter dialog of a user-defined one; false, with nothing changed, when the analysed
    // column holds no size > 0.
    bool BodyDistributionClicks();
    void ResetDefaults();
    // The main-grid column analysed: the column item + 1.
    int32_t AnalysedColumn() const;
    // The choices of the groups, as the size routines take them.
    TSizeOverlapOptions Choices() const;
};

extern TSizeOverlapOpts *SizeOverlapOpts;
