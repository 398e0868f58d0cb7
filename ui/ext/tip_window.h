// The tip window (class "_QX3_CTipWnd") a PageControl owns: it shows the
// scroll buttons' tips and the pages' tips, in plain text or markup, once
// the pointer has rested a moment, 21 pixels below the pointer and inside
// the screen.  It stays on top and never takes the activation or the
// focus.
#pragma once

#include "platform/gdi.h"
#include "platform/window_object.h"
#include "ui/ext/tip_layout.h"
#include "ui/ext/tip_markup.h"
#include "ui/framework/control_settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class TipWindow final : public platform::WindowObject {
public:
    static constexpr const char* kClassName = "_QX3_CTipWnd";
    // How long the pointer rests before a tip shows.
    static constexpr unsigned kRestMilliseconds = 400;
    // Between the border and the text.
    static constexpr int kPadding = 3;

    // A hidden tip window owned by the top-level window of `owner`; null
    // when it cannot be made.  It deletes itself when its window goes.
    static TipWindow* create(platform::Hwnd owner);
    // The tip window of a handle, or null once it is gone.
    static TipWindow* of(platform::Hwnd hwnd);

    // A window whose tip (plain text) shows when the pointer rests on it.
    void addTool(platform::Hwnd tool, std::string text);
    void toolHovered(platform::Hwnd tool);
    // Shows the text once the pointer rests; asking again for the text
    // waiting or shown changes nothing.
    void showAfterRest(std::string text, bool markup);
    // Shows the text at once, at `at` or below the pointer.
    void show(std::string_view text, bool markup, std::optional<platform::Point> at = std::nullopt);
    // Hides the tip and forgets one that was waiting.
    void hide();

    bool visible() const;
    const TipMarkup& markup() const { return m_markup; }
    const TipLayout& layout() const { return m_layout; }
    const std::string& text() const { return m_text; }

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

protected:
    void onWindowGone() override;

private:
    TipWindow();
    platform::Font fontFor(const TipStyle& style);
    int measure(std::string_view text, const TipStyle& style);
    void paint();

    struct Tool {
        platform::Hwnd hwnd;
        std::string text;
    };
    std::vector<Tool> m_tools;
    struct StyledFont {
        TipStyle style;
        OwnedFont font;
    };
    std::vector<StyledFont> m_fonts;
    platform::LogFont m_baseFont{};
    platform::Hdc m_measureDc = platform::Hdc::Null;
    int m_lineHeight = 0;

    std::string m_text; // shown or waiting
    bool m_textIsMarkup = false;
    bool m_waiting = false;
    TipMarkup m_markup;
    TipLayout m_layout;
};

} // namespace ui
