// The message queue of the user-interface thread.
//
// Posted messages and input turned into messages wait in one queue; Qt's own
// events (painting, timers, window-system notifications) are processed by
// Qt whenever the queue is looked at.  A quit request is kept apart and is
// retrieved only once the queue is otherwise empty, and it stays until
// someone removes it, so that nested loops can see it and leave it for the
// loop outside them.

#include "platform/message_queue.h"

#include "platform/messages.h"
#include "platform/process.h"
#include "platform/qt/input.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/window.h"
#include "platform/window_object.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCursor>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <vector>

namespace platform {
namespace qt {
namespace {

struct QueuedMessage {
    Msg msg;
    std::shared_ptr<InputPayload> payload;
    std::uint32_t keyState = 0;
    bool hasKeyState = false;
};

struct CrossThreadSend {
    Msg msg;
    std::promise<LResult> result;
};

struct DispatchContext {
    Msg msg;
    std::shared_ptr<InputPayload> payload;
};

struct TimerKey {
    std::uintptr_t hwnd;
    std::uintptr_t id;
    friend auto operator<=>(const TimerKey&, const TimerKey&) = default;
};

class Queue {
public:
    std::mutex mutex;
    std::deque<QueuedMessage> messages;
    std::deque<std::shared_ptr<CrossThreadSend>> sends;
    bool quitPending = false;
    int quitCode = 0;
    std::uint64_t serial = 0;

    // User-interface thread only.
    QueuedMessage current;
    std::uint32_t keyState = 0;
    std::vector<DispatchContext> dispatching;
    std::map<TimerKey, QTimer*> timers;
    std::map<TimerKey, bool> timerPending;
    int replayDepth = 0;
    std::uint64_t uiThreadId = 0;

