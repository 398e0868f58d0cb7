// Fuzz entry for the JPEG decoder: libjpeg's errors and warnings, the
// size and scan limits, and the colour conversions.

#include "picture_fuzz.h"

bool picturefuzz::DecodeAndCheck(std::span<const std::uint8_t> bytes)
{
    auto d = platform::pictures::DecodeJpeg(bytes, kLimits);
    if (!CheckAnswer(bytes, d, {PictureFormat::Jpeg}))
        return false;
    CheckOpaque(d.picture->image);
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    picturefuzz::DecodeAndCheck({data, size});
    return 0;
}
