// The Co-occurrence and Range Overlap results window and its run.
#include "models/presence_absence/CoOccurrenceMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "models/presence_absence/SwapChainIndex.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

TCoOccurrence *CoOccurrence = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");
const QString kRule = QString(46, QLatin1Char('_'));

bool RangeMode() { return Tarvix->RangeCoOccurrence == 1; }
int32_t IndexChoice() { return CoOccurrenceOpts->CurrentList()->ItemIndex(); }
bool ExcludeEmptySites() { return CoOccurrenceOpts->PatternGroup->ItemIndex() == 1; }

// Line k of a memo, empty past its end.
// Column 1 of a weights table, rows 1.., as numbers.
std::vector<double> WeightsOf(TStringGrid *Grid)
{
    std::vector<double> w;
    if (!Grid) return w;
    for (int r = 1; r < Grid->RowCount(); ++r) w.push_back(LeadingReal(Grid->Cells(1, r)));
    return w;
}

} // namespace

TCoOccurrence::TCoOccurrence(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("CoOccurrence"));
    SetCaption(QStringLiteral("Tarvix Professional: Co-occurrence Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 720, 520);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    auto sheet = [this](const QString &Caption) {
        auto *s = new TTabSheet(this);
        s->SetPageControl(PageControl1);
        s->SetCaption(Caption);
        return s;
    };
    InputSheet = sheet(QStringLiteral("Input Matrix"));
    SimulationSheet = sheet(QStringLiteral("Simulation"));
    PairwiseSheet = sheet(QStringLiteral("Pairwise"));
    PairwiseColumnSheet = sheet(QStringLiteral("Pairwise Column"));
    IndexSheet = sheet(QStringLiteral("Index"));
    DegenerateSheet = sheet(QStringLiteral("Degenerate Index"));
    SummarySheet = sheet(QStringLiteral("Summary"));
    TimeSheet = sheet(QStringLiteral("Time"));
    DegenerateSheet->SetTabVisible(false);

    InputGrid = NewResultGrid(this, InputSheet, "InputGrid");
    SimulationLabel = new TLabel(this);
    SimulationLabel->SetParent(SimulationSheet);
    SimulationLabel->SetAlign(alTop);
    SimulationLabel->SetCaption(QStringLiteral("simulated matrix"));
    SimulationGrid = NewResultGrid(this, SimulationSheet, "SimulationGrid");
    ResponseGrid = NewResultGrid(this, PairwiseSheet, "ResponseGrid");
    ProStringGrid1 = new TProStringGrid(this);
    ProStringGrid1->SetName(QStringLiteral("ProStringGrid1"));
    ProStringGrid1->SetParent(PairwiseColumnSheet);
    ProStringGrid1->SetAlign(alClient);
    ProStringGrid1->SetColCount(3);
    ProStringGrid1->SetFixedRows(0);
    ProStringGrid1->SetFixedCols(0);

    auto statisticPage = [this](TTabSheet *Page, TGroupBox *&Observed, TGroupBox *&Histogram, const char *Prefix,
                                TMemo *&ObservedMemo, TMemo *&Low, TMemo *&High, TMemo *&Counts, TMemo *&Edges,
                                TMemo *&Block) {
        const QString p = QLatin1String(Prefix);
        auto name = [&](const char *n) { return (p + QLatin1String(n)).toLatin1(); };
        Observed = new TGroupBox(this);
        Observed->SetParent(Page);
        Observed->SetCaption(QStringLiteral("Observed index"));
        Observed->SetBounds(8, 8, 170, 260);
        Histogram = new TGroupBox(this);
        Histogram->SetParent(Page);
        Histogram->SetCaption(QStringLiteral("Histogram Low...  High.................    # Simulations "));
        Histogram->SetBounds(184, 8, 330, 260);
        ObservedMemo = NewResultMemo(this, Observed, p.isEmpty() ? "ObservedMeanMemo" : "Split_ObservedMemo", 6, 20, 158, 232);
        Low = NewResultMemo(this, Histogram, name("MeanHistogramMemoLow").constData(), 6, 20, 100, 232);
        High = NewResultMemo(this, Histogram, name("MeanHistogramMemoHigh").constData(), 110, 20, 100, 232);
        Counts = NewResultMemo(this, Histogram, name("MeanHistogramMemo2").constData(), 214, 20, 100, 232);
        Edges = NewResultMemo(this, Page, name("MeanHistogramMemo").constData(), 0, 0, 10, 10);
        Edges->SetVisible(false);
        Block = NewResultMemo(this, Page, name("MeanMemo").constData(), 8, 276, 506, 160);
    };
    statisticPage(IndexSheet, ObservedGroup, HistogramGroup, "", ObservedMeanMemo, MeanHistogramMemoLow,
                  MeanHistogramMemoHigh, MeanHistogramMemo2, MeanHistogramMemo, MeanMemo);
    statisticPage(DegenerateSheet, Split_ObservedGroup, Split_HistogramGroup, "Split_", Split_ObservedMemo,
                  Split_MeanHistogramMemoLow, Split_MeanHistogramMemoHigh, Split_MeanHistogramMemo2,
                  Split_MeanHistogramMemo, Split_MeanMemo);

    Memo1 = NewResultMemo(this, SummarySheet, "Memo1", 0, 0, 10, 10);
    Memo1->SetAlign(alClient);
    Memo1->SetReadOnly(false);
    Memo1->SetScrollBars(ssBoth);
    Memo1->SetHint(QStringLiteral("You can annotate and edit this output."));
    Memo1->SetShowHint(true);
    TimeMemo = NewResultMemo(this, TimeSheet, "TimeMemo", 0, 0, 10, 10);
    TimeMemo->SetAlign(alClient);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    auto add = [this](TMenuItem *Parent, const char *Name, const QString &Caption,
                      void (TCoOccurrence::*Handler)(TObject *) = nullptr) {
        return AddMenuCommand(this, Parent, Name, Caption, Handler);
    };
    TMenuItem *root = MainMenu1->Items();
    Save1 = add(root, "Save1", QStringLiteral("&Save"));
    Summary1 = add(Save1, "Summary1", QStringLiteral("Su&mmary"), &TCoOccurrence::Summary1Click);
    Pairwise1 = add(Save1, "Pairwise1", QStringLiteral("&Pairwise"));
    PairwiseSpace1 = add(Pairwise1, "PairwiseSpace1", QStringLiteral("Space delimited (.txt)"),
                         &TCoOccurrence::PairwiseSpace1Click);
    PairwiseComma1 = add(Pairwise1, "PairwiseComma1", QStringLiteral("Comma delimited (.txt)"),
                         &TCoOccurrence::PairwiseComma1Click);
    PairwiseColumn1 = add(Save1, "PairwiseColumn1", QStringLiteral("Pairwise &Column"));
    PairwiseColumnSpace1 = add(PairwiseColumn1, "PairwiseColumnSpace1", QStringLiteral("Space delimited (.txt)"),
                               &TCoOccurrence::PairwiseColumnSpace1Click);
    PairwiseColumnComma1 = add(PairwiseColumn1, "PairwiseColumnComma1", QStringLiteral("Comma delimited (.txt)"),
                               &TCoOccurrence::PairwiseColumnComma1Click);
    Close1 = add(Save1, "Close1", QStringLiteral("&Close"), &TCoOccurrence::Close1Click);
    Help1 = add(root, "Help1", QStringLiteral("&Help"));
    SetMenu(MainMenu1);
}

