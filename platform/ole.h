// Component services.  This system has no component object model; the calls
// keep their place in start-up and shutdown and answer as an empty one would.
#pragma once

#include <string_view>

namespace platform {

// Succeeds once per process; later calls report that it was done already.
bool OleInitialize();
void OleUninitialize();
bool IsOleInitialized();

// Socket library clean-up; nothing is held, so nothing to release.
void WSACleanup();

// Type libraries cannot be registered here: loading one always fails, so a
// registration fails quietly as the callers expect of a missing file.
bool RegisterTypeLib(std::string_view path);
bool UnRegisterTypeLib(std::string_view classId, int major, int minor, int locale);

} // namespace platform
