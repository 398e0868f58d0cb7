#include "platform/qt/keys.h"

#include "platform/messages.h"

#include <array>
#include <utility>

namespace platform::qt {
namespace {

struct KeyMapping {
    int qtKey;
    std::uint32_t vk;
};

// Keys whose code is not the Qt code itself.  Shifted punctuation maps to
// the key that produces it on a US layout, as the virtual-key code names
// the key and not the character.
constexpr KeyMapping kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},         {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, 0x13},          {Qt::Key_CapsLock, 0x14},       {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},      {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},          {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},            {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, 0x2C},          {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Meta, 0x5B},           {Qt::Key_Menu, 0x5D},           {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},     {Qt::Key_Semicolon, 0xBA},      {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},          {Qt::Key_Plus, 0xBB},           {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},           {Qt::Key_Minus, VK_OEM_MINUS},  {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},   {Qt::Key_QuoteLeft, 0xC0},      {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},    {Qt::Key_BraceLeft, 0xDB},      {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},            {Qt::Key_BracketRight, 0xDD},   {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},     {Qt::Key_QuoteDbl, 0xDE},       {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},             {Qt::Key_NumberSign, 0x33},     {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},        {Qt::Key_AsciiCircum, 0x36},    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},       {Qt::Key_ParenLeft, 0x39},      {Qt::Key_ParenRight, 0x30},
};

// The numeric keypad, told apart by the keypad modifier.
constexpr KeyMapping kKeypad[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},   {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
    {Qt::Key_Enter, VK_RETURN},
};

std::uint32_t lookup(const auto& table, int key)
{
    for (const KeyMapping& m : table)
        if (m.qtKey == key)
            return m.vk;
    return 0;
}

} // namespace

std::uint32_t virtualKeyOf(const QKeyEvent& event)
{
    int key = event.key();
    bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + std::uint32_t(key - Qt::Key_0);
        if (std::uint32_t vk = lookup(kKeypad, key))
            return vk;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return std::uint32_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + std::uint32_t(key - Qt::Key_F1);
    return lookup(kKeys, key);
}

} // namespace platform::qt
