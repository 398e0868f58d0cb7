#include "tools/template_compiler/assets.h"

#include "tools/png_reader.h"

namespace tc {
namespace {

std::optional<Failure> paths(const Value& v, const BuildContext& ctx, const Conversion& conv,
                             std::vector<std::string>& out)
{
    if (v.items.empty())
        return conv.at(v, v.text + "(...) needs at least one file");
    for (const Value& item : v.items) {
        if (!item.isString())
            return conv.at(item, "expected a file name in double quotes");
        std::string error;
        if (!ctx.readAsset(item.text, error)) // checks it exists, and records it
            return conv.at(item, error);
        out.push_back(ctx.assetDirectory().empty() ? item.text : ctx.assetDirectory() + "/" + item.text);
    }
    return std::nullopt;
}

} // namespace

std::optional<Failure> BytesValue(const Value& v, const BuildContext& ctx, const std::string& file,
                                  std::vector<std::uint8_t>& out)
{
    Conversion conv{file};
    if (v.isWord("none")) {
        out.clear();
        return std::nullopt;
    }
    if (v.kind != Value::Kind::Call)
        return conv.at(v, "expected none, file(\"...\"), imagelist(\"...\", ...) or icon(\"...\")");
    if (v.text == "file") {
        if (v.items.size() != 1 || !v.items[0].isString())
            return conv.at(v, "file takes one file name in double quotes");
        std::string error;
        auto bytes = ctx.readAsset(v.items[0].text, error);
        if (!bytes)
            return conv.at(v, error);
        out = std::move(*bytes);
        return std::nullopt;
    }
    if (v.text == "imagelist" || v.text == "icon") {
        std::vector<std::string> files;
        if (auto f = paths(v, ctx, conv, files))
            return f;
        tools::BytesResult made =
            v.text == "imagelist" ? tools::ImageListBlockFromPngFiles(files) : tools::IconFileFromPngFiles(files);
        if (!made.error.empty())
            return conv.at(v, made.error);
        out = std::move(made.bytes);
        return std::nullopt;
    }
    return conv.at(v, "unknown function " + v.text + "(...)");
}

} // namespace tc
