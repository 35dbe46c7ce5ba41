#pragma once
// The regression randomization test and its results window: slope, y-intercept and r of y on x
// against the same statistics with the y values shuffled among the rows.
#include "framework/charts/Chart.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "workspace/AnalysisSupport.h"

#include <QString>
#include <cstdint>
#include <array>
#include <vector>

class TRegressionShell : public TForm
{
public:
    explicit TRegressionShell(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *ChartsSheet, *InterceptSheet, *SlopeSheet, *RSheet, *SummarySheet,
        *TimeSheet;
    TStringGrid *InputGrid, *SimulationGrid;
    TChart *Chart3, *Chart4;
    TPointSeries *Series5, *Series7;
    TLineSeries *Series6, *Series8;
    TGroupBox *InterceptObservedGroup, *InterceptHistogramGroup, *SlopeObservedGroup, *SlopeHistogramGroup,
        *RObservedGroup, *RHistogramGroup;
    TMemo *ObservedInterceptMemo, *InterceptHistogramMemo, *InterceptHistogramMemo2, *InterceptMemo;
    TMemo *ObservedSlopeMemo, *SlopeHistogramMemo, *SlopeHistogramMemo2, *SlopeMemo;
    TMemo *ObservedRMemo, *RHistogramMemo, *RHistogramMemo2, *RMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *SuMmary1, *N1, *Close1, *Help1;

    std::vector<double> xVariableList, yVariableList, XVarsSorted;
    std::vector<double> SimCOEfficients, SimIntercepts, SimCCs;
    double Observed_Coefficient = 0, Observed_Intercept = 0, Observed_cc = 0;
    double Sims_Coefficient = 0, Sims_Intercept = 0, Sims_cc = 0;
    int32_t CurrentSeed = 0;
    QString its;
    // Slope.
    double Mmeans = 0, Vmeans = 0, meanP1 = 0, meanP2 = 0, ses = 0;
    int32_t lmean = 0, emean = 0, gmean = 0;
    QString m, mm, vm, mp1, mp2, lm, em, gm, ses_string, obsMean, hstMean, hstMean2;
    // Y-intercept.
    double I_Mmeans = 0, I_Vmeans = 0, I_meanP1 = 0, I_meanP2 = 0, I_ses = 0;
    int32_t I_lmean = 0, I_emean = 0, I_gmean = 0;
    QString I_m, I_mm, I_vm, I_mp1, I_mp2, I_lm, I_em, I_gm, I_ses_string, I_obsMean, I_hstMean, I_hstMean2;
    // r.
    double r_Mmeans = 0, r_Vmeans = 0, r_meanP1 = 0, r_meanP2 = 0, r_ses = 0;
    int32_t r_lmean = 0, r_emean = 0, r_gmean = 0;
    QString r_m, r_mm, r_vm, r_mp1, r_mp2, r_lm, r_em, r_gm, r_ses_string, r_obsMean, r_hstMean, r_hstMean2;

    void Run();
    bool Init();
    void InitMatrices();
    void Do_Regression(double &Slope, double &Intercept, double &R);
    void RandomizeLists();
    void StatsToStrings();
    void SlopeDisplay();
    void InterceptDisplay();
    void rDisplay();
    void SummaryDisplay();
    void SimulationDisplay();
    void ObservedRegressionDisplay(double Slope);
    void SimulatedRegressionDisplay(double Slope);

    void SuMmary1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void SaveSummaryButtonClick(TObject *Sender) { SuMmary1Click(Sender); }
    void CloseButtonClick(TObject *Sender) { Close1Click(Sender); }
    void HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

private:
    TStatisticPage pages_[3]{};
    int32_t iterations_ = 0;
    int32_t xColumn_ = 1, yColumn_ = 2;
};

extern TRegressionShell *RegressionShell;
