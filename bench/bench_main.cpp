// The main of every benchmark program: the platform comes up headless,
// then Google Benchmark runs what the program registered.

#include "bench/bench_main.h"

#include "platform/testing/ui_driver.h"

#include <malloc.h>

namespace {
benchmark::BenchmarkReporter* g_reporter = nullptr;
}

void bench::UseReporter(benchmark::BenchmarkReporter* reporter)
{
    g_reporter = reporter;
}

int main(int argc, char** argv)
{
    // Freed memory stays in the process.  The C library otherwise moves
    // its thresholds for mapping and trimming as blocks come and go, so how
    // many fresh pages an iteration faults in (dear on a virtual machine)
    // changes from run to run, and a figure would measure that.
    mallopt(M_MMAP_THRESHOLD, 512 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    platform::testing::InitializeHeadless(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(g_reporter);
    benchmark::Shutdown();
    return 0;
}
