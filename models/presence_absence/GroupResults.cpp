// The results window shared by guild structure and species overlap, and its run.
#include "models/presence_absence/GroupResults.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/presence_absence/GroupOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");

TMemo *NewMemo(TComponent *Owner, TWinControl *Parent, const QString &Name, int Left, int Top, int Width, int Height)
{
    auto *m = new TMemo(Owner);
    m->SetName(Name);
    m->SetParent(Parent);
    m->SetBounds(Left, Top, Width, Height);
    m->SetReadOnly(true);
    m->SetWordWrap(false);
    return m;
}

TStringGrid *NewGrid(TComponent *Owner, TWinControl *Parent, const char *Name)
{
    auto *g = new TStringGrid(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetAlign(alClient);
    return g;
}

void SetLines(TMemo *M, const QStringList &Lines)
{
    M->Lines()->BeginUpdate();
    M->Lines()->Clear();
    M->Lines()->AddStrings(Lines);
    M->Lines()->EndUpdate();
}

int32_t OptionInt(const QString &Text)
{
    try {
        return LeadingInt(Text);
    } catch (const EConvertError &) {
        return 0;
    }
}

} // namespace

TGroupResults::TGroupResults(TComponent *AOwner, const char *Name, const QString &Caption, const QString &TableTab)
    : TForm(AOwner)
{
    SetName(QLatin1String(Name));
    SetCaption(Caption);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 720, 520);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    auto sheet = [this](const QString &Title) {
        auto *s = new TTabSheet(this);
        s->SetPageControl(PageControl1);
        s->SetCaption(Title);
        return s;
    };
    InputSheet = sheet(QStringLiteral("Input Matrix"));
    SimulationSheet = sheet(QStringLiteral("Simulation"));
    GuildsRegionsSheet = sheet(TableTab);
    PairwiseSheet = sheet(QStringLiteral("Pairwise"));
    MeanSheet = sheet(QStringLiteral("Mean"));
    VarianceSheet = sheet(QStringLiteral("Variance"));
    FavoredStatesSheet = sheet(QStringLiteral("Favored States"));
    SummarySheet = sheet(QStringLiteral("Summary"));
    DiagnosticsSheet = sheet(QStringLiteral("Diagnostics"));
    TimeSheet = sheet(QStringLiteral("Time"));
    PairwiseSheet->SetTabVisible(false);
    FavoredStatesSheet->SetTabVisible(false);
    DiagnosticsSheet->SetTabVisible(false);

    InputGrid = NewGrid(this, InputSheet, "InputGrid");
    SimulationGrid = NewGrid(this, SimulationSheet, "SimulationGrid");
    GuildsRegionsGrid = NewGrid(this, GuildsRegionsSheet, "GuildsRegionsGrid");
    GuildsRegionsGrid->SetColCount(5);

    auto page = [this](TTabSheet *Page, const char *Observed, const char *Low, const char *High, const char *Counts,
                       const char *Edges, const char *Block, TMemo *&ObservedMemo, TMemo *&LowMemo, TMemo *&HighMemo,
                       TMemo *&CountsMemo, TMemo *&EdgesMemo, TMemo *&BlockMemo) {
        auto *observed = new TGroupBox(this);
        observed->SetParent(Page);
        observed->SetCaption(QStringLiteral("Observed index"));
        observed->SetBounds(8, 8, 170, 260);
        auto *histogram = new TGroupBox(this);
        histogram->SetParent(Page);
        histogram->SetCaption(QStringLiteral("Histogram Low...  High.................    # Simulations "));
        histogram->SetBounds(184, 8, 330, 260);
        ObservedMemo = NewMemo(this, observed, QLatin1String(Observed), 6, 20, 158, 232);
        LowMemo = NewMemo(this, histogram, QLatin1String(Low), 6, 20, 100, 232);
        HighMemo = NewMemo(this, histogram, QLatin1String(High), 110, 20, 100, 232);
        CountsMemo = NewMemo(this, histogram, QLatin1String(Counts), 214, 20, 100, 232);
        EdgesMemo = NewMemo(this, Page, QLatin1String(Edges), 0, 0, 10, 10);
        EdgesMemo->SetVisible(false);
        BlockMemo = NewMemo(this, Page, QLatin1String(Block), 8, 276, 506, 160);
        return histogram;
    };
    page(MeanSheet, "ObservedMeanMemo", "MeanHistogramMemoLow", "MeanHistogramMemoHigh", "MeanHistogramMemo2",
         "MeanHistogramMemo", "MeanMemo", ObservedMeanMemo, MeanHistogramMemoLow, MeanHistogramMemoHigh,
         MeanHistogramMemo2, MeanHistogramMemo, MeanMemo);
    page(VarianceSheet, "ObservedVarianceMemo", "VarianceHistogramMemoLow", "VarianceHistogramMemoHigh",
         "VarianceHistogramMemo2", "VarianceHistogramMemo", "VarianceMemo", ObservedVarianceMemo,
         VarianceHistogramMemoLow, VarianceHistogramMemoHigh, VarianceHistogramMemo2, VarianceHistogramMemo,
         VarianceMemo)
        ->SetCaption(QStringLiteral("Histogram Low... High.................    # Simulations "));
    page(FavoredStatesSheet, "ObservedFavoredStatesMemo", "FSHistogramMemoLow", "FSHistogramMemoHigh",
         "FavoredStatesHistogramMemo2", "FavoredStatesHistogramMemo", "FavoredStatesMemo", ObservedFavoredStatesMemo,
         FSHistogramMemoLow, FSHistogramMemoHigh, FavoredStatesHistogramMemo2, FavoredStatesHistogramMemo,
         FavoredStatesMemo);

    Memo1 = NewMemo(this, SummarySheet, QStringLiteral("Memo1"), 0, 0, 10, 10);
    Memo1->SetAlign(alClient);
    Memo1->SetReadOnly(false);
    Memo1->SetScrollBars(ssBoth);
    Memo1->SetHint(QStringLiteral("You can annotate and edit this output."));
    Memo1->SetShowHint(true);
    TimeMemo = NewMemo(this, TimeSheet, QStringLiteral("TimeMemo"), 0, 0, 10, 10);
    TimeMemo->SetAlign(alClient);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Save1 = AddCommand(root, "Save1", QStringLiteral("&Save"));
    SuMmary1 = AddCommand(Save1, "SuMmary1", QStringLiteral("Su&mmary"), &TGroupResults::SuMmary1Click);
    Close1 = AddCommand(Save1, "Close1", QStringLiteral("&Close"), &TGroupResults::Close1Click);
    Help1 = AddCommand(root, "Help1", QStringLiteral("&Help"), &TGroupResults::Help1Click);
    SetMenu(MainMenu1);
}

