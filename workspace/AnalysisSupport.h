#pragma once
// Small pieces every analysis's forms use: menu commands, seeding, the options dialogs' pages and
// column lists, and the results windows' pages, memos, charts and summary lines.
#include "framework/charts/Chart.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Mask.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/grids/Grids.h"
#include "workspace/TarvixHelpers.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <span>
#include <utility>
#include <cstdint>

// A menu item under Parent, owned by Form, that calls Handler of Form when clicked (none: no action).
template <typename TF>
TMenuItem *AddMenuCommand(TF *Form, TMenuItem *Parent, const char *Name, const QString &Caption,
                          void (TF::*Handler)(TObject *) = nullptr)
{
    auto *item = new TMenuItem(Form);
    item->SetName(QLatin1String(Name));
    item->SetCaption(Caption);
    if (Handler) item->OnClick = [Form, Handler](TObject *Sender) { (Form->*Handler)(Sender); };
    Parent->Add(item);
    return item;
}

// Seeds the random source from an options dialog's seed: the seed itself when it is 1 or more,
// otherwise the clock (always a positive 32-bit seed, so the one reported reproduces the run).
// Gives the seed to report.
int32_t SeedRandomSource(int32_t Seed);
// The same from a seed edit's integer; a number beyond 32 bits seeds from the clock.
int32_t SeedFromEdit(const TEdit *Edit);
// The main window's iteration count; false, after "Iterations must be > 0.", below one (a blank
// count reads as 0), so that no statistic divides by zero.
bool TakeIterations(int32_t &Iterations);

// Results windows: a read-only memo without word wrap, a string grid filling its parent, and a
// memo's lines replaced at once.
TMemo *NewResultMemo(TComponent *Owner, TWinControl *Parent, const char *Name, int Left, int Top, int Width,
                     int Height);
TStringGrid *NewResultGrid(TComponent *Owner, TWinControl *Parent, const char *Name);
void SetMemoLines(TMemo *M, const QStringList &Lines);
// The two-column tests' "InputGrid" and "SimulationGrid": row title, first and second chosen
// column, filling their pages.
void AddTwoColumnGrids(TComponent *Owner, TWinControl *InputSheet, TWinControl *SimulationSheet, TStringGrid *&Input,
                       TStringGrid *&Simulation);
// Line k of a memo, empty past its end.
QString MemoLine(TMemo *M, int k);
// The summary's histogram lines: line i of the bin-edge text, two spaces and line i of the count
// text, for i below Count.
QStringList HistogramSummaryLines(const QString &Edges, const QString &Counts, int Count);

// The "General" page every options dialog shares: data file, iteration count, seed and the
// "&Save simulated matrices" box, with their labels, hints and defaults.
struct TGeneralPage
{
    TLabel *FileLabel, *IterationsLabel, *RandomSeedLabel;
    TEdit *FileEdit;
    TMaskEdit *IterationsEdit;
    TEdit *RandomSeedEdit;
    TCheckBox *SaveMatrixCheckBox;
};
TGeneralPage AddGeneralPage(TComponent *Owner, TWinControl *Sheet, const QString &Mask, const QString &Iterations,
                            const QString &IterationsHint);

// Two-column tests: both lists get the main grid's column titles (list item i is grid column
// i + 1); false, with "At least two columns required.", below two columns.
bool ColumnTitlesToLists(TComboBox *First, TComboBox *Second);
// Selects the remembered items, or the first two when a narrower file left them behind.
void SelectColumnItems(TComboBox *First, TComboBox *Second, int32_t FirstItem, int32_t SecondItem);
// Item Index of a list, empty when the list has no such item.
QString ItemText(const TComboBox *List, int32_t Index);
// A labelled drop-down list of column titles, at Top of a dialog page.
TComboBox *AddColumnList(TComponent *Owner, TWinControl *Sheet, const char *Name, const QString &Caption, int Top,
                         TLabel *&Label);
