#include "runtime/value_text.h"

#include <gtest/gtest.h>

namespace {

using runtime::TypedValue;
using runtime::ValueToText;

TEST(ValueToText, Numbers)
{
    EXPECT_EQ(ValueToText(TypedValue::real32(0.1f)), "0.1");
    EXPECT_EQ(ValueToText(TypedValue::real64(0.1)), "0.1");
    EXPECT_EQ(ValueToText(TypedValue::integer(-5)), "-5");
    EXPECT_EQ(ValueToText(TypedValue::byte(255)), "255");
}

} // namespace
