#pragma once
// The chi-square randomization test and its results window: the chi-square of the main grid's
// counts against the options' expected matrix, against the same statistic on tables placed
// anew under one of three null models.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "models/standard/ChiSquareSims.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixTypes.h"

#include <QString>
#include <cstdint>
#include <vector>

class TChiSquareShell : public TForm
{
public:
    explicit TChiSquareShell(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *ExpectedSheet, *SimulationSheet, *ChiSquareSheet, *SummarySheet, *TimeSheet;
    TStringGrid *InputGrid, *ExpectedGrid, *SimulationGrid;
    TGroupBox *ObservedGroup, *HistogramGroup;
    TMemo *ObservedChiSquareMemo, *ChiSquareHistogramMemo, *ChiSquareHistogramMemo2, *ChiSquareMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *Summary1, *Close1, *Help1;

    Matrix O_Mat, S_Mat;
    Real_Matrix E_Mat;
    int32_t Maxc = 0, Maxr = 0;
    double RVar = 0;
    double Observed_F = 0;
    QString Observed_F_s;
    double MFRatios = 0, VFRatios = 0;
    double FRatioP1 = 0, FRatioP2 = 0;
    int32_t lFRatio = 0, eFRatio = 0, gFRatio = 0;
    double Ses = 0;
    QString Ses_string;
    std::vector<double> SpeciesNumberLine, SitesNumberLine;
    int32_t CurrentSeed = 0;
    QString its, s_m, s_v, fP1, fP2, s_lf, s_ef, s_gf, obsFRatio, hstFRatio, hstFRatio2;

    void Run();
    bool Init();
    void InitMatrices();
    void CalculateChiSquare_Observed();
    void CalculateChiSquare_Simulated();
    void SetUpProportionalRows();
    void SetUpProportionalColumns();
    void SimulationOptions();
    void RandomizeMatrix();
    void RandomizeColumns();
    void RandomizeRows();

    void StatsToStrings();
    void MeanDisplay();
    void InputGridDisplay();
    void ExpectedGridDisplay();
    void SimulationDisplay();
    void DisplayColumnTitles(TStringGrid *Grid);
    void DisplayRowTitles(TStringGrid *Grid);
    void SummaryDisplay();

    void Summary1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void SaveSummaryButtonClick(TObject *Sender) { Summary1Click(Sender); }
    void CloseButtonClick(TObject *Sender) { Close1Click(Sender); }
    void HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

private:
    TStatisticPage page_{};
    TSimContext context_;
    TEventSlice slice_{context_};
    TCumulativeLine rows_, cols_;
    int32_t iterations_ = 0;
};

extern TChiSquareShell *ChiSquareShell;
