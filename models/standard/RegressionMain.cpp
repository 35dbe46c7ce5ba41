// The regression test's run and results window.
#include "models/standard/RegressionMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/standard/RegressionOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

TRegressionShell *RegressionShell = nullptr;


TRegressionShell::TRegressionShell(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("RegressionShell"));
    SetCaption(QStringLiteral("Tarvix Professional: Regression Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 640, 520);

    PageControl1 = AddResultPages(this, {{&InputSheet, QStringLiteral("Input Matrix")},
                                         {&SimulationSheet, QStringLiteral("Simulation")},
                                         {&ChartsSheet, QStringLiteral("Charts")},
                                         {&InterceptSheet, QStringLiteral("Intercept")},
                                         {&SlopeSheet, QStringLiteral("Slope")},
                                         {&RSheet, QStringLiteral("r")},
                                         {&SummarySheet, QStringLiteral("Summary")},
                                         {&TimeSheet, QStringLiteral("Time")}});
    AddTwoColumnGrids(this, InputSheet, SimulationSheet, InputGrid, SimulationGrid);
    Chart3 = NewPointLineChart(this, ChartsSheet, QStringLiteral("Observed"), 8, Series5, Series6);
    Chart4 = NewPointLineChart(this, ChartsSheet, QStringLiteral("Simulated"), 316, Series7, Series8);

    const auto page = [this](TTabSheet *Sheet, const char *Caption, const char *ObservedName, const char *EdgesName,
                             const char *CountsName, const char *BlockName, TGroupBox *&Observed, TGroupBox *&Histogram,
                             TMemo *&ObservedMemo, TMemo *&Edges, TMemo *&Counts, TMemo *&Block) {
        const TStatisticPage p = AddStatisticPage(this, Sheet, QLatin1String(Caption), ObservedName, EdgesName,
                                                  CountsName, BlockName);
        Observed = p.ObservedGroup;
        Histogram = p.HistogramGroup;
        ObservedMemo = p.Observed;
        Edges = p.Edges;
        Counts = p.Counts;
        Block = p.Block;
        return p;
    };
    pages_[0] = page(InterceptSheet, "Observed intercept", "ObservedInterceptMemo", "InterceptHistogramMemo",
                     "InterceptHistogramMemo2", "InterceptMemo", InterceptObservedGroup, InterceptHistogramGroup,
                     ObservedInterceptMemo, InterceptHistogramMemo, InterceptHistogramMemo2, InterceptMemo);
    pages_[1] = page(SlopeSheet, "Observed slope", "ObservedSlopeMemo", "SlopeHistogramMemo", "SlopeHistogramMemo2",
                     "SlopeMemo", SlopeObservedGroup, SlopeHistogramGroup, ObservedSlopeMemo, SlopeHistogramMemo,
                     SlopeHistogramMemo2, SlopeMemo);
    pages_[2] = page(RSheet, "Observed r", "ObservedRMemo", "RHistogramMemo", "RHistogramMemo2", "RMemo",
                     RObservedGroup, RHistogramGroup, ObservedRMemo, RHistogramMemo, RHistogramMemo2, RMemo);
    AddSummaryAndTime(this, SummarySheet, TimeSheet, Memo1, TimeMemo);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Save1 = AddMenuCommand(this, root, "Save1", QStringLiteral("&Save"));
    SuMmary1 = AddMenuCommand(this, Save1, "SuMmary1", QStringLiteral("Su&mmary"), &TRegressionShell::SuMmary1Click);
    N1 = AddMenuCommand(this, Save1, "N1", QStringLiteral("-"));
    Close1 = AddMenuCommand(this, Save1, "Close1", QStringLiteral("&Close"), &TRegressionShell::Close1Click);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TRegressionShell::Help1Click);
    SetMenu(MainMenu1);
}

// ---- The run ---------------------------------------------------------------------------------

bool TRegressionShell::Init()
{
    if (RegressionOpts->XvariableCList->ItemIndex() == RegressionOpts->YvariableCList->ItemIndex()) {
        ShowMessage(QStringLiteral("XVariable cannot equal YVariable."));
        Tarvix->InterruptFlag = true;
        return false;
    }
    if (!TakeIterations(iterations_)) return false;
    CurrentSeed = SeedFromEdit(RegressionOpts->RandomSeedEdit);
    return true;
}

void TRegressionShell::InitMatrices()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t n = main->RowCount() - 1;
    xVariableList.assign(static_cast<size_t>(n), 0.0);
    yVariableList.assign(static_cast<size_t>(n), 0.0);
    XVarsSorted.assign(static_cast<size_t>(n), 0.0);
    xColumn_ = RegressionOpts->XvariableCList->ItemIndex() + 1;
    yColumn_ = RegressionOpts->YvariableCList->ItemIndex() + 1;
    // Every cell reads as a number, 0 when it holds none, like the other two-column tests.
    for (int32_t r = 1; r <= n; ++r) {
        xVariableList[r - 1] = XVarsSorted[r - 1] = LeadingReal(main->Cells(xColumn_, r));
        yVariableList[r - 1] = LeadingReal(main->Cells(yColumn_, r));
    }
    if (n > 0) QuickSortReal(XVarsSorted, 0, n - 1);
}

