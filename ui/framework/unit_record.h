// One record of a window template: the window's own unit, a unit placed on
// the window, or a menu item, with the slots the running window fills in.
#pragma once

#include "platform/types.h"
#include "runtime/handler.h"
#include "ui/framework/identifiers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

class UnitObject;

// State flag bits of a unit record.
enum : std::uint32_t {
    kUnitVisible = 0x1,
    kUnitDisabled = 0x2,
    kUnitTabStop = 0x4,
};

// Item flag bits of a menu item record.
enum : std::uint32_t {
    kMenuHidden = 0x1,
    kMenuDisabled = 0x2,
    kMenuChecked = 0x4,
};

// Handler references as stored: a byte offset into the application's
// handler table, or kNoHandler.
inline constexpr std::uint32_t kNoHandler = 0xFFFFFFFFu;

struct EventBinding {
    std::int32_t event = 0;
    std::uint32_t handlerRef = kNoHandler;
    const runtime::HandlerEntry* handler = nullptr; // resolved; null: bound to nothing
};

struct UnitRecord {
    std::uint32_t id = 0;
    std::uint32_t kindId = 0;
    std::uint32_t eventOwnerId = 0;
    std::string name; // GBK
    std::string secondName;

    // Units and the window's own unit.
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::uint32_t parentId = 0;
    std::vector<std::uint32_t> children; // a 0 entry separates pages
    std::vector<std::uint8_t> cursorData;
    std::string tag;
    std::uint32_t stateFlags = 0;
    std::int32_t tabOrder = 0;
    std::vector<EventBinding> bindings;
    std::vector<std::uint8_t> kindData;

    // Menu items.
    std::uint32_t shortcut = 0;
    std::int32_t level = 0;
    std::uint32_t itemFlags = 0;
    std::string caption;
    std::uint32_t clickHandlerRef = kNoHandler;
    const runtime::HandlerEntry* clickHandler = nullptr; // resolved

    // Run-time slots.
    UnitObject* object = nullptr;
    platform::Cursor cursor = platform::Cursor::Null;
    platform::Menu submenu = platform::Menu::Null;

    bool isMenuItem() const { return IsMenuItemId(id); }
    bool isOwnUnit() const { return IdCategoryOf(id) == 6 && IdSubKind(id) == 0; }
    bool visible() const { return stateFlags & kUnitVisible; }
    bool disabled() const { return stateFlags & kUnitDisabled; }
    bool tabStop() const { return stateFlags & kUnitTabStop; }

    // The handler bound to an event; null when none is bound or the binding
    // names no handler.
    const runtime::HandlerEntry* handlerFor(std::int32_t event) const
    {
        if (isMenuItem())
            return clickHandler;
        for (const EventBinding& b : bindings)
            if (b.event == event)
                return b.handler;
        return nullptr;
    }
};

} // namespace ui
