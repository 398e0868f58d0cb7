#include "platform_test_support.h"

#include "platform/message_queue.h"
#include "platform/process.h"
#include "platform/testing/ui_driver.h"

#include <algorithm>

namespace pt {
namespace {

MessageHook& hook()
{
    static MessageHook h;
    return h;
}

LResult recorderProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    Seen seen{hwnd, message, wParam, lParam};
    Log().push_back(seen);
    // A copy: the hook may replace itself while it runs.
    if (MessageHook h = hook())
        if (std::optional<LResult> answer = h(seen))
            return *answer;
    return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

bool contains(std::initializer_list<std::uint32_t> list, std::uint32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

std::vector<Seen>& Log()
{
    static std::vector<Seen> log;
    return log;
}

std::vector<Seen> LogOf(std::initializer_list<std::uint32_t> messages)
{
    std::vector<Seen> out;
    for (const Seen& s : Log())
        if (contains(messages, s.message))
            out.push_back(s);
    return out;
}

std::vector<Seen> LogOf(Hwnd hwnd, std::initializer_list<std::uint32_t> messages)
{
    std::vector<Seen> out;
    for (const Seen& s : Log())
        if (s.hwnd == hwnd && contains(messages, s.message))
            out.push_back(s);
    return out;
}

void SetMessageHook(MessageHook h)
{
    hook() = std::move(h);
}

const char* RecorderClass()
{
    static const char* name = [] {
        platform::WindowClass c;
        c.name = "PtRecorder";
        c.style = platform::CS_DBLCLKS;
        c.proc = recorderProc;
        c.nullBrush = false;
        c.background = platform::Rgb(255, 255, 255);
        platform::RegisterWindowClass(c);
        return "PtRecorder";
    }();
    return name;
}

Hwnd MakeTopLevel(std::uint32_t style, std::uint32_t exStyle, Rect outer, Hwnd owner, platform::Menu menu)
{
    platform::WindowCreateParams p;
    p.className = RecorderClass();
    p.style = style;
    p.exStyle = exStyle;
    p.x = outer.left;
    p.y = outer.top;
    p.width = outer.width();
    p.height = outer.height();
    p.parent = owner;
    p.menu = menu;
    return platform::CreateWindowEx(p);
}

Hwnd MakeChild(Hwnd parent, Rect inParent, std::uint32_t style)
{
    platform::WindowCreateParams p;
    p.className = RecorderClass();
    p.style = style | platform::WS_CHILD;
    p.x = inParent.left;
    p.y = inParent.top;
    p.width = inParent.width();
    p.height = inParent.height();
    p.parent = parent;
    return platform::CreateWindowEx(p);
}

Hwnd MakeShownTopLevel(Rect outer)
{
    Hwnd h = MakeTopLevel(platform::WS_CAPTION | platform::WS_SYSMENU, 0, outer);
    platform::ShowWindow(h, platform::SW_SHOW);
    platform::SetFocus(h);
    DispatchUntil([h] { return platform::GetActiveWindow() == h; }, 1000);
    return h;
}

bool DispatchUntil(const std::function<bool()>& done, int timeoutMs)
{
    std::uint32_t start = platform::GetTickCount();
    for (;;) {
        platform::Msg m;
        while (platform::PeekMessage(m, platform::PM_NOREMOVE)) {
            if (m.message == platform::WM_QUIT)
                return done();
            platform::PeekMessage(m, platform::PM_REMOVE);
            platform::TranslateMessage(m);
            platform::DispatchMessage(m);
            if (done())
                return true;
        }
        if (done())
            return true;
        if (platform::GetTickCount() - start > std::uint32_t(timeoutMs))
            return false;
        platform::testing::ProcessToolkitEvents(2);
    }
}

void DispatchFor(int milliseconds)
{
    DispatchUntil([] { return false; }, milliseconds);
}

void DrainQueue()
{
    platform::Msg m;
    while (platform::PeekMessage(m, platform::PM_REMOVE)) {
    }
}

void PlatformTest::SetUp()
{
    DrainQueue();
    Log().clear();
    SetMessageHook(nullptr);
}

void PlatformTest::TearDown()
{
    platform::testing::StopAnsweringMessageBoxes();
    platform::testing::StopAnsweringPopupMenus();
    SetMessageHook(nullptr);
    for (Hwnd h : platform::GetTopLevelWindows())
        if (platform::GetClassName(h) == RecorderClass())
            platform::DestroyWindow(h);
    platform::testing::ProcessToolkitEvents(1);
    DrainQueue();
    Log().clear();
}

} // namespace pt
