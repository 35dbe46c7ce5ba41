#pragma once
// The Species Diversity results window and its run: for each abundance or sample level, the
// mean, median, variance and 95% limits of a diversity index over random subsets of the data
// (rarefaction and accumulation curves, by individuals of one column or by samples).
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "models/overlap_diversity/SpeciesDiversitySims.h"
#include "workspace/TarvixTypes.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

class TSpeciesDiversity : public TForm
{
public:
    explicit TSpeciesDiversity(TComponent *AOwner);

    TPageControl *PageControl1;
    TTabSheet *InputSheet, *SimulationSheet, *DiversityCurveSheet, *AbundanceCurveSheet, *SummarySheet, *DebugSheet,
        *TimeSheet;
    TStringGrid *InputColumnStringGrid;
    TStringGrid *SimulationStringGrid;
    TStringGrid *DiversityCurveStringGrid;
    TStringGrid *DiversityCurveStringGrid2;
    TMemo *Memo1;
    TMemo *DebugMemo;
    TMemo *TimeMemo;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;
    TMenuItem *Save1, *SuMmary1, *Diversitycurve1, *Spacedelimitedtxt1, *Commadelimitedtxt1, *Excelxls1;
    TMenuItem *Abundancecurve1, *Spacedelimitedtxt2, *Commadelimitedtxt2, *Excelxls2, *N1, *Close1, *Help1;

    // Indices, levels and draws; its fields indexResult, NonZeroRows, individualsCount and
    // NumLevels are the window's.
    TSpeciesDiversitySims Sims;
    // The seed entered and the generator state after seeding.
    int32_t Seed = 0;
    int32_t CurrentSeed = 0;

    // ---- Reading the data ----
    // Column c of the main grid as the observed vector; the titles and the column go into the
    // input grid, the titles into the simulation grid.
    void ColumnToList(int32_t c, std::vector<int32_t> &Observed);
    // Every data cell into M[sample][species] (M sized by the caller), each row's values added
    // into Totals; the cells into the input grid.
    void SampleColumnsToMatrix(Matrix &M, std::vector<int32_t> &Totals);
    // After a reader: empty when the counts read can be drawn from, else the message naming the
    // first cell that cannot (a negative count) or the total that does not fit.
    QString DataError() const { return dataError_; }

    // ---- The run ----
    void Run();
    bool Init();
    void RunIndividual();
    void RunSample();
    // One row of curve statistics for level index v over one column of simulated values.
    void DiversityCurve(int32_t v, const QString &Label, std::span<const double> Column);
    void DiversityCurveSample(int32_t v, const QString &Label, std::span<const double> Column);
    void DiversityCurveSample2(int32_t v, const QString &Label, std::span<const double> Column);

    // ---- Displays ----
    void SetUpDisplayTitles();
    void ObservedResults(int32_t Count);
    void ObservedResults2(int32_t Count);
    void DiversityCurveRowZero();
    void DiversityCurveRowZeroSample();
    void DiversityCurveRowZero2();
    void SummaryDisplay(std::span<const int32_t> Levels);
    void SummaryDisplaySample(int32_t Count, std::span<const int32_t> Levels);
    void DisplayRowTitles(TStringGrid *Grid);

    // ---- Files ----
    // In batch mode: the diversity curve, space-delimited, as "DiversityCurve " and the data
    // file's name, in the working directory.
    void SaveDiversityCurveBatch();
    void SuMmary1Click(TObject *Sender);
    void Spacedelimitedtxt1Click(TObject *Sender);
    void Commadelimitedtxt1Click(TObject *Sender);
    void Spacedelimitedtxt2Click(TObject *Sender);
    void Commadelimitedtxt2Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    // The same as "Su&mmary", the two space-delimited curve items, "&Close" and "&Help".
    void SaveButtonClick(TObject *Sender);
    void SaveDiversityButtonClick(TObject *Sender);
    void SaveAbundanceButtonClick(TObject *Sender);
    void CloseButtonClick(TObject *Sender);
    void HelpButtonClick(TObject *Sender);

private:
    // Every cell followed by the delimiter, trailing blanks trimmed, CR LF; false when the
    // dialog was cancelled.
    bool saveCurve(TStringGrid *Grid, const QString &Delimiter, const QString &DefaultName);
    void composeCurve(TStringGrid *Grid, const QString &Delimiter);
    void curveRow(TStringGrid *Grid, int32_t v, const QString &Label, std::span<const double> Column);
    void observedRow(TStringGrid *Grid, int32_t Count, double Value);
    void noteCell(int32_t Value, int32_t Col, int32_t Row, int64_t &Total);
    // A failure after the progress window opened: the message, the stop flag, the window closed.
    void stop(const QString &Message);
    // The header rows, the summary, the time and the batch row of a finished run.
    void finish(bool Samples, std::span<const int32_t> Levels);
    void saveSimulated(int32_t Sim, int32_t Subset, std::span<const int32_t> Sample);
    bool simulating();

    QString dataError_;
    std::vector<int32_t> levels_;
};

extern TSpeciesDiversity *SpeciesDiversity;
