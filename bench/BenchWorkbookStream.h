#pragma once
// Workbook benchmarks write into a fresh "Workbook" stream of an in-memory compound file.
#include "framework/rtl/Streams.h"
#include "tests/progrid/xls/OleFixture.h"
#include "xlsAdapter/duzUOle2Impl.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

inline QByteArray BenchWorkbookSource()
{
    static const QByteArray bytes = ole::Build({ole::Root(), ole::Stream("Workbook", QByteArray(4096, 0))}).Bytes;
    return bytes;
}

// Runs Write against a fresh "Workbook" stream.
template <class Fn> void WithStream(Fn &&Write)
{
    auto src = ole::MemStream(BenchWorkbookSource());
    TMemoryStream out;
    TOle2File f(src.get());
    f.PrepareForWrite(&out, "Workbook", {});
    Write(f);
    f.Close();
    benchmark::DoNotOptimize(out.Size());
}
