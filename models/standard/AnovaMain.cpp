// The one-way ANOVA test's run and results window.
#include "models/standard/AnovaMain.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/standard/AnovaOpts.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

TAnovaShell *AnovaShell = nullptr;

TAnovaShell::TAnovaShell(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("AnovaShell"));
    SetCaption(QStringLiteral("Tarvix Professional: ANOVA Results"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 640, 520);

    PageControl1 = AddResultPages(this, {{&InputSheet, QStringLiteral("Input Matrix")},
                                         {&SimulationSheet, QStringLiteral("Simulation")},
                                         {&ObservedMeansSheet, QStringLiteral("Observed Means")},
                                         {&SimulatedMeansSheet, QStringLiteral("Simulated Means")},
                                         {&FRatioSheet, QStringLiteral("Pseudo F-Ratio")},
                                         {&SummarySheet, QStringLiteral("Summary")},
                                         {&TimeSheet, QStringLiteral("Time")}});
    AddTwoColumnGrids(this, InputSheet, SimulationSheet, InputGrid, SimulationGrid);
    MeansStringGrid = NewResultGrid(this, ObservedMeansSheet, "MeansStringGrid");
    SimulatedMeansStringGrid = NewResultGrid(this, SimulatedMeansSheet, "SimulatedMeansStringGrid");
    page_ = AddStatisticPage(this, FRatioSheet, QStringLiteral("Observed group variance"), "ObservedVarianceMemo",
                             "FRatioHistogramMemo", "FRatioHistogramMemo2", "FRatioMemo");
    ObservedGroup = page_.ObservedGroup;
    HistogramGroup = page_.HistogramGroup;
    ObservedVarianceMemo = page_.Observed;
    FRatioHistogramMemo = page_.Edges;
    FRatioHistogramMemo2 = page_.Counts;
    FRatioMemo = page_.Block;
    AddSummaryAndTime(this, SummarySheet, TimeSheet, Memo1, TimeMemo);

    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Save1 = AddMenuCommand(this, root, "Save1", QStringLiteral("&Save"));
    SuMmary1 = AddMenuCommand(this, Save1, "SuMmary1", QStringLiteral("Su&mmary"), &TAnovaShell::SuMmary1Click);
    N1 = AddMenuCommand(this, Save1, "N1", QStringLiteral("-"));
    Close1 = AddMenuCommand(this, Save1, "Close1", QStringLiteral("&Close"), &TAnovaShell::Close1Click);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TAnovaShell::Help1Click);
    SetMenu(MainMenu1);
}

// ---- The run ---------------------------------------------------------------------------------

bool TAnovaShell::Init()
{
    if (AnovaOpts->LabelsList->ItemIndex() == AnovaOpts->YvariableList->ItemIndex()) {
        ShowMessage(QStringLiteral("Labels cannot equal YVariable."));
        return false;
    }
    if (!TakeIterations(iterations_)) return false;
    CurrentSeed = SeedFromEdit(AnovaOpts->RandomSeedEdit);
    return true;
}

void TAnovaShell::InitMatrices()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t n = main->RowCount() - 1;
    LabelsList.Clear();
    ValuesList.Clear();
    LabelsList2.Clear();
    yVariableList.assign(static_cast<size_t>(std::max(n, 0)), 0.0);
    labelColumn_ = AnovaOpts->LabelsList->ItemIndex() + 1;
    valueColumn_ = AnovaOpts->YvariableList->ItemIndex() + 1;
    QStringList labels;
    // Each value cell is read once; that number serves every sum.
    for (int32_t r = 1; r <= n; ++r) {
        labels << main->Cells(labelColumn_, r);
        LabelsList.Add(main->Cells(labelColumn_, r));
        ValuesList.Add(main->Cells(valueColumn_, r));
        yVariableList[r - 1] = LeadingReal(main->Cells(valueColumn_, r));
    }
    QStringList distinct;
    GroupLabels(labels, distinct, groupOfLabelRow_);
    for (const QString &l : distinct) LabelsList2.Add(l);
    NumLabels = static_cast<int32_t>(distinct.size());
    IndividualsList.assign(static_cast<size_t>(NumLabels), 0);
    MeansList.assign(static_cast<size_t>(NumLabels), 0.0);
    VariancesList.assign(static_cast<size_t>(NumLabels), 0.0);
    labelRows_.resize(yVariableList.size());
    for (size_t r = 0; r < labelRows_.size(); ++r) labelRows_[r] = static_cast<int32_t>(r);
    groupOfRow_ = groupOfLabelRow_;
    calculator_.Assign(yVariableList, NumLabels);
    GA = calculator_.GrandAverage();
}

