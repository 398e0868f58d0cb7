// Where the pieces of one tree-view row lie: the indentation with the lines
// and the expand button, the state image, the image and the label.  Both
// painting and hit testing take their geometry from layoutRow(), so what a
// click hits is what was drawn there.
#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>

namespace platform::qt {

// What decides a row's geometry, in viewport coordinates.
struct RowFacts {
    int left = 0;          // where the row's indentation starts
    int top = 0;
    int height = 0;
    int indentColumns = 0; // depth, plus one when the top level has lines too
    int indentation = 0;   // width of one indentation column
    bool button = false;   // the item shows an expand button
    QSize stateImage;      // empty when the item shows no state image
    QSize image;           // empty without a normal image list
    int textWidth = 0;
};

struct RowLayout {
    QRect indent;     // all indentation columns, the item's own included
    QRect buttonCell; // the item's own column when it has a button; what a click hits
    QRect buttonBox;  // the box drawn in it
    QRect stateImage;
    QRect image;
    QRect label;      // the text with its padding; what the selection fills
};

inline constexpr int kButtonBoxSize = 9;
inline constexpr int kLabelPadding = 2; // text inset inside the label
inline constexpr int kImageGap = 2;     // between the images and the label

RowLayout layoutRow(const RowFacts& facts);

// The TVHT_* region of a row a point at viewport x falls on.
std::uint32_t hitRegion(const RowLayout& layout, int x);

} // namespace platform::qt