// ---- The run ---------------------------------------------------------------------------------

void TCoOccurrence::Calculate_Row_Pairs()
{
    const int64_t R = Tarvix->MainGrid->RowCount();
    Row_Pairs = static_cast<int32_t>((R - 1) * (R - 2) / 2);
}

void TCoOccurrence::InitGlobalVariables()
{
    Mean = Variance = mmeans = vmeans = meanP1 = meanP2 = ses = 0;
    lmean = emean = gmean = 0;
    split_mmeans = split_vmeans = split_meanP1 = split_meanP2 = split_ses = 0;
    split_lmean = split_emean = split_gmean = 0;
    SimCount = SplitCount = 0;
    index_ = TBlockText{};
    split_ = TBlockText{};
}

bool TCoOccurrence::CheckUserWeightCounts()
{
    bool ok = true;
    TProStringGrid *main = Tarvix->MainGrid;
    auto rows = [](TStringGrid *g) { return g ? g->RowCount() : 0; };
    if (CoOccurrenceOpts->ColumnGroup->ItemIndex() == cnUserDefined &&
        main->ColCount() != rows(CoOccurrenceUserDefined ? CoOccurrenceUserDefined->SitesWeightsGrid : nullptr)) {
        ShowMessage(QStringLiteral("Column Count <> SitesWeightsGrid Row Count. Aborting simulation."));
        ok = false;
    }
    if (CoOccurrenceOpts->RowGroup->ItemIndex() == cnUserDefined &&
        main->RowCount() != rows(CoOccurrenceUserDefined ? CoOccurrenceUserDefined->SpeciesWeightsGrid : nullptr)) {
        ShowMessage(QStringLiteral("Row Count <> SpeciesWeightsGrid Row Count. Aborting simulation."));
        ok = false;
    }
    if (!ok) Tarvix->InterruptFlag = true;
    return ok;
}

