#include "platform/image_list_stream.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestInfoHeader = 124; // BITMAPV5HEADER
constexpr std::uint16_t kVersionWritten = 0x0101;
constexpr int kImagesPerRow = 4;
constexpr int kLargestSide = 0x7FFF;
// No strip is decoded beyond this many pixels, whatever its header claims:
// a 1-bit bitmap expands 32-fold, so the input's length alone is no limit.
constexpr std::uint64_t kMostPixels = 1u << 24;

// Reads little-endian numbers from a span; every read checks the length and
// a failed read leaves the cursor where it was.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> data) : m_data(data) {}

    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool skip(std::uint64_t n)
    {
        if (n > remaining())
            return false;
        m_pos += std::size_t(n);
        return true;
    }
    bool bytes(std::size_t n, std::span<const std::uint8_t>& out)
    {
        if (n > remaining())
            return false;
        out = m_data.subspan(m_pos, n);
        m_pos += n;
        return true;
    }
    bool u16(std::uint16_t& v)
    {
        if (remaining() < 2)
            return false;
        v = std::uint16_t(m_data[m_pos] | m_data[m_pos + 1] << 8);
        m_pos += 2;
        return true;
    }
    bool u32(std::uint32_t& v)
    {
        if (remaining() < 4)
            return false;
        v = std::uint32_t(m_data[m_pos]) | std::uint32_t(m_data[m_pos + 1]) << 8 |
            std::uint32_t(m_data[m_pos + 2]) << 16 | std::uint32_t(m_data[m_pos + 3]) << 24;
        m_pos += 4;
        return true;
    }
    bool i32(std::int32_t& v)
    {
        std::uint32_t u;
        if (!u32(u))
            return false;
        v = std::int32_t(u);
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

class Writer {
public:
    void u16(std::uint32_t v)
    {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    std::vector<std::uint8_t> out;
};

bool fail(std::string* whyNot, const char* what)
{
    if (whyNot)
        *whyNot = what;
    return false;
}

std::nullopt_t none(std::string* whyNot, const char* what)
{
    fail(whyNot, what);
    return std::nullopt;
}

// A decoded bitmap: top-down rows of 0xAARRGGBB.  Bitmaps of fewer than 32
// bits come out opaque; 32-bit ones keep the stored fourth byte.
struct Bitmap {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::vector<std::uint32_t> pixels;
};

std::uint32_t paletteColour(std::span<const std::uint8_t> palette, std::uint32_t index)
{
    if (std::uint64_t(index) * 4 + 4 > palette.size())
        return 0xFF000000;
    const std::uint8_t* q = palette.data() + index * 4;
    return 0xFF000000 | std::uint32_t(q[2]) << 16 | std::uint32_t(q[1]) << 8 | q[0];
}

std::uint32_t decodePixel(const std::uint8_t* row, int x, int bitCount, std::span<const std::uint8_t> palette)
{
    switch (bitCount) {
    case 1:
        return paletteColour(palette, (row[x / 8] >> (7 - x % 8)) & 1);
    case 4:
        return paletteColour(palette, (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
    case 8:
        return paletteColour(palette, row[x]);
    case 16: {
        std::uint32_t v = std::uint32_t(row[2 * x] | row[2 * x + 1] << 8);
        auto five = [](std::uint32_t c) { return (c << 3) | (c >> 2); };
        return 0xFF000000 | five((v >> 10) & 31) << 16 | five((v >> 5) & 31) << 8 | five(v & 31);
    }
    case 24: {
        const std::uint8_t* p = row + 3 * x;
        return 0xFF000000 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    }
    default: {
        const std::uint8_t* p = row + 4 * x;
        return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    }
    }
}

// One bitmap file image at the cursor; on success the cursor stands after
// its pixel rows.
bool readBitmap(ByteCursor& in, Bitmap& bmp, std::string* whyNot)
{
    std::span<const std::uint8_t> magic;
    if (!in.bytes(2, magic) || magic[0] != 'B' || magic[1] != 'M')
        return fail(whyNot, "bitmap: no 'BM' file header");
    if (!in.skip(kFileHeaderSize - 2))
        return fail(whyNot, "bitmap: file header cut short");

    std::uint32_t infoSize = 0, compression = 0, sizeImage = 0, colorsUsed = 0, colorsImportant = 0;
    std::int32_t width = 0, height = 0, xppm = 0, yppm = 0;
    std::uint16_t planes = 0, bitCount = 0;
    if (!in.u32(infoSize) || !in.i32(width) || !in.i32(height) || !in.u16(planes) || !in.u16(bitCount) ||
        !in.u32(compression) || !in.u32(sizeImage) || !in.i32(xppm) || !in.i32(yppm) || !in.u32(colorsUsed) ||
        !in.u32(colorsImportant))
        return fail(whyNot, "bitmap: info header cut short");
    if (infoSize < kInfoHeaderSize || infoSize > kLargestInfoHeader)
        return fail(whyNot, "bitmap: unknown info header size");
    if (!in.skip(infoSize - kInfoHeaderSize))
        return fail(whyNot, "bitmap: info header cut short");
    if (planes != 1)
        return fail(whyNot, "bitmap: more than one plane");
    if (compression != 0)
        return fail(whyNot, "bitmap: compressed bitmaps are not read");
    static constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};
    if (std::find(std::begin(kDepths), std::end(kDepths), bitCount) == std::end(kDepths))
        return fail(whyNot, "bitmap: unsupported colour depth");
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return fail(whyNot, "bitmap: empty or impossible size");

    std::uint64_t rows = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
    if (std::uint64_t(width) * rows > kMostPixels)
        return fail(whyNot, "bitmap: too large");
    std::uint64_t paletteEntries = colorsUsed;
    if (bitCount <= 8) {
        std::uint64_t full = 1u << bitCount;
        if (paletteEntries > full)
            return fail(whyNot, "bitmap: colour table larger than its depth allows");
        if (paletteEntries == 0)
            paletteEntries = full;
    }
    std::span<const std::uint8_t> palette;
    if (paletteEntries * 4 > in.remaining() || !in.bytes(std::size_t(paletteEntries * 4), palette))
        return fail(whyNot, "bitmap: colour table cut short");

    std::uint64_t stride = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
    std::span<const std::uint8_t> data;
    if (stride * rows > in.remaining() || !in.bytes(std::size_t(stride * rows), data))
        return fail(whyNot, "bitmap: pixel rows cut short");

    bmp.width = width;
    bmp.height = int(rows);
    bmp.bitCount = bitCount;
    bmp.pixels.assign(std::size_t(width) * std::size_t(rows), 0);
    for (std::size_t y = 0; y < rows; ++y) {
        std::size_t stored = height < 0 ? y : std::size_t(rows) - 1 - y;
        const std::uint8_t* row = data.data() + stored * stride;
        std::uint32_t* out = bmp.pixels.data() + y * std::size_t(width);
        for (int x = 0; x < width; ++x)
            out[x] = decodePixel(row, x, bitCount, bitCount <= 8 ? palette : std::span<const std::uint8_t>{});
    }
    return true;
}

struct Header {
    std::uint16_t count = 0;
    std::uint16_t grow = 0;
    std::uint16_t cx = 0;
    std::uint16_t cy = 0;
    std::uint32_t background = 0;
    std::uint16_t flags = 0;
    std::array<int, 4> overlays{};
};

bool readHeader(ByteCursor& in, Header& h, std::string* whyNot)
{
    std::span<const std::uint8_t> magic;
    std::uint16_t version = 0, capacity = 0;
    if (in.remaining() < kHeaderSize)
        return fail(whyNot, "image list: header cut short");
    in.bytes(2, magic);
    if (magic[0] != 'I' || magic[1] != 'L')
        return fail(whyNot, "image list: no 'IL' header");
    in.u16(version);
    in.u16(h.count);
    in.u16(capacity);
    in.u16(h.grow);
    in.u16(h.cx);
    in.u16(h.cy);
    in.u32(h.background);
    in.u16(h.flags);
    for (int& o : h.overlays) {
        std::uint16_t v = 0;
        in.u16(v);
        o = std::int16_t(v);
    }
    if (version != 0x0101 && version != 0x0600)
        return fail(whyNot, "image list: unknown version");
    if (h.cx == 0 || h.cy == 0 || h.cx > kLargestSide || h.cy > kLargestSide)
        return fail(whyNot, "image list: impossible image size");
    return true;
}

// Copies the images out of the strip, left to right and row by row.
void cutStrip(const Bitmap& strip, int count, int cx, int cy, bool keepAlpha, ImageListImages& out)
{
    int perRow = strip.width / cx;
    out.images.assign(std::size_t(count), std::vector<std::uint32_t>(std::size_t(cx) * std::size_t(cy)));
    for (int i = 0; i < count; ++i) {
        int left = i % perRow * cx, top = i / perRow * cy;
        std::vector<std::uint32_t>& image = out.images[std::size_t(i)];
        for (int y = 0; y < cy; ++y) {
            const std::uint32_t* src = strip.pixels.data() + std::size_t(top + y) * std::size_t(strip.width) + left;
            std::copy(src, src + cx, image.begin() + std::ptrdiff_t(y) * cx);
        }
        bool hasAlpha = keepAlpha && std::any_of(image.begin(), image.end(), [](std::uint32_t p) { return p >> 24; });
        if (!hasAlpha)
            for (std::uint32_t& p : image)
                p |= 0xFF000000;
    }
}

void applyMask(const Bitmap& mask, int cx, int cy, ImageListImages& out)
{
    int perRow = mask.width / cx;
    for (std::size_t i = 0; i < out.images.size(); ++i) {
        int left = int(i) % perRow * cx, top = int(i) / perRow * cy;
        for (int y = 0; y < cy; ++y) {
            const std::uint32_t* m = mask.pixels.data() + std::size_t(top + y) * std::size_t(mask.width) + left;
            std::uint32_t* p = out.images[i].data() + std::size_t(y) * std::size_t(cx);
            for (int x = 0; x < cx; ++x)
                if (m[x] & 0x00FFFFFF)
                    p[x] = 0;
        }
    }
}

// A bitmap file image: file header, 40-byte info header, colour table,
// bottom-up rows.
void writeBitmap(Writer& w, int width, int height, int bitCount, std::span<const std::uint32_t> palette,
                 const std::vector<std::uint8_t>& rows)
{
    std::uint32_t offset = std::uint32_t(kFileHeaderSize + kInfoHeaderSize + palette.size() * 4);
    w.out.push_back('B');
    w.out.push_back('M');
    w.u32(offset + std::uint32_t(rows.size()));
    w.u32(0);
    w.u32(offset);
    w.u32(kInfoHeaderSize);
    w.u32(std::uint32_t(width));
    w.u32(std::uint32_t(height));
    w.u16(1);
    w.u16(std::uint32_t(bitCount));
    w.u32(0);
    w.u32(std::uint32_t(rows.size()));
    w.u32(0);
    w.u32(0);
    w.u32(std::uint32_t(palette.size()));
    w.u32(0);
    for (std::uint32_t c : palette)
        w.u32(c);
    w.out.insert(w.out.end(), rows.begin(), rows.end());
}

bool writable(const ImageListImages& images)
{
    if (images.cx < 1 || images.cy < 1 || images.cx > kLargestSide || images.cy > kLargestSide ||
        images.images.size() > 0xFFFF)
        return false;
    std::size_t pixels = std::size_t(images.cx) * std::size_t(images.cy);
    return std::all_of(images.images.begin(), images.images.end(),
                       [pixels](const std::vector<std::uint32_t>& image) { return image.size() == pixels; });
}

} // namespace

std::optional<ImageListImages> ReadImageListStream(std::span<const std::uint8_t> stream, std::string* whyNot)
{
    ByteCursor in(stream);
    Header h;
    if (!readHeader(in, h, whyNot))
        return std::nullopt;
    Bitmap colour;
    if (!readBitmap(in, colour, whyNot))
        return std::nullopt;
    if (colour.width < h.cx || colour.height < h.cy)
        return none(whyNot, "image list: strip smaller than one image");
    std::uint64_t slots = std::uint64_t(colour.width / h.cx) * std::uint64_t(colour.height / h.cy);
    if (h.count > slots)
        return none(whyNot, "image list: more images than the strip holds");

    ImageListImages out;
    out.cx = h.cx;
    out.cy = h.cy;
    out.background = h.background;
    out.grow = h.grow;
    out.overlays = h.overlays;
    cutStrip(colour, h.count, h.cx, h.cy, colour.bitCount == 32, out);
    if (h.flags & ILC_MASK) {
        Bitmap mask;
        if (!readBitmap(in, mask, whyNot))
            return std::nullopt;
        if (mask.width != colour.width || mask.height != colour.height)
            return none(whyNot, "image list: mask and strip differ in size");
        applyMask(mask, h.cx, h.cy, out);
    }
    return out;
}

std::vector<std::uint8_t> WriteImageListStream(const ImageListImages& images)
{
    if (!writable(images))
        return {};
    int count = int(images.images.size());
    int capacity = std::max(kImagesPerRow, (count + kImagesPerRow - 1) / kImagesPerRow * kImagesPerRow);
    int width = kImagesPerRow * images.cx;
    int height = capacity / kImagesPerRow * images.cy;

    Writer w;
    w.out.push_back('I');
    w.out.push_back('L');
    w.u16(kVersionWritten);
    w.u16(std::uint32_t(count));
    w.u16(std::uint32_t(capacity));
    w.u16(std::uint32_t(std::clamp(images.grow, 0, 0xFFFF)));
    w.u16(std::uint32_t(images.cx));
    w.u16(std::uint32_t(images.cy));
    w.u32(images.background);
    w.u16(ILC_COLOR32 | ILC_MASK);
    for (int o : images.overlays)
        w.u16(std::uint16_t(std::int16_t(o)));

    // Rows are stored bottom-up.  Unused slots are black and masked out.
    std::size_t colourStride = std::size_t(width) * 4;
    std::size_t maskStride = (std::size_t(width) + 31) / 32 * 4;
    std::vector<std::uint8_t> colourRows(colourStride * std::size_t(height), 0);
    std::vector<std::uint8_t> maskRows(maskStride * std::size_t(height), 0xFF);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* c = colourRows.data() + std::size_t(height - 1 - y) * colourStride;
        std::uint8_t* m = maskRows.data() + std::size_t(height - 1 - y) * maskStride;
        for (int x = 0; x < width; ++x) {
            int index = y / images.cy * kImagesPerRow + x / images.cx;
            if (index >= count)
                continue;
            std::uint32_t p = images.images[std::size_t(index)][std::size_t(y % images.cy) * std::size_t(images.cx) +
                                                                 std::size_t(x % images.cx)];
            if ((p >> 24) == 0)
                continue;
            c[4 * x] = std::uint8_t(p);
            c[4 * x + 1] = std::uint8_t(p >> 8);
            c[4 * x + 2] = std::uint8_t(p >> 16);
            c[4 * x + 3] = std::uint8_t(p >> 24);
            m[x / 8] &= std::uint8_t(~(0x80 >> (x % 8)));
        }
    }
    writeBitmap(w, width, height, 32, {}, colourRows);
    static constexpr std::uint32_t kMonochrome[] = {0x000000, 0xFFFFFF};
    writeBitmap(w, width, height, 1, kMonochrome, maskRows);
    return std::move(w.out);
}

std::optional<ImageListImages> ReadImageListBlock(std::span<const std::uint8_t> block, std::string* whyNot)
{
    if (block.size() <= 8)
        return none(whyNot, "image list block: 8 bytes or less");
    if (std::memcmp(block.data(), "MITL", 4) != 0)
        return none(whyNot, "image list block: no 'MITL' mark");
    return ReadImageListStream(block.subspan(8), whyNot);
}

std::vector<std::uint8_t> WriteImageListBlock(const ImageListImages& images)
{
    std::vector<std::uint8_t> stream = WriteImageListStream(images);
    if (stream.empty())
        return {};
    Writer w;
    w.out = {'M', 'I', 'T', 'L'};
    w.u32(std::uint32_t(stream.size()));
    w.out.insert(w.out.end(), stream.begin(), stream.end());
    return std::move(w.out);
}

std::optional<ImageListImages> ReadBitmapStrip(std::span<const std::uint8_t> bitmapFile, int cx, std::string* whyNot)
{
    if (cx < 1 || cx > kLargestSide)
        return none(whyNot, "bitmap strip: impossible image width");
    ByteCursor in(bitmapFile);
    Bitmap strip;
    if (!readBitmap(in, strip, whyNot))
        return std::nullopt;
    if (strip.width < cx)
        return none(whyNot, "bitmap strip: narrower than one image");
    if (strip.height > kLargestSide)
        return none(whyNot, "bitmap strip: too high for an image list");
    ImageListImages out;
    out.cx = cx;
    out.cy = strip.height;
    cutStrip(strip, strip.width / cx, cx, strip.height, false, out);
    return out;
}

} // namespace platform
