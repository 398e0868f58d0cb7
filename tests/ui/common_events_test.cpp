// Common events: raised from the message loop for real input before the
// unit sees the message, with their arguments, the veto that swallows the
// message, and the character event's replacement.

#include "ui_fixture.h"

#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "ui/framework/framework.h"
#include "ui/framework/unit_object.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using namespace uitest;
using runtime::HandlerResult;
namespace pt = platform::testing;
using Args = std::vector<std::int64_t>;

constexpr std::uint32_t kWin = 0x52000301;
constexpr std::uint32_t kOwn = 0x06000301;
constexpr std::uint32_t kBox = 0x16000302;
constexpr std::uint32_t kBox2 = 0x16000303;
constexpr std::uint32_t kOuter = 0x16000304;
constexpr std::uint32_t kSpare = 0x52000306;
constexpr std::uint32_t kSpareOwn = 0x06000306;

class CommonEvents : public UiTest {
protected:
    // A window with a recording box whose `events` are bound to the
    // recording handlers 0, 1, ... in turn, and a second box whose focus
    // events are bound to 6 (gained) and 7 (lost).
    void open(std::initializer_list<std::int32_t> events, std::uint32_t kind = kRecordingKind)
    {
        auto box = BoxRecord(kBox, "框1", 10, 10, 120, 60, kind);
        int tag = 0;
        for (std::int32_t e : events)
            Bind(box, e, recording(tag++));
        auto other = BoxRecord(kBox2, "框2", 10, 100, 120, 40, kRecordingKind);
        Bind(other, ui::kEventFocusGained, recording(6));
        Bind(other, ui::kEventFocusLost, recording(7));
        OpenWindow(kWin, {WindowRecord(kOwn), box, other});
        h = HandleOf(kWin, kBox);
        ASSERT_TRUE(platform::IsWindow(h));
    }
    RecordingBox& box() { return *dynamic_cast<RecordingBox*>(ui::TheFramework().unitRecord(kWin, kBox)->object); }
    bool waitCalls(std::size_t n)
    {
        return PumpUntil([n] { return Recorded().calls.size() >= n; });
    }
    const Call& call(std::size_t i) { return Recorded().calls.at(i); }

    platform::Hwnd h = platform::Hwnd::Null;
};

TEST_F(CommonEvents, MouseEventsCarryClientCoordinatesAndKeyState)
{
    open({ui::kEventLeftDown, ui::kEventLeftUp, ui::kEventDoubleClick, ui::kEventRightDown, ui::kEventRightUp,
          ui::kEventWheel});

    pt::MouseDown(h, {7, 9}, pt::MouseButton::Left, pt::kControl | pt::kShift);
    pt::MouseUp(h, {8, 11}, pt::MouseButton::Left, pt::kAlt);
    ASSERT_TRUE(waitCalls(2));
    EXPECT_EQ(call(0).tag, 0);
    EXPECT_EQ(call(0).args, (Args{7, 9, 3}));
    EXPECT_EQ(call(0).source.unitId, kBox);
    EXPECT_EQ(call(1).tag, 1);
    EXPECT_EQ(call(1).args, (Args{8, 11, 4}));

    pt::Click(h, {30, 40}, pt::MouseButton::Right);
    ASSERT_TRUE(waitCalls(4));
    EXPECT_EQ(call(2).tag, 3);
    EXPECT_EQ(call(2).args, (Args{30, 40, 0}));
    EXPECT_EQ(call(3).tag, 4);

    pt::DoubleClick(h, {5, 6});
    ASSERT_TRUE(PumpUntil([] {
        for (const Call& c : Recorded().calls)
            if (c.tag == 2)
                return true;
        return false;
    }));

    Recorded().calls.clear();
    pt::Wheel(h, {12, 13}, 240, pt::kControl);
    pt::Wheel(h, {12, 13}, -120);
    ASSERT_TRUE(waitCalls(2));
    EXPECT_EQ(call(0).tag, 5);
    EXPECT_EQ(call(0).args, (Args{2, 1}));
    EXPECT_EQ(call(1).args, (Args{-1, 0}));
}

TEST_F(CommonEvents, MouseMoveIsRaisedWithItsPosition)
{
    open({ui::kEventMouseMove});
    pt::MouseMove(h, {21, 22});
    ASSERT_TRUE(waitCalls(1));
    EXPECT_EQ(call(0).args, (Args{21, 22, 0}));
}

