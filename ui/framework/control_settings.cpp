#include "ui/framework/control_settings.h"

#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/logfont_record.h"

#include <algorithm>

namespace ui {
namespace {

using namespace platform;

struct BorderBits {
    std::uint32_t style;
    std::uint32_t exStyle;
};

// By border style 0-5.
constexpr BorderBits kBorders[] = {
    {0, 0},
    {0, WS_EX_CLIENTEDGE},
    {0, WS_EX_DLGMODALFRAME},
    {0, WS_EX_STATICEDGE},
    {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME},
    {WS_BORDER, 0},
};
constexpr std::uint32_t kAllBorderStyles = WS_BORDER;
constexpr std::uint32_t kAllBorderExStyles = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

// Proof quality: the font as drawn matches the font asked for.
constexpr std::uint8_t kProofQuality = 2;
constexpr std::uint8_t kDefaultCharset = 1;

} // namespace

void ApplyBorderStyle(Hwnd hwnd, std::int32_t borderStyle)
{
    const BorderBits& bits = kBorders[std::clamp(borderStyle, 0, 5)];
    std::uint32_t style = (GetWindowStyle(hwnd) & ~(kAllBorderStyles | WS_VISIBLE | WS_DISABLED)) | bits.style;
    std::uint32_t exStyle = (GetWindowExStyle(hwnd) & ~kAllBorderExStyles) | bits.exStyle;
    if (style != (GetWindowStyle(hwnd) & ~(WS_VISIBLE | WS_DISABLED)))
        SetWindowStyle(hwnd, style);
    if (exStyle != GetWindowExStyle(hwnd))
        SetWindowExStyle(hwnd, exStyle);
}

ColorRef ColorOfSetting(std::uint32_t stored)
{
    return stored == 0xFF000000u ? GetSysColor(COLOR_BTNFACE) : ColorRef(stored & 0xFFFFFF);
}

Font CreateFontFromBlock(std::span<const std::uint8_t> block, FontRecordUse use)
{
    std::optional<LogFont> font = ReadLogFont(block);
    if (!font)
        return Font::Null;
    if (use == FontRecordUse::AsStored)
        return CreateFontIndirect(*font);
    font->charSet = kDefaultCharset;
    font->outPrecision = 0;
    font->clipPrecision = 0;
    font->quality = kProofQuality;
    font->pitchAndFamily = 0;
    return CreateFontIndirect(*font);
}

void ApplyFontBlock(Hwnd hwnd, std::span<const std::uint8_t> block, OwnedFont& owned, FontRecordUse use)
{
    Font font = CreateFontFromBlock(block, use);
    SetWindowFont(hwnd, font != Font::Null ? font : GetStockFont(DEFAULT_GUI_FONT));
    owned.reset(font);
}

} // namespace ui
