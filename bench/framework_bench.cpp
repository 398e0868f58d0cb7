// What an event costs from the raiser to a bound handler and back, and
// what a property read costs, in-process with the test kinds.

#include "runtime/memory.h"
#include "runtime/runtime.h"
#include "support/test_kinds.h"

#include <benchmark/benchmark.h>

namespace {

using namespace testsupport;
using runtime::TypedValue;

constexpr std::uint32_t kWin = 0x52000701;
constexpr std::uint32_t kOwn = 0x06000701;
constexpr std::uint32_t kBox = 0x16000702;

long g_calls = 0;

runtime::HandlerResult count(std::span<const TypedValue> args)
{
    g_calls += args.size();
    return runtime::HandlerResult::logical(true);
}

Handlers& handlers()
{
    static Handlers h;
    return h;
}

void openBenchWindow()
{
    static bool open = false;
    if (open)
        return;
    open = true;
    StartRuntimeInProcess();
    auto box = BoxRecord(kBox, "框", 10, 10, 100, 40);
    Bind(box, 0, handlers().at(handlers().add("count", count)));
    AddWindow(kWin, {WindowRecord(kOwn), box});
    ui::TheFramework().openWindow(kWin, nullptr, false);
}

void RaiseBoundEvent(benchmark::State& state)
{
    openBenchWindow();
    TestBox* box = BoxOf(kWin, kBox);
    for (auto _ : state) {
        runtime::EventCall call = box->raise(0, {1, 2, 3});
        benchmark::DoNotOptimize(call.result);
    }
    if (g_calls == 0)
        state.SkipWithError("the handler was never called");
}
BENCHMARK(RaiseBoundEvent);

void RaiseUnboundEvent(benchmark::State& state)
{
    openBenchWindow();
    TestBox* box = BoxOf(kWin, kBox);
    for (auto _ : state) {
        runtime::EventCall call = box->raise(5);
        benchmark::DoNotOptimize(call.handled);
    }
}
BENCHMARK(RaiseUnboundEvent);

void ReadCommonProperty(benchmark::State& state)
{
    openBenchWindow();
    for (auto _ : state)
        benchmark::DoNotOptimize(runtime::ReadProperty(kWin, kBox, 2).asInt());
}
BENCHMARK(ReadCommonProperty);

void ReadKindProperty(benchmark::State& state)
{
    openBenchWindow();
    for (auto _ : state)
        benchmark::DoNotOptimize(runtime::ReadProperty(kWin, kBox, 8).asInt());
}
BENCHMARK(ReadKindProperty);

void ReadTextProperty(benchmark::State& state)
{
    openBenchWindow();
    runtime::WriteProperty(kWin, kBox, 10, -1, TypedValue::text("一段不长的文本"));
    for (auto _ : state) {
        TypedValue v = runtime::ReadProperty(kWin, kBox, 10);
        benchmark::DoNotOptimize(v.payload);
        runtime::FreeValue(v);
    }
}
BENCHMARK(ReadTextProperty);

} // namespace
