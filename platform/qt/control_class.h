// What the built-in control classes share: a procedure that is a table of
// the messages the control answers itself, and the typed lookup of a
// window's control widget.
#pragma once

#include "platform/qt/registry.h"
#include "platform/window.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

namespace platform::qt {

template<class Control>
struct MessageHandler {
    std::uint32_t message;
    LResult (*handle)(Control&, Hwnd, WParam, LParam);
};

// The control's own handler for the message, or DefWindowProc for any
// message the table does not name, and for every message while the
// window has no control widget yet (during its creation) or any more.
template<class Control>
LResult DispatchToControl(std::span<const MessageHandler<Control>> handlers, Control* control, Hwnd hwnd,
                          std::uint32_t message, WParam wParam, LParam lParam)
{
    auto it = std::find_if(handlers.begin(), handlers.end(),
                           [message](const MessageHandler<Control>& h) { return h.message == message; });
    if (it == handlers.end() || !control)
        return DefWindowProc(hwnd, message, wParam, lParam);
    return it->handle(*control, hwnd, wParam, lParam);
}

// The control widget of a window of the class; null for any other window.
template<class Control>
Control* ControlOfClass(Hwnd hwnd, std::string_view className)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->windowClass->windowClass.name != className)
        return nullptr;
    return dynamic_cast<Control*>(r->widget.data());
}

} // namespace platform::qt
