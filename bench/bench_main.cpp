// The main of every benchmark program: the platform comes up headless,
// then Google Benchmark runs what the program registered.

#include "platform/testing/ui_driver.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    platform::testing::InitializeHeadless(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
