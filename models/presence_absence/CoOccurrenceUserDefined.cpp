// The weights editor of the co-occurrence options.
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "framework/rtl/Streams.h"
#include "grid/core/ProUtil.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "workspace/TarvixMain.h"

#include <QFile>
#include <QStringList>

TCoOccurrenceUserDefined *CoOccurrenceUserDefined = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");
const QString kDefaultWeight = QStringLiteral("1.0");

void InitWeightsGrid(TStringGrid *G, TForm *Owner, const char *Name)
{
    G->SetName(QLatin1String(Name));
    G->SetParent(Owner);
    G->SetAlign(alClient);
    G->SetColCount(2);
    G->SetFixedCols(0);
    G->SetOptions(G->Options() + goEditing);
}

} // namespace

double LeadingReal(const QString &S)
{
    double v = 0;
    int code = 0;
    Val(S, v, code);
    if (code == 0) return v;
    double part = 0;
    Val(S.left(code - 1), part, code);
    return code == 0 ? part : 0.0;
}

void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid)
{
    TStringList lines;
    lines.SetText(TEncoding::DecodeFileText(Bytes));

    Grid->SetFixedRows(0);
    Grid->SetFixedCols(0);
    Grid->SetRowCount(1);
    Grid->SetColCount(1);
    Grid->SetCells(0, 0, QString());
    if (lines.Count() == 0) return;
    // Names with blanks come quoted from the writer.
    Grid->SetColCount(static_cast<int>(SplitTextCells(lines.Strings(0), u" ").size()));
    Grid->SetRowCount(lines.Count());
    for (int r = 0; r < lines.Count(); ++r) {
        const QStringList cells = SplitTextCells(lines.Strings(r), u" ");
        for (int c = 0; c < cells.size(); ++c) Grid->SetCells(c, r, cells[c]);
    }
}

