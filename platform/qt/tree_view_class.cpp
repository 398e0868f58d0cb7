#include "platform/qt/tree_view_class.h"

#include "platform/common_controls.h"
#include "platform/qt/control_class.h"
#include "platform/qt/device_context.h"
#include "platform/qt/tree_view_widget.h"
#include "platform/tree_view.h"

namespace platform::qt {
namespace {

LResult treeViewProc(Hwnd hwnd, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (TreeViewWidget* tree = treeViewOf(hwnd)) {
        if (message == WM_SETFONT)
            tree->setLabelFont(qfontFor(Font(wParam)));
        else if (message == WM_STYLECHANGED)
            tree->applyStyles(GetWindowStyle(hwnd), GetWindowExStyle(hwnd));
    }
    // DefWindowProc keeps the font for WM_GETFONT and replays the input.
    return DefWindowProc(hwnd, message, wParam, lParam);
}

QWidget* createTreeView(QWidget* parent, const CreateStruct& cs)
{
    auto* tree = new TreeViewWidget(parent);
    tree->applyStyles(cs.style, cs.exStyle);
    return tree;
}

} // namespace

ClassInfo treeViewClassInfo()
{
    return {
        .windowClass = {.name = WC_TREEVIEW, .style = CS_DBLCLKS, .proc = treeViewProc},
        .factory = createTreeView,
    };
}

TreeViewWidget* treeViewOf(Hwnd hwnd)
{
    return ControlOfClass<TreeViewWidget>(hwnd, WC_TREEVIEW);
}

} // namespace platform::qt
