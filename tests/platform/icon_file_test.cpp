#include "platform/icon.h"
#include "platform/icon_file.h"

#include <gtest/gtest.h>

namespace {

using platform::IconImage;

IconImage square(int side, std::uint32_t colour)
{
    IconImage image{side, side, std::vector<std::uint32_t>(std::size_t(side) * std::size_t(side), colour)};
    image.pixels[0] = 0; // top-left transparent
    return image;
}

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

TEST(IconFile, OneImageIconHasTheSizeOfAWindowIconAndLoads)
{
    // 6 + 16 directory, 40 info header, 24*24*4 colour, 24 rows of 4 mask bytes.
    std::vector<std::uint8_t> file = platform::WriteIconFile({square(24, 0xFF2060A0)});
    ASSERT_EQ(file.size(), 2462u);
    EXPECT_EQ(u32At(file, 6 + 8), 2462u - 22);  // image bytes
    EXPECT_EQ(u32At(file, 6 + 12), 22u);        // image offset
    EXPECT_EQ(u32At(file, 22 + 8), 48u);        // double height in the info header

    platform::Icon icon = platform::CreateIconFromFile(file);
    ASSERT_NE(icon, platform::Icon::Null);
    EXPECT_EQ(platform::GetIconSize(icon), (platform::Size{24, 24}));
    platform::DestroyIcon(icon);
}

TEST(IconFile, RowsAreBottomUpAndTheMaskMarksTransparentPixels)
{
    IconImage image{3, 2, {0x00000000, 0xFF010203, 0x80040506, 0xFF070809, 0xFF0A0B0C, 0x00FFFFFF}};
    std::vector<std::uint8_t> file = platform::WriteIconFile({image});
    std::size_t colour = 22 + 40;
    // First stored row is the bottom one.
    EXPECT_EQ(u32At(file, colour), 0xFF070809u);
    EXPECT_EQ(u32At(file, colour + 3 * 4 + 4), 0xFF010203u);
    std::size_t mask = colour + 6 * 4;
    EXPECT_EQ(file[mask], 0x20);     // bottom row: the third pixel is transparent
    EXPECT_EQ(file[mask + 4], 0x80); // top row: the first pixel is; half alpha is not
    EXPECT_EQ(file.size(), mask + 8);
}

TEST(IconFile, SeveralImagesAreChosenBySize)
{
    std::vector<std::uint8_t> file =
        platform::WriteIconFile({square(16, 0xFFFF0000), square(32, 0xFF00FF00), square(256, 0xFF0000FF)});
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[6 + 32], 0); // 256 is written as 0 in the directory
    for (int wanted : {16, 32, 256}) {
        platform::Icon icon = platform::CreateIconFromFile(file, wanted);
        ASSERT_NE(icon, platform::Icon::Null) << wanted;
        EXPECT_EQ(platform::GetIconSize(icon), (platform::Size{wanted, wanted}));
        platform::DestroyIcon(icon);
    }
}

TEST(IconFile, ImpossibleImagesGiveNoFile)
{
    EXPECT_TRUE(platform::WriteIconFile({}).empty());
    EXPECT_TRUE(platform::WriteIconFile({square(257, 0xFF000000)}).empty());
    EXPECT_TRUE(platform::WriteIconFile({IconImage{0, 0, {}}}).empty());
    IconImage short_ = square(16, 0xFF000000);
    short_.pixels.pop_back();
    EXPECT_TRUE(platform::WriteIconFile({square(16, 0xFF000000), short_}).empty());
}

} // namespace
