#include "tools/catalogue_db/starter_data.h"

namespace catalogue_db {
namespace {

// In the order of the pictures, so each category shows its own.
const StarterCategory kCategories[] = {
    {"Python", 0},     {"C#", 1},   {".NET", 2},       {"Java", 3},       {"JavaScript", 4}, {"界面设计", 5},
    {"PHP", 6},        {"SQL", 7},  {"MVC", 8},        {"网络编程", 9},   {"开源社区", 10},  {"其他", 11},
    // Under their parents, which come first, so their keys are higher.
    {"标准库", 0, "Python"},   {"Node.js", 4, "JavaScript"},   {"查询优化", 7, "SQL"},
};

const StarterEntry kEntries[] = {
    {"Python", "with open(path, encoding=\"utf-8\") as f:\n    for line in f:\n        print(line.rstrip())",
     "逐行读取文本文件", "with 语句在块结束时关闭文件，出错时也一样。"},
    {"Python", "counts = collections.Counter(words)\nfor word, n in counts.most_common(10):\n    print(word, n)",
     "统计出现次数最多的单词", "Counter 是 dict 的子类，most_common 按次数从高到低排列。"},
    {"C#", "using var client = new HttpClient();\nstring body = await client.GetStringAsync(url);",
     "异步读取网页内容", "HttpClient 应当复用；此处用 using 只为示例简洁。"},
    {".NET", "dotnet new console -n Demo\ncd Demo\ndotnet run", "新建并运行控制台程序", ""},
    {"Java", "List<String> sorted = names.stream()\n    .filter(n -> !n.isEmpty())\n    .sorted()\n    .toList();",
     "用流过滤并排序", "Stream.toList() 自 Java 16 起可用，返回不可修改的列表。"},
    {"JavaScript", "const res = await fetch(url);\nif (!res.ok) throw new Error(res.status);\nconst data = await res.json();",
     "fetch 请求 JSON", "fetch 只在网络错误时拒绝，HTTP 错误要自己检查 res.ok。"},
    {"界面设计", "display: grid;\ngrid-template-columns: repeat(auto-fill, minmax(12rem, 1fr));\ngap: 1rem;",
     "自适应网格布局", "列数随容器宽度变化，每列至少 12rem。"},
    {"PHP", "$stmt = $pdo->prepare('SELECT * FROM users WHERE id = ?');\n$stmt->execute([$id]);\n$user = $stmt->fetch();",
     "PDO 预处理查询", "参数化查询可防止 SQL 注入。"},
    {"SQL", "SELECT 对应节点, COUNT(*) AS 条数\nFROM cntext\nGROUP BY 对应节点\nORDER BY 条数 DESC;",
     "按分类统计条目", "本目录自己的数据库也能这样查询。"},
    {"MVC", "public IActionResult Details(int id)\n{\n    var item = _repo.Find(id);\n    return item == null ? NotFound() : View(item);\n}",
     "控制器动作返回视图", "找不到时返回 404，而不是空视图。"},
    {"网络编程", "curl -sS -o /dev/null -w '%{http_code} %{time_total}\\n' https://example.com/",
     "查看状态码和响应时间", "-w 的格式串里可以使用很多变量，见 curl 手册。"},
    {"开源社区", "git fetch upstream\ngit rebase upstream/main\ngit push --force-with-lease",
     "同步上游仓库后更新分支", "--force-with-lease 在远端被别人改过时拒绝覆盖。"},
    {"其他", "find . -name '*.log' -mtime +7 -delete", "删除七天前的日志文件", "先去掉 -delete 看看会删哪些文件。"},
    {"标准库", "for path in pathlib.Path('.').rglob('*.py'):\n    print(path, path.stat().st_size)",
     "递归列出文件及大小", "rglob 会进入所有子目录。"},
    {"Node.js", "import { readFile } from 'node:fs/promises';\nconst text = await readFile('a.txt', 'utf8');",
     "异步读取文件", "node: 前缀表明这是内置模块。"},
    {"查询优化", "EXPLAIN QUERY PLAN\nSELECT * FROM cntext WHERE 对应节点 = 'SQL';", "查看查询计划",
     "SCAN 表示全表扫描，SEARCH 表示用上了索引。"},
};

} // namespace

std::span<const StarterCategory> StarterCategories()
{
    return kCategories;
}

std::span<const StarterEntry> StarterEntries()
{
    return kEntries;
}

} // namespace catalogue_db
