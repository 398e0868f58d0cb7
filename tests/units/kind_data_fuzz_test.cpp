// Damaged blocks: every reader is fed random mutations of valid blocks.  A
// reader must never read out of range (run under the sanitizers to see it)
// and whatever it accepts must write back to a block it reads the same way.
#include "kind_data_checks.h"

#include "ui/ext/list_view_data.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/trans_label_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/units/button_data.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/window_kind_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using kindtest::Bytes;

// Parses a block and writes the result again; nullopt when rejected.
using Rewrite = std::function<std::optional<Bytes>(std::span<const std::uint8_t>)>;

template<typename Codec>
Rewrite CodecRewrite()
{
    return [](std::span<const std::uint8_t> b) -> std::optional<Bytes> {
        auto d = Codec::Read(b);
        return d ? std::optional(d->Write()) : std::nullopt;
    };
}

template<auto ReadRecords, auto WriteRecords>
Rewrite RecordsRewrite()
{
    return [](std::span<const std::uint8_t> b) -> std::optional<Bytes> {
        auto r = ReadRecords(b);
        return r ? std::optional(WriteRecords(*r)) : std::nullopt;
    };
}

Bytes Mutate(Bytes b, std::mt19937& rng)
{
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
    int edits = 1 + int(pick(3));
    for (int i = 0; i < edits && !b.empty(); ++i) {
        std::size_t at = pick(b.size() - 1);
        switch (pick(4)) {
        case 0: b[at] ^= std::uint8_t(1u << pick(7)); break;
        case 1: b[at] = 0xFF; break;
        case 2: b[at] = 0; break;
        case 3: b.resize(at); break;
        default: b.insert(b.begin() + std::ptrdiff_t(at), std::uint8_t(pick(255))); break;
        }
    }
    return b;
}

void Fuzz(const char* name, const Rewrite& rewrite, const Bytes& valid)
{
    SCOPED_TRACE(name);
    ASSERT_TRUE(rewrite(valid));
    std::mt19937 rng(0x5EED);
    int accepted = 0;
    for (int i = 0; i < 3000; ++i) {
        Bytes damaged = Mutate(valid, rng);
        std::optional<Bytes> once = rewrite(damaged);
        if (!once)
            continue;
        ++accepted;
        std::optional<Bytes> twice = rewrite(*once);
        ASSERT_TRUE(twice) << "accepted block " << i << " does not read back";
        ASSERT_EQ(*twice, *once) << "accepted block " << i << " reads back differently";
    }
    // Flipped bits inside numbers leave many blocks readable; a reader that
    // rejects everything would not be tested at all.
    EXPECT_GT(accepted, 0);
}

TEST(KindDataFuzz, UnitCodecs)
{
    ui::WindowKindData window;
    window.icon = Bytes(40, 1);
    window.caption = "Velmora v1.0";
    Fuzz("window", CodecRewrite<ui::WindowKindData>(), window.Write());

    ui::EditBoxData edit;
    edit.text = "内容";
    edit.font = Bytes(60, 2);
    Fuzz("edit box", CodecRewrite<ui::EditBoxData>(), edit.Write());

    ui::ButtonData button;
    button.caption = "添加";
    Fuzz("button", CodecRewrite<ui::ButtonData>(), button.Write());

    ui::ComboBoxData combo;
    combo.itemTexts = {"PY", "C#", "网络"};
    combo.itemData = {1, 2};
    Fuzz("combo box", CodecRewrite<ui::ComboBoxData>(), combo.Write());

    ui::PicBoxData pic;
    pic.picture = Bytes{0xFF, 0xD8, 1, 2, 3, 4, 5, 6, 7};
    Fuzz("pic box", CodecRewrite<ui::PicBoxData>(), pic.Write());
}

TEST(KindDataFuzz, ExtendedCodecsAndRecords)
{
    std::vector<ui::TreeItemRecord> items(3);
    items[0].text = "根";
    items[1].depth = 2;
    items[2].bold = true;
    ui::TreeBoxData tree;
    tree.initialItems = ui::WriteInitialItems(items);
    Fuzz("tree box", CodecRewrite<ui::TreeBoxData>(), tree.Write());
    Fuzz("tree items", RecordsRewrite<ui::ReadInitialItems, ui::WriteInitialItems>(), tree.initialItems);

    std::vector<ui::ListColumn> columns(2);
    columns[0].caption = "标题";
    std::vector<ui::ListCellRecord> cells(3);
    cells[1].startsRow = false;
    cells[2].tip = "提示";
    ui::ListViewData list;
    list.columns = ui::WriteColumns(columns);
    list.initialRows = ui::WriteInitialRows(cells);
    Fuzz("list view", CodecRewrite<ui::ListViewData>(), list.Write());
    Fuzz("list columns", RecordsRewrite<ui::ReadColumns, ui::WriteColumns>(), list.columns);
    Fuzz("list rows", RecordsRewrite<ui::ReadInitialRows, ui::WriteInitialRows>(), list.initialRows);

    ui::TransLabelData label;
    Fuzz("trans label", CodecRewrite<ui::TransLabelData>(), label.Write());

    std::vector<ui::PageRecord> pages(2);
    pages[0].caption = "1";
    pages[1].tip = "<b>2</b>";
    ui::PageControlData tabs;
    tabs.font = platform::LogFont{};
    tabs.pages = ui::WritePages(pages);
    Fuzz("page control", CodecRewrite<ui::PageControlData>(), tabs.Write());
    Fuzz("pages", RecordsRewrite<ui::ReadPages, ui::WritePages>(), tabs.pages);
}

} // namespace
