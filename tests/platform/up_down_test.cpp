#include "control_test_support.h"

#include "platform/edit.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"
#include "platform/up_down.h"

#include <string>
#include <vector>

namespace {

using namespace platform;
namespace drive = platform::testing;

struct Note {
    std::uint32_t code = 0;
};

// A shown window holding an edit box with an up-down control beside it.
class UpDown : public pt::ControlTest<Note> {
protected:
    UpDown() : ControlTest({100, 80, 400, 300}) {}

    void make(std::uint32_t style)
    {
        buddy = makeControl(WC_EDIT, ES_AUTOHSCROLL | WS_BORDER, 0, Rect::fromSize(10, 10, 100, 24), 4);
        upDown = makeControl(WC_UPDOWN, style, 0, Rect::fromSize(0, 0, 16, 24), 5);
        UpDown_SetBuddy(upDown, buddy);
    }

    void clickArrow(bool up)
    {
        Rect r = GetWindowRectInParent(upDown);
        drive::Click(upDown, {r.width() / 2, up ? r.height() / 4 : r.height() * 3 / 4});
        pt::DispatchFor(40);
    }

    // The scroll codes the parent received, and the positions they carried.
    std::vector<std::pair<int, int>> scrolls() const
    {
        std::vector<std::pair<int, int>> out;
        for (const pt::Seen& s : pt::LogOf(top, {WM_VSCROLL})) {
            EXPECT_EQ(Hwnd(s.lParam), upDown);
            out.emplace_back(LoWord(s.wParam), SignedHiWord(s.wParam));
        }
        return out;
    }

    Hwnd buddy = Hwnd::Null;
    Hwnd upDown = Hwnd::Null;
};

TEST_F(UpDown, ClickingAnArrowStepsThePositionShownInTheBuddy)
{
    make(UDS_SETBUDDYINT | UDS_ALIGNRIGHT);
    EXPECT_EQ(UpDown_GetBuddy(upDown), buddy);
    UpDown_SetRange32(upDown, 0, 2000);
    UpDown_SetPos32(upDown, 999);
    EXPECT_EQ(GetWindowText(buddy), "999");
    pt::Log().clear();
    clickArrow(true);
    EXPECT_EQ(UpDown_GetPos32(upDown), 1000);
    EXPECT_EQ(GetWindowText(buddy), "1,000");
    using Scrolls = std::vector<std::pair<int, int>>;
    EXPECT_EQ(scrolls(), (Scrolls{{int(SB_THUMBPOSITION), 1000}, {int(SB_ENDSCROLL), 0}}));
    pt::Log().clear();
    clickArrow(false);
    clickArrow(false);
    EXPECT_EQ(UpDown_GetPos32(upDown), 998);
    EXPECT_EQ(GetWindowText(buddy), "998");
    EXPECT_EQ(scrolls().size(), 4u);
}

TEST_F(UpDown, AlignedRightItSitsAtTheBuddysRightEdgeAndNarrowsIt)
{
    make(UDS_ALIGNRIGHT);
    EXPECT_EQ(GetWindowRectInParent(upDown), Rect::fromSize(94, 10, 16, 24));
    EXPECT_EQ(GetWindowRectInParent(buddy), Rect::fromSize(10, 10, 84, 24));
    // Without the style it stays where it was made.
    Hwnd loose = makeControl(WC_UPDOWN, 0, 0, Rect::fromSize(200, 100, 16, 30), 6);
    UpDown_SetBuddy(loose, buddy);
    EXPECT_EQ(GetWindowRectInParent(loose), Rect::fromSize(200, 100, 16, 30));
    EXPECT_EQ(GetWindowRectInParent(buddy).width(), 84);
}

TEST_F(UpDown, ThePositionKeepsToTheRangeWhoseSmallerBoundIsTheMinimum)
{
    make(UDS_SETBUDDYINT);
    UpDown_SetRange32(upDown, 10, -5);
    UpDown_SetPos32(upDown, 50);
    EXPECT_EQ(UpDown_GetPos32(upDown), 10);
    pt::Log().clear();
    clickArrow(true);
    EXPECT_EQ(UpDown_GetPos32(upDown), 10);
    // At the end of the range a click moves nothing and says only that it ended.
    EXPECT_EQ(scrolls(), (std::vector<std::pair<int, int>>{{int(SB_ENDSCROLL), 0}}));
    UpDown_SetPos32(upDown, -99);
    EXPECT_EQ(UpDown_GetPos32(upDown), -5);
    UpDown_SetRange32(upDown, -5000, 0);
    UpDown_SetPos32(upDown, -1234);
    EXPECT_EQ(GetWindowText(buddy), "-1,234");
    SetWindowStyle(upDown, GetWindowStyle(upDown) | UDS_NOTHOUSANDS);
    UpDown_SetPos32(upDown, -1235);
    EXPECT_EQ(GetWindowText(buddy), "-1235");
}

TEST_F(UpDown, ItStepsOnFromTheNumberTypedInTheBuddy)
{
    make(UDS_SETBUDDYINT);
    UpDown_SetRange32(upDown, 0, 100000);
    SetFocus(buddy);
    ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == buddy; }, 1000));
    drive::TypeText(buddy, "41");
    pt::DispatchFor(40);
    clickArrow(true);
    EXPECT_EQ(UpDown_GetPos32(upDown), 42);
    SetWindowText(buddy, "12,345");
    clickArrow(true);
    EXPECT_EQ(UpDown_GetPos32(upDown), 12346);
    // Text that is no number leaves the position as it was.
    SetWindowText(buddy, "abc");
    clickArrow(false);
    EXPECT_EQ(UpDown_GetPos32(upDown), 12345);
}

TEST_F(UpDown, WithArrowKeysUpAndDownInTheBuddyStepIt)
{
    make(UDS_SETBUDDYINT | UDS_ARROWKEYS);
    Hwnd plainBuddy = makeControl(WC_EDIT, ES_AUTOHSCROLL, 0, Rect::fromSize(10, 60, 100, 24), 6);
    Hwnd plain = makeControl(WC_UPDOWN, UDS_SETBUDDYINT, 0, Rect::fromSize(120, 60, 16, 24), 7);
    UpDown_SetBuddy(plain, plainBuddy);
    for (Hwnd edit : {buddy, plainBuddy}) {
        SetFocus(edit);
        ASSERT_TRUE(pt::DispatchUntil([edit] { return GetFocus() == edit; }, 1000));
        drive::Key(edit, VK_UP);
        drive::Key(edit, VK_UP);
        drive::Key(edit, VK_DOWN);
        drive::Key(edit, VK_UP);
        pt::DispatchFor(40);
    }
    EXPECT_EQ(UpDown_GetPos32(upDown), 2);
    EXPECT_EQ(GetWindowText(buddy), "2");
    EXPECT_EQ(UpDown_GetPos32(plain), 0);
    // A handle that is no up-down control.
    EXPECT_EQ(UpDown_GetPos32(buddy), 0);
    EXPECT_EQ(UpDown_GetBuddy(buddy), Hwnd::Null);
}

} // namespace
