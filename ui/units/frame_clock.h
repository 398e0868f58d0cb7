// The clock of an animated picture: a thread of its own that waits out
// each frame's delay and tells the picture's window which frame is due,
// through a posted message (wParam: the frame's index, lParam: the clock's
// tag) — the only way it touches the window.  Messages a stopped clock
// posted may still be queued: the tag tells them from the running clock's.  It stops, and its thread is joined, when the clock
// is destroyed.
#pragma once

#include "platform/types.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace ui {

class FrameClock {
public:
    // `loops` 0: for ever.  Frames without a delay are shown for a tenth
    // of a second, as browsers show them.
    FrameClock(platform::Hwnd target, std::uint32_t message, platform::LParam tag, std::vector<int> delaysMs,
               int loops);
    ~FrameClock();
    FrameClock(const FrameClock&) = delete;
    FrameClock& operator=(const FrameClock&) = delete;

private:
    void run(std::stop_token stop);

    platform::Hwnd m_target;
    std::uint32_t m_message;
    platform::LParam m_tag;
    std::vector<int> m_delaysMs;
    int m_loops;
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::jthread m_thread; // last: it starts once everything it uses is set
};

} // namespace ui
