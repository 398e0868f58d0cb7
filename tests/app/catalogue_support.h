// Running the catalogue's own windows in a test program: the real kinds,
// templates and handlers, brought up in-process.
#pragma once

namespace cataloguetest {

// Registers the program's kinds and runs the start-up up to (not
// including) opening the start-up window.  Once per process.
void StartCatalogueInProcess();

} // namespace cataloguetest
