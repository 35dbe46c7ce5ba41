#pragma once
// The regression test's options dialog: the X and Y columns and the run settings.
#include "workspace/TwoColumnOpts.h"

class TRegressionOpts : public TTwoColumnOpts
{
public:
    explicit TRegressionOpts(TComponent *AOwner);

    TLabel *XvariableLabel, *YvariableLabel;
    TComboBox *XvariableCList, *YvariableCList;
    int32_t CurrentX_Column = 0;
    int32_t CurrentY_Column = 1;

    void RunButtonClick(TObject *Sender) { Run1Click(Sender); }
    void CancelButtonClick(TObject *Sender) { Cancel1Click(Sender); }
    void HelpButtonClick(TObject *Sender) { Help1Click(Sender); }
    void Button1Click(TObject *) { ResetDefaults(); }
};

extern TRegressionOpts *RegressionOpts;
