#include "ui/ext/tip_markup.h"

#include <algorithm>
#include <cstdint>

namespace ui {
namespace {

using platform::ColorRef;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string lowered(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

struct NamedColor {
    std::string_view name;
    ColorRef color;
};
constexpr NamedColor kNamedColors[] = {
    {"red", 0x0000FF},
    {"green", 0x00FF00},
    {"blue", 0xFF0000},
    {"gray", 0x808080},
};

// A decimal number as the C library's atoi reads one: an optional sign,
// then digits up to the first that is not; nothing readable is 0.  The
// value saturates rather than overflows.
std::int64_t leadingNumber(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        v = std::min<std::int64_t>(v * 10 + (s[i] - '0'), 0xFFFFFFFFll);
    return negative ? -v : v;
}

struct Entity {
    std::string_view written;
    std::string_view meaning;
};
constexpr Entity kEntities[] = {
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&-lt;", "&lt;"},
    {"&-gt;", "&gt;"},
};

void appendResolved(std::string& out, std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            return;
        }
        out.append(text.substr(i, amp - i));
        i = amp;
        std::string_view rest = text.substr(i);
        auto entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                   [&](const Entity& e) { return rest.starts_with(e.written); });
        if (entity == std::end(kEntities)) {
            out.push_back('&');
            ++i;
        } else {
            out.append(entity->meaning);
            i += entity->written.size();
        }
    }
}

class Parser {
public:
    TipMarkup take()
    {
        flush();
        return std::move(m_out);
    }

    void text(std::string_view t) { appendResolved(m_pending, t); }

    void tag(std::string_view raw)
    {
        std::string lower = lowered(trimmed(raw));
        std::string_view t = lower;
        bool off = t.starts_with('/');
        if (off)
            t = trimmed(t.substr(1));
        std::size_t eq = t.find('=');
        std::string_view name = trimmed(t.substr(0, eq));
        std::optional<std::string_view> value;
        if (eq != std::string_view::npos)
            value = trimmed(t.substr(eq + 1));
        for (const TagRule& rule : kRules) {
            if (rule.name == name) {
                flush();
                rule.apply(*this, off, value);
                return;
            }
        }
    }

private:
    using Apply = void (*)(Parser& p, bool off, std::optional<std::string_view> value);
    struct TagRule {
        std::string_view name;
        Apply apply;
    };

    // A tag without "=" gives 0; "-1" gives none.
    static std::optional<ColorRef> valueOf(std::optional<std::string_view> value)
    {
        return value ? TipColorValue(*value) : std::optional<ColorRef>(0);
    }

    template<bool TipStyle::*Flag>
    static void flag(Parser& p, bool off, std::optional<std::string_view>)
    {
        p.m_style.*Flag = !off;
    }

    static void color(Parser& p, bool off, std::optional<std::string_view> value)
    {
        // Closing restores black, as does a colour of none.
        p.m_style.color = off ? 0 : valueOf(value).value_or(0);
    }

    static void lineBreak(Parser& p, bool off, std::optional<std::string_view>)
    {
        if (!off)
            p.m_out.runs.push_back({.kind = TipRun::Kind::LineBreak, .style = p.m_style});
    }

    static void paragraph(Parser& p, bool off, std::optional<std::string_view>)
    {
        if (!off)
            p.m_out.runs.push_back({.kind = TipRun::Kind::ParagraphBreak, .style = p.m_style});
    }

    static void background(Parser& p, bool off, std::optional<std::string_view> value)
    {
        p.m_out.background = off ? std::nullopt : valueOf(value);
    }

    static void border(Parser& p, bool off, std::optional<std::string_view> value)
    {
        p.m_out.border = off ? std::nullopt : valueOf(value);
    }

    static constexpr TagRule kRules[] = {
        {"b", &flag<&TipStyle::bold>},
        {"bold", &flag<&TipStyle::bold>},
        {"i", &flag<&TipStyle::italic>},
        {"italic", &flag<&TipStyle::italic>},
        {"u", &flag<&TipStyle::underline>},
        {"underline", &flag<&TipStyle::underline>},
        {"s", &flag<&TipStyle::strikeOut>},
        {"strikeout", &flag<&TipStyle::strikeOut>},
        {"color", &color},
        {"c", &color},
        {"br", &lineBreak},
        {"p", &paragraph},
        {"backcolor", &background},
        {"bordercolor", &border},
    };

    void flush()
    {
        if (m_pending.empty())
            return;
        m_out.runs.push_back({.kind = TipRun::Kind::Text, .text = std::move(m_pending), .style = m_style});
        m_pending.clear();
    }

    TipMarkup m_out;
    TipStyle m_style;
    std::string m_pending;
};

void replaceAll(std::string& s, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    for (std::size_t at; (at = s.find(from, i)) != std::string::npos; i = at + from.size()) {
        out.append(s, i, at - i);
        out.append(to);
    }
    out.append(s, i, std::string::npos);
    s = std::move(out);
}

} // namespace

std::string TipLineBreaks(std::string_view text, bool markup)
{
    std::string_view lineBreak = markup ? std::string_view("<br>") : kPlainLineBreak;
    std::string s(text);
    replaceAll(s, "\r\n", lineBreak);
    replaceAll(s, "\n", lineBreak);
    return s;
}

std::optional<ColorRef> TipColorValue(std::string_view value)
{
    std::string v = lowered(trimmed(value));
    for (const NamedColor& named : kNamedColors)
        if (named.name == v)
            return named.color;
    std::int64_t n = leadingNumber(v);
    if (n == -1)
        return std::nullopt;
    return ColorRef(std::uint32_t(n) & 0xFFFFFF);
}

TipMarkup ParseTipMarkup(std::string_view text)
{
    Parser parser;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            std::size_t next = text.find('<', i);
            if (next == std::string_view::npos)
                next = text.size();
            parser.text(text.substr(i, next - i));
            i = next;
            continue;
        }
        std::size_t close = text.find('>', i + 1);
        if (close == std::string_view::npos) {
            // A tag that never ends is text.
            parser.text(text.substr(i));
            break;
        }
        parser.tag(text.substr(i + 1, close - i - 1));
        i = close + 1;
    }
    return parser.take();
}

TipMarkup PlainTip(std::string_view text)
{
    TipMarkup out;
    std::size_t i = 0;
    while (i <= text.size()) {
        std::size_t marker = text.find(kPlainLineBreak, i);
        std::size_t end = marker == std::string_view::npos ? text.size() : marker;
        if (end > i)
            out.runs.push_back({.kind = TipRun::Kind::Text, .text = std::string(text.substr(i, end - i))});
        if (marker == std::string_view::npos)
            break;
        out.runs.push_back({.kind = TipRun::Kind::LineBreak});
        i = marker + kPlainLineBreak.size();
    }
    return out;
}

} // namespace ui
