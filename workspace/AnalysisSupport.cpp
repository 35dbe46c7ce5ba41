#include "workspace/AnalysisSupport.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "framework/controls/Dialogs.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"

#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

int32_t SeedRandomSource(int32_t Seed)
{
    if (Seed >= 1) RandSeed = static_cast<uint32_t>(Seed);
    else Randomize();
    return static_cast<int32_t>(RandSeed);
}

int32_t SeedFromEdit(const TEdit *Edit)
{
    int32_t seed = 0;
    try {
        seed = LeadingInt(Edit->Text());
    } catch (const EConvertError &) {
        seed = 0;
    }
    return SeedRandomSource(seed);
}

bool TakeIterations(int32_t &Iterations)
{
    Iterations = Tarvix->Iterations;
    if (Iterations >= 1) return true;
    ShowMessage(QStringLiteral("Iterations must be > 0."));
    return false;
}

TMemo *NewResultMemo(TComponent *Owner, TWinControl *Parent, const char *Name, int Left, int Top, int Width,
                     int Height)
{
    auto *m = new TMemo(Owner);
    m->SetName(QLatin1String(Name));
    m->SetParent(Parent);
    m->SetBounds(Left, Top, Width, Height);
    m->SetReadOnly(true);
    m->SetWordWrap(false);
    return m;
}

