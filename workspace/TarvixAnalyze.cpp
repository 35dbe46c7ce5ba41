// The Analyze menu: every analysis is started the same way, once or once per file of the batch
// list; batch mode on and off, and the batch summary table with its files.
#include "framework/controls/Messages.h"
#include "framework/rtl/SysUtils.h"
#include "workspace/ChangeDirectory.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

namespace {

const QString kExpectedGridError = QStringLiteral("Expected Grid 0 error: ");

}  // namespace

// Keeps the commands that could pull the matrix or the run state from under a running analysis
// out of reach while it runs; a close asked for meanwhile follows once it has stopped.
class TAnalysisRun
{
public:
    explicit TAnalysisRun(TTarvix &T) : t_(T)
    {
        t_.running_ = true;
        for (size_t i = 0; i < menus_.size(); ++i) {
            menus_[i] = {items()[i], items()[i]->Enabled()};
            items()[i]->SetEnabled(false);
        }
    }

    ~TAnalysisRun()
    {
        for (const auto &[item, enabled] : menus_)
            item->SetEnabled(enabled);
        t_.running_ = false;
        if (t_.closeAfterRun_)
            PostMessage(t_.Handle(), WM_CLOSE);
    }

    TAnalysisRun(const TAnalysisRun &) = delete;
    TAnalysisRun &operator=(const TAnalysisRun &) = delete;

private:
    std::array<TMenuItem *, 3> items() const { return {t_.File1, t_.Edit1, t_.Analyze1}; }

    TTarvix &t_;
    std::array<std::pair<TMenuItem *, bool>, 3> menus_{};
};

struct TTarvix::TAnalyzeSteps
{
    bool ClearSummary = true;
    bool TakeChecked = true;
    bool ResetCountAfterDialog = false;
    bool BringForward = true;
    std::function<void()> Prepare{};
    // Per-file check in batch mode; clears Flag to end the batch.
    std::function<void()> FileCheck{};
};

void TTarvix::LinkCommands()
{
    const std::pair<TMenuItem *, void (TTarvix::*)(TObject *)> commands[] = {
        {CoOccurrence1, &TTarvix::CoOccurrence1Click},   {N7GuildStructure1, &TTarvix::N7GuildStructure1Click},
        {Macroecology1, &TTarvix::Macroecology1Click},   {NicheOverlap1, &TTarvix::NicheOverlap1Click},
        {N5RangeOverlap1, &TTarvix::N5RangeOverlap1Click}, {SizeOverlap1, &TTarvix::SizeOverlap1Click},
        {SpeciesOverlap1, &TTarvix::SpeciesOverlap1Click}, {SpeciesDiversity1, &TTarvix::SpeciesDiversity1Click},
        {Anova1, &TTarvix::Anova1Click},                 {ChiSquare1, &TTarvix::ChiSquare1Click},
        {regression1, &TTarvix::regression1Click},       {RunsTest1, &TTarvix::RunsTest1Click},
        {Batch1, &TTarvix::Batch1Click},                 {Changedirectory1, &TTarvix::Changedirectory1Click},
    };
    // No structured binding in the capture: clang before 16 cannot capture one.
    for (const auto &command : commands) {
        const auto handler = command.second;
        command.first->OnClick = [this, handler](TObject *Sender) { (this->*handler)(Sender); };
    }
}

void TTarvix::DeferCloseUntilRunEnds(bool &CanClose)
{
    if (!CanClose || !running_)
        return;
    InterruptFlag = true;
    closeAfterRun_ = true;
    CanClose = false;
}

void TTarvix::readOptions(const TAnalysisLink &Link, bool TakeChecked)
{
    Iterations = LeadingInt(Link.IterationsText());
    RandomSeed = LeadingInt(Link.RandomSeedText());
    if (TakeChecked)
        Checked = Link.SaveMatrix();
    Flag = true;
}

bool TTarvix::nextBatchFile()
{
    TStrings *lines = Memo1->Lines();
    const QString line = BatchFileCount < lines->Count() ? lines->Get(BatchFileCount) : QString();
    FileName = line.isEmpty() ? QString() : ExpandFileName(line);
    if (FileName.isEmpty()) {
        Flag = false;
        return false;
    }
    OpenBatchFile();
    ++BatchFileCount;
    return batchMatrixRead();
}

// A file the reader refused for its counts holds no matrix to analyse.
bool TTarvix::batchMatrixRead()
{
    if (MainGrid->RowCount() < 2 || MainGrid->ColCount() < 2)
        Flag = false;
    return Flag;
}

