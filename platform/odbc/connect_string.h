// The connect string of SQLDriverConnect: "key=value" pairs separated by
// ";", keys compared without regard to case, values optionally in braces
// (which may hold ";" and "=", with "}}" standing for "}").  A leading
// "ODBC;" and any other piece without "=" are ignored, as are keys this
// driver does not know.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace access_odbc {

struct ConnectAttribute {
    std::string key;   // as written
    std::string value; // braces removed
};

struct ConnectString {
    std::vector<ConnectAttribute> attributes;

    // The first value of `key` (case-insensitive), if any.
    std::optional<std::string> find(std::string_view key) const;
};

// Never fails: malformed pieces are skipped, an unclosed brace takes the
// rest of the text as its value.
ConnectString ParseConnectString(std::string_view text);

// "key=value;" with the value braced when it needs to be or when asked.
std::string FormatConnectAttribute(std::string_view key, std::string_view value, bool braced = false);

} // namespace access_odbc
