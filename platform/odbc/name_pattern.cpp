#include "platform/odbc/name_pattern.h"

#include <algorithm>
#include <cctype>

namespace access_odbc {
namespace {

// The length of the UTF-8 character at the start of `s` (1 for a stray
// byte, so a walk always moves on).
std::size_t characterLength(std::string_view s)
{
    unsigned char lead = static_cast<unsigned char>(s[0]);
    std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(n, s.size());
}

bool sameCharacter(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    if (a.size() == 1)
        return std::tolower(static_cast<unsigned char>(a[0])) == std::tolower(static_cast<unsigned char>(b[0]));
    return a == b;
}

} // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name)
{
    while (!pattern.empty()) {
        if (pattern[0] == '%') {
            pattern.remove_prefix(1);
            for (;;) {
                if (MatchesPattern(pattern, name))
                    return true;
                if (name.empty())
                    return false;
                name.remove_prefix(characterLength(name));
            }
        }
        if (name.empty())
            return false;
        std::size_t nameChar = characterLength(name);
        if (pattern[0] == '_') {
            pattern.remove_prefix(1);
            name.remove_prefix(nameChar);
            continue;
        }
        if (pattern[0] == '\\' && pattern.size() > 1)
            pattern.remove_prefix(1);
        std::size_t patternChar = characterLength(pattern);
        if (!sameCharacter(pattern.substr(0, patternChar), name.substr(0, nameChar)))
            return false;
        pattern.remove_prefix(patternChar);
        name.remove_prefix(nameChar);
    }
    return name.empty();
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                  return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
              });
}

} // namespace access_odbc