// An options dialog's two pages, "Preferences" and "General", in a page control filling Form.
struct TOptionsPages
{
    TPageControl *PageControl;
    TTabSheet *Preferences, *General;
};
TOptionsPages AddOptionsPages(TForm *Form);

// Results windows: a page control filling Form with one page per caption, in order.
TPageControl *AddResultPages(TForm *Form, std::initializer_list<std::pair<TTabSheet **, QString>> Pages);
// The editable "Summary" memo and the "Time" memo.
void AddSummaryAndTime(TComponent *Owner, TTabSheet *SummarySheet, TTabSheet *TimeSheet, TMemo *&Summary,
                       TMemo *&Time);
// A statistic's page: the observed value beside its histogram (edges and counts), the result
// lines below.
struct TStatisticPage
{
    TGroupBox *ObservedGroup, *HistogramGroup;
    TMemo *Observed, *Edges, *Counts, *Block;
};
TStatisticPage AddStatisticPage(TComponent *Owner, TWinControl *Page, const QString &ObservedCaption,
                                const char *ObservedName, const char *EdgesName, const char *CountsName,
                                const char *BlockName);
// Shows a result block: the value on the line of its bin, the bin edges and the counts.
void ShowHistogram(const TStatisticPage &Page, const QString &Position, const QString &Observed, const QString &Edges,
                   const QString &Counts);
// A 300 x 300 chart at Left with a point series (blue) and a line series (red) and no legend.
TChart *NewPointLineChart(TComponent *Owner, TWinControl *Parent, const QString &Title, int Left,
                          TPointSeries *&Points, TLineSeries *&Line);
// Adds the points to a series in ascending X, as the charts keep them (ties in their order).
void AddPointsInXOrder(TChartSeries *Series, std::span<const double> X, std::span<const double> Y);
// A regression chart: Points gets the cloud; Line the fitted line of the given slope through the
// means of X and Y, drawn from x = 0 over the means to XMax.
void RegressionChartDisplay(TPointSeries *Points, TLineSeries *Line, std::span<const double> X,
                            std::span<const double> Y, double Slope, double XMax);
// "Su&mmary": asks for a file ("summary.txt") and saves the memo's lines there.
void SaveSummaryAs(TSaveDialog *Dialog, TMemo *Summary);
// The summary's separator: 46 underscores.
QString SummaryRule();
// One line per grid row, every cell followed by one space.
QStringList GridTextLines(const TStringGrid *Grid);
// A statistic's seven result lines: the observed value, a blank, the mean and the variance of
// the simulated values, a blank, and the two tails. Labels end in " = ".
QStringList ResultLines(const QString &ObservedLabel, const QString &Observed, const QString &MeanLabel,
                        const QString &Mean, const QString &VarianceLabel, const QString &Variance, const QString &P1,
                        const QString &P2);
// One statistic's block of a summary: its header, the observed value, mean and variance, a blank,
// the three counts, the effect size and both tails, a blank, the 13 histogram lines, the
// separator and a blank. Labels end in " = ".
struct TSummaryLabels
{
    const char *Header, *Observed, *Mean, *Variance, *Less, *Equal, *Greater;
};
QStringList StatisticSummaryLines(const TSummaryLabels &Labels, const QString &Observed, const QString &Mean,
                                  const QString &Variance, const QString &Less, const QString &Equal,
                                  const QString &Greater, const QString &Ses, const QString &P1, const QString &P2,
                                  const QString &Edges, const QString &Counts);
// The "INDEX" block of a summary after its header: the result lines, the counts, the effect
// size and the 14 histogram lines.
QStringList IndexSummaryLines(const QString &Observed, const QString &Mean, const QString &Variance, const QString &P1,
                              const QString &P2, const QString &Less, const QString &Equal, const QString &Greater,
                              const QString &Ses, const QString &Edges, const QString &Counts);
// The end of a finished run: the batch summary row, then in batch mode the summary files,
// otherwise the results window; the progress window closes in either case.
void FinishResultsRun(TForm *Results, TMemo *Summary, const QString &Ses, const QString &P1, const QString &P2);
