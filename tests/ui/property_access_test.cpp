// Reading and writing unit properties by number: the common properties,
// menu item properties, and kind-specific ones through the kind's get and
// set routines with their conversions and failures.

#include "ui_fixture.h"

#include "platform/gdi.h"
#include "platform/icon.h"
#include "platform/menu.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "ui/framework/framework.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace testsupport;
using namespace uitest;
using runtime::TypedValue;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kWin = 0x52000201;
constexpr std::uint32_t kOwn = 0x06000201;
constexpr std::uint32_t kBox = 0x16000202;
constexpr std::uint32_t kBox2 = 0x16000203;
constexpr std::uint32_t kBox3 = 0x16000204;
constexpr std::uint32_t kFile = 0x26000210;
constexpr std::uint32_t kNew = 0x26000211;
constexpr std::uint32_t kHelp = 0x26000212;
constexpr std::uint32_t kEdit = 0x26000213;

TypedValue Read(std::uint32_t unit, int property, int field = -1)
{
    return runtime::ReadProperty(kWin, unit, property, field);
}

void Write(std::uint32_t unit, int property, const TypedValue& value, int field = -1)
{
    runtime::WriteProperty(kWin, unit, property, field, value);
}

// Texts and byte blocks read come as fresh heap blocks: taken and freed.
std::string ReadText(std::uint32_t unit, int property, int field = -1)
{
    TypedValue v = Read(unit, property, field);
    EXPECT_TRUE(v.is(runtime::ValueType::Text));
    std::string s(runtime::TextOf(v.asText()));
    runtime::FreeValue(v);
    return s;
}

Bytes ReadBytes(std::uint32_t unit, int property)
{
    TypedValue v = Read(unit, property);
    EXPECT_TRUE(v.is(runtime::ValueType::Bytes));
    auto b = runtime::BytesOf(v.asBytesBlock());
    Bytes out(b.begin(), b.end());
    runtime::FreeValue(v);
    return out;
}

ui::UnitRecord Box()
{
    auto box = BoxRecord(kBox, "框1", 10, 20, 100, 50);
    box.tag = "标签";
    box.cursorData = {1, 0, 0, 0};
    return box;
}

class PropertyAccess : public UiTest {
protected:
    TestBox& box() { return *BoxOf(kWin, kBox); }
};

TEST_F(PropertyAccess, CommonPropertiesBeforeOpeningAreTheTemplateValues)
{
    auto disabled = BoxRecord(kBox2, "框2", 1, 2, 3, 4);
    disabled.stateFlags = ui::kUnitDisabled;
    AddWindow(kWin, {WindowRecord(kOwn), Box(), disabled});

    EXPECT_EQ(Read(kBox, 0).asInt(), 10);
    EXPECT_EQ(Read(kBox, 1).asInt(), 20);
    EXPECT_EQ(Read(kBox, 2).asInt(), 100);
    EXPECT_EQ(Read(kBox, 3).asInt(), 50);
    EXPECT_EQ(ReadText(kBox, 4), "标签");
    EXPECT_TRUE(Read(kBox, 5).asLogical());
    EXPECT_FALSE(Read(kBox, 6).asLogical());
    EXPECT_EQ(ReadBytes(kBox, 7), (Bytes{1, 0, 0, 0}));
    EXPECT_FALSE(Read(kBox2, 5).asLogical());
    EXPECT_TRUE(Read(kBox2, 6).asLogical());
    EXPECT_EQ(Read(0, 0).asInt(), 40);
    EXPECT_EQ(Read(kOwn, 2).asInt(), 300);

    // Written while closed: kept in the record, and opening uses it.
    Write(kBox, 0, TypedValue::integer(15));
    Write(kBox, 5, TypedValue::logical(false));
    EXPECT_EQ(Read(kBox, 0).asInt(), 15);
    EXPECT_FALSE(Read(kBox, 5).asLogical());
}

