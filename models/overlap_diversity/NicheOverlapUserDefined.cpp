// The niche overlap weights dialog.
#include "models/overlap_diversity/NicheOverlapUserDefined.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/SysUtils.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"
#include "workspace/WeightsTable.h"

#include <QFile>
#include <QSaveFile>

TNicheOverlapUserDefined *NicheOverlapUserDefined = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");

} // namespace

TNicheOverlapUserDefined::TNicheOverlapUserDefined(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("NicheOverlapUserDefined"));
    SetCaption(QStringLiteral("Tarvix Professional: Niche Overlap user-defined weights"));
    SetPosition(poScreenCenter);
    // Wide enough for the whole menu bar.
    SetBounds(0, 0, 480, 420);

    SitesWeightsGrid = new TStringGrid(this);
    SitesWeightsGrid->SetName(QStringLiteral("SitesWeightsGrid"));
    SitesWeightsGrid->SetParent(this);
    SitesWeightsGrid->SetAlign(alClient);
    SitesWeightsGrid->SetColCount(2);
    SitesWeightsGrid->SetFixedCols(0);
    SitesWeightsGrid->SetOptions(SitesWeightsGrid->Options() + goEditing);

    OpenDialog1 = new TOpenDialog(this);
    SaveDialog1 = new TSaveDialog(this);

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    auto add = [&](const char *Name, const QString &Caption, void (TNicheOverlapUserDefined::*Handler)(TObject *)) {
        return AddMenuCommand(this, root, Name, Caption, Handler);
    };
    OpenWeights1 = add("OpenWeights1", QStringLiteral("&Open weights"), &TNicheOverlapUserDefined::OpenWeights1Click);
    SaveWeights1 = add("SaveWeights1", QStringLiteral("&Save weights"), &TNicheOverlapUserDefined::SaveWeights1Click);
    Help1 = add("Help1", QStringLiteral("&Help"), &TNicheOverlapUserDefined::Help1Click);
    Help1->SetShortCut(ShortCut(VK_F1, TShiftState{}));
    ResetDefaults1 =
        add("ResetDefaults1", QStringLiteral("Reset &Defaults"), &TNicheOverlapUserDefined::ResetDefaults1Click);
    UseNewWeights1 =
        add("UseNewWeights1", QStringLiteral("&Use new weights"), &TNicheOverlapUserDefined::UseNewWeights1Click);
    SetMenu(MainMenu1);

    if (Tarvix) CurrentFile = Tarvix->FileName;
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TNicheOverlapUserDefined::FormShow(TObject *)
{
    if (FirstTime || Tarvix->FileName != CurrentFile) {
        SetColumns();
        FirstTime = false;
        CurrentFile = Tarvix->FileName;
    }
    SetCaption(QStringLiteral("Edit sites weights"));
}

void TNicheOverlapUserDefined::SetColumns()
{
    TProStringGrid *main = Tarvix->MainGrid;
    TStringGrid *g = SitesWeightsGrid;
    g->SetRowCount(main->ColCount());
    for (int r = 1; r < g->RowCount(); ++r) {
        g->SetCells(1, r, QStringLiteral("1.0"));
        g->SetCells(0, r, main->Cells(r, 0));
    }
    g->SetCells(0, 0, QStringLiteral("Sites"));
    g->SetCells(1, 0, QStringLiteral("Weights"));
    if (g->RowCount() > 1) g->SetFixedRows(1);
}

std::vector<double> TNicheOverlapUserDefined::Weights() const
{
    std::vector<double> w;
    for (int r = 1; r < SitesWeightsGrid->RowCount(); ++r) w.push_back(LeadingReal(SitesWeightsGrid->Cells(1, r)));
    return w;
}

void TNicheOverlapUserDefined::OpenWeightsFile()
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
    TStringGrid *g = SitesWeightsGrid;
    ReadWeightsTable(f.readAll(), g);
    // This dialog ends every line with a space: the empty cells after it are no column of the
    // table, or each save and open would add one.
    const auto lastColumnEmpty = [g] {
        for (int r = 0; r < g->RowCount(); ++r)
            if (!g->Cells(g->ColCount() - 1, r).isEmpty()) return false;
        return true;
    };
    if (g->ColCount() > 2 && lastColumnEmpty()) g->SetColCount(g->ColCount() - 1);
    TProStringGrid *main = Tarvix->MainGrid;
    // Weights are matched to the resource states by position only.
    if (g->RowCount() != main->ColCount()) {
        ShowMessage(QStringLiteral("Weights row count must = MainGrid col count."));
        // The two columns of the default table, so that no cell of the refused file stays in view.
        g->SetColCount(2);
        SetColumns();
    }
    if (g->ColCount() > 1) g->SetFixedCols(1);
    if (g->RowCount() > 1) g->SetFixedRows(1);
}

bool TNicheOverlapUserDefined::SaveWeightsFile()
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFilterIndex(1);
    SaveDialog1->SetFileName(QStringLiteral("weights.txt"));
    if (!SaveDialog1->Execute()) return false;
    try {
        QByteArray text;
        for (int r = 0; r < SitesWeightsGrid->RowCount(); ++r) {
            for (int c = 0; c < SitesWeightsGrid->ColCount(); ++c)
                text += StringToAnsi(SitesWeightsGrid->Cells(c, r)) + ' ';
            text += "\r\n";
        }
        // The old file stays until the new one is complete.
        QSaveFile f(SaveDialog1->FileName());
        if (f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && f.write(text) == text.size() &&
            f.error() == QFileDevice::NoError && f.commit())
            return true;
        ShowMessage(QStringLiteral("Error writing file."));
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
    return false;
}

bool TNicheOverlapUserDefined::TestUserDefined() { return CheckWeightsTable(SitesWeightsGrid); }

void TNicheOverlapUserDefined::OpenWeights1Click(TObject *) { OpenWeightsFile(); }

void TNicheOverlapUserDefined::SaveWeights1Click(TObject *) { SaveWeightsFile(); }

void TNicheOverlapUserDefined::Help1Click(TObject *)
{
    try {
        Tarvix->RunHelp();
    } catch (const Exception &) {
    }
}

void TNicheOverlapUserDefined::ResetDefaults1Click(TObject *)
{
    SetColumns();
    Tarvix->UserDefined = false;
}

void TNicheOverlapUserDefined::UseNewWeights1Click(TObject *)
{
    Tarvix->UserDefined = TestUserDefined();
    if (Tarvix->UserDefined) Close();
}
