#include "control_test_support.h"

#include "platform/combo_box.h"
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
const std::vector<std::string> kPictures = {"PY", "C#", ".Net", "JAVA", "JS", "网络"};

bool isFocusCode(std::uint32_t code)
{
    return code == CBN_SETFOCUS || code == CBN_KILLFOCUS;
}

// A shown window holding a combo box; the window records its
// notifications.
class ComboBox : public pt::ControlTest<Note> {
protected:
    ComboBox() : ControlTest({100, 80, 500, 380}) {}

    Hwnd makeCombo(std::uint32_t style, int height = 160, int id = 8)
    {
        combo = makeControl(WC_COMBOBOX, style | WS_VSCROLL, 0, Rect::fromSize(20, 20, 120, height), id);
        return combo;
    }

    void addPictures()
    {
        for (const std::string& text : kPictures)
            ComboBox_AddString(combo, text);
    }

    void focus(Hwnd hwnd)
    {
        SetFocus(hwnd);
        ASSERT_TRUE(pt::DispatchUntil([hwnd] { return GetFocus() == hwnd; }, 1000));
    }

    void settle() { pt::DispatchFor(40); }

    // What the box told, focus codes left out.
    std::vector<std::uint32_t> told() const
    {
        std::vector<std::uint32_t> out;
        for (std::uint32_t code : commandsFrom(combo))
            if (!isFocusCode(code))
                out.push_back(code);
        return out;
    }

    // The middle of an item in the dropped list, on the screen.
    Point itemOnScreen(int index) const
    {
        Rect list = ComboBox_GetDroppedControlRect(combo);
        int h = ComboBox_GetItemHeight(combo, 0);
        return {list.left + list.width() / 2, list.top + 1 + index * h + h / 2};
    }

    void dropByClick()
    {
        Rect r = GetWindowRectInParent(combo);
        drive::Click(combo, {r.width() - 6, r.height() / 2});
        ASSERT_TRUE(pt::DispatchUntil([this] { return ComboBox_GetDroppedState(combo); }, 1000));
    }

    ColorRef pixel(Point inCombo) const
    {
        Rect r = GetWindowRectInParent(combo);
        return drive::ClientPixel(top, {r.left + inCombo.x, r.top + inCombo.y});
    }

    Hwnd combo = Hwnd::Null;
};

// ---- items ----

TEST_F(ComboBox, ASortedBoxPlacesEachNewItemInOrder)
{
    makeCombo(CBS_DROPDOWNLIST | CBS_SORT);
    EXPECT_EQ(ComboBox_AddString(combo, "b"), 0);
    EXPECT_EQ(ComboBox_AddString(combo, "A"), 0);
    EXPECT_EQ(ComboBox_AddString(combo, "中"), 2);
    EXPECT_EQ(ComboBox_AddString(combo, "c"), 2);
    // Letters compare without regard to case; equal texts keep their order.
    EXPECT_EQ(ComboBox_AddString(combo, "a"), 1);
    std::vector<std::string> texts;
    for (int i = 0; i < ComboBox_GetCount(combo); ++i)
        texts.push_back(ComboBox_GetLBText(combo, i));
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "a", "b", "c", "中"}));

    Hwnd unsorted = makeCombo(CBS_DROPDOWNLIST, 160, 9);
    EXPECT_EQ(ComboBox_AddString(unsorted, "b"), 0);
    EXPECT_EQ(ComboBox_AddString(unsorted, "A"), 1);
}

TEST_F(ComboBox, ItemsKeepTheirTextAndDatum)
{
    makeCombo(CBS_DROPDOWN);
    addPictures();
    EXPECT_EQ(ComboBox_GetCount(combo), 6);
    EXPECT_TRUE(ComboBox_SetItemData(combo, 5, LParam(0x7FFFFFFF)));
    EXPECT_TRUE(ComboBox_SetItemData(combo, 1, LParam(-5)));
    EXPECT_EQ(ComboBox_GetItemData(combo, 5), LParam(0x7FFFFFFF));
    EXPECT_EQ(ComboBox_GetItemData(combo, 1), LParam(-5));
    EXPECT_EQ(ComboBox_GetItemData(combo, 0), 0);
    EXPECT_EQ(ComboBox_GetLBText(combo, 5), "网络");
    // Nothing at indexes with no item.
    EXPECT_FALSE(ComboBox_SetItemData(combo, 6, 1));
    EXPECT_EQ(ComboBox_GetItemData(combo, -1), 0);
    EXPECT_EQ(ComboBox_GetLBText(combo, 6), "");
    EXPECT_TRUE(ComboBox_ResetContent(combo));
    EXPECT_EQ(ComboBox_GetCount(combo), 0);
    EXPECT_EQ(ComboBox_GetCurSel(combo), -1);
    // A handle that is no combo box.
    EXPECT_EQ(ComboBox_AddString(top, "x"), -1);
    EXPECT_EQ(ComboBox_GetCurSel(top), -1);
    EXPECT_FALSE(ComboBox_ResetContent(top));
}

