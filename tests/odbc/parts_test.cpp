// The driver's pieces without ODBC state: the connect-string parser, the
// type mapping, the GBK conversion and the value conversions.

#include "platform/odbc/connect_string.h"
#include "platform/odbc/convert.h"
#include "platform/odbc/gbk.h"
#include "platform/odbc/interface_text.h"
#include "platform/odbc/name_pattern.h"
#include "platform/odbc/sql_types.h"
#include "platform/odbc/utf16.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <cstring>
#include <iconv.h>
#include <random>

using namespace access_odbc;

namespace {

TEST(OdbcConnectStringTest, ParsesTheProgramsStringAndOddForms)
{
    ConnectString cs = ParseConnectString(
        "ODBC;DBQ=/a b/CN.mdb;DefaultDir=/a b;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
    EXPECT_EQ(cs.find("dbq"), "/a b/CN.mdb");
    EXPECT_EQ(cs.find("DEFAULTDIR"), "/a b");
    EXPECT_EQ(cs.find("Driver"), "Microsoft Access Driver (*.mdb)");
    EXPECT_EQ(cs.find("FIL"), "MS Access");
    EXPECT_FALSE(cs.find("ODBC"));

    // Braces keep ";" and "=", "}}" is one "}", spaces around keys go.
    cs = ParseConnectString(" PWD = {a;b=c}}d} ; UID=;X");
    EXPECT_EQ(cs.find("pwd"), "a;b=c}d");
    EXPECT_EQ(cs.find("UID"), "");
    EXPECT_FALSE(cs.find("X"));
    // An unclosed brace takes the rest; the first of two keys wins.
    cs = ParseConnectString("DBQ={/x;y;DBQ=z");
    EXPECT_EQ(cs.find("DBQ"), "/x;y;DBQ=z");
    cs = ParseConnectString("DBQ=1;dbq=2");
    EXPECT_EQ(cs.find("DBQ"), "1");
    EXPECT_TRUE(ParseConnectString("").attributes.empty());
    EXPECT_TRUE(ParseConnectString(";;;=x;").attributes.empty());
}

TEST(OdbcConnectStringTest, FormattingBracesWhatNeedsIt)
{
    EXPECT_EQ(FormatConnectAttribute("DBQ", "/a/b.mdb"), "DBQ=/a/b.mdb;");
    EXPECT_EQ(FormatConnectAttribute("PWD", "a;}b"), "PWD={a;}}b};");
    EXPECT_EQ(FormatConnectAttribute("Driver", "D", true), "Driver={D};");
    // What is formatted parses back to the same value.
    for (std::string value : {"plain", "with;semi", "{brace}", " lead", "a=b", "}}", "tab\t", "\tlead", "x }"}) {
        ConnectString cs = ParseConnectString(FormatConnectAttribute("K", value));
        EXPECT_EQ(cs.find("K"), value);
    }
}

// Whatever a parse gives, formatting it and parsing again gives the same.
TEST(OdbcConnectStringTest, ParseFormatParseKeepsEveryValue)
{
    std::mt19937 random(7);
    const std::string alphabet = " \t;={}ab\x80";
    for (int round = 0; round < 20000; ++round) {
        std::string text = "K=";
        for (size_t n = random() % 12; n > 0; --n)
            text += alphabet[random() % alphabet.size()];
        for (const ConnectAttribute& a : ParseConnectString(text).attributes) {
            ConnectString again = ParseConnectString(FormatConnectAttribute(a.key, a.value));
            ASSERT_EQ(again.attributes.size(), 1u) << text;
            EXPECT_EQ(again.attributes[0].value, a.value) << text;
        }
    }
}

TEST(OdbcConnectStringTest, RandomBytesNeverBreakTheParser)
{
    std::mt19937 random(20240229);
    const std::string alphabet = "ODBCQ=;{} \t\x80\xFF\0abc";
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 64, '\0');
        for (char& c : text)
            c = round % 2 ? char(random()) : alphabet[random() % alphabet.size()];
        ConnectString cs = ParseConnectString(text);
        for (const ConnectAttribute& a : cs.attributes) {
            EXPECT_FALSE(a.key.empty());
            EXPECT_LE(a.key.size() + a.value.size(), text.size());
        }
    }
}

