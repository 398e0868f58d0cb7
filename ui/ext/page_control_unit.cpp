#include "ui/ext/page_control_unit.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/ext/tip_window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

namespace ui {
namespace {

using namespace platform;

// Posted to itself when the window's units have all been made: by the
// time it arrives the window has opened, with the first page's units shown.
constexpr std::uint32_t kUnitsExistMessage = WM_USER + 0x100;

} // namespace

PageControlUnit::~PageControlUnit() = default;

// The window, its scroll buttons and tip window, the pages (the first
// selectable one current), then fonts, images and the layout.
bool PageControlUnit::createControl(const UnitCreateParams& p)
{
    RegisterUnitWindowClass(kClassName);
    if (!CreateUnitWindow(this, p, kClassName, p.style | WS_CLIPCHILDREN))
        return false;
    if (TipWindow* tip = TipWindow::create(handle()))
        m_tip = tip->handle();
    for (bool forward : {false, true}) {
        PageScrollButton* button = PageScrollButton::create(handle(), forward, &m_scrollLook, m_tip);
        if (!button)
            continue;
        m_scrollButtons[forward ? 1 : 0] = button->handle();
        if (TipWindow* tip = TipWindow::of(m_tip))
            tip->addTool(button->handle(), forward ? "向右滚动子夹头" : "向左滚动子夹头");
    }
    loadPages();
    applyFont();
    m_headerImages.reset(ImageListCreateFromBlock(m_settings.headerImageList));
    m_backgroundImages.reset(ImageListCreateFromBlock(m_settings.headerBackgroundImageList));
    applyScrollImages();
    refresh();
    return true;
}

void PageControlUnit::loadComplete()
{
    PostMessage(handle(), kUnitsExistMessage, 0, 0);
}

bool PageControlUnit::apply(PageControlData::Effect effect)
{
    using E = PageControlData::Effect;
    using Routine = void (*)(PageControlUnit&);
    static constexpr std::pair<E, Routine> kEffects[] = {
        {E::Position,
         [](PageControlUnit& u) {
             // Left and right headers always wrap.
             if (IsSidePosition(HeaderPosition(u.m_settings.headerPosition)))
                 u.m_settings.multiRow = true;
             u.m_scrolled = 0;
             u.refresh();
         }},
        {E::MultiRow, [](PageControlUnit& u) { u.refresh(); }},
        {E::Font, [](PageControlUnit& u) { u.applyFont(), u.refresh(); }},
        {E::Pages,
         [](PageControlUnit& u) {
             u.loadPages();
             u.m_settings.currentPage = u.m_current;
             u.refresh();
             if (u.m_unitsExist)
                 u.showCurrentPageUnits();
         }},
        {E::CurrentPage,
         [](PageControlUnit& u) {
             int wanted = u.m_settings.currentPage;
             u.m_settings.currentPage = u.m_current;
             u.switchTo(wanted, SwitchCause::Property);
         }},
        {E::Relayout, [](PageControlUnit& u) { u.refresh(); }},
        {E::Revalidate, [](PageControlUnit& u) { u.refresh(), u.revalidate(); }},
        {E::HeaderHeight, [](PageControlUnit& u) { u.fitHeaderHeight(), u.refresh(); }},
        {E::Style,
         [](PageControlUnit& u) {
             if (u.m_settings.headerStyle != 0)
                 u.m_settings.overlappingHeaders = false;
             u.refresh();
         }},
        {E::Overlapping,
         [](PageControlUnit& u) {
             if (u.m_settings.overlappingHeaders)
                 u.m_settings.headerStyle = 0;
             u.refresh();
         }},
        {E::Repaint, [](PageControlUnit& u) { u.repaint(); }},
        {E::HeaderImages,
         [](PageControlUnit& u) {
             u.m_headerImages.reset(ImageListCreateFromBlock(u.m_settings.headerImageList));
             u.refresh();
         }},
        {E::BackgroundImages,
         [](PageControlUnit& u) {
             u.m_backgroundImages.reset(ImageListCreateFromBlock(u.m_settings.headerBackgroundImageList));
             u.repaint();
         }},
        {E::ScrollButtons, [](PageControlUnit& u) { u.applyScrollImages(); }},
    };
    for (auto [e, routine] : kEffects)
        if (e == effect) {
            routine(*this);
            break;
        }
    // Every change is made in place.
    return false;
}

PropertyValue PageControlUnit::liveValue(PageControlData::Live which) const
{
    using L = PageControlData::Live;
    using Reader = PropertyValue (*)(const PageControlUnit&);
    static constexpr std::pair<L, Reader> kReaders[] = {
        {L::CurrentPage, [](const PageControlUnit& u) { return PropertyValue::ofInteger(u.m_current); }},
        {L::Pages, [](const PageControlUnit& u) { return PropertyValue::ofBytes(WritePages(u.m_pages)); }},
        {L::PageAreaLeft, [](const PageControlUnit& u) { return PropertyValue::ofInteger(u.m_layout.pageArea.left); }},
        {L::PageAreaTop, [](const PageControlUnit& u) { return PropertyValue::ofInteger(u.m_layout.pageArea.top); }},
        {L::PageAreaWidth,
         [](const PageControlUnit& u) { return PropertyValue::ofInteger(u.m_layout.pageArea.width()); }},
        {L::PageAreaHeight,
         [](const PageControlUnit& u) { return PropertyValue::ofInteger(u.m_layout.pageArea.height()); }},
    };
    for (auto [w, reader] : kReaders)
        if (w == which)
            return reader(*this);
    return {};
}

LResult PageControlUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        relayout();
        break;
    case WM_ENABLE:
        // Captions turn grey with the unit.
        repaint();
        break;
    case WM_MOUSEMOVE:
        onMouseMove(PointFromLParam(lParam));
        return 0;
    case WM_MOUSELEAVE:
    case kScrollButtonEnteredMessage:
        onMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        onLeftDown(PointFromLParam(lParam));
        return 0;
    case WM_RBUTTONUP:
        onRightUp(PointFromLParam(lParam));
        return 0;
    case kScrollHeadersMessage:
        scroll(wParam != 0);
        return 0;
    case kUnitsExistMessage:
        unitsExist();
        return 0;
    case WM_DESTROY:
        if (IsWindow(m_tip))
            DestroyWindow(m_tip);
        break;
    default:
        break;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createPageControl(const UnitCreateParams& p)
{
    return MakeDescribedUnit<PageControlUnit>(p);
}

// The colour properties that are one element of a stored triple, which a
// row cannot name, and the writes the kind refuses, come first; the rest
// the description serves.
PropertyValue getProperty(UnitObject& object, int kindProperty)
{
    const auto& unit = static_cast<const PageControlUnit&>(object);
    if (std::optional<PageColorElement> e = PageControlColorElement(kindProperty + kFirstKindProperty))
        return PropertyValue::ofInteger((unit.settings().*(e->triple))[std::size_t(e->index)]);
    return GetKindProperty<PageControlUnit>(object, kindProperty);
}

bool setProperty(UnitObject& object, int kindProperty, const PropertyValue& value)
{
    auto& unit = static_cast<PageControlUnit&>(object);
    int property = kindProperty + kFirstKindProperty;
    if (!PageControlWriteAccepted(unit.settings(), property, value.integer))
        return false;
    if (std::optional<PageColorElement> e = PageControlColorElement(property)) {
        (unit.settings().*(e->triple))[std::size_t(e->index)] = std::uint32_t(value.integer);
        return unit.apply(PageControlData::Effect::Repaint);
    }
    return SetKindProperty<PageControlUnit>(object, kindProperty, value);
}

constexpr KindRoutines kPageControlRoutines = [] {
    KindRoutines r = DescribedKindRoutines<PageControlUnit>(createPageControl, true);
    r.getProperty = &getProperty;
    r.setProperty = &setProperty;
    r.visitTexts = nullptr; // the kind has no entry 9
    return r;
}();
const std::vector<PropertyDescriptor> kPageControlProperties = PropertyTypeTable(PageControlDescription());

// State bits the framework reads: a paged container that raises events;
// the others it carries.
constexpr std::uint32_t kCarriedStateBits = 0x80010080;

} // namespace

const UnitKindDescriptor kPageControlKind{
    .chineseName = "高级选择夹",
    .englishName = "PageControl",
    .stateFlags = kCarriedStateBits | kKindPagedContainer | kKindMayRaiseEvents,
    .propertyCount = std::int32_t(kPageControlProperties.size()),
    .properties = kPageControlProperties.data(),
    .kindEntry = KindEntryFor<kPageControlRoutines>,
};

} // namespace ui
