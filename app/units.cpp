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

runtime::TypedValue call(ui::ExtCommand command, std::initializer_list<runtime::TypedValue> args)
{
    return runtime::CallCommand(Command(command), std::span(args.begin(), args.size()));
}

runtime::TypedValue integer(std::int32_t v)
{
    return runtime::TypedValue::integer(v);
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

runtime::TypedValue Database::readColumn(std::int32_t set, const char* column) const
{
    return call(CoreCommand::ReadColumn, {ref(), runtime::TypedValue::integer(set), runtime::TypedValue::text(column)});
}

int TreeBox::itemCount() const
{
    return call(ui::ExtCommand::TreeBoxGetItemCount, {ref()}).asInt();
}

std::string TreeBox::itemText(int index) const
{
    return TakeText(call(ui::ExtCommand::TreeBoxGetItemText, {ref(), integer(index)}));
}

std::int32_t TreeBox::itemData(int index) const
{
    return call(ui::ExtCommand::TreeBoxGetItemData, {ref(), integer(index)}).asInt();
}

int TreeBox::parentOf(int index) const
{
    return call(ui::ExtCommand::TreeBoxGetParent, {ref(), integer(index)}).asInt();
}

bool TreeBox::hasChildren(int index) const
{
    return call(ui::ExtCommand::TreeBoxHasChildren, {ref(), integer(index)}).asLogical();
}

void TreeBox::expand(int index) const
{
    call(ui::ExtCommand::TreeBoxExpandItem, {ref(), integer(index)});
}

int TreeBox::addItem(int parent, const std::string& text, std::int32_t image, std::int32_t selectedImage,
                     std::int32_t data) const
{
    return call(ui::ExtCommand::TreeBoxAddItem,
                {ref(), integer(parent), TextArgument(text), integer(image), integer(selectedImage), integer(data)})
        .asInt();
}

void TreeBox::clear() const
{
    call(ui::ExtCommand::TreeBoxClear, {ref()});
}

std::string ListView::cellText(int row, int column) const
{
    return TakeText(call(ui::ExtCommand::ListViewGetCellText, {ref(), integer(row), integer(column)}));
}

void ListView::setCellText(int row, int column, const std::string& text) const
{
    call(ui::ExtCommand::ListViewSetCellText, {ref(), integer(row), integer(column), TextArgument(text)});
}

void ListView::setCellImage(int row, int column, int image) const
{
    call(ui::ExtCommand::ListViewSetCellImage, {ref(), integer(row), integer(column), integer(image)});
}

int ListView::appendRow() const
{
    return call(ui::ExtCommand::ListViewInsertRow, {ref()}).asInt();
}

void ListView::deleteAllRows() const
{
    call(ui::ExtCommand::ListViewDeleteAllRows, {ref()});
}

int ListView::columnCount() const
{
    return call(ui::ExtCommand::ListViewGetColumnCount, {ref()}).asInt();
}

void ListView::deleteColumn(int column) const
{
    call(ui::ExtCommand::ListViewDeleteColumn, {ref(), integer(column)});
}

int ListView::appendColumn(const std::string& caption, int width) const
{
    return call(ui::ExtCommand::ListViewInsertColumn, {ref(), {}, TextArgument(caption), integer(width)}).asInt();
}

void RefreshDisplay(const Unit& unit)
{
    call(CoreCommand::RefreshDisplay, {unit.ref()});
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
