#include "ui/units/window_kind_data.h"

#include "ui/framework/kind_codec.h"
#include "ui/framework/window_events.h"

namespace ui {
namespace {

using W = WindowKindData;
using E = W::Effect;

// In stored order: version gates say from which version a setting is
// there; the caption and the text setting close every version.
constexpr Setting<W> kSettings[] = {
    {.member = &W::borderStyle, .stored = Stored::Number, .key = "border-style",
     .property = 9, .type = kTypeChoice, .clamp = ClampRange{0, 6}, .effect = E::FrameStyles},
    {.member = &W::backgroundPlacement, .stored = Stored::Number, .key = "background-placement",
     .property = 12, .type = kTypeChoice, .clamp = ClampRange{0, 3}, .effect = E::Repaint},
    {.member = &W::backgroundColor, .stored = Stored::Number, .key = "background-color",
     .property = 10, .type = kTypeBackColor, .effect = E::Repaint},
    {.member = &W::maximizeButton, .stored = Stored::Number, .key = "maximize-button",
     .property = 16, .type = kTypeLogical, .effect = E::FrameStyles},
    {.member = &W::minimizeButton, .stored = Stored::Number, .key = "minimize-button",
     .property = 17, .type = kTypeLogical, .effect = E::FrameStyles},
    {.member = &W::controlBox, .stored = Stored::Number, .key = "control-box",
     .property = 15, .type = kTypeLogical, .effect = E::FrameStyles},
    {.member = &W::startPosition, .stored = Stored::Number, .key = "start-position",
     .property = 18, .type = kTypeChoice, .clamp = ClampRange{0, 3}, .effect = E::StartPosition},
    {.member = &W::movable, .stored = Stored::Number, .key = "movable",
     .property = 19, .type = kTypeLogical, .effect = E::Movable},
    {.member = &W::soundPlayMode, .stored = Stored::Number, .key = "sound-play-mode",
     .property = 14, .type = kTypeChoice, .clamp = ClampRange{0, 2}, .effect = E::Sound},
    {.member = &W::logicalSetting21, .stored = Stored::Number, .key = "setting-21",
     .property = 21, .type = kTypeLogical},
    {.member = &W::logicalSetting22, .stored = Stored::Number, .key = "setting-22",
     .property = 22, .type = kTypeLogical},
    {.member = &W::logicalSetting23, .stored = Stored::Number, .key = "setting-23",
     .property = 23, .type = kTypeLogical},
    {.member = &W::integerSetting25, .stored = Stored::Number, .key = "setting-25",
     .property = 25, .type = kTypeInteger},
    {.member = &W::keepOwnerless, .stored = Stored::Number, .since = 2, .key = "keep-ownerless",
     .property = 26, .type = kTypeLogical},
    {.member = &W::logicalSetting27, .stored = Stored::Number, .since = 3, .key = "setting-27",
     .property = 27, .type = kTypeLogical},
    {.member = &W::windowShape, .stored = Stored::Number, .since = 3, .key = "shape",
     .property = 28, .type = kTypeChoice, .clamp = ClampRange{0, 29}},
    {.member = &W::alwaysOnTop, .stored = Stored::Number, .since = 4, .key = "always-on-top",
     .property = 29, .type = kTypeLogical, .effect = E::Topmost},
    {.member = &W::logicalSetting30, .stored = Stored::Number, .since = 5, .key = "setting-30",
     .property = 30, .type = kTypeLogical},
    {.member = &W::className, .stored = Stored::Counted, .since = 6, .key = "class-name",
     .property = 31, .type = kTypeText},
    {.member = &W::backgroundPicture, .stored = Stored::Counted, .key = "background-picture",
     .property = 11, .type = kTypePicture, .effect = E::Repaint},
    {.member = &W::icon, .stored = Stored::Counted, .key = "icon",
     .property = 20, .type = kTypeBytes1012, .effect = E::Icon},
    {.member = &W::backgroundSound, .stored = Stored::Counted, .key = "sound",
     .property = 13, .type = kTypeBytes1010, .effect = E::Sound},
    {.member = &W::caption, .stored = Stored::Counted, .key = "caption",
     .property = 8, .type = kTypeText, .live = W::Live::Caption, .effect = E::Caption},
    {.member = &W::textSetting24, .stored = Stored::Counted, .key = "setting-24",
     .property = 24, .type = kTypeText},
};

constexpr std::int32_t kEvents[] = {
    kWindowLoaded, kWindowMayClose, kWindowDestroying, kWindowMoved, kWindowResized,
    kWindowActivated, kWindowDeactivated, kWindowIdle, kWindowFirstActivation, kWindowTrayIcon,
    kWindowShown, kWindowHidden, kWindowCloseRequested,
};

constexpr KindDescription<W> kDescription{
    .name = "window",
    .kind = kinds::Window,
    .newestVersion = W::kMaxVersion,
    .settings = kSettings,
    .events = kEvents,
};

} // namespace

const KindDescription<WindowKindData>& WindowDescription()
{
    return kDescription;
}

std::optional<WindowKindData> WindowKindData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> WindowKindData::Write() const
{
    return WriteKindData(kDescription, *this);
}

} // namespace ui
