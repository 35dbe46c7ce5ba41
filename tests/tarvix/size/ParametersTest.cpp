// The parameter dialogs of the user-defined sources: defaults from the data, tests of the edits,
// and when the defaults are computed again.
#include "tests/tarvix/size/Fixture.h"

class Parameters : public SizeFixture
{
protected:
    void SetUp() override
    {
        SizeFixture::SetUp();
        // Only the sizes > 0 count: 2, 5 and 10.
        SetColumns({{"2", "0", "5", "abc", "-4", "10"}, {"0.5", "0.2", "0", "", "x", "-1"}});
        ShowOptions([] {});
    }
    // Shows Dialog modally and runs Step while it is up.
    static void Show(TForm *Dialog, const std::function<void()> &Step = {})
    {
        WhileShown(Dialog, [Dialog] { Dialog->ShowModal(); }, Step);
    }
    static QStringList Edits(TSizeOverLapParameters *d)
    {
        QStringList out;
        if (d == SizeOverLapUD1) out << SizeOverLapUD1->MinimumEdit->Text() << SizeOverLapUD1->MaximumEdit->Text();
        if (d == SizeOverLapUD5) out << SizeOverLapUD5->MinimumEdit->Text() << SizeOverLapUD5->MaximumEdit->Text();
        if (d == SizeOverLapUD2) out << SizeOverLapUD2->MeanEdit->Text() << SizeOverLapUD2->SDEdit->Text();
        if (d == SizeOverLapUD6) out << SizeOverLapUD6->MeanEdit->Text() << SizeOverLapUD6->SDEdit->Text();
        return out;
    }
    static QStringList Shown(TSizeOverLapParameters *d)
    {
        QStringList e;
        Show(d, [&] { e = Edits(d); });
        return e;
    }
};

// Expected values by Python: 0.9 * log10(2), 1.1 * log10(10); mean and deviation of the logs.
TEST_F(Parameters, DefaultsComeFromTheSizesOnTheirScale)
{
    EXPECT_EQ(SizeOverLapUD1->Caption(), "Tarvix Professional: Untransformed end points");
    EXPECT_EQ(SizeOverLapUD6->Caption(), "Tarvix Professional: Transformed normal distribution ");
    EXPECT_EQ(SizeOverLapUD2->OkButton->Caption(), "&Use new distribution");
    EXPECT_EQ(SizeOverLapUD5->ResetButton->Caption(), "reset &Defaults");
    TUiScript ui;
    SizeOverlapOpts->TransformationGroup->SetItemIndex(stSizeRatios);
    EXPECT_EQ(Shown(SizeOverLapUD1), QStringList({"1.80000", "11.00000"}));
    EXPECT_EQ(Shown(SizeOverLapUD2), QStringList({"5.66667", "4.04145"}));
    EXPECT_EQ(Shown(SizeOverLapUD5), QStringList({"0.27093", "1.10000"}));
    EXPECT_EQ(Shown(SizeOverLapUD6), QStringList({"0.66667", "0.35060"}));
    EXPECT_TRUE(ui.Messages().isEmpty());

    // Sizes below 1 on the log scale: 0.9 and 1.1 times negative logs.
    SizeOverlapOpts->ColumnList->SetItemIndex(1);
    EXPECT_EQ(Shown(SizeOverLapUD5), QStringList({"-0.62907", "-0.33113"}));

    // On the raw scale the transformed dialogs propose raw values.
    SizeOverlapOpts->ColumnList->SetItemIndex(0);
    SizeOverlapOpts->TransformationGroup->SetItemIndex(stSizeDifferences);
    SizeOverLapUD5->ResetButton->Click();
    EXPECT_EQ(Edits(SizeOverLapUD5), QStringList({"1.80000", "11.00000"}));
}

