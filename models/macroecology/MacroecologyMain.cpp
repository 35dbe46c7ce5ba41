// The Macroecology run and results window.
#include "models/macroecology/MacroecologyMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "models/macroecology/MacroecologyUserDefined.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

TMacroEcology *MacroEcology = nullptr;

namespace {

// A statistic's page: the observed value beside the histogram's low edges, high
// edges and counts, the result lines below and the hidden bin-edge text.
struct TPageMemos
{
    TGroupBox *&ObservedGroup, *&HistogramGroup;
    TMemo *&Observed, *&Low, *&High, *&Counts, *&Block, *&Hidden;
};

void AddPage(TComponent *Owner, TWinControl *Page, const QString &ObservedCaption, const char *Stem,
             const char *ObservedName, const char *BlockName, const TPageMemos &P)
{
    P.ObservedGroup = new TGroupBox(Owner);
    P.ObservedGroup->SetParent(Page);
    P.ObservedGroup->SetCaption(ObservedCaption);
    P.ObservedGroup->SetBounds(8, 8, 170, 260);
    P.HistogramGroup = new TGroupBox(Owner);
    P.HistogramGroup->SetParent(Page);
    P.HistogramGroup->SetCaption(QStringLiteral("Histogram Low.......High.....................    # Simulations "));
    P.HistogramGroup->SetBounds(184, 8, 470, 260);
    const QString stem = QLatin1String(Stem);
    P.Observed = NewResultMemo(Owner, P.ObservedGroup, ObservedName, 6, 20, 158, 232);
    P.Low =
        NewResultMemo(Owner, P.HistogramGroup, (stem + QStringLiteral("Low")).toLatin1().constData(), 6, 20, 140, 232);
    P.High = NewResultMemo(Owner, P.HistogramGroup, (stem + QStringLiteral("High")).toLatin1().constData(), 150, 20,
                           140, 232);
    P.Counts =
        NewResultMemo(Owner, P.HistogramGroup, (stem + QStringLiteral("2")).toLatin1().constData(), 294, 20, 140, 232);
    P.Block = NewResultMemo(Owner, Page, BlockName, 8, 276, 646, 160);
    P.Hidden = NewResultMemo(Owner, Page, Stem, 8, 276, 10, 10);
    P.Hidden->SetVisible(false);
}

// The observed value on the line of its bin, then its arrow; the histogram's
// three columns.
void ShowColumns(TMemo *Observed, TMemo *Low, TMemo *High, TMemo *Counts, TMemo *Hidden, const QString &Position,
                 const QString &Value, const char *Arrow, const QString &LowText, const QString &HighText,
                 const QString &CountsText, const QString &EdgesText)
{
    Observed->SetText(Position + Value + QLatin1String(Arrow));
    Low->SetText(LowText);
    High->SetText(HighText);
    Counts->SetText(CountsText);
    Hidden->SetText(EdgesText);
}

// One statistic's fields, for the steps that treat all six alike.
struct TStatisticFields
{
    std::vector<double> &Sims;
    double Observed;
    double &Mean, &Variance, &P1, &P2, &Ses;
    int32_t &Less, &Equal, &Greater;
    QString &m, &mm, &vm, &mp1, &mp2, &lm, &em, &gm, &ses;
    QString &Position, &Edges, &Counts, &Low, &High;
};

void BlockOf(const TStatisticFields &F, int32_t Iterations)
{
    UnpackResultBlock(RealResultBlock(F.Sims, Iterations, F.Observed), F.Mean, F.Variance, F.P1, F.P2, F.Less, F.Equal,
                      F.Greater, F.Ses, F.Position, F.Edges, F.Counts);
    QString counts;
    HistogramToColumns(F.Low, F.High, counts);
}

void TextsOf(const TStatisticFields &F)
{
    F.m = FloatToStr75(F.Observed);
    F.mm = FloatToStr75(F.Mean);
    F.vm = FloatToStr75(F.Variance);
    F.mp1 = FloatToStr75(F.P1);
    F.mp2 = FloatToStr75(F.P2);
    F.lm = IntToStr(F.Less);
    F.em = IntToStr(F.Equal);
    F.gm = IntToStr(F.Greater);
    F.ses = FloatToStr75(F.Variance > 0 ? F.Ses : 0.0);
}

// The six statistics in the run's order: shape points, boundary points, shape
// sum of squares, boundary sum of squares, regression slope, dispersion.
template <typename F> void ForEachStatistic(TMacroEcology *E, F &&f)
{
    const TStatisticFields fields[] = {
        {E->SimSpaces,  double(E->Observed_WithinSpace),
         E->Mmeans,     E->Vmeans,
         E->meanP1,     E->meanP2,
         E->ses,        E->lmean,
         E->emean,      E->gmean,
         E->m,          E->mm,
         E->vm,         E->mp1,
         E->mp2,        E->lm,
         E->em,         E->gm,
         E->ses_string, E->obsMean,
         E->hstMean,    E->hstMean2,
         E->hstMeanL,   E->hstMeanH},
        {E->SimBoundarySpaces,
         double(E->Observed_BoundaryWithinSpace),
         E->B_Mmeans,
         E->B_Vmeans,
         E->B_meanP1,
         E->B_meanP2,
         E->B_ses,
         E->B_lmean,
         E->B_emean,
         E->B_gmean,
         E->B_m,
         E->B_mm,
         E->B_vm,
         E->B_mp1,
         E->B_mp2,
         E->B_lm,
         E->B_em,
         E->B_gm,
         E->B_ses_string,
         E->B_obsMean,
         E->B_hstMean,
         E->B_hstMean2,
         E->B_hstMeanL,
         E->B_hstMeanH},
        {E->SimSumSquares,  E->Observed_SumSquares, E->SquaresMmeans,   E->SquaresVmeans,     E->SquaresMeanP1,
         E->SquaresMeanP2,  E->SquaresSes,          E->SquaresLmean,    E->SquaresEmean,      E->SquaresGmean,
         E->Squaresm,       E->Squaresmm,           E->Squaresvm,       E->Squaresmp1,        E->Squaresmp2,
         E->Squareslm,      E->Squaresem,           E->Squaresgm,       E->SquaresSes_string, E->SquaresObsMean,
         E->SquaresHstMean, E->SquaresHstMean2,     E->SquareshstMeanL, E->SquareshstMeanH},
        {E->SimBoundarySumSquares,     E->Observed_BoundarySumSquares,
         E->BoundarySquaresMmeans,     E->BoundarySquaresVmeans,
         E->BoundarySquaresMeanP1,     E->BoundarySquaresMeanP2,
         E->BoundarySquaresSes,        E->BoundarySquaresLmean,
         E->BoundarySquaresEmean,      E->BoundarySquaresGmean,
         E->BoundarySquaresm,          E->BoundarySquaresmm,
         E->BoundarySquaresvm,         E->BoundarySquaresmp1,
         E->BoundarySquaresmp2,        E->BoundarySquareslm,
         E->BoundarySquaresem,         E->BoundarySquaresgm,
         E->BoundarySquaresSes_string, E->BoundarySquaresObsMean,
         E->BoundarySquaresHstMean,    E->BoundarySquaresHstMean2,
         E->BoundarySquareshstMeanL,   E->BoundarySquareshstMeanH},
        {E->SimCOEfficients,
         E->Observed_Coefficient,
         E->COmeans,
         E->COVmeans,
         E->COmeanP1,
         E->COmeanP2,
         E->COSes,
         E->COlmean,
         E->COemean,
         E->COgmean,
         E->COm,
         E->COmm,
         E->COvm,
         E->COmp1,
         E->COmp2,
         E->COlm,
         E->COEm,
         E->COGm,
         E->CoSes_string,
         E->obsCOMean,
         E->hstCOMean,
         E->hstCOMean2,
         E->hstCOMeanL,
         E->hstCOMeanH},
        {E->SimVariances,   E->Observed_Variance, E->DispMmeans,  E->DispVmeans,   E->DispmeanP1,   E->DispmeanP2,
         E->dispSes,        E->Displmean,         E->Dispemean,   E->Dispgmean,    E->Dispm,        E->Dispmm,
         E->Dispvm,         E->Dispmp1,           E->Dispmp2,     E->Displm,       E->Dispem,       E->Dispgm,
         E->DispSes_string, E->obsDispMean,       E->hstDispMean, E->hstDispMean2, E->hstDispMeanL, E->hstDispMeanH},
    };
    for (const TStatisticFields &s : fields) f(s);
}

const char *const PointsArrow = ".........>";
const char *const SquaresArrow = "......>";
const char *const DispersionArrow = "...........>";

}  // namespace

