// The field of a combo box: a QComboBox over the control's items, whose
// list drops only after the control has told the parent (and not at all
// for the simple style, whose list is always shown).
#pragma once

#include <QComboBox>

#include <functional>

namespace platform::qt {

class LineEditor;

class ComboBoxField : public QComboBox {
public:
    struct Hooks {
        // Before the list drops; false keeps it closed.
        std::function<bool()> aboutToDrop;
        // The list is shown: the control places it.
        std::function<void()> dropped;
    };

    ComboBoxField(QWidget* parent, bool editable, bool arrow);
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    // The edit field; null for the drop-down list style.
    LineEditor* editor() const { return m_editor; }
    bool isDropped() const;

    void showPopup() override;

private:
    Hooks m_hooks;
    LineEditor* m_editor = nullptr;
};

} // namespace platform::qt
