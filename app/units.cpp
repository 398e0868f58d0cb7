#include "app/units.h"

#include "app/libraries.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"

namespace app {
namespace {

runtime::TypedValue call(CoreCommand command, std::initializer_list<runtime::TypedValue> args)
{
    return runtime::CallCommand(Command(command), std::span(args.begin(), args.size()));
}

} // namespace

runtime::TypedValue TextArgument(const std::string& text)
{
    return runtime::TypedValue::text(text.c_str());
}

std::string TakeText(const runtime::TypedValue& value)
{
    std::string text(runtime::TextOf(value.is(runtime::ValueType::Text) ? value.asText() : nullptr));
    runtime::FreeValue(value);
    return text;
}

runtime::TypedValue Unit::ref() const
{
    return runtime::TypedValue::unit({m_window, m_unit}, m_kind);
}

std::int32_t Unit::readInteger(int property) const
{
    runtime::TypedValue v = runtime::ReadProperty(m_window, m_unit, property);
    return v.asInt();
}

void Unit::writeInteger(int property, std::int32_t value) const
{
    runtime::WriteProperty(m_window, m_unit, property, -1, runtime::TypedValue::integer(value));
}

std::string Unit::readText(int property) const
{
    return TakeText(runtime::ReadProperty(m_window, m_unit, property));
}

void Unit::writeText(int property, const std::string& value) const
{
    runtime::WriteProperty(m_window, m_unit, property, -1, TextArgument(value));
}

bool Window::load(bool modal) const
{
    return call(CoreCommand::LoadWindow, {ref(), {}, runtime::TypedValue::logical(modal)}).asLogical();
}

void Window::destroy() const
{
    call(CoreCommand::DestroyUnit, {ref()});
}

bool Database::openAccess(const std::string& path) const
{
    return call(CoreCommand::OpenAccessDatabase, {ref(), TextArgument(path)}).asLogical();
}

std::int32_t Database::openTable(const std::string& sql) const
{
    return call(CoreCommand::OpenTable, {ref(), TextArgument(sql)}).asInt();
}

void Database::closeTable(std::int32_t set) const
{
    call(CoreCommand::CloseTable, {ref(), runtime::TypedValue::integer(set)});
}

bool Database::isEof(std::int32_t set) const
{
    return call(CoreCommand::IsEof, {ref(), runtime::TypedValue::integer(set)}).asLogical();
}

void Database::moveFirst(std::int32_t set) const
{
    call(CoreCommand::MoveFirst, {ref(), runtime::TypedValue::integer(set)});
}

void Database::moveNext(std::int32_t set) const
{
    call(CoreCommand::MoveNext, {ref(), runtime::TypedValue::integer(set)});
}

bool Database::execute(const std::string& sql) const
{
    return call(CoreCommand::ExecuteSql, {ref(), TextArgument(sql)}).asLogical();
}

runtime::TypedValue Database::readColumn(std::int32_t set, const std::string& column) const
{
    return call(CoreCommand::ReadColumn, {ref(), runtime::TypedValue::integer(set), TextArgument(column)});
}

void PopupMenu(const Window& window, const MenuItem& item)
{
    call(CoreCommand::PopupMenu, {window.ref(), item.ref()});
}

std::int32_t InfoBox(const std::string& message, std::int32_t flags, const std::string& caption)
{
    return call(CoreCommand::InfoBox, {TextArgument(message), runtime::TypedValue::integer(flags), TextArgument(caption)})
        .asInt();
}

std::string ProgramDirectory()
{
    return TakeText(call(CoreCommand::ProgramDirectory, {}));
}

void CloseDatabaseFile(const std::string& name)
{
    call(CoreCommand::CloseDatabaseFile, {TextArgument(name)});
}

} // namespace app
