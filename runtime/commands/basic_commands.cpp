#include "runtime/commands/basic_commands.h"

#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "platform/window_object.h"
#include "runtime/commands/core_library.h"
#include "runtime/commands/database_list.h"
#include "runtime/conversions.h"
#include "runtime/memory.h"
#include "runtime/services.h"
#include "runtime/value_text.h"

#include <ctime>

namespace runtime::commands {
namespace {

std::intptr_t service(Service s, std::uintptr_t a = 0, std::uintptr_t b = 0)
{
    ServiceEntry entry = CoreLibraryServices();
    return entry ? entry(int(s), a, b) : RuntimeServiceEntry(int(s), a, b);
}

const TypedValue& arg(Args args, std::size_t i)
{
    static const TypedValue empty;
    return i < args.size() ? args[i] : empty;
}

bool given(Args args, std::size_t i)
{
    return !arg(args, i).isEmpty();
}

platform::WindowObject* windowObjectOf(const TypedValue& ref, bool reportMissing)
{
    UnitRef r = ref.asUnit();
    return reinterpret_cast<platform::WindowObject*>(
        service(reportMissing ? Service::UnitObjectOrError : Service::UnitObject, r.windowId, 0));
}

TypedValue text(std::string_view s)
{
    return TypedValue::text(NewText(s));
}

} // namespace

std::string ToTextOf(const TypedValue& v)
{
    auto untilZero = [](std::span<const std::uint8_t> bytes) {
        std::string s;
        for (std::uint8_t b : bytes) {
            if (b == 0)
                break;
            s.push_back(char(b));
        }
        return s;
    };
    if (v.isArray()) {
        ArrayView view(v.asPointer(), v.basicType());
        if (!view.valid() || view.dimensionCount() != 1 || !TypedValue{0, std::uint32_t(v.basicType())}.isNumeric())
            return {};
        std::size_t bytes = view.elementCount() * ElementSize(v.basicType());
        return untilZero({view.elements(), bytes});
    }
    if (v.is(ValueType::Bytes))
        return untilZero(BytesOf(v.asBytesBlock()));
    return ValueToText(v);
}

int InfoBoxResultFor(int button)
{
    switch (button) {
    case platform::IDCANCEL: return 1;
    case platform::IDABORT: return 2;
    case platform::IDRETRY: return 3;
    case platform::IDIGNORE: return 4;
    case platform::IDYES: return 5;
    case platform::IDNO: return 6;
    default: return 0;
    }
}

TypedValue LoadWindow(Args args)
{
    platform::WindowObject* owner = nullptr;
    if (given(args, 1)) {
        owner = windowObjectOf(arg(args, 1), false);
        if (!owner)
            return TypedValue::logical(false);
    }
    LoadWindowRequest request;
    request.windowId = arg(args, 0).asUnit().windowId;
    request.owner = owner;
    request.modal = given(args, 2) && arg(args, 2).asLogical();
    return TypedValue::logical(service(Service::LoadWindow, std::uintptr_t(&request)) == 0);
}

TypedValue ProgramDirectory(Args)
{
    return text(TextOf(reinterpret_cast<const char*>(service(Service::ProgramDirectory))));
}

TypedValue RightText(Args args)
{
    std::string_view s = TextOf(arg(args, 0).asText());
    std::int32_t count = ConvertToInteger(arg(args, 1));
    if (count <= 0)
        return TypedValue::text(nullptr);
    std::size_t n = std::min<std::size_t>(std::size_t(count), s.size());
    return text(s.substr(s.size() - n));
}

TypedValue ToText(Args args)
{
    return text(ToTextOf(arg(args, 0)));
}

TypedValue CurrentDateTime(Args)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTimeFields f{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     std::min(local.tm_sec, 59)};
    return TypedValue::dateTime(MakeDateTime(f));
}

TypedValue InfoBox(Args args)
{
    std::string message = ValueToText(arg(args, 0));
    std::uint32_t flags = std::uint32_t(ToInteger(arg(args, 1)).value_or(0));
    std::string caption = given(args, 2) ? ValueToText(arg(args, 2)) : std::string("信息：");
    platform::Hwnd owner = platform::Hwnd::Null;
    if (args.size() >= 4) {
        const TypedValue& o = arg(args, 3);
        if (o.isUnitRef()) {
            if (platform::WindowObject* w = windowObjectOf(o, false))
                owner = w->handle();
        } else if (auto handle = ToInteger(o); handle && o.is(ValueType::Int)) {
            owner = platform::Hwnd(std::uint32_t(*handle));
        }
    }
    if (!(flags & platform::MB_SYSTEMMODAL))
        flags |= platform::MB_TASKMODAL;
    int button = platform::MessageBox(owner, message, caption, flags);
    return TypedValue::integer(InfoBoxResultFor(button));
}

TypedValue RefreshDisplay(Args args)
{
    UnitRef r = arg(args, 0).asUnit();
    auto* o = reinterpret_cast<platform::WindowObject*>(service(Service::UnitObjectOrError, r.windowId, r.unitId));
    platform::UpdateWindow(o->handle());
    return {};
}

TypedValue CloseDatabaseFile(Args args)
{
    CoreDatabases().close(given(args, 0) ? TextOf(arg(args, 0).asText()) : std::string_view());
    return {};
}

} // namespace runtime::commands
