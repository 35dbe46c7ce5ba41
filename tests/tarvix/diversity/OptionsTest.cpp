// The options dialog's layout rules and defaults, and the levels dialog, driven as the user
// drives them.
#include "tests/tarvix/diversity/Fixture.h"

class Options : public DiversityFixture
{
protected:
    static TSpeciesDiversityOpts *o() { return SpeciesDiversityOpts; }
    static TAbundanceLevelsOpts *levels() { return AbundanceLevelsOpts; }
    // Shows the levels dialog, runs Step inside it, and gives what the seam showed.
    static QStringList InLevels(const std::function<void()> &Step)
    {
        TUiScript ui;
        WhileShown(levels(), [] { levels()->ShowModal(); }, Step);
        return ui.Messages();
    }
};

TEST_F(Options, LevelsDialogWarnsAboutTheFirstBadLineAndCloses)
{
    const struct
    {
        QStringList lines;
        const char *message;  // nullptr: no warning
    } cases[] = {
        {{"10", "0", "20"}, "Abundance levels must be > 0 \r\nerror line: 2"},
        {{"-5", "0"}, "Abundance levels must be > 0 \r\nerror line: 1"},
        {{"12abc", " 3"}, nullptr},
        {{"5", "abc"}, "Abundance levels must be > 0 \r\nerror line: 2"},
    };
    for (const auto &c : cases) {
        SetLevels(c.lines);
        const QStringList shown = InLevels([] { levels()->OKButton->Click(); });
        EXPECT_EQ(shown, c.message ? QStringList(QString::fromLatin1(c.message)) : QStringList()) << c.lines.join(',').toStdString();
        EXPECT_FALSE(levels()->Visible());
        EXPECT_EQ(Lines(levels()->Memo1), c.lines) << "the lines stay as typed";
    }
}

TEST_F(Options, LevelsDialogCancelPutsBackTheTextShownAtOpening)
{
    EXPECT_EQ(Lines(levels()->Memo1), QStringList({"10", "20"}));
    InLevels([] {
        levels()->Memo1->Lines()->Add("30");
        levels()->Memo1->Lines()->SetStrings(0, "7");
        levels()->CancelButton->Click();
    });
    EXPECT_EQ(Lines(levels()->Memo1), QStringList({"10", "20"}));
    // An OK keeps the edit, and the next Cancel goes back to it.
    InLevels([] {
        levels()->Memo1->Lines()->Add("30");
        levels()->OKButton->Click();
    });
    InLevels([] {
        levels()->Memo1->Lines()->Clear();
        levels()->CancelButton->Click();
    });
    EXPECT_EQ(Lines(levels()->Memo1), QStringList({"10", "20", "30"}));
}

TEST_F(Options, DefaultsAndResetDefaults)
{
    SetMatrix({{1, 2, 3}});
    EXPECT_EQ(o()->IndexList->Items()->ToStringList(),
              QStringList({"Species Richness", "Hurlbert's PIE", "Dominance", "Shannon Diversity Index"}));
    EXPECT_EQ(o()->IndexList->Text(), "Species Richness");
    EXPECT_EQ(o()->RandomizationGroup->Items()->ToStringList(), QStringList({"Accumulation curve", "Rarefaction curve"}));
    EXPECT_EQ(o()->RandomizationGroup->ItemIndex(), 1);
    EXPECT_EQ(o()->SpeciesGroup->ItemIndex(), 0);
    EXPECT_EQ(o()->IterationsEdit->Text().trimmed(), "1000");
    EXPECT_FALSE(o()->SampleLevelsGroup->Visible());
    EXPECT_FALSE(o()->DefineButton2->Visible());
    EXPECT_FALSE(o()->DefineButton->Visible());

    WhileShown(o(), [] { o()->ShowModal(); }, [] {
        EXPECT_EQ(o()->ColumnList->Items()->ToStringList(), QStringList({"s1", "s2", "s3"}));
        o()->SpeciesGroup->SetItemIndex(1);
        o()->RandomizationGroup->SetItemIndex(0);
        o()->IndexList->SetItemIndex(3);
        o()->ColumnList->SetItemIndex(2);
        o()->RandomSeedEdit->SetText("17");
        o()->IterationsEdit->SetText("55");
        o()->SaveMatrixCheckBox->SetChecked(true);
        o()->resetDefaults1->Click();
        EXPECT_EQ(o()->RandomizationGroup->ItemIndex(), 1);
        EXPECT_EQ(o()->IndexList->ItemIndex(), 0);
        EXPECT_EQ(o()->ColumnList->ItemIndex(), 0);
        EXPECT_EQ(o()->AbundanceLevelsGroup->ItemIndex(), 0);
        EXPECT_EQ(o()->RandomSeedEdit->Text(), "0");
        EXPECT_EQ(o()->IterationsEdit->Text().trimmed(), "1000");
        EXPECT_FALSE(o()->SaveMatrixCheckBox->Checked());
        EXPECT_EQ(o()->SpeciesGroup->ItemIndex(), 1) << "the sample unit stays";
        o()->Run1->Click();
    });
    EXPECT_TRUE(Tarvix->RunSim);
}

