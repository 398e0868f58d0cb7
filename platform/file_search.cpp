#include "platform/file_search.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Bytes of the UTF-8 character at name[i] (file names are stored so).
std::size_t characterLength(std::string_view name, std::size_t i)
{
    auto c = static_cast<unsigned char>(name[i]);
    std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(n, name.size() - i);
}

char foldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// '*' matches any run of characters and '?' one character; letters compare
// without regard to ASCII case; everything else, brackets included, stands
// for itself.
bool wildcardMatch(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0, n = 0;
    std::size_t starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && foldCase(pattern[p]) == foldCase(name[n])) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            // Let the last star take one more character and try again.
            resumeAt += characterLength(name, resumeAt);
            n = resumeAt;
            p = starAt + 1;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// As the classic file search: a trailing ".*" also matches a name without
// that part, so "*.*" is every name.
bool nameMatches(std::string_view pattern, std::string_view name)
{
    if (wildcardMatch(pattern, name))
        return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
           wildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

} // namespace

class FileSearch {
public:
    FileSearch(DIR* dir, std::string directory, std::string pattern)
        : m_dir(dir), m_directory(std::move(directory)), m_pattern(std::move(pattern))
    {
    }
    ~FileSearch() { closedir(m_dir); }

    std::optional<FoundFile> next()
    {
        while (dirent* e = readdir(m_dir)) {
            std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            if (!nameMatches(m_pattern, name))
                continue;
            return FoundFile{Utf8ToGbk(name), attributesOf(name)};
        }
        return std::nullopt;
    }

private:
    std::uint32_t attributesOf(const std::string& name) const
    {
        std::string full = m_directory.empty() ? name : m_directory + "/" + name;
        struct stat st{};
        std::uint32_t attrs = 0;
        if (stat(full.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode))
                attrs |= FILE_ATTRIBUTE_DIRECTORY;
            if (access(full.c_str(), W_OK) != 0)
                attrs |= FILE_ATTRIBUTE_READONLY;
        }
        if (!name.empty() && name[0] == '.')
            attrs |= FILE_ATTRIBUTE_HIDDEN;
        if (!(attrs & FILE_ATTRIBUTE_DIRECTORY))
            attrs |= FILE_ATTRIBUTE_ARCHIVE;
        return attrs;
    }

    DIR* m_dir;
    std::string m_directory;
    std::string m_pattern;
};

FileSearchHandle FindFirstFile(std::string_view pattern, FoundFile& first)
{
    // Patterns and names are GBK inside the system; the file system's
    // names are UTF-8.
    std::string p = GbkToUtf8(pattern);
    auto slash = p.rfind('/');
    std::string directory = slash == std::string::npos ? std::string()
                            : slash == 0                 ? std::string(1, '/')
                                                         : p.substr(0, slash);
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (name.empty())
        return nullptr;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir)
        return nullptr;
    auto* search = new FileSearch(dir, directory, name);
    if (auto f = search->next()) {
        first = *f;
        return search;
    }
    delete search;
    return nullptr;
}

std::optional<FoundFile> FindNextFile(FileSearchHandle search)
{
    return search ? search->next() : std::nullopt;
}

void FindClose(FileSearchHandle search)
{
    delete search;
}

} // namespace platform
