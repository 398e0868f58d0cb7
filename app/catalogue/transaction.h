// Changes that belong together: the database unit offers no transaction
// operations of its own, so the transaction is opened and ended by
// statements run like any other change.
#pragma once

#include <initializer_list>
#include <string>

namespace app::catalogue {

// Runs the changes in one transaction: true when every one was done and
// kept; otherwise none of them is.
bool ChangeTogether(std::initializer_list<std::string> statements);

} // namespace app::catalogue
