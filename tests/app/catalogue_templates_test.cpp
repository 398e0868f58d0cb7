// The template block the program carries, read back and held against the
// window descriptions and against what the catalogue's windows must be.

#include "runtime/handler.h"
#include "tools/template_compiler/compiler.h"
#include "ui/ext/list_view_data.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/trans_label_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/template_block.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/window_kind_data.h"

#include <gtest/gtest.h>

#include <map>

namespace app {
extern const std::uint8_t kTemplateBlock[];
extern const std::size_t kTemplateBlockSize;
} // namespace app

namespace {

const std::vector<std::string> kHandlerNames = {
#define VELMORA_HANDLER(name) #name,
#include "app/handlers.def"
#undef VELMORA_HANDLER
};

std::vector<ui::WindowTemplate> blockWindows()
{
    ui::TemplateParse parse = ui::ParseTemplateBlock({app::kTemplateBlock, app::kTemplateBlockSize});
    EXPECT_EQ(parse.error, "");
    return parse.windows;
}

const ui::WindowTemplate& windowOf(const std::vector<ui::WindowTemplate>& ws, std::uint32_t id)
{
    for (const auto& w : ws)
        if (w.id == id)
            return w;
    static const ui::WindowTemplate none;
    ADD_FAILURE() << "no window " << std::hex << id;
    return none;
}

const ui::UnitRecord& unitOf(const ui::WindowTemplate& w, std::uint32_t id)
{
    for (const auto& u : w.records)
        if (u.id == id)
            return u;
    static const ui::UnitRecord none;
    ADD_FAILURE() << "no unit " << std::hex << id;
    return none;
}

std::string handlerName(std::uint32_t ref)
{
    if (ref == ui::kNoHandler)
        return "-";
    return kHandlerNames.at(ref / sizeof(runtime::HandlerEntry));
}

std::map<std::int32_t, std::string> bindingsOf(const ui::UnitRecord& u)
{
    std::map<std::int32_t, std::string> m;
    for (const auto& b : u.bindings)
        m[b.event] = handlerName(b.handlerRef);
    return m;
}

struct Geometry {
    int left, top, width, height;
};

void expectGeometry(const ui::UnitRecord& u, Geometry g)
{
    EXPECT_EQ(u.left, g.left) << u.name;
    EXPECT_EQ(u.top, g.top) << u.name;
    EXPECT_EQ(u.width, g.width) << u.name;
    EXPECT_EQ(u.height, g.height) << u.name;
}

TEST(CatalogueTemplates, BlockIsWhatTheDescriptionsCompileTo)
{
    tc::CompileOptions options;
    options.assetDirectory = VELMORA_SOURCE_DIR "/app/assets";
    for (const char* name : {"main", "node", "content", "about"})
        options.descriptions.push_back(std::string(VELMORA_SOURCE_DIR "/app/windows/") + name + ".window");
    options.handlerNames = kHandlerNames;
    options.handlerEntrySize = sizeof(runtime::HandlerEntry);
    tc::CompiledWindows compiled = tc::CompileWindows(options);
    ASSERT_EQ(compiled.error, "");
    std::vector<std::uint8_t> block = ui::WriteTemplateBlock(compiled.windows);
    ASSERT_EQ(block.size(), app::kTemplateBlockSize);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), app::kTemplateBlock));
}

