#include "platform/image_list.h"

#include "platform/qt/device_context.h"
#include "platform/qt/image_list_pixmaps.h"

#include <QImage>
#include <QPainter>

#include <cstring>
#include <unordered_map>

namespace platform {
namespace qt {
namespace {

struct ListEntry {
    int cx = 0;
    int cy = 0;
    std::vector<std::vector<std::uint32_t>> images;
    ColorRef background = CLR_NONE;
    // Made on first use: pixmaps need the toolkit running, the pixels do not.
    std::vector<QPixmap> pixmaps;
    std::uint64_t revision = 1;
};

struct Lists {
    std::unordered_map<std::uintptr_t, ListEntry> entries;
    std::uintptr_t next = 0x60000;
};

Lists& lists()
{
    static Lists l;
    return l;
}

ListEntry* findList(ImageList list)
{
    auto& entries = lists().entries;
    auto it = entries.find(std::uintptr_t(list));
    return it == entries.end() ? nullptr : &it->second;
}

// Only the low 24 bits are a colour; a value with any high bit (CLR_NONE,
// the "default" colour of other lists) draws no background.
ColorRef normalBackground(ColorRef color)
{
    return (color & 0xFF000000) ? CLR_NONE : color;
}

bool validSize(int cx, int cy)
{
    return cx >= 1 && cy >= 1 && cx <= 0x7FFF && cy <= 0x7FFF;
}

ImageList addList(ListEntry entry)
{
    Lists& l = lists();
    l.next += 2;
    entry.pixmaps.resize(entry.images.size());
    l.entries.emplace(l.next, std::move(entry));
    return ImageList(l.next);
}

void changed(ListEntry& entry)
{
    ++entry.revision;
    entry.pixmaps.assign(entry.images.size(), QPixmap());
}

QPixmap makePixmap(const ListEntry& entry, const std::vector<std::uint32_t>& pixels)
{
    // Format_ARGB32 is 0xAARRGGBB per pixel with straight alpha: the
    // list's own layout, so rows copy as they are.
    QImage image(entry.cx, entry.cy, QImage::Format_ARGB32);
    for (int y = 0; y < entry.cy; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + std::size_t(y) * std::size_t(entry.cx),
                    std::size_t(entry.cx) * 4);
    if (entry.background == CLR_NONE)
        return QPixmap::fromImage(image);
    QImage composed(entry.cx, entry.cy, QImage::Format_ARGB32);
    composed.fill(toQColor(entry.background));
    QPainter p(&composed);
    p.drawImage(0, 0, image);
    p.end();
    return QPixmap::fromImage(composed);
}

} // namespace

QPixmap imageListPixmap(ImageList list, int index)
{
    ListEntry* entry = findList(list);
    if (!entry || index < 0 || std::size_t(index) >= entry->images.size())
        return QPixmap();
    QPixmap& cached = entry->pixmaps[std::size_t(index)];
    if (cached.isNull())
        cached = makePixmap(*entry, entry->images[std::size_t(index)]);
    return cached;
}

std::uint64_t imageListRevision(ImageList list)
{
    ListEntry* entry = findList(list);
    return entry ? entry->revision : 0;
}

} // namespace qt

using namespace qt;

ImageList ImageListCreate(int cx, int cy)
{
    if (!validSize(cx, cy))
        return ImageList::Null;
    ListEntry entry;
    entry.cx = cx;
    entry.cy = cy;
    return addList(std::move(entry));
}

ImageList ImageListCreate(const ImageListImages& images)
{
    if (!validSize(images.cx, images.cy))
        return ImageList::Null;
    std::size_t pixels = std::size_t(images.cx) * std::size_t(images.cy);
    for (const auto& image : images.images)
        if (image.size() != pixels)
            return ImageList::Null;
    ListEntry entry;
    entry.cx = images.cx;
    entry.cy = images.cy;
    entry.images = images.images;
    entry.background = normalBackground(images.background);
    return addList(std::move(entry));
}

ImageList ImageListCreateFromBlock(std::span<const std::uint8_t> block)
{
    std::optional<ImageListImages> images = ReadImageListBlock(block);
    return images ? ImageListCreate(*images) : ImageList::Null;
}

bool ImageListDestroy(ImageList list)
{
    return lists().entries.erase(std::uintptr_t(list)) > 0;
}

bool IsImageList(ImageList list)
{
    return findList(list) != nullptr;
}

int ImageListCount(ImageList list)
{
    ListEntry* entry = findList(list);
    return entry ? int(entry->images.size()) : 0;
}

Size ImageListImageSize(ImageList list)
{
    ListEntry* entry = findList(list);
    return entry ? Size{entry->cx, entry->cy} : Size{};
}

int ImageListAdd(ImageList list, std::span<const std::uint32_t> pixels)
{
    ListEntry* entry = findList(list);
    if (!entry || pixels.size() != std::size_t(entry->cx) * std::size_t(entry->cy))
        return -1;
    entry->images.emplace_back(pixels.begin(), pixels.end());
    changed(*entry);
    return int(entry->images.size()) - 1;
}

std::vector<std::uint32_t> ImageListGetImage(ImageList list, int index)
{
    ListEntry* entry = findList(list);
    if (!entry || index < 0 || std::size_t(index) >= entry->images.size())
        return {};
    return entry->images[std::size_t(index)];
}

ColorRef ImageListGetBkColor(ImageList list)
{
    ListEntry* entry = findList(list);
    return entry ? entry->background : CLR_NONE;
}

ColorRef ImageListSetBkColor(ImageList list, ColorRef color)
{
    ListEntry* entry = findList(list);
    if (!entry)
        return CLR_NONE;
    ColorRef previous = entry->background;
    color = normalBackground(color);
    if (color != previous) {
        entry->background = color;
        changed(*entry);
    }
    return previous;
}

bool ImageListDraw(ImageList list, int index, Hdc hdc, int x, int y)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc || !dc->painter)
        return false;
    QPixmap pixmap = imageListPixmap(list, index);
    if (pixmap.isNull())
        return false;
    dc->painter->drawPixmap(x, y, pixmap);
    return true;
}

} // namespace platform
