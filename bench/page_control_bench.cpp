// The advanced tab's two frequent jobs, in-process with the test kinds:
//
//   SwitchPage: property 12 written round four pages of ten units each,
//     event 0 bound to a handler; every switch raises events 1 and 0,
//     shows the new page's ten units, hides the old page's and paints the
//     unit (its two changed headers drawn again).
//   HoverHeaders: the pointer moved from header to header through the
//     toolkit's input path; every step is queued, dispatched (common
//     event -6, the hot header, event 3) and painted.
//
// The time per iteration is the time per switch and per hover step.

#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "support/test_kinds.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/page_control_unit.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

constexpr std::uint32_t kWindow = 0x52000901;
constexpr std::uint32_t kOwn = 0x06000901;
constexpr std::uint32_t kPages = 0x16000902;
constexpr std::uint32_t kFirstBox = 0x16000910;
constexpr int kPageCount = 4;
constexpr int kUnitsPerPage = 10;

long g_changed = 0;

runtime::HandlerResult pageChanged(std::span<const runtime::TypedValue>)
{
    ++g_changed;
    return runtime::HandlerResult::none();
}

Handlers& handlers()
{
    static Handlers h;
    return h;
}

bool openWindow()
{
    static const bool open = [] {
        StartRuntimeInProcess();
        static std::array<ui::UnitKindDescriptor, 2> kinds{};
        kinds[1] = ui::kPageControlKind;
        ui::TheFramework().addKindLibrary({ui::kinds::PageControl.library(), kinds});

        std::vector<ui::PageRecord> pages(kPageCount);
        for (int i = 0; i < kPageCount; ++i)
            pages[std::size_t(i)].caption = "page " + std::to_string(i + 1);
        ui::PageControlData data;
        data.pages = ui::WritePages(pages);
        ui::UnitRecord control = BoxRecord(kPages, "tabs", 5, 5, 500, 300, ui::kinds::PageControl.value);
        control.kindData = data.Write();
        Bind(control, ui::kPageChanged, handlers().at(handlers().add("changed", pageChanged)));

        std::vector<ui::UnitRecord> boxes;
        for (int p = 0; p < kPageCount; ++p) {
            if (p > 0)
                control.children.push_back(0);
            for (int u = 0; u < kUnitsPerPage; ++u) {
                std::uint32_t id = kFirstBox + std::uint32_t(p * kUnitsPerPage + u);
                control.children.push_back(id);
                ui::UnitRecord box = BoxRecord(id, "box", 10 + 45 * u, 40 + 20 * p, 40, 18);
                box.parentId = kPages;
                boxes.push_back(std::move(box));
            }
        }
        std::vector<ui::UnitRecord> records{WindowRecord(kOwn, 520, 340), std::move(control)};
        for (ui::UnitRecord& b : boxes)
            records.push_back(std::move(b));
        AddWindow(kWindow, std::move(records));
        if (!ui::TheFramework().openWindow(kWindow, nullptr, false))
            return false;
        Pump(50);
        return true;
    }();
    return open;
}

ui::PageControlUnit* unit()
{
    ui::UnitRecord* r = ui::TheFramework().unitRecord(kWindow, kPages);
    return r ? dynamic_cast<ui::PageControlUnit*>(r->object) : nullptr;
}

void SwitchPage(benchmark::State& state)
{
    if (!openWindow() || !unit()) {
        state.SkipWithError("the window did not open");
        return;
    }
    platform::Hwnd h = unit()->handle();
    int drawnBefore = unit()->headersDrawn();
    long before = g_changed;
    int page = unit()->currentPage();
    for (auto _ : state) {
        page = (page + 1) % kPageCount;
        runtime::WriteProperty(kWindow, kPages, ui::kPageCurrent, -1, runtime::TypedValue::integer(page));
        platform::UpdateWindow(h);
    }
    if (g_changed - before != long(state.iterations()) || unit()->currentPage() != page)
        state.SkipWithError("a switch did not happen");
    state.counters["headers drawn per switch"] =
        benchmark::Counter(double(unit()->headersDrawn() - drawnBefore), benchmark::Counter::kAvgIterations);
}
BENCHMARK(SwitchPage);

void HoverHeaders(benchmark::State& state)
{
    if (!openWindow() || !unit()) {
        state.SkipWithError("the window did not open");
        return;
    }
    ui::PageControlUnit& u = *unit();
    platform::Hwnd h = u.handle();
    std::array<platform::Point, kPageCount> centres{};
    for (int i = 0; i < kPageCount; ++i) {
        platform::Rect r = u.layout().headers[std::size_t(i)];
        centres[std::size_t(i)] = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    int drawnBefore = u.headersDrawn();
    int header = 0;
    for (auto _ : state) {
        header = (header + 1) % kPageCount;
        platform::testing::MouseMove(h, centres[std::size_t(header)]);
        if (!PumpUntil([&] { return u.hotHeader() == header; })) {
            state.SkipWithError("the pointer's move did not arrive");
            break;
        }
        platform::UpdateWindow(h);
    }
    state.counters["headers drawn per step"] =
        benchmark::Counter(double(u.headersDrawn() - drawnBefore), benchmark::Counter::kAvgIterations);
}
BENCHMARK(HoverHeaders);

} // namespace
