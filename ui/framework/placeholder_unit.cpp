#include "ui/framework/placeholder_unit.h"

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/unit_window.h"

namespace ui {

PlaceholderUnit* PlaceholderUnit::create(const UnitCreateParams& p)
{
    RegisterUnitWindowClass(kPlaceholderClass, platform::CS_HREDRAW | platform::CS_VREDRAW | platform::CS_DBLCLKS);
    auto* unit = new PlaceholderUnit(p.windowId, p.unitId, p.kindId);
    if (!CreateUnitWindow(unit, p, kPlaceholderClass, p.style & ~platform::WS_VISIBLE, platform::WS_EX_TRANSPARENT))
        return nullptr;
    return unit;
}

platform::LResult PlaceholderUnit::windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam)
{
    if (message != platform::WM_PAINT)
        return UnitObject::windowProc(message, wParam, lParam);
    platform::PaintStruct ps;
    platform::Hdc dc = platform::BeginPaint(handle(), ps);
    platform::Rect r = platform::GetClientRect(handle());
    platform::SetBkMode(dc, platform::TRANSPARENT);
    platform::SetTextColor(dc, platform::Rgb(255, 0, 0));
    platform::SelectFont(dc, platform::GetStockFont(platform::DEFAULT_GUI_FONT));
    platform::DrawText(dc, kPlaceholderText, r, platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    platform::EndPaint(handle(), ps);
    return 0;
}

} // namespace ui
