#include "platform/qt/combo_box_field.h"

#include "platform/qt/classic_style.h"
#include "platform/qt/line_editor.h"

#include <QAbstractItemView>

namespace platform::qt {

ComboBoxField::ComboBoxField(QWidget* parent, bool editable, bool arrow) : QComboBox(parent)
{
    setStyle(ClassicStyle::get({.comboArrow = arrow}));
    setFocusPolicy(Qt::StrongFocus);
    if (editable) {
        m_editor = new LineEditor(this);
        setLineEdit(m_editor);
        // The classic field neither completes what is typed nor adds it to
        // the items on Enter.
        setCompleter(nullptr);
        setInsertPolicy(NoInsert);
    }
    setSizeAdjustPolicy(AdjustToContentsOnFirstShow);
    setMaxVisibleItems(1000);
}

bool ComboBoxField::isDropped() const
{
    return view()->window()->isVisible();
}

void ComboBoxField::showPopup()
{
    if (isDropped() || (m_hooks.aboutToDrop && !m_hooks.aboutToDrop()))
        return;
    QComboBox::showPopup();
    if (m_hooks.dropped && isDropped())
        m_hooks.dropped();
}

} // namespace platform::qt
