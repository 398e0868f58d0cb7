#include "platform/icon.h"
#include "platform/image_list_stream.h"
#include "tools/png_reader.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> encodePng(int width, int height, png_uint_32 format, const std::vector<std::uint8_t>& pixels,
                                    const std::vector<std::uint8_t>& colourMap = {})
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = format;
    image.colormap_entries = png_uint_32(colourMap.size() / 4);
    png_alloc_size_t size = 0;
    const void* map = colourMap.empty() ? nullptr : colourMap.data();
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, map));
    std::vector<std::uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, map)) << image.message;
    out.resize(size);
    return out;
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the test's temporary directory.
fs::path scratch(const char* name)
{
    fs::path dir = fs::temp_directory_path() / ("velmora_png_" + std::to_string(::getpid())) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(PngReader, DecodesColourGreyAndPalettePicturesToRgba)
{
    std::vector<std::uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
    auto colour = tools::ReadPng(encodePng(2, 2, PNG_FORMAT_RGBA, rgba));
    ASSERT_TRUE(colour.image) << colour.error;
    EXPECT_EQ(colour.image->width, 2);
    EXPECT_EQ(colour.image->height, 2);
    EXPECT_EQ(colour.image->rgba, rgba);
    EXPECT_EQ(tools::ToArgb(*colour.image),
              (std::vector<std::uint32_t>{0xFFFF0000, 0x8000FF00, 0x000000FF, 0x280A141E}));

    auto grey = tools::ReadPng(encodePng(3, 1, PNG_FORMAT_GRAY, {0, 128, 255}));
    ASSERT_TRUE(grey.image) << grey.error;
    EXPECT_EQ(grey.image->rgba, (std::vector<std::uint8_t>{0, 0, 0, 255, 128, 128, 128, 255, 255, 255, 255, 255}));

    std::vector<std::uint8_t> map = {9, 8, 7, 255, 1, 2, 3, 0};
    auto indexed = tools::ReadPng(encodePng(2, 1, PNG_FORMAT_RGBA_COLORMAP, {1, 0}, map));
    ASSERT_TRUE(indexed.image) << indexed.error;
    EXPECT_EQ(indexed.image->rgba[4], 9);
    EXPECT_EQ(indexed.image->rgba[3], 0); // entry 1 is transparent
}

TEST(PngReader, DamagedOrForeignDataGivesAnError)
{
    std::vector<std::uint8_t> good = encodePng(4, 4, PNG_FORMAT_RGBA, std::vector<std::uint8_t>(64, 7));
    for (std::size_t n : {std::size_t(0), std::size_t(8), std::size_t(30), good.size() - 13}) {
        auto r = tools::ReadPng(std::span(good).first(n));
        EXPECT_FALSE(r.image) << n;
        EXPECT_FALSE(r.error.empty()) << n;
    }
    std::vector<std::uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(tools::ReadPng(bmp).image);
    EXPECT_FALSE(tools::ReadPngFile("/nonexistent/velmora.png").image);
}

TEST(PngReader, HugeDeclaredSizeIsRefusedBeforeDecoding)
{
    // A valid header of 100000 x 100000, then an empty data chunk: had the
    // reader trusted the header it would allocate 40 GB.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto addChunk = [&png](std::vector<std::uint8_t> chunk) {
        std::uint32_t length = std::uint32_t(chunk.size() - 4);
        for (int shift : {24, 16, 8, 0})
            png.push_back(std::uint8_t(length >> shift));
        uLong crc = crc32(0, chunk.data(), uInt(chunk.size()));
        png.insert(png.end(), chunk.begin(), chunk.end());
        for (int shift : {24, 16, 8, 0})
            png.push_back(std::uint8_t(crc >> shift));
    };
    addChunk({'I', 'H', 'D', 'R', 0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 6, 0, 0, 0});
    addChunk({'I', 'D', 'A', 'T'});
    addChunk({'I', 'E', 'N', 'D'});
    auto r = tools::ReadPng(png);
    EXPECT_FALSE(r.image);
    EXPECT_NE(r.error.find("too large"), std::string::npos) << r.error;
}

