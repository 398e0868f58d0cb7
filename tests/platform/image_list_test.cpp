#include "platform/image_list.h"
#include "platform/image_list_stream.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using platform::ImageListImages;

// Distinct pixels per image and position, with opaque, half-transparent
// and fully transparent ones (stored as 0, as the writer stores them).
ImageListImages sampleImages(int count, int cx, int cy)
{
    ImageListImages list;
    list.cx = cx;
    list.cy = cy;
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint32_t> image;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                std::uint32_t alpha = (x + y) % 3 == 0 ? 0xFF : (x + y) % 3 == 1 ? 0x80 : 0;
                std::uint32_t rgb = std::uint32_t(i * 20) << 16 | std::uint32_t(x * 9) << 8 | std::uint32_t(y * 7 + 1);
                image.push_back(alpha ? alpha << 24 | rgb : 0);
            }
        list.images.push_back(image);
    }
    return list;
}

std::uint16_t u16At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A bitmap file image as another writer might make one: any depth, rows
// bottom-up or top-down, a colour table, dummy size fields.
struct ForeignBitmap {
    int width = 0;
    int height = 0;
    int bitCount = 24;
    bool topDown = false;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint32_t> values; // per pixel, top-down: 0xRRGGBB (0xAARRGGBB at 32 bits) or an index
};

std::vector<std::uint8_t> encode(const ForeignBitmap& f)
{
    std::size_t stride = (std::size_t(f.width) * std::size_t(f.bitCount) + 31) / 32 * 4;
    std::vector<std::uint8_t> b(14 + 40 + f.palette.size() * 4 + stride * std::size_t(f.height), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, 0xDEAD); // size and offset deliberately wrong: never trusted
    put32(b, 10, 0xBEEF);
    put32(b, 14, 40);
    put32(b, 18, std::uint32_t(f.width));
    put32(b, 22, std::uint32_t(f.topDown ? -f.height : f.height));
    put16(b, 26, 1);
    put16(b, 28, std::uint32_t(f.bitCount));
    put32(b, 46, std::uint32_t(f.palette.size()));
    for (std::size_t i = 0; i < f.palette.size(); ++i)
        put32(b, 54 + 4 * i, f.palette[i]);
    std::size_t pixels = 54 + f.palette.size() * 4;
    for (int y = 0; y < f.height; ++y) {
        std::size_t row = pixels + std::size_t(f.topDown ? y : f.height - 1 - y) * stride;
        for (int x = 0; x < f.width; ++x) {
            std::uint32_t v = f.values[std::size_t(y * f.width + x)];
            if (f.bitCount == 24) {
                b[row + 3 * std::size_t(x)] = std::uint8_t(v);
                b[row + 3 * std::size_t(x) + 1] = std::uint8_t(v >> 8);
                b[row + 3 * std::size_t(x) + 2] = std::uint8_t(v >> 16);
            } else if (f.bitCount == 32) {
                put32(b, row + 4 * std::size_t(x), v);
            } else if (f.bitCount == 8) {
                b[row + std::size_t(x)] = std::uint8_t(v);
            } else if (f.bitCount == 4) {
                b[row + std::size_t(x) / 2] |= std::uint8_t(x % 2 ? v : v << 4);
            } else if (f.bitCount == 1) {
                b[row + std::size_t(x) / 8] |= std::uint8_t(v ? 0x80 >> (x % 8) : 0);
            }
        }
    }
    return b;
}