TMacroEcology::TMacroEcology(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("MacroEcology"));
    SetCaption(QStringLiteral("Tarvix -- Macroecology Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 800, 540);

    PageControl1 = AddResultPages(this, {{&InputSheet, QStringLiteral("Input Matrix")},
                                         {&SimulationSheet, QStringLiteral("Simulation")},
                                         {&DispersionSheet, QStringLiteral("Dispersion")},
                                         {&SlopeSheet, QStringLiteral("Regression Slope")},
                                         {&RegressionChartsSheet, QStringLiteral("Regression Charts")},
                                         {&MeanSheet, QStringLiteral("Shape # of Points")},
                                         {&SquaresSheet, QStringLiteral("Shape Sum of Squares")},
                                         {&BoundaryMeanSheet, QStringLiteral("Boundary # of Points")},
                                         {&BoundarySquaresSheet, QStringLiteral("Boundary Sum of Squares")},
                                         {&BoundaryChartsSheet, QStringLiteral("Boundary Charts")},
                                         {&SummarySheet, QStringLiteral("Summary")},
                                         {&TimeSheet, QStringLiteral("Time")}});
    AddTwoColumnGrids(this, InputSheet, SimulationSheet, InputGrid, SimulationGrid);
    StandardizedGrid = NewResultGrid(this, SimulationSheet, "StandardizedGrid");
    StandardizedGrid->SetVisible(false);

    AddPage(this, DispersionSheet, QStringLiteral("Observed dispersion"), "DispersionHistogramMemo",
            "ObservedDispersionVarianceMemo", "DispersionMemo",
            {DispersionObservedGroup, DispersionHistogramGroup, ObservedDispersionVarianceMemo,
             DispersionHistogramMemoLow, DispersionHistogramMemoHigh, DispersionHistogramMemo2, DispersionMemo,
             DispersionHistogramMemo});
    AddPage(this, SlopeSheet, QStringLiteral("Observed slope"), "COMeanHistogramMemo", "ObservedCOmeanMemo",
            "SlopeMemo",
            {SlopeObservedGroup, SlopeHistogramGroup, ObservedCOmeanMemo, COMeanHistogramMemoLow,
             COMeanHistogramMemoHigh, COMeanHistogramMemo2, SlopeMemo, COMeanHistogramMemo});
    Chart3 = NewPointLineChart(this, RegressionChartsSheet, QStringLiteral("Observed"), 8, Series5, Series6);
    Chart4 = NewPointLineChart(this, RegressionChartsSheet, QStringLiteral("Simulated"), 316, Series7, Series8);
    AddPage(this, MeanSheet, QStringLiteral("Observed # pts"), "MeanHistogramMemo", "ObservedMeanMemo", "MeanMemo",
            {MeanObservedGroup, MeanHistogramGroup, ObservedMeanMemo, MeanHistogramMemoLow, MeanHistogramMemoHigh,
             MeanHistogramMemo2, MeanMemo, MeanHistogramMemo});
    AddPage(this, SquaresSheet, QStringLiteral("Observed ss"), "SquaresHistogramMemo", "SquaresObservedMemo",
            "SquaresMemo",
            {SquaresObservedGroup, SquaresHistogramGroup, SquaresObservedMemo, SquaresHistogramMemoLow,
             SquaresHistogramMemoHigh, SquaresHistogramMemo2, SquaresMemo, SquaresHistogramMemo});
    AddPage(this, BoundaryMeanSheet, QStringLiteral("Observed # pts"), "BoundaryMeanHistogramMemo",
            "BoundaryObservedMeanMemo", "BoundaryMeanMemo",
            {BoundaryMeanObservedGroup, BoundaryMeanHistogramGroup, BoundaryObservedMeanMemo,
             BoundaryMeanHistogramMemoLow, BoundaryMeanHistogramMemoHigh, BoundaryMeanHistogramMemo2, BoundaryMeanMemo,
             BoundaryMeanHistogramMemo});
    AddPage(this, BoundarySquaresSheet, QStringLiteral("Observed ss"), "BoundarySquaresHistogramMemo",
            "BoundarySquaresObservedMemo", "BoundarySquaresMemo",
            {BoundarySquaresObservedGroup, BoundarySquaresHistogramGroup, BoundarySquaresObservedMemo,
             BoundarySquaresHistogramMemoLow, BoundarySquaresHistogramMemoHigh, BoundarySquaresHistogramMemo2,
             BoundarySquaresMemo, BoundarySquaresHistogramMemo});
    Chart1 = NewPointLineChart(this, BoundaryChartsSheet, QStringLiteral("Observed"), 8, Series1, Series2);
    Chart2 = NewPointLineChart(this, BoundaryChartsSheet, QStringLiteral("Simulated"), 316, Series3, Series4);
    AddSummaryAndTime(this, SummarySheet, TimeSheet, Memo1, TimeMemo);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Save1 = AddMenuCommand(this, root, "Save1", QStringLiteral("&Save"));
    Summary1 = AddMenuCommand(this, Save1, "Summary1", QStringLiteral("Su&mmary"), &TMacroEcology::Summary1Click);
    N1 = AddMenuCommand(this, Save1, "N1", QStringLiteral("-"));
    Close1 = AddMenuCommand(this, Save1, "Close1", QStringLiteral("&Close"), &TMacroEcology::Close1Click);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TMacroEcology::Help1Click);
    SetMenu(MainMenu1);

    context_.ShowMessage = [](const QString &Text) { ShowMessage(Text); };
}