bool TCoOccurrence::Init()
{
    const auto fail = [](const char *Message) {
        ShowMessage(QString::fromUtf8(Message));
        Tarvix->InterruptFlag = true;
        return false;
    };
    const int64_t R = Tarvix->MainGrid->RowCount(), C = Tarvix->MainGrid->ColCount();
    const int64_t cells = (R - 1) * (C - 1);
    if (cells < 4 || cells > 440000) return fail("4 < Cell limit < 440,001, e.g. 200x2200.");
    if (R > 1401) return fail("Row limit = 1400 for this analysis. ");
    if (R < 3) return fail("At least 2 rows of data required for co-occurrence.");
    try {
        Iterations = LeadingInt(CoOccurrenceOpts->IterationsEdit->Text());
    } catch (const EConvertError &) {
        Iterations = 0;
    }
    if (Iterations < 1) return fail("Iterations must be > 0.");
    if (Iterations > 100000) return fail("Iterations must be <= 100,000.");
    // The progress window counts what the run counts, also when Run is called directly.
    Tarvix->Iterations = Iterations;
    // The cells are read before the generator is seeded, so that a refused matrix leaves the
    // generator and the last run's matrices as they were.
    if (!InitMatrices()) return false;
    try {
        Seed = LeadingInt(CoOccurrenceOpts->RandomSeedEdit->Text());
    } catch (const EConvertError &) {
        Seed = 0;
    }
    if (Seed >= 1) RandSeed = static_cast<uint32_t>(Seed);
    else Randomize();
    CurrentSeed = static_cast<int32_t>(RandSeed);
    Mean = Variance = mmeans = vmeans = 0;
    return true;
}

bool TCoOccurrence::InitMatrices()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t C = main->ColCount(), R = main->RowCount();
    // A text that is no number would otherwise pass for an absence; an empty cell is one.
    Matrix observed(C, R);
    for (int32_t r = 1; r < R; ++r)
        for (int32_t c = 1; c < C; ++c) {
            const QString text = main->Cells(c, r);
            double v = 0;
            if (!Trim(text).isEmpty() && !TryStrToFloat(text, v)) {
                ShowMessage(QStringLiteral("Data cell is not a number: row \"%1\", column \"%2\", text \"%3\". "
                                           "Aborting simulation.")
                                .arg(main->Cells(0, r), main->Cells(c, 0), text));
                Tarvix->InterruptFlag = true;
                return false;
            }
            observed[c][r] = v > 0 ? 1 : 0;
        }
    Tarvix->info_Mat = {C, R, C - 1, R - 1};
    O_Mat = std::move(observed);
    S_Mat = Matrix(C, R);
    F_Mat = Matrix(C, R);
    Sims.Fixed_Mat = O_Mat;
    Sims.Done = false;
    Calculate_Row_Pairs();
    return true;
}

bool TCoOccurrence::PairwiseShown() const { return RangeMode() || IndexChoice() == 0; }

TPresenceIndex TCoOccurrence::IndexInUse() const
{
    const int32_t k = IndexChoice();
    if (RangeMode()) return k == 0 ? piRelativeOverlap : k == 1 ? piUnion : piOverlap;
    return k == 0 ? piCScore : k == 1 ? piCheckerboards : k == 2 ? piCombinations : piVRatio;
}

double TCoOccurrence::MatrixIndex(std::span<double> PairList, Matrix &M, double *PairVariance)
{
    return PresenceIndex(IndexInUse(), M, Tarvix->info_Mat, ExcludeEmptySites(), PairList, PairVariance);
}

