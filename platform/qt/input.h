// Toolkit input carried along with queued messages, and its replay.
#pragma once

#include "platform/types.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

namespace platform::qt {

// The original input event of a queued message.  When the message reaches
// DefWindowProc the event is replayed to the widget it was meant for.
struct InputPayload {
    QPointer<QWidget> target;
    std::unique_ptr<QEvent> event;
    // A key press with text waits for its WM_CHAR, which replays it (with
    // the character a handler may have substituted).
    bool charPosted = false;
    bool replayed = false;
};

// Modifier and button state as of an input message (MK_* bits plus
// kAltDown), what GetKeyState answers from.
inline constexpr std::uint32_t kAltDown = 0x10000;

// Queues an input message produced from a toolkit event.
void postInputMessage(const Msg& msg, std::shared_ptr<InputPayload> payload, std::uint32_t keyState);

// True while an event is being replayed: the input filter lets it pass.
bool replaying();

// Replays the payload of the message being dispatched, if (hwnd, message)
// is that message and it has not been replayed yet.  For WM_CHAR,
// `character` is the GBK character code to deliver (0 swallows nothing:
// callers only get here when the character is to be delivered).
void replayCurrentInput(Hwnd hwnd, std::uint32_t message, WParam wParam);

// The messages waiting in the queue, front first, without taking in
// toolkit events (for tests).
std::vector<Msg> queuedMessages();

// Packs the first character of a text into the WM_CHAR code: its GBK bytes,
// the first byte highest.
std::uint32_t packCharCode(const QString& text);
QString unpackCharCode(std::uint32_t code);

} // namespace platform::qt
