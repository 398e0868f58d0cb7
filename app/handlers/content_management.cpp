// The content window and the content commands of the list's pop-up menus.
// Adding, viewing, changing and deleting entries arrive with the list view,
// the database unit and the content window's units.

#include "app/handlers.h"
#include "app/units.h"

namespace app::handlers {
namespace {
using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;
} // namespace

HandlerResult DeleteContentChosen(Args) { return HandlerResult::none(); }
HandlerResult ViewContentChosen(Args) { return HandlerResult::none(); }
HandlerResult AddContentChosen(Args) { return HandlerResult::none(); }

// 所有内容 does nothing.
HandlerResult AllContentsChosen(Args) { return HandlerResult::none(); }

HandlerResult ContentWindowLoaded(Args) { return HandlerResult::none(); }
HandlerResult AddContentClicked(Args) { return HandlerResult::none(); }
HandlerResult SaveContentClicked(Args) { return HandlerResult::none(); }

} // namespace app::handlers