void TCoOccurrence::Do_Observed(int32_t Pairs, std::span<double> PairList, Matrix &M)
{
    Mean = MatrixIndex(PairList.first(static_cast<size_t>(Pairs)), M, &Variance);
}

void TCoOccurrence::Do_Sim(int32_t Pairs, std::span<double> PairList, double &SimMean, double &SimVariance, Matrix &M)
{
    SimMean = MatrixIndex(PairList.first(static_cast<size_t>(Pairs)), M, &SimVariance);
}

void TCoOccurrence::ListStatistics(std::span<double> List, int32_t Count, double &M, double &V, double &P1, double &P2,
                                   int32_t &Less, int32_t &Equal, int32_t &Greater, double &Ses, TBlockText &Text)
{
    M = V = P1 = P2 = Ses = 0;
    Less = Equal = Greater = 0;
    if (Count < 1) return;
    MeanVariance(Count, List, M, V);
    TailProbabilities(List, Mean, Count, P1, P2, Greater, Equal, Less);
    Ses = V > 0 ? (Mean - M) / std::sqrt(V) : 0.0;
    QuickSortReal(List, 0, Count - 1);
    BuildHistogram(Count - 1, List, Mean, Text.Position);
    HistogramToText(Text.Edges, Text.Counts);
    HistogramToColumns(Text.Low, Text.High, Text.Counts);
}

