#include "control_test_support.h"

#include "platform/button.h"
#include "platform/edit.h"
#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/message_queue.h"
#include "platform/testing/ui_driver.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace platform;
namespace drive = platform::testing;

struct Note {
    std::uint32_t code = 0;
};

constexpr WParam kGengCode = 0xB8FC; // 更
constexpr LParam kAltDown = LParam(1) << 29;

// A shown window holding buttons; the window records their notifications.
class Button : public pt::ControlTest<Note> {
protected:
    Button() : ControlTest({100, 80, 500, 380}) {}

    Hwnd makeButton(const char* caption, std::uint32_t style, Rect at, int id)
    {
        Hwnd h = makeControl(WC_BUTTON, style, 0, at, id);
        SetWindowText(h, caption);
        return h;
    }

    Hwnd makeEdit(std::uint32_t style, Rect at, int id)
    {
        return makeControl(WC_EDIT, ES_AUTOHSCROLL | style, 0, at, id);
    }

    void focus(Hwnd hwnd)
    {
        SetFocus(hwnd);
        ASSERT_TRUE(pt::DispatchUntil([hwnd] { return GetFocus() == hwnd; }, 1000));
        commands.clear();
    }

    void settle() { pt::DispatchFor(40); }

    std::size_t clicks(Hwnd button) const
    {
        std::vector<std::uint32_t> codes = commandsFrom(button);
        return std::size_t(std::count(codes.begin(), codes.end(), BN_CLICKED));
    }

    Rect placeOf(Hwnd hwnd) const { return GetWindowRectInParent(hwnd); }

    ColorRef pixel(Hwnd hwnd, Point p) const
    {
        Rect r = placeOf(hwnd);
        return drive::ClientPixel(top, {r.left + p.x, r.top + p.y});
    }

