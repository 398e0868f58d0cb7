#include "platform/odbc/interface_text.h"

#include "platform/odbc/gbk.h"
#include "platform/odbc/utf16.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace access_odbc {

bool ArgumentToUtf8(Interface i, const void* text, SQLINTEGER length, std::string& utf8)
{
    utf8.clear();
    if (!text)
        return true;
    if (i == Interface::Narrow) {
        const char* s = static_cast<const char*>(text);
        std::string_view in = length == SQL_NTS ? std::string_view(s) : std::string_view(s, std::size_t(std::max(length, 0)));
        return GbkToUtf8(in, utf8);
    }
    const auto* units = static_cast<const Utf16Unit*>(text);
    std::size_t n = length == SQL_NTS ? Utf16Length(units) : std::size_t(std::max(length, 0));
    return Utf16ToUtf8(units, n, utf8);
}

void EncodeText(Interface i, std::string_view utf8, std::string& out)
{
    out.clear();
    bool ok = i == Interface::Narrow ? Utf8ToGbk(utf8, out) : Utf8ToUtf16Bytes(utf8, out);
    if (!ok)
        out.assign(utf8);
}

std::size_t EncodedPrefixLength(Interface i, std::string_view encoded, std::size_t limit)
{
    if (i == Interface::Narrow)
        return GbkPrefixLength(encoded, limit);
    std::size_t units = encoded.size() / 2;
    if (units * 2 <= limit)
        return units * 2;
    // UTF-16 units need not be aligned in a std::string: copy the one that
    // decides.
    std::size_t cut = limit / 2;
    Utf16Unit last = 0;
    if (cut > 0)
        std::memcpy(&last, encoded.data() + (cut - 1) * 2, 2);
    bool high = last >= 0xD800 && last <= 0xDBFF;
    return (high ? cut - 1 : cut) * 2;
}

bool CopyOut(Interface i, std::string_view utf8, SQLPOINTER buffer, SQLLEN bufferLength, Counted counted,
             SQLLEN* total)
{
    const std::size_t unit = UnitSize(i);
    std::string encodedStorage;
    std::string_view encoded = utf8;
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!(ascii && i == Interface::Narrow)) {
        EncodeText(i, utf8, encodedStorage);
        encoded = encodedStorage;
    }
    if (total)
        *total = SQLLEN(counted == Counted::Bytes ? encoded.size() : encoded.size() / unit);
    if (!buffer)
        return false; // a length query
    std::size_t room = counted == Counted::Bytes ? std::size_t(std::max<SQLLEN>(bufferLength, 0))
                                                 : std::size_t(std::max<SQLLEN>(bufferLength, 0)) * unit;
    room -= room % unit;
    if (room < unit)
        return !encoded.empty();
    std::size_t n = EncodedPrefixLength(i, encoded, room - unit);
    assert(n % unit == 0 && n <= room - unit);
    std::memcpy(buffer, encoded.data(), n);
    std::memset(static_cast<char*>(buffer) + n, 0, unit);
    return n < encoded.size();
}

bool CopyOut(Interface i, std::string_view utf8, SQLPOINTER buffer, SQLLEN bufferLength, Counted counted,
             SQLSMALLINT* total16)
{
    SQLLEN total = 0;
    bool cut = CopyOut(i, utf8, buffer, bufferLength, counted, &total);
    if (total16)
        *total16 = SQLSMALLINT(std::min<SQLLEN>(total, 0x7FFF));
    return cut;
}

bool CopyOut(Interface i, std::string_view utf8, SQLPOINTER buffer, SQLLEN bufferLength, Counted counted,
             SQLINTEGER* total32)
{
    SQLLEN total = 0;
    bool cut = CopyOut(i, utf8, buffer, bufferLength, counted, &total);
    if (total32)
        *total32 = SQLINTEGER(std::min<SQLLEN>(total, 0x7FFFFFFF));
    return cut;
}

} // namespace access_odbc