// ---- Statistics and iterations
// --------------------------------------------------------------------

void TMacroEcology::statistics(bool Asymmetric, int32_t &WithinSpace, double &Coefficient, double &SumSquares,
                               double &Variance, double &BoundaryCoefficient, int32_t &BoundaryWithinSpace,
                               double &BoundarySumSquares)
{
    // The observed medians: the sorted arrays never change during a run.
    const double medX = SortedMedian(xVarsSorted), medY = SortedMedian(yVarsSorted);
    const int32_t pattern = MacroecologyOpts ? MacroecologyOpts->PatternGroup->ItemIndex() : mpLeftTriangle;
    const int32_t boundary = MacroecologyOpts ? MacroecologyOpts->BoundaryGroup->ItemIndex() : mbUpperRight;
    const TMacroBox box{MinX, MaxX, MinY, MaxY};
    TMacroStatistics s;
    TMacroSegment segment{BoundaryX1, BoundaryY1, BoundaryX2, BoundaryY2};
    const TMacroXSums *xSums = useXSums_ ? &xSums_ : nullptr;
    if (Asymmetric)
        MacroAsymmetric(xVariableList, yVariableList, box, medX, medY, pattern, boundary, s, segment, xSums);
    else
        MacroSymmetric(xVariableList, yVariableList, box, medX, medY, pattern, boundary, s, segment, xSums);
    WithinSpace = s.WithinSpace;
    Coefficient = s.Coefficient;
    SumSquares = s.SumSquares;
    Variance = s.Variance;
    BoundaryCoefficient = s.BoundaryCoefficient;
    BoundaryWithinSpace = s.BoundaryWithinSpace;
    BoundarySumSquares = s.BoundarySumSquares;
    BoundaryX1 = segment.X1;
    BoundaryY1 = segment.Y1;
    BoundaryX2 = segment.X2;
    BoundaryY2 = segment.Y2;
}