TEST(CatalogueTemplates, WindowsIdsAndFrames)
{
    auto ws = blockWindows();
    ASSERT_EQ(ws.size(), 4u);
    const std::uint32_t ids[] = {0x52010001, 0x52011EB2, 0x5201207C, 0x52012360};
    const std::uint32_t own[] = {0x06010000, 0x06011EB1, 0x0601207B, 0x06012361};
    const std::uint32_t sets[] = {0x19011E3F, 0x19011ECD, 0x1901208A, 0};
    const Geometry sizes[] = {{50, 50, 706, 453}, {50, 50, 428, 129}, {50, 50, 607, 261}, {50, 50, 487, 227}};
    const int borders[] = {2, 2, 2, 1};
    const bool minimize[] = {true, false, true, true};
    const char* captions[] = {"Velmora v1.0", "节点管理", "", ""};
    for (int i = 0; i < 4; ++i) {
        const auto& w = ws[std::size_t(i)];
        EXPECT_EQ(w.id, ids[i]);
        EXPECT_EQ(w.programSetId, sets[i]);
        ASSERT_FALSE(w.records.empty());
        EXPECT_EQ(w.records[0].id, own[i]);
        expectGeometry(w.records[0], sizes[i]);
        auto settings = ui::WindowKindData::Read(w.records[0].kindData);
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->version, 6u);
        EXPECT_EQ(settings->borderStyle, borders[i]);
        EXPECT_EQ(settings->minimizeButton, minimize[i]);
        EXPECT_FALSE(settings->maximizeButton);
        EXPECT_TRUE(settings->controlBox);
        EXPECT_EQ(settings->startPosition, 1);
        EXPECT_EQ(settings->backgroundColor, 0xFF000000u);
        EXPECT_EQ(settings->caption, captions[i]);
        EXPECT_EQ(settings->icon.size(), i == 3 ? 0u : 2462u);
    }
    EXPECT_EQ(ws[0].reserved, 8);
    EXPECT_EQ(ws[1].reserved, -1);
    EXPECT_EQ(ui::WindowKindData::Read(ws[1].records[0].kindData)->backgroundPlacement, 3);
}

TEST(CatalogueTemplates, MainWindowUnitsMenusAndBindings)
{
    auto ws = blockWindows();
    const auto& main = windowOf(ws, 0x52010001);
    EXPECT_EQ(bindingsOf(main.records[0]), (std::map<std::int32_t, std::string>{{0, "MainWindowLoaded"}, {2, "MainWindowDestroying"}}));

    const auto& db = unitOf(main, 0x160122E3);
    EXPECT_EQ(db.name, "外部数据库1");
    EXPECT_EQ(db.kindId, 0x0001002Eu);
    expectGeometry(db, {8, 8, 26, 26});

    const auto& tree = unitOf(main, 0x16011E33);
    EXPECT_EQ(tree.kindId, 0x00020001u);
    expectGeometry(tree, {8, 6, 160, 392});
    EXPECT_TRUE(tree.tabStop());
    auto treeData = ui::TreeBoxData::Read(tree.kindData);
    ASSERT_TRUE(treeData);
    EXPECT_FALSE(treeData->imageList.empty());
    EXPECT_EQ(bindingsOf(tree), (std::map<std::int32_t, std::string>{
                                    {0, "TreeSelectionChanged"}, {6, "TreeItemRightClicked"}, {-4, "TreeRightButtonDown"}}));

    const auto& list = unitOf(main, 0x16011E34);
    expectGeometry(list, {168, 5, 528, 392});
    auto listData = ui::ListViewData::Read(list.kindData);
    ASSERT_TRUE(listData);
    EXPECT_EQ(listData->view, 3);
    EXPECT_TRUE(listData->fullRowSelect);
    EXPECT_TRUE(listData->gridLines);
    EXPECT_TRUE(listData->singleSelection);
    EXPECT_TRUE(listData->alwaysShowSelection);
    EXPECT_EQ(listData->borderStyle, 5);
    EXPECT_EQ(listData->textColor, 0x800080u);
    EXPECT_EQ(listData->textBackgroundColor, 0xECECECu);
    EXPECT_EQ(listData->backgroundColor, 0xFFFFFFu);
    auto columns = ui::ReadColumns(listData->columns);
    ASSERT_TRUE(columns);
    ASSERT_EQ(columns->size(), 5u);
    const char* captions[] = {"标题", "描述", "详细", "", "唯一标识符"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ((*columns)[i].caption, captions[i]);
        EXPECT_EQ((*columns)[i].width, 0);
    }
    EXPECT_EQ(bindingsOf(list), (std::map<std::int32_t, std::string>{{-4, "ContentListRightButtonDown"}, {-3, "ContentListDoubleClicked"}}));

    struct Item {
        std::uint32_t id;
        const char* caption;
        int level;
        std::uint32_t flags;
        const char* handler;
    };
    const Item menu[] = {
        {0x26012229, "关于作者", 0, 0, "-"},
        {0x2601222A, "作者", 1, 0, "AuthorChosen"},
        {0x26011E41, "节点管理", 0, 1, "-"},
        {0x26011E42, "&A.添加父节点", 1, 0, "AddTopLevelNodeChosen"},
        {0x260120F3, "&B.添加子节点", 1, 0, "AddChildNodeChosen"},
        {0x26011E46, "-", 1, 0, "-"},
        {0x26011E4F, "&X.修改菜单", 1, 0, "RenameNodeChosen"},
        {0x26011E45, "&D.删除菜单", 1, 0, "DeleteNodeChosen"},
        {0x2601206D, "内容管理", 0, 1, "-"},
        {0x2601206E, "&D.删除内容", 1, 0, "DeleteContentChosen"},
        {0x26012165, "&X.查看内容", 1, 0, "ViewContentChosen"},
        {0x26012077, "-", 1, 0, "-"},
        {0x26012072, "内容添加查看", 0, 1, "-"},
        {0x26012073, "&A.添加内容", 1, 0, "AddContentChosen"},
        {0x260120B5, "&B.所有内容", 1, 0, "AllContentsChosen"},
    };
    std::vector<const ui::UnitRecord*> items;
    for (const auto& r : main.records)
        if (r.isMenuItem())
            items.push_back(&r);
    ASSERT_EQ(items.size(), std::size(menu));
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]->id, menu[i].id);
        EXPECT_EQ(items[i]->caption, menu[i].caption);
        EXPECT_EQ(items[i]->level, menu[i].level);
        EXPECT_EQ(items[i]->itemFlags, menu[i].flags);
        EXPECT_EQ(items[i]->shortcut, 0u);
        EXPECT_EQ(handlerName(items[i]->clickHandlerRef), menu[i].handler) << menu[i].caption;
    }
}

