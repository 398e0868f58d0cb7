// Running the catalogue's own windows in a test program: the real kinds,
// templates and handlers, brought up in-process.
#pragma once

#include <string>

namespace cataloguetest {

// Registers the program's kinds and runs the start-up up to (not
// including) opening the start-up window.  Once per process.
void StartCatalogueInProcess();

// The catalogue database in the program directory (the test program's):
// its path, and the starter catalogue made there when there is none.
std::string CatalogueFile();
void EnsureStarterCatalogue();

} // namespace cataloguetest
