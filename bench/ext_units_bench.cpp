// The tree box and the list view against the platform controls they sit
// on, in one run: each unit benchmark has a twin that does the same work on
// the control directly, so the ratio of the two is what the unit costs.
//
//   TreeBoxThroughCommands / TreeControlDirect: 10,000 items in a tree of
//     three levels (25 x 19 x 20), each added by TreeBox.AddItem under its
//     parent's index, then TreeBox.GetItemData for every index.
//   ListViewThroughCommands / ListControlDirect: 100,000 rows, each
//     ListView.InsertRow and four ListView.SetCellText, then
//     ListView.DeleteAllRows.
//
// The commands are called as the runtime's command table calls them, with
// a unit reference first; both windows are shown (offscreen), so the views
// take their part of every change.

#include "platform/list_view.h"
#include "platform/tree_view.h"
#include "runtime/memory.h"
#include "support/test_kinds.h"
#include "ui/ext/ext_library.h"
#include "ui/ext/list_view_commands.h"
#include "ui/ext/list_view_data.h"
#include "ui/ext/tree_box_commands.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

namespace {

using runtime::TypedValue;

constexpr std::uint32_t kWindow = 0x52000801;
constexpr std::uint32_t kOwn = 0x06000801;
constexpr std::uint32_t kTree = 0x16000802;
constexpr std::uint32_t kList = 0x16000803;

constexpr int kTop = 25, kChildren = 19, kGrandchildren = 20;
constexpr int kTreeItems = kTop * (1 + kChildren * (1 + kGrandchildren));
static_assert(kTreeItems == 10000);
constexpr int kRows = 100'000;

bool openWindow()
{
    static const bool open = [] {
        testsupport::StartRuntimeInProcess();
        static std::array<ui::UnitKindDescriptor, 4> kinds{};
        kinds[0] = ui::kTreeBoxKind;
        kinds[3] = ui::kListViewKind;
        ui::TheFramework().addKindLibrary({ui::kinds::TreeBox.library(), kinds});
        ui::UnitRecord tree = testsupport::BoxRecord(kTree, "tree", 5, 5, 200, 400, ui::kinds::TreeBox.value);
        tree.kindData = ui::TreeBoxData{}.Write();
        ui::ListViewData listData;
        listData.view = 3;
        listData.columns = ui::WriteColumns(std::vector<ui::ListColumn>(5, ui::ListColumn{.width = 80}));
        ui::UnitRecord list = testsupport::BoxRecord(kList, "list", 210, 5, 500, 400, ui::kinds::ListView.value);
        list.kindData = listData.Write();
        testsupport::AddWindow(kWindow, {testsupport::WindowRecord(kOwn, 730, 430), tree, list});
        return ui::TheFramework().openWindow(kWindow, nullptr, false);
    }();
    return open;
}

TypedValue unit(std::uint32_t id, ui::UnitKindId kind)
{
    return TypedValue::unit({kWindow, id}, kind.value);
}

platform::Hwnd handleOf(std::uint32_t id)
{
    return testsupport::HandleOf(kWindow, id);
}

// The item texts, made once so both twins add the same.
const std::vector<std::string>& itemTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int i = 0; i < kTreeItems; ++i)
            t.push_back("分类 " + std::to_string(i));
        return t;
    }();
    return texts;
}

