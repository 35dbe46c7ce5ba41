// A 1000 x 1000 string grid scrolled to its last cell: one full-viewport paint, and one scroll
// step (top row moved by one, then repainted).
#include "framework/controls/Forms.h"
#include "bench/BenchMain.h"
#include "framework/grids/Grids.h"
#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

struct TGridScene
{
    TForm *form = new TForm(nullptr);
    TStringGrid *grid = new TStringGrid(form);
    QImage image;

    TGridScene()
    {
        form->SetBounds(0, 0, 1280, 1024);
        grid->SetParent(form);
        grid->SetAlign(alClient);
        grid->SetColCount(1000);
        grid->SetRowCount(1000);
        for (int r = 0; r < 1000; ++r)
            for (int c = 0; c < 1000; ++c)
                grid->SetCells(c, r, QString::number(r * 1000 + c));
        form->Show();
        QApplication::processEvents();
        grid->SetCol(999);
        grid->SetRow(999);
        image = QImage(grid->ClientWidget()->size(), QImage::Format_ARGB32_Premultiplied);
    }
    ~TGridScene() { delete form; }

    void paint() { grid->ClientWidget()->render(&image); }
};

// Made after the application object and freed before it.
TGridScene *g_scene = nullptr;

void BM_GridFullViewportPaint(benchmark::State &state)
{
    TGridScene &s = *g_scene;
    for (auto _ : state)
        s.paint();
    state.counters["cells"] = double((s.grid->VisibleColCount() + 2) * (s.grid->VisibleRowCount() + 2));
}
BENCHMARK(BM_GridFullViewportPaint)->Unit(benchmark::kMillisecond);

void BM_GridScrollStep(benchmark::State &state)
{
    TGridScene &s = *g_scene;
    const int bottom = s.grid->TopRow();
    bool up = true;
    for (auto _ : state) {
        s.grid->SetTopRow(up ? bottom - 1 : bottom);
        s.paint();
        up = !up;
    }
}
BENCHMARK(BM_GridScrollStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, [] { g_scene = new TGridScene; }, [] { delete g_scene; });
}
