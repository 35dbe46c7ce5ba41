// The runs test's run and results window.
#include "models/standard/RunsTestMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/standard/RunsTestOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <cmath>
#include <limits>

TRunsTestShell *RunsTestShell = nullptr;

TRunsTestShell::TRunsTestShell(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("RunsTestShell"));
    SetCaption(QStringLiteral("Tarvix Professional: Runs Test Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 640, 520);

    PageControl1 = AddResultPages(this, {{&InputSheet, QStringLiteral("Input Matrix")},
                                         {&SimulationSheet, QStringLiteral("Simulation")},
                                         {&LongestRunSheet, QStringLiteral("Length of Longest Run")},
                                         {&MeanSheet, QStringLiteral("Mean")},
                                         {&VarianceSheet, QStringLiteral("Variance")},
                                         {&SummarySheet, QStringLiteral("Summary")},
                                         {&TimeSheet, QStringLiteral("Time")}});
    InputGrid = NewResultGrid(this, InputSheet, "InputGrid");
    SimulationGrid = NewResultGrid(this, SimulationSheet, "SimulationGrid");
    InputGrid->SetColCount(3);
    SimulationGrid->SetColCount(3);
    longestRunPage_ = AddStatisticPage(this, LongestRunSheet, QStringLiteral("Observed length"), "ObservedLongestRunMemo",
                                       "LongestRunHistogramMemo", "LongestRunHistogramMemo2", "LongestRunMemo");
    meanPage_ = AddStatisticPage(this, MeanSheet, QStringLiteral("Observed mean"), "ObservedMeanMemo",
                                 "MeanHistogramMemo", "MeanHistogramMemo2", "MeanMemo");
    variancePage_ = AddStatisticPage(this, VarianceSheet, QStringLiteral("Observed variance"), "ObservedRMemo",
                                     "VarianceHistogramMemo", "VarianceHistogramMemo2", "VarianceMemo");
    const auto bind = [](const TStatisticPage &P, TGroupBox *&Observed, TGroupBox *&Histogram, TMemo *&ObservedMemo,
                         TMemo *&Edges, TMemo *&Counts, TMemo *&Block) {
        Observed = P.ObservedGroup;
        Histogram = P.HistogramGroup;
        ObservedMemo = P.Observed;
        Edges = P.Edges;
        Counts = P.Counts;
        Block = P.Block;
    };
    bind(longestRunPage_, LongestRunObservedGroup, LongestRunHistogramGroup, ObservedLongestRunMemo,
         LongestRunHistogramMemo, LongestRunHistogramMemo2, LongestRunMemo);
    bind(meanPage_, MeanObservedGroup, MeanHistogramGroup, ObservedMeanMemo, MeanHistogramMemo, MeanHistogramMemo2,
         MeanMemo);
    bind(variancePage_, VarianceObservedGroup, VarianceHistogramGroup, ObservedRMemo, VarianceHistogramMemo,
         VarianceHistogramMemo2, VarianceMemo);
    AddSummaryAndTime(this, SummarySheet, TimeSheet, Memo1, TimeMemo);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Save1 = AddMenuCommand(this, root, "Save1", QStringLiteral("&Save"));
    Summary1 = AddMenuCommand(this, Save1, "Summary1", QStringLiteral("Su&mmary"), &TRunsTestShell::SaveSummaryButtonClick);
    Close1 = AddMenuCommand(this, Save1, "Close1", QStringLiteral("&Close"), &TRunsTestShell::CloseButtonClick);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TRunsTestShell::HelpButtonClick);
    SetMenu(MainMenu1);
}

TRunsSampling TRunsTestShell::sampling() const
{
    return RunsTestOpts->SamplingAlgorithmGroup->ItemIndex() == rsWithReplacement ? rsWithReplacement
                                                                                   : rsWithoutReplacement;
}

