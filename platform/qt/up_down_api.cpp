// The up-down control's functions, acting on its widget directly.

#include "platform/up_down.h"

#include "platform/qt/up_down_class.h"
#include "platform/qt/up_down_control.h"

namespace platform {

using namespace qt;

void UpDown_SetBuddy(Hwnd upDown, Hwnd buddy)
{
    if (UpDownControl* control = upDownOf(upDown))
        control->setBuddy(buddy);
}

Hwnd UpDown_GetBuddy(Hwnd upDown)
{
    UpDownControl* control = upDownOf(upDown);
    return control && IsWindow(control->buddy()) ? control->buddy() : Hwnd::Null;
}

void UpDown_SetRange32(Hwnd upDown, int low, int high)
{
    if (UpDownControl* control = upDownOf(upDown))
        control->setRange(low, high);
}

void UpDown_SetPos32(Hwnd upDown, int position)
{
    if (UpDownControl* control = upDownOf(upDown))
        control->setPosition(position);
}

int UpDown_GetPos32(Hwnd upDown)
{
    UpDownControl* control = upDownOf(upDown);
    return control ? control->position() : 0;
}

} // namespace platform
