// The window unit: the top-level frame of every window of the program, made
// from the window's own record.  It owns the frame's styles, caption, icon,
// position and background, routes menu commands and accelerators, moves the
// focus with the Tab key, and runs the closing and destroying sequences.
#pragma once

#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"
#include "ui/units/window_kind_data.h"

namespace ui {

class LoadedWindow;

inline constexpr const char* kDefaultWindowClass = "WTWindow";

class WindowUnit final : public UnitObject {
public:
    static WindowUnit* create(const UnitCreateParams& params);

    // What the kind's description asks of a unit (kind_properties.h).
    static const KindDescription<WindowKindData>& description() { return WindowDescription(); }
    WindowKindData& settings() { return m_settings; }
    const WindowKindData& settings() const { return m_settings; }
    PropertyValue liveValue(WindowKindData::Live which) const;
    bool apply(WindowKindData::Effect effect);
    bool designTime() const { return false; }

    // Asks the window to close as its close button does: events 12 and 1
    // may veto; true when it closed.
    bool requestClose();

    void showInitially() override;
    void windowShown() override;
    bool preTranslateMessage(platform::Msg& msg) override;
    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

protected:
    void onWindowGone() override;

private:
    WindowUnit(const UnitCreateParams& params, WindowKindData settings);
    LoadedWindow* window() const;
    void applyCaption();
    void applyFrameStyles();
    void repaint();
    void applyIcon();
    void applyStartPosition(bool atCreation);
    void replaceAtStartPosition() { applyStartPosition(false); }
    void applyTopmost();
    void applyMovable();
    void startSound();
    void menuCommand(std::uint32_t command);
    void onDestroying();

    WindowKindData m_settings;
    platform::Icon m_icon = platform::Icon::Null;
    bool m_created = false;
    bool m_shown = false; // the opening has finished
    bool m_everActivated = false;
};

// Window styles for the stored settings (frame, caption, buttons).
struct WindowStyles {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};
WindowStyles StylesFor(const WindowKindData& settings);

extern const UnitKindDescriptor kWindowKind;
extern const UnitKindDescriptor kMenuItemKind;

} // namespace ui