TStringGrid *NewResultGrid(TComponent *Owner, TWinControl *Parent, const char *Name)
{
    auto *g = new TStringGrid(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetAlign(alClient);
    return g;
}

void AddTwoColumnGrids(TComponent *Owner, TWinControl *InputSheet, TWinControl *SimulationSheet, TStringGrid *&Input,
                       TStringGrid *&Simulation)
{
    Input = NewResultGrid(Owner, InputSheet, "InputGrid");
    Input->SetHint(QStringLiteral("Original data matrix"));
    Input->SetColCount(3);
    Simulation = NewResultGrid(Owner, SimulationSheet, "SimulationGrid");
    Simulation->SetHint(QStringLiteral("Most recent simulated matrix"));
    Simulation->SetColCount(3);
}

void SetMemoLines(TMemo *M, const QStringList &Lines)
{
    // One text for the whole memo: a summary that lists a large matrix would otherwise be laid
    // out again for every line added.
    if (Lines.isEmpty()) {
        M->Lines()->Clear();
        return;
    }
    qsizetype size = 0;
    for (const QString &l : Lines) size += l.size() + 1;
    QString text;
    text.reserve(size);
    for (const QString &l : Lines) {
        text += l;
        text += QLatin1Char('\n');
    }
    // Breaks inside a line are made the memo's own first.
    if (text.contains(QLatin1Char('\r'))) M->Lines()->SetText(text);
    else M->SetLinesText(text);
}

QString MemoLine(TMemo *M, int k) { return k < M->Lines()->Count() ? M->Lines()->Strings(k) : QString(); }

QStringList HistogramSummaryLines(const QString &Edges, const QString &Counts, int Count)
{
    const QStringList e = Edges.split(QStringLiteral("\r\n"));
    const QStringList c = Counts.split(QStringLiteral("\r\n"));
    QStringList lines;
    for (int i = 0; i < Count; ++i)
        lines << (i < e.size() ? e[i] : QString()) + QStringLiteral("  ") + (i < c.size() ? c[i] : QString());
    return lines;
}

TGeneralPage AddGeneralPage(TComponent *Owner, TWinControl *Sheet, const QString &Mask, const QString &Iterations,
                            const QString &IterationsHint)
{
    TGeneralPage p{};
    const auto label = [&](const QString &Caption, int Top) {
        auto *l = new TLabel(Owner);
        l->SetParent(Sheet);
        l->SetCaption(Caption);
        l->SetBounds(16, Top + 3, 150, 17);
        return l;
    };
    p.FileLabel = label(QStringLiteral("Data file:"), 16);
    p.FileEdit = new TEdit(Owner);
    p.FileEdit->SetName(QStringLiteral("FileEdit"));
    p.FileEdit->SetParent(Sheet);
    p.FileEdit->SetBounds(170, 16, 330, 24);
    p.FileEdit->SetReadOnly(true);
    p.FileEdit->SetText(QStringLiteral("Untitled.txt"));
    p.IterationsLabel = label(QStringLiteral("Number of iterations:"), 50);
    p.IterationsEdit = new TMaskEdit(Owner);
    p.IterationsEdit->SetName(QStringLiteral("IterationsEdit"));
    p.IterationsEdit->SetParent(Sheet);
    p.IterationsEdit->SetBounds(170, 50, 90, 24);
    p.IterationsEdit->SetEditMask(Mask);
    p.IterationsEdit->SetText(Iterations);
    p.IterationsEdit->SetHint(IterationsHint);
    p.IterationsEdit->SetShowHint(true);
    p.RandomSeedLabel = label(QStringLiteral("Random number seed:"), 84);
    p.RandomSeedEdit = new TEdit(Owner);
    p.RandomSeedEdit->SetName(QStringLiteral("RandomSeedEdit"));
    p.RandomSeedEdit->SetParent(Sheet);
    p.RandomSeedEdit->SetBounds(170, 84, 90, 24);
    p.RandomSeedEdit->SetText(QStringLiteral("0"));
    p.RandomSeedEdit->SetHint(QStringLiteral("0 = system clock. Enter a positive integer to set a random seed. "));
    p.RandomSeedEdit->SetShowHint(true);
    p.IterationsLabel->SetFocusControl(p.IterationsEdit);
    p.RandomSeedLabel->SetFocusControl(p.RandomSeedEdit);
    p.SaveMatrixCheckBox = new TCheckBox(Owner);
    p.SaveMatrixCheckBox->SetName(QStringLiteral("SaveMatrixCheckBox"));
    p.SaveMatrixCheckBox->SetParent(Sheet);
    p.SaveMatrixCheckBox->SetCaption(QStringLiteral("&Save simulated matrices"));
    p.SaveMatrixCheckBox->SetBounds(16, 122, 250, 22);
    return p;
}

bool ColumnTitlesToLists(TComboBox *First, TComboBox *Second)
{
    First->Clear();
    Second->Clear();
    TProStringGrid *main = Tarvix->MainGrid;
    for (int c = 1; c < main->ColCount(); ++c) {
        First->Items()->Add(main->Cells(c, 0));
        Second->Items()->Add(main->Cells(c, 0));
    }
    if (First->Items()->Count() < 2) {
        ShowMessage(QStringLiteral("At least two columns required."));
        return false;
    }
    First->SetItemIndex(0);
    Second->SetItemIndex(1);
    return true;
}

void SelectColumnItems(TComboBox *First, TComboBox *Second, int32_t FirstItem, int32_t SecondItem)
{
    const int count = First->Items()->Count();
    const bool fits = FirstItem >= 0 && FirstItem < count && SecondItem >= 0 && SecondItem < count;
    First->SetItemIndex(fits ? FirstItem : 0);
    Second->SetItemIndex(fits ? SecondItem : 1);
}

QString ItemText(const TComboBox *List, int32_t Index)
{
    return Index >= 0 && Index < List->Items()->Count() ? List->Items()->Get(Index) : QString();
}

TComboBox *AddColumnList(TComponent *Owner, TWinControl *Sheet, const char *Name, const QString &Caption, int Top,
                         TLabel *&Label)
{
    Label = new TLabel(Owner);
    Label->SetParent(Sheet);
    Label->SetCaption(Caption);
    Label->SetBounds(16, Top, 230, 17);
    auto *l = new TComboBox(Owner);
    l->SetName(QLatin1String(Name));
    l->SetParent(Sheet);
    l->SetStyle(csDropDownList);
    l->SetBounds(16, Top + 20, 230, 24);
    Label->SetFocusControl(l);
    return l;
}

TOptionsPages AddOptionsPages(TForm *Form)
{
    TOptionsPages p{};
    p.PageControl = new TPageControl(Form);
    p.PageControl->SetParent(Form);
    p.PageControl->SetAlign(alClient);
    const auto sheet = [&](const QString &Caption) {
        auto *s = new TTabSheet(Form);
        s->SetPageControl(p.PageControl);
        s->SetCaption(Caption);
        return s;
    };
    p.Preferences = sheet(QStringLiteral("Preferences"));
    p.General = sheet(QStringLiteral("General"));
    return p;
}

TPageControl *AddResultPages(TForm *Form, std::initializer_list<std::pair<TTabSheet **, QString>> Pages)
{
    auto *control = new TPageControl(Form);
    control->SetParent(Form);
    control->SetAlign(alClient);
    for (const auto &[sheet, caption] : Pages) {
        *sheet = new TTabSheet(Form);
        (*sheet)->SetPageControl(control);
        (*sheet)->SetCaption(caption);
    }
    return control;
}

void AddSummaryAndTime(TComponent *Owner, TTabSheet *SummarySheet, TTabSheet *TimeSheet, TMemo *&Summary,
                       TMemo *&Time)
{
    Summary = NewResultMemo(Owner, SummarySheet, "Memo1", 0, 0, 10, 10);
    Summary->SetAlign(alClient);
    Summary->SetReadOnly(false);
    Summary->SetScrollBars(ssVertical);
    Summary->SetHint(QStringLiteral("You can annotate and edit this output."));
    Summary->SetShowHint(true);
    Time = NewResultMemo(Owner, TimeSheet, "TimeMemo", 0, 0, 10, 10);
    Time->SetAlign(alClient);
}

TStatisticPage AddStatisticPage(TComponent *Owner, TWinControl *Page, const QString &ObservedCaption,
                                const char *ObservedName, const char *EdgesName, const char *CountsName,
                                const char *BlockName)
{
    TStatisticPage p{};
    p.ObservedGroup = new TGroupBox(Owner);
    p.ObservedGroup->SetParent(Page);
    p.ObservedGroup->SetCaption(ObservedCaption);
    p.ObservedGroup->SetBounds(8, 8, 170, 260);
    p.HistogramGroup = new TGroupBox(Owner);
    p.HistogramGroup->SetParent(Page);
    p.HistogramGroup->SetCaption(QStringLiteral("Histogram.....................................    # Simulations "));
    p.HistogramGroup->SetBounds(184, 8, 430, 260);
    p.Observed = NewResultMemo(Owner, p.ObservedGroup, ObservedName, 6, 20, 158, 232);
    p.Edges = NewResultMemo(Owner, p.HistogramGroup, EdgesName, 6, 20, 260, 232);
    p.Counts = NewResultMemo(Owner, p.HistogramGroup, CountsName, 272, 20, 150, 232);
    p.Block = NewResultMemo(Owner, Page, BlockName, 8, 276, 606, 160);
    return p;
}

void ShowHistogram(const TStatisticPage &Page, const QString &Position, const QString &Observed, const QString &Edges,
                   const QString &Counts)
{
    Page.Observed->SetText(Position + Observed + QStringLiteral(".........>"));
    Page.Edges->SetText(Edges);
    Page.Counts->SetText(Counts);
}

TChart *NewPointLineChart(TComponent *Owner, TWinControl *Parent, const QString &Title, int Left,
                          TPointSeries *&Points, TLineSeries *&Line)
{
    auto *chart = new TChart(Owner);
    chart->SetParent(Parent);
    chart->SetBounds(Left, 8, 300, 300);
    chart->SetTitle(Title);
    chart->SetLegendVisible(false);
    auto points = std::make_unique<TPointSeries>();
    points->SetPointerSize(2);
    points->SetPointerStyle(psCircle);
    Points = points.get();
    chart->AddSeries(std::move(points));
    auto line = std::make_unique<TLineSeries>();
    line->SetLinePenWidth(1);
    line->SetLinePenStyle(psDot);
    line->SetPointerVisible(true);
    line->SetPointerSize(1);
    Line = line.get();
    chart->AddSeries(std::move(line));
    return chart;
}

void AddPointsInXOrder(TChartSeries *Series, std::span<const double> X, std::span<const double> Y)
{
    std::vector<int32_t> order(std::min(X.size(), Y.size()));
    for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int32_t>(k);
    std::stable_sort(order.begin(), order.end(), [&X](int32_t a, int32_t b) { return X[a] < X[b]; });
    for (int32_t k : order) Series->AddXY(X[k], Y[k]);
}

void RegressionChartDisplay(TPointSeries *Points, TLineSeries *Line, std::span<const double> X,
                            std::span<const double> Y, double Slope, double XMax)
{
    Points->Clear();
    Line->Clear();
    AddPointsInXOrder(Points, X, Y);
    const auto n = static_cast<int32_t>(std::min(X.size(), Y.size()));
    double mx = 0, my = 0, v = 0;
    MeanVariance(n, X, mx, v);
    MeanVariance(n, Y, my, v);
    const double b = my - Slope * mx;
    Line->AddXY(0, b);
    Line->AddXY(mx, my);
    Line->AddXY(XMax, Slope * XMax + b);
}

void SaveSummaryAs(TSaveDialog *Dialog, TMemo *Summary)
{
    Dialog->SetTitle(QStringLiteral("Select a file name."));
    Dialog->SetFilter(QStringLiteral("Text files(*.txt)|*.txt|All files(*.*)|*.*"));
    Dialog->SetFileName(QStringLiteral("summary.txt"));
    if (!Dialog->Execute()) return;
    try {
        Summary->Lines()->SaveToFile(Dialog->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

QString SummaryRule() { return QString(46, QLatin1Char('_')); }

QStringList GridTextLines(const TStringGrid *Grid)
{
    QStringList lines;
    lines.reserve(Grid->RowCount());
    for (int r = 0; r < Grid->RowCount(); ++r) {
        QString line;
        for (int c = 0; c < Grid->ColCount(); ++c) {
            line += Grid->Cells(c, r);
            line += QLatin1Char(' ');
        }
        lines << line;
    }
    return lines;
}

QStringList ResultLines(const QString &ObservedLabel, const QString &Observed, const QString &MeanLabel,
                        const QString &Mean, const QString &VarianceLabel, const QString &Variance, const QString &P1,
                        const QString &P2)
{
    return {ObservedLabel + Observed,
            QString(),
            MeanLabel + Mean,
            VarianceLabel + Variance,
            QString(),
            QStringLiteral("p(observed <= expected) = ") + P1,
            QStringLiteral("p(observed >= expected) = ") + P2};
}

QStringList StatisticSummaryLines(const TSummaryLabels &Labels, const QString &Observed, const QString &Mean,
                                  const QString &Variance, const QString &Less, const QString &Equal,
                                  const QString &Greater, const QString &Ses, const QString &P1, const QString &P2,
                                  const QString &Edges, const QString &Counts)
{
    QStringList s;
    s << QLatin1String(Labels.Header);
    s << QLatin1String(Labels.Observed) + Observed;
    s << QLatin1String(Labels.Mean) + Mean;
    s << QLatin1String(Labels.Variance) + Variance;
    s << QString();
    s << QLatin1String(Labels.Less) + Less;
    s << QLatin1String(Labels.Equal) + Equal;
    s << QLatin1String(Labels.Greater) + Greater;
    s << QStringLiteral("Standardized Effect Size = ") + Ses;
    s << QStringLiteral("p(observed <= expected) = ") + P1;
    s << QStringLiteral("p(observed >= expected) = ") + P2;
    s << QString();
    s << QStringLiteral("Simulation frequencies:") << QStringLiteral("Histogram          # Simulations");
    s << HistogramSummaryLines(Edges, Counts, 13);
    s << SummaryRule() << QString();
    return s;
}

QStringList IndexSummaryLines(const QString &Observed, const QString &Mean, const QString &Variance, const QString &P1,
                              const QString &P2, const QString &Less, const QString &Equal, const QString &Greater,
                              const QString &Ses, const QString &Edges, const QString &Counts)
{
    QStringList s;
    s << QStringLiteral("Observed index = ") + Observed;
    s << QStringLiteral("Mean of simulated indices = ") + Mean;
    s << QStringLiteral("Variance of simulated indices = ") + Variance;
    s << QStringLiteral("p(observed <= expected) = ") + P1;
    s << QStringLiteral("p(observed >= expected) = ") + P2;
    s << QString();
    s << QStringLiteral("Number of times observed index < simulated indices = ") + Less;
    s << QStringLiteral("Number of times observed index = simulated indices = ") + Equal;
    s << QStringLiteral("Number of times observed index > simulated indices = ") + Greater;
    s << QStringLiteral("Standardized Effect Size = ") + Ses;
    s << QString();
    s << QStringLiteral("Simulation frequencies:") << QStringLiteral("Histogram          # Simulations");
    s << HistogramSummaryLines(Edges, Counts, 14);
    return s;
}

void FinishResultsRun(TForm *Results, TMemo *Summary, const QString &Ses, const QString &P1, const QString &P2)
{
    Tarvix->BuildBatchSummaryFirstRow();
    Tarvix->BuildBatchSummaryFile(Tarvix->FileName, Ses, P1, P2);
    if (Tarvix->BatchSwitch && Tarvix->Flag) {
        const bool saved = Tarvix->SaveBatchSummary(Summary);
        // Closed after every file: the batch may end here, with nothing left to close it.
        Progress->Close();
        if (!saved) {
            ShowMessage(QStringLiteral("Batch processing error."));
            Tarvix->InterruptFlag = true;
        }
        return;
    }
    Progress->Close();
    Results->ShowModal();
}
