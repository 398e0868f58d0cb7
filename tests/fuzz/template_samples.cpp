#include "template_samples.h"

#include "runtime/handler.h"

namespace templatetest {
namespace {

constexpr std::uint32_t kEntry = sizeof(runtime::HandlerEntry);

ui::UnitRecord own(std::uint32_t serial, std::vector<std::uint8_t> kindData)
{
    ui::UnitRecord r;
    r.id = 0x06000000 | serial;
    r.kindId = 0x00010001;
    r.left = 100;
    r.top = 80;
    r.width = 640;
    r.height = 480;
    r.cursorData = {0, 0, 0, 0};
    r.stateFlags = ui::kUnitVisible;
    r.kindData = std::move(kindData);
    return r;
}

ui::UnitRecord unit(std::uint32_t serial, std::uint32_t kind, const char* name, std::uint32_t parent)
{
    ui::UnitRecord r;
    r.id = 0x16000000 | serial;
    r.kindId = kind;
    r.name = name;
    r.left = int(serial % 50) * 7 - 20;
    r.top = int(serial % 30) * 5;
    r.width = 120;
    r.height = 24;
    r.parentId = parent;
    r.cursorData = {0, 0, 0, 0};
    r.stateFlags = ui::kUnitVisible | ui::kUnitTabStop;
    r.tabOrder = int(serial % 7);
    r.kindData = {1, 0, 0, 0, std::uint8_t(serial), 0, 0, 0};
    return r;
}

ui::UnitRecord item(std::uint32_t serial, const char* caption, int level, std::uint32_t flags,
                    std::uint32_t shortcut, std::uint32_t handler)
{
    ui::UnitRecord r;
    r.id = 0x26000000 | serial;
    r.kindId = 0x00010003;
    r.caption = caption;
    r.level = level;
    r.itemFlags = flags;
    r.shortcut = shortcut;
    r.clickHandlerRef = handler;
    return r;
}

ui::WindowTemplate window(std::uint32_t serial, std::vector<ui::UnitRecord> records)
{
    ui::WindowTemplate w;
    w.id = 0x52000000 | serial;
    w.programSetId = 0x19000000 | serial;
    w.reserved = 8;
    w.records = std::move(records);
    return w;
}

} // namespace

std::vector<ui::WindowTemplate> RichSample()
{
    auto self = own(0x10, {6, 0, 0, 0, 2, 0, 0, 0, 'x'});
    self.bindings = {{0, 0}, {12, kEntry}, {1, ui::kNoHandler}};
    auto page = unit(0x20, 0x00030002, "高级选择夹1", 0);
    page.children = {0x16000021, 0x16000022, 0, 0x16000023, 0x16000024};
    page.bindings = {{0, 2 * kEntry}, {-1, 3 * kEntry}};
    auto a = unit(0x21, 0x0001000B, "按钮_甲", 0x16000020);
    a.tag = "标记";
    a.cursorData = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    a.bindings = {{0, kEntry}};
    auto b = unit(0x22, 0x00010005, "编辑框1", 0x16000020);
    b.stateFlags = ui::kUnitVisible | ui::kUnitDisabled;
    auto c = unit(0x23, 0x00020001, "树型框1", 0x16000020);
    c.eventOwnerId = 0;
    c.kindData.clear();
    auto d = unit(0x24, 0x00020004, "超级列表框1", 0x16000020);
    d.secondName = "第二名称";
    d.bindings = {{-12, ui::kNoHandler}, {3, 0}};
    auto db = unit(0x25, 0x0001002E, "外部数据库1", 0);
    db.stateFlags = 0;
    return {window(0x01,
                   {self, item(0x30, "文件", 0, 0, 0, ui::kNoHandler), item(0x31, "新建", 1, 0, 14, kEntry),
                    item(0x32, "-", 1, 0, 0, ui::kNoHandler), item(0x33, "隐藏", 1, ui::kMenuHidden, 0, 0),
                    item(0x34, "子项", 2, ui::kMenuChecked | ui::kMenuDisabled, 76, 2 * kEntry), page, a, b, c,
                    d, db})};
}

std::vector<Sample> Samples()
{
    std::vector<Sample> samples;
    samples.push_back({"rich", RichSample()});

    auto first = window(0x02, {own(0x40, {}), unit(0x41, 0x00010005, "编辑框1", 0)});
    first.firstText = "窗口一";
    first.secondText = "备注";
    auto second = window(0x05, {own(0x50, {6, 0, 0, 0}), item(0x51, "帮助", 0, 0, 27, ui::kNoHandler),
                                unit(0x52, 0x0001000B, "按钮1", 0)});
    second.reserved = -1;
    second.programSetId = 0;
    auto third = window(0x1EB2, {own(0x60, {1, 2, 3})});
    samples.push_back({"three_windows", {first, second, third}});

    samples.push_back({"own_unit_only", {window(0x07, {own(0x70, {})})}});
    samples.push_back({"no_windows", {}});
    return samples;
}

} // namespace templatetest
