#include "platform/odbc/gbk.h"

#include "platform/odbc/utf16.h"

#include <cerrno>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace access_odbc {
namespace {

// Code page 936 has one single-byte character that GB18030 lacks: 0x80, the
// euro sign.  GB18030 writes the euro sign as 0xA2 0xE3 instead, so 0x80 is
// mapped by hand in both directions and both forms read as the euro sign.
constexpr std::string_view kEuroUtf8 = "\xE2\x82\xAC";
constexpr char kEuroGbk = '\x80';

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

// One descriptor per direction and thread, opened on first use: opening a
// descriptor costs more than converting a short value, and a result set
// converts every text it holds.  Being per thread, they need no locking
// between connections; each use starts from the initial shift state.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t reset()
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

private:
    iconv_t m_cd;
};

enum class Direction { ToUtf8, ToGbk };

Converter& converterFor(Direction direction)
{
    thread_local Converter toUtf8("UTF-8", "GB18030");
    thread_local Converter toGbk("GB18030", "UTF-8");
    return direction == Direction::ToUtf8 ? toUtf8 : toGbk;
}

bool convert(Direction direction, std::string_view in, std::string& out)
{
    Converter& converter = converterFor(direction);
    if (!converter.valid())
        return false;
    iconv_t cd = converter.reset();
    std::string buffer(in.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t used = 0;
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer.data() + used;
        size_t dstLeft = buffer.size() - used;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = size_t(dst - buffer.data());
        if (r != size_t(-1))
            continue;
        if (errno == E2BIG) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        ok = false; // EILSEQ or EINVAL: invalid or truncated input
        break;
    }
    if (!ok)
        return false;
    buffer.resize(used);
    out += buffer;
    return true;
}

// Length of the GBK character at s[0], or 0 when s[0] starts no valid
// multi-byte form (the converter then decides).
size_t gbkCharLength(std::string_view s)
{
    auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = b(0);
    if (lead < 0x80)
        return 1;
    if (lead == 0x80 || lead == 0xFF || s.size() < 2)
        return 1;
    if (b(1) >= 0x30 && b(1) <= 0x39)
        return s.size() >= 4 ? 4 : s.size();
    return 2;
}

// The GB18030 form of every code point of the Basic Multilingual Plane, up
// to four bytes packed high byte first (0 where there is none), made once
// with the converter itself so the two can never disagree.  A result set
// converts every text it holds, and a table lookup per character is many
// times faster than a trip through iconv.
class BmpTable {
public:
    BmpTable() : m_forms(0x10000, 0)
    {
        for (std::int32_t block = 0; block < 0x10000; block += 0x100)
            fillBlock(block);
        m_forms[0x20AC] = 0x80; // the euro sign keeps code page 936's single byte
    }
    std::uint32_t form(std::int32_t cp) const { return m_forms[std::size_t(cp)]; }

private:
    static void appendUtf8(std::string& out, std::int32_t cp)
    {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | cp >> 6);
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xE0 | cp >> 12);
            out += char(0x80 | (cp >> 6 & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    // One block of 256 code points in one call; the output splits into
    // characters by GB18030's own lengths.
    void fillBlock(std::int32_t first)
    {
        std::string in;
        std::vector<std::int32_t> points;
        for (std::int32_t cp = std::max(first, 1); cp < first + 0x100; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF)
                continue;
            appendUtf8(in, cp);
            points.push_back(cp);
        }
        std::string out;
        if (points.empty() || !convert(Direction::ToGbk, in, out))
            return; // left without forms: those characters take the slow way
        std::size_t at = 0;
        for (std::int32_t cp : points) {
            std::size_t n = gbkCharLength(std::string_view(out).substr(at));
            if (n == 0 || at + n > out.size())
                return;
            std::uint32_t packed = 0;
            for (std::size_t i = 0; i < n; ++i)
                packed = packed << 8 | static_cast<unsigned char>(out[at + i]);
            m_forms[std::size_t(cp)] = packed;
            at += n;
        }
    }

    std::vector<std::uint32_t> m_forms;
};

