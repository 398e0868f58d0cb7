// What building a window from its description needs to know: the
// handlers by name, where assets are, and how values become stored data.
#pragma once

#include "tools/template_compiler/description.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tc {

class BuildContext {
public:
    BuildContext(std::vector<std::string> handlerNames, std::size_t handlerEntrySize, std::string assetDirectory);

    // The stored reference of a handler: the byte offset of its entry in
    // the application's handler table.
    std::optional<std::uint32_t> handlerRef(const std::string& name) const;
    const std::string& assetDirectory() const { return m_assets; }

    // Asset files named in descriptions, read once.
    std::optional<std::vector<std::uint8_t>> readAsset(const std::string& relativePath, std::string& error) const;
    // Every file read, for the build's dependency list.
    const std::vector<std::string>& filesRead() const { return m_filesRead; }

private:
    std::map<std::string, std::uint32_t> m_handlers;
    std::string m_assets;
    mutable std::vector<std::string> m_filesRead;
};

// Value conversions shared by the builders; each reports a Failure naming
// the line of the value.
struct Conversion {
    const std::string& file;

    std::optional<Failure> integer(const Value& v, std::int64_t min, std::int64_t max, std::int64_t& out) const;
    std::optional<Failure> u32(const Value& v, std::uint32_t& out) const;
    std::optional<Failure> i32(const Value& v, std::int32_t& out) const;
    std::optional<Failure> logical(const Value& v, bool& out) const;
    // A string turned into GBK bytes.
    std::optional<Failure> gbk(const Value& v, std::string& out) const;
    std::optional<Failure> idList(const Value& v, std::vector<std::uint32_t>& out) const;
    Failure at(const Value& v, std::string message) const { return Failure{file, v.line, std::move(message)}; }
};

} // namespace tc