TEST(OdbcSqlTypesTest, DeclaredTypesMapAsAccessReportsThem)
{
    struct Case {
        const char* declared;
        SQLSMALLINT type;
        SQLULEN size;
    };
    const Case cases[] = {
        {"INTEGER", SQL_INTEGER, 10}, {"counter", SQL_INTEGER, 10}, {"LONG", SQL_INTEGER, 10},
        {"SMALLINT", SQL_SMALLINT, 5}, {"BYTE", SQL_TINYINT, 3}, {"YESNO", SQL_BIT, 1},
        {"SINGLE", SQL_REAL, 7}, {"DOUBLE PRECISION", SQL_DOUBLE, 15}, {"CURRENCY", SQL_DOUBLE, 15},
        {"DATETIME", SQL_TYPE_TIMESTAMP, 19}, {"VARCHAR(40)", SQL_VARCHAR, 40}, {"TEXT", SQL_VARCHAR, 255},
        {"text ( 12 )", SQL_VARCHAR, 12}, {"MEMO", SQL_LONGVARCHAR, kLongSize},
        {"LONGTEXT", SQL_LONGVARCHAR, kLongSize}, {"BINARY(16)", SQL_VARBINARY, 16},
        {"OLEOBJECT", SQL_LONGVARBINARY, kLongSize}, {"CHARACTER VARYING(9)", SQL_VARCHAR, 9},
        {"UNSIGNED BIG INT", SQL_INTEGER, 10}, {"NATIVE CHARACTER(70)", SQL_VARCHAR, 70},
    };
    for (const Case& c : cases) {
        SqlTypeInfo t = TypeFromDeclaration(c.declared);
        EXPECT_TRUE(t.known) << c.declared;
        EXPECT_EQ(t.type, c.type) << c.declared;
        EXPECT_EQ(t.size, c.size) << c.declared;
    }
    EXPECT_FALSE(TypeFromDeclaration("").known);
    EXPECT_FALSE(TypeFromDeclaration("WHATEVER").known);
}

TEST(OdbcSqlTypesTest, UndeclaredTypesFollowTheValues)
{
    ValueSurvey s;
    EXPECT_EQ(TypeFromValues(s).type, SQL_VARCHAR); // all NULL
    s.anyInteger = true;
    EXPECT_EQ(TypeFromValues(s).type, SQL_INTEGER);
    s.wideInteger = true;
    EXPECT_EQ(TypeFromValues(s).type, SQL_BIGINT);
    s.anyReal = true;
    EXPECT_EQ(TypeFromValues(s).type, SQL_DOUBLE);
    s.anyText = true;
    s.longestText = 255;
    EXPECT_EQ(TypeFromValues(s).type, SQL_VARCHAR);
    EXPECT_EQ(TypeFromValues(s).size, 255u);
    s.longestText = 256;
    EXPECT_EQ(TypeFromValues(s).type, SQL_LONGVARCHAR);
}

TEST(OdbcGbkTest, ConvertsBothWaysAndRefusesBrokenText)
{
    std::string out;
    ASSERT_TRUE(GbkToUtf8("\xD7\xD6\xB7\xFB", out)); // "字符"
    EXPECT_EQ(out, "\xE5\xAD\x97\xE7\xAC\xA6");
    ASSERT_TRUE(Utf8ToGbk("\xF0\x9F\x98\x80", out)); // an emoji: GB18030's four bytes
    EXPECT_EQ(out.size(), 4u);
    std::string back;
    ASSERT_TRUE(GbkToUtf8(out, back));
    EXPECT_EQ(back, "\xF0\x9F\x98\x80");
    // The euro sign is 0x80 in code page 936.
    ASSERT_TRUE(Utf8ToGbk("a\xE2\x82\xAC", out));
    EXPECT_EQ(out, "a\x80");
    ASSERT_TRUE(GbkToUtf8("\x80\xD7\xD6", out));
    EXPECT_EQ(out, "\xE2\x82\xAC\xE5\xAD\x97");
    EXPECT_FALSE(GbkToUtf8("\xD7", out));       // a lead byte alone
    EXPECT_FALSE(GbkToUtf8("ab\xFF", out));
    EXPECT_FALSE(Utf8ToGbk("\xE5\xAD", out));   // cut UTF-8
    EXPECT_FALSE(Utf8ToGbk("\xC0\x80", out));   // overlong form
    EXPECT_FALSE(Utf8ToGbk("\xE0\x80\xAF", out)); // overlong three-byte form
    EXPECT_FALSE(Utf8ToGbk("\xED\xA0\x80", out)); // a surrogate
    // Long ASCII runs on either side of a character go across in words.
    ASSERT_TRUE(Utf8ToGbk("int total = 0;\xE5\xAD\x97\xE7\xAC\xA6 // sum of values", out));
    EXPECT_EQ(out, "int total = 0;\xD7\xD6\xB7\xFB // sum of values");
    ASSERT_TRUE(GbkToUtf8("", out));
    EXPECT_EQ(out, "");
}

