#include "platform/icon.h"

#include "platform/qt/handle_images.h"
#include "platform/qt/registry.h"

#include <QBuffer>
#include <QCursor>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <cstring>
#include <unordered_map>

namespace platform {
namespace qt {
namespace {

struct IconEntry {
    QPixmap pixmap;
};

struct CursorEntry {
    QCursor cursor;
    bool standard = false;
};

struct Tables {
    std::unordered_map<std::uintptr_t, IconEntry> icons;
    std::unordered_map<std::uintptr_t, CursorEntry> cursors;
    std::unordered_map<int, std::uintptr_t> standardCursors;
    std::unordered_map<std::uintptr_t, std::uintptr_t> windowIcons;
    std::uintptr_t next = 0x40000;
};

Tables& tables()
{
    static Tables t;
    return t;
}

std::uint16_t u16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t u32(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

struct DirectoryEntry {
    int width = 0, height = 0;
    int hotX = 0, hotY = 0;
};

// Checks an icon or cursor file's directory against its length: every
// image it names must lie inside the data.
bool readDirectory(std::span<const std::uint8_t> data, int expectedType, std::vector<DirectoryEntry>& out)
{
    if (data.size() < 6 || u16(data.data()) != 0 || u16(data.data() + 2) != expectedType)
        return false;
    std::size_t count = u16(data.data() + 4);
    if (count == 0 || data.size() < 6 + 16 * count)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data.data() + 6 + 16 * i;
        std::uint32_t size = u32(e + 8);
        std::uint32_t offset = u32(e + 12);
        if (size == 0 || offset > data.size() || size > data.size() - offset)
            return false;
        DirectoryEntry d;
        d.width = e[0] ? e[0] : 256;
        d.height = e[1] ? e[1] : 256;
        d.hotX = u16(e + 4);
        d.hotY = u16(e + 6);
        out.push_back(d);
    }
    return true;
}

std::vector<QImage> decodeImages(std::span<const std::uint8_t> data)
{
    QByteArray bytes(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    // The toolkit's reader knows icon files; a cursor file differs only in
    // its type word.
    bytes[2] = 1;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    std::vector<QImage> images;
    int n = reader.imageCount();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        QImage img = reader.read();
        if (img.isNull())
            break;
        images.push_back(img);
    }
    return images;
}

std::uintptr_t newHandle()
{
    return tables().next += 2;
}

} // namespace
} // namespace qt

using namespace qt;

Icon CreateIconFromPixels(int width, int height, std::span<const std::uint32_t> pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != std::size_t(width) * std::size_t(height))
        return Icon::Null;
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + std::size_t(y) * std::size_t(width), std::size_t(width) * 4);
    std::uintptr_t h = newHandle();
    tables().icons[h] = {QPixmap::fromImage(image)};
    return Icon(h);
}

Icon CreateIconFromFile(std::span<const std::uint8_t> iconFile, int wantedSize)
{
    std::vector<DirectoryEntry> dir;
    if (!readDirectory(iconFile, 1, dir))
        return Icon::Null;
    std::vector<QImage> images = decodeImages(iconFile);
    if (images.empty())
        return Icon::Null;
    std::size_t best = 0;
    if (wantedSize > 0) {
        int bestDiff = 1 << 30;
        for (std::size_t i = 0; i < images.size(); ++i) {
            int diff = std::abs(images[i].width() - wantedSize);
            if (diff < bestDiff) {
                bestDiff = diff;
                best = i;
            }
        }
    }
    std::uintptr_t h = newHandle();
    tables().icons[h] = {QPixmap::fromImage(images[best])};
    return Icon(h);
}

bool DestroyIcon(Icon icon)
{
    return tables().icons.erase(std::uintptr_t(icon)) > 0;
}

bool IsIcon(Icon icon)
{
    return tables().icons.count(std::uintptr_t(icon)) > 0;
}

Size GetIconSize(Icon icon)
{
    auto& icons = tables().icons;
    auto it = icons.find(std::uintptr_t(icon));
    if (it == icons.end())
        return {};
    return {it->second.pixmap.width(), it->second.pixmap.height()};
}

