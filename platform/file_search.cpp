#include "platform/file_search.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

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
            if (fnmatch(m_pattern.c_str(), name.c_str(), 0) != 0)
                continue;
            return FoundFile{name, attributesOf(name)};
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
    std::string p(pattern);
    auto slash = p.rfind('/');
    std::string directory = slash == std::string::npos ? std::string() : p.substr(0, slash);
    if (slash == 0)
        directory = "/";
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
