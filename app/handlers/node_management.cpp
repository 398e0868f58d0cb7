// The node window and the node commands of the tree's pop-up menu: each
// command sets what the window is opened for and opens it, or says why it
// cannot.  What the window does once open arrives with its units.

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/handlers/catalogue_views.h"
#include "app/units.h"

#include <string>

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kNode{ids::kNodeWindow};

// What the node window is opened for.
constexpr const char* kAddingNode = "添加菜单";
constexpr const char* kRenamingNode = "修改菜单";

void openNodeWindow(const char* mode)
{
    State().windowMode.set(mode);
    kNode.load(false);
}

} // namespace

HandlerResult AddTopLevelNodeChosen(Args)
{
    State().nodeAddTarget.set("-1");
    openNodeWindow(kAddingNode);
    return HandlerResult::none();
}

HandlerResult AddChildNodeChosen(Args)
{
    State().nodeAddTarget.set("");
    if (kCategoryTree.currentItem() == -1) {
        InfoBox("当前未选中上级菜单", kInformation, "添加提示");
        return HandlerResult::none();
    }
    openNodeWindow(kAddingNode);
    return HandlerResult::none();
}

HandlerResult RenameNodeChosen(Args)
{
    State().nodeAddTarget.set(std::to_string(kCategoryTree.currentItem()));
    if (State().nodeAddTarget.get() == "-1") {
        InfoBox("请选定菜单后再进行修改！", kInformation, "修改提示");
        return HandlerResult::none();
    }
    openNodeWindow(kRenamingNode);
    return HandlerResult::none();
}

HandlerResult DeleteNodeChosen(Args) { return HandlerResult::none(); }
HandlerResult NodeWindowLoaded(Args) { return HandlerResult::none(); }
HandlerResult AddPagePictureChosen(Args) { return HandlerResult::none(); }
HandlerResult RenamePagePictureChosen(Args) { return HandlerResult::none(); }
HandlerResult AddNodeClicked(Args) { return HandlerResult::none(); }
HandlerResult RenameNodeClicked(Args) { return HandlerResult::none(); }

// The window is going already; destroying it once more changes nothing.
HandlerResult NodeWindowDestroying(Args)
{
    kNode.destroy();
    return HandlerResult::none();
}

} // namespace app::handlers