TRunsDataType TRunsTestShell::dataType() const
{
    return RunsTestOpts->DataTypeGroup->ItemIndex() == rdAngular ? rdAngular : rdLinear;
}

// ---- The run ---------------------------------------------------------------------------------

bool TRunsTestShell::Init()
{
    if (RunsTestOpts->XvariableList->ItemIndex() == RunsTestOpts->YvariableList->ItemIndex()) {
        ShowMessage(QStringLiteral("XVariable cannot equal YVariable."));
        Tarvix->InterruptFlag = true;
        return false;
    }
    if (!TakeIterations(iterations_)) return false;
    CurrentSeed = SeedFromEdit(RunsTestOpts->RandomSeedEdit);
    return true;
}

void TRunsTestShell::InitMatrices()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t n = main->RowCount() - 1;
    OnesCount = 0;
    NumberLineSum = 0;
    xVariableList.assign(static_cast<size_t>(n), 0.0);
    xVarsSorted.assign(static_cast<size_t>(n), 0.0);
    yVariableList.assign(static_cast<size_t>(n), 0);
    yVarsSims.assign(static_cast<size_t>(n), 0);
    xVarsUsed.assign(static_cast<size_t>(n), 0);
    VarsLabelList.clear();
    VarsLabels.clear();
    SimLongestRuns.assign(static_cast<size_t>(iterations_), 0);
    SimMeans.assign(static_cast<size_t>(iterations_), 0.0);
    SimVariances.assign(static_cast<size_t>(iterations_), 0.0);
    xColumn_ = RunsTestOpts->XvariableList->ItemIndex() + 1;
    yColumn_ = RunsTestOpts->YvariableList->ItemIndex() + 1;

    for (int32_t r = 1; r <= n; ++r) {
        xVariableList[r - 1] = LeadingReal(main->Cells(xColumn_, r));
        int32_t y = 0;
        try {
            y = LeadingInt(main->Cells(yColumn_, r));
        } catch (const EConvertError &) {
            y = 0;
        }
        yVariableList[r - 1] = y;
        VarsLabelList << main->Cells(0, r);
    }
    const int64_t ones = CountOnes(yVariableList, sampling());
    if (ones < 1 || ones > std::numeric_limits<int32_t>::max()) {
        ShowMessage(QStringLiteral("OnesCount error!"));
        Tarvix->InterruptFlag = true;
        return;
    }
    OnesCount = static_cast<int32_t>(ones);
    Ones.reserve(static_cast<size_t>(OnesCount));
    // Rows with equal X keep their grid order along the sequence.
    const std::vector<int32_t> order = RunsSequenceOrder(xVariableList);
    for (int32_t j = 0; j < n; ++j) {
        const int32_t k = order[j];
        xVarsSorted[j] = xVariableList[k];
        yVarsSims[j] = yVariableList[k];
        VarsLabels << VarsLabelList[k];
        xVarsUsed[k] = 1;
    }
    BuildNumberLine(xVarsSorted, NumberLine, NumberLineSum);
    placer_.SetNumberLine(NumberLine, NumberLineSum);
}

void TRunsTestShell::RandomizeMatrix()
{
    const bool proportional = RunsTestOpts->SimulationGroup->ItemIndex() == rcProportional;
    if (!proportional && sampling() == rsWithoutReplacement) ShuffleSequence(yVarsSims);
    else if (!proportional) ScatterOnes(yVarsSims, OnesCount);
    else if (sampling() == rsWithoutReplacement) placer_.PlaceOnesByWeight(yVarsSims, OnesCount);
    else placer_.ScatterOnesByWeight(yVarsSims, OnesCount);
}

void TRunsTestShell::sequenceStatistics(int32_t &LongestRun, double &Mean, double &Variance)
{
    if (sampling() == rsWithReplacement)
        RunStatisticsCounts(xVarsSorted, yVarsSims, dataType(), Ones, LongestRun, Mean, Variance);
    else
        RunStatistics(xVarsSorted, yVarsSims, dataType(), Ones, LongestRun, Mean, Variance);
}

