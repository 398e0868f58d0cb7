#include "platform/qt/line_editor.h"

#include "platform/qt/classic_style.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyleOptionFrame>

#include <limits>

namespace platform::qt {
namespace {
// QLineEdit keeps its text this far from the contents rectangle, and the
// caret takes a pixel at the end.
constexpr int kTextMargin = 2;
constexpr int kCaretWidth = 1;
} // namespace

LineEditor::LineEditor(QWidget* parent) : QLineEdit(parent), TextEntry(false)
{
    setStyle(ClassicStyle::get());
    setFrame(false);
    // The byte limit is ours; Qt's own counts UTF-16 units and would cut
    // the program's SetWindowText.
    setMaxLength(std::numeric_limits<int>::max());
    setAcceptDrops(false);
    setAutoFillBackground(true);
    connect(this, &QLineEdit::textEdited, this, [this] { notifyEdited(); });
}

void LineEditor::setPasswordCharacter(QChar character)
{
    if (character.isNull()) {
        setEchoMode(Normal);
        return;
    }
    // The style answers the mask character; setting it anew tells the
    // field.
    setStyle(ClassicStyle::get({.passwordCharacter = character.unicode()}));
    setEchoMode(Password);
}

TextEntry::Range LineEditor::selectedRange() const
{
    if (!hasSelectedText())
        return {cursorPosition(), cursorPosition()};
    qsizetype start = selectionStart();
    qsizetype end = selectionEnd();
    return cursorPosition() == start ? Range{end, start} : Range{start, end};
}

void LineEditor::selectRange(Range range)
{
    if (range.anchor == range.caret)
        setCursorPosition(int(range.caret));
    else
        setSelection(int(range.anchor), int(range.caret - range.anchor));
}

void LineEditor::scrollToCaret()
{
    // QLineEdit keeps its caret in view whenever it moves; moving it to
    // where it is lays the text out again.
    Range r = selectedRange();
    selectRange(r);
    update();
}

bool LineEditor::showsWhole(const QString& text) const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect box = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins());
    QString shown = echoMode() == Password
                        ? QString(text.size(), QChar(style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, this)))
                        : text;
    return fontMetrics().horizontalAdvance(shown) <= box.width() - 2 * kTextMargin - kCaretWidth;
}

void LineEditor::replaceSelection(const QString& text)
{
    // insert() is an edit as the user's: textEdited follows.
    insert(text);
}

void LineEditor::pasteClipboard()
{
    if (!QLineEdit::isReadOnly())
        insertAsUser(QApplication::clipboard()->text());
}

void LineEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        event->accept();
        return;
    }
    // A single line is the whole text: the ends of the text are the ends
    // of the line, with Ctrl as without it.  QLineEdit knows only the
    // latter.
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        Qt::KeyboardModifiers rest = event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
        if ((event->modifiers() & Qt::ControlModifier) && (rest == Qt::NoModifier || rest == Qt::ShiftModifier)) {
            bool select = rest == Qt::ShiftModifier;
            event->key() == Qt::Key_Home ? home(select) : end(select);
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void LineEditor::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, [this] { pasteClipboard(); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void LineEditor::focusOutEvent(QFocusEvent* event)
{
    // QLineEdit drops the selection when the focus goes; the field keeps
    // it, and its palette decides whether it shows.
    Range kept = selectedRange();
    QLineEdit::focusOutEvent(event);
    if (selectedRange().start() != kept.start() || selectedRange().end() != kept.end())
        selectRange(kept);
}

} // namespace platform::qt