void TRegressionShell::Do_Regression(double &Slope, double &Intercept, double &R)
{
    LinearRegression(xVariableList, yVariableList, static_cast<int32_t>(xVariableList.size()), Slope, Intercept, R);
}

void TRegressionShell::RandomizeLists() { RandomSwapShuffle(std::span<double>(yVariableList)); }

void TRegressionShell::Run()
{
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return;
    }
    StartProgress(QStringLiteral("Regression"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();
    Tarvix->InterruptFlag = false;
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));

    InitMatrices();
    Observed_Coefficient = Observed_Intercept = Observed_cc = 0;
    Do_Regression(Observed_Coefficient, Observed_Intercept, Observed_cc);
    ObservedRegressionDisplay(Observed_Coefficient);

    SimCOEfficients.assign(static_cast<size_t>(iterations_), 0.0);
    SimIntercepts.assign(static_cast<size_t>(iterations_), 0.0);
    SimCCs.assign(static_cast<size_t>(iterations_), 0.0);
    const bool saveMatrices = RegressionOpts->SaveMatrixCheckBox->Checked();
    const auto n = static_cast<int32_t>(xVariableList.size());
    const QString xTitle = ItemText(RegressionOpts->XvariableCList, RegressionOpts->CurrentX_Column);
    const QString yTitle = ItemText(RegressionOpts->XvariableCList, RegressionOpts->CurrentY_Column);
    for (int32_t i = 0; i < iterations_; ++i) {
        if (SimulationInterrupted()) return;
        RandomizeLists();
        Do_Regression(Sims_Coefficient, Sims_Intercept, Sims_cc);
        SimCOEfficients[i] = Sims_Coefficient;
        SimIntercepts[i] = Sims_Intercept;
        SimCCs[i] = Sims_cc;
        Progress->StepIteration();
        if (saveMatrices && !Tarvix->SaveTwoColumnsToFile(i + 1, n, xVariableList, yVariableList, xTitle, yTitle)) {
            Progress->Close();
            Tarvix->InterruptFlag = true;
            return;
        }
    }
    Progress->Flush();

    UnpackResultBlock(RealResultBlock(SimCOEfficients, iterations_, Observed_Coefficient), Mmeans, Vmeans, meanP1,
                      meanP2, lmean, emean, gmean, ses, obsMean, hstMean, hstMean2);
    UnpackResultBlock(RealResultBlock(SimIntercepts, iterations_, Observed_Intercept), I_Mmeans, I_Vmeans, I_meanP1,
                      I_meanP2, I_lmean, I_emean, I_gmean, I_ses, I_obsMean, I_hstMean, I_hstMean2);
    UnpackResultBlock(RealResultBlock(SimCCs, iterations_, Observed_cc), r_Mmeans, r_Vmeans, r_meanP1, r_meanP2,
                      r_lmean, r_emean, r_gmean, r_ses, r_obsMean, r_hstMean, r_hstMean2);
    StatsToStrings();
    CopyColumnsToGrids(InputGrid, SimulationGrid, xColumn_, yColumn_);
    SimulationDisplay();
    ShowHistogram(pages_[0], I_obsMean, I_m, I_hstMean, I_hstMean2);
    ShowHistogram(pages_[1], obsMean, m, hstMean, hstMean2);
    ShowHistogram(pages_[2], r_obsMean, r_m, r_hstMean, r_hstMean2);
    SlopeDisplay();
    InterceptDisplay();
    rDisplay();
    SummaryDisplay();
    SimulatedRegressionDisplay(Mmeans);
    xVariableList.clear();
    yVariableList.clear();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);

    FinishResultsRun(this, Memo1, ses_string, mp1, mp2);
}

// ---- Displays --------------------------------------------------------------------------------

void TRegressionShell::StatsToStrings()
{
    its = IntToStr(iterations_);
    const auto texts = [](double Observed, double M, double V, double P1, double P2, int32_t L, int32_t E, int32_t G,
                          double S, QString &o, QString &mmT, QString &vmT, QString &p1, QString &p2, QString &l,
                          QString &e, QString &g, QString &s) {
        o = FloatToStr75(Observed);
        mmT = FloatToStr75(M);
        vmT = FloatToStr75(V);
        p1 = FloatToStr75(P1);
        p2 = FloatToStr75(P2);
        l = IntToStr(L);
        e = IntToStr(E);
        g = IntToStr(G);
        s = FloatToStr75(S);
    };
    texts(Observed_Coefficient, Mmeans, Vmeans, meanP1, meanP2, lmean, emean, gmean, ses, m, mm, vm, mp1, mp2, lm, em,
          gm, ses_string);
    texts(Observed_Intercept, I_Mmeans, I_Vmeans, I_meanP1, I_meanP2, I_lmean, I_emean, I_gmean, I_ses, I_m, I_mm,
          I_vm, I_mp1, I_mp2, I_lm, I_em, I_gm, I_ses_string);
    texts(Observed_cc, r_Mmeans, r_Vmeans, r_meanP1, r_meanP2, r_lmean, r_emean, r_gmean, r_ses, r_m, r_mm, r_vm,
          r_mp1, r_mp2, r_lm, r_em, r_gm, r_ses_string);
}

