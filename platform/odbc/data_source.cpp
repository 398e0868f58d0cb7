#include "platform/odbc/data_source.h"

#include <odbcinst.h>

#include <string>

namespace access_odbc {
namespace {

// The keys a data source of this driver may set.
constexpr const char* kKeys[] = {"DBQ", "DefaultDir", "FIL", "UID", "PWD", "ReadOnly", "WholeCharacters", "Driver"};

// A value no real setting has, to tell a missing key from an empty one.
constexpr const char* kAbsent = "\x01";

std::optional<std::string> profileValue(const std::string& section, const char* key)
{
    char buffer[4096] = {};
    int n = SQLGetPrivateProfileString(section.c_str(), key, kAbsent, buffer, int(sizeof buffer), "odbc.ini");
    std::string value(buffer, n > 0 ? std::size_t(n) : 0);
    value.resize(std::char_traits<char>::length(value.c_str()));
    if (value == kAbsent)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<ConnectString> ReadDataSource(std::string_view name)
{
    std::string section(name);
    if (section.empty())
        return std::nullopt;
    ConnectString cs;
    for (const char* key : kKeys)
        if (std::optional<std::string> value = profileValue(section, key))
            cs.attributes.push_back({.key = key, .value = std::move(*value)});
    // Every data source names its driver; a section without one is none.
    if (!cs.find("Driver"))
        return std::nullopt;
    return cs;
}

ConnectString MergeAttributes(const ConnectString& given, const ConnectString& source)
{
    ConnectString merged = given;
    for (const ConnectAttribute& a : source.attributes)
        if (!given.find(a.key))
            merged.attributes.push_back(a);
    return merged;
}

} // namespace access_odbc
