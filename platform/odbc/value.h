// One stored value of a materialised result row.  Text is held in GBK, as
// the narrow interface hands it out, so lengths are the lengths the
// application sees.
#pragma once

#include <cstdint>
#include <string>

namespace access_odbc {

struct Value {
    enum class Kind : std::uint8_t { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes; // Text (GBK) or Blob
};

} // namespace access_odbc
