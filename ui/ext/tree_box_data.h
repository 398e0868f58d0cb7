// The stored settings of a TreeBox and its initial-items block; the kind's
// description (tree_box_data.cpp) derives the stored form, properties 8-24
// and the description keys from them.
//
// Stored data (32-bit little-endian numbers; byte blocks as below), in
// order: version; border style; text colour; background colour; expand
// buttons; lines; lines at root; label editing; always show selection;
// current item; item height; font block; normal image list block; initial
// items block; extension present.  When the extension is present and the
// version is 0, three fields follow: check boxes, number of state images,
// custom state image list block.  An empty block gives the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct TreeBoxData {
    static constexpr std::uint32_t kMaxVersion = 1;
    // What writing a property sets going; the unit applies each.
    enum class Effect {
        None,
        Border,        // the border style
        Colors,        // text and background colours
        Styles,        // the tree-view style bits of properties 11-15
        Select,        // the current item selected and made the caret
        ItemHeight,
        Font,
        ImageList,     // the normal image list attached again
        ItemsWritten,  // takes effect when the window is made again
        CheckBoxes,    // the style and the state images; off takes effect when made again
        StateImages,   // the state image list built again
    };
    // What is read from the running control.
    enum class Live { None, TextColor, BackgroundColor, CurrentItem, ItemHeight, Items, EditedLabel };

    std::uint32_t version = 0;
    std::int32_t borderStyle = 1; // 0-5
    std::uint32_t textColor = 0x000000;
    std::uint32_t backgroundColor = 0xFFFFFF; // or 0xFF000000: the button-face colour
    bool expandButtons = true;
    bool lines = true;
    bool linesAtRoot = false;
    bool labelEditing = false;
    bool alwaysShowSelection = false;
    std::int32_t currentItem = 0;
    std::int32_t itemHeight = -1; // -1: the control's default
    std::vector<std::uint8_t> font;         // empty, or a 60-byte logical font record
    std::vector<std::uint8_t> imageList;    // image list block
    std::vector<std::uint8_t> initialItems; // see ReadInitialItems
    bool extension = true; // false from version 1, which ends before it
    bool checkBoxes = false;
    std::int32_t stateImageCount = 2;
    std::vector<std::uint8_t> stateImageList; // image list block

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<TreeBoxData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<TreeBoxData>& TreeBoxDescription();

// One record of the initial-items block, which holds the items in
// pre-order: text (zero-terminated), image, selected image, item data,
// flags (bit 0 bold, bit 1 expanded, bits 28-31 the control's raw
// state-image slot) and depth (1 = top level, a child one deeper than its
// parent).  Depths are taken as stored; placing the items is the unit's.
struct TreeItemRecord {
    std::string text;
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    std::int32_t data = 0;
    bool bold = false;
    bool expanded = false;
    std::uint32_t stateSlot = 0; // 0-15
    std::int32_t depth = 1;
};

// nullopt when a record is cut short; an empty block holds no items.
std::optional<std::vector<TreeItemRecord>> ReadInitialItems(std::span<const std::uint8_t> block);
std::vector<std::uint8_t> WriteInitialItems(std::span<const TreeItemRecord> items);

} // namespace ui