std::vector<std::uint8_t> ilHeader(int count, int cx, int cy, std::uint16_t flags, std::uint32_t background = 0xFFFFFFFF)
{
    std::vector<std::uint8_t> h(28, 0);
    h[0] = 'I';
    h[1] = 'L';
    put16(h, 2, 0x0101);
    put16(h, 4, std::uint32_t(count));
    put16(h, 6, std::uint32_t(count));
    put16(h, 8, 4);
    put16(h, 10, std::uint32_t(cx));
    put16(h, 12, std::uint32_t(cy));
    put32(h, 14, background);
    put16(h, 18, flags);
    for (int i = 0; i < 4; ++i)
        put16(h, 20 + 2 * std::size_t(i), 0xFFFF);
    return h;
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::optional<ImageListImages> read(const std::vector<std::uint8_t>& bytes, std::string* why = nullptr)
{
    return platform::ReadImageListStream(bytes, why);
}

TEST(ImageListStream, RoundTripKeepsImagesAlphaAndHeaderFields)
{
    // Six images of a non-square size: the second strip row is half used.
    ImageListImages in = sampleImages(6, 5, 3);
    in.background = platform::Rgb(1, 2, 3);
    in.grow = 8;
    in.overlays = {2, -1, 0, -1};
    std::vector<std::uint8_t> bytes = platform::WriteImageListStream(in);
    std::string why;
    std::optional<ImageListImages> out = read(bytes, &why);
    ASSERT_TRUE(out) << why;
    EXPECT_EQ(out->cx, 5);
    EXPECT_EQ(out->cy, 3);
    EXPECT_EQ(out->images, in.images);
    EXPECT_EQ(out->background, in.background);
    EXPECT_EQ(out->grow, 8);
    EXPECT_EQ(out->overlays, in.overlays);

    // An empty list and one of a single image survive as well.
    for (int count : {0, 1}) {
        ImageListImages small = sampleImages(count, 16, 16);
        std::optional<ImageListImages> back = read(platform::WriteImageListStream(small));
        ASSERT_TRUE(back) << count;
        EXPECT_EQ(back->images, small.images);
    }
}

TEST(ImageListStream, WritesTheDocumentedLayout)
{
    // Twelve 16 x 16 images: a 64 x 48 strip, 32-bit colour then a 1-bit mask.
    ImageListImages in = sampleImages(12, 16, 16);
    std::vector<std::uint8_t> b = platform::WriteImageListStream(in);
    ASSERT_EQ(b.size(), 28u + (14 + 40 + 64 * 48 * 4) + (14 + 40 + 8 + 8 * 48));
    EXPECT_EQ(b[0], 'I');
    EXPECT_EQ(b[1], 'L');
    EXPECT_EQ(u16At(b, 2), 0x0101);
    EXPECT_EQ(u16At(b, 4), 12);
    EXPECT_EQ(u16At(b, 6), 12);
    EXPECT_EQ(u16At(b, 18), platform::ILC_COLOR32 | platform::ILC_MASK);
    EXPECT_EQ(b[28], 'B');
    EXPECT_EQ(u16At(b, 28 + 18), 64); // strip width
    EXPECT_EQ(u16At(b, 28 + 22), 48); // strip height
    EXPECT_EQ(u16At(b, 28 + 28), 32);

    // Image 5 starts at strip (16, 16); rows are stored bottom-up, BGRA.
    std::size_t pixels = 28 + 54;
    std::size_t row = 47 - 16;
    std::size_t at = pixels + row * 64 * 4 + 16 * 4;
    std::uint32_t expected = in.images[5][0];
    EXPECT_EQ(b[at], std::uint8_t(expected));
    EXPECT_EQ(b[at + 2], std::uint8_t(expected >> 16));
    EXPECT_EQ(b[at + 3], std::uint8_t(expected >> 24));
}

TEST(ImageListStream, WriterRefusesInconsistentImages)
{
    ImageListImages wrongCount = sampleImages(2, 4, 4);
    wrongCount.images[1].pop_back();
    EXPECT_TRUE(platform::WriteImageListStream(wrongCount).empty());
    EXPECT_TRUE(platform::WriteImageListStream(sampleImages(1, 0, 4)).empty());
    EXPECT_TRUE(platform::WriteImageListStream(sampleImages(1, 40000, 1)).empty());
    EXPECT_TRUE(platform::WriteImageListBlock(wrongCount).empty());
}

TEST(ImageListStream, ReadsForeignDepthsOrientationsAndMasks)
{
    // Two 2 x 2 images side by side in a 24-bit top-down strip.
    ForeignBitmap colour{4, 2, 24, true, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x010203,
                                              0x112233, 0x445566, 0x778899, 0xAABBCC}};
    // Mask, bottom-up with the colour table white then black: index 0 (white)
    // marks the transparent pixel.
    ForeignBitmap mask{4, 2, 1, false, {0xFFFFFF, 0x000000}, {1, 0, 1, 1, 1, 1, 1, 1}};
    std::string why;
    auto out = read(concat(concat(ilHeader(2, 2, 2, platform::ILC_MASK | 0x18), encode(colour)), encode(mask)), &why);
    ASSERT_TRUE(out) << why;
    ASSERT_EQ(out->images.size(), 2u);
    EXPECT_EQ(out->images[0], (std::vector<std::uint32_t>{0xFFFF0000, 0, 0xFF112233, 0xFF445566}));
    EXPECT_EQ(out->images[1], (std::vector<std::uint32_t>{0xFF0000FF, 0xFF010203, 0xFF778899, 0xFFAABBCC}));
    EXPECT_EQ(out->background, platform::CLR_NONE);

    // 8-bit with a short colour table; no mask flag, so no mask is read even
    // though bytes follow.  An index past the table is black.
    ForeignBitmap indexed{2, 1, 8, false, {0x00ABCDEF, 0x00123456}, {1, 7}};
    auto paletted = read(concat(concat(ilHeader(2, 1, 1, 0x08), encode(indexed)), {1, 2, 3}), &why);
    ASSERT_TRUE(paletted) << why;
    EXPECT_EQ(paletted->images[0], std::vector<std::uint32_t>{0xFF123456});
    EXPECT_EQ(paletted->images[1], std::vector<std::uint32_t>{0xFF000000});

    // 4-bit, the nibble order high first.
    ForeignBitmap nibbles{3, 1, 4, false, std::vector<std::uint32_t>(16, 0), {2, 15, 2}};
    nibbles.palette[2] = 0x000002;
    nibbles.palette[15] = 0x0F0F0F;
    auto four = read(concat(ilHeader(3, 1, 1, 0x04), encode(nibbles)), &why);
    ASSERT_TRUE(four) << why;
    EXPECT_EQ(four->images[1], std::vector<std::uint32_t>{0xFF0F0F0F});
    EXPECT_EQ(four->images[2], std::vector<std::uint32_t>{0xFF000002});
}

