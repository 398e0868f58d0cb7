// How units' stored settings become settings of their controls: border
// styles, colours, font blocks, and the platform resources a unit owns
// while its control shows them.
#pragma once

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/image_list.h"
#include "platform/types.h"

#include <cstdint>
#include <span>
#include <utility>

namespace ui {

// The border styles 0-5 (none, sunken client edge, raised modal-frame
// edge, shallow static edge, raised and sunken, thin line) set on a
// window, keeping its other style bits.
void ApplyBorderStyle(platform::Hwnd hwnd, std::int32_t borderStyle);

// A stored colour: 0xFF000000 is the system button-face colour.
platform::ColorRef ColorOfSetting(std::uint32_t stored);

// An image list or font the unit made and must destroy: released when
// replaced and when the owner goes.
template<class Handle, bool (*Destroy)(Handle)>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle h) : m_handle(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : m_handle(std::exchange(other.m_handle, Handle::Null)) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_handle, Handle::Null));
        return *this;
    }
    ~Owned() { reset(); }

    Handle get() const { return m_handle; }
    void reset(Handle h = Handle::Null)
    {
        Handle old = std::exchange(m_handle, h);
        if (old != Handle::Null && old != h)
            Destroy(old);
    }

private:
    Handle m_handle = Handle::Null;
};
using OwnedImageList = Owned<platform::ImageList, platform::ImageListDestroy>;
using OwnedFont = Owned<platform::Font, platform::DeleteFont>;
using OwnedBrush = Owned<platform::Brush, platform::DeleteBrush>;
using OwnedBitmap = Owned<platform::Bitmap, platform::DeleteBitmap>;
using OwnedIcon = Owned<platform::Icon, platform::DestroyIcon>;

// How a font block's record is taken: as stored, or (the extended units)
// with the character set made the default, output and clip precision 0,
// proof quality and pitch and family 0.
enum class FontRecordUse { AsStored, Normalised };

// The font of a font block, a 60-byte record.  Null for a block of any
// other length or a font that cannot be made: the control keeps the
// default GUI font.
platform::Font CreateFontFromBlock(std::span<const std::uint8_t> block, FontRecordUse use);

// Applies a font block to a control: its own font, or the default GUI
// font.  `owned` keeps the font made for it.
void ApplyFontBlock(platform::Hwnd hwnd, std::span<const std::uint8_t> block, OwnedFont& owned,
                    FontRecordUse use = FontRecordUse::Normalised);

} // namespace ui
