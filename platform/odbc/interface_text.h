// Text crossing the driver's two interfaces.  Inside, every text is UTF-8,
// as SQLite stores it; the narrow interface (SQLCHAR) speaks GBK, the wide
// one (SQLWCHAR) UTF-16.  Arguments are decoded on the way in and results
// encoded on the way out, here and nowhere else.
#pragma once

#include "platform/odbc/odbc_api.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace access_odbc {

enum class Interface : std::uint8_t { Narrow, Wide };

// Bytes of one character unit (SQLCHAR or SQLWCHAR).
constexpr std::size_t UnitSize(Interface i)
{
    return i == Interface::Wide ? 2 : 1;
}

// An argument string of `length` units, or SQL_NTS; a null pointer is the
// empty text.  False when the text is not valid in the interface's
// encoding (GBK that does not convert, an unpaired surrogate).
bool ArgumentToUtf8(Interface i, const void* text, SQLINTEGER length, std::string& utf8);

// UTF-8 text in the interface's encoding (GBK bytes, or UTF-16 units as
// bytes).  Text the driver made is always valid; anything else would be a
// fault of the driver's own, so it is passed through unchanged.
void EncodeText(Interface i, std::string_view utf8, std::string& out);

// The longest run of whole characters of encoded text that fits in
// `limit` bytes: a GBK pair, a GB18030 quadruple or a UTF-16 surrogate pair
// is never split.  0 only when not even one character fits.
std::size_t EncodedPrefixLength(Interface i, std::string_view encoded, std::size_t limit);

// How an ODBC function counts an output buffer and the length it writes
// back: in characters (SQLDescribeCol, SQLGetDiagRec, ...) or in bytes
// (SQLGetInfo, SQLColAttribute, attributes, ...).
enum class Counted : std::uint8_t { Units, Bytes };

// Copies UTF-8 text out in the interface's encoding, NUL-terminated and cut
// at a character boundary.  `total` (when given) receives the full length
// in the counting the function uses.  Gives true when it had to cut (the
// caller adds 01004).
bool CopyOut(Interface i, std::string_view utf8, SQLPOINTER buffer, SQLLEN bufferLength, Counted counted,
             SQLLEN* total);

// The same for the common length arguments of 16 and 32 bits.
bool CopyOut(Interface i, std::string_view utf8, SQLPOINTER buffer, SQLLEN bufferLength, Counted counted,
             SQLSMALLINT* total16);
bool CopyOut(Interface i, std::string_view utf8, SQLPOINTER buffer, SQLLEN bufferLength, Counted counted,
             SQLINTEGER* total32);

} // namespace access_odbc
