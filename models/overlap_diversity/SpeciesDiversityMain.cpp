// The Species Diversity results window and its run.
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QStringList>
#include <algorithm>

TSpeciesDiversity *SpeciesDiversity = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");
const QString kObservedVariance = QStringLiteral("0.00000");

TStringGrid *NewGrid(TComponent *Owner, TWinControl *Parent, const char *Name, int Cols, const QString &Hint)
{
    auto *g = new TStringGrid(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetAlign(alClient);
    g->SetColCount(Cols);
    if (!Hint.isEmpty()) {
        g->SetHint(Hint);
        g->SetShowHint(true);
    }
    return g;
}

TMemo *NewMemo(TComponent *Owner, TWinControl *Parent, const char *Name)
{
    auto *m = new TMemo(Owner);
    m->SetName(QLatin1String(Name));
    m->SetParent(Parent);
    m->SetAlign(alClient);
    m->SetWordWrap(false);
    return m;
}

void SetLines(TMemo *M, const QStringList &Lines)
{
    M->Lines()->BeginUpdate();
    M->Lines()->Clear();
    M->Lines()->AddStrings(Lines);
    M->Lines()->EndUpdate();
}

void SetLine(TMemo *M, int k, const QString &Text)
{
    while (M->Lines()->Count() <= k) M->Lines()->Add(QString());
    M->Lines()->SetStrings(k, Text);
}

bool BySamples() { return SpeciesDiversityOpts->SpeciesGroup->ItemIndex() == suSamples; }
bool Accumulation() { return SpeciesDiversityOpts->RandomizationGroup->ItemIndex() == daAccumulation; }

} // namespace

TSpeciesDiversity::TSpeciesDiversity(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("SpeciesDiversity"));
    SetCaption(QStringLiteral("Tarvix Professional: Species Diversity Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 720, 480);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    auto sheet = [this](const QString &Caption) {
        auto *s = new TTabSheet(this);
        s->SetPageControl(PageControl1);
        s->SetCaption(Caption);
        return s;
    };
    InputSheet = sheet(QStringLiteral("Input"));
    SimulationSheet = sheet(QStringLiteral("Simulation"));
    DiversityCurveSheet = sheet(QStringLiteral("Diversity Curve"));
    AbundanceCurveSheet = sheet(QStringLiteral("Abundance Curve "));
    SummarySheet = sheet(QStringLiteral("Summary"));
    DebugSheet = sheet(QStringLiteral("Debug"));
    TimeSheet = sheet(QStringLiteral("Time"));
    DebugSheet->SetTabVisible(false);

    InputColumnStringGrid = NewGrid(this, InputSheet, "InputColumnStringGrid", 2, QStringLiteral("Input column"));
    InputColumnStringGrid->SetDefaultColWidth(92);
    SimulationStringGrid =
        NewGrid(this, SimulationSheet, "SimulationStringGrid", 2, QStringLiteral("simulated column in input form"));
    auto curveGrid = [this](TTabSheet *Sheet, const char *Name) {
        TStringGrid *g = NewGrid(this, Sheet, Name, 6, QString());
        g->SetDefaultColWidth(108);
        g->SetRowCount(3);
        g->SetFixedCols(0);
        g->SetFixedRows(2);
        return g;
    };
    DiversityCurveStringGrid = curveGrid(DiversityCurveSheet, "DiversityCurveStringGrid");
    DiversityCurveStringGrid2 = curveGrid(AbundanceCurveSheet, "DiversityCurveStringGrid2");
    Memo1 = NewMemo(this, SummarySheet, "Memo1");
    Memo1->SetScrollBars(ssVertical);
    DebugMemo = NewMemo(this, DebugSheet, "DebugMemo");
    TimeMemo = NewMemo(this, TimeSheet, "TimeMemo");

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetFilter(kTextFilter);
    MainMenu1 = new TMainMenu(this);
    auto add = [this](TMenuItem *Parent, const char *Name, const QString &Caption,
                      void (TSpeciesDiversity::*Handler)(TObject *) = nullptr) {
        return AddMenuCommand(this, Parent, Name, Caption, Handler);
    };
    TMenuItem *root = MainMenu1->Items();
    Save1 = add(root, "Save1", QStringLiteral("&Save"));
    SuMmary1 = add(Save1, "SuMmary1", QStringLiteral("Su&mmary"), &TSpeciesDiversity::SuMmary1Click);
    Diversitycurve1 = add(Save1, "Diversitycurve1", QStringLiteral("&Diversity curve"));
    Spacedelimitedtxt1 = add(Diversitycurve1, "Spacedelimitedtxt1", QStringLiteral("Space delimited (.txt)"),
                             &TSpeciesDiversity::Spacedelimitedtxt1Click);
    Commadelimitedtxt1 = add(Diversitycurve1, "Commadelimitedtxt1", QStringLiteral("Comma delimited (.txt)"),
                             &TSpeciesDiversity::Commadelimitedtxt1Click);
    // The workbook export is not part of the program yet.
    Excelxls1 = add(Diversitycurve1, "Excelxls1", QStringLiteral("Excel (.xls)"));
    Abundancecurve1 = add(Save1, "Abundancecurve1", QStringLiteral("&Abundance curve"));
    Spacedelimitedtxt2 = add(Abundancecurve1, "Spacedelimitedtxt2", QStringLiteral("Space delimited (.txt)"),
                             &TSpeciesDiversity::Spacedelimitedtxt2Click);
    Commadelimitedtxt2 = add(Abundancecurve1, "Commadelimitedtxt2", QStringLiteral("Comma delimited (.txt)"),
                             &TSpeciesDiversity::Commadelimitedtxt2Click);
    Excelxls2 = add(Abundancecurve1, "Excelxls2", QStringLiteral("Excel (.xls)"));
    N1 = add(Save1, "N1", QStringLiteral("-"));
    Close1 = add(Save1, "Close1", QStringLiteral("&Close"), &TSpeciesDiversity::Close1Click);
    Help1 = add(root, "Help1", QStringLiteral("&Help"), &TSpeciesDiversity::Help1Click);
    Abundancecurve1->SetEnabled(false);
    SetMenu(MainMenu1);
}