TEST_F(PropertyAccess, CommonPropertiesOfAnOpenUnitAreLive)
{
    OpenWindow(kWin, {WindowRecord(kOwn), Box()});
    platform::Hwnd h = HandleOf(kWin, kBox);
    ASSERT_TRUE(platform::IsWindow(h));

    platform::MoveWindow(h, 33, 44, 55, 66);
    EXPECT_EQ(Read(kBox, 0).asInt(), 33);
    EXPECT_EQ(Read(kBox, 1).asInt(), 44);
    EXPECT_EQ(Read(kBox, 2).asInt(), 55);
    EXPECT_EQ(Read(kBox, 3).asInt(), 66);
    platform::ShowWindow(h, platform::SW_HIDE);
    EXPECT_FALSE(Read(kBox, 5).asLogical());
    platform::EnableWindow(h, false);
    EXPECT_TRUE(Read(kBox, 6).asLogical());
    EXPECT_EQ(Read(0, 2).asInt(), platform::GetWindowRect(HandleOf(kWin)).width());

    // Writes reach the window; one coordinate changes, the others stay.
    Write(kBox, 0, TypedValue::shortInt(70));
    platform::Rect r = platform::GetWindowRectInParent(h);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 44);
    EXPECT_EQ(r.width(), 55);
    Write(kBox, 3, TypedValue::real64(12.9));
    EXPECT_EQ(platform::GetWindowRectInParent(h).height(), 12);
    Write(kBox, 5, TypedValue::integer(1));
    EXPECT_TRUE(platform::GetWindowStyle(h) & platform::WS_VISIBLE);
    Write(kBox, 6, TypedValue::logical(false));
    EXPECT_TRUE(platform::IsWindowEnabled(h));
}

TEST_F(PropertyAccess, TagAndMousePointerAlwaysComeFromTheRecord)
{
    OpenWindow(kWin, {WindowRecord(kOwn), Box()});
    EXPECT_EQ(ReadText(kBox, 4), "标签");
    Write(kBox, 4, TypedValue::integer(17));
    EXPECT_EQ(ReadText(kBox, 4), "17");
    Write(kBox, 4, TypedValue::text(nullptr));
    EXPECT_EQ(ReadText(kBox, 4), "");

    // Standard pointer 3 becomes a cursor; the stored block reads back.
    const Bytes wait = {3, 0, 0, 0};
    std::uint8_t* block = runtime::NewBytes(wait);
    Write(kBox, 7, TypedValue::bytes(block));
    runtime::Free(block);
    EXPECT_EQ(ReadBytes(kBox, 7), wait);
    ui::UnitRecord* u = ui::TheFramework().unitRecord(kWin, kBox);
    EXPECT_TRUE(platform::IsCursor(u->cursor));
    Write(kBox, 7, TypedValue::bytes(nullptr));
    EXPECT_EQ(u->cursor, platform::Cursor::Null);
    EXPECT_EQ(ReadBytes(kBox, 7), Bytes{});
}

TEST_F(PropertyAccess, MenuItemPropertiesReadTheFlagsAndChangesRebuildTheBar)
{
    auto records = std::vector<ui::UnitRecord>{
        WindowRecord(kOwn),
        MenuRecord(kFile, "文件", 0),
        MenuRecord(kNew, "新建", 1),
        MenuRecord(kHelp, "帮助", 0, ui::kMenuHidden),
        MenuRecord(kEdit, "编辑", 0, ui::kMenuDisabled | ui::kMenuChecked),
    };
    AddWindow(kWin, records);
    EXPECT_EQ(ReadText(kFile, 0), "文件");
    EXPECT_TRUE(Read(kFile, 3).asLogical());
    EXPECT_FALSE(Read(kHelp, 3).asLogical());
    EXPECT_FALSE(Read(kFile, 2).asLogical());
    EXPECT_TRUE(Read(kEdit, 2).asLogical());
    EXPECT_TRUE(Read(kEdit, 1).asLogical());
    EXPECT_FALSE(Read(kNew, 1).asLogical());
    // Written before the window is open: only the record changes.
    Write(kNew, 1, TypedValue::logical(true));
    EXPECT_TRUE(Read(kNew, 1).asLogical());

    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    platform::Hwnd frame = HandleOf(kWin);
    using Titles = std::vector<std::string>;
    EXPECT_EQ(platform::testing::MenuBarTitles(frame), (Titles{"文件", "编辑"}));
    platform::Menu bar = platform::GetMenu(frame);
    ASSERT_NE(bar, platform::Menu::Null);

    // The same values again: nothing is rebuilt.
    static const char kFileCaption[] = "文件";
    Write(kFile, 0, TypedValue::text(kFileCaption));
    Write(kFile, 3, TypedValue::logical(true));
    Write(kEdit, 2, TypedValue::integer(7));
    Write(kHelp, 1, TypedValue::logical(false));
    EXPECT_EQ(platform::GetMenu(frame), bar);

    Write(kHelp, 3, TypedValue::logical(true));
    EXPECT_NE(platform::GetMenu(frame), bar);
    EXPECT_FALSE(platform::IsMenu(bar)); // the old bar is gone
    EXPECT_EQ(platform::testing::MenuBarTitles(frame), (Titles{"文件", "帮助", "编辑"}));
    static const char kRenamed[] = "档案";
    Write(kFile, 0, TypedValue::text(kRenamed));
    EXPECT_EQ(platform::testing::MenuBarTitles(frame), (Titles{"档案", "帮助", "编辑"}));
    Write(kFile, 3, TypedValue::logical(false));
    EXPECT_EQ(platform::testing::MenuBarTitles(frame), (Titles{"帮助", "编辑"}));
    EXPECT_EQ(ui::TheFramework().window(kWin)->open().menuBar, platform::GetMenu(frame));
}

