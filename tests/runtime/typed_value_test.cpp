#include "child_output.h"

#include "runtime/conversions.h"
#include "runtime/memory.h"
#include "runtime/typed_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using runtime::ArrayView;
using runtime::ToInteger;
using runtime::TypedValue;
using runtime::ValueType;

// A value as a typed call slot may carry it: only the type's own bytes set.
TypedValue raw(ValueType type, std::uint64_t payload)
{
    TypedValue v;
    v.type = std::uint32_t(type);
    v.payload = payload;
    return v;
}

TEST(ToInteger, EachNumericTypeByItsOwnRule)
{
    EXPECT_EQ(ToInteger(TypedValue::byte(255)), 255);
    EXPECT_EQ(ToInteger(raw(ValueType::Byte, 0x1FF)), 255); // zero-extended from 8 bits
    EXPECT_EQ(ToInteger(TypedValue::shortInt(-2)), -2);
    EXPECT_EQ(ToInteger(raw(ValueType::Short, 0xFFFE)), -2); // sign-extended from 16 bits
    EXPECT_EQ(ToInteger(raw(ValueType::Short, 0x7FFF)), 32767);
    EXPECT_EQ(ToInteger(raw(ValueType::Int, 0xFFFFFFFF)), -1);
    EXPECT_EQ(ToInteger(TypedValue::longInt(0x1'0000'0005)), 5); // the low 32 bits
    EXPECT_EQ(ToInteger(TypedValue::longInt(0x8000'0000)), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInteger(TypedValue::longInt(-1)), -1);
    EXPECT_EQ(ToInteger(TypedValue::real32(2.9f)), 2);
    EXPECT_EQ(ToInteger(TypedValue::real32(-2.9f)), -2);
    EXPECT_EQ(ToInteger(TypedValue::real64(-0.99)), 0);
    EXPECT_EQ(ToInteger(TypedValue::real64(123456789.75)), 123456789);
}

TEST(ToInteger, FloatsOutsideTheRangeSaturateAndNaNGivesZero)
{
    EXPECT_EQ(ToInteger(TypedValue::real64(1e10)), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInteger(TypedValue::real64(-1e10)), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInteger(TypedValue::real32(std::numeric_limits<float>::infinity())),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInteger(TypedValue::real64(std::nan(""))), 0);
    EXPECT_EQ(runtime::TruncateToInteger(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(runtime::TruncateToInteger(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(runtime::TruncateToInteger(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
}

TEST(ToInteger, NonNumericValuesHaveNoInteger)
{
    EXPECT_FALSE(ToInteger(TypedValue::logical(true)));
    EXPECT_FALSE(ToInteger(TypedValue::text("12")));
    EXPECT_FALSE(ToInteger(TypedValue::dateTime(2.0)));
    EXPECT_FALSE(ToInteger(TypedValue::empty()));
    EXPECT_FALSE(ToInteger(TypedValue::array(ValueType::Int, nullptr)));
    EXPECT_FALSE(ToInteger(TypedValue::unit({0x52000001, 0x16000002}, 0x00010005)));
}

TEST(ToInteger, TruncationIgnoresTheRoundingMode)
{
    int saved = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    EXPECT_EQ(runtime::TruncateToInteger(2.5), 2);
    EXPECT_EQ(runtime::TruncateToInteger(-2.5), -2);
    EXPECT_EQ(runtime::TruncateToInteger(2.999999), 2);
    EXPECT_EQ(runtime::TruncateToInteger(-0.5), 0);
    EXPECT_EQ(runtime::TruncateToInt32(7.9), 7);
    EXPECT_EQ(ToInteger(TypedValue::real64(2.7)), 2);
    EXPECT_EQ(ToInteger(TypedValue::real32(-3.5f)), -3);
    ASSERT_EQ(std::fesetround(FE_DOWNWARD), 0);
    EXPECT_EQ(runtime::TruncateToInteger(-2.5), -2);
    EXPECT_EQ(runtime::TruncateToInteger(2.5), 2);
    std::fesetround(saved);
}

TEST(ToInteger, ConvertingANonNumericValueIsARuntimeError)
{
    const std::string box =
        runtimetest::ErrorBox("运行时出错!\r\n\r\n错误信息：欲转换数据类型不是数值\r\n\r\n0, 0\r\n");
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::ConvertToInteger(TypedValue::text("5"));
        },
        ::testing::ExitedWithCode(255), ::testing::HasSubstr(box));
    EXPECT_EQ(runtime::ConvertToInteger(TypedValue::shortInt(-7)), -7);
}

TEST(TypedValue, KindsOfType)
{
    TypedValue unit = TypedValue::unit({0x52000001, 0x16000002}, 0x00020001);
    EXPECT_TRUE(unit.isUnitRef());
    EXPECT_EQ(unit.asUnit(), (runtime::UnitRef{0x52000001, 0x16000002}));
    EXPECT_EQ(unit.type, 0x00020001u);
    EXPECT_FALSE(unit.isNumeric());

    TypedValue array = TypedValue::array(ValueType::Double, nullptr);
    EXPECT_TRUE(array.isArray());
    EXPECT_FALSE(array.isUnitRef());
    EXPECT_FALSE(array.isNumeric());
    EXPECT_EQ(array.basicType(), ValueType::Double);

    EXPECT_TRUE(TypedValue::real32(1).isNumeric());
    EXPECT_FALSE(TypedValue::logical(true).isUnitRef());
    EXPECT_FLOAT_EQ(TypedValue::real32(0.25f).asFloat(), 0.25f);
    EXPECT_TRUE(TypedValue::logical(true).asLogical());
    // A logical is 32 bits: set bits above them are not a true value.
    EXPECT_FALSE(raw(ValueType::Logical, 0x1'0000'0000).asLogical());
}

TEST(ArrayView, ElementsOfEachWidthWithTheirSign)
{
    const std::uint32_t dims[] = {2, 2};
    void* shorts = runtime::NewArray(ValueType::Short, dims);
    const std::int16_t s[] = {-1, 2, -32768, 32767};
    ArrayView sv(shorts, ValueType::Short);
    std::memcpy(const_cast<std::uint8_t*>(sv.elements()), s, sizeof s);
    EXPECT_EQ(sv.blockSize(), 12u + 8u);
    EXPECT_EQ(sv.element(0).asLong(), -1);
    EXPECT_EQ(sv.element(2).asInt(), -32768);
    EXPECT_EQ(sv.element(3).asInt(), 32767);
    EXPECT_TRUE(sv.element(4).isEmpty()); // past the end
    EXPECT_EQ(ToInteger(sv.element(0)), -1);

    const std::uint32_t one[] = {3};
    void* bytes = runtime::NewArray(ValueType::Byte, one);
    ArrayView bv(bytes, ValueType::Byte);
    const_cast<std::uint8_t*>(bv.elements())[1] = 200;
    EXPECT_EQ(bv.blockSize(), 8u + 3u);
    EXPECT_EQ(bv.element(1).asInt(), 200);

    void* doubles = runtime::NewArray(ValueType::Double, one);
    ArrayView dv(doubles, ValueType::Double);
    const double d = -1.5;
    std::memcpy(const_cast<std::uint8_t*>(dv.elements()) + 16, &d, sizeof d);
    EXPECT_DOUBLE_EQ(dv.element(2).asDouble(), -1.5);
    EXPECT_TRUE(dv.element(2).is(ValueType::Double));

    ArrayView none(nullptr, ValueType::Int);
    EXPECT_FALSE(none.valid());
    EXPECT_EQ(none.elementCount(), 0u);
    EXPECT_TRUE(none.element(0).isEmpty());

    const std::uint32_t empty[] = {0};
    void* nothing = runtime::NewArray(ValueType::Int, empty);
    EXPECT_EQ(ArrayView(nothing, ValueType::Int).elementCount(), 0u);

    for (void* a : {shorts, bytes, doubles, nothing})
        runtime::Free(a);
}

} // namespace