// ---- Reading the data ------------------------------------------------------------------------

void TSpeciesDiversity::noteCell(int32_t Value, int32_t Col, int32_t Row, int64_t &Total)
{
    Total += Value;
    if (!dataError_.isEmpty()) return;
    // A negative count would let a draw run past the last species.
    if (Value < 0)
        dataError_ = QStringLiteral("Negative abundance @ Row ") + IntToStr(Row) + QStringLiteral(" Col ") + IntToStr(Col);
    else if (Total > INT32_MAX)
        dataError_ = QStringLiteral("Number of individuals > 2147483647.");
}

void TSpeciesDiversity::ColumnToList(int32_t c, std::vector<int32_t> &Observed)
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t R = main->RowCount();
    // A column the grid does not have holds no individuals (cells past the counts are stale).
    const bool inGrid = c >= 1 && c < main->ColCount();
    dataError_.clear();
    Observed.assign(static_cast<size_t>(std::max(R - 1, 0)), 0);
    for (TStringGrid *g : {InputColumnStringGrid, SimulationStringGrid}) {
        g->SetColCount(2);
        g->SetRowCount(R);
        g->SetCells(0, 0, main->Cells(0, 0));
    }
    InputColumnStringGrid->SetCells(1, 0, inGrid ? main->Cells(c, 0) : QString());
    SimulationStringGrid->SetCells(1, 0, inGrid ? main->Cells(c, 0) : QString());
    int64_t total = 0;
    for (int32_t r = 1; r < R; ++r) {
        const QString cell = inGrid ? main->Cells(c, r) : QString();
        Observed[static_cast<size_t>(r - 1)] = DiversityInt(cell);
        noteCell(Observed[static_cast<size_t>(r - 1)], c, r, total);
        InputColumnStringGrid->SetCells(0, r, main->Cells(0, r));
        InputColumnStringGrid->SetCells(1, r, cell);
        SimulationStringGrid->SetCells(0, r, main->Cells(0, r));
    }
}

