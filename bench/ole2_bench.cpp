// Compound files: reading a 10 MB stream the way the record reader does (a 4-byte header, then
// the body) beside the same pieces taken from a byte buffer, and copying a 10 MB file through
// PrepareForWrite beside a plain file copy.
#include "framework/rtl/Streams.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

constexpr int64_t StreamSize = 10 * 1024 * 1024;

// Records of 4-byte headers and bodies of 0 to 200 bytes, filling StreamSize exactly.
QByteArray Records()
{
    QByteArray b(StreamSize, 0);
    uint32_t s = 7;
    int64_t p = 0;
    while (p + 4 <= StreamSize) {
        s = s * 134775813u + 1;
        int64_t len = std::min<int64_t>((s >> 24) % 201, StreamSize - p - 4);
        ole::Put16(b, p, uint16_t(s >> 8));
        ole::Put16(b, p + 2, uint16_t(len));
        p += 4 + len;
    }
    return b;
}

// A compound file whose "Workbook" holds Data, built through the writer, beside a small stream.
QByteArray FileWithWorkbook(const QByteArray &Data)
{
    const ole::Layout L =
        ole::Build({ole::Root(), ole::Stream("Workbook", QByteArray(4096, 0)), ole::Stream("Small", QByteArray(300, 's'))});
    auto src = ole::MemStream(L.Bytes);
    TMemoryStream out;
    {
        TOle2File f(src.get());
        f.PrepareForWrite(&out, "Workbook", {});
        f.WriteMem(Data.constData(), Data.size());
        f.Close();
    }
    return out.Bytes();
}

void BM_ReadRecords_Ole2File(benchmark::State &state)
{
    const QByteArray file = FileWithWorkbook(Records());
    auto m = ole::MemStream(file);
    char body[65536];
    for (auto _ : state) {
        m->SetPosition(0);
        TOle2File f(m.get());
        f.SelectStream("Workbook");
        int64_t n = 0;
        uint8_t h[4];
        while (!f.Eof()) {
            f.ReadMem(h, 4);
            const int len = h[2] | (h[3] << 8);
            f.ReadMem(body, len);
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * StreamSize);
}

void BM_ReadRecords_PlainBuffer(benchmark::State &state)
{
    const QByteArray data = Records();
    char body[65536];
    for (auto _ : state) {
        const auto *p = reinterpret_cast<const uint8_t *>(data.constData());
        int64_t pos = 0, n = 0;
        uint8_t h[4];
        while (pos < StreamSize) {
            std::memcpy(h, p + pos, 4);
            pos += 4;
            const int len = h[2] | (h[3] << 8);
            std::memcpy(body, p + pos, len);
            benchmark::DoNotOptimize(body);
            pos += len;
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * StreamSize);
}

struct CopyFiles
{
    QTemporaryDir dir;
    QString src, dst;
    CopyFiles()
    {
        src = dir.filePath("src.xls");
        dst = dir.filePath("dst.xls");
        // The 10 MB sit in "Workbook"; the copy replaces the small stream and passes them through.
        const QByteArray file = FileWithWorkbook(ole::Pattern(StreamSize, 3));
        TFileStream f(src, fmCreate);
        f.WriteBuffer(file.constData(), file.size());
    }
};

void BM_CopyFile_PrepareForWrite(benchmark::State &state)
{
    CopyFiles files;
    for (auto _ : state) {
        TFileStream in(files.src, fmOpenRead);
        TFileStream out(files.dst, fmCreate);
        TOle2File f(&in);
        f.PrepareForWrite(&out, "Small", {});
        f.Close();
    }
    state.SetBytesProcessed(state.iterations() * StreamSize);
}

void BM_CopyFile_Plain(benchmark::State &state)
{
    CopyFiles files;
    std::vector<char> buf(65536);
    for (auto _ : state) {
        TFileStream in(files.src, fmOpenRead);
        TFileStream out(files.dst, fmCreate);
        for (int64_t n; (n = in.Read(buf.data(), int64_t(buf.size()))) > 0;)
            out.WriteBuffer(buf.data(), n);
    }
    state.SetBytesProcessed(state.iterations() * StreamSize);
}

} // namespace

BENCHMARK(BM_ReadRecords_Ole2File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRecords_PlainBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFile_PrepareForWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFile_Plain)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
