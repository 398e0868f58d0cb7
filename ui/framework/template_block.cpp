#include "ui/framework/template_block.h"

#include "ui/framework/byte_reader.h"
#include "ui/framework/identifiers.h"

#include <cstdio>

namespace ui {
namespace {

constexpr std::uint32_t kMenuKind = kinds::Menu.value;

std::string describe(const char* what, std::size_t at)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "窗口模板数据损坏：%s（位置 %zu）", what, at);
    return buf;
}

bool readMenuItem(ByteReader& r, UnitRecord& u)
{
    u.shortcut = r.u32();
    u.level = r.i32();
    u.itemFlags = r.u32();
    u.caption = r.text();
    u.clickHandlerRef = r.u32();
    r.skip(16);
    return r.ok();
}

bool readUnit(ByteReader& r, UnitRecord& u)
{
    r.skip(4); // object slot
    u.left = r.i32();
    u.top = r.i32();
    u.width = r.i32();
    u.height = r.i32();
    r.skip(4); // cursor slot
    u.parentId = r.u32();
    std::uint32_t children = r.u32();
    if (!r.ok() || children > r.remaining() / 4)
        return false;
    u.children.resize(children);
    for (auto& c : u.children)
        c = r.u32();
    u.cursorData = r.counted();
    u.tag = r.text();
    r.skip(4);
    u.stateFlags = r.u32();
    u.tabOrder = r.i32();
    std::uint32_t bindings = r.u32();
    if (!r.ok() || bindings > r.remaining() / 8)
        return false;
    u.bindings.resize(bindings);
    for (auto& b : u.bindings) {
        b.event = r.i32();
        b.handlerRef = r.u32();
    }
    r.skip(20);
    if (!r.ok())
        return false;
    u.kindData = r.bytes(r.remaining());
    return r.ok();
}

// One record's bytes (without its length field).
bool readRecord(std::span<const std::uint8_t> bytes, std::uint32_t id, UnitRecord& u)
{
    ByteReader r(bytes);
    u.id = id;
    u.kindId = r.u32();
    u.eventOwnerId = r.u32();
    r.skip(16);
    u.name = r.text();
    u.secondName = r.text();
    if (!r.ok())
        return false;
    // A record is a menu item exactly when its id says so; its kind must
    // agree.
    if (IsMenuItemId(id) != (u.kindId == kMenuKind))
        return false;
    if (IsMenuItemId(id))
        return readMenuItem(r, u) && r.atEnd();
    return readUnit(r, u);
}

bool readWindow(ByteReader& r, WindowTemplate& w, std::string& error)
{
    w.reserved = r.i32();
    w.programSetId = r.u32();
    w.firstText = r.countedText();
    w.secondText = r.countedText();
    std::uint32_t count = r.u32();
    std::uint32_t tableLength = r.u32();
    if (!r.ok() || tableLength > r.remaining()) {
        error = describe("窗口记录超出数据末尾", r.position());
        return false;
    }
    std::size_t tableStart = r.position();
    if (count == 0 || count > tableLength / 12) {
        error = describe("组件数目与记录长度不符", r.position());
        return false;
    }
    std::vector<std::uint32_t> ids(count), offsets(count);
    for (auto& id : ids)
        id = r.u32();
    for (auto& o : offsets)
        o = r.u32();
    std::size_t recordsStart = r.position();
    w.records.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (r.position() - recordsStart != offsets[i]) {
            error = describe("记录偏移与记录位置不符", r.position());
            return false;
        }
        std::uint32_t length = r.u32();
        if (!r.ok() || length > r.remaining() || r.position() + length > tableStart + tableLength) {
            error = describe("记录长度超出窗口记录", r.position());
            return false;
        }
        if (!readRecord(r.view(length), ids[i], w.records[i])) {
            error = describe("组件记录无法读取", r.position());
            return false;
        }
    }
    if (r.position() != tableStart + tableLength) {
        error = describe("窗口记录长度不符", r.position());
        return false;
    }
    if (!w.records[0].isOwnUnit()) {
        error = describe("窗口的第一个记录不是窗口本身", tableStart);
        return false;
    }
    return true;
}

