// The description keys of every kind, and how each becomes a field of the
// kind's stored data.

#include "tools/template_compiler/kind_binding.h"

#include "tools/template_compiler/assets.h"
#include "ui/ext/list_view_data.h"
#include "ui/ext/page_control_data.h"
#include "ui/ext/trans_label_data.h"
#include "ui/ext/tree_box_data.h"
#include "ui/framework/identifiers.h"
#include "ui/framework/logfont_record.h"
#include "ui/units/button_data.h"
#include "ui/units/combo_box_data.h"
#include "ui/units/edit_box_data.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/window_kind_data.h"

#include <cstring>

namespace tc {
namespace {

struct Ctx {
    const BuildContext& build;
    Conversion conv;
};

template<class T>
using Setter = std::function<std::optional<Failure>(const Value&, const Ctx&, T&)>;

template<class T>
struct Field {
    const char* key;
    Setter<T> set;
    bool repeats = false; // the key may be given once per item
};

template<class T, class M>
Setter<T> integer(M T::*member)
{
    return [member](const Value& v, const Ctx& c, T& t) -> std::optional<Failure> {
        std::int32_t x = 0;
        if (auto f = c.conv.i32(v, x))
            return f;
        t.*member = M(x);
        return std::nullopt;
    };
}

template<class T>
Setter<T> logical(bool T::*member)
{
    return [member](const Value& v, const Ctx& c, T& t) { return c.conv.logical(v, t.*member); };
}

template<class T>
Setter<T> text(std::string T::*member)
{
    return [member](const Value& v, const Ctx& c, T& t) { return c.conv.gbk(v, t.*member); };
}

template<class T>
Setter<T> bytes(std::vector<std::uint8_t> T::*member)
{
    return [member](const Value& v, const Ctx& c, T& t) {
        return BytesValue(v, c.build, c.conv.file, t.*member);
    };
}

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

template<class T>
Setter<T> fontBlock(std::vector<std::uint8_t> T::*member)
{
    return [member](const Value& v, const Ctx& c, T& t) -> std::optional<Failure> {
        platform::LogFont font;
        if (auto f = fontValue(v, c, font))
            return f;
        auto record = ui::WriteLogFont(font);
        t.*member = {record.begin(), record.end()};
        return std::nullopt;
    };
}

// The items of a value that may be a list.
std::vector<Value> itemsOf(const Value& v)
{
    return v.kind == Value::Kind::List ? v.items : std::vector<Value>{v};
}

template<class T>
std::optional<Failure> apply(const Section& s, const Ctx& c, T& data, const std::vector<Field<T>>& fields)
{
    for (const Entry& e : s.entries) {
        if (e.used)
            continue;
        for (const Field<T>& field : fields) {
            if (e.key != field.key)
                continue;
            e.used = true;
            if (auto f = field.set(e.value, c, data))
                return f;
        }
    }
    return std::nullopt;
}

template<class T>
KindBinding::Builder bindingFor(std::vector<Field<T>> fields, std::function<void(T&)> finish = {})
{
    return [fields = std::move(fields), finish](const Section& s, const BuildContext& build, const std::string& file,
                                                 std::vector<std::uint8_t>& out) -> std::optional<Failure> {
        Ctx c{build, Conversion{file}};
        T data;
        if (auto f = apply(s, c, data, fields))
            return f;
        if (finish)
            finish(data);
        out = data.Write();
        return std::nullopt;
    };
}

// Adds one record to a block of records (tree items, list rows, columns,
// pages) as the block's own reader and writer see it.
template<class Record, class Reader, class Writer>
std::optional<Failure> append(std::vector<std::uint8_t>& block, const Record& record, Reader read, Writer write,
                              const Ctx& c, const Value& v)
{
    auto records = read(block);
    if (!records)
        return c.conv.at(v, "the records before this one do not form a valid block");
    records->push_back(record);
    block = write(*records);
    return std::nullopt;
}

std::vector<Field<ui::WindowKindData>> windowFields()
{
    using W = ui::WindowKindData;
    return {
        {"version", integer(&W::version)},
        {"border-style", integer(&W::borderStyle)},
        {"background-placement", integer(&W::backgroundPlacement)},
        {"background-color", integer(&W::backgroundColor)},
        {"maximize-button", logical(&W::maximizeButton)},
        {"minimize-button", logical(&W::minimizeButton)},
        {"control-box", logical(&W::controlBox)},
        {"start-position", integer(&W::startPosition)},
        {"movable", logical(&W::movable)},
        {"sound-play-mode", integer(&W::soundPlayMode)},
        {"setting-21", logical(&W::logicalSetting21)},
        {"setting-22", logical(&W::logicalSetting22)},
        {"setting-23", logical(&W::logicalSetting23)},
        {"setting-25", integer(&W::integerSetting25)},
        {"keep-ownerless", logical(&W::keepOwnerless)},
        {"setting-27", logical(&W::logicalSetting27)},
        {"shape", integer(&W::windowShape)},
        {"always-on-top", logical(&W::alwaysOnTop)},
        {"setting-30", logical(&W::logicalSetting30)},
        {"class-name", text(&W::className)},
        {"background-picture", bytes(&W::backgroundPicture)},
        {"icon", bytes(&W::icon)},
        {"sound", bytes(&W::backgroundSound)},
        {"caption", text(&W::caption)},
        {"setting-24", text(&W::textSetting24)},
    };
}

std::vector<Field<ui::EditBoxData>> editBoxFields()
{
    using E = ui::EditBoxData;
    return {
        {"version", integer(&E::version)},
        {"border-style", integer(&E::borderStyle)},
        {"text-color", integer(&E::textColor)},
        {"background-color", integer(&E::backgroundColor)},
        {"hide-selection", logical(&E::hideSelection)},
        {"max-length", integer(&E::maxLength)},
        {"multi-line", logical(&E::multiLine)},
        {"scroll-bars", integer(&E::scrollBars)},
        {"alignment", integer(&E::alignment)},
        {"input-mode", integer(&E::inputMode)},
        {"password-char", integer(&E::passwordChar)},
        {"case", integer(&E::caseConversion)},
        {"spin-kind", integer(&E::spinKind)},
        {"spin-min", integer(&E::spinMin)},
        {"spin-max", integer(&E::spinMax)},
        {"selection-start", integer(&E::selectionStart)},
        {"selection-length", integer(&E::selectionLength)},
        {"text", text(&E::text)},
        {"font", fontBlock(&E::font)},
    };
}

std::vector<Field<ui::ButtonData>> buttonFields()
{
    using B = ui::ButtonData;
    return {
        {"version", integer(&B::version)},
        {"type", integer(&B::type)},
        {"horizontal-alignment", integer(&B::horizontalAlignment)},
        {"vertical-alignment", integer(&B::verticalAlignment)},
        {"picture", bytes(&B::picture)},
        {"font", fontBlock(&B::font)},
        {"caption", text(&B::caption)},
    };
}

std::vector<Field<ui::ComboBoxData>> comboBoxFields()
{
    using C = ui::ComboBoxData;
    return {
        {"version", integer(&C::version)},
        {"style", integer(&C::style)},
        {"max-length", integer(&C::maxEditLength)},
        {"selection-start", integer(&C::editSelectionStart)},
        {"selection-length", integer(&C::editSelectionLength)},
        {"sorted", logical(&C::sorted)},
        {"extra-item-height", integer(&C::extraItemHeight)},
        {"text-color", integer(&C::textColor)},
        {"background-color", integer(&C::backgroundColor)},
        {"initial-selection", integer(&C::initialSelection)},
        {"font", fontBlock(&C::font)},
        {"text", text(&C::text)},
        {"items", [](const Value& v, const Ctx& c, C& d) -> std::optional<Failure> {
             d.itemTexts.clear();
             for (const Value& item : itemsOf(v)) {
                 std::string t;
                 if (auto f = c.conv.gbk(item, t))
                     return f;
                 d.itemTexts.push_back(t);
             }
             return std::nullopt;
         }},
        {"item-data", [](const Value& v, const Ctx& c, C& d) -> std::optional<Failure> {
             d.itemData.clear();
             for (const Value& item : itemsOf(v)) {
                 std::int32_t x = 0;
                 if (auto f = c.conv.i32(item, x))
                     return f;
                 d.itemData.push_back(x);
             }
             return std::nullopt;
         }},
    };
}

std::vector<Field<ui::PicBoxData>> picBoxFields()
{
    using P = ui::PicBoxData;
    return {
        {"version", integer(&P::version)},
        {"border-style", integer(&P::borderStyle)},
        {"background-color", integer(&P::backgroundColor)},
        {"display-mode", integer(&P::displayMode)},
        {"animation", integer(&P::animation)},
        {"picture", bytes(&P::picture)},
    };
}

std::vector<Field<ui::TreeBoxData>> treeBoxFields()
{
    using T = ui::TreeBoxData;
    return {
        {"version", integer(&T::version)},
        {"border-style", integer(&T::borderStyle)},
        {"text-color", integer(&T::textColor)},
        {"background-color", integer(&T::backgroundColor)},
        {"expand-buttons", logical(&T::expandButtons)},
        {"lines", logical(&T::lines)},
        {"lines-at-root", logical(&T::linesAtRoot)},
        {"label-editing", logical(&T::labelEditing)},
        {"always-show-selection", logical(&T::alwaysShowSelection)},
        {"current-item", integer(&T::currentItem)},
        {"item-height", integer(&T::itemHeight)},
        {"font", fontBlock(&T::font)},
        {"image-list", bytes(&T::imageList)},
        {"extension", logical(&T::extension)},
        {"check-boxes", logical(&T::checkBoxes)},
        {"state-image-count", integer(&T::stateImageCount)},
        {"state-image-list", bytes(&T::stateImageList)},
        // item = "text", image, selected image, data, depth
        {"item",
         [](const Value& v, const Ctx& c, T& d) -> std::optional<Failure> {
             std::vector<Value> f = itemsOf(v);
             if (f.size() != 5)
                 return c.conv.at(v, "item takes \"text\", image, selected image, data, depth");
             ui::TreeItemRecord r;
             if (auto e = c.conv.gbk(f[0], r.text))
                 return e;
             for (auto [i, m] : {std::pair{1, &r.image}, {2, &r.selectedImage}, {3, &r.data}, {4, &r.depth}})
                 if (auto e = c.conv.i32(f[std::size_t(i)], *m))
                     return e;
             return append(d.initialItems, r, ui::ReadInitialItems, ui::WriteInitialItems, c, v);
         },
         true},
    };
}

// row = "text", image (a row's first cell); cell = "text", image (the next column)
Setter<ui::ListViewData> cellSetter(bool startsRow)
{
    return [startsRow](const Value& v, const Ctx& c, ui::ListViewData& d) -> std::optional<Failure> {
        std::vector<Value> f = itemsOf(v);
        if (f.size() < 1 || f.size() > 3)
            return c.conv.at(v, "expected \"text\" [, image [, item data]]");
        ui::ListCellRecord r;
        r.startsRow = startsRow;
        if (auto e = c.conv.gbk(f[0], r.text))
            return e;
        if (f.size() > 1)
            if (auto e = c.conv.i32(f[1], r.image))
                return e;
        if (f.size() > 2)
            if (auto e = c.conv.i32(f[2], r.itemData))
                return e;
        return append(d.initialRows, r, ui::ReadInitialRows, ui::WriteInitialRows, c, v);
    };
}

std::vector<Field<ui::ListViewData>> listViewFields()
{
    using L = ui::ListViewData;
    return {
        {"version", integer(&L::version)},
        {"border-style", integer(&L::borderStyle)},
        {"text-color", integer(&L::textColor)},
        {"text-background-color", integer(&L::textBackgroundColor)},
        {"background-color", integer(&L::backgroundColor)},
        {"view", integer(&L::view)},
        {"icon-alignment", integer(&L::iconAlignment)},
        {"auto-arrange", logical(&L::autoArrange)},
        {"wrap-labels", logical(&L::wrapLabels)},
        {"hide-column-header", logical(&L::hideColumnHeader)},
        {"header-buttons", logical(&L::headerButtons)},
        {"full-row-select", logical(&L::fullRowSelect)},
        {"grid-lines", logical(&L::gridLines)},
        {"header-drag-drop", logical(&L::headerDragDrop)},
        {"hot-tracking", logical(&L::hotTracking)},
        {"hand-cursor", logical(&L::handCursor)},
        {"underline-hot", logical(&L::underlineHot)},
        {"underline-cold", logical(&L::underlineCold)},
        {"label-editing", logical(&L::labelEditing)},
        {"sorting", integer(&L::sorting)},
        {"check-boxes", logical(&L::checkBoxes)},
        {"flat-scroll-bars", logical(&L::flatScrollBars)},
        {"single-selection", logical(&L::singleSelection)},
        {"current-row", integer(&L::currentRow)},
        {"always-show-selection", logical(&L::alwaysShowSelection)},
        {"font", fontBlock(&L::font)},
        {"header-image-list", bytes(&L::headerImageList)},
        {"image-list", bytes(&L::imageList)},
        {"state-image-list", bytes(&L::stateImageList)},
        // column = "caption", width [, alignment [, header image]]
        {"column",
         [](const Value& v, const Ctx& c, L& d) -> std::optional<Failure> {
             std::vector<Value> f = itemsOf(v);
             if (f.size() < 2 || f.size() > 4)
                 return c.conv.at(v, "column takes \"caption\", width [, alignment [, header image]]");
             ui::ListColumn col;
             if (auto e = c.conv.gbk(f[0], col.caption))
                 return e;
             if (auto e = c.conv.i32(f[1], col.width))
                 return e;
             if (f.size() > 2)
                 if (auto e = c.conv.i32(f[2], col.alignment))
                     return e;
             if (f.size() > 3)
                 if (auto e = c.conv.i32(f[3], col.headerImage))
                     return e;
             return append(d.columns, col, ui::ReadColumns, ui::WriteColumns, c, v);
         },
         true},
        {"row", cellSetter(true), true},
        {"cell", cellSetter(false), true},
    };
}

std::vector<Field<ui::TransLabelData>> transLabelFields()
{
    using T = ui::TransLabelData;
    return {
        {"version", integer(&T::version)},
        {"relief", integer(&T::relief)},
        {"text-color", integer(&T::textColor)},
        {"horizontal-alignment", integer(&T::horizontalAlignment)},
        {"vertical-alignment", integer(&T::verticalAlignment)},
        {"word-wrap", logical(&T::wordWrap)},
        {"font", fontBlock(&T::font)},
        {"caption", text(&T::caption)},
    };
}

std::vector<Field<ui::PageControlData>> pageControlFields()
{
    using P = ui::PageControlData;
    return {
        {"version", integer(&P::version)},
        {"header-position", integer(&P::headerPosition)},
        {"multi-row", logical(&P::multiRow)},
        {"current-page", integer(&P::currentPage)},
        {"hide-headers", logical(&P::hideHeaders)},
        {"font",
         [](const Value& v, const Ctx& c, P& d) -> std::optional<Failure> {
             platform::LogFont font;
             if (auto f = fontValue(v, c, font))
                 return f;
             d.font = font;
             return std::nullopt;
         }},
        {"header-height", integer(&P::headerHeight)},
        {"header-style", integer(&P::headerStyle)},
        {"overlapping-headers", logical(&P::overlappingHeaders)},
        {"header-text-alignment", integer(&P::headerTextAlignment)},
        {"header-image-list", bytes(&P::headerImageList)},
        {"header-background-image-list", bytes(&P::headerBackgroundImageList)},
        {"scroll-button-image-list", bytes(&P::scrollButtonImageList)},
        {"picture", bytes(&P::picture)},
        {"shaded-headers", logical(&P::shadedHeaders)},
        {"color", integer(&P::color)},
        {"border-color", integer(&P::borderColor)},
        {"page-area-color", integer(&P::pageAreaColor)},
        {"hidden-pages-selectable", logical(&P::hiddenPagesSelectable)},
        {"disabled-pages-selectable", logical(&P::disabledPagesSelectable)},
        {"custom-shading", logical(&P::customShading)},
        {"pages-locked", logical(&P::pagesLocked)},
        {"vertical-header-text", logical(&P::verticalHeaderText)},
        {"current-header-no-hot", logical(&P::currentHeaderNoHot)},
        // page = "caption" [, "tip"]
        {"page",
         [](const Value& v, const Ctx& c, P& d) -> std::optional<Failure> {
             std::vector<Value> f = itemsOf(v);
             if (f.empty() || f.size() > 2)
                 return c.conv.at(v, "page takes \"caption\" [, \"tip\"]");
             ui::PageRecord page;
             if (auto e = c.conv.gbk(f[0], page.caption))
                 return e;
             if (f.size() > 1)
                 if (auto e = c.conv.gbk(f[1], page.tip))
                     return e;
             return append(d.pages, page, ui::ReadPages, ui::WritePages, c, v);
         },
         true},
    };
}

KindBinding::Builder noKindData()
{
    return [](const Section&, const BuildContext&, const std::string&, std::vector<std::uint8_t>& out) {
        out.clear();
        return std::optional<Failure>{};
    };
}

std::vector<std::string> repeatable(std::initializer_list<const char*> keys)
{
    return {keys.begin(), keys.end()};
}

} // namespace

const std::vector<KindBinding>& KindBindings()
{
    using namespace ui::kinds;
    static const std::vector<KindBinding> bindings = {
        {"window", Window.value, bindingFor(windowFields())},
        {"EditBox", EditBox.value, bindingFor(editBoxFields())},
        {"PicBox", PicBox.value, bindingFor(picBoxFields())},
        {"Button", Button.value, bindingFor(buttonFields())},
        {"ComboBox", ComboBox.value, bindingFor(comboBoxFields())},
        {"ODBCDB", OdbcDb.value, noKindData()},
        {"TreeBox", TreeBox.value, bindingFor(treeBoxFields()), repeatable({"item"})},
        {"ListView", ListView.value, bindingFor(listViewFields()), repeatable({"column", "row", "cell"})},
        {"TransLabel", TransLabel.value, bindingFor(transLabelFields())},
        {"PageControl", PageControl.value, bindingFor(pageControlFields()), repeatable({"page"})},
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
