// The platform pieces the advanced tab draws and tracks with: memory
// device contexts and bitmap pixels, mouse-leave tracking, and a topmost
// window that never takes the activation or the focus.

#include "platform/gdi.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "platform/window_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace platform;
namespace driver = platform::testing;

TEST(MemoryContext, DrawsIntoTheSelectedBitmap)
{
    Hdc dc = CreateCompatibleDC(Hdc::Null);
    Bitmap b = CreateCompatibleBitmap(dc, 4, 3);
    EXPECT_EQ(GetBitmapPixels(b), std::vector<std::uint32_t>(12, 0u));
    FillRect(dc, {0, 0, 4, 3}, 0x0000FF); // no bitmap yet: nothing to draw on
    EXPECT_EQ(SelectBitmap(dc, b), Bitmap::Null);
    FillRect(dc, {1, 1, 3, 2}, 0x0000FF);
    std::vector<std::uint32_t> pixels = GetBitmapPixels(b);
    EXPECT_EQ(pixels[5], 0xFFFF0000u);
    EXPECT_EQ(pixels[6], 0xFFFF0000u);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), 10);

    // One context at a time, and not deleted while selected.
    Hdc other = CreateCompatibleDC(dc);
    EXPECT_EQ(SelectBitmap(other, b), Bitmap::Null);
    EXPECT_FALSE(DeleteBitmap(b));
    EXPECT_EQ(SelectBitmap(dc, Bitmap::Null), b);
    EXPECT_EQ(SelectBitmap(other, b), Bitmap::Null);
    EXPECT_TRUE(DeleteDC(other)); // deselects
    EXPECT_TRUE(DeleteBitmap(b));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(CreateCompatibleBitmap(Hdc::Null, 0, 5), Bitmap::Null);
}

TEST(MemoryContext, BitBltCopiesPixelsAsTheyAre)
{
    const std::vector<std::uint32_t> source{0xFF112233, 0x00000000, 0x80FFFFFF, 0xFF000000};
    Bitmap from = CreateBitmapFromPixels(2, 2, source);
    Bitmap to = CreateBitmapFromPixels(3, 2, std::vector<std::uint32_t>(6, 0xFF0000FF));
    Hdc src = CreateCompatibleDC(Hdc::Null);
    Hdc dst = CreateCompatibleDC(Hdc::Null);
    SelectBitmap(src, from);
    EXPECT_FALSE(BitBlt(dst, 0, 0, 2, 2, src, 0, 0)); // no bitmap to draw on
    SelectBitmap(dst, to);
    EXPECT_TRUE(BitBlt(dst, 1, 0, 2, 2, src, 0, 0));
    SelectBitmap(dst, Bitmap::Null);
    EXPECT_EQ(GetBitmapPixels(to),
              (std::vector<std::uint32_t>{0xFF0000FF, 0xFF112233, 0x00000000, 0xFF0000FF, 0x80FFFFFF, 0xFF000000}));

    EXPECT_FALSE(SetBitmapPixels(to, source));
    SelectBitmap(src, Bitmap::Null);
    EXPECT_TRUE(SetBitmapPixels(from, std::vector<std::uint32_t>(4, 7u)));
    EXPECT_EQ(GetBitmapPixels(from), std::vector<std::uint32_t>(4, 7u));
    EXPECT_TRUE(GetBitmapPixels(Bitmap(12345)).empty());
    DeleteDC(src);
    DeleteDC(dst);
    DeleteBitmap(from);
    DeleteBitmap(to);
}

// A window that notes the messages it is sent.
class Noting final : public WindowObject {
public:
    std::vector<std::uint32_t> messages;
    int count(std::uint32_t m) const { return int(std::count(messages.begin(), messages.end(), m)); }
    LResult windowProc(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        messages.push_back(message);
        return defaultProc(message, wParam, lParam);
    }
};

class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        WindowClass cls;
        cls.name = "PagePlatformTest";
        RegisterWindowClass(cls);
    }
    void TearDown() override
    {
        for (Hwnd h : m_made)
            DestroyWindow(h);
        pump();
    }
    Hwnd make(Noting* object, std::uint32_t style, Hwnd parent, Rect at, std::uint32_t exStyle = 0)
    {
        WindowCreateParams p{.exStyle = exStyle,
                             .className = "PagePlatformTest",
                             .style = style,
                             .x = at.left,
                             .y = at.top,
                             .width = at.width(),
                             .height = at.height(),
                             .parent = parent};
        Hwnd h = CreateWindowEx(p, object);
        if (!(style & WS_CHILD))
            m_made.push_back(h);
        return h;
    }
    static void pump()
    {
        driver::ProcessToolkitEvents(20);
        Msg msg;
        while (PeekMessage(msg, PM_REMOVE))
            DispatchMessage(msg);
    }

private:
    std::vector<Hwnd> m_made;
};

TEST_F(Windows, TrackingPostsOneLeaveWhenThePointerGoesElsewhere)
{
    Noting frame, a, b;
    Hwnd top = make(&frame, WS_POPUP, Hwnd::Null, Rect::fromSize(40, 40, 200, 100));
    Hwnd ha = make(&a, WS_CHILD | WS_VISIBLE, top, Rect::fromSize(0, 0, 100, 100));
    Hwnd hb = make(&b, WS_CHILD | WS_VISIBLE, top, Rect::fromSize(100, 0, 100, 100));
    ShowWindow(top, SW_SHOW);
    pump();

    driver::MouseMove(ha, {10, 10});
    pump();
    EXPECT_TRUE(TrackMouseEvent({.flags = TME_LEAVE, .hwnd = ha}));
    driver::MouseMove(ha, {20, 10});
    pump();
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 0);
    driver::MouseMove(hb, {10, 10});
    pump();
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);
    driver::MouseMove(hb, {20, 20});
    driver::MouseMove(ha, {20, 20});
    pump();
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1); // tracking ended with the message

    // Cancelled, nothing comes; asked for after the pointer has gone, the
    // leave comes at once.
    EXPECT_TRUE(TrackMouseEvent({.flags = TME_LEAVE, .hwnd = ha}));
    EXPECT_TRUE(TrackMouseEvent({.flags = TME_LEAVE | TME_CANCEL, .hwnd = ha}));
    driver::MouseMove(hb, {30, 30});
    pump();
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);
    EXPECT_TRUE(TrackMouseEvent({.flags = TME_LEAVE, .hwnd = ha}));
    pump();
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 2);
    EXPECT_EQ(b.count(WM_MOUSELEAVE), 0);
    EXPECT_FALSE(TrackMouseEvent({.flags = TME_LEAVE, .hwnd = Hwnd(999999)}));
}

TEST_F(Windows, ANoActivateWindowNeverTakesTheFocus)
{
    Noting main, field, tip;
    Hwnd top = make(&main, WS_CAPTION | WS_SYSMENU, Hwnd::Null, Rect::fromSize(40, 40, 300, 200));
    Hwnd edit = make(&field, WS_CHILD | WS_VISIBLE, top, Rect::fromSize(10, 10, 100, 20));
    ShowWindow(top, SW_SHOW);
    SetFocus(edit);
    pump();
    ASSERT_EQ(GetFocus(), edit);
    Hwnd active = GetActiveWindow();

    Hwnd popup = make(&tip, WS_POPUP, top, Rect::fromSize(60, 60, 80, 30),
                      WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    ShowWindow(popup, SW_SHOW); // even asked to activate
    pump();
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(GetActiveWindow(), active);
    driver::Click(popup, {5, 5});
    pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(tip.count(WM_LBUTTONDOWN), 1); // it still hears the pointer
}

} // namespace
