// Picture decoding, checked against real files made by the usual tools
// (tests/platform/pictures, see make_pictures.py there, which draws the same
// patterns as below) and against damaged copies of them.

#include "platform/picture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

namespace {

using platform::DecodedPicture;
using platform::DecodePicture;
using platform::DetectPictureFormat;
using platform::PictureFormat;
using platform::PictureImage;
using Bytes = std::vector<std::uint8_t>;
using Pattern = std::function<std::uint32_t(int x, int y)>;

// Beside this file (the build names sources by their full paths).
const std::filesystem::path kPictures = std::filesystem::path(__FILE__).parent_path() / "pictures";

Bytes load(const std::string& name)
{
    std::ifstream in(kPictures / name, std::ios::binary);
    Bytes b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_FALSE(b.empty()) << name << " is missing";
    return b;
}

constexpr std::uint32_t argb(int a, int r, int g, int b)
{
    return std::uint32_t(a) << 24 | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

// --- The patterns of make_pictures.py ---------------------------------

constexpr std::uint32_t kPalette[16] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                        0x00FFFF, 0xFF00FF, 0x808080, 0xC04020, 0x2080C0, 0x40C080,
                                        0x804000, 0xF0A0B0, 0x102030, 0xE0E0D0};
constexpr int kW = 13, kH = 11;

int patternIndex(int x, int y)
{
    return (x / 2 + 3 * y) % 16;
}
std::uint32_t pattern(int x, int y)
{
    return 0xFF000000u | kPalette[patternIndex(x, y)];
}
std::uint32_t mono(int x, int y)
{
    return (x / 2 + y) % 3 == 0 ? 0xFFFFFFFFu : 0xFF000000u;
}
int patternAlpha(int x, int y)
{
    return (x * 20 + y * 9) % 256;
}
std::uint32_t patternWithAlpha(int x, int y)
{
    return std::uint32_t(patternAlpha(x, y)) << 24 | kPalette[patternIndex(x, y)];
}
std::uint32_t iconColours(int x, int y)
{
    return (x + y) % 7 == 0 ? 0u : 0xFF000000u | kPalette[patternIndex(x, y)];
}
std::uint32_t iconSmooth(int x, int y)
{
    return argb((x * 5 + y) % 256, x * 5, y * 5, 90);
}
std::uint32_t iconMany(int x, int y)
{
    return argb(255, x / 4 * 20, y / 4 * 20, 60);
}
std::uint32_t jpegBlocks(int x, int y)
{
    return 0xFF000000u | kPalette[1 + x / 16 + 4 * (y / 16)];
}

// Every pixel as `expected` says, each channel within `tolerance`; pixels
// `skip` names are not compared.
::testing::AssertionResult looksLike(const PictureImage& image, int width, int height, const Pattern& expected,
                                     int tolerance = 0, const std::function<bool(int, int)>& skip = nullptr)
{
    if (image.width != width || image.height != height ||
        image.pixels.size() != std::size_t(width) * std::size_t(height))
        return ::testing::AssertionFailure() << "size " << image.width << " x " << image.height << ", "
                                             << image.pixels.size() << " pixels; expected " << width << " x "
                                             << height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (skip && skip(x, y))
                continue;
            std::uint32_t got = image.pixels[std::size_t(y * width + x)], want = expected(x, y);
            for (int shift = 0; shift < 32; shift += 8)
                if (std::abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)) > tolerance)
                    return ::testing::AssertionFailure() << std::hex << "pixel " << std::dec << x << "," << y
                                                         << std::hex << " is " << got << ", expected " << want;
        }
    return ::testing::AssertionSuccess();
}

std::optional<DecodedPicture> decodeFile(const std::string& name, PictureFormat format)
{
    Bytes b = load(name);
    EXPECT_EQ(DetectPictureFormat(b), format) << name;
    std::string why;
    auto p = DecodePicture(b, &why);
    EXPECT_TRUE(p) << name << ": " << why;
    if (p) {
        EXPECT_EQ(p->format, format) << name;
        EXPECT_TRUE(why.empty());
    }
    return p;
}

std::string refusal(const Bytes& b)
{
    std::string why;
    auto p = DecodePicture(b, &why);
    EXPECT_FALSE(p) << "decoded, expected a refusal";
    EXPECT_FALSE(why.empty());
    return why;
}

