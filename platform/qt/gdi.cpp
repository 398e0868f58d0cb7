#include "platform/gdi.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/device_context.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <QScreen>

#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace platform {
namespace qt {
namespace {

std::unordered_set<const DeviceContext*>& liveContexts()
{
    static std::unordered_set<const DeviceContext*> set;
    return set;
}

PaintSession*& innermostSession()
{
    static PaintSession* session = nullptr;
    return session;
}

struct FontEntry {
    QFont font;
    LogFont description;
    bool stock = false;
};

struct FontTable {
    std::unordered_map<std::uintptr_t, FontEntry> fonts;
    std::uintptr_t next = 0x20000;
    Font stockGui = Font::Null;
};

FontTable& fonts()
{
    static FontTable table;
    return table;
}

// Faces a catalogue written for another system names; the CJK font the
// platform installs stands in for them when they are missing.
QStringList familiesFor(const QString& face)
{
    QStringList families;
    if (!face.isEmpty())
        families << face;
    families << QStringLiteral("SimSun") << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("Noto Sans CJK SC");
    return families;
}

QFont makeQFont(const LogFont& lf)
{
    QFont f;
    std::string face(lf.faceName.data(), strnlen(lf.faceName.data(), lf.faceName.size()));
    f.setFamilies(familiesFor(fromGbk(face)));
    int px = lf.height < 0 ? -lf.height : lf.height > 0 ? std::max(1, lf.height * 4 / 5) : 12;
    f.setPixelSize(std::max(1, px));
    if (lf.weight >= 600)
        f.setBold(true);
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);
    return f;
}

} // namespace

DeviceContext::DeviceContext(QPainter* p, QWidget* w, Hwnd h) : painter(p), widget(w), hwnd(h)
{
    liveContexts().insert(this);
    if (h != Hwnd::Null)
        font = GetWindowFont(h);
}

DeviceContext::~DeviceContext()
{
    liveContexts().erase(this);
}

DeviceContext* DeviceContext::from(Hdc hdc)
{
    auto* dc = reinterpret_cast<DeviceContext*>(hdc);
    return liveContexts().count(dc) ? dc : nullptr;
}

PaintSession::PaintSession(Hwnd h, DeviceContext* d, Rect a) : hwnd(h), dc(d), area(a), outer(innermostSession())
{
    innermostSession() = this;
}

PaintSession::~PaintSession()
{
    innermostSession() = outer;
}

PaintSession* PaintSession::find(Hwnd hwnd)
{
    for (PaintSession* s = innermostSession(); s; s = s->outer)
        if (s->hwnd == hwnd)
            return s;
    return nullptr;
}

QColor toQColor(ColorRef c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

ColorRef fromQColor(const QColor& c)
{
    return Rgb(c.red(), c.green(), c.blue());
}

QFont qfontFor(Font font)
{
    auto& t = fonts().fonts;
    auto it = t.find(std::uintptr_t(font));
    if (it != t.end())
        return it->second.font;
    auto stock = t.find(std::uintptr_t(GetStockFont(DEFAULT_GUI_FONT)));
    return stock != t.end() ? stock->second.font : QApplication::font();
}

} // namespace qt

using namespace qt;

Hdc BeginPaint(Hwnd hwnd, PaintStruct& ps)
{
    ps = PaintStruct{};
    PaintSession* s = PaintSession::find(hwnd);
    if (!s)
        return Hdc::Null;
    ps.hdc = s->dc->handle();
    ps.rcPaint = s->area;
    return ps.hdc;
}

void EndPaint(Hwnd, const PaintStruct&) {}

ColorRef GetSysColor(int index)
{
    QPalette pal = QApplication::palette();
    switch (index) {
    case COLOR_BTNFACE:
        return Rgb(240, 240, 240);
    case COLOR_WINDOW:
        return Rgb(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
        return Rgb(0, 0, 0);
    case COLOR_GRAYTEXT:
        return Rgb(109, 109, 109);
    case COLOR_INFOBK:
        return Rgb(255, 255, 225);
    default:
        return fromQColor(pal.color(QPalette::Window));
    }
}

ColorRef SetTextColor(Hdc hdc, ColorRef color)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc)
        return 0xFFFFFFFF;
    return std::exchange(dc->textColor, color);
}

