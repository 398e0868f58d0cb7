// The combo box control's functions, acting on its widget directly.

#include "platform/combo_box.h"

#include "platform/qt/combo_box_class.h"
#include "platform/qt/combo_box_control.h"
#include "platform/qt/text_entry.h"

namespace platform {

using namespace qt;

namespace {
constexpr int kError = -1; // CB_ERR
}

int ComboBox_AddString(Hwnd combo, std::string_view text)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->addString(text) : kError;
}

int ComboBox_GetCount(Hwnd combo)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->count() : kError;
}

std::string ComboBox_GetLBText(Hwnd combo, int index)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->itemText(index) : std::string();
}

bool ComboBox_SetItemData(Hwnd combo, int index, LParam data)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control && control->setItemData(index, data);
}

LParam ComboBox_GetItemData(Hwnd combo, int index)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->itemData(index) : 0;
}

bool ComboBox_ResetContent(Hwnd combo)
{
    ComboBoxControl* control = comboBoxOf(combo);
    if (!control)
        return false;
    control->resetContent();
    return true;
}

int ComboBox_SetCurSel(Hwnd combo, int index)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->setCurrent(index) : kError;
}

int ComboBox_GetCurSel(Hwnd combo)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->current() : kError;
}

bool ComboBox_SetItemHeight(Hwnd combo, int which, int height)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control && control->setItemHeight(which, height);
}

int ComboBox_GetItemHeight(Hwnd combo, int which)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control ? control->itemHeight(which) : kError;
}

void ComboBox_LimitText(Hwnd combo, int bytes)
{
    if (ComboBoxControl* control = comboBoxOf(combo))
        if (TextEntry* field = control->entry())
            field->setLimit(bytes);
}

void ComboBox_SetEditSel(Hwnd combo, int start, int end)
{
    if (ComboBoxControl* control = comboBoxOf(combo))
        if (TextEntry* field = control->entry())
            field->selectBytes(start, end);
}

void ComboBox_ShowDropdown(Hwnd combo, bool show)
{
    if (ComboBoxControl* control = comboBoxOf(combo))
        control->showDropDown(show);
}

bool ComboBox_GetDroppedState(Hwnd combo)
{
    ComboBoxControl* control = comboBoxOf(combo);
    return control && control->isDropped();
}

Rect ComboBox_GetDroppedControlRect(Hwnd combo)
{
    ComboBoxControl* control = comboBoxOf(combo);
    if (!control)
        return {};
    QRect r = control->droppedListRect();
    return Rect::fromSize(r.x(), r.y(), r.width(), r.height());
}

} // namespace platform
