// Memory device contexts: a painter on the image of the bitmap selected
// into the context, with the drawing state every context keeps.  Bitmap
// pixels copied in and out.

#include "platform/gdi.h"

#include "platform/qt/device_context.h"
#include "platform/qt/handle_images.h"

#include <QImage>
#include <QPainter>

#include <cassert>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace platform {
namespace {

struct MemoryContext {
    QPainter painter;
    qt::DeviceContext dc{nullptr, nullptr, Hwnd::Null};
    Bitmap selected = Bitmap::Null;
};

struct MemoryContexts {
    std::unordered_map<std::uintptr_t, std::unique_ptr<MemoryContext>> byHandle;
    std::unordered_map<std::uintptr_t, MemoryContext*> bySelection;
};

MemoryContexts& contexts()
{
    static MemoryContexts c;
    return c;
}

MemoryContext* memoryContext(Hdc hdc)
{
    auto& m = contexts().byHandle;
    auto it = m.find(std::uintptr_t(hdc));
    return it == m.end() ? nullptr : it->second.get();
}

void deselect(MemoryContext& c)
{
    if (c.selected == Bitmap::Null)
        return;
    if (c.painter.isActive())
        c.painter.end();
    c.dc.painter = nullptr;
    contexts().bySelection.erase(std::uintptr_t(c.selected));
    c.selected = Bitmap::Null;
}

// 0xAARRGGBB rows, the layout of the images behind bitmaps.
bool isPixelImage(const QImage& image)
{
    return image.format() == QImage::Format_ARGB32;
}

} // namespace

bool qt::isBitmapSelected(Bitmap bitmap)
{
    return contexts().bySelection.count(std::uintptr_t(bitmap)) != 0;
}

Hdc CreateCompatibleDC(Hdc)
{
    auto c = std::make_unique<MemoryContext>();
    Hdc handle = c->dc.handle();
    contexts().byHandle.emplace(std::uintptr_t(handle), std::move(c));
    return handle;
}

bool DeleteDC(Hdc hdc)
{
    MemoryContext* c = memoryContext(hdc);
    if (!c)
        return false;
    deselect(*c);
    contexts().byHandle.erase(std::uintptr_t(hdc));
    return true;
}

Bitmap CreateCompatibleBitmap(Hdc, int width, int height)
{
    if (width <= 0 || height <= 0)
        return Bitmap::Null;
    std::vector<std::uint32_t> clear(std::size_t(width) * std::size_t(height), 0u);
    return CreateBitmapFromPixels(width, height, clear);
}

Bitmap SelectBitmap(Hdc hdc, Bitmap bitmap)
{
    MemoryContext* c = memoryContext(hdc);
    if (!c)
        return Bitmap::Null;
    if (bitmap == c->selected)
        return bitmap;
    QImage* surface = bitmap == Bitmap::Null ? nullptr : qt::bitmapSurface(bitmap);
    if (bitmap != Bitmap::Null && (!surface || qt::isBitmapSelected(bitmap)))
        return Bitmap::Null;
    Bitmap previous = c->selected;
    deselect(*c);
    if (surface) {
        if (!c->painter.begin(surface))
            return previous;
        c->dc.painter = &c->painter;
        c->selected = bitmap;
        contexts().bySelection.emplace(std::uintptr_t(bitmap), c);
    }
    return previous;
}

bool BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY)
{
    qt::DeviceContext* to = qt::DeviceContext::from(destination);
    MemoryContext* from = memoryContext(source);
    if (!to || !to->painter || !from || from->selected == Bitmap::Null || width <= 0 || height <= 0)
        return false;
    const QImage* image = qt::bitmapSurface(from->selected);
    assert(image && "a selected bitmap lives until it is deselected");
    QPainter& p = *to->painter;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x, y), *image, QRect(sourceX, sourceY, width, height));
    p.restore();
    return true;
}

std::vector<std::uint32_t> GetBitmapPixels(Bitmap bitmap)
{
    const QImage* image = qt::bitmapSurface(bitmap);
    if (!image || !isPixelImage(*image))
        return {};
    std::vector<std::uint32_t> pixels(std::size_t(image->width()) * std::size_t(image->height()));
    for (int y = 0; y < image->height(); ++y)
        std::memcpy(pixels.data() + std::size_t(y) * std::size_t(image->width()), image->constScanLine(y),
                    std::size_t(image->width()) * 4);
    return pixels;
}

bool SetBitmapPixels(Bitmap bitmap, std::span<const std::uint32_t> pixels)
{
    QImage* image = qt::bitmapSurface(bitmap);
    if (!image || !isPixelImage(*image) ||
        pixels.size() != std::size_t(image->width()) * std::size_t(image->height()))
        return false;
    for (int y = 0; y < image->height(); ++y)
        std::memcpy(image->scanLine(y), pixels.data() + std::size_t(y) * std::size_t(image->width()),
                    std::size_t(image->width()) * 4);
    return true;
}

} // namespace platform
