// The message loop (main and modal), pre-translation and idle processing.

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/window.h"
#include "platform/window_object.h"
#include "runtime/runtime.h"

#include <algorithm>

namespace runtime {
namespace {
constexpr std::uint32_t kSystemTimer = 0x0118; // the caret's own timer
}

void Runtime::runMessageLoop(bool modal)
{
    bool idle = true;
    long idleCount = 0;
    platform::Msg next;
    for (;;) {
        // Idle phase.
        while (idle && !platform::PeekMessage(next, platform::PM_NOREMOVE)) {
            for (std::size_t i = m_idleWindows.size(); i-- > 0;) {
                if (i >= m_idleWindows.size())
                    continue;
                if (platform::IsWindow(m_idleWindows[i])) {
                    m_idleCallbacks[i](m_idleArguments[i]);
                } else {
                    m_idleWindows.erase(m_idleWindows.begin() + std::ptrdiff_t(i));
                    m_idleCallbacks.erase(m_idleCallbacks.begin() + std::ptrdiff_t(i));
                    m_idleArguments.erase(m_idleArguments.begin() + std::ptrdiff_t(i));
                }
            }
            if (!onIdle(idleCount++))
                idle = false;
            if (modal && m_modalWindowId == 0)
                return;
        }

        // Message phase.
        do {
            while (!platform::PeekMessage(next, platform::PM_NOREMOVE)) {
                if (modal && m_modalWindowId == 0)
                    return;
                platform::WaitMessage();
            }
            if (modal && (m_modalWindowId == 0 || next.message == platform::WM_QUIT))
                return;
            if (!pumpMessage())
                return;
            if (restartsIdle(platform::GetCurrentMessage())) {
                idle = true;
                idleCount = 0;
            }
            if (modal && m_modalWindowId == 0)
                return;
        } while (platform::PeekMessage(next, platform::PM_NOREMOVE));
    }
}

bool Runtime::pumpMessage()
{
    platform::Msg msg;
    if (!platform::GetMessage(msg)) {
        m_lastQuitCode = int(msg.wParam);
        return false;
    }
    if (!preTranslate(msg)) {
        platform::TranslateMessage(msg);
        platform::DispatchMessage(msg);
    }
    return true;
}

bool Runtime::restartsIdle(const platform::Msg& msg)
{
    if (msg.message == platform::WM_MOUSEMOVE) {
        bool same = msg.pt == m_lastMouseMove && msg.message == m_lastMouseMessage;
        m_lastMouseMove = msg.pt;
        m_lastMouseMessage = msg.message;
        return !same;
    }
    return msg.message != platform::WM_PAINT && msg.message != kSystemTimer;
}

void Runtime::runModalLoop(std::uint32_t windowId)
{
    std::uint32_t saved = m_modalWindowId;
    m_modalWindowId = windowId;
    runMessageLoop(true);
    // The outer modal window may have closed while this loop ran (its
    // destruction could not end a loop that was not running); its own loop
    // must then end too, instead of waiting for a window that is gone.
    WindowEntry* outer = saved ? findWindow(saved) : nullptr;
    m_modalWindowId = outer && platform::IsWindow(outer->liveHandle()) ? saved : 0;
}

platform::Hwnd Runtime::mainWindowHandle()
{
    WindowEntry* w = findWindow(m_startupWindowId);
    return w ? w->liveHandle() : platform::Hwnd::Null;
}

bool Runtime::preTranslate(platform::Msg& msg)
{
    platform::Hwnd stop = mainWindowHandle();
    for (platform::Hwnd h = msg.hwnd; h != platform::Hwnd::Null; h = platform::GetParent(h)) {
        platform::WindowObject* object = platform::WindowObject::fromHandle(h);
        if (!object)
            object = reinterpret_cast<platform::WindowObject*>(
                platform::SendMessage(h, kMessageGetWindowObject, 0, 0));
        if (object && object->preTranslateMessage(msg))
            return true;
        if (h == stop)
            break;
    }
    return false;
}

void Runtime::processPendingMessages()
{
    platform::Msg next;
    while (platform::PeekMessage(next, platform::PM_NOREMOVE) && next.message != platform::WM_QUIT)
        pumpMessage();
}

bool Runtime::onIdle(long idleCount)
{
    if (idleCount == 0) {
        m_frameworkIdleActive = true;
        m_idleStart = platform::GetTickCount();
        m_idleFinished.clear();
    }
    if (m_frameworkIdleActive) {
        m_frameworkIdleActive = platform::FrameworkIdle(idleCount);
        return true;
    }
    if (idleCount == 1)
        return true;
    return raiseWindowIdleEvents();
}

bool Runtime::raiseWindowIdleEvents()
{
    bool more = false;
    std::uint32_t elapsed = platform::GetTickCount() - m_idleStart;
    std::vector<std::uint32_t> ids;
    for (const auto& [id, entry] : m_windows)
        ids.push_back(id);
    for (std::uint32_t id : ids) {
        WindowEntry* w = findWindow(id);
        if (!w)
            continue;
        platform::Hwnd h = w->liveHandle();
        if (!platform::IsWindow(h))
            continue;
        if (std::find(m_idleFinished.begin(), m_idleFinished.end(), h) != m_idleFinished.end())
            continue;
        if (m_framework->raiseIdleEvent(id, elapsed))
            more = true;
        else
            m_idleFinished.push_back(h);
    }
    return more;
}

} // namespace runtime
