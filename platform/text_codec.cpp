#include "platform/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace platform {
namespace {

// One converter per direction, shared and guarded: iconv descriptors carry
// shift state and must not be used by two threads at once.
// Code page 936 has one single-byte character beyond ASCII that GB18030
// lacks: 0x80, the euro sign.  GB18030 writes it as 0xA2 0xE3, which code
// page 936 leaves unassigned, so the euro sign is written as 0x80 and both
// forms read back as the euro sign.
constexpr std::string_view kEuroUtf8 = "\xE2\x82\xAC";
constexpr char kEuroGbk = '\x80';

class Converter {
public:
    // `euro` replaces a byte 0x80 that the conversion cannot read.
    Converter(const char* to, const char* from, std::string_view euro = {})
        : m_cd(iconv_open(to, from)), m_euro(euro)
    {
    }
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }

    std::string convert(std::string_view in)
    {
        std::string out;
        if (in.empty() || m_cd == reinterpret_cast<iconv_t>(-1))
            return out;
        std::lock_guard lock(m_mutex);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 4 + 8);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        while (srcLeft > 0) {
            size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            if (r != size_t(-1))
                continue;
            if (errno == E2BIG) {
                size_t used = size_t(dst - out.data());
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dstLeft = out.size() - used;
                continue;
            }
            // An invalid or truncated sequence: keep the byte's place with
            // "?" and go on, rather than dropping the rest of the text.
            std::string_view replacement = !m_euro.empty() && *src == kEuroGbk ? m_euro : "?";
            if (dstLeft < replacement.size()) {
                size_t used = size_t(dst - out.data());
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dstLeft = out.size() - used;
            }
            dst = std::copy(replacement.begin(), replacement.end(), dst);
            dstLeft -= replacement.size();
            ++src;
            --srcLeft;
        }
        out.resize(size_t(dst - out.data()));
        return out;
    }

private:
    iconv_t m_cd;
    std::string_view m_euro;
    std::mutex m_mutex;
};

Converter& toUtf8()
{
    static Converter c("UTF-8", "GB18030", kEuroUtf8);
    return c;
}

Converter& toGbk()
{
    static Converter c("GB18030", "UTF-8");
    return c;
}

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::string GbkToUtf8(std::string_view gbk)
{
    if (isAscii(gbk))
        return std::string(gbk);
    return toUtf8().convert(gbk);
}

std::string Utf8ToGbk(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    std::string out;
    for (;;) {
        std::size_t euro = utf8.find(kEuroUtf8);
        out += toGbk().convert(utf8.substr(0, euro));
        if (euro == std::string_view::npos)
            return out;
        out += kEuroGbk;
        utf8.remove_prefix(euro + kEuroUtf8.size());
    }
}

std::size_t GbkCharLength(std::string_view text)
{
    if (text.empty())
        return 0;
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = b(0);
    if (lead < 0x81 || lead == 0xFF || text.size() < 2)
        return 1;
    unsigned char second = b(1);
    if (second >= 0x30 && second <= 0x39) {
        // Four-byte sequence: lead, digit, lead-range byte, digit.
        if (text.size() >= 4 && b(2) >= 0x81 && b(2) <= 0xFE && b(3) >= 0x30 && b(3) <= 0x39)
            return 4;
        return 1;
    }
    if (second >= 0x40 && second <= 0xFE && second != 0x7F)
        return 2;
    return 1;
}

} // namespace platform
