#include "db/odbc_db_commands.h"

#include "db/connect_string.h"
#include "db/database_engine.h"
#include "db/odbc_db_unit.h"
#include "platform/window.h"
#include "runtime/conversions.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "ui/framework/framework.h"

#include <vector>

namespace db {
namespace {

const TypedValue& arg(std::span<const TypedValue> args, std::size_t i)
{
    static const TypedValue empty;
    return i < args.size() ? args[i] : empty;
}

// Each operation looks its entries up by name once, on first use; the
// table does not change while the program runs.
const DatabaseEngine& engine()
{
    return DatabaseEngine::instance();
}

// The unit a reference names; one that is not loaded, or is no external
// database, is the runtime error of unit commands.  A query's rows are
// read with several commands each, all naming the same unit, so the last
// unit found is remembered for as long as no database unit has been made
// or has gone since (OdbcDbUnit::generation()).
OdbcDbUnit& unitOf(const TypedValue& ref)
{
    struct Found {
        std::uint32_t windowId = 0, unitId = 0;
        std::uint64_t generation = 0;
        OdbcDbUnit* unit = nullptr;
    };
    static Found last;
    runtime::UnitRef r = ref.asUnit();
    if (ref.isUnitRef() && last.unit && last.generation == OdbcDbUnit::generation() && last.windowId == r.windowId &&
        last.unitId == r.unitId)
        return *last.unit;
    ui::LoadedWindow* window = nullptr;
    ui::UnitRecord* u = ref.isUnitRef() ? ui::TheFramework().unitRecord(r.windowId, r.unitId, &window) : nullptr;
    auto* unit = u && !u->isMenuItem() ? dynamic_cast<OdbcDbUnit*>(u->object) : nullptr;
    if (!unit || !platform::IsWindow(unit->handle()))
        runtime::ReportRuntimeError(runtime::error_text::kUnitNotLoaded, 0, r.windowId, r.unitId);
    last = {.windowId = r.windowId, .unitId = r.unitId, .generation = OdbcDbUnit::generation(), .unit = unit};
    return *unit;
}

std::string_view textArg(const TypedValue& v)
{
    return v.is(runtime::ValueType::Text) ? runtime::TextOf(v.asText()) : std::string_view();
}

// An integer argument, other numeric kinds converted; 0 when left out.
std::int32_t integerArg(const TypedValue& v)
{
    if (v.isEmpty())
        return 0;
    if (v.is(runtime::ValueType::Int))
        return v.asInt();
    return runtime::ConvertToInteger(v);
}

bool logicalArg(const TypedValue& v)
{
    if (v.isEmpty())
        return false;
    if (v.is(runtime::ValueType::Logical))
        return v.asLogical();
    return runtime::ConvertToInteger(v) != 0;
}

ResultSetHandle handleArg(const TypedValue& v)
{
    return ResultSetHandle(integerArg(v));
}

// The engine's text block is already a block of the runtime's heap: it is
// handed over, not copied.
TypedValue toTypedValue(ColumnValue& v)
{
    switch (v.code) {
    case ValueCode::Byte: return TypedValue::byte(v.byte);
    case ValueCode::Short: return TypedValue::shortInt(v.shortInt);
    case ValueCode::Integer: return TypedValue::integer(v.integer);
    case ValueCode::Real32: return TypedValue::real32(v.real32);
    case ValueCode::Real64: return TypedValue::real64(v.real64);
    case ValueCode::Logical: return TypedValue::logical(v.logical != 0);
    case ValueCode::Text: {
        if (v.length == 0)
            return TypedValue::text(nullptr); // the empty text is null
        return TypedValue::text(v.releaseText());
    }
    case ValueCode::DateTime: return TypedValue::dateTime(v.dateTime);
    case ValueCode::Bytes: return TypedValue::bytes(runtime::NewBytes(v.bytesView()));
    default: return TypedValue::text(nullptr);
    }
}

} // namespace

TypedValue OpenAccessDatabaseCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    std::string text = AccessConnectString(textArg(arg(args, 1)), textArg(arg(args, 2)), textArg(arg(args, 3)));
    bool readOnly = integerArg(arg(args, 4)) != 0;
    bool suppressDialog = logicalArg(arg(args, 5));
    // A dialog of the driver manager would belong to the program's window.
    SetDialogOwner(std::uintptr_t(platform::GetTopLevel(unit.handle())));
    Connection* c = nullptr;
    static const auto open = engine().lookup<NewOpenDatabaseFn>("NewOpenDatabase");
    if (open)
        c = open(text.c_str(), readOnly, suppressDialog);
    else if (auto openOld = engine().lookup<OpenDatabaseFn>("OpenDatabase"))
        c = openOld(text.c_str(), readOnly);
    SetDialogOwner(0);
    if (!c)
        return TypedValue::logical(false);
    unit.replaceConnection(c);
    return TypedValue::logical(true);
}

