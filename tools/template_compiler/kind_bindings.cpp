// The description keys of every kind, derived from the kind's description:
// a setting's key takes a value of the setting's type, a record key one
// record of the values its slots name.

#include "tools/template_compiler/kind_binding.h"

#include "tools/template_compiler/assets.h"
#include "ui/ext/list_view_data.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/trans_label_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/identifiers.h"
#include "ui/framework/kind_codec.h"
#include "ui/framework/logfont_record.h"
#include "ui/units/button_data.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/window_kind_data.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace tc {
namespace {

using ui::Described;

struct Ctx {
    const BuildContext& build;
    Conversion conv;
};

// font("face", height, weight, charset): the 60-byte logical font record;
// height is the record's (negative: the character height in pixels).
std::optional<Failure> fontValue(const Value& v, const Ctx& c, platform::LogFont& out)
{
    if (v.kind != Value::Kind::Call || v.text != "font" || v.items.size() != 4)
        return c.conv.at(v, "expected font(\"face\", height, weight, charset)");
    std::string face;
    if (auto f = c.conv.gbk(v.items[0], face))
        return f;
    if (face.size() > 31)
        return c.conv.at(v, "a font face name has at most 31 bytes");
    out = platform::LogFont{};
    std::int32_t charset = 0;
    if (auto f = c.conv.i32(v.items[1], out.height))
        return f;
    if (auto f = c.conv.i32(v.items[2], out.weight))
        return f;
    if (auto f = c.conv.i32(v.items[3], charset))
        return f;
    out.charSet = std::uint8_t(charset);
    std::memcpy(out.faceName.data(), face.data(), face.size());
    return std::nullopt;
}

// The items of a value that may be a list.
std::vector<Value> itemsOf(const Value& v)
{
    return v.kind == Value::Kind::List ? v.items : std::vector<Value>{v};
}

// A description value into a setting of type T.
template<class T>
std::optional<Failure> convert(const Value& v, const Ctx& c, Described describedAs, T& out)
{
    if constexpr (std::is_same_v<T, bool>) {
        return c.conv.logical(v, out);
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        return c.conv.i32(v, out);
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
        return c.conv.u32(v, out);
    } else if constexpr (std::is_same_v<T, std::uint16_t>) {
        std::int64_t x = 0;
        if (auto f = c.conv.integer(v, 0, 0xFFFF, x))
            return f;
        out = std::uint16_t(x);
        return std::nullopt;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return c.conv.gbk(v, out);
    } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>) {
        if (describedAs != Described::Font)
            return BytesValue(v, c.build, c.conv.file, out);
        platform::LogFont font;
        if (auto f = fontValue(v, c, font))
            return f;
        auto record = ui::WriteLogFont(font);
        out.assign(record.begin(), record.end());
        return std::nullopt;
    } else if constexpr (std::is_same_v<T, std::optional<platform::LogFont>>) {
        platform::LogFont font;
        if (auto f = fontValue(v, c, font))
            return f;
        out = font;
        return std::nullopt;
    } else if constexpr (std::is_same_v<T, std::vector<std::string>> || std::is_same_v<T, std::vector<std::int32_t>>) {
        out.clear();
        for (const Value& item : itemsOf(v)) {
            typename T::value_type x{};
            if (auto f = convert(item, c, describedAs, x))
                return f;
            out.push_back(std::move(x));
        }
        return std::nullopt;
    } else {
        return c.conv.at(v, "this setting cannot be described");
    }
}


template<class Data>
std::optional<Failure> setSetting(const ui::Setting<Data>& s, const Value& v, const Ctx& c, Data& d)
{
    return std::visit(
        [&](auto member) -> std::optional<Failure> {
            if constexpr (std::is_same_v<decltype(member), std::monostate>)
                return c.conv.at(v, "this setting cannot be described");
            else
                return convert(v, c, s.describedAs, d.*member);
        },
        s.member);
}

