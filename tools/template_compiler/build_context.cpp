#include "tools/template_compiler/build_context.h"

#include "platform/text_codec.h"

#include <fstream>
#include <iterator>

namespace tc {

BuildContext::BuildContext(std::vector<std::string> handlerNames, std::size_t entrySize, std::string assetDirectory)
    : m_assets(std::move(assetDirectory))
{
    for (std::size_t i = 0; i < handlerNames.size(); ++i)
        m_handlers[handlerNames[i]] = std::uint32_t(i * entrySize);
}

std::optional<std::uint32_t> BuildContext::handlerRef(const std::string& name) const
{
    auto it = m_handlers.find(name);
    if (it == m_handlers.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::vector<std::uint8_t>> BuildContext::readAsset(const std::string& relativePath, std::string& error) const
{
    std::string path = m_assets.empty() ? relativePath : m_assets + "/" + relativePath;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read asset " + path;
        return std::nullopt;
    }
    m_filesRead.push_back(path);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::optional<Failure> Conversion::integer(const Value& v, std::int64_t min, std::int64_t max, std::int64_t& out) const
{
    if (!v.isInteger())
        return at(v, "expected an integer");
    if (v.integer < min || v.integer > max)
        return at(v, "integer " + std::to_string(v.integer) + " out of range");
    out = v.integer;
    return std::nullopt;
}

std::optional<Failure> Conversion::u32(const Value& v, std::uint32_t& out) const
{
    std::int64_t x = 0;
    if (auto f = integer(v, -0x80000000ll, 0xFFFFFFFFll, x))
        return f;
    out = std::uint32_t(x);
    return std::nullopt;
}

std::optional<Failure> Conversion::i32(const Value& v, std::int32_t& out) const
{
    std::int64_t x = 0;
    if (auto f = integer(v, -0x80000000ll, 0xFFFFFFFFll, x))
        return f;
    out = std::int32_t(std::uint32_t(x));
    return std::nullopt;
}

std::optional<Failure> Conversion::logical(const Value& v, bool& out) const
{
    if (v.isWord("yes") || v.isWord("true")) {
        out = true;
        return std::nullopt;
    }
    if (v.isWord("no") || v.isWord("false")) {
        out = false;
        return std::nullopt;
    }
    if (v.isInteger() && (v.integer == 0 || v.integer == 1)) {
        out = v.integer == 1;
        return std::nullopt;
    }
    return at(v, "expected yes or no");
}

std::optional<Failure> Conversion::gbk(const Value& v, std::string& out) const
{
    if (!v.isString())
        return at(v, "expected a string in double quotes");
    out = platform::Utf8ToGbk(v.text);
    if (platform::GbkToUtf8(out) != v.text)
        return at(v, "the string does not survive the conversion to GBK");
    return std::nullopt;
}

std::optional<Failure> Conversion::idList(const Value& v, std::vector<std::uint32_t>& out) const
{
    out.clear();
    if (v.kind != Value::Kind::List) {
        std::uint32_t one = 0;
        if (auto f = u32(v, one))
            return f;
        out.push_back(one);
        return std::nullopt;
    }
    for (const Value& item : v.items) {
        std::uint32_t id = 0;
        if (auto f = u32(item, id))
            return f;
        out.push_back(id);
    }
    return std::nullopt;
}

} // namespace tc
