#pragma once
// The levels dialog of the Species Diversity analysis: one abundance level (individual-based
// runs) or sample level (sample-based runs) per line of one memo shared by both.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"

#include <QString>

class TAbundanceLevelsOpts : public TForm
{
public:
    explicit TAbundanceLevelsOpts(TComponent *AOwner);

    TMemo *Memo1;
    TButton *OKButton;
    TButton *CancelButton;

    void FormShow(TObject *Sender);
    // Warns about the first line that is not a level above 0, then closes either way.
    void OKButtonClick(TObject *Sender);
    // Puts back the text the memo held when the dialog opened.
    void CancelButtonClick(TObject *Sender);
    // Reports the first line whose integer value is not above 0, by its number from 1; only
    // warns. True when every line passes.
    bool TestUserDefined();

private:
    QString SavedText;
};

extern TAbundanceLevelsOpts *AbundanceLevelsOpts;
