#include "platform/qt/edit_control.h"

#include "platform/edit.h"
#include "platform/qt/control_support.h"
#include "platform/qt/field_palette.h"
#include "platform/qt/input.h"
#include "platform/qt/line_editor.h"
#include "platform/qt/registry.h"
#include "platform/qt/text_area_editor.h"
#include "platform/window.h"

#include <QEvent>
#include <QVBoxLayout>

#include <cassert>

namespace platform::qt {
namespace {

constexpr std::uint32_t kDefaultPasswordCharacter = '*';

Qt::Alignment horizontalAlignment(std::uint32_t style)
{
    if (style & ES_CENTER)
        return Qt::AlignHCenter;
    if (style & ES_RIGHT)
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

TextEntry::Case caseOf(std::uint32_t style)
{
    if (style & ES_UPPERCASE)
        return TextEntry::Case::Upper;
    if (style & ES_LOWERCASE)
        return TextEntry::Case::Lower;
    return TextEntry::Case::Keep;
}

} // namespace

QChar EditControl::shownPasswordCharacter() const
{
    QString shown = unpackCharCode(m_passwordCharacter ? m_passwordCharacter : kDefaultPasswordCharacter);
    return shown.isEmpty() ? QChar(kDefaultPasswordCharacter) : shown.front();
}

EditControl::EditControl(QWidget* parent, const CreateStruct& cs) : QFrame(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (cs.style & ES_MULTILINE) {
        m_area = new TextAreaEditor(this);
        m_entry = m_area;
    } else {
        m_line = new LineEditor(this);
        m_entry = m_line;
    }
    assert(m_entry && (m_line == nullptr) != (m_area == nullptr));
    QWidget* editor = m_entry->editorWidget();
    layout->addWidget(editor);
    setFocusProxy(editor);
    editor->installEventFilter(this);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    m_entry->setListener({
        .edited = [this] { notifyParent(EN_CHANGE); },
        .refused = [this] { notifyParent(EN_MAXTEXT); },
    });
    if (cs.style & ES_PASSWORD)
        m_passwordCharacter = kDefaultPasswordCharacter;
    applyStyles(cs.style, cs.exStyle);
    m_entry->setWindowText(cs.text);
}

void EditControl::applyStyles(std::uint32_t style, std::uint32_t exStyle)
{
    m_style = style;
    applyBorderStyles(this, style, exStyle);
    m_entry->setCase(caseOf(style));
    m_entry->setTakesLineBreaks(style & ES_WANTRETURN);
    applyEditorStyles(style);
    update();
}

void EditControl::applyEditorStyles(std::uint32_t style)
{
    bool readOnly = style & ES_READONLY;
    if (m_line) {
        // A single line sits at the top of its box, as the classic field
        // draws it.
        m_line->setAlignment(horizontalAlignment(style) | Qt::AlignTop);
        m_line->setReadOnly(readOnly);
        m_line->setBoundedByBox(!(style & ES_AUTOHSCROLL));
        m_line->setPasswordCharacter(style & ES_PASSWORD ? shownPasswordCharacter() : QChar());
        return;
    }
    m_area->setAlignment(horizontalAlignment(style));
    m_area->setReadOnly(readOnly);
    m_area->setScrolling({
        .autoHorizontal = bool(style & ES_AUTOHSCROLL),
        .autoVertical = bool(style & ES_AUTOVSCROLL),
        .horizontalBar = bool(style & WS_HSCROLL),
        .verticalBar = bool(style & WS_VSCROLL),
    });
}

void EditControl::setPasswordCharacter(std::uint32_t code)
{
    if (!m_line)
        return;
    m_passwordCharacter = code;
    // The style bit follows, as the classic control sets and clears it.
    if (WindowRecord* r = findWindow(handle()))
        r->style = code ? (r->style | ES_PASSWORD) : (r->style & ~std::uint32_t(ES_PASSWORD));
    m_style = code ? (m_style | ES_PASSWORD) : (m_style & ~std::uint32_t(ES_PASSWORD));
    applyEditorStyles(m_style);
}

void EditControl::paintEvent(QPaintEvent* event)
{
    Hwnd hwnd = handle();
    bool disabled = !isEnabled();
    bool staticLook = disabled || m_entry->isReadOnly();
    ControlColors colors = askParentForColors(hwnd, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    if (!IsWindow(hwnd))
        return;
    applyFieldPalette(this, colors,
                      {.staticLook = staticLook,
                       .disabled = disabled,
                       .selectionShown = (m_style & ES_NOHIDESEL) || m_entry->editorWidget()->hasFocus()});
    QFrame::paintEvent(event);
}

bool EditControl::eventFilter(QObject* watched, QEvent* event)
{
    // Whether the selection shows depends on the focus: paint anew.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update();
    return QFrame::eventFilter(watched, event);
}

Hwnd EditControl::handle() const
{
    return Registry::windowOf(this);
}

void EditControl::notifyParent(std::uint32_t code)
{
    commandParent(handle(), code);
}

} // namespace platform::qt
