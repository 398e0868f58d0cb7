#include "platform_test_support.h"

#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"

#include <tuple>

namespace {

using namespace platform;
namespace drive = platform::testing;
using pt::LogOf;
using pt::Seen;

// A shown window with a child that has the focus.
class Input : public pt::PlatformTest {
protected:
    void SetUp() override
    {
        pt::PlatformTest::SetUp();
        top = pt::MakeShownTopLevel({100, 80, 500, 380});
        child = pt::MakeChild(top, {40, 30, 140, 90});
        SetFocus(child);
        ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == child; }, 1000));
        pt::Log().clear();
    }

    // Runs the loop until a message of the number arrived.
    bool waitFor(std::uint32_t message)
    {
        return pt::DispatchUntil([message] { return !LogOf({message}).empty(); }, 1000);
    }

    // Runs the loop until the key is up again and the modifier keys
    // pressed with it are too.
    bool waitForKeyUp(std::uint32_t vk)
    {
        bool up = pt::DispatchUntil(
            [vk] {
                for (const Seen& s : LogOf({WM_KEYUP, WM_SYSKEYUP}))
                    if (s.wParam == vk)
                        return true;
                return false;
            },
            1000);
        pt::DispatchFor(20);
        return up;
    }

    // The key messages of one key, and every character message.
    std::vector<std::uint32_t> keyMessages(std::uint32_t vk)
    {
        std::vector<std::uint32_t> out;
        for (const Seen& s : LogOf({WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR}))
            if (s.wParam == vk || s.message == WM_CHAR || s.message == WM_SYSCHAR)
                out.push_back(s.message);
        return out;
    }

    std::vector<Seen> keyLog(std::initializer_list<std::uint32_t> messages, std::uint32_t vk)
    {
        std::vector<Seen> out;
        for (const Seen& s : LogOf(child, messages))
            if (s.wParam == vk)
                out.push_back(s);
        return out;
    }

    Hwnd top = Hwnd::Null;
    Hwnd child = Hwnd::Null;
};

// ---- mouse ----

TEST_F(Input, AClickBecomesButtonMessagesForTheWindowUnderIt)
{
    drive::Click(child, {7, 9});
    ASSERT_TRUE(waitFor(WM_LBUTTONUP));
    auto buttons = LogOf({WM_LBUTTONDOWN, WM_LBUTTONUP});
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].hwnd, child);
    EXPECT_EQ(buttons[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(PointFromLParam(buttons[0].lParam), (Point{7, 9}));
    EXPECT_EQ(buttons[0].wParam, MK_LBUTTON);
    EXPECT_EQ(buttons[1].hwnd, child);
    EXPECT_EQ(PointFromLParam(buttons[1].lParam), (Point{7, 9}));
    EXPECT_EQ(buttons[1].wParam, 0u); // the button is up again

    // Outside the child the window itself gets it, in its own coordinates.
    pt::Log().clear();
    drive::Click(top, {5, 6});
    ASSERT_TRUE(waitFor(WM_LBUTTONUP));
    auto down = LogOf({WM_LBUTTONDOWN});
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].hwnd, top);
    EXPECT_EQ(PointFromLParam(down[0].lParam), (Point{5, 6}));
}

TEST_F(Input, ButtonMessagesCarryTheModifierAndButtonFlags)
{
    struct Case {
        drive::MouseButton button;
        unsigned modifiers;
        std::uint32_t down;
        WParam flags;
    };
    const Case cases[] = {
        {drive::MouseButton::Left, drive::kShift, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT},
        {drive::MouseButton::Left, drive::kControl, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL},
        {drive::MouseButton::Right, 0, WM_RBUTTONDOWN, MK_RBUTTON},
        {drive::MouseButton::Right, drive::kShift | drive::kControl, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL},
        {drive::MouseButton::Middle, 0, WM_MBUTTONDOWN, MK_MBUTTON},
    };
    for (const Case& c : cases) {
        pt::Log().clear();
        drive::Click(child, {3, 4}, c.button, c.modifiers);
        ASSERT_TRUE(waitFor(c.down + 1)) << c.down;
        auto downs = LogOf(child, {c.down});
        ASSERT_EQ(downs.size(), 1u) << c.down;
        EXPECT_EQ(downs[0].wParam, c.flags) << c.down;
    }
}

