// PCX: a 128-byte header, then run-length coded scan lines, each holding
// its planes one after the other, bytesPerLine bytes each.  A byte with
// its top two bits set repeats the next byte (its low six bits) times;
// any other byte stands for itself.  Runs may cross from one line into
// the next, so the lines are expanded as one stream.

#include "platform/picture/decoders.h"
#include "platform/picture/reader.h"

#include <algorithm>
#include <array>

namespace platform::pictures {
namespace {

constexpr std::string_view kFormat = "PCX";
constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kMaker = 0x0A;
constexpr std::uint8_t kRunLength = 1;
constexpr std::uint8_t kPaletteMarker = 0x0C;
constexpr std::size_t kPaletteSize = 1 + 256 * 3; // the marker and the colours, closing the file
// Two bytes of codes give at most 63 bytes of lines: a picture whose lines
// need more than this many times its coded bytes cannot be complete.
constexpr std::uint64_t kMostExpansion = 32;

enum class Palette { AtEnd, None };

struct Kind {
    int bits;
    int planes;
    std::uint8_t lowestVersion;
    std::uint8_t highestVersion;
    Palette palette;
    PictureFormat format;
};

// 256 colours from the palette after the lines, 24 bits as three planes
// of red, green and blue, and the monochrome pictures of version 3, which
// carry no palette: black and white.
constexpr Kind kKinds[] = {
    {.bits = 8, .planes = 1, .lowestVersion = 0, .highestVersion = 5, .palette = Palette::AtEnd,
     .format = PictureFormat::Pcx256},
    {.bits = 8, .planes = 3, .lowestVersion = 0, .highestVersion = 5, .palette = Palette::None,
     .format = PictureFormat::Pcx256},
    {.bits = 1, .planes = 1, .lowestVersion = 3, .highestVersion = 3, .palette = Palette::None,
     .format = PictureFormat::PcxMono},
};

struct Header {
    std::uint8_t maker, version, encoding, bits;
    std::int64_t width, height;
    int planes;
    std::size_t bytesPerLine;
};

// Expands run-length codes until `out` is full; false when they end first.
bool expand(std::span<const std::uint8_t> codes, std::vector<std::uint8_t>& out, std::size_t& used)
{
    std::size_t in = 0, n = 0;
    while (n < out.size()) {
        if (in >= codes.size()) {
            used = in;
            return false;
        }
        std::uint8_t c = codes[in++];
        std::size_t count = 1;
        if ((c & 0xC0) == 0xC0) {
            if (in >= codes.size()) {
                used = in - 1;
                return false;
            }
            count = c & 0x3F;
            c = codes[in++];
        }
        count = std::min(count, out.size() - n); // a run past the last line is cut off
        std::fill_n(out.begin() + std::ptrdiff_t(n), count, c);
        n += count;
    }
    used = in;
    return true;
}

} // namespace

Decoded DecodePcx(std::span<const std::uint8_t> bytes, const Limits& limits)
{
    Reader r(bytes);
    Header h{};
    h.maker = r.u8();
    h.version = r.u8();
    h.encoding = r.u8();
    h.bits = r.u8();
    std::int64_t xmin = r.u16(), ymin = r.u16(), xmax = r.u16(), ymax = r.u16();
    r.seek(65);
    h.planes = r.u8();
    h.bytesPerLine = r.u16();
    r.seek(kHeaderSize);
    if (!r.ok())
        return Refuse(kFormat, "the data ends inside the 128-byte header", 0);
    if (h.maker != kMaker || h.encoding != kRunLength)
        return Refuse(kFormat, "no PCX maker byte and run-length encoding", 0);
    const Kind* kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const Kind& k) {
        return k.bits == h.bits && k.planes == h.planes && h.version >= k.lowestVersion && h.version <= k.highestVersion;
    });
    if (kind == std::end(kKinds))
        return Refuse(kFormat,
                      "version " + std::to_string(h.version) + " with " + std::to_string(h.planes) + " planes of " +
                          std::to_string(h.bits) + " bits, a kind not decoded",
                      1);
    h.width = xmax - xmin + 1;
    h.height = ymax - ymin + 1;
    if (std::string problem = SizeProblem(h.width, h.height, limits); !problem.empty())
        return Refuse(kFormat, problem, 4);
    if (std::uint64_t(h.bytesPerLine) * 8 < std::uint64_t(h.width) * std::uint64_t(h.bits))
        return Refuse(kFormat,
                      std::to_string(h.bytesPerLine) + " bytes a line, too few for " + std::to_string(h.width) +
                          " pixels",
                      66);

    std::span<const std::uint8_t> codes = bytes.subspan(kHeaderSize);
    std::array<std::uint32_t, 256> palette{};
    if (kind->palette == Palette::AtEnd) {
        if (codes.size() < kPaletteSize || codes[codes.size() - kPaletteSize] != kPaletteMarker)
            return Refuse(kFormat, "no 256-colour palette (marked 0x0C) closes the file",
                          bytes.size() - std::min(bytes.size(), kPaletteSize));
        const std::uint8_t* c = codes.data() + codes.size() - kPaletteSize + 1;
        for (std::size_t i = 0; i < palette.size(); ++i)
            palette[i] = Argb(0xFF, c[3 * i], c[3 * i + 1], c[3 * i + 2]);
        codes = codes.first(codes.size() - kPaletteSize);
    }
    const std::size_t line = h.bytesPerLine * std::size_t(h.planes);
    const std::uint64_t total = std::uint64_t(line) * std::uint64_t(h.height);
    if (total > std::uint64_t(codes.size()) * kMostExpansion)
        return Refuse(kFormat,
                      "lines of " + std::to_string(total) + " bytes, more than " + std::to_string(codes.size()) +
                          " bytes of codes can hold",
                      kHeaderSize);
    std::vector<std::uint8_t> lines(static_cast<std::size_t>(total));
    std::size_t used = 0;
    if (!expand(codes, lines, used))
        return Refuse(kFormat, "the run-length codes end before the last line", kHeaderSize + used);

    PictureImage image = BlankImage(int(h.width), int(h.height), kOpaqueBlack);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* src = lines.data() + std::size_t(y) * line;
        std::uint32_t* out = &image.pixels[std::size_t(y) * std::size_t(image.width)];
        for (int x = 0; x < image.width; ++x) {
            if (kind->bits == 1)
                out[x] = src[x / 8] & (0x80 >> (x % 8)) ? 0xFFFFFFFFu : kOpaqueBlack;
            else if (kind->planes == 1)
                out[x] = palette[src[x]];
            else
                out[x] = Argb(0xFF, src[x], src[x + h.bytesPerLine], src[x + 2 * h.bytesPerLine]);
        }
    }
    return Decoded{.picture = DecodedPicture{.format = kind->format, .image = std::move(image)}, .error = {}};
}

} // namespace platform::pictures
