// The options dialog and the two parameter dialogs of the user-defined null
// models.
#include "tests/tarvix/macroecology/Fixture.h"

namespace {

class Dialogs : public MacroFixture
{
protected:
    void SetUp() override
    {
        MacroFixture::SetUp();
        // x: 2, 6, 4, 10; y: 1, 3, 8, "abc" (reads 0).
        SetCells({{"2", "1"}, {"6", "3"}, {"4", "8"}, {"10", "abc"}}, 1);
    }
    static QStringList Edits(TForm *d)
    {
        if (d == MacroEcologyUD1)
            return {MacroEcologyUD1->MinimumXEdit->Text(), MacroEcologyUD1->MaximumXEdit->Text(),
                    MacroEcologyUD1->MinimumYEdit->Text(), MacroEcologyUD1->MaximumYEdit->Text()};
        return {MacroEcologyUD2->MeanXEdit->Text(), MacroEcologyUD2->SDXEdit->Text(),
                MacroEcologyUD2->MeanYEdit->Text(), MacroEcologyUD2->SDYEdit->Text()};
    }
    static QStringList Shown(TForm *d)
    {
        QStringList e;
        Show(d, [&] { e = Edits(d); });
        return e;
    }
};

TEST_F(Dialogs, OptionsLayoutAndColumnLists)
{
    TMacroecologyOpts *o = MacroecologyOpts;
    EXPECT_EQ(o->Caption(), "Tarvix Professional: Macroecology Options");
    EXPECT_EQ(o->SymmetryGroup->Caption(), "Da&ta distribution");
    EXPECT_EQ(o->ConstraintsGroup->Items()->ToStringList(),
              QStringList({"data-defined", "user-defined (uniform)", "user-defined (normal)"}));
    EXPECT_EQ(o->PatternGroup->Items()->ToStringList(),
              QStringList({"left triangle", "right triangle", "pyramid", "inverted pyramid"}));
    EXPECT_EQ(o->BoundaryGroup->Items()->ToStringList(),
              QStringList({"upper right", "upper left", "lower right", "lower left"}));
    EXPECT_FALSE(o->EditButton->Visible());
    EXPECT_EQ(o->IterationsEdit->Text(), "1000 ");
    QStringList items;
    Show(o, [&] {
        items = o->XvariableList->Items()->ToStringList();
        EXPECT_EQ(o->XvariableList->ItemIndex(), 0);
        EXPECT_EQ(o->YvariableList->ItemIndex(), 1);
        EXPECT_EQ(o->FileEdit->Text(), Tarvix->FileName);
    });
    EXPECT_EQ(items, QStringList({"x", "y", "z1"}));

    // One data column: the message, and the dialog closes at once without a run.
    Tarvix->MainGrid->SetColCount(2);
    TUiScript ui;
    Tarvix->RunSim = true;
    bool stepped = false;
    Show(o, [&] { stepped = true; });
    EXPECT_EQ(ui.Messages(), QStringList("At least two columns required."));
    EXPECT_FALSE(Tarvix->RunSim);
    EXPECT_FALSE(stepped);
}

TEST_F(Dialogs, ChoicesSurviveEveryCloseAndANarrowerFileFallsBack)
{
    TMacroecologyOpts *o = MacroecologyOpts;
    Show(o, [&] {
        o->XvariableList->SetItemIndex(2);
        o->YvariableList->SetItemIndex(0);
        o->PatternGroup->SetItemIndex(mpPyramid);
        o->BoundaryGroup->SetItemIndex(mbLowerLeft);
        o->SymmetryGroup->SetItemIndex(msAsymmetric);
        o->Cancel1->Click();
    });
    EXPECT_FALSE(Tarvix->RunSim);
    EXPECT_EQ(o->CurrentX_Column, 2);
    EXPECT_EQ(o->CurrentY_Column, 0);
    EXPECT_EQ(o->Current_Pattern, mpPyramid);
    EXPECT_EQ(o->Current_Boundary, mbLowerLeft);
    EXPECT_EQ(o->Current_Symmetry, msAsymmetric);
    // Put back at the next showing over rebuilt lists.
    o->PatternGroup->SetItemIndex(0);
    Show(o, [&] {
        EXPECT_EQ(o->XvariableList->ItemIndex(), 2);
        EXPECT_EQ(o->YvariableList->ItemIndex(), 0);
        EXPECT_EQ(o->PatternGroup->ItemIndex(), mpPyramid);
    });
    // A file with two data columns: the remembered X item is past its lists.
    Tarvix->MainGrid->SetColCount(3);
    Show(o, [&] {
        EXPECT_EQ(o->XvariableList->ItemIndex(), 0);
        EXPECT_EQ(o->YvariableList->ItemIndex(), 1);
    });
}

TEST_F(Dialogs, ConstraintsOpenTheirDialogAndEditShowsForThem)
{
    TMacroecologyOpts *o = MacroecologyOpts;
    DialogWatch watch({MacroEcologyUD1, MacroEcologyUD2});
    Show(o, [&] {
        o->ConstraintsGroup->SetItemIndex(mcNormal);
        EXPECT_TRUE(o->EditButton->Visible());
        o->ConstraintsGroup->SetItemIndex(mcDataDefined);
        EXPECT_FALSE(o->EditButton->Visible());
        o->ConstraintsGroup->SetItemIndex(mcUniform);
        EXPECT_TRUE(o->EditButton->Visible());
        o->EditButton->Click();
        // "Reset &Defaults" puts every choice back and hides "&Edit" without a
        // dialog.
        o->SymmetryGroup->SetItemIndex(msAsymmetric);
        o->RandomSeedEdit->SetText("9");
        o->ResetDefaults1->Click();
        EXPECT_EQ(o->ConstraintsGroup->ItemIndex(), mcDataDefined);
        EXPECT_EQ(o->SymmetryGroup->ItemIndex(), msSymmetric);
        EXPECT_EQ(o->RandomSeedEdit->Text(), "0");
        EXPECT_FALSE(o->EditButton->Visible());
    });
    EXPECT_EQ(watch.Shown, QStringList({"MacroEcologyUD2", "MacroEcologyUD1", "MacroEcologyUD1"}));
}

TEST_F(Dialogs, ProposalsComeFromTheChosenColumns)
{
    EXPECT_EQ(MacroEcologyUD1->Caption(), "Tarvix Professional:  User-defined end points");
    EXPECT_EQ(MacroEcologyUD2->Caption(), "Tarvix Professional: User-defined normal destribution");
    EXPECT_EQ(MacroEcologyUD1->OkButton->Caption(), "&Use new end points");
    EXPECT_EQ(MacroEcologyUD1->ResetButton->Caption(), "Reset &Defaults");
    EXPECT_EQ(MacroEcologyUD2->OKButton->Caption(), "&Use new weights");
    EXPECT_EQ(MacroEcologyUD2->ResetButton->Caption(), "reset &Defaults");
    Show(MacroecologyOpts);
    // x 2, 6, 4, 10: mean 5.5, sample variance 35/3; y 1, 3, 8, 0: mean 3,
    // variance 38/3.
    EXPECT_EQ(Shown(MacroEcologyUD1), QStringList({"2.00000", "10.00000", "0.00000", "8.00000"}));
    EXPECT_EQ(Shown(MacroEcologyUD2), QStringList({"5.50000", "3.41565", "3.00000", "3.55903"}));

    // The user's values stay while the file and the columns do; the reset buttons
    // bring the data's values back.
    Show(MacroEcologyUD1, [] { MacroEcologyUD1->MinimumXEdit->SetText("1.5"); });
    Show(MacroEcologyUD2, [] { MacroEcologyUD2->SDYEdit->SetText("2"); });
    EXPECT_EQ(Shown(MacroEcologyUD1)[0], "1.5");
    EXPECT_EQ(Shown(MacroEcologyUD2)[3], "2");
    Show(MacroEcologyUD1, [] { MacroEcologyUD1->ResetButton->Click(); });
    EXPECT_EQ(Edits(MacroEcologyUD1)[0], "2.00000");

    // Only the Y column changes: both dialogs refill. z1 holds 2, 4, 6, 8.
    MacroecologyOpts->YvariableList->SetItemIndex(2);
    EXPECT_EQ(Shown(MacroEcologyUD1), QStringList({"2.00000", "10.00000", "2.00000", "8.00000"}));
    EXPECT_EQ(Shown(MacroEcologyUD2), QStringList({"5.50000", "3.41565", "5.00000", "2.58199"}));
    // Another data file refills as well.
    Show(MacroEcologyUD1, [] { MacroEcologyUD1->MinimumXEdit->SetText("1.5"); });
    Tarvix->FileName = Path("other.txt");
    EXPECT_EQ(Shown(MacroEcologyUD1)[0], "2.00000");
}

TEST_F(Dialogs, OkButtonsCheckTheEditsInOrder)
{
    struct Case
    {
        TForm *dialog;
        QStringList edits;
        const char *message;  // nullptr: taken
    };
    const Case cases[] = {
        {MacroEcologyUD1, {"-1", "-1", "-1", "-1"}, "Minimum X must be >= 0."},
        {MacroEcologyUD1, {"0", "-1", "-1", "0"}, "Minimum Y must be >= 0."},
        {MacroEcologyUD1, {"0", "0", "0", "0"}, "Maximum X must be > 0 "},
        {MacroEcologyUD1, {"0", "1", "0", "abc"}, "Maximum Y must be > 0 "},
        {MacroEcologyUD1, {"2", "2", "0", "1"}, "Maximum X must be > Minimum X"},
        {MacroEcologyUD1, {"0", "1", "3", "3"}, "Maximum Y must be > Minimum Y"},
        {MacroEcologyUD1, {"0", "1", "0", "1"}, nullptr},
        {MacroEcologyUD2, {"-1", "0", "-1", "0"}, "Mean X must be >= 0 "},
        {MacroEcologyUD2, {"1", "0", "1", "1"}, "Standard deviation X must be > 0 "},
        {MacroEcologyUD2, {"1", "1", "-2", "1"}, "Mean Y must be >= 0 "},
        {MacroEcologyUD2, {"1", "1", "0", "-1"}, "Standard deviation Y must be > 0 "},
        {MacroEcologyUD2, {"0", "2", "3", "0.5"}, nullptr},
    };
    const char *ud1[] = {"MinimumXEdit", "MaximumXEdit", "MinimumYEdit", "MaximumYEdit"};
    const char *ud2[] = {"MeanXEdit", "SDXEdit", "MeanYEdit", "SDYEdit"};
    for (const Case &c : cases) {
        TUiScript ui;
        Tarvix->UserDefined = false;
        bool open = false;
        Show(c.dialog, [&] {
            for (int i = 0; i < 4; ++i)
                static_cast<TEdit *>(c.dialog->FindComponent(c.dialog == MacroEcologyUD1 ? ud1[i] : ud2[i]))
                    ->SetText(c.edits[i]);
            static_cast<TButton *>(c.dialog->FindComponent(c.dialog == MacroEcologyUD1 ? "OkButton" : "OKButton"))
                ->Click();
            open = c.dialog->Visible() && c.dialog->ModalResult() == mrNone;
        });
        const std::string where = (c.dialog->Name() + " " + c.edits.join(' ')).toStdString();
        EXPECT_EQ(open, c.message != nullptr) << where;
        EXPECT_EQ(ui.Messages(), c.message ? QStringList(QString::fromLatin1(c.message)) : QStringList()) << where;
        // The end points dialog tells the main window in either case.
        EXPECT_EQ(Tarvix->UserDefined, c.dialog == MacroEcologyUD1) << where;
        // Closing by the close box keeps what the edits hold.
        EXPECT_EQ(Edits(c.dialog), c.edits) << where;
    }
}

}  // namespace
