// The main window's two views of the catalogue: the category tree and the
// entries of the current category.  The node and content handlers reload
// them after each change.
#pragma once

#include "app/units.h"

namespace app {

inline constexpr TreeBox kCategoryTree{ids::kMainWindow, ids::kTree};
inline constexpr ListView kEntryList{ids::kMainWindow, ids::kContentList};

// The text ListMode holds once a category's entries are shown.
inline constexpr const char* kEntriesListed = "外链";

// The list's columns by position; the content handlers read the title
// and the entry's key back from a row.
enum EntryColumnIndex : int { kTitleColumn = 1, kDescriptionColumn = 2, kDetailsColumn = 3, kKeyColumn = 4 };

// The name of the current category: the current tree item's text, empty
// when there is none.
std::string CurrentCategoryName();

// Fills the tree with every node of `base`, children under their parents
// (expanded), repainting as it grows.  When the query fails the message
// says so and the tree keeps its items.
void LoadCategoryTree();

// The list takes the entry columns and the entries of the current
// category.
void ShowCurrentCategory();
// The entries of the current category listed afresh; nothing until a
// category was first shown.
void RefreshEntries();

} // namespace app
