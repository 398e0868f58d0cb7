#include "app/handlers/catalogue_views.h"

#include "app/app_state.h"
#include "app/catalogue/catalogue_database.h"
#include "app/catalogue/node_placement.h"

#include <chrono>

namespace app {
namespace {

// A long load repaints the tree as it grows, but not after every item: a
// full repaint costs far more than adding an item.
class RepaintPacing {
public:
    explicit RepaintPacing(const Unit& unit) : m_unit(unit) {}
    void itemAdded()
    {
        auto now = Clock::now();
        if (now - m_last < kInterval)
            return;
        RefreshDisplay(m_unit);
        m_last = Clock::now();
    }
    void finished() const { RefreshDisplay(m_unit); }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kInterval = std::chrono::milliseconds(100);
    const Unit& m_unit;
    Clock::time_point m_last = Clock::now();
};

struct EntryColumn {
    const char* caption;
    int width;
};

// Width 0 hides a column that still holds what the handlers read back:
// 1 the title, 4 the entry's key.
constexpr EntryColumn kEntryColumns[] = {
    {"网址", 0}, {"标题", 100}, {"描述", 425}, {"详细", 0}, {"唯一标识符", 0},
};

} // namespace

void LoadCategoryTree()
{
    std::optional<std::vector<catalogue::NodeRow>> nodes = catalogue::LoadNodes();
    if (!nodes)
        return;
    kCategoryTree.clear();
    std::vector<catalogue::NodeLink> links;
    links.reserve(nodes->size());
    for (const catalogue::NodeRow& n : *nodes)
        links.push_back({.key = n.key, .parentKey = n.parentKey});
    std::vector<int> parents = catalogue::PlaceNodes(links);
    RepaintPacing pacing(kCategoryTree);
    for (std::size_t i = 0; i < nodes->size(); ++i) {
        const catalogue::NodeRow& n = (*nodes)[i];
        kCategoryTree.addItem(parents[i], n.name, n.image, n.selectedImage, n.key);
        if (parents[i] >= 0)
            kCategoryTree.expand(parents[i]);
        pacing.itemAdded();
    }
    pacing.finished();
}

std::string CurrentCategoryName()
{
    return kCategoryTree.itemText(kCategoryTree.currentItem());
}

void ShowCurrentCategory()
{
    kEntryList.deleteAllRows();
    State().listMode.set(kEntriesListed);
    for (int n = kEntryList.columnCount(); n > 0; --n)
        kEntryList.deleteColumn(0);
    for (const EntryColumn& c : kEntryColumns)
        kEntryList.appendColumn(c.caption, c.width);
    RefreshEntries();
}

void RefreshEntries()
{
    if (State().listMode.get() != kEntriesListed)
        return;
    kEntryList.deleteAllRows();
    for (const catalogue::EntryRow& e : catalogue::ListEntries(CurrentCategoryName())) {
        int row = kEntryList.appendRow();
        kEntryList.setCellText(row, kTitleColumn, e.code);
        kEntryList.setCellText(row, kDescriptionColumn, e.description);
        kEntryList.setCellText(row, kDetailsColumn, e.details);
        kEntryList.setCellText(row, kKeyColumn, std::to_string(e.key));
    }
}

} // namespace app
