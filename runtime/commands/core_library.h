// The core library: the basic commands, and the runtime services it was
// handed at start-up.
#pragma once

#include "runtime/library.h"

namespace runtime {

// The notification entries of the core library and of the
// special-functions library (which has no commands the catalogue calls).
std::intptr_t CoreLibraryNotify(int message, std::uintptr_t a, std::uintptr_t b);
std::intptr_t SpecialFunctionsNotify(int message, std::uintptr_t a, std::uintptr_t b);

// The service entry the core library received; null before start-up.
ServiceEntry CoreLibraryServices();

} // namespace runtime