TMenuItem *TGroupResults::AddCommand(TMenuItem *Parent, const char *Name, const QString &Caption,
                                     void (TGroupResults::*Handler)(TObject *))
{
    return AddMenuCommand(this, Parent, Name, Caption, Handler);
}

int32_t TGroupResults::GroupingItem() const { return Options()->Grouping->ItemIndex() == grColumns ? grColumns : grRows; }

// ---- The run -------------------------------------------------------------------------------

bool TGroupResults::Init()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int64_t cells = int64_t(main->RowCount()) * main->ColCount();
    if (cells > 241101 || cells < 4) {
        ShowMessage(QStringLiteral("4 < Cell limit < 241101, e.g. 301x801."));
        return false;
    }
    if (!CheckShape()) return false;
    const auto fail = [](const QString &Message) {
        ShowMessage(Message);
        Tarvix->InterruptFlag = true;
        return false;
    };
    Iterations = OptionInt(Options()->IterationsEdit->Text());
    if (Iterations < 1) return fail(QStringLiteral("Iterations must be > 0."));
    if (Iterations >= IterationLimit()) return fail(IterationLimitMessage());
    // The progress window and the statistics count what the run counts, also when Run is
    // called directly.
    Tarvix->Iterations = Iterations;
    Seed = OptionInt(Options()->RandomSeedEdit->Text());
    if (Seed >= 1) RandSeed = static_cast<uint32_t>(Seed);
    else Randomize();
    CurrentSeed = static_cast<int32_t>(RandSeed);
    Mean = Variance = mmeans = vmeans = mvariances = vvariances = 0;
    InputGrid->SetRowCount(main->RowCount());
    InputGrid->SetColCount(main->ColCount());
    SimulationGrid->SetRowCount(main->RowCount());
    SimulationGrid->SetColCount(main->ColCount());
    return true;
}

