// Reading and writing unit properties by number: the common properties
// 0-7 and those of menu items are the framework's; the others go to the
// kind's get and set routines, converted by the property's type code.

#include "platform/icon.h"

#include <utility>

#include "platform/messages.h"
#include "platform/window.h"
#include "runtime/conversions.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "runtime/value_text.h"
#include "ui/framework/framework.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/property_conversion.h"
#include "ui/framework/unit_object.h"

namespace ui {
namespace {

namespace et = runtime::error_text;
using runtime::TypedValue;

enum CommonProperty : int {
    kLeft = 0,
    kTop = 1,
    kWidth = 2,
    kHeight = 3,
    kTag = 4,
    kVisible = 5,
    kDisabled = 6,
    kMousePointer = 7,
};

enum MenuItemProperty : int { kCaption = 0, kChecked = 1, kItemDisabled = 2, kItemVisible = 3 };

platform::Hwnd liveHandleOf(const UnitRecord& u)
{
    platform::Hwnd h = u.object ? u.object->handle() : platform::Hwnd::Null;
    return platform::IsWindow(h) ? h : platform::Hwnd::Null;
}

platform::Rect liveRect(const UnitRecord& u, platform::Hwnd h)
{
    return u.isOwnUnit() ? platform::GetWindowRect(h) : platform::GetWindowRectInParent(h);
}

TypedValue readCommon(const UnitRecord& u, int property)
{
    platform::Hwnd h = liveHandleOf(u);
    bool live = h != platform::Hwnd::Null;
    switch (property) {
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight: {
        if (!live) {
            const std::int32_t stored[] = {u.left, u.top, u.width, u.height};
            return TypedValue::integer(stored[property]);
        }
        platform::Rect r = liveRect(u, h);
        const int live[] = {r.left, r.top, r.width(), r.height()};
        return TypedValue::integer(live[property]);
    }
    case kTag:
        return TypedValue::text(runtime::NewText(u.tag));
    case kVisible:
        return TypedValue::logical(live ? (platform::GetWindowStyle(h) & platform::WS_VISIBLE) != 0 : u.visible());
    case kDisabled:
        return TypedValue::logical(live ? !platform::IsWindowEnabled(h) : u.disabled());
    default:
        return TypedValue::bytes(runtime::NewBytes(u.cursorData));
    }
}

void setFlag(std::uint32_t& flags, std::uint32_t bit, bool on)
{
    flags = on ? (flags | bit) : (flags & ~bit);
}

void writeCommon(UnitRecord& u, int property, const TypedValue& value)
{
    platform::Hwnd h = liveHandleOf(u);
    bool live = h != platform::Hwnd::Null;
    switch (property) {
    case kLeft:
    case kTop:
    case kWidth:
    case kHeight: {
        std::int32_t v = runtime::ConvertToInteger(value);
        std::int32_t* stored[] = {&u.left, &u.top, &u.width, &u.height};
        *stored[property] = v;
        if (live) {
            platform::Rect r = liveRect(u, h);
            int geometry[] = {r.left, r.top, r.width(), r.height()};
            geometry[property] = v;
            platform::MoveWindow(h, geometry[0], geometry[1], geometry[2], geometry[3]);
        }
        return;
    }
    case kTag:
        u.tag = TextArgument(value);
        return;
    case kVisible: {
        bool on = LogicalArgument(value);
        setFlag(u.stateFlags, kUnitVisible, on);
        if (live)
            platform::ShowWindow(h, on ? platform::SW_SHOWNA : platform::SW_HIDE);
        return;
    }
    case kDisabled: {
        bool on = LogicalArgument(value);
        setFlag(u.stateFlags, kUnitDisabled, on);
        if (live)
            platform::EnableWindow(h, !on);
        return;
    }
    default: {
        auto bytes = runtime::BytesOf(value.is(runtime::ValueType::Bytes) ? value.asBytesBlock() : nullptr);
        u.cursorData.assign(bytes.begin(), bytes.end());
        if (u.cursor != platform::Cursor::Null)
            platform::DestroyCursor(std::exchange(u.cursor, platform::Cursor::Null));
        u.cursor = CursorFromPointerData(u.cursorData);
        if (live)
            platform::SetWindowCursor(h, u.cursor);
        return;
    }
    }
}

TypedValue readMenuItem(const UnitRecord& u, int property)
{
    switch (property) {
    case kCaption: return TypedValue::text(runtime::NewText(u.caption));
    case kChecked: return TypedValue::logical(u.itemFlags & kMenuChecked);
    case kItemDisabled: return TypedValue::logical(u.itemFlags & kMenuDisabled);
    default: return TypedValue::logical(!(u.itemFlags & kMenuHidden));
    }
}

// True when the record changed.
bool writeMenuItem(UnitRecord& u, int property, const TypedValue& value)
{
    if (property == kCaption) {
        std::string caption = TextArgument(value);
        if (caption == u.caption)
            return false;
        u.caption = std::move(caption);
        return true;
    }
    std::uint32_t before = u.itemFlags;
    bool on = LogicalArgument(value);
    switch (property) {
    case kChecked: setFlag(u.itemFlags, kMenuChecked, on); break;
    case kItemDisabled: setFlag(u.itemFlags, kMenuDisabled, on); break;
    default: setFlag(u.itemFlags, kMenuHidden, !on); break;
    }
    return u.itemFlags != before;
}

} // namespace

runtime::TypedValue Framework::readProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field)
{
    LoadedWindow* window = this->window(windowId);
    if (!window)
        runtime::ReportRuntimeError(et::kPropertyWindowNotLoaded, 0, windowId, unitId);
    UnitRecord* u = window->find(unitId);
    if (!u)
        runtime::ReportRuntimeError(et::kUnitNotLoaded, 0, windowId, unitId);
    if (u->isMenuItem())
        return property >= 0 && property <= kItemVisible ? readMenuItem(*u, property) : TypedValue{};
    if (property >= 0 && property < 8)
        return readCommon(*u, property);
    if (property < 0 || liveHandleOf(*u) == platform::Hwnd::Null)
        runtime::ReportRuntimeError(et::kReadWindowNotLoaded, 0, windowId, unitId);
    const UnitKindDescriptor* kind = m_kinds.find(u->kindId);
    auto get = kind ? kind->routine<GetPropertyRoutine>(kEntryGetProperty) : nullptr;
    if (!get)
        return TypedValue{};
    PropertyValue raw = get(*u->object, property - 8);
    return ToTypedValue(raw, kind->propertyType(property), field);
}

