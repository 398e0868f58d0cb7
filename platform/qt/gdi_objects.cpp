// Brushes and bitmaps: handles into tables of their own, never reused, so a
// stale handle is reliably no object.

#include "platform/gdi.h"

#include "platform/qt/device_context.h"
#include "platform/qt/handle_images.h"

#include <QImage>
#include <QPainter>

#include <cstring>
#include <unordered_map>

namespace platform {
namespace {

struct Objects {
    std::unordered_map<std::uintptr_t, ColorRef> brushes;
    std::unordered_map<std::uintptr_t, QImage> bitmaps;
    std::uintptr_t next = 0x80000;
};

Objects& objects()
{
    static Objects o;
    return o;
}

const QImage* bitmapImage(Bitmap bitmap)
{
    auto& b = objects().bitmaps;
    auto it = b.find(std::uintptr_t(bitmap));
    return it == b.end() ? nullptr : &it->second;
}

} // namespace

Brush CreateSolidBrush(ColorRef color)
{
    Objects& o = objects();
    o.next += 2;
    o.brushes[o.next] = color & 0xFFFFFF;
    return Brush(o.next);
}

bool DeleteBrush(Brush brush)
{
    return objects().brushes.erase(std::uintptr_t(brush)) != 0;
}

bool GetBrushColor(Brush brush, ColorRef& color)
{
    auto& b = objects().brushes;
    auto it = b.find(std::uintptr_t(brush));
    if (it == b.end())
        return false;
    color = it->second;
    return true;
}

Bitmap CreateBitmapFromPixels(int width, int height, std::span<const std::uint32_t> pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != std::size_t(width) * std::size_t(height))
        return Bitmap::Null;
    // Format_ARGB32 is 0xAARRGGBB with straight alpha, the bitmap's own
    // layout, so rows copy as they are.
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return Bitmap::Null;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + std::size_t(y) * std::size_t(width), std::size_t(width) * 4);
    Objects& o = objects();
    o.next += 2;
    o.bitmaps.emplace(o.next, std::move(image));
    return Bitmap(o.next);
}

bool DeleteBitmap(Bitmap bitmap)
{
    // A memory context draws into it: the classic interface refuses too.
    if (qt::isBitmapSelected(bitmap))
        return false;
    return objects().bitmaps.erase(std::uintptr_t(bitmap)) != 0;
}

Size GetBitmapSize(Bitmap bitmap)
{
    const QImage* image = bitmapImage(bitmap);
    return image ? Size{image->width(), image->height()} : Size{};
}

bool StretchDrawBitmap(Hdc hdc, Bitmap bitmap, const Rect& destination, const Rect& source, bool smooth)
{
    qt::DeviceContext* dc = qt::DeviceContext::from(hdc);
    const QImage* image = bitmapImage(bitmap);
    if (!dc || !dc->painter || !image)
        return false;
    QPainter& p = *dc->painter;
    QRect target(destination.left, destination.top, destination.width(), destination.height());
    QRect from(source.left, source.top, source.width(), source.height());
    if (target.isEmpty() || from.isEmpty())
        return true;
    if (smooth && target.size() != from.size()) {
        // A painter's smooth transform samples; shrinking a picture a lot
        // wants the pixels that fall together averaged.
        p.drawImage(target.topLeft(), image->copy(from).scaled(target.size(), Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation));
        return true;
    }
    p.drawImage(target, *image, from);
    return true;
}

Bitmap CreateScaledBitmap(Bitmap bitmap, Size size, bool smooth)
{
    const QImage* image = bitmapImage(bitmap);
    if (!image || size.cx <= 0 || size.cy <= 0)
        return Bitmap::Null;
    QImage scaled = image->scaled(size.cx, size.cy, Qt::IgnoreAspectRatio,
                                  smooth ? Qt::SmoothTransformation : Qt::FastTransformation)
                        .convertToFormat(QImage::Format_ARGB32);
    if (scaled.isNull())
        return Bitmap::Null;
    Objects& o = objects();
    o.next += 2;
    o.bitmaps.emplace(o.next, std::move(scaled));
    return Bitmap(o.next);
}

QImage* qt::bitmapSurface(Bitmap bitmap)
{
    auto& b = objects().bitmaps;
    auto it = b.find(std::uintptr_t(bitmap));
    return it == b.end() ? nullptr : &it->second;
}

std::optional<QImage> qt::qimageFor(Bitmap bitmap)
{
    const QImage* image = bitmapImage(bitmap);
    if (!image)
        return std::nullopt;
    return *image;
}

} // namespace platform
