// JPEG through libjpeg.  libjpeg reports a fatal error by calling
// error_exit, which must not return; ours jumps back to the guarded call
// with the message, and every libjpeg call runs inside one.  A guarded
// step holds no object with a destructor, so the jump skips none.
//
// A file that ends early only makes libjpeg warn and pad the picture with
// grey; that warning is taken as the failure it is.  Progressive files
// may hold any number of scans, each a pass over the whole picture, so
// their count is bounded, and so is libjpeg's memory (it keeps a
// progressive picture's coefficients whole).

#include "platform/picture/decoders.h"

#include <cassert>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace platform::pictures {
namespace {

constexpr std::string_view kFormat = "JPEG";
constexpr int kMostScans = 500;
// Bytes libjpeg may hold per pixel of the limit: four components of
// 16-bit coefficients.
constexpr std::uint64_t kMemoryPerPixel = 8;

struct ErrorManager {
    jpeg_error_mgr base; // first: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct Session {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    bool created = false;

    ~Session()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

ErrorManager& errorsOf(j_common_ptr info)
{
    return *reinterpret_cast<ErrorManager*>(info->err);
}

[[noreturn]] void failWith(j_common_ptr info, const char* text)
{
    std::snprintf(errorsOf(info).message, sizeof errorsOf(info).message, "%s", text);
    std::longjmp(errorsOf(info).jump, 1);
}

[[noreturn]] void exitOnError(j_common_ptr info)
{
    (*info->err->format_message)(info, errorsOf(info).message);
    std::longjmp(errorsOf(info).jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        failWith(info, "the data ends before the picture does");
}

void onProgress(j_common_ptr info)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > kMostScans)
        failWith(info, "more than 500 scans");
}

// Runs `step`; false, with libjpeg's message in the session, when it gave up.
template<typename Step>
bool guarded(Session& s, Step step)
{
    if (setjmp(s.errors.jump))
        return false;
    step();
    return true;
}

void greyRow(const JSAMPLE* in, std::uint32_t* out, int width, bool)
{
    for (int x = 0; x < width; ++x)
        out[x] = Argb(0xFF, in[x], in[x], in[x]);
}

void rgbRow(const JSAMPLE* in, std::uint32_t* out, int width, bool)
{
    for (int x = 0; x < width; ++x, in += 3)
        out[x] = Argb(0xFF, in[0], in[1], in[2]);
}

// Adobe's files store CMYK inverted (255 for no ink); others store ink.
void cmykRow(const JSAMPLE* in, std::uint32_t* out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, in += 4) {
        std::uint32_t c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        auto mix = [k](std::uint32_t v) { return (v * k + 127) / 255; };
        out[x] = Argb(0xFF, mix(c), mix(m), mix(y));
    }
}

struct ColourSpace {
    J_COLOR_SPACE stored;
    J_COLOR_SPACE decodedAs;
    int components;
    void (*convert)(const JSAMPLE* in, std::uint32_t* out, int width, bool adobe);
};

constexpr ColourSpace kColourSpaces[] = {
    {.stored = JCS_GRAYSCALE, .decodedAs = JCS_GRAYSCALE, .components = 1, .convert = greyRow},
    {.stored = JCS_YCbCr, .decodedAs = JCS_RGB, .components = 3, .convert = rgbRow},
    {.stored = JCS_RGB, .decodedAs = JCS_RGB, .components = 3, .convert = rgbRow},
    {.stored = JCS_CMYK, .decodedAs = JCS_CMYK, .components = 4, .convert = cmykRow},
    {.stored = JCS_YCCK, .decodedAs = JCS_CMYK, .components = 4, .convert = cmykRow},
};

} // namespace

Decoded DecodeJpeg(std::span<const std::uint8_t> bytes, const Limits& limits)
{
    Session s;
    s.info.err = jpeg_std_error(&s.errors.base);
    s.errors.base.error_exit = exitOnError;
    s.errors.base.emit_message = onMessage;
    s.progress.progress_monitor = onProgress;
    // Where libjpeg stopped reading: after the end it reads a made-up end
    // marker of its own.
    auto failure = [&] {
        std::size_t at = bytes.size();
        auto address = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p); };
        if (s.info.src && address(s.info.src->next_input_byte) >= address(bytes.data()) &&
            address(s.info.src->next_input_byte) <= address(bytes.data() + bytes.size()))
            at = address(s.info.src->next_input_byte) - address(bytes.data());
        return Refuse(kFormat, s.errors.message, at);
    };

    bool read = guarded(s, [&] {
        jpeg_create_decompress(&s.info);
        s.created = true;
        s.info.progress = &s.progress;
        s.info.mem->max_memory_to_use = long(limits.maxPixels * kMemoryPerPixel);
        jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&s.info, TRUE);
    });
    if (!read)
        return failure();
    if (std::string problem = SizeProblem(s.info.image_width, s.info.image_height, limits); !problem.empty())
        return Refuse(kFormat, problem, 0);
    const ColourSpace* space = nullptr;
    for (const ColourSpace& c : kColourSpaces)
        if (c.stored == s.info.jpeg_color_space && c.components == s.info.num_components)
            space = &c;
    if (!space)
        return Refuse(kFormat,
                      std::to_string(s.info.num_components) + " components in colour space " +
                          std::to_string(int(s.info.jpeg_color_space)) + ", which are not shown",
                      0);

    PictureImage image = BlankImage(int(s.info.image_width), int(s.info.image_height), kOpaqueBlack);
    const bool adobe = s.info.saw_Adobe_marker;
    bool decoded = guarded(s, [&] {
        s.info.out_color_space = space->decodedAs;
        jpeg_start_decompress(&s.info);
        assert(int(s.info.output_width) == image.width && int(s.info.output_height) == image.height);
        JSAMPARRAY row = (*s.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.info), JPOOL_IMAGE,
                                                     s.info.output_width * JDIMENSION(space->components), 1);
        while (s.info.output_scanline < s.info.output_height) {
            std::size_t y = s.info.output_scanline;
            jpeg_read_scanlines(&s.info, row, 1);
            space->convert(row[0], &image.pixels[y * std::size_t(image.width)], image.width, adobe);
        }
        jpeg_finish_decompress(&s.info);
    });
    if (!decoded)
        return failure();
    return Decoded{.picture = DecodedPicture{.format = PictureFormat::Jpeg, .image = std::move(image)}, .error = {}};
}

} // namespace platform::pictures
