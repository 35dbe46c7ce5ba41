// The Niche Overlap results window and its run.
#include "models/overlap_diversity/NicheOverlapMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/NicheOverlapOpts.h"
#include "models/overlap_diversity/NicheOverlapUserDefined.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

TNicheOverlap *NicheOverlap = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");
const QString kRule = QString(46, QLatin1Char('_'));

// Line k of a memo, empty past its end.
TGroupBox *NewGroup(TComponent *Owner, TWinControl *Parent, const QString &Caption, int Left, int Width)
{
    auto *g = new TGroupBox(Owner);
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(Left, 8, Width, 260);
    return g;
}

} // namespace

TNicheOverlap::TNicheOverlap(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("NicheOverlap"));
    SetCaption(QStringLiteral("Tarvix Professional: Niche Overlap Results"));
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
    MeanSheet = sheet(QStringLiteral("Mean"));
    VarianceSheet = sheet(QStringLiteral("Variance"));
    SummarySheet = sheet(QStringLiteral("Summary"));
    TimeSheet = sheet(QStringLiteral("Time"));

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

    ObservedMeanGroup = NewGroup(this, MeanSheet, QStringLiteral("Observed index"), 8, 170);
    MeanHistogramGroup =
        NewGroup(this, MeanSheet, QStringLiteral("Histogram Low.....  High.....................    # Simulations "),
                 184, 330);
    ObservedMeanMemo = NewResultMemo(this, ObservedMeanGroup, "ObservedMeanMemo", 6, 20, 158, 232);
    MeanHistogramMemoLow = NewResultMemo(this, MeanHistogramGroup, "MeanHistogramMemoLow", 6, 20, 100, 232);
    MeanHistogramMemoHigh = NewResultMemo(this, MeanHistogramGroup, "MeanHistogramMemoHigh", 110, 20, 100, 232);
    MeanHistogramMemo2 = NewResultMemo(this, MeanHistogramGroup, "MeanHistogramMemo2", 214, 20, 100, 232);
    MeanHistogramMemo = NewResultMemo(this, MeanSheet, "MeanHistogramMemo", 0, 0, 10, 10);
    MeanHistogramMemo->SetVisible(false);
    MeanMemo = NewResultMemo(this, MeanSheet, "MeanMemo", 8, 276, 506, 160);

    ObservedVarianceGroup = NewGroup(this, VarianceSheet, QStringLiteral("Observed variance"), 8, 170);
    VarianceHistogramGroup =
        NewGroup(this, VarianceSheet, QStringLiteral("Histogram Low.....  High... .................    # Simulations "),
                 184, 330);
    ObservedVarianceMemo = NewResultMemo(this, ObservedVarianceGroup, "ObservedVarianceMemo", 6, 20, 158, 232);
    VarianceHistogramMemoLow = NewResultMemo(this, VarianceHistogramGroup, "VarianceHistogramMemoLow", 6, 20, 100, 232);
    VarianceHistogramMemoHigh = NewResultMemo(this, VarianceHistogramGroup, "VarianceHistogramMemoHigh", 110, 20, 100, 232);
    VarianceHistogramMemo2 = NewResultMemo(this, VarianceHistogramGroup, "VarianceHistogramMemo2", 214, 20, 100, 232);
    VarianceHistogramMemo = NewResultMemo(this, VarianceSheet, "VarianceHistogramMemo", 0, 0, 10, 10);
    VarianceHistogramMemo->SetVisible(false);
    VarianceMemo = NewResultMemo(this, VarianceSheet, "VarianceMemo", 8, 276, 506, 160);

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
                      void (TNicheOverlap::*Handler)(TObject *) = nullptr) {
        return AddMenuCommand(this, Parent, Name, Caption, Handler);
    };
    TMenuItem *root = MainMenu1->Items();
    Save1 = add(root, "Save1", QStringLiteral("&Save"));
    Summary1 = add(Save1, "Summary1", QStringLiteral("Su&mmary"), &TNicheOverlap::Summary1Click);
    Pairwise1 = add(Save1, "Pairwise1", QStringLiteral("&Pairwise"));
    PairwiseSpace1 = add(Pairwise1, "PairwiseSpace1", QStringLiteral("Space delimited (.txt)"),
                         &TNicheOverlap::PairwiseSpace1Click);
    PairwiseComma1 = add(Pairwise1, "PairwiseComma1", QStringLiteral("Comma delimited (.txt)"),
                         &TNicheOverlap::PairwiseComma1Click);
    // No workbook export yet: the item is there and does nothing.
    PairwiseExcel1 = add(Pairwise1, "PairwiseExcel1", QStringLiteral("Excel (.xls)"));
    PairwiseColumn1 = add(Save1, "PairwiseColumn1", QStringLiteral("Pairwise &Column"));
    PairwiseColumnSpace1 = add(PairwiseColumn1, "PairwiseColumnSpace1", QStringLiteral("Space delimited (.txt)"),
                               &TNicheOverlap::PairwiseColumnSpace1Click);
    PairwiseColumnComma1 = add(PairwiseColumn1, "PairwiseColumnComma1", QStringLiteral("Comma delimited (.txt)"),
                               &TNicheOverlap::PairwiseColumnComma1Click);
    PairwiseColumnExcel1 = add(PairwiseColumn1, "PairwiseColumnExcel1", QStringLiteral("Excel (.xls)"));
    Close1 = add(Save1, "Close1", QStringLiteral("&Close"), &TNicheOverlap::Close1Click);
    Help1 = add(root, "Help1", QStringLiteral("&Help"), &TNicheOverlap::Help1Click);
    SetMenu(MainMenu1);
}

