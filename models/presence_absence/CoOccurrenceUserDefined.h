#pragma once
// The weights editor of the user-defined row and column constraints: one weight per species and
// one per site, edited in two tables and kept in weights files ("weights.txt").
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/grids/Grids.h"
#include "workspace/MenuCommands.h"

#include <QByteArray>
#include <QString>

class TCoOccurrenceUserDefined : public TForm
{
public:
    explicit TCoOccurrenceUserDefined(TComponent *AOwner);

    TStringGrid *SpeciesWeightsGrid;
    TStringGrid *SitesWeightsGrid;
    TMainMenu *MainMenu1;
    TMenuItem *OpenWeights1, *SaveWeights1, *Help1, *ResetDefaults1, *UseNewWeights1;
    TOpenDialog *OpenDialog1;
    TSaveDialog *SaveDialog1;

    // The tables are rebuilt on the first show and whenever the data file changed since.
    bool FirstTime = true;
    QString CurrentFile;

    void FormShow(TObject *Sender);
    void OpenWeights1Click(TObject *Sender);
    void SaveWeights1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void ResetDefaults1Click(TObject *Sender);
    void UseNewWeights1Click(TObject *Sender);

    // Species table with "1.0" weights and the main grid's species names.
    void SetDefaults();
    // Site table with "1.0" weights and the main grid's site names.
    void SetColumns();
    void OpenWeightsFile(TStringGrid *Grid);
    void SaveWeightsFile(TStringGrid *Grid);
    // True when every weight of rows 1.. is > 0; otherwise names the first bad row and fails.
    bool TestUserDefined(TStringGrid *Grid);
    // The table the options dialog asked for.
    TStringGrid *ActiveGrid() const;
};

// Fills Grid from the bytes of a weights file: cells split at single spaces, rows at CR LF, LF
// or CR; a last line without a line end is a row like the others.
void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid);
// The real at the start of a text: the whole text when it is a number, else the longest leading
// part that is one (sign kept), else 0.
double LeadingReal(const QString &S);

extern TCoOccurrenceUserDefined *CoOccurrenceUserDefined;