void putU16(Bytes& b, std::size_t at, std::uint32_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void putU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    putU16(b, at, v & 0xFFFF);
    putU16(b, at + 2, v >> 16);
}

// --- Format detection -------------------------------------------------------

TEST(PictureDetection, TellsFormatsByTheirFirstEightBytes)
{
    struct Case {
        Bytes start;
        PictureFormat format;
    };
    const Case cases[] = {
        {{'B', 'M'}, PictureFormat::Bmp},
        {{0xFF, 0xD8, 0xFF}, PictureFormat::Jpeg},
        {{0x89, 'P', 'N', 'G'}, PictureFormat::Png},
        {{0x89, 'P', 'N', 'H'}, PictureFormat::None},
        {{0, 0, 1, 0, 1, 0}, PictureFormat::Icon},
        {{0, 0, 1, 0, 0, 0}, PictureFormat::None}, // no images
        {{0, 0, 2, 0, 0, 1}, PictureFormat::Cursor},
        {{0, 0, 3, 0, 1, 0}, PictureFormat::None},
        {{0, 1, 1, 0, 1, 0}, PictureFormat::None},
        {{'G', 'I', 'F', '8', '7', 'a'}, PictureFormat::Gif},
        {{'G', 'I', 'F', '8', '9', 'a'}, PictureFormat::Gif},
        {{'G', 'I', 'F', '8', '8', 'a'}, PictureFormat::None},
        {{'G', 'I', 'F', '8', '9', 'b'}, PictureFormat::None},
        {{0x0A, 0, 1, 8}, PictureFormat::Pcx256},
        {{0x0A, 5, 1, 8}, PictureFormat::Pcx256},
        {{0x0A, 3, 1, 8}, PictureFormat::Pcx256},
        {{0x0A, 6, 1, 8}, PictureFormat::None},
        {{0x0A, 5, 0, 8}, PictureFormat::None},
        {{0x0A, 3, 1, 1}, PictureFormat::PcxMono},
        {{0x0A, 5, 1, 1}, PictureFormat::None},
        {{0x0A, 3, 1, 4}, PictureFormat::None},
    };
    for (const Case& c : cases) {
        Bytes b = c.start;
        b.resize(8, 0);
        EXPECT_EQ(DetectPictureFormat(b), c.format) << "case starting " << int(c.start[0]) << "," << int(c.start[1]);
    }
}

TEST(PictureDetection, FewerThanEightBytesAreNoPicture)
{
    Bytes bmp = load("bmp_24.bmp");
    for (std::size_t n : {0, 1, 2, 7}) {
        Bytes b(bmp.begin(), bmp.begin() + std::ptrdiff_t(n));
        EXPECT_EQ(DetectPictureFormat(b), PictureFormat::None);
        EXPECT_NE(refusal(b).find("fewer than"), std::string::npos);
    }
    EXPECT_NE(refusal(Bytes{'X', 'M', 0, 0, 0, 0, 0, 0}).find("no known format"), std::string::npos);
}

// --- BMP --------------------------------------------------------------------------

TEST(BmpDecoding, EveryHeaderAndDepthGivesThePattern)
{
    for (const char* name : {"bmp_4.bmp", "bmp_8.bmp", "bmp_24.bmp", "bmp_core_4.bmp", "bmp_core_24.bmp",
                             "bmp_24_top_down.bmp", "bmp_rle8.bmp", "bmp_rle4.bmp"}) {
        auto p = decodeFile(name, PictureFormat::Bmp);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, kW, kH, pattern)) << name;
        EXPECT_TRUE(p->frames.empty());
    }
    auto p = decodeFile("bmp_1.bmp", PictureFormat::Bmp);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, mono));
    // 16 bits: five or six bits a channel, so within a step of them.
    for (const char* name : {"bmp_16_555.bmp", "bmp_16_555_fields.bmp", "bmp_16_565.bmp"}) {
        p = decodeFile(name, PictureFormat::Bmp);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, kW, kH, pattern, 8)) << name;
    }
}

TEST(BmpDecoding, ThirtyTwoBitsKeepAlphaOnlyWhenSomePixelHasIt)
{
    for (const char* name : {"bmp_32_alpha.bmp", "bmp_32_v4_alpha.bmp", "bmp_32_v5_alpha.bmp"}) {
        auto p = decodeFile(name, PictureFormat::Bmp);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, kW, kH, patternWithAlpha)) << name;
    }
    Bytes b = load("bmp_32_alpha.bmp");
    std::uint32_t bits = b[10] | b[11] << 8;
    for (std::size_t i = bits + 3; i < b.size(); i += 4)
        b[i] = 0;
    auto p = DecodePicture(b);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, pattern));
}

