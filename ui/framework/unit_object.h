// The live object of a unit: bound to the unit's window, it raises the
// common events from the message loop and tells the runtime when its
// window is gone.
#pragma once

#include "platform/window_object.h"
#include "runtime/event_call.h"

#include <cstdint>
#include <initializer_list>

namespace ui {

class LoadedWindow;

// Common events, raised for every unit with a window.
enum CommonEvent : std::int32_t {
    kEventLeftDown = -1,
    kEventLeftUp = -2,
    kEventDoubleClick = -3,
    kEventRightDown = -4,
    kEventRightUp = -5,
    kEventMouseMove = -6,
    kEventFocusGained = -7,
    kEventFocusLost = -8,
    kEventKeyDown = -9,
    kEventKeyUp = -10,
    kEventCharacter = -11,
    kEventWheel = -12,
};

// A control's notification to its parent comes back to the control's own
// object as the reflected message, so each unit handles its own.
inline constexpr std::uint32_t kReflectBase = 0x0400 + 0x1C00;
inline constexpr std::uint32_t kReflectedCommand = kReflectBase + 0x0111; // wParam, lParam of WM_COMMAND
inline constexpr std::uint32_t kReflectedNotify = kReflectBase + 0x004E;  // lParam: NotifyHeader*
// A control's colour request (WM_CTLCOLOREDIT and the like) reflected:
// kReflectBase + the request, wParam the device context.
constexpr std::uint32_t ReflectedMessage(std::uint32_t message)
{
    return kReflectBase + message;
}

class UnitObject : public platform::WindowObject {
public:
    UnitObject(std::uint32_t windowId, std::uint32_t unitId, std::uint32_t kindId);
    ~UnitObject() override;

    std::uint32_t windowId() const { return m_windowId; }
    std::uint32_t unitId() const { return m_unitId; }
    std::uint32_t kindId() const { return m_kindId; }

    // Raises an event of this unit with integer arguments.
    runtime::EventCall raise(std::int32_t event, std::initializer_list<std::intptr_t> args = {});
    runtime::TypedEventCall raiseTyped(std::int32_t event, std::initializer_list<runtime::TypedValue> args);

    // Whether a window belongs to this unit: its own, or for kinds whose
    // window holds child windows, one of those.
    bool ownsWindow(platform::Hwnd hwnd) const;

    // The page of a paged container whose units are shown.
    virtual int currentPage() const { return 0; }

    // Stages of the window's opening.
    virtual void loadComplete() {}
    virtual void windowLoadComplete() {}
    virtual void windowShown() {}
    // Shows the unit as the opening does (the window's own unit decides
    // its own way).
    virtual void showInitially();

    bool preTranslateMessage(platform::Msg& msg) override;
    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

protected:
    void onWindowGone() override;

private:
    bool raiseCommonEvent(platform::Msg& msg);

    std::uint32_t m_windowId;
    std::uint32_t m_unitId;
    std::uint32_t m_kindId;
};

// Key state bits of common events.
enum : std::int32_t { kKeyStateCtrl = 1, kKeyStateShift = 2, kKeyStateAlt = 4 };

// The key code reported for a virtual key: keypad digits as main digits,
// keypad minus, point and divide as the main keyboard's keys.
std::uint32_t CommonEventKeyCode(std::uint32_t virtualKey);

} // namespace ui
