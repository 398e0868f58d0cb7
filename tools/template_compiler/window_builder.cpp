#include "tools/template_compiler/window_builder.h"

#include "tools/template_compiler/kind_binding.h"
#include "ui/framework/identifiers.h"
#include "ui/framework/menu_builder.h"

#include <algorithm>
#include <cstdlib>

namespace tc {
namespace {

using ui::UnitRecord;

constexpr std::uint32_t kMenuKind = ui::kinds::Menu.value;

struct Builder {
    const Description& d;
    const BuildContext& ctx;
    Conversion conv{d.fileName};

    Failure fail(int line, std::string message) const { return Failure{d.fileName, line, std::move(message)}; }

    const Entry* take(const Section& s, const std::string& key) const
    {
        const Entry* e = nullptr;
        for (const Entry& x : s.entries)
            if (x.key == key) {
                if (e)
                    return e; // the last one counts; duplicates are reported below
                e = &x;
            }
        if (e)
            e->used = true;
        return e;
    }

    std::optional<Failure> headerId(const Section& s, std::size_t index, std::uint32_t& id) const
    {
        if (s.header.size() <= index)
            return fail(s.line, "the section [" + s.header[0] + "] needs an id");
        char* end = nullptr;
        unsigned long long v = std::strtoull(s.header[index].c_str(), &end, 0);
        if (!end || *end || v > 0xFFFFFFFFull)
            return fail(s.line, "invalid id " + s.header[index]);
        id = std::uint32_t(v);
        if (!ui::IsValidId(id))
            return fail(s.line, "id " + s.header[index] + " has no serial number or no category");
        return std::nullopt;
    }

    std::optional<Failure> handler(const Value& v, std::uint32_t& ref) const
    {
        if (v.isWord("none")) {
            ref = ui::kNoHandler;
            return std::nullopt;
        }
        if (!v.isWord())
            return conv.at(v, "expected a handler's name");
        auto r = ctx.handlerRef(v.text);
        if (!r)
            return conv.at(v, "unknown handler " + v.text);
        ref = *r;
        return std::nullopt;
    }

    std::optional<Failure> flags(const Value& v, std::uint32_t& out,
                                 std::initializer_list<std::pair<const char*, std::uint32_t>> names) const
    {
        out = 0;
        std::vector<Value> items = v.kind == Value::Kind::List ? v.items : std::vector<Value>{v};
        for (const Value& item : items) {
            if (item.isWord("none"))
                continue;
            bool known = false;
            for (const auto& [name, bit] : names)
                if (item.isWord(name)) {
                    out |= bit;
                    known = true;
                }
            if (!known)
                return conv.at(item, "unknown flag " + item.text);
        }
        return std::nullopt;
    }

