#include "platform/qt/gbk_positions.h"

#include "platform/qt/qt_text.h"

#include <algorithm>
#include <cassert>

namespace platform::qt {

GbkPositions::GbkPositions(const QString& text, bool crlf)
{
    // One conversion of the whole text; each character's bytes follow one
    // another in it, so walking both side by side gives every offset.
    std::string gbk = toGbk(text);
    std::string_view rest(gbk);
    m_offsets.reserve(std::size_t(text.size()) + 1);
    int offset = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        std::size_t length = rest.empty() ? 1 : GbkCharLength(rest);
        rest.remove_prefix(std::min(length, rest.size()));
        m_offsets.push_back(offset);
        if (pair)
            m_offsets.push_back(offset), ++i;
        offset += int(length) + (crlf && text.at(i) == QLatin1Char('\n') ? 1 : 0);
    }
    m_offsets.push_back(offset);
    assert(m_offsets.size() == std::size_t(text.size()) + 1);
}

int GbkPositions::byteAt(qsizetype index) const
{
    index = std::clamp<qsizetype>(index, 0, qsizetype(m_offsets.size()) - 1);
    return m_offsets[std::size_t(index)];
}

qsizetype GbkPositions::indexAt(int byte) const
{
    // The first offset past `byte`, then back to the start of the
    // character before it (surrogate pairs share their start offset).
    auto it = std::upper_bound(m_offsets.begin(), m_offsets.end(), byte);
    if (it == m_offsets.begin())
        return 0;
    --it;
    auto first = std::lower_bound(m_offsets.begin(), it, *it);
    return qsizetype(first - m_offsets.begin());
}

QString gbkPrefix(const QString& text, int bytes, bool crlf)
{
    return text.left(GbkPositions(text, crlf).indexAt(std::max(bytes, 0)));
}

int gbkLength(const QString& text, bool crlf)
{
    return GbkPositions(text, crlf).bytes();
}

} // namespace platform::qt
