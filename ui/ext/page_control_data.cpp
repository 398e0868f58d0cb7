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

constexpr Setting<D> kSettings[] = {
    {.member = &D::headerPosition, .stored = Stored::Number, .key = "header-position"},
    {.member = &D::multiRow, .stored = Stored::Number, .key = "multi-row"},
    {.member = &D::currentPage, .stored = Stored::Number, .key = "current-page"},
    {.member = &D::hideHeaders, .stored = Stored::Number, .key = "hide-headers"},
    {.member = &D::font, .stored = Stored::FontRecord, .key = "font", .describedAs = Described::Font},
    {.member = &D::pages, .stored = Stored::Block},
    {.member = &D::headerHeight, .stored = Stored::Number, .key = "header-height"},
    {.member = &D::headerStyle, .stored = Stored::Number, .key = "header-style"},
    {.member = &D::overlappingHeaders, .stored = Stored::Number, .key = "overlapping-headers"},
    {.member = &D::headerTextAlignment, .stored = Stored::Number, .key = "header-text-alignment"},
    {.member = &D::headerImageList, .stored = Stored::Block, .key = "header-image-list"},
    {.member = &D::headerBackgroundImageList, .stored = Stored::Block, .key = "header-background-image-list"},
    {.member = &D::scrollButtonImageList, .stored = Stored::Block, .key = "scroll-button-image-list"},
    {.member = &D::picture, .stored = Stored::Block, .key = "picture"},
    {.member = &D::shadedHeaders, .stored = Stored::Number, .key = "shaded-headers"},
    {.member = &D::headerBackgroundColors, .stored = Stored::Triple},
    {.member = &D::headerTextColors, .stored = Stored::Triple},
    {.member = &D::color, .stored = Stored::Number, .key = "color"},
    {.member = &D::borderColor, .stored = Stored::Number, .key = "border-color"},
    {.member = &D::pageAreaColor, .stored = Stored::Number, .key = "page-area-color"},
    {.stored = Stored::Reserved, .reservedBytes = 4},
    {.member = &D::hiddenPagesSelectable, .stored = Stored::Number, .key = "hidden-pages-selectable"},
    {.member = &D::disabledPagesSelectable, .stored = Stored::Number, .key = "disabled-pages-selectable"},
    {.stored = Stored::Reserved, .reservedBytes = 12},
    {.member = &D::customShading, .stored = Stored::Number, .since = 2, .key = "custom-shading"},
    {.member = &D::shadingColors, .stored = Stored::Triple, .since = 2},
    {.member = &D::pagesLocked, .stored = Stored::Number, .since = 3, .key = "pages-locked"},
    {.member = &D::verticalHeaderText, .stored = Stored::Number, .since = 5, .key = "vertical-header-text"},
    {.member = &D::font, .stored = Stored::NoFontFlag, .since = 6},
    {.member = &D::currentHeaderNoHot, .stored = Stored::Number, .since = 7, .key = "current-header-no-hot"},
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
};

} // namespace

const KindDescription<PageControlData>& PageControlDescription()
{
    return kDescription;
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
