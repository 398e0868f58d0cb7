#include "platform/qt/list_view_notify.h"

#include "platform/qt/control_support.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

namespace platform::qt {

ListNotifyResult notifyListParent(const QWidget* control, std::uint32_t code, NotifyHeader& header)
{
    Hwnd hwnd = Registry::windowOf(control);
    if (!IsWindow(hwnd))
        return {};
    header.code = code;
    LResult answer = notifyParent(hwnd, header);
    return {.answer = answer, .alive = IsWindow(hwnd)};
}

NmListView rowNotice(int item, int subItem, Point at)
{
    return NmListView{.hdr = {}, .item = item, .subItem = subItem, .ptAction = at};
}

} // namespace platform::qt
