// A single-line field: the edit control without ES_MULTILINE, and the edit
// field of a combo box.  Pastes go through the field's rules (the limit,
// the case); the selection stays when the focus leaves, shown or not as
// the field's palette says.
#pragma once

#include "platform/qt/text_entry.h"

#include <QLineEdit>

namespace platform::qt {

class LineEditor : public QLineEdit, public TextEntry {
public:
    explicit LineEditor(QWidget* parent);

    // 0: the text shows; else the character shown for each one.
    void setPasswordCharacter(QChar character);

    QWidget* editorWidget() override { return this; }
    QString entryText() const override { return text(); }
    void setEntryText(const QString& text) override { setText(text); }
    Range selectedRange() const override;
    void selectRange(Range range) override;
    void scrollToCaret() override;
    bool isReadOnly() const override { return QLineEdit::isReadOnly(); }

protected:
    bool showsWhole(const QString& text) const override;
    void replaceSelection(const QString& text) override;

    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void pasteClipboard();
};

} // namespace platform::qt
