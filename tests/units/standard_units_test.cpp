// The EditBox, Button, ComboBox and PicBox through the framework: made
// from their stored data, driven with real input, read and written by
// property number.

#include "support/unit_fixture.h"

#include "platform/button.h"
#include "platform/combo_box.h"
#include "platform/edit.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/memory.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"
#include "ui/units/button_data.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/pic_box_unit.h"
#include "ui/units/standard_kinds.h"

#include <fstream>
#include <iterator>

namespace {

using namespace unittest;
using platform::Hwnd;
using runtime::TypedValue;
namespace pt = platform::testing;

std::vector<std::uint8_t> fileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class StandardUnits : public UnitTest {
protected:
    StandardUnits()
        : UnitTest({{1, {{5, &ui::kEditBoxKind}, {6, &ui::kPicBoxKind}, {11, &ui::kButtonKind}, {14, &ui::kComboBoxKind}}}})
    {
    }
    Hwnd openUnit(ui::UnitKindId kind, std::vector<std::uint8_t> data, std::initializer_list<std::int32_t> noted = {},
                  platform::Rect at = platform::Rect::fromSize(10, 10, 240, 120))
    {
        ui::UnitRecord r = unitRecord(kind.value, std::move(data), at);
        note(r, noted);
        return open({std::move(r)});
    }
    ui::UnitObject* object() const { return ui::TheFramework().unitRecord(kWindowId, kUnitId)->object; }
};

TEST_F(StandardUnits, ANewerVersionMakesNoWindow)
{
    struct Kind {
        ui::UnitKindId id;
        std::uint32_t newest;
    };
    for (Kind k : {Kind{ui::kinds::EditBox, ui::EditBoxData::kMaxVersion}, {ui::kinds::Button, ui::ButtonData::kMaxVersion},
                   {ui::kinds::ComboBox, ui::ComboBoxData::kMaxVersion}, {ui::kinds::PicBox, ui::PicBoxData::kMaxVersion}}) {
        std::vector<std::uint8_t> block = {std::uint8_t(k.newest + 1), 0, 0, 0};
        openUnit(k.id, block);
        EXPECT_EQ(object(), nullptr) << k.id.value;
        TearDown();
        SetUp();
    }
}

TEST_F(StandardUnits, AnEditBoxTakesTwentyBytesOfText)
{
    ui::EditBoxData d;
    d.maxLength = 20;
    d.alignment = 1;
    d.text = "名";
    Hwnd edit = openUnit(ui::kinds::EditBox, d.Write(), {0});
    EXPECT_EQ(platform::GetClassName(edit), "EDIT");
    EXPECT_TRUE(platform::GetWindowStyle(edit) & platform::ES_CENTER);
    EXPECT_EQ(TakeText(read(8)), "名");

    // Ten Chinese characters are twenty bytes: one more does not fit.
    write(8, Text(""));
    EXPECT_TRUE(events().empty()) << "writing the text is no change by the user";
    platform::SetFocus(edit);
    pt::TypeText(edit, "一二三四五六七八九十百");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return TakeText(read(8)) == "一二三四五六七八九十"; }));
    EXPECT_FALSE(eventsOf(0).empty());
    // ASCII counts one byte a character.
    write(8, Text(""));
    pt::TypeText(edit, "abcdefghijklmnopqrstuvwxyz");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return TakeText(read(8)) == "abcdefghijklmnopqrst"; }));
}

TEST_F(StandardUnits, AnEditBoxAnswersItsColoursAndStyles)
{
    ui::EditBoxData d;
    d.multiLine = true;
    d.inputMode = 1;
    d.textColor = 0x0000FF;
    d.backgroundColor = 0x00FF00;
    Hwnd edit = openUnit(ui::kinds::EditBox, d.Write());
    std::uint32_t style = platform::GetWindowStyle(edit);
    EXPECT_TRUE(style & platform::ES_MULTILINE);
    EXPECT_TRUE(style & platform::ES_WANTRETURN);
    EXPECT_TRUE(style & platform::ES_READONLY);
    // The parent's colour request reaches the unit, which answers with its
    // colours and a brush of its background.
    platform::Rect client = platform::GetClientRect(edit);
    testsupport::Pump(50);
    EXPECT_EQ(pt::ClientPixel(edit, {client.right / 2, client.bottom - 4}), platform::Rgb(0, 255, 0));
}

TEST_F(StandardUnits, AButtonClicksAndShowsItsPicture)
{
    ui::ButtonData d;
    d.caption = "保存&更新";
    d.type = 1;
    Hwnd button = openUnit(ui::kinds::Button, d.Write(), {0});
    EXPECT_EQ(platform::GetWindowText(button), "保存&更新");
    EXPECT_TRUE(platform::GetWindowStyle(button) & platform::BS_DEFPUSHBUTTON);
    pt::Click(button, {20, 10});
    ASSERT_TRUE(testsupport::PumpUntil([&] { return eventsOf(0).size() == 1; }));

    // A picture that decodes makes a bitmap button; one that does not
    // leaves the caption.
    for (auto [picture, bitmap] : {std::pair{fileBytes(VELMORA_SOURCE_DIR "/app/assets/window.png"), true},
                                   std::pair{std::vector<std::uint8_t>{'B', 'M', 1, 2, 3, 4, 5, 6, 7}, false}}) {
        TearDown();
        SetUp();
        d.picture = picture;
        button = openUnit(ui::kinds::Button, d.Write());
        EXPECT_EQ(bool(platform::GetWindowStyle(button) & platform::BS_BITMAP), bitmap);
    }
}

