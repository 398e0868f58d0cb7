#include "platform/odbc/utf16.h"

#include <cstring>

namespace access_odbc {
namespace {

bool isHigh(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void appendUtf8(std::string& out, std::uint32_t cp)
{
    char bytes[4];
    std::size_t n;
    if (cp < 0x80) {
        bytes[0] = char(cp);
        n = 1;
    } else if (cp < 0x800) {
        bytes[0] = char(0xC0 | cp >> 6);
        bytes[1] = char(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        bytes[0] = char(0xE0 | cp >> 12);
        bytes[1] = char(0x80 | (cp >> 6 & 0x3F));
        bytes[2] = char(0x80 | (cp & 0x3F));
        n = 3;
    } else {
        bytes[0] = char(0xF0 | cp >> 18);
        bytes[1] = char(0x80 | (cp >> 12 & 0x3F));
        bytes[2] = char(0x80 | (cp >> 6 & 0x3F));
        bytes[3] = char(0x80 | (cp & 0x3F));
        n = 4;
    }
    out.append(bytes, n);
}

void appendUnit(std::string& out, Utf16Unit u)
{
    char bytes[2];
    std::memcpy(bytes, &u, 2);
    out.append(bytes, 2);
}

} // namespace

bool Utf16ToUtf8(const Utf16Unit* in, std::size_t units, std::string& out)
{
    out.reserve(out.size() + units);
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t u = in[i];
        if (u < 0x80) {
            out.push_back(char(u));
            continue;
        }
        if (isLow(u))
            return false;
        if (isHigh(u)) {
            if (i + 1 >= units || !isLow(in[i + 1]))
                return false;
            u = 0x10000 + ((u - 0xD800) << 10) + (in[++i] - 0xDC00);
        }
        appendUtf8(out, u);
    }
    return true;
}

bool Utf8ToUtf16Bytes(std::string_view in, std::string& out)
{
    out.reserve(out.size() + in.size() * 2);
    for (std::size_t at = 0; at < in.size();) {
        std::int32_t cp = NextUtf8CodePoint(in, at);
        if (cp < 0)
            return false;
        if (cp < 0x10000) {
            appendUnit(out, Utf16Unit(cp));
        } else {
            cp -= 0x10000;
            appendUnit(out, Utf16Unit(0xD800 + (cp >> 10)));
            appendUnit(out, Utf16Unit(0xDC00 + (cp & 0x3FF)));
        }
    }
    return true;
}

std::size_t Utf16Length(const Utf16Unit* text)
{
    std::size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

std::size_t Utf16PrefixLength(const Utf16Unit* text, std::size_t units, std::size_t limit)
{
    if (units <= limit)
        return units;
    // A high surrogate at the cut would be left without its partner.
    return limit > 0 && isHigh(text[limit - 1]) ? limit - 1 : limit;
}

std::size_t Utf8PrefixLength(std::string_view in, std::size_t limit)
{
    if (in.size() <= limit)
        return in.size();
    std::size_t at = limit;
    while (at > 0 && (static_cast<unsigned char>(in[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

std::int32_t NextUtf8CodePoint(std::string_view in, std::size_t& at)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
    unsigned char lead = byte(at);
    int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || at + std::size_t(length) > in.size())
        return -1;
    std::int32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        unsigned char b = byte(at + std::size_t(i));
        if ((b & 0xC0) != 0x80)
            return -1;
        cp = cp << 6 | (b & 0x3F);
    }
    constexpr std::int32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    at += std::size_t(length);
    return cp;
}

bool IsValidUtf8(std::string_view in)
{
    for (std::size_t at = 0; at < in.size();) {
        // ASCII needs no decoding.
        if (static_cast<unsigned char>(in[at]) < 0x80)
            ++at;
        else if (NextUtf8CodePoint(in, at) < 0)
            return false;
    }
    return true;
}

} // namespace access_odbc
