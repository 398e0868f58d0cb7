#include "ui/ext/page_control_data.h"

#include "ui/framework/byte_reader.h"
#include "ui/framework/kind_codec.h"

namespace ui {
namespace {

constexpr std::size_t kReservedPageRecordSize = 16;

template<std::size_t N>
void readTriple(ByteReader& r, std::array<std::int32_t, N>& out)
{
    for (auto& v : out)
        v = r.i32();
}

template<typename T, std::size_t N>
void writeAll(ByteWriter& w, const std::array<T, N>& values)
{
    for (T v : values)
        w.u32(std::uint32_t(v));
}

bool readPage(ByteReader& r, std::uint32_t version, PageRecord& p)
{
    p.caption = ReadByteBlockText(r);
    readTriple(r, p.headerImages);
    readTriple(r, p.secondTriple);
    readTriple(r, p.backgroundImages);
    readTriple(r, p.headerColors);
    p.visible = r.u32() != 0;
    p.enabled = r.u32() != 0;
    r.skip(4);
    if (version > 1)
        p.tip = ReadByteBlockText(r);
    if (version > 2)
        p.hidesChildren = r.u32() != 0;
    std::int32_t reserved = r.i32();
    if (!r.ok() || reserved < 0 || std::size_t(reserved) > r.remaining() / kReservedPageRecordSize)
        return false;
    r.skip(std::size_t(reserved) * kReservedPageRecordSize);
    return r.ok();
}

} // namespace

namespace {

using D = PageControlData;
using E = D::Effect;
using L = D::Live;

constexpr bool style0(const D& d)
{
    return d.headerStyle == 0;
}

constexpr bool sideHeaders(const D& d)
{
    return d.headerPosition >= 2;
}

constexpr bool shadingColoursAvailable(const D& d)
{
    return style0(d) && d.shadedHeaders;
}

// The rows of stored settings in stored order, then the properties the
// unit answers without a setting of their own.  The numbers 15-17, 26,
// 27, 32, 33, 36, 37, 41-43, 45, 46, 50-52 and 57 have no row: they read
// as nothing and ignore writes.
constexpr Setting<D> kSettings[] = {
    {.member = &D::headerPosition, .stored = Stored::Number, .key = "header-position",
     .property = kPageHeaderPosition, .type = kTypeChoice, .effect = E::Position},
    {.member = &D::multiRow, .stored = Stored::Number, .key = "multi-row",
     .property = kPageMultiRow, .type = kTypeLogical, .effect = E::MultiRow},
    {.member = &D::currentPage, .stored = Stored::Number, .key = "current-page",
     .property = kPageCurrent, .type = kTypeInteger, .live = L::CurrentPage, .effect = E::CurrentPage},
    {.member = &D::hideHeaders, .stored = Stored::Number, .key = "hide-headers",
     .property = 13, .type = kTypeLogical, .effect = E::Relayout},
    {.member = &D::font, .stored = Stored::FontRecord, .key = "font", .describedAs = Described::Font,
     .property = kPageFont, .type = kTypeFont, .effect = E::Font},
    {.member = &D::pages, .stored = Stored::Block,
     .property = kPagePages, .type = kTypeBytes1024, .live = L::Pages, .effect = E::Pages},
    {.member = &D::headerHeight, .stored = Stored::Number, .key = "header-height",
     .property = kPageHeaderHeight, .type = kTypeInteger, .effect = E::HeaderHeight},
    {.member = &D::headerStyle, .stored = Stored::Number, .key = "header-style",
     .property = kPageHeaderStyle, .type = kTypeChoice, .effect = E::Style},
    {.member = &D::overlappingHeaders, .stored = Stored::Number, .key = "overlapping-headers",
     .property = kPageOverlapping, .type = kTypeChoice, .effect = E::Overlapping, .available = style0},
    {.member = &D::headerTextAlignment, .stored = Stored::Number, .key = "header-text-alignment",
     .property = kPageTextAlignment, .type = kTypeChoice, .effect = E::Repaint,
     .available = [](const D& d) { return !(d.verticalHeaderText && sideHeaders(d)); }},
    {.member = &D::headerImageList, .stored = Stored::Block, .key = "header-image-list",
     .property = 22, .type = kTypeBytes1023, .effect = E::HeaderImages},
    {.member = &D::headerBackgroundImageList, .stored = Stored::Block, .key = "header-background-image-list",
     .property = 23, .type = kTypeBytes1023, .effect = E::BackgroundImages},
    {.member = &D::scrollButtonImageList, .stored = Stored::Block, .key = "scroll-button-image-list",
     .property = 24, .type = kTypeBytes1023, .effect = E::ScrollButtons},
    {.member = &D::picture, .stored = Stored::Block, .key = "picture", .property = 25, .type = kTypePicture},
    {.member = &D::shadedHeaders, .stored = Stored::Number, .key = "shaded-headers",
     .property = 28, .type = kTypeLogical, .effect = E::Repaint, .available = style0},
    {.member = &D::headerBackgroundColors, .stored = Stored::Triple},
    {.member = &D::headerTextColors, .stored = Stored::Triple},
    {.member = &D::color, .stored = Stored::Number, .key = "color",
     .property = 34, .type = kTypeBackColor, .effect = E::Repaint, .available = style0},
    {.member = &D::borderColor, .stored = Stored::Number, .key = "border-color",
     .property = 35, .type = kTypeBackColor, .effect = E::Repaint},
    {.member = &D::pageAreaColor, .stored = Stored::Number, .key = "page-area-color",
     .property = 44, .type = kTypeBackColor, .effect = E::Repaint},
    {.stored = Stored::Reserved, .reservedBytes = 4},
    {.member = &D::hiddenPagesSelectable, .stored = Stored::Number, .key = "hidden-pages-selectable",
     .property = 48, .type = kTypeLogical, .effect = E::Revalidate},
    {.member = &D::disabledPagesSelectable, .stored = Stored::Number, .key = "disabled-pages-selectable",
     .property = 49, .type = kTypeLogical, .effect = E::Relayout},
    {.stored = Stored::Reserved, .reservedBytes = 12},
    {.member = &D::customShading, .stored = Stored::Number, .since = 2, .key = "custom-shading",
     .property = 53, .type = kTypeLogical, .effect = E::Repaint, .available = shadingColoursAvailable},
    {.member = &D::shadingColors, .stored = Stored::Triple, .since = 2},
    {.member = &D::pagesLocked, .stored = Stored::Number, .since = 3, .key = "pages-locked",
     .property = 14, .type = kTypeLogical, .effect = E::Revalidate},
    {.member = &D::verticalHeaderText, .stored = Stored::Number, .since = 5, .key = "vertical-header-text",
     .property = 47, .type = kTypeLogical, .effect = E::Relayout, .available = sideHeaders},
    {.member = &D::font, .stored = Stored::NoFontFlag, .since = 6},
    {.member = &D::currentHeaderNoHot, .stored = Stored::Number, .since = 7, .key = "current-header-no-hot",
     .property = kPageCurrentHeaderNoHot, .type = kTypeLogical},

    // One element of a stored triple each (PageControlColorElement).
    {.property = 29, .type = kTypeBackColor, .effect = E::Repaint, .available = style0},
    {.property = 30, .type = kTypeBackColor, .effect = E::Repaint, .available = style0},
    {.property = 31, .type = kTypeBackColor, .effect = E::Repaint, .available = style0},
    {.property = 38, .type = kTypeBackColor, .effect = E::Repaint},
    {.property = 39, .type = kTypeBackColor, .effect = E::Repaint},
    {.property = 40, .type = kTypeBackColor, .effect = E::Repaint},
    {.property = 54, .type = kTypeBackColor, .effect = E::Repaint,
     .available = [](const D& d) { return shadingColoursAvailable(d) && d.customShading; }},
    {.property = 55, .type = kTypeBackColor, .effect = E::Repaint,
     .available = [](const D& d) { return shadingColoursAvailable(d) && d.customShading; }},
    {.property = 56, .type = kTypeBackColor, .effect = E::Repaint,
     .available = [](const D& d) { return shadingColoursAvailable(d) && d.customShading; }},

    // The page area in the unit's client coordinates.
    {.property = kPageAreaLeft, .type = kTypeInteger, .live = L::PageAreaLeft, .readOnly = true},
    {.property = kPageAreaLeft + 1, .type = kTypeInteger, .live = L::PageAreaTop, .readOnly = true},
    {.property = kPageAreaLeft + 2, .type = kTypeInteger, .live = L::PageAreaWidth, .readOnly = true},
    {.property = kPageAreaLeft + 3, .type = kTypeInteger, .live = L::PageAreaHeight, .readOnly = true},
};

struct ColorElementRow {
    int property;
    PageColorElement element;
};
constexpr ColorElementRow kColorElements[] = {
    {29, {&D::headerBackgroundColors, 0}}, {30, {&D::headerBackgroundColors, 1}},
    {31, {&D::headerBackgroundColors, 2}}, {38, {&D::headerTextColors, 0}},
    {39, {&D::headerTextColors, 1}},       {40, {&D::headerTextColors, 2}},
    {54, {&D::shadingColors, 0}},          {55, {&D::shadingColors, 1}},
    {56, {&D::shadingColors, 2}},
};

// Writes a property refuses outright; the others are taken and their
// effect does the rest.
struct WriteRule {
    int property;
    bool (*accepts)(const D& d, std::int64_t value);
};
constexpr bool inRange(std::int64_t v, std::int64_t low, std::int64_t high)
{
    return v >= low && v <= high;
}
constexpr WriteRule kWriteRules[] = {
    {kPageHeaderPosition, [](const D&, std::int64_t v) { return inRange(v, 0, 3); }},
    {kPageMultiRow, [](const D& d, std::int64_t v) { return v != 0 || !sideHeaders(d); }},
    {kPageHeaderHeight, [](const D&, std::int64_t v) { return v > 0; }},
    {kPageHeaderStyle, [](const D&, std::int64_t v) { return inRange(v, 0, 3); }},
    {kPageTextAlignment, [](const D&, std::int64_t v) { return inRange(v, 0, 1); }},
};

bool addPage(D& d, std::span<const RecordValue> values)
{
    std::optional<std::vector<PageRecord>> pages = ReadPages(d.pages);
    if (!pages)
        return false;
    PageRecord page;
    page.caption = values[0].text;
    if (values.size() > 1)
        page.tip = values[1].text;
    pages->push_back(std::move(page));
    d.pages = WritePages(*pages);
    return true;
}

// page = "caption" [, "tip"]
constexpr RecordKey<D> kRecords[] = {
    {.key = "page", .slots = "t|t", .add = addPage},
};

// Page changed, page about to change, header pressed, hot header changed,
// right button released over a header.
constexpr std::int32_t kEvents[] = {0, 1, 2, 3, 4};

constexpr KindDescription<D> kDescription{
    .name = "PageControl",
    .kind = kinds::PageControl,
    .newestVersion = D::kMaxVersion,
    .settings = kSettings,
    .records = kRecords,
    .events = kEvents,
    .propertyCount = kPageControlPropertyCount,
};

} // namespace

const KindDescription<PageControlData>& PageControlDescription()
{
    return kDescription;
}

bool PageControlWriteAccepted(const PageControlData& d, int property, std::int64_t value)
{
    for (const WriteRule& rule : kWriteRules)
        if (rule.property == property)
            return rule.accepts(d, value);
    return true;
}

std::optional<PageColorElement> PageControlColorElement(int property)
{
    for (const ColorElementRow& row : kColorElements)
        if (row.property == property)
            return row.element;
    return std::nullopt;
}

std::optional<PageControlData> PageControlData::Read(std::span<const std::uint8_t> block)
{
    return ReadKindData(kDescription, block);
}

std::vector<std::uint8_t> PageControlData::Write() const
{
    return WriteKindData(kDescription, *this);
}

std::optional<std::vector<PageRecord>> ReadPages(std::span<const std::uint8_t> block)
{
    std::vector<PageRecord> pages;
    if (block.empty())
        return pages;
    ByteReader r(block);
    std::uint32_t version = r.u32();
    std::int32_t count = r.i32();
    if (!r.ok() || version > kPagesFormatVersion || count < 0)
        return std::nullopt;
    for (std::int32_t i = 0; i < count; ++i) {
        PageRecord p;
        if (!readPage(r, version, p))
            return std::nullopt;
        pages.push_back(std::move(p));
    }
    if (!r.atEnd())
        return std::nullopt;
    return pages;
}

std::vector<std::uint8_t> WritePages(std::span<const PageRecord> pages)
{
    ByteWriter w;
    w.u32(kPagesFormatVersion);
    w.u32(std::uint32_t(pages.size()));
    for (const PageRecord& p : pages) {
        w.countedText(p.caption);
        writeAll(w, p.headerImages);
        writeAll(w, p.secondTriple);
        writeAll(w, p.backgroundImages);
        writeAll(w, p.headerColors);
        w.u32(p.visible);
        w.u32(p.enabled);
        w.u32(0);
        w.countedText(p.tip);
        w.u32(p.hidesChildren);
        w.u32(0);
    }
    return w.take();
}

} // namespace ui
