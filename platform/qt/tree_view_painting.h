// Drawing one tree-view row in the classic look, from its layout and what
// the control decided it shows.
#pragma once

#include "platform/qt/tree_view_layout.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

#include <vector>

class QPainter;

namespace platform::qt {

// The lines and the button in a row's indentation.
struct BranchLook {
    const RowLayout* layout = nullptr;
    int indentation = 0;
    // Per indentation column left of the item's own: an ancestor's line to
    // a later sibling runs through it.
    std::vector<bool> linesThrough;
    bool lines = false;     // TVS_HASLINES
    bool lineAbove = false; // the item's own line comes from above
    bool lineBelow = false; // and goes on to a later sibling
    bool expanded = false;
    QColor background;
    int dotPhase = 0; // parity of the row's top in the contents, so dots line up row to row
};

// What the rest of the row shows.
struct RowLook {
    QPixmap stateImage;
    QPixmap image;
    QString text;
    QFont font;
    QColor textColor;
    QColor labelFill; // invalid: the label has no background of its own
};

void paintBranches(QPainter& painter, const BranchLook& look);
void paintRowContents(QPainter& painter, const RowLayout& layout, const RowLook& look);

} // namespace platform::qt
