// Icon and cursor files: a header (0, the type: 1 icon, 2 cursor, the
// image count), a 16-byte directory entry an image, then the images, each
// a PNG file or a device-independent bitmap with its AND mask.  One image
// is taken: the first whose entry gives 16 to 255 colours and a width of
// 32, else the last.  A cursor's entry holds its hotspot where an icon's
// holds planes and bit count.

#include "platform/picture/decoders.h"
#include "platform/picture/dib.h"
#include "platform/picture/reader.h"

#include <algorithm>
#include <vector>

namespace platform::pictures {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct FileType {
    std::uint16_t type;
    PictureFormat format;
    std::string_view name;
};

constexpr FileType kTypes[] = {
    {.type = 1, .format = PictureFormat::Icon, .name = "icon"},
    {.type = 2, .format = PictureFormat::Cursor, .name = "cursor"},
};

struct Entry {
    std::uint8_t width; // 0 for 256
    std::uint8_t colours; // 0 for 256 or more
    std::uint16_t hotspotX, hotspotY;
    std::uint32_t size, offset;
};

bool preferred(const Entry& e)
{
    return e.colours >= 16 && e.width == 32;
}

} // namespace

Decoded DecodeIconFile(std::span<const std::uint8_t> bytes, const Limits& limits)
{
    Reader r(bytes);
    std::uint16_t reserved = r.u16();
    std::uint16_t type = r.u16();
    std::uint16_t count = r.u16();
    const FileType* file =
        std::find_if(std::begin(kTypes), std::end(kTypes), [&](const FileType& t) { return t.type == type; });
    if (!r.ok() || reserved != 0 || file == std::end(kTypes))
        return Refuse("icon", "no icon or cursor file header", 0);
    const std::string_view format = file->name;
    if (count == 0)
        return Refuse(format, "a directory without images", 4);
    if (count > r.remaining() / kEntrySize)
        return Refuse(format, "a directory of " + std::to_string(count) + " entries runs past the end of the data",
                      kHeaderSize);
    std::vector<Entry> entries(count);
    for (Entry& e : entries) {
        e.width = r.u8();
        r.skip(1); // height: the bitmap's own header tells
        e.colours = r.u8();
        r.skip(1);
        e.hotspotX = r.u16();
        e.hotspotY = r.u16();
        e.size = r.u32();
        e.offset = r.u32();
    }
    auto chosen = std::find_if(entries.begin(), entries.end(), preferred);
    if (chosen == entries.end())
        chosen = entries.end() - 1;
    const std::size_t number = std::size_t(chosen - entries.begin());
    const std::size_t entryAt = kHeaderSize + number * kEntrySize;
    const Entry& e = *chosen;
    if (e.offset > bytes.size() || e.size > bytes.size() - e.offset)
        return Refuse(format,
                      "image " + std::to_string(number + 1) + " of " + std::to_string(count) + ", " +
                          std::to_string(e.size) + " bytes at byte " + std::to_string(e.offset) +
                          ", runs past the end of the data",
                      entryAt);

    std::optional<PictureImage> image;
    const auto data = bytes.first(std::size_t(e.offset) + e.size);
    const auto own = data.subspan(e.offset);
    if (own.size() >= sizeof kPngSignature && std::equal(std::begin(kPngSignature), std::end(kPngSignature), own.begin())) {
        Decoded png = DecodePng(own, limits);
        if (!png.picture)
            return Refuse(format, "image " + std::to_string(number + 1) + " is a PNG picture that fails: " + png.error,
                          e.offset);
        image = std::move(png.picture->image);
    } else {
        // The bitmap is read within its own bytes, with positions in the file.
        DibImage dib = DecodeDib(DibSource{.data = data, .headerAt = e.offset, .iconMasks = true, .format = format},
                                 limits);
        if (!dib.image)
            return Decoded{.picture = std::nullopt, .error = std::move(dib.error)};
        image = std::move(dib.image);
    }
    DecodedPicture picture{.format = file->format, .image = std::move(*image)};
    if (file->format == PictureFormat::Cursor) {
        picture.hotspotX = e.hotspotX;
        picture.hotspotY = e.hotspotY;
    }
    return Decoded{.picture = std::move(picture), .error = {}};
}

} // namespace platform::pictures
