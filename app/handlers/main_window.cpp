// The main window's handlers: start-up, the tree's and the list's pop-up
// menus, showing a category's entries, the about window, and closing.

#include "app/app_state.h"
#include "app/catalogue/catalogue_database.h"
#include "app/handlers.h"
#include "app/handlers/catalogue_views.h"
#include "app/units.h"

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kMain{ids::kMainWindow};
const Window kAbout{ids::kAboutWindow};
const MenuItem kNodeMenu{ids::kMainWindow, ids::kNodeMenu};
const MenuItem kContentMenu{ids::kMainWindow, ids::kContentMenu};
const MenuItem kContentAddMenu{ids::kMainWindow, ids::kContentAddMenu};

} // namespace

// Opens the catalogue, loads the tree and makes its last item current,
// which lists that category's entries (or none, for an empty tree).
HandlerResult MainWindowLoaded(Args)
{
    catalogue::OpenCatalogue();
    LoadCategoryTree();
    kCategoryTree.setCurrentItem(kCategoryTree.itemCount() - 1);
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

HandlerResult TreeSelectionChanged(Args)
{
    ShowCurrentCategory();
    return HandlerResult::none();
}

// Asks for the pop-up of 修改菜单, which owns no items: nothing shows.
// The right press that would raise it never reaches the tree (below).
HandlerResult TreeItemRightClicked(Args)
{
    if (kCategoryTree.currentItem() != -1)
        PopupMenu(kMain, MenuItem{ids::kMainWindow, ids::kRenameNodeItem});
    return HandlerResult::none();
}

// The node menu, for the current item: the press does not go on to the
// tree, so the current item stays what it was.
HandlerResult TreeRightButtonDown(Args)
{
    State().nodeAddTarget.set("-1");
    PopupMenu(kMain, kNodeMenu);
    return HandlerResult::logical(false);
}

// Once a category is listed: the entry menu when a row is current, the
// add menu otherwise; the press does not go on to the list.  Before that
// the press goes on and no menu shows.
HandlerResult ContentListRightButtonDown(Args)
{
    if (State().listMode.get() != kEntriesListed)
        return HandlerResult::none();
    PopupMenu(kMain, kEntryList.currentRow() != -1 ? kContentMenu : kContentAddMenu);
    return HandlerResult::logical(false);
}

HandlerResult ContentListDoubleClicked(Args args)
{
    return ViewContentChosen(args);
}

HandlerResult AuthorChosen(Args)
{
    kAbout.load(true);
    return HandlerResult::none();
}

} // namespace app::handlers