void TRunsTestShell::releaseArrays()
{
    for (auto *v : {&xVariableList, &xVarsSorted, &NumberLine, &Ones, &SimMeans, &SimVariances}) {
        v->clear();
        v->shrink_to_fit();
    }
    for (auto *v : {&yVariableList, &yVarsSims, &xVarsUsed, &SimLongestRuns}) {
        v->clear();
        v->shrink_to_fit();
    }
}

void TRunsTestShell::Run()
{
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return;
    }
    StartProgress(QStringLiteral("Runs Test"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();
    Tarvix->InterruptFlag = false;
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));

    const auto stop = [] {
        Progress->Close();
        return;
    };
    InitMatrices();
    if (Tarvix->InterruptFlag) return stop();
    context_.InterruptFlag = &Tarvix->InterruptFlag;
    context_.ProcessMessages = [] { Application->ProcessMessages(); };
    context_.ShowMessage = [](const QString &Text) { ShowMessage(Text); };

    Observed_LongestRun = 0;
    Observed_Mean = Observed_Variance = 0;
    sequenceStatistics(Observed_LongestRun, Observed_Mean, Observed_Variance);

    const bool saveMatrices = RunsTestOpts->SaveMatrixCheckBox->Checked();
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t n = static_cast<int32_t>(yVarsSims.size());
    for (int32_t k = 1; k <= iterations_; ++k) {
        if (SimulationInterrupted()) return;
        RandomizeMatrix();
        // A null model that gave up leaves no sequence to measure.
        if (Tarvix->InterruptFlag) return stop();
        sequenceStatistics(SimLongestRuns[k - 1], SimMeans[k - 1], SimVariances[k - 1]);
        Progress->StepIteration();
        if (saveMatrices &&
            !Tarvix->SaveTwoColumnsToFile_Real_Integer(k, n, xVarsSorted, yVarsSims, main->Cells(xColumn_, 0),
                                                       main->Cells(yColumn_, 0))) {
            Tarvix->InterruptFlag = true;
            return stop();
        }
    }
    Progress->Flush();

    UnpackResultBlock(IntResultBlock(SimLongestRuns, iterations_, Observed_LongestRun), LR_Mmeans, LR_Vmeans, LR_meanP1, LR_meanP2,
         LR_lmean, LR_emean, LR_gmean, LR_ses, obsLongestRun, LR_hstMean, LR_hstMean2);
    UnpackResultBlock(RealResultBlock(SimMeans, iterations_, Observed_Mean), M_Mmeans, M_Vmeans, M_meanP1, M_meanP2, M_lmean,
         M_emean, M_gmean, M_ses, obsMean, M_hstMean, M_hstMean2);
    UnpackResultBlock(RealResultBlock(SimVariances, iterations_, Observed_Variance), V_Mmeans, V_Vmeans, V_meanP1, V_meanP2, V_lmean,
         V_emean, V_gmean, V_ses, obsVariance, V_hstMean, V_hstMean2);

    StatsToStrings();
    CopyColumnsToGrids(InputGrid, SimulationGrid, xColumn_, yColumn_);
    SimulationDisplay();
    ShowHistogram(longestRunPage_, obsLongestRun, s_Observed_LongestRun, LR_hstMean, LR_hstMean2);
    ShowHistogram(meanPage_, obsMean, s_Observed_Mean, M_hstMean, M_hstMean2);
    ShowHistogram(variancePage_, obsVariance, s_Observed_Variance, V_hstMean, V_hstMean2);
    LongestRunDisplay();
    MeanDisplay();
    VarianceDisplay();
    SummaryDisplay();
    releaseArrays();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);

    Tarvix->BuildBatchSummaryFirstRow();
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, M_ses_string, M_mp1, M_mp2);
    if (Tarvix->BatchSwitch && Tarvix->Flag) {
        const bool saved = Tarvix->SaveBatchSummary(Memo1);
        Progress->Close();
        if (!saved) {
            ShowMessage(QStringLiteral("Batch processing error."));
            Tarvix->InterruptFlag = true;
        }
        return;
    }
    Progress->Close();
    ShowModal();
}

