// The Size Overlap results window and its run.
#include "models/overlap_diversity/SizeOverlapMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SizeOverlapHistogram.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "models/overlap_diversity/SizeOverlapUserDefined.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QStringList>
#include <cmath>

TSizeOverlap *SizeOverlap = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");
const QString kRule = QString(46, QLatin1Char('_'));
const QString kHistogramCaption = QStringLiteral("Histogram Low... High...................    # Simulations ");

TStringGrid *NewGrid(TComponent *Owner, TWinControl *Parent, const char *Name)
{
    TStringGrid *g = NewResultGrid(Owner, Parent, Name);
    g->SetColCount(2);
    g->SetDefaultColWidth(120);
    return g;
}

TGroupBox *NewGroup(TComponent *Owner, TWinControl *Parent, const QString &Caption, int Left, int Top, int Width,
                    int Height)
{
    auto *g = new TGroupBox(Owner);
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, Top, Width, Height);
    return g;
}

} // namespace

TSizeOverlap::TSizeOverlap(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("SizeOverlap"));
    SetCaption(QStringLiteral("Tarvix -- Size Overlap Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 720, 540);

    PageControl1 = new TPageControl(this);
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    auto sheet = [this](const QString &Caption) {
        auto *s = new TTabSheet(this);
        s->SetPageControl(PageControl1);
        s->SetCaption(Caption);
        return s;
    };
    InputSheet = sheet(QStringLiteral("Input Column"));
    SimulationSheet = sheet(QStringLiteral("Simulation"));
    SegmentsSheet = sheet(QStringLiteral("Simulation Segments"));
    SizeHistogramSheet = sheet(QStringLiteral("Size Histogram"));
    SizeOverlapSheet = sheet(QStringLiteral("Size Overlap"));
    SummarySheet = sheet(QStringLiteral("Summary"));
    TimeSheet = sheet(QStringLiteral("Time"));

    InputColumnGrid = NewGrid(this, InputSheet, "InputColumnGrid");
    InputColumnGrid->SetHint(QStringLiteral("Input column"));
    InputColumnGrid->SetShowHint(true);
    SimulationGrid = NewGrid(this, SimulationSheet, "SimulationGrid");
    SegmentsGrid = NewGrid(this, SegmentsSheet, "SegmentsGrid");

    SizeHistogramGroup = NewGroup(this, SizeHistogramSheet, kHistogramCaption, 8, 8, 420, 260);
    SizeHistogramMemoLow = NewResultMemo(this, SizeHistogramGroup, "SizeHistogramMemoLow", 6, 20, 130, 232);
    SizeHistogramMemoHigh = NewResultMemo(this, SizeHistogramGroup, "SizeHistogramMemoHigh", 140, 20, 130, 232);
    SizeHistogramMemo2 = NewResultMemo(this, SizeHistogramGroup, "SizeHistogramMemo2", 274, 20, 130, 232);
    SizeHistogramNotesMemo = NewResultMemo(this, SizeHistogramSheet, "SizeHistogramNotesMemo", 8, 276, 420, 70);
    SizeHistogramMemo = NewResultMemo(this, SizeHistogramSheet, "SizeHistogramMemo", 0, 0, 10, 10);
    SizeHistogramMemo->SetVisible(false);

    ObservedGroup = NewGroup(this, SizeOverlapSheet, QStringLiteral("Observed index"), 8, 8, 170, 260);
    ObservedMeanMemo = NewResultMemo(this, ObservedGroup, "ObservedMeanMemo", 6, 20, 158, 232);
    HistogramGroup = NewGroup(this, SizeOverlapSheet, kHistogramCaption, 184, 8, 420, 260);
    MeanHistogramMemoLow = NewResultMemo(this, HistogramGroup, "MeanHistogramMemoLow", 6, 20, 130, 232);
    MeanHistogramMemoHigh = NewResultMemo(this, HistogramGroup, "MeanHistogramMemoHigh", 140, 20, 130, 232);
    MeanHistogramMemo2 = NewResultMemo(this, HistogramGroup, "MeanHistogramMemo2", 274, 20, 130, 232);
    MeanHistogramMemo = NewResultMemo(this, SizeOverlapSheet, "MeanHistogramMemo", 0, 0, 10, 10);
    MeanHistogramMemo->SetVisible(false);
    MeanMemo = NewResultMemo(this, SizeOverlapSheet, "MeanMemo", 8, 276, 596, 160);

    Memo1 = NewResultMemo(this, SummarySheet, "Memo1", 0, 0, 10, 10);
    Memo1->SetAlign(alClient);
    Memo1->SetReadOnly(false);
    Memo1->SetScrollBars(ssVertical);
    TimeMemo = NewResultMemo(this, TimeSheet, "TimeMemo", 0, 0, 10, 10);
    TimeMemo->SetAlign(alClient);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    auto add = [this](TMenuItem *Parent, const char *Name, const QString &Caption,
                      void (TSizeOverlap::*Handler)(TObject *) = nullptr) {
        return AddMenuCommand(this, Parent, Name, Caption, Handler);
    };
    TMenuItem *root = MainMenu1->Items();
    Save1 = add(root, "Save1", QStringLiteral("&Save"));
    SuMmary1 = add(Save1, "SuMmary1", QStringLiteral("Su&mmary"), &TSizeOverlap::SuMmary1Click);
    N1 = add(Save1, "N1", QStringLiteral("-"));
    Close1 = add(Save1, "Close1", QStringLiteral("&Close"), &TSizeOverlap::Close1Click);
    Help1 = add(root, "Help1", QStringLiteral("&Help"), &TSizeOverlap::Help1Click);
    SetMenu(MainMenu1);
}

// ---- The run -----------------------------------------------------------------------------------

bool TSizeOverlap::Init()
{
    const auto fail = [](const char *Message) {
        ShowMessage(QString::fromUtf8(Message));
        Tarvix->InterruptFlag = true;
        return false;
    };
    TProStringGrid *main = Tarvix->MainGrid;
    const int64_t cells = static_cast<int64_t>(main->RowCount()) * main->ColCount();
    if (cells > 241101 || cells < 4) return fail("4 < Cell limit < 241101, e.g. 301x801.");
    if (main->RowCount() <= 2) return fail("At least 3 rows of data required for size overlap.");
    try {
        Iterations = LeadingInt(SizeOverlapOpts->IterationsEdit->Text());
    } catch (const EConvertError &) {
        Iterations = 0;
    }
    if (Iterations < 1) return fail("Iterations must be > 0.");
    if (Iterations >= 30000) return fail("Iterations must be < 30000.");
    // The progress window and the statistics count what the run counts, also when Run is called
    // without the Analyze command.
    Tarvix->Iterations = Iterations;
    try {
        Seed = LeadingInt(SizeOverlapOpts->RandomSeedEdit->Text());
    } catch (const EConvertError &) {
        Seed = 0;
    }
    if (Seed <= 0) Randomize();
    else RandSeed = static_cast<uint32_t>(Seed);
    CurrentSeed = static_cast<int32_t>(RandSeed);
    Mean = Variance = 0;
    InputColumnGrid->SetRowCount(main->RowCount());
    InputColumnGrid->SetColCount(2);
    SimulationGrid->SetColCount(2);
    return true;
}

void TSizeOverlap::Abort(const QString &Message)
{
    Progress->Close();
    ShowMessage(Message);
    Tarvix->InterruptFlag = true;
}

void TSizeOverlap::ColumnToNumberLine(int32_t c, std::vector<double> &Line)
{
    TProStringGrid *main = Tarvix->MainGrid;
    InputColumnGrid->SetRowCount(main->RowCount());
    for (TStringGrid *g : {InputColumnGrid, SimulationGrid, SegmentsGrid}) {
        g->SetCells(0, 0, main->Cells(0, 0));
        g->SetCells(1, 0, main->Cells(c, 0));
    }
    Line.clear();
    for (int r = 1; r < main->RowCount(); ++r) {
        InputColumnGrid->SetCells(0, r, main->Cells(0, r));
        InputColumnGrid->SetCells(1, r, main->Cells(c, r));
        const double v = LeadingReal(main->Cells(c, r));
        if (v > 0) Line.push_back(v);
    }
}

void TSizeOverlap::ReadChoices()
{
    Sims.Options = SizeOverlapOpts->Choices();
    Sims.User = SizeUserParameters();
    std::vector<double> sizes, weights;
    if (Sims.Options.BodySizeDistributionGroup == ssHistogram) SizeHistogramTable(sizes, weights);
    Sims.SetHistogram(std::move(sizes), std::move(weights));
    Sims.Context.ProcessMessages = [] { Application->ProcessMessages(); };
    Sims.Context.ShowMessage = [](const QString &Message) { ShowMessage(Message); };
    Sims.Context.InterruptFlag = &Tarvix->InterruptFlag;
}

void TSizeOverlap::Run()
{
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed. Check iterations and random seed."));
        Tarvix->InterruptFlag = true;
        return;
    }
    StartProgress(QStringLiteral("Size Overlap"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();
    Tarvix->InterruptFlag = false;
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));

    const int32_t c = SizeOverlapOpts->AnalysedColumn();
    const int32_t n = NonZeroRows = CountPositiveSizes(c);
    if (n <= 0) return Abort(QStringLiteral("Non-Zero Rows Must be > 0"));
    if (n - 1 <= 0) return Abort(QStringLiteral("Segments must be > 0"));
    Segments = n - 1;
    SimulationGrid->SetRowCount(n + 1);
    SegmentsGrid->SetRowCount(n);
    ColumnToNumberLine(c, DataNumberLine);
    const size_t un = static_cast<size_t>(n), it = static_cast<size_t>(Iterations);
    TransformedNumberLine.assign(un, 0);
    UntransformedNumberLine.assign(un, 0);
    SimulatedNumberLine.assign(un, 0);
    SegmentsNumberLine.assign(un - 1, 0);
    MetricList.assign(it, 0);
    SizeHistogramList.assign(it, 0);
    ReadChoices();
    const bool histogram = Sims.Options.BodySizeDistributionGroup == ssHistogram;
    const bool saveSets = SizeOverlapOpts->SaveMatrixCheckBox->Checked();

    // The observed sizes, sorted, through the source's scale and back, on the analysis scale.
    QuickSortReal(DataNumberLine, 0, n - 1);
    Sims.SourceTransform(n, DataNumberLine, TransformedNumberLine);
    Sims.BackTransform(n, TransformedNumberLine, UntransformedNumberLine);
    Sims.AnalysisTransform(n, UntransformedNumberLine, TransformedNumberLine);
    NumberLineToSegments(n, TransformedNumberLine, SegmentsNumberLine);
    Observed = Sims.ObservedMetric(Segments, SegmentsNumberLine);

    for (int32_t i = 0; i < Tarvix->Iterations; ++i) {
        if (SimulationInterrupted()) return;
        Sims.SourceTransform(n, DataNumberLine, TransformedNumberLine);
        Sims.SimulateNumberLine(n, TransformedNumberLine, SimulatedNumberLine);
        // A source that could not draw the set has stopped the run.
        if (Tarvix->InterruptFlag) {
            Progress->Close();
            return;
        }
        const size_t pick = histogram ? static_cast<size_t>(Random(n)) : static_cast<size_t>(Round(n / 2.0));
        SizeHistogramList[static_cast<size_t>(i)] = SimulatedNumberLine[pick];
        QuickSortReal(SimulatedNumberLine, 0, n - 1);
        Sims.BackTransform(n, SimulatedNumberLine, UntransformedNumberLine);
        Sims.AnalysisTransform(n, UntransformedNumberLine, SimulatedNumberLine);
        NumberLineToSegments(n, SimulatedNumberLine, SegmentsNumberLine);
        Sims.SimulatedMetric(Segments, SegmentsNumberLine, MetricList, i);
        // The set as drawn, sorted and back on the size scale; a failed write stops the run.
        if (saveSets && !Tarvix->SaveNumberLineToFile(i + 1, n, UntransformedNumberLine)) {
            Progress->Close();
            Tarvix->InterruptFlag = true;
            return;
        }
        Progress->StepIteration();
    }
    Progress->Flush();

    MeanVariance(Iterations, MetricList, Mean, Variance);
    TailProbabilities(MetricList, Observed, Iterations, P1, P2, gmean, emean, lmean);
    QuickSortReal(MetricList, 0, Iterations - 1);
    BuildHistogramIterations(MetricList, Iterations, Observed, Obsm);
    HistogramToText(hstm, hstm2);
    QString counts;
    HistogramToColumns(low_, high_, counts);

    QuickSortReal(SizeHistogramList, 0, Iterations - 1);
    MeanVariance(Iterations, SizeHistogramList, SH_Mean, SH_Variance);
    QString position;
    BuildHistogramIterations(SizeHistogramList, Iterations, SH_Mean, position);
    HistogramToText(SH_hstm, SH_hstm2);
    QString shCounts;
    HistogramToColumns(shLow_, shHigh_, shCounts);
    SizeHistogramMemo->SetText(SH_hstm);
    SizeHistogramMemo2->SetText(SH_hstm2);
    SizeHistogramMemoLow->SetText(shLow_);
    SizeHistogramMemoHigh->SetText(shHigh_);
    SH_Mean_s = FloatToStr75(SH_Mean);
    SH_Variance_s = FloatToStr75(SH_Variance);
    SizeHistogramNotesMemo->SetText(QStringLiteral("Mean of simulated sizes = ") + SH_Mean_s +
                                    QStringLiteral("\r\nVariance of simulated sizes = ") + SH_Variance_s +
                                    QStringLiteral("\r\n"));

    StatsToStrings();
    ObservedMeanMemo->SetText(Obsm + Observed_s + QStringLiteral("...............>"));
    MeanHistogramMemoLow->SetText(low_);
    MeanHistogramMemoHigh->SetText(high_);
    MeanHistogramMemo->SetText(hstm);
    MeanHistogramMemo2->SetText(hstm2);
    MeanDisplay();
    SummaryDisplay();
    SimulationDisplay(n, SimulatedNumberLine);
    SegmentsDisplay(Segments, SegmentsNumberLine);
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);
    Finish();
}

