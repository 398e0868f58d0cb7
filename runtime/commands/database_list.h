// The core library's own list of open database files.  Each carries three
// names; closing one by name searches the third names, then the second,
// then the first, each from the most recently opened backwards, ignoring
// the case of ASCII letters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runtime {

class DatabaseList {
public:
    struct Entry {
        std::string names[3];
    };

    // Opening makes the database the current one.
    void add(Entry entry);
    // Closes by name; an empty name closes the current database.  False
    // when nothing matched (or there is no current database).
    bool close(std::string_view name);

    const std::vector<Entry>& entries() const { return m_entries; }
    int current() const { return m_current; }

private:
    void removeAt(std::size_t index);
    std::vector<Entry> m_entries;
    int m_current = -1;
};

DatabaseList& CoreDatabases();

// Equal apart from the case of ASCII letters; double-byte characters
// compare exactly.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

} // namespace runtime
