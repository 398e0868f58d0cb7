// The variable-length LZW decoding of GIF image data: codes of
// minCodeSize + 1 bits upwards, least significant bit first, a clear code
// that empties the table, an end code, and at most 4096 table entries, the
// codes staying at 12 bits once the table is full until the next clear.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform::pictures {

class LzwDecoder {
public:
    static constexpr int kLowestCodeSize = 1;
    static constexpr int kHighestCodeSize = 8; // indices are bytes

    // `codes` is the image's sub-blocks joined; minCodeSize within the bounds.
    LzwDecoder(std::span<const std::uint8_t> codes, int minCodeSize);

    // Fills `out` with the next colour indices and gives how many it wrote:
    // fewer at the end code, when the codes run out, or on a fault.
    std::size_t read(std::span<std::uint8_t> out);

    // Set once a code names no entry of the table: what, and which code.
    const std::string& error() const { return m_error; }

private:
    static constexpr int kMostCodes = 4096;
    static constexpr int kLongestCodeSize = 12;

    int nextCode();
    void reset();
    // Queues the string of `code`, followed by `extra` when it is not -1.
    void queue(int code, int extra);

    std::span<const std::uint8_t> m_codes;
    std::size_t m_in = 0;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
    std::size_t m_codesRead = 0;

    const int m_minCodeSize;
    const int m_clear;
    const int m_end;
    int m_codeSize = 0;
    int m_next = 0;
    int m_previous = -1;
    bool m_done = false;

    std::array<std::uint16_t, kMostCodes> m_prefix{};
    std::array<std::uint8_t, kMostCodes> m_suffix{};
    std::array<std::uint8_t, kMostCodes> m_first{};
    std::array<std::uint16_t, kMostCodes> m_length{};

    // A decoded string not yet handed out, at [m_pendingAt, m_pendingEnd).
    std::array<std::uint8_t, kMostCodes + 1> m_pending{};
    std::size_t m_pendingAt = 0;
    std::size_t m_pendingEnd = 0;

    std::string m_error;
};

} // namespace platform::pictures