void TCoOccurrence::Run()
{
    if (!CheckUserWeightCounts()) return;
    InitGlobalVariables();
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));
    if (!Init()) return;

    StartProgress(RangeMode() ? QStringLiteral("Range Overlap") : QStringLiteral("Co-occurrence"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();

    TInfoMat &info = Tarvix->info_Mat;
    MarginalTotals(O_Mat, info);
    MarginalTotals(Sims.Fixed_Mat, info);
    if (!(O_Mat[0][0] > 0)) {
        Progress->Close();
        ShowMessage(QStringLiteral("Row and Column Totals = 0."));
        Tarvix->InterruptFlag = true;
        return;
    }
    liveRows_.clear();
    for (int32_t r = 1; r < O_Mat.Rows(); ++r)
        if (O_Mat[0][r] > 0) liveRows_.push_back(r);
    CopyNonEmptyRows(O_Mat, F_Mat, info);
    MarginalTotals(F_Mat, info);
    Calculate_Row_Pairs();
    if (!(Row_Pairs > 0)) {
        Progress->Close();
        ShowMessage(QStringLiteral("Row pairs < 1; aborting simulation."));
        Tarvix->InterruptFlag = true;
        return;
    }
    std::vector<double> observedPairs(static_cast<size_t>(Row_Pairs));
    Do_Observed(Row_Pairs, observedPairs, F_Mat);

    std::vector<double> simList(static_cast<size_t>(Iterations)), splitList(static_cast<size_t>(Iterations));
    std::vector<double> pairs(static_cast<size_t>(Row_Pairs));
    Tarvix->InterruptFlag = false;
    Sims.RowGroup = CoOccurrenceOpts->RowGroup->ItemIndex();
    Sims.ColumnGroup = CoOccurrenceOpts->ColumnGroup->ItemIndex();
    Sims.FixedFixedGroup = CoOccurrenceOpts->FixedFixedGroup->ItemIndex();
    Sims.DegenerateGroup = CoOccurrenceOpts->DegenerateGroup->ItemIndex();
    Sims.Iterations = Iterations;
    Sims.Context.InterruptFlag = &Tarvix->InterruptFlag;
    Sims.Context.ProcessMessages = [] { Application->ProcessMessages(); };
    Sims.Context.ShowMessage = [](const QString &Text) { ShowMessage(Text); };
    Sims.Context.SetProgressCaption = [](const QString &Text) { Progress->SetCaption(Text); };
    Sims.Context.SetProgressMax = [](int32_t Max) { Progress->ProgressBar1->SetMax(Max); };
    Sims.Context.SetProgressPosition = [](int32_t Position) { Progress->ProgressBar1->SetPosition(Position); };
    Sims.Context.CloseProgress = [] { Progress->Close(); };
    TProStringGrid *main = Tarvix->MainGrid;
    Sims.SitesNumberLine.assign(static_cast<size_t>(main->ColCount()), 0.0);
    Sims.SpeciesNumberLine.assign(static_cast<size_t>(main->RowCount()), 0.0);
    if (CoOccurrenceUserDefined) {
        Sims.LoadSiteWeights(WeightsOf(CoOccurrenceUserDefined->SitesWeightsGrid));
        Sims.LoadSpeciesWeights(WeightsOf(CoOccurrenceUserDefined->SpeciesWeightsGrid));
    }
    const bool saveMatrices = CoOccurrenceOpts->SaveMatrixCheckBox->Checked();
    const int32_t dataCols = main->ColCount() - 1, dataRows = main->RowCount() - 1;
    // Along the sequential-swap chain each matrix is one swap from the one before: the index
    // follows the swaps, and the chain is read in place instead of copied.
    Sims.ChainInPlace = FollowSwapChain && Sims.CanFollowChain(O_Mat);
    TSwapChainIndex chainIndex;
    int64_t swapsSeen = Sims.ChainSwapCount;

    for (int32_t i = 1; i <= Iterations; ++i) {
        info[2] = dataCols;
        info[3] = dataRows;
        Sims.NextSimulatedMatrix(O_Mat, S_Mat);
        if (SimulationInterrupted()) return;
        const Matrix &simulated = Sims.ChainInPlace ? Sims.Fixed_Mat : S_Mat;
        if (!Sims.ChainInPlace) MarginalTotals(S_Mat, info);
        if (saveMatrices) {
            try {
                Tarvix->SaveSimulation_2(i, 0, simulated);
            } catch (const Exception &) {
                Progress->Close();
                ShowMessage(QStringLiteral("Error saving simulation...Aborting."));
                Tarvix->InterruptFlag = true;
                return;
            }
        }
        double simMean = 0, simVariance = 0;
        const int64_t swaps = Sims.ChainSwapCount - swapsSeen;
        swapsSeen = Sims.ChainSwapCount;
        if (chainIndex.Started() && swaps <= 1) {
            if (swaps == 1) chainIndex.Swap(Sims.LastChainSwap);
            simMean = chainIndex.Value();
        } else {
            CopyNonEmptyRows(simulated, F_Mat, info);
            MarginalTotals(F_Mat, info);
            Do_Sim(Row_Pairs, pairs, simMean, simVariance, F_Mat);
            if (Sims.ChainInPlace) chainIndex.Start(Sims.Fixed_Mat, IndexInUse(), Row_Pairs, ExcludeEmptySites());
        }
        if (!Sims.DegenerateFlag) simList[static_cast<size_t>(SimCount++)] = simMean;
        else splitList[static_cast<size_t>(SplitCount++)] = simMean;
        Progress->StepIteration();
    }
    Progress->Flush();
    if (Sims.ChainInPlace) {
        // The last matrix and its compacted copy, as a full count of it leaves them.
        S_Mat = Sims.Fixed_Mat;
        CopyNonEmptyRows(S_Mat, F_Mat, info);
        MarginalTotals(F_Mat, info);
        if (ExcludeEmptySites()) {
            DropEmptyColumns(F_Mat, info);
            MarginalTotals(F_Mat, info);
        }
        Sims.ChainInPlace = false;
    }

    ListStatistics(simList, SimCount, mmeans, vmeans, meanP1, meanP2, lmean, emean, gmean, ses, index_);
    ListStatistics(splitList, SplitCount, split_mmeans, split_vmeans, split_meanP1, split_meanP2, split_lmean,
                   split_emean, split_gmean, split_ses, split_);

    SetCaption(RangeMode() ? QStringLiteral("Tarvix Professional: Range Overlap Results")
                           : QStringLiteral("Tarvix Professional: Co-occurrence Results"));
    StatsToStrings();
    SimulationDisplay();
    DisplayColumnTitles(SimulationGrid);
    DisplayRowTitles(SimulationGrid);
    InputGridDisplay();
    const auto observedMemo = [this](TMemo *M, const TBlockText &T) {
        M->SetText(T.Position + T.Observed + QStringLiteral(".................>"));
    };
    observedMemo(ObservedMeanMemo, index_);
    observedMemo(Split_ObservedMemo, split_);
    const auto histogramMemos = [](const TBlockText &T, TMemo *Low, TMemo *High, TMemo *Counts, TMemo *Edges) {
        Low->SetText(T.Low);
        High->SetText(T.High);
        Counts->SetText(T.Counts);
        Edges->SetText(T.Edges);
    };
    histogramMemos(index_, MeanHistogramMemoLow, MeanHistogramMemoHigh, MeanHistogramMemo2, MeanHistogramMemo);
    histogramMemos(split_, Split_MeanHistogramMemoLow, Split_MeanHistogramMemoHigh, Split_MeanHistogramMemo2,
                   Split_MeanHistogramMemo);
    DegenerateSheet->SetTabVisible(CoOccurrenceOpts->DegenerateGroup->ItemIndex() == dgSplit);
    MeanDisplay();
    Split_MeanDisplay();
    SummaryDisplay();
    // The pair tables change only now, so that a stopped run leaves the last results in view.
    PairwiseSheet->SetTabVisible(PairwiseShown());
    PairwiseColumnSheet->SetTabVisible(PairwiseShown());
    if (PairwiseShown()) {
        // Sized before the titles go in: the title routines walk the table's own counts.
        ResponseGrid->SetColCount(main->RowCount());
        ResponseGrid->SetRowCount(main->RowCount() - 1);
        DisplayRowInColumnTitles(ResponseGrid);
        DisplayRowTitles(ResponseGrid);
        ResponseDisplay(observedPairs);
        PairwiseColumnDisplay();
    }
    Sims.SitesNumberLine.clear();
    Sims.SpeciesNumberLine.clear();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);
    Finish();
}

