// What a list-view control holds: its rows with their cells, its columns,
// and the settings that shape how it looks and behaves.
#pragma once

#include "platform/image_list.h"
#include "platform/list_view.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::qt {

// One cell.  Column 0's cell is the row's own label; the others are its
// sub-items.
struct ListCell {
    std::string text; // GBK, converted for the toolkit only when shown
    int image = -1;
};

struct ListRow {
    // Cells in column order.  A row holds only as many as were ever set:
    // most rows of a wide list never hold every column, and a missing cell
    // reads as an empty one.
    std::vector<ListCell> cells;
    LParam param = 0;
    int indent = 0;     // in image widths
    int stateImage = 0; // slot of the state image list, 0: none
};

struct ListColumn {
    std::string caption; // GBK
    int width = 0;
    int format = LVCFMT_LEFT;
    int image = -1; // of the header image list
};

struct ListViewSettings {
    std::uint32_t style = 0;   // LVS_* (and the window styles)
    std::uint32_t exStyle = 0; // LVS_EX_*
    ColorRef textColor = CLR_DEFAULT;
    ColorRef textBkColor = CLR_DEFAULT;
    ColorRef bkColor = CLR_DEFAULT;
    ImageList normalImages = ImageList::Null;
    ImageList smallImages = ImageList::Null;
    ImageList stateImages = ImageList::Null;
    ImageList headerImages = ImageList::Null;
    ColorRef headerImageBk = CLR_NONE;

    std::uint32_t view() const { return style & LVS_TYPEMASK; }
    bool report() const { return view() == LVS_REPORT; }
    bool has(std::uint32_t exBit) const { return (exStyle & exBit) != 0; }
    bool fullRowSelect() const { return report() && has(LVS_EX_FULLROWSELECT); }
    // Large icons come from the normal list, everything else shows small ones.
    ImageList viewImages() const { return view() == LVS_ICON ? normalImages : smallImages; }
};

} // namespace platform::qt