TEST_F(Options, ChoicesSurviveByItemIndexAndCancelClearsRunSim)
{
    SetMatrix({{1, 2, 3}});
    WhileShown(o(), [] { o()->ShowModal(); }, [] {
        o()->ColumnList->SetItemIndex(2);
        o()->IndexList->SetItemIndex(1);
        o()->Run1->Click();
    });
    EXPECT_EQ(o()->CurrentColumn, 2);
    EXPECT_EQ(o()->CurrentIndex, 1);
    // A narrower file: the third column is gone, the first one is chosen.
    SetMatrix({{1, 2}});
    Tarvix->FileName = "other.txt";
    WhileShown(o(), [] { o()->ShowModal(); }, [] {
        EXPECT_EQ(o()->ColumnList->ItemIndex(), 0);
        EXPECT_EQ(o()->IndexList->ItemIndex(), 1);
        EXPECT_EQ(o()->FileEdit->Text(), "other.txt");
        o()->Cancel1->Click();
    });
    EXPECT_FALSE(Tarvix->RunSim);
}

TEST_F(Options, SampleUnitAndLevelChoicesShowTheirControls)
{
    QStringList opened;
    const auto watchLevels = [&](const std::function<void()> &Action) {
        WhileShown(levels(), Action, [&] {
            opened << "levels";
            levels()->OKButton->Click();
        });
    };
    watchLevels([] { o()->AbundanceLevelsGroup->SetItemIndex(1); });
    EXPECT_EQ(opened, QStringList("levels"));
    EXPECT_TRUE(o()->DefineButton->Visible());
    EXPECT_EQ(o()->DefineButton->Caption(), "&Edit");
    watchLevels([] { o()->DefineButton->Click(); });
    EXPECT_EQ(opened.size(), 2);

    o()->SpeciesGroup->SetItemIndex(1);
    EXPECT_FALSE(o()->ColumnToAnalyzeBox->Visible());
    EXPECT_FALSE(o()->AbundanceLevelsGroup->Visible());
    EXPECT_FALSE(o()->DefineButton->Visible());
    EXPECT_TRUE(o()->SampleLevelsGroup->Visible());
    EXPECT_FALSE(o()->DefineButton2->Visible());
    watchLevels([] { o()->SampleLevelsGroup->SetItemIndex(1); });
    EXPECT_EQ(opened.size(), 3);
    EXPECT_TRUE(o()->DefineButton2->Visible());
    o()->SampleLevelsGroup->SetItemIndex(0);
    EXPECT_FALSE(o()->DefineButton2->Visible());

    // Back to individuals: the user-defined abundance levels bring their button back.
    o()->SpeciesGroup->SetItemIndex(0);
    EXPECT_TRUE(o()->ColumnToAnalyzeBox->Visible());
    EXPECT_TRUE(o()->AbundanceLevelsGroup->Visible());
    EXPECT_TRUE(o()->DefineButton->Visible());
    EXPECT_FALSE(o()->SampleLevelsGroup->Visible());
    EXPECT_FALSE(o()->DefineButton2->Visible());
}
