// A kind's stored data read and written from its description: the version
// first, then every stored setting in table order whose version gate (and
// condition on the settings before it) admits it, and not one byte more.
#pragma once

#include "ui/framework/byte_reader.h"
#include "ui/framework/kind_description.h"
#include "ui/framework/logfont_record.h"

#include <cassert>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

namespace ui {
namespace kind_codec {

template<class Data>
bool IsStored(const Setting<Data>& s, const Data& d)
{
    return s.stored != Stored::No && d.version >= s.since && (!s.storedWhen || s.storedWhen(d));
}

// The value forms a stored form can fill; any other pairing is a fault of
// the description, which the round-trip tests of every kind would show.
template<class T>
bool ReadValue(ByteReader& r, Stored form, T& out)
{
    if constexpr (std::is_same_v<T, bool>) {
        out = r.u32() != 0;
        return form == Stored::Number;
    } else if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::uint32_t>) {
        out = T(r.u32());
        return form == Stored::Number;
    } else if constexpr (std::is_same_v<T, std::uint16_t>) {
        out = r.u16();
        return form == Stored::Number16;
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::vector<std::uint8_t>>) {
        std::vector<std::uint8_t> bytes;
        if (form == Stored::Counted)
            bytes = r.counted();
        else if (form == Stored::Block)
            bytes = ReadByteBlock(r);
        else
            return false;
        out.assign(bytes.begin(), bytes.end());
        return true;
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        ByteReader texts(r.view(r.u32()));
        out.clear();
        while (r.ok() && texts.ok() && !texts.atEnd())
            out.push_back(texts.text());
        return form == Stored::Texts && texts.ok();
    } else if constexpr (std::is_same_v<T, std::vector<std::int32_t>>) {
        std::span<const std::uint8_t> block = r.view(r.u32());
        if (form != Stored::Numbers || block.size() % 4 != 0)
            return false;
        ByteReader numbers(block);
        out.clear();
        out.reserve(block.size() / 4);
        while (!numbers.atEnd())
            out.push_back(numbers.i32());
        return true;
    } else if constexpr (std::is_same_v<T, std::array<std::uint32_t, 3>>) {
        for (std::uint32_t& v : out)
            v = r.u32();
        return form == Stored::Triple;
    } else if constexpr (std::is_same_v<T, std::optional<platform::LogFont>>) {
        if (form == Stored::FontRecord) {
            out = ReadLogFont(r.view(kLogFontRecordSize));
            return true;
        }
        if (form == Stored::NoFontFlag) {
            if (r.u32() != 0)
                out.reset();
            return true;
        }
        return false;
    } else {
        static_assert(!sizeof(T), "a member type the codec does not know");
    }
}

template<class T>
void WriteValue(ByteWriter& w, Stored form, const T& value)
{
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::uint32_t>) {
        w.u32(std::uint32_t(value));
    } else if constexpr (std::is_same_v<T, std::uint16_t>) {
        w.u16(value);
    } else if constexpr (std::is_same_v<T, std::string>) {
        w.countedText(value);
    } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>) {
        w.counted(value);
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        ByteWriter texts;
        for (const std::string& t : value)
            texts.text(t);
        w.counted(texts.data());
    } else if constexpr (std::is_same_v<T, std::vector<std::int32_t>>) {
        ByteWriter numbers;
        for (std::int32_t v : value)
            numbers.i32(v);
        w.counted(numbers.data());
    } else if constexpr (std::is_same_v<T, std::array<std::uint32_t, 3>>) {
        for (std::uint32_t v : value)
            w.u32(v);
    } else if constexpr (std::is_same_v<T, std::optional<platform::LogFont>>) {
        if (form == Stored::NoFontFlag)
            w.u32(!value);
        else if (value)
            w.bytes(WriteLogFont(*value));
        else
            w.zeros(kLogFontRecordSize);
    } else {
        static_assert(!sizeof(T), "a member type the codec does not know");
    }
}

template<class Data>
bool ReadSetting(ByteReader& r, const Setting<Data>& s, Data& d)
{
    if (s.stored == Stored::Reserved) {
        r.skip(s.reservedBytes);
        return true;
    }
    return std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                assert(!"a stored setting without a member");
                return false;
            } else {
                return ReadValue(r, s.stored, d.*member);
            }
        },
        s.member);
}

template<class Data>
void WriteSetting(ByteWriter& w, const Setting<Data>& s, const Data& d)
{
    if (s.stored == Stored::Reserved) {
        w.zeros(s.reservedBytes);
        return;
    }
    std::visit(
        [&](auto member) {
            if constexpr (!std::is_same_v<decltype(member), std::monostate>)
                WriteValue(w, s.stored, d.*member);
        },
        s.member);
}

} // namespace kind_codec

// Defaults first, then the block; nullopt when the version is newer than
// the kind knows or the block does not hold together.
template<class Data>
std::optional<Data> ReadKindData(const KindDescription<Data>& kind, std::span<const std::uint8_t> block)
{
    std::optional<Data> data = ReadVersionedBlock<Data>(block, kind.newestVersion, [&](ByteReader& r, Data& d) {
        for (const Setting<Data>& s : kind.settings)
            if (kind_codec::IsStored(s, d) && !kind_codec::ReadSetting(r, s, d))
                return false;
        return true;
    });
    if (data && kind.afterRead)
        kind.afterRead(*data);
    return data;
}

// The form ReadKindData reads, at the version the data holds.
template<class Data>
std::vector<std::uint8_t> WriteKindData(const KindDescription<Data>& kind, const Data& d)
{
    ByteWriter w;
    w.u32(d.version);
    for (const Setting<Data>& s : kind.settings)
        if (kind_codec::IsStored(s, d))
            kind_codec::WriteSetting(w, s, d);
    return w.take();
}

// Kind entry 9: every text of a block handed to `visit` and replaced by
// its answer — the text settings in table order, then the texts inside the
// kind's blocks.  A block that cannot be read comes back unchanged.
template<class Data>
std::vector<std::uint8_t> VisitKindDataTexts(const KindDescription<Data>& kind, std::span<const std::uint8_t> block,
                                             const TextVisitor& visit)
{
    std::optional<Data> d = ReadKindData(kind, block);
    if (!d)
        return {block.begin(), block.end()};
    for (const Setting<Data>& s : kind.settings) {
        if (!kind_codec::IsStored(s, *d))
            continue;
        if (auto* text = std::get_if<std::string Data::*>(&s.member))
            (*d).**text = visit((*d).**text);
        else if (auto* texts = std::get_if<std::vector<std::string> Data::*>(&s.member))
            for (std::string& t : (*d).**texts)
                t = visit(t);
    }
    if (kind.visitNestedTexts)
        kind.visitNestedTexts(*d, visit);
    return WriteKindData(kind, *d);
}

} // namespace ui