void TAnovaShell::ReShuffle() { ShuffleLabels(labelRows_, groupOfRow_); }

void TAnovaShell::Do_ObservedAnova(double &FRatio)
{
    FRatio = calculator_.FRatio(groupOfRow_, IndividualsList, MeansList, VariancesList);
}

void TAnovaShell::Run()
{
    if (!Init()) {
        Tarvix->InterruptFlag = true;
        ShowMessage(QStringLiteral("Initialization failed."));
        return;
    }
    StartProgress(QStringLiteral("ANOVA"));
    Progress->SetCaption(QStringLiteral("Simulating...") + ExtractFileName(Tarvix->FileName));
    Application->ProcessMessages();
    Tarvix->InterruptFlag = false;
    while (TimeMemo->Lines()->Count() < 2) TimeMemo->Lines()->Add(QString());
    TimeMemo->Lines()->SetStrings(1, QStringLiteral("Start time = ") + TimeToStr(Time()));

    InitMatrices();
    Do_ObservedAnova(Observed_F);
    Observed_F_s = FloatToStr75(Observed_F);
    DisplayObserved();

    std::vector<double> ratios(static_cast<size_t>(iterations_));
    const bool saveMatrices = AnovaOpts->SaveMatrixCheckBox->Checked();
    const auto n = static_cast<int32_t>(yVariableList.size());
    const QString labelTitle = AnovaOpts->LabelsList->Text(), valueTitle = AnovaOpts->YvariableList->Text();
    for (int32_t i = 1; i <= iterations_; ++i) {
        if (SimulationInterrupted()) return;
        ReShuffle();
        Do_ObservedAnova(F);
        ratios[static_cast<size_t>(i - 1)] = F;
        Progress->StepIteration();
        if (saveMatrices) {
            TStringList labels;
            for (int32_t r : labelRows_) labels.Add(LabelsList.Get(r));
            // A file that cannot be written is reported by the writer; the run goes on.
            Tarvix->SaveTwoColumnsToFile_Labels(i, n, yVariableList, labels, labelTitle, valueTitle);
        }
    }
    Progress->Flush();
    // The labels in the order the last iteration left.
    {
        TStringList shuffled;
        for (int32_t r : labelRows_) shuffled.Add(LabelsList.Get(r));
        LabelsList.Assign(&shuffled);
        for (size_t r = 0; r < labelRows_.size(); ++r) labelRows_[r] = static_cast<int32_t>(r);
    }

    UnpackResultBlock(RealResultBlock(ratios, iterations_, Observed_F), MFRatios, VFRatios, FRatioP1, FRatioP2,
                      lFRatio, eFRatio, gFRatio, Ses, obsFRatio, hstFRatio, hstFRatio2);
    ShowHistogram(page_, obsFRatio, Observed_F_s, hstFRatio, hstFRatio2);
    StatsToStrings();
    CopyColumnsToGrids(InputGrid, SimulationGrid, labelColumn_, valueColumn_);
    SimulationDisplay();
    DisplayRowTitles(SimulationGrid);
    DisplaySimulated();
    FRatioDisplay();
    SummaryDisplay();
    TimeMemo->Lines()->SetStrings(0, QStringLiteral("Stop time = ") + TimeToStr(Time()));
    PageControl1->SetActivePage(InputSheet);

    FinishResultsRun(this, Memo1, Ses_string, fP1, fP2);
}

