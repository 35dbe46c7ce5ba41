#pragma once
// The one-way ANOVA randomization test and its results window: the F ratio of a value column
// grouped by a label column, against the ratio with the labels shuffled among the rows.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/Strings.h"
#include "models/standard/AnovaSims.h"
#include "workspace/AnalysisSupport.h"

#include <QString>
#include <cstdint>
#include <vector>

class TAnovaShell : public TForm
{
public:
    explicit TAnovaShell(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *ObservedMeansSheet, *SimulatedMeansSheet, *FRatioSheet, *SummarySheet,
        *TimeSheet;
    TStringGrid *InputGrid, *SimulationGrid, *MeansStringGrid, *SimulatedMeansStringGrid;
    TGroupBox *ObservedGroup, *HistogramGroup;
    TMemo *ObservedVarianceMemo, *FRatioHistogramMemo, *FRatioHistogramMemo2, *FRatioMemo;
    TMemo *Memo1;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *SuMmary1, *N1, *Close1, *Help1;

    // Row labels (shuffled by the iterations), value texts (never shuffled) and values.
    TStringList LabelsList, ValuesList;
    std::vector<double> yVariableList;
    TStringList LabelsList2;
    int32_t NumLabels = 0;
    std::vector<int32_t> IndividualsList;
    std::vector<double> MeansList, VariancesList;
    double GA = 0;
    double Observed_F = 0, F = 0;
    double MFRatios = 0, VFRatios = 0, FRatioP1 = 0, FRatioP2 = 0;
    int32_t lFRatio = 0, eFRatio = 0, gFRatio = 0;
    double Ses = 0;
    int32_t CurrentSeed = 0;
    QString its, Observed_F_s, s_m, s_v, fP1, fP2, s_lf, s_ef, s_gf, Ses_string, obsFRatio, hstFRatio, hstFRatio2;

    void Run();
    bool Init();
    void InitMatrices();
    void ReShuffle();
    void Do_ObservedAnova(double &FRatio);
    void StatsToStrings();
    void DisplayObserved();
    void DisplaySimulated();
    void FRatioDisplay();
    void SimulationDisplay();
    void DisplayRowTitles(TStringGrid *Grid);
    void SummaryDisplay();

    void SuMmary1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void SaveSummaryButtonClick(TObject *Sender) { SuMmary1Click(Sender); }
    void CloseButtonClick(TObject *Sender) { Close1Click(Sender); }
    void HelpButtonClick(TObject *Sender) { Help1Click(Sender); }

private:
    void groupTable(TStringGrid *Grid);

    TStatisticPage page_{};
    TAnovaCalculator calculator_;
    // The row whose label each row carries now, and that label's group.
    std::vector<int32_t> labelRows_, groupOfRow_, groupOfLabelRow_;
    int32_t iterations_ = 0;
    int32_t labelColumn_ = 1, valueColumn_ = 2;
};

extern TAnovaShell *AnovaShell;
