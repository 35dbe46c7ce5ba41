#pragma once
// The runs test's options dialog. The run reads its controls while it works, so the item order
// of every list is part of its interface.
#include "framework/controls/ExtCtrls.h"
#include "workspace/TwoColumnOpts.h"

#include <cstdint>

class TRunsTestOpts : public TTwoColumnOpts
{
public:
    explicit TRunsTestOpts(TComponent *AOwner);

    TLabel *XvariableLabel, *YvariableLabel;
    TComboBox *XvariableList, *YvariableList;
    TRadioGroup *SimulationGroup, *SamplingAlgorithmGroup, *DataTypeGroup;

    // The list items restored when the dialog shows again.
    int32_t CurrentX_Column = 0;
    int32_t CurrentY_Column = 1;

protected:
    // The sampling algorithm and the data type keep their choice.
    void ResetMore() override { SimulationGroup->SetItemIndex(0); }
};

extern TRunsTestOpts *RunsTestOpts;
