#include "tools/template_compiler/description.h"

#include <cctype>

namespace tc {
namespace {

class Parser {
public:
    Parser(const std::string& file, const std::string& text) : m_file(file), m_text(text) {}

    ParseResult run()
    {
        ParseResult result;
        result.description.fileName = m_file;
        while (!m_failure && m_pos < m_text.size()) {
            skipBlankAndComments();
            if (m_pos >= m_text.size())
                break;
            if (peek() == '[') {
                Section s;
                s.line = m_line;
                s.header = sectionHeader();
                if (m_failure)
                    break;
                result.description.sections.push_back(std::move(s));
                continue;
            }
            if (result.description.sections.empty()) {
                fail("a property before the first [section]");
                break;
            }
            Entry e = entry();
            if (m_failure)
                break;
            result.description.sections.back().entries.push_back(std::move(e));
        }
        result.failure = m_failure;
        return result;
    }

private:
    char peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }
    void fail(std::string message)
    {
        if (!m_failure)
            m_failure = Failure{m_file, m_line, std::move(message)};
    }

    void skipSpaces()
    {
        while (peek() == ' ' || peek() == '\t' || peek() == '\r')
            ++m_pos;
        if (peek() == '#')
            while (m_pos < m_text.size() && peek() != '\n')
                ++m_pos;
    }

    void skipBlankAndComments()
    {
        for (;;) {
            skipSpaces();
            if (peek() != '\n')
                return;
            ++m_pos;
            ++m_line;
        }
    }

    bool atLineEnd()
    {
        skipSpaces();
        return m_pos >= m_text.size() || peek() == '\n';
    }

    void endLine()
    {
        if (!atLineEnd())
            fail("unexpected text at the end of the line");
    }

    static bool wordChar(unsigned char c)
    {
        return std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == '&' || c == '+' || c >= 0x80;
    }

    std::string word()
    {
        std::size_t start = m_pos;
        while (m_pos < m_text.size() && wordChar(static_cast<unsigned char>(peek())))
            ++m_pos;
        return m_text.substr(start, m_pos - start);
    }

    std::vector<std::string> sectionHeader()
    {
        ++m_pos; // [
        std::vector<std::string> words;
        for (;;) {
            skipSpaces();
            if (peek() == ']') {
                ++m_pos;
                break;
            }
            if (peek() == '\n' || m_pos >= m_text.size()) {
                fail("a section header without its closing ]");
                return {};
            }
            std::string w = word();
            if (w.empty()) {
                fail("unexpected character in a section header");
                return {};
            }
            words.push_back(w);
        }
        endLine();
        if (words.empty())
            fail("an empty section header");
        return words;
    }

    Entry entry()
    {
        Entry e;
        e.line = m_line;
        std::string key;
        while (!m_failure) {
            skipSpaces();
            if (peek() == '=') {
                ++m_pos;
                break;
            }
            std::string w = word();
            if (w.empty()) {
                fail("expected `key = value`");
                return e;
            }
            key += key.empty() ? w : " " + w;
        }
        e.key = key;
        e.value = listValue();
        endLine();
        return e;
    }

    Value listValue()
    {
        Value first = value();
        skipSpaces();
        if (peek() != ',')
            return first;
        Value list;
        list.kind = Value::Kind::List;
        list.line = first.line;
        list.items.push_back(std::move(first));
        while (!m_failure && peek() == ',') {
            ++m_pos;
            list.items.push_back(value());
            skipSpaces();
        }
        return list;
    }

    Value value()
    {
        skipSpaces();
        Value v;
        v.line = m_line;
        char c = peek();
        if (c == '"') {
            v.kind = Value::Kind::String;
            v.text = quoted();
            return v;
        }
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            std::string w = word();
            if (parseInteger(w, v.integer)) {
                v.kind = Value::Kind::Integer;
                return v;
            }
            v.text = w;
            return v;
        }
        std::string w = word();
        if (w.empty()) {
            fail("expected a value");
            return v;
        }
        v.text = w;
        skipSpaces();
        if (peek() == '(') {
            ++m_pos;
            v.kind = Value::Kind::Call;
            // The arguments of a call may run over several lines.
            skipBlankAndComments();
            while (!m_failure && peek() != ')') {
                if (m_pos >= m_text.size()) {
                    m_line = v.line;
                    fail(w + "( without its closing )");
                    break;
                }
                v.items.push_back(value());
                skipBlankAndComments();
                if (peek() == ',') {
                    ++m_pos;
                } else if (m_pos >= m_text.size()) {
                    m_line = v.line;
                    fail(w + "( without its closing )");
                } else if (peek() != ')') {
                    fail("expected , or ) in " + w + "(...)");
                }
                skipBlankAndComments();
            }
            ++m_pos;
        }
        return v;
    }

    static bool parseInteger(const std::string& w, std::int64_t& out)
    {
        if (w.empty())
            return false;
        std::size_t i = 0;
        bool negative = w[0] == '-';
        if (negative)
            ++i;
        int base = 10;
        if (w.size() > i + 2 && w[i] == '0' && (w[i + 1] == 'x' || w[i + 1] == 'X')) {
            base = 16;
            i += 2;
        }
        if (i >= w.size())
            return false;
        std::uint64_t v = 0;
        for (; i < w.size(); ++i) {
            int d = std::isdigit(static_cast<unsigned char>(w[i])) ? w[i] - '0'
                    : base == 16 && std::isxdigit(static_cast<unsigned char>(w[i])) ? std::tolower(w[i]) - 'a' + 10
                                                                                      : -1;
            if (d < 0)
                return false;
            v = v * std::uint64_t(base) + std::uint64_t(d);
            if (v > 0xFFFFFFFFFFull)
                return false;
        }
        out = negative ? -std::int64_t(v) : std::int64_t(v);
        return true;
    }

    std::string quoted()
    {
        ++m_pos;
        std::string out;
        while (m_pos < m_text.size() && peek() != '"') {
            char c = m_text[m_pos++];
            if (c == '\n') {
                fail("a string that does not end on its line");
                return out;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            char e = m_pos < m_text.size() ? m_text[m_pos++] : '\0';
            switch (e) {
            case 'r': out.push_back('\r'); break;
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case '"': out.push_back('"'); break;
            case '\\': out.push_back('\\'); break;
            default: fail(std::string("unknown escape \\") + e); return out;
            }
        }
        if (peek() != '"') {
            fail("a string without its closing quote");
            return out;
        }
        ++m_pos;
        return out;
    }

    const std::string& m_file;
    const std::string& m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    std::optional<Failure> m_failure;
};

} // namespace

const Entry* Section::find(const std::string& key) const
{
    const Entry* found = nullptr;
    for (const Entry& e : entries)
        if (e.key == key)
            found = &e;
    return found;
}

std::string Failure::text() const
{
    return file + ":" + std::to_string(line) + ": " + message;
}

ParseResult ParseDescription(const std::string& fileName, const std::string& text)
{
    return Parser(fileName, text).run();
}

} // namespace tc
