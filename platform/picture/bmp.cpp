// BMP files: a 14-byte file header ("BM", the file size, two reserved
// words, where the pixel rows start), then a device-independent bitmap.
// The file size is not checked: writers get it wrong, and every read is
// bounded by the data anyway.

#include "platform/picture/decoders.h"
#include "platform/picture/dib.h"
#include "platform/picture/reader.h"

namespace platform::pictures {

Decoded DecodeBmp(std::span<const std::uint8_t> bytes, const Limits& limits)
{
    constexpr std::string_view kFormat = "BMP";
    constexpr std::size_t kFileHeaderSize = 14;
    Reader r(bytes);
    std::uint8_t b = r.u8();
    std::uint8_t m = r.u8();
    r.skip(8); // file size, reserved
    std::uint32_t bitsAt = r.u32();
    if (!r.ok())
        return Refuse(kFormat, "the data ends inside the file header", 0);
    if (b != 'B' || m != 'M')
        return Refuse(kFormat, "no \"BM\" signature", 0);
    DibImage dib = DecodeDib(
        DibSource{.data = bytes, .headerAt = kFileHeaderSize, .bitsAt = bitsAt, .iconMasks = false, .format = kFormat},
        limits);
    if (!dib.image)
        return Decoded{.picture = std::nullopt, .error = std::move(dib.error)};
    return Decoded{.picture = DecodedPicture{.format = PictureFormat::Bmp, .image = std::move(*dib.image)}, .error = {}};
}

} // namespace platform::pictures
