// Checks shared by the tests of the kind data codecs.  Every codec has the
// same shape: a struct with Read, Write and kMaxVersion, the version being
// the block's first number.
#pragma once

#include "platform/gdi.h"
#include "ui/framework/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace kindtest {

using Bytes = std::vector<std::uint8_t>;

// Reads a block and expects writing the result to give the block back.
template<typename Codec>
std::optional<Codec> ReadBack(const Bytes& block)
{
    std::optional<Codec> d = Codec::Read(block);
    EXPECT_TRUE(d.has_value());
    if (d) {
        EXPECT_EQ(d->Write(), block);
    }
    return d;
}

// A valid block, cut short anywhere, lengthened, or given a newer version,
// must be rejected.
template<typename Codec>
void ExpectMalformedRejected(const Bytes& valid)
{
    ASSERT_TRUE(Codec::Read(valid).has_value());
    for (std::size_t n = 1; n < valid.size(); ++n)
        ASSERT_FALSE(Codec::Read(std::span(valid).first(n)).has_value()) << "prefix of " << n << " bytes";

    Bytes longer = valid;
    longer.push_back(0);
    EXPECT_FALSE(Codec::Read(longer).has_value());

    for (std::uint32_t version : {Codec::kMaxVersion + 1, 0xFFFFFFFFu}) {
        Bytes newer = valid;
        ui::ByteWriter w;
        w.u32(version);
        std::copy(w.data().begin(), w.data().end(), newer.begin());
        EXPECT_FALSE(Codec::Read(newer).has_value()) << "version " << version;
    }
}

// An opaque block of n bytes starting with the given bytes.
inline Bytes Filler(std::size_t n, std::initializer_list<std::uint8_t> head = {})
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = std::uint8_t(i * 7 + 3);
    std::copy(head.begin(), head.end(), b.begin());
    return b;
}

// A normal-weight GB2312 font record.
inline platform::LogFont Font(const char* face, std::int32_t height)
{
    platform::LogFont f;
    f.height = height;
    f.weight = 400;
    f.charSet = 134;
    std::memcpy(f.faceName.data(), face, std::strlen(face));
    return f;
}

} // namespace kindtest