    std::optional<Failure> cursor(const Value& v, std::vector<std::uint8_t>& out) const
    {
        auto number = [&](std::uint32_t n) {
            out = {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
        };
        if (v.isWord("default")) {
            number(0);
            return std::nullopt;
        }
        if (v.kind == Value::Kind::Call && v.text == "standard" && v.items.size() == 1 && v.items[0].isInteger() &&
            v.items[0].integer >= 1 && v.items[0].integer <= 14) {
            number(std::uint32_t(v.items[0].integer));
            return std::nullopt;
        }
        if (v.kind == Value::Kind::Call && v.text == "file" && v.items.size() == 1 && v.items[0].isString()) {
            std::string error;
            auto bytes = ctx.readAsset(v.items[0].text, error);
            if (!bytes)
                return conv.at(v, error);
            number(0xFFFFFFFFu);
            out.insert(out.end(), bytes->begin(), bytes->end());
            return std::nullopt;
        }
        return conv.at(v, "expected default, standard(1-14) or file(\"...\")");
    }

    // Keys every unit record has, the window's own included.
    std::optional<Failure> common(const Section& s, const KindBinding& kind, UnitRecord& u) const
    {
        u.cursorData = {0, 0, 0, 0};
        u.stateFlags = ui::kUnitVisible;
        if (const Entry* e = take(s, "geometry")) {
            const Value& v = e->value;
            if (v.kind != Value::Kind::List || v.items.size() != 4)
                return conv.at(v, "geometry takes left, top, width, height");
            std::int32_t* fields[] = {&u.left, &u.top, &u.width, &u.height};
            for (int i = 0; i < 4; ++i)
                if (auto f = conv.i32(v.items[std::size_t(i)], *fields[i]))
                    return f;
        }
        if (const Entry* e = take(s, "parent"))
            if (auto f = conv.u32(e->value, u.parentId))
                return f;
        if (const Entry* e = take(s, "children"))
            if (auto f = conv.idList(e->value, u.children))
                return f;
        if (const Entry* e = take(s, "flags"))
            if (auto f = flags(e->value, u.stateFlags,
                               {{"visible", ui::kUnitVisible}, {"disabled", ui::kUnitDisabled}, {"tabstop", ui::kUnitTabStop}}))
                return f;
        if (const Entry* e = take(s, "tab-order"))
            if (auto f = conv.i32(e->value, u.tabOrder))
                return f;
        if (const Entry* e = take(s, "tag"))
            if (auto f = conv.gbk(e->value, u.tag))
                return f;
        if (const Entry* e = take(s, "second-name"))
            if (auto f = conv.gbk(e->value, u.secondName))
                return f;
        if (const Entry* e = take(s, "event-owner"))
            if (auto f = conv.u32(e->value, u.eventOwnerId))
                return f;
        if (const Entry* e = take(s, "cursor"))
            if (auto f = cursor(e->value, u.cursorData))
                return f;
        for (const Entry& e : s.entries) {
            if (e.key.rfind("on ", 0) != 0)
                continue;
            e.used = true;
            char* end = nullptr;
            long event = std::strtol(e.key.c_str() + 3, &end, 10);
            if (!end || *end)
                return fail(e.line, "`on N` needs an event number, not " + e.key.substr(3));
            if (!kind.raises(std::int32_t(event)))
                return fail(e.line, "a " + kind.name + " raises no event " + std::to_string(event));
            ui::EventBinding b;
            b.event = std::int32_t(event);
            if (auto f = handler(e.value, b.handlerRef))
                return f;
            u.bindings.push_back(b);
        }
        return std::nullopt;
    }

    std::optional<Failure> kindData(const Section& s, const KindBinding& kind, UnitRecord& u) const
    {
        u.kindId = kind.kindId;
        return kind.build(s, ctx, d.fileName, u.kindData);
    }

    std::optional<Failure> menu(const Section& s, UnitRecord& u) const
    {
        u.kindId = kMenuKind;
        if (!ui::IsMenuItemId(u.id))
            return fail(s.line, "a menu item's id has category 6 and sub-kind 2 (0x26......)");
        const Entry* caption = take(s, "caption");
        if (!caption)
            return fail(s.line, "a menu item needs a caption");
        if (auto f = conv.gbk(caption->value, u.caption))
            return f;
        if (const Entry* e = take(s, "level"))
            if (auto f = conv.i32(e->value, u.level))
                return f;
        if (u.level < 0)
            return fail(s.line, "a menu level is 0 or more");
        if (const Entry* e = take(s, "shortcut")) {
            if (e->value.isWord()) {
                bool found = false;
                for (std::uint32_t i = 1; i <= 77 && !found; ++i)
                    if (auto key = ui::ShortcutFor(i); key && key->name == e->value.text) {
                        u.shortcut = i;
                        found = true;
                    }
                if (!found)
                    return conv.at(e->value, "unknown shortcut key " + e->value.text);
            } else if (auto f = conv.u32(e->value, u.shortcut)) {
                return f;
            }
            if (u.shortcut > 77)
                return conv.at(e->value, "a shortcut index is 0-77");
        }
        if (const Entry* e = take(s, "flags"))
            if (auto f = flags(e->value, u.itemFlags,
                               {{"hidden", ui::kMenuHidden}, {"disabled", ui::kMenuDisabled}, {"checked", ui::kMenuChecked}}))
                return f;
        if (const Entry* e = take(s, "on-click"))
            if (auto f = handler(e->value, u.clickHandlerRef))
                return f;
        return std::nullopt;
    }

    std::optional<Failure> unused(const Section& s, const std::string& what,
                                  const std::vector<std::string>& repeatable = {}) const
    {
        for (const Entry& e : s.entries)
            if (!e.used)
                return fail(e.line, "unknown property `" + e.key + "` for " + what);
        for (std::size_t i = 0; i < s.entries.size(); ++i)
            for (std::size_t j = i + 1; j < s.entries.size(); ++j)
                if (s.entries[i].key == s.entries[j].key && s.entries[i].key.rfind("on ", 0) != 0 &&
                    std::find(repeatable.begin(), repeatable.end(), s.entries[i].key) == repeatable.end())
                    return fail(s.entries[j].line, "property `" + s.entries[j].key + "` given twice");
        return std::nullopt;
    }

    BuildResult run() const
    {
        const auto& sections = d.sections;
        if (sections.empty() || sections[0].header[0] != "window")
            return fail(1, "a description starts with [window id]");
        ui::WindowTemplate w;
        const Section& ws = sections[0];
        if (auto f = headerId(ws, 1, w.id))
            return *f;
        if (!ui::IsWindowId(w.id))
            return fail(ws.line, "a window id has category 2 (0x.2......)");
        if (const Entry* e = take(ws, "program-set"))
            if (auto f = conv.u32(e->value, w.programSetId))
                return *f;
        if (const Entry* e = take(ws, "reserved"))
            if (auto f = conv.i32(e->value, w.reserved))
                return *f;
        if (const Entry* e = take(ws, "first-text"))
            if (auto f = conv.gbk(e->value, w.firstText))
                return *f;
        if (const Entry* e = take(ws, "second-text"))
            if (auto f = conv.gbk(e->value, w.secondText))
                return *f;
        if (auto f = unused(ws, "a window"))
            return *f;

        for (std::size_t i = 1; i < sections.size(); ++i) {
            const Section& s = sections[i];
            const std::string& type = s.header[0];
            UnitRecord u;
            if (auto f = headerId(s, 1, u.id))
                return *f;
            for (const UnitRecord& other : w.records)
                if (other.id == u.id)
                    return fail(s.line, "id " + s.header[1] + " used twice in this window");
            if (type == "own") {
                if (i != 1)
                    return fail(s.line, "[own id] comes right after [window id]");
                if (ui::IdCategoryOf(u.id) != 6 || ui::IdSubKind(u.id) != 0)
                    return fail(s.line, "the window's own unit has category 6 and sub-kind 0 (0x06......)");
                const KindBinding* window = FindKindBinding("window");
                if (auto f = common(s, *window, u))
                    return *f;
                if (auto f = kindData(s, *window, u))
                    return *f;
                if (auto f = unused(s, "the window"))
                    return *f;
            } else if (type == "unit") {
                if (i == 1)
                    return fail(s.line, "[own id] comes right after [window id]");
                if (s.header.size() < 4)
                    return fail(s.line, "[unit id Kind name] needs a kind and a name");
                if (ui::IdCategoryOf(u.id) != 6 || ui::IdSubKind(u.id) != 1)
                    return fail(s.line, "a unit's id has category 6 and sub-kind 1 (0x16......)");
                const KindBinding* kind = FindKindBinding(s.header[2]);
                if (!kind || kind->name == "window")
                    return fail(s.line, "unknown kind " + s.header[2]);
                if (auto f = conv.gbk(Value{Value::Kind::String, 0, s.header[3], {}, s.line}, u.name))
                    return *f;
                if (auto f = common(s, *kind, u))
                    return *f;
                if (auto f = kindData(s, *kind, u))
                    return *f;
                if (auto f = unused(s, "a " + kind->name, kind->repeatableKeys))
                    return *f;
            } else if (type == "menu") {
                if (i == 1)
                    return fail(s.line, "[own id] comes right after [window id]");
                if (auto f = menu(s, u))
                    return *f;
                if (auto f = unused(s, "a menu item"))
                    return *f;
            } else {
                return fail(s.line, "unknown section [" + type + "]");
            }
            w.records.push_back(std::move(u));
        }
        if (w.records.empty())
            return fail(ws.line, "a window needs its [own id] section");
        return validateIds(w);
    }

    // Parents and child lists must name units of this window.
    BuildResult validateIds(ui::WindowTemplate& w) const
    {
        auto known = [&](std::uint32_t id) {
            for (const UnitRecord& u : w.records)
                if (u.id == id && !u.isMenuItem() && !u.isOwnUnit())
                    return true;
            return false;
        };
        for (const UnitRecord& u : w.records) {
            if (u.parentId != 0 && !known(u.parentId))
                return fail(0, "unit " + std::to_string(u.id) + " names an unknown parent");
            for (std::uint32_t c : u.children)
                if (c != 0 && !known(c))
                    return fail(0, "a child list names an unknown unit " + std::to_string(c));
        }
        return w;
    }
};

} // namespace

BuildResult BuildWindow(const Description& description, const BuildContext& context)
{
    return Builder{description, context}.run();
}

} // namespace tc
