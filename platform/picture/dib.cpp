#include "platform/picture/dib.h"

#include "platform/picture/dib_rle.h"
#include "platform/picture/reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>

namespace platform::pictures {
namespace {

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6,
};

struct HeaderKind {
    std::uint32_t size;
    bool core;       // BITMAPCOREHEADER: 16-bit sizes, 3-byte palette entries
    int masksInside; // colour masks held by the header itself
};

constexpr HeaderKind kHeaderKinds[] = {
    {.size = 12, .core = true, .masksInside = 0},
    {.size = 40, .core = false, .masksInside = 0},
    {.size = 52, .core = false, .masksInside = 3},
    {.size = 56, .core = false, .masksInside = 4},
    {.size = 108, .core = false, .masksInside = 4}, // V4
    {.size = 124, .core = false, .masksInside = 4}, // V5
};

// What a header may combine: compression, bit count, and whether the
// core header may say so (it knows no compression).
struct Layout {
    std::uint32_t compression;
    int bitCount;
    bool inCore;
};

constexpr Layout kLayouts[] = {
    {.compression = kRgb, .bitCount = 1, .inCore = true},
    {.compression = kRgb, .bitCount = 4, .inCore = true},
    {.compression = kRgb, .bitCount = 8, .inCore = true},
    {.compression = kRgb, .bitCount = 16, .inCore = false},
    {.compression = kRgb, .bitCount = 24, .inCore = true},
    {.compression = kRgb, .bitCount = 32, .inCore = false},
    {.compression = kRle8, .bitCount = 8, .inCore = false},
    {.compression = kRle4, .bitCount = 4, .inCore = false},
    {.compression = kBitFields, .bitCount = 16, .inCore = false},
    {.compression = kBitFields, .bitCount = 32, .inCore = false},
    {.compression = kAlphaBitFields, .bitCount = 16, .inCore = false},
    {.compression = kAlphaBitFields, .bitCount = 32, .inCore = false},
};

// Masks of pixels without bit fields: 16 bits are 5-5-5 with the top bit
// unused; 32 bits carry alpha in the top byte, which counts only when some
// pixel sets it.
constexpr std::array<std::uint32_t, 4> kMasks16 = {0x7C00, 0x03E0, 0x001F, 0};
constexpr std::array<std::uint32_t, 4> kMasks32 = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

struct Header {
    HeaderKind kind{};
    std::int64_t width = 0;
    std::int64_t height = 0; // as stored: negative for rows top-down
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    std::size_t end = 0;                  // after the header and the masks that follow it
};

// One colour channel taken from a pixel through its mask and scaled to
// eight bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t largest = 0; // the mask shifted down: 2^bits - 1

    std::uint32_t operator()(std::uint32_t pixel) const
    {
        if (largest == 0)
            return 0;
        std::uint32_t v = (pixel & mask) >> shift;
        return std::uint32_t((std::uint64_t(v) * 255 + largest / 2) / largest);
    }
};

struct Pixels {
    std::array<std::uint32_t, 256> palette{};
    std::size_t paletteSize = 0;
    std::array<Channel, 4> channels{};

    std::uint32_t colour(std::uint32_t index) const
    {
        return index < paletteSize ? palette[index] : kOpaqueBlack;
    }
};

using RowDecoder = void (*)(std::span<const std::uint8_t> row, const Pixels& px, std::uint32_t* out, int width);

template<int Bits>
void indexedRow(std::span<const std::uint8_t> row, const Pixels& px, std::uint32_t* out, int width)
{
    constexpr int perByte = 8 / Bits;
    constexpr std::uint32_t mask = (1u << Bits) - 1;
    for (int x = 0; x < width; ++x) {
        int shift = 8 - Bits * (x % perByte + 1);
        out[x] = px.colour(std::uint32_t(row[std::size_t(x / perByte)] >> shift) & mask);
    }
}