void TSpeciesDiversity::SampleColumnsToMatrix(Matrix &M, std::vector<int32_t> &Totals)
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t C = std::min(main->ColCount(), M.Cols() + 1);
    const int32_t R = std::min({main->RowCount(), M.Rows() + 1, static_cast<int32_t>(Totals.size()) + 1});
    dataError_.clear();
    int64_t total = 0;
    for (int32_t c = 1; c < C; ++c)
        for (int32_t r = 1; r < R; ++r) {
            const QString cell = main->Cells(c, r);
            const int32_t v = DiversityInt(cell);
            M[c - 1][r - 1] = v;
            noteCell(v, c, r, total);
            Totals[static_cast<size_t>(r - 1)] += v;
            InputColumnStringGrid->SetCells(c, r, cell);
        }
}

// ---- The run ---------------------------------------------------------------------------------

bool TSpeciesDiversity::Init()
{
    const int32_t iterations = Tarvix->Iterations;
    if (iterations < 1) {
        ShowMessage(QStringLiteral("Iterations must be greater than 0."));
        return false;
    }
    if (iterations >= 10000) {
        ShowMessage(QStringLiteral("Iterations must be fewer than 10,000."));
        return false;
    }
    Seed = DiversityInt(SpeciesDiversityOpts->RandomSeedEdit->Text());
    if (Seed < 1) Randomize();
    else RandSeed = static_cast<uint32_t>(Seed);
    CurrentSeed = static_cast<int32_t>(RandSeed);
    TProStringGrid *main = Tarvix->MainGrid;
    if (main->RowCount() < 3) {
        ShowMessage(QStringLiteral("Must have at least 2 rows of data for species diversity."));
        return false;
    }
    const int64_t cells = static_cast<int64_t>(main->RowCount()) * main->ColCount();
    if (cells > 241101 || cells < 4) {
        ShowMessage(QStringLiteral("4 < Cell limit < 241101, e.g. 301x801."));
        return false;
    }
    return true;
}

void TSpeciesDiversity::stop(const QString &Message)
{
    if (!Message.isEmpty()) ShowMessage(Message);
    Tarvix->InterruptFlag = true;
    Progress->Close();
}

