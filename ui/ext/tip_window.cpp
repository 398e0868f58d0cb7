#include "ui/ext/tip_window.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/unit_window.h"

#include <algorithm>

namespace ui {

using namespace platform;

namespace {

constexpr std::uintptr_t kRestTimer = 1;
constexpr int kBorder = 1;
constexpr ColorRef kDefaultBorder = 0x000000;
constexpr int kBoldWeight = 700;

} // namespace

TipWindow::TipWindow() : m_measureDc(CreateCompatibleDC(Hdc::Null))
{
    GetFontDescription(GetStockFont(DEFAULT_GUI_FONT), m_baseFont);
    Rect r{};
    DrawText(m_measureDc, "W", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    m_lineHeight = r.height();
}

TipWindow* TipWindow::create(Hwnd owner)
{
    RegisterUnitWindowClass(kClassName);
    auto* tip = new TipWindow;
    WindowCreateParams w;
    w.className = kClassName;
    w.style = WS_POPUP;
    w.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    w.parent = GetTopLevel(owner);
    if (CreateWindowEx(w, tip) == Hwnd::Null) {
        delete tip;
        return nullptr;
    }
    return tip;
}

TipWindow* TipWindow::of(Hwnd hwnd)
{
    return IsWindow(hwnd) ? dynamic_cast<TipWindow*>(WindowObject::fromHandle(hwnd)) : nullptr;
}

void TipWindow::onWindowGone()
{
    DeleteDC(std::exchange(m_measureDc, Hdc::Null));
    DeleteWindowObjectLater(this);
}

void TipWindow::addTool(Hwnd tool, std::string text)
{
    m_tools.push_back({tool, std::move(text)});
}

void TipWindow::toolHovered(Hwnd tool)
{
    auto it = std::find_if(m_tools.begin(), m_tools.end(), [&](const Tool& t) { return t.hwnd == tool; });
    if (it != m_tools.end())
        showAfterRest(it->text, false);
}

void TipWindow::showAfterRest(std::string text, bool markup)
{
    if ((m_waiting || visible()) && text == m_text && markup == m_textIsMarkup)
        return;
    hide();
    if (text.empty())
        return;
    m_text = std::move(text);
    m_textIsMarkup = markup;
    m_waiting = true;
    SetTimer(handle(), kRestTimer, kRestMilliseconds);
}

void TipWindow::hide()
{
    m_waiting = false;
    KillTimer(handle(), kRestTimer);
    if (visible())
        ShowWindow(handle(), SW_HIDE);
}

bool TipWindow::visible() const
{
    return GetWindowStyle(handle()) & WS_VISIBLE;
}

Font TipWindow::fontFor(const TipStyle& style)
{
    TipStyle key{.bold = style.bold, .italic = style.italic, .underline = style.underline, .strikeOut = style.strikeOut};
    for (const StyledFont& f : m_fonts)
        if (f.style == key)
            return f.font.get();
    LogFont lf = m_baseFont;
    if (style.bold)
        lf.weight |= kBoldWeight;
    lf.italic = style.italic;
    lf.underline = style.underline;
    lf.strikeOut = style.strikeOut;
    m_fonts.push_back({key, OwnedFont(CreateFontIndirect(lf))});
    return m_fonts.back().font.get();
}

int TipWindow::measure(std::string_view text, const TipStyle& style)
{
    Font old = SelectFont(m_measureDc, fontFor(style));
    Rect r{};
    DrawText(m_measureDc, text, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectFont(m_measureDc, old);
    return r.width();
}

void TipWindow::show(std::string_view text, bool markup, std::optional<Point> at)
{
    m_waiting = false;
    KillTimer(handle(), kRestTimer);
    m_text = std::string(text);
    m_textIsMarkup = markup;
    std::string lines = TipLineBreaks(text, markup);
    m_markup = markup ? ParseTipMarkup(lines) : PlainTip(lines);
    Size screen = GetScreenSize();
    Rect w{};
    DrawText(m_measureDc, "W", w, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TipLimits limits = TipLimitsFor(screen, w.width(), m_lineHeight);
    m_layout = LayOutTip(m_markup, limits, m_lineHeight,
                         [this](std::string_view t, const TipStyle& s) { return measure(t, s); });
    if (m_layout.fragments.empty()) {
        hide();
        return;
    }
    int margin = kBorder + kPadding;
    Size size{m_layout.size.cx + 2 * margin, m_layout.size.cy + 2 * margin};
    Point p = PlaceTip(GetCursorPos(), size, screen, at);
    SetWindowPos(handle(), HWND_TOPMOST, p.x, p.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(handle(), nullptr, false);
}

void TipWindow::paint()
{
    PaintStruct ps;
    Hdc dc = BeginPaint(handle(), ps);
    Rect client = GetClientRect(handle());
    FillRect(dc, client, m_markup.border.value_or(kDefaultBorder));
    Rect inside{client.left + kBorder, client.top + kBorder, client.right - kBorder, client.bottom - kBorder};
    FillRect(dc, inside, m_markup.background.value_or(GetSysColor(COLOR_INFOBK)));
    SetBkMode(dc, TRANSPARENT);
    int margin = kBorder + kPadding;
    for (const TipFragment& f : m_layout.fragments) {
        Font old = SelectFont(dc, fontFor(f.style));
        SetTextColor(dc, f.style.color);
        Rect r = Rect::fromSize(margin + f.x, margin + f.y, f.width + 1, m_lineHeight);
        DrawText(dc, f.text, r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        SelectFont(dc, old);
    }
    EndPaint(handle(), ps);
}

LResult TipWindow::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_TIMER:
        if (wParam == kRestTimer) {
            KillTimer(handle(), kRestTimer);
            if (m_waiting)
                show(std::string(m_text), m_textIsMarkup);
            return 0;
        }
        break;
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}

} // namespace ui
