#include "runtime/commands/database_list.h"

#include "platform/text_codec.h"

namespace runtime {

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    std::size_t i = 0;
    while (i < a.size()) {
        std::size_t n = platform::GbkCharLength(a.substr(i));
        if (n == 1) {
            if (lower(a[i]) != lower(b[i]))
                return false;
        } else if (a.substr(i, n) != b.substr(i, n)) {
            return false;
        }
        i += n;
    }
    return true;
}

void DatabaseList::add(Entry entry)
{
    m_entries.push_back(std::move(entry));
    m_current = int(m_entries.size()) - 1;
}

void DatabaseList::removeAt(std::size_t index)
{
    m_entries.erase(m_entries.begin() + std::ptrdiff_t(index));
    if (int(index) == m_current)
        m_current = -1;
    else if (int(index) < m_current)
        --m_current;
}

bool DatabaseList::close(std::string_view name)
{
    if (name.empty()) {
        if (m_current < 0)
            return false;
        removeAt(std::size_t(m_current));
        return true;
    }
    for (int pass : {2, 1, 0}) {
        for (std::size_t i = m_entries.size(); i-- > 0;) {
            const std::string& candidate = m_entries[i].names[pass];
            if (pass == 2 && candidate.empty())
                continue;
            if (SameTextIgnoringCase(candidate, name)) {
                removeAt(i);
                return true;
            }
        }
    }
    return false;
}

DatabaseList& CoreDatabases()
{
    static DatabaseList list;
    return list;
}

} // namespace runtime