void TGroupResults::Run()
{
    TProStringGrid *main = Tarvix->MainGrid;
    // The work grid: a parsed copy of the main grid that the randomizations rearrange.
    Engine.Sims.Work.Assign(main->ColCount(), main->RowCount(), [main](int32_t c, int32_t r) { return main->Cells(c, r); });
    meanP1 = meanP2 = varianceP1 = varianceP2 = favoredStatesP1 = favoredStatesP2 = 0;
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));
    if (!Init()) return;

    StartProgress(ModelName());
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();

    const int32_t grouping = GroupingItem();
    TGroupSims &sims = Engine.Sims;
    sims.Grouping = grouping;
    sims.Index = IndexKind();
    Engine.FavoredStates = grouping == grRows && FavoredStatesChecked();
    Engine.Randomization = Randomization();
    const auto stop = [](const QString &Message, bool Interrupt) {
        Progress->Close();
        ShowMessage(Message);
        if (Interrupt) Tarvix->InterruptFlag = true;
    };
    QString message;
    if (!(grouping == grRows ? sims.BuildGuildList(TooFewMessage(), message) : sims.BuildRegionList(message))) {
        stop(message, true);
        return;
    }
    if (!Engine.Observe(RequirePresence())) {
        stop(QStringLiteral("Row and Column Totals = 0."), true);
        return;
    }
    Mean = Engine.ObservedMean;
    Variance = Engine.LastVariance;
    ObservedVariance = Engine.ObservedVariance;
    ObservedFavoredStates = Engine.ObservedFavoredStates;

    Engine.Prepare(Iterations);
    Tarvix->InterruptFlag = false;
    const bool save = Options()->SaveMatrixCheckBox->Checked();
    for (int32_t k = 1; k <= Iterations; ++k) {
        Engine.Shuffle();
        if (SimulationInterrupted()) return;
        if (save) {
            SimulationDisplay();
            if (!Tarvix->SaveSimulation(k, 0, SimulationGrid)) {
                Progress->Close();
                return;
            }
        }
        if (!Engine.Evaluate(RequirePresence())) {
            stop(QStringLiteral("Row and Column Totals = 0."), false);
            return;
        }
        Progress->StepIteration();
    }
    Progress->Flush();
    Engine.Finish();
    Variance = Engine.LastVariance;
    StatsToStrings();

    InputGridDisplay();
    SimulationDisplay();
    const auto statisticPage = [](const TGroupStatistic &S, TMemo *Observed, TMemo *Low, TMemo *High, TMemo *Counts,
                                  TMemo *Edges) {
        Observed->SetText(S.Position + FloatToStr75(S.Observed) + QStringLiteral(".................>"));
        Low->SetText(S.Low);
        High->SetText(S.High);
        Counts->SetText(S.Counts);
        Edges->SetText(S.Edges);
    };
    statisticPage(Engine.MeanStatistic, ObservedMeanMemo, MeanHistogramMemoLow, MeanHistogramMemoHigh,
                  MeanHistogramMemo2, MeanHistogramMemo);
    statisticPage(Engine.VarianceStatistic, ObservedVarianceMemo, VarianceHistogramMemoLow, VarianceHistogramMemoHigh,
                  VarianceHistogramMemo2, VarianceHistogramMemo);
    MeanDisplay();
    VarianceDisplay();
    if (Engine.FavoredStates) {
        statisticPage(Engine.FavoredStatistic, ObservedFavoredStatesMemo, FSHistogramMemoLow, FSHistogramMemoHigh,
                      FavoredStatesHistogramMemo2, FavoredStatesHistogramMemo);
        FavoredStatesDisplay();
    } else {
        for (TMemo *m : {ObservedFavoredStatesMemo, FSHistogramMemoLow, FSHistogramMemoHigh,
                         FavoredStatesHistogramMemo2, FavoredStatesHistogramMemo, FavoredStatesMemo})
            m->Clear();
    }
    FavoredStatesSheet->SetTabVisible(Engine.FavoredStates);
    if (grouping == grRows) GuildsDisplay();
    else RegionsDisplay();
    SummaryDisplay();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);
    PairwiseSheet->SetTabVisible(false);
    Finish();
}

void TGroupResults::Finish()
{
    Tarvix->BuildBatchSummaryFirstRow();
    const TGroupStatistic &m = Engine.MeanStatistic;
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, FloatToStr75(m.Ses), FloatToStr75(m.P1), FloatToStr75(m.P2));
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

// ---- Displays ------------------------------------------------------------------------------

void TGroupResults::StatsToStrings()
{
    const TGroupStatistic &m = Engine.MeanStatistic, &v = Engine.VarianceStatistic, &f = Engine.FavoredStatistic;
    mmeans = m.Mean;
    vmeans = m.Variance;
    meanP1 = m.P1;
    meanP2 = m.P2;
    lmean = m.Less;
    emean = m.Equal;
    gmean = m.Greater;
    mvariances = v.Mean;
    vvariances = v.Variance;
    varianceP1 = v.P1;
    varianceP2 = v.P2;
    lvariance = v.Less;
    evariance = v.Equal;
    gvariance = v.Greater;
    mfavoredstates = f.Mean;
    vfavoredstates = f.Variance;
    favoredStatesP1 = f.P1;
    favoredStatesP2 = f.P2;
    lfavoredstates = f.Less;
    efavoredstates = f.Equal;
    gfavoredstates = f.Greater;
    m_guildregion = Engine.m_guildregion;
    v_guildregion = Engine.v_guildregion;
}

