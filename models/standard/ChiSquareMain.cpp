// The chi-square run and its results window.
#include "models/standard/ChiSquareMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/standard/ChiSquareOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <cmath>

TChiSquareShell *ChiSquareShell = nullptr;

namespace {


void CopyGrid(const TStringGrid *Source, TStringGrid *Dest)
{
    Dest->SetRowCount(Source->RowCount());
    Dest->SetColCount(Source->ColCount());
    for (int r = 0; r < Source->RowCount(); ++r)
        for (int c = 0; c < Source->ColCount(); ++c) Dest->SetCells(c, r, Source->Cells(c, r));
}

} // namespace

TChiSquareShell::TChiSquareShell(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("ChiSquareShell"));
    SetCaption(QStringLiteral("Tarvix Professional: Chi-square Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 640, 520);

    PageControl1 = AddResultPages(this, {{&InputSheet, QStringLiteral("Input Matrix")},
                                         {&ExpectedSheet, QStringLiteral("Expected Matrix")},
                                         {&SimulationSheet, QStringLiteral("Simulated Matrix")},
                                         {&ChiSquareSheet, QStringLiteral("Chi-square")},
                                         {&SummarySheet, QStringLiteral("Summary")},
                                         {&TimeSheet, QStringLiteral("Time")}});
    InputGrid = NewResultGrid(this, InputSheet, "InputGrid");
    InputGrid->SetHint(QStringLiteral("Original data matrix"));
    ExpectedGrid = NewResultGrid(this, ExpectedSheet, "ExpectedGrid");
    ExpectedGrid->SetHint(QStringLiteral("Original data matrix"));
    SimulationGrid = NewResultGrid(this, SimulationSheet, "SimulationGrid");
    SimulationGrid->SetHint(QStringLiteral("Most recent simulated matrix"));
    SimulationGrid->SetFixedCols(0);
    page_ = AddStatisticPage(this, ChiSquareSheet, QStringLiteral("Observed mean"), "ObservedChiSquareMemo",
                             "ChiSquareHistogramMemo", "ChiSquareHistogramMemo2", "ChiSquareMemo");
    ObservedGroup = page_.ObservedGroup;
    HistogramGroup = page_.HistogramGroup;
    ObservedChiSquareMemo = page_.Observed;
    ChiSquareHistogramMemo = page_.Edges;
    ChiSquareHistogramMemo2 = page_.Counts;
    ChiSquareMemo = page_.Block;
    AddSummaryAndTime(this, SummarySheet, TimeSheet, Memo1, TimeMemo);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Save1 = AddMenuCommand(this, root, "Save1", QStringLiteral("&Save"));
    Summary1 = AddMenuCommand(this, Save1, "Summary1", QStringLiteral("Su&mmary"), &TChiSquareShell::Summary1Click);
    Close1 = AddMenuCommand(this, Save1, "Close1", QStringLiteral("&Close"), &TChiSquareShell::Close1Click);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TChiSquareShell::Help1Click);
    SetMenu(MainMenu1);
}

// ---- The run ---------------------------------------------------------------------------------

bool TChiSquareShell::Init()
{
    const auto refuseExpected = [] {
        ShowMessage(QStringLiteral("Expected Grid 0 error: "));
        if (Progress && Progress->Visible()) Progress->Close();
        Tarvix->BringToFront();
        return false;
    };
    TStringGrid *expected = ChiSquareOpts->ExpectedGrid;
    // A cell that is no number is refused like one that is not positive.
    try {
        if (!CheckPositiveReals(expected)) return refuseExpected();
    } catch (const EConvertError &) {
        return refuseExpected();
    }
    TProStringGrid *main = Tarvix->MainGrid;
    if (expected->RowCount() != main->RowCount() || expected->ColCount() != main->ColCount()) {
        ShowMessage(QStringLiteral("Expected Row/Col counts <> Input Row/Col counts."));
        return false;
    }
    if (!TakeIterations(iterations_)) return false;
    CurrentSeed = SeedFromEdit(ChiSquareOpts->RandomSeedEdit);
    return true;
}

