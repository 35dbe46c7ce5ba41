// The histogram editor of the size overlap options and its pool-size dialog.
#include "models/overlap_diversity/SizeOverlapHistogram.h"
#include "framework/rtl/SysUtils.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "models/overlap_diversity/SizeOverlapSims.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QFile>

TSizeOverLapUD3 *SizeOverLapUD3 = nullptr;
TSizeOverLapUD4 *SizeOverLapUD4 = nullptr;

namespace {

// Pools of this size or more do not fit the analysis.
constexpr int32_t PoolLimit = 241101;

void TitleRow(TStringGrid *G)
{
    G->SetCells(0, 0, QStringLiteral("Species"));
    G->SetCells(1, 0, QStringLiteral("Size"));
    G->SetCells(2, 0, QStringLiteral("Colonization Weight"));
}

void FixTitleRow(TStringGrid *G)
{
    G->SetFixedCols(0);
    G->SetFixedRows(G->RowCount() > 1 ? 1 : 0);
}

} // namespace

TSizeOverLapUD3::TSizeOverLapUD3(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("SizeOverLapUD3"));
    SetCaption(QStringLiteral("Tarvix Professional: User-defined histogram"));
    SetBorderStyle(bsSizeToolWin);
    SetPosition(poDesktopCenter);
    SetBounds(0, 0, 420, 460);

    Panel2 = new TPanel(this);
    Panel2->SetName(QStringLiteral("Panel2"));
    Panel2->SetParent(this);
    Panel2->SetAlign(alTop);
    Panel2->SetHeight(40);
    Panel2->SetCaption(QString());
    Label1 = new TLabel(this);
    Label1->SetParent(Panel2);
    Label1->SetCaption(QStringLiteral("Number of species in source pool:"));
    Label1->SetBounds(10, 12, 220, 17);
    SpeciesPoolLabel = new TLabel(this);
    SpeciesPoolLabel->SetName(QStringLiteral("SpeciesPoolLabel"));
    SpeciesPoolLabel->SetParent(Panel2);
    SpeciesPoolLabel->SetCaption(QStringLiteral("30"));
    SpeciesPoolLabel->SetBounds(236, 12, 70, 17);
    Button1 = new TButton(this);
    Button1->SetName(QStringLiteral("Button1"));
    Button1->SetParent(Panel2);
    Button1->SetCaption(QStringLiteral("&Change "));
    Button1->SetBounds(310, 7, 90, 26);

    SpeciesHistogramGrid = new TStringGrid(this);
    SpeciesHistogramGrid->SetName(QStringLiteral("SpeciesHistogramGrid"));
    SpeciesHistogramGrid->SetParent(this);
    SpeciesHistogramGrid->SetAlign(alClient);
    SpeciesHistogramGrid->SetColCount(3);
    SpeciesHistogramGrid->SetFixedCols(0);
    SpeciesHistogramGrid->SetScrollBars(ssVertical);
    SpeciesHistogramGrid->SetOptions(SpeciesHistogramGrid->Options() + goEditing);
    SpeciesHistogramGrid->SetColWidths(2, 140);
    TitleRow(SpeciesHistogramGrid);

    OpenDialog1 = new TOpenDialog(this);
    SaveDialog1 = new TSaveDialog(this);

    MainMenu1 = new TMainMenu(this);
    TMenuItem *root = MainMenu1->Items();
    auto add = [this](TMenuItem *Parent, const char *Name, const QString &Caption,
                      void (TSizeOverLapUD3::*Handler)(TObject *) = nullptr) {
        return AddMenuCommand(this, Parent, Name, Caption, Handler);
    };
    File1 = add(root, "File1", QStringLiteral("&File"));
    Open1 = add(File1, "Open1", QStringLiteral("&Open histogram"), &TSizeOverLapUD3::Open1Click);
    Save1 = add(File1, "Save1", QStringLiteral("&Save histogram"), &TSizeOverLapUD3::Save1Click);
    Help1 = add(root, "Help1", QStringLiteral("&Help"));
    Usehistogram1 = add(root, "Usehistogram1", QStringLiteral("&Use histogram"), &TSizeOverLapUD3::Usehistogram1Click);
    ResetDefaults1 = add(root, "ResetDefaults1", QStringLiteral("Reset &Defaults"), &TSizeOverLapUD3::ResetDefaults1Click);
    SetMenu(MainMenu1);

    Button1->OnClick = [this](TObject *Sender) { Button1Click(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    if (Tarvix) CurrentFile = Tarvix->FileName;
}

void TSizeOverLapUD3::FormShow(TObject *)
{
    if (FirstTime || CurrentFile != Tarvix->FileName) {
        FirstTime = false;
        CurrentFile = Tarvix->FileName;
        SetDefaults();
        SpeciesPoolLabel->SetCaption(Tarvix->SpeciesPool);
    } else {
        SetNew();
    }
}

void TSizeOverLapUD3::SetDefaults()
{
    TProStringGrid *main = Tarvix->MainGrid;
    Tarvix->SpeciesPool = IntToStr(main->RowCount() - 1);
    SpeciesPoolLabel->SetCaption(Tarvix->SpeciesPool);
    const int c = SizeOverlapOpts ? SizeOverlapOpts->AnalysedColumn() : 1;
    TStringGrid *g = SpeciesHistogramGrid;
    g->SetColCount(3);
    g->SetRowCount(main->RowCount());
    for (int r = 1; r < g->RowCount(); ++r) {
        g->SetCells(0, r, main->Cells(0, r));
        g->SetCells(1, r, c >= 1 && c < main->ColCount() ? main->Cells(c, r) : QString());
        g->SetCells(2, r, QStringLiteral("1.0"));
    }
    TitleRow(g);
    FixTitleRow(g);
}

void TSizeOverLapUD3::SetNew()
{
    SpeciesPoolLabel->SetCaption(Tarvix->SpeciesPool);
    TStringGrid *g = SpeciesHistogramGrid;
    const int oldRows = g->RowCount();
    const int rows = std::clamp(LeadingInt(SpeciesPoolLabel->Caption()), 0, PoolLimit - 1) + 1;
    g->SetRowCount(rows);
    // The grid keeps the texts of rows it no longer shows; a new row must start empty.
    for (int r = oldRows; r < rows; ++r)
        for (int c = 0; c < g->ColCount(); ++c) g->SetCells(c, r, QString());
    FixTitleRow(g);
}

void TSizeOverLapUD3::Button1Click(TObject *)
{
    Tarvix->SpeciesPool = SpeciesPoolLabel->Caption();
    if (SizeOverLapUD4) SizeOverLapUD4->ShowModal();
    SpeciesPoolLabel->SetCaption(Tarvix->SpeciesPool);
    SetNew();
}

bool TSizeOverLapUD3::OpenHistogramFile()
{
    OpenDialog1->SetTitle(QStringLiteral("Select an ASCII file to open."));
    OpenDialog1->SetFileName(QString());
    if (!OpenDialog1->Execute()) return false;
    const QString name = OpenDialog1->FileName();
    QFile f(name);
    if (!FileExists(name) || !f.open(QIODevice::ReadOnly)) {
        ShowMessage(QStringLiteral("Error opening file."));
        return false;
    }
    ReadWeightsTable(f.readAll(), SpeciesHistogramGrid);
    // The title "Colonization Weight" splits in two cells; the table keeps its three columns.
    SpeciesHistogramGrid->SetColCount(3);
    FixTitleRow(SpeciesHistogramGrid);
    return true;
}

bool TSizeOverLapUD3::Testfile()
{
    if (SpeciesHistogramGrid->RowCount() >= Tarvix->MainGrid->RowCount()) return true;
    ShowMessage(QStringLiteral("Histogram row count must be >= MainGrid row count."));
    return false;
}

void TSizeOverLapUD3::Open1Click(TObject *)
{
    if (!OpenHistogramFile()) return;
    if (Testfile()) {
        Tarvix->SpeciesPool = IntToStr(SpeciesHistogramGrid->RowCount() - 1);
        SpeciesPoolLabel->SetCaption(Tarvix->SpeciesPool);
    } else {
        SetDefaults();
        ShowMessage(QStringLiteral("Resetting Defaults"));
    }
}

void TSizeOverLapUD3::SaveHistogramFile()
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFilterIndex(1);
    SaveDialog1->SetFileName(QStringLiteral("histogram.txt"));
    if (!SaveDialog1->Execute()) return;
    try {
        Tarvix->SaveGridToFile(SpeciesHistogramGrid, SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

void TSizeOverLapUD3::Save1Click(TObject *) { SaveHistogramFile(); }

void TSizeOverLapUD3::Usehistogram1Click(TObject *) { Close(); }

void TSizeOverLapUD3::ResetDefaults1Click(TObject *) { SetDefaults(); }

TSizeOverLapUD4::TSizeOverLapUD4(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("SizeOverLapUD4"));
    SetCaption(QStringLiteral("Tarvix Professional: User-defined histogram"));
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetBounds(0, 0, 360, 120);
    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetCaption(QStringLiteral("Number of species in source pool:"));
    Label1->SetBounds(14, 17, 220, 17);
    SpeciesEdit = new TEdit(this);
    SpeciesEdit->SetName(QStringLiteral("SpeciesEdit"));
    SpeciesEdit->SetParent(this);
    SpeciesEdit->SetText(QStringLiteral("10"));
    SpeciesEdit->SetBounds(240, 14, 90, 24);
    Label1->SetFocusControl(SpeciesEdit);
    OKButton = new TButton(this);
    OKButton->SetName(QStringLiteral("OKButton"));
    OKButton->SetParent(this);
    OKButton->SetCaption(QStringLiteral("&Use new histogram"));
    OKButton->SetBounds(14, 52, 150, 27);
    CancelButton = new TButton(this);
    CancelButton->SetName(QStringLiteral("CancelButton"));
    CancelButton->SetParent(this);
    CancelButton->SetCaption(QStringLiteral("&Cancel"));
    CancelButton->SetBounds(240, 52, 90, 27);
    OKButton->OnClick = [this](TObject *Sender) { OKButtonClick(Sender); };
    CancelButton->OnClick = [this](TObject *Sender) { CancelButtonClick(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TSizeOverLapUD4::FormShow(TObject *) { SpeciesEdit->SetText(Tarvix->SpeciesPool); }

void TSizeOverLapUD4::OKButtonClick(TObject *)
{
    Tarvix->NonZeroRows = CountPositiveHistogramSizes(SizeOverLapUD3 ? SizeOverLapUD3->SpeciesHistogramGrid : nullptr);
    if (Tarvix->NonZeroRows <= 0) {
        ShowMessage(QStringLiteral("Non-Zero Rows Must be > 0"));
        Tarvix->InterruptFlag = true;
        return;
    }
    int32_t pool = 0;
    try {
        pool = LeadingInt(SpeciesEdit->Text());
    } catch (const EConvertError &) {
        pool = PoolLimit;  // beyond 32 bits: as refused as any pool too large
    }
    if (pool < Tarvix->NonZeroRows) {
        ShowMessage(QStringLiteral("Histogram row count must be >= Non-zero rows."));
        return;
    }
    if (pool >= PoolLimit) {
        ShowMessage(QStringLiteral("Histogram row count must be < 241101."));
        return;
    }
    Tarvix->SpeciesPool = IntToStr(pool);
    Close();
}

void TSizeOverLapUD4::CancelButtonClick(TObject *) { Close(); }

void SizeHistogramTable(std::vector<double> &Sizes, std::vector<double> &Weights)
{
    Sizes.clear();
    Weights.clear();
    if (!SizeOverLapUD3) return;
    const TStringGrid *g = SizeOverLapUD3->SpeciesHistogramGrid;
    Sizes = GridColumnValues(g, 1);
    Weights = GridColumnValues(g, 2);
}