// ---- Matrices and randomizations with the options of the dialog ------------------------------

int32_t TNicheOverlap::index() const { return NicheOverlapOpts->IndexGroup->ItemIndex(); }

void TNicheOverlap::Calculate_Row_Pairs() { Sims.Calculate_Row_Pairs(); }

void TNicheOverlap::SetUpMatrices() { Sims.SetUpMatrices(*Tarvix->MainGrid); }

bool TNicheOverlap::ZeroRows_Test() { return Sims.ZeroRows_Test(Tarvix->NonZeroRows, Tarvix->RowError); }

void TNicheOverlap::StandardizeMatrix() { Sims.StandardizeMatrix(); }

void TNicheOverlap::StandardizeSimMatrix() { Sims.StandardizeSimMatrix(); }

void TNicheOverlap::ImplementResourceState()
{
    if (NicheOverlapOpts->ResourceStatesGroup->ItemIndex() != rsUserDefined) return;
    UserDefined();
    StandardizeMatrix();
}

void TNicheOverlap::UserDefined()
{
    Sims.UserDefined(NicheOverlapUserDefined ? NicheOverlapUserDefined->Weights() : std::vector<double>{});
}

void TNicheOverlap::PiankaIndexArray(TStrings &List) { Sims.PiankaIndexArray(List); }

void TNicheOverlap::CzekanowskiIndexArray(TStrings &List) { Sims.CzekanowskiIndexArray(List); }

void TNicheOverlap::RandomizeMatrix()
{
    Sims.RandomizeMatrix(NicheOverlapOpts->NicheBreadthGroup->ItemIndex(),
                         NicheOverlapOpts->ZeroStatesGroup->ItemIndex());
}

// ---- The run ---------------------------------------------------------------------------------

bool TNicheOverlap::Init()
{
    const auto fail = [](const char *Message) {
        ShowMessage(QString::fromUtf8(Message));
        Tarvix->InterruptFlag = true;
        return false;
    };
    if (Tarvix->MainGrid->RowCount() <= 2) return fail("Must have at least 2 rows of data for niche overlap.");
    try {
        Seed = LeadingInt(NicheOverlapOpts->RandomSeedEdit->Text());
    } catch (const EConvertError &) {
        Seed = 0;
    }
    if (Seed < 1) Randomize();
    else RandSeed = static_cast<uint32_t>(Seed);
    CurrentSeed = static_cast<int32_t>(RandSeed);
    if (Tarvix->Iterations < 1 || Tarvix->Iterations > 1000000)
        return fail("Iterations must be between 1 and 1,000,000.");
    Mean = Variance = mmeans = vmeans = mvariances = vvariances = 0;
    meanP1 = meanP2 = varianceP1 = varianceP2 = ses = 0;
    lmean = emean = gmean = lvariance = evariance = gvariance = 0;
    SetUpMatrices();
    Calculate_Row_Pairs();
    if (!ZeroRows_Test()) {
        Tarvix->InterruptFlag = true;
        return false;
    }
    return true;
}