    // The box around the caption's dark pixels, inside the bevel; in the
    // button's coordinates.
    Rect inkBox(Hwnd hwnd) const
    {
        Rect r = placeOf(hwnd);
        Rect inner{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
        std::vector<ColorRef> p = drive::ClientPixels(top, inner);
        Rect box{inner.width(), inner.height(), -1, -1};
        for (int y = 0; y < inner.height(); ++y)
            for (int x = 0; x < inner.width(); ++x) {
                ColorRef c = p[std::size_t(y * inner.width() + x)];
                if ((c & 0xFF) < 100 && (c >> 8 & 0xFF) < 100 && (c >> 16 & 0xFF) < 100)
                    box = {std::min(box.left, x + 4), std::min(box.top, y + 4), std::max(box.right, x + 5),
                           std::max(box.bottom, y + 5)};
            }
        return box;
    }
};

// ---- clicking ----

TEST_F(Button, AClickSpaceAndEnterClickIt)
{
    Hwnd ok = makeButton("OK", 0, Rect::fromSize(10, 10, 80, 24), 3);
    drive::Click(ok, {40, 12});
    ASSERT_TRUE(waitForCommand(BN_CLICKED));
    EXPECT_EQ(GetFocus(), ok); // a press takes the focus
    commands.clear();
    drive::Key(ok, VK_SPACE);
    settle();
    EXPECT_EQ(clicks(ok), 1u);
    drive::Key(ok, VK_RETURN);
    settle();
    EXPECT_EQ(clicks(ok), 2u);
    Button_Click(ok);
    EXPECT_EQ(clicks(ok), 3u);
    // A press that leaves the button before it is let go clicks nothing.
    drive::MouseDown(ok, {40, 12});
    drive::MouseUp(ok, {200, 100});
    settle();
    EXPECT_EQ(clicks(ok), 3u);
    // A disabled button takes no clicks.
    EnableWindow(ok, false);
    Button_Click(ok);
    drive::Click(ok, {40, 12});
    settle();
    EXPECT_EQ(clicks(ok), 3u);
}

TEST_F(Button, AParentThatDestroysTheButtonOnItsClickIsSafe)
{
    Hwnd ok = makeButton("OK", 0, Rect::fromSize(10, 10, 80, 24), 3);
    onCommand = [](const Command& c) { DestroyWindow(c.from); };
    drive::Click(ok, {40, 12});
    ASSERT_TRUE(waitForCommand(BN_CLICKED));
    settle();
    EXPECT_FALSE(IsWindow(ok));
    EXPECT_EQ(commandCount(BN_CLICKED), 1u);
}

TEST_F(Button, AltWithTheAccessCharacterClicksTheButtonAnywhereInItsWindow)
{
    Hwnd update = makeButton("保存&更新", 0, Rect::fromSize(10, 10, 96, 24), 3);
    Hwnd a = makeButton("&A", 0, Rect::fromSize(120, 10, 60, 24), 4);
    Hwnd amp = makeButton("A&&B", 0, Rect::fromSize(200, 10, 60, 24), 5);
    Hwnd hidden = makeButton("&Q", 0, Rect::fromSize(10, 50, 60, 24), 6);
    Hwnd edit = makeEdit(0, Rect::fromSize(10, 90, 150, 24), 7);
    ShowWindow(hidden, SW_HIDE);
    focus(edit);

    // The system character reaches the window with the focus and goes up
    // to the top-level window.
    PostMessage(edit, WM_SYSCHAR, kGengCode, kAltDown);
    settle();
    EXPECT_EQ(clicks(update), 1u);
    EXPECT_EQ(commands.size(), 1u);

    // Alt+A through the keyboard: the character makes no text in the edit.
    drive::Key(edit, 'A', drive::kAlt);
    settle();
    EXPECT_EQ(clicks(a), 1u);
    EXPECT_EQ(GetWindowText(edit), "");
    // And straight at the top-level window, in either case.
    SendMessage(top, WM_SYSCHAR, 'A', kAltDown);
    EXPECT_EQ(clicks(a), 2u);

    // "&&" is a plain "&"; hidden and disabled buttons take no keys.
    for (WParam c : {WParam('&'), WParam('b'), WParam('q')})
        SendMessage(top, WM_SYSCHAR, c, kAltDown);
    EnableWindow(a, false);
    SendMessage(top, WM_SYSCHAR, 'a', kAltDown);
    EXPECT_EQ(clicks(amp), 0u);
    EXPECT_EQ(clicks(hidden), 0u);
    EXPECT_EQ(clicks(a), 2u);
    EXPECT_EQ(GetWindowText(amp), "A&&B");
}

TEST_F(Button, EnterClicksTheDefaultButtonUnlessAButtonOrALineTakesIt)
{
    Hwnd ok = makeButton("OK", BS_DEFPUSHBUTTON, Rect::fromSize(10, 10, 80, 24), 1);
    Hwnd other = makeButton("Other", 0, Rect::fromSize(100, 10, 80, 24), 2);
    Hwnd line = makeEdit(0, Rect::fromSize(10, 50, 150, 24), 3);
    Hwnd lines = makeControl(WC_EDIT, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0,
                             Rect::fromSize(10, 90, 150, 60), 4);
    focus(line);
    drive::Key(line, VK_RETURN);
    settle();
    EXPECT_EQ(clicks(ok), 1u);
    focus(other);
    drive::Key(other, VK_RETURN);
    settle();
    EXPECT_EQ(clicks(other), 1u);
    EXPECT_EQ(clicks(ok), 0u);
    focus(lines);
    drive::Key(lines, VK_RETURN);
    settle();
    EXPECT_EQ(clicks(ok), 0u);
    EXPECT_EQ(GetWindowText(lines), "\r\n");
    // Disabled, it is passed over.
    EnableWindow(ok, false);
    focus(line);
    drive::Key(line, VK_RETURN);
    settle();
    EXPECT_EQ(clicks(ok), 0u);
}

// ---- drawing ----

TEST_F(Button, TheAccessCharacterIsUnderlined)
{
    Hwnd marked = makeButton("保存&更新", 0, Rect::fromSize(10, 10, 120, 30), 3);
    Hwnd plain = makeButton("保存更新", 0, Rect::fromSize(10, 50, 120, 30), 4);
    settle();
    std::vector<ColorRef> a = drive::ClientPixels(top, placeOf(marked));
    std::vector<ColorRef> b = drive::ClientPixels(top, placeOf(plain));
    ASSERT_EQ(a.size(), b.size());
    // The two differ only in a line under the third character: right of
    // the middle, below the text's middle.
    int width = 120;
    Rect differs{width, 30, -1, -1};
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            int x = int(i) % width;
            int y = int(i) / width;
            differs = {std::min(differs.left, x), std::min(differs.top, y), std::max(differs.right, x + 1),
                       std::max(differs.bottom, y + 1)};
        }
    ASSERT_FALSE(differs.isEmpty());
    EXPECT_GE(differs.left, width / 2 - 1);
    EXPECT_LE(differs.right, width / 2 + 16);
    EXPECT_GE(differs.top, 15);
    EXPECT_LE(differs.height(), 2);
}

