// What a new catalogue holds: one top-level category for each of the
// twelve node pictures, a few categories under them, and a few real
// snippets, so the first start shows the catalogue at work.
#pragma once

#include <span>

namespace catalogue_db {

struct StarterCategory {
    const char* name;
    int image; // the picture's index in the tree's image list
    const char* parent = nullptr; // a category before it; null: top level
};

struct StarterEntry {
    const char* category;
    const char* code;
    const char* description;
    const char* details;
};

std::span<const StarterCategory> StarterCategories();
std::span<const StarterEntry> StarterEntries();

} // namespace catalogue_db
