#include "control_test_support.h"

#include "platform/combo_box.h"
#include "platform/edit.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"
#include "platform/window_object.h"

#include <map>
#include <string>
#include <vector>

namespace {

using namespace platform;
namespace drive = platform::testing;

struct Note {
    std::uint32_t code = 0;
};

constexpr WParam kZhong = 0xD6D0; // 中
constexpr WParam kWen = 0xCEC4;   // 文
constexpr WParam kZi = 0xD7D6;    // 字

// Sees the edit's messages as a program's window object would, and may
// replace characters on their way to the control.
class CharacterSpy : public WindowObject {
public:
    LResult windowProc(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        if (message == WM_CHAR) {
            seen.push_back(wParam);
            if (auto it = replace.find(wParam); it != replace.end())
                wParam = it->second;
        }
        return defaultProc(message, wParam, lParam);
    }

    std::vector<WParam> seen;
    std::map<WParam, WParam> replace;
};

// Text an input method commits to an edit control with the focus.
class InputMethod : public pt::ControlTest<Note> {
protected:
    InputMethod() : ControlTest({100, 80, 400, 300}) {}

    void SetUp() override
    {
        ControlTest::SetUp();
        makeControl(WC_EDIT, ES_AUTOHSCROLL, 0, Rect::fromSize(10, 10, 200, 24), 3);
        SetFocus(control);
        ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == control; }, 1000));
        commands.clear();
    }

    void commit(const std::string& text)
    {
        drive::CommitInputMethodText(control, text);
        pt::DispatchFor(40);
    }
};

TEST_F(InputMethod, CommittedChineseArrivesAsGbkCharactersTheProgramSees)
{
    CharacterSpy spy;
    ASSERT_TRUE(spy.attach(control));
    commit("中文");
    EXPECT_EQ(GetWindowText(control), "中文");
    EXPECT_EQ(spy.seen, (std::vector<WParam>{kZhong, kWen}));
    // Each character is an edit of the user's.
    EXPECT_EQ(commandCount(EN_CHANGE), 2u);
    // They wait in the queue as characters, one message each.
    drive::CommitInputMethodText(control, "a𠀀");
    std::vector<WParam> queued;
    for (const Msg& m : drive::QueuedMessages())
        if (m.message == WM_CHAR)
            queued.push_back(m.wParam);
    EXPECT_EQ(queued, (std::vector<WParam>{'a', 0x95328236}));
    pt::DispatchFor(40);
    EXPECT_EQ(GetWindowText(control), "中文a𠀀");
    spy.detach();
}

TEST_F(InputMethod, AReplacedCharacterIsTheOneCommitted)
{
    CharacterSpy spy;
    spy.replace[kWen] = kZi;
    ASSERT_TRUE(spy.attach(control));
    commit("中文");
    EXPECT_EQ(GetWindowText(control), "中字");
    spy.detach();
}

TEST_F(InputMethod, ACharacterSwallowedBeforeDispatchIsNotInserted)
{
    drive::CommitInputMethodText(control, "中文字");
    // A loop whose pre-translation removes 文.
    for (int i = 0; i < 50; ++i) {
        Msg m;
        while (PeekMessage(m, PM_REMOVE)) {
            if (m.message == WM_CHAR && m.wParam == kWen)
                continue;
            TranslateMessage(m);
            DispatchMessage(m);
        }
        drive::ProcessToolkitEvents(2);
    }
    EXPECT_EQ(GetWindowText(control), "中字");
}

TEST_F(InputMethod, ACommitPastTheLimitIsCutAtAWholeCharacter)
{
    Edit_LimitText(control, 5);
    commit("ab中文");
    EXPECT_EQ(GetWindowText(control), "ab中");
    EXPECT_EQ(commandCount(EN_MAXTEXT), 1u);
}

TEST_F(InputMethod, ACompositionShowsWithoutMessagesUntilItIsCommitted)
{
    drive::ComposeInputMethodText(control, "zhong");
    pt::DispatchFor(40);
    EXPECT_TRUE(pt::LogOf({WM_CHAR}).empty());
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(GetWindowText(control), "");
    commit("中");
    EXPECT_EQ(GetWindowText(control), "中");
}

TEST_F(InputMethod, ACommitReachesTheEditFieldOfAComboBox)
{
    Hwnd combo = makeControl(WC_COMBOBOX, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, Rect::fromSize(10, 60, 120, 160), 4);
    SetFocus(combo);
    ASSERT_TRUE(pt::DispatchUntil([combo] { return GetFocus() == combo; }, 1000));
    ComboBox_LimitText(combo, 4);
    commit("网络连接");
    EXPECT_EQ(GetWindowText(combo), "网络");
    EXPECT_EQ(commandsFrom(combo).back(), CBN_EDITCHANGE);
}

} // namespace
