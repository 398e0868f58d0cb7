#include "platform/qt/list_view_header.h"

#include "platform/qt/control_support.h"
#include "platform/qt/image_list_pixmaps.h"
#include "platform/qt/list_view_model.h"
#include "platform/qt/qt_text.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

namespace platform::qt {
namespace {

constexpr int kSectionMargin = 6;
constexpr int kImageGap = 4;

} // namespace

ListViewHeader::ListViewHeader(const ListViewSettings& settings, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_settings(settings)
{
    setMinimumSectionSize(0); // a width of 0 hides a column that still holds cells
    setStretchLastSection(false);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void ListViewHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.text.clear(); // the captions and images are drawn below, the style draws the button
    option.icon = QIcon();
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    paintContents(painter, rect, logicalIndex);
    painter->restore();
}

void ListViewHeader::paintContents(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const auto* rows = static_cast<const ListViewModel*>(model());
    if (!rows || !rows->hasColumn(logicalIndex))
        return;
    const ListColumn& column = rows->column(logicalIndex);
    QRect inner = rect.adjusted(kSectionMargin, 0, -kSectionMargin, 0);
    QPixmap image;
    if ((column.format & LVCFMT_IMAGE) && column.image >= 0)
        image = imageListPixmap(m_settings.headerImages, column.image);
    int imageSpace = image.isNull() ? 0 : image.width() + kImageGap;
    QString caption = fromGbk(column.caption);
    int captionWidth = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(caption))); // rounded up: never elided when it fits
    int textWidth = std::min(captionWidth, std::max(0, inner.width() - imageSpace));
    int total = textWidth + imageSpace;
    Qt::Alignment alignment = alignmentForFormat(column.format);
    int x = inner.left();
    if (alignment & Qt::AlignRight)
        x = inner.right() + 1 - total;
    else if (alignment & Qt::AlignHCenter)
        x = inner.left() + (inner.width() - total) / 2;
    bool imageRight = column.format & LVCFMT_BITMAP_ON_RIGHT;
    int textLeft = imageRight || image.isNull() ? x : x + imageSpace;
    painter->setClipRect(rect);
    if (!image.isNull()) {
        int imageLeft = imageRight ? x + textWidth + kImageGap : x;
        QRect imageArea(QPoint(imageLeft, rect.top() + (rect.height() - image.height()) / 2), image.size());
        if (m_settings.headerImageBk != CLR_NONE)
            painter->fillRect(imageArea, colorOrSystem(m_settings.headerImageBk, palette().color(QPalette::Button)));
        painter->drawPixmap(imageArea.topLeft(), image);
    }
    painter->setPen(palette().color(QPalette::ButtonText));
    QRect textArea(textLeft, rect.top(), textWidth, rect.height());
    painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(caption, Qt::ElideRight, textWidth));
}

} // namespace platform::qt
