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
#include <cstdint>

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
    // "Error writing file." and leaves an existing file as it was.
    void SaveGridToFile(TStringGrid *Grid, const QString &F_Name);
    void SaveGridToFileComma(TStringGrid *Grid, const QString &F_Name);
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
};

// The integer at the start of an option field: leading blanks and a sign accepted, reading
// stops at the first non-digit, no digits give 0; a number beyond 32 bits raises EConvertError.
int32_t LeadingInt(const QString &S);

extern TTarvix *Tarvix;