void TSizeOverlap::Finish()
{
    Tarvix->BuildBatchSummaryFirstRow();
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, ses_s, P1_s, P2_s);
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

// ---- Displays ----------------------------------------------------------------------------------

void TSizeOverlap::StatsToStrings()
{
    it_s = IntToStr(Iterations);
    lmean_s = IntToStr(lmean);
    emean_s = IntToStr(emean);
    gmean_s = IntToStr(gmean);
    Observed_s = FloatToStr75(Observed);
    Mean_s = FloatToStr75(Mean);
    Variance_s = FloatToStr75(Variance);
    P1_s = FloatToStr75(P1);
    P2_s = FloatToStr75(P2);
    ses = Variance > 0 ? (Observed - Mean) / std::sqrt(Variance) : 0.0;
    ses_s = FloatToStr75(ses);
}

void TSizeOverlap::MeanDisplay()
{
    SetMemoLines(MeanMemo, {QStringLiteral("Observed index = ") + Observed_s, QString(),
                        QStringLiteral("Mean of simulated index = ") + Mean_s,
                        QStringLiteral("Variance of simulated index = ") + Variance_s, QString(),
                        QStringLiteral("p(observed <= expected) = ") + P1_s,
                        QStringLiteral("p(observed >= expected) = ") + P2_s, QString()});
}

