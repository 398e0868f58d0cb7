// A multi-line field: the edit control with ES_MULTILINE.  Lines wrap at
// the field's width unless it scrolls sideways; a field that scrolls
// neither way takes only the text it can show.
#pragma once

#include "platform/qt/text_entry.h"

#include <QPlainTextEdit>

namespace platform::qt {

class TextAreaEditor : public QPlainTextEdit, public TextEntry {
public:
    explicit TextAreaEditor(QWidget* parent);

    struct Scrolling {
        bool autoHorizontal = false; // ES_AUTOHSCROLL
        bool autoVertical = false;   // ES_AUTOVSCROLL
        bool horizontalBar = false;  // WS_HSCROLL
        bool verticalBar = false;    // WS_VSCROLL
    };
    void setScrolling(const Scrolling& scrolling);
    void setAlignment(Qt::Alignment alignment);

    QWidget* editorWidget() override { return this; }
    QString entryText() const override { return toPlainText(); }
    void setEntryText(const QString& text) override;
    Range selectedRange() const override;
    void selectRange(Range range) override;
    void scrollToCaret() override { ensureCursorVisible(); }
    bool isReadOnly() const override { return QPlainTextEdit::isReadOnly(); }

protected:
    bool showsWhole(const QString& text) const override;
    void replaceSelection(const QString& text) override;

    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_settingText = false;
    Scrolling m_scrolling;
};

} // namespace platform::qt
