// The connect string by which the unit opens an Access file.
#pragma once

#include <string>
#include <string_view>

namespace db {

// "ODBC;DBQ=" + path, the directory as DefaultDir when the path has one,
// the Access driver, then UID and PWD when not empty.
std::string AccessConnectString(std::string_view path, std::string_view user, std::string_view password);

} // namespace db
