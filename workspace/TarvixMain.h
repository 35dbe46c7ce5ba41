#pragma once
// The main window: the data matrix, the menus and the run state every analysis reads and writes.
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "grid/core/ProGrid.h"
#include "workspace/TarvixTypes.h"
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

// ---- Analyze menu: the seam to the analyses ----
// The analyses the Analyze menu starts; Co-occurrence and Range Overlap share one.
enum TAnalysisKind {
    akCoOccurrence, akGuildStructure, akMacroecology, akNicheOverlap, akSizeOverlap, akSpeciesOverlap,
    akSpeciesDiversity, akAnova, akRegression, akRunsTest, akChiSquare, akAnalysisCount
};

// What an Analyze command needs of its analysis: the options dialog and its three fields, and
// the results form's Run. Empty until the analysis is linked; the command of an empty one does
// nothing.
struct TAnalysisLink
{
    std::function<TForm *()> Opts;
    std::function<QString()> IterationsText;
    std::function<QString()> RandomSeedText;
    std::function<bool()> SaveMatrix;
    std::function<void()> Run;
    // Chi-square only.
    std::function<bool()> CalculateExpectedMatrix;
    std::function<TStringGrid *()> ExpectedGrid;
};

// Links an options dialog and a results form through their global variables, which are read
// at each command, so the link may be made before the forms exist.
template <typename TOpts, typename TResults>
TAnalysisLink LinkAnalysis(TOpts *&Opts, TResults *&Results)
{
    TAnalysisLink l;
    l.Opts = [&Opts]() -> TForm * { return Opts; };
    l.IterationsText = [&Opts] { return Opts->IterationsEdit->Text(); };
    l.RandomSeedText = [&Opts] { return Opts->RandomSeedEdit->Text(); };
    l.SaveMatrix = [&Opts] { return Opts->SaveMatrixCheckBox->Checked(); };
    l.Run = [&Results] {
        if (Results)
            Results->Run();
    };
    if constexpr (requires { Opts->CalculateExpectedMatrix(); }) {
        l.CalculateExpectedMatrix = [&Opts] { return Opts->CalculateExpectedMatrix(); };
        l.ExpectedGrid = [&Opts]() -> TStringGrid * { return Opts->ExpectedGrid; };
    }
    return l;
}

class TTarvix : public TForm
{
public:
    explicit TTarvix(TComponent *AOwner);

    // Components
    TProStringGrid *MainGrid;
    TGroupBox *BatchGroupBox;
    TMemo *Memo1;
    TGroupBox *BatchSummaryBox;
    TStringGrid *BatchGrid;
    TOpenDialog *OpenDialog1;
    TSaveDialog *SaveDialog1;
    TMainMenu *MainMenu1;

    // Menu items
    TMenuItem *File1, *New1, *Open1, *Spacedelimitedtext1, *Commadelimitedtxt1, *eXcelxls1;
    TMenuItem *Save1, *Spacedelimitedtxt1, *Commadelimitedtxt2, *Excelxls2;
    TMenuItem *S1, *Space1, *Commadelimitedtxt3, *Excelxls3;
    TMenuItem *Close1, *E1, *About2, *Batch1, *Changedirectory1, *Exit1;
    TMenuItem *Edit1, *LockRowTitles, *LockColumnTitles, *RestructMatrix, *Transformmatrix1;
    TMenuItem *Randomizematrix1, *N011, *N01, *N1X1001;
    TMenuItem *Analyze1, *CoOccurrence1, *N7GuildStructure1, *Macroecology1, *NicheOverlap1;
    TMenuItem *N5RangeOverlap1, *SizeOverlap1, *SpeciesOverlap1, *SpeciesDiversity1;
    TMenuItem *N6Standardtests1, *Anova1, *ChiSquare1, *regression1, *RunsTest1;
    TMenuItem *Help1, *Helptopics1, *About1;

    // Run state
    int32_t RangeCoOccurrence = 0;
    int32_t Unique = 0;
    bool Flag = false;
    bool BatchSwitch = false;
    int32_t BatchFileCount = 0;
    int32_t SavedBatchFileCount = 0;
    bool Checked = false;
    QString FileName;
    bool InterruptFlag = false;
    int32_t Iterations = 0;
    int32_t RandomSeed = 0;
    int32_t Process = 0;
    bool RunSim = false;
    bool UserDefined = false;
    QString SpeciesPool;
    TInfoMat info_Mat{};
    int32_t NonZeroRows = 0;
    int32_t RowError = 0;
    QString HomeDir;
    QString CurrentDir;

    // Window events
    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void FormCloseQuery(TObject *Sender, bool &CanClose);
    void Exit1Click(TObject *Sender);
    void Helptopics1Click(TObject *Sender);
    void About1Click(TObject *Sender);
    // Opens the help file from HomeDir; every window's Help command comes here.
    void RunHelp();

    // Matrix commands
    void New1Click(TObject *Sender);
    void Close1Click(TObject *Sender);
    void LockRowColumn();
    void LockRowTitlesClick(TObject *Sender);
    void LockColumnTitlesClick(TObject *Sender);
    void RestructMatrixClick(TObject *Sender);
    void About2Click(TObject *Sender);
    void RestructureGrid(int32_t Old_Cols, int32_t Old_Rows, int32_t New_Cols, int32_t New_Rows);
    void Transformmatrix1Click(TObject *Sender);
    void TransformMatrix(TStringGrid *Grid);
    void N011Click(TObject *Sender);
    void N01Click(TObject *Sender);
    void N1X1001Click(TObject *Sender);

