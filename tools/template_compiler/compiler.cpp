#include "tools/template_compiler/compiler.h"

#include "tools/template_compiler/window_builder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace tc {
namespace {

bool readFile(const std::string& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

bool writeFile(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), std::streamsize(data.size()));
    return bool(out);
}

void arrayOf(std::ostringstream& s, const char* name, const std::vector<std::uint8_t>& bytes)
{
    s << "alignas(8) extern const std::uint8_t " << name << "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 24 == 0)
            s << "\n   ";
        s << ' ' << unsigned(bytes[i]) << ',';
    }
    if (bytes.empty())
        s << " 0";
    s << "\n};\nextern const std::size_t " << name << "Size = " << bytes.size() << ";\n\n";
}

std::string sourceOf(const std::vector<std::uint8_t>& block, const std::vector<std::uint8_t>& icon)
{
    std::ostringstream s;
    s << "// Made by the template compiler from the window descriptions; not edited by hand.\n"
         "#include <cstddef>\n#include <cstdint>\n\nnamespace app {\n\n";
    arrayOf(s, "kTemplateBlock", block);
    arrayOf(s, "kDefaultIcon", icon);
    s << "} // namespace app\n";
    return s.str();
}

} // namespace

CompiledWindows CompileWindows(const CompileOptions& options)
{
    CompiledWindows result;
    BuildContext context(options.handlerNames, options.handlerEntrySize, options.assetDirectory);
    for (const std::string& path : options.descriptions) {
        std::string text;
        if (!readFile(path, text)) {
            result.error = "cannot read " + path;
            return result;
        }
        result.filesRead.push_back(path);
        ParseResult parsed = ParseDescription(path, text);
        if (parsed.failure) {
            result.error = parsed.failure->text();
            return result;
        }
        BuildResult built = BuildWindow(parsed.description, context);
        if (auto* failure = std::get_if<Failure>(&built)) {
            result.error = failure->text();
            return result;
        }
        auto& window = std::get<ui::WindowTemplate>(built);
        for (const ui::WindowTemplate& other : result.windows)
            if (other.id == window.id) {
                result.error = path + ": window id used by another description";
                return result;
            }
        result.windows.push_back(std::move(window));
    }
    std::sort(result.windows.begin(), result.windows.end(),
              [](const ui::WindowTemplate& a, const ui::WindowTemplate& b) { return a.id < b.id; });
    result.filesRead.insert(result.filesRead.end(), context.filesRead().begin(), context.filesRead().end());
    return result;
}

std::string Compile(const CompileOptions& options)
{
    CompiledWindows compiled = CompileWindows(options);
    if (!compiled.error.empty())
        return compiled.error;
    std::vector<std::uint8_t> block = ui::WriteTemplateBlock(compiled.windows);
    // What the program will read must read back whole.
    ui::TemplateParse check = ui::ParseTemplateBlock(block);
    if (!check.error.empty())
        return "the block written does not read back: " + check.error;
    if (!writeFile(options.blockPath, std::string(block.begin(), block.end())))
        return "cannot write " + options.blockPath;
    std::vector<std::uint8_t> icon;
    if (!options.defaultIconPath.empty()) {
        std::string bytes;
        if (!readFile(options.defaultIconPath, bytes))
            return "cannot read " + options.defaultIconPath;
        icon.assign(bytes.begin(), bytes.end());
        compiled.filesRead.push_back(options.defaultIconPath);
    }
    if (!writeFile(options.sourcePath, sourceOf(block, icon)))
        return "cannot write " + options.sourcePath;
    if (!options.depfilePath.empty()) {
        // The build tool knows the step by its first output, the block;
        // each file read is named once.
        std::string dep = options.blockPath + ":";
        std::set<std::string> named;
        for (const std::string& f : compiled.filesRead)
            if (named.insert(f).second)
                dep += " " + f;
        if (!writeFile(options.depfilePath, dep + "\n"))
            return "cannot write " + options.depfilePath;
    }
    return {};
}

} // namespace tc
