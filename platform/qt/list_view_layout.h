// Where the parts of one list-view cell lie: the state icon, the icon and
// the label.  Painting and hit testing both ask here, so what the user sees
// and what a click hits cannot disagree.
#pragma once

#include "platform/qt/list_view_model.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace platform::qt {

// How a cell's parts are arranged: side by side (report, list and small
// icons), or a large icon above its label (icon view).
enum class ListArrangement { Row, Icon };

// The measured pieces of one cell, before they are placed.
struct ListCellMeasure {
    int indent = 0;     // pixels before everything
    QSize stateSlot;    // empty: the cell reserves no state icon
    QSize imageSlot;    // empty: the cell reserves no icon
    QSize textSize;     // the label's text, wrapped when the view wraps
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct ListCellParts {
    QRect stateIcon;
    QRect icon;
    QRect label; // the text with its margins: what selection highlights
};

// Places the parts inside `cell`, each clipped to it.
ListCellParts placeCellParts(const QRect& cell, const ListCellMeasure& measure, ListArrangement arrangement);
// The size a cell needs (list and icon views, where each item is as large
// as its contents).
QSize cellExtent(const ListCellMeasure& measure, ListArrangement arrangement);

inline constexpr int kLabelMargin = 2;
inline constexpr int kIconGap = 2;
inline constexpr int kIconLabelWidth = 72; // icon view labels wrap within this
inline constexpr QSize kCheckBoxSlot{16, 16};
inline constexpr int kCheckBoxSize = 13;

// What one cell shows, and where.
struct ListCellLayout {
    QString text;
    int image = -1;    // of the view's image list
    int stateSlot = 0; // column 0 only
    ListCellParts parts;
};

// Measures and places cells for the current settings.  The font is that of
// the widget the rows are drawn on.  Text widths are rounded up: a label
// a fraction of a pixel too narrow would have its text elided.
class ListCellLayouter {
public:
    ListCellLayouter(const ListViewModel& model, const ListViewSettings& settings) : m_model(model), m_settings(settings)
    {
    }

    ListCellLayout layout(const QRect& cell, int row, int column, const QFont& font) const;
    QSize itemSize(int row, const QFont& font) const;
    int rowHeight(const QFont& font) const;
    ListArrangement arrangement() const;

private:
    ListCellMeasure measure(int row, int column, const QString& text, const QFont& font) const;
    QSize stateSlot() const;
    QSize imageSlot(int row, int column) const;

    const ListViewModel& m_model;
    const ListViewSettings& m_settings;
};

} // namespace platform::qt
