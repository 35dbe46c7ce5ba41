#include "workspace/ProgressSims.h"

#include "framework/controls/Dialogs.h"
#include "framework/rtl/SysUtils.h"
#include "workspace/TarvixMain.h"

#include <chrono>

TProgress *Progress = nullptr;

namespace {

TLabel *NewLabel(TProgress *Form, const char *Name, const QString &Caption, int Left, int Top)
{
    auto *l = new TLabel(Form);
    l->SetName(QLatin1String(Name));
    l->SetParent(Form);
    l->SetCaption(Caption);
    l->SetBounds(Left, Top, Left < 100 ? 80 : 240, 20);
    return l;
}

}  // namespace

TProgress::TProgress(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("Progress"));
    SetCaption(QStringLiteral("Tarvix Professional: simulating..."));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 360, 220);
    Font()->SetStyle(TFontStyles{fsBold});

    Label1 = NewLabel(this, "Label1", QStringLiteral("Model:"), 16, 16);
    ModelLabel = NewLabel(this, "ModelLabel", QString(), 104, 16);
    Label2 = NewLabel(this, "Label2", QStringLiteral("Matrix:"), 16, 40);
    MatrixLabel = NewLabel(this, "MatrixLabel", QString(), 104, 40);
    Label3 = NewLabel(this, "Label3", QStringLiteral("Iterations:"), 16, 64);
    IterationsLabel = NewLabel(this, "IterationsLabel", QStringLiteral("1000"), 104, 64);
    Label4 = NewLabel(this, "Label4", QStringLiteral("Progress"), 16, 92);

    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetName(QStringLiteral("ProgressBar1"));
    ProgressBar1->SetParent(this);
    ProgressBar1->SetBounds(104, 90, 236, 20);

    InterruptButton = new TButton(this);
    InterruptButton->SetName(QStringLiteral("InterruptButton"));
    InterruptButton->SetParent(this);
    InterruptButton->SetCaption(QStringLiteral("&Abort simulation"));
    InterruptButton->SetBounds(104, 128, 150, 28);
    InterruptButton->OnClick = [this](TObject *Sender) { InterruptButtonClick(Sender); };

    SoundCheck = new TCheckBox(this);
    SoundCheck->SetName(QStringLiteral("SoundCheck"));
    SoundCheck->SetParent(this);
    SoundCheck->SetCaption(QStringLiteral("Beep"));
    SoundCheck->SetBounds(104, 168, 100, 20);
    SoundCheck->SetChecked(true);

    OnClose = [this](TObject *Sender, TCloseAction &Action) { FormClose(Sender, Action); };
    labelText_ = IterationsLabel->Caption();
}

void TProgress::InterruptButtonClick(TObject *)
{
    Close();
    if (Tarvix)
        Tarvix->InterruptFlag = true;
}

void TProgress::FormClose(TObject *, TCloseAction &)
{
    // The analyses close the window again after an abort has closed it; only the close that
    // takes the window off the screen sounds.
    if (!Visible())
        return;
    Flush();
    if (SoundCheck->Checked())
        for (int i = 0; i < 3; ++i)
            MessageBeep(MB_OK);
}

void TProgress::Restart(int32_t Iterations)
{
    done_ = 0;
    ProgressBar1->SetPosition(0);
    labelText_ = IntToStr(Iterations);
    IterationsLabel->SetCaption(labelText_);
    ProgressBar1->SetMax(Iterations);
    ProgressBar1->SetStep(1);
    lastFlushMs_ = NowMs();
}

void TProgress::StepIteration()
{
    labelText_.clear();  // formatted only when shown
    ++done_;
    const int64_t now = NowMs();
    if (now - lastFlushMs_ >= RepaintIntervalMs)
        Flush();
}

void TProgress::Flush()
{
    lastFlushMs_ = NowMs();
    // The label reads the bar's position before the last step.
    if (labelText_.isEmpty())
        labelText_ = IntToStr(done_ > 0 ? done_ - 1 : 0);
    if (IterationsLabel->Caption() != labelText_)
        IterationsLabel->SetCaption(labelText_);
    if (ProgressBar1->Position() != done_)
        ProgressBar1->SetPosition(done_);
}

int64_t TProgress::NowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
