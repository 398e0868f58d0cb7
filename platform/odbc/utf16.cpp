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
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
    for (std::size_t at = 0; at < in.size();) {
        unsigned char lead = byte(at);
        if (lead < 0x80) {
            appendUnit(out, lead);
            ++at;
            continue;
        }
        int length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || at + std::size_t(length) > in.size())
            return false;
        std::uint32_t cp = lead & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            unsigned char b = byte(at + std::size_t(i));
            if ((b & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (b & 0x3F);
        }
        constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        at += std::size_t(length);
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

} // namespace access_odbc

namespace access_odbc {

bool IsValidUtf8(std::string_view in)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
    for (std::size_t at = 0; at < in.size();) {
        unsigned char lead = byte(at);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        int length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || at + std::size_t(length) > in.size())
            return false;
        std::uint32_t cp = lead & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            unsigned char b = byte(at + std::size_t(i));
            if ((b & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (b & 0x3F);
        }
        constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        at += std::size_t(length);
    }
    return true;
}

} // namespace access_odbc
