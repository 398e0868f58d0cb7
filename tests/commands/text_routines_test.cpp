#include "runtime/commands/basic_commands.h"
#include "runtime/memory.h"
#include "runtime/text_routines.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

using runtime::TypedValue;
namespace rc = runtime::commands;

std::string take(const TypedValue& v)
{
    std::string s(runtime::TextOf(v.asText()));
    runtime::FreeValue(v);
    return s;
}

TEST(TextRoutines, ConcatAlwaysGivesAFreshBlock)
{
    char* empty = runtime::ConcatText({nullptr, ""});
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], '\0');
    runtime::Free(empty);
    char* joined = runtime::ConcatText({"ab", nullptr, "类别", ""});
    EXPECT_STREQ(joined, "ab类别");
    runtime::Free(joined);
}

TEST(TextRoutines, CompareIsByUnsignedBytes)
{
    EXPECT_EQ(runtime::CompareText(nullptr, ""), 0);
    EXPECT_EQ(runtime::CompareText("a", "b"), -1);
    EXPECT_EQ(runtime::CompareText("b", "a"), 1);
    EXPECT_EQ(runtime::CompareText("A", "a"), -1); // no case folding
    EXPECT_EQ(runtime::CompareText("\x80", "a"), 1); // a GBK lead byte sorts after ASCII
    EXPECT_EQ(runtime::TextLength(nullptr), 0u);
    EXPECT_EQ(runtime::TextLength("类"), 2u);
}

TEST(RightText, CountsBytesAndKeepsToTheText)
{
    auto right = [](const char* text, int count) {
        TypedValue args[] = {TypedValue::text(text), TypedValue::integer(count)};
        return rc::RightText(args);
    };
    EXPECT_EQ(right("abcdef", 0).asText(), nullptr);
    EXPECT_EQ(right("abcdef", -3).asText(), nullptr);
    EXPECT_EQ(take(right("abcdef", 2)), "ef");
    EXPECT_EQ(take(right("abcdef", 100)), "abcdef");
    // A count that ends inside a double-byte character keeps its trail byte.
    std::string oneAndHalf = take(right("类别", 3));
    ASSERT_EQ(oneAndHalf.size(), 3u);
    EXPECT_EQ(oneAndHalf.substr(1), "别");
}

TEST(ToText, BytesAndArraysAreReadUpToTheirFirstZero)
{
    const std::uint8_t abc[] = {'a', 'b', 'c', 0, 'd'};
    std::uint8_t* block = runtime::NewBytes(abc);
    TypedValue bytes = TypedValue::bytes(block);
    EXPECT_EQ(take(rc::ToText(std::span(&bytes, 1))), "abc");
    runtime::Free(block);

    const std::uint8_t leadingZero[] = {0, 'x'};
    block = runtime::NewBytes(leadingZero);
    bytes = TypedValue::bytes(block);
    EXPECT_EQ(rc::ToText(std::span(&bytes, 1)).asText(), nullptr);
    runtime::Free(block);

    TypedValue empty = TypedValue::bytes(nullptr);
    EXPECT_EQ(rc::ToText(std::span(&empty, 1)).asText(), nullptr);
    TypedValue emptyText = TypedValue::text("");
    EXPECT_EQ(rc::ToText(std::span(&emptyText, 1)).asText(), nullptr);

    // An integer array's memory is read as bytes: 0x44434241 spells "ABCD".
    std::uint32_t dims[] = {2};
    void* array = runtime::NewArray(runtime::ValueType::Int, dims);
    std::int32_t values[] = {0x44434241, 0};
    std::memcpy(static_cast<std::uint8_t*>(array) + 8, values, sizeof values);
    TypedValue ints = TypedValue::array(runtime::ValueType::Int, array);
    EXPECT_EQ(take(rc::ToText(std::span(&ints, 1))), "ABCD");
    runtime::FreeArray(array, runtime::ValueType::Int);

    void* texts = runtime::NewArray(runtime::ValueType::Text, dims);
    TypedValue textArray = TypedValue::array(runtime::ValueType::Text, texts);
    EXPECT_EQ(rc::ToText(std::span(&textArray, 1)).asText(), nullptr);
    runtime::FreeArray(texts, runtime::ValueType::Text);
}

TEST(ToText, ValuesByTheirRules)
{
    auto text = [](TypedValue v) { return take(rc::ToText(std::span(&v, 1))); };
    EXPECT_EQ(text(TypedValue::real32(0.1f)), "0.1");
    EXPECT_EQ(text(TypedValue::real64(0.1)), "0.1");
    EXPECT_EQ(text(TypedValue::integer(-5)), "-5");
    EXPECT_EQ(text(TypedValue::byte(255)), "255");
    EXPECT_EQ(text(TypedValue::logical(true)), "真");
    // 1 January 2020 is day 43831.
    EXPECT_EQ(text(TypedValue::dateTime(43831.0)), "2020年1月1日");
    EXPECT_EQ(text(TypedValue::dateTime(43831.0 + (8 * 3600 + 5 * 60) / 86400.0)), "2020年1月1日8时5分");
    EXPECT_EQ(text(TypedValue::dateTime(43831.0 + (8 * 3600 + 30) / 86400.0)), "2020年1月1日8时0分30秒");
}

} // namespace