void TMacroEcology::Do_Symmetric(int32_t, int32_t &WithinSpace, double &Coefficient, double &SumSquares,
                                 double &Variance, double &BoundaryCoefficient, int32_t &BoundaryWithinSpace,
                                 double &BoundarySumSquares)
{
    statistics(false, WithinSpace, Coefficient, SumSquares, Variance, BoundaryCoefficient, BoundaryWithinSpace,
               BoundarySumSquares);
}

void TMacroEcology::Do_Asymmetric(int32_t, int32_t &WithinSpace, double &Coefficient, double &SumSquares,
                                  double &Variance, double &BoundaryCoefficient, int32_t &BoundaryWithinSpace,
                                  double &BoundarySumSquares)
{
    statistics(true, WithinSpace, Coefficient, SumSquares, Variance, BoundaryCoefficient, BoundaryWithinSpace,
               BoundarySumSquares);
}

void TMacroEcology::DoSims(int32_t Index, int32_t &WithinSpace, double &Coefficient, double &SumSquares,
                           double &Variance, double &BoundaryCoefficient, int32_t &BoundaryWithinSpace,
                           double &BoundarySumSquares)
{
    const int32_t constraint = MacroecologyOpts ? MacroecologyOpts->ConstraintsGroup->ItemIndex() : mcDataDefined;
    // The dialog's edits are read at every iteration; only the chosen law's are
    // used.
    const TMacroCloudParameters parameters =
        constraint == mcDataDefined ? TMacroCloudParameters{} : MacroCloudParameters();
    context_.InterruptFlag = Tarvix ? &Tarvix->InterruptFlag : nullptr;
    TMacroBox box{MinX, MaxX, MinY, MaxY};
    RandomizeCloud(constraint, xVariableList, yVariableList, xVarsSorted, yVarsSorted, parameters, context_, box);
    if (constraint != mcDataDefined)
        xSumsTaken_ = false;
    else if (!xSumsTaken_) {
        xSums_ = MacroXSums(xVariableList);
        xSumsTaken_ = true;
    }
    MinX = box.MinX;
    MaxX = box.MaxX;
    MinY = box.MinY;
    MaxY = box.MaxY;
    const bool asymmetric = MacroecologyOpts && MacroecologyOpts->SymmetryGroup->ItemIndex() != msSymmetric;
    useXSums_ = xSumsTaken_;
    if (asymmetric)
        Do_Asymmetric(Index, WithinSpace, Coefficient, SumSquares, Variance, BoundaryCoefficient, BoundaryWithinSpace,
                      BoundarySumSquares);
    else
        Do_Symmetric(Index, WithinSpace, Coefficient, SumSquares, Variance, BoundaryCoefficient, BoundaryWithinSpace,
                     BoundarySumSquares);
    useXSums_ = false;
}

