#pragma once
// The Macroecology results window and its run: the chosen X and Y columns as a
// point cloud, its six statistics against randomized clouds, in memos, a
// summary and four charts.
#include "framework/charts/Chart.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "models/macroecology/MacroecologySims.h"
#include "workspace/SimContext.h"

#include <QString>
#include <cstdint>
#include <vector>

class TMacroEcology : public TForm
{
public:
    explicit TMacroEcology(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *DispersionSheet, *SlopeSheet, *RegressionChartsSheet, *MeanSheet,
        *SquaresSheet, *BoundaryMeanSheet, *BoundarySquaresSheet, *BoundaryChartsSheet, *SummarySheet, *TimeSheet;
    TStringGrid *InputGrid, *SimulationGrid, *StandardizedGrid;
    // Statistic pages: the observed value beside the histogram's low edges, high
    // edges and counts, the result lines below, and the hidden bin-edge text of
    // the summary.
    TGroupBox *DispersionObservedGroup, *DispersionHistogramGroup, *SlopeObservedGroup, *SlopeHistogramGroup,
        *MeanObservedGroup, *MeanHistogramGroup, *SquaresObservedGroup, *SquaresHistogramGroup,
        *BoundaryMeanObservedGroup, *BoundaryMeanHistogramGroup, *BoundarySquaresObservedGroup,
        *BoundarySquaresHistogramGroup;
    TMemo *ObservedDispersionVarianceMemo, *DispersionHistogramMemoLow, *DispersionHistogramMemoHigh,
        *DispersionHistogramMemo2, *DispersionMemo, *DispersionHistogramMemo;
    TMemo *ObservedCOmeanMemo, *COMeanHistogramMemoLow, *COMeanHistogramMemoHigh, *COMeanHistogramMemo2, *SlopeMemo,
        *COMeanHistogramMemo;
    TMemo *ObservedMeanMemo, *MeanHistogramMemoLow, *MeanHistogramMemoHigh, *MeanHistogramMemo2, *MeanMemo,
        *MeanHistogramMemo;
    TMemo *SquaresObservedMemo, *SquaresHistogramMemoLow, *SquaresHistogramMemoHigh, *SquaresHistogramMemo2,
        *SquaresMemo, *SquaresHistogramMemo;
    TMemo *BoundaryObservedMeanMemo, *BoundaryMeanHistogramMemoLow, *BoundaryMeanHistogramMemoHigh,
        *BoundaryMeanHistogramMemo2, *BoundaryMeanMemo, *BoundaryMeanHistogramMemo;
    TMemo *BoundarySquaresObservedMemo, *BoundarySquaresHistogramMemoLow, *BoundarySquaresHistogramMemoHigh,
        *BoundarySquaresHistogramMemo2, *BoundarySquaresMemo, *BoundarySquaresHistogramMemo;
    TChart *Chart1, *Chart2, *Chart3, *Chart4;
    TPointSeries *Series1, *Series3, *Series5, *Series7;
    TLineSeries *Series2, *Series4, *Series6, *Series8;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *Summary1, *N1, *Close1, *Help1;

    // The cloud (observed, or randomized during an iteration) and the observed
    // values sorted.
    std::vector<double> xVariableList, yVariableList, xVarsSorted, yVarsSorted;
    // The box of the current computation and the boundary segment it drew.
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    double BoundaryX1 = 0, BoundaryY1 = 0, BoundaryX2 = 0, BoundaryY2 = 0;

    int32_t CurrentSeed = 0;
    QString its;

    // Observed statistics and one iteration's.
    int32_t Observed_WithinSpace = 0, Observed_BoundaryWithinSpace = 0;
    double Observed_Coefficient = 0, Observed_SumSquares = 0, Observed_Variance = 0, Observed_BoundaryCoefficient = 0,
           Observed_BoundarySumSquares = 0;
    int32_t Sims_WithinSpace = 0, Sims_BoundaryWithinSpace = 0;
    double Sims_Coefficient = 0, Sims_SumSquares = 0, Sims_Variance = 0, Sims_BoundaryCoefficient = 0,
           Sims_BoundarySumSquares = 0;
    // Simulated values, one per iteration.
    std::vector<double> SimSpaces, SimBoundarySpaces, SimSumSquares, SimBoundarySumSquares, SimCOEfficients,
        SimVariances;

    // Shape points.
    double Mmeans = 0, Vmeans = 0, meanP1 = 0, meanP2 = 0, ses = 0;
    int32_t lmean = 0, emean = 0, gmean = 0;
    QString m, mm, vm, mp1, mp2, lm, em, gm, ses_string, obsMean, hstMean, hstMean2, hstMeanL, hstMeanH;
    // Boundary points.
    double B_Mmeans = 0, B_Vmeans = 0, B_meanP1 = 0, B_meanP2 = 0, B_ses = 0;
    int32_t B_lmean = 0, B_emean = 0, B_gmean = 0;
    QString B_m, B_mm, B_vm, B_mp1, B_mp2, B_lm, B_em, B_gm, B_ses_string, B_obsMean, B_hstMean, B_hstMean2, B_hstMeanL,
        B_hstMeanH;
    // Shape sum of squares.
    double SquaresMmeans = 0, SquaresVmeans = 0, SquaresMeanP1 = 0, SquaresMeanP2 = 0, SquaresSes = 0;
    int32_t SquaresLmean = 0, SquaresEmean = 0, SquaresGmean = 0;
    QString Squaresm, Squaresmm, Squaresvm, Squaresmp1, Squaresmp2, Squareslm, Squaresem, Squaresgm, SquaresSes_string,
        SquaresObsMean, SquaresHstMean, SquaresHstMean2, SquareshstMeanL, SquareshstMeanH;
    // Boundary sum of squares.
    double BoundarySquaresMmeans = 0, BoundarySquaresVmeans = 0, BoundarySquaresMeanP1 = 0, BoundarySquaresMeanP2 = 0,
           BoundarySquaresSes = 0;
    int32_t BoundarySquaresLmean = 0, BoundarySquaresEmean = 0, BoundarySquaresGmean = 0;
    QString BoundarySquaresm, BoundarySquaresmm, BoundarySquaresvm, BoundarySquaresmp1, BoundarySquaresmp2,
        BoundarySquareslm, BoundarySquaresem, BoundarySquaresgm, BoundarySquaresSes_string, BoundarySquaresObsMean,
        BoundarySquaresHstMean, BoundarySquaresHstMean2, BoundarySquareshstMeanL, BoundarySquareshstMeanH;
    // Regression slope.
    double COmeans = 0, COVmeans = 0, COmeanP1 = 0, COmeanP2 = 0, COSes = 0;
    int32_t COlmean = 0, COemean = 0, COgmean = 0;
    QString COm, COmm, COvm, COmp1, COmp2, COlm, COEm, COGm, CoSes_string, obsCOMean, hstCOMean, hstCOMean2, hstCOMeanL,
        hstCOMeanH;
    // Dispersion.
    double DispMmeans = 0, DispVmeans = 0, DispmeanP1 = 0, DispmeanP2 = 0, dispSes = 0;
    int32_t Displmean = 0, Dispemean = 0, Dispgmean = 0;
    QString Dispm, Dispmm, Dispvm, Dispmp1, Dispmp2, Displm, Dispem, Dispgm, DispSes_string, obsDispMean, hstDispMean,
        hstDispMean2, hstDispMeanL, hstDispMeanH;

    void Run();
    // The checks and the seeding; false after a message.
    bool Init();
    // Reads the chosen columns into the cloud and the sorted arrays.
    void InitMatrices();
    // The statistics of the current cloud in the current box; Index is the
    // iteration (0 for the observed cloud). The lines stand on the box's
    // mid-points or on the observed medians.
    void Do_Symmetric(int32_t Index, int32_t &WithinSpace, double &Coefficient, double &SumSquares, double &Variance,
                      double &BoundaryCoefficient, int32_t &BoundaryWithinSpace, double &BoundarySumSquares);
    void Do_Asymmetric(int32_t Index, int32_t &WithinSpace, double &Coefficient, double &SumSquares, double &Variance,
                       double &BoundaryCoefficient, int32_t &BoundaryWithinSpace, double &BoundarySumSquares);
    // One iteration: the cloud randomized by the constraints item, then its
    // statistics.
    void DoSims(int32_t Index, int32_t &WithinSpace, double &Coefficient, double &SumSquares, double &Variance,
                double &BoundaryCoefficient, int32_t &BoundaryWithinSpace, double &BoundarySumSquares);

    void StatsToStrings();
    void MeanDisplay();
    void BoundaryDisplay();
    void SquaresDisplay();
    void BoundarySquaresDisplay();
    void SlopeDisplay();
    void DispersionDisplay();
    void SummaryDisplay();
    void InputGridDisplay();
    void SimulationDisplay();
    void DisplayColumnTitles(TStringGrid *Grid);
    void DisplayRowTitles(TStringGrid *Grid);
    void ObservedChartDisplay();
    void SimulatedChartDisplay();
    void ObservedRegressionDisplay(double Slope);
    void SimulatedRegressionDisplay(double Slope);

    void Summary1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void SaveSummaryButtonClick(TObject *Sender) { Summary1Click(Sender); }
    void CloseButtonClick(TObject *Sender) { Close1Click(Sender); }
    void HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

private:
    void statistics(bool Asymmetric, int32_t &WithinSpace, double &Coefficient, double &SumSquares, double &Variance,
                    double &BoundaryCoefficient, int32_t &BoundaryWithinSpace, double &BoundarySumSquares);
    void chartDisplay(TPointSeries *Points, TLineSeries *Line);
    double largestObservedX() const { return xVarsSorted.empty() ? 0.0 : xVarsSorted.back(); }
    TSimContext context_;
    // The x sums of the slope, taken at the first shuffle of the y values and kept while the x
    // values stay: dropped when the lists are read again or a law draws new x values.
    TMacroXSums xSums_;
    bool xSumsTaken_ = false;
    bool useXSums_ = false;
    int32_t iterations_ = 0;
    int32_t xColumn_ = 1, yColumn_ = 2;
};

extern TMacroEcology *MacroEcology;