TEST(ImageListStream, ThirtyTwoBitImagesWithoutAlphaAreOpaque)
{
    // Image 0 has every alpha byte 0, as older writers left 32-bit lists:
    // it is opaque.  Image 1 has alpha and keeps it, its zero-alpha pixel too.
    ForeignBitmap strip{4, 1, 32, false, {}, {0x00112233, 0x00445566, 0x80112233, 0x00000000}};
    std::string why;
    auto out = read(concat(ilHeader(2, 2, 1, platform::ILC_COLOR32), encode(strip)), &why);
    ASSERT_TRUE(out) << why;
    EXPECT_EQ(out->images[0], (std::vector<std::uint32_t>{0xFF112233, 0xFF445566}));
    EXPECT_EQ(out->images[1], (std::vector<std::uint32_t>{0x80112233, 0}));

    // A mask still cuts pixels out of the opaque image.
    ForeignBitmap mask{4, 1, 1, false, {0x000000, 0xFFFFFF}, {0, 1, 0, 0}};
    out = read(concat(concat(ilHeader(2, 2, 1, platform::ILC_COLOR32 | platform::ILC_MASK), encode(strip)),
                      encode(mask)), &why);
    ASSERT_TRUE(out) << why;
    EXPECT_EQ(out->images[0], (std::vector<std::uint32_t>{0xFF112233, 0}));
}

TEST(ImageListStream, EveryTruncationIsRejected)
{
    std::vector<std::uint8_t> b = platform::WriteImageListStream(sampleImages(5, 3, 4));
    ASSERT_TRUE(read(b));
    for (std::size_t n = 0; n < b.size(); ++n) {
        std::vector<std::uint8_t> cut(b.begin(), b.begin() + std::ptrdiff_t(n));
        std::string why;
        EXPECT_FALSE(read(cut, &why)) << n;
        EXPECT_FALSE(why.empty()) << n;
    }
}