// ---- The run
// ---------------------------------------------------------------------------------------

bool TMacroEcology::Init()
{
    if (MacroecologyOpts->XvariableList->ItemIndex() == MacroecologyOpts->YvariableList->ItemIndex()) {
        ShowMessage(QStringLiteral("XVariable cannot equal YVariable."));
        Tarvix->InterruptFlag = true;
        return false;
    }
    if (MacroecologyOpts->ConstraintsGroup->ItemIndex() == mcNormal) {
        const TMacroCloudParameters p = MacroCloudParameters();
        if (p.SDX == 0 || p.SDY == 0) {
            ShowMessage(p.SDX == 0 ? QStringLiteral("SD x = 0 is not allowed.")
                                   : QStringLiteral("SD y = 0 is not allowed."));
            Tarvix->InterruptFlag = true;
            return false;
        }
    }
    if (!TakeIterations(iterations_)) return false;
    CurrentSeed = SeedFromEdit(MacroecologyOpts->RandomSeedEdit);
    return true;
}

void TMacroEcology::InitMatrices()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t n = std::max(main->RowCount() - 1, 0);
    xVariableList.assign(static_cast<size_t>(n), 0.0);
    yVariableList.assign(static_cast<size_t>(n), 0.0);
    xVarsSorted.assign(static_cast<size_t>(n), 0.0);
    yVarsSorted.assign(static_cast<size_t>(n), 0.0);
    xSumsTaken_ = false;
    xColumn_ = MacroecologyOpts->XvariableList->ItemIndex() + 1;
    yColumn_ = MacroecologyOpts->YvariableList->ItemIndex() + 1;
    for (int32_t r = 1; r <= n; ++r) {
        xVariableList[r - 1] = xVarsSorted[r - 1] = LeadingReal(main->Cells(xColumn_, r));
        yVariableList[r - 1] = yVarsSorted[r - 1] = LeadingReal(main->Cells(yColumn_, r));
    }
    if (n > 0) {
        QuickSortReal(xVarsSorted, 0, n - 1);
        QuickSortReal(yVarsSorted, 0, n - 1);
    }
}

