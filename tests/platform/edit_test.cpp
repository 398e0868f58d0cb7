#include "control_test_support.h"

#include "platform/edit.h"
#include "platform/gdi.h"
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

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 200, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
const std::string kTenChinese = "一二三四五六七八九十";

// A shown window holding edit controls; the window records their
// notifications.
class Edit : public pt::ControlTest<Note> {
protected:
    Edit() : ControlTest({100, 80, 500, 380}) {}

    Hwnd makeEdit(std::uint32_t style, Rect at = Rect::fromSize(10, 10, 200, 24), std::uint32_t exStyle = 0, int id = 5)
    {
        edit = makeControl(WC_EDIT, style, exStyle, at, id);
        return edit;
    }

    void focus(Hwnd hwnd)
    {
        SetFocus(hwnd);
        ASSERT_TRUE(pt::DispatchUntil([hwnd] { return GetFocus() == hwnd; }, 1000));
    }

    // Types and lets every character arrive.
    void type(const std::string& text)
    {
        drive::TypeText(edit, text);
        settle();
    }

    void key(std::uint32_t vk, unsigned modifiers = 0)
    {
        drive::Key(edit, vk, modifiers);
        settle();
    }

    void paste(const std::string& text)
    {
        drive::SetClipboardText(text);
        key('V', drive::kControl);
    }

    void settle() { pt::DispatchFor(40); }

    Rect placeOf(Hwnd hwnd) const { return GetWindowRectInParent(hwnd); }

    // A pixel of a control, in its own coordinates.
    ColorRef pixel(Hwnd hwnd, Point p) const
    {
        Rect r = placeOf(hwnd);
        return drive::ClientPixel(top, {r.left + p.x, r.top + p.y});
    }

    std::vector<ColorRef> pixels(Hwnd hwnd) const { return drive::ClientPixels(top, placeOf(hwnd)); }

    std::vector<std::uint32_t> codes() const { return commandsFrom(edit); }

    Hwnd edit = Hwnd::Null;
};

// ---- the limit in GBK bytes ----

TEST_F(Edit, TwentyBytesTakeTenChineseCharactersTypedAndRefuseTheEleventh)
{
    makeEdit(ES_AUTOHSCROLL | WS_BORDER);
    Edit_LimitText(edit, 20);
    EXPECT_EQ(Edit_GetLimitText(edit), 20);
    focus(edit);
    type(kTenChinese);
    EXPECT_EQ(GetWindowText(edit), kTenChinese);
    EXPECT_EQ(commandCount(EN_MAXTEXT), 0u);
    type("零");
    EXPECT_EQ(GetWindowText(edit), kTenChinese);
    EXPECT_EQ(commandCount(EN_MAXTEXT), 1u);
    // A selected character makes room for one of the same size.
    Edit_SetSel(edit, 18, 20);
    type("零");
    EXPECT_EQ(GetWindowText(edit), "一二三四五六七八九零");
    // An ASCII character does not fit in a byte it would have to split.
    Edit_SetSel(edit, 0, 0);
    SetWindowText(edit, "一二三四五六七八九a");
    Edit_SetSel(edit, 19, 19);
    type("b");
    EXPECT_EQ(GetWindowText(edit), "一二三四五六七八九ab");
    type("c");
    EXPECT_EQ(GetWindowText(edit), "一二三四五六七八九ab");
}