TEST(BmpDecoding, RunLengthJumpsAndEarlyEndsLeavePixelsTransparent)
{
    // Written by make_pictures.py: rows from the bottom; row 3 stops at x 4
    // and jumps to x 8 of row 4, row 6 ends after 7 pixels, and the picture
    // ends after row 8.
    auto written = [](int x, int y) {
        int b = kH - 1 - y;
        return b == 3 ? x < 4 : b == 4 ? x >= 8 : b == 6 ? x < 7 : b <= 8;
    };
    auto p = decodeFile("bmp_rle8_delta.bmp", PictureFormat::Bmp);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, [&](int x, int y) { return written(x, y) ? pattern(x, y) : 0u; }));
}

TEST(BmpDecoding, LyingHeadersAreRefused)
{
    const Bytes good = load("bmp_8.bmp");
    struct Lie {
        const char* what;
        std::function<void(Bytes&)> edit;
        const char* message;
    };
    const Lie lies[] = {
        {"rows past the end", [](Bytes& b) { putU32(b, 10, 0x7FFFFFF0); }, "past the end"},
        {"rows inside the header", [](Bytes& b) { putU32(b, 10, 20); }, "inside the header"},
        {"header of no kind", [](Bytes& b) { putU32(b, 14, 41); }, "no known kind"},
        {"7 bits a pixel", [](Bytes& b) { putU16(b, 28, 7); }, "not decoded"},
        {"RLE4 with 8 bits", [](Bytes& b) { putU32(b, 30, 2); }, "not decoded"},
        {"zero width", [](Bytes& b) { putU32(b, 18, 0); }, "empty size"},
        {"negative width", [](Bytes& b) { putU32(b, 18, std::uint32_t(-5)); }, "empty size"},
        {"more rows than data", [](Bytes& b) { putU32(b, 22, 500); }, "pixel rows need"},
        {"too wide", [](Bytes& b) { putU32(b, 18, 32768); }, "more than 32767 a side"},
        {"too tall upside down", [](Bytes& b) { putU32(b, 22, std::uint32_t(-32768)); }, "32767 a side"},
        {"too many pixels", [](Bytes& b) { putU32(b, 18, 16385), putU32(b, 22, 16384); }, "268435456 in all"},
        // At the limit the size passes, and only the data is missing.
        {"widest", [](Bytes& b) { putU32(b, 18, 32767); }, "pixel rows need"},
    };
    for (const Lie& lie : lies) {
        Bytes b = good;
        lie.edit(b);
        EXPECT_NE(refusal(b).find(lie.message), std::string::npos) << lie.what << ": " << refusal(b);
    }
    Bytes masks = load("bmp_16_565.bmp");
    putU32(masks, 54, 0xF00F); // red: two runs of bits
    EXPECT_NE(refusal(masks).find("one run"), std::string::npos);
    Bytes rle = load("bmp_rle8.bmp");
    putU32(rle, 22, std::uint32_t(-kH));
    EXPECT_NE(refusal(rle).find("top-down"), std::string::npos);
}

// --- PNG --------------------------------------------------------------------------

TEST(PngDecoding, EveryColourTypeBecomesStraightArgb)
{
    for (const char* name : {"png_rgb.png", "png_palette.png"}) {
        auto p = decodeFile(name, PictureFormat::Png);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, kW, kH, pattern)) << name;
    }
    auto p = decodeFile("png_palette_trns.png", PictureFormat::Png);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, [](int x, int y) {
        std::uint32_t c = pattern(x, y);
        return c == 0xFFFF0000u ? 0x00FF0000u : c;
    }));
    auto grey = [](int x, int y) { return std::uint32_t(patternIndex(x, y) * 17) * 0x010101u; };
    p = decodeFile("png_grey.png", PictureFormat::Png);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, [&](int x, int y) { return 0xFF000000u | grey(x, y); }));
    p = decodeFile("png_grey_alpha.png", PictureFormat::Png);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH,
                          [&](int x, int y) { return std::uint32_t(patternAlpha(x, y)) << 24 | grey(x, y); }));
    p = decodeFile("png_mono.png", PictureFormat::Png);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, mono));
    p = decodeFile("png_rgba16_interlaced.png", PictureFormat::Png);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, patternWithAlpha));
}