TEST_F(StandardUnits, AComboBoxSaysWhatWasChosenOnceItsListClosed)
{
    ui::ComboBoxData d;
    d.style = 1;
    d.itemTexts = {"PY", "C#", ".Net", "其他"};
    d.itemData = {10, 11};
    d.initialSelection = 0x00FFFFFF;
    Hwnd combo = openUnit(ui::kinds::ComboBox, d.Write(), {0, 2, 3});
    // The stored selection is clamped to the last item.
    EXPECT_EQ(read(19).asInt(), 3);
    EXPECT_EQ(platform::GetWindowText(combo), "其他");
    EXPECT_EQ(platform::ComboBox_GetItemData(combo, 1), 11);
    EXPECT_EQ(platform::ComboBox_GetItemData(combo, 2), 0);
    // The list drops to the bottom of the 160 pixels a drop-down is given
    // at least, whatever smaller height the unit stored.
    EXPECT_EQ(platform::ComboBox_GetDroppedControlRect(combo).height(),
              160 - platform::GetWindowRectInParent(combo).height());

    // Written, the selection raises nothing.
    write(19, Int(1));
    EXPECT_EQ(read(19).asInt(), 1);
    EXPECT_TRUE(eventsOf(0).empty());

    // Chosen by the user: event 0 once, after the list closed, and the
    // handler reads the new index.
    std::vector<std::int32_t> seenInHandler;
    platform::SetFocus(combo);
    pt::Key(combo, platform::VK_DOWN, pt::kAlt);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return platform::ComboBox_GetDroppedState(combo); }));
    EXPECT_EQ(eventsOf(2).size(), 1u);
    pt::Key(combo, platform::VK_DOWN);
    pt::Key(combo, platform::VK_RETURN);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !eventsOf(0).empty(); }));
    testsupport::Pump(50);
    EXPECT_EQ(eventsOf(0).size(), 1u);
    EXPECT_FALSE(platform::ComboBox_GetDroppedState(combo));
    EXPECT_EQ(read(19).asInt(), 2);
    // The list had closed before the choice was told.
    ASSERT_FALSE(eventsOf(3).empty());
    std::size_t closed = 0, chosen = 0;
    for (std::size_t i = 0; i < events().size(); ++i) {
        if (events()[i].event == 3)
            closed = i;
        if (events()[i].event == 0)
            chosen = i;
    }
    EXPECT_LT(closed, chosen);
}

TEST_F(StandardUnits, APicBoxShowsTheAboutPictureScaledAndCentred)
{
    ui::PicBoxData d;
    d.displayMode = 2;
    d.backgroundColor = 0x0000FF;
    d.picture = fileBytes(VELMORA_SOURCE_DIR "/app/assets/about.jpg");
    Hwnd box = openUnit(ui::kinds::PicBox, d.Write(), {}, platform::Rect::fromSize(5, 5, 240, 248));
    EXPECT_EQ(platform::GetClassName(box), "_VX_PicBox");
    auto* unit = dynamic_cast<ui::PicBoxUnit*>(object());
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->frameCount(), 1u);
    testsupport::Pump(50);
    // Four rows of background above the 240-pixel square, four below.
    EXPECT_EQ(pt::ClientPixel(box, {120, 1}), platform::Rgb(255, 0, 0));
    EXPECT_EQ(pt::ClientPixel(box, {120, 246}), platform::Rgb(255, 0, 0));
    EXPECT_NE(pt::ClientPixel(box, {120, 124}), platform::Rgb(255, 0, 0));

    // Modes and borders outside their ranges are clamped.
    write(11, Int(7));
    EXPECT_EQ(read(11).asInt(), 2);
    write(8, Int(-1));
    EXPECT_EQ(read(8).asInt(), 0);
    // A picture of fewer than 8 bytes is none: the background only.
    std::vector<std::uint8_t> shortPicture = {0xFF, 0xD8, 0xFF, 0xE0};
    write(10, TypedValue::bytes(runtime::NewBytes(shortPicture)));
    EXPECT_EQ(unit->frameCount(), 0u);
    testsupport::Pump(50);
    EXPECT_EQ(pt::ClientPixel(box, {120, 124}), platform::Rgb(255, 0, 0));
}

TEST_F(StandardUnits, AnAnimatedPictureStepsThroughItsFramesUntilStopped)
{
    ui::PicBoxData d;
    d.animation = 1;
    d.picture = fileBytes(VELMORA_SOURCE_DIR "/tests/platform/pictures/gif_animated.gif");
    Hwnd box = openUnit(ui::kinds::PicBox, d.Write(), {}, platform::Rect::fromSize(5, 5, 40, 40));
    auto* unit = dynamic_cast<ui::PicBoxUnit*>(object());
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->frameCount(), 4u);
    ASSERT_TRUE(unit->animating());
    testsupport::Pump(20);
    // (2, 2) lies in the second frame's rectangle, drawn over the first.
    platform::ColorRef first = pt::ClientPixel(box, {2, 2});

    std::vector<std::size_t> seen{unit->currentFrame()};
    platform::ColorRef second = first;
    ASSERT_TRUE(testsupport::PumpUntil([&] {
        if (unit->currentFrame() != seen.back()) {
            seen.push_back(unit->currentFrame());
            if (seen.size() == 2) {
                testsupport::Pump(10);
                second = pt::ClientPixel(box, {2, 2});
            }
        }
        return seen.size() == 3;
    }));
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_NE(second, first);

    // Stopped, the picture stays where it is; the fourth frame is due
    // 300 ms after the third.
    write(12, Int(0));
    EXPECT_FALSE(unit->animating());
    std::size_t stopped = unit->currentFrame();
    testsupport::Pump(500);
    EXPECT_EQ(unit->currentFrame(), stopped);
}

} // namespace
