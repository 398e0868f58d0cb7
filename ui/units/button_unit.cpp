#include "ui/units/button_unit.h"

#include "platform/button.h"
#include "platform/messages.h"
#include "platform/picture.h"
#include "platform/window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

namespace ui {
namespace {

using namespace platform;

// By the stored alignments 0-2.
constexpr std::uint32_t kHorizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
constexpr std::uint32_t kVertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};

std::uint32_t pick(const std::uint32_t (&table)[3], std::int32_t stored)
{
    return table[stored >= 0 && stored <= 2 ? stored : 1];
}

bool isIconPicture(PictureFormat format)
{
    return format == PictureFormat::Icon || format == PictureFormat::Cursor;
}

} // namespace

ButtonUnit::~ButtonUnit() = default;

std::uint32_t ButtonUnit::buttonStyles() const
{
    std::uint32_t style = BS_MULTILINE | pick(kHorizontal, m_settings.horizontalAlignment) |
                          pick(kVertical, m_settings.verticalAlignment);
    return m_settings.type == 1 ? style | BS_DEFPUSHBUTTON : style;
}

bool ButtonUnit::createControl(const UnitCreateParams& p)
{
    if (!CreateUnitWindow(this, p, WC_BUTTON, p.style | buttonStyles(), 0, m_settings.caption))
        return false;
    showPicture();
    if (!m_settings.font.empty())
        ApplyFontBlock(handle(), m_settings.font, m_font, FontRecordUse::AsStored);
    return true;
}

// An icon or cursor picture makes an icon button, any other a bitmap
// button; a picture that does not decode leaves the caption.
void ButtonUnit::showPicture()
{
    std::optional<DecodedPicture> picture = DecodePicture(m_settings.picture);
    if (!picture)
        return;
    const PictureImage& image = picture->image;
    std::uint32_t style = GetWindowStyle(handle()) & ~(WS_VISIBLE | WS_DISABLED | BS_ICON | BS_BITMAP);
    if (isIconPicture(picture->format)) {
        m_icon.reset(CreateIconFromPixels(image.width, image.height, image.pixels));
        SetWindowStyle(handle(), style | BS_ICON);
        Button_SetIcon(handle(), m_icon.get());
    } else {
        m_bitmap.reset(CreateBitmapFromPixels(image.width, image.height, image.pixels));
        SetWindowStyle(handle(), style | BS_BITMAP);
        Button_SetBitmap(handle(), m_bitmap.get());
    }
}

LResult ButtonUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    if (message == kReflectedCommand) {
        if (std::uint32_t(HiWord(wParam)) == BN_CLICKED)
            raise(kButtonClicked);
        return 0;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createButton(const UnitCreateParams& p)
{
    return MakeDescribedUnit<ButtonUnit>(p);
}

constexpr KindRoutines kButtonRoutines = DescribedKindRoutines<ButtonUnit>(createButton);
const std::vector<PropertyDescriptor> kButtonProperties = PropertyTypeTable(ButtonDescription());

} // namespace

const UnitKindDescriptor kButtonKind{
    .chineseName = "按钮",
    .englishName = "Button",
    .stateFlags = 0x80000840,
    .propertyCount = std::int32_t(kButtonProperties.size()),
    .properties = kButtonProperties.data(),
    .kindEntry = KindEntryFor<kButtonRoutines>,
};

} // namespace ui
