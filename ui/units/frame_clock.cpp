#include "ui/units/frame_clock.h"

#include "platform/message_queue.h"

#include <chrono>

namespace ui {
namespace {

constexpr int kDefaultDelayMs = 100;

} // namespace

FrameClock::FrameClock(platform::Hwnd target, std::uint32_t message, platform::LParam tag, std::vector<int> delaysMs,
                       int loops)
    : m_target(target), m_message(message), m_tag(tag), m_delaysMs(std::move(delaysMs)), m_loops(loops),
      m_thread([this](std::stop_token stop) { run(stop); })
{
}

FrameClock::~FrameClock()
{
    m_thread.request_stop();
    m_wake.notify_all();
    // The jthread joins as it goes.
}

void FrameClock::run(std::stop_token stop)
{
    const std::size_t frames = m_delaysMs.size();
    if (frames < 2)
        return;
    std::unique_lock lock(m_mutex);
    for (int loop = 0; m_loops == 0 || loop < m_loops; ++loop)
        for (std::size_t i = 0; i < frames; ++i) {
            int delay = m_delaysMs[i] > 0 ? m_delaysMs[i] : kDefaultDelayMs;
            if (m_wake.wait_for(lock, stop, std::chrono::milliseconds(delay), [] { return false; }) ||
                stop.stop_requested())
                return;
            // The last loop ends on its last frame, where the picture stays.
            bool lastFrame = m_loops != 0 && loop + 1 == m_loops && i + 1 == frames;
            if (lastFrame)
                return;
            platform::PostMessage(m_target, m_message, platform::WParam((i + 1) % frames), m_tag);
        }
}

} // namespace ui
