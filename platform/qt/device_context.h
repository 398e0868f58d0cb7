// Device contexts: a QPainter with the drawing state the classic interface
// keeps per context (text colour, background colour and mode, font).
#pragma once

#include "platform/gdi.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace platform::qt {

class DeviceContext {
public:
    DeviceContext(QPainter* painter, QWidget* widget, Hwnd hwnd);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Hdc handle() const { return Hdc(reinterpret_cast<std::uintptr_t>(this)); }
    // The live context behind a handle, or null for a stale or foreign one.
    static DeviceContext* from(Hdc hdc);

    QPainter* painter = nullptr;
    QPointer<QWidget> widget;
    Hwnd hwnd = Hwnd::Null;
    ColorRef textColor = 0;
    ColorRef bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    Font font = Font::Null;
};

// While a window paints, BeginPaint hands out this context.
class PaintSession {
public:
    PaintSession(Hwnd hwnd, DeviceContext* dc, Rect area);
    ~PaintSession();
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    static PaintSession* find(Hwnd hwnd);

    Hwnd hwnd;
    DeviceContext* dc;
    Rect area;
    PaintSession* outer = nullptr;
};

QColor toQColor(ColorRef c);
ColorRef fromQColor(const QColor& c);
QFont qfontFor(Font font);

} // namespace platform::qt