TEST(PngReader, PicturesBecomeAnImageListBlockAndAnIconFile)
{
    fs::path dir = scratch("lists");
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        std::vector<std::uint8_t> rgba(16 * 16 * 4, std::uint8_t(40 * i));
        rgba[3] = 0; // first pixel transparent
        fs::path p = dir / ("p" + std::to_string(i) + ".png");
        writeFile(p, encodePng(16, 16, PNG_FORMAT_RGBA, rgba));
        paths.push_back(p.string());
    }
    tools::BytesResult block = tools::ImageListBlockFromPngFiles(paths);
    ASSERT_FALSE(block.bytes.empty()) << block.error;
    auto list = platform::ReadImageListBlock(block.bytes);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->images.size(), 5u);
    EXPECT_EQ(list->images[3][0], 0u);
    EXPECT_EQ(list->images[3][1], 0x78787878u);

    tools::BytesResult icon = tools::IconFileFromPngFiles({paths[0], paths[1]});
    ASSERT_FALSE(icon.bytes.empty()) << icon.error;
    platform::Icon h = platform::CreateIconFromFile(icon.bytes);
    EXPECT_EQ(platform::GetIconSize(h), (platform::Size{16, 16}));
    platform::DestroyIcon(h);

    // A picture of another size, a missing file and no files are reported.
    fs::path odd = dir / "odd.png";
    writeFile(odd, encodePng(8, 16, PNG_FORMAT_RGBA, std::vector<std::uint8_t>(8 * 16 * 4, 1)));
    paths.push_back(odd.string());
    tools::BytesResult mixed = tools::ImageListBlockFromPngFiles(paths);
    EXPECT_TRUE(mixed.bytes.empty());
    EXPECT_NE(mixed.error.find("odd.png: 8 x 16"), std::string::npos) << mixed.error;
    tools::BytesResult missing = tools::ImageListBlockFromPngFiles({(dir / "none.png").string()});
    EXPECT_NE(missing.error.find("none.png"), std::string::npos) << missing.error;
    EXPECT_FALSE(tools::IconFileFromPngFiles({}).error.empty());
    fs::remove_all(dir.parent_path());
}

// The committed pictures of the catalogue.

const fs::path kAssets = fs::path(VELMORA_SOURCE_DIR) / "app" / "assets";

const char* const kNodePictures[] = {
    "node_00_py.png",  "node_01_csharp.png", "node_02_dotnet.png",  "node_03_java.png",
    "node_04_js.png",  "node_05_ui.png",     "node_06_php.png",     "node_07_sql.png",
    "node_08_mvc.png", "node_09_network.png", "node_10_social.png", "node_11_other.png",
};

TEST(CatalogueAssets, TwelveDistinctNodePicturesFormOneImageList)
{
    std::vector<std::string> paths;
    std::set<std::vector<std::uint8_t>> distinct;
    for (const char* name : kNodePictures) {
        fs::path p = kAssets / "nodes" / name;
        paths.push_back(p.string());
        auto r = tools::ReadPngFile(p.string());
        ASSERT_TRUE(r.image) << name << ": " << r.error;
        EXPECT_EQ(r.image->width, 16) << name;
        EXPECT_EQ(r.image->height, 16) << name;
        int opaque = 0;
        for (std::size_t i = 3; i < r.image->rgba.size(); i += 4)
            opaque += r.image->rgba[i] == 255;
        EXPECT_GT(opaque, 64) << name << " is mostly empty";
        distinct.insert(r.image->rgba);
    }
    EXPECT_EQ(distinct.size(), 12u);
    tools::BytesResult block = tools::ImageListBlockFromPngFiles(paths);
    ASSERT_FALSE(block.bytes.empty()) << block.error;
    auto list = platform::ReadImageListBlock(block.bytes);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->images.size(), 12u);
}

TEST(CatalogueAssets, WindowIconIsMadeFromItsPicture)
{
    auto picture = tools::ReadPngFile((kAssets / "window.png").string());
    ASSERT_TRUE(picture.image) << picture.error;
    EXPECT_EQ(picture.image->width, 24);
    EXPECT_EQ(picture.image->height, 24);
    tools::BytesResult made = tools::IconFileFromPngFiles({(kAssets / "window.png").string()});
    std::vector<std::uint8_t> committed = readFile(kAssets / "window.ico");
    EXPECT_EQ(committed.size(), 2462u);
    EXPECT_TRUE(made.bytes == committed) << "window.ico is not the icon of window.png: remake it with png_to_icon";
}

TEST(CatalogueAssets, AboutPictureIsA1080SquareJpeg)
{
    std::vector<std::uint8_t> jpeg = readFile(kAssets / "about.jpg");
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    // Walk the markers to the frame header.
    std::size_t at = 2;
    int width = 0, height = 0;
    while (at + 9 < jpeg.size() && jpeg[at] == 0xFF) {
        std::uint8_t marker = jpeg[at + 1];
        std::size_t length = std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (marker == 0xC0 || marker == 0xC2) {
            height = jpeg[at + 5] << 8 | jpeg[at + 6];
            width = jpeg[at + 7] << 8 | jpeg[at + 8];
            break;
        }
        at += 2 + length;
    }
    EXPECT_EQ(width, 1080);
    EXPECT_EQ(height, 1080);
}

} // namespace
