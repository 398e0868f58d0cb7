#include "app/catalogue_user.h"

#include "app/app_state.h"
#include "platform/combo_box.h"
#include "platform/edit.h"
#include "platform/list_view.h"
#include "platform/messages.h"
#include "platform/text_codec.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "support/test_kinds.h"
#include "ui/ext/page_control_unit.h"
#include "ui/framework/framework.h"

#include <cstdio>

namespace cataloguetest {

using app::ids::WindowIds;
using platform::Hwnd;
using testsupport::PumpUntil;

namespace {

Hwnd liveHandle(std::uint32_t windowId)
{
    auto* w = ui::TheFramework().window(windowId);
    return w ? w->liveHandle() : Hwnd::Null;
}

platform::Point centreOf(Hwnd hwnd)
{
    platform::Rect r = platform::GetClientRect(hwnd);
    return {r.width() / 2, r.height() / 2};
}

} // namespace

void CatalogueUser::SetUp()
{
    pt::AnswerMessageBoxes([this](const pt::MessageBoxInfo& box) {
        boxes.push_back(box);
        if (answers.empty())
            return int(platform::IDOK);
        int answer = answers.front();
        answers.pop_front();
        return answer;
    });
    pt::AnswerPopupMenus([this](const pt::PopupMenuInfo&) { return std::exchange(m_menuChoice, {}); });
}

void CatalogueUser::TearDown()
{
    pt::StopAnsweringPopupMenus();
    for (std::uint32_t id : {app::ids::kNodeWindow.window, app::ids::kContentWindow.window,
                             app::ids::kMainWindow.window})
        if (auto* w = ui::TheFramework().window(id))
            w->destroyLive();
    testsupport::Pump(20);
    pt::StopAnsweringMessageBoxes();
    for (const char* suffix : {"", "-wal", "-shm"})
        std::remove((CatalogueFile() + suffix).c_str());
}

void CatalogueUser::open(const std::vector<NodeRow>& nodes, const std::vector<EntryRow>& entries)
{
    ASSERT_TRUE(WriteCatalogue(nodes, entries));
    StartCatalogueInProcess();
    app::State().listMode.set("");
    ASSERT_TRUE(ui::TheFramework().openWindow(app::ids::kMainWindow.window, nullptr, false));
    m_tree = testsupport::HandleOf(app::ids::kMainWindow.window, app::ids::kTree);
    m_list = testsupport::HandleOf(app::ids::kMainWindow.window, app::ids::kContentList);
    testsupport::Pump(30);
}

int CatalogueUser::itemCount() const
{
    return platform::TreeView_GetCount(m_tree);
}

std::string CatalogueUser::itemText(int index) const
{
    return platform::TreeView_GetItemText(m_tree, platform::TreeView_GetItemAtPreorderIndex(m_tree, index));
}

int CatalogueUser::parentOf(int index) const
{
    platform::TreeItem parent =
        platform::TreeView_GetParent(m_tree, platform::TreeView_GetItemAtPreorderIndex(m_tree, index));
    return parent == platform::TreeItem::Null ? -1 : platform::TreeView_GetPreorderIndex(m_tree, parent);
}

bool CatalogueUser::expanded(int index) const
{
    platform::TreeViewItem item{.mask = platform::TVIF_STATE,
                                .item = platform::TreeView_GetItemAtPreorderIndex(m_tree, index),
                                .stateMask = platform::TVIS_EXPANDED};
    platform::TreeView_GetItem(m_tree, item);
    return item.state & platform::TVIS_EXPANDED;
}

int CatalogueUser::imageOf(int index) const
{
    platform::TreeViewItem item{.mask = platform::TVIF_IMAGE,
                                .item = platform::TreeView_GetItemAtPreorderIndex(m_tree, index)};
    platform::TreeView_GetItem(m_tree, item);
    return item.image;
}

int CatalogueUser::currentItem() const
{
    platform::TreeItem selected = platform::TreeView_GetSelection(m_tree);
    return selected == platform::TreeItem::Null ? -1 : platform::TreeView_GetPreorderIndex(m_tree, selected);
}

void CatalogueUser::selectItem(int index)
{
    platform::Rect r = platform::TreeView_GetItemRect(m_tree, platform::TreeView_GetItemAtPreorderIndex(m_tree, index),
                                                      true);
    pt::Click(m_tree, {r.left + 3, (r.top + r.bottom) / 2});
    ASSERT_TRUE(PumpUntil([&] { return currentItem() == index; })) << "item " << index;
    testsupport::Pump(20);
}

std::vector<std::string> CatalogueUser::listed(int column) const
{
    std::vector<std::string> cells;
    for (int i = 0; i < platform::ListView_GetItemCount(m_list); ++i)
        cells.push_back(platform::ListView_GetItemText(m_list, i, column));
    return cells;
}

int CatalogueUser::currentRow() const
{
    return platform::ListView_GetNextItem(m_list, -1, platform::LVNI_SELECTED);
}

void CatalogueUser::selectRow(int row)
{
    platform::Rect r = platform::ListView_GetSubItemRect(m_list, row, 1);
    pt::Click(m_list, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    ASSERT_TRUE(PumpUntil([&] { return currentRow() == row; })) << "row " << row;
}

void CatalogueUser::doubleClickRow(int row)
{
    platform::Rect r = platform::ListView_GetSubItemRect(m_list, row, 1);
    pt::DoubleClick(m_list, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void CatalogueUser::chooseFromTreeMenu(const std::string& item)
{
    m_menuChoice = item;
    pt::Click(m_tree, {20, platform::GetClientRect(m_tree).height() - 10}, pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return m_menuChoice.empty(); })) << "no menu for " << item;
    testsupport::Pump(20);
}

void CatalogueUser::chooseFromListMenu(const std::string& item)
{
    m_menuChoice = item;
    pt::Click(m_list, {60, platform::GetClientRect(m_list).height() - 10}, pt::MouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return m_menuChoice.empty(); })) << "no menu for " << item;
    testsupport::Pump(20);
}

