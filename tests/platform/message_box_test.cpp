#include "platform_test_support.h"

#include "platform/message_box.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"


namespace {

using namespace platform;
namespace drive = platform::testing;
using pt::LogOf;
using pt::Seen;

class MessageBoxes : public pt::PlatformTest {
protected:
    void SetUp() override
    {
        pt::PlatformTest::SetUp();
        owner = pt::MakeShownTopLevel();
    }

    // Shows a box and, from inside its loop, runs `act` once the box is up
    // (through a message posted before the box, which the box's own loop
    // dispatches).
    int showAndAct(std::uint32_t style, const std::function<void()>& act, std::string_view text = "正文",
                   std::string_view caption = "标题")
    {
        pt::SetMessageHook([act](const Seen& s) -> std::optional<LResult> {
            if (s.message == kAct)
                act();
            return std::nullopt;
        });
        PostMessage(owner, kAct, 0, 0);
        return MessageBox(owner, text, caption, style);
    }

    // Shows a box and presses the button whose answer `choose` gives.
    int showAndAnswer(std::uint32_t style, int answer, drive::MessageBoxInfo* seen = nullptr)
    {
        return showAndAct(style, [answer, seen] {
            std::optional<drive::MessageBoxInfo> info = drive::ActiveMessageBox();
            ASSERT_TRUE(info.has_value());
            if (seen)
                *seen = *info;
            EXPECT_TRUE(drive::PressMessageBoxButton(answer));
        });
    }

    static constexpr std::uint32_t kAct = WM_USER + 50;
    Hwnd owner = Hwnd::Null;
};

struct ButtonSet {
    std::uint32_t style;
    std::vector<std::string> texts;
    std::vector<int> answers;
};

const ButtonSet kButtonSets[] = {
    {MB_OK, {"确定"}, {IDOK}},
    {MB_OKCANCEL, {"确定", "取消"}, {IDOK, IDCANCEL}},
    {MB_ABORTRETRYIGNORE, {"中止", "重试", "忽略"}, {IDABORT, IDRETRY, IDIGNORE}},
    {MB_YESNOCANCEL, {"是", "否", "取消"}, {IDYES, IDNO, IDCANCEL}},
    {MB_YESNO, {"是", "否"}, {IDYES, IDNO}},
    {MB_RETRYCANCEL, {"重试", "取消"}, {IDRETRY, IDCANCEL}},
};

TEST_F(MessageBoxes, EveryButtonSetShowsItsChineseButtonsAndEachGivesItsAnswer)
{
    for (const ButtonSet& set : kButtonSets) {
        for (int answer : set.answers) {
            drive::MessageBoxInfo info;
            EXPECT_EQ(showAndAnswer(set.style, answer, &info), answer) << set.style;
            EXPECT_EQ(info.buttons, set.texts) << set.style;
            EXPECT_EQ(info.style, set.style);
        }
    }
}

TEST_F(MessageBoxes, TextCaptionAndIconAreShownAsGiven)
{
    const std::pair<std::uint32_t, std::uint32_t> icons[] = {
        {0, 0},
        {MB_ICONHAND, MB_ICONHAND},
        {MB_ICONQUESTION, MB_ICONQUESTION},
        {MB_ICONEXCLAMATION, MB_ICONEXCLAMATION},
        {MB_ICONASTERISK, MB_ICONASTERISK},
    };
    for (auto [style, icon] : icons) {
        drive::MessageBoxInfo info;
        showAndAct(MB_OKCANCEL | style, [&] {
            info = *drive::ActiveMessageBox();
            drive::PressMessageBoxButton(IDOK);
        }, "节点“<b>甲</b>”已存在 𠀀\n第二行", "信息：");
        EXPECT_EQ(info.icon, icon);
        // Plain text: markup stays as typed, characters outside GBK too.
        EXPECT_EQ(info.text, "节点“<b>甲</b>”已存在 𠀀\n第二行");
        EXPECT_EQ(info.caption, "信息：");
    }
}

TEST_F(MessageBoxes, ClosingGivesCancelOrTheLoneOkAndIsRefusedOtherwise)
{
    const std::pair<std::uint32_t, int> closable[] = {
        {MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNOCANCEL, IDCANCEL}, {MB_RETRYCANCEL, IDCANCEL}};
    for (auto [style, answer] : closable) {
        EXPECT_EQ(showAndAct(style, [] { EXPECT_TRUE(drive::CloseActiveMessageBox()); }), answer) << style;
        EXPECT_EQ(showAndAct(style, [] { EXPECT_TRUE(drive::PressMessageBoxKey(VK_ESCAPE)); }), answer) << style;
    }
    for (std::uint32_t style : {MB_YESNO, MB_ABORTRETRYIGNORE}) {
        bool stillUp = false;
        int answer = showAndAct(style, [&] {
            drive::CloseActiveMessageBox();
            drive::PressMessageBoxKey(VK_ESCAPE);
            stillUp = drive::ActiveMessageBox().has_value();
            drive::PressMessageBoxButton(style == MB_YESNO ? IDNO : IDRETRY);
        });
        EXPECT_TRUE(stillUp) << style;
        EXPECT_EQ(answer, style == MB_YESNO ? IDNO : IDRETRY);
    }
}

TEST_F(MessageBoxes, TheDefaultButtonIsChosenByTheStyleAndAnsweredByEnter)
{
    struct Case {
        std::uint32_t style;
        int expected;
    };
    const Case cases[] = {
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_YESNO | MB_DEFBUTTON3, IDYES}, // no third button: the first
        {MB_OK | MB_DEFBUTTON2, IDOK},
    };
    for (const Case& c : cases) {
        int shownDefault = 0;
        int answer = showAndAct(c.style, [&] {
            shownDefault = drive::ActiveMessageBox()->defaultAnswer;
            drive::PressMessageBoxKey(VK_RETURN);
        });
        EXPECT_EQ(shownDefault, c.expected) << c.style;
        EXPECT_EQ(answer, c.expected) << c.style;
    }
}

