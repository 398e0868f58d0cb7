// The PageControl (高级选择夹): a tabbed container drawn by the unit itself.
// A strip of page headers lies along one edge, the page area beside it;
// the units of the current page are shown there, those of the other
// pages hidden.  Which units belong to which page is the window
// template's business (the 0 entries of the unit's child list); the unit
// asks the framework to show the current page's units after every switch.
//
// Switching (click, property 12, or the stored page once the window's
// units exist) raises event 1, which may cancel it, and event 0 after the
// new page's units are shown.  Headers raise events 2-4 for a press, the
// pointer coming onto them and the right button released over them.
// Every header is drawn off screen and kept as a bitmap until its look
// changes.
#pragma once

#include "ui/ext/page_control_data.h"
#include "ui/ext/page_header_colors.h"
#include "ui/ext/page_header_drawing.h"
#include "ui/ext/page_header_layout.h"
#include "ui/ext/page_model.h"
#include "ui/ext/page_scroll_button.h"
#include "ui/framework/control_settings.h"
#include "ui/framework/described_unit.h"
#include "ui/framework/unit_kind.h"

#include <cstdint>
#include <vector>

namespace ui {

enum PageControlEvent : std::int32_t {
    kPageChanged = 0,        // after the new page's units were shown
    kPageChanging = 1,       // new page; handled false cancels the switch
    kHeaderPressed = 2,      // page; before the switch
    kHeaderHot = 3,          // page the pointer came onto
    kHeaderRightReleased = 4 // page
};

class PageControlUnit final : public DescribedUnit<PageControlData> {
public:
    static constexpr const char* kClassName = "CPageControl";

    ~PageControlUnit() override;

    // What the kind's description asks of a unit (kind_properties.h).
    static const KindDescription<PageControlData>& description() { return PageControlDescription(); }
    PropertyValue liveValue(PageControlData::Live which) const;
    bool apply(PageControlData::Effect effect);

    int currentPage() const override { return m_current; }
    void loadComplete() override;

    int pageCount() const { return int(m_pages.size()); }
    const PageRecord& page(int index) const { return m_pages[std::size_t(index)]; }
    bool selectable(int index) const;
    int hotHeader() const { return m_hot; }
    const HeaderStripLayout& layout() const { return m_layout; }
    platform::Hwnd tipWindow() const { return m_tip; }
    platform::Hwnd scrollButton(bool forward) const { return m_scrollButtons[forward ? 1 : 0]; }
    // Headers drawn off screen since the unit was made: one is drawn again
    // only when its look changed.
    int headersDrawn() const { return m_headersDrawn; }

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

private:
    template<class Unit>
    friend Unit* MakeDescribedUnit(const UnitCreateParams& params);
    using DescribedUnit::DescribedUnit;
    bool createControl(const UnitCreateParams& params);

    // Pages and switching (page_control_switching.cpp).
    enum class SwitchCause { Click, Property, Loading, Revalidation };
    PageRules rules() const;
    void loadPages();
    bool switchTo(int page, SwitchCause cause);
    void showCurrentPageUnits();
    void revalidate();
    void unitsExist();

    // Input (page_control_input.cpp).
    void onMouseMove(platform::Point at);
    void onMouseLeave();
    void onLeftDown(platform::Point at);
    void onRightUp(platform::Point at);
    void scroll(bool forward);
    void setHot(int page);

    // Layout and drawing (page_control_paint.cpp).
    HeaderStripInput stripInput() const;
    platform::Font font() const;
    void applyFont();
    void fitHeaderHeight();
    void applyScrollImages();
    void repaint();
    void measureHeaders();
    void relayout();
    void restyle() { ++m_generation; }
    void refresh();
    void invalidateHeader(int page);
    void invalidateNeighbours(int page);
    HeaderLook lookOf(int page) const;
    HeaderArt artFor(int page, const HeaderLook& look) const;
    platform::Bitmap headerBitmap(int page);
    void paint();
    void paintPageArea(platform::Hdc dc);

    std::vector<PageRecord> m_pages;
    int m_current = -1;
    int m_hot = -1;
    int m_tipHeader = -1; // the header whose tip shows or waits
    bool m_unitsExist = false;

    std::vector<int> m_lengths; // per page along the strip; 0: no header
    int m_scrolled = 0;
    HeaderStripLayout m_layout;

    // Each header's bitmap and what it was drawn for.
    struct CachedHeader {
        OwnedBitmap bitmap;
        HeaderLook look;
        platform::Size size;
        unsigned generation = 0;
    };
    std::vector<CachedHeader> m_cache;
    unsigned m_generation = 1; // raised by every change of how headers look
    int m_headersDrawn = 0;
    HeaderCanvas m_canvas;

    OwnedFont m_font;
    OwnedImageList m_headerImages;
    OwnedImageList m_backgroundImages;
    OwnedImageList m_scrollImages;
    ScrollButtonLook m_scrollLook;
    platform::Hwnd m_scrollButtons[2] = {platform::Hwnd::Null, platform::Hwnd::Null};
    platform::Hwnd m_tip = platform::Hwnd::Null;
};

extern const UnitKindDescriptor kPageControlKind;

} // namespace ui
