// Fuzz entry for the PNG decoder: libpng's errors, reads bounded by the
// data, and the size limits.

#include "picture_fuzz.h"

bool picturefuzz::DecodeAndCheck(std::span<const std::uint8_t> bytes)
{
    auto d = platform::pictures::DecodePng(bytes, kLimits);
    return CheckAnswer(bytes, d, {PictureFormat::Png});
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    picturefuzz::DecodeAndCheck({data, size});
    return 0;
}
