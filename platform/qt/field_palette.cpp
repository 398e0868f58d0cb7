#include "platform/qt/field_palette.h"

#include "platform/gdi.h"
#include "platform/qt/device_context.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace platform::qt {

void applyFieldPalette(QWidget* field, const ControlColors& colors, const FieldLook& look)
{
    QColor systemBackground = toQColor(GetSysColor(look.staticLook ? COLOR_BTNFACE : COLOR_WINDOW));
    QColor systemText = toQColor(GetSysColor(look.disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    QColor background = colors.fill.value_or(colors.textBackground.value_or(systemBackground));
    QColor text = colors.text.value_or(systemText);

    QPalette palette = field->palette();
    const QPalette system = QApplication::palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Window, background);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Highlight,
                         look.selectionShown ? system.color(QPalette::Active, QPalette::Highlight) : background);
        palette.setColor(group, QPalette::HighlightedText,
                         look.selectionShown ? system.color(QPalette::Active, QPalette::HighlightedText) : text);
    }
    if (palette != field->palette())
        field->setPalette(palette);
}

} // namespace platform::qt