void TreeBoxThroughCommands(benchmark::State& state)
{
    if (!openWindow())
        return state.SkipWithError("the window did not open");
    const TypedValue tree = unit(kTree, ui::kinds::TreeBox);
    const auto& texts = itemTexts();
    long checksum = 0;
    for (auto _ : state) {
        ui::TreeBoxClear(std::span(&tree, 1));
        int n = 0;
        auto add = [&](int parent) {
            TypedValue args[] = {tree, TypedValue::integer(parent), TypedValue::text(texts[std::size_t(n)].c_str()),
                                 TypedValue::integer(n % 12), TypedValue::integer(n % 12), TypedValue::integer(n)};
            ++n;
            return ui::TreeBoxAddItem(args).asInt();
        };
        for (int a = 0; a < kTop; ++a) {
            int top = add(-1);
            for (int b = 0; b < kChildren; ++b) {
                int child = add(top);
                for (int c = 0; c < kGrandchildren; ++c)
                    add(child);
            }
        }
        for (int i = 0; i < kTreeItems; ++i) {
            TypedValue args[] = {tree, TypedValue::integer(i)};
            checksum += ui::TreeBoxGetItemData(args).asInt();
        }
    }
    benchmark::DoNotOptimize(checksum);
    state.counters["items"] = double(platform::TreeView_GetCount(handleOf(kTree)));
}
BENCHMARK(TreeBoxThroughCommands)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void TreeControlDirect(benchmark::State& state)
{
    if (!openWindow())
        return state.SkipWithError("the window did not open");
    platform::Hwnd tree = handleOf(kTree);
    const auto& texts = itemTexts();
    long checksum = 0;
    for (auto _ : state) {
        platform::TreeView_DeleteAllItems(tree);
        int n = 0;
        auto add = [&](platform::TreeItem parent) {
            platform::TreeViewItem item{.mask = platform::TVIF_TEXT | platform::TVIF_IMAGE |
                                                platform::TVIF_SELECTEDIMAGE | platform::TVIF_PARAM,
                                        .text = texts[std::size_t(n)],
                                        .image = n % 12,
                                        .selectedImage = n % 12,
                                        .param = n};
            ++n;
            return platform::TreeView_InsertItem(tree, parent, item);
        };
        for (int a = 0; a < kTop; ++a) {
            platform::TreeItem top = add(platform::TreeItem::Null);
            for (int b = 0; b < kChildren; ++b) {
                platform::TreeItem child = add(top);
                for (int c = 0; c < kGrandchildren; ++c)
                    add(child);
            }
        }
        for (int i = 0; i < kTreeItems; ++i) {
            platform::TreeViewItem item{.mask = platform::TVIF_PARAM,
                                        .item = platform::TreeView_GetItemAtPreorderIndex(tree, i)};
            platform::TreeView_GetItem(tree, item);
            checksum += item.param;
        }
    }
    benchmark::DoNotOptimize(checksum);
    state.counters["items"] = double(platform::TreeView_GetCount(tree));
}
BENCHMARK(TreeControlDirect)->Unit(benchmark::kMillisecond)->MinTime(2.0);

struct RowTexts {
    std::string code, description, details, key;
};

const std::vector<RowTexts>& rowTexts()
{
    static const std::vector<RowTexts> rows = [] {
        std::vector<RowTexts> r;
        for (int i = 0; i < kRows; ++i)
            r.push_back({"for (int i = 0; i < " + std::to_string(i) + "; ++i) total += values[i];",
                         "条目 " + std::to_string(i) + " 的描述", "详情", std::to_string(i)});
        return r;
    }();
    return rows;
}

void ListViewThroughCommands(benchmark::State& state)
{
    if (!openWindow())
        return state.SkipWithError("the window did not open");
    const TypedValue list = unit(kList, ui::kinds::ListView);
    const auto& rows = rowTexts();
    int inserted = 0;
    for (auto _ : state) {
        for (const RowTexts& r : rows) {
            int row = ui::ListViewInsertRow(std::span(&list, 1)).asInt();
            const std::string* cells[] = {&r.code, &r.description, &r.details, &r.key};
            for (int c = 0; c < 4; ++c) {
                TypedValue args[] = {list, TypedValue::integer(row), TypedValue::integer(c + 1),
                                     TypedValue::text(cells[c]->c_str())};
                ui::ListViewSetCellText(args);
            }
        }
        inserted = platform::ListView_GetItemCount(handleOf(kList));
        ui::ListViewDeleteAllRows(std::span(&list, 1));
    }
    state.counters["rows"] = double(inserted);
}
BENCHMARK(ListViewThroughCommands)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ListControlDirect(benchmark::State& state)
{
    if (!openWindow())
        return state.SkipWithError("the window did not open");
    platform::Hwnd list = handleOf(kList);
    const auto& rows = rowTexts();
    int inserted = 0;
    for (auto _ : state) {
        for (const RowTexts& r : rows) {
            platform::ListViewItem item{.mask = platform::LVIF_TEXT | platform::LVIF_IMAGE | platform::LVIF_PARAM |
                                                platform::LVIF_STATE | platform::LVIF_INDENT,
                                        .item = platform::ListView_GetItemCount(list)};
            int row = platform::ListView_InsertItem(list, item);
            const std::string* cells[] = {&r.code, &r.description, &r.details, &r.key};
            for (int c = 0; c < 4; ++c)
                platform::ListView_SetItemText(list, row, c + 1, *cells[c]);
        }
        inserted = platform::ListView_GetItemCount(list);
        platform::ListView_DeleteAllItems(list);
    }
    state.counters["rows"] = double(inserted);
}
BENCHMARK(ListControlDirect)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