// The fast conversion of stored text must give exactly the converter's
// bytes, for every character of the plane and a spread of those beyond.
TEST(OdbcGbkTest, EveryCharacterConvertsAsIconvConvertsIt)
{
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    auto reference = [&](const std::string& in) {
        char buffer[16];
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size(), dstLeft = sizeof buffer;
        char* dst = buffer;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1))
            return std::string("(refused)");
        return std::string(buffer, sizeof buffer - dstLeft);
    };
    auto utf8 = [](std::uint32_t cp) {
        std::string s;
        if (cp < 0x80) {
            s += char(cp);
        } else if (cp < 0x800) {
            s += char(0xC0 | cp >> 6);
            s += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            s += char(0xE0 | cp >> 12);
            s += char(0x80 | (cp >> 6 & 0x3F));
            s += char(0x80 | (cp & 0x3F));
        } else {
            s += char(0xF0 | cp >> 18);
            s += char(0x80 | (cp >> 12 & 0x3F));
            s += char(0x80 | (cp >> 6 & 0x3F));
            s += char(0x80 | (cp & 0x3F));
        }
        return s;
    };
    int mismatches = 0;
    for (std::uint32_t cp = 0x80; cp <= 0x10FFFF && mismatches < 5; cp += cp < 0x10000 ? 1 : 97) {
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0x20AC)
            continue;
        std::string in = "a" + utf8(cp), out;
        bool converted = Utf8ToGbk(in, out);
        std::string expected = reference(in);
        std::string got = converted ? out : std::string("(refused)");
        if (got != expected) {
            ++mismatches;
            ADD_FAILURE() << "U+" << std::hex << cp;
        }
    }
    iconv_close(cd);
    // Encoded surrogates are refused as the converter refuses them.
    std::string out;
    EXPECT_FALSE(Utf8ToGbk("\xED\xA0\x80", out));
    EXPECT_FALSE(Utf8ToGbk("\xF4\x90\x80\x80", out)); // beyond U+10FFFF
}

TEST(OdbcConvertTest, TimestampsParseStrictly)
{
    SQL_TIMESTAMP_STRUCT ts;
    ASSERT_TRUE(ParseTimestamp("2000-01-02 03:04:05.5", ts));
    EXPECT_EQ(ts.fraction, 500000000u);
    EXPECT_EQ(FormatTimestamp(ts), "2000-01-02 03:04:05.5");
    ASSERT_TRUE(ParseTimestamp("2000-01-02", ts));
    EXPECT_EQ(ts.hour, 0);
    ASSERT_TRUE(ParseTimestamp("12:30:00", ts));
    EXPECT_EQ(ts.year, 1899);
    for (const char* bad : {"2001-02-29", "2000-13-01", "2000-01-01 25:00:00", "20000101", "2000-01-01x", ""})
        EXPECT_FALSE(ParseTimestamp(bad, ts)) << bad;
}

CellValue textValue(std::string_view utf8)
{
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return {.kind = CellKind::Text, .ascii = ascii, .bytes = utf8};
}

TEST(OdbcConvertTest, CharacterDataComesInPiecesEndingInNoData)
{
    CellValue v = textValue("abcdefg");
    char buffer[4];
    SQLLEN length = 0;
    DataPiece piece;
    Conversion c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece);
    EXPECT_EQ(c.outcome, Conversion::Outcome::SuccessWithInfo);
    EXPECT_STREQ(c.state, "01004");
    EXPECT_EQ(length, 7);
    EXPECT_STREQ(buffer, "abc");
    c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece);
    EXPECT_EQ(length, 4);
    EXPECT_STREQ(buffer, "def");
    c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece);
    EXPECT_EQ(c.outcome, Conversion::Outcome::Success);
    EXPECT_EQ(length, 1);
    EXPECT_STREQ(buffer, "g");
    c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece);
    EXPECT_EQ(c.outcome, Conversion::Outcome::NoData);
    // An empty text is delivered once, as an empty string.
    v = textValue("");
    piece.reset();
    c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece);
    EXPECT_EQ(c.outcome, Conversion::Outcome::Success);
    EXPECT_EQ(length, 0);
    c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece);
    EXPECT_EQ(c.outcome, Conversion::Outcome::NoData);
}