void TSizeOverlap::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const TSizeOverlapOptions &o = Sims.Options;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Iterations = ") + it_s;
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    const int column = SizeOverlapOpts->ColumnList->ItemIndex();
    const TStrings *items = SizeOverlapOpts->ColumnList->Items();
    s << QStringLiteral("Column analyzed:  ") +
             (column >= 0 && column < items->Count() ? items->Strings(column) : QString());
    s << (o.MetricGroup == smMinimumSegment ? QStringLiteral("Metric = Minimum segment length.")
                                            : QStringLiteral("Metric = Variance in segment length."));
    s << (o.TransformationGroup == stSizeDifferences ? QStringLiteral("None (size differences)")
                                                     : QStringLiteral("Log (size ratios)"));
    if (o.BodySizeDistributionGroup == ssParametric) {
        static const char *const names[] = {"Uniform", "Normal", "Log Uniform", "Log Normal"};
        const int d = std::clamp(o.BodySizeDistributionGroupMain, 0, 3);
        s << QStringLiteral("Parametric distributions") << QLatin1String(names[d]);
        if (d == sdUniform || d == sdLogUniform)
            s << QStringLiteral("Minimum = ") + FloatToStr75(Sims.SourceMinimum) + QStringLiteral("  Maximum = ") +
                     FloatToStr75(Sims.SourceMaximum);
        else
            s << QStringLiteral("Mean = ") + FloatToStr75(Sims.SourceMean) + QStringLiteral("  Standard deviation = ") +
                     FloatToStr75(Sims.SourceSD);
        s << (o.BodySizeDistributionGroupC == spUserDefined ? QStringLiteral("User-defined")
                                                            : QStringLiteral("Data-defined"));
        s << QString();
    } else {
        s << QStringLiteral("User-defined histogram") << QString() << QString() << QString() << QString();
    }
    s << kRule << QString();
    s << QStringLiteral("Observed index = ") + Observed_s;
    s << QStringLiteral("Mean of simulated index = ") + Mean_s;
    s << QStringLiteral("Variance of simulated index = ") + Variance_s;
    s << QStringLiteral("p(observed >= expected) = ") + P2_s;
    s << QStringLiteral("p(observed <= expected) = ") + P1_s;
    s << QString();
    s << QStringLiteral("Number of times Observed index < simulated indices = ") + lmean_s;
    s << QStringLiteral("Number of times Observed index = simulated indices = ") + emean_s;
    s << QStringLiteral("Number of times Observed index > simulated indices = ") + gmean_s;
    s << QStringLiteral("Standardized Effect Size = ") + ses_s;
    s << QString();
    s << QStringLiteral("Simulation frequencies:") << QStringLiteral("Histogram          # Simulations");
    for (int k = 0; k <= 13; ++k)
        s << MemoLine(MeanHistogramMemo, k) + QStringLiteral("  ") + MemoLine(MeanHistogramMemo2, k);
    s << kRule << QString() << QStringLiteral("INPUT MATRIX") << QString();
    for (int r = 0; r < main->RowCount(); ++r) {
        QString line;
        for (int col = 0; col < main->ColCount(); ++col) line += main->Cells(col, r) + QLatin1Char(' ');
        s << line;
    }
    SetMemoLines(Memo1, s);
}