void bgrRow(std::span<const std::uint8_t> row, const Pixels&, std::uint32_t* out, int width)
{
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = row.data() + 3 * std::size_t(x);
        out[x] = Argb(0xFF, p[2], p[1], p[0]);
    }
}

// Alpha is decoded as stored; the caller makes the picture opaque when no
// pixel has any.
template<int Bytes>
void maskedRow(std::span<const std::uint8_t> row, const Pixels& px, std::uint32_t* out, int width)
{
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = row.data() + Bytes * std::size_t(x);
        std::uint32_t v = p[0] | std::uint32_t(p[1]) << 8;
        if constexpr (Bytes == 4)
            v |= std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
        const auto& c = px.channels;
        out[x] = Argb(c[3](v), c[0](v), c[1](v), c[2](v));
    }
}

struct RowFormat {
    int bitCount;
    RowDecoder decode;
    bool masked; // colours through channel masks, alpha possible
};

constexpr RowFormat kRowFormats[] = {
    {.bitCount = 1, .decode = indexedRow<1>, .masked = false},
    {.bitCount = 4, .decode = indexedRow<4>, .masked = false},
    {.bitCount = 8, .decode = indexedRow<8>, .masked = false},
    {.bitCount = 16, .decode = maskedRow<2>, .masked = true},
    {.bitCount = 24, .decode = bgrRow, .masked = false},
    {.bitCount = 32, .decode = maskedRow<4>, .masked = true},
};

class DibDecoder {
public:
    DibDecoder(const DibSource& source, const Limits& limits) : m_src(source), m_limits(limits) {}

    DibImage decode()
    {
        Reader r(m_src.data, m_src.headerAt);
        if (!readHeader(r) || !checkLayout() || !readMasks() || !readPalette() || !checkSize())
            return {.image = std::nullopt, .error = std::move(m_error)};
        bool rle = m_header.compression == kRle8 || m_header.compression == kRle4;
        if (rle ? !decodeRle() : !decodeRows())
            return {.image = std::nullopt, .error = std::move(m_error)};
        return {.image = std::move(m_image), .error = {}};
    }

private:
    bool fail(std::string_view what, std::size_t at)
    {
        m_error = Describe(m_src.format, what, at);
        return false;
    }

    bool readHeader(Reader& r)
    {
        std::uint32_t size = r.u32();
        auto kind = std::find_if(std::begin(kHeaderKinds), std::end(kHeaderKinds),
                                 [&](const HeaderKind& k) { return k.size == size; });
        if (!r.ok())
            return fail("the data ends before the info header", m_src.headerAt);
        if (kind == std::end(kHeaderKinds))
            return fail("an info header of " + std::to_string(size) + " bytes, of no known kind", m_src.headerAt);
        Header& h = m_header;
        h.kind = *kind;
        if (h.kind.core) {
            h.width = r.u16();
            h.height = r.u16();
            r.skip(2); // planes
            h.bitCount = r.u16();
        } else {
            h.width = r.i32();
            h.height = r.i32();
            r.skip(2); // planes
            h.bitCount = r.u16();
            h.compression = r.u32();
            r.skip(12); // image size, resolution: nothing depends on them
            h.coloursUsed = r.u32();
            r.skip(4); // important colours
            for (int i = 0; i < h.kind.masksInside; ++i)
                h.masks[std::size_t(i)] = r.u32();
            r.seek(m_src.headerAt + size);
        }
        // A 40-byte header is followed by the masks it has no room for.
        int masksAfter = h.kind.masksInside > 0 ? 0
                         : h.compression == kBitFields ? 3
                         : h.compression == kAlphaBitFields ? 4
                                                            : 0;
        for (int i = 0; i < masksAfter; ++i)
            h.masks[std::size_t(i)] = r.u32();
        h.end = r.position();
        if (!r.ok())
            return fail("the info header runs past the end of the data", m_src.headerAt);
        return true;
    }

