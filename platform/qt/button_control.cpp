#include "platform/qt/button_control.h"

#include "platform/button.h"
#include "platform/qt/button_keys.h"
#include "platform/qt/classic_style.h"
#include "platform/qt/control_support.h"
#include "platform/qt/device_context.h"
#include "platform/qt/handle_images.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include <array>

namespace platform::qt {
namespace {

// The caption and image keep this far from the outer edge, inside the
// bevel and the focus rectangle.
constexpr int kContentInset = 4;

struct AlignmentBits {
    std::uint32_t bits;
    Qt::Alignment alignment;
};

constexpr std::uint32_t kHorizontalMask = BS_CENTER;
constexpr std::uint32_t kVerticalMask = BS_VCENTER;

constexpr std::array kHorizontal{
    AlignmentBits{BS_LEFT, Qt::AlignLeft},
    AlignmentBits{BS_RIGHT, Qt::AlignRight},
    AlignmentBits{BS_CENTER, Qt::AlignHCenter},
    AlignmentBits{0, Qt::AlignHCenter},
};

constexpr std::array kVertical{
    AlignmentBits{BS_TOP, Qt::AlignTop},
    AlignmentBits{BS_BOTTOM, Qt::AlignBottom},
    AlignmentBits{BS_VCENTER, Qt::AlignVCenter},
    AlignmentBits{0, Qt::AlignVCenter},
};

template<std::size_t N>
Qt::Alignment pick(const std::array<AlignmentBits, N>& table, std::uint32_t bits)
{
    for (const AlignmentBits& a : table)
        if (a.bits == bits)
            return a.alignment;
    return table.back().alignment;
}

} // namespace

ButtonControl::ButtonControl(QWidget* parent, const CreateStruct& cs) : QPushButton(parent)
{
    setStyle(ClassicStyle::get());
    setFocusPolicy(Qt::StrongFocus);
    QPalette face = palette();
    face.setColor(QPalette::Button, toQColor(GetSysColor(COLOR_BTNFACE)));
    face.setColor(QPalette::ButtonText, toQColor(GetSysColor(COLOR_BTNTEXT)));
    face.setColor(QPalette::Disabled, QPalette::ButtonText, toQColor(GetSysColor(COLOR_GRAYTEXT)));
    // The classic bevel: white and black outside, light and dark grey inside.
    face.setColor(QPalette::Light, Qt::white);
    face.setColor(QPalette::Midlight, toQColor(GetSysColor(COLOR_BTNFACE)));
    face.setColor(QPalette::Dark, QColor(160, 160, 160));
    face.setColor(QPalette::Shadow, Qt::black);
    setPalette(face);
    connect(this, &QAbstractButton::clicked, this, [this] { commandParent(handle(), BN_CLICKED); });
    setCaption(cs.text);
    applyStyles(cs.style);
}

void ButtonControl::applyStyles(std::uint32_t style)
{
    m_style = style;
    if (isDefaultPush())
        watchForDefaultButton(window());
    update();
}

void ButtonControl::showEvent(QShowEvent* event)
{
    // A button moved to another window's client (SetParent) serves that
    // window's Enter from now on.
    QPushButton::showEvent(event);
    if (isDefaultPush())
        watchForDefaultButton(window());
}

bool ButtonControl::isDefaultPush() const
{
    return m_style & BS_DEFPUSHBUTTON;
}

void ButtonControl::setCaption(std::string_view gbk)
{
    m_gbkCaption = std::string(gbk);
    m_caption = ButtonCaption(fromGbk(gbk));
    update();
}

void ButtonControl::setBitmapImage(Bitmap bitmap)
{
    m_bitmap = bitmap;
    update();
}

void ButtonControl::setIconImage(Icon icon)
{
    m_icon = icon;
    update();
}

void ButtonControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = isDefaultPush() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    if (isDefaultPush()) {
        // The heavier frame: a line of the shadow colour around the bevel.
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        option.rect = rect().adjusted(1, 1, -1, -1);
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    QRect content = contentRect();
    if (!drawImage(painter, content))
        drawCaption(painter, content);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(kContentInset - 1, kContentInset - 1, 1 - kContentInset, 1 - kContentInset);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

QRect ButtonControl::contentRect() const
{
    QRect content = rect().adjusted(kContentInset, kContentInset, -kContentInset, -kContentInset);
    // A pressed button's face moves down and right with it.
    return isDown() ? content.translated(1, 1) : content;
}

Qt::Alignment ButtonControl::alignment() const
{
    return pick(kHorizontal, m_style & kHorizontalMask) | pick(kVertical, m_style & kVerticalMask);
}

bool ButtonControl::drawImage(QPainter& painter, const QRect& content) const
{
    std::optional<QPixmap> image;
    if ((m_style & BS_BITMAP) && m_bitmap != Bitmap::Null) {
        if (std::optional<QImage> bitmap = qimageFor(m_bitmap))
            image = QPixmap::fromImage(*bitmap);
    } else if ((m_style & BS_ICON) && m_icon != Icon::Null) {
        image = qpixmapFor(m_icon);
    }
    if (!image)
        return false;
    // Natural size, placed as the caption would be, clipped to the face.
    QRect place = QStyle::alignedRect(layoutDirection(), alignment(), image->size(), content);
    painter.save();
    painter.setClipRect(rect().adjusted(2, 2, -2, -2));
    painter.drawPixmap(place.topLeft(), *image);
    painter.restore();
    return true;
}

void ButtonControl::drawCaption(QPainter& painter, const QRect& content) const
{
    int flags = int(alignment()) | Qt::TextShowMnemonic;
    flags |= (m_style & BS_MULTILINE) ? Qt::TextWordWrap : Qt::TextSingleLine;
    painter.setFont(font());
    if (!isEnabled()) {
        // The classic disabled caption: grey, embossed with a light copy.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(content.translated(1, 1), flags, m_caption.text());
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(content, flags, m_caption.text());
}

void ButtonControl::keyPressEvent(QKeyEvent* event)
{
    bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat()) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

Hwnd ButtonControl::handle() const
{
    return Registry::windowOf(this);
}

} // namespace platform::qt