TEST(PngDecoding, AFileCutBeforeItsClosingChunkIsRefused)
{
    Bytes b = load("png_rgb.png");
    b.resize(b.size() - 12); // IEND: no data, a type and a CRC
    EXPECT_NE(refusal(b).find("ends before"), std::string::npos) << refusal(b);
}

TEST(PngDecoding, SizesOverTheLimitsAreRefusedBeforeDecoding)
{
    for (auto [width, height, message] : {std::tuple{40000u, 1u, "32767 a side"}, {20000u, 20000u, "in all"}}) {
        Bytes b = load("png_rgb.png");
        // IHDR: length, type, then width and height, with its CRC after.
        putU32(b, 16, 0), putU32(b, 20, 0);
        for (int i = 0; i < 4; ++i) {
            b[16 + std::size_t(i)] = std::uint8_t(width >> (24 - 8 * i));
            b[20 + std::size_t(i)] = std::uint8_t(height >> (24 - 8 * i));
        }
        std::uint32_t crc = std::uint32_t(crc32(0, b.data() + 12, 17));
        for (int i = 0; i < 4; ++i)
            b[29 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
        EXPECT_NE(refusal(b).find(message), std::string::npos) << refusal(b);
    }
}

// --- JPEG ------------------------------------------------------------------------

TEST(JpegDecoding, ColourGreyProgressiveAndCmykPictures)
{
    // Lossy: each 16 x 16 block of one colour comes back near that colour,
    // but for its rim, where smoothed colour from the next block bleeds in.
    auto rim = [](int x, int y) { return (x + 2) % 16 < 4 || (y + 2) % 16 < 4; };
    for (const char* name : {"jpeg_rgb.jpg", "jpeg_progressive.jpg", "jpeg_cmyk.jpg"}) {
        auto p = decodeFile(name, PictureFormat::Jpeg);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, 64, 32, jpegBlocks, 12, rim)) << name;
    }
    auto p = decodeFile("jpeg_grey.jpg", PictureFormat::Jpeg);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, 64, 32, [](int x, int y) {
        return 0xFF000000u | std::uint32_t(40 * (1 + x / 16 + 4 * (y / 16)) % 256) * 0x010101u;
    }, 6));
}

TEST(JpegDecoding, AFileCutBeforeItsEndMarkerIsRefused)
{
    Bytes b = load("jpeg_rgb.jpg");
    ASSERT_EQ(b[b.size() - 2], 0xFF);
    b.resize(b.size() - 2);
    EXPECT_NE(refusal(b).find("ends before"), std::string::npos) << refusal(b);
}

TEST(JpegDecoding, FramesOverTheLimitsAreRefused)
{
    Bytes b = load("jpeg_rgb.jpg");
    std::size_t sof = 2;
    while (sof + 4 < b.size() && !(b[sof] == 0xFF && b[sof + 1] == 0xC0))
        sof += 2 + std::size_t(b[sof + 2] << 8 | b[sof + 3]);
    ASSERT_LT(sof + 9, b.size());
    b[sof + 7] = 0x9C, b[sof + 8] = 0x40; // 40000 wide
    EXPECT_NE(refusal(b).find("32767 a side"), std::string::npos) << refusal(b);
}

// --- GIF ----------------------------------------------------------------------------

TEST(GifDecoding, StillAndInterlacedPictures)
{
    for (const char* name : {"gif_still.gif", "gif_interlaced.gif"}) {
        auto p = decodeFile(name, PictureFormat::Gif);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, kW, kH, pattern)) << name;
        ASSERT_EQ(p->frames.size(), 1u);
        EXPECT_EQ(p->frames[0].image.pixels, p->image.pixels);
        EXPECT_EQ(p->loopCount, 1); // no loop extension: shown once
    }
}

