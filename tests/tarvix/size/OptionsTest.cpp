// The options dialog's click rules, driven as the Analyze command shows it.
#include "tests/tarvix/size/Fixture.h"

class Options : public SizeFixture
{
protected:
    void SetUp() override
    {
        SizeFixture::SetUp();
        SetColumns({{"2", "5", "10"}, {"0", "abc", "-1"}});
    }
    static TSizeOverlapOpts *o() { return SizeOverlapOpts; }
};

TEST_F(Options, DefaultsAndTheItemsInTheirOrder)
{
    EXPECT_EQ(o()->Caption(), "Tarvix Professional: Size Overlap Options");
    EXPECT_EQ(o()->MetricGroup->Items()->ToStringList(),
              QStringList({"Minimum segment length", "Variance in segment length"}));
    EXPECT_EQ(o()->TransformationGroup->Items()->ToStringList(),
              QStringList({"None (size differences)", "Log (size ratios)"}));
    EXPECT_EQ(o()->RoundingGroup->Items()->ToStringList(), QStringList({"None", "Integer"}));
    EXPECT_EQ(o()->BodySizeDistributionGroup->Items()->ToStringList(),
              QStringList({"Parametric distributions", "Histogram"}));
    EXPECT_EQ(o()->BodySizeDistributionGroupMain->Items()->ToStringList(),
              QStringList({"Uniform", "Normal", "Log uniform", "Log normal"}));
    EXPECT_EQ(o()->BodySizeDistributionGroupC->Items()->ToStringList(), QStringList({"Data defined", "User defined"}));
    const TSizeOverlapOptions c = o()->Choices();
    EXPECT_EQ(c.MetricGroup, smSegmentVariance);
    EXPECT_EQ(c.TransformationGroup, stSizeRatios);
    EXPECT_EQ(c.RoundingGroup, srNone);
    EXPECT_EQ(c.BodySizeDistributionGroup, ssParametric);
    EXPECT_EQ(c.BodySizeDistributionGroupMain, sdUniform);
    EXPECT_EQ(c.BodySizeDistributionGroupC, spDataDefined);
    EXPECT_FALSE(o()->EditUserDefinedButton->Enabled());
    EXPECT_FALSE(o()->UserHistogramGroup->Enabled());
    EXPECT_FALSE(o()->EditButton->Visible());
    EXPECT_EQ(LeadingInt(o()->IterationsEdit->Text()), 1000);
    EXPECT_EQ(o()->RandomSeedEdit->Text(), "0");

    // Shown: the column titles, the data file, and the column chosen last time.
    Tarvix->RunSim = true;
    ShowOptions([] {
        EXPECT_EQ(o()->ColumnList->Items()->ToStringList(), QStringList({"c1", "c2"}));
        EXPECT_EQ(o()->ColumnList->ItemIndex(), 0);
        EXPECT_EQ(o()->FileEdit->Text(), Tarvix->FileName);
        EXPECT_FALSE(Tarvix->RunSim);
        o()->ColumnList->SetItemIndex(1);
        o()->Run1->Click();
    });
    EXPECT_TRUE(Tarvix->RunSim);
    EXPECT_EQ(o()->CurrentColumn, 1);
    ShowOptions([] {
        EXPECT_EQ(o()->ColumnList->ItemIndex(), 1);
        o()->Cancel1->Click();
    });
    EXPECT_FALSE(Tarvix->RunSim);
}

TEST_F(Options, DistributionChoicesOpenTheirDialogs)
{
    struct Case
    {
        int Distribution, Parameters;
        const char *Dialog;  // "": none
        bool Edit, Rounding;
    };
    // Each step changes one group from the state the step before left.
    const Case cases[] = {
        {sdUniform, spUserDefined, "SizeOverLapUD1", true, true},
        {sdNormal, spUserDefined, "SizeOverLapUD2", true, true},
        {sdLogUniform, spUserDefined, "SizeOverLapUD5", true, false},
        {sdLogNormal, spUserDefined, "SizeOverLapUD6", true, false},
        {sdLogNormal, spDataDefined, "", false, false},
        {sdNormal, spDataDefined, "", false, true},
    };
    TUiScript ui;
    DialogWatch watch(SizeDialogs());
    ShowOptions([&] {
        for (const Case &c : cases) {
            watch.Shown.clear();
            o()->BodySizeDistributionGroupMain->SetItemIndex(c.Distribution);
            o()->BodySizeDistributionGroupC->SetItemIndex(c.Parameters);
            EXPECT_EQ(watch.Shown, c.Dialog[0] ? QStringList(c.Dialog) : QStringList()) << c.Distribution;
            EXPECT_EQ(o()->EditUserDefinedButton->Enabled(), c.Edit) << c.Distribution;
            EXPECT_EQ(o()->RoundingGroup->Visible(), c.Rounding) << c.Distribution;
        }
        // "&Edit" opens the parameter dialog of the distribution again.
        o()->BodySizeDistributionGroupC->SetItemIndex(spUserDefined);
        watch.Shown.clear();
        o()->EditUserDefinedButton->Click();
        EXPECT_EQ(watch.Shown, QStringList("SizeOverLapUD2"));
    });
    EXPECT_TRUE(ui.Messages().isEmpty());
}