TEST_F(Edit, APasteIsCutAtTheLastWholeCharacterThatFits)
{
    makeEdit(ES_AUTOHSCROLL | WS_BORDER);
    Edit_LimitText(edit, 20);
    focus(edit);
    paste(kTenChinese + "甲乙丙丁戊");
    EXPECT_EQ(GetWindowText(edit), kTenChinese);
    EXPECT_EQ(commandCount(EN_MAXTEXT), 1u);

    // One ASCII byte first: the tenth Chinese character would straddle the
    // limit and is left out whole.
    SetWindowText(edit, "");
    paste("a" + kTenChinese);
    EXPECT_EQ(GetWindowText(edit), "a一二三四五六七八九");
    EXPECT_EQ(GetWindowText(edit).size(), 19u);

    // Pasting over a selection counts the room it leaves.
    Edit_SetSel(edit, 1, 5);
    paste("XYZW12");
    EXPECT_EQ(GetWindowText(edit), "aXYZW1三四五六七八九");
    // Text the program sets is not limited.
    SetWindowText(edit, kTenChinese + kTenChinese);
    EXPECT_EQ(GetWindowText(edit), kTenChinese + kTenChinese);
}

TEST_F(Edit, ReplaceSelKeepsToTheLimitAsTyping)
{
    makeEdit(ES_AUTOHSCROLL);
    Edit_LimitText(edit, 6);
    Edit_ReplaceSel(edit, "ab中文字");
    EXPECT_EQ(GetWindowText(edit), "ab中文");
    Edit_LimitText(edit, 0);
    EXPECT_GT(Edit_GetLimitText(edit), 1 << 30);
    Edit_ReplaceSel(edit, "字");
    EXPECT_EQ(GetWindowText(edit), "ab中文字");
}

// ---- selection ----

TEST_F(Edit, SelectionPositionsAreGbkBytesAndNeverInsideACharacter)
{
    makeEdit(ES_AUTOHSCROLL);
    SetWindowText(edit, "ab中文cd");
    Edit_SetSel(edit, 2, 4);
    EditSelection s = Edit_GetSel(edit);
    EXPECT_EQ(s.start, 2);
    EXPECT_EQ(s.end, 4);
    // Positions inside a character go back to its start.
    Edit_SetSel(edit, 3, 5);
    s = Edit_GetSel(edit);
    EXPECT_EQ(s.start, 2);
    EXPECT_EQ(s.end, 4);
    Edit_ReplaceSel(edit, "X");
    EXPECT_EQ(GetWindowText(edit), "abX文cd");
    EXPECT_EQ(Edit_GetSel(edit).start, 3);
    // -1 to the end; clamped beyond it; a start of -1 leaves only the caret.
    Edit_SetSel(edit, 0, -1);
    EXPECT_EQ(Edit_GetSel(edit).end, 7);
    Edit_SetSel(edit, 5, 99);
    EXPECT_EQ(Edit_GetSel(edit).start, 5);
    EXPECT_EQ(Edit_GetSel(edit).end, 7);
    Edit_SetSel(edit, -1, 0);
    EXPECT_EQ(Edit_GetSel(edit).start, Edit_GetSel(edit).end);
    // Backwards the same bytes.
    Edit_SetSel(edit, 7, 3);
    EXPECT_EQ(Edit_GetSel(edit).start, 3);
    EXPECT_EQ(Edit_GetSel(edit).end, 7);
}

TEST_F(Edit, CtrlHomeAndCtrlEndReachTheEndsOfASingleLine)
{
    makeEdit(ES_AUTOHSCROLL);
    focus(edit);
    SetWindowText(edit, "ab中文cd");
    Edit_SetSel(edit, 4, 4);
    key(VK_HOME, drive::kControl);
    EXPECT_EQ(Edit_GetSel(edit).start, 0);
    key(VK_END, drive::kControl | drive::kShift);
    EXPECT_EQ(Edit_GetSel(edit).start, 0);
    EXPECT_EQ(Edit_GetSel(edit).end, 8);
}