void TCoOccurrence::Finish()
{
    Tarvix->BuildBatchSummaryFirstRow();
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, index_.Ses, index_.P1, index_.P2);
    if (Tarvix->BatchSwitch && Tarvix->Flag) {
        const bool saved = Tarvix->SaveBatchSummary(Memo1);
        // Closed after every file: the batch may end here, with nothing left to close it.
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

void TCoOccurrence::StatsToStrings()
{
    const auto texts = [this](TBlockText &T, double M, double V, double P1, double P2, int32_t L, int32_t E, int32_t G,
                              double S) {
        T.Observed = FloatToStr75(Mean);
        T.Mean = FloatToStr75(M);
        T.Variance = FloatToStr75(V);
        T.P1 = FloatToStr75(P1);
        T.P2 = FloatToStr75(P2);
        T.Ses = FloatToStr75(S);
        T.Less = L;
        T.Equal = E;
        T.Greater = G;
    };
    texts(index_, mmeans, vmeans, meanP1, meanP2, lmean, emean, gmean, ses);
    texts(split_, split_mmeans, split_vmeans, split_meanP1, split_meanP2, split_lmean, split_emean, split_gmean,
          split_ses);
}

void TCoOccurrence::SimulationDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    SimulationGrid->SetColCount(main->ColCount());
    SimulationGrid->SetRowCount(main->RowCount());
    for (int c = 0; c < main->ColCount() && c < S_Mat.Cols(); ++c)
        for (int r = 0; r < main->RowCount() && r < S_Mat.Rows(); ++r) SimulationGrid->SetCells(c, r, IntToStr(S_Mat[c][r]));
}

void TCoOccurrence::DisplayColumnTitles(TStringGrid *Grid)
{
    for (int c = 0; c < Grid->ColCount(); ++c) Grid->SetCells(c, 0, Tarvix->MainGrid->Cells(c, 0));
}

void TCoOccurrence::DisplayRowTitles(TStringGrid *Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r) Grid->SetCells(0, r, Tarvix->MainGrid->Cells(0, r));
}

void TCoOccurrence::DisplayRowInColumnTitles(TStringGrid *Grid)
{
    for (int c = 0; c < Grid->ColCount(); ++c) Grid->SetCells(c, 0, Tarvix->MainGrid->Cells(0, c));
}

void TCoOccurrence::InputGridDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    InputGrid->SetColCount(main->ColCount());
    InputGrid->SetRowCount(main->RowCount());
    for (int r = 0; r < main->RowCount(); ++r)
        for (int c = 0; c < main->ColCount(); ++c) InputGrid->SetCells(c, r, main->Cells(c, r));
}