TEST(ImageListStream, LyingHeadersAreRejectedForTheirReason)
{
    const std::vector<std::uint8_t> good = platform::WriteImageListStream(sampleImages(5, 3, 4));
    struct Case {
        const char* name;
        std::size_t at;
        int width; // 2 or 4 bytes
        std::uint32_t value;
        const char* reason;
    };
    const std::size_t bmp = 28, info = 28 + 14;
    const Case cases[] = {
        {"magic", 0, 2, 0x4D42, "no 'IL'"},
        {"version", 2, 2, 0x0102, "version"},
        {"count beyond the strip's 8 slots", 4, 2, 9, "more images"},
        {"count 65535", 4, 2, 0xFFFF, "more images"},
        {"zero width", 10, 2, 0, "image size"},
        {"width above the strip", 10, 2, 13, "smaller than one image"},
        {"height 0x8000", 12, 2, 0x8000, "image size"},
        {"bitmap magic", bmp, 2, 0x4C49, "'BM'"},
        {"info size", info, 4, 12, "info header size"},
        {"huge strip width", info + 4, 4, 0x7FFFFFFF, "too large"},
        {"strip height beyond the data", info + 8, 4, 5000, "cut short"},
        {"strip height INT32_MIN", info + 8, 4, 0x80000000, "impossible size"},
        {"planes", info + 12, 2, 2, "plane"},
        {"depth", info + 14, 2, 7, "depth"},
        {"compression", info + 16, 4, 1, "compressed"},
        {"colour table beyond the data", info + 32, 4, 0x40000000, "colour table"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> b = good;
        if (c.width == 2)
            put16(b, c.at, c.value);
        else
            put32(b, c.at, c.value);
        std::string why;
        EXPECT_FALSE(read(b, &why)) << c.name;
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.name << ": " << why;
    }

    // A mask of another size than the strip.
    std::vector<std::uint8_t> b = good;
    std::size_t maskInfo = 28 + 14 + 40 + 12 * 8 * 4 + 14;
    put32(b, maskInfo + 8, 4);
    std::string why;
    EXPECT_FALSE(read(b, &why));
    EXPECT_NE(why.find("differ in size"), std::string::npos) << why;

    // An 8-bit bitmap claiming more than 256 colours.
    ForeignBitmap indexed{1, 1, 8, false, {0}, {0}};
    std::vector<std::uint8_t> bytes = encode(indexed);
    put32(bytes, 46, 257);
    EXPECT_FALSE(read(concat(ilHeader(1, 1, 1, 0), bytes), &why));
    EXPECT_NE(why.find("colour table larger"), std::string::npos) << why;
}

TEST(ImageListStream, MutatedStreamsNeverBreakTheReader)
{
    const std::vector<std::uint8_t> good = platform::WriteImageListStream(sampleImages(7, 6, 5));
    std::mt19937 random(20240611);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::uint8_t> b = good;
        int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i) {
            // Mostly the headers, where a change matters most.
            std::size_t span = random() % 3 ? 28 + 54 + 8 : b.size();
            b[random() % std::min(span, b.size())] = std::uint8_t(random());
        }
        if (random() % 5 == 0)
            b.resize(random() % b.size());
        auto out = read(b);
        if (!out)
            continue;
        ++accepted;
        ASSERT_GE(out->cx, 1);
        ASSERT_GE(out->cy, 1);
        for (const auto& image : out->images)
            ASSERT_EQ(image.size(), std::size_t(out->cx) * std::size_t(out->cy));
    }
    // Changes to pixels and to fields that are not trusted keep streams readable.
    EXPECT_GT(accepted, 0);
}

