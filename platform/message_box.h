// Message boxes: the classic button sets, icons, default buttons and
// modality, with the answers of the classic interface.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string_view>

namespace platform {

// text and caption are GBK; style is MB_* (button set 0-5, icon 0x10-0x40,
// default button 0x100/0x200, 0x1000 system-modal, 0x2000 task-modal).
// Returns IDOK ... IDNO.  The box runs a modal loop that keeps dispatching
// the thread's messages; a quit message ends the box and stays queued.
int MessageBox(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t style);

} // namespace platform
