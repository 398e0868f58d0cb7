// The main window's tree load of 2,000 categories in three levels (20
// top-level, 9 under each, 10 under each of those), keys ascending, in one
// run beside what it cannot do without:
//
//   LoadThroughHandler      the handler: query, placement, TreeBox.AddItem
//                           and ExpandItem per row, paced repaints
//   ReadAndBuildDirectly    the same query through the database unit, then
//                           the tree built in the platform control by handle
//   BuildDirectly           only the control build, from rows read before
//   LoadAsFirstWritten      the load as it was first written: each row's
//                           parent found by reading every earlier item's
//                           data, and a repaint after every row
//
// The catalogue runs in-process with its main window open (offscreen).

#include "app/catalogue/catalogue_database.h"
#include "app/catalogue_support.h"
#include "app/handlers/catalogue_views.h"
#include "app/ids.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "support/test_kinds.h"
#include "ui/framework/framework.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using app::catalogue::NodeRow;

constexpr int kTop = 20, kChildren = 9, kGrandchildren = 10;
constexpr int kNodes = kTop * (1 + kChildren * (1 + kGrandchildren));
static_assert(kNodes == 2000);

std::vector<cataloguetest::NodeRow> nodes()
{
    // Level by level, so every parent's key is below its children's.
    std::vector<std::pair<int, int>> links; // key, parent key
    auto add = [&](int parent) {
        links.push_back({int(links.size()) + 1, parent});
        return int(links.size());
    };
    std::vector<int> tops, children;
    for (int a = 0; a < kTop; ++a)
        tops.push_back(add(0));
    for (int top : tops)
        for (int b = 0; b < kChildren; ++b)
            children.push_back(add(top));
    for (int child : children)
        for (int c = 0; c < kGrandchildren; ++c)
            add(child);
    static std::vector<std::string> names; // the rows point at them
    names.clear();
    for (auto [key, parent] : links)
        names.push_back("分类 " + std::to_string(key));
    std::vector<cataloguetest::NodeRow> rows;
    for (auto [key, parent] : links)
        rows.push_back({key, names[std::size_t(key - 1)].c_str(), parent, key % 12});
    return rows;
}

bool prepare()
{
    static const bool ready = [] {
        setenv("ODBCSYSINI", VELMORA_ODBC_ETC, 0);
        if (!cataloguetest::WriteCatalogue(nodes(), {}))
            return false;
        cataloguetest::StartCatalogueInProcess();
        return ui::TheFramework().openWindow(app::ids::kMainWindow.window, nullptr, false);
    }();
    return ready;
}

platform::Hwnd treeHandle()
{
    return testsupport::HandleOf(app::ids::kMainWindow.window, app::ids::kTree);
}

void buildDirectly(platform::Hwnd tree, const std::vector<NodeRow>& rows)
{
    platform::TreeView_DeleteAllItems(tree);
    std::unordered_map<std::int32_t, platform::TreeItem> byKey;
    for (const NodeRow& n : rows) {
        platform::TreeItem parent = platform::TreeItem::Null;
        if (auto it = byKey.find(n.parentKey); n.parentKey != 0 && it != byKey.end())
            parent = it->second;
        platform::TreeViewItem item{.mask = platform::TVIF_TEXT | platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE |
                                            platform::TVIF_PARAM,
                                    .text = n.name,
                                    .image = n.image,
                                    .selectedImage = n.selectedImage,
                                    .param = n.key};
        platform::TreeItem added = platform::TreeView_InsertItem(tree, parent, item);
        byKey.try_emplace(n.key, added);
        if (parent != platform::TreeItem::Null)
            platform::TreeView_Expand(tree, parent, platform::TVE_EXPAND);
    }
    platform::UpdateWindow(tree);
}

void LoadThroughHandler(benchmark::State& state)
{
    if (!prepare())
        return state.SkipWithError("cannot prepare the catalogue");
    for (auto _ : state)
        app::LoadCategoryTree();
    state.counters["items"] = double(platform::TreeView_GetCount(treeHandle()));
}
BENCHMARK(LoadThroughHandler)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ReadAndBuildDirectly(benchmark::State& state)
{
    if (!prepare())
        return state.SkipWithError("cannot prepare the catalogue");
    platform::Hwnd tree = treeHandle();
    for (auto _ : state) {
        std::optional<std::vector<NodeRow>> rows = app::catalogue::LoadNodes();
        buildDirectly(tree, rows ? *rows : std::vector<NodeRow>{});
    }
    state.counters["items"] = double(platform::TreeView_GetCount(tree));
}
BENCHMARK(ReadAndBuildDirectly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BuildDirectly(benchmark::State& state)
{
    if (!prepare())
        return state.SkipWithError("cannot prepare the catalogue");
    platform::Hwnd tree = treeHandle();
    std::optional<std::vector<NodeRow>> rows = app::catalogue::LoadNodes();
    for (auto _ : state)
        buildDirectly(tree, rows ? *rows : std::vector<NodeRow>{});
    state.counters["items"] = double(platform::TreeView_GetCount(tree));
}
BENCHMARK(BuildDirectly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void LoadAsFirstWritten(benchmark::State& state)
{
    if (!prepare())
        return state.SkipWithError("cannot prepare the catalogue");
    const app::TreeBox& tree = app::kCategoryTree;
    for (auto _ : state) {
        std::optional<std::vector<NodeRow>> rows = app::catalogue::LoadNodes();
        tree.clear();
        for (const NodeRow& n : rows ? *rows : std::vector<NodeRow>{}) {
            int parent = -1;
            if (n.parentKey != 0)
                for (int i = 0, m = tree.itemCount(); i < m; ++i)
                    if (tree.itemData(i) == n.parentKey) {
                        parent = i;
                        break;
                    }
            tree.addItem(parent, n.name, n.image, n.selectedImage, n.key);
            tree.expand(parent);
            app::RefreshDisplay(tree);
        }
    }
    state.counters["items"] = double(platform::TreeView_GetCount(treeHandle()));
}
BENCHMARK(LoadAsFirstWritten)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
