#pragma once
// The species pool of the "Histogram" size source: the editor of its table (one row per pool
// species: name, size, colonization weight), its file ("histogram.txt"), and the dialog that sets
// the size of the pool. The pool size travels in the main window's SpeciesPool (text).
#include "framework/controls/Dialogs.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"

#include <QString>

class TSizeOverLapUD3 : public TForm
{
public:
    explicit TSizeOverLapUD3(TComponent *AOwner);

    TStringGrid *SpeciesHistogramGrid;
    TPanel *Panel2;
    TLabel *Label1;
    TLabel *SpeciesPoolLabel;
    TButton *Button1;
    TMainMenu *MainMenu1;
    TMenuItem *File1, *Open1, *Save1, *Help1, *Usehistogram1, *ResetDefaults1;
    TOpenDialog *OpenDialog1;
    TSaveDialog *SaveDialog1;

    // The table is rebuilt from the data on the first show and whenever the data file changed.
    bool FirstTime = true;
    QString CurrentFile;

    void FormShow(TObject *Sender);
    void Button1Click(TObject *Sender);
    void Open1Click(TObject *Sender);
    void Save1Click(TObject *Sender);
    void Usehistogram1Click(TObject *Sender);
    void ResetDefaults1Click(TObject *Sender);

    // One row per species of the main grid: its name, its size in the analysed column, weight "1.0".
    void SetDefaults();
    // The table resized to the pool size; new rows are empty.
    void SetNew();
    // Reads a histogram file chosen in the open dialog into the table; false when nothing was read.
    bool OpenHistogramFile();
    // True when the table has at least as many rows as the main grid.
    bool Testfile();
    void SaveHistogramFile();
};

class TSizeOverLapUD4 : public TForm
{
public:
    explicit TSizeOverLapUD4(TComponent *AOwner);

    TLabel *Label1;
    TEdit *SpeciesEdit;
    TButton *OKButton, *CancelButton;

    void FormShow(TObject *Sender);
    void OKButtonClick(TObject *Sender);
    void CancelButtonClick(TObject *Sender);
};

// The histogram table's sizes (column 1) and colonization weights (column 2), rows 1.., read with
// the real parse; empty when the editor does not exist.
void SizeHistogramTable(std::vector<double> &Sizes, std::vector<double> &Weights);

extern TSizeOverLapUD3 *SizeOverLapUD3;
extern TSizeOverLapUD4 *SizeOverLapUD4;