void writeRecord(ByteWriter& out, const UnitRecord& u)
{
    out.u32(u.kindId);
    out.u32(u.eventOwnerId);
    out.zeros(16);
    out.text(u.name);
    out.text(u.secondName);
    if (u.isMenuItem()) {
        out.u32(u.shortcut);
        out.i32(u.level);
        out.u32(u.itemFlags);
        out.text(u.caption);
        out.u32(u.clickHandlerRef);
        out.zeros(16);
        return;
    }
    out.u32(0);
    out.i32(u.left);
    out.i32(u.top);
    out.i32(u.width);
    out.i32(u.height);
    out.u32(0);
    out.u32(u.parentId);
    out.u32(std::uint32_t(u.children.size()));
    for (std::uint32_t c : u.children)
        out.u32(c);
    out.counted(u.cursorData);
    out.text(u.tag);
    out.u32(0);
    out.u32(u.stateFlags);
    out.i32(u.tabOrder);
    out.u32(std::uint32_t(u.bindings.size()));
    for (const EventBinding& b : u.bindings) {
        out.i32(b.event);
        out.u32(b.handlerRef);
    }
    out.zeros(20);
    out.bytes(u.kindData);
}

} // namespace

TemplateParse ParseTemplateBlock(std::span<const std::uint8_t> block)
{
    TemplateParse result;
    ByteReader r(block);
    std::uint32_t directory = r.u32();
    if (!r.ok() || directory % 8 != 0 || directory > r.remaining()) {
        result.error = describe("窗口目录长度无效", 0);
        return result;
    }
    std::size_t windows = directory / 8;
    std::vector<std::uint32_t> ids(windows);
    for (auto& id : ids)
        id = r.u32();
    r.skip(4 * windows);
    for (std::size_t i = 0; i < windows; ++i) {
        if (i > 0 && ids[i] <= ids[i - 1]) {
            result.error = describe("窗口标识未按升序排列", 4 + 4 * i);
            result.windows.clear();
            return result;
        }
        WindowTemplate w;
        w.id = ids[i];
        if (!readWindow(r, w, result.error)) {
            result.windows.clear();
            return result;
        }
        result.windows.push_back(std::move(w));
    }
    if (!r.atEnd()) {
        result.error = describe("数据末尾有多余内容", r.position());
        result.windows.clear();
    }
    return result;
}

std::vector<std::uint8_t> WriteTemplateBlock(std::span<const WindowTemplate> windows)
{
    ByteWriter out;
    out.u32(std::uint32_t(8 * windows.size()));
    for (const WindowTemplate& w : windows)
        out.u32(w.id);
    out.zeros(4 * windows.size());
    for (const WindowTemplate& w : windows) {
        out.i32(w.reserved);
        out.u32(w.programSetId);
        out.countedText(w.firstText);
        out.countedText(w.secondText);
        out.u32(std::uint32_t(w.records.size()));
        std::size_t lengthAt = out.size();
        out.u32(0);
        std::size_t tableStart = out.size();
        for (const UnitRecord& u : w.records)
            out.u32(u.id);
        std::size_t offsetsAt = out.size();
        out.zeros(4 * w.records.size());
        std::size_t recordsStart = out.size();
        for (std::size_t i = 0; i < w.records.size(); ++i) {
            out.patchU32(offsetsAt + 4 * i, std::uint32_t(out.size() - recordsStart));
            ByteWriter record;
            writeRecord(record, w.records[i]);
            out.counted(record.data());
        }
        out.patchU32(lengthAt, std::uint32_t(out.size() - tableStart));
    }
    return out.take();
}

bool ResolveHandlers(WindowTemplate& w, HandlerTable table, std::string& error)
{
    auto resolve = [&](std::uint32_t ref, const runtime::HandlerEntry*& out) {
        if (ref == kNoHandler) {
            out = nullptr;
            return true;
        }
        if (ref % sizeof(runtime::HandlerEntry) != 0 || ref >= table.size || !table.base) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "窗口模板中的事件处理子程序引用无效：%u", ref);
            error = buf;
            return false;
        }
        out = reinterpret_cast<const runtime::HandlerEntry*>(table.base + ref);
        return true;
    };
    for (UnitRecord& u : w.records) {
        if (!resolve(u.clickHandlerRef, u.clickHandler))
            return false;
        for (EventBinding& b : u.bindings)
            if (!resolve(b.handlerRef, b.handler))
                return false;
    }
    return true;
}

TemplateReadResult ReadTemplateBlock(std::span<const std::uint8_t> block, HandlerTable table)
{
    TemplateReadResult result;
    TemplateParse parse = ParseTemplateBlock(block);
    if (!parse.error.empty()) {
        result.error = parse.error;
        return result;
    }
    for (WindowTemplate& w : parse.windows) {
        if (!ResolveHandlers(w, table, result.error)) {
            result.windows.clear();
            return result;
        }
        auto loaded = std::make_unique<LoadedWindow>(w.id, w.programSetId, std::move(w.records));
        loaded->firstText = w.firstText;
        loaded->secondText = w.secondText;
        loaded->reserved = w.reserved;
        result.windows.push_back(std::move(loaded));
    }
    return result;
}

} // namespace ui