TEST_F(CommonEvents, HandledFalseSwallowsTheMessageAndOtherAnswersLetItThrough)
{
    open({ui::kEventLeftDown, ui::kEventLeftUp, ui::kEventKeyDown});

    Recorded().answer = HandlerResult::logical(false);
    pt::Click(h, {5, 5});
    ASSERT_TRUE(waitCalls(2));
    Pump(30);
    EXPECT_EQ(box().count(platform::WM_LBUTTONDOWN), 0);
    EXPECT_EQ(box().count(platform::WM_LBUTTONUP), 0);

    for (HandlerResult answer : {HandlerResult::none(), HandlerResult::logical(true), HandlerResult::integer(5)}) {
        Recorded().answer = answer;
        std::size_t before = Recorded().calls.size();
        int downs = box().count(platform::WM_LBUTTONDOWN);
        pt::Click(h, {5, 5});
        ASSERT_TRUE(waitCalls(before + 2));
        ASSERT_TRUE(PumpUntil([&] { return box().count(platform::WM_LBUTTONDOWN) == downs + 1; }));
    }

    platform::SetFocus(h);
    Recorded().answer = HandlerResult::logical(false);
    std::size_t before = Recorded().calls.size();
    pt::Key(h, platform::VK_RETURN);
    ASSERT_TRUE(waitCalls(before + 1));
    Pump(30);
    EXPECT_EQ(box().count(platform::WM_KEYDOWN), 0);
}

TEST_F(CommonEvents, KeyCodesMapTheKeypadAndModifiersDoNotCountThemselves)
{
    open({ui::kEventKeyDown, ui::kEventKeyUp});
    platform::SetFocus(h);
    ASSERT_TRUE(PumpUntil([&] { return platform::GetFocus() == h; }));

    struct Case {
        std::uint32_t key;
        unsigned modifiers;
        bool keypad;
        Args expected; // key code, key state
    };
    const Case cases[] = {
        {'A', pt::kShift, false, {0x41, 2}},
        {'7', 0, false, {0x37, 0}},
        {platform::VK_NUMPAD0, 0, true, {0x30, 0}},
        {platform::VK_NUMPAD9, pt::kControl, true, {0x39, 1}},
        {platform::VK_SUBTRACT, 0, true, {189, 0}},
        {platform::VK_DECIMAL, 0, true, {190, 0}},
        {platform::VK_DIVIDE, 0, true, {191, 0}},
        {platform::VK_MULTIPLY, 0, true, {platform::VK_MULTIPLY, 0}},
        {platform::VK_SHIFT, pt::kShift, false, {platform::VK_SHIFT, 0}},
        {platform::VK_SHIFT, pt::kShift | pt::kControl, false, {platform::VK_SHIFT, 1}},
        {platform::VK_CONTROL, pt::kControl | pt::kAlt, false, {platform::VK_CONTROL, 4}},
        {'F', pt::kAlt, false, {0x46, 4}}, // a system key
    };
    // The driver presses the modifiers as keys of their own before the key
    // and lets them go after it: the key's own press is the last press of
    // its code, its release the first release.
    auto find = [](int tag, std::int64_t code, bool last) -> const Call* {
        const Call* found = nullptr;
        for (const Call& c : Recorded().calls)
            if (c.tag == tag && !c.args.empty() && c.args[0] == code && (!found || last))
                found = &c;
        return found;
    };
    for (const Case& c : cases) {
        Recorded().calls.clear();
        pt::Key(h, c.key, c.modifiers, c.keypad);
        ASSERT_TRUE(PumpUntil([&] { return find(1, c.expected[0], false) != nullptr; })) << "key " << c.key;
        Pump(20);
        const Call* down = find(0, c.expected[0], true);
        ASSERT_NE(down, nullptr);
        EXPECT_EQ(down->args, c.expected) << "key " << c.key;
        EXPECT_EQ(find(1, c.expected[0], false)->args, c.expected) << "key " << c.key;
    }
}

TEST_F(CommonEvents, CharacterEventReplacesOrSwallowsTheCharacter)
{
    open({ui::kEventCharacter});
    platform::SetFocus(h);
    auto typed = [&](const char* text, HandlerResult answer) {
        Recorded().calls.clear();
        Recorded().answer = answer;
        box().seen.clear();
        pt::TypeText(h, text);
        EXPECT_TRUE(waitCalls(1));
        Pump(30);
        std::vector<platform::WParam> chars;
        for (const SeenMessage& m : box().seen)
            if (m.message == platform::WM_CHAR)
                chars.push_back(m.wParam);
        return chars;
    };
    using Chars = std::vector<platform::WParam>;

    EXPECT_EQ(typed("a", HandlerResult::none()), Chars{'a'});
    EXPECT_EQ(call(0).args, Args{'a'});
    EXPECT_EQ(typed("a", HandlerResult::integer('b')), Chars{'b'});
    EXPECT_EQ(typed("a", HandlerResult::integer(0)), Chars{});
    EXPECT_EQ(typed("a", HandlerResult::logical(false)), Chars{});
    // A double-byte character: its GBK bytes, the lead byte highest.
    EXPECT_EQ(typed("中", HandlerResult::none()), Chars{0xD6D0});
    EXPECT_EQ(call(0).args, Args{0xD6D0});
}

