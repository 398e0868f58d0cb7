// Fuzz entry for the GIF decoder: its block walk, LZW decoding and frame
// composition.  Composed pixels are either transparent or opaque.

#include "picture_fuzz.h"

bool picturefuzz::DecodeAndCheck(std::span<const std::uint8_t> bytes)
{
    auto d = platform::pictures::DecodeGif(bytes, kLimits);
    if (!CheckAnswer(bytes, d, {PictureFormat::Gif}))
        return false;
    for (const platform::PictureFrame& f : d.picture->frames)
        for (std::uint32_t px : f.image.pixels)
            if (px != 0 && px >> 24 != 0xFF)
                Fail("a GIF pixel neither transparent nor opaque");
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    picturefuzz::DecodeAndCheck({data, size});
    return 0;
}
