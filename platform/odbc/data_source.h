// Data sources defined in odbc.ini, as the driver manager's configuration
// library reads them (the user's file, then the system's, following
// ODBCINI and ODBCSYSINI).
#pragma once

#include "platform/odbc/connect_string.h"

#include <optional>
#include <string_view>

namespace access_odbc {

// The keys of data source `name` that this driver reads, as attributes in
// file order; nothing when odbc.ini has no such data source.
std::optional<ConnectString> ReadDataSource(std::string_view name);

// The attributes of `given` followed by those of `source` that `given`
// lacks: what the application says wins over the data source.
ConnectString MergeAttributes(const ConnectString& given, const ConnectString& source);

} // namespace access_odbc