TEST(CatalogueTemplates, NodeWindowPagesAndPreviews)
{
    auto ws = blockWindows();
    const auto& node = windowOf(ws, 0x52011EB2);
    EXPECT_EQ(bindingsOf(node.records[0]), (std::map<std::int32_t, std::string>{{0, "NodeWindowLoaded"}, {2, "NodeWindowDestroying"}}));
    const auto& pages = unitOf(node, 0x16012121);
    expectGeometry(pages, {-1, 0, 424, 100});
    EXPECT_EQ(pages.children, (std::vector<std::uint32_t>{0x16012127, 0x16012129, 0x16012126, 0x1601229D, 0x1601212A,
                                                          0x160122A0, 0, 0x16012136, 0x16012138, 0x1601213A, 0x160122C4,
                                                          0x160122CF, 0x160122B6}));
    auto pageData = ui::PageControlData::Read(pages.kindData);
    ASSERT_TRUE(pageData && pageData->font);
    EXPECT_EQ(pageData->font->height, -12);
    auto pageList = ui::ReadPages(pageData->pages);
    ASSERT_TRUE(pageList);
    ASSERT_EQ(pageList->size(), 2u);
    EXPECT_EQ((*pageList)[0].caption, "1");
    EXPECT_EQ((*pageList)[1].caption, "2");
    for (std::uint32_t child : pages.children) {
        if (child) {
            EXPECT_EQ(unitOf(node, child).parentId, 0x16012121u);
        }
    }

    for (std::uint32_t id : {0x16012129u, 0x16012138u}) {
        auto edit = ui::EditBoxData::Read(unitOf(node, id).kindData);
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->maxLength, 20);
        EXPECT_EQ(edit->alignment, 1);
        EXPECT_FALSE(edit->multiLine);
        EXPECT_TRUE(unitOf(node, id).tabStop());
    }
    for (std::uint32_t id : {0x1601212Au, 0x160122CFu}) {
        auto combo = ui::ComboBoxData::Read(unitOf(node, id).kindData);
        ASSERT_TRUE(combo);
        EXPECT_EQ(combo->style, 1);
        EXPECT_EQ(combo->textColor, 2u);
        EXPECT_EQ(combo->backgroundColor, 0x60C0u);
        EXPECT_FALSE(combo->sorted);
        EXPECT_EQ(combo->initialSelection, 0x00FFFFFF);
        EXPECT_EQ(combo->itemTexts, (std::vector<std::string>{"PY", "C#", ".Net", "JAVA", "JS", "UI", "PHP", "SQL",
                                                              "MVC", "网络", "社交", "其他"}));
    }
    const auto& tree = unitOf(windowOf(ws, 0x52010001), 0x16011E33);
    for (std::uint32_t id : {0x1601229Du, 0x160122C4u}) {
        const auto& u = unitOf(node, id);
        EXPECT_TRUE(u.disabled());
        auto preview = ui::ListViewData::Read(u.kindData);
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->view, 3);
        EXPECT_TRUE(preview->hideColumnHeader);
        EXPECT_EQ(preview->currentRow, 0);
        EXPECT_EQ(preview->imageList, ui::TreeBoxData::Read(tree.kindData)->imageList);
        auto rows = ui::ReadInitialRows(preview->initialRows);
        ASSERT_TRUE(rows);
        ASSERT_EQ(rows->size(), 53u);
        // Every row shows its own picture but row 18, which shows picture 8.
        for (int i = 0; i < 53; ++i)
            EXPECT_EQ((*rows)[std::size_t(i)].image, i == 18 ? 8 : i) << "row " << i;
        EXPECT_EQ((*rows)[18].text, "25");
        EXPECT_EQ((*rows)[0].text, "7");
        EXPECT_EQ((*rows)[52].text, "59");
    }
    // The buttons are visible and enabled, and no tab stops: Tab goes
    // round the fields.
    for (std::uint32_t id : {0x160122A0u, 0x160122B6u})
        EXPECT_EQ(unitOf(node, id).stateFlags, ui::kUnitVisible);
    EXPECT_EQ(bindingsOf(unitOf(node, 0x160122A0)), (std::map<std::int32_t, std::string>{{0, "AddNodeClicked"}}));
    EXPECT_EQ(bindingsOf(unitOf(node, 0x160122B6)), (std::map<std::int32_t, std::string>{{0, "RenameNodeClicked"}}));
}

