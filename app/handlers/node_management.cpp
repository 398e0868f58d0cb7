// The node window and the node commands of the tree's pop-up menu: each
// command sets what the window is opened for and opens it, or says why it
// cannot; the window adds a category (page 0) or renames one and changes
// its picture (page 1).  Deleting a category needs no window.

#include "app/app_state.h"
#include "app/catalogue/catalogue_database.h"
#include "app/handlers.h"
#include "app/handlers/catalogue_views.h"
#include "app/units.h"

#include <optional>
#include <string>

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kNode{ids::kNodeWindow};
const PageControl kNodePages{ids::kNodeWindow, ids::kNodePages};
const EditBox kNameEdit{ids::kNodeWindow, ids::kNodeNameEdit};
const EditBox kRenameEdit{ids::kNodeWindow, ids::kRenameNameEdit};

enum NodePage : int { kAddPage = 0, kRenamePage = 1 };

// What the node window is opened for.
constexpr const char* kAddingNode = "添加菜单";
constexpr const char* kRenamingNode = "修改菜单";

// A page's picture chooser and the one-row list beside it that previews
// the choice.
struct PicturePicker {
    ComboBox chooser;
    ListView preview;
};
const PicturePicker kAddPicker{.chooser = {ids::kNodeWindow, ids::kNodePictureCombo},
                               .preview = {ids::kNodeWindow, ids::kNodePreview}};
const PicturePicker kRenamePicker{.chooser = {ids::kNodeWindow, ids::kRenamePictureCombo},
                                  .preview = {ids::kNodeWindow, ids::kRenamePreview}};

// The preview's first row takes the chosen picture; no choice (-1) shows
// none.
void previewChoice(const PicturePicker& picker)
{
    picker.preview.setCellImage(0, 0, picker.chooser.selection());
}

// The row of the chosen position becomes the preview's current row, and
// the row read back gives the picture: a position the list has no row for
// reads back as none.
void previewChosenRow(const PicturePicker& picker)
{
    picker.preview.setCurrentRow(picker.chooser.selection());
    picker.preview.setCellImage(0, 0, picker.preview.currentRow());
}

void openNodeWindow(const char* mode)
{
    State().windowMode.set(mode);
    kNode.load(false);
}

bool addsTopLevelNode()
{
    return State().nodeAddTarget.get() == "-1";
}

void prepareAddPage()
{
    kNodePages.showPage(kAddPage);
    kNode.setCaption(addsTopLevelNode() ? std::string("当前为根节点") : "当前上级节点：" + CurrentCategoryName());
    kAddPicker.chooser.select(0);
    previewChoice(kAddPicker);
}

// The page starts with the node's name and picture.  When the picture
// cannot be looked up (the database busy or gone) nothing is chosen, as
// for a stored index outside the twelve.
void prepareRenamePage()
{
    kNodePages.showPage(kRenamePage);
    std::string name = CurrentCategoryName();
    kRenameEdit.setText(name);
    kRenamePicker.chooser.select(catalogue::FindNodeImage(name).value_or(-1));
    previewChoice(kRenamePicker);
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

// A category with sub-categories goes only when the user confirms; they
// then move up to its parent.  The category's entries stay in the file.
// Afterwards its parent is current (the first item for a top-level one).
HandlerResult DeleteNodeChosen(Args)
{
    int item = kCategoryTree.currentItem();
    if (item == -1)
        return HandlerResult::none();
    bool hasChildren = kCategoryTree.hasChildren(item);
    if (hasChildren && InfoBox("此分类下有子类，删除此项目可能会有问题。\r\n确认删除吗？", kQuestionOkCancel,
                               "真的删除？") != kAnswerOk)
        return HandlerResult::none();
    int parent = kCategoryTree.parentOf(item);
    std::int32_t parentKey = parent == -1 ? 0 : kCategoryTree.itemData(parent);
    catalogue::DeleteNode(kCategoryTree.itemData(item), parentKey, hasChildren);
    LoadCategoryTree();
    kCategoryTree.setCurrentItem(parent == -1 ? 0 : parent);
    return HandlerResult::none();
}

HandlerResult NodeWindowLoaded(Args)
{
    std::string_view mode = State().windowMode.get();
    if (mode == kAddingNode)
        prepareAddPage();
    else if (mode == kRenamingNode)
        prepareRenamePage();
    return HandlerResult::none();
}

HandlerResult AddPagePictureChosen(Args)
{
    previewChosenRow(kAddPicker);
    return HandlerResult::none();
}

HandlerResult RenamePagePictureChosen(Args)
{
    previewChosenRow(kRenamePicker);
    return HandlerResult::none();
}

// Adds at the top level or under the current category, whichever the
// window was last asked for (a window opened for renaming adds a child).
// When the parent cannot be looked up or the insert fails, the window
// stays open with what was typed.
HandlerResult AddNodeClicked(Args)
{
    std::string name = kNameEdit.text();
    if (name.empty()) {
        InfoBox("不能为空！", kInformation, "不能为空");
        return HandlerResult::none();
    }
    int image = kAddPicker.chooser.selection();
    std::optional<std::int32_t> parentKey;
    if (!addsTopLevelNode()) {
        parentKey = catalogue::FindNodeKey(CurrentCategoryName());
        if (!parentKey) {
            InfoBox("添加失败！", kInformation, "失败");
            return HandlerResult::none();
        }
    }
    if (!catalogue::AddNode(name, image, parentKey))
        return HandlerResult::none();
    LoadCategoryTree();
    kNode.destroy();
    return HandlerResult::none();
}

// Renames the current category (an empty name too) and changes its
// picture; the outcome is not reported.
HandlerResult RenameNodeClicked(Args)
{
    int item = kCategoryTree.currentItem();
    if (item != -1)
        catalogue::RenameNode(kCategoryTree.itemText(item), kRenameEdit.text(), kRenamePicker.chooser.selection(),
                              kCategoryTree.itemData(item));
    LoadCategoryTree();
    kNode.destroy();
    return HandlerResult::none();
}

// The window is going already; destroying it once more changes nothing.
HandlerResult NodeWindowDestroying(Args)
{
    kNode.destroy();
    return HandlerResult::none();
}

} // namespace app::handlers
