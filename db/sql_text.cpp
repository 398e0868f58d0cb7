#include "db/sql_text.h"

#include <cctype>

namespace db {
namespace {

bool IsGbkLeadByte(char c)
{
    auto u = static_cast<unsigned char>(c);
    return u >= 0x81 && u <= 0xFE;
}

} // namespace

std::string PrepareSqlText(std::string_view sql, std::string_view quote)
{
    if (quote.empty() || quote == " ")
        return std::string(sql);
    std::string out;
    out.reserve(sql.size());
    bool inQuotes = false;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        // A GBK trail byte may be a bracket: the pair goes out whole.
        if (IsGbkLeadByte(c) && i + 1 < sql.size()) {
            out += c;
            out += sql[++i];
            continue;
        }
        if (c == '\'') {
            // A doubled quote inside quotes toggles twice: it stays inside.
            inQuotes = !inQuotes;
            out += c;
            continue;
        }
        if (inQuotes || (c != '[' && c != ']')) {
            out += c;
            continue;
        }
        if (i + 1 < sql.size() && sql[i + 1] == c) {
            out += c;
            ++i;
            continue;
        }
        out += quote;
    }
    return out;
}

namespace {

bool isWordByte(char c)
{
    // GBK lead and trail bytes count as parts of a name.
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || u >= 0x80;
}

bool keywordAt(std::string_view s, std::size_t i, std::string_view word)
{
    if (i + word.size() > s.size())
        return false;
    if (i > 0 && isWordByte(s[i - 1]))
        return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (std::toupper(static_cast<unsigned char>(s[i + k])) != word[k])
            return false;
    return i + word.size() == s.size() || !isWordByte(s[i + word.size()]);
}

} // namespace

std::string TableNameOfQuery(std::string_view sql)
{
    bool inQuotes = false;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        if (IsGbkLeadByte(sql[i])) {
            ++i;
            continue;
        }
        if (sql[i] == '\'') {
            inQuotes = !inQuotes;
            continue;
        }
        if (inQuotes || !keywordAt(sql, i, "FROM"))
            continue;
        std::size_t p = i + 4;
        while (p < sql.size() && std::isspace(static_cast<unsigned char>(sql[p])))
            ++p;
        if (p < sql.size() && (sql[p] == '[' || sql[p] == '"' || sql[p] == '`')) {
            char close = sql[p] == '[' ? ']' : sql[p];
            std::size_t end = sql.find(close, p + 1);
            return end == std::string_view::npos ? std::string() : std::string(sql.substr(p + 1, end - p - 1));
        }
        std::size_t end = p;
        while (end < sql.size() && (isWordByte(sql[end]) || sql[end] == '.'))
            end += IsGbkLeadByte(sql[end]) && end + 1 < sql.size() ? 2 : 1;
        return std::string(sql.substr(p, end - p));
    }
    return {};
}

} // namespace db