void Framework::writeProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field,
                              const runtime::TypedValue& value)
{
    LoadedWindow* window = this->window(windowId);
    if (!window)
        runtime::ReportRuntimeError(et::kPropertyWindowNotLoaded, 0, windowId, unitId);
    UnitRecord* u = window->find(unitId);
    if (!u)
        runtime::ReportRuntimeError(et::kUnitNotLoaded, 0, windowId, unitId);
    if (u->isMenuItem()) {
        if (property >= 0 && property <= kItemVisible && writeMenuItem(*u, property, value))
            RebuildMenuBar(*window);
        return;
    }
    if (property >= 0 && property < 8) {
        writeCommon(*u, property, value);
        return;
    }
    if (property < 0 || liveHandleOf(*u) == platform::Hwnd::Null)
        runtime::ReportRuntimeError(et::kWriteWindowNotLoaded, 0, windowId, unitId);
    const UnitKindDescriptor* kind = m_kinds.find(u->kindId);
    auto set = kind ? kind->routine<SetPropertyRoutine>(kEntrySetProperty) : nullptr;
    if (!set)
        return;
    std::uint16_t type = kind->propertyType(property);
    PropertyValue converted;
    if (type == kTypeFont && field >= 0) {
        auto get = kind->routine<GetPropertyRoutine>(kEntryGetProperty);
        PropertyValue current = get ? get(*u->object, property - 8) : PropertyValue{};
        converted = FontFieldUpdate(current, field, value);
    } else {
        converted = FromTypedValue(value, type);
    }
    if (set(*u->object, property - 8, converted))
        recreateUnit(*window, *u);
}

} // namespace ui