TEST_F(Edit, AMultiLineTextCountsItsLineBreaksAsTwoBytes)
{
    makeEdit(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, Rect::fromSize(10, 10, 200, 120));
    SetWindowText(edit, "一\r\n二");
    EXPECT_EQ(GetWindowText(edit), "一\r\n二");
    EXPECT_EQ(SendMessage(edit, WM_GETTEXTLENGTH, 0, 0), 6);
    Edit_SetSel(edit, 4, 6);
    Edit_ReplaceSel(edit, "X");
    EXPECT_EQ(GetWindowText(edit), "一\r\nX");
    focus(edit);
    Edit_SetSel(edit, 0, -1);
    EXPECT_EQ(Edit_GetSel(edit).end, 5);
    Edit_SetSel(edit, 5, 5);
    key(VK_RETURN);
    type("y");
    EXPECT_EQ(GetWindowText(edit), "一\r\nX\r\ny");
    // The limit counts the line break's two bytes.
    Edit_LimitText(edit, 9);
    key(VK_RETURN);
    EXPECT_EQ(GetWindowText(edit), "一\r\nX\r\ny");
    EXPECT_EQ(commandCount(EN_MAXTEXT), 1u);
}

TEST_F(Edit, AMultiLineBoxThatScrollsNeitherWayTakesOnlyTheLinesItShows)
{
    Hwnd fixed = makeEdit(ES_MULTILINE | ES_WANTRETURN, Rect::fromSize(10, 10, 200, 60), 0, 6);
    Hwnd scrolls = makeEdit(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, Rect::fromSize(10, 80, 200, 60), 0, 5);
    for (Hwnd h : {fixed, scrolls}) {
        edit = h;
        focus(h);
        for (int i = 0; i < 8; ++i) {
            type("x");
            key(VK_RETURN);
        }
    }
    std::string all = GetWindowText(scrolls);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 8);
    std::string kept = GetWindowText(fixed);
    EXPECT_GT(std::count(kept.begin(), kept.end(), '\n'), 0);
    EXPECT_LT(std::count(kept.begin(), kept.end(), '\n'), 7);
    std::vector<std::uint32_t> told = commandsFrom(fixed);
    EXPECT_NE(std::find(told.begin(), told.end(), EN_MAXTEXT), told.end());
}

TEST_F(Edit, WithoutWantReturnEnterMakesNoLine)
{
    makeEdit(ES_MULTILINE | ES_AUTOVSCROLL, Rect::fromSize(10, 10, 200, 120));
    focus(edit);
    type("a");
    key(VK_RETURN);
    type("b");
    EXPECT_EQ(GetWindowText(edit), "ab");
}

// ---- styles ----

TEST_F(Edit, APasswordBoxShowsItsCharacterForEachOne)
{
    Hwnd shown = makeEdit(ES_AUTOHSCROLL, Rect::fromSize(10, 10, 150, 24), 0, 6);
    Hwnd secret = makeEdit(ES_AUTOHSCROLL | ES_PASSWORD, Rect::fromSize(10, 50, 150, 24), 0, 5);
    SetWindowText(secret, "abc");
    SetWindowText(shown, "***");
    settle();
    EXPECT_EQ(GetWindowText(secret), "abc");
    std::vector<ColorRef> masked = pixels(secret);
    EXPECT_EQ(masked, pixels(shown));
    // Another character, given as its GBK code.
    Edit_SetPasswordChar(secret, 0xA1F1); // ●
    SetWindowText(shown, "●●●");
    settle();
    EXPECT_EQ(pixels(secret), pixels(shown));
    EXPECT_TRUE(GetWindowStyle(secret) & ES_PASSWORD);
    // 0: the text itself.
    Edit_SetPasswordChar(secret, 0);
    SetWindowText(shown, "abc");
    settle();
    EXPECT_EQ(pixels(secret), pixels(shown));
    EXPECT_NE(pixels(secret), masked);
    EXPECT_FALSE(GetWindowStyle(secret) & ES_PASSWORD);
}

TEST_F(Edit, CaseStylesConvertWhatIsTypedAndPasted)
{
    makeEdit(ES_AUTOHSCROLL | ES_UPPERCASE);
    focus(edit);
    type("aBc中");
    paste("xy");
    EXPECT_EQ(GetWindowText(edit), "ABC中XY");
    // The program's text keeps its case.
    SetWindowText(edit, "MiX");
    EXPECT_EQ(GetWindowText(edit), "MiX");

    SetWindowStyle(edit, GetWindowStyle(edit) & ~ES_UPPERCASE | ES_LOWERCASE);
    SetWindowText(edit, "");
    type("AbC");
    EXPECT_EQ(GetWindowText(edit), "abc");
}