TEST(GifDecoding, AnimationFramesAreComposedWithTheirDisposal)
{
    // gifsicle's file: red 10 x 8; green 4 x 3 at 1,1 (then back to the
    // background); blue 3 x 3 at 3,2 with a transparent centre (then back
    // to what was before it); cyan 2 x 2 at 0,0.
    const std::uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, cyan = 0xFF00FFFF;
    auto in = [](int x, int y, int l, int t, int w, int h) { return x >= l && x < l + w && y >= t && y < t + h; };
    auto cleared = [&](int x, int y) { return in(x, y, 1, 1, 4, 3) ? 0u : red; };
    const Pattern expected[] = {
        [&](int, int) { return red; },
        [&](int x, int y) { return in(x, y, 1, 1, 4, 3) ? green : red; },
        [&](int x, int y) { return in(x, y, 3, 2, 3, 3) && !(x == 4 && y == 3) ? blue : cleared(x, y); },
        [&](int x, int y) { return in(x, y, 0, 0, 2, 2) ? cyan : cleared(x, y); },
    };
    auto p = decodeFile("gif_animated.gif", PictureFormat::Gif);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->frames.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(looksLike(p->frames[i].image, 10, 8, expected[i])) << "frame " << i;
        EXPECT_EQ(p->frames[i].delayMs, 100 * int(i + 1));
    }
    EXPECT_EQ(p->image.pixels, p->frames[0].image.pixels);
    EXPECT_EQ(p->loopCount, 3);

    // ImageMagick's file: stripes, then a block with its own colour table.
    p = decodeFile("gif_local_table.gif", PictureFormat::Gif);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->frames.size(), 2u);
    auto stripes = [](int x, int) { return 0xFF000000u | kPalette[x % 2 ? 9 : 10]; };
    EXPECT_TRUE(looksLike(p->frames[0].image, 6, 4, stripes));
    EXPECT_TRUE(looksLike(p->frames[1].image, 6, 4, [&](int x, int y) {
        return in(x, y, 1, 1, 3, 2) ? 0xFF000000u | kPalette[11 + x - 1] : stripes(x, y);
    }));
    EXPECT_EQ(p->frames[0].delayMs, 50);
    EXPECT_EQ(p->frames[1].delayMs, 70);
    EXPECT_EQ(p->loopCount, 0);
}

TEST(GifDecoding, ABrokenAnimationKeepsTheFramesBeforeTheBreak)
{
    const Bytes whole = load("gif_animated.gif");
    auto full = DecodePicture(whole);
    ASSERT_TRUE(full);
    // Image descriptors (0x2C) in order; cut inside the third image's data.
    std::vector<std::size_t> images;
    for (std::size_t i = 0; i + 10 < whole.size(); ++i)
        if (whole[i] == 0x2C && whole[i - 1] == 0x00)
            images.push_back(i);
    ASSERT_GE(images.size(), 3u);
    Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(images[2] + 12));
    std::string why = "unset";
    auto p = DecodePicture(cut, &why);
    ASSERT_TRUE(p) << why;
    EXPECT_TRUE(why.empty());
    ASSERT_EQ(p->frames.size(), 2u);
    EXPECT_EQ(p->frames[1].image.pixels, full->frames[1].image.pixels);
    // Cut inside the first image: nothing to show, and why.
    Bytes first(whole.begin(), whole.begin() + std::ptrdiff_t(images[0] + 12));
    EXPECT_NE(refusal(first).find("ends inside the image data"), std::string::npos) << refusal(first);
}

// A GIF written here, for what no tool writes: LZW codes that never use the
// table (each index its own code, the code size growing as the decoder's
// table does), so the table fills up and the codes stay at 12 bits.
struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    Bytes indices;
    int disposal = 0;
    int transparent = -1;
    Bytes codes; // the LZW data, when not literalCodes(indices)
};

// `then` are codes put after the literals, at the size the codes have by then.
Bytes literalCodes(const Bytes& indices, int minCodeSize, bool clearWhenFull = false, const std::vector<int>& then = {})
{
    Bytes out;
    std::uint32_t bits = 0;
    int count = 0, size = minCodeSize + 1;
    const int clear = 1 << minCodeSize;
    int next = clear + 2;
    auto put = [&](int code) {
        bits |= std::uint32_t(code) << count;
        for (count += size; count >= 8; count -= 8, bits >>= 8)
            out.push_back(std::uint8_t(bits));
    };
    put(clear);
    bool first = true;
    for (std::uint8_t i : indices) {
        put(i);
        if (!first && next < 4096 && ++next == 1 << size && size < 12)
            ++size;
        first = false;
        if (clearWhenFull && next == 4096) {
            put(clear);
            size = minCodeSize + 1, next = clear + 2, first = true;
        }
    }
    for (int code : then)
        put(code);
    put(clear + 1);
    if (count > 0)
        out.push_back(std::uint8_t(bits));
    return out;
}

