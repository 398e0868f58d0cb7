// The core library: the basic commands, and the runtime services it was
// handed at start-up.
#pragma once

#include "runtime/library.h"

namespace runtime {

extern const LibraryDescriptor kCoreLibrary;
// The special-functions library: linked, told of start-up and shutdown, no
// commands the catalogue calls.
extern const LibraryDescriptor kSpecialFunctionsLibrary;

// The service entry the core library received; null before start-up.
ServiceEntry CoreLibraryServices();

} // namespace runtime
