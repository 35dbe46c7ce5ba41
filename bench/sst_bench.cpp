// Shared string table: adding N distinct texts, then every text again, and saving the table,
// beside a straightforward version (a hash map counting texts, a sort of the distinct ones in
// entry order and a plain writer). Run with N = 440,000 and twice that to see the growth.
#include "bench/BenchWorkbookStream.h"
#include "framework/rtl/Streams.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsSST.h"

#include <QCoreApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <unordered_map>

namespace {

std::vector<QString> Texts(int64_t n)
{
    std::vector<QString> t;
    t.reserve(size_t(n));
    for (int64_t i = 0; i < n; ++i)
        t.push_back(QStringLiteral("Site %1 sp. %2").arg((i * 2654435761LL) % 1000003).arg(i));
    return t;
}

void BM_SST_Table(benchmark::State &state)
{
    const std::vector<QString> texts = Texts(state.range(0));
    for (auto _ : state) {
        TSST sst;
        for (const QString &s : texts)
            sst.AddString(s);
        for (const QString &s : texts)
            sst.AddString(s);
        sst.FixRefs();
        WithStream([&](TOle2File &f) { sst.SaveToStream(&f); });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}

// The straightforward version: count, sort the distinct texts by entry size then bytes, write.
void BM_SST_Plain(benchmark::State &state)
{
    const std::vector<QString> texts = Texts(state.range(0));
    for (auto _ : state) {
        std::unordered_map<QString, uint32_t> counts;
        std::vector<QByteArray> distinct;
        uint32_t total = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (const QString &s : texts) {
                auto [it, added] = counts.try_emplace(s, 0);
                if (added) {
                    QByteArray e;
                    e.append(char(s.size() & 0xFF)).append(char(s.size() >> 8)).append(char(0));
                    e.append(s.toLatin1());
                    distinct.push_back(e);
                }
                ++it->second;
                ++total;
            }
        std::sort(distinct.begin(), distinct.end(), [](const QByteArray &a, const QByteArray &b) {
            if (a.size() != b.size())
                return a.size() < b.size();
            return std::memcmp(a.constData(), b.constData(), size_t(a.size())) < 0;
        });
        WithStream([&](TOle2File &f) {
            QByteArray rec(8228, 0);
            auto *b = reinterpret_cast<uint8_t *>(rec.data());
            SetWord(b, 0, 0x00FC);
            SetLongWord(b, 4, total);
            SetLongWord(b, 8, uint32_t(distinct.size()));
            int L = 12;
            const auto flush = [&] {
                SetWord(b, 2, L - 4);
                f.WriteMem(b, L);
                SetWord(b, 0, 0x003C);
                L = 4;
            };
            for (const QByteArray &e : distinct) {
                if (8228 - L < 32)
                    flush();
                std::memcpy(b + L, e.constData(), 3);
                L += 3;
                int done = 0;
                const int n = int(e.size()) - 3;
                while (done < n) {
                    const int k = std::min(n - done, 8228 - L);
                    std::memcpy(b + L, e.constData() + 3 + done, size_t(k));
                    L += k;
                    done += k;
                    if (done < n) {
                        flush();
                        b[L++] = 0;
                    }
                }
            }
            SetWord(b, 2, L - 4);
            f.WriteMem(b, L);
        });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}

} // namespace

BENCHMARK(BM_SST_Table)->Arg(440000)->Arg(880000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SST_Plain)->Arg(440000)->Arg(880000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
