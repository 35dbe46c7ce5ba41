#pragma once
// The progress window of a running simulation: what runs on which matrix, how far it has got,
// and the one way to stop it.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"

#include <QString>
#include <cstdint>

class TProgress : public TForm
{
public:
    explicit TProgress(TComponent *AOwner);

    TLabel *Label1;
    TLabel *ModelLabel;
    TLabel *Label2;
    TLabel *MatrixLabel;
    TLabel *Label3;
    TLabel *IterationsLabel;
    TLabel *Label4;
    TProgressBar *ProgressBar1;
    TButton *InterruptButton;
    TCheckBox *SoundCheck;

    // Closes the window, then asks the running analysis to stop.
    void InterruptButtonClick(TObject *Sender);
    // Beeps three times when "Beep" is checked and the window was open.
    void FormClose(TObject *Sender, TCloseAction &Action);

    // Puts the bar back to the start of a run of Iterations steps and shows it at once.
    void Restart(int32_t Iterations);
    // End of one iteration: the label gets the iterations done before it, the bar steps by one.
    // The widgets follow at most every RepaintIntervalMs so that painting never becomes the
    // cost of a fast analysis; Flush shows the latest state at once.
    void StepIteration();
    void Flush();
    // Iterations stepped so far (the bar may still show an older value).
    int32_t IterationsDone() const { return done_; }

    static constexpr int64_t RepaintIntervalMs = 50;

protected:
    // Milliseconds on a monotonic clock; tests replace it.
    virtual int64_t NowMs() const;

private:
    int32_t done_ = 0;
    // What the iterations label should read once the widgets catch up.
    QString labelText_;
    int64_t lastFlushMs_ = 0;
};

extern TProgress *Progress;