// ---- Displays --------------------------------------------------------------------------------

void TRunsTestShell::StatsToStrings()
{
    its = IntToStr(iterations_);
    s_Observed_LongestRun = IntToStr(Observed_LongestRun);
    s_Observed_Mean = FloatToStr75(Observed_Mean);
    s_Observed_Variance = FloatToStr75(Observed_Variance);
    const auto texts = [](double M, double V, double P1, double P2, int32_t L, int32_t E, int32_t G, double S,
                          QString &mm, QString &vm, QString &mp1, QString &mp2, QString &lm, QString &em, QString &gm,
                          QString &ss) {
        mm = FloatToStr75(M);
        vm = FloatToStr75(V);
        mp1 = FloatToStr75(P1);
        mp2 = FloatToStr75(P2);
        lm = IntToStr(L);
        em = IntToStr(E);
        gm = IntToStr(G);
        ss = FloatToStr75(S);
    };
    texts(LR_Mmeans, LR_Vmeans, LR_meanP1, LR_meanP2, LR_lmean, LR_emean, LR_gmean, LR_ses, LR_mm, LR_vm, LR_mp1,
          LR_mp2, LR_lm, LR_em, LR_gm, LR_ses_string);
    texts(M_Mmeans, M_Vmeans, M_meanP1, M_meanP2, M_lmean, M_emean, M_gmean, M_ses, M_mm, M_vm, M_mp1, M_mp2, M_lm,
          M_em, M_gm, M_ses_string);
    texts(V_Mmeans, V_Vmeans, V_meanP1, V_meanP2, V_lmean, V_emean, V_gmean, V_ses, V_mm, V_vm, V_mp1, V_mp2, V_lm,
          V_em, V_gm, V_ses_string);
}

namespace {

QStringList TabLines(const QString &What, const QString &Plural, const QString &Observed, const QString &M,
                     const QString &V, const QString &P1, const QString &P2)
{
    return ResultLines(QStringLiteral("Observed ") + What + QStringLiteral(" = "), Observed,
                       QStringLiteral("Mean of simulated ") + Plural + QStringLiteral(" = "), M,
                       QStringLiteral("Variance of simulated ") + Plural + QStringLiteral(" = "), V, P1, P2);
}

} // namespace

void TRunsTestShell::LongestRunDisplay()
{
    SetMemoLines(LongestRunMemo, TabLines(QStringLiteral("longest run"), QStringLiteral("longest runs"),
                                      s_Observed_LongestRun, LR_mm, LR_vm, LR_mp1, LR_mp2));
}

void TRunsTestShell::MeanDisplay()
{
    SetMemoLines(MeanMemo,
             TabLines(QStringLiteral("mean"), QStringLiteral("means"), s_Observed_Mean, M_mm, M_vm, M_mp1, M_mp2));
}

void TRunsTestShell::VarianceDisplay()
{
    SetMemoLines(VarianceMemo, TabLines(QStringLiteral("variance"), QStringLiteral("variances"), s_Observed_Variance, V_mm,
                                    V_vm, V_mp1, V_mp2));
}

void TRunsTestShell::SimulationDisplay()
{
    const auto n = static_cast<int32_t>(yVarsSims.size());
    SimulationGrid->SetRowCount(n + 1);
    for (int32_t j = 0; j < n; ++j) {
        SimulationGrid->SetCells(0, j + 1, VarsLabels[j]);
        SimulationGrid->SetCells(1, j + 1, FloatToStr75(xVarsSorted[j]));
        SimulationGrid->SetCells(2, j + 1, IntToStr(yVarsSims[j]));
    }
}

