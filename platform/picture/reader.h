// Bounds-checked little-endian reading of picture data.  A read past the
// end fails the reader and gives zeros; every later read fails too, so a
// parser reads a whole header and checks once.  (The same rules as the
// framework's ByteReader, which this layer sits below.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::pictures {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data, std::size_t at = 0) : m_data(data)
    {
        seek(at);
    }

    bool ok() const { return m_ok; }
    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_ok ? m_data.size() - m_pos : 0; }

    // Moves to `at`, which must lie within the data (its end included).
    void seek(std::size_t at)
    {
        if (at > m_data.size())
            m_ok = false;
        else
            m_pos = at;
    }

    std::uint8_t u8()
    {
        auto b = view(1);
        return b.empty() ? 0 : b[0];
    }
    std::uint16_t u16()
    {
        auto b = view(2);
        return b.empty() ? 0 : std::uint16_t(b[0] | b[1] << 8);
    }
    std::uint32_t u32()
    {
        auto b = view(4);
        return b.empty() ? 0
                         : std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                               std::uint32_t(b[3]) << 24;
    }
    std::int32_t i32() { return std::int32_t(u32()); }

    // The next n bytes; empty, and the reader failed, when fewer remain.
    std::span<const std::uint8_t> view(std::size_t n)
    {
        if (!m_ok || n > m_data.size() - m_pos) {
            m_ok = false;
            return {};
        }
        auto s = m_data.subspan(m_pos, n);
        m_pos += n;
        return s;
    }
    void skip(std::size_t n) { view(n); }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace platform::pictures