const BmpTable& bmpTable()
{
    static const BmpTable table;
    return table;
}

char* writePacked(char* dst, std::uint32_t packed)
{
    if (packed <= 0xFF) {
        *dst++ = char(packed);
    } else if (packed <= 0xFFFF) {
        *dst++ = char(packed >> 8);
        *dst++ = char(packed);
    } else {
        for (int shift = 24; shift >= 0; shift -= 8)
            *dst++ = char(packed >> shift);
    }
    return dst;
}

// Characters beyond the plane follow GB18030's linear four-byte ranges,
// starting at 0x90308130 for U+10000.
void appendSupplementary(std::string& out, std::int32_t cp)
{
    std::int32_t index = cp - 0x10000;
    out += char(0x90 + index / 12600);
    out += char(0x30 + index / 1260 % 10);
    out += char(0x81 + index / 10 % 126);
    out += char(0x30 + index % 10);
}

} // namespace

std::size_t GbkPrefixLength(std::string_view in, std::size_t limit)
{
    std::size_t at = 0;
    while (at < in.size()) {
        std::size_t n = gbkCharLength(in.substr(at));
        if (at + n > limit)
            break;
        at += n;
    }
    return at;
}

bool GbkToUtf8(std::string_view in, std::string& out)
{
    out.clear();
    if (isAscii(in)) {
        out.assign(in);
        return true;
    }
    // Split at euro bytes standing as characters of their own; a 0x80 as
    // the second byte of a pair is part of that pair.
    size_t start = 0, i = 0;
    while (i < in.size()) {
        if (in[i] == kEuroGbk) {
            if (!convert(Direction::ToUtf8, in.substr(start, i - start), out))
                return false;
            out += kEuroUtf8;
            start = ++i;
            continue;
        }
        i += gbkCharLength(in.substr(i));
    }
    return convert(Direction::ToUtf8, in.substr(start), out);
}

bool Utf8ToGbk(std::string_view in, std::string& out)
{
    out.resize(GbkRoomFor(in.size()));
    char* end = Utf8ToGbkInto(in, out.data());
    if (!end)
        return false;
    out.resize(std::size_t(end - out.data()));
    return true;
}

char* Utf8ToGbkInto(std::string_view in, char* dst)
{
    const BmpTable& table = bmpTable();
    const char* p = in.data();
    const char* const end = p + in.size();
    while (p < end) {
        // ASCII goes across eight bytes at a time where it can: a
        // snippet's text is mostly code.
        std::uint64_t word;
        if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ull) == 0)) {
            std::memcpy(dst, p, 8);
            p += 8;
            dst += 8;
            continue;
        }
        if (static_cast<unsigned char>(*p) < 0x80) {
            *dst++ = *p++;
            continue;
        }
        // Chinese text is three-byte UTF-8 with a GBK form in the table.
        if (auto lead = static_cast<unsigned char>(*p); (lead & 0xF0) == 0xE0 && end - p >= 3) {
            auto b1 = static_cast<unsigned char>(p[1]), b2 = static_cast<unsigned char>(p[2]);
            std::int32_t cp = (lead & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F);
            std::uint32_t packed = table.form(cp);
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && cp >= 0x800 && packed != 0) {
                dst = writePacked(dst, packed);
                p += 3;
                continue;
            }
        }
        std::size_t at = std::size_t(p - in.data());
        const std::size_t start = at;
        std::int32_t cp = NextUtf8CodePoint(in, at);
        if (cp < 0)
            return nullptr;
        p = in.data() + at;
        std::uint32_t packed = cp < 0x10000 ? table.form(cp) : 0;
        if (packed != 0) {
            dst = writePacked(dst, packed);
            continue;
        }
        std::string slow;
        if (cp >= 0x10000)
            appendSupplementary(slow, cp);
        else if (!convert(Direction::ToGbk, in.substr(start, at - start), slow))
            return nullptr;
        std::memcpy(dst, slow.data(), slow.size());
        dst += slow.size();
    }
    return dst;
}

} // namespace access_odbc
