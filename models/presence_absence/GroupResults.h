#pragma once
// The results window that guild structure and species overlap share, with its run: the group
// index of every labelled group of the data against the same after each randomization, summed up
// by the mean and the variance of the group indices across groups.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "models/presence_absence/GroupSims.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TGroupOpts;

class TGroupResults : public TForm
{
public:
    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *GuildsRegionsSheet, *PairwiseSheet, *MeanSheet, *VarianceSheet,
        *FavoredStatesSheet, *SummarySheet, *DiagnosticsSheet, *TimeSheet;
    TStringGrid *InputGrid, *SimulationGrid, *GuildsRegionsGrid;
    TMemo *ObservedMeanMemo, *MeanHistogramMemoLow, *MeanHistogramMemoHigh, *MeanHistogramMemo2, *MeanHistogramMemo,
        *MeanMemo;
    TMemo *ObservedVarianceMemo, *VarianceHistogramMemoLow, *VarianceHistogramMemoHigh, *VarianceHistogramMemo2,
        *VarianceHistogramMemo, *VarianceMemo;
    TMemo *ObservedFavoredStatesMemo, *FSHistogramMemoLow, *FSHistogramMemoHigh, *FavoredStatesHistogramMemo2,
        *FavoredStatesHistogramMemo, *FavoredStatesMemo;
    TMemo *Memo1, *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *SuMmary1, *Close1, *Help1;

    // The engine of the run: work grid, labels, shuffles, per-iteration values and statistics.
    TGroupRun Engine;

    int32_t Iterations = 0;
    int32_t Seed = 0, CurrentSeed = 0;
    // Observed mean statistic; the variance of the last group's C-score units; the observed
    // variance statistic and favored-states count.
    double Mean = 0, Variance = 0, ObservedVariance = 0, ObservedFavoredStates = 0;
    double mmeans = 0, vmeans = 0, mvariances = 0, vvariances = 0, mfavoredstates = 0, vfavoredstates = 0;
    double meanP1 = 0, meanP2 = 0, varianceP1 = 0, varianceP2 = 0, favoredStatesP1 = 0, favoredStatesP2 = 0;
    int32_t lmean = 0, emean = 0, gmean = 0, lvariance = 0, evariance = 0, gvariance = 0;
    int32_t lfavoredstates = 0, efavoredstates = 0, gfavoredstates = 0;
    std::vector<double> m_guildregion, v_guildregion;

    void Run();
    bool Init();
    void StatsToStrings();
    void MeanDisplay();
    void VarianceDisplay();
    void FavoredStatesDisplay();
    void SummaryDisplay();
    void GuildsDisplay();
    void RegionsDisplay();
    void InputGridDisplay();
    void DisplayColumnTitles(TStringGrid *Grid);
    void DisplayRowTitles(TStringGrid *Grid);
    // The work grid's current texts into SimulationGrid, titles included.
    void SimulationDisplay();

    void SuMmary1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);

protected:
    TGroupResults(TComponent *AOwner, const char *Name, const QString &Caption, const QString &TableTab);
    TMenuItem *AddCommand(TMenuItem *Parent, const char *Name, const QString &Caption,
                          void (TGroupResults::*Handler)(TObject *) = nullptr);

    // What differs between the analyses.
    virtual TGroupOpts *Options() const = 0;
    virtual QString ModelName() const = 0;
    // Grid shape and iteration limits; false after the message (and the stop request).
    virtual bool CheckShape() = 0;
    virtual int32_t IterationLimit() const = 0;
    virtual QString IterationLimitMessage() const = 0;
    virtual QString TooFewMessage() const = 0;
    // A group without any presence ends the run.
    virtual bool RequirePresence() const = 0;
    virtual int32_t IndexKind() const = 0;
    // -1: label shuffle; else the randomization item.
    virtual int32_t Randomization() const = 0;
    virtual bool FavoredStatesChecked() const = 0;
    virtual QString TableHeader() const = 0;
    virtual QString TableTitle() const = 0;
    virtual QStringList SettingLines() const = 0;
    virtual bool FavoredBlock() const = 0;

    int32_t GroupingItem() const;

private:
    void GroupTableDisplay(const QString &FirstHeader);
    void Finish();
};
