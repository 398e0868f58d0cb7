// Draws a combo box's items in its lists, each as tall as the control says.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace platform::qt {

class ComboItemDelegate : public QStyledItemDelegate {
public:
    ComboItemDelegate(QObject* parent, std::function<int()> itemHeight)
        : QStyledItemDelegate(parent), m_itemHeight(std::move(itemHeight))
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_itemHeight()};
    }

private:
    std::function<int()> m_itemHeight;
};

} // namespace platform::qt
