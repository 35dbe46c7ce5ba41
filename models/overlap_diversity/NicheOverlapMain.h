#pragma once
// The Niche Overlap run and its results window: the mean and the variance of the pairwise niche
// overlaps of the main grid's resource-use matrix against those of randomized matrices.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/Strings.h"
#include "grid/core/ProGrid.h"
#include "models/overlap_diversity/NicheOverlapSims.h"

#include <QString>
#include <cstdint>
#include <vector>

class TNicheOverlap : public TForm
{
public:
    explicit TNicheOverlap(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *PairwiseSheet, *PairwiseColumnSheet, *MeanSheet, *VarianceSheet,
        *SummarySheet, *TimeSheet;
    TStringGrid *InputGrid;
    TLabel *SimulationLabel;
    TStringGrid *SimulationGrid;
    TStringGrid *ResponseGrid;
    TProStringGrid *ProStringGrid1;
    TGroupBox *ObservedMeanGroup, *MeanHistogramGroup, *ObservedVarianceGroup, *VarianceHistogramGroup;
    TMemo *MeanMemo, *ObservedMeanMemo, *MeanHistogramMemoLow, *MeanHistogramMemoHigh, *MeanHistogramMemo2,
        *MeanHistogramMemo;
    TMemo *VarianceMemo, *ObservedVarianceMemo, *VarianceHistogramMemoLow, *VarianceHistogramMemoHigh,
        *VarianceHistogramMemo2, *VarianceHistogramMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *Summary1, *Pairwise1, *PairwiseSpace1, *PairwiseComma1, *PairwiseExcel1, *PairwiseColumn1,
        *PairwiseColumnSpace1, *PairwiseColumnComma1, *PairwiseColumnExcel1, *Close1, *Help1;

    // The matrices, the pair count and the randomizations of the run.
    TNicheOverlapSims Sims;

    int32_t Seed = 0;
    int32_t CurrentSeed = 0;
    // Of the observed pair values.
    double Mean = 0, Variance = 0;
    // Of the simulated means and of the simulated variances.
    double mmeans = 0, vmeans = 0;
    double mvariances = 0, vvariances = 0;
    // Lower and upper tail fractions.
    double meanP1 = 0, meanP2 = 0, varianceP1 = 0, varianceP2 = 0;
    // Simulated values above, equal to (within 1e-15) and below the observed one.
    int32_t lmean = 0, emean = 0, gmean = 0;
    int32_t lvariance = 0, evariance = 0, gvariance = 0;
    double ses = 0;
    // The observed pair values as the pair tables show them.
    TStringList ObservedPairs;
    // Mean and variance of the pair values of every simulated matrix, as computed.
    std::vector<double> SimMeans, SimVariances;

    void Run();
    bool Init();
    void Calculate_Row_Pairs();
    void SetUpMatrices();
    bool ZeroRows_Test();
    void StandardizeMatrix();
    void StandardizeSimMatrix();
    void ImplementResourceState();
    void UserDefined();
    void PiankaIndexArray(TStrings &List);
    void CzekanowskiIndexArray(TStrings &List);
    void RandomizeMatrix();

    // Statistics, histograms and every display of a finished run, from Mean, Variance,
    // ObservedPairs, SimMeans, SimVariances and the last simulated matrix.
    void ShowResults();
    void StatsToStrings();
    void SimulationDisplay();
    void InputGridDisplay();
    void MeanDisplay();
    void VarianceDisplay();
    void SummaryDisplay();
    void ResponseDisplay();
    void PairwiseColumnDisplay();

    void Summary1Click(TObject *Sender);
    void PairwiseSpace1Click(TObject *Sender);
    void PairwiseComma1Click(TObject *Sender);
    void PairwiseColumnSpace1Click(TObject *Sender);
    void PairwiseColumnComma1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);

private:
    // The texts of one statistic's block.
    struct TBlockText
    {
        QString Observed, Mean, Variance, P1, P2, Ses, Position;
        QString Edges, Low, High, Counts;
    };
    // Shows the form, or saves the batch summary in batch mode.
    void Finish();
    bool saveGrid(TStringGrid *Grid, bool Comma);
    int32_t index() const;

    TBlockText mean_, variance_;
};

extern TNicheOverlap *NicheOverlap;
