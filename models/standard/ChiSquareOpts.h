#pragma once
// The chi-square test's options dialog and its expected matrix: by default the contingency
// table's expected counts, editable, readable from and writable to a text file.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

class TChiSquareOpts : public TForm
{
public:
    explicit TChiSquareOpts(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet, *GeneralSheet;
    TRadioGroup *RandomizationGroup;
    TGroupBox *ExpectedGroup;
    TStringGrid *ExpectedGrid;
    TLabel *IterationsLabel, *RandomSeedLabel, *FileLabel;
    TEdit *FileEdit;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
    TOpenDialog *OpenDialog1;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Expectedmatrix1, *Calculateexpectedmatrix2, *N1, *Open1, *SaveAs1;
    TMenuItem *Run1, *Cancel1, *Help1, *resetDefaults1;

    bool FirstTime = true;
    std::vector<double> RowTotal, ColTotal;
    double MatrixTotal = 0;
    std::vector<int32_t> IntegerRowTotal, IntegerColTotal;
    int32_t IntegerMatrixTotal = 0;

    // Sizes ExpectedGrid like the main grid and fills it with row total x column total / grand
    // total; false, with a message, when a data cell is no integer.
    bool CalculateExpectedMatrix();
    void ResetDefaults();
    // Fills ExpectedGrid from a file's bytes, cells split at spaces and commas, rows at line
    // ends; the grid keeps its size.
    void ReadExpectedMatrix(const QByteArray &Bytes);

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Calculateexpectedmatrix2Click(TObject *Sender);
    void Open1Click(TObject *Sender);
    void SaveAs1Click(TObject *Sender);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void resetDefaults1Click(TObject *Sender);
    void Batch() { FirstTime = true; }
};

extern TChiSquareOpts *ChiSquareOpts;
