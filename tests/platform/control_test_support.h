// A fixture for the tests of the common controls: a shown top-level window
// holding the control under test, whose procedure notes each notification
// the control sends (as the test's own Note record) and answers it from
// `answers`.  Image lists the test makes go when it ends.
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
    virtual Note noteOf(platform::NotifyHeader& header) = 0;

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
    std::vector<platform::ImageList> lists;

private:
    std::optional<LResult> record(const Seen& s)
    {
        if (s.message != platform::WM_NOTIFY)
            return std::nullopt;
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

    Rect m_frame;
};

} // namespace pt
