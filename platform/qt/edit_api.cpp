// The edit control's functions, acting on its widget directly.

#include "platform/edit.h"

#include "platform/qt/edit_class.h"
#include "platform/qt/edit_control.h"
#include "platform/qt/qt_text.h"

namespace platform {

using namespace qt;

void Edit_LimitText(Hwnd edit, int bytes)
{
    if (EditControl* control = editOf(edit))
        control->entry().setLimit(bytes);
}

int Edit_GetLimitText(Hwnd edit)
{
    EditControl* control = editOf(edit);
    return control ? control->entry().limit() : 0;
}

void Edit_SetPasswordChar(Hwnd edit, std::uint16_t character)
{
    if (EditControl* control = editOf(edit))
        control->setPasswordCharacter(character);
}

void Edit_SetSel(Hwnd edit, int start, int end)
{
    if (EditControl* control = editOf(edit))
        control->entry().selectBytes(start, end);
}

EditSelection Edit_GetSel(Hwnd edit)
{
    EditControl* control = editOf(edit);
    if (!control)
        return {};
    TextEntry::ByteRange r = control->entry().byteSelection();
    return {.start = r.start, .end = r.end};
}

void Edit_ScrollCaret(Hwnd edit)
{
    if (EditControl* control = editOf(edit))
        control->entry().scrollToCaret();
}

void Edit_ReplaceSel(Hwnd edit, std::string_view text)
{
    if (EditControl* control = editOf(edit))
        control->entry().insertAsUser(fromGbk(text));
}

} // namespace platform