TEST_F(CommonEvents, FocusEventsFollowTheFocus)
{
    open({ui::kEventFocusGained, ui::kEventFocusLost});
    platform::Hwnd other = HandleOf(kWin, kBox2);
    platform::SetFocus(other);
    Pump(20);
    Recorded().calls.clear();
    platform::SetFocus(h);
    ASSERT_TRUE(waitCalls(2));
    EXPECT_EQ(call(0).tag, 7);
    EXPECT_EQ(call(1).tag, 0);
    EXPECT_EQ(call(1).args, Args{});
    EXPECT_EQ(call(1).source.unitId, kBox);
    platform::SetFocus(other);
    ASSERT_TRUE(waitCalls(4));
    EXPECT_EQ(call(2).tag, 1);
    EXPECT_EQ(call(2).source.unitId, kBox);
    EXPECT_EQ(call(3).tag, 6);
    EXPECT_EQ(call(3).source.unitId, kBox2);
}

TEST_F(CommonEvents, AHandlerThatDestroysItsWindowSwallowsTheMessageSafely)
{
    open({ui::kEventLeftDown, ui::kEventLeftUp});
    Recorded().during = [] { platform::DestroyWindow(HandleOf(kWin)); };
    pt::MouseDown(h, {5, 5});
    ASSERT_TRUE(waitCalls(1));
    pt::MouseUp(h, {5, 5});
    Pump(30);
    EXPECT_FALSE(platform::IsWindow(h));
    EXPECT_EQ(Recorded().calls.size(), 1u);
    EXPECT_EQ(HandleOf(kWin), platform::Hwnd::Null);
    // The button went up over nothing; let it go over a live window, so
    // the toolkit does not think it still held.
    OpenWindow(kSpare, {WindowRecord(kSpareOwn)});
    pt::MouseUp(HandleOf(kSpare), {5, 5});
    Pump(20);
}

TEST_F(CommonEvents, ChildWindowsOfContainerKindsCountAsTheUnit)
{
    for (std::uint32_t kind : {kOuterKind, kTestComboKind}) {
        SCOPED_TRACE(kind);
        auto outer = BoxRecord(kOuter, "外", 10, 10, 100, 60, kind);
        Bind(outer, ui::kEventLeftDown, recording(1));
        Bind(outer, ui::kEventLeftUp, recording(1));
        auto plain = BoxRecord(kBox, "框", 10, 100, 100, 60, kRecordingKind);
        Bind(plain, ui::kEventLeftDown, recording(2));
        OpenWindow(kWin, {WindowRecord(kOwn, 300, 220), outer, plain});
        ui::LoadedWindow& w = *ui::TheFramework().window(kWin);

        auto children = platform::GetChildWindows(HandleOf(kWin, kOuter));
        ASSERT_EQ(children.size(), 1u);
        platform::Hwnd inner = children[0];
        Recorded().calls.clear();
        pt::Click(inner, {3, 4});
        ASSERT_TRUE(waitCalls(2));
        EXPECT_EQ(call(0).tag, 1);
        EXPECT_EQ(call(0).args, (Args{3, 4, 0}));
        EXPECT_EQ(call(0).source.unitId, kOuter);
        EXPECT_EQ(w.unitAtWindow(inner, false), 1);
        EXPECT_EQ(w.unitAtWindow(HandleOf(kWin, kOuter), false), 1);

        // A window inside a unit of a plain kind is not the unit; only the
        // parent search finds it.
        platform::WindowCreateParams c;
        c.className = "VelmoraUiTestRecordingBox";
        c.style = platform::WS_CHILD | platform::WS_VISIBLE;
        c.width = 30;
        c.height = 30;
        c.parent = HandleOf(kWin, kBox);
        platform::Hwnd stray = platform::CreateWindowEx(c);
        ASSERT_TRUE(platform::IsWindow(stray));
        EXPECT_EQ(w.unitAtWindow(stray, false), -1);
        EXPECT_EQ(w.unitAtWindow(stray, true), 2);
        EXPECT_EQ(w.unitAtWindow(HandleOf(kWin), true), -1);
        EXPECT_EQ(w.unitAtWindow(platform::Hwnd::Null, true), -1);
        Recorded().calls.clear();
        pt::Click(stray, {3, 3});
        Pump(50);
        EXPECT_TRUE(Recorded().calls.empty());
        w.destroyLive();
    }
}

} // namespace