// Asked for whole characters, every piece, in either encoding and for every
// buffer size that holds a character, is whole characters: concatenated
// they give the value, and each converts on its own.
TEST(OdbcConvertTest, PiecesCanEndOnCharacterBoundaries)
{
    const std::string utf8 = "a\xE5\xAD\x97" "b\xF0\xA0\x80\x80" "\xE4\xB8\xAD" "cd\xF0\x9F\x98\x80" "e"; // a字b𠀀中cd😀e
    CellValue v = textValue(utf8);
    for (SQLLEN size = 5; size <= 12; ++size) {
        DataPiece piece{.wholeCharacters = true};
        std::string whole;
        char buffer[16];
        SQLLEN length = 0;
        Conversion c;
        while ((c = ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, size, &length, piece)).outcome
               != Conversion::Outcome::NoData) {
            std::string piece8;
            EXPECT_TRUE(GbkToUtf8(buffer, piece8)) << "a GBK piece of " << size << " splits a character";
            whole += buffer;
        }
        std::string back;
        ASSERT_TRUE(GbkToUtf8(whole, back));
        EXPECT_EQ(back, utf8) << size;
    }
    for (SQLLEN size = 6; size <= 12; size += 2) {
        DataPiece piece{.wholeCharacters = true};
        std::u16string whole;
        char16_t buffer[8];
        SQLLEN length = 0;
        while (ConvertValue(v, SQL_VARCHAR, SQL_C_WCHAR, buffer, size, &length, piece).outcome
               != Conversion::Outcome::NoData) {
            std::u16string part(buffer);
            std::string piece8;
            EXPECT_TRUE(Utf16ToUtf8(reinterpret_cast<const Utf16Unit*>(part.data()), part.size(), piece8))
                << "a UTF-16 piece of " << size << " bytes splits a surrogate pair";
            whole += part;
        }
        std::string back;
        ASSERT_TRUE(Utf16ToUtf8(reinterpret_cast<const Utf16Unit*>(whole.data()), whole.size(), back));
        EXPECT_EQ(back, utf8) << size;
    }
}

// By default a truncated piece fills the buffer, as ODBC prescribes and as
// clients that count on it need, even when that splits a character.
TEST(OdbcConvertTest, PiecesFillTheBufferByDefault)
{
    CellValue v = textValue("a\xE5\xAD\x97\xE7\xAC\xA6"); // a字符, GBK a D7D6 B7FB
    char buffer[3];
    SQLLEN length = 0;
    DataPiece piece;
    std::string whole;
    while (ConvertValue(v, SQL_VARCHAR, SQL_C_CHAR, buffer, sizeof buffer, &length, piece).outcome
           == Conversion::Outcome::SuccessWithInfo) {
        EXPECT_EQ(std::strlen(buffer), 2u);
        whole += buffer;
    }
    whole += buffer;
    EXPECT_EQ(whole, "a\xD7\xD6\xB7\xFB");
}

TEST(OdbcConvertTest, WideCharactersForTextNumbersAndLengthsInBytes)
{
    char16_t buffer[16];
    SQLLEN length = 0;
    DataPiece piece;
    CellValue chinese = textValue("\xE4\xB8\xAD\xE6\x96\x87"); // 中文
    ASSERT_EQ(ConvertValue(chinese, SQL_VARCHAR, SQL_C_WCHAR, buffer, sizeof buffer, &length, piece).outcome,
              Conversion::Outcome::Success);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(std::u16string(buffer), u"中文");
    piece.reset();
    CellValue number{.kind = CellKind::Integer, .integer = -42};
    ASSERT_EQ(ConvertValue(number, SQL_INTEGER, SQL_C_WCHAR, buffer, sizeof buffer, &length, piece).outcome,
              Conversion::Outcome::Success);
    EXPECT_EQ(std::u16string(buffer), u"-42");
    // SQL_C_DEFAULT of a wide column is wide text.
    piece.reset();
    ASSERT_EQ(ConvertValue(chinese, SQL_WVARCHAR, SQL_C_DEFAULT, buffer, sizeof buffer, &length, piece).outcome,
              Conversion::Outcome::Success);
    EXPECT_EQ(std::u16string(buffer), u"中文");
    EXPECT_TRUE(IsKnownCType(SQL_C_WCHAR));
    EXPECT_FALSE(IsKnownCType(SQL_C_NUMERIC));
    EXPECT_EQ(FixedCTypeSize(SQL_C_SBIGINT), 8);
    EXPECT_EQ(FixedCTypeSize(SQL_C_WCHAR), 0);
}

