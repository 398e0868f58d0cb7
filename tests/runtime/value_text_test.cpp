#include "runtime/value_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using runtime::DateTimeFields;
using runtime::MakeDateTime;
using runtime::TypedValue;
using runtime::ValueToText;
using runtime::ValueType;

std::string dateText(DateTimeFields f)
{
    return ValueToText(TypedValue::dateTime(MakeDateTime(f)));
}

TEST(ValueToText, Numbers)
{
    EXPECT_EQ(ValueToText(TypedValue::real32(0.1f)), "0.1");
    EXPECT_EQ(ValueToText(TypedValue::real64(0.1)), "0.1");
    EXPECT_EQ(ValueToText(TypedValue::integer(-5)), "-5");
    EXPECT_EQ(ValueToText(TypedValue::byte(255)), "255");
    EXPECT_EQ(ValueToText(TypedValue::shortInt(-32768)), "-32768");
    EXPECT_EQ(ValueToText(TypedValue::longInt(-9000000000)), "-9000000000");
    EXPECT_EQ(ValueToText(TypedValue::real64(1.0 / 3)), "0.3333333333333");
    EXPECT_EQ(ValueToText(TypedValue::real64(1e20)), "1e+20");
}

TEST(ValueToText, FloatsRoundedToSixDigits)
{
    EXPECT_EQ(ValueToText(TypedValue::real32(-0.1f)), "-0.1");
    EXPECT_EQ(ValueToText(TypedValue::real32(3.14159274f)), "3.14159");
    EXPECT_EQ(ValueToText(TypedValue::real32(12.5f)), "12.5");
    EXPECT_EQ(ValueToText(TypedValue::real32(123456.7f)), "123457");
    EXPECT_EQ(ValueToText(TypedValue::real32(16777216.0f)), "1.67772e+07");
    EXPECT_EQ(ValueToText(TypedValue::real32(0.3f)), "0.3");
    EXPECT_EQ(ValueToText(TypedValue::real32(1e-5f)), "1e-05");
    EXPECT_EQ(ValueToText(TypedValue::real32(0.0f)), "0");
    EXPECT_EQ(ValueToText(TypedValue::real32(1.0f)), "1");
    EXPECT_EQ(ValueToText(TypedValue::real32(15.0f)), "15");
}

TEST(ValueToText, LogicalTextAndOtherTypes)
{
    EXPECT_EQ(ValueToText(TypedValue::logical(true)), "真");
    EXPECT_EQ(ValueToText(TypedValue::logical(false)), "假");
    TypedValue two = TypedValue::logical(true);
    two.payload = 2;
    EXPECT_EQ(ValueToText(two), "真");
    EXPECT_EQ(ValueToText(TypedValue::text("文本")), "文本");
    EXPECT_EQ(ValueToText(TypedValue::text(nullptr)), "");
    EXPECT_EQ(ValueToText(TypedValue::bytes(nullptr)), "");
    EXPECT_EQ(ValueToText(TypedValue::array(ValueType::Int, nullptr)), "");
    EXPECT_EQ(ValueToText(TypedValue::unit({0x52000001, 0x16000001}, 0x00010005)), "");
    EXPECT_EQ(ValueToText(TypedValue::empty()), "");
}

TEST(ValueToText, DateTimesShowOnlyTheTimeFieldsThatAreSet)
{
    EXPECT_EQ(dateText({2020, 1, 1}), "2020年1月1日");
    EXPECT_EQ(dateText({2020, 1, 1, 8, 5, 0}), "2020年1月1日8时5分");
    EXPECT_EQ(dateText({2020, 1, 1, 8, 0, 30}), "2020年1月1日8时0分30秒");
    EXPECT_EQ(dateText({2020, 1, 1, 8, 0, 0}), "2020年1月1日8时");
    EXPECT_EQ(dateText({2020, 12, 31, 0, 1, 0}), "2020年12月31日0时1分");
    EXPECT_EQ(dateText({2000, 2, 29}), "2000年2月29日");
    EXPECT_DOUBLE_EQ(MakeDateTime({2000, 2, 29}), 36585.0);
    EXPECT_DOUBLE_EQ(MakeDateTime({1900, 3, 1}), 61.0);
    EXPECT_EQ(ValueToText(TypedValue::dateTime(0)), "1899年12月30日");
}

TEST(ValueToText, DateTimesRoundToTheSecond)
{
    double day = MakeDateTime({2020, 1, 1});
    EXPECT_EQ(ValueToText(TypedValue::dateTime(day + (86400 - 0.4) / 86400)), "2020年1月2日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(day + (8 * 3600 + 5 * 60 + 0.4) / 86400)), "2020年1月1日8时5分");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(day + (59.6) / 86400)), "2020年1月1日0时1分");
}

TEST(ValueToText, DateTimesAreClampedToTheCalendarRange)
{
    EXPECT_EQ(ValueToText(TypedValue::dateTime(-657434)), "100年1月1日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(-700000.75)), "100年1月1日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(2958465)), "9999年12月31日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(2958465.5)), "9999年12月31日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(1e300)), "9999年12月31日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(std::nan(""))), "1899年12月30日");
}

TEST(ValueToText, DatesBeforeTheEpochCountTheTimeForwardFromMidnight)
{
    EXPECT_EQ(ValueToText(TypedValue::dateTime(-1.25)), "1899年12月29日6时");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(-0.5)), "1899年12月30日12时");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(-1.0)), "1899年12月29日");
    EXPECT_EQ(ValueToText(TypedValue::dateTime(-2.0 - 86399.7 / 86400)), "1899年12月29日");
    EXPECT_DOUBLE_EQ(MakeDateTime({1899, 12, 29, 6, 0, 0}), -1.25);
    EXPECT_DOUBLE_EQ(MakeDateTime({1800, 1, 1}), -36522.0);
    EXPECT_EQ(dateText({1800, 1, 1, 23, 59, 59}), "1800年1月1日23时59分59秒");

    DateTimeFields f = runtime::SplitDateTime(MakeDateTime({1601, 7, 15, 13, 14, 15}));
    EXPECT_EQ(f.year, 1601);
    EXPECT_EQ(f.month, 7);
    EXPECT_EQ(f.day, 15);
    EXPECT_EQ(f.hour, 13);
    EXPECT_EQ(f.minute, 14);
    EXPECT_EQ(f.second, 15);
}

} // namespace
