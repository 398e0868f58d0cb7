// The template block: what is written reads back the same, every kind of
// damage is refused with a message, and handler references resolve only
// to entries of the handler table.

#include "template_compare.h"
#include "template_samples.h"

#include "platform/icon.h"
#include "runtime/handler.h"
#include "ui/framework/property_conversion.h"
#include "ui/framework/template_block.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;
using templatetest::RichSample;
using templatetest::TemplateDifference;

constexpr std::uint32_t kEntry = sizeof(runtime::HandlerEntry);

std::uint32_t getU32(const Bytes& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

void putU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// Where the fields of the first window and its records lie in a written
// block.
struct Layout {
    std::size_t countAt, tableLengthAt, idsAt, offsetsAt, recordsAt;
    std::size_t records;

    explicit Layout(const std::vector<ui::WindowTemplate>& windows)
    {
        const ui::WindowTemplate& w = windows.front();
        countAt = 4 + 8 * windows.size() + 8 + 4 + w.firstText.size() + 4 + w.secondText.size();
        tableLengthAt = countAt + 4;
        idsAt = countAt + 8;
        records = w.records.size();
        offsetsAt = idsAt + 4 * records;
        recordsAt = offsetsAt + 4 * records;
    }
    std::size_t recordAt(const Bytes& b, std::size_t i) const { return recordsAt + getU32(b, offsetsAt + 4 * i); }
    // The child count field of a unit record (not a menu item).
    std::size_t childCountAt(const Bytes& b, std::size_t i, const ui::UnitRecord& u) const
    {
        (void)b;
        return recordAt(b, i) + 4 + 24 + u.name.size() + 1 + u.secondName.size() + 1 + 4 + 16 + 4 + 4;
    }
    std::size_t bindingCountAt(const Bytes& b, std::size_t i, const ui::UnitRecord& u) const
    {
        return childCountAt(b, i, u) + 4 + 4 * u.children.size() + 4 + u.cursorData.size() + u.tag.size() + 1 + 12;
    }
};

// The record positions in the rich sample.
constexpr std::size_t kMenuRecord = 1;
constexpr std::size_t kPageRecord = 6;
constexpr std::size_t kButtonRecord = 7;

TEST(TemplateBlock, WrittenBlocksReadBackTheSame)
{
    for (const templatetest::Sample& s : templatetest::Samples()) {
        Bytes block = ui::WriteTemplateBlock(s.windows);
        ui::TemplateParse parsed = ui::ParseTemplateBlock(block);
        ASSERT_EQ(parsed.error, "") << s.name;
        EXPECT_EQ(TemplateDifference(s.windows, parsed.windows), "") << s.name;
    }
    // A few fields read back by value, not only by comparison.
    ui::TemplateParse parsed = ui::ParseTemplateBlock(ui::WriteTemplateBlock(RichSample()));
    ASSERT_EQ(parsed.windows.size(), 1u);
    const auto& records = parsed.windows[0].records;
    EXPECT_EQ(records[kPageRecord].children, (std::vector<std::uint32_t>{0x16000021, 0x16000022, 0, 0x16000023,
                                                                         0x16000024}));
    EXPECT_EQ(records[kButtonRecord].name, "按钮_甲");
    EXPECT_EQ(records[kButtonRecord].tag, "标记");
    EXPECT_EQ(records[kButtonRecord].parentId, 0x16000020u);
    EXPECT_EQ(records[kMenuRecord + 1].caption, "新建");
    EXPECT_EQ(records[kMenuRecord + 1].shortcut, 14u);
    EXPECT_EQ(records[kMenuRecord + 4].level, 2);
    EXPECT_EQ(records[0].bindings[1].event, 12);
    EXPECT_EQ(records[0].bindings[1].handlerRef, kEntry);
}

TEST(TemplateBlock, EveryTruncationIsRefused)
{
    for (const templatetest::Sample& s : templatetest::Samples()) {
        Bytes block = ui::WriteTemplateBlock(s.windows);
        for (std::size_t n = 0; n < block.size(); ++n) {
            ui::TemplateParse parsed = ui::ParseTemplateBlock({block.data(), n});
            EXPECT_NE(parsed.error, "") << s.name << " cut at " << n;
            EXPECT_TRUE(parsed.windows.empty());
        }
    }
}

TEST(TemplateBlock, InconsistentBlocksAreRefusedWithAMessage)
{
    const std::vector<ui::WindowTemplate> windows = RichSample();
    const Bytes valid = ui::WriteTemplateBlock(windows);
    const Layout at(windows);
    const auto& rec = windows[0].records;

    struct Damage {
        const char* what;
        std::function<void(Bytes&)> apply;
    };
    const Damage damages[] = {
        {"directory length not a multiple of 8", [](Bytes& b) { putU32(b, 0, 12); }},
        {"directory past the end", [](Bytes& b) { putU32(b, 0, 0x7FFFFFF8); }},
        {"directory of two windows for one", [](Bytes& b) { putU32(b, 0, 16); }},
        {"unit count too large", [&](Bytes& b) { putU32(b, at.countAt, 0x40000000); }},
        {"unit count one more", [&](Bytes& b) { putU32(b, at.countAt, std::uint32_t(at.records + 1)); }},
        {"unit count one less", [&](Bytes& b) { putU32(b, at.countAt, std::uint32_t(at.records - 1)); }},
        {"unit count zero", [&](Bytes& b) { putU32(b, at.countAt, 0); }},
        {"table length short", [&](Bytes& b) { putU32(b, at.tableLengthAt, getU32(b, at.tableLengthAt) - 4); }},
        {"table length long", [&](Bytes& b) { putU32(b, at.tableLengthAt, getU32(b, at.tableLengthAt) + 4); }},
        {"record offset off by 4", [&](Bytes& b) { putU32(b, at.offsetsAt + 8, getU32(b, at.offsetsAt + 8) + 4); }},
        {"record offset back by 4", [&](Bytes& b) { putU32(b, at.offsetsAt + 8, getU32(b, at.offsetsAt + 8) - 4); }},
        {"first offset not 0", [&](Bytes& b) { putU32(b, at.offsetsAt, 4); }},
        {"record length past the window",
         [&](Bytes& b) { putU32(b, at.recordAt(b, at.records - 1), getU32(b, at.recordAt(b, at.records - 1)) + 1); }},
        {"record length huge", [&](Bytes& b) { putU32(b, at.recordAt(b, 2), 0xFFFFFFF0); }},
        {"record length short", [&](Bytes& b) { putU32(b, at.recordAt(b, 2), getU32(b, at.recordAt(b, 2)) - 1); }},
        {"first record not the own unit", [&](Bytes& b) { putU32(b, at.idsAt, 0x16000010); }},
        {"menu kind with a unit id",
         [&](Bytes& b) { putU32(b, at.recordAt(b, kPageRecord) + 4, 0x00010003); }},
        {"unit kind with a menu item id",
         [&](Bytes& b) { putU32(b, at.recordAt(b, kMenuRecord) + 4, 0x00010005); }},
        {"child count too large",
         [&](Bytes& b) { putU32(b, at.childCountAt(b, kPageRecord, rec[kPageRecord]), 0x3FFFFFFF); }},
        {"binding count too large",
         [&](Bytes& b) { putU32(b, at.bindingCountAt(b, kPageRecord, rec[kPageRecord]), 0x1FFFFFFF); }},
        {"first text past the end", [&](Bytes& b) { putU32(b, 4 + 8 + 8, 0x7FFFFFFF); }},
        {"one trailing byte", [](Bytes& b) { b.push_back(0); }},
        {"four trailing bytes", [](Bytes& b) { b.insert(b.end(), 4, 0); }},
    };
    for (const Damage& d : damages) {
        Bytes b = valid;
        d.apply(b);
        ASSERT_NE(b, valid) << d.what;
        ui::TemplateParse parsed = ui::ParseTemplateBlock(b);
        EXPECT_NE(parsed.error, "") << d.what;
        EXPECT_TRUE(parsed.windows.empty()) << d.what;
    }
}

TEST(TemplateBlock, WindowIdsMustAscend)
{
    auto samples = templatetest::Samples();
    const auto& three = samples[1].windows;
    ASSERT_EQ(three.size(), 3u);
    Bytes valid = ui::WriteTemplateBlock(three);
    Bytes swapped = valid;
    putU32(swapped, 4, getU32(valid, 8));
    putU32(swapped, 8, getU32(valid, 4));
    EXPECT_NE(ui::ParseTemplateBlock(swapped).error, "");
    Bytes equal = valid;
    putU32(equal, 8, getU32(valid, 4));
    EXPECT_NE(ui::ParseTemplateBlock(equal).error, "");
    // The reserved slots of the directory may hold anything.
    Bytes slots = valid;
    putU32(slots, 4 + 12, 0xDEADBEEF);
    EXPECT_EQ(ui::ParseTemplateBlock(slots).error, "");
}

TEST(TemplateBlock, EmptyTagAndZeroPointerBlockMeanNoTagAndTheDefaultPointer)
{
    auto windows = RichSample();
    ui::TemplateParse parsed = ui::ParseTemplateBlock(ui::WriteTemplateBlock(windows));
    ASSERT_EQ(parsed.error, "");
    const ui::UnitRecord& page = parsed.windows[0].records[kPageRecord];
    EXPECT_EQ(page.tag, "");
    EXPECT_EQ(page.cursorData, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(ui::CursorFromPointerData(page.cursorData), platform::Cursor::Null);
}

struct HandlerTableFixture {
    runtime::HandlerEntry entries[4] = {};
    ui::HandlerTable table() const { return {reinterpret_cast<const std::uint8_t*>(entries), sizeof entries}; }
};

TEST(TemplateBlock, HandlerReferencesResolveToTableEntriesOrNone)
{
    HandlerTableFixture h;
    auto windows = RichSample();
    std::string error;
    ASSERT_TRUE(ui::ResolveHandlers(windows[0], h.table(), error)) << error;
    const auto& records = windows[0].records;
    EXPECT_EQ(records[0].bindings[0].handler, &h.entries[0]);
    EXPECT_EQ(records[0].bindings[1].handler, &h.entries[1]);
    EXPECT_EQ(records[0].bindings[2].handler, nullptr); // -1
    EXPECT_EQ(records[kMenuRecord].clickHandler, nullptr);
    EXPECT_EQ(records[kMenuRecord + 4].clickHandler, &h.entries[2]);
    EXPECT_EQ(records[kPageRecord].handlerFor(-1), &h.entries[3]);

    for (std::uint32_t bad : {kEntry / 2, 4 * kEntry, 0x7FFFFFF0u, kEntry * 3 + 1}) {
        auto damaged = RichSample();
        damaged[0].records[kButtonRecord].bindings[0].handlerRef = bad;
        error.clear();
        EXPECT_FALSE(ui::ResolveHandlers(damaged[0], h.table(), error)) << bad;
        EXPECT_NE(error, "");
    }
    auto noTable = RichSample();
    EXPECT_FALSE(ui::ResolveHandlers(noTable[0], {nullptr, 0}, error));
}

TEST(TemplateBlock, ReadingMakesLoadedWindowsOrNothing)
{
    HandlerTableFixture h;
    auto samples = templatetest::Samples();
    Bytes block = ui::WriteTemplateBlock(samples[1].windows);
    ui::TemplateReadResult read = ui::ReadTemplateBlock(block, h.table());
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.windows.size(), 3u);
    ui::LoadedWindow& first = *read.windows[0];
    EXPECT_EQ(first.id(), samples[1].windows[0].id);
    EXPECT_EQ(first.programSetId(), samples[1].windows[0].programSetId);
    EXPECT_EQ(first.firstText, "窗口一");
    EXPECT_EQ(first.secondText, "备注");
    EXPECT_EQ(first.find(0), &first.ownUnit());
    EXPECT_EQ(first.indexOf(0x16000041), 1);
    EXPECT_EQ(first.indexOf(0x16000099), -1);
    EXPECT_EQ(read.windows[1]->reserved, -1);
    EXPECT_EQ(read.windows[1]->menuPosition(0x26000051), 0);
    EXPECT_EQ(read.windows[1]->menuPosition(0x16000052), -1);

    // One bad reference anywhere and no window is loaded.
    auto bad = samples[1].windows;
    bad[2].records[0].bindings.push_back({0, 5 * kEntry});
    read = ui::ReadTemplateBlock(ui::WriteTemplateBlock(bad), h.table());
    EXPECT_NE(read.error, "");
    EXPECT_TRUE(read.windows.empty());
}

} // namespace