void TMacroEcology::Run()
{
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return;
    }
    StartProgress(QStringLiteral("Macro Ecology"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();
    Tarvix->InterruptFlag = false;
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));

    InitMatrices();
    InputGridDisplay();
    DisplayColumnTitles(InputGrid);
    DisplayRowTitles(InputGrid);

    Observed_WithinSpace = Observed_BoundaryWithinSpace = 0;
    Observed_Coefficient = Observed_SumSquares = Observed_Variance = Observed_BoundaryCoefficient =
        Observed_BoundarySumSquares = 0;
    // The observed statistics always take the data's own box (none for a file without species:
    // not the last run's).
    MinX = xVarsSorted.empty() ? 0.0 : xVarsSorted.front();
    MaxX = xVarsSorted.empty() ? 0.0 : xVarsSorted.back();
    MinY = yVarsSorted.empty() ? 0.0 : yVarsSorted.front();
    MaxY = yVarsSorted.empty() ? 0.0 : yVarsSorted.back();
    if (MacroecologyOpts->SymmetryGroup->ItemIndex() != msSymmetric)
        Do_Asymmetric(0, Observed_WithinSpace, Observed_Coefficient, Observed_SumSquares, Observed_Variance,
                      Observed_BoundaryCoefficient, Observed_BoundaryWithinSpace, Observed_BoundarySumSquares);
    else
        Do_Symmetric(0, Observed_WithinSpace, Observed_Coefficient, Observed_SumSquares, Observed_Variance,
                     Observed_BoundaryCoefficient, Observed_BoundaryWithinSpace, Observed_BoundarySumSquares);
    ObservedChartDisplay();
    ObservedRegressionDisplay(Observed_Coefficient);

    for (std::vector<double> *a :
         {&SimSpaces, &SimBoundarySpaces, &SimSumSquares, &SimBoundarySumSquares, &SimCOEfficients, &SimVariances})
        a->assign(static_cast<size_t>(iterations_), 0.0);
    TProStringGrid *main = Tarvix->MainGrid;
    const QString xTitle = main->Cells(xColumn_, 0);
    const QString yTitle = main->Cells(yColumn_, 0);
    const bool saveMatrices = MacroecologyOpts->SaveMatrixCheckBox->Checked();
    const auto n = static_cast<int32_t>(xVariableList.size());
    for (int32_t i = 0; i < iterations_; ++i) {
        if (SimulationInterrupted()) return;
        Sims_WithinSpace = Sims_BoundaryWithinSpace = 0;
        Sims_Coefficient = Sims_SumSquares = Sims_Variance = Sims_BoundaryCoefficient = Sims_BoundarySumSquares = 0;
        DoSims(i, Sims_WithinSpace, Sims_Coefficient, Sims_SumSquares, Sims_Variance, Sims_BoundaryCoefficient,
               Sims_BoundaryWithinSpace, Sims_BoundarySumSquares);
        // A normal law that could not give positive values has stopped the run, also on its
        // last iteration.
        if (Tarvix->InterruptFlag) {
            Progress->Close();
            return;
        }
        SimSpaces[i] = Sims_WithinSpace;
        SimBoundarySpaces[i] = Sims_BoundaryWithinSpace;
        SimSumSquares[i] = Sims_SumSquares;
        SimBoundarySumSquares[i] = Sims_BoundarySumSquares;
        SimCOEfficients[i] = Sims_Coefficient;
        SimVariances[i] = Sims_Variance;
        Progress->StepIteration();
        // A file that cannot be written has been reported once: the run stops.
        if (saveMatrices && !Tarvix->SaveTwoColumnsToFile(i + 1, n, xVariableList, yVariableList, xTitle, yTitle)) {
            Progress->Close();
            Tarvix->InterruptFlag = true;
            return;
        }
    }
    Progress->Flush();

    ForEachStatistic(this, [this](const TStatisticFields &f) { BlockOf(f, iterations_); });
    StatsToStrings();

    SimulationDisplay();
    DisplayColumnTitles(SimulationGrid);
    DisplayRowTitles(SimulationGrid);
    ShowColumns(ObservedMeanMemo, MeanHistogramMemoLow, MeanHistogramMemoHigh, MeanHistogramMemo2, MeanHistogramMemo,
                obsMean, m, PointsArrow, hstMeanL, hstMeanH, hstMean2, hstMean);
    ShowColumns(BoundaryObservedMeanMemo, BoundaryMeanHistogramMemoLow, BoundaryMeanHistogramMemoHigh,
                BoundaryMeanHistogramMemo2, BoundaryMeanHistogramMemo, B_obsMean, B_m, PointsArrow, B_hstMeanL,
                B_hstMeanH, B_hstMean2, B_hstMean);
    ShowColumns(SquaresObservedMemo, SquaresHistogramMemoLow, SquaresHistogramMemoHigh, SquaresHistogramMemo2,
                SquaresHistogramMemo, SquaresObsMean, Squaresm, SquaresArrow, SquareshstMeanL, SquareshstMeanH,
                SquaresHstMean2, SquaresHstMean);
    ShowColumns(BoundarySquaresObservedMemo, BoundarySquaresHistogramMemoLow, BoundarySquaresHistogramMemoHigh,
                BoundarySquaresHistogramMemo2, BoundarySquaresHistogramMemo, BoundarySquaresObsMean, BoundarySquaresm,
                SquaresArrow, BoundarySquareshstMeanL, BoundarySquareshstMeanH, BoundarySquaresHstMean2,
                BoundarySquaresHstMean);
    ShowColumns(ObservedCOmeanMemo, COMeanHistogramMemoLow, COMeanHistogramMemoHigh, COMeanHistogramMemo2,
                COMeanHistogramMemo, obsCOMean, COm, PointsArrow, hstCOMeanL, hstCOMeanH, hstCOMean2, hstCOMean);
    ShowColumns(ObservedDispersionVarianceMemo, DispersionHistogramMemoLow, DispersionHistogramMemoHigh,
                DispersionHistogramMemo2, DispersionHistogramMemo, obsDispMean, Dispm, DispersionArrow, hstDispMeanL,
                hstDispMeanH, hstDispMean2, hstDispMean);
    MeanDisplay();
    BoundaryDisplay();
    SquaresDisplay();
    BoundarySquaresDisplay();
    SlopeDisplay();
    DispersionDisplay();
    SummaryDisplay();
    SimulatedChartDisplay();
    SimulatedRegressionDisplay(COmeans);

    for (std::vector<double> *a : {&xVariableList, &yVariableList, &xVarsSorted, &yVarsSorted}) {
        a->clear();
        a->shrink_to_fit();
    }
    xSumsTaken_ = false;
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);

    FinishResultsRun(this, Memo1, ses_string, mp1, mp2);
}

// ---- Displays
// --------------------------------------------------------------------------------------

void TMacroEcology::StatsToStrings()
{
    its = IntToStr(iterations_);
    ForEachStatistic(this, TextsOf);
}

