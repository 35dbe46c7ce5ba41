// Mini-HTML layout: 1,000 texts of 200 characters and one text of 100,000 characters, both
// measured word-wrapped in a 200-pixel column. Per character the long text should cost at most
// twice the short ones: the layout walks the text once, whatever its length.
#include "bench/BenchMain.h"
#include "grid/core/PsgHTMLE.h"
#include <benchmark/benchmark.h>

namespace {

// Words, some bold, some links, with an entity now and then; exactly Length characters.
QString MakeText(int Length, uint32_t seed)
{
    static const char *const pieces[] = {"alpha ", "<b>beta</b> ", "gamma ", "<a href=\"x\">delta</a> ",
                                         "eps&amp;ilon ", "<i>zeta</i> ", "eta ", "<font color=\"clred\">theta</font> "};
    QString s;
    uint32_t state = seed;
    while (s.size() < Length) {
        state = state * 134775813u + 1u;
        s += QLatin1String(pieces[state >> 29]);
    }
    s.truncate(Length);
    // Never end inside a tag.
    const qsizetype lt = s.lastIndexOf(QLatin1Char('<')), gt = s.lastIndexOf(QLatin1Char('>'));
    if (lt > gt)
        s.replace(lt, s.size() - lt, QString(s.size() - lt, QLatin1Char('x')));
    return s;
}

void Layout(TCanvas *c, const QString &text)
{
    QString anchor, strip, focus, title, id, value, type;
    int32_t xs, ys, links, mouse;
    TRect hover, ctrl;
    DrawHTMLText(c, text, TRect(0, 0, 200, 100), nullptr, -1, -1, -1, -1, 1, false, true, false, false, true, false,
                 true, false, 1.0, 0xFF0000, clNone, clNone, 0x808080, anchor, strip, focus, title, xs, ys, links,
                 mouse, hover, ctrl, id, value, type, nullptr, nullptr, 0, bdLeftToRight);
    benchmark::DoNotOptimize(ys);
}

void BM_HTMLShortTexts(benchmark::State &state)
{
    TBitmap bmp(10, 10);
    std::vector<QString> texts;
    for (int i = 0; i < 1000; ++i)
        texts.push_back(MakeText(200, uint32_t(i + 1)));
    for (auto _ : state)
        for (const QString &t : texts)
            Layout(bmp.Canvas(), t);
    state.SetItemsProcessed(state.iterations() * 1000 * 200);
}
BENCHMARK(BM_HTMLShortTexts)->Unit(benchmark::kMillisecond);

void BM_HTMLLongText(benchmark::State &state)
{
    TBitmap bmp(10, 10);
    const QString text = MakeText(100000, 7);
    for (auto _ : state)
        Layout(bmp.Canvas(), text);
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_HTMLLongText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return RunWidgetBenchmarks(argc, argv); }
