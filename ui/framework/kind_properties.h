// A kind's properties served from its description: reading and writing by
// number (kind entries 6 and 4), availability (entry 2), the unit's
// current settings written back as kind data (entry 5), the texts of a
// block (entry 9), and the property type table of the kind descriptor.
//
// A unit class `Unit` whose kind is described by `Data` provides:
//
//   static const KindDescription<Data>& description();
//   Data& settings();  const Data& settings() const;
//   PropertyValue liveValue(Data::Live which) const;
//   bool apply(Data::Effect effect);    // a write's effect; true: the
//                                       // window must be created again
//   bool designTime() const;
//
// and, when writing its kind data needs more than the settings and the
// live values (the rows of a list, the items of a tree):
//
//   void completeStoredData(Data& data) const;
#pragma once

#include "platform/gdi.h"
#include "ui/framework/kind_codec.h"
#include "ui/framework/kind_description.h"
#include "ui/framework/logfont_record.h"
#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"

#include <algorithm>
#include <type_traits>
#include <vector>

namespace ui {

// Kind-specific properties start after the common ones.
inline constexpr int kFirstKindProperty = 8;

template<class Data>
const Setting<Data>* FindPropertySetting(const KindDescription<Data>& kind, int property)
{
    for (const Setting<Data>& s : kind.settings)
        if (s.property == property)
            return &s;
    return nullptr;
}

// The type codes of the common properties 0-7, which every kind with a
// window shares.
std::vector<PropertyDescriptor> CommonPropertyDescriptors();

// The font a font block stands for: its record, or the default GUI font's
// when the block holds none.
platform::LogFont FontOfBlock(std::span<const std::uint8_t> block);

// A setting's value as its property gives it.
template<class Data>
PropertyValue SettingValue(const Setting<Data>& s, const Data& d)
{
    return std::visit(
        [&](auto member) -> PropertyValue {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return {};
            } else {
                using T = std::remove_cvref_t<decltype(d.*member)>;
                const T& v = d.*member;
                if constexpr (std::is_same_v<T, bool>)
                    return PropertyValue::ofLogical(v);
                else if constexpr (std::is_integral_v<T>)
                    return PropertyValue::ofInteger(v);
                else if constexpr (std::is_same_v<T, std::string>)
                    return PropertyValue::ofText(v);
                else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>)
                    return s.type == kTypeFont ? PropertyValue::ofFont(FontOfBlock(v)) : PropertyValue::ofBytes(v);
                else if constexpr (std::is_same_v<T, std::optional<platform::LogFont>>)
                    return PropertyValue::ofFont(v ? *v : FontOfBlock({}));
                else
                    return {};
            }
        },
        s.member);
}

// Stores a property's value in its setting, clamped as the row says.
template<class Data>
void StoreSettingValue(const Setting<Data>& s, Data& d, const PropertyValue& value)
{
    std::visit(
        [&](auto member) {
            if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                using T = std::remove_cvref_t<decltype(d.*member)>;
                T& out = d.*member;
                if constexpr (std::is_same_v<T, bool>) {
                    out = value.integer != 0;
                } else if constexpr (std::is_integral_v<T>) {
                    std::int64_t v = value.integer;
                    if (s.clamp)
                        v = std::clamp(v, s.clamp->low, s.clamp->high);
                    out = T(v);
                } else if constexpr (std::is_same_v<T, std::string>) {
                    out = value.text;
                } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>) {
                    if (value.kind == PropertyValue::Kind::Font) {
                        auto record = WriteLogFont(value.font);
                        out.assign(record.begin(), record.end());
                    } else {
                        out = value.bytes;
                    }
                } else if constexpr (std::is_same_v<T, std::optional<platform::LogFont>>) {
                    if (value.kind == PropertyValue::Kind::Font)
                        out = value.font;
                }
            }
        },
        s.member);
}

template<class Unit>
PropertyValue GetKindProperty(UnitObject& object, int kindProperty)
{
    const Unit& unit = static_cast<const Unit&>(object);
    const auto* s = FindPropertySetting(Unit::description(), kindProperty + kFirstKindProperty);
    if (!s)
        return {};
    if (s->live != decltype(s->live){} && !unit.designTime())
        return unit.liveValue(s->live);
    return SettingValue(*s, unit.settings());
}

template<class Unit>
bool SetKindProperty(UnitObject& object, int kindProperty, const PropertyValue& value)
{
    Unit& unit = static_cast<Unit&>(object);
    const auto* s = FindPropertySetting(Unit::description(), kindProperty + kFirstKindProperty);
    if (!s || s->readOnly)
        return false;
    StoreSettingValue(*s, unit.settings(), value);
    using Effect = decltype(s->effect);
    return s->effect != Effect{} && unit.apply(s->effect);
}

template<class Unit>
bool KindPropertyAvailable(UnitObject& object, int kindProperty)
{
    const Unit& unit = static_cast<const Unit&>(object);
    const auto* s = FindPropertySetting(Unit::description(), kindProperty + kFirstKindProperty);
    return s && (!s->available || s->available(unit.settings()));
}

// The unit's settings with the live values of its live properties, as the
// kind data the create routine reads.
template<class Unit>
std::vector<std::uint8_t> WriteUnitKindData(UnitObject& object)
{
    const Unit& unit = static_cast<const Unit&>(object);
    const auto& kind = Unit::description();
    auto data = unit.settings();
    if (!unit.designTime())
        for (const auto& s : kind.settings)
            if (s.live != decltype(s.live){} && s.stored != Stored::No)
                StoreSettingValue(s, data, unit.liveValue(s.live));
    if constexpr (requires { unit.completeStoredData(data); })
        unit.completeStoredData(data);
    return WriteKindData(kind, data);
}

template<class Unit>
std::vector<std::uint8_t> VisitUnitTexts(std::span<const std::uint8_t> block, const TextVisitor& visit)
{
    return VisitKindDataTexts(Unit::description(), block, visit);
}

// The routines of a described kind; `withAvailability` for kinds whose
// properties are not always available.
template<class Unit>
constexpr KindRoutines DescribedKindRoutines(CreateUnitRoutine create, bool withAvailability = false)
{
    return {
        .create = create,
        .propertyAvailable = withAvailability ? &KindPropertyAvailable<Unit> : nullptr,
        .setProperty = &SetKindProperty<Unit>,
        .writeKindData = &WriteUnitKindData<Unit>,
        .getProperty = &GetKindProperty<Unit>,
        .visitTexts = &VisitUnitTexts<Unit>,
    };
}

// Type codes by property number: the common properties 0-7, then the
// kind's rows; numbers no row names have none.
template<class Data>
std::vector<PropertyDescriptor> PropertyTypeTable(const KindDescription<Data>& kind)
{
    std::vector<PropertyDescriptor> table = CommonPropertyDescriptors();
    if (std::size_t(kind.propertyCount) > table.size())
        table.resize(std::size_t(kind.propertyCount));
    for (const Setting<Data>& s : kind.settings) {
        if (s.property < kFirstKindProperty)
            continue;
        if (std::size_t(s.property) >= table.size())
            table.resize(std::size_t(s.property) + 1);
        table[std::size_t(s.property)].typeCode = s.type;
    }
    return table;
}

} // namespace ui