    void wake()
    {
        if (auto* d = QAbstractEventDispatcher::instance(QCoreApplication::instance()
                                                             ? QCoreApplication::instance()->thread()
                                                             : nullptr))
            d->wakeUp();
    }
};

Queue& queue()
{
    static Queue q;
    return q;
}

bool onUiThread()
{
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void processCrossThreadSends()
{
    Queue& q = queue();
    for (;;) {
        std::shared_ptr<CrossThreadSend> s;
        {
            std::lock_guard lock(q.mutex);
            if (q.sends.empty())
                return;
            s = q.sends.front();
            q.sends.pop_front();
        }
        s->result.set_value(SendMessage(s->msg.hwnd, s->msg.message, s->msg.wParam, s->msg.lParam));
    }
}

bool isTimerMessage(const Msg& m)
{
    return m.message == WM_TIMER;
}

// Takes (or only looks at) the next message.  Messages for windows that no
// longer exist are dropped on the way.
bool takeMessage(Msg& out, bool remove)
{
    processCrossThreadSends();
    Queue& q = queue();
    std::unique_lock lock(q.mutex);
    while (!q.messages.empty()) {
        QueuedMessage& front = q.messages.front();
        if (front.msg.hwnd != Hwnd::Null && !findWindow(front.msg.hwnd)) {
            q.messages.pop_front();
            continue;
        }
        out = front.msg;
        if (remove) {
            QueuedMessage taken = std::move(front);
            q.messages.pop_front();
            lock.unlock();
            if (isTimerMessage(taken.msg))
                q.timerPending[{std::uintptr_t(taken.msg.hwnd), taken.msg.wParam}] = false;
            if (taken.hasKeyState)
                q.keyState = taken.keyState;
            q.current = std::move(taken);
        }
        return true;
    }
    if (q.quitPending) {
        out = Msg{};
        out.message = WM_QUIT;
        out.wParam = WParam(q.quitCode);
        out.time = GetTickCount();
        if (remove) {
            q.quitPending = false;
            lock.unlock();
            q.current = QueuedMessage{out, nullptr};
        }
        return true;
    }
    return false;
}

void pumpToolkit(bool wait)
{
    if (!QCoreApplication::instance())
        return;
    if (!ToolkitScope::active())
        flushDeferredDeletions();
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void pushMessage(QueuedMessage m, bool front)
{
    Queue& q = queue();
    {
        std::lock_guard lock(q.mutex);
        m.msg.inputSerial = m.payload ? ++q.serial : 0;
        if (front)
            q.messages.push_front(std::move(m));
        else
            q.messages.push_back(std::move(m));
    }
    q.wake();
}

} // namespace

void postInputMessage(const Msg& msg, std::shared_ptr<InputPayload> payload, std::uint32_t keyState)
{
    QueuedMessage m{msg, std::move(payload), keyState, true};
    if (m.msg.time == 0)
        m.msg.time = GetTickCount();
    pushMessage(std::move(m), false);
}

bool replaying()
{
    return queue().replayDepth > 0;
}

std::uint32_t packCharCode(const QString& text)
{
    if (text.isEmpty())
        return 0;
    QString first = text.left(text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1);
    std::string gbk = toGbk(first);
    std::uint32_t code = 0;
    for (unsigned char c : gbk.substr(0, 4))
        code = code << 8 | c;
    return code;
}

QString unpackCharCode(std::uint32_t code)
{
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        unsigned char c = static_cast<unsigned char>(code >> shift);
        if (c || !bytes.empty() || shift == 0)
            bytes.push_back(char(c));
    }
    return fromGbk(bytes);
}

namespace {

// The event that delivers a character message's (possibly replaced)
// character; null when the original does.  A system character (Alt held)
// is no text for the widget: it comes without its character.
std::unique_ptr<QEvent> substituteCharacter(const QEvent& original, std::uint32_t message, std::uint32_t code)
{
    if ((message == WM_CHAR || message == WM_SYSCHAR) && original.type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(original);
        QString text = message == WM_SYSCHAR ? QString() : unpackCharCode(code);
        if (message == WM_CHAR && packCharCode(key.text()) == code)
            return nullptr;
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, key.key(), key.modifiers(), text, key.isAutoRepeat(),
                                           ushort(key.count()));
    }
    if (message == WM_CHAR && original.type() == QEvent::InputMethod) {
        const auto& commit = static_cast<const QInputMethodEvent&>(original);
        if (packCharCode(commit.commitString()) == code)
            return nullptr;
        auto replaced = std::make_unique<QInputMethodEvent>(commit.preeditString(), commit.attributes());
        replaced->setCommitString(unpackCharCode(code), commit.replacementStart(), commit.replacementLength());
        return replaced;
    }
    return nullptr;
}

} // namespace

void replayCurrentInput(Hwnd hwnd, std::uint32_t message, WParam wParam)
{
    Queue& q = queue();
    if (q.dispatching.empty())
        return;
    DispatchContext& ctx = q.dispatching.back();
    if (ctx.msg.hwnd != hwnd || ctx.msg.message != message || !ctx.payload)
        return;
    InputPayload& p = *ctx.payload;
    if (p.replayed || !p.target || !p.event)
        return;
    bool isKeyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (isKeyDown && p.charPosted)
        return; // the WM_CHAR replays it
    p.replayed = true;

    std::unique_ptr<QEvent> substitute = substituteCharacter(*p.event, message, std::uint32_t(wParam));
    QEvent* event = substitute ? substitute.get() : p.event.get();
    ToolkitScope scope;
    ++q.replayDepth;
    QCoreApplication::sendEvent(p.target, event);
    --q.replayDepth;
}

std::vector<Msg> queuedMessages()
{
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    std::vector<Msg> out;
    for (const QueuedMessage& m : q.messages)
        out.push_back(m.msg);
    return out;
}

void purgeMessagesFor(Hwnd hwnd)
{
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    std::erase_if(q.messages, [&](const QueuedMessage& m) { return m.msg.hwnd == hwnd; });
}

void killTimersOf(Hwnd hwnd)
{
    Queue& q = queue();
    for (auto it = q.timers.begin(); it != q.timers.end();) {
        if (it->first.hwnd == std::uintptr_t(hwnd)) {
            it->second->deleteLater();
            q.timerPending.erase(it->first);
            it = q.timers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace qt

using namespace qt;

bool IsUserInterfaceThread()
{
    return onUiThread();
}

bool PostMessage(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    // A window handle is checked only on the user-interface thread, which
    // owns the window table; a message for a window that has gone by the
    // time it is retrieved is dropped then.
    if (onUiThread() && hwnd != Hwnd::Null && !findWindow(hwnd))
        return false;
    Msg m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    if (onUiThread())
        m.pt = GetCursorPos();
    pushMessage(QueuedMessage{m, nullptr}, false);
    return true;
}

void PostQuitMessage(int exitCode)
{
    Queue& q = queue();
    {
        std::lock_guard lock(q.mutex);
        q.quitPending = true;
        q.quitCode = exitCode;
    }
    q.wake();
}

LResult SendMessage(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (!onUiThread()) {
        auto s = std::make_shared<CrossThreadSend>();
        s->msg.hwnd = hwnd;
        s->msg.message = message;
        s->msg.wParam = wParam;
        s->msg.lParam = lParam;
        auto result = s->result.get_future();
        Queue& q = queue();
        {
            std::lock_guard lock(q.mutex);
            q.sends.push_back(s);
        }
        q.wake();
        return result.get();
    }
    WindowRecord* r = findWindow(hwnd);
    if (!r)
        return 0;
    if (r->object)
        return r->object->windowProc(message, wParam, lParam);
    return CallWindowProc(r->proc, hwnd, message, wParam, lParam);
}

bool PeekMessage(Msg& msg, std::uint32_t removeMode)
{
    if (!takeMessage(msg, false))
        pumpToolkit(false);
    return takeMessage(msg, removeMode == PM_REMOVE);
}

bool GetMessage(Msg& msg)
{
    for (;;) {
        if (takeMessage(msg, true))
            return msg.message != WM_QUIT;
        pumpToolkit(false);
        if (takeMessage(msg, true))
            return msg.message != WM_QUIT;
        pumpToolkit(true);
    }
}

void WaitMessage()
{
    Msg m;
    if (takeMessage(m, false))
        return;
    pumpToolkit(false);
    if (takeMessage(m, false))
        return;
    pumpToolkit(true);
}

bool TranslateMessage(const Msg& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    Queue& q = queue();
    if (!q.current.payload || q.current.msg.inputSerial != msg.inputSerial || msg.inputSerial == 0)
        return false;
    auto* event = q.current.payload->event.get();
    if (!event || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    std::uint32_t code = packCharCode(key->text());
    if (code == 0)
        return false;
    q.current.payload->charPosted = true;
    Msg ch = msg;
    ch.message = msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    ch.wParam = code;
    pushMessage(QueuedMessage{ch, q.current.payload, q.keyState, true}, true);
    return true;
}

LResult DispatchMessage(const Msg& msg)
{
    if (msg.hwnd == Hwnd::Null || !findWindow(msg.hwnd))
        return 0;
    Queue& q = queue();
    std::shared_ptr<InputPayload> payload;
    if (msg.inputSerial != 0 && q.current.msg.inputSerial == msg.inputSerial)
        payload = q.current.payload;
    q.dispatching.push_back({msg, payload});
    LResult r = SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    q.dispatching.pop_back();
    return r;
}

const Msg& GetCurrentMessage()
{
    return queue().current.msg;
}

Point GetMessagePos()
{
    return queue().current.msg.pt;
}

Point GetCursorPos()
{
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

short GetKeyState(int virtualKey)
{
    std::uint32_t s = queue().keyState;
    bool down = false;
    switch (virtualKey) {
    case VK_SHIFT: down = s & MK_SHIFT; break;
    case VK_CONTROL: down = s & MK_CONTROL; break;
    case VK_MENU: down = s & kAltDown; break;
    case 0x01: down = s & MK_LBUTTON; break;
    case 0x02: down = s & MK_RBUTTON; break;
    case 0x04: down = s & MK_MBUTTON; break;
    default: break;
    }
    return down ? short(0x8000) : short(0);
}

bool SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned milliseconds)
{
    if (!findWindow(hwnd))
        return false;
    Queue& q = queue();
    TimerKey key{std::uintptr_t(hwnd), id};
    QTimer*& timer = q.timers[key];
    if (!timer) {
        timer = new QTimer();
        QObject::connect(timer, &QTimer::timeout, [key] {
            Queue& q = queue();
            bool& pending = q.timerPending[key];
            if (pending)
                return;
            pending = true;
            Msg m;
            m.hwnd = Hwnd(key.hwnd);
            m.message = WM_TIMER;
            m.wParam = key.id;
            m.time = GetTickCount();
            pushMessage(QueuedMessage{m, nullptr}, false);
        });
    }
    timer->start(int(milliseconds ? milliseconds : 1));
    return true;
}

bool KillTimer(Hwnd hwnd, std::uintptr_t id)
{
    Queue& q = queue();
    TimerKey key{std::uintptr_t(hwnd), id};
    auto it = q.timers.find(key);
    if (it == q.timers.end())
        return false;
    it->second->stop();
    it->second->deleteLater();
    q.timers.erase(it);
    q.timerPending.erase(key);
    std::lock_guard lock(q.mutex);
    std::erase_if(q.messages, [&](const QueuedMessage& m) {
        return m.msg.hwnd == hwnd && m.msg.message == WM_TIMER && m.msg.wParam == id;
    });
    return true;
}

} // namespace platform
