#include "ui/ext/list_view_commands.h"

#include "runtime/memory.h"
#include "ui/ext/list_view_unit.h"
#include "ui/framework/command_arguments.h"

#include <algorithm>

namespace ui {
namespace {

ListViewUnit& unitOf(const CommandArguments& a)
{
    return a.unit<ListViewUnit>(0);
}

// An image argument: left out, or below -1, is none.
int imageArgument(const CommandArguments& a, std::size_t i)
{
    return std::max(-1, a.integer(i, -1));
}

} // namespace

TypedValue ListViewGetCellText(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    std::string text = unitOf(a).cellText(a.integer(1, -1), a.integer(2));
    return TypedValue::text(text.empty() ? nullptr : runtime::NewText(text));
}

TypedValue ListViewSetCellText(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    unitOf(a).setCellText(a.integer(1, -1), a.integer(2), std::string(a.text(3)));
    return {};
}

TypedValue ListViewSetCellImage(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    unitOf(a).setCellImage(a.integer(1, -1), a.integer(2), imageArgument(a, 3));
    return {};
}

TypedValue ListViewInsertRow(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    ListViewNewRow row{
        .position = a.integer(1, -1),
        .text = std::string(a.text(2)),
        .image = imageArgument(a, 3),
        // The state image goes in as its slot; a negative sum is none.
        .stateSlot = std::max(0, a.integer(4) + (a.given(4) ? 1 : 0)),
        .indent = std::max(0, a.integer(5)),
        .data = a.integer(6),
    };
    return TypedValue::integer(unitOf(a).insertRow(row));
}

TypedValue ListViewDeleteAllRows(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    unitOf(a).deleteAllRows();
    return {};
}

TypedValue ListViewGetColumnCount(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    return TypedValue::integer(unitOf(a).columnCount());
}

TypedValue ListViewDeleteColumn(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    unitOf(a).deleteColumn(a.integer(1, -1));
    return {};
}

TypedValue ListViewInsertColumn(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    ListViewNewColumn column{
        .position = a.integer(1, -1),
        .caption = std::string(a.text(2)),
        .width = std::max(0, a.integer(3, 50)),
        .alignment = a.integer(4),
        .headerImage = imageArgument(a, 5),
        .imageOnRight = a.logical(6),
    };
    return TypedValue::integer(unitOf(a).insertColumn(column));
}

} // namespace ui
