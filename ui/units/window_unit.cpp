#include "ui/units/window_unit.h"

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/menu.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "runtime/services.h"
#include "ui/framework/focus_order.h"
#include "ui/framework/framework.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/unit_commands.h"
#include "ui/framework/window_events.h"

#include <cassert>
#include <utility>

namespace ui {
namespace {

using namespace platform;

enum BorderStyle : std::int32_t {
    kBorderNone = 0,
    kBorderResizable = 1,
    kBorderFixed = 2,
    kBorderResizableTool = 3,
    kBorderFixedTool = 4,
    kBorderResizableSunken = 5,
    kBorderFixedSunken = 6,
};

enum StartPosition : std::int32_t { kAsStored = 0, kCentred = 1, kMinimized = 2, kMaximized = 3 };

bool resizable(std::int32_t border)
{
    return border == kBorderResizable || border == kBorderResizableTool || border == kBorderResizableSunken;
}

void registerClass(const std::string& name)
{
    if (IsWindowClassRegistered(name))
        return;
    WindowClass cls;
    cls.name = name;
    cls.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    cls.cursor = LoadStandardCursor(StandardCursor::Arrow);
    cls.nullBrush = true;
    RegisterWindowClass(cls);
}

ColorRef backgroundOf(std::uint32_t stored)
{
    return stored == 0xFF000000u ? GetSysColor(COLOR_BTNFACE) : ColorRef(stored & 0xFFFFFF);
}

} // namespace

WindowStyles StylesFor(const WindowKindData& s)
{
    WindowStyles w;
    w.style = WS_CLIPCHILDREN;
    if (s.borderStyle == kBorderNone) {
        w.style |= WS_POPUP;
    } else {
        bool caption = !s.caption.empty() || s.controlBox;
        if (caption)
            w.style |= WS_CAPTION;
        if (s.controlBox)
            w.style |= WS_SYSMENU;
        if (resizable(s.borderStyle))
            w.style |= WS_THICKFRAME;
        else if (!caption)
            w.style |= WS_DLGFRAME;
        if (s.borderStyle == kBorderResizableTool || s.borderStyle == kBorderFixedTool)
            w.exStyle |= WS_EX_TOOLWINDOW;
        if (s.borderStyle == kBorderResizableSunken || s.borderStyle == kBorderFixedSunken)
            w.exStyle |= WS_EX_CLIENTEDGE;
    }
    if (s.maximizeButton)
        w.style |= WS_MAXIMIZEBOX;
    if (s.minimizeButton)
        w.style |= WS_MINIMIZEBOX;
    if (s.startPosition == kMinimized)
        w.style |= WS_MINIMIZE;
    if (s.startPosition == kMaximized && resizable(s.borderStyle))
        w.style |= WS_MAXIMIZE;
    return w;
}

WindowUnit::WindowUnit(const UnitCreateParams& p, WindowKindData settings)
    : UnitObject(p.windowId, p.unitId, p.kindId), m_settings(std::move(settings))
{
}

WindowUnit* WindowUnit::create(const UnitCreateParams& p)
{
    std::optional<WindowKindData> settings = WindowKindData::Read(p.kindData);
    if (!settings)
        return nullptr;
    std::string className = settings->className.empty() ? kDefaultWindowClass : settings->className;
    registerClass(className);

    WindowStyles styles = StylesFor(*settings);
    int x = p.left;
    int y = p.top;
    if (settings->startPosition == kCentred) {
        Size screen = GetScreenSize();
        x = (screen.cx - p.width) / 2;
        y = (screen.cy - p.height) / 2;
    }
    // A window opened without an owner is owned by the hidden owner window
    // when it is modal or its owner setting asks for it.
    Hwnd owner = p.parent;
    if (owner == Hwnd::Null && (p.modal || !settings->keepOwnerless))
        owner = runtime::TheRuntime().hiddenOwner();

    auto* unit = new WindowUnit(p, std::move(*settings));
    WindowCreateParams w;
    w.exStyle = styles.exStyle;
    w.className = className;
    w.text = unit->m_settings.caption;
    w.style = styles.style & ~(WS_MINIMIZE | WS_MAXIMIZE);
    w.x = x;
    w.y = y;
    w.width = p.width;
    w.height = p.height;
    w.parent = owner;
    w.menu = p.menu;
    if (CreateWindowEx(w, unit) == Hwnd::Null) {
        delete unit;
        return nullptr;
    }
    Hwnd h = unit->handle();
    Rect outer = GetWindowRect(h);
    if (outer.width() != p.width || outer.height() != p.height)
        MoveWindow(h, outer.left, outer.top, p.width, p.height);
    unit->applyIcon();
    SetWindowFont(h, GetStockFont(DEFAULT_GUI_FONT));
    unit->applyTopmost();
    unit->applyMovable();
    unit->startSound();
    unit->m_created = true;
    return unit;
}

LoadedWindow* WindowUnit::window() const
{
    return TheFramework().window(windowId());
}

void WindowUnit::applyFrameStyles()
{
    WindowStyles styles = StylesFor(m_settings);
    std::uint32_t keep = GetWindowStyle(handle()) & (WS_VISIBLE | WS_DISABLED);
    SetWindowStyle(handle(), (styles.style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | keep);
    SetWindowExStyle(handle(), styles.exStyle | (m_settings.alwaysOnTop ? std::uint32_t(WS_EX_TOPMOST) : 0u));
    InvalidateRect(handle(), nullptr, true);
}

void WindowUnit::applyIcon()
{
    Icon old = std::exchange(m_icon, Icon::Null);
    if (!m_settings.icon.empty())
        m_icon = CreateIconFromFile(m_settings.icon);
    SetWindowIcon(handle(), m_icon);
    if (old != Icon::Null)
        DestroyIcon(old);
}

void WindowUnit::applyTopmost()
{
    SetWindowPos(handle(), m_settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowUnit::applyMovable()
{
    if (m_settings.movable)
        RestoreSystemCommand(handle(), SC_MOVE);
    else
        RemoveSystemCommand(handle(), SC_MOVE);
}

void WindowUnit::startSound()
{
    runtime::TheRuntime().stopPlayback();
    if (m_settings.backgroundSound.empty() || m_settings.soundPlayMode == 2)
        return;
    runtime::TheRuntime().startPlayback(m_settings.backgroundSound, m_settings.soundPlayMode == 0);
}

void WindowUnit::applyStartPosition(bool atCreation)
{
    Hwnd h = handle();
    switch (m_settings.startPosition) {
    case kCentred: {
        if (!atCreation && (IsIconic(h) || IsZoomed(h)))
            ShowWindow(h, SW_RESTORE);
        Rect r = GetWindowRect(h);
        Size screen = GetScreenSize();
        MoveWindow(h, (screen.cx - r.width()) / 2, (screen.cy - r.height()) / 2, r.width(), r.height());
        if (atCreation)
            ShowWindow(h, SW_SHOW);
        break;
    }
    case kMinimized:
        ShowWindow(h, atCreation ? SW_SHOWMINIMIZED : SW_MINIMIZE);
        break;
    case kMaximized:
        if (resizable(m_settings.borderStyle)) {
            ShowWindow(h, SW_SHOWMAXIMIZED);
            break;
        }
        [[fallthrough]];
    default:
        ShowWindow(h, atCreation ? SW_SHOW : SW_SHOWNORMAL);
        break;
    }
}

void WindowUnit::showInitially()
{
    LoadedWindow* w = window();
    if (w && !w->ownUnit().visible())
        return;
    applyStartPosition(true);
}

void WindowUnit::windowShown()
{
    m_shown = true;
    if (LoadedWindow* w = window(); w && GetActiveWindow() == handle())
        if (Hwnd first = FirstTabStop(*w); first != Hwnd::Null)
            SetFocus(first);
}

bool WindowUnit::requestClose()
{
    Hwnd h = handle();
    if (runtime::Vetoed(raise(kWindowCloseRequested)) || !IsWindow(h))
        return false;
    if (runtime::Vetoed(raise(kWindowMayClose)) || !IsWindow(h))
        return false;
    if (LoadedWindow* w = window(); w && w->open().modal)
        RestoreDisabledWindows(*w);
    DestroyWindow(h);
    return true;
}

void WindowUnit::menuCommand(std::uint32_t command)
{
    LoadedWindow* w = window();
    if (!w || command < kFirstMenuCommand)
        return;
    std::vector<UnitRecord*> items = w->menuRecords();
    std::size_t index = command - kFirstMenuCommand;
    if (index >= items.size() || (items[index]->itemFlags & kMenuDisabled))
        return;
    runtime::EventCall call;
    call.windowId = windowId();
    call.unitId = items[index]->id;
    TheFramework().raiseEvent(call);
}

void WindowUnit::onDestroying()
{
    raise(kWindowDestroying);
    LoadedWindow* w = window();
    if (!w)
        return;
    OpenWindowState& open = w->open();
    RestoreDisabledWindows(*w);
    if (GetMenu(handle()) != Menu::Null)
        SetMenu(handle(), Menu::Null);
    if (open.menuBar != Menu::Null)
        DestroyMenu(std::exchange(open.menuBar, Menu::Null));
    if (open.accelerators != Accelerators::Null)
        DestroyAcceleratorTable(std::exchange(open.accelerators, Accelerators::Null));
    for (UnitRecord& u : w->units())
        if (u.cursor != Cursor::Null)
            DestroyCursor(std::exchange(u.cursor, Cursor::Null));
    if (m_icon != Icon::Null) {
        SetWindowIcon(handle(), Icon::Null);
        DestroyIcon(std::exchange(m_icon, Icon::Null));
    }
}

void WindowUnit::onWindowGone()
{
    runtime::TheRuntime().windowDestroyed(windowId());
    DeleteWindowObjectLater(this);
}

bool WindowUnit::preTranslateMessage(Msg& msg)
{
    if (UnitObject::preTranslateMessage(msg))
        return true;
    LoadedWindow* w = window();
    if (!w || !IsWindow(handle()))
        return false;
    if (w->open().accelerators != Accelerators::Null &&
        TranslateAccelerator(handle(), w->open().accelerators, msg))
        return true;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        Hwnd next = NextTabStop(*w, msg.hwnd, GetKeyState(VK_SHIFT) < 0);
        if (next != Hwnd::Null)
            SetFocus(next);
        return true;
    }
    return false;
}

LResult WindowUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_CLOSE:
        requestClose();
        return 0;
    case WM_QUERYENDSESSION:
        return runtime::Vetoed(raise(kWindowMayClose)) ? 0 : 1;
    case WM_DESTROY:
        onDestroying();
        break;
    case WM_COMMAND:
        if (lParam == 0 && std::uint32_t(LoWord(wParam)) >= kFirstMenuCommand) {
            menuCommand(std::uint32_t(LoWord(wParam)));
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MOVE && !m_settings.movable)
            return 0;
        break;
    case WM_MOVE:
        if (m_shown)
            raise(kWindowMoved);
        break;
    case WM_SIZE:
        if (m_shown)
            raise(kWindowResized);
        break;
    case WM_ACTIVATE:
        if (m_created) {
            if (wParam != WA_INACTIVE) {
                if (!std::exchange(m_everActivated, true))
                    raise(kWindowFirstActivation);
                raise(kWindowActivated);
            } else {
                raise(kWindowDeactivated);
            }
        }
        break;
    case WM_SHOWWINDOW:
        if (m_created)
            raise(wParam ? kWindowShown : kWindowHidden);
        break;
    case WM_SETFOCUS:
        if (LoadedWindow* w = window())
            if (Hwnd first = FirstTabStop(*w); first != Hwnd::Null) {
                SetFocus(first);
                return 0;
            }
        break;
    case WM_ERASEBKGND:
        FillRect(Hdc(wParam), GetClientRect(handle()), backgroundOf(m_settings.backgroundColor));
        return 1;
    case runtime::kMessageDestroyUnit:
        if (LoadedWindow* w = window())
            DestroyMarkedWindow(*w);
        return 0;
    default:
        break;
    }
    if (!IsWindow(handle()))
        return 0;
    return UnitObject::windowProc(message, wParam, lParam);
}

// The caption is the only window setting read from the frame: its title
// is what the user sees.
PropertyValue WindowUnit::liveValue(WindowKindData::Live which) const
{
    assert(which == WindowKindData::Live::Caption);
    (void)which;
    return PropertyValue::ofText(GetWindowText(handle()));
}

bool WindowUnit::apply(WindowKindData::Effect effect)
{
    using E = WindowKindData::Effect;
    static constexpr std::pair<E, void (WindowUnit::*)()> kEffects[] = {
        {E::Caption, &WindowUnit::applyCaption},
        {E::FrameStyles, &WindowUnit::applyFrameStyles},
        {E::Repaint, &WindowUnit::repaint},
        {E::Sound, &WindowUnit::startSound},
        {E::StartPosition, &WindowUnit::replaceAtStartPosition},
        {E::Movable, &WindowUnit::applyMovable},
        {E::Icon, &WindowUnit::applyIcon},
        {E::Topmost, &WindowUnit::applyTopmost},
    };
    for (auto [e, routine] : kEffects)
        if (e == effect)
            (this->*routine)();
    return false;
}

void WindowUnit::applyCaption()
{
    SetWindowText(handle(), m_settings.caption);
}

void WindowUnit::repaint()
{
    InvalidateRect(handle(), nullptr, true);
}

namespace {

UnitObject* createWindowUnit(const UnitCreateParams& p)
{
    return WindowUnit::create(p);
}

constexpr KindRoutines kWindowRoutines = DescribedKindRoutines<WindowUnit>(createWindowUnit);

const std::vector<PropertyDescriptor> kWindowProperties = PropertyTypeTable(WindowDescription());

const PropertyDescriptor kMenuItemProperties[] = {
    {.typeCode = kTypeText},    // caption
    {.typeCode = kTypeLogical}, // check mark
    {.typeCode = kTypeLogical}, // disabled
    {.typeCode = kTypeLogical}, // visible
};

} // namespace

const UnitKindDescriptor kWindowKind{
    .chineseName = "窗口",
    .englishName = "window",
    .stateFlags = 0x800000D0,
    .propertyCount = std::int32_t(kWindowProperties.size()),
    .properties = kWindowProperties.data(),
    .kindEntry = KindEntryFor<kWindowRoutines>,
};

const UnitKindDescriptor kMenuItemKind{
    .chineseName = "菜单",
    .englishName = "menu",
    .stateFlags = 0x80000004,
    .propertyCount = std::int32_t(std::size(kMenuItemProperties)),
    .properties = kMenuItemProperties,
};

} // namespace ui