TEST(OdbcConvertTest, NumbersCheckTheirRange)
{
    struct Case {
        CellKind kind;
        std::int64_t integer;
        double real;
        const char* text;
        SQLSMALLINT cType;
        const char* state; // nullptr: success
    };
    const Case cases[] = {
        {CellKind::Integer, 32767, 0, "", SQL_C_SSHORT, nullptr},
        {CellKind::Integer, 32768, 0, "", SQL_C_SSHORT, "22003"},
        {CellKind::Integer, -1, 0, "", SQL_C_ULONG, "22003"},
        {CellKind::Integer, 5000000000, 0, "", SQL_C_SLONG, "22003"},
        {CellKind::Real, 0, 1e300, "", SQL_C_FLOAT, "22003"},
        {CellKind::Real, 0, 2.75, "", SQL_C_SSHORT, "01S07"},
        {CellKind::Text, 0, 0, " 12 ", SQL_C_SLONG, nullptr},
        {CellKind::Text, 0, 0, "12abc", SQL_C_SLONG, "22018"},
        {CellKind::Text, 0, 0, "", SQL_C_DOUBLE, "22018"},
        {CellKind::Blob, 0, 0, "x", SQL_C_SLONG, "07006"},
    };
    for (const Case& c : cases) {
        CellValue v{.kind = c.kind, .ascii = true, .integer = c.integer, .real = c.real, .bytes = c.text};
        char target[16];
        SQLLEN length;
        DataPiece piece;
        Conversion r = ConvertValue(v, SQL_INTEGER, c.cType, target, sizeof target, &length, piece);
        if (c.state)
            EXPECT_STREQ(r.state, c.state) << c.integer << " " << c.real << " " << c.text;
        else
            EXPECT_EQ(r.outcome, Conversion::Outcome::Success) << c.text;
    }
}

TEST(OdbcTextTest, ArgumentsAndOutputInBothInterfaces)
{
    std::string utf8;
    ASSERT_TRUE(ArgumentToUtf8(Interface::Narrow, "\xD6\xD0\xCE\xC4", SQL_NTS, utf8)); // 中文 in GBK
    EXPECT_EQ(utf8, "\xE4\xB8\xAD\xE6\x96\x87");
    const char16_t wide[] = u"中文\U00020000";
    ASSERT_TRUE(ArgumentToUtf8(Interface::Wide, wide, 4, utf8)); // a length in units: the pair is two
    EXPECT_EQ(utf8, "\xE4\xB8\xAD\xE6\x96\x87\xF0\xA0\x80\x80");
    EXPECT_FALSE(ArgumentToUtf8(Interface::Wide, wide, 3, utf8)); // half a pair
    const char16_t lone[] = {0xD800, u'a', 0};
    EXPECT_FALSE(ArgumentToUtf8(Interface::Wide, lone, SQL_NTS, utf8));

    // Output counted in characters or in bytes, cut between characters.
    char16_t out[4];
    SQLLEN total = 0;
    EXPECT_TRUE(CopyOut(Interface::Wide, "ab\xF0\xA0\x80\x80", out, 4, Counted::Units, &total));
    EXPECT_EQ(total, 4);
    EXPECT_EQ(std::u16string(out), u"ab"); // the pair would not fit with the terminator
    EXPECT_FALSE(CopyOut(Interface::Wide, "ab", out, sizeof out, Counted::Bytes, &total));
    EXPECT_EQ(total, 4);
    char narrow[4];
    EXPECT_TRUE(CopyOut(Interface::Narrow, "a\xE4\xB8\xAD\xE6\x96\x87", narrow, sizeof narrow, Counted::Bytes, &total));
    EXPECT_EQ(total, 5);
    EXPECT_STREQ(narrow, "a\xD6\xD0");
}

TEST(OdbcNamePatternTest, UnderscoreIsOneCharacterAndCaseIsIgnored)
{
    EXPECT_TRUE(MatchesPattern("_", "\xE5\xAD\x97"));         // 字 is one character
    EXPECT_FALSE(MatchesPattern("___", "\xE5\xAD\x97"));      // not three
    EXPECT_TRUE(MatchesPattern("\xE5\xAD\x97_", "\xE5\xAD\x97\xE7\xAC\xA6")); // 字_ finds 字符
    EXPECT_TRUE(MatchesPattern("CN%", "cntext"));
    EXPECT_TRUE(MatchesPattern("%\xE7\xAC\xA6", "\xE5\xAD\x97\xE7\xAC\xA6"));
    EXPECT_FALSE(MatchesPattern("base_", "base"));
    EXPECT_TRUE(MatchesPattern("a\\_b", "a_b"));
    EXPECT_FALSE(MatchesPattern("a\\_b", "axb"));
    EXPECT_TRUE(SameName("CNTEXT", "cntext"));
    EXPECT_FALSE(SameName("cntex", "cntext"));
}

} // namespace
