#pragma once
// The Co-occurrence and Range Overlap run and its results window: the observed index of the
// main grid's presence-absence matrix against the same index on simulated matrices.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "grid/core/ProGrid.h"
#include "models/presence_absence/CoOccurrenceSims.h"
#include "workspace/TarvixTypes.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

class TCoOccurrence : public TForm
{
public:
    explicit TCoOccurrence(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *PairwiseSheet, *PairwiseColumnSheet, *IndexSheet, *DegenerateSheet,
        *SummarySheet, *TimeSheet;
    TStringGrid *InputGrid;
    TLabel *SimulationLabel;
    TStringGrid *SimulationGrid;
    TStringGrid *ResponseGrid;
    TProStringGrid *ProStringGrid1;
    TGroupBox *ObservedGroup, *HistogramGroup, *Split_ObservedGroup, *Split_HistogramGroup;
    TMemo *ObservedMeanMemo, *MeanHistogramMemoLow, *MeanHistogramMemoHigh, *MeanHistogramMemo2, *MeanHistogramMemo,
        *MeanMemo;
    TMemo *Split_ObservedMemo, *Split_MeanHistogramMemoLow, *Split_MeanHistogramMemoHigh, *Split_MeanHistogramMemo2,
        *Split_MeanHistogramMemo, *Split_MeanMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *Summary1, *Pairwise1, *PairwiseSpace1, *PairwiseComma1, *PairwiseColumn1, *PairwiseColumnSpace1,
        *PairwiseColumnComma1, *Close1, *Help1;

    // The generators of the run; they keep the sequential-swap chain and the weight vectors.
    TCoOccurrenceSims Sims;

    Matrix O_Mat, S_Mat, F_Mat;
    int32_t Seed = 0;
    int32_t CurrentSeed = 0;
    int32_t Iterations = 0;
    int32_t Row_Pairs = 0;
    double Mean = 0, Variance = 0;
    double mmeans = 0, vmeans = 0;
    double meanP1 = 0, meanP2 = 0;
    int32_t lmean = 0, emean = 0, gmean = 0;
    double ses = 0;
    double split_mmeans = 0, split_vmeans = 0;
    double split_meanP1 = 0, split_meanP2 = 0;
    int32_t split_lmean = 0, split_emean = 0, split_gmean = 0;
    double split_ses = 0;
    // Follow the sequential-swap chain swap by swap rather than count every matrix in full;
    // the results are the same either way.
    bool FollowSwapChain = true;
    // Entries in the non-degenerate and the degenerate list.
    int32_t SimCount = 0;
    int32_t SplitCount = 0;

    void Run();
    bool Init();
    // False, after one message, when a data cell holds a text that is no number.
    bool InitMatrices();
    void InitGlobalVariables();
    bool CheckUserWeightCounts();
    void Calculate_Row_Pairs();
    void Do_Observed(int32_t Pairs, std::span<double> PairList, Matrix &M);
    void Do_Sim(int32_t Pairs, std::span<double> PairList, double &SimMean, double &SimVariance, Matrix &M);

    // Display steps of a finished run.
    void StatsToStrings();
    void SimulationDisplay();
    void DisplayColumnTitles(TStringGrid *Grid);
    void DisplayRowTitles(TStringGrid *Grid);
    void DisplayRowInColumnTitles(TStringGrid *Grid);
    void InputGridDisplay();
    void MeanDisplay();
    void Split_MeanDisplay();
    void SummaryDisplay();
    void ResponseDisplay(std::span<const double> PairList);
    void PairwiseColumnDisplay();

    void Summary1Click(TObject *Sender);
    void PairwiseSpace1Click(TObject *Sender);
    void PairwiseComma1Click(TObject *Sender);
    void PairwiseColumnSpace1Click(TObject *Sender);
    void PairwiseColumnComma1Click(TObject *Sender);
    void Close1Click(TObject *Sender);

private:
    // The texts of one statistic's block, shared by the index and the degenerate index.
    struct TBlockText
    {
        QString Observed, Mean, Variance, P1, P2, Ses, Position;
        QString Edges, Low, High, Counts;
        int32_t Less = 0, Equal = 0, Greater = 0;
    };
    // Mean, variance, tails and histogram of the first Count entries of a list.
    void ListStatistics(std::span<double> List, int32_t Count, double &M, double &V, double &P1, double &P2,
                        int32_t &Less, int32_t &Equal, int32_t &Greater, double &Ses, TBlockText &Text);
    // The index of one matrix from its (compacted) cells; Pairs receive the pair values.
    double MatrixIndex(std::span<double> PairList, Matrix &M, double *PairVariance);
    TPresenceIndex IndexInUse() const;
    bool PairwiseShown() const;
    // Shows the form, or saves the batch summary in batch mode.
    void Finish();
    bool saveGrid(TStringGrid *Grid, bool Comma, const QString &DefaultName);

    // Grid species row of each live species, in order; pair values of the live species are
    // written back under these rows.
    std::vector<int32_t> liveRows_;
    TBlockText index_, split_;
};

extern TCoOccurrence *CoOccurrence;