TypedValue OpenTableCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    std::string sql(textArg(arg(args, 1)));
    if (sql.empty())
        return TypedValue::integer(0);
    static const auto open = engine().lookup<OpenTableFn>("OpenTable");
    return TypedValue::integer(open ? std::int32_t(open(unit.connection(), sql.c_str())) : 0);
}

TypedValue CloseTableCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    static const auto close = engine().lookup<SetActionFn>("CloseTable");
    if (close)
        close(unit.connection(), handleArg(arg(args, 1)));
    return {};
}

TypedValue IsEofCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    static const auto isEof = engine().lookup<SetTestFn>("IsEOF");
    return TypedValue::logical(!isEof || isEof(unit.connection(), handleArg(arg(args, 1))));
}

TypedValue MoveFirstCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    static const auto move = engine().lookup<SetActionFn>("MoveFirst");
    if (move)
        move(unit.connection(), handleArg(arg(args, 1)));
    return {};
}

TypedValue MoveNextCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    static const auto move = engine().lookup<SetActionFn>("MoveNext");
    if (move)
        move(unit.connection(), handleArg(arg(args, 1)));
    return {};
}

TypedValue ExecuteSqlCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    std::string sql(textArg(arg(args, 1)));
    if (sql.empty())
        return TypedValue::logical(false);
    std::vector<SqlParameter> parameters;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const TypedValue& v = args[i];
        if (v.is(runtime::ValueType::Text)) {
            parameters.push_back({v.asText() ? v.asText() : "", -1});
        } else if (v.is(runtime::ValueType::Bytes)) {
            std::span<const std::uint8_t> b = runtime::BytesOf(v.asBytesBlock());
            parameters.push_back({b.data(), std::int32_t(b.size())});
        }
    }
    static const auto execute = engine().lookup<ExecuteSqlFn>("ExecuteSql");
    return TypedValue::logical(execute && execute(unit.connection(), sql.c_str(), parameters.data(),
                                                  std::int32_t(parameters.size())));
}

TypedValue ReadColumnCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    ResultSetHandle rs = handleArg(arg(args, 1));
    const TypedValue& column = arg(args, 2);
    ColumnValue value;
    if (column.is(runtime::ValueType::Text)) {
        // A text value is NUL-terminated already: the name is passed as it is.
        const char* name = column.asText() ? column.asText() : "";
        static const auto read = engine().lookup<ReadColByNameFn>("ReadColByName");
        if (read)
            read(unit.connection(), rs, name, &value);
    } else if (column.isNumeric()) {
        std::int32_t position = integerArg(column);
        static const auto read = engine().lookup<ReadColByIndexFn>("ReadColByIndex");
        if (read && position >= 1)
            read(unit.connection(), rs, position - 1, &value);
    }
    TypedValue result = toTypedValue(value);
    static const auto empty = engine().lookup<EmptyVarFn>("EmptyVar");
    if (empty)
        empty(&value);
    return result;
}

TypedValue GetTabListCommand(std::span<const TypedValue> args)
{
    OdbcDbUnit& unit = unitOf(arg(args, 0));
    // The engine has no GetTabList entry: the answer is always empty.
    static const auto list = engine().lookup<ConnectionTextFn>("GetTabList");
    if (list)
        return TypedValue::text(runtime::NewText(list(unit.connection())));
    return TypedValue::text(nullptr);
}

} // namespace db
