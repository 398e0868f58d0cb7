#include "app/program.h"

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/libraries.h"
#include "platform/process.h"
#include "runtime/runtime.h"

namespace app {

// Made by the template compiler from the window descriptions.
extern const std::uint8_t kTemplateBlock[];
extern const std::size_t kTemplateBlockSize;
extern const std::uint8_t kDefaultIcon[];
extern const std::size_t kDefaultIconSize;

namespace {

// Any literal of the program marks its read-only data, which is the
// constant area: texts there are never freed or written.
constexpr char kConstantAreaMarker[] = "Velmora";

} // namespace

const runtime::ProgramInfo& ProgramInformation()
{
    static const runtime::ProgramInfo info = [] {
        runtime::ProgramInfo p;
        p.runMode = 3;
        p.buildNumber = 1;
        p.secondBuildNumber = 0;
        auto handlers = HandlerTable();
        p.handlerCodeBase = reinterpret_cast<const std::uint8_t*>(handlers.data());
        p.handlerCodeSize = handlers.size_bytes();
        platform::MemoryRange constants = platform::ReadOnlySegmentContaining(kConstantAreaMarker);
        p.constantAreaStart = constants.start;
        p.constantAreaSize = constants.size;
        p.templateBlock = kTemplateBlock;
        p.templateBlockSize = kTemplateBlockSize;
        p.libraries = Libraries();
        p.defaultIcon = {kDefaultIcon, kDefaultIconSize};
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