TEST_F(ComboBox, SetCurSelSelectsQuietlyAndShowsTheItemInTheField)
{
    for (std::uint32_t type : {CBS_DROPDOWN, CBS_DROPDOWNLIST}) {
        makeCombo(type);
        addPictures();
        // Adding items selects none of them.
        EXPECT_EQ(ComboBox_GetCurSel(combo), -1);
        EXPECT_EQ(GetWindowText(combo), "");
        EXPECT_EQ(ComboBox_SetCurSel(combo, 5), 5);
        EXPECT_EQ(ComboBox_GetCurSel(combo), 5);
        EXPECT_EQ(GetWindowText(combo), "网络");
        EXPECT_EQ(ComboBox_SetCurSel(combo, 6), -1);
        EXPECT_EQ(ComboBox_GetCurSel(combo), -1);
        EXPECT_EQ(GetWindowText(combo), "");
        settle();
        EXPECT_TRUE(told().empty()) << type;
        DestroyWindow(combo);
    }
}

// ---- the dropped list ----

TEST_F(ComboBox, AMouseChoiceInTheDroppedListIsToldOkThenChangeThenCloseUp)
{
    makeCombo(CBS_DROPDOWNLIST);
    addPictures();
    ComboBox_SetCurSel(combo, 0);
    std::vector<int> selectionWhenTold;
    onCommand = [&](const Command& c) { selectionWhenTold.push_back(ComboBox_GetCurSel(c.from)); };
    dropByClick();
    EXPECT_EQ(told(), std::vector<std::uint32_t>{CBN_DROPDOWN});
    drive::ClickScreen(itemOnScreen(3));
    ASSERT_TRUE(waitForCommand(CBN_CLOSEUP));
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_DROPDOWN, CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}));
    EXPECT_FALSE(ComboBox_GetDroppedState(combo));
    EXPECT_EQ(ComboBox_GetCurSel(combo), 3);
    EXPECT_EQ(GetWindowText(combo), "JAVA");
    // The parent reads the new selection when it hears of the choice.
    EXPECT_EQ(selectionWhenTold.back(), 3);
    // The box kept the focus while its list was down, and has it again.
    EXPECT_TRUE(pt::DispatchUntil([this] { return GetFocus() == combo && GetActiveWindow() == top; }, 1000));
    std::vector<std::uint32_t> all = commandsFrom(combo);
    EXPECT_EQ(std::count(all.begin(), all.end(), CBN_KILLFOCUS), 0);
}

TEST_F(ComboBox, EscapeOrAClickElsewhereClosesTheListWithoutAChoice)
{
    makeCombo(CBS_DROPDOWN);
    addPictures();
    ComboBox_SetCurSel(combo, 1);
    dropByClick();
    drive::Key(combo, VK_DOWN);
    drive::Key(combo, VK_ESCAPE);
    ASSERT_TRUE(waitForCommand(CBN_CLOSEUP));
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(ComboBox_GetCurSel(combo), 1);

    commands.clear();
    dropByClick();
    Rect list = ComboBox_GetDroppedControlRect(combo);
    drive::ClickScreen({list.right + 50, list.bottom + 20});
    ASSERT_TRUE(waitForCommand(CBN_CLOSEUP));
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(ComboBox_GetCurSel(combo), 1);
}

