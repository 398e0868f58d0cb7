// GIF: a logical screen, an optional global colour table, then blocks up
// to the trailer: images (a descriptor, an optional local colour table and
// LZW data in sub-blocks), and extensions, of which the graphic control
// extension (delay, transparency, disposal of the next image) and the
// NETSCAPE2.0 loop count matter here.
//
// The blocks are walked first, without decoding, so that the number of
// frames is known before any canvas is allocated.  Each frame is then drawn
// onto the canvas in turn and the canvas copied out, so every frame is a
// whole picture.  The canvas starts transparent and "restore to background"
// clears to transparent, as browsers do: the background colour index is
// stale in most files, and what lies behind the picture shows through.
// A file that breaks off or goes wrong keeps the frames before the fault.

#include "platform/picture/decoders.h"
#include "platform/picture/gif_lzw.h"
#include "platform/picture/reader.h"

#include <algorithm>
#include <cstring>

namespace platform::pictures {
namespace {

constexpr std::string_view kFormat = "GIF";

enum Block : std::uint8_t {
    kExtension = 0x21,
    kImage = 0x2C,
    kTrailer = 0x3B,
};
enum Label : std::uint8_t {
    kGraphicControl = 0xF9,
    kApplication = 0xFF,
};
enum Disposal : int {
    kKeep = 1,
    kBackground = 2,
    kPrevious = 3,
    // 0 (not said) and 4-7 (undefined) keep the frame, as 1 does
};

struct Control {
    int delayCentiseconds = 0;
    int transparent = -1;
    int disposal = 0;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct FrameRecord {
    Control control;
    Rect rect;
    bool interlaced = false;
    std::span<const std::uint8_t> colourTable; // three bytes an entry
    int minCodeSize = 0;
    std::vector<std::uint8_t> codes;
    std::size_t at = 0;
};

struct Walk {
    int screenWidth = 0, screenHeight = 0;
    int loopCount = 1; // without the NETSCAPE2.0 extension the frames show once
    std::vector<FrameRecord> frames;
    std::string stop; // what ended the walk before the trailer
};

// Reads a chain of sub-blocks (length byte, bytes) up to the empty one,
// appending their bytes to `joined` when given.  False when the data ends
// first.
bool readSubBlocks(Reader& r, std::vector<std::uint8_t>* joined, std::span<const std::uint8_t>* first = nullptr)
{
    for (bool isFirst = true;; isFirst = false) {
        std::uint8_t n = r.u8();
        if (!r.ok())
            return false;
        if (n == 0)
            return true;
        auto b = r.view(n);
        if (!r.ok())
            return false;
        if (joined)
            joined->insert(joined->end(), b.begin(), b.end());
        if (first && isFirst)
            *first = b;
    }
}

std::span<const std::uint8_t> colourTable(Reader& r, std::uint8_t packed)
{
    return packed & 0x80 ? r.view(3 * (std::size_t(2) << (packed & 7))) : std::span<const std::uint8_t>{};
}

// False, with walk.stop set, when the walk cannot go on.
bool readExtension(Reader& r, Walk& walk, Control& control, std::size_t at)
{
    std::uint8_t label = r.u8();
    std::span<const std::uint8_t> first;
    std::vector<std::uint8_t> rest;
    std::vector<std::uint8_t>* keep = label == kApplication ? &rest : nullptr;
    if (!readSubBlocks(r, keep, &first)) {
        walk.stop = Describe(kFormat, "the data ends inside an extension", at);
        return false;
    }
    if (label == kGraphicControl && first.size() >= 4) {
        control = Control{.delayCentiseconds = first[1] | first[2] << 8,
                          .transparent = first[0] & 1 ? first[3] : -1,
                          .disposal = first[0] >> 2 & 7};
    }
    static constexpr char kLooping[] = "NETSCAPE2.0";
    // `rest` holds the identifier, then the loop sub-block: 1, count (16 bits).
    if (label == kApplication && rest.size() >= 11 + 3 && std::memcmp(rest.data(), kLooping, 11) == 0 &&
        rest[11] == 1)
        walk.loopCount = rest[12] | rest[13] << 8;
    return true;
}

bool readImage(Reader& r, Walk& walk, std::span<const std::uint8_t> globalTable, const Control& control,
               std::size_t at)
{
    FrameRecord f{.control = control, .at = at};
    f.rect = Rect{.left = r.u16(), .top = r.u16(), .width = r.u16(), .height = r.u16()};
    std::uint8_t packed = r.u8();
    f.interlaced = packed & 0x40;
    f.colourTable = colourTable(r, packed);
    f.minCodeSize = r.u8();
    if (!r.ok()) {
        walk.stop = Describe(kFormat, "the data ends inside an image descriptor", at);
        return false;
    }
    if (f.colourTable.empty())
        f.colourTable = globalTable;
    if (f.colourTable.empty()) {
        walk.stop = Describe(kFormat, "an image without a colour table", at);
        return false;
    }
    if (f.minCodeSize < LzwDecoder::kLowestCodeSize || f.minCodeSize > LzwDecoder::kHighestCodeSize) {
        walk.stop = Describe(kFormat, "an LZW code size of " + std::to_string(f.minCodeSize), at);
        return false;
    }
    if (!readSubBlocks(r, &f.codes)) {
        walk.stop = Describe(kFormat, "the data ends inside the image data", at);
        return false;
    }
    walk.frames.push_back(std::move(f));
    return true;
}

// The frames and settings, up to the trailer or the first fault.
std::optional<Walk> walkBlocks(std::span<const std::uint8_t> bytes, std::string& error)
{
    Reader r(bytes);
    auto signature = r.view(6);
    Walk walk;
    walk.screenWidth = r.u16();
    walk.screenHeight = r.u16();
    std::uint8_t packed = r.u8();
    r.skip(2); // background index, aspect ratio
    std::span<const std::uint8_t> globalTable = colourTable(r, packed);
    if (!r.ok()) {
        error = Describe(kFormat, "the data ends inside the screen descriptor", 0);
        return std::nullopt;
    }
    if (std::memcmp(signature.data(), "GIF87a", 6) != 0 && std::memcmp(signature.data(), "GIF89a", 6) != 0) {
        error = Describe(kFormat, "no GIF87a or GIF89a signature", 0);
        return std::nullopt;
    }
    Control control;
    for (;;) {
        std::size_t at = r.position();
        std::uint8_t block = r.u8();
        if (!r.ok()) {
            walk.stop = Describe(kFormat, "the data ends before the trailer", at);
            break;
        }
        if (block == kTrailer)
            break;
        if (block == kExtension) {
            if (!readExtension(r, walk, control, at))
                break;
        } else if (block == kImage) {
            if (!readImage(r, walk, globalTable, control, at))
                break;
            control = Control{}; // a control extension governs one image
        } else {
            walk.stop = Describe(kFormat, "a block of unknown kind " + std::to_string(block), at);
            break;
        }
    }
    return walk;
}

// Rows in the order an image stores them: top to bottom, or the four
// passes of interlacing (every 8th row from 0, every 8th from 4, every
// 4th from 2, every 2nd from 1).
class RowOrder {
public:
    RowOrder(int height, bool interlaced)
        : m_height(height), m_pass(interlaced ? 0 : kPlain), m_row(kPasses[m_pass].start)
    {
        skipPastEnd();
    }