    bool checkLayout()
    {
        const Header& h = m_header;
        bool known = std::any_of(std::begin(kLayouts), std::end(kLayouts), [&](const Layout& l) {
            return l.compression == h.compression && l.bitCount == h.bitCount && (l.inCore || !h.kind.core);
        });
        if (!known)
            return fail(std::to_string(h.bitCount) + " bits a pixel with compression " +
                            std::to_string(h.compression) + ", a combination not decoded",
                        m_src.headerAt);
        if (m_src.iconMasks && h.compression != kRgb && h.compression != kBitFields)
            return fail("a compressed icon bitmap", m_src.headerAt);
        return true;
    }

    bool readMasks()
    {
        const Header& h = m_header;
        if (h.bitCount != 16 && h.bitCount != 32)
            return true;
        bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
        const auto& masks = fields ? h.masks : h.bitCount == 16 ? kMasks16 : kMasks32;
        for (std::size_t i = 0; i < masks.size(); ++i) {
            Channel& c = m_pixels.channels[i];
            c.mask = masks[i];
            if (c.mask == 0)
                continue;
            c.shift = std::countr_zero(c.mask);
            c.largest = c.mask >> c.shift;
            if ((c.largest & (c.largest + 1)) != 0 || (h.bitCount == 16 && c.mask > 0xFFFF))
                return fail("colour mask " + std::to_string(c.mask) + " is not one run of the pixel's bits",
                            m_src.headerAt);
        }
        return true;
    }

    bool readPalette()
    {
        const Header& h = m_header;
        const std::size_t entrySize = h.kind.core ? 3 : 4;
        const std::size_t size = m_src.data.size();
        std::uint64_t entries = h.coloursUsed;
        if (h.bitCount <= 8)
            entries = std::min<std::uint64_t>(entries ? entries : 256, std::uint64_t(1) << h.bitCount);
        std::size_t paletteAt = h.end;
        if (m_src.bitsAt) {
            // The file header says where the rows are; the palette is what
            // lies between, up to the entries the header asks for.
            m_bitsAt = *m_src.bitsAt;
            if (m_bitsAt > size)
                return fail("pixel rows at byte " + std::to_string(m_bitsAt) + ", past the end of the data",
                            m_src.headerAt);
            if (m_bitsAt < paletteAt)
                return fail("pixel rows at byte " + std::to_string(m_bitsAt) + ", inside the header", paletteAt);
            entries = std::min<std::uint64_t>(entries, (m_bitsAt - paletteAt) / entrySize);
        } else {
            if (entries > (size - paletteAt) / entrySize)
                return fail("a palette of " + std::to_string(entries) + " entries runs past the end of the data",
                            paletteAt);
            m_bitsAt = paletteAt + std::size_t(entries) * entrySize;
        }
        if (h.bitCount > 8)
            return true; // a palette for bit depths without indices: not needed
        Reader r(m_src.data, paletteAt);
        m_pixels.paletteSize = std::size_t(entries);
        for (std::size_t i = 0; i < m_pixels.paletteSize; ++i) {
            auto e = r.view(entrySize);
            m_pixels.palette[i] = Argb(0xFF, e[2], e[1], e[0]);
        }
        assert(r.ok());
        return true;
    }

    bool checkSize()
    {
        const Header& h = m_header;
        std::int64_t height = h.height < 0 ? -h.height : h.height;
        if (m_src.iconMasks) {
            if (h.height < 0)
                return fail("an icon bitmap stored top-down", m_src.headerAt);
            if (height % 2 != 0)
                return fail("an icon bitmap's height of " + std::to_string(height) +
                                " is not twice an image's (colour rows, then mask rows)",
                            m_src.headerAt);
            height /= 2;
        }
        if (std::string problem = SizeProblem(h.width, height, m_limits); !problem.empty())
            return fail(problem, m_src.headerAt);
        m_width = int(h.width);
        m_height = int(height);
        return true;
    }