void TMacroEcology::MeanDisplay()
{
    SetMemoLines(MeanMemo, ResultLines(QStringLiteral("Observed number of points = "), m,
                                       QStringLiteral("Mean of simulated number of points = "), mm,
                                       QStringLiteral("Variance of simulated number of points = "), vm, mp1, mp2));
}

void TMacroEcology::BoundaryDisplay()
{
    SetMemoLines(BoundaryMeanMemo,
                 ResultLines(QStringLiteral("Observed number of points = "), B_m,
                             QStringLiteral("Mean of simulated number of points = "), B_mm,
                             QStringLiteral("Variance of simulated number of points = "), B_vm, B_mp1, B_mp2));
}

void TMacroEcology::SquaresDisplay()
{
    SetMemoLines(SquaresMemo, ResultLines(QStringLiteral("Observed sum of squares = "), Squaresm,
                                          QStringLiteral("Mean of simulated sum of squares = "), Squaresmm,
                                          QStringLiteral("Variance of simulated sum of squares = "), Squaresvm,
                                          Squaresmp1, Squaresmp2));
}

void TMacroEcology::BoundarySquaresDisplay()
{
    SetMemoLines(BoundarySquaresMemo,
                 ResultLines(QStringLiteral("Observed sum of squares = "), BoundarySquaresm,
                             QStringLiteral("Mean of simulated sum of squares = "), BoundarySquaresmm,
                             QStringLiteral("Variance of simulated sum of squares = "), BoundarySquaresvm,
                             BoundarySquaresmp1, BoundarySquaresmp2));
}

void TMacroEcology::SlopeDisplay()
{
    SetMemoLines(SlopeMemo,
                 ResultLines(QStringLiteral("Observed slope = "), COm, QStringLiteral("Mean of simulated slopes = "),
                             COmm, QStringLiteral("Variance of simulated slopes = "), COvm, COmp1, COmp2));
}

void TMacroEcology::DispersionDisplay()
{
    SetMemoLines(DispersionMemo,
                 ResultLines(QStringLiteral("Observed dispersion = "), Dispm,
                             QStringLiteral("Mean of simulated dispersions = "), Dispmm,
                             QStringLiteral("Variance of simulated disersions = "), Dispvm, Dispmp1, Dispmp2));
}

void TMacroEcology::SummaryDisplay()
{
    TComboBox *xList = MacroecologyOpts->XvariableList;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    // Both lists hold the same titles.
    s << QStringLiteral("XVariable = ") + ItemText(xList, MacroecologyOpts->CurrentX_Column);
    s << QStringLiteral("YVariable = ") + ItemText(xList, MacroecologyOpts->CurrentY_Column);
    s << QStringLiteral("Iterations = ") + its;
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    const auto pick = [](int32_t Index, std::initializer_list<const char *> Texts) {
        return Index >= 0 && Index < int32_t(Texts.size()) ? QLatin1String(Texts.begin()[Index]) : QLatin1String("");
    };
    s << QStringLiteral("Data distribution = ") +
             pick(MacroecologyOpts->SymmetryGroup->ItemIndex(), {"Symmetric", "Asymmetric"});
    s << QStringLiteral("Constraint = ") + pick(MacroecologyOpts->ConstraintsGroup->ItemIndex(),
                                                {"Data-defined", "User-defined (uniform)", "User-defined (normal)"});
    s << QStringLiteral("Shape = ") + pick(MacroecologyOpts->PatternGroup->ItemIndex(),
                                           {"Left Triangle", "Right Triangle", "Pyramid", "Inverted Pyramid"});
    s << QStringLiteral("Boundary test = ") + pick(MacroecologyOpts->BoundaryGroup->ItemIndex(),
                                                   {"Upper Right", "Upper Left", "Lower Right", "Lower Left"});
    s << SummaryRule() << QString();

    const TSummaryLabels points{"SHAPE # OF POINTS",
                                "Observed Points within space = ",
                                "Mean of simulated # of points = ",
                                "Variance of simulated # of points = ",
                                "Number of times observed # of points < simulated # of points = ",
                                "Number of times observed # of points = simulated # of points = ",
                                "Number of times observed # of points > simulated # of points = "};
    const TSummaryLabels squares{"SHAPE SUM OF SQUARES",
                                 "Observed Sum of Squares = ",
                                 "Mean of simulated ss = ",
                                 "Variance of simulated ss = ",
                                 "Number of times observed ss < simulated ss = ",
                                 "Number of times observed ss = simulated ss = ",
                                 "Number of times observed ss > simulated ss = "};
    TSummaryLabels boundaryPoints = points;
    boundaryPoints.Header = "BOUNDARY # OF POINTS";
    TSummaryLabels boundarySquares = squares;
    boundarySquares.Header = "BOUNDARY SUM OF SQUARES";
    s << StatisticSummaryLines(
        {"DISPERSION", "Observed dispersion = ", "Mean of simulated dispersions = ",
         "Variance of simulated dispersions = ", "Number of times observed dispersion < simulated dispersions = ",
         "Number of times observed dispersion = simulated dispersions = ",
         "Number of times observed dispersion > simulated dispersions = "},
        Dispm, Dispmm, Dispvm, Displm, Dispem, Dispgm, DispSes_string, Dispmp1, Dispmp2, hstDispMean, hstDispMean2);
    s << StatisticSummaryLines(
        {"REGRESSION SLOPE", "Observed slope = ", "Mean of simulated slope = ", "Variance of simulated slope = ",
         "Number of times observed slope < simulated slope = ", "Number of times observed slope = simulated slope = ",
         "Number of times observed slope > simulated slope = "},
        COm, COmm, COvm, COlm, COEm, COGm, CoSes_string, COmp1, COmp2, hstCOMean, hstCOMean2);
    s << StatisticSummaryLines(points, m, mm, vm, lm, em, gm, ses_string, mp1, mp2, hstMean, hstMean2);
    s << StatisticSummaryLines(squares, Squaresm, Squaresmm, Squaresvm, Squareslm, Squaresem, Squaresgm,
                               SquaresSes_string, Squaresmp1, Squaresmp2, SquaresHstMean, SquaresHstMean2);
    s << StatisticSummaryLines(boundaryPoints, B_m, B_mm, B_vm, B_lm, B_em, B_gm, B_ses_string, B_mp1, B_mp2, B_hstMean,
                               B_hstMean2);
    s << StatisticSummaryLines(boundarySquares, BoundarySquaresm, BoundarySquaresmm, BoundarySquaresvm,
                               BoundarySquareslm, BoundarySquaresem, BoundarySquaresgm, BoundarySquaresSes_string,
                               BoundarySquaresmp1, BoundarySquaresmp2, BoundarySquaresHstMean, BoundarySquaresHstMean2);
    s << QStringLiteral("INPUT MATRIX:") << QString();
    s << GridTextLines(Tarvix->MainGrid);
    SetMemoLines(Memo1, s);
}