void TNicheOverlap::Run()
{
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return;
    }
    StandardizeMatrix();
    ImplementResourceState();
    const int32_t choice = index();
    ObservedPairs.Clear();
    if (choice == niPianka) PiankaIndexArray(ObservedPairs);
    else CzekanowskiIndexArray(ObservedPairs);
    // The numbers the texts hold, summed as the simulated ones are.
    std::vector<double> pairs(static_cast<size_t>(Sims.Row_Pairs));
    Sims.PairValues(choice, pairs);
    MeanVarianceValues(pairs, Mean, Variance);

    StartProgress(QStringLiteral("Niche Overlap"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();

    // Read once: the loop touches no control and no text.
    const int32_t iterations = Tarvix->Iterations;
    const int32_t breadth = NicheOverlapOpts->NicheBreadthGroup->ItemIndex();
    const int32_t zeros = NicheOverlapOpts->ZeroStatesGroup->ItemIndex();
    const bool saveMatrices = NicheOverlapOpts->SaveMatrixCheckBox->Checked();
    std::vector<double> means(static_cast<size_t>(iterations)), variances(static_cast<size_t>(iterations));
    Tarvix->InterruptFlag = false;
    for (int32_t i = 1; i <= iterations; ++i) {
        if (SimulationInterrupted()) return;
        Sims.RandomizeMatrix(breadth, zeros);
        if (saveMatrices) {
            try {
                Tarvix->SaveSimulation_3(i, 0, Sims.SimulatedMatrix);
            } catch (const Exception &) {
                Progress->Close();
                ShowMessage(QStringLiteral("Error saving simulation...Aborting."));
                Tarvix->InterruptFlag = true;
                return;
            }
        }
        Sims.StandardizeSimMatrix();
        Sims.PairValues(choice, pairs);
        MeanVarianceValues(pairs, means[static_cast<size_t>(i - 1)], variances[static_cast<size_t>(i - 1)]);
        Progress->StepIteration();
    }
    Progress->Flush();
    SimMeans = std::move(means);
    SimVariances = std::move(variances);

    ShowResults();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);
    Finish();
}

void TNicheOverlap::ShowResults()
{
    const auto statistic = [](std::vector<double> Values, double Observed, double &M, double &V, double &P1,
                              double &P2, int32_t &Less, int32_t &Equal, int32_t &Greater, TBlockText &Text) {
        const int32_t n = static_cast<int32_t>(Values.size());
        MeanVarianceValues(Values, M, V);
        P1 = P2 = 0;
        TailProbabilities(Values, Observed, n, P1, P2, Greater, Equal, Less);
        if (n > 0) QuickSortReal(Values, 0, n - 1);
        BuildHistogram(n - 1, Values, Observed, Text.Position);
        HistogramToText(Text.Edges, Text.Counts);
        HistogramToColumns(Text.Low, Text.High, Text.Counts);
    };
    mean_ = TBlockText{};
    variance_ = TBlockText{};
    statistic(SimMeans, Mean, mmeans, vmeans, meanP1, meanP2, lmean, emean, gmean, mean_);
    statistic(SimVariances, Variance, mvariances, vvariances, varianceP1, varianceP2, lvariance, evariance, gvariance,
              variance_);
    StatsToStrings();
    SimulationDisplay();
    InputGridDisplay();
    ObservedMeanMemo->SetText(mean_.Position + mean_.Observed + QStringLiteral("............>"));
    MeanHistogramMemoLow->SetText(mean_.Low);
    MeanHistogramMemoHigh->SetText(mean_.High);
    MeanHistogramMemo2->SetText(mean_.Counts);
    MeanHistogramMemo->SetText(mean_.Edges);
    MeanDisplay();
    ObservedVarianceMemo->SetText(variance_.Position + variance_.Observed + QStringLiteral("............>"));
    VarianceHistogramMemoLow->SetText(variance_.Low);
    VarianceHistogramMemoHigh->SetText(variance_.High);
    VarianceHistogramMemo2->SetText(variance_.Counts);
    VarianceHistogramMemo->SetText(variance_.Edges);
    VarianceDisplay();
    SummaryDisplay();
    // The pair tables change only now, so that a stopped run leaves the last results in view.
    ResponseDisplay();
    PairwiseColumnDisplay();
}