TEST_F(PropertyAccess, KindPropertiesAreConvertedByTheirTypeCode)
{
    OpenWindow(kWin, {WindowRecord(kOwn), Box()});

    Write(kBox, 8, TypedValue::real64(7.9));
    EXPECT_EQ(box().state.integer, 7);
    TypedValue integer = Read(kBox, 8);
    EXPECT_TRUE(integer.is(runtime::ValueType::Int));
    EXPECT_EQ(integer.asInt(), 7);

    Write(kBox, 9, TypedValue::integer(5));
    EXPECT_TRUE(box().state.logical);
    TypedValue logical = Read(kBox, 9);
    EXPECT_TRUE(logical.is(runtime::ValueType::Logical));
    EXPECT_EQ(logical.payload, 1u);
    Write(kBox, 9, TypedValue::logical(false));
    EXPECT_FALSE(box().state.logical);

    Write(kBox, 10, TypedValue::integer(12));
    EXPECT_EQ(box().state.text, "12");
    EXPECT_EQ(ReadText(kBox, 10), "12");

    const Bytes data = {1, 2, 0, 3};
    std::uint8_t* block = runtime::NewBytes(data);
    Write(kBox, 12, TypedValue::bytes(block));
    runtime::Free(block);
    EXPECT_EQ(box().state.bytes, data);
    EXPECT_EQ(ReadBytes(kBox, 12), data);
}

TEST_F(PropertyAccess, FontsBecomeFontDescriptionsAndFieldsCanBeReadAndWritten)
{
    OpenWindow(kWin, {WindowRecord(kOwn), Box()});
    const int dpi = platform::LogPixelsY();

    runtime::FontValue record;
    record.bold = 1;
    record.italic = 1;
    record.pointSize = 12;
    record.faceName = "黑体";
    Write(kBox, 11, TypedValue::pointer(runtime::ValueType::Font, &record));
    const platform::LogFont& f = box().state.font;
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.italic, 1);
    EXPECT_EQ(f.underline, 0);
    EXPECT_EQ(f.height, -((12 * dpi + 36) / 72));
    EXPECT_STREQ(f.faceName.data(), "黑体");

    EXPECT_TRUE(Read(kBox, 11, 1).asLogical());
    EXPECT_TRUE(Read(kBox, 11, 2).asLogical());
    EXPECT_FALSE(Read(kBox, 11, 3).asLogical());
    EXPECT_EQ(Read(kBox, 11, 5).asInt(), 12);
    EXPECT_EQ(ReadText(kBox, 11, 6), "黑体");
    TypedValue whole = Read(kBox, 11);
    ASSERT_TRUE(whole.is(runtime::ValueType::Font));
    const auto* back = static_cast<const runtime::FontValue*>(whole.asPointer());
    EXPECT_EQ(back->pointSize, 12);
    EXPECT_EQ(back->bold, 1);
    EXPECT_EQ(runtime::TextOf(back->faceName), "黑体");
    runtime::FreeValue(whole);

    // One field written: the others stay.
    Write(kBox, 11, TypedValue::logical(false), 1);
    EXPECT_EQ(box().state.font.weight, 0);
    EXPECT_EQ(box().state.font.italic, 1);
    EXPECT_STREQ(box().state.font.faceName.data(), "黑体");
    Write(kBox, 11, TypedValue::integer(24), 5);
    EXPECT_EQ(box().state.font.height, -((24 * dpi + 36) / 72));

    // No face, or one too long for the record: the default face.
    record.faceName = nullptr;
    Write(kBox, 11, TypedValue::pointer(runtime::ValueType::Font, &record));
    EXPECT_STREQ(box().state.font.faceName.data(), "宋体");
    const std::string longest(31, 'A'), tooLong(32, 'A');
    record.faceName = longest.c_str();
    Write(kBox, 11, TypedValue::pointer(runtime::ValueType::Font, &record));
    EXPECT_EQ(std::string(box().state.font.faceName.data()), longest);
    record.faceName = tooLong.c_str();
    Write(kBox, 11, TypedValue::pointer(runtime::ValueType::Font, &record));
    EXPECT_STREQ(box().state.font.faceName.data(), "宋体");
}

