#include "ui/framework/unit_object.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "ui/framework/framework.h"

namespace ui {
namespace {

// The common event a queued message raises, 0 for none.
std::int32_t commonEventFor(std::uint32_t message)
{
    using namespace platform;
    switch (message) {
    case WM_LBUTTONDOWN: return kEventLeftDown;
    case WM_LBUTTONUP: return kEventLeftUp;
    case WM_LBUTTONDBLCLK: return kEventDoubleClick;
    case WM_RBUTTONDOWN: return kEventRightDown;
    case WM_RBUTTONUP: return kEventRightUp;
    case WM_MOUSEMOVE: return kEventMouseMove;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return kEventKeyDown;
    case WM_KEYUP:
    case WM_SYSKEYUP: return kEventKeyUp;
    case WM_CHAR: return kEventCharacter;
    case WM_MOUSEWHEEL: return kEventWheel;
    default: return 0;
    }
}

std::intptr_t keyState(std::uint32_t exceptKey)
{
    std::intptr_t s = 0;
    if (platform::GetKeyState(platform::VK_CONTROL) < 0 && exceptKey != platform::VK_CONTROL)
        s |= kKeyStateCtrl;
    if (platform::GetKeyState(platform::VK_SHIFT) < 0 && exceptKey != platform::VK_SHIFT)
        s |= kKeyStateShift;
    if (platform::GetKeyState(platform::VK_MENU) < 0 && exceptKey != platform::VK_MENU)
        s |= kKeyStateAlt;
    return s;
}

} // namespace

std::uint32_t CommonEventKeyCode(std::uint32_t vk)
{
    using namespace platform;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return 0x30 + (vk - VK_NUMPAD0);
    switch (vk) {
    case VK_SUBTRACT: return VK_OEM_MINUS;
    case VK_DECIMAL: return VK_OEM_PERIOD;
    case VK_DIVIDE: return VK_OEM_2;
    default: return vk;
    }
}

UnitObject::UnitObject(std::uint32_t windowId, std::uint32_t unitId, std::uint32_t kindId)
    : m_windowId(windowId), m_unitId(unitId), m_kindId(kindId)
{
}

UnitObject::~UnitObject() = default;

runtime::EventCall UnitObject::raise(std::int32_t event, std::initializer_list<std::intptr_t> args)
{
    runtime::EventCall call;
    call.windowId = m_windowId;
    call.unitId = m_unitId;
    call.event = event;
    for (std::intptr_t a : args) {
        if (call.argCount == int(call.args.size()))
            break;
        call.args[std::size_t(call.argCount++)] = a;
    }
    TheFramework().raiseEvent(call);
    return call;
}

runtime::TypedEventCall UnitObject::raiseTyped(std::int32_t event, std::initializer_list<runtime::TypedValue> args)
{
    runtime::TypedEventCall call;
    call.windowId = m_windowId;
    call.unitId = m_unitId;
    call.event = event;
    for (const runtime::TypedValue& a : args) {
        if (call.argCount == int(call.args.size()))
            break;
        call.args[std::size_t(call.argCount++)] = a;
    }
    TheFramework().raiseEvent(call);
    return call;
}

bool UnitObject::ownsWindow(platform::Hwnd hwnd) const
{
    if (hwnd == handle())
        return true;
    return TheFramework().kinds().hasChildWindows(m_kindId) && platform::IsChild(handle(), hwnd);
}

void UnitObject::showInitially()
{
    platform::ShowWindow(handle(), platform::SW_SHOWNA);
}

bool UnitObject::preTranslateMessage(platform::Msg& msg)
{
    if (!ownsWindow(msg.hwnd))
        return false;
    return raiseCommonEvent(msg);
}

bool UnitObject::raiseCommonEvent(platform::Msg& msg)
{
    using namespace platform;
    std::int32_t event = commonEventFor(msg.message);
    if (event == 0)
        return false;
    runtime::EventCall call;
    switch (event) {
    case kEventKeyDown:
    case kEventKeyUp:
        call = raise(event, {std::intptr_t(CommonEventKeyCode(std::uint32_t(msg.wParam))),
                             keyState(std::uint32_t(msg.wParam))});
        break;
    case kEventCharacter:
        call = raise(event, {std::intptr_t(msg.wParam)});
        break;
    case kEventWheel:
        call = raise(event, {std::intptr_t(SignedHiWord(msg.wParam) / 120), keyState(0)});
        break;
    default: {
        Point p = PointFromLParam(msg.lParam);
        call = raise(event, {p.x, p.y, keyState(0)});
        break;
    }
    }
    // The handler may have closed the window: nothing of it is left to
    // receive the message.
    if (!IsWindow(msg.hwnd))
        return true;
    if (event == kEventCharacter) {
        if (!call.handled || !call.returned)
            return false;
        if (call.result == 0)
            return true;
        msg.wParam = WParam(std::uint32_t(call.result));
        return false;
    }
    return runtime::Vetoed(call);
}

platform::LResult UnitObject::windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam)
{
    switch (message) {
    case platform::WM_SETFOCUS:
        raise(kEventFocusGained);
        break;
    case platform::WM_KILLFOCUS:
        raise(kEventFocusLost);
        break;
    case runtime::kMessageGetWindowObject:
        return platform::LResult(this);
    case platform::WM_COMMAND:
        if (lParam != 0 && platform::Hwnd(lParam) != handle() && platform::IsWindow(platform::Hwnd(lParam)))
            return platform::SendMessage(platform::Hwnd(lParam), kReflectedCommand, wParam, lParam);
        break;
    case platform::WM_CTLCOLOREDIT:
    case platform::WM_CTLCOLORLISTBOX:
    case platform::WM_CTLCOLORBTN:
    case platform::WM_CTLCOLORSTATIC:
        if (platform::Hwnd control = platform::Hwnd(lParam); control != handle() && platform::IsWindow(control))
            if (platform::LResult brush = platform::SendMessage(control, ReflectedMessage(message), wParam, lParam))
                return brush;
        break;
    case platform::WM_NOTIFY:
        if (auto* header = reinterpret_cast<const platform::NotifyHeader*>(lParam);
            header && header->hwndFrom != handle() && platform::IsWindow(header->hwndFrom))
            return platform::SendMessage(header->hwndFrom, kReflectedNotify, wParam, lParam);
        break;
    default:
        break;
    }
    if (!platform::IsWindow(handle()))
        return 0;
    return defaultProc(message, wParam, lParam);
}

void UnitObject::onWindowGone()
{
    runtime::TheRuntime().unitDestroyed(m_windowId, m_unitId);
    platform::DeleteWindowObjectLater(this);
}

} // namespace ui
