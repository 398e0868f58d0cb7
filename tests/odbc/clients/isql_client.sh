#!/bin/sh
# unixODBC's own shells against the driver, reading and writing Chinese
# text, characters outside GBK, NULL and a rolled-back change:
#
#   isql_client.sh isql  <scratch directory>   the narrow shell, fed GB18030
#                                              (the narrow interface's GBK)
#   isql_client.sh iusql <scratch directory>   the wide shell, reaching the file
#                                              through a data source of odbc.ini
#
# iusql of unixODBC 2.3.11 widens each input byte to a character of its own
# and narrows each output character to its low byte, so no text beyond
# ASCII survives its own input and output, whatever the driver does; it is
# given ASCII texts.  Neither shell binds parameters, and both cut long
# input lines, so long texts are left to the clients that bind them.
# Exit 77 (skipped) when the shell or SQLite's own is missing.
set -eu
shell=$1
scratch=$2
command -v "$shell" >/dev/null || exit 77
command -v sqlite3 >/dev/null || exit 77
db="$scratch/$shell.mdb"
rm -f "$db" "$db-wal" "$db-shm"
sqlite3 "$db" 'CREATE TABLE cntext (ID INTEGER PRIMARY KEY AUTOINCREMENT, 对应节点 VARCHAR(255),
                                    字符 LONGTEXT, 描述 LONGTEXT, 详情 LONGTEXT);'

if [ "$shell" = isql ]; then
    node='中文' code='𠀀😀' missing='没有这个表'
    insert="INSERT INTO cntext (对应节点, 字符, 详情) VALUES ('$node', '$code', NULL)"
else
    node='node' code='code' missing='no_such_table'
    insert="INSERT INTO cntext VALUES (NULL, '$node', '$code', NULL, NULL)"
fi
statements="$insert
BEGIN
INSERT INTO cntext VALUES (NULL, 'rolled back', NULL, NULL, NULL)
ROLLBACK
SELECT * FROM cntext
SELECT * FROM $missing"

# The driver manager reads diagnostics through the wide interface and
# hands them to a narrow client in the locale's encoding: UTF-8 here, while
# the narrow shell's data stay GB18030.
if [ "$shell" = isql ]; then
    row=$(printf '1|%s|%s||' "$node" "$code" | iconv -f UTF-8 -t GB18030)
    output=$(printf '%s\n' "$statements" | iconv -f UTF-8 -t GB18030 |
             LC_ALL=C.UTF-8 isql -b -v -d'|' -k "DBQ=$db;Driver={Microsoft Access Driver (*.mdb)}" 2>&1)
else
    row="1|$node|$code||"
    ini="$scratch/odbc.ini"
    printf '[CNTest]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=%s\n' "$db" > "$ini"
    output=$(printf '%s\n' "$statements" | ODBCINI="$ini" LC_ALL=C.UTF-8 iusql -b -v -d'|' CNTest 2>&1)
fi

fail() {
    echo "FAILED: $1"
    echo "$output"
    exit 1
}
# The row read back, NULL shown empty; the diagnostic quoting the name.
echo "$output" | grep -qxF "$row" || fail "the row read back"
echo "$output" | grep -q "no such table: $missing" || fail "the diagnostic"
# The file holds the text as typed, and nothing of the rolled-back change.
[ "$(sqlite3 "$db" "SELECT 字符 FROM cntext")" = "$code" ] || fail "the stored text"
[ "$(sqlite3 "$db" "SELECT count(*) FROM cntext")" = 1 ] || fail "the rollback"
echo "$shell: 1 passed, 0 failed"
