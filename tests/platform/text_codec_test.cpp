#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

std::string utf8(const char8_t* s)
{
    return reinterpret_cast<const char*>(s);
}

TEST(TextCodec, RoundTripsChineseAndKeepsCharactersOutsideGbk)
{
    std::string text = utf8(u8"类别 C# 𠀀 😀");
    std::string gbk = platform::Utf8ToGbk(text);
    EXPECT_EQ(gbk.substr(0, 4), "类别");
    EXPECT_EQ(platform::GbkToUtf8(gbk), text);
}

} // namespace