// ---- Displays --------------------------------------------------------------------------------

void TAnovaShell::StatsToStrings()
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

void TAnovaShell::groupTable(TStringGrid *Grid)
{
    Grid->SetColCount(4);
    Grid->SetRowCount(NumLabels + 1);
    Grid->SetCells(0, 0, QStringLiteral("Label"));
    Grid->SetCells(1, 0, QStringLiteral("Count"));
    Grid->SetCells(2, 0, QStringLiteral("Mean"));
    Grid->SetCells(3, 0, QStringLiteral("Variance"));
    for (int32_t j = 0; j < NumLabels; ++j) {
        Grid->SetCells(0, j + 1, LabelsList2.Get(j));
        Grid->SetCells(1, j + 1, FloatToStr75(IndividualsList[j]));
        Grid->SetCells(2, j + 1, FloatToStr75(MeansList[j]));
        Grid->SetCells(3, j + 1, FloatToStr75(VariancesList[j]));
    }
}

void TAnovaShell::DisplayObserved() { groupTable(MeansStringGrid); }

void TAnovaShell::DisplaySimulated() { groupTable(SimulatedMeansStringGrid); }

void TAnovaShell::FRatioDisplay()
{
    SetMemoLines(FRatioMemo, ResultLines(QStringLiteral("Observed index = "), Observed_F_s,
                                         QStringLiteral("Mean of simulated indices = "), s_m,
                                         QStringLiteral("Variance of simulated indices = "), s_v, fP1, fP2));
}

void TAnovaShell::SimulationDisplay()
{
    SimulationGrid->SetRowCount(Tarvix->MainGrid->RowCount());
    for (int r = 0; r < LabelsList.Count() && r + 1 < SimulationGrid->RowCount(); ++r) {
        SimulationGrid->SetCells(1, r + 1, LabelsList.Get(r));
        SimulationGrid->SetCells(2, r + 1, ValuesList.Get(r));
    }
}

void TAnovaShell::DisplayRowTitles(TStringGrid *Grid)
{
    for (int r = 0; r < Grid->RowCount() && r < Tarvix->MainGrid->RowCount(); ++r)
        Grid->SetCells(0, r, Tarvix->MainGrid->Cells(0, r));
}

void TAnovaShell::SummaryDisplay()
{
    TProStringGrid *main = Tarvix->MainGrid;
    QStringList s;
    s << QStringLiteral("Input file = ") + Tarvix->FileName;
    s << QStringLiteral("Rows = ") + IntToStr(main->RowCount() - 1) + QStringLiteral("; Columns = ") +
             IntToStr(main->ColCount() - 1);
    s << QStringLiteral("Iterations = ") + its;
    s << QStringLiteral("Random seed = ") + IntToStr(CurrentSeed);
    s << QStringLiteral("Analyzed labels column = ") + AnovaOpts->LabelsList->Text();
    s << QStringLiteral("Analyzed variables column = ") + AnovaOpts->YvariableList->Text();
    s << SummaryRule() << QString() << QStringLiteral("INDEX");
    s << IndexSummaryLines(Observed_F_s, s_m, s_v, fP1, fP2, s_lf, s_ef, s_gf, Ses_string, hstFRatio, hstFRatio2);
    s << SummaryRule() << QString() << QStringLiteral("INPUT MATRIX:") << QString();
    s << GridTextLines(main);
    SetMemoLines(Memo1, s);
}

// ---- Commands --------------------------------------------------------------------------------

void TAnovaShell::SuMmary1Click(TObject *) { SaveSummaryAs(SaveDialog1, Memo1); }

void TAnovaShell::Close1Click(TObject *) { Close(); }

void TAnovaShell::Help1Click(TObject *) { Tarvix->RunHelp(); }
