#include "platform/qt/combo_box_control.h"

#include "platform/combo_box.h"
#include "platform/qt/classic_style.h"
#include "platform/qt/combo_box_field.h"
#include "platform/qt/combo_close_up.h"
#include "platform/qt/combo_item_delegate.h"
#include "platform/qt/control_support.h"
#include "platform/qt/field_palette.h"
#include "platform/qt/line_editor.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QLayout>
#include <QListView>
#include <QScreen>

#include <algorithm>
#include <cassert>

namespace platform::qt {
namespace {

constexpr int kGbkRole = Qt::UserRole + 1; // the item's text as given
constexpr int kDataRole = Qt::UserRole;
// The field's item area lies inside a sunken edge and a pixel of space.
constexpr int kFieldFrame = 3;
// The selection field is this much taller than a list item.
constexpr int kFieldExtra = 2;
constexpr int kMaxItemHeight = 255;

// Item texts in the order a sorted box keeps them: letters without
// regard to case, then bytes, as GBK orders Chinese by pronunciation.
bool sortsBefore(const std::string& a, const std::string& b)
{
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
}

} // namespace

ComboBoxControl::ComboBoxControl(QWidget* parent, const CreateStruct& cs) : QWidget(parent), m_style(cs.style)
{
    std::uint32_t type = cs.style & CBS_TYPEMASK;
    makeField(type);
    if (type == CBS_SIMPLE)
        makeList();
    assert((m_list != nullptr) == isSimple());
    m_windowHeight = cs.height;
    applyStyles(cs.style);
    setWindowText(cs.text);
    relayout();
}

void ComboBoxControl::makeField(std::uint32_t type)
{
    m_field = new ComboBoxField(this, type != CBS_DROPDOWNLIST, type != CBS_SIMPLE);
    // A placeholder keeps Qt from selecting the first item added to an
    // empty box; a space shows nothing.
    m_field->setPlaceholderText(QStringLiteral(" "));
    m_field->setItemDelegate(new ComboItemDelegate(m_field, [this] { return itemHeight(0); }));
    m_field->view()->setFrameShape(QFrame::NoFrame);
    // Painting the field or the dropped list asks for their colours first.
    m_field->view()->viewport()->installEventFilter(this);
    m_field->installEventFilter(this);
    m_field->setHooks({.aboutToDrop = [this] { return aboutToDrop(); }, .dropped = [this] { placeDroppedList(); }});
    setFocusProxy(m_field);
    m_closeUp = new ComboCloseUp(*this, m_field->view()->window());
    connect(m_field, &QComboBox::activated, this, [this](int index) { userChose(index); });
    if (LineEditor* editor = m_field->editor())
        editor->setListener({.edited = [this] { notify(CBN_EDITCHANGE); }});
}

// The simple style's list, over the field's items and following its
// selection.
void ComboBoxControl::makeList()
{
    m_list = new QListView(this);
    m_list->setModel(m_field->model());
    m_list->setStyle(ClassicStyle::get());
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setItemDelegate(new ComboItemDelegate(m_list, [this] { return itemHeight(0); }));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) { listClicked(index.row()); });
    connect(m_list, &QListView::doubleClicked, this, [this] { notify(CBN_DBLCLK); });
    connect(m_field, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_list->setCurrentIndex(m_field->model()->index(index, 0)); });
}

void ComboBoxControl::applyStyles(std::uint32_t style)
{
    // The type of box is fixed at creation, as the classic control's is.
    m_style = (style & ~CBS_TYPEMASK) | (m_style & CBS_TYPEMASK);
    if (LineEditor* editor = m_field->editor())
        editor->setBoundedByBox(!(style & CBS_AUTOHSCROLL));
    if (m_list)
        m_list->setFrameStyle(QFrame::Box | QFrame::Plain);
}

bool ComboBoxControl::isSimple() const
{
    return (m_style & CBS_TYPEMASK) == CBS_SIMPLE;
}

bool ComboBoxControl::isSorted() const
{
    return m_style & CBS_SORT;
}

// ---- items ----

