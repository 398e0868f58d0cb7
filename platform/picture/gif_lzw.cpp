#include "platform/picture/gif_lzw.h"

#include <algorithm>
#include <cassert>

namespace platform::pictures {

LzwDecoder::LzwDecoder(std::span<const std::uint8_t> codes, int minCodeSize)
    : m_codes(codes), m_minCodeSize(minCodeSize), m_clear(1 << minCodeSize), m_end(m_clear + 1)
{
    assert(minCodeSize >= kLowestCodeSize && minCodeSize <= kHighestCodeSize);
    for (int c = 0; c < m_clear; ++c) {
        m_suffix[std::size_t(c)] = std::uint8_t(c);
        m_first[std::size_t(c)] = std::uint8_t(c);
        m_length[std::size_t(c)] = 1;
    }
    reset();
}

void LzwDecoder::reset()
{
    m_codeSize = m_minCodeSize + 1;
    m_next = m_clear + 2;
    m_previous = -1;
}

// The next code, or -1 when the data holds no whole code more.
int LzwDecoder::nextCode()
{
    while (m_bitCount < m_codeSize) {
        if (m_in >= m_codes.size())
            return -1;
        m_bits |= std::uint32_t(m_codes[m_in++]) << m_bitCount;
        m_bitCount += 8;
    }
    int code = int(m_bits & ((1u << m_codeSize) - 1));
    m_bits >>= m_codeSize;
    m_bitCount -= m_codeSize;
    ++m_codesRead;
    return code;
}

void LzwDecoder::queue(int code, int extra)
{
    std::size_t length = m_length[std::size_t(code)] + (extra >= 0 ? 1 : 0);
    assert(length <= m_pending.size());
    std::size_t i = length;
    if (extra >= 0)
        m_pending[--i] = std::uint8_t(extra);
    for (int c = code; i > 0; c = m_prefix[std::size_t(c)])
        m_pending[--i] = m_suffix[std::size_t(c)];
    m_pendingAt = 0;
    m_pendingEnd = length;
}

std::size_t LzwDecoder::read(std::span<std::uint8_t> out)
{
    std::size_t n = 0;
    while (n < out.size()) {
        if (m_pendingAt < m_pendingEnd) {
            std::size_t k = std::min(out.size() - n, m_pendingEnd - m_pendingAt);
            std::copy_n(m_pending.begin() + std::ptrdiff_t(m_pendingAt), k, out.begin() + std::ptrdiff_t(n));
            m_pendingAt += k;
            n += k;
            continue;
        }
        if (m_done)
            break;
        int code = nextCode();
        if (code < 0 || code == m_end) {
            m_done = true;
            break;
        }
        if (code == m_clear) {
            reset();
            continue;
        }
        // A code may name an entry of the table, or the one about to be
        // made (the previous string and its own first index).
        bool known = code < m_next && (code < m_clear || code > m_end);
        if (!known && (code != m_next || m_previous < 0)) {
            m_error = "LZW code " + std::to_string(code) + " (code number " + std::to_string(m_codesRead) +
                      ") names no table entry; the next is " + std::to_string(m_next);
            m_done = true;
            break;
        }
        if (m_previous < 0) {
            queue(code, -1);
        } else {
            int first = known ? m_first[std::size_t(code)] : m_first[std::size_t(m_previous)];
            if (known)
                queue(code, -1);
            else
                queue(m_previous, first);
            if (m_next < kMostCodes) {
                auto e = std::size_t(m_next);
                m_prefix[e] = std::uint16_t(m_previous);
                m_suffix[e] = std::uint8_t(first);
                m_first[e] = m_first[std::size_t(m_previous)];
                m_length[e] = std::uint16_t(m_length[std::size_t(m_previous)] + 1);
                ++m_next;
                if (m_next == 1 << m_codeSize && m_codeSize < kLongestCodeSize)
                    ++m_codeSize;
            }
        }
        m_previous = code;
    }
    return n;
}

} // namespace platform::pictures
