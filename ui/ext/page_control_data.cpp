#include "ui/ext/page_control_data.h"

#include "ui/ext/tree_box_data.h"
#include "ui/framework/byte_reader.h"
#include "ui/framework/logfont_record.h"

namespace ui {
namespace {

constexpr std::size_t kReservedPageRecordSize = 16;

template<std::size_t N>
void readTriple(ByteReader& r, std::array<std::int32_t, N>& out)
{
    for (auto& v : out)
        v = r.i32();
}

template<std::size_t N>
void readColors(ByteReader& r, std::array<std::uint32_t, N>& out)
{
    for (auto& v : out)
        v = r.u32();
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

std::optional<PageControlData> PageControlData::Read(std::span<const std::uint8_t> block)
{
    return ReadVersionedBlock<PageControlData>(block, kMaxVersion, [](ByteReader& r, PageControlData& d) {
        d.headerPosition = r.i32();
        d.multiRow = r.u32() != 0;
        d.currentPage = r.i32();
        d.hideHeaders = r.u32() != 0;
        d.font = ReadLogFont(r.view(kLogFontRecordSize));
        d.pages = ReadByteBlock(r);
        d.headerHeight = r.i32();
        d.headerStyle = r.i32();
        d.overlappingHeaders = r.u32() != 0;
        d.headerTextAlignment = r.i32();
        d.headerImageList = ReadByteBlock(r);
        d.headerBackgroundImageList = ReadByteBlock(r);
        d.scrollButtonImageList = ReadByteBlock(r);
        d.picture = ReadByteBlock(r);
        d.shadedHeaders = r.u32() != 0;
        readColors(r, d.headerBackgroundColors);
        readColors(r, d.headerTextColors);
        d.color = r.u32();
        d.borderColor = r.u32();
        d.pageAreaColor = r.u32();
        r.skip(4);
        d.hiddenPagesSelectable = r.u32() != 0;
        d.disabledPagesSelectable = r.u32() != 0;
        r.skip(12);
        if (d.version >= 2) {
            d.customShading = r.u32() != 0;
            readColors(r, d.shadingColors);
        }
        if (d.version >= 3)
            d.pagesLocked = r.u32() != 0;
        if (d.version >= 5)
            d.verticalHeaderText = r.u32() != 0;
        if (d.version >= 6 && r.u32() != 0)
            d.font.reset();
        if (d.version >= 7)
            d.currentHeaderNoHot = r.u32() != 0;
        return true;
    });
}

std::vector<std::uint8_t> PageControlData::Write() const
{
    ByteWriter w;
    w.u32(version);
    w.i32(headerPosition);
    w.u32(multiRow);
    w.i32(currentPage);
    w.u32(hideHeaders);
    if (font)
        w.bytes(WriteLogFont(*font));
    else
        w.zeros(kLogFontRecordSize);
    w.counted(pages);
    w.i32(headerHeight);
    w.i32(headerStyle);
    w.u32(overlappingHeaders);
    w.i32(headerTextAlignment);
    w.counted(headerImageList);
    w.counted(headerBackgroundImageList);
    w.counted(scrollButtonImageList);
    w.counted(picture);
    w.u32(shadedHeaders);
    writeAll(w, headerBackgroundColors);
    writeAll(w, headerTextColors);
    w.u32(color);
    w.u32(borderColor);
    w.u32(pageAreaColor);
    w.u32(0);
    w.u32(hiddenPagesSelectable);
    w.u32(disabledPagesSelectable);
    w.zeros(12);
    if (version >= 2) {
        w.u32(customShading);
        writeAll(w, shadingColors);
    }
    if (version >= 3)
        w.u32(pagesLocked);
    if (version >= 5)
        w.u32(verticalHeaderText);
    if (version >= 6)
        w.u32(!font);
    if (version >= 7)
        w.u32(currentHeaderNoHot);
    return w.take();
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
