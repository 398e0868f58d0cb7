// Strict conversion between the narrow interface's GBK and the UTF-8 the
// database stores.  GB18030 does the work: it agrees with GBK on every GBK
// character and has a four-byte form for every other character, so nothing a
// user typed is lost.  Unlike a display conversion, a byte sequence that does
// not convert is an error: data must never be silently mangled on its way
// into the file.
#pragma once

#include <string>
#include <string_view>

namespace access_odbc {

// Both return false, leaving `out` unspecified, when `in` holds a sequence
// that is not valid in the source encoding.
bool GbkToUtf8(std::string_view in, std::string& out);
bool Utf8ToGbk(std::string_view in, std::string& out);

// GB18030 never takes more than twice the bytes of UTF-8 (a two-byte UTF-8
// character may take four).
constexpr std::size_t GbkRoomFor(std::size_t utf8Bytes)
{
    return utf8Bytes * 2;
}
// Utf8ToGbk straight into `out`, which has room for GbkRoomFor(in.size())
// bytes: the end of what it wrote, or null for text that is not UTF-8.
char* Utf8ToGbkInto(std::string_view in, char* out);

// The length of the longest run of whole GBK characters at the start of
// `in` that fits in `limit` bytes.
std::size_t GbkPrefixLength(std::string_view in, std::size_t limit);

} // namespace access_odbc
