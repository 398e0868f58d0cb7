// The arguments of a unit command as the command reads them: the live
// unit its first argument names, and the values after it, each either
// given or left out (an empty value, or past the end of what the caller
// passed).
#pragma once

#include "platform/window.h"
#include "runtime/conversions.h"
#include "runtime/runtime_error.h"
#include "runtime/typed_value.h"
#include "ui/framework/framework.h"
#include "ui/framework/unit_object.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

class CommandArguments {
public:
    explicit CommandArguments(std::span<const runtime::TypedValue> args) : m_args(args) {}

    // How many slots the caller passed, given or left out.
    std::size_t count() const { return m_args.size(); }
    const runtime::TypedValue& operator[](std::size_t i) const
    {
        static const runtime::TypedValue omitted;
        return i < m_args.size() ? m_args[i] : omitted;
    }
    bool given(std::size_t i) const { return !(*this)[i].isEmpty(); }

    // A number (any numeric kind converted; a value of another kind is the
    // runtime error of conversions), `omitted` when left out.
    std::int32_t integer(std::size_t i, std::int32_t omitted = 0) const
    {
        return given(i) ? runtime::ConvertToInteger((*this)[i]) : omitted;
    }
    bool logical(std::size_t i) const
    {
        const runtime::TypedValue& v = (*this)[i];
        if (v.isEmpty())
            return false;
        return v.is(runtime::ValueType::Logical) ? v.asLogical() : runtime::ConvertToInteger(v) != 0;
    }
    // A text; empty when left out or not a text.
    std::string_view text(std::size_t i) const
    {
        const runtime::TypedValue& v = (*this)[i];
        return v.is(runtime::ValueType::Text) ? runtime::TextOf(v.asText()) : std::string_view();
    }

    // The live unit object of kind class T that argument `i` names; a unit
    // that is not loaded, or not of that kind, is the runtime error of unit
    // commands.
    template<class T>
    T& unit(std::size_t i = 0) const
    {
        const runtime::TypedValue& ref = (*this)[i];
        runtime::UnitRef r = ref.asUnit();
        UnitRecord* u = ref.isUnitRef() ? TheFramework().unitRecord(r.windowId, r.unitId) : nullptr;
        T* object = u && !u->isMenuItem() ? dynamic_cast<T*>(u->object) : nullptr;
        if (!object || !platform::IsWindow(object->handle()))
            runtime::ReportRuntimeError(runtime::error_text::kUnitNotLoaded, 0, r.windowId, r.unitId);
        return *object;
    }

private:
    std::span<const runtime::TypedValue> m_args;
};

} // namespace ui
