// A fixture for the tests of the controls: a shown top-level window holding
// the control under test, whose procedure notes each WM_NOTIFY notification
// the control sends (as the test's own Note record) and answers it from
// `answers`, and notes each WM_COMMAND notification of any of its controls.
// Other messages go to `otherMessages` when it is set.  Image lists the
// test makes go when it ends.
#pragma once

#include "platform_test_support.h"

#include "platform/image_list.h"
#include "platform/messages.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

namespace pt {

template<class Note>
class ControlTest : public PlatformTest {
protected:
    explicit ControlTest(Rect frame) : m_frame(frame) {}

    void SetUp() override
    {
        PlatformTest::SetUp();
        top = MakeShownTopLevel(m_frame);
        SetMessageHook([this](const Seen& s) { return record(s); });
    }

    void TearDown() override
    {
        for (platform::ImageList list : lists)
            platform::ImageListDestroy(list);
        PlatformTest::TearDown();
    }

    // The control, a visible child of `top` with the given number.
    Hwnd makeControl(const char* className, std::uint32_t style, std::uint32_t exStyle, Rect at, int id)
    {
        controlId = id;
        control = platform::CreateWindowEx({.exStyle = exStyle,
                                            .className = className,
                                            .style = platform::WS_CHILD | platform::WS_VISIBLE | style,
                                            .x = at.left,
                                            .y = at.top,
                                            .width = at.width(),
                                            .height = at.height(),
                                            .parent = top,
                                            .controlId = id});
        return control;
    }

    // What the test keeps of a notification; the record may be written to,
    // as a parent answers some notifications.
    virtual Note noteOf(platform::NotifyHeader& header)
    {
        Note note{};
        note.code = header.code;
        return note;
    }

    // A WM_COMMAND notification: the control and its code.
    struct Command {
        Hwnd from = Hwnd::Null;
        std::uint32_t code = 0;
        friend bool operator==(const Command&, const Command&) = default;
    };

    // The codes one control sent, in order.
    std::vector<std::uint32_t> commandsFrom(Hwnd from) const
    {
        std::vector<std::uint32_t> out;
        for (const Command& c : commands)
            if (c.from == from)
                out.push_back(c.code);
        return out;
    }

    std::size_t commandCount(std::uint32_t code) const
    {
        std::size_t n = 0;
        for (const Command& c : commands)
            n += c.code == code ? 1 : 0;
        return n;
    }

    bool waitForCommand(std::uint32_t code, std::size_t count = 1, int timeoutMs = 2000)
    {
        return DispatchUntil([&] { return commandCount(code) >= count; }, timeoutMs);
    }

    std::vector<Note> notesOf(std::uint32_t code) const
    {
        std::vector<Note> out;
        for (const Note& n : notes)
            if (n.code == code)
                out.push_back(n);
        return out;
    }

    bool waitForNote(std::uint32_t code, std::size_t count = 1, int timeoutMs = 2000)
    {
        return DispatchUntil([&] { return notesOf(code).size() >= count; }, timeoutMs);
    }

    // A list of opaque 16 x 16 images of the given colours.
    platform::ImageList solidList(std::initializer_list<platform::ColorRef> colors)
    {
        platform::ImageList list = platform::ImageListCreate(16, 16);
        for (platform::ColorRef c : colors) {
            std::uint32_t argb = 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
            platform::ImageListAdd(list, std::vector<std::uint32_t>(16 * 16, argb));
        }
        lists.push_back(list);
        return list;
    }

    Hwnd top = Hwnd::Null;
    Hwnd control = Hwnd::Null;
    int controlId = 0;
    std::vector<Note> notes;
    std::map<std::uint32_t, LResult> answers;
    std::function<void(const Note&)> onNotify;
    std::vector<Command> commands;
    std::function<void(const Command&)> onCommand;
    std::function<std::optional<LResult>(const Seen&)> otherMessages;
    std::vector<platform::ImageList> lists;

private:
    std::optional<LResult> record(const Seen& s)
    {
        if (s.message == platform::WM_COMMAND && s.lParam != 0)
            return recordCommand(s);
        if (s.message != platform::WM_NOTIFY)
            return otherMessages ? otherMessages(s) : std::nullopt;
        auto& header = *reinterpret_cast<platform::NotifyHeader*>(s.lParam);
        EXPECT_EQ(header.hwndFrom, control);
        EXPECT_EQ(header.idFrom, std::uintptr_t(controlId));
        Note note = noteOf(header);
        notes.push_back(note);
        if (onNotify)
            onNotify(note);
        auto answer = answers.find(header.code);
        return answer == answers.end() ? 0 : answer->second;
    }

    std::optional<LResult> recordCommand(const Seen& s)
    {
        Command command{.from = Hwnd(s.lParam), .code = std::uint32_t(platform::HiWord(s.wParam))};
        EXPECT_EQ(platform::LoWord(s.wParam), platform::GetDlgCtrlID(command.from) & 0xFFFF);
        commands.push_back(command);
        if (onCommand)
            onCommand(command);
        return 0;
    }

    Rect m_frame;
};

} // namespace pt