TEST_F(Button, ADefaultPushButtonHasAHeavierFrame)
{
    Hwnd normal = makeButton("A", 0, Rect::fromSize(10, 10, 80, 24), 3);
    Hwnd heavy = makeButton("B", BS_DEFPUSHBUTTON, Rect::fromSize(10, 50, 80, 24), 4);
    settle();
    EXPECT_EQ(pixel(heavy, {0, 12}), Rgb(0, 0, 0));
    EXPECT_NE(pixel(normal, {0, 12}), Rgb(0, 0, 0));
    SetWindowStyle(normal, GetWindowStyle(normal) | BS_DEFPUSHBUTTON);
    EXPECT_EQ(pixel(normal, {0, 12}), Rgb(0, 0, 0));
}

TEST_F(Button, BitmapAndIconButtonsDrawTheirImageCentredOnTheFace)
{
    Bitmap red = CreateBitmapFromPixels(10, 10, std::vector<std::uint32_t>(100, 0xFFFF0000));
    Icon green = CreateIconFromPixels(16, 16, std::vector<std::uint32_t>(256, 0xFF00C000));
    Hwnd withBitmap = makeButton("", BS_BITMAP, Rect::fromSize(10, 10, 60, 40), 3);
    Hwnd withIcon = makeButton("", BS_ICON, Rect::fromSize(100, 10, 60, 40), 4);
    Hwnd textOnly = makeButton("T", 0, Rect::fromSize(200, 10, 60, 40), 5);
    Button_SetBitmap(withBitmap, red);
    Button_SetIcon(withIcon, green);
    Button_SetBitmap(textOnly, red); // without BS_BITMAP the caption stays
    settle();
    ColorRef face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(pixel(withBitmap, {30, 20}), Rgb(255, 0, 0));
    EXPECT_EQ(pixel(withBitmap, {25, 15}), Rgb(255, 0, 0));
    EXPECT_EQ(pixel(withBitmap, {34, 24}), Rgb(255, 0, 0));
    EXPECT_EQ(pixel(withBitmap, {24, 20}), face);
    EXPECT_EQ(pixel(withBitmap, {35, 20}), face);
    EXPECT_EQ(pixel(withIcon, {30, 20}), Rgb(0, 0xC0, 0));
    EXPECT_EQ(pixel(withIcon, {21, 20}), face);
    EXPECT_EQ(pixel(textOnly, {40, 20}), face);
    // The button does not own its image.
    DestroyWindow(withBitmap);
    EXPECT_EQ(GetBitmapSize(red), (Size{10, 10}));
    DeleteBitmap(red);
    DestroyIcon(green);
}

TEST_F(Button, TheCaptionIsPlacedByTheAlignmentStylesAndWrapsWithMultiLine)
{
    Hwnd left = makeButton("Go", BS_LEFT, Rect::fromSize(10, 10, 120, 40), 3);
    Hwnd right = makeButton("Go", BS_RIGHT | BS_TOP, Rect::fromSize(10, 60, 120, 40), 4);
    Hwnd middle = makeButton("Go", 0, Rect::fromSize(10, 110, 120, 40), 5);
    const char* longCaption = "one two three four";
    Hwnd single = makeButton(longCaption, 0, Rect::fromSize(200, 10, 70, 60), 6);
    Hwnd wrapped = makeButton(longCaption, BS_MULTILINE, Rect::fromSize(200, 80, 70, 60), 7);
    settle();
    Rect l = inkBox(left);
    Rect r = inkBox(right);
    Rect m = inkBox(middle);
    ASSERT_FALSE(l.isEmpty());
    EXPECT_LT(l.left, 10);
    EXPECT_GT(r.right, 110);
    EXPECT_LT(r.top, m.top);
    EXPECT_NEAR((m.left + m.right) / 2, 60, 3);
    EXPECT_NEAR((m.top + m.bottom) / 2, 20, 3);
    EXPECT_GT(inkBox(wrapped).height(), 2 * inkBox(single).height());
}

TEST_F(Button, TheWindowTextIsTheCaption)
{
    Hwnd b = makeButton("保存&更新", 0, Rect::fromSize(10, 10, 96, 24), 3);
    EXPECT_EQ(GetWindowText(b), "保存&更新");
    EXPECT_EQ(SendMessage(b, WM_GETTEXTLENGTH, 0, 0), 9);
    SetWindowText(b, "&B");
    SendMessage(top, WM_SYSCHAR, 'b', kAltDown);
    EXPECT_EQ(clicks(b), 1u);
    SendMessage(top, WM_SYSCHAR, kGengCode, kAltDown);
    EXPECT_EQ(clicks(b), 1u);
}

} // namespace
