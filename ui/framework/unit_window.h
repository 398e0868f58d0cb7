// The window of a unit that draws for itself: its class, registered once,
// and the child window made at the place the unit's record gives.
#pragma once

#include "ui/framework/unit_kind.h"

#include <cstdint>
#include <string_view>

namespace ui {

class UnitObject;

// Registers the class once: arrow cursor, no background brush.
void RegisterUnitWindowClass(const char* className, std::uint32_t classStyle = 0);

// Creates the unit's window as a child of the window's client area, with
// the given styles on top of WS_CHILD | WS_CLIPSIBLINGS and the given
// window text.  When the window cannot be made the object is deleted and
// false returned.
bool CreateUnitWindow(UnitObject* unit, const UnitCreateParams& p, const char* className, std::uint32_t style,
                      std::uint32_t exStyle = 0, std::string_view text = {});

} // namespace ui