    bool done() const { return m_done; }
    int row() const { return m_row; }
    void advance()
    {
        m_row += kPasses[m_pass].step;
        skipPastEnd();
    }

private:
    struct Pass {
        int start, step;
    };
    static constexpr Pass kPasses[] = {{.start = 0, .step = 8}, {.start = 4, .step = 8}, {.start = 2, .step = 4},
                                       {.start = 1, .step = 2}, {.start = 0, .step = 1}};
    static constexpr std::size_t kLastInterlaced = 3;
    static constexpr std::size_t kPlain = 4;

    void skipPastEnd()
    {
        while (m_row >= m_height) {
            if (m_pass == kLastInterlaced || m_pass == kPlain) {
                m_done = true;
                return;
            }
            m_row = kPasses[++m_pass].start;
        }
    }

    int m_height;
    std::size_t m_pass;
    int m_row;
    bool m_done = false;
};

class Composer {
public:
    Composer(int width, int height) : m_canvas(BlankImage(width, height, kTransparent)) {}

    // Draws a frame; empty, or what went wrong.
    std::string draw(const FrameRecord& f)
    {
        Rect clip = clipped(f.rect);
        if (f.control.disposal == kPrevious)
            save(clip);
        LzwDecoder lzw(f.codes, f.minCodeSize);
        std::vector<std::uint8_t> row(std::size_t(f.rect.width));
        const std::size_t colours = f.colourTable.size() / 3;
        for (RowOrder order(f.rect.height, f.interlaced); !order.done(); order.advance()) {
            std::size_t n = lzw.read(row);
            if (!lzw.error().empty())
                return Describe(kFormat, lzw.error(), f.at);
            int y = f.rect.top + order.row();
            if (y < m_canvas.height)
                paint(row.data(), std::min<std::size_t>(n, std::size_t(clip.width)), f, y, colours);
            if (n < row.size())
                break; // the codes ended early: the rest of the frame stays as it was
        }
        m_drawn = clip;
        m_disposal = f.control.disposal;
        return {};
    }

