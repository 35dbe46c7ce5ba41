// The parameter dialogs of the user-defined Macroecology null models.
#include "models/macroecology/MacroecologyUserDefined.h"
#include "framework/controls/Dialogs.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <cmath>

TMacroEcologyUD1 *MacroEcologyUD1 = nullptr;
TMacroEcologyUD2 *MacroEcologyUD2 = nullptr;

namespace {

double Value(const TEdit *Edit) { return LeadingReal(Edit->Text()); }

bool Check(bool Passes, const char *Message)
{
    if (!Passes) ShowMessage(QString::fromLatin1(Message));
    return Passes;
}

int32_t XColumn() { return MacroecologyOpts ? MacroecologyOpts->XvariableList->ItemIndex() + 1 : 0; }
int32_t YColumn() { return MacroecologyOpts ? MacroecologyOpts->YvariableList->ItemIndex() + 1 : 0; }

}  // namespace

TMacroEcologyParameters::TMacroEcologyParameters(TComponent *AOwner, const TLayout &Layout, int32_t &RememberedX,
                                                 int32_t &RememberedY)
    : TForm(AOwner), rememberedX_(RememberedX), rememberedY_(RememberedY)
{
    SetName(QLatin1String(Layout.Name));
    SetCaption(Layout.Caption);
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetBounds(0, 0, 360, 220);
    TLabel **labels[4] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        const int top = 14 + 32 * i;
        auto *l = new TLabel(this);
        l->SetParent(this);
        l->SetCaption(Layout.Labels[i]);
        l->SetBounds(16, top + 3, 130, 17);
        *labels[i] = l;
        auto *e = new TEdit(this);
        e->SetName(QLatin1String(Layout.EditNames[i]));
        e->SetParent(this);
        e->SetText(Layout.Defaults[i]);
        e->SetBounds(160, top, 170, 24);
        l->SetFocusControl(e);
        edits_[i] = e;
    }
    okButton_ = new TButton(this);
    okButton_->SetParent(this);
    okButton_->SetBounds(16, 148, 170, 27);
    resetButton_ = new TButton(this);
    resetButton_->SetName(QStringLiteral("ResetButton"));
    resetButton_->SetParent(this);
    resetButton_->SetBounds(200, 148, 130, 27);
    resetButton_->OnClick = [this](TObject *Sender) { ResetButtonClick(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TMacroEcologyParameters::ColumnValues(std::vector<double> &X, std::vector<double> &Y)
{
    X.clear();
    Y.clear();
    TProStringGrid *main = Tarvix->MainGrid;
    const int32_t cols = main->ColCount();
    const int32_t xc = XColumn(), yc = YColumn();
    for (int32_t r = 1; r < main->RowCount(); ++r) {
        // The title column is never read as data.
        if (xc >= 1 && xc < cols) X.push_back(LeadingReal(main->Cells(xc, r)));
        if (yc >= 1 && yc < cols) Y.push_back(LeadingReal(main->Cells(yc, r)));
    }
}

void TMacroEcologyParameters::FormShow(TObject *)
{
    if (FirstTime || CurrentFile != Tarvix->FileName) {
        FirstTime = false;
        CurrentFile = Tarvix->FileName;
        if (!Init()) return Close();
    }
    if (XColumn() != rememberedX_) {
        rememberedX_ = XColumn();
        if (!Init()) return Close();
    }
    if (YColumn() != rememberedY_) {
        rememberedY_ = YColumn();
        if (!Init()) return Close();
    }
}

void TMacroEcologyParameters::ResetButtonClick(TObject *) { Init(); }

// ---- End points
// ---------------------------------------------------------------------------------

TMacroEcologyUD1::TMacroEcologyUD1(TComponent *AOwner)
    : TMacroEcologyParameters(AOwner,
                              {"MacroEcologyUD1",
                               QStringLiteral("Tarvix Professional:  User-defined end points"),
                               {"MinimumXEdit", "MaximumXEdit", "MinimumYEdit", "MaximumYEdit"},
                               {QStringLiteral("Minimum X:"), QStringLiteral("Maximum X:"),
                                QStringLiteral("Minimum Y:"), QStringLiteral("Maximum Y:")},
                               {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1")}},
                              Current_c, Current_c2),
      MinimumXEdit(edits_[0]), MaximumXEdit(edits_[1]), MinimumYEdit(edits_[2]), MaximumYEdit(edits_[3]),
      OkButton(okButton_), ResetButton(resetButton_)
{
    OkButton->SetName(QStringLiteral("OkButton"));
    OkButton->SetCaption(QStringLiteral("&Use new end points"));
    ResetButton->SetCaption(QStringLiteral("Reset &Defaults"));
    OkButton->OnClick = [this](TObject *Sender) { OkButtonClick(Sender); };
}

bool TMacroEcologyUD1::Init()
{
    std::vector<double> x, y;
    ColumnValues(x, y);
    const auto fill = [](const std::vector<double> &v, TEdit *MinEdit, TEdit *MaxEdit) {
        if (v.empty()) return;
        double lo = 0, hi = 0;
        MinReal(static_cast<int32_t>(v.size()), v, lo);
        MaxReal(static_cast<int32_t>(v.size()), v, hi);
        MinEdit->SetText(FloatToStr75(lo));
        MaxEdit->SetText(FloatToStr75(hi));
    };
    fill(x, MinimumXEdit, MaximumXEdit);
    fill(y, MinimumYEdit, MaximumYEdit);
    return true;
}

bool TMacroEcologyUD1::TestUserInput()
{
    const double minX = Value(MinimumXEdit), maxX = Value(MaximumXEdit);
    const double minY = Value(MinimumYEdit), maxY = Value(MaximumYEdit);
    return Check(minX >= 0, "Minimum X must be >= 0.") && Check(minY >= 0, "Minimum Y must be >= 0.") &&
           Check(maxX > 0, "Maximum X must be > 0 ") && Check(maxY > 0, "Maximum Y must be > 0 ") &&
           Check(!(minX >= maxX), "Maximum X must be > Minimum X") &&
           Check(!(maxY <= minY), "Maximum Y must be > Minimum Y");
}

void TMacroEcologyUD1::OkButtonClick(TObject *)
{
    if (Tarvix) Tarvix->UserDefined = true;
    if (TestUserInput()) Close();
}

// ---- Normal law
// ---------------------------------------------------------------------------------

TMacroEcologyUD2::TMacroEcologyUD2(TComponent *AOwner)
    : TMacroEcologyParameters(AOwner,
                              {"MacroEcologyUD2",
                               QStringLiteral("Tarvix Professional: User-defined normal destribution"),
                               {"MeanXEdit", "SDXEdit", "MeanYEdit", "SDYEdit"},
                               {QStringLiteral("Mean X:"), QStringLiteral("Std. Deviation X:"),
                                QStringLiteral("Mean Y:"), QStringLiteral("Std. Deviation Y:")},
                               {QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1")}},
                              current_x, current_y),
      MeanXEdit(edits_[0]), SDXEdit(edits_[1]), MeanYEdit(edits_[2]), SDYEdit(edits_[3]), OKButton(okButton_),
      ResetButton(resetButton_)
{
    OKButton->SetName(QStringLiteral("OKButton"));
    OKButton->SetCaption(QStringLiteral("&Use new weights"));
    ResetButton->SetCaption(QStringLiteral("reset &Defaults"));
    OKButton->OnClick = [this](TObject *Sender) { OKButtonClick(Sender); };
    FormCreate(this);
}

void TMacroEcologyUD2::FormCreate(TObject *)
{
    FirstTime = true;
    if (Tarvix) CurrentFile = Tarvix->FileName;
    current_x = XColumn();
    current_y = YColumn();
}

bool TMacroEcologyUD2::Init()
{
    std::vector<double> x, y;
    ColumnValues(x, y);
    const auto fill = [](const std::vector<double> &v, TEdit *MeanEdit, TEdit *SDEdit) {
        if (v.empty()) return;
        double mean = 0, variance = 0;
        MeanVariance(static_cast<int32_t>(v.size()), v, mean, variance);
        MeanEdit->SetText(FloatToStr75(mean));
        SDEdit->SetText(FloatToStr75(std::sqrt(variance)));
    };
    fill(x, MeanXEdit, SDXEdit);
    fill(y, MeanYEdit, SDYEdit);
    return true;
}

bool TMacroEcologyUD2::TestInput()
{
    return Check(Value(MeanXEdit) >= 0, "Mean X must be >= 0 ") &&
           Check(Value(SDXEdit) > 0, "Standard deviation X must be > 0 ") &&
           Check(Value(MeanYEdit) >= 0, "Mean Y must be >= 0 ") &&
           Check(Value(SDYEdit) > 0, "Standard deviation Y must be > 0 ");
}

void TMacroEcologyUD2::OKButtonClick(TObject *)
{
    if (TestInput()) Close();
}

TMacroCloudParameters MacroCloudParameters()
{
    TMacroCloudParameters p;
    if (MacroEcologyUD1) {
        p.MinimumX = Value(MacroEcologyUD1->MinimumXEdit);
        p.MaximumX = Value(MacroEcologyUD1->MaximumXEdit);
        p.MinimumY = Value(MacroEcologyUD1->MinimumYEdit);
        p.MaximumY = Value(MacroEcologyUD1->MaximumYEdit);
    }
    if (MacroEcologyUD2) {
        p.MeanX = Value(MacroEcologyUD2->MeanXEdit);
        p.SDX = Value(MacroEcologyUD2->SDXEdit);
        p.MeanY = Value(MacroEcologyUD2->MeanYEdit);
        p.SDY = Value(MacroEcologyUD2->SDYEdit);
    }
    return p;
}
