#pragma once
// The Size Overlap run and its results window: the spacing of the sizes of one column against
// the spacing of size sets drawn from the chosen source.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "models/overlap_diversity/SizeOverlapSims.h"

#include <QString>
#include <cstdint>
#include <vector>

class TSizeOverlap : public TForm
{
public:
    explicit TSizeOverlap(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *SegmentsSheet, *SizeHistogramSheet, *SizeOverlapSheet, *SummarySheet,
        *TimeSheet;
    TStringGrid *InputColumnGrid, *SimulationGrid, *SegmentsGrid;
    TGroupBox *SizeHistogramGroup;
    TMemo *SizeHistogramMemoLow, *SizeHistogramMemoHigh, *SizeHistogramMemo2, *SizeHistogramNotesMemo,
        *SizeHistogramMemo;
    TGroupBox *ObservedGroup, *HistogramGroup;
    TMemo *ObservedMeanMemo, *MeanMemo, *MeanHistogramMemoLow, *MeanHistogramMemoHigh, *MeanHistogramMemo2,
        *MeanHistogramMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *SuMmary1, *N1, *Close1, *Help1;

    // The size routines of the run; they keep the source parameters the summary reports.
    TSizeOverlapSims Sims;

    std::vector<double> DataNumberLine, TransformedNumberLine, UntransformedNumberLine, SimulatedNumberLine,
        SegmentsNumberLine, MetricList, SizeHistogramList;
    double Observed = 0, Mean = 0, Variance = 0;
    double P1 = 0, P2 = 0;
    int32_t lmean = 0, emean = 0, gmean = 0;
    double ses = 0;
    double SH_Mean = 0, SH_Variance = 0;
    int32_t Iterations = 0, Seed = 0, CurrentSeed = 0, NonZeroRows = 0, Segments = 0;
    QString it_s, Observed_s, Mean_s, Variance_s, P1_s, P2_s, ses_s, lmean_s, emean_s, gmean_s, SH_Mean_s,
        SH_Variance_s, Obsm, hstm, hstm2, SH_hstm, SH_hstm2;

    void Run();
    bool Init();
    // The main grid's column c into the input grid, its sizes > 0 into Line in row order.
    void ColumnToNumberLine(int32_t c, std::vector<double> &Line);
    void StatsToStrings();
    void MeanDisplay();
    void SummaryDisplay();
    void SimulationDisplay(int32_t n, const std::vector<double> &Line);
    void SegmentsDisplay(int32_t Count, const std::vector<double> &Segment);

    void SuMmary1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    // Not bound to a control.
    void SaveSummaryButtonClick(TObject *Sender);
    void SaveButtonClick(TObject *Sender);
    void CloseButtonClick(TObject *Sender);
    void HelpButtonClick(TObject *Sender);

private:
    // Reads the options, the user parameters and the histogram table into the size routines.
    void ReadChoices();
    // Ends a run that failed: progress window closed, stop request set.
    void Abort(const QString &Message);
    void SaveSummary(const QString &FileName);
    // Shows the window, or saves the batch summary in batch mode.
    void Finish();
    // Edge columns of the size histogram.
    QString shLow_, shHigh_;
    QString low_, high_;
};

extern TSizeOverlap *SizeOverlap;