bool TSpeciesDiversity::simulating()
{
    Sims.Context.ShowMessage = [](const QString &Text) { ShowMessage(Text); };
    Sims.Context.ProcessMessages = [] { Application->ProcessMessages(); };
    Sims.Context.InterruptFlag = &Tarvix->InterruptFlag;
    Sims.Index = SpeciesDiversityOpts->IndexList->ItemIndex();
    Sims.ColCount = Tarvix->MainGrid->ColCount();
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return false;
    }
    StartProgress(QStringLiteral("Species Diversity"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Tarvix->InterruptFlag = false;
    SetLine(TimeMemo, 1, QStringLiteral("Start time = ") + TimeToStr(Time()));
    return true;
}

void TSpeciesDiversity::Run()
{
    const bool samples = BySamples();
    AbundanceCurveSheet->SetTabVisible(samples);
    Abundancecurve1->SetEnabled(samples);
    if (samples) RunSample();
    else RunIndividual();
}

void TSpeciesDiversity::saveSimulated(int32_t Sim, int32_t Subset, std::span<const int32_t> Sample)
{
    IntsToGridColumn(Sample, SimulationStringGrid);
    Tarvix->SaveSimulation(Sim, Subset, SimulationStringGrid);
}

void TSpeciesDiversity::RunIndividual()
{
    if (!simulating()) return;
    const int32_t iterations = Tarvix->Iterations;
    std::vector<int32_t> observed;
    ColumnToList(SpeciesDiversityOpts->ColumnList->ItemIndex() + 1, observed);
    if (!dataError_.isEmpty()) return stop(dataError_);
    Sims.getNonZeroRows(observed);
    if (Sims.NonZeroRows <= 0) return stop(QStringLiteral("Non zero rows <= 0."));
    int32_t N = 0;
    Sims.getIndividualsCount(observed, N);
    Sims.individualsCount = N;
    if (!Sims.DetermineIndex(observed, N)) return stop(QString());
    ObservedResults(N);
    Sims.NumLevels = std::min(Sims.NonZeroRows + 1, 50);
    std::vector<int32_t> &levels = levels_;
    if (SpeciesDiversityOpts->AbundanceLevelsGroup->ItemIndex() == lcUserDefined) {
        Sims.NumLevels = AbundanceLevelsOpts->Memo1->Lines()->Count();
        TSpeciesDiversitySims::getAbundanceLevels(*AbundanceLevelsOpts->Memo1->Lines(), levels);
    } else {
        Sims.setDefaultAbundanceLevels(N, levels);
    }
    if (Sims.NumLevels > 50) return stop(QStringLiteral("Abundance list is too large. Limit is 50 abundance levels. "));
    if (Sims.NumLevels < 1) return stop(QStringLiteral("Abundance list count < 0. Cannot run simulation."));
    if (std::any_of(levels.begin(), levels.end(), [N](int32_t l) { return l > N; }))
        return stop(QStringLiteral("Abundance list invalid."));
    Progress->SetCaption(QStringLiteral("Tarvix:Simulating... Abundance level = ") + IntToStr(Sims.NumLevels));
    Tarvix->InterruptFlag = false;

    const bool save = SpeciesDiversityOpts->SaveMatrixCheckBox->Checked();
    const size_t n = static_cast<size_t>(iterations);
    const int32_t L = Sims.NumLevels;
    std::vector<int32_t> sample(observed.size(), 0);
    // The slice reads the clock every iteration: one costs microseconds at least.
    TEventSlice slice(Sims.Context, 1);
    if (Accumulation()) {
        // Nested draws: each level's sample is the one before it plus more individuals, so the
        // levels are taken smallest first.
        std::stable_sort(levels.begin(), levels.end());
        std::vector<double> table(static_cast<size_t>(L) * n);
        TIndividualPool pool;
        for (int32_t it = 0; it < iterations; ++it) {
            Sims.individualsCount = N;
            if (slice.Stopped()) return Progress->Close();
            pool.Assign(observed);
            std::fill(sample.begin(), sample.end(), 0);
            int32_t drawn = 0;
            for (int32_t v = 0; v < L; ++v) {
                const int32_t level = levels[static_cast<size_t>(v)];
                if (level - drawn > 0) Sims.Accumulation_DoRandomDraw(level - drawn, pool, sample);
                drawn = level;
                if (!Sims.DetermineIndex(sample, level)) return Progress->Close();
                table[static_cast<size_t>(v) * n + static_cast<size_t>(it)] = Sims.indexResult;
            }
            Progress->StepIteration();
            if (save) saveSimulated(it + 1, 0, sample);
        }
        // A file that could not be saved stops the run also after the last iteration.
        if (Tarvix->InterruptFlag) return Progress->Close();
        IntsToGridColumn(sample, SimulationStringGrid);
        DiversityCurveStringGrid->SetRowCount(L + 2);
        for (int32_t v = 0; v < L; ++v)
            DiversityCurve(v, IntToStr(levels[static_cast<size_t>(v)]),
                           std::span<const double>(table).subspan(static_cast<size_t>(v) * n, n));
    } else {
        std::vector<double> column(n);
        DiversityCurveStringGrid->SetRowCount(L + 2);
        for (int32_t v = 0; v < L; ++v) {
            const int32_t level = levels[static_cast<size_t>(v)];
            Progress->SetCaption(QStringLiteral("Tarvix simulating, Abundance Level: ") + IntToStr(level));
            for (int32_t it = 0; it < iterations; ++it) {
                if (slice.Stopped()) return Progress->Close();
                Sims.individualsCount = N;
                std::fill(sample.begin(), sample.end(), 0);
                Sims.DoRandomDraw(level, observed, sample);
                if (!Sims.DetermineIndex(sample, level)) return Progress->Close();
                column[static_cast<size_t>(it)] = Sims.indexResult;
                if (save) saveSimulated(it + 1, v + 1, sample);
            }
            if (Tarvix->InterruptFlag) return Progress->Close();
            TProgressBar *bar = Progress->ProgressBar1;
            bar->SetStep(bar->Max() / L);
            bar->StepIt();
            Progress->IterationsLabel->SetCaption(IntToStr(bar->Position()));
            DiversityCurve(v, IntToStr(level), column);
        }
        IntsToGridColumn(sample, SimulationStringGrid);
    }
    finish(false, levels);
}

void TSpeciesDiversity::RunSample()
{
    if (!simulating()) return;
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t iterations = Tarvix->Iterations;
    const int32_t S = main->ColCount() - 1, R = main->RowCount() - 1;
    Matrix M(S, R);
    std::vector<int32_t> totals(static_cast<size_t>(R), 0);
    InputColumnStringGrid->SetColCount(main->ColCount());
    SetUpDisplayTitles();
    SampleColumnsToMatrix(M, totals);
    if (!dataError_.isEmpty()) return stop(dataError_);
    Sims.getNonZeroRows(totals);
    if (Sims.NonZeroRows <= 0) return stop(QStringLiteral("Non zero rows <= 0."));
    int32_t N = 0;
    Sims.getIndividualsCount(totals, N);
    Sims.individualsCount = N;
    std::vector<int32_t> &levels = levels_;
    if (SpeciesDiversityOpts->SampleLevelsGroup->ItemIndex() == lcUserDefined) {
        Sims.NumLevels = AbundanceLevelsOpts->Memo1->Lines()->Count();
        if (Sims.NumLevels > S) return stop(QStringLiteral("Sample Level > Number of Columns."));
        TSpeciesDiversitySims::getAbundanceLevels(*AbundanceLevelsOpts->Memo1->Lines(), levels);
    } else {
        Sims.NumLevels = static_cast<int32_t>(std::min<int64_t>(Round(0.4 * S), 50));
        Sims.SetDefaultSampleLevels(Sims.NumLevels, levels);
    }
    if (Sims.NumLevels > S) return stop(QStringLiteral("Sample level > Grid columns. "));
    if (Sims.NumLevels <= 0) return stop(QStringLiteral("Sample level < 1. Cannot run simulation."));
    if (std::any_of(levels.begin(), levels.end(), [S](int32_t l) { return l > S; }))
        return stop(QStringLiteral("Sample levels are invalid."));
    if (!Sims.DetermineIndex(totals, N)) return stop(QString());
    ObservedResults(S);
    ObservedResults2(S);
    Tarvix->InterruptFlag = false;
    const int32_t L = Sims.NumLevels;
    DiversityCurveStringGrid->SetRowCount(L + 2);
    DiversityCurveStringGrid2->SetRowCount(L + 2);

    const bool save = SpeciesDiversityOpts->SaveMatrixCheckBox->Checked();
    const bool accumulation = Accumulation();
    const size_t n = static_cast<size_t>(iterations);
    std::vector<double> table(static_cast<size_t>(L) * n), counts(static_cast<size_t>(L) * n);
    std::vector<int32_t> sample(static_cast<size_t>(R), 0);
    TEventSlice slice(Sims.Context, 1);
    for (int32_t k = 0; k < L; ++k) {
        const int32_t level = levels[static_cast<size_t>(k)];
        Progress->SetCaption(QStringLiteral("Tarvix simulating, Sample Level: ") + IntToStr(level));
        for (int32_t l = 0; l < iterations; ++l) {
            if (slice.Stopped()) return Progress->Close();
            std::fill(sample.begin(), sample.end(), 0);
            if (accumulation) Sims.DoSampleDrawAccumulation(level, M, sample);
            else Sims.DoSampleDrawIndependent(level, M, sample);
            int32_t pooled = 0;
            Sims.getIndividualsCount(sample, pooled);
            Sims.individualsCount = pooled;
            const size_t at = static_cast<size_t>(k) * n + static_cast<size_t>(l);
            counts[at] = pooled;
            if (!Sims.DetermineIndex(sample, pooled)) return Progress->Close();
            table[at] = Sims.indexResult;
            if (save) saveSimulated(l + 1, k + 1, sample);
        }
        if (Tarvix->InterruptFlag) return Progress->Close();
        TProgressBar *bar = Progress->ProgressBar1;
        bar->SetStep(bar->Max() / L);
        bar->StepIt();
        Progress->IterationsLabel->SetCaption(IntToStr(bar->Position()));
    }
    IntsToGridColumn(sample, SimulationStringGrid);
    const std::span<const double> t(table), c(counts);
    for (int32_t k = 0; k < L; ++k)
        DiversityCurveSample(k, IntToStr(levels[static_cast<size_t>(k)]), t.subspan(static_cast<size_t>(k) * n, n));
    for (int32_t k = 0; k < L; ++k)
        DiversityCurveSample2(k, IntToStr(levels[static_cast<size_t>(k)]), c.subspan(static_cast<size_t>(k) * n, n));
    finish(true, levels);
}

void TSpeciesDiversity::finish(bool Samples, std::span<const int32_t> Levels)
{
    if (Samples) {
        DiversityCurveRowZeroSample();
        DiversityCurveRowZero2();
        SummaryDisplaySample(Sims.NumLevels, Levels);
    } else {
        DiversityCurveRowZero();
        SummaryDisplay(Levels);
    }
    SetLine(TimeMemo, 0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);
    Tarvix->BuildBatchSummaryFirstRow();
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, QStringLiteral("n/a"), QStringLiteral("n/a"), QStringLiteral("n/a"));
    if (Tarvix->BatchSwitch && Tarvix->Flag) {
        Application->ProcessMessages();
        SaveDiversityCurveBatch();
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

// ---- Curve rows ------------------------------------------------------------------------------

void TSpeciesDiversity::curveRow(TStringGrid *Grid, int32_t v, const QString &Label, std::span<const double> Column)
{
    const TCurveStatistics s = CurveStatistics(Column);
    const int32_t row = v + 2;
    Grid->SetCells(0, row, Label);
    Grid->SetCells(1, row, FloatToStr75(s.Mean));
    Grid->SetCells(2, row, FloatToStr75(s.Median));
    Grid->SetCells(3, row, FloatToStr75(s.Variance));
    Grid->SetCells(4, row, FloatToStr75(s.Low));
    Grid->SetCells(5, row, FloatToStr75(s.High));
}

void TSpeciesDiversity::DiversityCurve(int32_t v, const QString &Label, std::span<const double> Column)
{
    curveRow(DiversityCurveStringGrid, v, Label, Column);
}

void TSpeciesDiversity::DiversityCurveSample(int32_t v, const QString &Label, std::span<const double> Column)
{
    curveRow(DiversityCurveStringGrid, v, Label, Column);
}

void TSpeciesDiversity::DiversityCurveSample2(int32_t v, const QString &Label, std::span<const double> Column)
{
    curveRow(DiversityCurveStringGrid2, v, Label, Column);
}

// ---- Displays --------------------------------------------------------------------------------

void TSpeciesDiversity::SetUpDisplayTitles()
{
    TProStringGrid *main = Tarvix->MainGrid;
    for (TStringGrid *g : {InputColumnStringGrid, SimulationStringGrid}) {
        g->SetRowCount(main->RowCount());
        for (int r = 0; r < main->RowCount(); ++r) g->SetCells(0, r, main->Cells(0, r));
        for (int c = 0; c < main->ColCount(); ++c) g->SetCells(c, 0, main->Cells(c, 0));
    }
}

void TSpeciesDiversity::observedRow(TStringGrid *Grid, int32_t Count, double Value)
{
    const QString v = FloatToStr75(Value);
    Grid->SetCells(0, 1, IntToStr(Count) + QStringLiteral("(Obs.)"));
    Grid->SetCells(1, 1, v);
    Grid->SetCells(2, 1, v);
    Grid->SetCells(3, 1, kObservedVariance);
    Grid->SetCells(4, 1, v);
    Grid->SetCells(5, 1, v);
}

void TSpeciesDiversity::ObservedResults(int32_t Count) { observedRow(DiversityCurveStringGrid, Count, Sims.indexResult); }

void TSpeciesDiversity::ObservedResults2(int32_t Count)
{
    observedRow(DiversityCurveStringGrid2, Count, Sims.individualsCount);
}

namespace {

void HeaderRow(TStringGrid *Grid, const char *First, const char *Kind)
{
    const QString k = QLatin1String(Kind);
    const QStringList cells{QLatin1String(First), QStringLiteral("Average") + k, QStringLiteral("Median") + k,
                            QStringLiteral("Variance") + k, QStringLiteral("95%Conf.Low"),
                            QStringLiteral("95%Conf.High")};
    for (int c = 0; c < cells.size(); ++c) Grid->SetCells(c, 0, cells[c]);
}

QString IndexName()
{
    static const char *const names[] = {"Species Richness", "Hurlberts PIE", "Dominance", "Shannons Diversity"};
    return QLatin1String(names[std::clamp(SpeciesDiversityOpts->IndexList->ItemIndex(), 0, 3)]);
}

} // namespace

void TSpeciesDiversity::DiversityCurveRowZero() { HeaderRow(DiversityCurveStringGrid, "Abundance", "Diversity"); }

void TSpeciesDiversity::DiversityCurveRowZeroSample() { HeaderRow(DiversityCurveStringGrid, "Sample", "Diversity"); }

void TSpeciesDiversity::DiversityCurveRowZero2() { HeaderRow(DiversityCurveStringGrid2, "Sample", "Abundance"); }

void TSpeciesDiversity::SummaryDisplay(std::span<const int32_t> Levels)
{
    TProStringGrid *main = Tarvix->MainGrid;
    const TSpeciesDiversityOpts *o = SpeciesDiversityOpts;
    TStrings *columns = o->ColumnList->Items();
    const int current = o->CurrentColumn;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Rows = ") + IntToStr(main->RowCount() - 1) + QStringLiteral("; Columns = ") +
             IntToStr(main->ColCount() - 1);
    s << QStringLiteral("Iterations = ") + IntToStr(Tarvix->Iterations);
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << QStringLiteral("Analyzed column = ") + (current >= 0 && current < columns->Count() ? columns->Get(current) : QString());
    s << (Accumulation() ? QStringLiteral("Randomization algorithm = Accumulation curve")
                         : QStringLiteral("Randomization algorithm = Rarefaction curve"));
    s << (o->AbundanceLevelsGroup->ItemIndex() == lcUserDefined ? QStringLiteral("Abundance level = User-defined")
                                                                 : QStringLiteral("Abundance level = Default"));
    s << QStringLiteral("Index = ") + IndexName();
    s << QStringLiteral("ABUNDANCE LEVELS:");
    for (int32_t l : Levels) s << IntToStr(l);
    SetLines(Memo1, s);
}

void TSpeciesDiversity::SummaryDisplaySample(int32_t Count, std::span<const int32_t> Levels)
{
    TProStringGrid *main = Tarvix->MainGrid;
    const TSpeciesDiversityOpts *o = SpeciesDiversityOpts;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Rows = ") + IntToStr(main->RowCount() - 1) + QStringLiteral("; Columns = ") +
             IntToStr(main->ColCount() - 1);
    s << QStringLiteral("Iterations = ") + IntToStr(Tarvix->Iterations);
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << QStringLiteral("Sample Level = ") + IntToStr(Count);
    s << (Accumulation() ? QStringLiteral("Randomization algorithm = Accumulation curve")
                         : QStringLiteral("Randomization algorithm = Rarefaction curve"));
    s << (o->SampleLevelsGroup->ItemIndex() == lcUserDefined ? QStringLiteral("Sample level = User-defined")
                                                              : QStringLiteral("Sample level = Default"));
    s << QStringLiteral("Index = ") + IndexName();
    s << QStringLiteral("SAMPLE LEVELS:");
    for (int32_t l : Levels) s << IntToStr(l);
    SetLines(Memo1, s);
}

void TSpeciesDiversity::DisplayRowTitles(TStringGrid *Grid)
{
    TProStringGrid *main = Tarvix->MainGrid;
    for (int r = 0; r < Grid->RowCount() && r < main->RowCount(); ++r) Grid->SetCells(0, r, main->Cells(0, r));
}

// ---- Files -----------------------------------------------------------------------------------

void TSpeciesDiversity::composeCurve(TStringGrid *Grid, const QString &Delimiter)
{
    QStringList lines;
    for (int r = 0; r < Grid->RowCount(); ++r) {
        QString line;
        for (int c = 0; c < Grid->ColCount(); ++c) line += Grid->Cells(c, r) + Delimiter;
        lines << TrimRight(line);
    }
    SetLines(DebugMemo, lines);
}

bool TSpeciesDiversity::saveCurve(TStringGrid *Grid, const QString &Delimiter, const QString &DefaultName)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(DefaultName);
    if (!SaveDialog1->Execute()) return false;
    composeCurve(Grid, Delimiter);
    DebugMemo->Lines()->SaveToFile(SaveDialog1->FileName());
    return true;
}

void TSpeciesDiversity::SaveDiversityCurveBatch()
{
    composeCurve(DiversityCurveStringGrid, QStringLiteral(" "));
    try {
        DebugMemo->Lines()->SaveToFile(QStringLiteral("DiversityCurve ") + ExtractFileName(Tarvix->FileName));
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error writing file."));
    }
}

void TSpeciesDiversity::SuMmary1Click(TObject *)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(QStringLiteral("summary.txt"));
    if (SaveDialog1->Execute()) Memo1->Lines()->SaveToFile(SaveDialog1->FileName());
}