void TRunsTestShell::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const bool proportional = RunsTestOpts->SimulationGroup->ItemIndex() == rcProportional;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("XVariable = ") + main->Cells(xColumn_, 0);
    s << QStringLiteral("YVariable = ") + main->Cells(yColumn_, 0);
    s << QStringLiteral("Iterations = ") + its;
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << (proportional ? QStringLiteral("Simulation constraints = proportional.")
                       : QStringLiteral("Simulation constraints = equiprobable."));
    s << (sampling() == rsWithReplacement ? QStringLiteral("SamplingAlgorithm = with replacement.")
                                          : QStringLiteral("SamplingAlgorithm = without replacement."));
    s << (dataType() == rdAngular ? QStringLiteral("Data type = angular.") : QStringLiteral("Data type = linear."));
    s << SummaryRule() << QString();

    struct TBlock
    {
        const char *Title, *Observed, *Simulated, *Variance, *What;
        const QString &Obs, &M, &V, &L, &E, &G, &Ses, &P1, &P2, &Edges, &Counts;
    };
    const TBlock blocks[] = {
        {"LONGEST RUN", "longest run", "simulated longest runs", "simulated longest runs", "longest run",
         s_Observed_LongestRun, LR_mm, LR_vm, LR_lm, LR_em, LR_gm, LR_ses_string, LR_mp1, LR_mp2, LR_hstMean,
         LR_hstMean2},
        {"MEAN", "mean", "simulated mean", "simulated mean", "mean", s_Observed_Mean, M_mm, M_vm, M_lm, M_em, M_gm,
         M_ses_string, M_mp1, M_mp2, M_hstMean, M_hstMean2},
        {"VARIANCE", "variance", "simulated variance", "simulated variance", "variance", s_Observed_Variance, V_mm,
         V_vm, V_lm, V_em, V_gm, V_ses_string, V_mp1, V_mp2, V_hstMean, V_hstMean2},
    };
    for (const TBlock &b : blocks) {
        const QString what = QLatin1String(b.What), sim = QLatin1String(b.Simulated);
        s << QLatin1String(b.Title);
        s << QStringLiteral("Observed ") + QLatin1String(b.Observed) + QStringLiteral(" = ") + b.Obs;
        s << QStringLiteral("Mean of ") + sim + QStringLiteral(" = ") + b.M;
        s << QStringLiteral("Variance of ") + QLatin1String(b.Variance) + QStringLiteral(" = ") + b.V;
        s << QString();
        s << QStringLiteral("Number of times observed ") + what + QStringLiteral(" < ") + sim + QStringLiteral(" = ") + b.L;
        s << QStringLiteral("Number of times observed ") + what + QStringLiteral(" = ") + sim + QStringLiteral(" = ") + b.E;
        s << QStringLiteral("Number of times observed ") + what + QStringLiteral(" > ") + sim + QStringLiteral(" = ") + b.G;
        s << QStringLiteral("Standardized Effect Size = ") + b.Ses;
        s << QStringLiteral("p(observed <= expected) = ") + b.P1;
        s << QStringLiteral("p(observed >= expected) = ") + b.P2;
        s << QString();
        s << QStringLiteral("Simulation frequencies:");
        s << QStringLiteral("Histogram          # Simulations");
        s << HistogramSummaryLines(b.Edges, b.Counts, 13);
        s << SummaryRule() << QString();
    }
    s << QStringLiteral("INPUT MATRIX:") << QString();
    s << GridTextLines(main);
    SetMemoLines(Memo1, s);
}

// ---- Commands --------------------------------------------------------------------------------

void TRunsTestShell::SaveSummaryButtonClick(TObject *) { SaveSummaryAs(SaveDialog1, Memo1); }

void TRunsTestShell::CloseButtonClick(TObject *) { Close(); }

void TRunsTestShell::HelpButtonClick(TObject *) { Tarvix->RunHelp(); }
