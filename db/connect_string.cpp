#include "db/connect_string.h"

namespace db {

std::string AccessConnectString(std::string_view path, std::string_view user, std::string_view password)
{
    std::string s = "ODBC;DBQ=";
    s += path;
    // Paths here separate directories with "/".
    if (std::size_t slash = path.rfind('/'); slash != std::string_view::npos) {
        s += ";DefaultDir=";
        s += path.substr(0, slash);
    }
    s += ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access";
    if (!user.empty()) {
        s += ";UID=";
        s += user;
    }
    if (!password.empty()) {
        s += ";PWD=";
        s += password;
    }
    s += ";";
    return s;
}

} // namespace db
