// Unit kinds: their descriptors, property descriptors, and the kind entry
// through which the framework reaches a kind's routines.
#pragma once

#include "platform/gdi.h"
#include "platform/types.h"
#include "ui/framework/identifiers.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ui {

class UnitObject;
class LoadedWindow;

// State flag bits the framework tests.
enum : std::uint32_t {
    kKindMayRaiseEvents = 0x40,
    kKindMayRaiseEventsToo = 0x04,
    kKindPagedContainer = 0x100,
    kKindHasChildWindows = 0x200,
    kKindHasChildWindowsToo = 0x200000,
    kKindNoVisibleWindow = 0x8000,
};

// Property type codes.
enum PropertyType : std::uint16_t {
    kTypeInteger = 1001,
    kTypeDouble = 1002,
    kTypeLogical = 1003,
    kTypeDateTime = 1004,
    kTypeText = 1005,
    kTypeChoice = 1006, // an integer chosen from a list
    kTypePicture = 1009,
    kTypeBytes1010 = 1010,
    kTypeMousePointer = 1011,
    kTypeBytes1012 = 1012,
    kTypeFont = 1013,
    kTypeColor = 1014,
    kTypeKind1016 = 1016,
    kTypeBackColor = 1017,
    kTypeKind1018 = 1018,
    kTypeKind1020 = 1020,
    kTypeBytes1023 = 1023,
    kTypeBytes1024 = 1024,
};

struct PropertyDescriptor {
    const char* name = nullptr;
    const char* englishName = nullptr;
    const char* description = nullptr;
    std::uint16_t typeCode = 0;
    std::uint16_t state = 0;
    const char* pickList = nullptr;
};

// A kind-specific property value as a kind's get and set routines see it.
struct PropertyValue {
    enum class Kind { None, Integer, Wide, Logical, Text, Bytes, Font, Cursor } kind = Kind::None;
    std::int64_t integer = 0; // Integer, Logical (0/1), Wide (the 8 bytes)
    std::string text;         // GBK
    std::vector<std::uint8_t> bytes;
    platform::LogFont font;
    platform::Cursor cursor = platform::Cursor::Null;

    static PropertyValue ofInteger(std::int64_t v) { return {Kind::Integer, v}; }
    static PropertyValue ofWide(std::uint64_t v) { return {Kind::Wide, std::int64_t(v)}; }
    static PropertyValue ofLogical(bool v) { return {Kind::Logical, v ? 1 : 0}; }
    static PropertyValue ofText(std::string t)
    {
        PropertyValue p;
        p.kind = Kind::Text;
        p.text = std::move(t);
        return p;
    }
    static PropertyValue ofBytes(std::vector<std::uint8_t> b)
    {
        PropertyValue p;
        p.kind = Kind::Bytes;
        p.bytes = std::move(b);
        return p;
    }
    static PropertyValue ofFont(const platform::LogFont& f)
    {
        PropertyValue p;
        p.kind = Kind::Font;
        p.font = f;
        return p;
    }
};

// What the create routine (entry 1) receives.
struct UnitCreateParams {
    platform::Hwnd parent = platform::Hwnd::Null; // the window's client area for units; the owner for a window
    std::span<const std::uint8_t> kindData;
    std::uint32_t style = 0; // WS_ bits from the unit's state flags
    int controlId = 0;
    int left = 0, top = 0, width = 0, height = 0;
    std::uint32_t windowId = 0;
    std::uint32_t unitId = 0;
    std::uint32_t kindId = 0;
    LoadedWindow* window = nullptr;
    platform::Menu menu = platform::Menu::Null; // the window's own unit: its menu bar
    bool modal = false;
    bool designTime = false;
};

// Entry routines.  Entry 4 answers whether the change needs the unit's
// window to be created again.
using CreateUnitRoutine = UnitObject* (*)(const UnitCreateParams& params);
using PropertyAvailableRoutine = bool (*)(UnitObject& unit, int kindProperty);
using SetPropertyRoutine = bool (*)(UnitObject& unit, int kindProperty, const PropertyValue& value);
using WriteKindDataRoutine = std::vector<std::uint8_t> (*)(UnitObject& unit);
using GetPropertyRoutine = PropertyValue (*)(UnitObject& unit, int kindProperty);
using TextVisitor = std::function<std::string(std::string_view text)>;
using VisitTextsRoutine = std::vector<std::uint8_t> (*)(std::span<const std::uint8_t> data, const TextVisitor& visit);
using OpaqueRoutine = void (*)();

using KindRoutine = std::variant<std::monostate, CreateUnitRoutine, PropertyAvailableRoutine, SetPropertyRoutine,
                                 WriteKindDataRoutine, GetPropertyRoutine, VisitTextsRoutine, OpaqueRoutine>;

enum KindEntryNumber : int {
    kEntryCreate = 1,
    kEntryPropertyAvailable = 2,
    kEntryPageEditor = 3,
    kEntrySetProperty = 4,
    kEntryWriteKindData = 5,
    kEntryGetProperty = 6,
    kEntryWindowSpecific = 7,
    kEntryEditBoxSpecific = 8,
    kEntryVisitTexts = 9,
    kEntryButtonSpecific = 10,
};

using KindEntry = KindRoutine (*)(int entry);

// The routines of a kind gathered into one table, which KindEntryFor turns
// into a kind entry function.
struct KindRoutines {
    CreateUnitRoutine create = nullptr;
    PropertyAvailableRoutine propertyAvailable = nullptr;
    SetPropertyRoutine setProperty = nullptr;
    WriteKindDataRoutine writeKindData = nullptr;
    GetPropertyRoutine getProperty = nullptr;
    VisitTextsRoutine visitTexts = nullptr;
};

KindRoutine RoutineFromTable(const KindRoutines& table, int entry);

template<const KindRoutines& Table>
KindRoutine KindEntryFor(int entry)
{
    return RoutineFromTable(Table, entry);
}

struct UnitKindDescriptor {
    const char* chineseName = nullptr;
    const char* englishName = nullptr;
    const char* description = nullptr;
    std::int32_t methodCount = 0;
    const std::int32_t* methodIndexes = nullptr;
    std::uint32_t stateFlags = 0;
    std::int32_t iconResourceId = 0;
    std::int32_t eventCount = 0;
    const void* events = nullptr;
    std::int32_t propertyCount = 0;
    const PropertyDescriptor* properties = nullptr;
    KindEntry kindEntry = nullptr;
    std::int32_t elementCount = 0;
    const void* elements = nullptr;

    bool isEmpty() const { return !chineseName && !englishName && stateFlags == 0; }
    bool mayRaiseEvents() const { return stateFlags & (kKindMayRaiseEvents | kKindMayRaiseEventsToo); }
    bool hasChildWindows() const { return stateFlags & (kKindHasChildWindows | kKindHasChildWindowsToo); }
    std::uint16_t propertyType(int property) const
    {
        return property >= 0 && property < propertyCount && properties ? properties[property].typeCode : 0;
    }
    template<typename Routine>
    Routine routine(int entry) const
    {
        if (!kindEntry)
            return nullptr;
        KindRoutine r = kindEntry(entry);
        auto* p = std::get_if<Routine>(&r);
        return p ? *p : nullptr;
    }
};

// One library's kinds, by position (1-based); unused positions are empty
// descriptors.
struct KindLibrary {
    std::uint16_t number = 0;
    std::span<const UnitKindDescriptor> kinds;
};

} // namespace ui
