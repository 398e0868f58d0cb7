// The node window and the node commands of the tree's pop-up menu.  Adding,
// renaming and deleting categories arrive with the tree box, the database
// unit and the node window's units.

#include "app/handlers.h"
#include "app/units.h"

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kNode{ids::kNodeWindow};

} // namespace

HandlerResult AddTopLevelNodeChosen(Args) { return HandlerResult::none(); }
HandlerResult AddChildNodeChosen(Args) { return HandlerResult::none(); }
HandlerResult RenameNodeChosen(Args) { return HandlerResult::none(); }
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
