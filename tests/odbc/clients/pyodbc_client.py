"""Python's pyodbc against the driver, as a user would reach CN.mdb.

    pyodbc_client.py unicode|gb18030 <scratch directory>

"unicode" uses pyodbc's defaults: the wide interface, UTF-16 text.
"gb18030" connects through the narrow interface and tells pyodbc that it
speaks GB18030 (the driver's GBK, with the four-byte forms that keep every
character) for SQL text, parameters and values; pyodbc reads column names
through the wide interface whatever it is told.  Either way every text must arrive in the file as typed, and
come back the same.
"""
import os
import sqlite3
import sys

try:
    import pyodbc
except ImportError:
    print("pyodbc is not installed: skipped")
    sys.exit(77)

DRIVER = "Microsoft Access Driver (*.mdb)"
SCHEMA = """
CREATE TABLE base (父项目 INTEGER PRIMARY KEY AUTOINCREMENT, 节点名称 VARCHAR(255),
                   关联子节点 INTEGER, 图片索引 INTEGER, 选中图片索引 INTEGER, 数据库索引信息 VARCHAR(255));
CREATE TABLE cntext (ID INTEGER PRIMARY KEY AUTOINCREMENT, 对应节点 VARCHAR(255),
                     字符 LONGTEXT, 描述 LONGTEXT, 详情 LONGTEXT);
"""
# Chinese, a character GBK lacks (CJK Extension B) and one beyond the
# plane that is no Chinese at all.
CHINESE = "中文字符"
OUTSIDE_GBK = "\U00020000𠀋😀"
LONG_TEXT = ("代码片段 snippet 😀 " * 60000)[:1024 * 1024]


def check(condition, what):
    if not condition:
        raise SystemExit("FAILED: " + what)


def stored(path, sql, *args):
    """What another SQLite reader finds in the file."""
    db = sqlite3.connect(path)
    try:
        return db.execute(sql, args).fetchall()
    finally:
        db.close()


def connect(mode, path):
    text = f"DBQ={path};Driver={{{DRIVER}}}"
    if mode == "unicode":
        return pyodbc.connect(text)
    cnxn = pyodbc.connect(text, ansi=True)
    cnxn.setencoding(encoding="gb18030")
    cnxn.setdecoding(pyodbc.SQL_CHAR, encoding="gb18030")
    cnxn.setdecoding(pyodbc.SQL_WCHAR, encoding="gb18030", ctype=pyodbc.SQL_CHAR)
    return cnxn


def main():
    mode, scratch = sys.argv[1], sys.argv[2]
    path = os.path.join(scratch, f"pyodbc_{mode}.mdb")
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.executescript(SCHEMA)
    db.close()

    cnxn = connect(mode, path)
    check(not cnxn.autocommit, "pyodbc opens with auto-commit off")
    cur = cnxn.cursor()

    # Parameters: Chinese, characters outside GBK, a 1 MB text, NULL.
    cur.execute("INSERT INTO cntext (对应节点, 字符, 描述, 详情) VALUES (?, ?, ?, ?)",
                CHINESE, OUTSIDE_GBK, LONG_TEXT, None)
    # A literal with Chinese names and values in the SQL text itself.
    cur.execute(f"INSERT INTO base (节点名称, 图片索引) VALUES ('{CHINESE}', 3)")
    cnxn.commit()

    # A change rolled back never reaches the file.
    cur.execute("INSERT INTO cntext (对应节点) VALUES (?)", "回滚")
    cnxn.rollback()
    check(stored(path, "SELECT count(*) FROM cntext WHERE 对应节点 = '回滚'") == [(0,)], "rollback")

    # The file holds exactly what was typed, as UTF-8 for any reader.
    check(stored(path, "SELECT 对应节点, 字符, 描述, 详情 FROM cntext") ==
          [(CHINESE, OUTSIDE_GBK, LONG_TEXT, None)], "stored text")

    # Read back through the driver, found by a Chinese parameter.
    row = cur.execute("SELECT ID, 对应节点, 字符, 描述, 详情 FROM cntext WHERE 对应节点 = ?", CHINESE).fetchone()
    check(row is not None, "row found by a Chinese parameter")
    check(row.对应节点 == CHINESE, "Chinese column")
    check(row.字符 == OUTSIDE_GBK, "characters outside GBK")
    check(row.描述 == LONG_TEXT, "1 MB text")
    check(row.详情 is None, "NULL")
    check(cur.execute("SELECT 节点名称 FROM base WHERE 图片索引 = 3").fetchval() == CHINESE, "literal")
    cnxn.commit()

    # What a client looks at when it opens a table.
    check([c.column_name for c in cur.columns(table="cntext")] == ["ID", "对应节点", "字符", "描述", "详情"],
          "column names")
    check([k.column_name for k in cur.primaryKeys(table="cntext")] == ["ID"], "primary key")
    check([t.table_name for t in cur.tables(table="cn%", tableType="TABLE")] == ["cntext"], "tables")

    # A diagnostic in Chinese arrives whole.
    try:
        cur.execute("SELECT * FROM 没有这个表")
        check(False, "a missing table is an error")
    except pyodbc.Error as error:
        check(error.args[0] == "42S02", "state of a missing table")
        message = error.args[1]
        if mode != "unicode":
            # pyodbc reads a narrow connection's diagnostics through the
            # narrow interface and takes the bytes as Latin-1, whatever it
            # was told: the bytes themselves are the driver's GBK.
            message = message.encode("latin-1").decode("gb18030")
        check("没有这个表" in message, "Chinese diagnostic: " + message)
    cnxn.close()
    check(not os.path.exists(path + "-wal"), "no log left once the last connection closed")
    print(f"pyodbc {mode}: 1 passed, 0 failed")


if __name__ == "__main__":
    main()
