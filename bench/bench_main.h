// What a benchmark program may ask of the shared main.
#pragma once

#include <benchmark/benchmark.h>

namespace bench {

// A program whose figures mean most side by side (one path as a multiple
// of another) reports through a reporter of its own: it hands it over from
// a static initialiser, and main runs the benchmarks with it.
void UseReporter(benchmark::BenchmarkReporter* reporter);

} // namespace bench