bool CatalogueUser::isOpen(WindowIds window) const
{
    return platform::IsWindow(liveHandle(window.window));
}

Hwnd CatalogueUser::unit(WindowIds window, std::uint32_t unitId) const
{
    return testsupport::HandleOf(window.window, unitId);
}

std::string CatalogueUser::caption(WindowIds window) const
{
    return platform::GetWindowText(liveHandle(window.window));
}

int CatalogueUser::pageShown(WindowIds window, std::uint32_t pages) const
{
    ui::UnitRecord* record = ui::TheFramework().unitRecord(window.window, pages);
    auto* control = record ? dynamic_cast<ui::PageControlUnit*>(record->object) : nullptr;
    return control ? control->currentPage() : -1;
}

void CatalogueUser::clickPageHeader(WindowIds window, std::uint32_t pages, int page)
{
    ui::UnitRecord* record = ui::TheFramework().unitRecord(window.window, pages);
    auto* control = record ? dynamic_cast<ui::PageControlUnit*>(record->object) : nullptr;
    ASSERT_NE(control, nullptr);
    platform::Rect header = control->layout().headers.at(std::size_t(page));
    pt::Click(control->handle(), {(header.left + header.right) / 2, (header.top + header.bottom) / 2});
    ASSERT_TRUE(PumpUntil([&] { return control->currentPage() == page; }));
}

void CatalogueUser::typeInto(Hwnd edit, std::string_view gbk)
{
    pt::Click(edit, {4, 4});
    ASSERT_TRUE(PumpUntil([&] { return platform::GetFocus() == edit; }));
    // To the end, then selected back to the start: of the line, or with
    // Ctrl of the whole text in a box of many lines.
    unsigned wholeText = platform::GetWindowStyle(edit) & platform::ES_MULTILINE ? pt::kControl : pt::kNoModifier;
    pt::Key(edit, platform::VK_END, wholeText);
    pt::Key(edit, platform::VK_HOME, wholeText | pt::kShift);
    pt::Key(edit, platform::VK_DELETE);
    pt::TypeText(edit, gbk);
    ASSERT_TRUE(PumpUntil([&] { return textOf(edit) == gbk; }))
        << "typed " << platform::GbkToUtf8(std::string(gbk)) << ", shows " << platform::GbkToUtf8(textOf(edit));
}

std::string CatalogueUser::textOf(Hwnd edit) const
{
    return platform::GetWindowText(edit);
}

void CatalogueUser::pick(Hwnd combo, int item)
{
    // The arrow drops the list and leaves the focus in the box; the keys
    // then walk to the item and take it.
    platform::Rect field = platform::GetClientRect(combo);
    pt::Click(combo, {field.width() - 6, field.height() / 2});
    ASSERT_TRUE(PumpUntil([&] { return platform::ComboBox_GetDroppedState(combo); }));
    int from = platform::ComboBox_GetCurSel(combo);
    for (int i = from; i < item; ++i)
        pt::Key(combo, platform::VK_DOWN);
    for (int i = from; i > item; --i)
        pt::Key(combo, platform::VK_UP);
    pt::Key(combo, platform::VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !platform::ComboBox_GetDroppedState(combo) && picked(combo) == item; }));
    testsupport::Pump(30); // the choice is told once the list has closed
}

int CatalogueUser::picked(Hwnd combo) const
{
    return platform::ComboBox_GetCurSel(combo);
}

int CatalogueUser::previewImage(Hwnd list) const
{
    platform::ListViewItem item{.mask = platform::LVIF_IMAGE, .item = 0};
    platform::ListView_GetItem(list, item);
    return item.image;
}

void CatalogueUser::press(Hwnd button)
{
    pt::Click(button, centreOf(button));
}

bool CatalogueUser::waitForBoxes(std::size_t count, int timeoutMs)
{
    return PumpUntil([&] { return boxes.size() >= count; }, timeoutMs);
}

} // namespace cataloguetest
