// The about box.
#include "workspace/AboutTarvix.h"
#include "framework/controls/Dialogs.h"
#include "framework/graphics/Graphics.h"

TTarvixAbout *TarvixAbout = nullptr;

const QString TarvixWebAddress = QStringLiteral("https://tarvix.example.org/");

namespace {

// A small species-by-sites matrix of filled and empty cells.
void DrawMatrixPicture(TBitmap &Bmp)
{
    constexpr int kCells = 6, kCell = 10;
    Bmp.SetSize(kCells * kCell, kCells * kCell);
    TCanvas *canvas = Bmp.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, Bmp.Width(), Bmp.Height()));
    canvas->Brush()->SetColor(TColor(0x00406020));
    for (int r = 0; r < kCells; ++r)
        for (int c = 0; c < kCells; ++c)
            if ((r * 7 + c * 3) % 5 < 2)
                canvas->FillRect(TRect(c * kCell + 1, r * kCell + 1, (c + 1) * kCell - 1, (r + 1) * kCell - 1));
}

}  // namespace

TTarvixAbout::TTarvixAbout(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("TarvixAbout"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(QStringLiteral("Version 1.0"));
    SetBounds(0, 0, 420, 270);

    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetBounds(8, 8, 396, 180);

    ProgramIcon = new TImage(this);
    ProgramIcon->SetParent(Panel1);
    ProgramIcon->SetBounds(12, 12, 64, 64);
    ProgramIcon->SetStretch(true);
    TBitmap bmp;
    DrawMatrixPicture(bmp);
    ProgramIcon->Picture()->SetBitmap(&bmp);

    ProductName = new TLabel(this);
    ProductName->SetParent(Panel1);
    ProductName->SetBounds(88, 24, 300, 36);
    ProductName->Font()->SetName(QStringLiteral("Times New Roman"));
    ProductName->Font()->SetSize(18);
    ProductName->Font()->SetStyle(TFontStyles{fsBold, fsItalic});
    ProductName->SetCaption(QStringLiteral("Tarvix Professional  "));

    auto italicLine = [this](const QString &Text, int Top) {
        auto *l = new TLabel(this);
        l->SetParent(Panel1);
        l->SetBounds(12, Top, 372, 18);
        l->Font()->SetStyle(TFontStyles{fsItalic});
        l->SetCaption(Text);
        return l;
    };
    Comments1 = italicLine(QStringLiteral("Null-model randomization tests for community ecology."), 100);
    Comments2 = italicLine(QStringLiteral("Species-by-sites matrices, simulated and compared."), 122);

    WebButton = new TButton(this);
    WebButton->SetParent(Panel1);
    WebButton->SetBounds(12, 146, 150, 26);
    WebButton->SetCaption(QStringLiteral("&Web page"));
    WebButton->OnClick = [this](TObject *Sender) { WebButtonClick(Sender); };

    OKButton = new TButton(this);
    OKButton->SetParent(this);
    OKButton->SetBounds(172, 200, 75, 28);
    OKButton->SetCaption(QStringLiteral("&OK"));
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrOk);
    SetActiveControl(OKButton);
}

void TTarvixAbout::WebButtonClick(TObject *)
{
    ShellExecute(Handle(), QStringLiteral("open"), TarvixWebAddress, QString(), QString(), SW_SHOWNORMAL);
}
