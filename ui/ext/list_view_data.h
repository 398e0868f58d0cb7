// The stored settings of a ListView, its columns block and its initial-rows
// block; the kind's description (list_view_data.cpp) derives the stored
// form, properties 8-38 and the description keys from them.  Numbers are
// 32-bit little-endian; byte blocks a signed length and the bytes.
//
// Stored data, in order: version; border style; text colour; text
// background colour; background colour; view; icon alignment; auto-arrange;
// wrap labels; hide column header; header buttons; full-row selection; grid
// lines; header drag-and-drop; hot tracking; hand cursor; underline hot;
// underline cold; label editing; sorting; check boxes; flat scroll bars;
// single selection; current row; always show selection; then the byte
// blocks font, column-header image list, image list, columns, state image
// list and initial rows.  Versions 0 and 1 are alike.  An empty block gives
// the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct ListViewData {
    static constexpr std::uint32_t kMaxVersion = 1;
    // What writing a property sets going; the unit applies each.
    enum class Effect {
        None,
        Border,
        Colors,
        Font,
        Styles,            // the style bits that apply at once (label wrap, hidden header)
        HeaderImages,      // the column-header image list attached again
        Images,            // the image list attached again
        StateImages,       // the state image list attached again
        SelectRow,         // the current row selected (single selection only)
        Rows,              // every row deleted and the initial rows loaded again
        Recreate,          // takes effect when the window is made again
        RecreateIfHot,     // ... when hot tracking is on
        ColumnsWritten,    // the stored columns replace the live ones when made again
    };
    // What is read from the running control.
    enum class Live { None, TextColor, TextBackgroundColor, BackgroundColor, CurrentRow, EditedLabel };

    std::uint32_t version = kMaxVersion;
    std::int32_t borderStyle = 1; // 0-5, as for the TreeBox
    std::uint32_t textColor = 0x000000;
    std::uint32_t textBackgroundColor = 0xFFFFFF; // 0xFF000000: the button-face colour
    std::uint32_t backgroundColor = 0xFFFFFF;     // same
    std::int32_t view = 0;          // 0 large icons, 1 small icons, 2 list, 3 report
    std::int32_t iconAlignment = 0; // 0 top, 1 left
    bool autoArrange = true;
    bool wrapLabels = true;
    bool hideColumnHeader = false;
    bool headerButtons = true;
    bool fullRowSelect = false;
    bool gridLines = false;
    bool headerDragDrop = false;
    bool hotTracking = false;
    bool handCursor = true;
    bool underlineHot = true;
    bool underlineCold = true;
    bool labelEditing = false;
    std::int32_t sorting = 0; // 0 none, 1 ascending, 2 descending
    bool checkBoxes = false;
    bool flatScrollBars = false;
    bool singleSelection = true;
    std::int32_t currentRow = -1;
    bool alwaysShowSelection = false;
    std::vector<std::uint8_t> font; // empty, or a 60-byte logical font record
    std::vector<std::uint8_t> headerImageList;
    std::vector<std::uint8_t> imageList;
    std::vector<std::uint8_t> columns; // see ReadColumns
    std::vector<std::uint8_t> stateImageList;
    std::vector<std::uint8_t> initialRows; // see ReadInitialRows

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<ListViewData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<ListViewData>& ListViewDescription();

// One record of the columns block: image-on-the-right flag (1 byte), header
// image index, alignment, width and the zero-terminated caption.
struct ListColumn {
    bool imageOnRight = false;
    std::int32_t headerImage = -1; // -1: none
    std::int32_t alignment = 0;    // 0 left, 1 centre, 2 right
    std::int32_t width = 50; // as a column inserted without a width
    std::string caption;
};

// nullopt when a record is cut short; an empty block holds no columns.
std::optional<std::vector<ListColumn>> ReadColumns(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteColumns(std::span<const ListColumn> columns);

// One record of the initial-rows block: kind byte (0 starts a new row with
// its column-0 cell, anything else is the next column of the current row),
// image, state image (unit numbering), indent, item data, text and tip text
// (both zero-terminated).  Indent, item data, state image and tip count
// only on row-start records.
struct ListCellRecord {
    bool startsRow = true;
    std::int32_t image = -1;
    std::int32_t stateImage = -1;
    std::int32_t indent = 0;
    std::int32_t itemData = 0;
    std::string text;
    std::string tip;
};

// nullopt when a record is cut short; an empty block holds no cells.
std::optional<std::vector<ListCellRecord>> ReadInitialRows(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteInitialRows(std::span<const ListCellRecord> cells);

} // namespace ui
