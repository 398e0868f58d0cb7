// The content window and the content commands of the list's pop-up menus:
// the commands set what the window is opened for and open it; the window
// adds an entry to the current category (page 0) or shows one and changes
// it (page 1).  Deleting an entry needs no window.

#include "app/app_state.h"
#include "app/catalogue/catalogue_database.h"
#include "app/handlers.h"
#include "app/handlers/catalogue_views.h"
#include "app/units.h"

namespace app::handlers {
namespace {

using runtime::HandlerResult;
using Args = std::span<const runtime::TypedValue>;

const Window kContent{ids::kContentWindow};
const PageControl kContentPages{ids::kContentWindow, ids::kContentPages};

enum ContentPage : int { kAddPage = 0, kViewPage = 1 };

// What the content window is opened for.
constexpr const char* kAddingEntry = "添加外链";
constexpr const char* kViewingEntry = "修改外链";

// The three boxes of one page: title, description, details.
struct EntryBoxes {
    EditBox code;
    EditBox description;
    EditBox details;

    catalogue::EntryText read() const
    {
        return {.code = code.text(), .description = description.text(), .details = details.text()};
    }
    void write(const catalogue::EntryText& entry) const
    {
        code.setText(entry.code);
        description.setText(entry.description);
        details.setText(entry.details);
    }
};
const EntryBoxes kAddBoxes{.code = {ids::kContentWindow, ids::kAddCodeEdit},
                           .description = {ids::kContentWindow, ids::kAddDescriptionEdit},
                           .details = {ids::kContentWindow, ids::kAddDetailsEdit}};
const EntryBoxes kViewBoxes{.code = {ids::kContentWindow, ids::kEditCodeEdit},
                            .description = {ids::kContentWindow, ids::kEditDescriptionEdit},
                            .details = {ids::kContentWindow, ids::kEditDetailsEdit}};

HandlerResult openContentWindow(const char* mode)
{
    State().windowMode.set(mode);
    kContent.load(false);
    return HandlerResult::none();
}

void prepareAddPage()
{
    kContentPages.showPage(kAddPage);
    std::string category = CurrentCategoryName();
    if (!category.empty())
        kContent.setCaption("当前所属分类：" + category);
    State().entryShown.set("");
}

// Shows the entry of the list's current row and keeps its key: the list
// may show other rows, or another category, by the time it is saved.
void prepareViewPage()
{
    kContentPages.showPage(kViewPage);
    int row = kEntryList.currentRow();
    kContent.setCaption("当前选择：" + kEntryList.cellText(row, kTitleColumn));
    std::string key = kEntryList.cellText(row, kKeyColumn);
    State().entryShown.set(key);
    kViewBoxes.write(catalogue::ReadEntry(key));
}

void warn(const char* message, const char* caption)
{
    InfoBox(message, kWarning, caption);
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

// Asks first, Yes going on; the title in the question is the row's.
HandlerResult DeleteContentChosen(Args)
{
    int row = kEntryList.currentRow();
    std::string question = " 确认删除：  " + kEntryList.cellText(row, kTitleColumn) + "   此操作不可恢复";
    if (InfoBox(question, kYesNo, "删除确认") != kAnswerYes)
        return HandlerResult::none();
    bool done = catalogue::DeleteEntry(kEntryList.cellText(row, kKeyColumn));
    RefreshEntries();
    if (done)
        InfoBox("删除成功", kInformation, "删除成功");
    else
        InfoBox("删除失败", kInformation, "失败");
    return HandlerResult::none();
}

HandlerResult ContentWindowLoaded(Args)
{
    std::string_view mode = State().windowMode.get();
    if (mode == kAddingEntry)
        prepareAddPage();
    else if (mode == kViewingEntry)
        prepareViewPage();
    return HandlerResult::none();
}

// Files the entry under the current category.  Whatever stops it (an
// empty title or description, no category, a failed insert) leaves the
// window open with what was typed.
HandlerResult AddContentClicked(Args)
{
    catalogue::EntryText entry = kAddBoxes.read();
    if (entry.code.empty()) {
        warn("内容不能为空？", "添加内容");
        return HandlerResult::none();
    }
    if (entry.description.empty()) {
        warn("没内容！", "添加内容");
        return HandlerResult::none();
    }
    // Filed under no category, nothing would ever list it again.
    if (kCategoryTree.currentItem() == -1) {
        warn("请先选定一个分类！", "添加内容");
        return HandlerResult::none();
    }
    if (!catalogue::AddEntry(CurrentCategoryName(), entry)) {
        InfoBox("添加失败！", kInformation, "失败");
        return HandlerResult::none();
    }
    RefreshEntries();
    kAddBoxes.write({});
    InfoBox("添加成功！", kInformation, "添加成功");
    kContent.destroy();
    return HandlerResult::none();
}

// Writes the texts over the entry the window was prepared with; a failed
// change leaves the window open for another try.
HandlerResult SaveContentClicked(Args)
{
    catalogue::EntryText entry = kViewBoxes.read();
    if (entry.code.empty()) {
        warn("字符不能为空", "不能为空");
        return HandlerResult::none();
    }
    if (entry.description.empty()) {
        warn("不能为空老铁!", "不能为空");
        return HandlerResult::none();
    }
    if (!catalogue::ChangeEntry(entry, State().entryShown.get()))
        return HandlerResult::none();
    RefreshEntries();
    kContent.destroy();
    return HandlerResult::none();
}

} // namespace app::handlers
