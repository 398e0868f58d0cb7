// Running the catalogue's own windows in a test program: the real kinds,
// templates and handlers, brought up in-process.
#pragma once

#include <string>
#include <vector>

namespace cataloguetest {

// Registers the program's kinds and runs the start-up up to (not
// including) opening the start-up window.  Once per process.
void StartCatalogueInProcess();

// The catalogue database in the program directory (the test program's):
// its path, and the starter catalogue made there when there is none.
std::string CatalogueFile();
void EnsureStarterCatalogue();

// A catalogue of exactly these rows in place of whatever was there (texts
// GBK, keys as given); false when it could not be written.
struct NodeRow {
    int key;
    const char* name;
    int parentKey;
    int image;
};
struct EntryRow {
    const char* category;
    const char* code;
    const char* description;
    const char* details;
};
bool WriteCatalogue(const std::vector<NodeRow>& nodes, const std::vector<EntryRow>& entries);

} // namespace cataloguetest