TEST(ImageListBlock, MitlWrapperRules)
{
    ImageListImages in = sampleImages(3, 4, 4);
    std::vector<std::uint8_t> block = platform::WriteImageListBlock(in);
    std::vector<std::uint8_t> stream = platform::WriteImageListStream(in);
    ASSERT_EQ(block.size(), stream.size() + 8);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 4), "MITL");
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), block.begin() + 8));
    auto out = platform::ReadImageListBlock(block);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->images, in.images);

    // The four bytes after the mark are not read.
    std::vector<std::uint8_t> other = block;
    put32(other, 4, 0xFFFFFFFF);
    EXPECT_TRUE(platform::ReadImageListBlock(other));

    std::string why;
    for (std::size_t n : {0, 4, 8}) {
        std::vector<std::uint8_t> small(block.begin(), block.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(platform::ReadImageListBlock(small, &why)) << n;
    }
    EXPECT_NE(why.find("8 bytes or less"), std::string::npos);
    std::vector<std::uint8_t> nine(block.begin(), block.begin() + 9);
    EXPECT_FALSE(platform::ReadImageListBlock(nine, &why));
    EXPECT_NE(why.find("image list:"), std::string::npos) << why;
    std::vector<std::uint8_t> mark = block;
    mark[3] = 'X';
    EXPECT_FALSE(platform::ReadImageListBlock(mark, &why));
    EXPECT_NE(why.find("MITL"), std::string::npos);
    // A bare stream, without the wrapper, is no block.
    EXPECT_FALSE(platform::ReadImageListBlock(stream));
}

TEST(ImageListStream, BitmapStripIsCutIntoOpaqueImages)
{
    // 39 x 13 at 4 bits: three 13 x 13 images, like a check-box strip.
    ForeignBitmap strip{39, 13, 4, false, std::vector<std::uint32_t>(16, 0), {}};
    strip.palette[1] = 0x808080;
    strip.palette[2] = 0xFFFFFF;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 39; ++x)
            strip.values.push_back(std::uint32_t(x / 13));
    std::string why;
    auto out = platform::ReadBitmapStrip(encode(strip), 13, &why);
    ASSERT_TRUE(out) << why;
    EXPECT_EQ(out->cx, 13);
    EXPECT_EQ(out->cy, 13);
    ASSERT_EQ(out->images.size(), 3u);
    EXPECT_EQ(out->images[0].front(), 0xFF000000u);
    EXPECT_EQ(out->images[1][100], 0xFF808080u);
    EXPECT_EQ(out->images[2].back(), 0xFFFFFFFFu);
    // A width that leaves a partial image drops it; narrower than one fails.
    EXPECT_EQ(platform::ReadBitmapStrip(encode(strip), 12)->images.size(), 3u);
    EXPECT_FALSE(platform::ReadBitmapStrip(encode(strip), 40));
    EXPECT_FALSE(platform::ReadBitmapStrip(encode(strip), 0));
}

TEST(ImageListHandles, CreateAddReadAndDestroy)
{
    ImageListImages in = sampleImages(3, 4, 2);
    platform::ImageList list = platform::ImageListCreate(in);
    ASSERT_NE(list, platform::ImageList::Null);
    EXPECT_TRUE(platform::IsImageList(list));
    EXPECT_EQ(platform::ImageListCount(list), 3);
    EXPECT_EQ(platform::ImageListImageSize(list), (platform::Size{4, 2}));
    EXPECT_EQ(platform::ImageListGetImage(list, 2), in.images[2]);
    EXPECT_TRUE(platform::ImageListGetImage(list, 3).empty());
    EXPECT_TRUE(platform::ImageListGetImage(list, -1).empty());

    EXPECT_EQ(platform::ImageListAdd(list, in.images[0]), 3);
    std::vector<std::uint32_t> wrong(7, 0);
    EXPECT_EQ(platform::ImageListAdd(list, wrong), -1);
    EXPECT_EQ(platform::ImageListCount(list), 4);

    EXPECT_EQ(platform::ImageListSetBkColor(list, platform::Rgb(9, 9, 9)), platform::CLR_NONE);
    EXPECT_EQ(platform::ImageListGetBkColor(list), platform::Rgb(9, 9, 9));

    EXPECT_TRUE(platform::ImageListDestroy(list));
    EXPECT_FALSE(platform::IsImageList(list));
    EXPECT_FALSE(platform::ImageListDestroy(list));
    EXPECT_EQ(platform::ImageListCount(list), 0);
    EXPECT_EQ(platform::ImageListAdd(list, in.images[0]), -1);
    // Handles are not handed out again.
    platform::ImageList next = platform::ImageListCreate(4, 4);
    EXPECT_NE(next, list);
    EXPECT_EQ(platform::ImageListCount(next), 0);
    platform::ImageListDestroy(next);

    ImageListImages bad = in;
    bad.images[1].push_back(0);
    EXPECT_EQ(platform::ImageListCreate(bad), platform::ImageList::Null);
    EXPECT_EQ(platform::ImageListCreate(0, 16), platform::ImageList::Null);

    platform::ImageList fromBlock = platform::ImageListCreateFromBlock(platform::WriteImageListBlock(in));
    EXPECT_EQ(platform::ImageListCount(fromBlock), 3);
    platform::ImageListDestroy(fromBlock);
    std::vector<std::uint8_t> junk = {'M', 'I', 'T', 'L', 0, 0, 0, 0, 'I'};
    EXPECT_EQ(platform::ImageListCreateFromBlock(junk), platform::ImageList::Null);
}

