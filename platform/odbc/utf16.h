// Strict conversion between the UTF-8 the database stores and the UTF-16
// of the wide interface (SQLWCHAR, two bytes, the machine's order, as the
// driver manager hands it over).  An unpaired surrogate on the way in, or
// broken UTF-8 on the way out, is an error, never a replacement character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace access_odbc {

using Utf16Unit = std::uint16_t;

// Appends to `out`; false (out unspecified) for an unpaired surrogate.
bool Utf16ToUtf8(const Utf16Unit* in, std::size_t units, std::string& out);
// The UTF-16 units of `in`, as bytes in the machine's order, appended to
// `out`; false for text that is not strict UTF-8.
bool Utf8ToUtf16Bytes(std::string_view in, std::string& out);

// The number of UTF-16 units of NUL-terminated wide text.
std::size_t Utf16Length(const Utf16Unit* text);

// The longest run of whole characters at the start of `units` UTF-16
// units that fits in `limit` units: never half a surrogate pair.
std::size_t Utf16PrefixLength(const Utf16Unit* text, std::size_t units, std::size_t limit);

// The longest run of whole UTF-8 characters of `in` that fits in `limit`
// bytes.
std::size_t Utf8PrefixLength(std::string_view in, std::size_t limit);

// The next code point of strict UTF-8 at in[at], advancing `at`; -1 (and
// `at` unmoved) for a sequence iconv would refuse too: truncated,
// overlong, a surrogate, or beyond U+10FFFF.
std::int32_t NextUtf8CodePoint(std::string_view in, std::size_t& at);

// True for strict UTF-8: no truncated, overlong or surrogate forms.
bool IsValidUtf8(std::string_view in);

} // namespace access_odbc