void TRegressionShell::SlopeDisplay()
{
    SetMemoLines(SlopeMemo, ResultLines(QStringLiteral("Observed slope = "), m,
                                        QStringLiteral("Mean of simulated slopes = "), mm,
                                        QStringLiteral("Variance of simulated slopes = "), vm, mp1, mp2));
}

void TRegressionShell::InterceptDisplay()
{
    SetMemoLines(InterceptMemo, ResultLines(QStringLiteral("Observed y-intercept = "), I_m,
                                            QStringLiteral("Mean of simulated y-intercepts = "), I_mm,
                                            QStringLiteral("Variance of simulated y-intercepts = "), I_vm, I_mp1,
                                            I_mp2));
}

void TRegressionShell::rDisplay()
{
    SetMemoLines(RMemo, ResultLines(QStringLiteral("Observed r = "), r_m, QStringLiteral("Mean of simulated r = "),
                                    r_mm, QStringLiteral("Variance of simulated r = "), r_vm, r_mp1, r_mp2));
}

void TRegressionShell::SimulationDisplay()
{
    for (size_t k = 0; k < xVariableList.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        if (row >= SimulationGrid->RowCount()) break;
        SimulationGrid->SetCells(1, row, FloatToStr75(xVariableList[k]));
        SimulationGrid->SetCells(2, row, FloatToStr75(yVariableList[k]));
    }
    CopyRowTitles(SimulationGrid);
}

void TRegressionShell::ObservedRegressionDisplay(double Slope)
{
    RegressionChartDisplay(Series5, Series6, xVariableList, yVariableList, Slope,
                           XVarsSorted.empty() ? 0.0 : XVarsSorted.back());
}

void TRegressionShell::SimulatedRegressionDisplay(double Slope)
{
    RegressionChartDisplay(Series7, Series8, xVariableList, yVariableList, Slope,
                           XVarsSorted.empty() ? 0.0 : XVarsSorted.back());
}

void TRegressionShell::SummaryDisplay()
{
    TComboBox *xList = RegressionOpts->XvariableCList;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("XVariable = ") + ItemText(xList, RegressionOpts->CurrentX_Column);
    s << QStringLiteral("YVariable = ") + ItemText(xList, RegressionOpts->CurrentY_Column);
    s << QStringLiteral("Iterations = ") + its;
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << SummaryRule() << QString();
    struct TBlock
    {
        TSummaryLabels Labels;
        const QString &Observed, &M, &V, &L, &E, &G, &Ses, &P1, &P2, &Edges, &Counts;
    };
    const TBlock blocks[] = {
        {{"Y-INTERCEPT", "Observed y-intercept = ", "Mean of simulated y-intercepts = ",
          "Variance of simulated y-intercepts = ", "Number of times observed y-intercept < simulated y-intercepts = ",
          "Number of times observed y-intercept = simulated y-intercepts = ",
          "Number of times observed y-intercept > simulated y-intercepts = "},
         I_m, I_mm, I_vm, I_lm, I_em, I_gm, I_ses_string, I_mp1, I_mp2, I_hstMean, I_hstMean2},
        {{"SLOPE", "Observed slope = ", "Mean of simulated slope = ", "Variance of simulated slope = ",
          "Number of times observed slope < simulated slope = ", "Number of times observed slope = simulated slope = ",
          "Number of times observed slope > simulated slope = "},
         m, mm, vm, lm, em, gm, ses_string, mp1, mp2, hstMean, hstMean2},
        {{"R", "Observed r = ", "Mean of simulated r = ", "Variance of simulated r = ",
          "Number of times observed r < simulated r = ", "Number of times observed r = simulated r = ",
          "Number of times observed r > simulated r = "},
         r_m, r_mm, r_vm, r_lm, r_em, r_gm, r_ses_string, r_mp1, r_mp2, r_hstMean, r_hstMean2},
    };
    for (const TBlock &b : blocks)
        s << StatisticSummaryLines(b.Labels, b.Observed, b.M, b.V, b.L, b.E, b.G, b.Ses, b.P1, b.P2, b.Edges, b.Counts);
    s << QStringLiteral("INPUT MATRIX:") << QString();
    s << GridTextLines(Tarvix->MainGrid);
    SetMemoLines(Memo1, s);
}

// ---- Commands --------------------------------------------------------------------------------

void TRegressionShell::SuMmary1Click(TObject *) { SaveSummaryAs(SaveDialog1, Memo1); }

void TRegressionShell::Close1Click(TObject *) { Close(); }

void TRegressionShell::Help1Click(TObject *) { Tarvix->RunHelp(); }
