// The chi-square options dialog and its expected matrix.
#include "models/standard/ChiSquareOpts.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

#include <QFile>

TChiSquareOpts *ChiSquareOpts = nullptr;

namespace {

const QString kTextFilter = QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*");

} // namespace

TChiSquareOpts::TChiSquareOpts(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("ChiSquareOpts"));
    SetCaption(QStringLiteral("Tarvix Professional: Chi-square Options"));
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 560, 460);

    const TOptionsPages pages = AddOptionsPages(this);
    PageControl1 = pages.PageControl;
    PreferencesSheet = pages.Preferences;
    GeneralSheet = pages.General;

    RandomizationGroup = new TRadioGroup(this);
    RandomizationGroup->SetName(QStringLiteral("RandomizationGroup"));
    RandomizationGroup->SetParent(PreferencesSheet);
    RandomizationGroup->SetCaption(QStringLiteral("Si&mulation options"));
    RandomizationGroup->SetBounds(8, 8, 240, 96);
    for (const char *item : {"randomize matrix", "randomize columns", "randomize rows"})
        RandomizationGroup->Items()->Add(QString::fromLatin1(item));
    RandomizationGroup->SetItemIndex(0);
    ExpectedGroup = new TGroupBox(this);
    ExpectedGroup->SetName(QStringLiteral("ExpectedGroup"));
    ExpectedGroup->SetParent(PreferencesSheet);
    ExpectedGroup->SetCaption(QStringLiteral("Expected matrix"));
    ExpectedGroup->SetBounds(8, 112, 520, 270);
    ExpectedGrid = new TStringGrid(this);
    ExpectedGrid->SetName(QStringLiteral("ExpectedGrid"));
    ExpectedGrid->SetParent(ExpectedGroup);
    ExpectedGrid->SetAlign(alClient);
    ExpectedGrid->SetFixedRows(0);
    ExpectedGrid->SetFixedCols(0);
    ExpectedGrid->SetRowCount(1);
    ExpectedGrid->SetColCount(1);
    ExpectedGrid->SetOptions(ExpectedGrid->Options() + goEditing);

    const TGeneralPage general = AddGeneralPage(this, GeneralSheet, QStringLiteral("!99999;1; "), QStringLiteral("1000 "),
                                                QStringLiteral("Iterations must be >0 and < 1,000,000"));
    FileLabel = general.FileLabel;
    IterationsLabel = general.IterationsLabel;
    RandomSeedLabel = general.RandomSeedLabel;
    FileEdit = general.FileEdit;
    IterationsEdit = general.IterationsEdit;
    RandomSeedEdit = general.RandomSeedEdit;
    SaveMatrixCheckBox = general.SaveMatrixCheckBox;

    OpenDialog1 = new TOpenDialog(this);
    SaveDialog1 = new TSaveDialog(this);
    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    Expectedmatrix1 = AddMenuCommand(this, root, "Expectedmatrix1", QStringLiteral("Expected &matrix"));
    Calculateexpectedmatrix2 = AddMenuCommand(this, Expectedmatrix1, "Calculateexpectedmatrix2",
                                              QStringLiteral("Calculate &expected matrix"),
                                              &TChiSquareOpts::Calculateexpectedmatrix2Click);
    N1 = AddMenuCommand(this, Expectedmatrix1, "N1", QStringLiteral("-"));
    Open1 = AddMenuCommand(this, Expectedmatrix1, "Open1", QStringLiteral("&Open expected matrix"),
                           &TChiSquareOpts::Open1Click);
    SaveAs1 = AddMenuCommand(this, Expectedmatrix1, "SaveAs1", QStringLiteral("Save &As"), &TChiSquareOpts::SaveAs1Click);
    Run1 = AddMenuCommand(this, root, "Run1", QStringLiteral("&Run"), &TChiSquareOpts::Run1Click);
    Cancel1 = AddMenuCommand(this, root, "Cancel1", QStringLiteral("&Cancel"), &TChiSquareOpts::Cancel1Click);
    Help1 = AddMenuCommand(this, root, "Help1", QStringLiteral("&Help"), &TChiSquareOpts::Help1Click);
    resetDefaults1 = AddMenuCommand(this, root, "resetDefaults1", QStringLiteral("Reset &Defaults"),
                                    &TChiSquareOpts::resetDefaults1Click);
    SetMenu(MainMenu1);

    OnCreate = [this](TObject *Sender) { FormCreate(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TChiSquareOpts::FormCreate(TObject *) { FirstTime = true; }

bool TChiSquareOpts::CalculateExpectedMatrix()
{
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t R = main->RowCount(), C = main->ColCount();
    ExpectedGrid->SetRowCount(R);
    ExpectedGrid->SetColCount(C);
    RowTotal.assign(static_cast<size_t>(std::max(R - 1, 0)), 0.0);
    IntegerRowTotal.assign(RowTotal.size(), 0);
    ColTotal.assign(static_cast<size_t>(std::max(C - 1, 0)), 0.0);
    IntegerColTotal.assign(ColTotal.size(), 0);
    MatrixTotal = 0;
    // Each cell is read once; a text that is no integer refuses the table.
    std::vector<int32_t> cells(RowTotal.size() * ColTotal.size());
    for (int32_t r = 1; r < R; ++r)
        for (int32_t c = 1; c < C; ++c) {
            int32_t v = 0;
            if (!TryStrToInt(main->Cells(c, r), v)) {
                ShowMessage(QStringLiteral("Cell value is not a valid integer."));
                return false;
            }
            cells[static_cast<size_t>(r - 1) * ColTotal.size() + (c - 1)] = v;
        }
    for (int32_t r = 1; r < R; ++r)
        for (int32_t c = 1; c < C; ++c) {
            const int32_t v = cells[static_cast<size_t>(r - 1) * ColTotal.size() + (c - 1)];
            IntegerRowTotal[r - 1] += v;
            RowTotal[r - 1] += v;
            IntegerColTotal[c - 1] += v;
            ColTotal[c - 1] += v;
        }
    for (double t : ColTotal) MatrixTotal += t;
    for (int32_t r = 1; r < R; ++r)
        for (int32_t c = 1; c < C; ++c) {
            // A table with no counts has no expected values: zeros, which the run refuses,
            // rather than the values of an earlier table.
            ExpectedGrid->SetCells(c, r, MatrixTotal != 0
                                             ? FloatToStrF(RowTotal[r - 1] * ColTotal[c - 1] / MatrixTotal, ffFixed, 7, 7)
                                             : QStringLiteral("0"));
        }
    for (int32_t r = 0; r < R; ++r) ExpectedGrid->SetCells(0, r, main->Cells(0, r));
    for (int32_t c = 0; c < C; ++c) ExpectedGrid->SetCells(c, 0, main->Cells(c, 0));
    IntegerMatrixTotal = MatrixTotal > 0 ? static_cast<int32_t>(Round(MatrixTotal)) : 0;
    return true;
}

void TChiSquareOpts::FormShow(TObject *)
{
    TProStringGrid *main = Tarvix->MainGrid;
    FileEdit->SetText(Tarvix->FileName);
    if (ExpectedGrid->RowCount() != main->RowCount() || ExpectedGrid->ColCount() != main->ColCount()) {
        if (!CalculateExpectedMatrix()) {
            Tarvix->BringToFront();
            return;
        }
        FirstTime = false;
    }
    if (FirstTime) {
        FirstTime = false;
        CalculateExpectedMatrix();
    }
}

void TChiSquareOpts::Calculateexpectedmatrix2Click(TObject *) { CalculateExpectedMatrix(); }

void TChiSquareOpts::ReadExpectedMatrix(const QByteArray &Bytes)
{
    const QString text = TEncoding::DecodeFileText(Bytes);
    int32_t c = 0, r = 0;
    QString cell;
    const auto store = [&] {
        if (c < ExpectedGrid->ColCount() && r < ExpectedGrid->RowCount()) ExpectedGrid->SetCells(c, r, cell);
        cell.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char(' ') || ch == QLatin1Char(',')) {
            store();
            ++c;
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            // CR LF, a lone LF and a lone CR all end a row.
            if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            store();
            c = 0;
            ++r;
        } else {
            cell += ch;
        }
    }
    // A last line without its line end still holds its last cell.
    if (!cell.isEmpty() || c > 0) store();
}

void TChiSquareOpts::Open1Click(TObject *)
{
    OpenDialog1->SetTitle(QStringLiteral("Select an ASCII file to open."));
    OpenDialog1->SetFilter(kTextFilter);
    OpenDialog1->SetFileName(QString());
    if (!OpenDialog1->Execute()) return;
    QFile f(OpenDialog1->FileName());
    if (!FileExists(OpenDialog1->FileName()) || !f.open(QIODevice::ReadOnly)) {
        ShowMessage(QStringLiteral("Error opening file."));
        return;
    }
    ReadExpectedMatrix(f.readAll());
}

void TChiSquareOpts::SaveAs1Click(TObject *)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilter(kTextFilter);
    SaveDialog1->SetFileName(QStringLiteral("expected.txt"));
    if (!SaveDialog1->Execute()) return;
    try {
        // The writer reports its own write errors.
        Tarvix->SaveGridToFile(ExpectedGrid, SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

void TChiSquareOpts::Run1Click(TObject *)
{
    Tarvix->RunSim = true;
    Close();
}

void TChiSquareOpts::Cancel1Click(TObject *)
{
    Tarvix->RunSim = false;
    Close();
}

void TChiSquareOpts::Help1Click(TObject *) { Tarvix->RunHelp(); }

void TChiSquareOpts::ResetDefaults()
{
    RandomSeedEdit->SetText(QStringLiteral("0"));
    SaveMatrixCheckBox->SetChecked(false);
    IterationsEdit->SetText(QStringLiteral("1000 "));
    CalculateExpectedMatrix();
    RandomizationGroup->SetItemIndex(0);
}

void TChiSquareOpts::resetDefaults1Click(TObject *) { ResetDefaults(); }