TEST_F(MessageBoxes, TheBoxIsModalAndSystemModalStaysOnTop)
{
    drive::MessageBoxInfo task, system;
    showAndAct(MB_OK | MB_TASKMODAL, [&] {
        task = *drive::ActiveMessageBox();
        drive::PressMessageBoxButton(IDOK);
    });
    showAndAct(MB_OK | MB_SYSTEMMODAL, [&] {
        system = *drive::ActiveMessageBox();
        drive::PressMessageBoxButton(IDOK);
    });
    EXPECT_TRUE(task.modal);
    EXPECT_FALSE(task.staysOnTop);
    EXPECT_TRUE(system.modal);
    EXPECT_TRUE(system.staysOnTop);
}

TEST_F(MessageBoxes, TheProgramsWindowsTakeNoInputWhileTheBoxIsUp)
{
    Hwnd child = pt::MakeChild(owner, {10, 10, 110, 60});
    pt::DispatchFor(10);
    showAndAct(MB_OK, [&] {
        pt::Log().clear();
        drive::Click(child, {5, 5});
        drive::Key(child, 'A');
        drive::ProcessToolkitEvents(30);
        drive::PressMessageBoxButton(IDOK);
    });
    pt::DispatchFor(30);
    EXPECT_TRUE(LogOf({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR}).empty());
    // Afterwards input flows again.
    drive::Click(child, {5, 5});
    EXPECT_TRUE(pt::DispatchUntil([child] { return !LogOf(child, {WM_LBUTTONUP}).empty(); }, 1000));
}

TEST_F(MessageBoxes, MessagesAndTimersKeepFlowingWhileTheBoxIsUp)
{
    std::vector<std::uint32_t> seenWhileUp;
    int timerTicks = 0;
    pt::SetMessageHook([&](const Seen& s) -> std::optional<LResult> {
        bool up = drive::ActiveMessageBox().has_value();
        if (s.message >= WM_USER + 1 && s.message <= WM_USER + 3 && up)
            seenWhileUp.push_back(s.message);
        if (s.message == WM_TIMER && up && ++timerTicks == 3)
            drive::PressMessageBoxButton(IDOK);
        return std::nullopt;
    });
    for (std::uint32_t m = WM_USER + 1; m <= WM_USER + 3; ++m)
        PostMessage(owner, m, 0, 0);
    SetTimer(owner, 4, 10);
    EXPECT_EQ(MessageBox(owner, "等待", "信息：", MB_OK), IDOK);
    KillTimer(owner, 4);
    EXPECT_EQ(seenWhileUp, (std::vector<std::uint32_t>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
    EXPECT_EQ(timerTicks, 3);
}

TEST_F(MessageBoxes, AQuitMessageEndsTheBoxAndStaysQueued)
{
    int answer = showAndAct(MB_YESNO, [] { PostQuitMessage(4); });
    EXPECT_EQ(answer, 0);
    EXPECT_FALSE(drive::ActiveMessageBox().has_value());
    Msg m;
    ASSERT_TRUE(PeekMessage(m, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 4u);
    EXPECT_FALSE(GetMessage(m));
}

TEST_F(MessageBoxes, WhenBoxesNestTheInnermostIsTheActiveOne)
{
    int inner = 0;
    std::vector<std::string> answered;
    int outer = showAndAct(MB_OKCANCEL, [&] {
        drive::AnswerMessageBoxes([&](const drive::MessageBoxInfo& info) {
            answered.push_back(info.caption);
            return IDYES;
        });
        inner = MessageBox(owner, "内层", "内", MB_YESNO);
        // Stopped before the outer box's loop runs again.
        drive::StopAnsweringMessageBoxes();
        EXPECT_EQ(drive::ActiveMessageBox()->caption, "标题");
        drive::PressMessageBoxButton(IDOK);
    });
    EXPECT_EQ(inner, IDYES);
    EXPECT_EQ(outer, IDOK);
    EXPECT_EQ(answered, std::vector<std::string>{"内"});
}

TEST_F(MessageBoxes, AnsweringEveryBoxThroughTheDriver)
{
    std::vector<std::string> captions;
    drive::AnswerMessageBoxes([&](const drive::MessageBoxInfo& info) {
        captions.push_back(info.caption);
        return info.caption == "问" ? IDNO : 0;
    });
    EXPECT_EQ(MessageBox(owner, "一", "问", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox(Hwnd::Null, "二", "无主", MB_OKCANCEL), IDCANCEL); // closed
    EXPECT_EQ(captions, (std::vector<std::string>{"问", "无主"}));
}

TEST_F(MessageBoxes, TheWatchdogReportsAndDismissesAnUnansweredBox)
{
    std::string reported;
    drive::InstallModalWatchdog([&](const std::string& what) { reported = what; }, 1);
    int answer = MessageBox(owner, "没人回答", "信息：", MB_OKCANCEL);
    drive::InstallModalWatchdog([](const std::string& what) { ADD_FAILURE() << what; });
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_NE(reported.find("message box"), std::string::npos);
}

} // namespace