void TTarvix::analyze(TAnalysisKind Kind, const TAnalyzeSteps &Steps)
{
    const TAnalysisLink &link = Analyses[Kind];
    if (running_ || !link.Opts || !link.Opts())
        return;
    TAnalysisRun run(*this);
    if (Steps.ClearSummary)
        ClearBatchGrid();
    BatchFileCount = 0;
    InterruptFlag = false;
    RunSim = false;
    Flag = false;
    simSaveFailed_ = false;
    if (Steps.Prepare)
        Steps.Prepare();
    link.Opts()->ShowModal();
    if (Steps.ResetCountAfterDialog)
        BatchFileCount = 0;
    if (RunSim)
        readOptions(link, Steps.TakeChecked);
    if (!BatchSwitch) {
        if (Flag)
            link.Run();
    } else {
        while (Flag && !InterruptFlag) {
            if (!nextBatchFile())
                break;
            if (Steps.FileCheck)
                Steps.FileCheck();
            if (Flag)
                link.Run();
        }
    }
    if (Steps.BringForward)
        BringToFront();
}

void TTarvix::CoOccurrence1Click(TObject *)
{
    analyze(akCoOccurrence, {.BringForward = false, .Prepare = [this] {
                                 RangeCoOccurrence = 0;
                                 Analyses[akCoOccurrence].Opts()->SetCaption(
                                     QStringLiteral("Tarvix Professional: Co-occurrence Options"));
                             }});
}

void TTarvix::N5RangeOverlap1Click(TObject *)
{
    analyze(akCoOccurrence, {.BringForward = false, .Prepare = [this] {
                                 RangeCoOccurrence = 1;
                                 Analyses[akCoOccurrence].Opts()->SetCaption(
                                     QStringLiteral("Tarvix Professional: Range Overlap Options"));
                             }});
}

void TTarvix::N7GuildStructure1Click(TObject *) { analyze(akGuildStructure, {}); }

void TTarvix::Macroecology1Click(TObject *) { analyze(akMacroecology, {}); }

void TTarvix::NicheOverlap1Click(TObject *) { analyze(akNicheOverlap, {}); }

void TTarvix::SizeOverlap1Click(TObject *)
{
    analyze(akSizeOverlap, {.ResetCountAfterDialog = true,
                            .Prepare = [this] { SpeciesPool = IntToStr(MainGrid->RowCount() - 1); }});
}

void TTarvix::SpeciesOverlap1Click(TObject *) { analyze(akSpeciesOverlap, {}); }

void TTarvix::SpeciesDiversity1Click(TObject *)
{
    analyze(akSpeciesDiversity, {.ClearSummary = false, .TakeChecked = false, .FileCheck = [this] {
                                     if (!CheckDiversityLimits()) {
                                         ShowMessage(QStringLiteral("File error: ") + FileName);
                                         Flag = false;
                                     }
                                 }});
}

void TTarvix::Anova1Click(TObject *) { analyze(akAnova, {}); }

void TTarvix::regression1Click(TObject *) { analyze(akRegression, {}); }

void TTarvix::RunsTest1Click(TObject *) { analyze(akRunsTest, {.ResetCountAfterDialog = true}); }

// The expected matrix of the options dialog, built from MainGrid and checked.
bool TTarvix::expectedMatrixReady(const TAnalysisLink &Link, bool Calculate)
{
    if (Calculate && !Link.CalculateExpectedMatrix())
        return false;
    try {
        return CheckPositiveReals(Link.ExpectedGrid());
    } catch (const EConvertError &) {
        return false;
    }
}

void TTarvix::ChiSquare1Click(TObject *)
{
    const TAnalysisLink &link = Analyses[akChiSquare];
    if (running_ || !link.Opts || !link.Opts() || !link.CalculateExpectedMatrix)
        return;
    TAnalysisRun run(*this);
    chiSquare(link);
}