TEST_F(ComboBox, KeysChooseInTheDroppedListAndOnTheClosedField)
{
    makeCombo(CBS_DROPDOWNLIST);
    addPictures();
    ComboBox_SetCurSel(combo, 0);
    focus(combo);
    commands.clear();
    drive::Key(combo, VK_DOWN);
    settle();
    EXPECT_EQ(ComboBox_GetCurSel(combo), 1);
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_SELENDOK, CBN_SELCHANGE}));

    commands.clear();
    ComboBox_ShowDropdown(combo, true);
    EXPECT_TRUE(ComboBox_GetDroppedState(combo));
    drive::Key(combo, VK_DOWN);
    drive::Key(combo, VK_RETURN);
    ASSERT_TRUE(waitForCommand(CBN_CLOSEUP));
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_DROPDOWN, CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}));
    EXPECT_EQ(ComboBox_GetCurSel(combo), 2);

    // The program closing the list: only the close-up.
    commands.clear();
    ComboBox_ShowDropdown(combo, true);
    ComboBox_ShowDropdown(combo, false);
    ASSERT_TRUE(waitForCommand(CBN_CLOSEUP));
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBox, TheListDropsAsFarAsTheWindowHeightLessTheField)
{
    makeCombo(CBS_DROPDOWN, 160);
    addPictures();
    int field = ComboBox_GetItemHeight(combo, -1) + 6;
    Rect window = GetWindowRect(combo);
    EXPECT_EQ(window.height(), field);
    Rect list = ComboBox_GetDroppedControlRect(combo);
    EXPECT_EQ(list.top, window.bottom);
    EXPECT_EQ(list.left, window.left);
    EXPECT_EQ(list.width(), window.width());
    EXPECT_EQ(list.height(), 160 - field);
    ComboBox_ShowDropdown(combo, true);
    EXPECT_TRUE(ComboBox_GetDroppedState(combo));
    ComboBox_ShowDropdown(combo, false);

    // A new height for the window is a new height for the list.
    MoveWindow(combo, 20, 20, 120, 100);
    EXPECT_EQ(GetWindowRect(combo).height(), field);
    EXPECT_EQ(ComboBox_GetDroppedControlRect(combo).height(), 100 - field);

    // Taller items: a taller field, a list of the same window height.
    EXPECT_TRUE(ComboBox_SetItemHeight(combo, -1, 24));
    EXPECT_EQ(GetWindowRect(combo).height(), 30);
    EXPECT_EQ(ComboBox_GetDroppedControlRect(combo).height(), 70);
    int item = ComboBox_GetItemHeight(combo, 0);
    EXPECT_TRUE(ComboBox_SetItemHeight(combo, 0, item + 4));
    EXPECT_EQ(ComboBox_GetItemHeight(combo, 0), item + 4);
    EXPECT_FALSE(ComboBox_SetItemHeight(combo, 0, 0));
    EXPECT_FALSE(ComboBox_SetItemHeight(combo, 0, 256));
}

TEST_F(ComboBox, ALargerFontMakesATallerFieldAndItems)
{
    makeCombo(CBS_DROPDOWNLIST, 160);
    int field = GetWindowRect(combo).height();
    int item = ComboBox_GetItemHeight(combo, 0);
    LogFont large;
    large.height = -28;
    Font font = CreateFontIndirect(large);
    SendMessage(combo, WM_SETFONT, WParam(font), 1);
    EXPECT_GT(ComboBox_GetItemHeight(combo, 0), item + 10);
    EXPECT_EQ(GetWindowRect(combo).height(), ComboBox_GetItemHeight(combo, -1) + 6);
    EXPECT_GT(GetWindowRect(combo).height(), field + 10);
    // The list still ends where the window's height does.
    EXPECT_EQ(ComboBox_GetDroppedControlRect(combo).bottom, GetWindowRect(combo).top + 160);
    SendMessage(combo, WM_SETFONT, 0, 0);
    DeleteFont(font);
}

TEST_F(ComboBox, ATallerItemMovesTheItemsOfTheDroppedList)
{
    makeCombo(CBS_DROPDOWNLIST, 200);
    addPictures();
    ComboBox_SetItemHeight(combo, 0, ComboBox_GetItemHeight(combo, 0) + 8);
    dropByClick();
    drive::ClickScreen(itemOnScreen(5));
    ASSERT_TRUE(waitForCommand(CBN_CLOSEUP));
    EXPECT_EQ(ComboBox_GetCurSel(combo), 5);
}

