// The two small buttons at the end of a single row of PageControl headers
// ("<" child 1008, ">" child 1009) that scroll the row by one header.  The
// unit draws them: an image of its scroll-button list for the button's
// state over the page area colour.
#pragma once

#include "platform/image_list.h"
#include "platform/messages.h"
#include "platform/window_object.h"

#include <cstdint>

namespace ui {

inline constexpr int kScrollBackId = 1008;
inline constexpr int kScrollOnId = 1009;

// Sent to the unit: wParam 1 scrolls on, 0 back.
inline constexpr std::uint32_t kScrollHeadersMessage = platform::WM_USER + 0x101;
// Sent to the unit when the pointer comes onto a button (it leaves the
// unit's own client area for the child's).
inline constexpr std::uint32_t kScrollButtonEnteredMessage = platform::WM_USER + 0x102;

// What the unit lends its buttons to draw with; it outlives them.
struct ScrollButtonLook {
    platform::ImageList images = platform::ImageList::Null;
    platform::ColorRef background = 0;
};

class PageScrollButton final : public platform::WindowObject {
public:
    static constexpr const char* kClassName = "_QX3_CScrollBtn";

    // A hidden button; null when it cannot be made.  The tip window (may
    // be Null) shows its tip.
    static PageScrollButton* create(platform::Hwnd parent, bool forward, const ScrollButtonLook* look,
                                    platform::Hwnd tip);

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

protected:
    void onWindowGone() override;

private:
    PageScrollButton(bool forward, const ScrollButtonLook* look, platform::Hwnd tip)
        : m_forward(forward), m_look(look), m_tip(tip)
    {
    }
    void paint();
    void setState(bool hot, bool pressed);

    bool m_forward;
    const ScrollButtonLook* m_look;
    platform::Hwnd m_tip;
    bool m_hot = false;
    bool m_pressed = false;
};

} // namespace ui
