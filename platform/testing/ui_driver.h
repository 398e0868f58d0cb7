// Driving the platform from tests: headless start-up, real input through
// the toolkit's input path, and answering the message boxes and pop-up
// menus the program shows, so tests neither bypass them nor hang on them.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::testing {

// Selects the offscreen platform unless one is chosen, then initialises.
void InitializeHeadless(int& argc, char** argv);

struct MessageBoxInfo {
    std::string text;    // GBK
    std::string caption; // GBK
    std::uint32_t style = 0; // as MessageBox received it
    std::vector<std::string> buttons; // GBK, in display order
    std::uint32_t icon = 0;           // MB_ICON* the box shows, 0 for none
    int defaultAnswer = 0;            // the answer of the default button
    bool modal = false;               // the program's other windows take no input
    bool staysOnTop = false;
};

std::optional<MessageBoxInfo> ActiveMessageBox();
// Presses the button of an answer (IDOK ... IDNO) on the active box.
bool PressMessageBoxButton(int answer);
// As the title bar's close button (or Escape) would.
bool CloseActiveMessageBox();
// A key (VK_RETURN, VK_ESCAPE, VK_TAB, ...) pressed in the active box.
bool PressMessageBoxKey(std::uint32_t virtualKey);

// From now on every message box that appears is answered with what
// `answer` returns for it (0 closes it as the close button would).
void AnswerMessageBoxes(std::function<int(const MessageBoxInfo&)> answer);
void StopAnsweringMessageBoxes();

struct PopupMenuInfo {
    std::vector<std::string> items; // GBK captions, separators as "-"
    std::vector<bool> enabled;      // per item
    std::vector<bool> checked;      // per item
    std::vector<bool> submenu;      // per item: it opens a submenu
    Point position;                 // screen position it opened at
};
std::optional<PopupMenuInfo> ActivePopupMenu();
// Every pop-up menu that appears is answered: the item whose caption
// `choose` returns is chosen ("" closes the menu).
void AnswerPopupMenus(std::function<std::string(const PopupMenuInfo&)> choose);
void StopAnsweringPopupMenus();

// A message box or pop-up menu nobody answers within `seconds` is
// reported (with its text) and dismissed, so no test waits for ever.
void InstallModalWatchdog(std::function<void(const std::string& what)> onUnexpected, int seconds = 5);

enum class MouseButton { Left, Right, Middle };
enum Modifier : unsigned { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };

// Input into a window, at a point of its client area, through the window
// system's input path.
void MouseDown(Hwnd hwnd, Point client, MouseButton button = MouseButton::Left, unsigned modifiers = 0);
void MouseUp(Hwnd hwnd, Point client, MouseButton button = MouseButton::Left, unsigned modifiers = 0);
void Click(Hwnd hwnd, Point client, MouseButton button = MouseButton::Left, unsigned modifiers = 0);
void DoubleClick(Hwnd hwnd, Point client, unsigned modifiers = 0);
void MouseMove(Hwnd hwnd, Point client);
void Wheel(Hwnd hwnd, Point client, int delta, unsigned modifiers = 0);
// A key (virtual-key code) pressed and released in the window that has the
// focus within hwnd's top-level window.
void Key(Hwnd hwnd, std::uint32_t virtualKey, unsigned modifiers = 0, bool keypad = false);
void KeyDown(Hwnd hwnd, std::uint32_t virtualKey, unsigned modifiers = 0, bool keypad = false);
// Types GBK text, character by character.
void TypeText(Hwnd hwnd, std::string_view text);
// An input method commits GBK text to the widget with the focus in hwnd's
// top-level window (as one commit, the way an input method hands over what
// was composed).
void CommitInputMethodText(Hwnd hwnd, std::string_view text);
// An input method shows text it is still composing (nothing is committed).
void ComposeInputMethodText(Hwnd hwnd, std::string_view text);
// Puts GBK text on the clipboard.
void SetClipboardText(std::string_view text);
// A left click at a point of the screen, on whatever window shows there
// (a pop-up, a combo box's dropped list).
void ClickScreen(Point screen);
// The window manager's close button of a top-level window.
void RequestClose(Hwnd hwnd);

// Lets the toolkit run for a while (timers, painting); messages of the
// platform queue are not dispatched.
void ProcessToolkitEvents(int milliseconds);

// The window the toolkit keeps above and in front of every other window of
// the program (its modal window), or Null.
Hwnd ToolkitModalWindow();
// The top-level window the window system keeps hwnd above (its transient
// parent), or Null.
Hwnd KeptAbove(Hwnd hwnd);
// What a top-level window's title bar shows, with the characters that draw
// nothing left out, GBK.
std::string TitleBarText(Hwnd hwnd);

// Captions of the top-level entries of a window's menu bar, GBK.
std::vector<std::string> MenuBarTitles(Hwnd hwnd);
// The window's rendering saved as PNG.
bool SaveWindowImage(Hwnd hwnd, const std::string& path);
// The colour of one pixel of the window's client area as it renders now.
ColorRef ClientPixel(Hwnd hwnd, Point client);
// The colours of a part of the client area as it renders now, row by row.
std::vector<ColorRef> ClientPixels(Hwnd hwnd, Rect area);

// The family a font handle is drawn with on this machine (GBK), and
// whether it has a glyph for a character.
std::string FontFamilyUsed(Font font);
bool FontHasGlyph(Font font, char32_t character);

} // namespace platform::testing

namespace platform::testing {

// Chooses an item of a window's menu bar as a click would: the path names
// the bar entry and then the items below it (GBK captions, shortcut text
// left out).  False when there is no such enabled item.
bool ChooseMenuBarItem(Hwnd hwnd, const std::vector<std::string>& path);

// Runs `check` every few milliseconds from whatever loop is running (a
// modal one included) until it returns true.
void RunWhen(std::function<bool()> check, int intervalMs = 10);

} // namespace platform::testing

namespace platform::testing {

// What waits in the message queue now, front first; the toolkit is not
// asked for new input meanwhile.
std::vector<Msg> QueuedMessages();

} // namespace platform::testing