// One record's values by the record key's slots ("t" text, "i" integer,
// those after '|' optional).
template<class Data>
std::optional<Failure> addRecord(const ui::RecordKey<Data>& key, const Value& v, const Ctx& c, Data& d)
{
    std::string slots;
    std::size_t required = 0;
    for (const char* p = key.slots; *p; ++p) {
        if (*p == '|')
            required = slots.size();
        else
            slots += *p;
    }
    if (!std::strchr(key.slots, '|'))
        required = slots.size();
    std::vector<Value> items = itemsOf(v);
    if (items.size() < required || items.size() > slots.size())
        return c.conv.at(v, std::string(key.key) + " takes " + std::to_string(required) +
                                (required == slots.size() ? "" : " to " + std::to_string(slots.size())) + " values");
    std::vector<ui::RecordValue> values(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto f = slots[i] == 't' ? c.conv.gbk(items[i], values[i].text) : c.conv.i32(items[i], values[i].integer);
        if (f)
            return f;
    }
    if (!key.add(d, values))
        return c.conv.at(v, "the records before this one do not form a valid block");
    return std::nullopt;
}

template<class Data>
KindBinding bindingFor(const ui::KindDescription<Data>& kind)
{
    KindBinding b;
    b.name = kind.name;
    b.kindId = kind.kind.value;
    for (const ui::RecordKey<Data>& r : kind.records)
        b.repeatableKeys.push_back(r.key);
    b.events.assign(kind.events.begin(), kind.events.end());
    b.hasWindow = kind.hasWindow;
    b.build = [&kind](const Section& s, const BuildContext& build, const std::string& file,
                      std::vector<std::uint8_t>& out) -> std::optional<Failure> {
        Ctx c{build, Conversion{file}};
        Data data;
        for (const Entry& e : s.entries) {
            if (e.used)
                continue;
            if (e.key == "version") {
                e.used = true;
                if (auto f = c.conv.u32(e.value, data.version))
                    return f;
                continue;
            }
            for (const ui::Setting<Data>& setting : kind.settings)
                if (setting.key && e.key == setting.key) {
                    e.used = true;
                    if (auto f = setSetting(setting, e.value, c, data))
                        return f;
                }
            for (const ui::RecordKey<Data>& record : kind.records)
                if (e.key == record.key) {
                    e.used = true;
                    if (auto f = addRecord(record, e.value, c, data))
                        return f;
                }
        }
        out = ui::WriteKindData(kind, data);
        return std::nullopt;
    };
    return b;
}

// The database unit has no window and no stored settings.
KindBinding databaseBinding()
{
    KindBinding b;
    b.name = "ODBCDB";
    b.kindId = ui::kinds::OdbcDb.value;
    b.hasWindow = false;
    b.build = [](const Section&, const BuildContext&, const std::string&, std::vector<std::uint8_t>& out) {
        out.clear();
        return std::optional<Failure>{};
    };
    return b;
}

} // namespace

bool KindBinding::raises(std::int32_t event) const
{
    constexpr std::int32_t kLastCommonEvent = -12;
    if (event < 0)
        return hasWindow && event >= kLastCommonEvent;
    return std::find(events.begin(), events.end(), event) != events.end();
}

const std::vector<KindBinding>& KindBindings()
{
    static const std::vector<KindBinding> bindings = {
        bindingFor(ui::WindowDescription()),     bindingFor(ui::EditBoxDescription()),
        bindingFor(ui::PicBoxDescription()),     bindingFor(ui::ButtonDescription()),
        bindingFor(ui::ComboBoxDescription()),   databaseBinding(),
        bindingFor(ui::TreeBoxDescription()),    bindingFor(ui::ListViewDescription()),
        bindingFor(ui::TransLabelDescription()), bindingFor(ui::PageControlDescription()),
    };
    return bindings;
}

const KindBinding* FindKindBinding(const std::string& name)
{
    for (const KindBinding& b : KindBindings())
        if (name == b.name)
            return &b;
    return nullptr;
}

const KindBinding* FindKindBinding(std::uint32_t kindId)
{
    for (const KindBinding& b : KindBindings())
        if (b.kindId == kindId)
            return &b;
    return nullptr;
}

} // namespace tc
