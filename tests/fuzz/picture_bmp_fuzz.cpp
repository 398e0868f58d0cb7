// Fuzz entry for the BMP decoder (with the bitmaps and run-length codes it
// shares with icons).

#include "picture_fuzz.h"

bool picturefuzz::DecodeAndCheck(std::span<const std::uint8_t> bytes)
{
    auto d = platform::pictures::DecodeBmp(bytes, kLimits);
    return CheckAnswer(bytes, d, {PictureFormat::Bmp});
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    picturefuzz::DecodeAndCheck({data, size});
    return 0;
}
