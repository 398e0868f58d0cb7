#include "ui/framework/logfont_record.h"

#include "ui/framework/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace ui {

static_assert(kLogFontRecordSize == platform::kLogFontSize);

std::optional<platform::LogFont> ReadLogFont(std::span<const std::uint8_t> record)
{
    if (record.size() != kLogFontRecordSize)
        return std::nullopt;
    ByteReader r(record);
    platform::LogFont f;
    f.height = r.i32();
    f.width = r.i32();
    f.escapement = r.i32();
    f.orientation = r.i32();
    f.weight = r.i32();
    f.italic = r.u8();
    f.underline = r.u8();
    f.strikeOut = r.u8();
    f.charSet = r.u8();
    f.outPrecision = r.u8();
    f.clipPrecision = r.u8();
    f.quality = r.u8();
    f.pitchAndFamily = r.u8();
    auto face = r.view(f.faceName.size());
    std::copy(face.begin(), face.end(), reinterpret_cast<std::uint8_t*>(f.faceName.data()));
    return f;
}

std::array<std::uint8_t, kLogFontRecordSize> WriteLogFont(const platform::LogFont& f)
{
    ByteWriter w;
    w.i32(f.height);
    w.i32(f.width);
    w.i32(f.escapement);
    w.i32(f.orientation);
    w.i32(f.weight);
    for (std::uint8_t b : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality,
                           f.pitchAndFamily})
        w.u8(b);
    w.bytes({reinterpret_cast<const std::uint8_t*>(f.faceName.data()), f.faceName.size()});
    std::array<std::uint8_t, kLogFontRecordSize> out{};
    std::copy(w.data().begin(), w.data().end(), out.begin());
    return out;
}

void VisitFontFace(std::vector<std::uint8_t>& block, const std::function<std::string(std::string_view)>& visit)
{
    std::optional<platform::LogFont> font = ReadLogFont(block);
    if (!font)
        return;
    std::string face(font->faceName.data(), strnlen(font->faceName.data(), font->faceName.size()));
    std::string replaced = visit(face).substr(0, font->faceName.size() - 1);
    font->faceName.fill(0);
    std::copy(replaced.begin(), replaced.end(), font->faceName.begin());
    auto record = WriteLogFont(*font);
    block.assign(record.begin(), record.end());
}

} // namespace ui
