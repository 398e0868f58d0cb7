#include "platform/odbc/connect_string.h"

#include <strings.h>

namespace access_odbc {
namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

std::optional<std::string> ConnectString::find(std::string_view key) const
{
    for (const ConnectAttribute& a : attributes)
        if (equalNoCase(a.key, key))
            return a.value;
    return std::nullopt;
}

ConnectString ParseConnectString(std::string_view text)
{
    ConnectString result;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = i;
        while (end < text.size() && text[end] != ';' && text[end] != '=')
            ++end;
        std::string_view key = trim(text.substr(i, end - i));
        if (end >= text.size() || text[end] == ';') {
            i = end + 1; // a piece without "=", such as the leading "ODBC"
            continue;
        }
        size_t v = end + 1;
        while (v < text.size() && (text[v] == ' ' || text[v] == '\t'))
            ++v;
        std::string value;
        if (v < text.size() && text[v] == '{') {
            size_t p = v + 1;
            for (; p < text.size(); ++p) {
                if (text[p] != '}') {
                    value += text[p];
                    continue;
                }
                if (p + 1 < text.size() && text[p + 1] == '}') {
                    value += '}';
                    ++p;
                    continue;
                }
                break;
            }
            // Whatever follows the closing brace up to ";" is dropped.
            while (p < text.size() && text[p] != ';')
                ++p;
            i = p + 1;
        } else {
            size_t p = v;
            while (p < text.size() && text[p] != ';')
                ++p;
            value = trim(text.substr(v, p - v));
            i = p + 1;
        }
        if (!key.empty())
            result.attributes.push_back({std::string(key), std::move(value)});
    }
    return result;
}

std::string FormatConnectAttribute(std::string_view key, std::string_view value, bool braced)
{
    // Unbraced values lose the blanks around them when parsed, so a value
    // that starts or ends with one is braced as well.
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    bool brace = braced || value.find_first_of(";{}=") != std::string_view::npos
        || (!value.empty() && (blank(value.front()) || blank(value.back())));
    std::string out(key);
    out += '=';
    if (!brace) {
        out += value;
    } else {
        out += '{';
        for (char c : value) {
            out += c;
            if (c == '}')
                out += '}';
        }
        out += '}';
    }
    out += ';';
    return out;
}

} // namespace access_odbc
