#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using platform::GbkCharLength;
using platform::GbkToUtf8;
using platform::Utf8ToGbk;

std::string utf8(const char8_t* s)
{
    return reinterpret_cast<const char*>(s);
}

TEST(TextCodec, RoundTripsChineseAndKeepsCharactersOutsideGbk)
{
    std::string text = utf8(u8"类别 C# 𠀀 😀");
    std::string gbk = Utf8ToGbk(text);
    EXPECT_EQ(gbk.substr(0, 4), "类别");
    EXPECT_EQ(GbkToUtf8(gbk), text);
}

TEST(TextCodec, GbkBytesAreTheCodePage936Bytes)
{
    // "确定" and the full-width colon of "信息：" as code page 936 has them.
    EXPECT_EQ(Utf8ToGbk(utf8(u8"确定")), "\xC8\xB7\xB6\xA8");
    EXPECT_EQ(Utf8ToGbk(utf8(u8"信息：")), "\xD0\xC5\xCF\xA2\xA3\xBA");
    EXPECT_EQ(GbkToUtf8("\xC8\xB7\xB6\xA8"), utf8(u8"确定"));
    // A character outside GBK takes the four-byte form of GB18030.
    EXPECT_EQ(Utf8ToGbk(utf8(u8"𠀀")), "\x95\x32\x82\x36");
}

TEST(TextCodec, TheEuroSignIsTheSingleByteOfCodePage936)
{
    EXPECT_EQ(Utf8ToGbk(utf8(u8"€")), "\x80");
    EXPECT_EQ(Utf8ToGbk(utf8(u8"价€5类€")), "\xBC\xDB\x80" "5\xC0\xE0\x80");
    EXPECT_EQ(GbkToUtf8("\x80"), utf8(u8"€"));
    EXPECT_EQ(GbkToUtf8("\xA2\xE3"), utf8(u8"€")); // as GB18030 writes it
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(utf8(u8"a€b"))), utf8(u8"a€b"));
}

TEST(TextCodec, AsciiAndEmptyPassUnchanged)
{
    EXPECT_EQ(GbkToUtf8(""), "");
    EXPECT_EQ(Utf8ToGbk(""), "");
    std::string ascii = "select * from base where id='1'\r\n\t";
    EXPECT_EQ(GbkToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToGbk(ascii), ascii);
    // Embedded NUL bytes are data, not the end.
    std::string withNul("a\0b", 3);
    EXPECT_EQ(GbkToUtf8(withNul), withNul);
}

TEST(TextCodec, InvalidInputKeepsItsPlaceAndLosesNothingAfterIt)
{
    // A lone lead byte, a lead byte followed by a byte no sequence allows,
    // and a truncated sequence at the end.
    EXPECT_EQ(GbkToUtf8("\x81" " abc"), "? abc");
    EXPECT_EQ(GbkToUtf8("\xC0\xE0\xFF\xC0\xE0"), utf8(u8"类?类"));
    EXPECT_EQ(GbkToUtf8("ab\xC0"), "ab?");
    EXPECT_EQ(GbkToUtf8("\x95\x32\x82"), "?2?"); // the digit byte is ASCII on its own
    // Malformed UTF-8: a stray continuation byte and a truncated sequence.
    EXPECT_EQ(Utf8ToGbk("x\x80y"), "x?y");
    EXPECT_EQ(Utf8ToGbk(utf8(u8"类") + "\xE7\xB1"), "\xC0\xE0??");
}

TEST(TextCodec, LongTextsConvertWhole)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += utf8(u8"节点名称😀");
    std::string gbk = Utf8ToGbk(text);
    EXPECT_EQ(gbk.size(), 5000u * (8 + 4));
    EXPECT_EQ(GbkToUtf8(gbk), text);
}

TEST(TextCodec, ConvertsFromSeveralThreadsAtOnce)
{
    std::string text = utf8(u8"描述 详情 字符 𠀀");
    std::string gbk = Utf8ToGbk(text);
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i)
                if (Utf8ToGbk(text) != gbk || GbkToUtf8(gbk) != text)
                    ++failures[size_t(t)];
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

TEST(TextCodec, CharLengthOfOneTwoAndFourByteSequences)
{
    EXPECT_EQ(GbkCharLength(""), 0u);
    EXPECT_EQ(GbkCharLength("a"), 1u);
    EXPECT_EQ(GbkCharLength("\x7F"), 1u);
    EXPECT_EQ(GbkCharLength("\x80"), 1u);             // the euro sign of code page 936
    EXPECT_EQ(GbkCharLength("\xC0\xE0xyz"), 2u);      // 类
    EXPECT_EQ(GbkCharLength("\x81\x40"), 2u);         // lowest trail byte
    EXPECT_EQ(GbkCharLength("\xFE\xFE"), 2u);         // highest trail byte
    EXPECT_EQ(GbkCharLength("\x95\x32\x82\x36z"), 4u); // 𠀀
}

TEST(TextCodec, CharLengthOfMalformedSequencesIsOne)
{
    EXPECT_EQ(GbkCharLength("\xC0"), 1u);             // lead byte at the end
    EXPECT_EQ(GbkCharLength("\xC0\x7F"), 1u);         // 0x7F is no trail byte
    EXPECT_EQ(GbkCharLength("\xC0\x20"), 1u);
    EXPECT_EQ(GbkCharLength("\xC0\xFF"), 1u);
    EXPECT_EQ(GbkCharLength("\xFF\x40"), 1u);         // 0xFF leads nothing
    EXPECT_EQ(GbkCharLength("\x95\x32\x82"), 1u);     // four-byte form cut short
    EXPECT_EQ(GbkCharLength("\x95\x32\x20\x36"), 1u); // third byte out of range
    EXPECT_EQ(GbkCharLength("\x95\x32\x82\x41"), 1u); // fourth byte not a digit
}

TEST(TextCodec, CharLengthWalksAMixedText)
{
    std::string gbk = Utf8ToGbk(utf8(u8"a类𠀀b"));
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < gbk.size(); i += lengths.back())
        lengths.push_back(GbkCharLength(std::string_view(gbk).substr(i)));
    EXPECT_EQ(lengths, (std::vector<std::size_t>{1, 2, 4, 1}));
}

} // namespace
