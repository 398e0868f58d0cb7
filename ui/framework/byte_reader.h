// Bounds-checked reading and writing of stored little-endian data.  A read
// past the end fails and leaves the reader failed; every later read fails
// too, so a parser may check once at the end of a record.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    bool ok() const { return m_ok; }
    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_ok ? m_data.size() - m_pos : 0; }
    bool atEnd() const { return m_ok && m_pos == m_data.size(); }
    void fail() { m_ok = false; }

    std::uint32_t u32()
    {
        std::uint8_t b[4] = {};
        take(b, 4);
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    }
    std::int32_t i32() { return std::int32_t(u32()); }
    // A stored format's version: false when it cannot be read or is newer
    // than `newest`.
    bool version(std::uint32_t newest, std::uint32_t& out)
    {
        out = u32();
        return m_ok && out <= newest;
    }
    std::uint16_t u16()
    {
        std::uint8_t b[2] = {};
        take(b, 2);
        return std::uint16_t(b[0] | b[1] << 8);
    }
    std::uint8_t u8()
    {
        std::uint8_t b = 0;
        take(&b, 1);
        return b;
    }
    // Bytes up to and including a zero byte; the text without it.
    std::string text()
    {
        if (!m_ok)
            return {};
        const std::uint8_t* start = m_data.data() + m_pos;
        const void* nul = std::memchr(start, 0, m_data.size() - m_pos);
        if (!nul) {
            m_ok = false;
            return {};
        }
        std::size_t n = std::size_t(static_cast<const std::uint8_t*>(nul) - start);
        m_pos += n + 1;
        return std::string(reinterpret_cast<const char*>(start), n);
    }
    std::vector<std::uint8_t> bytes(std::size_t n)
    {
        if (!m_ok || n > m_data.size() - m_pos) {
            m_ok = false;
            return {};
        }
        std::vector<std::uint8_t> out(m_data.begin() + std::ptrdiff_t(m_pos), m_data.begin() + std::ptrdiff_t(m_pos + n));
        m_pos += n;
        return out;
    }
    // A 32-bit length and that many bytes.
    std::vector<std::uint8_t> counted() { return bytes(u32()); }
    std::string countedText()
    {
        auto b = counted();
        return std::string(b.begin(), b.end());
    }
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
    void take(std::uint8_t* out, std::size_t n)
    {
        if (!m_ok || n > m_data.size() - m_pos) {
            m_ok = false;
            return;
        }
        std::memcpy(out, m_data.data() + m_pos, n);
        m_pos += n;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

// A byte block of the extended units' stored data: a signed 32-bit length
// n and n bytes, where n <= 0 is an empty block.  A length past the end
// fails the reader.
inline std::vector<std::uint8_t> ReadByteBlock(ByteReader& r)
{
    std::int32_t n = r.i32();
    return n > 0 ? r.bytes(std::size_t(n)) : std::vector<std::uint8_t>{};
}
inline std::string ReadByteBlockText(ByteReader& r)
{
    std::vector<std::uint8_t> b = ReadByteBlock(r);
    return std::string(b.begin(), b.end());
}

// A kind's stored data: an empty block gives the defaults; otherwise a
// version no newer than `newest`, the fields `readFields` takes (false when
// they do not hold together), and not one byte more.
template<typename Data, typename ReadFields>
std::optional<Data> ReadVersionedBlock(std::span<const std::uint8_t> block, std::uint32_t newest,
                                       ReadFields readFields)
{
    Data d;
    if (block.empty())
        return d;
    ByteReader r(block);
    if (!r.version(newest, d.version) || !readFields(r, d) || !r.atEnd())
        return std::nullopt;
    return d;
}

class ByteWriter {
public:
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(std::uint8_t(v >> (8 * i)));
    }
    void i32(std::int32_t v) { u32(std::uint32_t(v)); }
    void u16(std::uint16_t v)
    {
        m_out.push_back(std::uint8_t(v));
        m_out.push_back(std::uint8_t(v >> 8));
    }
    void u8(std::uint8_t v) { m_out.push_back(v); }
    void text(std::string_view t)
    {
        m_out.insert(m_out.end(), t.begin(), t.end());
        m_out.push_back(0);
    }
    void bytes(std::span<const std::uint8_t> b) { m_out.insert(m_out.end(), b.begin(), b.end()); }
    void counted(std::span<const std::uint8_t> b)
    {
        u32(std::uint32_t(b.size()));
        bytes(b);
    }
    void countedText(std::string_view t)
    {
        u32(std::uint32_t(t.size()));
        m_out.insert(m_out.end(), t.begin(), t.end());
    }
    void zeros(std::size_t n) { m_out.insert(m_out.end(), n, 0); }
    std::size_t size() const { return m_out.size(); }
    void patchU32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    }
    std::vector<std::uint8_t>& data() { return m_out; }
    std::vector<std::uint8_t> take() { return std::move(m_out); }

private:
    std::vector<std::uint8_t> m_out;
};

} // namespace ui
