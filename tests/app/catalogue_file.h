// CN.mdb as SQLite itself sees it, beside the program: what a test reads
// back after the program wrote, and changes made behind its back.
#pragma once

#include <string>
#include <vector>

namespace cataloguetest {

// The file as SQLite reads it: one "|"-joined text per row, GBK, NULL for
// a null value.  A file or statement SQLite refuses fails the test.
std::vector<std::string> FileRows(const std::string& gbkSql);
// Changes the file behind the program's back; true when done.
bool ChangeFile(const std::string& gbkSql);

} // namespace cataloguetest
