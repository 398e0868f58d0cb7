#include "platform/picture/dib_rle.h"

#include "platform/picture/decoders.h"
#include "platform/picture/reader.h"

#include <cassert>

namespace platform::pictures {
namespace {

enum Escape : std::uint8_t {
    kEndOfLine = 0,
    kEndOfPicture = 1,
    kJump = 2,
    // 3 and more: that many literal pixels follow
};

class RleExpander {
public:
    RleExpander(int bitsPerPixel, std::span<const std::uint32_t> palette, const RleTarget& target)
        : m_bits(bitsPerPixel), m_palette(palette), m_target(target)
    {
        assert(m_bits == 4 || m_bits == 8);
    }

    bool rowsLeft() const { return m_y < m_target.height; }
    std::int64_t row() const { return m_y; }

    // The pixel at `i` of a run: at 4 bits the byte's two halves take turns.
    std::uint32_t indexAt(std::uint8_t byte, std::int64_t i) const
    {
        if (m_bits == 8)
            return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    void put(std::uint32_t index)
    {
        if (m_x < m_target.width && m_y < m_target.height) {
            std::size_t top = std::size_t(m_target.height - 1 - m_y);
            m_target.pixels[top * std::size_t(m_target.width) + std::size_t(m_x)] =
                index < m_palette.size() ? m_palette[index] : kOpaqueBlack;
        }
        ++m_x;
    }

    void run(std::uint8_t count, std::uint8_t colours)
    {
        for (int i = 0; i < count; ++i)
            put(indexAt(colours, i));
    }

    void literal(std::span<const std::uint8_t> bytes, int count)
    {
        for (int i = 0; i < count; ++i)
            put(indexAt(bytes[std::size_t(m_bits == 8 ? i : i / 2)], i));
    }

    void endLine()
    {
        m_x = 0;
        ++m_y;
    }
    void jump(std::uint8_t right, std::uint8_t up)
    {
        m_x += right;
        m_y += up;
    }

    // Bytes holding `count` literal pixels.
    std::size_t literalBytes(int count) const { return m_bits == 8 ? std::size_t(count) : std::size_t(count + 1) / 2; }

private:
    int m_bits;
    std::span<const std::uint32_t> m_palette;
    const RleTarget& m_target;
    std::int64_t m_x = 0;
    std::int64_t m_y = 0; // counted from the bottom row
};

} // namespace

bool ExpandRle(std::span<const std::uint8_t> data, std::size_t at, int bitsPerPixel,
               std::span<const std::uint32_t> palette, const RleTarget& target, std::string& what,
               std::size_t& where)
{
    RleExpander rle(bitsPerPixel, palette, target);
    Reader r(data, at);
    auto fail = [&](std::string text, std::size_t position) {
        what = std::move(text);
        where = position;
        return false;
    };
    while (rle.rowsLeft()) {
        std::size_t pos = r.position();
        std::uint8_t count = r.u8();
        std::uint8_t code = r.u8();
        if (!r.ok())
            return fail("the run-length codes end in row " + std::to_string(rle.row()) +
                            " (from the bottom), before the end of the picture",
                        pos);
        if (count > 0) {
            rle.run(count, code);
        } else if (code == kEndOfLine) {
            rle.endLine();
        } else if (code == kEndOfPicture) {
            return true;
        } else if (code == kJump) {
            std::uint8_t right = r.u8();
            std::uint8_t up = r.u8();
            if (!r.ok())
                return fail("a jump code without its distances", pos);
            rle.jump(right, up);
        } else {
            std::size_t n = rle.literalBytes(code);
            auto bytes = r.view(n);
            if (!r.ok())
                return fail("a run of " + std::to_string(code) + " literal pixels runs past the end of the data", pos);
            rle.literal(bytes, code);
            if (n % 2 != 0)
                r.skip(1); // literal runs end on a 16-bit boundary; a missing pad shows at the next read
        }
    }
    return true;
}

} // namespace platform::pictures
