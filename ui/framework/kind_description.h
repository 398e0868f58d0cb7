// One declarative description per unit kind.
//
// A kind's settings live in a plain struct (its members and their defaults)
// and are described once, in a table of Setting rows: how each is stored in
// the kind data (in stored order, with the version it appeared in), the key
// a window description gives it, and the property that reads and writes it
// (number, type code, clamping, what a write applies).  Everything else is
// derived from that table:
//
//   kind_codec.h        the kind data block read and written
//   kind_properties.h   property get and set, availability, the type table
//   tools/template_compiler/kind_bindings.cpp
//                       the description keys of the template compiler
//
// so a setting is named in one row and nowhere else.  A Data struct has a
// `std::uint32_t version` (the block's first number) and two enumerations
// whose 0 is `None`, the kind's own names for what the unit does for a row:
// `Effect`, what a property write sets going, and `Live`, a value read from
// the running unit rather than the settings.  The unit maps each name to a
// routine.
#pragma once

#include "platform/gdi.h"
#include "ui/framework/identifiers.h"
#include "ui/framework/unit_kind.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace ui {

// How a setting sits in the stored kind data.  Numbers are 32-bit
// little-endian unless the form says otherwise.
enum class Stored : std::uint8_t {
    No,         // not stored: a property of the live unit only
    Number,     // a 32-bit number; logical settings 0 or 1
    Number16,   // a 16-bit number
    Counted,    // a 32-bit length, then that many bytes (a text without terminator)
    Block,      // a signed 32-bit length, then the bytes; a length <= 0 is empty
    FontRecord, // a 60-byte logical font record, inline
    NoFontFlag, // a 32-bit number, non-zero when the optional font is absent
    Texts,      // a counted block of zero-terminated texts
    Numbers,    // a counted block of 32-bit numbers
    Triple,     // three 32-bit numbers
    Reserved,   // bytes nobody reads, written as zeros
};

// Where a setting's value is kept in the kind's Data struct.
template<class Data>
using SettingMember =
    std::variant<std::monostate, std::int32_t Data::*, std::uint32_t Data::*, bool Data::*, std::uint16_t Data::*,
                 std::string Data::*, std::vector<std::uint8_t> Data::*, std::vector<std::string> Data::*,
                 std::vector<std::int32_t> Data::*, std::array<std::uint32_t, 3> Data::*,
                 std::optional<platform::LogFont> Data::*>;

struct ClampRange {
    std::int64_t low = 0;
    std::int64_t high = 0;
};

// How a description gives a byte-block setting: a file or image list (the
// default), or font("face", height, weight, charset) for a font record.
enum class Described : std::uint8_t { Plain, Font };

template<class Data>
struct Setting {
    SettingMember<Data> member;

    // The stored data.
    Stored stored = Stored::No;
    std::uint32_t since = 0;                      // stored from this version on
    bool (*storedWhen)(const Data&) = nullptr;    // ... and only when this holds of what came before
    std::uint8_t reservedBytes = 0;               // Stored::Reserved

    // The window descriptions.
    const char* key = nullptr;
    Described describedAs = Described::Plain;

    // The property.
    int property = -1; // -1: none
    std::uint16_t type = 0;
    std::optional<ClampRange> clamp;
    typename Data::Live live{}; // read from the running unit (the stored value at design time)
    bool readOnly = false; // writes are ignored
    typename Data::Effect effect{};               // what a write sets going
    bool (*available)(const Data&) = nullptr;     // null: always available
};

// Values of a record key, in the order its slots name them.
struct RecordValue {
    std::int32_t integer = 0;
    std::string text; // GBK
};

// A description key that adds one record to a block of records (tree
// items, list rows, columns, pages); it may be given once per record.
template<class Data>
struct RecordKey {
    const char* key;
    // One letter per value: 't' a text, 'i' an integer; those after a '|'
    // may be left out.
    const char* slots;
    // Appends the record; false when the block before it is not valid.
    bool (*add)(Data& data, std::span<const RecordValue> values);
};

template<class Data>
struct KindDescription {
    const char* name;      // the kind's English name, as descriptions write it
    UnitKindId kind;
    std::uint32_t newestVersion;
    std::span<const Setting<Data>> settings;
    std::span<const RecordKey<Data>> records = {};
    // The kind's own events; units with a window also raise the common ones.
    std::span<const std::int32_t> events = {};
    bool hasWindow = true;
    // How many properties the kind has, when more than its rows number
    // (the numbers no row names read as nothing and ignore writes).
    std::int32_t propertyCount = 0;
    // Texts inside the kind's blocks (item texts, a font's face name), after
    // the text settings.
    void (*visitNestedTexts)(Data& data, const TextVisitor& visit) = nullptr;
    // Settings whose meaning depends on the whole block, made to agree
    // after it was read.
    void (*afterRead)(Data& data) = nullptr;
};

} // namespace ui