void TSizeOverlap::SimulationDisplay(int32_t n, const std::vector<double> &Line)
{
    for (int32_t k = 0; k < n && static_cast<size_t>(k) < Line.size(); ++k)
        SimulationGrid->SetCells(1, k + 1, FloatToStr75(Line[static_cast<size_t>(k)]));
}

void TSizeOverlap::SegmentsDisplay(int32_t Count, const std::vector<double> &Segment)
{
    for (int32_t k = 0; k < Count && static_cast<size_t>(k) < Segment.size(); ++k)
        SegmentsGrid->SetCells(1, k + 1, FloatToStr75(Segment[static_cast<size_t>(k)]));
}

// ---- Menu --------------------------------------------------------------------------------------

void TSizeOverlap::SaveSummary(const QString &FileName)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(FileName);
    if (!SaveDialog1->Execute()) return;
    try {
        Memo1->Lines()->SaveToFile(SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

void TSizeOverlap::SuMmary1Click(TObject *) { SaveSummary(QStringLiteral("summary.txt")); }

void TSizeOverlap::SaveSummaryButtonClick(TObject *) { SaveSummary(QStringLiteral("summary.txt")); }

void TSizeOverlap::SaveButtonClick(TObject *) { SaveSummary(QString()); }

void TSizeOverlap::Close1Click(TObject *) { Close(); }

void TSizeOverlap::CloseButtonClick(TObject *) { Close(); }

void TSizeOverlap::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TSizeOverlap::HelpButtonClick(TObject *) { Tarvix->RunHelp(); }
