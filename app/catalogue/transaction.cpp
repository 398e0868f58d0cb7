#include "app/catalogue/transaction.h"

#include "app/catalogue/catalogue_database.h"
#include "app/catalogue/statements.h"

namespace app::catalogue {

bool ChangeTogether(std::initializer_list<std::string> statements)
{
    if (!Change(statements::BeginTransaction()))
        return false;
    for (const std::string& statement : statements) {
        if (!Change(statement)) {
            // Left open, the transaction would swallow every later change.
            Change(statements::RollbackTransaction());
            return false;
        }
    }
    if (Change(statements::CommitTransaction()))
        return true;
    Change(statements::RollbackTransaction());
    return false;
}

} // namespace app::catalogue
