// The handlers' view of the program's units: small typed references that
// read and write properties by number and call commands, and never touch
// the windows themselves.
#pragma once

#include "app/ids.h"
#include "runtime/typed_value.h"
#include "ui/framework/identifiers.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

// A text argument for a command: never null, the empty text included.
runtime::TypedValue TextArgument(const std::string& text);
// Takes the text a command gave back (and frees it).
std::string TakeText(const runtime::TypedValue& value);

class Unit {
public:
    constexpr Unit(std::uint32_t windowId, std::uint32_t unitId, std::uint32_t kindId)
        : m_window(windowId), m_unit(unitId), m_kind(kindId)
    {
    }
    runtime::TypedValue ref() const;
    std::uint32_t windowId() const { return m_window; }
    std::uint32_t unitId() const { return m_unit; }

protected:
    std::int32_t readInteger(int property) const;
    void writeInteger(int property, std::int32_t value) const;
    std::string readText(int property) const;
    void writeText(int property, const std::string& value) const;

private:
    std::uint32_t m_window;
    std::uint32_t m_unit;
    std::uint32_t m_kind;
};

class Window : public Unit {
public:
    constexpr explicit Window(ids::WindowIds ids) : Unit(ids.window, ids.ownUnit, ui::kinds::Window.value) {}
    // Opens the window (modal: returns once it has closed); true when loaded.
    bool load(bool modal = false) const;
    // Destroys the window once the running handler has returned.
    void destroy() const;
    std::string caption() const { return readText(8); }
    void setCaption(const std::string& caption) const { writeText(8, caption); }
};

class MenuItem : public Unit {
public:
    constexpr MenuItem(ids::WindowIds window, std::uint32_t itemId) : Unit(window.window, itemId, ui::kinds::Menu.value)
    {
    }
};

// An external database unit: a connection, the result sets of its queries
// (32-bit handles, 0 for none) and the statements it runs.
class Database : public Unit {
public:
    constexpr Database(ids::WindowIds window, std::uint32_t unitId) : Unit(window.window, unitId, ui::kinds::OdbcDb.value)
    {
    }
    // Opens an Access database file read-write; true when connected.
    bool openAccess(const std::string& path) const;
    std::int32_t openTable(const std::string& sql) const;
    void closeTable(std::int32_t set) const;
    bool isEof(std::int32_t set) const;
    void moveFirst(std::int32_t set) const;
    void moveNext(std::int32_t set) const;
    bool execute(const std::string& sql) const;
    // The named column of the current row, as the unit gives it (the empty
    // text when there is none); the caller owns what it points to.  The
    // name is read once a cell, so it is passed as the NUL-terminated text
    // the unit takes, without a copy.
    runtime::TypedValue readColumn(std::int32_t set, const char* column) const;
};

// A tree box: items by index, their pre-order position over the whole tree
// (-1: none); property 16 is the current item.
class TreeBox : public Unit {
public:
    constexpr TreeBox(ids::WindowIds window, std::uint32_t unitId) : Unit(window.window, unitId, ui::kinds::TreeBox.value)
    {
    }
    int itemCount() const;
    std::string itemText(int index) const;
    std::int32_t itemData(int index) const;
    int parentOf(int index) const;
    bool hasChildren(int index) const;
    void expand(int index) const;
    // The new item's index; a parent of -1 adds at the top level.
    int addItem(int parent, const std::string& text, std::int32_t image, std::int32_t selectedImage,
                std::int32_t data) const;
    void clear() const;
    int currentItem() const { return readInteger(16); }
    void setCurrentItem(int index) const { writeInteger(16, index); }
};

// A list view: rows and columns by position; property 35 is the current
// row (-1: none).
class ListView : public Unit {
public:
    constexpr ListView(ids::WindowIds window, std::uint32_t unitId)
        : Unit(window.window, unitId, ui::kinds::ListView.value)
    {
    }
    std::string cellText(int row, int column) const;
    void setCellText(int row, int column, const std::string& text) const;
    void setCellImage(int row, int column, int image) const;
    // A row at the end; its index.
    int appendRow() const;
    void deleteAllRows() const;
    int columnCount() const;
    void deleteColumn(int column) const;
    // A column at the end with a caption and a width; its index.
    int appendColumn(const std::string& caption, int width) const;
    int currentRow() const { return readInteger(35); }
    void setCurrentRow(int row) const { writeInteger(35, row); }
};

// An edit box: property 8 is its text.
class EditBox : public Unit {
public:
    constexpr EditBox(ids::WindowIds window, std::uint32_t unitId)
        : Unit(window.window, unitId, ui::kinds::EditBox.value)
    {
    }
    std::string text() const { return readText(8); }
    void setText(const std::string& text) const { writeText(8, text); }
};

// A combo box: property 19 is the selected item's position (-1: none).
class ComboBox : public Unit {
public:
    constexpr ComboBox(ids::WindowIds window, std::uint32_t unitId)
        : Unit(window.window, unitId, ui::kinds::ComboBox.value)
    {
    }
    int selection() const { return readInteger(19); }
    void select(int position) const { writeInteger(19, position); }
};

// An advanced tab: property 12 is the page shown.
class PageControl : public Unit {
public:
    constexpr PageControl(ids::WindowIds window, std::uint32_t unitId)
        : Unit(window.window, unitId, ui::kinds::PageControl.value)
    {
    }
    void showPage(int page) const { writeInteger(12, page); }
};

// Paints a unit's window at once, not when the loop is next idle.
void RefreshDisplay(const Unit& unit);

// Pops up the menu that opens from `item` at the mouse position.
void PopupMenu(const Window& window, const MenuItem& item);

// InfoBox flags.
enum : std::int32_t {
    kInformation = 0x40,
    kWarning = 0x30,
    kQuestionOkCancel = 0x21,
    kYesNo = 4,
};
// Answers of InfoBox.
enum : std::int32_t { kAnswerOk = 0, kAnswerCancel = 1, kAnswerYes = 5, kAnswerNo = 6 };
std::int32_t InfoBox(const std::string& message, std::int32_t flags, const std::string& caption);

std::string ProgramDirectory();
void CloseDatabaseFile(const std::string& name);

} // namespace app
