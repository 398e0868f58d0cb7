#include "ui/framework/unit_window.h"

#include "platform/icon.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "ui/framework/unit_object.h"

namespace ui {

void RegisterUnitWindowClass(const char* className, std::uint32_t classStyle)
{
    if (platform::IsWindowClassRegistered(className))
        return;
    platform::WindowClass cls;
    cls.name = className;
    cls.style = classStyle;
    cls.cursor = platform::LoadStandardCursor(platform::StandardCursor::Arrow);
    cls.nullBrush = true;
    platform::RegisterWindowClass(cls);
}

bool CreateUnitWindow(UnitObject* unit, const UnitCreateParams& p, const char* className, std::uint32_t style,
                      std::uint32_t exStyle, std::string_view text)
{
    platform::WindowCreateParams w;
    w.exStyle = exStyle;
    w.className = className;
    w.text = text;
    w.style = platform::WS_CHILD | platform::WS_CLIPSIBLINGS | style;
    w.x = p.left;
    w.y = p.top;
    w.width = p.width;
    w.height = p.height;
    w.parent = p.parent;
    w.controlId = p.controlId;
    if (platform::CreateWindowEx(w, unit) != platform::Hwnd::Null)
        return true;
    delete unit;
    return false;
}

} // namespace ui
