#pragma once
// The runs test and its results window: the longest run of ones of a discrete Y read along a
// continuous X, and the mean and variance of X at the ones, against random sequences.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "models/standard/RunsTestSims.h"
#include "workspace/AnalysisSupport.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TRunsTestShell : public TForm
{
public:
    explicit TRunsTestShell(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *LongestRunSheet, *MeanSheet, *VarianceSheet, *SummarySheet, *TimeSheet;
    TStringGrid *InputGrid, *SimulationGrid;
    TGroupBox *LongestRunObservedGroup, *LongestRunHistogramGroup, *MeanObservedGroup, *MeanHistogramGroup,
        *VarianceObservedGroup, *VarianceHistogramGroup;
    TMemo *ObservedLongestRunMemo, *LongestRunHistogramMemo, *LongestRunHistogramMemo2, *LongestRunMemo;
    TMemo *ObservedMeanMemo, *MeanHistogramMemo, *MeanHistogramMemo2, *MeanMemo;
    TMemo *ObservedRMemo, *VarianceHistogramMemo, *VarianceHistogramMemo2, *VarianceMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *Summary1, *Close1, *Help1;

    // The sequence along X (rebuilt by every run).
    std::vector<double> xVariableList, xVarsSorted;
    std::vector<int32_t> yVariableList, yVarsSims;
    QStringList VarsLabelList, VarsLabels;
    std::vector<int32_t> xVarsUsed;
    std::vector<double> NumberLine;
    double NumberLineSum = 0;
    int32_t OnesCount = 0;
    std::vector<double> Ones;
    std::vector<int32_t> SimLongestRuns;
    std::vector<double> SimMeans, SimVariances;

    int32_t CurrentSeed = 0;
    int32_t Observed_LongestRun = 0;
    double Observed_Mean = 0, Observed_Variance = 0;
    double LR_Mmeans = 0, LR_Vmeans = 0, M_Mmeans = 0, M_Vmeans = 0, V_Mmeans = 0, V_Vmeans = 0;
    double LR_meanP1 = 0, LR_meanP2 = 0, M_meanP1 = 0, M_meanP2 = 0, V_meanP1 = 0, V_meanP2 = 0;
    int32_t LR_lmean = 0, LR_emean = 0, LR_gmean = 0;
    int32_t M_lmean = 0, M_emean = 0, M_gmean = 0;
    int32_t V_lmean = 0, V_emean = 0, V_gmean = 0;
    double LR_ses = 0, M_ses = 0, V_ses = 0;
    QString s_Observed_LongestRun, s_Observed_Mean, s_Observed_Variance;
    QString LR_mm, LR_vm, LR_mp1, LR_mp2, LR_lm, LR_em, LR_gm, LR_ses_string;
    QString M_mm, M_vm, M_mp1, M_mp2, M_lm, M_em, M_gm, M_ses_string;
    QString V_mm, V_vm, V_mp1, V_mp2, V_lm, V_em, V_gm, V_ses_string;
    QString its;
    // Observed-value positions, bin edges and bin counts of the three histograms.
    QString obsLongestRun, obsMean, obsVariance;
    QString LR_hstMean, LR_hstMean2, M_hstMean, M_hstMean2, V_hstMean, V_hstMean2;

    void Run();
    bool Init();
    void InitMatrices();
    void RandomizeMatrix();
    void StatsToStrings();
    void LongestRunDisplay();
    void MeanDisplay();
    void VarianceDisplay();
    void SimulationDisplay();
    void SummaryDisplay();

    void SaveSummaryButtonClick(TObject *Sender);
    void CloseButtonClick(TObject *Sender);
    void HelpButtonClick(TObject *Sender);

private:
    TRunsSampling sampling() const;
    TRunsDataType dataType() const;
    // The statistics routine of the chosen sampling over the current sequence.
    void sequenceStatistics(int32_t &LongestRun, double &Mean, double &Variance);
    void releaseArrays();

    TStatisticPage longestRunPage_{}, meanPage_{}, variancePage_{};
    TSimContext context_;
    TWeightedPlacer placer_{context_};
    int32_t iterations_ = 0;
    int32_t xColumn_ = 1, yColumn_ = 2;
};

extern TRunsTestShell *RunsTestShell;