// Paints image 0 of the list at (2, 2) over a white client area.
platform::ImageList g_painted = platform::ImageList::Null;

platform::LResult paintProc(platform::Hwnd hwnd, std::uint32_t message, platform::WParam wParam, platform::LParam lParam)
{
    if (message != platform::WM_PAINT)
        return platform::DefWindowProc(hwnd, message, wParam, lParam);
    platform::PaintStruct ps;
    platform::Hdc hdc = platform::BeginPaint(hwnd, ps);
    platform::FillRect(hdc, platform::Rect{0, 0, 40, 40}, platform::Rgb(255, 255, 255));
    platform::ImageListDraw(g_painted, 0, hdc, 2, 2);
    platform::EndPaint(hwnd, ps);
    return 0;
}

TEST(ImageListHandles, DrawBlendsByAlphaOverTheBackground)
{
    platform::WindowClass cls;
    cls.name = "ImageListTestPaint";
    cls.proc = paintProc;
    platform::RegisterWindowClass(cls);
    platform::WindowCreateParams params;
    params.className = cls.name;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.width = 40;
    params.height = 40;
    platform::Hwnd hwnd = platform::CreateWindowEx(params);
    ASSERT_NE(hwnd, platform::Hwnd::Null);

    // A 2 x 1 image: opaque red, then half-transparent blue.
    ImageListImages images;
    images.cx = 2;
    images.cy = 1;
    images.images = {{0xFFFF0000, 0x800000FF}};
    g_painted = platform::ImageListCreate(images);

    EXPECT_EQ(platform::testing::ClientPixel(hwnd, {2, 2}), platform::Rgb(255, 0, 0));
    platform::ColorRef blended = platform::testing::ClientPixel(hwnd, {3, 2});
    EXPECT_NEAR(int(blended & 0xFF), 127, 2); // white's red half left
    EXPECT_EQ((blended >> 16) & 0xFF, 255u);
    EXPECT_EQ(platform::testing::ClientPixel(hwnd, {4, 2}), platform::Rgb(255, 255, 255));

    // With a background colour the transparent half shows it instead.
    platform::ImageListSetBkColor(g_painted, platform::Rgb(0, 0, 0));
    blended = platform::testing::ClientPixel(hwnd, {3, 2});
    EXPECT_NEAR(int(blended & 0xFF), 0, 2);
    EXPECT_NEAR(int((blended >> 16) & 0xFF), 128, 2);

    // Nothing is drawn for a missing image or a stale context.
    EXPECT_FALSE(platform::ImageListDraw(g_painted, 1, platform::Hdc::Null, 0, 0));
    platform::ImageListDestroy(g_painted);
    g_painted = platform::ImageList::Null;
    EXPECT_EQ(platform::testing::ClientPixel(hwnd, {2, 2}), platform::Rgb(255, 255, 255));
    platform::DestroyWindow(hwnd);
}

} // namespace