TEST_F(Parameters, TestsRefuseTheEditsWithTheFirstFailure)
{
    struct Case
    {
        TSizeOverLapParameters *Dialog;
        const char *First, *Second;
        const char *Message;  // nullptr: taken
    };
    const Case cases[] = {
        {SizeOverLapUD1, "0", "5", "Minimum must be > 0."},
        {SizeOverLapUD1, "abc", "5", "Minimum must be > 0."},
        {SizeOverLapUD1, "2", "0", "Maximum must be > 0 "},
        {SizeOverLapUD1, "5", "5", "Maximum must be > Minimum "},
        {SizeOverLapUD1, "0.5", "5", nullptr},
        {SizeOverLapUD5, "-0.5", "0.3", nullptr},
        {SizeOverLapUD5, "0.3", "-0.5", "Maximum must be > Minimum "},
        {SizeOverLapUD2, "-1", "1", "Mean must be >= 0 "},
        {SizeOverLapUD2, "0", "0", "Standard deviation must be > 0 "},
        {SizeOverLapUD2, "0", "2", nullptr},
        {SizeOverLapUD6, "-1", "0.2", nullptr},
        {SizeOverLapUD6, "1", "-0.2", "Standard deviation must be > 0 "},
    };
    for (const Case &c : cases) {
        TUiScript ui;
        Tarvix->UserDefined = false;
        bool open = false;
        Show(c.Dialog, [&] {
            TEdit *first = static_cast<TEdit *>(c.Dialog->FindComponent(
                c.Dialog == SizeOverLapUD1 || c.Dialog == SizeOverLapUD5 ? "MinimumEdit" : "MeanEdit"));
            TEdit *second = static_cast<TEdit *>(c.Dialog->FindComponent(
                c.Dialog == SizeOverLapUD1 || c.Dialog == SizeOverLapUD5 ? "MaximumEdit" : "SDEdit"));
            first->SetText(QString::fromLatin1(c.First));
            second->SetText(QString::fromLatin1(c.Second));
            c.Dialog->OkButton->Click();
            // A modal dialog asked to close ends its loop once this step returns.
            open = c.Dialog->ModalResult() == mrNone;
            // Put good values back so that closing from here says nothing more.
            if (open) c.Dialog->ResetButton->Click();
        });
        const QString where = c.Dialog->Name() + " " + c.First + " " + c.Second;
        if (c.Message) {
            EXPECT_TRUE(open) << where.toStdString();
            EXPECT_EQ(ui.Messages(), QStringList(QString::fromLatin1(c.Message))) << where.toStdString();
        } else {
            EXPECT_FALSE(open) << where.toStdString();
            EXPECT_TRUE(ui.Messages().isEmpty()) << where.toStdString();
            // The end-point dialogs tell the main window that user values are in use.
            const bool uniform = c.Dialog == SizeOverLapUD1 || c.Dialog == SizeOverLapUD5;
            EXPECT_EQ(Tarvix->UserDefined, uniform) << where.toStdString();
            EXPECT_EQ(Edits(c.Dialog), QStringList({c.First, c.Second})) << where.toStdString();
        }
    }
}

TEST_F(Parameters, ClosingTheEndPointsWithBadValuesPutsTheDefaultsBack)
{
    TUiScript ui;
    Show(SizeOverLapUD1, [] {
        SizeOverLapUD1->MinimumEdit->SetText("0");
        SizeOverLapUD1->OkButton->Click();
        EXPECT_EQ(SizeOverLapUD1->ModalResult(), mrNone);
        SizeOverLapUD1->Close();  // the close box
    });
    EXPECT_EQ(ui.Messages(), QStringList({"Minimum must be > 0.", "Minimum must be > 0.", "Resetting defaults!"}));
    EXPECT_EQ(Edits(SizeOverLapUD1), QStringList({"1.80000", "11.00000"}));
    // The normal dialogs close with whatever the edits hold.
    TUiScript ui2;
    Show(SizeOverLapUD2, [] { SizeOverLapUD2->SDEdit->SetText("-3"); });
    EXPECT_TRUE(ui2.Messages().isEmpty());
    EXPECT_EQ(SizeOverLapUD2->SDEdit->Text(), "-3");
}

TEST_F(Parameters, AColumnWithoutSizesClosesTheDialogAtOnce)
{
    SetColumns({{"0", "abc", "-1"}});
    ShowOptions([] {});
    for (TSizeOverLapParameters *d :
         std::vector<TSizeOverLapParameters *>{SizeOverLapUD1, SizeOverLapUD2, SizeOverLapUD5, SizeOverLapUD6}) {
        TUiScript ui;
        bool stepped = false;
        Show(d, [&] { stepped = true; });
        EXPECT_EQ(ui.Messages(), QStringList("Non-Zero Rows Must be > 0")) << d->Name().toStdString();
        EXPECT_FALSE(d->Visible());
        EXPECT_FALSE(stepped) << d->Name().toStdString();
    }
}

TEST_F(Parameters, DefaultsFollowTheFileAndTheColumn)
{
    TUiScript ui;
    const auto edit = [](TSizeOverLapParameters *d, const char *v) {
        Show(d, [d, v] {
            static_cast<TEdit *>(d->FindComponent(d == SizeOverLapUD1 ? "MinimumEdit" : "MeanEdit"))
                ->SetText(QString::fromLatin1(v));
        });
    };
    edit(SizeOverLapUD1, "1.5");
    edit(SizeOverLapUD2, "4");
    // Shown again on the same file and column: the user's values stay.
    EXPECT_EQ(Shown(SizeOverLapUD1)[0], "1.5");
    EXPECT_EQ(Shown(SizeOverLapUD2)[0], "4");
    // Another data file: the end points are computed again, the normal law stays.
    Tarvix->FileName = Path("other.txt");
    EXPECT_EQ(Shown(SizeOverLapUD1)[0], "1.80000");
    EXPECT_EQ(Shown(SizeOverLapUD2)[0], "4");
    // Another column: both are computed again.
    SizeOverlapOpts->ColumnList->SetItemIndex(1);
    EXPECT_EQ(Shown(SizeOverLapUD2), QStringList({"0.35000", "0.21213"}));
    EXPECT_EQ(Shown(SizeOverLapUD1), QStringList({"0.18000", "0.55000"}));
    EXPECT_TRUE(ui.Messages().isEmpty());
}
