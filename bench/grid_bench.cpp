// Full-viewport paints of string grids, and one scroll step (top row moved by one, then
// repainted): the plain grid of 1000 x 1000 numbers, and the grid component with the same
// numbers, with the same viewport on a 20 x 40 grid, and with mini-HTML cells.
#include "framework/controls/Forms.h"
#include "bench/BenchMain.h"
#include "framework/grids/Grids.h"
#include "grid/core/ProGrid.h"
#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

// A grid of Cols x Rows filled by Text, on a 1280 x 1024 form, scrolled to its last cell.
template <typename TGrid>
struct TGridScene
{
    TForm *form = new TForm(nullptr);
    TGrid *grid = new TGrid(form);
    QImage image;

    TGridScene(int Cols, int Rows, const std::function<QString(int, int)> &Text)
    {
        form->SetBounds(0, 0, 1280, 1024);
        grid->SetParent(form);
        grid->SetAlign(alClient);
        grid->SetColCount(Cols);
        grid->SetRowCount(Rows);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                grid->SetCells(c, r, Text(c, r));
        form->Show();
        QApplication::processEvents();
        grid->SetCol(Cols - 1);
        grid->SetRow(Rows - 1);
        image = QImage(grid->ClientWidget()->size(), QImage::Format_ARGB32_Premultiplied);
    }
    ~TGridScene() { delete form; }

    void paint() { grid->ClientWidget()->render(&image); }
    double cells() const { return double((grid->VisibleColCount() + 2) * (grid->VisibleRowCount() + 2)); }
};

QString Number(int c, int r) { return QString::number(r * 1000 + c); }
QString Html(int c, int r) { return QStringLiteral("<b>%1</b>").arg(r * 1000 + c); }

// Made after the application object and freed before it.
TGridScene<TStringGrid> *g_plain = nullptr;
TGridScene<TProStringGrid> *g_pro = nullptr;
TGridScene<TProStringGrid> *g_proSmall = nullptr;
TGridScene<TProStringGrid> *g_proHtml = nullptr;

template <typename TScene>
void RunPaint(benchmark::State &state, TScene &s)
{
    for (auto _ : state)
        s.paint();
    state.counters["cells"] = s.cells();
}

void BM_GridFullViewportPaint(benchmark::State &state) { RunPaint(state, *g_plain); }
BENCHMARK(BM_GridFullViewportPaint)->Unit(benchmark::kMillisecond);

void BM_GridScrollStep(benchmark::State &state)
{
    auto &s = *g_plain;
    const int bottom = s.grid->TopRow();
    bool up = true;
    for (auto _ : state) {
        s.grid->SetTopRow(up ? bottom - 1 : bottom);
        s.paint();
        up = !up;
    }
}
BENCHMARK(BM_GridScrollStep)->Unit(benchmark::kMillisecond);

// Goals: within 3 times BM_GridFullViewportPaint, and within 20% of the 20 x 40 grid.
void BM_ProGridFullViewportPaint(benchmark::State &state) { RunPaint(state, *g_pro); }
BENCHMARK(BM_ProGridFullViewportPaint)->Unit(benchmark::kMillisecond);

void BM_ProGridSmallViewportPaint(benchmark::State &state) { RunPaint(state, *g_proSmall); }
BENCHMARK(BM_ProGridSmallViewportPaint)->Unit(benchmark::kMillisecond);

// Goal: within 4 times BM_ProGridFullViewportPaint.
void BM_ProGridHTMLViewportPaint(benchmark::State &state) { RunPaint(state, *g_proHtml); }
BENCHMARK(BM_ProGridHTMLViewportPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(
        argc, argv,
        [] {
            g_plain = new TGridScene<TStringGrid>(1000, 1000, Number);
            g_pro = new TGridScene<TProStringGrid>(1000, 1000, Number);
            g_proSmall = new TGridScene<TProStringGrid>(20, 40, Number);
            g_proHtml = new TGridScene<TProStringGrid>(1000, 1000, Html);
        },
        [] {
            delete g_proHtml;
            delete g_proSmall;
            delete g_pro;
            delete g_plain;
        });
}
