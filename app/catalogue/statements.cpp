#include "app/catalogue/statements.h"

namespace app::statements {
namespace {

std::string decimal(std::int32_t value)
{
    return std::to_string(value);
}

} // namespace

std::string Quoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    out += '\'';
    return out;
}

std::string LoadTree()
{
    return "SELECT * FROM base ORDER BY 父项目 ASC";
}

std::string FindNode(std::string_view name)
{
    return "select * from base where 节点名称= " + Quoted(name);
}

std::string AddTopLevelNode(std::string_view name, std::int32_t image)
{
    return "INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息 ) VALUES (" + Quoted(name) + "," +
           decimal(image) + "," + decimal(image) + "," + Quoted(name) + ")";
}

std::string AddChildNode(std::string_view name, std::int32_t image, std::int32_t parentKey)
{
    return "INSERT INTO base ( 节点名称 ,图片索引,选中图片索引,数据库索引信息,关联子节点 ) VALUES (" + Quoted(name) +
           "," + decimal(image) + "," + decimal(image) + "," + Quoted(name) + "," + decimal(parentKey) + ")";
}

std::string RenameNode(std::string_view name, std::int32_t image, std::int32_t key)
{
    return "UPDATE base SET 节点名称 =" + Quoted(name) + ",图片索引=" + decimal(image) + ",选中图片索引=" +
           decimal(image) + " WHERE 父项目=" + decimal(key);
}

std::string ReparentChildren(std::int32_t parentKey, std::int32_t nodeKey)
{
    return "UPDATE base SET 关联子节点 =" + decimal(parentKey) + " WHERE 关联子节点=" + decimal(nodeKey);
}

std::string DeleteNode(std::int32_t key)
{
    return "DELETE FROM base WHERE 父项目=" + decimal(key);
}

std::string ListEntries(std::string_view nodeName)
{
    return "select * from cntext where 对应节点=" + Quoted(nodeName);
}

std::string ReadEntry(std::string_view entryKey)
{
    return "select * from cntext where id=" + std::string(entryKey);
}

std::string AddEntry(std::string_view nodeName, std::string_view code, std::string_view description,
                     std::string_view details)
{
    return "INSERT INTO cntext  (对应节点,字符,描述,详情) values (" + Quoted(nodeName) + "," + Quoted(code) + "," +
           Quoted(description) + "," + Quoted(details) + ")";
}

std::string ChangeEntry(std::string_view code, std::string_view description, std::string_view details,
                        std::string_view entryKey)
{
    return "update cntext set 字符 =" + Quoted(code) + ",描述=" + Quoted(description) + ",详情=" + Quoted(details) +
           " where id = " + std::string(entryKey);
}

std::string DeleteEntry(std::string_view entryKey)
{
    return "DELETE FROM cntext WHERE ID=" + std::string(entryKey);
}

std::string MoveEntries(std::string_view fromName, std::string_view toName)
{
    return "UPDATE cntext SET 对应节点 =" + Quoted(toName) + " WHERE 对应节点=" + Quoted(fromName);
}

std::string BeginTransaction()
{
    return "BEGIN TRANSACTION";
}

std::string CommitTransaction()
{
    return "COMMIT TRANSACTION";
}

std::string RollbackTransaction()
{
    return "ROLLBACK TRANSACTION";
}

} // namespace app::statements
