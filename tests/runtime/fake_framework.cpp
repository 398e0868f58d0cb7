#include "fake_framework.h"

#include "runtime/runtime.h"

namespace runtimetest {

FakeFramework& TheFakeFramework()
{
    static FakeFramework framework;
    return framework;
}

FakeWindow& AddFakeWindow(std::uint32_t windowId, std::string name, std::uint32_t ownUnitId)
{
    auto window = std::make_unique<FakeWindow>(windowId, std::move(name), ownUnitId);
    FakeWindow& ref = *window;
    runtime::TheRuntime().windows()[windowId] = std::move(window);
    return ref;
}

void StartFakeRuntime()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    static runtime::ProgramInfo info;
    runtime::TheRuntime().prepare(info, TheFakeFramework());
    runtime::TheRuntime().startRuntime();
}

} // namespace runtimetest
