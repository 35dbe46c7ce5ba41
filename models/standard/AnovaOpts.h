#pragma once
// The one-way ANOVA test's options dialog: the label and value columns and the run settings.
#include "workspace/TwoColumnOpts.h"

class TAnovaOpts : public TTwoColumnOpts
{
public:
    explicit TAnovaOpts(TComponent *AOwner);

    TLabel *LabelsLabel, *YvariableLabel;
    TComboBox *LabelsList, *YvariableList;
    int32_t CurrentLabel_Column = 0;
    int32_t CurrentY_Column = 1;

    void RunButtonClick(TObject *Sender) { Run1Click(Sender); }
    void CancelButtonClick(TObject *Sender) { Cancel1Click(Sender); }
    void HelpButtonClick(TObject *Sender) { Help1Click(Sender); }
    void Button2Click(TObject *) { ResetDefaults(); }
};

extern TAnovaOpts *AnovaOpts;