Bytes makeGif(int width, int height, const std::vector<GifFrame>& frames)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    auto u16 = [&](int v) { b.push_back(std::uint8_t(v)), b.push_back(std::uint8_t(v >> 8)); };
    u16(width), u16(height);
    b.insert(b.end(), {0x81, 0, 0}); // a global table of 4 colours
    b.insert(b.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    for (const GifFrame& f : frames) {
        b.insert(b.end(), {0x21, 0xF9, 4, std::uint8_t(f.disposal << 2 | (f.transparent >= 0)), 0, 0,
                           std::uint8_t(f.transparent >= 0 ? f.transparent : 0), 0});
        b.push_back(0x2C);
        u16(f.left), u16(f.top), u16(f.width), u16(f.height);
        b.insert(b.end(), {0, 2});
        Bytes codes = f.codes.empty() ? literalCodes(f.indices, 2) : f.codes;
        for (std::size_t i = 0; i < codes.size(); i += 255) {
            std::size_t n = std::min<std::size_t>(255, codes.size() - i);
            b.push_back(std::uint8_t(n));
            b.insert(b.end(), codes.begin() + std::ptrdiff_t(i), codes.begin() + std::ptrdiff_t(i + n));
        }
        b.push_back(0);
    }
    b.push_back(0x3B);
    return b;
}

constexpr std::uint32_t kGifColours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

TEST(GifDecoding, CodesPastAFullTableStayAtTwelveBits)
{
    const int w = 80, h = 60; // 4798 literal codes: the table fills after 4094
    Bytes literals(std::size_t(w * h - 2));
    for (std::size_t i = 0; i < literals.size(); ++i)
        literals[i] = std::uint8_t(i * 7 % 5 % 4);
    // Entry 6 + m holds literals m and m + 1; the full table's last entry,
    // 4095, is read back at the end.
    Bytes lastEntry = literals;
    lastEntry.insert(lastEntry.end(), {literals[4089], literals[4090]});
    // With a clear code at the full table instead, the last two pixels are
    // never written.
    Bytes cleared = literals;
    cleared.insert(cleared.end(), {0xFF, 0xFF});
    for (bool clear : {false, true}) {
        const Bytes& indices = clear ? cleared : lastEntry;
        auto colour = [&](int x, int y) {
            std::uint8_t i = indices[std::size_t(y * w + x)];
            return i < 4 ? kGifColours[i] : 0u;
        };
        auto codes = clear ? literalCodes(literals, 2, true) : literalCodes(literals, 2, false, {4095});
        auto p = DecodePicture(makeGif(w, h, {GifFrame{.width = w, .height = h, .codes = codes}}));
        ASSERT_TRUE(p);
        EXPECT_TRUE(looksLike(p->image, w, h, colour)) << (clear ? "clearing" : "not clearing");
    }
}