TEST_F(Input, MouseMessagesCarryTheScreenPositionOfTheEvent)
{
    Point seenAt{-1, -1};
    pt::SetMessageHook([&](const Seen& s) -> std::optional<LResult> {
        if (s.message == WM_LBUTTONDOWN)
            seenAt = GetMessagePos();
        return std::nullopt;
    });
    drive::Click(child, {7, 9});
    ASSERT_TRUE(waitFor(WM_LBUTTONUP));
    EXPECT_EQ(seenAt, ClientToScreen(child, {7, 9}));
}

TEST_F(Input, ADoubleClickIsOneDoubleClickMessageInAClassThatWantsThem)
{
    drive::DoubleClick(child, {10, 10});
    pt::DispatchUntil([] { return LogOf({WM_LBUTTONUP}).size() >= 2; }, 1000);
    std::vector<std::uint32_t> seen;
    for (const Seen& s : LogOf(child, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}))
        seen.push_back(s.message);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(Input, ADoubleClickIsTwoClicksInAClassThatDoesNotWantThem)
{
    WindowClass plain;
    plain.name = "PtNoDoubleClicks";
    plain.proc = [](Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
        pt::Log().push_back({h, m, w, l});
        return DefWindowProc(h, m, w, l);
    };
    RegisterWindowClass(plain);
    WindowCreateParams p;
    p.className = plain.name;
    p.style = WS_CHILD | WS_VISIBLE;
    p.parent = top;
    p.x = 200;
    p.y = 10;
    p.width = 50;
    p.height = 50;
    Hwnd single = CreateWindowEx(p);
    ASSERT_TRUE(IsWindow(single));
    pt::DispatchFor(10);
    pt::Log().clear();
    drive::DoubleClick(single, {10, 10});
    pt::DispatchUntil([] { return LogOf({WM_LBUTTONUP}).size() >= 2; }, 1000);
    std::vector<std::uint32_t> seen;
    for (const Seen& s : LogOf(single, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}))
        seen.push_back(s.message);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Input, MovesAndWheelTurns)
{
    drive::MouseMove(child, {12, 13});
    ASSERT_TRUE(waitFor(WM_MOUSEMOVE));
    auto moves = LogOf(child, {WM_MOUSEMOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(PointFromLParam(moves.back().lParam), (Point{12, 13}));

    drive::Wheel(child, {5, 6}, -240, drive::kControl);
    ASSERT_TRUE(waitFor(WM_MOUSEWHEEL));
    auto wheel = LogOf(child, {WM_MOUSEWHEEL});
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(SignedHiWord(wheel[0].wParam), -240);
    EXPECT_EQ(LoWord(wheel[0].wParam), int(MK_CONTROL));
    // The wheel reports the screen position, not a client one.
    EXPECT_EQ(PointFromLParam(wheel[0].lParam), ClientToScreen(child, {5, 6}));
}

TEST_F(Input, AMessageSwallowedBeforeDispatchReachesNoProcedure)
{
    drive::Click(child, {7, 9});
    Msg m;
    int removed = 0;
    for (int i = 0; i < 200 && removed < 2; ++i) {
        while (PeekMessage(m, PM_REMOVE))
            if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP)
                ++removed;
        drive::ProcessToolkitEvents(2);
    }
    EXPECT_EQ(removed, 2);
    pt::DispatchFor(30);
    EXPECT_TRUE(LogOf({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
}

// ---- keys ----

TEST_F(Input, KeysBecomeKeyMessagesWithVirtualKeyCodes)
{
    struct Case {
        std::uint32_t key;
        bool keypad;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {'A', false, 'A'},           {'Z', false, 'Z'},           {'0', false, '0'},
        {'7', false, '7'},           {VK_F1, false, VK_F1},       {VK_F1 + 4, false, VK_F1 + 4},
        {VK_F12, false, VK_F12},     {VK_NUMPAD0, true, VK_NUMPAD0}, {VK_NUMPAD0 + 3, true, VK_NUMPAD0 + 3},
        {VK_NUMPAD9, true, VK_NUMPAD9}, {VK_SUBTRACT, true, VK_SUBTRACT}, {VK_DECIMAL, true, VK_DECIMAL},
        {VK_DIVIDE, true, VK_DIVIDE}, {VK_RETURN, false, VK_RETURN}, {VK_ESCAPE, false, VK_ESCAPE},
        {VK_DELETE, false, VK_DELETE}, {VK_INSERT, false, VK_INSERT}, {VK_LEFT, false, VK_LEFT},
        {VK_NEXT, false, VK_NEXT},   {VK_BACK, false, VK_BACK},   {VK_SPACE, false, VK_SPACE},
    };
    for (const Case& c : cases) {
        pt::Log().clear();
        drive::Key(child, c.key, 0, c.keypad);
        ASSERT_TRUE(waitForKeyUp(c.expected)) << c.key;
        auto down = LogOf(child, {WM_KEYDOWN});
        auto up = LogOf(child, {WM_KEYUP});
        ASSERT_EQ(down.size(), 1u) << c.key;
        ASSERT_EQ(up.size(), 1u) << c.key;
        EXPECT_EQ(down[0].wParam, c.expected) << c.key;
        EXPECT_EQ(up[0].wParam, c.expected) << c.key;
        // Key-up messages carry the previous-state and transition bits.
        EXPECT_EQ(std::uint32_t(down[0].lParam) >> 30, 0u) << c.key;
        EXPECT_EQ(std::uint32_t(up[0].lParam) >> 30, 3u) << c.key;
    }
}

TEST_F(Input, AltAndF10AreSystemKeys)
{
    drive::Key(child, 'X', drive::kAlt);
    ASSERT_TRUE(waitForKeyUp('X'));
    // The Alt key itself comes first, as a system key of its own.
    auto alt = keyLog({WM_SYSKEYDOWN}, VK_MENU);
    auto down = keyLog({WM_SYSKEYDOWN}, 'X');
    ASSERT_EQ(alt.size(), 1u);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_TRUE(std::uint32_t(down[0].lParam) & (1u << 29)); // the Alt bit
    EXPECT_EQ(keyLog({WM_SYSKEYUP}, 'X').size(), 1u);
    EXPECT_TRUE(LogOf({WM_KEYDOWN}).empty());

    pt::Log().clear();
    drive::Key(child, VK_F1 + 9);
    ASSERT_TRUE(waitForKeyUp(VK_F1 + 9));
    EXPECT_EQ(keyLog({WM_SYSKEYDOWN}, VK_F1 + 9).size(), 1u);
    EXPECT_TRUE(LogOf({WM_KEYDOWN}).empty());

    // With Ctrl held as well it is an ordinary key.
    pt::Log().clear();
    drive::Key(child, 'X', drive::kAlt | drive::kControl);
    ASSERT_TRUE(waitForKeyUp('X'));
    EXPECT_EQ(keyLog({WM_KEYDOWN}, 'X').size(), 1u);
}

TEST_F(Input, TranslateMessagePostsTheCharacterBetweenDownAndUp)
{
    struct Case {
        std::uint32_t key;
        unsigned modifiers;
        bool keypad;
        WParam character;
    };
    const Case cases[] = {
        {'A', 0, false, 'a'},      {'A', drive::kShift, false, 'A'}, {'5', 0, false, '5'},
        {VK_NUMPAD0 + 3, 0, true, '3'}, {VK_RETURN, 0, false, '\r'}, {VK_SPACE, 0, false, ' '},
        {VK_BACK, 0, false, '\b'},
    };
    for (const Case& c : cases) {
        pt::Log().clear();
        drive::Key(child, c.key, c.modifiers, c.keypad);
        ASSERT_TRUE(waitForKeyUp(c.key)) << c.key;
        EXPECT_EQ(keyMessages(c.key), (std::vector<std::uint32_t>{WM_KEYDOWN, WM_CHAR, WM_KEYUP})) << c.key;
        auto chars = LogOf(child, {WM_CHAR});
        ASSERT_EQ(chars.size(), 1u) << c.key;
        EXPECT_EQ(chars[0].wParam, c.character) << c.key;
    }
    // Keys without a character post none.
    pt::Log().clear();
    drive::Key(child, VK_LEFT);
    ASSERT_TRUE(waitForKeyUp(VK_LEFT));
    EXPECT_EQ(keyMessages(VK_LEFT), (std::vector<std::uint32_t>{WM_KEYDOWN, WM_KEYUP}));
    // Nor do modifier keys.
    pt::Log().clear();
    drive::Key(child, VK_SHIFT);
    ASSERT_TRUE(waitForKeyUp(VK_SHIFT));
    EXPECT_EQ(keyMessages(VK_SHIFT), (std::vector<std::uint32_t>{WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(Input, WithoutTranslationThereIsNoCharacter)
{
    drive::Key(child, 'Q');
    Msg m;
    for (int i = 0; i < 100; ++i) {
        while (PeekMessage(m, PM_REMOVE))
            DispatchMessage(m);
        if (!LogOf({WM_KEYUP}).empty())
            break;
        drive::ProcessToolkitEvents(2);
    }
    EXPECT_EQ(keyMessages('Q'), (std::vector<std::uint32_t>{WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(Input, TypedTextArrivesAsGbkCharacterCodes)
{
    drive::TypeText(child, "类a𠀀");
    pt::DispatchUntil([] { return LogOf({WM_CHAR}).size() >= 3; }, 1000);
    std::vector<WParam> codes;
    for (const Seen& s : LogOf(child, {WM_CHAR}))
        codes.push_back(s.wParam);
    // Multi-byte characters pack their GBK bytes, the first byte highest.
    EXPECT_EQ(codes, (std::vector<WParam>{0xC0E0, 'a', 0x95328236}));
    // Each came through a key press without a key of its own, which
    // TranslateMessage turned into the character.
    EXPECT_EQ(keyLog({WM_KEYDOWN}, VK_PACKET).size(), 3u);
}

TEST_F(Input, GetKeyStateAnswersForTheMessageBeingHandled)
{
    using State = std::tuple<bool, bool, bool>; // Ctrl, Shift, Alt
    std::vector<State> states;
    pt::SetMessageHook([&](const Seen& s) -> std::optional<LResult> {
        bool keyS = (s.message == WM_KEYDOWN || s.message == WM_SYSKEYDOWN) && s.wParam == 'S';
        if (keyS || s.message == WM_LBUTTONDOWN)
            states.push_back({GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0});
        return std::nullopt;
    });
    drive::Key(child, 'S', drive::kControl);
    drive::Key(child, 'S', drive::kShift | drive::kAlt);
    drive::Key(child, 'S');
    drive::Click(child, {1, 1}, drive::MouseButton::Left, drive::kShift);
    pt::DispatchUntil([&] { return states.size() >= 4; }, 1000);
    EXPECT_EQ(states, (std::vector<State>{{true, false, false}, {false, true, true}, {false, false, false},
                                          {false, true, false}}));
}

TEST_F(Input, KeysGoToTheWindowWithTheFocus)
{
    Hwnd other = pt::MakeChild(top, {200, 30, 260, 90});
    SetFocus(other);
    ASSERT_TRUE(pt::DispatchUntil([other] { return GetFocus() == other; }, 1000));
    pt::Log().clear();
    drive::Key(top, 'K');
    ASSERT_TRUE(waitForKeyUp('K'));
    EXPECT_EQ(LogOf(other, {WM_KEYDOWN}).size(), 1u);
    EXPECT_TRUE(LogOf(child, {WM_KEYDOWN}).empty());
}

} // namespace
