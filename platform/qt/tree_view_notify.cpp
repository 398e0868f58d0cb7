#include "platform/qt/tree_view_notify.h"

#include "platform/qt/control_support.h"
#include "platform/window.h"

namespace platform::qt {
namespace {

std::optional<LResult> send(Hwnd tree, NotifyHeader& header)
{
    LResult answer = notifyParent(tree, header);
    if (!IsWindow(tree))
        return std::nullopt;
    return answer;
}

} // namespace

std::optional<LResult> notifySelectionChanged(Hwnd tree, std::uint32_t cause, TreeItem before, TreeItem after)
{
    NmTreeView nm{.hdr = {.code = TVN_SELCHANGED}, .action = cause, .itemOld = before, .itemNew = after};
    return send(tree, nm.hdr);
}

std::optional<LResult> notifyItemExpanding(Hwnd tree, TreeItem item, std::uint32_t action)
{
    NmTreeView nm{.hdr = {.code = TVN_ITEMEXPANDING}, .action = action, .itemNew = item};
    return send(tree, nm.hdr);
}

std::optional<LResult> notifyLabelEdit(Hwnd tree, std::uint32_t code, TreeItem item, const char* text)
{
    NmTvDispInfo info{.hdr = {.code = code}, .item = item, .text = text};
    return send(tree, info.hdr);
}

std::optional<LResult> notifyDoubleClick(Hwnd tree)
{
    NotifyHeader header{.code = NM_DBLCLK};
    return send(tree, header);
}

} // namespace platform::qt
