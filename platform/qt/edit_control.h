// The edit control's widget: a frame drawing the border the window styles
// ask for, around a single-line or multi-line field.  Before it paints it
// asks its parent for its colours.
#pragma once

#include "platform/qt/text_entry.h"
#include "platform/types.h"

#include <QFrame>

#include <cstdint>

namespace platform {
struct CreateStruct;
}

namespace platform::qt {

class LineEditor;
class TextAreaEditor;

class EditControl : public QFrame {
public:
    EditControl(QWidget* parent, const CreateStruct& cs);

    TextEntry& entry() { return *m_entry; }
    void applyStyles(std::uint32_t style, std::uint32_t exStyle);
    // A GBK character code; 0 shows the text.  Single-line fields only.
    void setPasswordCharacter(std::uint32_t code);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Hwnd handle() const;
    QChar shownPasswordCharacter() const;
    void applyEditorStyles(std::uint32_t style);
    void notifyParent(std::uint32_t code);

    LineEditor* m_line = nullptr;
    TextAreaEditor* m_area = nullptr;
    TextEntry* m_entry = nullptr;
    std::uint32_t m_style = 0;
    std::uint32_t m_passwordCharacter = 0;
};

} // namespace platform::qt