namespace {

void CloudToGrid(TStringGrid *Grid, const std::vector<double> &X, const std::vector<double> &Y)
{
    Grid->SetRowCount(Tarvix->MainGrid->RowCount());
    for (size_t k = 0; k < X.size() && k < Y.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        if (row >= Grid->RowCount()) break;
        Grid->SetCells(1, row, FloatToStr75(X[k]));
        Grid->SetCells(2, row, FloatToStr75(Y[k]));
    }
}

}  // namespace

void TMacroEcology::InputGridDisplay() { CloudToGrid(InputGrid, xVariableList, yVariableList); }

void TMacroEcology::SimulationDisplay() { CloudToGrid(SimulationGrid, xVariableList, yVariableList); }

void TMacroEcology::DisplayColumnTitles(TStringGrid *Grid)
{
    Grid->SetCells(1, 0, Tarvix->MainGrid->Cells(xColumn_, 0));
    Grid->SetCells(2, 0, Tarvix->MainGrid->Cells(yColumn_, 0));
}

void TMacroEcology::DisplayRowTitles(TStringGrid *Grid) { CopyRowTitles(Grid); }

void TMacroEcology::chartDisplay(TPointSeries *Points, TLineSeries *Line)
{
    Points->Clear();
    Line->Clear();
    AddPointsInXOrder(Points, xVariableList, yVariableList);
    const double x[2] = {BoundaryX1, BoundaryX2}, y[2] = {BoundaryY1, BoundaryY2};
    AddPointsInXOrder(Line, x, y);
}

void TMacroEcology::ObservedChartDisplay() { chartDisplay(Series1, Series2); }

void TMacroEcology::SimulatedChartDisplay() { chartDisplay(Series3, Series4); }

void TMacroEcology::ObservedRegressionDisplay(double Slope)
{
    RegressionChartDisplay(Series5, Series6, xVariableList, yVariableList, Slope, largestObservedX());
}

void TMacroEcology::SimulatedRegressionDisplay(double Slope)
{
    RegressionChartDisplay(Series7, Series8, xVariableList, yVariableList, Slope, largestObservedX());
}

// ---- Commands
// --------------------------------------------------------------------------------------

void TMacroEcology::Summary1Click(TObject *) { SaveSummaryAs(SaveDialog1, Memo1); }

void TMacroEcology::Close1Click(TObject *) { Close(); }

void TMacroEcology::Help1Click(TObject *) { Tarvix->RunHelp(); }
