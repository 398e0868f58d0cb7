#include "platform/odbc/gbk.h"

#include <cerrno>
#include <iconv.h>

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
    out.clear();
    if (isAscii(in)) {
        out.assign(in);
        return true;
    }
    for (;;) {
        size_t euro = in.find(kEuroUtf8);
        if (!convert(Direction::ToGbk, in.substr(0, euro), out))
            return false;
        if (euro == std::string_view::npos)
            return true;
        out += kEuroGbk;
        in.remove_prefix(euro + kEuroUtf8.size());
    }
}

} // namespace access_odbc