// ---- the edit field ----

TEST_F(ComboBox, TheEditFieldKeepsToItsLimitInBytesAndTellsOfEdits)
{
    makeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    addPictures();
    ComboBox_LimitText(combo, 4);
    focus(combo);
    commands.clear();
    drive::TypeText(combo, "中文字");
    settle();
    EXPECT_EQ(GetWindowText(combo), "中文");
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_EDITCHANGE, CBN_EDITCHANGE}));
    ComboBox_SetEditSel(combo, 2, 4);
    drive::TypeText(combo, "ab");
    settle();
    EXPECT_EQ(GetWindowText(combo), "中ab");
    // The program's text: no edit notification.
    commands.clear();
    SetWindowText(combo, "PY");
    ComboBox_SetCurSel(combo, 3);
    EXPECT_EQ(GetWindowText(combo), "JAVA");
    settle();
    EXPECT_TRUE(told().empty());
}

TEST_F(ComboBox, FocusIsToldWhenItComesAndGoes)
{
    makeCombo(CBS_DROPDOWN);
    Hwnd other = makeControl(WC_COMBOBOX, CBS_DROPDOWNLIST, 0, Rect::fromSize(200, 20, 100, 100), 9);
    focus(combo);
    focus(other);
    EXPECT_EQ(commandsFrom(combo), (std::vector<std::uint32_t>{CBN_SETFOCUS, CBN_KILLFOCUS}));
    EXPECT_EQ(commandsFrom(other), std::vector<std::uint32_t>{CBN_SETFOCUS});
}

// ---- the simple style ----

TEST_F(ComboBox, ASimpleBoxShowsItsListBelowTheField)
{
    makeCombo(CBS_SIMPLE, 140);
    addPictures();
    EXPECT_EQ(GetWindowRect(combo).height(), 140);
    int field = ComboBox_GetItemHeight(combo, -1) + 6;
    Rect list = ComboBox_GetDroppedControlRect(combo);
    EXPECT_EQ(list.top, GetWindowRect(combo).top + field);
    EXPECT_EQ(list.height(), 140 - field);
    ComboBox_ShowDropdown(combo, true);
    EXPECT_FALSE(ComboBox_GetDroppedState(combo));

    int h = ComboBox_GetItemHeight(combo, 0);
    Point second{20, field + 1 + h + h / 2};
    drive::Click(combo, second);
    settle();
    EXPECT_EQ(ComboBox_GetCurSel(combo), 1);
    EXPECT_EQ(GetWindowText(combo), "C#");
    EXPECT_EQ(told(), (std::vector<std::uint32_t>{CBN_SELENDOK, CBN_SELCHANGE}));
    commands.clear();
    drive::DoubleClick(combo, second);
    settle();
    std::vector<std::uint32_t> codes = told();
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_DBLCLK), codes.end());
}

TEST_F(ComboBox, TheColoursTheParentAnswersAreDrawnInTheFieldAndTheList)
{
    Brush red = CreateSolidBrush(kRed);
    Brush green = CreateSolidBrush(kGreen);
    otherMessages = [&](const pt::Seen& s) -> std::optional<LResult> {
        if (s.message == WM_CTLCOLOREDIT)
            return LResult(red);
        if (s.message == WM_CTLCOLORLISTBOX)
            return LResult(green);
        return std::nullopt;
    };
    makeCombo(CBS_SIMPLE, 140);
    addPictures();
    settle();
    EXPECT_EQ(pixel({100, 8}), kRed);
    EXPECT_EQ(pixel({100, 130}), kGreen);
    auto asked = pt::LogOf(top, {WM_CTLCOLORLISTBOX});
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(Hwnd(asked.back().lParam), combo);
    // A dropped list asks as it shows.
    Hwnd dropping = makeCombo(CBS_DROPDOWNLIST, 120, 9);
    addPictures();
    pt::Log().clear();
    ComboBox_ShowDropdown(dropping, true);
    settle();
    asked = pt::LogOf(top, {WM_CTLCOLORLISTBOX});
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(Hwnd(asked.back().lParam), dropping);
    ComboBox_ShowDropdown(dropping, false);
    DeleteBrush(red);
    DeleteBrush(green);
}

} // namespace