void TNicheOverlap::Finish()
{
    Tarvix->BuildBatchSummaryFirstRow();
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, mean_.Ses, mean_.P1, mean_.P2);
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

void TNicheOverlap::StatsToStrings()
{
    ses = vmeans > 0 ? (Mean - mmeans) / std::sqrt(vmeans) : 0.0;
    mean_.Observed = FloatToStr75(Mean);
    mean_.Mean = FloatToStr75(mmeans);
    mean_.Variance = FloatToStr75(vmeans);
    mean_.P1 = FloatToStr75(meanP1);
    mean_.P2 = FloatToStr75(meanP2);
    mean_.Ses = FloatToStr75(ses);
    variance_.Observed = FloatToStr75(Variance);
    variance_.Mean = FloatToStr75(mvariances);
    variance_.Variance = FloatToStr75(vvariances);
    variance_.P1 = FloatToStr75(varianceP1);
    variance_.P2 = FloatToStr75(varianceP2);
}

void TNicheOverlap::SimulationDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const Real_Matrix &m = Sims.SimulatedMatrix;
    SimulationGrid->SetColCount(main->ColCount());
    SimulationGrid->SetRowCount(main->RowCount());
    for (int c = 0; c < main->ColCount(); ++c)
        for (int r = 0; r < main->RowCount(); ++r) {
            QString text;
            if (r == 0 || c == 0) text = main->Cells(c, r);
            else if (c < m.Cols() && r < m.Rows()) text = FloatToStr(m[c][r]);
            SimulationGrid->SetCells(c, r, text);
        }
}

void TNicheOverlap::InputGridDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    InputGrid->SetColCount(main->ColCount());
    InputGrid->SetRowCount(main->RowCount());
    for (int r = 0; r < main->RowCount(); ++r)
        for (int c = 0; c < main->ColCount(); ++c) InputGrid->SetCells(c, r, main->Cells(c, r));
}

void TNicheOverlap::MeanDisplay()
{
    SetMemoLines(MeanMemo, {QStringLiteral("Observed index = ") + mean_.Observed, QString(),
                        QStringLiteral("Mean of simulated indices = ") + mean_.Mean,
                        QStringLiteral("Variance of simulated indices = ") + mean_.Variance, QString(),
                        QStringLiteral("p(observed <= expected) = ") + mean_.P1,
                        QStringLiteral("p(observed >= expected) = ") + mean_.P2});
}

void TNicheOverlap::VarianceDisplay()
{
    SetMemoLines(VarianceMemo, {QStringLiteral("Observed variance = ") + variance_.Observed, QString(),
                            QStringLiteral("Mean of simulated variances = ") + variance_.Mean,
                            QStringLiteral("Variance of simulated variances = ") + variance_.Variance, QString(),
                            QStringLiteral("p(observed <= expected) = ") + variance_.P1,
                            QStringLiteral("p(observed >= expected) = ") + variance_.P2});
}

