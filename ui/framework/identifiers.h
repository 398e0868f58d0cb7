// Identifiers of windows, units, menu items and program sets, and the
// references built from them.
#pragma once

#include "runtime/typed_value.h"

#include <cstdint>

namespace ui {

using runtime::UnitRef;

enum class IdCategory : std::uint32_t {
    Window = 2,
    Member = 6, // the window's own unit, a unit, a menu item
    ProgramSet = 9,
};

enum class MemberKind : std::uint32_t {
    OwnUnit = 0,
    Unit = 1,
    MenuItem = 2,
};

constexpr std::uint32_t IdSerial(std::uint32_t id) { return id & 0x00FF'FFFF; }
constexpr std::uint32_t IdCategoryOf(std::uint32_t id) { return (id >> 24) & 0xF; }
constexpr std::uint32_t IdSubKind(std::uint32_t id) { return (id >> 28) & 0xF; }
constexpr bool IsValidId(std::uint32_t id) { return IdSerial(id) != 0 && IdCategoryOf(id) != 0; }
constexpr bool IsWindowId(std::uint32_t id) { return IdCategoryOf(id) == std::uint32_t(IdCategory::Window); }
constexpr bool IsMenuItemId(std::uint32_t id)
{
    return IdCategoryOf(id) == std::uint32_t(IdCategory::Member) && IdSubKind(id) == std::uint32_t(MemberKind::MenuItem);
}
constexpr std::uint32_t MakeId(IdCategory category, std::uint32_t subKind, std::uint32_t serial)
{
    return (subKind & 0xF) << 28 | (std::uint32_t(category) & 0xF) << 24 | (serial & 0x00FF'FFFF);
}

// A kind id: library number in the high 16 bits, 1-based position of the
// kind in that library's table in the low 16 bits.
struct UnitKindId {
    std::uint32_t value = 0;
    constexpr std::uint16_t library() const { return std::uint16_t(value >> 16); }
    constexpr std::uint16_t position() const { return std::uint16_t(value & 0xFFFF); }
    static constexpr UnitKindId of(std::uint16_t library, std::uint16_t position)
    {
        return {std::uint32_t(library) << 16 | position};
    }
    friend constexpr bool operator==(UnitKindId, UnitKindId) = default;
};

// The kinds this program's templates use.
namespace kinds {
inline constexpr UnitKindId Window{0x00010001};
inline constexpr UnitKindId Menu{0x00010003};
inline constexpr UnitKindId EditBox{0x00010005};
inline constexpr UnitKindId PicBox{0x00010006};
inline constexpr UnitKindId Button{0x0001000B};
inline constexpr UnitKindId ComboBox{0x0001000E};
inline constexpr UnitKindId OdbcDb{0x0001002E};
inline constexpr UnitKindId TreeBox{0x00020001};
inline constexpr UnitKindId ListView{0x00020004};
inline constexpr UnitKindId TransLabel{0x00020005};
inline constexpr UnitKindId PageControl{0x00030002};
} // namespace kinds

} // namespace ui
