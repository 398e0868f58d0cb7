// Qt keys to virtual-key codes.
#pragma once

#include <QKeyEvent>

#include <cstdint>

namespace platform::qt {

// The virtual-key code of a key event; 0 when the key has none.
std::uint32_t virtualKeyOf(const QKeyEvent& event);

} // namespace platform::qt
