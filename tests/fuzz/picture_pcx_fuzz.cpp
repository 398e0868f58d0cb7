// Fuzz entry for the PCX decoder.  Monochrome pictures hold black and
// white only; no PCX picture has transparency.

#include "picture_fuzz.h"

bool picturefuzz::DecodeAndCheck(std::span<const std::uint8_t> bytes)
{
    auto d = platform::pictures::DecodePcx(bytes, kLimits);
    if (!CheckAnswer(bytes, d, {PictureFormat::Pcx256, PictureFormat::PcxMono}))
        return false;
    CheckOpaque(d.picture->image);
    if (d.picture->format == PictureFormat::PcxMono)
        for (std::uint32_t px : d.picture->image.pixels)
            if (px != 0xFF000000u && px != 0xFFFFFFFFu)
                Fail("a monochrome pixel neither black nor white");
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    picturefuzz::DecodeAndCheck({data, size});
    return 0;
}
