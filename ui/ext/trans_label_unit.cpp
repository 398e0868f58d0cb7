#include "ui/ext/trans_label_unit.h"

#include "platform/gdi.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/kind_properties.h"
#include "ui/framework/unit_window.h"

#include <algorithm>

namespace ui {
namespace {

using namespace platform;

// By the stored alignments 0-2.
constexpr std::uint32_t kHorizontal[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
constexpr std::uint32_t kVertical[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};

// A relief is the text drawn once more beneath the text proper: its colour
// and where each of the two goes.
struct Relief {
    ColorRef colour;
    Point under;  // the relief's offset
    Point proper; // the text proper's offset
};
constexpr Relief kReliefs[] = {
    {},                                // none
    {Rgb(255, 255, 255), {1, 1}, {0, 0}}, // engraved
    {Rgb(255, 255, 255), {0, 0}, {1, 1}}, // embossed
    {Rgb(0, 0, 0), {2, 2}, {0, 0}},       // shadow
};

Rect moved(Rect r, Point by)
{
    return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

} // namespace

TransLabelUnit::~TransLabelUnit() = default;

bool TransLabelUnit::createControl(const UnitCreateParams& p)
{
    RegisterUnitWindowClass(kTransLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    if (!CreateUnitWindow(this, p, kTransLabelClass, p.style, WS_EX_TRANSPARENT, m_settings.caption))
        return false;
    ApplyFontBlock(handle(), m_settings.font, m_font);
    return true;
}

// The window erases nothing; the text and its relief are all it draws.
void TransLabelUnit::paint()
{
    PaintStruct ps;
    Hdc dc = BeginPaint(handle(), ps);
    std::string text = GetWindowText(handle());
    if (!text.empty()) {
        Font previous = SelectFont(dc, GetWindowFont(handle()));
        std::uint32_t format = kHorizontal[std::clamp(m_settings.horizontalAlignment, 0, 2)] | DT_NOCLIP;
        format |= m_settings.wordWrap ? DT_WORDBREAK
                                      : DT_SINGLELINE | kVertical[std::clamp(m_settings.verticalAlignment, 0, 2)];
        SetBkMode(dc, TRANSPARENT);
        Rect client = GetClientRect(handle());
        const Relief& relief = kReliefs[std::clamp(m_settings.relief, 0, 3)];
        if (m_settings.relief != 0) {
            SetTextColor(dc, relief.colour);
            Rect at = moved(client, relief.under);
            DrawText(dc, text, at, format);
        }
        SetTextColor(dc, ColorOfSetting(m_settings.textColor));
        Rect at = moved(client, relief.proper);
        DrawText(dc, text, at, format);
        SelectFont(dc, previous);
    }
    EndPaint(handle(), ps);
}

// The label cannot erase its old text itself: what lies beneath is drawn
// again where the label is (and only there), then the label on top.
void TransLabelUnit::repaintBackground()
{
    InvalidateRect(handle(), nullptr, true);
    UpdateWindow(handle());
}

bool TransLabelUnit::apply(TransLabelData::Effect effect)
{
    using E = TransLabelData::Effect;
    if (effect == E::Caption)
        SetWindowText(handle(), m_settings.caption);
    else if (effect == E::Font)
        ApplyFontBlock(handle(), m_settings.font, m_font);
    repaintBackground();
    return false;
}

LResult TransLabelUnit::windowProc(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        repaintBackground();
        break;
    default:
        break;
    }
    return UnitObject::windowProc(message, wParam, lParam);
}

namespace {

UnitObject* createTransLabel(const UnitCreateParams& p)
{
    return MakeDescribedUnit<TransLabelUnit>(p);
}

constexpr KindRoutines kTransLabelRoutines = DescribedKindRoutines<TransLabelUnit>(createTransLabel);
const std::vector<PropertyDescriptor> kTransLabelProperties = PropertyTypeTable(TransLabelDescription());

} // namespace

const UnitKindDescriptor kTransLabelKind{
    .chineseName = "透明标签",
    .englishName = "TransLabel",
    .stateFlags = 0x00012040,
    .propertyCount = std::int32_t(kTransLabelProperties.size()),
    .properties = kTransLabelProperties.data(),
    .kindEntry = KindEntryFor<kTransLabelRoutines>,
};

} // namespace ui
