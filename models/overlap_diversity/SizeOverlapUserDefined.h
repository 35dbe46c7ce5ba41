#pragma once
// The parameter dialogs of the user-defined size sources: end points of a uniform law on the raw
// scale (UD1) and on the analysis scale (UD5), mean and standard deviation of a normal law on the
// raw scale (UD2) and on the analysis scale (UD6). Each proposes defaults computed from the sizes
// > 0 of the analysed column.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "models/overlap_diversity/SizeOverlapSims.h"

#include <QString>
#include <cstdint>
#include <vector>

// The layout and the rules the four dialogs share; each names its two edits.
class TSizeOverLapParameters : public TForm
{
public:
    TLabel *Label1, *Label2;
    TButton *OkButton, *ResetButton;

    bool FirstTime = true;
    // The data file and the analysed column (main-grid index) the defaults were computed for.
    QString CurrentFile;
    int32_t Current_c = 0;

    void FormShow(TObject *Sender);
    void OkButtonClick(TObject *Sender);
    void ResetButtonClick(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    // Puts the defaults of the analysed column into the edits; false, after "Non-Zero Rows Must be
    // > 0", when the column holds no size > 0.
    bool Init();
    // The dialog's test of the edits; it shows the first failure.
    virtual bool Test() = 0;

protected:
    struct TLayout
    {
        const char *Name;
        QString Caption, Label1, Label2, Default1, Default2, UseCaption;
        // The uniform dialogs follow the data file, check their edits on closing and set the
        // main window's UserDefined when their edits are taken.
        bool Uniform;
        // The defaults are computed on the analysis scale.
        bool Transformed;
    };
    TSizeOverLapParameters(TComponent *AOwner, const TLayout &Layout);

    TEdit *edit1_ = nullptr, *edit2_ = nullptr;

private:
    TLayout layout_;
    bool closingForInit_ = false;
    void closeForInit();
};

class TSizeOverLapUD1 : public TSizeOverLapParameters
{
public:
    explicit TSizeOverLapUD1(TComponent *AOwner);
    TEdit *MinimumEdit, *MaximumEdit;
    bool TestUserInput();
    bool Test() override { return TestUserInput(); }
};

class TSizeOverLapUD2 : public TSizeOverLapParameters
{
public:
    explicit TSizeOverLapUD2(TComponent *AOwner);
    TEdit *MeanEdit, *SDEdit;
    bool TestInput();
    bool Test() override { return TestInput(); }
};

class TSizeOverLapUD5 : public TSizeOverLapParameters
{
public:
    explicit TSizeOverLapUD5(TComponent *AOwner);
    TEdit *MinimumEdit, *MaximumEdit;
    bool TestUserInput();
    bool Test() override { return TestUserInput(); }
};

class TSizeOverLapUD6 : public TSizeOverLapParameters
{
public:
    explicit TSizeOverLapUD6(TComponent *AOwner);
    TEdit *MeanEdit, *SDEdit;
    bool TestInput();
    bool Test() override { return TestInput(); }
};

// The four dialogs' edits read with the real parse, as the size routines take them; the
// defaults of the forms for a dialog that does not exist.
TSizeUserParameters SizeUserParameters();

extern TSizeOverLapUD1 *SizeOverLapUD1;
extern TSizeOverLapUD2 *SizeOverLapUD2;
extern TSizeOverLapUD5 *SizeOverLapUD5;
extern TSizeOverLapUD6 *SizeOverLapUD6;
