// The catalogue as a user drives it: the main window opened over a
// catalogue written for the test, the pop-up menus chosen, text typed,
// pictures picked and buttons pressed through the platform's input path,
// every message box recorded and answered — and the file read back with
// SQLite itself.
#pragma once

#include "app/catalogue_file.h"
#include "app/catalogue_support.h"
#include "app/ids.h"
#include "platform/testing/ui_driver.h"
#include "platform/types.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace cataloguetest {

namespace pt = platform::testing;

class CatalogueUser : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void open(const std::vector<NodeRow>& nodes, const std::vector<EntryRow>& entries);

    // The main window's tree: items by pre-order index.
    int itemCount() const;
    std::string itemText(int index) const;
    int parentOf(int index) const;
    bool expanded(int index) const;
    int imageOf(int index) const;
    int currentItem() const;
    void selectItem(int index);

    // The main window's list: rows in display order, cells by column.
    std::vector<std::string> listed(int column = 1) const;
    int currentRow() const;
    void selectRow(int row);
    void doubleClickRow(int row);

    // A right press on the tree or the list, choosing `item` from the menu
    // that pops up.
    void chooseFromTreeMenu(const std::string& item);
    void chooseFromListMenu(const std::string& item);

    // The node and content windows and their units.
    bool isOpen(app::ids::WindowIds window) const;
    platform::Hwnd unit(app::ids::WindowIds window, std::uint32_t unitId) const;
    std::string caption(app::ids::WindowIds window) const;
    int pageShown(app::ids::WindowIds window, std::uint32_t pages) const;
    void clickPageHeader(app::ids::WindowIds window, std::uint32_t pages, int page);

    // Replaces an edit box's text by typing: focus, select all, type.
    void typeInto(platform::Hwnd edit, std::string_view gbk);
    std::string textOf(platform::Hwnd edit) const;
    // Picks an item of a drop-down with the keyboard, as a user would.
    void pick(platform::Hwnd combo, int item);
    int picked(platform::Hwnd combo) const;
    // The picture in the first row of a preview list (-1: none).
    int previewImage(platform::Hwnd list) const;
    void press(platform::Hwnd button);

    // Message boxes shown so far; each takes the front answer queued, OK
    // when none is.
    const pt::MessageBoxInfo& lastBox() const { return boxes.back(); }
    // Waits for the next box (a locked file may keep the program busy).
    bool waitForBoxes(std::size_t count, int timeoutMs = 3000);

    std::vector<pt::MessageBoxInfo> boxes;
    std::deque<int> answers;

private:
    platform::Hwnd m_tree = platform::Hwnd::Null;
    platform::Hwnd m_list = platform::Hwnd::Null;
    std::string m_menuChoice;
};

} // namespace cataloguetest
