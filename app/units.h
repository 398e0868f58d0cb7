// The handlers' view of the program's units: small typed references that
// read and write properties by number and call commands, and never touch
// the windows themselves.
#pragma once

#include "app/ids.h"
#include "runtime/typed_value.h"

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
    constexpr explicit Window(ids::WindowIds ids) : Unit(ids.window, ids.ownUnit, 0x00010001) {}
    // Opens the window (modal: returns once it has closed); true when loaded.
    bool load(bool modal = false) const;
    // Destroys the window once the running handler has returned.
    void destroy() const;
    std::string caption() const { return readText(8); }
    void setCaption(const std::string& caption) const { writeText(8, caption); }
};

class MenuItem : public Unit {
public:
    constexpr MenuItem(ids::WindowIds window, std::uint32_t itemId) : Unit(window.window, itemId, 0x00010003) {}
};

// An external database unit: a connection, the result sets of its queries
// (32-bit handles, 0 for none) and the statements it runs.
class Database : public Unit {
public:
    constexpr Database(ids::WindowIds window, std::uint32_t unitId) : Unit(window.window, unitId, 0x0001002E) {}
    // Opens an Access database file read-write; true when connected.
    bool openAccess(const std::string& path) const;
    std::int32_t openTable(const std::string& sql) const;
    void closeTable(std::int32_t set) const;
    bool isEof(std::int32_t set) const;
    void moveFirst(std::int32_t set) const;
    void moveNext(std::int32_t set) const;
    bool execute(const std::string& sql) const;
    // The named column of the current row, as the unit gives it (the empty
    // text when there is none); the caller owns what it points to.
    runtime::TypedValue readColumn(std::int32_t set, const std::string& column) const;
};

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
