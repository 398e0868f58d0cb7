#include "platform_test_support.h"

#include "platform/icon.h"

#include <cstring>
#include <random>

namespace {

using namespace platform;

struct Image {
    int width = 0;
    int height = 0;
    std::uint32_t argb = 0xFF336699;
    int hotX = 0, hotY = 0; // cursors
};

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + size_t(i)] = std::uint8_t(v >> (8 * i));
}

// An icon (type 1) or cursor (type 2) file of 32-bit images: the directory,
// then per image its info header (twice the height: colour rows, then the
// mask rows), the colour rows bottom-up and an all-clear mask.
std::vector<std::uint8_t> imageFile(const std::vector<Image>& images, std::uint16_t type = 1)
{
    std::vector<std::uint8_t> out(6 + 16 * images.size());
    put16(out, 2, type);
    put16(out, 4, std::uint32_t(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const Image& img = images[i];
        std::size_t maskRow = std::size_t((img.width + 31) / 32) * 4;
        std::size_t bytes = 40 + std::size_t(img.width * img.height) * 4 + maskRow * std::size_t(img.height);
        std::size_t offset = out.size();
        std::size_t entry = 6 + 16 * i;
        out[entry] = std::uint8_t(img.width == 256 ? 0 : img.width);
        out[entry + 1] = std::uint8_t(img.height == 256 ? 0 : img.height);
        put16(out, entry + 4, type == 2 ? std::uint32_t(img.hotX) : 1);
        put16(out, entry + 6, type == 2 ? std::uint32_t(img.hotY) : 32);
        put32(out, entry + 8, std::uint32_t(bytes));
        put32(out, entry + 12, std::uint32_t(offset));
        out.resize(offset + bytes, 0);
        put32(out, offset, 40);
        put32(out, offset + 4, std::uint32_t(img.width));
        put32(out, offset + 8, std::uint32_t(img.height * 2));
        put16(out, offset + 12, 1);
        put16(out, offset + 14, 32);
        for (int p = 0; p < img.width * img.height; ++p)
            put32(out, offset + 40 + size_t(p) * 4, img.argb);
    }
    return out;
}

class Icons : public pt::PlatformTest {};

TEST_F(Icons, AOneImage32BitIconDecodesAtItsSize)
{
    // The size of the program's window icons.
    std::vector<std::uint8_t> file = imageFile({{24, 24}});
    EXPECT_EQ(file.size(), 6u + 16 + 40 + 24 * 24 * 4 + 4 * 24);
    Icon icon = CreateIconFromFile(file);
    ASSERT_NE(icon, Icon::Null);
    EXPECT_TRUE(IsIcon(icon));
    EXPECT_EQ(GetIconSize(icon), (Size{24, 24}));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(IsIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_EQ(GetIconSize(icon), Size{});
}

TEST_F(Icons, TheImageClosestToTheWantedSizeIsTaken)
{
    std::vector<std::uint8_t> file = imageFile({{16, 16}, {32, 32}, {48, 48}});
    const std::pair<int, int> wanted[] = {{0, 16}, {16, 16}, {20, 16}, {30, 32}, {32, 32}, {100, 48}};
    for (auto [want, got] : wanted) {
        Icon icon = CreateIconFromFile(file, want);
        ASSERT_NE(icon, Icon::Null) << want;
        EXPECT_EQ(GetIconSize(icon).cx, got) << want;
        DestroyIcon(icon);
    }
}

TEST_F(Icons, TruncatedOrLyingDirectoriesAreRejected)
{
    std::vector<std::uint8_t> good = imageFile({{16, 16}});
    auto with = [&](auto change) {
        std::vector<std::uint8_t> f = good;
        change(f);
        return f;
    };
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {0, 0, 1, 0, 1},                                    // shorter than the header
        std::vector<std::uint8_t>(good.begin(), good.begin() + 21), // entry cut short
        std::vector<std::uint8_t>(good.begin(), good.end() - 1),    // image cut short
        with([](auto& f) { f[0] = 1; }),                     // reserved word set
        with([](auto& f) { f[2] = 3; }),                     // neither icon nor cursor
        with([](auto& f) { f[4] = 0; }),                     // no images
        with([](auto& f) { f[4] = 2; }),                     // a second entry that is not there
        with([](auto& f) { put32(f, 6 + 8, 0); }),           // empty image
        with([](auto& f) { put32(f, 6 + 12, std::uint32_t(f.size())); }),  // image past the end
        with([](auto& f) { put32(f, 6 + 8, std::uint32_t(f.size())); }),   // size past the end
        with([](auto& f) { put32(f, 6 + 12, 0xFFFFFFF0u); }),             // offset wraps around
        with([](auto& f) { put32(f, 6 + 8, 0xFFFFFFFFu); }),              // size wraps around
        with([](auto& f) { put32(f, 22 + 4, 0x7FFFFFFF); }), // bitmap width beyond reason
        with([](auto& f) { put32(f, 22 + 8, 0x80000000u); }), // negative bitmap height
        with([](auto& f) { put16(f, 22 + 14, 0); }),         // no bits per pixel
        with([](auto& f) { put32(f, 22, 0xFFFFFF00u); }),    // info header size beyond the data
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        Icon icon = CreateIconFromFile(bad[i]);
        if (icon != Icon::Null) {
            // What decodes anyway must be a sound icon.
            Size s = GetIconSize(icon);
            EXPECT_TRUE(s.cx >= 1 && s.cx <= 256 && s.cy >= 1 && s.cy <= 256) << i;
            DestroyIcon(icon);
        }
        EXPECT_EQ(CreateCursorFromFile(bad[i]), Cursor::Null) << i;
    }
    // The plainly broken ones are all refused.
    for (std::size_t i = 0; i < 13; ++i)
        EXPECT_EQ(CreateIconFromFile(bad[i]), Icon::Null) << i;
}

TEST_F(Icons, MutatedFilesNeverCrashTheReaders)
{
    std::vector<std::uint8_t> seedIcon = imageFile({{16, 16}, {32, 32}});
    std::vector<std::uint8_t> seedCursor = imageFile({{32, 32, 0xFF000000, 3, 4}}, 2);
    std::mt19937 rng(20240601);
    int decoded = 0;
    for (int round = 0; round < 5000; ++round) {
        std::vector<std::uint8_t> f = (round % 2) ? seedIcon : seedCursor;
        int edits = 1 + int(rng() % 6);
        for (int e = 0; e < edits; ++e) {
            switch (rng() % 4) {
            case 0: // a random byte anywhere
                f[rng() % f.size()] = std::uint8_t(rng());
                break;
            case 1: // an extreme value in the directory or the info headers
            {
                static const std::uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 256, 65535};
                std::size_t at = (rng() % 2) ? 6 + rng() % 28 : 38 + rng() % 36;
                if (at + 4 <= f.size())
                    put32(f, at, extremes[rng() % std::size(extremes)]);
                break;
            }
            case 2: // cut short
                f.resize(rng() % f.size() + 1);
                break;
            default: // grown with noise
                for (int k = 0; k < 16; ++k)
                    f.push_back(std::uint8_t(rng()));
                break;
            }
        }
        if (Icon icon = CreateIconFromFile(f, int(rng() % 64)); icon != Icon::Null) {
            Size s = GetIconSize(icon);
            EXPECT_TRUE(s.cx >= 1 && s.cx <= 256 && s.cy >= 1 && s.cy <= 256) << round;
            DestroyIcon(icon);
            ++decoded;
        }
        if (Cursor cursor = CreateCursorFromFile(f); cursor != Cursor::Null) {
            EXPECT_TRUE(IsCursor(cursor));
            DestroyCursor(cursor);
        }
    }
    // The mutations leave some files intact enough to decode.
    EXPECT_GT(decoded, 0);
}