    bool decodeRle()
    {
        if (m_header.height < 0)
            return fail("run-length rows stored top-down", m_src.headerAt);
        m_image = BlankImage(m_width, m_height, kTransparent);
        RleTarget target{.pixels = m_image.pixels.data(), .width = m_width, .height = m_height};
        std::span<const std::uint32_t> palette(m_pixels.palette.data(), m_pixels.paletteSize);
        std::string what;
        std::size_t at = 0;
        return ExpandRle(m_src.data, m_bitsAt, m_header.bitCount, palette, target, what, at) || fail(what, at);
    }

    bool decodeRows()
    {
        const std::uint64_t stride = (std::uint64_t(m_width) * std::uint64_t(m_header.bitCount) + 31) / 32 * 4;
        const std::uint64_t need = stride * std::uint64_t(m_height);
        const std::size_t remaining = m_src.data.size() - m_bitsAt;
        if (need > remaining)
            return fail("the pixel rows need " + std::to_string(need) + " bytes, " + std::to_string(remaining) +
                            " remain",
                        m_bitsAt);
        const std::uint64_t maskStride = (std::uint64_t(m_width) + 31) / 32 * 4;
        const std::uint64_t maskNeed = m_src.iconMasks ? maskStride * std::uint64_t(m_height) : 0;
        // 32-bit icons may leave the mask out: their alpha says it all.
        bool hasMask = m_src.iconMasks && maskNeed <= remaining - need;
        if (m_src.iconMasks && !hasMask && m_header.bitCount != 32)
            return fail("the icon's AND mask needs " + std::to_string(maskNeed) + " bytes, " +
                            std::to_string(remaining - need) + " remain",
                        m_bitsAt + std::size_t(need));

        const RowFormat* format = std::find_if(std::begin(kRowFormats), std::end(kRowFormats),
                                               [&](const RowFormat& f) { return f.bitCount == m_header.bitCount; });
        assert(format != std::end(kRowFormats)); // checkLayout admits no other bit count
        m_image = BlankImage(m_width, m_height, kOpaqueBlack);
        bool topDown = m_header.height < 0;
        for (int i = 0; i < m_height; ++i) {
            auto row = m_src.data.subspan(m_bitsAt + std::size_t(i) * std::size_t(stride), std::size_t(stride));
            int y = topDown ? i : m_height - 1 - i;
            format->decode(row, m_pixels, &m_image.pixels[std::size_t(y) * std::size_t(m_width)], m_width);
        }
        bool alpha = false;
        if (format->masked) {
            alpha = std::any_of(m_image.pixels.begin(), m_image.pixels.end(), [](std::uint32_t p) { return p >> 24; });
            if (!alpha)
                for (std::uint32_t& p : m_image.pixels)
                    p |= 0xFF000000u;
        }
        if (hasMask && !alpha)
            applyMask(m_bitsAt + std::size_t(need), std::size_t(maskStride));
        return true;
    }

    // Set bits of the AND mask (rows bottom-up) mark the transparent pixels.
    void applyMask(std::size_t at, std::size_t stride)
    {
        for (int i = 0; i < m_height; ++i) {
            const std::uint8_t* row = m_src.data.data() + at + std::size_t(i) * stride;
            std::uint32_t* out = &m_image.pixels[std::size_t(m_height - 1 - i) * std::size_t(m_width)];
            for (int x = 0; x < m_width; ++x)
                if (row[x / 8] & (0x80 >> (x % 8)))
                    out[x] = kTransparent;
        }
    }

    const DibSource& m_src;
    const Limits& m_limits;
    Header m_header;
    Pixels m_pixels;
    std::size_t m_bitsAt = 0;
    int m_width = 0;
    int m_height = 0;
    PictureImage m_image;
    std::string m_error;
};

} // namespace

DibImage DecodeDib(const DibSource& source, const Limits& limits)
{
    return DibDecoder(source, limits).decode();
}

} // namespace platform::pictures
