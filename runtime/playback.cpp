// Background playback of wave and MIDI data.  The machine has no sound
// device behind this system, so the thread keeps the sound's time (a wave
// by its byte rate, MIDI for the time its header announces at the default
// tempo) and the state word behaves as the callers expect.

#include "runtime/runtime.h"

#include <chrono>
#include <cstring>

namespace runtime {
namespace {

std::uint32_t le32(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Milliseconds the data plays for; 0 when it is neither wave nor MIDI.
std::uint32_t durationOf(std::span<const std::uint8_t> d)
{
    if (d.size() >= 44 && std::memcmp(d.data(), "RIFF", 4) == 0 && std::memcmp(d.data() + 8, "WAVE", 4) == 0) {
        std::uint32_t byteRate = le32(d.data() + 28);
        if (byteRate == 0)
            return 0;
        return std::uint32_t(std::uint64_t(d.size() - 44) * 1000 / byteRate);
    }
    if (d.size() >= 14 && std::memcmp(d.data(), "MThd", 4) == 0)
        return 1000; // without a synthesiser, a MIDI file is timed nominally
    return 0;
}

} // namespace

bool Runtime::startPlayback(std::span<const std::uint8_t> data, bool loop)
{
    std::uint32_t ms = durationOf(data);
    if (ms == 0)
        return false;
    stopPlayback();
    m_playbackData.assign(data.begin(), data.end());
    m_playbackState = 1;
    m_playbackThread = std::thread([this, ms, loop] {
        using clock = std::chrono::steady_clock;
        do {
            auto end = clock::now() + std::chrono::milliseconds(ms);
            while (m_playbackState == 1 && clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } while (loop && m_playbackState == 1);
        m_playbackState = 0;
    });
    return true;
}

void Runtime::stopPlayback()
{
    int running = 1;
    m_playbackState.compare_exchange_strong(running, 2);
    while (m_playbackThread.joinable() && m_playbackState != 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (m_playbackThread.joinable())
        m_playbackThread.join();
    m_playbackData.clear();
}

} // namespace runtime
