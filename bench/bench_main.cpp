// The main of every benchmark program: the platform comes up headless,
// then Google Benchmark runs what the program registered.

#include "platform/testing/ui_driver.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