    // Batch summary table
    void BuildBatchSummaryFirstRow();

    // ---- Matrix text files ----
    // Write any string grid as text, one line per row, replacing the file; a failure shows
    // "Error writing file." and leaves an existing file as it was; the result says whether it
    // was written.
    bool SaveGridToFile(TStringGrid *Grid, const QString &F_Name);
    bool SaveGridToFileComma(TStringGrid *Grid, const QString &F_Name);
    // Loads FileName into MainGrid for batch mode; Flag tells whether any line was read.
    void OpenBatchFile();
    void Spacedelimitedtext1Click(TObject *Sender);
    void Commadelimitedtxt1Click(TObject *Sender);
    void Spacedelimitedtxt1Click(TObject *Sender);
    void Space1Click(TObject *Sender);
    void Save3Click(TObject *Sender);
    void Commadelimitedtxt2Click(TObject *Sender);
    void Commadelimitedtxt3Click(TObject *Sender);

private:
    void buildMenus();
    // The default 6 x 6 matrix; Random fills the data cells with 0/1, otherwise with "0".
    void defaultMatrix(bool Random);
    void showFileCaption();
    // Writes Value() into every data cell, row by row.
    template <typename F>
    void fillDataCells(F &&Value);

    // ---- Analyze menu and batch mode ----
public:
    std::array<TAnalysisLink, akAnalysisCount> Analyses;
    // Hangs the Analyze and batch commands on their menu items. The analyses fill Analyses from
    // the program block (LinkAnalyses in app/), where their forms are created.
    void LinkCommands();
    void CoOccurrence1Click(TObject *Sender);
    void N7GuildStructure1Click(TObject *Sender);
    void Macroecology1Click(TObject *Sender);
    void NicheOverlap1Click(TObject *Sender);
    void N5RangeOverlap1Click(TObject *Sender);
    void SizeOverlap1Click(TObject *Sender);
    void SpeciesOverlap1Click(TObject *Sender);
    void SpeciesDiversity1Click(TObject *Sender);
    void Anova1Click(TObject *Sender);
    void ChiSquare1Click(TObject *Sender);
    void regression1Click(TObject *Sender);
    void RunsTest1Click(TObject *Sender);
    void Batch1Click(TObject *Sender);
    void Changedirectory1Click(TObject *Sender);
    void SetUpBatch();
    void ClearBatchGrid();
    void BuildBatchSummaryFile(const QString &FName, const QString &Ses, const QString &fP1, const QString &fP2);
    bool SaveBatchSummary(TMemo *M);
    // True from the start of an Analyze command to its end.
    bool AnalysisRunning() const { return running_; }
    // A close confirmed while an analysis runs asks it to stop and closes once it has.
    void DeferCloseUntilRunEnds(bool &CanClose);

    // ---- Simulated-matrix files ----
    // "Sim<Sim>.txt", or "Sim<Sim>_<Subset>.txt", in the working directory. The grid and column
    // writers report a failure once, stop the run and skip further saves of the run (false);
    // the matrix writers raise to the analysis.
    bool SaveSimulation(int32_t Sim, int32_t Subset, TStringGrid *StringGrid);
    void SaveSimulation_2(int32_t Sim, int32_t Subset, const Matrix &F_Mat);
    void SaveSimulation_3(int32_t Sim, int32_t Subset, const Real_Matrix &F_Mat);
    void SaveSimulation_4(int32_t Sim, int32_t Subset, const Matrix &F_Mat);
    bool SaveNumberLineToFile(int32_t Sim, int32_t Count, std::span<const double> Values);
    bool SaveTwoColumnsToFile(int32_t Sim, int32_t Count, std::span<const double> First, std::span<const double> Second,
                              const QString &FirstTitle, const QString &SecondTitle);
    bool SaveTwoColumnsToFile_Real_Integer(int32_t Sim, int32_t Count, std::span<const double> First,
                                           std::span<const int32_t> Second, const QString &FirstTitle,
                                           const QString &SecondTitle);
    bool SaveTwoColumnsToFile_Labels(int32_t Sim, int32_t Count, std::span<const double> Values, const TStrings &Labels,
                                     const QString &FirstTitle, const QString &SecondTitle);

private:
    friend class TAnalysisRun;
    struct TAnalyzeSteps;
    void analyze(TAnalysisKind Kind, const TAnalyzeSteps &Steps);
    void readOptions(const TAnalysisLink &Link, bool TakeChecked);
    // Reads the next file of the batch list into MainGrid; false ends the batch.
    bool nextBatchFile();
    // Builds the chi-square dialog's expected matrix from MainGrid (unless Calculate is false)
    // and checks it.
    bool expectedMatrixReady(const TAnalysisLink &Link, bool Calculate = true);
    bool batchMatrixRead();
    void chiSquare(const TAnalysisLink &Link);
    bool saveColumns(int32_t Sim, const QStringList &Lines);
    bool running_ = false;
    bool closeAfterRun_ = false;
    bool simSaveFailed_ = false;
};

// The integer at the start of an option field: leading blanks and a sign accepted, reading
// stops at the first non-digit, no digits give 0; a number beyond 32 bits raises EConvertError.
int32_t LeadingInt(const QString &S);

extern TTarvix *Tarvix;