void TTarvix::chiSquare(const TAnalysisLink &Link)
{
    ClearBatchGrid();
    BatchFileCount = 0;
    InterruptFlag = false;
    RunSim = false;
    simSaveFailed_ = false;
    // The dialog shows the expected matrix of the first file, so that one is read before it.
    if (BatchSwitch) {
        TStrings *lines = Memo1->Lines();
        FileName = lines->Count() > 0 ? lines->Get(0) : QString();
        if (FileName.isEmpty()) {
            Flag = false;
            return;
        }
        OpenBatchFile();
        if (!batchMatrixRead())
            return;
    }
    if (!expectedMatrixReady(Link)) {
        ShowMessage(kExpectedGridError);
        Flag = false;
        return;
    }
    Flag = false;
    Link.Opts()->ShowModal();
    if (RunSim)
        readOptions(Link, true);
    if (!BatchSwitch) {
        if (Flag) {
            if (expectedMatrixReady(Link, false)) {
                Link.Run();
            } else {
                ShowMessage(kExpectedGridError);
                Flag = false;
            }
        }
        BringToFront();
        return;
    }
    while (Flag && !InterruptFlag) {
        if (!nextBatchFile())
            break;
        if (!CheckPositiveIntegers(MainGrid)) {
            ShowMessage(QStringLiteral("File 0 error: ") + FileName);
            Flag = false;
        }
        if (!Flag)
            break;
        if (!expectedMatrixReady(Link)) {
            ShowMessage(kExpectedGridError);
            Flag = false;
            break;
        }
        Link.Run();
    }
    BringToFront();
}

// ---- Batch mode ----

void TTarvix::Batch1Click(TObject *)
{
    const bool on = !Batch1->Checked();
    Batch1->SetChecked(on);
    if (on) {
        BatchSwitch = true;
        CurrentDir = GetCurrentDir();
        SetCaption(QStringLiteral("Tarvix Professional Batch file processing...") + CurrentDir);
        BatchGroupBox->SetVisible(true);
        Memo1->SetVisible(true);
        Changedirectory1->SetVisible(true);
        MainGrid->SetVisible(false);
        BatchSummaryBox->SetVisible(true);
        ClearBatchGrid();
        BatchGrid->SetVisible(true);
    } else {
        BatchFileCount = 0;
        SavedBatchFileCount = 0;
        BatchSwitch = false;
        MainGrid->SetVisible(true);
        BatchSummaryBox->SetVisible(false);
        BatchGrid->SetVisible(false);
        ClearBatchGrid();
        BatchGroupBox->SetVisible(false);
        Memo1->SetVisible(false);
        Changedirectory1->SetVisible(false);
        RestructMatrix->SetEnabled(true);
    }
    for (TMenuItem *item : {New1, Open1, Close1, Save1, About2, Edit1})
        item->SetEnabled(!on);
    if (on) {
        SetUpBatch();
    } else {
        New1Click(this);
        SetCaption(QStringLiteral("Tarvix Professional ") + FileName);
    }
}

void TTarvix::SetUpBatch()
{
    Memo1->Lines()->Clear();
    CurrentDir = IncludeTrailingPathDelimiter(GetCurrentDir()) + QStringLiteral("*.txt");
    TSearchRec rec;
    TStrings *lines = Memo1->Lines();
    lines->BeginUpdate();
    for (int found = FindFirst(CurrentDir, faAnyFile, rec); found == 0; found = FindNext(rec))
        lines->Add(rec.Name);
    FindClose(rec);
    lines->EndUpdate();
}

void TTarvix::Changedirectory1Click(TObject *)
{
    if (ChangeDirectory)
        ChangeDirectory->ShowModal();
    CurrentDir = GetCurrentDir();
    SetCaption(QStringLiteral("Tarvix Professional Batch processing...") + CurrentDir);
    SetUpBatch();
}

// ---- Batch summary ----

void TTarvix::ClearBatchGrid()
{
    // Cells past a lowered row count stay in the grid's store; empty them so no old row
    // comes back when the table grows again.
    for (int r = 1; r < BatchGrid->RowCount(); ++r)
        for (int c = 0; c < BatchGrid->ColCount(); ++c)
            BatchGrid->SetCells(c, r, QString());
    BatchGrid->SetRowCount(1);
    BuildBatchSummaryFirstRow();
}

void TTarvix::BuildBatchSummaryFile(const QString &FName, const QString &Ses, const QString &fP1, const QString &fP2)
{
    const int r = BatchGrid->RowCount();
    BatchGrid->SetRowCount(r + 1);
    BatchGrid->SetCells(0, r, ExtractFileName(FName));
    BatchGrid->SetCells(1, r, Ses);
    BatchGrid->SetCells(2, r, fP1);
    BatchGrid->SetCells(3, r, fP2);
}

bool TTarvix::SaveBatchSummary(TMemo *M)
{
    const QString failed = QStringLiteral("Error saving batch summary...Aborting.");
    try {
        M->Lines()->SaveToFile(QStringLiteral("Summary") + ExtractFileName(FileName));
    } catch (const Exception &) {
        ShowMessage(failed);
        return false;
    }
    bool written = false;
    try {
        written = SaveGridToFile(BatchGrid, QStringLiteral("BatchSummary.txt"));
    } catch (const Exception &) {
    }
    if (!written)
        ShowMessage(failed);
    return written;
}
