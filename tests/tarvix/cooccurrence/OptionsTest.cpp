// The options dialog's click rules, shown and driven as the Analyze menu shows it.
#include "tests/tarvix/cooccurrence/Fixture.h"

#include <QComboBox>

class Options : public CoOccurrenceFixture
{
protected:
    static TCoOccurrenceOpts *o() { return CoOccurrenceOpts; }
    // The user picks an item of a list.
    static void Pick(TComboBox *List, int Index)
    {
        List->SetItemIndex(Index);
        emit List->Combo()->activated(Index);
    }
    static void Show(int Mode, const std::function<void()> &Step)
    {
        Tarvix->RangeCoOccurrence = Mode;
        WhileShown(o(), [] { o()->ShowModal(); }, Step);
    }
};

TEST_F(Options, DefaultsAndTheListsInTheirOrder)
{
    EXPECT_EQ(o()->IndexList->Items()->ToStringList(),
              QStringList({"C-score", "Number of checkerboards ", "Number of species combinations", "V-ratio"}));
    EXPECT_EQ(o()->RangeList->Items()->ToStringList(), QStringList({"Relative Overlap", "Union", "Overlap"}));
    EXPECT_EQ(o()->RowGroup->ItemIndex(), 1);
    EXPECT_EQ(o()->ColumnGroup->ItemIndex(), 1);
    EXPECT_EQ(o()->DegenerateGroup->ItemIndex(), 0);
    EXPECT_EQ(o()->PatternGroup->ItemIndex(), 1);
    EXPECT_FALSE(o()->PatternGroup->Visible());
    EXPECT_TRUE(o()->FixedFixedGroup->Visible());
    EXPECT_EQ(o()->IterationsEdit->Text().trimmed(), "5000");
    EXPECT_EQ(o()->RandomSeedEdit->Text(), "0");
}

TEST_F(Options, IndexChoiceDecidesTheEmptySitesChoice)
{
    Show(0, [] {
        o()->DegenerateGroup->SetItemIndex(2);
        Pick(o()->IndexList, 3);
        EXPECT_TRUE(o()->PatternGroup->Visible());
        EXPECT_EQ(o()->DegenerateGroup->ItemIndex(), 0);
        o()->PatternGroup->SetItemIndex(1);
        Pick(o()->IndexList, 0);
        EXPECT_FALSE(o()->PatternGroup->Visible());
        EXPECT_EQ(o()->PatternGroup->ItemIndex(), 0);
        // Discard hides it also for an index that offers it.
        Pick(o()->IndexList, 2);
        o()->DegenerateGroup->SetItemIndex(1);
        EXPECT_FALSE(o()->PatternGroup->Visible());
        o()->DegenerateGroup->SetItemIndex(2);
        EXPECT_TRUE(o()->PatternGroup->Visible());
    });
}

TEST_F(Options, FixedFixedGroupOnlyForTwoFixedSums)
{
    const struct { int rows, cols; bool visible; } cases[] = {{1, 1, true}, {0, 1, false}, {1, 2, false}, {2, 2, false}};
    TUiScript ui;
    for (const auto &c : cases) {
        o()->RowGroup->SetItemIndex(c.rows);
        o()->ColumnGroup->SetItemIndex(c.cols);
        EXPECT_EQ(o()->FixedFixedGroup->Visible(), c.visible) << c.rows << "," << c.cols;
    }
    o()->RowGroup->SetItemIndex(1);
    o()->ColumnGroup->SetItemIndex(1);
    o()->PatternGroup->SetItemIndex(0);
    o()->FixedFixedGroup->SetItemIndex(2);
    EXPECT_EQ(o()->PatternGroup->ItemIndex(), 1);
}

