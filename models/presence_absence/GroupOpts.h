#pragma once
// The options dialog that guild structure and species overlap share in layout, commands and life
// cycle. The runs read its controls while they work, so the item order of every list is part of
// its interface.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class TGroupOpts : public TForm
{
public:
    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet, *GeneralSheet;
    TGroupBox *IndexGroup;
    TComboBox *IndexList;
    TRadioGroup *Grouping;
    TCheckBox *FavoredStatesCheckBox;
    // Species overlap only (nullptr in guild structure).
    TRadioGroup *RandomizationGroup = nullptr;
    TLabel *FileLabel, *IterationsLabel, *RandomSeedLabel;
    TEdit *FileEdit;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
    // Never read: kept hidden as the dialog carries them.
    TRadioGroup *PatternGroup, *DegenerateGroup;
    TMainMenu *MainMenu1;
    TMenuItem *Run1, *Cancel1, *Help1, *ResetDefaults1;

    // The index item to restore when the dialog is shown again.
    int32_t CurrentIndex = 0;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    void ResetDefaults1Click(TObject *Sender);
    // No control invokes these; they do what the menu commands do.
    void RunButtonClick(TObject *Sender);
    void CancelButtonClick(TObject *Sender);
    void HelpButtonClick(TObject *Sender);
    void ResetDefaultsButtonClick(TObject *Sender);
    void GroupingClick(TObject *Sender);
    virtual void ResetDefaults();

protected:
    // What differs between the two dialogs.
    struct TLayout
    {
        const char *Name;
        QString Caption;
        QString IndexCaption;
        QStringList Indices;
        QString IterationsMask;
        QString IterationsHint;
        // Species overlap: grouping and favored states hidden, randomization shown.
        bool SpeciesOverlap;
    };
    TGroupOpts(TComponent *AOwner, const TLayout &Layout);
};
