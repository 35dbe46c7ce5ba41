#pragma once
// The Macroecology options dialog: the X and Y columns, the placement of the
// lines, the null model with its parameter dialogs, the shape and the boundary
// corner. The run reads the groups while it works, so their item order is part
// of its interface (see MacroecologySims.h).
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "workspace/TwoColumnOpts.h"

#include <cstdint>

class TMacroecologyOpts : public TTwoColumnOpts
{
public:
    explicit TMacroecologyOpts(TComponent *AOwner);

    TLabel *XvariableLabel, *YvariableLabel;
    TComboBox *XvariableList, *YvariableList;
    TRadioGroup *SymmetryGroup, *ConstraintsGroup, *PatternGroup, *BoundaryGroup;
    TButton *EditButton;
    TSpeedButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4, *SpeedButton5, *SpeedButton6,
        *SpeedButton7, *SpeedButton8;

    // The choices kept between two showings: list items and group items.
    int32_t CurrentX_Column = 0;
    int32_t CurrentY_Column = 1;
    int32_t Current_Pattern = 0;
    int32_t Current_Symmetry = 0;
    int32_t Current_Constraint = 0;
    int32_t Current_Boundary = 0;

    // Opens the parameter dialog of a user-defined law; "&Edit" shows for those
    // laws only.
    void ConstraintsGroupClick(TObject *Sender);
    void EditButtonClick(TObject *Sender);
    void resetDefaults() { ResetDefaults(); }

protected:
    void ShowMore() override;
    void CloseMore() override;
    void ResetMore() override;
};

extern TMacroecologyOpts *MacroecologyOpts;
