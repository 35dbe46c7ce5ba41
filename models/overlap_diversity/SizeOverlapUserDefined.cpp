// The parameter dialogs of the user-defined size sources.
#include "models/overlap_diversity/SizeOverlapUserDefined.h"
#include "framework/controls/Dialogs.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <algorithm>
#include <cmath>

TSizeOverLapUD1 *SizeOverLapUD1 = nullptr;
TSizeOverLapUD2 *SizeOverLapUD2 = nullptr;
TSizeOverLapUD5 *SizeOverLapUD5 = nullptr;
TSizeOverLapUD6 *SizeOverLapUD6 = nullptr;

namespace {

int32_t OptionsColumn() { return SizeOverlapOpts ? SizeOverlapOpts->AnalysedColumn() : 0; }

double Value(const TEdit *Edit) { return LeadingReal(Edit->Text()); }

// The first failing check shows its message.
bool Check(bool Passes, const char *Message)
{
    if (!Passes) ShowMessage(QString::fromLatin1(Message));
    return Passes;
}

} // namespace

TSizeOverLapParameters::TSizeOverLapParameters(TComponent *AOwner, const TLayout &Layout)
    : TForm(AOwner), layout_(Layout)
{
    SetName(QLatin1String(Layout.Name));
    SetCaption(Layout.Caption);
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetBounds(0, 0, 330, 150);

    auto label = [this](const QString &Caption, int Top) {
        auto *l = new TLabel(this);
        l->SetParent(this);
        l->SetCaption(Caption);
        l->SetBounds(16, Top + 3, 110, 17);
        return l;
    };
    auto edit = [this](const QString &Text, int Top) {
        auto *e = new TEdit(this);
        e->SetParent(this);
        e->SetText(Text);
        e->SetBounds(130, Top, 170, 24);
        return e;
    };
    Label1 = label(Layout.Label1, 14);
    edit1_ = edit(Layout.Default1, 14);
    Label2 = label(Layout.Label2, 46);
    edit2_ = edit(Layout.Default2, 46);
    Label1->SetFocusControl(edit1_);
    Label2->SetFocusControl(edit2_);
    OkButton = new TButton(this);
    OkButton->SetName(QStringLiteral("OkButton"));
    OkButton->SetParent(this);
    OkButton->SetCaption(Layout.UseCaption);
    OkButton->SetBounds(16, 84, 160, 27);
    ResetButton = new TButton(this);
    ResetButton->SetName(QStringLiteral("ResetButton"));
    ResetButton->SetParent(this);
    ResetButton->SetCaption(QStringLiteral("reset &Defaults"));
    ResetButton->SetBounds(190, 84, 110, 27);

    OkButton->OnClick = [this](TObject *Sender) { OkButtonClick(Sender); };
    ResetButton->OnClick = [this](TObject *Sender) { ResetButtonClick(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
    if (Tarvix) CurrentFile = Tarvix->FileName;
    Current_c = OptionsColumn();
}

bool TSizeOverLapParameters::Init()
{
    const int32_t c = OptionsColumn();
    std::vector<double> sizes = PositiveSizes(c);
    if (sizes.empty()) {
        ShowMessage(QStringLiteral("Non-Zero Rows Must be > 0"));
        return false;
    }
    const int32_t n = static_cast<int32_t>(sizes.size());
    if (layout_.Transformed) {
        TSizeOverlapSims scale;
        if (SizeOverlapOpts) scale.Options.TransformationGroup = SizeOverlapOpts->TransformationGroup->ItemIndex();
        scale.AnalysisTransform(n, sizes, sizes);
    }
    double a = 0, b = 0;
    if (layout_.Uniform) {
        double m = 0, M = 0;
        MinReal(n, sizes, m);
        MaxReal(n, sizes, M);
        a = m - m * 0.1;
        b = M + M * 0.1;
    } else {
        double variance = 0;
        MeanVariance(n, sizes, a, variance);
        b = std::sqrt(variance);
    }
    edit1_->SetText(FloatToStr75(a));
    edit2_->SetText(FloatToStr75(b));
    return true;
}

void TSizeOverLapParameters::closeForInit()
{
    // Closed because there is nothing to propose: the edits are not checked on the way out.
    closingForInit_ = true;
    Close();
}

void TSizeOverLapParameters::FormShow(TObject *)
{
    closingForInit_ = false;
    if (FirstTime || (layout_.Uniform && CurrentFile != Tarvix->FileName)) {
        FirstTime = false;
        CurrentFile = Tarvix->FileName;
        if (!Init()) return closeForInit();
    }
    if (OptionsColumn() != Current_c) {
        Current_c = OptionsColumn();
        if (!Init()) return closeForInit();
    }
}

void TSizeOverLapParameters::OkButtonClick(TObject *)
{
    if (!Test()) return;
    if (layout_.Uniform && Tarvix) Tarvix->UserDefined = true;
    Close();
}

void TSizeOverLapParameters::ResetButtonClick(TObject *)
{
    if (!Init()) closeForInit();
}

void TSizeOverLapParameters::FormClose(TObject *, TCloseAction &)
{
    if (!layout_.Uniform || closingForInit_) return;
    if (!Test()) {
        ShowMessage(QStringLiteral("Resetting defaults!"));
        Init();
    }
}

TSizeOverLapUD1::TSizeOverLapUD1(TComponent *AOwner)
    : TSizeOverLapParameters(AOwner, {"SizeOverLapUD1", QStringLiteral("Tarvix Professional: Untransformed end points"),
                                      QStringLiteral("Minimum:"), QStringLiteral("Maximum:"), QStringLiteral("0"),
                                      QStringLiteral("1"), QStringLiteral("&Use new end points"), true, false})
{
    MinimumEdit = edit1_;
    MaximumEdit = edit2_;
    MinimumEdit->SetName(QStringLiteral("MinimumEdit"));
    MaximumEdit->SetName(QStringLiteral("MaximumEdit"));
}

bool TSizeOverLapUD1::TestUserInput()
{
    const double minimum = Value(MinimumEdit), maximum = Value(MaximumEdit);
    return Check(minimum > 0, "Minimum must be > 0.") && Check(maximum > 0, "Maximum must be > 0 ") &&
           Check(maximum > minimum, "Maximum must be > Minimum ");
}

TSizeOverLapUD5::TSizeOverLapUD5(TComponent *AOwner)
    : TSizeOverLapParameters(AOwner, {"SizeOverLapUD5", QStringLiteral("Tarvix Professional: Transformed end points"),
                                      QStringLiteral("Minimum:"), QStringLiteral("Maximum:"), QStringLiteral("0"),
                                      QStringLiteral("1"), QStringLiteral("&Use new end points"), true, true})
{
    MinimumEdit = edit1_;
    MaximumEdit = edit2_;
    MinimumEdit->SetName(QStringLiteral("MinimumEdit"));
    MaximumEdit->SetName(QStringLiteral("MaximumEdit"));
}

bool TSizeOverLapUD5::TestUserInput()
{
    return Check(Value(MaximumEdit) > Value(MinimumEdit), "Maximum must be > Minimum ");
}

TSizeOverLapUD2::TSizeOverLapUD2(TComponent *AOwner)
    : TSizeOverLapParameters(AOwner,
                             {"SizeOverLapUD2", QStringLiteral("Tarvix Professional: Untransformed normal distribution"),
                              QStringLiteral("Mean:"), QStringLiteral("Std. Deviation:"), QStringLiteral("5"),
                              QStringLiteral("1"), QStringLiteral("&Use new distribution"), false, false})
{
    MeanEdit = edit1_;
    SDEdit = edit2_;
    MeanEdit->SetName(QStringLiteral("MeanEdit"));
    SDEdit->SetName(QStringLiteral("SDEdit"));
}

bool TSizeOverLapUD2::TestInput()
{
    return Check(Value(MeanEdit) >= 0, "Mean must be >= 0 ") &&
           Check(Value(SDEdit) > 0, "Standard deviation must be > 0 ");
}

TSizeOverLapUD6::TSizeOverLapUD6(TComponent *AOwner)
    : TSizeOverLapParameters(AOwner,
                             {"SizeOverLapUD6", QStringLiteral("Tarvix Professional: Transformed normal distribution "),
                              QStringLiteral("Mean:"), QStringLiteral("Std. Deviation:"), QStringLiteral("5"),
                              QStringLiteral("1"), QStringLiteral("&Use new distribution"), false, true})
{
    MeanEdit = edit1_;
    SDEdit = edit2_;
    MeanEdit->SetName(QStringLiteral("MeanEdit"));
    SDEdit->SetName(QStringLiteral("SDEdit"));
}

bool TSizeOverLapUD6::TestInput() { return Check(Value(SDEdit) > 0, "Standard deviation must be > 0 "); }

TSizeUserParameters SizeUserParameters()
{
    TSizeUserParameters p;
    if (SizeOverLapUD1) {
        p.UniformMinimum = Value(SizeOverLapUD1->MinimumEdit);
        p.UniformMaximum = Value(SizeOverLapUD1->MaximumEdit);
    }
    if (SizeOverLapUD2) {
        p.NormalMean = Value(SizeOverLapUD2->MeanEdit);
        p.NormalSD = Value(SizeOverLapUD2->SDEdit);
    }
    if (SizeOverLapUD5) {
        p.LogUniformMinimum = Value(SizeOverLapUD5->MinimumEdit);
        p.LogUniformMaximum = Value(SizeOverLapUD5->MaximumEdit);
    }
    if (SizeOverLapUD6) {
        p.LogNormalMean = Value(SizeOverLapUD6->MeanEdit);
        p.LogNormalSD = Value(SizeOverLapUD6->SDEdit);
    }
    return p;
}