TCoOccurrenceUserDefined::TCoOccurrenceUserDefined(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("CoOccurrenceUserDefined"));
    SetCaption(QStringLiteral("Tarvix Professional: Co-occurrence user-defined weights"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 330, 420);

    SpeciesWeightsGrid = new TStringGrid(this);
    InitWeightsGrid(SpeciesWeightsGrid, this, "SpeciesWeightsGrid");
    SitesWeightsGrid = new TStringGrid(this);
    InitWeightsGrid(SitesWeightsGrid, this, "SitesWeightsGrid");
    SitesWeightsGrid->SetVisible(false);

    OpenDialog1 = new TOpenDialog(this);
    SaveDialog1 = new TSaveDialog(this);

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    auto add = [&](const char *Name, const QString &Caption, void (TCoOccurrenceUserDefined::*Handler)(TObject *)) {
        return AddMenuCommand(this, root, Name, Caption, Handler);
    };
    OpenWeights1 = add("OpenWeights1", QStringLiteral("&Open weights"), &TCoOccurrenceUserDefined::OpenWeights1Click);
    SaveWeights1 = add("SaveWeights1", QStringLiteral("&Save weights"), &TCoOccurrenceUserDefined::SaveWeights1Click);
    Help1 = add("Help1", QStringLiteral("&Help"), &TCoOccurrenceUserDefined::Help1Click);
    Help1->SetShortCut(ShortCut(VK_F1, TShiftState{}));
    ResetDefaults1 = add("ResetDefaults1", QStringLiteral("Reset &Defaults"), &TCoOccurrenceUserDefined::ResetDefaults1Click);
    UseNewWeights1 = add("UseNewWeights1", QStringLiteral("&Use new weights"), &TCoOccurrenceUserDefined::UseNewWeights1Click);
    SetMenu(MainMenu1);

    if (Tarvix) CurrentFile = Tarvix->FileName;
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

TStringGrid *TCoOccurrenceUserDefined::ActiveGrid() const
{
    return CoOccurrenceOpts && CoOccurrenceOpts->DefineWeights == 1 ? SitesWeightsGrid : SpeciesWeightsGrid;
}

void TCoOccurrenceUserDefined::FormShow(TObject *)
{
    if (FirstTime || Tarvix->FileName != CurrentFile) {
        SetDefaults();
        SetColumns();
        FirstTime = false;
        CurrentFile = Tarvix->FileName;
    }
    const bool sites = ActiveGrid() == SitesWeightsGrid;
    SetCaption(sites ? QStringLiteral("Edit sites weights") : QStringLiteral("Edit species weights"));
    SitesWeightsGrid->SetVisible(sites);
    SpeciesWeightsGrid->SetVisible(!sites);
}

void TCoOccurrenceUserDefined::SetDefaults()
{
    TProStringGrid *main = Tarvix->MainGrid;
    TStringGrid *g = SpeciesWeightsGrid;
    g->SetRowCount(main->RowCount());
    for (int r = 1; r < g->RowCount(); ++r) {
        g->SetCells(1, r, kDefaultWeight);
        g->SetCells(0, r, main->Cells(0, r));
    }
    g->SetCells(0, 0, QStringLiteral("Species"));
    g->SetCells(1, 0, QStringLiteral("Weights"));
    SetCaption(QStringLiteral("Edit species weights"));
}

void TCoOccurrenceUserDefined::SetColumns()
{
    TProStringGrid *main = Tarvix->MainGrid;
    TStringGrid *g = SitesWeightsGrid;
    g->SetRowCount(main->ColCount());
    for (int r = 1; r < g->RowCount(); ++r) {
        g->SetCells(1, r, kDefaultWeight);
        g->SetCells(0, r, main->Cells(r, 0));
    }
    g->SetCells(0, 0, QStringLiteral("Sites"));
    g->SetCells(1, 0, QStringLiteral("Weights"));
    SetCaption(QStringLiteral("Edit site weights"));
}

void TCoOccurrenceUserDefined::OpenWeightsFile(TStringGrid *Grid)
{
    OpenDialog1->SetTitle(QStringLiteral("Select an ASCII file to open."));
    OpenDialog1->SetFilter(kTextFilter);
    OpenDialog1->SetFileName(QString());
    if (!OpenDialog1->Execute()) return;
    const QString name = OpenDialog1->FileName();
    QFile f(name);
    if (!FileExists(name) || !f.open(QIODevice::ReadOnly)) {
        ShowMessage(QStringLiteral("Error opening file."));
        return;
    }
    const QByteArray bytes = f.readAll();
    ReadWeightsTable(bytes, Grid);
    for (TStringGrid *g : {SpeciesWeightsGrid, SitesWeightsGrid}) {
        g->SetFixedCols(0);
        if (g->RowCount() > 1) g->SetFixedRows(1);
    }

    TProStringGrid *main = Tarvix->MainGrid;
    // A table of another length cannot be matched to the data by position. It goes back to the
    // two columns of the default table, so no cells of the refused file stay in view.
    if (Grid == SitesWeightsGrid) {
        if (Grid->RowCount() != main->ColCount()) {
            ShowMessage(QStringLiteral("Weights row count must = MainGrid col count."));
            Grid->SetColCount(2);
            SetColumns();
        }
    } else if (Grid->RowCount() != main->RowCount()) {
        ShowMessage(QStringLiteral("Weights row count must = MainGrid row count."));
        Grid->SetColCount(2);
        SetDefaults();
    }
    if (Grid->RowCount() > 1) Grid->SetFixedRows(1);
}

void TCoOccurrenceUserDefined::SaveWeightsFile(TStringGrid *Grid)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFilterIndex(1);
    SaveDialog1->SetFileName(QStringLiteral("weights.txt"));
    if (!SaveDialog1->Execute()) return;
    try {
        Tarvix->SaveGridToFile(Grid, SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

bool TCoOccurrenceUserDefined::TestUserDefined(TStringGrid *Grid)
{
    for (int r = 1; r < Grid->RowCount(); ++r)
        if (!(LeadingReal(Grid->Cells(1, r)) > 0)) {
            ShowMessage(QStringLiteral("Weights must be > 0 \r\nerror row: ") + IntToStr(r));
            return false;
        }
    return true;
}

void TCoOccurrenceUserDefined::OpenWeights1Click(TObject *) { OpenWeightsFile(ActiveGrid()); }

void TCoOccurrenceUserDefined::SaveWeights1Click(TObject *) { SaveWeightsFile(ActiveGrid()); }

void TCoOccurrenceUserDefined::Help1Click(TObject *)
{
    try {
        Tarvix->RunHelp();
    } catch (const Exception &) {
    }
}

void TCoOccurrenceUserDefined::ResetDefaults1Click(TObject *)
{
    if (ActiveGrid() == SitesWeightsGrid) SetColumns();
    else SetDefaults();
}

void TCoOccurrenceUserDefined::UseNewWeights1Click(TObject *)
{
    if (TestUserDefined(ActiveGrid())) Close();
}