TEST_F(Options, UserDefinedOpensTheWeightsEditorAndShowsItsButton)
{
    QStringList shown;
    const auto editorWatch = [&] {
        QTimer *t = new QTimer;
        QObject::connect(t, &QTimer::timeout, [&shown, t] {
            if (!CoOccurrenceUserDefined->Visible()) return;
            shown << CoOccurrenceUserDefined->Caption();
            CoOccurrenceUserDefined->Close();
        });
        t->start(2);
        return t;
    };
    QTimer *watch = editorWatch();
    o()->RowGroup->SetItemIndex(3);
    EXPECT_TRUE(o()->DefineButtonRows->Visible());
    EXPECT_FALSE(o()->FixedFixedGroup->Visible());
    o()->PatternGroup->SetItemIndex(1);
    o()->ColumnGroup->SetItemIndex(3);
    EXPECT_TRUE(o()->DefineButtonCols->Visible());
    EXPECT_EQ(o()->PatternGroup->ItemIndex(), 0);
    EXPECT_FALSE(o()->PatternGroup->Visible());
    o()->DefineButtonRows->Click();
    o()->RowGroup->SetItemIndex(0);
    o()->ColumnGroup->SetItemIndex(1);
    delete watch;
    EXPECT_EQ(shown, QStringList({"Edit species weights", "Edit sites weights", "Edit species weights"}));
    EXPECT_FALSE(o()->DefineButtonRows->Visible());
    EXPECT_FALSE(o()->DefineButtonCols->Visible());
}

TEST_F(Options, EachModeKeepsItsOwnIndexAndRunOrCancelSetRunSim)
{
    Show(0, [] {
        EXPECT_TRUE(o()->IndexGroup->Visible());
        EXPECT_FALSE(o()->RangeGroup->Visible());
        o()->IndexList->SetItemIndex(3);
        o()->Run1->Click();
    });
    EXPECT_TRUE(Tarvix->RunSim);
    Show(1, [] {
        EXPECT_TRUE(o()->RangeGroup->Visible());
        EXPECT_FALSE(o()->IndexGroup->Visible());
        EXPECT_EQ(o()->RangeList->ItemIndex(), 0);
        EXPECT_TRUE(o()->PatternGroup->Visible());
        o()->RangeList->SetItemIndex(2);
        o()->Cancel1->Click();
    });
    EXPECT_FALSE(Tarvix->RunSim);
    EXPECT_EQ(o()->CoOccurrenceIndex, 3);
    EXPECT_EQ(o()->RangeIndex, 2);
    EXPECT_EQ(o()->CurrentIndex, 2);
    Show(0, [] { EXPECT_EQ(o()->IndexList->ItemIndex(), 3); });
    Show(1, [] { EXPECT_EQ(o()->RangeList->ItemIndex(), 2); });
}

TEST_F(Options, ResetDefaultsPutsEveryChoiceBack)
{
    Show(0, [] {
        o()->IterationsEdit->SetText("12");
        o()->RandomSeedEdit->SetText("9");
        o()->SaveMatrixCheckBox->SetChecked(true);
        Pick(o()->IndexList, 3);
        o()->DegenerateGroup->SetItemIndex(3);
        o()->FixedFixedGroup->SetItemIndex(2);
        o()->RowGroup->SetItemIndex(0);
        o()->ResetDefaults1->Click();
        // Six digit places: the blank after 5000 stays a blank place of the mask.
        EXPECT_TRUE(o()->IterationsEdit->EditText().startsWith("5000 ")) << o()->IterationsEdit->EditText().toStdString();
        EXPECT_EQ(LeadingInt(o()->IterationsEdit->Text()), 5000);
        EXPECT_EQ(o()->RandomSeedEdit->Text(), "0");
        EXPECT_FALSE(o()->SaveMatrixCheckBox->Checked());
        EXPECT_EQ(o()->IndexList->ItemIndex(), 0);
        EXPECT_EQ(o()->RowGroup->ItemIndex(), 1);
        EXPECT_EQ(o()->DegenerateGroup->ItemIndex(), 0);
        EXPECT_EQ(o()->FixedFixedGroup->ItemIndex(), 0);
        EXPECT_TRUE(o()->FixedFixedGroup->Visible());
        EXPECT_EQ(o()->PatternGroup->ItemIndex(), 0);
        EXPECT_FALSE(o()->PatternGroup->Visible());
        EXPECT_EQ(o()->FileEdit->Text(), Tarvix->FileName);
    });
}
