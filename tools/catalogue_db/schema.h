// Making a new catalogue database: the two tables with the columns the
// program reads by name, auto-number keys that are never reused, and, when
// asked, the starter categories and example entries.
#pragma once

#include <string>

namespace catalogue_db {

struct Result {
    bool ok = false;
    std::string error; // why not, when !ok
};

enum class Contents { Empty, Starter };

// Creates the database file at `path` (UTF-8).  An existing file is never
// touched: that is an error.  A failure halfway leaves no file behind.
Result CreateCatalogue(const std::string& path, Contents contents);

} // namespace catalogue_db
