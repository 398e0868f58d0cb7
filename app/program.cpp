#include "app/program.h"

#include "platform/process.h"
#include "runtime/commands/core_library.h"
#include "runtime/runtime.h"

#include <array>

namespace app {
namespace {

// Any literal of the program marks its read-only data, which is the
// constant area: texts there are never freed or written.
constexpr char kConstantAreaMarker[] = "Velmora";

const std::array<const runtime::LibraryDescriptor*, 2> kLibraries = {
    &runtime::kCoreLibrary,
    &runtime::kSpecialFunctionsLibrary,
};

// The texts the program keeps between handlers.
void FreeGlobalTexts() {}

} // namespace

const runtime::ProgramInfo& ProgramInformation()
{
    static const runtime::ProgramInfo info = [] {
        runtime::ProgramInfo p;
        p.runMode = 3;
        p.buildNumber = 1;
        p.secondBuildNumber = 0;
        platform::MemoryRange constants = platform::ReadOnlySegmentContaining(kConstantAreaMarker);
        p.constantAreaStart = constants.start;
        p.constantAreaSize = constants.size;
        p.libraries = kLibraries;
        return p;
    }();
    return info;
}

int StartRoutine()
{
    runtime::StartRuntime();
    runtime::ResetFloatingPoint();
    runtime::RegisterCleanup(FreeGlobalTexts);
    runtime::LoadStartupWindow(kStartupWindowId);
    runtime::RunMainLoop();
    return 0;
}

} // namespace app
