#include "platform/picture.h"

#include "platform/picture/decoders.h"

#include <cassert>
#include <iterator>

namespace platform {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kSignatureLength = 8;

std::uint16_t u16At(Bytes b, std::size_t at)
{
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

bool isBmp(Bytes b)
{
    return b[0] == 'B' && b[1] == 'M';
}
bool isJpeg(Bytes b)
{
    return b[0] == 0xFF && b[1] == 0xD8;
}
bool isPng(Bytes b)
{
    return (std::uint32_t(u16At(b, 2)) << 16 | u16At(b, 0)) == 0x474E5089u;
}
bool isIcon(Bytes b)
{
    return u16At(b, 0) == 0 && u16At(b, 2) == 1 && u16At(b, 4) != 0;
}
bool isCursor(Bytes b)
{
    return u16At(b, 0) == 0 && u16At(b, 2) == 2 && u16At(b, 4) != 0;
}
bool isGif(Bytes b)
{
    return b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') && b[5] == 'a';
}
// PCX: maker 0x0A, version, encoding, bits per pixel.
bool isPcx256(Bytes b)
{
    return b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8;
}
bool isPcxMono(Bytes b)
{
    return b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1;
}

struct FormatRule {
    PictureFormat format;
    bool (*matches)(Bytes first8);
    pictures::Decoded (*decode)(Bytes, const pictures::Limits&);
};

// The signatures exclude one another, so the order is only that of the
// format list.
constexpr FormatRule kFormats[] = {
    {.format = PictureFormat::Bmp, .matches = isBmp, .decode = pictures::DecodeBmp},
    {.format = PictureFormat::Jpeg, .matches = isJpeg, .decode = pictures::DecodeJpeg},
    {.format = PictureFormat::Png, .matches = isPng, .decode = pictures::DecodePng},
    {.format = PictureFormat::Icon, .matches = isIcon, .decode = pictures::DecodeIconFile},
    {.format = PictureFormat::Cursor, .matches = isCursor, .decode = pictures::DecodeIconFile},
    {.format = PictureFormat::Gif, .matches = isGif, .decode = pictures::DecodeGif},
    {.format = PictureFormat::Pcx256, .matches = isPcx256, .decode = pictures::DecodePcx},
    {.format = PictureFormat::PcxMono, .matches = isPcxMono, .decode = pictures::DecodePcx},
};

const FormatRule* ruleFor(Bytes bytes)
{
    if (bytes.size() < kSignatureLength)
        return nullptr;
    for (const FormatRule& rule : kFormats)
        if (rule.matches(bytes.first(kSignatureLength)))
            return &rule;
    return nullptr;
}

} // namespace

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes)
{
    const FormatRule* rule = ruleFor(bytes);
    return rule ? rule->format : PictureFormat::None;
}

std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes, std::string* whyNot)
{
    auto refuse = [&](std::string why) -> std::optional<DecodedPicture> {
        if (whyNot)
            *whyNot = std::move(why);
        return std::nullopt;
    };
    if (bytes.size() < kSignatureLength)
        return refuse("not a picture: " + std::to_string(bytes.size()) + " bytes, fewer than a signature's 8");
    const FormatRule* rule = ruleFor(bytes);
    if (!rule)
        return refuse("not a picture: its first 8 bytes are of no known format");
    pictures::Decoded decoded = rule->decode(bytes, pictures::kPictureLimits);
    if (!decoded.picture) {
        assert(!decoded.error.empty());
        return refuse(std::move(decoded.error));
    }
    // The decoders read the variant from the data itself; the signature
    // table must agree with them.
    assert(decoded.picture->format == rule->format);
    if (whyNot)
        whyNot->clear();
    return std::move(decoded.picture);
}

namespace pictures {

std::string Describe(std::string_view format, std::string_view what, std::size_t at)
{
    std::string s(format);
    s += " picture: ";
    s += what;
    s += " (at byte " + std::to_string(at) + ")";
    return s;
}

Decoded Refuse(std::string_view format, std::string_view what, std::size_t at)
{
    return Decoded{.picture = std::nullopt, .error = Describe(format, what, at)};
}

std::string SizeProblem(std::int64_t width, std::int64_t height, const Limits& limits)
{
    auto size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0)
        return "an empty size of " + size + " pixels";
    if (width > limits.maxSide || height > limits.maxSide)
        return size + " pixels, more than " + std::to_string(limits.maxSide) + " a side";
    if (std::uint64_t(width) * std::uint64_t(height) > limits.maxPixels)
        return size + " pixels, more than " + std::to_string(limits.maxPixels) + " in all";
    return {};
}

PictureImage BlankImage(int width, int height, std::uint32_t fill)
{
    assert(width > 0 && height > 0);
    return PictureImage{.width = width,
                        .height = height,
                        .pixels = std::vector<std::uint32_t>(std::size_t(width) * std::size_t(height), fill)};
}

} // namespace pictures
} // namespace platform
