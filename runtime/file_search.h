// File search for handlers: one matching name per call, the search kept in
// a handle the caller holds between calls.
#pragma once

#include "platform/file_search.h"

#include <cstdint>

namespace runtime {

using FileSearchHandle = platform::FileSearchHandle;

// A non-empty pattern ("dir/*.txt") starts a new search, closing the one
// the handle held; a null or empty pattern continues the held search.
// Ordinary files always match; hidden entries and directories only when
// their attribute bits are in the filter.  The next name comes back as a
// fresh heap text; null when none is left, and the search is then closed
// and the handle cleared.
char* FindFile(const char* pattern, std::uint32_t attributeFilter, FileSearchHandle& search);
// Closes the search, if any, and clears the handle.
void CloseFileSearch(FileSearchHandle& search);

} // namespace runtime
