#pragma once
// The options dialog of the tests that read two columns of the main grid: two lists of column
// titles on "Preferences", the run settings on "General", and "&Run", "&Cancel", "&Help" and
// "Reset &Defaults" on the menu. The lists are rebuilt from the main grid at every show.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"

#include <cstdint>

class TTwoColumnOpts : public TForm
{
public:
    TPageControl *PageControl1;
    TTabSheet *PreferencesSheet, *GeneralSheet;
    TLabel *FileLabel, *IterationsLabel, *RandomSeedLabel;
    TEdit *FileEdit;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
    TMainMenu *MainMenu1;
    TMenuItem *Run1, *Cancel1, *Help1, *ResetDefaults1;

    // Both lists get the main grid's column titles; false, with a message, below two columns.
    bool ColumnTitlesToList();
    void FormShow(TObject *Sender);
    void FormClose(TObject *Sender, TCloseAction &Action);
    void Run1Click(TObject *Sender);
    void Cancel1Click(TObject *Sender);
    void Help1Click(TObject *Sender);
    // Seed "0", box unchecked, iterations "1000 ", the first two columns; then ResetMore.
    void ResetDefaults();
    void ResetDefaults1Click(TObject *) { ResetDefaults(); }

protected:
    // FirstItem and SecondItem are the fields that remember the lists' items between showings.
    TTwoColumnOpts(TComponent *AOwner, const char *Name, const QString &Caption, const char *FirstName,
                   const QString &FirstCaption, const char *SecondName, const QString &SecondCaption,
                   int32_t &FirstItem, int32_t &SecondItem);
    virtual void ResetMore() {}
    // Run at the end of a show whose lists were filled, and on every close after the lists'
    // items are remembered.
    virtual void ShowMore() {}
    virtual void CloseMore() {}

    TLabel *firstLabel_, *secondLabel_;
    TComboBox *first_, *second_;

private:
    int32_t &firstItem_;
    int32_t &secondItem_;
};