TEST_F(Edit, AReadOnlyBoxTakesNoInputAndAsksForStaticColours)
{
    makeEdit(ES_AUTOHSCROLL | ES_READONLY);
    SetWindowText(edit, "固定");
    focus(edit);
    type("x");
    paste("y");
    key(VK_BACK);
    EXPECT_EQ(GetWindowText(edit), "固定");
    EXPECT_EQ(commandCount(EN_CHANGE), 0u);
    pixel(edit, {190, 12});
    EXPECT_FALSE(pt::LogOf(top, {WM_CTLCOLORSTATIC}).empty());
    EXPECT_TRUE(pt::LogOf(top, {WM_CTLCOLOREDIT}).empty());
    // Without an answer, the background of static text.
    EXPECT_EQ(pixel(edit, {190, 12}), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Edit, WithoutAutoScrollASingleLineTakesOnlyWhatItShows)
{
    Hwnd narrow = makeEdit(0, Rect::fromSize(10, 10, 60, 24), 0, 6);
    Hwnd wide = makeEdit(ES_AUTOHSCROLL, Rect::fromSize(10, 50, 60, 24), 0, 5);
    for (Hwnd h : {narrow, wide}) {
        edit = h;
        focus(h);
        type(std::string(30, 'W'));
    }
    EXPECT_EQ(GetWindowText(wide).size(), 30u);
    std::size_t kept = GetWindowText(narrow).size();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 30u);
    std::vector<std::uint32_t> told = commandsFrom(narrow);
    EXPECT_NE(std::find(told.begin(), told.end(), EN_MAXTEXT), told.end());
    // A paste is cut to what shows as well.
    SetWindowText(narrow, "");
    edit = narrow;
    focus(narrow);
    paste(std::string(30, 'W'));
    EXPECT_EQ(GetWindowText(narrow).size(), kept);
}

// ---- notifications ----

TEST_F(Edit, ChangesAreToldForTheUsersEditsOnly)
{
    Hwnd other = makeEdit(ES_AUTOHSCROLL, Rect::fromSize(10, 50, 100, 24), 0, 6);
    makeEdit(ES_AUTOHSCROLL);
    focus(edit);
    EXPECT_EQ(codes(), std::vector<std::uint32_t>{EN_SETFOCUS});
    commands.clear();
    type("ab");
    EXPECT_EQ(codes(), (std::vector<std::uint32_t>{EN_CHANGE, EN_CHANGE}));
    commands.clear();
    SetWindowText(edit, "program");
    Edit_SetSel(edit, 0, 3);
    EXPECT_TRUE(codes().empty());
    key(VK_DELETE);
    EXPECT_EQ(GetWindowText(edit), "gram");
    EXPECT_EQ(codes(), std::vector<std::uint32_t>{EN_CHANGE});
    commands.clear();
    focus(other);
    EXPECT_EQ(codes(), std::vector<std::uint32_t>{EN_KILLFOCUS});
    EXPECT_EQ(commandsFrom(other), std::vector<std::uint32_t>{EN_SETFOCUS});
}

TEST_F(Edit, AParentThatDestroysTheBoxOnAChangeStopsIt)
{
    makeEdit(ES_AUTOHSCROLL);
    focus(edit);
    onCommand = [this](const Command& c) {
        if (c.code == EN_CHANGE)
            DestroyWindow(c.from);
    };
    type("abc");
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(commandCount(EN_CHANGE), 1u);
}

