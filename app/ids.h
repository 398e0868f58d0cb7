// The identifiers of the catalogue's windows, units and menu items, as
// the window descriptions give them.
#pragma once

#include <cstdint>

namespace app::ids {

struct WindowIds {
    std::uint32_t window;
    std::uint32_t ownUnit;
};

inline constexpr WindowIds kMainWindow{0x52010001, 0x06010000};
inline constexpr WindowIds kNodeWindow{0x52011EB2, 0x06011EB1};
inline constexpr WindowIds kContentWindow{0x5201207C, 0x0601207B};
inline constexpr WindowIds kAboutWindow{0x52012360, 0x06012361};

// Main window.
inline constexpr std::uint32_t kDatabase = 0x160122E3;
inline constexpr std::uint32_t kTree = 0x16011E33;
inline constexpr std::uint32_t kContentList = 0x16011E34;
inline constexpr std::uint32_t kNodeMenu = 0x26011E41;
inline constexpr std::uint32_t kRenameNodeItem = 0x26011E4F;
inline constexpr std::uint32_t kContentMenu = 0x2601206D;
inline constexpr std::uint32_t kContentAddMenu = 0x26012072;

// Node window.
inline constexpr std::uint32_t kNodePages = 0x16012121;
inline constexpr std::uint32_t kNodeNameEdit = 0x16012129;
inline constexpr std::uint32_t kNodePreview = 0x1601229D;
inline constexpr std::uint32_t kNodePictureCombo = 0x1601212A;
inline constexpr std::uint32_t kAddNodeButton = 0x160122A0;
inline constexpr std::uint32_t kRenameNameEdit = 0x16012138;
inline constexpr std::uint32_t kRenamePreview = 0x160122C4;
inline constexpr std::uint32_t kRenamePictureCombo = 0x160122CF;
inline constexpr std::uint32_t kRenameNodeButton = 0x160122B6;

// Content window.
inline constexpr std::uint32_t kContentPages = 0x160121E7;
inline constexpr std::uint32_t kAddCodeEdit = 0x160121F4;
inline constexpr std::uint32_t kAddDescriptionEdit = 0x160121F3;
inline constexpr std::uint32_t kAddDetailsEdit = 0x160121F2;
inline constexpr std::uint32_t kAddContentButton = 0x160121F0;
inline constexpr std::uint32_t kEditCodeEdit = 0x160121F8;
inline constexpr std::uint32_t kEditDescriptionEdit = 0x160121F9;
inline constexpr std::uint32_t kEditDetailsEdit = 0x160121FA;
inline constexpr std::uint32_t kSaveContentButton = 0x160121FE;

} // namespace app::ids
