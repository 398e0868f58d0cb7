// SQL text as the engine sends it: brackets around names become the
// driver's own identifier quote.
#pragma once

#include <string>
#include <string_view>

namespace db {

// Outside single-quoted parts, "[" and "]" become `quote` and a doubled
// "[[" or "]]" becomes one bracket; inside quotes nothing changes (a
// doubled quote there stays as it is).  An empty or blank `quote` means
// the driver quotes no names: then the text goes out unchanged.
std::string PrepareSqlText(std::string_view sql, std::string_view quote);

// The table a query reads: the name after the first FROM outside quotes
// (brackets and quotes around it kept off), empty when there is none.
std::string TableNameOfQuery(std::string_view sql);

} // namespace db
