#pragma once
// The resource-state weights dialog of Niche Overlap: one weight per column of the main grid,
// edited in one table and kept in weights files ("weights.txt").
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/grids/Grids.h"

#include <QString>
#include <vector>

class TNicheOverlapUserDefined : public TForm
{
public:
    explicit TNicheOverlapUserDefined(TComponent *AOwner);

    TStringGrid *SitesWeightsGrid;
    TMainMenu *MainMenu1;
    TMenuItem *OpenWeights1, *SaveWeights1, *Help1, *ResetDefaults1, *UseNewWeights1;
    TOpenDialog *OpenDialog1;
    TSaveDialog *SaveDialog1;

    // The table is rebuilt on the first show and whenever the data file changed since.
    bool FirstTime = true;
    QString CurrentFile;

    void FormShow(TObject *Sender);
    void OpenWeights1Click(TObject *Sender);
    void SaveWeights1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    // These two tell the main window's UserDefined whether the user's weights are in use: a
    // passed check sets it, a reset to the defaults clears it.
    void ResetDefaults1Click(TObject *Sender);
    void UseNewWeights1Click(TObject *Sender);

    // The main grid's column titles with "1.0" weights.
    void SetColumns();
    void OpenWeightsFile();
    // Every cell followed by one space, CR LF after every row; false when nothing was written.
    bool SaveWeightsFile();
    bool TestUserDefined();
    // Column 1 of rows 1.. read as reals: the weight of resource state 1, 2, ...
    std::vector<double> Weights() const;
};

extern TNicheOverlapUserDefined *NicheOverlapUserDefined;
