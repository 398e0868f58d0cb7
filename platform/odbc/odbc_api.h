// The ODBC headers, with the entry points they declare given default
// visibility: the driver is compiled with hidden visibility, and the SQL*
// functions it defines are the only symbols it exports.
#pragma once

#pragma GCC visibility push(default)
#include <sql.h>
#include <sqlext.h>
#pragma GCC visibility pop