void TNicheOverlap::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const TNicheOverlapOpts *o = NicheOverlapOpts;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Rows = ") + IntToStr(main->RowCount() - 1) + QStringLiteral("; Columns = ") +
             IntToStr(main->ColCount() - 1);
    s << QStringLiteral("Iterations = ") + IntToStr(Tarvix->Iterations);
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << (o->ResourceStatesGroup->ItemIndex() == rsUserDefined ? QStringLiteral("Resource State = User-defined")
                                                                : QStringLiteral("Resource State = Equiprobable"));
    s << QStringLiteral("Randomization Algorithm ") + IntToStr(Sims.Algorithm);
    s << (o->NicheBreadthGroup->ItemIndex() == nbRetained ? QStringLiteral("Niche Breadth = Retained")
                                                          : QStringLiteral("Niche Breadth = Relaxed"));
    s << (o->ZeroStatesGroup->ItemIndex() == zsReshuffled ? QStringLiteral("Zero States = Reshuffled")
                                                          : QStringLiteral("Zero States = Retained"));
    s << (o->IndexGroup->ItemIndex() == niPianka ? QStringLiteral("Pianka Index")
                                                  : QStringLiteral("Czekanowski Index"));
    s << kRule << QString();

    const auto histogram = [&s](const QString &Header, TMemo *Edges, TMemo *Counts) {
        s << Header << QStringLiteral("Histogram          # Simulations");
        for (int k = 0; k <= 12; ++k) s << MemoLine(Edges, k) + QStringLiteral("  ") + MemoLine(Counts, k);
    };
    s << QStringLiteral("Observed mean = ") + mean_.Observed;
    s << QStringLiteral("Mean of simulated indices = ") + mean_.Mean;
    s << QStringLiteral("Variance of simulated indices = ") + mean_.Variance;
    s << QString();
    s << QStringLiteral("Number of times Observed index < simulated indices = ") + IntToStr(lmean);
    s << QStringLiteral("Number of times Observed index = simulated indices = ") + IntToStr(emean);
    s << QStringLiteral("Number of times Observed index > simulated indices = ") + IntToStr(gmean);
    s << QStringLiteral("Standardized Effect Size = ") + mean_.Ses;
    s << QStringLiteral("p(observed <= expected) = ") + mean_.P1;
    s << QStringLiteral("p(observed >= expected) = ") + mean_.P2;
    s << QString();
    histogram(QStringLiteral("Simulation frequencies"), MeanHistogramMemo, MeanHistogramMemo2);

    s << kRule << QString();
    s << QStringLiteral("Observed variance = ") + variance_.Observed << QString();
    s << QStringLiteral("Mean of simulated variances = ") + variance_.Mean;
    s << QStringLiteral("Variance of simulated variances = ") + variance_.Variance;
    s << QString();
    s << QStringLiteral("Number of times Observed variance < simulated variances = ") + IntToStr(lvariance);
    s << QStringLiteral("Number of times Observed variance = simulated variances = ") + IntToStr(evariance);
    s << QStringLiteral("Number of times Observed variance > simulated variances = ") + IntToStr(gvariance);
    s << QString();
    s << QStringLiteral("p(observed <= expected) = ") + variance_.P1;
    s << QStringLiteral("p(observed >= expected) = ") + variance_.P2;
    s << QString();
    histogram(QStringLiteral("Simulation frequencies:"), VarianceHistogramMemo, VarianceHistogramMemo2);

    s << kRule << QString() << QStringLiteral("INPUT MATRIX:") << QString();
    for (int r = 0; r < main->RowCount(); ++r) {
        QString line;
        for (int c = 0; c < main->ColCount(); ++c) line += main->Cells(c, r) + QLatin1Char(' ');
        s << line;
    }
    SetMemoLines(Memo1, s);
}

void TNicheOverlap::ResponseDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int R = main->RowCount();
    ResponseGrid->SetColCount(R);
    ResponseGrid->SetRowCount(R - 1);
    for (int c = 0; c < R; ++c) ResponseGrid->SetCells(c, 0, main->Cells(0, c));
    int k = 0;
    for (int a = 1; a < R - 1; ++a) {
        ResponseGrid->SetCells(0, a, main->Cells(0, a));
        for (int b = 1; b < R; ++b)
            ResponseGrid->SetCells(b, a, b > a && k < ObservedPairs.Count() ? ObservedPairs.Strings(k++) : QString());
    }
}

void TNicheOverlap::PairwiseColumnDisplay()
{
    const int R = Tarvix->MainGrid->RowCount();
    ProStringGrid1->SetColCount(3);
    ProStringGrid1->SetRowCount(std::max(Sims.Row_Pairs, 1));
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

void TNicheOverlap::Summary1Click(TObject *)
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

bool TNicheOverlap::saveGrid(TStringGrid *Grid, bool Comma)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(QStringLiteral("pairwise.txt"));
    if (!SaveDialog1->Execute()) return false;
    try {
        return Comma ? Tarvix->SaveGridToFileComma(Grid, SaveDialog1->FileName())
                     : Tarvix->SaveGridToFile(Grid, SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
        return false;
    }
}

void TNicheOverlap::PairwiseSpace1Click(TObject *) { saveGrid(ResponseGrid, false); }

void TNicheOverlap::PairwiseComma1Click(TObject *) { saveGrid(ResponseGrid, true); }

void TNicheOverlap::PairwiseColumnSpace1Click(TObject *) { saveGrid(ProStringGrid1, false); }

void TNicheOverlap::PairwiseColumnComma1Click(TObject *) { saveGrid(ProStringGrid1, true); }

void TNicheOverlap::Close1Click(TObject *) { Close(); }

void TNicheOverlap::Help1Click(TObject *) { Tarvix->RunHelp(); }
