#pragma once
// The main window with a small analysis of our own behind an Analyze item: an options dialog
// that answers Run or Cancel as soon as it is shown, and a results form whose Run ends the way
// every analysis ends (a summary row, and in batch mode the summary files).
#include "framework/controls/Dialogs.h"
#include "framework/controls/Mask.h"
#include "framework/controls/UiSeam.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/SysUtils.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"
#include "workspace/ChangeDirectory.h"

#include <QTimer>
#include <functional>

class TTestOpts : public TForm
{
public:
    explicit TTestOpts(TComponent *AOwner) : TForm(AOwner)
    {
        IterationsEdit = new TMaskEdit(this);
        IterationsEdit->SetParent(this);
        IterationsEdit->SetText(QStringLiteral("1000"));
        RandomSeedEdit = new TEdit(this);
        RandomSeedEdit->SetParent(this);
        RandomSeedEdit->SetText(QStringLiteral("0"));
        SaveMatrixCheckBox = new TCheckBox(this);
        SaveMatrixCheckBox->SetParent(this);
        OnShow = [this](TObject *) {
            ++Shown;
            QTimer::singleShot(0, [this] { Answer ? Run1Click(this) : Cancel1Click(this); });
        };
    }

    void Run1Click(TObject *)
    {
        Tarvix->RunSim = true;
        Close();
    }
    void Cancel1Click(TObject *)
    {
        Tarvix->RunSim = false;
        Close();
    }

    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
    bool Answer = true;
    int Shown = 0;
};

// The chi-square dialog's extra: an expected matrix that the test fills.
class TTestChiOpts : public TTestOpts
{
public:
    explicit TTestChiOpts(TComponent *AOwner) : TTestOpts(AOwner)
    {
        ExpectedGrid = new TStringGrid(this);
        ExpectedGrid->SetColCount(2);
        ExpectedGrid->SetRowCount(2);
        ExpectedGrid->SetCells(1, 1, QStringLiteral("1"));
    }
    bool CalculateExpectedMatrix()
    {
        Calculated << ExtractFileName(Tarvix->FileName);
        return Calculates;
    }

    TStringGrid *ExpectedGrid;
    bool Calculates = true;
    QStringList Calculated;
};

class TTestResults : public TForm
{
public:
    explicit TTestResults(TComponent *AOwner) : TForm(AOwner)
    {
        Summary = new TMemo(this);
        Summary->SetParent(this);
    }

    void Run()
    {
        Files << ExtractFileName(Tarvix->FileName);
        Summary->Lines()->SetText(QStringLiteral("summary of ") + ExtractFileName(Tarvix->FileName));
        if (OnRun)
            OnRun();
        Tarvix->BuildBatchSummaryFirstRow();
        Tarvix->BuildBatchSummaryFile(Tarvix->FileName, QStringLiteral("1.50000"), QStringLiteral("0.25000"),
                                      QStringLiteral("0.75000"));
        if (Tarvix->BatchSwitch && Tarvix->Flag && !Tarvix->SaveBatchSummary(Summary)) {
            ShowMessage(QStringLiteral("Batch processing error."));
            Tarvix->InterruptFlag = true;
        }
    }

    TMemo *Summary;
    QStringList Files;
    std::function<void()> OnRun;
};

inline TTestOpts *TestOpts = nullptr;
inline TTestChiOpts *TestChiOpts = nullptr;
inline TTestResults *TestResults = nullptr;

class BatchFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ChangeDirectory = create<TChangeDirectory>();
        TestOpts = create<TTestOpts>();
        TestChiOpts = create<TTestChiOpts>();
        TestResults = create<TTestResults>();
        Tarvix->Analyses[akGuildStructure] = LinkAnalysis(TestOpts, TestResults);
        Tarvix->Analyses[akChiSquare] = LinkAnalysis(TestChiOpts, TestResults);
    }

    void TearDown() override
    {
        destroy(TestResults);
        destroy(TestChiOpts);
        destroy(TestOpts);
        destroy(ChangeDirectory);
        MainWindowFixture::TearDown();
    }

    // A small matrix file the batch reader accepts.
    void WriteMatrix(const QString &Name, const QByteArray &Cell = "1") const
    {
        Write(Name, "species site1 site2\r\nsp1 " + Cell + " 1\r\nsp2 1 " + Cell + "\r\n");
    }

    void SetBatchList(const QStringList &Lines) { Tarvix->Memo1->Lines()->SetText(Lines.join(QStringLiteral("\r\n"))); }

    QStringList SummaryRows() const
    {
        QStringList rows;
        for (int r = 0; r < Tarvix->BatchGrid->RowCount(); ++r)
            rows << Tarvix->BatchGrid->Rows(r)->ToStringList().join(QLatin1Char(' '));
        return rows;
    }
};