TEST_F(Icons, ACursorFileGivesACursorAndNotAnIcon)
{
    std::vector<std::uint8_t> cursorFile = imageFile({{32, 32, 0xFF000000, 5, 7}}, 2);
    std::vector<std::uint8_t> iconFile = imageFile({{32, 32}});
    Cursor cursor = CreateCursorFromFile(cursorFile);
    ASSERT_NE(cursor, Cursor::Null);
    EXPECT_TRUE(IsCursor(cursor));
    EXPECT_EQ(CreateIconFromFile(cursorFile), Icon::Null);
    EXPECT_EQ(CreateCursorFromFile(iconFile), Cursor::Null);
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_FALSE(IsCursor(cursor));
}

TEST_F(Icons, StandardCursorsAreSharedAndNeverDestroyed)
{
    Cursor arrow = LoadStandardCursor(StandardCursor::Arrow);
    ASSERT_NE(arrow, Cursor::Null);
    EXPECT_EQ(LoadStandardCursor(StandardCursor::Arrow), arrow);
    EXPECT_NE(LoadStandardCursor(StandardCursor::Hand), arrow);
    EXPECT_FALSE(DestroyCursor(arrow));
    EXPECT_TRUE(IsCursor(arrow));
    EXPECT_EQ(LoadStandardCursor(StandardCursor(999)), Cursor::Null);
}

TEST_F(Icons, AWindowIconIsSetReplacedAndGoesWithTheIcon)
{
    Hwnd h = pt::MakeTopLevel();
    Icon a = CreateIconFromFile(imageFile({{24, 24}}));
    Icon b = CreateIconFromFile(imageFile({{16, 16}}));
    EXPECT_EQ(GetWindowIcon(h), Icon::Null);
    SetWindowIcon(h, a);
    EXPECT_EQ(GetWindowIcon(h), a);
    SetWindowIcon(h, b);
    EXPECT_EQ(GetWindowIcon(h), b);
    DestroyIcon(b);
    EXPECT_EQ(GetWindowIcon(h), Icon::Null);
    SetWindowIcon(h, a);
    SetWindowIcon(h, Icon::Null);
    EXPECT_EQ(GetWindowIcon(h), Icon::Null);
    // Child windows have no icon of their own.
    Hwnd child = pt::MakeChild(h, {0, 0, 10, 10});
    SetWindowIcon(child, a);
    EXPECT_EQ(GetWindowIcon(child), Icon::Null);
    DestroyIcon(a);
}

} // namespace
