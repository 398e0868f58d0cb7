// Fuzz entry for the icon and cursor decoder: the directory, the choice of
// an image, and bitmaps with AND masks or PNG pictures inside.

#include "picture_fuzz.h"

bool picturefuzz::DecodeAndCheck(std::span<const std::uint8_t> bytes)
{
    auto d = platform::pictures::DecodeIconFile(bytes, kLimits);
    return CheckAnswer(bytes, d, {PictureFormat::Icon, PictureFormat::Cursor});
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    picturefuzz::DecodeAndCheck({data, size});
    return 0;
}
