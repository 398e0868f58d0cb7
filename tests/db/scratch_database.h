// Scratch databases for the engine's tests: files the driver reads,
// made and inspected directly with SQLite.  Texts given here are GBK, as
// in the rest of the program; the file holds them as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace dbtest {

class ScratchDatabase {
public:
    // A fresh file in the test's temporary directory, with `schema` (GBK
    // SQL, any number of statements) run on it.
    explicit ScratchDatabase(std::string_view schema = {});
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const std::string& path() const { return m_path; }
    // The connect string the unit builds for the file.
    std::string connectText() const;

    // Runs GBK SQL directly on the file.
    void exec(std::string_view sql) const;
    // The first column of the first row as GBK text; "" for none or NULL.
    std::string scalar(std::string_view sql) const;

private:
    std::string m_path;
};

// A path in the temporary directory that no file has.
std::string UnusedPath(std::string_view stem);

} // namespace dbtest
