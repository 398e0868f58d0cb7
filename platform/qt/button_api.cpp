// The button control's functions, acting on its widget directly.

#include "platform/button.h"

#include "platform/qt/button_class.h"
#include "platform/qt/button_control.h"

namespace platform {

using namespace qt;

void Button_SetBitmap(Hwnd button, Bitmap bitmap)
{
    if (ButtonControl* control = buttonOf(button))
        control->setBitmapImage(bitmap);
}

void Button_SetIcon(Hwnd button, Icon icon)
{
    if (ButtonControl* control = buttonOf(button))
        control->setIconImage(icon);
}

void Button_Click(Hwnd button)
{
    // As a press and release would: nothing for a disabled button.
    if (ButtonControl* control = buttonOf(button))
        control->click();
}

} // namespace platform