TEST_F(Edit, AClickTakesTheFocusAndPlacesTheCaret)
{
    makeEdit(ES_AUTOHSCROLL);
    SetWindowText(edit, "abcdef");
    drive::Click(edit, {150, 10});
    ASSERT_TRUE(pt::DispatchUntil([this] { return GetFocus() == edit; }, 1000));
    settle();
    EXPECT_EQ(Edit_GetSel(edit).start, 6);
    EXPECT_EQ(commandsFrom(edit).front(), EN_SETFOCUS);
}

// ---- painting ----

TEST_F(Edit, TheColoursTheParentAnswersAreDrawn)
{
    Brush red = CreateSolidBrush(kRed);
    Brush green = CreateSolidBrush(kGreen);
    otherMessages = [&](const pt::Seen& s) -> std::optional<LResult> {
        if (s.message == WM_CTLCOLOREDIT) {
            SetTextColor(Hdc(s.wParam), kBlue);
            return LResult(red);
        }
        if (s.message == WM_CTLCOLORSTATIC)
            return LResult(green);
        return std::nullopt;
    };
    Hwnd normal = makeEdit(ES_AUTOHSCROLL, Rect::fromSize(10, 10, 200, 24), 0, 6);
    Hwnd fixed = makeEdit(ES_AUTOHSCROLL | ES_READONLY, Rect::fromSize(10, 50, 200, 24), 0, 5);
    SetWindowText(normal, "MMMM");
    settle();
    EXPECT_EQ(pixel(normal, {190, 12}), kRed);
    EXPECT_EQ(pixel(fixed, {190, 12}), kGreen);
    // The text is drawn in the colour answered.
    std::vector<ColorRef> drawn = pixels(normal);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), kBlue), drawn.end());
    // The asking control is the lParam; without answers, the system's.
    auto asked = pt::LogOf(top, {WM_CTLCOLOREDIT});
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(Hwnd(asked.back().lParam), normal);
    otherMessages = nullptr;
    InvalidateRect(normal, nullptr, true);
    EXPECT_EQ(pixel(normal, {190, 12}), GetSysColor(COLOR_WINDOW));
    DeleteBrush(red);
    DeleteBrush(green);
}

TEST_F(Edit, BordersFollowTheStylesAndTheirChanges)
{
    makeEdit(ES_AUTOHSCROLL | WS_BORDER);
    settle();
    EXPECT_EQ(pixel(edit, {0, 10}), Rgb(0, 0, 0));
    EXPECT_EQ(pixel(edit, {1, 10}), GetSysColor(COLOR_WINDOW));
    SetWindowStyle(edit, GetWindowStyle(edit) & ~WS_BORDER);
    EXPECT_EQ(pixel(edit, {0, 10}), GetSysColor(COLOR_WINDOW));
    SetWindowExStyle(edit, WS_EX_CLIENTEDGE);
    EXPECT_NE(pixel(edit, {0, 10}), GetSysColor(COLOR_WINDOW));
    EXPECT_NE(pixel(edit, {1, 10}), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(pixel(edit, {2, 10}), GetSysColor(COLOR_WINDOW));
}

TEST_F(Edit, TheSelectionShowsWithoutTheFocusOnlyWithNoHideSel)
{
    Hwnd hides = makeEdit(ES_AUTOHSCROLL, Rect::fromSize(10, 10, 150, 24), 0, 5);
    Hwnd keeps = makeEdit(ES_AUTOHSCROLL | ES_NOHIDESEL, Rect::fromSize(10, 50, 150, 24), 0, 6);
    Hwnd plain = makeEdit(ES_AUTOHSCROLL, Rect::fromSize(10, 90, 150, 24), 0, 7);
    for (Hwnd h : {hides, keeps, plain})
        SetWindowText(h, "selected");
    for (Hwnd h : {hides, keeps}) {
        focus(h);
        Edit_SetSel(h, 0, -1);
    }
    focus(plain);
    settle();
    EXPECT_EQ(Edit_GetSel(hides).end, 8); // kept, only not shown
    EXPECT_EQ(pixels(hides), pixels(plain));
    EXPECT_NE(pixels(keeps), pixels(plain));
}

} // namespace