TEST(GifDecoding, FramesAreClippedToTheScreenAndBadCodesStopTheAnimation)
{
    // A frame reaching past the screen; index 3 of frame 2 is transparent.
    GifFrame big{.left = 1, .top = 1, .width = 4, .height = 3, .indices = Bytes(12, 1)};
    GifFrame dot{.width = 2, .height = 1, .indices = {3, 2}, .transparent = 3};
    auto p = DecodePicture(makeGif(3, 2, {big, dot}));
    ASSERT_TRUE(p);
    ASSERT_EQ(p->frames.size(), 2u);
    EXPECT_TRUE(looksLike(p->frames[0].image, 3, 2, [](int x, int y) { return x && y ? kGifColours[1] : 0u; }));
    EXPECT_TRUE(looksLike(p->frames[1].image, 3, 2, [](int x, int y) {
        return x == 1 && y == 0 ? kGifColours[2] : x && y ? kGifColours[1] : 0u;
    }));
    // A screen without a size takes the frames' extent.
    p = DecodePicture(makeGif(0, 0, {big}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->image.width, 5);
    EXPECT_EQ(p->image.height, 4);
    // Clear, then code 7 where the next free entry is 6: refused when it is
    // the first frame, the end of the animation when it is a later one.
    const GifFrame bad{.width = 2, .height = 1, .codes = {0x04 | 0x07 << 3}};
    EXPECT_NE(refusal(makeGif(2, 1, {bad})).find("LZW code 7"), std::string::npos);
    p = DecodePicture(makeGif(2, 1, {GifFrame{.width = 2, .height = 1, .indices = {0, 1}}, bad, dot}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->frames.size(), 1u);
}

TEST(GifDecoding, ScreensAndAnimationsOverTheLimitsAreRefused)
{
    GifFrame dot{.width = 1, .height = 1, .indices = {0}};
    EXPECT_NE(refusal(makeGif(32768, 1, {dot})).find("32767 a side"), std::string::npos);
    // Five frames of 2^26 pixels: more than 2^28 together.
    EXPECT_NE(refusal(makeGif(16384, 4096, {dot, dot, dot, dot, dot})).find("5 frames"), std::string::npos);
}

// --- PCX --------------------------------------------------------------------------

TEST(PcxDecoding, PaletteTrueColourAndMonochromePictures)
{
    for (const char* name : {"pcx_256.pcx", "pcx_24.pcx"}) {
        auto p = decodeFile(name, PictureFormat::Pcx256);
        ASSERT_TRUE(p) << name;
        EXPECT_TRUE(looksLike(p->image, kW, kH, pattern)) << name;
    }
    // Lines of one colour each: runs of up to 63 bytes.
    auto runs = decodeFile("pcx_runs.pcx", PictureFormat::Pcx256);
    ASSERT_TRUE(runs);
    EXPECT_TRUE(looksLike(runs->image, 150, 4, [](int, int y) { return 0xFF000000u | kPalette[y + 1]; }));
    auto p = decodeFile("pcx_mono.pcx", PictureFormat::PcxMono);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, kW, kH, mono));
}

TEST(PcxDecoding, LyingHeadersAreRefused)
{
    Bytes noPalette = load("pcx_256.pcx");
    noPalette[noPalette.size() - 769] = 0;
    EXPECT_NE(refusal(noPalette).find("0x0C"), std::string::npos);
    Bytes backwards = load("pcx_256.pcx");
    putU16(backwards, 4, 20); // xmin past xmax
    EXPECT_NE(refusal(backwards).find("empty size"), std::string::npos);
    Bytes narrow = load("pcx_256.pcx");
    putU16(narrow, 66, kW - 1);
    EXPECT_NE(refusal(narrow).find("too few"), std::string::npos);
    Bytes huge = load("pcx_mono.pcx");
    putU16(huge, 8, 7999), putU16(huge, 10, 29999), putU16(huge, 66, 1000);
    EXPECT_NE(refusal(huge).find("can hold"), std::string::npos) << refusal(huge);
}

// --- Icons and cursors ----------------------------------------------------------

TEST(IconDecoding, TheChoiceRuleTakesTheFirst32WideEntryOf16To255Colours)
{
    // Entries: 16 px 16 colours, 32 px true colour, 32 px 16 colours (this
    // one), 32 px 16 colours shifted, 48 px 256 colours.
    auto p = decodeFile("icon_first_match.ico", PictureFormat::Icon);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, 32, 32, iconColours));
    EXPECT_EQ(p->hotspotX, 0);

    // Entries: 32 px 256 colours (count 0), 16 px 16 colours, 32 px 2
    // colours, 48 px PNG: none matches, so the last.
    const Bytes last = load("icon_last.ico");
    p = decodeFile("icon_last.ico", PictureFormat::Icon);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, 48, 48, iconSmooth));

    struct Recount {
        std::size_t entry;
        std::uint8_t colours;
        int width;
        Pattern expected;
    };
    const Recount recounts[] = {
        {.entry = 0, .colours = 255, .width = 32, .expected = iconMany},
        {.entry = 0, .colours = 16, .width = 32, .expected = iconMany},
        {.entry = 0, .colours = 15, .width = 48, .expected = iconSmooth},
        {.entry = 2, .colours = 16, .width = 32, .expected = [](int x, int y) {
             return (x + y) % 3 ? 0xFFFFFFFFu : 0xFF000000u;
         }},
    };
    for (const Recount& r : recounts) {
        Bytes b = last;
        b[6 + 16 * r.entry + 2] = r.colours;
        p = DecodePicture(b);
        ASSERT_TRUE(p);
        EXPECT_TRUE(looksLike(p->image, r.width, r.width, r.expected))
            << "entry " << r.entry << " giving " << int(r.colours) << " colours";
    }
    // A 32-bit bitmap chosen: its alpha wins over the AND mask.
    Bytes b = load("icon_first_match.ico");
    b[6 + 16 + 2] = 200;
    p = DecodePicture(b);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, 32, 32, iconSmooth, 0, [](int x, int y) { return (x * 5 + y) % 256 == 0; }));
}