void TChiSquareShell::InitMatrices()
{
    TProStringGrid *main = Tarvix->MainGrid;
    TStringGrid *expected = ChiSquareOpts->ExpectedGrid;
    Maxc = main->ColCount() - 1;
    Maxr = main->RowCount() - 1;
    O_Mat = Matrix(Maxc, Maxr);
    S_Mat = Matrix(Maxc, Maxr);
    E_Mat = Real_Matrix(Maxc, Maxr);
    for (int32_t c = 1; c <= Maxc; ++c)
        for (int32_t r = 1; r <= Maxr; ++r) {
            int32_t v = 0;
            try {
                v = LeadingInt(main->Cells(c, r));
            } catch (const EConvertError &) {
                v = 0;
            }
            O_Mat[c - 1][r - 1] = v;
            // Checked positive by Init.
            E_Mat[c - 1][r - 1] = StrToFloat(expected->Cells(c, r));
        }
}

void TChiSquareShell::CalculateChiSquare_Observed() { RVar = ChiSquareStatistic(O_Mat, E_Mat, Maxc, Maxr); }

void TChiSquareShell::CalculateChiSquare_Simulated() { RVar = ChiSquareStatistic(S_Mat, E_Mat, Maxc, Maxr); }

void TChiSquareShell::SetUpProportionalRows()
{
    ProportionLine(ChiSquareOpts->IntegerRowTotal, SpeciesNumberLine);
    rows_.Assign(SpeciesNumberLine);
}

void TChiSquareShell::SetUpProportionalColumns()
{
    ProportionLine(ChiSquareOpts->IntegerColTotal, SitesNumberLine);
    cols_.Assign(SitesNumberLine);
}

void TChiSquareShell::SimulationOptions()
{
    switch (ChiSquareOpts->RandomizationGroup->ItemIndex()) {
    case cmRandomizeColumns: RandomizeColumns(); break;
    case cmRandomizeRows: RandomizeRows(); break;
    default: RandomizeMatrix(); break;
    }
}

void TChiSquareShell::RandomizeMatrix()
{
    RandomizeMatrixUnits(S_Mat, rows_, cols_, SpeciesNumberLine, SitesNumberLine, ChiSquareOpts->IntegerMatrixTotal,
                         context_, slice_);
}

void TChiSquareShell::RandomizeColumns() { RandomizeColumnTotals(S_Mat, ChiSquareOpts->IntegerColTotal, Maxr); }

void TChiSquareShell::RandomizeRows() { RandomizeRowTotals(S_Mat, ChiSquareOpts->IntegerRowTotal, Maxc); }

void TChiSquareShell::Run()
{
    if (!Init()) {
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return;
    }
    InitMatrices();
    CalculateChiSquare_Observed();
    Observed_F = RVar;
    Observed_F_s = FloatToStr75(Observed_F);
    SetUpProportionalRows();
    SetUpProportionalColumns();
    // The totals must describe this table: a table changed since the dialog computed them
    // would place counts by another table's margins.
    if (ChiSquareOpts->IntegerRowTotal.size() != static_cast<size_t>(Maxr) ||
        ChiSquareOpts->IntegerColTotal.size() != static_cast<size_t>(Maxc)) {
        ShowMessage(QStringLiteral("Expected Row/Col counts <> Input Row/Col counts."));
        ShowMessage(QStringLiteral("Initialization failed."));
        Tarvix->InterruptFlag = true;
        return;
    }

    StartProgress(QStringLiteral("Chi-square"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();
    Tarvix->InterruptFlag = false;
    context_.InterruptFlag = &Tarvix->InterruptFlag;
    context_.ProcessMessages = [] { Application->ProcessMessages(); };
    context_.ShowMessage = [](const QString &Text) { ShowMessage(Text); };
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));

    std::vector<double> list(static_cast<size_t>(iterations_));
    const bool saveMatrices = ChiSquareOpts->SaveMatrixCheckBox->Checked();
    for (int32_t k = 0; k < iterations_; ++k) {
        if (SimulationInterrupted()) return;
        SimulationOptions();
        if (Tarvix->InterruptFlag) {
            Progress->Close();
            return;
        }
        CalculateChiSquare_Simulated();
        list[static_cast<size_t>(k)] = RVar;
        Progress->StepIteration();
        if (saveMatrices) {
            try {
                Tarvix->SaveSimulation_4(k + 1, 0, S_Mat);
            } catch (const Exception &) {
                Progress->Close();
                ShowMessage(QStringLiteral("Error saving simulation...Aborting."));
                Tarvix->InterruptFlag = true;
                return;
            }
        }
    }
    Progress->Flush();

    UnpackResultBlock(RealResultBlock(list, iterations_, Observed_F), MFRatios, VFRatios, FRatioP1, FRatioP2, lFRatio,
                      eFRatio, gFRatio, Ses, obsFRatio, hstFRatio, hstFRatio2);
    ShowHistogram(page_, obsFRatio, Observed_F_s, hstFRatio, hstFRatio2);
    StatsToStrings();
    MeanDisplay();
    InputGridDisplay();
    ExpectedGridDisplay();
    SimulationDisplay();
    DisplayColumnTitles(SimulationGrid);
    DisplayRowTitles(SimulationGrid);
    SummaryDisplay();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);

    FinishResultsRun(this, Memo1, Ses_string, fP1, fP2);
}

