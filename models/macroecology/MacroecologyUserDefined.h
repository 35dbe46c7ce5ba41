#pragma once
// The parameter dialogs of the user-defined null models of Macroecology: the
// end points of the uniform law (UD1) and the means and standard deviations of
// the normal law (UD2). Both propose values taken from the chosen X and Y
// columns, again whenever the data file or a column changes.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "models/macroecology/MacroecologySims.h"

#include <QString>
#include <cstdint>
#include <vector>

// The layout and the refill rule the two dialogs share.
class TMacroEcologyParameters : public TForm
{
public:
    TLabel *Label1, *Label2, *Label3, *Label4;

    bool FirstTime = false;
    // The data file of the last fill.
    QString CurrentFile;

    // Puts the values proposed by the data into the edits; always true.
    virtual bool Init() = 0;
    // Refills the edits when the file, the X column or the Y column changed since
    // the last fill.
    void FormShow(TObject *Sender);
    void ResetButtonClick(TObject *Sender);

protected:
    struct TLayout
    {
        const char *Name;
        QString Caption;
        const char *EditNames[4];
        QString Labels[4], Defaults[4];
    };
    // RememberedX and RememberedY are the dialog's fields holding the columns of
    // the last fill.
    TMacroEcologyParameters(TComponent *AOwner, const TLayout &Layout, int32_t &RememberedX, int32_t &RememberedY);
    TEdit *edits_[4] = {};
    TButton *okButton_ = nullptr, *resetButton_ = nullptr;
    // The chosen columns' cells of rows 1.., read with the real parse; empty for
    // a column that is not a data column.
    static void ColumnValues(std::vector<double> &X, std::vector<double> &Y);

private:
    int32_t &rememberedX_;
    int32_t &rememberedY_;
};

class TMacroEcologyUD1 : public TMacroEcologyParameters
{
public:
    explicit TMacroEcologyUD1(TComponent *AOwner);
    TEdit *MinimumXEdit, *MaximumXEdit, *MinimumYEdit, *MaximumYEdit;
    TButton *OkButton, *ResetButton;
    int32_t Current_c = 0;
    int32_t Current_c2 = 0;

    // The smallest and largest x and y of the data.
    bool Init() override;
    // The first failing check shows its message.
    bool TestUserInput();
    // Tells the main window that user values are in use, then closes when the
    // checks pass.
    void OkButtonClick(TObject *Sender);
};

class TMacroEcologyUD2 : public TMacroEcologyParameters
{
public:
    explicit TMacroEcologyUD2(TComponent *AOwner);
    TEdit *MeanXEdit, *SDXEdit, *MeanYEdit, *SDYEdit;
    TButton *OKButton, *ResetButton;
    int32_t current_x = 0;
    int32_t current_y = 0;

    // The means and standard deviations of the data's x and y.
    bool Init() override;
    bool TestInput();
    void OKButtonClick(TObject *Sender);
    // At start-up: the first showing fills the edits.
    void FormCreate(TObject *Sender);
};

// The edits of both dialogs read with the real parse; the forms' texts for a
// dialog that does not exist.
TMacroCloudParameters MacroCloudParameters();

extern TMacroEcologyUD1 *MacroEcologyUD1;
extern TMacroEcologyUD2 *MacroEcologyUD2;