namespace {

QStringList BlockLines(const TGroupStatistic &S)
{
    return {QStringLiteral("Observed index = ") + FloatToStr75(S.Observed),
            QString(),
            QStringLiteral("Mean of simulated indices = ") + FloatToStr75(S.Mean),
            QStringLiteral("Variance of simulated indices = ") + FloatToStr75(S.Variance),
            QString(),
            QStringLiteral("p(observed <= expected) = ") + FloatToStr75(S.P1),
            QStringLiteral("p(observed >= expected) = ") + FloatToStr75(S.P2)};
}

} // namespace

void TGroupResults::MeanDisplay() { SetLines(MeanMemo, BlockLines(Engine.MeanStatistic)); }

void TGroupResults::VarianceDisplay() { SetLines(VarianceMemo, BlockLines(Engine.VarianceStatistic)); }

void TGroupResults::FavoredStatesDisplay() { SetLines(FavoredStatesMemo, BlockLines(Engine.FavoredStatistic)); }

void TGroupResults::GroupTableDisplay(const QString &FirstHeader)
{
    const std::vector<QStringList> table = GroupTable(Engine, FirstHeader);
    GuildsRegionsGrid->SetColCount(5);
    GuildsRegionsGrid->SetRowCount(static_cast<int>(table.size()));
    for (int r = 0; r < static_cast<int>(table.size()); ++r)
        for (int c = 0; c < 5; ++c) GuildsRegionsGrid->SetCells(c, r, table[static_cast<size_t>(r)].value(c));
}

void TGroupResults::GuildsDisplay() { GroupTableDisplay(TableHeader()); }

void TGroupResults::RegionsDisplay() { GroupTableDisplay(QStringLiteral("Region")); }

void TGroupResults::InputGridDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    InputGrid->SetColCount(main->ColCount());
    InputGrid->SetRowCount(main->RowCount());
    for (int r = 0; r < main->RowCount(); ++r)
        for (int c = 0; c < main->ColCount(); ++c) InputGrid->SetCells(c, r, main->Cells(c, r));
}

void TGroupResults::DisplayColumnTitles(TStringGrid *Grid)
{
    for (int c = 0; c < Grid->ColCount(); ++c) Grid->SetCells(c, 0, Tarvix->MainGrid->Cells(c, 0));
}

void TGroupResults::DisplayRowTitles(TStringGrid *Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r) Grid->SetCells(0, r, Tarvix->MainGrid->Cells(0, r));
}

void TGroupResults::SimulationDisplay()
{
    const TWorkGrid &w = Engine.Sims.Work;
    SimulationGrid->SetColCount(std::max(w.ColCount(), 1));
    SimulationGrid->SetRowCount(std::max(w.RowCount(), 1));
    for (int c = 1; c < w.ColCount(); ++c)
        for (int r = 1; r < w.RowCount(); ++r) SimulationGrid->SetCells(c, r, w.Cells(c, r));
    DisplayColumnTitles(SimulationGrid);
    DisplayRowTitles(SimulationGrid);
}

void TGroupResults::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    TGroupSummary s;
    s.FileName = Tarvix->FileName;
    s.Rows = main->RowCount() - 1;
    s.Cols = main->ColCount() - 1;
    s.Iterations = Iterations;
    s.Seed = CurrentSeed;
    s.Settings = SettingLines();
    s.Blocks = {{QStringLiteral("INDEX"), &Engine.MeanStatistic}, {QStringLiteral("VARIANCE"), &Engine.VarianceStatistic}};
    if (FavoredBlock()) s.Blocks.push_back({QStringLiteral("FAVORED STATES"), &Engine.FavoredStatistic});
    s.TableTitle = TableTitle();
    for (int r = 0; r < GuildsRegionsGrid->RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < GuildsRegionsGrid->ColCount(); ++c) row << GuildsRegionsGrid->Cells(c, r);
        s.Table.push_back(row);
    }
    for (int r = 0; r < main->RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < main->ColCount(); ++c) row << main->Cells(c, r);
        s.Input.push_back(row);
    }
    SetLines(Memo1, GroupSummaryLines(s));
}

// ---- Menu ----------------------------------------------------------------------------------

void TGroupResults::SuMmary1Click(TObject *)
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

void TGroupResults::Close1Click(TObject *) { Close(); }

void TGroupResults::Help1Click(TObject *) { Tarvix->RunHelp(); }