namespace {

QStringList BlockLines(const QString &Observed, const QString &M, const QString &V, const QString &P1, const QString &P2)
{
    return {QStringLiteral("Observed index = ") + Observed,
            QString(),
            QStringLiteral("Mean of simulated indices = ") + M,
            QStringLiteral("Variance of simulated indices = ") + V,
            QString(),
            QStringLiteral("p(observed <= expected) = ") + P1,
            QStringLiteral("p(observed >= expected) = ") + P2,
            QString()};
}

} // namespace

void TCoOccurrence::MeanDisplay()
{
    SetMemoLines(MeanMemo, BlockLines(index_.Observed, index_.Mean, index_.Variance, index_.P1, index_.P2));
}

void TCoOccurrence::Split_MeanDisplay()
{
    SetMemoLines(Split_MeanMemo, BlockLines(split_.Observed, split_.Mean, split_.Variance, split_.P1, split_.P2));
}

void TCoOccurrence::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const TCoOccurrenceOpts *o = CoOccurrenceOpts;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Rows = ") + IntToStr(main->RowCount() - 1) + QStringLiteral("; Columns = ") +
             IntToStr(main->ColCount() - 1);
    s << QStringLiteral("Iterations = ") + IntToStr(Iterations);
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    const int rows = o->RowGroup->ItemIndex(), cols = o->ColumnGroup->ItemIndex();
    QString rowText;
    switch (rows) {
    case cnEquiprobable: rowText = QStringLiteral("Row sums equiprobable."); break;
    case cnFixedSum:
        rowText = QStringLiteral("Row sums fixed.");
        if (cols == cnFixedSum) {
            static const char *const algorithms[] = {" (Sequential Swap algorithm)", " (Independent Swap algorithm)",
                                                     " (Random Knights Tour algorithm)"};
            const int f = o->FixedFixedGroup->ItemIndex();
            if (f >= 0 && f <= 2) rowText += QLatin1String(algorithms[f]);
        }
        break;
    case cnProportional: rowText = QStringLiteral("Row sums proportional."); break;
    default: rowText = QStringLiteral("Row sums user-defined."); break;
    }
    s << rowText;
    static const char *const colTexts[] = {"Column sums equiprobable.", "Column sums fixed.", "Column sums proportional",
                                           "Column sums user-defined."};
    s << QLatin1String(colTexts[std::clamp(cols, 0, 3)]);
    static const char *const coIndex[] = {"C-score", "Number of pairs of checkerboard species",
                                          "Number of combinations", "Variance ratio"};
    static const char *const rangeIndex[] = {"Relative Overlap", "Union", "Overlap"};
    s << QStringLiteral("Index = ") + QLatin1String(RangeMode() ? rangeIndex[std::clamp(IndexChoice(), 0, 2)]
                                                                : coIndex[std::clamp(IndexChoice(), 0, 3)]);
    static const char *const degenerate[] = {"Retain", "Discard", "Split", "Fix"};
    s << QStringLiteral("Degenerate matrix check = ") +
             QLatin1String(degenerate[std::clamp(o->DegenerateGroup->ItemIndex(), 0, 3)]);
    s << (ExcludeEmptySites() ? QStringLiteral("Pattern = Exclude") : QStringLiteral("Pattern = Include"));

    const auto block = [&](const QString &Title, const TBlockText &T, TMemo *Edges, TMemo *Counts) {
        s << kRule << QString() << Title;
        s << QStringLiteral("Observed index = ") + T.Observed;
        s << QStringLiteral("Mean of simulated indices = ") + T.Mean;
        s << QStringLiteral("Variance of simulated indices = ") + T.Variance;
        s << QStringLiteral("p(observed <= expected) = ") + T.P1;
        s << QStringLiteral("p(observed >= expected) = ") + T.P2;
        s << QString();
        s << QStringLiteral("Number of times observed index < simulated indices = ") + IntToStr(T.Less);
        s << QStringLiteral("Number of times observed index = simulated indices = ") + IntToStr(T.Equal);
        s << QStringLiteral("Number of times observed index > simulated indices = ") + IntToStr(T.Greater);
        s << QStringLiteral("Standardized Effect Size = ") + T.Ses;
        s << QString();
        s << QStringLiteral("Simulation frequencies:") << QStringLiteral("Histogram          # Simulations");
        for (int k = 0; k <= 13; ++k) s << MemoLine(Edges, k) + QStringLiteral("  ") + MemoLine(Counts, k);
    };
    block(QStringLiteral("INDEX"), index_, MeanHistogramMemo, MeanHistogramMemo2);
    block(QStringLiteral("DEGENERATE INDEX"), split_, Split_MeanHistogramMemo, Split_MeanHistogramMemo2);
    s << kRule << QString() << QStringLiteral("INPUT MATRIX:") << QString();
    for (int r = 0; r < main->RowCount(); ++r) {
        QString line;
        for (int c = 0; c < main->ColCount(); ++c) line += main->Cells(c, r) + QLatin1Char(' ');
        s << line;
    }
    SetMemoLines(Memo1, s);
}

