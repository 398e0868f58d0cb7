// The framework's plain parts: identifiers, kind lookup, kind entries, the
// key codes of common events, and the conversions between handlers'
// values and kinds' property values.

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/messages.h"
#include "runtime/memory.h"
#include "ui/framework/identifiers.h"
#include "ui/framework/kind_registry.h"
#include "ui/framework/property_conversion.h"
#include "ui/framework/unit_object.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

using runtime::TypedValue;
using runtime::ValueType;

TEST(Identifiers, PartsValidityAndMenuItems)
{
    struct Case {
        std::uint32_t id;
        std::uint32_t serial, category, subKind;
        bool valid, window, menuItem;
    };
    const Case cases[] = {
        {0x52010001, 0x010001, 2, 5, true, true, false},  // a window
        {0x06010002, 0x010002, 6, 0, true, false, false}, // its own unit
        {0x16011E33, 0x011E33, 6, 1, true, false, false}, // a unit
        {0x26000010, 0x000010, 6, 2, true, false, true},  // a menu item
        {0x19000001, 0x000001, 9, 1, true, false, false}, // a program set
        {0x29000001, 0x000001, 9, 2, true, false, false}, // sub-kind 2 outside category 6
        {0x52000000, 0, 2, 5, false, true, false},        // no serial
        {0x50000001, 1, 0, 5, false, false, false},       // no category
        {0, 0, 0, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(ui::IdSerial(c.id), c.serial);
        EXPECT_EQ(ui::IdCategoryOf(c.id), c.category);
        EXPECT_EQ(ui::IdSubKind(c.id), c.subKind);
        EXPECT_EQ(ui::IsValidId(c.id), c.valid);
        EXPECT_EQ(ui::IsWindowId(c.id), c.window);
        EXPECT_EQ(ui::IsMenuItemId(c.id), c.menuItem);
        if (c.valid) {
            EXPECT_EQ(ui::MakeId(ui::IdCategory(c.category), c.subKind, c.serial), c.id);
        }
    }
    EXPECT_EQ(ui::kinds::TreeBox.library(), 2);
    EXPECT_EQ(ui::kinds::TreeBox.position(), 1);
    EXPECT_EQ(ui::UnitKindId::of(3, 2), ui::kinds::PageControl);
}

ui::UnitObject* createNothing(const ui::UnitCreateParams&)
{
    return nullptr;
}
ui::PropertyValue getNothing(ui::UnitObject&, int)
{
    return {};
}
const ui::KindRoutines kRoutines{createNothing, nullptr, nullptr, nullptr, getNothing};

TEST(KindRegistry, KindsAreFoundByLibraryAndPosition)
{
    static const ui::UnitKindDescriptor kOne[] = {
        {"窗口", "window", nullptr, 0, nullptr, 0x800000D0, 0, 0, nullptr, 0, nullptr, ui::KindEntryFor<kRoutines>},
        {},                                                     // unused position
        {"菜单", "menu", nullptr, 0, nullptr, 0x80000004},
        {"组合框", "ComboBox", nullptr, 0, nullptr, 0x80000240},
        {"无", "Silent", nullptr, 0, nullptr, 0x80008000},
    };
    static const ui::UnitKindDescriptor kTwo[] = {
        {"透明标签", "TransLabel", nullptr, 0, nullptr, 0x00212040},
    };
    static const ui::UnitKindDescriptor kReplacement[] = {
        {"树型框", "TreeBox", nullptr, 0, nullptr, 0x00000040},
    };
    ui::KindRegistry registry;
    registry.addLibrary({1, kOne});
    registry.addLibrary({2, kTwo});

    EXPECT_EQ(registry.find(0x00010001), &kOne[0]);
    EXPECT_EQ(registry.find(0x00010003), &kOne[2]);
    EXPECT_EQ(registry.find(0x00010002), nullptr); // the unused position
    EXPECT_EQ(registry.find(0x00010000), nullptr);
    EXPECT_EQ(registry.find(0x00010006), nullptr); // past the table
    EXPECT_EQ(registry.find(0x00030001), nullptr); // no such library
    EXPECT_EQ(registry.find(0x00020001), &kTwo[0]);

    EXPECT_EQ(registry.eventClass(0x00010001), 1); // 0x40
    EXPECT_EQ(registry.eventClass(0x00010003), 2); // 0x04
    EXPECT_EQ(registry.eventClass(0x00010005), 0);
    EXPECT_EQ(registry.eventClass(0x00010002), 0);
    EXPECT_TRUE(registry.hasChildWindows(0x00010004));  // 0x200
    EXPECT_TRUE(registry.hasChildWindows(0x00020001));  // 0x200000
    EXPECT_FALSE(registry.hasChildWindows(0x00010001));

    // A library added again under its number replaces the first.
    registry.addLibrary({2, kReplacement});
    EXPECT_EQ(registry.find(0x00020001), &kReplacement[0]);
}

TEST(KindRegistry, KindEntryGivesTheRoutinesItHasAndNothingElse)
{
    const ui::UnitKindDescriptor kind{"窗口", "window", nullptr, 0, nullptr, 0x40, 0, 0, nullptr, 0, nullptr,
                                      ui::KindEntryFor<kRoutines>};
    EXPECT_EQ(kind.routine<ui::CreateUnitRoutine>(ui::kEntryCreate), &createNothing);
    EXPECT_EQ(kind.routine<ui::GetPropertyRoutine>(ui::kEntryGetProperty), &getNothing);
    EXPECT_EQ(kind.routine<ui::SetPropertyRoutine>(ui::kEntrySetProperty), nullptr);
    // Asked for the wrong kind of routine, or an entry the table lacks.
    EXPECT_EQ(kind.routine<ui::SetPropertyRoutine>(ui::kEntryCreate), nullptr);
    for (int entry : {0, 3, 7, 8, 10, 11, -1})
        EXPECT_TRUE(std::holds_alternative<std::monostate>(ui::KindEntryFor<kRoutines>(entry))) << entry;
    const ui::UnitKindDescriptor noEntry{"菜单", "menu"};
    EXPECT_EQ(noEntry.routine<ui::CreateUnitRoutine>(ui::kEntryCreate), nullptr);
    EXPECT_EQ(noEntry.propertyType(8), 0);
}

TEST(CommonEventKeys, KeypadKeysAreReportedAsTheMainKeyboardsKeys)
{
    for (std::uint32_t i = 0; i < 10; ++i)
        EXPECT_EQ(ui::CommonEventKeyCode(platform::VK_NUMPAD0 + i), 0x30 + i);
    EXPECT_EQ(ui::CommonEventKeyCode(platform::VK_SUBTRACT), 189u);
    EXPECT_EQ(ui::CommonEventKeyCode(platform::VK_DECIMAL), 190u);
    EXPECT_EQ(ui::CommonEventKeyCode(platform::VK_DIVIDE), 191u);
    for (std::uint32_t same : {std::uint32_t(platform::VK_MULTIPLY), std::uint32_t(platform::VK_ADD), 0x41u, 0x35u,
                               std::uint32_t(platform::VK_F1), std::uint32_t(platform::VK_SHIFT)})
        EXPECT_EQ(ui::CommonEventKeyCode(same), same);
}

TEST(PropertyConversion, ValuesForKindsFollowTheTypeCode)
{
    // Logical: 0 or 1 whatever the number.
    EXPECT_EQ(ui::FromTypedValue(TypedValue::integer(5), ui::kTypeLogical).integer, 1);
    EXPECT_EQ(ui::FromTypedValue(TypedValue::integer(0), ui::kTypeLogical).integer, 0);
    EXPECT_EQ(ui::FromTypedValue(TypedValue::logical(true), ui::kTypeLogical).integer, 1);

    // 8-byte values go whole; other numbers become the same double.
    ui::PropertyValue wide = ui::FromTypedValue(TypedValue::real64(2.75), ui::kTypeDouble);
    EXPECT_EQ(wide.kind, ui::PropertyValue::Kind::Wide);
    EXPECT_EQ(std::bit_cast<double>(wide.integer), 2.75);
    EXPECT_EQ(ui::FromTypedValue(TypedValue::dateTime(45000.5), ui::kTypeDateTime).integer,
              std::bit_cast<std::int64_t>(45000.5));
    EXPECT_EQ(std::bit_cast<double>(ui::FromTypedValue(TypedValue::real32(2.5f), ui::kTypeDouble).integer), 2.5);
    EXPECT_EQ(std::bit_cast<double>(ui::FromTypedValue(TypedValue::integer(-3), ui::kTypeDouble).integer), -3.0);
    EXPECT_EQ(std::bit_cast<double>(ui::FromTypedValue(TypedValue::longInt(std::int64_t(1) << 40), ui::kTypeDouble)
                                        .integer),
              double(std::int64_t(1) << 40));

    // Byte blocks as data and length.
    const std::vector<std::uint8_t> data = {9, 8, 7};
    std::uint8_t* block = runtime::NewBytes(data);
    for (std::uint16_t type : {ui::kTypePicture, ui::kTypeBytes1010, ui::kTypeBytes1012, ui::kTypeBytes1023,
                               ui::kTypeBytes1024}) {
        ui::PropertyValue b = ui::FromTypedValue(TypedValue::bytes(block), type);
        EXPECT_EQ(b.kind, ui::PropertyValue::Kind::Bytes) << type;
        EXPECT_EQ(b.bytes, data) << type;
    }
    runtime::Free(block);

    // A mouse pointer block of 4 bytes or more becomes a cursor first.
    const std::vector<std::uint8_t> cross = {4, 0, 0, 0}, shortBlock = {4, 0};
    block = runtime::NewBytes(cross);
    ui::PropertyValue pointer = ui::FromTypedValue(TypedValue::bytes(block), ui::kTypeMousePointer);
    runtime::Free(block);
    EXPECT_EQ(pointer.kind, ui::PropertyValue::Kind::Cursor);
    EXPECT_TRUE(platform::IsCursor(pointer.cursor));
    EXPECT_EQ(pointer.bytes, cross);
    block = runtime::NewBytes(shortBlock);
    pointer = ui::FromTypedValue(TypedValue::bytes(block), ui::kTypeMousePointer);
    runtime::Free(block);
    EXPECT_EQ(pointer.kind, ui::PropertyValue::Kind::Bytes);
    EXPECT_EQ(pointer.cursor, platform::Cursor::Null);
}

TEST(PropertyConversion, ValuesFromKindsTakeTheDeclaredType)
{
    TypedValue logical = ui::ToTypedValue(ui::PropertyValue::ofInteger(7), ui::kTypeLogical, -1);
    EXPECT_TRUE(logical.is(ValueType::Logical));
    EXPECT_EQ(logical.payload, 1u);
    TypedValue wide = ui::ToTypedValue(ui::PropertyValue::ofWide(std::bit_cast<std::uint64_t>(1.25)), ui::kTypeDouble, -1);
    EXPECT_TRUE(wide.is(ValueType::Double));
    EXPECT_EQ(wide.asDouble(), 1.25);
    TypedValue choice = ui::ToTypedValue(ui::PropertyValue::ofInteger(3), ui::kTypeChoice, -1);
    EXPECT_TRUE(choice.is(ValueType::Int));
    EXPECT_EQ(choice.asInt(), 3);
    TypedValue bytes = ui::ToTypedValue(ui::PropertyValue::ofBytes({1, 2}), ui::kTypeBytes1010, -1);
    EXPECT_EQ(runtime::BytesOf(bytes.asBytesBlock()).size(), 2u);
    runtime::FreeValue(bytes);
    // An empty block is the null block.
    EXPECT_EQ(ui::ToTypedValue(ui::PropertyValue::ofBytes({}), ui::kTypePicture, -1).payload, 0u);
}

TEST(PropertyConversion, FontRecordsAndFontDescriptions)
{
    const int dpi = platform::LogPixelsY();
    runtime::FontValue r;
    r.escapement = 900;
    r.bold = 1;
    r.underline = 1;
    r.strikeOut = 1;
    r.pointSize = 9;
    r.faceName = "楷体";
    platform::LogFont f = ui::LogFontFromRecord(r);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.escapement, 900);
    EXPECT_EQ(f.italic, 0);
    EXPECT_EQ(f.underline, 1);
    EXPECT_EQ(f.strikeOut, 1);
    EXPECT_EQ(f.height, -((9 * dpi + 36) / 72));
    EXPECT_STREQ(f.faceName.data(), "楷体");

    runtime::FontValue back = ui::FontRecordFromLogFont(f);
    EXPECT_EQ(back.bold, 1);
    EXPECT_EQ(back.pointSize, 9);
    EXPECT_EQ(back.escapement, 900);
    EXPECT_EQ(runtime::TextOf(back.faceName), "楷体");
    runtime::Free(back.faceName);

    r.bold = 0;
    r.faceName = nullptr;
    f = ui::LogFontFromRecord(r);
    EXPECT_EQ(f.weight, 0);
    EXPECT_STREQ(f.faceName.data(), "宋体");
    const std::string tooLong(32, 'X');
    r.faceName = tooLong.c_str();
    EXPECT_STREQ(ui::LogFontFromRecord(r).faceName.data(), "宋体");
    // A description without a face reads back with the default face.
    platform::LogFont noFace;
    noFace.height = -12;
    back = ui::FontRecordFromLogFont(noFace);
    EXPECT_EQ(runtime::TextOf(back.faceName), "宋体");
    runtime::Free(back.faceName);
}

} // namespace
