// The stored settings of a PageControl and its pages block.  Numbers are
// 32-bit little-endian; byte blocks and texts are a 32-bit length and the
// bytes (tree_box_data.h), texts without terminator.
//
// Stored data, in order: version; header position; multi-row headers;
// current page; hide headers; the font as a 60-byte logical font record
// inline (no length); pages block; header height; header style; overlapping
// headers; header text alignment; header image list, header background
// image list, scroll-button image list and picture blocks; shaded headers;
// three header background colours; three header text colours (normal, hot,
// current); colour; border colour; page area colour; a reserved number;
// hidden pages selectable; disabled pages selectable; three reserved
// numbers.  Then, by version: (2) custom shading and three shading colours;
// (3) pages locked; (5) vertical header text; (6) font absent; (7) current
// header takes no hot state.  Reserved numbers are skipped and written as 0.
// An empty block gives the defaults below.
#pragma once

#include "ui/framework/kind_description.h"

#include "platform/gdi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct PageControlData {
    static constexpr std::uint32_t kMaxVersion = 7;
    // What a property write sets going.
    enum class Effect {
        None,
        Position,      // multi-row forced for left and right, relayout
        MultiRow,      // relayout
        Font,          // the header height grows to the font's, relayout
        Pages,         // all pages replaced
        CurrentPage,   // a switch as a click makes it
        Relayout,
        Revalidate,    // relayout, and the current page checked again
        HeaderHeight,  // at least the font's, relayout
        Style,         // a non-zero style turns overlapping off, relayout
        Overlapping,   // overlapping turns the style to 0, relayout
        Repaint,
        HeaderImages,     // the list made again, relayout
        BackgroundImages, // the list made again, repaint
        ScrollButtons,    // the buttons' images made again, repaint
    };
    // Values the running unit answers instead of its settings.
    enum class Live { None, CurrentPage, Pages, PageAreaLeft, PageAreaTop, PageAreaWidth, PageAreaHeight };

    std::uint32_t version = kMaxVersion;
    std::int32_t headerPosition = 0; // 0 top, 1 bottom, 2 left, 3 right
    bool multiRow = true;
    std::int32_t currentPage = 0;
    bool hideHeaders = false;
    // nullopt: the unit has no font of its own and uses the default GUI font.
    // From version 6 the "font absent" flag says so and the record is
    // ignored; before, a record is always present and a struct without a
    // font writes a zeroed one.
    std::optional<platform::LogFont> font;
    std::vector<std::uint8_t> pages; // see ReadPages
    std::int32_t headerHeight = 20;
    std::int32_t headerStyle = 1; // 0-3
    bool overlappingHeaders = false;
    std::int32_t headerTextAlignment = 0; // 0 centred, 1 left
    std::vector<std::uint8_t> headerImageList;
    std::vector<std::uint8_t> headerBackgroundImageList;
    std::vector<std::uint8_t> scrollButtonImageList; // empty: the built-in buttons
    std::vector<std::uint8_t> picture;
    bool shadedHeaders = false;
    std::array<std::uint32_t, 3> headerBackgroundColors{0xFF000000, 0xFF000000, 0xFF000000};
    std::array<std::uint32_t, 3> headerTextColors{0x000000, 0x0000FF, 0xFF0000}; // normal, hot, current
    std::uint32_t color = 0xFF000000;
    std::uint32_t borderColor = 0xB4A791;
    std::uint32_t pageAreaColor = 0xFF000000;
    bool hiddenPagesSelectable = false;
    bool disabledPagesSelectable = false;
    bool customShading = false;                                         // (v2)
    std::array<std::uint32_t, 3> shadingColors{0xECECEC, 0xECECEC, 0xECECEC}; // (v2)
    bool pagesLocked = false;        // (v3)
    bool verticalHeaderText = false; // (v5)
    bool currentHeaderNoHot = false; // (v7)

    // Defaults first, then the block; nullopt when the version is above
    // kMaxVersion or the block cannot be read.
    static std::optional<PageControlData> Read(std::span<const std::uint8_t> block);
    // The format Read reads, at the version the struct holds.
    std::vector<std::uint8_t> Write() const;
};

const KindDescription<PageControlData>& PageControlDescription();

// Property numbers the unit and its callers name.
enum PageControlProperty : int {
    kPageHeaderPosition = 8,
    kPageMultiRow = 9,
    kPageFont = 10,
    kPagePages = 11,
    kPageCurrent = 12,
    kPageHeaderHeight = 18,
    kPageHeaderStyle = 19,
    kPageOverlapping = 20,
    kPageTextAlignment = 21,
    kPageAreaLeft = 58,
    kPageCurrentHeaderNoHot = 62,
    kPageControlPropertyCount = 63,
};

// Whether the kind takes a written value: out-of-range positions, styles,
// alignments and header heights are ignored, and multi-row headers cannot
// be turned off for left and right headers.
bool PageControlWriteAccepted(const PageControlData& d, int property, std::int64_t value);

// The colour properties that are one element of a stored triple (header
// background colours 29-31, header text colours 38-40, shading colours
// 54-56): the triple and the element, or nullopt for any other number.
struct PageColorElement {
    std::array<std::uint32_t, 3> PageControlData::*triple;
    int index;
};
std::optional<PageColorElement> PageControlColorElement(int property);

// One page of the pages block.  The block: format version, page count, then
// per page: caption (text); header images, second triple, header
// background images and header colours (three numbers each); visible;
// enabled; a reserved number; (version 2 and up) tip text; (version 3)
// page flag; then a count N and N reserved 16-byte records.
struct PageRecord {
    std::string caption;
    std::array<std::int32_t, 3> headerImages{-1, -1, -1}; // plain, hot, current; -1 none
    std::array<std::int32_t, 3> secondTriple{-1, -1, -1}; // carried for the unit
    std::array<std::int32_t, 3> backgroundImages{-1, -1, -1}; // plain, hot, current
    std::array<std::int32_t, 3> headerColors{-1, -1, -1};     // -1: the unit's colours
    bool visible = true;
    bool enabled = true;
    std::string tip;            // (v2) markup text
    bool hidesChildren = false; // (v3) when current, all child windows are hidden
};

inline constexpr std::uint32_t kPagesFormatVersion = 3;

// nullopt when the version is above kPagesFormatVersion, a count is
// negative or the block cannot be read; an empty block holds no pages.
std::optional<std::vector<PageRecord>> ReadPages(std::span<const std::uint8_t> block);
// Written at kPagesFormatVersion, with no reserved records.
std::vector<std::uint8_t> WritePages(std::span<const PageRecord> pages);

} // namespace ui