TEST(CatalogueTemplates, ContentAndAboutWindows)
{
    auto ws = blockWindows();
    const auto& content = windowOf(ws, 0x5201207C);
    struct Edit {
        std::uint32_t id;
        int tabOrder;
        bool multi;
    };
    for (Edit e : {Edit{0x160121F4, 0, false}, {0x160121F3, 1, false}, {0x160121F2, 2, true}, {0x160121F8, 0, false},
                   {0x160121F9, 1, false}, {0x160121FA, 2, true}}) {
        const auto& u = unitOf(content, e.id);
        EXPECT_EQ(u.tabOrder, e.tabOrder);
        auto data = ui::EditBoxData::Read(u.kindData);
        ASSERT_TRUE(data);
        EXPECT_EQ(data->multiLine, e.multi);
        EXPECT_EQ(data->alignment, e.multi ? 0 : 1);
        EXPECT_EQ(data->borderStyle, 5);
        EXPECT_EQ(data->textColor, 0x60C0u);
        EXPECT_EQ(data->maxLength, 0);
        EXPECT_TRUE(data->text.empty());
    }
    for (std::uint32_t id : {0x160121F0u, 0x160121FEu}) {
        EXPECT_EQ(unitOf(content, id).tabOrder, 6);
        EXPECT_EQ(unitOf(content, id).stateFlags, ui::kUnitVisible);
    }

    const auto& about = windowOf(ws, 0x52012360);
    EXPECT_TRUE(about.records[0].bindings.empty());
    auto label = ui::TransLabelData::Read(unitOf(about, 0x16012363).kindData);
    ASSERT_TRUE(label);
    ASSERT_EQ(label->font.size(), 60u);
    auto picture = ui::PicBoxData::Read(unitOf(about, 0x16012364).kindData);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->displayMode, 2);
    ASSERT_GT(picture->picture.size(), 8u);
    EXPECT_EQ(picture->picture[0], 0xFF);
    EXPECT_EQ(picture->picture[1], 0xD8);
}

} // namespace