int ComboBoxControl::sortedPlace(const std::string& gbk) const
{
    // After the items that sort before or with it: equal texts keep the
    // order they came in.
    int low = 0;
    int high = count();
    while (low < high) {
        int mid = (low + high) / 2;
        if (sortsBefore(gbk, itemText(mid)))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

int ComboBoxControl::addString(std::string_view gbk)
{
    std::string text(gbk);
    int place = isSorted() ? sortedPlace(text) : count();
    m_field->insertItem(place, fromGbk(text));
    m_field->setItemData(place, QByteArray(text.data(), qsizetype(text.size())), kGbkRole);
    m_field->setItemData(place, qlonglong(0), kDataRole);
    return place;
}

int ComboBoxControl::count() const
{
    return m_field->count();
}

std::string ComboBoxControl::itemText(int index) const
{
    if (index < 0 || index >= count())
        return {};
    QByteArray gbk = m_field->itemData(index, kGbkRole).toByteArray();
    return std::string(gbk.constData(), std::size_t(gbk.size()));
}

bool ComboBoxControl::setItemData(int index, LParam data)
{
    if (index < 0 || index >= count())
        return false;
    m_field->setItemData(index, qlonglong(data), kDataRole);
    return true;
}

LParam ComboBoxControl::itemData(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    return LParam(m_field->itemData(index, kDataRole).toLongLong());
}

void ComboBoxControl::resetContent()
{
    m_field->clear();
    if (TextEntry* field = entry())
        field->setEntryText(QString());
}

int ComboBoxControl::setCurrent(int index)
{
    bool valid = index >= 0 && index < count();
    m_field->setCurrentIndex(valid ? index : -1);
    return valid ? index : -1;
}

int ComboBoxControl::current() const
{
    return m_field->currentIndex();
}

// ---- what the user does ----

void ComboBoxControl::userChose(int)
{
    // A choice in the dropped list is told once the list has closed.
    if (m_closeUp->takeChoice())
        return;
    if (notify(CBN_SELENDOK))
        notify(CBN_SELCHANGE);
}

void ComboBoxControl::listClicked(int row)
{
    m_field->setCurrentIndex(row);
    if (notify(CBN_SELENDOK))
        notify(CBN_SELCHANGE);
}

bool ComboBoxControl::aboutToDrop()
{
    if (isSimple())
        return false;
    return notify(CBN_DROPDOWN);
}

void ComboBoxControl::showDropDown(bool show)
{
    if (show) {
        m_field->showPopup();
    } else if (isDropped()) {
        m_closeUp->programCloses();
        m_field->hidePopup();
    }
}

bool ComboBoxControl::isDropped() const
{
    return !isSimple() && m_field->isDropped();
}

bool ComboBoxControl::notify(std::uint32_t code)
{
    return commandParent(handle(), code);
}

Hwnd ComboBoxControl::handle() const
{
    return Registry::windowOf(this);
}

// ---- heights and places ----

int ComboBoxControl::itemHeight(int which) const
{
    if (which < -1)
        return -1;
    int fromFont = fontMetrics().height();
    if (which == -1)
        return m_fieldItemHeight ? m_fieldItemHeight : (m_itemHeight ? m_itemHeight : fromFont) + kFieldExtra;
    return m_itemHeight ? m_itemHeight : fromFont;
}

bool ComboBoxControl::setItemHeight(int which, int height)
{
    if (which < -1 || height <= 0 || height > kMaxItemHeight)
        return false;
    (which == -1 ? m_fieldItemHeight : m_itemHeight) = height;
    relayout();
    return true;
}

int ComboBoxControl::fieldHeight() const
{
    return itemHeight(-1) + 2 * kFieldFrame;
}

int ComboBoxControl::listHeight() const
{
    // At least one item shows, whatever height the window was given.
    return std::max(m_windowHeight - fieldHeight(), itemHeight(0) + 2);
}

bool ComboBoxControl::adoptWindowHeight()
{
    if (isSimple()) {
        m_windowHeight = height();
        relayout();
        return false;
    }
    if (height() == fieldHeight())
        return false;
    m_windowHeight = height();
    resize(width(), fieldHeight());
    return true;
}

void ComboBoxControl::relayout()
{
    if (!isSimple() && height() != fieldHeight())
        resize(width(), fieldHeight());
    m_field->setGeometry(0, 0, width(), fieldHeight());
    if (m_list) {
        m_list->setGeometry(0, fieldHeight(), width(), std::max(0, height() - fieldHeight()));
        m_list->doItemsLayout();
    }
    m_field->view()->doItemsLayout();
}

QRect ComboBoxControl::droppedListRect() const
{
    if (isSimple())
        return m_list ? QRect(m_list->mapToGlobal(QPoint(0, 0)), m_list->size()) : QRect();
    QRect below(mapToGlobal(QPoint(0, fieldHeight())), QSize(width(), listHeight()));
    // Where the screen ends below the field, the list goes above it.
    QScreen* screen = QGuiApplication::screenAt(mapToGlobal(QPoint(0, 0)));
    if (screen && below.bottom() > screen->geometry().bottom())
        below.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    return below;
}

void ComboBoxControl::placeDroppedList()
{
    QWidget* popup = m_field->view()->window();
    if (auto* frame = qobject_cast<QFrame*>(popup)) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
    }
    popup->setGeometry(droppedListRect());
}

void ComboBoxControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    adoptWindowHeight();
    relayout();
}

void ComboBoxControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

// ---- colours ----

bool ComboBoxControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        askForColors(watched);
    return QWidget::eventFilter(watched, event);
}

void ComboBoxControl::askForColors(QObject* painted)
{
    Hwnd hwnd = handle();
    bool field = painted == m_field;
    ControlColors colors = askParentForColors(hwnd, field ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
    if (!IsWindow(hwnd))
        return;
    QWidget* target = field ? static_cast<QWidget*>(m_field) : m_list ? m_list : m_field->view();
    applyFieldPalette(target, colors, {.disabled = !isEnabled(), .selectionShown = !field || m_field->hasFocus()});
}

// ---- the field's text ----

TextEntry* ComboBoxControl::entry() const
{
    return m_field->editor();
}

std::string ComboBoxControl::windowText() const
{
    if (TextEntry* field = entry())
        return field->windowText();
    return itemText(current());
}

bool ComboBoxControl::setWindowText(std::string_view gbk)
{
    if (TextEntry* field = entry()) {
        field->setWindowText(gbk);
        return true;
    }
    // A drop-down list shows only its items: the text selects the item
    // that has it.
    if (gbk.empty())
        return true;
    int found = m_field->findText(fromGbk(gbk), Qt::MatchFixedString);
    if (found >= 0)
        m_field->setCurrentIndex(found);
    return found >= 0;
}

} // namespace platform::qt