    const PictureImage& canvas() const { return m_canvas; }

    // Disposes of the last frame drawn, before the next one is.
    void dispose()
    {
        if (m_disposal == kBackground)
            fill(m_drawn, kTransparent);
        else if (m_disposal == kPrevious)
            restore(m_drawn);
        m_disposal = 0;
    }

private:
    Rect clipped(const Rect& r) const
    {
        int right = std::min(r.left + r.width, m_canvas.width);
        int bottom = std::min(r.top + r.height, m_canvas.height);
        return Rect{.left = r.left,
                    .top = r.top,
                    .width = std::max(0, right - r.left),
                    .height = std::max(0, bottom - r.top)};
    }

    void paint(const std::uint8_t* indices, std::size_t count, const FrameRecord& f, int y, std::size_t colours)
    {
        if (count == 0)
            return; // also when the frame starts right of the canvas
        std::uint32_t* out = &m_canvas.pixels[std::size_t(y) * std::size_t(m_canvas.width) + std::size_t(f.rect.left)];
        for (std::size_t x = 0; x < count; ++x) {
            std::uint8_t i = indices[x];
            // Indices past the colour table are drawn as transparency is.
            if (int(i) == f.control.transparent || i >= colours)
                continue;
            const std::uint8_t* c = f.colourTable.data() + 3 * std::size_t(i);
            out[x] = Argb(0xFF, c[0], c[1], c[2]);
        }
    }

    template<typename Each>
    void forRows(const Rect& r, Each each)
    {
        for (int y = r.top; y < r.top + r.height; ++y)
            each(m_canvas.pixels.data() + std::size_t(y) * std::size_t(m_canvas.width) + std::size_t(r.left),
                 std::size_t(y - r.top) * std::size_t(r.width));
    }

    void fill(const Rect& r, std::uint32_t colour)
    {
        forRows(r, [&](std::uint32_t* row, std::size_t) { std::fill_n(row, r.width, colour); });
    }
    void save(const Rect& r)
    {
        m_saved.resize(std::size_t(r.width) * std::size_t(r.height));
        forRows(r, [&](std::uint32_t* row, std::size_t at) { std::copy_n(row, r.width, m_saved.begin() + std::ptrdiff_t(at)); });
    }
    void restore(const Rect& r)
    {
        forRows(r, [&](std::uint32_t* row, std::size_t at) { std::copy_n(m_saved.begin() + std::ptrdiff_t(at), r.width, row); });
    }

    PictureImage m_canvas;
    std::vector<std::uint32_t> m_saved;
    Rect m_drawn;
    int m_disposal = 0;
};

} // namespace

Decoded DecodeGif(std::span<const std::uint8_t> bytes, const Limits& limits)
{
    std::string error;
    std::optional<Walk> walk = walkBlocks(bytes, error);
    if (!walk)
        return Decoded{.picture = std::nullopt, .error = std::move(error)};
    if (walk->frames.empty())
        return Decoded{.picture = std::nullopt,
                       .error = !walk->stop.empty() ? walk->stop : Describe(kFormat, "no image before the trailer", 0)};
    // A screen without a size takes the extent of the frames.
    int width = walk->screenWidth, height = walk->screenHeight;
    for (const FrameRecord& f : walk->frames) {
        if (walk->screenWidth == 0)
            width = std::max(width, f.rect.left + f.rect.width);
        if (walk->screenHeight == 0)
            height = std::max(height, f.rect.top + f.rect.height);
    }
    if (std::string problem = SizeProblem(width, height, limits); !problem.empty())
        return Refuse(kFormat, "a screen of " + problem, 6);
    std::uint64_t all = std::uint64_t(width) * std::uint64_t(height) * walk->frames.size();
    if (all > limits.maxPixels)
        return Refuse(kFormat,
                      std::to_string(walk->frames.size()) + " frames of " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels, more than " + std::to_string(limits.maxPixels) +
                          " in all",
                      6);

    DecodedPicture picture{.format = PictureFormat::Gif, .loopCount = walk->loopCount};
    Composer composer(width, height);
    for (const FrameRecord& f : walk->frames) {
        composer.dispose();
        if (std::string fault = composer.draw(f); !fault.empty()) {
            error = std::move(fault);
            break;
        }
        picture.frames.push_back(
            PictureFrame{.image = composer.canvas(), .delayMs = f.control.delayCentiseconds * 10});
    }
    if (picture.frames.empty())
        return Decoded{.picture = std::nullopt, .error = std::move(error)};
    picture.image = picture.frames.front().image;
    return Decoded{.picture = std::move(picture), .error = {}};
}

} // namespace platform::pictures
