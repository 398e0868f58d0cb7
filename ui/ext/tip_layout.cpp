#include "ui/ext/tip_layout.h"

#include <algorithm>
#include <cassert>

namespace ui {

TipLimits TipLimitsFor(platform::Size screen, int widthOfW, int textHeight)
{
    TipLimits limits;
    int characters = widthOfW > 0 ? screen.cx / widthOfW - 5 : 0;
    limits.lineCharacters = characters > 0 ? characters : kMinLineCharacters;
    int step = textHeight + 5;
    int lines = step > 0 ? screen.cy / step : 1;
    limits.lines = std::clamp(lines, 1, kMaxTipLines);
    return limits;
}

std::size_t GbkCharacterLength(std::string_view text, std::size_t at)
{
    assert(at < text.size());
    auto lead = std::uint8_t(text[at]);
    return lead >= 0x81 && lead <= 0xFE && at + 1 < text.size() ? 2 : 1;
}

namespace {

class Flow {
public:
    // Limits beyond what TipLimitsFor gives are brought within it, so no
    // caller can make a line hold nothing or the lines run past the window.
    Flow(const TipLimits& limits, int lineHeight, const TipMeasure& measure)
        : m_lineCharacters(std::max(1, limits.lineCharacters)), m_maxLines(std::clamp(limits.lines, 0, kMaxTipLines)),
          m_lineHeight(std::clamp(lineHeight, 0, kMaxLineHeight)), m_measure(measure)
    {
        m_out.lines = m_maxLines > 0 ? 1 : 0;
        m_stopped = m_maxLines == 0;
    }

    bool stopped() const { return m_stopped; }

    void text(std::string_view t, const TipStyle& style)
    {
        std::size_t start = 0;
        std::size_t i = 0;
        while (i < t.size() && !m_stopped) {
            if (m_characters >= m_lineCharacters) {
                emit(t.substr(start, i - start), style);
                start = i;
                newLine(m_lineHeight);
                continue;
            }
            i += GbkCharacterLength(t, i);
            ++m_characters;
        }
        if (!m_stopped)
            emit(t.substr(start, i - start), style);
    }

    void lineBreak() { newLine(m_lineHeight); }
    void paragraphBreak() { newLine(m_lineHeight * 3 / 2); }

    void newLine(int advance)
    {
        if (m_out.lines >= m_maxLines) {
            m_stopped = true;
            m_out.truncated = true;
            return;
        }
        ++m_out.lines;
        m_y += advance;
        m_x = 0;
        m_characters = 0;
    }

    TipLayout take()
    {
        if (!m_out.fragments.empty() || m_out.lines > 1)
            m_out.size.cy = m_y + m_lineHeight;
        return std::move(m_out);
    }

private:
    void emit(std::string_view piece, const TipStyle& style)
    {
        if (piece.empty())
            return;
        int width = std::max(0, m_measure(piece, style));
        m_out.fragments.push_back({.x = m_x, .y = m_y, .width = width, .text = std::string(piece), .style = style});
        m_x += width;
        m_out.size.cx = std::max(m_out.size.cx, m_x);
    }

    static constexpr int kMaxLineHeight = 4096;

    int m_lineCharacters;
    int m_maxLines;
    int m_lineHeight;
    const TipMeasure& m_measure;
    TipLayout m_out;
    int m_x = 0;
    int m_y = 0;
    int m_characters = 0;
    bool m_stopped = false;
};

} // namespace

TipLayout LayOutTip(const TipMarkup& markup, const TipLimits& limits, int lineHeight, const TipMeasure& measure)
{
    Flow flow(limits, lineHeight, measure);
    for (const TipRun& run : markup.runs) {
        if (flow.stopped())
            break;
        switch (run.kind) {
        case TipRun::Kind::Text: flow.text(run.text, run.style); break;
        case TipRun::Kind::LineBreak: flow.lineBreak(); break;
        case TipRun::Kind::ParagraphBreak: flow.paragraphBreak(); break;
        }
    }
    return flow.take();
}

platform::Point PlaceTip(platform::Point pointer, platform::Size tip, platform::Size screen,
                         std::optional<platform::Point> at)
{
    platform::Point p = at.value_or(platform::Point{pointer.x, pointer.y + kTipBelowPointer});
    if (p.x + tip.cx > screen.cx)
        p.x = screen.cx - tip.cx;
    if (p.y + tip.cy > screen.cy)
        p.y = screen.cy - tip.cy;
    p.x = std::max(p.x, 0);
    p.y = std::max(p.y, 0);
    return p;
}

} // namespace ui