ColorRef SetBkColor(Hdc hdc, ColorRef color)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc)
        return 0xFFFFFFFF;
    return std::exchange(dc->bkColor, color);
}

ColorRef GetTextColor(Hdc hdc)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    return dc ? dc->textColor : 0xFFFFFFFF;
}

ColorRef GetBkColor(Hdc hdc)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    return dc ? dc->bkColor : 0xFFFFFFFF;
}

int SetBkMode(Hdc hdc, int mode)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc)
        return 0;
    return std::exchange(dc->bkMode, mode);
}

void FillRect(Hdc hdc, const Rect& rect, ColorRef color)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc || !dc->painter)
        return;
    dc->painter->fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), toQColor(color));
}

int DrawText(Hdc hdc, std::string_view text, Rect& rect, std::uint32_t format)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc)
        return 0;
    QString s = fromGbk(text);
    if (!(format & DT_NOPREFIX))
        s.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QLatin1Char('\x01'), QLatin1Char('&'));
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE)
        flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    QFont font = qfontFor(dc->font);
    QFontMetrics fm(font);
    QRect r(rect.left, rect.top, rect.width(), rect.height());
    QRect bounds = fm.boundingRect(format & DT_CALCRECT ? QRect(r.left(), r.top(), (format & DT_WORDBREAK) ? r.width() : 100000, 100000) : r, flags, s);
    if (format & DT_CALCRECT) {
        rect.right = rect.left + bounds.width();
        rect.bottom = rect.top + bounds.height();
        return bounds.height();
    }
    if (!dc->painter)
        return bounds.height();
    QPainter& p = *dc->painter;
    p.save();
    p.setFont(font);
    if (!(format & DT_NOCLIP))
        p.setClipRect(r, Qt::IntersectClip);
    if (dc->bkMode == OPAQUE)
        p.fillRect(bounds.intersected(r), toQColor(dc->bkColor));
    p.setPen(toQColor(dc->textColor));
    p.drawText(r, flags, s);
    p.restore();
    return bounds.height();
}

Font GetStockFont(int which)
{
    if (which != DEFAULT_GUI_FONT)
        return Font::Null;
    FontTable& t = fonts();
    if (t.stockGui == Font::Null) {
        LogFont lf;
        lf.height = -12;
        lf.weight = 400;
        lf.charSet = 1;
        std::string face = Utf8ToGbk("宋体");
        std::memcpy(lf.faceName.data(), face.data(), std::min(face.size(), lf.faceName.size() - 1));
        t.stockGui = Font(t.next += 2);
        t.fonts[std::uintptr_t(t.stockGui)] = {makeQFont(lf), lf, true};
    }
    return t.stockGui;
}

Font CreateFontIndirect(const LogFont& logFont)
{
    FontTable& t = fonts();
    Font f = Font(t.next += 2);
    t.fonts[std::uintptr_t(f)] = {makeQFont(logFont), logFont, false};
    return f;
}

bool DeleteFont(Font font)
{
    auto& t = fonts().fonts;
    auto it = t.find(std::uintptr_t(font));
    if (it == t.end() || it->second.stock)
        return false;
    t.erase(it);
    return true;
}

bool GetFontDescription(Font font, LogFont& out)
{
    auto& t = fonts().fonts;
    auto it = t.find(std::uintptr_t(font));
    if (it == t.end())
        return false;
    out = it->second.description;
    return true;
}

Font SelectFont(Hdc hdc, Font font)
{
    DeviceContext* dc = DeviceContext::from(hdc);
    if (!dc)
        return Font::Null;
    return std::exchange(dc->font, font);
}

void SetWindowFont(Hwnd hwnd, Font font)
{
    // Through the window's procedure, so a control can lay itself out for
    // the new font; the default processing keeps it and repaints.
    SendMessage(hwnd, WM_SETFONT, WParam(font), 1);
}

Font GetWindowFont(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->font : Font::Null;
}

int LogPixelsY()
{
    return 96;
}

} // namespace platform