TEST(IconDecoding, CursorsKeepTheirHotspot)
{
    auto p = decodeFile("cursor.cur", PictureFormat::Cursor);
    ASSERT_TRUE(p);
    EXPECT_TRUE(looksLike(p->image, 32, 32, iconColours));
    EXPECT_EQ(p->hotspotX, 5);
    EXPECT_EQ(p->hotspotY, 9);
}

TEST(IconDecoding, DirectoriesThatLieAreRefused)
{
    Bytes b = load("icon_first_match.ico");
    putU32(b, 6 + 2 * 16 + 12, std::uint32_t(b.size()) - 10); // the chosen image's offset
    EXPECT_NE(refusal(b).find("runs past the end"), std::string::npos);
    b = load("icon_first_match.ico");
    putU32(b, 6 + 2 * 16 + 8, 100); // its size: the bitmap no longer fits
    EXPECT_NE(refusal(b).find("palette of 16 entries runs past the end"), std::string::npos) << refusal(b);
    b = load("icon_first_match.ico");
    putU32(b, 6 + 2 * 16 + 8, 40 + 64 + 32 * 16); // its AND mask cut off
    EXPECT_NE(refusal(b).find("AND mask needs 128 bytes, 0 remain"), std::string::npos) << refusal(b);
    b = load("icon_first_match.ico");
    putU16(b, 4, 5000);
    EXPECT_NE(refusal(b).find("directory of 5000"), std::string::npos);
}

// --- Every picture, damaged -------------------------------------------------------

std::vector<std::string> corpus()
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(kPictures))
        if (e.path().extension() != ".py")
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A damaged picture is refused with a reason, or decodes to a picture of
// the size it says; one cut short is refused, or loses nothing, or (an
// animation) keeps its first frames whole.
TEST(DamagedPictures, TruncatedAnywhereAreRefusedOrLoseNothing)
{
    std::size_t files = 0;
    for (const std::string& name : corpus()) {
        const Bytes whole = load(name);
        auto full = DecodePicture(whole);
        ASSERT_TRUE(full) << name;
        ++files;
        std::size_t step = whole.size() > 4096 ? whole.size() / 1024 : 1;
        for (std::size_t n = 0; n < whole.size(); n += step) {
            Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(n));
            std::string why;
            auto p = DecodePicture(cut, &why);
            if (!p) {
                EXPECT_FALSE(why.empty()) << name << " cut to " << n;
                continue;
            }
            bool lostNothing = p->image.pixels == full->image.pixels && p->frames.size() == full->frames.size();
            bool keptFrames = !p->frames.empty() && p->frames.size() < full->frames.size();
            for (std::size_t i = 0; keptFrames && i < p->frames.size(); ++i)
                keptFrames = p->frames[i].image.pixels == full->frames[i].image.pixels;
            EXPECT_TRUE(lostNothing || keptFrames) << name << " cut to " << n << " decodes to something else";
        }
    }
    EXPECT_GE(files, 37u);
}

TEST(DamagedPictures, OverwrittenHeaderBytesNeverBreakTheDecoders)
{
    for (const std::string& name : corpus()) {
        const Bytes whole = load(name);
        for (std::size_t at = 0; at < std::min<std::size_t>(whole.size(), 160); ++at)
            for (std::uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                Bytes b = whole;
                b[at] = v;
                std::string why;
                auto p = DecodePicture(b, &why);
                if (!p) {
                    EXPECT_FALSE(why.empty()) << name << " byte " << at << " = " << int(v);
                    continue;
                }
                const PictureImage& i = p->image;
                ASSERT_EQ(i.pixels.size(), std::size_t(i.width) * std::size_t(i.height)) << name << " byte " << at;
                for (const auto& f : p->frames)
                    ASSERT_EQ(f.image.pixels.size(), i.pixels.size()) << name << " byte " << at;
            }
    }
}

} // namespace
