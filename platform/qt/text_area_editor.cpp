#include "platform/qt/text_area_editor.h"

#include "platform/qt/classic_style.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace platform::qt {

TextAreaEditor::TextAreaEditor(QWidget* parent) : QPlainTextEdit(parent), TextEntry(true)
{
    setStyle(ClassicStyle::get());
    setFrameStyle(QFrame::NoFrame);
    // Tab moves the focus, as in a dialog; the field takes no drops, which
    // would pass by its limit.
    setTabChangesFocus(true);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            notifyEdited();
    });
    setScrolling({});
}

void TextAreaEditor::setScrolling(const Scrolling& scrolling)
{
    m_scrolling = scrolling;
    bool wraps = !scrolling.autoHorizontal && !scrolling.horizontalBar;
    setLineWrapMode(wraps ? WidgetWidth : NoWrap);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(scrolling.horizontalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(scrolling.verticalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setBoundedByBox(!scrolling.autoVertical && !scrolling.verticalBar);
}

void TextAreaEditor::setAlignment(Qt::Alignment alignment)
{
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

void TextAreaEditor::setEntryText(const QString& text)
{
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
}

TextEntry::Range TextAreaEditor::selectedRange() const
{
    QTextCursor cursor = textCursor();
    return {cursor.anchor(), cursor.position()};
}

void TextAreaEditor::selectRange(Range range)
{
    QTextCursor cursor(document());
    cursor.setPosition(int(range.anchor));
    cursor.setPosition(int(range.caret), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool TextAreaEditor::showsWhole(const QString& text) const
{
    // Laid out as the field lays out its own text: same font, margin and
    // width.
    QTextDocument trial;
    trial.setDefaultFont(font());
    trial.setDocumentMargin(document()->documentMargin());
    trial.setDefaultTextOption(document()->defaultTextOption());
    if (lineWrapMode() == WidgetWidth)
        trial.setTextWidth(viewport()->width());
    trial.setPlainText(text);
    return trial.size().height() <= viewport()->height();
}

void TextAreaEditor::replaceSelection(const QString& text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

bool TextAreaEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void TextAreaEditor::insertFromMimeData(const QMimeData* source)
{
    insertAsUser(source->text());
}

void TextAreaEditor::keyPressEvent(QKeyEvent* event)
{
    bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & Qt::ControlModifier) && !takesLineBreaks()) {
        // Enter goes on to the window (its default button); Ctrl+Enter
        // still makes a line.
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace platform::qt
