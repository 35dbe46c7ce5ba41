// The guild structure options dialog: its lists and defaults, the grouping rule, the remembered
// index and the reset; and the Analyze command that shows it and runs.
#include "tests/tarvix/guild/Fixture.h"

class GroupOptions : public GroupFixture
{
protected:
    static TGuildStructureOpts *g() { return GuildStructureOpts; }
};

TEST_F(GroupOptions, ListsAndDefaults)
{
    EXPECT_EQ(g()->Caption(), "Tarvix Professional: Guild Structure Options");
    EXPECT_EQ(g()->IndexList->Items()->ToStringList(),
              QStringList({"C-score", "Number of checkerboards ", "Number of species combinations", "V-ratio"}));
    EXPECT_EQ(g()->IndexList->Style(), csDropDownList);
    EXPECT_EQ(g()->Grouping->ItemIndex(), 0);
    EXPECT_TRUE(g()->Grouping->Visible());
    EXPECT_TRUE(g()->FavoredStatesCheckBox->Visible());
    EXPECT_FALSE(g()->FavoredStatesCheckBox->Checked());
    EXPECT_EQ(g()->RandomizationGroup, nullptr);
    EXPECT_FALSE(g()->PatternGroup->Visible());
    EXPECT_FALSE(g()->DegenerateGroup->Visible());
    EXPECT_EQ(g()->IterationsEdit->Text().trimmed(), "1000");
    EXPECT_EQ(g()->RandomSeedEdit->Text(), "0");
}

TEST_F(GroupOptions, RegionGroupingDisablesFavoredStatesAndKeepsTheCheck)
{
    g()->FavoredStatesCheckBox->SetChecked(true);
    g()->Grouping->SetItemIndex(1);
    EXPECT_FALSE(g()->FavoredStatesCheckBox->Enabled());
    g()->Grouping->SetItemIndex(0);
    EXPECT_TRUE(g()->FavoredStatesCheckBox->Enabled());
    EXPECT_TRUE(g()->FavoredStatesCheckBox->Checked());
}

TEST_F(GroupOptions, ReopeningShowsTheLastIndexAndResetRestoresDefaults)
{
    WhileShown(g(), [] { g()->ShowModal(); }, [] {
        EXPECT_EQ(g()->FileEdit->Text(), Tarvix->FileName);
        g()->IndexList->SetItemIndex(3);
    });
    g()->IndexList->SetItemIndex(0);
    int shown = -1;
    WhileShown(g(), [] { g()->ShowModal(); }, [&] { shown = g()->IndexList->ItemIndex(); });
    EXPECT_EQ(shown, 3);

    g()->Grouping->SetItemIndex(1);
    g()->FavoredStatesCheckBox->SetChecked(true);
    g()->SaveMatrixCheckBox->SetChecked(true);
    g()->IterationsEdit->SetText("77");
    g()->RandomSeedEdit->SetText("9");
    g()->ResetDefaults1->Click();
    EXPECT_EQ(g()->IndexList->ItemIndex(), 0);
    EXPECT_EQ(g()->Grouping->ItemIndex(), 0);
    EXPECT_TRUE(g()->FavoredStatesCheckBox->Enabled());
    EXPECT_FALSE(g()->FavoredStatesCheckBox->Checked());
    EXPECT_FALSE(g()->SaveMatrixCheckBox->Checked());
    EXPECT_EQ(g()->IterationsEdit->Text().trimmed(), "1000");
    EXPECT_EQ(g()->RandomSeedEdit->Text(), "0");
}

TEST_F(GroupOptions, CancelRunsNothing)
{
    SetGuilds();
    TUiScript ui;
    WhileShown(g(), [] { Tarvix->N7GuildStructure1->Click(); }, [] { g()->Cancel1->Click(); });
    EXPECT_FALSE(Tarvix->RunSim);
    EXPECT_FALSE(GuildStructure->Visible());
    EXPECT_TRUE(Lines(GuildStructure->Memo1).isEmpty());
}

TEST_F(GroupOptions, AnalyzeMenuShowsTheDialogAndRuns)
{
    SetGuilds();
    WhileShown(GuildStructure, [] {
        WhileShown(g(), [] { Tarvix->N7GuildStructure1->Click(); }, [] {
            SetOptions(g(), "12", "3");
            g()->Run1->Click();
        });
    });
    EXPECT_EQ(Tarvix->Iterations, 12);
    EXPECT_TRUE(Lines(GuildStructure->Memo1).contains("Iterations = 12"));
    EXPECT_EQ(GuildStructure->Caption(), "Tarvix Professional: Guild Structure Results");
}
