// The catalogue as a program: its information record, its libraries and
// its start routine.
#pragma once

#include "runtime/program_info.h"

namespace app {

// The id of the window the program starts with.
inline constexpr std::uint32_t kStartupWindowId = 0x52010001;

const runtime::ProgramInfo& ProgramInformation();
// The start routine: start the runtime, open the start-up window, run the
// main loop.  Returns 0 once the loop has ended.
int StartRoutine();

} // namespace app
