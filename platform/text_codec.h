// Conversion between the system's GBK texts and Unicode.  GB18030 is used in
// both directions: it agrees with GBK on every GBK character and encodes
// every other Unicode character as well, so nothing a user types is lost.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// Length in bytes of the GBK character starting at text[0] (1, 2 or 4; 1 for
// a byte that starts no valid sequence).
std::size_t GbkCharLength(std::string_view text);

} // namespace platform