void SetWindowIcon(Hwnd hwnd, Icon icon)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->isChild() || !r->widget)
        return;
    auto& icons = tables().icons;
    auto it = icons.find(std::uintptr_t(icon));
    if (it == icons.end()) {
        r->widget->setWindowIcon(QIcon());
        tables().windowIcons.erase(std::uintptr_t(hwnd));
        return;
    }
    r->widget->setWindowIcon(QIcon(it->second.pixmap));
    tables().windowIcons[std::uintptr_t(hwnd)] = std::uintptr_t(icon);
}

Icon GetWindowIcon(Hwnd hwnd)
{
    if (!IsWindow(hwnd))
        return Icon::Null;
    auto& map = tables().windowIcons;
    auto it = map.find(std::uintptr_t(hwnd));
    return it == map.end() || !IsIcon(Icon(it->second)) ? Icon::Null : Icon(it->second);
}

Cursor LoadStandardCursor(StandardCursor which)
{
    static const std::unordered_map<int, Qt::CursorShape> shapes = {
        {int(StandardCursor::Arrow), Qt::ArrowCursor},         {int(StandardCursor::IBeam), Qt::IBeamCursor},
        {int(StandardCursor::Wait), Qt::WaitCursor},           {int(StandardCursor::Cross), Qt::CrossCursor},
        {int(StandardCursor::UpArrow), Qt::UpArrowCursor},     {int(StandardCursor::SizeNWSE), Qt::SizeFDiagCursor},
        {int(StandardCursor::SizeNESW), Qt::SizeBDiagCursor},  {int(StandardCursor::SizeWE), Qt::SizeHorCursor},
        {int(StandardCursor::SizeNS), Qt::SizeVerCursor},      {int(StandardCursor::SizeAll), Qt::SizeAllCursor},
        {int(StandardCursor::No), Qt::ForbiddenCursor},        {int(StandardCursor::Hand), Qt::PointingHandCursor},
        {int(StandardCursor::AppStarting), Qt::BusyCursor},    {int(StandardCursor::Help), Qt::WhatsThisCursor},
    };
    auto shape = shapes.find(int(which));
    if (shape == shapes.end())
        return Cursor::Null;
    Tables& t = tables();
    auto& h = t.standardCursors[int(which)];
    if (!h) {
        h = newHandle();
        t.cursors[h] = {QCursor(shape->second), true};
    }
    return Cursor(h);
}

Cursor CreateCursorFromFile(std::span<const std::uint8_t> cursorFile)
{
    std::vector<DirectoryEntry> dir;
    if (!readDirectory(cursorFile, 2, dir))
        return Cursor::Null;
    std::vector<QImage> images = decodeImages(cursorFile);
    if (images.empty())
        return Cursor::Null;
    std::uintptr_t h = newHandle();
    tables().cursors[h] = {QCursor(QPixmap::fromImage(images[0]), dir[0].hotX, dir[0].hotY), false};
    return Cursor(h);
}

bool DestroyCursor(Cursor cursor)
{
    auto& cursors = tables().cursors;
    auto it = cursors.find(std::uintptr_t(cursor));
    if (it == cursors.end() || it->second.standard)
        return false;
    cursors.erase(it);
    return true;
}

bool IsCursor(Cursor cursor)
{
    return tables().cursors.count(std::uintptr_t(cursor)) > 0;
}

void SetWindowCursor(Hwnd hwnd, Cursor cursor)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || !r->client)
        return;
    if (std::optional<QCursor> shape = qcursorFor(cursor))
        r->client->setCursor(*shape);
    else
        r->client->unsetCursor();
}

std::optional<QPixmap> qt::qpixmapFor(Icon icon)
{
    auto& icons = tables().icons;
    auto it = icons.find(std::uintptr_t(icon));
    if (it == icons.end())
        return std::nullopt;
    return it->second.pixmap;
}

std::optional<QCursor> qt::qcursorFor(Cursor cursor)
{
    auto& cursors = tables().cursors;
    auto it = cursors.find(std::uintptr_t(cursor));
    if (it == cursors.end())
        return std::nullopt;
    return it->second.cursor;
}

} // namespace platform
