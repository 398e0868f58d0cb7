// The content window and the content commands of the list's pop-up menus:
// the commands set what the window is opened for and open it.  What the
// window does once open, and deleting an entry, arrive with its units.

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/units.h"

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kContent{ids::kContentWindow};

// What the content window is opened for.
constexpr const char* kAddingEntry = "添加外链";
constexpr const char* kViewingEntry = "修改外链";

HandlerResult openContentWindow(const char* mode)
{
    State().windowMode.set(mode);
    kContent.load(false);
    return HandlerResult::none();
}

} // namespace

HandlerResult ViewContentChosen(Args)
{
    return openContentWindow(kViewingEntry);
}

HandlerResult AddContentChosen(Args)
{
    return openContentWindow(kAddingEntry);
}

// 所有内容 does nothing.
HandlerResult AllContentsChosen(Args)
{
    return HandlerResult::none();
}

HandlerResult DeleteContentChosen(Args) { return HandlerResult::none(); }
HandlerResult ContentWindowLoaded(Args) { return HandlerResult::none(); }
HandlerResult AddContentClicked(Args) { return HandlerResult::none(); }
HandlerResult SaveContentClicked(Args) { return HandlerResult::none(); }

} // namespace app::handlers