void TSpeciesDiversity::Spacedelimitedtxt1Click(TObject *)
{
    saveCurve(DiversityCurveStringGrid, QStringLiteral(" "), QStringLiteral("diversitycurve.txt"));
}

void TSpeciesDiversity::Commadelimitedtxt1Click(TObject *)
{
    saveCurve(DiversityCurveStringGrid, QStringLiteral(","), QStringLiteral("diversitycurve.txt"));
}

void TSpeciesDiversity::Spacedelimitedtxt2Click(TObject *)
{
    saveCurve(DiversityCurveStringGrid2, QStringLiteral(" "), QStringLiteral("abundancecurve.txt"));
}

void TSpeciesDiversity::Commadelimitedtxt2Click(TObject *)
{
    saveCurve(DiversityCurveStringGrid2, QStringLiteral(","), QStringLiteral("abundancecurve.txt"));
}

void TSpeciesDiversity::Close1Click(TObject *) { Close(); }

void TSpeciesDiversity::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TSpeciesDiversity::SaveButtonClick(TObject *Sender) { SuMmary1Click(Sender); }

void TSpeciesDiversity::SaveDiversityButtonClick(TObject *Sender) { Spacedelimitedtxt1Click(Sender); }

void TSpeciesDiversity::SaveAbundanceButtonClick(TObject *Sender) { Spacedelimitedtxt2Click(Sender); }

void TSpeciesDiversity::CloseButtonClick(TObject *Sender) { Close1Click(Sender); }

void TSpeciesDiversity::HelpButtonClick(TObject *Sender) { Help1Click(Sender); }
