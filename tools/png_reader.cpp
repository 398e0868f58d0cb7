#include "tools/png_reader.h"

#include "platform/icon_file.h"
#include "platform/image_list_stream.h"

#include <png.h>

#include <fstream>
#include <iterator>

namespace tools {
namespace {

PngResult failure(std::string error)
{
    return PngResult{std::nullopt, std::move(error)};
}

// Reads a whole file; false when it cannot be opened or read.
bool readFile(const std::string& path, std::vector<std::uint8_t>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Reads every picture, prefixing each error with the file it is about.
bool readAll(const std::vector<std::string>& paths, std::vector<PngImage>& images, std::string& error)
{
    if (paths.empty()) {
        error = "no pictures given";
        return false;
    }
    for (const std::string& path : paths) {
        PngResult r = ReadPngFile(path);
        if (!r.image) {
            error = path + ": " + r.error;
            return false;
        }
        images.push_back(std::move(*r.image));
    }
    return true;
}

} // namespace

PngResult ReadPng(std::span<const std::uint8_t> data)
{
    // The simplified interface reports errors in the control structure
    // instead of jumping out of the caller.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size()))
        return failure(std::string("not a readable PNG picture: ") + image.message);
    if (image.width == 0 || image.height == 0 || std::uint64_t(image.width) * image.height > kMostPngPixels) {
        png_image_free(&image);
        return failure("PNG picture too large (" + std::to_string(image.width) + " x " +
                       std::to_string(image.height) + ")");
    }
    image.format = PNG_FORMAT_RGBA;
    PngImage out;
    out.width = int(image.width);
    out.height = int(image.height);
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        std::string message = image.message;
        png_image_free(&image);
        return failure("PNG picture damaged: " + message);
    }
    return PngResult{std::move(out), {}};
}

PngResult ReadPngFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!readFile(path, bytes))
        return failure("cannot read the file");
    return ReadPng(bytes);
}

std::vector<std::uint32_t> ToArgb(const PngImage& image)
{
    std::vector<std::uint32_t> out(image.rgba.size() / 4);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::uint8_t* p = image.rgba.data() + 4 * i;
        out[i] = std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    }
    return out;
}

BytesResult ImageListBlockFromPngFiles(const std::vector<std::string>& paths)
{
    std::vector<PngImage> images;
    std::string error;
    if (!readAll(paths, images, error))
        return {{}, error};
    platform::ImageListImages list;
    list.cx = images.front().width;
    list.cy = images.front().height;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (images[i].width != list.cx || images[i].height != list.cy)
            return {{}, paths[i] + ": " + std::to_string(images[i].width) + " x " + std::to_string(images[i].height) +
                            ", but the list's images are " + std::to_string(list.cx) + " x " +
                            std::to_string(list.cy)};
        list.images.push_back(ToArgb(images[i]));
    }
    std::vector<std::uint8_t> block = platform::WriteImageListBlock(list);
    if (block.empty())
        return {{}, "the pictures cannot form an image list"};
    return {std::move(block), {}};
}

BytesResult IconFileFromPngFiles(const std::vector<std::string>& paths)
{
    std::vector<PngImage> images;
    std::string error;
    if (!readAll(paths, images, error))
        return {{}, error};
    std::vector<platform::IconImage> icons;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (images[i].width > 256 || images[i].height > 256)
            return {{}, paths[i] + ": larger than 256 x 256, too large for an icon"};
        icons.push_back({images[i].width, images[i].height, ToArgb(images[i])});
    }
    std::vector<std::uint8_t> file = platform::WriteIconFile(icons);
    if (file.empty())
        return {{}, "the pictures cannot form an icon file"};
    return {std::move(file), {}};
}

} // namespace tools