void TCoOccurrence::ResponseDisplay(std::span<const double> PairList)
{
    const int R = Tarvix->MainGrid->RowCount();
    ResponseGrid->SetColCount(R);
    ResponseGrid->SetRowCount(R - 1);
    // Pairs with a species that has no presence show 0; the others are looked up by their live
    // positions, so every value sits under its own species whatever rows are empty.
    std::vector<int64_t> live(static_cast<size_t>(R), -1);
    for (size_t i = 0; i < liveRows_.size(); ++i) live[static_cast<size_t>(liveRows_[i])] = static_cast<int64_t>(i);
    const int64_t n = static_cast<int64_t>(liveRows_.size());
    for (int a = 1; a < R - 1; ++a)
        for (int b = 1; b < R; ++b) {
            QString text;
            if (b > a) {
                const int64_t i = live[static_cast<size_t>(a)], j = live[static_cast<size_t>(b)];
                const int64_t k = i * (2 * n - i - 1) / 2 + (j - i - 1);
                const double v = i >= 0 && j >= 0 && k < static_cast<int64_t>(PairList.size())
                                     ? PairList[static_cast<size_t>(k)]
                                     : 0.0;
                text = FloatToStrF(v, ffFixed, 7, 5);
            }
            ResponseGrid->SetCells(b, a, text);
        }
}

void TCoOccurrence::PairwiseColumnDisplay()
{
    const int R = Tarvix->MainGrid->RowCount();
    ProStringGrid1->SetColCount(3);
    ProStringGrid1->SetRowCount(std::max(Row_Pairs, 1));
    ProStringGrid1->SetFixedRows(0);
    ProStringGrid1->SetFixedCols(0);
    int i = 0;
    for (int a = 1; a < R - 1; ++a)
        for (int b = a + 1; b < R; ++b, ++i) {
            ProStringGrid1->SetCells(0, i, ResponseGrid->Cells(0, a));
            ProStringGrid1->SetCells(1, i, ResponseGrid->Cells(b, 0));
            ProStringGrid1->SetCells(2, i, ResponseGrid->Cells(b, a));
        }
}

// ---- Menu ------------------------------------------------------------------------------------

void TCoOccurrence::Summary1Click(TObject *)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(QStringLiteral("summary.txt"));
    if (!SaveDialog1->Execute()) return;
    try {
        Memo1->Lines()->SaveToFile(SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

bool TCoOccurrence::saveGrid(TStringGrid *Grid, bool Comma, const QString &DefaultName)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(DefaultName);
    if (!SaveDialog1->Execute()) return false;
    try {
        return Comma ? Tarvix->SaveGridToFileComma(Grid, SaveDialog1->FileName())
                     : Tarvix->SaveGridToFile(Grid, SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
        return false;
    }
}

void TCoOccurrence::PairwiseSpace1Click(TObject *) { saveGrid(ResponseGrid, false, QStringLiteral("pairwise.txt")); }

void TCoOccurrence::PairwiseComma1Click(TObject *) { saveGrid(ResponseGrid, true, QStringLiteral("pairwise.txt")); }

void TCoOccurrence::PairwiseColumnSpace1Click(TObject *)
{
    saveGrid(ProStringGrid1, false, QStringLiteral("pairwise.txt"));
}

void TCoOccurrence::PairwiseColumnComma1Click(TObject *)
{
    saveGrid(ProStringGrid1, true, QStringLiteral("pairwise.txt"));
}

void TCoOccurrence::Close1Click(TObject *) { Close(); }