// ---- Displays --------------------------------------------------------------------------------

void TChiSquareShell::StatsToStrings()
{
    its = IntToStr(iterations_);
    s_m = FloatToStr75(MFRatios);
    s_v = FloatToStr75(VFRatios);
    fP1 = FloatToStr75(FRatioP1);
    fP2 = FloatToStr75(FRatioP2);
    s_lf = IntToStr(lFRatio);
    s_ef = IntToStr(eFRatio);
    s_gf = IntToStr(gFRatio);
    Ses_string = FloatToStr75(Ses);
}

void TChiSquareShell::MeanDisplay()
{
    SetMemoLines(ChiSquareMemo, ResultLines(QStringLiteral("Observed index = "), Observed_F_s,
                                            QStringLiteral("Mean of simulated indices = "), s_m,
                                            QStringLiteral("Variance of simulated indices = "), s_v, fP1, fP2));
}

void TChiSquareShell::InputGridDisplay() { CopyGrid(Tarvix->MainGrid, InputGrid); }

void TChiSquareShell::ExpectedGridDisplay() { CopyGrid(ChiSquareOpts->ExpectedGrid, ExpectedGrid); }

void TChiSquareShell::SimulationDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    SimulationGrid->SetRowCount(main->RowCount());
    SimulationGrid->SetColCount(main->ColCount());
    for (int32_t c = 1; c <= Maxc; ++c)
        for (int32_t r = 1; r <= Maxr; ++r) SimulationGrid->SetCells(c, r, IntToStr(S_Mat[c - 1][r - 1]));
}

void TChiSquareShell::DisplayColumnTitles(TStringGrid *Grid)
{
    for (int c = 0; c < Grid->ColCount(); ++c) Grid->SetCells(c, 0, Tarvix->MainGrid->Cells(c, 0));
}

void TChiSquareShell::DisplayRowTitles(TStringGrid *Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r) Grid->SetCells(0, r, Tarvix->MainGrid->Cells(0, r));
}

void TChiSquareShell::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Rows = ") + IntToStr(main->RowCount() - 1) + QStringLiteral("; Columns = ") +
             IntToStr(main->ColCount() - 1);
    s << QStringLiteral("Iterations = ") + its;
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << SummaryRule() << QString() << QStringLiteral("INDEX");
    s << IndexSummaryLines(Observed_F_s, s_m, s_v, fP1, fP2, s_lf, s_ef, s_gf, Ses_string, hstFRatio, hstFRatio2);
    s << SummaryRule() << QString() << QStringLiteral("INPUT MATRIX:") << QString();
    s << GridTextLines(main);
    s << SummaryRule() << QString() << QStringLiteral("EXPECTED MATRIX:") << QString();
    s << GridTextLines(ExpectedGrid);
    SetMemoLines(Memo1, s);
}

// ---- Commands --------------------------------------------------------------------------------

void TChiSquareShell::Summary1Click(TObject *) { SaveSummaryAs(SaveDialog1, Memo1); }

void TChiSquareShell::Close1Click(TObject *) { Close(); }

void TChiSquareShell::Help1Click(TObject *) { Tarvix->RunHelp(); }
