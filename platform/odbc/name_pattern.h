// Names in the catalogue functions: ODBC search patterns and ordinary
// names, over UTF-8 text.
#pragma once

#include <string_view>

namespace access_odbc {

// "%" any run, "_" one character (not one byte), "\" escapes; ASCII
// letters compared without regard to case, as Access compares names.
bool MatchesPattern(std::string_view pattern, std::string_view name);
// Ordinary (non-pattern) names, compared as Access compares them.
bool SameName(std::string_view a, std::string_view b);

} // namespace access_odbc