TEST_F(Options, HistogramOpensTheEditorAndParametricComesBackWithoutADialog)
{
    TUiScript ui;
    DialogWatch watch(SizeDialogs());
    ShowOptions([&] {
        o()->BodySizeDistributionGroup->SetItemIndex(ssHistogram);
        EXPECT_EQ(watch.Shown, QStringList("SizeOverLapUD3"));
        EXPECT_FALSE(o()->BodySizeDistributionGroupMain->Enabled());
        EXPECT_FALSE(o()->BodySizeDistributionGroupC->Enabled());
        EXPECT_TRUE(o()->EditUserDefinedButton->Enabled());
        EXPECT_TRUE(o()->UserHistogramGroup->Enabled());
        o()->EditUserDefinedButton->Click();
        EXPECT_EQ(watch.Shown, QStringList({"SizeOverLapUD3", "SizeOverLapUD3"}));

        watch.Shown.clear();
        o()->BodySizeDistributionGroup->SetItemIndex(ssParametric);
        EXPECT_TRUE(watch.Shown.isEmpty());
        EXPECT_TRUE(o()->BodySizeDistributionGroupMain->Enabled());
        EXPECT_TRUE(o()->BodySizeDistributionGroupC->Enabled());
        EXPECT_FALSE(o()->EditUserDefinedButton->Enabled());
        EXPECT_FALSE(o()->UserHistogramGroup->Enabled());
    });
    EXPECT_TRUE(ui.Messages().isEmpty());
}

TEST_F(Options, AColumnWithoutSizesChangesNothing)
{
    TUiScript ui;
    DialogWatch watch(SizeDialogs());
    ShowOptions([&] {
        o()->ColumnList->SetItemIndex(1);
        o()->BodySizeDistributionGroupMain->SetItemIndex(sdLogNormal);
        o()->BodySizeDistributionGroupC->SetItemIndex(spUserDefined);
    });
    EXPECT_EQ(ui.Messages(), QStringList({"Non-Zero Rows Must be > 0", "Non-Zero Rows Must be > 0"}));
    EXPECT_TRUE(watch.Shown.isEmpty());
    EXPECT_FALSE(o()->EditUserDefinedButton->Enabled());
    EXPECT_TRUE(o()->RoundingGroup->Visible());
}

TEST_F(Options, ResetDefaultsOpensNoDialog)
{
    TUiScript ui;
    DialogWatch watch(SizeDialogs());
    ShowOptions([&] {
        o()->BodySizeDistributionGroupMain->SetItemIndex(sdNormal);
        o()->BodySizeDistributionGroupC->SetItemIndex(spUserDefined);
        o()->MetricGroup->SetItemIndex(smMinimumSegment);
        o()->TransformationGroup->SetItemIndex(stSizeDifferences);
        o()->RoundingGroup->SetItemIndex(srInteger);
        o()->IterationsEdit->SetText("12");
        o()->RandomSeedEdit->SetText("9");
        o()->SaveMatrixCheckBox->SetChecked(true);
        o()->ColumnList->SetItemIndex(1);
        watch.Shown.clear();
        o()->ResetDefaults1->Click();
    });
    EXPECT_TRUE(watch.Shown.isEmpty());
    EXPECT_TRUE(ui.Messages().isEmpty());
    const TSizeOverlapOptions c = o()->Choices();
    EXPECT_EQ(o()->MetricGroup->Items()->Strings(c.MetricGroup), "Variance in segment length");
    EXPECT_EQ(o()->TransformationGroup->Items()->Strings(c.TransformationGroup), "Log (size ratios)");
    EXPECT_EQ(c.RoundingGroup, srNone);
    EXPECT_EQ(c.BodySizeDistributionGroup, ssParametric);
    EXPECT_EQ(c.BodySizeDistributionGroupMain, sdUniform);
    EXPECT_EQ(o()->BodySizeDistributionGroupC->Items()->Strings(c.BodySizeDistributionGroupC), "Data defined");
    EXPECT_FALSE(o()->EditUserDefinedButton->Enabled());
    EXPECT_TRUE(o()->IterationsEdit->EditText().startsWith("1000 ")) << o()->IterationsEdit->EditText().toStdString();
    EXPECT_EQ(LeadingInt(o()->IterationsEdit->Text()), 1000);
    EXPECT_EQ(o()->RandomSeedEdit->Text(), "0");
    EXPECT_FALSE(o()->SaveMatrixCheckBox->Checked());
    EXPECT_EQ(o()->CurrentColumn, 0);
    EXPECT_EQ(o()->FileEdit->Text(), Tarvix->FileName);
}
