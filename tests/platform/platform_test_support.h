// Helpers for the platform's own tests: a window class that records every
// message it receives, window factories, and a dispatch loop like the one a
// program runs.  Everything lives on the user-interface thread.
#pragma once

#include "platform/messages.h"
#include "platform/types.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace pt {

using platform::Hwnd;
using platform::LParam;
using platform::LResult;
using platform::Rect;
using platform::WParam;

struct Seen {
    Hwnd hwnd = Hwnd::Null;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Every message the recorder class's procedure received, in order.
std::vector<Seen>& Log();
// The logged messages with one of the given numbers.
std::vector<Seen> LogOf(std::initializer_list<std::uint32_t> messages);
// The logged messages with one of the given numbers for one window.
std::vector<Seen> LogOf(Hwnd hwnd, std::initializer_list<std::uint32_t> messages);

// Consulted for every message the recorder receives; an answer replaces the
// default processing.
using MessageHook = std::function<std::optional<LResult>(const Seen&)>;
void SetMessageHook(MessageHook hook);

// The recorder class: double clicks, default processing for the rest.
const char* RecorderClass();

Hwnd MakeTopLevel(std::uint32_t style = platform::WS_CAPTION | platform::WS_SYSMENU, std::uint32_t exStyle = 0,
                  Rect outer = {100, 80, 500, 380}, Hwnd owner = Hwnd::Null, platform::Menu menu = platform::Menu::Null);
Hwnd MakeChild(Hwnd parent, Rect inParent, std::uint32_t style = platform::WS_CHILD | platform::WS_VISIBLE);
// A shown, active top-level window with the focus in its client area.
Hwnd MakeShownTopLevel(Rect outer = {100, 80, 500, 380});

// Retrieves, translates and dispatches messages and lets the toolkit run
// until `done` holds or the time is up.  A quit message stops it and stays
// queued.
bool DispatchUntil(const std::function<bool()>& done, int timeoutMs = 3000);
void DispatchFor(int milliseconds);
// Removes every waiting message, the quit message included.
void DrainQueue();

// Destroys the windows the test left, empties the queue and the log, and
// stops any answering of boxes and menus.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace pt
