// PNG through libpng.  Its errors jump back to the guarded call through
// libpng's own jump buffer, with the message kept; a guarded step holds no
// object with a destructor, so the jump skips none.  Every kind of PNG is
// turned into 8-bit RGBA by libpng's transformations (palette and
// transparency expanded, grey made RGB, 16 bits scaled, opaque alpha added
// where there is none, interlacing undone) and then packed as ARGB.
// Reads are bounded by the data; one past the end is an error, and so is a
// file that ends before its closing chunk.

#include "platform/picture/decoders.h"

#include <cassert>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <png.h>

namespace platform::pictures {
namespace {

constexpr std::string_view kFormat = "PNG";

struct Session {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::span<const std::uint8_t> data;
    std::size_t at = 0;
    char message[256] = {};

    ~Session() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

[[noreturn]] void onError(png_structp png, png_const_charp text)
{
    auto* s = static_cast<Session*>(png_get_error_ptr(png));
    std::snprintf(s->message, sizeof s->message, "%s", text);
    png_longjmp(png, 1);
}

// Warnings (a damaged ancillary chunk, say) leave the picture whole.
void onWarning(png_structp, png_const_charp) {}

void readData(png_structp png, png_bytep out, png_size_t n)
{
    auto* s = static_cast<Session*>(png_get_io_ptr(png));
    if (n > s->data.size() - s->at)
        png_error(png, "the data ends before the picture does");
    std::memcpy(out, s->data.data() + s->at, n);
    s->at += n;
}

template<typename Step>
bool guarded(Session& s, Step step)
{
    if (setjmp(png_jmpbuf(s.png)))
        return false;
    step();
    return true;
}

} // namespace

Decoded DecodePng(std::span<const std::uint8_t> bytes, const Limits& limits)
{
    Session s{.data = bytes};
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, onError, onWarning);
    if (!s.png)
        return Refuse(kFormat, "libpng cannot start", 0);
    auto failure = [&] { return Refuse(kFormat, s.message, s.at); };

    png_uint_32 width = 0, height = 0;
    bool read = guarded(s, [&] {
        s.info = png_create_info_struct(s.png);
        if (!s.info)
            png_error(s.png, "libpng cannot start");
        png_set_read_fn(s.png, &s, readData);
        png_read_info(s.png, s.info);
        width = png_get_image_width(s.png, s.info);
        height = png_get_image_height(s.png, s.info);
    });
    if (!read)
        return failure();
    if (std::string problem = SizeProblem(width, height, limits); !problem.empty())
        return Refuse(kFormat, problem, 16);

    bool prepared = guarded(s, [&] {
        png_set_expand(s.png);
        png_set_scale_16(s.png);
        png_set_gray_to_rgb(s.png);
        png_set_add_alpha(s.png, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(s.png);
        png_read_update_info(s.png, s.info);
    });
    if (!prepared)
        return failure();
    assert(png_get_rowbytes(s.png, s.info) == std::size_t(width) * 4);

    // libpng writes RGBA bytes straight into the pixels, which are then
    // packed in place.
    PictureImage image = BlankImage(int(width), int(height), kOpaqueBlack);
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = reinterpret_cast<png_bytep>(&image.pixels[y * width]);
    bool decoded = guarded(s, [&] {
        png_read_image(s.png, rows.data());
        png_read_end(s.png, nullptr);
    });
    if (!decoded)
        return failure();
    for (std::uint32_t& p : image.pixels) {
        std::uint8_t rgba[4];
        std::memcpy(rgba, &p, 4);
        p = Argb(rgba[3], rgba[0], rgba[1], rgba[2]);
    }
    return Decoded{.picture = DecodedPicture{.format = PictureFormat::Png, .image = std::move(image)}, .error = {}};
}

} // namespace platform::pictures