TEST_F(PropertyAccess, APropertyThatNeedsANewWindowRecreatesTheUnitInPlace)
{
    auto before = BoxRecord(kBox2, "前", 0, 0, 20, 20);
    auto after = BoxRecord(kBox3, "后", 0, 0, 20, 20);
    OpenWindow(kWin, {WindowRecord(kOwn), before, Box(), after});
    platform::Hwnd frame = HandleOf(kWin);
    platform::Hwnd old = HandleOf(kWin, kBox);
    platform::MoveWindow(old, 12, 13, 80, 30);
    int control = platform::GetDlgCtrlID(old);
    auto order = platform::GetChildWindows(frame);
    auto position = std::find(order.begin(), order.end(), old) - order.begin();

    Write(kBox, 13, TypedValue::integer(9));
    platform::Hwnd now = HandleOf(kWin, kBox);
    ASSERT_TRUE(platform::IsWindow(now));
    EXPECT_NE(now, old);
    EXPECT_FALSE(platform::IsWindow(old));
    // Made again from the settings the old unit wrote out.
    EXPECT_EQ(box().state.integer, 9);
    EXPECT_EQ(box().state.recreations, 1);
    EXPECT_EQ(platform::GetDlgCtrlID(now), control);
    EXPECT_EQ(platform::GetWindowRectInParent(now), platform::Rect::fromSize(12, 13, 80, 30));
    EXPECT_TRUE(platform::GetWindowStyle(now) & platform::WS_VISIBLE);
    order = platform::GetChildWindows(frame);
    EXPECT_EQ(std::find(order.begin(), order.end(), now) - order.begin(), position);

    Write(kBox, 13, TypedValue::integer(4));
    EXPECT_EQ(box().state.recreations, 2);
}

using PropertyAccessDeathTest = PropertyAccess;

TEST_F(PropertyAccessDeathTest, FailuresAreRuntimeErrors)
{
    namespace et = runtime::error_text;
    static const char kAbc[] = "abc";
    AddWindow(kWin, {WindowRecord(kOwn), Box()});
    // The window is in the table but not open.
    EXPECT_RUNTIME_ERROR(Read(kBox, 8), et::kReadWindowNotLoaded);
    EXPECT_RUNTIME_ERROR(Write(kBox, 8, TypedValue::integer(1)), et::kWriteWindowNotLoaded);
    EXPECT_RUNTIME_ERROR(runtime::ReadProperty(0x52FFFFFF, kBox, 0), et::kPropertyWindowNotLoaded);
    EXPECT_RUNTIME_ERROR(runtime::WriteProperty(0x52FFFFFF, kBox, 0, -1, TypedValue::integer(1)),
                         et::kPropertyWindowNotLoaded);
    EXPECT_RUNTIME_ERROR(Read(0x16FFFFFF, 0), et::kUnitNotLoaded);

    ASSERT_TRUE(ui::TheFramework().openWindow(kWin, nullptr, false));
    EXPECT_RUNTIME_ERROR(Write(kBox, 8, TypedValue::text(kAbc)), et::kNotNumeric);
    EXPECT_RUNTIME_ERROR(Write(kBox, 1, TypedValue::text(kAbc)), et::kNotNumeric);
}

} // namespace
