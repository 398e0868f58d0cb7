// The main window's handlers: start-up, the tree's and the list's pop-up
// menus, showing a category's entries, the about window, and closing.

#include "app/catalogue/catalogue_database.h"
#include "app/handlers.h"
#include "app/units.h"

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kMain{ids::kMainWindow};
const Window kAbout{ids::kAboutWindow};

} // namespace

// Opens the catalogue database and loads the nodes, which report a
// database that cannot be read.  Showing them waits for the tree box.
HandlerResult MainWindowLoaded(Args)
{
    catalogue::OpenCatalogue();
    catalogue::LoadNodes();
    return HandlerResult::none();
}

// The two auxiliary data files are closed by name (nothing opens them, so
// nothing happens), then the window goes.
HandlerResult MainWindowDestroying(Args)
{
    CloseDatabaseFile(ProgramDirectory() + "/data/Menu.edb");
    CloseDatabaseFile(ProgramDirectory() + "/data/chain.edb");
    kMain.destroy();
    return HandlerResult::none();
}

// Shows the entries of the current category; arrives with the list view.
HandlerResult TreeSelectionChanged(Args)
{
    return HandlerResult::none();
}

// Asks for the pop-up of 修改菜单, which owns no items: nothing shows.
HandlerResult TreeItemRightClicked(Args)
{
    return HandlerResult::none();
}

// The node pop-up menu; arrives with the tree box.
HandlerResult TreeRightButtonDown(Args)
{
    return HandlerResult::none();
}

// The content pop-up menus; arrive with the list view.
HandlerResult ContentListRightButtonDown(Args)
{
    return HandlerResult::none();
}

HandlerResult ContentListDoubleClicked(Args)
{
    return HandlerResult::none();
}

HandlerResult AuthorChosen(Args)
{
    kAbout.load(true);
    return HandlerResult::none();
}

} // namespace app::handlers
